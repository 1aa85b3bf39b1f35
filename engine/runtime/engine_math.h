#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace velmor::rt {

// Nearest whole number with halves rounded away from zero, as an integer. A value outside the 32-bit
// range (or not finite) raises RecordFault instead of wrapping.
int32_t nint(double x);

// Lengths against stations. A length converted between unit systems, or written with eight significant
// digits, moves in its seventh digit (0.0254 and 39.3701 are no exact inverses: 6 in comes back as
// 6.0000032 in). A wall must give the same results whatever that digit, so wherever a length becomes a
// station number or meets a station's depth, a boundary, a profile point or a limit, two lengths within one
// part in a million of each other count as one, and a quotient within one part in a million of a whole
// number (or of a half, for the nearest whole number) counts as that number.
inline constexpr double kLengthTolerance = 1e-6;

// Whether two lengths count as one: they differ by at most one part in a million of the larger.
inline bool sameLength(double a, double b) {
    return std::fabs(a - b) <= kLengthTolerance * std::max(std::fabs(a), std::fabs(b));
}

// a < b and a > b between lengths that do not count as one.
inline bool lengthLess(double a, double b) {
    return a < b && !sameLength(a, b);
}
inline bool lengthGreater(double a, double b) {
    return lengthLess(b, a);
}

// Nearest whole number of the quotient a / b, halves rounded away from zero, where a quotient within one
// part in a million of a half counts as that half. Metric lengths are seldom exact in binary as well:
// 5.1054 m over 0.1524 m is 33.5 exactly, but 33.49999999999999 in doubles.
int32_t nintOfQuotient(double a, double b);

// Nearest whole number with halves rounded away from zero, as a real.
double anint(double x);

// A real raised to an integer power by repeated squaring, as the engine's integer powers are computed.
double ipow(double x, int n);

}  // namespace velmor::rt
