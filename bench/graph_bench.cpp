// Painting one graph window's picture: 20 curves of 400 points each, a marker at every point, into a
// 1600 x 1000 image at 96 pixels per inch. Zoom and legend dragging repaint this way; the target is 5 ms.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <cmath>

#include "graphs/widgets/plot_painter.h"

namespace {

using namespace velmor::components;

void PaintTwentyCurves(benchmark::State& state) {
    TGraphPlot plot;
    plot.XCaption = "Deflection";
    plot.XUnits = "L1";
    plot.YCaption = "Depth";
    plot.YUnits = "L2";
    plot.Markers = static_cast<int>(state.range(0));
    plot.SetLineCount(20);
    plot.SetPointCount(400);
    for (int i = 0; i < 20; ++i) {
        for (int j = 0; j < 400; ++j) {
            const double depth = 40.0 * j / 399;
            plot.GetPoint(i, j)->X = (0.2 + 0.05 * i) * std::cos(depth / 12 + i * 0.1);
            plot.GetPoint(i, j)->Y = depth;
        }
    }
    TPlotCanvas canvas;
    canvas.Target = TLayoutTarget::Bitmap;
    TLayoutInput in;
    in.Target = TLayoutTarget::Bitmap;
    in.Page = {0, 0, 1600, 1000};
    in.H = canvas.ScaledFontHeight(plot.SizeFont);
    canvas.Layout = ComputeLayout(in);
    canvas.Ranges.fill(ComputeRange(plot.Lines()));
    QImage image(1600, 1000, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        PaintPlot(painter, plot, canvas);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(PaintTwentyCurves)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

}  // namespace

// Text needs a GUI application; the offscreen platform needs no display.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
