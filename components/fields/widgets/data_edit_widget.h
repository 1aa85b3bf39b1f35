#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QString>

#include "fields/data_edit.h"

namespace velmor::components {

// The numeric entry field of the input dialogs: an edit box that takes a number or an arithmetic
// expression, checks it when the field is left or Enter is pressed, shows a bad entry in a message box and
// keeps the focus. Its buddy label (EditLabel) shows Caption with the unit names of UnitsString.
//
// In Qt Designer, promote a QLineEdit to velmor::components::DataEditWidget (header
// fields/widgets/data_edit_widget.h) and set the dynamic properties below. A label whose buddy is the
// field becomes its EditLabel when the field is first shown, unless one was set before.
class DataEditWidget : public QLineEdit {
    Q_OBJECT
    Q_PROPERTY(bool IntegerOnly READ IntegerOnly WRITE SetIntegerOnly)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(bool Hex READ Hex WRITE SetHex)
    Q_PROPERTY(double MaxVal READ maxValProperty WRITE setMaxValProperty)
    Q_PROPERTY(double MinVal READ minValProperty WRITE setMinValProperty)
    Q_PROPERTY(bool MinExclusive READ MinExclusive WRITE SetMinExclusive)
    Q_PROPERTY(double Number READ numberProperty WRITE setNumberProperty)
    Q_PROPERTY(QString UnitsString READ UnitsString WRITE SetUnitsString)
    Q_PROPERTY(int Units READ Units WRITE SetUnits)

  public:
    explicit DataEditWidget(QWidget* parent = nullptr);

    bool IntegerOnly() const { return rules_.IntegerOnly(); }
    void SetIntegerOnly(bool Value);
    QString Caption() const { return QString::fromStdString(rules_.Caption()); }
    void SetCaption(const QString& Value);
    bool Hex() const { return rules_.Hex(); }
    void SetHex(bool Value) { rules_.SetHex(Value); }
    Extended MinVal() const { return rules_.MinVal(); }
    void SetMinVal(Extended Value);
    // Whether MinVal itself is refused too (see TDataEdit::SetMinExclusive).
    bool MinExclusive() const { return rules_.MinExclusive(); }
    void SetMinExclusive(bool Value) { rules_.SetMinExclusive(Value); }
    Extended MaxVal() const { return rules_.MaxVal(); }
    void SetMaxVal(Extended Value);
    // The evaluated text: EAssignError for an invalid expression, EMathError for an arithmetic fault.
    Extended GetNumber() const;
    void SetNumber(Extended Value);
    QString UnitsString() const { return QString::fromStdString(rules_.UnitsString()); }
    void SetUnitsString(const QString& Value);
    int Units() const { return rules_.Units(); }
    void SetUnits(int Value);
    // See TDataEdit::SetStoredForm.
    void SetStoredForm(std::function<Extended(Extended Shown)> Value) { rules_.SetStoredForm(std::move(Value)); }
    QLabel* EditLabel() const { return editLabel_; }
    // Makes the field the label's buddy, so the label's accelerator focuses it.
    void SetEditLabel(QLabel* Label);

    bool Valid() const { return rules_.Valid(); }
    QString ExpandUnits() const { return QString::fromStdString(rules_.ExpandUnits()); }
    void UpdateLabel();

    // The check run when the field is left: see TDataEdit::Validate. A bad entry is shown in a message box
    // and the focus is put back on the field when it is visible.
    void DoExit();

  signals:
    // The field's own exit notification, sent before the entry is checked.
    void exited();

  protected:
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    double maxValProperty() const { return static_cast<double>(rules_.MaxVal()); }
    void setMaxValProperty(double Value) { SetMaxVal(fromProperty(Value)); }
    double minValProperty() const { return static_cast<double>(rules_.MinVal()); }
    void setMinValProperty(double Value) { SetMinVal(fromProperty(Value)); }
    double numberProperty() const;
    void setNumberProperty(double Value) { SetNumber(fromProperty(Value)); }
    // A property value is a double: 0.12 in a form means the decimal 0.12, not the nearest double's
    // 18-digit expansion 0.119999999999999996.
    static Extended fromProperty(double Value);

    // The rules work on their own copy of the text: take the typed text before, show the result after.
    void takeText() const;
    void showText();

    mutable TDataEdit rules_;
    QPointer<QLabel> editLabel_;
    // Set while a field checks its entry and reports it: the focus moves the report causes must not start
    // the check of another field, or two bad fields would take the focus from each other for ever.
    static inline bool checking_ = false;
};

// Runs the field's exit check and tells whether the entry is valid; dialogs call it for their focused
// field before they are left or closed.
bool ValidateDataEdit(DataEditWidget* Field);

}  // namespace velmor::components
