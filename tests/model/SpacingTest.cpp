// Before even spacing: tie codes inside note columns become tie attachments,
// and empty columns close up.

#include <string>

#include "NoteLineTestSupport.h"
#include "TieTestSupport.h"
#include "model/KExtendedObj.h"

namespace {

struct TieCodeCase {
  const char* name;
  int kind;
  const char* before;
  const char* after;
  const char* ties;
};

void PrintTo(const TieCodeCase& c, std::ostream* out) { *out << c.name; }

class TieConvTest : public LineTest, public ::testing::WithParamInterface<TieCodeCase> {};

TEST_P(TieConvTest, TieCodesBecomeAttachments) {
  const TieCodeCase& c = GetParam();
  std::unique_ptr<EditLine> line = MakeNoteLine(c.kind, c.before);
  line->ClearChanged();
  line->ConvertTieCodes();
  EXPECT_EQ(NotesText(*line), c.after);
  EXPECT_EQ(TiesText(*line), c.ties);
  EXPECT_EQ(line->IsChanged(), std::string(c.ties).empty() ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TieConvTest,
    ::testing::Values(
        TieCodeCase{"ShortTieAbove", kTreble, "0=8@18+34@20 1=8@18", "0=8@18/00 1=8@18/00",
                    "0:19 k0 w18 a9,-6 o0,-2"},
        TieCodeCase{"EachCodeItsSideAndWidth", kTreble, "2=8@18+32@10+33@12+35@14", "2=8@18/00",
                    "2:13 k0 w36 a18,-6 o0,-2 2:13 k0 w36 a18,6 o0,2 2:11 k0 w18 a9,6 o0,2"},
        TieCodeCase{"FirstColumnOfTiesAloneGoesToNextColumn", kTreble, "0=32@18 3=8@18", "3=8@18/00",
                    "3:19 k0 w18 a9,6 o-18,2"},
        TieCodeCase{"LaterColumnOfTiesAloneStays", kTreble, "0=8@18 1=32@18", "0=8@18/00 1=/00",
                    "1:19 k0 w18 a9,6 o0,2"},
        TieCodeCase{"OnlyColumnKeepsItsPlace", kTreble, "0=32@18", "0=/00", "0:19 k0 w18 a9,6 o0,2"},
        TieCodeCase{"TablatureOffsets", kTab, "0~80=226@12+34@12 1~80=226@12+33@13",
                    "0~80=226@12/00 1~80=226@12/00", "0:1 k0 w18 a9,-6 o0,7 1:4 k0 w36 a18,6 o0,-8"},
        TieCodeCase{"TopStepStaysOnRowZero", kTreble, "0=8@0+34@0", "0=8@0/00", "0:0 k0 w18 a9,-6 o0,-2"},
        TieCodeCase{"NoTieCodes", kTreble, "0=8@18 1=9@16", "0=8@18/00 1=9@16/00", ""}));

struct CloseUpCase {
  const char* name;
  const char* before;
  std::vector<int> after;
};

void PrintTo(const CloseUpCase& c, std::ostream* out) { *out << c.name; }

class CloseUpTest : public LineTest, public ::testing::WithParamInterface<CloseUpCase> {};

TEST_P(CloseUpTest, ObjectsStandSideBySide) {
  const CloseUpCase& c = GetParam();
  std::unique_ptr<EditLine> line = MakeNoteLine(kTreble, c.before);
  line->CloseUpEmptyColumns();
  EXPECT_EQ(Positions(*line->GetObjList()), c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CloseUpTest,
    ::testing::Values(CloseUpCase{"GapsAfterLeadingSpace", "3=8@18 7=8@18 8=8@18", {0, 1, 2}},
                      CloseUpCase{
                          "AcrossBars", "2=8@18 5=21@1/44 9=8@18 10=21@1/44 14=8@18", {0, 1, 2, 3, 4}},
                      CloseUpCase{"AlreadyClosed", "0=8@18 1=8@18", {0, 1}}));

// Both operations leave other lines alone.
TEST_F(CloseUpTest, OtherLinesUnchanged) {
  for (const int kind : {kRhythm, kChordLine}) {
    KListLine line(0, kind, 0, -1, 0);
    if (kind == kRhythm) {
      Fill(line, {Item(3, 205), Item(7, 206)});
    } else {
      Fill(line, {new KPosObj(3), new KPosObj(9)});
    }
    const Bytes stored = StoreObject(line);
    line.ConvertTieCodes();
    line.CloseUpEmptyColumns();
    EXPECT_EQ(StoreObject(line), stored) << kind;
  }
  EditLine empty(kTreble);
  empty.ConvertTieCodes();
  empty.CloseUpEmptyColumns();
  EXPECT_EQ(empty.GetObjCount(), 0);
}

}  // namespace
