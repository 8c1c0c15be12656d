#pragma once
// File-system routines over GBK paths with "\" as the separator. None of
// them changes the process's current directory.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace util {

// What the file system says of a path. A path is Missing only when the
// system answers that the file or the path was not found; any other failure
// to read its attributes is Unknown, with the system's error code.
enum class PathKind { Missing, File, Directory, Unknown };
PathKind QueryPathKind(std::string_view path, std::uint32_t* error = nullptr);

// True when `path` names an existing directory; false when it does not
// exist, is a file, or its attributes cannot be read.
bool IsDirectory(std::string_view path);

// True when `path` names an existing file (not a directory); false when it
// does not exist or its attributes cannot be read.
bool FileExists(std::string_view path);

// Creates every missing directory of `path`, parents first; existing ones
// are left alone. One trailing "\" is ignored; an empty path or a bare
// drive ("C:") does nothing. A directory that cannot be created is not
// reported: callers that care test IsDirectory afterwards.
void CreateDirectoryChain(std::string_view path);

// Copies the files and sub-directories of `source` into `target`, creating
// `target` (and its parents) when it is missing. Hidden and system entries
// are included; an entry is descended into when its directory bit is set,
// whatever other attribute bits it carries.
// `failIfExists` applies to the files directly inside `target` only (an
// existing file is then left as it is); deeper copies always replace.
// A file that cannot be copied is skipped and the copy goes on; when
// `notCopied` is given, it receives the source path of every file not
// copied, of every sub-directory that could not be listed, and of every
// directory whose listing ended with an error rather than at its end.
// Returns false for an empty `source` or when its listing cannot be
// started; true otherwise, also when single files were skipped.
// Throws rt::IoError, before creating anything, when `source` (or, during
// the descent, one of its sub-directories) is not an existing directory.
bool CopyDirectoryTree(std::string_view source, std::string_view target, bool failIfExists,
                       std::vector<std::string>* notCopied = nullptr);

// Creates or empties the file and writes `content` into it; rt::IoError
// when that fails (the file may then hold part of it).
void WriteWholeFile(const std::string& path, std::string_view content);

// Replaces the file at `path` with `content` so that no reader ever finds
// it cut short: the content is written whole to a file beside it of this
// replacement's own (its name `path`, rt::kReplacementMark and more;
// sharedrt/FileReplace.h), flushed, and moved over `path` in one step,
// waiting a moment for another program that holds `path` open. Two
// processes replacing one file at once both succeed, one after the other.
// On any failure the file at `path` stays as it was, what was written beside
// it is removed, and rt::IoError is raised.
void ReplaceFileContent(const std::string& path, std::string_view content);

// The same with the new file made by `fill`, given the path beside; what it
// raises is raised after the file beside is removed.
void ReplaceFileBy(const std::string& path, const std::function<void(const std::string& beside)>& fill);

// The bytes of the file as they are (no code-page conversion, byte-order
// mark kept). The file is opened with reading and writing shared, so a file
// that another program holds open for writing can be read. Empty on any
// failure: missing file, no access, short read.
std::string ReadWholeFile(std::string_view path);

// The same, telling a failure apart from an empty file: 0 when the whole
// file was read into `content`, else the system's error code (`content` is
// then empty).
std::uint32_t ReadWholeFileChecked(std::string_view path, std::string& content);

} // namespace util
