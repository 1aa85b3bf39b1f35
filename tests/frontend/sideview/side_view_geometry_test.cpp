#include "sideview/side_view_geometry.h"

#include <gtest/gtest.h>

#include <cmath>

namespace velmor::sideview {
namespace {

// A wall of 100 increments of 4.8 in (L = 480 in), free height 240 in: ground T = 48 in, excavation at
// 288 in, wall half-width 6 in, bottom 528 in. Its world is x -6.3..6.3 and y 0..554.4 (each bound x 1.05).
TSideViewProject wall() {
    TSideViewProject p;
    p.NumIncrements = 100;
    p.IncrementLength = 4.8L;
    p.FreeHeight = 240;
    p.HasWall = true;
    p.EarthPressureOption = 2;
    p.Layers = {{1, 10, {0.07L, 0.5L}}, {4, 20, {0.065L, 32}}};  // bottoms in feet: 168 in and 288 in
    return p;
}

const TPictureTarget kWindow{false, 400, 300, 15, 1};

std::vector<TShape> picture(const TSideViewProject& p, const TPictureTarget& t = kWindow,
                            const TTextWidth& textWidth = {}) {
    const std::vector<TOutline> outlines = WallOutlines(p);
    const TBox world = WorldFor(outlines);
    const TMapping m =
        t.Printer ? TMapping::Page(world, t.Width, t.Height) : TMapping::Screen(world, t.Width, t.Height);
    return SideViewPicture(p, outlines, m, t, textWidth);
}

bool hasLine(const std::vector<TShape>& shapes, TPixel a, TPixel b, int pen = 0) {
    for (const TShape& s : shapes)
        if (s.What == TShape::Line && s.Points[0] == a && s.Points[1] == b && (pen == 0 || s.PenWidth == pen))
            return true;
    return false;
}

int countLines(const std::vector<TShape>& shapes, int pen) {
    int n = 0;
    for (const TShape& s : shapes) n += s.What == TShape::Line && s.PenWidth == pen;
    return n;
}

TEST(SideViewWorld, EmptyOrZeroWallKeepsTheDefaultWorld) {
    const TBox fallback{-10, 10, 0, 10};
    TSideViewProject none = wall();
    none.HasWall = false;
    EXPECT_TRUE(WallOutlines(none).empty());
    EXPECT_EQ(WorldFor(WallOutlines(none)), fallback);
    // A new project: a wall-stiffness row, but every length 0.
    TSideViewProject fresh;
    fresh.HasWall = true;
    EXPECT_EQ(WallOutlines(fresh).size(), 1u);
    EXPECT_EQ(WorldFor(WallOutlines(fresh)), fallback);
    // No free height: the wall has no width.
    TSideViewProject flat = wall();
    flat.FreeHeight = 0;
    EXPECT_EQ(WorldFor(WallOutlines(flat)), fallback);
}

TEST(SideViewWorld, WallWorldAndViewsFollowTheAspectRatio) {
    const TBox world = WorldFor(WallOutlines(wall()));
    const Extended tol = 1e-12L;  // a few roundings of values near 500
    EXPECT_NEAR(world.XMin, -6.3L, tol);
    EXPECT_NEAR(world.XMax, 6.3L, tol);
    EXPECT_NEAR(world.YMin, 0, tol);
    EXPECT_NEAR(world.YMax, 554.4L, tol);
    // 400 x 300: r = (4/3) / (12.6/554.4) = 58.667, so x widens to +-369.6.
    const TBox wide = ViewFor(world, 400, 300);
    EXPECT_NEAR(wide.XMax, 369.6L, 1e-9L);
    EXPECT_NEAR(wide.YMax, 554.4L, tol);
    // 10 x 1000: r = 0.01 / 0.022727 = 0.44, so y grows to 554.4 / 0.44 = 1260.
    const TBox tall = ViewFor(TBox{-6.3L, 6.3L, 0, 554.4L}, 10, 1000);
    EXPECT_NEAR(tall.YMax, 1260, 1e-9L);
    EXPECT_NEAR(tall.XMax, 6.3L, tol);
    // An empty client area maps nothing and draws nothing.
    EXPECT_FALSE(TMapping::Screen(world, 400, 0).Usable());
    EXPECT_TRUE(picture(wall(), {false, 0, 300, 15, 1}).empty());
    EXPECT_EQ(DepthCaption(wall(), TMapping::Screen(world, 0, 0), 10), "");
}

TEST(SideViewWorld, ScreenAndPageMappings) {
    const TBox world = WorldFor(WallOutlines(wall()));
    const TMapping screen = TMapping::Screen(world, 400, 300);
    EXPECT_EQ(screen.X(0), 200);
    EXPECT_EQ(screen.Y(48), 26);  // 300 x 48 / 554.4 = 25.97
    // Page 1100 x 850: drawing area 680 high from y = 85; 680 x 48 / 554.4 + 85 = 143.87.
    const TMapping page = TMapping::Page(world, 1100, 850);
    EXPECT_EQ(page.X(0), 550);
    EXPECT_EQ(page.Y(48), 144);
    EXPECT_EQ(page.Y(554.4L), 765);
    // The page keeps the world's aspect ratio: a world unit is as long across as down.
    EXPECT_NEAR(page.X(100) - page.X(0), page.Y(100) - page.Y(0), 1);
}

TEST(SideViewWorld, DepthCaptionReadsZeroOnTheGroundLine) {
    const TMapping m = TMapping::Screen(WorldFor(WallOutlines(wall())), 400, 300);
    EXPECT_EQ(DepthCaption(wall(), m, 26), "  Depth: 0.0");
    EXPECT_EQ(DepthCaption(wall(), m, 126), "  Depth: 184.8");  // 100 px x 554.4 / 300
    EXPECT_EQ(DepthCaption(wall(), m, 0), "  Depth: -48.0");
}

TEST(SideViewPicture, GroundCarriesHatchesOrASlope) {
    struct Case {
        Extended slope;
        bool hatches, sloping;
    };
    const Case cases[] = {{0, true, false}, {15, false, true}, {-10, false, false}};
    for (const Case& c : cases) {
        TSideViewProject p = wall();
        p.BackfillSlope = c.slope;
        const auto shapes = picture(p);
        EXPECT_TRUE(hasLine(shapes, {0, 26}, {200, 26})) << c.slope;
        EXPECT_EQ(hasLine(shapes, {120, 26}, {135, 31}) && hasLine(shapes, {200, 26}, {215, 31}), c.hatches) << c.slope;
        // 15 degrees over the 100 px from the wall's top to W/4: 26 - 100 tan 15 = -0.79.
        EXPECT_EQ(hasLine(shapes, {200, 26}, {100, -1}), c.sloping) << c.slope;
    }
}

TEST(SideViewPicture, LayersAboveTheExcavationSpanOnlyTheBackfill) {
    const TMapping m = TMapping::Screen(WorldFor(WallOutlines(wall())), 400, 300);
    const auto shapes = picture(wall());
    EXPECT_TRUE(hasLine(shapes, {0, m.Y(168)}, {200, m.Y(168)}));    // 10 ft: above the excavation at 288 in
    EXPECT_TRUE(hasLine(shapes, {0, m.Y(288)}, {400, m.Y(288)}));    // 20 ft: at the excavation, full width
    EXPECT_TRUE(hasLine(shapes, {200, m.Y(288)}, {400, m.Y(288)}));  // the excavation line
    // Names at the layer tops, property lines one text line below.
    std::vector<std::pair<TPixel, std::string>> labels;
    for (const TShape& s : shapes)
        if (s.What == TShape::Label) labels.emplace_back(s.Points[0], s.Text);
    ASSERT_EQ(labels.size(), 4u);
    EXPECT_EQ(labels[0], (std::pair<TPixel, std::string>{{0, 26}, "Soft clay"}));
    EXPECT_EQ(labels[1], (std::pair<TPixel, std::string>{{0, 41}, "c= 0.5; gamma= 0.07"}));
    EXPECT_EQ(labels[2], (std::pair<TPixel, std::string>{{0, m.Y(168)}, "Sand"}));
    EXPECT_EQ(labels[3].second, "\xC3\xB8= 32; gamma= 0.065");
    // Neither earth pressure nor p-y curves from the layers: no layers, but ground and wall remain.
    TSideViewProject p = wall();
    p.EarthPressureOption = 3;
    const auto bare = picture(p);
    EXPECT_FALSE(hasLine(bare, {0, m.Y(168)}, {200, m.Y(168)}));
    EXPECT_TRUE(hasLine(bare, {0, 26}, {200, 26}));
    int walls = 0;
    for (const TShape& s : bare) walls += s.What == TShape::Polygon;
    EXPECT_EQ(walls, 1);
}

TEST(SideViewPicture, LayerNamesAndPropertyLines) {
    const std::vector<Extended> values{0.07L, 1.5L, 0.25L};
    const struct {
        int code;
        const char* name;
        const char* properties;
    } cases[] = {
        {1, "Soft clay", "c= 1.5; gamma= 0.07"},
        {2, "Stiff clay w/free water", "c= 1.5; gamma= 0.07"},
        {3, "Stiff clay w/o free water", "c= 1.5; gamma= 0.07"},
        {4, "Sand", "\xC3\xB8= 1.5; gamma= 0.07"},
        {5, "Silt", "\xC3\xB8= 1.5; c= 0.25; gamma= 0.07"},
        {6, "Rock", "compressive strength= 1.5; gamma= 0.07"},
        {7, "Weak Rock", "compressive strength= 1.5; gamma= 0.07"},
        {8, "", ""},
    };
    for (const auto& c : cases) {
        const auto [name, properties] = LayerTexts({c.code, 1, values});
        EXPECT_EQ(name, c.name);
        EXPECT_EQ(properties, c.properties);
    }
    // 120 pcf converted to lb/in3 with the 8-digit factor and back carries noise in the ninth digit; the
    // property line shows what the table shows.
    const auto [name, properties] = LayerTexts({4, 1, {119.999999232L, 34}});
    EXPECT_EQ(properties, "\xC3\xB8= 34; gamma= 120");
}

TEST(SideViewPicture, MarkersOfRestraintsCurvesAndSprings) {
    TSideViewProject p = wall();
    p.UseRestraints = true;
    p.RestraintNodes = {0};
    p.UseSprings = true;
    p.SpringNodes = {10, 50, 60};  // 96 in drawn; 288 in (the excavation) and 336 in are not
    p.PYCurveNodes = {20};
    const TMapping m = TMapping::Screen(WorldFor(WallOutlines(p)), 400, 300);
    auto shapes = picture(p);
    EXPECT_TRUE(hasLine(shapes, {200, 26}, {208, 22}, 2));  // restraint barb: W x 0.52, y - W x 0.01
    EXPECT_EQ(countLines(shapes, 5), 1);
    EXPECT_TRUE(hasLine(shapes, {200, m.Y(96)}, {240, m.Y(96)}, 5));
    EXPECT_EQ(countLines(shapes, 2), 3);  // no p-y markers yet
    p.PlotPointCount = 2;
    EXPECT_EQ(countLines(picture(p), 2), 7);
    // The printout draws them only for external curves, with its own pens and margins.
    const TPictureTarget page{true, 1100, 850, 40, 6};
    shapes = picture(p, page);
    EXPECT_EQ(countLines(shapes, 15), 3);
    EXPECT_EQ(countLines(shapes, 35), 1);
    const TMapping pm = TMapping::Page(WorldFor(WallOutlines(p)), 1100, 850);
    EXPECT_TRUE(hasLine(shapes, {110, pm.Y(48)}, {550, pm.Y(48)}));
    EXPECT_TRUE(hasLine(shapes, {550, pm.Y(288)}, {990, pm.Y(288)}));
    EXPECT_TRUE(hasLine(shapes, {348, pm.Y(48)}, {360, pm.Y(48) + 70}));  // hatch 1: PH x 0.35 + 50 = 347.5
    p.UseExternalPYCurves = true;
    EXPECT_EQ(countLines(picture(p, page), 15), 7);
}

TEST(SideViewPicture, TopViewStaysInsideTheExcavationHalf) {
    TSideViewProject p = wall();
    p.Wa = 96;
    p.Wp = 24;
    for (const TPictureTarget& t :
         {kWindow, TPictureTarget{false, 900, 200, 15, 1}, TPictureTarget{true, 1100, 850, 40, 6}}) {
        int circles = 0;
        for (const TShape& s : picture(p, t)) {
            if (s.What != TShape::Circle) continue;
            ++circles;
            EXPECT_GE(s.Points[0].X, t.Width / 2);
            EXPECT_LE(s.Points[1].X, t.Width);
            EXPECT_GT(s.Points[0].Y, t.Printer ? t.Height / 10 : 5);
            EXPECT_LE(s.Points[1].Y, t.Printer ? t.Height * 9 / 10 : t.Height);
        }
        EXPECT_EQ(circles, 5);
    }
}

TEST(SideViewPicture, TopViewKeepsClearOfTheLinesOnTheExcavationSide) {
    // The excavation line, the sand's bottom on it and the rock's bottom below cross the excavation side:
    // none of the five circles may touch them.
    TSideViewProject p = wall();
    p.Layers.push_back({6, 42, {0.08L, 1000}});  // rock to 504 in, below the excavation at 288 in
    p.Wa = 36;
    p.Wp = 18;
    for (const TPictureTarget& t : {kWindow, TPictureTarget{false, 500, 480, 15, 1},
                                    TPictureTarget{false, 900, 200, 15, 1}, TPictureTarget{true, 1100, 850, 40, 6}}) {
        std::vector<int> crossing;  // rows of the lines that reach the right edge
        std::vector<TShape> circles;
        for (const TShape& s : picture(p, t)) {
            if (s.What == TShape::Circle) circles.push_back(s);
            if (s.What == TShape::Line && s.Points[1].X == (t.Printer ? t.Width * 9 / 10 : t.Width) &&
                s.Points[0].Y == s.Points[1].Y)
                crossing.push_back(s.Points[0].Y);
        }
        ASSERT_EQ(crossing.size(), 3u) << t.Width;
        ASSERT_EQ(circles.size(), 5u) << t.Width;
        for (const TShape& s : circles)
            for (int y : crossing) EXPECT_FALSE(s.Points[0].Y <= y && y <= s.Points[1].Y) << t.Width << " " << y;
    }
}

TEST(SideViewPicture, PropertyLinesBreakBeforeTheWall) {
    const auto width = [](const std::string& text) { return static_cast<int>(text.size()) * 6; };  // 6 px each
    const struct Case {
        const char* line;
        int width;
        std::vector<std::string> rows;
    } cases[] = {
        {"compressive strength= 1000; gamma= 140", 400, {"compressive strength= 1000; gamma= 140"}},
        {"compressive strength= 1000; gamma= 140", 200, {"compressive strength= 1000;", "gamma= 140"}},
        {"x= 30; c= 2; gamma= 120", 50, {"x= 30;", "c= 2;", "gamma= 120"}},
        {"compressive strength= 1000", 80, {"compressive strength= 1000"}},  // one part keeps its row
    };
    for (const Case& c : cases) EXPECT_EQ(PropertyRows(c.line, c.width, width), c.rows) << c.line << " " << c.width;
    EXPECT_EQ(PropertyRows("c= 1; gamma= 2", 1, nullptr), std::vector<std::string>{"c= 1; gamma= 2"});

    // In the picture every text of the layers (two names, the property lines broken into rows) ends left
    // of the wall.
    TSideViewProject p = wall();
    p.Layers = {{6, 10, {0.08L, 1000}}, {5, 20, {0.065L, 30, 2}}};
    const std::vector<TShape> shapes = picture(p, kWindow, width);
    int wallLeft = kWindow.Width, texts = 0;
    for (const TShape& s : shapes)
        for (const TPixel& corner : s.Points)
            if (s.What == TShape::Polygon) wallLeft = std::min(wallLeft, corner.X);
    for (const TShape& s : shapes) {
        if (s.What != TShape::Label) continue;
        ++texts;
        EXPECT_LT(s.Points[0].X + width(s.Text), wallLeft) << s.Text;
    }
    EXPECT_GT(texts, 4);
}

TEST(SideViewPrinting, ResolutionClassesFromThePageSize) {
    const struct {
        int width, height;
        bool landscape;
        std::pair<int, int> dpi;
    } cases[] = {
        {6600, 5100, true, {600, 600}},  // 11 x 8.5 in at 600 dpi
        {1100, 850, true, {100, 100}},  {750, 600, true, {75, 75}},        {1250, 1250, false, {150, 100}},
        {2250, 2260, true, {150, 300}}, {12000, 9000, true, {1200, 1200}},
    };
    for (const auto& c : cases) EXPECT_EQ(EstimatePrinterResolution(c.width, c.height, c.landscape), c.dpi) << c.width;
}

}  // namespace
}  // namespace velmor::sideview
