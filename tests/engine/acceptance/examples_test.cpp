#include <gtest/gtest.h>

#include <cmath>
#include <regex>
#include <sstream>
#include <string>

#include "acceptance/engine_runner.h"
#include "acceptance/plot_reader.h"
#include "input_blocks.h"
#include "run_driver.h"
#include "runtime/edit_format.h"
#include "support/test_support.h"

namespace velmor::test {
namespace {

using engine::EngineState;
using engine::position;

struct Example {
    const char* file;
    int series;  // results sections the plot-data file holds
};

const Example kExamples[] = {
    {"cantilever-sand-english.vm4d", 1},
    {"cantilever-sand-si.vm4d", 1},
    {"anchored-soft-clay.vm4d", 1},
    {"stiff-clay-sloping-backfill.vm4d", 1},
    {"user-curves-and-pressure-profile.vm4d", 1},
    {"long-term-pair.vm4d", 2},
    {"three-stages.vm4d", 3},
    {"rock-socket-under-silt.vm4d", 1},
};

std::string examplePath(const char* file) {
    return std::string(VELMOR_SOURCE_DIR) + "/examples/" + file;
}

// Rows of every results table of the report: the lines between the dashed heading and the next blank line.
std::vector<std::string> resultRows(const std::string& report) {
    std::vector<std::string> rows;
    bool inTable = false;
    for (const std::string& line : splitLines(report)) {
        if (line.rfind("   ------    ----", 0) == 0) {
            inTable = true;
        } else if (inTable && line.find_first_not_of(' ') == std::string::npos) {
            inTable = false;
        } else if (inTable) {
            rows.push_back(line);
        }
    }
    return rows;
}

TEST(Examples, EachRunsToTheEndWithoutAnErrorAndReadsBack) {
    for (const Example& x : kExamples) {
        ScratchDir dir;
        ASSERT_EQ(runThroughLibrary(examplePath(x.file)), 0) << x.file;
        const std::string report = reportText();
        EXPECT_NE(report.find("     END OF ANALYSIS"), std::string::npos) << x.file;
        for (const char* bad : {"ERROR", "TOO MUCH DATA", "RUN STOPPED", "NOT CLOSED", "EXCEEDED", "NaN", "Inf"})
            EXPECT_EQ(report.find(bad), std::string::npos) << x.file << " reports " << bad;

        // Every result row is a station number and seven finite numbers: no asterisk-filled field.
        const std::vector<std::string> rows = resultRows(report);
        EXPECT_FALSE(rows.empty()) << x.file;
        for (const std::string& row : rows) {
            std::istringstream fields(row);
            int station = -1;
            double value = 0.0;
            int count = 0;
            fields >> station;
            while (fields >> value) {
                EXPECT_TRUE(std::isfinite(value)) << x.file << ": " << row;
                ++count;
            }
            EXPECT_TRUE(fields.eof()) << x.file << ": " << row;
            EXPECT_EQ(count, 7) << x.file << ": " << row;
        }

        // The plot-data file reads back whole, one series per problem, NI + 2 result rows in each, and
        // a zero moment at the free head.
        PlotFile plot = readPlotFile(plotPath());
        EXPECT_TRUE(plot.complete) << x.file << ": " << plot.error;
        ASSERT_EQ(plot.series.size(), static_cast<std::size_t>(x.series)) << x.file;
        for (const PlotSeries& s : plot.series) {
            EXPECT_EQ(s.seriesCode, x.series) << x.file;
            ASSERT_GT(s.resultRows.size(), 2u) << x.file;
            double largestMoment = 0.0;
            for (const auto& r : s.resultRows) {
                for (double v : r) EXPECT_TRUE(std::isfinite(v)) << x.file;
                largestMoment = std::max(largestMoment, std::fabs(r[2]));
            }
            // Zero up to the rounding of the difference formula, a few parts in 1e12 of the moments.
            EXPECT_LE(std::fabs(s.resultRows[0][2]), 1e-10 * largestMoment) << x.file << ": moment at the free head";
        }
    }
}

// Soil resistance of one curve at deflection y: the piecewise-linear curve, its end segments extended.
double curveResistance(const engine::PYCurveStore& c, int k, double y, double* slope) {
    const int n = c.pointCount[k];
    int m = 2;
    while (m < n && y > c.y[k][m]) ++m;
    const double y0 = c.y[k][m - 1], y1 = c.y[k][m], p0 = c.p[k][m - 1], p1 = c.p[k][m];
    if (y1 == y0) {
        *slope = 0.0;
        return 0.0;
    }
    *slope = (p1 - p0) / (y1 - y0);
    return p0 + (y - y0) * *slope;
}

struct Balance {
    double force = 0.0, moment = 0.0;  // resultant of loads, springs and soil, and its moment about the head
    double loadScale = 0.0;            // sum of the magnitudes of the applied loads
    double tangentBound = 0.0;         // sum of |dp/dy| over the stations: soil force per unit deflection
};

// The forces on the solved wall, worked out from the blocks the run leaves: applied loads Q, lateral springs
// -S W, and the soil resistance of the curve set at the final deflections, chained station by station as
// the curves are: linear interpolation between neighbouring curves of a chain, half a station's share at
// each end of a span.
Balance wallBalance(const EngineState& st) {
    Balance b;
    const int ni = st.control.ni;
    const double h = st.control.h;
    auto add = [&](int s, double force) {
        b.force += force;
        b.moment += force * s * h;
    };
    for (int s = -1; s <= ni + 1; ++s) {
        const int k = position(s);
        add(s, st.stations.q[k] - st.stations.s[k] * st.stations.w[k]);
        b.loadScale += std::fabs(st.stations.q[k]);
    }
    const engine::PYCurveStore& c = st.curves;
    const int tip = position(ni);
    auto soilAt = [&](int curve, int k, double* slope) { return curveResistance(c, curve, st.stations.w[k], slope); };
    int chainStart = 0;
    int previousFlag = 0;
    for (int k = 1; k <= c.count; ++k) {
        if (previousFlag == 0) {
            chainStart = k;
            if (c.continuation[k] == 1) {
                previousFlag = 1;
                continue;
            }
        }
        const int start = c.from[chainStart], end = c.from[k], span = end - start;
        if (span == 0 && k != chainStart) continue;
        if (span == 0) {
            if (start <= tip) {
                double slope = 0.0;
                add(start - 4, soilAt(k, start, &slope));
                b.tangentBound += std::fabs(slope);
            }
        } else if (start < tip) {
            const int last = std::min(end, tip);
            for (int j = start; j <= last; ++j) {
                const double f = double(j - start) / span;
                double s1 = 0.0, s2 = 0.0;
                const double p = soilAt(chainStart, j, &s1) + (soilAt(k, j, &s2) - soilAt(chainStart, j, &s1)) * f;
                const double weight = (j == start || j == last) ? 0.5 : 1.0;
                add(j - 4, weight * p);
                b.tangentBound += weight * (std::fabs(s1) + std::fabs(s2));
            }
        }
        if (c.continuation[k] == 1) chainStart = k;
        previousFlag = c.continuation[k];
    }
    return b;
}

TEST(Examples, SolvedWallsAreInEquilibrium) {
    for (const Example& x : kExamples) {
        ScratchDir dir;
        writeFile("wall.vm4d", readFile(examplePath(x.file)));
        writeFile("names.dat", "wall.vm4d\nwall.vm4o\nwall.vm4p\nwall.vm4r\n");
        std::FILE* console = std::fopen("console.txt", "w");
        const unsigned long nonFiniteBefore = rt::nonFiniteValuesFormatted();
        ASSERT_EQ(engine::RunEntry(14, console), 0) << x.file;
        std::fclose(console);
        EXPECT_EQ(rt::nonFiniteValuesFormatted(), nonFiniteBefore) << x.file << ": a NaN or infinity was written";

        const EngineState& st = engine::engineState();
        const Balance b = wallBalance(st);
        const double length = st.control.ni * st.control.h;
        // The last solution is linear on springs taken at the deflections of the one before, which differ
        // from the final ones by at most the closure tolerance at every station: the soil forces are exact
        // within (sum of the curve slopes) x tolerance. Rounding adds a few parts in 1e12 of the loads.
        const double bound = 2.0 * b.tangentBound * st.control.closureTolerance + 1e-9 * b.loadScale;
        EXPECT_GT(b.loadScale, 0.0) << x.file;
        EXPECT_LE(std::fabs(b.force), bound) << x.file << ": resultant " << b.force << " of loads " << b.loadScale;
        EXPECT_LE(std::fabs(b.moment), bound * length) << x.file << ": moment " << b.moment;
    }
}

}  // namespace
}  // namespace velmor::test
