#include "tables/widgets/table_grid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

namespace velmor::components {

// Makes plain line editors and tells the grid which one is open, so the grid sees the keys typed into it.
class TableGrid::Delegate : public QStyledItemDelegate {
  public:
    explicit Delegate(TableGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const override {
        auto* editor = new QLineEdit(parent);
        editor->setFrame(false);
        editor->installEventFilter(grid_);
        grid_->editor_ = editor;
        return editor;
    }

    // Enter belongs to the grid, which commits the cell and moves on (or stays, refusing the entry). Qt's
    // own handling would commit the editor again once the grid has closed it, and warn that it "does not
    // belong to this view".
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress && grid_->onEnter) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) return false;
        }
        return QStyledItemDelegate::eventFilter(watched, event);
    }

  private:
    TableGrid* grid_;
};

TableGrid::TableGrid(QWidget* parent) : QTableWidget(parent) {
    setItemDelegate(new Delegate(this));
    setEditTriggers(QAbstractItemView::CurrentChanged | QAbstractItemView::AnyKeyPressed |
                    QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                    QAbstractItemView::EditKeyPressed);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerItem);
    setCornerButtonEnabled(false);
    setWordWrap(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setSectionsClickable(false);
    verticalHeader()->setHighlightSections(false);
    verticalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

QLineEdit* TableGrid::cellEditor() const {
    return editing() ? qobject_cast<QLineEdit*>(editor_.data()) : nullptr;
}

QString TableGrid::currentText() const {
    if (QLineEdit* editor = cellEditor()) return editor->text();
    const QTableWidgetItem* cell = currentItem();
    return cell ? cell->text() : QString();
}

void TableGrid::setCellText(int row, int column, const QString& text) {
    QTableWidgetItem* cell = item(row, column);
    if (cell == nullptr) {
        cell = new QTableWidgetItem;
        setItem(row, column, cell);
    }
    cell->setText(text);
    QLineEdit* editor = cellEditor();
    if (editor != nullptr && currentRow() == row && currentColumn() == column) editor->setText(text);
}

void TableGrid::discardEditor() {
    if (editor_ && state() == EditingState) closeEditor(editor_, QAbstractItemDelegate::NoHint);
}

void TableGrid::moveCurrent(int row, int column) {
    moving_ = true;
    setCurrentCell(row, column);
    moving_ = false;
}

bool TableGrid::mayLeaveTo(const QModelIndex& target) {
    const QModelIndex current = currentIndex();
    if (moving_ || !canLeave || !target.isValid() || target == current) return true;
    return canLeave(current.row(), current.column(), target.row(), target.column());
}

QModelIndex TableGrid::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) {
    const QModelIndex target = QTableWidget::moveCursor(cursorAction, modifiers);
    return mayLeaveTo(target) ? target : currentIndex();
}

void TableGrid::mousePressEvent(QMouseEvent* event) {
    const QModelIndex target = indexAt(event->position().toPoint());
    if (target.isValid() && target != currentIndex() && !mayLeaveTo(target)) {
        event->accept();
        return;
    }
    // The move is approved: it must not be asked again when Qt sets the index.
    moving_ = true;
    QTableWidget::mousePressEvent(event);
    moving_ = false;
}

void TableGrid::keyPressEvent(QKeyEvent* event) {
    if (onKeyPress) onKeyPress(event);
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && onEnter) {
        onEnter();
        event->accept();
        return;
    }
    QTableWidget::keyPressEvent(event);
}

void TableGrid::keyReleaseEvent(QKeyEvent* event) {
    if (onKeyRelease) onKeyRelease(event);
    QTableWidget::keyReleaseEvent(event);
}

bool TableGrid::eventFilter(QObject* watched, QEvent* event) {
    if (watched == editor_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (onKeyPress) onKeyPress(key);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && onEnter) {
            onEnter();
            return true;
        }
    } else if (watched == editor_ && event->type() == QEvent::KeyRelease) {
        if (onKeyRelease) onKeyRelease(static_cast<QKeyEvent*>(event));
    }
    return QTableWidget::eventFilter(watched, event);
}

}  // namespace velmor::components
