#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "runtime/run_errors.h"
#include "soil/generator_support.h"
#include "soil/generators.h"
#include "soil/soil_model.h"
#include "soil_test_support.h"
#include "soildata_reader.h"

namespace velmor::engine {
namespace {

using soiltest::rowP;
using soiltest::SoilRun;
using soiltest::stationBlock;
using test::splitLines;

// Wall of 20 increments of 12 in, free height 60 in, WP = 24 in; one soft clay layer from the excavation
// level to 120 in below it (stations at 0.1, 30, 60, 90 and 119.9 in): c = 5 lb/in^2, gamma = 0.02 lb/in^3,
// E50 = 0.02. WA = 96 in gives WA/WP = 4: no p-reduction and no continuous wall.
void clayWall(SoilRun& run, double wa) {
    run.wall(20, 12.0, 60.0, wa, 24.0);
    run.layer(1, 180.0, {0.02, 5.0, 0.0, 0.02, 0.0, 0.0});
}

// Lines of a station block that hold row 17 (y, p) of the excavation and the backfill side.
constexpr std::size_t kExcavationLastRow = 25;
constexpr std::size_t kBackfillLastRow = 53;
constexpr std::size_t kBlockLines = 56;

// Station 3 (60 in below the excavation level), written out from the report formats with values worked by
// hand: excavation side x = 60 in, Np = 0.5 x 60 / 24 + 0.02 x 60 / 5 + 3 = 4.49, pu = 5 x 4.49 x 24 = 538.8,
// y50 = 2.5 x 0.02 x 24 = 1.2, p(y50) = 269.4; backfill side x = 120 in, Np = 5.98, pu = 717.6; the shift
// P0 = max(24 x 12 - 240, 1200 / 4 - 240) = 60.
const char* const kStationThreeReport[] = {
    "",
    "",
    "         AT THE EXCAVATION SIDE",
    "",
    "         DEPTH BELOW GS      DIAM        C      GAMMA AVG      E50",
    "               IN             IN     LBS/IN**2  LBS/IN**3",
    "             60.00          24.000 0.5000D+01 0.2000D-01   0.2000D-01",
    "",
    "                                     Y,IN             P,LBS/IN",
    "                                    0.000             -60.000",
    "                                    0.010              -6.120",
    "                                    0.300             109.711",
    "                                    0.600             153.823",
    "                                    0.900             184.766",
    "                                    1.200             209.400",
    "                                    1.500             230.202",
    "                                    1.800             248.386",
    "                                    2.100             264.646",
    "                                    2.400             279.423",
    "                                    2.700             293.014",
    "                                    3.000             305.632",
    "                                    3.300             317.435",
    "                                    3.600             328.542",
    "                                    9.600             478.800",
    "                                   18.000             478.800",
    "                                   24.000             478.800",
    "",
    "                      P-Multiplier =  0.100E+01 Y-Multiplier =  0.100E+01",
    "",
    "",
    "         AT THE BACKFILL SIDE",
    "",
    "         DEPTH BELOW GS      DIAM        C      GAMMA AVG      E50",
    "               IN             IN     LBS/IN**2  LBS/IN**3",
    "            120.00          24.000 0.5000D+01 0.2000D-01   0.2000D-01",
    "",
    "                                     Y,IN             P,LBS/IN",
    "                                    0.000              60.000",
    "                                    0.010             131.760",
    "                                    0.300             286.030",
    "                                    0.600             344.780",
    "                                    0.900             385.991",
    "                                    1.200             418.800",
    "                                    1.500             446.506",
    "                                    1.800             470.723",
    "                                    2.100             492.380",
    "                                    2.400             512.060",
    "                                    2.700             530.161",
    "                                    3.000             546.967",
    "                                    3.300             562.686",
    "                                    3.600             577.479",
    "                                    9.600             777.600",
    "                                   18.000             777.600",
    "                                   24.000             777.600",
    "",
    "                      P-Multiplier =  0.100E+01 Y-Multiplier =  0.100E+01",
};
const char* const kStationThreeSoildata[] = {
    "    1 -0.600E+02  0.000E+00", "    2 -0.612E+01  0.960E-02", "    3  0.110E+03  0.300E+00",
    "    4  0.154E+03  0.600E+00", "    5  0.185E+03  0.900E+00", "    6  0.209E+03  0.120E+01",
    "    7  0.230E+03  0.150E+01", "    8  0.248E+03  0.180E+01", "    9  0.265E+03  0.210E+01",
    "   10  0.279E+03  0.240E+01", "   11  0.293E+03  0.270E+01", "   12  0.306E+03  0.300E+01",
    "   13  0.317E+03  0.330E+01", "   14  0.329E+03  0.360E+01", "   15  0.479E+03  0.960E+01",
    "   16  0.479E+03  0.180E+02", "   17  0.479E+03  0.240E+02", "    1  0.600E+02  0.000E+00",
    "    2  0.132E+03  0.960E-02", "    3  0.286E+03  0.300E+00", "    4  0.345E+03  0.600E+00",
    "    5  0.386E+03  0.900E+00", "    6  0.419E+03  0.120E+01", "    7  0.447E+03  0.150E+01",
    "    8  0.471E+03  0.180E+01", "    9  0.492E+03  0.210E+01", "   10  0.512E+03  0.240E+01",
    "   11  0.530E+03  0.270E+01", "   12  0.547E+03  0.300E+01", "   13  0.563E+03  0.330E+01",
    "   14  0.577E+03  0.360E+01", "   15  0.778E+03  0.960E+01", "   16  0.778E+03  0.180E+02",
    "   17  0.778E+03  0.240E+02",
};

TEST(SoftClayCurves, ReportBlockAndSoildataOfOneStation) {
    SoilRun run;
    clayWall(run, 96.0);
    run.st->excavationLevel.stress = 12.0;
    run.st->excavationLevel.pressure = 1200.0;
    Engine e = run.engine();
    SetUpSoilModel(e);

    const std::vector<std::string> expected(std::begin(kStationThreeReport), std::end(kStationThreeReport));
    EXPECT_TRUE(test::sameText(soiltest::joinLines(expected),
                               soiltest::joinLines(stationBlock(run.report(), 3, expected.size()))));
    soiltest::expectStationThreeSoildata(kStationThreeSoildata);
    EXPECT_EQ(run.st->soil.threshold, double(1e-14f));
}

TEST(SoftClayCurves, UltimateResistance) {
    // pu = c Np b with Np = 3 + gamma x / c + 0.5 x / b up to 9; a continuous wall (WA/WP < 1.1) takes
    // gamma x b + 2 c b. Read from row 17 of the report (p = pu there, no shift, multiplier 1).
    const struct Case {
        const char* name;
        double wa;
        std::array<double, 6> soil;
        int station;
        double excavation, backfill;  // pu by hand
    } cases[] = {
        // x = 0.1: Np = 3 + 0.0004 + 0.0020833; x = 60.1 (backfill): Np = 3 + 0.2404 + 1.2520833
        {"near the surface",
         96.0,
         {0.02, 5.0, 0.0, 0.02, 0.0, 0.0},
         1,
         5.0 * 24.0 * (3.0 + 0.02 * 0.1 / 5.0 + 0.05 / 24.0),
         5.0 * 24.0 * (3.0 + 0.02 * 60.1 / 5.0 + 0.5 * 60.1 / 24.0)},
        // c = 1: at x = 90, Np = 3 + 1.8 + 1.875 = 6.675; backfill x = 150: 3 + 3 + 3.125 = 9.125, limited to 9
        {"Np limited to 9", 96.0, {0.02, 1.0, 0.0, 0.02, 0.0, 0.0}, 4, 24.0 * 6.675, 9.0 * 24.0},
        // WA = WP: gamma x b + 2 c b = 0.02 x 60 x 24 + 240 and 0.02 x 120 x 24 + 240
        {"continuous wall", 24.0, {0.02, 5.0, 0.0, 0.02, 0.0, 0.0}, 3, 28.8 + 240.0, 57.6 + 240.0},
    };
    for (const Case& c : cases) {
        SoilRun run;
        run.wall(20, 12.0, 60.0, c.wa, 24.0);
        run.layer(1, 180.0, c.soil);
        Engine e = run.engine();
        SetUpSoilModel(e);
        const std::vector<std::string> block = stationBlock(run.report(), c.station, kBlockLines);
        ASSERT_EQ(block.size(), kBlockLines) << c.name;
        // F20.3 rows: half a unit of the last decimal.
        EXPECT_NEAR(rowP(block[kExcavationLastRow]), c.excavation, 5e-4) << c.name;
        EXPECT_NEAR(rowP(block[kBackfillLastRow]), c.backfill, 5e-4) << c.name;
    }
}

// Ultimate resistance of the single soft clay layer of clayWall at depth x.
double clayUltimate(double x) {
    return 5.0 * 24.0 * std::min(9.0, 0.5 * x / 24.0 + 0.02 * x / 5.0 + 3.0);
}

TEST(SoftClayCurves, LayerResistanceIsTheTrapezoidSumBetweenStations) {
    SoilRun run;
    clayWall(run, 96.0);
    Engine e = run.engine();
    SetUpSoilModel(e);
    const double d[] = {double(0.1f), 30.0, 60.0, 90.0, 120.0 - double(0.1f)};
    double expected = 0.0;
    for (int i = 1; i < 5; ++i) expected += (clayUltimate(d[i]) + clayUltimate(d[i - 1])) * 0.5 * (d[i] - d[i - 1]);
    EXPECT_NEAR(run.st->soil.layerResistance[1], expected, 1e-10 * expected);
}

TEST(SoftClayCurves, ClayBelowSandTakesItsResistanceAtTheEquivalentDepth) {
    // Wall of 25 increments of 12 in (the toe cut lies 264 in below the excavation), free height 60 in; sand
    // (phi = 30 deg, gamma = 0.04 lb/in^3, k = 60) from the excavation level to 120 in, soft clay (c = 8,
    // gamma = 0.04, E50 = 0.02) below to 240 in. Worked by hand:
    // - the sand supplies R = 66826.786146: the trapezoids of its excavation-side pu = A min(pst, psd)
    //   between its stations 0.1 .. 119.9 and its last pu down to the layer bottom;
    // - the clay's own resistance 3cbx + gamma b x^2 / 2 + c x^2 / 4 = 576 x + 2.48 x^2 (below its transition
    //   depth 6cb / (0.5c + b gamma) = 232.26) reaches R at x = (-576 + sqrt(576^2 + 9.92 R)) / 4.96 =
    //   84.948656: EquivalentTopDepth(2);
    // - the clay's station 2 (d = 150) works at x = 30 + 84.948656 on the excavation side,
    //   pu = 8 x 24 (3 + 0.005 x + x / 48) = 1146.145336, and at x = 90 + 84.948656 on the backfill side,
    //   pu = 1443.745336; the report prints the true depths 150 and 210.
    SoilRun run;
    run.wall(25, 12.0, 60.0, 96.0, 24.0);
    run.layer(4, 180.0, {0.04, 0.0, 30.0, 0.0, 60.0, 0.0});
    run.layer(1, 300.0, {0.04, 8.0, 0.0, 0.02, 0.0, 0.0});
    Engine e = run.engine();
    SetUpSoilModel(e);
    // The hand values carry six decimals.
    EXPECT_NEAR(run.st->soil.layerResistance[1], 66826.786146, 1e-5);
    EXPECT_NEAR(run.st->soil.equivalentTopDepth[2], 84.948656, 1e-6);
    const std::vector<std::string> block = stationBlock(run.report(), 7, kBlockLines);  // clay station 2
    ASSERT_EQ(block.size(), kBlockLines);
    EXPECT_EQ(block[6].substr(0, 18), "            150.00");
    EXPECT_EQ(block[34].substr(0, 18), "            210.00");
    // F20.3 rows.
    EXPECT_NEAR(rowP(block[kExcavationLastRow]), 1146.145336, 5.1e-4);
    EXPECT_NEAR(rowP(block[kBackfillLastRow]), 1443.745336, 5.1e-4);
}

TEST(SoftClayCurves, DeflectionsBelowTheFloorWarnWithTheInitialModulus) {
    // A reduction-factor table whose y-factor is 0 at the station: every y' is 0, so rows 2 to 17 each get
    // the warning with k0 = 0.5 pu (y50 / 1e-14)^(2/3) / y50 = 0.5462E+12 for pu = 538.8, y50 = 1.2.
    SoilRun run;
    clayWall(run, 96.0);
    run.factorRow(100.0, 1.0, 0.0);
    run.factorRow(140.0, 1.0, 0.0);
    Engine e = run.engine();
    SetUpSoilModel(e);
    const std::vector<std::string> lines = splitLines(run.report());
    const std::vector<std::string> warning = {"", "                             **** WARNING ****",
                                              "     DEFLECTION IS LESS THAN 1.0E-14.  THE PROGRAM",
                                              "     USED A SOIL MODULUS OF   0.5462D+12"};
    int warnings = 0;
    for (std::size_t i = 0; i + 4 < lines.size(); ++i) {
        if (lines[i + 1] != warning[1]) continue;
        if (std::equal(warning.begin(), warning.end(), lines.begin() + i)) ++warnings;
    }
    EXPECT_EQ(warnings, 16);  // station 3 excavation side; its backfill side (pu = 717.6) prints its own k0
    EXPECT_NE(std::find(lines.begin(), lines.end(), "     USED A SOIL MODULUS OF   0.7274D+12"), lines.end());
}

TEST(SoftClayCurves, ACurveThatIsNotFiniteEndsTheRunBeforeItsBlock) {
    // A negative E50 (which the set-up refuses; set here directly) makes (y / y50)^(1/3) not finite: the run
    // ends naming the layer and the curve's depth, and no part of that station's block is written.
    SoilRun run;
    clayWall(run, 96.0);
    Engine e = run.engine();
    SetUpSoilModel(e);
    run.st->soil.e50[1] = run.st->soil.e50[2] = -0.02;
    run.io.open(kCurveScratchUnit, "again.txt", rt::Access::Write);
    EXPECT_THROW(PYCurveSoftClay(e, kStationDepthColumn, 1), rt::EndRun);
    run.io.close(kCurveScratchUnit);
    EXPECT_EQ(test::readFile("again.txt"), "");
    const std::string report = run.report();
    EXPECT_NE(report.find("\n     INPUT SOIL LAYER  1: THE P-Y CURVE AT     60.10 IN IS NOT FINITE\n"),
              std::string::npos);
    std::size_t blocks = 0;
    for (std::size_t at = report.find("AT THE EXCAVATION SIDE"); at != std::string::npos;
         at = report.find("AT THE EXCAVATION SIDE", at + 1)) {
        ++blocks;
    }
    EXPECT_EQ(blocks, 5u);  // those of the set-up only
    for (const char* word : {"nan", "NaN", "NAN", "inf", "Inf", "INF"}) EXPECT_EQ(report.find(word), std::string::npos);
}

}  // namespace
}  // namespace velmor::engine
