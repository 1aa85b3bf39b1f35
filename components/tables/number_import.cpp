#include "tables/number_import.h"

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

int ImportNumberLines(const std::vector<std::string>& ALines, TImportTarget& ATarget) {
    const int columns = ATarget.DataColumnCount();
    const int maxRows = ATarget.MaxRows();
    const int rowsBefore = ATarget.RowCount();
    int imported = 0;
    std::vector<Extended> numbers;
    for (const auto& line : ALines) {
        if (maxRows > 0 && imported >= maxRows) break;
        if (ParseNumbers(line, numbers) != columns || columns == 0) continue;
        if (imported >= rowsBefore && imported >= ATarget.RowCount()) ATarget.AddRow();
        for (int k = 0; k < columns; ++k) {
            ATarget.SetCellText(k, imported, formatGeneral(numbers[static_cast<std::size_t>(k)], kCellDigits));
        }
        ++imported;
    }
    if (imported > 0) {
        while (ATarget.RowCount() > imported) ATarget.DeleteRow(imported);
    }
    return imported;
}

int ImportNumberLines(const std::vector<std::string>& ALines, TGridTableChart& ATable) {
    TableTarget target(ATable);
    return ImportNumberLines(ALines, target);
}

}  // namespace velmor::components
