#include "faults/DamagedFiles.h"

#include "faults/RunReport.h"

#include "startup/catalogue/ErrorCatalogueMessages.h"
#include "module/InitSteps.h"
#include "util/ParamText.h"

#include "support/TempFolder.h"

#include <windows.h>

#include <cctype>
#include <cstring>
#include <map>
#include <random>

namespace faults {
namespace {

enum class Damage { Truncated, Random, Utf16, Directory };

const char* DamageName(Damage damage)
{
    switch (damage) {
    case Damage::Truncated:
        return "truncated";
    case Damage::Random:
        return "random bytes";
    case Damage::Utf16:
        return "UTF-16";
    default:
        return "directory";
    }
}

struct Variant {
    std::string file;  // relative to the installation
    Damage damage;
};

std::vector<Variant> Variants(const Reference& reference)
{
    const Layout& layout = reference.layout;
    const std::string difference = layout.catalogue.substr(0, layout.catalogue.rfind('\\') + 1) +
                                   "AppComs\\difference\\";
    const std::vector<std::string> files = {
        layout.catalogue,
        difference + "SysDifference.xml",
        difference + "3301-hangzhou\\GS_Differ\\SysDifference.xml",
        layout.upgrade,
        layout.sourceActions,
        layout.hostActions,
        layout.cookie,
        layout.database,
    };
    std::vector<Variant> variants;
    for (const std::string& file : files)
        for (Damage damage : {Damage::Truncated, Damage::Random, Damage::Utf16, Damage::Directory})
            variants.push_back({file, damage});
    return variants;
}

std::string Damaged(const std::string& bytes, Damage damage, std::uint32_t seed)
{
    switch (damage) {
    case Damage::Truncated:
        return bytes.substr(0, bytes.size() / 2);
    case Damage::Random: {
        std::mt19937 random(seed);
        std::string noise(bytes.size(), '\0');
        for (char& c : noise)
            c = static_cast<char>(random() & 0xFF);
        return noise;
    }
    default: {
        const int length = MultiByteToWideChar(936, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
        std::wstring wide(length, L'\0');
        MultiByteToWideChar(936, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), length);
        std::string utf16 = "\xFF\xFE";
        for (wchar_t c : wide) {
            utf16 += static_cast<char>(c & 0xFF);
            utf16 += static_cast<char>((c >> 8) & 0xFF);
        }
        return utf16;
    }
    }
}

// Every key=value of an INI file as the profile functions read it,
// "[section]key" to value.
std::map<std::string, std::string> ProfileEntries(const std::string& file)
{
    std::map<std::string, std::string> entries;
    std::vector<char> names(1 << 16);
    const DWORD length = GetPrivateProfileSectionNamesA(names.data(), static_cast<DWORD>(names.size()), file.c_str());
    for (const char* section = names.data(); section < names.data() + length && *section != '\0';
         section += std::strlen(section) + 1) {
        std::vector<char> lines(1 << 16);
        const DWORD size = GetPrivateProfileSectionA(section, lines.data(), static_cast<DWORD>(lines.size()),
                                                     file.c_str());
        for (const char* line = lines.data(); line < lines.data() + size && *line != '\0';
             line += std::strlen(line) + 1) {
            const std::string text = line;
            const std::size_t equals = text.find('=');
            if (equals == std::string::npos)
                continue;
            std::string key = text.substr(0, equals);
            for (char& c : key)
                c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            std::string sectionName = section;
            for (char& c : sectionName)
                c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            entries.emplace("[" + sectionName + "]" + key, text.substr(equals + 1));
        }
    }
    return entries;
}

struct Before {
    FileTree files;
    std::map<std::string, std::string> hostEntries; // what the host's file held
    std::vector<std::string> hostUnparsed;          // its lines that are no entries
    bool hostActionsDirectory = false;
    std::string database;                           // the database file's bytes
    bool databaseDirectory = false;
    std::vector<std::string> statements;            // of the damaged dataupdate.ini
};

bool ReportedDone(const StartOutcome& outcome, const std::string& statement)
{
    for (const std::string& call : outcome.hostCalls)
        if (call.rfind("ExecADOQueryMsg(", 0) == 0 && call.find(statement) != std::string::npos &&
            call.find(") -> 1,") != std::string::npos)
            return true;
    return false;
}

void CheckDamagedStart(const StartRunner& runner, const Reference& reference, const Variant& variant,
                       const Before& before, const StartOutcome& outcome, Verdict& verdict)
{
    const Layout& layout = reference.layout;
    const std::string installation = runner.Installation();
    const auto dishonest = [&](const std::string& why) {
        verdict.honest = false;
        verdict.problems.push_back(why);
    };
    const auto destroyed = [&](const std::string& why) {
        verdict.torn = true;
        verdict.problems.push_back(why);
    };
    const bool catalogue = variant.file == layout.catalogue;

    if (outcome.succeeded) {
        if (std::string which; !CoreParametersEqual(reference, outcome, which))
            dishonest("result 1 but " + which + " is not as published from whole files");
        const std::map<std::string, std::string> source = ProfileEntries(installation + layout.sourceActions);
        const std::map<std::string, std::string> host = ProfileEntries(installation + layout.hostActions);
        for (const auto& [key, value] : source) {
            const auto found = host.find(key);
            if (found == host.end() || found->second != value) {
                dishonest("result 1 but " + key + " is not merged into the host's action.ini");
                break;
            }
        }
        CheckRegionalRecord(reference, outcome, verdict);
        const bool upgradeKept = outcome.files.count(layout.upgrade) != 0;
        if (variant.file == layout.upgrade) {
            for (const std::string& statement : before.statements)
                if (!upgradeKept && !ReportedDone(outcome, statement))
                    dishonest("dataupdate.ini deleted but not done: " + statement);
            if (upgradeKept && outcome.log.empty())
                dishonest("database upgrade left pending without a log line");
        } else if (outcome.database.image != reference.after.database.image || upgradeKept) {
            if (!upgradeKept)
                dishonest("database upgrade incomplete but dataupdate.ini is gone");
            else if (outcome.log.empty())
                dishonest("database upgrade left pending without a log line");
        }
    } else {
        std::string why = FalseMessage(reference, outcome.text, catalogue);
        const std::string message = util::ReadParamValue(outcome.text, module::kResultMessageName);
        if (why.empty() && catalogue && variant.damage != Damage::Directory &&
            message == startup::kCatalogueMissingMessage)
            why = "says errmsg.xml is missing, which is there but damaged";
        if (!why.empty())
            dishonest(why);
    }

    // The host's action.ini: every entry it had is still there, with its
    // value or the one the sub-application's file gives, and what it held
    // that is no entry is still in it.
    const std::string hostActions = installation + layout.hostActions;
    if (before.hostActionsDirectory) {
        if (IsFile(hostActions) || !testing_support::PathExists(hostActions))
            destroyed("the directory in place of the host's action.ini was replaced");
    } else {
        const std::map<std::string, std::string> source = ProfileEntries(installation + layout.sourceActions);
        const std::map<std::string, std::string> host = ProfileEntries(hostActions);
        for (const auto& [key, value] : before.hostEntries) {
            const auto now = host.find(key);
            const auto merged = source.find(key);
            const bool kept = now != host.end() && (now->second == value ||
                                                    (merged != source.end() && now->second == merged->second));
            if (!kept) {
                destroyed("the host's action.ini lost " + key);
                break;
            }
        }
        const std::string bytes = testing_support::ReadBytes(hostActions);
        for (const std::string& line : before.hostUnparsed) {
            if (bytes.find(line) == std::string::npos) {
                destroyed("the host's action.ini lost a line it held");
                break;
            }
        }
    }
    // The host's database: still there, never shorter, and untouched when
    // it is no database at all.
    if (variant.file == layout.database) {
        const std::string file = installation + layout.database;
        if (before.databaseDirectory) {
            if (IsFile(file))
                destroyed("the directory in place of the database was replaced by a file");
        } else {
            const std::string bytes = testing_support::ReadBytes(file);
            if (!IsFile(file))
                destroyed("the damaged database is gone");
            else if (bytes.size() < before.database.size())
                destroyed("the damaged database was cut shorter");
            else if ((variant.damage == Damage::Random || variant.damage == Damage::Utf16) &&
                     bytes != before.database)
                destroyed("a file that is no database was written over");
        }
    }
}

} // namespace

int RunDamagedFiles(const StartRunner& runner, const Reference& reference, std::uint64_t first)
{
    const std::vector<Variant> variants = Variants(reference);
    const std::string installation = runner.Installation();
    bool failed = false;
    for (std::uint64_t index = first; index < variants.size(); ++index) {
        const Variant& variant = variants[index];
        const std::string id = std::to_string(index) + " " + variant.file + " " + DamageName(variant.damage);
        PrintBegin("damaged", id);
        runner.FreshCopy();
        if (variant.file == reference.layout.cookie)
            runner.Start(0);
        if (variant.file == reference.layout.database)
            runner.CreateDatabase();

        const std::string path = installation + variant.file;
        const std::string bytes = testing_support::ReadBytes(path);
        if (variant.damage == Damage::Directory) {
            DeleteFileA(path.c_str());
            CreateDirectoryA(path.c_str(), nullptr);
        } else {
            testing_support::WriteBytes(path, Damaged(bytes, variant.damage, static_cast<std::uint32_t>(index)));
        }

        Before before;
        const std::string hostActions = installation + reference.layout.hostActions;
        before.hostActionsDirectory = testing_support::PathExists(hostActions) && !IsFile(hostActions);
        if (!before.hostActionsDirectory) {
            before.hostEntries = ProfileEntries(hostActions);
            const std::string hostBytes = testing_support::ReadBytes(hostActions);
            if (hostBytes.rfind("\xFF\xFE", 0) != 0)
                before.hostUnparsed = ParseIni(hostBytes).unparsed;
        }
        const std::string database = installation + reference.layout.database;
        before.databaseDirectory = testing_support::PathExists(database) && !IsFile(database);
        before.database = testing_support::ReadBytes(database);
        if (variant.file == reference.layout.upgrade) {
            std::vector<char> lines(1 << 16);
            const DWORD size = GetPrivateProfileSectionA("MSACCESS", lines.data(), static_cast<DWORD>(lines.size()),
                                                         path.c_str());
            for (const char* line = lines.data(); line < lines.data() + size && *line != '\0';
                 line += std::strlen(line) + 1) {
                const std::string text = line;
                const std::size_t equals = text.find('=');
                if (equals != std::string::npos && equals + 1 < text.size())
                    before.statements.push_back(text.substr(equals + 1));
            }
        }

        const StartOutcome outcome = runner.Start(0);
        Verdict verdict;
        verdict.notes.push_back("result " + std::to_string(outcome.succeeded ? 1 : 0) + " " + outcome.text);
        for (const std::string& line : outcome.log)
            verdict.notes.push_back("log: " + line);
        CheckDamagedStart(runner, reference, variant, before, outcome, verdict);
        PrintResult("damaged", id, nullptr, verdict);
        failed = failed || verdict.Failed();
    }
    return failed ? 1 : 0;
}

} // namespace faults
