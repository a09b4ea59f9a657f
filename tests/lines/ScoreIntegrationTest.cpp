// A whole small score: a treble staff over a tablature line of the same
// music, bound in one bracketed line group, with a tie, a hairpin and a text
// box on the staff. It is drawn with the program's symbol pictures into an
// image (written to the temporary folder as stavlin-score.png, with a three
// times magnified copy, for a look), its main parts are checked pixel by
// pixel, and it is stored, loaded and stored again through the archive.

#include <QImage>
#include <string>
#include <vector>

#include "SpeedLineTestSupport.h"
#include "TabLineTestSupport.h"
#include "lines/KStaffLine.h"
#include "lines/KTabLine.h"
#include "lines/LineClasses.h"
#include "model/KExtendedObj.h"
#include "model/KLineGroup.h"
#include "platform/qt/KQtImageDC.h"
#include "platform/qt/KQtSymbolLoader.h"
#include "platform_qt/WidgetTestApp.h"
#include "support/ImageTestSupport.h"

namespace {

using speedline::Fret;
using speedline::StaffColumn;

using namespace stavlin_test;
constexpr int kGroupId = 10000;
constexpr int kImageWidth = 380;
constexpr int kImageHeight = 215;
// Where the lines start (the group bracket stands left of it) and where the
// first line's display line begins.
constexpr int kOriginX = 40;
constexpr int kFirstTop = 30;
constexpr int kBracketX = kOriginX - 10;
constexpr int kColumnWidth = 18;
constexpr int kStaffHeight = 24;
// Staff steps: the top line (F5) is step 14, each step 3 pixels lower.
constexpr int kStep = 3;
constexpr int kTopLineStep = 14;
constexpr const char* kTextFont = "-15,0,0,0,700,1,0,0,0,3,2,1,18,Times New Roman";

// The lines and groups of a score as the document holds them: the lists own
// their objects.
struct Score {
  Score() = default;
  Score(const Score&) = delete;
  Score& operator=(const Score&) = delete;
  ~Score() {
    while (!groups.IsEmpty()) delete groups.RemoveHead();
    while (!lines.IsEmpty()) delete lines.RemoveHead();
  }
  KLineGroup& Group() { return *static_cast<KLineGroup*>(groups.GetHead()); }

  CObList lines{10};
  CObList groups{10};
};

// The document's part for the group: lines by their place in the line list.
class ScoreLines : public KLineSource {
 public:
  explicit ScoreLines(const CObList& lines) : m_lines(lines) {}
  KLineObj* GetLineAt(POSITION position) const override {
    return position != nullptr ? static_cast<KLineObj*>(m_lines.GetAt(position)) : nullptr;
  }

 private:
  const CObList& m_lines;
};

// Points every slot of the group at the line list's lines in order (what the
// document does after a load) and binds them.
void BindGroup(Score& score) {
  KLineGroup& group = score.Group();
  int slot = 0;
  for (POSITION node = score.lines.GetHeadPosition(); node != nullptr; score.lines.GetNext(node)) {
    group.SetSlotLineRef(slot++, node);
  }
  const ScoreLines source(score.lines);
  group.BindLines(source);
  for (POSITION node = score.lines.GetHeadPosition(); node != nullptr;) {
    static_cast<KLineObj*>(score.lines.GetNext(node))->SetGroup(group.GetId(), &group);
  }
  group.EqualizeKeySignatures(source);
}

KChord* StaffBar(int pos, int code = 21) { return new KChord(pos, 1, code, 0); }
KChord* TabBarOf(int pos, int code) { return new KChord(pos, 1, code, KChord::kTabRhythm); }

// Two bars of 4/4 and a last bar of one whole note, on a treble staff:
// a C major chord (C4 on its ledger line), two eighths G4 A4 under one beam,
// a quarter rest, A5 on the ledger line above the staff; two half notes G4
// tied together; a whole C5 and the final bar.
KStaffLine* MakeStaff() {
  auto* staff = new KStaffLine(0, 0, 0);
  Fill(*staff, {
                   StaffColumn(0, {{1, KChord::kTimeSignature}, {1, 103}, {1, 103}}),
                   StaffColumn(1, {{24, 8}, {22, 8}, {20, 8}}),
                   StaffColumn(2, {{20, 0}}),
                   StaffColumn(3, {{19, 0}}),
                   StaffColumn(4, {{18, 16}}),
                   StaffColumn(5, {{12, 9}}),
                   StaffBar(6),
                   StaffColumn(7, {{20, 10}}),
                   StaffColumn(8, {{20, 10}}),
                   StaffBar(9),
                   StaffColumn(10, {{17, 12}}),
                   StaffBar(11, 23),
               });
  // The eighths as one beam group of voice 1: odd opens, even closes.
  AsChord(staff->GetObjAt(2, 0))->SetStemEnd(1, 95);
  AsChord(staff->GetObjAt(3, 0))->SetStemEnd(1, 96);

  // The tie from the first half note to the second, just under the heads.
  RECT points = {3, 5, 9, 5};
  staff->AddAttachment(new KExtendedObj(7, 20, KExtendedObj::kTie, 0, 0, 12, 0, 3, 5, "", "", "", &points));
  // A crescendo under the first bar, and the tempo word above the staff.
  staff->AddAttachment(new KExtendedObj(1, 27, KExtendedObj::kCrescendo, 0, 0, 4 * kColumnWidth, 8));
  staff->AddAttachment(new KExtendedObj(1, 8, "Allegro", kTextFont));
  staff->MarkChanged();
  return staff;
}

// The same music as frets in standard tuning: C4 on the A string at fret 3,
// E4 on the D string at fret 2, G4 the open G string, A4 at its fret 2, A5 on
// the high E string at fret 5, C5 on the B string at fret 1.
KTabLine* MakeTab() {
  auto* tab = new KTabLine(0, kStandardTuning, 0);
  Fill(*tab, {
                 speedline::TabColumn(0, {{1, KChord::kTimeSignature}, {1, 103}, {1, 103}}),
                 TabNotes(1, {{6, 3}, {5, 2}, {4, 0}}),
                 TabNotes(2, {{4, 0}}, {}, 0, 0, 0),
                 TabNotes(3, {{4, 2}}, {}, 0, 0, 0),
                 TabNotes(5, {{2, 5}}),
                 TabBarOf(6, 21),
                 TabNotes(7, {{4, 0}}, {}, 0, 0, 10),
                 TabNotes(8, {{4, 0}}, {}, 0, 0, 10),
                 TabBarOf(9, 21),
                 TabNotes(10, {{3, 1}}, {}, 0, 0, 12),
                 TabBarOf(11, 23),
             });
  AsChord(tab->GetObjAt(2, 0))->SetStemEnd(1, 95);
  AsChord(tab->GetObjAt(3, 0))->SetStemEnd(1, 96);
  tab->MarkChanged();
  return tab;
}

// The score: the staff over the tablature line in one group whose bracket
// number 1 joins them.
void MakeScore(Score& score) {
  KStaffLine* staff = MakeStaff();
  KTabLine* tab = MakeTab();
  const POSITION staffAt = score.lines.AddTail(staff);
  const POSITION tabAt = score.lines.AddTail(tab);
  score.groups.AddTail(new KLineGroup(kGroupId, staffAt, staff->GetType(), staff->GetKey(), tabAt,
                                      tab->GetType(), tab->GetKey(), 1));
  BindGroup(score);
}

// Where the score's lines are drawn: one display line per line, stacked from
// kFirstTop, each as high as its spaces and its staff or strings plus the
// line gap.
std::vector<DisplayLine> StackLines(const Score& score) {
  std::vector<DisplayLine> shown;
  int top = kFirstTop;
  for (POSITION node = score.lines.GetHeadPosition(); node != nullptr;) {
    const POSITION here = node;
    auto* line = static_cast<KListLine*>(score.lines.GetNext(node));
    const int body = line->GetFamily() == KLineObj::kFamilyTab
                         ? (line->GetStringCount() - 1) * (TabStringSpacing(0) + 1)
                         : kStaffHeight;
    const int bottom = top + line->GetSpaceAbove(0) + body + line->GetSpaceBelow(0) +
                       line->GetMarksRoom(0, TabStringSpacing(0) + 1) + g_lineGap;
    shown.push_back(DisplayLine{here, 0, line->GetType(), top, bottom});
    top = bottom;
  }
  return shown;
}

class ScoreIntegration : public LineTest {
 protected:
  ScoreIntegration() {
    WidgetTestApp();
    Reset();
    RegisterLineClasses();
    SelectSymbolSize(0, 0);
    fretFont.CreateFont(-11, 0, 0, 0, 700, 0, 0, 0, 0, 3, 2, 1, 34, "Arial");
  }
  ~ScoreIntegration() override { Reset(); }
  static void Reset() {
    ResetSymbolCache();
    ResetStaffLineServices();
    ResetTabLineOptions();
    ResetLineGroupServices();
    g_fretBoxMargin = 2;
  }

  // Lays the score out and draws it as the view does: each line at its
  // display line's top, then the group's brackets.
  QImage Draw(Score& score) {
    QImage image = WhiteImage(kImageWidth, kImageHeight);
    const std::vector<DisplayLine> shown = StackLines(score);
    score.Group().Layout(shown, 0, 0, TabStringSpacing(0) + 1);
    KQtImageDC dc(image);
    CFont* previous = dc.SelectObject(&fretFont);
    for (const DisplayLine& d : shown) {
      static_cast<KLineObj*>(score.lines.GetAt(d.line))->Draw(&dc, d.top, 0, 0, kOriginX, 1, 0, 0, 0, 0);
    }
    score.Group().DrawBracket(&dc, kBracketX, 1, 0);
    dc.SelectObject(previous);
    return image;
  }

  // The bytes of the score's line list and then its group list.
  static Bytes Store(Score& score) {
    CMemFile file;
    {
      CArchive ar(&file, CArchive::store);
      score.lines.Serialize(ar);
      score.groups.Serialize(ar);
      ar.Close();
    }
    return file.Data();
  }
  static void Load(Score& score, const Bytes& bytes) {
    CMemFile file(bytes.data(), bytes.size());
    CArchive ar(&file, CArchive::load);
    score.lines.Serialize(ar);
    score.groups.Serialize(ar);
    BYTE extra = 0;
    EXPECT_THROW(ar >> extra, CArchiveException) << "bytes left over after the score";
  }

  KQtSymbolLoader loader{QStringLiteral(STAVLIN_RESOURCE_DIR)};
  ScopedSymbolLoader scope{loader};
  CFont fretFont;
};

bool Black(const QImage& image, int x, int y) { return image.pixel(x, y) == kBlack; }

// Pixels in the rectangle that are not white.
int Inked(const QImage& image, int left, int top, int right, int bottom) {
  int count = 0;
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) count += image.pixel(x, y) != kWhite ? 1 : 0;
  }
  return count;
}

TEST_F(ScoreIntegration, TheScoreIsDrawnWithItsLinesNotesAndBracket) {
  Score score;
  MakeScore(score);
  const QImage image = Draw(score);
  SaveForLook(image, "stavlin-score");
  EXPECT_TRUE(m_ui.Messages().empty()) << "every symbol picture loads";

  const auto& staff = *static_cast<KStaffLine*>(score.lines.GetHead());
  const auto& tab = *static_cast<KTabLine*>(score.lines.GetTail());
  const std::vector<DisplayLine> shown = StackLines(score);
  const int topLine = shown[0].top + staff.GetSpaceAbove(0);
  const int topString = shown[1].top + tab.GetSpaceAbove(0);
  const int lead = kOriginX + staff.GetIndent() + staff.GetLeadInWidth(0);
  ASSERT_EQ(lead, kOriginX + tab.GetIndent() + tab.GetLeadInWidth(0)) << "the columns stand together";
  auto columnX = [&](int column) { return lead + column * kColumnWidth; };
  auto stepY = [&](int step) { return topLine + (step - kTopLineStep) * kStep; };

  // The five staff lines and the six strings, with white between them, in the
  // empty stretch after the bar of column 9.
  const int clearX = columnX(9) + 14;
  for (int k = 0; k < 5; ++k) {
    EXPECT_TRUE(Black(image, clearX, topLine + 6 * k)) << "staff line " << k;
    if (k < 4) {
      EXPECT_EQ(image.pixel(clearX, topLine + 6 * k + 3), kWhite) << "staff space " << k;
    }
  }
  const int stringStep = TabStringSpacing(0) + 1;
  for (int k = 0; k < 6; ++k) {
    EXPECT_TRUE(Black(image, clearX, topString + stringStep * k)) << "string " << k;
    if (k < 5) {
      EXPECT_EQ(image.pixel(clearX, topString + stringStep * k + 5), kWhite) << "between strings";
    }
  }
  // Both lines run to the same final bar: black across the staff and the strings.
  const int finalBarX = columnX(11) + 8;
  EXPECT_GT(Inked(image, finalBarX - 4, topLine, finalBarX + 5, topLine + 25), 25 * 2);
  EXPECT_GT(Inked(image, finalBarX - 4, topString, finalBarX + 5, topString + 5 * stringStep), 50 * 2);

  // Filled note heads: the chord's three heads, the eighths, the high A; the
  // C4 and the A5 have their ledger lines left of the head.
  struct Spot {
    int column;
    int row;  // staff step or string row
  };
  for (const Spot& h : {Spot{1, 24}, Spot{1, 22}, Spot{1, 20}, Spot{2, 20}, Spot{3, 19}, Spot{5, 12}}) {
    EXPECT_TRUE(Black(image, columnX(h.column) + 9, stepY(h.row))) << "head " << h.column << "/" << h.row;
  }
  EXPECT_TRUE(Black(image, columnX(1) + 3, stepY(24))) << "ledger line of C4";
  EXPECT_TRUE(Black(image, columnX(5) + 3, stepY(12))) << "ledger line of A5";
  EXPECT_EQ(image.pixel(columnX(10) + 9, stepY(17)), kWhite) << "the whole note is hollow";
  // The beam joins the eighths' stems between the columns.
  EXPECT_GT(Inked(image, columnX(2) + 14, topLine - 7, columnX(3) + 8, topLine - 3), 0) << "beam";

  // Frets as digits on their strings: ink around the middle of each.
  for (const Spot& f : {Spot{1, 6}, Spot{1, 5}, Spot{1, 4}, Spot{5, 2}, Spot{10, 3}}) {
    const int y = topString + (f.row - 2) * stringStep;
    EXPECT_GT(Inked(image, columnX(f.column), y - 4, columnX(f.column) + 14, y + 5), 10)
        << "fret " << f.column << "/" << f.row;
  }

  // The group bracket from the top staff line to the bottom string, and the
  // bracket of bracket number 1 left of it.
  const KLineGroup& group = score.Group();
  EXPECT_EQ(group.GetBracketTop(0), topLine);
  // (The layout ends a group one pixel above its display line's bottom.)
  EXPECT_EQ(group.GetBracketBottom(0), topString + 5 * stringStep - 1);
  for (int y = topLine; y <= topString + 5 * stringStep; y += 7) {
    EXPECT_TRUE(Black(image, kBracketX, y)) << "group bracket at " << y;
    EXPECT_TRUE(Black(image, kBracketX - 3, y)) << "bracket 1 at " << y;
  }
  EXPECT_GT(Inked(image, kBracketX - 4, group.GetBracketTop(1) - 6, kBracketX + 6, group.GetBracketTop(1)), 4)
      << "top hook";
  EXPECT_EQ(Inked(image, 0, 0, kBracketX - 5, kImageHeight), 0) << "nothing further left";

  // The attachments: the tie under the half notes, the hairpin's open end,
  // the tempo word above the staff.
  EXPECT_GT(Inked(image, columnX(7) + 13, stepY(20) + 6, columnX(8) + 5, stepY(20) + 11), 3) << "tie";
  EXPECT_TRUE(Black(image, columnX(1) + 9 + 4 * kColumnWidth - 1, stepY(27)) ||
              Black(image, columnX(1) + 9 + 4 * kColumnWidth - 2, stepY(27)))
      << "hairpin's upper arm at its open end";
  EXPECT_GT(Inked(image, columnX(1), stepY(8) - 12, columnX(5), stepY(8) + 6), 60) << "text box";
}

// The lines and the group stored through the archive, loaded into new
// objects and stored again give the same bytes, and the loaded score draws
// the same picture.
TEST_F(ScoreIntegration, TheScoreSurvivesTheArchive) {
  Score score;
  MakeScore(score);
  const Bytes stored = Store(score);

  Score loaded;
  Load(loaded, stored);
  ASSERT_EQ(loaded.lines.GetCount(), 2);
  ASSERT_EQ(loaded.groups.GetCount(), 1);
  EXPECT_NE(dynamic_cast<KStaffLine*>(loaded.lines.GetHead()), nullptr);
  EXPECT_NE(dynamic_cast<KTabLine*>(loaded.lines.GetTail()), nullptr);
  EXPECT_EQ(Store(loaded), stored);

  BindGroup(loaded);
  EXPECT_EQ(loaded.Group().GetSlotBracket(0, 0), 1);
  EXPECT_EQ(loaded.Group().GetSlotBracket(1, 0), 1);
  EXPECT_EQ(static_cast<KLineObj*>(loaded.lines.GetHead())->GetAttachmentCount(), 3);
  const QImage again = Draw(loaded);
  const QImage first = Draw(score);
  EXPECT_TRUE(again == first) << "the loaded score draws as the original";
  EXPECT_EQ(Store(loaded), stored) << "binding and drawing change nothing stored";
}

}  // namespace
