#include "platform/qt/QtShapeMask.h"

#include <QImage>
#include <cstring>

namespace qtshape {

QColor LabelColor(BYTE label) { return QColor(0, 0, 0, label); }

QPen WidePen(int width, BYTE label) {
  return QPen(LabelColor(label), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

raster::ShapeMask Render(const CRect& area, const std::function<void(QPainter&)>& draw) {
  raster::ShapeMask mask(area);
  if (mask.width == 0 || mask.height == 0) return mask;
  QImage image(mask.width, mask.height, QImage::Format_Alpha8);
  image.fill(0);
  {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.translate(-area.left, -area.top);
    draw(painter);
  }
  for (int y = 0; y < mask.height; ++y)
    std::memcpy(mask.labels.data() + static_cast<size_t>(y) * mask.width, image.constScanLine(y),
                static_cast<size_t>(mask.width));
  return mask;
}

}  // namespace qtshape
