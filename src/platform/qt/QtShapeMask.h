#pragma once
// Rasterises shapes with QPainter into a label mask (see RasterOps.h): the
// drawing callback paints, without antialiasing, in the colours LabelColor
// gives, and each pixel ends up holding the label last painted on it.

#include <QColor>
#include <QPainter>
#include <functional>

#include "platform/RasterOps.h"

namespace qtshape {

QColor LabelColor(BYTE label);
// A pen of the given width in the label's colour, with round ends and joins.
QPen WidePen(int width, BYTE label);
raster::ShapeMask Render(const CRect& area, const std::function<void(QPainter&)>& draw);

}  // namespace qtshape
