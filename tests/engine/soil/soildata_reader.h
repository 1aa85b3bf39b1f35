#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <sstream>
#include <string>
#include <vector>

#include "soil/soil_model.h"
#include "soil_test_support.h"
#include "support/test_support.h"

namespace velmor::engine::soiltest {

// One point record of soildata: (number, p, y).
struct CurvePoint {
    int number;
    double p;
    double y;
};

// A curve as its header announces it: (depth below the top of the wall or node, point count) and the
// point records that follow.
struct ScratchCurve {
    double where;
    int count;
    std::vector<CurvePoint> points;
};

struct ScratchCurveFile {
    int count = -1;  // the count line
    std::vector<ScratchCurve> curves;
    bool complete = false;  // every header was followed by its points and nothing else
};

// soildata read as the intake reads it: the count line, then headers and their point records.
inline ScratchCurveFile readScratchCurves(const std::string& path = "soildata") {
    ScratchCurveFile file;
    const std::vector<std::string> lines = test::splitLines(test::readFile(path));
    if (lines.empty()) return file;
    file.count = std::stoi(lines[0]);
    std::size_t next = 1;
    while (next < lines.size()) {
        std::istringstream header(lines[next++]);
        ScratchCurve curve{};
        if (!(header >> curve.where >> curve.count) || curve.count < 0) return file;
        for (int i = 0; i < curve.count; ++i) {
            if (next >= lines.size()) return file;
            std::istringstream record(lines[next++]);
            CurvePoint point{};
            if (!(record >> point.number >> point.p >> point.y)) return file;
            curve.points.push_back(point);
        }
        file.curves.push_back(curve);
    }
    file.complete = true;
    return file;
}

// The lines of the report from the first one equal to `first` on, `count` of them (fewer at the end).
inline std::vector<std::string> reportLinesFrom(const std::string& report, const std::string& first, int count) {
    const std::vector<std::string> lines = test::splitLines(report);
    std::vector<std::string> out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i] != first) continue;
        for (std::size_t j = i; j < lines.size() && out.size() < static_cast<std::size_t>(count); ++j) {
            out.push_back(lines[j]);
        }
        break;
    }
    return out;
}

// The report lines of a station's two curve blocks, from the two empty lines before its excavation-side
// title; `station` counts the stations of the report from 1.
inline std::vector<std::string> stationBlock(const std::string& report, int station, std::size_t count) {
    const std::vector<std::string> lines = test::splitLines(report);
    int seen = 0;
    for (std::size_t i = 2; i < lines.size(); ++i) {
        if (lines[i] != "         AT THE EXCAVATION SIDE" || ++seen != station) continue;
        return std::vector<std::string>(lines.begin() + (i - 2), lines.begin() + std::min(lines.size(), i - 2 + count));
    }
    return {};
}

// y and p of a curve row of the report, (21X,2F20.d).
inline double rowY(const std::string& line) {
    return std::stod(line.substr(21, 20));
}
inline double rowP(const std::string& line) {
    return std::stod(line.substr(41, 20));
}

inline std::string spaces(int n) {
    return std::string(static_cast<std::size_t>(n), ' ');
}

// Text right-aligned in a field of `width` characters, as an edit descriptor prints it.
inline std::string right(const std::string& text, int width) {
    return spaces(width - static_cast<int>(text.size())) + text;
}

// Half a unit in the last digit of a value printed with three significant digits (E10.3, E20.3, D20.3),
// with a little room for values that sit on a rounding boundary.
inline double printedTolerance(double value) {
    if (value == 0.0) return 1e-12;
    const double exponent = std::floor(std::log10(std::fabs(value))) + 1.0;
    return 0.5e-3 * std::pow(10.0, exponent) * 1.0001;
}

inline std::string joinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

// The point records (number, p, y) of a station's two curves in (I5,2(2X,E10.3)), from the printed y of
// the points and the printed p of each side.
inline std::string twoSidePointRecords(const char* const* y, const char* const* excavation,
                                       const char* const* backfill) {
    std::string points;
    for (const char* const* p : {excavation, backfill}) {
        for (int i = 0; i < 17; ++i) {
            points += right(std::to_string(i + 1), 5) + "  " + right(p[i], 10) + "  " + right(y[i], 10) + "\n";
        }
    }
    return points;
}

// soildata of one layer of five stations: the count line, then the first station's curve with the point
// records `points`, its header naming its depth below the top of the wall `where` (by default 0.1 below the
// excavation of the 120-high free wall of the generator tests).
inline void expectFirstStationSoildata(const std::string& points, double where = 120.0 + double(0.1f)) {
    const std::vector<std::string> lines = test::splitLines(test::readFile("soildata"));
    ASSERT_GE(lines.size(), 36u);
    EXPECT_EQ(lines[0], " 5");
    const ScratchCurveFile file = readScratchCurves();
    ASSERT_EQ(file.curves.size(), 5u);
    EXPECT_EQ(file.curves[0].where, where);
    EXPECT_EQ(file.curves[0].count, 34);
    EXPECT_TRUE(test::sameText(points, joinLines(std::vector<std::string>(lines.begin() + 2, lines.begin() + 36))));
}

// soildata of one layer of five stations on the 60-high free wall of the generator tests: station 3, 120
// below the top of the wall, has the 34 point records `expected`.
inline void expectStationThreeSoildata(const char* const* expected) {
    const ScratchCurveFile file = readScratchCurves();
    ASSERT_TRUE(file.complete);
    EXPECT_EQ(file.count, 5);
    ASSERT_EQ(file.curves.size(), 5u);
    EXPECT_DOUBLE_EQ(file.curves[2].where, 120.0);
    EXPECT_EQ(file.curves[2].count, 34);
    // Curve 3 starts after the count line and two curves of 35 lines.
    const std::vector<std::string> lines = test::splitLines(test::readFile("soildata"));
    ASSERT_GE(lines.size(), 1u + 3 * 35u);
    for (int i = 0; i < 34; ++i) EXPECT_EQ(lines[1 + 2 * 35 + 1 + i], expected[i]) << "point line " << i;
}

// The report lines from "P-Y CURVES DATA" on, `count` of them, against `expected` (without that heading and
// the empty line after it).
inline void expectCurveBlocksAfterHeading(const std::string& report, const char* const* expected, std::size_t count) {
    std::vector<std::string> want = {"        P-Y CURVES DATA", ""};
    want.insert(want.end(), expected, expected + count);
    EXPECT_TRUE(test::sameText(joinLines(want),
                               joinLines(reportLinesFrom(report, "        P-Y CURVES DATA", int(want.size())))));
}

// The point records of soildata's first station, verbatim.
inline std::string pointRecords(const char* const* records, std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) text += std::string(records[i]) + "\n";
    return text;
}

// Depth below the top of the wall of the first station on the SI wall of the generator tests (siWall): the
// free height 3.0 m and the end distance 0.01 m.
inline constexpr double kSiFirstStationBelowTop = 3.0 + double(0.1f) / 10.0;

// Sets up the soil model of `run` (an SI wall of siWall) and compares the first station's report blocks and
// soildata point records with their golden texts.
template <std::size_t ReportLines, std::size_t Records>
void expectSiFirstStation(SoilRun& run, const char* const (&report)[ReportLines],
                          const char* const (&records)[Records]) {
    Engine e = run.engine();
    SetUpSoilModel(e);
    expectCurveBlocksAfterHeading(run.report(), report, ReportLines);
    expectFirstStationSoildata(pointRecords(records, Records), kSiFirstStationBelowTop);
}

}  // namespace velmor::engine::soiltest
