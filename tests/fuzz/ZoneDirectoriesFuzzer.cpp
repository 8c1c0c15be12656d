// Which regional directories apply to a zone code, in which order
// (config/ZoneDirectories.h), against a plain reading of the rules: the
// entries whose prefix (the name up to its first '-') is not empty and
// begins the match code, ordered by prefix length by the selection sort
// the order of application depends on.
//   input: zone code NUL one byte for the strip switch NUL entry names,
//   one a line
#include "FuzzSupport.h"

#include "startup/regional/ZoneDirectories.h"

#include <vector>

namespace {

std::vector<std::string> Lines(std::string_view text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string_view::npos; start = end + 1)
        lines.emplace_back(text.substr(start, end - start));
    if (start < text.size())
        lines.emplace_back(text.substr(start));
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto fields = fuzz::Fields<3>(data, size);
    const std::string_view zoneCode = fields[0];
    const std::string_view switchText = fields[1];
    const std::string_view names = fields[2];
    const int stripSwitch = switchText.empty() ? 0 : static_cast<unsigned char>(switchText[0]) % 3;
    const std::vector<std::string> entries = Lines(names);
    const fuzz::Context context = [&] {
        return std::string("zone " + fuzz::Printable(zoneCode) + " switch " + std::to_string(stripSwitch) +
                           "\nentries " + fuzz::Printable(names));
    };

    const std::string_view matchCode = startup::ZoneMatchCode(zoneCode, stripSwitch);
    FUZZ_CHECK_TEXT(matchCode, stripSwitch == 0 && !zoneCode.empty() ? zoneCode.substr(1) : zoneCode, context());

    std::vector<startup::ZoneDirectory> expected;
    for (const std::string& name : entries) {
        const std::string prefix = name.substr(0, name.find('-'));
        FUZZ_CHECK_TEXT(startup::ZonePrefix(name), prefix, context());
        if (!prefix.empty() && matchCode.size() >= prefix.size() && matchCode.compare(0, prefix.size(), prefix) == 0)
            expected.push_back({prefix, name});
    }
    // For each place from the first: the first of the shortest prefixes
    // after it, when strictly shorter, changes places with it.
    for (std::size_t i = 0; i < expected.size(); ++i) {
        std::size_t shortest = i;
        for (std::size_t j = i + 1; j < expected.size(); ++j) {
            if (expected[j].prefix.size() < expected[shortest].prefix.size())
                shortest = j;
        }
        std::swap(expected[i], expected[shortest]);
    }

    const std::vector<startup::ZoneDirectory> selected = startup::SelectZoneDirectories(entries, matchCode);
    FUZZ_CHECK(selected.size() == expected.size(), context());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        FUZZ_CHECK_TEXT(selected[i].prefix, expected[i].prefix, context() + "\nplace " + std::to_string(i));
        FUZZ_CHECK_TEXT(selected[i].name, expected[i].name, context() + "\nplace " + std::to_string(i));
        FUZZ_CHECK(i == 0 || selected[i - 1].prefix.size() <= selected[i].prefix.size(), context());
    }
    return 0;
}
