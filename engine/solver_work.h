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

    // Result columns by station position, kept at full precision (the report prints three digits).
    StationReals slope;
    StationReals moment;
    StationReals shear;
    StationReals reaction;  // net reaction per station

    int32_t iteration;               // number of the last solution made
    int32_t notClosed;               // stations 0..NI of the last solution that moved more than the closure tolerance
    int32_t exceeding;               // stations 0..NI of the last solution beyond the maximum allowable deflection
    bool offCurve;                   // some deflection of the last solution lay outside its curve's points
    std::array<double, 6> monitorW;  // deflections of stations 1..5 as the last monitor row shows them
};

}  // namespace velmor::engine
