#include "tables/widgets/chart_view.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "fields/exceptions.h"
#include "tables/grid_table_chart.h"

namespace velmor::components {

namespace {

constexpr int kMaxTicks = 5;

bool validColumn(const TGridTableChart& table, int column) {
    return column >= 0 && column < table.ColumnCount();
}

// A cell as a number: float cells by value, other kinds through their text (an item cell gives its item
// number); a text that is not a number counts as 0.
double cellValue(const TGridTableChart& table, int column, int row) {
    TColumnChart* c = table.Columns(column);
    try {
        return static_cast<double>(c->AsFloat(row));
    } catch (const EInvalidCast&) {
        Extended value = 0;
        return tryParseDecimal(c->GetText(row), value) ? static_cast<double>(value) : 0.0;
    }
}

std::string firstHeaderLine(const TGridTableChart& table, int column) {
    TColumnChart* c = table.Columns(column);
    if (c->GetHeaderCount() == 0) return std::string();
    std::string line = c->GetHeaderLine(0);
    while (!line.empty() && line.back() == ' ') line.pop_back();
    return line;
}

std::vector<std::string> labels(const ChartAxisPicture& axis) {
    std::vector<std::string> texts;
    for (double tick : axisTicks(axis.range, kMaxTicks)) texts.push_back(formatAxisValue(tick, axis.format));
    return texts;
}

}  // namespace

ChartPicture buildChartPicture(const TGridTableChart& table) {
    ChartPicture picture;
    picture.x.inverted = table.InvertedXAxis;
    picture.y.inverted = table.InvertedYAxis;
    const int xColumn = table.XColumn;
    const int yColumn = table.YColumn;
    const int rows = table.RowCount();
    const bool columnsExist = validColumn(table, xColumn) && validColumn(table, yColumn);
    if (columnsExist) {
        picture.x.title = firstHeaderLine(table, xColumn);
        picture.y.title = firstHeaderLine(table, yColumn);
    }
    if (table.VisibleColumnCount() == 3 && xColumn == 0 && yColumn == 1 && validColumn(table, 2)) {
        picture.secondSeries = true;
        picture.legend = true;
        picture.series[0].title = firstHeaderLine(table, 1);
        picture.series[1].title = firstHeaderLine(table, 2);
    }

    std::vector<double> xs;
    std::vector<double> ys;
    if (columnsExist) {
        const double first = rows > 0 ? cellValue(table, yColumn, 0) : 0.0;
        bool constant = rows > 1;
        for (int row = 0; row < rows && constant; ++row) {
            constant =
                cellValue(table, yColumn, row) == first && (!picture.secondSeries || cellValue(table, 2, row) == first);
        }
        picture.constantY = constant;
        for (int row = 0; row < rows; ++row) {
            const double x = cellValue(table, xColumn, row);
            double y = cellValue(table, yColumn, row);
            // A constant series gets a second point a little off the line, as the chart always drew it.
            if (constant && row == 1) y *= 1.001;
            picture.series[0].points.emplace_back(x, y);
            xs.push_back(x);
            ys.push_back(y);
            if (picture.secondSeries) {
                const double y2 = cellValue(table, 2, row);
                picture.series[1].points.emplace_back(x, y2);
                ys.push_back(y2);
            }
        }
        picture.x.range = dataAxisRange(xs);
        picture.y.range = constant ? constantAxisRange(first) : dataAxisRange(ys);
    } else {
        picture.x.range = dataAxisRange(xs);
        picture.y.range = dataAxisRange(ys);
    }
    picture.x.format = chooseAxisFormat(picture.x.range.minimum, picture.x.range.maximum);
    picture.y.format = chooseAxisFormat(picture.y.range.minimum, picture.y.range.maximum);
    return picture;
}

std::vector<PaintSegment> buildPaintSegments(const TGridTableChart& table) {
    std::vector<PaintSegment> segments;
    const int columns[] = {0, 1, 2, 3, table.XColumn, table.YColumn, table.X2Column, table.Y2Column};
    for (int column : columns) {
        if (!validColumn(table, column)) return segments;
    }
    for (int row = 0; row < table.RowCount(); ++row) {
        PaintSegment s;
        s.x1 = cellValue(table, 0, row);
        s.y1 = cellValue(table, 1, row);
        s.x2 = cellValue(table, 2, row);
        s.y2 = cellValue(table, 3, row);
        s.labelX = (cellValue(table, table.XColumn, row) + cellValue(table, table.X2Column, row)) / 2;
        s.labelY = (cellValue(table, table.YColumn, row) + cellValue(table, table.Y2Column, row)) / 2;
        s.number = row + 1;
        segments.push_back(s);
    }
    return segments;
}

ChartView::ChartView(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ChartView::setPicture(ChartPicture picture) {
    picture_ = std::move(picture);
    update();
}

std::vector<std::string> ChartView::xLabels() const {
    return labels(picture_.x);
}

std::vector<std::string> ChartView::yLabels() const {
    return labels(picture_.y);
}

void ChartView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setRenderHint(QPainter::Antialiasing);
    const QFontMetrics metrics(font());
    const std::vector<double> xTicks = axisTicks(picture_.x.range, kMaxTicks);
    const std::vector<double> yTicks = axisTicks(picture_.y.range, kMaxTicks);
    const std::vector<std::string> xTexts = xLabels();
    const std::vector<std::string> yTexts = yLabels();

    int yLabelWidth = 0;
    for (const std::string& text : yTexts) {
        yLabelWidth = std::max(yLabelWidth, metrics.horizontalAdvance(QString::fromStdString(text)));
    }
    const int line = metrics.height();
    const int lastXLabel = xTexts.empty() ? 0 : metrics.horizontalAdvance(QString::fromStdString(xTexts.back()));
    const QRect plot(line + 8 + yLabelWidth + 6, line / 2 + 6, 0, 0);
    QRect area = plot;
    area.setRight(width() - 1 - std::max(10, lastXLabel / 2 + 4));
    area.setBottom(height() - 1 - (2 * line + 12));
    if (area.width() < 10 || area.height() < 10) return;

    auto mapX = [&](double x) {
        double t = (x - picture_.x.range.minimum) / (picture_.x.range.maximum - picture_.x.range.minimum);
        if (picture_.x.inverted) t = 1 - t;
        return area.left() + t * area.width();
    };
    auto mapY = [&](double y) {
        double t = (y - picture_.y.range.minimum) / (picture_.y.range.maximum - picture_.y.range.minimum);
        if (picture_.y.inverted) t = 1 - t;
        return area.bottom() - t * area.height();
    };

    painter.setPen(QColor(225, 225, 225));
    for (double x : xTicks) painter.drawLine(QPointF(mapX(x), area.top()), QPointF(mapX(x), area.bottom()));
    for (double y : yTicks) painter.drawLine(QPointF(area.left(), mapY(y)), QPointF(area.right(), mapY(y)));
    painter.setPen(Qt::black);
    painter.drawRect(area);
    for (std::size_t i = 0; i < xTicks.size(); ++i) {
        const QString text = QString::fromStdString(xTexts[i]);
        const double x = mapX(xTicks[i]);
        painter.drawLine(QPointF(x, area.bottom()), QPointF(x, area.bottom() + 4));
        const int w = metrics.horizontalAdvance(text);
        painter.drawText(QRectF(x - w / 2.0 - 2, area.bottom() + 5, w + 4, line), Qt::AlignCenter, text);
    }
    for (std::size_t i = 0; i < yTicks.size(); ++i) {
        const QString text = QString::fromStdString(yTexts[i]);
        const double y = mapY(yTicks[i]);
        painter.drawLine(QPointF(area.left() - 4, y), QPointF(area.left(), y));
        painter.drawText(QRectF(area.left() - 6 - yLabelWidth, y - line / 2.0, yLabelWidth, line),
                         Qt::AlignRight | Qt::AlignVCenter, text);
    }
    painter.drawText(QRect(area.left(), area.bottom() + line + 8, area.width(), line), Qt::AlignHCenter,
                     QString::fromStdString(picture_.x.title));
    // The vertical title is centred on the plot; in a low chart it may reach up to the window's edges, and
    // a title longer than that is written smaller rather than cut.
    const QString yTitle = QString::fromStdString(picture_.y.title);
    const int room = std::max(1, std::min(area.center().y(), height() - area.center().y()) * 2 - 4);
    painter.save();
    const int titleWidth = metrics.horizontalAdvance(yTitle);
    if (titleWidth > room && font().pointSizeF() > 0) {
        QFont smaller = font();
        smaller.setPointSizeF(font().pointSizeF() * room / titleWidth);
        painter.setFont(smaller);
    }
    painter.translate(2, area.center().y());
    painter.rotate(-90);
    painter.drawText(QRect(-room / 2, 0, room, line), Qt::AlignHCenter, yTitle);
    painter.restore();

    const QColor colours[2] = {QColor(200, 30, 30), QColor(30, 60, 200)};
    painter.setClipRect(area.adjusted(-3, -3, 3, 3));
    for (int s = 0; s < (picture_.secondSeries ? 2 : 1); ++s) {
        const auto& points = picture_.series[s].points;
        painter.setPen(QPen(colours[s], 1.5));
        QPainterPath path;
        for (std::size_t i = 0; i < points.size(); ++i) {
            const QPointF p(mapX(points[i].first), mapY(points[i].second));
            if (i == 0) {
                path.moveTo(p);
            } else {
                path.lineTo(p);
            }
        }
        painter.drawPath(path);
        painter.setBrush(colours[s]);
        for (const auto& point : points) {
            painter.drawRect(QRectF(mapX(point.first) - 2.5, mapY(point.second) - 2.5, 5, 5));
        }
        painter.setBrush(Qt::NoBrush);
    }
    painter.setClipping(false);

    if (picture_.legend) {
        int textWidth = 0;
        for (const ChartSeries& series : picture_.series) {
            textWidth = std::max(textWidth, metrics.horizontalAdvance(QString::fromStdString(series.title)));
        }
        const QRect box(area.right() - textWidth - 34, area.top() + 4, textWidth + 30, 2 * line + 8);
        painter.setPen(Qt::black);
        painter.setBrush(Qt::white);
        painter.drawRect(box);
        for (int s = 0; s < 2; ++s) {
            const int y = box.top() + 4 + s * line + line / 2;
            painter.setPen(QPen(colours[s], 2));
            painter.drawLine(box.left() + 4, y, box.left() + 20, y);
            painter.setPen(Qt::black);
            painter.drawText(QRect(box.left() + 24, y - line / 2, textWidth + 4, line), Qt::AlignVCenter,
                             QString::fromStdString(picture_.series[s].title));
        }
    }
}

PaintBoxView::PaintBoxView(QWidget* parent) : QWidget(parent) {}

void PaintBoxView::setSegments(std::vector<PaintSegment> segments) {
    segments_ = std::move(segments);
    update();
}

void PaintBoxView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    if (segments_.empty()) return;
    double xMin = segments_[0].x1, xMax = xMin, yMin = segments_[0].y1, yMax = yMin;
    for (const PaintSegment& s : segments_) {
        xMin = std::min({xMin, s.x1, s.x2});
        xMax = std::max({xMax, s.x1, s.x2});
        yMin = std::min({yMin, s.y1, s.y2});
        yMax = std::max({yMax, s.y1, s.y2});
    }
    if (xMax == xMin && yMax == yMin) return;
    constexpr int kMargin = 20;
    const double w = width() - 2 * kMargin;
    const double h = height() - 2 * kMargin;
    auto mapX = [&](double x) { return kMargin + (xMax == xMin ? w / 2 : (x - xMin) / (xMax - xMin) * w); };
    auto mapY = [&](double y) { return kMargin + h - (yMax == yMin ? h / 2 : (y - yMin) / (yMax - yMin) * h); };
    painter.setRenderHint(QPainter::Antialiasing);
    const QFontMetrics metrics(font());
    for (const PaintSegment& s : segments_) {
        painter.setPen(Qt::black);
        painter.drawLine(QPointF(mapX(s.x1), mapY(s.y1)), QPointF(mapX(s.x2), mapY(s.y2)));
        const QString number = QString::number(s.number);
        painter.drawText(QPointF(mapX(s.labelX), mapY(s.labelY) + metrics.ascent() / 2.0 - 1), number);
    }
}

}  // namespace velmor::components
