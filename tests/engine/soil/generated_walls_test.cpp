#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "engine_state.h"
#include "run_driver.h"
#include "soildata_reader.h"
#include "support/test_support.h"

namespace velmor::engine {
namespace {

using soiltest::readScratchCurves;
using soiltest::ScratchCurveFile;
using test::readFile;

// A cantilever of NI = 60 increments of 6 in English units, 120 of it free above the excavation, with the
// earth pressure and the p-y curves generated; `layers` is the layer table (count line and records).
std::string cantilever(const std::string& title, const std::string& layers) {
    return title +
           "\r\n"
           "1 0 1 0 2 2 0 1 0\r\n"
           "60 6.0 20.0 0.001 120.0\r\n"
           "0 60 1 4.0E10\r\n"
           "0\r\n"
           "0\r\n"
           "120.0 24.0 24.0 900.0 900.0 1.0 1 0.0\r\n"
           "0 0 0 0 0 0\r\n"
           "0\r\n" +
           layers + "0\r\n";
}

// Runs the project through the entry in the current directory; returns the report.
std::string runProject(const std::string& project, std::string& console) {
    test::writeFile("names.dat", "wall.vm4d\r\nwall.vm4o\r\nwall.vm4p\r\nwall.vm4r\r\n");
    test::writeFile("wall.vm4d", project);
    std::FILE* sink = std::fopen("console.txt", "w+b");
    EXPECT_EQ(RunEntry(14, sink), 0);
    std::fclose(sink);
    console = readFile("console.txt");
    return readFile("wall.vm4o");
}

int occurrences(const std::string& text, const std::string& what) {
    int n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

// The run ends normally with every generated curve handed to the solver: soildata holds 5 curves per
// layer of 34 points, 17 per side, and the curve set holds as many two-sided curves of 33 points.
void expectCompleteRun(const std::string& report, int layers) {
    EXPECT_NE(report.find("END OF ANALYSIS"), std::string::npos);
    for (const char* bad : {"ERROR", "TOO MUCH DATA", "WARNING", "NOT FINITE", "NaN"})
        EXPECT_EQ(report.find(bad), std::string::npos) << "the report holds " << bad;
    // No number overflowed its field; rows of asterisks frame the headings.
    for (const std::string& line : test::splitLines(report)) {
        const std::size_t first = line.find_first_not_of(' ');
        if (line.find("***") != std::string::npos) {
            EXPECT_EQ(line[first], '*') << line;
        }
    }
    const ScratchCurveFile file = readScratchCurves();
    EXPECT_TRUE(file.complete);
    EXPECT_EQ(file.count, 5 * layers);
    ASSERT_EQ(file.curves.size(), static_cast<std::size_t>(5 * layers));
    for (const auto& curve : file.curves) {
        ASSERT_EQ(curve.points.size(), 34u);
        for (int i = 0; i < 34; ++i) {
            EXPECT_EQ(curve.points[static_cast<std::size_t>(i)].number, i % 17 + 1);
            EXPECT_TRUE(std::isfinite(curve.points[static_cast<std::size_t>(i)].p));
        }
    }
    const PYCurveStore& curves = engineState().curves;
    EXPECT_EQ(curves.count, 5 * layers);
    for (int k = 1; k <= curves.count && k <= kMaxCurves; ++k) EXPECT_EQ(curves.pointCount[k], 33);
}

// Results rows of the report: station number, then depth, deflection, moment, shear, reaction and two more.
struct ResultRow {
    int station;
    std::vector<double> values;
};

std::vector<ResultRow> resultRows(const std::string& report) {
    std::vector<ResultRow> rows;
    bool inTable = false;
    for (const std::string& line : test::splitLines(report)) {
        if (line.rfind("   ------    ----", 0) == 0) {
            inTable = true;
            continue;
        }
        if (inTable && line.find_first_not_of(' ') == std::string::npos) {
            inTable = false;
            continue;
        }
        if (!inTable) continue;
        std::istringstream fields(line);
        ResultRow row{};
        fields >> row.station;
        double v = 0.0;
        while (fields >> v) row.values.push_back(v);
        rows.push_back(row);
    }
    return rows;
}

TEST(GeneratedWalls, CantileverSocketedIntoRock) {
    test::ScratchDir dir;
    std::string console;
    // Sand down to 168 below the top of the wall (48 below the excavation), rock of qu = 2000 below.
    const std::string report = runProject(cantilever("Cantilever socketed into rock",
                                                     "2\r\n"
                                                     "4 168.0\r\n0.0694 0.0 32.0 0.0 90.0 0.0\r\n"
                                                     "0.0694 0.0 32.0 0.0 90.0 0.0\r\n"
                                                     "6 400.0\r\n0.08 2000.0 0.0 0.0 0.0 0.0\r\n"
                                                     "0.08 2000.0 0.0 0.0 0.0 0.0\r\n"),
                                          console);
    expectCompleteRun(report, 2);
    EXPECT_NE(report.find("THE LAYER IS ROCK"), std::string::npos);
    EXPECT_EQ(occurrences(report, "DEPTH-EXCAVATION SIDE"), 5);
    EXPECT_EQ(occurrences(report, "DEPTH-BACKFILL SIDE  "), 5);

    // The rock holds the toe: from 12 below the rock top (station 30) down the wall moves less than the
    // rock's peak deflection 0.0024 b = 0.0576 and less than a tenth of the free head.
    const std::vector<ResultRow> rows = resultRows(report);
    ASSERT_FALSE(rows.empty());
    double head = 0.0;
    double inRock = 0.0;
    for (const ResultRow& r : rows) {
        ASSERT_GE(r.values.size(), 2u);
        if (r.station == 0) head = std::fabs(r.values[1]);
        if (r.station >= 30) inRock = std::max(inRock, std::fabs(r.values[1]));
    }
    EXPECT_LT(inRock, 0.0576);
    EXPECT_LT(inRock, 0.1 * head);
}

TEST(GeneratedWalls, CantileverInSilt) {
    test::ScratchDir dir;
    std::string console;
    const std::string report = runProject(cantilever("Cantilever in a c-phi silt",
                                                     "1\r\n"
                                                     "5 400.0\r\n0.0694 1.5 28.0 0.0 60.0 0.0\r\n"
                                                     "0.0694 1.5 28.0 0.0 60.0 0.0\r\n"),
                                          console);
    expectCompleteRun(report, 1);
    EXPECT_NE(report.find("THE SOIL IS A SILT"), std::string::npos);
    EXPECT_EQ(occurrences(report, "AT THE EXCAVATION SIDE"), 5);
    EXPECT_EQ(occurrences(report, "AT THE BACKFILL SIDE"), 5);
    EXPECT_EQ(occurrences(report, "Pu\xED"), 10);
    // The cantilever leans towards the excavation: the head moves most.
    const std::vector<ResultRow> rows = resultRows(report);
    ASSERT_FALSE(rows.empty());
    double head = 0.0;
    double largest = 0.0;
    for (const ResultRow& r : rows) {
        ASSERT_GE(r.values.size(), 2u);
        if (r.station == 0) head = std::fabs(r.values[1]);
        largest = std::max(largest, std::fabs(r.values[1]));
    }
    EXPECT_GT(head, 0.0);
    EXPECT_EQ(head, largest);
}

TEST(GeneratedWalls, OneLayerOfEverySoilType) {
    test::ScratchDir dir;
    std::string console;
    // Seven layers of 36 below the excavation; the soil model ends 12 + 360 - 120 = 252 below it. The
    // backfill water table at 190 lies in the fourth layer.
    std::string project = cantilever("Every soil type",
                                     "7\r\n"
                                     "3 156.0\r\n0.07 8.0 0.0 0.007 0.0 0.0\r\n0.07 9.0 0.0 0.007 0.0 0.0\r\n"
                                     "1 192.0\r\n0.065 4.0 0.0 0.02 0.0 0.0\r\n0.065 4.0 0.0 0.02 0.0 0.0\r\n"
                                     "4 228.0\r\n0.0694 0.0 34.0 0.0 90.0 0.0\r\n0.0694 0.0 34.0 0.0 90.0 0.0\r\n"
                                     "5 264.0\r\n0.0694 1.5 28.0 0.0 60.0 0.0\r\n0.0694 1.5 28.0 0.0 60.0 0.0\r\n"
                                     "2 300.0\r\n0.075 12.0 0.0 0.005 500.0 0.0\r\n0.075 14.0 0.0 0.005 500.0 0.0\r\n"
                                     "7 336.0\r\n0.08 800.0 0.0 0.0005 5.0E4 40.0\r\n"
                                     "0.08 900.0 0.0 0.0005 5.0E4 60.0\r\n"
                                     "6 400.0\r\n0.085 2000.0 0.0 0.0 0.0 0.0\r\n0.085 2000.0 0.0 0.0 0.0 0.0\r\n");
    project.replace(project.find("900.0 900.0"), 11, "190.0 900.0");
    const std::string report = runProject(project, console);
    expectCompleteRun(report, 7);
    for (const char* line : {"THE SOIL IS A SOFT CLAY", "THE SOIL IS A STIFF CLAY BELOW THE WATER TABLE",
                             "THE SOIL IS A STIFF CLAY ABOVE THE WATER TABLE", "THE SOIL IS A SAND",
                             "THE SOIL IS A SILT", "THE LAYER IS ROCK", "THE LAYER IS WEAK ROCK"}) {
        EXPECT_NE(report.find(line), std::string::npos) << line;
    }
    // Both sides of every station: six layers with side titles, the rock with its own headings.
    EXPECT_EQ(occurrences(report, "AT THE EXCAVATION SIDE"), 30);
    EXPECT_EQ(occurrences(report, "AT THE BACKFILL SIDE"), 30);
    EXPECT_EQ(occurrences(report, "DEPTH-EXCAVATION SIDE"), 5);
    EXPECT_EQ(occurrences(report, "DEPTH-BACKFILL SIDE  "), 5);
    // Curves lie in depth order, one per station, 0.1 inside the layer ends.
    const ScratchCurveFile file = readScratchCurves();
    ASSERT_EQ(file.curves.size(), 35u);
    EXPECT_NEAR(file.curves.front().where, 120.1, 1e-6);
    EXPECT_NEAR(file.curves.back().where, 371.9, 1e-6);
    for (std::size_t k = 1; k < file.curves.size(); ++k) EXPECT_GT(file.curves[k].where, file.curves[k - 1].where);
}

}  // namespace
}  // namespace velmor::engine
