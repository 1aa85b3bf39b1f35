#pragma once

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

#include "tables/grid_table.h"
#include "tables/widgets/grid_sizing.h"
#include "tables/widgets/table_grid.h"

class QMdiArea;
class QMdiSubWindow;

namespace velmor::components {

// The window in which the user edits one table: the grid (a fixed column of row-group numbers, header
// rows, one column per visible table column, drop-down lists and buttons over the cells of item and table
// columns), the row buttons, the table's comments and its help picture. It frees itself when closed.
// Shared by the plain tables (TTableForm) and, with the chart beside the grid, the chart tables
// (TTableChartForm); the family's hooks below let the chart editor add its controls.
template <class F>
class BasicTableForm : public QWidget, public TTableEditor, public TCellControlHost {
  public:
    using Table = typename F::Table;
    using Column = BasicColumn<F>;

    explicit BasicTableForm(Table& ATable);
    ~BasicTableForm() override;

    // Opening (the table's Show or ShowModal): rows up to MinRows, title, layout, attaching, Refresh.
    // `container` holds the window when it is a child window of the main window (null otherwise).
    void open(bool modal, QMdiSubWindow* container = nullptr);

    Table* table() const { return table_; }
    TableGrid* grid() const { return grid_; }
    QPushButton* addButton() const { return btnAdd_; }
    QPushButton* insertButton() const { return btnIns_; }
    QPushButton* deleteButton() const { return btnDel_; }
    QLabel* commentsLabel() const { return lblComments_; }
    QLabel* helpImage() const { return imgHelp_; }
    int fixedRowCount() const { return fixedRowCount_; }
    int visibleColumnCount() const { return visibleColumnCount_; }
    int visibleRowCount() const { return visibleRowCount_; }
    // The data rows and columns the grid shows.
    GridView shownView() const;

    // Rebuilds the grid from the table.
    void Refresh();
    // Sizes the grid to the shown rows and columns, places the controls and the cell controls, sizes the
    // window.
    void ArrangeControls();
    // Shows a cell's value again after the table changed it.
    void UpdateCell(int AColumn, int ARow);
    // Commits the text of the current cell to the table and ends its cell editor; a bad entry is shown, keeps
    // the editor and answers false. A text the user did not change is not stored again (the shown text may
    // hold fewer digits than the value).
    bool CommitEdit();
    // The row commands.
    void addRow();
    void insertRow();
    void deleteRow();
    // The window lost the focus to another window, or a command of the main window is about to act:
    // commits; a non-modal window whose cell is bad comes back. False when the cell was refused.
    bool deactivate();
    // Fits the window to a size the user dragged to (sizing snap) and lays it out for the winner.
    void snapTo(QSize dragged, DraggedEdges edges);
    // The sizes that decide the layout and the snap, for the current table and view.
    GridMeasures measures() const;

    // TTableEditor
    void TableDestroyed() override;
    void Release() override;
    void SetTitle(const std::string& ATitle) override;
    void SelectCell(int AGridCol, int AGridRow) override;
    bool IsShownModally() const override { return modal_; }
    void ShownRows(int& ATopRow, int& ACount) const override;
    void HelpPictureChanged() override;

    // TCellControlHost
    std::unique_ptr<TComboControl> CreateCombo(const std::vector<std::string>& AItems, int ADropDownCount,
                                               std::function<void(int)> AOnChoose,
                                               std::function<void()> AOnFocus) override;
    std::unique_ptr<TButtonControl> CreateButton(std::function<void()> AOnClick) override;

  protected:
    // Hooks of the chart editor.
    // Rows shown at most on opening and when rows are added.
    virtual int maxShownRows() const { return 10; }
    // Height of what sits above the grid (with its margin below it), 0 for nothing.
    virtual int heightAbove() const { return 0; }
    // Places what sits above the grid at (left, top) with the given client width.
    virtual void placeAbove(int, int, int) {}
    // Gives up to `excess` pixels of the height of what sits above the grid, for a window that opens in
    // too little room; answers how much it gave.
    virtual int yieldAbove(int) { return 0; }
    // Places what sits below the row buttons from `top`; answers where it ends (margins included).
    virtual int placeBelowButtons(int, int top) { return top; }
    // Height and width of what sits below the row buttons (before it is placed).
    virtual int heightBelowButtons() const { return 0; }
    virtual int widthBelowButtons() const { return 0; }
    virtual void afterRefresh() {}
    virtual void afterRowCommand() {}
    virtual void beforeCellSelect() {}
    virtual void gridKeyPressed(QKeyEvent*) {}
    virtual void gridKeyReleased(QKeyEvent*) {}
    virtual void windowClicked() {}
    // A cell's value changed in the table (after UpdateCell showed it).
    virtual void cellUpdated() {}

    int margin() const { return margin_; }
    bool isShown() const { return opened_ && table_ != nullptr; }
    void showError(const std::string& text);

    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    bool canLeave(int fromRow, int fromColumn, int toRow, int toColumn);
    // Stores the current cell's text into (row, visible column k) when the user changed it, and marks the
    // table changed then; throws EAssignError for a refused entry.
    void storeCellText(int row, int k);
    void enterPressed();
    void focusControl(int ARow, int AVisible);
    void focusChanged(QWidget* old, QWidget* now);
    void scrolled();
    void settleResize();
    // A child window opens no taller than the room the main window's window area gives it: what sits above
    // the grid gives up height first, then fewer rows are shown (at least one). The user may size it again.
    void fitOpening();
    Column* visibleColumn(int AIndex) const;
    bool usesControls(int AVisible) const;
    bool isDataCell(int row, int column) const;
    void refillTextCells();
    bool canAddRows() const;
    // "&Delete Row" on ARow would keep at least MinRows rows.
    bool canDeleteRows(int ARow) const;
    int contentWidth(int AVisible) const;
    // The current data row, or an error when none.
    int currentDataRow() const;
    void releaseTable();
    void applyClientSize(QSize size);
    QWidget* frameWidget() const;

    Table* table_;
    TableGrid* grid_;
    QLabel* topLeftLabel_;
    QPushButton* btnAdd_;
    QPushButton* btnIns_;
    QPushButton* btnDel_;
    QLabel* lblComments_;
    QLabel* imgHelp_;
    QTimer settleTimer_;
    QPointer<QMdiSubWindow> container_;
    QMetaObject::Connection focusConnection_;

    int margin_ = 4;
    int rowHeight_ = 20;
    int fixedColumnWidth_ = 0;
    int fixedRowCount_ = 0;
    int visibleColumnCount_ = 0;
    int visibleRowCount_ = 0;
    int firstColumn_ = 0;
    int firstRow_ = 0;
    bool modal_ = false;
    bool opened_ = false;
    bool arranging_ = false;
    bool refreshing_ = false;
    bool showingMessage_ = false;
    bool releasing_ = false;
    QRect lastFrame_;
    QSize arrangedSize_;
};

// The editor of a plain grid table.
class TTableForm : public BasicTableForm<PlainFamily> {
  public:
    using BasicTableForm::BasicTableForm;
};

// Makes the windows of this layer the editors of a space's tables: Show opens a child window in `area`
// (a top-level window when null), or inside the table's FormParent (a QWidget) when set; ShowModal opens a
// modal window and returns when it closes.
void installTableEditors(TTableSpace& space, QMdiArea* area = nullptr);

// Opens the editor of a table as Show and ShowModal do (shared by both families).
template <class Form, class Table>
void launchTableEditor(Table& table, bool modal, QMdiArea* area);

}  // namespace velmor::components
