#include "soil/weak_rock.h"

#include <gtest/gtest.h>

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

// The 17 deflection multiples of yrm.
const double kFactors[17] = {0.0005, 0.001, 0.003, 0.006, 0.009, 0.02, 0.04, 0.06, 0.08,
                             0.1,    0.25,  0.5,   0.75,  1.0,   4.0,  8.0,  12.0};

TEST(WeakRockCurve, StrengthReductionFromRqd) {
    const struct {
        double rqd, alpha;
    } cases[] = {
        // 1 - RQD / 150 with 1/150 held in single precision (0.006666666828095913).
        {100.0, 0.3333333171904087},
        {0.0, 1.0},
        {50.0, 0.6666666585952044},
        {75.0, 0.49999998789280653},
    };
    // One product and one difference: two roundings.
    for (const auto& c : cases) EXPECT_NEAR(WeakRockStrengthReduction(c.rqd), c.alpha, 2e-16) << c.rqd;
}

TEST(WeakRockCurve, WorkedCase) {
    // qa = 1000, RQD = 50, b = 24, xr = 24, Er = 1e5, krm = 0.0005.
    const double alpha = WeakRockStrengthReduction(50.0);
    const WeakRockCurve c = WeakRockCurveParameters(alpha, 1000.0, 24.0, 24.0, 1.0e5, 0.0005);
    // pur = (2/3)(1.4 x 1000 x 24 + 1000 x 24); 1/150 and 1.4 in single precision move it by 2e-7 relative.
    EXPECT_NEAR(c.pur, 38400.0, 0.01);
    // Kir = (400 x 24 / 3 / 24 + 100) x 1e5 = 7e7 / 3.
    EXPECT_NEAR(c.kir, 7.0e7 / 3.0, 1e-6);
    EXPECT_NEAR(c.kir, 2.3333e7, 5e2);
    EXPECT_NEAR(c.yrm, 0.012, 1e-15);
    // ya = (0.5 pur / yrm^0.25 / Kir)^(4/3) = (19200 / 0.33097509 / 2.3333333e7)^(4/3).
    EXPECT_NEAR(c.ya, 3.368e-4, 5e-8);
}

TEST(WeakRockCurve, ResistanceGrowsDownToThreeWidths) {
    const double qa = 1000.0;
    const double b = 24.0;
    const double er = 1.0e5;
    const struct {
        const char* name;
        double xr, pur, kir;
    } cases[] = {
        {"at the layer top", 0.0, qa * b, 100.0 * er},
        {"one width down", b, 2.4 * qa * b, (400.0 / 3.0 + 100.0) * er},
        {"at three widths both branches meet", 3.0 * b, 5.2 * qa * b, 500.0 * er},
        {"just below three widths", 3.0 * b + 0.01, 5.2 * qa * b, 500.0 * er},
        {"far below", 40.0 * b, 5.2 * qa * b, 500.0 * er},
    };
    for (const auto& c : cases) {
        const WeakRockCurve r = WeakRockCurveParameters(1.0, qa, b, c.xr, er, 0.0005);
        // 1.4 and 5.2 are single-precision constants: 2e-8 relative.
        EXPECT_NEAR(r.pur, c.pur, 1e-7 * c.pur) << c.name;
        EXPECT_NEAR(r.kir, c.kir, 1e-9 * c.kir) << c.name;
    }
}

TEST(WeakRockCurve, StraightLineThenQuarterPowerCappedAtPur) {
    const WeakRockCurve c = WeakRockCurveParameters(1.0, 1000.0, 24.0, 24.0, 1.0e5, 0.0005);
    const double yrm = 0.012;
    const struct {
        const char* name;
        double y, p;
    } cases[] = {
        {"straight line below ya", 0.5 * c.ya, c.kir * 0.5 * c.ya},
        {"quarter power at ya", c.ya, 0.5 * c.pur * std::pow(c.ya / yrm, 0.25)},
        {"half pur at yrm", yrm, 0.5 * c.pur},
        {"pur at 16 yrm", 16.0 * yrm, c.pur},
        {"capped beyond", 100.0 * yrm, c.pur},
    };
    // Products and one power: rounding only.
    for (const auto& k : cases) EXPECT_NEAR(WeakRockResistance(c, k.y), k.p, 1e-9 * k.p) << k.name;
    // The line meets the curve at ya.
    EXPECT_NEAR(c.kir * c.ya, 0.5 * c.pur * std::pow(c.ya / yrm, 0.25), 1e-9 * c.pur);
}

// An English wall of 20 increments of 12 with the excavation 120 below its top; one weak rock layer of
// qu = 1000, krm = 0.0005, Er = 1e5 and RQD = 50 that the toe cut ends 144 below the excavation.
void oneWeakRockLayer(SoilRun& run) {
    run.wall(20, 12.0, 120.0, 24.0, 24.0);
    run.layer(7, 300.0, {0.08, 1000.0, 0.0, 0.0005, 1.0e5, 50.0});
}

TEST(WeakRockGenerator, ReportBlockAndSoildataOfTheFirstStation) {
    SoilRun run;
    oneWeakRockLayer(run);
    Engine e = run.engine();
    SetUpSoilModel(e);

    // alpha_r = 2/3, yrm = 0.012. Excavation side at 0.1: pur = (2/3)(1.4 x 1000 x 0.1 + 24000) = 16093.3,
    // Kir = (400 x 0.1 / 72 + 100) x 1e5 = 1.00556e7, ya = 3.245e-4 (points 1..6 on the straight line).
    // Backfill side at 120.1, deeper than 3b: pur = 5.2 x (2/3) x 24000 = 83200, Kir = 5e7, ya = 3.418e-4.
    const char* y[17] = {"0.600E-05", "0.120E-04", "0.360E-04", "0.720E-04", "0.108E-03", "0.240E-03",
                         "0.480E-03", "0.720E-03", "0.960E-03", "0.120E-02", "0.300E-02", "0.600E-02",
                         "0.900E-02", "0.120E-01", "0.480E-01", "0.960E-01", "0.144E+00"};
    const char* excavation[17] = {"0.603E+02", "0.121E+03", "0.362E+03", "0.724E+03", "0.109E+04", "0.241E+04",
                                  "0.360E+04", "0.398E+04", "0.428E+04", "0.452E+04", "0.569E+04", "0.677E+04",
                                  "0.749E+04", "0.805E+04", "0.114E+05", "0.135E+05", "0.150E+05"};
    const char* backfill[17] = {"0.300E+03", "0.600E+03", "0.180E+04", "0.360E+04", "0.540E+04", "0.120E+05",
                                "0.186E+05", "0.206E+05", "0.221E+05", "0.234E+05", "0.294E+05", "0.350E+05",
                                "0.387E+05", "0.416E+05", "0.588E+05", "0.700E+05", "0.774E+05"};
    auto block = [&](const char* title, const char* depth, const char* const* p) {
        std::string text = "\n\n" + spaces(9) + title + "\n\n\n";
        text += spaces(14) + "DEPTH" + spaces(5) + "DIAM" + spaces(7) + "Qu" + spaces(7) + " Eu " + spaces(3) +
                "GAMMA AVG" + spaces(6) + "E50\n";
        text += spaces(16) + "IN" + spaces(7) + "IN" + spaces(4) + "LBS/IN**2 LBS/IN**2 LBS/IN**3 \n";
        text += spaces(10) + right(depth, 10) + "    24.000" + "  0.10E+04" + "  0.10E+06" + "  0.80E-01" +
                "   0.500E-03\n";
        text += spaces(37) + "Y" + spaces(19) + "P\n" + spaces(37) + "IN" + spaces(16) + "LBS/IN\n";
        for (int i = 0; i < 17; ++i) text += spaces(21) + right(y[i], 20) + right(p[i], 20) + "\n";
        return text;
    };
    const std::string expected = "        P-Y CURVES DATA\n\n" + block("AT THE EXCAVATION SIDE", "0.10", excavation) +
                                 block("AT THE BACKFILL SIDE", "120.10", backfill);
    EXPECT_TRUE(sameText(expected, joinLines(reportLinesFrom(run.report(), "        P-Y CURVES DATA", 56))));

    // soildata: (number, p, y) in (I5,2(2X,E10.3)).
    soiltest::expectFirstStationSoildata(soiltest::twoSidePointRecords(y, excavation, backfill));
}

// SI units: the first station of a weak rock layer of qu = 5000 kPa, RQD = 50, krm = 0.0005, Er = 1e6 kPa below
// the water table (unit weight 10 kN/m^3) on the SI wall. Worked by hand: alpha_r = 2/3, b = 0.8 m,
// yrm = 0.0004 m. Excavation side, xr = 0.01 m: pur = (2/3)(1.4 x 5000 x 0.01 + 5000 x 0.8) = 2713.33,
// Kir = (400 x 0.01 / 3 / 0.8 + 100) 1e6 = 1.01667e8, ya = 4.296e-6 m. Backfill side, xr = 3.01 m > 3b:
// pur = 5.2 (2/3) 5000 x 0.8 = 13866.7, Kir = 5e8, ya = 4.521e-6 m. Points 1 to 5 lie on the straight line.
const char* const kWeakRockSiReport[] = {
    "",
    "",
    "         AT THE EXCAVATION SIDE",
    "",
    "",
    "              DEPTH     DIAM       Qu        Eu    GAMMA AVG      E50",
    "                 M        M     KN/ M**2  KN/ M**2  KN/ M**3 ",
    "                0.01     0.800  0.50E+04  0.10E+07  0.10E+02   0.500E-03",
    "                                     Y                   P",
    "                                      M                 KN/ M",
    "                                0.200E-06           0.203E+02",
    "                                0.400E-06           0.407E+02",
    "                                0.120E-05           0.122E+03",
    "                                0.240E-05           0.244E+03",
    "                                0.360E-05           0.366E+03",
    "                                0.800E-05           0.510E+03",
    "                                0.160E-04           0.607E+03",
    "                                0.240E-04           0.671E+03",
    "                                0.320E-04           0.722E+03",
    "                                0.400E-04           0.763E+03",
    "                                0.100E-03           0.959E+03",
    "                                0.200E-03           0.114E+04",
    "                                0.300E-03           0.126E+04",
    "                                0.400E-03           0.136E+04",
    "                                0.160E-02           0.192E+04",
    "                                0.320E-02           0.228E+04",
    "                                0.480E-02           0.253E+04",
    "",
    "",
    "         AT THE BACKFILL SIDE",
    "",
    "",
    "              DEPTH     DIAM       Qu        Eu    GAMMA AVG      E50",
    "                 M        M     KN/ M**2  KN/ M**2  KN/ M**3 ",
    "                3.01     0.800  0.50E+04  0.10E+07  0.10E+02   0.500E-03",
    "                                     Y                   P",
    "                                      M                 KN/ M",
    "                                0.200E-06           0.100E+03",
    "                                0.400E-06           0.200E+03",
    "                                0.120E-05           0.600E+03",
    "                                0.240E-05           0.120E+04",
    "                                0.360E-05           0.180E+04",
    "                                0.800E-05           0.261E+04",
    "                                0.160E-04           0.310E+04",
    "                                0.240E-04           0.343E+04",
    "                                0.320E-04           0.369E+04",
    "                                0.400E-04           0.390E+04",
    "                                0.100E-03           0.490E+04",
    "                                0.200E-03           0.583E+04",
    "                                0.300E-03           0.645E+04",
    "                                0.400E-03           0.693E+04",
    "                                0.160E-02           0.981E+04",
    "                                0.320E-02           0.117E+05",
    "                                0.480E-02           0.129E+05",
};
const char* const kWeakRockSiSoildata[] = {
    "    1   0.203E+02   0.200E-06", "    2   0.407E+02   0.400E-06", "    3   0.122E+03   0.120E-05",
    "    4   0.244E+03   0.240E-05", "    5   0.366E+03   0.360E-05", "    6   0.510E+03   0.800E-05",
    "    7   0.607E+03   0.160E-04", "    8   0.671E+03   0.240E-04", "    9   0.722E+03   0.320E-04",
    "   10   0.763E+03   0.400E-04", "   11   0.959E+03   0.100E-03", "   12   0.114E+04   0.200E-03",
    "   13   0.126E+04   0.300E-03", "   14   0.136E+04   0.400E-03", "   15   0.192E+04   0.160E-02",
    "   16   0.228E+04   0.320E-02", "   17   0.253E+04   0.480E-02", "    1   0.100E+03   0.200E-06",
    "    2   0.200E+03   0.400E-06", "    3   0.600E+03   0.120E-05", "    4   0.120E+04   0.240E-05",
    "    5   0.180E+04   0.360E-05", "    6   0.261E+04   0.800E-05", "    7   0.310E+04   0.160E-04",
    "    8   0.343E+04   0.240E-04", "    9   0.369E+04   0.320E-04", "   10   0.390E+04   0.400E-04",
    "   11   0.490E+04   0.100E-03", "   12   0.583E+04   0.200E-03", "   13   0.645E+04   0.300E-03",
    "   14   0.693E+04   0.400E-03", "   15   0.981E+04   0.160E-02", "   16   0.117E+05   0.320E-02",
    "   17   0.129E+05   0.480E-02",
};

TEST(WeakRockGenerator, SiReportBlockAndSoildataOfTheFirstStation) {
    SoilRun run;
    soiltest::siWall(run, 0.8);
    run.layer(7, 9.0, {19.81, 5000.0, 0.0, 0.0005, 1.0e6, 50.0});
    soiltest::expectSiFirstStation(run, kWeakRockSiReport, kWeakRockSiSoildata);
}

TEST(WeakRockGenerator, EveryStationAgainstTheClosedForm) {
    // qu, RQD and krm of the weak rock as functions of the depth d below the excavation surface; its top.
    const struct Case {
        const char* name;
        bool underRock;  // a rock layer from 0 to 60 above the weak rock
        double top;
        double (*qu)(double);
        double (*rqd)(double);
        double (*krm)(double);
        double (*qa)(double);  // the mean strength the curve uses
    } cases[] = {
        // The first layer: qa is the mean of the linear qu from the layer top down to the station.
        {"first layer", false, 0.0, [](double d) { return 1000.0 + d * 1000.0 / 180.0; },
         [](double d) { return d / 2.0; }, [](double d) { return 0.0005 + d * 0.0005 / 180.0; },
         [](double d) { return (1000.0 + (1000.0 + d * 1000.0 / 180.0)) / 2.0; }},
        // Below another layer: the mean of the strength just below the layer top and at the station.
        {"below a rock layer", true, 60.0, [](double d) { return 1000.0 + (d - 60.0) * 1000.0 / 120.0; },
         [](double d) { return 20.0 + (d - 60.0) * 60.0 / 120.0; }, [](double) { return 0.001; },
         [](double d) { return (1000.0 + (1000.0 + (d - 60.0) * 1000.0 / 120.0)) / 2.0; }},
    };
    for (const Case& c : cases) {
        SoilRun run;
        run.wall(20, 12.0, 120.0, 24.0, 24.0);
        if (c.underRock) {
            run.layer(6, 180.0, {0.08, 5000.0, 0.0, 0.0, 0.0, 0.0});
            // Er is taken at the layer top: 1e5, not 3e5.
            run.layer(7, 300.0, {0.08, 1000.0, 0.0, 0.001, 1.0e5, 20.0}, {0.08, 2000.0, 0.0, 0.001, 3.0e5, 80.0});
        } else {
            run.layer(7, 300.0, {0.08, 1000.0, 0.0, 0.0005, 1.0e5, 0.0}, {0.08, 2000.0, 0.0, 0.001, 3.0e5, 90.0});
        }
        // Reduction factors 0.5 on p and 2 on y between 100 and 400 below the top of the wall.
        run.factorRow(100.0, 0.5, 2.0);
        run.factorRow(400.0, 0.5, 2.0);
        Engine e = run.engine();
        SetUpSoilModel(e);

        const ScratchCurveFile file = readScratchCurves();
        ASSERT_TRUE(file.complete) << c.name;
        const std::size_t first = c.underRock ? 5 : 0;
        ASSERT_EQ(file.curves.size(), first + 5) << c.name;
        const double b = 24.0;
        const double er = 1.0e5;
        const double h = (144.0 - c.top);
        const double stations[] = {c.top + 0.1, c.top + 0.25 * h, c.top + 0.5 * h, c.top + 0.75 * h, 143.9};
        for (int s = 0; s < 5; ++s) {
            const double d = stations[s];
            const auto& curve = file.curves[first + static_cast<std::size_t>(s)];
            EXPECT_NEAR(curve.where, 120.0 + d, 1e-6) << c.name;
            ASSERT_EQ(curve.points.size(), 34u);
            const double alpha = 1.0 - c.rqd(d) / 150.0;
            const double qa = c.qa(d);
            const double yrm = c.krm(d) * b;
            for (int side = 0; side < 2; ++side) {
                // Depth below the layer top: the backfill side counts the free height as well.
                const double xr = (side == 0 ? d : 120.0 + d) - c.top;
                const bool deep = xr > 3.0 * b;
                const double pur = deep ? 5.2 * alpha * qa * b : alpha * (1.4 * qa * xr + qa * b);
                const double kir = deep ? 500.0 * er : (400.0 * xr / (3.0 * b) + 100.0) * er;
                const double ya = std::pow(0.5 * pur / std::pow(yrm, 0.25) / kir, 4.0 / 3.0);
                for (int i = 1; i <= 17; ++i) {
                    const CurvePoint& pt = curve.points[static_cast<std::size_t>(side * 17 + i - 1)];
                    const double y = yrm * kFactors[i - 1];
                    const double p = y < ya ? kir * y : std::min(0.5 * pur * std::pow(y / yrm, 0.25), pur);
                    EXPECT_EQ(pt.number, i);
                    EXPECT_NEAR(pt.y, 2.0 * y, printedTolerance(2.0 * y))
                        << c.name << " station " << s + 1 << " side " << side + 1 << " point " << i;
                    EXPECT_NEAR(pt.p, 0.5 * p, printedTolerance(0.5 * p))
                        << c.name << " station " << s + 1 << " side " << side + 1 << " point " << i;
                }
            }
        }
        // The width-scaled threshold stays for the generators that follow.
        EXPECT_EQ(run.st->soil.threshold, double(2e-5f) * b) << c.name;
    }
}

TEST(WeakRockGenerator, NoStrengthAfterTheFirstStationStopsTheRun) {
    SoilRun run;
    oneWeakRockLayer(run);
    Engine e = run.engine();
    SetUpSoilModel(e);
    // The set-up refuses a layer without strength; a table that lost it afterwards reaches the generator.
    SoilModel& soil = run.st->soil;
    soil.cohesion[1] = soil.cohesion[2] = 0.0;
    run.io.open(kCurveScratchUnit, "again", rt::Access::Write);
    try {
        PYCurveWeakRock(e, kStationDepthColumn, 1);
        ADD_FAILURE() << "the run went on";
    } catch (const rt::StopRun& stop) {
        EXPECT_EQ(stop.code(), "");
        EXPECT_EQ(std::string(stop.what()),
                  "\n       --------------------WARNING----------------------\n"
                  "       THE COHESIVE STRENGTH IS 0 FOR ROCK ACCORING TO THE INPUT\n"
                  "       DATA. PLEASE ENTER THE CORRECT VALUE AND RUN IT AGAIN.");
    }
    run.io.close(kCurveScratchUnit);
    // The first station's curve was written, every p zero.
    const std::vector<std::string> lines = test::splitLines(test::readFile("again"));
    ASSERT_EQ(lines.size(), 35u);
    for (std::size_t i = 1; i < lines.size(); ++i) EXPECT_EQ(lines[i].substr(5, 12), "   0.000E+00") << i;
}

}  // namespace
}  // namespace velmor::engine
