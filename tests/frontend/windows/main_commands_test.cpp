#include "windows/main_commands.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTest>
#include <QToolButton>
#include <filesystem>

#include "../../components/tables/table_test_support.h"
#include "engine_run_support.h"
#include "fields/widgets/data_edit_widget.h"
#include "platform/document_service.h"
#include "platform/message_service.h"
#include "platform/settings_service.h"
#include "platform/text_editor_service.h"
#include "project/stage_operations.h"
#include "support/test_support.h"
#include "tables/widgets/table_form.h"
#include "ui_dlg_csd.h"
#include "ui_dlg_prop.h"
#include "ui_dlg_title.h"
#include "windows/input_dialogs.h"
#include "windows/main_form.h"

namespace velmor::windows {
namespace {

namespace fs = std::filesystem;
using components::DataEditWidget;

// A main window with its commands and every service faked.
class MainCommandsTest : public ::testing::Test {
  protected:
    MainCommandsTest() {
        TMainForm::SetProgramDirectory(QString::fromStdString(dir.path().string()));
        form = std::make_unique<TMainForm>();
        commands = new TMainCommands(*form);
        form->FormShow({});
    }
    ~MainCommandsTest() override {
        form->CloseAllChildren();
        TMainForm::SetProgramDirectory(QString());
    }
    project::TProgramData& data() { return form->Project().Data(); }
    bool enabled(const char* item) { return commands->Item(item)->isEnabled(); }
    bool visible(const char* item) { return commands->Item(item)->isVisible(); }
    bool checked(const char* item) { return commands->Item(item)->isChecked(); }
    void open(const char* menu) { emit commands->Menu(menu)->aboutToShow(); }
    // Opens `text` saved as wall.vm4d in the main window, shown and active as a user has it.
    void openActive(const std::string& text) {
        test::writeFile(dir.file("wall.vm4d"), text);
        form->OpenFileName(dir.file("wall.vm4d"), 0);
        messages.shown.clear();  // the note that the file was read
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    static std::string example(const char* name) {
        return test::readFile(std::string(VELMOR_SOURCE_DIR) + "/examples/" + name);
    }

    test::ScratchDir dir;
    platform::RecordingMessages messages;
    platform::MemorySettings settings;
    platform::RecordingDocuments documents;
    platform::RecordingTextEditor editor;
    std::unique_ptr<TMainForm> form;
    TMainCommands* commands;
};

TEST_F(MainCommandsTest, DataMenuFollowsTheProjectOptions) {
    struct Case {
        const char* name;
        std::function<void(project::TProgramData&)> set;
        std::vector<const char*> on, off, shown, hidden;
    };
    const Case cases[] = {
        {"new project",
         [](project::TProgramData&) {},
         {"DataTitle", "DataProp", "DataCSD", "DataAxLoads"},
         {"DistributedActiveEarthPressureMenu", "DataRebar", "DataBoundCond", "DataSoilLayer", "DataPYMod",
          "DataPYCurves", "DataSoilSpring", "DataEICurves"},
         {"DataAxLoads", "DistributedActiveEarthPressureMenu"},
         {"SoilLayerDataMenu", "DataLoading"}},
        {"nothing generated, every option on",
         [](project::TProgramData& d) {
             d.GeneratePYCurves = d.GenerateEarthPressure = 0;
             d.EarthPressureMethod = 1;
             d.UseSurcharges = d.UseConcentratedLoads = d.UseRestraints = d.UsePYModification = true;
             d.UseExternalPYCurves = d.UseSprings = d.UseMEICurves = true;
         },
         {"DistributedActiveEarthPressureMenu", "DataRebar", "DataBoundCond", "DataSoilLayer", "DataPYMod",
          "DataPYCurves", "DataSoilSpring", "DataEICurves"},
         {"DataCSD", "DataAxLoads"},
         {},
         {}},
        {"short and long term",
         [](project::TProgramData& d) {
             d.ShortAndLongTerm = true;
             d.EarthPressureMethod = 1;
         },
         {"SoilLayerDataMenu", "DataLoading"},
         {},
         {"SoilLayerDataMenu", "DataLoading", "ShortTerm1", "LongTerm1", "ShortTerm2", "LongTerm2"},
         {"DataAxLoads", "DistributedActiveEarthPressureMenu"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        form->FileNewClick();
        c.set(data());
        open("DataMenu");
        for (const char* item : c.on) EXPECT_TRUE(enabled(item)) << item;
        for (const char* item : c.off) EXPECT_FALSE(enabled(item)) << item;
        for (const char* item : c.shown) EXPECT_TRUE(visible(item)) << item;
        for (const char* item : c.hidden) EXPECT_FALSE(visible(item)) << item;
    }
}

TEST_F(MainCommandsTest, ShortAndLongTermToggleDisablesStagedConstruction) {
    open("OptionsMenu");
    EXPECT_TRUE(enabled("OptionsLong"));
    EXPECT_TRUE(form->SpeedButton(TMainForm::kStageOptionsButton)->isEnabled());
    commands->Item("OptionsLong")->trigger();
    EXPECT_TRUE(data().ShortAndLongTerm);
    EXPECT_TRUE(form->GetModified());
    EXPECT_FALSE(form->SpeedButton(TMainForm::kStageOptionsButton)->isEnabled());
    open("OptionsMenu");
    EXPECT_TRUE(checked("OptionsLong"));
    EXPECT_EQ(data().EndFlag, 9);
    EXPECT_FALSE(enabled("OptionsStaged"));
    // A new project brings the staged-construction commands back.
    form->SetModified(false);
    form->FileMenu()->findChild<QAction*>("FileNew")->trigger();
    QCoreApplication::processEvents();
    EXPECT_FALSE(data().ShortAndLongTerm);
    EXPECT_TRUE(form->SpeedButton(TMainForm::kStageOptionsButton)->isEnabled());
    data().StageCount = 2;
    open("OptionsMenu");
    EXPECT_FALSE(enabled("OptionsLong"));
    EXPECT_TRUE(checked("OptionsStaged"));
}

TEST_F(MainCommandsTest, SwitchingAnOptionOffClosesTheEditorOfItsTable) {
    struct Case {
        const char* item;
        bool project::TProgramData::*option;
        components::TGridTable& (project::TProjectTables::*table)() const;
    };
    const Case cases[] = {
        {"OptionsConcentrate", &project::TProgramData::UseConcentratedLoads, &project::TProjectTables::BoundCond},
        {"OptionsTipRes", &project::TProgramData::UseRestraints, &project::TProjectTables::Soillayer},
        {"OptionsLateralSpring", &project::TProgramData::UseSprings, &project::TProjectTables::SoilStrength},
        {"OptionsPYMod", &project::TProgramData::UsePYModification, &project::TProjectTables::PYMod},
        {"OptionsSurcharge", &project::TProgramData::UseSurcharges, &project::TProjectTables::SurchargeTable},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        components::testing::FakeEditor fake;
        components::TGridTable& table = (data().Tables().*c.table)();
        data().*c.option = true;
        table.SetEditorForm(&fake);
        open("OptionsMenu");
        EXPECT_TRUE(checked(c.item));
        commands->Item(c.item)->trigger();
        EXPECT_FALSE(data().*c.option);
        EXPECT_EQ(fake.released, 1);
        EXPECT_EQ(table.EditorForm(), nullptr);
        // Switching it on again does not reopen the editor.
        commands->Item(c.item)->trigger();
        EXPECT_TRUE(data().*c.option);
        EXPECT_EQ(table.EditorForm(), nullptr);
    }
    EXPECT_TRUE(form->GetModified());
}

TEST_F(MainCommandsTest, EarthPressureAndPYOptions) {
    data().EarthPressureMethod = data().GenerateEarthPressure = 0;  // as a file saved without earth pressure
    open("OptionsKoutptPopup");
    EXPECT_EQ(data().EarthPressureMethod, 1);
    EXPECT_TRUE(form->GetModified());  // the next save writes the method: the save question asks first
    EXPECT_TRUE(checked("Userinput"));
    EXPECT_TRUE(data().UseUserEarthPressure);
    commands->Item("Gentrape")->trigger();
    EXPECT_EQ(data().EarthPressureMethod, 3);
    EXPECT_EQ(data().GenerateEarthPressure, 1);
    open("OptionsMenu");
    EXPECT_FALSE(data().UseUserEarthPressure);
    EXPECT_TRUE(checked("OptionsKPYOP"));
    commands->Item("OptionsKPYOP")->trigger();
    EXPECT_EQ(data().GeneratePYCurves, 0);
    commands->Item("OptionsKPYOP")->trigger();
    EXPECT_EQ(data().GeneratePYCurves, 1);
}

TEST_F(MainCommandsTest, UnitsConvertTheProjectAndReloadOpenDialogs) {
    data().FreeHeight = 240;
    commands->Item("DataCSD")->trigger();
    ASSERT_FALSE(commands->dlgCSD.isNull());
    EXPECT_EQ(commands->dlgCSD->Form().deHL->text(), "20");
    open("OptionsUnitsPopup");
    EXPECT_TRUE(checked("EnglishUnits"));
    commands->Item("SIUnits")->trigger();
    EXPECT_EQ(data().Units, 2);
    // 240 in = 6.096 m.
    EXPECT_EQ(commands->dlgCSD->Form().deHL->text(), "6.096");
    // The same dialog again is brought forward, not made twice.
    commands->Item("DataCSD")->trigger();
    EXPECT_EQ(form->MdiArea()->subWindowList().size(), 1);
    // A layer bottom of 1E307 m would be written as 3.9E308 in, beyond what the analysis reads: back to
    // English units is refused with a message, and nothing is converted.
    data().Tables().NewSoil().Cell(1, 0).SetFloat(1e307L);
    commands->Item("EnglishUnits")->trigger();
    EXPECT_EQ(messages.shown.back(),
              "The units cannot be changed: in the new units a value of the table Soil Layers "
              "would be a number the analysis cannot read (Floating point overflow).");
    EXPECT_EQ(std::make_tuple(data().Units, data().Tables().NewSoil().Cell(1, 0).AsFloat(),
                              commands->dlgCSD->Form().deHL->text()),
              std::make_tuple(2, 1e307L, QString("6.096")));
}

TEST_F(MainCommandsTest, StageMenuWithThreeStages) {
    data().StageCount = 3;
    const struct {
        int current;
        bool copyEnabled;
    } cases[] = {{1, false}, {3, true}};
    for (const auto& c : cases) {
        data().CurrentStage = c.current;
        open("StageMenu");
        for (int stage = 1; stage <= 5; ++stage) {
            const QString item = QString("Stage%1Menu").arg(stage);
            EXPECT_EQ(commands->Item(item)->isEnabled(), stage <= 3) << stage;
            EXPECT_EQ(commands->Item(item)->isChecked(), stage == c.current) << stage;
        }
        EXPECT_EQ(enabled("CopyPreviousStage"), c.copyEnabled);
        EXPECT_FALSE(visible("SaveCurrentStage"));
    }
    std::vector<int> selected;
    commands->SelectStage = [&](int Stage) { selected.push_back(Stage); };
    form->StageButtonClick = [&](int Stage) { selected.push_back(-Stage); };
    commands->Item("Stage2Menu")->trigger();
    form->UpdateStageButtons();
    form->SpeedButton(TMainForm::kStage3Button)->click();
    EXPECT_EQ(selected, (std::vector<int>{2, -3}));
    messages.answers = {platform::MessageService::Answer::No};
    commands->CopyPreviousStageClick();
    ASSERT_EQ(messages.asked.size(), 1u);
    EXPECT_EQ(messages.asked[0], "Do you want to copy all information from Stage 2 to Stage 3");
    EXPECT_EQ(data().CurrentStage, 3);
}

TEST_F(MainCommandsTest, CopyPreviousStageWritesTheEarlierStageIntoTheCurrentOne) {
    // Free heights of the example's stages: 72, 144 and 192 in.
    const std::string input = dir.file("three-stages.vm4d");
    fs::copy_file(fs::path(VELMOR_SOURCE_DIR) / "examples" / "three-stages.vm4d", input);
    form->OpenFileName(input, 0);
    data().CurrentStage = 2;
    project::LoadCurrentStage(data());
    ASSERT_EQ(data().FreeHeight, 144);
    messages.answers = {platform::MessageService::Answer::Yes};
    commands->CopyPreviousStageClick();
    EXPECT_EQ(data().CurrentStage, 2);
    EXPECT_EQ(data().FreeHeight, 72);
    EXPECT_TRUE(form->GetModified());  // the project file does not hold the copy yet
    data().FreeHeight = 0;
    project::LoadCurrentStage(data());
    EXPECT_EQ(data().FreeHeight, 72);
}

TEST_F(MainCommandsTest, ComputationItemsFollowTheFilesBesideTheInput) {
    const std::string input = dir.file("wall.vm4d");
    test::writeFile(input, "x");
    form->Project().SetFileName(input);
    test::writeFile(dir.file("wall.vm4o"), "report");
    open("ComputationMenu");
    EXPECT_TRUE(enabled("CompInput"));
    EXPECT_FALSE(enabled("CompKernel"));
    EXPECT_TRUE(enabled("CompOutput"));
    form->SetEditorPath("my editor");
    commands->Item("CompOutput")->trigger();
    ASSERT_EQ(editor.starts.size(), 1u);
    EXPECT_EQ(editor.starts[0].editorPath, "my editor");
    EXPECT_EQ(editor.starts[0].fileName, QString::fromStdString(dir.file("wall.vm4o")));
    editor.succeed = false;
    commands->Item("CompInput")->trigger();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0], "An error occurred in running the Word Processor");
    // The command tried and the system's reason follow on a second line when the launcher knows them.
    editor.failureText = "my editor \"/w/wall.vm4o\": No such file or directory";
    commands->Item("CompOutput")->trigger();
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[1], "An error occurred in running the Word Processor\r" + editor.failureText);
}

TEST_F(MainCommandsTest, WindowListBindsEachItemToItsWindow) {
    QList<QWidget*> windows;
    for (const char* caption : {"A && B", "Twin", "Twin"}) {
        auto* w = new QWidget;
        w->setWindowTitle(caption);
        form->MdiArea()->addSubWindow(w)->show();
        windows << w;
    }
    open("WindowMenu");
    EXPECT_TRUE(visible("WindowItem2"));
    EXPECT_FALSE(visible("WindowItem3"));
    EXPECT_EQ(commands->Item("WindowItem0")->text(), "A &&&& B");
    commands->MyPopupHandler(1);
    EXPECT_EQ(form->MdiArea()->activeSubWindow()->widget(), windows[1]);
    commands->MyPopupHandler(2);
    EXPECT_EQ(form->MdiArea()->activeSubWindow()->widget(), windows[2]);
    open("WindowMenu");
    EXPECT_TRUE(checked("WindowItem2"));
    EXPECT_FALSE(checked("WindowItem1"));
    // The list holds the first 50 windows.
    for (int i = 0; i < 50; ++i) form->MdiArea()->addSubWindow(new QWidget)->show();
    open("WindowMenu");
    EXPECT_TRUE(visible("WindowItem49"));
    form->CloseAllChildren();
    open("WindowMenu");
    EXPECT_FALSE(visible("WindowItem0"));
}

TEST_F(MainCommandsTest, HelpDocumentsAndTheUpdateCheckOpenThroughTheDesktop) {
    for (const char* item : {"HelpContents", "HelpUsersManual", "HelpTechnicalManual", "HelpUpdates"})
        commands->Item(item)->trigger();
    const QString program = TMainForm::ProgramDirectory();
    const std::vector<QString> expected = {
        program + "/VELMOR_2013.chm", program + "/VELMOR 2013 Users Manual.pdf", program + "/VelmorTechnicalManual.bat",
        "https://www.velmor.example.com/checkupdates/check/check.php?VELMOR;2013.4.14;05/22/15"};
    EXPECT_EQ(documents.opened, expected);
    EXPECT_TRUE(messages.shown.empty());
}

TEST(MainCommandsRun, GraphicsItemsFollowTheResults) {
    EngineRunSetup run("cantilever-sand-si.vm4d");
    TMainForm form;
    auto* commands = new TMainCommands(form);
    form.FormShow({run.project});
    const char* const items[] = {"Comppy",   "CompDef", "CompMom",     "CompShear",
                                 "CompSoil", "CompLD",  "DefMomShear", "CompCombine"};
    emit commands->Menu("GraphicsMenu")->aboutToShow();
    for (const char* item : items) EXPECT_FALSE(commands->Item(item)->isEnabled()) << item;

    form.CompRunClick();
    ASSERT_TRUE(form.PlotLoaded());
    emit commands->Menu("GraphicsMenu")->aboutToShow();
    for (const char* item : items) EXPECT_TRUE(commands->Item(item)->isEnabled()) << item;
    // Results that hold only earth pressures.
    for (project::TGraphPlot* g : {&form.Graphs().pltPY, &form.Graphs().pltDef, &form.Graphs().pltMom,
                                   &form.Graphs().pltShear, &form.Graphs().pltSoil})
        g->SetLineCount(0);
    emit commands->Menu("GraphicsMenu")->aboutToShow();
    for (const char* item : items) {
        const bool pressure = QString(item) == "CompLD" || QString(item) == "CompCombine";
        EXPECT_EQ(commands->Item(item)->isEnabled(), pressure) << item;
    }
}

TEST_F(MainCommandsTest, TitleBytesOfAWindowsFileSurviveTheTitleDialogAndASave) {
    const std::string title = "Quay wall, caf\xE9, slope 30\xB0";  // as saved on Windows
    const std::string si = example("cantilever-sand-si.vm4d"), path = dir.file("wall.vm4d");
    openActive(title + si.substr(si.find("\r\n")));
    commands->Item("DataTitle")->trigger();
    QLineEdit* memo = commands->dlgTitle->Form().TitleMemo;
    EXPECT_EQ(memo->text(), QString::fromUtf8("Quay wall, caf\u00E9, slope 30\u00B0"));
    form->SpeedButton(TMainForm::kSaveButton)->click();  // unedited: the same bytes
    const std::string saved = test::readFile(path);
    ASSERT_EQ(saved.substr(0, title.size() + 2), title + "\r\n");

    memo->setFocus();
    memo->end(false);
    QTest::keyClicks(memo, "!");
    QKeyEvent omega(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString::fromUtf8("\u03A9"));
    QApplication::sendEvent(memo, &omega);  // refused where it is typed
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0], QString::fromUtf8("The character \"\u03A9\" cannot be stored in the project file; "
                                                   "the title keeps the characters of Windows-1252."));
    emit form->FileMenu()->aboutToShow();
    form->FileMenu()->findChild<QAction*>("FileSave")->trigger();
    EXPECT_EQ(test::readFile(path), title + "!" + saved.substr(title.size()));
}

// Entries the engine would refuse are questioned where they are typed, in the main window's child windows.
TEST_F(MainCommandsTest, IncrementLengthAndLayerBottomsTheEngineRefusesAreQuestionedWhereTyped) {
    // The example has one sand layer down to 40 ft; a second layer down to 60 ft is added.
    openActive(example("cantilever-sand-english.vm4d"));
    components::TGridTable& layers = data().Tables().NewSoil();
    const int bottom = project::kLayerBottomColumn;
    layers.AddRowGroup();
    layers.Cell(bottom, 1).SetFloat(60);
    const char* const aboveLayer = "Entry must be greater than 40, the bottom of the layer above.";
    const struct {
        int row;  // of the soil-layer table; -1 for Wall Properties' increment length
        const char* entry;
        const char* message;  // empty when the entry is taken
        components::Extended stored;
    } cases[] = {
        {-1, "-6", "Entry must be greater than 0", 6}, {-1, "0", "Entry must be greater than 0", 6},
        {-1, "2.5", "", 2.5},
        {0, "-10", "Entry must be greater than 0.", 40}, {0, "0", "Entry must be greater than 0.", 40},
        {1, "40", aboveLayer, 60}, {1, "30", aboveLayer, 60}, {1, "45", "", 45},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.row) + ": " + c.entry);
        const bool taken = *c.message == '\0';
        messages.shown.clear();
        QWidget* kept = nullptr;  // where the focus must stay after a refusal
        if (c.row < 0) {
            commands->Item("DataProp")->trigger();
            ASSERT_FALSE(commands->dlgProp.isNull());
            DataEditWidget* field = commands->dlgProp->Form().deXGS;
            kept = field;
            field->setFocus();
            field->selectAll();
            QTest::keyClicks(field, c.entry);
            QTest::keyClick(field, Qt::Key_Return);
            EXPECT_EQ(commands->dlgProp->FormDeactivate(), taken);
            EXPECT_EQ(data().IncrementLength, c.stored);
        } else {
            layers.Show();
            components::TableGrid* grid =
                dynamic_cast<components::TTableForm&>(*form->MdiArea()->activeSubWindow()->widget()).grid();
            kept = grid;
            grid->moveCurrent(c.row, bottom);
            if (grid->cellEditor() == nullptr) grid->editItem(grid->currentItem());
            ASSERT_NE(grid->cellEditor(), nullptr);
            grid->cellEditor()->setText(c.entry);
            const QRect other = grid->visualRect(grid->model()->index(1 - c.row, bottom));
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, other.center());
            EXPECT_EQ(grid->currentRow(), taken ? 1 - c.row : c.row);
            EXPECT_EQ(layers.Cell(bottom, c.row).AsFloat(), c.stored);
        }
        EXPECT_EQ(messages.shown.empty() ? "" : messages.shown.front().toStdString(), c.message);
        EXPECT_TRUE(taken || kept->isAncestorOf(QApplication::focusWidget()) || QApplication::focusWidget() == kept);
    }
}

}  // namespace
}  // namespace velmor::windows

namespace velmor::windows {
namespace {

TEST_F(MainCommandsTest, LeavingADialogWithABadEntryBringsItBackAndStoresNothing) {
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    data().NumIncrements = 50;
    commands->Item("DataProp")->trigger();
    ASSERT_FALSE(commands->dlgProp.isNull());
    auto* propWindow = form->MdiArea()->activeSubWindow();
    ASSERT_EQ(propWindow->widget(), commands->dlgProp.data());
    DataEditWidget* field = commands->dlgProp->Form().deNI;
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, "4*(");
    commands->Item("DataTitle")->trigger();
    QApplication::processEvents();
    EXPECT_FALSE(messages.shown.empty());
    EXPECT_EQ(data().NumIncrements, 50);
    EXPECT_EQ(form->MdiArea()->activeSubWindow(), propWindow);
    EXPECT_EQ(field->text(), "4*(");
    // Corrected, the entry is stored when the dialog is left.
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, "4*(5+5)");
    form->MdiArea()->activateNextSubWindow();
    QApplication::processEvents();
    EXPECT_EQ(data().NumIncrements, 40);

    // New stops at a bad entry, which it shows once; corrected, New replaces the project and closes the
    // dialog.
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, "4*(");
    form->SetModified(false);
    const project::TProgramData* before = &data();
    form->FileNewClick();
    QApplication::processEvents();
    EXPECT_EQ(&data(), before);
    ASSERT_FALSE(commands->dlgProp.isNull());
    field->selectAll();
    QTest::keyClicks(field, "7");
    messages.answers = {platform::MessageService::Answer::No};
    form->FileNewClick();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_NE(&data(), before);
    EXPECT_TRUE(commands->dlgProp.isNull());
}

}  // namespace
}  // namespace velmor::windows
