#include "graphs/plot_geometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace velmor::components {

namespace {

// Quotients such as -0.5 / 0.1 come out a few units in the last place away from the integer they stand
// for; rounding them outward or truncating them would add a whole step. Values this close to an integer
// count as that integer.
constexpr Extended kIntegerSnap = 1e-9L;

Extended snapped(Extended v) {
    const Extended r = std::round(v);
    return std::fabs(v - r) <= kIntegerSnap * std::max<Extended>(1, std::fabs(r)) ? r : v;
}

// Ceiling of a positive value, floor of any other.
Extended roundAway(Extended v) {
    v = snapped(v);
    return v > 0 ? std::ceil(v) : std::floor(v);
}

void rangeAxis(Extended& lo, Extended& hi) {
    if (hi == lo) {
        hi += 0.01L;
        lo -= 0.01L;
    }
    const Extended a = std::log10(hi - lo);
    Extended step = std::pow(10.0L, std::floor(a));
    if (a - std::floor(a) < std::log10(3.0L)) step /= 10;
    lo = step * roundAway(lo / step);
    hi = step * roundAway(hi / step);
}

Extended majorStep(Extended span, int n) {
    const Extended s = span / n;
    const Extended g = std::pow(10.0L, std::floor(std::log10(s)));
    const Extended k = std::trunc(snapped(s / g));
    if (k < 2) return g;
    if (k < 5) return 2 * g;
    if (k < 9) return 5 * g;
    return 10 * g;
}

// An axis end this close to a tick (in tick steps) lies on it: the quotient of an end that is a multiple of
// the step comes out a little either side of the whole number.
constexpr Extended kEndTolerance = 0.01L;

// Tick indexes from `lo` to `hi` (data values) in whole steps, held to a range an int keeps.
int firstIndexFrom(Extended lo, Extended step) {
    const Extended limit = std::numeric_limits<int>::max() / 2;
    const Extended f = std::ceil(lo / step - kEndTolerance);
    return std::isnan(f) ? 0 : static_cast<int>(std::clamp(f, -limit, limit));
}
int lastIndexTo(Extended hi, Extended step) {
    const Extended limit = std::numeric_limits<int>::max() / 2;
    const Extended l = std::floor(hi / step + kEndTolerance);
    return std::isnan(l) ? 0 : static_cast<int>(std::clamp(l, -limit, limit));
}

// Tick index bounds: 0 lowered while index x step stays at or above min, raised while at or below max.
void tickBounds(Extended lo, Extended hi, Extended step, int& first, int& last) {
    first = std::min(0, firstIndexFrom(lo, step));
    last = std::max(0, lastIndexTo(hi, step));
}

// Pixel offsets far outside any canvas are held to a size the painter still handles.
int toPixel(Extended v) {
    constexpr Extended kFar = 1 << 24;
    if (std::isnan(v)) return 0;
    return static_cast<int>(std::lround(std::clamp(v, -kFar, kFar)));
}

Extended span(Extended lo, Extended hi) {
    return hi != lo ? hi - lo : 1;
}

}  // namespace

TPlotRange ComputeRange(const TObjectList<TLine>& Set) {
    TPlotRange r;
    for (int i = 0; i < Set.Count(); ++i) {
        const TLine& line = *Set.Items(i);
        for (int j = 0; j < line.GetPointCount(); ++j) {
            const TFloatPoint& p = *line.GetPoint(j);
            if (p.X < r.Xmin)
                r.Xmin = p.X;
            else if (p.X > r.Xmax)
                r.Xmax = p.X;
            if (p.Y < r.Ymin)
                r.Ymin = p.Y;
            else if (p.Y > r.Ymax)
                r.Ymax = p.Y;
        }
    }
    rangeAxis(r.Ymin, r.Ymax);
    rangeAxis(r.Xmin, r.Xmax);
    return r;
}

TTicks ComputeTicks(const TPlotRange& Range, const TPixelRect& Area, int H, bool ThreePanels) {
    TTicks t;
    const int spacing = (ThreePanels ? 4 : 6) * std::max(H, 1);
    const int nX = std::abs(Area.Width()) / spacing;
    const int nY = std::abs(Area.Height()) / spacing;
    if (nX == 0 || nY == 0 || !(Range.Xmax > Range.Xmin) || !(Range.Ymax > Range.Ymin)) return t;
    t.HasTicks = true;
    t.StepX = majorStep(Range.Xmax - Range.Xmin, nX) / 5;
    t.StepY = majorStep(Range.Ymax - Range.Ymin, nY) / 5;
    tickBounds(Range.Xmin, Range.Xmax, t.StepX, t.FirstX, t.LastX);
    tickBounds(Range.Ymin, Range.Ymax, t.StepY, t.FirstY, t.LastY);
    return t;
}

namespace {

constexpr int kLabelDigits = 4;

// A label that may be written: its tick, its extent along the axis and whether it marks an axis end.
struct TLabelCandidate {
    long long Index = 0;
    bool End = false;
    TAxisLabel Label;
};

// Extent of a label along its axis: X labels run across, Y labels (written upward) down the canvas.
int alongLo(const TPixelRect& r, bool x) {
    return x ? r.Left : r.Top;
}
int alongHi(const TPixelRect& r, bool x) {
    return x ? r.Right : r.Bottom;
}
bool apart(const TLabelCandidate& a, const TLabelCandidate& b, bool x, int gap) {
    return alongHi(a.Label.Rect, x) + gap <= alongLo(b.Label.Rect, x) ||
           alongHi(b.Label.Rect, x) + gap <= alongLo(a.Label.Rect, x);
}

// 1, 2, 5, 10, 20, 50, ...
long long nextThinning(long long k) {
    long long decade = 1;
    while (decade * 10 <= k) decade *= 10;
    const long long m = k / decade;
    return (m == 1 ? 2 : m == 2 ? 5 : 10) * decade;
}

// The labels of one axis: the ends, then every major tick whose index is a multiple of 5k for the smallest
// k of 1, 2, 5, 10, 20, ... at which no two labels come closer than `gap`. A major label that runs into an
// end's is left out; of two ends that run together the axis start stays.
std::vector<TAxisLabel> thinLabels(const std::vector<TLabelCandidate>& all, bool x, int gap) {
    std::vector<const TLabelCandidate*> ends;
    long long widest = 0;
    for (const TLabelCandidate& c : all) {
        widest = std::max(widest, c.Index < 0 ? -c.Index : c.Index);
        if (!c.End) continue;
        if (std::all_of(ends.begin(), ends.end(), [&](const TLabelCandidate* e) { return apart(c, *e, x, gap); }))
            ends.push_back(&c);
    }
    std::vector<const TLabelCandidate*> chosen;
    for (long long k = 1;; k = nextThinning(k)) {
        chosen.clear();
        for (const TLabelCandidate& c : all) {
            const bool kept = c.End ? std::find(ends.begin(), ends.end(), &c) != ends.end()
                                    : c.Index % (5 * k) == 0 && std::all_of(ends.begin(), ends.end(), [&](auto* e) {
                                          return apart(c, *e, x, gap);
                                      });
            if (kept) chosen.push_back(&c);
        }
        std::sort(chosen.begin(), chosen.end(),
                  [x](auto* a, auto* b) { return alongLo(a->Label.Rect, x) < alongLo(b->Label.Rect, x); });
        bool fits = true;
        for (std::size_t i = 1; i < chosen.size() && fits; ++i) fits = apart(*chosen[i - 1], *chosen[i], x, gap);
        // Past the widest index no more than one major label is left, and ends are kept apart above.
        if (fits || 5 * k > widest) break;
    }
    std::vector<TAxisLabel> labels;
    for (const TLabelCandidate* c : chosen) labels.push_back(c->Label);
    return labels;
}

}  // namespace

TPanelMarks ComputeMarks(const TPlotRange& Range, const TPixelRect& Area, const TTicks& Ticks, bool XOnTop, int DpiX,
                         int DpiY, const TLabelFont& Font) {
    TPanelMarks marks;
    if (!Ticks.HasTicks) return marks;
    const int fh = std::max(Font.Height, 1);
    std::vector<TLabelCandidate> candidates[2];
    // The ticks of one axis from its start to its end in whole steps, and the labels they may carry.
    const auto axis = [&](bool x, TAxisMarks& out, std::vector<TLabelCandidate>& labels) {
        const Extended step = x ? Ticks.StepX : Ticks.StepY;
        const Extended lo = x ? Range.Xmin : Range.Ymin, hi = x ? Range.Xmax : Range.Ymax;
        const int first = x ? Ticks.FirstX : Ticks.FirstY, last = x ? Ticks.LastX : Ticks.LastY;
        if (last <= first || !(step > 0)) return;
        const long long from = std::max(first, firstIndexFrom(lo, step));
        const long long to = std::min(last, lastIndexTo(hi, step));
        if (to - from > 100000) return;  // far more ticks than pixels: a range no window shows
        const Extended startAt = std::round(lo / step), endAt = std::round(hi / step);
        for (long long i = from; i <= to; ++i) {
            const Extended v = i * step;
            TTickMark tick;
            tick.Major = i % 5 == 0;
            if (x)
                tick.Pixel = std::clamp(DataToScreen(Range, Area, XOnTop, v, Range.Ymin).X, Area.Left, Area.Right);
            else
                tick.Pixel = std::clamp(DataToScreen(Range, Area, XOnTop, Range.Xmin, v).Y,
                                        std::min(Area.Top, Area.Bottom), std::max(Area.Top, Area.Bottom));
            out.Ticks.push_back(tick);
            const bool end = (i == startAt && std::fabs(lo / step - startAt) <= kEndTolerance) ||
                             (i == endAt && std::fabs(hi / step - endAt) <= kEndTolerance);
            if (!tick.Major && !end) continue;
            TLabelCandidate c;
            c.Index = i;
            c.End = end;
            c.Label.Text = formatGeneral(v, kLabelDigits);
            const int w = Font.Width ? std::max(Font.Width(c.Label.Text), 0) : 0;
            TPixelRect& r = c.Label.Rect;
            if (x) {
                r.Left = tick.Pixel - w / 2;
                r.Right = r.Left + w;
                r.Top = XOnTop ? Area.Top - fh - DpiY / 32 : Area.Bottom + DpiY / 16;
                r.Bottom = r.Top + fh;
            } else {
                r.Left = Area.Left - fh - DpiX / 32;
                r.Right = Area.Left - DpiX / 32;
                r.Bottom = tick.Pixel + w / 2;
                r.Top = r.Bottom - w;
            }
            labels.push_back(c);
        }
    };
    axis(true, marks.X, candidates[0]);
    axis(false, marks.Y, candidates[1]);

    // At the corner an X label and a Y label that come closer than the labels stand off their axes: the
    // one with the shorter way out moves along its axis, away from the corner. Moving only ever leads away
    // from the other axis's labels, so one pass settles every pair.
    const int gx = std::max(1, DpiX / 32), gy = std::max(1, DpiY / 32);
    for (TLabelCandidate& xc : candidates[0]) {
        for (TLabelCandidate& yc : candidates[1]) {
            TPixelRect& a = xc.Label.Rect;
            TPixelRect& b = yc.Label.Rect;
            const bool meet =
                a.Left < b.Right + gx && b.Left < a.Right + gx && a.Top < b.Bottom + gy && b.Top < a.Bottom + gy;
            if (!meet) continue;
            const int right = b.Right + gx - a.Left;
            const int away = XOnTop ? a.Bottom + gy - b.Top : b.Bottom - (a.Top - gy);
            if (right <= away) {
                a.Left += right;
                a.Right += right;
            } else {
                const int d = XOnTop ? away : -away;
                b.Top += d;
                b.Bottom += d;
            }
        }
    }
    const int gap = std::max(1, fh / 2);
    marks.X.Labels = thinLabels(candidates[0], true, gap);
    marks.Y.Labels = thinLabels(candidates[1], false, gap);
    return marks;
}

TPlotLayout ComputeLayout(const TLayoutInput& In) {
    TPlotLayout L;
    L.Page = In.Page;
    const int h = In.H, dx = In.DpiX, dy = In.DpiY;
    TPixelRect& p = L.Plot;
    if (In.Target == TLayoutTarget::Printer) {
        p.Left = 2 * h + dx / 8 + In.Page.Left + h / 8;
        p.Right = In.Page.Right;
        if (In.XOnTop) {
            p.Top = 2 * h + dx / 8 + In.Page.Top + h / 8;
            p.Bottom = In.Page.Bottom;
        } else {
            p.Top = In.Page.Top;
            p.Bottom = In.Page.Bottom - 2 * h - dx / 8 - h / 8;
        }
        if (In.HasTitle) {
            if (In.TitleAtTop)
                p.Top += dy / 4;
            else
                p.Bottom -= dy / 2;
        }
    } else {
        p.Left = In.Page.Left + 2 * h + dx / 8 + h / 8;
        p.Right = In.Page.Right - dx / 4 - h / 2;
        if (In.XOnTop) {
            p.Top = In.Page.Top + 2 * h + dy / 8 + h / 8;
            p.Bottom = In.Page.Bottom - dy / 4 - h / 2;
        } else {
            p.Top = In.Page.Top + h / 2 + dy / 4;
            p.Bottom = In.Page.Bottom - 2 * h - dy / 8 - h / 8;
        }
        if (In.HasTitle) {
            if (In.TitleAtTop)
                p.Top += h / 8 + h;
            else
                p.Bottom -= h;
        }
    }
    if (In.ShowLayers) {
        L.Strip.Right = p.Right;
        p.Right -= In.Target == TLayoutTarget::Bitmap ? dx / 2 : dx;
        L.Strip.Left = p.Right + dx / 5;
        L.Strip.Top = p.Top;
        L.Strip.Bottom = p.Bottom;
    }
    if (In.ShowThree) {
        const int w = (p.Right - p.Left - 4 * h - dx / 2) / 3;
        const int gap = 2 * h + dx / 4;
        L.Panels[0] = {p.Left, p.Top, p.Left + w, p.Bottom};
        L.Panels[1] = {L.Panels[0].Right + gap, p.Top, L.Panels[0].Right + gap + w, p.Bottom};
        L.Panels[2] = {L.Panels[1].Right + gap, p.Top, p.Right, p.Bottom};
    } else {
        L.Panels.fill(p);
    }
    return L;
}

TPixelRect PrintPage(int PageWidth, int PageHeight, int OffsetX, int OffsetY, int DpiX, int DpiY, int MarginLeft,
                     int MarginTop, int MarginRight, int MarginBottom) {
    auto px = [](int margin, int dpi, int offset) {
        return std::max(static_cast<int>(std::lround(static_cast<double>(margin) * dpi / 1000.0)), offset);
    };
    TPixelRect r;
    r.Left = px(MarginLeft, DpiX, OffsetX) - OffsetX;
    r.Right = PageWidth + OffsetX - px(MarginRight, DpiX, OffsetX);
    r.Top = px(MarginTop, DpiY, OffsetY) - OffsetY;
    r.Bottom = PageHeight + OffsetY - px(MarginBottom, DpiY, OffsetY);
    return r;
}

TPixelPoint DataToScreen(const TPlotRange& Range, const TPixelRect& Area, bool XOnTop, Extended X, Extended Y) {
    TPixelPoint p;
    p.X = toPixel((X - Range.Xmin) / span(Range.Xmin, Range.Xmax) * Area.Width()) + Area.Left;
    const int d = toPixel((Y - Range.Ymin) / span(Range.Ymin, Range.Ymax) * Area.Height());
    p.Y = XOnTop ? Area.Top + d : Area.Bottom - d;
    return p;
}

TFloatPoint ScreenToData(const TPlotRange& Range, const TPixelRect& Area, bool XOnTop, int X, int Y) {
    TFloatPoint p;
    if (X < Area.Left || X > Area.Right || Area.Width() == 0 || Area.Height() == 0) return p;
    p.X = Range.Xmin + Extended(X - Area.Left) / Area.Width() * (Range.Xmax - Range.Xmin);
    const int d = XOnTop ? Y - Area.Top : Area.Bottom - Y;
    p.Y = Range.Ymin + Extended(d) / Area.Height() * (Range.Ymax - Range.Ymin);
    return p;
}

std::pair<Extended, Extended> ZoomAxisIn(Extended FullMin, Extended FullMax, Extended A, Extended B) {
    Extended lo = std::min(A, B), hi = std::max(A, B);
    const Extended full = FullMax - FullMin;
    if (full > 20 * (hi - lo)) {
        const Extended mid = (lo + hi) / 2;
        lo = mid - full / 40;
        hi = mid + full / 40;
        if (lo < FullMin) {
            hi += FullMin - lo;
            lo = FullMin;
        }
        if (hi > FullMax) {
            lo -= hi - FullMax;
            hi = FullMax;
        }
    }
    return {lo, hi};
}

std::pair<Extended, Extended> ZoomAxisOut(Extended Min, Extended Max, Extended FullMin, Extended FullMax,
                                          Extended Clicked) {
    const Extended b = std::min(Max - Min, (FullMax - FullMin) / 2);
    const Extended c = std::clamp(Clicked, FullMin + b, std::max(FullMin + b, FullMax - b));
    return {c - b, c + b};
}

int MarkerShape(int I) {
    const int n = (I + 1) % 10;
    return n <= 0 ? n + 10 : n;
}

std::vector<TPixelPoint> MarkerVertices(int Shape, int X, int Y, int Rx, int Ry) {
    const Extended pi = 3.14159265358979323846L;
    Extended start = 0, step = 0;
    int count = 0;
    if (Shape == 1) {
        start = pi;  // downward triangle
        step = 2 * pi / 3;
        count = 3;
    } else if (Shape == 2) {
        start = pi / 4;  // square with level sides
        step = pi / 2;
        count = 4;
    } else {
        step = 2 * pi / Shape;  // vertex straight above the point
        count = Shape;
    }
    // Vertices at exactly half a pixel (cos 60 degrees x 3) round the same way on every side.
    auto px = [](Extended v) { return static_cast<int>(std::lround(std::round(v * 1e9L) / 1e9L)); };
    std::vector<TPixelPoint> v;
    for (int k = 0; k <= count; ++k) {
        const Extended t = start + k * step;
        v.push_back({X + px(std::sin(t) * Rx), Y - px(std::cos(t) * Ry)});
    }
    return v;
}

TRgb CurveColour(int ActiveIndex) {
    static constexpr TRgb table[17] = {{0, 0, 0},       {0, 0, 255},  {255, 0, 0},     {0, 128, 0},     {128, 0, 128},
                                       {128, 0, 0},     {0, 0, 128},  {255, 0, 255},   {128, 128, 0},   {0, 128, 128},
                                       {128, 128, 128}, {0, 255, 0},  {128, 128, 128}, {192, 192, 192}, {192, 192, 192},
                                       {255, 255, 0},   {0, 255, 255}};
    const int i = ActiveIndex % 17;
    return table[i < 0 ? i + 17 : i];
}

namespace {
void replaceFirstKind(std::string& text, const char* const (&codes)[3], const char* const (&names)[3]) {
    for (int i = 0; i < 3; ++i) {
        const std::string code = codes[i];
        if (text.find(code) == std::string::npos) continue;
        for (std::size_t at = text.find(code); at != std::string::npos; at = text.find(code, at)) {
            text.replace(at, code.size(), names[i]);
            at += std::string(names[i]).size();
        }
        return;
    }
}
}  // namespace

std::string GraphUnitNames(const std::string& Template, int Units) {
    if (Units != 1 && Units != 2) return Template;
    static const char* const forces[3] = {"F2", "F1", "F"};
    static const char* const lengths[3] = {"L2", "L1", "L"};
    static const char* const englishForces[3] = {"tons", "kips", "lbs"};
    static const char* const siForces[3] = {"kN", "kN", "kN"};
    static const char* const englishLengths[3] = {"ft", "in", "in"};
    static const char* const siLengths[3] = {"m", "mm", "m"};
    std::string text = Template;
    replaceFirstKind(text, forces, Units == 1 ? englishForces : siForces);
    replaceFirstKind(text, lengths, Units == 1 ? englishLengths : siLengths);
    return text;
}

std::string AxisCaption(const std::string& Caption, const std::string& UnitsTemplate, int Units) {
    if (UnitsTemplate.empty()) return Caption;
    return Caption + " (" + GraphUnitNames(UnitsTemplate, Units) + ")";
}

std::vector<TStripBox> StripBoxes(const TGraphPlot& Plot, const TPlotRange& Range, const TPixelRect& PlotArea,
                                  const TPixelRect& Strip) {
    std::vector<TStripBox> boxes;
    const TObjectList<TLine>& set = Plot.Layers();
    const int n = set.Count();
    if (n == 0 || Plot.GetLayerPointCount() < 1) return boxes;
    const int wallLine = Plot.WallLineCount;
    int drawn = n;
    if (wallLine > 0) drawn = Plot.ShowWall ? n - 1 : n - 2;
    drawn = std::max(drawn, 0);

    auto depthPx = [&](Extended depth) {
        const int y = DataToScreen(Range, PlotArea, Plot.XOnTop, 0, depth).Y;
        return std::clamp(y, std::min(PlotArea.Top, PlotArea.Bottom), std::max(PlotArea.Top, PlotArea.Bottom));
    };
    auto depthOf = [&](int i) { return set.Items(i)->GetPointCount() > 0 ? set.Items(i)->GetPoint(0)->Y : 0; };
    auto codeOf = [&](int i) {
        const Extended x = set.Items(i)->GetPointCount() > 0 ? set.Items(i)->GetPoint(0)->X : 0;
        return static_cast<int>(std::lround(std::clamp<Extended>(x, -1000, 1000)));
    };
    const int w = Strip.Width();
    const int backfillRight = Strip.Left + 2 * w / 5;
    const int excavationLeft = Strip.Left + 3 * w / 5;
    const bool withWall = Plot.ShowWall && wallLine > 0 && wallLine < n;
    const int layerCount = withWall ? std::min(wallLine, drawn) : drawn;
    const Extended excavation = withWall && wallLine + 1 < n ? depthOf(wallLine + 1) : 0;
    const int excavationPx = depthPx(excavation);

    Extended topDepth = 0;
    for (int i = 0; i < layerCount; ++i) {
        const Extended bottomDepth = depthOf(i);
        const int top = depthPx(topDepth);
        const int bottom = depthPx(bottomDepth) + (i + 1 < layerCount ? 1 : 0);
        const int code = codeOf(i);
        if (!withWall) {
            boxes.push_back({{Strip.Left, top, Strip.Right - 1, bottom}, i, code, false, true});
        } else if (bottomDepth <= excavation) {
            boxes.push_back({{Strip.Left, top, backfillRight, bottom}, i, code, false, false});
        } else if (topDepth >= excavation) {
            boxes.push_back({{Strip.Left, top, Strip.Right - 1, bottom}, i, code, false, false});
        } else {
            boxes.push_back({{Strip.Left, top, backfillRight, bottom}, i, code, false, false});
            boxes.push_back({{excavationLeft, excavationPx, Strip.Right - 1, bottom}, i, code, false, false});
        }
        topDepth = bottomDepth;
    }
    if (withWall && wallLine < drawn) {
        boxes.push_back(
            {{backfillRight, Strip.Top, excavationLeft, depthPx(depthOf(wallLine))}, wallLine, 0, true, false});
    }
    return boxes;
}

TLegendMetrics LegendMetrics(int SizeFont, int LegendFont) {
    TLegendMetrics m;
    m.FontPoints = std::max(1, SizeFont * LegendFont / 10);
    m.ItemHeight = 3 * m.FontPoints / 2;
    return m;
}

TPixelPoint LegendSize(int Items, int ItemHeight, int WidestText, int DpiX) {
    return {std::max(21, WidestText + DpiX / 4), Items * ItemHeight + 3};
}

TLegendPlace LegendPlace(const TPixelRect& Legend, const TPixelRect& Frame) {
    const auto along = [](int at, int size, int low, int high) {
        const int room = high - low - size;
        return room > 0 ? double(at - low) / room : 0.0;
    };
    TLegendPlace place;
    place.X = along(Legend.Left, Legend.Width(), Frame.Left, Frame.Right);
    place.Y = along(Legend.Top, Legend.Height(), Frame.Top, Frame.Bottom);
    return place;
}

TPixelRect LegendBoxRect(const TLegendPlace& Place, int Width, int Height, const TPixelRect& Frame,
                         const TPixelRect& Page) {
    const auto along = [](double place, int size, int low, int high, int pageLow, int pageHigh) {
        const int room = high - low - size;
        // NaN fails the comparisons and lands on the frame's low edge.
        const double f = place > 0 ? (place < 1 ? place : 1.0) : 0.0;
        if (room >= 0) return low + static_cast<int>(std::lround(f * room));
        const int centred = low + room / 2;
        if (pageHigh - pageLow < size) return pageLow;
        return std::clamp(centred, pageLow, pageHigh - size);
    };
    TPixelRect r;
    r.Left = along(Place.X, Width, Frame.Left, Frame.Right, Page.Left, Page.Right);
    r.Top = along(Place.Y, Height, Frame.Top, Frame.Bottom, Page.Top, Page.Bottom);
    r.Right = r.Left + Width;
    r.Bottom = r.Top + Height;
    return r;
}

std::optional<TPixelPoint> BitmapSize(Extended WidthIn, Extended HeightIn, Extended PixelsPerInch) {
    const Extended w = std::round(PixelsPerInch * WidthIn);
    const Extended h = std::round(PixelsPerInch * HeightIn);
    // Comparisons written so that NaN fails them.
    if (!(w >= 1 && h >= 1 && w <= kMaxBitmapSide && h <= kMaxBitmapSide)) return std::nullopt;
    if (w * h * 4 > static_cast<Extended>(kMaxBitmapBytes)) return std::nullopt;
    return TPixelPoint{static_cast<int>(w), static_cast<int>(h)};
}

}  // namespace velmor::components
