#pragma once

#include "fields/number_text.h"

namespace velmor::project {

// English project files hold inches where the tables and dialogs show feet: lengths in feet, line loads per
// foot, the top surcharge and cohesive strengths per square foot, unit weights per cubic foot. The other
// unit systems hold what they show. The file writer converts with these, and an entry whose file form the
// analysis cannot read is refused by them where it is typed.
inline constexpr long double kCubicFeetToInches = 1728.0L;
inline constexpr long double kSquareFeetToInches = 144.0L;
inline constexpr long double kFeetToInches = 12.0L;

// The file form, in unit system `Units`, of a value shown as a length, per length, per area or per volume.
inline components::Extended FileLength(int Units, components::Extended Shown) {
    return Units == 1 ? Shown * kFeetToInches : Shown;
}
inline components::Extended FilePerLength(int Units, components::Extended Shown) {
    return Units == 1 ? Shown / kFeetToInches : Shown;
}
inline components::Extended FilePerArea(int Units, components::Extended Shown) {
    return Units == 1 ? Shown / kSquareFeetToInches : Shown;
}
inline components::Extended FilePerVolume(int Units, components::Extended Shown) {
    return Units == 1 ? Shown / kCubicFeetToInches : Shown;
}

}  // namespace velmor::project
