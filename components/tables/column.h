#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "fields/exceptions.h"
#include "fields/number_text.h"
#include "tables/cell_controls.h"
#include "tables/table_family.h"
#include "tables/table_space.h"

namespace velmor::components {

// The accessor of one cell, handed out by the table's Cell. It follows its row when rows are inserted or
// deleted before it and lives as long as its row. A kind that does not support an operation raises
// EInvalidCast "Data of wrong type".
template <class F>
class BasicData {
  public:
    using Table = typename F::Table;

    BasicColumn<F>& Column() const { return *column_; }
    // Current 0-based row.
    int Row() const { return row_; }

    Extended AsFloat() const;
    int AsInteger() const;   // an item cell answers its 1-based item number
    Table* AsTable() const;  // a table cell answers its sub-table (null for another object or none)
    TRowObject* AsObject() const;
    std::string GetText() const;
    void SetFloat(Extended Value);
    void SetInteger(int Value);
    void SetText(const std::string& S);

  private:
    friend class BasicColumn<F>;
    BasicData(BasicColumn<F>* AColumn, int ARow) : column_(AColumn), row_(ARow) {}

    BasicColumn<F>* column_;
    int row_;
};

// A column of a table: its rows (one accessor each), header lines and flags. The kinds keep one value per
// row beside the accessors. Every value change is reported to the table through OnChange.
template <class F>
class BasicColumn {
  public:
    using Table = typename F::Table;
    using Data = BasicData<F>;

    // Create: empty header, Visible, not PerGroup, no rows (the kinds then add the table's rows).
    explicit BasicColumn(Table* ATable);
    BasicColumn(const BasicColumn&) = delete;
    BasicColumn& operator=(const BasicColumn&) = delete;
    virtual ~BasicColumn();

    virtual const TColumnClass<F>& ClassType() const = 0;
    Table* OwnerTable() const { return table_; }

    int RowCount() const { return static_cast<int>(rows_.size()); }
    // The accessor of a row; an index outside the rows raises EListError.
    Data& Rows(int ARow) const;

    std::vector<std::string> Header;
    bool Visible = true;
    // A value written to a row is written to every row of its row group.
    bool PerGroup = false;

    // Set by the table.
    std::function<void(BasicColumn& AColumn, int ARow)> OnChange;
    std::function<void(BasicColumn& AColumn, int ARow)> OnSelect;
    std::function<int()> OnGetRowGroup;

    // Inserts ACount rows at AIndex.
    virtual void InsertRows(Table* ATable, int AIndex, int ACount);
    virtual void DeleteRow(int AIndex);
    virtual int GetHeaderCount() const;
    virtual std::string GetHeaderLine(int AIndex) const;
    virtual Table* AsTable(int ARow) const;
    virtual Extended AsFloat(int ARow) const;
    virtual void SetFloat(int ARow, Extended Value);
    virtual int AsInteger(int ARow) const;
    virtual void SetInteger(int ARow, int Value);
    virtual TRowObject* AsObject(int ARow) const;
    virtual std::string GetText(int ARow) const;
    virtual void SetText(int ARow, const std::string& S);
    virtual bool GetChanged() const;
    virtual const std::vector<std::string>& GetHeader() const { return Header; }
    virtual bool HasControls() const = 0;
    virtual TCellControl* GetControl(int AIndex) const = 0;
    // OnGetRowGroup when set, else 1.
    virtual int GetRowGroup() const;
    virtual void HideForms();
    virtual void ResetChanged();
    // Widest header line measured with two blanks appended; 0 without header. Kinds raise it to a minimum.
    virtual int GetWidth(const TTextMeasure& ACanvas) const;
    virtual void SetUnits(int AUnits);
    // Raises when SetUnits(AUnits) would give a value the analysis cannot read (see TFloatColumn); nothing
    // in the base.
    virtual void CheckUnits(int) const {}
    // The "Col" record of the column without its type code: header lines, Visible, PerGroup, then the
    // kind's own fields.
    virtual void WriteData(TColWriter& AWriter) const;
    // CreateFromReader after Create: reads what WriteData writes (the kinds read their own fields after the
    // common part).
    virtual void ReadData(TColReader& AReader);
    virtual bool UsesControls() const { return false; }
    // A new column of the same class for ATable with Visible, the header and the kind's settings copied,
    // not the values; PerGroup of the clone starts False.
    virtual std::unique_ptr<BasicColumn> Clone(Table* ATable) const;
    virtual void CreateControls(TCellControlHost* AParent, int ATopRow, int ACount);
    virtual void ClearControls();

    // Index of the column among all columns of its table.
    int Index() const;

  protected:
    // First row of the row group that holds ARow.
    int groupStart(int ARow) const;
    // The rows a value written to ARow goes to: its whole row group with PerGroup, else ARow alone.
    void targetRows(int ARow, int& AFirst, int& ALast) const;
    // OnChange when set.
    void reportChange(int ARow);
    // Adds accessors at AIndex and renumbers those after them.
    void insertAccessors(int AIndex, int ACount);
    void deleteAccessor(int AIndex);
    // Gives the column rows, RowGroup at a time at its end, until it has the table's RowCount.
    void fillRows();
    // Raises EListError when ARow is not a row of the column.
    void checkRow(int ARow) const;

    Table* table_;
    std::vector<std::unique_ptr<Data>> rows_;
};

}  // namespace velmor::components
