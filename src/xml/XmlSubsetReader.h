#pragma once
// A fast reader of the plain XML that the module's files are written in:
// UTF-8 or GBK documents without a document type declaration, without
// character references, and with names in ASCII. Within that subset it
// checks everything a conforming parser checks and reports the nodes exactly
// as StreamXmlWithExpat (XmlDocument.h) does, line numbers included.
// Whatever lies outside the subset, and every malformed document, it
// declines, and the conforming parser reads the document instead: so it
// decides nothing that expat would decide otherwise, and a document's fate
// never depends on which of the two read it.
#include "xml/XmlNodeSink.h"
#include "xml/XmlSource.h"

#include <string_view>

namespace xml {

// True when the whole document was read into `sink`. False when the reader
// declined it; the sink may then have received some of its nodes, and
// must be restarted before it receives them again. A sink that throws
// makes the reader decline, so that the conforming parser's run fails in
// its own way.
bool ReadXmlSubset(std::string_view bytes, const XmlSourceEncoding& encoding, XmlNodeSink& sink) noexcept;

} // namespace xml
