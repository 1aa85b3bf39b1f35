// The graph windows inside the main window's window area after a real run: every Plot command and dialog
// shows its effect at once, Show brings a minimized or hidden window back, and without a printer a graph
// prints to a PDF file on the paper chosen in Page Setup.
#include <QAbstractButton>
#include <QComboBox>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPageSetupDialog>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QTest>
#include <QToolButton>
#include <functional>

#include "../../components/graphs/widgets/modal_dialog.h"
#include "graphs/widgets/plot_form.h"
#include "platform/file_dialog_service.h"
#include "program_fixture.h"
#include "windows/stages/dlg_side_view.h"

namespace velmor::windows {
namespace {

using namespace components;

class GraphWindowTest : public ProgramTest {
  protected:
    void SetUp() override {
        openExample("three-stages.vm4d");
        run();
        messages.shown.clear();
    }
    // Opens a graph through its Graphics menu item, as a user does.
    TPlotForm* open(const char* item) {
        menuCommand("GraphicsMenu", item);
        QMdiSubWindow* child = form->MdiArea()->activeSubWindow();
        return child != nullptr ? qobject_cast<TPlotForm*>(child->widget()) : nullptr;
    }
    void closeAll() {
        form->CloseAllChildren();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    static QImage shot(QWidget* window) {
        QApplication::processEvents();
        return window->grab().toImage();
    }
    // Answers the next dialog as a user does: types `text` into its field and leaves the field, then clicks
    // the `buttons` in turn.
    static void answer(const QString& text, const QStringList& buttons) {
        test::whenShown<QDialog>([=](QDialog& d) {
            if (auto* field = d.findChild<QLineEdit*>(); field != nullptr && !text.isEmpty()) {
                field->setText(text);
                emit field->editingFinished();
            }
            for (const QString& name : buttons) d.findChild<QAbstractButton*>(name)->click();
        });
    }
    // Gives a Plot menu command by its captions, "Submenu/Item" or "Item", after opening the menu.
    static void trigger(TPlotForm* plot, const QString& path) {
        emit plot->PlotMenu()->aboutToShow();
        QList<QAction*> items = plot->PlotMenu()->actions();
        for (const QString& caption : path.split('/')) {
            QAction* found = nullptr;
            for (QAction* a : items) found = a->text() == caption ? a : found;
            ASSERT_NE(found, nullptr) << path.toStdString();
            if (found->menu() == nullptr) return found->trigger();
            items = found->menu()->actions();
        }
    }
};

// Deflection graph of three stages: each command's picture equals a window freshly opened in that state.
// Commands whose effect the window keeps only for itself (zoom, active curves) are given again to the fresh
// window before it is first painted; the others are kept by the graph and shown by any new window.
TEST_F(GraphWindowTest, EveryPlotCommandShowsAtOnceAsAFreshWindowWould) {
    const auto zoomIn = [](TPlotForm* p) {
        const QPoint at = p->ClientArea()->rect().center();
        QTest::mousePress(p->ClientArea(), Qt::LeftButton, {}, at);
        QTest::mouseMove(p->ClientArea(), at + QPoint(60, 40));
        QTest::mouseRelease(p->ClientArea(), Qt::LeftButton, {}, at + QPoint(60, 40));
    };
    const auto zoomOut = [&](TPlotForm* p) {
        zoomIn(p);
        shot(p);  // the zoomed picture is drawn before the right click
        QTest::mouseClick(p->ClientArea(), Qt::RightButton, {}, p->ClientArea()->rect().center());
    };
    struct Case {
        const char* graph;    // Graphics menu item
        const char* command;  // Plot menu item, or what `act` does
        QString text = {};    // typed into the command's dialog before its `buttons` are clicked
        QStringList buttons = {};
        bool window = false;  // the window keeps the effect for itself
        std::function<void(TPlotForm*)> act = {};
    };
    const Case cases[] = {
        {"CompDef", "Show &Markers/&Never"},
        {"CompDef", "&Line Width/4 * Default"},
        {"CompDef", "Stage: 2"},
        {"CompDef", "&Graph Title", "Wall deflection by stage", {"rbTop", "btnOK"}},
        {"CompDef", "&Edit Legend", "Stage 1: excavation to the first strut level", {"btnOK"}},  // wider, kept inside
        {"CompDef", "zoom rectangle", {}, {}, true, zoomIn},
        {"CompDef", "zoom out", {}, {}, true, zoomOut},
        {"CompDef", "&Active Curves", {}, {"btnDeactivateAll", "btnOK"}, true},
        {"CompDef", "Show &Legend"},  // hidden from here on: a larger font keeps the list where it stood
        {"CompDef", "&Font Size/2 * Default"},
        {"DefMomShear", "Show &Wall Geometry"},
        {"DefMomShear", "Show &Soil Layer"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        closeAll();
        TPlotForm* plot = open(c.graph);
        ASSERT_TRUE(plot != nullptr && form->MdiArea()->activeSubWindow()->isMaximized());
        const QImage before = shot(plot);
        const auto give = [&c](TPlotForm* p) {
            if (!c.buttons.isEmpty()) answer(c.text, c.buttons);
            c.act ? c.act(p) : trigger(p, c.command);
        };
        give(plot);
        const QImage after = shot(plot);
        EXPECT_NE(after, before) << "the command changed nothing on the screen";
        // A fresh window, laid out but not yet painted.
        TGraphPlot& graph = plot->Plot();
        closeAll();
        graph.Show();
        for (int i = 0; i < 3; ++i) QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        auto* fresh = dynamic_cast<TPlotForm*>(graph.Window());
        ASSERT_NE(fresh, nullptr);
        if (c.window) give(fresh);
        EXPECT_EQ(shot(fresh), after);
    }
}

TEST_F(GraphWindowTest, ShowRestoresAMinimizedOrHiddenGraphAndMakesItActive) {
    ASSERT_NE(open("CompDef"), nullptr);
    QMdiSubWindow* deflection = form->MdiArea()->activeSubWindow();
    ASSERT_NE(open("CompMom"), nullptr);
    const std::function<void()> minimize = [&] { deflection->showMinimized(); }, hide = [&] { deflection->hide(); },
                                behind = [&] { open("CompMom"); }, menu = [&] { open("CompDef"); },
                                button = [&] { form->SpeedButton(TMainForm::kDeflectionButton)->click(); };
    // Sent away, then shown by the menu or the tool button.
    const std::function<void()> cases[][2] = {{minimize, menu}, {minimize, button}, {hide, menu}, {behind, button}};
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        c[0]();
        QApplication::processEvents();
        c[1]();
        QApplication::processEvents();
        EXPECT_FALSE(deflection->isMinimized());
        EXPECT_TRUE(deflection->isVisible());
        EXPECT_EQ(form->MdiArea()->activeSubWindow(), deflection);
        EXPECT_EQ(form->MdiArea()->subWindowList().size(), 2);
    }
}

// A PDF file of one page as the printer writes it: the page size in points, from its media box, and the
// dashed strokes as (dash, gap, cap style) in points, from its content stream ("a b c d e f cm" scales it;
// "w J j [dash gap ]0 d" sets a pen).
struct Dash {
    double dash, gap;
    int cap;
};
struct Pdf {
    QSizeF page;
    std::vector<Dash> dashes;
};
Pdf readPdf(const QString& file) {
    QFile pdf(file);
    const QByteArray data = pdf.open(QIODevice::ReadOnly) ? pdf.readAll() : QByteArray();
    const QString text = QString::fromLatin1(data);
    const QRegularExpressionMatch box =
        QRegularExpression(R"(/MediaBox\s*\[\s*0\s+0\s+([\d.]+)\s+([\d.]+)\s*\])").match(text);
    if (!box.hasMatch() || text.count(QRegularExpression("/Type\\s*/Page[^s]")) != 1) return {};
    Pdf read{{box.captured(1).toDouble(), box.captured(2).toDouble()}, {}};
    const QByteArray head = "/FlateDecode\n>>\nstream\n";
    for (qsizetype at = data.indexOf(head); at >= 0; at = data.indexOf(head, at + 1)) {
        const qsizetype from = at + head.size();
        // qUncompress wants the unpacked size in front; a generous hint will do.
        const QString page = QString::fromLatin1(
            qUncompress(QByteArray::fromHex("00400000") + data.mid(from, data.indexOf("endstream", from) - from)));
        const auto cm = QRegularExpression(R"(([\d.]+) 0 0 -?[\d.]+ [\d.]+ [\d.]+ cm)").match(page);
        auto pens = QRegularExpression(R"((\d) J \d j \[([\d.]+) ([\d.]+) \]0\s+d)").globalMatch(page);
        for (const double scale = cm.captured(1).toDouble(); cm.hasMatch() && pens.hasNext();) {
            const QRegularExpressionMatch m = pens.next();
            read.dashes.push_back(
                {m.captured(2).toDouble() * scale, m.captured(3).toDouble() * scale, m.captured(1).toInt()});
        }
    }
    return read;
}

// Printed to a PDF file, a graph lies on the paper chosen in Page Setup, its grid dotted as on the screen:
// dots 1/96 inch (0.75 pt) long, twice that apart, with flat ends (dots one printer pixel long with round ends
// ran together into solid black lines). The side view prints to a PDF file too.
TEST_F(GraphWindowTest, WithoutAPrinterGraphAndSideViewPrintToPdfOnThePageSetUp) {
    if (!QPrinterInfo::availablePrinterNames().isEmpty()) GTEST_SKIP() << "this machine has a printer";
    platform::RecordingFileDialogs files;
    TPlotForm* plot = open("CompMom");
    ASSERT_NE(plot, nullptr);
    test::whenShown<QPageSetupDialog>([](QPageSetupDialog& d) {
        auto* size = d.findChild<QComboBox*>("pageSizeCombo");
        auto* landscape = d.findChild<QAbstractButton*>("landscape");
        ASSERT_TRUE(size != nullptr && landscape != nullptr);
        size->setCurrentIndex(size->findData(QVariant::fromValue(QPageSize::A4)));
        landscape->click();
        d.accept();
    });
    trigger(plot, "P&age Setup");
    const QString graphPdf = QString::fromStdString(dir.file("moment"));  // the suffix is added
    files.answers = {graphPdf, QString()};
    trigger(plot, "&Print...");
    ASSERT_EQ(files.requests.size(), 1u);
    EXPECT_TRUE(files.requests[0].save);
    EXPECT_EQ(files.requests[0].filter, "PDF Files (*.pdf)|*.pdf");
    // A4 is 595 x 842 points, on its side. Half a point for the rounding of the writer.
    const Pdf graph = readPdf(graphPdf + ".pdf");
    EXPECT_NEAR(graph.page.width(), 842, 0.5);
    EXPECT_NEAR(graph.page.height(), 595, 0.5);
    ASSERT_GT(graph.dashes.size(), 4u);  // one pen per major grid line
    for (const Dash& d : graph.dashes) {
        EXPECT_NEAR(d.dash, 0.75, 0.05);
        EXPECT_NEAR(d.gap, 1.5, 0.1);
        EXPECT_EQ(d.cap, 0);  // butt ends: the dash is as long as drawn
    }
    trigger(plot, "&Print...");  // cancelled: no message
    EXPECT_EQ(files.requests.size(), 2u);

    // The side view prints on one landscape page of the default paper.
    stageCommands->OpenSideView();
    QApplication::processEvents();
    ASSERT_NE(stageCommands->SideView(), nullptr);
    const QString sidePdf = QString::fromStdString(dir.file("side.pdf"));
    files.answers = {sidePdf};
    stageCommands->SideView()->findChild<QAbstractButton*>("btnPrint")->click();
    EXPECT_TRUE(messages.shown.empty()) << messages.shown.front().toStdString();
    const QSizeF sidePage = readPdf(sidePdf).page;
    EXPECT_GT(sidePage.width(), sidePage.height());
    EXPECT_GT(sidePage.height(), 500);
}

// Each depth graph's caption names the quantity and the unit of the numbers the engine writes for it, as the
// report's results table heads them (the net soil reaction per station is a force).
TEST_F(GraphWindowTest, AxisCaptionsNameTheUnitsOfTheNumbersShown) {
    using G = project::TResultGraphs;
    const auto captions = [&](project::TGraphPlot G::*graph) {
        const project::TGraphPlot& g = form->Graphs().*graph;
        return AxisCaption(g.XCaption, g.XUnits, g.GetUnits()) + " | " +
               AxisCaption(g.YCaption, g.YUnits, g.GetUnits());
    };
    EXPECT_EQ(captions(&G::pltSoil), "Net Soil Reaction per Station (lbs) | Depth (ft)");
    EXPECT_EQ(captions(&G::pltDef), "Deflection (in) | Depth (ft)");
    EXPECT_EQ(captions(&G::pltLD), "Earth Pressure (lbs/in) | Depth (ft)");
    EXPECT_EQ(captions(&G::pltPY), "y (in) | p (lbs/in)");
    openExample("cantilever-sand-si.vm4d");
    run();
    EXPECT_EQ(captions(&G::pltSoil), "Net Soil Reaction per Station (kN) | Depth (m)");
    EXPECT_EQ(captions(&G::pltDef), "Deflection (m) | Depth (m)");
    EXPECT_EQ(captions(&G::PltCombine), "Earth Pressure (kN/m) | Depth (m)");
}

}  // namespace
}  // namespace velmor::windows
