#include "ActionSection.h"
#include "CatalogueSection.h"
#include "CheckReport.h"
#include "UpgradeSection.h"
#include "VersionSection.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

using testing::HasSubstr;
using testing::Not;

namespace {

check::CheckedInstallation Installation()
{
    check::CheckedInstallation installation;
    installation.folder = "C:\\inst\\";
    installation.subAppCode = "WSCBS";
    installation.subAppFolder = "C:\\inst\\WSCBS\\";
    installation.version = "2.0.1";
    installation.zoneCode = "1330106";
    return installation;
}

std::unique_ptr<check::CheckSection> Catalogue(std::string bytes)
{
    startup::CatalogueFile file;
    file.path = "C:\\inst\\WSCBS\\errmsg.xml";
    file.read = true;
    file.bytes = std::move(bytes);
    return check::MakeCatalogueSection(startup::PlanErrorCatalogue(file, text::SystemGbkConverter()), file.bytes);
}

// `text` (ASCII) as UTF-16 with a byte-order mark.
std::string Utf16(std::string_view text, bool littleEndian)
{
    std::string bytes = littleEndian ? std::string("\xFF\xFE") : std::string("\xFE\xFF");
    for (char c : text)
        bytes += littleEndian ? std::string{c, '\0'} : std::string{'\0', c};
    return bytes;
}

check::UpgradeCheck Upgrade(std::string_view text)
{
    check::UpgradeCheck upgrade;
    upgrade.file = "C:\\inst\\WSCBS\\dataupdate.ini";
    upgrade.state = startup::UpgradeFile::State::Read;
    upgrade.plan = startup::PlanUpgrade(upgrade.file, text);
    upgrade.trial.tried = true;
    return upgrade;
}

std::string Text(const check::Sections& sections)
{
    std::ostringstream out;
    check::WriteTextReport(out, Installation(), sections);
    return out.str();
}

} // namespace

TEST(CheckReport, ACleanInstallationEndsCleanWithStatusZero)
{
    check::Sections sections;
    sections.push_back(Catalogue("<?xml version=\"1.0\" encoding=\"GBK\"?><L><E><CODE>1</CODE><MSG>一</MSG></E></L>"));
    auto upgrade = Upgrade("[MSACCESS]\r\na=CREATE TABLE t (x Integer)\r\n");
    upgrade.trial.outcomes = {std::string()};
    sections.push_back(check::MakeUpgradeSection(std::move(upgrade)));
    EXPECT_EQ(check::ExitStatus(sections), check::kClean);
    const std::string text = Text(sections);
    EXPECT_THAT(text, HasSubstr("loads 1 entries, read as GBK (declared GBK)"));
    EXPECT_THAT(text, HasSubstr("line 2  runs  a=CREATE TABLE t (x Integer)"));
    EXPECT_THAT(text, HasSubstr("the file is deleted after the run"));
    EXPECT_THAT(text, HasSubstr("== Problems: 0\nThe installation is clean.\n"));
    const std::string json = check::JsonReport(Installation(), sections);
    EXPECT_THAT(json, HasSubstr("\"fileDeleted\": true"));
    EXPECT_THAT(json, HasSubstr("\"exitStatus\": 0"));
}

TEST(CheckReport, EveryProblemIsListedWithFileAndLineAndTheStatusIsOne)
{
    check::Sections sections;
    sections.push_back(Catalogue("<L>\n<E><CODE>1</CODE><MSG>a</MSG></E>\n<E><CODE>1</CODE><MSG>b</MSG></E>\n</L>"));
    auto upgrade = Upgrade("[MSACCESS]\r\na=UPDATE t SET x=1\r\nb=DELETE FROM t\r\n");
    upgrade.trial.outcomes = {std::string("no such table: t"), std::string()};
    sections.push_back(check::MakeUpgradeSection(std::move(upgrade)));
    EXPECT_EQ(check::ExitStatus(sections), check::kProblemsFound);
    const std::string text = Text(sections);
    EXPECT_THAT(text, HasSubstr("== Problems: 2\n"));
    EXPECT_THAT(text, HasSubstr("  C:\\inst\\WSCBS\\errmsg.xml:3: code 1 repeats the entry of line 2"));
    EXPECT_THAT(text, HasSubstr("  C:\\inst\\WSCBS\\dataupdate.ini:2: the host's database refuses \"a\": no such table: t"));
    EXPECT_THAT(text, HasSubstr("line 2  fails  a="));
    EXPECT_THAT(text, HasSubstr("the file stays"));
    const std::string json = check::JsonReport(Installation(), sections);
    EXPECT_THAT(json, HasSubstr("\"file\": \"C:\\\\inst\\\\WSCBS\\\\errmsg.xml\",\n"));
    EXPECT_THAT(json, HasSubstr("\"fileDeleted\": false"));
    EXPECT_THAT(json, HasSubstr("\"problemCount\": 2"));
}

TEST(CheckReport, StatementsThatCannotBeTriedAreAProblemOnlyWhenSomeAreToRun)
{
    const std::string done = startup::StatementHash("DELETE FROM t");
    auto allDone = Upgrade("[MSACCESS]\r\na=DELETE FROM t\r\n[MSACCESS.done]\r\na=" + done + "\r\n");
    allDone.trial = {};
    allDone.trial.failure = "cannot open";
    EXPECT_TRUE(check::MakeUpgradeSection(std::move(allDone))->Problems().empty());

    auto pending = Upgrade("[MSACCESS]\r\na=DELETE FROM t\r\n");
    pending.databaseFile = "C:\\inst\\WSCBS\\wscbs.db";
    pending.trial = {};
    pending.trial.failure = "cannot open";
    const auto problems = check::MakeUpgradeSection(std::move(pending))->Problems();
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].file, "C:\\inst\\WSCBS\\wscbs.db");
}

TEST(CheckReport, TheActionSectionListsOnlyWhatChanges)
{
    const profile::ProfileDocument source("[F]\r\nk=2\r\nsame=1\r\nnew=3\r\n");
    check::Sections sections;
    sections.push_back(check::MakeActionSection(startup::PlanActionMerge("S", source, "T", "[F]\r\nk=1\r\nsame=1\r\n")));
    const std::string text = Text(sections);
    EXPECT_THAT(text, HasSubstr("line 2  change  [F] k=2 (was 1)\n"));
    EXPECT_THAT(text, HasSubstr("line 4  add  [F] new=3\n"));
    EXPECT_THAT(text, Not(HasSubstr("same=1")));
    EXPECT_THAT(text, HasSubstr("1 of 3 keys already stand so"));
    EXPECT_EQ(check::ExitStatus(sections), check::kClean);

    check::Sections failed;
    startup::ActionMergePlan nothing;
    nothing.source = "S";
    failed.push_back(check::MakeActionSection(nothing, "cannot read"));
    EXPECT_EQ(check::ExitStatus(failed), check::kProblemsFound);
    EXPECT_THAT(Text(failed), HasSubstr("  S: the merge fails: cannot read"));
}

TEST(CheckReport, AByteOrderMarkAgainstTheDeclarationIsNamedAsTheCauseOnOneLine)
{
    const std::string document = "<?xml version=\"1.0\" encoding=\"GB2312\"?>\r\n<L><E><CODE>1</CODE><MSG>a</MSG></E></L>\r\n";
    for (const bool littleEndian : {true, false}) {
        check::Sections sections;
        sections.push_back(Catalogue(Utf16(document, littleEndian)));
        const std::string text = Text(sections);
        const std::string problems = text.substr(text.find("== Problems"));
        EXPECT_THAT(problems, HasSubstr("errmsg.xml:1: the file starts with a UTF-16 byte-order mark but declares "
                                        "encoding \"GB2312\""));
        EXPECT_THAT(problems, HasSubstr("save it as GB2312 without a byte-order mark"));
        // Every problem on a line of its own: the module's message keeps
        // its two lines joined.
        EXPECT_THAT(problems, Not(HasSubstr("\r")));
        EXPECT_THAT(problems, HasSubstr("[0002] "));
    }
    // Declared as UTF-16, or without a byte-order mark: no such cause.
    for (const std::string& bytes : {Utf16("<?xml version=\"1.0\" encoding=\"UTF-16\"?><L/>", true),
                                     std::string("<?xml version=\"1.0\" encoding=\"GB2312\"?>")}) {
        check::Sections sections;
        sections.push_back(Catalogue(bytes));
        EXPECT_THAT(Text(sections), Not(HasSubstr("byte-order mark but")));
    }
}

TEST(CheckReport, TheHostsRecordVersionIsCheckedAgainstTheModulesOwn)
{
    struct Case {
        const char* moduleVersion;
        const char* profileVersion;
        const char* problem;  // empty: none
    };
    for (const Case& c : {Case{"2.0.1", "", ""}, Case{"2.0.1", "2.0.1", ""},
                          Case{"2.0.1", "2.0.2", "Version=2.0.2 of [SubApp WSCBS] differs from 2.0.1, the version of "
                                                 "C:\\inst\\host\\wscbs.dll"},
                          Case{"", "", "the host's record of WSCBS has no version"}}) {
        SCOPED_TRACE(std::string(c.moduleVersion) + "/" + c.profileVersion);
        check::Sections sections;
        sections.push_back(check::MakeVersionSection(
            {"C:\\inst\\host\\MainFrame.ini", "WSCBS", "C:\\inst\\host\\wscbs.dll", c.moduleVersion, c.profileVersion}));
        const std::string text = Text(sections);
        if (*c.problem == '\0') {
            EXPECT_EQ(check::ExitStatus(sections), check::kClean);
        } else {
            EXPECT_EQ(check::ExitStatus(sections), check::kProblemsFound);
            EXPECT_THAT(text, HasSubstr("  C:\\inst\\host\\MainFrame.ini: " + std::string(c.problem)));
        }
    }
}
