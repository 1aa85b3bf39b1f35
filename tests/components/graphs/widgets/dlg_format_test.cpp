#include "graphs/widgets/dlg_format.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>
#include <QPushButton>

#include "fields/widgets/data_edit_widget.h"
#include "graphs/widgets/modal_dialog.h"
#include "platform/message_service.h"

namespace velmor::components {
namespace {

DataEditWidget* field(QDialog& dialog, const char* name) {
    return dialog.findChild<DataEditWidget*>(name);
}

TEST(DlgFormat, SixByFourInchesAt72PixelsPerInchGive432By288Pixels) {
    QImage bitmap;
    TdlgFormat dialog(bitmap);
    EXPECT_EQ(field(dialog, "deHeight")->EditLabel()->text(), "&Height (in)");
    EXPECT_EQ(field(dialog, "dePPI")->EditLabel()->text(), "&Pixels Per Inch");
    EXPECT_EQ(field(dialog, "dePPI")->MinVal(), 10);
    EXPECT_TRUE(field(dialog, "dePPI")->IntegerOnly());
    test::whenShown<TdlgFormat>([](TdlgFormat& shown) { shown.findChild<QPushButton*>("btnOK")->click(); });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_EQ(bitmap.width(), 432);
    EXPECT_EQ(bitmap.height(), 288);
}

TEST(DlgFormat, ABitmapTooLargeToHoldEndsWithOutOfMemoryAndNoBitmap) {
    platform::RecordingMessages messages;
    QImage bitmap;
    TdlgFormat dialog(bitmap);
    test::whenShown<TdlgFormat>([](TdlgFormat& shown) {
        field(shown, "deWidth")->setText("1e4000");
        field(shown, "dePPI")->setText("2147483647");
        shown.findChild<QPushButton*>("btnOK")->click();
    });
    EXPECT_EQ(dialog.exec(), TdlgFormat::kOutOfMemory);
    EXPECT_TRUE(bitmap.isNull());
    EXPECT_TRUE(messages.shown.empty());
}

}  // namespace
}  // namespace velmor::components
