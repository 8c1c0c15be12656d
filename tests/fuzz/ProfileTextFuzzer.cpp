// Profile texts (profile/ProfileText.h) and the in-memory INI document
// (profile/ProfileDocument.h), held against the plain model of the
// system's profile reader (support/ProfileModel.h, itself held against the
// profile functions under Wine). The document must give back the text it was
// read from, byte for byte, and read what the model reads; a key it sets
// must leave the text as the model's write leaves it, with no other line
// changed; a section it keeps last must hold the same keys, last.
//   input: INI text NUL section NUL key NUL value
#include "FuzzSupport.h"

#include "profile/ProfileDocument.h"
#include "profile/ProfileText.h"
#include "support/ProfileModel.h"

#include <optional>
#include <vector>

namespace {

using testing_support::ProfileModel;

// The text's lines as bytes: every run of CR and LF ends one.
std::vector<std::string> Lines(std::string_view text)
{
    std::vector<std::string> lines;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find_first_of("\r\n"), text.size());
        lines.emplace_back(text.substr(0, end));
        text.remove_prefix(std::min(text.find_first_not_of("\r\n", end), text.size()));
    }
    return lines;
}

std::string Show(const std::optional<std::optional<std::string>>& found)
{
    return !found ? "no key" : !*found ? "a key without value" : "value " + fuzz::Printable(**found);
}

// A section name as a header gives it back: not so one that ends in half a
// GBK character, whose second byte the header's ']' would become.
bool HeaderKeepsName(std::string_view section)
{
    const std::vector<std::string> names = ProfileModel("[" + std::string(section) + "]").Names();
    return section.empty() || (names.size() == 1 && names[0] == section);
}

// What the profile functions would give as a section, key and value: no
// line break, no blank at either end; a key without '=' that does not begin
// with '[' or ';' (it would read as a section or a comment).
bool Writable(std::string_view section, std::string_view key, std::string_view value)
{
    for (std::string_view text : {section, key, value}) {
        if (text.find_first_of("\r\n") != std::string_view::npos || ProfileModel::Trim(text) != text)
            return false;
    }
    return HeaderKeepsName(section) && key.find('=') == std::string_view::npos &&
           (key.empty() || (key[0] != '[' && key[0] != ';'));
}

// The document reads what the profile reader reads: every named section
// once, in order, with the lines of its first section, and the key asked
// for.
void CheckReading(const profile::ProfileDocument& document, const ProfileModel& model, std::string_view section,
                  std::string_view key, const fuzz::Context& context)
{
    std::vector<std::string> names;
    for (const std::string& name : model.Names()) {
        bool seen = false;
        for (const std::string& earlier : names)
            seen = seen || ProfileModel::Same(earlier, name);
        if (!seen)
            names.push_back(name);
    }
    FUZZ_CHECK(document.SectionNames() == names, context);
    for (const std::string& name : names)
        FUZZ_CHECK(document.SectionLines(name) == model.Listing(name), context() + "\nsection " + name);
    FUZZ_CHECK(document.SectionLines(section) == model.Listing(section), context);
    FUZZ_CHECK(document.SectionLineNumbers(section).size() == model.Listing(section).size(), context);
    FUZZ_CHECK(document.Value(section, key) == model.Get(section, key), context);
}

// The section made the text's one and last of its name: every section of
// another name as it was, in its order; the section's keys, from every
// section of its name in order, last; the text ending with a line end, so
// that a line added at the end belongs to the section. Done twice, the
// second time changes nothing.
void CheckKeepSectionLast(std::string_view text, std::string_view section, const fuzz::Context& context)
{
    profile::ProfileDocument document(text);
    const bool changed = document.KeepSectionLast(section);
    const std::string after = document.Text();
    const auto where = [&] { return context() + "\nkept last: " + fuzz::Printable(after); };
    FUZZ_CHECK(changed == (after != text), where);
    FUZZ_CHECK(!document.KeepSectionLast(section) && document.Text() == after, where);
    FUZZ_CHECK(!after.empty() && (after.back() == '\n' || after.back() == '\r'), where);

    std::vector<ProfileModel::Section> expected;
    ProfileModel::Section kept {std::string(section), {}};
    const ProfileModel before(text);
    for (const ProfileModel::Section& read : before.Sections()) {
        if (ProfileModel::Same(read.name, section))
            kept.keys.insert(kept.keys.end(), read.keys.begin(), read.keys.end());
        else
            expected.push_back(read);
    }
    const std::vector<ProfileModel::Section> actual = ProfileModel(after).Sections();
    FUZZ_CHECK(!actual.empty() && ProfileModel::Same(actual.back().name, section), where);
    kept.name = actual.back().name;
    expected.push_back(kept);
    FUZZ_CHECK(actual == expected, where);
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
    ProfileModel model(text);
    CheckReading(document, model, section, key, context);
    if (section.find_first_of("\r\n") == std::string_view::npos && !section.empty() &&
        ProfileModel::Trim(section) == section && HeaderKeepsName(section))
        CheckKeepSectionLast(text, section, context);
    if (!Writable(section, key, value))
        return 0;
    const auto before = model.Raw(section, key);
    const bool changed = document.Set(section, key, value);
    const std::string after = document.Text();
    FUZZ_CHECK(changed == (before != std::optional<std::string>(value)),
               context() + "\nSet said " + std::to_string(changed) + "; before " + Show(before));
    if (!changed) {
        FUZZ_CHECK_TEXT(after, text, context());
        return 0;
    }
    // The text as the profile functions would leave it after the same write.
    model.Write(section, key, value);
    const auto where = [&] { return context() + "\nafter " + fuzz::Printable(after); };
    FUZZ_CHECK(ProfileModel(after) == model, where);
    FUZZ_CHECK(document.Set(section, key, value) == false, where);

    // One line replaced, one inserted, or a section and its key added at
    // the end; every other line keeps its bytes.
    const std::vector<std::string> oldLines = Lines(text);
    const std::vector<std::string> newLines = Lines(after);
    if (newLines.size() == oldLines.size()) {
        std::size_t differing = 0;
        for (std::size_t i = 0; i < oldLines.size(); ++i)
            differing += oldLines[i] != newLines[i];
        FUZZ_CHECK(differing == 1, where);
    } else if (newLines.size() == oldLines.size() + 1) {
        std::size_t skipped = 0;
        while (skipped < oldLines.size() && oldLines[skipped] == newLines[skipped])
            ++skipped;
        for (std::size_t i = skipped; i < oldLines.size(); ++i)
            FUZZ_CHECK(oldLines[i] == newLines[i + 1], where);
    } else {
        FUZZ_CHECK(newLines.size() == oldLines.size() + 2, where);
        for (std::size_t i = 0; i < oldLines.size(); ++i)
            FUZZ_CHECK(oldLines[i] == newLines[i], where);
        FUZZ_CHECK(!before.has_value(), context());
    }
    return 0;
}
