#pragma once
// Reading the bytes of "errmsg.xml" into catalogue entries. OS-free: bytes
// in, entries out; the code-page conversion comes from the caller.
//
// Every child node of the document element, in document order, is one entry,
// whatever it is (a comment is an entry too; whitespace between elements is
// no node). Inside an element entry the children "CODE", "MSG", "moduleType"
// and "insideCode" are read by exact name, each on its own:
//
//   field       missing or empty   not plain text / not a number / no element
//   CODE        0                  0
//   MSG         empty              empty
//   moduleType  empty              "0"
//   insideCode  empty              "0"
//
// CODE is read as a whole number (NumberText.h).
#include "text/GbkConverter.h"
#include "xml/XmlDocument.h"
#include "xml/XmlSource.h"

#include <array>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace startup {

struct ErrorCatalogueEntry {
    std::int32_t code = 0;
    std::string msg;         // GBK
    std::string moduleType;  // GBK
    std::string insideCode;  // GBK
};

struct ParsedErrorCatalogue {
    // False when the bytes are no XML document or have no document element
    // (an empty file among them).
    bool loaded = false;
    std::vector<ErrorCatalogueEntry> entries;
};

ParsedErrorCatalogue ParseErrorCatalogue(std::string_view bytes, const text::GbkConverter& converter);

// Where an entry and its fields stand in the document, and what the fields
// held before they were read as the module reads them; for the catalogue's
// plan (ErrorCataloguePlan.h).
enum class CatalogueEntryKind { Element, Text, Comment, ProcessingInstruction };

struct CatalogueFieldSource {
    std::uint32_t line = 0;       // of the field's element; 0 when absent
    bool present = false;         // the entry has an element of this name
    bool plain = false;           // it holds plain text (or nothing)
    bool lostCharacters = false;  // characters GBK cannot hold became '?'
    std::string text;             // its text as GBK when plain
};

struct CatalogueEntrySource {
    std::uint32_t line = 0;
    CatalogueEntryKind kind = CatalogueEntryKind::Element;
    std::string name;                              // an element's name or an instruction's target (UTF-8)
    std::array<CatalogueFieldSource, 4> fields{};  // CODE, MSG, moduleType, insideCode
};

struct ErrorCatalogueReading {
    ParsedErrorCatalogue parsed;
    std::vector<CatalogueEntrySource> sources;       // one per entry
    xml::XmlSourceEncoding encoding;                 // how the bytes were read
    std::string_view declaredEncoding;               // as the declaration names it; views the bytes
    xml::XmlParseFailure failure;                    // when not loaded
};

// ParseErrorCatalogue with the sources of every entry. The same entries.
ErrorCatalogueReading ReadErrorCatalogueSources(std::string_view bytes, const text::GbkConverter& converter);

// "GBK", "UTF-8", "UTF-16", "UTF-32" or "ISO-8859-1": how the bytes are read.
std::string_view XmlEncodingName(const xml::XmlSourceEncoding& encoding) noexcept;

} // namespace startup
