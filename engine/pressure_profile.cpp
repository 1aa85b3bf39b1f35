#include "earth_pressure.h"
#include "engine_errors.h"
#include "runtime/engine_math.h"

namespace velmor::engine {

namespace {

using Work = EarthPressureWork;

const double kPressureFloor = double(1.0e-5f);
const double kFloorStep = double(1.0e-12f);  // keeps floored totals positive and growing with the row
constexpr double kApparentFactor = 1.3;      // trapezoid area over the area of the computed profile

// Sub-steps of sublayer i: one per inch in English units, one per 0.05 m otherwise.
int32_t subSteps(const Engine& e, int i) {
    const double t = e.st.earth.thickness[i];
    return rt::nintOfQuotient(e.st.run.unitSystem == 2 ? 20.0 * t : t, 1.0);
}

void writeRow(Engine& e, int r) {
    const Work& w = e.st.earth;
    e.io.write(kRunControlUnit, "(5X,E10.3,4X,E10.3,4X,E10.3,4X,E10.3)",
               {w.rowDepth[r], w.rowTotal[r], w.rowSoil[r], w.rowSurcharge[r]});
}

// Soil-and-water pressure at z below the top of sublayer i, before the excavation-side water.
double soilAndWater(const Work& w, int i, double z) {
    const double f = w.modification[i];
    const double c = w.cohesion[i];
    const double t = w.thickness[i];
    if (w.pa1[i] + w.pa3[i] <= 0.0 && c > 0.0) {
        // Cracked sublayer: none above the crack, a triangle of force PA4 over the compressed part.
        const double zc = w.zc[i];
        return zc > 0.0 && z > t - zc ? 2.0 * w.pa4[i] * (z - (t - zc)) / (zc * zc) : 0.0;
    }
    const bool wet = w.drained[i] && w.belowWater[i];
    const double gamma = wet ? w.unitWeight[i] - w.gammaWater : w.unitWeight[i];
    const double gammaWater = wet && w.waterFlag != 0 ? w.gammaWater : 0.0;
    return w.sigmaV[i] * w.ka[i] * f - 2.0 * c * w.sqrtKa[i] * f + gamma * w.ka[i] * f * z +
           gammaWater * (w.ztop[i] + z - w.waterTableBackfill);
}

// The depth of the support that ends the trapezoid's plateau: the last one, or the only one.
double deepestSupport(const RunControl& run) {
    return run.springRowCount > 1 ? run.lastSupportDepth : run.firstSupportDepth;
}

// The trapezoid is shaped by the depths of the first and the last support, each a spring row of this
// problem at one station; without them, or with supports in reverse order or below the excavation level
// (depth d), its area would not be 1.3 times the computed one.
void checkSupports(Engine& e, double d) {
    const RunControl& run = e.st.run;
    if (run.springRowCount <= 0) {
        EndRunWithReport(e, "(/,/,'     ERROR -- TRAPEZOIDAL EARTH PRESSURE NEEDS A SUPPORT (SPRING ROW)')");
    }
    if (!run.firstSupportSet) {
        EndRunWithReport(e,
                         "(/,/,'     ERROR -- TRAPEZOIDAL EARTH PRESSURE NEEDS THE FIRST SPRING ROW AT ONE STATION')");
    }
    const bool several = run.springRowCount > 1;
    if (several && !run.lastSupportSet) {
        EndRunWithReport(e,
                         "(/,/,'     ERROR -- TRAPEZOIDAL EARTH PRESSURE NEEDS THE LAST SPRING ROW AT ONE STATION')");
    }
    if (several && run.firstSupportDepth > run.lastSupportDepth) {
        EndRunWithReport(e, "(/,/,'     ERROR -- FIRST SUPPORT IS DEEPER THAN THE LAST SUPPORT')");
    }
    const double deepest = deepestSupport(run);
    if (deepest > d && !SameLevel(e.st.earth, deepest, d)) {
        EndRunWithReport(e, "(/,/,'     ERROR -- SUPPORT AT DEPTH',E10.3,' IS BELOW THE EXCAVATION LEVEL',E10.3)",
                         {deepest, d});
    }
}

// Replaces the totals of rows 2 on by the apparent-pressure trapezoid: rising from 0 at the top to pmax at
// two thirds of the first support depth, constant, and falling to 0 at the excavation level over two
// thirds of the distance from the last support; its area is 1.3 times the area of the computed profile.
void applyTrapezoid(Engine& e, double area) {
    Work& w = e.st.earth;
    const RunControl& run = e.st.run;
    const double depth = w.rowDepth[w.rowCount];
    checkSupports(e, depth);
    if (w.rowCount < 2 || !(depth > 0.0)) return;

    // With the supports between the top and the excavation level the plateau c3 is at least depth / 3.
    const double a = 2.0 * run.firstSupportDepth / 3.0;
    // A support that counts as at the excavation level shapes the trapezoid as one exactly there: no falling
    // part, the last row at the full pressure. A support a millionth above would otherwise drop it to zero.
    const double deepest = deepestSupport(run);
    const double b = SameLevel(w, deepest, depth) ? 0.0 : 2.0 * (depth - deepest) / 3.0;
    double c3, pmax;
    if (run.springRowCount == 1) {
        c3 = depth / 3.0;
        pmax = 3.0 * kApparentFactor * area / (2.0 * depth);
    } else {
        c3 = depth - a - b;
        // Area of the trapezoid per unit pmax: the two sloping parts count half.
        pmax = kApparentFactor * area / (depth - (a + b) / 2.0);
    }
    for (int r = 2; r <= w.rowCount; ++r) {
        const double z = w.rowDepth[r];
        if (z < a) {
            w.rowTotal[r] = pmax * z / a;
        } else if (z <= a + c3 || !(b > 0.0)) {
            w.rowTotal[r] = pmax;
        } else {
            w.rowTotal[r] = pmax - (z - (a + c3)) * pmax / b;
        }
    }
}

}  // namespace

void WritePressureProfile(Engine& e) {
    Work& w = e.st.earth;
    const int option = e.st.run.earthPressureOption;
    const int last = w.excavationSublayer - 1;
    e.io.close(kRunControlUnit);

    long long count = 1;
    for (int i = 1; i <= last; ++i) count += subSteps(e, i);
    if (count > Work::kMaxRows) EndRunTooMuchData(e);
    w.rowCount = static_cast<int32_t>(count);
    w.rowsWritten = std::max(w.rowsWritten, w.rowCount);

    e.io.open(kRunControlUnit, kProfileFile, rt::Access::Write);
    e.io.writeList(kRunControlUnit, {w.rowCount});

    // Row 1: the active pressure of the uniform surface pressure.
    w.rowDepth[1] = 0.0;
    w.rowTotal[1] = w.rowSoil[1] = w.ka[1] * w.sigmaV[1];
    w.rowSurcharge[1] = 0.0;
    writeRow(e, 1);

    double area = 0.0;
    double previousTotal = 0.0;
    double previousDepth = 0.0;
    int r = 1;
    for (int i = 1; i <= last; ++i) {
        const int32_t steps = subSteps(e, i);
        for (int32_t m = 1; m <= steps; ++m) {
            ++r;
            const double z = m * w.thickness[i] / steps;
            const double depth = w.ztop[i] + z;
            double p = soilAndWater(w, i, z);
            const double s = SurchargePressureAtDepth(e, depth, w.freeHeight);
            double total = p + s;
            // Below the water table of the excavation side its water pressure balances the backfill's.
            if (rt::lengthGreater(depth, w.waterTableExcavation)) {
                if (w.belowWater[i]) {
                    const double u = (depth - w.waterTableExcavation) * w.gammaWater;
                    total -= u;
                    p -= u;
                }
                if (total < kPressureFloor) total = r * kFloorStep;
            }
            w.rowDepth[r] = depth;
            w.rowTotal[r] = total;
            w.rowSoil[r] = p;
            w.rowSurcharge[r] = s;
            // Area by the trapezoidal rule from 0 at the top, over the actual spacing of the rows (t / n of
            // each sublayer, not always one inch or 0.05 m).
            area += 0.5 * (previousTotal + total) * (depth - previousDepth);
            previousTotal = total;
            previousDepth = depth;
            if (option == 2) writeRow(e, r);
        }
    }

    if (option == 3) {
        applyTrapezoid(e, area);
        for (int row = 2; row <= w.rowCount; ++row) writeRow(e, row);
    }
    e.io.close(kRunControlUnit);
}

}  // namespace velmor::engine
