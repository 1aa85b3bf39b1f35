#include "tables/column_kinds.h"

#include <algorithm>
#include <cmath>

#include "fields/expression_evaluator.h"
#include "fields/utilities.h"
#include "tables/col_stream.h"
#include "tables/grid_table_chart.h"

namespace velmor::components {

namespace {

// A cell entry evaluated as an expression. The evaluator's own entry errors pass through; a text that
// does not convert is reported in the words of the cell. An arithmetic fault (1/0, a value the analysis
// cannot read) refuses the entry like any other, so the editor shows its message once and keeps the cell.
Extended evaluateEntry(const std::string& S, const std::function<Extended(Extended)>& toStored = {}) {
    try {
        const Extended value = CheckEntryRange(EvaluateExpression(S));
        if (toStored) CheckEntryRange(toStored(value));
        return value;
    } catch (const EConvertError&) {
        if (S.empty()) throw EAssignError("Entry cannot be blank.");
        throw EAssignError(S + " is not a valid number.");
    } catch (const EMathError& e) {
        throw EAssignError(e.message());
    }
}

// Screen pixels of a width in inches; a stored width outside 0..1000 inches (a damaged layout) is clamped.
int inches(Extended value, const TTextMeasure& ACanvas) {
    const Extended clamped = value >= 0 ? std::min(value, 1000.0L) : 0.0L;
    return static_cast<int>(std::lround(static_cast<double>(clamped * ACanvas.PixelsPerInch())));
}

template <class Column>
std::unique_ptr<Column> cloneAs(const Column& source, typename Column::Table* ATable) {
    auto column = std::make_unique<Column>(ATable);
    column->Visible = source.Visible;
    column->Header = source.Header;
    return column;
}

template <class F, class Column>
const TColumnClass<F>& columnClass(const char* baseName) {
    static const std::string name = std::string(baseName) + F::kClassSuffix;
    static const TColumnClass<F> cls{name.c_str(), [](typename F::Table* ATable) -> std::unique_ptr<BasicColumn<F>> {
                                         return std::make_unique<Column>(ATable);
                                     }};
    return cls;
}

}  // namespace

// ---- per-row value store

template <class F, class Value>
void BasicValueColumn<F, Value>::InsertRows(Table* ATable, int AIndex, int ACount) {
    values_.insert(values_.begin() + AIndex, static_cast<std::size_t>(ACount), newRowValue());
    BasicColumn<F>::InsertRows(ATable, AIndex, ACount);
}

template <class F, class Value>
void BasicValueColumn<F, Value>::DeleteRow(int AIndex) {
    this->checkRow(AIndex);
    values_.erase(values_.begin() + AIndex);
    BasicColumn<F>::DeleteRow(AIndex);
}

template <class F, class Value>
const Value& BasicValueColumn<F, Value>::value(int ARow) const {
    this->checkRow(ARow);
    return values_[static_cast<std::size_t>(ARow)];
}

template <class F, class Value>
void BasicValueColumn<F, Value>::storeInTargets(int ARow, const Value& AValue) {
    this->checkRow(ARow);
    int first = ARow;
    int last = ARow;
    this->targetRows(ARow, first, last);
    for (int row = first; row <= last; ++row) {
        values_[static_cast<std::size_t>(row)] = AValue;
        this->reportChange(row);
    }
}

// ---- item column

template <class F>
const TColumnClass<F>& BasicEnumColumn<F>::Class() {
    return columnClass<F, BasicEnumColumn>("TEnumColumn");
}

template <class F>
BasicEnumColumn<F>::BasicEnumColumn(Table* ATable) : BasicValueColumn<F, int>(ATable) {
    this->fillRows();
}

template <class F>
void BasicEnumColumn<F>::SetItems(std::vector<std::string> AItems) {
    items_ = std::move(AItems);
    if (OnItemsChange) OnItemsChange();
}

template <class F>
int BasicEnumColumn<F>::AsInteger(int ARow) const {
    return this->value(ARow);
}

template <class F>
void BasicEnumColumn<F>::SetInteger(int ARow, int Value) {
    this->checkRow(ARow);
    int first = ARow;
    int last = ARow;
    this->targetRows(ARow, first, last);
    for (int row = first; row <= last; ++row) {
        int& stored = values_[static_cast<std::size_t>(row)];
        if (stored == Value) continue;
        stored = Value;
        // An item number outside the list shows as no entry.
        const int index = Value >= 1 && Value <= static_cast<int>(items_.size()) ? Value - 1 : -1;
        for (auto& combo : combos_) {
            if (combo->Tag == row) combo->SetItemIndex(index);
        }
        this->reportChange(row);
    }
}

template <class F>
std::string BasicEnumColumn<F>::GetText(int ARow) const {
    return std::to_string(AsInteger(ARow));
}

template <class F>
void BasicEnumColumn<F>::SetText(int ARow, const std::string& S) {
    this->checkRow(ARow);
    const Extended value = evaluateEntry(S);
    if (!IsIntegral(value)) throw EAssignError("Value must be an integer.");
    SetInteger(ARow, static_cast<int>(RoundToInt64(value)));
}

template <class F>
TCellControl* BasicEnumColumn<F>::GetControl(int AIndex) const {
    if (AIndex < 0 || AIndex >= ControlCount()) {
        throw EListError("List index out of bounds (" + std::to_string(AIndex) + ")");
    }
    return combos_[static_cast<std::size_t>(AIndex)].get();
}

template <class F>
int BasicEnumColumn<F>::GetWidth(const TTextMeasure& ACanvas) const {
    return std::max(BasicColumn<F>::GetWidth(ACanvas), inches(1.5L, ACanvas));
}

template <class F>
void BasicEnumColumn<F>::WriteData(TColWriter& AWriter) const {
    BasicColumn<F>::WriteData(AWriter);
    AWriter.WriteListBegin();
    for (const auto& item : items_) AWriter.WriteString(item);
    AWriter.WriteListEnd();
}

template <class F>
void BasicEnumColumn<F>::ReadData(TColReader& AReader) {
    BasicColumn<F>::ReadData(AReader);
    items_ = AReader.ReadStringList();
}

template <class F>
std::unique_ptr<BasicColumn<F>> BasicEnumColumn<F>::Clone(Table* ATable) const {
    auto column = cloneAs(*this, ATable);
    column->items_ = items_;
    return column;
}

template <class F>
void BasicEnumColumn<F>::CreateControls(TCellControlHost* AParent, int ATopRow, int ACount) {
    if (controlParent_ != nullptr && controlParent_ != AParent && !combos_.empty()) {
        throw EAssertionFailed("Error attempt to change parent with controls already allocated");
    }
    if (AParent == nullptr) throw EAssertionFailed("null parent");
    controlParent_ = AParent;
    const auto count = static_cast<std::size_t>(std::max(0, ACount));
    while (combos_.size() > count) combos_.pop_back();
    while (combos_.size() < count) {
        const int k = static_cast<int>(combos_.size());
        combos_.push_back(AParent->CreateCombo(
            items_, 11, [this, k](int AItemIndex) { ComboChosen(k, AItemIndex); }, [this, k] { ComboFocused(k); }));
    }
    for (std::size_t k = 0; k < combos_.size(); ++k) {
        const int row = ATopRow + static_cast<int>(k);
        TComboControl& combo = *combos_[k];
        combo.Tag = row;
        combo.Hide();
        const int value = row >= 0 && row < this->RowCount() ? values_[static_cast<std::size_t>(row)] : 0;
        combo.SetItemIndex(value >= 1 && value <= static_cast<int>(items_.size()) ? value - 1 : -1);
        combo.BringToFront();
    }
}

template <class F>
void BasicEnumColumn<F>::ClearControls() {
    controlParent_ = nullptr;
    combos_.clear();
}

template <class F>
void BasicEnumColumn<F>::ComboChosen(int AControl, int AItemIndex) {
    const int row = GetControl(AControl)->Tag;
    if (row < 0) throw EAssertionFailed("Unexpected row for combobox");
    if (AsInteger(row) == AItemIndex + 1) return;
    SetInteger(row, AItemIndex + 1);
    // A choice is an edit like a typed entry: the table counts as changed.
    if (this->table_ != nullptr) this->table_->SetChanged(true);
}

template <class F>
void BasicEnumColumn<F>::ComboFocused(int AControl) {
    const int row = GetControl(AControl)->Tag;
    if (this->OnSelect) this->OnSelect(*this, row);
}

// ---- integer column

template <class F>
const TColumnClass<F>& BasicIntColumn<F>::Class() {
    return columnClass<F, BasicIntColumn>("TIntColumn");
}

template <class F>
BasicIntColumn<F>::BasicIntColumn(Table* ATable) : BasicValueColumn<F, int>(ATable) {
    this->fillRows();
}

template <class F>
int BasicIntColumn<F>::AsInteger(int ARow) const {
    return this->value(ARow);
}

template <class F>
void BasicIntColumn<F>::SetInteger(int ARow, int Value) {
    this->storeInTargets(ARow, Value);
}

template <class F>
std::string BasicIntColumn<F>::GetText(int ARow) const {
    return std::to_string(AsInteger(ARow));
}

template <class F>
void BasicIntColumn<F>::SetText(int ARow, const std::string& S) {
    this->checkRow(ARow);
    const Extended value = evaluateEntry(S);
    if (this->table_ != nullptr && this->table_->EditorForm() != nullptr) {
        if (Abs(Frac(value)) > 1e-10L) throw EAssignError("Entry must be an integer.");
        if (value < MinValue || value > MaxValue) {
            throw EAssignError(formatText("Entry must be between %d and %d.", {MinValue, MaxValue}));
        }
    }
    // Without the editor no bounds apply, but a value that does not fit a cell is refused rather than
    // wrapped around.
    if (!(value > -2147483648.5L && value < 2147483647.5L)) {
        throw EAssignError(formatText("Entry must be between %d and %d.", {-2147483647 - 1, 2147483647}));
    }
    SetInteger(ARow, static_cast<int>(RoundToInt64(value)));
}

template <class F>
int BasicIntColumn<F>::GetWidth(const TTextMeasure& ACanvas) const {
    return std::max(BasicColumn<F>::GetWidth(ACanvas), inches(0.5L, ACanvas));
}

template <class F>
void BasicIntColumn<F>::WriteData(TColWriter& AWriter) const {
    BasicColumn<F>::WriteData(AWriter);
    AWriter.WriteInteger(Default);
    AWriter.WriteInteger(MinValue);
    AWriter.WriteInteger(MaxValue);
}

template <class F>
void BasicIntColumn<F>::ReadData(TColReader& AReader) {
    BasicColumn<F>::ReadData(AReader);
    Default = AReader.ReadInteger();
    MinValue = AReader.ReadInteger();
    MaxValue = AReader.ReadInteger();
}

template <class F>
std::unique_ptr<BasicColumn<F>> BasicIntColumn<F>::Clone(Table* ATable) const {
    auto column = cloneAs(*this, ATable);
    column->Default = Default;
    column->MinValue = MinValue;
    column->MaxValue = MaxValue;
    return column;
}

// ---- float column

template <class F>
const TColumnClass<F>& BasicFloatColumn<F>::Class() {
    return columnClass<F, BasicFloatColumn>("TFloatColumn");
}

template <class F>
BasicFloatColumn<F>::BasicFloatColumn(Table* ATable) : BasicValueColumn<F, Extended>(ATable) {
    this->fillRows();
}

template <class F>
BasicFloatColumn<F>* BasicFloatColumn<F>::partner() const {
    const int index = this->Index();
    if (index < 0 || index + 1 >= this->table_->ColumnCount()) return nullptr;
    auto* next = dynamic_cast<BasicFloatColumn*>(this->table_->Columns(index + 1));
    if (next == nullptr) throw EAssertionFailed("If column if a topdepth then the next column must be a float column");
    return next;
}

template <class F>
BasicFloatColumn<F>* BasicFloatColumn<F>::topNeighbour() const {
    const int index = this->Index();
    if (index < 1) return nullptr;
    auto* previous = dynamic_cast<BasicFloatColumn*>(this->table_->Columns(index - 1));
    return previous != nullptr && previous->TopDepth ? previous : nullptr;
}

template <class F>
void BasicFloatColumn<F>::InsertRows(Table* ATable, int AIndex, int ACount) {
    BasicFloatColumn* bottom = TopDepth ? partner() : nullptr;
    BasicFloatColumn* top = topNeighbour();
    const int bottomCount = bottom != nullptr ? bottom->RowCount() : 0;
    values_.insert(values_.begin() + AIndex, static_cast<std::size_t>(ACount), Default);
    for (int d = AIndex; d < AIndex + ACount; ++d) {
        // A new top starts at the bottom of the row above (the last row's too, when rows are appended); a new
        // bottom ends at the top of the row below.
        if (bottom != nullptr && d >= 1 && d - 1 < bottomCount) {
            values_[static_cast<std::size_t>(d)] = bottom->values_[static_cast<std::size_t>(d - 1)];
        } else if (top != nullptr && d + 1 < top->RowCount()) {
            values_[static_cast<std::size_t>(d)] = top->values_[static_cast<std::size_t>(d + 1)];
        }
    }
    BasicColumn<F>::InsertRows(ATable, AIndex, ACount);
}

template <class F>
void BasicFloatColumn<F>::DeleteRow(int AIndex) {
    this->checkRow(AIndex);
    if (TopDepth && AIndex > 0 && AIndex < this->RowCount() - 1) {
        const BasicFloatColumn* bottom = partner();
        // The row after the gap starts where the row before it ends.
        if (bottom != nullptr && AIndex - 1 < bottom->RowCount()) {
            values_[static_cast<std::size_t>(AIndex + 1)] = bottom->values_[static_cast<std::size_t>(AIndex - 1)];
        }
    }
    BasicValueColumn<F, Extended>::DeleteRow(AIndex);
}

template <class F>
std::string BasicFloatColumn<F>::GetHeaderLine(int AIndex) const {
    std::string line = BasicColumn<F>::GetHeaderLine(AIndex);
    if (AIndex == this->GetHeaderCount() - 1 && !UnitString.empty()) {
        const int units = this->table_ != nullptr ? this->table_->Units() : 1;
        line = line + " (" + F::ExpandUnitNames(UnitString, units) + ")  ";
    }
    return line;
}

template <class F>
Extended BasicFloatColumn<F>::AsFloat(int ARow) const {
    return this->value(ARow);
}

template <class F>
void BasicFloatColumn<F>::SetFloat(int ARow, Extended Value) {
    if (this->PerGroup) {
        this->storeInTargets(ARow, Value);
        return;
    }
    this->checkRow(ARow);
    values_[static_cast<std::size_t>(ARow)] = Value;
    BasicFloatColumn* bottom = nullptr;
    if (TopDepth) {
        const int index = this->Index();
        if (index >= 0 && index + 1 < this->table_->ColumnCount()) {
            bottom = dynamic_cast<BasicFloatColumn*>(this->table_->Columns(index + 1));
        }
    }
    BasicFloatColumn* top = topNeighbour();
    if (bottom != nullptr && ARow >= 1 && ARow - 1 < bottom->RowCount()) {
        bottom->values_[static_cast<std::size_t>(ARow - 1)] = Value;
        bottom->reportChange(ARow - 1);
    } else if (top != nullptr && ARow + 1 < top->RowCount()) {
        top->values_[static_cast<std::size_t>(ARow + 1)] = Value;
        top->reportChange(ARow + 1);
    }
    this->reportChange(ARow);
}

template <class F>
std::string BasicFloatColumn<F>::GetText(int ARow) const {
    return formatGeneral(AsFloat(ARow), kCellDigits);
}

template <class F>
void BasicFloatColumn<F>::SetText(int ARow, const std::string& S) {
    this->checkRow(ARow);
    const int units = this->table_ != nullptr ? this->table_->Units() : 1;
    const Extended value =
        evaluateEntry(S, [this, units](Extended Value) { return StoredForm ? StoredForm(units, Value) : Value; });
    // A cell left as it shows is no new entry: passing through it never traps the focus on a stored value.
    if (CheckEntry && this->table_ != nullptr && this->table_->EditorForm() != nullptr && S != GetText(ARow)) {
        const std::string refusal = CheckEntry(ARow, value);
        if (!refusal.empty()) throw EAssignError(refusal);
    }
    SetFloat(ARow, value);
}

template <class F>
int BasicFloatColumn<F>::GetWidth(const TTextMeasure& ACanvas) const {
    return std::max(BasicColumn<F>::GetWidth(ACanvas), inches(0.5L, ACanvas));
}

template <class F>
void BasicFloatColumn<F>::SetUnits(int AUnits) {
    const Extended factor = F::ConversionFactor(this->table_->Units(), AUnits, UnitString);
    for (int row = 0; row < this->RowCount(); ++row) {
        values_[static_cast<std::size_t>(row)] *= factor;
        this->reportChange(row);
    }
}

template <class F>
void BasicFloatColumn<F>::CheckUnits(int AUnits) const {
    const Extended factor = F::ConversionFactor(this->table_->Units(), AUnits, UnitString);
    for (const Extended value : values_) {
        const Extended converted = value * factor;
        CheckEntryRange(StoredForm ? StoredForm(AUnits, converted) : converted);
    }
}

template <class F>
void BasicFloatColumn<F>::WriteData(TColWriter& AWriter) const {
    BasicColumn<F>::WriteData(AWriter);
    AWriter.WriteBoolean(TopDepth);
    AWriter.WriteString("FLOATCOLUMN2");
    AWriter.WriteString(UnitString);
    AWriter.WriteFloat(Default);
}

template <class F>
void BasicFloatColumn<F>::ReadData(TColReader& AReader) {
    BasicColumn<F>::ReadData(AReader);
    TopDepth = AReader.ReadBoolean();
    const std::string form = AReader.ReadString();
    if (form == "FLOATCOLUMN2") {
        UnitString = AReader.ReadString();
        Default = AReader.ReadFloat();
    } else {
        // The older form holds only the unit code.
        UnitString = form;
        Default = 0;
    }
}

template <class F>
std::unique_ptr<BasicColumn<F>> BasicFloatColumn<F>::Clone(Table* ATable) const {
    auto column = cloneAs(*this, ATable);
    column->Default = Default;
    column->TopDepth = TopDepth;
    column->UnitString = UnitString;
    column->StoredForm = StoredForm;
    return column;
}

// ---- template references

template <class F>
const typename BasicGridTableList<F>::TIntWrapper& BasicGridTableList<F>::Items(int AIndex) const {
    if (AIndex < 0 || AIndex >= Count()) throw EListError("List index out of bounds (" + std::to_string(AIndex) + ")");
    return entries_[static_cast<std::size_t>(AIndex)];
}

template <class F>
void BasicGridTableList<F>::AddPosition(int APosition) {
    entries_.push_back({APosition, false});
}

template <class F>
void BasicGridTableList<F>::AddIdentifier(int AIdentifier) {
    entries_.push_back({AIdentifier, true});
}

template <class F>
void BasicGridTableList<F>::AddTable(const BasicTableSpace<F>& ASpace, const Table* ATable) {
    AddPosition(ASpace.PositionOf(ATable));
}

template <class F>
void BasicGridTableList<F>::Resize(int ACount) {
    entries_.resize(static_cast<std::size_t>(std::max(0, ACount)), TIntWrapper{-1, false});
}

template <class F>
int BasicGridTableList<F>::Resolve(const BasicTableSpace<F>& ASpace, int AIndex) const {
    const TIntWrapper& entry = Items(AIndex);
    return entry.IsIdentifier ? ASpace.PositionOfIdentifier(entry.Value) : entry.Value;
}

template <class F>
typename F::Table* BasicGridTableList<F>::Template(const BasicTableSpace<F>& ASpace, int AIndex) const {
    if (AIndex < 0 || AIndex >= Count()) return nullptr;
    const int position = Resolve(ASpace, AIndex);
    if (position < 0 || position >= ASpace.TableCount()) return nullptr;
    return ASpace.Tables(position);
}

// ---- table column

template <class F>
const TColumnClass<F>& BasicTableColumn<F>::Class() {
    return columnClass<F, BasicTableColumn>("TTableColumn");
}

template <class F>
BasicTableColumn<F>::BasicTableColumn(Table* ATable) : BasicColumn<F>(ATable) {
    this->fillRows();
}

template <class F>
BasicTableColumn<F>::~BasicTableColumn() {
    buttons_.clear();
    // Sub-tables from the last row to the first, as rows are deleted.
    while (!objects_.empty()) objects_.pop_back();
}

template <class F>
void BasicTableColumn<F>::InsertRows(Table* ATable, int AIndex, int ACount) {
    std::vector<std::unique_ptr<TRowObject>> empty(static_cast<std::size_t>(ACount));
    objects_.insert(objects_.begin() + AIndex, std::make_move_iterator(empty.begin()),
                    std::make_move_iterator(empty.end()));
    for (int row = AIndex; row < AIndex + ACount; ++row) CreateRowObject(ATable, row);
    renumberFrom(AIndex + ACount);
    BasicColumn<F>::InsertRows(ATable, AIndex, ACount);
}

template <class F>
void BasicTableColumn<F>::DeleteRow(int AIndex) {
    this->checkRow(AIndex);
    objects_.erase(objects_.begin() + AIndex);
    renumberFrom(AIndex);
    BasicColumn<F>::DeleteRow(AIndex);
}

template <class F>
void BasicTableColumn<F>::CreateRowObject(Table* ATable, int ARow) {
    if (ATable == nullptr || ARow < 0 || ARow >= static_cast<int>(objects_.size())) return;
    int item = 1;
    bool itemInList = true;
    if (ATable->ColumnCount() > 0) {
        if (const auto* items = dynamic_cast<const BasicEnumColumn<F>*>(ATable->Columns(0))) {
            if (ARow < items->RowCount()) item = items->AsInteger(ARow);
            itemInList = item >= 1 && item <= static_cast<int>(items->Items().size());
        }
    }
    Table* source = itemInList ? templates_.Template(ATable->TableSpace(), item - 1) : nullptr;
    // A template among the table's own ancestors (or their templates) would clone itself without end.
    for (const BasicGridTable<F>* t = ATable; source != nullptr && t != nullptr; t = t->Owner()) {
        if (t == source || t->ClonedFrom() == source) source = nullptr;
    }
    std::unique_ptr<TRowObject>& slot = objects_[static_cast<std::size_t>(ARow)];
    if (source != nullptr) {
        std::unique_ptr<Table> table = Table::CreateClone(ATable, ARow + 1, *source);
        if constexpr (F::kKeepsSubTableData) {
            if (const auto* old = dynamic_cast<const Table*>(slot.get())) {
                table->SetRowCount(old->RowCount());
                const int columns = std::min(old->ColumnCount(), table->ColumnCount());
                for (int c = 0; c < columns; ++c) {
                    const auto* from = dynamic_cast<const BasicFloatColumn<F>*>(old->Columns(c));
                    auto* to = dynamic_cast<BasicFloatColumn<F>*>(table->Columns(c));
                    if (from == nullptr || to == nullptr) continue;
                    const int rows = std::min(from->RowCount(), to->RowCount());
                    for (int r = 0; r < rows; ++r) to->SetFloat(r, from->AsFloat(r));
                }
            }
        }
        slot = std::move(table);
    } else if (itemInList && OnInitRow) {
        std::unique_ptr<TRowObject> made;
        OnInitRow(ARow, item, made);
        if (made != nullptr && OnSetRow) OnSetRow(made.get(), ARow);
        slot = std::move(made);
    } else {
        slot.reset();
    }
    renewCaption(ARow);
}

template <class F>
void BasicTableColumn<F>::renumberFrom(int ARow) {
    for (int row = std::max(0, ARow); row < static_cast<int>(objects_.size()); ++row) {
        TRowObject* object = objects_[static_cast<std::size_t>(row)].get();
        if (auto* table = dynamic_cast<Table*>(object)) {
            table->SetNumber(row + 1);
        } else if (object != nullptr && OnSetRow) {
            OnSetRow(object, row);
        }
        renewCaption(row);
    }
}

template <class F>
void BasicTableColumn<F>::renewCaption(int ARow) {
    for (auto& button : buttons_) {
        if (button->Tag == ARow) button->SetCaption(ButtonCaption(ARow));
    }
}

template <class F>
typename F::Table* BasicTableColumn<F>::AsTable(int ARow) const {
    return dynamic_cast<Table*>(AsObject(ARow));
}

template <class F>
TRowObject* BasicTableColumn<F>::AsObject(int ARow) const {
    if (ARow < 0 || ARow >= static_cast<int>(objects_.size())) {
        throw EListError("List index out of bounds (" + std::to_string(ARow) + ")");
    }
    return objects_[static_cast<std::size_t>(ARow)].get();
}

template <class F>
bool BasicTableColumn<F>::GetChanged() const {
    for (std::size_t row = 0; row < objects_.size(); ++row) {
        TRowObject* object = objects_[row].get();
        if (const auto* table = dynamic_cast<const Table*>(object)) {
            if (table->GetChanged()) return true;
        } else if (object != nullptr && OnGetChanged) {
            bool changed = false;
            OnGetChanged(static_cast<int>(row), object, changed);
            if (changed) return true;
        }
    }
    return false;
}

template <class F>
TCellControl* BasicTableColumn<F>::GetControl(int AIndex) const {
    if (AIndex < 0 || AIndex >= ControlCount()) {
        throw EListError("List index out of bounds (" + std::to_string(AIndex) + ")");
    }
    return buttons_[static_cast<std::size_t>(AIndex)].get();
}

template <class F>
void BasicTableColumn<F>::HideForms() {
    for (std::size_t row = 0; row < objects_.size(); ++row) {
        TRowObject* object = objects_[row].get();
        if (auto* table = dynamic_cast<Table*>(object)) {
            table->HideForm();
        } else if (object != nullptr && OnHide) {
            OnHide(static_cast<int>(row), object);
        }
    }
}

template <class F>
void BasicTableColumn<F>::ResetChanged() {
    for (std::size_t row = 0; row < objects_.size(); ++row) {
        TRowObject* object = objects_[row].get();
        if (auto* table = dynamic_cast<Table*>(object)) {
            table->SetChanged(false);
        } else if (object != nullptr && OnResetChanged) {
            OnResetChanged(static_cast<int>(row), object);
        }
    }
}

template <class F>
int BasicTableColumn<F>::GetWidth(const TTextMeasure& ACanvas) const {
    return std::max(BasicColumn<F>::GetWidth(ACanvas), inches(2.0L, ACanvas));
}

template <class F>
void BasicTableColumn<F>::SetUnits(int AUnits) {
    for (std::size_t row = 0; row < objects_.size(); ++row) {
        TRowObject* object = objects_[row].get();
        if (auto* table = dynamic_cast<Table*>(object)) {
            table->SetUnits(AUnits);
        } else if (object != nullptr && OnSetUnits) {
            OnSetUnits(static_cast<int>(row), object, AUnits);
        }
    }
}

template <class F>
void BasicTableColumn<F>::CheckUnits(int AUnits) const {
    for (const auto& object : objects_)
        if (const auto* table = dynamic_cast<const Table*>(object.get())) table->CheckUnits(AUnits);
}

template <class F>
void BasicTableColumn<F>::WriteData(TColWriter& AWriter) const {
    BasicColumn<F>::WriteData(AWriter);
    AWriter.WriteString("FLEXCOLUMN2");
    AWriter.WriteListBegin();
    for (int i = 0; i < templates_.Count(); ++i) {
        const Table* source = this->table_ != nullptr ? templates_.Template(this->table_->TableSpace(), i) : nullptr;
        AWriter.WriteInteger(source != nullptr ? source->Identifier() : -1);
    }
    AWriter.WriteListEnd();
}

template <class F>
void BasicTableColumn<F>::ReadData(TColReader& AReader) {
    BasicColumn<F>::ReadData(AReader);
    templates_.Clear();
    const std::string form = AReader.ReadString();
    if (form == "FLEXCOLUMN2") {
        AReader.ReadListBegin();
        while (!AReader.EndOfList()) templates_.AddIdentifier(AReader.ReadInteger());
        AReader.ReadListEnd();
        return;
    }
    // The older form: one template position.
    const int position = AReader.ReadInteger();
    const BasicEnumColumn<F>* items = nullptr;
    if (this->table_ != nullptr && this->table_->ColumnCount() > 0) {
        items = dynamic_cast<const BasicEnumColumn<F>*>(this->table_->Columns(0));
    }
    if (items == nullptr) {
        templates_.AddPosition(position);
        return;
    }
    const int count = static_cast<int>(items->Items().size());
    for (int i = 1; i <= count; ++i) {
        if (this->table_->HardwiredButton()) {
            templates_.AddPosition(position);
        } else {
            templates_.AddIdentifier(i);
        }
    }
}

template <class F>
std::unique_ptr<BasicColumn<F>> BasicTableColumn<F>::Clone(Table* ATable) const {
    auto column = cloneAs(*this, ATable);
    for (int i = 0; i < templates_.Count(); ++i) {
        column->templates_.AddPosition(this->table_ != nullptr ? templates_.Resolve(this->table_->TableSpace(), i)
                                                               : -1);
    }
    return column;
}

template <class F>
void BasicTableColumn<F>::CreateControls(TCellControlHost* AParent, int ATopRow, int ACount) {
    if (controlParent_ != nullptr && controlParent_ != AParent && !buttons_.empty()) {
        throw EAssertionFailed("Attempt to change parent with controls already allocated");
    }
    if (AParent == nullptr) throw EAssertionFailed("null parent");
    RaiseIfFmt(ATopRow < 0 || ATopRow >= this->RowCount(), "ATopRow %d", {ATopRow});
    RaiseIfFmt(ACount <= 0 || ATopRow + ACount > this->RowCount(), "ACount %d", {ACount});
    controlParent_ = AParent;
    const auto count = static_cast<std::size_t>(ACount);
    while (buttons_.size() > count) buttons_.pop_back();
    while (buttons_.size() < count) {
        const int k = static_cast<int>(buttons_.size());
        buttons_.push_back(AParent->CreateButton([this, k] { ButtonClicked(k); }));
    }
    for (std::size_t k = 0; k < buttons_.size(); ++k) {
        const int row = ATopRow + static_cast<int>(k);
        buttons_[k]->Tag = row;
        buttons_[k]->SetCaption(ButtonCaption(row));
        buttons_[k]->BringToFront();
    }
}

template <class F>
void BasicTableColumn<F>::ClearControls() {
    controlParent_ = nullptr;
    buttons_.clear();
}

template <class F>
std::string BasicTableColumn<F>::ButtonCaption(int ARow) const {
    TRowObject* object = AsObject(ARow);
    std::string caption;
    if (const auto* table = dynamic_cast<const Table*>(object)) {
        caption = table->Caption();
    } else if (OnGetButtonCaption) {
        OnGetButtonCaption(ARow, object, caption);
    }
    return formatText("%d: %s", {ARow + 1, caption});
}

template <class F>
void BasicTableColumn<F>::ButtonClicked(int AControl) {
    const int row = GetControl(AControl)->Tag;
    // A button left over from a deleted row has nothing to open.
    if (row < 0 || row >= this->RowCount()) return;
    TRowObject* object = AsObject(row);
    if (auto* table = dynamic_cast<Table*>(object)) {
        const TTableEditor* editor = this->table_ != nullptr ? this->table_->EditorForm() : nullptr;
        if (editor != nullptr && editor->IsShownModally()) {
            table->ShowModal();
        } else {
            table->Show();
        }
    } else if (OnButtonClick) {
        OnButtonClick(row, object);
    }
}

// ---- text column

template <class F>
const TColumnClass<F>& BasicStringColumn<F>::Class() {
    return columnClass<F, BasicStringColumn>("TStringColumn");
}

template <class F>
BasicStringColumn<F>::BasicStringColumn(Table* ATable) : BasicValueColumn<F, std::string>(ATable) {
    this->fillRows();
}

template <class F>
std::string BasicStringColumn<F>::GetText(int ARow) const {
    return this->value(ARow);
}

template <class F>
void BasicStringColumn<F>::SetText(int ARow, const std::string& S) {
    this->storeInTargets(ARow, S);
}

template <class F>
int BasicStringColumn<F>::GetWidth(const TTextMeasure& ACanvas) const {
    return std::max(BasicColumn<F>::GetWidth(ACanvas), inches(Width, ACanvas));
}

template <class F>
void BasicStringColumn<F>::WriteData(TColWriter& AWriter) const {
    BasicColumn<F>::WriteData(AWriter);
    AWriter.WriteString(Default);
    AWriter.WriteFloat(Width);
}

template <class F>
void BasicStringColumn<F>::ReadData(TColReader& AReader) {
    BasicColumn<F>::ReadData(AReader);
    Default = AReader.ReadString();
    Width = AReader.ReadFloat();
}

template <class F>
std::unique_ptr<BasicColumn<F>> BasicStringColumn<F>::Clone(Table* ATable) const {
    auto column = cloneAs(*this, ATable);
    column->Default = Default;
    column->Width = Width;
    return column;
}

template class BasicValueColumn<PlainFamily, int>;
template class BasicValueColumn<ChartFamily, int>;
template class BasicValueColumn<PlainFamily, Extended>;
template class BasicValueColumn<ChartFamily, Extended>;
template class BasicValueColumn<PlainFamily, std::string>;
template class BasicValueColumn<ChartFamily, std::string>;
template class BasicEnumColumn<PlainFamily>;
template class BasicEnumColumn<ChartFamily>;
template class BasicIntColumn<PlainFamily>;
template class BasicIntColumn<ChartFamily>;
template class BasicFloatColumn<PlainFamily>;
template class BasicFloatColumn<ChartFamily>;
template class BasicGridTableList<PlainFamily>;
template class BasicGridTableList<ChartFamily>;
template class BasicTableColumn<PlainFamily>;
template class BasicTableColumn<ChartFamily>;
template class BasicStringColumn<PlainFamily>;
template class BasicStringColumn<ChartFamily>;

}  // namespace velmor::components
