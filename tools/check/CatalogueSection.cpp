#include "CatalogueSection.h"

namespace check {
namespace {

// The value of encoding="..." in the XML declaration of UTF-16 text, its
// ASCII read from every other byte; empty when there is none.
std::string DeclaredEncodingOfUtf16(std::string_view bytes, bool littleEndian)
{
    std::string ascii;
    for (std::size_t i = 2; i + 1 < bytes.size() && ascii.size() < 200; i += 2) {
        const char low = bytes[littleEndian ? i : i + 1];
        const char high = bytes[littleEndian ? i + 1 : i];
        if (high != 0)
            break;
        ascii += low;
        if (low == '>')
            break;
    }
    const std::size_t key = ascii.find("encoding");
    const std::size_t quote = key == std::string::npos ? key : ascii.find_first_of("\"'", key);
    if (quote == std::string::npos)
        return {};
    const std::size_t end = ascii.find(ascii[quote], quote + 1);
    return end == std::string::npos ? std::string() : ascii.substr(quote + 1, end - quote - 1);
}

bool NamesUtf16(const std::string& encoding)
{
    std::string upper;
    for (char c : encoding)
        upper += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    return upper.rfind("UTF-16", 0) == 0 || upper == "UTF16" || upper == "UCS-2" || upper == "UNICODE";
}

class CatalogueSection final : public CheckSection {
public:
    CatalogueSection(startup::ErrorCataloguePlan plan, std::optional<startup::PlanProblem> cause)
        : plan_(std::move(plan)), cause_(std::move(cause))
    {
    }

    std::string Key() const override { return "catalogue"; }
    std::string Title() const override { return "Error catalogue " + plan_.file; }

    void PrintText(std::ostream& out) const override
    {
        if (!plan_.loads) {
            out << "  does not load: the start fails with\n";
            for (std::size_t start = 0; start < plan_.failureMessage.size();) {
                std::size_t end = plan_.failureMessage.find("\r\n", start);
                if (end == std::string::npos)
                    end = plan_.failureMessage.size();
                out << "    " << plan_.failureMessage.substr(start, end - start) << "\n";
                start = end + 2;
            }
            return;
        }
        out << "  loads " << plan_.entries.size() << " entries, read as " << plan_.encoding;
        if (!plan_.declaredEncoding.empty())
            out << " (declared " << plan_.declaredEncoding << ")";
        out << "\n";
        for (const auto& note : plan_.notes)
            out << "  line " << note.line << ": " << note.message << "\n";
    }

    void WriteJson(JsonWriter& json) const override
    {
        json.Member("file", plan_.file).Member("loads", plan_.loads);
        json.Member("failureMessage", plan_.failureMessage);
        json.Member("encoding", plan_.encoding).Member("declaredEncoding", plan_.declaredEncoding);
        json.Member("entryCount", plan_.entries.size());
        json.Key("entries").BeginArray();
        for (std::size_t i = 0; i < plan_.entries.size(); ++i) {
            const auto& entry = plan_.entries[i];
            json.BeginObject().Member("seqNo", i + 1).Member("line", plan_.entryLines[i]);
            json.Member("code", entry.code).Member("msg", entry.msg);
            json.Member("moduleType", entry.moduleType).Member("insideCode", entry.insideCode).EndObject();
        }
        json.EndArray();
        json.Key("notes").BeginArray();
        for (const auto& note : plan_.notes)
            json.BeginObject().Member("line", note.line).Member("message", note.message).EndObject();
        json.EndArray();
    }

    std::vector<startup::PlanProblem> Problems() const override
    {
        std::vector<startup::PlanProblem> problems = plan_.problems;
        if (cause_)
            problems.push_back(*cause_);
        return problems;
    }

private:
    startup::ErrorCataloguePlan plan_;
    std::optional<startup::PlanProblem> cause_;
};

} // namespace

std::optional<startup::PlanProblem> CatalogueFailureCause(const startup::ErrorCataloguePlan& plan,
                                                         std::string_view fileBytes)
{
    if (plan.loads || fileBytes.size() < 2)
        return std::nullopt;
    const auto first = static_cast<unsigned char>(fileBytes[0]);
    const auto second = static_cast<unsigned char>(fileBytes[1]);
    const bool littleEndian = first == 0xFF && second == 0xFE;
    if (!littleEndian && !(first == 0xFE && second == 0xFF))
        return std::nullopt;
    const std::string declared = DeclaredEncodingOfUtf16(fileBytes, littleEndian);
    if (declared.empty() || NamesUtf16(declared))
        return std::nullopt;
    return startup::PlanProblem{plan.file, 1,
                               "the file starts with a UTF-16 byte-order mark but declares encoding \"" + declared +
                                   "\", and the XML reader refuses the contradiction; save it as " + declared +
                                   " without a byte-order mark, or declare encoding=\"UTF-16\""};
}

std::unique_ptr<CheckSection> MakeCatalogueSection(startup::ErrorCataloguePlan plan, std::string_view fileBytes)
{
    std::optional<startup::PlanProblem> cause = CatalogueFailureCause(plan, fileBytes);
    return std::make_unique<CatalogueSection>(std::move(plan), std::move(cause));
}

} // namespace check
