#include "run_driver.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "runtime/run_errors.h"
#include "support/test_support.h"

namespace velmor::engine {
namespace {

using velmor::test::readFile;
using velmor::test::sameText;
using velmor::test::ScratchDir;
using velmor::test::writeFile;

const std::string kBanner =
    " VELMOR - A PROGRAM FOR THE ANALYSIS OF FLEXIBLE RETAINING STRUCTURES\n"
    " VERSION 2013.4.14 - ENGINE LIBRARY Velmor2013_DLL, PORTABLE BUILD\n\n\n";
const std::string kEnd = "\n\n\n     END OF ANALYSIS                             \n";
const std::string kMonitorHeader =
    "\n\n\n     ITERATION MONITOR DATA\n     ----------------------\n\n" + std::string(20, ' ') + "\n";

std::string padded(const std::string& title) {
    return title + std::string(70 - title.size(), ' ');
}

// Runs the entry in the current directory with names.dat naming wall.vm4d and its result files;
// returns the entry's result and fills `console` with what the run wrote there.
int32_t runEngine(std::string& console, int32_t interfaceNumber = 14) {
    std::FILE* sink = std::fopen("console.txt", "w+b");
    int32_t result = RunEntry(interfaceNumber, sink);
    std::fclose(sink);
    console = readFile("console.txt");
    return result;
}

void writeNames(int lineCount = 4) {
    const char* names[] = {"wall.vm4d", "wall.vm4o", "wall.vm4p", "wall.vm4r"};
    std::string text;
    for (int i = 0; i < lineCount; ++i) text += std::string(names[i]) + "\r\n";
    writeFile("names.dat", text);
}

// A small problem the driver carries through every phase: a wall of 5 increments of 12 with its head fixed
// (deflection and slope 0 at station 0), constant EI 1.0E9, no loads, springs, earth pressure or curves. Its
// solution is zero everywhere and converges in the first iteration.
std::string problem(const std::string& title, int unitSystem, int stages, int endFlag) {
    return title + "\r\n" + std::to_string(unitSystem) + " 1\t1\t0\t0\t0 0 " + std::to_string(stages) + " 0\r\n" +
           "5 12.0\t1.0\t0.001\t60.0\r\n3\t0\t0\t0\r\n0\t5\t1\t1.0E9\r\n0\r\n0\r\n" + std::to_string(endFlag) + "\r\n";
}

struct Labels {
    std::string lengthLong, forceLong, lengthShort, forceShort;
};
const Labels kEnglish{" IN", " LBS", "IN", "LBS"};
const Labels kSI{"  M", "  KN", " M", " KN"};

// The report's echo of such a problem, written out from the record layouts.
std::string echo(const Labels& l) {
    const std::string stars = "      **************************************************\n";
    return "\n\n" + stars + "      *        PROGRAM CONTROL PARAMETERS              *\n" + stars + "\n" +
           "      NO OF POINTS FOR SPECIFIED DEFLECTIONS AND SLOPES  =  1\n"
           "      NO OF POINTS FOR WALL STIFFNESS AND LOAD DATA      =  1\n"
           "      GENERATE EARTH PRESSURE INTERNALLY                 =  0\n"
           "      GENERATE SOIL RESISTANCE (P-Y) CURVES INTERNALLY   =  0\n"
           "      NO OF P-Y MODIFICATION FACTORS FOR GEN. P-Y CURVES =  0\n"
           "      NO OF USER-SPECIFIED SOIL RESISTANCE (P-Y) CURVES  =  0\n"
           "      NUMBER OF INCREMENTS                               =   5\n"
           "      INCREMENT LENGTH                                   =  12.000" +
           l.lengthLong + "\n      FREE HEIGHT OF WALL                                =  60.000" + l.lengthLong +
           "\n      MAXIMUM ALLOWABLE DEFLECTION                       =   1.000" + l.lengthLong +
           "\n      DEFLECTION CLOSURE TOLERANCE                       = 0.00100" + l.lengthLong + "\n\n\n" + stars +
           "      *        SPECIFIED DEFLECTIONS AND SLOPES        *\n" + stars +
           "\n          STA      CASE       DEFLECTION        SLOPE\n\n"
           "            0        3         0.000E+00      0.000E+00\n\n\n" +
           stars + "      *        STIFFNESS AND LOAD DATA                 *\n" + stars +
           "      EI - FLEXURAL RIGIDITY,  Q - TRANSVERSE LOAD,\n"
           "      S - STIFFNESS OF TRANSVERSE RESISTANCE,\n"
           "      T - TORQUE,              P - AXIAL LOAD,\n"
           "      R - STIFFNESS OF TORSIONAL RESISTANCE.\n\n"
           "     FROM TO CONTD     EI         Q        S'        T         R         P\n\n" +
           std::string(18, ' ') + l.forceLong + "-" + l.lengthShort + "**2    " + l.forceLong + "    " + l.forceLong +
           "/" + l.lengthShort + "   " + l.lengthLong + "-" + l.forceShort + "  " + l.lengthLong + "-" + l.forceShort +
           "    " + l.forceLong + "\n" +
           "        0   5  0  0.100E+10 0.000E+00 0.000E+00 0.000E+00 0.000E+00 0.000E+00\n";
}

// The solver's results table of the zero solution, from its record layouts.
std::string results(const Labels& l) {
    const char* depths[] = {"0.000E+00", "0.120E+02", "0.240E+02", "0.360E+02", "0.480E+02", "0.600E+02"};
    std::string rows;
    for (int s = 0; s <= 5; ++s) {
        rows += "     " + std::to_string(s) + "   " + depths[s] +
                "   0.000E+00   0.000E+00   0.000E+00   0.000E+00   0.000E+00   " +
                (s == 0 || s == 5 ? "0.500E+09" : "0.100E+10") + "\n";
    }
    return "\n\n     RESULTS -- ITERATION  1\n     --------------------\n\n"
           "   STA I      X         DEFL.       SLOPE'      MOMENT      SHEAR    NET REACT/STA    EI \n" +
           std::string(12, ' ') + l.lengthLong + std::string(9, ' ') + l.lengthLong + std::string(20, ' ') +
           l.forceShort + "-" + l.lengthShort + std::string(7, ' ') + l.forceLong + std::string(7, ' ') + l.forceLong +
           std::string(7, ' ') + l.forceShort + "-" + l.lengthShort + "**2\n" +
           "   ------    ----        ----       -----'      ------      ------    ---------    ----------\n" + rows;
}

const std::string kMonitor =
    kMonitorHeader + "      1       NO          0   0.000E+00 0.000E+00 0.000E+00 0.000E+00 0.000E+00\n";

// The plot-data sections of one such problem: earth pressure 0, no curves, the 7 result rows (stations 0 to
// NI+1) of the zero solution.
std::string plotSections(int unitSystem, int seriesCode) {
    const char* depths[] = {"0.0000E+00", "0.1200E+02", "0.2400E+02", "0.3600E+02",
                            "0.4800E+02", "0.6000E+02", "0.7200E+02"};
    std::string text = " 0\n " + std::to_string(unitSystem) + " 0\n " + std::to_string(seriesCode) + " 7 " +
                       std::to_string(unitSystem) + "\n";
    for (const char* depth : depths) {
        text += std::string("    ") + depth + "    0.0000E+00    0.0000E+00    0.0000E+00    0.0000E+00\n";
    }
    return text;
}

TEST(RunDriver, OtherInterfaceNumbersReturnOneAndTouchNoFile) {
    ScratchDir dir;
    writeNames();
    writeFile("wall.vm4d", problem("T", 1, 1, 0));
    std::string console;
    for (int32_t n : {0, 13, 15, -14}) EXPECT_EQ(runEngine(console, n), 1);
    EXPECT_FALSE(std::filesystem::exists("wall.vm4o"));
    EXPECT_FALSE(std::filesystem::exists("wall.vm4p"));
    EXPECT_TRUE(console.empty());
}

TEST(RunDriver, SingleProblem) {
    ScratchDir dir;
    writeNames();
    writeFile("wall.vm4d", problem("Cantilever in sand", 1, 1, 0));
    std::string console;
    ASSERT_EQ(runEngine(console), 0);
    std::string title = "\n      " + padded("Cantilever in sand") + "\n";
    EXPECT_TRUE(sameText(kBanner + title + echo(kEnglish) + title + results(kEnglish) + kEnd, readFile("wall.vm4o")));
    EXPECT_EQ(readFile("wall.vm4p"), plotSections(1, 1));
    EXPECT_EQ(readFile("wall.vm4r"), kMonitor);
    EXPECT_TRUE(console.empty());
}

TEST(RunDriver, LongTermPairRepeatsBannerAndWritesTwoSectionsWithCodeTwo) {
    ScratchDir dir;
    writeNames();
    writeFile("wall.vm4d", problem("Short term", 2, 1, 9) + problem("Ignored second title", 2, 1, 0));
    std::string console;
    ASSERT_EQ(runEngine(console), 0);
    std::string first = "\n      " + padded("Short term") + "\n";
    std::string second = "\n      Long Term :  " + padded("Short term") + "\n";
    EXPECT_TRUE(sameText(kBanner + first + echo(kSI) + first + results(kSI) + "\n\n" + kBanner + second + echo(kSI) +
                             second + results(kSI) + kEnd,
                         readFile("wall.vm4o")));
    EXPECT_EQ(readFile("wall.vm4p"), plotSections(2, 2) + plotSections(2, 2));
    EXPECT_EQ(readFile("wall.vm4r"), kMonitor + kMonitor);
}

TEST(RunDriver, StagesPrintStageNumbersAndEndAfterTheLastStage) {
    for (int n : {2, 3, 5}) {
        ScratchDir dir;
        writeNames();
        std::string input;
        for (int k = 1; k <= n; ++k) input += problem(k == 1 ? "Staged wall" : "Stage title", 1, n, k);
        input += problem("Never read", 1, 1, 0);
        writeFile("wall.vm4d", input);
        std::string console;
        ASSERT_EQ(runEngine(console), 0);
        std::string expected;
        std::string plot;
        for (int k = 1; k <= n; ++k) {
            std::string title = "\n      Stage No :" + std::string(k < 10 ? " " : "") + std::to_string(k) + "  " +
                                padded("Staged wall") + "\n";
            expected += (k > 1 ? "\n\n" : "") + kBanner + title + echo(kEnglish) + title + results(kEnglish);
            plot += plotSections(1, n);
        }
        EXPECT_TRUE(sameText(expected + kEnd, readFile("wall.vm4o"))) << n << " stages";
        EXPECT_EQ(readFile("wall.vm4p"), plot) << n << " stages";
    }
}

TEST(RunDriver, UnitLabelFlagCarriesOverForOtherUnitSystems) {
    const struct {
        int first, second;
        const char* lengthLong;
    } cases[] = {{3, 3, "  L"}, {2, 3, "  M"}, {1, 0, " IN"}, {1, 2, "  M"}, {2, 1, " IN"}};
    for (const auto& c : cases) {
        ScratchDir dir;
        writeNames();
        writeFile("wall.vm4d", problem("A", c.first, 1, 9) + problem("B", c.second, 1, 0));
        std::string console;
        ASSERT_EQ(runEngine(console), 0);
        EXPECT_EQ(engineState().labels.lengthLong.view(), c.lengthLong) << c.first << " then " << c.second;
        // The results section carries each problem's own unit system.
        EXPECT_EQ(readFile("wall.vm4p"), plotSections(c.first, 2) + plotSections(c.second, 2));
    }
}

TEST(RunDriver, BadRunControlFileEndsTheRunWithoutOpeningFiles) {
    const char* kMessage = " PLEASE CREATE AN INPUT DATA FILE AND SAVE IT\n BEFORE COMPUTATION.  TRY IT AGAIN!\n";
    const struct {
        const char* what;
        std::string names;  // empty: no names.dat at all
    } cases[] = {
        {"missing", ""},
        {"three lines", "wall.vm4d\nwall.vm4o\nwall.vm4p\n"},
        {"empty name", "wall.vm4d\n\nwall.vm4p\nwall.vm4r\n"},
    };
    for (const auto& c : cases) {
        ScratchDir dir;
        if (!c.names.empty()) writeFile("names.dat", c.names);
        writeFile("wall.vm4d", problem("T", 1, 1, 0));
        std::string console;
        EXPECT_EQ(runEngine(console), 0) << c.what;
        EXPECT_EQ(console, kMessage) << c.what;
        EXPECT_FALSE(std::filesystem::exists("wall.vm4o")) << c.what;
        EXPECT_FALSE(std::filesystem::exists("wall.vm4p")) << c.what;
        EXPECT_FALSE(std::filesystem::exists("wall.vm4r")) << c.what;
    }
}

TEST(RunDriver, RunControlNamesMayCarryTrailingBlanksAndAnyLineEnd) {
    ScratchDir dir;
    writeFile("names.dat", "wall.vm4d   \rwall.vm4o\nwall.vm4p\r\nwall.vm4r");
    writeFile("wall.vm4d", problem("T", 1, 1, 0));
    std::string console;
    ASSERT_EQ(runEngine(console), 0);
    EXPECT_EQ(readFile("wall.vm4p"), plotSections(1, 1));
}

TEST(RunDriver, RecordFaultsEndTheRunThroughTheFinish) {
    const struct {
        const char* what;
        std::string input;  // empty: no input file
        const char* message;
        const char* plot;  // the plot-data file starts so: a fault before the solver leaves no result rows
    } cases[] = {
        {"missing input", "", "CANNOT OPEN FILE wall.vm4d", " 1 0 "},
        {"empty input", "\n", "END OF FILE AFTER LINE 1", " 1 0 "},
        {"no end flag", "T\n1 1 1 0 0 0 0 1 0\n5 12 1 0.001 60\n3 0 0 0\n0 5 1 1.0E9\n0\n0\n",
         "END OF FILE AFTER LINE 7", " 0\n 1 0\n 1 7 1\n"},
        {"letter in control record", "T\n1 0 x 0 0 0 0 1 0\n", "LINE 2: ITEM 3 \"x\" IS NOT AN INTEGER", " 1 0 "},
    };
    for (const auto& c : cases) {
        ScratchDir dir;
        writeNames();
        writeFile("wall.vm4o", "a report of an earlier run");
        if (!c.input.empty()) writeFile("wall.vm4d", c.input);
        std::string console;
        EXPECT_EQ(runEngine(console), 0) << c.what;
        std::string report = readFile("wall.vm4o");
        EXPECT_NE(report.find(c.message), std::string::npos) << c.what << "\n" << report;
        EXPECT_NE(console.find(c.message), std::string::npos) << c.what << "\n" << console;
        EXPECT_EQ(report.find("earlier run"), std::string::npos) << c.what;
        EXPECT_EQ(report.substr(report.size() - kEnd.size()), kEnd) << c.what;
        EXPECT_EQ(readFile("wall.vm4p").substr(0, std::string(c.plot).size()), c.plot) << c.what;
    }
}

TEST(RunDriver, StopMessageGoesToConsoleAndReport) {
    ScratchDir dir;
    writeFile("report.txt", "");
    std::FILE* sink = std::fopen("console.txt", "w+b");
    {
        EngineState st{};
        rt::RecordIO io;
        io.setConsole(sink);
        io.open(kReportUnit, "report.txt", rt::Access::Write);
        Engine e{io, st};
        ReportEndOfRun(e, rt::StopRun("1", "\n     THE FREE HEIGHT IS NOT AT A SUBLAYER TOP"));
        ReportEndOfRun(e, rt::StopRun("", "     WARNING"));
        ReportEndOfRun(e, rt::EndRun());  // the phase wrote its own report line already
    }
    std::fclose(sink);
    EXPECT_EQ(readFile("console.txt"),
              "\n     THE FREE HEIGHT IS NOT AT A SUBLAYER TOP\n     RUN STOPPED WITH STOP CODE 1\n"
              "     WARNING\n     RUN STOPPED\n");
    EXPECT_EQ(readFile("report.txt"),
              "\n\n\n     THE FREE HEIGHT IS NOT AT A SUBLAYER TOP\n     RUN STOPPED WITH STOP CODE 1\n"
              "\n\n     WARNING\n     RUN STOPPED\n");
}

TEST(RunDriver, RepeatedRunsInOneProcessGiveIdenticalFiles) {
    ScratchDir dir;
    writeNames();
    std::string console;
    const std::string a = problem("Problem A", 2, 3, 1) + problem("A2", 2, 3, 2) + problem("A3", 2, 3, 3);
    const std::string b = problem("Problem B", 3, 1, 0);

    writeFile("wall.vm4d", b);
    ASSERT_EQ(runEngine(console), 0);
    const std::string reportB = readFile("wall.vm4o"), plotB = readFile("wall.vm4p");

    writeFile("wall.vm4d", a);
    ASSERT_EQ(runEngine(console), 0);
    const std::string reportA = readFile("wall.vm4o"), plotA = readFile("wall.vm4p");
    ASSERT_EQ(runEngine(console), 0);
    EXPECT_EQ(readFile("wall.vm4o"), reportA);
    EXPECT_EQ(readFile("wall.vm4p"), plotA);

    // B after A equals B alone: generic labels, code 1, nothing left over from the staged run.
    writeFile("wall.vm4d", b);
    ASSERT_EQ(runEngine(console), 0);
    EXPECT_EQ(readFile("wall.vm4o"), reportB);
    EXPECT_EQ(readFile("wall.vm4p"), plotB);
    EXPECT_EQ(engineState().labels.lengthLong.view(), "  L");
}

}  // namespace
}  // namespace velmor::engine
