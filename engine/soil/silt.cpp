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

// What the heading of a side prints besides the width and the unit weight.
struct SiltSide {
    double depth;  // Z, below the side's soil surface
    double phiDegrees;
    double a;
    double b;
    double cohesive;    // pc
    double frictional;  // psphi
};

// Cohesive part of the ultimate resistance (force/length) at the effective depth zEff: the clay wedge
// 3 + gamma z'/c + 0.5 z'/b times c b near the surface, limited by flow around the element at 9 c b.
double cohesiveResistance(double c, double b, double gamma, double zEff) {
    // Without cohesion there is no cohesive part (the wedge factor would be infinite, the limit 9 x 0).
    if (!(c > 0.0)) return 0.0;
    const double np = 3.0 + gamma * zEff / c + 0.5 * zEff / b;
    return np < 9.0 ? c * np * b : 9.0 * c * b;
}

void writeSiltSide(Engine& e, const StationSide& at, const SiltSide& side, double width, double gamma,
                   const SideCurve& curve) {
    WriteSideTitle(e, at.side);
    // The last heading is "Pu" and the phi sign of code page 437 (byte 0xED).
    e.io.write(kReportUnit,
               "(/,/,5X,'DEPTH',6X,'DIAM',6X,'PHI',2X,'GAMMA AVG',8X,'A',9X,'B',5X,'Puc',7X,'Pu"
               "\xED"
               "',/,7X,A2,8X,A2,12X,A3,A1,A2,A2,A1,/,2F10.2,F10.1,E10.3,2F10.2,2E10.3,/,/,37X,'Y',19X,'P',/,37X,A2,"
               "16X,A3,A1,A2)",
               HeadingItems(e.st.labels)
                   .length()
                   .length()
                   .unitWeight()
                   .values({side.depth, width, side.phiDegrees, gamma, side.a, side.b, side.cohesive, side.frictional})
                   .curveUnits()
                   .items());
    WriteSideCurveRows(e, "(21X,2E20.3)", curve);
    WriteMultiplierLine(e, curve.multipliers);
    WriteSideCurvePoints(e, "(I5,2(2X,E10.3))", curve);
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
    LayerResistanceSum resistance;
    ForEachStationSide(e, column, layer, [&](const StationSide& at) {
        const double z = at.sideDepth;
        if (at.side == kExcavationSide) {
            // Both sides take the soil at the excavation-side depth of the station.
            angles = LookUpSandValues(st, z);
            sv.cohesion = StrengthAtDepth(st, z);
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
        const double zEff = EquivalentDepth(soil, at, layer);
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
        // Trapezoids between stations, and the last station's pu down to the layer bottom.
        AddSandLayerResistance(soil, layer, at, pu, resistance);

        side.phiDegrees = angles.phi * 180.0 / soil.pi;
        const SideCurve curve = SandSideCurve(st, at, shape, pa);
        // The station's curve, on both sides, is named by its depth below the top of the wall.
        const double depthBelowTop = freeHeight + at.d - soil.top[1];
        CheckSideCurveFinite(e, depthBelowTop,
                             {side.depth, b, side.phiDegrees, gamma, side.a, side.b, side.cohesive, side.frictional},
                             curve);
        if (at.side == kExcavationSide) WriteCurveHeader(e, depthBelowTop);
        writeSiltSide(e, at, side, b, gamma, curve);
    });
}

}  // namespace velmor::engine
