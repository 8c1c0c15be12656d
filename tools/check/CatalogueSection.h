#pragma once
// The error catalogue's section: whether "errmsg.xml" loads, how many
// entries the host gets, the encoding the file is read in, notes on entries
// that are no elements, and every problem with its line.
#include "CheckSection.h"

#include "startup/catalogue/ErrorCataloguePlan.h"

#include <memory>

namespace check {

std::unique_ptr<CheckSection> MakeCatalogueSection(startup::ErrorCataloguePlan plan);

} // namespace check
