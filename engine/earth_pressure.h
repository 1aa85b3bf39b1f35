#pragma once

#include "engine_state.h"

namespace velmor::engine {

// Entry of the earth-pressure module: sublayers, echo, coefficients, active and water pressure, and the
// scratch profile file kstrut.001 for the run driver to read back.
void ComputeEarthPressure(Engine& e);

// Lateral pressure at depth z (below the top of the wall) from every row of the surcharge table of
// WallSoilInput, over the free height H; 0 when the table is empty.
double SurchargePressureAtDepth(Engine& e, double z, double freeHeight);

}  // namespace velmor::engine
