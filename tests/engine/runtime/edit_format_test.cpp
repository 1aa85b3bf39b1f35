#include "runtime/edit_format.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <random>
#include <utility>

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
    // Digit counts at each step of the integer path: one, two, an odd and an even count, eighteen.
    {'F', 0.5, 4, 0, "  1."},
    {'F', 10.0, 6, 2, " 10.00"},
    {'F', 99.0, 5, 1, " 99.0"},
    {'F', 1.0e17, 20, 0, " 100000000000000000."},
    {'E', 9.5, 8, 1, " 0.1E+02"},
    {'E', 123456789.0, 16, 9, " 0.123456789E+09"},
    {'E', 1.0, 26, 18, "  0.100000000000000000E+01"},
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

// The kept parses are found by the address of a string and checked by its content: a string rewritten in
// place formats by its new content, and strings beyond the room kept for parses still format.
TEST(EditFormatRecords, KeptParsesFollowTheContentOfTheString) {
    const FormatItem item = 7;
    std::string format = "(I3)";
    std::string out;
    applyFormat(format, &item, 1, out);
    const char* const address = format.data();
    format.assign("(I5)");
    ASSERT_EQ(format.data(), address);
    applyFormat(format, &item, 1, out);
    EXPECT_EQ(out, "  7\n    7\n");
    for (int blanks = 1; blanks <= 1500; ++blanks) {
        const std::string many = "(" + std::to_string(blanks) + "X,I2)";
        out.clear();
        applyFormat(many, &item, 1, out);
        ASSERT_EQ(out, std::string(static_cast<std::size_t>(blanks), ' ') + " 7\n") << many;
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

// The reader takes short decimals by the digits as an integer scaled by an exact power of ten; glibc's
// strtod, which rounds every decimal correctly, is the independent reference. Tokens at the edges of that
// path (15 and 16 digits, scales of 22 and 23, a signed zero) and fields as the engine writes them.
TEST(ListDirectedRead, DecimalsReadAsCorrectlyRounded) {
    const char* const tokens[] = {
        "0.123E+03", "-0.100E-06", "-0.000E+00", "0.999E+99",         "0.307E-99",        "40.0",
        "-0.2",      "1.E5",       ".5",         "123456789012345",   "1234567890123456", "0.1E-22",
        "1E22",      "1E23",       "9E-23",      "999999999999999E7", "0.0000000000001",  "0.30000000000000004",
        "8.5e1",     "7e+000"};
    for (const char* token : tokens) {
        double value = 0.0;
        ASSERT_TRUE(parseListReal(token, value)) << token;
        const double expected = std::strtod(token, nullptr);
        EXPECT_EQ(value, expected) << token;
        EXPECT_EQ(std::signbit(value), std::signbit(expected)) << token;
    }
    const char* const refused[] = {"0.5E", "0.5E+", "1E1234", "1.2.3", "--1", "1e5x", "."};
    for (const char* token : refused) {
        double value = 7.0;
        EXPECT_FALSE(parseListReal(token, value)) << token;
        EXPECT_EQ(value, 7.0) << token;
    }
    std::mt19937_64 random(27);
    std::uniform_real_distribution<double> mantissa(-1.0, 1.0);
    std::uniform_int_distribution<int> exponent(-90, 90);
    for (int i = 0; i < 20000; ++i) {
        const double v = std::ldexp(mantissa(random), exponent(random));
        const double small = std::ldexp(mantissa(random), exponent(random) % 30);  // fits an F16.5 field
        for (const auto& [format, value] : {std::pair{"(E10.3)", v}, {"(E24.15)", v}, {"(F16.5)", small}}) {
            const std::string field = formatRecords(format, {value}).at(0);
            const std::string token = field.substr(field.find_first_not_of(' '));
            double back = 0.0;
            ASSERT_TRUE(parseListReal(token, back)) << token;
            ASSERT_EQ(back, std::strtod(token.c_str(), nullptr)) << token;
        }
    }
}

}  // namespace
}  // namespace velmor::rt

namespace velmor::rt {
namespace {

// Reference fields from the exact decimal expansion (to_chars carries every digit of a double when
// asked for enough), rounded half away from zero by hand: an independent check of the formatter's
// one-guard-digit rounding over many values.
std::string referenceDigits(double magnitude, std::chars_format form, int precision) {
    std::string buf(1200, '\0');
    auto res = std::to_chars(buf.data(), buf.data() + buf.size(), magnitude, form, precision + 60);
    return std::string(buf.data(), res.ptr);
}

std::string roundHalfUp(std::string digits, std::size_t keep, bool& carry) {
    bool up = digits[keep] >= '5';
    digits.resize(keep);
    carry = false;
    for (std::size_t i = keep; up && i-- > 0;) {
        if (digits[i] == '9') {
            digits[i] = '0';
        } else {
            ++digits[i];
            up = false;
        }
    }
    if (up) {
        digits.insert(digits.begin(), '1');
        carry = true;
    }
    return digits;
}

std::string fit(std::string body, bool negative, int w) {
    if (negative) body.insert(body.begin(), '-');
    if (static_cast<int>(body.size()) > w) {
        std::size_t zero = negative ? 1 : 0;
        if (body.compare(zero, 2, "0.") == 0) body.erase(zero, 1);
    }
    if (static_cast<int>(body.size()) > w) return std::string(static_cast<std::size_t>(w), '*');
    return std::string(static_cast<std::size_t>(w) - body.size(), ' ') + body;
}

std::string referenceF(double v, int w, int d) {
    std::string exact = referenceDigits(std::fabs(v), std::chars_format::fixed, d);
    std::size_t point = exact.find('.');
    bool carry = false;
    std::string digits = roundHalfUp(exact.substr(0, point) + exact.substr(point + 1), point + d, carry);
    std::size_t intDigits = point + (carry ? 1 : 0);
    bool nonZero = digits.find_first_not_of('0') != std::string::npos;
    return fit(digits.substr(0, intDigits) + "." + digits.substr(intDigits), v < 0 && nonZero, w);
}

std::string referenceE(double v, int w, int d) {
    if (v == 0.0) return fit("0." + std::string(static_cast<std::size_t>(d), '0') + "E+00", false, w);
    std::string exact = referenceDigits(std::fabs(v), std::chars_format::scientific, d - 1);
    std::size_t e = exact.find('e');
    int exponent = std::stoi(exact.substr(e + 1)) + 1;
    std::string all = exact.substr(0, 1) + exact.substr(2, e - 2);
    bool carry = false;
    std::string digits = roundHalfUp(all, static_cast<std::size_t>(d), carry);
    if (carry) {
        digits.pop_back();
        ++exponent;
    }
    int m = std::abs(exponent);
    std::string ex = m <= 99 ? std::string("E") + (exponent < 0 ? '-' : '+') + (m < 10 ? "0" : "") + std::to_string(m)
                             : std::string(1, exponent < 0 ? '-' : '+') + std::to_string(m);
    return fit("0." + digits + ex, v < 0, w);
}

TEST(EditFormatFields, RoundingAgreesWithTheExactExpansionOverManyValues) {
    std::mt19937_64 gen(20131414);
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    std::uniform_int_distribution<int> exponent(-12, 12);
    std::uniform_int_distribution<int> decimals(0, 6);
    std::vector<double> values = {0.125, -0.125, 2.5, 0.99995, 999.9995, 1.0e-7, 0.05, 0.15, 0.25, 1e15, -1e-300};
    for (int i = 0; i < 20000; ++i) {
        double v = mantissa(gen) * std::pow(10.0, exponent(gen));
        // Values on a short decimal grid make exact halves likely.
        if (i % 4 == 0) v = std::round(v * 1000.0) / 1000.0 + (i % 8 == 0 ? 0.0005 : 0.0);
        values.push_back(v);
    }
    for (double v : values) {
        const int d = decimals(gen);
        EXPECT_EQ(formatF(v, 12, d), referenceF(v, 12, d)) << v << " F12." << d;
        EXPECT_EQ(formatE(v, 13, d + 1, 'E'), referenceE(v, 13, d + 1)) << v << " E13." << d + 1;
    }
    // Where the exact integer rounding of a field meets its limits (64-bit digits, powers of ten beyond
    // 10^27, subnormals, exact halves, carries into a new digit), in wide fields with many decimals.
    // clang-format off
    const double limits[] = {0.5, 2.5, 0.125, 0.375, 9.5, 99.95, 0.9999999999999999, 9.9995, 999999999999999.9,
                             9.999999999999999e17, 1.0e18, 1.8446744073709552e19, 123456789012345678.0, 1.0e22, 1.0e27,
                             1.0e28, 1.0e-27, 1.0e-28, 2.2250738585072014e-308, 5.0e-324, 1.7976931348623157e308};
    // clang-format on
    for (double magnitude : limits) {
        for (double v : {magnitude, -magnitude}) {
            for (int d : {0, 1, 2, 3, 9, 15, 17, 20}) {
                EXPECT_EQ(formatF(v, 60, d), referenceF(v, 60, d)) << v << " F60." << d;
                if (d >= 1) {
                    EXPECT_EQ(formatE(v, 40, d, 'E'), referenceE(v, 40, d)) << v << " E40." << d;
                }
            }
        }
    }
}

}  // namespace
}  // namespace velmor::rt
