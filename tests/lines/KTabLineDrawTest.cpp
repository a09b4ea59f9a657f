// Drawing a tablature line: the frame it asks for, the string names of an
// alternate tuning, the drawing cache kept current, the attachments, and a
// line of frets, bars and stems painted with the real symbol pictures.

#include <QImage>
#include <QString>
#include <algorithm>
#include <string>
#include <vector>

#include "TabLineTestSupport.h"
#include "common/DrawTestSupport.h"
#include "lines/KSpeedLine.h"
#include "model/DocServices.h"
#include "model/KExtendedObj.h"
#include "platform/qt/KQtImageDC.h"
#include "platform/qt/KQtSymbolLoader.h"
#include "platform_qt/WidgetTestApp.h"

namespace {

constexpr int kOriginX = 5;
constexpr int kTop = 10;

class KTabLineDrawTest : public TabLineTest {
 protected:
  KTabLineDrawTest() { ResetSymbolCache(); }
  ~KTabLineDrawTest() override { ResetSymbolCache(); }

  static std::string Drawn(KTabLine& line, int sizeIndex = 0, int redrawX = 0, int mode = 1) {
    RecordingDC dc;
    line.Draw(&dc, kTop, redrawX, sizeIndex, kOriginX, mode, 0, 0, 0, 0);
    return dc.Text();
  }

  FakeSymbolLoader loader;
  ScopedSymbolLoader loaderScope{loader};
};

bool StartsWith(const std::string& text, const std::string& prefix) {
  return text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

// The frame comes first: the string lines of the tuning from the line's left
// end (indent included) at the top string row, with the bar of column 0 (a
// single bar without one) and the word "TAB" unless the line or the
// preference leaves it out.
TEST_F(KTabLineDrawTest, TheFrameIsDrawnWithTheLinesBarAndTabWord) {
  struct Case {
    const char* name;
    CString tuning;
    DWORD flags;
    int showTabWord;
    int staffLength;
    int columnZeroBar;  // 0: a note in column 0
    int bar;
    DWORD frameFlags;
  } cases[] = {
      {"standard", kStandardTuning, 0, 1, 0, 0, 21, 0},
      {"line without the word", kStandardTuning, 0x200, 1, 0, 0, 21, 0x200},
      {"preference without the word", kStandardTuning, 0, 0, 0, 0, 21, 0x200},
      {"double bar in column 0", kStandardTuning, 0, 1, 0, 22, 22, 0},
      {"repeat in column 0", kStandardTuning, 0, 1, 0, 24, 24, 0},
      {"fixed length", kStandardTuning, 0, 1, 400, 0, 21, 0},
      // Notes typed past a fixed length (Auto-Wrap off) still stand on strings.
      {"notes past a fixed length", kStandardTuning, 0, 1, 36, 0, 21, 0},
      {"bass, four strings", kBassTuning4, 0x20, 1, 0, 0, 21, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    g_tabShowTabWord = c.showTabWord;
    for (int size : {0, 1}) {
      KTabLine line(0, c.tuning, c.flags);
      line.SetIndent(9);
      if (c.staffLength > 0) line.SetStaffLength(c.staffLength);
      Fill(line, {c.columnZeroBar != 0 ? new KChord(0, 1, c.columnZeroBar, KChord::kTabRhythm)
                                       : TabNotes(0, {{2, 3}}),
                  TabNotes(2, {{4, 0}}), TabNotes(3, {{3, 1}})});

      const int columnWidth = size == 0 ? 18 : 22;
      const int left = kOriginX + 9 + line.GetLeadInWidth(size);
      const int width = c.staffLength > 0 ? std::max(columnWidth * c.staffLength / 18, 4 * columnWidth)
                                          : 4 * columnWidth + 20;
      RecordingDC expected;
      line.DrawNotes(&expected, line.GetType(), size, kOriginX + 9, kTop + line.GetSpaceAbove(size), 0,
                     left + width - (kOriginX + 9), c.bar, c.frameFlags, line.GetStringCount());
      ASSERT_FALSE(expected.Text().empty());
      EXPECT_TRUE(StartsWith(Drawn(line, size), expected.Text())) << "size " << size;
    }
  }
}

// An alternate tuning draws its string names in the clef area, each on its
// string (centred on it) over a blank box of its width.
TEST_F(KTabLineDrawTest, AlternateTuningsNameTheirStrings) {
  struct Case {
    const char* name;
    CString tuning;
    DWORD flags;
    int key;
    std::vector<std::string> names;  // from the top string row down
    int firstRow;
  } cases[] = {
      {"drop D", "D A D G B E  303742475156", 0, 0, {"E", "B", "G", "D", "A", "D"}, 2},
      // The seventh and eighth string: sharp names in an even key, flat in an odd one.
      {"eight strings, even key", kBassTuning8, 0x20, 0, {"C", "G", "D", "A", "E", "B", "F#", "C#"}, 2},
      {"eight strings, odd key", kBassTuning8, 0x20, 1, {"C", "G", "D", "A", "E", "B", "Gb", "Db"}, 2},
      // The short fifth string is named by its pitch at its start fret.
      {"five strings", "D D G B D   5594247515400!@@!22", 0, 0, {"D", "B", "G", "D", "C"}, 3},
      {"four strings", "  D A D G   *001825303500", 0x20, 0, {"G", "D", "A", "D"}, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (int boxes : {0, 1}) {
      g_tabNoNameBoxes = boxes;
      KTabLine line(c.key, c.tuning, c.flags);
      ASSERT_TRUE(line.TestFlags(KTabLine::kFlagAltTuning));
      RecordingDC dc;
      line.Draw(&dc, kTop, 0, 0, kOriginX, 1, 0, 0, 0, 0);

      std::vector<std::string> expected;
      const int rowTwoY = kTop + line.GetSpaceAbove(0);
      for (std::size_t k = 0; k < c.names.size(); ++k) {
        const int y = rowTwoY + (c.firstRow - 2 + int(k)) * (g_tabStringSpacing + 1) - 7;
        // The names stand 6 pixels in, clear of the opening bar.
        const std::string at = "TextOut " + std::to_string(kOriginX + 6) + "," + std::to_string(y) + " ";
        if (boxes == 0) expected.push_back(at + "\"" + std::string(c.names[k].size(), ' ') + "\"");
        expected.push_back(at + "\"" + c.names[k] + "\"");
      }
      EXPECT_EQ(TargetLines(dc, {"TextOut"}), expected);
    }
  }
}

TEST_F(KTabLineDrawTest, StandardAndDefaultBassTuningsDrawNoNames) {
  for (const CString& tuning : {kStandardTuning, kBassTuning4}) {
    KTabLine line(0, tuning, tuning == kBassTuning4 ? 0x20 : 0);
    RecordingDC dc;
    line.Draw(&dc, kTop, 0, 0, kOriginX, 1, 0, 0, 0, 0);
    EXPECT_TRUE(TargetLines(dc, {"TextOut"}).empty());
  }
}

// The cache is rebuilt when the line is marked changed, retuned or drawn at
// another size, and not otherwise.
TEST_F(KTabLineDrawTest, TheCacheIsKeptCurrent) {
  KTabLine line(0, kStandardTuning, 0);
  Fill(line, {TabNotes(0, {{2, 3}}), TabNotes(1, {{3, 5}})});
  line.MarkChanged();
  const std::string first = Drawn(line);
  EXPECT_EQ(line.IsChanged(), 0);

  // A change behind the line's back is drawn only once the line is marked.
  AsChord(line.GetObjList()->GetHead())->SetNoteCode(0, KChord::kFirstFret + 7);
  EXPECT_EQ(Drawn(line), first);
  line.MarkChanged();
  const std::string changed = Drawn(line);
  EXPECT_NE(changed, first);
  EXPECT_NE(changed.find("\"7\""), std::string::npos);

  Drawn(line, 1);
  EXPECT_EQ(line.GetDrawingCache()->GetSizeIndex(), 1);

  // Retuned without carrying the notes over: the frets stay, the cache takes
  // the tuning (and with it the frame its strings).
  line.SetTuning(0, kBassTuning4, 0);
  Drawn(line, 1);
  EXPECT_EQ(line.GetDrawingCache()->GetTuning(), kBassTuning4);
  EXPECT_EQ(line.GetDrawingCache()->GetStringCount(), 4);
}

TEST_F(KTabLineDrawTest, ALineEndingLeftOfTheRedrawXDrawsNothing) {
  KTabLine line(0, kStandardTuning, 0);
  Fill(line, {TabNotes(0, {{2, 3}}), TabNotes(4, {{3, 5}})});
  const int right = kOriginX + line.GetLeadInWidth(0) + 5 * 18 + 20;
  EXPECT_TRUE(Drawn(line, 0, right + 1).empty());
  EXPECT_FALSE(Drawn(line, 0, right).empty());
}

TEST_F(KTabLineDrawTest, AnOlderStandardTuningOfNamesOnlyIsRepairedWhenDrawn) {
  for (const char* names : {"S", "E A D G B E "}) {
    KTabLine line(0, names, 0);
    Drawn(line);
    EXPECT_EQ(line.GetTuning(), kStandardTuning) << names;
    EXPECT_EQ(line.GetStringCount(), 6) << names;
  }
}

// Attachments come last, at their column from the line's first column and at
// the top string row; an even drawing mode leaves those of kind 2 out.
TEST_F(KTabLineDrawTest, AttachmentsAreDrawnAtTheirColumnsByTheDrawingMode) {
  KTabLine line(0, kStandardTuning, 0);
  line.SetIndent(6);
  Fill(line, {TabNotes(0, {{2, 3}}), TabNotes(3, {{3, 5}})});
  line.AddAttachment(new KExtendedObj(0, 2, 0, 4, 5, 30, 0));
  line.AddAttachment(new KExtendedObj(3, 4, 2, 4, 5, 30, 0));

  const int x0 = kOriginX + 6 + line.GetLeadInWidth(0);
  const int y = kTop + line.GetSpaceAbove(0);
  for (int mode : {0, 1}) {
    SCOPED_TRACE(mode);
    RecordingDC expected;
    for (POSITION node = line.GetAttachments()->GetHeadPosition(); node != nullptr;) {
      auto* attachment = static_cast<KExtendedObj*>(line.GetAttachments()->GetNext(node));
      if (mode == 0 && attachment->GetKind() == 2) continue;
      attachment->Draw(&expected, line.GetType(), attachment->GetPos() * 18 + x0, y, 0);
    }
    const std::string all = Drawn(line, 0, 0, mode);
    const std::string tail = expected.Text();
    ASSERT_FALSE(tail.empty());
    ASSERT_GE(all.size(), tail.size());
    EXPECT_EQ(all.substr(all.size() - tail.size()), tail);
  }
}

// ---- A tablature line on real pixels ---------------------------------------------

class KTabLineOnImage : public TabLineTest {
 protected:
  KTabLineOnImage() {
    WidgetTestApp();
    ResetSymbolCache();
    SelectSymbolSize(0, 0);
  }
  ~KTabLineOnImage() override { ResetSymbolCache(); }

  KQtSymbolLoader loader{QStringLiteral(STAVLIN_RESOURCE_DIR)};
  ScopedSymbolLoader scope{loader};
};

bool IsDark(QRgb pixel) { return qGray(pixel) < 128; }

int DarkIn(const QImage& image, int left, int top, int right, int bottom) {
  int dark = 0;
  for (int y = top; y <= bottom; ++y) {
    for (int x = left; x <= right; ++x) dark += IsDark(image.pixel(x, y)) ? 1 : 0;
  }
  return dark;
}

// A standard line (chord, beamed eighths, a bar, a half note, a two-digit
// fret, stems) and a drop-D line under it that names its strings, painted with the
// program's symbol pictures and a tablature font. The picture is written to
// the test folder of the build (tab-line.png, and three times as large
// tab-line-x3.png) so that it can be looked at.
TEST_F(KTabLineOnImage, FretsBarsAndStemsPaintOnTheirStrings) {
  constexpr int kEighth = 0;
  constexpr int kHalf = 10;
  KTabLine line(0, kStandardTuning, 0);
  Fill(line,
       {TabNotes(0, {{3, 1}, {4, 0}, {5, 2}, {6, 3}}), TabNotes(1, {{4, 0}}, {}, 0, 0, kEighth),
        TabNotes(2, {{3, 1}}, {}, 0, 0, kEighth), TabNotes(3, {{3, 3}}, {}, 0, 0, kEighth),
        TabNotes(4, {{2, 0}}, {}, 0, 0, kEighth), TabBar(5), TabNotes(6, {{7, 0}, {5, 2}}, {}, 0, 0, kHalf),
        TabNotes(7, {{2, 12}}), TabNotes(8, {{4, 9}}), TabBar(9)});
  line.BeamRange(line.FindNodeAt(1, 0), line.FindNodeAt(4, 0), 1, 0);
  KTabLine dropD(0, "D A D G B E  303742475156", 0);
  Fill(dropD, {TabNotes(0, {{7, 0}, {6, 0}, {5, 0}}), TabNotes(1, {{7, 5}}), TabBar(2)});

  QImage image(300, 200, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    KQtImageDC dc(image);
    LOGFONT logFont;
    logFont.lfHeight = -11;
    logFont.lfWeight = 700;
    SetFaceName(logFont, "Arial");
    CFont font;
    ASSERT_TRUE(font.CreateFontIndirect(&logFont));
    CFont* previous = dc.SelectObject(&font);
    line.Draw(&dc, kTop, 0, 0, kOriginX, 1, 0, 0, 0, 0);
    dropD.Draw(&dc, kTop + 100, 0, 0, kOriginX, 1, 0, 0, 0, 0);
    dc.SelectObject(previous);
  }
  image.save(QStringLiteral("tab-line.png"));
  image.scaled(image.size() * 3).save(QStringLiteral("tab-line-x3.png"));

  const int step = g_tabStringSpacing + 1;
  const int rowTwoY = kTop + line.GetSpaceAbove(0);
  const int lead = kOriginX + line.GetLeadInWidth(0);
  // The six string lines run dark from the line's start to its end, apart
  // from the fret numbers standing on them.
  const int right = lead + 10 * 18;
  for (int row = 2; row <= 7; ++row) {
    const int y = rowTwoY + (row - 2) * step;
    EXPECT_GT(DarkIn(image, kOriginX, y, right, y), (right - kOriginX) * 7 / 10) << "string row " << row;
  }
  // The line ends with its bar in column 9: no string runs on past the bar.
  for (int row = 2; row <= 7; ++row) {
    const int y = rowTwoY + (row - 2) * step;
    EXPECT_EQ(DarkIn(image, lead + 9 * 18 + 18, y, lead + 10 * 18 + 20, y), 0) << "past the bar, row " << row;
  }
  // Every fret is a dark figure on its string, in its column.
  for (POSITION node = line.GetObjList()->GetHeadPosition(); node != nullptr;) {
    const KChord* column = AsChord(line.GetObjList()->GetNext(node));
    for (const RowFret& note : FretsOf(*column)) {
      SCOPED_TRACE("column " + std::to_string(column->GetPos()) + " row " + std::to_string(note.row));
      const int x = lead + 18 * column->GetPos();
      const int y = rowTwoY + (note.row - 2) * step;
      // Dark pixels off the string line itself (above and below it).
      EXPECT_GE(DarkIn(image, x, y - 5, x + 17, y - 2) + DarkIn(image, x, y + 2, x + 17, y + 5), 4);
    }
  }
  // The rhythm hangs under the strings, clear of them: the chord's stem, and
  // the beam that joins the eighths; nothing of it stands above the top string.
  const int bottomY = rowTwoY + 5 * step;
  EXPECT_GT(DarkIn(image, lead, bottomY + 8, lead + 17, bottomY + 16), 3) << "chord stem";
  EXPECT_GT(DarkIn(image, lead + 18 + 9, bottomY + 15, lead + 4 * 18, bottomY + 17), 3 * 40)
      << "beam of the eighths";
  EXPECT_EQ(DarkIn(image, lead, kTop, lead + 10 * 18, rowTwoY - 8), 0) << "above the strings";
  // The drop-D line names its strings in the clef area.
  const int dropTop = kTop + 100 + dropD.GetSpaceAbove(0);
  EXPECT_GT(DarkIn(image, kOriginX, dropTop + 5 * step - 6, kOriginX + 12, dropTop + 5 * step - 2), 2);
}

}  // namespace
