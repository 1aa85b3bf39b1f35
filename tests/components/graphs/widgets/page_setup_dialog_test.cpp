#include "graphs/widgets/page_setup_dialog.h"

#include <gtest/gtest.h>

#include <QPageSetupDialog>
#include <QPrinter>

#include "graphs/widgets/modal_dialog.h"

namespace velmor::components {
namespace {

using F = TPageSetupFlag;

TEST(PageSetupDialog, ANewlyChosenFlagRemovesItsCounterpart) {
    struct Case {
        TPageSetupFlags before, chosen, after;
    };
    const Case cases[] = {
        {{F::poDefaultMinMargins, F::poHundredthsOfMillimeters},
         {F::poDefaultMinMargins, F::poMinMargins, F::poHundredthsOfMillimeters},
         {F::poMinMargins, F::poHundredthsOfMillimeters}},
        {{F::poMinMargins}, {F::poDefaultMinMargins, F::poMinMargins}, {F::poDefaultMinMargins}},
        {{F::poDefaultMinMargins, F::poHundredthsOfMillimeters},
         {F::poDefaultMinMargins, F::poThousandthsOfInches, F::poHundredthsOfMillimeters},
         {F::poDefaultMinMargins, F::poThousandthsOfInches}},
        {{}, {F::poMargins, F::poDisablePaper}, {F::poMargins, F::poDisablePaper}},
    };
    for (const Case& c : cases) {
        TPageSetupDialog dialog;
        dialog.SetOptions(c.before);
        EXPECT_EQ(dialog.Options(), c.before);
        dialog.SetOptions(c.chosen);
        EXPECT_EQ(dialog.Options(), c.after);
    }
    EXPECT_EQ(TPageSetupDialog().Options(), (TPageSetupFlags{F::poDefaultMinMargins, F::poHundredthsOfMillimeters}));
}

TEST(PageSetupDialog, MarginsStayAtOrAboveTheirMinimums) {
    TPageSetupDialog dialog;
    dialog.SetMarginLeft(1000);
    dialog.SetMinMarginLeft(250);
    dialog.SetMarginLeft(100);
    EXPECT_EQ(dialog.MarginLeft(), 250);
    dialog.SetMinMarginLeft(400);
    EXPECT_EQ(dialog.MinMarginLeft(), 250);
    dialog.SetMarginBottom(500);
    dialog.SetMinMarginBottom(800);
    EXPECT_EQ(dialog.MinMarginBottom(), 500);
}

TEST(PageSetupDialog, OkStoresPaperAndMarginsInThousandthsOfAnInch) {
    TPageSetupDialog dialog;
    dialog.SetOptions({F::poDefaultMinMargins, F::poThousandthsOfInches});
    dialog.SetMarginLeft(1000);
    dialog.SetMarginTop(1000);
    dialog.SetMarginRight(750);
    dialog.SetMarginBottom(500);
    QPrinter printer;
    printer.setPageSize(QPageSize(QPageSize::Letter));
    printer.setPageOrientation(QPageLayout::Portrait);
    test::whenShown<QPageSetupDialog>([](QPageSetupDialog& shown) { shown.accept(); });
    ASSERT_TRUE(dialog.Execute(nullptr, &printer));
    EXPECT_EQ(dialog.PaperWidth(), 8500);
    EXPECT_EQ(dialog.PaperLength(), 11000);
    EXPECT_EQ(dialog.MarginLeft(), 1000);
    EXPECT_EQ(dialog.MarginRight(), 750);
    EXPECT_EQ(dialog.MarginBottom(), 500);

    test::whenShown<QPageSetupDialog>([](QPageSetupDialog& shown) {
        test::saveScreenshot(shown, "page_setup");
        shown.reject();
    });
    EXPECT_FALSE(dialog.Execute(nullptr, &printer));
}

}  // namespace
}  // namespace velmor::components
