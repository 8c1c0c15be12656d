#pragma once
// Reading texts out of a parsed XML document as GBK.
//
// Documents are parsed with their references left in place (XmlSource.h);
// this reader resolves the five predefined entities and numeric character
// references itself, so that a reference to a Chinese character becomes its
// GBK bytes also in a document whose texts are kept as GBK. CDATA sections
// are taken as they stand.
#include "config/GbkConverter.h"
#include "config/XmlSource.h"

#include <pugixml.hpp>

#include <optional>
#include <string>
#include <string_view>

namespace config {

class XmlTextReader {
public:
    // `converter` is borrowed and must outlive the reader.
    XmlTextReader(XmlTextCoding coding, const GbkConverter& converter) : coding_(coding), converter_(converter) {}

    // The value of a text or CDATA node; empty for any other node.
    std::string NodeValue(pugi::xml_node node) const;

    // The value of an attribute; empty for a missing one.
    std::string AttributeValue(pugi::xml_attribute attribute) const;

    // The text content of a node: its text and CDATA nodes and those of all
    // its descendants, in document order. Empty for a null node.
    std::string TextContent(pugi::xml_node node) const;

    // The text of an element that holds nothing but a single text or CDATA
    // node, or nothing at all (empty text). Anything else (nested elements,
    // comments, more than one node) and a node that is no element give
    // nullopt: the element is not plain text.
    std::optional<std::string> PlainText(pugi::xml_node element) const;

private:
    // Appends a raw text in the document's coding with its references
    // resolved; numeric references come out in the document's coding too.
    void AppendResolved(std::string& out, std::string_view raw) const;
    // Turns a text in the document's coding into GBK.
    std::string ToGbk(std::string text) const;
    void AppendNode(std::string& out, pugi::xml_node node) const;

    XmlTextCoding coding_;
    const GbkConverter& converter_;
};

} // namespace config
