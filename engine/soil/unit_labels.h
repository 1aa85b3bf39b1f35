#pragma once

#include <cstdint>

#include "engine_state.h"

namespace velmor::engine {

// Fills the label pieces for one unit system: flag > 0 English, 0 generic force/length, < 0 SI.
void SetUnitLabels(UnitLabels& labels, int32_t flag);

// The label flag of a unit system: 1 English for system 1, -1 SI for system 2; any other system (3, generic
// force and length) has no labels of its own and gives `otherwise`.
int32_t UnitLabelFlag(int32_t unitSystem, int32_t otherwise);

}  // namespace velmor::engine
