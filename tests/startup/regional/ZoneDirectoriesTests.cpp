#include "startup/regional/ZoneDirectories.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> Names(const std::vector<startup::ZoneDirectory>& zones)
{
    std::vector<std::string> names;
    for (const auto& zone : zones)
        names.push_back(zone.name);
    return names;
}

} // namespace

TEST(ZoneDirectories, PrefixAndMatchCode)
{
    EXPECT_EQ(startup::ZonePrefix("3201-city"), "3201");
    EXPECT_EQ(startup::ZonePrefix("3201"), "3201");
    EXPECT_EQ(startup::ZonePrefix("-x"), "");
    EXPECT_EQ(startup::ZoneMatchCode("132", 0), "32");
    EXPECT_EQ(startup::ZoneMatchCode("132", 1), "132");
    EXPECT_EQ(startup::ZoneMatchCode("", 0), "");
}

TEST(ZoneDirectories, WidestRegionFirstAndOnlyMatchingPrefixes)
{
    // Zone 132 under the strip switch 0 matches against "32".
    const auto zones = startup::SelectZoneDirectories(
        {"33", "32-city", "SysDifference.xml", "4", "3", "-x", "320", "GS_Differ"}, "32");
    EXPECT_EQ(Names(zones), (std::vector<std::string>{"3", "32-city"}));
    EXPECT_EQ(zones[1].prefix, "32");
}

TEST(ZoneDirectories, EqualLengthsKeepTheSelectionSortOrder)
{
    // The sort swaps "3-a" forward past "32-b" and "32-c"; the equal pair
    // ends in the order the swaps leave: 32-c before 32-b.
    const auto zones = startup::SelectZoneDirectories({"32-b", "32-c", "3-a", "3201"}, "3201");
    EXPECT_EQ(Names(zones), (std::vector<std::string>{"3-a", "32-c", "32-b", "3201"}));
}
