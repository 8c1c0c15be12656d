#include "startup/upgrade/UpgradeStatements.h"

#include "profile/ProfileText.h"
#include "text/TextRules.h"

#include <cstdint>

namespace startup {

std::vector<UpgradeStatement> ParseUpgradeStatements(const std::vector<std::string>& sectionLines,
                                                     const std::vector<unsigned long>& lineNumbers,
                                                     std::vector<UpgradeStatement>* empty)
{
    std::vector<UpgradeStatement> statements;
    for (std::size_t i = 0; i < sectionLines.size(); ++i) {
        profile::ProfileEntry entry = profile::SplitProfileLine(sectionLines[i]);
        const unsigned long line = i < lineNumbers.size() ? lineNumbers[i] : 0;
        if (entry.value.empty()) {
            if (empty != nullptr)
                empty->push_back({std::move(entry.key), {}, line});
            continue;
        }
        statements.push_back({std::move(entry.key), std::move(entry.value), line});
    }
    return statements;
}

std::string StatementHash(std::string_view statement)
{
    std::uint32_t hash = 2166136261u;
    for (char c : statement) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 16777619u;
    }
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text(8, '0');
    for (int i = 7; i >= 0; --i) {
        text[static_cast<std::size_t>(i)] = kDigits[hash & 0xF];
        hash >>= 4;
    }
    return text;
}

bool IsStatementDone(const UpgradeStatement& statement, const std::vector<std::string>& doneLines)
{
    // Records are added at the end: the label's last one is the latest.
    for (auto line = doneLines.rbegin(); line != doneLines.rend(); ++line) {
        const profile::ProfileEntry entry = profile::SplitProfileLine(*line);
        if (text::EqualsIgnoreCase(entry.key, statement.label))
            return entry.value == StatementHash(statement.statement);
    }
    return false;
}

void AppendUpgradeFailure(std::string& failures, std::string_view statement)
{
    if (!failures.empty())
        failures += "\r\n";
    failures += "升级数据库失败:";
    failures += statement;
}

} // namespace startup
