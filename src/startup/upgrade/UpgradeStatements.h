#pragma once
// The statements of "dataupdate.ini" and the record of those already done.
//
// Section "MSACCESS" holds label=statement lines, run in file order; the
// statement is everything after the first '='. Each statement that the host
// carried out is recorded in section "MSACCESS.done" of the same file under
// its label, with the hash of its statement, so that a file kept after a
// partly failed run does not run it again. A label recorded with another
// hash (the statement changed) runs again.
#include <string>
#include <string_view>
#include <vector>

namespace startup {

inline constexpr const char* kUpgradeSection = "MSACCESS";
inline constexpr const char* kUpgradeDoneSection = "MSACCESS.done";

struct UpgradeStatement {
    std::string label;
    std::string statement;
    unsigned long line = 0;  // in the file, when known
};

// The lines of section "MSACCESS" that carry a statement, in order; lines
// with an empty statement are dropped. `lineNumbers`, when given, holds the
// line of each section line (ProfileDocument::SectionLineNumbers), and
// `empty` receives the lines dropped.
std::vector<UpgradeStatement> ParseUpgradeStatements(const std::vector<std::string>& sectionLines,
                                                     const std::vector<unsigned long>& lineNumbers = {},
                                                     std::vector<UpgradeStatement>* empty = nullptr);

// The statement's hash as recorded: 32-bit FNV-1a of its bytes, 8 upper-case
// hexadecimal digits.
std::string StatementHash(std::string_view statement);

// True when the lines of "MSACCESS.done" record `statement` under its label
// (compared ignoring case, as profile keys are) with its current hash. The
// label's last record decides: records are added at the end, so a statement
// changed and run again has its newer record last.
bool IsStatementDone(const UpgradeStatement& statement, const std::vector<std::string>& doneLines);

// Adds the failure line of `statement` to `failures`: "升级数据库失败:"
// followed by the statement, after a CR LF when `failures` is not empty.
void AppendUpgradeFailure(std::string& failures, std::string_view statement);

} // namespace startup
