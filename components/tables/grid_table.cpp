#include "tables/grid_table.h"

#include <algorithm>

#include "fields/unit_codes.h"
#include "fields/utilities.h"
#include "tables/col_stream.h"
#include "tables/grid_table_chart.h"

namespace velmor::components {

// ---- families

Extended PlainFamily::ConversionFactor(int AFrom, int ATo, const std::string& ACode) {
    return components::ConversionFactor(AFrom, ATo, ACode);
}

std::string PlainFamily::ExpandUnitNames(const std::string& ACode, int AUnits) {
    return components::ExpandUnitNames(ACode, AUnits);
}

Extended ChartFamily::ConversionFactor(int AFrom, int ATo, const std::string& ACode) {
    return ChartConversionFactor(AFrom, ATo, ACode);
}

std::string ChartFamily::ExpandUnitNames(const std::string& ACode, int AUnits) {
    return ChartExpandUnitNames(ACode, AUnits);
}

void ChartFamily::ReadExtras(TableExtras& AExtras, TColReader& AReader) {
    try {
        TChartSettings read = AExtras;
        read.ShowGraph = AReader.ReadBoolean();
        read.UsePaintBox = AReader.ReadBoolean();
        read.XColumn = AReader.ReadInteger();
        read.YColumn = AReader.ReadInteger();
        read.X2Column = AReader.ReadInteger();
        read.Y2Column = AReader.ReadInteger();
        AExtras = read;
    } catch (const Exception&) {
        throw EReadError("Error reading graphic parameters");
    }
}

void ChartFamily::WriteExtras(const TableExtras& AExtras, TColWriter& AWriter) {
    AWriter.WriteBoolean(AExtras.ShowGraph);
    AWriter.WriteBoolean(AExtras.UsePaintBox);
    AWriter.WriteInteger(AExtras.XColumn);
    AWriter.WriteInteger(AExtras.YColumn);
    AWriter.WriteInteger(AExtras.X2Column);
    AWriter.WriteInteger(AExtras.Y2Column);
}

// ---- table space

template <class F>
BasicTableSpace<F>::BasicTableSpace() {
    RegisterColumnType(BasicEnumColumn<F>::Class(), 0);
    RegisterColumnType(BasicIntColumn<F>::Class(), 1);
    RegisterColumnType(BasicFloatColumn<F>::Class(), 2);
    RegisterColumnType(BasicTableColumn<F>::Class(), 3);
    RegisterColumnType(BasicStringColumn<F>::Class(), 4);
}

template <class F>
BasicTableSpace<F>::~BasicTableSpace() = default;

template <class F>
void BasicTableSpace<F>::RegisterColumnType(const TColumnClass<F>& AClass, int ACode) {
    registry_.push_back({&AClass, ACode});
}

template <class F>
void BasicTableSpace<F>::UnregisterColumnType(const TColumnClass<F>& AClass) {
    registry_.erase(std::remove_if(registry_.begin(), registry_.end(),
                                   [&](const BasicColumnTypeStorage<F>& e) { return e.ColumnClass == &AClass; }),
                    registry_.end());
}

template <class F>
const TColumnClass<F>* BasicTableSpace<F>::ColumnClassOf(int ACode) const {
    for (const auto& entry : registry_) {
        if (entry.Code == ACode) return entry.ColumnClass;
    }
    return nullptr;
}

template <class F>
int BasicTableSpace<F>::TypeCodeOf(const TColumnClass<F>& AClass) const {
    for (const auto& entry : registry_) {
        if (entry.ColumnClass == &AClass) return entry.Code;
    }
    return -1;
}

template <class F>
void BasicTableSpace<F>::UnregisterStandardTypes() {
    UnregisterColumnType(BasicEnumColumn<F>::Class());
    UnregisterColumnType(BasicIntColumn<F>::Class());
    UnregisterColumnType(BasicFloatColumn<F>::Class());
    UnregisterColumnType(BasicTableColumn<F>::Class());
    UnregisterColumnType(BasicStringColumn<F>::Class());
    if (!registry_.empty()) throw EAssertionFailed("Column Type list not empty");
}

template <class F>
typename F::Table* BasicTableSpace<F>::Tables(int APosition) const {
    if (APosition < 0 || APosition >= TableCount()) {
        throw EListError("List index out of bounds (" + std::to_string(APosition) + ")");
    }
    return static_cast<Table*>(tables_[static_cast<std::size_t>(APosition)]);
}

template <class F>
int BasicTableSpace<F>::PositionOf(const BasicGridTable<F>* ATable) const {
    for (std::size_t i = 0; i < tables_.size(); ++i) {
        if (tables_[i] == ATable) return static_cast<int>(i);
    }
    return -1;
}

template <class F>
int BasicTableSpace<F>::PositionOfIdentifier(int AIdentifier) const {
    if (AIdentifier < 0) return -1;
    for (std::size_t i = 0; i < tables_.size(); ++i) {
        if (tables_[i]->Identifier() == AIdentifier) return static_cast<int>(i);
    }
    return -1;
}

template <class F>
void BasicTableSpace<F>::AddTable(BasicGridTable<F>* ATable) {
    tables_.push_back(ATable);
}

template <class F>
void BasicTableSpace<F>::RemoveTable(const BasicGridTable<F>* ATable) {
    // Sub-tables come and go at the end of the list, so the search starts there.
    for (auto it = tables_.rbegin(); it != tables_.rend(); ++it) {
        if (*it == ATable) {
            tables_.erase(std::next(it).base());
            return;
        }
    }
}

// ---- table

template <class F>
BasicGridTable<F>::BasicGridTable(Space& ASpace, Table* AOwner) : space_(&ASpace), owner_(AOwner) {
    identifier_ = ASpace.TakeIdentifier();
    units_ = AOwner != nullptr ? AOwner->Units() : 1;
    ASpace.AddTable(this);
}

template <class F>
BasicGridTable<F>::~BasicGridTable() {
    if (editorForm_ != nullptr) {
        TTableEditor* editor = editorForm_;
        editorForm_ = nullptr;
        controlParent_ = nullptr;
        editor->TableDestroyed();
    }
    OnDataChanged = nullptr;
    OnCellChanged = nullptr;
    SetRowCount(0);
    columns_.clear();
    space_->RemoveTable(this);
}

template <class F>
typename F::Table& BasicGridTable<F>::self() {
    return static_cast<Table&>(*this);
}

template <class F>
std::unique_ptr<typename F::Table> BasicGridTable<F>::CreateClone(Table* AOwner, int ANumber, const Table& ATemplate) {
    auto table = std::make_unique<Table>(*ATemplate.space_, AOwner);
    table->caption_ = ATemplate.caption_;
    table->comments_ = ATemplate.comments_;
    table->topLeft_ = ATemplate.topLeft_;
    table->SetRowCount(0);
    table->SetMinRows(ATemplate.minRows_);
    table->maxRows_ = ATemplate.maxRows_;
    for (const auto& column : ATemplate.columns_) table->AddColumn(column->Clone(table.get()));
    table->SetNumber(ANumber);
    static_cast<typename F::TableExtras&>(*table) = static_cast<const typename F::TableExtras&>(ATemplate);
    table->clonedFrom_ = &ATemplate;
    table->SetRowCount(table->minRows_);
    table->FireDataChanged();
    return table;
}

template <class F>
void BasicGridTable<F>::SetIdentifier(int Value) {
    if (Value < 0) return;
    for (int i = 0; i < space_->TableCount(); ++i) {
        BasicGridTable* other = space_->Tables(i);
        if (other != this && other->identifier_ == Value) other->identifier_ = identifier_;
    }
    identifier_ = Value;
}

template <class F>
void BasicGridTable<F>::SetMinRows(int Value) {
    if (Value <= 0) {
        if (!loading_) throw EAssertionFailed("Value must be greater than 0");
        Value = 1;
    }
    minRows_ = Value;
}

template <class F>
void BasicGridTable<F>::SetHelpPicture(const std::string& Value) {
    helpPicture_ = Value;
    if (editorForm_ != nullptr) editorForm_->HelpPictureChanged();
}

template <class F>
void BasicGridTable<F>::SetRowGroup(int Value) {
    rowGroup_ = std::max(1, Value);
}

template <class F>
void BasicGridTable<F>::SetNumber(int ANumber) {
    number_ = ANumber;
    if (editorForm_ != nullptr) editorForm_->SetTitle(caption_ + " " + GetNumbers());
}

template <class F>
std::string BasicGridTable<F>::GetNumbers() const {
    std::string numbers;
    if (owner_ != nullptr) numbers = owner_->GetNumbers();
    if (number_ != 0) numbers += " " + std::to_string(number_);
    return numbers;
}

template <class F>
bool BasicGridTable<F>::GetChanged() const {
    if (changed_) return true;
    for (const auto& column : columns_) {
        if (column->GetChanged()) return true;
    }
    return false;
}

template <class F>
void BasicGridTable<F>::SetChanged(bool Value) {
    if (Value) {
        changed_ = true;
        return;
    }
    changed_ = false;
    for (const auto& column : columns_) column->ResetChanged();
}

template <class F>
void BasicGridTable<F>::SetRowCount(int n) {
    rowCount_ = std::max(0, n);
    for (const auto& column : columns_) {
        while (column->RowCount() > rowCount_) column->DeleteRow(column->RowCount() - 1);
        // Whole row groups while they fit, then the rest, so every column has exactly RowCount rows.
        while (column->RowCount() < rowCount_) {
            column->InsertRows(&self(), column->RowCount(), std::min(rowGroup_, rowCount_ - column->RowCount()));
        }
    }
}

template <class F>
void BasicGridTable<F>::AddRowGroup() {
    rowCount_ += rowGroup_;
    for (const auto& column : columns_) column->InsertRows(&self(), column->RowCount(), rowGroup_);
    FireDataChanged();
}

template <class F>
void BasicGridTable<F>::InsertRowGroup(int ARow) {
    const int first = rowGroup_ * (ARow / rowGroup_);
    if (ARow < 0 || first > rowCount_) throw EListError("List index out of bounds (" + std::to_string(ARow) + ")");
    rowCount_ += rowGroup_;
    for (const auto& column : columns_) column->InsertRows(&self(), first, rowGroup_);
    FireDataChanged();
}

template <class F>
void BasicGridTable<F>::DeleteRowGroup(int ARow) {
    const int first = rowGroup_ * (ARow / std::max(1, rowGroup_));
    if (ARow < 0 || ARow >= rowCount_) throw EListError("List index out of bounds (" + std::to_string(ARow) + ")");
    const int count = std::min(rowGroup_, rowCount_ - first);
    rowCount_ -= count;
    for (const auto& column : columns_) {
        for (int i = 0; i < count; ++i) column->DeleteRow(first);
    }
    FireDataChanged();
}

template <class F>
void BasicGridTable<F>::SetUnits(int AUnits) {
    if (AUnits == units_) return;
    for (const auto& column : columns_) column->SetUnits(AUnits);
    units_ = AUnits;
    FireDataChanged();
}

template <class F>
void BasicGridTable<F>::CheckUnits(int AUnits) const {
    if (AUnits == units_) return;
    for (const auto& column : columns_) column->CheckUnits(AUnits);
}

template <class F>
BasicColumn<F>* BasicGridTable<F>::Columns(int AIndex) const {
    if (AIndex < 0 || AIndex >= ColumnCount()) {
        throw EListError("List index out of bounds (" + std::to_string(AIndex) + ")");
    }
    return columns_[static_cast<std::size_t>(AIndex)].get();
}

template <class F>
int BasicGridTable<F>::IndexOfColumn(const Column* AColumn) const {
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        if (columns_[i].get() == AColumn) return static_cast<int>(i);
    }
    return -1;
}

template <class F>
BasicColumn<F>& BasicGridTable<F>::AddColumn(std::unique_ptr<Column> AColumn) {
    Column& column = *AColumn;
    columns_.push_back(std::move(AColumn));
    attachColumn(column);
    return column;
}

template <class F>
void BasicGridTable<F>::attachColumn(Column& AColumn) {
    Column* column = &AColumn;
    column->OnChange = [this](Column& c, int row) { ColumnChanged(c, row); };
    column->OnSelect = [this](Column& c, int row) { ColumnSelected(c, row); };
    column->OnGetRowGroup = [this] { return rowGroup_; };
    if (auto* items = dynamic_cast<BasicEnumColumn<F>*>(column)) {
        items->OnItemsChange = [this, column] {
            if (IndexOfColumn(column) == 0) AdjustTemplateLists();
        };
    }
    if (auto* tables = dynamic_cast<BasicTableColumn<F>*>(column)) {
        tables->OnButtonClick = [this, column](int row, TRowObject* data) {
            if (OnButtonClick) OnButtonClick(self(), IndexOfColumn(column), row, data);
        };
        tables->OnGetButtonCaption = [this, column](int row, TRowObject* data, std::string& caption) {
            if (OnGetButtonCaption) OnGetButtonCaption(self(), IndexOfColumn(column), row, data, caption);
        };
        tables->OnGetChanged = [this, column](int row, TRowObject* data, bool& changed) {
            if (OnGetChanged) OnGetChanged(self(), IndexOfColumn(column), row, data, changed);
        };
        tables->OnHide = [this, column](int row, TRowObject* data) {
            if (OnHide) OnHide(self(), IndexOfColumn(column), row, data);
        };
        tables->OnInitRow = [this, column](int row, int item, std::unique_ptr<TRowObject>& data) {
            if (OnInitRow) OnInitRow(self(), IndexOfColumn(column), row, item, data);
        };
        tables->OnResetChanged = [this, column](int row, TRowObject* data) {
            if (OnResetChanged) OnResetChanged(self(), IndexOfColumn(column), row, data);
        };
        tables->OnSetRow = [this, column](TRowObject* data, int row) {
            if (OnSetRow) OnSetRow(self(), IndexOfColumn(column), data, row);
        };
        tables->OnSetUnits = [this, column](int row, TRowObject* data, int units) {
            if (OnSetUnits) OnSetUnits(self(), IndexOfColumn(column), row, data, units);
        };
    }
    while (column->RowCount() < rowCount_) {
        column->InsertRows(&self(), column->RowCount(), std::min(rowGroup_, rowCount_ - column->RowCount()));
    }
    if (controlParent_ != nullptr && editorForm_ != nullptr && column->UsesControls()) {
        int top = 0;
        int count = 0;
        editorForm_->ShownRows(top, count);
        if (count > 0) column->CreateControls(controlParent_, top, count);
    }
}

template <class F>
void BasicGridTable<F>::ClearColumns() {
    columns_.clear();
}

template <class F>
int BasicGridTable<F>::VisibleColumnCount() const {
    return static_cast<int>(std::count_if(columns_.begin(), columns_.end(), [](const auto& c) { return c->Visible; }));
}

template <class F>
BasicColumn<F>* BasicGridTable<F>::VisibleColumns(int AIndex) const {
    int seen = 0;
    for (const auto& column : columns_) {
        if (!column->Visible) continue;
        if (seen == AIndex) return column.get();
        ++seen;
    }
    throw EListError("Index out of bounds");
}

template <class F>
int BasicGridTable<F>::VisibleIndexOf(const Column* AColumn) const {
    int seen = 0;
    for (const auto& column : columns_) {
        if (!column->Visible) continue;
        if (column.get() == AColumn) return seen;
        ++seen;
    }
    return -1;
}

template <class F>
bool BasicGridTable<F>::IsValidCell(int ACol, int ARow) const {
    return ACol >= 0 && ACol < ColumnCount() && ARow >= 0 && ARow < Columns(ACol)->RowCount();
}

template <class F>
int BasicGridTable<F>::MaxHeaderCount() const {
    int count = 0;
    for (const auto& column : columns_) {
        if (column->Visible) count = std::max(count, column->GetHeaderCount());
    }
    return count;
}

template <class F>
BasicData<F>& BasicGridTable<F>::Cell(int ACol, int ARow) const {
    return Columns(ACol)->Rows(ARow);
}

template <class F>
void BasicGridTable<F>::SetCellText(int ACol, int ARow, const std::string& AText) {
    Columns(ACol)->SetText(ARow, AText);
}

template <class F>
void BasicGridTable<F>::AdjustTemplateLists() {
    int count = 1;
    if (!columns_.empty()) {
        if (const auto* items = dynamic_cast<const BasicEnumColumn<F>*>(columns_.front().get())) {
            count = static_cast<int>(items->Items().size());
        }
    }
    for (const auto& column : columns_) {
        if (auto* tables = dynamic_cast<BasicTableColumn<F>*>(column.get())) tables->Templates().Resize(count);
    }
}

template <class F>
void BasicGridTable<F>::Show() {
    if (VisibleColumnCount() == 0) return;
    if (space_->EditorLauncher) space_->EditorLauncher(self(), false);
}

template <class F>
void BasicGridTable<F>::ShowModal() {
    if (VisibleColumnCount() == 0) return;
    if (space_->EditorLauncher) space_->EditorLauncher(self(), true);
}

template <class F>
void BasicGridTable<F>::HideForm() {
    if (editorForm_ != nullptr) {
        TTableEditor* editor = editorForm_;
        editor->Release();
        // The window normally detaches itself; make sure nothing points at it any more.
        if (controlParent_ != nullptr) DetachEditor();
        editorForm_ = nullptr;
    }
    for (const auto& column : columns_) column->HideForms();
}

template <class F>
void BasicGridTable<F>::AttachEditor(TCellControlHost* AParent, std::function<void(int, int)> ACellChanged,
                                     std::function<void()> ADataChanged) {
    controlParent_ = AParent;
    OnCellChanged = std::move(ACellChanged);
    OnDataChanged = std::move(ADataChanged);
    if (editorForm_ == nullptr || AParent == nullptr) return;
    int top = 0;
    int count = 0;
    editorForm_->ShownRows(top, count);
    if (count <= 0) return;
    for (const auto& column : columns_) {
        if (column->UsesControls()) column->CreateControls(AParent, top, count);
    }
}

template <class F>
void BasicGridTable<F>::DetachEditor() {
    for (const auto& column : columns_) {
        if (column->UsesControls()) column->ClearControls();
    }
    controlParent_ = nullptr;
    OnCellChanged = nullptr;
    OnDataChanged = nullptr;
}

template <class F>
void BasicGridTable<F>::ColumnChanged(Column& AColumn, int ARow) {
    const int index = IndexOfColumn(&AColumn);
    if (index == 0 && dynamic_cast<BasicEnumColumn<F>*>(&AColumn) != nullptr) {
        for (const auto& column : columns_) {
            if (auto* tables = dynamic_cast<BasicTableColumn<F>*>(column.get())) {
                tables->CreateRowObject(&self(), ARow);
                break;
            }
        }
    }
    if (OnCellChanged) OnCellChanged(index, ARow);
}

template <class F>
void BasicGridTable<F>::ColumnSelected(Column& AColumn, int ARow) {
    if (editorForm_ == nullptr) return;
    editorForm_->SelectCell(VisibleIndexOf(&AColumn) + 1, MaxHeaderCount() + ARow);
}

template <class F>
void BasicGridTable<F>::FireDataChanged() {
    if (OnDataChanged) OnDataChanged();
}

template <class F>
void BasicGridTable<F>::ReadColumns(TColReader& AReader) {
    ClearColumns();
    int count = 0;
    try {
        count = AReader.ReadInteger();
    } catch (const Exception&) {
        throw EReadError("Error reading column count");
    }
    for (int i = 0; i < count; ++i) {
        const auto creationError = [i](const Exception& error) {
            return EReadError(formatText("Error occured when creating column %d: %s", {i, error.message()}));
        };
        int code = 0;
        try {
            code = AReader.ReadInteger();
        } catch (const Exception& error) {
            throw creationError(error);
        }
        const TColumnClass<F>* columnClass = space_->ColumnClassOf(code);
        if (columnClass == nullptr) throw EReadError("Error Column Class not defined");
        std::unique_ptr<Column> column;
        try {
            column = columnClass->Create(&self());
            column->ReadData(AReader);
        } catch (const Exception& error) {
            throw creationError(error);
        }
        AddColumn(std::move(column));
        AdjustTemplateLists();
    }
    F::ReadExtras(*this, AReader);
    FireDataChanged();
}

template <class F>
void BasicGridTable<F>::WriteColumns(TColWriter& AWriter) const {
    AWriter.WriteInteger(ColumnCount());
    for (const auto& column : columns_) {
        AWriter.WriteInteger(space_->TypeCodeOf(column->ClassType()));
        column->WriteData(AWriter);
    }
    F::WriteExtras(*this, AWriter);
}

template class BasicTableSpace<PlainFamily>;
template class BasicTableSpace<ChartFamily>;
template class BasicGridTable<PlainFamily>;
template class BasicGridTable<ChartFamily>;

}  // namespace velmor::components
