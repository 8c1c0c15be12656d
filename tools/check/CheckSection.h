#pragma once
// One section of the installation check's report: one start-up step's plan
// told as text and as JSON, with the problems it found. The check's main
// composes the sections in the order the start runs the steps.
#include "JsonWriter.h"

#include "startup/PlanProblem.h"

#include <ostream>
#include <string>
#include <vector>

namespace check {

class CheckSection {
public:
    virtual ~CheckSection() = default;

    // The member name of the section in the JSON report ("catalogue").
    virtual std::string Key() const = 0;
    // The heading of the section in the text report (GBK).
    virtual std::string Title() const = 0;
    // The section's lines in the text report (GBK), each indented by two
    // spaces and ended by "\n"; its problems are listed by the report.
    virtual void PrintText(std::ostream& out) const = 0;
    // The members of the section's object in the JSON report; the report
    // adds "problems".
    virtual void WriteJson(JsonWriter& json) const = 0;
    // Everything the step's plan found wrong, with file and line.
    virtual std::vector<startup::PlanProblem> Problems() const = 0;
};

} // namespace check
