#include <algorithm>
#include <cmath>
#include <string>

#include "earth_pressure.h"

namespace velmor::engine {

namespace {

using Work = EarthPressureWork;

const double kDegreesPerRadian = double(57.2958f);
const double kLoadThreshold = double(1.0e-4f);  // smaller single surcharges are left out
const double kMinFreeHeight = double(1.0e-6f);
constexpr int kIntegrationSteps = 10;

// One surcharge acting on the sublayers above the excavation level.
struct SingleSurcharge {
    SurchargeKind kind;
    double magnitude;
    double distance;
    double width;
};

// The lateral force of one surcharge on sublayer i (force per unit width of wall), summed over ten steps
// down the sublayer with each step's depth taken below the top of the wall, where the formulas put it.
double surchargeForce(const Work& w, int i, const SingleSurcharge& s) {
    if (!(s.magnitude > kLoadThreshold)) return 0.0;
    const double h = w.freeHeight;
    const double dz = w.thickness[i] / 10.0;
    double force = 0.0;
    for (int k = 1; k <= kIntegrationSteps; ++k) {
        const double z = w.ztop[i] + k * dz;
        force += dz * SublayerSurchargeStress(s.kind, s.magnitude, s.distance, z / h, h, s.width);
    }
    return force;
}

// Every row of the surcharge table at its own distance; without rows, the surcharge record's point, line
// and strip loads at its one distance.
double surchargeForces(const Engine& e, int i) {
    const Work& w = e.st.earth;
    const WallSoilInput& in = e.st.wallSoil;
    if (w.freeHeight < kMinFreeHeight) return 0.0;
    double force = 0.0;
    if (in.surchargeCount > 0) {
        for (int k = 1; k <= in.surchargeCount && k <= kMaxSurcharges; ++k) {
            force += surchargeForce(w, i,
                                    {SurchargeKindOf(in.surchargeType[k]), in.surchargeMagnitude[k],
                                     in.surchargeDistance[k], in.surchargeWidth[k]});
        }
    } else {
        force += surchargeForce(w, i, {SurchargeKind::Point, w.pointLoad, w.distance, w.stripWidth});
        force += surchargeForce(w, i, {SurchargeKind::Line, w.lineLoad, w.distance, w.stripWidth});
        force += surchargeForce(w, i, {SurchargeKind::Strip, w.stripLoad, w.distance, w.stripWidth});
    }
    return force;
}

// Rankine coefficients of sublayer i; the active one for a backfill sloping at beta degrees when beta is
// flatter than the friction angle.
void coefficients(Engine& e, int i) {
    Work& w = e.st.earth;
    const double phi = w.phi[i];
    w.sqrtKa[i] = std::tan((45.0 - 0.5 * phi) / kDegreesPerRadian);
    w.ka[i] = w.sqrtKa[i] * w.sqrtKa[i];
    const double beta = w.backfillSlope;
    if (std::fabs(beta) > 0.0) {
        if (std::fabs(beta) < phi) {
            const double cb = std::cos(beta / kDegreesPerRadian);
            const double cp = std::cos(phi / kDegreesPerRadian);
            // Only a friction angle beyond 90 degrees makes the root negative or the denominator zero; such
            // a sublayer keeps the level-backfill Ka rather than carry a NaN into the report.
            const double radicand = cb * cb - cp * cp;
            const double root = std::sqrt(std::fmax(radicand, 0.0));
            if (radicand >= 0.0 && cb + root > 0.0) {
                w.ka[i] = cb * (cb - root) / (cb + root);
                w.sqrtKa[i] = std::sqrt(w.ka[i]);
            }
        } else if (w.ztop[i] < w.freeHeight && !SameLevel(w, w.ztop[i], w.freeHeight)) {
            const char* warning =
                "(/,/,'**** WARNING ******',/,"
                "\"THE BACKFILL SLOPE ANGLE SHOULD BE LESS THAN THE 'INTERNAL FRICTION ANGLE OF SAND.\")";
            e.io.write(kMonitorUnit, warning);
            e.io.write(kReportUnit, warning);
        }
    }
    w.sqrtKp[i] = std::tan((45.0 + 0.5 * phi) / kDegreesPerRadian);
    w.kp[i] = w.sqrtKp[i] * w.sqrtKp[i];
}

}  // namespace

void START(Engine& e) {
    Work& w = e.st.earth;
    const UnitLabels& u = e.st.labels;
    const int n = w.sublayerCount;
    const double wt = w.waterTableBackfill;

    for (int i = 1; i <= n; ++i) w.belowWater[i] = SameLevel(w, w.ztop[i], wt) || w.ztop[i] > wt;

    e.io.write(kReportUnit, "(" + ReportFrame("*            EFFECTIVE OVERBURDEN STRESS         *") +
                                ",/,/,6X,'          DEPTH                     STRESS       ')");
    e.io.write(
        kReportUnit, "(16X,A3,22X,A4,A1,A2,A2,A1,/)",
        {u.lengthLong.view(), u.forceLong.view(), u.slash.view(), u.lengthShort.view(), u.power.view(), u.two.view()});

    // Total vertical stress at each sublayer top, then the pore pressure taken off in drained soil.
    w.sigmaV[1] = w.uniformPressure;
    for (int i = 2; i <= n; ++i) w.sigmaV[i] = w.thickness[i - 1] * w.unitWeight[i - 1] + w.sigmaV[i - 1];
    for (int i = 1; i <= n; ++i) {
        if (w.drained[i] && w.belowWater[i]) w.sigmaV[i] -= (w.ztop[i] - wt) * w.gammaWater;
        if (i == n) w.ztop[n + 1] = w.ztop[n] + w.thickness[n];
        e.io.write(kReportUnit, "(12X,E10.3,17X,E10.3)", {w.ztop[i], w.sigmaV[i]});
    }
    if (w.excavationSublayer >= 1) e.st.excavationLevel.stress = w.sigmaV[w.excavationSublayer];

    e.io.write(kReportUnit, "(" + ReportFrame("* ACTIVE AND PASSIVE EARTH PRESSURE COEFFICIENT  *") +
                                ",/,/,6X,'  LAYER         ACTIVE EARTH     PASSIVE EARTH   ',"
                                "/,6X,'   NO.          COEFFICIENT      COEFFICIENT     ')");
    for (int i = 1; i <= n; ++i) {
        coefficients(e, i);
        e.io.write(kReportUnit, "(10X,I2,9X,E10.3,8X,E10.3)", {i, w.ka[i], w.kp[i]});
    }
}

void FORCES(Engine& e) {
    Work& w = e.st.earth;
    const UnitLabels& u = e.st.labels;
    const int last = w.excavationSublayer - 1;  // sublayers above the excavation level
    const double wt = w.waterTableBackfill;

    e.io.write(kReportUnit, "(" + ReportFrame("*      ACTIVE EARTH PRESSURE OF EACH LAYER       *") +
                                ",/,/,6X,' LAYER    PA1     Z1       PA2     Z2         PA3     Z3','        PA4')");
    const std::string stress = "A4,A1,A2,A2,A1";
    e.io.write(
        kReportUnit, "(6X,'  NO',1X," + stress + ",2X,A3," + stress + ",2X,A3," + stress + ",4X,A3," + stress + ",/)",
        {u.forceLong.view(), u.slash.view(), u.lengthShort.view(), u.power.view(), u.two.view(), u.lengthLong.view(),
         u.forceLong.view(), u.slash.view(), u.lengthShort.view(), u.power.view(), u.two.view(), u.lengthLong.view(),
         u.forceLong.view(), u.slash.view(), u.lengthShort.view(), u.power.view(), u.two.view(), u.lengthLong.view(),
         u.forceLong.view(), u.slash.view(), u.lengthShort.view(), u.power.view(), u.two.view()});

    for (int i = 1; i <= last; ++i) {
        const double f = w.modification[i];
        const double c = w.cohesion[i];
        const double t = w.thickness[i];
        w.pa1[i] = w.sigmaV[i] * w.ka[i] * t * f + surchargeForces(e, i);
        const double gamma = w.belowWater[i] && w.drained[i] ? w.unitWeight[i] - w.gammaWater : w.unitWeight[i];
        w.pa2[i] = t * t * gamma * 0.5 * w.ka[i] * f;
        w.pa3[i] = -(c * 2.0 * w.sqrtKa[i] * t * f);
        w.z1[i] = w.ztop[i] + 0.5 * t;
        w.z2[i] = w.ztop[i] + 2.0 * t / 3.0;

        // Tension crack: the net pressure is tensile at the top and compressive over the lower zc only.
        if (w.pa1[i] + w.pa3[i] < 0.0) {
            w.pa1[i] = w.pa2[i] = w.pa3[i] = 0.0;
            const double tensionTop = 2.0 * c * w.sqrtKa[i] - w.sigmaV[i] * w.ka[i];
            const double compressionBottom = w.sigmaV[i + 1] * w.ka[i] - 2.0 * c * w.sqrtKa[i];
            // A sublayer whose stress does not grow with depth has no crack depth: no compressed part.
            const double span = compressionBottom + tensionTop;
            w.zc[i] = span > 0.0 ? compressionBottom * t / span : 0.0;
            w.pa4[i] = span > 0.0 && compressionBottom > 0.0 ? f * w.zc[i] * compressionBottom / 2.0 : 0.0;
            w.z3[i] = w.ztop[i + 1] - w.zc[i] / 3.0;
        }
        e.io.write(kReportUnit, "(6X,I2,3(1X,F10.2,1X,F6.2),1X,F10.2)",
                   {i, w.pa1[i], w.z1[i], w.pa2[i], w.z2[i], w.pa3[i], w.z3[i], w.pa4[i]});
    }

    // Water pressure on the sublayers between the backfill water table and the excavation level.
    const int top = w.waterTableSublayer;
    double d = 0.0;
    for (int i = 1; i < top; ++i) {
        w.pw1[i] = w.pw2[i] = 0.0;
        d += w.thickness[i];
    }
    w.waterFlag = 0;
    if (top >= 1 && top <= last) {
        e.io.write(kReportUnit, "(" + ReportFrame("*      ACTIVE WATER PRESSURE OF EACH LAYER       *") +
                                    ",/,/,6X,' LAYER    PW1     Z1       PW2     Z2                ',"
                                    "/,6X,'  NO             ',/)");
        for (int i = top; i <= last; ++i) {
            w.waterFlag = 1;
            const double t = w.thickness[i];
            if (!w.drained[i]) {
                w.pw1[i] = w.pw2[i] = 0.0;
            } else if (wt <= d || SameLevel(w, wt, d)) {
                // The table lies on the sublayer top within the tolerance for the first wet sublayer.
                w.pw1[i] = -(std::fmax(d - wt, 0.0) * w.gammaWater * t);
                w.pw2[i] = -(t * t * w.gammaWater * 0.5);
                e.io.write(kReportUnit, "(6X,I2,2(1X,F10.2,1X,F6.2))", {i, -w.pw1[i], w.z1[i], -w.pw2[i], w.z2[i]});
            }
            d += t;
        }
    }
    for (int i = std::max(w.excavationSublayer, 1); i <= w.sublayerCount; ++i) w.pw1[i] = w.pw2[i] = 0.0;

    double p = 0.0;
    for (int i = 1; i <= last; ++i) p += w.pa1[i] + w.pa2[i] + w.pa3[i] + w.pa4[i] - w.pw1[i] - w.pw2[i];
    w.resultant = p;
    if (p < w.tolerance) {
        const char* message = "(/,/,5X,'Net active pressure is negative.',/)";
        e.io.write(kConsole, message);
        e.io.write(kReportUnit, message);
    }
}

}  // namespace velmor::engine
