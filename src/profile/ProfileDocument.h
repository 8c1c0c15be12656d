#pragma once
// An INI file's text held in memory, changed key by key the way the
// private-profile functions change it, and written out once.
//
// Lines are read as the system's profile reader reads them: white space
// around a line is ignored; a line starting with '[' and holding a ']' heads
// a section named by the text between '[' and its last ']'; any other line
// is a key, split at its first '=' with white space around key and value
// ignored. Section and key names compare ignoring (ASCII) letter case, and
// the first section or key of a name decides. Lines that are not changed
// keep their bytes, comments and blank lines included.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace profile {

class ProfileDocument {
public:
    explicit ProfileDocument(std::string_view text);

    // Sets `key` of `section` to `value` (both as the profile reader would
    // list them: trimmed). An existing key with another value gets a line
    // "key=value" in its place; a missing key is added after the last line
    // of the first section of that name, a missing section at the end.
    // Returns false when the key already had that value (nothing changed).
    bool Set(std::string_view section, std::string_view key, std::string_view value);

    // Makes `section` the text's one section of that name and its last, so
    // that lines added at the end of the text belong to it: the key lines of
    // every section of that name, in order, go under the first one's header
    // at the end (a header is made when there is none), and the last line
    // gets its line end. Returns false when nothing had to change.
    bool KeepSectionLast(std::string_view section);

    // The whole text as it stands.
    std::string Text() const;

    // What the profile functions read from the text, without going to the
    // file again (their answer for a file they cannot read is the same as
    // for one without sections or keys):
    // the section names in order, each name once, as first written;
    std::vector<std::string> SectionNames() const;
    // the key lines of the first section of that name, in order, as
    // "key=value" (a line without '=' as the key alone), comments and blank
    // lines left out; empty when there is no such section;
    std::vector<std::string> SectionLines(std::string_view section) const;
    // the line numbers (from 1, in the text as it stands) of those lines;
    std::vector<unsigned long> SectionLineNumbers(std::string_view section) const;
    // the value of the first key of that name in the first section of that
    // name, a pair of matching quotes around it taken off; none when missing
    // or when that key is written without '=' (it has no value at all).
    std::optional<std::string> Value(std::string_view section, std::string_view key) const;

private:
    struct Line {
        std::string text;        // the line's bytes without its line end
        std::string end;         // "\r\n", "\n" or empty for a last line without one
        bool isSection = false;
        std::string name;        // section name, or key of a key line
        std::string value;       // value of a key line
        bool isKey = false;
        bool hasValue = false;   // a key line with '=': one without has no value at all
    };
    // The index of the first header of `section`, or lines_.size().
    std::size_t FindSection(std::string_view section) const;
    static Line ParseLine(std::string text, std::string end);

    std::vector<Line> lines_;
};

} // namespace profile
