// Path texts (util/PathText.h), the shared text rules (util/TextRules.h)
// and the GBK character boundaries under both (sharedrt/GbkText.h),
// against a reference that first cuts the text into characters: a byte
// 0x81-0xFE with a byte behind it begins a double-byte character, any
// other byte is one. A "\" is a separator only as a character of its own;
// case folding touches only the letters that are characters of their own.
//   input: a path NUL a name NUL one byte for widths and limits
#include "FuzzSupport.h"

#include "sharedrt/GbkText.h"
#include "util/PathText.h"
#include "text/TextRules.h"

#include <vector>

namespace {

// The offsets where characters begin, with the text's length at the end.
std::vector<std::size_t> CharacterStarts(std::string_view text)
{
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < text.size();) {
        starts.push_back(i);
        const auto byte = static_cast<unsigned char>(text[i]);
        i += byte >= 0x81 && byte <= 0xFE && i + 1 < text.size() ? 2 : 1;
    }
    starts.push_back(text.size());
    return starts;
}

bool IsSeparatorAt(std::string_view text, const std::vector<std::size_t>& starts, std::size_t k)
{
    return starts[k + 1] - starts[k] == 1 && text[starts[k]] == '\\';
}

bool EndsWithSeparatorRef(std::string_view text)
{
    const auto starts = CharacterStarts(text);
    return starts.size() > 1 && IsSeparatorAt(text, starts, starts.size() - 2);
}

std::string TrimRef(std::string_view text)
{
    std::size_t first = 0, last = text.size();
    while (first < last && static_cast<unsigned char>(text[first]) <= 0x20)
        ++first;
    while (last > first && static_cast<unsigned char>(text[last - 1]) <= 0x20)
        --last;
    return std::string(text.substr(first, last - first));
}

std::string ParentRef(std::string_view text)
{
    const auto starts = CharacterStarts(text);
    for (std::size_t k = starts.size() - 1; k-- > 0;) {
        if (IsSeparatorAt(text, starts, k))
            return std::string(text.substr(0, starts[k] + 1));
    }
    return {};
}

std::string UpperRef(std::string_view text)
{
    std::string out(text);
    const auto starts = CharacterStarts(text);
    for (std::size_t k = 0; k + 1 < starts.size(); ++k) {
        char& c = out[starts[k]];
        if (starts[k + 1] - starts[k] == 1 && c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 32);
    }
    return out;
}

int CompareRef(std::string_view a, std::string_view b)
{
    const std::string x = UpperRef(a), y = UpperRef(b);
    for (std::size_t i = 0; i < x.size() && i < y.size(); ++i) {
        if (x[i] != y[i])
            return static_cast<unsigned char>(x[i]) < static_cast<unsigned char>(y[i]) ? -1 : 1;
    }
    return x.size() == y.size() ? 0 : x.size() < y.size() ? -1 : 1;
}

int Sign(int value) { return value < 0 ? -1 : value > 0 ? 1 : 0; }

// The longest prefix of at most `limit` bytes that ends where a character
// ends.
std::size_t PrefixRef(std::string_view text, std::size_t limit)
{
    if (text.size() <= limit)
        return text.size();
    std::size_t best = 0;
    for (std::size_t start : CharacterStarts(text)) {
        if (start <= limit)
            best = start;
    }
    return best;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto fields = fuzz::Fields<3>(data, size);
    const std::string_view path = fields[0];
    const std::string_view name = fields[1];
    const std::string_view extra = fields[2];
    const unsigned knob = extra.empty() ? 0 : static_cast<unsigned char>(extra[0]);
    const fuzz::Context context = [&] {
        return std::string("path " + fuzz::Printable(path) + "\nname " + fuzz::Printable(name) + "\nknob " +
                           std::to_string(knob));
    };

    FUZZ_CHECK(util::EndsWithPathSeparator(path) == EndsWithSeparatorRef(path), context());
    std::string ensured = TrimRef(path);
    if (!ensured.empty() && !EndsWithSeparatorRef(ensured))
        ensured += '\\';
    FUZZ_CHECK_TEXT(util::EnsureTrailingSeparator(path), ensured, context());
    // Once ensured, a path ends with a separator, unless its last byte is a
    // lead byte without a trail, which the "\" then completes.
    const std::string trimmed = TrimRef(path);
    const bool endsWithLoneLead = !trimmed.empty() && CharacterStarts(trimmed).rbegin()[1] == trimmed.size() - 1 &&
                                  static_cast<unsigned char>(trimmed.back()) >= 0x81 &&
                                  static_cast<unsigned char>(trimmed.back()) <= 0xFE;
    FUZZ_CHECK(ensured.empty() || endsWithLoneLead || EndsWithSeparatorRef(ensured), context());
    const std::string_view removed = util::RemoveTrailingSeparator(path);
    FUZZ_CHECK_TEXT(removed, EndsWithSeparatorRef(path) ? path.substr(0, path.size() - 1) : path, context());
    FUZZ_CHECK_TEXT(util::ExtractParentPath(path), ParentRef(path), context());
    std::string joined(path);
    if (!joined.empty() && !EndsWithSeparatorRef(joined))
        joined += '\\';
    joined += name;
    FUZZ_CHECK_TEXT(util::JoinPath(path, name), joined, context());
    FUZZ_CHECK_TEXT(text::TrimText(path), TrimRef(path), context());
    FUZZ_CHECK_TEXT(text::ToUpperAscii(path), UpperRef(path), context());
    FUZZ_CHECK_TEXT(rt::GbkUpperAscii(path), UpperRef(path), context());
    FUZZ_CHECK(Sign(text::CompareIgnoreCase(path, name)) == CompareRef(path, name), context());
    FUZZ_CHECK(Sign(rt::GbkCompareIgnoreAsciiCase(name, path)) == CompareRef(name, path), context());
    FUZZ_CHECK(text::EqualsIgnoreCase(path, name) == (CompareRef(path, name) == 0), context());
    // Folding keeps every character's place.
    FUZZ_CHECK(CharacterStarts(UpperRef(path)) == CharacterStarts(path), context());

    const int width = static_cast<int>(knob % 64) - 8;
    const char fill = name.empty() ? '0' : name[0];
    const long long missing = static_cast<long long>(width) - static_cast<long long>(path.size());
    const std::string padding(missing > 0 ? static_cast<std::size_t>(missing) : 0, fill);
    FUZZ_CHECK_TEXT(text::PadText(path, width, text::PadSide::Left, fill), padding + trimmed, context());
    FUZZ_CHECK_TEXT(text::PadText(path, width, text::PadSide::Right, fill), trimmed + padding, context());
    FUZZ_CHECK_TEXT(text::PadLeftWithZeros(path, width), std::string(padding.size(), '0') + trimmed, context());

    const std::size_t limit = knob;
    FUZZ_CHECK(rt::GbkPrefixLength(path, limit) == PrefixRef(path, limit), context());
    const auto starts = CharacterStarts(path);
    for (std::size_t k = 0; k + 1 < starts.size(); ++k)
        FUZZ_CHECK(rt::GbkCharWidth(path, starts[k]) == starts[k + 1] - starts[k], context());
    return 0;
}
