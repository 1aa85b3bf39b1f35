#include "windows/main_form.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPixmap>
#include <QStatusBar>
#include <QToolButton>
#include <filesystem>
#include <functional>

#include "platform/dynamic_library.h"
#include "platform/message_service.h"
#include "platform/settings_service.h"
#include "support/test_support.h"
#include "tables/widgets/table_form.h"
#include "windows/project_file_dialogs.h"

namespace velmor::windows {
namespace {

namespace fs = std::filesystem;
using platform::MessageService;
using test::readFile;
using test::ScratchDir;
using test::writeFile;
using Answer = MessageService::Answer;

const QString kSaveQuestion = "Do you want to save any changes?";

// A main window with every service faked: messages, settings, file dialogs and the library loader.
class MainFormTest : public ::testing::Test {
  protected:
    MainFormTest() { TMainForm::SetProgramDirectory(QString::fromStdString(dir.path().string())); }
    ~MainFormTest() override { TMainForm::SetProgramDirectory(QString()); }

    // A project file in the scratch directory, with the content of an example.
    std::string project(const std::string& name, const std::string& example = "cantilever-sand-si.vm4d") {
        writeFile(dir.file(name), readFile(std::string(VELMOR_SOURCE_DIR) + "/examples/" + example));
        return dir.file(name);
    }
    TMainForm& start(const QStringList& parameters = {}) {
        form = std::make_unique<TMainForm>();
        form->FormShow(parameters);
        return *form;
    }

    ScratchDir dir;
    platform::RecordingMessages messages;
    platform::MemorySettings settings;
    ScriptedProjectDialogs dialogs;
    std::unique_ptr<TMainForm> form;
};

TEST_F(MainFormTest, StartsWithANewProjectAndTheStoredSettings) {
    settings.values = {{"Word Processor", "kate"}, {"File1", "/a/one.vm4d"}, {"File2", "/a/two.vm4d"}};
    TMainForm& f = start();
    EXPECT_EQ(f.windowTitle(), "VELMOR 2013.4.14 - NewWall.vm4d");
    EXPECT_EQ(f.EditorPath(), "kate");
    EXPECT_EQ(f.RecentCount(), 2);
    EXPECT_FALSE(f.SpeedButton(TMainForm::kDeflectionButton)->isEnabled());
    EXPECT_TRUE(messages.shown.empty());

    settings.failing = true;  // unreadable settings are silent and leave the defaults
    TMainForm& g = start();
    EXPECT_EQ(g.EditorPath(), "xdg-open");
    EXPECT_EQ(g.RecentCount(), 0);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(MainFormTest, CommandLineProjectOpensAbsoluteWithItsResultsAndNoMessage) {
    project("wall.vm4d");
    writeFile(dir.file("wall.vm4p"), " 0\r\n 2 0\r\n 1 2 2\r\n 0 0 0 0 0\r\n 12 1 2 3 4\r\n");
    const struct {
        QString parameter;
        std::string caption;
    } cases[] = {{"wall", "Wall.vm4d"}, {"missing", "NewWall.vm4d"}, {"wall.vm4d", "Wall.vm4d"}};
    for (const auto& c : cases) {
        TMainForm& f = start({c.parameter});
        EXPECT_EQ(f.windowTitle().toStdString(), "VELMOR 2013.4.14 - " + c.caption);
        if (c.caption == "Wall.vm4d") {
            EXPECT_EQ(f.Project().FileName(), dir.file("wall.vm4d"));
            EXPECT_TRUE(f.PlotLoaded());
            EXPECT_TRUE(f.SpeedButton(TMainForm::kDeflectionButton)->isEnabled());
        }
        EXPECT_EQ(f.RecentCount(), 0);
        EXPECT_TRUE(messages.shown.empty());
    }
}

TEST_F(MainFormTest, StagedCommandLineProjectIsSplitIntoItsStageFiles) {
    project("staged.vm4d", "three-stages.vm4d");
    TMainForm& f = start({"staged"});
    EXPECT_EQ(f.Project().StageCount(), 3);
    for (const char* stage : {"staged.st1", "staged.st2", "staged.st3"}) EXPECT_TRUE(fs::exists(dir.file(stage)));
    EXPECT_TRUE(f.SpeedButton(TMainForm::kStage3Button)->isEnabled());
    EXPECT_FALSE(f.SpeedButton(TMainForm::kStage4Button)->isEnabled());

    f.SetModified(true);
    f.SpeedButton(TMainForm::kStage3Button)->click();
    EXPECT_EQ(f.Project().CurrentStage(), 3);
    EXPECT_TRUE(f.GetModified());
    EXPECT_EQ(f.statusBar()->findChild<QLabel*>()->text(), "Construction Stage Number: 3");
}

TEST_F(MainFormTest, SaveAsOfAStagedProjectKeepsTheChangesOfTheCurrentStage) {
    project("staged.vm4d", "three-stages.vm4d");
    TMainForm& f = start({"staged"});
    f.Project().Data().Title = "Changed before Save As";
    dialogs.saveAnswers = {QString::fromStdString(dir.file("copy.vm4d"))};
    ASSERT_TRUE(f.FileSaveAsClick());
    EXPECT_EQ(test::splitLines(readFile(dir.file("copy.vm4d"))).front(), "Changed before Save As");
    EXPECT_TRUE(fs::exists(dir.file("copy.st3")));
}

TEST_F(MainFormTest, EveryAnswerOfTheSaveQuestionForEveryCommandThatDropsTheProject) {
    const std::string wall = project("wall.vm4d");
    const std::string other = project("other.vm4d");
    const struct {
        const char* name;
        bool named;  // the project has a file name (else it is still "NewWall.vm4d")
        Answer answer;
        bool saveAsChosen;  // Save As is answered (only asked for an unnamed project)
        bool goesOn;
    } cases[] = {
        {"no", true, Answer::No, false, true},
        {"cancel", true, Answer::Cancel, false, false},
        {"yes", true, Answer::Yes, false, true},
        {"yes, unnamed, save as cancelled", false, Answer::Yes, false, false},
        {"yes, unnamed, saved as", false, Answer::Yes, true, true},
    };
    // Each command, and whether it went on (the previous project was dropped).
    const struct {
        const char* name;
        std::function<bool(TMainForm&)> run;
    } commands[] = {
        {"new",
         [](TMainForm& f) {
             f.FileNewClick();
             return f.Project().FileName() == TMainForm::kNewFileName && !f.GetModified();
         }},
        {"open",
         [&](TMainForm& f) {
             dialogs.openAnswers = {{QString::fromStdString(other), 1}};
             f.FileOpenClick();
             dialogs.openAnswers.clear();
             return f.Project().FileName() == other;
         }},
        {"drop",
         [&](TMainForm& f) {
             f.DropFiles({QString::fromStdString(other)});
             return f.Project().FileName() == other;
         }},
        {"exit", [](TMainForm& f) { return f.close(); }},
    };
    for (const auto& command : commands) {
        for (const auto& c : cases) {
            fs::remove(dir.file("saved.vm4d"));
            TMainForm& f = start(c.named ? QStringList{QString::fromStdString(wall)} : QStringList{});
            f.SetModified(true);
            messages.answers = {c.answer};
            if (c.saveAsChosen) dialogs.saveAnswers = {QString::fromStdString(dir.file("saved.vm4d"))};
            EXPECT_EQ(command.run(f), c.goesOn) << command.name << ": " << c.name;
            EXPECT_EQ(messages.asked.back(), kSaveQuestion) << command.name << ": " << c.name;
            EXPECT_EQ(fs::exists(dir.file("saved.vm4d")), c.saveAsChosen) << command.name << ": " << c.name;
        }
    }
}

TEST_F(MainFormTest, FailedSaveCancelsTheCloseAndKeepsTheName) {
    TMainForm& f = start();
    f.SetModified(true);
    messages.answers = {Answer::Yes};
    dialogs.saveAnswers = {QString::fromStdString(dir.file("no-such-dir/wall.vm4d"))};
    EXPECT_FALSE(f.close());
    EXPECT_EQ(f.Project().FileName(), TMainForm::kNewFileName);
    EXPECT_TRUE(f.GetModified());
    ASSERT_EQ(messages.shown.size(), 1u);  // the writer's message
}

TEST_F(MainFormTest, OldFilesShowWithoutExtensionAndSaveAsTheNewLayout) {
    const std::string old = project("old.vmd");
    TMainForm& f = start();
    dialogs.openAnswers = {{QString::fromStdString(old), 1}};  // the current layout under the old extension
    f.FileOpenClick();
    EXPECT_EQ(f.windowTitle(), "VELMOR 2013.4.14 - Old");
    EXPECT_EQ(messages.shown.back(), "Data file: Old, has been read by VELMOR 2013");
    EXPECT_EQ(QDir::currentPath().toStdString(), dir.path().string());
    EXPECT_EQ(f.RecentFiles().Entry(0), old);

    dialogs.saveAnswers = {QString::fromStdString(dir.file("old.vm4d"))};
    EXPECT_TRUE(f.FileSaveClick());
    EXPECT_EQ(dialogs.saveTitles.back(), "Save Old.vm4d As");
    EXPECT_EQ(dialogs.proposedNames.back().toStdString(), dir.file("old.vm4d"));
    EXPECT_EQ(f.windowTitle(), "VELMOR 2013.4.14 - Old.vm4d");
    EXPECT_EQ(f.RecentFiles().Entry(0), dir.file("old.vm4d"));

    // A file that cannot be read keeps the project that was open.
    messages.shown.clear();
    dialogs.openAnswers = {{QString::fromStdString(dir.file("gone.vm4d")), 1}};
    f.findChild<QAction*>("FileOpen")->trigger();
    EXPECT_EQ(f.Project().FileName(), dir.file("old.vm4d"));
    EXPECT_EQ(messages.shown, std::vector<QString>{"File not found"});
}

TEST_F(MainFormTest, RecentListMovesNamesToTheHeadAndStoresOnlyChanges) {
    TMainForm& f = start();
    for (int i = 1; i <= 11; ++i) f.UpdatePrevFile(dir.file(std::to_string(i)));
    EXPECT_EQ(f.RecentCount(), 10);
    EXPECT_EQ(f.RecentFiles().Entry(9), dir.file("2"));  // the eleventh file dropped the oldest
    const int writes = settings.writes;
    f.UpdatePrevFile(dir.file("11"));
    EXPECT_EQ(settings.writes, writes);  // already at the head: nothing stored
    f.UpdatePrevFile(dir.file("7"));     // the fifth entry moves to the head
    const char* const expected[] = {"7", "11", "10", "9", "8", "6"};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(f.RecentFiles().Entry(i), dir.file(expected[i]));
    EXPECT_EQ(settings.values["File1"].toStdString(), dir.file("7"));

    f.FileMenuClick();
    const QList<QAction*> items = f.FileMenu()->actions();
    EXPECT_EQ(items[5]->text(), "1 7");  // in the current directory: by name only
    EXPECT_TRUE(items[14]->isVisible());
}

TEST_F(MainFormTest, DroppingFilesOpensOnlyTheFirst) {
    const std::string a = project("a.vm4d"), b = project("b.vm4d"), c = project("c.vm4d");
    TMainForm& f = start();
    f.DropFiles({QString::fromStdString(a), QString::fromStdString(b), QString::fromStdString(c)});
    EXPECT_EQ(f.Project().FileName(), a);
    EXPECT_EQ(f.RecentCount(), 1);
}

TEST_F(MainFormTest, HelpPicturesOfTheTablesAreInTheProgram) {
    TMainForm& f = start();
    for (const auto* table : {&f.Project().Data().Tables().DistLoad(), &f.Project().Data().Tables().SoilStrength()}) {
        EXPECT_FALSE(QPixmap(QString::fromStdString(table->HelpPicture())).isNull()) << table->HelpPicture();
    }
}

TEST_F(MainFormTest, ChartTableEditsAskBeforeTheyAreLost) {
    TMainForm& f = start();
    f.Project().Data().Tables().PYCurves2().SetChanged(true);
    EXPECT_TRUE(f.GetModified());
    messages.answers = {Answer::Cancel};
    EXPECT_FALSE(f.close());
    EXPECT_EQ(messages.asked, std::vector<QString>{kSaveQuestion});
    f.SetModified(false);
    EXPECT_FALSE(f.Project().Data().Tables().PYCurves2().GetChanged());
}

TEST_F(MainFormTest, EntryBeingTypedInATableEditorIsCommittedWhenAMenuOpens) {
    TMainForm& f = start();
    components::TGridTable& table = f.Project().Data().Tables().PileSect();
    f.show();
    table.Show();
    ASSERT_EQ(f.MdiArea()->subWindowList().size(), 1);  // the editor is a child window of the main window
    QMdiSubWindow* child = f.MdiArea()->subWindowList().first();
    f.MdiArea()->setActiveSubWindow(child);
    auto* editor = dynamic_cast<components::TTableForm*>(child->widget());
    ASSERT_NE(editor, nullptr);
    f.SetModified(false);
    editor->grid()->moveCurrent(0, 1);
    if (editor->grid()->cellEditor() != nullptr)
        editor->grid()->cellEditor()->setText("6*20");
    else
        editor->grid()->currentItem()->setText("6*20");
    f.FileMenuClick();
    EXPECT_EQ(table.Cell(1, 0).GetText(), "120");
    EXPECT_TRUE(f.GetModified());
}

}  // namespace
}  // namespace velmor::windows
