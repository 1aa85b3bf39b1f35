#include "soil/sand.h"

#include <algorithm>
#include <array>
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

// One side of a station: what the report prints and the 17 points after multipliers and shift.
struct SandSide {
    double depth;  // Z, below the side's soil surface
    double phiDegrees;
    double a;
    double b;
    double wedge;
    double flow;
    CurveMultipliers multipliers;
    std::array<double, kPointsPerSide + 1> y;
    std::array<double, kPointsPerSide + 1> p;
};

void writeSandSide(Engine& e, const StationSide& at, const SandSide& side, double width, double gamma) {
    const UnitLabels& u = e.st.labels;
    WriteSideTitle(e, at.side);
    e.io.write(kReportUnit,
               "(/,/,11X,'DEPTH BELOW GS',2X,'DIAM',3X,'PHI',2X,'GAMMA AVG',4X,'A',4X,'B',5X,'PCT',7X,'PCD',/,17X,A2,"
               "9X,A2,9X,A3,A1,A2,A2,A1,/,10X,F10.2,4X,2F7.2,E9.2,2X,2F5.2,2E9.2,/,/,38X,'Y',19X,'P',/,38X,A2,15X,A3,"
               "A1,A2)",
               {u.lengthShort.view(), u.lengthShort.view(), u.forceShort.view(), u.slash.view(), u.lengthShort.view(),
                u.power.view(), u.three.view(), side.depth, width, side.phiDegrees, gamma, side.a, side.b, side.wedge,
                side.flow, u.lengthShort.view(), u.forceShort.view(), u.slash.view(), u.lengthShort.view()});
    // The station's depth below the top of the wall (h + Z of the excavation side) names its curve, in the
    // header as in the messages of both sides.
    if (at.side == kExcavationSide) WriteCurveHeader(e, at.depthBelowTop);
    for (int i = 1; i <= kPointsPerSide; ++i) e.io.write(kReportUnit, "(21X,2F20.3)", {side.y[i], side.p[i]});
    WriteMultiplierLine(e, side.multipliers);
    for (int i = 1; i <= kPointsPerSide; ++i) {
        WriteCurvePoint(e, "(I5,1X,E10.3,1X,E10.3)", i, side.p[i], side.y[i]);
    }
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

void PYCurveSand(Engine& e, int column, int layer) {
    EngineState& st = e.st;
    SoilModel& soil = st.soil;
    StationSoilValues& sv = st.stationSoil;
    soil.pi = kSandPi;
    SetDepthRatioBreakpoints(soil);
    const double k = soil.fifthValue[layer];

    SandAngles angles{};
    double previousD = 0.0;
    double previousPu = 0.0;
    ForEachStationSide(e, column, layer, [&](const StationSide& at) {
        const double z = at.sideDepth;
        if (at.side == kExcavationSide) {
            // Both sides take the soil at the excavation-side depth of the station.
            sv.elementWidth = ElementWidthAtDepth(st, 1, z);
            sv.unitWeight = AverageUnitWeight(st, z);
            sv.frictionAngle = FrictionAngleAtDepth(st, z);
            angles = SandAnglesFor(sv.frictionAngle, soil.pi);
            sv.alpha = angles.alpha;
            sv.beta = angles.beta;
            sv.k0 = angles.k0;
            sv.ka = angles.ka;
            sv.kp = angles.kp;
            if (at.firstOfLayer) soil.layerResistance[layer] = 0.0;
        }
        const double b = sv.elementWidth;
        const double gamma = sv.unitWeight;
        const double pa = FrictionalPressureShift(st, b, 0.0, angles.ka);

        SandSide side{};
        side.depth = z - soil.top[1];
        sv.depth = side.depth;
        double zEff = side.depth;
        if (layer > 1) {
            if (at.side == kExcavationSide && at.firstOfLayer) EquivalentDepthLayered(e, layer);
            zEff = z - soil.top[layer] + soil.equivalentTopDepth[layer];
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

        if (at.side == kExcavationSide) {
            // Trapezoids between stations, and the last station's pu down to the layer bottom.
            if (!at.firstOfLayer) {
                soil.layerResistance[layer] += (at.d - previousD) * 0.5 * (shape.pu + previousPu);
                if (at.lastOfLayer) soil.layerResistance[layer] += (soil.bottom[layer] - at.d) * shape.pu;
            }
            previousPu = shape.pu;
            previousD = at.d;
        }

        side.phiDegrees = angles.phi * 180.0 / soil.pi;
        side.multipliers = MultipliersAtDepth(st, at.depthBelowTop);
        for (int i = 1; i <= kPointsPerSide; ++i) {
            const double y = SandPointDeflection(shape, i);
            const double p = SandCurveResistance(shape, y);
            side.y[i] = side.multipliers.y * y;
            side.p[i] = ShiftedResistance(at.side, side.multipliers.p * p, pa);
        }

        CheckCurveValuesFinite(e, at.depthBelowTop,
                               {side.depth, b, side.phiDegrees, gamma, side.a, side.b, side.wedge, side.flow,
                                side.multipliers.p, side.multipliers.y});
        CheckCurveValuesFinite(e, at.depthBelowTop, side.y.data() + 1, kPointsPerSide);
        CheckCurveValuesFinite(e, at.depthBelowTop, side.p.data() + 1, kPointsPerSide);
        writeSandSide(e, at, side, b, gamma);
    });
}

}  // namespace velmor::engine
