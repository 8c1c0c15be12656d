// Recognising Access's column change in a statement's text.
#include "AlterColumnText.h"

#include <gtest/gtest.h>

#include <random>
#include <regex>
#include <string>
#include <vector>

using hostmodel::ParseAlterColumn;

namespace {

// The statement's grammar as a regular expression: the reference for short
// texts. (Backtracking makes it unusable on long ones, which is why the
// host scans instead.)
std::optional<hostmodel::AlterColumnRequest> ByPattern(const std::string& sql)
{
    static const std::regex kPattern(
        R"(^\s*alter\s+table\s+(\[[^\]]+\]|"[^"]+"|`[^`]+`|[^\s\["`]+)\s+alter\s+column\s+)"
        R"((\[[^\]]+\]|"[^"]+"|`[^`]+`|[^\s\["`(]+)\s+text\s*\(\s*(\d{1,9})\s*\)\s*;?\s*$)",
        std::regex::icase | std::regex::ECMAScript);
    std::smatch match;
    if (!std::regex_match(sql, match, kPattern))
        return std::nullopt;
    const auto unquote = [](std::string name) {
        const char first = name.front();
        if (first == '[' || first == '"' || first == '`')
            return name.substr(1, name.size() - 2);
        return name;
    };
    return hostmodel::AlterColumnRequest{unquote(match[1].str()), unquote(match[2].str()), std::stoi(match[3].str())};
}

void ExpectRequest(const std::string& sql, const std::string& table, const std::string& column, int length)
{
    const auto request = ParseAlterColumn(sql);
    ASSERT_TRUE(request.has_value()) << sql.substr(0, 80);
    EXPECT_EQ(request->table, table);
    EXPECT_EQ(request->column, column);
    EXPECT_EQ(request->length, length);
}

} // namespace

TEST(AlterColumnText, ReadsTheStatementInItsForms)
{
    ExpectRequest("alter table cs_ickxx alter column icxlh Text(4)", "cs_ickxx", "icxlh", 4);
    ExpectRequest("ALTER TABLE [cs ickxx] Alter Column \"FJKSM\" TEXT ( 4 );", "cs ickxx", "FJKSM", 4);
    ExpectRequest("\t alter\ntable `t(1)` alter column [c] text(123456789) ; \r\n", "t(1)", "c", 123456789);
    ExpectRequest("alter table a]( alter column b) text(0)", "a](", "b)", 0);
    for (const char* other : {"alter table t alter column c Text(1234567890)", "alter table t alter column c(4)",
                              "alter tablet alter column c text(4)", "alter table t alter column c text(4);;",
                              "alter table [] alter column c text(4)", "alter table \"t alter column c text(4)",
                              "alter table t alter column c text(4) x", "alter table t add column c text(4)",
                              "alter table t alter column c varchar(4)", "alter table t alter column [c]text(4)", "", "alter"}) {
        EXPECT_EQ(ParseAlterColumn(other), std::nullopt) << other;
    }
}

TEST(AlterColumnText, NoLengthOfStatementIsTooLong)
{
    const std::string blanks(100000, ' ');
    ExpectRequest("alter table t alter column c" + blanks + "text(4)", "t", "c", 4);
    ExpectRequest("alter" + blanks + "table t alter column c text(4)" + blanks, "t", "c", 4);
    const std::string longName(1 << 20, 'n');
    ExpectRequest("alter table [" + longName + "] alter column " + longName + " text(4)", longName, longName, 4);
    EXPECT_EQ(ParseAlterColumn("alter table t alter column c text(" + std::string(100000, '4') + ")"), std::nullopt);
}

TEST(AlterColumnText, AgreesWithTheGrammarOnGeneratedStatements)
{
    const std::vector<std::string> pieces = {"alter", "ALTER", "Table", "table", "column", "COLUMN", "text",
                                             "TEXT",  "t",     "[a b]", "\"q\"",  "`b`",    "(",      ")",
                                             "4",     "12",    ";",     " ",      "\t",     "  ",     "x(",
                                             "[",     "]",     "\"",    "0123456789"};
    const std::vector<std::string> skeleton = {"alter", " ", "table", " ", "t", " ", "alter", " ",
                                               "column", " ", "c", " ", "text", "(", "4", ")"};
    std::mt19937 random(20261208);
    for (int round = 0; round < 20000; ++round) {
        std::vector<std::string> parts = skeleton;
        const int edits = 1 + static_cast<int>(random() % 3);
        for (int e = 0; e < edits; ++e) {
            const std::size_t at = random() % (parts.size() + 1);
            const std::string& piece = pieces[random() % pieces.size()];
            switch (random() % 3) {
            case 0: parts.insert(parts.begin() + static_cast<std::ptrdiff_t>(at), piece); break;
            case 1: if (at < parts.size()) parts[at] = piece; break;
            default: if (at < parts.size()) parts.erase(parts.begin() + static_cast<std::ptrdiff_t>(at)); break;
            }
        }
        std::string sql;
        for (const std::string& part : parts)
            sql += part;
        const auto expected = ByPattern(sql);
        const auto scanned = ParseAlterColumn(sql);
        ASSERT_EQ(scanned.has_value(), expected.has_value()) << sql;
        if (expected) {
            EXPECT_EQ(scanned->table, expected->table) << sql;
            EXPECT_EQ(scanned->column, expected->column) << sql;
            EXPECT_EQ(scanned->length, expected->length) << sql;
        }
    }
}
