#include "graphs/widgets/frm_line_names.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "graphs/graph_plot.h"
#include "graphs/widgets/modal_dialog.h"
#include "platform/message_service.h"

namespace velmor::components {
namespace {

QListWidget* list(QDialog& dialog) {
    return dialog.findChild<QListWidget*>("lbLines");
}
QLineEdit* edit(QDialog& dialog) {
    return dialog.findChild<QLineEdit*>("edLine");
}

// Selects `row`, types `name` over the edit and presses Enter.
void rename(QDialog& dialog, int row, const QString& name) {
    list(dialog)->setCurrentRow(row);
    edit(dialog)->setFocus();
    edit(dialog)->selectAll();
    if (name.isEmpty()) {
        QTest::keyClick(edit(dialog), Qt::Key_Delete);
    } else {
        QTest::keyClicks(edit(dialog), name);
    }
    QTest::keyClick(edit(dialog), Qt::Key_Return);
}

TEST(FrmLineNames, OkRenamesTheChosenCurveOfTwentyFive) {
    TGraphPlot plot;
    plot.SetLineCount(25);
    test::whenShown<TfrmLineNames>([](TfrmLineNames& dialog) {
        EXPECT_EQ(list(dialog)->count(), 25);
        EXPECT_EQ(edit(dialog)->text(), "Curve #1");
        rename(dialog, 2, "Stage 3");
        EXPECT_EQ(list(dialog)->item(2)->text(), "Stage 3");
        // The edit takes the colour the curve has in the legend: slot 2 is red.
        EXPECT_EQ(edit(dialog)->palette().color(QPalette::Text), QColor(255, 0, 0));
        rename(dialog, 21, "Stage 22");
        dialog.findChild<QPushButton*>("btnOK")->click();
    });
    EXPECT_TRUE(EditLegendNames(nullptr, plot));
    EXPECT_EQ(plot.GetLine(2)->Name, "Stage 3");
    EXPECT_EQ(plot.GetLine(21)->Name, "Stage 22");
    EXPECT_EQ(plot.GetLine(3)->GetName(), "Curve #4");
}

TEST(FrmLineNames, CancelKeepsTheNamesAndAnEmptyNameIsRefused) {
    platform::RecordingMessages messages;
    TGraphPlot plot;
    plot.SetLineCount(3);
    test::whenShown<TfrmLineNames>([](TfrmLineNames& dialog) {
        rename(dialog, 1, "");
        EXPECT_EQ(edit(dialog)->text(), "Curve #2");
        EXPECT_EQ(list(dialog)->item(1)->text(), "Curve #2");
        rename(dialog, 0, "Renamed");
        dialog.findChild<QPushButton*>("btnCancel")->click();
    });
    EXPECT_FALSE(EditLegendNames(nullptr, plot));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0], "The line must have a name!");
    EXPECT_EQ(plot.GetLine(0)->Name, "");
}

TEST(FrmLineNames, AGraphWithoutCurvesOpensAndClosesWithoutError) {
    platform::RecordingMessages messages;
    TGraphPlot plot;
    test::whenShown<TfrmLineNames>([](TfrmLineNames& dialog) {
        rename(dialog, 0, "");
        rename(dialog, 0, "Name");
        dialog.findChild<QPushButton*>("btnOK")->click();
    });
    EXPECT_TRUE(EditLegendNames(nullptr, plot));
    EXPECT_TRUE(messages.shown.empty());
}

}  // namespace
}  // namespace velmor::components
