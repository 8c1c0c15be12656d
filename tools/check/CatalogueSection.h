#pragma once
// The error catalogue's section: whether "errmsg.xml" loads, how many
// entries the host gets, the encoding the file is read in, notes on entries
// that are no elements, and every problem with its line.
#include "CheckSection.h"

#include "startup/catalogue/ErrorCataloguePlan.h"

#include <memory>
#include <optional>
#include <string_view>

namespace check {

// `fileBytes`: the catalogue file as read, from which a failure's cause is
// told where the plan alone cannot tell it.
std::unique_ptr<CheckSection> MakeCatalogueSection(startup::ErrorCataloguePlan plan, std::string_view fileBytes = {});

// Why a catalogue that does not load fails, when its bytes tell: a UTF-16
// byte-order mark in front of a declaration of another encoding. None
// otherwise.
std::optional<startup::PlanProblem> CatalogueFailureCause(const startup::ErrorCataloguePlan& plan,
                                                         std::string_view fileBytes);

} // namespace check
