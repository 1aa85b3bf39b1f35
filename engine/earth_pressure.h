#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine_state.h"

namespace velmor::engine {

// Entry of the earth-pressure module: sublayers, echo, coefficients, active and water pressure, and the
// scratch profile file kstrut.001 for the run driver to read back.
void ComputeEarthPressure(Engine& e);

// Lateral pressure at depth z (below the top of the wall) from every row of the surcharge table of
// WallSoilInput, over the free height H; 0 when the table is empty.
double SurchargePressureAtDepth(Engine& e, double z, double freeHeight);

// A specified profile gets the surcharge pressures (times WA) of the surcharge table most recently read in
// the run, over the problem's own free height; the loads per station are recomputed from them.
void AddSurchargeToSpecifiedProfile(Engine& e);

// The steps of ComputeEarthPressure, in the order it runs them, on EarthPressureWork.
void PrepareEarthPressure(Engine& e);  // opens debug.dat, splits the layers into sublayers
void OUTPT(Engine& e);                 // echoes wall, surcharge and soil data; stop codes 1 and 2
void INITIAL(Engine& e);               // clears the per-sublayer results
void START(Engine& e);                 // overburden stress and earth-pressure coefficients
void FORCES(Engine& e);                // active and water forces per sublayer and their resultant
void WritePressureProfile(Engine& e);  // the pressure profile into kstrut.001

// Whether two depths of the module count as one level: within its tolerance (1e-5 length units) or within
// one part in a million of each other, as lengths against stations do.
bool SameLevel(const EarthPressureWork& w, double a, double b);

// The three-line asterisk frame that opens each block of the report, preceded by two empty lines, as
// edit descriptors without the enclosing parentheses; the title is 50 characters between asterisks.
std::string ReportFrame(std::string_view title);

// Lateral pressure of one surcharge at dimensionless depth n = z/H, set back x from the wall, by the
// classic elastic (Boussinesq-type) formulas; magnitude Q (force), q (force per length) or p (pressure);
// width the strip width b (strip loads only). The two sets differ in their single-precision constants
// and in how the strip angles are formed: the sublayer integration uses 1.273 and 0.6366 with angles from
// m and n, the grid 4/3.1416 and 2/3.1416 with angles from x and the grid depth n H.
enum class SurchargeKind : int32_t { Point = 1, Line = 2, Strip = 3 };
SurchargeKind SurchargeKindOf(int32_t type);  // a type other than 2 and 3 counts as a point load
double SublayerSurchargeStress(SurchargeKind kind, double magnitude, double x, double n, double freeHeight,
                               double width);
double GridSurchargeStress(SurchargeKind kind, double magnitude, double x, double n, double freeHeight, double width);

}  // namespace velmor::engine
