#include "faults/FaultChecks.h"

#include "startup/catalogue/ErrorCatalogueMessages.h"
#include "text/GbkConverter.h"
#include "profile/ProfileDocument.h"
#include "profile/ProfileText.h"
#include "startup/upgrade/UpgradeStatements.h"
#include "module/InitSteps.h"
#include "util/ParamText.h"

#include "hostmodel/HostModel.h"

#include <algorithm>
#include <cctype>

namespace faults {
namespace {

constexpr const char kRecordSection[] = "Difference";
constexpr const char kVersionKey[] = "lastVersion";
constexpr const char kZoneKey[] = "lastRevenueCode";

std::optional<std::string> FileIn(const FileTree& files, const std::string& path)
{
    const auto found = files.find(path);
    if (found == files.end())
        return std::nullopt;
    return found->second;
}

bool IsCoreParameter(const std::string& name) { return name.rfind("Global_", 0) == 0; }

Parameters RegionalParameters(const Parameters& parameters)
{
    Parameters regional;
    for (const auto& item : parameters)
        if (!IsCoreParameter(item.first))
            regional.push_back(item);
    std::sort(regional.begin(), regional.end());
    return regional;
}

bool IsHexHash(const std::string& text)
{
    return text.size() == 8 &&
           std::all_of(text.begin(), text.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); });
}

std::vector<startup::UpgradeStatement> StatementsOf(const std::string& bytes)
{
    const IniText ini = ParseIni(bytes);
    const std::vector<std::string>* lines = ini.Section(startup::kUpgradeSection);
    return lines != nullptr ? startup::ParseUpgradeStatements(*lines) : std::vector<startup::UpgradeStatement>{};
}

// The same sections with the same keys and values, in any order of keys:
// the host writes the record key by key, and a key it writes anew goes to
// the end of its section.
bool SameRecord(const std::optional<std::string>& a, const std::optional<std::string>& b)
{
    if (!a || !b)
        return a == b;
    IniText first = ParseIni(*a);
    IniText second = ParseIni(*b);
    for (IniText* ini : {&first, &second})
        for (auto& section : ini->sections)
            std::sort(section.second.begin(), section.second.end());
    return first.sections == second.sections && first.unparsed == second.unparsed;
}

// The old content, the complete new one, or (for the record, which the host
// writes key by key) a record whose every key holds its old or new value and
// which does not yet read as done, so that the next start repeats the step.
bool CookieWhole(const Reference& reference, const std::optional<std::string>& now)
{
    const std::optional<std::string> old = FileIn(reference.before, reference.layout.cookie);
    const std::optional<std::string> complete = FileIn(reference.after.files, reference.layout.cookie);
    if (SameRecord(now, old) || SameRecord(now, complete))
        return true;
    if (!now || !complete)
        return false;
    const IniText ini = ParseIni(*now);
    const IniText newIni = ParseIni(*complete);
    const IniText oldIni = ParseIni(old.value_or(""));
    if (!ini.unparsed.empty() || ini.sections.size() != 1)
        return false;
    for (const std::string& line : ini.sections.front().second) {
        const std::string key = line.substr(0, line.find('='));
        const std::optional<std::string> value = ini.Value(kRecordSection, key);
        if (value != newIni.Value(kRecordSection, key) && value != oldIni.Value(kRecordSection, key))
            return false;
    }
    return ini.Section(kRecordSection) != nullptr;
}

// The file as it was, gone, or the same statements and notes with a record
// of done statements, each a label of the file and a statement hash.
bool UpgradeFileWhole(const Reference& reference, const std::optional<std::string>& now, std::string& why)
{
    const std::optional<std::string> old = FileIn(reference.before, reference.layout.upgrade);
    if (!now || now == old)
        return true;
    if (!old) {
        why = "dataupdate.ini appeared";
        return false;
    }
    const IniText before = ParseIni(*old);
    const IniText after = ParseIni(*now);
    for (const auto& [section, lines] : before.sections) {
        if (section == startup::kUpgradeDoneSection)
            continue;
        const std::vector<std::string>* kept = after.Section(section);
        if (kept == nullptr || *kept != lines) {
            why = "dataupdate.ini lost lines of [" + section + "]";
            return false;
        }
    }
    std::set<std::string> labels;
    for (const startup::UpgradeStatement& statement : StatementsOf(*old))
        labels.insert(statement.label);
    // A record cut off by a write that failed half way is the start of a
    // record line; the journal writes the next record on a line of its own.
    const auto cutOffRecord = [&](const std::string& line) {
        for (const std::string& label : labels)
            if ((label + "=").rfind(line, 0) == 0 || (line.rfind(label + "=", 0) == 0 && line.size() < label.size() + 9))
                return true;
        return false;
    };
    for (const auto& [section, lines] : after.sections) {
        if (section != startup::kUpgradeDoneSection) {
            if (before.Section(section) == nullptr) {
                why = "dataupdate.ini gained section [" + section + "]";
                return false;
            }
            continue;
        }
        for (const std::string& line : lines) {
            const std::size_t equals = line.find('=');
            const bool record = equals != std::string::npos && labels.count(line.substr(0, equals)) != 0 &&
                                IsHexHash(line.substr(equals + 1));
            if (!record && !cutOffRecord(line)) {
                why = "dataupdate.ini holds a broken record line \"" + line + "\"";
                return false;
            }
        }
    }
    return true;
}

// True when nothing that `effect` changed shows in `image`: every object it
// changed is as it was before the statement ran.
bool EffectMissing(const StatementEffect& effect, const DatabaseImage& image)
{
    bool changedAny = false;
    std::set<std::string> keys;
    for (const auto& [key, value] : effect.before)
        keys.insert(key);
    for (const auto& [key, value] : effect.after)
        keys.insert(key);
    for (const std::string& key : keys) {
        const auto before = effect.before.find(key);
        const auto after = effect.after.find(key);
        const std::optional<std::string> was =
            before == effect.before.end() ? std::nullopt : std::optional<std::string>(before->second);
        const std::optional<std::string> became =
            after == effect.after.end() ? std::nullopt : std::optional<std::string>(after->second);
        if (was == became)
            continue;
        changedAny = true;
        const auto found = image.find(key);
        const std::optional<std::string> now =
            found == image.end() ? std::nullopt : std::optional<std::string>(found->second);
        if (now != was)
            return false;
    }
    return changedAny;
}

std::string ListPaths(const std::vector<std::string>& paths)
{
    std::string text;
    for (const std::string& path : paths)
        text += (text.empty() ? "" : ", ") + path;
    return text;
}

} // namespace

Reference MakeReference(const StartRunner& runner)
{
    Reference reference;
    Layout& layout = reference.layout;
    layout.hostActions = "host\\action.ini";
    layout.sourceActions = runner.Relative(runner.SubAppFolder() + "action.ini");
    layout.cookie = runner.Relative(runner.SubAppFolder() + "cookie.ini");
    layout.upgrade = runner.Relative(runner.SubAppFolder() + "dataupdate.ini");
    layout.catalogue = runner.Relative(runner.SubAppFolder() + "errmsg.xml");
    layout.database = runner.Relative(runner.DatabaseFile());
    reference.inputText = runner.InputText();

    runner.FreshCopy();
    reference.before = ReadTree(runner.Installation(), {layout.database});
    reference.after = runner.Start(0);
    for (const auto& [path, bytes] : reference.after.files) {
        if (path == layout.hostActions || path == layout.cookie || path == layout.upgrade)
            continue;
        if (FileIn(reference.before, path) != bytes)
            reference.regionalFiles.insert(path);
    }

    // The same start once more, the database read around each statement.
    runner.FreshCopy();
    std::vector<startup::UpgradeStatement> statements =
        StatementsOf(FileIn(reference.before, layout.upgrade).value_or(""));
    DatabaseImage before;
    runner.Start(0, [&](const std::string& statement, bool starting, bool) {
        if (starting) {
            // The host creates its database at the first statement: make it
            // exist first, so that its seed counts as the state before.
            // The host holds its database for itself while the connection
            // is open: closed, it is read as the next open would find it,
            // and the next statement opens it again.
            hostmodel::Model().QueryDatabase("SELECT count(*) FROM sqlite_master");
            hostmodel::Model().CloseDatabase();
            before = ReadDatabase(runner.DatabaseFile()).image;
            return;
        }
        hostmodel::Model().CloseDatabase();
        for (const startup::UpgradeStatement& known : statements)
            if (known.statement == statement)
                reference.statements.push_back(
                    {known.label, statement, before, ReadDatabase(runner.DatabaseFile()).image});
    });
    return reference;
}

bool CookieRecordsRun(const Reference& reference, const FileTree& files)
{
    const std::optional<std::string> now = FileIn(files, reference.layout.cookie);
    const std::optional<std::string> complete = FileIn(reference.after.files, reference.layout.cookie);
    if (!now || !complete)
        return false;
    // As the host reads it, in whatever encoding it is written.
    const text::GbkConverter& converter = text::SystemGbkConverter();
    const profile::ProfileDocument record(profile::ProfileTextAsGbk(*now, converter));
    const profile::ProfileDocument done(profile::ProfileTextAsGbk(*complete, converter));
    return record.Value(kRecordSection, kVersionKey) == done.Value(kRecordSection, kVersionKey) &&
           record.Value(kRecordSection, kZoneKey) == done.Value(kRecordSection, kZoneKey);
}

bool RegionalIncomplete(const Reference& reference, const StartOutcome& outcome)
{
    for (const std::string& path : reference.regionalFiles)
        if (FileIn(outcome.files, path) != FileIn(reference.after.files, path))
            return true;
    return RegionalParameters(outcome.parameters) != RegionalParameters(reference.after.parameters);
}

void CheckRegionalRecord(const Reference& reference, const StartOutcome& outcome, Verdict& verdict)
{
    const bool recorded = CookieRecordsRun(reference, outcome.files);
    if (RegionalIncomplete(reference, outcome) && recorded) {
        verdict.honest = false;
        verdict.problems.push_back("regional configuration incomplete but recorded as done in cookie.ini");
    } else if (!recorded && outcome.log.empty()) {
        verdict.honest = false;
        verdict.problems.push_back("regional configuration left pending without a log line");
    }
}

bool CoreParametersEqual(const Reference& reference, const StartOutcome& outcome, std::string& which)
{
    for (const auto& [name, value] : reference.after.parameters) {
        if (IsCoreParameter(name) && FindParameter(outcome.parameters, name) != value) {
            which = name;
            return false;
        }
    }
    return true;
}

std::string FalseMessage(const Reference& reference, const std::string& text, bool catalogueDamaged)
{
    const std::string message = util::ReadParamValue(text, module::kResultMessageName);
    if (message.empty())
        return "result 0 without a message";
    if (text != util::WriteParamValue(reference.inputText, module::kResultMessageName, message))
        return "the returned text is not the host's text with the message: " + text;
    if (message == module::kDriverMissingMessage)
        return "says the card-reader driver is missing on a system that needs none";
    if (message == startup::kCatalogueMissingMessage && !catalogueDamaged &&
        FileIn(reference.before, reference.layout.catalogue))
        return "says errmsg.xml is missing, which is there";
    return {};
}

void CheckFaultedStart(const Reference& reference, const StartOutcome& faulted, Verdict& verdict)
{
    const Layout& layout = reference.layout;
    const auto dishonest = [&](const std::string& why) {
        verdict.honest = false;
        verdict.problems.push_back(why);
    };
    const auto torn = [&](const std::string& why) {
        verdict.torn = true;
        verdict.problems.push_back(why);
    };

    if (faulted.succeeded) {
        if (faulted.text != reference.inputText)
            dishonest("result 1 but the text came back changed: " + faulted.text);
        if (std::string which; !CoreParametersEqual(reference, faulted, which))
            dishonest("result 1 but " + which + " is not as published without a fault");
        if (FileIn(faulted.files, layout.hostActions) != FileIn(reference.after.files, layout.hostActions))
            dishonest("result 1 but the host's action.ini is not merged");
        std::vector<std::string> others;
        for (const auto& [path, bytes] : reference.after.files) {
            if (path == layout.hostActions || path == layout.cookie || path == layout.upgrade ||
                reference.regionalFiles.count(path) != 0)
                continue;
            if (FileIn(faulted.files, path) != bytes)
                others.push_back(path);
        }
        if (!others.empty())
            dishonest("result 1 but files differ: " + ListPaths(others));
        CheckRegionalRecord(reference, faulted, verdict);
        const bool upgradeKept = FileIn(faulted.files, layout.upgrade).has_value();
        if (faulted.database.image != reference.after.database.image ||
            upgradeKept != FileIn(reference.after.files, layout.upgrade).has_value()) {
            if (!upgradeKept)
                dishonest("database upgrade incomplete but dataupdate.ini is gone");
            else if (faulted.log.empty())
                dishonest("database upgrade left pending without a log line");
        }
    } else if (const std::string why = FalseMessage(reference, faulted.text, false); !why.empty()) {
        dishonest(why);
    }

    const std::optional<std::string> hostActions = FileIn(faulted.files, layout.hostActions);
    if (hostActions != FileIn(reference.before, layout.hostActions) &&
        hostActions != FileIn(reference.after.files, layout.hostActions))
        torn("the host's action.ini is neither old nor new");
    if (!CookieWhole(reference, FileIn(faulted.files, layout.cookie)))
        torn("cookie.ini is neither old nor new: \"" + FileIn(faulted.files, layout.cookie).value_or("(none)") + "\"");
    if (std::string why; !UpgradeFileWhole(reference, FileIn(faulted.files, layout.upgrade), why))
        torn(why);
    if (faulted.database.present) {
        if (!faulted.database.opened)
            torn("the database cannot be read: " + faulted.database.error);
        else if (faulted.database.integrity != "ok")
            torn("the database fails its integrity check: " + faulted.database.integrity);
    }

    if (const std::optional<std::string> upgrade = FileIn(faulted.files, layout.upgrade)) {
        const IniText ini = ParseIni(*upgrade);
        const std::vector<std::string>* doneLines = ini.Section(startup::kUpgradeDoneSection);
        for (const startup::UpgradeStatement& statement : StatementsOf(*upgrade)) {
            if (doneLines == nullptr || !startup::IsStatementDone(statement, *doneLines))
                continue;
            for (const StatementEffect& effect : reference.statements) {
                if (effect.label == statement.label && EffectMissing(effect, faulted.database.image)) {
                    verdict.journal = false;
                    verdict.problems.push_back("statement " + statement.label +
                                               " is recorded as done but did not take effect");
                }
            }
        }
    }
}

void CheckCleanStart(const Reference& reference, const StartOutcome& clean, Verdict& verdict)
{
    const auto unclean = [&](const std::string& why) {
        verdict.clean = false;
        verdict.problems.push_back("next start: " + why);
    };
    const StartOutcome& expected = reference.after;
    if (clean.succeeded != expected.succeeded || clean.text != expected.text)
        unclean("result " + std::to_string(clean.succeeded) + " \"" + clean.text + "\"");
    std::vector<std::string> differing;
    for (const auto& [path, bytes] : expected.files) {
        const bool same = path == reference.layout.cookie ? SameRecord(FileIn(clean.files, path), bytes)
                                                          : FileIn(clean.files, path) == bytes;
        if (!same)
            differing.push_back(path);
    }
    for (const auto& [path, bytes] : clean.files)
        if (expected.files.count(path) == 0)
            differing.push_back(path + " (left behind)");
    if (!differing.empty())
        unclean("files differ: " + ListPaths(differing));
    if (clean.parameters != expected.parameters)
        unclean("parameters differ");
    if (clean.database.image != expected.database.image) {
        std::vector<std::string> objects;
        for (const auto& [key, value] : expected.database.image) {
            const auto found = clean.database.image.find(key);
            if (found == clean.database.image.end() || found->second != value)
                objects.push_back(key);
        }
        for (const auto& [key, value] : clean.database.image)
            if (expected.database.image.count(key) == 0)
                objects.push_back(key + " (extra)");
        unclean("database differs: " + ListPaths(objects) +
                (clean.database.error.empty() ? "" : " (" + clean.database.error + ")"));
    }
}

} // namespace faults
