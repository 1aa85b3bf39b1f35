#include "project/program_data.h"
#include "tables/column_kinds.h"

#include <gtest/gtest.h>

#include "fake_hooks.h"

namespace velmor::project {
namespace {

TEST(ProgramData, NewProjectHasItsDefaultsAndEveryPlainTableAtItsMinimumRows) {
    FakeHooks hooks;
    TProgramData data(hooks);
    EXPECT_EQ(hooks.closed, 1);
    EXPECT_EQ(hooks.modified, std::vector<bool>{false});
    EXPECT_EQ(data.FileName, "NewWall.vm4d");
    EXPECT_EQ(data.Title, "New Wall");
    EXPECT_EQ(data.Units, 1);
    EXPECT_EQ(data.MaxDeflection, 100.0L);
    EXPECT_EQ(data.ClosureTolerance, 0.00001L);
    EXPECT_EQ(data.GeneratePYCurves, 1);
    EXPECT_EQ(data.EarthPressureMethod, 2);
    EXPECT_EQ(data.GenerateEarthPressure, 1);
    EXPECT_EQ(data.StageCount, 1);
    EXPECT_EQ(data.CurrentStage, 1);
    EXPECT_TRUE(data.FullFormat);
    for (const TGridTable* table : data.Tables().PlainTables())
        EXPECT_EQ(table->RowCount(), table->MinRows()) << table->Caption();
    for (const TGridTableChart* table : data.Tables().ChartTables())
        EXPECT_EQ(table->RowCount(), 0) << table->Caption();
    // The one layer is soft clay with a two-row clay table of zeros.
    const TGridTable* clay = data.Tables().NewSoil().Cell(2, 0).AsTable();
    ASSERT_NE(clay, nullptr);
    EXPECT_EQ(clay->Caption(), "Clay");
    EXPECT_EQ(clay->RowCount(), 2);
    EXPECT_EQ(clay->Cell(1, 1).AsFloat(), 0.0L);
    auto* parameters = dynamic_cast<components::TTableColumn*>(data.Tables().NewSoil().Columns(2));
    ASSERT_NE(parameters, nullptr);
    EXPECT_EQ(parameters->ButtonCaption(0), "1: Clay");
    EXPECT_FALSE(data.TablesChanged());
}

TEST(ProgramData, SetUnitsConvertsWithItsOwnFactorPairs) {
    FakeHooks hooks;
    TProgramData data(hooks);
    data.FreeHeight = 240;    // in
    data.SurchargeAtTop = 1;  // lb/in^2
    data.LineSurcharge = 1;   // lb/in
    TGridTable& surcharges = data.Tables().SurchargeTable();
    surcharges.SetRowCount(3);
    const long double magnitudes[3] = {100, 100, 100};
    for (int r = 0; r < 3; ++r) {
        surcharges.Cell(0, r).SetInteger(r + 1);
        surcharges.Cell(1, r).SetFloat(magnitudes[r]);
    }
    data.Tables().PYCurves2().SetRowCount(1);
    TGridTableChart* curve = data.Tables().PYCurves2().Cell(1, 0).AsTable();
    curve->Cell(0, 0).SetFloat(1);  // y, in

    data.SetUnits(2);
    // Hand values: 240 x 0.0254; 0.004448222468 / 0.0254^2; 0.004448222468 / 0.0254; 100 lb x 0.004448222468.
    // 1e-9 relative covers the last digit of an 80-bit product.
    EXPECT_NEAR(data.FreeHeight, 6.096L, 1e-12L);
    EXPECT_NEAR(data.SurchargeAtTop, 6.894758615011239L, 1e-9L);
    EXPECT_NEAR(data.LineSurcharge, 0.17512686882128545L, 1e-12L);
    EXPECT_NEAR(surcharges.Cell(1, 0).AsFloat(), 0.4448222468060651L, 1e-12L);
    EXPECT_NEAR(surcharges.Cell(1, 1).AsFloat(), 17.512686882128545L, 1e-9L);
    EXPECT_NEAR(surcharges.Cell(1, 2).AsFloat(), 689.4758615011239L, 1e-8L);
    // The chart tables convert too: 1 in is 0.0254 m (chart factor 39.37007874 in per m).
    EXPECT_NEAR(curve->Cell(0, 0).AsFloat(), 0.0254L, 1e-10L);
    EXPECT_EQ(data.Tables().NewSoil().Units(), 2);

    data.SetUnits(1);
    // 6.096 x 39.3701: the factor pairs are not exact inverses.
    EXPECT_NEAR(data.FreeHeight, 240.0001296L, 1e-9L);
}

TEST(ProgramData, SetUnitsClampsAndConvertsOnlyBetweenEnglishAndSI) {
    struct Case {
        int from, to, expectedUnits;
        long double expectedHeight;
    };
    const Case cases[] = {{1, 0, 1, 240}, {1, 7, 3, 240}, {1, 3, 3, 240}, {2, 3, 3, 240}, {1, 1, 1, 240}};
    for (const Case& c : cases) {
        TProgramData data;
        data.Units = c.from;
        data.FreeHeight = 240;
        data.SetUnits(c.to);
        EXPECT_EQ(data.Units, c.expectedUnits) << c.from << "->" << c.to;
        EXPECT_EQ(data.FreeHeight, c.expectedHeight) << c.from << "->" << c.to;
        EXPECT_EQ(data.Tables().PileSect().Units(), c.expectedUnits);
    }
}

}  // namespace
}  // namespace velmor::project
