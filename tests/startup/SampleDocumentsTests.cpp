// The sample installation's documents are what a new user starts from: each
// must be one that the module reads.
#include "startup/catalogue/ErrorCatalogueParser.h"
#include "startup/regional/SysDifferenceDocument.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

std::string ReadBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

} // namespace

TEST(SampleDocuments, EveryXmlFileOfTheSampleInstallationIsRead)
{
    int checked = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(WSCBS_EXAMPLES_DIR)) {
        if (entry.path().extension() != ".xml")
            continue;
        const std::string bytes = ReadBytes(entry.path());
        if (entry.path().filename() == "errmsg.xml") {
            const auto catalogue = startup::ParseErrorCatalogue(bytes, text::SystemGbkConverter());
            EXPECT_TRUE(catalogue.loaded) << entry.path();
            EXPECT_FALSE(catalogue.entries.empty()) << entry.path();
        } else {
            EXPECT_TRUE(startup::ParseSysDifference(bytes, text::SystemGbkConverter()).has_value()) << entry.path();
        }
        ++checked;
    }
    EXPECT_GE(checked, 2);
}
