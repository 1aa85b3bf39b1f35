#pragma once

#include <cstdint>

namespace velmor::rt {

// Nearest whole number with halves rounded away from zero, as an integer. A value outside the 32-bit
// range (or not finite) raises RecordFault instead of wrapping.
int32_t nint(double x);

// Nearest whole number with halves rounded away from zero, as a real.
double anint(double x);

// A real raised to an integer power by repeated squaring, as the engine's integer powers are computed.
double ipow(double x, int n);

}  // namespace velmor::rt
