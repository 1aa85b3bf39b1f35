#include "graphs/widgets/frm_graph_caption.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QRadioButton>

#include "graphs/graph_plot.h"
#include "graphs/widgets/modal_dialog.h"

namespace velmor::components {
namespace {

TEST(FrmGraphCaption, ClosingWithoutOkStillAppliesTheEditedTitle) {
    TGraphPlot plot;
    plot.SetTitle("Old");
    test::whenShown<TfrmGraphCaption>([](TfrmGraphCaption& dialog) {
        EXPECT_EQ(dialog.findChild<QLineEdit*>("edtCaption")->text(), "Old");
        EXPECT_TRUE(dialog.findChild<QRadioButton*>("rbBottom")->isChecked());
        dialog.findChild<QLineEdit*>("edtCaption")->setText("Deflection, stage 3");
        dialog.findChild<QRadioButton*>("rbTop")->setChecked(true);
        dialog.close();
    });
    EditGraphTitle(nullptr, plot);
    EXPECT_EQ(plot.GetTitle(), "Deflection, stage 3");
    EXPECT_TRUE(plot.GetTitleAtTop());
}

}  // namespace
}  // namespace velmor::components
