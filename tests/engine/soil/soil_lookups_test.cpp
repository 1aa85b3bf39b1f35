#include "soil/soil_lookups.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <memory>
#include <string>

#include "runtime/run_errors.h"
#include "soil_test_support.h"

namespace velmor::engine {
namespace {

using soiltest::SoilRun;

// Two layers from 0 to 100 and from 100 to 200 below the excavation surface; one column of the strength
// table takes the four values given.
void twoLayerTable(EngineState& st, StrengthColumn SoilModel::*column, const std::array<double, 4>& values) {
    SoilModel& s = st.soil;
    s.layerCount = 2;
    s.strengthCount = 4;
    s.top[1] = 0.0;
    s.bottom[1] = 100.0;
    s.top[2] = 100.0;
    s.bottom[2] = 200.0;
    const double depths[] = {0.0, 100.0, 100.0, 200.0};
    for (int i = 1; i <= 4; ++i) {
        s.depth[i] = depths[i - 1];
        (s.*column)[i] = values[i - 1];
    }
    st.wallSoil.wp = 24.0;
}

// Exact arithmetic on a few terms: a relative 1e-12 leaves room only for rounding.
void expectClose(double expected, double actual, const std::string& what) {
    EXPECT_NEAR(actual, expected, 1e-12 * std::max(1.0, std::fabs(expected))) << what;
}

TEST(SoilLookups, CohesionTakesTheLowerLayerAtABoundaryUnlessItIsAbsent) {
    const struct {
        std::array<double, 4> c;
        double depth;
        double expected;
    } cases[] = {
        {{2, 4, 10, 20}, 25.0, 2.5},    // inside the first layer
        {{2, 4, 10, 20}, 0.0, 2.0},     // the first point
        {{2, 4, 10, 20}, -50.0, 1.0},   // above the table: the first segment extended
        {{2, 4, 10, 20}, 100.0, 10.0},  // boundary: the lower layer's top value
        {{2, 4, 0, 20}, 100.0, 4.0},    // lower value absent: the upper layer's bottom value
        {{2, 4, 10, 20}, 150.0, 15.0},  // inside the second layer
        {{2, 4, 10, 20}, 200.0, 20.0},  // the last point
    };
    auto st = std::make_unique<EngineState>();
    for (const auto& c : cases) {
        twoLayerTable(*st, &SoilModel::cohesion, c.c);
        expectClose(c.expected, StrengthAtDepth(*st, c.depth), "depth " + std::to_string(c.depth));
    }
}

TEST(SoilLookups, AngleE50AndSixthValueAverageAtABoundary) {
    const struct {
        std::array<double, 4> v;
        double depth;
        double expected;
    } cases[] = {
        {{2, 4, 10, 20}, 100.0, 7.0},   // the mean of both layers
        {{2, 0, 10, 20}, 100.0, 10.0},  // upper absent: the lower value
        {{2, 4, 0, 20}, 100.0, 4.0},    // lower absent: the upper value
        {{2, 4, -1, 20}, 100.0, 4.0},   // a negative value counts as absent
        {{2, 0, 0, 20}, 100.0, 0.0},    // both absent
        {{2, 4, 10, 20}, 50.0, 3.0},    // inside a layer
        {{2, 4, 10, 20}, 200.0, 20.0},  // the last point
    };
    auto st = std::make_unique<EngineState>();
    for (const auto& c : cases) {
        const std::string what =
            "depth " + std::to_string(c.depth) + " values " + std::to_string(c.v[1]) + "," + std::to_string(c.v[2]);
        twoLayerTable(*st, &SoilModel::frictionAngle, c.v);
        expectClose(c.expected, FrictionAngleAtDepth(*st, c.depth), "phi " + what);
        twoLayerTable(*st, &SoilModel::e50, c.v);
        expectClose(c.expected, E50AtDepth(*st, c.depth), "E50 " + what);
        twoLayerTable(*st, &SoilModel::sixthValue, c.v);
        expectClose(c.expected, InterpolateSoilParameter(*st, c.depth), "sixth " + what);
    }
}

TEST(SoilLookups, BelowTheStrengthTable) {
    auto st = std::make_unique<EngineState>();
    twoLayerTable(*st, &SoilModel::cohesion, {2, 4, 10, 20});
    twoLayerTable(*st, &SoilModel::frictionAngle, {0.5, 0.5, 0.6, 0.7});
    twoLayerTable(*st, &SoilModel::e50, {0.01, 0.01, 0.02, 0.03});
    twoLayerTable(*st, &SoilModel::sixthValue, {50, 50, 60, 70});
    try {
        StrengthAtDepth(*st, 260.0);
        ADD_FAILURE() << "cohesion below the table must stop the run";
    } catch (const rt::StopRun& stop) {
        EXPECT_EQ(stop.code(), "1");
        EXPECT_EQ(
            stop.message(),
            "\n                             **** WARNING ****\n     THE VALUE OF X =  0.3D+03IS BEYOND THE EXTENT "
            "OF\n     THE INPUT STRENGTH CURVE");
    }
    try {
        FrictionAngleAtDepth(*st, 260.0);
        ADD_FAILURE() << "friction angle below the table must stop the run";
    } catch (const rt::StopRun& stop) {
        EXPECT_EQ(stop.code(), "");
        EXPECT_EQ(stop.message(),
                  "\n                             **** WARNING ****\n     THE VALUE OF X =  0.3D+03 IS BEYOND THE "
                  "EXTENT OF\n     THE INPUT PHI CURVE");
    }
    // E50 and the sixth value keep the last point's value below the table.
    EXPECT_EQ(E50AtDepth(*st, 250.0), 0.03);
    EXPECT_EQ(InterpolateSoilParameter(*st, 250.0), 70.0);
}

TEST(SoilLookups, AverageStrengthOfALayer) {
    SoilRun run;
    EngineState& st = *run.st;
    twoLayerTable(st, &SoilModel::cohesion, {2, 4, 10, 20});
    Engine e = run.engine();
    const struct {
        double depth;
        int layer;
        double expected;
    } cases[] = {
        {-1.0, 1, 0.0},                   // above the top of layer 1
        {50.0, 1, 2.5},                   // mean of 2 and 3 over the top half
        {150.0, 2, 12.5},                 // mean of 10 and 15
        {100.000001, 2, 10.0},            // at the layer top (within a part in a million): its strength
        {100.0, 1, 0.0},                  // at the layer's bottom point
        {150.0, 1, 0.0},                  // below its layer, inside the table
        {250.0, 2, (10.0 + 25.0) / 2.0},  // below the table: extrapolated, with a warning
    };
    for (const auto& c : cases) {
        expectClose(c.expected, AverageStrength(e, c.depth, c.layer), "depth " + std::to_string(c.depth));
    }
    EXPECT_EQ(run.report(),
              "\n                             **** WARNING ****\n     THE VALUE OF X = 0.25E+03IS BEYOND THE EXTENT OF "
              "THE/     INPUT CURVE FOR STRENGTH\n");
}

TEST(SoilLookups, AverageUnitWeightIsTheMeanOverTheDepth) {
    auto st = std::make_unique<EngineState>();
    SoilModel& s = st->soil;
    s.top[1] = 0.0;
    const struct {
        std::array<double, 4> depth, weight;
        int count;
        double z;
        double expected;
    } cases[] = {
        // A step at 40 from 0.06 to 0.03: the mean of a step function.
        {{0, 40, 40, 100}, {0.06, 0.06, 0.03, 0.03}, 4, 20.0, 0.06},
        {{0, 40, 40, 100}, {0.06, 0.06, 0.03, 0.03}, 4, 40.0, 0.06},
        {{0, 40, 40, 100}, {0.06, 0.06, 0.03, 0.03}, 4, 70.0, (40 * 0.06 + 30 * 0.03) / 70},
        {{0, 40, 40, 100}, {0.06, 0.06, 0.03, 0.03}, 4, 100.0, (40 * 0.06 + 60 * 0.03) / 100},
        {{0, 40, 40, 100}, {0.06, 0.06, 0.03, 0.03}, 4, -1.0, 0.0},
        // A weight growing linearly from 0.02 to 0.04: the mean to 50 is that of 0.02 and 0.03.
        {{0, 100, 0, 0}, {0.02, 0.04, 0, 0}, 2, 50.0, 0.025},
        // At the surface: the first positive weight.
        {{0, 40, 40, 100}, {0.0, 0.0, 0.03, 0.03}, 4, 0.0, 0.03},
    };
    for (const auto& c : cases) {
        s.unitWeightCount = c.count;
        for (int j = 1; j <= 4; ++j) {
            s.unitWeightDepth[j] = c.depth[j - 1];
            s.unitWeight[j] = c.weight[j - 1];
        }
        expectClose(c.expected, AverageUnitWeight(*st, c.z), "depth " + std::to_string(c.z));
    }
    try {
        AverageUnitWeight(*st, 100.5);
        ADD_FAILURE() << "a depth below the unit-weight table must stop the run";
    } catch (const rt::StopRun& stop) {
        EXPECT_EQ(stop.code(), "4");
        EXPECT_EQ(stop.message(), "");
    }
}

TEST(SoilLookups, StiffClayCoefficientsAtTheirSinglePrecisionValues) {
    auto st = std::make_unique<EngineState>();
    st->wallSoil.wp = 24.0;
    st->soil.referenceDepth = 10.0;
    const struct {
        double ratio;  // x / b below the reference depth
        double staticA, cyclicA;
    } cases[] = {
        {0.0, 0.22300000488758087, 0.20000000298023224},
        {0.5, (double(0.223f) + double(0.46f)) / 2, (double(0.2f) + double(0.29f)) / 2},
        {2.0, 0.550000011920929, 0.30000001192092896},
        {3.0, 0.5899999737739563, 0.30000001192092896},
        {4.0, 0.6000000238418579, 0.30000001192092896},  // cyclic: the flat last segment
        {8.0, 0.6000000238418579, 0.30000001192092896},  // beyond the table
        {-0.5, double(0.223f) - 0.5 * (double(0.46f) - double(0.223f)),
         double(0.2f) - 0.5 * (double(0.29f) - double(0.2f))},
    };
    for (const auto& c : cases) {
        const double depth = 10.0 + c.ratio * 24.0;
        expectClose(c.staticA, StiffClayStaticA(*st, depth), "static at " + std::to_string(c.ratio));
        expectClose(c.cyclicA, StiffClayCyclicA(*st, depth), "cyclic at " + std::to_string(c.ratio));
    }
}

TEST(SoilLookups, SandCoefficientsAgainstDepthOverWidth) {
    auto st = std::make_unique<EngineState>();
    st->wallSoil.wp = 24.0;
    SetDepthRatioBreakpoints(st->soil);
    const struct {
        double ratio;
        double a, b;
    } cases[] = {
        {0.0, double(2.83f), double(2.14f)},
        {0.25, (double(2.83f) + double(2.48f)) / 2, (double(2.14f) + double(1.83f)) / 2},
        {3.0, double(1.06f), double(0.71f)},
        {3.5, (double(1.06f) + double(0.90f)) / 2, (double(0.71f) + double(0.53f)) / 2},
        {10.0, double(0.88f), double(0.50f)},  // beyond the table: the flat last segment
        {-0.5, 2 * double(2.83f) - double(2.48f), 2 * double(2.14f) - double(1.83f)},
    };
    for (const auto& c : cases) {
        const double depth = c.ratio * 24.0;
        expectClose(c.a, CoefficientAtDepthRatio(*st, depth, kSandStaticA), "A at " + std::to_string(c.ratio));
        expectClose(c.b, CoefficientAtDepthRatio(*st, depth, kSandStaticB), "B at " + std::to_string(c.ratio));
    }
}

TEST(SoilLookups, SpacingFormulaWithoutReductionFactors) {
    auto st = std::make_unique<EngineState>();
    st->wallSoil.freeHeight = 60.0;
    const struct {
        double wa, wp, depthBelowTop;
        double expected;
    } cases[] = {
        {48.0, 24.0, 60.0, 0.78338046},   // 0.5292 x 2^0.5659 at the free height
        {48.0, 24.0, 300.0, 0.78338046},  // and below it
        {48.0, 24.0, 59.9, 1.0},          // above the excavation level
        {25.2, 24.0, 100.0, 1.0},         // ratio 1.05: no reduction below 1.1
        {84.0, 24.0, 100.0, 1.0},         // ratio 3.5: no reduction from 3.1
        {48.0, 0.0, 100.0, 1.0},          // no width: no finite ratio
    };
    for (const auto& c : cases) {
        st->wallSoil.wa = c.wa;
        st->wallSoil.wp = c.wp;
        // The formula's constants are single precision; 1e-8 is the precision of the expected value.
        EXPECT_NEAR(PMultiplierAtDepth(*st, c.depthBelowTop), c.expected, 1e-8) << c.wa << "/" << c.wp;
        EXPECT_EQ(YMultiplierAtDepth(*st, c.depthBelowTop), 1.0);
    }
}

TEST(SoilLookups, ReductionFactorTable) {
    auto st = std::make_unique<EngineState>();
    WallSoilInput& w = st->wallSoil;
    w.wa = 48.0;
    w.wp = 24.0;
    const double depth[] = {60, 120, 120, 180};
    const double p[] = {0.5, 0.7, 0.9, 1.0};
    const double y[] = {2, 3, 4, 5};
    w.pFactorCount = w.yFactorCount = 4;
    for (int i = 1; i <= 4; ++i) {
        w.factorDepth[i] = depth[i - 1];
        w.pFactor[i] = p[i - 1];
        w.yFactor[i] = y[i - 1];
    }
    const struct {
        double z, p, y;
    } cases[] = {
        {50.0, 1.0, 1.0},   // above the first row
        {60.0, 0.5, 2.0},   // the first row
        {90.0, 0.6, 2.5},   // inside a segment
        {120.0, 0.9, 4.0},  // two rows at one depth: the lower one
        {180.0, 1.0, 5.0},  // the last row
        {181.0, 1.0, 1.0},  // below the last row
    };
    for (const auto& c : cases) {
        expectClose(c.p, PMultiplierAtDepth(*st, c.z), "p at " + std::to_string(c.z));
        expectClose(c.y, YMultiplierAtDepth(*st, c.z), "y at " + std::to_string(c.z));
    }
    w.pFactorCount = w.yFactorCount = 1;
    EXPECT_EQ(PMultiplierAtDepth(*st, 60.0), 1.0);
    EXPECT_EQ(YMultiplierAtDepth(*st, 60.0), 1.0);
}

}  // namespace
}  // namespace velmor::engine
