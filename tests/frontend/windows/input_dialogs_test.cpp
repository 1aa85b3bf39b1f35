#include "windows/input_dialogs.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "../../components/tables/table_test_support.h"
#include "fields/widgets/data_edit_widget.h"
#include "platform/file_dialog_service.h"
#include "platform/message_service.h"
#include "ui_dlg_con_loads.h"
#include "ui_dlg_csd.h"
#include "ui_dlg_options.h"
#include "ui_dlg_prop.h"
#include "ui_dlg_spring.h"
#include "ui_dlg_title.h"

namespace velmor::windows {
namespace {

using components::DataEditWidget;

struct ModifiedHooks : project::TMainWindowHooks {
    void SetModified(bool Value) override { modified = Value; }
    bool modified = false;
};

struct Project {
    ModifiedHooks hooks;
    project::TProgramData data{hooks};
};

// Shows the dialog as an active top-level window with the focus on `field`, and types `text` into it.
void typeInto(QWidget& dialog, QLineEdit* field, const QString& text) {
    if (!dialog.isVisible()) {
        dialog.show();
        dialog.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    }
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, text);
}

TEST(InputDialogs, EnglishUnitsShowFeetAndPoundsPerSquareFootAndStoreInchesAndPsi) {
    struct Case {
        int units;
        components::Extended stored, typed, expectedStore;
        const char* shown;
        bool surcharge;
    };
    // Feet from inches (x12), pounds per square foot from psi (/144); SI values pass unchanged.
    const Case cases[] = {
        {1, 240, 25, 300, "20", false},
        {2, 240, 25, 25, "240", false},
        {1, 1, 72, 0.5, "144", true},
        {2, 1, 72, 72, "1", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "units " << c.units << (c.surcharge ? " surcharge" : " height"));
        Project p;
        p.data.Units = c.units;
        p.data.FreeHeight = c.stored;
        p.data.SurchargeAtTop = c.stored;
        TdlgCSD csd(p.data);
        csd.FormActivate();
        DataEditWidget* field = c.surcharge ? csd.Form().deSP : csd.Form().deHL;
        EXPECT_EQ(field->text(), c.shown);
        field->SetNumber(c.typed);
        ASSERT_TRUE(csd.FormDeactivate());
        EXPECT_EQ(c.surcharge ? p.data.SurchargeAtTop : p.data.FreeHeight, c.expectedStore);
        if (!c.surcharge) {
            p.data.FreeHeight = c.stored;
            TDlgProp prop(p.data);
            prop.FormActivate();
            EXPECT_EQ(prop.Form().DeFH->text(), c.shown);
            prop.Form().DeFH->SetNumber(c.typed);
            ASSERT_TRUE(prop.FormDeactivate());
            EXPECT_EQ(p.data.FreeHeight, c.expectedStore);
        }
        EXPECT_TRUE(p.hooks.modified);
    }
}

TEST(InputDialogs, LeavingWithoutAChangeKeepsEveryDigitAndTheProjectUnmodified) {
    Project p;
    // 241 in is 20.083... ft: shown with 18 digits, it would not come back as 241 exactly.
    p.data.FreeHeight = 241;
    p.data.SurchargeAtTop = 0.7L;
    p.data.NumIncrements = 100;   // a new project's 0 lies below the field's minimum
    p.data.IncrementLength = -6;  // refused by the engine, shown as stored so the run's message matches it
    TdlgCSD csd(p.data);
    csd.FormActivate();
    ASSERT_TRUE(csd.FormDeactivate());
    TDlgProp prop(p.data);
    prop.FormActivate();
    EXPECT_EQ(prop.Form().deXGS->text(), "-6");
    ASSERT_TRUE(prop.FormDeactivate());
    EXPECT_EQ(p.data.IncrementLength, -6);
    EXPECT_EQ(p.data.FreeHeight, 241);
    EXPECT_EQ(p.data.SurchargeAtTop, 0.7L);
    EXPECT_FALSE(p.hooks.modified);
}

TEST(InputDialogs, FieldUnitsFollowTheProject) {
    Project p;
    p.data.Units = 2;
    TdlgCSD csd(p.data);
    csd.show();  // the labels join their fields when the form is first shown
    csd.FormActivate();
    EXPECT_EQ(csd.Form().lbldeHL->text(), "&Free Height of Wall, H (m)");
    EXPECT_EQ(csd.Form().lbldeSP->text(), "Uniform Distributed Load at the top of backfill side  (kN/m^2)");
    p.data.Units = 1;
    csd.FormActivate();
    EXPECT_EQ(csd.Form().lbldeHL->text(), "&Free Height of Wall, H (ft)");
}

TEST(InputDialogs, InvalidIncrementsAreRefusedAndTheDialogCannotBeClosed) {
    platform::RecordingMessages messages;
    for (const char* entry : {"301", "2.5"}) {
        SCOPED_TRACE(entry);
        Project p;
        p.data.NumIncrements = 100;
        auto* dialog = new TDlgProp(p.data);
        QPointer<TDlgProp> alive(dialog);
        typeInto(*dialog, dialog->Form().deNI, entry);
        messages.shown.clear();
        EXPECT_FALSE(dialog->close());
        EXPECT_FALSE(messages.shown.empty());
        EXPECT_EQ(p.data.NumIncrements, 100);
        ASSERT_FALSE(alive.isNull());
        typeInto(*dialog, dialog->Form().deNI, "120");
        EXPECT_TRUE(dialog->close());
        EXPECT_EQ(p.data.NumIncrements, 120);
        // A closed dialog frees itself.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(alive.isNull());
    }
}

TEST(InputDialogs, BackfillSlopeAcceptsFortyFiveDegreesEitherWay) {
    platform::RecordingMessages messages;
    Project p;
    TdlgCSD csd(p.data);
    csd.FormActivate();
    const struct {
        const char* text;
        bool valid;
    } cases[] = {{"46", false}, {"-46", false}, {"45", true}, {"-45", true}};
    for (const auto& c : cases) {
        csd.Form().beta->setText(c.text);
        EXPECT_EQ(components::ValidateDataEdit(csd.Form().beta), c.valid) << c.text;
    }
}

TEST(InputDialogs, ValuesBeyondAFieldLimitAreShownAndStoredAtTheLimit) {
    Project p;
    p.data.Wa = 1500;
    TdlgCSD csd(p.data);
    csd.FormActivate();
    EXPECT_EQ(csd.Form().deWidth->text(), "1200");
    ASSERT_TRUE(csd.FormDeactivate());
    EXPECT_EQ(p.data.Wa, 1200);
    EXPECT_TRUE(p.hooks.modified);
}

TEST(InputDialogs, UncheckingTheOptionClosesTheTableEditorAndDisablesItsButton) {
    struct Case {
        bool concentrated;
    };
    for (const Case c : {Case{false}, Case{true}}) {
        Project p;
        components::testing::FakeEditor editor;
        components::TGridTable& table = c.concentrated ? p.data.Tables().BoundCond() : p.data.Tables().SoilStrength();
        p.data.Tables().PlainSpace().EditorLauncher = [&](components::TGridTable& t, bool) {
            t.SetEditorForm(&editor);
        };
        std::unique_ptr<TOptionTableDialog> dialog;
        QCheckBox* check;
        QPushButton* button;
        if (c.concentrated) {
            p.data.UseConcentratedLoads = true;
            auto* d = new TDlgConLoads(p.data);
            check = d->Form().ChkConLoads;
            button = d->Form().btnConLoads;
            dialog.reset(d);
        } else {
            p.data.UseSprings = true;
            auto* d = new TDlgSpring(p.data);
            check = d->Form().ChkSpring;
            button = d->Form().btnSpring;
            dialog.reset(d);
        }
        dialog->FormActivate();
        ASSERT_TRUE(check->isChecked());
        ASSERT_TRUE(button->isEnabled());
        button->click();
        ASSERT_EQ(table.EditorForm(), &editor);
        check->click();
        EXPECT_EQ(editor.released, 1);
        EXPECT_FALSE(button->isEnabled());
        EXPECT_TRUE(p.hooks.modified);
        // Stored at once: a reload of the open dialogs, which marking the project modified brings, keeps it.
        dialog->FormActivate();
        EXPECT_FALSE(check->isChecked());
        dialog->FormDeactivate();
        EXPECT_FALSE(c.concentrated ? p.data.UseConcentratedLoads : p.data.UseSprings);
        // Checking it again does not reopen the editor.
        check->click();
        EXPECT_EQ(table.EditorForm(), nullptr);
        dialog->FormDeactivate();
        EXPECT_TRUE(c.concentrated ? p.data.UseConcentratedLoads : p.data.UseSprings);
    }
}

TEST(InputDialogs, ProjectTitleMarksTheProjectModifiedOnlyWhenChanged) {
    Project p;
    p.data.Title = std::string(90, 'x');
    TdlgTitle title(p.data);
    title.FormActivate();
    // A longer title from a file is shown whole.
    EXPECT_EQ(title.Form().TitleMemo->text().size(), 90);
    title.FormDeactivate();
    EXPECT_FALSE(p.hooks.modified);
    EXPECT_EQ(p.data.Title, std::string(90, 'x'));
    p.data.Title = "Old";
    title.FormActivate();
    title.Form().TitleMemo->setMaxLength(80);
    title.Form().TitleMemo->setText("Quay wall, stage 2");
    title.FormDeactivate();
    EXPECT_TRUE(p.hooks.modified);
    EXPECT_EQ(p.data.Title, "Quay wall, stage 2");
}

TEST(InputDialogs, ControlOptionsBrowseForTheEditor) {
    platform::RecordingFileDialogs files;
    files.answers = {"/usr/bin/kate", ""};
    Project p;
    QString editor = "xdg-open";
    TDlgOptions options(
        p.data, [&] { return editor; }, [&](const QString& e) { editor = e; });
    options.FormActivate();
    EXPECT_EQ(options.Form().EdtWord->text(), "xdg-open");
    options.BtnBrowseClick();
    options.BtnBrowseClick();  // cancelled: the choice stays
    ASSERT_EQ(files.requests.size(), 2u);
    EXPECT_EQ(files.requests[0].fileName, "xdg-open");
    EXPECT_EQ(files.requests[0].filter, TDlgOptions::kBrowserFilter);
#ifndef Q_OS_WIN
    EXPECT_TRUE(files.requests[0].filter.contains(platform::kExecutableFiles));  // programs have no extension
#endif
    options.FormDeactivate();
    EXPECT_EQ(editor, "/usr/bin/kate");
    EXPECT_FALSE(p.hooks.modified);
}

}  // namespace
}  // namespace velmor::windows
