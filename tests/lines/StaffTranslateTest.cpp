// Translating a staff into another clef, into tablature (hand-position marks
// keep the fingering in their positions) and into a rhythm line.

#include <climits>
#include <memory>
#include <string>

#include "StaffConversionTestSupport.h"

namespace {

constexpr int kDrumKind = 13;
constexpr int kNoClefKind = 14;
constexpr int kPercussionKind = 16;
constexpr int kChordKind = 4;
constexpr int kTextKind = 5;
constexpr int kRestCode = 16;
constexpr int kEighthUp = 7;  // an eighth note of voice 0

std::unique_ptr<KLineObj> Translate(KStaffLine& staff, int kind, const CString& tuning = kStandardTuning,
                                    int defaultPosition = 0) {
  return staff.TranslateTo(0, kind, 0, 0, 0, tuning, defaultPosition);
}

class StaffTranslateTest : public StaffConversionTest {};

// ---- Another clef ---------------------------------------------------------------

struct ClefCase {
  int from;
  int to;
  const char* cells;  // "" when no line comes back
};

TEST_F(StaffTranslateTest, AnotherClefKeepsEveryPitch) {
  const ClefCase cases[] = {
      // Row 14 (F5) is row 2 on the bass staff; row 5 has no place there.
      {kTreble, kBass, "0:8@2 1:8@18 2:4@1,254@1 3:16@18"},
      {kTreble, kAlto, "0:8@8 1:8@24 2:4@1,254@1 3:16@18"},
      {kTreble, kTreble8va, "0:8@21 1:8@12 2:4@1,254@1 3:16@18"},
      {kBass, kTreble, "0:8@26 1:8@17 2:4@1,254@1 3:16@18"},
      // A staff without clef keeps its rows.
      {kNoClefKind, kBass, "0:8@14 1:8@5,8@30 2:4@1,254@1 3:16@18"},
      {kTreble, kTreble, ""},
      {kTreble, kDrumKind, ""},
      {kTreble, kPercussionKind, ""},
      {kTreble, kChordKind, ""},
      {kTreble, kTextKind, ""},
      {kTreble, -1, ""},
      {kTreble, 99, ""},
  };
  for (const ClefCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.from) + " to " + std::to_string(c.to));
    KStaffLine staff(c.from, 4, 0);
    Fill(staff, {Column(0, {{14, kQuarter}}), Column(1, {{5, kQuarter}, {30, kQuarter}}), KeySig(2, 4),
                 Column(3, {{18, kRestCode}})});
    const Bytes before = StoreObject(staff);
    std::unique_ptr<KLineObj> result = Translate(staff, c.to);
    auto* converted = dynamic_cast<KStaffLine*>(result.get());
    if (std::string(c.cells).empty()) {
      EXPECT_EQ(result, nullptr);
    } else {
      ASSERT_NE(converted, nullptr);
      EXPECT_EQ(converted->GetType(), c.to);
      EXPECT_EQ(converted->GetKey(), 4);
      EXPECT_EQ(CellsText(*converted), c.cells);
    }
    EXPECT_EQ(StoreObject(staff), before);
  }
}

// ---- Tablature --------------------------------------------------------------------

TEST_F(StaffTranslateTest, StavesWithoutPitchClefGiveNoTablature) {
  for (const int kind : {kDrumKind, kNoClefKind, kPercussionKind}) {
    KStaffLine staff(kind, 0, 0);
    Fill(staff, {Column(0, {{22, kQuarter}})});
    EXPECT_EQ(Translate(staff, kTab), nullptr) << kind;
  }
}

struct TabCase {
  const char* what;
  int kind;
  const char* tuning;
  DWORD flags;    // of the new line
  Frets column0;  // the frets of the tablature column at 0
};

TEST_F(StaffTranslateTest, NotesGoToStringsOfTheTuning) {
  const TabCase cases[] = {
      // E4 and C5: the D string at 2, the B string at 1.
      {"treble", kTreble, "E A D G B E  323742475156", 0, {{3, 1}, {5, 2}}},
      // The same rows on a treble 8vb staff sound an octave lower: E3 and C4,
      // the open low E and the A string at 3.
      {"treble 8vb", kTreble8vb, "E A D G B E  323742475156", 0, {{6, 3}, {7, 0}}},
      // A bass staff's G2 and E3 on a four-string bass (G D A E on rows 3 to
      // 6): the E string at 3, the D string at 2.
      {"bass", kBass, "  E A D G   *002025303500", KTabLine::kFlagBass, {{4, 2}, {6, 3}}},
  };
  for (const TabCase& c : cases) {
    SCOPED_TRACE(c.what);
    KStaffLine staff(c.kind, 0, 0);
    Fill(staff, {Column(0, {{22, kQuarter}, {17, kQuarter}}), Bar(1), KeySig(2, 2)});
    std::unique_ptr<KLineObj> result = Translate(staff, kTab, c.tuning);
    auto* tab = dynamic_cast<KTabLine*>(result.get());
    ASSERT_NE(tab, nullptr);
    EXPECT_EQ(tab->GetTuning(), CString(c.tuning));
    EXPECT_EQ(tab->TestFlags(KTabLine::kFlagBass), c.flags != 0 ? 1 : 0);
    EXPECT_EQ(tab->TestFlags(KLineObj::kFlagKeyChanges), 1) << "a key-signature column was carried over";
    ASSERT_EQ(tab->GetObjCount(), 3);
    EXPECT_EQ(FretsOf(*AsChord(tab->GetObjAt(0, 0))), c.column0);
    EXPECT_TRUE(AsChord(tab->GetObjAt(1, 0))->IsBarColumn());
    EXPECT_EQ(AsChord(tab->GetObjAt(2, 0))->GetNote(0).code, KChord::kKeySignature);
  }
  EXPECT_TRUE(m_ui.Beeps().empty());
}

struct MarkCase {
  const char* text;
  bool onLine;     // the text stands on the line (kind 14) or in a text box beside it
  RowFret marked;  // the fret of G4 inside the marked columns
};

TEST_F(StaffTranslateTest, HandPositionMarksKeepTheirFingering) {
  // G4 is the open G string, the D string at 5, the A string at 10 and the
  // low E string at 15.
  const MarkCase cases[] = {
      {"VII", true, {6, 10}},   {"III", true, {5, 5}}, {"XII", false, {7, 15}}, {"IV", false, {5, 5}},
      {"pos. 5", true, {5, 5}}, {"XX", true, {7, 15}}, {"II", false, {5, 5}},   {"9", false, {6, 10}},
  };
  for (const MarkCase& c : cases) {
    SCOPED_TRACE(c.text);
    KStaffLine staff(kTreble, 0, 0);
    Fill(staff, {Column(3, {{20, kQuarter}}), Column(4, {{20, kQuarter}}), Column(9, {{20, kQuarter}}),
                 Column(10, {{20, kQuarter}})});
    // A line over columns 4 to 9, its number on it or in a text box at its start.
    auto* line = new KExtendedObj(4, 10, 14, 0, 0, 5 * 18, 0);
    if (c.onLine) line->SetText(c.text);
    staff.AddAttachment(line);
    if (!c.onLine) staff.AppendAttachment(new KExtendedObj(4, 11, c.text, "Arial"));
    // The default hand position (modulo 100) is 12 before the mark.
    std::unique_ptr<KLineObj> result = Translate(staff, kTab, kStandardTuning, 112);
    auto* tab = dynamic_cast<KTabLine*>(result.get());
    ASSERT_NE(tab, nullptr);
    ASSERT_EQ(tab->GetObjCount(), 4);
    EXPECT_EQ(FretsOf(*AsChord(tab->GetObjAt(3, 0))), (Frets{{7, 15}})) << "the default position";
    EXPECT_EQ(FretsOf(*AsChord(tab->GetObjAt(4, 0))), Frets{c.marked});
    EXPECT_EQ(FretsOf(*AsChord(tab->GetObjAt(9, 0))), Frets{c.marked});
    EXPECT_EQ(FretsOf(*AsChord(tab->GetObjAt(10, 0))), (Frets{{4, 0}})) << "no position after the mark";
  }
}

// Marks and tunings from a damaged file: long numbers, long numerals, far
// offsets and a broken tuning give a line or none, never a crash.
TEST_F(StaffTranslateTest, DamagedMarksAndTuningsAreHarmless) {
  KStaffLine staff(kTreble, 0, 0);
  Fill(staff, {Column(0, {{20, kQuarter}}), Column(1, {{22, kQuarter}})});
  for (const char* text : {"99999999999999999999", "-5", "IIIIIIIIIIIIVXXXXXXXXXX", "XVIIII", "V", "X"}) {
    auto* mark = new KExtendedObj(0, 10, 14, 0, 0, INT_MAX, 0);
    mark->SetText(text);
    mark->SetOffset(INT_MAX, INT_MIN);
    staff.AddAttachment(mark);
  }
  for (const char* tuning : {"", "E", "garbage text !@@!99,x,-4", "E A D G B E  999999999999"}) {
    SCOPED_TRACE(tuning);
    std::unique_ptr<KLineObj> tab = Translate(staff, kTab, tuning, INT_MIN);
    if (tab != nullptr) {
      EXPECT_EQ(tab->GetType(), kTab);
      EXPECT_EQ(tab->GetAttachmentCount(), staff.GetAttachmentCount());
    }
  }
}

TEST_F(StaffTranslateTest, AttachmentsFollowTheirNotesOntoStrings) {
  KStaffLine staff(kTreble, 0, 0);
  Fill(staff, {Column(0, {{22, kQuarter}}), Column(2, {{17, kQuarter}})});
  staff.AddAttachment(new KExtendedObj(0, 22, 0, 0, 0, 36, 0));  // a tie from E4
  staff.AddAttachment(new KExtendedObj(2, 17, 3, 0, 0, 0, 0));   // a text at C5
  staff.AddAttachment(new KExtendedObj(1, 25, 7, 0, 9, 36, 0));  // brackets below
  staff.AddAttachment(new KExtendedObj(1, 10, 8, 0, 9, 36, 0));  // and above the staff
  std::unique_ptr<KLineObj> tab = Translate(staff, kTab);
  ASSERT_NE(tab, nullptr);
  std::string placed;
  CObList* attachments = tab->GetAttachments();
  for (POSITION node = attachments->GetHeadPosition(); node != nullptr;) {
    const auto* a = static_cast<const KExtendedObj*>(attachments->GetNext(node));
    placed += std::to_string(a->GetPos()) + "@" + std::to_string(a->GetRow()) + "/" +
              std::to_string(a->GetOffset().y) + " ";
  }
  // The tie and the text on the strings of their notes; the brackets (the
  // later one first at its column) above and below the strings.
  EXPECT_EQ(placed, "0@5/0 1@0/0 1@8/0 2@3/0 ");
  EXPECT_EQ(staff.GetAttachmentCount(), 4);
}

// ---- Rhythm line ------------------------------------------------------------------

TEST_F(StaffTranslateTest, NoteValuesBecomeRhythmSymbols) {
  KStaffLine staff(kTreble, 0, 0);
  // Two beamed eighths, a dotted quarter, a half rest, a bar.
  FillNotes(staff, "0=7@22/o0 1=7@20/c0 2=8@18+36@18/00 3=16@18/00 4=21@1/40");
  std::unique_ptr<KLineObj> result = Translate(staff, kRhythm);
  auto* rhythm = dynamic_cast<KRhythmLine*>(result.get());
  ASSERT_NE(rhythm, nullptr);
  std::string items;
  const CObList& list = *rhythm->GetObjList();
  for (POSITION node = list.GetHeadPosition(); node != nullptr;) {
    const auto* item = static_cast<const KRhythmObj*>(list.GetNext(node));
    if (item->GetCode() < KRhythmObj::kFirstSymbolCode) continue;  // the blanks before the first symbol
    items += std::to_string(item->GetCode()) + (item->GetLinkCode() != 0 ? "L" : "") + " ";
  }
  // The eighths linked, the quarter and its dot, the rest's own symbol and
  // the bar line.
  EXPECT_EQ(items, "230L 230L 210 222 217 200 ");
}

}  // namespace
