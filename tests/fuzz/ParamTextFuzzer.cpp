// The parameter text (util/ParamText.h) against a plain reference of its
// rules: pairs split at every ';', a pair's name before its first '=', names
// compared with the GBK-aware case folding, escapes undone in one pass.
//   input: text NUL name NUL value
#include "FuzzSupport.h"

#include "util/ParamText.h"

#include <vector>

namespace {

std::string EncodeRef(std::string_view text)
{
    std::string out;
    for (char c : text) {
        if (c == '=')
            out += "&eq%";
        else if (c == ';')
            out += "&lim%";
        else
            out += c;
    }
    return out;
}

// "&eq%" and "&lim%" cannot overlap each other, so one pass does what
// the two replacements do.
std::string DecodeRef(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        if (text.substr(i, 4) == "&eq%") {
            out += '=';
            i += 4;
        } else if (text.substr(i, 5) == "&lim%") {
            out += ';';
            i += 5;
        } else {
            out += text[i++];
        }
    }
    return out;
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

// ASCII letters folded where they begin a character; a byte 0x81-0xFE with
// a byte behind it begins a double-byte character.
std::string FoldRef(std::string_view text)
{
    std::string out(text);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const auto byte = static_cast<unsigned char>(out[i]);
        if (byte >= 0x81 && byte <= 0xFE && i + 1 < out.size())
            ++i;
        else if (byte >= 'a' && byte <= 'z')
            out[i] = static_cast<char>(byte - 32);
    }
    return out;
}

bool SameNameRef(std::string_view a, std::string_view b) { return FoldRef(a) == FoldRef(b); }

std::size_t FindRef(std::string_view needle, std::string_view haystack, std::size_t start)
{
    if (needle.empty() || start < 1 || start > haystack.size())
        return 0;
    const std::string n = FoldRef(needle);
    const std::string h = FoldRef(haystack);
    for (std::size_t at = start - 1; at + n.size() <= h.size(); ++at) {
        if (h.compare(at, n.size(), n) == 0)
            return at + 1;
    }
    return 0;
}

std::vector<std::string> Segments(std::string_view text)
{
    std::vector<std::string> segments(1);
    for (char c : text) {
        if (c == ';')
            segments.emplace_back();
        else
            segments.back() += c;
    }
    return segments;
}

std::string Join(const std::vector<std::string>& segments, std::size_t from, std::size_t to)
{
    std::string out;
    for (std::size_t i = from; i < to; ++i)
        out += (i > from ? ";" : "") + segments[i];
    return out;
}

std::string ReadRef(std::string_view text, std::string_view name)
{
    const std::string key = EncodeRef(name);
    for (const std::string& segment : Segments(TrimRef(text))) {
        const std::size_t equals = segment.find('=');
        if (equals != std::string::npos && SameNameRef(segment.substr(0, equals), key))
            return DecodeRef(segment.substr(equals + 1));
    }
    return {};
}

std::string ReadExactRef(std::string_view text, std::string_view name)
{
    for (const std::string& segment : Segments(text)) {
        const std::size_t equals = segment.find('=');
        const std::string segmentName = equals == std::string::npos ? "" : segment.substr(0, equals);
        const std::string value = equals == std::string::npos ? segment : segment.substr(equals + 1);
        if (segmentName == name && !value.empty())
            return DecodeRef(value);
    }
    return {};
}

// The first pair of the name, else the first segment that is the name
// alone, is replaced; the texts before and after it keep their bytes.
std::string WriteRef(std::string_view text, std::string_view name, std::string_view value)
{
    const std::string base = TrimRef(text);
    const std::string key = EncodeRef(name);
    if (key.empty())
        return base;
    const std::string pair = key + "=" + EncodeRef(value);
    if (base.empty())
        return pair;
    const std::vector<std::string> segments = Segments(base);
    std::size_t found = segments.size();
    for (std::size_t i = 0; i < segments.size() && found == segments.size(); ++i) {
        const std::size_t equals = segments[i].find('=');
        if (equals != std::string::npos && SameNameRef(segments[i].substr(0, equals), key))
            found = i;
    }
    for (std::size_t i = 0; i < segments.size() && found == segments.size(); ++i) {
        if (segments[i].find('=') == std::string::npos && SameNameRef(segments[i], key))
            found = i;
    }
    if (found == segments.size())
        return base + ";" + pair;
    const std::string before = Join(segments, 0, found);
    const std::string after = Join(segments, found + 1, segments.size());
    return (before.empty() ? "" : before + ";") + pair + (after.empty() ? "" : ";" + after);
}

bool HasEscape(std::string_view text)
{
    return text.find("&eq%") != std::string_view::npos || text.find("&lim%") != std::string_view::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto fields = fuzz::Fields<3>(data, size);
    const std::string_view text = fields[0];
    const std::string_view name = fields[1];
    const std::string_view value = fields[2];
    const fuzz::Context context = [&] {
        return std::string("text " + fuzz::Printable(text) + "\nname " + fuzz::Printable(name) + "\nvalue " +
                           fuzz::Printable(value));
    };

    FUZZ_CHECK_TEXT(util::EncodeParamText(text), EncodeRef(text), context());
    FUZZ_CHECK_TEXT(util::DecodeParamText(text), DecodeRef(text), context());
    if (!HasEscape(text))
        FUZZ_CHECK_TEXT(util::DecodeParamText(util::EncodeParamText(text)), std::string(text), context());

    const std::size_t start = value.empty() ? 1 : static_cast<unsigned char>(value[0]) % (text.size() + 2);
    const std::size_t found = util::FindTextIgnoreCase(name, text, start);
    const std::size_t expectedFound = FindRef(name, text, start);
    FUZZ_CHECK(found == expectedFound, context() + "\nFindTextIgnoreCase from " + std::to_string(start) + ": " +
                                           std::to_string(found) + ", expected " + std::to_string(expectedFound));

    FUZZ_CHECK_TEXT(util::ReadParamValue(text, name), ReadRef(text, name), context());
    FUZZ_CHECK_TEXT(util::ReadParamValueExact(text, name), ReadExactRef(text, name), context());

    const std::string written = util::WriteParamValue(text, name, value);
    FUZZ_CHECK_TEXT(written, WriteRef(text, name, value), context());
    // What was written reads back, unless trimming takes the name's first
    // or the value's last blanks, or the value holds an escape of its own.
    const bool readsBack = !name.empty() && static_cast<unsigned char>(name.front()) > 0x20 && !HasEscape(value) &&
                           (value.empty() || static_cast<unsigned char>(value.back()) > 0x20);
    if (readsBack)
        FUZZ_CHECK_TEXT(util::ReadParamValue(written, name), std::string(value),
                        context() + "\nwritten " + fuzz::Printable(written));
    return 0;
}
