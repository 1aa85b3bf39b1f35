#include "fields/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <locale>
#include <sstream>
#include <string>

#include "components/comma_locale.h"

namespace velmor::components {
namespace {

struct FormatCase {
    Extended value;
    int digits;
    const char* expected;
};

const FormatCase formatCases[] = {
    {0.0L, 8, "0"},
    {-0.0L, 18, "0"},
    {1.0L, 8, "1"},
    {-2.5L, 8, "-2.5"},
    {100.0L, 8, "100"},
    {0.1L + 0.2L, 18, "0.3"},
    {2e20L, 18, "2E20"},
    {1e-5L, 8, "1E-5"},
    {-1.5e-7L, 18, "-1.5E-7"},
    {0.0001L, 8, "0.0001"},
    {0.00012345L, 3, "0.000123"},
    {12345678.0L, 8, "12345678"},
    {123456789.0L, 8, "1.2345679E8"},
    // Rounding carries into a new digit, which moves the value into scientific notation.
    {99999999.5L, 8, "1E8"},
    {1234.5L, 3, "1.23E3"},
    {1e17L, 18, "100000000000000000"},
    {1e18L, 18, "1E18"},
    {1.0L / 3.0L, 8, "0.33333333"},
    {2.0L / 3.0L, 18, "0.666666666666666667"},
    {32.80839895L, 8, "32.808399"},
    {std::numeric_limits<Extended>::infinity(), 8, "INF"},
    {-std::numeric_limits<Extended>::infinity(), 8, "-INF"},
    {std::numeric_limits<Extended>::quiet_NaN(), 8, "NAN"},
};

TEST(NumberText, GeneralFormatAtGivenDigits) {
    for (const FormatCase& c : formatCases) {
        EXPECT_EQ(formatGeneral(c.value, c.digits), c.expected) << "digits " << c.digits;
    }
}

struct ParseCase {
    const char* text;
    bool ok;
    Extended value;
};

const ParseCase parseCases[] = {
    {"12", true, 12.0L},
    {"+12", true, 12.0L},
    {"-1.5", true, -1.5L},
    {".5", true, 0.5L},
    {"5.", true, 5.0L},
    {"1.2E1", true, 12.0L},
    {"1e-5", true, 1e-5L},
    {"1E+5", true, 1e5L},
    {"0.1", true, 0.1L},
    // Subnormal values are held with fewer digits but still read as the nearest Extended.
    {"1e-4940", true, 1e-4940L},
    {"-0.000001e-4940", true, -1e-4946L},
    {"3.6451995318824746e-4951", true, std::numeric_limits<Extended>::denorm_min()},
    // Far below the smallest subnormal: the nearest Extended is zero.
    {"1e-5000", true, 0.0L},
    {"1.18973149535723176502e4932", true, std::numeric_limits<Extended>::max()},
    {"1.2e4932", false, 0},
    {"", false, 0},
    {"-", false, 0},
    {".", false, 0},
    {"1,5", false, 0},
    {" 1", false, 0},
    {"1 ", false, 0},
    {"1e", false, 0},
    {"1e+", false, 0},
    {"1.2.3", false, 0},
    {"--1", false, 0},
    {"12abc", false, 0},
    {"0x10", false, 0},
    {"inf", false, 0},
    {"nan", false, 0},
    {"1e5000", false, 0},
};

TEST(NumberText, StrictDecimalParsing) {
    for (const ParseCase& c : parseCases) {
        Extended value = -99;
        EXPECT_EQ(tryParseDecimal(c.text, value), c.ok) << '"' << c.text << '"';
        if (c.ok) {
            EXPECT_EQ(value, c.value) << '"' << c.text << '"';
        }
    }
}

// Eighteen digits carry an Extended closely enough that the written-back text reads as the same value to
// within one part in 1e17, the resolution of the text.
TEST(NumberText, EighteenDigitRoundTrip) {
    const Extended values[] = {1.0L / 3.0L, -2.0L / 7.0L, 6.02214076e23L, 1.0L / 81.0L * 1e-9L};
    for (Extended v : values) {
        Extended back = 0;
        ASSERT_TRUE(tryParseDecimal(formatGeneral(v, 18), back));
        EXPECT_LE(std::fabs(back / v - 1.0L), 1e-17L) << formatGeneral(v, 18);
    }
}

// The program runs in a process whose locale may use a decimal comma; number text must not follow it,
// neither the C++ global locale nor the C library's.
TEST(NumberText, IgnoresProcessLocale) {
    const test::CommaLocale comma;
    std::ostringstream localised;
    localised.imbue(std::locale());
    localised << 1234.5;
    // The comma locale is in force for C++ streams, so a formatter that followed it would fail below.
    ASSERT_EQ(localised.str(), "1.234,5");
    if (!comma.cLocale().empty()) {
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "%.1f", 2.5);
        ASSERT_EQ(std::string(buffer), "2,5") << comma.cLocale();
    }

    EXPECT_EQ(formatGeneral(2.5L, 8), "2.5");
    EXPECT_EQ(formatGeneral(1234567.5L, 18), "1234567.5");
    EXPECT_EQ(formatGeneral(-1.5e-7L, 18), "-1.5E-7");
    Extended value = 0;
    EXPECT_TRUE(tryParseDecimal("2.5", value));
    EXPECT_EQ(value, 2.5L);
    EXPECT_TRUE(tryParseDecimal("1e-4940", value));
    EXPECT_EQ(value, 1e-4940L);
    EXPECT_FALSE(tryParseDecimal("2,5", value));
    EXPECT_FALSE(tryParseDecimal("1.234,5", value));
}

}  // namespace
}  // namespace velmor::components
