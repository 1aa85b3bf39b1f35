#include "earth_pressure.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "input_records.h"
#include "input_test_harness.h"
#include "runtime/run_errors.h"
#include "soil/unit_labels.h"
#include "support/test_support.h"

namespace velmor::engine {
namespace {

using test::readFile;
using test::splitLines;

constexpr double kPi = 3.14159265358979323846;
constexpr double kGamma = 0.0694;  // 120 pcf in pounds per cubic inch
const double kGammaWater = double(0.036f);
// The module converts degrees with the single-precision 57.2958, which moves Ka and Kp by under 1e-6.
constexpr double kAngleTolerance = 2e-6;
double tanSquared(double degrees) {
    return std::pow(std::tan(degrees * kPi / 180.0), 2);
}

// Runs the earth-pressure module on a wall described in the test, in a scratch directory, with the report,
// monitor and console captured in files.
class EarthPressure : public ::testing::Test {
  protected:
    EarthPressure() {
        console = std::fopen("console.txt", "wb");
        io.setConsole(console);
        io.open(kReportUnit, "report.txt", rt::Access::Write);
        io.open(kMonitorUnit, "monitor.txt", rt::Access::Write);
        units(1);
        st->run.earthPressureOption = 2;
        WallSoilInput& in = st->wallSoil;
        in.freeHeight = 120.0;
        in.wa = in.wp = 12.0;
        in.activeModification = 1.0;
        in.waterTableBackfill = in.waterTableExcavation = 1.0e4;
    }
    ~EarthPressure() override {
        io.closeAll();
        std::fclose(console);
    }
    void units(int system) {
        st->run.unitSystem = system;
        SetUnitLabels(st->labels, system == 1 ? 1 : -1);
    }
    // A layer from the bottom of the one above to `bottom`, with its values at the top.
    void layer(int type, double bottom, double gamma, double c, double phi) {
        WallSoilInput& in = st->wallSoil;
        const int i = ++in.layerCount;
        in.soilType[i] = type;
        in.thickness[i] = bottom - (i == 1 ? 0.0 : bottomOf(i - 1));
        in.top[i][1] = gamma;
        in.top[i][2] = c;
        in.top[i][3] = phi;
    }
    double bottomOf(int i) const {
        double z = 0.0;
        for (int j = 1; j <= i; ++j) z += st->wallSoil.thickness[j];
        return z;
    }
    void surcharge(int type, double magnitude, double x, double width = 0.0) {
        WallSoilInput& in = st->wallSoil;
        const int k = ++in.surchargeCount;
        in.surchargeType[k] = type;
        in.surchargeMagnitude[k] = magnitude;
        in.surchargeDistance[k] = x;
        in.surchargeWidth[k] = width;
    }
    // Supports as single-station spring rows of this problem would give them.
    void supports(int springs, double first, double last) {
        RunControl& run = st->run;
        run.springRowCount = springs;
        run.firstSupportDepth = first;
        run.lastSupportDepth = last;
        run.firstSupportSet = run.lastSupportSet = true;
    }
    // What a unit has written so far; the unit starts again on an empty file.
    std::string take(int unit = kReportUnit) {
        const char* name = unit == kReportUnit ? "report.txt" : "monitor.txt";
        io.close(unit);
        std::string text = readFile(name);
        io.open(unit, name, rt::Access::Write);
        return text;
    }
    std::string report() { return take(kReportUnit); }
    void sand(double phi = 30.0) { layer(4, 240.0, kGamma, 0.0, phi); }
    // Area under the computed profile (depth, total), by the trapezoidal rule.
    double profileArea() const {
        const EarthPressureWork& w = st->earth;
        double area = 0.0;
        for (int r = 2; r <= w.rowCount; ++r)
            area += 0.5 * (w.rowTotal[r - 1] + w.rowTotal[r]) * (w.rowDepth[r] - w.rowDepth[r - 1]);
        return area;
    }
    // The value of the profile at a row depth.
    double totalAt(double depth) const {
        const EarthPressureWork& w = st->earth;
        for (int r = 1; r <= w.rowCount; ++r)
            if (std::fabs(w.rowDepth[r] - depth) < 1e-9) return w.rowTotal[r];
        ADD_FAILURE() << "no row at depth " << depth;
        return 0.0;
    }

    test::ScratchDir dir;
    std::FILE* console = nullptr;
    std::unique_ptr<EngineState> st = std::make_unique<EngineState>();
    rt::RecordIO io;
    Engine e{io, *st};
    const EarthPressureWork& w = st->earth;
};

TEST_F(EarthPressure, LayersSplitAtTheExcavationLevelAndTheWaterTable) {
    const struct Case {
        std::vector<double> bottoms;
        double h, waterTable;
        std::vector<double> tops;
        int excavation, water;
    } cases[] = {
        {{240}, 120, 1e4, {0, 120}, 2, 0},
        {{240}, 120, 60, {0, 60, 120}, 3, 2},
        {{240}, 120, 120, {0, 120}, 2, 2},                   // water table at the free height
        {{100, 240}, 120, 100, {0, 100, 120}, 3, 2},         // on a layer boundary
        {{100, 240}, 120, 100.000004, {0, 100, 120}, 3, 2},  // within 1e-5 of it
        {{240}, 120, 500, {0, 120}, 2, 0},                   // below the layers
        {{100, 240}, 120, 240, {0, 100, 120}, 3, 0},         // at the last bottom
        {{240}, 120, 0, {0, 120}, 2, 1},                     // at the top of the wall
        {{240}, 0, 1e4, {0}, 1, 0},                          // no free height
        {{100, 240}, 150, 30, {0, 30, 100, 150}, 4, 2},
    };
    // One state for all cases, as for the problems of one run: nothing of an earlier case may stay.
    for (const Case& c : cases) {
        st->wallSoil.layerCount = 0;
        for (double bottom : c.bottoms) layer(4, bottom, 0.0694, 0.0, 30.0);
        st->wallSoil.freeHeight = c.h;
        st->wallSoil.waterTableBackfill = c.waterTable;
        ComputeEarthPressure(e);
        ASSERT_EQ(w.sublayerCount, static_cast<int>(c.tops.size())) << c.waterTable;
        for (std::size_t i = 0; i < c.tops.size(); ++i) EXPECT_NEAR(w.ztop[i + 1], c.tops[i], 1e-9) << c.waterTable;
        EXPECT_EQ(w.excavationSublayer, c.excavation) << c.waterTable;
        EXPECT_EQ(w.waterTableSublayer, c.water) << c.waterTable;
        EXPECT_EQ(report().find("ACTIVE WATER PRESSURE") != std::string::npos, c.water != 0 && c.water < c.excavation)
            << c.waterTable;
    }
}

TEST_F(EarthPressure, RankineActivePressureOfSand) {
    const struct Case {
        int units;
        double h, gamma, phi;
        int rows;  // one per inch, or one per 0.05 m
    } cases[] = {{1, 120.0, kGamma, 30.0, 121}, {2, 4.0, 18.0, 35.0, 81}};
    for (const Case& c : cases) {
        units(c.units);
        st->wallSoil.layerCount = 0;
        layer(4, 2.0 * c.h, c.gamma, 0.0, c.phi);
        st->wallSoil.freeHeight = c.h;
        ComputeEarthPressure(e);
        const double ka = tanSquared(45.0 - c.phi / 2.0);
        const double force = 0.5 * ka * c.gamma * c.h * c.h;  // resultant, acting H/3 above the excavation level
        EXPECT_NEAR(w.ka[1], ka, kAngleTolerance * ka);
        EXPECT_NEAR(w.kp[1], tanSquared(45.0 + c.phi / 2.0), kAngleTolerance * w.kp[1]);
        ASSERT_EQ(w.rowCount, c.rows);
        EXPECT_NEAR(w.rowTotal[c.rows], ka * c.gamma * c.h, kAngleTolerance * ka * c.gamma * c.h);
        EXPECT_NEAR(w.pa2[1], force, kAngleTolerance * force);
        EXPECT_NEAR(w.resultant, force, kAngleTolerance * force);
        EXPECT_NEAR(c.h - w.z2[1], c.h / 3.0, 1e-12 * c.h);
        EXPECT_NEAR(profileArea(), force, kAngleTolerance * force);  // a linear profile: the rule is exact
        EXPECT_NEAR(st->excavationLevel.stress, c.gamma * c.h, 1e-12 * c.gamma * c.h);
    }
}

TEST_F(EarthPressure, TensionCrackOfCohesiveSoil) {
    const struct Case {
        double c, phi;
        double shallow, deep;  // a depth above the crack and one below
    } cases[] = {{2.0, 0.0, 40.0, 100.0}, {2.0, 20.0, 60.0, 110.0}};
    for (const Case& c : cases) {
        st->wallSoil.layerCount = 0;
        layer(1, 240.0, kGamma, c.c, c.phi);
        ComputeEarthPressure(e);
        const double ka = tanSquared(45.0 - c.phi / 2.0);
        const double crack = 2.0 * c.c / (kGamma * std::sqrt(ka));  // net active pressure zero there
        const double h = 120.0;
        EXPECT_NEAR(w.thickness[1] - w.zc[1], crack, 1e-5 * crack);
        EXPECT_EQ(w.pa1[1] + w.pa2[1] + w.pa3[1], 0.0);
        EXPECT_NEAR(w.pa4[1], 0.5 * ka * kGamma * (h - crack) * (h - crack), 1e-5 * w.pa4[1]);
        EXPECT_NEAR(w.z3[1], h - (h - crack) / 3.0, 1e-5 * h);
        EXPECT_EQ(totalAt(c.shallow), 0.0);
        EXPECT_NEAR(totalAt(c.deep), ka * kGamma * (c.deep - crack), 1e-5 * totalAt(c.deep));
    }
}

TEST_F(EarthPressure, CohesionWithoutWeightHasNoCrackDepthAndNoNetPressure) {
    layer(1, 240.0, 0.0, 2.0, 0.0);  // the crack depth 2c / gamma would divide by zero
    ComputeEarthPressure(e);
    EXPECT_EQ(w.zc[1], 0.0);
    EXPECT_EQ(w.pa4[1], 0.0);
    for (int r = 1; r <= w.rowCount; ++r) EXPECT_EQ(w.rowTotal[r], 0.0) << r;
    const std::string negative = "\n\n     Net active pressure is negative.\n\n";
    EXPECT_NE(report().find(negative), std::string::npos);
    std::fflush(console);
    EXPECT_EQ(readFile("console.txt"), negative);
    EXPECT_EQ(readFile(kProfileFile).find("NaN"), std::string::npos);

    // With water on the excavation side from the top, totals below 1e-5 rise by 1e-12 a row.
    st->wallSoil.waterTableExcavation = 0.0;
    ComputeEarthPressure(e);
    for (int r = 2; r <= w.rowCount; ++r) EXPECT_EQ(w.rowTotal[r], r * double(1.0e-12f)) << r;
}

TEST_F(EarthPressure, WaterTableInTheBackfill) {
    const struct Case {
        double layerBottom, waterTable;
    } cases[] = {
        {240.0, 60.0}, {60.0, 60.000004},  // moved onto the layer boundary: the sublayer below still carries its water
    };
    const double ka = tanSquared(30.0);
    const double submerged = kGamma - kGammaWater;
    // Effective stress times Ka plus the full water pressure gamma_w (z - zw).
    const double at120 = ka * (kGamma * 60.0 + submerged * 60.0) + kGammaWater * 60.0;
    for (const Case& c : cases) {
        st->wallSoil.layerCount = 0;
        layer(4, c.layerBottom, kGamma, 0.0, 30.0);
        if (c.layerBottom < 240.0) sand();
        st->wallSoil.waterTableBackfill = c.waterTable;
        ComputeEarthPressure(e);
        EXPECT_NEAR(totalAt(120.0), at120, kAngleTolerance * at120);
        EXPECT_NEAR(totalAt(90.0), ka * (kGamma * 60.0 + submerged * 30.0) + kGammaWater * 30.0, 1e-5);
        EXPECT_NEAR(w.pw2[2], -0.5 * kGammaWater * 60.0 * 60.0, 1e-9) << c.waterTable;
        EXPECT_EQ(w.pw1[2], 0.0);
        EXPECT_NEAR(st->excavationLevel.stress, kGamma * 120.0 - kGammaWater * 60.0, 1e-6);
    }

    // Water on the excavation side from depth 90 takes gamma_w (z - 90) off below it.
    st->wallSoil.waterTableExcavation = 90.0;
    ComputeEarthPressure(e);
    EXPECT_NEAR(totalAt(120.0), at120 - kGammaWater * 30.0, kAngleTolerance * at120);
}

TEST_F(EarthPressure, SlopingBackfill) {
    const struct Case {
        double beta;
        double ka;
        int warnings;  // one per sublayer above the excavation level
    } cases[] = {
        {10.0, 0.349519833813974, 0},  // Rankine: cos b (cos b - r) / (cos b + r), r = sqrt(cos^2 b - cos^2 phi)
        {-10.0, 0.349519833813974, 0}, {0.0, tanSquared(30.0), 0},
        {30.0, tanSquared(30.0), 2},   {35.0, tanSquared(30.0), 2},
    };
    sand();
    st->wallSoil.waterTableBackfill = 60.0;
    for (const Case& c : cases) {
        st->wallSoil.backfillSlope = c.beta;
        ComputeEarthPressure(e);
        EXPECT_NEAR(w.ka[1], c.ka, kAngleTolerance * c.ka) << c.beta;
        const std::string warning =
            "\n\n**** WARNING ******\nTHE BACKFILL SLOPE ANGLE SHOULD BE LESS THAN THE 'INTERNAL FRICTION ANGLE OF "
            "SAND.\n";
        for (int unit : {kMonitorUnit, kReportUnit}) {
            const std::string text = take(unit);
            int found = 0;
            for (auto at = text.find(warning); at != std::string::npos; at = text.find(warning, at + 1)) ++found;
            EXPECT_EQ(found, c.warnings) << c.beta << " unit " << unit;
        }
    }
}

TEST_F(EarthPressure, SurchargeRowsActOnEachSublayerFromTheTopOfTheWall) {
    sand();
    st->wallSoil.waterTableBackfill = 60.0;
    surcharge(2, 100.0, 24.0);   // m = 0.2
    surcharge(2, 200.0, 120.0);  // m = 1.0
    ComputeEarthPressure(e);
    // Ten steps of 6 inches down the second sublayer (60 to 120), each row at its own distance.
    auto line = [](double q, double m, double n) {
        const double h = 120.0;
        return m <= 0.4 ? 0.203 * q * n / (h * std::pow(0.16 + n * n, 2))
                        : 4.0 / kPi * q * m * m * n / (h * std::pow(m * m + n * n, 2));
    };
    double surchargeForce = 0.0;
    for (int k = 1; k <= 10; ++k) {
        const double n = (60.0 + 6.0 * k) / 120.0;
        surchargeForce += 6.0 * (line(100.0, 0.2, n) + line(200.0, 1.0, n));
    }
    const double soil = kGamma * 60.0 * tanSquared(30.0) * 60.0;
    // The module's 1.273 stands for 4/pi (2e-4 off).
    EXPECT_NEAR(w.pa1[2] - soil, surchargeForce, 2e-4 * surchargeForce);
}

TEST_F(EarthPressure, TrapezoidHasOnePointThreeTimesTheActiveArea) {
    const struct Case {
        int springs;
        double first, last;
        double plateau;  // trapezoid area per unit of its peak
    } cases[] = {
        {1, 24.0, 24.0, 80.0},  // 2H/3
        {2, 24.0, 72.0, 96.0},  // H - (a + b)/2 with a = 16, b = 32
    };
    sand();
    st->run.earthPressureOption = 3;
    for (const Case& c : cases) {
        supports(c.springs, c.first, c.last);
        ComputeEarthPressure(e);
        const double active = 0.5 * tanSquared(30.0) * kGamma * 120.0 * 120.0;
        EXPECT_NEAR(profileArea(), 1.3 * active, kAngleTolerance * active) << c.springs;
        EXPECT_NEAR(totalAt(40.0), 1.3 * active / c.plateau, kAngleTolerance * active) << c.springs;
        EXPECT_NEAR(totalAt(8.0), totalAt(40.0) / 2.0, 1e-12) << c.springs;
    }
}

TEST_F(EarthPressure, ProfileFileHoldsAsManyRowsAsItsCountLine) {
    const struct Case {
        int units, option;
        double h, waterTable;
        int rows;
    } cases[] = {
        {1, 2, 120.0, 115.0, 121},
        {1, 3, 120.0, 115.0, 121},  // a sublayer of five steps right above the excavation level
        {1, 2, 0.0, 1e4, 1},
        {2, 2, 2.0, 1.99, 41},  // 0.01 m above the excavation level gives no row
    };
    supports(1, 24.0, 24.0);
    for (const Case& c : cases) {
        units(c.units);
        st->run.earthPressureOption = c.option;
        st->wallSoil.freeHeight = c.h;
        st->wallSoil.waterTableBackfill = c.waterTable;
        st->wallSoil.layerCount = 0;
        sand();
        ComputeEarthPressure(e);
        const std::vector<std::string> lines = splitLines(readFile(kProfileFile));
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines[0], " " + std::to_string(c.rows));
        EXPECT_EQ(lines.size(), static_cast<std::size_t>(c.rows) + 1) << c.option << " " << c.h;
    }
    st->wallSoil.sixValues[1] = 0.5;  // Ka q at the top
    ComputeEarthPressure(e);
    EXPECT_EQ(splitLines(readFile(kProfileFile))[1], "      0.000E+00     0.167E+00     0.167E+00     0.000E+00");
}

// Sand to 240 in, free height 120 in, water table at 60 in, 0.5 psi on the surface and a 1000 lb point
// load 60 in behind the wall (m = 0.5). Hand values: Ka = 1/3, Kp = 3; stresses 0.5, 0.5 + 60 gamma =
// 4.664, 0.5 + 120 gamma - 60 gamma_w = 6.668; PA2 = 0.5 Ka gamma' 60^2 = 41.64 and 20.04; PW2 =
// 0.5 gamma_w 60^2 = 64.80; PA1 = Ka sigma t plus ten 6 in steps of 1.77 Q m^2 n^2 / H^2 (m^2 + n^2)^3:
// 10.00 + 3.08 = 13.08 and 93.28 + 1.94 = 95.22.
TEST_F(EarthPressure, EchoOfWallSurchargeSoilAndForces) {
    sand();
    st->wallSoil.waterTableBackfill = 60.0;
    st->wallSoil.waterTableExcavation = 120.0;
    st->wallSoil.sixValues[1] = 0.5;
    surcharge(1, 1000.0, 60.0);
    ComputeEarthPressure(e);
    const std::string stars = "      **************************************************";
    auto frame = [&](const std::string& title) { return "\n\n" + stars + "\n      " + title + "\n" + stars + "\n\n"; };
    const std::string expected = frame("*                WALL INFORMATION                *") +
                                 "      FREE HEIGHT OF WALL                    =  0.120E+03 IN\n"
                                 "      WIDTH FOR EARTH PRESSURE, WA           =  0.120E+02 IN\n"
                                 "      WIDTH FOR SOIL RESISTANCE, WP          =  0.120E+02 IN\n"
                                 "      DEPTH TO THE WATER TABLE AT BACKFILL   =  0.600E+02 IN\n"
                                 "      DEPTH TO THE WATER TABLE AT EXCAVATION =  0.120E+03 IN\n"
                                 "      UNIT WEIGHT OF WATER                   =  0.360E-01 LBS/IN**3\n"
                                 "      SLOPE OF THE BACKFILL (deg.)           =  0.000E+00\n"
                                 "      MODIFICATION FOR ACTIVE EARTH PRESSURE =  0.100E+01\n"
                                 "\n" +
                                 frame("*              SURCHARGE INFORMATION             *") +
                                 "      UNIFORM SURFACE PRESSURE     = 0.500E+00 LBS/IN**2\n"
                                 "\n"
                                 "      SURCHARGE LOADING NO.        =          1\n"
                                 "      POINT LOAD                   =  0.100E+04 LBS\n"
                                 "      HORIZONTAL DISTANCE BETWEEN  =  0.600E+02 IN\n"
                                 "      THE WALL AND SURCHARGE         \n"
                                 "\n" +
                                 frame("*                SOIL INFORMATION                *") +
                                 "               TOTAL                 TOTAL UNIT\n"
                                 "       LAYER THICKNESS COHESION  PHI   WEIGHT   DRAINED  ZTOP\n"
                                 "       NO.     IN        PSI     DEG     PCI     T OR F   IN\n"
                                 "         1     60.0        0.0  30.0    0.069     T      0.00\n"
                                 "         2     60.0        0.0  30.0    0.069     T     60.00\n"
                                 "         3    120.0        0.0  30.0    0.069     T    120.00\n" +
                                 frame("*            EFFECTIVE OVERBURDEN STRESS         *") +
                                 "                DEPTH                     STRESS       \n"
                                 "                 IN                       LBS/IN**2\n"
                                 "\n"
                                 "             0.000E+00                  0.500E+00\n"
                                 "             0.600E+02                  0.466E+01\n"
                                 "             0.120E+03                  0.667E+01\n" +
                                 frame("* ACTIVE AND PASSIVE EARTH PRESSURE COEFFICIENT  *") +
                                 "        LAYER         ACTIVE EARTH     PASSIVE EARTH   \n"
                                 "         NO.          COEFFICIENT      COEFFICIENT     \n"
                                 "           1          0.333E+00         0.300E+01\n"
                                 "           2          0.333E+00         0.300E+01\n"
                                 "           3          0.333E+00         0.300E+01\n" +
                                 frame("*      ACTIVE EARTH PRESSURE OF EACH LAYER       *") +
                                 "       LAYER    PA1     Z1       PA2     Z2         PA3     Z3        PA4\n"
                                 "        NO  LBS/IN**2   IN LBS/IN**2   IN LBS/IN**2     IN LBS/IN**2\n"
                                 "\n"
                                 "       1      13.08  30.00      41.64  40.00       0.00   0.00       0.00\n"
                                 "       2      95.22  90.00      20.04 100.00       0.00   0.00       0.00\n" +
                                 frame("*      ACTIVE WATER PRESSURE OF EACH LAYER       *") +
                                 "       LAYER    PW1     Z1       PW2     Z2                \n"
                                 "        NO             \n"
                                 "\n"
                                 "       2       0.00  90.00      64.80 100.00\n";
    EXPECT_TRUE(test::sameText(expected, report()));
}

TEST_F(EarthPressure, InputBeyondTheModuleEndsTheRun) {
    layer(4, 100.0, kGamma, 0.0, 30.0);  // the layers end above the free height
    try {
        ComputeEarthPressure(e);
        ADD_FAILURE() << "no stop";
    } catch (const rt::StopRun& stop) {
        EXPECT_EQ(stop.code(), "1");
        EXPECT_EQ(
            stop.message(),
            "     THE SOIL LAYERS END AT 0.100E+03 IN (LAYER  1), NOT BELOW THE EXCAVATION LEVEL AT 0.120E+03 IN");
    }
    const std::string text = report();  // the soil echo is written before the stop
    EXPECT_EQ(splitLines(text).back(), "         1    100.0        0.0  30.0    0.069     T      0.00");

    for (int i = 0; i < 9; ++i) layer(4, 200.0 + i, kGamma, 0.0, 30.0);
    st->wallSoil.layerCount = 11;  // one more than the module holds
    EXPECT_THROW(ComputeEarthPressure(e), rt::EndRun);
    EXPECT_NE(report().find("     TOO MUCH DATA FOR AVAILABLE STORAGE"), std::string::npos);
}

TEST_F(EarthPressure, WaterTableAboveTheTopOfTheWallEndsTheRun) {
    const std::string backfill = "     ERROR -- WATER TABLE AT BACKFILL ABOVE THE TOP OF THE WALL";
    const std::string excavation = "     ERROR -- WATER TABLE AT EXCAVATION ABOVE THE TOP OF THE WALL";
    const struct Case {
        double backfill, excavation;
        std::string message;  // empty when the run goes on
    } cases[] = {
        {-10.0, 1e4, backfill},  {-10.0, -10.0, backfill}, {60.0, -5.0, excavation},
        {1e4, -5.0, excavation}, {0.0, 0.0, ""},  // water at the top on both sides
        {-5e-6, 0.0, ""},                         // within the tolerance of the top counts as at the top
    };
    sand();
    const double h = 120.0;
    const double submerged = kGamma - kGammaWater;
    const double ka = tanSquared(30.0);
    for (const Case& c : cases) {
        std::remove(kProfileFile);
        st->wallSoil.waterTableBackfill = c.backfill;
        st->wallSoil.waterTableExcavation = c.excavation;
        if (!c.message.empty()) {
            EXPECT_THROW(ComputeEarthPressure(e), rt::EndRun) << c.backfill << " " << c.excavation;
            const std::string text = report();
            const std::string end = "\n\n\n" + c.message + "\n";
            ASSERT_GE(text.size(), end.size());
            EXPECT_EQ(text.substr(text.size() - end.size()), end) << c.backfill << " " << c.excavation;
            EXPECT_NE(text.find("SOIL INFORMATION"), std::string::npos);  // the echo shows what was given
            EXPECT_FALSE(std::filesystem::exists(kProfileFile));
            continue;
        }
        ComputeEarthPressure(e);
        // Submerged sand from the top: Ka gamma' z and the full water pressure gamma_w z, which the water
        // of the excavation side, also from the top, takes off the profile again.
        const double active = 0.5 * ka * submerged * h * h;
        const double water = 0.5 * kGammaWater * h * h;
        EXPECT_NEAR(w.resultant, active + water, 1e-5 * (active + water)) << c.backfill;
        EXPECT_NEAR(totalAt(h), ka * submerged * h, 1e-5 * ka * submerged * h) << c.backfill;
        EXPECT_NEAR(totalAt(30.0), ka * submerged * 30.0, 1e-5 * ka * submerged * h) << c.backfill;
        EXPECT_NEAR(st->excavationLevel.stress, submerged * h, 1e-6) << c.backfill;
    }
}

TEST_F(EarthPressure, ActiveModificationFactorScalesEveryForceAndTheProfile) {
    // One layer to 240 in, H = 120 in. Rankine net active pressure p(z) = Ka (q + gamma z) - 2 c sqrt(Ka),
    // none where it is tensile; the factor f multiplies all of it.
    const struct Case {
        const char* what;
        int type;
        double q, c, phi, f;
    } cases[] = {
        {"sand", 4, 0.5, 0.0, 30.0, 0.8},
        {"sand, factor above 1", 4, 0.5, 0.0, 30.0, 1.5},
        {"cohesive soil in compression throughout", 3, 10.0, 2.0, 20.0, 0.8},
        {"cracked clay", 1, 0.0, 2.0, 0.0, 0.6},
    };
    const double h = 120.0;
    for (const Case& c : cases) {
        st->wallSoil.layerCount = 0;
        layer(c.type, 240.0, kGamma, c.c, c.phi);
        st->wallSoil.sixValues[1] = c.q;
        st->wallSoil.activeModification = c.f;
        ComputeEarthPressure(e);
        const double ka = tanSquared(45.0 - c.phi / 2.0);
        const double cohesion = 2.0 * c.c * std::sqrt(ka);
        const double crack = std::fmax((cohesion - ka * c.q) / (ka * kGamma), 0.0);
        const bool cracked = crack > 0.0;
        const double pa1 = cracked ? 0.0 : c.f * ka * c.q * h;
        const double pa2 = cracked ? 0.0 : c.f * 0.5 * ka * kGamma * h * h;
        const double pa3 = cracked ? 0.0 : -c.f * cohesion * h;
        const double pa4 = cracked ? c.f * 0.5 * ka * kGamma * (h - crack) * (h - crack) : 0.0;
        // The cracked forces come from differences of stresses: 1e-5; the others carry the 57.2958 of Ka.
        const double tol = 1e-5 * (pa1 + pa2 + pa4);
        EXPECT_NEAR(w.pa1[1], pa1, tol) << c.what;
        EXPECT_NEAR(w.pa2[1], pa2, tol) << c.what;
        EXPECT_NEAR(w.pa3[1], pa3, tol) << c.what;
        EXPECT_NEAR(w.pa4[1], pa4, tol) << c.what;
        EXPECT_NEAR(w.resultant, pa1 + pa2 + pa3 + pa4, tol) << c.what;
        for (double z : {30.0, 90.0, 120.0}) {
            const double p = c.f * std::fmax(ka * (c.q + kGamma * z) - cohesion, 0.0);
            EXPECT_NEAR(totalAt(z), p, 1e-5 * c.f * ka * kGamma * h) << c.what << " at " << z;
        }
    }
}

TEST_F(EarthPressure, WaterForceOfEveryWetSublayer) {
    // Sand to 60 in and below, H = 120 in. Each wet sublayer carries gamma_w (d - zw) over its thickness
    // (PW1, d its top) and the triangle 0.5 gamma_w t^2 (PW2); together 0.5 gamma_w (H - zw)^2.
    const struct Case {
        double waterTable;
        int deep;  // the sublayer from 60 to 120
        std::string row;
    } cases[] = {
        {30.0, 3, "       3      64.80  90.00      64.80 100.00"},
        {45.5, 3, "       3      31.32  90.00      64.80 100.00"},
        {0.0, 2, "       2     129.60  90.00      64.80 100.00"},
    };
    const double h = 120.0;
    const double ka = tanSquared(30.0);
    const double submerged = kGamma - kGammaWater;
    layer(4, 60.0, kGamma, 0.0, 30.0);
    sand();
    for (const Case& c : cases) {
        st->wallSoil.waterTableBackfill = c.waterTable;
        ComputeEarthPressure(e);
        const double zw = c.waterTable;
        const double wet = h - zw;
        EXPECT_NEAR(w.pw1[c.deep], -(60.0 - zw) * kGammaWater * 60.0, 1e-9) << zw;
        EXPECT_NEAR(w.pw2[c.deep], -0.5 * kGammaWater * 60.0 * 60.0, 1e-9) << zw;
        double water = 0.0;
        for (int i = 1; i <= w.sublayerCount; ++i) water -= w.pw1[i] + w.pw2[i];
        EXPECT_NEAR(water, 0.5 * kGammaWater * wet * wet, 1e-9) << zw;
        const double active = ka * (0.5 * kGamma * zw * zw + kGamma * zw * wet + 0.5 * submerged * wet * wet);
        EXPECT_NEAR(w.resultant, active + water, kAngleTolerance * (active + water)) << zw;
        const double bottom = ka * (kGamma * zw + submerged * wet) + kGammaWater * wet;
        EXPECT_NEAR(totalAt(h), bottom, kAngleTolerance * bottom) << zw;
        EXPECT_EQ(w.waterFlag, 1);
        EXPECT_EQ(splitLines(report()).back(), c.row) << zw;
    }
}

TEST_F(EarthPressure, SurchargeRecordLoadsActWithoutRows) {
    // Dry sand, H = 120 in, no uniform pressure: PA1 of the one sublayer above the excavation level is the
    // surcharges' alone, ten steps of 12 in at n = k / 10 with m = x / H, by the classic formulas.
    const double h = 120.0;
    auto point = [&](double q, double m, double n) {
        return m <= 0.4 ? 0.28 * q * n * n / (h * h * std::pow(0.16 + n * n, 3))
                        : 1.77 * q * m * m * n * n / (h * h * std::pow(m * m + n * n, 3));
    };
    auto line = [&](double q, double m, double n) {
        return m <= 0.4 ? 0.203 * q * n / (h * std::pow(0.16 + n * n, 2))
                        : 1.273 * q * m * m * n / (h * std::pow(m * m + n * n, 2));
    };
    auto strip = [&](double p, double m, double n, double b) {
        const double alpha = std::atan(m / n);
        const double beta = std::atan((m + b / (2.0 * h)) / n) - std::atan((m - b / (2.0 * h)) / n);
        return 0.6366 * p * (beta - std::sin(beta) * std::cos(2.0 * alpha));
    };
    const struct Case {
        const char* what;
        double x, point, line, strip, width;
    } cases[] = {
        {"point load, m = 0.5", 60.0, 1000.0, 0.0, 0.0, 0.0},
        {"point load near the wall, m = 0.2", 24.0, 1000.0, 0.0, 0.0, 0.0},
        {"line load near the wall", 24.0, 0.0, 100.0, 0.0, 0.0},
        {"line load, m = 1", 120.0, 0.0, 100.0, 0.0, 0.0},
        {"strip load 24 in wide", 36.0, 0.0, 0.0, 50.0, 24.0},
        {"all three at one distance", 60.0, 1000.0, 100.0, 50.0, 24.0},
    };
    layer(4, 120.0, kGamma, 0.0, 30.0);
    sand();
    for (const Case& c : cases) {
        auto& six = st->wallSoil.sixValues;
        six[2] = c.x;
        six[3] = c.point;
        six[4] = c.line;
        six[5] = c.strip;
        six[6] = c.width;
        ComputeEarthPressure(e);
        const double m = c.x / h;
        double force = 0.0;
        for (int k = 1; k <= 10; ++k) {
            const double n = k / 10.0;
            force += 12.0 * (point(c.point, m, n) + line(c.line, m, n) + strip(c.strip, m, n, c.width));
        }
        EXPECT_NEAR(w.pa1[1], force, 1e-7 * force) << c.what;  // 1.77, 0.203, 1.273, 0.6366 in single precision
        const double total = force + 0.5 * tanSquared(30.0) * kGamma * h * h;
        EXPECT_NEAR(w.resultant, total, kAngleTolerance * total) << c.what;
        for (int r = 1; r <= w.rowCount; ++r) EXPECT_EQ(w.rowSurcharge[r], 0.0) << c.what << " row " << r;
    }
}

TEST_F(EarthPressure, EchoOfLineAndStripSurchargeRows) {
    const std::string stars = "      **************************************************";
    const std::string frame =
        "\n\n" + stars + "\n      *              SURCHARGE INFORMATION             *\n" + stars + "\n\n";
    const struct Case {
        int units;
        double h, gamma, lineX, stripX, width;
        std::string expected;
    } cases[] = {
        {1, 120.0, kGamma, 120.0, 36.0, 24.0,
         frame + "      UNIFORM SURFACE PRESSURE     = 0.000E+00 LBS/IN**2\n"
                 "\n"
                 "      SURCHARGE LOADING NO.        =          1\n"
                 "      LINE LOAD                    =  0.200E+03 LBS/IN\n"
                 "      HORIZONTAL DISTANCE BETWEEN  =  0.120E+03 IN\n"
                 "      THE WALL AND SURCHARGE         \n"
                 "\n"
                 "\n"
                 "      SURCHARGE LOADING NO.        =          2\n"
                 "      STRIP LOAD                   =  0.500E+02 LBS/IN**2\n"
                 "      WIDTH OF THE STRIP LOAD      =  0.240E+02 IN\n"
                 "      HORIZONTAL DISTANCE BETWEEN  =  0.360E+02 IN\n"
                 "      THE WALL AND SURCHARGE         \n"
                 "\n"},
        {2, 4.0, 18.0, 4.0, 1.5, 1.0,
         frame + "      UNIFORM SURFACE PRESSURE     = 0.000E+00  KN/ M**2\n"
                 "\n"
                 "      SURCHARGE LOADING NO.        =          1\n"
                 "      LINE LOAD                    =  0.200E+03  KN/ M\n"
                 "      HORIZONTAL DISTANCE BETWEEN  =  0.400E+01  M\n"
                 "      THE WALL AND SURCHARGE         \n"
                 "\n"
                 "\n"
                 "      SURCHARGE LOADING NO.        =          2\n"
                 "      STRIP LOAD                   =  0.500E+02  KN/ M**2\n"
                 "      WIDTH OF THE STRIP LOAD      =  0.100E+01  M\n"
                 "      HORIZONTAL DISTANCE BETWEEN  =  0.150E+01  M\n"
                 "      THE WALL AND SURCHARGE         \n"
                 "\n"},
    };
    for (const Case& c : cases) {
        units(c.units);
        st->wallSoil.layerCount = 0;
        st->wallSoil.surchargeCount = 0;
        layer(4, 2.0 * c.h, c.gamma, 0.0, 30.0);
        st->wallSoil.freeHeight = c.h;
        surcharge(2, 200.0, c.lineX);
        surcharge(3, 50.0, c.stripX, c.width);
        ComputeEarthPressure(e);
        const std::string text = report();
        const std::size_t from = text.find("\n\n" + stars + "\n      *              SURCHARGE");
        const std::size_t to = text.find("\n\n" + stars + "\n      *                SOIL");
        ASSERT_NE(from, std::string::npos);
        ASSERT_NE(to, std::string::npos);
        EXPECT_TRUE(test::sameText(c.expected, text.substr(from, to - from))) << c.units;
    }
}

TEST_F(EarthPressure, TrapezoidAreaUsesTheRealRowSpacing) {
    // A free height that is no whole number of inches or of 0.05 m: the rows lie t / n apart, and the
    // trapezoid must still hold 1.3 times the Rankine area 0.5 Ka gamma H^2. By the nominal spacing its
    // peak would be 0.4 % (English) or 0.3 % (SI) off.
    const struct Case {
        int units;
        double h, gamma, phi;
        int springs;
        double first, last;
        int rows;
    } cases[] = {
        {1, 100.4, kGamma, 30.0, 1, 24.0, 24.0, 101},
        {1, 100.4, kGamma, 30.0, 2, 24.0, 72.0, 101},
        {2, 3.01, 18.0, 35.0, 1, 0.6, 0.6, 61},
        {2, 3.01, 18.0, 35.0, 2, 0.6, 2.0, 61},
    };
    st->run.earthPressureOption = 3;
    for (const Case& c : cases) {
        units(c.units);
        st->wallSoil.layerCount = 0;
        layer(4, 2.0 * c.h, c.gamma, 0.0, c.phi);
        st->wallSoil.freeHeight = c.h;
        supports(c.springs, c.first, c.last);
        ComputeEarthPressure(e);
        ASSERT_EQ(w.rowCount, c.rows);
        const double d = c.h;
        const double area = 0.5 * tanSquared(45.0 - c.phi / 2.0) * c.gamma * d * d;
        // Rising over a = 2 z1 / 3, falling over b = 2 (D - zl) / 3: the plateau counts whole, the slopes half.
        const double a = 2.0 * c.first / 3.0;
        const double b = 2.0 * (d - c.last) / 3.0;
        const double pmax = 1.3 * area / (d - (a + b) / 2.0);
        for (int r = 2; r <= w.rowCount; ++r) {
            const double z = w.rowDepth[r];
            const double expected = z < a ? pmax * z / a : (z <= d - b ? pmax : pmax * (d - z) / b);
            EXPECT_NEAR(w.rowTotal[r], expected, kAngleTolerance * pmax) << c.units << " " << c.springs << " " << z;
        }
    }
}

TEST(TrapezoidSupports, DepthsComeFromThisProblemsSingleStationSpringRows) {
    const std::string stations = "0 10 1 1000\n0\n";  // one stiffness row and no load rows before the springs
    const std::string earlier = "1\n4 4 1 10 20\n";   // an earlier problem's support at 48 in
    const std::string first = "     ERROR -- TRAPEZOIDAL EARTH PRESSURE NEEDS THE FIRST SPRING ROW AT ONE STATION";
    const std::string last = "     ERROR -- TRAPEZOIDAL EARTH PRESSURE NEEDS THE LAST SPRING ROW AT ONE STATION";
    const std::string below = "     ERROR -- SUPPORT AT DEPTH 0.132E+03 IS BELOW THE EXCAVATION LEVEL 0.120E+03";
    const struct Case {
        const char* springs;
        std::string message;  // empty when the trapezoid is made
        double plateau;       // trapezoid area per unit of its peak, H - (a + b) / 2
    } cases[] = {
        {"1\n2 2 1 10 20\n", "", 80.0},                  // a = 16, b = 64
        {"2\n2 2 1 10 20\n10 10 1 10 20\n", "", 112.0},  // the last support at the excavation level: b = 0
        {"0\n", "     ERROR -- TRAPEZOIDAL EARTH PRESSURE NEEDS A SUPPORT (SPRING ROW)", 0.0},
        {"1\n0 2 1 10 20\n", first, 0.0},
        {"2\n0 2 1 10 20\n6 6 1 10 20\n", first, 0.0},
        {"2\n2 2 1 10 20\n6 8 1 10 20\n", last, 0.0},
        {"2\n6 6 1 10 20\n2 2 1 10 20\n", "     ERROR -- FIRST SUPPORT IS DEEPER THAN THE LAST SUPPORT", 0.0},
        {"1\n11 11 1 10 20\n", below, 0.0},
        {"2\n2 2 1 10 20\n11 11 1 10 20\n", below, 0.0},
    };
    for (const Case& c : cases) {
        testing::StepRun run(stations + earlier + stations + c.springs);
        run.increments(10, 12.0, 120.0);
        run.control().nsr = 1;
        EngineState& st = run.st();
        st.run.unitSystem = 1;
        st.run.earthPressureOption = 3;
        WallSoilInput& in = st.wallSoil;
        in.freeHeight = 120.0;
        in.wa = in.wp = 12.0;
        in.activeModification = 1.0;
        in.waterTableBackfill = in.waterTableExcavation = 1.0e4;
        in.layerCount = 1;
        in.soilType[1] = 4;
        in.thickness[1] = 240.0;
        in.top[1][1] = kGamma;
        in.top[1][3] = 30.0;
        // Two problems on one state, as in one run: the second must not use the first one's supports.
        const std::string message = run.run([](Engine& e) {
            ReadStationTables(e);
            ComputeEarthPressure(e);
            ReadStationTables(e);
            ComputeEarthPressure(e);
        });
        EXPECT_EQ(message, c.message) << c.springs;
        if (!c.message.empty()) continue;
        const EarthPressureWork& w = st.earth;
        const double pmax = 1.3 * 0.5 * tanSquared(30.0) * kGamma * 120.0 * 120.0 / c.plateau;
        EXPECT_NEAR(w.rowTotal[21], pmax, kAngleTolerance * pmax) << c.springs;       // 20 in: on the plateau
        EXPECT_NEAR(w.rowTotal[9], pmax / 2.0, kAngleTolerance * pmax) << c.springs;  // 8 in: half way up
        EXPECT_NEAR(w.rowDepth[21], 20.0, 1e-12);
    }
}

}  // namespace
}  // namespace velmor::engine
