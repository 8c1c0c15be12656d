#pragma once
// Running the pending statements of "dataupdate.ini" in the sub-application's
// folder on the host's database connection.
//
// Statements of section "MSACCESS" run in file order, each through the host.
// One the host carried out is recorded in section "MSACCESS.done" of the
// same file (label and statement hash), and a recorded one is not run again,
// so a file kept after a failure repeats only what failed. One the host
// reports as failed adds a line "升级数据库失败:<statement>" to the failure
// text (lines separated by CR LF) and to the module log, and the run goes
// on. A statement done that cannot be recorded adds its failure line too and
// ends the run, since it will run again before the ones behind it. When
// every statement has succeeded the file is deleted (a deletion that fails
// is logged; the file then holds nothing left to run). A file that
// cannot be read is not one without statements: it stays, and a line
// "升级数据库失败:无法读取升级文件[<file>]（系统错误<n>）" goes to the
// failure text and the log.
#include "sharedrt/RtQuery.h"

#include <cstdint>
#include <functional>
#include <string>

namespace startup {

inline constexpr const char kUpgradeFileName[] = "dataupdate.ini";

// Runs one statement; true when it was carried out.
using StatementRunner = std::function<bool(const std::string& statement, rt::RtQuery*& query)>;

// The upgrade's wrapper of the host's ExecADOQueryMsg: the module's
// connection name, the statement, the query object by reference, a text for
// the host's message (discarded) and the two further arguments unchanged.
bool ExecSql(const std::string& statement, rt::RtQuery*& query, std::int32_t reserved, bool reservedFlag);

// The upgrade of the running sub-application through the host. Appends to
// `failures`; a missing file does nothing.
void RunDatabaseUpgrade(std::string& failures);

// The upgrade of a given file with a given runner. An error raised while the
// statements run passes to the caller; the file then stays.
void RunDatabaseUpgradeFile(const std::string& file, const StatementRunner& run, std::string& failures);

} // namespace startup
