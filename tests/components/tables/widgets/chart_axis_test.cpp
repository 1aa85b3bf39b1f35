#include "tables/widgets/chart_axis.h"

#include <gtest/gtest.h>

#include "comma_locale.h"

namespace velmor::components {
namespace {

TEST(ChartAxis, ValuesInBothFormats) {
    struct Case {
        double value;
        AxisFormat format;
        const char* text;
    };
    const auto G = AxisFormat::Grouped;
    const auto E = AxisFormat::Exponent;
    const Case cases[] = {
        {1234.5678, G, "1,234.568"},
        {-1234567, G, "-1,234,567"},
        {0.0625, G, "0.063"},  // half away from zero
        {-0.0004, G, "0"},
        {999.9996, G, "1,000"},
        {12, G, "12"},
        {0.5, G, "0.5"},
        {100000, G, "100,000"},
        {0.1 + 0.2, G, "0.3"},
        {250000, E, "2.5E5"},
        {0.000123, E, "1.23E-4"},
        {-1234567, E, "-1.235E6"},
        {1, E, "1.0E0"},
        {0, E, "0.0E0"},
        {99999.5, E, "1.0E5"},
        {0.00099999, E, "1.0E-3"},
    };
    for (const Case& c : cases) EXPECT_EQ(formatAxisValue(c.value, c.format), c.text) << c.value;
    // The program runs under the user's locale; the labels keep "," for thousands and "." for decimals.
    velmor::test::CommaLocale comma;
    EXPECT_EQ(formatAxisValue(1234.5678, G), "1,234.568");
    EXPECT_EQ(formatAxisValue(0.000123, E), "1.23E-4");
}

TEST(ChartAxis, ExponentFormatForLargeOrTinyRanges) {
    struct Case {
        double minimum, maximum;
        AxisFormat format;
    };
    const Case cases[] = {
        {0, 250000, AxisFormat::Exponent},      {-150000, 0, AxisFormat::Exponent}, {0, 100000, AxisFormat::Grouped},
        {0.0001, 0.0005, AxisFormat::Exponent}, {0, 0.0005, AxisFormat::Exponent},  {0, 0, AxisFormat::Grouped},
        {-0.002, 0.0005, AxisFormat::Grouped},  {1, 5, AxisFormat::Grouped},
    };
    for (const Case& c : cases)
        EXPECT_EQ(chooseAxisFormat(c.minimum, c.maximum), c.format) << c.minimum << " " << c.maximum;
}

TEST(ChartAxis, ConstantValuesGetAnOrderedNonEmptyRange) {
    // 0.9 and 1.1 times the value; 1e-12 covers the rounding of those products.
    struct Case {
        double value, minimum, maximum;
    };
    const Case cases[] = {{5, 4.5, 5.5}, {-5, -5.5, -4.5}, {0, -1, 1}};
    for (const Case& c : cases) {
        const AxisRange r = constantAxisRange(c.value);
        EXPECT_NEAR(r.minimum, c.minimum, 1e-12) << c.value;
        EXPECT_NEAR(r.maximum, c.maximum, 1e-12) << c.value;
    }
    EXPECT_NEAR(dataAxisRange({3, 3, 3}).maximum, 3.3, 1e-12);
    EXPECT_EQ(dataAxisRange({2, -1, 7}).minimum, -1);
}

TEST(ChartAxis, TicksAtRoundStepsInsideTheRange) {
    struct Case {
        AxisRange range;
        std::vector<double> ticks;
    };
    const Case cases[] = {
        {{0, 10}, {0, 2, 4, 6, 8, 10}},
        {{4.5, 5.5}, {4.6, 4.8, 5.0, 5.2, 5.4}},
        {{-3, 250000}, {0, 100000, 200000}},  // step 100000: 50000 is below 250003 / 5
        {{1, 1}, {}},
    };
    for (const Case& c : cases) {
        const std::vector<double> ticks = axisTicks(c.range, 5);
        ASSERT_EQ(ticks.size(), c.ticks.size()) << c.range.minimum;
        // Ticks are products of an integer and the step; 1e-9 relative covers their rounding.
        for (std::size_t i = 0; i < ticks.size(); ++i) EXPECT_NEAR(ticks[i], c.ticks[i], 1e-9 * (1 + c.range.maximum));
    }
}

}  // namespace
}  // namespace velmor::components
