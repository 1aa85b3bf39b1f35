#include "fields/widgets/data_edit_widget.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <charconv>
#include <cmath>
#include <exception>

#include "fields/exceptions.h"
#include "platform/message_service.h"

namespace velmor::components {

DataEditWidget::DataEditWidget(QWidget* parent) : QLineEdit(parent) {
    showText();
}

void DataEditWidget::takeText() const {
    rules_.SetText(text().toStdString());
}

void DataEditWidget::showText() {
    const QString shown = QString::fromStdString(rules_.Text());
    if (text() != shown) setText(shown);
}

void DataEditWidget::SetIntegerOnly(bool Value) {
    takeText();
    rules_.SetIntegerOnly(Value);
    showText();
}

void DataEditWidget::SetCaption(const QString& Value) {
    rules_.SetCaption(Value.toStdString());
    UpdateLabel();
}

void DataEditWidget::SetMinVal(Extended Value) {
    takeText();
    rules_.SetMinVal(Value);
    showText();
}

void DataEditWidget::SetMaxVal(Extended Value) {
    takeText();
    rules_.SetMaxVal(Value);
    showText();
}

Extended DataEditWidget::GetNumber() const {
    takeText();
    return rules_.GetNumber();
}

void DataEditWidget::SetNumber(Extended Value) {
    rules_.SetNumber(Value);
    showText();
}

// Designer and the property system read the value without an error path: an entry that does not
// evaluate reads as 0.
double DataEditWidget::numberProperty() const {
    try {
        return static_cast<double>(GetNumber());
    } catch (const Exception&) {
        return 0;
    }
}

Extended DataEditWidget::fromProperty(double Value) {
    if (!std::isfinite(Value)) return Value;
    // The shortest decimal text that reads back as the same double is the value the form meant.
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, Value);
    Extended decimal = Value;
    if (!tryParseDecimal(std::string_view(text, static_cast<std::size_t>(written.ptr - text)), decimal)) return Value;
    return decimal;
}

void DataEditWidget::SetUnitsString(const QString& Value) {
    rules_.SetUnitsString(Value.toStdString());
    UpdateLabel();
}

void DataEditWidget::SetUnits(int Value) {
    rules_.SetUnits(Value);
    UpdateLabel();
}

void DataEditWidget::SetEditLabel(QLabel* Label) {
    editLabel_ = Label;
    if (Label != nullptr) Label->setBuddy(this);
    UpdateLabel();
}

void DataEditWidget::UpdateLabel() {
    if (editLabel_.isNull()) return;
    editLabel_->setEnabled(isEnabled());
    editLabel_->setText(QString::fromStdString(rules_.LabelText()));
}

void DataEditWidget::DoExit() {
    if (checking_) return;
    struct Checking {
        Checking() { checking_ = true; }
        ~Checking() { checking_ = false; }
    } checking;
    emit exited();
    takeText();
    std::string message;
    try {
        message = rules_.Validate();
    } catch (const std::exception& error) {
        message = error.what();
    }
    showText();
    if (message.empty()) return;
    platform::messages().get().information(window(), QString::fromStdString(message));
    if (isVisible()) setFocus(Qt::OtherFocusReason);
}

bool DataEditWidget::event(QEvent* event) {
    if (event->type() == QEvent::Polish && editLabel_.isNull()) {
        for (QLabel* label : window()->findChildren<QLabel*>()) {
            if (label->buddy() == this) {
                SetEditLabel(label);
                break;
            }
        }
    }
    return QLineEdit::event(event);
}

void DataEditWidget::changeEvent(QEvent* event) {
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::EnabledChange) UpdateLabel();
}

// Leaving the field checks it; the window losing activation (another window, a menu, the menu bar taken
// from the keyboard) does not leave it: the command that follows commits the entry itself.
void DataEditWidget::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    const Qt::FocusReason reason = event->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && reason != Qt::MenuBarFocusReason &&
        isVisible())
        DoExit();
}

void DataEditWidget::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        DoExit();
        selectAll();
        event->accept();
        return;
    }
    // After Enter the whole value is selected; an operator typed then extends the value instead of
    // replacing it, so "*2" doubles what is shown.
    const QString typed = event->text();
    if (typed.size() == 1 && typed.at(0).unicode() < 128 && TDataEdit::AppendsToValue(typed.at(0).toLatin1()) &&
        selectedText().size() == text().size()) {
        end(false);
    }
    QLineEdit::keyPressEvent(event);
}

bool ValidateDataEdit(DataEditWidget* Field) {
    Field->DoExit();
    return Field->Valid();
}

}  // namespace velmor::components
