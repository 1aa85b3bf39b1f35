#include "soil/equivalent_depth.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

#include "runtime/run_errors.h"
#include "soil/soil_lookups.h"
#include "soil_test_support.h"

namespace velmor::engine {
namespace {

using soiltest::SoilRun;

const double kPi = std::acos(-1.0);

struct Soil {
    double b, c, ca, gamma, phiDegrees, z;
};

// Layer 2 of the given code under a layer 1 that supplied `resistanceAbove`; the station values as the
// generators leave them in StationSoilValues.
void setUp(EngineState& st, int code, double resistanceAbove, const Soil& s) {
    SoilModel& m = st.soil;
    m.layerCount = 2;
    m.soilType[1] = 1;
    m.soilType[2] = code;
    m.inputLayer[2] = 2;
    m.layerResistance[1] = resistanceAbove;
    st.wallSoil.wp = s.b;
    SetDepthRatioBreakpoints(m);
    StationSoilValues& v = st.stationSoil;
    const double phi = s.phiDegrees * kPi / 180.0;
    v.elementWidth = s.b;
    v.cohesion = s.c;
    v.averageCohesion = s.ca;
    v.unitWeight = s.gamma;
    v.frictionAngle = phi;
    v.alpha = phi / 2.0;
    v.beta = kPi / 4.0 + phi / 2.0;
    v.k0 = 0.4;
    v.ka = std::pow(std::tan(kPi / 4.0 - phi / 2.0), 2);
    v.kp = std::pow(std::tan(kPi / 4.0 + phi / 2.0), 2);
    v.depth = s.z;
}

double simpson(const std::function<double(double)>& f, double to) {
    const int n = 4000;
    const double h = to / n;
    double sum = f(0.0) + f(to);
    for (int i = 1; i < n; ++i) sum += f(i * h) * (i % 2 ? 4.0 : 2.0);
    return sum * h / 3.0;
}

// Ultimate resistances per unit depth of the classic criteria.
double softClay(const Soil& s, double x) {
    return std::min(3.0 * s.c * s.b + s.gamma * s.b * x + 0.5 * s.c * x, 9.0 * s.c * s.b);
}

double staticA(double r) {
    const double ratio[] = {0, 1, 2, 3, 4, 5};
    const double a[] = {0.223, 0.46, 0.55, 0.59, 0.6, 0.6};
    int i = 1;
    while (i < 5 && r >= ratio[i]) ++i;
    return a[i - 1] + (r - ratio[i - 1]) * (a[i] - a[i - 1]);
}

// Residual resistance of stiff clay below the water: pc x (1.225 sqrt(As) - 0.75 As - 0.411).
double residualRatio(const Soil& s, double x) {
    const double as = staticA(x / s.b);
    return 1.225 * std::sqrt(as) - 0.75 * as - 0.411;
}
double stiffClayWedge(const Soil& s, double x) {
    return (2.0 * s.ca * s.b + s.gamma * s.b * x + 2.83 * s.ca * x) * residualRatio(s, x);
}

// Sand: wedge and flow resistances of the classic sand criterion, and its A coefficient.
double sandWedge(const Soil& s, double x) {
    const double phi = s.phiDegrees * kPi / 180.0, alpha = phi / 2, beta = kPi / 4 + phi / 2, k0 = 0.4;
    const double ka = std::pow(std::tan(kPi / 4 - phi / 2), 2);
    return s.gamma * x *
           (k0 * x * std::tan(phi) * std::sin(beta) / (std::cos(alpha) * std::tan(beta - phi)) +
            std::tan(beta) / std::tan(beta - phi) * (s.b + x * std::tan(beta) * std::tan(alpha)) +
            k0 * x * std::tan(beta) * (std::tan(phi) * std::sin(beta) - std::tan(alpha)) - ka * s.b);
}
double sandFlow(const Soil& s, double x) {
    const double phi = s.phiDegrees * kPi / 180.0, beta = kPi / 4 + phi / 2, k0 = 0.4;
    const double ka = std::pow(std::tan(kPi / 4 - phi / 2), 2);
    return ka * s.b * s.gamma * x * (std::pow(std::tan(beta), 8) - 1) +
           k0 * s.b * s.gamma * x * std::tan(phi) * std::pow(std::tan(beta), 4);
}
double sandA(double r) {
    const double ratio[] = {0, 0.5, 1, 1.5, 2, 2.5, 3, 4, 5, 6};
    const double a[] = {2.83, 2.48, 2.11, 1.76, 1.48, 1.23, 1.06, 0.90, 0.88, 0.88};
    int i = 1;
    while (i < 9 && r >= ratio[i]) ++i;
    return a[i - 1] + (r - ratio[i - 1]) * (a[i] - a[i - 1]) / (ratio[i] - ratio[i - 1]);
}
// Depth where the flow resistance takes over from the wedge.
double sandTransition(const Soil& s) {
    double lo = 1e-9, hi = 1e4;
    for (int i = 0; i < 200; ++i) {
        const double mid = 0.5 * (lo + hi);
        (sandWedge(s, mid) < sandFlow(s, mid) ? lo : hi) = mid;
    }
    return lo;
}
// The cohesive wedge resistance without its cap, as the silt integration takes it.
double siltCohesive(const Soil& s, double x) {
    return 3.0 * s.c * s.b + s.gamma * s.b * x + 0.5 * s.c * x;
}
// Stiff clay above the water: the cohesive wedge in c (not ca) down to the transition depth, which the mean
// cohesion ca sets, and 9cb below it.
double stiffClayAboveTransition(const Soil& s) {
    return (9.0 * s.c * s.b - 3.0 * s.ca * s.b) / (0.5 * s.c + s.b * s.gamma);
}

struct Branch {
    const char* name;
    int code;
    Soil soil;
    std::function<double(const Soil&, double)> resistance;  // below the transition depth
    std::function<double(const Soil&)> transition;
    std::function<double(const Soil&)> deep;  // per unit depth beyond the transition
    int steps;                                // of the integration in the code; 0 for a closed form
};

const Soil kClay = {24.0, 5.0, 5.0, 0.02, 0.0, 60.0};
// A stiff clay whose mean cohesion from the layer top differs from its cohesion at the station, so that the
// two cannot stand in for each other.
const Soil kStiffClay = {24.0, 5.0, 4.0, 0.02, 0.0, 60.0};
const Soil kSandSoil = {24.0, 0.0, 0.0, 0.04, 35.0, 60.0};
const Soil kSiltSoil = {24.0, 2.0, 2.0, 0.04, 30.0, 60.0};

const Branch kBranches[] = {
    {"soft clay", 1, kClay, softClay, [](const Soil& s) { return 6 * s.c * s.b / (s.gamma * s.b + 0.5 * s.c); },
     [](const Soil& s) { return 9 * s.c * s.b; }, 0},
    {"unknown code as soft clay", 8, kClay, softClay,
     [](const Soil& s) { return 6 * s.c * s.b / (s.gamma * s.b + 0.5 * s.c); },
     [](const Soil& s) { return 9 * s.c * s.b; }, 0},
    {"stiff clay above the water", 3, kStiffClay, siltCohesive, stiffClayAboveTransition,
     [](const Soil& s) { return 9 * s.c * s.b; }, 0},
    {"stiff clay below the water", 2, kStiffClay, stiffClayWedge,
     [](const Soil& s) { return (11 * s.c * s.b - 2 * s.ca * s.b) / (s.gamma * s.b + 2.83 * s.ca); },
     [](const Soil& s) {
         const double xt = (11 * s.c * s.b - 2 * s.ca * s.b) / (s.gamma * s.b + 2.83 * s.ca);
         return 11 * s.c * s.b * residualRatio(s, xt);
     },
     40},
    {"sand", 4, kSandSoil, [](const Soil& s, double x) { return sandA(x / s.b) * sandWedge(s, x); }, sandTransition,
     [](const Soil& s) { return 0.88 * sandFlow(s, s.z); }, 100},
    {"weak rock as sand", 7, kSandSoil, [](const Soil& s, double x) { return sandA(x / s.b) * sandWedge(s, x); },
     sandTransition, [](const Soil& s) { return 0.88 * sandFlow(s, s.z); }, 100},
    {"silt", 5, kSiltSoil,
     [](const Soil& s, double x) { return siltCohesive(s, x) + sandA(x / s.b) * sandWedge(s, x); }, sandTransition,
     [](const Soil& s) { return 9 * s.c * s.b + 0.88 * sandFlow(s, s.z); }, 50},
};

// Integrating the layer's own resistance from the surface to the equivalent depth gives back what the
// layers above supplied. A closed form is exact to rounding; a stepped integration of a resistance that
// grows with depth errs by at most about one step's area, r(xt) x xt / steps.
TEST(EquivalentDepth, OwnResistanceDownToTheDepthEqualsTheResistanceAbove) {
    for (const Branch& br : kBranches) {
        const Soil& s = br.soil;
        auto r = [&](double x) { return br.resistance(s, x); };
        const double xt = br.transition(s);
        const double atTransition = simpson(r, xt);
        const double tolerance = br.steps == 0 ? 1e-9 * atTransition : std::max(r(xt), br.deep(s)) * xt / br.steps;
        for (double share : {0.3, 0.9, 3.0}) {
            SoilRun run;
            const double above = share * atTransition;
            setUp(*run.st, br.code, above, s);
            Engine e = run.engine();
            EquivalentDepthLayered(e, 2);
            const double depth = run.st->soil.equivalentTopDepth[2];
            const double supplied = depth <= xt ? simpson(r, depth) : atTransition + (depth - xt) * br.deep(s);
            EXPECT_NEAR(supplied, above, tolerance) << br.name << " at " << share << " of the transition";
            EXPECT_EQ(depth > xt, share > 1.0) << br.name << " at " << share;
        }
    }
}

TEST(EquivalentDepth, SiltBelowNothingStartsAtTheSurface) {
    SoilRun run;
    setUp(*run.st, 5, 0.0, kSiltSoil);
    run.st->soil.soilType[1] = 5;
    Engine e = run.engine();
    EquivalentDepthLayered(e, 1);
    EXPECT_NEAR(run.st->soil.equivalentTopDepth[1], 0.0, 1e-12);
}

TEST(EquivalentDepth, ResistanceOfEveryLayerAboveCounts) {
    SoilRun run;
    setUp(*run.st, 1, 0.0, kClay);
    SoilModel& m = run.st->soil;
    m.layerCount = 4;
    m.soilType[4] = 1;
    m.layerResistance[1] = 1000.0;
    m.layerResistance[2] = 2500.0;
    m.layerResistance[3] = 500.0;
    m.layerResistance[4] = 1e9;  // the layer's own: not part of what lies above
    Engine e = run.engine();
    EquivalentDepthLayered(e, 4);
    const double depth = m.equivalentTopDepth[4];
    // Soft clay's resistance integral 3cbx + gamma b x^2 / 2 + c x^2 / 4 below the transition depth.
    const Soil& s = kClay;
    EXPECT_NEAR(3 * s.c * s.b * depth + s.gamma * s.b * depth * depth / 2 + s.c * depth * depth / 4, 4000.0, 1e-8);
}

TEST(EquivalentDepth, StiffClayAboveTheWaterWorkedByHand) {
    // b = 24, c = 5, ca = 4, gamma = 0.02: xt = (9cb - 3 ca b) / (0.5c + b gamma) = 792 / 2.98 = 265.77181;
    // F(xt) = c xt^2 / 4 + 3cb xt + b gamma xt^2 / 2 = 1.49 xt^2 + 360 xt = 200923.49.
    const struct Case {
        double above;
        double depth;
    } cases[] = {
        // Beyond the transition: (300000 - 200923.49) / 9cb + xt = 91.73751 + 265.77181.
        {300000.0, 357.50932140},
        // Above it: 1.49 x^2 + 360 x = 50000, x = (-360 + sqrt(360^2 + 4 x 1.49 x 50000)) / 2.98.
        {50000.0, 98.62795603},
    };
    for (const Case& c : cases) {
        SoilRun run;
        setUp(*run.st, 3, c.above, kStiffClay);
        Engine e = run.engine();
        EquivalentDepthLayered(e, 2);
        // A closed form: the hand values are given to 1e-8.
        EXPECT_NEAR(run.st->soil.equivalentTopDepth[2], c.depth, 1e-8) << c.above;
    }
}

TEST(EquivalentDepth, StationValuesThatGiveNoDepthEndTheRunNamingTheLayer) {
    const struct Case {
        const char* name;
        int code;
        double above;
        Soil soil;  // b, c, ca, gamma, phi in degrees, Z
    } cases[] = {
        {"soft clay without strength or weight", 1, 100.0, {24.0, 0.0, 0.0, 0.0, 0.0, 60.0}},
        // 0.5c + b gamma = 0.5 - 1.2: xt = 144 / -0.7 and F(xt) = -0.35 xt^2 + 72 xt = -29622 lie above the
        // surface, yet (R - F(xt)) / 9cb + xt = 394 for this R would pass for a depth.
        {"soft clay lighter than the water", 1, 1.0e5, {24.0, 1.0, 1.0, -0.05, 0.0, 60.0}},
        {"stiff clay above the water, lighter than the water", 3, 1.0e5, {24.0, 1.0, 1.0, -0.05, 0.0, 60.0}},
        // xt = (216 - 360) / 0.98 lies above the surface, and so does the depth (100 - F(xt)) / 9cb + xt.
        {"stiff clay above the water with ca over 3c", 3, 100.0, {24.0, 1.0, 5.0, 0.02, 0.0, 60.0}},
        // 2.83 ca + b gamma = 11.32 - 12
        {"stiff clay below the water, lighter than the water", 2, 100.0, {24.0, 5.0, 4.0, -0.5, 0.0, 60.0}},
        // xt = (11cb - 2 ca b) / (2.83 ca + b gamma) = (264 - 288) / 17.46
        {"stiff clay below the water with ca over 5.5c", 2, 100.0, {24.0, 1.0, 6.0, 0.02, 0.0, 60.0}},
        {"sand without friction (C1 = 0)", 4, 100.0, {24.0, 0.0, 0.0, 0.04, 0.0, 60.0}},
        {"silt without friction (C1 = 0)", 5, 100.0, {24.0, 2.0, 2.0, 0.04, 0.0, 60.0}},
        {"sand without width", 4, 100.0, {0.0, 0.0, 0.0, 0.04, 35.0, 60.0}},
        // The root of 1.49 x^2 + 360 x = -100 lies above the surface.
        {"a negative resistance above", 1, -100.0, {24.0, 5.0, 5.0, 0.02, 0.0, 60.0}},
    };
    for (const Case& c : cases) {
        SoilRun run;
        setUp(*run.st, c.code, c.above, c.soil);
        run.st->soil.equivalentTopDepth[2] = 123.0;
        Engine e = run.engine();
        EXPECT_THROW(EquivalentDepthLayered(e, 2), rt::EndRun) << c.name;
        EXPECT_EQ(run.st->soil.equivalentTopDepth[2], 123.0) << c.name;
        EXPECT_NE(
            run.report().find("\n     INPUT SOIL LAYER  2: THE EQUIVALENT DEPTH OF THE LAYER TOP CANNOT BE FOUND\n"),
            std::string::npos)
            << c.name;
    }
}

}  // namespace
}  // namespace velmor::engine
