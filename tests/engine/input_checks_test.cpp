#include <gtest/gtest.h>

#include <string>

#include "input_test_harness.h"

namespace velmor::engine {
namespace {

using testing::kEndOfAnalysis;
using testing::RunWhole;

// Records after the control record of a plain problem: 10 increments of 12, one stiffness row, no loads or
// springs.
const std::string kIncrements = "10 12.0\t1.0\t0.001\t60.0\r\n";
const std::string kWall = kIncrements + "0\t10\t1\t1.0E9\r\n0\r\n0\r\n";
// Wall record, the six-value record and an empty surcharge table.
const std::string kWallRecord = "60 1 1 0 0 1 1 0\r\n0 0 0 0 0 0\r\n";

struct BadInput {
    const char* what;
    std::string control;  // the nine integers
    std::string records;  // what follows the control record, up to where the run ends
    std::string message;
};

// Each input ends the run with its report line and the normal finish, and leaves no result rows.
TEST(InputChecks, BadInputEndsTheRunWithAMessage) {
    const std::string tooMuch = "     TOO MUCH DATA FOR AVAILABLE STORAGE\n\n\n";
    const std::string negative = "     ERROR -- NEGATIVE COUNT IN THE CONTROL RECORD";
    const BadInput cases[] = {
        {"earth-pressure option 4", "1 0 1 0 4 0 0 1 0", kWall,
         "     ERROR -- EARTH PRESSURE OPTION MUST BE 0, 1, 2 OR 3"},
        {"earth-pressure option -1", "1 0 1 0 -1 0 0 1 0", kWall,
         "     ERROR -- EARTH PRESSURE OPTION MUST BE 0, 1, 2 OR 3"},
        {"p-y option 3", "1 0 1 0 0 3 0 1 0", kWall, "     ERROR -- P-Y CURVE OPTION MUST BE 0, 1 OR 2"},
        {"negative restraint count", "1 -1 1 0 0 0 0 1 0", kWall, negative},
        {"negative stiffness count", "1 0 -1 0 0 0 0 1 0", kWall, negative},
        {"negative factor count", "1 0 1 -1 0 0 0 1 0", kWall, negative},
        {"negative user curve count", "1 0 1 0 0 1 -2 1 0", kWall, negative},
        {"negative M-EI count", "1 0 1 0 0 0 0 1 -1", kWall, negative},
        {"no increment", "1 0 1 0 0 0 0 1 0", "0 12 1 0.001 60\r\n",
         "     ERROR -- NUMBER OF INCREMENTS MUST BE 1 TO 407"},
        {"408 increments", "1 0 1 0 0 0 0 1 0", "408 12 1 0.001 60\r\n",
         "     ERROR -- NUMBER OF INCREMENTS MUST BE 1 TO 407"},
        {"zero increment length", "1 0 1 0 0 0 0 1 0", "10 0 1 0.001 60\r\n",
         "     ERROR -- INCREMENT LENGTH MUST BE GREATER THAN ZERO"},
        {"negative increment length", "2 0 1 0 0 0 0 1 0", "10 -0.5 1 0.001 6\r\n",
         "     ERROR -- INCREMENT LENGTH MUST BE GREATER THAN ZERO"},
        {"21 restraints", "1 21 1 0 0 0 0 1 0", kIncrements, tooMuch},
        {"deflection below the fictitious station", "1 1 1 0 0 0 0 1 0", kIncrements + "1 12 0 0\r\n",
         "     ERROR STOP -- STATION 12 IS OUTSIDE THE RANGE -1 TO 11"},
        {"deflection and slope in two rows", "1 2 1 0 0 0 0 1 0", kIncrements + "1 5 0 0\r\n2 5 0 0.01\r\n",
         "     ERROR STOP -- SPECIFIED DEFLECTIONS AND SLOPES OVERLAP AT STATION 5\n"
         "     GIVE A DEFLECTION AND A SLOPE AT ONE STATION AS ONE ROW OF CASE 3"},
        {"restraints out of order", "1 2 1 0 0 0 0 1 0", kIncrements + "1 5 0 0\r\n1 4 0 0\r\n",
         "     ERROR STOP -- STATIONS NOT IN ORDER"},
        {"stiffness below the tables", "1 0 1 0 0 0 0 1 0", kIncrements + "0 13 1 1.0E9\r\n",
         "     ERROR STOP -- STATION 13 IS OUTSIDE THE RANGE 0 TO 12"},
        {"CONTD 3", "1 0 1 0 0 0 0 1 0", kIncrements + "0 10 3 1.0E9\r\n", "     ERROR STOP -- STATIONS NOT IN ORDER"},
        {"load above the top", "1 0 1 0 0 0 0 1 0", kIncrements + "0 10 1 1.0E9\r\n1\r\n1 -1 2 5 0 0\r\n",
         "     ERROR STOP -- STATION -1 IS OUTSIDE THE RANGE 0 TO 12"},
        {"501 loads", "1 0 1 0 0 0 0 1 0", kIncrements + "0 10 1 1.0E9\r\n501\r\n", tooMuch},
        {"spring below the tables", "1 0 1 0 0 0 0 1 0", kIncrements + "0 10 1 1.0E9\r\n0\r\n1\r\n2 13 1 5 0\r\n",
         "     ERROR STOP -- STATION 13 IS OUTSIDE THE RANGE 0 TO 12"},
        // EI 100 and Q -100 at NI+1 sum to zero; each on its own is data beyond the end.
        {"values beyond the end that cancel", "1 0 2 0 0 0 0 1 0",
         kIncrements + "0 10 1 1.0E9\r\n11 11 1 100\r\n1\r\n1 11 11 -100 0 0\r\n0\r\n",
         "     ERROR -- NON-ZERO TABLE 4 DATA BEYOND END"},
        {"51 modification factors", "1 0 1 51 0 0 0 1 0", kWall, tooMuch},
        {"5001 specified pressure rows", "1 0 1 0 1 0 0 1 0", kWall + "5001\r\n", tooMuch},
        {"21 surcharges", "1 0 1 0 2 0 0 1 0", kWall + kWallRecord + "21\r\n", tooMuch},
        {"11 soil layers", "1 0 1 0 0 2 0 1 0", kWall + kWallRecord + "0\r\n11\r\n", tooMuch},
        {"401 user curves", "1 0 1 0 0 1 401 1 0", kWall, tooMuch},
        {"user curve of 35 points", "1 0 1 0 0 1 1 1 0", kWall + "4 35 1 1\r\n", tooMuch},
        {"user curve of one point", "1 0 1 0 0 1 1 1 0", kWall + "4 1 1 1\r\n0 0\r\n",
         "     ERROR -- P-Y CURVE 1 NEEDS AT LEAST 2 POINTS"},
        {"user curve below the tables", "1 0 1 0 0 1 1 1 0", kWall + "13 2 1 1\r\n",
         "     ERROR STOP -- STATION 13 IS OUTSIDE THE RANGE 0 TO 12"},
        {"21 M-EI curves", "1 0 1 0 0 0 0 1 21", kWall, tooMuch},
        {"M-EI curve of 101 points", "1 0 1 0 0 0 0 1 1", kWall + "0 10 101\r\n", tooMuch},
        {"M-EI curve of one point", "1 0 1 0 0 0 0 1 1", kWall + "0 10 1\r\n1 1\r\n",
         "     ERROR -- M-EI CURVE 1 NEEDS AT LEAST 2 POINTS"},
        {"M-EI curve below the tip", "1 0 1 0 0 0 0 1 1", kWall + "0 11 2\r\n",
         "     ERROR STOP -- STATION 11 IS OUTSIDE THE RANGE 0 TO 10"},
        {"M-EI nodes reversed", "1 0 1 0 0 0 0 1 1", kWall + "8 2 2\r\n", "     ERROR STOP -- STATIONS NOT IN ORDER"},
    };
    for (const auto& c : cases) {
        const auto files = RunWhole("Checked wall\r\n" + c.control + "\r\n" + c.records);
        const std::size_t at = files.report.find("\n\n\n" + c.message);
        EXPECT_NE(at, std::string::npos) << c.what << "\n" << files.report;
        EXPECT_EQ(files.report.substr(files.report.size() - kEndOfAnalysis.size()), kEndOfAnalysis) << c.what;
        // The message is the last thing before the finish: nothing of the problem follows it.
        if (at != std::string::npos) {
            EXPECT_EQ(files.report.substr(at + 3), c.message + (c.message == tooMuch ? "" : "\n") + kEndOfAnalysis)
                << c.what;
        }
        const std::string plot = files.plot;
        const std::string unit = c.control.substr(0, 1);
        EXPECT_EQ(plot.substr(plot.size() - 7), " 1 0 " + unit + "\n") << c.what;
        EXPECT_EQ(files.console, "") << c.what;
    }
}

TEST(InputChecks, ProblemEndingOnAnInputErrorWritesNoRowsOfTheProblemBefore) {
    // A cantilever fixed at the top solves (zero load, zero deflection) and writes its rows; the long-term
    // problem after it ends on a bad option.
    const std::string good =
        "Short term\r\n1 1 1 0 0 0 0 1 0\r\n" + kIncrements + "3 0 0 0\r\n0 10 1 1.0E9\r\n0\r\n0\r\n9\r\n";
    const std::string bad = "Long term\r\n1 0 1 0 7 0 0 1 0\r\n" + kWall;
    const auto files = RunWhole(good + bad);
    const std::vector<std::string> lines = test::splitLines(files.plot);
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[2], " 2 12 1");  // the first problem's section: stations 0 to NI+1
    EXPECT_EQ(lines.back(), " 2 0 1");
    EXPECT_NE(files.report.find("     ERROR -- EARTH PRESSURE OPTION MUST BE 0, 1, 2 OR 3"), std::string::npos);
}

}  // namespace
}  // namespace velmor::engine
