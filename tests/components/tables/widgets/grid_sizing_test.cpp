#include "tables/widgets/grid_sizing.h"

#include <gtest/gtest.h>

#include "fields/exceptions.h"

namespace velmor::components {
namespace {

// Round numbers so every expected size below is a sum done by hand: the window without data columns is
// 2*4 + 2 + 30 = 40 wide, without data rows 2*4 + 2 + 20 + 40 = 70 high; each row adds 20.
GridMeasures measures(int rows) {
    GridMeasures m;
    m.margin = 4;
    m.gridFrame = 2;
    m.fixedColumnWidth = 30;
    m.headerHeight = 20;
    m.rowHeight = 20;
    m.columnWidths = {100, 80, 60};
    m.rowCount = rows;
    m.vScrollWidth = 16;
    m.hScrollHeight = 16;
    m.extraHeight = 40;
    m.minClientWidth = 200;
    return m;
}

const DraggedEdges kBottomRight{false, true, false, true};
const DraggedEdges kRight{false, true, false, false};
const DraggedEdges kBottom{false, false, false, true};
const DraggedEdges kTopLeft{true, false, true, false};

TEST(GridSizing, ClientSizeCoversGridScrollBarsAndMargins) {
    const GridMeasures m = measures(25);
    // 10 of 25 rows: vertical bar; all columns: no horizontal bar.
    EXPECT_EQ(clientSize(m, {0, 3, 0, 10}), (ClientSize{40 + 240 + 16, 70 + 200}));
    // 2 of 3 columns and 10 rows: both bars.
    EXPECT_EQ(clientSize(m, {0, 2, 0, 10}), (ClientSize{40 + 180 + 16, 70 + 200 + 16}));
    // Never narrower than the widest line of controls.
    EXPECT_EQ(clientSize(m, {2, 1, 0, 25}).width, 200);
}

TEST(GridSizing, SnapPicksTheCandidateWithLeastExcess) {
    struct Case {
        const char* name;
        int rows;
        GridView current;
        ClientSize dragged;
        DraggedEdges edges;
        GridView view;
        ClientSize size;
    };
    const Case cases[] = {
        {"exact fit keeps the view", 25, {0, 3, 0, 10}, {296, 270}, kBottomRight, {0, 3, 0, 10}, {296, 270}},
        {"a few pixels more do not add a cut row", 25, {0, 3, 0, 10}, {296, 289}, kBottom, {0, 3, 0, 10}, {296, 270}},
        {"taller drag adds whole rows", 25, {0, 3, 0, 10}, {296, 330}, kBottom, {0, 3, 0, 13}, {296, 330}},
        // Narrower than all columns: both bars (236 x 286, excess 250 x 16) beat the vertical bar alone
        // (296 x 270, excess 46 x 270); the rows stay as shown since only the right edge moved.
        {"narrow drag scrolls columns", 25, {0, 3, 0, 10}, {250, 270}, kRight, {0, 2, 0, 10}, {236, 286}},
        {"small table shows all rows", 3, {0, 3, 0, 3}, {500, 500}, kBottomRight, {0, 3, 0, 3}, {280, 130}},
        // Shorter drag from the bottom while rows 20..24 are shown: 5 rows fit, the first stays at 20.
        {"rows below fill the count", 25, {0, 3, 20, 5}, {296, 175}, kBottom, {0, 3, 20, 5}, {296, 170}},
        // 10 rows wanted from row 20: only 5 lie below, so the first row moves up to 15.
        {"first row moves up", 25, {0, 3, 20, 5}, {296, 270}, kBottom, {0, 3, 15, 10}, {296, 270}},
        // Top-left drag from column 2: column 2, then column 1 to its left (60 + 80 + 56 <= 200).
        {"columns taken to the left", 25, {2, 1, 0, 10}, {200, 286}, kTopLeft, {1, 2, 0, 10}, {200, 286}},
    };
    for (const Case& c : cases) {
        const SizingSnap snap = snapSize(measures(c.rows), c.current, c.dragged, c.edges);
        EXPECT_EQ(snap.view, c.view) << c.name << ": " << snap.view.firstColumn << "," << snap.view.columnCount << ","
                                     << snap.view.firstRow << "," << snap.view.rowCount;
        EXPECT_EQ(snap.size, c.size) << c.name << ": " << snap.size.width << "x" << snap.size.height;
    }
}

TEST(GridSizing, SnappingASnappedSizeAgainChangesNothing) {
    const GridMeasures m = measures(25);
    const DraggedEdges edges[] = {kBottomRight, kRight, kBottom, kTopLeft, {}};
    for (int width = 150; width <= 400; width += 17) {
        for (int height = 120; height <= 700; height += 23) {
            for (const DraggedEdges& e : edges) {
                const SizingSnap first = snapSize(m, {1, 1, 5, 4}, {width, height}, e);
                const SizingSnap again = snapSize(m, first.view, first.size, {});
                ASSERT_EQ(again.size, first.size) << width << "x" << height;
                ASSERT_EQ(again.view, first.view) << width << "x" << height;
            }
        }
    }
}

TEST(GridSizing, GridWithoutDataColumnsCannotBeSized) {
    GridMeasures m = measures(3);
    m.columnWidths.clear();
    try {
        snapSize(m, {}, {300, 300}, kBottomRight);
        FAIL() << "no error";
    } catch (const EAssertionFailed& e) {
        EXPECT_STREQ(e.what(), "There must be at least 2 columns in grid");
    }
}

}  // namespace
}  // namespace velmor::components
