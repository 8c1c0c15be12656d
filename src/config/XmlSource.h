#pragma once
// How the module reads the bytes of an XML file: which encoding they are in
// and how pugixml is to take them.
//
// A byte-order mark decides first, then the declared encoding, then the
// bytes themselves: text that is valid UTF-8 is UTF-8, anything else is GBK.
// A UTF-8 declaration on bytes that are no UTF-8 is taken as a wrong label
// on a GBK file.
// GBK-family text (GB2312, GBK, GB18030, CP936) is kept as it is; every
// Unicode encoding is converted to GBK when a text is read (XmlText.h).
#include <pugixml.hpp>

#include <string_view>

namespace config {

enum class XmlTextCoding {
    Gbk,      // texts in the document are GBK bytes already
    Unicode,  // pugixml delivers UTF-8, to be converted to GBK
};

struct XmlSourceEncoding {
    XmlTextCoding coding = XmlTextCoding::Unicode;
    pugi::xml_encoding parseAs = pugi::encoding_auto;
};

// The encoding of a whole file's bytes.
XmlSourceEncoding DetectXmlEncoding(std::string_view bytes);

// The encoding that a file's bytes declare, by byte-order mark or XML
// declaration; bytes that declare none, or a GBK-family encoding, are GBK as
// they stand (no guessing from the bytes).
XmlSourceEncoding DeclaredXmlSourceEncoding(std::string_view bytes);

// The value of the encoding pseudo-attribute of the XML declaration at the
// very start of `bytes`; empty when there is none.
std::string_view DeclaredXmlEncoding(std::string_view bytes);

// True when the bytes begin as UTF-32, with or without a byte-order mark.
bool StartsAsUtf32(std::string_view bytes) noexcept;

// Parse options of the module's XML files: pugixml's defaults (CDATA kept,
// whitespace-only text dropped), comments as nodes, and character and entity
// references left in the text so that XmlTextReader resolves them into GBK.
inline constexpr unsigned kXmlParseOptions =
    (pugi::parse_default | pugi::parse_comments) & ~pugi::parse_escapes;

// Parses `bytes` taken as `encoding` with `options`. False, with nothing to
// read in `document`, when the bytes are no well-formed document
// (XmlWellFormed.h) or pugixml cannot build one.
bool LoadXml(pugi::xml_document& document, std::string_view bytes, const XmlSourceEncoding& encoding,
             unsigned options = kXmlParseOptions);

} // namespace config
