#include "tables/column.h"

#include <algorithm>

#include "fields/utilities.h"
#include "tables/col_stream.h"
#include "tables/grid_table_chart.h"

namespace velmor::components {

namespace {

[[noreturn]] void raiseWrongType() {
    throw EInvalidCast("Data of wrong type");
}

}  // namespace

template <class F>
Extended BasicData<F>::AsFloat() const {
    return column_->AsFloat(row_);
}

template <class F>
int BasicData<F>::AsInteger() const {
    return column_->AsInteger(row_);
}

template <class F>
typename F::Table* BasicData<F>::AsTable() const {
    return column_->AsTable(row_);
}

template <class F>
TRowObject* BasicData<F>::AsObject() const {
    return column_->AsObject(row_);
}

template <class F>
std::string BasicData<F>::GetText() const {
    return column_->GetText(row_);
}

template <class F>
void BasicData<F>::SetFloat(Extended Value) {
    column_->SetFloat(row_, Value);
}

template <class F>
void BasicData<F>::SetInteger(int Value) {
    column_->SetInteger(row_, Value);
}

template <class F>
void BasicData<F>::SetText(const std::string& S) {
    column_->SetText(row_, S);
}

template <class F>
BasicColumn<F>::BasicColumn(Table* ATable) : table_(ATable) {}

template <class F>
BasicColumn<F>::~BasicColumn() = default;

template <class F>
void BasicColumn<F>::checkRow(int ARow) const {
    if (ARow < 0 || ARow >= RowCount()) throw EListError("List index out of bounds (" + std::to_string(ARow) + ")");
}

template <class F>
BasicData<F>& BasicColumn<F>::Rows(int ARow) const {
    checkRow(ARow);
    return *rows_[static_cast<std::size_t>(ARow)];
}

template <class F>
void BasicColumn<F>::insertAccessors(int AIndex, int ACount) {
    std::vector<std::unique_ptr<Data>> added;
    added.reserve(static_cast<std::size_t>(ACount));
    for (int i = 0; i < ACount; ++i) added.emplace_back(new Data(this, AIndex + i));
    rows_.insert(rows_.begin() + AIndex, std::make_move_iterator(added.begin()), std::make_move_iterator(added.end()));
    for (std::size_t i = static_cast<std::size_t>(AIndex + ACount); i < rows_.size(); ++i) {
        rows_[i]->row_ = static_cast<int>(i);
    }
}

template <class F>
void BasicColumn<F>::deleteAccessor(int AIndex) {
    rows_.erase(rows_.begin() + AIndex);
    for (std::size_t i = static_cast<std::size_t>(AIndex); i < rows_.size(); ++i) rows_[i]->row_ = static_cast<int>(i);
}

template <class F>
void BasicColumn<F>::InsertRows(Table*, int AIndex, int ACount) {
    insertAccessors(AIndex, ACount);
}

template <class F>
void BasicColumn<F>::DeleteRow(int AIndex) {
    checkRow(AIndex);
    deleteAccessor(AIndex);
}

template <class F>
void BasicColumn<F>::fillRows() {
    const int target = table_ != nullptr ? table_->RowCount() : 0;
    while (RowCount() < target) InsertRows(table_, RowCount(), std::min(GetRowGroup(), target - RowCount()));
}

template <class F>
int BasicColumn<F>::GetHeaderCount() const {
    return static_cast<int>(Header.size());
}

template <class F>
std::string BasicColumn<F>::GetHeaderLine(int AIndex) const {
    if (AIndex < 0 || AIndex >= GetHeaderCount()) {
        throw EListError("List index out of bounds (" + std::to_string(AIndex) + ")");
    }
    return Header[static_cast<std::size_t>(AIndex)];
}

template <class F>
typename F::Table* BasicColumn<F>::AsTable(int) const {
    raiseWrongType();
}

template <class F>
Extended BasicColumn<F>::AsFloat(int) const {
    raiseWrongType();
}

template <class F>
void BasicColumn<F>::SetFloat(int, Extended) {
    raiseWrongType();
}

template <class F>
int BasicColumn<F>::AsInteger(int) const {
    raiseWrongType();
}

template <class F>
void BasicColumn<F>::SetInteger(int, int) {
    raiseWrongType();
}

template <class F>
TRowObject* BasicColumn<F>::AsObject(int) const {
    raiseWrongType();
}

template <class F>
std::string BasicColumn<F>::GetText(int) const {
    return std::string();
}

template <class F>
void BasicColumn<F>::SetText(int, const std::string&) {}

template <class F>
bool BasicColumn<F>::GetChanged() const {
    return false;
}

template <class F>
int BasicColumn<F>::GetRowGroup() const {
    return OnGetRowGroup ? std::max(1, OnGetRowGroup()) : 1;
}

template <class F>
void BasicColumn<F>::HideForms() {}

template <class F>
void BasicColumn<F>::ResetChanged() {}

template <class F>
int BasicColumn<F>::GetWidth(const TTextMeasure& ACanvas) const {
    int width = 0;
    for (const auto& line : Header) width = std::max(width, ACanvas.TextWidth(line + "  "));
    return width;
}

template <class F>
void BasicColumn<F>::SetUnits(int) {}

template <class F>
void BasicColumn<F>::WriteData(TColWriter& AWriter) const {
    AWriter.WriteListBegin();
    for (const auto& line : Header) AWriter.WriteString(line);
    AWriter.WriteListEnd();
    AWriter.WriteBoolean(Visible);
    AWriter.WriteBoolean(PerGroup);
}

template <class F>
void BasicColumn<F>::ReadData(TColReader& AReader) {
    Header = AReader.ReadStringList();
    Visible = AReader.ReadBoolean();
    PerGroup = AReader.ReadBoolean();
}

template <class F>
std::unique_ptr<BasicColumn<F>> BasicColumn<F>::Clone(Table* ATable) const {
    auto column = ClassType().Create(ATable);
    column->Visible = Visible;
    column->Header = Header;
    return column;
}

template <class F>
void BasicColumn<F>::CreateControls(TCellControlHost*, int, int) {}

template <class F>
void BasicColumn<F>::ClearControls() {}

template <class F>
int BasicColumn<F>::Index() const {
    return table_ != nullptr ? table_->IndexOfColumn(this) : -1;
}

template <class F>
int BasicColumn<F>::groupStart(int ARow) const {
    const int group = GetRowGroup();
    return group * (ARow / group);
}

template <class F>
void BasicColumn<F>::targetRows(int ARow, int& AFirst, int& ALast) const {
    AFirst = PerGroup ? groupStart(ARow) : ARow;
    ALast = PerGroup ? std::min(AFirst + GetRowGroup(), RowCount()) - 1 : ARow;
}

template <class F>
void BasicColumn<F>::reportChange(int ARow) {
    if (OnChange) OnChange(*this, ARow);
}

template class BasicData<PlainFamily>;
template class BasicData<ChartFamily>;
template class BasicColumn<PlainFamily>;
template class BasicColumn<ChartFamily>;

}  // namespace velmor::components
