#pragma once
// What loading "errmsg.xml" would do, and everything wrong with the file,
// without publishing anything. OS-free: the file's state and bytes come from
// the caller (ReadErrorCatalogueFile in ErrorCatalogueFile.h).
//
// Problems: a file that is missing, unreadable or not well-formed (the
// start fails with the loader's message); an element entry without CODE or
// MSG; a CODE that is no whole number or lies outside 32 bits; a field
// that is not plain text; a code that an earlier entry already has; a text
// with characters that GBK cannot hold. A node under the document element
// that is no element (a comment) is an entry of its own: a note, not a
// problem, since catalogues use comments to group their entries.
#include "startup/catalogue/ErrorCatalogueParser.h"
#include "text/GbkConverter.h"
#include "startup/PlanProblem.h"

#include <string>
#include <string_view>
#include <vector>

namespace startup {

// The catalogue file as the loader finds it.
struct CatalogueFile {
    std::string path;
    bool read = false;           // bytes hold the whole file
    std::string failureMessage;  // the loader's message when not read
    std::string bytes;
};

struct CatalogueNote {
    unsigned long line = 0;
    std::string message;  // GBK
};

struct ErrorCataloguePlan {
    std::string file;
    bool loads = false;           // the catalogue would be published
    std::string failureMessage;   // otherwise the start's "ResultMsgStr"
    std::string encoding;         // how the bytes are read ("GBK", "UTF-8", ...)
    std::string declaredEncoding; // as the XML declaration names it; empty when none
    std::vector<ErrorCatalogueEntry> entries;
    std::vector<unsigned long> entryLines;  // the line of each entry
    std::vector<CatalogueNote> notes;
    std::vector<PlanProblem> problems;
};

ErrorCataloguePlan PlanErrorCatalogue(const CatalogueFile& file, const text::GbkConverter& converter);

} // namespace startup
