#include "startup/regional/ZoneDirectories.h"

#include <utility>

namespace startup {

std::string_view ZonePrefix(std::string_view entryName) noexcept
{
    return entryName.substr(0, entryName.find('-'));
}

std::string_view ZoneMatchCode(std::string_view zoneCode, int stripSwitch) noexcept
{
    if (stripSwitch == 0)
        return zoneCode.empty() ? zoneCode : zoneCode.substr(1);
    return zoneCode;
}

std::vector<ZoneDirectory> SelectZoneDirectories(const std::vector<std::string>& entryNames,
                                                 std::string_view matchCode)
{
    std::vector<ZoneDirectory> selected;
    for (const std::string& name : entryNames) {
        const std::string_view prefix = ZonePrefix(name);
        if (!prefix.empty() && matchCode.substr(0, prefix.size()) == prefix)
            selected.push_back({std::string(prefix), name});
    }
    // A selection sort on purpose: entries of equal prefix length end in the
    // order it yields, which decides which of them is applied last.
    for (std::size_t i = 0; i < selected.size(); ++i) {
        std::size_t shortest = i;
        for (std::size_t j = i + 1; j < selected.size(); ++j) {
            if (selected[j].prefix.size() < selected[shortest].prefix.size())
                shortest = j;
        }
        if (shortest != i)
            std::swap(selected[i], selected[shortest]);
    }
    return selected;
}

} // namespace startup
