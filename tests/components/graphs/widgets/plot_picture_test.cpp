// The legend box of saved and printed pictures: wherever the legend list stands in the window, the box
// keeps its relative place and lies inside the picture (inside the plot frame where it fits), at every
// picture size and resolution; without an active curve there is neither list nor box.
#include <gtest/gtest.h>

#include <QMenu>
#include <QPainter>
#include <QTest>

#include "graphs/widgets/plot_form.h"
#include "graphs/widgets/plot_legend.h"
#include "graphs/widgets/plot_painter.h"
#include "graphs/widgets/sample_graphs.h"

namespace velmor::components {
namespace {

bool inside(const TPixelRect& r, const TPixelRect& frame) {
    return r.Left >= frame.Left && r.Right <= frame.Right && r.Top >= frame.Top && r.Bottom <= frame.Bottom;
}

TEST(PlotPicture, LegendBoxKeepsItsPlaceInsideEveryPictureAndGoesWithTheLastActiveCurve) {
    TGraphPlot plot;
    samples::fillDeflection(plot, 3, 20);
    TPlotForm form(plot);
    form.resize(900, 650);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    // The legend box of a picture, `width` x `height` pixels at `dpi` pixels per inch (its fonts are sized in
    // pixels), and the picture's layout.
    const auto picture = [&](int width, int height, int dpi) {
        QImage image(width, height, QImage::Format_RGB32);
        const TPlotCanvas canvas = form.PictureCanvas(TLayoutTarget::Bitmap, {0, 0, width, height}, dpi, dpi);
        QPainter painter(&image);
        return std::make_pair(LegendBoxOf(painter, plot, canvas), canvas.Layout);
    };
    const struct {
        int width, height, dpi;  // the picture, pixels per inch
    } sizes[] = {
        {432, 288, 72},                                         // the default save: 6 x 4 in at 72 ppi
        {1800, 1200, 300}, {200, 150, 100}, {3300, 2550, 300},  // a letter page on its side
        {144, 144, 72},                                         // 2 x 2 in: the box is larger than the plot frame
    };
    // The list's place in the room the plot frame leaves it, as laid out (bottom right), at the top left and
    // in the middle; the box's place in the picture's frame, within a pixel for the rounding in the middle.
    for (const double at : {1.0, 0.0, 0.5}) {
        TPlotLegend* legend = form.Legend();
        const TPixelRect& area = form.Layout().Plot;
        if (at == 1.0) form.FormResize(true);
        if (at < 1.0)
            legend->move(area.Left + int(at * (area.Width() - legend->width())),
                         area.Top + int(at * (area.Height() - legend->height())));
        for (const auto& c : sizes) {
            SCOPED_TRACE(testing::Message() << at << ": " << c.width << " x " << c.height << " at " << c.dpi);
            const auto [box, layout] = picture(c.width, c.height, c.dpi);
            ASSERT_EQ(box.Rows.size(), 3u);
            EXPECT_TRUE(inside(box.Rect, layout.Page));
            const TPixelRect& frame = layout.Plot;
            if (box.Rect.Width() > frame.Width() || box.Rect.Height() > frame.Height()) continue;
            EXPECT_TRUE(inside(box.Rect, frame));
            EXPECT_NEAR(box.Rect.Left - frame.Left, at * (frame.Width() - box.Rect.Width()), at == 0.5 ? 1 : 0);
            EXPECT_NEAR(box.Rect.Top - frame.Top, at * (frame.Height() - box.Rect.Height()), at == 0.5 ? 1 : 0);
        }
    }
    form.Dialogs().EditActiveCurves = [](QWidget*, TGraphPlot& p) {
        for (int i = 0; i < p.GetLineCount(); ++i) p.GetLine(i)->Active = false;
        return true;
    };
    form.PlotMenu()->actions()[8]->trigger();  // Active Curves
    EXPECT_FALSE(form.Legend()->isVisibleTo(&form));
    EXPECT_TRUE(picture(432, 288, 72).first.Rows.empty());
}

}  // namespace
}  // namespace velmor::components
