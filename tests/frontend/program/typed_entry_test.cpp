// What is on the screen is what is saved and run: an entry typed in a table editor or dialog and not left
// reaches the file and the report whatever command follows; every kind of edit makes the program ask
// before the project is dropped (New and Exit share the question); moving through cells and fields without
// typing changes nothing.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <filesystem>
#include <functional>
#include <tuple>
#include <vector>

#include "../../components/graphs/widgets/modal_dialog.h"
#include "../../components/tables/widgets/editor_fixtures.h"
#include "program_fixture.h"
#include "project/stage_files.h"
#include "tables/widgets/cell_widgets.h"
#include "tables/widgets/table_form.h"
#include "ui_dlg_csd.h"
#include "ui_dlg_prop.h"
#include "ui_dlg_staged.h"

namespace velmor::windows {
namespace {

using components::TGridTable;
using components::TTableForm;
using Answer = platform::MessageService::Answer;
using Step = std::function<void()>;

class TypedEntryTest : public ProgramTest {
  protected:
    TTableForm& editor(TGridTable& table) {
        QApplication::processEvents();
        auto* form = dynamic_cast<TTableForm*>(table.EditorForm());
        if (form == nullptr) throw std::runtime_error("no editor open for " + table.Caption());
        return *form;
    }
    // Types into a cell of an open editor without leaving it.
    static void typeCell(TTableForm& form, int row, int column, const QString& text) {
        form.grid()->setFocus();
        form.grid()->moveCurrent(row, column);
        components::testing::typeIntoCurrentCell(form, text);
    }
    TGridTable& section() { return data().Tables().PileSect(); }
    TTableForm& openSection() { return section().Show(), editor(section()); }
    TGridTable& layers() { return data().Tables().NewSoil(); }
    TTableForm& openLayers() {
        emit commands->Menu("DataMenu")->aboutToShow();
        commands->Item("DataAxLoads")->trigger();
        return editor(layers());
    }
    template <class Widget>
    Widget* layerControl(int column) {
        return static_cast<Widget*>(components::cellWidget(layers().Columns(column)->GetControl(0)));
    }
    TTableForm& openSandParameters() {
        openLayers();
        layerControl<QPushButton>(2)->click();
        return editor(*layers().Columns(2)->AsTable(0));
    }
    QLineEdit* freeHeightField() { return openDialog("DataCSD", commands->dlgCSD).Form().deHL; }
    QLineEdit* incrementField() { return openDialog("DataProp", commands->dlgProp).Form().deXGS; }
    // The part of the saved file and of the last report that belongs to stage 1.
    std::string saved() { return firstStage(test::readFile(form->Project().FileName())); }
    std::string report() { return firstStage(test::readFile(resultFile(".vm4o"))); }
    static std::string firstStage(const std::string& text) { return text.substr(0, text.find("Stage No : 2")); }
    std::string stageFile(int stage) { return project::StageFileName(form->Project().FileName(), stage); }
    void closeAll() {
        form->CloseAllChildren();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

TEST_F(TypedEntryTest, EveryEditReachesTheFileAndTheReportWhateverCommandFollows) {
    // Each edit is left as the user left it (the cell or field still being edited), with what it puts in
    // stage 1 of the saved file and of the report.
    const std::tuple<Step, const char*, const char*> edits[] = {
        {[this] { typeCell(openSection(), 0, 3, "6.5E9"); }, "6.5E9", "0.650E+10"},
        {[this] { type(freeHeightField(), "14"); }, "168\t12\t12",
         "FREE HEIGHT OF WALL                                = 168.000 IN"},
        {[this] {
             openLayers();
             auto* kind = layerControl<QComboBox>(0);
             kind->setFocus();
             kind->setCurrentIndex(kind->findText("Soft Clay"));
             emit kind->activated(kind->currentIndex());
         },
         "\n1 720", "THE SOIL IS A SOFT CLAY"},
        {[this] { typeCell(openSandParameters(), 0, 1, "36"); }, " 36 0.0  90", "36.000"},
        {[this] { openSection().addButton()->click(); }, "0\t1\t1\t0\r\n", "STIFFNESS AND LOAD DATA      =  2"},
    };
    const std::pair<const char*, Step> commandList[] = {
        {"tool-bar Save", [this] { form->SpeedButton(TMainForm::kSaveButton)->click(); }},
        {"tool-bar Run", [this] { form->SpeedButton(TMainForm::kRunButton)->click(); }},
        {"menu Save", [this] { emit form->FileMenu()->aboutToShow(), commands->Item("FileSave")->trigger(); }},
        {"Save As another name",
         [this] {
             dialogs.saveAnswers = {QString::fromStdString((dir.path() / "other.vm4d").string())};
             ASSERT_TRUE(form->FileSaveAsClick());
         }},
        {"Exit answered Yes",
         [this] {
             messages.answers = {Answer::Yes};
             commands->Item("FileExit")->trigger();
             EXPECT_EQ(messages.asked, std::vector<QString>{"Do you want to save any changes?"});
         }},
        {"stage switch",
         [this] {
             form->SpeedButton(TMainForm::kStage2Button)->click();
             ASSERT_EQ(data().CurrentStage, 2);
             form->FileSaveClick();
         }},
    };
    for (const auto& [edit, inFile, inReport] : edits)
        for (const auto& [name, command] : commandList) {
            SCOPED_TRACE(std::string(inFile) + " + " + name);
            openExample("three-stages.vm4d");
            form->show();
            QApplication::processEvents();
            edit();
            messages.asked.clear();
            command();
            EXPECT_NE(saved().find(inFile), std::string::npos) << saved();
            EXPECT_FALSE(form->GetModified());  // nothing left to ask about before the project is dropped
            // The report of this run (the engine stops a soft clay without parameters, after echoing it).
            std::filesystem::remove(resultFile(".vm4o"));
            form->show();
            form->CompRunClick();
            EXPECT_NE(report().find(inReport), std::string::npos);
            form->CloseAllChildren();
        }
}

// A value with more digits than a cell or field shows, moved through without typing, keeps every digit, and
// a project only looked at is not asked about.
TEST_F(TypedEntryTest, OnlyEditsChangeTheProject) {
    const std::string digits = copyExample("three-stages.vm4d", "digits.vm4d");
    std::string text = test::readFile(digits);
    for (const auto& [from, to] : {std::pair<std::string, std::string>{"5.34E9", "123456789"},
                                   {"34 0.0  90", "1.234567891234 0.0  90"},
                                   {"20\t0.001", "20.12345678912\t0.001"}})
        text.replace(text.find(from), from.size(), to);
    test::writeFile(digits, text);
    const Step looks[] = {
        [this] {  // through every cell of the wall section and of the sand parameters, by keys and by Enter
            for (TTableForm* form : {&openSection(), &openSandParameters()}) {
                form->grid()->setFocus();
                form->grid()->moveCurrent(0, 0);
                for (Qt::Key key : {Qt::Key_Right, Qt::Key_Return})
                    for (int k = 0; k < 8; ++k) QTest::keyClick(form->grid(), key);
                QTest::keyClick(form->grid(), Qt::Key_Down);
                EXPECT_TRUE(form->CommitEdit());
                form->deactivate();
            }
        },
        [this] {
            TDlgProp& prop = openDialog("DataProp", commands->dlgProp);
            for (QLineEdit* field : {prop.Form().deNI, prop.Form().deXGS, prop.Form().deXLN, prop.Form().deSlope})
                field->setFocus();
            EXPECT_TRUE(prop.FormDeactivate());
        },
    };
    for (const Step& look : looks) {
        form->OpenFileName(digits, 0);
        messages.shown.clear();
        look();
        EXPECT_EQ(
            (std::vector<long double>{section().Cell(3, 0).AsFloat(),
                                      layers().Columns(2)->AsTable(0)->Cell(1, 0).AsFloat(), data().MaxDeflection}),
            (std::vector<long double>{123456789.0L, 1.234567891234L, 20.12345678912L}));
        EXPECT_FALSE(form->GetModified());
        EXPECT_TRUE(messages.shown.empty());
        form->CloseAllChildren();
    }
}

// An entry refused where it is typed (a dialog field, a layer or soil parameter cell) stops every command once: its
// message is shown once, nothing is saved, run, switched or closed, the entry is kept as typed and the keys
// go back to it: what the user types next corrects it, and the correction is what is saved.
TEST_F(TypedEntryTest, RefusedEntryShowsItsMessageOnceAndStopsTheCommand) {
    const struct {
        const char* entry;
        std::function<QWidget*()> refuse;  // types the entry and gives the window holding it
        std::function<QString()> shown;
        const char* corrected;  // in the file after 35 is typed over the entry
        const char* message;
    } refusals[] = {
        {"abc", [this]() -> QWidget* { return type(freeHeightField(), "abc"), commands->dlgCSD; },
         [this] { return commands->dlgCSD->Form().deHL->text(); }, "\n420\t12\t12",
         "Entry could not be evaluated:\rinvalid character(s) in expression"},
        {"-5", [this]() -> QWidget* { return typeCell(openLayers(), 0, 1, "-5"), &editor(layers()); },
         [this] { return editor(layers()).grid()->currentText(); }, "\n1\r\n4 420", "Entry must be greater than 0."},
        // Values the analysis cannot read, and an arithmetic fault in a cell.
        {"1e999", [this]() -> QWidget* { return type(incrementField(), "1e999"), commands->dlgProp; },
         [this] { return commands->dlgProp->Form().deXGS->text(); }, "\n80 35\t20", "Floating point overflow"},
        {"1e999", [this]() -> QWidget* { return typeCell(openLayers(), 0, 1, "1e999"), &editor(layers()); },
         [this] { return editor(layers()).grid()->currentText(); }, "\n1\r\n4 420", "Floating point overflow"},
        {"1/0", [this]() -> QWidget* { return typeCell(openLayers(), 0, 1, "1/0"), &editor(layers()); },
         [this] { return editor(layers()).grid()->currentText(); }, "\n1\r\n4 420", "Floating point division by zero"},
        // Values the analysis cannot read once stored: feet written as inches (x 12), a unit weight per cubic
        // foot written per cubic inch (/ 1728, below the smallest normal double).
        {"1.7e308",
         [this]() -> QWidget* {
             return type(openDialog("DataProp", commands->dlgProp).Form().DeFH, "1.7e308"), commands->dlgProp;
         },
         [this] { return commands->dlgProp->Form().DeFH->text(); }, "\t0.001\t420", "Floating point overflow"},
        {"1.7e308", [this]() -> QWidget* { return typeCell(openLayers(), 0, 1, "1.7e308"), &editor(layers()); },
         [this] { return editor(layers()).grid()->currentText(); }, "\n1\r\n4 420", "Floating point overflow"},
        {"3e-308",
         [this]() -> QWidget* {
             return typeCell(openSandParameters(), 0, 0, "3e-308"), &editor(*layers().Columns(2)->AsTable(0));
         },
         [this] { return editor(*layers().Columns(2)->AsTable(0)).grid()->currentText(); }, "\n0.02025463 0.0  34",
         "Floating point underflow"},
    };
    const std::tuple<const char*, std::function<void(QWidget*)>, std::size_t> stopped[] = {
        {"tool-bar Save", [this](QWidget*) { form->SpeedButton(TMainForm::kSaveButton)->click(); }, 1},
        {"tool-bar Run", [this](QWidget*) { form->SpeedButton(TMainForm::kRunButton)->click(); }, 1},
        {"tool-bar New", [this](QWidget*) { form->SpeedButton(TMainForm::kNewButton)->click(); }, 1},
        {"Exit", [this](QWidget*) { form->close(); }, 1},
        {"stage switch", [this](QWidget*) { form->SpeedButton(TMainForm::kStage3Button)->click(); }, 1},
        {"units", [this](QWidget*) { commands->Item("SIUnits")->trigger(); }, 1},
        {"tool-bar soil profile", [this](QWidget*) { form->SpeedButton(TMainForm::kSoilProfileButton)->click(); }, 1},
        {"tool-bar stage options", [this](QWidget*) { form->SpeedButton(TMainForm::kStageOptionsButton)->click(); }, 1},
        {"File menu (it closes again on opening)", [this](QWidget*) { emit form->FileMenu()->aboutToShow(); }, 1},
        {"File menu from the keyboard",
         [](QWidget*) { QTest::keyClick(QApplication::focusWidget(), Qt::Key_F, Qt::AltModifier); }, 1},
        {"another program takes the activation",
         [](QWidget* window) {
             QEvent deactivate(QEvent::WindowDeactivate);
             QApplication::sendEvent(window, &deactivate);
         },
         0},
    };
    for (const auto& [entry, refuse, shown, corrected, message] : refusals)
        for (const auto& [name, command, messagesShown] : stopped) {
            SCOPED_TRACE(std::string(entry) + " + " + name);
            form->activateWindow();
            ASSERT_TRUE(QTest::qWaitFor([this] { return QApplication::activeWindow() == form.get(); }));
            openExample("three-stages.vm4d");
            const std::string before = saved();
            QPointer<QWidget> window = refuse();
            ASSERT_TRUE(window->isAncestorOf(QApplication::focusWidget()));
            messages.shown.clear();
            messages.answers = {Answer::Yes};
            command(window);
            QApplication::processEvents();
            EXPECT_EQ(messages.shown, std::vector<QString>(messagesShown, message));
            EXPECT_TRUE(messages.asked.empty());
            EXPECT_EQ(saved(), before);
            EXPECT_TRUE(form->isVisible());
            EXPECT_FALSE(form->FileMenu()->isVisible());
            EXPECT_EQ(std::make_pair(data().CurrentStage, data().Units), std::make_pair(1, 1));
            EXPECT_TRUE(stageCommands->SideView() == nullptr && stageCommands->StagedDialog() == nullptr);
            ASSERT_FALSE(window.isNull());
            EXPECT_EQ(shown(), entry);
            QWidget* focus = form->focusWidget();
            ASSERT_TRUE(focus != nullptr && window->isAncestorOf(focus));
            QTest::keyClick(focus, Qt::Key_A, Qt::ControlModifier);
            for (char key : {'3', '5'}) QTest::keyClick(form->focusWidget(), key);
            form->SpeedButton(TMainForm::kSaveButton)->click();
            EXPECT_NE(saved().find(corrected), std::string::npos) << saved();
            closeAll();
        }
}

// An open dialog shows the project's data as it stands: after each way of changing the stage, and after a value
// typed into another open dialog, its field holds that stage's value (three-stages.vm4d: free heights 6, 12
// and 16 ft); a save after a mere switch keeps every stage as it was.
TEST_F(TypedEntryTest, OpenDialogsShowTheStageSwitchedTo) {
    const auto wallProperties = [this] { return commands->dlgProp->Form().DeFH; };
    const auto wallConfiguration = [this] { return commands->dlgCSD->Form().deHL; };
    const struct Case {
        const char* freeHeight;
        Step change;
        std::function<QLineEdit*()> field;
        bool edits;  // the change is an edit, which the save writes
    } cases[] = {
        {"16", [this] { form->SpeedButton(TMainForm::kStage3Button)->click(); }, wallProperties, false},
        {"12", [this] { commands->Item("Stage2Menu")->trigger(); }, wallProperties, false},
        {"6",  // stage 1 copied into stage 2
         [this] {
             commands->Item("Stage2Menu")->trigger();
             messages.answers = {Answer::Yes};
             commands->Item("CopyPreviousStage")->trigger();
         },
         wallProperties, true},
        {"6",  // three stages lowered to two while stage 2 is edited: stage 1 is edited
         [this] {
             form->SpeedButton(TMainForm::kStage2Button)->click();
             test::whenShown<TDlgStaged>([](TDlgStaged& d) {
                 d.Form().udStageDown->click();
                 d.Form().btnOK->click();
             });
             menuCommand("OptionsMenu", "OptionsStaged");
         },
         wallProperties, true},
        {"22",  // typed into Wall Properties after a stage copy, then Wall Configuration clicked into
         [&] {
             form->SpeedButton(TMainForm::kStage2Button)->click();
             openDialog("DataCSD", commands->dlgCSD);
             data().Tables().SoilStrength().Show();
             form->SpeedButton(TMainForm::kStage3Button)->click();
             messages.answers = {Answer::Yes};
             menuCommand("StageMenu", "CopyPreviousStage");
             form->activateWindow();
             ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
             QTest::mouseClick(wallProperties(), Qt::LeftButton);
             type(wallProperties(), "22");
             QTest::keyClick(wallProperties(), Qt::Key_Tab);
             QTest::mouseClick(wallConfiguration(), Qt::LeftButton);
         },
         wallConfiguration, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.freeHeight);
        openExample("three-stages.vm4d");
        const std::string before = test::readFile(form->Project().FileName());
        TDlgProp& prop = openDialog("DataProp", commands->dlgProp);
        ASSERT_EQ(prop.Form().DeFH->text(), "6");
        c.change();
        QApplication::processEvents();
        EXPECT_EQ(c.field()->text().toStdString(), c.freeHeight);
        EXPECT_EQ(prop.Form().deNI->text(), "80");
        form->SpeedButton(TMainForm::kSaveButton)->click();
        EXPECT_TRUE(c.edits || test::readFile(form->Project().FileName()) == before);
        closeAll();
    }
}

// An entry typed into a table editor and not left stays in its stage, and the editor shows the stage switched
// to: stage 2 of three-stages.vm4d has springs and (added) a p-y curve set, stage 1 neither.
TEST_F(TypedEntryTest, EntryStaysInItsStageAndEditorsShowTheStageSwitchedTo) {
    const std::function<void(int)> switches[] = {
        [this](int stage) { form->SpeedButton(TMainForm::StageButton(stage))->click(); },
        [this](int stage) { menuCommand("StageMenu", ("Stage" + std::to_string(stage) + "Menu").c_str()); }};
    for (const auto& switchTo : switches)
        for (const bool springs : {true, false}) {
            const std::string typed = springs ? "15777" : "7.25";
            openExample("three-stages.vm4d");
            switchTo(2);
            data().UseExternalPYCurves = true;
            data().Tables().PYCurves2().SetRowCount(1);
            springs ? data().Tables().SoilStrength().Show() : data().Tables().PYCurves2().Show();
            auto* cells = form->MdiArea()->activeSubWindow()->widget()->findChild<components::TableGrid*>();
            cells->setFocus();
            cells->moveCurrent(0, springs ? 3 : 2);  // stiffness, p-multiplier
            cells->cellEditor()->setText(QString::fromStdString(typed));
            switchTo(1);
            EXPECT_NE(test::readFile(stageFile(2)).find("\t" + typed + "\t"), std::string::npos);
            EXPECT_EQ(cells->cellEditor(), nullptr);
            EXPECT_EQ(cells->rowCount() == 1 && cells->item(0, 3)->text() == "0", springs);  // a row of defaults
            data().UseSprings = data().UseExternalPYCurves = true;  // stage 1 written with both tables
            closeAll();
            switchTo(2);
            EXPECT_EQ(test::readFile(stageFile(1)).find(typed), std::string::npos);
        }
}

}  // namespace
}  // namespace velmor::windows
