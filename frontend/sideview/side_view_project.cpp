#include "sideview/side_view_project.h"

namespace velmor::sideview {

namespace {

template <class Table>
std::vector<int> nodes(const Table& T, int Column) {
    std::vector<int> result;
    if (Column >= T.ColumnCount()) return result;
    for (int row = 0; row < T.RowCount(); ++row) result.push_back(T.Cell(Column, row).AsInteger());
    return result;
}

}  // namespace

TSideViewProject SideViewProjectOf(const project::TProgramData& Data) {
    TSideViewProject p;
    p.Units = Data.Units;
    p.NumIncrements = Data.NumIncrements;
    p.IncrementLength = Data.IncrementLength;
    p.FreeHeight = Data.FreeHeight;
    p.EarthPressureOption = Data.EarthPressureOption;
    p.PYOption = Data.PYOption;
    p.BackfillSlope = Data.BackfillSlope;
    p.Wa = Data.Wa;
    p.Wp = Data.Wp;
    p.PlotPointCount = Data.PlotPointCount;
    p.UseRestraints = Data.UseRestraints;
    p.UseExternalPYCurves = Data.UseExternalPYCurves;
    p.UseSprings = Data.UseSprings;

    const project::TProjectTables& tables = Data.Tables();
    p.HasWall = tables.PileSect().RowCount() > 0;
    p.RestraintNodes = nodes(tables.Soillayer(), 1);
    p.PYCurveNodes = nodes(tables.PYCurves2(), 0);
    p.SpringNodes = nodes(tables.SoilStrength(), 1);

    const components::TGridTable& soil = tables.NewSoil();
    for (int row = 0; row < soil.RowCount(); ++row) {
        TSideViewLayer layer;
        layer.SoilType = soil.Cell(0, row).AsInteger();
        layer.Bottom = soil.Cell(1, row).AsFloat();
        // The parameters of the layer's bottom (the second row of its table).
        if (const components::TGridTable* parameters = soil.Cell(2, row).AsTable();
            parameters != nullptr && parameters->RowCount() > 1) {
            for (int column = 0; column < parameters->ColumnCount(); ++column)
                layer.Properties.push_back(parameters->Cell(column, 1).AsFloat());
        }
        p.Layers.push_back(layer);
    }
    return p;
}

}  // namespace velmor::sideview
