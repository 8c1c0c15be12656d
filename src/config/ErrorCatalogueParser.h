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
#include "config/GbkConverter.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace config {

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

ParsedErrorCatalogue ParseErrorCatalogue(std::string_view bytes, const GbkConverter& converter);

} // namespace config
