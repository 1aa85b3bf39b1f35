#include <array>
#include <cmath>

#include "engine_errors.h"
#include "runtime/engine_math.h"
#include "soil/equivalent_depth.h"
#include "soil/generator_support.h"
#include "soil/generators.h"
#include "soil/sand.h"
#include "soil/soil_lookups.h"

namespace velmor::engine {

namespace {

constexpr double kContinuousWallRatio = double(1.1f);
// Wall friction of a continuous wall in silt: 10 degrees in radians, single precision.
constexpr double kContinuousWallFriction = double(0.17453332f);

// One side of a station: what the report prints and the 17 points after multipliers and shift.
struct SiltSide {
    double depth;  // Z, below the side's soil surface
    double phiDegrees;
    double a;
    double b;
    double cohesive;    // pc
    double frictional;  // psphi
    CurveMultipliers multipliers;
    std::array<double, kPointsPerSide + 1> y;
    std::array<double, kPointsPerSide + 1> p;
};

// Cohesive part of the ultimate resistance (force/length) at the effective depth zEff: the clay wedge
// 3 + gamma z'/c + 0.5 z'/b times c b near the surface, limited by flow around the element at 9 c b.
double cohesiveResistance(double c, double b, double gamma, double zEff) {
    // Without cohesion there is no cohesive part (the wedge factor would be infinite, the limit 9 x 0).
    if (!(c > 0.0)) return 0.0;
    const double np = 3.0 + gamma * zEff / c + 0.5 * zEff / b;
    return np < 9.0 ? c * np * b : 9.0 * c * b;
}

void writeSiltSide(Engine& e, const StationSide& at, const SiltSide& side, double width, double gamma) {
    const UnitLabels& u = e.st.labels;
    WriteSideTitle(e, at.side);
    // The last heading is "Pu" and the phi sign of code page 437 (byte 0xED).
    e.io.write(
        kReportUnit,
        "(/,/,5X,'DEPTH',6X,'DIAM',6X,'PHI',2X,'GAMMA AVG',8X,'A',9X,'B',5X,'Puc',7X,'Pu"
        "\xED"
        "',/,7X,A2,8X,A2,12X,A3,A1,A2,A2,A1,/,2F10.2,F10.1,E10.3,2F10.2,2E10.3,/,/,37X,'Y',19X,'P',/,37X,A2,"
        "16X,A3,A1,A2)",
        {u.lengthShort.view(), u.lengthShort.view(), u.forceShort.view(), u.slash.view(), u.lengthShort.view(),
         u.power.view(), u.three.view(), side.depth, width, side.phiDegrees, gamma, side.a, side.b, side.cohesive,
         side.frictional, u.lengthShort.view(), u.forceShort.view(), u.slash.view(), u.lengthShort.view()});
    for (int i = 1; i <= kPointsPerSide; ++i) e.io.write(kReportUnit, "(21X,2E20.3)", {side.y[i], side.p[i]});
    WriteMultiplierLine(e, side.multipliers);
    for (int i = 1; i <= kPointsPerSide; ++i) WriteCurvePoint(e, "(I5,2(2X,E10.3))", i, side.p[i], side.y[i]);
}

}  // namespace

void PYCurveSilt(Engine& e, int column, int layer) {
    EngineState& st = e.st;
    SoilModel& soil = st.soil;
    StationSoilValues& sv = st.stationSoil;
    SetDepthRatioBreakpoints(soil);
    soil.pi = 4.0 * std::atan(1.0);
    soil.threshold = 1e-14;
    const double freeHeight = st.wallSoil.freeHeight;

    SandAngles angles{};
    double previousD = 0.0;
    double previousPu = 0.0;
    ForEachStationSide(e, column, layer, [&](const StationSide& at) {
        const double z = at.sideDepth;
        if (at.firstOfLayer && at.side == kExcavationSide) soil.layerResistance[layer] = 0.0;
        if (at.side == kExcavationSide) {
            // Both sides take the soil at the excavation-side depth of the station.
            sv.elementWidth = ElementWidthAtDepth(st, 1, z);
            sv.unitWeight = AverageUnitWeight(st, z);
            sv.frictionAngle = FrictionAngleAtDepth(st, z);
            sv.cohesion = StrengthAtDepth(st, z);
            angles = SandAnglesFor(sv.frictionAngle, soil.pi);
            sv.alpha = angles.alpha;
            sv.beta = angles.beta;
            sv.k0 = angles.k0;
            sv.ka = angles.ka;
            sv.kp = angles.kp;
        }
        const double b = sv.elementWidth;
        const double gamma = sv.unitWeight;
        const double c = sv.cohesion;
        const double pa = FrictionalPressureShift(st, b, c, angles.ka);

        // The slope of the ground in front of the wall is zero, so this tests the friction angle alone.
        if (1.0 - rt::ipow(std::cos(angles.phi), 2) < double(1e-10f)) {
            StopRun("",
                    "(/,/,7X,'WARNING-------The Angle of the slope can not',/,7X,'              be greater than the "
                    "internal  ',/,7X,'              friction angle of the sand.   ',/)");
        }

        SiltSide side{};
        side.depth = z - soil.top[1];
        sv.depth = side.depth;
        // Every silt layer, the first included, works at the equivalent depth of its top.
        if (at.side == kExcavationSide && at.firstOfLayer) EquivalentDepthLayered(e, layer);
        const double zEff = z - soil.top[layer] + soil.equivalentTopDepth[layer];
        const double kz = soil.fifthValue[layer] * zEff;

        const SandResistance r = SandWedgeFlowResistance(angles, b, gamma, zEff);
        side.frictional = r.smaller();
        side.cohesive = cohesiveResistance(c, b, gamma, zEff);
        if (soil.spacingRatio < kContinuousWallRatio) {
            // A continuous wall: passive pressure over the true depth, and the clay's 2cb on top of the
            // overburden.
            side.frictional =
                b * ContinuousWallPassiveCoefficient(angles.phi, kContinuousWallFriction) * gamma * side.depth;
            side.cohesive = gamma * side.depth * b + 2.0 * c * b;
        }
        side.a = CoefficientAtDepthRatio(st, zEff, kSandStaticA);
        side.b = CoefficientAtDepthRatio(st, zEff, kSandStaticB);
        const double pu = side.a * side.frictional + side.cohesive;
        const double pm = side.b * side.frictional + side.cohesive;
        const SandCurveShape shape = SandCurveShapeFor(pu, pm, b, kz, zEff);

        if (at.side == kExcavationSide) {
            // Trapezoids between stations, and the last station's pu down to the layer bottom.
            if (!at.firstOfLayer) {
                soil.layerResistance[layer] += (at.d - previousD) * 0.5 * (pu + previousPu);
                if (at.lastOfLayer) soil.layerResistance[layer] += (soil.bottom[layer] - at.d) * pu;
            }
            previousPu = pu;
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

        // The station's curve, on both sides, is named by its depth below the top of the wall.
        const double depthBelowTop = freeHeight + at.d - soil.top[1];
        CheckCurveValuesFinite(e, depthBelowTop,
                               {side.depth, b, side.phiDegrees, gamma, side.a, side.b, side.cohesive, side.frictional,
                                side.multipliers.p, side.multipliers.y});
        CheckCurveValuesFinite(e, depthBelowTop, side.y.data() + 1, kPointsPerSide);
        CheckCurveValuesFinite(e, depthBelowTop, side.p.data() + 1, kPointsPerSide);
        if (at.side == kExcavationSide) WriteCurveHeader(e, depthBelowTop);
        writeSiltSide(e, at, side, b, gamma);
    });
}

}  // namespace velmor::engine
