#pragma once

#include <QApplication>
#include <QLineEdit>

#include "../table_test_support.h"
#include "tables/grid_table_chart.h"
#include "tables/widgets/table_chart_form.h"
#include "tables/widgets/table_form.h"

namespace velmor::components::testing {

// A plain table of `rows` rows: an integer column "Point" (0..10 while the editor is open) and two float
// columns "Depth" (L2) and "Load" (F).
inline void plainColumns(TGridTable& table, int rows) {
    table.SetCaption("Loads");
    table.SetMinRows(1);
    table.SetMaxRows(100);
    addInt(table, "Point", 0, 0, 10);
    addFloat(table, "Depth", "L2");
    addFloat(table, "Load", "F");
    table.SetRowCount(rows);
}

// Opens the editor of a table through its space's launcher and answers the window.
template <class Form, class Table>
Form& showEditor(Table& table) {
    table.Show();
    auto* form = dynamic_cast<Form*>(table.EditorForm());
    if (form == nullptr) throw std::runtime_error("no editor opened");
    QApplication::processEvents();
    return *form;
}

// Types a text into the current cell as a user would leave it in the cell editor.
template <class Form>
void typeIntoCurrentCell(Form& form, const QString& text) {
    TableGrid* grid = form.grid();
    if (grid->cellEditor() != nullptr) {
        grid->cellEditor()->setText(text);
    } else {
        grid->currentItem()->setText(text);
    }
}

// A plain table in a space of its own with its editor open, for table cases that each need a fresh one.
struct PlainEditor {
    explicit PlainEditor(int rows, int minRows = 1, int maxRows = 100) {
        installTableEditors(space);
        plainColumns(table, rows);
        table.SetMinRows(minRows);
        table.SetMaxRows(maxRows);
        form = &showEditor<TTableForm>(table);
    }
    ~PlainEditor() { delete form; }

    TTableSpace space;
    TGridTable table{space};
    TTableForm* form;
};

// A soil-layer-like table: the item "Soil type" (Soft clay, Sand), "Top of layer" (a top-depth column) and
// "Bottom of layer" with two header lines each, and "Soil properties" buttons opening a sub-table cloned
// from the templates Clay and Sand.
struct SoilLayerTables {
    explicit SoilLayerTables(TTableSpace& space, int rows) : clay(space), sand(space), layers(space) {
        clay.SetCaption("Clay");
        addFloat(clay, "Cohesion", "F/L2^2");
        sand.SetCaption("Sand");
        addFloat(sand, "Friction angle");
        layers.SetCaption("Soil Layers");
        layers.SetMaxRows(10);
        addEnum(layers, "Soil type", {"Soft clay", "Sand"});
        addFloat(layers, "", "L2", 0, true).Header = {"Top of", "layer"};
        addFloat(layers, "", "L2").Header = {"Bottom of", "layer"};
        addTables(layers, "Soil properties", {clay.Identifier(), sand.Identifier()});
        layers.SetRowCount(rows);
        for (int row = 0; row < rows; ++row) layers.Cell(2, row).SetFloat(5.0L * (row + 1));
    }

    TGridTable clay;
    TGridTable sand;
    TGridTable layers;
};

// The columns and graph settings of a table of points drawn beside the grid (a p-y curve or a moment-EI
// table): "Deflection y" (L) against "Resistance p" (F/L), read from files or the clipboard.
inline void pointChartColumns(TGridTableChart& table) {
    table.SetCaption("External p-y Curve");
    table.SetTopLeft("Point");
    table.SetMaxRows(100);
    table.ShowGraph = true;
    table.GetDataFromFile = true;
    table.XColumn = 0;
    table.YColumn = 1;
    addFloat(table, "Deflection y", "L");
    addFloat(table, "Resistance p", "F/L");
}

}  // namespace velmor::components::testing
