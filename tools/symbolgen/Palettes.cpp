// The pictures of the symbol toolbox palettes (ids 5466 + kind), composed
// from the symbol pictures drawn above, cell by cell from the program's own
// table of palette cells, so that each cell shows the symbol a click on it
// enters: notes from their heads and flags, bars on a piece of staff,
// rhythm-line symbols on the rhythm palette, and drawn signs for the control
// cells (cursor mode, joined tails, mutual translation, the caret's arrows,
// the note styles).

#include <QPainter>
#include <QPolygon>
#include <map>

#include "Catalog.h"
#include "dialogs/toolbox/ToolBoxCells.h"

namespace {

using namespace toolbox;

const QColor kBack(255, 255, 255);
const QColor kGrid(176, 176, 176);
const QColor kStaffLine(150, 150, 150);
const QColor kFaded(200, 200, 200);

// Ids of the small screen set's pictures.
constexpr int kCodeBase = 2110;       // symbols by code 13..111
constexpr int kAlternateBase = 4110;  // alternate symbols 10000..10111
constexpr int kHeadTriples = 2268;    // filled, hollow, whole head of each style
constexpr int kFlagBase = 2230;       // flags of codes 0..7
constexpr int kRhythmBase = 3505;     // rhythm symbols 200..
constexpr int kStemLength = 14;

// What a rhythm-palette cell types on a rhythm line, as the rhythm symbol it
// enters there (note style normal).
const std::map<int, int>& RhythmSymbolOf() {
  static const std::map<int, int> table = {
      {12, 205}, {10, 206}, {8, 207},  {0, 223},  {2, 224},  {4, 225},  {6, 226},  {14, 239},
      {15, 240}, {16, 217}, {17, 218}, {18, 219}, {19, 220}, {20, 221}, {36, 222}, {34, 241},
      {28, 250}, {29, 253}, {30, 251}, {31, 249}, {27, 252}, {21, 200}, {22, 201}, {23, 202},
      {24, 203}, {25, 204}, {26, 242}, {94, 248}, {89, 243}, {90, 244}, {70, 245}, {71, 246}};
  return table;
}

class Composer {
 public:
  explicit Composer(const Catalog& catalog) {
    for (const Symbol& s : catalog) m_byId.emplace(s.id, &s.bitmap);
  }

  const Bitmap* Find(int id) const {
    const auto it = m_byId.find(id);
    return it == m_byId.end() ? nullptr : it->second;
  }

  // The black of a picture, transparent elsewhere, in a colour.
  static QImage Ink(const Bitmap& b, const QColor& colour = Qt::black) {
    QImage ink(b.image.size(), QImage::Format_ARGB32);
    ink.fill(Qt::transparent);
    const QImage rgb = b.image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); ++y)
      for (int x = 0; x < rgb.width(); ++x)
        if (qGray(rgb.pixel(x, y)) < 128) ink.setPixel(x, y, colour.rgb());
    return ink;
  }

  // The picture with its origin at (x, y).
  void DrawAt(QPainter& p, int id, int x, int y, const QColor& colour = Qt::black) const {
    if (const Bitmap* b = Find(id)) p.drawImage(x - b->origin.x(), y - b->origin.y(), Ink(*b, colour));
  }

  // The picture centred in the rectangle, made smaller when it does not fit.
  void DrawCentred(QPainter& p, int id, const QRect& box, const QColor& colour = Qt::black) const {
    const Bitmap* b = Find(id);
    if (b == nullptr) return;
    QImage ink = Ink(*b, colour);
    if (ink.width() > box.width() - 2 || ink.height() > box.height() - 2) {
      ink = ink.scaled(box.width() - 2, box.height() - 2, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    p.drawImage(box.left() + (box.width() - ink.width()) / 2, box.top() + (box.height() - ink.height()) / 2,
                ink);
  }

 private:
  std::map<int, const Bitmap*> m_byId;
};

void StaffLines(QPainter& p, const QRect& cell) {
  p.setPen(kStaffLine);
  for (int k = 0; k < 5; ++k)
    p.drawLine(cell.left(), cell.top() + 1 + 6 * k, cell.right() - 1, cell.top() + 1 + 6 * k);
}

void Thin(QPainter& p, int x, const QRect& cell) { p.fillRect(x, cell.top() + 1, 1, 25, Qt::black); }
void Thick(QPainter& p, int x, const QRect& cell) { p.fillRect(x, cell.top() + 1, 3, 25, Qt::black); }
void RepeatDots(QPainter& p, int x, const QRect& cell) {
  p.fillRect(x, cell.top() + 9, 2, 2, Qt::black);
  p.fillRect(x, cell.top() + 15, 2, 2, Qt::black);
}

// Bar lines and repeats on a piece of staff, as the score shows them.
bool DrawBar(QPainter& p, const Composer& c, int code, const QRect& cell) {
  const int x = cell.left() + 9;
  switch (code) {
    case 21:
      StaffLines(p, cell);
      Thin(p, x, cell);
      return true;
    case 22:
      StaffLines(p, cell);
      Thin(p, x - 2, cell);
      Thin(p, x + 2, cell);
      return true;
    case 23:
      StaffLines(p, cell);
      Thin(p, x - 3, cell);
      Thick(p, x, cell);
      return true;
    case 24:
      StaffLines(p, cell);
      Thick(p, x - 5, cell);
      Thin(p, x - 1, cell);
      RepeatDots(p, x + 2, cell);
      return true;
    case 25:
      StaffLines(p, cell);
      RepeatDots(p, x - 4, cell);
      Thin(p, x, cell);
      Thick(p, x + 2, cell);
      return true;
    case 96:
      StaffLines(p, cell);
      RepeatDots(p, x - 7, cell);
      Thin(p, x - 4, cell);
      Thick(p, x - 2, cell);
      Thin(p, x + 2, cell);
      RepeatDots(p, x + 4, cell);
      return true;
    case 26:
    case 97:
      StaffLines(p, cell);
      c.DrawCentred(p, kCodeBase + code, cell.adjusted(1, 4, -1, -4));
      return true;
    case 10022:
    case 10023:
      StaffLines(p, cell);
      c.DrawCentred(p, kAlternateBase + code - kAlternatePage, cell);
      return true;
    default:
      return false;
  }
}

// A note value 0..12 as the score draws it: head, stem and flags.
void DrawNote(QPainter& p, const Composer& c, int code, const QRect& cell) {
  const int head = kHeadTriples + (code == 12 ? 2 : code >= 10 ? 1 : 0);
  const bool up = code % 2 == 0 && code != 12;
  const int anchorX = cell.left() + (up ? 1 : 4);
  const int anchorY = cell.top() + (code == 12 ? 13 : up ? 20 : 7);
  c.DrawAt(p, head, anchorX, anchorY);
  if (code == 12) return;
  if (up) {
    const int stemX = anchorX + 12;
    p.fillRect(stemX, anchorY - kStemLength, 1, kStemLength, Qt::black);
    if (code <= 7) c.DrawAt(p, kFlagBase + code, stemX, anchorY - kStemLength);
  } else {
    const int stemX = anchorX + 5;
    p.fillRect(stemX, anchorY + 1, 1, kStemLength, Qt::black);
    if (code <= 7) c.DrawAt(p, kFlagBase + code, stemX, anchorY + kStemLength);
  }
}

// The head of a note style with a stem, for the note-style palette.
void DrawStyleNote(QPainter& p, const Composer& c, int style, const QRect& box, bool stem) {
  const Bitmap* b = c.Find(kHeadTriples + 3 * style);
  if (b == nullptr) return;
  const int x = box.left() + (box.width() - b->image.width()) / 2 - (stem ? 1 : 0);
  const int y = box.top() + (box.height() - b->image.height()) / 2 + (stem ? 5 : 0);
  p.drawImage(x, y, Composer::Ink(*b));
  if (stem) p.fillRect(x + b->image.width() - 1, y - 12, 1, 12 + b->image.height() / 2, Qt::black);
}

void Arrow(QPainter& p, QPoint tip, int dx, int dy) {
  // A small filled triangle pointing along (dx, dy).
  const QPoint back(tip.x() - 4 * dx, tip.y() - 4 * dy);
  const QPoint side(dy * 3, dx * 3);
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::black);
  p.drawPolygon(QPolygon({tip, back + side, back - side}));
  p.setBrush(Qt::NoBrush);
}

void DrawControl(QPainter& p, const Composer& c, int code, const QRect& cell, int kind) {
  p.setRenderHint(QPainter::Antialiasing, false);
  switch (code) {
    case kArrowCursor: {
      // The mouse pointer: clicks in the score enter nothing while it shows.
      const int x = cell.left() + 6;
      const int y = cell.top() + 5;
      const QPolygon arrow({QPoint(x, y), QPoint(x, y + 14), QPoint(x + 4, y + 10), QPoint(x + 7, y + 16),
                            QPoint(x + 9, y + 15), QPoint(x + 6, y + 9), QPoint(x + 10, y + 9)});
      p.setPen(Qt::black);
      p.setBrush(Qt::white);
      p.drawPolygon(arrow);
      p.setBrush(Qt::NoBrush);
      return;
    }
    case kJoinTails: {
      // Two eighths joined by a beam.
      const int y = cell.top() + 20;
      for (int i = 0; i < 2; ++i) {
        const int ax = cell.left() - 4 + 8 * i;
        c.DrawAt(p, kHeadTriples, ax, y - 2 * i);
        p.fillRect(ax + 12, cell.top() + 6, 1, y - 2 * i - cell.top() - 6, Qt::black);
      }
      p.fillRect(cell.left() + 8, cell.top() + 5, 9, 3, Qt::black);
      return;
    }
    case kMutualTranslation: {
      // A note on a staff and a fret number on tablature, kept in step.
      p.setPen(kStaffLine);
      for (int k = 0; k < 2; ++k)
        p.drawLine(cell.left() + 1, cell.top() + 4 + 4 * k, cell.right() - 1, cell.top() + 4 + 4 * k);
      for (int k = 0; k < 2; ++k)
        p.drawLine(cell.left() + 1, cell.top() + 19 + 4 * k, cell.right() - 1, cell.top() + 19 + 4 * k);
      c.DrawAt(p, kHeadTriples, cell.left() - 2, cell.top() + 6);
      p.fillRect(cell.left() + 2, cell.top() + 18, 5, 7, Qt::white);
      QImage three(3, 5, QImage::Format_ARGB32);
      three.fill(Qt::transparent);
      const char* rows[5] = {"###", "..#", ".##", "..#", "###"};
      for (int r = 0; r < 5; ++r)
        for (int k = 0; k < 3; ++k)
          if (rows[r][k] == '#') three.setPixel(k, r, qRgb(0, 0, 0));
      p.drawImage(cell.left() + 3, cell.top() + 19, three);
      p.fillRect(cell.left() + 13, cell.top() + 8, 1, 11, Qt::black);
      Arrow(p, QPoint(cell.left() + 13, cell.top() + 6), 0, -1);
      Arrow(p, QPoint(cell.left() + 13, cell.top() + 21), 0, 1);
      return;
    }
    case kFirstNoteStyle:
    case kFirstNoteStyle + 1:
    case kFirstNoteStyle + 2:
    case kFirstNoteStyle + 3: {
      if (!HasControlCells(kind)) {
        DrawStyleNote(p, c, code - kFirstNoteStyle, cell, true);
        return;
      }
      // The upper half is the style, the lower half the style four on.
      const int style = code - kFirstNoteStyle;
      const int half = cell.height() / 2;
      const QRect upper(cell.left(), cell.top(), cell.width(), half);
      const QRect lower(cell.left(), cell.top() + half, cell.width(), cell.height() - half);
      DrawStyleNote(p, c, style, upper, false);
      if (kind == kAlternateTab) {
        // The small styles are not used on tablature lines.
        p.fillRect(lower.adjusted(0, 0, -1, -1), kFaded);
      } else {
        DrawStyleNote(p, c, style + 4, lower, false);
      }
      p.setPen(kGrid);
      p.drawLine(cell.left() + 2, cell.top() + half, cell.right() - 2, cell.top() + half);
      return;
    }
    default:
      if (code >= kFirstNoteStyle && code <= kLastNoteStyle) {
        DrawStyleNote(p, c, code - kFirstNoteStyle, cell, true);
      }
      return;
  }
}

// The two cells of the caret's arrows, cut by their diagonals.
void DrawCaretArea(QPainter& p, const QRect& area) {
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(kFaded, 1));
  p.drawLine(area.topLeft(), area.bottomRight() + QPoint(1, 1));
  p.drawLine(area.bottomLeft() + QPoint(0, 1), area.topRight() + QPoint(1, 0));
  p.setRenderHint(QPainter::Antialiasing, false);
  const int mid = area.top() + area.height() / 2;
  const int centre = area.left() + area.width() / 2;
  Arrow(p, QPoint(area.left() + 2, mid), -1, 0);
  Arrow(p, QPoint(area.right() - 1, mid), 1, 0);
  Arrow(p, QPoint(centre, area.top() + 2), 0, -1);
  Arrow(p, QPoint(centre, area.bottom() - 1), 0, 1);
}

void DrawCell(QPainter& p, const Composer& c, int kind, int code, const QRect& cell) {
  if (code == kNotUsed) return;
  if (code >= kNotUsed) {
    DrawControl(p, c, code, cell, kind);
    return;
  }
  if (kind == kRhythm) {
    const auto it = RhythmSymbolOf().find(code);
    if (it != RhythmSymbolOf().end()) c.DrawCentred(p, kRhythmBase + it->second - 200, cell);
    return;
  }
  if (DrawBar(p, c, code, cell)) return;
  if (code <= 12) {
    DrawNote(p, c, code, cell);
  } else if (code < kAlternatePage) {
    c.DrawCentred(p, kCodeBase + code, cell);
  } else {
    c.DrawCentred(p, kAlternateBase + code - kAlternatePage, cell);
  }
}

QImage DrawPalette(const Composer& c, int kind) {
  const KToolBoxKind& k = KindInfo(kind);
  QImage image(k.pictureWidth, k.pictureHeight, QImage::Format_RGB32);
  image.fill(kBack);
  QPainter p(&image);
  const auto cells = CellsOf(kind);
  for (int i = 0; i < static_cast<int>(cells.size()); ++i) {
    const RECT r = CellRect(kind, i);
    const QRect cell(r.left, r.top, r.right - r.left, r.bottom - r.top);
    const int code = cells[static_cast<size_t>(i)];
    if (code == kCaretLeft) {
      DrawCaretArea(p, QRect(cell.left(), cell.top(), 2 * cell.width() - 1, cell.height() - 1));
    } else if (code != kCaretRight) {
      p.save();
      p.setClipRect(cell.adjusted(0, 0, -1, -1));
      DrawCell(p, c, kind, code, cell);
      p.restore();
    }
    // The cells' edges (the caret's two cells are one area).
    p.setPen(kGrid);
    if (code != kCaretLeft) p.drawLine(cell.right(), cell.top(), cell.right(), cell.bottom());
    p.drawLine(cell.left(), cell.bottom(), cell.right(), cell.bottom());
  }
  return image;
}

// The mini palette: the full palette made smaller, its cell edges drawn again.
QImage DrawMiniPalette(const Composer& c) {
  const KToolBoxKind& k = KindInfo(kMiniSymbols);
  QImage full = DrawPalette(c, kSymbols);
  // The full palette's grid would blur into grey: the cells are scaled alone.
  QImage mini(k.pictureWidth, k.pictureHeight, QImage::Format_RGB32);
  mini.fill(kBack);
  QPainter p(&mini);
  const auto cells = CellsOf(kMiniSymbols);
  for (int i = 0; i < static_cast<int>(cells.size()); ++i) {
    const RECT big = CellRect(kSymbols, i);
    const RECT small = CellRect(kMiniSymbols, i);
    const int span = cells[static_cast<size_t>(i)] == kCaretLeft ? 2 : 1;
    if (cells[static_cast<size_t>(i)] == kCaretRight) continue;
    const QImage part =
        full.copy(big.left, big.top, (big.right - big.left) * span - 1, big.bottom - big.top - 1);
    p.drawImage(
        QRect(small.left, small.top, (small.right - small.left) * span - 1, small.bottom - small.top - 1),
        part.scaled((small.right - small.left) * span - 1, small.bottom - small.top - 1,
                    Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    p.setPen(kGrid);
    if (span == 1) p.drawLine(small.right - 1, small.top, small.right - 1, small.bottom - 1);
    p.drawLine(small.left, small.bottom - 1, small.left + (small.right - small.left) * span - 1,
               small.bottom - 1);
  }
  return mini;
}

const char* PaletteName(int kind) {
  static const char* const kNames[kKindCount] = {"palette-symbols",
                                                 "palette-mini-symbols",
                                                 "palette-alternate",
                                                 "palette-alternate-tab",
                                                 "palette-note-styles",
                                                 "palette-common-staff",
                                                 "palette-common-tab",
                                                 "palette-staff-grace",
                                                 "palette-tab-grace",
                                                 "palette-accidentals",
                                                 "palette-bars",
                                                 "palette-dots-accents",
                                                 "palette-ornaments",
                                                 "palette-stemless",
                                                 "palette-other",
                                                 "palette-guitar",
                                                 "palette-drums",
                                                 "",
                                                 "",
                                                 "palette-rhythm"};
  return kNames[kind];
}

}  // namespace

void AddPalettes(Catalog& catalog) {
  const Composer composer(catalog);
  std::vector<Symbol> made;
  for (int kind = 0; kind < kKindCount; ++kind) {
    if (!IsPalette(kind)) continue;
    Symbol symbol;
    symbol.id = KindInfo(kind).pictureId;
    symbol.name = PaletteName(kind);
    symbol.group = "toolbox palettes";
    symbol.bitmap.image = kind == kMiniSymbols ? DrawMiniPalette(composer) : DrawPalette(composer, kind);
    made.push_back(std::move(symbol));
  }
  for (Symbol& symbol : made) catalog.push_back(std::move(symbol));
}
