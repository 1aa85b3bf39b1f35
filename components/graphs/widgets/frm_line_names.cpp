#include "graphs/widgets/frm_line_names.h"

#include <QGuiApplication>
#include <QPalette>
#include <QScreen>

#include "graphs/graph_plot.h"
#include "graphs/plot_geometry.h"
#include "platform/message_service.h"
#include "ui_frm_line_names.h"

namespace velmor::components {

TfrmLineNames::TfrmLineNames(QStringList& Names, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TfrmLineNames>()), names_(Names) {
    ui_->setupUi(this);
    connect(ui_->lbLines, &QListWidget::currentRowChanged, this, &TfrmLineNames::showEntry);
    connect(ui_->edLine, &QLineEdit::editingFinished, this, &TfrmLineNames::commitEdit);
}

TfrmLineNames::~TfrmLineNames() = default;

void TfrmLineNames::showEvent(QShowEvent* event) {
    ui_->lbLines->clear();
    ui_->lbLines->addItems(names_);
    if (!names_.isEmpty()) ui_->lbLines->setCurrentRow(0);
    showEntry(ui_->lbLines->currentRow());
    if (const QScreen* screen = this->screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    QDialog::showEvent(event);
}

// The edit shows the selected entry in the colour its curve has in the legend.
void TfrmLineNames::showEntry(int row) {
    const QListWidgetItem* item = ui_->lbLines->item(row);
    ui_->edLine->setText(item != nullptr ? item->text() : QString());
    const TRgb colour = CurveColour(row < 0 ? 0 : row);
    QPalette palette = ui_->edLine->palette();
    palette.setColor(QPalette::Text, QColor(colour.R, colour.G, colour.B));
    ui_->edLine->setPalette(palette);
}

// Enter in the edit or leaving it renames the selected entry; a curve must keep a name. With no curves
// there is no entry to rename and nothing happens.
void TfrmLineNames::commitEdit() {
    QListWidgetItem* item = ui_->lbLines->currentItem();
    if (item == nullptr || committing_) return;
    const QString text = ui_->edLine->text();
    if (!text.isEmpty()) {
        item->setText(text);
        return;
    }
    committing_ = true;
    platform::messages().get().information(this, "The line must have a name!");
    ui_->edLine->setText(item->text());
    committing_ = false;
}

void TfrmLineNames::done(int result) {
    // OK taken with its shortcut leaves the edit without leaving its focus: a typed name still counts.
    if (result == Accepted) commitEdit();
    for (int row = 0; row < ui_->lbLines->count() && row < names_.size(); ++row) {
        names_[row] = ui_->lbLines->item(row)->text();
    }
    QDialog::done(result);
}

bool EditLegendNames(QWidget* parent, TGraphPlot& Plot) {
    QStringList names;
    for (int i = 0; i < Plot.GetLineCount(); ++i) names << QString::fromStdString(Plot.GetLine(i)->GetName());
    TfrmLineNames dialog(names, parent);
    if (dialog.exec() != QDialog::Accepted) return false;
    for (int i = 0; i < Plot.GetLineCount() && i < names.size(); ++i) Plot.GetLine(i)->Name = names[i].toStdString();
    return true;
}

}  // namespace velmor::components
