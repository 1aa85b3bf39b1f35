#pragma once

#include <array>

#include "fields/number_text.h"

namespace velmor::project {

using components::Extended;

// Results of the last plot-data file by series (problem or stage, 0..10) and point (0..300).
struct TPlotArrays {
    static constexpr int kSeries = 11;
    static constexpr int kPoints = 301;
    using Array = std::array<std::array<Extended, kPoints>, kSeries>;
    Array TotalPressure{};
    Array PressureDepth{};
    Array ResultDepth{};
    Array Deflection{};
    Array Moment{};
    Array Shear{};
    Array SoilReaction{};
};

}  // namespace velmor::project
