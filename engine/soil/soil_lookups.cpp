#include "soil/soil_lookups.h"

#include <algorithm>
#include <cmath>

#include "engine_errors.h"
#include "runtime/engine_math.h"
#include "runtime/run_errors.h"

namespace velmor::engine {

namespace {

// A value below this at a layer boundary counts as absent, and the other side's value is taken.
constexpr double kZeroValue = 1e-20;
constexpr double kMinimumSegment = double(1e-6f);
constexpr double kMinimumAveragingLength = double(1e-5f);

// Which value a depth exactly at a layer boundary (two points at one depth) takes.
enum class Boundary {
    Below,  // the lower layer's value, unless it is absent
    Mean,   // the mean of the two, or the one that is present
    Next,   // the next point's value, whatever it is
};

// The depth-table rule shared by the strength and reduction-factor lookups: linear interpolation inside a
// segment, the first segment extended above the first point, the boundary rule at a layer boundary (a
// depth that counts as the point's own, and two points that count as one depth, as lengths against stations
// do: the bottom of one layer and the top of the next come from different sums). Returns false for a depth
// below the last point.
template <std::size_t N>
bool lookUp(const std::array<double, N>& x, const std::array<double, N>& v, int count, double z, Boundary rule,
            double& out) {
    const int n = std::min(count, static_cast<int>(N) - 1);
    for (int i = 2; i <= n; ++i) {
        if (rt::lengthGreater(z, x[i])) continue;
        if (rt::lengthLess(z, x[i])) {
            // Only a depth above a first segment of no length can meet equal depths here.
            out = rt::sameLength(x[i], x[i - 1]) ? v[i - 1]
                                                 : v[i - 1] + (z - x[i - 1]) * (v[i] - v[i - 1]) / (x[i] - x[i - 1]);
            return true;
        }
        if (rt::sameLength(z, x[n]) || !rt::sameLength(x[i + 1], x[i])) {
            out = v[i];
            return true;
        }
        switch (rule) {
            case Boundary::Below:
                out = v[i + 1] < kZeroValue ? v[i] : v[i + 1];
                break;
            case Boundary::Mean:
                out = (v[i] + v[i + 1]) / 2.0;
                if (v[i] < kZeroValue) out = v[i + 1];
                if (v[i + 1] < kZeroValue) out = v[i];
                break;
            case Boundary::Next:
                out = v[i + 1];
                break;
        }
        return true;
    }
    return false;
}

// A column of the strength table at a depth; below the table the last point's value.
double strengthColumnOrLast(const SoilModel& soil, const StrengthColumn& column, double depth) {
    double value = 0.0;
    if (lookUp(soil.depth, column, soil.strengthCount, depth, Boundary::Mean, value)) return value;
    const int n = std::min(soil.strengthCount, kStrengthTablePoints);
    return n >= 1 ? column[n] : 0.0;
}

// Piecewise-linear coefficient against x/b: the segment is the first whose upper breakpoint lies above the
// ratio, else the last; both end segments extend beyond the table.
template <std::size_t N>
double coefficientAtRatio(const std::array<double, N>& ratio, const std::array<double, N>& value, double r) {
    const int n = static_cast<int>(N) - 1;
    int i = 2;
    while (i < n && !(r < ratio[i])) ++i;
    return value[i - 1] + (r - ratio[i - 1]) * (value[i] - value[i - 1]) / (ratio[i] - ratio[i - 1]);
}

constexpr std::array<double, 7> kStiffClayRatio = {0.0, 0.0, 1.0, 2.0, 3.0, 4.0, 5.0};
constexpr std::array<double, 7> kStiffClayStatic = {0.0,           double(0.223f), double(0.46f), double(0.55f),
                                                    double(0.59f), double(0.6f),   double(0.6f)};
constexpr std::array<double, 5> kStiffClayCyclicRatio = {0.0, 0.0, 1.0, 2.0, 3.0};
constexpr std::array<double, 5> kStiffClayCyclic = {0.0, double(0.2f), double(0.29f), double(0.3f), double(0.3f)};

double stiffClayRatio(const EngineState& st, double depth) {
    return (depth - st.soil.referenceDepth) / ElementWidthAtDepth(st, 1, depth);
}

// Multiplier of a reduction-factor column: 1.0 outside the table's depths and for a single row.
double factorAtDepth(const WallSoilInput& w, const std::array<double, kMaxModificationFactors + 1>& factor, int count,
                     double depthBelowTop) {
    const int m = std::min(count, kMaxModificationFactors);
    if (rt::lengthLess(depthBelowTop, w.factorDepth[1]) || rt::lengthGreater(depthBelowTop, w.factorDepth[m]) || m == 1)
        return 1.0;
    double value = 1.0;
    lookUp(w.factorDepth, factor, m, depthBelowTop, Boundary::Next, value);
    return value;
}

}  // namespace

const CoefficientColumn kSandStaticA = {0.0,           double(2.83f), double(2.48f), double(2.11f),
                                        double(1.76f), double(1.48f), double(1.23f), double(1.06f),
                                        double(0.90f), double(0.88f), double(0.88f)};
const CoefficientColumn kSandStaticB = {0.0,           double(2.14f), double(1.83f), double(1.54f),
                                        double(1.27f), double(1.05f), double(0.86f), double(0.71f),
                                        double(0.53f), double(0.50f), double(0.50f)};
const CoefficientColumn kEquivalentDepthSandA = {0.0, 2.83, 2.48, 2.11, 1.76, 1.48, 1.23, 1.06, 0.90, 0.88, 0.88};

double ElementWidthAtDepth(const EngineState& st, int, double) {
    return st.wallSoil.wp;
}

double StrengthAtDepth(const EngineState& st, double depth) {
    double value = 0.0;
    if (lookUp(st.soil.depth, st.soil.cohesion, st.soil.strengthCount, depth, Boundary::Below, value)) return value;
    StopRun("1",
            "(/,29X,'**** WARNING ****',/,5X,'THE VALUE OF X =',D9.1,'IS BEYOND THE EXTENT OF',/,5X,'THE INPUT "
            "STRENGTH CURVE')",
            {depth});
}

double AverageStrength(Engine& e, double depth, int layer) {
    const SoilModel& soil = e.st.soil;
    if (layer < 1 || 2 * layer > kStrengthTablePoints) EndRunTooMuchData(e);
    if (depth < soil.top[1]) return 0.0;
    const int a = 2 * layer - 1;
    const int b = 2 * layer;
    if (depth - soil.depth[a] < kMinimumAveragingLength) return StrengthAtDepth(e.st, depth);
    const int n = std::min(soil.strengthCount, kStrengthTablePoints);
    const bool beyondTable = n < 1 || depth > soil.depth[n];
    if (!(depth < soil.depth[b]) && !beyondTable) return 0.0;
    if (beyondTable) {
        e.io.write(kReportUnit,
                   "(/,29X,'**** WARNING ****',/,5X,'THE VALUE OF X =',E9.2,'IS BEYOND THE EXTENT OF THE/',5X,'INPUT "
                   "CURVE FOR STRENGTH')",
                   {depth});
    }
    const double span = soil.depth[b] - soil.depth[a];
    if (span < kMinimumSegment) return 0.0;
    const double atDepth = soil.cohesion[a] + (depth - soil.depth[a]) * (soil.cohesion[b] - soil.cohesion[a]) / span;
    return (atDepth + soil.cohesion[a]) / 2.0;
}

double FrictionAngleAtDepth(const EngineState& st, double depth) {
    double value = 0.0;
    if (lookUp(st.soil.depth, st.soil.frictionAngle, st.soil.strengthCount, depth, Boundary::Mean, value)) {
        return value;
    }
    StopRun("",
            "(/,29X,'**** WARNING ****',/,5X,'THE VALUE OF X =',D9.1,' IS BEYOND THE EXTENT OF',/,5X,'THE INPUT PHI "
            "CURVE')",
            {depth});
}

double E50AtDepth(const EngineState& st, double depth) {
    return strengthColumnOrLast(st.soil, st.soil.e50, depth);
}

double InterpolateSoilParameter(const EngineState& st, double depth) {
    return strengthColumnOrLast(st.soil, st.soil.sixthValue, depth);
}

double AverageUnitWeight(const EngineState& st, double depth) {
    const SoilModel& soil = st.soil;
    const int nw = std::min(soil.unitWeightCount, kUnitWeightTablePoints);
    if (depth < soil.top[1]) return 0.0;
    if (nw < 1 || depth > soil.unitWeightDepth[nw]) throw rt::StopRun("4", "");
    const double below = depth - soil.top[1];
    if (below < kMinimumSegment) {
        for (int j = 1; j <= nw; ++j) {
            if (soil.unitWeight[j] > 0.0) return soil.unitWeight[j];
        }
        return soil.unitWeight[nw];
    }
    // Trapezoidal mean over the segments down to the depth.
    double mean = 0.0;
    for (int j = 2; j <= nw; ++j) {
        const double x0 = soil.unitWeightDepth[j - 1];
        const double x1 = soil.unitWeightDepth[j];
        const double w0 = soil.unitWeight[j - 1];
        const double w1 = soil.unitWeight[j];
        if (depth < x1) {
            if (x1 - x0 >= kMinimumSegment) {
                const double atDepth = w0 + (depth - x0) * (w1 - w0) / (x1 - x0);
                mean += ((depth - x0) / below) * (atDepth + w0) * 0.5;
            }
            break;
        }
        mean += ((x1 - x0) / below) * (w1 + w0) * 0.5;
    }
    return mean;
}

double StiffClayStaticA(const EngineState& st, double depth) {
    return coefficientAtRatio(kStiffClayRatio, kStiffClayStatic, stiffClayRatio(st, depth));
}

double StiffClayCyclicA(const EngineState& st, double depth) {
    return coefficientAtRatio(kStiffClayCyclicRatio, kStiffClayCyclic, stiffClayRatio(st, depth));
}

double CoefficientAtDepthRatio(const EngineState& st, double depth, const CoefficientColumn& coefficient) {
    return coefficientAtRatio(st.soil.depthRatio, coefficient, depth / ElementWidthAtDepth(st, 1, depth));
}

double PMultiplierAtDepth(const EngineState& st, double depthBelowTop) {
    const WallSoilInput& w = st.wallSoil;
    if (w.pFactorCount > 0) return factorAtDepth(w, w.pFactor, w.pFactorCount, depthBelowTop);
    // Closely-spaced elements: the ratio is recomputed here and leaves the model's spacing ratio alone.
    if (!(w.wp > 0.0)) return 1.0;
    const double ratio = w.wa / w.wp;
    if (ratio >= double(3.1f) || ratio < double(1.1f) || depthBelowTop < w.freeHeight) return 1.0;
    return double(0.5292f) * std::pow(ratio, double(0.5659f));
}

double YMultiplierAtDepth(const EngineState& st, double depthBelowTop) {
    const WallSoilInput& w = st.wallSoil;
    if (w.yFactorCount <= 0) return 1.0;
    return factorAtDepth(w, w.yFactor, w.yFactorCount, depthBelowTop);
}

void SetDepthRatioBreakpoints(SoilModel& soil) {
    soil.depthRatio[1] = 0.0;
    for (int i = 2; i <= 7; ++i) soil.depthRatio[i] = soil.depthRatio[i - 1] + 0.5;
    soil.depthRatio[8] = 4.0;
    soil.depthRatio[9] = 5.0;
    soil.depthRatio[10] = 6.0;
}

}  // namespace velmor::engine
