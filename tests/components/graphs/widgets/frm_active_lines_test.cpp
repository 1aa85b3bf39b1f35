#include "graphs/widgets/frm_active_lines.h"

#include <gtest/gtest.h>

#include <QListWidget>
#include <QPushButton>

#include "graphs/graph_plot.h"
#include "graphs/widgets/modal_dialog.h"

namespace velmor::components {
namespace {

QListWidget* list(QDialog& dialog) {
    return dialog.findChild<QListWidget*>("lbLines");
}
void click(QDialog& dialog, const char* button) {
    dialog.findChild<QPushButton*>(button)->click();
}

// Twenty-five curves of which the first twenty are active, as a graph window leaves them.
struct TwentyFiveCurves {
    TwentyFiveCurves() {
        plot.SetLineCount(25);
        for (int i = 20; i < 25; ++i) plot.GetLine(i)->Active = false;
    }
    int activeCount() const {
        int count = 0;
        for (int i = 0; i < plot.GetLineCount(); ++i) count += plot.GetLine(i)->Active ? 1 : 0;
        return count;
    }
    TGraphPlot plot;
};

TEST(FrmActiveLines, DeactivateAllWithOkDeactivatesEveryCurve) {
    TwentyFiveCurves curves;
    test::whenShown<TfrmActiveLines>([](TfrmActiveLines& dialog) {
        EXPECT_EQ(list(dialog)->item(0)->text(), " yes :    Curve #1");
        EXPECT_EQ(list(dialog)->item(24)->text(), " no  :    Curve #25");
        EXPECT_TRUE(list(dialog)->item(0)->isSelected());
        click(dialog, "btnDeactivateAll");
        click(dialog, "btnOK");
    });
    EXPECT_TRUE(EditActiveCurves(nullptr, curves.plot));
    EXPECT_EQ(curves.activeCount(), 0);
}

TEST(FrmActiveLines, SelectedEntriesAndDoubleClicksToggle) {
    TwentyFiveCurves curves;
    test::whenShown<TfrmActiveLines>([](TfrmActiveLines& dialog) {
        QListWidget* lines = list(dialog);
        lines->clearSelection();
        for (int row : {0, 1, 22}) lines->item(row)->setSelected(true);
        click(dialog, "btnToggle");
        emit lines->itemDoubleClicked(lines->item(3));
        EXPECT_EQ(lines->item(22)->text(), " yes :    Curve #23");
        click(dialog, "btnOK");
    });
    EXPECT_TRUE(EditActiveCurves(nullptr, curves.plot));
    EXPECT_FALSE(curves.plot.GetLine(0)->Active);
    EXPECT_FALSE(curves.plot.GetLine(1)->Active);
    EXPECT_FALSE(curves.plot.GetLine(3)->Active);
    EXPECT_TRUE(curves.plot.GetLine(22)->Active);
    EXPECT_EQ(curves.activeCount(), 18);
}

TEST(FrmActiveLines, CancelChangesNothingAndNoCurvesIsNoError) {
    TwentyFiveCurves curves;
    test::whenShown<TfrmActiveLines>([](TfrmActiveLines& dialog) {
        click(dialog, "btnActivateAll");
        click(dialog, "btnCancel");
    });
    EXPECT_FALSE(EditActiveCurves(nullptr, curves.plot));
    EXPECT_EQ(curves.activeCount(), 20);

    TGraphPlot empty;
    test::whenShown<TfrmActiveLines>([](TfrmActiveLines& dialog) {
        click(dialog, "btnToggle");
        click(dialog, "btnDeactivateAll");
        click(dialog, "btnOK");
    });
    EXPECT_TRUE(EditActiveCurves(nullptr, empty));
}

}  // namespace
}  // namespace velmor::components
