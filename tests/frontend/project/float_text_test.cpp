#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "project/program_data.h"

namespace velmor::project {
namespace {

// The writers' text must be exactly the general format at 8 digits, whichever way it is computed.
TEST(FloatText, GivesTheGeneralFormatAtEightDigitsForEveryKindOfValue) {
    const long double fixed[] = {
        1,
        -1,
        120,
        0.069444444L,
        120.0L / 1728,
        5.34e9L,
        1e6L,
        4e9L,
        3e-5L,
        0.001L,
        0.0001L,
        0.00001L,
        99999999,
        99999999.5L,
        99999998.5L,
        100000005,
        100000015,
        123456785,
        0.5L,
        1e8L,
        1e-19L,
        1e26L,
        1e30L,
        1e-30L,
        1e4000L,
        1e-4000L,
        39.3701L * 0.0254L,
        224.8089L,
        0.004448222468060650624L,
        12345678.5L,
    };
    for (long double v : fixed) {
        EXPECT_EQ(FloatToText(v), components::formatGeneral(v, 8)) << static_cast<double>(v);
        EXPECT_EQ(FloatToText(-v), components::formatGeneral(-v, 8));
    }
    EXPECT_EQ(FloatToText(0), "0");
    EXPECT_EQ(FloatToText(120.0L / 1728), "0.069444444");
    EXPECT_EQ(FloatToText(5.34e9L), "5.34E9");
    EXPECT_EQ(FloatToText(3e-5L), "3E-5");

    std::mt19937_64 random(20130414);
    std::uniform_real_distribution<double> exponent(-25, 25);
    std::uniform_int_distribution<int> digits(1, 9);
    for (int i = 0; i < 20000; ++i) {
        // Random magnitudes, and values that round at the eighth digit of short decimals.
        long double v = std::pow(10.0L, exponent(random)) * (1 + static_cast<long double>(random() % 1000000) / 1e6L);
        if (i % 2) v = std::round(v * std::pow(10.0L, digits(random))) / std::pow(10.0L, digits(random));
        ASSERT_EQ(FloatToText(v), components::formatGeneral(v, 8)) << static_cast<double>(v);
    }
}

}  // namespace
}  // namespace velmor::project
