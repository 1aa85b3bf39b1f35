#include "graphs/widgets/plot_form.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QMenu>
#include <QPainter>
#include <QPrinter>
#include <QRegularExpression>
#include <QTest>
#include <cmath>
#include <memory>

#include "graphs/widgets/dlg_format.h"
#include "graphs/widgets/frm_graph_caption.h"
#include "graphs/widgets/modal_dialog.h"
#include "graphs/widgets/plot_legend.h"
#include "graphs/widgets/plot_painter.h"
#include "graphs/widgets/sample_graphs.h"
#include "platform/message_service.h"
#include "support/test_support.h"

namespace velmor::components {
namespace {

constexpr int kFixedItems = 14;

using samples::fillDeflection;
using samples::fillLayers;

QString screenshotPath(const QString& name) {
    const QString dir = QStringLiteral(VELMOR_BINARY_DIR) + "/screenshots";
    QDir().mkpath(dir);
    return dir + "/" + name;
}

// A window of 800 x 600 pixels, shown, that the test frees.
std::unique_ptr<TPlotForm> shownForm(TGraphPlot& plot) {
    auto form = std::make_unique<TPlotForm>(plot);
    form->setAttribute(Qt::WA_DeleteOnClose, false);
    form->resize(800, 600);
    form->show();
    return form;
}

QList<QAction*> curveItems(TPlotForm& form) {
    return form.PlotMenu()->actions().mid(kFixedItems);
}

TEST(PlotForm, TwentyFiveCurvesShowTheFirstTwentyInLegendAndMenu) {
    TGraphPlot plot;
    fillDeflection(plot, 25, 10);
    plot.onGetCaption = [](int index, std::string& text) {
        if (index == 0) text += " (initial)";
    };
    auto* form = new TPlotForm(plot);
    ASSERT_EQ(form->Legend()->Entries().size(), 20u);
    EXPECT_EQ(form->Legend()->Entries()[0].Text, "Stage: 1 (initial)");
    ASSERT_EQ(curveItems(*form).size(), 20);
    EXPECT_EQ(curveItems(*form)[19]->text(), "Stage: 20");
    EXPECT_FALSE(plot.GetLine(20)->Active);

    // Renaming the third curve changes the third legend entry and the menu item at position 16; the
    // 22nd curve has neither.
    form->Dialogs().EditLegendNames = [](QWidget*, TGraphPlot& p) {
        p.GetLine(2)->Name = "Third";
        p.GetLine(21)->Name = "Twenty-second";
        return true;
    };
    form->PlotMenu()->actions()[7]->trigger();
    EXPECT_EQ(form->Legend()->Entries()[2].Text, "Third");
    EXPECT_EQ(form->PlotMenu()->actions()[16]->text(), "Third");
    EXPECT_EQ(curveItems(*form).size(), 20);

    // The Active Curves dialog can switch the others on, and all off.
    form->Dialogs().EditActiveCurves = [](QWidget*, TGraphPlot& p) {
        for (int i = 0; i < p.GetLineCount(); ++i) p.GetLine(i)->Active = true;
        return true;
    };
    form->PlotMenu()->actions()[8]->trigger();
    EXPECT_EQ(form->Legend()->Entries().size(), 25u);
    ASSERT_EQ(curveItems(*form).size(), 25);
    EXPECT_EQ(curveItems(*form)[21]->text(), "Twenty-second");
    EXPECT_EQ(curveItems(*form)[24]->data().toInt(), 24);
    form->Dialogs().EditActiveCurves = [](QWidget*, TGraphPlot& p) {
        for (int i = 0; i < p.GetLineCount(); ++i) p.GetLine(i)->Active = false;
        return true;
    };
    form->PlotMenu()->actions()[8]->trigger();
    EXPECT_TRUE(form->Legend()->Entries().empty());
    EXPECT_EQ(form->PlotMenu()->actions().size(), kFixedItems);
    delete form;
}

TEST(PlotForm, ColourSlotsFollowActiveNotVisibleCurves) {
    TGraphPlot plot;
    plot.Markers = 0;
    plot.XOnTop = false;
    plot.SetLineCount(4);
    plot.SetPointCount(2);
    for (int i = 0; i < 4; ++i) {  // level lines at y = 1.1, 1.7, 2.3, 2.9 from x = 0 to 10, off the grid
        plot.GetPoint(i, 1)->X = 10;
        plot.GetPoint(i, 0)->Y = plot.GetPoint(i, 1)->Y = 1.1 + 0.6 * i;
    }
    auto* form = new TPlotForm(plot);
    form->resize(600, 400);
    plot.GetLine(0)->Active = false;  // the window made it active; inactive curves take no slot
    plot.GetLine(3)->Active = false;  // holds the range at 0..2.9
    plot.GetLine(1)->Visible = false;
    QImage image(600, 400, QImage::Format_RGB32);
    ASSERT_TRUE(form->SaveBitmap(QString::fromStdString(testing::TempDir()) + "colours.bmp", image));
    TLayoutInput in;
    in.Target = TLayoutTarget::Bitmap;
    in.Page = {0, 0, 600, 400};
    in.XOnTop = false;
    const TPlotLayout layout = ComputeLayout(in);
    const TPixelPoint third = DataToScreen(form->Range(0), layout.Plot, false, 5.5, 2.3);
    // Curve 3 is the second active curve: slot 1, blue, although curve 2 is switched off.
    EXPECT_EQ(QColor(image.pixel(third.X, third.Y)), QColor(0, 0, 255));
    const TPixelPoint second = DataToScreen(form->Range(0), layout.Plot, false, 5.5, 1.7);
    EXPECT_EQ(QColor(image.pixel(second.X, second.Y)), QColor(Qt::white));  // switched off
    delete form;
}

TEST(PlotForm, DragZoomsToOneTwentiethAndRightClickZoomsBackOut) {
    TGraphPlot plot;
    plot.Caption = "Deflection";
    fillDeflection(plot, 3, 40);
    const std::unique_ptr<TPlotForm> window = shownForm(plot);
    TPlotForm& form = *window;
    QWidget* client = form.ClientArea();
    const TPixelRect a = form.Layout().Plot;
    const TPlotRange full = form.FullRange(0);
    const QPoint from(a.Left + 100, a.Top + 100);
    QTest::mousePress(client, Qt::LeftButton, {}, from);
    QTest::mouseMove(client, from + QPoint(3, 2));
    QTest::mouseRelease(client, Qt::LeftButton, {}, from + QPoint(3, 2));
    const TPlotRange zoomed = form.Range(0);
    // 1/20 of the full span on both axes; relative tolerance for the pixel-to-data arithmetic.
    EXPECT_NEAR(zoomed.Xmax - zoomed.Xmin, (full.Xmax - full.Xmin) / 20, 1e-12);
    EXPECT_NEAR(zoomed.Ymax - zoomed.Ymin, (full.Ymax - full.Ymin) / 20, 1e-12);
    EXPECT_TRUE(form.windowTitle().startsWith("Deflection X: ")) << form.windowTitle().toStdString();
    EXPECT_TRUE(form.windowTitle().contains(" Y: "));
    for (int i = 0; i < 6; ++i) QTest::mouseClick(client, Qt::RightButton, {}, from);
    EXPECT_EQ(form.Range(0).Xmin, full.Xmin);
    EXPECT_EQ(form.Range(0).Xmax, full.Xmax);
    EXPECT_EQ(form.Range(0).Ymin, full.Ymin);
    EXPECT_EQ(form.Range(0).Ymax, full.Ymax);
}

TEST(PlotForm, LegendFollowsTheFontSizeStaysInsideAndTogglesCurves) {
    TGraphPlot plot;
    fillDeflection(plot, 3, 10);
    const std::unique_ptr<TPlotForm> window = shownForm(plot);
    TPlotForm& form = *window;
    TPlotLegend* legend = form.Legend();
    EXPECT_EQ(legend->ItemHeight(), 16);
    EXPECT_EQ(legend->height(), 3 * 16 + 3);
    form.SetSizeFont(20);  // 2 x 11 points, rows of 33 pixels
    EXPECT_EQ(legend->FontPoints(), 22);
    EXPECT_EQ(legend->height(), 3 * 33 + 3);
    QTest::mousePress(legend, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseMove(legend, QPoint(5000, 5000));
    QTest::mouseRelease(legend, Qt::LeftButton, {}, QPoint(5000, 5000));
    EXPECT_EQ(legend->geometry().right(), form.ClientArea()->width() - 1);
    EXPECT_EQ(legend->geometry().bottom(), form.ClientArea()->height() - 1);
    QTest::mouseDClick(legend, Qt::LeftButton, {}, QPoint(5, 1 + 33 + 5));  // second row
    EXPECT_FALSE(plot.GetLine(1)->Visible);
    EXPECT_TRUE(plot.GetLine(0)->Visible);
}

TEST(PlotForm, GraphTitleMovesThePlotDown) {
    TGraphPlot plot;
    fillDeflection(plot, 2, 5);
    const std::unique_ptr<TPlotForm> window = shownForm(plot);
    TPlotForm& form = *window;
    const int top = form.Layout().Plot.Top;
    velmor::test::whenShown<TfrmGraphCaption>([](TfrmGraphCaption& dialog) {
        dialog.setTitle("Stage results", true);
        dialog.reject();  // the title is taken however the dialog closes
    });
    form.PlotMenu()->actions()[6]->trigger();
    EXPECT_EQ(plot.GetTitle(), "Stage results");
    EXPECT_EQ(form.Layout().Plot.Top, top + 14 / 8 + 14);
}

TEST(PlotForm, PlotMenuOffersLayerAndWallItemsOnlyWhenTheGraphHasThem) {
    TGraphPlot plot;
    fillDeflection(plot, 2, 5);
    auto* form = new TPlotForm(plot);
    QAction* layers = form->PlotMenu()->actions()[1];
    QAction* wall = form->PlotMenu()->actions()[2];
    form->RefreshPlotMenu();
    EXPECT_FALSE(layers->isVisible());
    EXPECT_FALSE(wall->isVisible());
    delete form;
    fillLayers(plot);
    plot.ShowFontWidth = false;
    plot.ShowLegend = false;  // hidden in an earlier window: the item still offers it back
    form = new TPlotForm(plot);
    EXPECT_FALSE(form->Legend()->isVisibleTo(form));
    ASSERT_TRUE(form->PlotMenu()->actions()[0]->isVisible());
    form->PlotMenu()->actions()[0]->trigger();
    EXPECT_TRUE(form->Legend()->isVisibleTo(form));
    form->RefreshPlotMenu();
    EXPECT_TRUE(form->PlotMenu()->actions()[1]->isVisible());
    EXPECT_TRUE(form->PlotMenu()->actions()[2]->isVisible());
    EXPECT_FALSE(form->PlotMenu()->actions()[2]->isEnabled());
    EXPECT_FALSE(form->PlotMenu()->actions()[4]->isVisible());
    form->PlotMenu()->actions()[1]->trigger();  // Show Soil Layer
    form->RefreshPlotMenu();
    EXPECT_TRUE(plot.ShowLayers);
    EXPECT_TRUE(form->PlotMenu()->actions()[2]->isEnabled());
    EXPECT_TRUE(form->PlotMenu()->actions()[1]->isChecked());
    // Switching a curve off in the menu: the item follows the curve.
    curveItems(*form)[1]->trigger();
    form->RefreshPlotMenu();
    EXPECT_FALSE(plot.GetLine(1)->Visible);
    EXPECT_FALSE(curveItems(*form)[1]->isChecked());
    delete form;
}

TEST(PlotForm, PrintsOnePdfPage) {
    TGraphPlot plot;
    fillDeflection(plot, 3, 40);
    plot.SetTitle("Wall deflection");
    plot.SetTitleAtTop(true);
    auto* form = new TPlotForm(plot);
    const QString file = screenshotPath("deflection.pdf");
    QFile::remove(file);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    form->PrintOn(printer);
    QFile pdf(file);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_EQ(QString::fromLatin1(bytes).count(QRegularExpression("/Type\\s*/Page[^s]")), 1);
    delete form;
}

TEST(PlotForm, SavesTheBitmapAtTheChosenSizeOrReportsMemory) {
    TGraphPlot plot;
    fillDeflection(plot, 3, 40);
    auto* form = new TPlotForm(plot);
    const QString file = screenshotPath("deflection.bmp");
    QFile::remove(file);
    form->Dialogs().SaveFileName = [&](QWidget*) { return file; };
    form->Dialogs().SaveAttributes = [](QWidget*, QImage& bitmap) {
        bitmap = QImage(432, 288, QImage::Format_RGB32);  // 6 x 4 in at 72 pixels per inch
        return int(QDialog::Accepted);
    };
    form->PlotSaveClick();
    QFile saved(file);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_TRUE(saved.read(2) == "BM");
    EXPECT_EQ(QImage(file).size(), QSize(432, 288));
    QFile::remove(file);

    platform::RecordingMessages messages;
    form->Dialogs().SaveAttributes = [](QWidget*, QImage&) { return TdlgFormat::kOutOfMemory; };
    form->PlotSaveClick();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0], "There is not enough memory to complete this task.");
    EXPECT_FALSE(QFile::exists(file));
    delete form;
}

TEST(PlotForm, ShowOpensOneWindowPerGraphAndClosingFreesIt) {
    TPlotForm::InstallAsGraphWindow();
    TGraphPlot plot;
    fillDeflection(plot, 1, 3);
    plot.Show();
    auto* window = dynamic_cast<TPlotForm*>(plot.Window());
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    // The legend stands in the plot's bottom-right corner of the window as shown, not as created.
    const TPixelRect& plotArea = window->Layout().Plot;
    EXPECT_EQ(window->Legend()->geometry().bottomRight() + QPoint(1, 1), QPoint(plotArea.Right, plotArea.Bottom));
    plot.Show();
    EXPECT_EQ(plot.Window(), window);
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(plot.WindowExists());
    plot.Show();
    EXPECT_TRUE(plot.WindowExists());  // the graph frees this one when it goes
    TGraphPlot::SetDefaultWindowFactory(nullptr);
}

}  // namespace
}  // namespace velmor::components

namespace velmor::components {
namespace {

TEST(PlotPainter, StampedMarkersMatchOutlinesDrawnOneByOne) {
    TGraphPlot plot;
    fillDeflection(plot, 12, 60);  // twelve curves: every marker shape, some clipped at the plot's edges
    plot.WidthLine = 2;
    TPlotCanvas canvas;
    canvas.Target = TLayoutTarget::Bitmap;
    TLayoutInput in;
    in.Target = TLayoutTarget::Bitmap;
    in.Page = {0, 0, 640, 480};
    canvas.Layout = ComputeLayout(in);
    canvas.Ranges.fill(ComputeRange(plot.Lines()));
    // RGB32 takes the stamped markers, RGBA8888 the outlines; the pixels of the plot area must agree.
    QImage stamped(640, 480, QImage::Format_RGB32), outlined(640, 480, QImage::Format_RGBA8888);
    for (QImage* image : {&stamped, &outlined}) {
        QPainter painter(image);
        PaintPlot(painter, plot, canvas);
    }
    const QImage reference = outlined.convertToFormat(QImage::Format_RGB32);
    const TPixelRect& a = canvas.Layout.Plot;
    int differing = 0;
    for (int y = a.Top; y <= a.Bottom; ++y) {
        for (int x = a.Left; x <= a.Right; ++x) differing += stamped.pixel(x, y) != reference.pixel(x, y);
    }
    EXPECT_EQ(differing, 0);
}

}  // namespace
}  // namespace velmor::components
