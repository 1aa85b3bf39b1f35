#pragma once

#include "engine_state.h"

namespace velmor::engine {

// Iterates the finite-difference solution of the wall on its soil springs, writes the monitor rows and the
// report's results block, and leaves the result rows in NodalResults (stations 0 to NI+1).
void SolveWall(Engine& e);

// The steps of SolveWall, callable on their own so that results can be checked at full precision.

// Soil resistance of curve `curve` (1-based) near deflection y, as the tangent line p0 - es*y of the curve
// segment that holds y. Returns true when y lies off the curve's points (end segments extended) or the
// curve has too few points to bracket it.
bool LookupCurve(const PYCurveStore& curves, int curve, double y, double& p0, double& es);

// Working springs of one solution: the given S and Q of stations -1 to NI+1 plus the tangent soil springs
// of every curve at the current deflections; sets SolverWork::offCurve.
void AddSoilSprings(Engine& e);

// One solution of the five-point equations on the working springs: forward recursion with the restraint
// codes, back-substitution, and the counts of stations not closed and beyond the allowed deflection.
void SolveDifferenceEquations(Engine& e);

// The M-EI update: the rigidity at which curvature times EI meets each station's moment-EI polyline, times
// the station's share of it (one half at the end of the stiffness rows, as the rows gave it).
void UpdateRigidity(Engine& e);

enum class MonitorRows { Write, Skip };

// Solutions until closure, exceedance of the allowed deflection or the iteration limit. Leaves the
// iteration number, the counts and the off-curve flag of the last solution in SolverWork.
void IterateWall(Engine& e, MonitorRows monitor);

// Results of the final deflections: the report block, SolverWork's result columns and NodalResults.
void WriteWallResults(Engine& e);

}  // namespace velmor::engine
