// libFuzzer target: every input is the content of a plot-data file. Reading may refuse it with EInOutError
// only. After a complete read every result graph holds one curve per series, every curve of a graph has
// the same number of points, and a layer strip holds the layers and the two wall lines; anything else, another
// exception, a crash, a sanitizer report, a hang or an allocation out of proportion to the input is a
// finding.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "fields/exceptions.h"
#include "project/plot_data_reader.h"
#include "project/program_data.h"
#include "scratch_files.h"

using velmor::components::EInOutError;
using velmor::components::TGraphPlot;
using namespace velmor::project;

namespace {

std::string g_path;

[[noreturn]] void finding(const char* what) {
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

void sameLengths(const velmor::components::TObjectList<velmor::components::TLine>& set, int series) {
    if (set.Count() != series) finding("a result graph does not hold one curve per series");
    for (int i = 1; i < set.Count(); ++i) {
        if (set.Items(i)->GetPointCount() != set.Items(0)->GetPointCount()) finding("curves of unequal length");
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    g_path = velmor::fuzz::MakeScratchDirectory("/tmp/velmor-plot-fuzz-XXXXXX") + "/input.vm4p";
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!velmor::fuzz::WriteScratchFile(g_path, data, size)) finding("cannot write the input file");

    static auto arrays = std::make_unique<TPlotArrays>();
    auto graphs = std::make_unique<TResultGraphs>();
    TPlotProject project;
    project.Units = size > 0 && (data[0] & 1) ? 1 : 2;
    project.EndFlag = size > 1 && (data[1] & 1) ? 9 : 0;
    project.Layers = {{1, 10}, {4, 20}, {9, 30}};
    project.WallLength = 480;
    project.FreeHeight = 120;
    int pointCount = 0;
    try {
        ReadPlotData(g_path, *graphs, project, *arrays, pointCount);
    } catch (const EInOutError&) {
        return 0;
    }
    const int series = graphs->pltDef.GetLineCount();
    if (series < 1) finding("a complete read without a series");
    for (TGraphPlot* g : {&graphs->pltLD, &graphs->pltDef, &graphs->pltMom, &graphs->pltShear, &graphs->pltSoil})
        sameLengths(g->Lines(), series);
    for (int panel = 1; panel <= 3; ++panel) sameLengths(graphs->pltDMS.PanelLines(panel), series);
    if (graphs->pltLD.GetPointCount() != pointCount) finding("earth-pressure points differ from the count kept");
    // The strip is drawn when the first series has result rows: three layers and the two wall lines.
    const bool strip = graphs->pltDMS.GetLayerCount() == 5 && graphs->pltDMS.WallLineCount == 3;
    if (strip != (graphs->pltDMS.GetLayerCount() > 0)) finding("layer strip");
    return 0;
}
