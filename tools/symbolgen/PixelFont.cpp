#include "PixelFont.h"

#include <QMap>

namespace {

// Rows from the top, '#' = ink. Narrow tens digits are the characters 'i'
// (narrow 1) and 'z' (narrow 2).
const QMap<QChar, QStringList>& Glyphs() {
  static const QMap<QChar, QStringList> glyphs = {
      {'0', {"###", "#.#", "#.#", "#.#", "###"}}, {'1', {".#.", "##.", ".#.", ".#.", "###"}},
      {'2', {"###", "..#", "###", "#..", "###"}}, {'3', {"###", "..#", ".##", "..#", "###"}},
      {'4', {"#.#", "#.#", "###", "..#", "..#"}}, {'5', {"###", "#..", "###", "..#", "###"}},
      {'6', {"###", "#..", "###", "#.#", "###"}}, {'7', {"###", "..#", ".#.", ".#.", ".#."}},
      {'8', {"###", "#.#", "###", "#.#", "###"}}, {'9', {"###", "#.#", "###", "..#", "###"}},
      {'i', {"#", "#", "#", "#", "#"}},           {'z', {"##", ".#", "##", "#.", "##"}},
      {'A', {".#.", "#.#", "###", "#.#", "#.#"}}, {'B', {"##.", "#.#", "##.", "#.#", "##."}},
      {'C', {".##", "#..", "#..", "#..", ".##"}}, {'D', {"##.", "#.#", "#.#", "#.#", "##."}},
      {'E', {"###", "#..", "##.", "#..", "###"}}, {'F', {"###", "#..", "##.", "#..", "#.."}},
      {'G', {".##", "#..", "#.#", "#.#", ".##"}}, {'#', {"#.#", "###", "#.#", "###", "#.#"}},
      {'b', {"#.", "#.", "##", "##", "##"}},
  };
  return glyphs;
}

}  // namespace

QString PixelNumber(int n) {
  if (n < 10) {
    return QString::number(n);
  }
  const QChar tens = n / 10 == 1 ? QChar('i') : QChar('z');
  return QString(tens) + QString::number(n % 10);
}

int PixelTextWidth(const QString& text) {
  int width = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    width += static_cast<int>(Glyphs().value(text[i]).value(0).size());
    if (i + 1 < text.size() && !(text[i] == 'z' || text[i + 1] == '#')) {
      width += 1;
    }
  }
  return width;
}

void DrawPixelText(Canvas& c, const QString& text, int x, int y, int pixel) {
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QStringList rows = Glyphs().value(text[i]);
    for (int r = 0; r < rows.size(); ++r) {
      for (int col = 0; col < rows[r].size(); ++col) {
        if (rows[r][col] == '#') {
          c.Fill(QRectF((x + col) * pixel, (y + r) * pixel, pixel, pixel));
        }
      }
    }
    x += static_cast<int>(rows.value(0).size());
    if (i + 1 < text.size() && !(text[i] == 'z' || text[i + 1] == '#')) {
      x += 1;
    }
  }
}
