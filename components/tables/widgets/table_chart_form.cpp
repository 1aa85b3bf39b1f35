#include "tables/widgets/table_chart_form.h"

#include <QFileInfo>
#include <QKeyEvent>
#include <QMdiArea>
#include <algorithm>

#include "fields/exceptions.h"
#include "fields/widgets/guarded.h"
#include "platform/clipboard_service.h"
#include "platform/file_dialog_service.h"
#include "platform/text_editor_service.h"
#include "tables/number_import.h"

namespace velmor::components {

namespace {

const char* const kTextFileFilter = "Text Files (*.txt)|*.txt|Data Files (*.dat)|*.dat|All Files (*.*)|*.*";

// The table as the import sees it, through the editor's row commands.
class EditorImportTarget : public TImportTarget {
  public:
    EditorImportTarget(TTableChartForm& form, TGridTableChart& table) : form_(form), table_(table) {}
    int DataColumnCount() const override { return table_.VisibleColumnCount(); }
    int RowCount() const override { return table_.RowCount(); }
    int MaxRows() const override { return table_.MaxRows(); }
    int MinRows() const override { return table_.MinRows(); }
    int RowGroup() const override { return table_.RowGroup(); }
    void AddRow() override {
        const int before = table_.RowCount();
        form_.addRow();
        // The import counts on the row being there; a refused command must not let it write past the end.
        if (table_.RowCount() == before) throw EAssertionFailed("Row could not be added");
    }
    void SetCellText(int AColumn, int ARow, const std::string& AText) override {
        table_.SetCellText(table_.VisibleColumns(AColumn)->Index(), ARow, AText);
    }
    void DeleteRow(int ARow) override {
        table_.SetChanged(true);
        table_.DeleteRowGroup(ARow);
    }

  private:
    TTableChartForm& form_;
    TGridTableChart& table_;
};

}  // namespace

TTableChartForm::TTableChartForm(TGridTableChart& ATable)
    : BasicTableForm(ATable),
      chart_(new ChartView(this)),
      paintBox_(new PaintBoxView(this)),
      btnOK_(new QPushButton("OK", this)),
      btnCancel_(new QPushButton("Cancel", this)),
      lblFile_(new QLabel("File Name:", this)),
      edtFile_(new QLineEdit(this)),
      btnBrowse_(new QPushButton("Browse", this)),
      btnView_(new QPushButton("View/Edit File", this)),
      btnRead_(new QPushButton("Read values from File", this)),
      btnPaste_(new QPushButton("Paste values from  Clipboard (text)", this)) {
    chart_->setVisible(ATable.ShowGraph && !ATable.UsePaintBox);
    paintBox_->setVisible(ATable.ShowGraph && ATable.UsePaintBox);
    btnOK_->setVisible(ATable.OKCancelButtons);
    btnCancel_->setVisible(ATable.OKCancelButtons);
    for (QWidget* w : std::initializer_list<QWidget*>{lblFile_, edtFile_, btnBrowse_, btnView_, btnRead_, btnPaste_}) {
        w->setVisible(ATable.GetDataFromFile);
    }
    for (QPushButton* b : {btnOK_, btnCancel_, btnBrowse_, btnView_, btnRead_, btnPaste_}) b->setAutoDefault(false);

    QObject::connect(btnOK_, &QPushButton::clicked, this, [this] {
        accepted_ = true;
        if (!close()) accepted_ = false;
    });
    QObject::connect(btnCancel_, &QPushButton::clicked, this, [this] {
        grid()->discardEditor();
        close();
    });
    QObject::connect(btnBrowse_, &QPushButton::clicked, this, [this] { guarded(this, [this] { browse(); }); });
    QObject::connect(btnView_, &QPushButton::clicked, this, [this] { guarded(this, [this] { viewFile(); }); });
    QObject::connect(btnRead_, &QPushButton::clicked, this, [this] { guarded(this, [this] { readFile(); }); });
    QObject::connect(btnPaste_, &QPushButton::clicked, this, [this] { guarded(this, [this] { pasteClipboard(); }); });
    QObject::connect(edtFile_, &QLineEdit::textChanged, this, [this] { updateFileButtons(); });
    updateFileButtons();
    // About 2.8 inches of chart: room for five labelled ticks and both axis titles.
    graphHeight_ = logicalDpiY() * 28 / 10;
}

bool TTableChartForm::chartShown() const {
    return table() && table()->ShowGraph && !table()->UsePaintBox;
}

bool TTableChartForm::paintBoxShown() const {
    return table() && table()->ShowGraph && table()->UsePaintBox;
}

int TTableChartForm::maxShownRows() const {
    return chartShown() ? 5 : 10;
}

int TTableChartForm::buttonHeight() const {
    return btnBrowse_->sizeHint().height();
}

int TTableChartForm::heightAbove() const {
    return graphShown() ? graphHeight_ + margin() : 0;
}

int TTableChartForm::yieldAbove(int excess) {
    if (!graphShown()) return 0;
    // The rows come first; the chart keeps an inch and a half: three labelled ticks and both axis titles.
    const int least = logicalDpiY() * 3 / 2;
    const int given = std::clamp(excess, 0, std::max(0, graphHeight_ - least));
    graphHeight_ -= given;
    return given;
}

void TTableChartForm::placeAbove(int left, int top, int clientWidth) {
    const QRect area(left, top, clientWidth - 2 * left, heightAbove() - margin());
    chart_->setGeometry(area);
    paintBox_->setGeometry(area);
}

int TTableChartForm::fileLineWidth() const {
    return btnBrowse_->sizeHint().width() + btnView_->sizeHint().width() + btnRead_->sizeHint().width() + 2 * margin();
}

int TTableChartForm::heightBelowButtons() const {
    int height = 0;
    if (table() && table()->OKCancelButtons) height += margin() + buttonHeight();
    if (table() && table()->GetDataFromFile) height += 3 * (margin() + buttonHeight());
    return height;
}

int TTableChartForm::widthBelowButtons() const {
    int width = graphShown() ? logicalDpiX() * 45 / 10 : 0;  // the chart: 4.5 inches at the least
    if (table() && table()->OKCancelButtons) {
        width = std::max(width, btnOK_->sizeHint().width() + btnCancel_->sizeHint().width() + margin());
    }
    if (table() && table()->GetDataFromFile) width = std::max(width, fileLineWidth());
    return width;
}

int TTableChartForm::placeBelowButtons(int left, int top) {
    const int h = buttonHeight();
    int y = top;
    if (table()->OKCancelButtons) {
        // OK and Cancel stand where "&Add Row" and "&Insert Row" stand on the line above.
        y += margin();
        btnOK_->setGeometry(left, y, std::max(btnOK_->sizeHint().width(), addButton()->sizeHint().width()), h);
        btnCancel_->setGeometry(btnOK_->geometry().right() + 1 + margin(), y,
                                std::max(btnCancel_->sizeHint().width(), insertButton()->sizeHint().width()), h);
        y += h;
    }
    if (table()->GetDataFromFile) {
        const int lineWidth = fileLineWidth();
        y += margin();
        const int labelWidth = lblFile_->sizeHint().width();
        lblFile_->setGeometry(left, y, labelWidth, h);
        edtFile_->setGeometry(left + labelWidth + margin(), y, lineWidth - labelWidth - margin(), h);
        y += h + margin();
        int x = left;
        for (QPushButton* b : {btnBrowse_, btnView_, btnRead_}) {
            b->setGeometry(x, y, b->sizeHint().width(), h);
            x += b->width() + margin();
        }
        y += h + margin();
        // Right-aligned under "Read values from File".
        const int pasteWidth = btnPaste_->sizeHint().width();
        btnPaste_->setGeometry(std::max(left, btnRead_->geometry().right() + 1 - pasteWidth), y, pasteWidth, h);
        y += h;
        updateFileButtons();
    }
    return y;
}

void TTableChartForm::updateFileButtons() {
    const bool exists = QFileInfo(edtFile_->text()).isFile();
    btnView_->setEnabled(exists);
    btnRead_->setEnabled(exists);
}

void TTableChartForm::RedrawGraph() {
    if (table() == nullptr) return;
    if (chartShown()) chart_->setPicture(buildChartPicture(*table()));
    if (paintBoxShown()) paintBox_->setSegments(buildPaintSegments(*table()));
}

void TTableChartForm::afterRefresh() {
    if (table() && table()->ShowGraph) RedrawGraph();
    updateFileButtons();
}

void TTableChartForm::afterRowCommand() {
    if (graphShown()) RedrawGraph();
}

void TTableChartForm::beforeCellSelect() {
    if (table() && table()->ShowGraph) RedrawGraph();
}

void TTableChartForm::gridKeyPressed(QKeyEvent*) {
    if (graphShown()) RedrawGraph();
}

void TTableChartForm::gridKeyReleased(QKeyEvent* event) {
    const int key = event->key();
    const bool arrow = key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
    if ((arrow || (key >= Qt::Key_0 && key <= Qt::Key_9)) && table() && table()->ShowGraph) RedrawGraph();
}

void TTableChartForm::windowClicked() {
    if (table() && table()->ShowGraph) RedrawGraph();
}

// Besides the redraws before a key or a selection is handled, the graph follows every committed value, so
// it never shows the table one step behind.
void TTableChartForm::cellUpdated() {
    if (graphShown()) RedrawGraph();
}

void TTableChartForm::browse() {
    const QString name = platform::fileDialogs().get().openFileName(this, edtFile_->text(), kTextFileFilter);
    if (!name.isEmpty()) edtFile_->setText(name);
    updateFileButtons();
}

void TTableChartForm::viewFile() {
    platform::startTextEditor(this, platform::editorPath(), edtFile_->text());
}

void TTableChartForm::import(const std::vector<std::string>& lines) {
    if (table() == nullptr || !CommitEdit()) return;
    EditorImportTarget target(*this, *table());
    const TImportResult result = ImportNumberLines(lines, target);
    if (result.Imported > 0) table()->SetChanged(true);
    Refresh();
    if (!result.Message.empty()) showMessage(this, result.Message);
}

void TTableChartForm::readFile() {
    import(ReadTextLines(edtFile_->text().toStdString()));
}

void TTableChartForm::pasteClipboard() {
    const std::optional<QString> text = platform::clipboard().get().text();
    if (!text) {
        showMessage(this, "There is no text on the Clipboard");
        return;
    }
    import(SplitLines(text->toStdString()));
}

void installChartTableEditors(TTableSpaceChart& space, QMdiArea* area) {
    space.EditorLauncher = [area = QPointer<QMdiArea>(area)](TGridTableChart& table, bool modal) {
        launchTableEditor<TTableChartForm>(table, modal, area.data());
    };
}

}  // namespace velmor::components
