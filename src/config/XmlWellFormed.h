#pragma once
// Whether a file's bytes are a well-formed XML 1.0 document. pugixml, which
// builds the module's documents, accepts some that are not (a bare '&', an
// undefined entity, a second top-level element, text after the root): the
// module reads a document only when expat, a conforming parser, finds it
// well-formed.
#include "config/XmlSource.h"

#include <string_view>

namespace config {

// GBK documents are checked as GBK whatever they declare; a byte pair that
// cannot be a GBK character (a trail byte below 0x40, 0x7F or 0xFF) makes
// the document malformed, since it would hide markup such as '<'. Documents
// in UTF-32, which expat does not read, are left to pugixml alone.
bool IsWellFormedXml(std::string_view bytes, const XmlSourceEncoding& encoding);

} // namespace config
