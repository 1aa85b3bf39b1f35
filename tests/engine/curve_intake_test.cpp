#include "curve_intake.h"

#include <gtest/gtest.h>

#include <string>

#include "input_test_harness.h"

namespace velmor::engine {
namespace {

using testing::StepRun;

// A generated curve as the curve generator writes it: 34 point lines (number, p, y), the excavation side
// (y = 0.1 (j-1), p = 10 (j-1)) then the backfill side (y = 0.2 (j-1), p = 20 (j-1)), both from the origin.
std::string generatedCurve(double depth) {
    std::string text = " " + std::to_string(depth) + " 34\n";
    for (int j = 1; j <= 17; ++j) {
        text += "    " + std::to_string(j) + " " + std::to_string(10.0 * (j - 1)) + " " +
                std::to_string(0.1 * (j - 1)) + "\n";
    }
    for (int j = 1; j <= 17; ++j) {
        text += "    " + std::to_string(j) + " " + std::to_string(20.0 * (j - 1)) + " " +
                std::to_string(0.2 * (j - 1)) + "\n";
    }
    return text;
}

ScratchCurve sampleScratchCurve() {
    ScratchCurve c{};
    for (int j = 1; j <= 17; ++j) {
        c.y[static_cast<std::size_t>(j)] = 0.1 * (j - 1);
        c.p[static_cast<std::size_t>(j)] = 10.0 * (j - 1);
        c.y[static_cast<std::size_t>(j + 17)] = 0.2 * (j - 1);
        c.p[static_cast<std::size_t>(j + 17)] = 20.0 * (j - 1);
    }
    return c;
}

TEST(TwoSidedCurve, BackfillSideMirroredThenExcavationSide) {
    const TwoSidedCurve t = BuildTwoSidedCurve(sampleScratchCurve());
    const struct {
        int j;
        double y, p;
    } points[] = {
        {1, -3.2, 320.0},   // the backfill side's last point, deflection turned negative
        {2, -3.0, 300.0},   // ... and back towards the origin
        {16, -0.2, 20.0},   // the backfill side's second point
        {17, 0.0, 0.0},     // the origin, once
        {18, 0.1, -10.0},   // the excavation side from its second point, resistance turned negative
        {33, 1.6, -160.0},  // the excavation side's last point
    };
    for (const auto& pt : points) {
        EXPECT_DOUBLE_EQ(t.y[static_cast<std::size_t>(pt.j)], pt.y) << pt.j;
        EXPECT_DOUBLE_EQ(t.p[static_cast<std::size_t>(pt.j)], pt.p) << pt.j;
    }
    // Deflections rise through the whole curve and the resistance always opposes the deflection.
    for (int j = 2; j <= 33; ++j) {
        EXPECT_LT(t.y[static_cast<std::size_t>(j - 1)], t.y[static_cast<std::size_t>(j)]) << j;
        EXPECT_LE(t.y[static_cast<std::size_t>(j)] * t.p[static_cast<std::size_t>(j)], 0.0) << j;
    }
}

TEST(CurveIntake, ProblemsWithoutCurvesRunWithoutAny) {
    const struct {
        const char* what;
        int pyOption;
        const char* plot;
    } cases[] = {
        {"p-y option 0, no user curves", 0, " 2 0\n"},
        {"p-y option 1, no user curves", 1, ""},
    };
    for (const auto& c : cases) {
        StepRun run("", 2);
        run.increments(10, 12.0, 60.0);
        run.control().pyOption = c.pyOption;
        run.st().curves.count = 5;  // left by an earlier problem of the run
        ASSERT_EQ(run.run(CurvePhase), "") << c.what;
        EXPECT_EQ(run.st().curves.count, 0) << c.what;
        EXPECT_EQ(run.plot(), c.plot) << c.what;
        EXPECT_EQ(run.report(), "") << c.what;
    }
}

TEST(CurveIntake, UserCurvesOnlyFlagsByDepthAndMultipliers) {
    // h = 12, free height 60: node 4 (depth 48) lies above the excavation level, nodes 5 and 7 at and below.
    StepRun run(
        "4 3 0.5 2.0\n-1.0 100.0\n0.0 0.0\n1.0 -100.0\n"
        "5 2 1.0 1.0\n0.0 0.0\n2.0 -50.0\n"
        "7 2 1.0 1.0\n0.0 0.0\n2.0 -60.0\n");
    run.increments(10, 12.0, 60.0);
    run.control().pyOption = 1;
    run.control().nuc = 3;
    ASSERT_EQ(run.run(CurvePhase), "");
    const PYCurveStore& s = run.st().curves;
    ASSERT_EQ(s.count, 3);
    const int nodes[] = {4, 5, 7}, flags[] = {0, 1, 1}, counts[] = {3, 2, 2};
    for (int k = 1; k <= 3; ++k) {
        EXPECT_EQ(s.from[k], position(nodes[k - 1])) << k;
        EXPECT_EQ(s.to[k], position(nodes[k - 1])) << k;
        EXPECT_EQ(s.continuation[k], flags[k - 1]) << k;
        EXPECT_EQ(s.pointCount[k], counts[k - 1]) << k;
    }
    // y times the y-multiplier; p times the p-multiplier and h (a force per station).
    EXPECT_EQ(s.y[1][1], -2.0);
    EXPECT_EQ(s.p[1][1], 100.0 * 0.5 * 12.0);
    EXPECT_EQ(s.p[1][3], -100.0 * 0.5 * 12.0);
    EXPECT_EQ(s.p[3][2], -60.0 * 12.0);

    EXPECT_EQ(run.plot(),
              " 1 3\n 4 3\n -2.0 50.0\n 0.0 0.0\n 2.0 -50.0\n 5 2\n 0.0 0.0\n 2.0 -50.0\n 7 2\n 0.0 0.0\n 2.0 -60.0\n");
    // The curve line's layout follows the flags of this curve and the one before.
    const std::string report = run.report();
    for (const char* line : {
             "\n        4   4  0          0.500E+00     0.200E+01           3\n",   // no chain before, none opened
             "\n        5      1          0.100E+01     0.100E+01            2\n",  // opens a chain
             "\n            7  1          0.100E+01     0.100E+01            2\n",  // continues it
             "\n                 -0.200E+01           0.500E+02\n",                 // an echoed point
         }) {
        EXPECT_NE(report.find(line), std::string::npos) << line << "\n" << report;
    }
}

TEST(CurveIntake, UserCurvesAheadOfGeneratedOnesAreKeptForTheGenerator) {
    StepRun run("3 2 0.5 2.0\n0.0 0.0\n1.0 -100.0\n");
    run.increments(10, 12.0, 60.0);
    run.control().pyOption = 2;
    run.control().nuc = 1;
    run.st().userCurves.pMultiplier = 1.0;
    run.st().userCurves.yMultiplier = 1.0;
    ASSERT_EQ(run.run(ReadUserCurves), "");
    const UserPYCurves& u = run.st().userCurves;
    ASSERT_EQ(u.count, 1);
    EXPECT_EQ(u.node[1], 3);
    EXPECT_EQ(u.pointCount[1], 2);
    EXPECT_EQ(u.y[1][2], 2.0);
    EXPECT_EQ(u.p[1][2], -50.0);  // not times h: the generator writes the curve as the user gave it
    EXPECT_TRUE(
        test::sameText("\n     FROM TO CONTD      P-MULTIPLIER  Y-MULTIPLIER'      POINTS     \n\n\n"
                       "            3  0          0.500E+00     0.200E+01            2\n\n\n"
                       "                      Y                   P    \n"
                       "                     IN                 LBS/IN\n"
                       "                  ---------            --------\n"
                       "                  0.000E+00           0.000E+00\n"
                       "                  0.200E+01          -0.500E+02\n",
                       run.report()));
}

TEST(ScratchCurves, GeneratedOnlyWithDepthHeaders) {
    StepRun run("", 1);
    run.increments(10, 12.0, 60.0);
    test::writeFile(kSoilDataFile, " 2\n" + generatedCurve(66.1) + generatedCurve(90.0));
    ASSERT_EQ(run.run([](Engine& e) { ReadScratchCurves(e, 0, true); }), "");
    const PYCurveStore& s = run.st().curves;
    ASSERT_EQ(s.count, 2);
    // nint(66.1 / 12) = 6; nint(90 / 12 = 7.5) = 8, a half rounded away from zero.
    EXPECT_EQ(s.from[1], position(6));
    EXPECT_EQ(s.from[2], position(8));
    EXPECT_EQ(s.to[2], position(8));
    for (int k = 1; k <= 2; ++k) {
        EXPECT_EQ(s.continuation[k], 1);
        EXPECT_EQ(s.pointCount[k], 33);
        EXPECT_DOUBLE_EQ(s.y[k][1], -3.2);
        EXPECT_DOUBLE_EQ(s.p[k][1], 320.0 * 12.0);
        EXPECT_DOUBLE_EQ(s.y[k][33], 1.6);
        EXPECT_DOUBLE_EQ(s.p[k][33], -160.0 * 12.0);
    }
    EXPECT_EQ(run.console(), " 2\n");
    const std::vector<std::string> plot = test::splitLines(run.plot());
    ASSERT_EQ(plot.size(), 1u + 2u * 34u);
    EXPECT_EQ(plot[0], " 1 2");
    EXPECT_EQ(plot[1], "      66.10    33");
    EXPECT_EQ(plot[35], "      90.00    33");
    // Points before the scaling by h.
    EXPECT_EQ(plot[2], " -3.2 320.0");
    EXPECT_EQ(plot[18], " 0.0 0.0");  // the origin: no negative zero
    EXPECT_EQ(plot[19], " 0.1 -10.0");
    EXPECT_EQ(plot[34], " 1.6 -160.0");
    EXPECT_EQ(run.report(), "");
}

TEST(ScratchCurves, UserCurvesFirstThenGeneratedWithStationHeaders) {
    StepRun run("", 2);
    run.increments(10, 0.5, 2.0);
    test::writeFile(kSoilDataFile, "2\n3 4\n1 0.0 0.0\n2 -5.0 0.01\n3 -8.0 0.02\n4 -9.0 0.05\n" + generatedCurve(3.75));
    ASSERT_EQ(run.run([](Engine& e) { ReadScratchCurves(e, 1, false); }), "");
    const PYCurveStore& s = run.st().curves;
    ASSERT_EQ(s.count, 2);
    EXPECT_EQ(s.from[1], position(3));
    EXPECT_EQ(s.continuation[1], 0);
    EXPECT_EQ(s.pointCount[1], 4);
    EXPECT_EQ(s.y[1][4], 0.05);
    EXPECT_EQ(s.p[1][4], -9.0 * 0.5);
    EXPECT_EQ(s.from[2], position(8));  // nint(3.75 / 0.5 = 7.5) = 8
    EXPECT_EQ(s.continuation[2], 1);
    EXPECT_EQ(s.pointCount[2], 33);
    const std::vector<std::string> plot = test::splitLines(run.plot());
    ASSERT_EQ(plot.size(), 1u + 5u + 34u);
    EXPECT_EQ(plot[0], " 2 2");
    EXPECT_EQ(plot[1], " 3 4");
    EXPECT_EQ(plot[5], " 0.05 -9.0");
    EXPECT_EQ(plot[6], " 8 33");
}

TEST(ScratchCurves, NoCurvesAndManyCurves) {
    {
        StepRun run("", 1);
        run.increments(10, 12.0);
        test::writeFile(kSoilDataFile, "0\n");
        ASSERT_EQ(run.run([](Engine& e) { ReadScratchCurves(e, 0, true); }), "");
        EXPECT_EQ(run.st().curves.count, 0);
        EXPECT_EQ(run.plot(), " 1 0\n");
        EXPECT_EQ(run.report(), "\n                    \n");
    }
    {
        // 30 user curves and 10 layers of 5 stations each: 80 curves, a legal project.
        StepRun run("", 1);
        run.increments(10, 12.0);
        std::string text = "80\n";
        for (int k = 1; k <= 30; ++k) text += "5 2\n1 0 0\n2 -1 1\n";
        for (int k = 31; k <= 80; ++k) text += generatedCurve(12.0 * (k % 13));
        test::writeFile(kSoilDataFile, text);
        ASSERT_EQ(run.run([](Engine& e) { ReadScratchCurves(e, 30, false); }), "");
        EXPECT_EQ(run.st().curves.count, 80);
        EXPECT_EQ(run.st().curves.from[80], position(80 % 13));
    }
}

TEST(ScratchCurves, FilesTheSolverCannotUseEndTheRun) {
    const struct {
        const char* what;
        int users;
        std::string file;  // empty: no file
        std::string message;
    } cases[] = {
        {"missing", 0, "", "RECORD FAULT: CANNOT OPEN FILE soildata"},
        {"short", 0, "2\n" + generatedCurve(12.0), "RECORD FAULT: INPUT ERROR IN FILE soildata: END OF FILE"},
        {"401 curves", 0, "401\n", "     TOO MUCH DATA FOR AVAILABLE STORAGE"},
        {"negative count", 0, "-1\n", "     ERROR -- NEGATIVE CURVE COUNT IN THE SCRATCH CURVE FILE"},
        {"user curve of 35 points", 1, "1\n3 35\n", "     TOO MUCH DATA FOR AVAILABLE STORAGE"},
        {"user curve of 1 point", 1, "1\n3 1\n1 0 0\n", "     ERROR -- P-Y CURVE 1 NEEDS AT LEAST 2 POINTS"},
        {"user curve below the tables", 1, "1\n13 2\n", "     ERROR STOP -- STATION 13 IS OUTSIDE THE RANGE 0 TO 12"},
        {"generated curve below the tables", 0, "1\n" + generatedCurve(150.1),
         "     ERROR STOP -- STATION 13 IS OUTSIDE THE RANGE 0 TO 12"},
        {"depth beyond any station number", 0, "1\n 1.0E20 34\n", "RECORD FAULT: NEAREST INTEGER"},
    };
    for (const auto& c : cases) {
        StepRun run("", 1);
        run.increments(10, 12.0);
        if (!c.file.empty()) test::writeFile(kSoilDataFile, c.file);
        std::string message = run.run([&](Engine& e) { ReadScratchCurves(e, c.users, c.users == 0); });
        EXPECT_EQ(message.substr(0, c.message.size()), c.message) << c.what;
        EXPECT_FALSE(run.e().io.isOpen(kReadBackUnit)) << c.what;
    }
}

TEST(CurveIntake, UserCurvesTheSolverCannotUseEndTheRun) {
    const struct {
        const char* what;
        int pyOption, nuc;
        const char* input;
        const char* message;
    } cases[] = {
        {"401 user curves", 1, 401, "", "     TOO MUCH DATA FOR AVAILABLE STORAGE"},
        {"401 user curves ahead of generated ones", 2, 401, "", "     TOO MUCH DATA FOR AVAILABLE STORAGE"},
        {"35 points", 0, 1, "4 35 1 1\n", "     TOO MUCH DATA FOR AVAILABLE STORAGE"},
        {"no point", 1, 1, "4 0 1 1\n", "     ERROR -- P-Y CURVE 1 NEEDS AT LEAST 2 POINTS"},
        {"node below the tables", 1, 1, "13 2 1 1\n", "     ERROR STOP -- STATION 13 IS OUTSIDE THE RANGE 0 TO 12"},
        {"node above the top", 1, 2, "2 2 1 1\n0 0\n1 -1\n-1 2 1 1\n",
         "     ERROR STOP -- STATION -1 IS OUTSIDE THE RANGE 0 TO 12"},
    };
    for (const auto& c : cases) {
        StepRun run(c.input, 1);
        run.increments(10, 12.0, 60.0);
        run.control().pyOption = c.pyOption;
        run.control().nuc = c.nuc;
        EXPECT_EQ(run.run(CurvePhase), c.message) << c.what;
    }
}

TEST(ModificationFactors, CountedTwiceAndKeptAsRead) {
    StepRun run("120 0.8 1.0\n240.0 0.6 1.2\n");
    run.control().npm = 2;
    ASSERT_EQ(run.run(ReadModificationFactors), "");
    const WallSoilInput& ws = run.st().wallSoil;
    EXPECT_EQ(ws.pFactorCount, 2);
    EXPECT_EQ(ws.yFactorCount, 2);
    EXPECT_EQ(ws.factorDepth[2], 240.0);
    EXPECT_EQ(ws.pFactor[1], 0.8);
    EXPECT_EQ(ws.yFactor[2], 1.2);
    EXPECT_EQ(run.report(), "");

    StepRun tooMany("");
    tooMany.control().npm = 51;
    EXPECT_EQ(tooMany.run(ReadModificationFactors), "     TOO MUCH DATA FOR AVAILABLE STORAGE");
}

}  // namespace
}  // namespace velmor::engine
