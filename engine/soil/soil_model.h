#pragma once

#include "engine_state.h"

namespace velmor::engine {

// Entry of the curve generator: builds the soil model from WallSoilInput, echoes it, and writes the
// scratch curve file soildata: the curve count, the user curves, then one generated curve per station of
// every layer (five per layer). Input that would make a curve meaningless ends the run with a report
// message naming the layer before the count is written.
void SetUpSoilModel(Engine& e);

}  // namespace velmor::engine
