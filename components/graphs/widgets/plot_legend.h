#pragma once

#include <QFont>
#include <QWidget>
#include <vector>

namespace velmor::components {

class TGraphPlot;

// The legend list of a graph window: one fixed-height row per active curve, drawn in the curve's colour
// with " *" after the text while the curve is visible. Double-clicking a row toggles the curve; the list
// can be dragged with the mouse and stays inside its parent.
class TPlotLegend : public QWidget {
    Q_OBJECT

  public:
    TPlotLegend(TGraphPlot& Plot, QWidget* parent);

    struct Entry {
        QString Text;
        int Curve;  // index in curve set 1
    };
    const std::vector<Entry>& Entries() const { return entries_; }
    void SetEntries(std::vector<Entry> Entries);
    void SetEntryText(int Row, const QString& Text);

    int FontPoints() const { return fontPoints_; }
    int ItemHeight() const { return itemHeight_; }
    // Font size in points and row height in pixels; then the size follows the entries.
    void SetMetrics(int FontPoints, int ItemHeight);
    // Height rows x item height + 3; width the widest entry with " *" plus a quarter inch (21 at least).
    void FitToEntries();
    // Moves the list back inside its parent: right edge, left edge, bottom edge, top edge.
    void KeepInside();

  signals:
    void curveToggled(int Curve);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    QString rowText(int Row) const;

    TGraphPlot& plot_;
    std::vector<Entry> entries_;
    int fontPoints_ = 11;
    int itemHeight_ = 16;
    bool dragging_ = false;
    QPoint grab_;
};

}  // namespace velmor::components
