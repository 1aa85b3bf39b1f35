#pragma once

#include <string>

#include "fields/number_text.h"

namespace velmor::components {

// Two families of tables share one implementation: the plain grid tables (TGridTable, TColumn, ...) and the
// chart tables (TGridTableChart, TColumnChart, ...). They are separate class families with separate
// table spaces: identifiers and template references of one family never see the other, and code that walks
// plain tables does not meet chart tables. Each class template below is instantiated once per family.

class TColReader;
class TColWriter;
class TGridTable;
class TGridTableChart;
struct TChartSettings;

// A row object of a table column: a sub-table, or an object that the owner of the table makes through
// OnInitRow. Owned by the column; destroyed through this base.
class TRowObject {
  public:
    virtual ~TRowObject() = default;
};

// Nothing added to the plain tables.
struct TNoTableExtras {};

struct PlainFamily {
    using Table = TGridTable;
    using TableExtras = TNoTableExtras;
    static constexpr const char* kClassSuffix = "";
    // Re-creating a row's sub-table discards its values.
    static constexpr bool kKeepsSubTableData = false;
    static Extended ConversionFactor(int AFrom, int ATo, const std::string& ACode);
    static std::string ExpandUnitNames(const std::string& ACode, int AUnits);
    // The family's own values after the column records of "Col": none.
    static void ReadExtras(TableExtras&, TColReader&) {}
    static void WriteExtras(const TableExtras&, TColWriter&) {}
};

struct ChartFamily {
    using Table = TGridTableChart;
    using TableExtras = TChartSettings;
    static constexpr const char* kClassSuffix = "Chart";
    // Re-creating a row's sub-table keeps its row count and the values of the columns both tables have.
    static constexpr bool kKeepsSubTableData = true;
    static Extended ConversionFactor(int AFrom, int ATo, const std::string& ACode);
    static std::string ExpandUnitNames(const std::string& ACode, int AUnits);
    // The graph parameters; a value that cannot be read raises EReadError "Error reading graphic parameters".
    static void ReadExtras(TableExtras& AExtras, TColReader& AReader);
    static void WriteExtras(const TableExtras& AExtras, TColWriter& AWriter);
};

template <class F>
class BasicGridTable;
template <class F>
class BasicColumn;
template <class F>
class BasicData;
template <class F>
class BasicTableSpace;

}  // namespace velmor::components
