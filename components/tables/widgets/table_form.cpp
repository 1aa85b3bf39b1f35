#include "tables/widgets/table_form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QEventLoop>
#include <QFontMetrics>
#include <QHeaderView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPixmap>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>

#include "fields/exceptions.h"
#include "fields/widgets/guarded.h"
#include "tables/grid_table_chart.h"
#include "tables/widgets/cell_widgets.h"
#include "tables/widgets/table_chart_form.h"

namespace velmor::components {

namespace {

// Column widths measured with the grid's font.
class QtTextMeasure : public TTextMeasure {
  public:
    explicit QtTextMeasure(const QWidget& widget) : metrics_(widget.font()), dpi_(widget.logicalDpiX()) {}
    int TextWidth(const std::string& AText) const override {
        return metrics_.horizontalAdvance(QString::fromStdString(AText));
    }
    int PixelsPerInch() const override { return dpi_; }

  private:
    QFontMetrics metrics_;
    int dpi_;
};

// Sets a flag for the lifetime of the object.
class FlagScope {
  public:
    explicit FlagScope(bool& flag) : flag_(flag), previous_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = previous_; }

  private:
    bool& flag_;
    bool previous_;
};

// Comments keep their line breaks (stored with CR or CR LF).
QString commentText(const std::string& comments) {
    QString text = QString::fromStdString(comments);
    text.replace("\r\n", "\n");
    text.replace('\r', '\n');
    return text;
}

}  // namespace

template <class F>
BasicTableForm<F>::BasicTableForm(Table& ATable)
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint),
      table_(&ATable),
      grid_(new TableGrid(this)),
      topLeftLabel_(new QLabel(grid_)),
      btnAdd_(new QPushButton("&Add Row", this)),
      btnIns_(new QPushButton("&Insert Row", this)),
      btnDel_(new QPushButton("&Delete Row", this)),
      lblComments_(new QLabel(this)),
      imgHelp_(new QLabel(this)) {
    setAttribute(Qt::WA_DeleteOnClose);
    margin_ = std::max(1, logicalDpiX() / 20);
    QComboBox probe;
    rowHeight_ = std::max(QFontMetrics(grid_->font()).height() + 8, probe.sizeHint().height());
    grid_->verticalHeader()->setMinimumSectionSize(1);
    grid_->verticalHeader()->setDefaultSectionSize(rowHeight_);
    topLeftLabel_->setIndent(3);
    lblComments_->setTextFormat(Qt::PlainText);
    lblComments_->hide();
    imgHelp_->hide();
    for (QPushButton* button : {btnAdd_, btnIns_, btnDel_}) button->setAutoDefault(false);

    QObject::connect(btnAdd_, &QPushButton::clicked, this, [this] { guarded(this, [this] { addRow(); }); });
    QObject::connect(btnIns_, &QPushButton::clicked, this, [this] { guarded(this, [this] { insertRow(); }); });
    QObject::connect(btnDel_, &QPushButton::clicked, this, [this] { guarded(this, [this] { deleteRow(); }); });
    QObject::connect(grid_->verticalScrollBar(), &QScrollBar::valueChanged, this,
                     [this] { guarded(this, [this] { scrolled(); }); });
    QObject::connect(grid_->horizontalScrollBar(), &QScrollBar::valueChanged, this,
                     [this] { guarded(this, [this] { scrolled(); }); });
    focusConnection_ = QObject::connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        guarded(this, [&] { focusChanged(old, now); });
    });
    settleTimer_.setSingleShot(true);
    settleTimer_.setInterval(250);
    QObject::connect(&settleTimer_, &QTimer::timeout, this, [this] { guarded(this, [this] { settleResize(); }); });

    grid_->canLeave = [this](int fromRow, int fromColumn, int toRow, int toColumn) {
        bool allowed = false;
        guarded(this, [&] { allowed = canLeave(fromRow, fromColumn, toRow, toColumn); });
        return allowed;
    };
    grid_->onEnter = [this] { guarded(this, [this] { enterPressed(); }); };
    grid_->onKeyPress = [this](QKeyEvent* event) { guarded(this, [&] { gridKeyPressed(event); }); };
    grid_->onKeyRelease = [this](QKeyEvent* event) { guarded(this, [&] { gridKeyReleased(event); }); };
}

template <class F>
BasicTableForm<F>::~BasicTableForm() {
    QObject::disconnect(focusConnection_);
    grid_->canLeave = nullptr;
    if (table_ != nullptr) releaseTable();
}

template <class F>
void BasicTableForm<F>::open(bool modal, QMdiSubWindow* container) {
    modal_ = modal;
    container_ = container;
    table_->SetEditorForm(this);
    table_->SetRowCount(std::max(table_->RowCount(), table_->MinRows()));
    SetTitle(table_->Caption() + " " + table_->GetNumbers());

    const QString topLeft = QString::fromStdString(table_->TopLeft());
    topLeftLabel_->setText(topLeft);
    fixedColumnWidth_ = std::max(QFontMetrics(grid_->font()).horizontalAdvance(topLeft + "  "), logicalDpiX() / 3);
    HelpPictureChanged();

    visibleColumnCount_ = table_->VisibleColumnCount();
    visibleRowCount_ = std::min(table_->RowCount(), maxShownRows());
    firstColumn_ = 0;
    firstRow_ = 0;
    opened_ = true;
    table_->AttachEditor(
        this, [this](int column, int row) { UpdateCell(column, row); }, [this] { Refresh(); });
    Refresh();
    for (int k = 0; k < grid_->columnCount(); ++k) {
        if (!usesControls(k) && grid_->rowCount() > 0) {
            grid_->moveCurrent(0, k);
            break;
        }
    }

    if (modal) {
        setWindowModality(Qt::ApplicationModal);
        show();
        ArrangeControls();
        QEventLoop loop;
        QObject::connect(this, &QObject::destroyed, &loop, &QEventLoop::quit);
        loop.exec();
        return;
    }
    if (container_) {
        container_->show();
        fitOpening();
    } else {
        show();
    }
    ArrangeControls();
    lastFrame_ = frameWidget()->geometry();
}

template <class F>
void BasicTableForm<F>::fitOpening() {
    if (!container_ || container_->mdiArea() == nullptr) return;
    const QMargins frame = container_->contentsMargins();
    const int room = container_->mdiArea()->viewport()->height() - frame.top() - frame.bottom();
    const auto excess = [&] { return clientSize(measures(), shownView()).height - room; };
    if (excess() > 0) yieldAbove(excess());
    while (excess() > 0 && visibleRowCount_ > 1) --visibleRowCount_;
}

template <class F>
QWidget* BasicTableForm<F>::frameWidget() const {
    return container_ ? static_cast<QWidget*>(container_.data()) : const_cast<BasicTableForm*>(this);
}

template <class F>
typename BasicTableForm<F>::Column* BasicTableForm<F>::visibleColumn(int AIndex) const {
    return table_->VisibleColumns(AIndex);
}

template <class F>
bool BasicTableForm<F>::usesControls(int AVisible) const {
    return table_ != nullptr && AVisible >= 0 && AVisible < table_->VisibleColumnCount() &&
           visibleColumn(AVisible)->UsesControls();
}

template <class F>
bool BasicTableForm<F>::isDataCell(int row, int column) const {
    return table_ != nullptr && row >= 0 && row < table_->RowCount() && column >= 0 &&
           column < table_->VisibleColumnCount();
}

template <class F>
GridView BasicTableForm<F>::shownView() const {
    GridView view;
    const int columns = table_ ? table_->VisibleColumnCount() : 0;
    const int rows = table_ ? table_->RowCount() : 0;
    view.columnCount = std::clamp(visibleColumnCount_, 0, columns);
    view.firstColumn = std::clamp(firstColumn_, 0, std::max(0, columns - view.columnCount));
    view.rowCount = std::clamp(visibleRowCount_, 0, rows);
    view.firstRow = std::clamp(firstRow_, 0, std::max(0, rows - view.rowCount));
    return view;
}

template <class F>
void BasicTableForm<F>::Refresh() {
    if (table_ == nullptr) return;
    FlagScope refreshing(refreshing_);
    visibleColumnCount_ = std::min(visibleColumnCount_, table_->VisibleColumnCount());
    visibleRowCount_ = std::min(visibleRowCount_, table_->RowCount());
    fixedRowCount_ = table_->MaxHeaderCount();

    const int columns = table_->VisibleColumnCount();
    const int rows = table_->RowCount();
    grid_->discardEditor();
    grid_->setColumnCount(columns);
    grid_->setRowCount(rows);
    QStringList groups;
    for (int i = 0; i < rows; ++i) groups << QString::number(i / table_->RowGroup() + 1);
    grid_->setVerticalHeaderLabels(groups);

    const QtTextMeasure measure(*grid_);
    for (int k = 0; k < columns; ++k) {
        Column* column = visibleColumn(k);
        QStringList header;
        for (int r = 0; r < fixedRowCount_; ++r) {
            header << (r < column->GetHeaderCount() ? QString::fromStdString(column->GetHeaderLine(r)) : QString());
        }
        grid_->setHorizontalHeaderItem(k, new QTableWidgetItem(header.join('\n')));
        const bool controls = column->UsesControls();
        for (int row = 0; row < rows; ++row) {
            auto* cell = new QTableWidgetItem(controls ? QString() : QString::fromStdString(column->GetText(row)));
            if (controls) cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            grid_->setItem(row, k, cell);
        }
        grid_->setColumnWidth(k, std::max(column->GetWidth(measure), contentWidth(k)));
    }

    QHeaderView* top = grid_->horizontalHeader();
    top->setVisible(fixedRowCount_ > 0);
    if (fixedRowCount_ > 0) {
        top->setMinimumHeight(0);
        top->setMaximumHeight(QWIDGETSIZE_MAX);
        top->setFixedHeight(std::max(fixedRowCount_ * rowHeight_, top->sizeHint().height()));
    }
    QHeaderView* side = grid_->verticalHeader();
    side->setMinimumWidth(0);
    side->setMaximumWidth(QWIDGETSIZE_MAX);
    side->setFixedWidth(std::max(fixedColumnWidth_, side->sizeHint().width()));

    const bool rowButtons = table_->MinRows() != table_->MaxRows();
    btnAdd_->setVisible(rowButtons);
    btnIns_->setVisible(rowButtons);
    btnDel_->setVisible(rowButtons);
    btnAdd_->setEnabled(canAddRows());
    btnIns_->setEnabled(canAddRows());
    btnDel_->setEnabled(canDeleteRows(table_->RowCount() - 1));
    lblComments_->setText(commentText(table_->Comments()));
    lblComments_->setVisible(!table_->Comments().empty());

    ArrangeControls();
    afterRefresh();
}

template <class F>
int BasicTableForm<F>::contentWidth(int AVisible) const {
    // The column's own width may leave its header or a value cut by the cell padding of the style; the
    // grid widens such a column so every header line and value stays readable.
    const QFontMetrics metrics(grid_->font());
    const int headerPadding = 2 * grid_->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, grid_) + 4;
    const int cellPadding = 2 * grid_->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid_) + 8;
    int width = 0;
    if (const QTableWidgetItem* header = grid_->horizontalHeaderItem(AVisible)) {
        for (const QString& line : header->text().split('\n')) {
            width = std::max(width, metrics.horizontalAdvance(line.trimmed()) + headerPadding);
        }
    }
    if (!usesControls(AVisible)) {
        for (int row = 0; row < grid_->rowCount(); ++row) {
            if (const QTableWidgetItem* cell = grid_->item(row, AVisible)) {
                width = std::max(width, metrics.horizontalAdvance(cell->text()) + cellPadding);
            }
        }
    } else if (const auto* items = dynamic_cast<const BasicEnumColumn<F>*>(visibleColumn(AVisible))) {
        // The drop-down list over the cell shows any of its items whole, with the list's arrow and frame, as a
        // list of the grid's font measures itself; the cell gives the grid line one pixel of the column.
        QComboBox probe;
        probe.setFont(grid_->font());
        for (const std::string& item : items->Items()) probe.addItem(QString::fromStdString(item));
        width = std::max(width, probe.sizeHint().width() + 1);
    }
    return width;
}

template <class F>
bool BasicTableForm<F>::canAddRows() const {
    // No command may take the table beyond MaxRows (0: no limit), whatever the row group.
    return table_->MaxRows() == 0 || table_->RowCount() + table_->RowGroup() <= table_->MaxRows();
}

template <class F>
GridMeasures BasicTableForm<F>::measures() const {
    GridMeasures m;
    m.margin = margin_;
    m.gridFrame = 2 * grid_->frameWidth();
    m.fixedColumnWidth = grid_->verticalHeader()->width();
    m.headerHeight = fixedRowCount_ > 0 ? grid_->horizontalHeader()->height() : 0;
    m.rowHeight = rowHeight_;
    for (int k = 0; k < grid_->columnCount(); ++k) m.columnWidths.push_back(grid_->columnWidth(k));
    m.rowCount = table_ ? table_->RowCount() : 0;
    m.vScrollWidth = grid_->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, grid_);
    m.hScrollHeight = m.vScrollWidth;

    int extra = heightAbove() + heightBelowButtons();
    int widest = widthBelowButtons();
    if (!btnAdd_->isHidden()) {
        extra += margin_ + btnAdd_->sizeHint().height();
        widest = std::max(widest, btnAdd_->sizeHint().width() + btnIns_->sizeHint().width() +
                                      btnDel_->sizeHint().width() + 2 * margin_);
    }
    if (!lblComments_->isHidden()) {
        extra += margin_ + lblComments_->sizeHint().height();
        widest = std::max(widest, lblComments_->sizeHint().width());
    }
    if (!imgHelp_->isHidden()) {
        extra += margin_ + imgHelp_->sizeHint().height();
        widest = std::max(widest, imgHelp_->sizeHint().width());
    }
    m.extraHeight = extra;
    m.minClientWidth = widest + 2 * margin_;
    return m;
}

template <class F>
void BasicTableForm<F>::ArrangeControls() {
    if (table_ == nullptr || arranging_) return;
    FlagScope arranging(arranging_);
    const GridMeasures m = measures();
    const GridView view = shownView();
    firstColumn_ = view.firstColumn;
    firstRow_ = view.firstRow;
    const ClientSize gridArea = gridSize(m, view);
    const ClientSize client = clientSize(m, view);

    grid_->setVerticalScrollBarPolicy(needsVScroll(m, view) ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    grid_->setHorizontalScrollBarPolicy(needsHScroll(m, view) ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    placeAbove(margin_, margin_, client.width);
    const int gridTop = margin_ + heightAbove();
    grid_->setGeometry(margin_, gridTop, gridArea.width, gridArea.height);
    grid_->updateScrollRanges();
    grid_->verticalScrollBar()->setValue(firstRow_);
    grid_->horizontalScrollBar()->setValue(firstColumn_);
    topLeftLabel_->setGeometry(grid_->frameWidth(), grid_->frameWidth(), m.fixedColumnWidth, m.headerHeight);
    topLeftLabel_->setVisible(m.headerHeight > 0);

    int y = gridTop + gridArea.height;
    if (!btnAdd_->isHidden()) {
        y += margin_;
        int x = margin_;
        for (QPushButton* button : {btnAdd_, btnIns_, btnDel_}) {
            button->setGeometry(x, y, button->sizeHint().width(), button->sizeHint().height());
            x += button->width() + margin_;
        }
        y += btnAdd_->sizeHint().height();
    }
    y = placeBelowButtons(margin_, y);
    if (!lblComments_->isHidden()) {
        y += margin_;
        lblComments_->setGeometry(margin_, y, lblComments_->sizeHint().width(), lblComments_->sizeHint().height());
        y += lblComments_->height();
    }
    if (!imgHelp_->isHidden()) {
        y += margin_;
        imgHelp_->setGeometry(margin_, y, imgHelp_->sizeHint().width(), imgHelp_->sizeHint().height());
    }
    applyClientSize(QSize(client.width, client.height));

    for (int k = 0; k < table_->VisibleColumnCount(); ++k) {
        Column* column = visibleColumn(k);
        if (!column->UsesControls()) continue;
        if (view.rowCount == 0) {
            // No row left to stand for: the controls of the deleted rows go.
            column->ClearControls();
            continue;
        }
        column->CreateControls(this, view.firstRow, view.rowCount);
        const bool shown = k >= view.firstColumn && k < view.firstColumn + view.columnCount;
        for (int i = 0; i < view.rowCount; ++i) {
            QWidget* widget = cellWidget(column->GetControl(i));
            if (widget == nullptr) continue;
            if (!shown) {
                widget->hide();
                continue;
            }
            widget->setGeometry(grid_->visualRect(grid_->model()->index(view.firstRow + i, k)));
            widget->show();
        }
    }
    if (table_->OnResize) table_->OnResize(*table_);
}

template <class F>
void BasicTableForm<F>::applyClientSize(QSize size) {
    arrangedSize_ = size;
    setMinimumSize(0, 0);
    resize(size);
    if (container_) {
        // The child window's frame and title bar are its contents margins; its layout fits the form inside.
        const QMargins frame = container_->contentsMargins();
        container_->resize(size.grownBy(frame));
    }
    lastFrame_ = frameWidget()->geometry();
}

template <class F>
void BasicTableForm<F>::UpdateCell(int AColumn, int ARow) {
    if (table_ == nullptr) return;
    Column* column = table_->Columns(AColumn);
    const int k = table_->VisibleIndexOf(column);
    if (k < 0 || column->UsesControls() || ARow < 0 || ARow >= grid_->rowCount() || k >= grid_->columnCount()) {
        return;
    }
    grid_->setCellText(ARow, k, QString::fromStdString(column->GetText(ARow)));
    if (contentWidth(k) > grid_->columnWidth(k) && !arranging_ && !refreshing_) {
        grid_->setColumnWidth(k, contentWidth(k));
        ArrangeControls();
    }
    if (!refreshing_) cellUpdated();
}

template <class F>
void BasicTableForm<F>::showError(const std::string& text) {
    FlagScope showing(showingMessage_);
    showMessage(this, text);
}

template <class F>
void BasicTableForm<F>::storeCellText(int row, int k) {
    Column* column = visibleColumn(k);
    const std::string text = grid_->currentText().toStdString();
    if (text == column->GetText(row)) return;
    column->SetText(row, text);
    table_->SetChanged(true);
}

template <class F>
bool BasicTableForm<F>::CommitEdit() {
    if (table_ == nullptr) return true;
    const int row = grid_->currentRow();
    const int k = grid_->currentColumn();
    if (!isDataCell(row, k) || usesControls(k)) return true;
    try {
        storeCellText(row, k);
    } catch (const EAssignError& e) {
        showError(e.what());
        return false;
    }
    // The cell editor ends with the commit: its text is stored now and must never be committed again, least
    // of all into rows that the command which asked for the commit then puts in the table (another stage's).
    grid_->discardEditor();
    grid_->setCellText(row, k, QString::fromStdString(visibleColumn(k)->GetText(row)));
    return true;
}

template <class F>
void BasicTableForm<F>::refillTextCells() {
    for (int k = 0; k < grid_->columnCount(); ++k) {
        if (usesControls(k)) continue;
        Column* column = visibleColumn(k);
        for (int row = 0; row < grid_->rowCount() && row < column->RowCount(); ++row) {
            grid_->setCellText(row, k, QString::fromStdString(column->GetText(row)));
        }
    }
}

template <class F>
bool BasicTableForm<F>::canLeave(int fromRow, int fromColumn, int toRow, int toColumn) {
    if (table_ == nullptr || refreshing_) return true;
    beforeCellSelect();
    if (isDataCell(fromRow, fromColumn)) {
        if (!usesControls(fromColumn)) {
            try {
                storeCellText(fromRow, fromColumn);
            } catch (const EAssignError& e) {
                showError(e.what());
                grid_->setFocus();
                return false;
            }
        }
        grid_->discardEditor();
        refillTextCells();
    }
    // A drop-down list or button lies over the cells of such a column and takes their input: moving there
    // from the keyboard hands the focus to it.
    if (usesControls(toColumn)) {
        focusControl(toRow, toColumn);
        return false;
    }
    return true;
}

template <class F>
void BasicTableForm<F>::focusControl(int ARow, int AVisible) {
    const GridView view = shownView();
    const int k = ARow - view.firstRow;
    if (k < 0 || k >= view.rowCount) return;
    Column* column = visibleColumn(AVisible);
    if (k >= column->RowCount() || !column->HasControls()) return;
    QPointer<QWidget> widget = cellWidget(column->GetControl(k));
    // After the grid has finished with the key that asked for the move.
    QTimer::singleShot(0, this, [widget] {
        if (widget && widget->isVisible()) widget->setFocus(Qt::TabFocusReason);
    });
}

template <class F>
void BasicTableForm<F>::enterPressed() {
    const int row = grid_->currentRow();
    const int k = grid_->currentColumn();
    if (!isDataCell(row, k)) return;
    int toRow = row + 1;
    int toColumn = k;
    if (toRow >= table_->RowCount()) {
        // From the last row to the first row of the next column that takes typing (after the last, the first).
        toRow = 0;
        const int columns = table_->VisibleColumnCount();
        for (int step = 1; step <= columns; ++step) {
            toColumn = (k + step) % columns;
            if (!usesControls(toColumn)) break;
        }
    }
    if (toRow == row && toColumn == k) {
        CommitEdit();
        return;
    }
    if (canLeave(row, k, toRow, toColumn)) grid_->moveCurrent(toRow, toColumn);
}

template <class F>
void BasicTableForm<F>::focusChanged(QWidget* old, QWidget* now) {
    if (!isShown() || showingMessage_ || releasing_ || now == nullptr) return;
    auto inGrid = [this](QWidget* w) {
        return w != nullptr && (w == grid_ || w == grid_->viewport() || w == grid_->cellEditor());
    };
    if (!inGrid(old) || inGrid(now)) return;
    // The row commands commit the cell themselves, and so do the menus of the main window when they open
    // (the menu bar takes the focus when it is reached from the keyboard).
    if (now == btnAdd_ || now == btnIns_ || now == btnDel_ || qobject_cast<QMenuBar*>(now) != nullptr) return;
    if (isAncestorOf(now)) {
        if (!modal_ && !CommitEdit()) grid_->setFocus();
    } else {
        deactivate();
    }
}

template <class F>
bool BasicTableForm<F>::deactivate() {
    if (table_ == nullptr || releasing_) return true;
    if (CommitEdit()) return true;
    if (!modal_) {
        if (container_ && container_->mdiArea()) container_->mdiArea()->setActiveSubWindow(container_);
        frameWidget()->raise();
        frameWidget()->activateWindow();
        grid_->setFocus();
    }
    return false;
}

template <class F>
void BasicTableForm<F>::scrolled() {
    if (arranging_ || refreshing_ || table_ == nullptr) return;
    firstRow_ = grid_->verticalScrollBar()->value();
    firstColumn_ = grid_->horizontalScrollBar()->value();
    ArrangeControls();
}

template <class F>
int BasicTableForm<F>::currentDataRow() const {
    const int row = grid_->currentRow();
    if (row < 0 || row >= table_->RowCount()) throw EAssertionFailed("Grid.Row not in valid range");
    return row;
}

template <class F>
void BasicTableForm<F>::addRow() {
    if (table_ == nullptr || !CommitEdit() || !canAddRows()) return;
    table_->SetChanged(true);
    if (visibleRowCount_ == table_->RowCount()) {
        visibleRowCount_ = std::max(visibleRowCount_, std::min(visibleRowCount_ + table_->RowGroup(), maxShownRows()));
    }
    {
        // Added rows are shown by the Refresh below, once, after scrolling.
        std::function<void()> dataChanged = std::move(table_->OnDataChanged);
        table_->OnDataChanged = nullptr;
        FlagScope quiet(arranging_);
        try {
            table_->AddRowGroup();
        } catch (...) {
            table_->OnDataChanged = std::move(dataChanged);
            throw;
        }
        table_->OnDataChanged = std::move(dataChanged);
    }
    if (table_->RowCount() - 1 >= firstRow_ + visibleRowCount_) firstRow_ = table_->RowCount() - visibleRowCount_;
    Refresh();
    afterRowCommand();
}

template <class F>
void BasicTableForm<F>::insertRow() {
    if (table_ == nullptr) return;
    const int row = currentDataRow();
    if (!CommitEdit() || !canAddRows()) return;
    table_->SetChanged(true);
    if (visibleRowCount_ == table_->RowCount()) {
        visibleRowCount_ = std::max(visibleRowCount_, std::min(visibleRowCount_ + table_->RowGroup(), maxShownRows()));
    }
    table_->InsertRowGroup(row);
    afterRowCommand();
}

template <class F>
bool BasicTableForm<F>::canDeleteRows(int ARow) const {
    // Rows go in whole groups; the last group may be shorter.
    const int group = std::max(1, table_->RowGroup());
    const int first = group * (std::max(0, ARow) / group);
    const int count = std::min(group, table_->RowCount() - first);
    return count > 0 && table_->RowCount() - count >= table_->MinRows();
}

template <class F>
void BasicTableForm<F>::deleteRow() {
    if (table_ == nullptr) return;
    const int row = currentDataRow();
    if (!CommitEdit() || !canDeleteRows(row)) return;
    table_->SetChanged(true);
    table_->DeleteRowGroup(row);
    afterRowCommand();
}

template <class F>
void BasicTableForm<F>::snapTo(QSize dragged, DraggedEdges edges) {
    if (table_ == nullptr) return;
    const SizingSnap snap = snapSize(measures(), shownView(), {dragged.width(), dragged.height()}, edges);
    firstColumn_ = snap.view.firstColumn;
    visibleColumnCount_ = snap.view.columnCount;
    firstRow_ = snap.view.firstRow;
    visibleRowCount_ = snap.view.rowCount;
    ArrangeControls();
}

template <class F>
void BasicTableForm<F>::settleResize() {
    if (!isShown() || size() == arrangedSize_) return;
    const QRect before = lastFrame_;
    const QRect now = frameWidget()->geometry();
    DraggedEdges edges{now.left() != before.left(), now.right() != before.right(), now.top() != before.top(),
                       now.bottom() != before.bottom()};
    if (!edges.left && !edges.right && !edges.top && !edges.bottom) edges.right = edges.bottom = true;
    snapTo(size(), edges);
    // A dragged top or left edge moves while the opposite edge stays.
    QRect placed = frameWidget()->geometry();
    if (edges.top) placed.moveBottom(now.bottom());
    if (edges.left) placed.moveRight(now.right());
    if (placed.topLeft() != frameWidget()->geometry().topLeft()) frameWidget()->move(placed.topLeft());
    lastFrame_ = frameWidget()->geometry();
}

template <class F>
void BasicTableForm<F>::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // Qt gives no hook before a size is applied: the size is snapped when the drag settles. The window's
    // own sizing (ArrangeControls) sets arrangedSize_ first, so it never snaps itself.
    if (!arranging_ && isShown() && size() != arrangedSize_) settleTimer_.start();
}

template <class F>
void BasicTableForm<F>::mousePressEvent(QMouseEvent* event) {
    QWidget::mousePressEvent(event);
    guarded(this, [this] { windowClicked(); });
}

template <class F>
void BasicTableForm<F>::closeEvent(QCloseEvent* event) {
    if (!releasing_ && table_ != nullptr) {
        bool committed = false;
        guarded(this, [&] { committed = CommitEdit(); });
        if (!committed) {
            event->ignore();
            return;
        }
    }
    releaseTable();
    event->accept();
}

template <class F>
void BasicTableForm<F>::releaseTable() {
    if (table_ == nullptr) return;
    Table* table = table_;
    table_ = nullptr;
    table->DetachEditor();
    table->SetEditorForm(nullptr);
}

template <class F>
void BasicTableForm<F>::TableDestroyed() {
    table_ = nullptr;
    releasing_ = true;
    frameWidget()->hide();
    frameWidget()->deleteLater();
}

template <class F>
void BasicTableForm<F>::Release() {
    releasing_ = true;
    releaseTable();
    frameWidget()->hide();
    frameWidget()->deleteLater();
}

template <class F>
void BasicTableForm<F>::SetTitle(const std::string& ATitle) {
    setWindowTitle(QString::fromStdString(ATitle));
}

template <class F>
void BasicTableForm<F>::SelectCell(int AGridCol, int AGridRow) {
    const int row = AGridRow - fixedRowCount_;
    const int k = AGridCol - 1;
    if (!isDataCell(row, k) || (row == grid_->currentRow() && k == grid_->currentColumn())) return;
    // The cell being left is committed first (a control took the focus from it).
    if (!CommitEdit()) {
        if (!modal_) grid_->setFocus();
        return;
    }
    grid_->discardEditor();
    refillTextCells();
    grid_->moveCurrent(row, k);
}

template <class F>
void BasicTableForm<F>::ShownRows(int& ATopRow, int& ACount) const {
    const GridView view = shownView();
    ATopRow = view.firstRow;
    ACount = view.rowCount;
}

template <class F>
void BasicTableForm<F>::HelpPictureChanged() {
    if (table_ == nullptr) return;
    const QPixmap picture(QString::fromStdString(table_->HelpPicture()));
    imgHelp_->setPixmap(picture);
    imgHelp_->setVisible(!picture.isNull() && picture.height() > 0);
    if (opened_) ArrangeControls();
}

template <class F>
std::unique_ptr<TComboControl> BasicTableForm<F>::CreateCombo(const std::vector<std::string>& AItems,
                                                              int ADropDownCount, std::function<void(int)> AOnChoose,
                                                              std::function<void()> AOnFocus) {
    return std::make_unique<ComboCell>(grid_->viewport(), AItems, ADropDownCount, std::move(AOnChoose),
                                       std::move(AOnFocus));
}

template <class F>
std::unique_ptr<TButtonControl> BasicTableForm<F>::CreateButton(std::function<void()> AOnClick) {
    return std::make_unique<ButtonCell>(grid_->viewport(), std::move(AOnClick));
}

template class BasicTableForm<PlainFamily>;
template class BasicTableForm<ChartFamily>;

template <class Form, class Table>
void launchTableEditor(Table& table, bool modal, QMdiArea* area) {
    if (auto* open = dynamic_cast<QWidget*>(table.EditorForm())) {
        open->window()->raise();
        open->window()->activateWindow();
        return;
    }
    auto* form = new Form(table);
    auto* formParent = static_cast<QWidget*>(table.FormParent());
    if (modal) {
        form->open(true);
    } else if (formParent != nullptr) {
        form->setParent(formParent, Qt::Widget);
        form->move(0, 0);
        form->open(false);
    } else if (area != nullptr) {
        // System menu and minimise only: the window sizes itself to whole rows and columns.
        QMdiSubWindow* container =
            area->addSubWindow(form, Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                         Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
        container->setAttribute(Qt::WA_DeleteOnClose);
        form->open(false, container);
    } else {
        form->open(false);
    }
}

template void launchTableEditor<TTableForm, TGridTable>(TGridTable&, bool, QMdiArea*);
template void launchTableEditor<TTableChartForm, TGridTableChart>(TGridTableChart&, bool, QMdiArea*);

void installTableEditors(TTableSpace& space, QMdiArea* area) {
    space.EditorLauncher = [area = QPointer<QMdiArea>(area)](TGridTable& table, bool modal) {
        launchTableEditor<TTableForm>(table, modal, area.data());
    };
}

}  // namespace velmor::components
