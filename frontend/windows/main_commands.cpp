#include "windows/main_commands.h"

#include <QActionGroup>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolButton>

#include "fields/widgets/guarded.h"
#include "platform/document_service.h"
#include "platform/message_service.h"
#include "platform/text_editor_service.h"
#include "project/file_names.h"
#include "project/stage_operations.h"
#include "windows/close_menu_soon.h"
#include "windows/main_form.h"

static void initToolBarIcons() {
    Q_INIT_RESOURCE(toolbar);
}

namespace velmor::windows {

namespace {

using project::TProgramData;
using project::TProjectTables;

// The tool-bar buttons and their pictures.
const struct {
    TMainForm::TSpeedButton button;
    const char* icon;
} kButtonIcons[] = {
    {TMainForm::kNewButton, "new"},
    {TMainForm::kOpenButton, "open"},
    {TMainForm::kSaveButton, "save"},
    {TMainForm::kRunButton, "run"},
    {TMainForm::kStageOptionsButton, "stages"},
    {TMainForm::kOutputButton, "output"},
    {TMainForm::kSoilProfileButton, "profile"},
    {TMainForm::kPYCurvesButton, "py"},
    {TMainForm::kDeflectionButton, "deflection"},
    {TMainForm::kMomentButton, "moment"},
    {TMainForm::kShearButton, "shear"},
    {TMainForm::kSoilReactionButton, "reaction"},
    {TMainForm::kDeflectionMomentShearButton, "dms"},
    {TMainForm::kPressureButton, "pressure"},
    {TMainForm::kStage1Button, "stage1"},
    {TMainForm::kStage2Button, "stage2"},
    {TMainForm::kStage3Button, "stage3"},
    {TMainForm::kStage4Button, "stage4"},
    {TMainForm::kStage5Button, "stage5"},
};

}  // namespace

TMainCommands::TMainCommands(TMainForm& Form) : QObject(&Form), form_(Form) {
    initToolBarIcons();
    createDataMenu();
    createOptionsMenu();
    createStageMenu();
    createComputationMenu();
    createGraphicsMenu();
    createWindowMenu();
    createHelpMenu();
    attachToolBar();
    // New and Open replace the project; the short-term and long-term entries follow the new one.
    // (queued: the File command itself runs after the menu's own notice).
    connect(form_.FileMenu(), &QMenu::triggered, this, &TMainCommands::UpdateLongTermMenus, Qt::QueuedConnection);
    connect(&form_, &QWidget::windowTitleChanged, this, &TMainCommands::UpdateLongTermMenus, Qt::QueuedConnection);
    // Every change of the project's data (an edit stored by a dialog, another stage, the stage count, a stage
    // copied, other units, a project read) reloads the open dialogs, so that none shows a value that is no
    // longer the project's. The window's commands store what is being typed before they change anything.
    connect(&form_, &TMainForm::ProjectChanged, this, &TMainCommands::ReloadOpenDialogs);
    UpdateLongTermMenus();
}

project::TProgramData& TMainCommands::data() {
    return form_.Project().Data();
}

void TMainCommands::guard(const std::function<void()>& Command) {
    components::guarded(&form_, Command);
}

QMenu* TMainCommands::Menu(const QString& Name) const {
    return form_.menuBar()->findChild<QMenu*>(Name);
}

QAction* TMainCommands::Item(const QString& Name) const {
    return form_.menuBar()->findChild<QAction*>(Name);
}

QAction* TMainCommands::add(QMenu* Menu, const QString& Name, const QString& Caption, std::function<void()> Command) {
    QAction* item = Menu->addAction(Caption);
    item->setObjectName(Name);
    if (Command) connect(item, &QAction::triggered, this, [this, Command] { guard(Command); });
    return item;
}

template <class Dialog, class... Extra>
void TMainCommands::openDialog(QPointer<Dialog>& Slot, Extra&&... Arguments) {
    if (Slot.isNull()) {
        Slot = new Dialog(data(), std::forward<Extra>(Arguments)...);
        Slot->SetProjectSource([this]() -> project::TProgramData& { return data(); });
        ShowChildDialog(form_.MdiArea(), Slot);
        return;
    }
    if (auto* child = qobject_cast<QMdiSubWindow*>(Slot->parentWidget())) form_.MdiArea()->BringToFront(child);
}

void TMainCommands::ReloadOpenDialogs() {
    const std::array<TInputDialog*, 7> open = {dlgTitle, dlgProp, dlgCSD, dlgRebar, dlgConLoads, dlgSpring, dlgOptions};
    // A dialog holding an entry not stored yet keeps it: it is stored, or refused, when the dialog is left.
    for (TInputDialog* dialog : open)
        if (dialog != nullptr && !dialog->Edited()) dialog->FormActivate();
}

// --- Data ------------------------------------------------------------------------------------------------

void TMainCommands::createDataMenu() {
    QMenu* menu = Menu("DataMenu");
    const auto show = [this](components::TGridTable& (TProjectTables::*Table)() const) {
        return [this, Table] { (data().Tables().*Table)().Show(); };
    };
    add(menu, "DataTitle", "&Title", [this] { openDialog(dlgTitle); });
    add(menu, "DataProp", "Wall &Properties", [this] { openDialog(dlgProp); });
    add(menu, "DataCSD", "&Wall Configuration", [this] { openDialog(dlgCSD); });
    add(menu, "DataAxLoads", "&Soil Layer Data", [this] {
        if (!data().ShortAndLongTerm) data().Tables().NewSoil().Show();
    });
    QMenu* soil = menu->addMenu("&Soil Layer Data");
    soil->setObjectName("SoilLayerDataMenuPopup");
    soil->menuAction()->setObjectName("SoilLayerDataMenu");
    add(soil, "ShortTerm2", "Short-Term", [this] {
        if (data().ShortAndLongTerm) data().Tables().NewSoil().Show();
    });
    add(soil, "LongTerm2", "Long-Term", [this] {
        if (data().ShortAndLongTerm) data().Tables().LongSoil().Show();
    });
    add(menu, "DistributedActiveEarthPressureMenu", "&Distributed Active Earth Pressure",
        show(&TProjectTables::DistLoad));
    QMenu* loading = menu->addMenu("&Distributed Active Earth Pressure");
    loading->setObjectName("DataLoadingPopup");
    loading->menuAction()->setObjectName("DataLoading");
    add(loading, "ShortTerm1", "Short-Term", show(&TProjectTables::DistLoad));
    add(loading, "LongTerm1", "Long-Term", show(&TProjectTables::LongDist));
    add(menu, "DataRebar", "&Additional Surcharge Loads", [this] { openDialog(dlgRebar); });
    add(menu, "DataBoundCond", "&Concentrated Loads on the Wall", [this] { openDialog(dlgConLoads); });
    add(menu, "DataSoilLayer", "&Boundary Condition on Deflection or Slope", show(&TProjectTables::Soillayer));
    add(menu, "DataPYMod", "Modification &Factors for p-y Curves", show(&TProjectTables::PYMod));
    add(menu, "DataPYCurves", "Sets of &External p-y Curves", [this] { data().Tables().PYCurves2().Show(); });
    add(menu, "DataSoilSpring", "&Lateral Springs and Rotational Restraints", [this] { openDialog(dlgSpring); });
    add(menu, "DataEICurves", "Sets of Nonlinear Moment vs EI Curves", [this] { data().Tables().MEICurves2().Show(); });
    connect(menu, &QMenu::aboutToShow, this, [this] { guard([this] { DataMenuClick(); }); });
}

void TMainCommands::DataMenuClick() {
    if (!form_.CommitActiveChild()) {
        CloseMenuSoon(Menu("DataMenu"));
        return;
    }
    const TProgramData& d = data();
    const bool generated = d.GenerateEarthPressure != 0 || d.GeneratePYCurves != 0;
    const bool userPressure = d.EarthPressureMethod == 1;
    const bool bothTerms = d.ShortAndLongTerm && d.StageCount == 1;
    Item("DataCSD")->setEnabled(generated);
    Item("DataAxLoads")->setEnabled(generated);
    Item("SoilLayerDataMenu")->setEnabled(generated);
    Item("DistributedActiveEarthPressureMenu")->setEnabled(userPressure);
    Item("DataLoading")->setEnabled(userPressure);
    for (const char* term : {"ShortTerm1", "LongTerm1", "ShortTerm2", "LongTerm2"}) Item(term)->setVisible(bothTerms);
    Item("DataRebar")->setEnabled(d.UseSurcharges);
    Item("DataBoundCond")->setEnabled(d.UseConcentratedLoads);
    Item("DataSoilLayer")->setEnabled(d.UseRestraints);
    Item("DataPYMod")->setEnabled(d.UsePYModification);
    Item("DataPYCurves")->setEnabled(d.UseExternalPYCurves);
    Item("DataSoilSpring")->setEnabled(d.UseSprings);
    Item("DataEICurves")->setEnabled(d.UseMEICurves);
    UpdateLongTermMenus();
}

void TMainCommands::UpdateLongTermMenus() {
    const bool both = data().ShortAndLongTerm;
    Item("SoilLayerDataMenu")->setVisible(both);
    Item("DataLoading")->setVisible(both);
    Item("DataAxLoads")->setVisible(!both);
    Item("DistributedActiveEarthPressureMenu")->setVisible(!both);
    Item("OptionsStaged")->setEnabled(!both);
    form_.SpeedButton(TMainForm::kStageOptionsButton)->setEnabled(!both);
}

// --- Options ---------------------------------------------------------------------------------------------

QAction* TMainCommands::toggle(QMenu* Menu, const QString& Name, const QString& Caption, bool TProgramData::*Option,
                               std::function<components::TGridTable*(TProjectTables&)> Closes) {
    QAction* item = add(Menu, Name, Caption, [this, Option, Closes, Name] {
        TProgramData& d = data();
        d.*Option = !(d.*Option);
        Item(Name)->setChecked(d.*Option);
        // Switching an option off closes the editor of its table.
        if (!(d.*Option) && Closes) {
            if (components::TGridTable* table = Closes(d.Tables())) table->HideForm();
        }
        form_.SetModified(true);
    });
    item->setCheckable(true);
    return item;
}

void TMainCommands::radioMenu(QMenu* Menu, const QString& Name, const QString& Caption,
                              const std::vector<std::pair<const char*, const char*>>& Items,
                              const std::function<void(int Tag)>& Choose, const std::function<void()>& Opening) {
    QMenu* sub = Menu->addMenu(Caption);
    sub->setObjectName(Name + "Popup");
    sub->menuAction()->setObjectName(Name);
    auto* group = new QActionGroup(sub);
    // The items carry the tags 1, 2, 3, ... in order.
    for (int tag = 1; tag <= static_cast<int>(Items.size()); ++tag) {
        const auto& item = Items[static_cast<std::size_t>(tag - 1)];
        QAction* action = add(sub, item.first, item.second, [Choose, tag] { Choose(tag); });
        action->setCheckable(true);
        group->addAction(action);
    }
    connect(sub, &QMenu::aboutToShow, this, [this, Opening] { guard(Opening); });
}

void TMainCommands::createOptionsMenu() {
    QMenu* menu = Menu("OptionsMenu");
    radioMenu(
        menu, "OptionsUnits", "&Units",
        {{"EnglishUnits", "&English Units (lbs, in)"},
         {"SIUnits", "&SI Units (kN, m)"},
         {"FLUnits", "&Other Units (F, L)"}},
        [this](int Tag) {
            if (data().Units == Tag || !form_.CommitActiveChild()) return;
            if (data().StageCount > 1) {
                // A change that fails leaves the project as it was, and its question before it is dropped.
                const bool modified = form_.GetModified();
                try {
                    project::SetUnitsOfEveryStage(data(), Tag);
                } catch (...) {
                    form_.SetModified(modified);
                    throw;
                }
            } else {
                data().SetUnits(Tag);
            }
            form_.SetModified(true);
        },
        [this] { OptionsUnitsClick(); });
    radioMenu(
        menu, "OptionsKoutpt", "Earth-Pressure Options",
        {{"Userinput", "Earth-Pressure Specified by User"},
         {"Gentriangular", "Generate Triangular-Distribution Earth-Pressure"},
         {"Gentrape", "Generate Trapezoidal-Distribution Pressure (Anchored Walls)"}},
        [this](int Tag) {
            if (data().EarthPressureMethod != Tag) form_.SetModified(true);
            data().EarthPressureMethod = Tag;
            // A generated distribution is generated even after user-specified pressure was written (which
            // cleared the switch) and with p-y generation off.
            if (Tag > 1) data().GenerateEarthPressure = 1;
        },
        [this] { OptionsKOutptClick(); });

    add(menu, "OptionsKPYOP", "Generate &p-y Curves", [this] {
        data().GeneratePYCurves = 1 - data().GeneratePYCurves;
        form_.SetModified(true);
    })->setCheckable(true);
    toggle(menu, "OptionsConcentrate", "Apply &Concentrated Loads", &TProgramData::UseConcentratedLoads,
           [](TProjectTables& t) { return &t.BoundCond(); });
    toggle(menu, "OptionsTipRes", "Apply &Restraints on Deflection or Slope", &TProgramData::UseRestraints,
           [](TProjectTables& t) { return &t.Soillayer(); });
    toggle(menu, "OptionsPYCurves", "Apply User Specified p-y Curves (&External)", &TProgramData::UseExternalPYCurves,
           [](TProjectTables& t) {
               t.PYCurves2().HideForm();
               return nullptr;
           });
    toggle(menu, "OptionsLateralSpring", "Apply &Lateral Springs and Rotation Restraints", &TProgramData::UseSprings,
           [](TProjectTables& t) { return &t.SoilStrength(); });
    toggle(menu, "OptionsPYMod", "Apply External p-y &Modification Factors ", &TProgramData::UsePYModification,
           [](TProjectTables& t) { return &t.PYMod(); });
    toggle(menu, "OptionsSurcharge", "Apply Additional Surcharge Loads", &TProgramData::UseSurcharges,
           [](TProjectTables& t) { return &t.SurchargeTable(); });
    toggle(menu, "OptionsEICurves", "Apply Nonlinear Moment vs EI Curves", &TProgramData::UseMEICurves,
           [](TProjectTables& t) {
               t.MEICurves2().HideForm();
               return nullptr;
           });
    add(menu, "OptionsLong", "Conduct Short-Term and Long-Term &Analyses", [this] {
        data().ShortAndLongTerm = !data().ShortAndLongTerm;
        form_.SetModified(true);
        UpdateLongTermMenus();
    })->setCheckable(true);
    add(menu, "OptionsStaged", "Conduct &Staged-Construction Analysis...", [this] {
        OpenStagedOptions(true);
    })->setCheckable(true);
    add(menu, "OptionofTexeEditor1", "&Option of Text Editor...", [this] {
        openDialog(
            dlgOptions, [this] { return form_.EditorPath(); },
            [this](const QString& Path) {
                form_.SetEditorPath(Path);
                platform::setEditorPath(Path);
            });
    });
    connect(menu, &QMenu::aboutToShow, this, [this] { guard([this] { OptionsMenuClick(); }); });
}

void TMainCommands::OptionsMenuClick() {
    if (!form_.CommitActiveChild()) {
        CloseMenuSoon(Menu("OptionsMenu"));
        return;
    }
    TProgramData& d = data();
    Item("OptionsKPYOP")->setChecked(d.GeneratePYCurves == 1);
    Item("OptionsConcentrate")->setChecked(d.UseConcentratedLoads);
    Item("OptionsTipRes")->setChecked(d.UseRestraints);
    Item("OptionsPYCurves")->setChecked(d.UseExternalPYCurves);
    Item("OptionsLateralSpring")->setChecked(d.UseSprings);
    Item("OptionsPYMod")->setChecked(d.UsePYModification);
    Item("OptionsSurcharge")->setChecked(d.UseSurcharges);
    Item("OptionsEICurves")->setChecked(d.UseMEICurves);
    Item("OptionsLong")->setEnabled(d.StageCount == 1);
    Item("OptionsLong")->setChecked(d.ShortAndLongTerm);
    if (d.ShortAndLongTerm) d.EndFlag = 9;
    Item("OptionsStaged")->setEnabled(!d.ShortAndLongTerm);
    Item("OptionsStaged")->setChecked(d.StageCount > 1);
    d.UseUserEarthPressure = d.EarthPressureMethod == 1;
}

void TMainCommands::OptionsUnitsClick() {
    const int units = data().Units;
    Item("EnglishUnits")->setChecked(units == 1);
    Item("SIUnits")->setChecked(units == 2);
    Item("FLUnits")->setChecked(units == 3);
}

void TMainCommands::OptionsKOutptClick() {
    TProgramData& d = data();
    // A file saved without earth pressure gets a method here, which the next save writes: a change to save.
    if (d.EarthPressureMethod == 0) {
        d.EarthPressureMethod = 1;
        form_.SetModified(true);
    }
    // Stage files analyse generated pressure as triangular: while the project is staged the menu shows what
    // is analysed, and the project keeps its own method for when it is not.
    const bool staged = d.StageCount > 1;
    const int analysed = staged && d.EarthPressureMethod == 3 ? 2 : d.EarthPressureMethod;
    Item("Userinput")->setChecked(analysed == 1);
    Item("Gentriangular")->setChecked(analysed == 2);
    Item("Gentrape")->setChecked(analysed == 3);
    Item("Gentrape")->setEnabled(!staged);
    d.UseUserEarthPressure = d.EarthPressureMethod == 1;
}

// --- Stage Construction ----------------------------------------------------------------------------------

void TMainCommands::createStageMenu() {
    QMenu* menu = form_.StageMenu();
    for (int stage = 1; stage <= 5; ++stage) {
        add(menu, QString("Stage%1Menu").arg(stage), QString("Stage &%1").arg(stage), [this, stage] {
            SelectStage(stage);
        })->setCheckable(true);
    }
    add(menu, "SaveCurrentStage", "Update &Current Stage", [this] { SaveCurrentStage(); })->setVisible(false);
    add(menu, "CopyPreviousStage", "Copy &Previous Stage", [this] { CopyPreviousStageClick(); });
    connect(menu, &QMenu::aboutToShow, this, [this] { guard([this] { StageMenuClick(); }); });
}

void TMainCommands::StageMenuClick() {
    if (!form_.CommitActiveChild()) {
        CloseMenuSoon(form_.StageMenu());
        return;
    }
    const TProgramData& d = data();
    const bool staged = d.StageCount > 1;
    for (int stage = 1; stage <= 5; ++stage) {
        QAction* item = Item(QString("Stage%1Menu").arg(stage));
        item->setEnabled(stage == 1 ? staged : d.StageCount >= stage);
        item->setChecked(staged && d.CurrentStage == stage);
    }
    Item("SaveCurrentStage")->setEnabled(staged);
    Item("CopyPreviousStage")->setEnabled(staged && d.CurrentStage > 1);
}

void TMainCommands::CopyPreviousStageClick() {
    TProgramData& d = data();
    const int stage = d.CurrentStage;
    const QString question =
        QString("Do you want to copy all information from Stage %1 to Stage %2").arg(stage - 1).arg(stage);
    if (platform::messages().get().question(&form_, question, false) != platform::MessageService::Answer::Yes) return;
    d.CurrentStage = stage - 1;
    try {
        project::LoadCurrentStage(d);
    } catch (...) {
        // The current stage stays what it was, whatever the read did.
        d.CurrentStage = stage;
        throw;
    }
    d.CurrentStage = stage;
    project::StoreCurrentStage(d);
    // The stage changed; only joining the stage files into the project file keeps the copy.
    form_.SetModified(true);
}

// --- Computation -----------------------------------------------------------------------------------------

QString TMainCommands::resultFile(const char* Extension) const {
    return QString::fromStdString(project::ChangeFileExt(form_.Project().FileName(), Extension));
}

void TMainCommands::EditText(const QString& FileName) {
    platform::startTextEditor(&form_, form_.EditorPath(), QFileInfo(FileName).absoluteFilePath());
}

void TMainCommands::createComputationMenu() {
    QMenu* menu = Menu("ComputationMenu");
    add(menu, "CompInput", "Edit I&nput Text",
        [this] { EditText(QString::fromStdString(form_.Project().FileName())); });
    add(menu, "CompKernel", "Edit &Processor-Run Notes", [this] { EditText(resultFile(".vm4r")); });
    add(menu, "CompOutput", "Edit &Output Text", [this] { EditText(resultFile(".vm4o")); });
    add(menu, "CompLayers", "&View Wall Geometry", [this] { OpenSideView(); });
    connect(menu, &QMenu::aboutToShow, this, [this] { guard([this] { ComputationMenuClick(); }); });
}

void TMainCommands::ComputationMenuClick() {
    if (!form_.CommitActiveChild()) {
        CloseMenuSoon(Menu("ComputationMenu"));
        return;
    }
    Item("CompInput")->setEnabled(QFileInfo(QString::fromStdString(form_.Project().FileName())).isFile());
    Item("CompKernel")->setEnabled(QFileInfo(resultFile(".vm4r")).isFile());
    Item("CompOutput")->setEnabled(QFileInfo(resultFile(".vm4o")).isFile());
}

// --- Graphics --------------------------------------------------------------------------------------------

namespace {

struct GraphItem {
    const char* name;
    const char* caption;
    project::TGraphPlot project::TResultGraphs::*graph;
};

const GraphItem kGraphItems[] = {
    {"Comppy", "p-&y Curves", &project::TResultGraphs::pltPY},
    {"CompDef", "&Deflection vs Depth", &project::TResultGraphs::pltDef},
    {"CompMom", "&Moment vs Depth", &project::TResultGraphs::pltMom},
    {"CompShear", "&Shear vs Depth", &project::TResultGraphs::pltShear},
    {"CompSoil", "&Reaction vs Depth", &project::TResultGraphs::pltSoil},
    {"CompLD", "Earth &Pressure Distribution", &project::TResultGraphs::pltLD},
    {"DefMomShear", "&Deflection, Moment and Shear", &project::TResultGraphs::pltDMS},
    {"CompCombine", "Earth Pressure Combined", &project::TResultGraphs::PltCombine},
};

}  // namespace

void TMainCommands::createGraphicsMenu() {
    QMenu* menu = Menu("GraphicsMenu");
    for (const GraphItem& g : kGraphItems) {
        const auto graph = g.graph;
        add(menu, g.name, g.caption, [this, graph] { (form_.Graphs().*graph).Show(); });
    }
    connect(menu, &QMenu::aboutToShow, this, [this] { guard([this] { GraphicsMenuClick(); }); });
}

void TMainCommands::GraphicsMenuClick() {
    const bool results = form_.PlotLoaded() && QFileInfo(resultFile(".vm4p")).isFile();
    for (const GraphItem& g : kGraphItems) {
        const project::TGraphPlot& graph = form_.Graphs().*g.graph;
        const bool drawn = graph.GetLineCount() > 0 && graph.GetPointCount() > 1;
        const QString name = g.name;
        Item(name)->setEnabled(results && (name == "CompCombine" || name == "DefMomShear" || drawn));
    }
    Item("DefMomShear")
        ->setEnabled(Item("CompDef")->isEnabled() && Item("CompMom")->isEnabled() && Item("CompShear")->isEnabled());
}

// --- Window ----------------------------------------------------------------------------------------------

void TMainCommands::createWindowMenu() {
    QMenu* menu = Menu("WindowMenu");
    add(menu, "WindowCascade", "&Cascade", [this] { form_.MdiArea()->Cascade(); });
    // Minimised windows are lined up along the bottom edge of the window area.
    add(menu, "WindowArrange", "&Arrange Icons", [this] { form_.MdiArea()->ArrangeIcons(); });
    windowSeparator_ = menu->addSeparator();
    for (int i = 0; i < kWindowListSize; ++i) {
        windowItems_[i] = add(menu, QString("WindowItem%1").arg(i), QString(), [this, i] { MyPopupHandler(i); });
        windowItems_[i]->setCheckable(true);
        windowItems_[i]->setVisible(false);
    }
    connect(menu, &QMenu::aboutToShow, this, [this] { guard([this] { ArrangeMenuClick(); }); });
}

void TMainCommands::ArrangeMenuClick() {
    if (!form_.CommitActiveChild()) {
        CloseMenuSoon(Menu("WindowMenu"));
        return;
    }
    const QList<QMdiSubWindow*> children = form_.MdiArea()->subWindowList();
    QMdiSubWindow* active = form_.MdiArea()->activeSubWindow();
    for (int i = 0; i < kWindowListSize; ++i) {
        QAction* item = windowItems_[i];
        if (i < children.size()) {
            QMdiSubWindow* child = children[i];
            windowChildren_[i] = child;
            QString caption = child->windowTitle();
            item->setText(caption.replace("&", "&&"));
            item->setChecked(child == active);
            item->setVisible(true);
        } else {
            windowChildren_[i] = nullptr;
            item->setVisible(false);
        }
    }
    windowSeparator_->setVisible(!children.isEmpty());
}

void TMainCommands::MyPopupHandler(int Item) {
    // Each item stands for its window, whatever the captions: two equal captions still find their own.
    QMdiSubWindow* child = windowChildren_[static_cast<std::size_t>(Item)];
    if (child != nullptr) form_.MdiArea()->BringToFront(child);
}

// --- Help ------------------------------------------------------------------------------------------------

TAboutBox& TMainCommands::AboutBox() {
    if (about_.isNull()) about_ = new TAboutBox(&form_);
    return *about_;
}

void TMainCommands::createHelpMenu() {
    QMenu* menu = Menu("HelpMenu");
    const auto document = [](const char* Name) {
        return [Name] { platform::documents().get().open(TMainForm::ProgramDirectory() + "/" + Name); };
    };
    add(menu, "HelpContents", "&Contents", document("VELMOR_2013.chm"));
    add(menu, "HelpUsersManual", "&User's Manual", document("VELMOR 2013 Users Manual.pdf"));
    add(menu, "HelpTechnicalManual", "&Technical Manual", document("VelmorTechnicalManual.bat"));
    add(menu, "HelpAbout", "&About...", [this] { AboutBox().exec(); });
    add(menu, "HelpUpdates", "Check for &Updates", [] { platform::documents().get().open(UpdateAddress()); });
    connect(menu, &QMenu::aboutToShow, this, [this] { guard([this] { HelpMenuClick(); }); });
}

void TMainCommands::HelpMenuClick() {
    if (!form_.CommitActiveChild()) CloseMenuSoon(Menu("HelpMenu"));
}

// --- Tool bar --------------------------------------------------------------------------------------------

void TMainCommands::attachToolBar() {
    for (const auto& b : kButtonIcons) {
        QToolButton* button = form_.SpeedButton(b.button);
        if (button == nullptr) continue;
        button->setIcon(QIcon(QString(":/toolbar/%1.svg").arg(b.icon)));
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
        button->setIconSize(QSize(24, 24));
    }
    QToolButton* staged = form_.SpeedButton(TMainForm::kStageOptionsButton);
    staged->setEnabled(true);
    // Both show the project: the entry being typed is committed first, and a refused one stops them.
    connect(staged, &QToolButton::clicked, this, [this] {
        guard([this] {
            if (form_.CommitActiveChild()) OpenStagedOptions(false);
        });
    });
    QToolButton* profile = form_.SpeedButton(TMainForm::kSoilProfileButton);
    profile->setEnabled(true);
    connect(profile, &QToolButton::clicked, this, [this] {
        guard([this] {
            if (form_.CommitActiveChild()) OpenSideView();
        });
    });
    for (TMainForm::TSpeedButton newOrOpen : {TMainForm::kNewButton, TMainForm::kOpenButton})
        connect(form_.SpeedButton(newOrOpen), &QToolButton::clicked, this, &TMainCommands::UpdateLongTermMenus,
                Qt::QueuedConnection);
}

}  // namespace velmor::windows
