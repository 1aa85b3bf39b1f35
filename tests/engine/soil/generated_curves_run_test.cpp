#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "acceptance/engine_runner.h"
#include "acceptance/plot_reader.h"
#include "soildata_reader.h"
#include "support/test_support.h"

namespace velmor::engine {
namespace {

using test::PlotSeries;

// A cantilever of 20 increments of 12 in (240 in), free height 120 in, EI = 1e10 lb in^2, loaded by a
// lateral load of `load` lb at its head, with no earth pressure and curves generated for one soil layer
// reaching below the toe (the soil model ends 144 in below the excavation: stations at 0.1, 36, 72, 108 and
// 143.9 in); WP = 24 in, and WA = `wa` in (WA = WP: a continuous wall).
std::string cantilever(const std::string& title, double load, double wa, const std::string& layer) {
    char loadLine[64];
    std::snprintf(loadLine, sizeof loadLine, "1\t0\t0\t%.1f\t0\t0\r\n", load);
    char wallLine[64];
    std::snprintf(wallLine, sizeof wallLine, "120\t%.1f\t24\t1000\t1000\t1\t1\t0\r\n", wa);
    return title + "\r\n1 0\t1\t0\t0\t2 0 1 0\r\n20 12\t10\t0.0001\t120\r\n0\t20\t1\t1E10\r\n1\r\n" + loadLine +
           "0\r\n" + wallLine + "0\t0\t0\t0\t0\t0\r\n0\r\n1\r\n" + layer + "0\r\n";
}

const char kSandLayer[] = "4\t400\r\n0.065\t0\t35\t0\t90\t0\r\n0.065\t0\t35\t0\t90\t0\r\n";
const char kSoftClayLayer[] = "1\t400\r\n0.07\t5\t0\t0.02\t0\t0\r\n0.07\t5\t0\t0.02\t0\t0\r\n";

// 0.5292 x 2^0.5659 with its single-precision constants: WA / WP = 2 below the excavation level.
const double kSpacedMultiplier = double(0.5292f) * std::pow(2.0, double(0.5659f));

TEST(GeneratedCurvesRun, CantileversInSandAndInSoftClay) {
    // Row 17 of station 3 (d = 72 in) on the excavation side holds p = pm pu (no earth pressure, no shift),
    // worked by hand:
    // - sand (phi = 35 deg, gamma = 0.065, x/b = 3: A = 1.06), continuous wall: pu = A b Kpc gamma x with
    //   Kpc(35 deg, 17.5 deg) = 7.3567442: 875.888029; elements at WA/WP = 2: the wedge pst = 1384.9762 is
    //   below the flow psd = 6042.4000, pu = 1.06 pst, times the p-multiplier 0.78338046: 1150.060989;
    // - soft clay (c = 5, gamma = 0.07, E50 = 0.02), continuous wall: gamma x b + 2cb = 360.96; at WA/WP = 2:
    //   c b (3 + gamma x / c + 0.5 x / b) = 660.96, times the p-multiplier.
    const struct Case {
        const char* name;
        const char* layer;  // soil type and bottom, six values at the top and at the bottom
        double wa;
        std::size_t lastRow;  // row 17 of the excavation side in a station block
        double lastP;
    } cases[] = {
        {"sand", kSandLayer, 24.0, 27, 875.888029},
        {"soft clay", kSoftClayLayer, 24.0, 25, 360.96},
        {"sand at WA/WP = 2", kSandLayer, 48.0, 27, 1150.060989},
        {"soft clay at WA/WP = 2", kSoftClayLayer, 48.0, 25, kSpacedMultiplier * 660.96},
    };
    const double load = 2000.0;
    for (const Case& c : cases) {
        test::ScratchDir dir;
        test::writeFile("project.vm4d", cantilever(std::string("Cantilever in ") + c.name, load, c.wa, c.layer));
        ASSERT_EQ(test::runThroughLibrary("project.vm4d"), 0) << c.name;
        const std::string report = test::reportText();
        EXPECT_NE(report.find("END OF ANALYSIS"), std::string::npos) << c.name;
        EXPECT_EQ(report.find("NOT CLOSED"), std::string::npos) << c.name;
        EXPECT_EQ(report.find("EXCEEDED"), std::string::npos) << c.name;
        EXPECT_EQ(report.find("NOT FINITE"), std::string::npos) << c.name;
        const std::vector<std::string> block = soiltest::stationBlock(report, 3, c.lastRow + 1);
        ASSERT_EQ(block.size(), c.lastRow + 1) << c.name;
        // F20.3 rows; the hand values carry six decimals.
        EXPECT_NEAR(soiltest::rowP(block[c.lastRow]), c.lastP, 5.1e-4) << c.name;
        const test::PlotFile plot = test::readPlotFile(test::plotPath());
        ASSERT_TRUE(plot.complete) << c.name << ": " << plot.error;
        ASSERT_EQ(plot.series.size(), 1u) << c.name;
        const PlotSeries& s = plot.series[0];
        // Statics of the whole wall: the head load and the net soil reactions (forces per station) balance in
        // force and in moment about the head. Rows carry 4 significant digits, so 0.5 percent of the load.
        ASSERT_EQ(s.resultRows.size(), 22u) << c.name;
        double force = 0.0;
        double moment = 0.0;
        for (const auto& row : s.resultRows) {
            force += row[4];
            moment += row[4] * row[0];
        }
        EXPECT_NEAR(force, 0.0, 5e-3 * load) << c.name;
        EXPECT_NEAR(moment, 0.0, 5e-3 * load * 240.0) << c.name;
        // Above the excavation level the wall is a cantilever under its head load: M = P x.
        for (int st = 0; st <= 9; ++st) {
            EXPECT_NEAR(s.resultRows[st][2], load * 12.0 * st, 5e-4 * load * 120.0) << c.name << " station " << st;
        }
        EXPECT_GT(s.resultRows[0][1], 0.0) << c.name;

        // The five generated curves, two-sided: from the backfill side's largest deflection (negative y,
        // resistance pushing back, p >= 0) through the origin to the excavation side's (p <= 0).
        ASSERT_EQ(s.curves.size(), 5u) << c.name;
        EXPECT_NEAR(s.curves[0].header, 120.0 + double(0.1f), 5e-3) << c.name;
        for (const auto& curve : s.curves) {
            ASSERT_EQ(curve.points.size(), 33u) << c.name;
            EXPECT_EQ(curve.points[16].first, 0.0) << c.name;
            EXPECT_EQ(curve.points[16].second, 0.0) << c.name;
            for (std::size_t j = 1; j < 33; ++j) {
                EXPECT_LT(curve.points[j - 1].first, curve.points[j].first) << c.name << " at " << curve.header;
            }
            for (std::size_t j = 0; j < 16; ++j) EXPECT_GT(curve.points[j].second, 0.0) << c.name;
            for (std::size_t j = 17; j < 33; ++j) EXPECT_LT(curve.points[j].second, 0.0) << c.name;
        }
    }
}

}  // namespace
}  // namespace velmor::engine
