#include "util/ParamText.h"

#include "util/FastStrings.h"
#include "text/TextRules.h"

namespace util {

namespace {

constexpr std::string_view kPairSeparatorText(&kPairSeparator, 1);
constexpr std::string_view kNameValueSeparatorText(&kNameValueSeparator, 1);

// The value that one segment (the text between two pair separators) holds
// for `name`: the bytes behind the first '=' when the bytes in front of it
// equal the name exactly; empty otherwise. A segment without '=' has an
// empty name, and all of it is the value.
std::string_view SegmentValue(std::string_view segment, std::string_view name) noexcept
{
    const std::size_t separator = segment.find(kNameValueSeparator);
    if (separator == std::string_view::npos)
        return name.empty() ? segment : std::string_view();
    if (segment.substr(0, separator) != name)
        return std::string_view();
    return segment.substr(separator + 1);
}

// The bytes of a 1-based, inclusive range [first, last]; empty when first > last.
std::string_view Slice(std::string_view text, std::size_t first, std::size_t last) noexcept
{
    if (first > last || first == 0 || first > text.size())
        return std::string_view();
    return text.substr(first - 1, last - first + 1);
}

// A text searched several times ignoring case: folded once, not at every
// search.
class FoldedText {
public:
    explicit FoldedText(std::string_view text) : folded_(text::ToUpperAscii(text)) {}

    // FindTextIgnoreCase(needle, text, start).
    std::size_t Find(std::string_view needle, std::size_t start) const
    {
        if (needle.empty() || start < 1 || start > folded_.size())
            return 0;
        const std::size_t found = folded_.find(text::ToUpperAscii(needle), start - 1);
        return found == std::string::npos ? 0 : found + 1;
    }

private:
    std::string folded_;
};

} // namespace

std::string EncodeParamText(std::string_view text)
{
    return ReplaceAllText(ReplaceAllText(text, kNameValueSeparatorText, kEscapedNameValueSeparator),
                          kPairSeparatorText, kEscapedPairSeparator);
}

std::string DecodeParamText(std::string_view text)
{
    return ReplaceAllText(ReplaceAllText(text, kEscapedNameValueSeparator, kNameValueSeparatorText),
                          kEscapedPairSeparator, kPairSeparatorText);
}

std::size_t FindTextIgnoreCase(std::string_view needle, std::string_view haystack, std::size_t start)
{
    return FoldedText(haystack).Find(needle, start);
}

std::string WriteParamValue(std::string_view text, std::string_view name, std::string_view value)
{
    const std::string base = text::TrimText(text);
    const std::string encodedName = EncodeParamText(name);
    if (encodedName.empty())
        return base;
    const std::string pair = encodedName + kNameValueSeparator + EncodeParamText(value);
    if (base.empty())
        return pair;

    // With a separator in front, every pair, the first included, starts
    // with ';' and a name can be searched as ";name".
    const std::string work = kPairSeparator + base;
    const std::string key = kPairSeparator + encodedName;
    const FoldedText folded(work);
    std::size_t at = folded.Find(key + kNameValueSeparator, 1);
    if (at == 0) {
        // The name standing alone: a match followed by more bytes than a
        // separator is the start of a longer name.
        at = folded.Find(key, 1);
        while (at > 0) {
            const std::size_t behind = at + key.size();
            if (behind > work.size() || work[behind - 1] == kPairSeparator)
                break;
            at = folded.Find(key, at + 1);
        }
    }
    if (at == 0)
        return base + kPairSeparator + pair;

    std::size_t end = folded.Find(kPairSeparatorText, at + 1);
    if (end == 0)
        end = work.size() + 1;
    const std::string_view before = Slice(work, 2, at - 1);
    const std::string_view after = Slice(work, end + 1, work.size());

    std::string result;
    result.reserve(before.size() + pair.size() + after.size() + 2);
    if (!before.empty())
        result.append(before).push_back(kPairSeparator);
    result += pair;
    if (!after.empty())
        result.append(1, kPairSeparator).append(after);
    return result;
}

std::string ReadParamValue(std::string_view text, std::string_view name)
{
    const std::string work = kPairSeparator + text::TrimText(text);
    const std::string key = kPairSeparator + EncodeParamText(name) + kNameValueSeparator;
    const FoldedText folded(work);
    const std::size_t at = folded.Find(key, 1);
    if (at == 0)
        return std::string();
    const std::size_t next = folded.Find(kPairSeparatorText, at + 1);
    const std::size_t last = next == 0 ? work.size() : next - 1;
    return DecodeParamText(Slice(work, at + key.size(), last));
}

std::string ReadParamValueExact(std::string_view text, std::string_view name)
{
    std::string_view rest = text;
    for (;;) {
        const std::size_t separator = rest.find(kPairSeparator);
        if (separator == std::string_view::npos)
            return DecodeParamText(SegmentValue(rest, name));
        const std::string_view value = SegmentValue(rest.substr(0, separator), name);
        if (!value.empty())
            return DecodeParamText(value);
        rest.remove_prefix(separator + 1);
    }
}

} // namespace util
