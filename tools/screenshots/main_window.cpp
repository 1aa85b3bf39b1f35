#include <gtest/gtest.h>

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>

#include "engine_run_support.h"
#include "graphs/widgets/plot_form.h"
#include "screenshots/shots.h"
#include "windows/main_commands.h"
#include "windows/stages/stage_commands.h"

namespace velmor::windows {
namespace {

// The window as the program builds it (menus, tool-bar icons and stage buttons included), after a run of the
// project.
void showAfterRun(TMainForm& form, const EngineRunSetup& run) {
    auto* commands = new TMainCommands(form);
    new TStageCommands(*commands, form);
    form.FormShow({run.project});
    form.CompRunClick();
}

// The main window after a run of the staged example, with four graph windows tiled, for a person to look at.
TEST(MainWindowPictures, WithResults) {
    EngineRunSetup run("three-stages.vm4d");
    TMainForm form;
    showAfterRun(form, run);
    ASSERT_TRUE(form.PlotLoaded());
    form.resize(1400, 900);
    form.show();
    for (project::TGraphPlot* graph :
         {&form.Graphs().pltDef, &form.Graphs().pltMom, &form.Graphs().pltLD, &form.Graphs().pltPY})
        graph->Show();
    form.MdiArea()->tileSubWindows();
    QApplication::processEvents();
    EXPECT_EQ(form.MdiArea()->subWindowList().size(), 4);

    EXPECT_TRUE(form.grab().save(shots::Path("main_window_results.png")));

    form.Graphs().pltDMS.Show();
    form.MdiArea()->activeSubWindow()->showMaximized();
    QApplication::processEvents();
    EXPECT_TRUE(form.grab().save(shots::Path("main_window_three_panels.png")));
    form.CloseAllChildren();
    QApplication::processEvents();
    form.Project().Data().Tables().DistLoad().Show();
    QApplication::processEvents();
    EXPECT_TRUE(form.grab().save(shots::Path("main_window_table_editor.png")));
    form.CloseAllChildren();
}

// The graphs an engineer reads most, maximized in a main window that fills a 1600 x 1000 screen, for an
// English and an SI project; the deflection graph also as a saved bitmap and as a printed letter page
// (drawn at 300 pixels per inch with the printer's layout).
TEST(MainWindowPictures, MaximizedGraphs) {
    for (const char* example : {"three-stages.vm4d", "cantilever-sand-si.vm4d"}) {
        EngineRunSetup run(example);
        TMainForm form;
        showAfterRun(form, run);
        ASSERT_TRUE(form.PlotLoaded());
        form.resize(1600, 1000);
        form.show();
        const QString name = QString(example).section('.', 0, 0);
        const std::pair<project::TGraphPlot*, const char*> graphs[] = {{&form.Graphs().pltDef, "deflection"},
                                                                       {&form.Graphs().pltPY, "py"},
                                                                       {&form.Graphs().pltDMS, "three_panels"}};
        for (const auto& [graph, what] : graphs) {
            graph->Show();
            form.MdiArea()->activeSubWindow()->showMaximized();
            QApplication::processEvents();
            EXPECT_TRUE(form.grab().save(shots::Path(QString("maximized_%1_%2.png").arg(what, name))));
            form.CloseAllChildren();
            QApplication::processEvents();
        }
        form.Graphs().pltDef.Show();
        form.MdiArea()->activeSubWindow()->showMaximized();
        QApplication::processEvents();
        auto* window = dynamic_cast<components::TPlotForm*>(form.Graphs().pltDef.Window());
        ASSERT_NE(window, nullptr);
        QImage bitmap(432, 288, QImage::Format_RGB32);  // 6 x 4 in at 72 pixels per inch
        EXPECT_TRUE(window->SaveBitmap(shots::Path("saved_deflection_" + name + ".bmp"), bitmap));
        EXPECT_TRUE(bitmap.save(shots::Path("saved_deflection_" + name + ".png")));
        const int dpi = 300;
        QImage page(85 * dpi / 10, 11 * dpi, QImage::Format_RGB32);
        page.fill(Qt::white);
        {
            QPainter painter(&page);
            const components::TPixelRect inside =
                components::PrintPage(page.width(), page.height(), 0, 0, dpi, dpi, 1000, 1000, 1000, 1000);
            components::PaintPlot(painter, form.Graphs().pltDef,
                                  window->PictureCanvas(components::TLayoutTarget::Printer, inside, dpi, dpi));
        }
        EXPECT_TRUE(page.scaled(page.size() / 3, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                        .save(shots::Path("printed_deflection_" + name + ".png")));
        form.CloseAllChildren();
    }
}

}  // namespace
}  // namespace velmor::windows
