#include "soil/sand.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "runtime/run_errors.h"
#include "soil/generators.h"
#include "soil/soil_model.h"
#include "soil_test_support.h"
#include "soildata_reader.h"

namespace velmor::engine {
namespace {

using soiltest::readScratchCurves;
using soiltest::setUpRadians;
using soiltest::SoilRun;
using soiltest::stationBlock;
using test::splitLines;

constexpr double kPi = 3.14159265358979323846;

// Wedge and flow resistances against their closed forms with beta = 45 deg + phi/2 and Kp = tan^2(beta):
// pst = gamma (x^2 C1 + x b C2), psd = gamma b x C3. The forms agree only with the true pi (then
// tan(beta - phi) = 1 / tan(beta)), so this check runs the pieces with it.
TEST(SandPieces, WedgeAndFlowResistanceMatchTheClosedForms) {
    const struct Case {
        double phiDegrees, x, b, gamma;
    } cases[] = {
        {25.0, 12.0, 24.0, 0.04},  {30.0, 60.0, 24.0, 0.065}, {35.0, 60.0, 24.0, 0.04},
        {40.0, 200.0, 18.0, 0.07}, {35.0, 3.0, 0.6, 19.0},  // SI: metres and kN/m^3
    };
    for (const Case& c : cases) {
        const double phi = c.phiDegrees * kPi / 180.0;
        const double alpha = phi / 2.0;
        const double beta = kPi / 4.0 + phi / 2.0;
        const double k0 = 0.4;
        const double kp = std::pow(std::tan(beta), 2);
        const double ka = std::pow(std::tan(kPi / 4.0 - phi / 2.0), 2);
        const double c1 =
            std::tan(beta) * (kp * std::tan(alpha) +
                              k0 * (std::tan(phi) * std::sin(beta) * (1.0 / std::cos(alpha) + 1.0) - std::tan(alpha)));
        const double c2 = kp - ka;
        const double c3 = kp * kp * (kp + k0 * std::tan(phi)) - ka;
        const SandAngles a = SandAnglesFor(phi, kPi);
        EXPECT_NEAR(a.ka, ka, 1e-12);
        EXPECT_NEAR(a.kp, kp, 1e-12 * kp);
        EXPECT_NEAR(a.ka * a.kp, 1.0, 1e-12);
        const SandResistance r = SandWedgeFlowResistance(a, c.b, c.gamma, c.x);
        const double wedge = c.gamma * (c.x * c.x * c1 + c.x * c.b * c2);
        const double flow = c.gamma * c.b * c.x * c3;
        // K0 is the single-precision 0.4 in the pieces: a relative difference of 1.5e-8 at most.
        EXPECT_NEAR(r.wedge, wedge, 1e-7 * wedge) << c.phiDegrees << " deg at " << c.x;
        EXPECT_NEAR(r.flow, flow, 1e-7 * flow) << c.phiDegrees << " deg at " << c.x;
        EXPECT_EQ(r.smaller(), std::min(r.wedge, r.flow));
    }
}

TEST(SandPieces, WorkedCaseOfThirtyFiveDegrees) {
    // phi = 35 deg, gamma = 0.04 lb/in^3, b = 24 in, x = 60 in (x/b = 2.5: A = 1.23, B = 0.86), k = 90 lb/in^3,
    // worked by hand with the generator's pi of 3.1416; the hand values carry three decimals.
    const SandAngles a = SandAnglesFor(setUpRadians(35.0), double(3.1416f));
    const SandResistance r = SandWedgeFlowResistance(a, 24.0, 0.04, 60.0);
    EXPECT_NEAR(r.wedge, 624.694, 5e-4);
    EXPECT_NEAR(r.flow, 3098.667, 5e-4);
    const double ps = r.smaller();
    EXPECT_NEAR(double(1.23f) * ps, 768.374, 5e-4);
    EXPECT_NEAR(double(0.86f) * ps, 537.237, 5e-4);
    const SandCurveShape s = SandCurveShapeFor(double(1.23f) * ps, double(0.86f) * ps, 24.0, 90.0 * 60.0, 60.0);
    EXPECT_DOUBLE_EQ(s.yu, 0.9);  // 3b/80
    EXPECT_DOUBLE_EQ(s.ym, 0.4);  // b/60
    // m = (768.374 - 537.237) / 0.5, n = pm / (m ym), by hand.
    EXPECT_NEAR(s.m, 462.274, 2e-3);
    EXPECT_NEAR(s.n, 2.90541, 1e-5);
}

// The four segments meet: the initial line kz y meets the parabola at yk, the parabola reaches pm at ym and
// the straight line reaches pu at yu; beyond yu p stays at pu, and kz y caps everything.
TEST(SandPieces, CurveSegmentsAreContinuous) {
    const struct Case {
        double pu, pm, b, kz;
    } cases[] = {
        {768.374, 537.237, 24.0, 5400.0},
        {1852.3, 1052.4, 24.0, 10800.0},
        {150.0, 100.0, 0.6, 25000.0},  // SI
        {2000.0, 1300.0, 36.0, 900.0},
    };
    for (const Case& c : cases) {
        const SandCurveShape s = SandCurveShapeFor(c.pu, c.pm, c.b, c.kz, 1.0);
        const double tolerance = 1e-9 * c.pu;  // a few roundings of powers and quotients
        EXPECT_DOUBLE_EQ(s.yu, 3.0 * c.b / 80.0);
        EXPECT_DOUBLE_EQ(s.ym, c.b / 60.0);
        EXPECT_NEAR(s.c * std::pow(s.ym, 1.0 / s.n), c.pm, tolerance);
        EXPECT_NEAR(s.pm + s.m * (s.yu - s.ym), c.pu, tolerance);
        EXPECT_NEAR(s.kz * s.yk, s.c * std::pow(s.yk, 1.0 / s.n), tolerance);
        EXPECT_NEAR(SandCurveResistance(s, s.ym), std::min(c.pm, c.kz * s.ym), tolerance);
        EXPECT_NEAR(SandCurveResistance(s, s.yu), std::min(c.pu, c.kz * s.yu), tolerance);
        EXPECT_EQ(SandCurveResistance(s, s.yu + c.b), std::min(c.pu, c.kz * (s.yu + c.b)));
        EXPECT_EQ(SandCurveResistance(s, 0.0), 0.0);
        // Halfway between ym and yu on the straight line.
        const double mid = 0.5 * (s.ym + s.yu);
        EXPECT_NEAR(SandCurveResistance(s, mid), std::min(0.5 * (c.pm + c.pu), c.kz * mid), tolerance);
    }
}

TEST(SandPieces, CurveAtNoEffectiveDepth) {
    // z' <= 0: yk = 2b and kz = k z' <= 0, so every point is capped at kz y.
    const SandCurveShape s = SandCurveShapeFor(100.0, 60.0, 24.0, 0.0, 0.0);
    EXPECT_EQ(s.yk, 48.0);
    for (int i = 1; i <= 17; ++i) EXPECT_EQ(SandCurveResistance(s, SandPointDeflection(s, i)), 0.0) << i;
}

TEST(SandPieces, DeflectionSchedule) {
    const SandCurveShape s = SandCurveShapeFor(768.374, 537.237, 24.0, 5400.0, 60.0);
    // b = 24: ym = 0.4 in twelve steps of 1/30, yu = 0.9, then 0.9 + 24, + 48, + 72.
    const struct Case {
        int point;
        double y;
    } cases[] = {{1, 0.0}, {2, 0.4 / 12.0}, {7, 0.2}, {13, 0.4}, {14, 0.9}, {15, 24.9}, {16, 48.9}, {17, 72.9}};
    for (const Case& c : cases) EXPECT_NEAR(SandPointDeflection(s, c.point), c.y, 1e-14) << c.point;
}

TEST(SandPieces, ContinuousWallPassiveCoefficient) {
    // Without wall friction the coefficient is Rankine's tan^2(45 deg + phi/2); wall friction raises it.
    for (double degrees : {20.0, 30.0, 35.0, 40.0}) {
        const double phi = degrees * kPi / 180.0;
        const double rankine = std::pow(std::tan(kPi / 4.0 + phi / 2.0), 2);
        EXPECT_NEAR(ContinuousWallPassiveCoefficient(phi, 0.0), rankine, 1e-12 * rankine) << degrees;
        EXPECT_GT(ContinuousWallPassiveCoefficient(phi, phi / 2.0), rankine) << degrees;
    }
    // Coulomb's passive coefficient for phi = 30 deg and delta = 15 deg, vertical wall, level ground: 4.9765.
    EXPECT_NEAR(ContinuousWallPassiveCoefficient(kPi / 6.0, kPi / 12.0), 4.9765, 1e-4);
}

// Wall of 20 increments of 12 in with a free height of 60 in over one sand layer from the excavation level
// to 120 in below it (stations at 0.1, 30, 60, 90 and 119.9 in); phi = 35 deg, gamma = 0.04 lb/in^3,
// k = 90 lb/in^3, WP = 24 in. WA = 96 in gives WA/WP = 4: no p-reduction and no continuous wall.
void sandWall(SoilRun& run, double wa, const std::array<double, 6>& top = {0.04, 0.0, 35.0, 0.0, 90.0, 0.0},
              const std::array<double, 6>& bottom = {0.04, 0.0, 35.0, 0.0, 90.0, 0.0}) {
    run.wall(20, 12.0, 60.0, wa, 24.0);
    run.layer(4, 180.0, top, bottom);
}

// The value in columns [from, from + width) of a report line, as a number.
double field(const std::string& line, std::size_t from, std::size_t width) {
    return std::stod(line.substr(from, width));
}

// Station 3 (60 in below the excavation level, 120 in below the top of the wall), written out from the report
// formats with values worked by hand: excavation side x = 60 (A = 1.23, B = 0.86, pst = 624.694), backfill
// side x = 120 (A = 0.88, B = 0.50); pa = max(20 / 4, 0.5 Ka 24) = 5.
const char* const kStationThreeReport[] = {
    "",
    "",
    "         AT THE EXCAVATION SIDE",
    "",
    "",
    "           DEPTH BELOW GS  DIAM   PHI  GAMMA AVG    A    B     PCT       PCD",
    "                 IN         IN         LBS/IN**3",
    "               60.00      24.00  35.00 0.40E-01   1.23 0.86 0.62E+03 0.31E+04",
    "",
    "                                      Y                   P",
    "                                      IN               LBS/IN",
    "                                    0.000              -5.000",
    "                                    0.033             175.000",
    "                                    0.067             284.959",
    "                                    0.100             328.385",
    "                                    0.133             363.085",
    "                                    0.167             392.468",
    "                                    0.200             418.210",
    "                                    0.233             441.270",
    "                                    0.267             462.259",
    "                                    0.300             481.591",
    "                                    0.333             499.560",
    "                                    0.367             516.387",
    "                                    0.400             532.237",
    "                                    0.900             763.374",
    "                                   24.900             763.374",
    "                                   48.900             763.374",
    "                                   72.900             763.374",
    "",
    "                      P-Multiplier =  0.100E+01 Y-Multiplier =  0.100E+01",
    "",
    "",
    "         AT THE BACKFILL SIDE",
    "",
    "",
    "           DEPTH BELOW GS  DIAM   PHI  GAMMA AVG    A    B     PCT       PCD",
    "                 IN         IN         LBS/IN**3",
    "              120.00      24.00  35.00 0.40E-01   0.88 0.50 0.21E+04 0.62E+04",
    "",
    "                                      Y                   P",
    "                                      IN               LBS/IN",
    "                                    0.000               5.000",
    "                                    0.033             237.304",
    "                                    0.067             359.065",
    "                                    0.100             458.050",
    "                                    0.133             544.646",
    "                                    0.167             623.059",
    "                                    0.200             695.514",
    "                                    0.233             763.361",
    "                                    0.267             827.499",
    "                                    0.300             888.560",
    "                                    0.333             947.012",
    "                                    0.367            1003.213",
    "                                    0.400            1057.443",
    "                                    0.900            1857.300",
    "                                   24.900            1857.300",
    "                                   48.900            1857.300",
    "                                   72.900            1857.300",
    "",
    "                      P-Multiplier =  0.100E+01 Y-Multiplier =  0.100E+01",
};
const char* const kStationThreeSoildata[] = {
    "    1 -0.500E+01  0.000E+00", "    2  0.175E+03  0.333E-01", "    3  0.285E+03  0.667E-01",
    "    4  0.328E+03  0.100E+00", "    5  0.363E+03  0.133E+00", "    6  0.392E+03  0.167E+00",
    "    7  0.418E+03  0.200E+00", "    8  0.441E+03  0.233E+00", "    9  0.462E+03  0.267E+00",
    "   10  0.482E+03  0.300E+00", "   11  0.500E+03  0.333E+00", "   12  0.516E+03  0.367E+00",
    "   13  0.532E+03  0.400E+00", "   14  0.763E+03  0.900E+00", "   15  0.763E+03  0.249E+02",
    "   16  0.763E+03  0.489E+02", "   17  0.763E+03  0.729E+02", "    1  0.500E+01  0.000E+00",
    "    2  0.237E+03  0.333E-01", "    3  0.359E+03  0.667E-01", "    4  0.458E+03  0.100E+00",
    "    5  0.545E+03  0.133E+00", "    6  0.623E+03  0.167E+00", "    7  0.696E+03  0.200E+00",
    "    8  0.763E+03  0.233E+00", "    9  0.827E+03  0.267E+00", "   10  0.889E+03  0.300E+00",
    "   11  0.947E+03  0.333E+00", "   12  0.100E+04  0.367E+00", "   13  0.106E+04  0.400E+00",
    "   14  0.186E+04  0.900E+00", "   15  0.186E+04  0.249E+02", "   16  0.186E+04  0.489E+02",
    "   17  0.186E+04  0.729E+02",
};

TEST(SandCurves, ReportBlockAndSoildataOfOneStation) {
    SoilRun run;
    sandWall(run, 96.0);
    run.st->excavationLevel.pressure = 20.0;
    run.st->excavationLevel.stress = 0.5;
    Engine e = run.engine();
    SetUpSoilModel(e);

    const std::vector<std::string> expected(std::begin(kStationThreeReport), std::end(kStationThreeReport));
    EXPECT_TRUE(test::sameText(soiltest::joinLines(expected),
                               soiltest::joinLines(stationBlock(run.report(), 3, expected.size()))));

    // The point records of station 3, verbatim.
    soiltest::expectStationThreeSoildata(kStationThreeSoildata);
    EXPECT_EQ(run.st->soil.pi, double(3.1416f));
}

TEST(SandCurves, ContinuousWallUsesThePassiveValueButPrintsWedgeAndFlow) {
    // WA = WP: spacing ratio 1.0 < 1.1. pa = 20 / 1.0. Kpc(35 deg, 17.5 deg) = 7.356744 by hand, so at
    // station 3 (Z = 60) pu = 1.23 x 24 x 7.356744 x 0.04 x 60 = 521.2106 and pm = 0.86 / 1.23 of it.
    SoilRun run;
    sandWall(run, 24.0);
    run.st->excavationLevel.pressure = 20.0;
    Engine e = run.engine();
    SetUpSoilModel(e);
    const std::vector<std::string> block = stationBlock(run.report(), 3, 8);
    ASSERT_EQ(block.size(), 8u);
    EXPECT_EQ(block[7], "               60.00      24.00  35.00 0.40E-01   1.23 0.86 0.62E+03 0.31E+04");

    const soiltest::ScratchCurveFile file = readScratchCurves();
    ASSERT_TRUE(file.complete);
    ASSERT_EQ(file.curves.size(), 5u);
    const auto& points = file.curves[2].points;
    ASSERT_EQ(points.size(), 34u);
    // soildata holds three significant digits.
    EXPECT_NEAR(points[16].p, 521.2106 - 20.0, 0.5);
    EXPECT_NEAR(points[12].p, 364.4237 - 20.0, 0.5);
    EXPECT_NEAR(points[0].p, -20.0, 1e-12);
    EXPECT_NEAR(points[17].p, 20.0, 1e-12);
}

TEST(SandCurves, BothSidesTakeTheSoilAtTheExcavationSideDepth) {
    // phi grows from 30 deg at the excavation level to 40 deg at 120 in: station 3 (60 in) has 35 deg on
    // both sides although its backfill side lies 120 in below the excavation level; so has its unit weight.
    SoilRun run;
    sandWall(run, 96.0, {0.04, 0.0, 30.0, 0.0, 90.0, 0.0}, {0.04, 0.0, 40.0, 0.0, 90.0, 0.0});
    Engine e = run.engine();
    SetUpSoilModel(e);
    const std::vector<std::string> block = stationBlock(run.report(), 3, 38);
    ASSERT_EQ(block.size(), 38u);
    ASSERT_EQ(block[32], "         AT THE BACKFILL SIDE");
    EXPECT_NEAR(field(block[7], 31, 7), 35.0, 0.005);
    EXPECT_NEAR(field(block[37], 31, 7), 35.0, 0.005);
    EXPECT_EQ(block[37].substr(20, 27), "      24.00  35.00 0.40E-01");
    EXPECT_EQ(block[37].substr(0, 20), "              120.00");
}

// Wall of 25 increments of 12 in, free height 60 in, WA = 96 in, WP = 24 in (no p-reduction, no continuous
// wall), long enough that the toe cut (264 in below the excavation) leaves two layers of 120 in each alone.
void twoLayerWall(SoilRun& run) {
    run.wall(25, 12.0, 60.0, 96.0, 24.0);
}

// Row 17 (y = yu + 3b) of the excavation and the backfill side of a station's sand block: p = pu there.
constexpr std::size_t kExcavationLastRow = 27;
constexpr std::size_t kBackfillLastRow = 57;

TEST(SandCurves, LayerResistanceIntegratesTheExcavationSideUltimateResistance) {
    // One sand layer of phi = 30 deg, gamma = 0.04 lb/in^3, k = 60 from the excavation level to 120 in below
    // it: stations at 0.1, 30, 60, 90 and 119.9 in. pu = A min(pst, psd) at x = d, worked by hand with
    // pi = 3.1416 and the single-precision A of the table (x/b = 0.0042, 1.25, 2.5, 3.75, 4.996); then the
    // trapezoids between the stations and the last station's pu over the 0.1 in down to the layer bottom:
    // R = 66826.786146.
    SoilRun run;
    twoLayerWall(run);
    run.layer(4, 180.0, {0.04, 0.0, 30.0, 0.0, 60.0, 0.0});
    Engine e = run.engine();
    SetUpSoilModel(e);
    const double pu[] = {0.725897, 281.778909, 527.532671, 798.810556, 1237.627863};
    const std::string report = run.report();
    for (int s = 0; s < 5; ++s) {
        const std::vector<std::string> block = stationBlock(report, s + 1, kExcavationLastRow + 1);
        ASSERT_EQ(block.size(), kExcavationLastRow + 1) << "station " << s + 1;
        // F20.3 rows, hand values to six decimals.
        EXPECT_NEAR(soiltest::rowP(block[kExcavationLastRow]), pu[s], 5.1e-4) << "station " << s + 1;
    }
    // The hand value carries six decimals.
    EXPECT_NEAR(run.st->soil.layerResistance[1], 66826.786146, 1e-5);
}

TEST(SandCurves, SandBelowClayUsesItsEquivalentDepthButPrintsTheTrueDepth) {
    // Soft clay (c = 5 lb/in^2, gamma = 0.04, E50 = 0.02) from the excavation level to 120 in, sand
    // (phi = 30 deg, gamma = 0.04, k = 60) below to 240 in. Worked by hand:
    // - the clay supplies R = sum of trapezoids of pu = 5 x 24 (3 + 0.008 x + x / 48) = 360 + 3.46 x between
    //   its stations 0.1 .. 119.9: R = 360 x 119.8 + 1.73 (119.9^2 - 0.1^2) = 67998.48;
    // - the sand's own A pst integrated from the surface in 100 steps of xt / 100 (xt = (C3 - C2) b / C1 =
    //   327.40 in) passes R at 119.87771 in: EquivalentTopDepth(2);
    // - station 2 of the sand (d = 150): the excavation side works at z' = 30 + 119.87771, where
    //   pst = 2101.4334 < psd = 4136.1259 and A = 0.88 (x/b = 6.25): pu = 1849.2614; the backfill side at
    //   z' = 90 + 119.87771: pst = 3905.6395, pu = 0.88 pst = 3436.9627.
    SoilRun run;
    twoLayerWall(run);
    run.layer(1, 180.0, {0.04, 5.0, 0.0, 0.02, 0.0, 0.0});
    run.layer(4, 300.0, {0.04, 0.0, 30.0, 0.0, 60.0, 0.0});
    Engine e = run.engine();
    SetUpSoilModel(e);
    const SoilModel& soil = run.st->soil;
    ASSERT_EQ(soil.layerCount, 2);
    // Sums and one interpolation inside a step: rounding only against the hand values' last digit.
    EXPECT_NEAR(soil.layerResistance[1], 67998.48, 1e-5);
    EXPECT_NEAR(soil.equivalentTopDepth[2], 119.877710, 1e-6);

    const std::vector<std::string> block = stationBlock(run.report(), 7, kBackfillLastRow + 1);  // sand, d = 150
    ASSERT_EQ(block.size(), kBackfillLastRow + 1);
    EXPECT_EQ(block[7].substr(0, 20), "              150.00");
    EXPECT_EQ(block[37].substr(0, 20), "              210.00");
    EXPECT_EQ(block[7].substr(49, 10), " 0.88 0.50");
    EXPECT_NEAR(soiltest::rowP(block[kExcavationLastRow]), 1849.261401, 5.1e-4);
    EXPECT_NEAR(soiltest::rowP(block[kBackfillLastRow]), 3436.962698, 5.1e-4);
    // Row 13 (y = ym = b / 60, below kz ym) holds pm = B pst with B = 0.50: 1050.716711 and 1952.819725.
    EXPECT_NEAR(soiltest::rowP(block[kExcavationLastRow - 4]), 1050.716711, 5.1e-4);
    EXPECT_NEAR(soiltest::rowP(block[kBackfillLastRow - 4]), 1952.819725, 5.1e-4);
}

TEST(SandCurves, ABackfillCurveThatIsNotFiniteIsNamedByItsStationDepth) {
    // A unit weight near the top of the range of numbers: at the first station (d = 0.1 in) the excavation
    // side's wedge resistance is still a number, while the backfill side's, 60.1 in below the excavation
    // level, is not. The run ends after the excavation side's block and before the backfill side's, naming
    // the station by its depth below the top of the wall, free height + d = 60.1 in (not free height + the
    // backfill side's depth, 120.1 in).
    SoilRun run;
    run.wall(20, 12.0, 60.0, 96.0, 24.0);
    run.layer(4, 180.0, {1.0e305, 0.0, 35.0, 0.0, 90.0, 0.0});
    Engine e = run.engine();
    EXPECT_THROW(SetUpSoilModel(e), rt::EndRun);
    const std::string report = run.report();
    EXPECT_NE(report.find("\n     INPUT SOIL LAYER  1: THE P-Y CURVE AT     60.10 IN IS NOT FINITE\n"),
              std::string::npos);
    EXPECT_NE(report.find("AT THE EXCAVATION SIDE"), std::string::npos);
    EXPECT_EQ(report.find("AT THE BACKFILL SIDE"), std::string::npos);
    for (const char* word : {"nan", "NaN", "inf", "Inf", "INF"}) EXPECT_EQ(report.find(word), std::string::npos);
    // soildata holds the station's header and its excavation-side points, no backfill point.
    const std::vector<std::string> lines = splitLines(test::readFile("soildata"));
    EXPECT_EQ(lines.size(), 1u + 1u + 17u);
}

}  // namespace
}  // namespace velmor::engine
