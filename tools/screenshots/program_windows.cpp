// Pictures of the program's windows as the user opens them: every table editor of a project with its rows
// filled (the soil-parameter sub-table of each soil type, a curve of each chart table), the stage dialog
// and the side view of the staged example.
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <QToolButton>

#include "program_fixture.h"
#include "screenshots/shots.h"
#include "tables/widgets/table_chart_form.h"
#include "tables/widgets/table_form.h"

namespace velmor::windows {
namespace {

QString screenshot(const QString& name) {
    return shots::Path(name + ".png");
}

// The picture of the child window that holds `window`, frame and caption included.
void shoot(QWidget* window, const QString& name) {
    ASSERT_NE(window, nullptr) << name.toStdString();
    QApplication::processEvents();
    QWidget* frame = qobject_cast<QMdiSubWindow*>(window->parentWidget()) ? window->parentWidget() : window;
    EXPECT_TRUE(frame->grab().save(screenshot(name))) << name.toStdString();
}

QWidget* editorOf(components::TGridTableChart& table) {
    return dynamic_cast<QWidget*>(table.EditorForm());
}

class ProgramPictures : public ProgramTest {};

TEST_F(ProgramPictures, EveryTableEditorWithItsRowsFilled) {
    openExample("cantilever-sand-english.vm4d");
    forEachTableEditor([](QWidget& editor, const QString& name) { shoot(&editor, name); });
    project::TProjectTables& t = data().Tables();
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

// A curve of user p-y points in the main window at the size the window system gives it on a 1600 x 1000
// screen: the editor fits the window area and shows every row.
TEST_F(ProgramPictures, ExternalPyCurveAtTheDefaultSize) {
    form->resize(1066, 666);
    openExample("user-curves-and-pressure-profile.vm4d");
    data().Tables().PYCurves2().Cell(1, 0).AsTable()->Show();
    QTest::qWait(400);  // fitted by the window area, size settled
    EXPECT_TRUE(form->grab().save(screenshot("main_window_default_size_py_curve")));
    form->CloseAllChildren();
}

TEST_F(ProgramPictures, StageDialogAndSideViewOfTheStagedExample) {
    openExample("three-stages.vm4d");
    stageCommands->OpenStagedOptions();
    shoot(stageCommands->StagedDialog(), "stage_dialog");
    form->CloseAllChildren();
    form->SpeedButton(TMainForm::kStage3Button)->click();  // stage 3: the deepest cut
    stageCommands->OpenSideView();
    shoot(stageCommands->SideView(), "side_view_stage_3");
    form->CloseAllChildren();
}

// The side view of examples with a sloping backfill, an anchor, rock under silt and three stages, each in
// the main window beside the project's tables.
TEST_F(ProgramPictures, SideViewsOfTheExamples) {
    for (const char* example : {"stiff-clay-sloping-backfill.vm4d", "anchored-soft-clay.vm4d",
                                "rock-socket-under-silt.vm4d", "three-stages.vm4d"}) {
        openExample(example);
        if (data().StageCount > 1) form->SpeedButton(TMainForm::kStage3Button)->click();  // the deepest cut
        stageCommands->OpenSideView();
        QWidget* frame = stageCommands->SideView()->parentWidget();
        frame->resize(560, 600);
        const QString name = QString(example).section('.', 0, 0);
        shoot(stageCommands->SideView(), "side_view_" + name);
        data().Tables().NewSoil().Show();
        QApplication::processEvents();
        EXPECT_TRUE(form->grab().save(screenshot("main_window_side_view_" + name)));
        form->CloseAllChildren();
    }
}

}  // namespace
}  // namespace velmor::windows
