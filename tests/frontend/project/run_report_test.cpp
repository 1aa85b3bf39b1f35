#include "project/run_report.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace velmor::project {
namespace {

using Lines = std::vector<std::string>;

// Report text as the engine writes it, one problem at a time; a message is given as the lines the engine
// writes for it, blank lines and leading blanks included.
Lines split(const std::string& text) {
    Lines lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

const char* const kEcho =
    " VELMOR - A PROGRAM FOR THE ANALYSIS OF FLEXIBLE RETAINING STRUCTURES\n"
    " VERSION 2013.4.14 - ENGINE LIBRARY Velmor2013_DLL, PORTABLE BUILD\n\n\n\n"
    "      Quay wall   \n\n\n"
    "      **************************************************\n"
    "      *        PROGRAM CONTROL PARAMETERS              *\n"
    "      **************************************************\n\n"
    "      NUMBER OF INCREMENTS                               =  60\n"
    "      INCREMENT LENGTH                                   =   6.000 IN\n\n"
    "                    \n";

const char* const kResultsHead =
    "\n\n     RESULTS -- ITERATION  5\n"
    "     --------------------\n\n"
    "     ***** SOLUTION NOT CLOSED WITHIN SPECIFIED'TOLERANCE *****\n\n"
    "   STA I      X         DEFL.       SLOPE'      MOMENT      SHEAR    NET REACT/STA    EI \n"
    "             IN          IN                    LBS-IN        LBS        LBS       LBS-IN**2\n"
    "   ------    ----        ----       -----'      ------      ------    ---------    ----------\n";
const std::string kResults =
    std::string(kResultsHead) +
    "     0   0.000E+00   0.737E+00  -0.399E-02   0.000E+00   0.000E+00   0.000E+00   0.267E+10\n"
    "     1   0.600E+01   0.713E+00  -0.399E-02   0.000E+00   0.443E+01   0.886E+01   0.534E+10\n";

const char* const kEnd = "\n\n\n     END OF ANALYSIS                             \n";

// The lines of `written` that the message should show: trimmed, blank lines left out.
Lines shown(const std::string& written) {
    Lines lines;
    for (const std::string& line : split(written)) {
        const std::size_t first = line.find_first_not_of(' ');
        if (first != std::string::npos) lines.push_back(line.substr(first, line.find_last_not_of(' ') - first + 1));
    }
    return lines;
}

TEST(RunReport, EveryEngineMessageThatEndsAProblemStopsTheRun) {
    // The driver writes a stop as two empty lines, the stop's lines and "RUN STOPPED"; a fault of the
    // record layer as two empty lines and the fault; an input error as its own edit descriptors say.
    const char* const messages[] = {
        "\n\n     ERROR -- P-Y CURVE 3 NEEDS AT LEAST 2 POINTS\n",
        "\n\n     ERROR -- NEGATIVE CURVE COUNT IN THE SCRATCH CURVE FILE\n",
        "\n\n     ERROR -- TRAPEZOIDAL EARTH PRESSURE NEEDS A SUPPORT (SPRING ROW)\n",
        "\n\n     ERROR -- TRAPEZOIDAL EARTH PRESSURE NEEDS THE FIRST SPRING ROW AT ONE STATION\n",
        "\n\n     ERROR -- TRAPEZOIDAL EARTH PRESSURE NEEDS THE LAST SPRING ROW AT ONE STATION\n",
        "\n\n     ERROR -- FIRST SUPPORT IS DEEPER THAN THE LAST SUPPORT\n",
        "\n\n     ERROR -- SUPPORT AT DEPTH 0.240E+03 IS BELOW THE EXCAVATION LEVEL 0.120E+03\n",
        "\n\n     INPUT SOIL LAYER  2: THE EQUIVALENT DEPTH OF THE LAYER TOP CANNOT BE FOUND\n"
        "     (CHECK THE STRENGTH, WIDTH AND UNIT WEIGHT OF THE LAYER)\n\n\n",
        "\n\n     INPUT SOIL LAYER  1: THE P-Y CURVE AT    120.00 IN  IS NOT FINITE\n"
        "     (CHECK THE SOIL VALUES OF THE LAYER)\n\n\n",
        "\n\n     INPUT SOIL LAYER  2: ITS BOTTOM DOES NOT LIE BELOW THE BOTTOM OF THE LAYER ABOVE\n\n\n",
        "\n\n     INPUT SOIL LAYER  1: THE LAYER IS TOO THIN FOR ITS P-Y STATIONS\n\n\n",
        "\n\n     INPUT SOIL LAYER  1: THE FRICTION ANGLE MUST BE GREATER THAN ZERO\n\n\n",
        "\n\n     INPUT SOIL LAYER  1: THE EFFECTIVE UNIT WEIGHT MUST BE GREATER THAN ZERO\n\n\n",
        "\n\n     INPUT SOIL LAYER  1: THE COHESION MUST NOT BE NEGATIVE\n\n\n",
        "\n\n     INPUT SOIL LAYER  3: THE ROCK STRENGTH MUST BE GREATER THAN ZERO\n\n\n",
        "\n\n     INPUT SOIL LAYER  3: KRM MUST BE GREATER THAN ZERO\n\n\n",
        "\n\n     INPUT SOIL LAYER  1: E50 MUST BE GREATER THAN ZERO\n\n\n",
        "\n\n     INPUT SOIL LAYER  1: THE EFFECTIVE UNIT WEIGHT MUST NOT BE NEGATIVE\n\n\n",
        "\n\n     THE WIDTH FOR SOIL RESISTANCE (WP) MUST BE GREATER THAN ZERO\n\n\n",
        "\n\n     SOILDATA HOLDS  12 GENERATED P-Y CURVES INSTEAD OF  14\n\n\n",
        "\n\n     ERROR STOP -- STATIONS NOT IN ORDER\n",
        "\n\n     ERROR -- NON-ZERO TABLE 4 DATA BEYOND END\n",
        "\n\n     ERROR STOP -- STATION 70 IS OUTSIDE THE RANGE 0 TO 60\n",
        "\n\n     ERROR -- EARTH PRESSURE OPTION MUST BE 0, 1, 2 OR 3\n",
        "\n\n     ERROR -- P-Y CURVE OPTION MUST BE 0, 1 OR 2\n",
        "\n\n     ERROR -- NEGATIVE COUNT IN THE CONTROL RECORD\n",
        "\n\n     ERROR -- NUMBER OF INCREMENTS MUST BE 1 TO 407\n",
        "\n\n     ERROR -- INCREMENT LENGTH MUST BE GREATER THAN ZERO\n",
        "\n\n     ERROR STOP -- SPECIFIED DEFLECTIONS AND SLOPES OVERLAP AT STATION 4\n"
        "     GIVE A DEFLECTION AND A SLOPE AT ONE STATION AS ONE ROW OF CASE 3\n",
        "\n\n     ERROR -- NEGATIVE ROW COUNT IN THE SCRATCH PROFILE FILE\n",
        "\n\n     ERROR -- M-EI CURVE 2 NEEDS AT LEAST 2 POINTS\n",
        "\n\n     ERROR STOP -- SINGULAR WALL EQUATIONS AT STATION   12\n",
        "\n\n     ERROR STOP -- WALL SOLUTION OUT OF RANGE AT STATION   12\n",
        "\n\n     ERROR -- WATER TABLE AT BACKFILL ABOVE THE TOP OF THE WALL\n",
        "\n\n     ERROR -- WATER TABLE AT EXCAVATION ABOVE THE TOP OF THE WALL\n",
        "\n\n     TOO MUCH DATA FOR AVAILABLE STORAGE\n\n\n",
        "\n\n\n\n       WARNING-------The Angle of the slope can not\n"
        "                     be greater than the internal  \n"
        "                     friction angle of the sand.   \n\n"
        "     RUN STOPPED\n",
        "\n\n\n                             **** WARNING ****\n"
        "     THE VALUE OF X =  0.3D+03IS BEYOND THE EXTENT OF\n"
        "     THE INPUT STRENGTH CURVE\n"
        "     RUN STOPPED WITH STOP CODE 1\n",
        "\n\n\n                             **** WARNING ****\n"
        "     THE VALUE OF X =  0.3D+03 IS BEYOND THE EXTENT OF\n"
        "     THE INPUT PHI CURVE\n"
        "     RUN STOPPED\n",
        "\n\n     RUN STOPPED WITH STOP CODE 4\n",
        "\n\n\n       --------------------WARNING----------------------\n"
        "       THE COHESIVE STRENGTH IS 0 FOR ROCK ACCORING TO THE INPUT\n"
        "       DATA. PLEASE ENTER THE CORRECT VALUE AND RUN IT AGAIN.\n"
        "     RUN STOPPED\n",
        "\n\n     THE SOIL LAYERS, SPLIT AT THE EXCAVATION LEVEL AND THE WATER TABLE, MAKE MORE THAN 40 SUBLAYERS\n"
        "     RUN STOPPED WITH STOP CODE 1\n",
        "\n\n     NO SOIL LAYER IS GIVEN: THE EXCAVATION LEVEL LIES IN NO LAYER\n     RUN STOPPED WITH STOP CODE 1\n",
        "\n\n     SOIL LAYER  1 ENDS AT-0.600E+02 IN , NOT BELOW THE TOP OF THE LAYER\n"
        "     RUN STOPPED WITH STOP CODE 1\n",
        "\n\n     THE FREE HEIGHT OF WALL-0.120E+03 IN  LIES ABOVE THE TOP OF THE WALL\n"
        "     RUN STOPPED WITH STOP CODE 1\n",
        "\n\n     THE FREE HEIGHT OF WALL 0.360E+03 IN  IS NOT ABOVE THE TIP OF THE WALL AT 0.360E+03 IN \n"
        "     RUN STOPPED WITH STOP CODE 1\n",
        "\n\n     THE SOIL LAYERS END AT 0.600E+02 IN  (LAYER  1), NOT BELOW THE EXCAVATION LEVEL AT 0.120E+03 IN \n"
        "     RUN STOPPED WITH STOP CODE 1\n",
        "\n\n     RUN STOPPED WITH STOP CODE 2\n",
        "\n\n     INPUT ERROR IN FILE /w/wall.vm4d, LINE 14: \"X\" IS NOT A NUMBER\n",
        "\n\n     INPUT ERROR IN FILE /w/wall.vm4d: END OF FILE AFTER LINE 30\n",
        "\n\n     CANNOT OPEN FILE /w/wall.vm4d: No such file or directory\n",
        "\n\n     CANNOT OPEN FILE soildata: No such file or directory\n",
        "\n\n     CANNOT WRITE FILE /w/wall.vm4p: No space left on device\n",
        "\n\n     NEAREST INTEGER OF A VALUE OUTSIDE THE INTEGER RANGE: 1e+300\n",
    };
    for (const char* message : messages) {
        // Where the run ends: before the results (or before the first banner: the control record); after
        // them (the end flag, or the next problem's control record); in the second problem.
        for (const std::string& report :
             {std::string(kEcho) + message + kEnd, std::string(kEcho) + kResults + message + kEnd,
              std::string(kEcho) + kResults + "\n" + kEcho + message + kEnd}) {
            const TRunOutcome outcome = ReadRunOutcome(split(report));
            EXPECT_TRUE(outcome.Stopped) << message;
            EXPECT_EQ(outcome.Message, shown(message)) << message;
        }
    }
}

TEST(RunReport, FinishedAndUnfinishedReports) {
    const struct {
        const char* name;
        std::string report;
        bool stopped;
    } cases[] = {
        {"one problem", std::string(kEcho) + kResults + kEnd, false},
        {"two problems", std::string(kEcho) + kResults + "\n" + kEcho + kResults + kEnd, false},
        {"second problem without results", std::string(kEcho) + kResults + "\n" + kEcho + kEnd, true},
        {"results table without rows", std::string(kEcho) + kResultsHead + kEnd, true},
        {"no END OF ANALYSIS", kEcho + kResults, true},
        {"empty report", "", true},
    };
    for (const auto& c : cases) {
        const TRunOutcome outcome = ReadRunOutcome(split(c.report));
        EXPECT_EQ(outcome.Stopped, c.stopped) << c.name;
        if (!c.stopped) {
            EXPECT_TRUE(outcome.Message.empty()) << c.name;
        }
    }
}

}  // namespace
}  // namespace velmor::project
