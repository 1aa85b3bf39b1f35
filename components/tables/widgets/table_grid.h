#pragma once

#include <QPointer>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <functional>

class QLineEdit;

namespace velmor::components {

// The string grid of a table editor: data cells below a header of fixed rows and beside a fixed column of
// row-group numbers (Qt's headers). The editor is always shown in the current cell. The window decides
// whether the current cell may be left (it commits the cell there) and what Enter does.
class TableGrid : public QTableWidget {
  public:
    explicit TableGrid(QWidget* parent = nullptr);

    // Asked before the current cell moves from (fromRow, fromColumn) to (toRow, toColumn); false keeps it.
    std::function<bool(int fromRow, int fromColumn, int toRow, int toColumn)> canLeave;
    // Enter in the grid or in its cell editor.
    std::function<void()> onEnter;
    // Every key pressed or released in the grid or its cell editor, before the grid handles it.
    std::function<void(QKeyEvent*)> onKeyPress;
    std::function<void(QKeyEvent*)> onKeyRelease;

    // The text of the current cell: the cell editor's while it is open, else the cell's.
    QString currentText() const;
    // Sets a cell's text, and the open editor's when it edits that cell.
    void setCellText(int row, int column, const QString& text);
    // Closes the cell editor without writing its text to the cell.
    void discardEditor();
    // Moves the current cell without asking `canLeave`.
    void moveCurrent(int row, int column);
    // The open cell editor, or null.
    QLineEdit* cellEditor() const;
    bool editing() const { return editor_ && state() == EditingState; }
    // Scroll ranges follow the grid's size at once (Qt updates them lazily).
    void updateScrollRanges() { updateGeometries(); }

  protected:
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    class Delegate;
    bool mayLeaveTo(const QModelIndex& target);

    // Held as a QWidget: the grid may ask about it while Qt is destroying it (when it is no QLineEdit any more).
    QPointer<QWidget> editor_;
    bool moving_ = false;
};

}  // namespace velmor::components
