#include "soil/soil_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "run_driver.h"
#include "runtime/run_errors.h"
#include "soil/soil_lookups.h"
#include "soil_test_support.h"
#include "soildata_reader.h"

namespace velmor::engine {
namespace {

using soiltest::kRock;
using soiltest::kSand;
using soiltest::kSoftClay;
using soiltest::kStiffClay;
using soiltest::readScratchCurves;
using soiltest::SoilRun;
using test::readFile;
using test::sameText;
using test::splitLines;

std::string spaces(int n) {
    return std::string(n, ' ');
}

// soildata as the intake reads it: the count line, then per curve a header (node or depth, point count)
// and that many point records. Returns the curves present, or -1 when the records do not end with them.
int curvesPresent(int& countLine) {
    const std::vector<std::string> lines = splitLines(readFile("soildata"));
    if (lines.empty()) return -1;
    countLine = std::stoi(lines[0]);
    std::size_t next = 1;
    int curves = 0;
    while (next < lines.size()) {
        std::istringstream header(lines[next]);
        double where = 0.0;
        int points = -1;
        if (!(header >> where >> points) || points < 0) return -1;
        next += 1 + static_cast<std::size_t>(points);
        ++curves;
    }
    return next == lines.size() ? curves : -1;
}

// An English wall of 20 increments of 12 with the excavation 120 below its top: the soil model ends at
// 2 x 12 + 240 - 120 = 144 below the excavation surface.
void englishWall(SoilRun& run) {
    run.wall(20, 12.0, 120.0, 24.0, 24.0);
}

TEST(SoilModel, LayersBelowTheExcavationDownToTheCutAtTheToe) {
    SoilRun run;
    englishWall(run);
    run.layer(1, 60.0, kSoftClay);  // wholly above the excavation level: skipped
    run.layer(4, 180.0, kSand);     // crosses it: from 0 to 60
    run.layer(2, 400.0, {0.07, 10.0, 0.0, 0.005, 500.0, 0.0}, {0.07, 32.0, 0.0, 0.0027, 500.0, 0.0});
    run.layer(6, 500.0, kRock);  // below the cut: not reached
    Engine e = run.engine();
    SetUpSoilModel(e);

    const SoilModel& s = run.st->soil;
    ASSERT_EQ(s.layerCount, 2);
    EXPECT_EQ(s.soilType[1], 4);
    EXPECT_EQ(s.soilType[2], 2);
    EXPECT_EQ(s.inputLayer[1], 2);
    EXPECT_EQ(s.inputLayer[2], 3);
    EXPECT_EQ(s.top[1], 0.0);
    EXPECT_EQ(s.top[2], 60.0);
    EXPECT_EQ(s.bottom[2], 144.0);
    EXPECT_EQ(s.fifthValue[2], 500.0);
    ASSERT_EQ(s.strengthCount, 4);
    EXPECT_EQ(s.depth[4], 144.0);
    // The cut lies 84 into the 220 of the layer: its values lie 84/220 of the way from top to bottom.
    EXPECT_NEAR(s.cohesion[4], 10.0 + 22.0 * 84.0 / 220.0, 1e-12);
    EXPECT_NEAR(s.e50[4], 0.005 - 0.0023 * 84.0 / 220.0, 1e-15);
    EXPECT_NE(run.report().find("X AT THE SURFACE OF EXCAVATION SIDE     =     120.00 IN\n"), std::string::npos);
}

TEST(SoilModel, UnitWeightTableWithTheWaterTable) {
    const double wEnglish = double(0.036f);
    const double wSI = double(9.81f);
    struct Point {
        double depth, weight;
    };
    const struct Case {
        const char* name;
        int unitSystem;
        double waterTable;  // below the top of the wall
        double dry1, dry2;  // the two layers' unit weights
        int headingCount;
        std::vector<Point> points;
    } cases[] = {
        {"inside the upper layer: its own submerged weight below",
         1,
         140.0,
         0.065,
         0.07,
         6,
         {{0, 0.065},
          {20, 0.065},
          {20, 0.065 - wEnglish},
          {60, 0.065 - wEnglish},
          {60, 0.07 - wEnglish},
          {144, 0.07 - wEnglish}}},
        {"inside the last layer: the submerged part follows the heading",
         1,
         220.0,
         0.065,
         0.07,
         4,
         {{0, 0.065}, {60, 0.065}, {60, 0.07}, {100, 0.07}, {100, 0.07 - wEnglish}, {144, 0.07 - wEnglish}}},
        {"at the layer boundary: the lower layer submerged",
         1,
         180.0,
         0.065,
         0.07,
         4,
         {{0, 0.065}, {60, 0.065}, {60, 0.07 - wEnglish}, {144, 0.07 - wEnglish}}},
        {"above the excavation level: all submerged",
         1,
         0.0,
         0.065,
         0.07,
         4,
         {{0, 0.065 - wEnglish}, {60, 0.065 - wEnglish}, {60, 0.07 - wEnglish}, {144, 0.07 - wEnglish}}},
        {"at the excavation level: the upper layer submerged from its top",
         1,
         120.0,
         0.065,
         0.07,
         4,
         {{0, 0.065 - wEnglish}, {60, 0.065 - wEnglish}, {60, 0.07 - wEnglish}, {144, 0.07 - wEnglish}}},
        {"below the soil: all dry", 1, 1.0e6, 0.065, 0.07, 4, {{0, 0.065}, {60, 0.065}, {60, 0.07}, {144, 0.07}}},
        {"SI water",
         2,
         140.0,
         18.0,
         19.0,
         6,
         {{0, 18.0}, {20, 18.0}, {20, 18.0 - wSI}, {60, 18.0 - wSI}, {60, 19.0 - wSI}, {144, 19.0 - wSI}}},
    };
    for (const Case& c : cases) {
        SoilRun run;
        run.wall(20, 12.0, 120.0, 24.0, 24.0, c.unitSystem);
        run.st->wallSoil.waterTableBackfill = c.waterTable;
        run.layer(4, 180.0, {c.dry1, 0.0, 35.0, 0.0, 90.0, 0.0});
        run.layer(1, 264.0, {c.dry2, 5.0, 0.0, 0.02, 0.0, 0.0});
        Engine e = run.engine();
        SetUpSoilModel(e);
        const SoilModel& s = run.st->soil;
        ASSERT_EQ(s.unitWeightCount, static_cast<int>(c.points.size())) << c.name;
        for (int j = 1; j <= s.unitWeightCount; ++j) {
            EXPECT_EQ(s.unitWeightDepth[j], c.points[j - 1].depth) << c.name << " point " << j;
            EXPECT_EQ(s.unitWeight[j], c.points[j - 1].weight) << c.name << " point " << j;
        }
        const std::string heading = spaces(27) + " " + std::to_string(c.headingCount) + " POINTS\n";
        EXPECT_NE(run.report().find(heading), std::string::npos) << c.name;
    }
}

TEST(SoilModel, MeanUnitWeightBelowAWaterTableInsideTheUpperLayer) {
    SoilRun run;
    englishWall(run);
    run.st->wallSoil.waterTableBackfill = 140.0;
    run.layer(4, 180.0, {0.065, 0.0, 35.0, 0.0, 90.0, 0.0});
    run.layer(1, 264.0, {0.07, 5.0, 0.0, 0.02, 0.0, 0.0});
    Engine e = run.engine();
    SetUpSoilModel(e);
    const double w = double(0.036f);
    // 20 dry and 20 submerged of the upper soil; then 40 of the lower soil, submerged.
    EXPECT_NEAR(AverageUnitWeight(*run.st, 40.0), 0.065 - w / 2.0, 1e-15);
    EXPECT_NEAR(AverageUnitWeight(*run.st, 100.0), (20 * 0.065 + 40 * (0.065 - w) + 40 * (0.07 - w)) / 100.0, 1e-15);
}

TEST(SoilModel, AWaterTableAtTheExcavationLevelSubmergesEveryStationOfTheFirstLayer) {
    // The water stands at the excavation level, the top of layer 1: every station of the layer, the one 0.1
    // (or 0.01) below its top included, takes the layer's unit weight less the water's, as does the
    // generator's GAMMA AVG.
    const struct Case {
        int unitSystem;
        double h, freeHeight, bottom1, bottom2;  // below the top of the wall
        double dry, water;
        const char* printedGamma;  // D10.4 of dry - water
    } cases[] = {
        {1, 12.0, 120.0, 180.0, 264.0, 0.07, double(0.036f), "0.3400D-01"},
        {2, 0.5, 4.0, 6.0, 12.0, 19.0, double(9.81f), "0.9190D+01"},
    };
    for (const Case& c : cases) {
        SoilRun run;
        run.wall(20, c.h, c.freeHeight, 4.0 * c.h, c.h, c.unitSystem);
        run.st->wallSoil.waterTableBackfill = c.freeHeight;
        run.layer(1, c.bottom1, {c.dry, 5.0, 0.0, 0.02, 0.0, 0.0});
        run.layer(1, c.bottom2, {c.dry + 1.0, 5.0, 0.0, 0.02, 0.0, 0.0});
        Engine e = run.engine();
        SetUpSoilModel(e);
        const SoilModel& s = run.st->soil;
        ASSERT_EQ(s.firstStation[1], 1);
        ASSERT_EQ(s.lastStation[1], 5);
        EXPECT_EQ(s.unitWeight[1], c.dry - c.water) << "unit system " << c.unitSystem;
        for (int station = 1; station <= 5; ++station) {
            // A mean over one segment of constant weight: exact but for the rounding of the mean's weights.
            EXPECT_NEAR(AverageUnitWeight(*run.st, s.station[station][1]), c.dry - c.water, 1e-14 * c.dry)
                << "unit system " << c.unitSystem << " station " << station;
        }
        // The excavation-side property rows of layer 1's five stations (the sixth is layer 2's first).
        const std::vector<std::string> lines = splitLines(run.report());
        int rows = 0;
        for (std::size_t i = 0; i + 4 < lines.size() && rows < 5; ++i) {
            if (lines[i] != "         AT THE EXCAVATION SIDE") continue;
            ++rows;
            EXPECT_EQ(lines[i + 4].substr(46, 10), c.printedGamma)
                << "unit system " << c.unitSystem << " station " << rows << ": " << lines[i + 4];
        }
        EXPECT_EQ(rows, 5);
    }
}

TEST(SoilModel, FiveStationsPerLayerAtTheEndDistanceInside) {
    const struct Case {
        int unitSystem;
        int ni;
        double h, freeHeight, bottom1, bottom2;  // layer bottoms below the top of the wall
        double endDistance;
        double top[3], bottom[3];  // expected, below the excavation surface
    } cases[] = {
        {1, 20, 12.0, 120.0, 180.0, 264.0, 0.10000000149011612, {0, 0, 60}, {0, 60, 144}},
        // SI: limit 2 x 0.5 + 10 - 4 = 7 cuts the second layer.
        {2, 20, 0.5, 4.0, 6.0, 12.0, 0.10000000149011612 / 10.0, {0, 0, 2}, {0, 2, 7}},
    };
    for (const Case& c : cases) {
        SoilRun run;
        run.wall(c.ni, c.h, c.freeHeight, 1.0, 1.0, c.unitSystem);
        run.layer(1, c.bottom1, {18.0, 5.0, 0.0, 0.02, 0.0, 0.0});
        run.layer(1, c.bottom2, {18.0, 5.0, 0.0, 0.02, 0.0, 0.0});
        Engine e = run.engine();
        SetUpSoilModel(e);
        const SoilModel& s = run.st->soil;
        ASSERT_EQ(s.layerCount, 2);
        EXPECT_EQ(s.stationCount, 10);
        for (int k = 1; k <= 2; ++k) {
            const double top = c.top[k];
            const double thickness = c.bottom[k] - top;
            const double expected[] = {top + c.endDistance, top + 0.25 * thickness, top + 0.5 * thickness,
                                       top + 0.75 * thickness, c.bottom[k] - c.endDistance};
            for (int i = 0; i < 5; ++i) {
                EXPECT_NEAR(s.station[5 * k - 4 + i][1], expected[i], 1e-12)
                    << "unit system " << c.unitSystem << " layer " << k << " station " << i + 1;
            }
            EXPECT_EQ(s.firstStation[k], 5 * k - 4);
            EXPECT_EQ(s.lastStation[k], 5 * k);
        }
    }
}

TEST(SoilModel, EchoAndTheHeadOfSoildata) {
    SoilRun run;
    englishWall(run);
    run.layer(1, 180.0, {0.07, 5.0, 0.0, 0.02, 0.0, 0.0}, {0.07, 7.0, 0.0, 0.02, 0.0, 0.0});
    run.layer(4, 264.0, {0.065, 0.0, 30.0, 0.0, 90.0, 0.0}, {0.065, 0.0, 36.0, 0.0, 90.0, 0.0});
    run.factorRow(130.0, 0.8, 1.0);
    run.factorRow(200.0, 0.9, 1.1);
    UserPYCurves& u = run.st->userCurves;
    run.st->run.nuc = u.count = 2;
    u.node[1] = 12;
    u.pointCount[1] = 2;
    u.p[1][1] = 100.0;
    u.y[1][1] = 0.5;
    u.p[1][2] = 200.0;
    u.y[1][2] = 1.0;
    u.node[2] = 15;
    u.pointCount[2] = 3;
    u.p[2][1] = 50.0;
    u.y[2][1] = 0.1;
    u.p[2][2] = 75.0;
    u.y[2][2] = 0.2;
    u.p[2][3] = 80.0;
    u.y[2][3] = 0.4;
    Engine e = run.engine();
    SetUpSoilModel(e);

    const std::string stars = spaces(6) + std::string(50, '*') + "\n";
    const std::string expected = "\n\n" + stars + "      *        SOIL LAYERS AND STRENGTH DATA           *\n" + stars +
                                 "\n" + "\n         X AT THE SURFACE OF EXCAVATION SIDE     =     120.00 IN\n" +
                                 "\n         2 LAYER(S) OF SOIL\n" +
                                 "\n         LAYER  1\n         THE SOIL IS A SOFT CLAY\n" +
                                 "\n         LAYER  2\n         THE SOIL IS A SAND\n" +
                                 "\n\n         DISTRIBUTION OF EFFECTIVE UNIT WEIGHT WITH DEPTH\n" + spaces(27) +
                                 " 4 POINTS\n\n" + spaces(21) + "X,IN   WEIGHT,LBS/IN**3\n" +  //
                                 spaces(10) + "       120.0000     0.7000D-01\n" +             //
                                 spaces(10) + "       180.0000     0.7000D-01\n" +             //
                                 spaces(10) + "       180.0000     0.6500D-01\n" +             //
                                 spaces(10) + "       264.0000     0.6500D-01\n" +             //
                                 "\n\n         DISTRIBUTION OF STRENGTH PARAMETERS WITH DEPTH\n" + spaces(27) +
                                 " 4 POINTS\n\n" + spaces(21) + "X,IN     S,LBS/IN**2      PHI,DEGREES      E50\n" +
                                 spaces(10) + "         120.00     0.5000D+01          0.000     0.2000D-01\n" +
                                 spaces(10) + "         180.00     0.7000D+01          0.000     0.2000D-01\n" +
                                 spaces(10) + "         180.00     0.0000D+00         30.000       -----\n" +
                                 spaces(10) + "         264.00     0.0000D+00         36.000       -----\n" +
                                 "\n         REDUCTION FACTORS FOR CLOSELY-SPACED WALL ELEMENTS\n" + spaces(40) + "\n" +
                                 spaces(7) + "      DEPTH     P-FACTOR     Y-FACTOR        \n\n" +  //
                                 spaces(12) + " 130.00      0.80        1.00\n" +                   //
                                 spaces(12) + " 200.00      0.90        1.10\n" +                   //
                                 "\n\n        P-Y CURVES DATA\n\n";
    // The echo ends with the heading; the curve blocks of the generators follow it.
    const std::string report = run.report();
    const std::string heading = "        P-Y CURVES DATA\n\n";
    const std::size_t headingAt = report.find(heading);
    ASSERT_NE(headingAt, std::string::npos);
    EXPECT_TRUE(sameText(expected, report.substr(0, headingAt + heading.size())));
    EXPECT_EQ(run.console(), " READ SOIL DATA....\n");

    // The user curves head soildata with their multiplied points, then the ten generated curves; the count
    // line counts them all.
    int countLine = -1;
    EXPECT_EQ(curvesPresent(countLine), 2 + 5 * 2);
    EXPECT_EQ(countLine, 2 + 5 * 2);
    const std::vector<std::string> lines = splitLines(readFile("soildata"));
    ASSERT_EQ(lines.size(), 1u + 7u + 10u * 35u);
    const char* values[][3] = {{"12", "2", ""},    {"1", "100", "0.5"}, {"2", "200", "1"}, {"15", "3", ""},
                               {"1", "50", "0.1"}, {"2", "75", "0.2"},  {"3", "80", "0.4"}};
    for (std::size_t i = 0; i < 7; ++i) {
        std::istringstream record(lines[i + 1]);
        double a = 0, b = 0, c = 0;
        record >> a >> b;
        EXPECT_EQ(a, std::stod(values[i][0])) << lines[i + 1];
        EXPECT_EQ(b, std::stod(values[i][1])) << lines[i + 1];
        if (*values[i][2]) {
            record >> c;
            EXPECT_EQ(c, std::stod(values[i][2])) << lines[i + 1];
        }
    }
    // Generated curves follow in layer order, each headed by its station's depth below the top of the wall:
    // layer 1 from 0 to 60 and layer 2 from 60 to 144 below the excavation level, 120 below the top.
    const double end = double(0.1f);
    const double stations[] = {end, 15.0, 30.0, 45.0, 60.0 - end, 60.0 + end, 81.0, 102.0, 123.0, 144.0 - end};
    for (std::size_t j = 0; j < 10; ++j) {
        std::istringstream header(lines[8 + 35 * j]);
        double depth = 0.0;
        int points = 0;
        header >> depth >> points;
        // List-directed output keeps the depth to well below 1e-9 of it.
        EXPECT_NEAR(depth, 120.0 + stations[j], 1e-9) << "generated curve " << j + 1;
        EXPECT_EQ(points, 34) << "generated curve " << j + 1;
    }
}

TEST(SoilModel, CountLineEqualsTheCurvesPresentForDegenerateModels) {
    const struct Case {
        const char* name;
        std::vector<double> bottoms;  // below the top of the wall, all soft clay
        int nuc;
        int layers;
    } cases[] = {
        {"every layer above the excavation level", {60.0, 100.0, 120.0}, 1, 0},
        {"no layer at all", {}, 0, 0},
        {"a layer starting at the cut is not part of the model", {180.0, 264.0, 300.0}, 1, 2},
        {"a cut leaving less than the stations need drops the layer", {180.0, 263.85, 300.0}, 0, 2},
        {"a cut leaving enough keeps the layer", {180.0, 263.5, 300.0}, 2, 3},
        {"a layer of no thickness at the cut is not part of the model", {180.0, 264.0, 264.0, 300.0}, 1, 2},
    };
    for (const Case& c : cases) {
        SoilRun run;
        englishWall(run);
        for (double bottom : c.bottoms) run.layer(1, bottom, kSoftClay);
        UserPYCurves& u = run.st->userCurves;
        run.st->run.nuc = u.count = c.nuc;
        for (int j = 1; j <= c.nuc; ++j) {
            u.node[j] = 10 + j;
            u.pointCount[j] = 1;
            u.p[j][1] = 1.0;
            u.y[j][1] = 0.1;
        }
        Engine e = run.engine();
        SetUpSoilModel(e);
        EXPECT_EQ(run.st->soil.layerCount, c.layers) << c.name;
        EXPECT_EQ(run.st->soil.stationCount, 5 * c.layers) << c.name;
        int countLine = -1;
        const int present = curvesPresent(countLine);
        EXPECT_EQ(countLine, present) << c.name;
        // The user curves, then five curves for every layer of the model (each has its stations).
        EXPECT_EQ(present, c.nuc + 5 * c.layers) << c.name;
        EXPECT_NE(run.report().find("\n         " + std::to_string(c.layers) + " LAYER(S) OF SOIL\n"),
                  std::string::npos)
            << c.name;
    }
}

// A soft clay above the layer under test, both below the excavation level.
void clayOver(SoilRun& run, int soilType, const std::array<double, 6>& values) {
    run.wall(20, 12.0, 120.0, 24.0, 24.0);
    run.layer(1, 180.0, kSoftClay);
    run.layer(soilType, 264.0, values);
}

TEST(SoilModel, InputThatWouldSpoilTheCurvesEndsTheRunNamingTheLayer) {
    const struct Case {
        const char* name;
        void (*build)(SoilRun&);
        const char* message;
    } cases[] = {
        {"more than ten layers",
         [](SoilRun& r) {
             r.wall(100, 12.0, 0.0, 24.0, 24.0);
             for (int i = 1; i <= 11; ++i) r.layer(1, 60.0 * i, kSoftClay);
         },
         "     TOO MUCH DATA FOR AVAILABLE STORAGE"},
        {"no width for soil resistance",
         [](SoilRun& r) {
             clayOver(r, 1, kSoftClay);
             r.st->wallSoil.wp = 0.0;
         },
         "     THE WIDTH FOR SOIL RESISTANCE (WP) MUST BE GREATER THAN ZERO"},
        {"a bottom that does not increase",
         [](SoilRun& r) {
             englishWall(r);
             r.layer(1, 180.0, kSoftClay);
             r.layer(1, 180.0, kSoftClay);
             r.layer(1, 264.0, kSoftClay);
         },
         "     INPUT SOIL LAYER  2: ITS BOTTOM DOES NOT LIE BELOW THE BOTTOM OF THE LAYER ABOVE"},
        {"a layer thinner than its stations need",
         [](SoilRun& r) {
             englishWall(r);
             r.layer(1, 180.0, kSoftClay);
             r.layer(1, 180.15, kSoftClay);
             r.layer(1, 264.0, kSoftClay);
         },
         "     INPUT SOIL LAYER  2: THE LAYER IS TOO THIN FOR ITS P-Y STATIONS"},
        {"soft clay with a negative cohesion",
         [](SoilRun& r) {
             clayOver(r, 1, {0.07, -1.0, 0.0, 0.02, 0.0, 0.0});
         },
         "     INPUT SOIL LAYER  2: THE COHESION MUST NOT BE NEGATIVE"},
        {"an unknown code is soft clay",
         [](SoilRun& r) {
             clayOver(r, 9, {0.07, -1.0, 0.0, 0.02, 0.0, 0.0});
         },
         "     INPUT SOIL LAYER  2: THE COHESION MUST NOT BE NEGATIVE"},
        {"stiff clay without E50",
         [](SoilRun& r) {
             clayOver(r, 2, {0.07, 10.0, 0.0, 0.0, 500.0, 0.0});
         },
         "     INPUT SOIL LAYER  2: E50 MUST BE GREATER THAN ZERO"},
        {"stiff clay above the water without E50",
         [](SoilRun& r) {
             clayOver(r, 3, {0.07, 10.0, 0.0, 0.0, 500.0, 0.0});
         },
         "     INPUT SOIL LAYER  2: E50 MUST BE GREATER THAN ZERO"},
        {"sand without friction",
         [](SoilRun& r) {
             clayOver(r, 4, {0.065, 0.0, 0.0, 0.0, 90.0, 0.0});
         },
         "     INPUT SOIL LAYER  2: THE FRICTION ANGLE MUST BE GREATER THAN ZERO"},
        {"weightless sand",
         [](SoilRun& r) {
             englishWall(r);
             r.layer(4, 180.0, {0.0, 0.0, 35.0, 0.0, 90.0, 0.0});
         },
         "     INPUT SOIL LAYER  1: THE EFFECTIVE UNIT WEIGHT MUST BE GREATER THAN ZERO"},
        {"sand lighter than the water around it",
         [](SoilRun& r) {
             englishWall(r);
             r.st->wallSoil.waterTableBackfill = 0.0;
             r.layer(4, 180.0, {0.03, 0.0, 35.0, 0.0, 90.0, 0.0});
         },
         "     INPUT SOIL LAYER  1: THE EFFECTIVE UNIT WEIGHT MUST BE GREATER THAN ZERO"},
        {"soft clay lighter than the water around it",
         [](SoilRun& r) {
             englishWall(r);
             r.st->wallSoil.waterTableBackfill = 0.0;
             r.layer(1, 264.0, {0.0, 5.0, 0.0, 0.02, 0.0, 0.0});
         },
         "     INPUT SOIL LAYER  1: THE EFFECTIVE UNIT WEIGHT MUST NOT BE NEGATIVE"},
        {"stiff clay above the water lighter than the water around it",
         [](SoilRun& r) {
             englishWall(r);
             r.st->wallSoil.waterTableBackfill = 0.0;
             r.layer(3, 264.0, {0.02, 10.0, 0.0, 0.005, 500.0, 0.0});
         },
         "     INPUT SOIL LAYER  1: THE EFFECTIVE UNIT WEIGHT MUST NOT BE NEGATIVE"},
        {"an unknown code lighter than the water around it",
         [](SoilRun& r) {
             englishWall(r);
             r.st->wallSoil.waterTableBackfill = 0.0;
             r.layer(9, 264.0, {0.0, 5.0, 0.0, 0.02, 0.0, 0.0});
         },
         "     INPUT SOIL LAYER  1: THE EFFECTIVE UNIT WEIGHT MUST NOT BE NEGATIVE"},
        // Under 60 in of soft clay at 0.034 submerged, a weightless clay takes the mean below zero at its
        // deeper stations: (60 x 0.034 - 83.9 x 0.036) / 143.9 at the last.
        {"stiff clay below the water, weightless, under a heavier clay",
         [](SoilRun& r) {
             englishWall(r);
             r.st->wallSoil.waterTableBackfill = 0.0;
             r.layer(1, 180.0, kSoftClay);
             r.layer(2, 264.0, {0.0, 10.0, 0.0, 0.005, 500.0, 0.0});
         },
         "     INPUT SOIL LAYER  2: THE EFFECTIVE UNIT WEIGHT MUST NOT BE NEGATIVE"},
        {"silt with negative cohesion",
         [](SoilRun& r) {
             clayOver(r, 5, {0.065, -1.0, 30.0, 0.0, 90.0, 0.0});
         },
         "     INPUT SOIL LAYER  2: THE COHESION MUST NOT BE NEGATIVE"},
        {"silt without friction",
         [](SoilRun& r) {
             clayOver(r, 5, {0.065, 2.0, 0.0, 0.0, 90.0, 0.0});
         },
         "     INPUT SOIL LAYER  2: THE FRICTION ANGLE MUST BE GREATER THAN ZERO"},
        {"rock without strength",
         [](SoilRun& r) {
             clayOver(r, 6, {0.08, 0.0, 0.0, 0.0, 0.0, 0.0});
         },
         "     INPUT SOIL LAYER  2: THE ROCK STRENGTH MUST BE GREATER THAN ZERO"},
        {"weak rock without strength",
         [](SoilRun& r) {
             clayOver(r, 7, {0.08, 0.0, 0.0, 0.0005, 1.0e5, 50.0});
         },
         "     INPUT SOIL LAYER  2: THE ROCK STRENGTH MUST BE GREATER THAN ZERO"},
        {"weak rock without krm",
         [](SoilRun& r) {
             clayOver(r, 7, {0.08, 1000.0, 0.0, 0.0, 1.0e5, 50.0});
         },
         "     INPUT SOIL LAYER  2: KRM MUST BE GREATER THAN ZERO"},
    };
    for (const Case& c : cases) {
        SoilRun run;
        c.build(run);
        Engine e = run.engine();
        EXPECT_THROW(SetUpSoilModel(e), rt::EndRun) << c.name;
        EXPECT_NE(run.report().find("\n" + std::string(c.message) + "\n"), std::string::npos) << c.name;
        // Nothing reached soildata, so no count line can disagree with its curves.
        EXPECT_EQ(readFile("soildata"), "") << c.name;
    }
}

TEST(SoilModel, SoundModelsOfEveryTypePassTheChecks) {
    const struct {
        int soilType;
        std::array<double, 6> values;
    } cases[] = {
        {1, kSoftClay},
        {2, kStiffClay},
        {3, kStiffClay},
        {4, kSand},
        {5, {0.065, 0.0, 30.0, 0.0, 90.0, 0.0}},  // silt may have no cohesion
        {6, kRock},
        {7, kRock},
    };
    for (const auto& c : cases) {
        SoilRun run;
        clayOver(run, c.soilType, c.values);
        Engine e = run.engine();
        EXPECT_NO_THROW(SetUpSoilModel(e)) << c.soilType;
        EXPECT_EQ(run.st->soil.layerCount, 2);
    }
    // Nor may a clay: its cohesive resistance is then zero, what remains is the weight of the soil in the
    // continuous-wall form. (Below another layer its equivalent depth has no solution, and the run ends
    // naming the layer.)
    for (int soilType : {1, 2, 3}) {
        SoilRun run;
        englishWall(run);
        run.layer(soilType, 264.0, {0.07, 0.0, 0.0, 0.005, 500.0, 0.0});
        Engine e = run.engine();
        EXPECT_NO_THROW(SetUpSoilModel(e)) << soilType;
        const auto curves = readScratchCurves();
        ASSERT_EQ(curves.count, 5) << soilType;
        for (const auto& curve : curves.curves)
            for (const auto& point : curve.points) EXPECT_TRUE(std::isfinite(point.p) && point.p >= 0.0) << soilType;
    }
    // A clay exactly as heavy as the water around it has no effective weight, which its curves allow: the
    // wedge resistance then grows with depth through the cohesion alone.
    for (int soilType : {1, 2, 3}) {
        SoilRun run;
        englishWall(run);
        run.st->wallSoil.waterTableBackfill = 0.0;
        run.layer(soilType, 264.0, {double(0.036f), 10.0, 0.0, 0.005, 500.0, 0.0});
        Engine e = run.engine();
        EXPECT_NO_THROW(SetUpSoilModel(e)) << soilType;
        EXPECT_EQ(run.st->soil.unitWeight[1], 0.0) << soilType;
        EXPECT_EQ(readScratchCurves().count, 5) << soilType;
    }
}

TEST(SoilModel, EveryCallStartsFromAFreshModel) {
    const struct {
        int unitCode;
        int runFlag;  // the label flag the run set for the problem
        const char* lengthLabel;
        int flag;
        double wa, wp, spacingRatio;
    } cases[] = {
        {1, -1, " IN", 1, 48.0, 24.0, 2.0},
        {2, 1, "  M", -1, 12.0, 24.0, 1.0},  // WA/WP below 1 is raised to 1
        {3, 0, "  L", 0, 24.0, 24.0, 1.0},   // generic units keep their generic labels
        {4, 1, " IN", 1, 24.0, 24.0, 1.0},   // another unit system keeps the labels of the problem's echo
    };
    // What an earlier problem may have left in the blocks.
    auto leaveStaleValues = [](EngineState& st) {
        st.soil.layerCount = 3;
        st.soil.layerResistance[1] = 5.0;
        st.soil.layerResistance[3] = 7.0;
        st.soil.equivalentTopDepth[2] = 9.0;
        st.soil.threshold = 2.0;
        st.soil.pi = 4.0;
        st.soil.stationCount = 60;
        st.soil.referenceDepth = 5.0;
    };
    for (const auto& c : cases) {
        // A model without layers below the excavation level: nothing is generated, so the set-up's own state
        // is all there is to see.
        SoilRun bare;
        englishWall(bare);
        bare.layer(1, 100.0, kSoftClay);
        EngineState& st = *bare.st;
        st.geometry.unitCode = c.unitCode;
        st.wallSoil.wa = c.wa;
        st.wallSoil.wp = c.wp;
        leaveStaleValues(st);
        st.control.unitLabelFlag = c.runFlag;
        Engine e = bare.engine();
        SetUpSoilModel(e);
        EXPECT_EQ(st.labels.lengthLong.view(), c.lengthLabel);
        EXPECT_EQ(st.control.unitLabelFlag, c.flag);
        EXPECT_EQ(st.soil.spacingRatio, c.spacingRatio);
        // The multiplier lookups work out their own ratio and leave the model's alone.
        PMultiplierAtDepth(st, 200.0);
        EXPECT_EQ(st.soil.spacingRatio, c.spacingRatio);
        for (int k = 1; k <= kSoilLayerSlots; ++k) {
            EXPECT_EQ(st.soil.layerResistance[k], 0.0);
            EXPECT_EQ(st.soil.equivalentTopDepth[k], 0.0);
        }
        EXPECT_EQ(st.soil.threshold, 1e-14);
        EXPECT_EQ(st.soil.pi, 3.141590118408203);
        EXPECT_EQ(st.soil.layerCount, 0);
        EXPECT_EQ(st.soil.stationCount, 0);
        EXPECT_EQ(st.soil.referenceDepth, 0.0);

        // Two layers that generate curves: the counts and the reference depth are the new model's.
        SoilRun layered;
        clayOver(layered, 4, kSand);
        EngineState& st2 = *layered.st;
        st2.geometry.unitCode = c.unitCode;
        st2.wallSoil.wa = c.wa;
        st2.wallSoil.wp = c.wp;
        leaveStaleValues(st2);
        st2.control.unitLabelFlag = c.runFlag;
        Engine e2 = layered.engine();
        SetUpSoilModel(e2);
        EXPECT_EQ(st2.labels.lengthLong.view(), c.lengthLabel);
        EXPECT_EQ(st2.control.unitLabelFlag, c.flag);
        EXPECT_EQ(st2.soil.spacingRatio, c.spacingRatio);
        EXPECT_EQ(st2.soil.layerCount, 2);
        EXPECT_EQ(st2.soil.stationCount, 10);
        EXPECT_EQ(st2.soil.referenceDepth, 0.0);
        // Nothing of the stale values reaches the third slot, which no layer of this model uses.
        EXPECT_EQ(st2.soil.layerResistance[3], 0.0);
    }
}

TEST(SoilModel, GeneratedCurvesThroughTheEntry) {
    test::ScratchDir dir;
    test::writeFile("names.dat", "wall.vm4d\r\nwall.vm4o\r\nwall.vm4p\r\nwall.vm4r\r\n");
    // Two problems on the same wall, the second one's control record naming unit system 4.
    const auto problem = [](int unitSystem, int endFlag) {
        return "Cantilever in two clays\r\n" + std::to_string(unitSystem) +
               " 0 1 0 0 2 0 1 0\r\n"
               "20 12.0 10.0 0.001 120.0\r\n"
               "0 20 1 1.0E10\r\n"
               "0\r\n"
               "0\r\n"
               "120.0 24.0 24.0 1000.0 1000.0 1.0 1 0.0\r\n"
               "0 0 0 0 0 0\r\n"
               "0\r\n"
               "2\r\n"
               "1 180.0\r\n0.07 5.0 0.0 0.02 0.0 0.0\r\n0.07 5.0 0.0 0.02 0.0 0.0\r\n"
               "3 400.0\r\n0.07 10.0 0.0 0.005 0.0 0.0\r\n0.07 12.0 0.0 0.005 0.0 0.0\r\n" +
               std::to_string(endFlag) + "\r\n";
    };
    test::writeFile("wall.vm4d", problem(1, 9) + problem(4, 0));
    std::FILE* console = std::fopen("console.txt", "w+b");
    EXPECT_EQ(RunEntry(14, console), 0);
    std::fclose(console);
    EXPECT_NE(readFile("console.txt").find(" READ SOIL DATA....\n"), std::string::npos);
    const std::string report = readFile("wall.vm4o");
    EXPECT_NE(report.find("         2 LAYER(S) OF SOIL\n"), std::string::npos);
    EXPECT_NE(report.find("THE SOIL IS A STIFF CLAY ABOVE THE WATER TABLE\n"), std::string::npos);
    EXPECT_NE(report.find("        P-Y CURVES DATA\n"), std::string::npos);
    EXPECT_NE(report.find("END OF ANALYSIS"), std::string::npos);
    // Unit system 4 leaves the labels the run had: the second problem's report, curves and results included,
    // is the first one's in English units but for the "Long Term :" before its title and the empty lines that
    // end each problem.
    const std::string banner = " VELMOR - A PROGRAM";
    const std::size_t second = report.find(banner, report.find(banner) + 1);
    ASSERT_NE(second, std::string::npos);
    std::string longTerm = report.substr(second, report.find("     END OF ANALYSIS") - second);
    for (std::size_t at; (at = longTerm.find("Long Term :  ")) != std::string::npos;) longTerm.erase(at, 13);
    const auto body = [](std::string text) { return text.erase(text.find_last_not_of('\n') + 1); };
    EXPECT_EQ(body(longTerm), body(report.substr(0, second)));
    // No user curves, and five curves for each of the two layers below the excavation level.
    int countLine = -1;
    EXPECT_EQ(curvesPresent(countLine), 10);
    EXPECT_EQ(countLine, 10);
}

}  // namespace
}  // namespace velmor::engine
