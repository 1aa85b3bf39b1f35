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

}  // namespace velmor::components::testing
