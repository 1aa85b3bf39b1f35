#include "graphs/plot_geometry.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace velmor::components {
namespace {

// Ranges and steps are decimal fractions held in binary: compared to 1e-12 of their size.
constexpr long double kTol = 1e-12L;

void addCurve(TGraphPlot& plot, std::initializer_list<std::pair<double, double>> points) {
    plot.SetLineCount(plot.GetLineCount() + 1);
    TLine* line = plot.GetLine(plot.GetLineCount() - 1);
    line->SetPointCount(static_cast<int>(points.size()));
    int j = 0;
    for (auto [x, y] : points) {
        line->GetPoint(j)->X = x;
        line->GetPoint(j++)->Y = y;
    }
}

TEST(PlotGeometry, RangesContainZeroAndRoundOutwardToTheStep) {
    const struct Case {
        double x0, x1, y0, y1;
        double xmin, xmax, ymin, ymax;
    } cases[] = {
        {2, 7, -0.5, 0, 0, 7, -0.5, 0},           // span 7: step 1; span 0.5: step 0.1
        {0, 25, 1, 3.2, 0, 25, 0, 4},             // 25: mantissa 0.40 < log10 3, step 1; 3.2: step 1
        {0, 0, 0, 0, -0.01, 0.01, -0.01, 0.01},   // all points at zero
        {-130, 40, -12.34, 0, -130, 40, -13, 0},  // span 170: step 10; span 12.34: step 1
    };
    for (const Case& c : cases) {
        TGraphPlot plot;
        addCurve(plot, {{c.x0, c.y0}, {c.x1, c.y1}});
        plot.GetLine(0)->Active = false;  // inactive curves count too
        const TPlotRange r = ComputeRange(plot.Lines());
        EXPECT_NEAR(r.Xmin, c.xmin, kTol) << c.x0 << ".." << c.x1;
        EXPECT_NEAR(r.Xmax, c.xmax, kTol) << c.x0 << ".." << c.x1;
        EXPECT_NEAR(r.Ymin, c.ymin, kTol) << c.y0 << ".." << c.y1;
        EXPECT_NEAR(r.Ymax, c.ymax, kTol) << c.y0 << ".." << c.y1;
    }
}

TEST(PlotGeometry, ScreenLayoutFollowsFontHeightAndResolution) {
    TLayoutInput in;
    in.Page = {0, 0, 600, 400};
    const struct Case {
        const char* what;
        bool xOnTop, title, titleAtTop, layers, three;
        TLayoutTarget target;
        TPixelRect plot, strip, panel2;
    } cases[] = {
        // clang-format off
        {"depth plot",   true,  false, false, false, false, TLayoutTarget::Screen, {41, 41, 569, 369}, {}, {41, 41, 569, 369}},
        {"x below",      false, false, false, false, false, TLayoutTarget::Screen, {41, 31, 569, 359}, {}, {41, 31, 569, 359}},
        {"title on top", true,  true,  true,  false, false, TLayoutTarget::Screen, {41, 56, 569, 369}, {}, {41, 56, 569, 369}},
        {"title below",  true,  true,  false, false, false, TLayoutTarget::Screen, {41, 41, 569, 355}, {}, {41, 41, 569, 355}},
        {"soil strip",   true,  false, false, true,  false, TLayoutTarget::Screen, {41, 41, 473, 369}, {492, 41, 569, 369}, {41, 41, 473, 369}},
        {"bitmap strip", true,  false, false, true,  false, TLayoutTarget::Bitmap, {41, 41, 521, 369}, {540, 41, 569, 369}, {41, 41, 521, 369}},
        // w = (528 - 56 - 48) / 3 = 141, gaps 2h + dpi/4 = 52
        {"three panels", true,  false, false, false, true,  TLayoutTarget::Screen, {41, 41, 569, 369}, {}, {234, 41, 375, 369}},
        // clang-format on
    };
    for (const Case& c : cases) {
        in.XOnTop = c.xOnTop;
        in.HasTitle = c.title;
        in.TitleAtTop = c.titleAtTop;
        in.ShowLayers = c.layers;
        in.ShowThree = c.three;
        in.Target = c.target;
        const TPlotLayout l = ComputeLayout(in);
        EXPECT_EQ(l.Plot, c.plot) << c.what;
        EXPECT_EQ(l.Strip, c.strip) << c.what;
        EXPECT_EQ(l.Panels[1], c.panel2) << c.what;
        if (c.three) {
            EXPECT_EQ(l.Panels[2], (TPixelRect{427, 41, 569, 369}));
        }
    }
}

TEST(PlotGeometry, PrinterPageKeepsMarginsAndAtLeastTheUnprintableOffset) {
    // 8 x 10.5 in printable at 600 dpi, 100 px unprintable on each side; 1 in margins are 600 px.
    EXPECT_EQ(PrintPage(4800, 6300, 100, 100, 600, 600, 1000, 1000, 1000, 1000), (TPixelRect{500, 500, 4300, 5800}));
    // A 0.1 in margin (60 px) is less than the offset: the page starts at the printable edge.
    EXPECT_EQ(PrintPage(4800, 6300, 100, 100, 600, 600, 100, 100, 100, 100), (TPixelRect{0, 0, 4800, 6300}));
    TLayoutInput in;
    in.Target = TLayoutTarget::Printer;
    in.Page = {500, 500, 4300, 5800};
    in.H = 100;
    in.DpiX = in.DpiY = 600;
    in.HasTitle = true;
    in.TitleAtTop = true;
    // left = 2h + dpi/8 + page left + h/8 = 200 + 75 + 500 + 12; a top title adds dpi/4
    EXPECT_EQ(ComputeLayout(in).Plot, (TPixelRect{787, 937, 4300, 5800}));
}

TEST(PlotGeometry, TicksAtSixFontHeightsWithOneTwoFiveSteps) {
    const TPixelRect area{41, 41, 569, 369};  // 528 x 328: nX = 6, nY = 3
    const TTicks t = ComputeTicks({0, 7, -0.5, 0}, area, 14, false);
    ASSERT_TRUE(t.HasTicks);
    EXPECT_NEAR(t.StepX, 0.2L, kTol);  // 7/6 truncates to 1: major 1, minor 0.2
    EXPECT_EQ(t.FirstX, 0);
    EXPECT_EQ(t.LastX, 35);
    EXPECT_NEAR(t.StepY, 0.02L, kTol);  // 0.5/3 = 0.167: major 0.1
    EXPECT_EQ(t.FirstY, -25);
    EXPECT_EQ(t.LastY, 0);
    const struct Case {
        double span;
        int pixels;
        double minor;
    } cases[] = {{12, 84 * 4, 0.4}, {30, 84 * 6, 1}, {9, 84, 2}};  // s = 3 -> 2g, s = 5 -> 5g, s = 9 -> 10g
    for (const Case& c : cases) {
        const TTicks k = ComputeTicks({0, c.span, 0, c.span}, {0, 0, c.pixels, c.pixels}, 14, false);
        EXPECT_NEAR(k.StepX, c.minor, kTol) << c.span;
    }
    EXPECT_NEAR(ComputeTicks({0, 12, 0, 12}, {0, 0, 84 * 4, 84 * 4}, 21, true).StepX, 0.4L, kTol);  // 4h spacing
    EXPECT_FALSE(ComputeTicks({0, 7, 0, 7}, {0, 0, 83, 400}, 14, false).HasTicks);
}

// Labels never run together, on either axis or at the corner, and an axis end on a tick is labelled: on
// the maximized window, a three-panel view, a saved bitmap, a zoomed range whose ends came back from
// pixels, and the printer page. The font is a stand-in with Times-like proportions at the device's size.
TEST(PlotGeometry, LabelsStandApartAndTheAxisEndsAreLabelled) {
    const Extended nearly = 1 - 1e-15L;  // an end a zoom brought back from pixels, a hair inside the tick
    const struct Case {
        const char* what;
        TLayoutTarget target;
        TPixelRect page;
        int dpi;
        bool xOnTop, three;
        TPlotRange range;
        const char *xEnds[2], *yEnds[2];
    } cases[] = {
        // clang-format off
        {"SI deflection maximized", TLayoutTarget::Screen, {0, 0, 1600, 880}, 96, true, false, {-0.001L, 0.007L, 0, 12}, {"-0.001", "0.007"}, {"0", "12"}},
        {"p-y curves maximized", TLayoutTarget::Screen, {0, 0, 1600, 880}, 96, false, false, {-0.6L, 0.6L, -200, 200}, {"-0.6", "0.6"}, {"-200", "200"}},
        {"three panels", TLayoutTarget::Screen, {0, 0, 1600, 880}, 96, true, true, {-0.02L, 0.16L, 0, 50}, {"-0.02", "0.16"}, {"0", "50"}},
        {"small window", TLayoutTarget::Screen, {0, 0, 420, 300}, 96, true, false, {-130, 70, 0, 12}, {"-130", "70"}, {"0", "12"}},
        {"bitmap 6 x 4 in", TLayoutTarget::Bitmap, {0, 0, 432, 288}, 96, true, false, {0, 7, 0, 12}, {"0", "7"}, {"0", "12"}},
        {"zoomed 2 to 8", TLayoutTarget::Screen, {0, 0, 900, 600}, 96, true, false, {0.3L, 0.9L * nearly, 2, 8 * nearly}, {"0.3", "0.9"}, {"2", "8"}},
        {"printer page", TLayoutTarget::Printer, {600, 600, 4500, 6000}, 600, true, false, {-0.001L, 0.007L, 0, 12}, {"-0.001", "0.007"}, {"0", "12"}},
        // clang-format on
    };
    const auto meet = [](const TPixelRect& a, const TPixelRect& b) {
        return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
    };
    for (const Case& c : cases) {
        TLayoutInput in;
        in.Target = c.target;
        in.Page = c.page;
        in.H = 14 * c.dpi / 96;
        in.DpiX = in.DpiY = c.dpi;
        in.XOnTop = c.xOnTop;
        in.ShowThree = c.three;
        const TPixelRect area = ComputeLayout(in).Panels[0];
        const TLabelFont font{[&](const std::string& s) { return static_cast<int>(s.size()) * in.H / 2; },
                              in.H * 8 / 7};
        const TPanelMarks marks =
            ComputeMarks(c.range, area, ComputeTicks(c.range, area, in.H, c.three), c.xOnTop, c.dpi, c.dpi, font);
        std::vector<TPixelRect> all;
        for (const auto* axis : {&marks.X, &marks.Y}) {
            std::vector<std::string> texts;
            for (const TAxisLabel& l : axis->Labels) texts.push_back(l.Text);
            const char* const* ends = axis == &marks.X ? c.xEnds : c.yEnds;
            for (int e = 0; e < 2; ++e)
                EXPECT_EQ(std::count(texts.begin(), texts.end(), ends[e]), 1) << c.what << ": " << ends[e];
            EXPECT_GE(axis->Labels.size(), 3u) << c.what;
            for (const TAxisLabel& l : axis->Labels) {
                for (const TPixelRect& other : all) EXPECT_FALSE(meet(l.Rect, other)) << c.what << ": " << l.Text;
                all.push_back(l.Rect);
            }
        }
    }
}

TEST(PlotGeometry, DataAndScreenMapBothWays) {
    const TPlotRange r{0, 7, -0.5, 0};
    const TPixelRect a{41, 41, 569, 369};
    EXPECT_EQ(DataToScreen(r, a, true, 3.5L, -0.25L), (TPixelPoint{305, 205}));
    EXPECT_EQ(DataToScreen(r, a, true, 7, -0.5L), (TPixelPoint{569, 41}));
    EXPECT_EQ(DataToScreen(r, a, false, 0, -0.5L), (TPixelPoint{41, 369}));
    const TFloatPoint p = ScreenToData(r, a, true, 305, 205);
    EXPECT_NEAR(p.X, 3.5L, kTol);
    EXPECT_NEAR(p.Y, -0.25L, kTol);
    EXPECT_NEAR(ScreenToData(r, a, false, 41, 41).Y, 0, kTol);
    const TFloatPoint outside = ScreenToData(r, a, true, 570, 100);
    EXPECT_EQ(outside.X, 0);
    EXPECT_EQ(outside.Y, 0);
}

TEST(PlotGeometry, ZoomKeepsOneTwentiethOfTheFullSpanInsideTheFullRange) {
    const struct Case {
        double a, b, lo, hi;
    } in[] = {{12, 10, 8.5, 13.5}, {0, 1, 0, 5}, {99.5, 100, 95, 100}, {20, 40, 20, 40}};
    for (const Case& c : in) {
        const auto [lo, hi] = ZoomAxisIn(0, 100, c.a, c.b);
        EXPECT_NEAR(lo, c.lo, kTol) << c.a;
        EXPECT_NEAR(hi, c.hi, kTol) << c.a;
    }
    const struct Out {
        double min, max, clicked, lo, hi;
    } out[] = {{0, 100, 30, 0, 100}, {40, 50, 45, 35, 55}, {40, 50, 2, 0, 20}, {60, 90, 95, 40, 100}};
    for (const Out& c : out) {
        const auto [lo, hi] = ZoomAxisOut(c.min, c.max, 0, 100, c.clicked);
        EXPECT_NEAR(lo, c.lo, kTol) << c.clicked;
        EXPECT_NEAR(hi, c.hi, kTol) << c.clicked;
    }
}

TEST(PlotGeometry, MarkersCycleThroughTenOutlines) {
    EXPECT_EQ(MarkerShape(0), 1);
    EXPECT_EQ(MarkerShape(9), 10);
    for (int i = 10; i < 20; ++i) EXPECT_EQ(MarkerShape(i), i - 9);
    EXPECT_EQ(MarkerShape(14), 5);  // the 15th curve
    using V = std::vector<TPixelPoint>;
    // sin and cos of 60 degrees times 3: 2.6 and 1.5, rounded half away from zero
    EXPECT_EQ(MarkerVertices(1, 100, 100, 3, 3), (V{{100, 103}, {97, 98}, {103, 98}, {100, 103}}));
    EXPECT_EQ(MarkerVertices(2, 100, 100, 3, 3), (V{{102, 98}, {102, 102}, {98, 102}, {98, 98}, {102, 98}}));
    EXPECT_EQ(MarkerVertices(4, 100, 100, 3, 3), (V{{100, 97}, {103, 100}, {100, 103}, {97, 100}, {100, 97}}));
    EXPECT_EQ(MarkerVertices(7, 0, 0, 3, 3).size(), 8u);
}

TEST(PlotGeometry, CurveColoursRepeatEverySeventeen) {
    for (int i = 0; i < 17; ++i) EXPECT_EQ(CurveColour(i + 17), CurveColour(i));
}

TEST(PlotGeometry, UnitTemplatesNameForceAndLengthUnits) {
    const struct Case {
        const char* tmpl;
        int units;
        const char* out;
    } cases[] = {{"F/L2", 1, "lbs/ft"},  {"F/L2", 2, "kN/m"},   {"F2-L1", 2, "kN-mm"},
                 {"F1*L", 1, "kips*in"}, {"F/F2", 1, "F/tons"},  // only the first code found is replaced
                 {"L", 2, "m"},          {"F/L2", 3, "F/L2"}};
    for (const Case& c : cases) EXPECT_EQ(GraphUnitNames(c.tmpl, c.units), c.out) << c.tmpl << " " << c.units;
    EXPECT_EQ(AxisCaption("Deflection", "L1", 1), "Deflection (in)");
    EXPECT_EQ(AxisCaption("Depth", "", 1), "Depth");
}

TEST(PlotGeometry, SoilStripSplitsLayersAtTheExcavationBesideTheWall) {
    TGraphPlot plot;
    plot.SetLayerCount(5);
    plot.SetLayerPointCount(1);
    const double rows[5][2] = {{7, 10}, {2, 20}, {9, 30}, {0, 25}, {0, 15}};  // 3 layers, wall tip, excavation
    for (int i = 0; i < 5; ++i) {
        plot.GetLayerPoint(i, 0)->X = rows[i][0];
        plot.GetLayerPoint(i, 0)->Y = rows[i][1];
    }
    plot.WallLineCount = 3;
    const TPlotRange range{0, 1, 0, 40};
    const TPixelRect area{0, 0, 300, 400}, strip{400, 0, 500, 400};
    using B = std::vector<TStripBox>;
    auto rects = [](const B& boxes) {
        std::vector<TPixelRect> r;
        for (const TStripBox& b : boxes) r.push_back(b.Rect);
        return r;
    };
    // Without the wall: the three layers across the strip, overlapping by one pixel.
    const B plain = StripBoxes(plot, range, area, strip);
    EXPECT_EQ(rects(plain), (std::vector<TPixelRect>{{400, 0, 499, 101}, {400, 100, 499, 201}, {400, 200, 499, 300}}));
    EXPECT_EQ(plain[2].Code, 9);
    EXPECT_TRUE(plain[0].Named);
    // With the wall (from 2/5 to 3/5 of the strip) and the excavation at 15.
    plot.ShowWall = true;
    const B wall = StripBoxes(plot, range, area, strip);
    EXPECT_EQ(
        rects(wall),
        (std::vector<TPixelRect>{
            {400, 0, 440, 101}, {400, 100, 440, 201}, {460, 150, 499, 201}, {400, 200, 499, 300}, {440, 0, 460, 250}}));
    EXPECT_TRUE(wall.back().Wall);
    plot.SetLayerPointCount(0);
    EXPECT_TRUE(StripBoxes(plot, range, area, strip).empty());
}

TEST(PlotGeometry, LegendAndBitmapSizes) {
    EXPECT_EQ(LegendMetrics(10, 11).ItemHeight, 16);
    EXPECT_EQ(LegendMetrics(15, 11).FontPoints, 16);
    EXPECT_EQ(LegendMetrics(15, 11).ItemHeight, 24);
    EXPECT_EQ(LegendSize(3, 16, 80, 96), (TPixelPoint{104, 51}));
    EXPECT_EQ(BitmapSize(6, 4, 72), (TPixelPoint{432, 288}));
    EXPECT_EQ(BitmapSize(2.5L, 2, 10), (TPixelPoint{25, 20}));
    EXPECT_FALSE(BitmapSize(1e6L, 1e6L, 2147483647));  // would overflow any integer size
    EXPECT_FALSE(BitmapSize(300, 2, 300));             // 90000 px wide
    EXPECT_FALSE(BitmapSize(100, 100, 300));           // 30000 x 30000 x 4 bytes
}

}  // namespace
}  // namespace velmor::components
