#pragma once

#include <array>

namespace velmor::engine {

// Deflections of the 17 points of a weak-rock curve as multiples of yrm = krm b.
extern const std::array<double, 17> kWeakRockDeflectionFactors;

// Strength reduction alpha_r of a fractured rock mass from its RQD in percent: 1 at RQD 0, 1/3 at 100.
double WeakRockStrengthReduction(double rqd);

// Weak-rock curve at xr below the layer top: a straight line Kir y up to ya, where it meets the
// quarter-power curve 0.5 pur (y / yrm)^0.25, which is capped at pur. pur and Kir grow with depth down to
// three widths and are constant below.
struct WeakRockCurve {
    double pur;  // ultimate resistance, force/length
    double kir;  // initial modulus, force/length^2
    double yrm;
    double c;  // 0.5 pur / yrm^0.25
    double ya;
};
// qa: mean compressive strength, b: width, er: rock mass modulus, krm: the strain that sets yrm.
WeakRockCurve WeakRockCurveParameters(double alphaR, double qa, double b, double xr, double er, double krm);

double WeakRockResistance(const WeakRockCurve& curve, double y);

}  // namespace velmor::engine
