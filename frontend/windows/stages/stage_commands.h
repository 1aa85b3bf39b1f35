#pragma once

#include <QObject>
#include <QPointer>

#include "windows/stages/dlg_side_view.h"
#include "windows/stages/dlg_staged.h"
#include "windows/stages/main_form_stage_host.h"

namespace velmor::windows {

class TMainCommands;

// The commands of the construction stages and of the side view on the main window: the staged-construction
// options, the Stage 1 to Stage 5 menu items and tool buttons, Update Current Stage and View Wall Geometry.
// Owned by the main window.
class TStageCommands : public QObject {
    Q_OBJECT

  public:
    TStageCommands(TMainCommands& Commands, TMainForm& Form);

    // Opens the single stage dialog as a child window, or brings it to the front. `Modal` opens it as a
    // modal dialog over the main window instead, unless it is open already.
    void OpenStagedOptions(bool Modal = false);
    // Opens the single side view as a child window, or brings it to the front showing the current project.
    void OpenSideView();
    void SelectStage(int Stage);
    void SaveCurrentStageClick();

    TDlgStaged* StagedDialog() const { return staged_; }
    TDlgSideView* SideView() const { return sideView_; }

  private:
    void showChild(QWidget* Window, const std::function<void()>& Activated);
    project::TProgramData& data();

    TMainForm& form_;
    TMainFormStageHost host_;
    QPointer<TDlgStaged> staged_;
    QPointer<TDlgSideView> sideView_;
};

}  // namespace velmor::windows
