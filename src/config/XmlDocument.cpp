#include "config/XmlDocument.h"

#include "config/GbkCodeTable.h"
#include "config/Utf8Text.h"

#include <expat.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <stdexcept>
#include <unordered_map>

namespace config {

XmlNodeKind XmlNode::Kind() const noexcept { return document_->nodes_[index_].kind; }

std::string_view XmlNode::Name() const noexcept
{
    return *this ? document_->Text(document_->nodes_[index_].name) : std::string_view();
}

std::string_view XmlNode::Value() const noexcept
{
    if (!*this || (Kind() != XmlNodeKind::Text && Kind() != XmlNodeKind::CData))
        return {};
    return document_->Text(document_->nodes_[index_].value);
}

XmlNode XmlNode::FirstChild() const noexcept
{
    if (!*this)
        return {};
    const std::uint32_t child = document_->nodes_[index_].firstChild;
    return child == XmlDocument::kNone ? XmlNode() : XmlNode(document_, child);
}

XmlNode XmlNode::NextSibling() const noexcept
{
    if (!*this)
        return {};
    const std::uint32_t next = document_->nodes_[index_].nextSibling;
    return next == XmlDocument::kNone ? XmlNode() : XmlNode(document_, next);
}

XmlNode XmlNode::Child(std::string_view name) const noexcept
{
    for (XmlNode child = FirstChild(); child; child = child.NextSibling()) {
        if (child.Kind() == XmlNodeKind::Element && child.Name() == name)
            return child;
    }
    return {};
}

std::optional<std::string_view> XmlNode::Attribute(std::string_view name) const noexcept
{
    if (!IsElement())
        return std::nullopt;
    const XmlDocument::NodeRecord& node = document_->nodes_[index_];
    for (std::uint32_t i = 0; i < node.attributeCount; ++i) {
        const XmlDocument::AttributeRecord& attribute = document_->attributes_[node.firstAttribute + i];
        if (document_->Text(attribute.name) == name)
            return document_->Text(attribute.value);
    }
    return std::nullopt;
}

void XmlDocument::Charge(std::size_t bytes)
{
    if (bytes > sizeLimit_ - size_)
        throw std::length_error("document tree beyond the expansion bound");
    size_ += bytes;
}

XmlDocument::Span XmlDocument::Store(std::string_view text)
{
    Charge(text.size());
    const Span span{static_cast<std::uint32_t>(text_.size()), static_cast<std::uint32_t>(text.size())};
    text_.append(text);
    return span;
}

// Builds a document from expat's callbacks. Nothing may unwind through the
// parser, a C library: a failure stops the parse and is reported after it.
class XmlTreeBuilder {
public:
    XmlTreeBuilder(XmlDocument& document, XML_Parser parser) : document_(document), parser_(parser)
    {
        XML_SetUserData(parser, this);
        XML_SetElementHandler(parser, OnStart, OnEnd);
        XML_SetCharacterDataHandler(parser, OnCharacters);
        XML_SetCdataSectionHandler(parser, OnCdataStart, OnCdataEnd);
        XML_SetCommentHandler(parser, OnComment);
        XML_SetProcessingInstructionHandler(parser, OnProcessingInstruction);
    }

    bool Failed() const noexcept { return failed_; }

private:
    struct Open {
        std::uint32_t node;
        std::uint32_t lastChild;
    };

    static XmlTreeBuilder& Self(void* data) { return *static_cast<XmlTreeBuilder*>(data); }

    template <typename Step>
    void Guarded(Step step) noexcept
    {
        if (failed_)
            return;
        try {
            step();
        } catch (...) {
            failed_ = true;
            XML_StopParser(parser_, XML_FALSE);
        }
    }

    static bool IsWhitespace(std::string_view text) noexcept
    {
        for (char c : text) {
            if (c != ' ' && c != '\t' && c != '\r' && c != '\n')
                return false;
        }
        return true;
    }

    // Adds a node under the open element, or the document element itself;
    // nothing else outside it (comments and processing instructions before
    // or after it).
    std::uint32_t Add(XmlNodeKind kind, std::string_view name, std::string_view value)
    {
        if (open_.empty() && (kind != XmlNodeKind::Element || !document_.nodes_.empty()))
            return XmlDocument::kNone;
        document_.Charge(sizeof(XmlDocument::NodeRecord));
        XmlDocument::NodeRecord record;
        record.kind = kind;
        record.name = kind == XmlNodeKind::Element ? ElementName(name) : document_.Store(name);
        record.value = document_.Store(value);
        const auto index = static_cast<std::uint32_t>(document_.nodes_.size());
        if (index == XmlDocument::kNone)
            throw std::length_error("too many nodes");
        document_.nodes_.push_back(record);
        if (!open_.empty()) {
            Open& parent = open_.back();
            if (parent.lastChild == XmlDocument::kNone)
                document_.nodes_[parent.node].firstChild = index;
            else
                document_.nodes_[parent.lastChild].nextSibling = index;
            parent.lastChild = index;
        }
        return index;
    }

    // Catalogues repeat a few names thousands of times: each is stored once.
    XmlDocument::Span ElementName(std::string_view name)
    {
        const auto [found, added] = names_.try_emplace(std::string(name));
        if (added)
            found->second = document_.Store(name);
        return found->second;
    }

    void FlushText()
    {
        if (!pending_.empty() && !open_.empty() && !IsWhitespace(pending_))
            Add(XmlNodeKind::Text, {}, pending_);
        pending_.clear();
    }

    static void XMLCALL OnStart(void* data, const XML_Char* name, const XML_Char** attributes)
    {
        XmlTreeBuilder& self = Self(data);
        self.Guarded([&] {
            self.FlushText();
            const std::uint32_t index = self.Add(XmlNodeKind::Element, name, {});
            XmlDocument& document = self.document_;
            XmlDocument::NodeRecord& node = document.nodes_[index];
            node.firstAttribute = static_cast<std::uint32_t>(document.attributes_.size());
            for (const XML_Char** attribute = attributes; *attribute != nullptr; attribute += 2) {
                document.Charge(sizeof(XmlDocument::AttributeRecord));
                document.attributes_.push_back({document.Store(attribute[0]), document.Store(attribute[1])});
                ++node.attributeCount;
            }
            self.open_.push_back({index, XmlDocument::kNone});
        });
    }

    static void XMLCALL OnEnd(void* data, const XML_Char*)
    {
        XmlTreeBuilder& self = Self(data);
        self.Guarded([&] {
            self.FlushText();
            self.open_.pop_back();
        });
    }

    static void XMLCALL OnCharacters(void* data, const XML_Char* text, int length)
    {
        XmlTreeBuilder& self = Self(data);
        self.Guarded([&] { self.pending_.append(text, static_cast<std::size_t>(length)); });
    }

    static void XMLCALL OnCdataStart(void* data)
    {
        XmlTreeBuilder& self = Self(data);
        self.Guarded([&] { self.FlushText(); });
    }

    static void XMLCALL OnCdataEnd(void* data)
    {
        // A CDATA section is a node even when empty or blank.
        XmlTreeBuilder& self = Self(data);
        self.Guarded([&] {
            self.Add(XmlNodeKind::CData, {}, self.pending_);
            self.pending_.clear();
        });
    }

    static void XMLCALL OnComment(void* data, const XML_Char*)
    {
        // Comments count as nodes; their text is never read.
        XmlTreeBuilder& self = Self(data);
        self.Guarded([&] {
            self.FlushText();
            self.Add(XmlNodeKind::Comment, {}, {});
        });
    }

    static void XMLCALL OnProcessingInstruction(void* data, const XML_Char* target, const XML_Char*)
    {
        XmlTreeBuilder& self = Self(data);
        self.Guarded([&] {
            self.FlushText();
            self.Add(XmlNodeKind::ProcessingInstruction, target, {});
        });
    }

    XmlDocument& document_;
    XML_Parser parser_;
    std::vector<Open> open_;
    std::unordered_map<std::string, XmlDocument::Span> names_;
    std::string pending_;  // character data not yet a node
    bool failed_ = false;
};

namespace {

struct ParserDeleter {
    void operator()(XML_Parser parser) const noexcept { XML_ParserFree(parser); }
};
using UniqueParser = std::unique_ptr<std::remove_pointer_t<XML_Parser>, ParserDeleter>;

// UTF-32 bytes (with or without a byte-order mark) as UTF-8; false when a
// unit is no character.
bool Utf32ToUtf8(std::string_view bytes, std::string& out)
{
    if (bytes.size() % 4 != 0)
        return false;
    const auto byte = [&](std::size_t i) { return static_cast<char32_t>(static_cast<unsigned char>(bytes[i])); };
    // Big-endian when the first unit's high bytes come first: 00 00 FE FF or 00 00 00 3C.
    const bool bigEndian = byte(0) == 0 && byte(1) == 0;
    std::size_t pos = 0;
    for (; pos < bytes.size(); pos += 4) {
        const char32_t unit = bigEndian ? (byte(pos) << 24) | (byte(pos + 1) << 16) | (byte(pos + 2) << 8) | byte(pos + 3)
                                        : byte(pos) | (byte(pos + 1) << 8) | (byte(pos + 2) << 16) | (byte(pos + 3) << 24);
        if (pos == 0 && unit == 0xFEFF)
            continue;
        if (!AppendUtf8(out, unit))
            return false;
    }
    return true;
}

} // namespace

std::optional<XmlDocument> ParseXml(std::string_view bytes, const XmlSourceEncoding& encoding)
{
    // The encoding the module reads the bytes in overrides their declaration.
    std::string converted;
    const char* name = nullptr;  // UTF-16: expat finds it by the mark or the zero bytes
    if (encoding.coding == XmlTextCoding::Gbk) {
        // Read as UTF-8 that gives back every GBK byte exactly; faster than
        // a character-by-character encoding handler inside the parser.
        if (!GbkCodeTable::System().AppendUtf8(converted, bytes))
            return std::nullopt;
        bytes = converted;
        name = "UTF-8";
    } else if (encoding.parseAs == XmlParseAs::Utf32) {
        if (!Utf32ToUtf8(bytes, converted))
            return std::nullopt;
        bytes = converted;
        name = "UTF-8";
    } else if (encoding.parseAs == XmlParseAs::Utf8) {
        name = "UTF-8";
    } else if (encoding.parseAs == XmlParseAs::Latin1) {
        name = "ISO-8859-1";
    }
    if (bytes.size() > static_cast<std::size_t>(INT_MAX))
        return std::nullopt;

    const UniqueParser parser(XML_ParserCreate(name));
    if (!parser)
        return std::nullopt;
    // Parameter entities of the internal subset are expanded. There is no
    // external entity handler: expat itself never opens anything, and
    // without the handler external entities and subsets are left out.
    XML_SetParamEntityParsing(parser.get(), XML_PARAM_ENTITY_PARSING_UNLESS_STANDALONE);
    if (!XML_SetBillionLaughsAttackProtectionMaximumAmplification(parser.get(), kMaximumAmplification) ||
        !XML_SetBillionLaughsAttackProtectionActivationThreshold(parser.get(), kAmplificationThreshold))
        return std::nullopt;

    std::optional<XmlDocument> document(std::in_place);
    document->coding_ = encoding.coding;
    // The bound of expansion, applied to the tree as a whole.
    const double limit = std::max(static_cast<double>(kAmplificationThreshold),
                                  static_cast<double>(kMaximumAmplification) * static_cast<double>(bytes.size()));
    document->sizeLimit_ = static_cast<std::size_t>(std::min(limit, static_cast<double>(UINT32_MAX)));
    // Room for what a document of short texts needs, so that the tree is
    // seldom copied while it grows.
    document->text_.reserve(bytes.size());
    document->nodes_.reserve(bytes.size() / 16);
    XmlTreeBuilder builder(*document, parser.get());
    const bool parsed =
        XML_Parse(parser.get(), bytes.data(), static_cast<int>(bytes.size()), XML_TRUE) == XML_STATUS_OK;
    if (!parsed || builder.Failed() || document->nodes_.empty())
        return std::nullopt;
    return document;
}

} // namespace config
