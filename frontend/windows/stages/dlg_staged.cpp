#include "windows/stages/dlg_staged.h"

#include <QEvent>
#include <cmath>

#include "fields/widgets/guarded.h"
#include "ui_dlg_staged.h"

namespace velmor::windows {

TDlgStaged::TDlgStaged(std::function<project::TProgramData&()> Project, stages::TStageHost& Host, QWidget* Parent)
    : QDialog(Parent), ui_(std::make_unique<Ui::TDlgStaged>()), project_(std::move(Project)), host_(Host) {
    ui_->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    connect(ui_->cbStaged, &QCheckBox::clicked, this, &TDlgStaged::StagedClick);
    connect(ui_->udStageUp, &QToolButton::clicked, this, &TDlgStaged::UpClick);
    connect(ui_->udStageDown, &QToolButton::clicked, this, &TDlgStaged::DownClick);
    connect(ui_->btnOK, &QPushButton::clicked, this, &TDlgStaged::OKClick);
    connect(ui_->btnCancel, &QPushButton::clicked, this, &QDialog::close);
    FormActivate();
}

TDlgStaged::~TDlgStaged() = default;

bool TDlgStaged::event(QEvent* Event) {
    if (Event->type() == QEvent::WindowActivate) FormActivate();
    return QDialog::event(Event);
}

void TDlgStaged::FormActivate() {
    const int count = project_().StageCount;
    ui_->deStage->SetNumber(count);
    const bool staged = count > 1;
    ui_->cbStaged->setChecked(staged);
    ui_->deStage->setEnabled(staged);
    ui_->udStageUp->setEnabled(staged);
    ui_->udStageDown->setEnabled(staged);
}

void TDlgStaged::StagedClick() {
    const bool staged = ui_->cbStaged->isChecked();
    if (staged) {
        try {
            if (ui_->deStage->GetNumber() == 1) ui_->deStage->SetNumber(2);
        } catch (const std::exception&) {
            // An entry that is not a number is left for the field's own check.
        }
    } else {
        ui_->deStage->SetNumber(1);
    }
    ui_->deStage->setEnabled(staged);
    ui_->udStageUp->setEnabled(staged);
    ui_->udStageDown->setEnabled(staged);
}

void TDlgStaged::UpClick() {
    try {
        const components::Extended n = ui_->deStage->GetNumber();
        if (n < 5) ui_->deStage->SetNumber(std::min<components::Extended>(5, std::floor(n) + 1));
    } catch (const std::exception&) {
        // An entry that is not a number is left for the field's own check.
    }
}

void TDlgStaged::DownClick() {
    try {
        const components::Extended n = ui_->deStage->GetNumber();
        if (n > 2) ui_->deStage->SetNumber(std::max<components::Extended>(2, std::ceil(n) - 1));
    } catch (const std::exception&) {
        // As above.
    }
}

void TDlgStaged::OKClick() {
    if (!components::ValidateDataEdit(ui_->deStage)) return;
    components::guarded(this, [this] {
        const int count = static_cast<int>(std::lround(ui_->deStage->GetNumber()));
        stages::ApplyStageCount(project_(), host_, count);
    });
    close();
}

}  // namespace velmor::windows
