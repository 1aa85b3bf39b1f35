#include <gtest/gtest.h>

#include <QDir>
#include <QPixmap>

#include "editor_fixtures.h"
#include "platform/message_service.h"

// Writes pictures of the editors under the build tree for a person to look at; nothing is compared.
namespace velmor::components {
namespace {

using namespace testing;

QString screenshotPath(const QString& name) {
    const QString dir = QString(VELMOR_BINARY_DIR) + "/screenshots";
    QDir().mkpath(dir);
    return dir + "/" + name + ".png";
}

template <class Form>
void save(Form& form, const QString& name) {
    form.activateWindow();
    QApplication::processEvents();
    EXPECT_TRUE(form.grab().save(screenshotPath(name)));
}

TEST(Screenshots, PlainEditor) {
    platform::RecordingMessages messages;
    TTableSpace space;
    installTableEditors(space);
    TGridTable table(space);
    plainColumns(table, 14);
    table.SetComments("Depths below the top of the wall.\rLoads per unit width of wall.");
    for (int row = 0; row < 14; ++row) {
        table.Cell(0, row).SetInteger(row);
        table.Cell(1, row).SetFloat(row * 2.5L);
        table.Cell(2, row).SetFloat(1000.0L / (row + 1));
    }
    TTableForm& form = showEditor<TTableForm>(table);
    save(form, "plain_editor");
    delete &form;
}

TEST(Screenshots, SoilLayerEditor) {
    platform::RecordingMessages messages;
    TTableSpace space;
    installTableEditors(space);
    TGridTable clay(space);
    clay.SetCaption("Clay");
    addFloat(clay, "Cohesion", "F/L2^2");
    TGridTable sand(space);
    sand.SetCaption("Sand");
    addFloat(sand, "Friction angle");
    TGridTable table(space);
    table.SetCaption("Soil Layers");
    table.SetMaxRows(10);
    addEnum(table, "Soil type", {"Soft clay", "Sand"});
    auto& top = addFloat(table, "Top of layer", "L2", 0, true);
    top.Header = {"Top of", "layer"};
    auto& bottom = addFloat(table, "Bottom of layer", "L2");
    bottom.Header = {"Bottom of", "layer"};
    addTables(table, "Soil properties", {clay.Identifier(), sand.Identifier()});
    table.SetRowCount(4);
    for (int row = 0; row < 4; ++row) table.Cell(2, row).SetFloat(5.0L * (row + 1));
    table.Cell(0, 1).SetInteger(2);
    TTableForm& form = showEditor<TTableForm>(table);
    save(form, "soil_layer_editor");
    delete &form;
}

TEST(Screenshots, ChartEditor) {
    platform::RecordingMessages messages;
    TTableSpaceChart space;
    installChartTableEditors(space);
    TGridTableChart table(space);
    table.SetCaption("External p-y Curve");
    table.SetTopLeft("Point");
    table.SetMinRows(2);
    table.SetMaxRows(17);
    table.ShowGraph = true;
    table.GetDataFromFile = true;
    table.XColumn = 0;
    table.YColumn = 1;
    addFloat(table, "Deflection y", "L");
    addFloat(table, "Resistance p", "F/L");
    table.SetRowCount(8);
    for (int row = 0; row < 8; ++row) {
        const Extended y = (row - 4) * 0.01L;
        table.Cell(0, row).SetFloat(y);
        table.Cell(1, row).SetFloat(y < 0 ? -250000 * std::sqrt(-y) : 250000 * std::sqrt(y));
    }
    table.SetComments(
        "* Use negative (-) values for deflections to the left (to backfill)\r"
        "     and positive (+) to the right (to excavation).");
    TTableChartForm& form = showEditor<TTableChartForm>(table);
    save(form, "chart_editor");
    delete &form;
}

}  // namespace
}  // namespace velmor::components
