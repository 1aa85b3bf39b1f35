#pragma once

#include <QDialog>
#include <memory>

#include "fields/number_text.h"

class QImage;

namespace Ui {
class TdlgFormat;
}

namespace velmor::components {

// "Save Attributes": the size of a saved bitmap in inches and pixels per inch. On OK the bitmap handed in
// is allocated at that size; a size that cannot be held ends the dialog with kOutOfMemory, and the caller
// shows "There is not enough memory to complete this task." and writes nothing.
class TdlgFormat : public QDialog {
    Q_OBJECT

  public:
    // Results of exec(): QDialog::Accepted, QDialog::Rejected or this.
    static constexpr int kOutOfMemory = 2;
    // Largest bitmap allocated, in pixels (a gigabyte at 32 bits per pixel). The system may promise more
    // memory than it can give, so a larger one is refused before it is asked for.
    static constexpr long long kMaxPixels = 1LL << 28;

    TdlgFormat(QImage& Bitmap, QWidget* parent = nullptr);
    ~TdlgFormat() override;

    // round(inches x pixels per inch), halves to even, computed without overflow; False when the result is
    // below 1 or beyond the 32-bit range.
    static bool PixelCount(Extended inches, Extended pixelsPerInch, int& pixels);

    void accept() override;

  private:
    std::unique_ptr<Ui::TdlgFormat> ui_;
    QImage& bitmap_;
};

}  // namespace velmor::components
