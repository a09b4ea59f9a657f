#include "ContactSheet.h"

#include <QFont>
#include <QMap>
#include <QPainter>
#include <cmath>
#include <cstdio>

#include "SetMetrics.h"

namespace {

constexpr int kSheetWidth = 2000;
constexpr int kMargin = 16;

// Ids of the pieces the sample staves use, by set (small, large, print).
struct SetIds {
  int codeBase;    // symbol code c is codeBase + c
  int tripleBase;  // note-head triples
  int flagBase;    // family 1
  int clefBase;    // family 4
  int timeBase;    // family 9, figure code f is timeBase + (f - 98)
};

SetIds IdsOf(SymbolSet set) {
  switch (set) {
    case SymbolSet::Small:
      return {2110, 2268, 2230, 2100, 2250};
    case SymbolSet::Large:
      return {2410, 2568, 2530, 2400, 2550};
    case SymbolSet::Print:
      return {2710, 2868, 2830, 2700, 2850};
  }
  return {};
}

class SheetPainter {
 public:
  SheetPainter(const Catalog& catalog, QPainter& p) : p_(p) {
    for (const Symbol& s : catalog) {
      byId_[s.id] = &s;
    }
  }

  // Draws bitmap id with its origin at (x, y), magnified.
  void Put(int id, double x, double y, int zoom) {
    const Symbol* s = byId_.value(id, nullptr);
    if (s == nullptr) {
      return;
    }
    const QImage& img = s->bitmap.image;
    const QPointF at(x - s->bitmap.origin.x() * zoom, y - s->bitmap.origin.y() * zoom);
    p_.save();
    p_.setCompositionMode(QPainter::CompositionMode_Multiply);
    p_.drawImage(QRectF(at, QSizeF(img.width() * zoom, img.height() * zoom)),
                 img.convertToFormat(QImage::Format_RGB32));
    p_.restore();
  }

  // A five-line staff with notes, rests, signatures and bars set from the symbols.
  double SampleStaff(const SetMetrics& m, double top, int zoom) {
    const SetIds ids = IdsOf(m.set);
    const double z = zoom;
    const double step = m.space / 2 * z;
    const double col = (m.isLarge() ? 22.0 : 18.0 * m.scale) * z;
    const double left = kMargin + 20;
    const double staffTop = top + 8 * m.space * z;
    const double width = 30 * col;
    auto stepY = [&](int s) { return staffTop + (s - 14) * step; };
    auto colX = [&](double c) { return left + c * col; };
    const double lineW = (m.isPrint() ? 2.0 : 1.0) * z;
    p_.setPen(Qt::NoPen);
    p_.setBrush(Qt::black);
    for (int i = 0; i < 5; ++i) {
      p_.drawRect(QRectF(left, stepY(14 + 2 * i), width, lineW));
    }
    auto bar = [&](double c) { p_.drawRect(QRectF(colX(c), stepY(14), lineW, 8 * step + lineW)); };
    auto stem = [&](double x, double y1, double y2) {
      p_.drawRect(QRectF(x, std::min(y1, y2), lineW, std::fabs(y2 - y1)));
    };
    const double headLeft = m.headLeft * z;
    const double stemX = (m.headLeft + m.stemOffset) * z;
    const double stemLen = (m.isLarge() ? 23 : 19 * m.scale) * z;
    auto note = [&](double c, int s, int kind, int stemDir, int flag) {
      Put(ids.tripleBase + kind, colX(c), stepY(s), zoom);
      const double y = stepY(s) + m.mid() * z;
      if (stemDir > 0) {
        stem(colX(c) + stemX, y, y - stemLen);
        if (flag >= 0) Put(ids.flagBase + flag, colX(c) + stemX, y - stemLen, zoom);
      } else if (stemDir < 0) {
        stem(colX(c) + headLeft, y, y + stemLen);
        if (flag >= 0) Put(ids.flagBase + flag, colX(c) + headLeft, y + stemLen, zoom);
      }
    };
    Put(ids.clefBase + 3, colX(0.2), stepY(14), zoom);
    Put(ids.codeBase + 28, colX(2) + 0 * z, stepY(14), zoom);
    Put(ids.codeBase + 28, colX(2) + (m.isLarge() ? 7 : 5 * m.scale) * z, stepY(17), zoom);
    Put(ids.timeBase + 5, colX(3), stepY(14), zoom);
    Put(ids.timeBase + 5, colX(3), stepY(18), zoom);
    note(4, 18, 0, 1, -1);
    note(5, 16, 0, 1, 0);
    Put(ids.codeBase + 28, colX(6), stepY(15), zoom);
    note(6, 15, 0, -1, 1);
    note(7, 20, 1, 1, -1);
    Put(ids.codeBase + 36, colX(7), stepY(19), zoom);
    bar(8.6);
    note(9, 22, 2, 0, -1);
    Put(ids.codeBase + 14, colX(10), stepY(18), zoom);
    Put(ids.codeBase + 15, colX(11), stepY(18), zoom);
    Put(ids.codeBase + 16, colX(12), stepY(18), zoom);
    Put(ids.codeBase + 17, colX(13), stepY(18), zoom);
    Put(ids.codeBase + 18, colX(14), stepY(18), zoom);
    bar(14.9);
    note(15, 12, 0, -1, 3);
    p_.drawRect(QRectF(colX(15) + headLeft - 2 * z, stepY(12), (m.headWidth + 4) * z, lineW));
    note(16, 19, 0, 1, 2);
    Put(ids.codeBase + 30, colX(17), stepY(17), zoom);
    note(17, 17, 0, 1, 4);
    Put(ids.codeBase + 34, colX(18), stepY(17), zoom);
    note(18, 17, 0, 1, -1);
    note(19, 17, 0, 1, -1);
    Put(ids.codeBase + 52, colX(19) + (m.headLeft + m.headWidth / 2) * z, stepY(23), zoom);
    Put(ids.codeBase + 87, colX(18) + (m.headLeft + m.headWidth / 2) * z, stepY(11), zoom);
    // End repeat: strokes at 5 (thin) and 8..10 (thick) past the kind offset 1, then the dots.
    const double rx = colX(20.5);
    const double unit = (m.isLarge() ? 1.0 : m.scale) * z;
    for (int o : {5, 8, 9, 10}) {
      p_.drawRect(QRectF(rx + (1 + o) * unit, stepY(14), unit, 8 * step + lineW));
    }
    Put(ids.codeBase + 25, rx + 1 * unit, stepY(14) + (m.isLarge() ? 12 : 7) * unit, zoom);
    Put(ids.codeBase + 29, colX(22.5), stepY(16), zoom);
    note(23, 16, 0, 1, 6);
    Put(ids.codeBase + 31, colX(24.5), stepY(19), zoom);
    note(25, 19, 0, -1, 7);
    Put(ids.codeBase + 27, colX(26.5), stepY(18), zoom);
    note(27, 18, 0, -1, -1);
    Put(ids.codeBase + 19, colX(28), stepY(18), zoom);
    Put(ids.codeBase + 20, colX(29), stepY(18), zoom);
    return stepY(30) + 4 * m.space * z;
  }

 private:
  QPainter& p_;
  QMap<int, const Symbol*> byId_;
};

}  // namespace

bool WriteContactSheet(const Catalog& catalog, const QString& path, int zoom) {
  // Lay the groups out first to learn the height.
  struct Cell {
    const Symbol* symbol;
    QRect rect;
  };
  QFont labelFont("DejaVu Sans");
  labelFont.setPixelSize(11);
  QFont titleFont("DejaVu Sans");
  titleFont.setPixelSize(16);
  titleFont.setBold(true);

  std::vector<std::pair<QString, double>> titles;
  std::vector<Cell> cells;
  const double sampleHeight = 3 * 8 * 6.0 * zoom + 2 * 8 * 8.0 * zoom + 2 * 8 * 18.75 * zoom / 3;
  double y = kMargin + sampleHeight + 3 * 40;
  QString group;
  int x = kMargin;
  int rowHeight = 0;
  for (const Symbol& s : catalog) {
    const int z = s.set == SymbolSet::Print ? std::max(1, zoom / 3) : zoom;
    if (s.group != group) {
      group = s.group;
      y += rowHeight + 12;
      titles.emplace_back(group, y + 16);
      y += 24;
      x = kMargin;
      rowHeight = 0;
    }
    const int w = std::max(s.bitmap.image.width() * z, 34) + 8;
    const int h = s.bitmap.image.height() * z + 18;
    if (x + w > kSheetWidth - kMargin) {
      x = kMargin;
      y += rowHeight + 6;
      rowHeight = 0;
    }
    cells.push_back({&s, QRect(x, static_cast<int>(y), w, h)});
    x += w;
    rowHeight = std::max(rowHeight, h);
  }
  const int height = static_cast<int>(y) + rowHeight + kMargin;

  QImage sheet(kSheetWidth, height, QImage::Format_RGB32);
  sheet.fill(Qt::white);
  QPainter p(&sheet);
  SheetPainter staves(catalog, p);
  double top = kMargin;
  for (const SetMetrics& m : {SetMetrics::Small(), SetMetrics::Large(), SetMetrics::Print()}) {
    p.setFont(titleFont);
    p.setPen(Qt::darkBlue);
    p.drawText(kMargin, static_cast<int>(top) + 14, QString("sample staff, %1 set").arg(m.name()));
    const int z = m.isPrint() ? std::max(1, zoom / 3) : zoom;
    top = staves.SampleStaff(m, top + 10, z);
  }
  for (const auto& [title, ty] : titles) {
    p.setFont(titleFont);
    p.setPen(Qt::darkBlue);
    p.drawText(kMargin, static_cast<int>(ty), title);
  }
  p.setFont(labelFont);
  for (const Cell& cell : cells) {
    const Symbol& s = *cell.symbol;
    const int z = s.set == SymbolSet::Print ? std::max(1, zoom / 3) : zoom;
    const QImage img = s.bitmap.image.convertToFormat(QImage::Format_RGB32);
    const QRect target(cell.rect.left(), cell.rect.top(), img.width() * z, img.height() * z);
    p.fillRect(target.adjusted(-1, -1, 1, 1), QColor(220, 235, 255));
    p.drawImage(target, img);
    const QPoint origin = target.topLeft() + s.bitmap.origin * z;
    if (target.adjusted(-2, -2, 2, 2).contains(origin)) {
      p.fillRect(QRect(origin - QPoint(1, 1), QSize(3, 3)), Qt::red);
    }
    p.setPen(Qt::darkGray);
    p.drawText(cell.rect.left(), target.bottom() + 14, QString::number(s.id));
  }
  p.end();
  if (!sheet.save(path)) {
    std::fprintf(stderr, "symbolgen: cannot write %s\n", qPrintable(path));
    return false;
  }
  return true;
}
