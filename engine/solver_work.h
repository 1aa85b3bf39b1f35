#pragma once

#include <array>
#include <cstdint>

#include "input_blocks.h"

namespace velmor::engine {

// Working values of the wall solution: springs of the current solution, recursion coefficients and the
// deflections saved for the M-EI closure test, indexed by station position.
struct SolverWork {
    StationReals workingS;
    StationReals workingQ;
    StationReals a, b, c;
    StationReals savedW;
};

}  // namespace velmor::engine
