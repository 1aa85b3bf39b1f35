#include <cmath>

#include "soil/equivalent_depth.h"
#include "soil/generator_support.h"
#include "soil/generators.h"

namespace velmor::engine {

namespace {

constexpr double kDeflectionFloor = double(1e-14f);
constexpr double kContinuousWallRatio = double(1.1f);
constexpr double kNpLimit = 9.0;
constexpr double kOneThird = double(1.0f / 3.0f);
constexpr double kTwoThirds = double(2.0f / 3.0f);

// Deflections of the static soft-clay curve: the origin, 0.008 y50, twelve quarter steps of y50 up to 3 y50,
// then 8, 15 and 20 y50.
double softClayDeflection(int point, double y50) {
    if (point == 1) return 0.0;
    if (point == 2) return double(0.008f) * y50;
    if (point <= 14) return (point - 2) * (y50 / 4.0);
    if (point == 15) return 8.0 * y50;
    if (point == 16) return 15.0 * y50;
    return 20.0 * y50;
}

}  // namespace

void PYCurveSoftClay(Engine& e, int column, int layer) {
    EngineState& st = e.st;
    SoilModel& soil = st.soil;
    StationSoilValues& sv = st.stationSoil;
    soil.threshold = kDeflectionFloor;
    const UnitLabels& u = st.labels;

    double e50 = 0.0;
    LayerResistanceSum resistance;
    ForEachStationSide(e, column, layer, [&](const StationSide& at) {
        if (at.side == kExcavationSide) {
            e50 = LookUpClayValues(st, at.d);
            if (layer > 1 && at.firstOfLayer) EquivalentDepthLayered(e, layer);
        }
        const double b = sv.elementWidth;
        const double c = sv.cohesion;
        const double gamma = sv.unitWeight;
        const double p0 = ClayPressureShift(st, b, c);
        const double depth = at.sideDepth - soil.top[1];
        const double x = layer > 1 ? EquivalentDepth(soil, at, layer) : depth;

        // Wedge near the surface (Np from 3 upwards), flow around the element (Np = 9) at depth.
        double np = 0.0;
        if (c > 0.0) {
            np = 0.5 * x / b + gamma * x / c + 3.0;
            if (np > kNpLimit) np = kNpLimit;
        }
        double pu = c * np * b;
        if (soil.spacingRatio < kContinuousWallRatio) pu = depth * gamma * b * 1.0 + c * 2.0 * b * 1.0;

        const double y50 = e50 * 2.5 * b;
        // Secant modulus of the cube-root curve at the deflection floor, for deflections below it.
        const double k0 = 0.5 * pu * std::pow(y50 / soil.threshold, kTwoThirds) / y50;
        resistance.add(soil, layer, at, pu);

        const SideCurve curve = ScaleSideCurve(st, at, p0, [&](int i) {
            const double y = softClayDeflection(i, y50);
            if (y >= soil.threshold)
                return UnscaledPoint{y, y <= 8.0 * y50 ? 0.5 * pu * std::pow(y / y50, kOneThird) : pu};
            return UnscaledPoint{y, y * k0};
        });

        CheckSideCurveFinite(e, at.depthBelowTop, {depth, b, c, gamma, e50, k0}, curve);
        WriteSideTitle(e, at.side);
        e.io.write(kReportUnit,
                   "(/,9X,'DEPTH BELOW GS',6X,'DIAM',8X,'C',6X,'GAMMA AVG',6X,'E50',/,15X,A2,13X,A2,5X,A3,A1,A2,A2,"
                   "A1,2X,A3,A1,A2,A2,A1)",
                   HeadingItems(u).length().length().stress().unitWeight().items());
        e.io.write(kReportUnit, "(8X,F10.2,6X,F10.3,1X,D10.4,1X,D10.4,1X,D12.4)", {depth, b, c, gamma, e50});
        e.io.write(kReportUnit, "(/,37X,'Y,',A2,13X,'P,',A3,A1,A2)", HeadingItems(u).curveUnits().items());
        if (at.side == kExcavationSide) WriteCurveHeader(e, at.depthBelowTop);
        for (int i = 1; i <= kPointsPerSide; ++i) {
            e.io.write(kReportUnit, "(1X,20X,2F20.3)", {curve.y[i], curve.p[i]});
            if (i >= 2 && curve.y[i] < soil.threshold) {
                e.io.write(kReportUnit,
                           "(/,29X,'**** WARNING ****',/,5X,'DEFLECTION IS LESS THAN 1.0E-14.  THE PROGRAM',/,5X,'USED "
                           "A SOIL MODULUS OF ',D12.4)",
                           {k0});
            }
        }
        WriteMultiplierLine(e, curve.multipliers);
        WriteSideCurvePoints(e, "(I5,2(1X,E10.3))", curve);
    });
}

}  // namespace velmor::engine
