#pragma once

#include <cstdint>

namespace velmor::rt {

// Nearest whole number with halves rounded away from zero, as an integer. A value outside the 32-bit
// range (or not finite) raises RecordFault instead of wrapping.
int32_t nint(double x);

// Nearest whole number of the quotient a / b, with halves rounded away from zero, where a quotient within
// one part in 10^12 of a half counts as that half. Metric lengths are seldom exact in binary: 5.1054 m over
// 0.1524 m is 33.5 exactly, but 33.49999999999999 in doubles, which nint would round the other way.
int32_t nintOfQuotient(double a, double b);

// Nearest whole number with halves rounded away from zero, as a real.
double anint(double x);

// A real raised to an integer power by repeated squaring, as the engine's integer powers are computed.
double ipow(double x, int n);

}  // namespace velmor::rt
