#include <memory>
#include <vector>

#include "ModelTestSupport.h"
#include "model/KColumnConversion.h"
#include "model/KNoteEvent.h"

namespace {

class KChordConvert : public ModelTest {};

constexpr int kTreble = 0;
constexpr int kBass = 1;
constexpr int kAlto = 9;
constexpr int kTreble8va = 11;
constexpr int kTab = 2;
constexpr int kRhythmLine = 3;

int Sounding(const KChord& column, int lineType, int index) {
  KColumnPlayContext line;
  line.lineType = lineType;
  KNoteEvent event;
  int key = 0;
  return column.MakeMidiEvent(index, event, line, 64, key) == 1 ? event.note : -1;
}

TEST_F(KChordConvert, StaffNotesKeepTheirPitchUnderAnotherClef) {
  struct Case {
    int from;
    int to;
    int step;
    int newStep;  // -1: dropped, not clamped
  };
  const Case cases[] = {
      {kTreble, kBass, 20, 8},  {kTreble, kBass, 30, 18},      {kBass, kTreble, 30, -1},
      {kBass, kTreble, 20, 32}, {kTreble, kTreble8va, 20, 27}, {kTreble, kBass, 10, -1},
      {kAlto, kTreble, 18, 24},
  };
  for (const Case& c : cases) {
    KChord column(5, c.step, 9, 0);
    std::unique_ptr<KChord> converted(column.ConvertColumn(c.from, c.to, nullptr, 0, 0));
    ASSERT_NE(converted, nullptr);
    EXPECT_EQ(converted->GetPos(), 5);
    if (c.newStep < 0) {
      EXPECT_EQ(converted->GetNoteCount(), 0) << c.from << ">" << c.to << " " << c.step;
      continue;
    }
    ASSERT_EQ(converted->GetNoteCount(), 1) << c.from << ">" << c.to << " " << c.step;
    EXPECT_EQ(converted->GetNote(0).position, c.newStep) << c.from << ">" << c.to << " " << c.step;
    EXPECT_EQ(Sounding(*converted, c.to, 0), Sounding(column, c.from, 0)) << c.from << ">" << c.to;
  }
}

TEST_F(KChordConvert, StaffEntriesKeepStyleNudgeAndCompanions) {
  KChord column(0, 3);
  column.AddNote(20, 9, 6);  // per-note style 5
  column.AddNote(20, 28);
  column.AddNote(20, 64, 2 << 8);  // a mark nudged two steps right
  column.AddNote(20, 10085);
  std::unique_ptr<KChord> bass(column.ConvertColumn(kTreble, kBass, nullptr, 0, 0));
  ASSERT_EQ(bass->GetNoteCount(), 4);
  EXPECT_EQ(bass->GetNoteStyle(), 3);
  EXPECT_EQ(bass->GetNote(0).code, 9);
  EXPECT_EQ(bass->GetNoteStyleAt(0), 5);
  EXPECT_EQ(bass->GetNote(1).code, 28);
  EXPECT_EQ(bass->GetNote(2).code, 64);
  EXPECT_EQ(bass->GetNoteOffset(2, false), 4);
  EXPECT_EQ(bass->GetNote(3).code, 10085);
  EXPECT_EQ(bass->GetVoiceStem(0), 6);
}

TEST_F(KChordConvert, SignaturesAndBarsAreCopied) {
  KChord key(3);
  key.AddNote(1, 254);
  key.AddNote(1, 4);
  KChord bar(4, 1, 22, 0);
  for (const KChord* column : {&key, &bar}) {
    for (int to : {kTab, kBass}) {
      std::unique_ptr<KChord> copy(column->ConvertColumn(kTreble, to, nullptr, 0, 0));
      ASSERT_NE(copy, nullptr);
      EXPECT_EQ(copy->GetNoteCount(), column->GetNoteCount());
      EXPECT_EQ(copy->GetNote(0).code, column->GetNote(0).code);
      EXPECT_EQ(copy->GetVoiceStem(0), column->GetVoiceStem(0));
      EXPECT_EQ(copy->GetRhythmCode(), to == kTab ? 70 : 0);
    }
  }
  KChord notes(0, 18, 9, 0);
  EXPECT_EQ(notes.ConvertColumn(kTreble, kRhythmLine, nullptr, 0, 0), nullptr);
}

// The lines' side of the conversion: string row = 2 + step / 6, fret = step % 7,
// and back, staff row = 10 + string row with a sharp on string row 3.
class FakeLines : public KColumnConversion {
 public:
  CString GetTabTuning() const override { return tuning; }
  int ChooseTabString(int& code, int column, int staffRow, int positionCode, int wantedString,
                      const KChord& target, int& fretCode) override {
    asked.push_back({staffRow, wantedString, positionCode});
    if (staffRow == 33) return -1;  // no string can take it
    fretCode = 226 + staffRow % 7;
    return wantedString ? wantedString + 1 : 2 + staffRow / 6;
  }
  int TabCellToStaffRow(int& accidental, int code, int column, int stringRow, const KChord& cell,
                        int key) override {
    keys.push_back(key);
    accidental = stringRow == 3 ? 1 : 0;
    return 10 + stringRow;
  }
  int GetKeySignatureAt(int column) const override { return column == 9 ? 6 : 0; }

  struct Ask {
    int staffRow;
    int wanted;
    int position;
  };
  CString tuning;
  std::vector<Ask> asked;
  std::vector<int> keys;
};

TEST_F(KChordConvert, StaffToTablatureUsesTheStringChooser) {
  KChord column(2, 1);
  column.AddNote(14, 9);
  column.AddNote(14, 36);
  column.AddNote(26, 9);
  column.AddNote(26, 88);
  column.AddNote(26, 230);  // string number 4
  column.AddNote(33, 9);
  FakeLines lines;
  std::unique_ptr<KChord> tab(column.ConvertColumn(kTreble, kTab, &lines, 9, 4000));
  ASSERT_NE(tab, nullptr);
  ASSERT_EQ(lines.asked.size(), 3u);
  EXPECT_EQ(lines.asked[0].wanted, 0);
  EXPECT_EQ(lines.asked[1].wanted, 4);
  EXPECT_EQ(lines.asked[0].position, 4000);
  EXPECT_EQ(m_ui.Beeps(), std::vector<UINT>{MB_ICONASTERISK});  // step 33 had no string
  // Step 14 on row 4 with its dot, step 26 on row 5 (asked for string 4).
  ASSERT_EQ(tab->GetNoteCount(), 3);
  EXPECT_EQ(tab->GetFretOnString(4), 0);
  EXPECT_EQ(tab->GetFretOnString(5), 5);
  EXPECT_EQ(tab->GetNote(1).code, 36);
  EXPECT_EQ(tab->GetNoteRhythm(0), 9);
  EXPECT_EQ(tab->GetNoteStyle(), 1);
  EXPECT_TRUE(tab->IsTabColumn());
}

TEST_F(KChordConvert, FretsBeyondTheInstrumentAreDropped) {
  KChord column(0, 27, 9, 0);  // the fake gives fret 6
  FakeLines lines;
  lines.tuning = "E A D G B E  323742475156!@@!5";
  std::unique_ptr<KChord> tab(column.ConvertColumn(kTreble, kTab, &lines, 0, 0));
  EXPECT_EQ(tab->GetNoteCount(), 0);
  EXPECT_EQ(m_ui.Beeps().size(), 1u);
}

TEST_F(KChordConvert, TablatureToStaffUsesTheCellMapping) {
  KChord column(6, 70);
  column.AddNote(3, 230, 0, 9);   // sharp needed
  column.AddNote(5, 228, 0, 14);  // stemless quarter
  column.AddNote(9, 228, 0, 1);   // below the guitar's strings
  FakeLines lines;
  std::unique_ptr<KChord> staff(column.ConvertColumn(kTab, kTreble, &lines, 9, 0));
  ASSERT_NE(staff, nullptr);
  EXPECT_EQ(lines.keys, (std::vector<int>{6, 6}));
  ASSERT_EQ(staff->GetNoteCount(), 3);
  EXPECT_EQ(staff->GetNote(0).code, 9);
  EXPECT_EQ(staff->GetNote(0).position, 13);
  EXPECT_EQ(staff->GetNote(1).code, 28);
  EXPECT_EQ(staff->GetNote(1).position, 13);
  EXPECT_EQ(staff->GetNote(2).code, 108);
  EXPECT_EQ(staff->GetNote(2).position, 15);

  std::unique_ptr<KChord> bass(column.ConvertColumn(kTab, kBass, &lines, 9, 0));
  EXPECT_EQ(bass->GetNote(0).position, 1);  // 13 less the bass clef's 12
}

}  // namespace
