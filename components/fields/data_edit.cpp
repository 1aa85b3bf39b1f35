#include "fields/data_edit.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

#include "fields/exceptions.h"
#include "fields/expression_evaluator.h"
#include "fields/utilities.h"

namespace velmor::components {

namespace {

struct UnitName {
    const char* code;
    const char* english;
    const char* si;
};

// Codes in the order they are tested: longer codes before the codes they start with.
const UnitName kForceNames[] = {
    {"F6", "slug", "Mg"}, {"F5", "sec", "sec"}, {"F4", "lb-sec2/in", "Mg"},
    {"F2", "tons", "kN"}, {"F1", "kips", "kN"}, {"F", "lbs", "kN"},
};

const UnitName kLengthNames[] = {
    {"L2", "ft", "m"},
    {"L1", "in", "mm"},
    {"L3", "rad", "rad"},
    {"L", "in", "m"},
};

// Replaces every occurrence of the first code of `names` that occurs in `text`, and no other code.
template <std::size_t N>
std::string replaceFirstCode(const std::string& text, const UnitName (&names)[N], int units) {
    for (const UnitName& name : names) {
        if (text.find(name.code) != std::string::npos) {
            return ReplaceAll(text, name.code, units == 1 ? name.english : name.si);
        }
    }
    return text;
}

constexpr Extended kInt32Min = -2147483648.0L;
constexpr Extended kInt32Max = 2147483647.0L;

}  // namespace

TDataEdit::TDataEdit() = default;

Extended TDataEdit::holdInt32(Extended Value) const {
    if (Value < kInt32Min) return kInt32Min;
    if (Value > kInt32Max) return kInt32Max;
    return Value;
}

// A bound that excludes the current value writes the bound into the field. A text that does not evaluate
// has no value to compare and is left for the check on leaving the field.
void TDataEdit::pullNumberInside(Extended bound, bool boundIsMinimum) {
    Extended current = 0;
    try {
        current = GetNumber();
    } catch (const Exception&) {
        return;
    }
    if (boundIsMinimum && minExclusive_) return;
    if (boundIsMinimum ? bound > current : bound < current) SetNumber(bound);
}

void TDataEdit::SetMinVal(Extended Value) {
    if (loading_) {
        minVal_ = Value;
        return;
    }
    if (Value > maxVal_) Value = maxVal_;
    if (integerOnly_) Value = holdInt32(Value);
    minVal_ = Value;
    pullNumberInside(Value, true);
}

void TDataEdit::SetMaxVal(Extended Value) {
    if (loading_) {
        maxVal_ = Value;
        return;
    }
    if (Value < minVal_) Value = minVal_;
    if (integerOnly_) Value = holdInt32(Value);
    pullNumberInside(Value, false);
    maxVal_ = Value;
}

void TDataEdit::SetIntegerOnly(bool Value) {
    integerOnly_ = Value;
    if (Value && !loading_) {
        SetMaxVal(maxVal_);
        SetMinVal(minVal_);
    }
}

Extended TDataEdit::GetNumber() const {
    return EvaluateExpression(text_);
}

void TDataEdit::SetNumber(Extended Value) {
    if (!loading_) {
        if (Value < minVal_ && !minExclusive_) Value = minVal_;
        if (Value > maxVal_) Value = maxVal_;
    }
    text_ = FormatNumber(hex_, Value);
}

void TDataEdit::SetUnits(int Value) {
    units_ = Value < 1 ? 1 : (Value > 3 ? 3 : Value);
}

std::string TDataEdit::FormatNumber(bool Hex, Extended Value) {
    if (!Hex) return formatGeneral(Value, kFieldDigits);
    // A negative value shows its 64-bit two's complement, as the hexadecimal notation of an Int64 does.
    const auto bits = static_cast<std::uint64_t>(RoundToInt64(Value));
    char digits[24];
    std::snprintf(digits, sizeof digits, "%04llX", static_cast<unsigned long long>(bits));
    return std::string("$") + digits;
}

std::string TDataEdit::ExpandUnits() const {
    if (units_ == 3) return unitsString_;
    return replaceFirstCode(replaceFirstCode(unitsString_, kForceNames, units_), kLengthNames, units_);
}

std::string TDataEdit::LabelText() const {
    if (unitsString_.empty()) return caption_;
    return caption_ + " (" + ExpandUnits() + ")";
}

std::string TDataEdit::Validate() {
    valid_ = false;
    try {
        // A value the analysis cannot read, as typed or as stored, is refused before the bounds: the unlimited
        // bound is no such value.
        const Extended value = CheckEntryRange(GetNumber());
        if (storedForm_) CheckEntryRange(storedForm_(value));
        if (integerOnly_ && value != std::trunc(value)) return "Entry must be an integer.";
        if (minExclusive_ && !(value > minVal_)) return "Entry must be greater than " + FormatNumber(hex_, minVal_);
        if (value < minVal_) {
            SetNumber(minVal_);
            return "Entry must be greater than or equal to " + FormatNumber(hex_, minVal_);
        }
        if (!(value <= maxVal_)) {
            SetNumber(maxVal_);
            return "Entry must be less than or equal to " + FormatNumber(hex_, maxVal_);
        }
        text_ = FormatNumber(hex_, value);
        valid_ = true;
        return {};
    } catch (const EAssignError& error) {
        return integerOnly_ ? "Entry must be a valid integer." : error.message();
    } catch (const Exception& error) {
        // An arithmetic fault (division by zero, overflow, ...) is reported like an entry error.
        return error.message();
    }
}

bool TDataEdit::AppendsToValue(char Key) {
    switch (Key) {
        case '+':
        case '-':
        case '/':
        case '*':
        case '^':
        case '=':
        case '%':
        case '!':
            return true;
        default:
            return false;
    }
}

}  // namespace velmor::components
