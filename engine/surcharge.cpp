#include <cmath>

#include "earth_pressure.h"
#include "engine_errors.h"
#include "runtime/engine_math.h"

namespace velmor::engine {

namespace {

// Constants of the surcharge formulas: 0.4, 0.16 and 0.28 are double-precision literals, the others
// single-precision ones at the values the arithmetic uses.
constexpr double kNearWall = 0.4;  // m at or below this uses the near-wall forms
constexpr double kPointNear = 0.28;
constexpr double kNearWallSquare = 0.16;  // 0.4 squared
const double kPointFar = double(1.77f);
const double kLineNear = double(0.203f);
const double kLineFarIntegrated = double(1.273f);  // 4/pi
const double kStripIntegrated = double(0.6366f);   // 2/pi
const double kPi = double(3.1416f);
const double kGridStep = double(0.02f);
const double kMinFreeHeight = double(1.0e-6f);
constexpr int kGridSteps = 50;

// Point load Q: pressure per unit area; line load q: the same for a load per unit length.
double pointStress(double load, double m, double n, double h) {
    if (m <= kNearWall)
        return kPointNear * load * rt::ipow(n, 2) / (rt::ipow(h, 2) * rt::ipow(kNearWallSquare + rt::ipow(n, 2), 3));
    return kPointFar * load * rt::ipow(m, 2) * rt::ipow(n, 2) /
           (rt::ipow(h, 2) * rt::ipow(rt::ipow(m, 2) + rt::ipow(n, 2), 3));
}

double lineNearStress(double load, double n, double h) {
    return kLineNear * load * n / (h * rt::ipow(kNearWallSquare + rt::ipow(n, 2), 2));
}

}  // namespace

SurchargeKind SurchargeKindOf(int32_t type) {
    if (type == 2) return SurchargeKind::Line;
    if (type == 3) return SurchargeKind::Strip;
    return SurchargeKind::Point;
}

double SublayerSurchargeStress(SurchargeKind kind, double magnitude, double x, double n, double freeHeight,
                               double width) {
    const double h = freeHeight;
    const double m = x / h;
    switch (kind) {
        case SurchargeKind::Point:
            return pointStress(magnitude, m, n, h);
        case SurchargeKind::Line:
            if (m <= kNearWall) return lineNearStress(magnitude, n, h);
            return kLineFarIntegrated * magnitude * rt::ipow(m, 2) * n /
                   (h * rt::ipow(rt::ipow(m, 2) + rt::ipow(n, 2), 2));
        case SurchargeKind::Strip: {
            // alpha to the strip's centre line, beta the angle the strip subtends at the wall, both at depth n.
            const double halfWidth = width / (2.0 * h);
            const double alpha = std::atan(m / n);
            const double beta = std::atan((m + halfWidth) / n) - std::atan((m - halfWidth) / n);
            return kStripIntegrated * magnitude * (beta - std::sin(beta) * std::cos(2.0 * alpha));
        }
    }
    return 0.0;
}

double GridSurchargeStress(SurchargeKind kind, double magnitude, double x, double n, double freeHeight, double width) {
    const double h = freeHeight;
    const double m = x / h;
    switch (kind) {
        case SurchargeKind::Point:
            return pointStress(magnitude, m, n, h);
        case SurchargeKind::Line:
            if (m <= kNearWall) return lineNearStress(magnitude, n, h);
            return 4.0 * magnitude * rt::ipow(m, 2) * n / (h * kPi * rt::ipow(rt::ipow(m, 2) + rt::ipow(n, 2), 2));
        case SurchargeKind::Strip: {
            const double zk = n * h;
            const double twoAlpha = 2.0 * std::atan(x / zk);
            const double beta = std::atan((x + width * 0.5) / zk) - std::atan((x - width * 0.5) / zk);
            return 2.0 * magnitude * (beta - std::sin(beta) * std::cos(twoAlpha)) / kPi;
        }
    }
    return 0.0;
}

// The pressure of each row is taken on a fixed grid of 50 depths n H, n = 0.02 k: at depth z a row gives
// the pressure of the deepest grid depth strictly above z, so the result is a step function that keeps
// the value at n = 1 below the free height. A grid depth that counts as z itself (as lengths against
// stations do) lies above z only where the single-precision n falls short of k/50, as it does when the
// two depths are exact: a free height or a profile depth moved in its seventh digit keeps its step.
double SurchargePressureAtDepth(Engine& e, double z, double freeHeight) {
    const WallSoilInput& in = e.st.wallSoil;
    if (in.surchargeCount <= 0) return 0.0;
    if (in.surchargeCount > kMaxSurcharges) EndRunTooMuchData(e);
    // The grid and m divide by H: a wall without free height carries no surcharge pressure.
    if (freeHeight < kMinFreeHeight) return 0.0;

    double pressure = 0.0;
    for (int row = 1; row <= in.surchargeCount; ++row) {
        double nAbove = 0.0;
        for (int k = 1; k <= kGridSteps; ++k) {
            // The grid depth is formed in single precision, as the step list was.
            const double n = double(static_cast<float>(k) * static_cast<float>(kGridStep));
            const double gridDepth = n * freeHeight;
            const bool above = rt::sameLength(gridDepth, z) ? n < k / double(kGridSteps) : gridDepth < z;
            if (above) nAbove = n;
        }
        if (nAbove > 0.0) {
            pressure += GridSurchargeStress(SurchargeKindOf(in.surchargeType[row]), in.surchargeMagnitude[row],
                                            in.surchargeDistance[row], nAbove, freeHeight, in.surchargeWidth[row]);
        }
    }
    return pressure;
}

void AddSurchargeToSpecifiedProfile(Engine& e) {
    const ProblemControl& c = e.st.control;
    EarthPressureProfile& pr = e.st.profile;
    const double wa = e.st.wallSoil.wa;
    for (int32_t k = 1; k <= pr.count; ++k) {
        std::size_t i = static_cast<std::size_t>(k);
        double surcharge = wa * SurchargePressureAtDepth(e, pr.depth[i], c.freeHeight);
        pr.surcharge[i] = surcharge;
        pr.total[i] = (pr.soil[i] + surcharge) * c.h;
    }
}

}  // namespace velmor::engine
