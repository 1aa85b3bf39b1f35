#include "graphs/widgets/frm_graph_caption.h"

#include "graphs/graph_plot.h"
#include "ui_frm_graph_caption.h"

namespace velmor::components {

TfrmGraphCaption::TfrmGraphCaption(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::TfrmGraphCaption>()) {
    ui_->setupUi(this);
    // A fixed single border: no resizing, no help button.
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
}

TfrmGraphCaption::~TfrmGraphCaption() = default;

void TfrmGraphCaption::setTitle(const QString& title, bool atTop) {
    ui_->edtCaption->setText(title);
    (atTop ? ui_->rbTop : ui_->rbBottom)->setChecked(true);
}

QString TfrmGraphCaption::title() const {
    return ui_->edtCaption->text();
}

bool TfrmGraphCaption::titleAtTop() const {
    return ui_->rbTop->isChecked();
}

void EditGraphTitle(QWidget* parent, TGraphPlot& Plot) {
    TfrmGraphCaption dialog(parent);
    dialog.setTitle(QString::fromStdString(Plot.GetTitle()), Plot.GetTitleAtTop());
    dialog.exec();
    Plot.SetTitle(dialog.title().toStdString());
    Plot.SetTitleAtTop(dialog.titleAtTop());
}

}  // namespace velmor::components
