// The program's windows as the user opens them (the screenshots program takes their pictures): the
// drop-down lists of every table editor show their items whole, and the side view opens at a size where
// its labels stand apart.
#include <QComboBox>
#include <QToolButton>

#include "program_fixture.h"
#include "tables/widgets/table_form.h"

namespace velmor::windows {
namespace {

class ProgramWindows : public ProgramTest {
  protected:
    // Every drop-down list over a cell of the open editor of `table` is wide enough for its longest item.
    static void expectWholeDropDowns(components::TGridTable& table, const std::string& name) {
        table.Show();
        QApplication::processEvents();
        auto* editor = dynamic_cast<QWidget*>(table.EditorForm());
        ASSERT_NE(editor, nullptr) << name;
        for (auto* combo : editor->findChildren<QComboBox*>())
            EXPECT_GE(combo->width(), combo->sizeHint().width()) << name;
    }
};

TEST_F(ProgramWindows, EveryTableEditorShowsItsDropDownItemsWhole) {
    openExample("cantilever-sand-english.vm4d");
    project::TProjectTables& t = data().Tables();
    int number = 0;
    for (components::TGridTable* table : {&t.PileSect(), &t.Soillayer(), &t.SoilStrength(), &t.PYMod(),
                                          &t.DistLoad(), &t.BoundCond(), &t.LongDist(), &t.SurchargeTable(),
                                          &t.NewSoil(), &t.LongSoil()}) {
        fillTable(*table, 3);
        expectWholeDropDowns(*table, "table " + std::to_string(++number));
        form->CloseAllChildren();
    }
    // The parameter table of each soil type.
    components::TGridTable& layers = t.NewSoil();
    const int types = 7;
    fillTable(layers, types);
    for (int row = 0; row < types; ++row) {
        layers.Cell(0, row).SetInteger(row + 1);
        expectWholeDropDowns(*layers.Cell(2, row).AsTable(), "soil type " + std::to_string(row + 1));
        form->CloseAllChildren();
    }
}

TEST_F(ProgramWindows, SideViewOpensAtAReadableSize) {
    openExample("three-stages.vm4d");
    form->SpeedButton(16)->click();  // stage 3: the deepest cut
    stageCommands->OpenSideView();
    ASSERT_NE(stageCommands->SideView(), nullptr);
    // As a child window the view opens at a size where its labels stand apart, not at its minimum.
    EXPECT_GE(stageCommands->SideView()->width(), 480);
    EXPECT_GE(stageCommands->SideView()->height(), 480);
    form->CloseAllChildren();
}

}  // namespace
}  // namespace velmor::windows
