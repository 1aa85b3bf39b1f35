#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tables/cell_controls.h"
#include "tables/column_kinds.h"
#include "tables/table_space.h"

namespace velmor::components {

// The model behind every tabular input: typed columns, a row count changed in whole row groups, a unit
// system, a changed flag, caption numbers for sub-tables and the hooks of an editor window. Instantiated
// for the plain family (TGridTable) and the chart family (TGridTableChart, which adds its chart settings
// through F::TableExtras).
//
// A table belongs to one table space (registry, table list, identifier counter), which must outlive it.
// AOwner is the parent table of a sub-table (for the unit system and the caption numbers), or null.
template <class F>
class BasicGridTable : public TRowObject, public F::TableExtras {
  public:
    using Table = typename F::Table;
    using Column = BasicColumn<F>;
    using Data = BasicData<F>;
    using Space = BasicTableSpace<F>;

    // Events for row objects of table columns that are not tables (Sender the table, ACol the index of
    // the table column among all columns, ARow the 0-based row, AData the row's object).
    using TButtonClickEvent = std::function<void(Table& Sender, int ACol, int ARow, TRowObject* AData)>;
    using THideEvent = TButtonClickEvent;
    using TResetChangedEvent = TButtonClickEvent;
    using TGetButtonCaptionEvent =
        std::function<void(Table& Sender, int ACol, int ARow, TRowObject* AData, std::string& ACaption)>;
    using TGetChangedEvent = std::function<void(Table& Sender, int ACol, int ARow, TRowObject* AData, bool& AChanged)>;
    using TInitRowEvent =
        std::function<void(Table& Sender, int ACol, int ARow, int AEnumType, std::unique_ptr<TRowObject>& AData)>;
    using TSetRowEvent = std::function<void(Table& Sender, int ACol, TRowObject* AData, int ARow)>;
    using TSetUnitsEvent = std::function<void(Table& Sender, int ACol, int ARow, TRowObject* AData, int AValue)>;
    using TNotifyEvent = std::function<void(Table& Sender)>;

    // Create: defaults, the next Identifier of the space's counter, appended to the space's table list;
    // Units from AOwner when given, else 1.
    BasicGridTable(Space& ASpace, Table* AOwner = nullptr);
    BasicGridTable(const BasicGridTable&) = delete;
    BasicGridTable& operator=(const BasicGridTable&) = delete;
    // An open editor forgets the table first; then every row and sub-table is freed, the columns, and the
    // table leaves the space's list.
    ~BasicGridTable() override;

    // A sub-table owned by AOwner (the parent table): Caption, Comments, TopLeft, MinRows, MaxRows, the
    // columns (cloned) and the family's settings from ATemplate; Number ANumber; MinRows rows of defaults.
    static std::unique_ptr<Table> CreateClone(Table* AOwner, int ANumber, const Table& ATemplate);

    Space& TableSpace() const { return *space_; }
    // The template this table was cloned from (compared, never followed: it may be gone), else null.
    const BasicGridTable* ClonedFrom() const { return clonedFrom_; }
    Table* Owner() const { return owner_; }

    // Published properties (their names are those of the stored layout).
    const std::string& Comments() const { return comments_; }
    void SetComments(const std::string& Value) { comments_ = Value; }
    int Identifier() const { return identifier_; }
    // Negative values are ignored. Every table of the space holding Value takes this table's current
    // identifier; then this table takes Value.
    void SetIdentifier(int Value);
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& Value) { caption_ = Value; }
    // 0: no limit.
    int MaxRows() const { return maxRows_; }
    void SetMaxRows(int Value) { maxRows_ = Value; }
    int MinRows() const { return minRows_; }
    // Value <= 0 becomes 1 while loading, else raises EAssertionFailed "Value must be greater than 0". The
    // row count is not touched.
    void SetMinRows(int Value);
    // The help picture, opaque to this layer (the window layer decides what it holds, e.g. a resource name).
    const std::string& HelpPicture() const { return helpPicture_; }
    void SetHelpPicture(const std::string& Value);
    bool HardwiredButton() const { return hardwiredButton_; }
    void SetHardwiredButton(bool Value) { hardwiredButton_ = Value; }
    // The window control to place the editor in, opaque to this layer; null for a child window.
    void* FormParent() const { return formParent_; }
    void SetFormParent(void* Value) { formParent_ = Value; }
    int RowGroup() const { return rowGroup_; }
    // max(1, Value).
    void SetRowGroup(int Value);
    const std::string& TopLeft() const { return topLeft_; }
    void SetTopLeft(const std::string& Value) { topLeft_ = Value; }

    TNotifyEvent OnResize;
    TButtonClickEvent OnButtonClick;
    TGetButtonCaptionEvent OnGetButtonCaption;
    TGetChangedEvent OnGetChanged;
    THideEvent OnHide;
    TInitRowEvent OnInitRow;
    TResetChangedEvent OnResetChanged;
    TSetRowEvent OnSetRow;
    TSetUnitsEvent OnSetUnits;

    // Layout loading: while set, SetMinRows turns values <= 0 into 1.
    bool Loading() const { return loading_; }
    void SetLoading(bool Value) { loading_ = Value; }

    // Caption number (0 none; row + 1 for a sub-table). Setting it retitles an open editor.
    int Number() const { return number_; }
    void SetNumber(int ANumber);
    // "" then the owner's numbers, then a blank and Number when Number is not 0.
    std::string GetNumbers() const;

    // True when the flag is set or a column reports a change (sub-tables, recursively).
    bool GetChanged() const;
    // True sets the flag only; False clears it and every column's changed state.
    void SetChanged(bool Value);

    int RowCount() const { return rowCount_; }
    // max(0, n) rows: surplus rows deleted from the end, missing ones added RowGroup at a time. MinRows and
    // MaxRows are not applied; nothing is fired.
    void SetRowCount(int n);
    void AddRowGroup();
    // Inserts RowGroup rows at the start of the group holding ARow.
    void InsertRowGroup(int ARow);
    // Deletes the group holding ARow.
    void DeleteRowGroup(int ARow);

    int Units() const { return units_; }
    // Rescales the columns from Units to AUnits (nothing when equal), then Units := AUnits, OnDataChanged.
    void SetUnits(int AUnits);
    // EOverflow or EUnderflow when SetUnits(AUnits) would give a value, sub-tables' included, whose stored
    // form the analysis cannot read; changes nothing.
    void CheckUnits(int AUnits) const;

    // Columns, in order (index among all columns, visible or not).
    int ColumnCount() const { return static_cast<int>(columns_.size()); }
    // An index outside the columns raises EListError.
    Column* Columns(int AIndex) const;
    // Index of the column, -1 when it is not one of this table's.
    int IndexOfColumn(const Column* AColumn) const;
    // Attaches the column (hooks, rows up to RowCount, controls when the editor is open) and appends it.
    Column& AddColumn(std::unique_ptr<Column> AColumn);
    // Frees every column.
    void ClearColumns();
    int VisibleColumnCount() const;
    // EListError "Index out of bounds" outside 0..VisibleColumnCount - 1.
    Column* VisibleColumns(int AIndex) const;
    int VisibleIndexOf(const Column* AColumn) const;
    bool IsValidCell(int ACol, int ARow) const;
    // The largest header count among visible columns.
    int MaxHeaderCount() const;

    // The cell accessor; an index outside the columns or the rows raises EListError.
    Data& Cell(int ACol, int ARow) const;
    // The column's SetText (used by the imports).
    void SetCellText(int ACol, int ARow, const std::string& AText);

    // Pads or cuts every table column's template list to the item count of column 0 (1 when column 0 is
    // not an item column).
    void AdjustTemplateLists();

    // Editor. Show and ShowModal do nothing without a visible column; otherwise they ask the space's
    // EditorLauncher to create (once) and show the editor.
    void Show();
    void ShowModal();
    // Releases an open editor, then every column hides its row objects' windows.
    void HideForm();
    TTableEditor* EditorForm() const { return editorForm_; }
    // Set by the editor window when it opens (and cleared when it closes).
    void SetEditorForm(TTableEditor* AEditor) { editorForm_ = AEditor; }
    TCellControlHost* ControlParent() const { return controlParent_; }
    // Stores the parent and the hooks; columns that use controls create them for the editor's shown rows.
    void AttachEditor(TCellControlHost* AParent, std::function<void(int ACol, int ARow)> ACellChanged,
                      std::function<void()> ADataChanged);
    // Columns clear their controls; ControlParent, OnCellChanged and OnDataChanged are cleared.
    void DetachEditor();
    // Set while an editor is attached.
    std::function<void()> OnDataChanged;
    std::function<void(int ACol, int ARow)> OnCellChanged;

    // The "Col" property: column count, column records, then the family's own values. Reading replaces the
    // columns; errors raise EReadError ("Error reading column count", "Error Column Class not defined",
    // "Error occured when creating column %d: %s", and for charts "Error reading graphic parameters") and
    // leave no half-built column. Writing uses the newer forms only.
    void ReadColumns(TColReader& AReader);
    void WriteColumns(TColWriter& AWriter) const;

    // Used by the columns.
    void ColumnChanged(Column& AColumn, int ARow);
    void ColumnSelected(Column& AColumn, int ARow);
    void FireDataChanged();

  private:
    void attachColumn(Column& AColumn);
    Table& self();

    Space* space_;
    Table* owner_;
    std::string comments_;
    int identifier_ = 0;
    std::string caption_;
    int maxRows_ = 0;
    int minRows_ = 1;
    std::string helpPicture_;
    bool hardwiredButton_ = false;
    void* formParent_ = nullptr;
    int rowGroup_ = 1;
    std::string topLeft_;
    bool loading_ = false;
    int number_ = 0;
    bool changed_ = false;
    int rowCount_ = 0;
    int units_ = 1;
    std::vector<std::unique_ptr<Column>> columns_;
    TTableEditor* editorForm_ = nullptr;
    TCellControlHost* controlParent_ = nullptr;
    const BasicGridTable* clonedFrom_ = nullptr;
};

// A plain grid table.
class TGridTable final : public BasicGridTable<PlainFamily> {
  public:
    using BasicGridTable::BasicGridTable;
};

}  // namespace velmor::components
