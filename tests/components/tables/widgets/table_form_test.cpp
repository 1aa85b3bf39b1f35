#include "tables/widgets/table_form.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include "editor_fixtures.h"
#include "fields/exceptions.h"
#include "fields/expression_evaluator.h"
#include "platform/message_service.h"
#include "tables/widgets/cell_widgets.h"

namespace velmor::components {
namespace {

using namespace testing;

class TableFormTest : public ::testing::Test {
  protected:
    TableFormTest() { installTableEditors(space); }
    ~TableFormTest() override {
        if (QWidget* open = dynamic_cast<QWidget*>(table.EditorForm())) delete open;
    }

    platform::RecordingMessages messages;
    TTableSpace space;
    TGridTable table{space};
};

// Whole rows and columns: the grid's viewport holds exactly the shown rows and the data columns' widths.
void expectNothingCut(TTableForm& form) {
    const GridView view = form.shownView();
    TableGrid* grid = form.grid();
    int columns = 0;
    for (int k = view.firstColumn; k < view.firstColumn + view.columnCount; ++k) columns += grid->columnWidth(k);
    EXPECT_EQ(grid->viewport()->width(), columns);
    EXPECT_EQ(grid->viewport()->height(), view.rowCount * grid->rowHeight(0));
}

TEST_F(TableFormTest, ShownRowsFollowTheRowCountAndAddingGrowsTheWindowUpToTenRowsThenScrolls) {
    struct Case {
        int rows;
        int shown;
        bool scrollBar;
        int shownAfterAdd;
        int firstShownAfterAdd;
    };
    const Case cases[] = {{25, 10, true, 10, 16}, {3, 3, false, 4, 0}, {10, 10, false, 10, 1}};
    for (const Case& c : cases) {
        PlainEditor editor(c.rows);
        TTableForm& form = *editor.form;
        EXPECT_EQ(form.visibleRowCount(), c.shown) << c.rows;
        EXPECT_EQ(form.grid()->verticalScrollBar()->isVisible(), c.scrollBar) << c.rows;
        EXPECT_FALSE(form.grid()->horizontalScrollBar()->isVisible());
        expectNothingCut(form);
        EXPECT_EQ(form.size(), QSize(clientSize(form.measures(), form.shownView()).width,
                                     clientSize(form.measures(), form.shownView()).height));
        QTest::mouseClick(form.addButton(), Qt::LeftButton);
        EXPECT_EQ(editor.table.RowCount(), c.rows + 1);
        EXPECT_EQ(form.visibleRowCount(), c.shownAfterAdd) << c.rows;
        EXPECT_EQ(form.shownView().firstRow, c.firstShownAfterAdd) << c.rows;
        EXPECT_EQ(form.grid()->verticalScrollBar()->value(), c.firstShownAfterAdd) << c.rows;
        EXPECT_TRUE(editor.table.GetChanged());
        expectNothingCut(form);
    }
}

TEST_F(TableFormTest, RowButtonsFollowMinRowsAndMaxRows) {
    struct Case {
        int minRows, maxRows, rows;
        bool visible, canAdd, canDelete;
    };
    const Case cases[] = {
        {2, 2, 2, false, false, false},  // a fixed row count needs no row buttons
        {1, 0, 50, true, true, true},    // MaxRows 0: no limit
        {1, 3, 3, true, false, true},    // at MaxRows
        {1, 3, 1, true, true, false},    // at MinRows
    };
    for (const Case& c : cases) {
        PlainEditor editor(c.rows, c.minRows, c.maxRows);
        TTableForm& form = *editor.form;
        EXPECT_EQ(form.addButton()->isVisible(), c.visible);
        EXPECT_EQ(form.deleteButton()->isVisible(), c.visible);
        EXPECT_EQ(form.addButton()->isEnabled(), c.canAdd) << c.rows;
        EXPECT_EQ(form.insertButton()->isEnabled(), c.canAdd) << c.rows;
        EXPECT_EQ(form.deleteButton()->isEnabled(), c.canDelete) << c.rows;
    }
}

TEST_F(TableFormTest, NoCommandAddsARowBeyondMaxRows) {
    plainColumns(table, 3);
    table.SetMaxRows(4);
    table.SetRowGroup(2);
    TTableForm& form = showEditor<TTableForm>(table);
    form.addRow();
    form.grid()->moveCurrent(0, 1);
    form.insertRow();
    EXPECT_EQ(table.RowCount(), 3);
    EXPECT_FALSE(form.addButton()->isEnabled());
}

TEST_F(TableFormTest, EnterFromTheLastRowGoesToTheTopOfTheNextColumn) {
    plainColumns(table, 3);
    TTableForm& form = showEditor<TTableForm>(table);
    struct Case {
        int row, column, toRow, toColumn;
    };
    const Case cases[] = {{0, 1, 1, 1}, {2, 1, 0, 2}, {2, 2, 0, 0}};
    for (const Case& c : cases) {
        form.grid()->moveCurrent(c.row, c.column);
        QTest::keyClick(form.grid(), Qt::Key_Return);
        EXPECT_EQ(form.grid()->currentRow(), c.toRow) << c.row << "," << c.column;
        EXPECT_EQ(form.grid()->currentColumn(), c.toColumn) << c.row << "," << c.column;
    }
    // Enter typed into the open cell editor commits the text and moves the same way.
    form.grid()->moveCurrent(2, 1);
    ASSERT_NE(form.grid()->cellEditor(), nullptr);
    form.grid()->cellEditor()->setText("1+1");
    static QString log;
    log.clear();
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& text) { log += text; });
    QTest::keyClick(form.grid()->cellEditor(), Qt::Key_Return);
    EXPECT_EQ(table.Cell(1, 2).AsFloat(), 2.0L);
    QApplication::processEvents();  // no second commit of the closed editor brings the typed text back or warns
    qInstallMessageHandler(previous);
    EXPECT_FALSE(log.contains("editor")) << log.toStdString();
    EXPECT_EQ(form.grid()->item(2, 1)->text(), "2");
    EXPECT_EQ(form.grid()->currentRow(), 0);
    EXPECT_EQ(form.grid()->currentColumn(), 2);
}

TEST_F(TableFormTest, RejectedEntryShowsTheMessageAndKeepsTheCell) {
    plainColumns(table, 3);
    TTableForm& form = showEditor<TTableForm>(table);
    std::string evaluatorMessage;
    try {
        EvaluateExpression("2*(");
    } catch (const EAssignError& e) {
        evaluatorMessage = e.what();
    }
    ASSERT_FALSE(evaluatorMessage.empty());
    struct Case {
        int column;
        QString text;
        std::string message;
    };
    const Case cases[] = {
        {1, "2*(", evaluatorMessage},
        {0, "11", "Entry must be between 0 and 10."},  // the bounds apply while the editor is open
        {0, "4.5", "Entry must be an integer."},
    };
    for (const Case& c : cases) {
        messages.shown.clear();
        form.grid()->moveCurrent(1, c.column);
        typeIntoCurrentCell(form, c.text);
        QTest::keyClick(form.grid(), Qt::Key_Down);
        ASSERT_EQ(messages.shown.size(), 1u) << c.text.toStdString();
        EXPECT_EQ(messages.shown[0].toStdString(), c.message);
        EXPECT_EQ(form.grid()->currentRow(), 1);
        EXPECT_EQ(form.grid()->currentColumn(), c.column);
        EXPECT_EQ(form.grid()->currentText(), c.text);
        typeIntoCurrentCell(form, "3");
        EXPECT_TRUE(form.CommitEdit());
    }
}

TEST_F(TableFormTest, AcceptedEntryIsStoredAndShownFormattedAndOnlyATypedEntryMarksTheTableChanged) {
    plainColumns(table, 3);
    TTableForm& form = showEditor<TTableForm>(table);
    table.SetChanged(false);
    form.grid()->moveCurrent(0, 1);
    QTest::keyClick(form.grid(), Qt::Key_Down);
    EXPECT_FALSE(table.GetChanged());

    typeIntoCurrentCell(form, "2*3.5");
    QTest::keyClick(form.grid(), Qt::Key_Up);
    EXPECT_EQ(table.Cell(1, 1).AsFloat(), 7.0L);
    EXPECT_EQ(form.grid()->item(1, 1)->text(), "7");
    EXPECT_TRUE(table.GetChanged());
}

TEST_F(TableFormTest, RowCommandWithoutACurrentRowIsShownNotThrown) {
    plainColumns(table, 3);
    TTableForm& form = showEditor<TTableForm>(table);
    form.grid()->setCurrentCell(-1, -1);
    QTest::mouseClick(form.insertButton(), Qt::LeftButton);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0], "Grid.Row not in valid range");
    EXPECT_EQ(table.RowCount(), 3);
}

TEST_F(TableFormTest, ItemAndTableColumnsGetControlsOverTheirCells) {
    SoilLayerTables tables(space, 2);
    TTableForm& form = showEditor<TTableForm>(tables.layers);

    auto& items = *tables.layers.Columns(0);
    auto& buttons = *tables.layers.Columns(3);
    ASSERT_EQ(items.HasControls(), true);
    for (int row = 0; row < 2; ++row) {
        QWidget* combo = cellWidget(items.GetControl(row));
        QWidget* button = cellWidget(buttons.GetControl(row));
        ASSERT_NE(combo, nullptr);
        ASSERT_NE(button, nullptr);
        EXPECT_TRUE(combo->isVisible());
        EXPECT_EQ(combo->geometry(), form.grid()->visualRect(form.grid()->model()->index(row, 0)));
        EXPECT_EQ(button->geometry(), form.grid()->visualRect(form.grid()->model()->index(row, 3)));
    }
    auto* button = static_cast<QPushButton*>(cellWidget(buttons.GetControl(1)));
    EXPECT_EQ(button->text(), "2: Clay");

    // Choosing "Sand" in row 2 stores item 2 and gives the row a sand sub-table.
    auto* combo = static_cast<QComboBox*>(cellWidget(items.GetControl(1)));
    combo->setCurrentIndex(1);
    emit combo->activated(1);
    EXPECT_EQ(tables.layers.Cell(0, 1).AsInteger(), 2);
    EXPECT_EQ(button->text(), "2: Sand");
}

TEST_F(TableFormTest, AnAddedLayerStartsAtTheBottomOfTheLastAndPassingThroughKeepsIt) {
    SoilLayerTables tables(space, 2);
    tables.layers.Cell(2, 1).SetFloat(10.25L);
    TTableForm& form = showEditor<TTableForm>(tables.layers);
    QTest::mouseClick(form.addButton(), Qt::LeftButton);
    ASSERT_EQ(tables.layers.RowCount(), 3);
    EXPECT_EQ(tables.layers.Cell(1, 2).AsFloat(), 10.25L);
    EXPECT_EQ(form.grid()->item(2, 1)->text(), "10.25");
    // Through the new row's top cell and on, without typing.
    form.grid()->setFocus();
    form.grid()->moveCurrent(2, 1);
    QTest::keyClick(form.grid(), Qt::Key_Up);
    QApplication::processEvents();
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(tables.layers.Cell(2, 1).AsFloat(), 10.25L);
    EXPECT_EQ(tables.layers.Cell(1, 2).AsFloat(), 10.25L);
    EXPECT_EQ(form.grid()->item(1, 2)->text(), "10.25");
}

TEST_F(TableFormTest, DeletingARowGroupKeepsMinRowsAndLeavesNoButtonOfADeletedRow) {
    const struct { int minRows, rowsBefore, deleteAt, rowsAfter; } cases[] = {{1, 2, 0, 2}, {1, 4, 3, 2}, {3, 4, 0, 4}};
    for (const auto& c : cases) {
        TTableSpace caseSpace;
        installTableEditors(caseSpace);
        SoilLayerTables tables(caseSpace, 0);
        tables.layers.SetRowGroup(2);
        tables.layers.SetMinRows(c.minRows);
        tables.layers.SetRowCount(c.rowsBefore);
        TTableForm& form = showEditor<TTableForm>(tables.layers);
        EXPECT_EQ(form.deleteButton()->isEnabled(), c.rowsAfter < c.rowsBefore);
        form.grid()->moveCurrent(c.deleteAt, 1);
        form.deleteRow();
        EXPECT_EQ(tables.layers.RowCount(), c.rowsAfter);
        QStringList captions;  // one shown button per row, each naming its own row
        for (QPushButton* button : form.findChildren<QPushButton*>())
            if (button->isVisible() && button->text().contains(": ")) captions << button->text();
        captions.sort();
        EXPECT_EQ(captions, QStringList({"1: Clay", "2: Clay", "3: Clay", "4: Clay"}).mid(0, c.rowsAfter));
        delete &form;
    }
}

TEST_F(TableFormTest, ClosingReleasesTheTableAndADestroyedTableClosesTheWindow) {
    plainColumns(table, 3);
    QPointer<TTableForm> form = &showEditor<TTableForm>(table);
    EXPECT_TRUE(form->close());
    EXPECT_EQ(table.EditorForm(), nullptr);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(form.isNull());

    auto doomed = std::make_unique<TGridTable>(space);
    plainColumns(*doomed, 3);
    QPointer<TTableForm> orphan = &showEditor<TTableForm>(*doomed);
    doomed.reset();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(orphan.isNull());
}

TEST_F(TableFormTest, ABadCellKeepsTheWindowOpen) {
    plainColumns(table, 3);
    TTableForm& form = showEditor<TTableForm>(table);
    form.grid()->moveCurrent(0, 2);
    typeIntoCurrentCell(form, "abc");
    EXPECT_FALSE(form.close());
    EXPECT_EQ(table.EditorForm(), &form);
    EXPECT_EQ(messages.shown.size(), 1u);
}

TEST_F(TableFormTest, SizingSnapsToWholeRowsAndColumns) {
    plainColumns(table, 25);
    addFloat(table, "Horizontal load per unit width of wall", "F/L2");
    TTableForm& form = showEditor<TTableForm>(table);
    ASSERT_GT(form.grid()->width() - 120, form.measures().minClientWidth);
    const QSize before = form.size();
    const int row = form.grid()->rowHeight(0);
    // Three and a half rows shorter: three rows go, the half row is not shown cut.
    form.snapTo(QSize(before.width(), before.height() - 3 * row - row / 2), {false, false, false, true});
    EXPECT_EQ(form.visibleRowCount(), 6);
    EXPECT_EQ(form.size().height(), before.height() - 4 * row);
    expectNothingCut(form);
    // Narrower than the columns: a horizontal scroll bar and whole columns.
    form.snapTo(QSize(before.width() - 120, form.size().height()), {false, true, false, false});
    EXPECT_LT(form.visibleColumnCount(), 4);
    EXPECT_TRUE(form.grid()->horizontalScrollBar()->isVisible());
    expectNothingCut(form);
}

TEST_F(TableFormTest, AResizeSettlesOnWholeRowsAndStaysThere) {
    plainColumns(table, 25);
    TTableForm& form = showEditor<TTableForm>(table);
    const QSize before = form.size();
    const int row = form.grid()->rowHeight(0);
    form.resize(before.width(), before.height() + 2 * row + row / 2);
    QTest::qWait(400);
    EXPECT_EQ(form.visibleRowCount(), 12);
    EXPECT_EQ(form.size().height(), before.height() + 2 * row);
    const QSize settled = form.size();
    QTest::qWait(400);
    EXPECT_EQ(form.size(), settled);
    expectNothingCut(form);
}

TEST_F(TableFormTest, AChildWindowDraggedTallerFromItsTopSettlesOnWholeRows) {
    plainColumns(table, 25);
    QMdiArea area;
    area.resize(900, 900);
    area.show();
    installTableEditors(space, &area);
    TTableForm& form = showEditor<TTableForm>(table);
    QMdiSubWindow* child = area.subWindowList().at(0);
    child->move(10, 300);
    QTest::qWait(400);
    const QRect before = child->geometry();
    const int row = form.grid()->rowHeight(0);
    child->setGeometry(before.adjusted(0, -(row + row / 2), 0, 0));
    QTest::qWait(400);
    EXPECT_EQ(form.visibleRowCount(), 11);
    EXPECT_EQ(child->geometry(), before.adjusted(0, -row, 0, 0));  // the bottom edge stays
    expectNothingCut(form);
}

TEST_F(TableFormTest, PlacementInAFormParentAChildWindowOrModally) {
    plainColumns(table, 3);
    QWidget holder;
    holder.resize(600, 400);
    holder.show();
    table.SetFormParent(&holder);
    TTableForm& embedded = showEditor<TTableForm>(table);
    EXPECT_EQ(embedded.parentWidget(), &holder);
    EXPECT_EQ(embedded.pos(), QPoint(0, 0));
    EXPECT_FALSE(embedded.isWindow());
    EXPECT_TRUE(embedded.close());
    table.SetFormParent(nullptr);

    QMdiArea area;
    area.resize(800, 600);
    area.show();
    installTableEditors(space, &area);
    TTableForm& child = showEditor<TTableForm>(table);
    ASSERT_EQ(area.subWindowList().size(), 1);
    EXPECT_EQ(area.subWindowList()[0]->widget(), &child);
    EXPECT_EQ(area.subWindowList()[0]->contentsRect().size(), child.size());
    EXPECT_EQ(child.size(), QSize(clientSize(child.measures(), child.shownView()).width,
                                  clientSize(child.measures(), child.shownView()).height));
    EXPECT_TRUE(area.subWindowList()[0]->close());
    EXPECT_EQ(table.EditorForm(), nullptr);

    installTableEditors(space);
    bool modal = false;
    QTimer::singleShot(0, [&] {
        modal = table.EditorForm() != nullptr && table.EditorForm()->IsShownModally();
        if (auto* open = dynamic_cast<QWidget*>(table.EditorForm())) open->close();
    });
    table.ShowModal();
    EXPECT_TRUE(modal);
    EXPECT_EQ(table.EditorForm(), nullptr);
}

TEST_F(TableFormTest, LeavingTheGridForACellControlCommitsTheCell) {
    SoilLayerTables tables(space, 3);
    TTableForm& form = showEditor<TTableForm>(tables.layers);
    QApplication::setActiveWindow(&form);
    form.grid()->setFocus();
    form.grid()->moveCurrent(1, 2);
    typeIntoCurrentCell(form, "4*(");
    QWidget* combo = cellWidget(tables.layers.Columns(0)->GetControl(2));
    combo->setFocus();
    QApplication::processEvents();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(form.grid()->currentRow(), 1);
    EXPECT_EQ(form.grid()->currentColumn(), 2);

    typeIntoCurrentCell(form, "4*3");
    combo->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(tables.layers.Cell(2, 1).AsFloat(), 12.0L);
    // The drop-down list's cell became the current one.
    EXPECT_EQ(form.grid()->currentRow(), 2);
    EXPECT_EQ(form.grid()->currentColumn(), 0);

    // Moving left from the keyboard into the item column hands the focus to the row's drop-down list.
    form.grid()->setFocus();
    form.grid()->moveCurrent(1, 1);
    QTest::keyClick(form.grid(), Qt::Key_Left);
    QApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), cellWidget(tables.layers.Columns(0)->GetControl(1)));
    EXPECT_EQ(form.grid()->currentRow(), 1);
    EXPECT_EQ(form.grid()->currentColumn(), 0);
}

TEST_F(TableFormTest, DeactivationCommitsTheCell) {
    plainColumns(table, 3);
    TTableForm& form = showEditor<TTableForm>(table);
    form.grid()->moveCurrent(1, 2);
    ASSERT_NE(form.grid()->cellEditor(), nullptr);
    typeIntoCurrentCell(form, "12/4");
    form.deactivate();
    EXPECT_EQ(table.Cell(2, 1).AsFloat(), 3.0L);
    EXPECT_EQ(form.grid()->cellEditor(), nullptr);  // committed once, by this deactivation only
    typeIntoCurrentCell(form, "12/");
    form.deactivate();
    EXPECT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(table.Cell(2, 1).AsFloat(), 3.0L);
    EXPECT_EQ(form.grid()->currentText(), "12/");
}

}  // namespace
}  // namespace velmor::components
