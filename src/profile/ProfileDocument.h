#pragma once
// An INI file's text held in memory, read as the system's profile reader
// reads it, changed key by key the way the private-profile functions change
// it, and written out once.
//
// The profile reader's lines: every run of CR and LF bytes ends a line (a
// lone CR as well as CR LF or LF), and white space around a line is
// ignored, so blank lines are no lines at all. A line starting with '['
// and holding a ']' heads a section named by the text between '[' and its
// last ']', white space around the name ignored. Any other line is a key,
// split at its first '=' with white space around key and value ignored; a
// key whose name starts with ';' (a comment) is listed nowhere but is found
// by its name. Keys before the first section, and those of a section
// without a name, belong to the unnamed section, which no list shows.
// Section and key names compare ignoring (ASCII) letter case, and white
// space around the name asked for except by SectionLines; the first section
// or key of a name decides. Lines that are not changed keep their
// bytes, line ends, comments and blank lines included.
#include <cstddef>
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
    // the names of the named sections in order, each name once, as first
    // written;
    std::vector<std::string> SectionNames() const;
    // the key lines of the first section of that name, in order, as
    // "key=value" (a line without '=' as the key alone), comments left out;
    // empty when there is no such section; for the empty name, the keys
    // before the first section (the name is taken as given here, white space
    // and all, as the section function takes it);
    std::vector<std::string> SectionLines(std::string_view section) const;
    // the line numbers of those lines (from 1, as an editor counts lines:
    // CR LF, a lone LF and a lone CR each end one), in the text as it stands;
    std::vector<unsigned long> SectionLineNumbers(std::string_view section) const;
    // the value of the first key of that name in the first section of that
    // name, a pair of matching quotes around it taken off; none when missing
    // or when that key is written without '=' (it has no value at all).
    std::optional<std::string> Value(std::string_view section, std::string_view key) const;

private:
    enum class Kind { Blank, Section, Key };
    struct Line {
        std::string text;       // the line's bytes without its line end
        std::string end;        // the run of CR and LF bytes after it; empty for a last line without one
        Kind kind = Kind::Blank;
        std::string name;       // section name, or key of a key line
        std::string value;      // value of a key line
        bool hasValue = false;  // a key line with '=': one without has no value at all
        bool IsComment() const { return kind == Kind::Key && !name.empty() && name.front() == ';'; }
    };
    // The lines of the first section of a name: its body runs from `begin`
    // to `end`; `found` is false when the text has no such section (the
    // unnamed one, before the first header, is always there).
    struct Span {
        bool found = false;
        std::size_t begin = 0;
        std::size_t end = 0;
    };
    // `trimmed`: white space around the name asked for is ignored, as the
    // string and write functions ignore it (the section function does not).
    Span FindSection(std::string_view section, bool trimmed = true) const;
    static Line ParseLine(std::string text, std::string end);

    std::vector<Line> lines_;
};

} // namespace profile
