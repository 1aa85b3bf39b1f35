#include "tables/number_import.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include "fields/exceptions.h"
#include "tables/grid_table_chart.h"

namespace velmor::components {

namespace {

bool isSeparator(char c) {
    return c == ' ' || c == '\t' || c == ',' || c == '\r';
}

// The chart table itself as an import target.
class TableTarget : public TImportTarget {
  public:
    explicit TableTarget(TGridTableChart& table) : table_(table) {}
    int DataColumnCount() const override { return table_.VisibleColumnCount(); }
    int RowCount() const override { return table_.RowCount(); }
    int MaxRows() const override { return table_.MaxRows(); }
    int MinRows() const override { return table_.MinRows(); }
    int RowGroup() const override { return table_.RowGroup(); }
    void AddRow() override { table_.AddRowGroup(); }
    void SetCellText(int AColumn, int ARow, const std::string& AText) override {
        table_.SetCellText(table_.IndexOfColumn(table_.VisibleColumns(AColumn)), ARow, AText);
    }
    void DeleteRow(int ARow) override { table_.DeleteRowGroup(ARow); }

  private:
    TGridTableChart& table_;
};

}  // namespace

int ParseNumbers(const std::string& ALine, std::vector<Extended>& ANumbers) {
    ANumbers.clear();
    std::size_t pos = 0;
    while (static_cast<int>(ANumbers.size()) < kMaxNumbersPerLine) {
        while (pos < ALine.size() && (ALine[pos] == ' ' || ALine[pos] == '\t')) ++pos;
        std::size_t end = pos;
        while (end < ALine.size() && !isSeparator(ALine[end])) ++end;
        Extended value = 0;
        const bool converted = tryParseDecimal(std::string_view(ALine).substr(pos, end - pos), value);
        if (end == ALine.size()) {
            // The rest of the line is the last number; when it does not convert it is ignored.
            if (converted) ANumbers.push_back(value);
            break;
        }
        if (!converted) break;
        ANumbers.push_back(value);
        pos = end + 1;
    }
    return static_cast<int>(ANumbers.size());
}

std::vector<std::string> SplitLines(const std::string& AText) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < AText.size()) {
        std::size_t end = start;
        while (end < AText.size() && AText[end] != '\n' && AText[end] != '\r') ++end;
        lines.push_back(AText.substr(start, end - start));
        if (end < AText.size() && AText[end] == '\r' && end + 1 < AText.size() && AText[end + 1] == '\n') ++end;
        start = end + 1;
    }
    return lines;
}

std::vector<std::string> ReadTextLines(const std::string& AFileName) {
    std::ifstream file(AFileName, std::ios::binary);
    if (!file) throw EInOutError(std::strerror(errno != 0 ? errno : ENOENT));
    std::ostringstream text;
    text << file.rdbuf();
    if (file.bad()) throw EInOutError(std::strerror(errno != 0 ? errno : EIO));
    return SplitLines(text.str());
}

namespace {

// The first row of the row group that holds ARow.
int groupStart(int ARow, int AGroup) {
    return AGroup * (ARow / AGroup);
}

std::string plural(int ACount, const char* AOne, const char* AMany) {
    return std::to_string(ACount) + " " + (ACount == 1 ? AOne : AMany);
}

}  // namespace

TImportResult ImportNumberLines(const std::vector<std::string>& ALines, TImportTarget& ATarget) {
    const int columns = ATarget.DataColumnCount();
    const int maxRows = ATarget.MaxRows();
    const int group = std::max(1, ATarget.RowGroup());
    TImportResult result;
    if (columns == 0) return result;

    std::vector<std::vector<Extended>> rows;
    std::vector<Extended> numbers;
    for (const auto& line : ALines) {
        if (ParseNumbers(line, numbers) == columns) rows.push_back(numbers);
    }
    // The rows the table ends with, found before anything is changed: row groups are added while rows are
    // missing and MaxRows lets them in, then the groups after the last imported row go.
    const int found = static_cast<int>(rows.size());
    int wanted = maxRows > 0 ? std::min(found, maxRows) : found;
    int rowsAfter = ATarget.RowCount();
    while (rowsAfter < wanted) {
        if (maxRows > 0 && rowsAfter + group > maxRows) {
            wanted = rowsAfter;
            break;
        }
        rowsAfter += group;
    }
    while (rowsAfter > wanted && groupStart(rowsAfter - 1, group) >= wanted) rowsAfter = groupStart(rowsAfter - 1, group);
    result.LeftOut = found - wanted;
    if (wanted == 0) return result;
    if (rowsAfter < ATarget.MinRows()) {
        result.Refused = true;
        result.LeftOut = 0;
        result.Message = "The values make " + plural(wanted, "row", "rows") + ", but the table needs at least " +
                         plural(ATarget.MinRows(), "row", "rows") + ". Nothing was imported.";
        return result;
    }

    for (int row = 0; row < wanted; ++row) {
        if (row >= ATarget.RowCount()) ATarget.AddRow();
        for (int k = 0; k < columns; ++k) {
            const auto& values = rows[static_cast<std::size_t>(row)];
            ATarget.SetCellText(k, row, formatGeneral(values[static_cast<std::size_t>(k)], kCellDigits));
        }
        ++result.Imported;
    }
    while (ATarget.RowCount() > result.Imported && groupStart(ATarget.RowCount() - 1, group) >= result.Imported) {
        ATarget.DeleteRow(ATarget.RowCount() - 1);
    }
    if (result.LeftOut > 0) {
        result.Message = "The table holds at most " + plural(wanted, "row", "rows") + ": " +
                         plural(result.LeftOut, "line", "lines") + " of values " +
                         (result.LeftOut == 1 ? "was" : "were") + " left out.";
    }
    return result;
}

TImportResult ImportNumberLines(const std::vector<std::string>& ALines, TGridTableChart& ATable) {
    TableTarget target(ATable);
    return ImportNumberLines(ALines, target);
}

}  // namespace velmor::components
