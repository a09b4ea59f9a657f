// A treble staff bracketed with a tablature line: with mutual translation
// on, what is typed in one line shows in the other.

#include "EntryFixture.h"
#include "lines/KStaffLine.h"
#include "lines/KTabLine.h"
#include "model/KChord.h"

namespace {

constexpr int kBottomLine = 22;   // E above middle C's E: the staff's bottom line
constexpr int kTabStringRow = 3;  // the B string

class BracketedPair : public EntryFixture {
 protected:
  void SetUp() override {
    EntryFixture::SetUp();
    staff = AddStaff();
    tab = AddTab();
    Group(10000, staff, tab, 1);
    view->m_mutualTranslation = 1;
  }
  // The sounding pitch of the first fret in the tablature column, -1 when none.
  int TabPitchAt(int column) const {
    const KChord* cell = AsChord(TabAt(tab)->GetObjAt(column, 0));
    if (cell == nullptr) return -1;
    for (int i = 0; i < cell->GetNoteCount(); ++i) {
      const NotePair note = cell->GetNote(i);
      if (note.code >= KChord::kFirstFret && note.code <= KChord::kLastFret)
        return TabAt(tab)->GetPitchAt(note.position % 10, note.code);
    }
    return -1;
  }
  POSITION staff = nullptr;
  POSITION tab = nullptr;
};

TEST_F(BracketedPair, NoteTypedOnStaffAppearsAsFretOfTheSamePitch) {
  CaretAt(0, 0, kBottomLine);
  Type("q");
  EXPECT_EQ(Dump(staff), "0:8@22");
  EXPECT_EQ(TabPitchAt(0), StaffAt(staff)->GetPitchAtRow(kBottomLine, 0));
  EXPECT_EQ(view->GetCaretColumn(), 1);
}

TEST_F(BracketedPair, FretTypedOnTabAppearsAsStaffNote) {
  CaretAt(1, 0, kTabStringRow);
  Type("0");
  ASSERT_EQ(TabPitchAt(0), TabAt(tab)->GetPitchAt(kTabStringRow, KChord::kFirstFret));
  const KChord* note = AsChord(StaffAt(staff)->GetObjAt(0, 0));
  ASSERT_NE(note, nullptr);
  EXPECT_EQ(StaffAt(staff)->GetPitchAtRow(note->GetNote(0).position, 0), TabPitchAt(0));
}

TEST_F(BracketedPair, BarTypedOnEitherLineGoesIntoBoth) {
  CaretAt(0, 0, kBottomLine);
  Type("q|");
  EXPECT_EQ(BarColumns(staff), std::vector<int>{1});
  EXPECT_EQ(BarColumns(tab), std::vector<int>{1});
  CaretAt(1, 2, kTabStringRow);
  Type("2|");
  EXPECT_EQ(BarColumns(staff), (std::vector<int>{1, 3}));
  EXPECT_EQ(BarColumns(tab), (std::vector<int>{1, 3}));
}

TEST_F(BracketedPair, BackspaceOnABarRemovesItFromBothLines) {
  CaretAt(0, 0, kBottomLine);
  Type("q|q");
  ASSERT_EQ(BarColumns(tab), std::vector<int>{1});
  CaretAt(0, 2, kBottomLine);
  Type("\b");
  EXPECT_TRUE(BarColumns(staff).empty());
  EXPECT_TRUE(BarColumns(tab).empty());
  EXPECT_EQ(view->GetCaretColumn(), 1);
}

TEST_F(BracketedPair, BackspaceOnAStaffNoteRemovesItsFret) {
  CaretAt(0, 0, kBottomLine);
  Type("q");
  ASSERT_NE(TabPitchAt(0), -1);
  Type("\b");
  EXPECT_EQ(Dump(staff), "");
  EXPECT_EQ(Dump(tab), "");
}

// A rest stands in the middle of both lines: on the staff where engraving
// puts it, on the tablature on its middle string, from either line.
TEST_F(BracketedPair, RestTypedOnEitherLineStandsInTheMiddleOfBoth) {
  CaretAt(0, 0, kBottomLine);
  Type("_-");
  EXPECT_EQ(Dump(staff), "0:14@16 1:15@18");
  EXPECT_EQ(Dump(tab), "0:14@4 1:15@4");
  CaretAt(1, 2, kTabStringRow);
  Type("!");
  EXPECT_EQ(Dump(staff), "0:14@16 1:15@18 2:16@18");
  EXPECT_EQ(Dump(tab), "0:14@4 1:15@4 2:16@4");
}

TEST_F(BracketedPair, WithoutMutualTranslationTheTabStaysAsItWas) {
  view->m_mutualTranslation = 0;
  CaretAt(0, 0, kBottomLine);
  Type("q");
  EXPECT_EQ(Dump(staff), "0:8@22");
  EXPECT_EQ(Dump(tab), "");
}

TEST_F(BracketedPair, OneKeystrokeRecordsOneGroupUndoStep) {
  CaretAt(0, 0, kBottomLine);
  UndoKinds().clear();
  Type("q");
  std::vector<int> edits;
  for (int kind : UndoKinds())
    if (kind < 8) edits.push_back(kind);  // 8 is the state after the change
  EXPECT_EQ(edits, std::vector<int>{1});
}

TEST_F(BracketedPair, SecondDigitMakesATwoDigitFretAndMovesTheStaffNote) {
  CaretAt(1, 0, kTabStringRow);
  Type("2");
  CaretAt(1, 0, kTabStringRow);
  Type("4");
  EXPECT_EQ(TabAt(tab)->GetFretOnString(0, kTabStringRow), 24);
  const KChord* note = AsChord(StaffAt(staff)->GetObjAt(0, 0));
  ASSERT_NE(note, nullptr);
  int pitch = -1;
  for (int i = 0; i < note->GetNoteCount(); ++i) {
    if (note->GetNote(i).code <= 12) pitch = StaffAt(staff)->GetPitchAtRow(note->GetNote(i).position, 0);
  }
  EXPECT_EQ(pitch, TabPitchAt(0));
}

TEST_F(BracketedPair, SecondDigitPastTheLastFretShowsTheFretLimit) {
  CaretAt(1, 0, kTabStringRow);
  Type("2");
  CaretAt(1, 0, kTabStringRow);
  Type("5");
  ASSERT_EQ(ui.MessageIds(), std::vector<UINT>{7025});
  EXPECT_NE(ui.Messages()[0].text.find("0 - 24"), std::string::npos) << ui.Messages()[0].text;
  EXPECT_EQ(TabAt(tab)->GetFretOnString(0, kTabStringRow), 2);
}

TEST_F(BracketedPair, TieTypedOnTheStaffIsCopiedToTheTab) {
  CaretAt(0, 0, kBottomLine);
  Type("q");
  CaretAt(0, 0, kBottomLine);
  Type("u");
  EXPECT_EQ(LineAt(staff)->GetAttachmentCount(), 1);
  EXPECT_EQ(LineAt(tab)->GetAttachmentCount(), 1);
}

}  // namespace
