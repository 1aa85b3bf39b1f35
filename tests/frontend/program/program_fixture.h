#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QString>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <utility>

#include "frontend/project/fill_tables.h"
#include "platform/message_service.h"
#include "platform/settings_service.h"
#include "support/test_support.h"
#include "tables/column_kinds.h"
#include "tables/grid_table_chart.h"
#include "windows/main_commands.h"
#include "windows/main_form.h"
#include "windows/project_file_dialogs.h"
#include "windows/stages/stage_commands.h"

namespace velmor::windows {

// Every row of a table filled as test::fillAll does, and every sub-table of its rows with three rows.
template <class F>
inline void fillTable(components::BasicGridTable<F>& table, int rows) {
    test::fillAll(table, rows);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < table.ColumnCount(); ++c)
            if (dynamic_cast<components::BasicTableColumn<F>*>(table.Columns(c)) != nullptr)
                fillTable(*table.Cell(c, r).AsTable(), 3);
}

// The program as main.cpp puts it together (the main window, its commands and the stage commands) over a
// scratch directory: the real engine library lies in the program's directory; messages, settings and the
// project file dialogs are faked.
class ProgramTest : public ::testing::Test {
  protected:
    ProgramTest() {
        namespace fs = std::filesystem;
        fs::create_directories(programDir);
        fs::copy_file(fs::path(QApplication::applicationDirPath().toStdString()) / "Velmor2013_DLL.so",
                      programDir / "Velmor2013_DLL.so");
        TMainForm::SetProgramDirectory(QString::fromStdString(programDir.string()));
        form = std::make_unique<TMainForm>();
        commands = new TMainCommands(*form);
        stageCommands = new TStageCommands(*commands, *form);
        form->FormShow({});
        form->resize(1200, 800);
        form->show();
    }
    ~ProgramTest() override {
        form->CloseAllChildren();
        form.reset();
        TMainForm::SetProgramDirectory(QString());
    }

    project::TProgramData& data() { return form->Project().Data(); }
    std::string copyExample(const std::string& example, const std::string& name) {
        namespace fs = std::filesystem;
        const fs::path target = dir.path() / name;
        fs::copy_file(fs::path(VELMOR_SOURCE_DIR) / "examples" / example, target, fs::copy_options::overwrite_existing);
        return target.string();
    }
    void openExample(const std::string& example) {
        form->OpenFileName(copyExample(example, example), 0);
        messages.shown.clear();
    }
    // Runs the project through the engine library as the Run command does; the run must succeed.
    void run() {
        messages.shown.clear();
        form->CompRunClick();
        ASSERT_EQ(messages.shown, std::vector<QString>{"Computations are completed. Please, check output file for "
                                                       "results or error messages."});
        ASSERT_TRUE(form->PlotLoaded());
    }
    std::string resultFile(const char* extension) const {
        const std::string input = form->Project().FileName();
        return input.substr(0, input.size() - 5) + extension;
    }
    // Gives a menu's command as a user does: opens the menu, then chooses the item, which must be enabled.
    void menuCommand(const char* menu, const char* item) {
        emit commands->Menu(menu)->aboutToShow();
        EXPECT_TRUE(commands->Item(item)->isEnabled()) << item;
        commands->Item(item)->trigger();
        QApplication::processEvents();
    }
    // Opens a Graphics menu item's graph window and answers the graph.
    project::TGraphPlot& openGraph(const char* item, project::TGraphPlot project::TResultGraphs::*graph) {
        menuCommand("GraphicsMenu", item);
        return form->Graphs().*graph;
    }
    // Every table with an editor of its own, three rows filled, then one layer of each soil type (1 to 7)
    // with the parameter table of that type: `each` gets each open editor with the name of its picture;
    // the windows are closed after it.
    template <class Each>
    void forEachTableEditor(Each each) {
        const auto show = [&](components::TGridTable& table, const QString& name) {
            table.Show();
            QApplication::processEvents();
            if (auto* editor = dynamic_cast<QWidget*>(table.EditorForm())) each(*editor, name);
            else ADD_FAILURE() << "no editor for " << name.toStdString();
            form->CloseAllChildren();
        };
        project::TProjectTables& t = data().Tables();
        const std::pair<components::TGridTable*, const char*> tables[] = {
            {&t.PileSect(), "table_wall_stiffness"},
            {&t.Soillayer(), "table_deflection_and_slope"},
            {&t.SoilStrength(), "table_springs"},
            {&t.PYMod(), "table_py_modification"},
            {&t.DistLoad(), "table_distributed_loads"},
            {&t.BoundCond(), "table_concentrated_loads"},
            {&t.LongDist(), "table_distributed_loads_long_term"},
            {&t.SurchargeTable(), "table_surcharge_loads"},
            {&t.NewSoil(), "table_soil_layers"},
            {&t.LongSoil(), "table_soil_layers_long_term"},
        };
        for (const auto& [table, name] : tables) {
            fillTable(*table, 3);
            show(*table, name);
        }
        const int types = 7;
        fillTable(t.NewSoil(), types);
        for (int type = 1; type <= types; ++type) {
            t.NewSoil().Cell(0, type - 1).SetInteger(type);
            show(*t.NewSoil().Cell(2, type - 1).AsTable(), QString("table_soil_parameters_type_%1").arg(type));
        }
    }
    template <class Dialog>
    Dialog& openDialog(const char* item, QPointer<Dialog>& slot) {
        commands->Item(item)->trigger();
        QApplication::processEvents();
        if (slot.isNull()) throw std::runtime_error(std::string("no dialog from ") + item);
        return *slot;
    }
    // Types into a dialog's field as a user does (the field's own edit signal marks the change).
    static void type(QLineEdit* field, const QString& text) {
        field->setFocus();
        field->selectAll();
        field->insert(text);
    }

    test::ScratchDir dir;
    std::filesystem::path programDir = dir.path() / "bin";
    platform::RecordingMessages messages;
    platform::MemorySettings settings;
    ScriptedProjectDialogs dialogs;
    std::unique_ptr<TMainForm> form;
    TMainCommands* commands = nullptr;
    TStageCommands* stageCommands = nullptr;
};

}  // namespace velmor::windows
