#include "startup/catalogue/ErrorCatalogueParser.h"

#include "text/NumberText.h"
#include "xml/XmlDocument.h"
#include "xml/XmlTextReader.h"

#include <algorithm>
#include <array>
#include <optional>

namespace startup {
namespace {

constexpr const char* kFallbackText = "0";

enum Field : int { kCode, kMsg, kModuleType, kInsideCode, kFieldCount, kNoField = -1 };
constexpr std::array<std::string_view, kFieldCount> kFieldNames = {"CODE", "MSG", "moduleType", "insideCode"};

// Reads the entries while the document is parsed, without its tree: each
// child node of the document element is an entry, and of an element entry
// only the first child element of each field name is looked at, for plain
// text (nothing but one text or CDATA node, or nothing at all).
class CatalogueReader final : public xml::XmlNodeSink {
public:
    // `sources`, when given, receives where each entry stands and what its
    // fields looked like, entry by entry.
    CatalogueReader(const xml::XmlTextReader& reader, std::vector<ErrorCatalogueEntry>& entries,
                    std::vector<CatalogueEntrySource>* sources = nullptr)
        : reader_(reader), entries_(entries), sources_(sources)
    {
    }

    void StartElement(std::string_view name, const char* const*) override
    {
        if (depth_ == 1) {
            StartElementEntry();
            if (sources_ != nullptr)
                sources_->push_back({Line(), CatalogueEntryKind::Element, std::string(name)});
        } else if (depth_ == 2) {
            StartField(name);
        } else if (depth_ == 3 && field_ != kNoField) {
            ++fieldNodes_;
        }
        ++depth_;
    }

    void EndElement() override
    {
        --depth_;
        if (depth_ == 2 && field_ != kNoField)
            EndField();
    }

    void Restart() override
    {
        entries_.clear();
        if (sources_ != nullptr)
            sources_->clear();
        depth_ = 0;
        field_ = kNoField;
    }

    // A GBK catalogue's texts are taken as they stand.
    bool TakesGbkTexts() const noexcept override { return true; }

    void Text(std::string_view text) override { Content(text, CatalogueEntryKind::Text); }
    void CData(std::string_view text) override { Content(text, CatalogueEntryKind::Text); }
    void Comment() override { Content(std::nullopt, CatalogueEntryKind::Comment); }
    void ProcessingInstruction(std::string_view target) override
    {
        Content(std::nullopt, CatalogueEntryKind::ProcessingInstruction, target);
    }

private:
    // A node that is no element: an entry of its own under the document
    // element, one more node in a field's element.
    void Content(std::optional<std::string_view> text, CatalogueEntryKind kind, std::string_view name = {})
    {
        if (depth_ == 1 && sources_ != nullptr)
            sources_->push_back({Line(), kind, std::string(name)});
        if (depth_ == 1) {
            ErrorCatalogueEntry& entry = entries_.emplace_back();
            entry.moduleType = kFallbackText;
            entry.insideCode = kFallbackText;
        } else if (depth_ == 3 && field_ != kNoField) {
            if (++fieldNodes_ == 1 && text)
                fieldText_.assign(*text);
            fieldIsText_ = fieldNodes_ == 1 && text.has_value();
        }
    }

    // A missing field reads as empty; the first of each name is the field.
    void StartElementEntry()
    {
        entries_.emplace_back();
        seen_.fill(false);
    }

    void StartField(std::string_view name)
    {
        for (int f = 0; f < kFieldCount; ++f) {
            if (name == kFieldNames[f] && !seen_[f]) {
                seen_[f] = true;
                field_ = static_cast<Field>(f);
                if (sources_ != nullptr)
                    sources_->back().fields[f].line = Line();
                fieldNodes_ = 0;
                fieldIsText_ = false;
                return;
            }
        }
    }

    void EndField()
    {
        const Field field = field_;
        field_ = kNoField;
        std::optional<std::string_view> plain;
        if (fieldNodes_ == 0)
            plain = std::string_view();
        else if (fieldNodes_ == 1 && fieldIsText_)
            plain = fieldText_;
        ErrorCatalogueEntry& entry = entries_.back();
        if (sources_ != nullptr)
            NoteField(field, plain);
        // Each field under its own guard: whatever goes wrong in one leaves
        // the fallback in it and the other fields alone.
        try {
            switch (field) {
            case kCode:
                if (plain && !plain->empty())
                    text::ParseWholeNumber(ToGbk(*plain), entry.code);
                break;
            case kMsg:
                if (plain)
                    entry.msg = ToGbk(*plain);
                break;
            case kModuleType:
                entry.moduleType = plain ? ToGbk(*plain) : kFallbackText;
                break;
            case kInsideCode:
                entry.insideCode = plain ? ToGbk(*plain) : kFallbackText;
                break;
            default:
                break;
            }
        } catch (...) {
            if (field == kModuleType)
                entry.moduleType = kFallbackText;
            else if (field == kInsideCode)
                entry.insideCode = kFallbackText;
        }
    }

    // What the field looked like, before it is read as the module reads it.
    void NoteField(Field field, const std::optional<std::string_view>& plain)
    {
        CatalogueFieldSource& source = sources_->back().fields[field];
        source.present = true;
        source.plain = plain.has_value();
        if (!plain)
            return;
        source.text = ToGbk(*plain);
        // A character GBK cannot hold becomes '?': more of them than the
        // document wrote means some were lost.
        const auto questionMarks = [](std::string_view text) {
            return static_cast<std::size_t>(std::count(text.begin(), text.end(), '?'));
        };
        source.lostCharacters = questionMarks(source.text) > questionMarks(*plain);
    }

    std::string ToGbk(std::string_view text) const
    {
        return TextsAreGbk() ? std::string(text) : reader_.ToGbk(text);
    }

    const xml::XmlTextReader& reader_;
    std::vector<ErrorCatalogueEntry>& entries_;
    std::vector<CatalogueEntrySource>* sources_;
    std::size_t depth_ = 0;
    std::array<bool, kFieldCount> seen_{};
    Field field_ = kNoField;
    std::size_t fieldNodes_ = 0;
    bool fieldIsText_ = false;
    std::string fieldText_;
};

// Room for the entries of a catalogue of `bytes`, so that the list is
// seldom moved while it grows: an entry of a catalogue takes a hundred
// bytes and more.
std::size_t ExpectedEntries(std::string_view bytes) noexcept { return bytes.size() / 128 + 16; }

} // namespace

std::string_view XmlEncodingName(const xml::XmlSourceEncoding& encoding) noexcept
{
    if (encoding.coding == xml::XmlTextCoding::Gbk)
        return "GBK";
    switch (encoding.parseAs) {
    case xml::XmlParseAs::Utf8:
        return "UTF-8";
    case xml::XmlParseAs::Latin1:
        return "ISO-8859-1";
    case xml::XmlParseAs::Utf16:
        return "UTF-16";
    case xml::XmlParseAs::Utf32:
        return "UTF-32";
    }
    return "UTF-8";
}

ErrorCatalogueReading ReadErrorCatalogueSources(std::string_view bytes, const text::GbkConverter& converter)
{
    ErrorCatalogueReading reading;
    reading.encoding = xml::DetectXmlEncoding(bytes);
    reading.declaredEncoding = xml::DeclaredXmlEncoding(bytes);
    const xml::XmlTextReader reader(reading.encoding.coding, converter);
    reading.parsed.entries.reserve(ExpectedEntries(bytes));
    CatalogueReader catalogue(reader, reading.parsed.entries, &reading.sources);
    if (!xml::StreamXml(bytes, reading.encoding, catalogue, &reading.failure)) {
        reading.parsed.entries.clear();
        reading.sources.clear();
        return reading;
    }
    reading.parsed.loaded = true;
    return reading;
}

ParsedErrorCatalogue ParseErrorCatalogue(std::string_view bytes, const text::GbkConverter& converter)
{
    ParsedErrorCatalogue result;
    const xml::XmlSourceEncoding encoding = xml::DetectXmlEncoding(bytes);
    const xml::XmlTextReader reader(encoding.coding, converter);
    result.entries.reserve(ExpectedEntries(bytes));
    CatalogueReader catalogue(reader, result.entries);
    if (!xml::StreamXml(bytes, encoding, catalogue)) {
        result.entries.clear();
        return result;
    }
    result.loaded = true;
    return result;
}

} // namespace startup
