#include "windows/stages/stage_commands.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <filesystem>

#include "platform/message_service.h"
#include "platform/settings_service.h"
#include "screenshot_path.h"
#include "sideview/side_view_project.h"
#include "support/test_support.h"
#include "ui_dlg_staged.h"
#include "windows/main_commands.h"
#include "windows/project_file_dialogs.h"

namespace velmor::windows {
namespace {

// The main window with its commands and the stage commands, as the program puts them together.
class StageCommandsTest : public ::testing::Test {
  protected:
    StageCommandsTest() {
        form.FormShow({});
        data().FileName = dir.file("wall.vm4d");
    }
    project::TProgramData& data() { return form.Project().Data(); }
    QString status() { return form.statusBar()->findChild<QLabel*>()->text(); }

    test::ScratchDir dir;
    platform::RecordingMessages messages;
    platform::MemorySettings settings;
    ScriptedProjectDialogs dialogs;
    TMainForm form;
    TMainCommands* commands = new TMainCommands(form);
    TStageCommands* stageCommands = new TStageCommands(*commands, form);
};

TEST_F(StageCommandsTest, MenusAndToolButtonsOpenTheWindowsAndSwitchStages) {
    commands->Item("Gentrape")->trigger();
    // The tool button opens the dialog as a child window; the menu then brings the same one forward.
    form.SpeedButton(TMainForm::kStageOptionsButton)->click();
    TDlgStaged* dialog = stageCommands->StagedDialog();
    ASSERT_NE(dialog, nullptr);
    commands->Item("OptionsStaged")->trigger();
    EXPECT_EQ(stageCommands->StagedDialog(), dialog);  // one at a time
    EXPECT_EQ(form.MdiArea()->subWindowList().size(), 1);
    dialog->Form().btnCancel->click();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(stageCommands->StagedDialog(), nullptr);
    // With none open the menu opens it modally over the main window, at its own size.
    bool modal = false;
    QTimer::singleShot(0, [&] {
        auto* shown = qobject_cast<TDlgStaged*>(QApplication::activeModalWidget());
        ASSERT_NE(shown, nullptr);
        modal = shown->isWindow() && shown->parentWidget() == &form && shown->size() == shown->sizeHint();
        shown->Form().cbStaged->click();
        shown->Form().btnOK->click();
    });
    commands->Item("OptionsStaged")->trigger();
    EXPECT_TRUE(modal);
    EXPECT_EQ(form.MdiArea()->subWindowList().size(), 0);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(stageCommands->StagedDialog(), nullptr);
    EXPECT_EQ(data().StageCount, 2);

    data().FreeHeight = 30;  // stage 1, edited
    form.SpeedButton(TMainForm::kStage2Button)->click();
    EXPECT_EQ(data().CurrentStage, 2);
    EXPECT_EQ(status(), "Construction Stage Number: 2");
    EXPECT_TRUE(form.GetModified());
    form.SetModified(true);
    commands->Item("SaveCurrentStage")->trigger();
    EXPECT_TRUE(form.GetModified());  // Update Current Stage keeps the modified state
    commands->Item("Stage1Menu")->trigger();
    EXPECT_EQ(data().FreeHeight, 30);
    EXPECT_TRUE(form.SpeedButton(TMainForm::kStage1Button)->isChecked());
    // The menu shows the triangular pressure the stage files analyse; the project keeps its own method.
    emit commands->Menu("OptionsKoutptPopup")->aboutToShow();
    EXPECT_TRUE(commands->Item("Gentriangular")->isChecked() && !commands->Item("Gentrape")->isEnabled());
    EXPECT_EQ(data().EarthPressureMethod, 3);

    commands->Item("CompLayers")->trigger();
    ASSERT_NE(stageCommands->SideView(), nullptr);
    form.SpeedButton(TMainForm::kSoilProfileButton)->click();
    EXPECT_EQ(form.MdiArea()->subWindowList().size(), 1);
    EXPECT_EQ(stageCommands->SideView()->windowTitle(), "Side View");
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(StageCommandsTest, SideViewOfAStagedProjectFollowsTheStageShown) {
    const std::string name = dir.file("wall.vm4d");
    std::filesystem::copy_file(std::filesystem::path(VELMOR_SOURCE_DIR) / "examples" / "three-stages.vm4d", name);
    form.OpenFileName(name, 0);
    form.resize(1000, 720);
    form.show();
    commands->Item("Stage3Menu")->trigger();
    commands->Item("CompLayers")->trigger();
    TDlgSideView* view = stageCommands->SideView();
    ASSERT_NE(view, nullptr);
    view->parentWidget()->resize(560, 600);
    view->FormActivate();
    QApplication::processEvents();
    // Stage 3 digs 192 in below the ground, which lies 0.1 x 480 in below the world's top.
    EXPECT_EQ(sideview::SideViewProjectOf(data()).Excavation(), 48 + 192);
    EXPECT_NEAR(static_cast<double>(view->World().YMax), 1.05 * 1.1 * 480, 1e-9);
}

}  // namespace
}  // namespace velmor::windows
