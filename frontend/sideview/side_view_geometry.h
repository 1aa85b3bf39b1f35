#pragma once

#include <array>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "fields/number_text.h"

namespace velmor::sideview {

using components::Extended;

// One soil layer as the side view shows it.
struct TSideViewLayer {
    int SoilType = 0;                  // 1 soft clay .. 7 weak rock; other codes get no name
    Extended Bottom = 0;               // depth of the layer bottom below the ground as the table shows it (feet in
                                       // unit system 1, metres in system 2)
    std::vector<Extended> Properties;  // the parameter row of the layer bottom, by parameter column
};

// What the side view draws, taken from the project: lengths in the stored unit (inches in unit system 1,
// metres in system 2) unless said otherwise.
struct TSideViewProject {
    int Units = 1;
    int NumIncrements = 0;
    Extended IncrementLength = 0;
    Extended FreeHeight = 0;
    int EarthPressureOption = 0;
    int PYOption = 0;
    Extended BackfillSlope = 0;  // degrees
    Extended Wa = 0;
    Extended Wp = 0;
    bool HasWall = false;  // the wall-stiffness table has a row
    bool UseRestraints = false;
    std::vector<int> RestraintNodes;
    int PlotPointCount = 0;
    bool UseExternalPYCurves = false;
    std::vector<int> PYCurveNodes;
    bool UseSprings = false;
    std::vector<int> SpringNodes;
    std::vector<TSideViewLayer> Layers;

    // The wall's length in the engine's discretisation.
    Extended WallLength() const { return NumIncrements * IncrementLength; }
    // World y of the wall's top, which is the ground surface: a tenth of the wall's length below y = 0.
    Extended Top() const { return 0.1L * WallLength(); }
    // World y of the excavation level.
    Extended Excavation() const { return Top() + FreeHeight; }
};

// World coordinates: x across the wall (0 at its axis), y downwards.
struct TBox {
    Extended XMin = -10;
    Extended XMax = 10;
    Extended YMin = 0;
    Extended YMax = 10;
    Extended Width() const { return XMax - XMin; }
    Extended Height() const { return YMax - YMin; }
    bool operator==(const TBox& o) const {
        return XMin == o.XMin && XMax == o.XMax && YMin == o.YMin && YMax == o.YMax;
    }
};

struct TCorner {
    Extended X = 0;
    Extended Y = 0;
    Extended Z = 0;  // kept with the corner, never drawn
};

// A wall outline: corner 1 top left, 2 top right, 3 bottom left, 4 bottom right.
struct TOutline {
    std::array<TCorner, 4> Corners;
};

// The outline of the wall when the wall-stiffness table has a row: a twentieth of the free height wide,
// from the ground to 1.1 wall lengths below y = 0.
std::vector<TOutline> WallOutlines(const TSideViewProject& Project);

// The region to show: the default box (-10..10 across, 0..10 down), or the smallest box that holds 0 and
// every corner with each bound multiplied by 1.05 when that box has a positive width and height (an all-zero
// outline of a new project keeps the default, so the window always has something to map).
TBox WorldFor(const std::vector<TOutline>& Outlines);

// The world widened to the aspect ratio of a drawing area of Width x Height pixels: across when the area is
// relatively wider than the world, else downwards. An empty area or world leaves the world as it is.
TBox ViewFor(const TBox& World, int Width, int Height);

struct TPixel {
    int X = 0;
    int Y = 0;
    bool operator==(const TPixel& o) const { return X == o.X && Y == o.Y; }
};

// World to device pixels over a drawing area Width x Height whose top lies YOffset pixels down. The window
// maps onto its whole client area; a printed page onto the whole width and 10 % to 90 % of the height.
class TMapping {
  public:
    TMapping(const TBox& View, int Width, int Height, int YOffset = 0);
    // The mapping of a window's client area.
    static TMapping Screen(const TBox& World, int ClientWidth, int ClientHeight);
    // The mapping of a printed page: the world keeps its aspect ratio within the page's drawing area.
    static TMapping Page(const TBox& World, int PageWidth, int PageHeight);

    // False when the drawing area or the view has no width or height: then nothing is drawn or mapped.
    bool Usable() const;
    int X(Extended WorldX) const;
    int Y(Extended WorldY) const;
    Extended WorldY(int PixelY) const;
    const TBox& View() const { return view_; }

  private:
    TBox view_;
    int width_;
    int height_;
    int yOffset_;
};

// The pointer's depth below the ground as the caption shows it ("  Depth: 12.5"); the ground line's pixel
// row reads 0.0, every other row the depth of its distance from that row. Empty when nothing is mapped.
std::string DepthCaption(const TSideViewProject& Project, const TMapping& Mapping, int PixelY);

// Soil name and property line of a layer ("Soft clay", "c= 0.5; gamma= 0.07"); empty for an unknown code.
std::pair<std::string, std::string> LayerTexts(const TSideViewLayer& Layer);

// What to draw, in device pixels, in drawing order.
struct TShape {
    enum Kind { Line, Polygon, Label, Circle };
    Kind What = Line;
    std::vector<TPixel> Points;  // line ends; polygon corners; label top left; circle box top left, bottom right
    int PenWidth = 1;
    std::string Text;
};

struct TPictureTarget {
    bool Printer = false;
    int Width = 0;       // client width, or page width
    int Height = 0;      // client height, or page height
    int TextHeight = 0;  // height of a line of text, pixels
    int PenWidth = 1;    // the thinnest pen of the device
};

// Width of a line of text in pixels on the target; without one texts are taken to fit wherever they stand.
using TTextWidth = std::function<int(const std::string&)>;

// A layer's property line broken after its "; " separators into rows no wider than `Width` pixels (a
// single part wider than that keeps a row of its own); the whole line when it fits or cannot be measured.
std::vector<std::string> PropertyRows(const std::string& Line, int Width, const TTextWidth& TextWidth);

// The picture of the project: layers with their names and properties, ground and slope, the wall, the
// excavation line, restraint, p-y station and spring markers and the top view of the wall units. One list
// serves the window and the printer; they differ only where the target says so. Property lines that would
// run into the wall are broken into rows; the top view stands in the tallest free band of the excavation
// side between the labels, the excavation line and the layer lines that cross that side.
std::vector<TShape> SideViewPicture(const TSideViewProject& Project, const std::vector<TOutline>& Outlines,
                                    const TMapping& Mapping, const TPictureTarget& Target,
                                    const TTextWidth& TextWidth = {});

// The printer's resolution in dots per inch as estimated from its page size in pixels (a landscape page
// is taken as 10 x 8 inches, a portrait one as 8 x 10), each estimate put into its class: horizontal and
// vertical.
std::pair<int, int> EstimatePrinterResolution(int PageWidth, int PageHeight, bool Landscape);
int ResolutionClass(int Estimate);

}  // namespace velmor::sideview
