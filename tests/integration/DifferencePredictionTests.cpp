// What the plan of the regional differences predicts is what the real
// module's InitSubApp then does: on generated installations (several zones,
// parameters that replace each other, file and directory copies, a few
// mistakes), the plan is made first, then the module starts, and the
// sub-application's items, the files written and the log lines are compared
// with the prediction. The same start is compared with what wscbs-check
// prints as JSON for the installation.
#include "profile/PrivateProfile.h"
#include "startup/regional/SysDifference.h"
#include "hostmodel/HostModel.h"
#include "hostmodel/ModuleLibApi.h"
#include "shell/HostProfile.h"
#include "shell/SubAppModule.h"
#include "support/ChildProcess.h"
#include "support/JsonReader.h"
#include "support/ModuleLogMark.h"
#include "support/TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <optional>
#include <random>

using hostmodel::Model;
using testing_support::JsonValue;
using testing_support::ParseJson;
using testing_support::ReadBytes;
using testing_support::TempFolder;

namespace {

constexpr const char kZoneCode[] = "1330106";  // the sample company's XZQHDM with "1" in front

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

// The GBK bytes of a UTF-8 text, as the host's items and paths hold them.
std::string Gbk(const std::string& utf8)
{
    if (utf8.empty())
        return {};
    const int wide = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    if (wide <= 0)
        throw std::runtime_error("not UTF-8: " + utf8);
    std::wstring text(static_cast<std::size_t>(wide), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), text.data(), wide);
    const int narrow = WideCharToMultiByte(936, 0, text.data(), wide, nullptr, 0, nullptr, nullptr);
    std::string gbk(static_cast<std::size_t>(narrow), '\0');
    WideCharToMultiByte(936, 0, text.data(), wide, gbk.data(), narrow, nullptr, nullptr);
    return gbk;
}

// Every file under `folder` (ends with "\"), by lower-case path, with its bytes.
void CollectFiles(const std::string& folder, std::map<std::string, std::string>& files)
{
    if (!std::filesystem::exists(folder))
        return;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file())
            files[Lower(entry.path().string())] = ReadBytes(entry.path().string());
    }
}

// A generated difference configuration: a general part and zone
// directories drawn from a fixed list (some match the zone code, some do
// not), each with parameters over a few shared names in varying letter case
// and types, and copies of files and directories into the regional folders.
class GeneratedInstallation {
public:
    GeneratedInstallation(const std::string& difference, const std::string& elsewhere, unsigned seed)
        : difference_(difference), elsewhere_(elsewhere), random_(seed)
    {
    }

    // `mistakes`: one zone names the wrong ZCODE and one item's file is missing.
    void Write(bool mistakes)
    {
        WritePart("", "", nullptr, mistakes);
        std::vector<std::string> zones = {"3", "33", "330-a", "3301", "33010-x", "330106", "34", "4", "3-b"};
        std::shuffle(zones.begin(), zones.end(), random_);
        zones.resize(5 + Pick(4));
        int matching = 0;
        for (const std::string& zone : zones) {
            const std::string prefix = zone.substr(0, zone.find('-'));
            const bool kindDirectory = Pick(3) == 0;
            const std::string folder = zone + (kindDirectory ? "\\GS_Differ" : "");
            if (kindDirectory)  // the zone directory's own file is not read then
                Put(zone + "\\SysDifference.xml", "<SYSDIFFERENCE ZCODE=\"999\"/>");
            // The mistakes go into zones that apply: a wrong ZCODE into the
            // first, a missing file into the second.
            const int order = std::string_view(kZoneCode + 1).starts_with(prefix) ? ++matching : 0;
            WritePart(folder + "\\", zone, mistakes && order == 1 ? "00" : prefix.c_str(), mistakes && order == 2);
        }
    }

private:
    std::size_t Pick(std::size_t count) { return random_() % count; }

    template <std::size_t N>
    const char* PickOf(const char* const (&choices)[N])
    {
        return choices[Pick(N)];
    }

    void Put(const std::string& relative, const std::string& bytes)
    {
        const std::string path = difference_ + relative;
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        testing_support::WriteBytes(path, bytes);
    }

    void WritePart(const std::string& folder, const std::string& tag, const char* zcode, bool missingFile)
    {
        static const char* const kNames[] = {"Alpha", "ALPHA", "alpha", "Beta", "beta", "Gamma", "Delta", "税务机关"};
        static const char* const kTypes[] = {"integer", "Integer", "boolean", "BOOLEAN", "float", "", "string"};
        static const char* const kValues[] = {"12", "12a", "true", "False", "0.5", "-3", "0", " 7", "国税&amp;amp;lt;"};
        std::string text = "<?xml version=\"1.0\" encoding=\"GB2312\"?>\r\n<SYSDIFFERENCE";
        if (zcode != nullptr)
            text += std::string(" ZCODE=\"") + zcode + "\"";
        text += ">\r\n<DIFF-PARAMETERS>\r\n";
        for (std::size_t n = 2 + Pick(4); n > 0; --n) {
            text += std::string("<DIFF-PARAMETER><NAME>") + PickOf(kNames) + "</NAME>";
            const char* type = PickOf(kTypes);
            if (*type)
                text += std::string("<TYPE>") + type + "</TYPE>";
            text += std::string("<VALUE>") + PickOf(kValues) + "</VALUE></DIFF-PARAMETER>\r\n";
        }
        text += "</DIFF-PARAMETERS>\r\n<DIFF-FILES>\r\n";
        const std::string targets[] = {"", "Regional", "Regional\\deep", elsewhere_};
        for (std::size_t n = 1 + Pick(3); n > 0; --n) {
            const std::string target = targets[Pick(4)];
            const std::string name = (target.empty() ? "rg_f" : "f") + std::to_string(Pick(3)) + ".txt";
            text += "<DIFF-FILE><NAME>" + name + "</NAME><TYPE>0</TYPE><TARGETDIR>" + target +
                    "</TARGETDIR></DIFF-FILE>\r\n";
            Put(folder + name, tag + ":" + name);
        }
        if (Pick(2) == 0) {
            text += "<DIFF-FILE><NAME>tree</NAME><TYPE>1</TYPE><TARGETDIR>Regional\\tree</TARGETDIR></DIFF-FILE>\r\n";
            Put(folder + "tree\\t" + std::to_string(Pick(2)) + ".txt", tag + ":tree");
            Put(folder + "tree\\sub\\s.txt", tag + ":sub");
        }
        if (missingFile)
            text += "<DIFF-FILE><NAME>missing.dll</NAME><TYPE>0</TYPE><TARGETDIR/></DIFF-FILE>\r\n";
        Put(folder + "SysDifference.xml", text + "</DIFF-FILES>\r\n</SYSDIFFERENCE>\r\n");
    }

    std::string difference_;
    std::string elsewhere_;
    std::mt19937 random_;
};

class DifferencePredictionTest : public testing::TestWithParam<unsigned> {
protected:
    void SetUp() override
    {
        std::filesystem::copy(testing_support::ExamplesFolder(), installation_,
                              std::filesystem::copy_options::recursive);
        profile_ = shell::ReadHostProfile(installation_);
        subApp_ = installation_ + "WSCBS\\";
        const std::string difference = subApp_ + "AppComs\\difference\\";
        std::filesystem::remove_all(difference);
        const bool mistakes = GetParam() % 2 == 1;
        GeneratedInstallation(difference, elsewhere_.Path(), GetParam()).Write(mistakes);
        // File copies need their target directory; directory copies make theirs.
        if (!mistakes)
            std::filesystem::create_directories(subApp_ + "Regional\\deep");
        logMark_ = testing_support::ModuleLogMark();
    }
    void TearDown() override
    {
        Model().Reset();
        module_.reset();
    }

    startup::DifferencePlan Plan()
    {
        startup::DifferenceSite site;
        site.subAppFolder = subApp_;
        site.version = profile_.subApps[0].version;
        site.vo = &planned_;
        site.decimalSeparator = startup::SystemDecimalSeparator();
        site.readIni = [](const std::string& file, const std::string& section, const std::string& key) {
            return profile::ReadIniString(file, section, key, "");
        };
        return startup::PlanSysDifference(site, startup::SystemDifferenceFiles(), kZoneCode, 0, 1);
    }

    void Start()
    {
        shell::ApplyHostProfile(profile_, Model());
        if (!module_)
            module_.emplace(shell::ExecutableFolder() + "wscbs.dll");
        ASSERT_TRUE(module_->InitSubApp(nullptr, "a=1").succeeded);
    }

    // The files a start may write regional copies to.
    std::map<std::string, std::string> RegionalFiles() const
    {
        std::map<std::string, std::string> files;
        CollectFiles(subApp_ + "Regional\\", files);
        CollectFiles(elsewhere_.Path(), files);
        for (const auto& entry : std::filesystem::directory_iterator(subApp_)) {
            const std::string name = entry.path().filename().string();
            if (entry.is_regular_file() && name.rfind("rg_", 0) == 0)
                files[Lower(entry.path().string())] = ReadBytes(entry.path().string());
        }
        return files;
    }

    // The files the plan says the start writes, with their bytes: the copies
    // in order, a later one replacing an earlier one.
    static std::map<std::string, std::string> PredictedFiles(const startup::DifferencePlan& plan)
    {
        std::map<std::string, std::string> files;
        if (!plan.copiesFiles)
            return files;
        for (const startup::PlannedCopy& copy : plan.copies) {
            if (copy.problem || !copy.expected.empty())  // predicted to fail
                continue;
            if (copy.kind == startup::CopyKind::File) {
                files[Lower(copy.destination)] = ReadBytes(copy.source);
                continue;
            }
            const std::filesystem::path source(copy.source);
            for (const auto& entry : std::filesystem::recursive_directory_iterator(source)) {
                if (entry.is_regular_file())
                    files[Lower((std::filesystem::path(copy.target) / entry.path().lexically_relative(source)).string())] =
                        ReadBytes(entry.path().string());
            }
        }
        return files;
    }

    // Each regional item of the sub-application as "name=type:value".
    static std::vector<std::string> PredictedItems(const startup::DifferencePlan& plan)
    {
        std::vector<std::string> items;
        for (const startup::PlannedParameter* parameter : startup::FinalParameters(plan)) {
            switch (parameter->kind) {
            case startup::ParameterKind::Integer:
                items.push_back(Lower(parameter->name) + "=1:" + std::to_string(parameter->integerValue));
                break;
            case startup::ParameterKind::Boolean:
                items.push_back(Lower(parameter->name) + "=3:" + (parameter->booleanValue ? "1" : "0"));
                break;
            case startup::ParameterKind::Float:
                items.push_back(Lower(parameter->name) + "=2:" + std::to_string(parameter->floatValue));
                break;
            case startup::ParameterKind::Text:
                items.push_back(Lower(parameter->name) + "=0:" + parameter->value);
                break;
            }
        }
        std::sort(items.begin(), items.end());
        return items;
    }

    static std::vector<std::string> ActualItems()
    {
        std::vector<std::string> items;
        const rt::DataVO* vo = Model().SubAppVo("WSCBS");
        for (std::int32_t i = 0; i < vo->Items->Count(); ++i) {
            const auto* item = static_cast<const rt::ParamItem*>(vo->Items->Get(i));
            const std::string name(reinterpret_cast<const char*>(item->Name + 1), item->Name[0]);
            if (name.rfind("Global_", 0) == 0)
                continue;
            std::string value;
            switch (static_cast<rt::ParamType>(item->ValueType)) {
            case rt::ParamType::Integer:
                value = std::to_string(item->Value->IntegerValue);
                break;
            case rt::ParamType::Boolean:
                value = item->Value->BooleanValue != 0 ? "1" : "0";
                break;
            case rt::ParamType::Float:
                value = std::to_string(item->Value->FloatValue);
                break;
            default:
                value = Model().GetString(*vo, name).value_or("?");
                break;
            }
            items.push_back(Lower(name) + "=" + std::to_string(item->ValueType) + ":" + value);
        }
        std::sort(items.begin(), items.end());
        return items;
    }

    // The log lines since the test began that name this installation.
    std::vector<std::string> LogLines() const
    {
        return logMark_.Messages(installation_);
    }

    // wscbs-check's JSON for the installation, and its exit status.
    std::pair<JsonValue, DWORD> CheckJson(const std::string& options = {}) const
    {
        std::string argument = installation_;
        argument.pop_back();  // a "\" before the closing quote would escape it
        const testing_support::ProcessResult run = testing_support::RunProgram(
            "\"" + shell::ExecutableFolder() + "wscbs-check.exe\" --json " + options + " \"" + argument + "\"");
        const std::size_t open = run.output.find('{');
        const std::size_t close = run.output.rfind('}');
        if (open == std::string::npos || close == std::string::npos || close < open)
            throw std::runtime_error("no JSON from wscbs-check: " + run.output);
        return {ParseJson(std::string_view(run.output).substr(open, close - open + 1)), run.exitCode};
    }

    // The items the check says the start stores, each as "name=type:value"
    // like ActualItems: the parameters no later one replaces.
    static std::vector<std::string> CheckedItems(const JsonValue& differences)
    {
        std::vector<std::string> items;
        for (const JsonValue& parameter : differences["parameters"].items) {
            if (!parameter["final"].Bool())
                continue;
            const std::string name = Lower(Gbk(parameter["name"].String()));
            const std::string kind = parameter["kind"].String();
            const JsonValue& stored = parameter["stored"];
            if (kind == "integer")
                items.push_back(name + "=1:" + std::to_string(static_cast<std::int32_t>(stored.Number())));
            else if (kind == "boolean")
                items.push_back(name + "=3:" + (stored.Bool() ? "1" : "0"));
            else if (kind == "float")
                items.push_back(name + "=2:" + std::to_string(stored.Number()));
            else if (kind == "text")
                items.push_back(name + "=0:" + Gbk(stored.String()));
            else
                items.push_back(name + "=?" + kind);
        }
        std::sort(items.begin(), items.end());
        return items;
    }

    // The files the check says the start writes, with the bytes of their
    // sources: a readable copy whose source is there, into a target
    // directory that is there by then (a directory copy makes its own), a
    // later copy replacing an earlier one.
    static std::map<std::string, std::string> CheckedFiles(const JsonValue& differences)
    {
        std::map<std::string, std::string> files;
        if (!differences["copiesFiles"].Bool())
            return files;
        for (const JsonValue& copy : differences["copies"].items) {
            if (!copy["readable"].Bool() || !copy["sourceExists"].Bool())
                continue;
            const std::string source = Gbk(copy["source"].String());
            if (copy["kind"].String() == "file") {
                if (copy["targetExists"].Bool())
                    files[Lower(Gbk(copy["destination"].String()))] = ReadBytes(source);
                continue;
            }
            const std::filesystem::path target(Gbk(copy["target"].String()));
            for (const auto& entry : std::filesystem::recursive_directory_iterator(source)) {
                if (entry.is_regular_file())
                    files[Lower((target / entry.path().lexically_relative(source)).string())] =
                        ReadBytes(entry.path().string());
            }
        }
        return files;
    }

    TempFolder folder_{"predict"};
    TempFolder elsewhere_{"predict-elsewhere"};
    std::string installation_ = folder_.Path() + "installation\\";
    std::string subApp_;
    shell::HostProfile profile_;
    rt::DataVO planned_;  // planning never stores into it
    testing_support::ModuleLogMark logMark_;
    std::optional<shell::SubAppModule> module_;
};

} // namespace

TEST_P(DifferencePredictionTest, TheStartDoesWhatThePlanPredicts)
{
    const startup::DifferencePlan plan = Plan();
    ASSERT_TRUE(plan.copiesFiles);  // a fresh installation: no record yet
    ASSERT_GE(plan.folders.size(), 2u);
    EXPECT_EQ(planned_.Items->Count(), 0);
    const std::vector<startup::DifferenceProblem> problems = startup::PlannedProblems(plan);
    // Odd seeds carry a wrong ZCODE, a missing file and file copies into
    // directories that are not there; even ones are clean.
    EXPECT_EQ(problems.empty(), GetParam() % 2 == 0);
    EXPECT_TRUE(RegionalFiles().empty());

    ASSERT_NO_FATAL_FAILURE(Start());
    EXPECT_EQ(ActualItems(), PredictedItems(plan));
    const std::map<std::string, std::string> predicted = PredictedFiles(plan);
    EXPECT_FALSE(predicted.empty());
    EXPECT_EQ(RegionalFiles(), predicted);
    std::vector<std::string> messages;
    for (const startup::DifferenceProblem& problem : problems)
        messages.push_back(problem.message);
    EXPECT_EQ(LogLines(), messages);

    // The next start of a clean installation copies nothing: the plan says
    // so, and a copied file that went away stays away.
    Model().Reset();
    std::filesystem::remove_all(subApp_ + "Regional");
    const startup::DifferencePlan next = Plan();
    EXPECT_EQ(next.copiesFiles, !problems.empty());
    ASSERT_NO_FATAL_FAILURE(Start());
    EXPECT_EQ(ActualItems(), PredictedItems(next));
    std::map<std::string, std::string> left = PredictedFiles(next);
    if (!next.copiesFiles) {
        left = predicted;
        std::erase_if(left, [&](const auto& file) { return file.first.rfind(Lower(subApp_ + "Regional\\"), 0) == 0; });
    }
    EXPECT_EQ(RegionalFiles(), left);
}

TEST_P(DifferencePredictionTest, TheCheckProgramsJsonIsWhatTheStartThenDoes)
{
    const auto [json, exitCode] = CheckJson();
    // The rest of the installation is the clean sample: only the odd
    // seeds' mistakes are problems.
    EXPECT_EQ(exitCode, GetParam() % 2 == 0 ? 0u : 1u);
    const JsonValue& differences = json["sections"]["differences"];
    ASSERT_EQ(differences["zoneCode"].String(), kZoneCode);
    ASSERT_TRUE(differences["copiesFiles"].Bool());  // a fresh installation: no record yet

    // Each replacement is told from both sides, between parameters of the
    // same item name in whatever letter case.
    const std::vector<JsonValue>& parameters = differences["parameters"].items;
    for (std::size_t i = 0; i < parameters.size(); ++i) {
        const JsonValue& later = parameters[i]["replacedBy"];
        if (later.type == JsonValue::Type::Null)
            continue;
        const auto index = static_cast<std::size_t>(later.Number());
        ASSERT_TRUE(index > i + 1 && index <= parameters.size()) << i + 1;
        EXPECT_EQ(parameters[index - 1]["replaces"].Number(), static_cast<double>(i + 1));
        EXPECT_EQ(Lower(parameters[index - 1]["name"].String()), Lower(parameters[i]["name"].String()));
    }
    const std::vector<std::string> items = CheckedItems(differences);
    const std::map<std::string, std::string> files = CheckedFiles(differences);
    EXPECT_FALSE(items.empty());
    EXPECT_FALSE(files.empty());
    EXPECT_TRUE(RegionalFiles().empty());

    ASSERT_NO_FATAL_FAILURE(Start());
    EXPECT_EQ(ActualItems(), items);
    EXPECT_EQ(RegionalFiles(), files);
}

INSTANTIATE_TEST_SUITE_P(Seeds, DifferencePredictionTest, testing::Values(1u, 2u, 3u, 4u));

TEST(JsonReader, ReadsNestingEscapesAndSurrogatePairs)
{
    const JsonValue value = ParseJson(
        " {\"a\": [1, -2.5e1, true, false, null], \"s\": \"q\\\"\\\\\\/\\n\\u6e05\\u5361\\ud83d\\ude00\", \"o\": {}} ");
    ASSERT_EQ(value["a"].items.size(), 5u);
    EXPECT_EQ(value["a"].items[0].Number(), 1);
    EXPECT_EQ(value["a"].items[1].Number(), -25);
    EXPECT_TRUE(value["a"].items[2].Bool());
    EXPECT_FALSE(value["a"].items[3].Bool());
    EXPECT_EQ(value["a"].items[4].type, JsonValue::Type::Null);
    EXPECT_EQ(value["s"].String(), "q\"\\/\n\xE6\xB8\x85\xE5\x8D\xA1\xF0\x9F\x98\x80");
    EXPECT_EQ(Gbk(value["s"].String().substr(5, 6)), "\xC7\xE5\xBF\xA8");  // 清卡
    EXPECT_EQ(value["o"].type, JsonValue::Type::Object);
    EXPECT_FALSE(value.Has("missing"));
    EXPECT_THROW(value["missing"], std::runtime_error);
}

TEST(JsonReader, RefusesWhatIsNotJson)
{
    for (const char* text : {"{\"a\": 1", "[1 2]", "{\"a\" 1}", "\"\\ud83d\"", "\"\\x\"", "tru", "[1] 2", "\"a\nb\""})
        EXPECT_THROW(ParseJson(text), std::runtime_error) << text;
}
