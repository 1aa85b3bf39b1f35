// The program's windows as the user opens them (the screenshots program takes their pictures): the
// drop-down lists of every table editor show their items whole, and the side view opens at a size where
// its labels stand apart.
#include <QComboBox>
#include <QMdiArea>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>
#include <algorithm>

#include "program_fixture.h"
#include "tables/widgets/table_chart_form.h"

namespace velmor::windows {
namespace {

class ProgramWindows : public ProgramTest {};

// Every drop-down list over a cell of an editor is wide enough for its longest item.
TEST_F(ProgramWindows, EveryTableEditorShowsItsDropDownItemsWhole) {
    openExample("cantilever-sand-english.vm4d");
    forEachTableEditor([](QWidget& editor, const QString& name) {
        for (auto* combo : editor.findChildren<QComboBox*>())
            EXPECT_GE(combo->width(), combo->sizeHint().width()) << name.toStdString();
    });
}

// In the main window at the size the window system gives it on a 1600 x 1000 screen (two thirds of it),
// a curve of five points opened from its set's button opens showing all five rows, still after the window
// area has fitted it and its size has settled: the chart above the rows gives up height instead.
TEST_F(ProgramWindows, ExternalPyCurveEditorOpensShowingItsRows) {
    form->resize(1066, 666);
    openExample("user-curves-and-pressure-profile.vm4d");
    menuCommand("DataMenu", "DataPYCurves");
    auto* sets = dynamic_cast<components::TTableChartForm*>(data().Tables().PYCurves2().EditorForm());
    ASSERT_NE(sets, nullptr);
    QList<QPushButton*> buttons = sets->grid()->viewport()->findChildren<QPushButton*>();
    ASSERT_FALSE(buttons.isEmpty());
    std::sort(buttons.begin(), buttons.end(), [](auto* a, auto* b) { return a->y() < b->y(); });
    buttons.front()->click();
    components::TGridTableChart& curve = *data().Tables().PYCurves2().Cell(1, 0).AsTable();
    auto* editor = dynamic_cast<components::TTableChartForm*>(curve.EditorForm());
    ASSERT_NE(editor, nullptr);
    QTest::qWait(400);  // the window area fits new children, then a changed size settles after 250 ms
    int top = 0, shown = 0;
    editor->ShownRows(top, shown);
    EXPECT_EQ(shown, 5);  // every point of the curve
    EXPECT_FALSE(editor->grid()->verticalScrollBar()->isVisible());
    EXPECT_LE(editor->parentWidget()->height(), form->MdiArea()->viewport()->height());
}

TEST_F(ProgramWindows, SideViewOpensAtAReadableSize) {
    openExample("three-stages.vm4d");
    form->SpeedButton(TMainForm::kStage3Button)->click();  // stage 3: the deepest cut
    stageCommands->OpenSideView();
    ASSERT_NE(stageCommands->SideView(), nullptr);
    // As a child window the view opens at a size where its labels stand apart, not at its minimum.
    EXPECT_GE(stageCommands->SideView()->width(), 480);
    EXPECT_GE(stageCommands->SideView()->height(), 480);
    form->CloseAllChildren();
}

}  // namespace
}  // namespace velmor::windows
