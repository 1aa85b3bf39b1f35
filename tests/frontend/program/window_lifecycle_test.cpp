// Every window of the program opened through its command and closed again, a hundred times: nothing may
// stay behind. The plain build counts the live widgets and the main window's objects; the sanitizer build
// adds LeakSanitizer, which reports at exit whatever was allocated and never freed.
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>
#include <functional>

#include "graphs/widgets/plot_form.h"
#include "program_fixture.h"

namespace velmor::windows {
namespace {

class WindowLifecycleTest : public ProgramTest {
  protected:
    // Frees what closing scheduled for deletion.
    static void settle() {
        for (int i = 0; i < 3; ++i) {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QApplication::processEvents();
        }
    }
    int liveObjects() const {
        return static_cast<int>(QApplication::allWidgets().size() + form->findChildren<QObject*>().size());
    }
    // Closes the modal dialog that the next command opens, once it runs its event loop.
    void closeModalSoon() {
        QTimer::singleShot(0, [this] {
            if (QWidget* dialog = QApplication::activeModalWidget()) {
                dialog->close();
                ++modalsClosed;
            }
        });
    }
    int modalsClosed = 0;
    // Opens the deflection graph and one of its modal dialogs through the graph window's Plot menu.
    void graphDialog(const QString& caption) {
        trigger("GraphicsMenu", "CompDef");
        QMdiSubWindow* child = form->MdiArea()->activeSubWindow();
        auto* plot = child ? qobject_cast<components::TPlotForm*>(child->widget()) : nullptr;
        ASSERT_NE(plot, nullptr);
        for (QAction* action : plot->PlotMenu()->actions()) {
            if (action->text() != caption) continue;
            closeModalSoon();
            action->trigger();
            QApplication::processEvents();
            return;
        }
        FAIL() << "no item " << caption.toStdString();
    }
    void trigger(const char* menu, const char* item) {
        emit commands->Menu(menu)->aboutToShow();
        QAction* action = commands->Item(item);
        ASSERT_NE(action, nullptr) << item;
        ASSERT_TRUE(action->isEnabled()) << item;
        action->trigger();
        QApplication::processEvents();
    }
};

TEST_F(WindowLifecycleTest, EveryWindowOpenedAndClosedAHundredTimesLeavesNothingBehind) {
    openExample("three-stages.vm4d");
    data().UseSurcharges = data().UseConcentratedLoads = data().UseSprings = data().UseRestraints = true;
    data().UseExternalPYCurves = data().UseMEICurves = data().UsePYModification = true;
    run();

    struct Window {
        const char* name;
        std::function<void()> open;
    };
    const Window windows[] = {
        {"title dialog", [&] { trigger("DataMenu", "DataTitle"); }},
        {"wall properties dialog", [&] { trigger("DataMenu", "DataProp"); }},
        {"wall configuration dialog", [&] { trigger("DataMenu", "DataCSD"); }},
        {"additional surcharge dialog", [&] { trigger("DataMenu", "DataRebar"); }},
        {"concentrated loads dialog", [&] { trigger("DataMenu", "DataBoundCond"); }},
        {"springs dialog", [&] { trigger("DataMenu", "DataSoilSpring"); }},
        {"text editor dialog", [&] { trigger("OptionsMenu", "OptionofTexeEditor1"); }},
        {"soil layer table", [&] { trigger("DataMenu", "DataAxLoads"); }},
        {"sub-table of a layer", [&] { data().Tables().NewSoil().Cell(2, 0).AsTable()->Show(); }},
        {"restraints table", [&] { trigger("DataMenu", "DataSoilLayer"); }},
        {"p-y curve sets (chart table)", [&] { trigger("DataMenu", "DataPYCurves"); }},
        {"moment-EI curve sets (chart table)", [&] { trigger("DataMenu", "DataEICurves"); }},
        {"deflection graph", [&] { trigger("GraphicsMenu", "CompDef"); }},
        {"p-y graph", [&] { trigger("GraphicsMenu", "Comppy"); }},
        {"three-panel graph", [&] { trigger("GraphicsMenu", "DefMomShear"); }},
        {"combined pressure graph", [&] { trigger("GraphicsMenu", "CompCombine"); }},
        {"stage dialog", [&] { stageCommands->OpenStagedOptions(); }},
        {"side view", [&] { stageCommands->OpenSideView(); }},
        {"graph title dialog", [&] { graphDialog("&Graph Title"); }},
        {"legend names dialog", [&] { graphDialog("&Edit Legend"); }},
        {"active curves dialog", [&] { graphDialog("&Active Curves"); }},
        {"about box",
         [&] {
             closeModalSoon();
             trigger("HelpMenu", "HelpAbout");
         }},
    };
    const auto round = [&] {
        for (const Window& w : windows) {
            SCOPED_TRACE(w.name);
            const int before = static_cast<int>(form->MdiArea()->subWindowList().size());
            w.open();
            if (std::string(w.name) != "about box") {
                EXPECT_EQ(form->MdiArea()->subWindowList().size(), before + 1) << w.name;
            }
            form->MdiArea()->closeAllSubWindows();
            settle();
            EXPECT_EQ(form->MdiArea()->subWindowList().size(), 0) << w.name;
        }
    };
    round();
    EXPECT_EQ(modalsClosed, 4);  // the three graph dialogs and the About box were shown
    // The first round made what is made once (the windows list of the menu, the About box).
    const int widgets = static_cast<int>(QApplication::allWidgets().size());
    const int objects = liveObjects();
    for (int i = 1; i < 100 && !HasFailure(); ++i) round();
    EXPECT_EQ(static_cast<int>(QApplication::allWidgets().size()), widgets);
    EXPECT_EQ(liveObjects(), objects);
}

}  // namespace
}  // namespace velmor::windows
