#pragma once

#include "project/file_units.h"

namespace velmor::project {

// The six soil-parameter slots of a layer line of the input file: 1 total unit weight, 2 cohesive strength
// or uniaxial compressive strength, 3 friction angle (degrees), 4 E50 or krm, 5 k (subgrade modulus) or
// rock elastic modulus, 6 RQD (percent). For each soil type 1..7, the column of the layer's parameter
// sub-table that fills each slot (counted from 0), or -1 where the file holds the placeholder "0.0  ".
inline constexpr int kSlotCount = 6;
inline constexpr int kSlotColumns[7][kSlotCount] = {
    {0, 1, -1, 2, 3, -1},    // 1 soft clay (TblClay1: unit weight, cohesion, E50, k)
    {0, 1, -1, 2, 3, -1},    // 2 stiff clay with free water
    {0, 1, -1, 2, 3, -1},    // 3 stiff clay without free water
    {0, -1, 1, -1, 2, -1},   // 4 sand (TblSand1: unit weight, friction angle, k)
    {0, 2, 1, 3, 4, -1},     // 5 silt (TblSilt1: unit weight, friction angle, cohesion, E50, k)
    {0, 1, -1, -1, -1, -1},  // 6 strong rock (TblRock1: unit weight, compressive strength)
    {0, 1, -1, 2, 3, 4},     // 7 weak rock (TblRock2: unit weight, compressive strength, krm, modulus, RQD)
};

inline bool IsSoilType(int Type) {
    return Type >= 1 && Type <= 7;
}
// Slot 1 holds the unit weight (a value per volume); slot 2 a cohesive strength (per area) for clays and
// silt only.
inline bool SlotIsCohesion(int Type, int Slot) {
    return Slot == 1 && (Type <= 3 || Type == 5);
}

}  // namespace velmor::project
