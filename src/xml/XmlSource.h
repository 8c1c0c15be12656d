#pragma once
// How the module reads the bytes of an XML file: which encoding they are in
// and how the parser is to take them.
//
// A byte-order mark decides first, then the declared encoding, then the
// bytes themselves: text that is valid UTF-8 is UTF-8, anything else is GBK.
// A UTF-8 declaration on bytes that are no UTF-8 is taken as a wrong label
// on a GBK file.
// GBK-family text (GB2312, GBK, GB18030, CP936) reads back byte for byte;
// every Unicode encoding is converted to GBK when a text is read
// (XmlTextReader.h).
#include <string_view>

namespace xml {

enum class XmlTextCoding {
    Gbk,      // the document's texts are GBK bytes, to be given back exactly
    Unicode,  // the document is Unicode (or Latin-1), its texts converted to GBK
};

// The byte form a Unicode document is parsed in; a GBK document is parsed
// as GBK whatever this says.
enum class XmlParseAs {
    Utf8,
    Latin1,
    Utf16,  // by its byte-order mark or the zero bytes of "<?"
    Utf32,  // likewise; converted to UTF-8 before the parse
};

struct XmlSourceEncoding {
    XmlTextCoding coding = XmlTextCoding::Unicode;
    XmlParseAs parseAs = XmlParseAs::Utf8;
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

} // namespace xml
