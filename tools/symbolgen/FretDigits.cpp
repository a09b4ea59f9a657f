// Tablature fret numbers by symbol code: codes 224..248 are frets 0..24
// (screen ids 3300..3324, print 3400..3424); code 249 is the ring drawn round
// a fret for a hollow (half or whole) note. The origin is the left end of the
// number on the string's row; two-digit frets are drawn a little narrower.

#include <QPainterPath>
#include <cmath>

#include "Catalog.h"
#include "Shapes.h"

namespace {

Bitmap FretNumber(Canvas& c, int fret) {
  const SetMetrics& m = c.metrics();
  const double cap = 7.0 * m.scale;
  const QString text = QString::number(fret);
  c.painter().save();
  if (fret >= 10) {
    c.painter().scale(0.8, 1.0);
  }
  c.Text(text, cap / 0.72, 0, m.mid() + cap / 2);
  c.painter().restore();
  return c.Tight();
}

Bitmap HollowRing(Canvas& c) {
  const SetMetrics& m = c.metrics();
  QPainterPath ring;
  ring.addEllipse(QPointF(5.5 * m.scale, m.mid()), 6.0 * m.scale, 5.0 * m.scale);
  c.Stroke(ring, 1.0 * m.scale);
  return c.Tight();
}

}  // namespace

void AddFretDigits(Catalog& catalog) {
  for (const SetMetrics& m : {SetMetrics::Small(), SetMetrics::Print()}) {
    const int base = m.isPrint() ? 3400 : 3300;
    const QString group = QString("fret numbers, %1").arg(m.name());
    for (int fret = 0; fret <= 24; ++fret) {
      AddSymbol(catalog, base + fret, QString("fret-%1").arg(fret), group, m,
                [fret](Canvas& c) { return FretNumber(c, fret); });
    }
    AddSymbol(catalog, base + 25, "fret-ring", group, m, [](Canvas& c) { return HollowRing(c); });
  }
}
