#pragma once

namespace velmor::engine {

// Trilinear curve of strong rock: slope 2000 su up to y1 = 0.0004 b, then slope 100 su up to the peak
// pu = su b at y2 (about 0.0024 b); beyond y2 the rock has broken and only a residual is left.
struct RockCurve {
    double su;  // half the compressive strength, force/length^2
    double y1;
    double p1;
    double pu;  // force/length
    double y2;
};
RockCurve RockCurveParameters(double su, double b);

// Resistance at deflection y: the rising branches times the p-multiplier, the residual as it is.
double RockResistance(const RockCurve& c, double y, double pMultiplier, double residual);

}  // namespace velmor::engine
