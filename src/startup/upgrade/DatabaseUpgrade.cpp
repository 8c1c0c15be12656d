#include "startup/upgrade/DatabaseUpgrade.h"

#include "util/FileUtil.h"
#include "util/ModuleLog.h"
#include "text/GbkConverter.h"
#include "startup/upgrade/UpgradeFile.h"
#include "profile/ProfileText.h"
#include "startup/upgrade/UpgradeJournal.h"
#include "startup/upgrade/UpgradePlan.h"
#include "host/HostServices.h"
#include "wscbs/wscbs.h"

#include "sharedrt/RtError.h"

#include <windows.h>

#include <algorithm>


namespace startup {
namespace {

// The query object of one run, released at its end whatever happens. The
// host may have put another object in its place; that one is released.
struct QueryOwner {
    rt::RtQuery* query = new rt::RtQuery(nullptr);
    QueryOwner() = default;
    QueryOwner(const QueryOwner&) = delete;
    QueryOwner& operator=(const QueryOwner&) = delete;
    ~QueryOwner() { delete query; }
};

} // namespace

bool ExecSql(const std::string& statement, rt::RtQuery*& query, std::int32_t reserved, bool reservedFlag)
{
    rt::RtString hostMessage;
    return ExecADOQueryMsg(host::kMainConnection, statement.c_str(), &query, &hostMessage, reserved,
                           reservedFlag ? 1 : 0) != 0;
}

namespace {

// A pending upgrade that cannot be read is not an empty one: it stays for
// the next start, and the log and the failure text say why.
void ReportUnreadable(const std::string& file, std::uint32_t error, std::string& failures)
{
    const std::string reason = "无法读取升级文件[" + file + "]（系统错误" + std::to_string(error) + "）";
    std::string line;
    AppendUpgradeFailure(line, reason);
    util::WriteLogLine(line);
    AppendUpgradeFailure(failures, reason);
}

} // namespace

void RunDatabaseUpgradeFile(const std::string& file, const StatementRunner& run, std::string& failures)
{
    UpgradeFile read = ReadUpgradeFile(file);
    if (read.state == UpgradeFile::State::Missing)
        return;
    if (read.state == UpgradeFile::State::Unreadable) {
        ReportUnreadable(file, read.error, failures);
        return;
    }
    std::string content = std::move(read.content);
    bool allSucceeded = true;
    // The statements and records come from what was read, not from the
    // profile functions, which answer a read that fails with no lines.
    const UpgradePlan plan = PlanUpgrade(file, profile::ProfileTextAsGbk(content, text::SystemGbkConverter()));
    UpgradeJournal journal(file, std::move(content));
    const bool anyToRun = std::any_of(plan.statements.begin(), plan.statements.end(),
                                      [](const PlannedStatement& planned) { return !planned.done; });
    if (anyToRun) {
        try {
            journal.Prepare();
        } catch (const rt::IoError& e) {
            // Nothing has run: the file stays, and the next start runs it all.
            const std::string reason = "无法记录升级进度到[" + file + "]：" + e.what();
            std::string line;
            AppendUpgradeFailure(line, reason);
            util::WriteLogLine(line);
            AppendUpgradeFailure(failures, reason);
            return;
        }
    }
    QueryOwner owner;
    for (const PlannedStatement& planned : plan.statements) {
        if (planned.done)
            continue;
        const UpgradeStatement& statement = planned.statement;
        if (run(statement.statement, owner.query)) {
            try {
                journal.Record(statement);
            } catch (const rt::IoError& e) {
                // Done but not recorded: it runs again at the next start,
                // so nothing behind it may run before it.
                std::string line;
                AppendUpgradeFailure(line, statement.statement + "（" + e.what() + "）");
                util::WriteLogLine(line);
                AppendUpgradeFailure(failures, statement.statement);
                return;
            }
            continue;
        }
        std::string line;
        AppendUpgradeFailure(line, statement.statement);
        util::WriteLogLine(line);
        AppendUpgradeFailure(failures, statement.statement);
        allSucceeded = false;
    }
    journal.Close();
    if (allSucceeded && !DeleteFileA(file.c_str())) {
        // Every statement is recorded: the next start finds nothing to run
        // and tries again.
        util::WriteLogLine("无法删除升级文件[" + file + "]（系统错误" + std::to_string(GetLastError()) + "）");
    }
}

void RunDatabaseUpgrade(std::string& failures)
{
    RunDatabaseUpgradeFile(host::RequiredCurSubAppPath() + kUpgradeFileName,
                           [](const std::string& statement, rt::RtQuery*& query) {
                               return ExecSql(statement, query, 0, false);
                           },
                           failures);
}

} // namespace startup
