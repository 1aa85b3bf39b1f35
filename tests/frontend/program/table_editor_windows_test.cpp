// The program's windows as the user opens them (the screenshots program takes their pictures): the
// drop-down lists of every table editor show their items whole, and the side view opens at a size where
// its labels stand apart.
#include <QComboBox>
#include <QToolButton>

#include "program_fixture.h"

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
