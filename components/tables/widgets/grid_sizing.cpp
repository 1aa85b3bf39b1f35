#include "tables/widgets/grid_sizing.h"

#include <algorithm>
#include <cstdint>
#include <numeric>

#include "fields/exceptions.h"

namespace velmor::components {

namespace {

int columnsWidth(const GridMeasures& m, int first, int count) {
    return std::accumulate(m.columnWidths.begin() + first, m.columnWidths.begin() + first + count, 0);
}

// Width and height of the window without its data columns and data rows.
int baseWidth(const GridMeasures& m, bool vScroll) {
    return 2 * m.margin + m.gridFrame + m.fixedColumnWidth + (vScroll ? m.vScrollWidth : 0);
}

int baseHeight(const GridMeasures& m, bool hScroll) {
    return 2 * m.margin + m.gridFrame + m.headerHeight + m.extraHeight + (hScroll ? m.hScrollHeight : 0);
}

// Columns from the current first one to the right, then to the left, while the window stays within
// `width`; at least one.
void fitColumns(const GridMeasures& m, const GridView& current, int width, bool vScroll, GridView& view) {
    const int total = static_cast<int>(m.columnWidths.size());
    int first = std::clamp(current.firstColumn, 0, total - 1);
    int last = first;  // one past the last taken column
    int used = baseWidth(m, vScroll);
    while (last < total && (last == first || used + m.columnWidths[last] <= width)) used += m.columnWidths[last++];
    while (first > 0 && used + m.columnWidths[first - 1] <= width) used += m.columnWidths[--first];
    view.firstColumn = first;
    view.columnCount = last - first;
}

// Rows while the window stays within `height`, at least one; the first shown row moves up when the rows
// below it do not fill the count.
void fitRows(const GridMeasures& m, const GridView& current, int height, bool hScroll, GridView& view) {
    const int base = baseHeight(m, hScroll);
    int count = 1;
    while (count < m.rowCount && base + (count + 1) * m.rowHeight <= height) ++count;
    view.rowCount = count;
    view.firstRow = std::clamp(current.firstRow, 0, m.rowCount - count);
}

}  // namespace

bool needsVScroll(const GridMeasures& m, const GridView& view) {
    return view.rowCount < m.rowCount;
}

bool needsHScroll(const GridMeasures& m, const GridView& view) {
    return view.columnCount < static_cast<int>(m.columnWidths.size());
}

ClientSize gridSize(const GridMeasures& m, const GridView& view) {
    const bool v = needsVScroll(m, view);
    const bool h = needsHScroll(m, view);
    return {m.gridFrame + m.fixedColumnWidth + columnsWidth(m, view.firstColumn, view.columnCount) +
                (v ? m.vScrollWidth : 0),
            m.gridFrame + m.headerHeight + view.rowCount * m.rowHeight + (h ? m.hScrollHeight : 0)};
}

ClientSize clientSize(const GridMeasures& m, const GridView& view) {
    const ClientSize grid = gridSize(m, view);
    return {std::max(grid.width + 2 * m.margin, m.minClientWidth), grid.height + 2 * m.margin + m.extraHeight};
}

SizingSnap snapSize(const GridMeasures& m, const GridView& current, ClientSize dragged, DraggedEdges edges) {
    const int columns = static_cast<int>(m.columnWidths.size());
    if (columns < 1) throw EAssertionFailed("There must be at least 2 columns in grid");
    const bool onlyTopOrBottom = !edges.left && !edges.right;
    const bool onlyLeftOrRight = !edges.top && !edges.bottom;

    SizingSnap best;
    std::int64_t bestExcess = 0;
    // Candidates in the order that wins ties: none, vertical, horizontal, both.
    const bool scrolls[4][2] = {{false, false}, {true, false}, {false, true}, {true, true}};
    for (int c = 0; c < 4; ++c) {
        const bool v = scrolls[c][0];
        const bool h = scrolls[c][1];
        GridView view;
        if (!h) {
            view.firstColumn = 0;
            view.columnCount = columns;
        } else if (onlyTopOrBottom) {
            view.firstColumn = current.firstColumn;
            view.columnCount = current.columnCount;
        } else {
            fitColumns(m, current, dragged.width, v, view);
        }
        if (!v || m.rowCount == 0) {
            view.firstRow = 0;
            view.rowCount = m.rowCount;
        } else if (onlyLeftOrRight) {
            view.firstRow = current.firstRow;
            view.rowCount = current.rowCount;
        } else {
            fitRows(m, current, dragged.height, h, view);
        }
        const ClientSize size = clientSize(m, view);
        const std::int64_t box =
            std::int64_t{std::max(size.width, dragged.width)} * std::max(size.height, dragged.height);
        const std::int64_t excess = box - std::int64_t{dragged.width} * dragged.height;
        if (c == 0 || excess < bestExcess) {
            best = {view, size};
            bestExcess = excess;
        }
    }
    return best;
}

}  // namespace velmor::components
