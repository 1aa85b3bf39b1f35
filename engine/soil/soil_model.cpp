#include "soil/soil_model.h"

#include <algorithm>
#include <string_view>

#include "engine_errors.h"
#include "runtime/engine_math.h"
#include "soil/generators.h"
#include "soil/soil_lookups.h"
#include "soil/unit_labels.h"

namespace velmor::engine {

namespace {

// Values of the six-value layer records, 1-based.
enum SoilValue { kUnitWeightValue = 1, kStrengthValue, kFrictionValue, kE50Value, kFifthValue, kSixthValue };

// Single-precision pi of the degree conversions of the echo and the strength table.
constexpr double kDegreePi = double(3.1416f);

[[noreturn]] void endRunForLayer(Engine& e, int inputLayer, std::string_view text) {
    EndRunWithReport(e, "(/,/,5X,'INPUT SOIL LAYER',I3,': ',A,/,/)", {inputLayer, text});
}

// Distance of the first and last station from the layer boundaries: 0.1 inch, or 0.01 metre in SI.
double endDistance(const EngineState& st) {
    return st.run.unitSystem == 2 ? double(0.1f) / 10.0 : double(0.1f);
}

double waterUnitWeight(const EngineState& st) {
    return st.run.unitSystem == 2 ? double(9.81f) : double(0.036f);
}

void resetModel(SoilModel& soil) {
    soil = SoilModel{};
    soil.threshold = 1e-14;
    soil.oneMillionth = 1e-6;
    soil.oneHundredThousandth = 1e-5;
    soil.pi = double(3.14159f);
    SetDepthRatioBreakpoints(soil);
}

void setLabels(Engine& e) {
    // The labels the run set for the problem: any unit system but 1 and 2 keeps them, so that one problem's
    // report names its units one way throughout (generic in a first problem of unit system 3).
    const int32_t flag = UnitLabelFlag(e.st.geometry.unitCode, e.st.control.unitLabelFlag);
    e.st.control.unitLabelFlag = flag;
    SetUnitLabels(e.st.labels, flag);
}

// Layers below the excavation level down to two increments below the toe, with their strength table. The
// model's depths are below the excavation level; its boundaries are compared as depths below the top of the
// wall, as lengths against stations are.
void buildLayers(Engine& e) {
    SoilModel& soil = e.st.soil;
    const WallSoilInput& in = e.st.wallSoil;
    const double freeHeight = in.freeHeight;
    const double wallLength = e.st.geometry.ni * e.st.run.h;
    const double limit = 2.0 * e.st.run.h + wallLength - freeHeight;
    const double minimumThickness = 2.0 * endDistance(e.st);
    if (in.layerCount > kMaxLayers) EndRunTooMuchData(e);

    double running = 0.0;   // bottom of input layer i below the top of the wall
    double accepted = 0.0;  // sum of the accepted thicknesses
    int n = 0;
    for (int i = 1; i <= in.layerCount; ++i) {
        double thickness = in.thickness[i];
        running += thickness;
        if (n == 0) {
            if (!rt::lengthGreater(running, freeHeight)) continue;
            thickness = running - freeHeight;
        }
        // The soil model ends at the limit: a layer that starts there is not part of it.
        if (!rt::lengthLess(freeHeight + accepted, freeHeight + limit)) break;
        if (!(thickness > 0.0)) endRunForLayer(e, i, "ITS BOTTOM DOES NOT LIE BELOW THE BOTTOM OF THE LAYER ABOVE");
        const double bottom = accepted + thickness;
        const double top = bottom - thickness;
        const bool cut = rt::lengthGreater(freeHeight + bottom, freeHeight + limit);
        // What the cut leaves of a layer that starts just above the limit cannot hold the layer's stations:
        // the soil model then ends with the layer above.
        if (cut && limit - top < minimumThickness) break;
        if (!cut && bottom - top < minimumThickness) endRunForLayer(e, i, "THE LAYER IS TOO THIN FOR ITS P-Y STATIONS");
        if (++n > kMaxSoilModelLayers) EndRunTooMuchData(e);
        accepted = bottom;

        soil.soilType[n] = in.soilType[i];
        soil.inputLayer[n] = i;
        soil.top[n] = top;
        soil.bottom[n] = bottom;
        soil.fifthValue[n] = in.top[i][kFifthValue];
        const int a = 2 * n - 1;
        const int b = 2 * n;
        soil.depth[a] = top;
        soil.depth[b] = bottom;
        soil.cohesion[a] = in.top[i][kStrengthValue];
        soil.cohesion[b] = in.bottom[i][kStrengthValue];
        soil.frictionAngle[a] = in.top[i][kFrictionValue];
        soil.frictionAngle[b] = in.bottom[i][kFrictionValue];
        soil.e50[a] = in.top[i][kE50Value];
        soil.e50[b] = in.bottom[i][kE50Value];
        soil.sixthValue[a] = in.top[i][kSixthValue];
        soil.sixthValue[b] = in.bottom[i][kSixthValue];
        if (cut) {
            // The values at the toe cut lie on the layer's straight line between its top and bottom values.
            const double weight = (limit - top) / (bottom - top);
            for (StrengthColumn* column : {&soil.cohesion, &soil.frictionAngle, &soil.e50, &soil.sixthValue}) {
                (*column)[b] = (*column)[a] + ((*column)[b] - (*column)[a]) * weight;
            }
            soil.bottom[n] = limit;
            soil.depth[b] = limit;
            break;
        }
    }
    soil.layerCount = n;
    soil.strengthCount = 2 * n;
}

// Effective unit weight against depth: each layer's top unit weight, less the water's below the backfill
// water table. A water table inside a layer splits it into a dry and a submerged part with a step at the
// water table; inside the last layer the submerged part is added by the echo, after the heading that counts
// the points without it.
void buildUnitWeightTable(Engine& e) {
    SoilModel& soil = e.st.soil;
    const double freeHeight = e.st.wallSoil.freeHeight;
    const double waterTable = e.st.wallSoil.waterTableBackfill;
    const double water = waterUnitWeight(e.st);
    const int n = soil.layerCount;
    int count = 0;
    auto append = [&](double depth, double weight) {
        if (++count > kUnitWeightTablePoints) EndRunTooMuchData(e);
        soil.unitWeightDepth[count] = depth;
        soil.unitWeight[count] = weight;
    };
    for (int k = 1; k <= n; ++k) {
        const double dry = e.st.wallSoil.top[soil.inputLayer[k]][kUnitWeightValue];
        const double submerged = dry - water;
        double top = soil.top[k];
        // A top exactly at the water table is submerged when the layer goes on below it (a water table at
        // the excavation level included), so the layer carries one weight and not a ramp from dry to wet.
        const bool topSubmerged = rt::lengthGreater(top + freeHeight, waterTable) ||
                                  (rt::sameLength(top + freeHeight, waterTable) &&
                                   rt::lengthGreater(soil.bottom[k] + freeHeight, waterTable));
        const double topWeight = topSubmerged ? submerged : dry;
        if (k > 1 && top > soil.unitWeightDepth[count]) top = soil.unitWeightDepth[count];
        append(top, topWeight);
        const bool waterInside = rt::lengthLess(soil.top[k] + freeHeight, waterTable) &&
                                 rt::lengthLess(waterTable, soil.bottom[k] + freeHeight);
        if (!waterInside) {
            append(soil.bottom[k], rt::lengthGreater(soil.bottom[k] + freeHeight, waterTable) ? submerged : dry);
        } else {
            append(waterTable - freeHeight, dry);
            if (k < n) {
                append(waterTable - freeHeight, submerged);
                append(soil.bottom[k], submerged);
            }
        }
    }
    soil.unitWeightCount = count;
}

void placeStations(EngineState& st) {
    SoilModel& soil = st.soil;
    const double d = endDistance(st);
    const int n = soil.layerCount;
    for (int k = 1; k <= n; ++k) {
        const double top = soil.top[k];
        const double h = soil.bottom[k] - top;
        const int s = kStationsPerLayer * k;
        soil.station[s - 4][kStationDepthColumn] = top + d;
        soil.station[s - 3][kStationDepthColumn] = top + 0.25 * h;
        soil.station[s - 2][kStationDepthColumn] = top + 0.5 * h;
        soil.station[s - 1][kStationDepthColumn] = top + 0.75 * h;
        soil.station[s][kStationDepthColumn] = soil.bottom[k] - d;
        if (k > 1 && k < n) soil.bottom[k - 1] = top;
    }
    soil.stationCount = kStationsPerLayer * n;
    for (int i = 1; i <= soil.strengthCount; ++i) soil.frictionAngle[i] = soil.frictionAngle[i] * kDegreePi / 180.0;
}

void echoSoilData(Engine& e) {
    SoilModel& soil = e.st.soil;
    const UnitLabels& u = e.st.labels;
    const double freeHeight = e.st.wallSoil.freeHeight;
    rt::RecordIO& io = e.io;
    io.write(kReportUnit,
             "(/,/,6X,'**************************************************',/,6X,'*        SOIL LAYERS AND STRENGTH "
             "DATA           *',/,6X,'**************************************************',/)");
    io.write(kReportUnit, "(/,9X,'X AT THE SURFACE OF EXCAVATION SIDE     = ',F10.2,A3)",
             {freeHeight + soil.top[1], u.lengthLong.view()});
    io.write(kReportUnit, "(/,9X,I1,' LAYER(S) OF SOIL')", {soil.layerCount});
    for (int k = 1; k <= soil.layerCount; ++k) {
        io.write(kReportUnit, "(/,9X,'LAYER',I3)", {k});
        switch (soil.soilType[k]) {
            case 1:
                io.write(kReportUnit, "(9X,'THE SOIL IS A SOFT CLAY')");
                break;
            case 2:
                io.write(kReportUnit, "(9X,'THE SOIL IS A STIFF CLAY BELOW THE WATER TABLE')");
                break;
            case 3:
                io.write(kReportUnit, "(9X,'THE SOIL IS A STIFF CLAY ABOVE THE WATER TABLE')");
                break;
            case 4:
                io.write(kReportUnit, "(9X,'THE SOIL IS A SAND')");
                break;
            case 5:
                io.write(kReportUnit, "(9X,'THE SOIL IS A SILT')");
                break;
            case 6:
                io.write(kReportUnit, "(9X,'THE LAYER IS ROCK')");
                break;
            case 7:
                io.write(kReportUnit, "(9X,'THE LAYER IS WEAK ROCK')");
                break;
            default:
                break;
        }
    }

    io.write(kReportUnit,
             "(/,/,9X,'DISTRIBUTION OF EFFECTIVE UNIT WEIGHT WITH DEPTH',/,27X,I2,' POINTS',/,/,21X,'X,',A2,3X,"
             "'WEIGHT,',A3,A1,A2,A2,A1)",
             {soil.unitWeightCount, u.lengthShort.view(), u.forceShort.view(), u.slash.view(), u.lengthShort.view(),
              u.power.view(), u.three.view()});
    // A water table inside the last layer: its submerged part down to the bottom of the strength table.
    const int nw = soil.unitWeightCount;
    const int ns = soil.strengthCount;
    if (nw >= 1 && ns >= 1 && rt::lengthLess(soil.unitWeightDepth[nw] + freeHeight, soil.depth[ns] + freeHeight)) {
        if (nw + 2 > kUnitWeightTablePoints) EndRunTooMuchData(e);
        const double submerged = soil.unitWeight[nw] - waterUnitWeight(e.st);
        soil.unitWeightDepth[nw + 1] = soil.unitWeightDepth[nw];
        soil.unitWeight[nw + 1] = submerged;
        soil.unitWeightDepth[nw + 2] = soil.depth[ns];
        soil.unitWeight[nw + 2] = submerged;
        soil.unitWeightCount = nw + 2;
    }
    for (int j = 1; j <= soil.unitWeightCount; ++j) {
        io.write(kReportUnit, "(10X,F15.4,D15.4)", {soil.unitWeightDepth[j] + freeHeight, soil.unitWeight[j]});
    }

    io.write(kReportUnit,
             "(/,/,9X,'DISTRIBUTION OF STRENGTH PARAMETERS WITH DEPTH',/,27X,I2,' POINTS',/,/,21X,'X,',A2,5X,'S,',A3,"
             "A1,A2,A2,A1,6X,'PHI,DEGREES',6X,'E50')",
             {ns, u.lengthShort.view(), u.forceShort.view(), u.slash.view(), u.lengthShort.view(), u.power.view(),
              u.two.view()});
    for (int i = 1; i <= ns; ++i) {
        const double degrees = soil.frictionAngle[i] * 180.0 / kDegreePi;
        if (soil.e50[i] > double(1e-6f)) {
            io.write(kReportUnit, "(10X,F15.2,2X,D13.4,2X,F13.3,D15.4)",
                     {soil.depth[i] + freeHeight, soil.cohesion[i], degrees, soil.e50[i]});
        } else {
            io.write(kReportUnit, "(10X,F15.2,2X,D13.4,2X,F13.3,7X,'-----')",
                     {soil.depth[i] + freeHeight, soil.cohesion[i], degrees});
        }
    }
}

// For each layer the first and last station whose depth lies inside it, walking the stations in order.
void mapStationsToLayers(Engine& e, int column) {
    SoilModel& soil = e.st.soil;
    for (int k = 1; k <= kSoilLayerSlots; ++k) {
        soil.firstStation[k] = 1;
        soil.lastStation[k] = 0;
    }
    for (int s = 1; s <= soil.stationCount; ++s) {
        const double depth = soil.station[s][column];
        for (int k = 1; k <= soil.layerCount; ++k) {
            if (depth < soil.top[k] || depth > soil.bottom[k]) continue;
            if (soil.lastStation[k] < soil.firstStation[k]) soil.firstStation[k] = s;
            soil.lastStation[k] = s;
            break;
        }
    }
}

int stationsOf(const SoilModel& soil, int layer) {
    return std::max(0, soil.lastStation[layer] - soil.firstStation[layer] + 1);
}

// The soil values each generator divides by or takes roots of, checked before any curve is written.
void validateLayer(Engine& e, int k) {
    const SoilModel& soil = e.st.soil;
    const int row = soil.inputLayer[k];
    const int a = 2 * k - 1;
    const int b = 2 * k;
    auto bothAbove = [&](const StrengthColumn& column, double floor) { return column[a] > floor && column[b] > floor; };
    // Whether the mean effective unit weight that every station's curve uses passes the test.
    auto everyStationWeight = [&](auto passes) {
        for (int s = soil.firstStation[k]; s <= soil.lastStation[k]; ++s) {
            if (!passes(AverageUnitWeight(e.st, soil.station[s][kStationDepthColumn]))) return false;
        }
        return true;
    };
    auto stationWeightsPositive = [&] { return everyStationWeight([](double gamma) { return gamma > 0.0; }); };
    switch (soil.soilType[k]) {
        case 4:
            if (!bothAbove(soil.frictionAngle, 0.0))
                endRunForLayer(e, row, "THE FRICTION ANGLE MUST BE GREATER THAN ZERO");
            if (!stationWeightsPositive())
                endRunForLayer(e, row, "THE EFFECTIVE UNIT WEIGHT MUST BE GREATER THAN ZERO");
            break;
        case 5:
            if (!(soil.cohesion[a] >= 0.0 && soil.cohesion[b] >= 0.0))
                endRunForLayer(e, row, "THE COHESION MUST NOT BE NEGATIVE");
            if (!bothAbove(soil.frictionAngle, 0.0))
                endRunForLayer(e, row, "THE FRICTION ANGLE MUST BE GREATER THAN ZERO");
            if (!stationWeightsPositive())
                endRunForLayer(e, row, "THE EFFECTIVE UNIT WEIGHT MUST BE GREATER THAN ZERO");
            break;
        case 6:
            if (!bothAbove(soil.cohesion, 0.0)) endRunForLayer(e, row, "THE ROCK STRENGTH MUST BE GREATER THAN ZERO");
            break;
        case 7:
            if (!bothAbove(soil.cohesion, 0.0)) endRunForLayer(e, row, "THE ROCK STRENGTH MUST BE GREATER THAN ZERO");
            if (!bothAbove(soil.e50, 0.0)) endRunForLayer(e, row, "KRM MUST BE GREATER THAN ZERO");
            break;
        default:
            // A clay without cohesion has flat curves (no resistance beyond the pressure shift), as the
            // generators define them; a negative one has no meaning.
            if (!(soil.cohesion[a] >= 0.0 && soil.cohesion[b] >= 0.0))
                endRunForLayer(e, row, "THE COHESION MUST NOT BE NEGATIVE");
            if (!bothAbove(soil.e50, 0.0)) endRunForLayer(e, row, "E50 MUST BE GREATER THAN ZERO");
            // A clay lighter than the water around it would pull its wedge resistance below zero with depth.
            if (!everyStationWeight([](double gamma) { return gamma >= 0.0; }))
                endRunForLayer(e, row, "THE EFFECTIVE UNIT WEIGHT MUST NOT BE NEGATIVE");
            break;
    }
}

// User curves as the intake took them in (multipliers applied), checked against the store's capacity.
int checkedUserCurveCount(Engine& e) {
    const int nuc = std::max(0, e.st.run.nuc);
    if (nuc > kMaxCurves) EndRunTooMuchData(e);
    for (int j = 1; j <= nuc; ++j) {
        const int points = e.st.userCurves.pointCount[j];
        if (points < 0 || points > kMaxCurvePoints) EndRunTooMuchData(e);
    }
    return nuc;
}

void writeUserCurves(Engine& e, int nuc) {
    const UserPYCurves& u = e.st.userCurves;
    for (int j = 1; j <= nuc; ++j) {
        e.io.writeList(kCurveScratchUnit, {u.node[j], u.pointCount[j]});
        for (int i = 1; i <= u.pointCount[j]; ++i) e.io.writeList(kCurveScratchUnit, {i, u.p[j][i], u.y[j][i]});
    }
}

void echoReductionFactors(Engine& e) {
    const WallSoilInput& w = e.st.wallSoil;
    if (w.pFactorCount <= 0) return;
    e.io.write(kReportUnit,
               "(/,9X,'REDUCTION FACTORS FOR CLOSELY-SPACED WALL ELEMENTS',/,7X,'                                 ',/,"
               "7X,'      DEPTH     P-FACTOR     Y-FACTOR        ',/)");
    for (int i = 1; i <= w.pFactorCount; ++i) {
        e.io.write(kReportUnit, "(12X,F7.2,4X,F6.2,6X,F6.2)", {w.factorDepth[i], w.pFactor[i], w.yFactor[i]});
    }
}

void dispatchLayers(Engine& e, int column) {
    SoilModel& soil = e.st.soil;
    for (int k = 1; k <= soil.layerCount; ++k) {
        if (stationsOf(soil, k) == 0) continue;
        soil.currentLayer = k;
        switch (soil.soilType[k]) {
            case 2:
                PYCurveStiffClayBelowWater(e, column, k);
                break;
            case 3:
                PYCurveStiffClayAboveWater(e, column, k);
                break;
            case 4:
                PYCurveSand(e, column, k);
                break;
            case 5:
                PYCurveSilt(e, column, k);
                break;
            case 6:
                PYCurveRock(e, column, k);
                break;
            case 7:
                PYCurveWeakRock(e, column, k);
                break;
            default:
                PYCurveSoftClay(e, column, k);
                break;
        }
    }
}

void generate(Engine& e) {
    SoilModel& soil = e.st.soil;
    const WallSoilInput& w = e.st.wallSoil;
    e.io.write(kConsole, "(' READ SOIL DATA....')");
    setLabels(e);

    buildLayers(e);
    buildUnitWeightTable(e);
    placeStations(e.st);
    echoSoilData(e);

    mapStationsToLayers(e, kStationDepthColumn);
    int generated = 0;
    if (soil.layerCount > 0) {
        if (!(w.wp > 0.0)) {
            EndRunWithReport(e, "(/,/,5X,'THE WIDTH FOR SOIL RESISTANCE (WP) MUST BE GREATER THAN ZERO',/,/)");
        }
        for (int k = 1; k <= soil.layerCount; ++k) {
            if (stationsOf(soil, k) == 0) continue;
            validateLayer(e, k);
            if (GeneratorWritesCurves(soil.soilType[k])) generated += stationsOf(soil, k);
        }
    }

    const int nuc = checkedUserCurveCount(e);
    if (w.pFactorCount > kMaxModificationFactors || w.yFactorCount > kMaxModificationFactors) EndRunTooMuchData(e);
    e.io.writeList(kCurveScratchUnit, {nuc + generated});
    writeUserCurves(e, nuc);
    echoReductionFactors(e);
    e.io.write(kReportUnit, "(/,/,8X,'P-Y CURVES DATA',/)");
    soil.spacingRatio = w.wp > 0.0 ? std::max(w.wa / w.wp, 1.0) : 1.0;
    soil.referenceDepth = soil.top[1];

    dispatchLayers(e, kStationDepthColumn);
    if (soil.curvesWritten != generated) {
        EndRunWithReport(e, "(/,/,5X,'SOILDATA HOLDS',I4,' GENERATED P-Y CURVES INSTEAD OF',I4,/,/)",
                         {soil.curvesWritten, generated});
    }
}

}  // namespace

void SetUpSoilModel(Engine& e) {
    resetModel(e.st.soil);
    e.io.open(kCurveScratchUnit, kSoilDataFile, rt::Access::Write);
    try {
        generate(e);
    } catch (...) {
        // A run that ends here keeps what soildata holds so far, closed.
        e.io.close(kCurveScratchUnit);
        throw;
    }
    e.io.close(kCurveScratchUnit);
}

}  // namespace velmor::engine
