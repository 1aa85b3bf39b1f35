#pragma once

#include "engine_state.h"

namespace velmor::engine {

// The results section of one problem: (series code, row count, unit code), then one row per result
// station: depth, deflection, bending moment, shear and net soil reaction.
void WriteResultsSection(Engine& e);

}  // namespace velmor::engine
