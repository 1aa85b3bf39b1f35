#pragma once

#include <cstdint>

#include "engine_state.h"

namespace velmor::engine {

// Fills the label pieces for one unit system: flag > 0 English, 0 generic force/length, < 0 SI.
void SetUnitLabels(UnitLabels& labels, int32_t flag);

}  // namespace velmor::engine
