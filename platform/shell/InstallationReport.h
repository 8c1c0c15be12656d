#pragma once
// What an initialisation left behind, for the shell's console report: the
// items of a value object, the files that appeared or changed below a
// folder, and the module's log.
#include "sharedrt/ValueLayout.h"

#include <cstdint>
#include <map>
#include <ostream>
#include <string>

namespace shell {

// Every item of a value object, one line each: name (type) = value.
void PrintValueObject(std::ostream& out, const rt::DataVO& vo);

// Files below a folder (relative paths) with their size and write time.
using FolderSnapshot = std::map<std::string, std::pair<std::uint64_t, std::uint64_t>>;
FolderSnapshot SnapshotFolder(const std::string& folder);

// The files of `after` that are new or differ from `before`.
void PrintChangedFiles(std::ostream& out, const FolderSnapshot& before, const FolderSnapshot& after);

// The text of a file, each line indented; "(none)" when it cannot be read.
void PrintFileLines(std::ostream& out, const std::string& path);

} // namespace shell
