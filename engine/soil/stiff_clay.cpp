#include <algorithm>
#include <array>
#include <cmath>

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

// One side of a station: the printed depth and the 17 points after multipliers and shift.
struct ClaySide {
    double depth;  // below top(1), as printed
    CurveMultipliers multipliers;
    std::array<double, kPointsPerSide + 1> y;
    std::array<double, kPointsPerSide + 1> p;
};

// Applies the multipliers at the station's depth below the top of the wall and the pressure shift.
void scalePoints(const EngineState& st, const StationSide& at, double shift,
                 const std::array<double, kPointsPerSide + 1>& y, const std::array<double, kPointsPerSide + 1>& p,
                 ClaySide& side) {
    side.multipliers = MultipliersAtDepth(st, at.depthBelowTop);
    for (int i = 1; i <= kPointsPerSide; ++i) {
        side.y[i] = side.multipliers.y * y[i];
        side.p[i] = ShiftedResistance(at.side, side.multipliers.p * p[i], shift);
    }
}

void checkFinite(Engine& e, double depthBelowTop, const ClaySide& side, std::initializer_list<double> printed) {
    CheckCurveValuesFinite(e, depthBelowTop, printed);
    CheckCurveValuesFinite(e, depthBelowTop, {side.multipliers.p, side.multipliers.y});
    CheckCurveValuesFinite(e, depthBelowTop, side.y.data() + 1, kPointsPerSide);
    CheckCurveValuesFinite(e, depthBelowTop, side.p.data() + 1, kPointsPerSide);
}

void writePoints(Engine& e, const ClaySide& side) {
    for (int i = 1; i <= kPointsPerSide; ++i) WriteCurvePoint(e, kPointFormat, i, side.p[i], side.y[i]);
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
    const double freeHeight = st.wallSoil.freeHeight;
    const UnitLabels& u = st.labels;
    const double ks = soil.fifthValue[layer];

    double e50 = 0.0;
    double as = 0.0;
    double firstD = 0.0;
    double previousD = 0.0;
    double previousC = 0.0;
    double cohesionIntegral = 0.0;  // of c over depth from the layer's first station
    double previousPc = 0.0;
    ForEachStationSide(e, column, layer, [&](const StationSide& at) {
        if (at.side == kExcavationSide) {
            if (at.firstOfLayer) soil.layerResistance[layer] = 0.0;
            sv.elementWidth = ElementWidthAtDepth(st, 1, at.d);
            sv.cohesion = StrengthAtDepth(st, at.d);
            sv.unitWeight = AverageUnitWeight(st, at.d);
            e50 = E50AtDepth(st, at.d);
            as = StiffClayStaticA(st, at.d);
            const double c = sv.cohesion;
            if (at.firstOfLayer) {
                firstD = at.d;
                cohesionIntegral = 0.0;
                sv.averageCohesion = c;
            } else {
                cohesionIntegral += (at.d - previousD) * (previousC + c) / 2.0;
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

        ClaySide side{};
        side.depth = at.sideDepth - soil.top[1];
        const double x = side.depth;

        // Wedge failure near the surface against flow around the element at depth.
        const double pct = 2.0 * ca * b + gamma * b * x + kWedgeCoefficient * ca * x;
        const double pcd = 11.0 * c * b;
        double pc = std::min(pct, pcd);
        if (soil.spacingRatio < kContinuousWallRatio) pc = x * gamma * b + 2.0 * c * b;
        const double es = ks * x;
        const double y50 = e50 * b;

        if (at.side == kExcavationSide) {
            // The layer supplies its residual resistance F pc to the layers below.
            const double residualRatio = kResidualRoot * std::sqrt(as) - 0.75 * as - kResidualOffset;
            if (!at.firstOfLayer) {
                soil.layerResistance[layer] += (pc + previousPc) * 0.5 * residualRatio * (at.d - previousD);
            }
            previousPc = pc;
            previousD = at.d;
        }

        std::array<double, kPointsPerSide + 1> y{};
        std::array<double, kPointsPerSide + 1> p{};
        // Multiples of As y50 formed as the branch limits are, so that points 3, 13 and 16 (As, 6 As and 18 As
        // y50) fall on the branch that ends there and not on the next by a rounding.
        for (int i = 2; i <= 13; ++i) y[i] = ((i - 1) * 0.5) * as * y50;
        for (int i = 14; i <= 16; ++i) y[i] = (6.0 + 4.0 * (i - 13)) * as * y50;
        y[17] = 200.0 * as * y50;
        for (int i = 1; i <= kPointsPerSide; ++i) p[i] = std::min(belowWaterResistance(y[i], pc, y50, as), es * y[i]);
        scalePoints(st, at, p0, y, p, side);

        const double depthBelowTop = freeHeight + at.d;
        checkFinite(e, depthBelowTop, side, {side.depth, b, c, ca, gamma, e50});
        WriteSideTitle(e, at.side);
        e.io.write(kReportUnit,
                   "(/,/,9X,'DEPTH BELOW GS',6X,'DIAM',8X,'C',9X,'CAVG',4X,'GAMMA AVG',6X,'E50',/,15X,A2,13X,A2,5X,"
                   "2(A3,A1,2A2,A1,2X),A3,A1,2A2,A1,/,9X,F10.2,5X,F10.3,3(1X,D10.2),D12.4)",
                   {u.lengthShort.view(),
                    u.lengthShort.view(),
                    u.forceShort.view(),
                    u.slash.view(),
                    u.lengthShort.view(),
                    u.power.view(),
                    u.two.view(),
                    u.forceShort.view(),
                    u.slash.view(),
                    u.lengthShort.view(),
                    u.power.view(),
                    u.two.view(),
                    u.forceShort.view(),
                    u.slash.view(),
                    u.lengthShort.view(),
                    u.power.view(),
                    u.three.view(),
                    side.depth,
                    b,
                    c,
                    ca,
                    gamma,
                    e50});
        if (at.side == kExcavationSide) WriteCurveHeader(e, depthBelowTop);
        for (int i = 1; i <= kPointsPerSide; ++i) e.io.write(kReportUnit, "(21X,2F20.3)", {side.y[i], side.p[i]});
        writePoints(e, side);
    });
}

void PYCurveStiffClayAboveWater(Engine& e, int column, int layer) {
    EngineState& st = e.st;
    SoilModel& soil = st.soil;
    StationSoilValues& sv = st.stationSoil;
    const double freeHeight = st.wallSoil.freeHeight;
    const UnitLabels& u = st.labels;
    // Fractions of 16 y50 for points 2..14 of the static curve.
    static constexpr std::array<double, 13> kFractions = {double(1e-5f),
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

    double e50 = 0.0;
    double previousD = 0.0;
    double previousPu = 0.0;
    ForEachStationSide(e, column, layer, [&](const StationSide& at) {
        if (at.side == kExcavationSide) {
            if (at.firstOfLayer) soil.layerResistance[layer] = 0.0;
            sv.elementWidth = ElementWidthAtDepth(st, 1, at.d);
            sv.cohesion = StrengthAtDepth(st, at.d);
            sv.unitWeight = AverageUnitWeight(st, at.d);
            e50 = E50AtDepth(st, at.d);
            sv.averageCohesion = AverageStrength(e, at.d, layer);
            if (layer > 1 && at.firstOfLayer) EquivalentDepthLayered(e, layer);
        }
        const double b = sv.elementWidth;
        const double c = sv.cohesion;
        const double ca = sv.averageCohesion;
        const double gamma = sv.unitWeight;
        const double p0 = ClayPressureShift(st, b, c);

        ClaySide side{};
        side.depth = at.sideDepth - soil.top[1];
        const double x = layer > 1 ? at.sideDepth - soil.top[layer] + soil.equivalentTopDepth[layer] : side.depth;

        // Wedge failure near the surface against flow around the element at depth.
        const double pu1 = b * gamma * x + 3.0 * ca * b + 0.5 * ca * x;
        const double pu2 = 9.0 * c * b;
        double pu = std::min(pu1, pu2);
        if (soil.spacingRatio < kContinuousWallRatio) pu = side.depth * gamma * b + 2.0 * c * b;

        if (at.side == kExcavationSide) {
            if (!at.firstOfLayer) soil.layerResistance[layer] += (pu + previousPu) * 0.5 * (at.d - previousD);
            previousPu = pu;
            previousD = at.d;
        }

        // Static loading: one cycle, so the last point lies at 20 y50.
        const double y50 = e50 * 2.5 * b;
        const double y16 = 16.0 * y50;
        const double cycles = 1.0;
        const double y17 = (kCycleFactor * std::log10(cycles) + 16.0) * 1.25 * y50;
        std::array<double, kPointsPerSide + 1> y{};
        std::array<double, kPointsPerSide + 1> p{};
        for (int i = 2; i <= 14; ++i) y[i] = y16 * kFractions[i - 2];
        y[15] = y16;
        y[16] = (y16 + y17) * 0.5;
        y[17] = y17;
        for (int i = 1; i <= kPointsPerSide; ++i) p[i] = y[i] <= y16 ? 0.5 * pu * std::pow(y[i] / y50, 0.25) : pu;
        scalePoints(st, at, p0, y, p, side);

        const double depthBelowTop = freeHeight + at.d;
        checkFinite(e, depthBelowTop, side, {side.depth, b, c, ca, gamma, e50});
        WriteSideTitle(e, at.side);
        e.io.write(kReportUnit,
                   "(/,/,10X,'DEPTH BELOW GS',5X,'DIAM',8X,'C',7X,'CAVG',4X,'GAMMA AVG',5X,'E50',/,16X,A2,12X,A2,5X,"
                   "3(A3,A1,A2,A2,A1,1X),/,10X,F10.2,5X,F10.3,3D10.2,D12.4,/,38X,'Y',19X,'P',/,38X,A2,15X,A3,A1,A2)",
                   {u.lengthShort.view(),
                    u.lengthShort.view(),
                    u.forceShort.view(),
                    u.slash.view(),
                    u.lengthShort.view(),
                    u.power.view(),
                    u.two.view(),
                    u.forceShort.view(),
                    u.slash.view(),
                    u.lengthShort.view(),
                    u.power.view(),
                    u.two.view(),
                    u.forceShort.view(),
                    u.slash.view(),
                    u.lengthShort.view(),
                    u.power.view(),
                    u.three.view(),
                    side.depth,
                    b,
                    c,
                    ca,
                    gamma,
                    e50,
                    u.lengthShort.view(),
                    u.forceShort.view(),
                    u.slash.view(),
                    u.lengthShort.view()});
        if (at.side == kExcavationSide) WriteCurveHeader(e, depthBelowTop);
        for (int i = 1; i <= kPointsPerSide; ++i) e.io.write(kReportUnit, "(1X,20X,2F20.5)", {side.y[i], side.p[i]});
        WriteMultiplierLine(e, side.multipliers);
        writePoints(e, side);
    });
}

}  // namespace velmor::engine
