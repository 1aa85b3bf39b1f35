#include <gtest/gtest.h>

#include <string>

#include "input_records.h"
#include "input_test_harness.h"

namespace velmor::engine {
namespace {

using testing::StepRun;

// One problem with every record the engine reads without the earth-pressure module or the curve
// generator: two restraints, an interpolated stiffness, a load with moment and axial load, a spring, a
// modification factor, a specified pressure profile, two user p-y curves and an M-EI curve.
const char* const kProblem =
    "1 2 2 1 1 1 2 1 1\r\n"
    "10 12.0\t2.0\t0.001\t60.0\r\n"
    "2\t0\t0.0\t0.01\r\n"
    "1\t10\t0.0\t0.0\r\n"
    "0\t0\t2\t1.0E9\r\n"
    "0\t10\t1\t2.0E9\r\n"
    "1\r\n"
    "1\t3\t3\t500.0\t1200.0\t100.0\r\n"
    "1\r\n"
    "8\t8\t1\t5000.0\t0.0\r\n"
    "24.0\t0.8\t1.0\r\n"
    "3\r\n"
    "0.0\t0.0\r\n"
    "60.0\t0.5\r\n"
    "120.0\t0.5\r\n"
    "4\t3\t0.5\t1.0\r\n"
    "-1.0\t100.0\r\n"
    "0.0\t0.0\r\n"
    "1.0\t-100.0\r\n"
    "6\t2\t1.0\t1.0\r\n"
    "0.0\t0.0\r\n"
    "1.0\t-200.0\r\n"
    "0\t10\t2\r\n"
    "1.0E6\t2.0E9\r\n"
    "2.0E6\t1.0E9\r\n";

// Written out from the record layouts, English labels.
const char* const kEcho =
    "\n"
    "\n"
    "      **************************************************\n"
    "      *        PROGRAM CONTROL PARAMETERS              *\n"
    "      **************************************************\n"
    "\n"
    "      NO OF POINTS FOR SPECIFIED DEFLECTIONS AND SLOPES  =  2\n"
    "      NO OF POINTS FOR WALL STIFFNESS AND LOAD DATA      =  2\n"
    "      GENERATE EARTH PRESSURE INTERNALLY                 =  0\n"
    "      GENERATE SOIL RESISTANCE (P-Y) CURVES INTERNALLY   =  0\n"
    "      NO OF P-Y MODIFICATION FACTORS FOR GEN. P-Y CURVES =  1\n"
    "      NO OF USER-SPECIFIED SOIL RESISTANCE (P-Y) CURVES  =  2\n"
    "      NUMBER OF INCREMENTS                               =  10\n"
    "      INCREMENT LENGTH                                   =  12.000 IN\n"
    "      FREE HEIGHT OF WALL                                =  60.000 IN\n"
    "      MAXIMUM ALLOWABLE DEFLECTION                       =   2.000 IN\n"
    "      DEFLECTION CLOSURE TOLERANCE                       = 0.00100 IN\n"
    "\n"
    "\n"
    "      **************************************************\n"
    "      *        SPECIFIED DEFLECTIONS AND SLOPES        *\n"
    "      **************************************************\n"
    "\n"
    "          STA      CASE       DEFLECTION        SLOPE\n"
    "\n"
    "            0        2           NONE         0.100E-01\n"
    "           10        1         0.000E+00         NONE\n"
    "\n"
    "\n"
    "      **************************************************\n"
    "      *        STIFFNESS AND LOAD DATA                 *\n"
    "      **************************************************\n"
    "      EI - FLEXURAL RIGIDITY,  Q - TRANSVERSE LOAD,\n"
    "      S - STIFFNESS OF TRANSVERSE RESISTANCE,\n"
    "      T - TORQUE,              P - AXIAL LOAD,\n"
    "      R - STIFFNESS OF TORSIONAL RESISTANCE.\n"
    "\n"
    "     FROM TO CONTD     EI         Q        S'        T         R         P\n"
    "\n"
    "                   LBS-IN**2     LBS     LBS/IN    IN-LBS   IN-LBS     LBS\n"
    "        0      1  0.100E+10 0.000E+00 0.000E+00 0.000E+00 0.000E+00 0.000E+00\n"
    "           10  0  0.200E+10 0.000E+00 0.000E+00 0.000E+00 0.000E+00 0.000E+00\n"
    "        3   3  0  0.130E+10 0.500E+03 0.000E+00 0.120E+04 0.000E+00-0.100E+03\n"
    "        8   8  0  0.180E+10 0.000E+00 0.500E+04 0.000E+00 0.000E+00 0.000E+00\n"
    "\n"
    "\n"
    "      **************************************************\n"
    "      *        SPECIFIED ACTIVE EARTH PRESSURE         *\n"
    "      **************************************************\n"
    "\n"
    "\n"
    "\n"
    "         DEPTH         ACTIVE EARTH PRESSURE\n"
    "          IN                  LBS/IN\n"
    "        --------       ------------------------\n"
    "       0.000E+00           0.000E+00\n"
    "       0.600E+02           0.500E+00\n"
    "       0.120E+03           0.500E+00\n"
    "\n"
    "\n"
    "      **************************************************\n"
    "      *     INPUTTED  SOIL RESISTANCE (P-Y) CURVES     *\n"
    "      **************************************************\n"
    "\n"
    "\n"
    "     FROM TO CONTD      P-MULTIPLIER  Y-MULTIPLIER'      POINTS     \n"
    "\n"
    "\n"
    "        4   4  0          0.500E+00     0.100E+01           3\n"
    "\n"
    "\n"
    "                      Y                   P    \n"
    "                     IN                 LBS/IN\n"
    "                  ---------            --------\n"
    "                 -0.100E+01           0.500E+02\n"
    "                  0.000E+00           0.000E+00\n"
    "                  0.100E+01          -0.500E+02\n"
    "\n"
    "     FROM TO CONTD      P-MULTIPLIER  Y-MULTIPLIER'      POINTS     \n"
    "\n"
    "\n"
    "        6      1          0.100E+01     0.100E+01            2\n"
    "\n"
    "\n"
    "                      Y                   P    \n"
    "                     IN                 LBS/IN\n"
    "                  ---------            --------\n"
    "                  0.000E+00           0.000E+00\n"
    "                  0.100E+01          -0.200E+03\n";

const char* const kPlot =
    " 3\n"
    "   0.000E+00   0.000E+00   0.100E-06   0.000E+00\n"
    "   0.600E+02   0.500E+00   0.500E+00   0.000E+00\n"
    "   0.120E+03   0.500E+00   0.500E+00   0.000E+00\n"
    " 1 2\n"
    " 4 3\n"
    " -1.0 50.0\n"
    " 0.0 0.0\n"
    " 1.0 -50.0\n"
    " 6 2\n"
    " 0.0 0.0\n"
    " 1.0 -200.0\n";

void readWholeProblem(Engine& e) {
    ReadControlRecord(e);
    PrepareProblem(e);
}

TEST(InputEcho, WholeProblemEchoAndPlotSections) {
    StepRun run(kProblem, 1);
    ASSERT_EQ(run.run(readWholeProblem), "");
    EXPECT_TRUE(test::sameText(kEcho, run.report()));
    EXPECT_TRUE(test::sameText(kPlot, run.plot()));
}

TEST(InputEcho, WholeProblemFillsTheBlocks) {
    StepRun run(kProblem, 1);
    ASSERT_EQ(run.run(readWholeProblem), "");
    const EngineState& st = run.st();
    auto at = [](int station) { return static_cast<std::size_t>(position(station)); };
    // EI from 1e9 at the top to 2e9 at the tip, half values at both ends.
    EXPECT_DOUBLE_EQ(st.stations.ei[at(0)], 0.5e9);
    EXPECT_DOUBLE_EQ(st.stations.ei[at(3)], 1.3e9);
    EXPECT_DOUBLE_EQ(st.stations.ei[at(10)], 1.0e9);
    // Q: the profile p(z) = z / 120 down to 60 and 0.5 below, times h = 12, plus the load of 500 at 3.
    const double q[] = {0.0, 1.2, 2.4, 503.6, 4.8, 6.0, 6.0, 6.0, 6.0, 6.0, 6.0, 0.0};
    for (int s = 0; s <= 11; ++s) EXPECT_NEAR(st.stations.q[at(s)], q[s], 1e-12 * 504.0) << s;
    EXPECT_EQ(st.stations.t[at(3)], 1200.0);
    EXPECT_EQ(st.stations.p[at(3)], -100.0);
    EXPECT_EQ(st.stations.s[at(8)], 5000.0);
    EXPECT_EQ(st.moments.count, 1);
    EXPECT_EQ(st.moments.value[1], 50.0);
    EXPECT_EQ(st.run.firstSupportDepth, 96.0);
    EXPECT_EQ(st.run.lastSupportDepth, 96.0);
    EXPECT_EQ(st.restraints.count, 2);
    EXPECT_EQ(st.stations.restraintCode[at(-1)], 3);
    EXPECT_EQ(st.stations.restraintCode[at(0)], 1);
    EXPECT_EQ(st.stations.restraintCode[at(1)], 5);
    EXPECT_EQ(st.stations.restraintCode[at(10)], 2);
    EXPECT_EQ(st.wallSoil.pFactorCount, 1);
    EXPECT_EQ(st.wallSoil.pFactor[1], 0.8);
    EXPECT_EQ(st.curves.count, 2);
    EXPECT_EQ(st.curves.continuation[1], 0);
    EXPECT_EQ(st.curves.continuation[2], 1);
    EXPECT_EQ(st.curves.p[2][2], -200.0 * 12.0);
    EXPECT_EQ(st.meiCurves.count, 1);
    EXPECT_EQ(st.meiCurves.last[1], position(10));
    EXPECT_EQ(st.meiCurves.ei[1][2], 1.0e9);
    EXPECT_EQ(st.run.wallLength, 120.0);
    EXPECT_EQ(st.run.nuc, 2);
}

TEST(InputEcho, FieldsTooNarrowForTheirValues) {
    // F7.3 holds values below 1000, F7.5 values below 10; I2 counts below 100.
    StepRun run("1000 0.5 -100.0 10.0 1000.0\n", 2);
    run.control().nds = 100;
    ASSERT_EQ(run.run([](Engine& e) {
        EchoControlParameters(e);
        ReadIncrements(e);
    }),
              "     ERROR -- NUMBER OF INCREMENTS MUST BE 1 TO 407");
    const std::string report = run.report();
    for (const char* line : {
             "      NO OF POINTS FOR SPECIFIED DEFLECTIONS AND SLOPES  = **\n",
             "      NUMBER OF INCREMENTS                               = ***\n",
             "      INCREMENT LENGTH                                   =   0.500  M\n",
             "      FREE HEIGHT OF WALL                                = *******  M\n",
             "      MAXIMUM ALLOWABLE DEFLECTION                       = *******  M\n",
             "      DEFLECTION CLOSURE TOLERANCE                       = *******  M\n",
         }) {
        EXPECT_NE(report.find(line), std::string::npos) << line << report;
    }
}

}  // namespace
}  // namespace velmor::engine
