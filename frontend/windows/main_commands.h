#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <array>
#include <functional>
#include <utility>
#include <vector>

#include "windows/about_box.h"
#include "windows/input_dialogs.h"

class QAction;
class QMdiSubWindow;
class QMenu;

namespace velmor::windows {

class TMainForm;

// The address that asks the maker's site whether a newer release exists: product, version and build date.
inline QString UpdateAddress() {
    return QString(kWebAddress) + "checkupdates/check/check.php?VELMOR;" + kVersion + ";" +
           ReleaseDate().toString("MM/dd/yy");
}

// The main window's menus other than File, and the commands of its tool bar: the Data, Options, Stage
// Construction, Computation, Graphics, Window and Help menus. Every enabling, checking and visibility rule
// is evaluated when its menu opens, from the project, the result files beside the input file and the
// graphs. Attached to the main window, which owns it.
class TMainCommands : public QObject {
    Q_OBJECT

  public:
    static constexpr int kWindowListSize = 50;

    explicit TMainCommands(TMainForm& Form);

    // Menu-opening handlers.
    void DataMenuClick();
    void OptionsMenuClick();
    void OptionsUnitsClick();
    void OptionsKOutptClick();
    void StageMenuClick();
    void ComputationMenuClick();
    void GraphicsMenuClick();
    void ArrangeMenuClick();
    void HelpMenuClick();
    // Shows or hides the short-term and long-term entries and the staged-construction commands.
    void UpdateLongTermMenus();

    // Commands that tests and the tool bar call directly.
    void CopyPreviousStageClick();
    void MyPopupHandler(int Item);
    // Starts the text editor on `FileName`; a failure is shown.
    void EditText(const QString& FileName);
    // Loads every open input dialog that holds no entry not yet stored from the project; runs whenever the
    // project's data change.
    void ReloadOpenDialogs();

    // A menu item by its name ("DataTitle", "OptionsLong", "Stage3Menu", "WindowItem7", ...).
    QAction* Item(const QString& Name) const;
    QMenu* Menu(const QString& Name) const;
    TAboutBox& AboutBox();

    // The staged-construction options window, stage selection and the side view are not part of this
    // window's code; until they are attached, these do nothing.
    std::function<void(bool Modal)> OpenStagedOptions = [](bool) {};
    std::function<void(int Stage)> SelectStage = [](int) {};
    // Update Current Stage, which keeps the modified state.
    std::function<void()> SaveCurrentStage = [] {};
    std::function<void()> OpenSideView = [] {};

    // The input dialogs while they are open.
    QPointer<TdlgTitle> dlgTitle;
    QPointer<TDlgProp> dlgProp;
    QPointer<TdlgCSD> dlgCSD;      // Wall Configuration
    QPointer<TDlgRebar> dlgRebar;  // Additional Surcharge
    QPointer<TDlgConLoads> dlgConLoads;
    QPointer<TDlgSpring> dlgSpring;
    QPointer<TDlgOptions> dlgOptions;

  private:
    project::TProgramData& data();
    QAction* add(QMenu* Menu, const QString& Name, const QString& Caption, std::function<void()> Command);
    QAction* toggle(QMenu* Menu, const QString& Name, const QString& Caption, bool project::TProgramData::*Option,
                    std::function<components::TGridTable*(project::TProjectTables&)> Closes);
    // A submenu of radio items; choosing item i (from 1) calls Choose(i), opening calls Opening.
    void radioMenu(QMenu* Menu, const QString& Name, const QString& Caption,
                   const std::vector<std::pair<const char*, const char*>>& Items,
                   const std::function<void(int Tag)>& Choose, const std::function<void()>& Opening);
    void guard(const std::function<void()>& Command);
    template <class Dialog, class... Extra>
    void openDialog(QPointer<Dialog>& Slot, Extra&&... Arguments);
    QString resultFile(const char* Extension) const;
    void createDataMenu();
    void createOptionsMenu();
    void createStageMenu();
    void createComputationMenu();
    void createGraphicsMenu();
    void createWindowMenu();
    void createHelpMenu();
    void attachToolBar();

    TMainForm& form_;
    QPointer<TAboutBox> about_;
    QAction* windowSeparator_ = nullptr;
    std::array<QAction*, kWindowListSize> windowItems_{};
    std::array<QPointer<QMdiSubWindow>, kWindowListSize> windowChildren_{};
};

}  // namespace velmor::windows
