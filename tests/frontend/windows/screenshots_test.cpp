#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <filesystem>

#include "platform/message_service.h"
#include "platform/settings_service.h"
#include "support/test_support.h"
#include "windows/main_form.h"

namespace velmor::windows {
namespace {

namespace fs = std::filesystem;

// The main window after a run of the staged example, with four graph windows tiled, for a person to look at.
TEST(Screenshots, MainWindowWithResults) {
    test::ScratchDir dir;
    platform::RecordingMessages messages;
    platform::MemorySettings settings;
    const fs::path program = dir.path() / "bin";
    fs::create_directories(program);
    fs::copy_file(fs::path(QApplication::applicationDirPath().toStdString()) / "Velmor2013_DLL.so",
                  program / "Velmor2013_DLL.so");
    TMainForm::SetProgramDirectory(QString::fromStdString(program.string()));
    fs::copy_file(fs::path(VELMOR_SOURCE_DIR) / "examples" / "three-stages.vm4d", dir.path() / "three-stages.vm4d");

    TMainForm form;
    form.FormShow({QString::fromStdString(dir.file("three-stages.vm4d"))});
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

    const QString shots = QString(VELMOR_BINARY_DIR) + "/screenshots";
    QDir().mkpath(shots);
    EXPECT_TRUE(form.grab().save(shots + "/main_window_results.png"));

    form.Graphs().pltDMS.Show();
    form.MdiArea()->activeSubWindow()->showMaximized();
    QApplication::processEvents();
    EXPECT_TRUE(form.grab().save(shots + "/main_window_three_panels.png"));
    form.CloseAllChildren();
    QApplication::processEvents();
    form.Project().Data().Tables().DistLoad().Show();
    QApplication::processEvents();
    EXPECT_TRUE(form.grab().save(shots + "/main_window_table_editor.png"));
    form.CloseAllChildren();
    TMainForm::SetProgramDirectory(QString());
}

}  // namespace
}  // namespace velmor::windows
