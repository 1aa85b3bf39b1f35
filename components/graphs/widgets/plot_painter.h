#pragma once

#include <QFont>
#include <QString>
#include <array>
#include <vector>

#include "graphs/plot_geometry.h"

class QImage;
class QPainter;

namespace velmor::components {

// Everything the painting needs besides the graph: the target's resolution and font, the layout and the
// current ranges of the three panels. The window, the printer page and the saved bitmap each fill one.
struct TPlotCanvas {
    TLayoutTarget Target = TLayoutTarget::Screen;
    int DpiX = 96, DpiY = 96;
    int FontHeight = 14;  // the canvas font's height in pixels, before the graph's SizeFont scaling
    TPlotLayout Layout;
    std::array<TPlotRange, 3> Ranges;
    // Printed and saved pictures carry a legend box where the legend list stands in the window, taken
    // relative to the room the plot frame leaves it; its entries are the legend rows (text, curve index in
    // set 1) in order.
    bool DrawLegendBox = false;
    TLegendPlace LegendAt;
    std::vector<std::pair<QString, int>> LegendEntries;

    // Axis and caption text height: the canvas font scaled by SizeFont tenths.
    int ScaledFontHeight(int SizeFont) const { return FontHeight * SizeFont / 10; }
};

// The legend box of a printed or saved picture: its place, its row height and the legend rows it lists
// (those whose curve is visible). No rows, no box. Sets the painter's font to the legend's.
struct TLegendBox {
    TPixelRect Rect;  // the outline covers Left..Right and Top..Bottom
    int RowHeight = 0;
    std::vector<int> Rows;
};
TLegendBox LegendBoxOf(QPainter& Painter, const TGraphPlot& Plot, const TPlotCanvas& Canvas);

// Paints the whole graph: white page, captions, grid, curves, the legend box (printing and saving), the
// soil strip and the frames. Nothing but the page is drawn when it is smaller than an inch either way.
void PaintPlot(QPainter& Painter, const TGraphPlot& Plot, const TPlotCanvas& Canvas);

// The fill picture of a soil code (1 and 7 to 12): the screen tile, or the larger printer tile.
const QImage& SoilPattern(int Code, bool Printer);

// "Times New Roman" at a pixel height; bold for captions.
QFont PlotFont(int PixelHeight, bool Bold);

}  // namespace velmor::components
