#include "startup/actions/ActionIniMerge.h"
#include "profile/PrivateProfile.h"

#include "support/CallFaults.h"
#include "support/FullDiskStandIns.h"
#include "support/ImportPatch.h"
#include "support/MarkedText.h"
#include "support/TempFolder.h"

#include "util/FileUtil.h"

#include "sharedrt/RtError.h"

#include "sharedrt/UniqueHandle.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <iterator>
#include <random>

using testing_support::PathExists;
using testing_support::ReadBytes;
using testing_support::TempFolder;

TEST(ActionIniMerge, SourceValuesWinAndTargetOnlyKeysStay)
{
    const TempFolder folder("action");
    const std::string source = folder.Write("sub-action.ini",
                                            "[FUNC]\r\nk=2\r\nurl=http://x/?a=1&b=2\r\n"
                                            "[网上抄税]\r\n动作=打开\r\n[EMPTY]\r\n");
    const std::string target = folder.Write("host-action.ini", "[FUNC]\r\nk=1\r\nm=3\r\n[HOST]\r\nh=1\r\n");
    startup::MergeActionIniFiles(source, target);

    EXPECT_EQ(profile::ReadIniString(target, "FUNC", "k", "?"), "2");
    EXPECT_EQ(profile::ReadIniString(target, "FUNC", "m", "?"), "3");
    EXPECT_EQ(profile::ReadIniString(target, "FUNC", "url", "?"), "http://x/?a=1&b=2");
    EXPECT_EQ(profile::ReadIniString(target, "网上抄税", "动作", "?"), "打开");
    EXPECT_EQ(profile::ReadIniString(target, "HOST", "h", "?"), "1");
    const auto sections = profile::ReadIniSectionNames(target);
    EXPECT_EQ(std::count(sections.begin(), sections.end(), "EMPTY"), 0);  // a section without keys adds nothing

    // Running it again changes nothing; the source is never changed.
    const std::string merged = ReadBytes(target);
    const std::string sourceBytes = ReadBytes(source);
    startup::MergeActionIniFiles(source, target);
    EXPECT_EQ(ReadBytes(target), merged);
    EXPECT_EQ(ReadBytes(source), sourceBytes);
}

TEST(ActionIniMerge, MissingSourceLeavesTheTargetUncreated)
{
    const TempFolder folder("action");
    startup::MergeActionIniFiles(folder.Path() + "none.ini", folder.Path() + "target.ini");
    EXPECT_FALSE(PathExists(folder.Path() + "target.ini"));
}

TEST(ActionIniMerge, LargeSectionsAreReadWhole)
{
    const TempFolder folder("action");
    std::string text = "[BIG]\r\n";
    for (int i = 0; i < 1500; ++i)
        text += "function_key_" + std::to_string(i) + "=value of function action number " + std::to_string(i) + "\r\n";
    const std::string source = folder.Write("action.ini", text);
    const std::string target = folder.Path() + "host.ini";
    startup::MergeActionIniFiles(source, target);
    EXPECT_EQ(profile::ReadIniSectionLines(target, "BIG").size(), 1500u);
    EXPECT_EQ(profile::ReadIniString(target, "BIG", "function_key_1499", ""), "value of function action number 1499");
}

TEST(ActionIniMerge, UnwritableTargetRaisesAfterTheFirstFailure)
{
    const TempFolder folder("action");
    const std::string source = folder.Write("action.ini", "[A]\r\nx=1\r\n");
    const std::string target = folder.Make("target-is-a-directory.ini");
    EXPECT_THROW(startup::MergeActionIniFiles(source, target.substr(0, target.size() - 1)), rt::IoError);
}

TEST(ActionIniMerge, LaterLineOfARepeatedKeyWins)
{
    const TempFolder folder("action");
    const std::string source = folder.Write("action.ini", "[A]\r\nk=1\r\nk=2\r\n");
    const std::string target = folder.Write("host.ini", "[A]\r\nk=2\r\n");
    startup::MergeActionIniFiles(source, target);
    EXPECT_EQ(profile::ReadIniString(target, "A", "k", "?"), "2");
}

TEST(ActionIniMerge, UnreadableSourceRaisesAndLeavesTheTargetAlone)
{
    const TempFolder folder("action");
    const std::string source = folder.Write("action.ini", "[A]\r\nx=1\r\n");
    const std::string target = folder.Write("host.ini", "[A]\r\nx=0\r\n");
    // Another program holds the source without sharing reading: its
    // sections cannot be read, which is not the same as having none.
    rt::unique_hfile holder(CreateFileA(source.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    EXPECT_THROW(startup::MergeActionIniFiles(source, target), rt::IoError);
    EXPECT_EQ(ReadBytes(target), "[A]\r\nx=0\r\n");
}

TEST(ActionIniMerge, HostsFileIsReplacedWholeOrLeftAsItWas)
{
    const TempFolder folder("action");
    const std::string source = folder.Write("action.ini", "[A]\r\nx=1\r\n[B]\r\ny=2\r\n");
    const std::string hostText = "; the host's actions\r\n[A]\r\nx=0\r\nkeep=1\r\n";
    const std::string target = folder.Write("host.ini", hostText);

    // The merged file cannot take the host's file's place (another program
    // holds it open and does not let go): the merge raises after waiting,
    // and the host's file has not changed by one byte.
    {
        const rt::unique_hfile holder(CreateFileA(target.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                                  nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(holder);
        EXPECT_THROW(startup::MergeActionIniFiles(source, target), rt::IoError);
    }
    EXPECT_EQ(ReadBytes(target), hostText);
    EXPECT_TRUE(testing_support::ReplacementsBeside(target).empty());

    // Once it can, the merged file takes the old one's place whole, its
    // comment and order kept; nothing is left beside it.
    startup::MergeActionIniFiles(source, target);
    EXPECT_EQ(ReadBytes(target), "; the host's actions\r\n[A]\r\nx=1\r\nkeep=1\r\n[B]\r\ny=2\r\n");
    EXPECT_TRUE(testing_support::ReplacementsBeside(target).empty());
}

TEST(ActionIniMerge, HostsFileWithAByteOrderMarkKeepsItsEncoding)
{
    const TempFolder folder("action");
    const std::string source = folder.Write("action.ini", "[A]\r\nx=1\r\n");
    const std::string target = folder.Write("host.ini", "\xEF\xBB\xBF[A]\r\nkeep=1\r\n");
    startup::MergeActionIniFiles(source, target);
    EXPECT_EQ(profile::ReadIniString(target, "A", "x", "?"), "1");
    EXPECT_EQ(profile::ReadIniString(target, "A", "keep", "?"), "1");
    EXPECT_EQ(ReadBytes(target).rfind("\xEF\xBB\xBF", 0), 0u);
    EXPECT_TRUE(testing_support::ReplacementsBeside(target).empty());
}

namespace {

// Profile text as people write it: sections of a small pool (so that source
// and target share some, in other letter cases, with blanks inside the
// brackets), keys in mixed case and repeated, blanks around '=', GBK text,
// comments, blank lines and lines without '='; no key with an empty name,
// whose second write the system's functions sometimes leave undone (the
// table below has one);
// every line ended by CR LF, or, in a file of mixed ends, by any run of CR
// and LF that an editor may leave.
std::string RandomProfile(std::mt19937& random)
{
    static const char* const kSections[] = {"FUNC", "func", " FUNC ", "Host", "\xcd\xf8\xc9\xcf\xb3\xad\xcb\xb0" /* 网上抄税 */,
                                            "WSCBS004", "wscbs004", "Empty"};
    static const char* const kKeys[] = {"Action", "action", "ACTION", "Url", "url", "k1", "K1",
                                        "\xb6\xaf\xd7\xf7" /* 动作 */, "Title", "x"};
    static const char* const kValues[] = {"1", "open", "http://x/?a=1&b=2", "\xb4\xf2\xbf\xaa" /* 打开 */, "",
                                          "a=b", " spaced ", "C:\\Tax\\wscbs.exe"};
    static const char* const kEnds[] = {"\r\n", "\n", "\r", "\r\r\n", "\n\r"};
    auto pick = [&](const auto& pool) { return pool[random() % std::size(pool)]; };
    const bool mixed = random() % 2 == 0;
    const auto end = [&] { return std::string(mixed ? pick(kEnds) : "\r\n"); };
    std::string text;
    const int sections = 1 + static_cast<int>(random() % 5);
    for (int s = 0; s < sections; ++s) {
        text += std::string(random() % 4 == 0 ? " [" : "[") + pick(kSections) + "]" + end();
        const int lines = static_cast<int>(random() % 6);
        for (int l = 0; l < lines; ++l) {
            switch (random() % 8) {
            case 0: text += "; \xd7\xa2\xca\xcd" + end(); break;  // ; 注释
            case 1: text += end(); break;
            case 2: text += std::string(pick(kKeys)) + end(); break;  // no '='
            case 3: text += std::string("  ") + pick(kKeys) + " =  " + pick(kValues) + end(); break;
            default: text += std::string(pick(kKeys)) + "=" + pick(kValues) + end(); break;
            }
        }
    }
    return text;
}

// Every key of every section as the system's profile reader answers it.
std::vector<std::string> ReadBackKeyByKey(const std::string& file)
{
    std::vector<std::string> answers;
    for (const std::string& section : profile::ReadIniSectionNames(file))
        for (const std::string& line : profile::ReadIniSectionLines(file, section)) {
            const std::string key = line.substr(0, line.find('='));
            answers.push_back("[" + section + "] " + key + " = " +
                              profile::ReadIniString(file, section, key, "\x01missing"));
        }
    return answers;
}

} // namespace

TEST(ActionIniMerge, TheOnePassMergeReadsBackAsTheKeyByKeyMergeOfTheSystem)
{
    std::mt19937 random(20261208);
    const TempFolder folder("merge-oracle");
    const char* const marks[] = {"", "", "", testing_support::kUtf8Mark, testing_support::kUtf16LeMark,
                                 testing_support::kUtf16BeMark};
    for (int round = 0; round < 200; ++round) {
        const std::string sourceText = RandomProfile(random);
        const std::string targetText = testing_support::MarkedText(RandomProfile(random), marks[random() % 6]);
        SCOPED_TRACE("round " + std::to_string(round) + "\nsource:\n" + sourceText + "target:\n" + targetText);
        const std::string source = folder.Write("source" + std::to_string(round) + ".ini", sourceText);
        const std::string merged = folder.Write("merged" + std::to_string(round) + ".ini", targetText);
        const std::string oracle = folder.Write("oracle" + std::to_string(round) + ".ini", targetText);

        ASSERT_NO_THROW(startup::MergeActionIniFiles(source, merged));
        // The system's own merge: every key of the source written one by one.
        for (const std::string& section : profile::ReadIniSectionNames(source))
            for (const std::string& line : profile::ReadIniSectionLines(source, section)) {
                const std::size_t equals = line.find('=');
                const std::string key = line.substr(0, equals);
                WritePrivateProfileStringA(section.c_str(), key.c_str(),
                                           equals == std::string::npos ? "" : line.c_str() + equals + 1,
                                           oracle.c_str());
            }
        ASSERT_EQ(ReadBackKeyByKey(merged), ReadBackKeyByKey(oracle));
    }
}

// The merges that went wrong when the module's lines ended only at LF.
TEST(ActionIniMerge, MergesKeyByKeyWhateverTheLineEndsAndBrackets)
{
    struct Case {
        const char* source;
        std::string target;
        std::vector<std::string> readBack;  // of the merged target, key by key
    };
    const std::string marked = testing_support::MarkedText("[s]\r\nk=1\rm=3\r\n", testing_support::kUtf16LeMark);
    const Case cases[] = {
        {"[s]\r\nk=2\r\n", "[s]\r\nk=1\rm=3\r\n", {"[s] k = 2", "[s] m = 3"}},  // m=3 was lost
        {"[s]\r\nn=2\r\n", "[s]\rk=1\rm=3\r", {"[s] k = 1", "[s] m = 3", "[s] n = 2"}},
        {"[s]\rk=2\rn=4\r", "[s]\r\nk=1\r\n", {"[s] k = 2", "[s] n = 4"}},
        {"[s]\r\nn=2\r\n", "[ s ]\r\nk=1\r\n", {"[s] k = 1", "[s] n = 2"}},
        {"[s]\r\n=v\r\n", "[s]\r\nk=1\r\n", {"[s] k = 1", "[s]  = v"}},
        {"[s]\r\n=\r\n=v\r\n", testing_support::MarkedText("[s]\r\nk=1\r\n", testing_support::kUtf8Mark),
         {"[s] k = 1", "[s]  = v"}},
        {"[s]\r\nk=2\r\n", marked, {"[s] k = 2", "[s] m = 3"}},
        {"[ s ]\r\nn=2\r\n", testing_support::MarkedText("[ s ]\r\nk=1\r\n", testing_support::kUtf8Mark),
         {"[s] k = 1", "[s] n = 2"}},
    };
    const TempFolder folder("action");
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("source ") + c.source + " target " + c.target);
        const std::string source = folder.Write("source.ini", c.source);
        const std::string target = folder.Write("target.ini", c.target);
        ASSERT_NO_THROW(startup::MergeActionIniFiles(source, target));
        EXPECT_EQ(ReadBackKeyByKey(target), c.readBack);
    }
}

TEST(ActionIniMerge, SourceInUtf16IsMergedAsGbkText)
{
    const TempFolder folder("action");
    // "[网上抄税]\r\n动作=打开\r\n" in UTF-16 with its byte-order mark.
    const std::string source = folder.Write(
        "action.ini", std::string("\xFF\xFE[\0\x51\x7F\x0A\x4E\x84\x62\x0E\x7A]\0\r\0\n\0"
                                  "\xA8\x52\x5C\x4F=\0\x53\x62\x00\x5F\r\0\n\0",
                                  32));
    const std::string target = folder.Write("host.ini", "[HOST]\r\nh=1\r\n");
    startup::MergeActionIniFiles(source, target);
    EXPECT_EQ(ReadBytes(target), "[HOST]\r\nh=1\r\n[网上抄税]\r\n动作=打开\r\n");
}

TEST(ActionIniMerge, HostsFileWithAByteOrderMarkIsNotReplacedByAProfileWriteThatLostItsText)
{
    const TempFolder folder("action");
    const std::string source = folder.Write("action.ini", "[A]\r\nx=1\r\n");
    const std::string hostText = "\xEF\xBB\xBF[A]\r\nkeep=1\r\n";
    const std::string target = folder.Write("host.ini", hostText);
    {
        const testing_support::ImportPatch fullDisk(GetModuleHandleA(nullptr), "kernel32.dll",
                                                    "WritePrivateProfileStringA",
                                                    reinterpret_cast<void*>(&testing_support::ProfileWriteOnAFullDisk));
        EXPECT_THROW(startup::MergeActionIniFiles(source, target), rt::IoError);
    }
    EXPECT_EQ(ReadBytes(target), hostText);
    EXPECT_TRUE(testing_support::ReplacementsBeside(target).empty());
}

TEST(ActionIniMerge, NoFailingCallLeavesTheHostsFileHalfMerged)
{
    const TempFolder folder("action");
    const std::string source = folder.Write("action.ini", "[A]\r\nk=1\r\nj=2\r\n[B]\r\nm=3\r\n[C]\r\nn=4\r\n");
    const std::string hostText = "[A]\r\nk=0\r\n[HOST]\r\nh=1\r\n";
    const std::string target = folder.Write("host.ini", hostText);
    startup::MergeActionIniFiles(source, target);
    const std::string merged = ReadBytes(target);
    testing_support::WriteBytes(target, hostText);

    // Each call of the merge fails in turn: the host's file is either as it
    // was, with the failure raised, or merged whole.
    bool returned = false;
    int runs = 0;
    faults::ForEachFault(
        [&] {
            returned = false;
            try {
                startup::MergeActionIniFiles(source, target);
                returned = true;
            } catch (const rt::IoError&) {
            }
        },
        [&](std::uint64_t n, const faults::CountedCall& call) {
            ++runs;
            const std::string now = ReadBytes(target);
            const std::string where = std::to_string(n) + ": " + faults::Hooks()[call.hook].function;
            EXPECT_EQ(now, returned ? merged : hostText) << "call " << where;
            testing_support::WriteBytes(target, hostText);
        });
    EXPECT_GT(runs, 5);
}
