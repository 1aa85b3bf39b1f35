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

TEST(EngineMath, NearestIntegerOfAQuotientTakesMetricHalvesAsHalves) {
    // 6.7818 m / 0.1524 m and 0.5334 m / 0.1524 m are 44.5 and 3.5 exactly, but in doubles they come out a
    // unit in the last place below the half, where nint rounds down. They must round away from zero as
    // 267 in / 6 in does, and so must 183 in over an increment moved in its seventh digit. A quotient a part
    // in 10^5 from the half is not a tie.
    const struct {
        double a, b;
        int32_t expected;
    } cases[] = {{6.7818, 0.1524, 45}, {0.5334, 0.1524, 4},        {267.0, 6.0, 45},          {-6.7818, 0.1524, -45},
                 {6.78, 0.1524, 44},   {5.1054, 0.1524, 34},       {33.5 - 33.5e-5, 1.0, 33}, {33.5 + 33.5e-5, 1.0, 34},
                 {0.0, 0.1524, 0},     {183.0000465, 6.000003, 31}};
    ASSERT_EQ(nint(6.7818 / 0.1524), 44);  // the trap the quotient form avoids
    for (const auto& c : cases) EXPECT_EQ(nintOfQuotient(c.a, c.b), c.expected) << c.a << " / " << c.b;
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
