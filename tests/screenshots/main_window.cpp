#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "engine_run_support.h"
#include "screenshots/shots.h"
#include "windows/main_commands.h"
#include "windows/stages/stage_commands.h"

namespace velmor::windows {
namespace {

// The main window after a run of the staged example, with four graph windows tiled, for a person to look at.
TEST(MainWindowPictures, WithResults) {
    EngineRunSetup run("three-stages.vm4d");
    TMainForm form;
    // The window as the program builds it: menus, tool-bar icons and stage buttons included.
    auto* commands = new TMainCommands(form);
    new TStageCommands(*commands, form);
    form.FormShow({run.project});
    form.CompRunClick();
    ASSERT_TRUE(form.PlotLoaded());
    form.resize(1400, 900);
    form.show();
    for (project::TGraphPlot* graph :
         {&form.Graphs().pltDef, &form.Graphs().pltMom, &form.Graphs().pltLD, &form.Graphs().pltPY})
        graph->Show();
    form.MdiArea()->tileSubWindows();
    QApplication::processEvents();
    EXPECT_EQ(form.MdiArea()->subWindowList().size(), 4);

    const QString folder = shots::Folder();
    QDir().mkpath(folder);
    EXPECT_TRUE(form.grab().save(folder + "/main_window_results.png"));

    form.Graphs().pltDMS.Show();
    form.MdiArea()->activeSubWindow()->showMaximized();
    QApplication::processEvents();
    EXPECT_TRUE(form.grab().save(folder + "/main_window_three_panels.png"));
    form.CloseAllChildren();
    QApplication::processEvents();
    form.Project().Data().Tables().DistLoad().Show();
    QApplication::processEvents();
    EXPECT_TRUE(form.grab().save(folder + "/main_window_table_editor.png"));
    form.CloseAllChildren();
}

}  // namespace
}  // namespace velmor::windows
