#pragma once

namespace velmor::components {

struct CurveColour {
    int red, green, blue;
};

// Colours of the curves and of their legend entries, by the curve's position among the active curves
// modulo 17 (grey and silver each fill two slots).
inline constexpr CurveColour kCurveColours[17] = {
    {0, 0, 0},       {0, 0, 255},     {255, 0, 0},     {0, 128, 0},   {128, 0, 128},   {128, 0, 0},
    {0, 0, 128},     {255, 0, 255},   {128, 128, 0},   {0, 128, 128}, {128, 128, 128}, {0, 255, 0},
    {128, 128, 128}, {192, 192, 192}, {192, 192, 192}, {255, 255, 0}, {0, 255, 255},
};

inline const CurveColour& curveColour(int index) {
    const int slot = index % 17;
    return kCurveColours[slot < 0 ? slot + 17 : slot];
}

}  // namespace velmor::components
