// Translating a rhythm line into a staff, a tablature line and a text line.

#include <gtest/gtest.h>

#include "RhythmLineTestSupport.h"
#include "lines/KStaffLine.h"
#include "lines/KStrLine.h"
#include "lines/KTabLine.h"
#include "model/KChord.h"

namespace {

using namespace rhythm;

const CString kTuning = "E A D G B E  323742475156";

// The note columns of a line: "column:code@row" per entry, columns separated by blanks.
std::string Notes(KLineObj& line) {
  std::string out;
  const CObList& columns = *line.AsListLine()->GetObjList();
  for (POSITION node = columns.GetHeadPosition(); node != nullptr;) {
    const KChord& column = *static_cast<const KChord*>(columns.GetNext(node));
    for (int i = 0; i < column.GetNoteCount(); ++i) {
      const NotePair note = column.GetNote(i);
      if (!out.empty()) out += ' ';
      out += std::to_string(column.GetPos()) + ':' + std::to_string(note.code % 10000) + '@' +
             std::to_string(note.position);
    }
  }
  return out;
}

class RhythmLineTranslateTest : public RhythmLineTest {
 protected:
  RhythmLineTranslateTest() {
    CRuntimeClass::Register({RUNTIME_CLASS(KStaffLine), RUNTIME_CLASS(KTabLine), RUNTIME_CLASS(KChord)});
  }
};

TEST_F(RhythmLineTranslateTest, NoteValuesBecomeStaffNotesOnTheMiddleLine) {
  // Positions 0, 9, 18, 27 all lie in staff column 0 or 1 (18 pixels): the
  // notes take consecutive columns and the dot joins the note before it.
  // Text and the swing markers are not carried.
  Type(line, "^q^q^.^h ^M^Lswing^O");
  struct Case {
    int kind;
    int sizeIndex;
    const char* notes;
  } cases[] = {
      {0, 0, "0:8@18 1:8@18 1:36@18 2:10@18 7:89@8"},
      {1, 0, "0:8@18 1:8@18 1:36@18 2:10@18 7:89@8"},
      {0, 1, "0:8@18 1:8@18 1:36@18 2:10@18 5:89@8"},
  };
  for (const Case& c : cases) {
    auto staff = line.TranslateTo(0, c.kind, 0, c.sizeIndex, 0, CString(), 0);
    ASSERT_NE(staff, nullptr);
    EXPECT_EQ(staff->GetType(), c.kind);
    EXPECT_EQ(Notes(*staff), c.notes) << c.kind << "/" << c.sizeIndex;
  }
  EXPECT_TRUE(m_ui.Beeps().empty());
}

TEST_F(RhythmLineTranslateTest, NoteValuesBecomeOpenStringsOnTablature) {
  Type(line, "^q^t^O^|^h^!^.");
  auto tab = line.TranslateTo(0, 2, 0, 0, 0, kTuning, 0);
  ASSERT_NE(tab, nullptr);
  EXPECT_EQ(tab->GetType(), 2);
  EXPECT_EQ(static_cast<KTabLine*>(tab.get())->GetTuning(), kTuning);
  EXPECT_EQ(Notes(*tab), "0:226@4 1:226@4 2:89@1 3:21@4 4:226@4 5:16@4 5:36@4");
  // The open strings carry the note values q, t and h.
  const CObList& columns = *tab->AsListLine()->GetObjList();
  const int durations[] = {8, 0, -1, -1, 10};
  int i = 0;
  for (POSITION node = columns.GetHeadPosition(); node != nullptr && i < 5; ++i) {
    const KChord& column = *static_cast<const KChord*>(columns.GetNext(node));
    if (durations[i] >= 0) {
      EXPECT_EQ(column.GetVoiceDuration(1), durations[i]) << i;
    }
  }
  EXPECT_TRUE(m_ui.Beeps().empty());
}

TEST_F(RhythmLineTranslateTest, TextTargetAndOthers) {
  Type(line, "Go ^q^|");
  const std::string before = Dump(line);
  struct Case {
    int mode;
    const char* text;
  } cases[] = {{0, "Go   "}, {1, "Go q "}, {2, "Go q|"}};
  for (const Case& c : cases) {
    auto text = line.TranslateTo(0, 5, c.mode, 0, 3, CString(), 0);
    auto* str = dynamic_cast<KStrLine*>(text.get());
    ASSERT_NE(str, nullptr);
    EXPECT_EQ(str->GetText(), c.text);
    EXPECT_EQ(str->GetFontIndex(), 3);
  }
  for (const int kind : {3, 4, 6, 9, -1})
    EXPECT_EQ(line.TranslateTo(0, kind, 0, 0, 0, CString(), 0), nullptr);
}

}  // namespace
