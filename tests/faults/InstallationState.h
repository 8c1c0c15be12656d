#pragma once
// What a start of the sub-application leaves behind, read back for
// comparison: the files of the installation, the database's schema and
// rows, the sub-application's parameters in the host, and the module log
// lines written meanwhile. Read with the program's own calls, never through
// the interposed import tables.
#include "sharedrt/ValueLayout.h"

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace faults {

// Relative path (from the installation folder) to the file's bytes; a
// directory appears as its path with a trailing "\" and no bytes.
using FileTree = std::map<std::string, std::string>;

// Every file and directory under `folder` (ending with "\"), except the
// relative paths in `left out`.
FileTree ReadTree(const std::string& folder, const std::set<std::string>& leftOut = {});

// The database as SQL sees it: "schema <type> <name>" gives the object's
// SQL, "rows <table>" the table's rows in a fixed order.
using DatabaseImage = std::map<std::string, std::string>;

struct DatabaseState {
    bool present = false;     // a file of that name exists
    bool opened = false;      // SQLite opened and read it
    std::string integrity;    // the first line of PRAGMA integrity_check
    std::string error;        // SQLite's text when it could not be read
    DatabaseImage image;
};

// Opens the file read-write without creating it, as the host's next open
// would (a journal left by a cut-off transaction is rolled back), checks its
// integrity and reads its image.
DatabaseState ReadDatabase(const std::string& file);

// The same, by a process of its own (InitFaults.exe ... image FILE), so that
// nothing of the host that wrote the file, in this process, can colour what
// is read: the oracle of whether a statement took effect.
DatabaseState ReadDatabaseInFreshProcess(const std::string& file);

// A state as lines of text and back, for the process that reads it.
std::string DatabaseStateText(const DatabaseState& state);
DatabaseState DatabaseStateFromText(const std::string& text);

// The items of a value object in order: name, and type and value as text
// (the error catalogue's records for the pointer item "Global_Errlist").
using Parameters = std::vector<std::pair<std::string, std::string>>;
Parameters ReadParameters(const rt::DataVO* vo);
std::optional<std::string> FindParameter(const Parameters& parameters, const std::string& name);

// The sections of an INI text in file order, each with its key=value lines
// (comments, blank lines and text outside sections left out, keys as
// written). Lines that are neither are returned in `unparsed`.
struct IniText {
    std::vector<std::pair<std::string, std::vector<std::string>>> sections;
    std::vector<std::string> unparsed;
    const std::vector<std::string>* Section(const std::string& name) const;
    std::optional<std::string> Value(const std::string& section, const std::string& key) const;
};
IniText ParseIni(const std::string& bytes);

// Helpers on trees.
void CopyTree(const std::string& from, const std::string& to);
void RemoveTree(const std::string& folder);
// Makes the files under `folder` those of `tree`: what is not in the tree
// goes, what differs or is missing is written.
void RestoreTree(const std::string& folder, const FileTree& tree);
bool IsFile(const std::string& path);

} // namespace faults
