#include "graphs/widgets/frm_active_lines.h"

#include <QFontDatabase>
#include <QStyle>

#include "graphs/graph_plot.h"
#include "ui_frm_active_lines.h"

namespace velmor::components {

const QString TfrmActiveLines::kActiveFlag = " yes : ";
const QString TfrmActiveLines::kInactiveFlag = " no  : ";

namespace {
const QString kFlagGap = "   ";
}

TfrmActiveLines::TfrmActiveLines(const QStringList& Names, QStringList& Flags, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TfrmActiveLines>()), names_(Names), flags_(Flags) {
    ui_->setupUi(this);
    // The flags are written in a fixed-pitch font so that the names line up under "Curve".
    ui_->lbLines->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    const QFontMetrics metrics(ui_->lbLines->font());
    const int textLeft = ui_->lbLines->frameWidth() + ui_->lbLines->style()->pixelMetric(QStyle::PM_FocusFrameHMargin);
    ui_->lblActive->setMinimumWidth(textLeft + metrics.horizontalAdvance(kActiveFlag + kFlagGap));
    connect(ui_->lbLines, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { toggle(ui_->lbLines->row(item)); });
    connect(ui_->btnToggle, &QPushButton::clicked, this, &TfrmActiveLines::toggleSelected);
    connect(ui_->btnActivateAll, &QPushButton::clicked, this, [this] { setAll(true); });
    connect(ui_->btnDeactivateAll, &QPushButton::clicked, this, [this] { setAll(false); });
}

TfrmActiveLines::~TfrmActiveLines() = default;

void TfrmActiveLines::showEvent(QShowEvent* event) {
    ui_->lbLines->clear();
    for (int row = 0; row < names_.size() && row < flags_.size(); ++row) {
        ui_->lbLines->addItem(QString());
        showEntry(row);
    }
    if (ui_->lbLines->count() > 0) ui_->lbLines->setCurrentRow(0);
    QDialog::showEvent(event);
}

void TfrmActiveLines::showEntry(int row) {
    ui_->lbLines->item(row)->setText(flags_[row] + kFlagGap + names_[row]);
}

void TfrmActiveLines::toggle(int row) {
    if (row < 0 || row >= ui_->lbLines->count()) return;
    flags_[row] = flags_[row] == kActiveFlag ? kInactiveFlag : kActiveFlag;
    showEntry(row);
}

void TfrmActiveLines::toggleSelected() {
    for (int row = 0; row < ui_->lbLines->count(); ++row) {
        if (ui_->lbLines->item(row)->isSelected()) toggle(row);
    }
}

void TfrmActiveLines::setAll(bool active) {
    for (int row = 0; row < ui_->lbLines->count(); ++row) {
        flags_[row] = active ? kActiveFlag : kInactiveFlag;
        showEntry(row);
    }
}

bool EditActiveCurves(QWidget* parent, TGraphPlot& Plot) {
    QStringList names;
    QStringList flags;
    for (int i = 0; i < Plot.GetLineCount(); ++i) {
        const TLine* line = Plot.GetLine(i);
        names << QString::fromStdString(line->GetName());
        flags << (line->Active ? TfrmActiveLines::kActiveFlag : TfrmActiveLines::kInactiveFlag);
    }
    TfrmActiveLines dialog(names, flags, parent);
    if (dialog.exec() != QDialog::Accepted) return false;
    for (int i = 0; i < Plot.GetLineCount() && i < flags.size(); ++i) {
        Plot.GetLine(i)->Active = flags[i] == TfrmActiveLines::kActiveFlag;
    }
    return true;
}

}  // namespace velmor::components
