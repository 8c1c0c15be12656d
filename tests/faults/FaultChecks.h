#pragma once
// What a start that met a fault must still have done right, judged against
// a start without one on a fresh copy of the same installation:
//   honest  result 1 only when everything the start-up promises was done;
//           the regional configuration and the database upgrade may instead
//           be left pending for the next start (no record in "cookie.ini",
//           "dataupdate.ini" kept), and then a log line says why; result 0
//           carries a message that is true
//   torn    the host's "action.ini", "dataupdate.ini" and "cookie.ini" hold
//           their old or their complete new content; the database passes
//           its integrity check
//   journal every statement recorded as done in "MSACCESS.done" was done
//   clean   a following start without a fault ends exactly as the start
//           without one did: files, parameters, database, journal
// "cookie.ini" counts as old or new, and as the same, by its keys and
// values: the host writes it key by key, so that a record the start could
// not finish holds some keys new and some old (and reads as not done), and
// a key the next start writes anew goes to the end of its section.
#include "faults/InstallationState.h"
#include "faults/StartRunner.h"

#include <set>
#include <string>
#include <vector>

namespace faults {

// What one upgrade statement changed in the start without a fault.
struct StatementEffect {
    std::string label;
    std::string statement;
    DatabaseImage before;
    DatabaseImage after;
};

// The relative paths the checks look at.
struct Layout {
    std::string hostActions;   // the host's action.ini
    std::string sourceActions; // the sub-application's action.ini
    std::string cookie;
    std::string upgrade;       // dataupdate.ini
    std::string catalogue;     // errmsg.xml
    std::string database;      // the database file
};

struct Reference {
    Layout layout;
    std::string inputText;
    FileTree before;                     // the installation as copied
    StartOutcome after;                  // the start without a fault
    std::set<std::string> regionalFiles; // files the regional step wrote
    std::vector<StatementEffect> statements;
};

// Runs the starts that make the reference: one without a fault (which also
// counts the calls) and one that records each statement's effect.
Reference MakeReference(const StartRunner& runner);

struct Verdict {
    bool honest = true;
    bool torn = false;
    bool journal = true;
    bool clean = true;
    std::vector<std::string> problems;
    std::vector<std::string> notes;  // what happened, for reading; no failure

    // Any problem fails the run, also one outside the four checks.
    bool Failed() const { return !problems.empty() || !honest || torn || !journal || !clean; }
};

// The checks of a start that met a fault (honest, torn, journal).
void CheckFaultedStart(const Reference& reference, const StartOutcome& faulted, Verdict& verdict);

// The check of the start that follows it without a fault.
void CheckCleanStart(const Reference& reference, const StartOutcome& clean, Verdict& verdict);

// --- parts of the checks that the damaged-file runs share ------------------------
// "cookie.ini" records the version and zone of the start without a fault.
bool CookieRecordsRun(const Reference& reference, const FileTree& files);
// Regional files or parameters are not those of the start without a fault.
bool RegionalIncomplete(const Reference& reference, const StartOutcome& outcome);
// Incomplete regional configuration is not recorded as done; one that is
// not recorded has a log line that says why.
void CheckRegionalRecord(const Reference& reference, const StartOutcome& outcome, Verdict& verdict);
bool CoreParametersEqual(const Reference& reference, const StartOutcome& outcome, std::string& which);
// Empty when the message of a failed start is true of the installation as
// it stands; else what is wrong with it.
std::string FalseMessage(const Reference& reference, const std::string& text, bool catalogueDamaged);

} // namespace faults
