#include "windows/stages/side_view_painter.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>

namespace velmor::windows {

void PaintSideView(QPainter& Painter, const std::vector<sideview::TShape>& Shapes, const QColor& Ink) {
    using sideview::TShape;
    Painter.save();
    const QFontMetrics metrics(Painter.font());
    for (const TShape& shape : Shapes) {
        Painter.setPen(QPen(Ink, shape.PenWidth, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
        switch (shape.What) {
            case TShape::Line:
                Painter.drawLine(shape.Points[0].X, shape.Points[0].Y, shape.Points[1].X, shape.Points[1].Y);
                break;
            case TShape::Polygon: {
                QPolygon polygon;
                for (const sideview::TPixel& p : shape.Points) polygon << QPoint(p.X, p.Y);
                Painter.setBrush(Ink);
                Painter.drawPolygon(polygon);
                break;
            }
            case TShape::Circle:
                Painter.setBrush(Qt::white);
                Painter.drawEllipse(
                    QRect(QPoint(shape.Points[0].X, shape.Points[0].Y), QPoint(shape.Points[1].X, shape.Points[1].Y)));
                break;
            case TShape::Label:
                Painter.setBrush(Qt::NoBrush);
                Painter.drawText(shape.Points[0].X, shape.Points[0].Y + metrics.ascent(),
                                 QString::fromStdString(shape.Text));
                break;
        }
    }
    Painter.restore();
}

}  // namespace velmor::windows
