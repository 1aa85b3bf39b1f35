#include "graphs/graph_plot.h"

#include <gtest/gtest.h>

namespace velmor::components {
namespace {

TEST(GraphPlot, NewCurvesAreNumberedAndNamedAfterTheirPosition) {
    TGraphPlot plot;
    plot.SetLineCount(3);
    ASSERT_EQ(plot.GetLineCount(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(plot.GetLine(i)->Value, i + 1);
        EXPECT_EQ(plot.GetLine(i)->GetName(), "Curve #" + std::to_string(i + 1));
        EXPECT_TRUE(plot.GetLine(i)->Visible);
        EXPECT_TRUE(plot.GetLine(i)->Active);
    }
    plot.GetLine(1)->Name = "Stage 2";
    plot.GetLine(2)->Value = 12.5L;
    EXPECT_EQ(plot.GetLine(1)->GetName(), "Stage 2");
    EXPECT_EQ(plot.GetLine(2)->GetName(), "Curve #12.5");
}

TEST(GraphPlot, ResizingSetsAndPointsFollowTheCountRules) {
    TGraphPlot plot;
    plot.SetPointCount(4);  // no curves: nothing happens
    EXPECT_EQ(plot.GetPointCount(), 0);
    plot.SetLineCount(2);
    plot.SetPointCount(4);
    plot.GetPoint(1, 3)->X = 7;
    EXPECT_EQ(plot.GetLine(1)->GetPointCount(), 4);
    // Lines appended later, in any set, start with as many points as curve 0 of set 1.
    plot.SetLineCount(3);
    plot.SetLayerCount(2);
    EXPECT_EQ(plot.GetLine(2)->GetPointCount(), 4);
    EXPECT_EQ(plot.GetLayerPointCount(), 4);
    EXPECT_EQ(plot.GetLayerLine(1)->Value, 4);  // set 1 count + 1
    EXPECT_EQ(plot.GetPoint(2, 3)->X, 0);
    plot.SetLineCount(-1);
    EXPECT_EQ(plot.GetLineCount(), 0);
    plot.SetLineCount2(2);
    plot.SetPointCount2(3);
    plot.SetPointCount2(-5);
    EXPECT_EQ(plot.GetPointCount2(), 0);
    EXPECT_EQ(plot.GetLine2(1)->GetPointCount(), 0);
    plot.SetLineCount3(1);
    plot.SetPointCount3(2);
    EXPECT_EQ(plot.GetPointCount3(), 2);
    EXPECT_EQ(plot.PanelLines(3).Items(0), plot.GetLine3(0));
}

TEST(GraphPlot, IndexesOutsideASetRaiseTheListError) {
    TGraphPlot plot;
    plot.SetLineCount(1);
    plot.SetPointCount(2);
    EXPECT_THROW(plot.GetLine(1), EListError);
    EXPECT_THROW(plot.GetPoint(0, 2), EListError);
    EXPECT_THROW(plot.GetLayerLine(0), EListError);
    EXPECT_THROW(plot.GetLine3(-1), EListError);
}

TEST(GraphPlot, UnitsAreClampedToTheThreeSystems) {
    TGraphPlot plot;
    const struct Case { int in, out; } cases[] = {{0, 1}, {-4, 1}, {1, 1}, {2, 2}, {3, 3}, {7, 3}};
    for (const Case& c : cases) {
        plot.SetUnits(c.in);
        EXPECT_EQ(plot.GetUnits(), c.out) << c.in;
    }
}

class CountingWindow : public TGraphWindow {
  public:
    explicit CountingWindow(int& freed) : freed_(freed) {}
    void ShowWindow() override { ++shown; }
    void FreeWindow() override {
        ++freed_;
        delete this;
    }
    int shown = 0;

  private:
    int& freed_;
};

TEST(GraphPlot, ShowCreatesTheWindowOnceAndTheGraphFreesItLast) {
    int created = 0, freed = 0;
    CountingWindow* window = nullptr;
    {
        TGraphPlot plot;
        plot.SetWindowFactory([&](TGraphPlot&) {
            ++created;
            return window = new CountingWindow(freed);
        });
        plot.Show();
        plot.Show();
        EXPECT_EQ(created, 1);
        EXPECT_EQ(window->shown, 2);
        // A window that closes itself tells the graph; the next Show builds a new one.
        delete window;
        plot.WindowClosed();
        plot.Show();
        EXPECT_EQ(created, 2);
    }
    EXPECT_EQ(freed, 1);
}

}  // namespace
}  // namespace velmor::components
