#pragma once

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <functional>
#include <memory>

#include "platform/dynamic_library.h"
#include "project/plot_data_reader.h"
#include "project/recent_files.h"
#include "windows/project_document.h"
#include "windows/window_area.h"

class QAction;
class QLabel;
class QMenu;
class QToolButton;

namespace velmor::windows {

// The program's main window: the child windows (table editors, graph windows, dialogs) in a multiple-
// document area, the menus, the tool bar, the project and its result graphs, the settings and the run.
class TMainForm : public QMainWindow, public project::TMainWindowHooks {
    Q_OBJECT

  public:
    static constexpr const char* kNewFileName = "NewWall.vm4d";

    explicit TMainForm(TProjectFactory& Projects = DefaultProjectFactory(), QWidget* Parent = nullptr);
    ~TMainForm() override;

    // Called once before the window is first shown: the settings, then the project named by the first
    // command-line parameter (without the program's name) or a new one.
    void FormShow(const QStringList& Parameters);

    // File commands. Save and Save As return false when the project was not written (cancelled dialog).
    void FileNewClick();
    void FileOpenClick();
    bool FileSaveClick();
    bool FileSaveAsClick();
    void FileExitClick();
    void FileMenuClick();
    void MyFilePopupHandler(int Position);
    // Opens a project; Mode 1 from the open dialog (its filter index in `Format`), 0 dropped, recent or
    // named otherwise.
    void OpenFileName(const std::string& FileName, int Mode, int Format = 1);
    // A file dropped on the window: only the first of several is opened.
    void DropFiles(const QStringList& FileNames);

    void CompRunClick();
    // Reads the plot-data file into the graphs; false after a read error (shown when `ShowErrors`).
    bool ReadPlotFile(const std::string& FileName, bool ShowErrors);
    void UpdatePlotButtons();
    void UpdateStageButtons();
    // Makes another stage the one being edited (see stages::SwitchStage).
    void SwitchStage(int Stage);
    // What the stage tool buttons do; tests put another in place.
    std::function<void(int Stage)> StageButtonClick = [this](int Stage) { SwitchStage(Stage); };

    void UpdatePrevFile(const std::string& FileName);
    void UpdateRegistry();
    bool SaveChangesQuery();
    // Stores the entry being typed in the active child window (table editor, chart editor, input dialog)
    // as leaving it would. False when the entry was refused: its message was shown, the window keeps the
    // entry and the focus, and the command that asked must stop.
    bool CommitActiveChild();
    void CloseAllChildren() override;
    bool GetModified() const;
    void SetModified(bool Value) override;
    // What the project asks of the window.
    void ShowMessage(const std::string& Text) override;
    void SetStatusText(const std::string& Text) override;
    QString DisplayCaption() const;

    TProjectDocument& Project() { return *project_; }
    project::TResultGraphs& Graphs() { return graphs_; }
    const project::TRecentFiles& RecentFiles() const { return recentFiles_; }
    int RecentCount() const { return recentFiles_.Count(); }
    bool PlotLoaded() const { return plotLoaded_; }
    const QString& EditorPath() const { return editorPath_; }
    void SetEditorPath(const QString& Path) { editorPath_ = Path; }
    TWindowArea* MdiArea() const { return mdi_; }
    QMenu* FileMenu() const { return fileMenu_; }
    QMenu* StageMenu() const { return stageMenu_; }

    // The buttons of the tool bar by what they do; each value is the number in the button's object name
    // ("SpeedButton8" is the deflection diagram's).
    enum TSpeedButton : int {
        kNoButton = 0,  // a separator where the tool bar is listed
        kNewButton = 1,
        kOpenButton = 2,
        kSaveButton = 3,
        kRunButton = 4,
        kOutputButton = 5,
        kSoilProfileButton = 6,
        kStageOptionsButton = 7,
        kDeflectionButton = 8,
        kPressureButton = 9,
        kShearButton = 10,
        kMomentButton = 11,
        kSoilReactionButton = 12,
        kPYCurvesButton = 13,
        kStage1Button = 14,
        kStage2Button = 15,
        kStage3Button = 16,
        kStage4Button = 17,
        kStage5Button = 18,
        kDeflectionMomentShearButton = 19,
    };
    // The button of construction stage `Stage` (1 .. 5).
    static constexpr TSpeedButton StageButton(int Stage) { return TSpeedButton(kStage1Button - 1 + Stage); }
    // A button of the tool bar.
    QToolButton* SpeedButton(TSpeedButton Button) const;
    // The directory of the program, where the engine library lies and the run writes "names.dat". Tests
    // put another in place (an empty text restores the program's own).
    static QString ProgramDirectory();
    static void SetProgramDirectory(const QString& Directory);

  signals:
    // The project's data may have changed: edited, switched to another stage, read or replaced. The open
    // dialogs are reloaded from it.
    void ProjectChanged();

  protected:
    void changeEvent(QEvent* Event) override;
    void closeEvent(QCloseEvent* Event) override;
    void dragEnterEvent(QDragEnterEvent* Event) override;
    void dropEvent(QDropEvent* Event) override;

  private:
    void createMenus();
    void createToolBar();
    void setProject(std::unique_ptr<TProjectDocument> Project);
    void setCaption();
    void keepCaption();
    void updateStageStatus();
    bool saveProject();
    // Runs a command so that no exception reaches the event loop: the message is shown instead.
    void guard(const std::function<void()>& Command);
    std::string plotFileName() const;
    void showGraph(project::TGraphPlot& Graph);

    TProjectFactory& projects_;
    std::unique_ptr<TProjectDocument> project_;
    project::TResultGraphs graphs_;
    project::TRecentFiles recentFiles_;
    std::unique_ptr<platform::TDynamicLibrary> engineLibrary_;
    bool modified_ = false;
    bool plotLoaded_ = false;
    QString editorPath_;
    // The caption of the open project, and those of projects open before it, latest last.
    QString caption_;
    QStringList oldCaptions_;

    TWindowArea* mdi_ = nullptr;
    QMenu* fileMenu_ = nullptr;
    QMenu* stageMenu_ = nullptr;
    QAction* stageMenuAction_ = nullptr;
    std::array<QAction*, project::TRecentFiles::kCapacity> recentActions_{};
    QAction* recentSeparator_ = nullptr;
    // Indexed by TSpeedButton; kNoButton holds none.
    std::array<QToolButton*, kDeflectionMomentShearButton + 1> speedButtons_{};
    QLabel* status_ = nullptr;
};

}  // namespace velmor::windows
