#include "fields/data_edit.h"

#include <gtest/gtest.h>

#include <string>

#include "fields/exceptions.h"

namespace velmor::components {
namespace {

struct EntryCase {
    const char* typed;
    bool integerOnly;
    bool hex;
    Extended minVal;
    Extended maxVal;
    const char* shown;    // text after the check
    const char* message;  // empty when the entry is valid
};

const EntryCase kEntryCases[] = {
    {"2*3", false, false, 1, 10, "6", ""},
    {"12", false, false, 1, 10, "10", "Entry must be less than or equal to 10"},
    {"0.5", false, false, 1, 10, "1", "Entry must be greater than or equal to 1"},
    {"1/3", false, false, 0, 1, "0.333333333333333333", ""},
    {"2.5", true, false, 1, 10, "2.5", "Entry must be an integer."},
    {"x", true, false, 1, 10, "x", "Entry must be a valid integer."},
    {"x", false, false, 1, 10, "x", "Entry could not be evaluated:\rinvalid character(s) in expression"},
    {"", false, false, 1, 10, "", "Entry could not be evaluated:\rentry cannot be blank"},
    {"$B", false, true, 0, 100, "$000B", ""},
    {"$1F+1", false, true, 0, 1000000, "$0020", ""},
    {"300", false, true, 0, 255, "$00FF", "Entry must be less than or equal to $00FF"},
    // Arithmetic faults are reported like entry errors and leave the text as typed.
    {"1/0", false, false, 0, 10, "1/0", "Floating point division by zero"},
    {"ln(0-1)", true, false, 0, 10, "ln(0-1)", "Invalid floating point operation"},
    // Below the smallest normal double the analysis would read the value with fewer digits than it has.
    {"1e-310", false, false, -1, 1, "1e-310", "Floating point underflow"},
};

TEST(DataEditValidate, ShowsTheValueOrTheMessageOfEachEntry) {
    for (const EntryCase& c : kEntryCases) {
        SCOPED_TRACE(c.typed);
        TDataEdit field;
        field.SetHex(c.hex);
        field.SetIntegerOnly(c.integerOnly);
        field.SetMaxVal(c.maxVal);
        field.SetMinVal(c.minVal);
        field.SetText(c.typed);
        EXPECT_EQ(field.Validate(), c.message);
        EXPECT_EQ(field.Text(), c.shown);
        EXPECT_EQ(field.Valid(), std::string(c.message).empty());
    }
}

TEST(DataEditValidate, AFailedCheckClearsAnEarlierSuccess) {
    TDataEdit field;
    field.SetText("4");
    EXPECT_EQ(field.Validate(), "");
    EXPECT_TRUE(field.Valid());
    field.SetText("4+");
    EXPECT_EQ(field.Validate(), "Entry could not be evaluated:\rinvalid expression");
    EXPECT_FALSE(field.Valid());
}

TEST(DataEditBounds, IntegerOnlyHoldsTheDefaultBoundsInThe32BitRange) {
    TDataEdit field;
    EXPECT_EQ(field.MaxVal(), TDataEdit::kUnlimited);
    EXPECT_EQ(field.MinVal(), -TDataEdit::kUnlimited);
    field.SetIntegerOnly(true);
    EXPECT_EQ(field.MinVal(), -2147483648.0L);
    EXPECT_EQ(field.MaxVal(), 2147483647.0L);
    field.SetMaxVal(1e30L);
    EXPECT_EQ(field.MaxVal(), 2147483647.0L);
}

TEST(DataEditBounds, ABoundCrossingTheOtherStopsAtIt) {
    TDataEdit field;
    field.SetMaxVal(10);
    field.SetMinVal(20);
    EXPECT_EQ(field.MinVal(), 10);
    field.SetMinVal(5);
    field.SetMaxVal(1);
    EXPECT_EQ(field.MaxVal(), 5);
}

TEST(DataEditBounds, ABoundExcludingTheValuePullsItIn) {
    TDataEdit field;
    field.SetText("50");
    field.SetMaxVal(45);
    EXPECT_EQ(field.Text(), "45");
    field.SetMinVal(-45);
    EXPECT_EQ(field.Text(), "45");
    field.SetText("-50");
    field.SetMinVal(-45);
    EXPECT_EQ(field.Text(), "-45");
    // A text that does not evaluate is left for the check on leaving the field.
    field.SetText("abc");
    field.SetMaxVal(40);
    EXPECT_EQ(field.Text(), "abc");
    EXPECT_EQ(field.MaxVal(), 40);
}

TEST(DataEditBounds, SetNumberClampsButLoadingStoresAsGiven) {
    TDataEdit field;
    field.SetMinVal(2);
    field.SetMaxVal(300);
    field.SetNumber(1200);
    EXPECT_EQ(field.Text(), "300");
    field.SetNumber(2.5);
    EXPECT_EQ(field.Text(), "2.5");

    TDataEdit loaded;
    loaded.SetLoading(true);
    loaded.SetMinVal(10);
    loaded.SetMaxVal(1);
    loaded.SetNumber(72);
    loaded.SetIntegerOnly(true);
    EXPECT_EQ(loaded.MinVal(), 10);
    EXPECT_EQ(loaded.MaxVal(), 1);
    EXPECT_EQ(loaded.Text(), "72");
}

TEST(DataEditFormat, HexadecimalAndGeneralForms) {
    struct Case {
        bool hex;
        Extended value;
        const char* text;
    };
    const Case cases[] = {
        {true, 10, "$000A"},    {true, 2.5, "$0002"},
        {true, 3.5, "$0004"},   {true, 0x12345, "$12345"},
        {false, 1e20L, "1E20"}, {false, -1e-7L, "-1E-7"},
        {false, 0.1L, "0.1"},   {false, 123456789012345678.0L, "123456789012345678"},
    };
    for (const Case& c : cases) EXPECT_EQ(TDataEdit::FormatNumber(c.hex, c.value), c.text);
    EXPECT_THROW(TDataEdit::FormatNumber(true, 1e30L), EInvalidOp);
}

TEST(DataEditUnits, TemplatesExpandPerUnitSystem) {
    struct Case {
        const char* units;
        int system;
        const char* expanded;
    };
    const Case cases[] = {
        {"F/L^2", 1, "lbs/in^2"}, {"F/L^2", 2, "kN/m^2"}, {"F/L2^2", 1, "lbs/ft^2"}, {"F/L2^2", 2, "kN/m^2"},
        {"F1-L", 1, "kips-in"},   {"F1/F", 1, "kips/F"},  {"F/L2^3", 3, "F/L2^3"},   {"L1/L3", 2, "mm/L3"},
        {"F4", 1, "lb-sec2/in"},  {"F6-L2", 2, "Mg-m"},   {"deg.", 1, "deg."},       {"in", 2, "in"},
    };
    for (const Case& c : cases) {
        TDataEdit field;
        field.SetUnitsString(c.units);
        field.SetUnits(c.system);
        EXPECT_EQ(field.ExpandUnits(), c.expanded) << c.units << " in unit system " << c.system;
    }
}

TEST(DataEditUnits, UnitSystemIsClampedAndLabelNeedsATemplateForBrackets) {
    TDataEdit field;
    field.SetUnits(0);
    EXPECT_EQ(field.Units(), 1);
    field.SetUnits(7);
    EXPECT_EQ(field.Units(), 3);
    field.SetCaption("&Height");
    EXPECT_EQ(field.LabelText(), "&Height");
    field.SetUnitsString("L2");
    field.SetUnits(1);
    EXPECT_EQ(field.LabelText(), "&Height (ft)");
}

}  // namespace
}  // namespace velmor::components
