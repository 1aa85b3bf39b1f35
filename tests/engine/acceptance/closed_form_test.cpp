#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "acceptance/engine_runner.h"
#include "acceptance/plot_reader.h"
#include "support/test_support.h"

namespace velmor::test {
namespace {

// Whole runs through the input file and the library, compared with closed-form mechanics. The plot-data
// file carries 4 significant digits (E13.4 result rows) and 3 in the earth-pressure rows (E10.3): each
// tolerance below adds that rounding to the error of the method itself.

std::string line(std::initializer_list<std::string> items, const char* sep = "\t") {
    std::string text;
    for (const std::string& item : items) text += (text.empty() ? "" : sep) + item;
    return text + "\r\n";
}

std::string num(double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.17g", v);
    return buf;
}

PlotSeries runSingle(const std::string& input, std::string* report = nullptr) {
    writeFile("project.vm4d", input);
    EXPECT_EQ(runThroughLibrary("project.vm4d", "wall.vm4d"), 0);
    if (report) *report = reportText();
    PlotFile plot = readPlotFile(plotPath());
    EXPECT_TRUE(plot.complete) << plot.error;
    EXPECT_EQ(plot.series.size(), 1u);
    return plot.series.empty() ? PlotSeries{} : plot.series[0];
}

// A wall of `ni` increments of `h` in dry sand (phi 30 degrees) of unit weight `gamma`, with its
// excavation level at `height` and widths for earth pressure `wa`; no soil springs. A clamped wall has
// its tip fixed (deflection and slope zero) and a tight closure tolerance.
std::string drySandWall(int unitSystem, double gamma, int ni, double h, double height, double wa, double ei,
                        bool clamped) {
    const std::string sand = num(gamma) + " 0.0  30 0.0  90 0.0  \r\n";
    return "Wall in dry sand under active pressure\r\n" +
           line(
               {std::to_string(unitSystem) + (clamped ? " 1" : " 0"), "1", "0", "2", clamped ? "0 0 1 0" : "2 0 1 0"}) +
           line({std::to_string(ni) + " " + num(h), "100", clamped ? "0.00001" : "0.001", num(height)}) +
           (clamped ? line({"3", std::to_string(ni), "0", "0"}) : std::string()) +
           line({"0", std::to_string(ni), "1", num(ei)}) + "0\r\n0\r\n" +
           line({num(height), num(wa), num(wa), "1000", "1000", "1", "1", "0"}) + line({"0", "0", "0", "0", "0", "0"}) +
           "0\r\n1\r\n4 " + num(3.0 * height) + " \r\n" + sand + sand + "0\r\n";
}

TEST(ClosedForm, CantileverUnderHeadLoadWithoutSoil) {
    // Clamped at the tip (deflection and slope zero, one row of case 3), a load P at the head, one
    // stiffness row (half rigidity at the end stations). Summing the station curvatures P x / EI twice with
    // the clamp's central-difference slope gives P L^3 / 3EI + P L h^2 / 6EI; the moment is P x exactly.
    ScratchDir dir;
    const int ni = 40;
    const double h = 6.0, ei = 2.9e9, p = 2000.0, l = ni * h;
    std::string input = "Cantilever with a head load and no soil\r\n" + line({"1 1", "1", "0", "0", "0 0 1 0"}) +
                        line({std::to_string(ni) + " " + num(h), "100", "0.00001", "0"}) +
                        line({"3", std::to_string(ni), "0", "0"}) + line({"0", std::to_string(ni), "1", num(ei)}) +
                        "1\r\n" + line({"1", "0", "0", num(p), "0", "0"}) + "0\r\n0\r\n";
    PlotSeries s = runSingle(input);
    ASSERT_EQ(s.resultRows.size(), static_cast<std::size_t>(ni + 2));
    const double expected = p * l * l * l / (3.0 * ei) + p * l * h * h / (6.0 * ei);
    EXPECT_NEAR(s.resultRows[0][1], expected, 5e-4 * expected);  // 4 digits
    for (int st = 0; st < ni; ++st)
        EXPECT_NEAR(s.resultRows[st][2], p * st * h, 5e-4 * p * l) << "moment at station " << st;
    EXPECT_NEAR(s.resultRows[ni][1], 0.0, 1e-9 * expected);
}

TEST(ClosedForm, LongWallOnLinearSpringsFollowsHetenyi) {
    // A long wall on a continuous elastic support of modulus k (force per length per deflection), loaded
    // at its free head by P: y(0) = 2 P beta / k, maximum moment 0.3224 P / beta at x = pi / (4 beta), with
    // beta = (k / 4EI)^(1/4). The support is one spring row of stiffness k h per station (half at the
    // ends, as the span rule gives). beta L = 13.4, so the wall acts as semi-infinite; beta h = 0.034, so
    // the central differences are within (beta h)^2 = 0.1 % of the continuous beam.
    ScratchDir dir;
    const int ni = 400;
    const double h = 1.5, ei = 1.0e9, k = 1000.0, p = 5000.0;
    const double beta = std::pow(k / (4.0 * ei), 0.25);
    std::string input = "Long wall on linear springs under a head load\r\n" + line({"1 0", "1", "0", "0", "0 0 1 0"}) +
                        line({std::to_string(ni) + " " + num(h), "100", "0.00001", "0"}) +
                        line({"0", std::to_string(ni), "1", num(ei)}) + "1\r\n" +
                        line({"1", "0", "0", num(p), "0", "0"}) + "1\r\n" +
                        line({"0", std::to_string(ni), "1", num(k * h), "0"}) + "0\r\n";
    PlotSeries s = runSingle(input);
    ASSERT_EQ(s.resultRows.size(), static_cast<std::size_t>(ni + 2));
    const double y0 = 2.0 * p * beta / k;
    EXPECT_NEAR(s.resultRows[0][1], y0, 3e-3 * y0);
    double maxMoment = 0.0, atDepth = 0.0;
    for (const auto& r : s.resultRows) {
        if (std::fabs(r[2]) > std::fabs(maxMoment)) {
            maxMoment = r[2];
            atDepth = r[0];
        }
    }
    const double mMax = p * std::exp(-M_PI / 4.0) * std::sin(M_PI / 4.0) / beta;
    EXPECT_NEAR(std::fabs(maxMoment), mMax, 3e-3 * mMax);
    EXPECT_NEAR(atDepth, M_PI / (4.0 * beta), 2.0 * h);  // the peak is flat: found within a station or two
}

TEST(ClosedForm, RankineActivePressureInSand) {
    // Dry sand of friction angle 30 degrees behind a wall of free height H: Ka = tan^2(45 - phi/2) = 1/3
    // and the lateral pressure at depth z is Ka gamma z times the width for earth pressure WA. The profile
    // rows carry 3 digits (E10.3), so each is within 0.5 % of the closed form (plus the single-precision pi
    // of the coefficients, 1e-5).
    struct Case {
        int unitSystem;
        double gamma, height, wa, h;
    };
    const Case cases[] = {{1, 0.06, 120.0, 12.0, 6.0}, {2, 18.0, 3.0, 1.0, 0.15}};
    for (const Case& c : cases) {
        ScratchDir dir;
        std::string report;
        const double ei = c.unitSystem == 1 ? 5.3e9 : 5.0e4;
        PlotSeries s = runSingle(drySandWall(c.unitSystem, c.gamma, 40, c.h, c.height, c.wa, ei, false), &report);
        EXPECT_EQ(report.find("ERROR"), std::string::npos) << report;
        ASSERT_GE(s.pressureRows.size(), 10u) << c.unitSystem;
        for (const auto& r : s.pressureRows) {
            const double expected = c.gamma * r[0] / 3.0 * c.wa;
            EXPECT_NEAR(r[1], expected, 5e-3 * c.gamma * c.height * c.wa / 3.0) << "depth " << r[0];
        }
        EXPECT_NEAR(s.pressureRows.back()[0], c.height, 1e-9 * c.height);
    }
}

TEST(ClosedForm, ShearBelowTheExcavationSumsEveryStationsActivePressure) {
    // A wall clamped at its tip, without soil springs, under the generated Rankine pressure of dry sand
    // (phi 30 degrees, Ka = 1/3) down to the excavation level H = 6 h. Station j carries Ka gamma WA (j h) h,
    // so by statics the shear between the excavation level and the tip is Ka gamma WA h^2 (1 + ... + 6) =
    // 21 Ka gamma WA h^2. H has four significant digits (4.572 m, 118.11 in) and comes back from the
    // three-digit profile file as 4.57 or 118, just above the station at the excavation level, which must
    // still carry its full load (6 of the 21 parts; the load of the station above would lose 1 part, 4.8 %).
    // The profile rows carry 3 digits (0.5 %) and the plot rows 4.
    struct Case {
        int unitSystem;
        double gamma, height, h, ei;
    };
    const Case cases[] = {{2, 18.0, 4.572, 0.762, 5.0e4}, {1, 0.0636, 118.11, 19.685, 5.3e9}};
    for (const Case& c : cases) {
        ScratchDir dir;
        const int ni = 12;
        std::string report;
        PlotSeries s = runSingle(drySandWall(c.unitSystem, c.gamma, ni, c.h, c.height, 1.0, c.ei, true), &report);
        EXPECT_EQ(report.find("ERROR"), std::string::npos) << report;
        ASSERT_EQ(s.resultRows.size(), static_cast<std::size_t>(ni + 2)) << c.unitSystem;
        const double expected = 21.0 * c.gamma * c.h * c.h / 3.0;
        for (int st = 8; st <= 10; ++st)
            EXPECT_NEAR(std::fabs(s.resultRows[st][3]), expected, 5e-3 * expected)
                << "units " << c.unitSystem << ", shear at station " << st;
    }
}

}  // namespace
}  // namespace velmor::test
