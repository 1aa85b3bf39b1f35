#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tables/column.h"

namespace velmor::components {

// The per-row value store the value kinds share: one Value per row, inserted and erased with the rows.
// Each kind still fills its rows in its own constructor, where InsertRows reaches the kind's override.
template <class F, class Value>
class BasicValueColumn : public BasicColumn<F> {
  public:
    using Table = typename F::Table;

    // Inserts ACount values newRowValue() at AIndex.
    void InsertRows(Table* ATable, int AIndex, int ACount) override;
    void DeleteRow(int AIndex) override;
    // No cell controls unless a kind makes them.
    bool HasControls() const override { return false; }
    TCellControl* GetControl(int) const override { return nullptr; }

  protected:
    explicit BasicValueColumn(Table* ATable) : BasicColumn<F>(ATable) {}

    // The value a new row starts with.
    virtual Value newRowValue() const = 0;
    // The value of ARow; an index outside the rows raises EListError.
    const Value& value(int ARow) const;
    // Stores AValue in every row a write to ARow goes to (see targetRows), reporting each change.
    void storeInTargets(int ARow, const Value& AValue);

    std::vector<Value> values_;
};

// Item choices: the cell value is the 1-based item number, shown in the editor as a drop-down list. A
// number outside the items (a stored file may hold one) is kept as it is and shows as an empty choice.
template <class F>
class BasicEnumColumn : public BasicValueColumn<F, int> {
  public:
    using Table = typename F::Table;
    static const TColumnClass<F>& Class();

    explicit BasicEnumColumn(Table* ATable);
    const TColumnClass<F>& ClassType() const override { return Class(); }

    const std::vector<std::string>& Items() const { return items_; }
    // Replaces the items and tells the table (which adjusts its template lists when this is column 0).
    void SetItems(std::vector<std::string> AItems);
    // Set by the table: the item list changed.
    std::function<void()> OnItemsChange;

    int AsInteger(int ARow) const override;
    // Storing the number a row already has does nothing.
    void SetInteger(int ARow, int Value) override;
    std::string GetText(int ARow) const override;
    // The text is evaluated; the result must be a whole number in the 32-bit range ("Value must be an
    // integer."). It is not compared with the item count.
    void SetText(int ARow, const std::string& S) override;
    bool HasControls() const override { return controlParent_ != nullptr; }
    TCellControl* GetControl(int AIndex) const override;
    int GetWidth(const TTextMeasure& ACanvas) const override;
    void WriteData(TColWriter& AWriter) const override;
    void ReadData(TColReader& AReader) override;
    bool UsesControls() const override { return true; }
    std::unique_ptr<BasicColumn<F>> Clone(Table* ATable) const override;
    // Keeps exactly ACount drop-down lists on AParent; list k shows row ATopRow + k.
    void CreateControls(TCellControlHost* AParent, int ATopRow, int ACount) override;
    void ClearControls() override;

    // Control logic, called by the drop-down lists. Choosing entry AItemIndex of list k stores
    // AItemIndex + 1 as the item number of the list's row when it differs ("Unexpected row for combobox"
    // for a list without a row); a list that gets the focus reports its row through OnSelect.
    void ComboChosen(int AControl, int AItemIndex);
    void ComboFocused(int AControl);
    int ControlCount() const { return static_cast<int>(combos_.size()); }

  private:
    std::vector<std::string> items_;
    using BasicValueColumn<F, int>::values_;
    int newRowValue() const override { return 1; }
    std::vector<std::unique_ptr<TComboControl>> combos_;
    TCellControlHost* controlParent_ = nullptr;
};

// Whole numbers with bounds that apply while the table's editor exists.
template <class F>
class BasicIntColumn : public BasicValueColumn<F, int> {
  public:
    using Table = typename F::Table;
    static const TColumnClass<F>& Class();

    explicit BasicIntColumn(Table* ATable);
    const TColumnClass<F>& ClassType() const override { return Class(); }

    int Default = 0;
    int MinValue = -2147483647 - 1;
    int MaxValue = 2147483647;

    int AsInteger(int ARow) const override;
    void SetInteger(int ARow, int Value) override;
    std::string GetText(int ARow) const override;
    // The text is evaluated; while the table's editor exists a fraction above 1e-10 raises "Entry must be
    // an integer." and a value outside MinValue..MaxValue "Entry must be between %d and %d.". The value is
    // rounded (a half to the even neighbour).
    void SetText(int ARow, const std::string& S) override;
    int GetWidth(const TTextMeasure& ACanvas) const override;
    void WriteData(TColWriter& AWriter) const override;
    void ReadData(TColReader& AReader) override;
    std::unique_ptr<BasicColumn<F>> Clone(Table* ATable) const override;

  private:
    using BasicValueColumn<F, int>::values_;
    int newRowValue() const override { return Default; }
};

// Extended values with a unit code; rescaled when the table's unit system changes. A TopDepth column holds
// the top of each row and the next column its bottom: the top of row r is the bottom of row r - 1.
template <class F>
class BasicFloatColumn : public BasicValueColumn<F, Extended> {
  public:
    using Table = typename F::Table;
    static const TColumnClass<F>& Class();

    explicit BasicFloatColumn(Table* ATable);
    const TColumnClass<F>& ClassType() const override { return Class(); }

    Extended Default = 0;
    bool TopDepth = false;
    std::string UnitString;
    // A check of a typed entry (row, value in the table's units) that the column kind cannot know, such as
    // a layer bottom below the one above: the message that refuses the entry, empty to accept it. Run
    // while the table's editor is open, as the integer limits are, on a text other than the cell shows;
    // not part of the stored layout.
    std::function<std::string(int ARow, Extended Value)> CheckEntry;
    // For a column that the project file holds converted (a depth shown in feet, written in inches): the
    // stored form of a value in unit system AUnits. An entry, or a change of units, whose stored form the
    // analysis cannot read is refused as one beyond that range itself is. Copied to clones (the sub-tables
    // of a template); not part of the stored layout.
    std::function<Extended(int AUnits, Extended Value)> StoredForm;

    void InsertRows(Table* ATable, int AIndex, int ACount) override;
    void DeleteRow(int AIndex) override;
    // The last header line gets the unit names: "%s (%s)  " with the line and the expanded code.
    std::string GetHeaderLine(int AIndex) const override;
    Extended AsFloat(int ARow) const override;
    void SetFloat(int ARow, Extended Value) override;
    // General format, 8 significant digits.
    std::string GetText(int ARow) const override;
    void SetText(int ARow, const std::string& S) override;
    int GetWidth(const TTextMeasure& ACanvas) const override;
    // Every value times the conversion factor from the table's unit system to AUnits; Default unchanged.
    void SetUnits(int AUnits) override;
    // EOverflow or EUnderflow when a value converted to AUnits, in its stored form, is one the analysis
    // cannot read; changes nothing.
    void CheckUnits(int AUnits) const override;
    void WriteData(TColWriter& AWriter) const override;
    // Reads the newer form ("FLOATCOLUMN2", unit code, default) and the older one (unit code, default 0).
    void ReadData(TColReader& AReader) override;
    std::unique_ptr<BasicColumn<F>> Clone(Table* ATable) const override;

  private:
    // The next column when this one is a top-depth column; raises when it is not a float column.
    BasicFloatColumn* partner() const;
    // The previous column when it is a top-depth float column, else null.
    BasicFloatColumn* topNeighbour() const;
    void store(int ARow, Extended Value);

    using BasicValueColumn<F, Extended>::values_;
    Extended newRowValue() const override { return Default; }
};

// Template references of a table column, one per item of column 0: each a table position in the table
// space's list, or a table identifier resolved to the first table that has it.
template <class F>
class BasicGridTableList {
  public:
    using Table = typename F::Table;

    struct TIntWrapper {
        int Value;
        bool IsIdentifier;
    };

    int Count() const { return static_cast<int>(entries_.size()); }
    const TIntWrapper& Items(int AIndex) const;
    void AddPosition(int APosition);
    void AddIdentifier(int AIdentifier);
    // Adds the position of ATable in the space (-1 when absent).
    void AddTable(const BasicTableSpace<F>& ASpace, const Table* ATable);
    // Empty references (position -1) are added or entries removed at the end until Count is ACount.
    void Resize(int ACount);
    void Clear() { entries_.clear(); }
    // The position entry AIndex resolves to (-1 for none).
    int Resolve(const BasicTableSpace<F>& ASpace, int AIndex) const;
    // The template of entry AIndex, null when the entry or its position is outside the lists.
    Table* Template(const BasicTableSpace<F>& ASpace, int AIndex) const;

  private:
    std::vector<TIntWrapper> entries_;
};

// Cells that hold a whole sub-table (cloned from the template chosen by the row's item in column 0) or an
// object that the table's owner makes; shown in the editor as push buttons.
template <class F>
class BasicTableColumn : public BasicColumn<F> {
  public:
    using Table = typename F::Table;
    static const TColumnClass<F>& Class();

    explicit BasicTableColumn(Table* ATable);
    ~BasicTableColumn() override;
    const TColumnClass<F>& ClassType() const override { return Class(); }

    BasicGridTableList<F>& Templates() { return templates_; }
    const BasicGridTableList<F>& Templates() const { return templates_; }

    // Row-object events for objects that are not tables; set by the table, which forwards them to its own
    // events with itself as Sender and this column's index.
    std::function<void(int ARow, TRowObject* AData)> OnButtonClick;
    std::function<void(int ARow, TRowObject* AData, std::string& ACaption)> OnGetButtonCaption;
    std::function<void(int ARow, TRowObject* AData, bool& AChanged)> OnGetChanged;
    std::function<void(int ARow, TRowObject* AData)> OnHide;
    std::function<void(int ARow, int AEnumType, std::unique_ptr<TRowObject>& AData)> OnInitRow;
    std::function<void(int ARow, TRowObject* AData)> OnResetChanged;
    std::function<void(TRowObject* AData, int ARow)> OnSetRow;
    std::function<void(int ARow, TRowObject* AData, int AValue)> OnSetUnits;

    void InsertRows(Table* ATable, int AIndex, int ACount) override;
    void DeleteRow(int AIndex) override;
    Table* AsTable(int ARow) const override;
    TRowObject* AsObject(int ARow) const override;
    bool GetChanged() const override;
    bool HasControls() const override { return controlParent_ != nullptr; }
    TCellControl* GetControl(int AIndex) const override;
    void HideForms() override;
    void ResetChanged() override;
    int GetWidth(const TTextMeasure& ACanvas) const override;
    void SetUnits(int AUnits) override;
    // Each sub-table's CheckUnits.
    void CheckUnits(int AUnits) const override;
    // Writes "FLEXCOLUMN2" and, per template entry, the resolved template's Identifier or -1.
    void WriteData(TColWriter& AWriter) const override;
    // Reads the newer form and the older one (one template position, see the table's HardwiredButton).
    void ReadData(TColReader& AReader) override;
    bool UsesControls() const override { return true; }
    std::unique_ptr<BasicColumn<F>> Clone(Table* ATable) const override;
    // Keeps exactly ACount buttons on AParent; button k shows row ATopRow + k.
    void CreateControls(TCellControlHost* AParent, int ATopRow, int ACount) override;
    void ClearControls() override;

    // (Re)makes the object of a row from the template of the row's item in column 0 (chart tables keep the
    // old sub-table's values), else through OnInitRow, else none.
    void CreateRowObject(Table* ATable, int ARow);
    // "%d: %s" with ARow + 1 and the sub-table's Caption (or OnGetButtonCaption's caption).
    std::string ButtonCaption(int ARow) const;
    // Control logic, called by the buttons: opens the row's sub-table (modally when the table's editor is
    // shown modally) or fires OnButtonClick.
    void ButtonClicked(int AControl);
    int ControlCount() const { return static_cast<int>(buttons_.size()); }

  private:
    void renumberFrom(int ARow);
    void renewCaption(int ARow);

    BasicGridTableList<F> templates_;
    std::vector<std::unique_ptr<TRowObject>> objects_;
    std::vector<std::unique_ptr<TButtonControl>> buttons_;
    TCellControlHost* controlParent_ = nullptr;
};

// Plain text, stored as typed.
template <class F>
class BasicStringColumn : public BasicValueColumn<F, std::string> {
  public:
    using Table = typename F::Table;
    static const TColumnClass<F>& Class();

    explicit BasicStringColumn(Table* ATable);
    const TColumnClass<F>& ClassType() const override { return Class(); }

    std::string Default;
    Extended Width = 1.0;  // inches

    std::string GetText(int ARow) const override;
    void SetText(int ARow, const std::string& S) override;
    int GetWidth(const TTextMeasure& ACanvas) const override;
    void WriteData(TColWriter& AWriter) const override;
    void ReadData(TColReader& AReader) override;
    std::unique_ptr<BasicColumn<F>> Clone(Table* ATable) const override;

  private:
    using BasicValueColumn<F, std::string>::values_;
    std::string newRowValue() const override { return Default; }
};

using TData = BasicData<PlainFamily>;
using TColumn = BasicColumn<PlainFamily>;
using TEnumColumn = BasicEnumColumn<PlainFamily>;
using TIntColumn = BasicIntColumn<PlainFamily>;
using TFloatColumn = BasicFloatColumn<PlainFamily>;
using TTableColumn = BasicTableColumn<PlainFamily>;
using TStringColumn = BasicStringColumn<PlainFamily>;
using TGridTableList = BasicGridTableList<PlainFamily>;

using TDataChart = BasicData<ChartFamily>;
using TColumnChart = BasicColumn<ChartFamily>;
using TEnumColumnChart = BasicEnumColumn<ChartFamily>;
using TIntColumnChart = BasicIntColumn<ChartFamily>;
using TFloatColumnChart = BasicFloatColumn<ChartFamily>;
using TTableColumnChart = BasicTableColumn<ChartFamily>;
using TStringColumnChart = BasicStringColumn<ChartFamily>;
using TGridTableListChart = BasicGridTableList<ChartFamily>;

}  // namespace velmor::components
