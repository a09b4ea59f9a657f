#pragma once
// The mouse cursors of the score view by id: the arrow (0), the cross of an
// object placement (32515), the line-selection arrow over the labels (998),
// the play-range start and end cursors (999, 1000), and the symbol cursors
// (600 + symbol code, 800 + alternate symbol code), which are made at run
// time from the symbol pictures that the score itself is drawn with. Each
// cursor is made once and kept.

#include <QCursor>
#include <QImage>
#include <map>

class KQtCursors {
 public:
  // The cursor of the id. A symbol whose picture cannot be loaded, or an id
  // that names nothing, gets the cross.
  const QCursor& Get(int id);

  // The picture of a made cursor (a null image for the system shapes), and
  // its hot spot; for tests and for the cache.
  static QImage MakeImage(int id, QPoint& hotSpot);

  // The cursor size and the symbol cursor's hot spot, the picture's centre.
  static constexpr int kSize = 32;

 private:
  std::map<int, QCursor> m_cache;
};
