#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "graphs/graph_plot.h"

namespace velmor::components {

// Where a graph window draws and how data map to pixels. Everything here is arithmetic on integers and
// Extended values, so the window, the printer page and the saved bitmap share it and tests check it.

struct TPixelRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool operator==(const TPixelRect& o) const {
        return Left == o.Left && Top == o.Top && Right == o.Right && Bottom == o.Bottom;
    }
};

struct TPixelPoint {
    int X = 0, Y = 0;
    bool operator==(const TPixelPoint& o) const { return X == o.X && Y == o.Y; }
};

// The data range of one panel (data units of its curves).
struct TPlotRange {
    Extended Xmin = 0, Xmax = 0, Ymin = 0, Ymax = 0;
};

// Range of every point of every line of a set (active or not), always containing 0, widened by 0.01 on
// each side of an empty span and rounded outward to a power-of-ten step.
TPlotRange ComputeRange(const TObjectList<TLine>& Set);

// Tick spacing of one panel: the minor step (a fifth of the major) and the tick index bounds; ticks lie at
// index x step and every fifth index is major. `HasTicks` is false when the panel is too small for one.
struct TTicks {
    bool HasTicks = false;
    Extended StepX = 0, StepY = 0;
    int FirstX = 0, LastX = 0, FirstY = 0, LastY = 0;
};

// `H` is the scaled font height in pixels; the three-panel view packs ticks closer (4h instead of 6h).
// An axis end within a hundredth of a step of a tick counts as that tick, so a range whose end is a
// multiple of the step ends on its last tick whatever the rounding of the quotient.
TTicks ComputeTicks(const TPlotRange& Range, const TPixelRect& Area, int H, bool ThreePanels);

// The label font of a canvas as its device measures it: a text's width and a line's height, in pixels of
// that device (the window, the printer page or the bitmap).
struct TLabelFont {
    std::function<int(const std::string&)> Width;
    int Height = 1;
};

struct TTickMark {
    int Pixel = 0;       // x of an X tick, y of a Y tick
    bool Major = false;  // every fifth tick: a dotted grid line across the plot
};

// A tick's value as text and the box it is written in; a Y label is written upward inside its box.
struct TAxisLabel {
    std::string Text;
    TPixelRect Rect;
};

struct TAxisMarks {
    std::vector<TTickMark> Ticks;    // every tick on the axis, in index order
    std::vector<TAxisLabel> Labels;  // no two closer than half a line height
};

struct TPanelMarks {
    TAxisMarks X, Y;
};

// The ticks and labels of one panel. Major ticks are labelled, and so are the axis ends where they are
// ticks. Where labels would run together only every 2nd, 5th, 10th (20th, ...) major tick keeps its
// label, the ends always; the ticks and grid lines stay. The X and Y labels at the corner of the axes are
// kept apart by moving the one that needs the smaller move along its axis, away from the corner.
TPanelMarks ComputeMarks(const TPlotRange& Range, const TPixelRect& Area, const TTicks& Ticks, bool XOnTop, int DpiX,
                         int DpiY, const TLabelFont& Font);

enum class TLayoutTarget { Screen, Printer, Bitmap };

struct TLayoutInput {
    TLayoutTarget Target = TLayoutTarget::Screen;
    TPixelRect Page;  // the client area, the bitmap, or the printer page within its margins
    int H = 14;       // scaled font height, pixels
    int DpiX = 96, DpiY = 96;
    bool XOnTop = true;
    bool HasTitle = false;
    bool TitleAtTop = false;
    bool ShowLayers = false;
    bool ShowThree = false;
};

struct TPlotLayout {
    TPixelRect Page;
    TPixelRect Plot;                   // the single view, or the span of the three panels
    TPixelRect Strip;                  // soil strip, when ShowLayers
    std::array<TPixelRect, 3> Panels;  // three-panel view
};

TPlotLayout ComputeLayout(const TLayoutInput& In);

// The printer page rectangle: margins in thousandths of an inch, each at least the printer's unprintable
// offset on its side; the page size and offsets are device pixels of the printable area.
TPixelRect PrintPage(int PageWidth, int PageHeight, int OffsetX, int OffsetY, int DpiX, int DpiY, int MarginLeft,
                     int MarginTop, int MarginRight, int MarginBottom);

TPixelPoint DataToScreen(const TPlotRange& Range, const TPixelRect& Area, bool XOnTop, Extended X, Extended Y);
// The inverse of DataToScreen; a pixel left or right of the area gives (0, 0).
TFloatPoint ScreenToData(const TPlotRange& Range, const TPixelRect& Area, bool XOnTop, int X, int Y);

// Zoom in on one axis to the span between A and B (either order), at least 1/20 of the full span, centred
// on the selection and kept inside the full range. Result: new min and max.
std::pair<Extended, Extended> ZoomAxisIn(Extended FullMin, Extended FullMax, Extended A, Extended B);
// Zoom out on one axis around the clicked value: half-width the current span, at most half the full span.
std::pair<Extended, Extended> ZoomAxisOut(Extended Min, Extended Max, Extended FullMin, Extended FullMax,
                                          Extended Clicked);

// Marker shape of the curve with index I: 1 to 10, cycling.
int MarkerShape(int I);
// Outline vertices of a marker shape around (X, Y) with radii Rx, Ry (pixels); the last equals the first.
std::vector<TPixelPoint> MarkerVertices(int Shape, int X, int Y, int Rx, int Ry);

struct TRgb {
    int R, G, B;
    bool operator==(const TRgb& o) const { return R == o.R && G == o.G && B == o.B; }
};
// Colour of the curve at position `ActiveIndex` among the active curves (the table repeats every 17).
TRgb CurveColour(int ActiveIndex);

// Unit names of an axis-unit template: the first of F2, F1, F that occurs and then the first of L2, L1, L
// are replaced for unit system 1 or 2; system 3 leaves the template as written.
std::string GraphUnitNames(const std::string& Template, int Units);
// "caption (units)", or the caption alone when the template is empty.
std::string AxisCaption(const std::string& Caption, const std::string& UnitsTemplate, int Units);

// One rectangle of the soil strip: a layer (or the part of it on one side of the wall) or the wall itself.
struct TStripBox {
    TPixelRect Rect;
    int Line = 0;        // index in set 2
    int Code = 0;        // soil code (fill); 0 for the wall
    bool Wall = false;   // grey wall rectangle
    bool Named = false;  // the layer's name is written in it
};

// The boxes of the soil strip, in drawing order. Depths map to pixels through panel 1's Y range.
std::vector<TStripBox> StripBoxes(const TGraphPlot& Plot, const TPlotRange& Range, const TPixelRect& PlotArea,
                                  const TPixelRect& Strip);

// Legend list size: font points from SizeFont x LegendFont / 10, item height 3/2 of that.
struct TLegendMetrics {
    int FontPoints = 11;
    int ItemHeight = 16;
};
TLegendMetrics LegendMetrics(int SizeFont, int LegendFont);
// Height and width of the legend list for `Items` entries whose widest text with " *" is `WidestText` px.
TPixelPoint LegendSize(int Items, int ItemHeight, int WidestText, int DpiX);

// Where a legend stands in the room a plot frame leaves it: 0 at the frame's left (top) edge, 1 with its
// right (bottom) edge on the frame's; outside 0..1 beside the frame. A frame no larger than the legend
// leaves no room: 0.
struct TLegendPlace {
    double X = 1, Y = 1;  // the plot's bottom-right corner
};
TLegendPlace LegendPlace(const TPixelRect& Legend, const TPixelRect& Frame);
// The legend box of a printed or saved picture, `Width` x `Height` pixels, at `Place` within the room of
// the plot frame: inside the frame where it fits, else centred on the frame and held inside the page,
// and at the page's top-left when it is larger than the page.
TPixelRect LegendBoxRect(const TLegendPlace& Place, int Width, int Height, const TPixelRect& Frame,
                         const TPixelRect& Page);

// Pixel size of a saved bitmap: round(ppi x inches) per side; nothing when the size is not a positive
// number of pixels or too large to allocate (each side at most kMaxBitmapSide, at most kMaxBitmapBytes
// of 32-bit pixels).
inline constexpr long long kMaxBitmapSide = 32767;
inline constexpr long long kMaxBitmapBytes = 1LL << 30;
std::optional<TPixelPoint> BitmapSize(Extended WidthIn, Extended HeightIn, Extended PixelsPerInch);

}  // namespace velmor::components
