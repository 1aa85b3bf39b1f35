#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tables/table_family.h"

namespace velmor::components {

// A column kind as the registry knows it: its name and how to make an empty column of it for a table.
template <class F>
struct TColumnClass {
    const char* Name;
    std::unique_ptr<BasicColumn<F>> (*Create)(typename F::Table* ATable);
};

// One registry entry: a column class and its stored type code.
template <class F>
struct BasicColumnTypeStorage {
    const TColumnClass<F>* ColumnClass;
    int Code;
};

// The global state of one table family, held by whoever owns a set of tables (the project in the program, a
// fresh one in each test): the column-type registry, the list of live tables in creation order, and the
// identifier counter. Two spaces never see each other's tables. A space must outlive its tables.
template <class F>
class BasicTableSpace {
  public:
    using Table = typename F::Table;

    // Registers the five kinds in this order: item 0, integer 1, float 2, table 3, string 4.
    BasicTableSpace();
    BasicTableSpace(const BasicTableSpace&) = delete;
    BasicTableSpace& operator=(const BasicTableSpace&) = delete;
    ~BasicTableSpace();

    // Column-type registry.
    void RegisterColumnType(const TColumnClass<F>& AClass, int ACode);
    // Removes every entry of that class.
    void UnregisterColumnType(const TColumnClass<F>& AClass);
    // The first registered class with that code, or null.
    const TColumnClass<F>* ColumnClassOf(int ACode) const;
    // The code of the class, -1 when it is not registered.
    int TypeCodeOf(const TColumnClass<F>& AClass) const;
    int ColumnTypeCount() const { return static_cast<int>(registry_.size()); }
    // Program end: unregisters the five kinds; a registry that is not empty then raises EAssertionFailed
    // "Column Type list not empty".
    void UnregisterStandardTypes();

    // Live tables in creation order (a table adds itself when created and removes itself when destroyed).
    int TableCount() const { return static_cast<int>(tables_.size()); }
    Table* Tables(int APosition) const;
    // Position of the table in the list, -1 when absent.
    int PositionOf(const BasicGridTable<F>* ATable) const;
    // Position of the first table with that identifier, -1 when none (or AIdentifier < 0).
    int PositionOfIdentifier(int AIdentifier) const;

    // The identifier the next created table takes (0 for a fresh space).
    int IdentifierCounter() const { return identifierCounter_; }
    int TakeIdentifier() { return identifierCounter_++; }

    // Set by the window layer: creates the table's editor when it has none and shows it (modally when
    // AModal). Without it Show and ShowModal do nothing (no window layer, as in the plain tests).
    std::function<void(Table& ATable, bool AModal)> EditorLauncher;

    // Used by the tables themselves.
    void AddTable(BasicGridTable<F>* ATable);
    void RemoveTable(const BasicGridTable<F>* ATable);

  private:
    std::vector<BasicColumnTypeStorage<F>> registry_;
    std::vector<BasicGridTable<F>*> tables_;
    int identifierCounter_ = 0;
};

using TColumnTypeStorage = BasicColumnTypeStorage<PlainFamily>;
using TColumnChartTypeStorage = BasicColumnTypeStorage<ChartFamily>;
using TTableSpace = BasicTableSpace<PlainFamily>;
using TTableSpaceChart = BasicTableSpace<ChartFamily>;

}  // namespace velmor::components
