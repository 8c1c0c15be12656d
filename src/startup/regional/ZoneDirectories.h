#pragma once
// Which entries of the difference directory apply to a zone code, and in
// which order: from the widest region (shortest prefix) to the narrowest,
// so that a narrower region's parameters and files replace a wider one's.
#include <string>
#include <string_view>
#include <vector>

namespace startup {

// The prefix of an entry name: the part before its first '-', or the whole
// name. "3201-city" and "3201" both have the prefix "3201".
std::string_view ZonePrefix(std::string_view entryName) noexcept;

// The code that zone prefixes are matched against: with the strip switch 0
// the zone code less its first character, else the whole zone code.
std::string_view ZoneMatchCode(std::string_view zoneCode, int stripSwitch) noexcept;

struct ZoneDirectory {
    std::string prefix;
    std::string name;
};

// The entries (given in scan order) whose prefix is not empty and begins the
// match code byte for byte, ordered by prefix length with a selection sort
// (for each position the first strictly shortest later entry is swapped in),
// which is the order the regional parts are applied in.
std::vector<ZoneDirectory> SelectZoneDirectories(const std::vector<std::string>& entryNames,
                                                 std::string_view matchCode);

} // namespace startup
