#include "fields/unit_codes.h"

#include <gtest/gtest.h>

namespace velmor::components {
namespace {

TEST(UnitCodes, FactorsOfCodes) {
    // Products of the single-code factors (3.280839895 ft/m, 39.37007874 in/m, 224.8089237 lbs/kN); relative
    // tolerance 1e-12 covers long-double rounding of a product of at most four factors.
    struct Case {
        const char* code;
        double factor;
        double chartFactor;
    };
    const Case cases[] = {
        {"", 1, 1},
        {"L2^3", 3.280839895 * 3.280839895 * 3.280839895, 3.280839895 * 3.280839895 * 3.280839895},
        {"F4", 5.7101483, 224.8089237},  // the chart codes have no F4: an implicit F0
        {"F6", 224.8089237 / 3.280839895, 224.8089237},  // slug = lbs-sec^2/ft, Mg = kN-sec^2/m
        {"F-L^2", 224.8089237 * 39.37007874 * 39.37007874, 224.8089237 * 39.37007874 * 39.37007874},
        {"F^2-L", 224.8089237 * 224.8089237 * 39.37007874, 224.8089237 * 224.8089237 * 39.37007874},
        {"L3", 1, 39.37007874},
        {"RAD.", 1, 1},
        {"SEE NOTES", 1, 1},
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(static_cast<double>(UnitFactor(c.code)), c.factor, 1e-12 * c.factor) << c.code;
        EXPECT_NEAR(static_cast<double>(ChartUnitFactor(c.code)), c.chartFactor, 1e-12 * c.chartFactor) << c.code;
    }
}

TEST(UnitCodes, ConversionBetweenSystems) {
    struct Case {
        int from, to;
        const char* code;
        double factor;
    };
    const Case cases[] = {
        {2, 1, "F/L2^3", 6.365879805},  // 20 kN/m^3 is 127.3 lbs/ft^3
        {1, 2, "F/L2^3", 1 / 6.365879805},
        {2, 1, "F-L/RAD.", 224.8089237 * 39.37007874},
        {2, 2, "L2", 1},
        {3, 1, "L2", 1},
        {1, 3, "L2", 1},
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(static_cast<double>(ConversionFactor(c.from, c.to, c.code)), c.factor, 1e-9 * c.factor) << c.code;
    }
    EXPECT_NEAR(static_cast<double>(20 * ConversionFactor(2, 1, "F/L2^3")), 127.3, 0.05);
}

}  // namespace
}  // namespace velmor::components
