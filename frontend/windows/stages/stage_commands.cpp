#include "windows/stages/stage_commands.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include "sideview/side_view_project.h"
#include "windows/main_commands.h"

namespace velmor::windows {

TStageCommands::TStageCommands(TMainCommands& Commands, TMainForm& Form) : QObject(&Form), form_(Form), host_(Form) {
    Commands.OpenStagedOptions = [this](bool Modal) { OpenStagedOptions(Modal); };
    Commands.OpenSideView = [this] { OpenSideView(); };
    Commands.SelectStage = [this](int Stage) { SelectStage(Stage); };
    // Update Current Stage keeps the modified state, so the save question still asks for the other edits.
    Commands.SaveCurrentStage = [this] { SaveCurrentStageClick(); };
    // The side view follows the project whenever it changes, not only when it becomes the active window.
    connect(&Form, &TMainForm::ProjectChanged, this, [this] {
        if (!sideView_.isNull()) sideView_->FollowProject();
    });
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

namespace {

// A window closed in this pass of the event loop is freed only in the next: it is gone already.
template <class Window>
void forgetClosed(QPointer<Window>& Slot) {
    if (Slot.isNull()) return;
    QWidget* frame = qobject_cast<QMdiSubWindow*>(Slot->parentWidget());
    if ((frame != nullptr ? frame : static_cast<QWidget*>(Slot.data()))->isHidden()) Slot = nullptr;
}

}  // namespace

void TStageCommands::OpenStagedOptions(bool Modal) {
    forgetClosed(staged_);
    if (!staged_.isNull()) {
        if (auto* child = qobject_cast<QMdiSubWindow*>(staged_->parentWidget())) {
            form_.MdiArea()->BringToFront(child);
        } else {
            staged_->raise();
            staged_->activateWindow();
        }
        return;
    }
    staged_ = new TDlgStaged([this]() -> project::TProgramData& { return data(); }, host_);
    TDlgStaged* dialog = staged_;
    if (Modal) {
        // A dialog over the main window at its own size; it frees itself when closed.
        dialog->setParent(&form_,
                          Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
        dialog->setWindowIcon(TWindowArea::ProgramIcon());
        dialog->setFixedSize(dialog->sizeHint());
        dialog->exec();
        return;
    }
    showChild(dialog, [dialog] { dialog->FormActivate(); });
}

void TStageCommands::OpenSideView() {
    forgetClosed(sideView_);
    if (sideView_.isNull()) {
        sideView_ = new TDlgSideView([this] { return sideview::SideViewProjectOf(data()); });
        TDlgSideView* view = sideView_;
        showChild(view, [view] { view->FormActivate(); });
    } else if (auto* child = qobject_cast<QMdiSubWindow*>(sideView_->parentWidget())) {
        form_.MdiArea()->BringToFront(child);
        // Already the active window it is not activated again: it reads the project here.
        sideView_->FormActivate();
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
