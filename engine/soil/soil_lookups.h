#pragma once

#include "engine_state.h"

namespace velmor::engine {

// Soil properties at a depth and the factors that scale the generated curves. Depths are below the
// excavation-side soil surface unless a function says otherwise; the tables are those SetUpSoilModel
// builds. A depth beyond a table stops the run where noted.

// Element width b of the wall's single section: WP at every depth.
double ElementWidthAtDepth(const EngineState& st, int section, double depth);

// Cohesion (or rock strength); below the table the run stops with code "1".
double StrengthAtDepth(const EngineState& st, double depth);

// Mean cohesion of layer `layer` from its top down to the depth (the report's CAVG).
double AverageStrength(Engine& e, double depth, int layer);

// Friction angle in radians; below the table the run stops without a code.
double FrictionAngleAtDepth(const EngineState& st, double depth);

// E50 (krm of weak rock); below the table the last point's value.
double E50AtDepth(const EngineState& st, double depth);

// The sixth soil value (RQD of weak rock); below the table the last point's value.
double InterpolateSoilParameter(const EngineState& st, double depth);

// Mean effective unit weight from the top of layer 1 down to the depth (the report's GAMMA AVG); below the
// unit-weight table the run stops with code "4".
double AverageUnitWeight(const EngineState& st, double depth);

// A coefficients of stiff clay against x/b, x measured from the reference depth of the model.
double StiffClayStaticA(const EngineState& st, double depth);
double StiffClayCyclicA(const EngineState& st, double depth);

// A coefficient column (1-based, 10 values) at depth / b over the model's x/b breakpoints; both end
// segments extend beyond the table.
double CoefficientAtDepthRatio(const EngineState& st, double depth, const CoefficientColumn& coefficient);

// p- and y-multipliers at a depth below the top of the wall: the reduction-factor table when it has rows,
// else (p only) the spacing formula for closely-spaced elements.
double PMultiplierAtDepth(const EngineState& st, double depthBelowTop);
double YMultiplierAtDepth(const EngineState& st, double depthBelowTop);

// The x/b breakpoints 0.0, 0.5 .. 3.0, 4.0, 5.0, 6.0 of the sand criterion's coefficient tables.
void SetDepthRatioBreakpoints(SoilModel& soil);

// The static A and B tables of the sand criterion as the generators use them (single-precision values),
// and the A table that the equivalent-depth integration uses (exact decimals).
extern const CoefficientColumn kSandStaticA;
extern const CoefficientColumn kSandStaticB;
extern const CoefficientColumn kEquivalentDepthSandA;

}  // namespace velmor::engine
