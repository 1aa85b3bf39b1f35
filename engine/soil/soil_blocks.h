#pragma once

#include <array>
#include <cstdint>

namespace velmor::engine {

// The curve generator's layers, depth tables and p-y stations.
struct SoilModel {
    int32_t layerCount;
};

// Values of the station being processed by a curve generator.
struct StationSoilValues {
    double elementWidth;
};

}  // namespace velmor::engine
