// The module's line model held against the system's profile functions
// (under Wine, the platform the module is tested on): texts of every line
// end mix and bracket form, in ANSI and with each byte-order mark, read by
// both and written key by key by both. The plain model of the profile
// reader (support/ProfileModel.h), which the profile fuzz target holds the
// line model against, is held against the functions here too.
#include "profile/ProfileDocument.h"
#include "profile/ProfileText.h"
#include "support/MarkedText.h"
#include "support/ProfileModel.h"
#include "support/TempFolder.h"
#include "text/GbkConverter.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

using profile::ProfileDocument;
using testing_support::ProfileModel;

namespace {

// What the profile functions read from a file, asked directly.
struct SystemProfile {
    std::string file;

    std::vector<std::string> List(DWORD (*read)(char*, DWORD, const std::string&, const std::string&),
                                  const std::string& section = {}) const
    {
        std::vector<char> buffer(1 << 16);
        const DWORD length = read(buffer.data(), static_cast<DWORD>(buffer.size()), section, file);
        std::vector<std::string> items;
        for (DWORD at = 0; at < length && buffer[at] != '\0';) {
            items.emplace_back(buffer.data() + at);
            at += static_cast<DWORD>(items.back().size()) + 1;
        }
        return items;
    }
    std::vector<std::string> Names() const
    {
        return List([](char* buffer, DWORD size, const std::string&, const std::string& file) {
            return GetPrivateProfileSectionNamesA(buffer, size, file.c_str());
        });
    }
    std::vector<std::string> Lines(const std::string& section) const
    {
        return List(
            [](char* buffer, DWORD size, const std::string& name, const std::string& file) {
                return GetPrivateProfileSectionA(name.c_str(), buffer, size, file.c_str());
            },
            section);
    }
    std::optional<std::string> Get(const std::string& section, const std::string& key) const
    {
        char buffer[4096];
        const DWORD length =
            GetPrivateProfileStringA(section.c_str(), key.c_str(), "\x01", buffer, sizeof buffer, file.c_str());
        const std::string value(buffer, length);
        return value == "\x01" ? std::nullopt : std::optional<std::string>(value);
    }
    void Write(const std::string& section, const std::string& key, const std::string& value) const
    {
        ASSERT_TRUE(WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str()));
    }
};

const std::vector<std::string> kSections = {"s", "S", " s ", "t", "a]b", "c", "d", "", "s\x81]", "中"};
const std::vector<std::string> kKeys = {"k", "K", "m", "q", "flag", ";c", "", "[c", "x", "中"};

// Texts of lines built from pieces that the profile reader treats each in
// its own way, joined by every kind of line end.
std::vector<std::string> Texts()
{
    const char* const pieces[] = {"[s]",  "[ s ]", " [S] x", "[t]",     "[a]b]", "[c",    "[]",         "[s\x81]]",
                                  "[中]", "k=1",   " k = 2 ", "K=3",    "=v",    "flag",  ";c=1",       "k==4",
                                  "q=\"x y\"", "m=5", "中=文", "x='y'", "",     "   ",   "\t\x1a",     "k"};
    const char* const ends[] = {"\r\n", "\n", "\r", "\r\r\n", "\n\r", "\r\n\r\n", "\n\n", " \r\n"};
    std::mt19937 random(20261209);
    std::vector<std::string> texts = {"", "\r\n", "[s]", "[s]\rk=1\rm=2\r", "[s]\r\nk=1\rm=3\r\n"};
    for (int n = 0; n < 160; ++n) {
        std::string text;
        const int lines = 1 + static_cast<int>(random() % 8);
        for (int i = 0; i < lines; ++i) {
            text += pieces[random() % std::size(pieces)];
            if (i + 1 < lines || random() % 3 != 0)
                text += ends[random() % std::size(ends)];
        }
        texts.push_back(text);
    }
    return texts;
}

std::string Shown(const std::string& text)
{
    std::string shown;
    for (unsigned char c : text) {
        char hex[8];
        std::snprintf(hex, sizeof hex, c < 0x20 || c >= 0x7F ? "\\x%02X" : "%c", c);
        shown += hex;
    }
    return shown;
}

// Everything the functions read from a file, for the names and keys asked,
// a line each.
std::vector<std::string> ReadBySystem(const SystemProfile& system)
{
    std::vector<std::string> reading;
    std::string names = "names:";
    for (const std::string& name : system.Names())
        names += " [" + name + "]";
    reading.push_back(names);
    for (const std::string& section : kSections) {
        std::string lines = "[" + section + "] lines:";
        for (const std::string& line : system.Lines(section))
            lines += " " + line;
        reading.push_back(lines);
        for (const std::string& key : kKeys)
            reading.push_back("[" + section + "] " + key + " = " + system.Get(section, key).value_or("(none)"));
    }
    return reading;
}

} // namespace

TEST(ProfileAgreement, TheLineModelAndTheReaderModelReadWhatTheProfileFunctionsRead)
{
    testing_support::TempFolder folder("profile");
    const SystemProfile system {folder.Path() + "agree.ini"};
    const char* const marks[] = {"", testing_support::kUtf8Mark, testing_support::kUtf16LeMark,
                                 testing_support::kUtf16BeMark};
    int compared = 0;
    for (const std::string& text : Texts()) {
        for (const std::string mark : marks) {
            if (!mark.empty() && compared % 5 != 0 && text.size() > 5) {
                ++compared;
                continue;  // every encoding on a fifth of the texts
            }
            ++compared;
            testing_support::WriteBytes(system.file, testing_support::MarkedText(text, mark));
            const ProfileDocument document(profile::ProfileTextAsGbk(testing_support::MarkedText(text, mark), text::SystemGbkConverter()));
            const ProfileModel model(text);
            const std::string where = "text " + Shown(text) + " mark " + Shown(mark);
            const std::vector<std::string> names = system.Names();
            ASSERT_EQ(model.Names(), names) << where;
            // The document names each section once, as first written.
            std::vector<std::string> once;
            for (const std::string& name : names) {
                bool seen = false;
                for (const std::string& earlier : once)
                    seen = seen || ProfileModel::Same(earlier, name);
                if (!seen)
                    once.push_back(name);
            }
            ASSERT_EQ(document.SectionNames(), once) << where;
            for (const std::string& section : kSections) {
                const std::vector<std::string> lines = system.Lines(section);
                ASSERT_EQ(model.Listing(section), lines) << where << " section " << Shown(section);
                ASSERT_EQ(document.SectionLines(section), lines) << where << " section " << Shown(section);
                for (const std::string& key : kKeys) {
                    const std::optional<std::string> value = system.Get(section, key);
                    ASSERT_EQ(model.Get(section, key), value) << where << " [" << Shown(section) << "] " << Shown(key);
                    ASSERT_EQ(document.Value(section, key), value) << where << " [" << Shown(section) << "] " << Shown(key);
                }
            }
        }
    }
}

TEST(ProfileAgreement, KeysWrittenByTheLineModelReadAsKeysWrittenByTheProfileFunctions)
{
    testing_support::TempFolder folder("profile");
    const SystemProfile bySystem {folder.Path() + "system.ini"};
    const SystemProfile byDocument {folder.Path() + "document.ini"};
    const struct {
        const char* section;
        const char* key;
        const char* value;
    } writes[] = {{"s", "k", "9"}, {"S", "new", "1"}, {"t", "m", "7"}, {"fresh", "x", "1"},
                  {"s", "", "w"},  {"s", ";c", "2"}, {" s ", "flag", "8"}, {"中", "中", "值"}};
    for (const std::string& text : Texts()) {
        // The profile functions write a section without a name without its
        // header, so its keys join those before the first section: after
        // any write of theirs such a text reads otherwise than before.
        if (text.find("[]") != std::string::npos)
            continue;
        testing_support::WriteBytes(bySystem.file, text);
        ProfileDocument document(text);
        for (const auto& write : writes) {
            bySystem.Write(write.section, write.key, write.value);
            document.Set(write.section, write.key, write.value);
        }
        testing_support::WriteBytes(byDocument.file, document.Text());
        const std::vector<std::string> expected = ReadBySystem(bySystem);
        const std::vector<std::string> actual = ReadBySystem(byDocument);
        for (std::size_t i = 0; i < expected.size() && i < actual.size(); ++i)
            ASSERT_EQ(actual[i], expected[i]) << "text " << Shown(text) << "\nwritten " << Shown(document.Text());
    }
}

TEST(ProfileAgreement, AFileTheProfileFunctionsWroteInAnotherEncodingReadsAsTheyReadIt)
{
    // What the merge's check reads back after the profile functions wrote a
    // file that has a byte-order mark.
    testing_support::TempFolder folder("profile");
    const SystemProfile system {folder.Path() + "marked.ini"};
    int n = 0;
    for (const std::string& text : Texts()) {
        const std::string mark = std::vector<std::string> {testing_support::kUtf8Mark, testing_support::kUtf16LeMark,
                                                            testing_support::kUtf16BeMark}[n++ % 3];
        testing_support::WriteBytes(system.file, testing_support::MarkedText(text, mark));
        system.Write("s", "k", "9");
        system.Write("new", "x", "1");
        const ProfileDocument document(
            profile::ProfileTextAsGbk(testing_support::ReadBytes(system.file), text::SystemGbkConverter()));
        ASSERT_EQ(document.SectionLines("s"), system.Lines("s")) << "text " << Shown(text) << " mark " << Shown(mark);
        ASSERT_EQ(document.SectionLines("new"), system.Lines("new")) << "text " << Shown(text);
        ASSERT_EQ(document.Value("s", "k"), "9") << "text " << Shown(text);
    }
}
