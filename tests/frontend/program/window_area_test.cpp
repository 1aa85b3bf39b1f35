// The main window's area of child windows after a real run: every child opens inside the visible area and
// stays reachable after Cascade and Arrange Icons, a cascaded graph keeps its legend in the plot corner;
// the side view follows the project as it changes.
#include <QImage>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>

#include "graphs/widgets/plot_form.h"
#include "graphs/widgets/plot_legend.h"
#include "program_fixture.h"

namespace velmor::windows {
namespace {

class WindowAreaTest : public ProgramTest {
  protected:
    void trigger(const char* menu, const char* item) {
        menuCommand(menu, item);
        settle();
    }
    // Lets the windows finish sizing themselves (the table editors snap to whole rows after a pause).
    static void settle() {
        QApplication::processEvents();
        QTest::qWait(300);
        QApplication::processEvents();
    }
    QRect visible() const { return form->MdiArea()->viewport()->rect(); }
};

TEST_F(WindowAreaTest, EveryChildOpensInsideAndStaysReachableAfterCascadeAndArrangeIcons) {
    openExample("cantilever-sand-english.vm4d");
    data().UseRestraints = data().UsePYModification = true;
    run();
    form->resize(900, 480);  // lower than several windows would like to be
    settle();
    const QImage icon = TWindowArea::ProgramIcon().pixmap(16).toImage();
    // The deflection graph opens maximized; a fixed-size dialog follows it; then table editors.
    const std::pair<const char*, const char*> windows[] = {
        {"GraphicsMenu", "CompDef"}, {"DataMenu", "DataCSD"},  {"DataMenu", "DataSoilLayer"},
        {"DataMenu", "DataAxLoads"}, {"DataMenu", "DataProp"}, {"ComputationMenu", "CompLayers"},
        {"DataMenu", "DataPYMod"},
    };
    for (const auto& [menu, item] : windows) {
        SCOPED_TRACE(item);
        trigger(menu, item);
        QMdiSubWindow* child = form->MdiArea()->activeSubWindow();
        ASSERT_NE(child, nullptr);
        EXPECT_EQ(child->windowIcon().pixmap(16).toImage(), icon);
        const std::string name = item;
        EXPECT_EQ(child->isMaximized(), name == "CompDef");
        if (child->isMaximized()) continue;
        const bool fixedSize = name == "DataCSD" || name == "DataProp";
        EXPECT_TRUE(!fixedSize || child->size() == child->minimumSize());  // at its own size
        // Inside the visible area; along a side where a fixed-size dialog is larger than the area, from the
        // area's edge, where the scroll bar reaches the rest.
        const QRect f = child->geometry(), v = visible();
        EXPECT_TRUE(f.width() <= v.width() ? f.left() >= 0 && f.right() <= v.right() : f.left() == 0);
        EXPECT_TRUE(f.height() <= v.height() ? f.top() >= 0 && f.bottom() <= v.bottom() : f.top() == 0);
    }

    // A child moved partly outside is reached through the scroll bars.
    form->MdiArea()->activeSubWindow()->move(visible().width() - 40, visible().height() - 30);
    QApplication::processEvents();
    EXPECT_GT(form->MdiArea()->horizontalScrollBar()->maximum(), 0);
    EXPECT_GT(form->MdiArea()->verticalScrollBar()->maximum(), 0);

    trigger("WindowMenu", "WindowCascade");
    const QList<QMdiSubWindow*> children = form->MdiArea()->subWindowList();
    ASSERT_EQ(children.size(), 7);
    for (QMdiSubWindow* child : children) {
        SCOPED_TRACE(child->windowTitle().toStdString());
        // The whole title bar lies inside; a window that can shrink lies inside whole.
        EXPECT_FALSE(child->isMaximized());
        EXPECT_TRUE(child->x() >= 0 && child->y() >= 0);
        EXPECT_LE(child->y() + child->contentsMargins().top(), visible().height());
        EXPECT_TRUE(child->minimumSize() == child->maximumSize() || visible().contains(child->geometry()));
    }

    // The graph window opened maximized; cascaded (through small sizes on the way), and restored by its own
    // button, it still shows a graph, with the legend kept in the plot frame's bottom-right corner instead of
    // pushed over the axis labels at the top left.
    QMdiSubWindow* graph = children.front();
    ASSERT_EQ(graph->windowTitle(), "Deflection vs Depth");
    auto* plot = qobject_cast<components::TPlotForm*>(graph->widget());
    ASSERT_NE(plot, nullptr);
    const auto showsAGraph = [&] {
        EXPECT_TRUE(graph->width() >= visible().width() / 2 && graph->height() >= visible().height() / 2 &&
                    visible().contains(graph->geometry()))
            << graph->width() << " x " << graph->height();
        const QRect legend = plot->Legend()->geometry();
        const components::TPixelRect& frame = plot->Layout().Plot;
        EXPECT_TRUE(legend.right() + 1 == frame.Right && legend.bottom() + 1 == frame.Bottom)
            << "legend ends at " << legend.right() + 1 << ", " << legend.bottom() + 1;
    };
    showsAGraph();
    graph->showMaximized();
    graph->resize(60, 30);  // the size a window had before it first opened maximized
    graph->showMaximized();
    settle();
    graph->showNormal();
    settle();
    showsAGraph();

    for (QMdiSubWindow* child : children) child->showMinimized();
    trigger("WindowMenu", "WindowArrange");
    for (QMdiSubWindow* child : children)
        EXPECT_TRUE(visible().contains(child->geometry())) << child->windowTitle().toStdString();
}

// The title names the open project after every command that replaces or renames it, also when two graph
// windows were open maximized (each puts back the title it found when it was maximized); while a graph
// window is maximized the title names the project and the graph.
TEST_F(WindowAreaTest, TitleNamesTheOpenProjectWhateverWindowsWereOpen) {
    const QString other = QString::fromStdString(copyExample("anchored-soft-clay.vm4d", "other.vm4d"));
    const struct {
        const char* shown;
        std::function<void()> command;
    } cases[] = {
        {"Other.vm4d",
         [&] {
             dialogs.openAnswers.push_back({other, 1});
             trigger("FileMenu", "FileOpen");
         }},
        {"Renamed.vm4d",
         [&] {
             dialogs.saveAnswers.push_back(QString::fromStdString(dir.file("renamed.vm4d")));
             trigger("FileMenu", "FileSaveAs");
         }},
        {"NewWall.vm4d", [&] { form->SpeedButton(TMainForm::kNewButton)->click(); }},
        {"Other.vm4d", [&] { form->DropFiles({other}); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shown);
        openExample("cantilever-sand-si.vm4d");
        run();
        trigger("GraphicsMenu", "CompShear");
        trigger("GraphicsMenu", "CompSoil");
        EXPECT_EQ(form->windowTitle().toStdString(), "VELMOR 2013.4.14 - Cantilever-sand-si.vm4d - [Soil Reaction vs Depth]");
        c.command();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        settle();
        EXPECT_EQ(form->windowTitle().toStdString(), std::string("VELMOR 2013.4.14 - ") + c.shown);
    }
}

TEST_F(WindowAreaTest, SideViewFollowsTheStageSwitchesAndTheProject) {
    openExample("three-stages.vm4d");
    trigger("ComputationMenu", "CompLayers");
    TDlgSideView* view = stageCommands->SideView();
    ASSERT_NE(view, nullptr);
    const QRect frame = view->parentWidget()->geometry();
    // The picture of a side view opened afresh on the project as it is now, in the same frame. Chosen again
    // at once after its window was closed, the command opens a new window rather than bringing forward the
    // one being freed.
    const auto fresh = [&] {
        view->parentWidget()->close();
        trigger("ComputationMenu", "CompLayers");
        view = stageCommands->SideView();
        if (view == nullptr) return QImage();
        view->parentWidget()->setGeometry(frame);
        settle();
        return view->grab().toImage();
    };
    // Stage 3 by its tool button, stage 2 by the menu, View Wall Geometry again after an edit.
    const std::function<void()> changes[] = {
        [&] { form->SpeedButton(TMainForm::kStage3Button)->click(); },
        [&] { trigger("StageMenu", "Stage2Menu"); },
        [&] {
            data().FreeHeight = data().FreeHeight * 0.5L;
            trigger("ComputationMenu", "CompLayers");
        },
    };
    QImage before = view->grab().toImage();
    for (const auto& change : changes) {
        change();
        settle();
        const QImage followed = view->grab().toImage();
        EXPECT_NE(followed, before);
        EXPECT_EQ(followed, fresh());
        ASSERT_NE(view, nullptr);
        before = followed;
    }
}

}  // namespace
}  // namespace velmor::windows
