#pragma once
// What a start-up step's plan found wrong in the files it read: the file,
// the line (from 1; 0 when the problem belongs to the whole file) and what
// is wrong, with the consequence at start-up. Texts are GBK.
#include <string>

namespace startup {

struct PlanProblem {
    std::string file;
    unsigned long line = 0;
    std::string message;
};

} // namespace startup
