#include "graphs/widgets/plot_painter.h"

#include <QFontMetrics>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QPolygon>
#include <QSvgRenderer>
#include <algorithm>
#include <cmath>

static void initGraphPatterns() {
    Q_INIT_RESOURCE(graph_patterns);
}

namespace velmor::components {

namespace {

QColor toColor(const TRgb& c) {
    return QColor(c.R, c.G, c.B);
}
// A 1-pixel outline of this rectangle covers the pixels from Left to Right; a clip adds one to reach them.
QRect toRect(const TPixelRect& r) {
    return QRect(r.Left, r.Top, r.Width(), r.Height());
}

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

// One device pixel wide on every target; dotted hairlines are drawn far faster than dotted wide pens.
QPen hairline(const QColor& colour, Qt::PenStyle style = Qt::SolidLine) {
    QPen pen(colour, 1, style);
    pen.setCosmetic(true);
    return pen;
}

// Text written upward (rotated a quarter turn anticlockwise) with its left edge at x and its start at y:
// it covers x to x + height horizontally and y - width to y vertically.
void drawUpward(QPainter& p, int x, int y, const QString& s) {
    const QFontMetrics fm = p.fontMetrics();
    p.save();
    p.translate(x, y);
    p.rotate(-90);
    p.drawText(0, fm.ascent(), s);
    p.restore();
}

struct Painter {
    QPainter& p;
    const TGraphPlot& plot;
    const TPlotCanvas& c;
    int h;

    int dx() const { return c.DpiX; }
    int dy() const { return c.DpiY; }
    const TPixelRect& page() const { return c.Layout.Page; }
    bool three() const { return plot.ShowThree; }
    bool hasTitle() const { return !plot.GetTitle().empty(); }
    bool titleTop() const { return hasTitle() && plot.GetTitleAtTop(); }
    bool titleBottom() const { return hasTitle() && !plot.GetTitleAtTop(); }
    int panels() const { return three() ? 3 : 1; }
    TPixelRect area(int panel) const { return three() ? c.Layout.Panels[panel] : c.Layout.Plot; }

    void captions() {
        p.setFont(PlotFont(h, true));
        p.setPen(Qt::black);
        const QFontMetrics fm = p.fontMetrics();
        if (hasTitle()) {
            const int y = titleTop() ? page().Top : page().Bottom - fm.height();
            p.drawText(QRect(page().Left, y, page().Width(), fm.height()), Qt::AlignHCenter | Qt::AlignTop,
                       text(plot.GetTitle()));
        }
        const int units = plot.GetUnits();
        if (!three()) {
            const QString xCap = text(AxisCaption(plot.XCaption, plot.XUnits, units));
            int y;
            if (plot.XOnTop)
                y = page().Top + (titleTop() ? h / 8 + h : 0);
            else
                y = page().Bottom - fm.height() - (titleBottom() ? h : 0);
            p.drawText(QRect(page().Left, y, page().Width(), fm.height()), Qt::AlignHCenter | Qt::AlignTop, xCap);
            const QString yCap = text(AxisCaption(plot.YCaption, plot.YUnits, units));
            drawUpward(p, page().Left, (page().Top + page().Bottom + fm.horizontalAdvance(yCap)) / 2, yCap);
            return;
        }
        const std::string* caps[3][4] = {{&plot.XCaption, &plot.XUnits, &plot.YCaption, &plot.YUnits},
                                         {&plot.XCaption2, &plot.XUnits2, &plot.YCaption2, &plot.YUnits2},
                                         {&plot.XCaption3, &plot.XUnits3, &plot.YCaption3, &plot.YUnits3}};
        for (int i = 0; i < 3; ++i) {
            const TPixelRect a = area(i);
            const QString xCap = text(AxisCaption(*caps[i][0], *caps[i][1], units));
            int y;
            if (plot.XOnTop)
                y = page().Top + dy() / 16 + (titleTop() ? dy() / 4 : 0);
            else
                y = page().Bottom - dy() / 16 - fm.height() - (titleBottom() ? dy() / 4 : 0);
            p.drawText(QRect(a.Left - h, y, a.Width() + 2 * h, fm.height()), Qt::AlignHCenter | Qt::AlignTop, xCap);
            const QString yCap = text(AxisCaption(*caps[i][2], *caps[i][3], units));
            // Centred on the page height for every target, the saved bitmap included.
            drawUpward(p, a.Left - dx() / 8 - 2 * h, (page().Top + page().Bottom + fm.horizontalAdvance(yCap)) / 2,
                       yCap);
        }
    }

    // The grid's dots are a screen pixel long (1/96 inch) on every target: dots one printer pixel long,
    // round-capped, merge into a solid black line on paper and in a PDF file.
    QPen gridPen() const {
        QPen pen = hairline(Qt::black, Qt::DotLine);
        const qreal dot = std::max(1, (c.DpiX + 48) / 96);
        if (dot > 1) {
            pen.setCapStyle(Qt::FlatCap);
            pen.setDashPattern({dot, 2 * dot});
        }
        return pen;
    }

    void grid(int panel) {
        const TPixelRect a = area(panel);
        const TPlotRange& r = c.Ranges[panel];
        const TTicks t = ComputeTicks(r, a, h, three());
        if (!t.HasTicks) return;
        p.setFont(PlotFont(h, false));
        const QFontMetrics fm = p.fontMetrics();
        // The labels are measured with this canvas's own font metrics, so they stand apart on every target.
        const TLabelFont font{[&fm](const std::string& s) { return fm.horizontalAdvance(text(s)); }, fm.height()};
        const TPanelMarks marks = ComputeMarks(r, a, t, plot.XOnTop, dx(), dy(), font);
        const QPen dotted = gridPen();
        const QPen solid = hairline(Qt::black);
        const int edge = plot.XOnTop ? a.Top : a.Bottom;
        const int inward = plot.XOnTop ? dy() / 16 : -dy() / 16;
        for (const TTickMark& tick : marks.X.Ticks) {
            if (tick.Major) {
                p.setPen(dotted);
                p.drawLine(tick.Pixel, a.Top, tick.Pixel, a.Bottom);
            }
            p.setPen(solid);
            p.drawLine(tick.Pixel, edge, tick.Pixel, edge + inward);
        }
        for (const TTickMark& tick : marks.Y.Ticks) {
            if (tick.Major) {
                p.setPen(dotted);
                p.drawLine(a.Left, tick.Pixel, a.Right, tick.Pixel);
            }
            p.setPen(solid);
            p.drawLine(a.Left, tick.Pixel, a.Left + dx() / 16, tick.Pixel);
        }
        p.setPen(solid);
        for (const TAxisLabel& label : marks.X.Labels)
            p.drawText(label.Rect.Left, label.Rect.Top + fm.ascent(), text(label.Text));
        for (const TAxisLabel& label : marks.Y.Labels)
            drawUpward(p, label.Rect.Left, label.Rect.Bottom, text(label.Text));
    }

    void marker(int curve, const QPoint& at) {
        const std::vector<TPixelPoint> v = MarkerVertices(MarkerShape(curve), at.x(), at.y(), dx() / 32, dy() / 32);
        QPolygon poly(static_cast<int>(v.size()));
        for (std::size_t k = 0; k < v.size(); ++k) poly.setPoint(static_cast<int>(k), v[k].X, v[k].Y);
        p.drawPolyline(poly);
    }

    // The markers of one curve at every m-th of its first n pixel points, outlined with the current pen and
    // clipped to `clip`. On raster targets the outline is drawn once into a small picture whose pixels are
    // then stamped at each point: the same pixels, many times faster than an outline per point (a curve of
    // 400 points carries 400 markers). The printer gets the outlines themselves.
    void markers(int curve, const QPolygon& poly, int n, int m, const QRect& clip) {
        const int rx = dx() / 32, ry = dy() / 32;
        const std::vector<TPixelPoint> shape = MarkerVertices(MarkerShape(curve), 0, 0, rx, ry);
        QPolygon outline(static_cast<int>(shape.size()));
        for (std::size_t k = 0; k < shape.size(); ++k) outline.setPoint(static_cast<int>(k), shape[k].X, shape[k].Y);
        auto* image = dynamic_cast<QImage*>(p.device());
        const bool direct = image != nullptr &&
                            (image->format() == QImage::Format_RGB32 || image->format() == QImage::Format_ARGB32 ||
                             image->format() == QImage::Format_ARGB32_Premultiplied) &&
                            image->devicePixelRatio() == 1.0 && p.transform().isIdentity() &&
                            p.compositionMode() == QPainter::CompositionMode_SourceOver;
        if (c.Target == TLayoutTarget::Printer || !direct) {
            for (int j = 0; j < n; j += m) p.drawPolyline(outline.translated(poly.point(j)));
            return;
        }
        const int margin = p.pen().width() + 1;
        const QPoint centre(rx + margin, ry + margin);
        QImage stamp(2 * centre.x() + 1, 2 * centre.y() + 1, QImage::Format_ARGB32_Premultiplied);
        stamp.fill(Qt::transparent);
        {
            QPainter sp(&stamp);
            sp.setPen(p.pen());
            sp.drawPolyline(outline.translated(centre));
        }
        std::vector<std::pair<QPoint, QRgb>> pixels;  // offsets from the point, opaque colours
        for (int y = 0; y < stamp.height(); ++y) {
            for (int x = 0; x < stamp.width(); ++x) {
                const QRgb v = stamp.pixel(x, y);
                if (qAlpha(v) != 0) pixels.emplace_back(QPoint(x, y) - centre, v | 0xff000000u);
            }
        }
        const QRect bounds = clip.intersected(image->rect());
        const qsizetype stride = image->bytesPerLine() / 4;
        std::vector<qsizetype> offsets;
        for (const auto& pixel : pixels) offsets.push_back(pixel.first.y() * stride + pixel.first.x());
        auto* bits = reinterpret_cast<QRgb*>(image->bits());
        const QRect reach(-centre, stamp.size());
        for (int j = 0; j < n; j += m) {
            const QPoint at = poly.point(j);
            if (bounds.contains(reach.translated(at))) {
                QRgb* origin = bits + at.y() * stride + at.x();
                for (std::size_t k = 0; k < pixels.size(); ++k) origin[offsets[k]] = pixels[k].second;
                continue;
            }
            for (const auto& [offset, colour] : pixels) {
                const QPoint q = at + offset;
                if (bounds.contains(q)) bits[q.y() * stride + q.x()] = colour;
            }
        }
    }

    void curves(int panel) {
        const TObjectList<TLine>& set = plot.PanelLines(panel + 1);
        const TObjectList<TLine>& flags = plot.Lines();
        if (set.Count() == 0 || set.Items(0)->GetPointCount() <= 1) return;
        const TPixelRect a = area(panel);
        const TPlotRange& r = c.Ranges[panel];
        p.save();
        p.setClipRect(toRect(a).adjusted(0, 0, 1, 1));
        const int width = (static_cast<int>(std::lround(dx() / 300.0)) + 1) * std::max(plot.WidthLine, 1);
        const bool dropLast = three() && set.Count() > 1;
        const int m = plot.Markers;
        QPolygon poly;
        int active = -1;
        for (int i = 0; i < set.Count(); ++i) {
            if (i >= flags.Count()) break;
            const TLine& owner = *flags.Items(i);
            if (!owner.Active) continue;
            ++active;
            if (!owner.Visible) continue;
            const TLine& line = *set.Items(i);
            const int n = line.GetPointCount() - (dropLast ? 1 : 0);
            if (n <= 0) continue;
            const QColor colour = toColor(CurveColour(active));
            p.setPen(QPen(colour, width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
            p.setBrush(Qt::NoBrush);
            poly.resize(n);
            for (int j = 0; j < n; ++j) {
                const TFloatPoint& pt = *line.GetPoint(j);
                const TPixelPoint s = DataToScreen(r, a, plot.XOnTop, pt.X, pt.Y);
                poly.setPoint(j, s.X, s.Y);
            }
            p.drawPolyline(poly);
            if (m > 0) markers(i, poly, n, m, toRect(a).adjusted(0, 0, 1, 1));
        }
        p.restore();
    }

    // The legend box of printed and saved pictures: the visible curves of the legend, each with its
    // marker and its text in the colour of its legend row.
    void legendBox() {
        const TLegendBox box = LegendBoxOf(p, plot, c);
        if (box.Rows.empty()) return;
        const QRect frame(box.Rect.Left, box.Rect.Top, box.Rect.Width(), box.Rect.Height());
        p.setPen(hairline(Qt::black));
        p.setBrush(Qt::white);
        p.drawRect(frame);
        p.setBrush(Qt::NoBrush);
        const QFontMetrics fm = p.fontMetrics();
        int y = frame.top() + dy() / 64;
        for (const int row : box.Rows) {
            const auto& [legendText, curve] = c.LegendEntries[static_cast<std::size_t>(row)];
            p.setPen(hairline(toColor(CurveColour(row))));
            marker(curve, QPoint(frame.left() + dx() / 16, y + box.RowHeight / 2));
            p.drawText(frame.left() + dx() / 8, y + (box.RowHeight - fm.height()) / 2 + fm.ascent(), legendText);
            y += box.RowHeight;
        }
    }

    void strip() {
        const TPixelRect& s = c.Layout.Strip;
        const std::vector<TStripBox> boxes = StripBoxes(plot, c.Ranges[0], c.Layout.Plot, s);
        if (boxes.empty()) return;
        p.save();
        p.setClipRect(toRect(s).adjusted(0, 0, 1, 1));
        const bool printer = c.Target == TLayoutTarget::Printer;
        p.setFont(PlotFont(c.FontHeight, false));
        for (const TStripBox& b : boxes) {
            const QRect rect = toRect(b.Rect);
            p.setPen(hairline(Qt::black));
            if (b.Wall) {
                p.setBrush(QColor(128, 128, 128));
            } else {
                p.setBrush(Qt::white);
                p.drawRect(rect);
                p.setBrush(fill(b.Code, printer));
            }
            p.drawRect(rect);
            if (b.Named) {
                const QString name = text(plot.Layers().Items(b.Line)->GetName()).trimmed();
                const QFontMetrics fm = p.fontMetrics();
                QRect label(0, 0, fm.horizontalAdvance(name) + 4, fm.height());
                label.moveCenter(rect.center());
                p.fillRect(label, Qt::white);
                p.drawText(label, Qt::AlignCenter, name);
            }
        }
        p.restore();
    }

    static QBrush fill(int code, bool printer) {
        switch (code) {
            case 2:
                return QBrush(Qt::black, Qt::FDiagPattern);
            case 3:
                return QBrush(Qt::black, Qt::CrossPattern);
            case 4:
                return QBrush(Qt::black, Qt::DiagCrossPattern);
            case 5:
                return QBrush(Qt::black, Qt::HorPattern);
            case 6:
                return QBrush(Qt::black, Qt::VerPattern);
            case 1:
            case 7:
            case 8:
            case 9:
            case 10:
            case 11:
            case 12:
                return QBrush(SoilPattern(code, printer));
            default:
                return Qt::NoBrush;
        }
    }

    void frames() {
        p.setPen(hairline(Qt::black));
        p.setBrush(Qt::NoBrush);
        for (int i = 0; i < panels(); ++i) p.drawRect(toRect(area(i)));
    }
};

}  // namespace

QFont PlotFont(int PixelHeight, bool Bold) {
    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(std::max(PixelHeight, 1));
    font.setWeight(Bold ? QFont::Bold : QFont::Normal);
    return font;
}

const QImage& SoilPattern(int Code, bool Printer) {
    static QHash<int, QImage> cache;
    const int key = Code * 2 + (Printer ? 1 : 0);
    auto found = cache.find(key);
    if (found != cache.end()) return *found;
    initGraphPatterns();
    const QString name =
        QStringLiteral(":/graphs/patterns/soil%1_%2.svg").arg(Code).arg(Printer ? "printer" : "screen");
    QSvgRenderer svg(name);
    QImage image;
    if (svg.isValid()) {
        image = QImage(svg.defaultSize(), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        svg.render(&painter);
    }
    return *cache.insert(key, image);
}

TLegendBox LegendBoxOf(QPainter& Painter, const TGraphPlot& Plot, const TPlotCanvas& Canvas) {
    TLegendBox box;
    const TObjectList<TLine>& set = Plot.Lines();
    const int points = LegendMetrics(Plot.SizeFont, Plot.LegendFont).FontPoints;
    Painter.setFont(PlotFont((points * Canvas.DpiY + 36) / 72, false));  // points to pixels, rounded
    const QFontMetrics fm = Painter.fontMetrics();
    int widest = 0;
    for (int k = 0; k < static_cast<int>(Canvas.LegendEntries.size()); ++k) {
        const auto& [legendText, curve] = Canvas.LegendEntries[static_cast<std::size_t>(k)];
        if (curve < 0 || curve >= set.Count() || !set.Items(curve)->Visible) continue;
        box.Rows.push_back(k);
        widest = std::max(widest, fm.horizontalAdvance(legendText));
    }
    if (box.Rows.empty()) return box;
    box.RowHeight = fm.height() + Canvas.DpiY / 32;
    box.Rect = LegendBoxRect(Canvas.LegendAt, widest + 3 * Canvas.DpiX / 16,
                             static_cast<int>(box.Rows.size()) * box.RowHeight + Canvas.DpiY / 32, Canvas.Layout.Plot,
                             Canvas.Layout.Page);
    return box;
}

void PaintPlot(QPainter& P, const TGraphPlot& Plot, const TPlotCanvas& Canvas) {
    const TPixelRect& page = Canvas.Layout.Page;
    P.fillRect(toRect(page), Qt::white);
    if (page.Width() < Canvas.DpiX || page.Height() < Canvas.DpiY) return;
    Painter painter{P, Plot, Canvas, std::max(1, Canvas.ScaledFontHeight(Plot.SizeFont))};
    P.save();
    painter.captions();
    for (int i = 0; i < painter.panels(); ++i) painter.grid(i);
    for (int i = 0; i < painter.panels(); ++i) painter.curves(i);
    if (Canvas.DrawLegendBox) painter.legendBox();
    if (Plot.ShowLayers) painter.strip();
    painter.frames();
    P.restore();
}

}  // namespace velmor::components
