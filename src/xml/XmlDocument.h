#pragma once
// The module's XML documents: a small read-only tree that the conforming
// parser (expat) builds from its callbacks, in one pass over the bytes; most
// documents are read as expat reads them by a faster reader of plain XML.
//
// What the parser reports is what the tree holds: references to the
// entities declared in the document's internal subset are expanded,
// character references resolved, attribute defaults of the internal subset
// applied. External entities and external DTD subsets are never read (no
// file or network access from a document); a reference to one is left out.
// Nested expansion is bounded: a document whose expansion grows beyond
// kMaximumAmplification times its own size (once past
// kAmplificationThreshold bytes) is malformed. So is one whose tree (its
// names, texts and records) would take more bytes than that: the parser
// copies an attribute default of the internal subset into every element
// without counting it again.
//
// Under an element the tree holds elements, texts, CDATA sections, comments
// and processing instructions in document order. Adjacent character data
// (split by references or lines) is one text; a text of whitespace only is
// no node. Names and texts are UTF-8; XmlTextReader gives them as GBK.
#include "xml/XmlNodeSink.h"
#include "xml/XmlSource.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace xml {

inline constexpr float kMaximumAmplification = 100.0f;
inline constexpr unsigned long long kAmplificationThreshold = 1024 * 1024;

enum class XmlNodeKind : std::uint8_t { Element, Text, CData, Comment, ProcessingInstruction };

class XmlDocument;
class XmlStreamer;

// Where and why a parse failed, for reports that name the place. `line`
// counts from 1; 0 when the failure lies in the bytes as a whole (they are
// no text of their encoding) rather than at a place of the document.
struct XmlParseFailure {
    std::uint32_t line = 0;
    std::string reason;
};

// A node of a document, or the null node (false). Valid as long as its
// document.
class XmlNode {
public:
    XmlNode() = default;

    explicit operator bool() const noexcept { return document_ != nullptr; }
    XmlNodeKind Kind() const noexcept;
    bool IsElement() const noexcept { return *this && Kind() == XmlNodeKind::Element; }
    // The element's name or the processing instruction's target.
    std::string_view Name() const noexcept;
    // The text of a text or CDATA node; empty for any other.
    std::string_view Value() const noexcept;

    XmlNode FirstChild() const noexcept;
    XmlNode NextSibling() const noexcept;
    // The first child element named exactly `name`; null when none.
    XmlNode Child(std::string_view name) const noexcept;
    // The value of the element's attribute `name`; nullopt when it has none.
    std::optional<std::string_view> Attribute(std::string_view name) const noexcept;
    // The line (from 1) of an element's start tag; 0 for the null node and
    // for nodes that are no element.
    std::uint32_t Line() const noexcept;

    bool operator==(const XmlNode&) const = default;

private:
    friend class XmlDocument;
    XmlNode(const XmlDocument* document, std::uint32_t index) : document_(document), index_(index) {}

    const XmlDocument* document_ = nullptr;
    std::uint32_t index_ = 0;
};

class XmlDocument {
public:
    // How the document's texts become GBK (XmlTextReader).
    XmlTextCoding Coding() const noexcept { return coding_; }
    XmlNode DocumentElement() const noexcept { return nodes_.empty() ? XmlNode() : XmlNode(this, 0); }

private:
    friend class XmlNode;
    friend class XmlTreeBuilder;
    friend class XmlStreamer;
    friend std::optional<XmlDocument> ParseXml(std::string_view bytes, const XmlSourceEncoding& encoding,
                                               XmlParseFailure* failure);

    static constexpr std::uint32_t kNone = UINT32_MAX;

    struct Span {
        std::uint32_t at = 0;
        std::uint32_t size = 0;
    };
    struct NodeRecord {
        XmlNodeKind kind;
        std::uint32_t firstChild = kNone;
        std::uint32_t nextSibling = kNone;
        std::uint32_t firstAttribute = 0;
        std::uint32_t attributeCount = 0;
        std::uint32_t line = 0;
        Span name;
        Span value;
    };
    struct AttributeRecord {
        Span name;
        Span value;
    };

    std::string_view Text(Span span) const noexcept { return std::string_view(text_).substr(span.at, span.size); }
    Span Store(std::string_view text);

    XmlTextCoding coding_ = XmlTextCoding::Unicode;
    std::string text_;               // every name and text, back to back; element names once each
    std::vector<NodeRecord> nodes_;  // the document element first
    std::vector<AttributeRecord> attributes_;
};

// Parses as ParseXml does and reports every node to `sink`. False exactly
// where ParseXml gives nullopt: the bound on the tree's size is counted as
// if the tree were built. After false, what the sink received is to be
// thrown away; `failure`, when given, then says where and why.
//
// Most documents are read by a fast reader of the plain XML that the
// module's files are written in (XmlSubsetReader.h); the conforming parser
// reads every document that reader leaves to it.
bool StreamXml(std::string_view bytes, const XmlSourceEncoding& encoding, XmlNodeSink& sink,
               XmlParseFailure* failure = nullptr);

// The same by the conforming parser alone, as StreamXml reads the documents
// the fast reader leaves to it; for checks that compare the two.
bool StreamXmlWithExpat(std::string_view bytes, const XmlSourceEncoding& encoding, XmlNodeSink& sink,
                        XmlParseFailure* failure = nullptr);

// Parses a whole file's bytes taken as `encoding`. nullopt when they are no
// well-formed XML 1.0 document, when expansion passes the bound, or when the
// tree cannot be built. A GBK document is read as GBK whatever it declares;
// a pair whose trail byte cannot be one (below 0x40, 0x7F or 0xFF) makes it
// malformed, since it would hide markup such as '<'. After nullopt,
// `failure`, when given, says where and why.
std::optional<XmlDocument> ParseXml(std::string_view bytes, const XmlSourceEncoding& encoding,
                                    XmlParseFailure* failure = nullptr);

} // namespace xml
