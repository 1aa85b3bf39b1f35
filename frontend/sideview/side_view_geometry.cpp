#include "sideview/side_view_geometry.h"

#include <algorithm>
#include <cmath>

namespace velmor::sideview {

namespace {

// Pixel values far outside any device are held here so that converting them to int stays defined.
constexpr Extended kPixelLimit = 1e8L;

int toPixel(Extended Value) {
    if (!(Value == Value)) return 0;
    return static_cast<int>(std::llround(std::clamp(Value, -kPixelLimit, kPixelLimit)));
}

// Text of a value with one decimal, as the depth caption shows it; values of a million or more in the
// shortest general form of 6 digits.
std::string fixedOneDecimal(Extended Value) {
    if (!(std::fabs(Value) < 1e6L)) return components::formatGeneral(Value, 6);
    const long long tenths = std::llround(Value * 10);
    const long long whole = std::llabs(tenths);
    return std::string(tenths < 0 ? "-" : "") + std::to_string(whole / 10) + "." + std::to_string(whole % 10);
}

Extended property(const TSideViewLayer& Layer, std::size_t Column) {
    return Column < Layer.Properties.size() ? Layer.Properties[Column] : 0;
}

}  // namespace

std::vector<TOutline> WallOutlines(const TSideViewProject& Project) {
    std::vector<TOutline> outlines;
    if (!Project.HasWall) return outlines;
    const Extended a = Project.FreeHeight / 20 / 2;
    const Extended top = Project.Top();
    const Extended bottom = 1.1L * Project.WallLength();
    TOutline wall;
    wall.Corners[0] = {-a, top, 0};
    wall.Corners[1] = {a, top, 0};
    wall.Corners[2] = {-a, bottom, 0};
    wall.Corners[3] = {a, bottom, 0};
    outlines.push_back(wall);
    return outlines;
}

TBox WorldFor(const std::vector<TOutline>& Outlines) {
    const TBox fallback;
    if (Outlines.empty()) return fallback;
    TBox box{0, 0, 0, 0};
    for (const TOutline& o : Outlines) {
        box.XMin = std::min({box.XMin, o.Corners[0].X, o.Corners[2].X});
        box.XMax = std::max({box.XMax, o.Corners[1].X, o.Corners[3].X});
        box.YMin = std::min({box.YMin, o.Corners[0].Y, o.Corners[1].Y});
        box.YMax = std::max({box.YMax, o.Corners[2].Y, o.Corners[3].Y});
    }
    box.XMin *= 1.05L;
    box.XMax *= 1.05L;
    box.YMin *= 1.05L;
    box.YMax *= 1.05L;
    // Written so that NaN and infinite sizes keep the default as well.
    const bool usable =
        box.Width() > 0 && box.Height() > 0 && std::isfinite(box.Width()) && std::isfinite(box.Height());
    return usable ? box : fallback;
}

TBox ViewFor(const TBox& World, int Width, int Height) {
    if (Width <= 0 || Height <= 0 || !(World.Width() > 0) || !(World.Height() > 0)) return World;
    TBox view = World;
    const Extended r = (static_cast<Extended>(Width) / Height) / (World.Width() / World.Height());
    if (r >= 1) {
        view.XMin *= r;
        view.XMax *= r;
    } else {
        view.YMin /= r;
        view.YMax /= r;
    }
    return view;
}

TMapping::TMapping(const TBox& View, int Width, int Height, int YOffset)
    : view_(View), width_(Width), height_(Height), yOffset_(YOffset) {}

TMapping TMapping::Screen(const TBox& World, int ClientWidth, int ClientHeight) {
    return TMapping(ViewFor(World, ClientWidth, ClientHeight), ClientWidth, ClientHeight);
}

TMapping TMapping::Page(const TBox& World, int PageWidth, int PageHeight) {
    const int area = toPixel(PageHeight * 0.8L);
    return TMapping(ViewFor(World, PageWidth, area), PageWidth, area, toPixel(PageHeight * 0.1L));
}

bool TMapping::Usable() const {
    return width_ > 0 && height_ > 0 && view_.Width() > 0 && view_.Height() > 0;
}

int TMapping::X(Extended WorldX) const {
    return toPixel(width_ * (WorldX - view_.XMin) / view_.Width());
}

int TMapping::Y(Extended WorldY) const {
    return toPixel(height_ * (WorldY - view_.YMin) / view_.Height() + yOffset_);
}

Extended TMapping::WorldY(int PixelY) const {
    return static_cast<Extended>(PixelY - yOffset_) * view_.Height() / height_ + view_.YMin;
}

std::string DepthCaption(const TSideViewProject& Project, const TMapping& Mapping, int PixelY) {
    if (!Mapping.Usable()) return std::string();
    const Extended ground = Mapping.WorldY(Mapping.Y(Project.Top()));
    return "  Depth: " + fixedOneDecimal(Mapping.WorldY(PixelY) - ground);
}

std::pair<std::string, std::string> LayerTexts(const TSideViewLayer& Layer) {
    // At the tables' 8 digits: a unit weight read in pcf and held per cubic inch shows as the 120 the table
    // shows, not as the 119.999999232 that 15 digits would give.
    const auto n = [&Layer](std::size_t Column) {
        return components::formatGeneral(property(Layer, Column), components::kCellDigits);
    };
    const std::string gamma = "; gamma= " + n(0);
    // The friction angle's letter, as the program has always shown it.
    const std::string phi = "\xC3\xB8= ";
    switch (Layer.SoilType) {
        case 1:
            return {"Soft clay", "c= " + n(1) + gamma};
        case 2:
            return {"Stiff clay w/free water", "c= " + n(1) + gamma};
        case 3:
            return {"Stiff clay w/o free water", "c= " + n(1) + gamma};
        case 4:
            return {"Sand", phi + n(1) + gamma};
        case 5:
            return {"Silt", phi + n(1) + "; c= " + n(2) + gamma};
        case 6:
            return {"Rock", "compressive strength= " + n(1) + gamma};
        case 7:
            return {"Weak Rock", "compressive strength= " + n(1) + gamma};
        default:
            return {};
    }
}

std::vector<std::string> PropertyRows(const std::string& Line, int Width, const TTextWidth& TextWidth) {
    if (!TextWidth || TextWidth(Line) <= Width) return {Line};
    static const std::string separator = "; ";
    std::vector<std::string> parts;
    for (std::size_t from = 0;;) {
        const std::size_t at = Line.find(separator, from);
        if (at == std::string::npos) {
            parts.push_back(Line.substr(from));
            break;
        }
        parts.push_back(Line.substr(from, at + 1 - from));  // the row keeps its ";"
        from = at + separator.size();
    }
    std::vector<std::string> rows;
    std::string row;
    for (const std::string& part : parts) {
        const std::string joined = row.empty() ? part : row + " " + part;
        if (row.empty() || TextWidth(joined) <= Width) {
            row = joined;
        } else {
            rows.push_back(row);
            row = part;
        }
    }
    rows.push_back(row);
    return rows;
}

std::vector<TShape> SideViewPicture(const TSideViewProject& Project, const std::vector<TOutline>& Outlines,
                                    const TMapping& Mapping, const TPictureTarget& Target,
                                    const TTextWidth& TextWidth) {
    std::vector<TShape> shapes;
    if (!Mapping.Usable() || Target.Width <= 0 || Target.Height <= 0) return shapes;
    const bool printer = Target.Printer;
    const auto fx = [&Target](Extended Fraction) { return toPixel(Target.Width * Fraction); };
    const auto line = [&shapes](TPixel A, TPixel B, int Pen) {
        shapes.push_back({TShape::Line, {A, B}, Pen, std::string()});
    };
    const auto text = [&shapes](TPixel At, const std::string& Text) {
        shapes.push_back({TShape::Label, {At}, 1, Text});
    };
    const int pen = std::max(1, Target.PenWidth);
    const int left = printer ? fx(0.1L) : 0;
    const int right = printer ? fx(0.9L) : Target.Width;
    const int mid = fx(0.5L);
    const Extended top = Project.Top();
    const Extended excavation = Project.Excavation();
    const int yTop = Mapping.Y(top);
    const int yExcavation = Mapping.Y(excavation);
    const auto nodeDepth = [&Project, top](int Node) { return Node * Project.IncrementLength + top; };
    // Texts of the layers end a little short of the wall's left side (of the middle without a wall).
    int textRight = mid;
    for (const TOutline& o : Outlines)
        textRight = std::min({textRight, Mapping.X(o.Corners[0].X), Mapping.X(o.Corners[2].X)});
    textRight -= std::max(2, Target.TextHeight / 3);
    // Rows of the lines that cross the excavation side, where the top view stands.
    std::vector<int> rightCrossings{yExcavation};

    // Soil layers, while the project generates earth pressure or p-y curves from them.
    if (Project.EarthPressureOption == 2 || Project.PYOption == 2) {
        const Extended lengthFactor = Project.Units == 1 ? 12 : 1;  // the table shows feet in system 1
        for (std::size_t i = 0; i < Project.Layers.size(); ++i) {
            const TSideViewLayer& layer = Project.Layers[i];
            const Extended layerTop = (i == 0 ? 0 : Project.Layers[i - 1].Bottom) * lengthFactor + top;
            const Extended layerBottom = layer.Bottom * lengthFactor + top;
            if (i == 0) {
                line({left, yTop}, {mid, yTop}, pen);
                if (Project.BackfillSlope > 0) {
                    // The slope rises from the wall's top at its true angle (at most 89 degrees).
                    const int end = printer ? fx(0.2L) : fx(0.25L);
                    const Extended angle = std::min(Project.BackfillSlope, Extended(89)) * 0.0174533L;
                    line({mid, yTop}, {end, toPixel(yTop - (mid - end) * std::tan(angle))}, pen);
                } else if (Project.BackfillSlope == 0) {
                    for (int k = 1; k <= 5; ++k) {
                        if (printer) {
                            const Extended h = Target.Height;
                            line({toPixel(h * 0.35L + 50 * k), yTop}, {toPixel(h * 0.365L + 50 * k), yTop + 70}, pen);
                        } else {
                            line({20 * k + 100, yTop}, {20 * k + 115, yTop + 5}, pen);
                        }
                    }
                }
            }
            const int yBottom = Mapping.Y(layerBottom);
            line({left, yBottom}, {layerBottom >= excavation ? right : mid, yBottom}, pen);
            if (layerBottom >= excavation) rightCrossings.push_back(yBottom);
            const auto [name, properties] = LayerTexts(layer);
            if (!name.empty()) {
                int y = Mapping.Y(layerTop);
                text({left, y}, name);
                for (const std::string& row : PropertyRows(properties, textRight - left, TextWidth)) {
                    y += Target.TextHeight;
                    text({left, y}, row);
                }
            }
        }
    }

    for (const TOutline& o : Outlines) {
        TShape wall{TShape::Polygon, {}, pen, std::string()};
        for (int corner : {0, 1, 3, 2}) {
            const TCorner& c = o.Corners[static_cast<std::size_t>(corner)];
            wall.Points.push_back({Mapping.X(c.X), Mapping.Y(c.Y)});
        }
        shapes.push_back(wall);
    }

    line({left, yTop}, {mid, yTop}, pen);
    line({mid, yExcavation}, {right, yExcavation}, pen);

    const int markerPen = printer ? 15 : 2;
    const int barb = fx(0.01L);
    if (Project.UseRestraints) {
        // An arrow head at the wall, pointing at it from the excavation side.
        for (int node : Project.RestraintNodes) {
            const int y = Mapping.Y(nodeDepth(node));
            const int x = fx(0.52L);
            line({mid, y}, {x, y}, markerPen);
            line({mid, y}, {x, y - barb}, markerPen);
            line({mid, y}, {x, y + barb}, markerPen);
        }
    }
    const bool showCurves =
        printer ? Project.UseExternalPYCurves : Project.PlotPointCount > 1 || Project.UseExternalPYCurves;
    if (showCurves) {
        // A broken arrow from the wall into the backfill.
        for (int node : Project.PYCurveNodes) {
            const int y = Mapping.Y(nodeDepth(node));
            line({mid, y}, {fx(0.45L), y}, markerPen);
            line({fx(0.43L), y}, {fx(0.38L), y}, markerPen);
            line({fx(0.38L), y}, {fx(0.4L), y - barb}, markerPen);
            line({fx(0.38L), y}, {fx(0.4L), y + barb}, markerPen);
        }
    }
    if (Project.UseSprings) {
        for (int node : Project.SpringNodes) {
            const Extended depth = nodeDepth(node);
            if (!(depth < excavation)) continue;
            const int y = Mapping.Y(depth);
            line({mid, y}, {fx(0.6L), y}, printer ? 35 : 5);
        }
    }

    // Top view of five wall units of width Wp at spacing 2 Wa on the excavation side, between the lines that
    // cross that side: at the picture's own scale, made smaller when no band is tall enough.
    if (Project.Wa > 0 && Project.Wp > 0) {
        const int labelY = printer ? toPixel(Target.Height * 0.1L) : 5;
        const int lowest = printer ? toPixel(Target.Height * 0.9L) : Target.Height - 5;
        const int clearance = std::max(Target.TextHeight / 2, 2 * pen + 2);
        const Extended unitsAcross = Mapping.View().Width();
        const Extended natural = std::min(Target.Width / unitsAcross, Target.Width * 0.1L / Project.Wp);
        const Extended needed = Target.TextHeight * 1.5L + natural * (8 * Project.Wa + 2 * Project.Wp);
        // The highest band where the column fits at its own scale, else the tallest band.
        int bandTop = labelY;
        int bandBottom = lowest;
        {
            std::vector<int> edges;
            for (int y : rightCrossings)
                if (y > labelY && y < lowest) edges.push_back(y);
            std::sort(edges.begin(), edges.end());
            edges.push_back(lowest);
            int from = labelY;
            int tallest = -1;
            bool fits = false;
            for (int y : edges) {
                const int top = from == labelY ? from : from + clearance;
                const int bottom = y == lowest ? y : y - clearance;
                from = y;
                if (fits) continue;
                fits = bottom - top >= needed;
                if (fits || bottom - top > tallest) {
                    tallest = bottom - top;
                    bandTop = top;
                    bandBottom = bottom;
                }
            }
        }
        const int columnTop = bandTop + Target.TextHeight + Target.TextHeight / 2;
        const Extended scale = std::min(natural, (bandBottom - columnTop) / (8 * Project.Wa + 2 * Project.Wp));
        if (scale > 0 && std::isfinite(scale)) {
            const int cx = fx(0.8L);
            const Extended r = std::max(Extended(1), Project.Wp * scale);
            for (int k = 0; k < 5; ++k) {
                const Extended cy = columnTop + r + 2 * Project.Wa * scale * k;
                shapes.push_back({TShape::Circle,
                                  {{toPixel(cx - r), toPixel(cy - r)}, {toPixel(cx + r), toPixel(cy + r)}},
                                  2 * pen,
                                  std::string()});
                if (k == 0) {
                    text({toPixel(cx - 2 * r / 10), bandTop}, "top view");
                    text({mid, labelY}, "side view");
                }
            }
        }
    }
    return shapes;
}

int ResolutionClass(int Estimate) {
    if (Estimate < 76) return 75;
    if (Estimate <= 125) return 100;
    if (Estimate <= 225) return 150;
    if (Estimate <= 449) return 300;
    if (Estimate <= 899) return 600;
    return 1200;
}

std::pair<int, int> EstimatePrinterResolution(int PageWidth, int PageHeight, bool Landscape) {
    if (Landscape) return {ResolutionClass(PageWidth / 10), ResolutionClass(PageHeight / 8)};
    return {ResolutionClass(PageWidth / 8), ResolutionClass(PageHeight / 10)};
}

}  // namespace velmor::sideview
