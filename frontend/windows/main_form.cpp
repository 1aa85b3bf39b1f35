#include "windows/main_form.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

#include "fields/exceptions.h"
#include "fields/widgets/guarded.h"
#include "graphs/widgets/plot_form.h"
#include "platform/message_service.h"
#include "platform/settings_service.h"
#include "platform/text_editor_service.h"
#include "project/file_names.h"
#include "tables/widgets/table_chart_form.h"
#include "tables/widgets/table_form.h"
#include "velmor/version.h"
#include "windows/close_menu_soon.h"
#include "windows/input_dialogs.h"
#include "windows/project_file_dialogs.h"
#include "windows/stages/main_form_stage_host.h"

// The help pictures of the project's tables live in this library's resources; a static library's
// resources are registered by hand.
static void initPictures() {
    Q_INIT_RESOURCE(pictures);
}

namespace velmor::windows {

namespace {

const char* const kSaveQuestion = "Do you want to save any changes?";
const char* const kEditorSetting = "Word Processor";
// Position of the first recent-file item in the File menu: after New, Open, Save, Save As and a separator.
constexpr int kFirstRecentItem = 5;

QString fromStd(const std::string& Text) {
    return QString::fromStdString(Text);
}
std::string toStd(const QString& Text) {
    return Text.toStdString();
}

bool fileExists(const std::string& Name) {
    return QFileInfo(fromStd(Name)).isFile();
}

void inform(QWidget* Parent, const QString& Text) {
    platform::messages().get().information(Parent, Text);
}

}  // namespace

TMainForm::TMainForm(TProjectFactory& Projects, QWidget* Parent) : QMainWindow(Parent), projects_(Projects) {
    initPictures();
    setAcceptDrops(true);
    setWindowIcon(TWindowArea::ProgramIcon());
    mdi_ = new TWindowArea(this);
    mdi_->setObjectName("MdiArea");
    setCentralWidget(mdi_);
    status_ = new QLabel(this);
    statusBar()->addWidget(status_, 1);

    // The text editor: the stored choice, or the desktop's opener.
    try {
        editorPath_ = platform::settings().get().value(kEditorSetting);
    } catch (...) {
        // Settings that cannot be read leave the default in force.
    }
    if (editorPath_.isEmpty()) editorPath_ = platform::defaultEditorPath();
    platform::setEditorPath(editorPath_);
    createMenus();
    createToolBar();
    // Graph windows are child windows of the window area, titled with their graph's caption.
    for (project::TGraphPlot* graph : graphs_.All()) {
        graph->SetWindowFactory([this](project::TGraphPlot& plot) -> components::TGraphWindow* {
            auto* form = new components::TPlotForm(plot);
            form->setWindowTitle(fromStd(plot.Caption));
            QMdiSubWindow* child = mdi_->addSubWindow(form);
            child->setAttribute(Qt::WA_DeleteOnClose);
            // A form that closes itself takes its frame with it.
            connect(form, &QObject::destroyed, child, [child] { child->close(); });
            // A graph window opens maximized.
            child->showMaximized();
            return form;
        });
    }
    recentFiles_.Clear();
    setProject(projects_.NewProject(*this));
    setCaption();
}

TMainForm::~TMainForm() {
    // The graph windows are children of the window area; they go before the graphs that own their data.
    mdi_->closeAllSubWindows();
    for (QMdiSubWindow* child : mdi_->subWindowList()) delete child;
}

void TMainForm::createMenus() {
    fileMenu_ = menuBar()->addMenu("&File");
    fileMenu_->setObjectName("FileMenu");
    QAction* fileNew = fileMenu_->addAction("&New", this, [this] { guard([this] { FileNewClick(); }); });
    fileNew->setObjectName("FileNew");
    fileMenu_->addAction("&Open...", this, [this] { guard([this] { FileOpenClick(); }); })->setObjectName("FileOpen");
    fileMenu_->addAction("&Save", this, [this] { guard([this] { FileSaveClick(); }); })->setObjectName("FileSave");
    fileMenu_->addAction("Save &As...", this, [this] { guard([this] { FileSaveAsClick(); }); })
        ->setObjectName("FileSaveAs");
    fileMenu_->addSeparator();
    for (int i = 0; i < project::TRecentFiles::kCapacity; ++i) {
        recentActions_[i] = fileMenu_->addAction(QString());
        recentActions_[i]->setVisible(false);
        connect(recentActions_[i], &QAction::triggered, this,
                [this, i] { guard([this, i] { MyFilePopupHandler(kFirstRecentItem + i); }); });
    }
    recentSeparator_ = fileMenu_->addSeparator();
    recentSeparator_->setVisible(false);
    fileMenu_->addAction("E&xit", this, [this] { FileExitClick(); })->setObjectName("FileExit");
    connect(fileMenu_, &QMenu::aboutToShow, this, [this] { guard([this] { FileMenuClick(); }); });

    // The other menus are filled by their commands; the run lives in Computation.
    menuBar()->addMenu("Da&ta")->setObjectName("DataMenu");
    menuBar()->addMenu("&Options")->setObjectName("OptionsMenu");
    stageMenu_ = menuBar()->addMenu("&Stage Construction");
    stageMenu_->setObjectName("StageMenu");
    stageMenuAction_ = stageMenu_->menuAction();
    stageMenuAction_->setVisible(false);
    QMenu* computation = menuBar()->addMenu("&Computation");
    computation->setObjectName("ComputationMenu");
    computation->addAction("&Run Analysis", this, [this] { guard([this] { CompRunClick(); }); })
        ->setObjectName("CompRun");
    menuBar()->addMenu("&Graphics")->setObjectName("GraphicsMenu");
    menuBar()->addMenu("&Window")->setObjectName("WindowMenu");
    menuBar()->addMenu("&Help")->setObjectName("HelpMenu");
}

void TMainForm::createToolBar() {
    QToolBar* bar = addToolBar("Tools");
    bar->setObjectName("ToolBar");
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    struct Button {
        TSpeedButton number;
        const char* hint;
        const char* text;
        QStyle::StandardPixmap icon;
        std::function<void()> command;
        bool enabled;
    };
    QStyle* style = this->style();
    const auto graph = [this](project::TGraphPlot& g) { return [this, &g] { showGraph(g); }; };
    const Button buttons[] = {
        {kNewButton, "New Data File", "New", QStyle::SP_FileIcon, [this] { FileNewClick(); }, true},
        {kOpenButton, "Open Data File", "Open", QStyle::SP_DialogOpenButton, [this] { FileOpenClick(); }, true},
        {kSaveButton, "Save Data File", "Save", QStyle::SP_DialogSaveButton, [this] { FileSaveClick(); }, true},
        {kNoButton, nullptr, nullptr, QStyle::SP_CustomBase, nullptr, false},
        {kRunButton, "Run Analysis", "Run", QStyle::SP_MediaPlay, [this] { CompRunClick(); }, true},
        {kStageOptionsButton, "Stage Construction Option", "Stages", QStyle::SP_FileDialogListView, nullptr, false},
        {kOutputButton, "View Output File", "Output", QStyle::SP_FileDialogContentsView,
         [this] {
             const QString report = fromStd(project::ChangeFileExt(project_->FileName(), ".vm4o"));
             platform::startTextEditor(this, editorPath_, report);
         },
         false},
        {kNoButton, nullptr, nullptr, QStyle::SP_CustomBase, nullptr, false},
        {kSoilProfileButton, "View Soil Profile", "Profile", QStyle::SP_FileDialogDetailedView, nullptr, false},
        {kPYCurvesButton, "View p-y Curves", "p-y", QStyle::SP_CustomBase, graph(graphs_.pltPY), false},
        {kDeflectionButton, "Deflection Diagram", "Defl.", QStyle::SP_CustomBase, graph(graphs_.pltDef), false},
        {kMomentButton, "Moment Diagram", "Moment", QStyle::SP_CustomBase, graph(graphs_.pltMom), false},
        {kShearButton, "LShear Diagram", "Shear", QStyle::SP_CustomBase, graph(graphs_.pltShear), false},
        {kSoilReactionButton, "Soil-Reaction Diagram", "Reaction", QStyle::SP_CustomBase, graph(graphs_.pltSoil),
         false},
        {kDeflectionMomentShearButton, "Soil-Reaction Diagram", "D-M-S", QStyle::SP_CustomBase, graph(graphs_.pltDMS),
         false},
        {kPressureButton, "Pressure Diagram", "Pressure", QStyle::SP_CustomBase, graph(graphs_.pltLD), false},
        {kNoButton, nullptr, nullptr, QStyle::SP_CustomBase, nullptr, false},
    };
    for (const Button& b : buttons) {
        if (b.number == kNoButton) {
            bar->addSeparator();
            continue;
        }
        auto* button = new QToolButton(bar);
        button->setObjectName(QString("SpeedButton%1").arg(b.number));
        button->setToolTip(b.hint);
        button->setText(b.text);
        if (b.icon != QStyle::SP_CustomBase) button->setIcon(style->standardIcon(b.icon));
        button->setToolButtonStyle(b.icon != QStyle::SP_CustomBase ? Qt::ToolButtonTextUnderIcon
                                                                   : Qt::ToolButtonTextOnly);
        button->setEnabled(b.enabled);
        if (b.command) {
            const std::function<void()> command = b.command;
            connect(button, &QToolButton::clicked, this, [this, command] { guard(command); });
        }
        bar->addWidget(button);
        speedButtons_[static_cast<std::size_t>(b.number)] = button;
    }
    for (int stage = 1; stage <= 5; ++stage) {
        auto* button = new QToolButton(bar);
        button->setObjectName(QString("SpeedButton%1").arg(StageButton(stage)));
        button->setToolTip(QString("Stage Const. %1").arg(stage));
        button->setText(QString::number(stage));
        button->setCheckable(true);
        button->setAutoExclusive(true);
        // Each button sits in a tool-bar action, which is what hides and shows it.
        QAction* holder = bar->addWidget(button);
        holder->setVisible(false);
        speedButtons_[static_cast<std::size_t>(StageButton(stage))] = button;
        connect(button, &QToolButton::clicked, this,
                [this, stage] { guard([this, stage] { StageButtonClick(stage); }); });
        button->setProperty("holder", QVariant::fromValue(static_cast<QObject*>(holder)));
    }
}

QToolButton* TMainForm::SpeedButton(TSpeedButton Button) const {
    const auto index = static_cast<std::size_t>(Button);
    return index < speedButtons_.size() ? speedButtons_[index] : nullptr;
}

namespace {
QString& programDirectoryOverride() {
    static QString directory;
    return directory;
}
}  // namespace

QString TMainForm::ProgramDirectory() {
    return programDirectoryOverride().isEmpty() ? QCoreApplication::applicationDirPath() : programDirectoryOverride();
}

void TMainForm::SetProgramDirectory(const QString& Directory) {
    programDirectoryOverride() = Directory;
}

void TMainForm::guard(const std::function<void()>& Command) {
    components::guarded(this, Command);
}

void TMainForm::FormShow(const QStringList& Parameters) {
    try {
        platform::SettingsService& store = platform::settings().get();
        if (store.groupExists()) {
            const QString editor = store.value(kEditorSetting);
            if (!editor.isEmpty()) editorPath_ = editor;
            for (int i = 0; i < project::TRecentFiles::kCapacity; ++i)
                recentFiles_.SetEntry(i, toStd(store.value(QString("File%1").arg(i + 1))));
        }
    } catch (...) {
        // Unreadable settings: no recent files, and the default editor rather than none.
        editorPath_ = platform::defaultEditorPath();
        recentFiles_.Clear();
    }
    platform::setEditorPath(editorPath_);

    if (!Parameters.isEmpty()) {
        // Made absolute now: a run changes the current directory later.
        const std::string name = project::CommandLineProjectName(toStd(Parameters.first()), toStd(QDir::currentPath()));
        if (fileExists(name)) {
            guard([&] {
                const int format = project::SameExtension(project::ExtractFileExt(name), ".vmd") ? 2 : 1;
                setProject(projects_.ReadProject(name, format, *this));
                SetModified(false);
                if (fileExists(plotFileName())) plotLoaded_ = ReadPlotFile(plotFileName(), false);
                // A staged project is split into its stage files, or its first save would lose the stages.
                if (project_->StageCount() > 1) {
                    project_->SplitStageFile(name);
                    if (format == 2) project_->CycleStages();
                }
                UpdatePlotButtons();
                UpdateStageButtons();
            });
        }
    }
    setCaption();
    updateStageStatus();
}

QString TMainForm::DisplayCaption() const {
    return QString("VELMOR ") + kVersion + " - " + fromStd(project::DisplayFileName(project_->FileName()));
}

void TMainForm::setCaption() {
    const QString caption = DisplayCaption();
    if (caption != caption_) {
        if (!caption_.isEmpty()) oldCaptions_.append(caption_);
        // The captions a maximized child may still put back: the commands that change the caption close the
        // children, so the last few are plenty.
        while (oldCaptions_.size() > 10) oldCaptions_.removeFirst();
        caption_ = caption;
    }
    setWindowTitle(caption);
}

// A maximized child window shows its title after the caption ("caption - [child]"), and when it is restored
// or closed it puts back the caption it found when it was maximized: after a command that replaced or renamed
// the project, that is the caption of the previous project. The title keeps whatever follows the caption and
// always begins with the open project's.
void TMainForm::keepCaption() {
    const QString title = windowTitle();
    const auto begins = [&title](const QString& caption) {
        return title.startsWith(caption) &&
               (title.size() == caption.size() || title.mid(caption.size()).startsWith(" - ["));
    };
    if (caption_.isEmpty() || begins(caption_)) return;
    for (auto old = oldCaptions_.crbegin(); old != oldCaptions_.crend(); ++old) {
        if (begins(*old)) return setWindowTitle(caption_ + title.mid(old->size()));
    }
    setWindowTitle(caption_);
}

void TMainForm::changeEvent(QEvent* Event) {
    QMainWindow::changeEvent(Event);
    if (Event->type() == QEvent::WindowTitleChange) keepCaption();
}

void TMainForm::updateStageStatus() {
    const bool staged = project_->StageCount() > 1;
    status_->setText(staged ? QString("Construction Stage Number: %1").arg(project_->CurrentStage()) : QString());
    stageMenuAction_->setVisible(staged);
}

std::string TMainForm::plotFileName() const {
    return project::ChangeFileExt(project_->FileName(), ".vm4p");
}

bool TMainForm::GetModified() const {
    return modified_ || project_->TablesChanged();
}

void TMainForm::SetModified(bool Value) {
    modified_ = Value;
    // A project being made calls this before it is the window's project.
    if (!Value && project_) project_->ClearTablesChanged();
    emit ProjectChanged();
}

bool TMainForm::CommitActiveChild() {
    // The current child stays the one being edited while a menu or another program has the activation.
    QMdiSubWindow* child = mdi_->activeSubWindow();
    if (child == nullptr) child = mdi_->currentSubWindow();
    if (child == nullptr || child->widget() == nullptr) return true;
    QWidget* window = child->widget();
    if (auto* table = dynamic_cast<components::TTableForm*>(window)) return table->deactivate();
    if (auto* chart = dynamic_cast<components::TTableChartForm*>(window)) return chart->deactivate();
    if (auto* dialog = qobject_cast<TInputDialog*>(window)) return dialog->FormDeactivate();
    // Other windows (stage options, side view, graphs) hold no entry of their own to check.
    QEvent deactivate(QEvent::WindowDeactivate);
    QCoreApplication::sendEvent(window, &deactivate);
    return true;
}

void TMainForm::setProject(std::unique_ptr<TProjectDocument> Project) {
    project_ = std::move(Project);
    // The project's table editors open as child windows of the window area.
    components::installTableEditors(project_->Data().Tables().PlainSpace(), mdi_);
    components::installChartTableEditors(project_->Data().Tables().ChartSpace(), mdi_);
    emit ProjectChanged();
}

void TMainForm::ShowMessage(const std::string& Text) {
    inform(this, fromStd(Text));
}

void TMainForm::SetStatusText(const std::string& Text) {
    status_->setText(fromStd(Text));
}

void TMainForm::CloseAllChildren() {
    mdi_->closeAllSubWindows();
}

bool TMainForm::SaveChangesQuery() {
    if (!GetModified()) return true;
    switch (platform::messages().get().question(this, kSaveQuestion, true)) {
        case platform::MessageService::Answer::Cancel:
            return false;
        case platform::MessageService::Answer::No:
            return true;
        case platform::MessageService::Answer::Yes:
            break;
    }
    // A save that fails or is cancelled cancels what was asked for: nothing may be lost unsaved.
    bool saved = false;
    if (!components::guarded(this, [&] { saved = FileSaveClick(); }) || !saved) return false;
    return project_->FileName() != kNewFileName;
}

void TMainForm::FileNewClick() {
    if (!CommitActiveChild() || !SaveChangesQuery()) return;
    CloseAllChildren();
    setProject(projects_.NewProject(*this));
    SetModified(false);
    setCaption();
    updateStageStatus();
    UpdatePlotButtons();
    UpdateStageButtons();
}

void TMainForm::FileOpenClick() {
    if (!CommitActiveChild() || !SaveChangesQuery()) return;
    QString name;
    int filterIndex = 1;
    if (projectFileDialogs().get().open(this, name, filterIndex)) OpenFileName(toStd(name), 1, filterIndex);
}

void TMainForm::OpenFileName(const std::string& FileName, int Mode, int Format) {
    QDir::setCurrent(fromStd(project::ExtractFileDir(FileName)));
    // Filter index 4 (all files) reads the oldest layout, as index 3 does.
    const bool oldLayout = project::SameExtension(project::ExtractFileExt(FileName), ".vmd");
    const int format = Mode == 1 ? std::min(Format, 3) : (oldLayout ? 2 : 1);
    // The project is replaced only when the file was read: a failed open keeps the previous one.
    std::unique_ptr<TProjectDocument> read = projects_.ReadProject(FileName, format, *this);
    CloseAllChildren();
    setProject(std::move(read));
    SetModified(false);
    setCaption();
    if (fileExists(plotFileName())) plotLoaded_ = ReadPlotFile(plotFileName(), false);
    UpdatePrevFile(project_->FileName());
    inform(this,
           "Data file: " + fromStd(project::DisplayFileName(project_->FileName())) + ", has been read by VELMOR 2013");
    updateStageStatus();
    if (project_->StageCount() > 1) {
        project_->SplitStageFile(project_->FileName());
        if (oldLayout) project_->CycleStages();
    }
    UpdatePlotButtons();
    UpdateStageButtons();
}

bool TMainForm::FileSaveClick() {
    if (!CommitActiveChild()) return false;
    if (project_->StageCount() > 1) project_->StoreCurrentStage();
    const std::string name = project_->FileName();
    if (name == kNewFileName || project::SameExtension(project::ExtractFileExt(name), ".vmd")) return FileSaveAsClick();
    if (project_->StageCount() > 1)
        project_->JoinStageFiles(name, name);
    else
        project_->SaveToFile();
    SetModified(false);
    return true;
}

bool TMainForm::FileSaveAsClick() {
    if (!CommitActiveChild()) return false;
    // The stage being edited goes to its stage file first, or the joined file would miss its changes.
    if (project_->StageCount() > 1) project_->StoreCurrentStage();
    const std::string previous = project_->FileName();
    std::string proposed = previous;
    if (project::SameExtension(project::ExtractFileExt(previous), ".vmd"))
        proposed = project::ChangeFileExt(previous, ".vm4d");
    QString chosen = fromStd(proposed);
    const QString title = "Save " + fromStd(project::DisplayFileName(proposed)) + " As";
    if (!projectFileDialogs().get().save(this, title, chosen)) return false;

    project_->SetFileName(toStd(chosen));
    setCaption();
    try {
        if (project_->StageCount() > 1)
            project_->JoinStageFiles(toStd(chosen), previous);
        else
            project_->SaveToFile();
    } catch (...) {
        // Nothing was written under the new name: the project keeps the name of its last file.
        project_->SetFileName(previous);
        setCaption();
        throw;
    }
    SetModified(false);
    UpdatePrevFile(project_->FileName());
    CloseAllChildren();
    UpdatePlotButtons();
    return true;
}

void TMainForm::FileExitClick() {
    close();
}

void TMainForm::closeEvent(QCloseEvent* Event) {
    bool allowed = false;
    guard([&] { allowed = CommitActiveChild() && SaveChangesQuery(); });
    if (!allowed) {
        Event->ignore();
        return;
    }
    UpdateRegistry();
    CloseAllChildren();
    Event->accept();
}

void TMainForm::dragEnterEvent(QDragEnterEvent* Event) {
    if (Event->mimeData()->hasUrls()) Event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* Event) {
    QStringList names;
    for (const QUrl& url : Event->mimeData()->urls()) {
        if (url.isLocalFile()) names << url.toLocalFile();
    }
    Event->acceptProposedAction();
    DropFiles(names);
}

void TMainForm::DropFiles(const QStringList& FileNames) {
    guard([&] {
        if (FileNames.isEmpty() || !CommitActiveChild() || !SaveChangesQuery()) return;
        const std::string name = toStd(QFileInfo(FileNames.first()).absoluteFilePath());
        OpenFileName(name, 0);
    });
}

void TMainForm::FileMenuClick() {
    if (!CommitActiveChild()) {
        CloseMenuSoon(fileMenu_);
        return;
    }
    const int count = RecentCount();
    const std::string current = toStd(QDir::currentPath());
    for (int i = 0; i < project::TRecentFiles::kCapacity; ++i) {
        QAction* item = recentActions_[static_cast<std::size_t>(i)];
        if (i < count) {
            QString caption = fromStd(project::RecentFileCaption(i + 1, recentFiles_.Entry(i), current));
            item->setText(caption.replace("&", "&&"));
        }
        item->setVisible(i < count);
    }
    recentSeparator_->setVisible(count > 0);
}

void TMainForm::MyFilePopupHandler(int Position) {
    const std::string entry = recentFiles_.Entry(Position - kFirstRecentItem);
    if (CommitActiveChild() && SaveChangesQuery()) OpenFileName(entry, 0);
}

void TMainForm::UpdatePrevFile(const std::string& FileName) {
    if (recentFiles_.Update(FileName)) UpdateRegistry();
}

void TMainForm::UpdateRegistry() {
    try {
        platform::SettingsService& store = platform::settings().get();
        store.setValue(kEditorSetting, editorPath_);
        for (int i = 0; i < project::TRecentFiles::kCapacity; ++i)
            store.setValue(QString("File%1").arg(i + 1), fromStd(recentFiles_.Entry(i)));
    } catch (...) {
        // Settings that cannot be written are not reported; the program goes on as before.
    }
}

bool TMainForm::ReadPlotFile(const std::string& FileName, bool ShowErrors) {
    try {
        project::ReadPlotData(FileName, graphs_, project_->PlotProject(), project_->PlotArrays(),
                              project_->PlotPointCount());
        return true;
    } catch (const components::EInOutError&) {
        if (ShowErrors) inform(this, "An error occured in running the main program.");
        return false;
    }
}

void TMainForm::UpdatePlotButtons() {
    const bool results = plotLoaded_ && fileExists(plotFileName());
    const auto shows = [results](const project::TGraphPlot& g) {
        return results && g.GetLineCount() > 0 && g.GetPointCount() > 1;
    };
    const struct {
        TSpeedButton button;
        const project::TGraphPlot& graph;
    } graphButtons[] = {{kDeflectionButton, graphs_.pltDef}, {kMomentButton, graphs_.pltMom},
                        {kShearButton, graphs_.pltShear},    {kSoilReactionButton, graphs_.pltSoil},
                        {kPYCurvesButton, graphs_.pltPY},    {kPressureButton, graphs_.pltLD}};
    for (const auto& b : graphButtons) SpeedButton(b.button)->setEnabled(shows(b.graph));
    SpeedButton(kOutputButton)->setEnabled(fileExists(project::ChangeFileExt(project_->FileName(), ".vm4o")));
    SpeedButton(kDeflectionMomentShearButton)
        ->setEnabled(SpeedButton(kDeflectionButton)->isEnabled() && SpeedButton(kMomentButton)->isEnabled() &&
                     SpeedButton(kShearButton)->isEnabled());
}

void TMainForm::UpdateStageButtons() {
    const int stages = project_->StageCount();
    for (int k = 1; k <= 5; ++k) {
        QToolButton* button = SpeedButton(StageButton(k));
        qobject_cast<QAction*>(button->property("holder").value<QObject*>())->setVisible(stages > 1);
        button->setEnabled(k == 1 ? stages > 1 : stages >= k);
        if (k == project_->CurrentStage()) button->setChecked(true);
    }
}

void TMainForm::SwitchStage(int Stage) {
    if (!CommitActiveChild()) {
        UpdateStageButtons();
        return;
    }
    TMainFormStageHost host(*this);
    stages::SwitchStage(project_->Data(), host, Stage);
}

void TMainForm::showGraph(project::TGraphPlot& Graph) {
    Graph.Show();
}

}  // namespace velmor::windows
