#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>

#include "soil/equivalent_depth.h"
#include "soil/generator_support.h"
#include "soil/generators.h"
#include "soil/soil_lookups.h"

namespace velmor::engine {

namespace {

constexpr double kContinuousWallRatio = double(1.1f);
constexpr double kWedgeCoefficient = double(2.83f);
constexpr double kResidualRoot = double(1.225f);
constexpr double kResidualOffset = double(0.411f);
constexpr double kSofteningCoefficient = double(0.055f);
constexpr double kCycleFactor = double(9.6f);
constexpr const char* kPointFormat = "(I5,1X,E10.3,1X,E10.3)";

// What the heading of a side prints, in its order: DEPTH BELOW GS, DIAM, C, CAVG, GAMMA AVG, E50.
struct ClayHeading {
    double depth;  // below top(1)
    double b;
    double c;
    double ca;
    double gamma;
    double e50;
};

// The two generators print a side alike but for these.
struct ClayLayout {
    const char* heading;  // FORMAT of the heading, its labels and values
    bool curveUnits;      // the heading ends with the units of the Y and P columns
    const char* row;      // FORMAT of a curve row (y, p)
    bool multiplierLine;  // the multipliers follow the rows
};

// Writes a side's heading and rows to the report and its points to soildata, nothing when a value that the
// side prints is not finite. The excavation side first writes the station's curve header.
void writeClaySide(Engine& e, const StationSide& at, const ClayLayout& layout, const ClayHeading& v,
                   const SideCurve& curve) {
    CheckSideCurveFinite(e, at.depthBelowTop, {v.depth, v.b, v.c, v.ca, v.gamma, v.e50}, curve);
    WriteSideTitle(e, at.side);
    HeadingItems heading(e.st.labels);
    heading.length().length().stress().stress().unitWeight().values({v.depth, v.b, v.c, v.ca, v.gamma, v.e50});
    if (layout.curveUnits) heading.curveUnits();
    e.io.write(kReportUnit, layout.heading, heading.items());
    if (at.side == kExcavationSide) WriteCurveHeader(e, at.depthBelowTop);
    WriteSideCurveRows(e, layout.row, curve);
    if (layout.multiplierLine) WriteMultiplierLine(e, curve.multipliers);
    WriteSideCurvePoints(e, kPointFormat, curve);
}

constexpr ClayLayout kBelowWaterLayout = {
    "(/,/,9X,'DEPTH BELOW GS',6X,'DIAM',8X,'C',9X,'CAVG',4X,'GAMMA AVG',6X,'E50',/,15X,A2,13X,A2,5X,"
    "2(A3,A1,2A2,A1,2X),A3,A1,2A2,A1,/,9X,F10.2,5X,F10.3,3(1X,D10.2),D12.4)",
    false, "(21X,2F20.3)", false};

constexpr ClayLayout kAboveWaterLayout = {
    "(/,/,10X,'DEPTH BELOW GS',5X,'DIAM',8X,'C',7X,'CAVG',4X,'GAMMA AVG',5X,'E50',/,16X,A2,12X,A2,5X,"
    "3(A3,A1,A2,A2,A1,1X),/,10X,F10.2,5X,F10.3,3D10.2,D12.4,/,38X,'Y',19X,'P',/,38X,A2,15X,A3,A1,A2)",
    true, "(1X,20X,2F20.5)", true};

// Deflections of the curve below the water table: the origin, half steps of As y50 up to 6 As y50, then 10, 14
// and 18 As y50, and 200 As y50. Multiples of As y50 formed as the branch limits are, so that points 3, 13 and
// 16 (As, 6 As and 18 As y50) fall on the branch that ends there and not on the next by a rounding.
double belowWaterDeflection(int point, double as, double y50) {
    if (point <= 1) return 0.0;
    if (point <= 13) return ((point - 1) * 0.5) * as * y50;
    if (point <= 16) return (6.0 + 4.0 * (point - 13)) * as * y50;
    return 200.0 * as * y50;
}

// Fractions of 16 y50 for points 2..14 of the static curve above the water table.
constexpr std::array<double, 13> kAboveWaterFractions = {double(1e-5f),
                                                         double(5e-5f),
                                                         double(1e-4f),
                                                         double(5e-4f),
                                                         double(0.001f),
                                                         double(0.005f),
                                                         double(0.01f),
                                                         double(0.025f),
                                                         double(0.05f),
                                                         double(0.075f),
                                                         double(0.1f),
                                                         0.25,
                                                         0.5};

// Deflections of the static curve above the water table: the origin, fractions of 16 y50, 16 y50, the middle
// between 16 y50 and the last point, the last point.
double aboveWaterDeflection(int point, double y16, double y17) {
    if (point <= 1) return 0.0;
    if (point <= 14) return y16 * kAboveWaterFractions[static_cast<std::size_t>(point - 2)];
    if (point == 15) return y16;
    if (point == 16) return (y16 + y17) * 0.5;
    return y17;
}

// Static curve of stiff clay below the water table: a parabola to As y50, softening in two branches down to a
// residual resistance from 18 As y50 on. y and y50 in length units, pc in force per length.
double belowWaterResistance(double y, double pc, double y50, double as) {
    const double peak = 0.5 * pc * std::sqrt(6.0 * as) - kResidualOffset * pc;
    if (y <= as * y50) return 0.5 * pc * std::sqrt(y / y50);
    if (y <= 6.0 * as * y50) {
        return 0.5 * pc * std::sqrt(y / y50) - kSofteningCoefficient * pc * std::pow(y / (as * y50) - 1.0, 1.25);
    }
    if (y <= 18.0 * as * y50) return peak - (0.0625 * pc / y50) * (y - 6.0 * as * y50);
    return peak - 0.75 * pc * as;
}

}  // namespace

void PYCurveStiffClayBelowWater(Engine& e, int column, int layer) {
    EngineState& st = e.st;
    SoilModel& soil = st.soil;
    StationSoilValues& sv = st.stationSoil;
    const double ks = soil.fifthValue[std::clamp(layer, 0, kSoilLayerSlots)];  // the layer is checked below

    double e50 = 0.0;
    double as = 0.0;
    double firstD = 0.0;
    double previousC = 0.0;
    double cohesionIntegral = 0.0;  // of c over depth from the layer's first station
    LayerResistanceSum resistance;
    ForEachStationSide(e, column, layer, [&](const StationSide& at) {
        if (at.side == kExcavationSide) {
            e50 = LookUpClayValues(st, at.d);
            as = StiffClayStaticA(st, at.d);
            const double c = sv.cohesion;
            if (at.firstOfLayer) {
                firstD = at.d;
                cohesionIntegral = 0.0;
                sv.averageCohesion = c;
            } else {
                cohesionIntegral += (at.d - resistance.previousDepth()) * (previousC + c) / 2.0;
                // Stations of a very thin layer can share a depth: the mean over no length is c itself.
                sv.averageCohesion = at.d - firstD != 0.0 ? cohesionIntegral / (at.d - firstD) : c;
            }
            if (layer == 1) sv.averageCohesion = AverageStrength(e, at.d, 1);
            previousC = c;
            if (layer > 1 && at.firstOfLayer) EquivalentDepthLayered(e, layer);
        }
        const double b = sv.elementWidth;
        const double c = sv.cohesion;
        const double ca = sv.averageCohesion;
        const double gamma = sv.unitWeight;
        const double p0 = ClayPressureShift(st, b, c);
        const double x = at.sideDepth - soil.top[1];

        // Wedge failure near the surface against flow around the element at depth.
        const double pct = 2.0 * ca * b + gamma * b * x + kWedgeCoefficient * ca * x;
        const double pcd = 11.0 * c * b;
        double pc = std::min(pct, pcd);
        if (soil.spacingRatio < kContinuousWallRatio) pc = x * gamma * b + 2.0 * c * b;
        const double es = ks * x;
        const double y50 = e50 * b;

        // The layer supplies its residual resistance F pc to the layers below.
        const double residualRatio = kResidualRoot * std::sqrt(as) - 0.75 * as - kResidualOffset;
        resistance.add(soil, layer, at, pc, residualRatio);

        const SideCurve curve = ScaleSideCurve(st, at, p0, [&](int i) {
            const double y = belowWaterDeflection(i, as, y50);
            return UnscaledPoint{y, std::min(belowWaterResistance(y, pc, y50, as), es * y)};
        });
        writeClaySide(e, at, kBelowWaterLayout, {x, b, c, ca, gamma, e50}, curve);
    });
}

void PYCurveStiffClayAboveWater(Engine& e, int column, int layer) {
    EngineState& st = e.st;
    SoilModel& soil = st.soil;
    StationSoilValues& sv = st.stationSoil;
    double e50 = 0.0;
    LayerResistanceSum resistance;
    ForEachStationSide(e, column, layer, [&](const StationSide& at) {
        if (at.side == kExcavationSide) {
            e50 = LookUpClayValues(st, at.d);
            sv.averageCohesion = AverageStrength(e, at.d, layer);
            if (layer > 1 && at.firstOfLayer) EquivalentDepthLayered(e, layer);
        }
        const double b = sv.elementWidth;
        const double c = sv.cohesion;
        const double ca = sv.averageCohesion;
        const double gamma = sv.unitWeight;
        const double p0 = ClayPressureShift(st, b, c);
        const double depth = at.sideDepth - soil.top[1];
        const double x = layer > 1 ? EquivalentDepth(soil, at, layer) : depth;

        // Wedge failure near the surface against flow around the element at depth.
        const double pu1 = b * gamma * x + 3.0 * ca * b + 0.5 * ca * x;
        const double pu2 = 9.0 * c * b;
        double pu = std::min(pu1, pu2);
        if (soil.spacingRatio < kContinuousWallRatio) pu = depth * gamma * b + 2.0 * c * b;
        resistance.add(soil, layer, at, pu);

        // Static loading: one cycle, so the last point lies at 20 y50.
        const double y50 = e50 * 2.5 * b;
        const double y16 = 16.0 * y50;
        const double cycles = 1.0;
        const double y17 = (kCycleFactor * std::log10(cycles) + 16.0) * 1.25 * y50;
        const SideCurve curve = ScaleSideCurve(st, at, p0, [&](int i) {
            const double y = aboveWaterDeflection(i, y16, y17);
            return UnscaledPoint{y, y <= y16 ? 0.5 * pu * std::pow(y / y50, 0.25) : pu};
        });
        writeClaySide(e, at, kAboveWaterLayout, {depth, b, c, ca, gamma, e50}, curve);
    });
}

}  // namespace velmor::engine
