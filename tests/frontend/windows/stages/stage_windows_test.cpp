#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QToolButton>
#include <filesystem>

#include "platform/message_service.h"
#include "platform/settings_service.h"
#include "project/stage_files.h"
#include "project/text_file.h"
#include "screenshot_path.h"
#include "support/test_support.h"
#include "ui_dlg_staged.h"
#include "windows/main_form.h"
#include "windows/project_file_dialogs.h"
#include "windows/stages/dlg_staged.h"
#include "windows/stages/main_form_stage_host.h"

namespace velmor::windows {
namespace {

namespace fs = std::filesystem;
using stages::SelectStage;
using test::ScratchDir;

class StageWindowTest : public ::testing::Test {
  protected:
    StageWindowTest() {
        fs::create_directories(programDir);
        TMainForm::SetProgramDirectory(QString::fromStdString(programDir.string()));
        form.FormShow({});
    }
    ~StageWindowTest() override { TMainForm::SetProgramDirectory(QString()); }

    std::string openExample(const std::string& example) {
        const std::string name = (dir.path() / "wall.vm4d").string();
        fs::copy_file(fs::path(VELMOR_SOURCE_DIR) / "examples" / example, name, fs::copy_options::overwrite_existing);
        form.OpenFileName(name, 0);
        messages.shown.clear();
        return name;
    }
    project::TProgramData& data() { return form.Project().Data(); }
    QString status() { return form.statusBar()->findChild<QLabel*>()->text(); }
    bool buttonShown(int Stage) {
        const QToolButton* button = form.SpeedButton(TMainForm::StageButton(Stage));
        return qobject_cast<QAction*>(button->property("holder").value<QObject*>())->isVisible();
    }

    ScratchDir dir;
    fs::path programDir = dir.path() / "bin";
    platform::RecordingMessages messages;
    platform::MemorySettings settings;
    ScriptedProjectDialogs dialogs;
    TMainForm form;
    TMainFormStageHost host{form};
};

TEST_F(StageWindowTest, StageDialogTextsCheckBoxAndUpDownLimits) {
    auto* dialog = new TDlgStaged([this]() -> project::TProgramData& { return data(); }, host, &form);
    Ui::TDlgStaged& ui = dialog->Form();
    EXPECT_EQ(dialog->windowTitle(), "Staged Construction Options");
    EXPECT_EQ(ui.cbStaged->text(), "Conduct &Staged-Construction Analysis");
    EXPECT_EQ(ui.deStage->Caption(), "Enter the total number of stages (Max. = 5, Min =2)");
    EXPECT_EQ(ui.btnOK->text(), "OK");
    EXPECT_EQ(ui.btnCancel->text(), "Cancel");
    EXPECT_TRUE(ui.Memo1->isReadOnly());
    const QStringList note = ui.Memo1->toPlainText().split('\n');
    ASSERT_EQ(note.size(), 20);
    EXPECT_EQ(note[1], "and to compare the predicted  deflection, bending moment, ");
    EXPECT_EQ(note[4], "");
    EXPECT_EQ(note[18], "deformation and stress in the system. It completely relies ");
    EXPECT_EQ(note[19], "on the user's judgement to interpret the predicted results.");

    // A project of one stage: unchecked, field and up-down disabled.
    EXPECT_FALSE(ui.cbStaged->isChecked());
    EXPECT_EQ(ui.deStage->GetNumber(), 1);
    EXPECT_FALSE(ui.deStage->isEnabled() || ui.udStageUp->isEnabled() || ui.udStageDown->isEnabled());
    ui.cbStaged->click();
    EXPECT_EQ(ui.deStage->GetNumber(), 2);
    EXPECT_TRUE(ui.deStage->isEnabled() && ui.udStageUp->isEnabled());
    for (int i = 0; i < 6; ++i) ui.udStageUp->click();
    EXPECT_EQ(ui.deStage->GetNumber(), 5);
    for (int i = 0; i < 6; ++i) ui.udStageDown->click();
    EXPECT_EQ(ui.deStage->GetNumber(), 2);
    ui.udStageUp->click();
    ui.cbStaged->click();
    EXPECT_EQ(ui.deStage->GetNumber(), 1);
    EXPECT_FALSE(ui.deStage->isEnabled());
    dialog->close();
}

TEST_F(StageWindowTest, OkStagesTheProjectOnTheMainWindowAndCancelChangesNothing) {
    const std::string name = openExample("cantilever-sand-english.vm4d");
    QPointer<TDlgStaged> dialog = new TDlgStaged([this]() -> project::TProgramData& { return data(); }, host, &form);
    dialog->Form().cbStaged->click();
    dialog->Form().btnCancel->click();
    QApplication::processEvents();
    EXPECT_EQ(data().StageCount, 1);
    EXPECT_FALSE(project::FileExists(project::StageFileName(name, 1)));

    dialog = new TDlgStaged([this]() -> project::TProgramData& { return data(); }, host, &form);
    dialog->Form().cbStaged->click();
    dialog->Form().udStageUp->click();
    dialog->Form().btnOK->click();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(dialog.isNull());  // freed on close
    EXPECT_EQ(data().StageCount, 3);
    EXPECT_TRUE(form.GetModified());
    EXPECT_EQ(status(), "Construction Stage Number: 1");
    EXPECT_TRUE(form.StageMenu()->menuAction()->isVisible());
    for (int k = 1; k <= 5; ++k) {
        EXPECT_TRUE(buttonShown(k)) << k;
        EXPECT_EQ(form.SpeedButton(TMainForm::StageButton(k))->isEnabled(), k <= 3) << k;
        EXPECT_EQ(form.SpeedButton(TMainForm::StageButton(k))->isChecked(), k == 1) << k;
        EXPECT_EQ(project::FileExists(project::StageFileName(name, k)), k <= 3) << k;
    }
    SelectStage(data(), host, 3);
    EXPECT_TRUE(form.SpeedButton(TMainForm::kStage3Button)->isChecked() &&
                !form.SpeedButton(TMainForm::kStage1Button)->isChecked());
    EXPECT_EQ(status(), "Construction Stage Number: 3");
    EXPECT_TRUE(form.GetModified());
}

TEST_F(StageWindowTest, StagedProjectEditedInStageTwoIsSavedReopenedAndRunOneCurvePerStage) {
    const fs::path library = fs::path(QApplication::applicationDirPath().toStdString()) / "Velmor2013_DLL.so";
    fs::copy_file(library, programDir / "Velmor2013_DLL.so", fs::copy_options::overwrite_existing);
    const std::string name = openExample("three-stages.vm4d");
    ASSERT_EQ(data().StageCount, 3);
    SelectStage(data(), host, 2);
    EXPECT_EQ(data().FreeHeight, 144);
    data().FreeHeight = 132;
    form.SetModified(true);
    ASSERT_TRUE(form.FileSaveClick());

    form.OpenFileName(name, 0);
    EXPECT_EQ(data().CurrentStage, 1);
    EXPECT_EQ(data().FreeHeight, 72);
    SelectStage(data(), host, 2);
    EXPECT_EQ(data().FreeHeight, 132);
    EXPECT_FALSE(form.GetModified());
    messages.shown.clear();
    form.CompRunClick();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0],
              "Computations are completed. Please, check output file for results or error messages.");
    ASSERT_EQ(form.Graphs().pltDef.GetLineCount(), 3);
    EXPECT_EQ(form.Graphs().pltDef.GetLine(1)->GetName(), "Stage: 2");
}

TEST_F(StageWindowTest, UnreadableStageFileIsReportedAndKeepsWhatWasRead) {
    const std::string name = openExample("three-stages.vm4d");
    const std::string third = project::StageFileName(name, 3);
    const std::vector<std::string> lines = project::ReadTextLines(third);
    test::writeFile(third, lines[0] + "\r\n" + lines[1] + "\r\n80 x\r\n");
    SelectStage(data(), host, 3);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(data().CurrentStage, 3);
    EXPECT_EQ(data().Title, " Stage No : 3");
    EXPECT_EQ(status(), "Construction Stage Number: 3");
}

}  // namespace
}  // namespace velmor::windows
