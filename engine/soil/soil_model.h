#pragma once

#include "engine_state.h"

namespace velmor::engine {

// Entry of the curve generator: builds the soil model from WallSoilInput, echoes it, and writes the
// scratch curve file soildata (user curves first, then five generated curves per layer).
void SetUpSoilModel(Engine& e);

}  // namespace velmor::engine
