#pragma once
// Reading texts out of a parsed XML document as GBK.
//
// The parser has resolved every reference; its texts are UTF-8. A GBK
// document's texts come back as the very bytes of the file (GbkCodeTable.h),
// a Unicode document's characters become the GBK sequences the code page
// decodes to them, and any other character what the platform's converter
// makes of it.
#include "text/GbkConverter.h"
#include "xml/XmlDocument.h"

#include <optional>
#include <string>
#include <string_view>

namespace xml {

class XmlTextReader {
public:
    // `converter` is borrowed and must outlive the reader.
    XmlTextReader(XmlTextCoding coding, const text::GbkConverter& converter) : coding_(coding), converter_(converter) {}

    // The value of a text or CDATA node; empty for any other node.
    std::string NodeValue(XmlNode node) const;

    // The value of an element's attribute; empty for a missing one.
    std::string AttributeValue(XmlNode element, std::string_view name) const;

    // The text content of a node: its text and CDATA nodes and those of all
    // its descendants, in document order. Empty for a null node.
    std::string TextContent(XmlNode node) const;

    // The text of an element that holds nothing but a single text or CDATA
    // node, or nothing at all (empty text). Anything else (nested elements,
    // comments, more than one node) and a node that is no element give
    // nullopt: the element is not plain text.
    std::optional<std::string> PlainText(XmlNode element) const;

    // Turns a text of the parser (UTF-8) into GBK.
    std::string ToGbk(std::string_view text) const;

private:
    void AppendContent(std::string& out, XmlNode node) const;

    XmlTextCoding coding_;
    const text::GbkConverter& converter_;
};

} // namespace xml
