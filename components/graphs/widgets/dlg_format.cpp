#include "graphs/widgets/dlg_format.h"

#include <QImage>
#include <optional>

#include "fields/exceptions.h"
#include "graphs/plot_geometry.h"
#include "ui_dlg_format.h"

namespace velmor::components {

TdlgFormat::TdlgFormat(QImage& Bitmap, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TdlgFormat>()), bitmap_(Bitmap) {
    ui_->setupUi(this);
    // A dialog border without the title bar's buttons: OK or Cancel ends it.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    ui_->deHeight->SetEditLabel(ui_->lblHeight);
    ui_->deWidth->SetEditLabel(ui_->lblWidth);
    ui_->dePPI->SetEditLabel(ui_->lblPPI);
}

TdlgFormat::~TdlgFormat() = default;

void TdlgFormat::accept() {
    if (auto* field = qobject_cast<DataEditWidget*>(focusWidget())) {
        if (!ValidateDataEdit(field)) return;
    }
    std::optional<TPixelPoint> size;
    try {
        size = BitmapSize(ui_->deWidth->GetNumber(), ui_->deHeight->GetNumber(), ui_->dePPI->GetNumber());
    } catch (const Exception&) {
        // A field still holds a bad entry: its own check reports it.
        for (DataEditWidget* field : {ui_->deHeight, ui_->deWidth, ui_->dePPI}) {
            if (!ValidateDataEdit(field)) return;
        }
        return;
    }
    // A size that overflows or is too large to hold is refused before any memory is asked for: the system
    // may promise more than it can give.
    if (!size) {
        done(kOutOfMemory);
        return;
    }
    QImage image(size->X, size->Y, QImage::Format_RGB32);
    if (image.isNull()) {
        done(kOutOfMemory);
        return;
    }
    bitmap_ = std::move(image);
    done(Accepted);
}

}  // namespace velmor::components
