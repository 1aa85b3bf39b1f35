#include "windows/input_dialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTimer>
#include <cmath>

#include "fields/widgets/data_edit_widget.h"
#include "platform/file_dialog_service.h"
#include "ui_dlg_con_loads.h"
#include "ui_dlg_csd.h"
#include "ui_dlg_options.h"
#include "ui_dlg_prop.h"
#include "ui_dlg_rebar.h"
#include "ui_dlg_spring.h"
#include "ui_dlg_title.h"

static void initDialogPictures() {
    Q_INIT_RESOURCE(dialogs);
}

namespace velmor::windows {

using components::DataEditWidget;
using components::Extended;

namespace {

// Lengths are stored in inches and shown in feet in unit system 1; pressures stored in pounds per square
// inch are shown in pounds per square foot.
constexpr Extended kInchesPerFoot = 12;
constexpr Extended kSquareInchesPerSquareFoot = 144;

// Field value -> number, for a field that checked (an unchecked field is never stored).
Extended numberOf(const DataEditWidget* Field) {
    return Field->GetNumber();
}

}  // namespace

TInputDialog::TInputDialog(project::TProgramData& Data, QWidget* Parent) : QWidget(Parent), data_(Data) {
    initDialogPictures();
    setAttribute(Qt::WA_DeleteOnClose);
    // The control that last had the focus in this dialog stays its focused control while another window
    // is active (the window area takes the focus away from an inactive child).
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* Now) {
        if (Now != nullptr && isAncestorOf(Now)) activeControl_ = Now;
    });
}

bool TInputDialog::event(QEvent* Event) {
    // The main window sends a deactivation before its menus open, so that what is typed counts; the
    // window system sends both when the whole program gains or loses the activation.
    if (Event->type() == QEvent::WindowActivate)
        Activated();
    else if (Event->type() == QEvent::WindowDeactivate)
        FormDeactivate();
    return QWidget::event(Event);
}

void TInputDialog::Activated() {
    // The window area reports the activation of a window that is already active now and then (while
    // another child is being added); that must not reload over what is being typed.
    if (active_) return;
    active_ = true;
    if (keepEntries_)
        keepEntries_ = false;
    else
        FormActivate();
}

bool TInputDialog::FocusedFieldValid() {
    auto* field = qobject_cast<DataEditWidget*>(activeControl_.data());
    return field == nullptr || components::ValidateDataEdit(field);
}

bool TInputDialog::FormDeactivate() {
    active_ = false;
    if (!FocusedFieldValid()) {
        // Brought back once the activation that is under way has finished, with the entry as typed.
        keepEntries_ = true;
        QPointer<QWidget> field = activeControl_;
        QTimer::singleShot(0, this, [this, field] {
            auto* child = qobject_cast<QMdiSubWindow*>(parentWidget());
            if (child != nullptr && child->mdiArea() != nullptr && child->mdiArea()->activeSubWindow() != child)
                child->mdiArea()->setActiveSubWindow(child);
            else
                keepEntries_ = false;
            if (field != nullptr) field->setFocus();
        });
        return false;
    }
    Store();
    return true;
}

void TInputDialog::closeEvent(QCloseEvent* Event) {
    if (!FocusedFieldValid()) {
        Event->ignore();
        return;
    }
    Store();
    Event->accept();
}

void ShowChildDialog(QMdiArea* Area, TInputDialog* Dialog) {
    QMdiSubWindow* child = Area->addSubWindow(Dialog, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    child->setAttribute(Qt::WA_DeleteOnClose);
    // Moving between the child windows of the area activates and deactivates the dialog.
    QObject::connect(child, &QMdiSubWindow::windowStateChanged, Dialog,
                     [Dialog](Qt::WindowStates Before, Qt::WindowStates Now) {
                         const bool was = Before.testFlag(Qt::WindowActive), is = Now.testFlag(Qt::WindowActive);
                         if (!was && is)
                             Dialog->Activated();
                         else if (was && !is)
                             Dialog->FormDeactivate();
                     });
    Dialog->FormActivate();
    Dialog->adjustSize();
    child->adjustSize();
    child->setFixedSize(child->sizeHint());
    child->show();
    Area->setActiveSubWindow(child);
}

// --- Control Options -------------------------------------------------------------------------------------

TDlgOptions::TDlgOptions(project::TProgramData& Data, std::function<QString()> GetEditor,
                         std::function<void(const QString&)> SetEditor, QWidget* Parent)
    : TInputDialog(Data, Parent),
      ui_(std::make_unique<Ui::TDlgOptions>()),
      getEditor_(std::move(GetEditor)),
      setEditor_(std::move(SetEditor)) {
    ui_->setupUi(this);
    ui_->EdtWord->setMinimumWidth(320);
    connect(ui_->BtnBrowse, &QPushButton::clicked, this, &TDlgOptions::BtnBrowseClick);
}

TDlgOptions::~TDlgOptions() = default;

void TDlgOptions::FormActivate() {
    ui_->EdtWord->setText(getEditor_());
}

void TDlgOptions::BtnBrowseClick() {
    const QString chosen = platform::fileDialogs().get().openFileName(this, ui_->EdtWord->text(), kBrowserFilter);
    if (!chosen.isEmpty()) ui_->EdtWord->setText(chosen);
}

void TDlgOptions::Store() {
    setEditor_(ui_->EdtWord->text());
}

// --- Wall Properties -------------------------------------------------------------------------------------

TDlgProp::TDlgProp(project::TProgramData& Data, QWidget* Parent)
    : TInputDialog(Data, Parent), ui_(std::make_unique<Ui::TDlgProp>()) {
    ui_->setupUi(this);
    for (DataEditWidget* field : {ui_->deNI, ui_->deXGS, ui_->deXLN, ui_->deSlope, ui_->DeFH}) {
        field->setMinimumWidth(110);
        // Only what the user types counts as a change; loading the fields does not.
        connect(field, &QLineEdit::textEdited, this, [this] { SetModified(); });
    }
    connect(ui_->btnSect, &QPushButton::clicked, this, [this] { data_.Tables().PileSect().Show(); });
}

TDlgProp::~TDlgProp() = default;

void TDlgProp::FormActivate() {
    for (DataEditWidget* field : {ui_->deXGS, ui_->deXLN, ui_->deSlope, ui_->DeFH}) field->SetUnits(data_.Units);
    ui_->deNI->SetNumber(data_.NumIncrements);
    ui_->deXGS->SetNumber(data_.IncrementLength);
    ui_->deXLN->SetNumber(data_.MaxDeflection);
    ui_->deSlope->SetNumber(data_.ClosureTolerance);
    ui_->DeFH->SetNumber(English() ? data_.FreeHeight / kInchesPerFoot : data_.FreeHeight);
}

void TDlgProp::Store() {
    data_.NumIncrements = static_cast<int>(std::lround(numberOf(ui_->deNI)));
    data_.IncrementLength = numberOf(ui_->deXGS);
    data_.MaxDeflection = numberOf(ui_->deXLN);
    data_.ClosureTolerance = numberOf(ui_->deSlope);
    data_.FreeHeight = English() ? numberOf(ui_->DeFH) * kInchesPerFoot : numberOf(ui_->DeFH);
}

// --- Wall Configuration ----------------------------------------------------------------------------------

TdlgCSD::TdlgCSD(project::TProgramData& Data, QWidget* Parent)
    : TInputDialog(Data, Parent), ui_(std::make_unique<Ui::TdlgCSD>()) {
    ui_->setupUi(this);
    for (DataEditWidget* field :
         {ui_->deHL, ui_->deWidth, ui_->dePYW, ui_->deHW, ui_->DeHW2, ui_->deGw, ui_->beta, ui_->deSP})
        field->setMinimumWidth(110);
}

TdlgCSD::~TdlgCSD() = default;

void TdlgCSD::FormActivate() {
    for (DataEditWidget* field : {ui_->deHL, ui_->deWidth, ui_->dePYW, ui_->deHW, ui_->DeHW2, ui_->deSP})
        field->SetUnits(data_.Units);
    const Extended feet = English() ? kInchesPerFoot : 1;
    ui_->deHL->SetNumber(data_.FreeHeight / feet);
    ui_->deWidth->SetNumber(data_.Wa);
    ui_->dePYW->SetNumber(data_.Wp);
    ui_->deHW->SetNumber(data_.WaterTableBackfill / feet);
    ui_->DeHW2->SetNumber(data_.WaterTableExcavation / feet);
    ui_->deGw->SetNumber(data_.ActivePressureFactor);
    ui_->beta->SetNumber(data_.BackfillSlope);
    ui_->deSP->SetNumber(English() ? data_.SurchargeAtTop * kSquareInchesPerSquareFoot : data_.SurchargeAtTop);
}

void TdlgCSD::Store() {
    const Extended feet = English() ? kInchesPerFoot : 1;
    data_.FreeHeight = numberOf(ui_->deHL) * feet;
    data_.Wa = numberOf(ui_->deWidth);
    data_.Wp = numberOf(ui_->dePYW);
    data_.WaterTableBackfill = numberOf(ui_->deHW) * feet;
    data_.WaterTableExcavation = numberOf(ui_->DeHW2) * feet;
    data_.ActivePressureFactor = numberOf(ui_->deGw);
    data_.BackfillSlope = numberOf(ui_->beta);
    data_.SurchargeAtTop = English() ? numberOf(ui_->deSP) / kSquareInchesPerSquareFoot : numberOf(ui_->deSP);
}

// --- Additional Surcharge --------------------------------------------------------------------------------

TDlgRebar::TDlgRebar(project::TProgramData& Data, QWidget* Parent)
    : TInputDialog(Data, Parent), ui_(std::make_unique<Ui::TDlgRebar>()) {
    ui_->setupUi(this);
    connect(ui_->btnSurcharge, &QPushButton::clicked, this, [this] { data_.Tables().SurchargeTable().Show(); });
}

TDlgRebar::~TDlgRebar() = default;

// --- Springs and concentrated loads ----------------------------------------------------------------------

TOptionTableDialog::TOptionTableDialog(project::TProgramData& Data, bool project::TProgramData::*Option,
                                       components::TGridTable& (project::TProjectTables::*Table)() const,
                                       QWidget* Parent)
    : TInputDialog(Data, Parent), option_(Option), table_(Table) {}

void TOptionTableDialog::Bind(QCheckBox* Check, QPushButton* Button) {
    check_ = Check;
    button_ = Button;
    connect(check_, &QCheckBox::clicked, this, &TOptionTableDialog::CheckClick);
    connect(button_, &QPushButton::clicked, this, [this] { (data_.Tables().*table_)().Show(); });
}

void TOptionTableDialog::FormActivate() {
    check_->setChecked(data_.*option_);
    button_->setEnabled(check_->isChecked());
}

void TOptionTableDialog::CheckClick() {
    button_->setEnabled(check_->isChecked());
    if (!check_->isChecked()) (data_.Tables().*table_)().HideForm();
    SetModified();
}

void TOptionTableDialog::Store() {
    data_.*option_ = check_->isChecked();
}

TDlgSpring::TDlgSpring(project::TProgramData& Data, QWidget* Parent)
    : TOptionTableDialog(Data, &project::TProgramData::UseSprings, &project::TProjectTables::SoilStrength, Parent),
      ui_(std::make_unique<Ui::TDlgSpring>()) {
    ui_->setupUi(this);
    Bind(ui_->ChkSpring, ui_->btnSpring);
}

TDlgSpring::~TDlgSpring() = default;

TDlgConLoads::TDlgConLoads(project::TProgramData& Data, QWidget* Parent)
    : TOptionTableDialog(Data, &project::TProgramData::UseConcentratedLoads, &project::TProjectTables::BoundCond,
                         Parent),
      ui_(std::make_unique<Ui::TDlgConLoads>()) {
    ui_->setupUi(this);
    Bind(ui_->ChkConLoads, ui_->btnConLoads);
}

TDlgConLoads::~TDlgConLoads() = default;

// --- Project Title ---------------------------------------------------------------------------------------

TdlgTitle::TdlgTitle(project::TProgramData& Data, QWidget* Parent)
    : TInputDialog(Data, Parent), ui_(std::make_unique<Ui::TdlgTitle>()) {
    ui_->setupUi(this);
    ui_->TitleMemo->setMinimumWidth(fontMetrics().averageCharWidth() * 82);
}

TdlgTitle::~TdlgTitle() = default;

void TdlgTitle::FormActivate() {
    const QString title = QString::fromStdString(data_.Title);
    // Typing stops at 80 characters; a longer title read from a file is shown whole, not cut.
    ui_->TitleMemo->setMaxLength(std::max(80, static_cast<int>(title.size())));
    ui_->TitleMemo->setText(title);
}

void TdlgTitle::Store() {
    // Compared as text, so a title whose bytes are not UTF-8 is kept byte for byte unless it is edited.
    if (ui_->TitleMemo->text() == QString::fromStdString(data_.Title)) return;
    data_.Title = ui_->TitleMemo->text().toStdString();
    SetModified();
}

}  // namespace velmor::windows
