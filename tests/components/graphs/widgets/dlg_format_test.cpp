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

TEST(DlgFormat, PixelCountRoundsHalvesToEvenAndRefusesWhatAnIntCannotHold) {
    struct Case {
        Extended inches, ppi;
        bool ok;
        int pixels;
    };
    const Case cases[] = {
        {6, 72, true, 432},
        {2.5L, 1, true, 2},
        {3.5L, 1, true, 4},
        {2, 2147483647, false, 0},
        {1e4000L, 1e30L, false, 0},
        {0.4L, 1, false, 0},
        {1, 2147483647, true, 2147483647},
    };
    for (const Case& c : cases) {
        int pixels = 0;
        EXPECT_EQ(TdlgFormat::PixelCount(c.inches, c.ppi, pixels), c.ok) << double(c.inches) << " x " << double(c.ppi);
        if (c.ok) {
            EXPECT_EQ(pixels, c.pixels);
        }
    }
}

}  // namespace
}  // namespace velmor::components
