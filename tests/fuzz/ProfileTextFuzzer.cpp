// Profile texts (config/ProfileText.h) and the in-memory INI document
// (config/ProfileDocument.h). The document must give back the text it was
// read from, byte for byte; a key it sets must read back with a plain
// reader of the profile rules, with no other line changed; a section it
// keeps last must hold the same lines, last.
//   input: INI text NUL section NUL key NUL value
#include "FuzzSupport.h"

#include "profile/ProfileDocument.h"
#include "profile/ProfileText.h"
#include "text/TextRules.h"

#include <optional>
#include <vector>

namespace {

bool IsProfileSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == '\x1a';
}

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && IsProfileSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsProfileSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

// The lines without their line ends ("\n", or "\r\n").
std::vector<std::string> Lines(std::string_view text)
{
    std::vector<std::string> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (end != std::string_view::npos && !line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.emplace_back(line);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    return lines;
}

// A section header: a line that starts with '[' and holds a ']'; the name
// between '[' and the last ']'.
std::optional<std::string_view> HeaderName(std::string_view raw)
{
    const std::string_view line = Trim(raw);
    if (line.empty() || line.front() != '[' || line.find(']') == std::string_view::npos)
        return std::nullopt;
    return line.substr(1, line.rfind(']') - 1);
}

// The first key `key` in the first section `section`, as the profile
// reader reads it: nothing when there is none; a key without '=' has no
// value.
using Found = std::optional<std::optional<std::string>>;
Found Lookup(std::string_view text, std::string_view section, std::string_view key)
{
    bool inSection = false;
    bool seenSection = false;
    for (const std::string& raw : Lines(text)) {
        if (const auto name = HeaderName(raw)) {
            if (inSection)
                return std::nullopt;
            inSection = !seenSection && text::EqualsIgnoreCase(*name, section);
            seenSection = seenSection || inSection;
            continue;
        }
        const std::string_view line = Trim(raw);
        if (!inSection || line.empty() || line.front() == ';')
            continue;
        const std::size_t equals = line.find('=');
        if (text::EqualsIgnoreCase(Trim(line.substr(0, equals)), key)) {
            if (equals == std::string_view::npos)
                return std::optional<std::string>();
            return std::optional<std::string>(Trim(line.substr(equals + 1)));
        }
    }
    return std::nullopt;
}

std::string Show(const Found& found)
{
    return !found ? "no key" : !*found ? "a key without value" : "value " + fuzz::Printable(**found);
}

// What the profile functions would give as a section, key and value: no
// line break, no blank at either end; a key without '=' that does not begin
// with '[' or ';' (it would read as a section or a comment).
bool Writable(std::string_view section, std::string_view key, std::string_view value)
{
    for (std::string_view text : {section, key, value}) {
        if (text.find('\n') != std::string_view::npos || Trim(text) != text)
            return false;
    }
    return key.find('=') == std::string_view::npos && (key.empty() || (key[0] != '[' && key[0] != ';'));
}

// The section made the text's one and last of its name: the same lines
// apart from further headers of the name, the section's own ones last and
// in their order, the others in theirs; a key of it read as before; the
// text ending with a line end, so that a line added at the end belongs to
// the section. Done twice, the second time changes nothing.
void CheckKeepSectionLast(std::string_view text, std::string_view section, std::string_view key,
                          const fuzz::Context& context)
{
    profile::ProfileDocument document(text);
    const bool changed = document.KeepSectionLast(section);
    const std::string after = document.Text();
    const auto where = [&] { return context() + "\nkept last: " + fuzz::Printable(after); };
    FUZZ_CHECK(changed == (after != text), where);
    FUZZ_CHECK(!document.KeepSectionLast(section) && document.Text() == after, where);
    FUZZ_CHECK(!after.empty() && after.back() == '\n', where);

    std::vector<std::string> own, others;
    bool inSection = false;
    for (const std::string& line : Lines(text)) {
        const auto name = HeaderName(line);
        if (name)
            inSection = text::EqualsIgnoreCase(*name, section);
        if (!name || !inSection)
            (inSection ? own : others).push_back(line);
    }
    std::vector<std::string> expected = others;
    std::string header;
    std::size_t headers = 0;
    for (const std::string& line : Lines(after)) {
        const auto name = HeaderName(line);
        if (name && text::EqualsIgnoreCase(*name, section)) {
            ++headers;
            header = line;
        }
    }
    FUZZ_CHECK(headers == 1, where);
    expected.push_back(header);
    expected.insert(expected.end(), own.begin(), own.end());
    FUZZ_CHECK(Lines(after) == expected, where);
    const Found before = Lookup(text, section, key);
    if (before)
        FUZZ_CHECK(Lookup(after, section, key) == before, where);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto fields = fuzz::Fields<4>(data, size);
    const std::string_view text = fields[0];
    const std::string_view section = fields[1];
    const std::string_view key = fields[2];
    const std::string_view value = fields[3];
    const fuzz::Context context = [&] {
        return std::string("text " + fuzz::Printable(text) + "\nsection " + fuzz::Printable(section) + "\nkey " +
                           fuzz::Printable(key) + "\nvalue " + fuzz::Printable(value));
    };

    // The NUL-separated lists of the profile functions, the section text
    // standing in for a buffer.
    std::vector<std::string> items;
    for (std::string_view rest = value; !rest.empty() && rest[0] != '\0';) {
        const std::size_t nul = rest.find('\0');
        items.emplace_back(rest.substr(0, nul));
        rest.remove_prefix(nul == std::string_view::npos ? rest.size() : nul + 1);
    }
    FUZZ_CHECK(profile::SplitProfileList(value) == items, context());
    const profile::ProfileEntry entry = profile::SplitProfileLine(text);
    const std::size_t equals = text.find('=');
    FUZZ_CHECK_TEXT(entry.key, text.substr(0, equals), context());
    FUZZ_CHECK_TEXT(entry.value, equals == std::string_view::npos ? std::string_view() : text.substr(equals + 1),
                    context());

    profile::ProfileDocument document(text);
    FUZZ_CHECK_TEXT(document.Text(), text, context());
    if (section.find('\n') == std::string_view::npos && Trim(section) == section)
        CheckKeepSectionLast(text, section, key, context);
    if (!Writable(section, key, value))
        return 0;
    const Found before = Lookup(text, section, key);
    const Found wanted = std::optional<std::string>(value);
    const bool changed = document.Set(section, key, value);
    const std::string after = document.Text();
    FUZZ_CHECK(changed == (before != wanted),
               context() + "\nSet said " + std::to_string(changed) + "; before " + Show(before));
    if (!changed) {
        FUZZ_CHECK_TEXT(after, text, context());
        return 0;
    }
    const Found read = Lookup(after, section, key);
    FUZZ_CHECK(read == wanted, context() + "\nafter " + fuzz::Printable(after) + "\nread " + Show(read));
    FUZZ_CHECK(document.Set(section, key, value) == false, context() + "\nafter " + fuzz::Printable(after));

    // One line replaced, one inserted, or a section and its key added at
    // the end; every other line as it was.
    const std::vector<std::string> oldLines = Lines(text);
    const std::vector<std::string> newLines = Lines(after);
    std::size_t differing = 0;
    if (newLines.size() == oldLines.size()) {
        for (std::size_t i = 0; i < oldLines.size(); ++i)
            differing += oldLines[i] != newLines[i];
        FUZZ_CHECK(differing == 1, context() + "\nafter " + fuzz::Printable(after));
    } else if (newLines.size() == oldLines.size() + 1) {
        std::size_t skipped = 0;
        while (skipped < oldLines.size() && oldLines[skipped] == newLines[skipped])
            ++skipped;
        for (std::size_t i = skipped; i < oldLines.size(); ++i)
            FUZZ_CHECK(oldLines[i] == newLines[i + 1], context() + "\nafter " + fuzz::Printable(after));
    } else {
        FUZZ_CHECK(newLines.size() == oldLines.size() + 2, context() + "\nafter " + fuzz::Printable(after));
        for (std::size_t i = 0; i < oldLines.size(); ++i)
            FUZZ_CHECK(oldLines[i] == newLines[i], context() + "\nafter " + fuzz::Printable(after));
        FUZZ_CHECK(!before.has_value(), context());
    }
    return 0;
}
