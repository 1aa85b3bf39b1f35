#include "graphs/widgets/dlg_format.h"

#include <QApplication>
#include <QImage>
#include <cmath>

#include "fields/exceptions.h"
#include "fields/utilities.h"
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

bool TdlgFormat::PixelCount(Extended inches, Extended pixelsPerInch, int& pixels) {
    const Extended exact = inches * pixelsPerInch;
    if (!(exact >= 0.5L && exact < 2147483647.5L)) return false;
    pixels = static_cast<int>(RoundToInt64(exact));
    return pixels >= 1;
}

void TdlgFormat::accept() {
    if (auto* field = qobject_cast<DataEditWidget*>(focusWidget())) {
        if (!ValidateDataEdit(field)) return;
    }
    int width = 0;
    int height = 0;
    try {
        const Extended ppi = ui_->dePPI->GetNumber();
        if (!PixelCount(ui_->deWidth->GetNumber(), ppi, width) ||
            !PixelCount(ui_->deHeight->GetNumber(), ppi, height) ||
            static_cast<long long>(width) * height > kMaxPixels) {
            done(kOutOfMemory);
            return;
        }
    } catch (const Exception&) {
        // A field still holding a bad entry: its own check reports it.
        for (DataEditWidget* field : {ui_->deHeight, ui_->deWidth, ui_->dePPI}) {
            if (!ValidateDataEdit(field)) return;
        }
        return;
    }
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull()) {
        done(kOutOfMemory);
        return;
    }
    bitmap_ = std::move(image);
    done(Accepted);
}

}  // namespace velmor::components
