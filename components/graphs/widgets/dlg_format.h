#pragma once

#include <QDialog>
#include <memory>

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

    TdlgFormat(QImage& Bitmap, QWidget* parent = nullptr);
    ~TdlgFormat() override;

    void accept() override;

  private:
    std::unique_ptr<Ui::TdlgFormat> ui_;
    QImage& bitmap_;
};

}  // namespace velmor::components
