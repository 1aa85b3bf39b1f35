// The graph windows inside the main window's window area after a real run: every Plot command and dialog
// shows its effect at once (the window's picture equals that of a window freshly opened in the same state),
// Show brings a minimized or hidden window back, and printing reaches a PDF file on a machine without a
// printer, with the paper and orientation chosen in Page Setup.
#include <QComboBox>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPageSetupDialog>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>
#include <QToolButton>
#include <functional>

#include "../../components/graphs/widgets/modal_dialog.h"
#include "graphs/widgets/frm_active_lines.h"
#include "graphs/widgets/frm_graph_caption.h"
#include "graphs/widgets/frm_line_names.h"
#include "graphs/widgets/plot_form.h"
#include "graphs/widgets/plot_legend.h"
#include "platform/file_dialog_service.h"
#include "program_fixture.h"
#include "windows/stages/dlg_side_view.h"

namespace velmor::windows {
namespace {

using components::TPlotForm;

class GraphWindowTest : public ProgramTest {
  protected:
    void SetUp() override {
        openExample("three-stages.vm4d");
        run();
        messages.shown.clear();
    }
    static void settle() {
        for (int i = 0; i < 3; ++i) {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QApplication::processEvents();
        }
    }
    // Opens a graph through its Graphics menu item, as a user does.
    TPlotForm* open(const char* item) {
        emit commands->Menu("GraphicsMenu")->aboutToShow();
        commands->Item(item)->trigger();
        QApplication::processEvents();
        QMdiSubWindow* child = form->MdiArea()->activeSubWindow();
        return child != nullptr ? qobject_cast<TPlotForm*>(child->widget()) : nullptr;
    }
    // A window of `graph` opened afresh and laid out, but not yet painted.
    TPlotForm* unpainted(project::TGraphPlot& graph) {
        form->MdiArea()->closeAllSubWindows();
        settle();
        graph.Show();
        for (int i = 0; i < 3; ++i) QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        return dynamic_cast<TPlotForm*>(graph.Window());
    }
    static QImage shot(QWidget* window) {
        QApplication::processEvents();
        return window->grab().toImage();
    }
    // A Plot menu item by its caption, in the menu or one of its submenus.
    static QAction* item(TPlotForm* plot, const QString& menu, const QString& caption) {
        QList<QAction*> actions = plot->PlotMenu()->actions();
        if (!menu.isEmpty()) {
            for (QAction* a : actions)
                if (a->text() == menu && a->menu() != nullptr) actions = a->menu()->actions();
        }
        for (QAction* a : actions)
            if (a->text() == caption) return a;
        ADD_FAILURE() << "no item " << caption.toStdString();
        return nullptr;
    }
    static void drag(QWidget* client, QPoint from, QPoint to) {
        QTest::mousePress(client, Qt::LeftButton, {}, from);
        QTest::mouseMove(client, to);
        QTest::mouseRelease(client, Qt::LeftButton, {}, to);
    }
};

// Deflection graph of three stages: each command's picture equals a window freshly opened in that state.
// Commands whose effect the window keeps only for itself (zoom, active curves) are repeated on the fresh
// window before it is first painted; the others are kept by the graph and shown by any new window.
TEST_F(GraphWindowTest, EveryPlotCommandShowsAtOnceAsAFreshWindowWould) {
    project::TGraphPlot& graph = form->Graphs().pltDef;
    const auto centre = [](TPlotForm* p) {
        const components::TPixelRect& a = p->Layout().Plot;
        return QPoint((a.Left + a.Right) / 2, (a.Top + a.Bottom) / 2);
    };
    const auto zoomIn = [&](TPlotForm* p) { drag(p->ClientArea(), centre(p), centre(p) + QPoint(60, 40)); };
    struct Case {
        const char* name;
        const char* item;                      // graph opened: Graphics menu item
        std::function<void(TPlotForm*)> act;   // the command, as the user gives it
        std::function<void(TPlotForm*)> same;  // the same state on a fresh, unpainted window; none: kept
    };
    const Case cases[] = {
        {"markers never", "CompDef", [](TPlotForm* p) { item(p, "Show &Markers", "&Never")->trigger(); }, {}},
        {"line width", "CompDef", [](TPlotForm* p) { item(p, "&Line Width", "4 * Default")->trigger(); }, {}},
        {"legend hidden", "CompDef", [](TPlotForm* p) { item(p, "", "Show &Legend")->trigger(); }, {}},
        {"font size", "CompDef", [](TPlotForm* p) { item(p, "&Font Size", "2 * Default")->trigger(); }, {}},
        {"curve item", "CompDef", [](TPlotForm* p) { item(p, "", "Stage: 2")->trigger(); }, {}},
        {"legend double-click",
         "CompDef",
         [](TPlotForm* p) {
             const int row = p->Legend()->ItemHeight();
             QTest::mouseDClick(p->Legend(), Qt::LeftButton, {}, QPoint(5, 1 + 2 * row + row / 2));  // Stage: 3
         },
         {}},
        {"graph title",
         "CompDef",
         [](TPlotForm* p) {
             test::whenShown<components::TfrmGraphCaption>([](components::TfrmGraphCaption& d) {
                 d.setTitle("Wall deflection by stage", true);
                 d.accept();
             });
             item(p, "", "&Graph Title")->trigger();
         },
         {}},
        {"zoom rectangle", "CompDef", zoomIn, zoomIn},
        {"zoom out", "CompDef",
         [&](TPlotForm* p) {
             zoomIn(p);
             shot(p);
             QTest::mouseClick(p->ClientArea(), Qt::RightButton, {}, centre(p));
         },
         [&](TPlotForm* p) {
             zoomIn(p);
             QTest::mouseClick(p->ClientArea(), Qt::RightButton, {}, centre(p));
         }},
        {"deactivate all", "CompDef",
         [](TPlotForm* p) {
             test::whenShown<components::TfrmActiveLines>([](components::TfrmActiveLines& d) {
                 d.findChild<QPushButton*>("btnDeactivateAll")->click();
                 d.findChild<QPushButton*>("btnOK")->click();
             });
             item(p, "", "&Active Curves")->trigger();
         },
         [](TPlotForm* p) {
             p->Dialogs().EditActiveCurves = [](QWidget*, components::TGraphPlot& plot) {
                 for (int i = 0; i < plot.GetLineCount(); ++i) plot.GetLine(i)->Active = false;
                 return true;
             };
             item(p, "", "&Active Curves")->trigger();
         }},
        {"wall off", "DefMomShear", [](TPlotForm* p) { item(p, "", "Show &Wall Geometry")->trigger(); }, {}},
        {"soil layer off", "DefMomShear", [](TPlotForm* p) { item(p, "", "Show &Soil Layer")->trigger(); }, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TPlotForm* plot = open(c.item);
        ASSERT_NE(plot, nullptr);
        ASSERT_TRUE(form->MdiArea()->activeSubWindow()->isMaximized());
        const QImage before = shot(plot);
        c.act(plot);
        const QImage after = shot(plot);
        EXPECT_NE(after, before) << "the command changed nothing on the screen";
        components::TGraphPlot& shown = plot->Plot();
        TPlotForm* fresh = unpainted(shown);
        ASSERT_NE(fresh, nullptr);
        if (c.same) c.same(fresh);
        EXPECT_EQ(shot(fresh), after);
        form->MdiArea()->closeAllSubWindows();
        settle();
    }
    // Renaming a curve widens the legend, which stays inside the plot frame.
    TPlotForm* plot = open("CompDef");
    test::whenShown<components::TfrmLineNames>([](components::TfrmLineNames& d) {
        auto* edit = d.findChild<QLineEdit*>("edLine");
        edit->setText("Stage 1: excavation to the first strut level");
        edit->editingFinished();
        d.findChild<QPushButton*>("btnOK")->click();
    });
    item(plot, "", "&Edit Legend")->trigger();
    ASSERT_EQ(graph.GetLine(0)->Name, "Stage 1: excavation to the first strut level");
    const QRect legend = plot->Legend()->geometry();
    EXPECT_GT(legend.width(), 250);
    EXPECT_LE(legend.right(), plot->Layout().Plot.Right);
    EXPECT_LE(legend.bottom(), plot->Layout().Plot.Bottom);
    EXPECT_EQ(shot(plot), shot(unpainted(graph)));
}

TEST_F(GraphWindowTest, ShowRestoresAMinimizedOrHiddenGraphAndMakesItActive) {
    ASSERT_NE(open("CompDef"), nullptr);
    QMdiSubWindow* deflection = form->MdiArea()->activeSubWindow();
    ASSERT_NE(open("CompMom"), nullptr);
    struct Case {
        const char* name;
        std::function<void()> away;
        std::function<void()> show;
    };
    const Case cases[] = {
        {"minimized, menu", [&] { deflection->showMinimized(); }, [&] { open("CompDef"); }},
        {"minimized, tool button", [&] { deflection->showMinimized(); }, [&] { form->SpeedButton(8)->click(); }},
        {"hidden, menu", [&] { deflection->hide(); }, [&] { open("CompDef"); }},
        {"behind another, tool button", [&] { open("CompMom"); }, [&] { form->SpeedButton(8)->click(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.away();
        QApplication::processEvents();
        c.show();
        QApplication::processEvents();
        EXPECT_FALSE(deflection->isMinimized());
        EXPECT_TRUE(deflection->isVisible());
        EXPECT_EQ(form->MdiArea()->activeSubWindow(), deflection);
        EXPECT_EQ(form->MdiArea()->subWindowList().size(), 2);
    }
}

// The page size of a PDF file in points, from its single page's media box.
QSizeF pdfPage(const QString& file) {
    QFile pdf(file);
    if (!pdf.open(QIODevice::ReadOnly)) return {};
    const QString text = QString::fromLatin1(pdf.readAll());
    const QRegularExpressionMatch box =
        QRegularExpression(R"(/MediaBox\s*\[\s*0\s+0\s+([\d.]+)\s+([\d.]+)\s*\])").match(text);
    if (!box.hasMatch() || text.count(QRegularExpression("/Type\\s*/Page[^s]")) != 1) return {};
    return {box.captured(1).toDouble(), box.captured(2).toDouble()};
}

TEST_F(GraphWindowTest, WithoutAPrinterGraphAndSideViewPrintToPdfOnThePageSetUp) {
    if (!QPrinterInfo::availablePrinterNames().isEmpty()) GTEST_SKIP() << "this machine has a printer";
    platform::RecordingFileDialogs files;
    TPlotForm* plot = open("CompDef");
    QAction* print = item(plot, "", "&Print...");
    emit plot->PlotMenu()->aboutToShow();
    ASSERT_TRUE(print->isEnabled());
    ASSERT_TRUE(item(plot, "", "P&age Setup")->isEnabled());

    // Page Setup: A4, landscape; Print then uses that page.
    test::whenShown<QPageSetupDialog>([](QPageSetupDialog& d) {
        auto* size = d.findChild<QComboBox*>("pageSizeCombo");
        auto* landscape = d.findChild<QRadioButton*>("landscape");
        ASSERT_NE(size, nullptr);
        ASSERT_NE(landscape, nullptr);
        size->setCurrentIndex(size->findData(QVariant::fromValue(QPageSize::A4)));
        landscape->click();
        d.accept();
    });
    item(plot, "", "P&age Setup")->trigger();
    ASSERT_TRUE(plot->PageLayout().has_value());
    const QString graphPdf = QString::fromStdString(dir.file("deflection"));  // the suffix is added
    files.answers = {graphPdf, QString()};
    print->trigger();
    ASSERT_EQ(files.requests.size(), 1u);
    EXPECT_TRUE(files.requests[0].save);
    EXPECT_EQ(files.requests[0].filter, "PDF Files (*.pdf)|*.pdf");
    // A4 is 595 x 842 points; landscape lays it on its side. Half a point for the rounding of the writer.
    const QSizeF page = pdfPage(graphPdf + ".pdf");
    EXPECT_NEAR(page.width(), 842, 0.5);
    EXPECT_NEAR(page.height(), 595, 0.5);
    print->trigger();  // cancelled: nothing printed, no message
    EXPECT_EQ(files.requests.size(), 2u);
    EXPECT_TRUE(messages.shown.empty());

    // The side view prints on one landscape page of the default paper.
    stageCommands->OpenSideView();
    QApplication::processEvents();
    TDlgSideView* side = stageCommands->SideView();
    ASSERT_NE(side, nullptr);
    const QString sidePdf = QString::fromStdString(dir.file("side.pdf"));
    files.answers = {sidePdf};
    side->findChild<QPushButton*>("btnPrint")->click();
    EXPECT_TRUE(messages.shown.empty()) << messages.shown.front().toStdString();
    const QSizeF sidePage = pdfPage(sidePdf);
    EXPECT_GT(sidePage.width(), sidePage.height());
    EXPECT_GT(sidePage.height(), 500);
}

// Each depth graph's caption names the quantity and the unit of the numbers the engine writes for it, as
// the report's results table heads them: depth in ft or m, deflection in in or m, moment in kip-in
// (lb-in / 1000) or kN-m, shear in kips or kN, the net soil reaction per station in lbs or kN, earth pressure
// and p in lbs/in or kN/m.
TEST_F(GraphWindowTest, AxisCaptionsNameTheUnitsOfTheNumbersShown) {
    struct Case {
        const char* example;
        project::TGraphPlot project::TResultGraphs::*graph;
        const char* x;
        const char* y;
    };
    using G = project::TResultGraphs;
    const Case cases[] = {
        {"three-stages.vm4d", &G::pltSoil, "Net Soil Reaction per Station (lbs)", "Depth (ft)"},
        {"three-stages.vm4d", &G::pltDef, "Deflection (in)", "Depth (ft)"},
        {"three-stages.vm4d", &G::pltLD, "Earth Pressure (lbs/in)", "Depth (ft)"},
        {"three-stages.vm4d", &G::pltPY, "y (in)", "p (lbs/in)"},
        {"cantilever-sand-si.vm4d", &G::pltSoil, "Net Soil Reaction per Station (kN)", "Depth (m)"},
        {"cantilever-sand-si.vm4d", &G::pltDef, "Deflection (m)", "Depth (m)"},
        {"cantilever-sand-si.vm4d", &G::PltCombine, "Earth Pressure (kN/m)", "Depth (m)"},
    };
    std::string example = "three-stages.vm4d";
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.example) + " " + c.x);
        if (example != c.example) {
            example = c.example;
            openExample(example);
            run();
        }
        const project::TGraphPlot& g = form->Graphs().*c.graph;
        EXPECT_EQ(components::AxisCaption(g.XCaption, g.XUnits, g.GetUnits()), c.x);
        EXPECT_EQ(components::AxisCaption(g.YCaption, g.YUnits, g.GetUnits()), c.y);
    }
}

}  // namespace
}  // namespace velmor::windows
