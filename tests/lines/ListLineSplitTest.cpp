// Splitting staff and tablature lines at a column (KListLine::SplitAt).

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "../model/NoteLineTestSupport.h"
#include "StaffLineTestSupport.h"
#include "TabLineTestSupport.h"
#include "lines/KChordPicLine.h"
#include "lines/KStaffLine.h"
#include "lines/KTabLine.h"
#include "model/KChordPic.h"
#include "model/KExtendedObj.h"

namespace {

class ListLineSplit : public TabLineTest {
 protected:
  ListLineSplit() {
    ResetStaffLineServices();
    CRuntimeClass::Register(RUNTIME_CLASS(KStaffLine));
  }
  ~ListLineSplit() override { ResetStaffLineServices(); }
};

// A plain attachment (a line, kind 6) anchored at the column and row.
KExtendedObj* Mark(int pos, int row = 10) { return new KExtendedObj(pos, row, 6, 0, 0, 10, 10); }

// Everything a split may change on a line, as text.
std::string Dump(KListLine& line) {
  return NotesText(line) + " | " + AttachText(line) + " | " + std::to_string(line.GetStartBeats()) + "/" +
         std::to_string(line.GetOverrideBeats());
}

std::unique_ptr<KListLine> AsList(std::unique_ptr<KLineObj> line) {
  if (line == nullptr || line->AsListLine() == nullptr) return nullptr;
  return std::unique_ptr<KListLine>(static_cast<KListLine*>(line.release()));
}

}  // namespace

struct CutCase {
  const char* name;
  int column;
  std::vector<int> oldColumns, newColumns;
  std::string oldAttachments, newAttachments;
};

class ListLineSplitCut : public ListLineSplit, public ::testing::WithParamInterface<CutCase> {};

TEST_P(ListLineSplitCut, MovesObjectsAndAttachmentsFromTheCut) {
  const CutCase& c = GetParam();
  KStaffLine line(0, 0, 0);
  FillNotes(line, "4=8@18/00 6=8@16/00 9=8@14/00");
  line.AddAttachment(Mark(5));
  line.AddAttachment(Mark(6));
  line.ClearChanged();

  std::unique_ptr<KListLine> fresh = AsList(line.SplitAt(c.column, 0, 0));
  ASSERT_NE(fresh, nullptr);
  EXPECT_NE(dynamic_cast<KStaffLine*>(fresh.get()), nullptr);
  EXPECT_EQ(line.IsChanged(), 1);
  EXPECT_EQ(Positions(*line.GetObjList()), c.oldColumns);
  EXPECT_EQ(Positions(*fresh->GetObjList()), c.newColumns);
  EXPECT_EQ(AttachText(line), c.oldAttachments);
  EXPECT_EQ(AttachText(*fresh), c.newAttachments);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ListLineSplitCut,
    ::testing::Values(CutCase{"AtAColumn", 6, {4}, {0, 3}, "5:10:6", "0:10:6"},
                      CutCase{"AtZeroEverythingMoves", 0, {}, {4, 6, 9}, "", "5:10:6 6:10:6"},
                      // An attachment between the column and the first moved
                      // object lands on column 0 instead of below it.
                      CutCase{"BetweenColumns", 5, {4}, {0, 3}, "", "0:10:6 0:10:6"},
                      CutCase{"AtTheLength", 10, {4, 6, 9}, {}, "5:10:6 6:10:6", ""},
                      CutCase{"BeyondTheLength", 30, {4, 6, 9}, {}, "5:10:6 6:10:6", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ListLineSplit, NewStaffTakesSettingsAndKeyAtTheColumn) {
  KStaffLine line(kBass, 2, KLineObj::kFlagKeyChanges);
  Fill(line, {Note(0), KeySig(3, 5), Note(5), Note(8)});
  line.SetLabel("Bass!@!data");
  line.SetStaffLength(40);
  line.SetTimeSignature(3, 960, 0);

  std::unique_ptr<KListLine> fresh = AsList(line.SplitAt(6, 0, 0));
  ASSERT_NE(fresh, nullptr);
  EXPECT_EQ(fresh->GetType(), kBass);
  EXPECT_EQ(fresh->GetKey(), 5);
  EXPECT_EQ(fresh->GetLabel(), CString("Bass!@!data"));
  EXPECT_EQ(fresh->GetFlagWord(), KLineObj::kFlagKeyChanges);
  EXPECT_EQ(fresh->GetStaffLength(), 40);
  EXPECT_EQ(fresh->GetStartBeats(), 3);
  EXPECT_EQ(fresh->GetStartBeatTicks(), 960);
  EXPECT_EQ(line.GetOverrideBeats(), 3);
}

TEST_F(ListLineSplit, NewTablatureTakesTuningKindAndFlags) {
  KTabLine line(4, kBassTuning4, KTabLine::kFlagBass);
  Fill(line, {TabNotes(0, {{3, 2}}), TabNotes(4, {{4, 0}})});
  std::unique_ptr<KListLine> fresh = AsList(line.SplitAt(4, 0, 0));
  auto* tab = dynamic_cast<KTabLine*>(fresh.get());
  ASSERT_NE(tab, nullptr);
  EXPECT_EQ(tab->GetType(), KTabLine::kKindBassTab);
  EXPECT_EQ(tab->GetTuning(), line.GetTuning());
  EXPECT_EQ(tab->GetFlagWord(), line.GetFlagWord());
  EXPECT_EQ(tab->GetKey(), 4);
  EXPECT_EQ(Positions(*tab->GetObjList()), std::vector<int>{0});
}

TEST_F(ListLineSplit, NewChordLineTakesTuningFontAndDiagramSize) {
  KChordPicLine line(2, "D A D G B E  303742475156", "15,0,0,0,700,0,0,0,0,3,2,1,34,Arial", 120, 90);
  line.GetObjList()->AddTail(new KChordPic(0, "D", "0000232          000", 1));
  line.GetObjList()->AddTail(new KChordPic(6, "G", "0500033          000", 1));
  std::unique_ptr<KListLine> fresh = AsList(line.SplitAt(6, 0, 0));
  auto* chords = dynamic_cast<KChordPicLine*>(fresh.get());
  ASSERT_NE(chords, nullptr);
  EXPECT_EQ(chords->GetTuning(), line.GetTuning());
  EXPECT_EQ(chords->GetNameFontText(), line.GetNameFontText());
  EXPECT_EQ(chords->GetDiagramWidthPct(), 120);
  EXPECT_EQ(chords->GetDiagramHeightPct(), 90);
  EXPECT_EQ(chords->GetKey(), 2);
  EXPECT_EQ(Positions(*chords->GetObjList()), std::vector<int>{0});
  EXPECT_EQ(Positions(*line.GetObjList()), std::vector<int>{0});
}

// A time signature taken from the line's columns is not carried over as an
// override: the old line's override returns to 0 and the new line starts
// without beats; a user override is kept and carried.
TEST_F(ListLineSplit, OnlyAUserOverrideIsCarried) {
  struct Case {
    int userBeats;
    int oldOverride;
    int newStart;
  };
  for (const Case c : {Case{0, 0, 0}, Case{6, 6, 6}}) {
    KStaffLine line(0, 0, 0);
    Fill(line, {TimeSig(0, 102, 103), Note(2), Note(4)});
    if (c.userBeats > 0) line.SetTimeSignature(c.userBeats, 240, 0);
    std::unique_ptr<KListLine> fresh = AsList(line.SplitAt(4, 0, 0));
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(line.GetOverrideBeats(), c.oldOverride) << c.userBeats;
    EXPECT_EQ(fresh->GetStartBeats(), c.newStart) << c.userBeats;
  }
}

struct BarCase {
  const char* name;
  bool tab;
  const char* notes;
  int column;
  int barFlag;
  const char* oldNotes;
  const char* newNotes;
};

class ListLineSplitBar : public ListLineSplit, public ::testing::WithParamInterface<BarCase> {};

TEST_P(ListLineSplitBar, BarFlagCutsAtTheLastBarBefore) {
  const BarCase& c = GetParam();
  std::unique_ptr<KListLine> line;
  if (c.tab) {
    line = std::make_unique<KTabLine>(0, kStandardTuning, 0);
  } else {
    line = std::make_unique<KStaffLine>(0, 0, 0);
  }
  FillNotes(*line, c.notes);
  std::unique_ptr<KListLine> fresh = AsList(line->SplitAt(c.column, 0, c.barFlag));
  ASSERT_NE(fresh, nullptr);
  EXPECT_EQ(NotesText(*line), c.oldNotes);
  EXPECT_EQ(NotesText(*fresh), c.newNotes);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ListLineSplitBar,
    ::testing::Values(BarCase{"StaffBarDeleted", false, "0=8@18/00 2=8@18/00 4=21@1/44 6=8@16/00 8=8@14/00",
                              7, 1, "0=8@18/00 2=8@18/00", "0=8@16/00 2=8@14/00"},
                      BarCase{"StaffWithoutFlag", false, "0=8@18/00 2=8@18/00 4=21@1/44 6=8@16/00 8=8@14/00",
                              7, 0, "0=8@18/00 2=8@18/00 4=21@1/44 6=8@16/00", "0=8@14/00"},
                      BarCase{"NoBarBefore", false, "0=8@18/00 2=8@18/00 6=8@16/00 8=21@1/44", 5, 1,
                              "0=8@18/00 2=8@18/00", "0=8@16/00 2=21@1/44"},
                      BarCase{"TablatureBarDeleted", true, "0~80=227@82/00 3~70=21@1/44 5~80=229@83/00", 4, 1,
                              "0~80=227@82/00", "0~80=229@83/00"}),
    [](const auto& info) { return std::string(info.param.name); });

struct BeamCase {
  const char* name;
  int column;
  const char* oldNotes;
  const char* newNotes;
};

class ListLineSplitBeam : public ListLineSplit, public ::testing::WithParamInterface<BeamCase> {};

// A beam group that runs across the cut closes on both sides.
TEST_P(ListLineSplitBeam, GroupsCloseAtTheCut) {
  const BeamCase& c = GetParam();
  KStaffLine line(0, 0, 0);
  FillNotes(line, "0=1@13/o0 1=1@15/i0 2=1@13/i0 3=1@15/c0 4=8@18/00");
  std::unique_ptr<KListLine> fresh = AsList(line.SplitAt(c.column, 0, 0));
  ASSERT_NE(fresh, nullptr);
  EXPECT_EQ(NotesText(line), c.oldNotes);
  EXPECT_EQ(NotesText(*fresh), c.newNotes);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ListLineSplitBeam,
    ::testing::Values(
        BeamCase{"InTheMiddle", 2, "0=1@13/o0 1=1@15/c0", "0=1@13/o0 1=1@15/c0 2=8@18/00"},
        BeamCase{"OneColumnLeftAfter", 3, "0=1@13/o0 1=1@15/i0 2=1@13/c0", "0=1@15/00 1=8@18/00"},
        BeamCase{"OneColumnLeftBefore", 1, "0=1@13/00", "0=1@15/o0 1=1@13/i0 2=1@15/c0 3=8@18/00"},
        BeamCase{"AfterTheGroup", 4, "0=1@13/o0 1=1@15/i0 2=1@13/i0 3=1@15/c0", "0=8@18/00"}),
    [](const auto& info) { return std::string(info.param.name); });

struct TieCase {
  const char* name;
  const char* notes;
  int tieAttachmentSize;  // a tie attachment from column 0 this wide (0: none)
  const char* newNotes;
  const char* newAttachments;
};

class ListLineSplitTie : public ListLineSplit, public ::testing::WithParamInterface<TieCase> {};

// A note tied over the cut gets a tie at the start of the new line, which
// opens with an empty column for it.
TEST_P(ListLineSplitTie, TiesContinueOnTheNewLine) {
  const TieCase& c = GetParam();
  KStaffLine line(0, 0, 0);
  FillNotes(line, c.notes);
  if (c.tieAttachmentSize > 0) line.AddAttachment(new KExtendedObj(0, 16, 1, 9, 0, c.tieAttachmentSize, 6));
  const std::string oldAttachments = AttachText(line);
  std::unique_ptr<KListLine> fresh = AsList(line.SplitAt(2, 0, 0));
  ASSERT_NE(fresh, nullptr);
  EXPECT_EQ(NotesText(*fresh), c.newNotes);
  EXPECT_EQ(AttachText(*fresh), c.newAttachments);
  EXPECT_EQ(AttachText(line), oldAttachments);  // what starts before the cut stays
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ListLineSplitTie,
    ::testing::Values(TieCase{"TieAbove", "0=8@18+34@18/00 2=8@18/00", 0, "0=/00 1=8@18/00", "0:18:0"},
                      TieCase{"TieBelow", "0=8@14+32@14/00 2=8@14/00", 0, "0=/00 1=8@14/00", "0:14:1"},
                      TieCase{"TieCodeWithoutNote", "0=34@18/00 2=8@18/00", 0, "0=8@18/00", ""},
                      TieCase{"TargetIsABar", "0=8@18+34@18/00 2=21@1/44", 0, "0=21@1/44", ""},
                      TieCase{"SlurEndingAtTheCut", "0=8@16/00 2=8@16/00", 36, "0=/00 1=8@16/00", "0:16:1"},
                      TieCase{"SlurEndingElsewhere", "0=8@16/00 2=8@16/00", 54, "0=8@16/00", ""}),
    [](const auto& info) { return std::string(info.param.name); });

// A line class that cannot make its empty copy refuses the split and keeps
// everything, its derived time signature included.
TEST_F(ListLineSplit, LineWithoutEmptyCopyRefusesAndChangesNothing) {
  KListLine line(0, kTreble, 0, -1, 0);
  FillNotes(line, "0=8@18/00 2=1@13/o0 3=1@15/c0 6=8@16/00");
  Fill(line, {});
  line.AddAttachment(Mark(3));
  int beats = 0;
  int ticks = 0;
  line.GetTimeSignatureAt(0, beats, ticks, 1);
  const std::string before = Dump(line);
  EXPECT_EQ(line.SplitAt(3, 0, 1), nullptr);
  EXPECT_EQ(Dump(line), before);
}
