#pragma once
// One start of the sub-application as the host makes it: the host model
// configured from the installation's profile, wscbs.dll loaded afresh with
// the interposer in its import table, InitSubApp called with the profile's
// text, and what the start left behind read back after the host has closed
// its database and the module is unloaded again (the database by a process
// of its own).
#include "support/CallFaults.h"
#include "faults/InstallationState.h"

#include "shell/HostProfile.h"

#include <cstdint>
#include <string>
#include <vector>

namespace faults {

struct StartOutcome {
    bool succeeded = false;
    std::string text;                 // the host's buffer after the call
    bool fired = false;               // the armed call came
    std::vector<CountedCall> calls;   // every counted call, in order
    Parameters parameters;            // the sub-application's value object
    std::vector<std::string> hostCalls;  // the host model's call log
    std::vector<std::string> log;     // module log lines written meanwhile
    FileTree files;                   // the installation, database file left out
    DatabaseState database;
};

class StartRunner {
public:
    // `examples`: the sample installation to copy from; `installation`: the
    // folder the starts work in (both end with "\"). The copy's upgrade
    // also changes a column (a table rebuild), and with `writeAheadLog` the
    // host keeps the database with a write-ahead log.
    StartRunner(std::string examples, std::string installation, bool writeAheadLog = false);

    // Empties the installation folder and copies the sample into it.
    void FreshCopy() const;

    // One start; call `failAt` (from 1) of the interposed calls fails, 0
    // fails none.
    StartOutcome Start(std::uint64_t failAt, const CallFaults::StatementObserver& observer = {}) const;

    // The database as the next open will find it, read now by a process of
    // its own (after a full disk is freed, say: reading a database left with
    // a write-ahead log takes room).
    DatabaseState ReadDatabaseNow() const;

    // Creates the database as the host does at its first statement (from
    // the sub-application's script), without starting the module.
    void CreateDatabase() const;

    const std::string& Installation() const { return installation_; }
    bool WriteAheadLog() const { return writeAheadLog_; }
    const std::string& InputText() const { return profile_.initSubAppText; }
    const std::string& SubAppFolder() const;
    const std::string& DatabaseFile() const;
    // A path of the installation relative to its folder.
    std::string Relative(const std::string& path) const;

private:
    bool writeAheadLog_ = false;
    std::string examples_;
    std::string installation_;
    shell::HostProfile profile_;
    mutable FileTree sample_;  // the sample as copied
};

} // namespace faults
