#pragma once

#include <memory>
#include <string>
#include <vector>

#include "tables/grid_table.h"
#include "tables/grid_table_chart.h"

namespace velmor::project {

using components::TGridTable;
using components::TGridTableChart;

// Resource names of the two help pictures; the window layer loads the pictures under these names.
inline constexpr const char* kEarthPressurePicture = ":/pictures/earth_pressure.svg";
inline constexpr const char* kTiebackPicture = ":/pictures/tieback.svg";
// The "Depth at Bottom" column of the soil-layer tables (NewSoil, LongSoil), counted from 0.
inline constexpr int kLayerBottomColumn = 1;
// The column of the soil-layer tables whose cells hold each layer's parameter sub-table.
inline constexpr int kLayerParametersColumn = 2;

// The nineteen tables of a project with their two table spaces (plain and chart identifiers are numbered
// apart). They are created from the stored layout compiled into the program, in the order of the layout,
// and then get their comments and help pictures before any sub-table is cloned, so every clone carries its
// template's comment. Seven of them are only templates for the sub-tables of the soil-layer and curve-set
// rows. A fresh object has no rows in any table.
class TProjectTables {
  public:
    TProjectTables();
    // Reads the tables from `Layout` instead (tests of the loader). Errors raise EReadError.
    explicit TProjectTables(const std::string& Layout);
    TProjectTables(const TProjectTables&) = delete;
    TProjectTables& operator=(const TProjectTables&) = delete;
    ~TProjectTables();

    components::TTableSpace& PlainSpace() { return plainSpace_; }
    components::TTableSpaceChart& ChartSpace() { return chartSpace_; }

    // The plain tables (templates included) and the chart tables, each in creation order.
    const std::vector<TGridTable*>& PlainTables() const { return plain_; }
    const std::vector<TGridTableChart*>& ChartTables() const { return chart_; }
    // The stored table of that name (letter case ignored, as the layout binds names), null when absent.
    TGridTable* FindPlain(const std::string& Name) const;
    TGridTableChart* FindChart(const std::string& Name) const;

    // The tables by their stored names; where a name does not say what the table holds, the comment does.
    TGridTable& PileSect() const { return *pileSect_; }          // the wall stiffness (EI) from node to node
    TGridTable& Soillayer() const { return *soillayer_; }        // the deflection and slope restraints
    TGridTable& SoilStrength() const { return *soilStrength_; }  // the lateral and rotational springs
    TGridTable& PYMod() const { return *pyMod_; }
    TGridTable& DistLoad() const { return *distLoad_; }
    TGridTable& BoundCond() const { return *boundCond_; }  // the concentrated loads on the wall
    TGridTable& LongDist() const { return *longDist_; }
    TGridTable& TblSand1() const { return *tblSand1_; }
    TGridTable& TblClay1() const { return *tblClay1_; }
    TGridTable& NewSoil() const { return *newSoil_; }
    TGridTable& TblSilt1() const { return *tblSilt1_; }
    TGridTable& TblRock1() const { return *tblRock1_; }
    TGridTable& TblRock2() const { return *tblRock2_; }
    TGridTable& LongSoil() const { return *longSoil_; }
    TGridTable& SurchargeTable() const { return *surchargeTable_; }
    TGridTableChart& Rows2() const { return *rows2_; }  // template of each MEICurves2 set's moment-EI points
    TGridTableChart& MEICurves2() const { return *meiCurves2_; }
    TGridTableChart& PYCurves2() const { return *pyCurves2_; }
    TGridTableChart& PYCurve2() const { return *pyCurve2_; }

    // True when a plain table (or a sub-table of one) reports a change; chart tables take no part.
    bool GetChanged() const;
    // Clears the changed state of every plain table.
    void ClearChanged();
    // Every plain table to 0 rows, then to its MinRows; every chart table emptied.
    void ResetRows();
    // Every empty plain table gets its MinRows rows of defaults (what an editor opens with). A table that
    // holds rows keeps exactly those: topping up a table of one p-y factor or one pressure point with rows
    // of defaults would add them to the analysis at the next save.
    void FillEmptyTables();
    // Every open editor, sub-tables' included, shows its table's rows again: reading or writing a stage
    // replaces rows without telling the editors.
    void ShowRowsInEditors();

  private:
    void load(const std::string& Layout);
    void setCommentsAndPictures();
    // Entries the engine would refuse are refused where they are typed.
    void setEntryChecks();
    // The columns that the input file holds converted get their stored form (see TFloatColumn::StoredForm).
    void setStoredForms();

    // The spaces are declared first so that they outlive the tables.
    components::TTableSpace plainSpace_;
    components::TTableSpaceChart chartSpace_;
    std::vector<std::unique_ptr<TGridTable>> plainOwned_;
    std::vector<std::unique_ptr<TGridTableChart>> chartOwned_;
    std::vector<TGridTable*> plain_;
    std::vector<TGridTableChart*> chart_;
    std::vector<std::string> plainNames_;
    std::vector<std::string> chartNames_;

    TGridTable* pileSect_ = nullptr;
    TGridTable* soillayer_ = nullptr;
    TGridTable* soilStrength_ = nullptr;
    TGridTable* pyMod_ = nullptr;
    TGridTable* distLoad_ = nullptr;
    TGridTable* boundCond_ = nullptr;
    TGridTable* longDist_ = nullptr;
    TGridTable* tblSand1_ = nullptr;
    TGridTable* tblClay1_ = nullptr;
    TGridTable* newSoil_ = nullptr;
    TGridTable* tblSilt1_ = nullptr;
    TGridTable* tblRock1_ = nullptr;
    TGridTable* tblRock2_ = nullptr;
    TGridTable* longSoil_ = nullptr;
    TGridTable* surchargeTable_ = nullptr;
    TGridTableChart* rows2_ = nullptr;
    TGridTableChart* meiCurves2_ = nullptr;
    TGridTableChart* pyCurves2_ = nullptr;
    TGridTableChart* pyCurve2_ = nullptr;
};

// The stored layout of the project tables as compiled into the program ("Col" value stream).
const std::string& ProjectTablesLayout();

}  // namespace velmor::project
