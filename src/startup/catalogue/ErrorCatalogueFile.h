#pragma once
// "errmsg.xml" read as the loader reads it, and nothing else: nothing is
// written and nothing of the host is asked. The plan is made from what this
// gives; the installation check calls only this and the plan.
#include "startup/catalogue/ErrorCataloguePlan.h"

#include <string>

namespace startup {

// The file as the loader finds it: its bytes, or the loader's message for a
// file that is missing ([0001]) or cannot be read.
CatalogueFile ReadErrorCatalogueFile(const std::string& file);

} // namespace startup
