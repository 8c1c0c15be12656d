#include "faults/StartRunner.h"

#include "hostmodel/HostModel.h"
#include "shell/SubAppModule.h"
#include "support/ModuleLogMark.h"
#include "support/TempFolder.h"

#include <windows.h>

#include <optional>
#include <stdexcept>

namespace faults {
namespace {

const hostmodel::SubAppSetup& CurrentSetup(const shell::HostProfile& profile)
{
    for (const auto& setup : profile.subApps)
        if (_stricmp(setup.code.c_str(), profile.currentSubApp.c_str()) == 0)
            return setup;
    throw std::runtime_error("the profile names no current sub-application");
}

} // namespace

// A column change among the statements: a table rebuild, whose undoing
// must not pass for a change made.
constexpr const char kColumnChange[] = "sbjl_widen=ALTER TABLE cs_sbjl ALTER COLUMN sbzt Text(4)\r\n";

StartRunner::StartRunner(std::string examples, std::string installation, bool writeAheadLog)
    : writeAheadLog_(writeAheadLog), examples_(std::move(examples)), installation_(std::move(installation))
{
    RemoveTree(installation_);
    CopyTree(examples_, installation_);
    profile_ = shell::ReadHostProfile(installation_);
    for (hostmodel::SubAppSetup& setup : profile_.subApps)
        setup.writeAheadLog = writeAheadLog;
    const std::string upgrade = SubAppFolder() + "dataupdate.ini";
    std::string statements = testing_support::ReadBytes(upgrade);
    const std::size_t section = statements.find("[MSACCESS]\r\n");
    if (section == std::string::npos)
        throw std::runtime_error("the sample's upgrade has no [MSACCESS] section");
    const std::size_t end = statements.find("\r\n[", section);
    statements.insert(end == std::string::npos ? statements.size() : end + 2, kColumnChange);
    testing_support::WriteBytes(upgrade, statements);
    sample_ = ReadTree(installation_);
    // The host model stays loaded; its import table is interposed once.
    CallFaults::Instance().Install(GetModuleHandleA("ModuleLib.dll"), Importer::Host);
}

void StartRunner::FreshCopy() const
{
    // Only what a start changed goes back: far quicker than a whole copy.
    RestoreTree(installation_, sample_);
}

const std::string& StartRunner::SubAppFolder() const { return CurrentSetup(profile_).folder; }

DatabaseState StartRunner::ReadDatabaseNow() const { return ReadDatabaseInFreshProcess(DatabaseFile()); }

const std::string& StartRunner::DatabaseFile() const { return CurrentSetup(profile_).databaseFile; }

std::string StartRunner::Relative(const std::string& path) const
{
    if (_strnicmp(path.c_str(), installation_.c_str(), installation_.size()) == 0)
        return path.substr(installation_.size());
    return path;
}

StartOutcome StartRunner::Start(std::uint64_t failAt, const CallFaults::StatementObserver& observer) const
{
    hostmodel::HostModel& model = hostmodel::Model();
    CallFaults& faults = CallFaults::Instance();
    StartOutcome outcome;
    const testing_support::ModuleLogMark logMark;
    shell::ApplyHostProfile(profile_, model);
    {
        shell::SubAppModule module(shell::ExecutableFolder() + "wscbs.dll");
        const HMODULE loaded = GetModuleHandleA("wscbs.dll");
        faults.Install(loaded, Importer::Module);
        faults.ObserveStatements(observer);
        faults.Begin(failAt);
        const shell::SubAppModule::InitResult result = module.InitSubApp(nullptr, profile_.initSubAppText);
        faults.End();
        faults.ObserveStatements({});
        faults.Remove(loaded);
        outcome.succeeded = result.succeeded;
        outcome.text = result.text;
        outcome.fired = faults.Fired();
        outcome.calls = faults.Calls();
        // Read while the module that owns the error catalogue is loaded.
        outcome.parameters = ReadParameters(model.SubAppVo(profile_.currentSubApp));
        for (const hostmodel::CallRecord& call : model.Calls())
            outcome.hostCalls.push_back(hostmodel::FormatCall(call));
        model.Reset();
    }
    outcome.log = logMark.Messages();
    outcome.files = ReadTree(installation_, {Relative(DatabaseFile())});
    outcome.database = ReadDatabaseInFreshProcess(DatabaseFile());
    return outcome;
}

void StartRunner::CreateDatabase() const
{
    hostmodel::HostModel& model = hostmodel::Model();
    shell::ApplyHostProfile(profile_, model);
    model.QueryDatabase("SELECT count(*) FROM sqlite_master");
    model.Reset();
}

} // namespace faults
