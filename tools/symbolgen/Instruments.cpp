// The pictures of the fretboard and piano keyboard toolboxes: a fretboard of
// 2 to 8 strings (5490..5496), the strips of fret numbers under it (plain
// numbers 5133, dulcimer and mixolydian half-fret labels 5623 and 5624, other
// fret lists 5625), the 88-key keyboard (5484), and the marks that show a
// clicked or played note (5410 on a key, 5412 on a string). Their measures
// are the toolbox's own (dialogs/toolbox/InstrumentGeometry.h).

#include <QFont>
#include <QPainter>

#include "Catalog.h"
#include "dialogs/toolbox/InstrumentGeometry.h"

namespace {

using namespace instrument;

const QColor kWood(222, 196, 150);
const QColor kWoodDark(190, 160, 112);
const QColor kFret(150, 150, 150);
const QColor kNut(245, 240, 225);
const QColor kString(60, 50, 40);
const QColor kInlay(250, 248, 240);
const QColor kLabelBack(236, 233, 226);
const QColor kKeyEdge(96, 96, 96);
const QColor kMark(214, 32, 32);

Symbol Picture(int id, const QString& name, QImage image) {
  Symbol symbol;
  symbol.id = id;
  symbol.name = name;
  symbol.group = "fretboard and keyboard";
  symbol.bitmap.image = std::move(image);
  return symbol;
}

QImage Fretboard(int strings) {
  const int height = kStringRow * strings + 2;
  QImage image(kFretboardWidth, height, QImage::Format_RGB32);
  image.fill(kWood);
  QPainter p(&image);
  // The wood's grain, a few darker lines along the neck.
  p.setPen(kWoodDark);
  for (int y = 3; y < height; y += 5) p.drawLine(kFretX[0], y, kFretboardWidth - 1, y);
  // Inlays between the frets, a pair at the octaves.
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(Qt::NoPen);
  p.setBrush(kInlay);
  const int middle = height / 2;
  for (int fret : {3, 5, 7, 9, 15, 17, 19, 21}) {
    const double x = (kFretX[fret - 1] + kFretX[fret]) / 2.0;
    p.drawEllipse(QPointF(x, middle), 2.5, 2.5);
  }
  for (int fret : {12, 24}) {
    const double x = (kFretX[fret - 1] + kFretX[fret]) / 2.0;
    const double d = strings >= 4 ? kStringRow : kStringRow / 2.0;
    p.drawEllipse(QPointF(x, middle - d), 2.5, 2.5);
    p.drawEllipse(QPointF(x, middle + d), 2.5, 2.5);
  }
  p.setRenderHint(QPainter::Antialiasing, false);
  // The open strings' space left of the nut is plain.
  p.fillRect(0, 0, kFretX[0] - 1, height, kLabelBack);
  p.fillRect(kFretX[0] - 1, 0, 4, height, kNut);
  p.setPen(QColor(120, 110, 90));
  p.drawLine(kFretX[0] - 2, 0, kFretX[0] - 2, height - 1);
  p.drawLine(kFretX[0] + 3, 0, kFretX[0] + 3, height - 1);
  for (int f = 1; f < kFrets; ++f) {
    p.fillRect(kFretX[f] - 1, 0, 2, height, kFret);
  }
  // The strings, thicker toward the low ones (the bottom rows).
  for (int r = 0; r < strings; ++r) {
    const int y = kStringRow * r + 7;
    const int thickness = r * 3 >= strings * 2 ? 2 : 1;
    p.fillRect(0, y - (thickness == 2 ? 1 : 0), kFretboardWidth, thickness, kString);
  }
  return image;
}

QImage LabelStrip(const QStringList& labels) {
  QImage image(kFretboardWidth, kLabelStripHeight, QImage::Format_RGB32);
  image.fill(kLabelBack);
  QPainter p(&image);
  QFont font("Liberation Sans");
  font.setPixelSize(9);
  font.setStyleStrategy(QFont::NoAntialias);
  p.setFont(font);
  p.setPen(Qt::black);
  for (int f = 0; f < kFrets; ++f) {
    const int left = f == 0 ? 0 : kFretX[f - 1];
    const int right = f == 0 ? kFretX[0] : kFretX[f];
    p.drawText(QRect(left, 0, right - left, kLabelStripHeight), Qt::AlignCenter, labels[f]);
  }
  return image;
}

QStringList PlainLabels() {
  QStringList labels;
  for (int f = 0; f < kFrets; ++f) labels << QString::number(f);
  return labels;
}

QImage Keyboard() {
  QImage image(kKeyboardWidth, kKeyboardHeight, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  p.setPen(kKeyEdge);
  for (int x = 0; x < kKeyboardWidth; x += kWhiteKeyWidth) p.drawLine(x, 0, x, kKeyboardHeight - 1);
  p.drawLine(0, kKeyboardHeight - 1, kKeyboardWidth - 1, kKeyboardHeight - 1);
  p.drawLine(0, 0, kKeyboardWidth - 1, 0);
  for (int octaveStart = -kOctaveShift; octaveStart < kKeyboardWidth; octaveStart += kOctaveWidth) {
    for (int left : kBlackKeyLeft) {
      const int x = octaveStart + left;
      // The highest key is C8: no black key follows it.
      if (x < 0 || x + kBlackKeyWidth > kKeyboardWidth - kWhiteKeyWidth + 2) continue;
      p.fillRect(x, 0, kBlackKeyWidth, kBlackKeyHeight + 1, QColor(20, 20, 20));
    }
  }
  // Each C is named, middle C as C4.
  for (int octave = 1; octave <= 8; ++octave) {
    const int left = (octave - 1) * kOctaveWidth + kOctaveWidth - kOctaveShift;
    const QString name = QString("C%1").arg(octave);
    QFont font("Liberation Sans");
    font.setPixelSize(9);
    font.setStyleStrategy(QFont::NoAntialias);
    p.setFont(font);
    p.setPen(octave == 4 ? QColor(0, 0, 160) : QColor(90, 90, 90));
    p.drawText(QRect(left, kKeyboardHeight - 12, kWhiteKeyWidth, 11), Qt::AlignCenter, name);
  }
  return image;
}

// A round mark on white: the window leaves the white out.
QImage Mark(int size) {
  QImage image(size, size, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(QColor(110, 0, 0), 1));
  p.setBrush(kMark);
  p.drawEllipse(QRectF(0.5, 0.5, size - 1.0, size - 1.0));
  p.end();
  // Antialiased edge pixels that came out nearly white would show as a halo.
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x)
      if (qGray(image.pixel(x, y)) > 235) image.setPixel(x, y, qRgb(255, 255, 255));
  return image;
}

}  // namespace

void AddInstruments(Catalog& catalog) {
  for (int strings = 2; strings <= 8; ++strings) {
    catalog.push_back(
        Picture(5488 + strings, QString("fretboard-%1-strings").arg(strings), Fretboard(strings)));
  }
  catalog.push_back(Picture(5133, "fret-numbers", LabelStrip(PlainLabels())));
  catalog.push_back(
      Picture(5623, "fret-numbers-dulcimer",
              LabelStrip({"0",  "1",  "1+", "2",  "3",   "4",  "5",  "6",   "6+", "7",  "8",  "8+", "9",
                          "10", "11", "12", "13", "13+", "14", "15", "15+", "16", "17", "18", "19"})));
  catalog.push_back(
      Picture(5624, "fret-numbers-mixolydian",
              LabelStrip({"0",  "1",  "2",   "3",  "4",  "5",  "6",  "6+", "7",  "8",  "9",   "10", "11",
                          "12", "13", "13+", "14", "15", "16", "17", "18", "19", "20", "20+", "21"})));
  catalog.push_back(Picture(5625, "fret-numbers-fret-list", LabelStrip(PlainLabels())));
  catalog.push_back(Picture(5484, "piano-keyboard", Keyboard()));
  catalog.push_back(Picture(5410, "keyboard-mark", Mark(9)));
  catalog.push_back(Picture(5412, "fretboard-mark", Mark(13)));
}
