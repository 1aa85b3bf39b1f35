#include "runtime/engine_math.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "runtime/run_errors.h"

namespace velmor::rt {
namespace {

TEST(EngineMath, NearestIntegerRoundsHalvesAwayFromZero) {
    const struct {
        double x;
        int32_t expected;
    } cases[] = {{2.5, 3},
                 {-2.5, -3},
                 {2.4999999, 2},
                 {0.5, 1},
                 {-0.5, -1},
                 {0.49999999999999994, 0},
                 {12.0 / 12.0, 1},
                 {2147483647.0, 2147483647},
                 {-2147483648.0, -2147483647 - 1}};
    for (const auto& c : cases) {
        EXPECT_EQ(nint(c.x), c.expected) << c.x;
        EXPECT_EQ(anint(c.x), double(c.expected)) << c.x;
    }
}

TEST(EngineMath, NearestIntegerOutsideTheIntegerRangeIsAFault) {
    for (double x : {2147483647.5, -2147483649.0, 1e300, std::numeric_limits<double>::quiet_NaN(),
                     std::numeric_limits<double>::infinity()}) {
        EXPECT_THROW(nint(x), RecordFault) << x;
    }
}

TEST(EngineMath, IntegerPowers) {
    EXPECT_EQ(ipow(2.0, 10), 1024.0);
    EXPECT_EQ(ipow(2.0, -2), 0.25);
    EXPECT_EQ(ipow(-3.0, 3), -27.0);
    EXPECT_EQ(ipow(7.5, 0), 1.0);
    EXPECT_EQ(ipow(1.1, 2), 1.1 * 1.1);
    EXPECT_EQ(ipow(1.1, 3), 1.1 * (1.1 * 1.1));
    EXPECT_EQ(ipow(1.0, std::numeric_limits<int>::min()), 1.0);
}

}  // namespace
}  // namespace velmor::rt
