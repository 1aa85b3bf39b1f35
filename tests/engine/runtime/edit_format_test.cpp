#include "runtime/edit_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "runtime/record_io.h"
#include "runtime/run_errors.h"

namespace velmor::rt {
namespace {

struct FieldCase {
    char code;
    double value;
    int w;
    int d;
    const char* expected;
};

// Expected fields written out by hand from the descriptor rules: right-aligned, mantissa 0.ddd, the
// optional leading zero dropped only when the field is too narrow, asterisks on overflow.
const FieldCase kFieldCases[] = {
    {'I', 42, 5, 0, "   42"},
    {'I', -42, 3, 0, "-42"},
    {'I', 1234, 3, 0, "***"},
    {'I', -5, 1, 0, "*"},
    {'I', 0, 3, 0, "  0"},
    {'I', 7, 4, 3, " 007"},
    {'F', 12.0, 7, 3, " 12.000"},
    {'F', 0.5, 5, 3, "0.500"},
    {'F', 0.5, 4, 3, ".500"},
    {'F', -0.5, 6, 3, "-0.500"},
    {'F', -0.5, 5, 3, "-.500"},
    {'F', -0.5, 4, 3, "****"},
    {'F', 1000.0, 7, 3, "*******"},
    {'F', 999.9994, 7, 3, "999.999"},
    {'F', 999.9996, 7, 3, "*******"},  // rounds up to 1000.000
    {'F', -99.9994, 7, 3, "-99.999"},
    {'F', -100.0, 7, 3, "*******"},
    {'F', -0.001, 5, 2, " 0.00"},  // rounds to zero: no minus sign
    {'F', 9.99999, 7, 5, "9.99999"},
    {'F', 10.0, 7, 5, "*******"},
    {'F', 0.125, 5, 2, " 0.13"},  // an exact tie rounds away from zero
    {'F', -2.5, 4, 0, " -3."},
    {'F', 12.0, 10, 2, "     12.00"},
    {'F', 12345678.0, 10, 2, "**********"},
    {'E', 0.99996, 10, 3, " 0.100E+01"},
    {'E', 0.0, 10, 3, " 0.000E+00"},
    {'E', -0.0, 10, 3, " 0.000E+00"},
    {'E', 250.0, 13, 4, "   0.2500E+03"},
    {'E', -0.5, 13, 4, "  -0.5000E+00"},
    {'E', -100.0, 10, 3, "-0.100E+03"},
    {'E', 1.0e99, 10, 3, " 0.100+100"},
    {'E', 1.0e-100, 10, 3, " 0.100E-99"},
    {'E', 1.0e-101, 10, 3, " 0.100-100"},
    {'E', -1234.5, 9, 3, "-.123E+04"},
    {'E', -1234.5, 8, 3, "********"},
    {'E', double(1.0e-7f), 10, 3, " 0.100E-06"},
    {'E', 0.125, 10, 2, "  0.13E+00"},
    {'E', 123456.0, 13, 4, "   0.1235E+06"},
    {'D', 1500.0, 10, 3, " 0.150D+04"},
    {'F', std::numeric_limits<double>::quiet_NaN(), 7, 3, "*******"},
    {'E', std::numeric_limits<double>::infinity(), 10, 3, "**********"},
};

TEST(EditFormatFields, EachDescriptorWritesItsField) {
    for (const FieldCase& c : kFieldCases) {
        std::string got;
        if (c.code == 'I') {
            got = formatI(static_cast<long long>(c.value), c.w, c.d);
        } else if (c.code == 'F') {
            got = formatF(c.value, c.w, c.d);
        } else {
            got = formatE(c.value, c.w, c.d, c.code);
        }
        EXPECT_EQ(got, c.expected) << c.code << c.w << "." << c.d << " of " << c.value;
    }
}

struct RecordCase {
    const char* format;
    std::vector<FormatItem> items;
    std::vector<std::string> expected;
};

TEST(EditFormatRecords, DescriptorStringsMakeTheseRecords) {
    const RecordCase cases[] = {
        {"(10X,I3,7X,I2,3X,2(5X,E10.3))",
         {5, 3, 1.5, -0.25},
         {"            5        3         0.150E+01     -0.250E+00"}},
        // Reversion without a group restarts at the beginning, on a new record.
        {"(1X,2I3)", {1, 2, 3, 4, 5}, {"   1  2", "   3  4", "   5"}},
        // Reversion restarts at the last top-level group, with its repeat count.
        {"('X',I1,2(I1,'-'))", {1, 2, 3, 4, 5, 6, 7}, {"X12-3-", "4-5-", "6-7-"}},
        {"('X',I1,2(I1,'-'))", {1, 2, 3, 4, 5, 6}, {"X12-3-", "4-5-", "6-"}},
        // Literals and blanks after the last item are written; output stops at the next data descriptor.
        {"(I2,' END',2X)", {5}, {" 5 END  "}},
        {"(I2,' A',I2,' B')", {5}, {" 5 A"}},
        {"(2(5X,E10.3))", {1.0}, {"      0.100E+01     "}},
        // A record that starts and ends with "/".
        {"(/,A,/)", {"X"}, {"", "X", ""}},
        {"(/)", {}, {"", ""}},
        {"(/,/,/,'     END')", {}, {"", "", "", "     END"}},
        {"(3/)", {}, {"", "", "", ""}},
        {"(20X)", {}, {"                    "}},
        {"()", {}, {""}},
        {"(2(1X,2(I1)))", {1, 2, 3, 4}, {" 12 34"}},
        {"(A5,A1,A2,A)", {"AB", "3  ", "M", "hello"}, {"   AB3 Mhello"}},
        {"(L3,L1)", {true, false}, {"  TF"}},
        {"('S''',\"Q\"\"\")", {}, {"S'Q\""}},
        {"(2HAB,1X,I1)", {7}, {"AB 7"}},
        {"(5X,2I4,I3,1X,6E10.3)",
         {0, 10, 0, 1.0e6, 0.0, 0.0, 0.0, 0.0, -100.0},
         {"        0  10  0  0.100E+07 0.000E+00 0.000E+00 0.000E+00 0.000E+00-0.100E+03"}},
        {"(6X,'X = ',F7.3,A3)", {12.0, " IN"}, {"      X =  12.000 IN"}},
        {"(1X,F10.2,1X,I5)", {12.0, 33}, {"      12.00    33"}},
        {" ( I2 , 1X , I2 ) ", {1, 2}, {" 1  2"}},
    };
    for (const RecordCase& c : cases) {
        EXPECT_EQ(formatRecords(c.format, c.items), c.expected) << c.format;
    }
}

TEST(EditFormatRecords, BadDescriptorsAndMismatchedItemsAreFaults) {
    const struct {
        const char* format;
        std::vector<FormatItem> items;
    } cases[] = {
        {"(I3", {1}},  {"I3", {1}},    {"(Q3)", {1}}, {"(I3)", {1.5}},        {"(F7)", {1.0}}, {"(A3)", {1}},
        {"(L2)", {1}}, {"('abc)", {}}, {"(1X)", {1}}, {"(I2,2(1X))", {1, 2}}, {"(I3) x", {1}}, {"(E10.3)", {"text"}},
    };
    for (const auto& c : cases) {
        EXPECT_THROW(formatRecords(c.format, c.items), RecordFault) << c.format;
    }
}

TEST(ListDirectedWrite, ABlankThenTheValues) {
    EXPECT_EQ(formatList({1, 0, 2}), " 1 0 2");
    EXPECT_EQ(formatList({-3, 2.5}), " -3 2.5");
    EXPECT_EQ(formatList({12.0}), " 12.0");
    EXPECT_EQ(formatList({}), " ");
}

TEST(ListDirectedWrite, RealsReadBackExactly) {
    const double values[] = {0.1,
                             1.0 / 3.0,
                             -2.0e-300,
                             1.0e20,
                             12.0,
                             double(1.0e-7f),
                             6.02214076e23,
                             -0.0,
                             std::numeric_limits<double>::max(),
                             std::numeric_limits<double>::denorm_min()};
    for (double v : values) {
        std::string text = listReal(v);
        double back = 0.0;
        ASSERT_TRUE(parseListReal(text, back)) << text;
        EXPECT_EQ(back, v) << text;
        EXPECT_EQ(text.find_first_of("e,"), std::string::npos) << text;  // point or E, never a comma
    }
}

}  // namespace
}  // namespace velmor::rt
