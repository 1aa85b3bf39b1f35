// What is on the screen is what is saved and run: an entry typed in a table editor or dialog and not left
// reaches the file and the report whatever command follows; every kind of edit makes the program ask
// before the project is replaced; moving through cells and fields without typing changes nothing.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <filesystem>
#include <functional>
#include <vector>

#include "../../components/tables/widgets/editor_fixtures.h"
#include "program_fixture.h"
#include "tables/widgets/cell_widgets.h"
#include "tables/widgets/table_form.h"
#include "ui_dlg_csd.h"
#include "ui_dlg_prop.h"

namespace velmor::windows {
namespace {

using components::TGridTable;
using components::TTableForm;
using Answer = platform::MessageService::Answer;

const QString kSaveQuestion = "Do you want to save any changes?";

// The part of a staged input file or report that belongs to stage 1 (up to the second stage's heading).
std::string firstStage(const std::string& text) {
    return text.substr(0, text.find("Stage No : 2"));
}

// The lambdas of the tables below drive the fixture from outside it.
class TypedEntryTest : public ProgramTest {
  public:
    using ProgramTest::commands;
    using ProgramTest::data;
    using ProgramTest::form;
    using ProgramTest::messages;
    using ProgramTest::openDialog;
    using ProgramTest::type;

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
    TGridTable& soilLayers() { return data().Tables().NewSoil(); }
    TTableForm& openSoilLayers() {
        emit commands->Menu("DataMenu")->aboutToShow();
        commands->Item("DataAxLoads")->trigger();
        return editor(soilLayers());
    }
    TTableForm& openSandParameters() {
        openSoilLayers();
        auto* button = static_cast<QPushButton*>(components::cellWidget(soilLayers().Columns(2)->GetControl(0)));
        button->click();
        return editor(*soilLayers().Columns(2)->AsTable(0));
    }
    std::string saved() { return test::readFile(form->Project().FileName()); }
    std::string report() { return test::readFile(resultFile(".vm4o")); }
};

struct EditRoute {
    const char* name;
    std::function<void(TypedEntryTest&)> edit;
    // Found in stage 1 of the saved file and of the report.
    const char* inFile;
    const char* inReport;
};

// Each command that must take the entry first.
struct Command {
    const char* name;
    std::function<void(TypedEntryTest&)> run;
};

// Each kind of edit, left as the user left it (the cell or field still being edited).
const std::vector<EditRoute>& editRoutes() {
    static const std::vector<EditRoute> routes = {
        {"typed cell not left",
         [](TypedEntryTest& t) {
             TGridTable& section = t.data().Tables().PileSect();
             section.Show();
             TypedEntryTest::typeCell(t.editor(section), 0, 3, "6.5E9");
         },
         "6.5E9", "0.650E+10"},
        {"dialog field not left",
         [](TypedEntryTest& t) {
             TdlgCSD& csd = t.openDialog("DataCSD", t.commands->dlgCSD);
             TypedEntryTest::type(csd.Form().deHL, "14");  // ft
         },
         "168\t12\t12", "FREE HEIGHT OF WALL                                = 168.000 IN"},
        {"drop-down choice",
         [](TypedEntryTest& t) {
             t.openSoilLayers();
             auto* kind = static_cast<QComboBox*>(components::cellWidget(t.soilLayers().Columns(0)->GetControl(0)));
             kind->setFocus();
             const int clay = kind->findText("Soft Clay");
             ASSERT_GE(clay, 0);
             kind->setCurrentIndex(clay);
             emit kind->activated(clay);
         },
         "\n1 720", "THE SOIL IS A SOFT CLAY"},
        {"sub-table from its button",
         [](TypedEntryTest& t) { TypedEntryTest::typeCell(t.openSandParameters(), 0, 1, "36"); }, " 36 0.0  90",
         "36.000"},
        {"row command",
         [](TypedEntryTest& t) {
             TGridTable& section = t.data().Tables().PileSect();
             section.Show();
             t.editor(section).addButton()->click();
             ASSERT_EQ(section.RowCount(), 2);
         },
         "0\t1\t1\t0\r\n", "STIFFNESS AND LOAD DATA      =  2"},
    };
    return routes;
}

TEST_F(TypedEntryTest, EveryEditReachesTheFileAndTheReportWhateverCommandFollows) {
    const Command commandList[] = {
        {"tool-bar Save", [](TypedEntryTest& t) { t.form->SpeedButton(3)->click(); }},
        {"tool-bar Run", [](TypedEntryTest& t) { t.form->SpeedButton(4)->click(); }},
        {"menu Save",
         [](TypedEntryTest& t) {
             emit t.form->FileMenu()->aboutToShow();
             t.commands->Item("FileSave")->trigger();
         }},
        {"Exit answered Yes",
         [](TypedEntryTest& t) {
             t.messages.answers = {Answer::Yes};
             t.commands->Item("FileExit")->trigger();
             EXPECT_EQ(t.messages.asked, std::vector<QString>{kSaveQuestion});
         }},
        {"stage switch",
         [](TypedEntryTest& t) {
             t.form->SpeedButton(15)->click();
             ASSERT_EQ(t.data().CurrentStage, 2);
             t.form->FileSaveClick();
         }},
    };
    for (const EditRoute& route : editRoutes()) {
        for (const Command& command : commandList) {
            SCOPED_TRACE(std::string(route.name) + " + " + command.name);
            openExample("three-stages.vm4d");
            form->show();
            QApplication::processEvents();
            route.edit(*this);
            messages.shown.clear();
            messages.asked.clear();
            command.run(*this);
            EXPECT_NE(firstStage(saved()).find(route.inFile), std::string::npos) << firstStage(saved());
            // The report of this run (the engine stops a soft clay without parameters, after echoing it).
            std::filesystem::remove(resultFile(".vm4o"));
            form->show();
            form->CompRunClick();
            EXPECT_NE(firstStage(report()).find(route.inReport), std::string::npos);
            form->CloseAllChildren();
        }
    }
}

TEST_F(TypedEntryTest, EveryKindOfEditAsksBeforeTheProjectIsReplaced) {
    for (const EditRoute& route : editRoutes()) {
        SCOPED_TRACE(route.name);
        openExample("three-stages.vm4d");
        route.edit(*this);
        messages.answers = {Answer::Cancel};
        form->SpeedButton(1)->click();  // New
        EXPECT_EQ(messages.asked, std::vector<QString>{kSaveQuestion});
        messages.asked.clear();
        form->CloseAllChildren();
    }
}

// A value with more digits than a cell or field shows, moved through without typing, keeps every digit;
// a project only looked at, saved under another name, or run (which saves) is not asked about.
TEST_F(TypedEntryTest, OnlyEditsChangeTheProject) {
    std::string text = test::readFile(copyExample("three-stages.vm4d", "digits.vm4d"));
    const auto replaceFirst = [&text](const std::string& from, const std::string& to) {
        text.replace(text.find(from), from.size(), to);
    };
    replaceFirst("5.34E9", "123456789");
    replaceFirst("34 0.0  90", "1.234567891234 0.0  90");
    replaceFirst("20\t0.001", "20.12345678912\t0.001");
    test::writeFile((dir.path() / "digits.vm4d").string(), text);
    const std::function<void(TypedEntryTest&)> looks[] = {
        [](TypedEntryTest& t) {
            // Through every cell of the wall section and of the sand parameters, by keys and by Enter.
            TGridTable& section = t.data().Tables().PileSect();
            section.Show();
            for (TTableForm* form : {&t.editor(section), &t.openSandParameters()}) {
                form->grid()->setFocus();
                form->grid()->moveCurrent(0, 0);
                for (int k = 0; k < 8; ++k) QTest::keyClick(form->grid(), Qt::Key_Right);
                for (int k = 0; k < 8; ++k) QTest::keyClick(form->grid(), Qt::Key_Return);
                QTest::keyClick(form->grid(), Qt::Key_Down);
                EXPECT_TRUE(form->CommitEdit());
                form->deactivate();
            }
        },
        [](TypedEntryTest& t) {
            TDlgProp& prop = t.openDialog("DataProp", t.commands->dlgProp);
            for (QLineEdit* field : {prop.Form().deNI, prop.Form().deXGS, prop.Form().deXLN, prop.Form().deSlope})
                field->setFocus();
            EXPECT_TRUE(prop.FormDeactivate());
        },
    };
    for (const auto& look : looks) {
        form->OpenFileName((dir.path() / "digits.vm4d").string(), 0);
        messages.shown.clear();
        const auto kept = [this] {
            return std::vector<long double>{data().Tables().PileSect().Cell(3, 0).AsFloat(),
                                            data().Tables().NewSoil().Columns(2)->AsTable(0)->Cell(1, 0).AsFloat(),
                                            data().MaxDeflection};
        };
        const std::vector<long double> before = kept();
        EXPECT_EQ(before, (std::vector<long double>{123456789.0L, 1.234567891234L, 20.12345678912L}));
        look(*this);
        EXPECT_EQ(kept(), before);
        EXPECT_FALSE(form->GetModified());
        EXPECT_TRUE(messages.shown.empty());
        form->CloseAllChildren();
    }

    // Edited, then saved under another name: opening another project does not ask.
    TGridTable& section = data().Tables().PileSect();
    section.Show();
    typeCell(editor(section), 0, 3, "6.5E9");
    dialogs.saveAnswers = {QString::fromStdString((dir.path() / "other.vm4d").string())};
    ASSERT_TRUE(form->FileSaveAsClick());
    emit form->FileMenu()->aboutToShow();
    dialogs.openAnswers = {{QString::fromStdString((dir.path() / "digits.vm4d").string()), 1}};
    form->FileOpenClick();
    EXPECT_TRUE(messages.asked.empty());

    // Edited, then run: Exit does not ask.
    data().Tables().PileSect().Show();
    typeCell(editor(data().Tables().PileSect()), 0, 3, "6.5E9");
    form->SpeedButton(4)->click();
    messages.asked.clear();
    form->close();
    EXPECT_TRUE(messages.asked.empty());
    EXPECT_FALSE(form->isVisible());
}

// An entry the field refuses stops every command once: its message is shown once, nothing is saved, run,
// switched or closed, and the field still holds what was typed.
TEST_F(TypedEntryTest, RefusedEntryShowsItsMessageOnceAndStopsTheCommand) {
    struct Stopped {
        const char* name;
        std::function<void(TypedEntryTest&)> run;
        std::size_t messagesShown = 1;
    };
    const Stopped stopped[] = {
        {"tool-bar Save", [](TypedEntryTest& t) { t.form->SpeedButton(3)->click(); }},
        {"tool-bar Run", [](TypedEntryTest& t) { t.form->SpeedButton(4)->click(); }},
        {"tool-bar New", [](TypedEntryTest& t) { t.form->SpeedButton(1)->click(); }},
        {"Exit", [](TypedEntryTest& t) { t.form->close(); }},
        {"stage switch", [](TypedEntryTest& t) { t.form->SpeedButton(16)->click(); }},
        {"units", [](TypedEntryTest& t) { t.commands->Item("SIUnits")->trigger(); }},
        {"File menu",
         [](TypedEntryTest& t) {
             // The menu closes again on opening; its items are not reached.
             emit t.form->FileMenu()->aboutToShow();
         }},
        {"File menu from the keyboard",
         [](TypedEntryTest& t) {
             QTest::keyClick(t.commands->dlgCSD->Form().deHL, Qt::Key_F, Qt::AltModifier);
             QApplication::processEvents();
             EXPECT_FALSE(t.form->FileMenu()->isVisible());
         }},
        {"another program takes the activation",
         [](TypedEntryTest& t) {
             QEvent deactivate(QEvent::WindowDeactivate);
             QApplication::sendEvent(t.commands->dlgCSD, &deactivate);
         },
         0},
    };
    for (const Stopped& command : stopped) {
        SCOPED_TRACE(command.name);
        openExample("three-stages.vm4d");
        const std::string before = saved();
        TdlgCSD& csd = openDialog("DataCSD", commands->dlgCSD);
        type(csd.Form().deHL, "abc");
        messages.shown.clear();
        messages.answers = {Answer::Yes};
        command.run(*this);
        QApplication::processEvents();
        EXPECT_EQ(messages.shown.size(), command.messagesShown);
        EXPECT_TRUE(messages.asked.empty());
        EXPECT_EQ(saved(), before);
        EXPECT_TRUE(form->isVisible());
        EXPECT_EQ(data().CurrentStage, 1);
        EXPECT_EQ(data().Units, 1);
        ASSERT_FALSE(commands->dlgCSD.isNull());
        EXPECT_EQ(csd.Form().deHL->text(), "abc");
        type(csd.Form().deHL, "6");
        form->CloseAllChildren();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

// After a menu reached from the keyboard stopped on a refused entry, the keys go back to that entry: what
// the user types next corrects it, and the correction is what is saved.
TEST_F(TypedEntryTest, KeysReturnToTheRefusedEntryAfterAMenuFromTheKeyboard) {
    const struct {
        const char* name;
        std::function<QWidget*(TypedEntryTest&)> refuse;  // types a refused entry, gives the window holding it
        const char* inFile;
    } cases[] = {
        {"layer bottom cell",
         [](TypedEntryTest& t) -> QWidget* {
             TTableForm& layers = t.openSoilLayers();
             TypedEntryTest::typeCell(layers, 0, 1, "-5");
             return &layers;
         },
         "\n1\r\n4 420"},
        {"dialog field",
         [](TypedEntryTest& t) -> QWidget* {
             TdlgCSD& csd = t.openDialog("DataCSD", t.commands->dlgCSD);
             TypedEntryTest::type(csd.Form().deHL, "abc");
             return &csd;
         },
         "\n420\t12\t12"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitFor([this] { return QApplication::activeWindow() == form.get(); }));
        openExample("cantilever-sand-english.vm4d");
        QWidget* window = c.refuse(*this);
        ASSERT_TRUE(window->isAncestorOf(QApplication::focusWidget()));
        messages.shown.clear();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F, Qt::AltModifier);
        QApplication::processEvents();
        EXPECT_EQ(messages.shown.size(), 1u);
        EXPECT_FALSE(form->FileMenu()->isVisible());
        // Where the keys go when the window system gives the activation back to the main window.
        QWidget* focus = form->focusWidget();
        ASSERT_NE(focus, nullptr);
        EXPECT_TRUE(window->isAncestorOf(focus)) << focus->metaObject()->className();
        QTest::keyClick(focus, Qt::Key_A, Qt::ControlModifier);
        for (char key : {'3', '5'}) QTest::keyClick(form->focusWidget(), key);
        form->SpeedButton(3)->click();
        QApplication::processEvents();
        EXPECT_NE(saved().find(c.inFile), std::string::npos) << saved();
        form->CloseAllChildren();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

// An open dialog shows the stage being edited: after each way of changing the stage its fields hold that
// stage's values (three-stages.vm4d: free heights 6, 12 and 16 ft), and a save keeps every stage as it was.
TEST_F(TypedEntryTest, OpenDialogsShowTheStageSwitchedTo) {
    const struct {
        const char* name;
        std::function<void(TypedEntryTest&)> change;
        const char* freeHeight;
        bool savedAsBefore = true;
    } cases[] = {
        {"stage 3 by its tool button", [](TypedEntryTest& t) { t.form->SpeedButton(16)->click(); }, "16"},
        {"stage 2 from the menu", [](TypedEntryTest& t) { t.commands->Item("Stage2Menu")->trigger(); }, "12"},
        {"stage 1 copied into stage 2",
         [](TypedEntryTest& t) {
             t.commands->Item("Stage2Menu")->trigger();
             t.messages.answers = {Answer::Yes};
             t.commands->Item("CopyPreviousStage")->trigger();
         },
         "6", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        openExample("three-stages.vm4d");
        const std::string before = saved();
        TDlgProp& prop = openDialog("DataProp", commands->dlgProp);
        ASSERT_EQ(prop.Form().DeFH->text(), "6");
        c.change(*this);
        QApplication::processEvents();
        EXPECT_EQ(prop.Form().DeFH->text().toStdString(), c.freeHeight);
        EXPECT_EQ(prop.Form().deNI->text(), "80");
        form->SpeedButton(3)->click();
        if (c.savedAsBefore) {
            EXPECT_EQ(saved(), before);
        }
        form->CloseAllChildren();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

}  // namespace
}  // namespace velmor::windows
