#pragma once

#include <string>
#include <string_view>

namespace velmor::components {

// The program keeps every number as an 80-bit extended value.
using Extended = long double;

// Significant digits of number text: table cells and files use 8, numeric fields and the intermediate
// results of expressions 18.
inline constexpr int kCellDigits = 8;
inline constexpr int kFieldDigits = 18;

// General format at `digits` significant digits (1 to 18): the shortest text that holds the value rounded
// to that many digits, fixed notation unless the decimal exponent is below -4 or not below `digits`, then
// scientific with a capital "E", a minus sign only for a negative exponent and no leading zeros ("2E20",
// "1E-5", "1.2345679E8"). Trailing zeros are dropped and the decimal point is always ".", whatever the
// process locale. Zero is "0"; values that are not finite are "NAN", "INF" and "-INF".
std::string formatGeneral(Extended value, int digits);

// The text of the general format for a value already reduced to its significant digits: `mantissa` holds
// them without trailing zeros (at least one digit), the value is d.dd...d x 10^exponent, and `digits` is
// the precision that decides between fixed and scientific notation.
std::string generalText(bool negative, const std::string& mantissa, int exponent, int digits);

// Reads a whole text as a decimal number: optional sign, digits with an optional "." (at least one digit
// before or after it), optional exponent "E" or "e" with an optional sign and at least one digit. Nothing
// else is allowed, not even blanks; the locale plays no part. The value is rounded to the nearest Extended,
// subnormal values included, so a value below half the smallest subnormal reads as zero. False when the
// text does not have that form or the value is too large for an Extended.
bool tryParseDecimal(std::string_view text, Extended& value);

}  // namespace velmor::components
