#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "fields/number_text.h"
#include "graphs/graph_plot.h"

namespace velmor::project {

using components::Extended;
using components::TGraphPlot;

// The result graphs of the main window. The plot-data reader fills the first nine; the captions of the
// others follow the unit system of the results.
struct TResultGraphs {
    TResultGraphs();  // captions, unit templates and window captions of each graph

    TGraphPlot pltLD;       // earth pressure against depth, one curve per series
    TGraphPlot PltCombine;  // total earth pressure and its parts from soils and from surcharges
    TGraphPlot pltPY;       // p-y curves of the last series
    TGraphPlot pltDef;      // deflection against depth
    TGraphPlot pltMom;      // bending moment against depth
    TGraphPlot pltShear;    // shear against depth
    TGraphPlot pltSoil;     // net soil reaction against depth
    TGraphPlot pltDMS;      // deflection, moment and shear side by side, with the soil strip
    TGraphPlot pltInter;    // interaction diagram (one empty curve)
    TGraphPlot pltMomEi;    // moment against flexural stiffness
    TGraphPlot pltMomCurv;  // moment against curvature
    TGraphPlot pltLM;       // lateral load against maximum moment

    // Every graph, in the order above.
    std::array<TGraphPlot*, 12> All();
};

struct TPlotArrays;

// What the reader needs of the project: its unit system and end flag, the soil layers and the wall.
struct TPlotProject {
    int Units = 1;    // 1 English: earth-pressure depths of the combined graph and the wall lines in feet
    int EndFlag = 0;  // 9: the two series are a short-term and a long-term problem
    struct Layer {
        int SoilType = 0;
        Extended BottomDepth = 0;  // as the soil-layer table shows it (feet in English units)
    };
    std::vector<Layer> Layers;
    Extended WallLength = 0;  // increments x increment length, as stored (inches in English units)
    Extended FreeHeight = 0;  // as stored
};

// Reads a plot-data file into the graphs and the arrays. A file that cannot be opened or read to its end
// raises EInOutError; the graphs then hold what was read before the fault.
// `Arrays` gets the results of the first 11 series and 301 points; `PlotPointCount` the largest number
// of earth-pressure rows of any series.
void ReadPlotData(const std::string& FileName, TResultGraphs& Graphs, const TPlotProject& Project, TPlotArrays& Arrays,
                  int& PlotPointCount);

// A number as the engine writes it to the plot-data file: decimal, fixed or with exponent, and a
// mantissa followed directly by a signed exponent ("0.100+100", "0.25-101") for exponents beyond two digits.
bool ParsePlotNumber(std::string_view Word, Extended& Value);

}  // namespace velmor::project
