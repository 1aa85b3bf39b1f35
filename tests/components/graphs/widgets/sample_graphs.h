#pragma once

// Graphs filled with plausible wall results, for the graph window's tests and the picture program.
#include <cmath>
#include <string>
#include <utility>

#include "graphs/graph_plot.h"

namespace velmor::components::samples {

// Curves of wall deflection (inches) against depth (feet), one per construction stage.
inline void fillDeflection(TGraphPlot& plot, int curves, int points) {
    plot.XCaption = "Deflection";
    plot.XUnits = "L1";
    plot.YCaption = "Depth";
    plot.YUnits = "L2";
    plot.SetLineCount(curves);
    plot.SetPointCount(points);
    for (int i = 0; i < curves; ++i) {
        plot.GetLine(i)->Name = "Stage: " + std::to_string(i + 1);
        for (int j = 0; j < points; ++j) {
            const double depth = 30.0 * j / (points - 1);
            plot.GetPoint(i, j)->X = (0.4 + 0.35 * i) * std::pow(1 - depth / 30.0, 2) - 0.05 * i * std::sin(depth / 6);
            plot.GetPoint(i, j)->Y = depth;
        }
    }
}

// Soil layers (code in X, bottom depth in Y), then the wall tip and the excavation depth.
inline void fillLayers(TGraphPlot& plot) {
    const std::pair<const char*, std::pair<double, double>> rows[] = {
        {" CLAY ", {1, 8}}, {" SAND ", {7, 17}}, {"WEAK ROCK", {10, 30}}, {"PILE", {0, 26}}, {"PILE", {0, 12}}};
    plot.SetLayerCount(5);
    plot.SetLayerPointCount(1);
    for (int i = 0; i < 5; ++i) {
        plot.GetLayerLine(i)->Name = rows[i].first;
        plot.GetLayerPoint(i, 0)->X = rows[i].second.first;
        plot.GetLayerPoint(i, 0)->Y = rows[i].second.second;
    }
    plot.WallLineCount = 3;
}

}  // namespace velmor::components::samples
