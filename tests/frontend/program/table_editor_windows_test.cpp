// The program's windows as the user opens them (the pictures of the same windows are taken by the
// screenshots program): the drop-down lists of every table editor show their items whole, and the side
// view opens at a size where its labels stand apart.
#include <QComboBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QToolButton>

#include "program_fixture.h"
#include "tables/widgets/table_chart_form.h"
#include "tables/widgets/table_form.h"

namespace velmor::windows {
namespace {

// The child window that holds `window` is open and laid out.
void shoot(QWidget* window, const QString& name) {
    ASSERT_NE(window, nullptr) << name.toStdString();
    QApplication::processEvents();
}

QWidget* editorOf(components::TGridTable& table) {
    return dynamic_cast<QWidget*>(table.EditorForm());
}
QWidget* editorOf(components::TGridTableChart& table) {
    return dynamic_cast<QWidget*>(table.EditorForm());
}

class ProgramWindows : public ProgramTest {};

TEST_F(ProgramWindows, EveryTableEditorWithItsRowsFilled) {
    openExample("cantilever-sand-english.vm4d");
    project::TProjectTables& t = data().Tables();
    const struct {
        components::TGridTable* table;
        const char* name;
    } tables[] = {
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
    for (const auto& entry : tables) {
        fillTable(*entry.table, 3);
        entry.table->Show();
        shoot(editorOf(*entry.table), entry.name);
        // Every drop-down list over a cell is wide enough for its longest item.
        for (auto* combo : editorOf(*entry.table)->findChildren<QComboBox*>())
            EXPECT_GE(combo->width(), combo->sizeHint().width()) << entry.name;
        form->CloseAllChildren();
    }
    // One layer of each soil type, with the editor of its parameters.
    components::TGridTable& layers = t.NewSoil();
    const int types = 7;
    fillTable(layers, types);
    for (int row = 0; row < types; ++row) {
        layers.Cell(0, row).SetInteger(row + 1);
        layers.Cell(2, row).AsTable()->Show();
        shoot(editorOf(*layers.Cell(2, row).AsTable()), QString("table_soil_parameters_type_%1").arg(row + 1));
        form->CloseAllChildren();
    }
    for (components::TGridTableChart* chart : {&t.PYCurves2(), &t.MEICurves2()}) {
        fillTable(*chart, 3);
        chart->Show();
        const QString name = chart == &t.PYCurves2() ? "chart_py_curve_sets" : "chart_moment_ei_curve_sets";
        shoot(editorOf(*chart), name);
        form->CloseAllChildren();
    }
    components::TGridTableChart& curve = *t.PYCurves2().Cell(1, 0).AsTable();
    fillTable(curve, 8);
    curve.Show();
    shoot(editorOf(curve), "chart_py_curve");
    form->CloseAllChildren();
}

TEST_F(ProgramWindows, StageDialogAndSideViewOfTheStagedExample) {
    openExample("three-stages.vm4d");
    stageCommands->OpenStagedOptions();
    shoot(stageCommands->StagedDialog(), "stage_dialog");
    form->CloseAllChildren();
    form->SpeedButton(16)->click();  // stage 3: the deepest cut
    stageCommands->OpenSideView();
    shoot(stageCommands->SideView(), "side_view_stage_3");
    // As a child window the view opens at a size where its labels stand apart, not at its minimum.
    EXPECT_GE(stageCommands->SideView()->width(), 480);
    EXPECT_GE(stageCommands->SideView()->height(), 480);
    form->CloseAllChildren();
}

}  // namespace
}  // namespace velmor::windows
