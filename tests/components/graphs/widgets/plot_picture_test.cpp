// The legend box of saved and printed pictures: wherever the legend list stands in the window, the box
// keeps its relative place and lies inside the picture (inside the plot frame where it fits), at every
// picture size and resolution.
#include <gtest/gtest.h>

#include <QMenu>
#include <QPainter>
#include <QTest>
#include <cmath>
#include <memory>

#include "graphs/widgets/plot_form.h"
#include "graphs/widgets/plot_legend.h"
#include "graphs/widgets/plot_painter.h"

namespace velmor::components {
namespace {

void fillStages(TGraphPlot& plot, int curves) {
    plot.XCaption = "Deflection";
    plot.XUnits = "L1";
    plot.YCaption = "Depth";
    plot.YUnits = "L2";
    plot.SetLineCount(curves);
    plot.SetPointCount(20);
    for (int i = 0; i < curves; ++i) {
        plot.GetLine(i)->Name = "Stage: " + std::to_string(i + 1);
        for (int j = 0; j < 20; ++j) {
            plot.GetPoint(i, j)->X = (i + 1) * 0.1 * std::pow(1 - j / 19.0, 2);
            plot.GetPoint(i, j)->Y = 1.5 * j;
        }
    }
}

bool inside(const TPixelRect& r, const TPixelRect& frame) {
    return r.Left >= frame.Left && r.Right <= frame.Right && r.Top >= frame.Top && r.Bottom <= frame.Bottom;
}

TEST(PlotPicture, LegendBoxLiesInsideEverySavedPictureAtItsRelativePlace) {
    TGraphPlot plot;
    fillStages(plot, 3);
    auto form = std::make_unique<TPlotForm>(plot);
    form->resize(900, 650);
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    struct Case {
        int width, height, dpi;  // the picture, pixels per inch
    };
    const Case sizes[] = {
        {432, 288, 72},                                         // the default save: 6 x 4 in at 72 ppi
        {1800, 1200, 300}, {200, 150, 100}, {3300, 2550, 300},  // a letter page on its side
        {144, 144, 72},                                         // 2 x 2 in: the box is larger than the plot frame
    };
    enum Where { Corner, TopLeft, Middle };
    for (const Where where : {Corner, TopLeft, Middle}) {
        TPlotLegend* legend = form->Legend();
        const TPixelRect& plotArea = form->Layout().Plot;
        if (where == Corner) form->FormResize(true);
        if (where == TopLeft) legend->move(plotArea.Left, plotArea.Top);
        if (where == Middle)
            legend->move((plotArea.Left + plotArea.Right - legend->width()) / 2,
                         (plotArea.Top + plotArea.Bottom - legend->height()) / 2);
        for (const Case& c : sizes) {
            SCOPED_TRACE(testing::Message() << where << ": " << c.width << " x " << c.height << " at " << c.dpi);
            QImage picture(c.width, c.height, QImage::Format_RGB32);
            picture.setDotsPerMeterX(qRound(c.dpi / 0.0254));
            picture.setDotsPerMeterY(qRound(c.dpi / 0.0254));
            const TPlotCanvas canvas =
                form->PictureCanvas(TLayoutTarget::Bitmap, {0, 0, c.width, c.height}, c.dpi, c.dpi);
            QPainter painter(&picture);
            const TLegendBox box = LegendBoxOf(painter, plot, canvas);
            ASSERT_EQ(box.Rows.size(), 3u);
            const TPixelRect& frame = canvas.Layout.Plot;
            EXPECT_TRUE(inside(box.Rect, canvas.Layout.Page));
            const bool fits = box.Rect.Width() <= frame.Width() && box.Rect.Height() <= frame.Height();
            if (!fits) continue;
            EXPECT_TRUE(inside(box.Rect, frame));
            // The relative place: against the frame's edges at the corner and top left, centred in the middle
            // (a pixel for the rounding).
            if (where == Corner) {
                EXPECT_EQ(box.Rect.Right, frame.Right);
                EXPECT_EQ(box.Rect.Bottom, frame.Bottom);
            }
            if (where == TopLeft) {
                EXPECT_EQ(box.Rect.Left, frame.Left);
                EXPECT_EQ(box.Rect.Top, frame.Top);
            }
            if (where == Middle) {
                EXPECT_NEAR(box.Rect.Left - frame.Left, frame.Right - box.Rect.Right, 2);
                EXPECT_NEAR(box.Rect.Top - frame.Top, frame.Bottom - box.Rect.Bottom, 2);
            }
        }
    }
}

TEST(PlotPicture, NoActiveCurveLeavesNoLegendListAndNoBox) {
    TGraphPlot plot;
    fillStages(plot, 2);
    auto form = std::make_unique<TPlotForm>(plot);
    form->resize(800, 600);
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    form->Dialogs().EditActiveCurves = [](QWidget*, TGraphPlot& p) {
        for (int i = 0; i < p.GetLineCount(); ++i) p.GetLine(i)->Active = false;
        return true;
    };
    form->PlotMenu()->actions()[8]->trigger();
    EXPECT_FALSE(form->Legend()->isVisibleTo(form.get()));
    QImage picture(432, 288, QImage::Format_RGB32);
    QPainter painter(&picture);
    EXPECT_TRUE(
        LegendBoxOf(painter, plot, form->PictureCanvas(TLayoutTarget::Bitmap, {0, 0, 432, 288}, 72, 72)).Rows.empty());
}

}  // namespace
}  // namespace velmor::components
