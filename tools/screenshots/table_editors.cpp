#include <gtest/gtest.h>

#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPixmap>

#include "platform/message_service.h"
#include "screenshots/shots.h"
#include "tables/widgets/editor_fixtures.h"

// Pictures of the table editors for a person to look at; nothing is compared.
namespace velmor::components {
namespace {

using namespace testing;

QString screenshotPath(const QString& name) {
    return shots::Path(name + ".png");
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
    // A stand-in help picture: a wall with an arrow for the load.
    QPixmap picture(160, 90);
    picture.fill(Qt::white);
    {
        QPainter painter(&picture);
        painter.fillRect(70, 5, 12, 80, Qt::darkGray);
        painter.drawLine(20, 45, 68, 45);
        painter.drawLine(60, 40, 68, 45);
        painter.drawLine(60, 50, 68, 45);
    }
    const QString picturePath = screenshotPath("help_picture_stand_in");
    picture.save(picturePath);
    table.SetHelpPicture(picturePath.toStdString());
    TTableForm& form = showEditor<TTableForm>(table);
    save(form, "plain_editor");
    delete &form;
}

TEST(Screenshots, ChildWindow) {
    platform::RecordingMessages messages;
    QMdiArea area;
    area.resize(640, 480);
    area.show();
    TTableSpace space;
    installTableEditors(space, &area);
    TGridTable table(space);
    plainColumns(table, 4);
    table.Show();
    QApplication::processEvents();
    EXPECT_TRUE(area.grab().save(screenshotPath("child_window")));
    table.HideForm();
}

TEST(Screenshots, SoilLayerEditor) {
    platform::RecordingMessages messages;
    TTableSpace space;
    installTableEditors(space);
    SoilLayerTables tables(space, 4);
    tables.layers.Cell(0, 1).SetInteger(2);
    TTableForm& form = showEditor<TTableForm>(tables.layers);
    save(form, "soil_layer_editor");
    delete &form;
}

TEST(Screenshots, ChartEditor) {
    platform::RecordingMessages messages;
    TTableSpaceChart space;
    installChartTableEditors(space);
    TGridTableChart table(space);
    pointChartColumns(table);
    table.SetMinRows(2);
    table.SetMaxRows(17);
    table.SetRowCount(8);
    for (int row = 0; row < 8; ++row) {
        const Extended y = (row - 4) * 0.01L;
        table.Cell(0, row).SetFloat(y);
        table.Cell(1, row).SetFloat(y < 0 ? -1250000 * std::sqrt(-y) : 1250000 * std::sqrt(y));
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
