#include "acceptance/plot_reader.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace velmor::test {
namespace {

TEST(PlotReader, ReadsTheSectionsOfEverySeries) {
    ScratchDir dir;
    std::string text =
        " 2\n  0.000E+00   0.100E+01   0.100E-06   0.000E+00\n"
        "  0.120E+02   0.200E+01   0.200E+01   0.000E+00\n 1 1\n      12.00    33\n";
    for (int i = 0; i < 33; ++i) text += " " + std::to_string(i) + ".5 -1E-3\n";
    text +=
        " 2 2 1\n  0.0000E+00  0.1000E+01  0.0000E+00  0.0000E+00  0.0000E+00\n"
        "  0.1200E+02  0.5000E+00  0.2500E+03 -0.1000E+01  0.0000E+00\n"
        " 0\n 1 0\n 2 0 1\n";
    writeFile("a.vm4p", text);
    PlotFile f = readPlotFile("a.vm4p");
    ASSERT_TRUE(f.complete) << f.error;
    ASSERT_EQ(f.series.size(), 2u);
    EXPECT_EQ(f.series[0].pressureRows.size(), 2u);
    EXPECT_DOUBLE_EQ(f.series[0].pressureRows[0][2], 1e-7);
    ASSERT_EQ(f.series[0].curves.size(), 1u);
    EXPECT_EQ(f.series[0].curves[0].header, 12.0);
    EXPECT_EQ(f.series[0].curves[0].points.size(), 33u);
    EXPECT_EQ(f.series[0].resultRows[1][2], 250.0);
    EXPECT_TRUE(f.series[1].resultRows.empty());
}

TEST(PlotReader, AsterisksAndTruncationAreReadErrors) {
    ScratchDir dir;
    writeFile("stars.vm4p", " 0\n 1 1\n ********** 33\n");
    EXPECT_FALSE(readPlotFile("stars.vm4p").complete);
    writeFile("short.vm4p", " 1\n  0.000E+00   0.100E+01\n");
    EXPECT_FALSE(readPlotFile("short.vm4p").complete);
}

}  // namespace
}  // namespace velmor::test
