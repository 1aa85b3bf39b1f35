#include "tables/widgets/table_chart_form.h"

#include <gtest/gtest.h>

#include <QTest>
#include <cmath>

#include "editor_fixtures.h"
#include "platform/clipboard_service.h"
#include "platform/file_dialog_service.h"
#include "platform/message_service.h"
#include "platform/text_editor_service.h"
#include "support/test_support.h"

namespace velmor::components {
namespace {

using namespace testing;

class ChartFormTest : public ::testing::Test {
  protected:
    ChartFormTest() {
        installChartTableEditors(space);
        pointChartColumns(table);
    }
    ~ChartFormTest() override {
        if (QWidget* open = dynamic_cast<QWidget*>(table.EditorForm())) delete open;
    }

    void fill(const std::vector<std::pair<double, double>>& rows) {
        table.SetRowCount(static_cast<int>(rows.size()));
        for (std::size_t r = 0; r < rows.size(); ++r) {
            table.Cell(0, static_cast<int>(r)).SetFloat(rows[r].first);
            table.Cell(1, static_cast<int>(r)).SetFloat(rows[r].second);
        }
    }

    TTableChartForm& open() { return showEditor<TTableChartForm>(table); }

    platform::RecordingMessages messages;
    TTableSpaceChart space;
    TGridTableChart table{space};
};

TEST_F(ChartFormTest, TwoColumnsDrawOneSeriesWithoutLegendBesideAtMostFiveRows) {
    fill({{0, 1}, {1, 2}, {2, 4}, {3, 8}, {4, 16}, {5, 32}, {6, 64}, {7, 128}});
    TTableChartForm& form = open();
    const ChartPicture& picture = form.chart()->picture();
    EXPECT_FALSE(picture.secondSeries);
    EXPECT_FALSE(picture.legend);
    EXPECT_EQ(picture.series[0].points.size(), 8u);
    EXPECT_EQ(picture.x.title, "Deflection y (in)");
    EXPECT_EQ(picture.y.range.maximum, 128);
    EXPECT_TRUE(form.chart()->isVisible());
    EXPECT_EQ(form.visibleRowCount(), 5);

    // A committed value is drawn at once.
    form.grid()->moveCurrent(7, 1);
    typeIntoCurrentCell(form, "2*100");
    QTest::keyClick(form.grid(), Qt::Key_Return);
    EXPECT_EQ(form.chart()->picture().series[0].points[7].second, 200);
}

TEST_F(ChartFormTest, ThreeColumnsDrawTwoSeriesWithLegend) {
    addFloat(table, "Resistance p, long-term", "F/L");
    fill({{0, 1}, {1, 2}});
    table.Cell(2, 0).SetFloat(3);
    table.Cell(2, 1).SetFloat(-1);
    TTableChartForm& form = open();
    const ChartPicture& picture = form.chart()->picture();
    EXPECT_TRUE(picture.secondSeries);
    EXPECT_TRUE(picture.legend);
    EXPECT_EQ(picture.series[1].title, "Resistance p, long-term (lbs/in)");
    EXPECT_EQ(picture.series[1].points[1], std::make_pair(1.0, -1.0));
    EXPECT_EQ(picture.y.range.minimum, -1);
    EXPECT_EQ(picture.y.range.maximum, 3);
}

TEST_F(ChartFormTest, AxisRangesAndFormatsFollowTheValues) {
    struct Case {
        std::vector<std::pair<double, double>> rows;
        double yMinimum, yMaximum;
        AxisFormat yFormat;
        const char* firstYLabel;
    };
    const Case cases[] = {
        // All Y values 5: 4.5 to 5.5 (the second point is drawn at 5.005).
        {{{0, 5}, {1, 5}, {2, 5}}, 4.5, 5.5, AxisFormat::Grouped, "4.6"},
        // Constant 0: -1 to 1 rather than an empty axis.
        {{{0, 0}, {1, 0}}, -1, 1, AxisFormat::Grouped, "-1"},
        // Values reaching a quarter of a million: exponent labels.
        {{{0, 0}, {1, 250000}}, 0, 250000, AxisFormat::Exponent, "0.0E0"},
        // One row is not constant: the axis is widened around its value all the same.
        {{{0, 2}}, 1.8, 2.2, AxisFormat::Grouped, "1.8"},
    };
    for (const Case& c : cases) {
        fill(c.rows);
        TTableChartForm& form = open();
        const ChartPicture& picture = form.chart()->picture();
        // The ranges are 0.9 and 1.1 times a value; 1e-12 covers that rounding.
        EXPECT_NEAR(picture.y.range.minimum, c.yMinimum, 1e-12) << c.rows.size();
        EXPECT_NEAR(picture.y.range.maximum, c.yMaximum, 1e-12) << c.rows.size();
        EXPECT_EQ(picture.y.format, c.yFormat);
        ASSERT_FALSE(form.chart()->yLabels().empty());
        EXPECT_EQ(form.chart()->yLabels().front(), c.firstYLabel);
        delete &form;
    }
}

// Imports into a table of 2 to 17 rows, in order: the refused one keeps the 17 rows of the one before.
TEST_F(ChartFormTest, ImportFromAFileFitsTheRowsAndSaysWhatItLeftOut) {
    velmor::test::ScratchDir dir;
    const auto points = [](int count, const char* separator) {
        std::string text;
        for (int i = 1; i <= count; ++i) text += std::to_string(i) + separator + std::to_string(10 * i) + "\r\n";
        return text;
    };
    velmor::test::writeFile("twelve.txt", points(12, "\t"));
    velmor::test::writeFile("twenty.txt", points(20, " "));
    velmor::test::writeFile("three.txt", "1 2\nbad line\n3, 4\n5 6 7\n8 9\n");
    velmor::test::writeFile("one.txt", "1 2\r\nnot a point\r\n");
    table.SetMaxRows(17);
    table.SetMinRows(2);
    struct Case {
        int rowsBefore;
        const char* file;
        int rowsAfter;
        double lastX, lastY;
        const char* message;  // null when the import says nothing
    };
    const Case cases[] = {
        {1, "twelve.txt", 12, 12, 120, nullptr},
        {10, "three.txt", 3, 8, 9, nullptr},
        {4, "twenty.txt", 17, 17, 170, "The table holds at most 17 rows: 3 lines of values were left out."},
        {17, "one.txt", 17, 17, 170,
         "The values make 1 row, but the table needs at least 2 rows. Nothing was imported."},
    };
    for (const Case& c : cases) {
        messages.shown.clear();
        table.SetRowCount(c.rowsBefore);
        TTableChartForm& form = open();
        form.fileNameBox()->setText(QString::fromStdString((dir.path() / c.file).string()));
        ASSERT_TRUE(form.readButton()->isEnabled());
        QTest::mouseClick(form.readButton(), Qt::LeftButton);
        EXPECT_EQ(table.RowCount(), c.rowsAfter) << c.file;
        EXPECT_EQ(table.Cell(0, c.rowsAfter - 1).AsFloat(), c.lastX);
        EXPECT_EQ(table.Cell(1, c.rowsAfter - 1).AsFloat(), c.lastY);
        EXPECT_EQ(form.grid()->rowCount(), c.rowsAfter);
        EXPECT_EQ(form.chart()->picture().series[0].points.size(), static_cast<std::size_t>(c.rowsAfter));
        EXPECT_EQ(messages.shown, c.message ? std::vector<QString>{c.message} : std::vector<QString>{});
        delete &form;
    }
}

TEST_F(ChartFormTest, PasteFromTheClipboard) {
    platform::FakeClipboard clipboard;
    table.SetRowCount(5);
    TTableChartForm& form = open();
    QTest::mouseClick(form.pasteButton(), Qt::LeftButton);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0], "There is no text on the Clipboard");
    EXPECT_EQ(table.RowCount(), 5);

    // Every pasted line counts, the last one with or without its line break, at any of the three line ends.
    for (const char* text : {"1 2\r\n3 4", "1 2\r\n3 4\r\n", "1 2\n3 4", "1 2\r3 4\r"}) {
        clipboard.content = QString(text);
        QTest::mouseClick(form.pasteButton(), Qt::LeftButton);
        EXPECT_EQ(table.RowCount(), 2) << text;
        EXPECT_EQ(table.Cell(1, 1).AsFloat(), 4) << text;
    }
}

TEST_F(ChartFormTest, FileButtonsNeedAnExistingFile) {
    velmor::test::ScratchDir dir;
    velmor::test::writeFile("points.txt", "1 2\n");
    const QString existing = QString::fromStdString((dir.path() / "points.txt").string());
    platform::RecordingFileDialogs dialogs;
    platform::RecordingTextEditor editor;
    fill({{0, 1}});
    TTableChartForm& form = open();
    EXPECT_FALSE(form.viewButton()->isEnabled());
    EXPECT_FALSE(form.readButton()->isEnabled());

    dialogs.answers = {existing};
    QTest::mouseClick(form.browseButton(), Qt::LeftButton);
    ASSERT_EQ(dialogs.requests.size(), 1u);
    EXPECT_EQ(dialogs.requests[0].filter, "Text Files (*.txt)|*.txt|Data Files (*.dat)|*.dat|All Files (*.*)|*.*");
    EXPECT_EQ(form.fileNameBox()->text(), existing);
    EXPECT_TRUE(form.viewButton()->isEnabled());

    QTest::mouseClick(form.viewButton(), Qt::LeftButton);
    ASSERT_EQ(editor.starts.size(), 1u);
    EXPECT_EQ(editor.starts[0].editorPath, platform::editorPath());
    EXPECT_EQ(editor.starts[0].fileName, existing);
    EXPECT_TRUE(messages.shown.empty());
    editor.succeed = false;
    QTest::mouseClick(form.viewButton(), Qt::LeftButton);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0], "An error occurred in running the Word Processor");

    form.fileNameBox()->setText(existing + ".missing");
    EXPECT_FALSE(form.viewButton()->isEnabled());
}

TEST_F(ChartFormTest, OkCancelAndFileControlsOnlyWhenAsked) {
    table.GetDataFromFile = false;
    table.OKCancelButtons = true;
    table.ShowGraph = false;
    fill({{0, 1}, {1, 2}});
    TTableChartForm& form = open();
    EXPECT_TRUE(form.okButton()->isVisible());
    EXPECT_FALSE(form.pasteButton()->isVisible());
    EXPECT_FALSE(form.chart()->isVisible());
    EXPECT_EQ(form.okButton()->x(), form.addButton()->x());
    EXPECT_GT(form.okButton()->y(), form.addButton()->y());
    QPointer<TTableChartForm> alive(&form);
    QTest::mouseClick(form.okButton(), Qt::LeftButton);
    EXPECT_EQ(table.EditorForm(), nullptr);
}

TEST_F(ChartFormTest, PaintBoxDrawsEachRowAsASegment) {
    table.UsePaintBox = true;
    addFloat(table, "x2");
    addFloat(table, "y2");
    table.X2Column = 2;
    table.Y2Column = 3;
    table.SetRowCount(2);
    table.Cell(2, 1).SetFloat(4);
    table.Cell(3, 1).SetFloat(6);
    TTableChartForm& form = open();
    EXPECT_TRUE(form.paintBox()->isVisible());
    EXPECT_FALSE(form.chart()->isVisible());
    const std::vector<PaintSegment>& segments = form.paintBox()->segments();
    ASSERT_EQ(segments.size(), 2u);
    EXPECT_EQ(segments[1].x2, 4);
    EXPECT_EQ(segments[1].labelX, 2);  // halfway between column 0 (0) and column 2 (4)
    EXPECT_EQ(segments[1].labelY, 3);
    EXPECT_EQ(segments[1].number, 2);
}

}  // namespace
}  // namespace velmor::components
