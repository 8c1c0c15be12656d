// Recognising Access's column change (platform/modulelib/AlterColumnText.h)
// against the statement's grammar as a regular expression, and reading a
// CREATE TABLE text (CreateTableText.h) on any text.
//   input: statement NUL CREATE TABLE text NUL column name
#include "FuzzSupport.h"

#include "AlterColumnText.h"
#include "CreateTableText.h"

#include <regex>

namespace {

// The reference of the unit tests. Backtracking and recursion make it
// unusable on long texts, which is why the host scans instead.
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
    return hostmodel::AlterColumnRequest {unquote(match[1].str()), unquote(match[2].str()), std::stoi(match[3].str())};
}

constexpr std::size_t kLongestForThePattern = 200;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto fields = fuzz::Fields<3>(data, size);
    const std::string_view sql = fields[0];
    const std::string_view createSql = fields[1];
    const std::string_view column = fields[2];
    const fuzz::Context context = [&] {
        return std::string("statement " + fuzz::Printable(sql) + "\ncreate " + fuzz::Printable(createSql) +
                           "\ncolumn " + fuzz::Printable(column));
    };

    const auto request = hostmodel::ParseAlterColumn(sql);
    if (sql.size() <= kLongestForThePattern) {
        const auto expected = ByPattern(std::string(sql));
        FUZZ_CHECK(request.has_value() == expected.has_value(), context());
        if (expected) {
            FUZZ_CHECK_TEXT(request->table, expected->table, context());
            FUZZ_CHECK_TEXT(request->column, expected->column, context());
            FUZZ_CHECK(request->length == expected->length, context());
        }
    }
    if (request) {
        FUZZ_CHECK(!request->table.empty() && !request->column.empty(), context());
        FUZZ_CHECK(request->length >= 0 && request->length <= 999999999, context());
    }

    const std::string newType = "Text(" + std::to_string(size) + ")";
    if (const auto replaced = hostmodel::ReplaceColumnType(createSql, column, newType)) {
        // The column list from its opening parenthesis, with the new type in it.
        FUZZ_CHECK(!replaced->empty() && replaced->front() == '(', context() + "\ngave " + fuzz::Printable(*replaced));
        FUZZ_CHECK(replaced->find(newType) != std::string::npos, context() + "\ngave " + fuzz::Printable(*replaced));
    }
    return 0;
}
