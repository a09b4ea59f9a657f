#include "view/qt/KQtCursors.h"

#include <QPainter>
#include <QPolygon>

#include "common/SymbolCacheSlots.h"
#include "platform/SymbolLoader.h"
#include "platform/qt/QtBitmapImage.h"
#include "view/CStavlinView.h"

namespace {

constexpr int kAlternatePage = 10000;
// The symbol codes of notes with a stem (eighth to half notes) and the
// codes that have a flag (eighth to 64th notes).
constexpr int kLastStemmed = 11;
constexpr int kLastFlagged = 7;

// A symbol picture as an image: black on white, or null when it cannot be
// loaded.
QImage SymbolPicture(int code) {
  const std::optional<SymbolPlace> place = FindSymbolPlace(0, code, SymbolSet::Screen, false);
  if (!place) return {};
  // Notes are drawn from the current note heads; the cursor uses the plain ones.
  const int id = place->headSlot >= 0 ? ScreenHeadResourceId(0, place->headSlot % 3) : place->resourceId;
  CBitmap bitmap;
  if (!LoadSymbolResource(id, bitmap)) return {};
  return BitmapToQImage(bitmap).convertToFormat(QImage::Format_RGB32);
}

// The black of a picture becomes the cursor's black, its white transparent;
// the picture stands in the middle of the cursor.
QImage CursorFromPicture(const QImage& picture, int code) {
  QImage cursor(KQtCursors::kSize, KQtCursors::kSize, QImage::Format_ARGB32);
  cursor.fill(Qt::transparent);
  const int w = std::min(picture.width(), KQtCursors::kSize);
  const int h = std::min(picture.height(), KQtCursors::kSize);
  const int left = (KQtCursors::kSize - w) / 2;
  const int top = (KQtCursors::kSize - h) / 2;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      if (qGray(picture.pixel(x, y)) < 128) cursor.setPixel(left + x, top + y, qRgba(0, 0, 0, 255));
    }
  }
  // A note head alone says little: stemmed notes get their stem, and the
  // short notes a flag.
  if (code >= 0 && code <= kLastStemmed) {
    QPainter painter(&cursor);
    painter.setPen(QPen(Qt::black, 1));
    const int stemX = left + w - 1;
    const int stemTop = std::max(top - 12, 0);
    painter.drawLine(stemX, top + h / 2, stemX, stemTop);
    if (code <= kLastFlagged) painter.drawLine(stemX, stemTop, stemX + 4, stemTop + 6);
  }
  return cursor;
}

// An arrow pointing right, its tip at the hot spot: a click selects the
// line it points at.
QImage LineSelectArrow(QPoint& hotSpot) {
  QImage image(KQtCursors::kSize, KQtCursors::kSize, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing, false);
  const QPolygon arrow({QPoint(20, 10), QPoint(10, 3), QPoint(10, 8), QPoint(2, 8), QPoint(2, 12),
                        QPoint(10, 12), QPoint(10, 17)});
  painter.setPen(QPen(Qt::white, 1));
  painter.setBrush(Qt::black);
  painter.drawPolygon(arrow);
  hotSpot = QPoint(20, 10);
  return image;
}

// A bracket with an arrow: the start ([ with the arrow's tip on it) or the
// end (]) of the play range goes where the pointer is.
QImage PlayRangeMark(bool start, QPoint& hotSpot) {
  QImage image(KQtCursors::kSize, KQtCursors::kSize, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setPen(QPen(Qt::black, 2));
  const int x = start ? 12 : 20;
  const int hook = start ? 5 : -5;
  painter.drawLine(x, 4, x, 24);
  painter.drawLine(x, 4, x + hook, 4);
  painter.drawLine(x, 24, x + hook, 24);
  painter.setPen(QPen(Qt::black, 1));
  const int tipX = start ? x - 2 : x + 2;
  const int tailX = start ? 2 : 30;
  painter.drawLine(tailX, 14, tipX, 14);
  painter.drawLine(tipX, 14, tipX + (start ? -3 : 3), 11);
  painter.drawLine(tipX, 14, tipX + (start ? -3 : 3), 17);
  hotSpot = QPoint(x, 14);
  return image;
}

}  // namespace

QImage KQtCursors::MakeImage(int id, QPoint& hotSpot) {
  hotSpot = QPoint(kSize / 2, kSize / 2);
  if (id == CStavlinView::kCursorLabels) return LineSelectArrow(hotSpot);
  if (id == CStavlinView::kCursorPlayStart) return PlayRangeMark(true, hotSpot);
  if (id == CStavlinView::kCursorPlayEnd) return PlayRangeMark(false, hotSpot);
  int code = -1;
  if (id >= CStavlinView::kCursorSymbolBase && id < CStavlinView::kCursorAltSymbolBase) {
    code = id - CStavlinView::kCursorSymbolBase;
  } else if (id >= CStavlinView::kCursorAltSymbolBase && id < CStavlinView::kCursorLabels) {
    code = kAlternatePage + id - CStavlinView::kCursorAltSymbolBase;
  }
  if (code < 0) return {};
  const QImage picture = SymbolPicture(code);
  if (picture.isNull()) return {};
  return CursorFromPicture(picture, code);
}

const QCursor& KQtCursors::Get(int id) {
  const auto found = m_cache.find(id);
  if (found != m_cache.end()) return found->second;
  QCursor cursor(Qt::CrossCursor);
  if (id == 0) {
    cursor = QCursor(Qt::ArrowCursor);
  } else if (id != CStavlinView::kCursorCross) {
    QPoint hotSpot;
    const QImage image = MakeImage(id, hotSpot);
    if (!image.isNull()) cursor = QCursor(QPixmap::fromImage(image), hotSpot.x(), hotSpot.y());
  }
  return m_cache.emplace(id, cursor).first->second;
}
