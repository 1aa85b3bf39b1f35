#pragma once

#include <QWidget>
#include <string>
#include <utility>
#include <vector>

#include "tables/widgets/chart_axis.h"

namespace velmor::components {

class TGridTableChart;

// What the chart of a chart table shows: one or two line series over two axes.
struct ChartSeries {
    std::string title;
    std::vector<std::pair<double, double>> points;  // (x, y) in row order
};

struct ChartAxisPicture {
    std::string title;
    AxisRange range;
    AxisFormat format = AxisFormat::Grouped;
    bool inverted = false;
};

struct ChartPicture {
    ChartSeries series[2];
    bool secondSeries = false;  // series 2 switched on
    bool legend = false;
    bool constantY = false;
    ChartAxisPicture x;
    ChartAxisPicture y;
};

// The chart of a table: series 1 is (XColumn, YColumn) of every row; a grid of exactly three data columns
// with XColumn 0 and YColumn 1 also draws (column 0, column 2) as series 2 with a legend. Y values that
// are all equal get the range of `constantAxisRange`. Column indexes outside the table give no points.
ChartPicture buildChartPicture(const TGridTableChart& table);

// One row of the paint-box mode: a line from (column 0, column 1) to (column 2, column 3) and the row's
// number at the middle of (XColumn, YColumn)-(X2Column, Y2Column).
struct PaintSegment {
    double x1, y1, x2, y2;
    double labelX, labelY;
    int number;  // 1-based
};
std::vector<PaintSegment> buildPaintSegments(const TGridTableChart& table);

// Draws a ChartPicture: axes with round ticks labelled in the axis format, axis titles, the series as lines
// with point marks, and the legend when asked.
class ChartView : public QWidget {
  public:
    explicit ChartView(QWidget* parent = nullptr);
    void setPicture(ChartPicture picture);
    const ChartPicture& picture() const { return picture_; }
    // The tick labels of the axes as drawn.
    std::vector<std::string> xLabels() const;
    std::vector<std::string> yLabels() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    ChartPicture picture_;
};

// Draws the paint-box mode: each row's segment and number, scaled to fill the box inside 20-pixel margins,
// Y upwards. An axis whose values are all equal is drawn in the middle; with both so, nothing is drawn.
class PaintBoxView : public QWidget {
  public:
    explicit PaintBoxView(QWidget* parent = nullptr);
    void setSegments(std::vector<PaintSegment> segments);
    const std::vector<PaintSegment>& segments() const { return segments_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::vector<PaintSegment> segments_;
};

}  // namespace velmor::components
