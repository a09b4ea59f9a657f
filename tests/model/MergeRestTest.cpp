// Merging the runs of rests that live recording leaves.

#include <string>

#include "NoteLineTestSupport.h"
#include "model/KListLineRestsServices.h"

namespace {

struct RestCase {
  const char* name;
  const char* before;
  int column;
  int acrossBars;
  const char* after;
  int result;
};

void PrintTo(const RestCase& c, std::ostream* out) { *out << c.name; }

class MergeRestTest : public LineTest, public ::testing::WithParamInterface<RestCase> {
 protected:
  ~MergeRestTest() override { ResetRestsServices(); }
};

TEST_P(MergeRestTest, RunsOfRestsBecomeFewestRests) {
  const RestCase& c = GetParam();
  std::unique_ptr<EditLine> line = MakeNoteLine(kTreble, c.before);
  line->ClearChanged();
  EXPECT_EQ(line->MergeRests(c.column, c.acrossBars), c.result);
  EXPECT_EQ(CodesText(*line), c.after);
  EXPECT_EQ(line->IsChanged(), CodesText(*line) != CodesText(*MakeNoteLine(kTreble, c.before)) ? 1 : 0);
}

// Rests: 14 whole, 15 half, 16 quarter, 17 eighth, 18 16th, 19 32nd; 36 dot;
// 9 a quarter note; 21 a bar (its stems 4 make it a bar column).
INSTANTIATE_TEST_SUITE_P(
    Cases, MergeRestTest,
    ::testing::Values(
        RestCase{"EighthsAndQuarterMakeHalf", "0=17@18 1=17@18 2=16@18", 2, 0, "0=15@18", 0},
        RestCase{"ThreeEighthsMakeDottedQuarter", "0=17@18 1=17@18 2=17@18", 2, 0, "0=16@18+36@18", 0},
        RestCase{"DottedRestCountsItsDot", "0=16@18+36@18 1=17@18", 1, 0, "0=15@18", 0},
        RestCase{"NoteKeepsRestsApart", "0=17@18 1=9@18 2=17@18", 2, 0, "0=17@18 1=9@18 2=17@18", 0},
        RestCase{"LongestMergeableStretchFirst", "0=17@18 1=17@18 2=17@18 3=17@18 4=17@18 5=18@18", 5, 0,
                 "0=15@18 4=17@18+36@18", 0},
        RestCase{"StopsAtBarBefore", "0=17@18 1=17@18 2=21@1/44 3=17@18 4=17@18", 4, 0,
                 "0=17@18 1=17@18 2=21@1 3=16@18", 2},
        RestCase{"AcrossBars", "0=17@18 1=17@18 2=21@1/44 3=17@18 4=17@18", 4, 1, "0=16@18 2=21@1 3=16@18",
                 0},
        RestCase{"BarAtColumnPassedOver", "0=17@18 1=17@18 2=21@1/44", 2, 0, "0=16@18 2=21@1", 0},
        RestCase{"ColumnsAfterColumnUntouched", "0=17@18 1=17@18 2=17@18 3=17@18", 1, 0,
                 "0=16@18 2=17@18 3=17@18", 0},
        RestCase{"ShortRestsAccepted", "0=19@18 1=19@18", 1, 0, "0=18@18", 0},
        RestCase{"NothingAtOrBeforeColumn", "5=17@18 6=17@18", 3, 0, "5=17@18 6=17@18", 3},
        RestCase{"EmptyLine", "", 7, 0, "", 7}));

TEST_F(MergeRestTest, CollectsAtMost98Columns) {
  EditLine line(kTreble);
  std::string text;
  for (int i = 0; i < 100; ++i) text += std::to_string(i) + "=17@18 ";
  FillNotes(line, text);
  line.MergeRests(99, 1);
  // The two earliest rests lie beyond the 98 collected from the tail.
  const CObList& list = *line.GetObjList();
  EXPECT_EQ(AsChord(list.GetAt(list.FindIndex(0)))->GetNote(0).code, 17);
  EXPECT_EQ(AsChord(list.GetAt(list.FindIndex(1)))->GetNote(0).code, 17);
  EXPECT_EQ(AsChord(list.GetAt(list.FindIndex(1)))->GetPos(), 1);
  EXPECT_LT(line.GetObjCount(), 100);
}

TEST_F(MergeRestTest, OtherLinesReturnColumn) {
  KListLine line(0, kRhythm, 0, -1, 0);
  Fill(line, {Item(0, 205)});
  const Bytes stored = StoreObject(line);
  EXPECT_EQ(line.MergeRests(4, 0), 4);
  EXPECT_EQ(StoreObject(line), stored);
}

}  // namespace
