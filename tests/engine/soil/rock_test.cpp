#include "soil/rock.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "soil/soil_model.h"
#include "soil_test_support.h"
#include "soildata_reader.h"

namespace velmor::engine {
namespace {

using soiltest::CurvePoint;
using soiltest::joinLines;
using soiltest::printedTolerance;
using soiltest::readScratchCurves;
using soiltest::reportLinesFrom;
using soiltest::right;
using soiltest::ScratchCurveFile;
using soiltest::SoilRun;
using soiltest::spaces;
using test::sameText;

TEST(RockCurve, SlopesAndBreakpointsFromHalfTheStrength) {
    const struct { double su, b; } cases[] = {{500.0, 24.0}, {2500.0, 0.6}, {50.0, 36.0}, {1.0e4, 1.2}};
    for (const auto& c : cases) {
        const RockCurve r = RockCurveParameters(c.su, c.b);
        // 0.0004 enters as a single-precision constant: relative error up to 3e-8.
        EXPECT_NEAR(r.y1, 0.0004 * c.b, 3e-8 * r.y1) << c.b;
        EXPECT_DOUBLE_EQ(r.pu, c.su * c.b);
        // The first slope 2000 su reaches 0.8 pu at y1.
        EXPECT_NEAR(r.p1, 0.8 * r.pu, 3e-8 * r.pu) << c.b;
        // The second slope 100 su climbs the remaining 0.2 pu in 0.002 b: y2 = 0.0024 b.
        EXPECT_NEAR(r.y2, 0.0024 * c.b, 1e-7 * r.y2) << c.b;
    }
    // With 0.0004 held in single precision, y2 = 0.24 - 19 x 0.00039999998989515007 x 24.
    EXPECT_NEAR(RockCurveParameters(500.0, 24.0).y2, 0.0576000046, 5e-11);
}

TEST(RockCurve, ResistanceAlongTheThreeBranches) {
    const RockCurve c = RockCurveParameters(500.0, 24.0);
    const double y1 = 0.0096;
    const double y2 = 0.0576;
    const double residual = 7.0;
    const struct {
        const char* name;
        double y, pMultiplier, p;
        double tolerance;  // single-precision 0.0004 moves the breakpoints by 2.5e-8 relative
    } cases[] = {
        {"origin", 0.0, 1.0, 0.0, 1e-12},
        {"first slope 2000 su", 0.5 * y1, 1.0, 2000.0 * 500.0 * 0.5 * y1, 1e-3},
        {"first slope times the multiplier", 0.5 * y1, 0.5, 0.5 * 2000.0 * 500.0 * 0.5 * y1, 1e-3},
        {"second slope 100 su", y1 + 0.01, 1.0, 9600.0 + 100.0 * 500.0 * 0.01, 1e-3},
        {"second slope times the multiplier", y1 + 0.01, 0.5, 0.5 * (9600.0 + 500.0), 1e-3},
        {"just below y2 the peak su b", y2 - 1e-6, 1.0, 12000.0 - 100.0 * 500.0 * 1e-6, 1e-3},
        {"at y2 the residual", c.y2, 1.0, residual, 0.0},
        {"beyond y2 the residual, whatever the multiplier", 2.0 * y2, 0.5, residual, 0.0},
    };
    for (const auto& k : cases)
        EXPECT_NEAR(RockResistance(c, k.y, k.pMultiplier, residual), k.p, k.tolerance) << k.name;
}

// An English wall of 20 increments of 12 with the excavation 120 below its top; one rock layer of
// qu = 1000 and unit weight 0.08 that the toe cut ends 144 below the excavation.
void oneRockLayer(SoilRun& run) {
    run.wall(20, 12.0, 120.0, 24.0, 24.0);
    run.layer(6, 300.0, {0.08, 1000.0, 0.0, 0.0, 0.0, 0.0});
}

TEST(RockGenerator, ReportBlockAndSoildataOfTheFirstStation) {
    SoilRun run;
    oneRockLayer(run);
    Engine e = run.engine();
    SetUpSoilModel(e);

    // su = 500, b = 24: y1 = 0.0096, y2 = 0.0576, dy = 0.00384; p rises by 2000 su = 1e6 per unit y to
    // 9600 at y1, then by 100 su = 5e4 per unit y. Points 16 and 17 lie at or beyond y2 and take the
    // residual 0.5 x 0.08 x 24 x depth: depth 0.1 on the excavation side, 120.1 on the backfill side.
    const std::vector<std::pair<std::string, std::string>> rising = {
        {"0.000D+00", "0.000D+00"}, {"0.384D-02", "0.384D+04"}, {"0.768D-02", "0.768D+04"}, {"0.115D-01", "0.970D+04"},
        {"0.154D-01", "0.989D+04"}, {"0.192D-01", "0.101D+05"}, {"0.230D-01", "0.103D+05"}, {"0.269D-01", "0.105D+05"},
        {"0.307D-01", "0.107D+05"}, {"0.346D-01", "0.108D+05"}, {"0.384D-01", "0.110D+05"}, {"0.422D-01", "0.112D+05"},
        {"0.461D-01", "0.114D+05"}, {"0.499D-01", "0.116D+05"}, {"0.538D-01", "0.118D+05"},
    };
    const std::string units = spaces(30) + "IN" + spaces(12) + "IN" + spaces(5) + "LBS/IN**2 ";
    const std::string values = spaces(5) + "    24.000" + "   0.5E+03";
    std::string expected = "        P-Y CURVES DATA\n\n\n\n";
    expected += spaces(17) + "DEPTH-EXCAVATION SIDE" + spaces(5) + "DIAM" + spaces(8) + "C" + spaces(7) + "\n";
    expected += units + "\n" + spaces(24) + "      0.10" + values + "\n";
    expected += spaces(38) + "Y" + spaces(19) + "P\n" + spaces(38) + "IN" + spaces(15) + "LBS/IN\n";
    for (const auto& [y, p] : rising) expected += spaces(21) + right(y, 20) + right(p, 20) + "\n";
    expected += spaces(21) + right("0.576D-01", 20) + right("0.960D-01", 20) + "\n";
    expected += spaces(21) + right("0.614D-01", 20) + right("0.960D-01", 20) + "\n";
    expected += "\n\n" + spaces(17) + "DEPTH-BACKFILL SIDE  " + spaces(5) + "DIAM" + spaces(8) + "C" + spaces(7) + "\n";
    expected += units + "\n" + spaces(24) + "    120.10" + values + "\n";
    expected += spaces(38) + "Y" + spaces(19) + "P\n" + spaces(38) + "IN" + spaces(15) + "LBS/IN\n";
    for (const auto& [y, p] : rising) expected += spaces(21) + right(y, 20) + right(p, 20) + "\n";
    expected += spaces(21) + right("0.576D-01", 20) + right("0.115D+03", 20) + "\n";
    expected += spaces(21) + right("0.614D-01", 20) + right("0.115D+03", 20) + "\n";
    EXPECT_TRUE(sameText(expected, joinLines(reportLinesFrom(run.report(), "        P-Y CURVES DATA", 50))));

    // soildata: (number, p, y) in (I5,1X,2E10.3), the excavation side and then the backfill side.
    std::string points;
    for (int side = 1; side <= 2; ++side) {
        for (std::size_t i = 0; i < rising.size(); ++i) {
            std::string p = rising[i].second;
            std::string y = rising[i].first;
            p[5] = y[5] = 'E';
            points += right(std::to_string(i + 1), 5) + " " + right(p, 10) + right(y, 10) + "\n";
        }
        const std::string residual = side == 1 ? "0.960E-01" : "0.115E+03";
        points += "   16 " + right(residual, 10) + right("0.576E-01", 10) + "\n";
        points += "   17 " + right(residual, 10) + right("0.614E-01", 10) + "\n";
    }
    soiltest::expectFirstStationSoildata(points);
}

// SI units: the first station of a rock layer of qu = 20000 kPa below the water table (unit weight 10 kN/m^3)
// on the SI wall. Worked by hand: su = 10000 kPa, b = 0.8 m: y1 = 0.0004 b = 0.00032 m, p1 = 2000 su y1 = 6400,
// pu = su b = 8000, y2 = (pu - p1) / (100 su) + y1 = 0.00192 m, dy = y2 / 15 = 0.000128 m. Points 16 and 17 take
// the residual 0.5 gamma b depth: 0.04 kN/m at 0.01 m (excavation side), 12.04 kN/m at 3.01 m (backfill side).
const char* const kRockSiReport[] = {
    "",
    "",
    "                 DEPTH-EXCAVATION SIDE     DIAM        C       ",
    "                               M             M      KN/ M**2 ",
    "                              0.01          0.800   0.1E+05",
    "                                      Y                   P",
    "                                       M                KN/ M",
    "                                0.000D+00           0.000D+00",
    "                                0.128D-03           0.256D+04",
    "                                0.256D-03           0.512D+04",
    "                                0.384D-03           0.646D+04",
    "                                0.512D-03           0.659D+04",
    "                                0.640D-03           0.672D+04",
    "                                0.768D-03           0.685D+04",
    "                                0.896D-03           0.698D+04",
    "                                0.102D-02           0.710D+04",
    "                                0.115D-02           0.723D+04",
    "                                0.128D-02           0.736D+04",
    "                                0.141D-02           0.749D+04",
    "                                0.154D-02           0.762D+04",
    "                                0.166D-02           0.774D+04",
    "                                0.179D-02           0.787D+04",
    "                                0.192D-02           0.400D-01",
    "                                0.205D-02           0.400D-01",
    "",
    "",
    "                 DEPTH-BACKFILL SIDE       DIAM        C       ",
    "                               M             M      KN/ M**2 ",
    "                              3.01          0.800   0.1E+05",
    "                                      Y                   P",
    "                                       M                KN/ M",
    "                                0.000D+00           0.000D+00",
    "                                0.128D-03           0.256D+04",
    "                                0.256D-03           0.512D+04",
    "                                0.384D-03           0.646D+04",
    "                                0.512D-03           0.659D+04",
    "                                0.640D-03           0.672D+04",
    "                                0.768D-03           0.685D+04",
    "                                0.896D-03           0.698D+04",
    "                                0.102D-02           0.710D+04",
    "                                0.115D-02           0.723D+04",
    "                                0.128D-02           0.736D+04",
    "                                0.141D-02           0.749D+04",
    "                                0.154D-02           0.762D+04",
    "                                0.166D-02           0.774D+04",
    "                                0.179D-02           0.787D+04",
    "                                0.192D-02           0.120D+02",
    "                                0.205D-02           0.120D+02",
};
const char* const kRockSiSoildata[] = {
    "    1  0.000E+00 0.000E+00", "    2  0.256E+04 0.128E-03", "    3  0.512E+04 0.256E-03",
    "    4  0.646E+04 0.384E-03", "    5  0.659E+04 0.512E-03", "    6  0.672E+04 0.640E-03",
    "    7  0.685E+04 0.768E-03", "    8  0.698E+04 0.896E-03", "    9  0.710E+04 0.102E-02",
    "   10  0.723E+04 0.115E-02", "   11  0.736E+04 0.128E-02", "   12  0.749E+04 0.141E-02",
    "   13  0.762E+04 0.154E-02", "   14  0.774E+04 0.166E-02", "   15  0.787E+04 0.179E-02",
    "   16  0.400E-01 0.192E-02", "   17  0.400E-01 0.205E-02", "    1  0.000E+00 0.000E+00",
    "    2  0.256E+04 0.128E-03", "    3  0.512E+04 0.256E-03", "    4  0.646E+04 0.384E-03",
    "    5  0.659E+04 0.512E-03", "    6  0.672E+04 0.640E-03", "    7  0.685E+04 0.768E-03",
    "    8  0.698E+04 0.896E-03", "    9  0.710E+04 0.102E-02", "   10  0.723E+04 0.115E-02",
    "   11  0.736E+04 0.128E-02", "   12  0.749E+04 0.141E-02", "   13  0.762E+04 0.154E-02",
    "   14  0.774E+04 0.166E-02", "   15  0.787E+04 0.179E-02", "   16  0.120E+02 0.192E-02",
    "   17  0.120E+02 0.205E-02",
};

TEST(RockGenerator, SiReportBlockAndSoildataOfTheFirstStation) {
    SoilRun run;
    soiltest::siWall(run, 0.8);
    run.layer(6, 9.0, {19.81, 20000.0, 0.0, 0.0, 0.0, 0.0});
    soiltest::expectSiFirstStation(run, kRockSiReport, kRockSiSoildata);
}

TEST(RockGenerator, EveryStationFollowsTheTrilinearCurveAndItsResidual) {
    const struct Case {
        const char* name;
        double wa;
        int factorRows;  // rows of (depth, 0.5, 2.0) at 100 and 400 below the top of the wall
        double pMultiplier, yMultiplier;
    } cases[] = {
        // WA / WP = 2: 0.5292 x 2^0.5659 below the excavation, with its single-precision constants.
        {"closely spaced elements", 48.0, 0, double(0.5292f) * std::pow(2.0, double(0.5659f)), 1.0},
        {"reduction-factor table", 24.0, 2, 0.5, 2.0},
    };
    for (const Case& c : cases) {
        SoilRun run;
        run.wall(20, 12.0, 120.0, c.wa, 24.0);
        // Soil layers 0..60 (qu 1000, unit weight 0.08) and 60..144 (qu 3000, unit weight 0.09).
        run.layer(6, 180.0, {0.08, 1000.0, 0.0, 0.0, 0.0, 0.0});
        run.layer(6, 300.0, {0.09, 3000.0, 0.0, 0.0, 0.0, 0.0});
        for (int r = 1; r <= c.factorRows; ++r) run.factorRow(r == 1 ? 100.0 : 400.0, 0.5, 2.0);
        Engine e = run.engine();
        SetUpSoilModel(e);

        const ScratchCurveFile file = readScratchCurves();
        ASSERT_TRUE(file.complete) << c.name;
        ASSERT_EQ(file.count, 10) << c.name;
        ASSERT_EQ(file.curves.size(), 10u) << c.name;
        const double b = 24.0;
        const double stations[] = {0.1, 15.0, 30.0, 45.0, 59.9, 60.1, 81.0, 102.0, 123.0, 143.9};
        for (int s = 0; s < 10; ++s) {
            const double d = stations[s];
            const double su = s < 5 ? 500.0 : 1500.0;
            // Mean unit weight from the surface down to d.
            const double gamma = s < 5 ? 0.08 : (60.0 * 0.08 + (d - 60.0) * 0.09) / d;
            const double y1 = 0.0004 * b;
            const double y2 = 0.0024 * b;
            const auto& curve = file.curves[static_cast<std::size_t>(s)];
            // Stations lie 0.1 (single precision) inside the layer ends.
            EXPECT_NEAR(curve.where, 120.0 + d, 1e-6) << c.name;
            ASSERT_EQ(curve.points.size(), 34u) << c.name;
            for (int side = 0; side < 2; ++side) {
                const double depth = side == 0 ? d : 120.0 + d;
                for (int i = 1; i <= 17; ++i) {
                    const CurvePoint& pt = curve.points[static_cast<std::size_t>(side * 17 + i - 1)];
                    const double y = (i - 1) * y2 / 15.0;
                    double p = 0.5 * gamma * b * depth;  // points 16 and 17: the residual, no multiplier
                    if (i <= 3) {
                        p = c.pMultiplier * 2000.0 * su * y;
                    } else if (i <= 15) {
                        p = c.pMultiplier * (0.8 * su * b + 100.0 * su * (y - y1));
                    }
                    EXPECT_EQ(pt.number, i);
                    EXPECT_NEAR(pt.y, c.yMultiplier * y, printedTolerance(c.yMultiplier * y))
                        << c.name << " station " << s + 1 << " side " << side + 1 << " point " << i;
                    EXPECT_NEAR(pt.p, p, printedTolerance(p))
                        << c.name << " station " << s + 1 << " side " << side + 1 << " point " << i;
                }
            }
        }
        EXPECT_EQ(run.st->soil.threshold, double(1e-14f));
    }
}

}  // namespace
}  // namespace velmor::engine
