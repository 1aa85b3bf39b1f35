#pragma once

#include "engine_state.h"

namespace velmor::engine {

// p-y modification factors (record 8).
void ReadModificationFactors(Engine& e);

// p-y curves (record 11): user curves, generated curves read back from soildata, the plot-data curve
// section, and the curve set for the solver.
void ReadPYCurves(Engine& e);

}  // namespace velmor::engine
