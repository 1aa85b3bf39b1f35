#include "plot_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "input_test_harness.h"

namespace velmor::engine {
namespace {

using testing::StepRun;

std::vector<int> thinnedRows(int option, int unitSystem, int n) {
    std::vector<int> rows;
    int count = ForEachProfileRow(n, ProfileRowStep(option, unitSystem, n), [&](int32_t row) { rows.push_back(row); });
    EXPECT_EQ(count, static_cast<int>(rows.size()));
    return rows;
}

std::vector<int> everyRow(int n) {
    std::vector<int> rows;
    for (int k = 1; k <= n; ++k) rows.push_back(k);
    return rows;
}

TEST(ProfileThinning, RowsWrittenForLongGeneratedProfiles) {
    const struct {
        int option, unitSystem, n;
        std::vector<int> rows;
    } cases[] = {
        {2, 1, 60, {1, 7, 13, 19, 25, 31, 37, 43, 49, 55, 60}},
        {2, 1, 51, {1, 7, 13, 19, 25, 31, 37, 43, 49, 51}},
        {3, 2, 51, {1, 5, 9, 13, 17, 21, 25, 29, 33, 37, 41, 45, 49, 51}},
        {2, 2, 53, {1, 5, 9, 13, 17, 21, 25, 29, 33, 37, 41, 45, 49, 53}},  // 53 is on the step: not twice
        {2, 1, 50, everyRow(50)},
        {2, 3, 60, everyRow(60)},  // generic units are not thinned
        {1, 1, 60, everyRow(60)},  // nor is a specified profile
        {2, 1, 1, {1}},
        {2, 1, 0, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(thinnedRows(c.option, c.unitSystem, c.n), c.rows)
            << "option " << c.option << ", unit system " << c.unitSystem << ", " << c.n << " rows";
    }
}

// A generated profile of n rows: depth k, total 2k x h, soil 0 on odd rows and k on even ones, surcharge 0.
void fillProfile(EngineState& st, int n, double h) {
    EarthPressureProfile& pr = st.profile;
    pr.count = n;
    for (int k = 1; k <= n; ++k) {
        std::size_t i = static_cast<std::size_t>(k);
        pr.depth[i] = k;
        pr.total[i] = 2.0 * k * h;
        pr.soil[i] = k % 2 == 1 ? 0.0 : k;
        pr.surcharge[i] = 0.0;
    }
}

TEST(EarthPressureSection, ThinnedRowsWithTheTotalPerUnitDepthAndNoZeroSoil) {
    StepRun run("", 1);
    run.increments(10, 12.0);
    run.control().earthPressureOption = 2;
    fillProfile(run.st(), 51, 12.0);
    ASSERT_EQ(run.run(WriteEarthPressureSection), "");
    const std::vector<std::string> lines = test::splitLines(run.plot());
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_EQ(lines[0], " 10");
    // Row 1: depth 1, total 2 (the load per station divided by h again), soil 0 written as 1.0E-7.
    EXPECT_EQ(lines[1], "   0.100E+01   0.200E+01   0.100E-06   0.000E+00");
    EXPECT_EQ(lines[2], "   0.700E+01   0.140E+02   0.100E-06   0.000E+00");
    EXPECT_EQ(lines[10], "   0.510E+02   0.102E+03   0.100E-06   0.000E+00");
    // The replacement stays in the profile for the rows written, and only for them.
    EXPECT_EQ(run.st().profile.soil[1], double(1.0e-7f));
    EXPECT_EQ(run.st().profile.soil[51], double(1.0e-7f));
    EXPECT_EQ(run.st().profile.soil[3], 0.0);
    EXPECT_EQ(run.st().profile.soil[2], 2.0);
}

TEST(EarthPressureSection, OptionZeroIsTheSingleRecordZero) {
    StepRun run("", 1);
    run.increments(10, 12.0);
    fillProfile(run.st(), 3, 12.0);
    ASSERT_EQ(run.run(WriteEarthPressureSection), "");
    EXPECT_EQ(run.plot(), " 0\n");
}

TEST(PlotRecords, FixedFormatFields) {
    StepRun run("", 1);
    run.control().seriesCode = 1;
    run.control().unitCode = 1;
    NodalResults& r = run.st().results;
    r.rowCount = 1;
    r.depth[0] = 12.0;
    r.deflection[0] = -0.5;
    r.moment[0] = 250.0;
    r.shear[0] = 0.0;
    r.reaction[0] = -1.0e-3;
    ASSERT_EQ(run.run([](Engine& e) {
        WriteGeneratedCurveHeader(e, 12.0);
        WriteGeneratedCurveHeader(e, 12345678.0);  // too wide for F10.2
        WriteResultsSection(e);
    }),
              "");
    EXPECT_EQ(run.plot(),
              "      12.00    33\n"
              " **********    33\n"
              " 1 1 1\n"
              "    0.1200E+02   -0.5000E+00    0.2500E+03    0.0000E+00   -0.1000E-02\n");
}

// The plot-data file read back as the program reads it: words separated by blanks and line ends, one
// series of an earth-pressure section, a p-y section and a results section.
struct Series {
    std::vector<std::vector<double>> pressureRows;
    int curveUnit = 0;
    std::vector<double> curveHeaders;
    std::vector<std::vector<std::pair<double, double>>> curves;
    int seriesCode = 0, resultUnit = 0;
    std::vector<std::vector<double>> resultRows;
};

class WordReader {
  public:
    explicit WordReader(const std::string& text) : in_(text) {}
    double number() {
        std::string word;
        if (!(in_ >> word)) throw std::runtime_error("end of file");
        std::size_t used = 0;
        double v = std::stod(word, &used);
        if (used != word.size()) throw std::runtime_error("not a number: " + word);
        return v;
    }
    int integer() {
        double v = number();
        if (v != std::floor(v)) throw std::runtime_error("not an integer");
        return static_cast<int>(v);
    }
    bool atEnd() {
        std::string word;
        return !(in_ >> word);
    }

  private:
    std::istringstream in_;
};

Series readSeries(WordReader& r) {
    Series s;
    int rows = r.integer();
    for (int k = 0; k < rows; ++k) s.pressureRows.push_back({r.number(), r.number(), r.number(), r.number()});
    s.curveUnit = r.integer();
    int curves = r.integer();
    for (int k = 0; k < curves; ++k) {
        s.curveHeaders.push_back(r.number());
        int points = r.integer();
        std::vector<std::pair<double, double>> curve;
        for (int j = 0; j < points; ++j) {
            double y = r.number();
            double p = r.number();
            curve.emplace_back(y, p);
        }
        s.curves.push_back(curve);
    }
    s.seriesCode = r.integer();
    rows = r.integer();
    s.resultUnit = r.integer();
    for (int k = 0; k < rows; ++k) s.resultRows.push_back({r.number(), r.number(), r.number(), r.number(), r.number()});
    return s;
}

TEST(PlotFile, OneProblemReadsBackAsTheProgramReadsIt) {
    StepRun run("", 2);
    run.increments(10, 0.5, 2.0);
    // Specified profile: the total carries a surcharge, one soil pressure is zero.
    run.control().earthPressureOption = 1;
    EarthPressureProfile& pr = run.st().profile;
    pr.count = 2;
    pr.depth[1] = 0.0;
    pr.soil[1] = 0.0;
    pr.surcharge[1] = 1.5;
    pr.total[1] = (0.0 + 1.5) * 0.5;
    pr.depth[2] = 2.0;
    pr.soil[2] = 12.25;
    pr.surcharge[2] = 0.75;
    pr.total[2] = (12.25 + 0.75) * 0.5;
    // One user curve and one generated curve, then three result rows.
    run.control().seriesCode = 3;
    run.control().unitCode = 2;
    NodalResults& res = run.st().results;
    res.rowCount = 3;
    for (int k = 0; k < 3; ++k) {
        std::size_t i = static_cast<std::size_t>(k);
        res.depth[i] = 0.5 * k;
        res.deflection[i] = 0.0125 * (3 - k);
        res.moment[i] = -42.5 * k;
        res.shear[i] = 17.0;
        res.reaction[i] = -3.0e-4 * k;
    }
    ASSERT_EQ(run.run([](Engine& e) {
        WriteEarthPressureSection(e);
        WriteCurveCountRecord(e, 2);
        WriteCurveHeader(e, 3, 2);
        WriteCurvePoint(e, 0.0, 0.0);
        WriteCurvePoint(e, 0.1, -2.5e-3);
        WriteCurveHeader(e, 8, 3);
        WriteCurvePoint(e, -0.3, 1.0 / 3.0);
        WriteCurvePoint(e, 0.0, 0.0);
        WriteCurvePoint(e, 0.3, -1.0 / 3.0);
        WriteResultsSection(e);
    }),
              "");
    WordReader reader(run.plot());
    Series s = readSeries(reader);
    EXPECT_TRUE(reader.atEnd());

    // E10.3 rows keep three significant digits: off by at most half a unit of the third, 5e-3 relative.
    auto near3 = [](double expected, double got) { return std::fabs(got - expected) <= 5e-3 * std::fabs(expected); };
    ASSERT_EQ(s.pressureRows.size(), 2u);
    const std::vector<double> row1 = {0.0, 1.5, 1.0e-7, 1.5}, row2 = {2.0, 13.0, 12.25, 0.75};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_PRED2(near3, row1[i], s.pressureRows[0][i]) << i;
        EXPECT_PRED2(near3, row2[i], s.pressureRows[1][i]) << i;
    }
    EXPECT_EQ(s.curveUnit, 2);
    EXPECT_EQ(s.curveHeaders, (std::vector<double>{3.0, 8.0}));
    ASSERT_EQ(s.curves.size(), 2u);
    // List-directed values read back exactly.
    EXPECT_EQ(s.curves[0][1], std::make_pair(0.1, -2.5e-3));
    EXPECT_EQ(s.curves[1][0], std::make_pair(-0.3, 1.0 / 3.0));
    EXPECT_EQ(s.curves[1][2], std::make_pair(0.3, -1.0 / 3.0));
    EXPECT_EQ(s.seriesCode, 3);
    EXPECT_EQ(s.resultUnit, 2);
    ASSERT_EQ(s.resultRows.size(), 3u);
    // E13.4 rows: four significant digits, 5e-4 relative.
    auto near4 = [](double expected, double got) { return std::fabs(got - expected) <= 5e-4 * std::fabs(expected); };
    for (std::size_t k = 0; k < 3; ++k) {
        EXPECT_PRED2(near4, 0.5 * k, s.resultRows[k][0]);
        EXPECT_PRED2(near4, 0.0125 * (3 - k), s.resultRows[k][1]);
        EXPECT_PRED2(near4, -42.5 * k, s.resultRows[k][2]);
        EXPECT_PRED2(near4, 17.0, s.resultRows[k][3]);
        EXPECT_PRED2(near4, -3.0e-4 * k, s.resultRows[k][4]);
    }
}

}  // namespace
}  // namespace velmor::engine
