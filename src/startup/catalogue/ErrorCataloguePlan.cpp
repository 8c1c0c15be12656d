#include "startup/catalogue/ErrorCataloguePlan.h"

#include "startup/catalogue/ErrorCatalogueMessages.h"
#include "text/NumberText.h"

#include <map>

namespace startup {
namespace {

constexpr std::array<const char*, 4> kFieldNames = {"CODE", "MSG", "moduleType", "insideCode"};
enum : std::size_t { kCode, kMsg, kModuleType, kInsideCode };

// Digits with an optional sign, blanks around: a number, only too large.
bool IsDigitsOnly(std::string_view text)
{
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= 0x20)
        text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= 0x20)
        text.remove_suffix(1);
    if (!text.empty() && (text.front() == '+' || text.front() == '-'))
        text.remove_prefix(1);
    if (text.empty())
        return false;
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

class ProblemList {
public:
    ProblemList(const std::string& file, std::vector<PlanProblem>& problems) : file_(file), problems_(problems) {}
    void Add(unsigned long line, std::string message) { problems_.push_back({file_, line, std::move(message)}); }

private:
    const std::string& file_;
    std::vector<PlanProblem>& problems_;
};

std::string EntryName(const CatalogueEntrySource& source)
{
    return "entry <" + source.name + ">";
}

void CheckFields(const CatalogueEntrySource& source, ProblemList& problems)
{
    const CatalogueFieldSource& code = source.fields[kCode];
    const CatalogueFieldSource& msg = source.fields[kMsg];
    if (!code.present || (code.plain && code.text.empty()))
        problems.Add(source.line, EntryName(source) + " has no CODE: the host gets code 0");
    else if (!code.plain)
        problems.Add(code.line, "CODE is not plain text: the host gets code 0");
    else if (std::int32_t value = 0; !text::ParseWholeNumber(code.text, value))
        problems.Add(code.line, IsDigitsOnly(code.text)
                                    ? "CODE " + code.text + " lies outside 32 bits: the host gets code 0"
                                    : "CODE \"" + code.text + "\" is no whole number: the host gets code 0");
    if (!msg.present || (msg.plain && msg.text.empty()))
        problems.Add(source.line, EntryName(source) + " has no MSG: the host gets an empty message");
    else if (!msg.plain)
        problems.Add(msg.line, "MSG is not plain text: the host gets an empty message");
    for (std::size_t field = kModuleType; field <= kInsideCode; ++field) {
        const CatalogueFieldSource& other = source.fields[field];
        if (other.present && !other.plain)
            problems.Add(other.line, std::string(kFieldNames[field]) + " is not plain text: the host gets \"0\"");
    }
    for (std::size_t field = kCode; field <= kInsideCode; ++field) {
        const CatalogueFieldSource& text = source.fields[field];
        if (text.plain && text.lostCharacters)
            problems.Add(text.line, std::string(kFieldNames[field]) +
                                        " holds characters that GBK cannot hold: the host gets \"" + text.text + "\"");
    }
}

std::string NonElementNote(const CatalogueEntrySource& source)
{
    switch (source.kind) {
    case CatalogueEntryKind::Comment:
        return "a comment is an entry of its own: code 0, empty message";
    case CatalogueEntryKind::ProcessingInstruction:
        return "the processing instruction <?" + source.name + "?> is an entry of its own: code 0, empty message";
    default:
        return "text under the document element is an entry of its own: code 0, empty message";
    }
}

} // namespace

ErrorCataloguePlan PlanErrorCatalogue(const CatalogueFile& file, const text::GbkConverter& converter)
{
    ErrorCataloguePlan plan;
    plan.file = file.path;
    ProblemList problems(plan.file, plan.problems);
    if (!file.read) {
        plan.failureMessage = file.failureMessage;
        problems.Add(0, "the catalogue cannot be read: the start fails with \"" + file.failureMessage + "\"");
        return plan;
    }
    ErrorCatalogueReading reading = ReadErrorCatalogueSources(file.bytes, converter);
    plan.encoding = XmlEncodingName(reading.encoding);
    plan.declaredEncoding = reading.declaredEncoding;
    if (!reading.parsed.loaded) {
        plan.failureMessage = kCatalogueEmptyMessage;
        problems.Add(reading.failure.line, "not well-formed: " + reading.failure.reason +
                                               "; the start fails with \"" + plan.failureMessage + "\"");
        return plan;
    }
    plan.loads = true;
    plan.entries = std::move(reading.parsed.entries);
    std::map<std::int32_t, unsigned long> firstLineOfCode;
    for (std::size_t i = 0; i < reading.sources.size(); ++i) {
        const CatalogueEntrySource& source = reading.sources[i];
        plan.entryLines.push_back(source.line);
        if (source.kind != CatalogueEntryKind::Element) {
            plan.notes.push_back({source.line, NonElementNote(source)});
            continue;
        }
        CheckFields(source, problems);
        const std::int32_t code = plan.entries[i].code;
        if (code == 0)
            continue;  // no code of its own: reported above
        const auto [first, added] = firstLineOfCode.emplace(code, source.line);
        if (!added)
            problems.Add(source.line, "code " + std::to_string(code) + " repeats the entry of line " +
                                          std::to_string(first->second) + ": the host finds only one of them");
    }
    return plan;
}

} // namespace startup
