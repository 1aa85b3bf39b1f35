#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QPrinter>
#include <filesystem>

#include "project/program_data.h"
#include "screenshot_path.h"
#include "sideview/side_view_project.h"
#include "support/test_support.h"
#include "windows/stages/dlg_side_view.h"

namespace velmor::windows {
namespace {

namespace fs = std::filesystem;
using components::Extended;
using sideview::TSideViewProject;

std::unique_ptr<project::TProgramData> example(const std::string& name) {
    return project::TProgramData::CreateFromFile((fs::path(VELMOR_SOURCE_DIR) / "examples" / name).string(), 1);
}

TEST(SideViewWindow, ExampleProjectsDrawFromTheirTablesAndShowTheDepth) {
    const struct {
        const char* example;
        Extended yMax;  // 1.05 x 1.1 x the wall length, inches
        bool springs;
    } cases[] = {
        {"stiff-clay-sloping-backfill.vm4d", 1.05L * 1.1L * 300, false},
        {"anchored-soft-clay.vm4d", 1.05L * 1.1L * 480, true},
    };
    for (const auto& c : cases) {
        const auto data = example(c.example);
        const TSideViewProject project = sideview::SideViewProjectOf(*data);
        EXPECT_EQ(project.UseSprings, c.springs) << c.example;
        EXPECT_EQ(project.SpringNodes, std::vector<int>{c.springs ? 6 : 0}) << c.example;
        auto* view = new TDlgSideView([&data] { return sideview::SideViewProjectOf(*data); });
        view->resize(640, 560);
        view->show();
        QApplication::processEvents();
        EXPECT_NEAR(static_cast<double>(view->World().YMax), static_cast<double>(c.yMax), 1e-9) << c.example;

        const int ground = view->ScreenMapping().Y(project.Top());
        const QPointF at(100, ground);
        QMouseEvent move(QEvent::MouseMove, at, view->Canvas()->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(view->Canvas(), &move);
        EXPECT_EQ(view->windowTitle(), "  Depth: 0.0") << c.example;
        delete view;
    }
}

TEST(SideViewWindow, NewProjectKeepsTheDefaultWorldAndPrintsToOnePdfPage) {
    project::TProgramData fresh;
    TDlgSideView view([&fresh] { return sideview::SideViewProjectOf(fresh); });
    EXPECT_EQ(view.World(), (sideview::TBox{-10, 10, 0, 10}));
    EXPECT_EQ(view.windowTitle(), "Side View");

    const auto data = example("stiff-clay-sloping-backfill.vm4d");
    TDlgSideView printed([&data] { return sideview::SideViewProjectOf(*data); });
    const QString file = screenshotPath("side_view.pdf");
    QFile::remove(file);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    printed.PrintOn(printer);
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);
    EXPECT_EQ(printer.docName(), "Soil-Pile Profile");
    const std::string pdf = test::readFile(file.toStdString());
    EXPECT_EQ(pdf.substr(0, 5), "%PDF-");
    EXPECT_NE(pdf.find("/Count 1"), std::string::npos);  // one page
}

}  // namespace
}  // namespace velmor::windows
