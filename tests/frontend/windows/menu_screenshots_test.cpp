#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QToolBar>

#include "platform/message_service.h"
#include "platform/settings_service.h"
#include "windows/main_commands.h"
#include "windows/main_form.h"

namespace velmor::windows {
namespace {

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

    const QString dir = QCoreApplication::applicationDirPath() + "/../screenshots";
    QDir().mkpath(dir);
    EXPECT_TRUE(form.findChild<QToolBar*>("ToolBar")->grab().save(dir + "/main_toolbar.png"));
    commands->Item("DataCSD")->trigger();
    commands->Item("DataTitle")->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(form.grab().save(dir + "/main_window_dialogs.png"));
    for (const char* name : {"DataMenu", "OptionsMenu", "StageMenu", "ComputationMenu", "GraphicsMenu", "WindowMenu",
                             "HelpMenu", "OptionsUnitsPopup", "OptionsKoutptPopup"}) {
        QMenu* menu = commands->Menu(name);
        ASSERT_NE(menu, nullptr) << name;
        menu->popup(form.mapToGlobal(QPoint(20, 40)));
        QApplication::processEvents();
        EXPECT_TRUE(menu->grab().save(dir + "/menu_" + QString(name) + ".png"));
        menu->hide();
    }
}

}  // namespace
}  // namespace velmor::windows
