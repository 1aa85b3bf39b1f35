#include "project/project_tables.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tables/column_kinds.h"

namespace velmor::project {
namespace {

using namespace components;

std::string pad(const std::string& S, std::size_t N) {
    return S + std::string(N - S.size(), ' ');
}

std::string join(const std::vector<std::string>& Parts, const char* Separator) {
    std::string text;
    for (std::size_t i = 0; i < Parts.size(); ++i) text += (i ? Separator : "") + Parts[i];
    return text;
}

// One line per column: kind, header lines between brackets (joined by "/"), then the kind's settings.
template <class F>
std::string describe(const BasicColumn<F>& Column) {
    std::string text = "[" + join(Column.Header, "/") + "]";
    if (!Column.Visible || Column.PerGroup) text += " hidden-or-per-group";
    if (auto* c = dynamic_cast<const BasicEnumColumn<F>*>(&Column))
        return "E" + text + " {" + join(c->Items(), "|") + "}";
    if (auto* c = dynamic_cast<const BasicIntColumn<F>*>(&Column))
        return "I" + text + " =" + std::to_string(c->Default) + " " + std::to_string(c->MinValue) + ".." +
               std::to_string(c->MaxValue);
    if (auto* c = dynamic_cast<const BasicFloatColumn<F>*>(&Column))
        return "F" + text + " " + c->UnitString + " =" + formatGeneral(c->Default, 8) + (c->TopDepth ? " top" : "");
    if (auto* c = dynamic_cast<const BasicTableColumn<F>*>(&Column)) {
        std::string ids;
        for (int i = 0; i < c->Templates().Count(); ++i) {
            const auto& entry = c->Templates().Items(i);
            ids += (i ? "," : "") + std::string(entry.IsIdentifier ? "#" : "@") + std::to_string(entry.Value);
        }
        return "T" + text + " ->" + ids;
    }
    return "?" + text;
}

struct TableCase {
    const char* name;
    bool chart;
    int identifier;
    const char* caption;
    int minRows, maxRows;
    bool hardwired;
    const char* topLeft;
    std::vector<std::string> columns;
};

const std::string kConst = "Constant or Interpolate?";
const std::string kSoils =
    "Soft Clay|Stiff Clay with Free Water|Stiff Clay w/o Free Water|Sand|Silt (c-phi soil)|"
    "Strong Rock|Weak Rock";
const std::string kLongSoils =
    "Soft Clay|Stiff Clay with Free water|Stiff Clay w/o Free Water|Sand|"
    "Silt (c-phi soil)|Strong Rock|Weak Rock";
const std::string kUnitWeight = "F[Total Unit/Weight,] F/L2^3 =0";

// The tables in creation order, as the project's table definitions give them.
const std::vector<TableCase> kTables = {
    {"PileSect",
     false,
     15,
     "Wall Stiffness",
     1,
     10,
     true,
     "Section",
     {"I[From Node No. (Start)] =0 0..2147483600", "I[To Node No. (End)] =1 0..2147483647",
      "E[" + pad(kConst, 58) +
          "] {Use Constant Value for all Nodes on this Line|Linear Interpolate to End Node of Next Line}",
      "F[Flexural Stiffness (EI)] F-L^2 =0"}},
    {"Soillayer",
     false,
     0,
     "Specify Deflection and Slope on Wall",
     1,
     10,
     true,
     "No",
     {"E[" + pad("Case", 47) + "] {Specify Deflection|Specify Slope}", "I[Nodal No.] =0 0..2147483600",
      "F[Deflection] L =0", "F[Slope]  =0"}},
    {"SoilStrength",
     false,
     4,
     "Lateral Spring and Rotation Spring",
     1,
     20,
     true,
     "Point",
     {"E[" + pad(kConst, 62) +
          "] {Use Constant Values for all Nodes on this Line  |Linear Interpolate to End Node of Next Line}",
      "I[From Node No./     (Start)] =0 0..2147483647", "I[To Node No./   (End)] =0 -2147483648..2147483647",
      "F[Lateral Spring/Stiffness] F/L =0", "F[Rotational Spr./Stiff.] F-L/RAD. =0"}},
    {"PYMod",
     false,
     16,
     "p-y Modification Factors",
     2,
     30,
     true,
     "",
     {"F[Depth] L2 =0", "F[p-Multiplier]  =1", "F[y-Multiplier]  =1"}},
    {"DistLoad",
     false,
     22,
     "Distributed Loads",
     2,
     100,
     true,
     "",
     {"F[Depth measured from the top of the wall,] L2 =0", "F[Lateral distributed line load, ] F/L2 =0"}},
    {"BoundCond",
     false,
     123,
     "Concentrated Loads on Wall",
     1,
     20,
     true,
     "",
     {"E[" + pad(kConst, 58) +
          "] {Use Constant Values for all Nodes on this Line|Linear Interpolate to End Node of Next Line}",
      "I[From Node No./(Start)] =0 0..2147483600", "I[To Node No./(End)] =1 0..2147483647", "F[Lateral Load] F =0",
      "F[Moment] F-L =0", "F[Axial Load] F =0"}},
    {"LongDist",
     false,
     104,
     "Distributed Load (Long-Term)",
     1,
     0,
     false,
     "",
     {"F[Depth measured from the top of the wall,] L2 =0", "F[Lateral distributed line load,] F/L2 =0"}},
    {"TblSand1", false, 17, "Sand", 2, 2, false, "", {kUnitWeight, "F[Friction/Angle, deg.]  =0", "F[k(py)] F/L^3 =0"}},
    {"TblClay1",
     false,
     18,
     "Clay",
     2,
     2,
     false,
     "",
     {kUnitWeight, "F[Cohesive/Strength,] F/L2^2 =0", "F[E50/]  =0", "F[k(py)] F/L^3 =0"}},
    {"NewSoil",
     false,
     19,
     "Soil Layers",
     1,
     10,
     false,
     "",
     {"E[Soil /Type] {" + kSoils + "}", "F[Depth at Bottom/of the Layer,] L2 =0",
      "T[Edit Soil/Parameters] ->#18,#18,#18,#17,#29,#30,#31"}},
    {"TblSilt1",
     false,
     29,
     "Silt",
     2,
     2,
     false,
     "",
     {"F[Total Unit /Weight,] F/L2^3 =0", "F[Friction/Angle, deg.]  =0", "F[Cohesive/Strength,] F/L2^2 =0",
      "F[E50/]  =0", "F[K(py)] F/L^3 =0"}},
    {"TblRock1",
     false,
     30,
     "Strong Rock",
     2,
     2,
     false,
     "",
     {kUnitWeight, "F[Uniaxial Compressive/Strength,] F/L^2 =0"}},
    {"TblRock2",
     false,
     31,
     "Weak Rock",
     2,
     2,
     false,
     "",
     {kUnitWeight, "F[Uniaxial Compressive/Strength,] F/L^2 =0", "F[krm *]  =0", "F[Elastic/Modulus,] F/L^2 =0",
      "F[RQD/%]  =0"}},
    {"LongSoil",
     false,
     44,
     "Soil Layers (Long-Term)",
     1,
     10,
     false,
     "",
     {"E[Soil/Type] {" + kLongSoils + "}", "F[Depth at Bottom/of the Layer,] L2 =0",
      "T[Edit Soil/Parameters] ->#18,#18,#18,#17,#29,#30,#31"}},
    {"SurchargeTable",
     false,
     23,
     "Surcharge Loads",
     1,
     20,
     false,
     "",
     {"E[Load Types] {Point Load|Line Load|Strip Load}", "F[Load Magnitude] SEE NOTES =0", "F[Distance, X] L1 =0",
      "F[Width of Strip Load, W] L1 =0"}},
    {"Rows2",
     true,
     0,
     "Moment and EI data",
     1,
     100,
     true,
     "Point",
     {"F[Bending moment] F-L =0", "F[Flexural rigidity] F-L^2 =0"}},
    {"MEICurves2",
     true,
     36,
     "Nonlinear Moment vs EI Curves",
     1,
     20,
     false,
     "Section",
     {"I[From Node No. (Start)] =0 0..1000", "I[To Node No. (End)] =0 0..1000", "T[] ->#0"}},
    {"PYCurves2",
     true,
     37,
     "Sets of Ext. p-y Curves",
     2,
     30,
     false,
     "",
     {"I[Node # ] =0 -2147483648..2147483647", "T[Curve Sets] ->#38", "F[Multiplier for p-value]  =1",
      "F[Multiplier for y-value]  =1"}},
    {"PYCurve2",
     true,
     38,
     "External p-y Curve",
     2,
     17,
     true,
     "Point",
     {"F[Lateral Deflection, y (*)] L =0", "F[Soil Resistance, p] F/L =0"}},
};

template <class Table>
void expectTable(const Table& T, const TableCase& C) {
    SCOPED_TRACE(C.name);
    EXPECT_EQ(T.Identifier(), C.identifier);
    EXPECT_EQ(T.Caption(), C.caption);
    EXPECT_EQ(T.MinRows(), C.minRows);
    EXPECT_EQ(T.MaxRows(), C.maxRows);
    EXPECT_EQ(T.HardwiredButton(), C.hardwired);
    EXPECT_EQ(T.TopLeft(), C.topLeft);
    EXPECT_EQ(T.RowGroup(), 1);
    EXPECT_EQ(T.RowCount(), 0);
    ASSERT_EQ(T.ColumnCount(), static_cast<int>(C.columns.size()));
    for (int i = 0; i < T.ColumnCount(); ++i) EXPECT_EQ(describe(*T.Columns(i)), C.columns[i]) << "column " << i + 1;
}

TEST(ProjectTables, LoadedLayoutHasEveryTableWithItsSettingsAndColumnsInCreationOrder) {
    TProjectTables tables;
    ASSERT_EQ(tables.PlainTables().size() + tables.ChartTables().size(), kTables.size());
    std::size_t plain = 0, chart = 0;
    for (const TableCase& c : kTables) {
        if (c.chart) {
            ASSERT_EQ(tables.ChartTables()[chart++], tables.FindChart(c.name));
            expectTable(*tables.FindChart(c.name), c);
        } else {
            ASSERT_EQ(tables.PlainTables()[plain++], tables.FindPlain(c.name));
            expectTable(*tables.FindPlain(c.name), c);
        }
    }
    // The field of the main window is spelled SoilLayer; names bind without regard to case.
    EXPECT_EQ(tables.FindPlain("SoilLayer"), &tables.Soillayer());
}

TEST(ProjectTables, ChartSettingsDrawColumnTwoAgainstOneOnlyForThePointTables) {
    TProjectTables tables;
    struct Case {
        TGridTableChart* table;
        bool pointTable;
    };
    for (const Case& c : {Case{&tables.Rows2(), true}, Case{&tables.MEICurves2(), false},
                          Case{&tables.PYCurves2(), false}, Case{&tables.PYCurve2(), true}}) {
        SCOPED_TRACE(c.table->Caption());
        EXPECT_EQ(c.table->GetDataFromFile, c.pointTable);
        EXPECT_EQ(c.table->ShowGraph, c.pointTable);
        EXPECT_EQ(c.table->YColumn, c.pointTable ? 1 : 0);
        EXPECT_FALSE(c.table->OKCancelButtons || c.table->InvertedXAxis || c.table->InvertedYAxis ||
                     c.table->UsePaintBox);
        EXPECT_EQ(c.table->XColumn + c.table->X2Column + c.table->Y2Column, 0);
    }
}

TEST(ProjectTables, ClonesCarryTheCommentsOfTheirTemplatesAndTheSpacesAreApart) {
    TProjectTables tables;
    EXPECT_EQ(tables.TblRock2().Comments(),
              "* krm is a strain constant that seve to establish the overall stiffness of the curves");
    EXPECT_EQ(tables.SurchargeTable().Comments(),
              "The unit for point load is lbs or kN \rThe unit for line load is lbs/in. or kN/m \r"
              "The unit for strip load is lbs/in^2 or kN/m^2 ");
    EXPECT_EQ(tables.SoilStrength().Comments(),
              "The spring stiffnesses are applied at nodal points only (including the specified START and END "
              "nodes).\rLinear interpolation (when selected) is performed from START node of previous line to END "
              "node of the following line.");
    EXPECT_EQ(tables.DistLoad().HelpPicture(), kEarthPressurePicture);
    EXPECT_EQ(tables.LongDist().HelpPicture(), kEarthPressurePicture);
    EXPECT_EQ(tables.SoilStrength().HelpPicture(), kTiebackPicture);

    TGridTable& layers = tables.NewSoil();
    layers.SetRowCount(1);
    layers.Cell(0, 0).SetInteger(7);
    TGridTable* weakRock = layers.Cell(2, 0).AsTable();
    ASSERT_NE(weakRock, nullptr);
    EXPECT_EQ(weakRock->Comments(), tables.TblRock2().Comments());
    EXPECT_EQ(weakRock->HelpPicture(), "");
    EXPECT_EQ(weakRock->ColumnCount(), 5);
    EXPECT_EQ(weakRock->RowCount(), 2);
    // Sub-tables number after the fifteen stored plain tables; the template still resolves to the stored one.
    EXPECT_GE(weakRock->Identifier(), 15);

    tables.PYCurves2().SetRowCount(1);
    TGridTableChart* curve = tables.PYCurves2().Cell(1, 0).AsTable();
    ASSERT_NE(curve, nullptr);
    EXPECT_EQ(curve->Comments(), tables.PYCurve2().Comments());
    EXPECT_EQ(curve->RowCount(), 2);
    EXPECT_TRUE(curve->ShowGraph);
}

}  // namespace
}  // namespace velmor::project
