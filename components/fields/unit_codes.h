#pragma once

#include <string>

#include "fields/number_text.h"

namespace velmor::components {

// Unit codes: the units of a table column, field or graph axis written with force codes F (F0), F1, F2,
// F4, F5, F6 and length codes L (L0), L1, L2, L3, joined by separators and exponents ("F/L2^3", "F-L^2").
// Unit systems: 1 English, 2 SI, 3 generic force/length.
//
// Two code tables exist. The plain one serves the grid tables, fields and graphs; the chart tables keep
// their own, with only F0..F2 and L0..L2 and more precise factors. Each function comes in both variants.

// English units per SI unit of one code without "/" (a force part times a length part, each with an
// optional one-digit exponent after "^"). An empty code, or one without F and L, gives 1.
Extended UnitFactor(const std::string& S);
Extended ChartUnitFactor(const std::string& S);

// The factor by which a value held in unit system AFrom is multiplied to express it in ATo. With F the
// unit factor of the part before the first "/" divided by that of the part after it: 1/F from 1 to 2,
// F from 2 to 1, 1 for every other pair.
Extended ConversionFactor(int AFrom, int ATo, const std::string& ACode);
Extended ChartConversionFactor(int AFrom, int ATo, const std::string& ACode);

// ACode with every force and length code replaced by its name in unit system AUnits ("F/L2^3" reads
// "lbs/ft^3" in system 1 and "kN/m^3" in system 2). A unit system outside 1..3 leaves the code as it is.
std::string ExpandUnitNames(const std::string& ACode, int AUnits);
std::string ChartExpandUnitNames(const std::string& ACode, int AUnits);

}  // namespace velmor::components
