// Pictures of the component windows: the numeric field, the graph dialogs and the graph window.
#include <gtest/gtest.h>

#include <QLabel>
#include <QVBoxLayout>
#include <cmath>
#include <memory>

#include "fields/widgets/data_edit_widget.h"
#include "graphs/graph_plot.h"
#include "graphs/widgets/dlg_format.h"
#include "graphs/widgets/frm_active_lines.h"
#include "graphs/widgets/frm_graph_caption.h"
#include "graphs/widgets/frm_line_names.h"
#include "graphs/widgets/plot_form.h"
#include "graphs/widgets/sample_graphs.h"
#include "screenshots/shots.h"

namespace velmor::components {
namespace {

TEST(ComponentPictures, NumericField) {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* label = new QLabel(&window);
    auto* field = new DataEditWidget(&window);
    auto* other = new DataEditWidget(&window);
    layout->addWidget(label);
    layout->addWidget(field);
    layout->addWidget(other);
    label->setBuddy(field);
    field->SetUnitsString("F/L2^3");
    field->SetCaption("&Unit weight of soil");
    field->setProperty("Number", 0.12);
    other->SetCaption("&Height");
    other->SetUnitsString("L2");
    other->setEnabled(false);
    EXPECT_TRUE(shots::Save(window, "numeric_field"));
}

TEST(ComponentPictures, GraphDialogs) {
    QImage bitmap;
    TdlgFormat format(bitmap);
    EXPECT_TRUE(shots::Save(format, "save_attributes"));

    TfrmGraphCaption caption;
    caption.setTitle("Deflection against depth, stages 1 to 3", true);
    EXPECT_TRUE(shots::Save(caption, "graph_caption"));

    QStringList stages{"Stage 1: cantilever", "Stage 2: first anchor", "Stage 3: final excavation"};
    TfrmLineNames names(stages);
    EXPECT_TRUE(shots::Save(names, "line_names"));

    QStringList curves;
    QStringList flags;
    for (int i = 1; i <= 25; ++i) {
        curves << QString("Curve #%1").arg(i);
        flags << (i <= 20 ? TfrmActiveLines::kActiveFlag : TfrmActiveLines::kInactiveFlag);
    }
    TfrmActiveLines active(curves, flags);
    EXPECT_TRUE(shots::Save(active, "active_lines"));
}

using samples::fillDeflection;

// A graph window of `graph` shown at the size given, its picture saved as `name`; the window stays for more.
std::unique_ptr<TPlotForm> showGraph(TGraphPlot& graph, int width, int height, const char* name) {
    auto form = std::make_unique<TPlotForm>(graph);
    form->setAttribute(Qt::WA_DeleteOnClose, false);
    form->resize(width, height);
    form->show();
    form->FormResize(true);
    EXPECT_TRUE(form->grab().save(shots::Path(name)));
    return form;
}

TEST(ComponentPictures, GraphWindows) {
    TGraphPlot deflection;
    deflection.Caption = "Deflection";
    fillDeflection(deflection, 3, 40);
    deflection.Markers = 5;
    showGraph(deflection, 900, 650, "plot_deflection.png");

    // The same curves in metres in a window as wide as a maximized one: forty major ticks across.
    TGraphPlot metres;
    metres.Caption = "Deflection vs Depth";
    fillDeflection(metres, 3, 40);
    metres.XUnits = "L";
    metres.YUnits = "L";
    metres.SetUnits(2);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 40; ++j) {
            metres.GetPoint(i, j)->X *= 0.006;
            metres.GetPoint(i, j)->Y *= 0.3048;
        }
    showGraph(metres, 1600, 940, "plot_deflection_metres_wide.png");

    TGraphPlot dms;
    dms.Caption = "Deflection, Moment and Shear";
    fillDeflection(dms, 3, 40);
    dms.Markers = 10;
    dms.ShowThree = true;
    dms.ShowLayers = true;
    dms.ShowWall = true;
    dms.XCaption2 = "Moment";
    dms.XUnits2 = "F1-L1";
    dms.YCaption2 = "Depth";
    dms.YUnits2 = "L2";
    dms.XCaption3 = "Shear";
    dms.XUnits3 = "F1";
    dms.YCaption3 = "Depth";
    dms.YUnits3 = "L2";
    dms.SetLineCount2(3);
    dms.SetLineCount3(3);
    dms.SetPointCount2(40);
    dms.SetPointCount3(40);
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 40; ++j) {
            const double depth = 30.0 * j / 39;
            dms.GetPoint2(i, j)->X = (120 + 60 * i) * std::sin(depth / 30 * 3.14159) * (1 - depth / 45);
            dms.GetPoint2(i, j)->Y = depth;
            dms.GetPoint3(i, j)->X = (25 + 10 * i) * std::cos(depth / 30 * 3.14159);
            dms.GetPoint3(i, j)->Y = depth;
        }
    }
    samples::fillLayers(dms);
    const auto form = showGraph(dms, 1100, 700, "plot_three_panels.png");
    QImage bitmap(1100, 700, QImage::Format_RGB32);
    EXPECT_TRUE(form->SaveBitmap(shots::Path("plot_three_panels.bmp"), bitmap));
    EXPECT_TRUE(bitmap.save(shots::Path("plot_three_panels_bitmap.png")));
}

}  // namespace
}  // namespace velmor::components
