#include "input_records.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "earth_pressure.h"
#include "input_test_harness.h"

namespace velmor::engine {
namespace {

using testing::StepRun;

// Station-table values are sums of a few products and quotients of values of order 1e2..1e9, so they
// agree with the hand values to far better than one part in 1e12.
constexpr double kRelative = 1e-12;

void expectStations(const StationReals& table, const std::vector<double>& expected, const std::string& what) {
    for (std::size_t s = 0; s < expected.size(); ++s) {
        EXPECT_NEAR(table[static_cast<std::size_t>(position(static_cast<int>(s)))], expected[s],
                    kRelative * std::fabs(expected[s]) + 1e-12)
            << what << ", station " << s;
    }
}

// The report message with which `step` ends the run on a wall of 10 increments of 12, the control count
// `count` (NSR, NDS, ...) set to `value` ("" when the step goes through).
std::string endMessage(const std::string& input, int32_t ProblemControl::*count, int32_t value,
                       const std::function<void(Engine&)>& step) {
    StepRun run(input);
    run.increments(10, 12.0);
    run.control().*count = value;
    return run.run(step);
}

// Stiffness rows on a wall of 10 increments; EI by station 0..12 written out from the span rule: a span
// adds its values linearly between its ends, each end station getting half.
TEST(SpanRule, StiffnessRowsGiveTheseRigidities) {
    const struct {
        const char* what;
        const char* rows;
        int count;
        std::vector<double> ei;
    } cases[] = {
        {"one constant span", "0 10 1 100", 1, {50, 100, 100, 100, 100, 100, 100, 100, 100, 100, 50, 0, 0}},
        {"two touching spans", "0 5 1 100\n5 10 1 100", 2, {50, 100, 100, 100, 100, 100, 100, 100, 100, 100, 50, 0, 0}},
        {"one station", "4 4 1 100", 1, {0, 0, 0, 0, 100, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"interpolated then constant",
         "0 99 2 100\n-7 10 1 200",
         2,
         {50, 110, 120, 130, 140, 150, 160, 170, 180, 190, 100, 0, 0}},
        {"chain of two varying spans",
         "0 0 2 100\n0 5 2 200\n0 10 1 100",
         3,
         {50, 120, 140, 160, 180, 200, 180, 160, 140, 120, 50, 0, 0}},
        {"real division in the interpolation", "0 0 2 0\n0 3 1 1", 2, {0, 1.0 / 3.0, 2.0 / 3.0, 0.5, 0, 0}},
        // An open span at the end of its rows is applied over its own row as a constant span.
        {"span left open by its own row", "2 6 2 100", 1, {0, 0, 50, 100, 100, 100, 50, 0, 0, 0, 0}},
        // A span opened where another closed has already given that station its half value.
        {"span left open after a closed one", "0 0 2 100\n0 4 2 200", 2, {50, 125, 150, 175, 100, 0, 0, 0}},
        {"overlapping spans add up", "0 4 1 100\n2 6 1 10", 2, {50, 100, 105, 110, 60, 10, 5, 0}},
    };
    for (const auto& c : cases) {
        StepRun run(std::string(c.rows) + "\n0\n0\n");
        run.increments(10, 12.0);
        run.control().nsr = c.count;
        ASSERT_EQ(run.run(ReadStationTables), "") << c.what;
        expectStations(run.st().stations.ei, c.ei, c.what);
        for (int s = -3; s <= 13; ++s) {
            EXPECT_EQ(run.st().stations.q[static_cast<std::size_t>(position(s))], 0.0) << c.what;
        }
    }
}

TEST(SpanRule, LoadsFeedQTAndPWithMomentsInTheList) {
    // Load rows: a point load with moment and axial load at station 3, a distributed load over 2..6, and a
    // load whose moment is zero.
    StepRun run("0 10 1 1000\n3\n1 3 3 500 1200 100\n1 2 6 10 0 0\n1 8 8 0 0 -40\n0\n");
    run.increments(10, 12.0);
    run.control().nsr = 1;
    ASSERT_EQ(run.run(ReadStationTables), "");
    const WallStations& w = run.st().stations;
    expectStations(w.q, {0, 0, 5, 510, 10, 10, 5, 0, 0, 0, 0, 0}, "Q");
    expectStations(w.t, {0, 0, 0, 1200, 0, 0, 0, 0, 0, 0, 0}, "T");
    // Axial loads are stored with reversed sign.
    expectStations(w.p, {0, 0, 0, -100, 0, 0, 0, 0, 40, 0, 0}, "P");
    expectStations(w.s, std::vector<double>(13, 0.0), "S");
    expectStations(w.r, std::vector<double>(13, 0.0), "R");

    const ConcentratedMoments& m = run.st().moments;
    ASSERT_EQ(m.count, 3);
    EXPECT_EQ(m.station[1], 3);
    EXPECT_DOUBLE_EQ(m.value[1], 1200.0 / 24.0);  // M / 2h
    EXPECT_EQ(m.station[2], 2);
    EXPECT_EQ(m.value[2], 0.0);
    EXPECT_EQ(m.station[3], 8);
    EXPECT_EQ(m.value[3], 0.0);
}

TEST(SpanRule, SpringsFeedSAndROnlyAndMarkSupports) {
    const struct {
        const char* what;
        const char* rows;
        double first, last;  // support depths; -1 stands for "left as it was"
    } cases[] = {
        {"one single-station row", "1\n4 4 1 10 20\n", 48.0, 48.0},
        {"first row spans, last row single", "2\n0 2 1 10 20\n6 6 1 10 20\n", -1.0, 72.0},
        {"first row single, last row spans", "2\n3 3 1 10 20\n6 8 1 10 20\n", 36.0, -1.0},
        {"no spring rows", "0\n", -1.0, -1.0},
    };
    for (const auto& c : cases) {
        StepRun run(std::string("0 10 1 1000\n0\n") + c.rows);
        run.increments(10, 12.0);
        run.control().nsr = 1;
        run.st().run.firstSupportDepth = -1.0;
        run.st().run.lastSupportDepth = -1.0;
        ASSERT_EQ(run.run(ReadStationTables), "") << c.what;
        EXPECT_EQ(run.st().run.firstSupportDepth, c.first) << c.what;
        EXPECT_EQ(run.st().run.lastSupportDepth, c.last) << c.what;
        for (int s = 0; s <= 12; ++s) {
            std::size_t i = static_cast<std::size_t>(position(s));
            EXPECT_EQ(run.st().stations.t[i], 0.0) << c.what;
            EXPECT_EQ(run.st().stations.p[i], 0.0) << c.what;
            EXPECT_EQ(run.st().stations.q[i], 0.0) << c.what;
        }
    }
    StepRun run("0 10 1 1000\n0\n1\n0 2 1 10 20\n");
    run.increments(10, 12.0);
    run.control().nsr = 1;
    ASSERT_EQ(run.run(ReadStationTables), "");
    EXPECT_EQ(run.st().run.springRowCount, 1);
    expectStations(run.st().stations.s, {5, 10, 5, 0}, "S");
    expectStations(run.st().stations.r, {10, 20, 10, 0}, "R");
}

TEST(SpanRule, RowsThatCannotBeAppliedEndTheRun) {
    const std::string notInOrder = "     ERROR STOP -- STATIONS NOT IN ORDER";
    const struct {
        const char* what;
        int nsr;
        const char* input;
        std::string message;
    } cases[] = {
        {"TO before FROM", 1, "5 4 1 100\n0\n0\n", notInOrder},
        {"closing station before the span start", 2, "6 0 2 100\n0 3 1 100\n0\n0\n", notInOrder},
        {"CONTD 3", 1, "0 10 3 100\n0\n0\n", notInOrder},
        {"CONTD 0", 1, "0 10 0 100\n0\n0\n", notInOrder},
        {"load with CONTD -1", 1, "0 10 1 100\n1\n-1 2 2 5 0 0\n0\n", notInOrder},
        {"stiffness below the tables", 1, "0 13 1 100\n0\n0\n",
         "     ERROR STOP -- STATION 13 IS OUTSIDE THE RANGE 0 TO 12"},
        {"stiffness above the top", 1, "-1 10 1 100\n0\n0\n",
         "     ERROR STOP -- STATION -1 IS OUTSIDE THE RANGE 0 TO 12"},
        {"load FROM of a closing row", 1, "0 10 1 100\n2\n2 1 1 5 0 0\n1 -2147483648 4 5 0 0\n0\n",
         "     ERROR STOP -- STATION -2147483648 IS OUTSIDE THE RANGE 0 TO 12"},
        {"spring TO", 1, "0 10 1 100\n0\n1\n2 2147483647 1 5 0\n",
         "     ERROR STOP -- STATION 2147483647 IS OUTSIDE THE RANGE 0 TO 12"},
        {"open span whose own TO is out of range", 1, "0 40 2 100\n0\n0\n",
         "     ERROR STOP -- STATION 40 IS OUTSIDE THE RANGE 0 TO 12"},
        {"501 load rows", 1, "0 10 1 100\n501\n", "     TOO MUCH DATA FOR AVAILABLE STORAGE"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(endMessage(c.input, &ProblemControl::nsr, c.nsr, ReadStationTables), c.message) << c.what;
    }
}

TEST(SpanRule, NoStiffnessRowsSkipsLoadsAndSprings) {
    StepRun run("this line is not read\n");
    run.increments(10, 12.0);
    run.st().stations.ei[5] = 7.0;
    run.st().moments.count = 4;
    bool full = true;
    ASSERT_EQ(run.run([&](Engine& e) { full = ReadStationTables(e); }), "");
    EXPECT_FALSE(full);
    EXPECT_EQ(run.st().stations.ei[5], 0.0);
    EXPECT_EQ(run.st().moments.count, 0);
}

struct RestraintCase {
    const char* what;
    int nds;
    const char* rows;
    std::vector<std::pair<int, int>> codes;  // station, code; every other station keeps 1
};

TEST(Restraints, CodesAroundTheGivenStations) {
    const RestraintCase cases[] = {
        {"deflection and slope at the top", 1, "3 0 0.0 0.0", {{-1, 3}, {0, 4}, {1, 5}}},
        {"slope only", 1, "2 5 0.0 0.01", {{4, 3}, {6, 5}}},
        {"deflection, case 1", 1, "1 10 0.5 0.0", {{10, 2}}},
        {"deflection, case 0 and below", 2, "0 -1 0.0 0.0\n-4 11 0.0 0.0", {{-1, 2}, {11, 2}}},
        {"case above 3 gives both", 1, "7 10 0.0 0.0", {{9, 3}, {10, 4}, {11, 5}}},
        {"rows two stations apart", 3, "1 2 0 0\n1 3 0 0\n2 5 0 0", {{2, 2}, {3, 2}, {4, 3}, {6, 5}}},
    };
    for (const auto& c : cases) {
        StepRun run(c.rows);
        run.increments(10, 12.0);
        run.control().nds = c.nds;
        ASSERT_EQ(run.run(ReadRestraints), "") << c.what;
        for (int s = -3; s <= 13; ++s) {
            int expected = 1;
            for (auto [station, code] : c.codes) {
                if (station == s) expected = code;
            }
            EXPECT_EQ(run.st().stations.restraintCode[static_cast<std::size_t>(position(s))], expected)
                << c.what << ", station " << s;
        }
        EXPECT_EQ(run.st().restraints.count, c.nds) << c.what;
    }
    StepRun run("2 5 0.25 0.01\n3 8 -0.5 0.02");
    run.increments(10, 12.0);
    run.control().nds = 2;
    ASSERT_EQ(run.run(ReadRestraints), "");
    const RestraintValues& rv = run.st().restraints;
    EXPECT_EQ(rv.deflection[1], 0.25);
    EXPECT_EQ(rv.slope[1], 0.01);
    EXPECT_EQ(rv.deflection[2], -0.5);
    EXPECT_EQ(rv.slope[2], 0.02);
}

TEST(Restraints, RowsTheSolverCannotUseEndTheRun) {
    const std::string notInOrder = "     ERROR STOP -- STATIONS NOT IN ORDER";
    const std::string overlapAt5 =
        "     ERROR STOP -- SPECIFIED DEFLECTIONS AND SLOPES OVERLAP AT STATION 5\n"
        "     GIVE A DEFLECTION AND A SLOPE AT ONE STATION AS ONE ROW OF CASE 3";
    const struct {
        const char* what;
        int nds;
        const char* rows;
        std::string message;
    } cases[] = {
        {"stations falling", 2, "1 5 0 0\n1 4 0 0", notInOrder},
        {"first station above -1", 1, "1 -2 0 0", notInOrder},
        {"deflection below the fictitious station", 1, "1 12 0 0",
         "     ERROR STOP -- STATION 12 IS OUTSIDE THE RANGE -1 TO 11"},
        {"slope at the fictitious station", 1, "2 -1 0 0",
         "     ERROR STOP -- STATION -1 IS OUTSIDE THE RANGE 0 TO 10"},
        {"slope below the tip", 1, "3 11 0 0", "     ERROR STOP -- STATION 11 IS OUTSIDE THE RANGE 0 TO 10"},
        {"deflection and slope in two rows", 2, "1 5 0 0\n2 5 0 0", overlapAt5},
        {"two deflections at one station", 2, "1 5 0 0\n1 5 0 0", overlapAt5},
        {"slopes at neighbouring stations", 2, "2 4 0 0\n2 5 0 0", overlapAt5},
        {"slopes two stations apart", 2, "2 3 0 0\n2 5 0 0", overlapAt5},
        {"deflection next to a slope", 2, "1 4 0 0\n2 5 0 0", overlapAt5},
        {"21 rows", 21, "", "     TOO MUCH DATA FOR AVAILABLE STORAGE"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(endMessage(c.rows, &ProblemControl::nds, c.nds, ReadRestraints), c.message) << c.what;
    }
}

TEST(Increments, CopiesForTheOtherModules) {
    StepRun run("10 12.0 1.5 0.001 60.0");
    run.control().unitCode = 2;
    ASSERT_EQ(run.run([](Engine& e) {
        ReadIncrements(e);
        DeriveStepQuantities(e.st);
    }),
              "");
    const EngineState& st = run.st();
    EXPECT_EQ(st.control.ni, 10);
    EXPECT_EQ(st.control.h, 12.0);
    EXPECT_EQ(st.control.maxDeflection, 1.5);
    EXPECT_EQ(st.control.closureTolerance, 0.001);
    EXPECT_EQ(st.control.freeHeight, 60.0);
    EXPECT_EQ(st.control.twoH, 24.0);
    EXPECT_EQ(st.control.hSquared, 144.0);
    EXPECT_EQ(st.control.hCubed, 1728.0);
    EXPECT_EQ(st.geometry.h, 12.0);
    EXPECT_EQ(st.geometry.ni, 10);
    EXPECT_EQ(st.geometry.freeHeight, 60.0);
    EXPECT_EQ(st.geometry.unitCode, 2);
    EXPECT_EQ(st.run.h, 12.0);
    EXPECT_EQ(st.run.wallLength, 120.0);
}

void readAndApplyEarthPressure(Engine& e) {
    EarthPressurePhase(e);
    ApplyEarthPressureLoads(e);
}

TEST(EarthPressureLoads, SpecifiedProfileLoadsTheStations) {
    // Pressure rising linearly to 0.5 at depth 60, then constant: p(z) = z / 120 above 60. The load at a
    // station is p(z) times h.
    StepRun run("3\n0.0 0.0\n60.0 0.5\n120.0 0.5\n");
    run.increments(10, 12.0, 60.0);
    run.control().earthPressureOption = 1;
    run.st().excavationLevel.pressure = 9.0;
    run.st().stations.q[static_cast<std::size_t>(position(3))] = 500.0;
    ASSERT_EQ(run.run(readAndApplyEarthPressure), "");
    // Within a few roundings of values of order 1..500.
    expectStations(run.st().stations.q, {0, 1.2, 2.4, 503.6, 4.8, 6.0, 6.0, 6.0, 6.0, 6.0, 6.0, 0, 0}, "Q");
    EXPECT_EQ(run.st().excavationLevel.pressure, 0.0);
    const EarthPressureProfile& pr = run.st().profile;
    ASSERT_EQ(pr.count, 3);
    EXPECT_EQ(pr.total[2], 0.5 * 12.0);
    EXPECT_EQ(pr.soil[2], 0.5);
    EXPECT_EQ(pr.surcharge[2], 0.0);
}

TEST(EarthPressureLoads, StationBelowEveryPointKeepsTheLoadAbove) {
    // p(z) = z / 10 down to 66; station 6 at 72 lies below the last point (nint(66/12) = 6).
    StepRun run("2\n0 0\n66 6.6\n");
    run.increments(10, 12.0, 66.0);
    run.control().earthPressureOption = 1;
    ASSERT_EQ(run.run(readAndApplyEarthPressure), "");
    expectStations(run.st().stations.q, {0, 14.4, 28.8, 43.2, 57.6, 72.0, 72.0, 0, 0}, "Q");
}

TEST(EarthPressureLoads, OptionOneWithoutRowsAndOptionZero) {
    {
        StepRun run("0\n");
        run.increments(10, 12.0);
        run.control().earthPressureOption = 1;
        run.st().excavationLevel.pressure = 9.0;
        ASSERT_EQ(run.run(readAndApplyEarthPressure), "");
        EXPECT_EQ(run.st().excavationLevel.pressure, 0.0);
        EXPECT_EQ(run.plot(), " 0\n");
    }
    {
        StepRun run("");
        run.increments(10, 12.0);
        run.st().profile.count = 1;
        run.st().profile.depth[1] = 120.0;
        run.st().profile.total[1] = 100.0;
        ASSERT_EQ(run.run(readAndApplyEarthPressure), "");
        expectStations(run.st().stations.q, std::vector<double>(13, 0.0), "Q");
        EXPECT_EQ(run.plot(), " 0\n");
    }
}

TEST(EarthPressureLoads, ProfileDeeperThanTheTablesEndsTheRun) {
    StepRun run("2\n0 0\n120 1\n");
    run.increments(2, 12.0, 24.0);
    run.control().earthPressureOption = 1;
    EXPECT_EQ(run.run(readAndApplyEarthPressure), "     ERROR -- NON-ZERO TABLE 4 DATA BEYOND END");
}

TEST(EarthPressureLoads, SpecifiedProfileTakesTheSurchargeOverTheProblemsFreeHeight) {
    // A point load of 1000 at x = 12 (m = 0.2) and WA = 2; the wall record's free height (30) is not the
    // problem's (60). At depth 30 the grid depth below it is k = 24 (24 x 0.02 x 60 = 28.8 < 30): n = 0.48
    // and the near-wall formula 0.28 Q n^2 / (H^2 (0.16 + n^2)^3) gives 0.301183 per unit width.
    StepRun run("2\n30 0.25\n60 0.5\n");
    run.increments(10, 12.0, 60.0);
    run.control().earthPressureOption = 1;
    WallSoilInput& ws = run.st().wallSoil;
    ws.freeHeight = 30.0;
    ws.wa = 2.0;
    ws.surchargeCount = 1;
    ws.surchargeType[1] = 1;
    ws.surchargeMagnitude[1] = 1000.0;
    ws.surchargeDistance[1] = 12.0;
    ASSERT_EQ(run.run(EarthPressurePhase), "");
    const double n = double(24 * 0.02f);
    const double sigma = 0.28 * 1000.0 * n * n / (3600.0 * std::pow(0.16 + n * n, 3));
    const EarthPressureProfile& pr = run.st().profile;
    // The grid's single-precision depths and constants: agreement to a few parts in 1e7.
    EXPECT_NEAR(pr.surcharge[1], 2.0 * sigma, 2.0 * sigma * 1e-6);
    EXPECT_NEAR(pr.total[1], (0.25 + 2.0 * sigma) * 12.0, 1e-5);
    EXPECT_EQ(pr.soil[1], 0.25);
}

TEST(WallAndSoil, LayerThicknessesFromBottomDepthsAndSIDistancesInMetres) {
    StepRun run(
        "3.0 1.2 0.6 1.5 4.0 1.0 1 10.0\n"
        "0.0 0.0 0.0 0.0 0.0 0.0\n"
        "2\n1 50.0 2000.0 0.0\n3 20.0 1500.0 1000.0\n"
        "2\n"
        "4 2.5\n18.0 0.0 30.0 0.0 20000.0 0.0\n18.0 0.0 32.0 0.0 20000.0 0.0\n"
        "1 6.0\n17.0 25.0 0.0 0.01 0.0 0.0\n17.5 30.0 0.0 0.01 0.0 0.0\n",
        2);
    ASSERT_EQ(run.run(ReadWallAndSoil), "");
    const WallSoilInput& ws = run.st().wallSoil;
    EXPECT_EQ(ws.freeHeight, 3.0);
    EXPECT_EQ(ws.wa, 1.2);
    EXPECT_EQ(run.st().run.wa, 1.2);
    EXPECT_EQ(ws.wp, 0.6);
    EXPECT_EQ(ws.waterTableExcavation, 4.0);
    EXPECT_EQ(ws.wallItem, 1);
    EXPECT_EQ(ws.backfillSlope, 10.0);
    ASSERT_EQ(ws.surchargeCount, 2);
    // Distances and strip widths of SI projects are given in millimetres.
    EXPECT_EQ(ws.surchargeDistance[1], 2.0);
    EXPECT_EQ(ws.surchargeWidth[2], 1.0);
    EXPECT_EQ(ws.surchargeDistance[2], 1.5);
    EXPECT_EQ(ws.surchargeType[2], 3);
    EXPECT_EQ(ws.surchargeMagnitude[1], 50.0);
    ASSERT_EQ(ws.layerCount, 2);
    EXPECT_EQ(ws.thickness[1], 2.5);
    EXPECT_EQ(ws.thickness[2], 3.5);
    EXPECT_EQ(ws.soilType[2], 1);
    EXPECT_EQ(ws.top[1][3], 30.0);
    EXPECT_EQ(ws.bottom[1][3], 32.0);
    EXPECT_EQ(ws.bottom[2][2], 30.0);
}

// Writes the scratch profile file with n rows (depth k, total 2k, soil k, surcharge k).
void writeProfile(int n) {
    std::string text = std::to_string(n) + "\n";
    for (int k = 1; k <= n; ++k) {
        text += "     " + std::to_string(k) + ".0E+00    " + std::to_string(2 * k) + ".0E+00    " + std::to_string(k) +
                ".0E+00    " + std::to_string(k) + ".0E+00\n";
    }
    test::writeFile(kProfileFile, text);
}

TEST(GeneratedProfile, ReadBackScalesByWidthAndThinsTheEcho) {
    const struct {
        int unitSystem, rows;
        std::vector<int> echoed;
    } cases[] = {
        {1, 60, {1, 7, 13, 19, 25, 31, 37, 43, 49, 55, 60}},
        {1, 51, {1, 7, 13, 19, 25, 31, 37, 43, 49, 51}},
        {2, 51, {1, 5, 9, 13, 17, 21, 25, 29, 33, 37, 41, 45, 49, 51}},
        {2, 3, {1, 2, 3}},
        {3, 60, {}},  // every row
    };
    for (const auto& c : cases) {
        StepRun run("", c.unitSystem);
        run.increments(10, 12.0, 60.0);
        run.control().earthPressureOption = 2;
        run.st().wallSoil.wa = 3.0;
        writeProfile(c.rows);
        ASSERT_EQ(run.run(TakeInGeneratedProfile), "");
        const EarthPressureProfile& pr = run.st().profile;
        ASSERT_EQ(pr.count, c.rows);
        std::size_t n = static_cast<std::size_t>(c.rows);
        EXPECT_EQ(pr.depth[n], c.rows);
        EXPECT_EQ(pr.total[n], 2.0 * c.rows * 3.0 * 12.0);  // times WA, then times h
        EXPECT_EQ(pr.soil[n], c.rows * 3.0);
        EXPECT_EQ(pr.surcharge[n], c.rows * 3.0);
        // The pressure at the excavation level: times WA, not times h.
        EXPECT_EQ(run.st().excavationLevel.pressure, 2.0 * c.rows * 3.0);

        std::vector<std::string> lines = test::splitLines(run.report());
        ASSERT_GE(lines.size(), 5u);
        std::vector<int> expected = c.echoed;
        if (expected.empty()) {
            for (int k = 1; k <= c.rows; ++k) expected.push_back(k);
        }
        ASSERT_EQ(lines.size(), 5u + expected.size()) << c.rows << " rows, unit system " << c.unitSystem;
        for (std::size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(lines[5 + i].substr(0, 6), "      ");
            double depth = std::stod(lines[5 + i].substr(6, 10));
            double total = std::stod(lines[5 + i].substr(26, 10));
            EXPECT_EQ(depth, expected[i]);
            EXPECT_NEAR(total, 6.0 * expected[i], 6.0 * expected[i] * 5e-3);  // E10.3: three digits
        }
    }
}

TEST(GeneratedProfile, HeadingUnderTheModulesEcho) {
    StepRun run("", 2);
    run.increments(10, 0.5, 5.0);
    run.control().earthPressureOption = 3;
    run.st().wallSoil.wa = 1.0;
    writeProfile(1);
    ASSERT_EQ(run.run(TakeInGeneratedProfile), "");
    EXPECT_TRUE(
        test::sameText("\n\n         DEPTH         ACTIVE EARTH PRESSURE\n"
                       "           M                   KN/ M\n"
                       "        --------       ------------------------\n"
                       "       0.100E+01           0.200E+01\n",
                       run.report()));
}

TEST(GeneratedProfile, UnreadableFilesEndTheRun) {
    const struct {
        const char* what;
        const char* file;  // nullptr: no file
        const char* message;
    } cases[] = {
        {"missing", nullptr, "RECORD FAULT: CANNOT OPEN FILE kstrut.001"},
        {"short", "2\n 1 2 3 4\n", "RECORD FAULT: INPUT ERROR IN FILE kstrut.001: END OF FILE AFTER LINE 2"},
        {"too many rows", "5001\n", "     TOO MUCH DATA FOR AVAILABLE STORAGE"},
        {"negative count", "-1\n", "     ERROR -- NEGATIVE ROW COUNT IN THE SCRATCH PROFILE FILE"},
    };
    for (const auto& c : cases) {
        StepRun run("");
        run.increments(10, 12.0);
        run.control().earthPressureOption = 2;
        if (c.file) test::writeFile(kProfileFile, c.file);
        std::string message = run.run(TakeInGeneratedProfile);
        EXPECT_EQ(message.substr(0, std::string(c.message).size()), c.message) << c.what;
    }
}

TEST(TablesBeyondEnd, EachValueCountsOnItsOwn) {
    const struct {
        const char* what;
        StationReals WallStations::*table;
        int station;
        double value;
        bool ends;
    } cases[] = {
        {"EI at NI+1", &WallStations::ei, 11, 1.0, true},     {"Q at NI+1", &WallStations::q, 11, -1.0, true},
        {"S at NI+1", &WallStations::s, 11, 1.0, true},       {"T at NI+1", &WallStations::t, 11, 1.0, true},
        {"R at NI+1", &WallStations::r, 11, 1.0, true},       {"P at NI+1", &WallStations::p, 11, 1.0, true},
        {"EI at NI+2", &WallStations::ei, 12, 1.0, true},     {"T at NI+2", &WallStations::t, 12, 1.0, true},
        {"R at NI+2", &WallStations::r, 12, 1.0, true},       {"P at NI+2", &WallStations::p, 12, 1.0, true},
        {"Q at NI+2", &WallStations::q, 12, 1.0, false},      {"S at NI+2", &WallStations::s, 12, 1.0, false},
        {"EI at the tip", &WallStations::ei, 10, 1.0, false},
    };
    for (const auto& c : cases) {
        StepRun run("");
        run.increments(10, 12.0);
        (run.st().stations.*c.table)[static_cast<std::size_t>(position(c.station))] = c.value;
        EXPECT_EQ(run.run(CheckTablesBeyondEnd), c.ends ? "     ERROR -- NON-ZERO TABLE 4 DATA BEYOND END" : "")
            << c.what;
    }
    // Values that would cancel in a sum still end the run.
    StepRun run("");
    run.increments(10, 12.0);
    run.st().stations.ei[static_cast<std::size_t>(position(11))] = 100.0;
    run.st().stations.q[static_cast<std::size_t>(position(11))] = -100.0;
    EXPECT_EQ(run.run(CheckTablesBeyondEnd), "     ERROR -- NON-ZERO TABLE 4 DATA BEYOND END");
}

TEST(MEICurves, StoredAtStationPositionsAndDeflectionsCleared) {
    StepRun run("0 10 3\n1.0E6 2.0E9\n2.0E6 1.5E9\n3.0E6 1.0E9\n4 6 2\n0 1\n1 1\n");
    run.increments(10, 12.0);
    run.control().meiCurveCount = 2;
    run.st().stations.w.fill(0.25);
    ASSERT_EQ(run.run(ReadMEICurves), "");
    const MEICurveStore& m = run.st().meiCurves;
    ASSERT_EQ(m.count, 2);
    EXPECT_EQ(m.first[1], position(0));
    EXPECT_EQ(m.last[1], position(10));
    EXPECT_EQ(m.pointCount[1], 3);
    EXPECT_EQ(m.moment[1][2], 2.0e6);
    EXPECT_EQ(m.ei[1][3], 1.0e9);
    EXPECT_EQ(m.first[2], position(4));
    EXPECT_EQ(m.last[2], position(6));
    for (double w : run.st().stations.w) EXPECT_EQ(w, 0.0);
}

TEST(MEICurves, CurvesTheSolverCannotUseEndTheRun) {
    const struct {
        const char* what;
        int count;
        const char* input;
        const char* message;
    } cases[] = {
        {"21 curves", 21, "", "     TOO MUCH DATA FOR AVAILABLE STORAGE"},
        {"101 points", 1, "0 10 101\n", "     TOO MUCH DATA FOR AVAILABLE STORAGE"},
        {"one point", 1, "0 10 1\n1 1\n", "     ERROR -- M-EI CURVE 1 NEEDS AT LEAST 2 POINTS"},
        {"last before first", 1, "6 4 2\n", "     ERROR STOP -- STATIONS NOT IN ORDER"},
        {"below the tip", 1, "0 11 2\n", "     ERROR STOP -- STATION 11 IS OUTSIDE THE RANGE 0 TO 10"},
        {"above the top", 1, "-1 4 2\n", "     ERROR STOP -- STATION -1 IS OUTSIDE THE RANGE 0 TO 10"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(endMessage(c.input, &ProblemControl::meiCurveCount, c.count, ReadMEICurves), c.message) << c.what;
    }
}

}  // namespace
}  // namespace velmor::engine
