// libFuzzer target: every input is a stored "Col" property in the layout text encoding, read into a plain
// table and into a chart table of fresh table spaces that hold two template tables. Reading may refuse the
// stream with EReadError only. A stream that reads must write a stream that reads back and writes the same
// text again, and the table must then take rows, unit changes and row-group edits; anything else, an
// uncaught exception, a crash, a sanitizer report or a hang is a finding.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "tables/col_stream.h"
#include "tables/grid_table_chart.h"

using namespace velmor::components;

namespace {

template <class Table, class Space>
void exercise(const std::string& text) {
    Space space;
    Table first(space);
    Table second(space);
    first.SetMinRows(2);
    Table table(space);
    TColReader reader(text);
    try {
        table.ReadColumns(reader);
    } catch (const EReadError&) {
        return;
    }
    TColWriter writer;
    table.WriteColumns(writer);
    Table copy(space);
    TColReader again(writer.Text());
    copy.ReadColumns(again);
    TColWriter rewriter;
    copy.WriteColumns(rewriter);
    if (rewriter.Text() != writer.Text()) std::abort();

    // Rows, edits and unit changes on what was read. Contract errors of the kinds (a top-depth column
    // before a column of another kind, a cell of the wrong kind) are the only errors allowed.
    try {
        table.SetRowGroup(2);
        table.SetRowCount(3);
        table.InsertRowGroup(1);
        for (int c = 0; c < table.ColumnCount(); ++c) {
            try {
                table.SetCellText(c, 0, "2");
            } catch (const EAssignError&) {
            }
        }
        table.SetUnits(2);
        table.DeleteRowGroup(0);
        table.SetChanged(false);
        table.SetRowCount(0);
    } catch (const EAssertionFailed&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    exercise<TGridTable, TTableSpace>(text);
    exercise<TGridTableChart, TTableSpaceChart>(text);
    return 0;
}
