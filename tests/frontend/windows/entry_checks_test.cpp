// Entries the engine would refuse are questioned where they are typed, in the main window's child windows.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>

#include "engine_run_support.h"
#include "fields/widgets/data_edit_widget.h"
#include "tables/widgets/table_form.h"
#include "ui_dlg_prop.h"
#include "windows/input_dialogs.h"
#include "windows/main_commands.h"
#include "windows/project_file_dialogs.h"

namespace velmor::windows {
namespace {

TEST(EntryChecks, IncrementLengthAndLayerBottomsTheEngineRefusesAreQuestionedWhereTyped) {
    // The example has one sand layer down to 40 ft; a second layer down to 60 ft is added.
    EngineRunSetup run("cantilever-sand-english.vm4d");
    ScriptedProjectDialogs dialogs;
    TMainForm form;
    auto* commands = new TMainCommands(form);
    form.FormShow({});
    form.OpenFileName(run.project.toStdString(), 0);
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    project::TProgramData& data = form.Project().Data();
    components::TGridTable& layers = data.Tables().NewSoil();
    layers.AddRowGroup();
    layers.Cell(project::kLayerBottomColumn, 1).SetFloat(60);

    const struct {
        int row;  // of the soil-layer table; -1 for Wall Properties' increment length
        const char* entry;
        const char* message;  // empty when the entry is taken
        components::Extended stored;
    } cases[] = {
        {-1, "-6", "Entry must be greater than 0", 6},
        {-1, "0", "Entry must be greater than 0", 6},
        {-1, "2.5", "", 2.5},
        {0, "-10", "Entry must be greater than 0.", 40},
        {0, "0", "Entry must be greater than 0.", 40},
        {1, "40", "Entry must be greater than 40, the bottom of the layer above.", 60},
        {1, "30", "Entry must be greater than 40, the bottom of the layer above.", 60},
        {1, "45", "", 45},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.row) + ": " + c.entry);
        const bool taken = *c.message == '\0';
        run.messages.shown.clear();
        QWidget* kept = nullptr;  // where the focus must stay after a refusal
        if (c.row < 0) {
            commands->Item("DataProp")->trigger();
            auto* dialog = form.findChild<TDlgProp*>();
            ASSERT_NE(dialog, nullptr);
            components::DataEditWidget* field = dialog->Form().deXGS;
            field->setFocus();
            field->selectAll();
            QTest::keyClicks(field, c.entry);
            QTest::keyClick(field, Qt::Key_Return);
            kept = field;
            EXPECT_EQ(dialog->FormDeactivate(), taken);
            EXPECT_EQ(data.IncrementLength, c.stored);
        } else {
            layers.Show();
            components::TableGrid* grid =
                dynamic_cast<components::TTableForm&>(*form.MdiArea()->activeSubWindow()->widget()).grid();
            grid->moveCurrent(c.row, project::kLayerBottomColumn);
            if (grid->cellEditor() == nullptr) grid->editItem(grid->currentItem());
            ASSERT_NE(grid->cellEditor(), nullptr);
            grid->cellEditor()->setText(c.entry);
            const QModelIndex other = grid->model()->index(1 - c.row, project::kLayerBottomColumn);
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(other).center());
            EXPECT_EQ(grid->currentRow(), taken ? 1 - c.row : c.row);
            EXPECT_EQ(layers.Cell(project::kLayerBottomColumn, c.row).AsFloat(), c.stored);
            kept = grid;
        }
        EXPECT_EQ(run.messages.shown.empty() ? "" : run.messages.shown.front().toStdString(), c.message);
        EXPECT_TRUE(taken || kept->isAncestorOf(QApplication::focusWidget()) || QApplication::focusWidget() == kept);
    }
    form.CloseAllChildren();
}

}  // namespace
}  // namespace velmor::windows
