#include "soil/weak_rock.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>

#include "engine_errors.h"
#include "soil/generator_support.h"
#include "soil/generators.h"
#include "soil/soil_lookups.h"

namespace velmor::engine {

namespace {

constexpr const char* kWeakRockPointFormat = "(I5,2(2X,E10.3))";

// The station's rock values, looked up on the excavation side and kept for the backfill side.
struct WeakRockValues {
    double b;
    double qur;    // compressive strength at the station, force/length^2
    double rqd;    // rock quality designation, percent
    double qa;     // mean compressive strength from the layer top down to the station
    double gamma;  // printed only
    double krm;    // yrm = krm b
};

WeakRockValues lookUpWeakRock(Engine& e, int layer, double d) {
    const EngineState& st = e.st;
    WeakRockValues v{};
    v.b = ElementWidthAtDepth(st, 1, d);
    v.qur = StrengthAtDepth(st, d);
    v.rqd = InterpolateSoilParameter(st, d);
    if (layer == 1) {
        v.qa = AverageStrength(e, d, 1);
    } else {
        // The strength just below the layer top, clear of the boundary value of the layer above.
        const double atTop = StrengthAtDepth(st, st.soil.top[layer] + double(1e-8f));
        v.qa = (atTop + v.qur) / 2.0;
    }
    v.gamma = AverageUnitWeight(st, d);
    v.krm = E50AtDepth(st, d);
    return v;
}

void writeWeakRockHeading(Engine& e, double z, const WeakRockValues& v, double er) {
    e.io.write(kReportUnit,
               "(/,/,14X,'DEPTH',5X,'DIAM',7X,'Qu',7X,' Eu ',3X,'GAMMA AVG',6X,'E50',/,16X,A2,7X,A2,4X,3(A3,A1,A2,A2,"
               "A1,1X),/,10X,F10.2,F10.3,3E10.2,E12.3,/,37X,'Y',19X,'P',/,37X,A2,16X,A3,A1,A2)",
               HeadingItems(e.st.labels)
                   .length()
                   .length()
                   .stress()  // qu
                   .stress()  // Eu
                   .unitWeight()
                   .values({z, v.b, v.qur, er, v.gamma, v.krm})
                   .curveUnits()
                   .items());
}

}  // namespace

const std::array<double, 17> kWeakRockDeflectionFactors = {double(0.0005f),
                                                           double(0.001f),
                                                           double(0.003f),
                                                           double(0.006f),
                                                           double(0.009f),
                                                           double(0.02f),
                                                           double(0.04f),
                                                           double(0.06f),
                                                           double(0.08f),
                                                           double(0.1f),
                                                           0.25,
                                                           0.5,
                                                           0.75,
                                                           1.0,
                                                           4.0,
                                                           8.0,
                                                           12.0};

double WeakRockStrengthReduction(double rqd) {
    // 1/150 in single precision.
    return 1.0 - rqd * double(1.0f / 150.0f);
}

WeakRockCurve WeakRockCurveParameters(double alphaR, double qa, double b, double xr, double er, double krm) {
    WeakRockCurve c{};
    if (xr > 3.0 * b) {
        c.pur = double(5.2f) * alphaR * qa * b;
        c.kir = 500.0 * er;
    } else {
        c.pur = alphaR * (double(1.4f) * qa * xr + qa * b);
        c.kir = (400.0 * xr / 3.0 / b + 100.0) * er;
    }
    c.yrm = krm * b;
    c.c = 0.5 * c.pur / std::pow(c.yrm, 0.25);
    c.ya = std::pow(c.c / c.kir, 1.0 / (1.0 - 0.25));
    return c;
}

double WeakRockResistance(const WeakRockCurve& curve, double y) {
    if (y < curve.ya) return curve.kir * y;
    return std::min(0.5 * curve.pur * std::pow(y / curve.yrm, 0.25), curve.pur);
}

void PYCurveWeakRock(Engine& e, int column, int layer) {
    SoilModel& soil = e.st.soil;
    const double er = soil.fifthValue[std::clamp(layer, 0, kSoilLayerSlots)];
    WeakRockValues v{};
    ForEachStationSide(e, column, layer, [&](const StationSide& at) {
        const double zr = at.sideDepth;
        const double z = zr < double(1e-6f) ? 0.0 : zr;
        e.st.stationSoil.depth = z;
        if (at.side == kExcavationSide) v = lookUpWeakRock(e, layer, at.d);
        soil.threshold = double(2e-5f) * v.b;
        if (!at.firstOfLayer && v.qur < 1e-10) {
            StopRun("",
                    "(/,7X,'--------------------WARNING----------------------',/,7X,'THE COHESIVE STRENGTH IS 0 FOR "
                    "ROCK ACCORING TO THE INPUT',/,7X,'DATA. PLEASE ENTER THE CORRECT VALUE AND RUN IT AGAIN.')");
        }

        const double alphaR = WeakRockStrengthReduction(v.rqd);
        const double xr = zr - soil.top[layer] + double(1e-8f);
        const WeakRockCurve curve = WeakRockCurveParameters(alphaR, v.qa, v.b, xr, er, v.krm);

        const CurveMultipliers m = MultipliersAtDepth(e.st, at.depthBelowTop);
        std::array<double, kPointsPerSide + 1> y{};
        std::array<double, kPointsPerSide + 1> p{};
        for (int i = 1; i <= kPointsPerSide; ++i) {
            const double atY = curve.yrm * kWeakRockDeflectionFactors[static_cast<std::size_t>(i - 1)];
            y[i] = m.y * atY;
            p[i] = m.p * WeakRockResistance(curve, atY);
        }

        CheckCurveValuesFinite(e, at.depthBelowTop, {z, v.b, v.qur, er, v.gamma, v.krm});
        CheckCurveValuesFinite(e, at.depthBelowTop, y.data() + 1, kPointsPerSide);
        CheckCurveValuesFinite(e, at.depthBelowTop, p.data() + 1, kPointsPerSide);
        if (at.side == kExcavationSide) WriteCurveHeader(e, e.st.wallSoil.freeHeight + z);
        WriteSideTitle(e, at.side);
        writeWeakRockHeading(e, z, v, er);
        for (int i = 1; i <= kPointsPerSide; ++i) {
            e.io.write(kReportUnit, "(21X,2E20.3)", {y[i], p[i]});
            WriteCurvePoint(e, kWeakRockPointFormat, i, p[i], y[i]);
        }
    });
}

}  // namespace velmor::engine
