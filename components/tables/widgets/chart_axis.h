#pragma once

#include <string>
#include <vector>

namespace velmor::components {

// The value formats of the chart's axes.
enum class AxisFormat {
    Grouped,   // "#,##0.###": thousands grouped with ",", at most three decimals, "." as decimal point
    Exponent,  // "#.0##E-0": one digit, one to three decimals, the exponent with a sign only when negative
};

// "#,##0.###" unless the axis minimum or maximum exceeds 100000 in magnitude, or both are below 0.001 in
// magnitude (and not both exactly 0): then "#.0##E-0".
AxisFormat chooseAxisFormat(double minimum, double maximum);

// The value as the format writes it, rounded half away from zero on its decimal digits:
// 1234.5678 -> "1,234.568", -0.0004 -> "0", 250000 -> "2.5E5", 0.000123 -> "1.23E-4", 0 -> "0.0E0".
std::string formatAxisValue(double value, AxisFormat format);

struct AxisRange {
    double minimum = 0;
    double maximum = 0;
};

// The vertical axis for Y values that are all `value`: 0.9 to 1.1 times the value in increasing order, and
// -1 to 1 for 0, so the axis is never empty or reversed.
AxisRange constantAxisRange(double value);

// The range of an axis over its values; an empty range (one distinct value) is widened as for constant Y
// values; no values give 0 to 1.
AxisRange dataAxisRange(const std::vector<double>& values);

// Tick values at a round step (1, 2 or 5 times a power of ten) inside the range, at most `maxTicks` + 1 of
// them; the range ends themselves need not be ticks.
std::vector<double> axisTicks(AxisRange range, int maxTicks);

}  // namespace velmor::components
