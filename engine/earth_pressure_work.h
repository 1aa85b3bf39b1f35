#pragma once

#include <array>
#include <cstdint>

namespace velmor::engine {

// The earth-pressure module's work block: up to 10 layers split into at most 21 sublayers.
struct EarthPressureWork {
    int32_t sublayerCount;
};

}  // namespace velmor::engine
