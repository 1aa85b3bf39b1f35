#include "soil/sand.h"

#include <algorithm>
#include <cmath>

#include "runtime/engine_math.h"
#include "soil/equivalent_depth.h"
#include "soil/generator_support.h"
#include "soil/generators.h"
#include "soil/soil_lookups.h"

namespace velmor::engine {

namespace {

// The sand criterion's own single-precision pi, also behind its degree conversions.
constexpr double kSandPi = double(3.1416f);
constexpr double kContinuousWallRatio = double(1.1f);

// What the heading of a side prints besides the width and the unit weight.
struct SandSide {
    double depth;  // Z, below the side's soil surface
    double phiDegrees;
    double a;
    double b;
    double wedge;
    double flow;
};

void writeSandSide(Engine& e, const StationSide& at, const SandSide& v, double width, double gamma,
                   const SideCurve& curve) {
    WriteSideTitle(e, at.side);
    e.io.write(kReportUnit,
               "(/,/,11X,'DEPTH BELOW GS',2X,'DIAM',3X,'PHI',2X,'GAMMA AVG',4X,'A',4X,'B',5X,'PCT',7X,'PCD',/,17X,A2,"
               "9X,A2,9X,A3,A1,A2,A2,A1,/,10X,F10.2,4X,2F7.2,E9.2,2X,2F5.2,2E9.2,/,/,38X,'Y',19X,'P',/,38X,A2,15X,A3,"
               "A1,A2)",
               HeadingItems(e.st.labels)
                   .length()
                   .length()
                   .unitWeight()
                   .values({v.depth, width, v.phiDegrees, gamma, v.a, v.b, v.wedge, v.flow})
                   .curveUnits()
                   .items());
    // The station's depth below the top of the wall (h + Z of the excavation side) names its curve, in the
    // header as in the messages of both sides.
    if (at.side == kExcavationSide) WriteCurveHeader(e, at.depthBelowTop);
    WriteSideCurveRows(e, "(21X,2F20.3)", curve);
    WriteMultiplierLine(e, curve.multipliers);
    WriteSideCurvePoints(e, "(I5,1X,E10.3,1X,E10.3)", curve);
}

}  // namespace

SandAngles SandAnglesFor(double phi, double pi) {
    SandAngles a{};
    a.phi = phi;
    a.alpha = phi / 2.0;
    a.beta = pi / 4.0 + phi / 2.0;
    a.k0 = double(0.4f);
    a.ka = rt::ipow(std::tan(pi / 4.0 - phi / 2.0), 2);
    a.kp = rt::ipow(std::tan(pi / 4.0 + phi / 2.0), 2);
    return a;
}

SandResistance SandWedgeFlowResistance(const SandAngles& a, double b, double gamma, double zEff) {
    const double tanPhi = std::tan(a.phi);
    const double tanBeta = std::tan(a.beta);
    const double tanAlpha = std::tan(a.alpha);
    const double tanBetaPhi = std::tan(a.beta - a.phi);
    const double sinBeta = std::sin(a.beta);
    SandResistance r{};
    r.wedge = gamma * zEff *
              (a.k0 * zEff * tanPhi * sinBeta / (std::cos(a.alpha) * tanBetaPhi) +
               tanBeta / tanBetaPhi * (b + zEff * tanBeta * tanAlpha) +
               a.k0 * zEff * tanBeta * (tanPhi * sinBeta - tanAlpha) - a.ka * b);
    r.flow = a.ka * b * gamma * zEff * (rt::ipow(tanBeta, 8) - 1.0) +
             a.k0 * b * gamma * zEff * tanPhi * rt::ipow(tanBeta, 4);
    return r;
}

double ContinuousWallPassiveCoefficient(double phi, double delta) {
    const double root = 1.0 - std::sqrt(std::sin(phi + delta) * std::sin(phi) / std::cos(delta));
    return rt::ipow(std::cos(phi), 2) / (std::cos(delta) * rt::ipow(root, 2));
}

SandCurveShape SandCurveShapeFor(double pu, double pm, double b, double kz, double zEff) {
    SandCurveShape s{};
    s.b = b;
    s.pu = pu;
    s.pm = pm;
    s.yu = 3.0 * b / 80.0;
    s.ym = b / 60.0;
    s.dy = s.ym / 12.0;
    s.kz = kz;
    if (zEff > 0.0) {
        s.m = (pu - pm) / (s.yu - s.ym);
        s.n = pm / (s.m * s.ym);
        s.c = pm / std::pow(s.ym, 1.0 / s.n);
        s.yk = std::pow(s.c / kz, s.n / (s.n - 1.0));
    } else {
        s.yk = 2.0 * b;
    }
    return s;
}

double SandPointDeflection(const SandCurveShape& s, int point) {
    if (point <= 1) return 0.0;
    if (point <= 13) return (point - 1) * s.dy;
    if (point == 14) return s.yu;
    return s.yu + (point - 14) * s.b;
}

double SandCurveResistance(const SandCurveShape& s, double y) {
    double p;
    if (y <= s.yk) {
        p = s.kz * y;
    } else if (y <= s.ym) {
        p = s.c * std::pow(y, 1.0 / s.n);
    } else if (y <= s.yu) {
        p = s.pm + s.m * (y - s.ym);
    } else {
        p = s.pu;
    }
    return std::min(p, s.kz * y);
}

SandAngles LookUpSandValues(EngineState& st, double z) {
    StationSoilValues& sv = st.stationSoil;
    sv.elementWidth = ElementWidthAtDepth(st, 1, z);
    sv.unitWeight = AverageUnitWeight(st, z);
    sv.frictionAngle = FrictionAngleAtDepth(st, z);
    const SandAngles angles = SandAnglesFor(sv.frictionAngle, st.soil.pi);
    sv.alpha = angles.alpha;
    sv.beta = angles.beta;
    sv.k0 = angles.k0;
    sv.ka = angles.ka;
    sv.kp = angles.kp;
    return angles;
}

void AddSandLayerResistance(SoilModel& soil, int layer, const StationSide& at, double pu, LayerResistanceSum& sum) {
    sum.add(soil, layer, at, pu);
    if (at.side == kExcavationSide && at.lastOfLayer && !at.firstOfLayer) {
        soil.layerResistance[layer] += (soil.bottom[layer] - at.d) * pu;
    }
}

SideCurve SandSideCurve(const EngineState& st, const StationSide& at, const SandCurveShape& shape, double pa) {
    return ScaleSideCurve(st, at, pa, [&](int i) {
        const double y = SandPointDeflection(shape, i);
        return UnscaledPoint{y, SandCurveResistance(shape, y)};
    });
}

void PYCurveSand(Engine& e, int column, int layer) {
    EngineState& st = e.st;
    SoilModel& soil = st.soil;
    StationSoilValues& sv = st.stationSoil;
    soil.pi = kSandPi;
    SetDepthRatioBreakpoints(soil);
    const double k = soil.fifthValue[std::clamp(layer, 0, kSoilLayerSlots)];  // the layer is checked below

    SandAngles angles{};
    LayerResistanceSum resistance;
    ForEachStationSide(e, column, layer, [&](const StationSide& at) {
        const double z = at.sideDepth;
        // Both sides take the soil at the excavation-side depth of the station.
        if (at.side == kExcavationSide) angles = LookUpSandValues(st, z);
        const double b = sv.elementWidth;
        const double gamma = sv.unitWeight;
        const double pa = FrictionalPressureShift(st, b, 0.0, angles.ka);

        SandSide side{};
        side.depth = z - soil.top[1];
        sv.depth = side.depth;
        double zEff = side.depth;
        if (layer > 1) {
            if (at.side == kExcavationSide && at.firstOfLayer) EquivalentDepthLayered(e, layer);
            zEff = EquivalentDepth(soil, at, layer);
        }

        const SandResistance r = SandWedgeFlowResistance(angles, b, gamma, zEff);
        side.wedge = r.wedge;
        side.flow = r.flow;
        double ps = r.smaller();
        if (soil.spacingRatio < kContinuousWallRatio) {
            // A continuous wall: passive pressure with wall friction phi/2 over the true depth.
            ps = b * ContinuousWallPassiveCoefficient(angles.phi, angles.phi / 2.0) * gamma * side.depth;
        }
        side.a = CoefficientAtDepthRatio(st, z, kSandStaticA);
        side.b = CoefficientAtDepthRatio(st, z, kSandStaticB);
        const SandCurveShape shape = SandCurveShapeFor(side.a * ps, side.b * ps, b, k * zEff, zEff);
        // Trapezoids between stations, and the last station's pu down to the layer bottom.
        AddSandLayerResistance(soil, layer, at, shape.pu, resistance);

        side.phiDegrees = angles.phi * 180.0 / soil.pi;
        const SideCurve curve = SandSideCurve(st, at, shape, pa);
        CheckSideCurveFinite(e, at.depthBelowTop,
                             {side.depth, b, side.phiDegrees, gamma, side.a, side.b, side.wedge, side.flow}, curve);
        writeSandSide(e, at, side, b, gamma, curve);
    });
}

}  // namespace velmor::engine
