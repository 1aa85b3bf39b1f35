#pragma once

#include <string>
#include <vector>

#include "fields/number_text.h"

namespace velmor::components {

class TGridTableChart;

// Reading points into a chart table from text lines (a text file or the clipboard).

inline constexpr int kMaxNumbersPerLine = 15;

// Up to 15 numbers of one line into ANumbers: leading blanks and tabs skipped, each number ending at a
// blank, tab, comma or carriage return, "." as decimal point whatever the locale. A number that does not
// convert ends the line (the numbers before it count); the text after the last separator is converted as
// the last number, a failure there being ignored. The result is the count read.
int ParseNumbers(const std::string& ALine, std::vector<Extended>& ANumbers);

// The lines of a text: breaks at LF, CR LF and CR; a last line without a break is a line too, and a text
// that ends in a break has no empty line after it.
std::vector<std::string> SplitLines(const std::string& AText);

// The lines of a text file; a file that cannot be read raises EInOutError with the system's message.
std::vector<std::string> ReadTextLines(const std::string& AFileName);

// The table as the import sees it; the editor window passes its own row commands.
class TImportTarget {
  public:
    virtual ~TImportTarget() = default;
    // Data columns of the grid (the visible columns).
    virtual int DataColumnCount() const = 0;
    virtual int RowCount() const = 0;
    // 0: no limit.
    virtual int MaxRows() const = 0;
    virtual int MinRows() const = 0;
    // Rows are added and deleted in groups of this many.
    virtual int RowGroup() const = 0;
    // "&Add Row": one row group at the end.
    virtual void AddRow() = 0;
    // Number AColumn (0-based) of an imported row, as 8-digit general text.
    virtual void SetCellText(int AColumn, int ARow, const std::string& AText) = 0;
    // "&Delete Row" on ARow: the row group that holds it.
    virtual void DeleteRow(int ARow) = 0;
};

struct TImportResult {
    // Rows written.
    int Imported = 0;
    // Lines with the right count of numbers that found no row: the table holds at most MaxRows rows.
    int LeftOut = 0;
    // The import would have left fewer than MinRows rows; nothing was changed.
    bool Refused = false;
    // What the user is told (empty when every line that fits was imported).
    std::string Message;
};

// Imports every line whose count of numbers equals the data column count as the next row (adding row groups
// as needed), until MaxRows rows are imported (no limit for MaxRows 0) or the lines end; when at least one row
// was imported the row groups after the last imported row are deleted, so every imported row is kept. An
// import that would leave fewer than MinRows rows changes nothing and is refused; lines beyond MaxRows are
// counted as left out. Both are told in the result's message.
TImportResult ImportNumberLines(const std::vector<std::string>& ALines, TImportTarget& ATarget);

// ImportNumberLines straight into a table (visible column k takes number k), for callers without a window.
TImportResult ImportNumberLines(const std::vector<std::string>& ALines, TGridTableChart& ATable);

}  // namespace velmor::components
