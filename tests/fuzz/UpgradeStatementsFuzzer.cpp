// The upgrade statements of "dataupdate.ini" and their record of what is
// done (config/UpgradeStatements.h), against a plain reading of the rules.
// A statement recorded with its hash at the end must be done.
//   input: the lines of section MSACCESS NUL the lines of MSACCESS.done,
//   lines split at '\n'
#include "FuzzSupport.h"

#include "startup/upgrade/UpgradeStatements.h"
#include "text/TextRules.h"

#include <cstdio>
#include <vector>

namespace {

std::vector<std::string> SplitLines(std::string_view text)
{
    std::vector<std::string> lines;
    if (text.empty())
        return lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string_view::npos; start = end + 1)
        lines.emplace_back(text.substr(start, end - start));
    lines.emplace_back(text.substr(start));
    return lines;
}

std::string HashRef(std::string_view statement)
{
    std::uint32_t hash = 0x811C9DC5u;
    for (unsigned char byte : statement)
        hash = (hash ^ byte) * 0x01000193u;
    char text[9];
    std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(hash));
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto fields = fuzz::Fields<2>(data, size);
    const std::string_view sectionText = fields[0];
    const std::string_view doneText = fields[1];
    const fuzz::Context context = [&] {
        return std::string("MSACCESS " + fuzz::Printable(sectionText) + "\ndone " + fuzz::Printable(doneText));
    };
    const std::vector<std::string> section = SplitLines(sectionText);
    const std::vector<std::string> done = SplitLines(doneText);

    const std::vector<startup::UpgradeStatement> statements = startup::ParseUpgradeStatements(section);
    std::size_t next = 0;
    for (const std::string& line : section) {
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos || equals + 1 == line.size())
            continue;
        FUZZ_CHECK(next < statements.size(), context() + "\nline " + fuzz::Printable(line) + " was dropped");
        FUZZ_CHECK_TEXT(statements[next].label, line.substr(0, equals), context());
        FUZZ_CHECK_TEXT(statements[next].statement, line.substr(equals + 1), context());
        ++next;
    }
    FUZZ_CHECK(next == statements.size(), context() + "\nmore statements than lines with one");

    std::vector<std::string> recorded = done;
    for (const startup::UpgradeStatement& statement : statements) {
        const std::string hash = startup::StatementHash(statement.statement);
        FUZZ_CHECK_TEXT(hash, HashRef(statement.statement), context());
        // The label's last done line decides.
        bool expected = false;
        for (auto line = done.rbegin(); line != done.rend(); ++line) {
            const std::size_t equals = line->find('=');
            if (text::EqualsIgnoreCase(line->substr(0, equals), statement.label)) {
                expected = equals != std::string::npos && line->substr(equals + 1) == hash;
                break;
            }
        }
        FUZZ_CHECK(startup::IsStatementDone(statement, done) == expected,
                   context() + "\nstatement " + fuzz::Printable(statement.statement));
        // Recorded at the end, as the journal adds it, it is done.
        recorded.push_back(statement.label + "=" + hash);
        FUZZ_CHECK(startup::IsStatementDone(statement, recorded),
                   context() + "\nrecorded statement " + fuzz::Printable(statement.statement));
    }

    std::string failures;
    std::string expectedFailures;
    for (const startup::UpgradeStatement& statement : statements) {
        const std::size_t before = failures.size();
        startup::AppendUpgradeFailure(failures, statement.statement);
        FUZZ_CHECK(failures.compare(0, before, expectedFailures) == 0, context());
        FUZZ_CHECK(failures.size() >= statement.statement.size() &&
                       failures.compare(failures.size() - statement.statement.size(), std::string::npos,
                                        statement.statement) == 0,
                   context());
        FUZZ_CHECK(before == 0 || failures.compare(before, 2, "\r\n") == 0, context());
        expectedFailures = failures;
    }
    return 0;
}
