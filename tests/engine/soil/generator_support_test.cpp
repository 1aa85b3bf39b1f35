#include "soil/generator_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "runtime/run_errors.h"
#include "soil/unit_labels.h"
#include "soil_test_support.h"

namespace velmor::engine {
namespace {

using soiltest::SoilRun;
using test::readFile;

TEST(GeneratorSupport, ExcavationLevelPressureShifts) {
    const struct {
        const char* name;
        double stress, pressure, spacing, b, c, ka;
        double clay, frictional;
    } cases[] = {
        // clay: b x stress - 2cb = 480 - 240; frictional: 20 x 0.25 x 24 - 2 x 5 x 0.5 x 24 = 0
        {"stress against cohesion", 20.0, 0.0, 1.0, 24.0, 5.0, 0.25, 240.0, 0.0},
        {"cohesion outweighs the stress", 0.5, 0.0, 1.0, 24.0, 5.0, 0.25, 0.0, 0.0},
        // the pressure per spacing 600 / 2 = 300, less 2cb = 48 or 2c sqrt(Ka) b = 24
        {"pressure per spacing", 0.0, 600.0, 2.0, 24.0, 1.0, 0.25, 252.0, 276.0},
        {"the larger term wins", 10.0, 600.0, 2.0, 24.0, 0.0, 0.25, 300.0, 300.0},
        {"a pressure at the 1e-4 floor counts as none", 10.0, 5e-5, 1.0, 24.0, 0.0, 0.25, 240.0, 60.0},
        {"shifts below their floors vanish", 1e-7, 0.0, 1.0, 24.0, 0.0, 0.25, 2.4e-6, 0.0},
    };
    for (const auto& c : cases) {
        auto st = std::make_unique<EngineState>();
        st->excavationLevel.stress = c.stress;
        st->excavationLevel.pressure = c.pressure;
        st->soil.spacingRatio = c.spacing;
        // A few products and differences: rounding only.
        EXPECT_NEAR(ClayPressureShift(*st, c.b, c.c), c.clay, 1e-12 * std::max(1.0, c.clay)) << c.name;
        EXPECT_NEAR(FrictionalPressureShift(*st, c.b, c.c, c.ka), c.frictional, 1e-12 * std::max(1.0, c.frictional))
            << c.name;
    }
    EXPECT_EQ(ShiftedResistance(kExcavationSide, 100.0, 30.0), 70.0);
    EXPECT_EQ(ShiftedResistance(kBackfillSide, 100.0, 30.0), 130.0);
}

TEST(GeneratorSupport, LayerResistanceIsTheTrapezoidSumOfTheExcavationSide) {
    // Stations at 10, 20 and 40 with pu 100, 300 and 500 on the excavation side. The backfill side's larger
    // values (and the sum left by an earlier layer of the same slot) must not count.
    const struct {
        const char* name;
        double factor;
        double expected;
    } cases[] = {
        // (100 + 300) / 2 x 10 + (300 + 500) / 2 x 20
        {"plain trapezoids", 1.0, 2000.0 + 8000.0},
        {"scaled by a residual ratio", 0.25, 0.25 * (2000.0 + 8000.0)},
    };
    for (const auto& c : cases) {
        auto soil = std::make_unique<SoilModel>();
        soil->layerResistance[2] = 777.0;
        LayerResistanceSum sum;
        const double d[] = {10.0, 20.0, 40.0};
        const double pu[] = {100.0, 300.0, 500.0};
        for (int s = 0; s < 3; ++s) {
            for (int side : {kExcavationSide, kBackfillSide}) {
                const StationSide at{
                    s + 1, side, s == 0, s == 2, d[s], d[s] + (side == kBackfillSide ? 60.0 : 0.0), 60.0 + d[s]};
                sum.add(*soil, 2, at, side == kExcavationSide ? pu[s] : 10.0 * pu[s], c.factor);
            }
            EXPECT_EQ(sum.previousDepth(), d[s]) << c.name;
        }
        // Halves, quarters and sums of integers: exact.
        EXPECT_EQ(soil->layerResistance[2], c.expected) << c.name;
    }
}

TEST(GeneratorSupport, EveryStationOfTheLayerOnBothSides) {
    SoilRun run;
    EngineState& st = *run.st;
    st.wallSoil.freeHeight = 120.0;
    st.soil.firstStation[2] = 6;
    st.soil.lastStation[2] = 7;
    st.soil.station[6][1] = 60.1;
    st.soil.station[7][1] = 81.0;
    st.soil.firstStation[3] = 1;
    st.soil.lastStation[3] = 0;
    Engine e = run.engine();
    std::vector<StationSide> seen;
    ForEachStationSide(e, 1, 2, [&](const StationSide& at) { seen.push_back(at); });
    const StationSide expected[] = {
        {6, kExcavationSide, true, false, 60.1, 60.1, 180.1},
        {6, kBackfillSide, true, false, 60.1, 180.1, 180.1},
        {7, kExcavationSide, false, true, 81.0, 81.0, 201.0},
        {7, kBackfillSide, false, true, 81.0, 201.0, 201.0},
    };
    ASSERT_EQ(seen.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(seen[i].station, expected[i].station) << i;
        EXPECT_EQ(seen[i].side, expected[i].side) << i;
        EXPECT_EQ(seen[i].firstOfLayer, expected[i].firstOfLayer) << i;
        EXPECT_EQ(seen[i].lastOfLayer, expected[i].lastOfLayer) << i;
        EXPECT_EQ(seen[i].d, expected[i].d) << i;
        EXPECT_EQ(seen[i].sideDepth, expected[i].sideDepth) << i;
        EXPECT_EQ(seen[i].depthBelowTop, expected[i].depthBelowTop) << i;
    }
    int visits = 0;
    ForEachStationSide(e, 1, 3, [&](const StationSide&) { ++visits; });
    EXPECT_EQ(visits, 0);
    for (int badLayer : {0, kSoilLayerSlots + 1}) {
        EXPECT_THROW(ForEachStationSide(e, 1, badLayer, [](const StationSide&) {}), rt::EndRun) << badLayer;
    }
    EXPECT_NE(run.report().find("     TOO MUCH DATA FOR AVAILABLE STORAGE"), std::string::npos);
}

TEST(GeneratorSupport, ScratchRecordsAndTheGuardAgainstValuesThatAreNotFinite) {
    SoilRun run;
    EngineState& st = *run.st;
    SetUnitLabels(st.labels, 1);
    st.soil.currentLayer = 2;
    st.soil.inputLayer[2] = 3;
    run.io.open(kCurveScratchUnit, "soildata", rt::Access::Write);
    Engine e = run.engine();
    WriteCurveHeader(e, 180.1);
    WriteCurvePoint(e, "(I5,1X,E10.3,1X,E10.3)", 1, 269.4, 1.2);
    EXPECT_EQ(st.soil.curvesWritten, 1);
    for (double bad : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
        EXPECT_THROW(WriteCurvePoint(e, "(I5,1X,E10.3,1X,E10.3)", 2, bad, 1.0), rt::EndRun);
        EXPECT_THROW(WriteCurvePoint(e, "(I5,1X,E10.3,1X,E10.3)", 2, 1.0, bad), rt::EndRun);
    }
    run.io.close(kCurveScratchUnit);
    EXPECT_EQ(readFile("soildata"), " 180.1 34\n    1  0.269E+03  0.120E+01\n");
    EXPECT_NE(run.report().find("\n     INPUT SOIL LAYER  3: THE P-Y CURVE AT    180.10 IN IS NOT FINITE\n"),
              std::string::npos);
}

TEST(GeneratorSupport, SideTitlesAndTheMultiplierLine) {
    SoilRun run;
    Engine e = run.engine();
    WriteSideTitle(e, kExcavationSide);
    WriteSideTitle(e, kBackfillSide);
    WriteMultiplierLine(e, {0.78338046, 1.0});
    EXPECT_EQ(run.report(), "\n\n         AT THE EXCAVATION SIDE\n\n\n         AT THE BACKFILL SIDE\n\n" +
                                std::string(21, ' ') + " P-Multiplier =  0.783E+00 Y-Multiplier =  0.100E+01\n");
}

}  // namespace
}  // namespace velmor::engine
