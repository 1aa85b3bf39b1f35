#pragma once

#include <vector>

namespace velmor::components {

// Pixel measures of a table editor window, in client coordinates (the window system's frame lies outside).
// The window is the grid plus what sits above and below it; the grid is its frame, the fixed column, the
// header rows and whole data columns and rows, with a scroll bar where it shows fewer than all of them.
struct GridMeasures {
    int margin = 0;                 // around the window's contents
    int gridFrame = 0;              // both frame edges of the grid together
    int fixedColumnWidth = 0;       // the column of row-group numbers
    int headerHeight = 0;           // all fixed (header) rows
    int rowHeight = 1;              // one data row
    std::vector<int> columnWidths;  // every data column, in order
    int rowCount = 0;               // data rows
    int vScrollWidth = 0;
    int hScrollHeight = 0;
    int extraHeight = 0;     // the controls above and below the grid, with their margins
    int minClientWidth = 0;  // the widest line of controls (row buttons, chart, file controls) plus margins
};

// Which part of the grid a window shows.
struct GridView {
    int firstColumn = 0;
    int columnCount = 0;
    int firstRow = 0;
    int rowCount = 0;

    bool operator==(const GridView& o) const {
        return firstColumn == o.firstColumn && columnCount == o.columnCount && firstRow == o.firstRow &&
               rowCount == o.rowCount;
    }
};

struct ClientSize {
    int width = 0;
    int height = 0;
    bool operator==(const ClientSize& o) const { return width == o.width && height == o.height; }
};

// Grid size and window size for a view; the scroll bars appear where the view shows fewer than all
// columns or rows.
bool needsVScroll(const GridMeasures& m, const GridView& view);
bool needsHScroll(const GridMeasures& m, const GridView& view);
ClientSize gridSize(const GridMeasures& m, const GridView& view);
ClientSize clientSize(const GridMeasures& m, const GridView& view);

// The edges the user drags while sizing the window.
struct DraggedEdges {
    bool left = false;
    bool right = false;
    bool top = false;
    bool bottom = false;
};

struct SizingSnap {
    GridView view;
    ClientSize size;
};

// The window's answer to a sizing drag: it never takes a size that cuts a column or a row. Four candidates
// (no scroll bar, vertical, horizontal, both) are fitted to the dragged size; the one whose size, boxed
// together with the dragged size, adds the least area wins (ties in that order). Fitting a candidate with a
// horizontal scroll bar keeps the shown columns when only the top or bottom edge moves, else takes columns
// from the first shown one to the right and then to the left while they fit; likewise for rows, which keep
// at least one and move the first shown row up when the rows below do not fill the count. Snapping the
// result again gives the same result, so applying it never oscillates. Raises EAssertionFailed "There must
// be at least 2 columns in grid" when the table has no data column.
SizingSnap snapSize(const GridMeasures& m, const GridView& current, ClientSize dragged, DraggedEdges edges);

}  // namespace velmor::components
