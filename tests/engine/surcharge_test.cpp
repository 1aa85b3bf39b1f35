#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "earth_pressure.h"
#include "runtime/run_errors.h"
#include "support/test_support.h"

namespace velmor::engine {
namespace {

// Hand values of the classic lateral-pressure formulas (Terzaghi's near-wall forms for m <= 0.4, the
// Boussinesq forms beyond, the strip load 2p/pi (beta - sin beta cos 2 alpha)), at H = 10.
struct FormulaCase {
    SurchargeKind kind;
    double magnitude, x, n, width;
    double expected;
};
const FormulaCase kFormulaCases[] = {
    {SurchargeKind::Point, 1000.0, 2.0, 0.5, 0.0, 10.15655605693475},  // 0.28 Q n^2 / H^2 (0.16 + n^2)^3
    {SurchargeKind::Point, 1000.0, 6.0, 0.5, 0.0, 7.01820857252369},   // 1.77 Q m^2 n^2 / H^2 (m^2 + n^2)^3
    {SurchargeKind::Line, 100.0, 4.0, 0.3, 0.0, 9.744},                // m exactly 0.4: 0.203 q n / H (0.16 + n^2)^2
    {SurchargeKind::Line, 100.0, 10.0, 0.7, 0.0, 4.014538450135642},   // 4/pi q m^2 n / H (m^2 + n^2)^2
    {SurchargeKind::Strip, 50.0, 5.0, 0.4, 2.0, 7.6536161649775885},   // strip 2 wide, centre 5 out, depth 4
};

TEST(SurchargeFormulas, GridAndSublayerFormsMatchTheClassicPressures) {
    for (const FormulaCase& c : kFormulaCases) {
        // The single-precision constants (1.77, 0.203, 3.1416, 1.273, 0.6366) stand for the exact ones; the
        // 1.273 and 0.6366 of the sublayer forms are off 4/pi and 2/pi by up to 2e-4.
        EXPECT_NEAR(GridSurchargeStress(c.kind, c.magnitude, c.x, c.n, 10.0, c.width), c.expected, 1e-5 * c.expected)
            << static_cast<int>(c.kind) << " x " << c.x;
        EXPECT_NEAR(SublayerSurchargeStress(c.kind, c.magnitude, c.x, c.n, 10.0, c.width), c.expected,
                    2.5e-4 * c.expected)
            << static_cast<int>(c.kind) << " x " << c.x;
    }
}

TEST(SurchargeFormulas, NearWallConstantsAreDoublePrecision) {
    // 0.4, 0.16 and 0.28 are double constants, 0.203 and 1.77 single-precision ones: with 0.4 in single
    // precision (0.40000000596) an m of 0.400000003 would still take the near-wall form, 1 % lower here, and
    // 0.28 or 0.16 in single precision moves the near-wall pressures by 4e-9 and 3e-8.
    const double m = 0.400000003;
    const struct {
        SurchargeKind kind;
        double magnitude, x, n;
        double expected;
    } cases[] = {
        {SurchargeKind::Point, 1000.0, 2.0, 0.5, 0.28 * 1000.0 * 0.25 / (100.0 * std::pow(0.16 + 0.25, 3))},
        {SurchargeKind::Line, 100.0, 2.0, 0.5, 0.2029999941587448 * 100.0 * 0.5 / (10.0 * std::pow(0.16 + 0.25, 2))},
        {SurchargeKind::Point, 1000.0, 10.0 * m, 0.5,
         1.7699999809265137 * 1000.0 * m * m * 0.25 / (100.0 * std::pow(m * m + 0.25, 3))},
    };
    for (const auto& c : cases) {
        // Only the order of the operations differs from the hand form.
        EXPECT_NEAR(GridSurchargeStress(c.kind, c.magnitude, c.x, c.n, 10.0, 0.0), c.expected, 1e-13 * c.expected)
            << static_cast<int>(c.kind) << " x " << c.x;
        EXPECT_NEAR(SublayerSurchargeStress(c.kind, c.magnitude, c.x, c.n, 10.0, 0.0), c.expected, 1e-13 * c.expected)
            << static_cast<int>(c.kind) << " x " << c.x;
    }
}

class SurchargeGrid : public ::testing::Test {
  protected:
    SurchargeGrid() { io.open(kReportUnit, "report.txt", rt::Access::Write); }
    void addRow(int type, double magnitude, double x, double width = 0.0) {
        WallSoilInput& in = st->wallSoil;
        ++in.surchargeCount;
        in.surchargeType[in.surchargeCount] = type;
        in.surchargeMagnitude[in.surchargeCount] = magnitude;
        in.surchargeDistance[in.surchargeCount] = x;
        in.surchargeWidth[in.surchargeCount] = width;
    }
    double at(double z, double h = 10.0) { return SurchargePressureAtDepth(e, z, h); }

    test::ScratchDir dir;
    std::unique_ptr<EngineState> st = std::make_unique<EngineState>();
    rt::RecordIO io;
    Engine e{io, *st};
};

TEST_F(SurchargeGrid, PressureIsAStepFunctionOnFiftyDepthsAboveTheDepth) {
    addRow(1, 1000.0, 2.0);
    auto grid = [](int k) { return double(static_cast<float>(k) * 0.02f); };  // formed in single precision
    const struct {
        double z;
        double n;  // grid depth whose pressure applies; 0 for none
    } cases[] = {
        {0.2, grid(1)},             // the single-precision 0.02 H lies just above 0.2
        {10.0 * grid(1), grid(1)},  // and counts as 0.2 itself: within a part in a million, it is the same depth
        {5.0, grid(24)},            // exactly on the grid depth 0.5 H: the strict "<" takes the one above
        {5.0000001, grid(24)},      // moved in the seventh digit, still on it
        {5.00001, grid(25)},        // just below it
        {5.1, grid(25)},            // constant between grid depths
        {25.0, grid(50)},           // below the free height the value at H stays
    };
    for (const auto& c : cases) {
        const double expected = c.n > 0.0 ? 0.28 * 1000.0 * c.n * c.n / (100.0 * std::pow(0.16 + c.n * c.n, 3)) : 0.0;
        EXPECT_NEAR(at(c.z), expected, 1e-13 * expected) << "z " << c.z;  // the same arithmetic in another order
    }
}

TEST_F(SurchargeGrid, RowsAddAndOtherTypesCountAsPointLoads) {
    addRow(1, 1000.0, 2.0);
    const double one = at(5.1);
    addRow(7, 1000.0, 2.0);
    EXPECT_DOUBLE_EQ(at(5.1), 2.0 * one);
}

TEST_F(SurchargeGrid, NoRowsOrNoFreeHeightGiveNoPressure) {
    EXPECT_EQ(at(5.0), 0.0);
    addRow(2, 100.0, 4.0);
    EXPECT_GT(at(5.0), 0.0);
    EXPECT_EQ(at(5.0, 5.0e-7), 0.0);  // H below 1e-6: no grid to divide by
    st->wallSoil.surchargeCount = 0;  // a later problem without rows gets nothing stale
    EXPECT_EQ(at(5.0), 0.0);
    st->wallSoil.surchargeCount = kMaxSurcharges + 1;
    EXPECT_THROW(at(5.0), rt::EndRun);
}

}  // namespace
}  // namespace velmor::engine
