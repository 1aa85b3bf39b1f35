#include "windows/input_dialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QIcon>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <optional>

#include "fields/widgets/data_edit_widget.h"
#include "platform/file_dialog_service.h"
#include "platform/message_service.h"
#include "project/file_units.h"
#include "project/windows_1252.h"
#include "ui_dlg_con_loads.h"
#include "ui_dlg_csd.h"
#include "ui_dlg_options.h"
#include "ui_dlg_prop.h"
#include "ui_dlg_rebar.h"
#include "ui_dlg_spring.h"
#include "ui_dlg_title.h"
#include "windows/window_area.h"

static void initDialogPictures() {
    Q_INIT_RESOURCE(dialogs);
}

namespace velmor::windows {

using components::DataEditWidget;
using components::Extended;

TInputDialog::TInputDialog(project::TProgramData& Data, QWidget* Parent)
    : QWidget(Parent), source_([&Data]() -> project::TProgramData& { return Data; }) {
    initDialogPictures();
    setAttribute(Qt::WA_DeleteOnClose);
    // The control that last had the focus in this dialog stays its focused control while another window
    // is active (the window area takes the focus away from an inactive child).
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* Now) {
        if (Now != nullptr && isAncestorOf(Now)) activeControl_ = Now;
    });
}

bool TInputDialog::event(QEvent* Event) {
    // The window system reports the activation when the whole program gains it. Losing it (another
    // program, a message box, a menu) does not leave the dialog: the entry stays as typed, and every
    // command of the main window stores it first.
    if (Event->type() == QEvent::WindowActivate) Activated();
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

void TInputDialog::Deactivated() {
    active_ = false;
    FormDeactivate();
}

void TInputDialog::FormActivate() {
    loadedFrom_ = &data();
    Load();
}

bool TInputDialog::Edited() const {
    return std::any_of(fields_.begin(), fields_.end(),
                       [](const TFieldBinding& b) { return b.Field->text() != b.LoadedText; });
}

bool TInputDialog::FormDeactivate() {
    if (&data() != loadedFrom_) {
        // The project was replaced while the dialog stayed open: show the new one, store nothing.
        FormActivate();
        return true;
    }
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
    if (&data() != loadedFrom_) {
        Event->accept();
        return;
    }
    if (!FocusedFieldValid()) {
        Event->ignore();
        return;
    }
    Store();
    Event->accept();
}

void TInputDialog::Bind(DataEditWidget* Field, Extended project::TProgramData::*Value, TShownAs Shown) {
    TFieldBinding binding;
    binding.Field = Field;
    binding.Get = [this, Value] { return data().*Value; };
    binding.Set = [this, Value](Extended Stored) { data().*Value = Stored; };
    // The project holds these values as the file does.
    binding.ToShown = [this, Shown](Extended Stored) {
        if (!English() || Shown == TShownAs::Stored) return Stored;
        return Shown == TShownAs::Feet ? Stored / project::kFeetToInches : Stored * project::kSquareFeetToInches;
    };
    binding.ToStored = [this, Shown](Extended Value) {
        if (Shown == TShownAs::Feet) return project::FileLength(data().Units, Value);
        if (Shown == TShownAs::PerSquareFoot) return project::FilePerArea(data().Units, Value);
        return Value;
    };
    Bind(std::move(binding));
}

void TInputDialog::Bind(TFieldBinding Binding) {
    Binding.Field->SetStoredForm(Binding.ToStored);
    fields_.push_back(std::move(Binding));
}

void TInputDialog::LoadFields() {
    for (TFieldBinding& b : fields_) {
        if (!b.Field->UnitsString().isEmpty()) b.Field->SetUnits(data().Units);
        const Extended shown = b.ToShown(b.Get());
        b.Field->SetNumber(shown);
        b.LoadedText = b.Field->text();
        // A field whose minimum is refused too shows a value below it as it is (see SetMinExclusive).
        b.Clamped = (shown < b.Field->MinVal() && !b.Field->MinExclusive()) || shown > b.Field->MaxVal();
    }
}

void TInputDialog::StoreFields() {
    bool changed = false;
    for (TFieldBinding& b : fields_) {
        if (b.Field->text() == b.LoadedText && !b.Clamped) continue;
        b.Set(b.ToStored(b.Field->GetNumber()));
        b.LoadedText = b.Field->text();
        b.Clamped = false;
        changed = true;
    }
    if (changed) SetModified();
}

void ShowChildDialog(QMdiArea* Area, TInputDialog* Dialog) {
    QMdiSubWindow* child = Area->addSubWindow(Dialog, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    child->setAttribute(Qt::WA_DeleteOnClose);
    child->setWindowIcon(TWindowArea::ProgramIcon());
    // Moving between the child windows of the area activates and deactivates the dialog.
    QObject::connect(child, &QMdiSubWindow::windowStateChanged, Dialog,
                     [Dialog](Qt::WindowStates Before, Qt::WindowStates Now) {
                         const bool was = Before.testFlag(Qt::WindowActive), is = Now.testFlag(Qt::WindowActive);
                         if (!was && is)
                             Dialog->Activated();
                         else if (was && !is)
                             Dialog->Deactivated();
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

void TDlgOptions::Load() {
    ui_->EdtWord->setText(getEditor_());
}

bool TDlgOptions::Edited() const {
    return ui_->EdtWord->text() != getEditor_();
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
    TFieldBinding increments;
    increments.Field = ui_->deNI;
    increments.Get = [this] { return static_cast<Extended>(data().NumIncrements); };
    increments.Set = [this](Extended Value) { data().NumIncrements = static_cast<int>(std::lround(Value)); };
    increments.ToShown = increments.ToStored = [](Extended Value) { return Value; };
    Bind(std::move(increments));
    Bind(ui_->deXGS, &project::TProgramData::IncrementLength);
    Bind(ui_->deXLN, &project::TProgramData::MaxDeflection);
    Bind(ui_->deSlope, &project::TProgramData::ClosureTolerance);
    Bind(ui_->DeFH, &project::TProgramData::FreeHeight, TShownAs::Feet);
    for (const TFieldBinding& b : fields_) b.Field->setMinimumWidth(110);
    connect(ui_->btnSect, &QPushButton::clicked, this, [this] { data().Tables().PileSect().Show(); });
}

TDlgProp::~TDlgProp() = default;

void TDlgProp::Load() {
    LoadFields();
}

void TDlgProp::Store() {
    StoreFields();
}

// --- Wall Configuration ----------------------------------------------------------------------------------

TdlgCSD::TdlgCSD(project::TProgramData& Data, QWidget* Parent)
    : TInputDialog(Data, Parent), ui_(std::make_unique<Ui::TdlgCSD>()) {
    ui_->setupUi(this);
    using P = project::TProgramData;
    Bind(ui_->deHL, &P::FreeHeight, TShownAs::Feet);
    Bind(ui_->deWidth, &P::Wa);
    Bind(ui_->dePYW, &P::Wp);
    Bind(ui_->deHW, &P::WaterTableBackfill, TShownAs::Feet);
    Bind(ui_->DeHW2, &P::WaterTableExcavation, TShownAs::Feet);
    Bind(ui_->deGw, &P::ActivePressureFactor);
    Bind(ui_->beta, &P::BackfillSlope);
    Bind(ui_->deSP, &P::SurchargeAtTop, TShownAs::PerSquareFoot);
    for (const TFieldBinding& b : fields_) b.Field->setMinimumWidth(110);
}

TdlgCSD::~TdlgCSD() = default;

void TdlgCSD::Load() {
    LoadFields();
}

void TdlgCSD::Store() {
    StoreFields();
}

// --- Additional Surcharge --------------------------------------------------------------------------------

TDlgRebar::TDlgRebar(project::TProgramData& Data, QWidget* Parent)
    : TInputDialog(Data, Parent), ui_(std::make_unique<Ui::TDlgRebar>()) {
    ui_->setupUi(this);
    connect(ui_->btnSurcharge, &QPushButton::clicked, this, [this] { data().Tables().SurchargeTable().Show(); });
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
    connect(button_, &QPushButton::clicked, this, [this] { std::invoke(table_, data().Tables()).Show(); });
}

void TOptionTableDialog::Load() {
    check_->setChecked(data().*option_);
    button_->setEnabled(check_->isChecked());
}

void TOptionTableDialog::CheckClick() {
    button_->setEnabled(check_->isChecked());
    if (!check_->isChecked()) (data().Tables().*table_)().HideForm();
    // Stored at once: marking the project modified reloads the open dialogs from it.
    Store();
    SetModified();
}

void TOptionTableDialog::Store() {
    data().*option_ = check_->isChecked();
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
    connect(ui_->TitleMemo, &QLineEdit::textEdited, this, [this](const QString& Text) { TitleEdited(Text); });
}

TdlgTitle::~TdlgTitle() = default;

void TdlgTitle::Load() {
    const std::u32string characters = project::DecodeWindows1252(data().Title);
    loadedText_ = QString::fromUcs4(characters.data(), static_cast<qsizetype>(characters.size()));
    acceptedText_ = loadedText_;
    // Typing stops at 80 characters; a longer title read from a file is shown whole, not cut.
    ui_->TitleMemo->setMaxLength(std::max(80, static_cast<int>(loadedText_.size())));
    ui_->TitleMemo->setText(loadedText_);
}

bool TdlgTitle::Edited() const {
    return ui_->TitleMemo->text() != loadedText_;
}

void TdlgTitle::TitleEdited(const QString& Text) {
    for (const char32_t character : Text.toUcs4()) {
        if (project::HasWindows1252Byte(character)) continue;
        const int cursor = ui_->TitleMemo->cursorPosition() - static_cast<int>(Text.size() - acceptedText_.size());
        ui_->TitleMemo->setText(acceptedText_);
        ui_->TitleMemo->setCursorPosition(std::clamp(cursor, 0, static_cast<int>(acceptedText_.size())));
        platform::messages().get().information(
            this, "The character \"" + QString::fromUcs4(&character, 1) +
                      "\" cannot be stored in the project file; the title keeps the characters of Windows-1252.");
        return;
    }
    acceptedText_ = Text;
}

void TdlgTitle::Store() {
    // An unedited title keeps its bytes.
    const QString text = ui_->TitleMemo->text();
    if (text == loadedText_) return;
    const QList<uint> codes = text.toUcs4();
    const std::u32string characters(codes.cbegin(), codes.cend());
    std::optional<std::string> bytes = project::EncodeWindows1252(characters);
    if (!bytes) return;  // only a text set without typing can get here; typing refuses such characters
    if (*bytes == data().Title) return;
    data().Title = std::move(*bytes);
    loadedText_ = text;
    SetModified();
}

}  // namespace velmor::windows
