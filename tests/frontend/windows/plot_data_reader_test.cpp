#include "project/plot_data_reader.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "fields/exceptions.h"
#include "project/program_data.h"
#include "support/test_support.h"

namespace velmor::project {
namespace {

using components::EInOutError;
using test::ScratchDir;
using test::writeFile;

// One series of a plot-data file, written as the engine writes it (exponent fields, list-directed counts).
struct Series {
    int pressureRows = 0;     // rows (depth 12 i, total 100 i, soils 60 i, surcharges 40 i), i from 1
    int curveUnit = 1;        // unit code of the p-y section
    std::vector<int> curves;  // points per p-y curve: (y, p) = (j + 1, 10 (j + 1))
    int seriesCode = 1;
    int resultRows = 0;  // rows (depth 12 i, deflection 0.5 i, moment 250000 i, shear 4000 i, 2 i)
};

std::string plotText(const std::vector<Series>& series) {
    std::ostringstream out;
    for (const Series& s : series) {
        out << ' ' << s.pressureRows << "\r\n";
        for (int i = 1; i <= s.pressureRows; ++i)
            out << "  " << 12 * i << "  " << 100 * i << "  " << 60 * i << "  " << 40 * i << "\r\n";
        out << ' ' << s.curveUnit << ' ' << s.curves.size() << "\r\n";
        for (std::size_t c = 0; c < s.curves.size(); ++c) {
            out << "     12.00    " << s.curves[c] << "\r\n";
            for (int j = 1; j <= s.curves[c]; ++j) out << ' ' << j << ' ' << 10 * j << "\r\n";
        }
        out << ' ' << s.seriesCode << ' ' << s.resultRows << ' ' << s.curveUnit << "\r\n";
        for (int i = 1; i <= s.resultRows; ++i)
            out << "   " << 12 * i << "E+00 " << 0.5 * i << " " << 250000 * i << " " << 4000 * i << " " << 2 * i
                << "\r\n";
    }
    return out.str();
}

class PlotReaderTest : public ::testing::Test {
  protected:
    void read(const std::string& text) {
        writeFile(dir.file("wall.vm4p"), text);
        ReadPlotData(dir.file("wall.vm4p"), graphs, project, *arrays, pointCount);
    }
    ScratchDir dir;
    TResultGraphs graphs;
    TPlotProject project;
    std::unique_ptr<TPlotArrays> arrays = std::make_unique<TPlotArrays>();
    int pointCount = 0;
};

TEST(PlotNumbers, EveryFormTheEngineWritesIsRead) {
    struct Case {
        const char* word;
        bool ok;
        long double value;
    } const cases[] = {
        {"0.2500E+03", true, 250},
        {"-0.5000E+00", true, -0.5},
        {"12.00", true, 12},
        {"33", true, 33},
        {"1.0000000116860974E-7", true, 1.0000000116860974e-7L},
        {"0.100+100", true, 1e99L},
        {"-0.250-101", true, -0.25e-101L},
        {"0.5+", false, 0},
        {"+100", true, 100},
        {"**********", false, 0},
        {"1.5-2-3", false, 0},
        {"E+100", false, 0},
    };
    for (const Case& c : cases) {
        long double value = 0;
        EXPECT_EQ(ParsePlotNumber(c.word, value), c.ok) << c.word;
        // Relative 1e-15: the parser rounds the decimal text once to an 80-bit value.
        if (c.ok) {
            EXPECT_NEAR(static_cast<double>(value / c.value), 1.0, 1e-15) << c.word;
        }
    }
}

TEST_F(PlotReaderTest, SingleEnglishProblemIsConvertedToFeetAndKips) {
    read(plotText({{2, 1, {3, 1}, 1, 2}}));
    ASSERT_EQ(graphs.pltLD.GetLineCount(), 1);
    EXPECT_EQ(graphs.pltLD.GetPointCount(), 2);
    EXPECT_EQ(graphs.pltLD.GetPoint(0, 1)->X, 200);
    EXPECT_EQ(graphs.pltLD.GetPoint(0, 1)->Y, 2);  // 24 in shown as 2 ft
    ASSERT_EQ(graphs.PltCombine.GetLineCount(), 3);
    EXPECT_EQ(graphs.PltCombine.GetLine(1)->GetName(), "from Soils ");
    EXPECT_EQ(graphs.PltCombine.GetPoint(2, 0)->X, 40);
    EXPECT_EQ(graphs.PltCombine.GetPoint(2, 0)->Y, 1);  // project in English units: 12 in is 1 ft

    // 250000 lb-in per row shown as 250 in-kips, 120 in as 10 ft... here row 1: 12 in, 250000 lb-in.
    ASSERT_EQ(graphs.pltMom.GetLineCount(), 1);
    EXPECT_EQ(graphs.pltMom.GetPoint(0, 0)->X, 250);
    EXPECT_EQ(graphs.pltMom.GetPoint(0, 1)->Y, 2);
    EXPECT_EQ(graphs.pltShear.GetPoint(0, 1)->X, 8);
    EXPECT_EQ(graphs.pltDef.GetPoint(0, 1)->X, 1.0);
    EXPECT_EQ(graphs.pltDMS.GetPoint3(0, 1)->X, 8);
    EXPECT_EQ(graphs.pltMom.GetLine(0)->GetName(), "Curve #1");  // a single problem keeps the default names
    EXPECT_TRUE(graphs.pltDMS.ShowThree);
    EXPECT_EQ(graphs.pltMom.XCaption, "Bending Moment (in-kips)");
    EXPECT_EQ(graphs.pltDMS.XCaption2, "Bending Moment (in-kips)");
    EXPECT_EQ(graphs.pltLD.YCaption, "Depth (ft)");
    EXPECT_EQ(pointCount, 2);
    EXPECT_EQ(arrays->Moment[0][0], 250);

    // Two p-y curves of 3 and 1 points: both end with 3, the second repeating its only point.
    ASSERT_EQ(graphs.pltPY.GetLineCount(), 2);
    EXPECT_EQ(graphs.pltPY.GetLine(1)->Value, 12);
    EXPECT_EQ(graphs.pltPY.GetLine(1)->GetPointCount(), 3);
    EXPECT_EQ(graphs.pltPY.GetPoint(1, 2)->Y, 10);
    EXPECT_EQ(graphs.pltInter.GetLineCount(), 1);
    for (TGraphPlot* g : graphs.All()) EXPECT_EQ(g->GetUnits(), 1);
}

TEST_F(PlotReaderTest, SiResultsKeepTheirValuesAndGetSiCaptions) {
    read(plotText({{1, 2, {2}, 1, 1}}));
    EXPECT_EQ(graphs.pltMom.GetPoint(0, 0)->X, 250000);
    EXPECT_EQ(graphs.pltLD.GetPoint(0, 0)->Y, 12);
    EXPECT_EQ(graphs.pltShear.XCaption, "Shear (kN)");
    EXPECT_EQ(graphs.pltMomEi.YCaption, "EI (kN-m^2)");
    EXPECT_EQ(graphs.pltLM.YCaption, "Lateral Load (kN)");
    EXPECT_EQ(graphs.pltDef.GetUnits(), 2);
}

TEST_F(PlotReaderTest, StagesOfDifferentLengthsArePaddedWithTheirLastPoint) {
    read(plotText({{40, 1, {33, 10}, 3, 5}, {60, 1, {2}, 3, 8}, {50, 1, {33, 10}, 3, 6}}));
    ASSERT_EQ(graphs.pltLD.GetLineCount(), 3);
    EXPECT_EQ(graphs.pltLD.GetPointCount(), 60);
    EXPECT_EQ(pointCount, 60);
    EXPECT_EQ(graphs.pltLD.GetPoint(0, 59)->X, 4000);  // stage 1 repeats its 40th row to the end
    EXPECT_EQ(graphs.pltLD.GetPoint(2, 59)->X, 5000);
    EXPECT_EQ(graphs.pltLD.GetPoint(1, 59)->X, 6000);
    EXPECT_EQ(graphs.pltLD.GetLine(1)->GetName(), "Stage: 2");
    EXPECT_EQ(graphs.pltMom.GetLine(0)->GetName(), "Stage: 1");
    EXPECT_EQ(graphs.pltDMS.GetLine3(2)->GetName(), "Stage: 3");
    EXPECT_EQ(graphs.pltDef.GetPointCount(), 8);
    EXPECT_EQ(graphs.pltDef.GetPoint(0, 7)->Y, 5);  // 60 in: stage 1's fifth row repeated
    EXPECT_EQ(graphs.pltDMS.GetPoint2(2, 7)->X, 1500);
    EXPECT_EQ(arrays->TotalPressure[0][300], 4000);
    EXPECT_EQ(arrays->Deflection[2][300], 3.0);
    // The p-y curves of the last stage only: 33 and 10 points, both 33 long.
    ASSERT_EQ(graphs.pltPY.GetLineCount(), 2);
    EXPECT_EQ(graphs.pltPY.GetLine(1)->GetPointCount(), 33);
    EXPECT_EQ(graphs.pltPY.GetPoint(1, 32)->X, 10);
}

TEST_F(PlotReaderTest, LongTermPairIsNamedShortAndLongTerm) {
    project.EndFlag = 9;
    read(plotText({{1, 2, {2}, 2, 2}, {1, 2, {2}, 2, 2}}));
    EXPECT_EQ(graphs.pltSoil.GetLine(0)->GetName(), "Short-Term");
    EXPECT_EQ(graphs.pltSoil.GetLine(1)->GetName(), "Long-Term");
}

TEST_F(PlotReaderTest, MoreSeriesThanTheArraysHoldStillFillTheGraphs) {
    std::vector<Series> series(12, Series{1, 2, {2}, 12, 302});
    read(plotText(series));
    EXPECT_EQ(graphs.pltDef.GetLineCount(), 12);
    EXPECT_EQ(graphs.pltDef.GetPoint(11, 301)->Y, 12 * 302);
    EXPECT_EQ(arrays->ResultDepth[10][300], 12 * 301);
}

TEST_F(PlotReaderTest, CurveWithoutPointsIsPaddedWithZeroPoints) {
    read(plotText({{1, 2, {0, 3}, 1, 1}}));
    ASSERT_EQ(graphs.pltPY.GetLine(0)->GetPointCount(), 3);
    EXPECT_EQ(graphs.pltPY.GetPoint(0, 2)->X, 0);
    EXPECT_EQ(graphs.pltPY.GetPoint(0, 2)->Y, 0);
}

TEST_F(PlotReaderTest, LayerStripNamesLayersAndDrawsTheWallInFeet) {
    project.Layers = {{1, 10}, {4, 30}, {12, 40}};
    project.WallLength = 360;  // in
    project.FreeHeight = 120;
    read(plotText({{1, 1, {2}, 1, 2}}));
    ASSERT_EQ(graphs.pltDMS.GetLayerCount(), 5);
    EXPECT_EQ(graphs.pltDMS.WallLineCount, 3);
    const struct {
        const char* name;
        long double x, y;
    } expected[] = {{" CLAY ", 1, 10}, {" SAND ", 7, 30}, {"LAYER 3", 0, 40}, {"PILE", 0, 30}, {"PILE", 0, 10}};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(graphs.pltDMS.GetLayerLine(i)->GetName(), expected[i].name);
        EXPECT_EQ(graphs.pltDMS.GetLayerPoint(i, 0)->X, expected[i].x);
        EXPECT_EQ(graphs.pltDMS.GetLayerPoint(i, 0)->Y, expected[i].y);
    }
}

TEST_F(PlotReaderTest, FaultsRaiseAndKeepWhatWasRead) {
    const std::string whole = plotText({{3, 2, {2}, 1, 2}});
    struct Case {
        std::string text;
        int pressurePoints;  // points of pltLD after the fault
        int pyCurves;
    } const cases[] = {
        {whole.substr(0, whole.find(" 1 2 2")), 3, 1},                // ends before the results section
        {" 2\r\n 1 2 3 4\r\n 1 2 3 x\r\n", 2, 0},                     // a word that is not a number
        {" 1000000\r\n 1 2 3 4\r\n", 0, 0},                           // a count the file cannot hold
        {" 1\r\n 1 2 3 4\r\n 2 2\r\n 5 99999999\r\n 1 1\r\n", 1, 2},  // a point count likewise
        {" 0\r\n 2 0\r\n 99999 1 2\r\n 1 2 3 4 5\r\n", 0, 0},         // a series count likewise
    };
    for (const Case& c : cases) {
        auto fresh = std::make_unique<TResultGraphs>();
        writeFile(dir.file("cut.vm4p"), c.text);
        EXPECT_THROW(ReadPlotData(dir.file("cut.vm4p"), *fresh, project, *arrays, pointCount), EInOutError) << c.text;
        EXPECT_EQ(fresh->pltLD.GetPointCount(), c.pressurePoints) << c.text;
        EXPECT_EQ(fresh->pltPY.GetLineCount(), c.pyCurves) << c.text;
    }
    EXPECT_THROW(ReadPlotData(dir.file("missing.vm4p"), graphs, project, *arrays, pointCount), EInOutError);
}

}  // namespace
}  // namespace velmor::project
