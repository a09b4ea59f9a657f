// The pictures of the eighteen bracket styles that the bracket style dialog
// shows beside its choices (5334..5349, and 5130 and 5131 for the two
// vertical brackets): each drawn as the score draws that style, with a
// "1." where the style puts its text.

#include <QFont>
#include <QPainter>

#include "Catalog.h"

namespace {

constexpr int kWidth = 64;
constexpr int kHeight = 20;

// Where the text stands and which strokes a style has, as the score draws
// bracket attachments 7..24 (21, the empty bars, is drawn apart).
enum class TextX { Indented, AtStart, Centred };
enum class TextY { Below, HalfAbove, Above, Middle };
struct Style {
  const char* name;
  TextX textX;
  TextY textY;
  bool startHook;
  bool endHook;
  bool lineAfterText;
  bool dashed;
  bool bottom;
  bool up;  // the hooks point up from a line below the text
};

constexpr Style kStyles[18] = {
    {"full", TextX::Indented, TextY::Below, true, true, false, false, false, false},
    {"left-end", TextX::Indented, TextY::Below, true, false, false, false, false, false},
    {"right-end", TextX::AtStart, TextY::HalfAbove, false, true, true, false, false, false},
    {"full-up", TextX::Centred, TextY::Above, true, true, false, false, false, true},
    {"up-left-end", TextX::Indented, TextY::Above, true, false, false, false, false, true},
    {"up-right-end", TextX::AtStart, TextY::HalfAbove, false, true, true, false, false, true},
    {"mid", TextX::AtStart, TextY::HalfAbove, false, false, true, false, false, false},
    {"dashed-full", TextX::Centred, TextY::Below, true, true, false, true, false, false},
    {"dashed-left-end", TextX::Indented, TextY::Below, true, false, false, true, false, false},
    {"dashed-right-end", TextX::AtStart, TextY::HalfAbove, false, true, true, true, false, false},
    {"dashed-full-up", TextX::Centred, TextY::Above, true, true, false, true, false, true},
    {"dashed-up-left-end", TextX::Indented, TextY::Above, true, false, false, true, false, true},
    {"dashed-up-right-end", TextX::AtStart, TextY::HalfAbove, false, true, true, true, false, true},
    {"dashed-mid", TextX::AtStart, TextY::HalfAbove, false, false, true, true, false, false},
    {"empty-bars", TextX::Centred, TextY::Above, false, false, false, false, false, false},
    {"box", TextX::Centred, TextY::Middle, true, true, false, false, true, false},
    {"left-vertical", TextX::AtStart, TextY::Middle, true, false, false, false, true, false},
    {"right-vertical", TextX::AtStart, TextY::Middle, false, true, false, false, true, false},
};

void HorizontalLine(QPainter& p, int x1, int x2, int y, bool dashed) {
  if (!dashed) {
    p.drawLine(x1, y, x2, y);
    return;
  }
  for (int x = x1; x <= x2; x += 4) p.drawLine(x, y, std::min(x + 1, x2), y);
}

QImage Draw(int index) {
  const Style& s = kStyles[index];
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  p.setPen(Qt::black);
  QFont font("Liberation Sans");
  font.setPixelSize(10);
  font.setBold(true);
  p.setFont(font);
  const QString text = "1.";
  const int textWidth = p.fontMetrics().horizontalAdvance(text);
  const int left = 3;
  const int right = kWidth - 4;

  if (index == 14) {
    // Multiple empty bars: a thick bar between two short bar lines, its
    // count above.
    p.fillRect(left + 4, 12, right - left - 8, 4, Qt::black);
    p.drawLine(left + 4, 9, left + 4, 18);
    p.drawLine(right - 4, 9, right - 4, 18);
    p.drawText(QRect(left, 0, right - left, 11), Qt::AlignCenter, "4");
    return image;
  }
  const bool vertical = s.bottom;
  const int lineY = vertical ? 3 : s.up ? 15 : 4;
  const int hookY = vertical ? kHeight - 4 : s.up ? 7 : 13;
  int textX = left;
  if (s.textX == TextX::Indented) textX = left + 4;
  if (s.textX == TextX::Centred) textX = left + (right - left - textWidth) / 2;
  if (index == 16) textX = left + 11;
  if (index == 17) textX = right - 11 - textWidth;
  int textTop = 0;
  switch (s.textY) {
    case TextY::Below:
      textTop = lineY + 1;
      break;
    case TextY::HalfAbove:
      textTop = lineY - 6;
      break;
    case TextY::Above:
      textTop = lineY - 12;
      break;
    case TextY::Middle:
      textTop = (kHeight - 12) / 2;
      break;
  }
  p.drawText(QRect(textX, textTop, textWidth + 2, 12), Qt::AlignLeft | Qt::AlignVCenter, text);
  const int lineStart = s.lineAfterText ? left + textWidth + 2 : left;
  if (s.startHook) p.drawLine(left, lineY, left, hookY);
  if (s.endHook) p.drawLine(right, lineY, right, hookY);
  if (vertical) {
    // A box, or a bracket open to one side: the top and bottom lines reach
    // only a little way from the closed side.
    const int reach = index == 15 ? right : index == 16 ? left + 8 : right;
    const int from = index == 17 ? right - 8 : left;
    HorizontalLine(p, from, reach, lineY, false);
    HorizontalLine(p, from, reach, hookY, false);
    return image;
  }
  HorizontalLine(p, lineStart, right, lineY, s.dashed);
  return image;
}

}  // namespace

void AddBracketStyles(Catalog& catalog) {
  for (int style = 0; style < 18; ++style) {
    Symbol symbol;
    symbol.id = style < 16 ? 5334 + style : 5130 + style - 16;
    symbol.name = QString("bracket-%1").arg(kStyles[style].name);
    symbol.group = "bracket styles";
    symbol.bitmap.image = Draw(style).convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);
    catalog.push_back(std::move(symbol));
  }
}
