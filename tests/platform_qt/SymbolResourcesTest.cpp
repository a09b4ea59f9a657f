// The committed music-symbol bitmaps: every resource id that the symbol cache,
// the chord-diagram drawer and the keyboard picture can load must exist as a
// readable PNG of the right kind. The ids are worked out here from the cache's
// family rules, independently of the generator's index.

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QString>
#include <QTextStream>
#include <map>
#include <string>
#include <vector>

namespace {

enum class Kind { Mono, Colour };

// Resource id -> expected kind, for every id a load can ask for.
std::map<int, Kind> ExpectedSymbolIds() {
  std::map<int, Kind> ids;
  auto add = [&](int id, Kind kind = Kind::Mono) { ids[id] = kind; };
  // Family 0: note-head triples of the eight sizes, screen small / large and print.
  for (int n = 0; n < 8; ++n) {
    for (int k = 0; k < 3; ++k) {
      add(2268 + 3 * n + k);
      add(2568 + 3 * n + k);
      add(2868 + 3 * n + k);
    }
  }
  for (int c = 13; c <= 111; ++c) {
    add(2110 + c);
    add(2710 + c);
  }
  for (int c = 125; c <= 223; ++c) add(2298 + c);
  for (int c = 224; c <= 249; ++c) {
    add(3076 + c);
    add(3288 + (c - 112));
  }
  // Bar-line pieces, codes 1000..9999: group g, kind k.
  for (int g = 0; g < 5; ++g) {
    for (int k = 0; k < 8; ++k) {
      add(2300 + 8 * g + k);
      add(2600 + 8 * g + k);
      add(2900 + 8 * g + k);
    }
  }
  for (int c = 10000; c <= 10111; ++c) {
    add(c - 5890);
    add(c - 5290);
  }
  for (int c = 10112; c <= 10223; ++c) add(c - 5702);
  // Family 1: flags.
  for (int i = 0; i < 24; ++i) add(i < 12 ? 2230 + i : 2518 + i);
  for (int i = 0; i < 12; ++i) add(2830 + i);
  // Families 2 and 3: bracket hooks and braces.
  for (int id : {3800, 3801, 3804, 3805, 3820, 3821, 3822, 3823}) add(id);
  // Family 4: clefs.
  for (int i = 0; i < 20; ++i) add(i < 10 ? 2100 + i : 2390 + i);
  for (int i = 0; i < 10; ++i) add(2700 + i);
  // Family 5: rhythm symbols.
  for (int i = 0; i < 54; ++i) {
    add(3505 + i);
    add(3605 + i);
  }
  // Family 6: note-head forms.
  for (int i = 0; i < 12; ++i) add(i < 6 ? 2350 + i : 2644 + i);
  for (int i = 0; i < 6; ++i) add(2950 + i);
  // Family 7: the key-signature picture's accidentals.
  for (int id : {5361, 5362, 5363}) add(id);
  // Families 8 and 11: flat and sharp of chord names, normal and enlarged.
  for (int id : {2140, 5205, 2740, 5208, 2138, 5206, 2738, 5207}) add(id);
  // Family 9: time-signature figures, codes 98..133.
  for (int code = 98; code <= 133; ++code) {
    const int i = code - 98;
    add(i < 18 ? 2250 + i : 2532 + i);
    if (i < 18) add(2850 + i);
  }
  // Family 10: stroke symbols.
  for (int i = 0; i < 8; ++i) add(i < 4 ? 2356 + i : 2652 + i);
  for (int i = 0; i < 4; ++i) add(2956 + i);
  // Family 12: wide symbols, indexes 0..19 and 1000..1019 (colour variant).
  for (int index : {0, 1000}) {
    for (int n = 0; n < 20; ++n) {
      const int i = (index + n) % 1000;
      const int v = index + n >= 1000 ? 1 : 0;
      add(2370 + 10 * v + (i % 10) + (i >= 10 ? 300 : 0), v == 1 ? Kind::Colour : Kind::Mono);
      if (i < 10) add(2970 + i + 10 * v);
    }
  }
  // Chord-diagram frame pieces and keyboard-picture pieces.
  for (int id : {5203, 5204, 3850, 3851, 3852, 3853, 3854, 3855, 3856, 3857, 3858, 3859}) add(id);
  for (int id : {5107, 5108, 5109, 5113, 5114, 5115, 5116, 5117}) add(id);
  add(5620, Kind::Colour);
  add(5621, Kind::Colour);
  // The toolboxes: the palettes (5466 + kind, but the fretboard's 5483),
  // the fretboards by string count, their fret-number strips, the keyboard
  // and the two marks; the bracket style dialog's pictures.
  for (int kind = 0; kind < 20; ++kind)
    if (kind != 17) add(5466 + kind, Kind::Colour);
  for (int strings = 2; strings <= 8; ++strings) add(5488 + strings, Kind::Colour);
  for (int id : {5133, 5623, 5624, 5625, 5410, 5412}) add(id, Kind::Colour);
  for (int id = 5334; id <= 5349; ++id) add(id);
  add(5130);
  add(5131);
  return ids;
}

QString PathOf(int id) { return QString(STAVLIN_RESOURCE_DIR) + "/symbols/" + QString::number(id) + ".png"; }

QImage Load(int id) { return QImage(PathOf(id), "PNG"); }

bool OnlyBlackAndWhite(const QImage& image) {
  const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  for (int y = 0; y < rgb.height(); ++y) {
    for (int x = 0; x < rgb.width(); ++x) {
      const QRgb p = rgb.pixel(x, y) & 0xFFFFFF;
      if (p != 0 && p != 0xFFFFFF) {
        return false;
      }
    }
  }
  return true;
}

bool HasInk(const QImage& image) {
  const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  for (int y = 0; y < rgb.height(); ++y) {
    for (int x = 0; x < rgb.width(); ++x) {
      if ((rgb.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) {
        return true;
      }
    }
  }
  return false;
}

struct IndexLine {
  int width = 0, height = 0, originX = 0, originY = 0;
};

std::map<int, IndexLine> ReadIndex() {
  std::map<int, IndexLine> lines;
  QFile file(QString(STAVLIN_RESOURCE_DIR) + "/symbols/index.txt");
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
    return lines;
  }
  QTextStream in(&file);
  while (!in.atEnd()) {
    const QString line = in.readLine();
    if (line.startsWith('#') || line.trimmed().isEmpty()) continue;
    const QStringList f = line.split(' ', Qt::SkipEmptyParts);
    if (f.size() != 6) {
      ADD_FAILURE() << "malformed index line: " << line.toStdString();
      continue;
    }
    const int id = f[0].toInt();
    EXPECT_EQ(lines.count(id), 0u) << "id listed twice: " << id;
    lines[id] = {f[1].toInt(), f[2].toInt(), f[3].toInt(), f[4].toInt()};
  }
  return lines;
}

TEST(SymbolResources, EveryLoadableIdIsAPictureOfItsKind) {
  std::vector<int> missing, notMono, notColour, blank;
  for (const auto& [id, kind] : ExpectedSymbolIds()) {
    const QImage image = Load(id);
    if (image.isNull() || image.width() == 0 || image.height() == 0) {
      missing.push_back(id);
      continue;
    }
    if (kind == Kind::Mono && (image.depth() != 1 || !OnlyBlackAndWhite(image))) notMono.push_back(id);
    if (kind == Kind::Colour && OnlyBlackAndWhite(image)) notColour.push_back(id);
    if (!HasInk(image)) blank.push_back(id);
  }
  EXPECT_TRUE(missing.empty()) << "missing or unreadable: " << ::testing::PrintToString(missing);
  EXPECT_TRUE(notMono.empty()) << "not 1-bit black and white: " << ::testing::PrintToString(notMono);
  EXPECT_TRUE(notColour.empty()) << "colour pieces drawn in black only: "
                                 << ::testing::PrintToString(notColour);
  EXPECT_TRUE(blank.empty()) << "empty pictures: " << ::testing::PrintToString(blank);
}

TEST(SymbolResources, DiagramAndKeyboardPiecesHaveTheirFixedSizes) {
  struct Piece {
    int screenId, printId, width, height;
  };
  const Piece pieces[] = {
      {5203, 5204, 43, 43}, {3850, 3851, 203, 4}, {3852, 3853, 203, 5}, {3854, 3855, 20, 5},
      {3856, 3857, 150, 6}, {3858, 3859, 162, 6}, {5107, 5114, 91, 36}, {5109, 5116, 27, 10},
      {5108, 5115, 5, 5},   {5113, 5117, 5, 5},   {5620, 5620, 15, 15}, {5621, 5621, 15, 15},
  };
  for (const Piece& p : pieces) {
    const bool colour = p.screenId == p.printId;
    const QImage screen = Load(p.screenId);
    if (!colour) {
      EXPECT_EQ(screen.size(), QSize(p.width, p.height)) << "screen piece " << p.screenId;
      EXPECT_EQ(Load(p.printId).size(), QSize(3 * p.width, 3 * p.height)) << "print piece " << p.printId;
    } else {
      EXPECT_EQ(screen.size(), QSize(p.width, p.height)) << "colour dot " << p.screenId;
    }
  }
}

TEST(SymbolResources, WideSymbolPrintPicturesAreThreeTimesTheScreenOnes) {
  // The print picture is only measured and filled with the screen picture.
  for (int v = 0; v < 2; ++v) {
    for (int i = 0; i < 10; ++i) {
      const QSize screen = Load(2370 + 10 * v + i).size();
      EXPECT_EQ(Load(2970 + 10 * v + i).size(), screen * 3) << "wide symbol " << i << " variant " << v;
    }
  }
}

TEST(SymbolResources, IndexListsEveryPictureWithItsSize) {
  const std::map<int, IndexLine> index = ReadIndex();
  const std::map<int, Kind> expected = ExpectedSymbolIds();
  EXPECT_EQ(index.size(), expected.size());
  for (const auto& [id, line] : index) {
    EXPECT_EQ(expected.count(id), 1u) << "index lists an id nothing loads: " << id;
    EXPECT_EQ(Load(id).size(), QSize(line.width, line.height)) << "id " << id;
  }
}

// The line drawing cache puts a symbol's top-left corner at a fixed offset from
// the column x and the step's y; the recorded origin is that offset negated.
TEST(SymbolResources, PlacedSymbolsHaveTheirOriginAtTheCacheOffset) {
  struct Row {
    int code, x, y;
  };
  const Row rows[] = {
      {13, 7, -13}, {14, 2, 0},   {15, 2, -3},  {16, 5, -8},  {17, 5, -8},  {18, 4, -8}, {19, 2, -8},
      {20, 0, -10}, {21, 8, 0},   {22, 2, 0},   {23, 2, 0},   {24, 2, 0},   {25, 1, 0},  {26, 2, 0},
      {27, -2, -7}, {28, -2, -8}, {29, -4, -4}, {30, -2, -9}, {31, -8, -9}, {32, 10, 5}, {33, 10, 5},
      {34, 10, -9}, {35, 10, -9}, {36, 14, -3}, {37, 14, -3},
  };
  const std::map<int, IndexLine> index = ReadIndex();
  auto originOf = [&](int id) {
    const auto it = index.find(id);
    return it == index.end() ? QPoint(1000, 1000) : QPoint(it->second.originX, it->second.originY);
  };
  for (const Row& row : rows) {
    EXPECT_EQ(originOf(2110 + row.code), QPoint(-row.x, -row.y)) << "symbol code " << row.code;
  }
  // Small head triples: heads at (5, -3), whole notes at (4, -3).
  for (int n = 0; n < 8; ++n) {
    EXPECT_EQ(originOf(2268 + 3 * n), QPoint(-5, 3)) << "filled head of size " << n;
    EXPECT_EQ(originOf(2268 + 3 * n + 1), QPoint(-5, 3)) << "hollow head of size " << n;
    EXPECT_EQ(originOf(2268 + 3 * n + 2), QPoint(-4, 3)) << "whole note of size " << n;
  }
}

}  // namespace
