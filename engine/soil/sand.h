#pragma once

#include "engine_state.h"
#include "soil/generator_support.h"

namespace velmor::engine {

// The sand criterion's pieces, shared by the sand and the silt generators. Lengths and forces are in the
// run's own units (in and lb, or m and kN); angles in radians; gamma is an effective unit weight
// (force / length^3) and the resistances are per unit depth of wall (force / length).

// Angles and earth-pressure coefficients of a friction angle phi. pi is passed in because the sand
// generator works with the single-precision 3.1416 and the silt generator with 4 atan(1).
struct SandAngles {
    double phi;
    double alpha;  // phi / 2
    double beta;   // pi/4 + phi/2
    double k0;     // 0.4, single precision
    double ka;     // tan^2(pi/4 - phi/2)
    double kp;     // tan^2(pi/4 + phi/2)
};
SandAngles SandAnglesFor(double phi, double pi);

// Ultimate resistance of the two mechanisms at the depth zEff (z'): a passive wedge near the surface and
// flow of soil around the element at depth.
struct SandResistance {
    double wedge;  // pst
    double flow;   // psd
    double smaller() const { return wedge < flow ? wedge : flow; }
};
SandResistance SandWedgeFlowResistance(const SandAngles& a, double b, double gamma, double zEff);

// Passive coefficient of a continuous wall with wall friction delta:
// cos^2(phi) / (cos(delta) (1 - sqrt(sin(phi + delta) sin(phi) / cos(delta)))^2).
double ContinuousWallPassiveCoefficient(double phi, double delta);

// The four-segment curve: straight initial line kz y up to yk, parabola C y^(1/n) up to ym, straight line
// from (ym, pm) to (yu, pu), then constant pu; every p is capped by kz y.
struct SandCurveShape {
    double b;  // element width, sets the deflection schedule
    double pu;
    double pm;
    double yu;  // 3b/80
    double ym;  // b/60
    double dy;  // ym/12
    double kz;  // k x z'
    double m;   // slope between ym and yu
    double n;   // exponent of the parabola
    double c;   // coefficient of the parabola
    double yk;  // where the initial line meets the parabola
};
// m, n, C and yk from pu and pm when zEff > 0; otherwise yk = 2b and m, n and C are 0.0 (no point of
// such a curve reaches the segments that use them).
SandCurveShape SandCurveShapeFor(double pu, double pm, double b, double kz, double zEff);

// Deflection of curve point 1..17: 0, then twelve steps of ym/12 up to ym, yu, yu + b, yu + 2b, yu + 3b.
double SandPointDeflection(const SandCurveShape& s, int point);

// p of the four-segment curve at y, capped by kz y (before multipliers and pressure shift).
double SandCurveResistance(const SandCurveShape& s, double y);

// The excavation-side look-ups of the sand and silt generators, in this order: element width, mean unit
// weight and friction angle at depth z, then the angles of that friction angle with pi = SoilModel::pi, all
// kept in StationSoilValues.
SandAngles LookUpSandValues(EngineState& st, double z);

// A layer's resistance by the sand criterion: LayerResistanceSum's trapezoids, and from the layer's last
// station its pu held down to the layer bottom.
void AddSandLayerResistance(SoilModel& soil, int layer, const StationSide& at, double pu, LayerResistanceSum& sum);

// A side's four-segment curve after the multipliers and the pressure shift pa.
SideCurve SandSideCurve(const EngineState& st, const StationSide& at, const SandCurveShape& shape, double pa);

}  // namespace velmor::engine
