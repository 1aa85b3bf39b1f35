#pragma once

#include <QColor>
#include <vector>

#include "sideview/side_view_geometry.h"

class QPainter;

namespace velmor::windows {

// Draws the side view's shapes with pens and text in `Ink`: lines, the wall filled with ink, white circles
// outlined in ink, text with its top left at the shape's point. One routine for the window and the printer.
void PaintSideView(QPainter& Painter, const std::vector<sideview::TShape>& Shapes, const QColor& Ink);

}  // namespace velmor::windows
