#include "xml/XmlDocument.h"

#include "text/GbkCodeTable.h"
#include "text/Utf8Text.h"
#include "xml/XmlSubsetReader.h"

#include <expat.h>

#include <algorithm>
#include <array>
#include <climits>
#include <memory>
#include <stdexcept>
#include <unordered_map>
#include <unordered_set>

namespace xml {

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

std::uint32_t XmlNode::Line() const noexcept
{
    return IsElement() ? document_->nodes_[index_].line : 0;
}

XmlDocument::Span XmlDocument::Store(std::string_view text)
{
    const Span span{static_cast<std::uint32_t>(text_.size()), static_cast<std::uint32_t>(text.size())};
    text_.append(text);
    return span;
}

// Drives expat over the bytes and reports the nodes to a sink, counting
// what the tree of those nodes would take against the bound. Nothing may
// unwind through the parser, a C library: a failure stops the parse and is
// reported after it.
class XmlStreamer final : XmlPosition {
public:
    XmlStreamer(XML_Parser parser, XmlNodeSink& sink, std::size_t sizeLimit)
        : parser_(parser), sink_(sink), sizeLimit_(sizeLimit)
    {
        XML_SetUserData(parser, this);
        XML_SetElementHandler(parser, OnStart, OnEnd);
        XML_SetCharacterDataHandler(parser, OnCharacters);
        XML_SetCdataSectionHandler(parser, OnCdataStart, OnCdataEnd);
        XML_SetCommentHandler(parser, OnComment);
        XML_SetProcessingInstructionHandler(parser, OnProcessingInstruction);
        sink_.position_ = this;
        sink_.gbkTexts_ = false;
    }

    ~XmlStreamer() { sink_.position_ = nullptr; }
    XmlStreamer(const XmlStreamer&) = delete;
    XmlStreamer& operator=(const XmlStreamer&) = delete;

    bool Failed() const noexcept { return failed_; }
    // Why a handler stopped the parse.
    const std::string& Reason() const noexcept { return reason_; }

private:
    std::uint32_t Line() const noexcept override
    {
        return static_cast<std::uint32_t>(XML_GetCurrentLineNumber(parser_));
    }

    struct NameHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view name) const noexcept { return std::hash<std::string_view>()(name); }
    };

    // The fast reader counts on small records to stay within the bound
    // without counting (XmlSubsetReader.cpp).
    static_assert(sizeof(XmlDocument::NodeRecord) + sizeof(XmlDocument::AttributeRecord) < 64);

    static XmlStreamer& Self(void* data) { return *static_cast<XmlStreamer*>(data); }

    template <typename Step>
    void Guarded(Step step) noexcept
    {
        if (failed_)
            return;
        try {
            step();
        } catch (const std::exception& e) {
            Stop(e.what());
        } catch (...) {
            Stop("the parse was stopped");
        }
    }

    void Stop(const char* reason) noexcept
    {
        failed_ = true;
        try {
            reason_ = reason;
        } catch (...) {
        }
        XML_StopParser(parser_, XML_FALSE);
    }

    static bool IsWhitespace(std::string_view text) noexcept
    {
        for (char c : text) {
            if (c != ' ' && c != '\t' && c != '\r' && c != '\n')
                return false;
        }
        return true;
    }

    // Counts `bytes` more of the tree against its bound.
    void Charge(std::size_t bytes)
    {
        if (bytes > sizeLimit_ - size_)
            throw std::length_error("document tree beyond the expansion bound");
        size_ += bytes;
    }

    // A node outside the document element is no node of the tree.
    bool Inside() const noexcept { return depth_ > 0; }

    // The tree keeps each element name once. A document repeats a few
    // names over and over: the last ones met are looked at first.
    void ChargeElement(std::string_view name)
    {
        Charge(sizeof(XmlDocument::NodeRecord));
        for (std::string_view recent : recentNames_) {
            if (recent == name)
                return;
        }
        auto found = names_.find(name);
        if (found == names_.end()) {
            Charge(name.size());
            found = names_.emplace(name).first;
        }
        // Names in the set keep their place: a view of one stays valid.
        recentNames_[nextRecent_] = *found;
        nextRecent_ = (nextRecent_ + 1) % recentNames_.size();
    }

    void FlushText()
    {
        if (!pending_.empty() && Inside() && !IsWhitespace(pending_)) {
            Charge(sizeof(XmlDocument::NodeRecord) + pending_.size());
            sink_.Text(pending_);
        }
        pending_.clear();
    }

    static void XMLCALL OnStart(void* data, const XML_Char* name, const XML_Char** attributes)
    {
        XmlStreamer& self = Self(data);
        self.Guarded([&] {
            self.FlushText();
            if (!self.Inside() && self.rootSeen_)
                throw std::logic_error("a second document element");
            const std::string_view element(name);
            self.ChargeElement(element);
            for (const XML_Char** attribute = attributes; *attribute != nullptr; attribute += 2)
                self.Charge(sizeof(XmlDocument::AttributeRecord) + std::char_traits<char>::length(attribute[0]) +
                            std::char_traits<char>::length(attribute[1]));
            self.sink_.StartElement(element, attributes);
            self.rootSeen_ = true;
            ++self.depth_;
        });
    }

    static void XMLCALL OnEnd(void* data, const XML_Char*)
    {
        XmlStreamer& self = Self(data);
        self.Guarded([&] {
            self.FlushText();
            self.sink_.EndElement();
            --self.depth_;
        });
    }

    static void XMLCALL OnCharacters(void* data, const XML_Char* text, int length)
    {
        XmlStreamer& self = Self(data);
        self.Guarded([&] { self.pending_.append(text, static_cast<std::size_t>(length)); });
    }

    static void XMLCALL OnCdataStart(void* data)
    {
        XmlStreamer& self = Self(data);
        self.Guarded([&] { self.FlushText(); });
    }

    static void XMLCALL OnCdataEnd(void* data)
    {
        // A CDATA section is a node even when empty or blank.
        XmlStreamer& self = Self(data);
        self.Guarded([&] {
            if (self.Inside()) {
                self.Charge(sizeof(XmlDocument::NodeRecord) + self.pending_.size());
                self.sink_.CData(self.pending_);
            }
            self.pending_.clear();
        });
    }

    static void XMLCALL OnComment(void* data, const XML_Char*)
    {
        // Comments count as nodes; their text is never read.
        XmlStreamer& self = Self(data);
        self.Guarded([&] {
            self.FlushText();
            if (self.Inside()) {
                self.Charge(sizeof(XmlDocument::NodeRecord));
                self.sink_.Comment();
            }
        });
    }

    static void XMLCALL OnProcessingInstruction(void* data, const XML_Char* target, const XML_Char*)
    {
        XmlStreamer& self = Self(data);
        self.Guarded([&] {
            self.FlushText();
            if (self.Inside()) {
                const std::string_view name(target);
                self.Charge(sizeof(XmlDocument::NodeRecord) + name.size());
                self.sink_.ProcessingInstruction(name);
            }
        });
    }

    XML_Parser parser_;
    XmlNodeSink& sink_;
    std::size_t sizeLimit_;  // what the tree may take, at most 4 GB: spans are 32-bit
    std::size_t size_ = 0;
    std::size_t depth_ = 0;
    bool rootSeen_ = false;
    std::unordered_set<std::string, NameHash, std::equal_to<>> names_;
    std::array<std::string_view, 8> recentNames_{};
    std::size_t nextRecent_ = 0;
    std::string pending_;  // character data not yet a node
    bool failed_ = false;
    std::string reason_;
};

// Builds the tree from the nodes a parse reports.
class XmlTreeBuilder final : public XmlNodeSink {
public:
    explicit XmlTreeBuilder(XmlDocument& document) : document_(document) {}

    void StartElement(std::string_view name, const char* const* attributes) override
    {
        const std::uint32_t index = Add(XmlNodeKind::Element, ElementName(name), {});
        XmlDocument::NodeRecord& node = document_.nodes_[index];
        node.line = Line();
        node.firstAttribute = static_cast<std::uint32_t>(document_.attributes_.size());
        for (const char* const* attribute = attributes; *attribute != nullptr; attribute += 2) {
            document_.attributes_.push_back({document_.Store(attribute[0]), document_.Store(attribute[1])});
            ++node.attributeCount;
        }
        open_.push_back({index, XmlDocument::kNone});
    }

    void EndElement() override { open_.pop_back(); }
    void Restart() override
    {
        document_.text_.clear();
        document_.nodes_.clear();
        document_.attributes_.clear();
        open_.clear();
        names_.clear();
    }
    void Text(std::string_view text) override { Add(XmlNodeKind::Text, document_.Store({}), text); }
    void CData(std::string_view text) override { Add(XmlNodeKind::CData, document_.Store({}), text); }
    void Comment() override { Add(XmlNodeKind::Comment, document_.Store({}), {}); }
    void ProcessingInstruction(std::string_view target) override
    {
        Add(XmlNodeKind::ProcessingInstruction, document_.Store(target), {});
    }

private:
    struct Open {
        std::uint32_t node;
        std::uint32_t lastChild;
    };

    // Adds a node under the open element, or the document element itself.
    std::uint32_t Add(XmlNodeKind kind, XmlDocument::Span name, std::string_view value)
    {
        XmlDocument::NodeRecord record;
        record.kind = kind;
        record.name = name;
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

    XmlDocument& document_;
    std::vector<Open> open_;
    std::unordered_map<std::string, XmlDocument::Span> names_;
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
        if (!text::AppendUtf8(out, unit))
            return false;
    }
    return true;
}

} // namespace

namespace {

bool Fail(XmlParseFailure* failure, std::uint32_t line, std::string_view reason)
{
    if (failure != nullptr) {
        failure->line = line;
        failure->reason = reason;
    }
    return false;
}

} // namespace

bool StreamXml(std::string_view bytes, const XmlSourceEncoding& encoding, XmlNodeSink& sink, XmlParseFailure* failure)
{
    if (ReadXmlSubset(bytes, encoding, sink))
        return true;
    sink.Restart();
    return StreamXmlWithExpat(bytes, encoding, sink, failure);
}

bool StreamXmlWithExpat(std::string_view bytes, const XmlSourceEncoding& encoding, XmlNodeSink& sink,
                        XmlParseFailure* failure)
{
    constexpr const char kNotInItsEncoding[] = "the bytes are no text of the encoding they are read in";
    constexpr const char kTooLarge[] = "the document is too large";
    // The encoding the module reads the bytes in overrides their declaration.
    std::string converted;
    const char* name = nullptr;  // UTF-16: expat finds it by the mark or the zero bytes
    // A GBK document is read as UTF-8 that gives back every GBK byte
    // exactly (faster than a character-by-character encoding handler inside
    // the parser), written straight into the parser's own buffer.
    const bool gbkIntoBuffer = encoding.coding == XmlTextCoding::Gbk &&
                               bytes.size() <= static_cast<std::size_t>(INT_MAX) / text::GbkCodeTable::kMaximumUtf8PerByte;
    if (encoding.coding == XmlTextCoding::Gbk) {
        if (!gbkIntoBuffer && !text::GbkCodeTable::System().AppendUtf8(converted, bytes))
            return Fail(failure, 0, kNotInItsEncoding);
        if (!gbkIntoBuffer)
            bytes = converted;
        name = "UTF-8";
    } else if (encoding.parseAs == XmlParseAs::Utf32) {
        if (!Utf32ToUtf8(bytes, converted))
            return Fail(failure, 0, kNotInItsEncoding);
        bytes = converted;
        name = "UTF-8";
    } else if (encoding.parseAs == XmlParseAs::Utf8) {
        name = "UTF-8";
    } else if (encoding.parseAs == XmlParseAs::Latin1) {
        name = "ISO-8859-1";
    }
    if (bytes.size() > static_cast<std::size_t>(INT_MAX))
        return Fail(failure, 0, kTooLarge);

    const UniqueParser parser(XML_ParserCreate(name));
    if (!parser)
        return Fail(failure, 0, "no parser");
    // Parameter entities of the internal subset are expanded. There is no
    // external entity handler: expat itself never opens anything, and
    // without the handler external entities and subsets are left out.
    XML_SetParamEntityParsing(parser.get(), XML_PARAM_ENTITY_PARSING_UNLESS_STANDALONE);
    if (!XML_SetBillionLaughsAttackProtectionMaximumAmplification(parser.get(), kMaximumAmplification) ||
        !XML_SetBillionLaughsAttackProtectionActivationThreshold(parser.get(), kAmplificationThreshold))
        return Fail(failure, 0, "no parser");

    std::optional<std::size_t> length = bytes.size();
    void* buffer = nullptr;
    if (gbkIntoBuffer) {
        buffer = XML_GetBuffer(parser.get(), static_cast<int>(bytes.size() * text::GbkCodeTable::kMaximumUtf8PerByte));
        if (buffer == nullptr)
            return Fail(failure, 0, kTooLarge);
        length = text::GbkCodeTable::System().WriteUtf8(static_cast<char*>(buffer), bytes);
        if (!length)
            return Fail(failure, 0, kNotInItsEncoding);
    }
    // The bound of expansion, applied to the tree as a whole, from the size
    // of what the parser reads.
    const double limit = std::max(static_cast<double>(kAmplificationThreshold),
                                  static_cast<double>(kMaximumAmplification) * static_cast<double>(*length));
    XmlStreamer streamer(parser.get(), sink, static_cast<std::size_t>(std::min(limit, static_cast<double>(UINT32_MAX))));
    const bool parsed =
        (buffer != nullptr ? XML_ParseBuffer(parser.get(), static_cast<int>(*length), XML_TRUE)
                           : XML_Parse(parser.get(), bytes.data(), static_cast<int>(bytes.size()), XML_TRUE)) ==
        XML_STATUS_OK;
    if (parsed && !streamer.Failed())
        return true;
    const auto line = static_cast<std::uint32_t>(XML_GetCurrentLineNumber(parser.get()));
    if (streamer.Failed())
        return Fail(failure, line, streamer.Reason());
    return Fail(failure, line, XML_ErrorString(XML_GetErrorCode(parser.get())));
}

std::optional<XmlDocument> ParseXml(std::string_view bytes, const XmlSourceEncoding& encoding,
                                    XmlParseFailure* failure)
{
    std::optional<XmlDocument> document(std::in_place);
    document->coding_ = encoding.coding;
    // Room for what a document of short texts needs, so that the tree is
    // seldom copied while it grows.
    document->text_.reserve(bytes.size());
    document->nodes_.reserve(bytes.size() / 16);
    XmlTreeBuilder builder(*document);
    if (!StreamXml(bytes, encoding, builder, failure))
        return std::nullopt;
    if (document->nodes_.empty()) {
        Fail(failure, 1, "no document element");
        return std::nullopt;
    }
    return document;
}

} // namespace xml
