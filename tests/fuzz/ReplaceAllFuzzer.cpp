// Replace-all (util/FastStrings.h), the default and each scan by name,
// against a std::string find/replace loop.
//   input: source NUL find NUL replacement
// A first byte of the source from 0xF0 repeats the rest of the source up
// to 4,096 times (a megabyte at most, and at most 16 MB of output), so that
// the output buffer's growth is reached without long inputs.
#include "FuzzSupport.h"

#include "util/FastStrings.h"

#include <algorithm>

namespace {

std::string ReplaceRef(const std::string& source, const std::string& find, const std::string& replacement)
{
    if (find.empty())
        return source;
    std::string out;
    std::size_t from = 0;
    for (std::size_t at = source.find(find); at != std::string::npos; at = source.find(find, from)) {
        out += source.substr(from, at - from);
        out += replacement;
        from = at + find.size();
    }
    out += source.substr(from);
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto fields = fuzz::Fields<3>(data, size);
    const std::string_view rawSource = fields[0];
    const std::string_view find = fields[1];
    const std::string_view replacement = fields[2];
    std::string source(rawSource);
    if (!source.empty() && static_cast<unsigned char>(source[0]) >= 0xF0) {
        const std::size_t times = std::size_t {1} << (static_cast<unsigned char>(source[0]) - 0xF0) % 13;
        const std::string unit = source.substr(1);
        const std::size_t growth = find.empty() ? 1 : std::max<std::size_t>(1, replacement.size() / find.size());
        source.clear();
        for (std::size_t i = 0; i < times && source.size() + unit.size() <= (1u << 20) &&
                                (source.size() + unit.size()) * growth <= (1u << 24);
             ++i)
            source += unit;
    }
    const fuzz::Context context = [&] {
        return std::string("source " + fuzz::Printable(source) + "\nfind " + fuzz::Printable(find) + "\nreplacement " +
                           fuzz::Printable(replacement));
    };
    const std::string expected = ReplaceRef(source, std::string(find), std::string(replacement));
    FUZZ_CHECK_TEXT(util::ReplaceAllText(source, find, replacement), expected, context());
    FUZZ_CHECK_TEXT(util::detail::ReplaceAllTextBySkips(source, find, replacement), expected, context());
    if (util::detail::VectorScanAvailable())
        FUZZ_CHECK_TEXT(util::detail::ReplaceAllTextByVectors(source, find, replacement), expected, context());
    return 0;
}
