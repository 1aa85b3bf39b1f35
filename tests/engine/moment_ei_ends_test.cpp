#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "input_records.h"
#include "input_test_harness.h"
#include "wall_solver.h"

namespace velmor::engine {
namespace {

using testing::StepRun;

// The moment-EI update gives a station the curve's rigidity times the share of it that the stiffness rows
// gave the station: the difference equations treat the ends of the wall as carrying half a span.
TEST(MomentEIUpdate, EndStationsOfTheRowsKeepHalfTheRigidity) {
    // Constant curvature 2c/h^2 = 0.04 everywhere (W = c s^2, h = 1): on the polyline (0, 2000),
    // (100, 1000), (1e6, 1000) the rigidity meets EI = 2000 - 10 phi EI, so EI = 2000 / 1.4.
    const double full = 2000.0 / 1.4;
    const struct {
        const char* what;
        const char* rows;
        int count;
        std::vector<double> weight;  // stations 0..10
    } cases[] = {
        {"one span over the wall", "0 10 1 100", 1, {0.5, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0.5}},
        {"two spans meeting at 5", "0 5 1 100\n5 10 1 300", 2, {0.5, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0.5}},
        {"varying span", "0 0 2 100\n0 10 1 300", 2, {0.5, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0.5}},
        {"rows ending above the tip", "0 6 1 100", 1, {0.5, 1, 1, 1, 1, 1, 0.5, 1, 1, 1, 1}},
        {"overlapping spans", "0 6 1 100\n2 10 1 10", 2, {0.5, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0.5}},
        {"one-station row at the head", "0 0 1 50\n1 10 1 100", 2, {1, 0.5, 1, 1, 1, 1, 1, 1, 1, 1, 0.5}},
    };
    for (const auto& c : cases) {
        StepRun run(std::string(c.rows) + "\n0\n0\n");
        run.increments(10, 1.0);
        run.control().nsr = c.count;
        ASSERT_EQ(run.run(ReadStationTables), "") << c.what;
        EngineState& st = run.st();
        for (int s = -1; s <= 11; ++s) st.stations.w[position(s)] = 0.02 * s * s;
        MEICurveStore& mei = st.meiCurves;
        mei.count = 1;
        mei.first[1] = position(0);
        mei.last[1] = position(10);
        mei.pointCount[1] = 3;
        mei.moment[1] = {0.0, 0.0, 100.0, 1e6};
        mei.ei[1] = {0.0, 2000.0, 1000.0, 1000.0};
        UpdateRigidity(run.e());
        for (int s = 0; s <= 10; ++s) {
            EXPECT_NEAR(st.stations.ei[position(s)], full * c.weight[s], 1e-9 * full) << c.what << ", station " << s;
        }
    }
}

// A cantilever clamped at its tip under a head load, with its rigidity in stiffness rows, and optionally
// one moment-EI curve flat at the wall's own rigidity. The curve must change nothing, wherever it lies.
std::string cantilever(const char* stiffnessRows, int rowCount, const char* meiCurve) {
    const bool curve = meiCurve[0] != '\0';
    return "Cantilever under a head load\n1 1 " + std::to_string(rowCount) + " 0 0 0 0 1 " + (curve ? "1" : "0") +
           "\n10 12.0 100.0 0.0000001 0.0\n3 10 0.0 0.0\n" + stiffnessRows + "\n1\n1 0 0 1000.0 0.0 0.0\n0\n" +
           meiCurve + "0\n";
}

TEST(MomentEIUpdate, CurveFlatAtTheWallsRigidityChangesNothing) {
    const struct {
        const char* what;
        const char* rows;
        int count;
        const char* curve;
    } cases[] = {
        {"curve over the whole wall", "0 10 1 5.0E9", 1, "0 10 2\n0.0 5.0E9\n1.0E12 5.0E9\n"},
        {"curve over the whole wall, two spans", "0 4 1 5.0E9\n4 10 1 5.0E9", 2, "0 10 2\n0.0 5.0E9\n1.0E12 5.0E9\n"},
        {"curve down to the tip", "0 10 1 5.0E9", 1, "6 10 2\n0.0 5.0E9\n1.0E12 5.0E9\n"},
        {"curve above the tip", "0 10 1 5.0E9", 1, "0 9 2\n0.0 5.0E9\n1.0E12 5.0E9\n"},
    };
    for (const auto& c : cases) {
        std::vector<double> plain, withCurve;
        for (const char* curve : {"", c.curve}) {
            testing::RunWhole(cantilever(c.rows, c.count, curve));
            const NodalResults& r = engineState().results;
            ASSERT_EQ(r.rowCount, 12) << c.what;
            std::vector<double>& out = curve[0] ? withCurve : plain;
            for (int s = 0; s < r.rowCount; ++s) {
                out.insert(out.end(), {r.deflection[s], r.moment[s], r.shear[s], r.reaction[s]});
            }
        }
        ASSERT_EQ(plain.size(), withCurve.size());
        // The head deflection P L^3 / 3EI + P L h^2 / 6EI of the clamped discrete cantilever, as a check
        // that the run is the one meant.
        const double l = 120.0, p = 1000.0, ei = 5.0e9;
        EXPECT_NEAR(plain[0], p * l * l * l / (3.0 * ei) + p * l * 144.0 / (6.0 * ei), 1e-9) << c.what;
        for (std::size_t i = 0; i < plain.size(); ++i) {
            EXPECT_NEAR(withCurve[i], plain[i], 1e-12 * (std::abs(plain[i]) + 1e-9)) << c.what << ", value " << i;
        }
    }
}

}  // namespace
}  // namespace velmor::engine
