#pragma once

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

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

}  // namespace velmor::engine::soiltest
