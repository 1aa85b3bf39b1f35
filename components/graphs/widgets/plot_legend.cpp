#include "graphs/widgets/plot_legend.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "graphs/plot_geometry.h"
#include "graphs/widgets/plot_painter.h"

namespace velmor::components {

TPlotLegend::TPlotLegend(TGraphPlot& Plot, QWidget* parent) : QWidget(parent), plot_(Plot) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::SizeAllCursor);
    SetMetrics(fontPoints_, itemHeight_);
}

void TPlotLegend::SetEntries(std::vector<Entry> Entries) {
    entries_ = std::move(Entries);
    FitToEntries();
    update();
}

void TPlotLegend::SetEntryText(int Row, const QString& Text) {
    if (Row < 0 || Row >= static_cast<int>(entries_.size())) return;
    entries_[static_cast<std::size_t>(Row)].Text = Text;
    update();
}

void TPlotLegend::SetMetrics(int FontPoints, int ItemHeight) {
    fontPoints_ = std::max(1, FontPoints);
    itemHeight_ = std::max(1, ItemHeight);
    setFont(PlotFont((fontPoints_ * logicalDpiY() + 36) / 72, false));  // points to pixels, rounded
    FitToEntries();
}

void TPlotLegend::FitToEntries() {
    const QFontMetrics fm(font());
    int widest = 0;
    for (const Entry& e : entries_) widest = std::max(widest, fm.horizontalAdvance(e.Text + " *"));
    const TPixelPoint size = LegendSize(static_cast<int>(entries_.size()), itemHeight_, widest, logicalDpiX());
    resize(size.X, size.Y);
}

void TPlotLegend::KeepInside() {
    if (parentWidget() == nullptr) return;
    const QSize area = parentWidget()->size();
    QPoint at = pos();
    if (at.x() + width() > area.width()) at.setX(area.width() - width());
    if (at.x() < 0) at.setX(0);
    if (at.y() + height() > area.height()) at.setY(area.height() - height());
    if (at.y() < 0) at.setY(0);
    move(at);
}

QString TPlotLegend::rowText(int Row) const {
    const Entry& e = entries_[static_cast<std::size_t>(Row)];
    const bool visible = e.Curve < plot_.GetLineCount() && plot_.GetLine(e.Curve)->Visible;
    return visible ? e.Text + " *" : e.Text;
}

void TPlotLegend::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.setFont(font());
    const QFontMetrics fm(font());
    for (int row = 0; row < static_cast<int>(entries_.size()); ++row) {
        const TRgb c = CurveColour(row);
        p.setPen(QColor(c.R, c.G, c.B));
        const int top = 1 + row * itemHeight_;
        p.drawText(2, top + (itemHeight_ - fm.height()) / 2 + fm.ascent(), rowText(row));
    }
    p.setPen(Qt::black);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void TPlotLegend::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    dragging_ = true;
    grab_ = event->position().toPoint();
}

void TPlotLegend::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_) return;
    move(mapToParent(event->position().toPoint()) - grab_);
    KeepInside();
}

void TPlotLegend::mouseReleaseEvent(QMouseEvent*) {
    dragging_ = false;
}

void TPlotLegend::mouseDoubleClickEvent(QMouseEvent* event) {
    dragging_ = false;
    const int row = (event->position().toPoint().y() - 1) / itemHeight_;
    if (row < 0 || row >= static_cast<int>(entries_.size())) return;
    emit curveToggled(entries_[static_cast<std::size_t>(row)].Curve);
}

}  // namespace velmor::components
