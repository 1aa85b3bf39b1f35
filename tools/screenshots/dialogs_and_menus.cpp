#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QToolBar>
#include <utility>

#include "platform/message_service.h"
#include "platform/settings_service.h"
#include "screenshots/shots.h"
#include "windows/about_box.h"
#include "windows/input_dialogs.h"
#include "windows/main_commands.h"
#include "windows/main_form.h"

namespace velmor::windows {
namespace {

// Pictures of the dialogs for a person to look at.
QString screenshotPath(const QString& Name) {
    return shots::Path(Name + ".png");
}

void shoot(QWidget& Window, const QString& Name) {
    Window.show();
    Window.adjustSize();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window));
    if (auto* dialog = qobject_cast<TInputDialog*>(&Window)) dialog->FormActivate();
    EXPECT_TRUE(Window.grab().save(screenshotPath(Name)));
}

// The dialog `Dialog` opened on `data`.
template <class Dialog>
void shootOn(project::TProgramData& data, const QString& name) {
    Dialog dialog(data);
    shoot(dialog, name);
}

TEST(DialogScreenshots, EachDialogInEnglishAndSIUnits) {
    for (int units : {1, 2}) {
        project::TProgramData data;
        data.Units = units;
        data.NumIncrements = 100;
        data.IncrementLength = units == 1 ? 3 : 0.1L;
        data.FreeHeight = units == 1 ? 240 : 6;
        data.Wa = units == 1 ? 36 : 0.9L;
        data.Wp = units == 1 ? 18 : 0.45L;
        data.WaterTableBackfill = units == 1 ? 120 : 3;
        data.SurchargeAtTop = units == 1 ? 1.5L : 10;
        data.MaxDeflection = units == 1 ? 100 : 2.5L;
        data.BackfillSlope = 10;
        const QString suffix = units == 1 ? "_english" : "_si";
        TDlgOptions options(
            data, [] { return QString("xdg-open"); }, [](const QString&) {});
        shoot(options, "dialog_control_options" + suffix);
        const std::pair<void (*)(project::TProgramData&, const QString&), const char*> dialogs[] = {
            {shootOn<TDlgProp>, "dialog_wall_properties"},       {shootOn<TdlgCSD>, "dialog_wall_configuration"},
            {shootOn<TDlgRebar>, "dialog_additional_surcharge"}, {shootOn<TDlgSpring>, "dialog_springs"},
            {shootOn<TDlgConLoads>, "dialog_concentrated_loads"}, {shootOn<TdlgTitle>, "dialog_project_title"},
        };
        for (const auto& [take, name] : dialogs) take(data, name + suffix);
    }
}

TEST(DialogScreenshots, AboutBox) {
    TAboutBox box;
    box.Addresses = [] { return QList<QHostAddress>{QHostAddress("192.168.1.20")}; };
    shoot(box, "about_box");
}

// The main window with each menu opened in turn and its tool bar, for a person to look at.
TEST(MenuScreenshots, EachMenuAndTheToolBar) {
    platform::RecordingMessages messages;
    platform::MemorySettings settings;
    TMainForm form;
    auto* commands = new TMainCommands(form);
    form.FormShow({});
    project::TProgramData& d = form.Project().Data();
    d.StageCount = 3;
    d.CurrentStage = 2;
    d.EarthPressureMethod = 2;
    d.UseConcentratedLoads = d.UseSprings = true;
    form.UpdateStageButtons();
    form.resize(1000, 700);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    // The stage menu shows with more than one stage.
    form.StageMenu()->menuAction()->setVisible(true);

    EXPECT_TRUE(form.findChild<QToolBar*>("ToolBar")->grab().save(screenshotPath("main_toolbar")));
    commands->Item("DataCSD")->trigger();
    commands->Item("DataTitle")->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(form.grab().save(screenshotPath("main_window_dialogs")));
    for (const char* name : {"DataMenu", "OptionsMenu", "StageMenu", "ComputationMenu", "GraphicsMenu", "WindowMenu",
                             "HelpMenu", "OptionsUnitsPopup", "OptionsKoutptPopup"}) {
        QMenu* menu = commands->Menu(name);
        ASSERT_NE(menu, nullptr) << name;
        menu->popup(form.mapToGlobal(QPoint(20, 40)));
        QApplication::processEvents();
        EXPECT_TRUE(menu->grab().save(screenshotPath("menu_" + QString(name))));
        menu->hide();
    }
}

}  // namespace
}  // namespace velmor::windows
