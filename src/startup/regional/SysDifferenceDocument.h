#pragma once
// Reading one "SysDifference.xml" into records. OS-free: the file's bytes in,
// records out. The bytes are GBK as they stand unless a byte-order mark or
// the XML declaration names a Unicode encoding; then the texts are converted
// to GBK. A document that is not well-formed gives no records.
//
//   <ANY ZCODE="32">
//     <DIFF-PARAMETERS>
//       <DIFF-PARAMETER><NAME/><TYPE/><VALUE/></DIFF-PARAMETER> ...
//     </DIFF-PARAMETERS>
//     <DIFF-FILES>
//       <DIFF-FILE><NAME/><TYPE/><TARGETDIR/></DIFF-FILE> ...
//     </DIFF-FILES>
//   </ANY>
//
// Every child text is the element's text content as the parser resolves it,
// then passed once more through DecodeXmlEntities ("&amp;lt;" gives "<"),
// then trimmed, except VALUE, which keeps its blanks. A missing element reads
// as empty text. Only the first DIFF-PARAMETERS and DIFF-FILES count, and
// inside them only children named exactly DIFF-PARAMETER and DIFF-FILE.
#include "text/GbkConverter.h"
#include "xml/XmlDocument.h"

#include <cstdint>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace startup {

// An item whose texts could not be read (a conversion that failed) is kept
// in its place with `readable` false and empty texts, so that the caller
// reports it as that item's failure and goes on with the next.
struct DifferenceParameter {
    std::string name;   // trimmed
    std::string type;   // trimmed; compared ignoring case by the caller
    std::string value;  // not trimmed
    bool readable = true;
    std::uint32_t line = 0;  // of its DIFF-PARAMETER start tag
};

struct DifferenceFileItem {
    std::string name;       // a file or directory in the configuration's folder
    std::string type;       // "0" for a file, anything else for a directory
    std::string targetDir;  // empty, relative to the sub-application folder, or with ':' absolute
    bool readable = true;
    std::uint32_t line = 0;  // of its DIFF-FILE start tag
};

struct SysDifferenceDocument {
    std::string zcode;           // attribute ZCODE of the document element, trimmed; empty when unreadable
    std::uint32_t rootLine = 0;  // of the document element's start tag
    std::vector<DifferenceParameter> parameters;
    std::vector<DifferenceFileItem> files;
};

// nullopt when the bytes are no XML document with a document element;
// `failure`, when given, then says where and why.
std::optional<SysDifferenceDocument> ParseSysDifference(std::string_view bytes, const text::GbkConverter& converter,
                                                        xml::XmlParseFailure* failure = nullptr);

} // namespace startup
