#pragma once

#include <string>
#include <vector>

namespace velmor::test {

// The plot-data file as the program reads it: a sequence of series, each an earth-pressure section,
// a p-y section and a results section, read as blank-separated words.
struct PlotSeries {
    std::vector<std::vector<double>> pressureRows;  // depth, total, from soils, from surcharges
    int curveUnitCode = 0;
    struct Curve {
        double header = 0.0;
        std::vector<std::pair<double, double>> points;  // (y, p)
    };
    std::vector<Curve> curves;
    int seriesCode = 0;
    int resultUnitCode = 0;
    std::vector<std::vector<double>> resultRows;  // depth, deflection, moment, shear, net reaction
};

struct PlotFile {
    std::vector<PlotSeries> series;
    bool complete = false;  // every word read and nothing left over
    std::string error;
};

// Reads the file the way the program's reader does: the first results section's series code says how
// many series there are in all (at least 1); a later larger code raises it.
PlotFile readPlotFile(const std::string& path);

}  // namespace velmor::test
