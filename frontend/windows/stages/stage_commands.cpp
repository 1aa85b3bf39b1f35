#include "windows/stages/stage_commands.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include "sideview/side_view_project.h"
#include "windows/main_commands.h"

namespace velmor::windows {

TStageCommands::TStageCommands(TMainCommands& Commands, TMainForm& Form) : QObject(&Form), form_(Form), host_(Form) {
    Commands.OpenStagedOptions = [this] { OpenStagedOptions(); };
    Commands.OpenSideView = [this] { OpenSideView(); };
    Commands.SelectStage = [this](int Stage) { SelectStage(Stage); };
    // Update Current Stage keeps the modified state, so the save question still asks for the other edits.
    Commands.SaveCurrentStage = [this] { SaveCurrentStageClick(); };
}

project::TProgramData& TStageCommands::data() {
    return form_.Project().Data();
}

void TStageCommands::showChild(QWidget* Window, const std::function<void()>& Activated) {
    QMdiSubWindow* child = form_.MdiArea()->addSubWindow(Window);
    child->setAttribute(Qt::WA_DeleteOnClose);
    // A window that closes itself takes its frame with it.
    connect(Window, &QObject::destroyed, child, [child] { child->close(); });
    // Each time the child window becomes the active one it follows the project again.
    connect(child, &QMdiSubWindow::windowStateChanged, Window,
            [Activated](Qt::WindowStates Before, Qt::WindowStates Now) {
                if (!Before.testFlag(Qt::WindowActive) && Now.testFlag(Qt::WindowActive)) Activated();
            });
    child->show();
}

void TStageCommands::OpenStagedOptions() {
    if (staged_.isNull()) {
        staged_ = new TDlgStaged([this]() -> project::TProgramData& { return data(); }, host_);
        TDlgStaged* dialog = staged_;
        showChild(dialog, [dialog] { dialog->FormActivate(); });
    } else if (auto* child = qobject_cast<QMdiSubWindow*>(staged_->parentWidget())) {
        form_.MdiArea()->setActiveSubWindow(child);
    }
}

void TStageCommands::OpenSideView() {
    if (sideView_.isNull()) {
        sideView_ = new TDlgSideView([this] { return sideview::SideViewProjectOf(data()); });
        TDlgSideView* view = sideView_;
        showChild(view, [view] { view->FormActivate(); });
    } else if (auto* child = qobject_cast<QMdiSubWindow*>(sideView_->parentWidget())) {
        form_.MdiArea()->setActiveSubWindow(child);
    }
}

void TStageCommands::SelectStage(int Stage) {
    if (!form_.CommitActiveChild()) return;
    stages::SelectStage(data(), host_, Stage);
}

void TStageCommands::SaveCurrentStageClick() {
    if (!form_.CommitActiveChild()) return;
    stages::SaveCurrentStage(data(), host_);
}

}  // namespace velmor::windows
