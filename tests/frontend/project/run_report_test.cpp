#include "project/run_report.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace velmor::project {
namespace {

using Lines = std::vector<std::string>;

const std::string kEcho =
    " VELMOR - A PROGRAM FOR THE ANALYSIS OF FLEXIBLE RETAINING STRUCTURES\n"
    " VERSION 2013.4.14 - ENGINE LIBRARY Velmor2013_DLL, PORTABLE BUILD\n\n\n\n      Quay wall   \n\n\n"
    "      NUMBER OF INCREMENTS                               =  60\n                    \n";
const std::string kResultsHead =
    "\n\n     RESULTS -- ITERATION  5\n     --------------------\n\n"
    "     ***** SOLUTION NOT CLOSED WITHIN SPECIFIED'TOLERANCE *****\n\n"
    "   STA I      X         DEFL.       SLOPE'      MOMENT      SHEAR    NET REACT/STA    EI \n"
    "   ------    ----        ----       -----'      ------      ------    ---------    ----------\n";
const std::string kResults = kResultsHead +
                             "     0   0.000E+00   0.737E+00  -0.399E-02   0.000E+00   0.000E+00   0.000E+00\n"
                             "     1   0.600E+01   0.713E+00  -0.399E-02   0.000E+00   0.443E+01   0.886E+01\n";
const std::string kEnd = "\n\n\n     END OF ANALYSIS                             \n";

Lines split(const std::string& text) {
    Lines lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// A message row gives the engine's lines separated by '|' ("||" is an empty line inside the message);
// the engine writes two empty lines before a message and indents each line.
std::string written(const std::string& row) {
    std::string text = "\n\n     ";
    for (char c : row) text += c == '|' ? std::string("\n     ") : std::string(1, c);
    return text + "\n";
}
// What the message shows: each line without its surrounding blanks, empty lines left out.
Lines shown(const std::string& row) {
    Lines lines;
    for (const std::string& line : split(written(row))) {
        const std::size_t first = line.find_first_not_of(' ');
        if (first != std::string::npos) lines.push_back(line.substr(first, line.find_last_not_of(' ') - first + 1));
    }
    return lines;
}

TEST(RunReport, EveryEngineMessageThatEndsAProblemStopsTheRun) {
    // clang-format off
    const char* const messages[] = {
        "ERROR -- P-Y CURVE 3 NEEDS AT LEAST 2 POINTS",
        "ERROR -- NEGATIVE CURVE COUNT IN THE SCRATCH CURVE FILE",
        "ERROR -- TRAPEZOIDAL EARTH PRESSURE NEEDS A SUPPORT (SPRING ROW)",
        "ERROR -- TRAPEZOIDAL EARTH PRESSURE NEEDS THE FIRST SPRING ROW AT ONE STATION",
        "ERROR -- TRAPEZOIDAL EARTH PRESSURE NEEDS THE LAST SPRING ROW AT ONE STATION",
        "ERROR -- FIRST SUPPORT IS DEEPER THAN THE LAST SUPPORT",
        "ERROR -- SUPPORT AT DEPTH 0.240E+03 IS BELOW THE EXCAVATION LEVEL 0.120E+03",
        "INPUT SOIL LAYER  2: THE EQUIVALENT DEPTH OF THE LAYER TOP CANNOT BE FOUND|(CHECK THE STRENGTH, WIDTH AND UNIT WEIGHT OF THE LAYER)|||",
        "INPUT SOIL LAYER  1: THE P-Y CURVE AT    120.00 IN  IS NOT FINITE|(CHECK THE SOIL VALUES OF THE LAYER)|||",
        "INPUT SOIL LAYER  2: ITS BOTTOM DOES NOT LIE BELOW THE BOTTOM OF THE LAYER ABOVE|||",
        "INPUT SOIL LAYER  1: THE LAYER IS TOO THIN FOR ITS P-Y STATIONS|||",
        "INPUT SOIL LAYER  1: THE FRICTION ANGLE MUST BE GREATER THAN ZERO|||",
        "INPUT SOIL LAYER  1: THE EFFECTIVE UNIT WEIGHT MUST BE GREATER THAN ZERO|||",
        "INPUT SOIL LAYER  1: THE COHESION MUST NOT BE NEGATIVE|||",
        "INPUT SOIL LAYER  3: THE ROCK STRENGTH MUST BE GREATER THAN ZERO|||",
        "INPUT SOIL LAYER  3: KRM MUST BE GREATER THAN ZERO|||",
        "INPUT SOIL LAYER  1: E50 MUST BE GREATER THAN ZERO|||",
        "INPUT SOIL LAYER  1: THE EFFECTIVE UNIT WEIGHT MUST NOT BE NEGATIVE|||",
        "THE WIDTH FOR SOIL RESISTANCE (WP) MUST BE GREATER THAN ZERO|||",
        "SOILDATA HOLDS  12 GENERATED P-Y CURVES INSTEAD OF  14|||",
        "ERROR STOP -- STATIONS NOT IN ORDER",
        "ERROR -- NON-ZERO TABLE 4 DATA BEYOND END",
        "ERROR STOP -- STATION 70 IS OUTSIDE THE RANGE 0 TO 60",
        "ERROR -- EARTH PRESSURE OPTION MUST BE 0, 1, 2 OR 3",
        "ERROR -- P-Y CURVE OPTION MUST BE 0, 1 OR 2",
        "ERROR -- NEGATIVE COUNT IN THE CONTROL RECORD",
        "ERROR -- NUMBER OF INCREMENTS MUST BE 1 TO 407",
        "ERROR -- INCREMENT LENGTH MUST BE GREATER THAN ZERO",
        "ERROR STOP -- SPECIFIED DEFLECTIONS AND SLOPES OVERLAP AT STATION 4|GIVE A DEFLECTION AND A SLOPE AT ONE STATION AS ONE ROW OF CASE 3",
        "ERROR -- NEGATIVE ROW COUNT IN THE SCRATCH PROFILE FILE",
        "ERROR -- M-EI CURVE 2 NEEDS AT LEAST 2 POINTS",
        "ERROR STOP -- SINGULAR WALL EQUATIONS AT STATION   12",
        "ERROR STOP -- WALL SOLUTION OUT OF RANGE AT STATION   12",
        "ERROR -- WATER TABLE AT BACKFILL ABOVE THE TOP OF THE WALL",
        "ERROR -- WATER TABLE AT EXCAVATION ABOVE THE TOP OF THE WALL",
        "TOO MUCH DATA FOR AVAILABLE STORAGE|||",
        "||  WARNING-------The Angle of the slope can not|                be greater than the internal  |                friction angle of the sand.   ||RUN STOPPED",
        "|                        **** WARNING ****|THE VALUE OF X =  0.3D+03IS BEYOND THE EXTENT OF|THE INPUT STRENGTH CURVE|RUN STOPPED WITH STOP CODE 1",
        "|                        **** WARNING ****|THE VALUE OF X =  0.3D+03 IS BEYOND THE EXTENT OF|THE INPUT PHI CURVE|RUN STOPPED",
        "RUN STOPPED WITH STOP CODE 4",
        "|  --------------------WARNING----------------------|  THE COHESIVE STRENGTH IS 0 FOR ROCK ACCORING TO THE INPUT|  DATA. PLEASE ENTER THE CORRECT VALUE AND RUN IT AGAIN.|RUN STOPPED",
        "THE SOIL LAYERS, SPLIT AT THE EXCAVATION LEVEL AND THE WATER TABLE, MAKE MORE THAN 40 SUBLAYERS|RUN STOPPED WITH STOP CODE 1",
        "NO SOIL LAYER IS GIVEN: THE EXCAVATION LEVEL LIES IN NO LAYER|RUN STOPPED WITH STOP CODE 1",
        "SOIL LAYER  1 ENDS AT-0.600E+02 IN , NOT BELOW THE TOP OF THE LAYER|RUN STOPPED WITH STOP CODE 1",
        "THE FREE HEIGHT OF WALL-0.120E+03 IN  LIES ABOVE THE TOP OF THE WALL|RUN STOPPED WITH STOP CODE 1",
        "THE FREE HEIGHT OF WALL 0.360E+03 IN  IS NOT ABOVE THE TIP OF THE WALL AT 0.360E+03 IN |RUN STOPPED WITH STOP CODE 1",
        "THE SOIL LAYERS END AT 0.600E+02 IN  (LAYER  1), NOT BELOW THE EXCAVATION LEVEL AT 0.120E+03 IN |RUN STOPPED WITH STOP CODE 1",
        "RUN STOPPED WITH STOP CODE 2",
        "INPUT ERROR IN FILE /w/wall.vm4d, LINE 14: \"X\" IS NOT A NUMBER",
        "INPUT ERROR IN FILE /w/wall.vm4d: END OF FILE AFTER LINE 30",
        "CANNOT OPEN FILE /w/wall.vm4d: No such file or directory",
        "CANNOT OPEN FILE soildata: No such file or directory",
        "CANNOT WRITE FILE /w/wall.vm4p: No space left on device",
        "NEAREST INTEGER OF A VALUE OUTSIDE THE INTEGER RANGE: 1e+300",
    };
    // clang-format on
    for (const char* message : messages) {
        // Where the run ends: before the results (or before the first banner: the control record); after
        // them (the end flag, or the next problem's control record); in the second problem.
        for (const std::string& report : {kEcho + written(message) + kEnd, kEcho + kResults + written(message) + kEnd,
                                          kEcho + kResults + "\n" + kEcho + written(message) + kEnd}) {
            const TRunOutcome outcome = ReadRunOutcome(split(report));
            EXPECT_TRUE(outcome.Stopped) << message;
            EXPECT_EQ(outcome.Message, shown(message)) << message;
        }
    }
}

TEST(RunReport, FinishedAndUnfinishedReports) {
    // One problem, two problems: finished. The second problem without results, a results table without
    // rows, no END OF ANALYSIS, an empty report: stopped.
    // The solver's warnings of every problem, each different line once.
    const std::string closure = "***** SOLUTION NOT CLOSED WITHIN SPECIFIED'TOLERANCE *****",
                      offCurve = "***** DEFLECTION OFF Q - W CURVES *****",
                      exceeded = "***** MAX ALLOWABLE DEFLECTION EXCEEDED AT ***  61  *** STATIONS *****";
    std::string warned = kResults;
    warned.insert(warned.find(closure), offCurve + "\n\n     " + exceeded + "\n\n     ");
    const std::pair<std::string, Lines> finished[] = {
        {kEcho + kResults + kEnd, {closure}},
        {kEcho + kResults + "\n" + kEcho + warned + kEnd, {closure, offCurve, exceeded}},
    };
    for (const auto& [report, warnings] : finished) {
        const TRunOutcome outcome = ReadRunOutcome(split(report));
        EXPECT_TRUE(!outcome.Stopped && outcome.Message.empty()) << report;
        EXPECT_EQ(outcome.Warnings, warnings);
    }
    for (const std::string& report :
         {kEcho + kResults + "\n" + kEcho + kEnd, kEcho + kResultsHead + kEnd, kEcho + kResults, std::string()})
        EXPECT_TRUE(ReadRunOutcome(split(report)).Stopped) << report;
}

}  // namespace
}  // namespace velmor::project
