#pragma once

#include "tables/grid_table.h"

namespace velmor::components {

// What a chart table adds to a grid table: the editor's file and button options, axis inversion and the
// graph parameters that "Col" stores after the columns.
struct TChartSettings {
    // Published.
    bool GetDataFromFile = false;  // file-name box and the file and clipboard buttons
    bool OKCancelButtons = false;
    bool InvertedXAxis = false;
    bool InvertedYAxis = false;
    // Graph parameters (stored in "Col"): column indexes counted from 0.
    bool ShowGraph = false;
    bool UsePaintBox = false;
    int XColumn = 0;
    int YColumn = 0;
    int X2Column = 0;
    int Y2Column = 0;
};

// A table whose rows are the points of a curve; a separate family with its own table space (chart
// identifiers and templates refer to chart tables only).
class TGridTableChart final : public BasicGridTable<ChartFamily> {
  public:
    using BasicGridTable::BasicGridTable;
};

}  // namespace velmor::components
