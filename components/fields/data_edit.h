#pragma once

#include <functional>
#include <string>

#include "fields/number_text.h"

namespace velmor::components {

// The rules of the numeric entry field: its text, bounds, integer-only and hexadecimal flags, the unit
// template behind its label, and the check run when the field is left. The window control
// (DataEditWidget) holds one of these and only adds the edit box, the label and the message box.
class TDataEdit {
  public:
    // Bounds of an unlimited field: just below the largest finite Extended.
    static constexpr Extended kUnlimited = 1.18973149535723176E+4932L;

    TDataEdit();

    // While loading from a stored layout the setters store values as given, without holding them against
    // each other, so the order in which a layout writes them does not matter.
    bool Loading() const { return loading_; }
    void SetLoading(bool Value) { loading_ = Value; }

    const std::string& Text() const { return text_; }
    void SetText(const std::string& Value) { text_ = Value; }

    bool IntegerOnly() const { return integerOnly_; }
    // Becoming integer-only holds both bounds inside the 32-bit signed range.
    void SetIntegerOnly(bool Value);

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& Value) { caption_ = Value; }

    bool Hex() const { return hex_; }
    void SetHex(bool Value) { hex_ = Value; }

    Extended MinVal() const { return minVal_; }
    Extended MaxVal() const { return maxVal_; }
    // A minimum above MaxVal is lowered to it; a maximum below MinVal is raised to it. With IntegerOnly a
    // bound is held inside -2147483648..2147483647. A bound that excludes the current value pulls it in.
    void SetMinVal(Extended Value);
    void SetMaxVal(Extended Value);

    // With MinExclusive the minimum itself is refused too, for a value that must be greater than it (an
    // increment length): such an entry is refused with its text as typed, and a value at or below the
    // minimum given by SetNumber is shown as it is rather than replaced by a value that is refused as well.
    bool MinExclusive() const { return minExclusive_; }
    void SetMinExclusive(bool Value) { minExclusive_ = Value; }

    // For a field whose value the project stores converted (a length shown in feet, stored in inches): the
    // stored form of a shown value. The check refuses an entry whose stored form the analysis cannot read
    // with the message of an entry beyond that range itself.
    void SetStoredForm(std::function<Extended(Extended Shown)> Value) { storedForm_ = std::move(Value); }

    // The evaluated text; EAssignError for a text that is not a valid expression, EMathError for an
    // arithmetic fault.
    Extended GetNumber() const;
    // Clamps Value to the bounds (not while loading) and shows it; no rounding for IntegerOnly.
    void SetNumber(Extended Value);

    const std::string& UnitsString() const { return unitsString_; }
    void SetUnitsString(const std::string& Value) { unitsString_ = Value; }

    // 1 English, 2 SI, 3 generic (the template shown as written); other values are clamped into 1..3.
    int Units() const { return units_; }
    void SetUnits(int Value);

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool Value) { enabled_ = Value; }

    // True after the last validation succeeded; False before the first one.
    bool Valid() const { return valid_; }

    // With Hex "$" and at least four upper-case hexadecimal digits of the value rounded to the nearest
    // integer (halves to even), else general format with 18 significant digits. A hexadecimal value
    // beyond the 64-bit range raises EInvalidOp.
    static std::string FormatNumber(bool Hex, Extended Value);

    // UnitsString with its unit codes written as unit names for Units: only the first force code that
    // occurs (tested F6, F5, F4, F2, F1, F) and the first length code (L2, L1, L3, L) are replaced.
    std::string ExpandUnits() const;

    // Caption, followed by the unit names in brackets when there is a unit template.
    std::string LabelText() const;

    // The check run when the field is left: evaluates the text, checks integer-only and the bounds and
    // writes the formatted value. Returns the message to show, empty when the entry is valid. A value
    // beyond a bound is replaced by the bound before the message; an expression error or arithmetic fault
    // leaves the text as typed. Valid tells the outcome; nothing is thrown.
    std::string Validate();

    // True for the operators that, typed while the whole text is selected, are appended to the shown
    // value rather than replacing it.
    static bool AppendsToValue(char Key);

  private:
    void pullNumberInside(Extended bound, bool boundIsMinimum);
    Extended holdInt32(Extended Value) const;

    std::string text_ = "0";
    bool integerOnly_ = false;
    bool minExclusive_ = false;
    std::string caption_;
    bool hex_ = false;
    Extended minVal_ = -kUnlimited;
    Extended maxVal_ = kUnlimited;
    std::string unitsString_;
    int units_ = 1;
    bool enabled_ = true;
    bool valid_ = false;
    bool loading_ = false;
    std::function<Extended(Extended)> storedForm_;
};

}  // namespace velmor::components
