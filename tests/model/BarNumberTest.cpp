// Bar numbers of staff and tablature lines (KListLine::CountBars).

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "NoteLineTestSupport.h"
#include "model/KExtendedObj.h"

namespace {

constexpr int kBarAt = 2000;
constexpr int kColumnOf = 2001;
constexpr int kLastColumn = 7;

using BarNumbers = LineTest;

// Four bars, three bar columns between them and a closing bar at 16.
constexpr const char* kFourBars =
    "0=8@18/00 2=8@18/00 4=21@1/44 6=8@18/00 8=21@1/44 10=8@18/00 12=21@1/44 "
    "14=8@18/00 16=21@1/44";

}  // namespace

struct BarCase {
  const char* name;
  int kind;
  const char* notes;
  int mode, target;
  KLinePair result;
};

class BarNumbersCount : public BarNumbers, public ::testing::WithParamInterface<BarCase> {};

TEST_P(BarNumbersCount, FollowsTheBarColumns) {
  const BarCase& c = GetParam();
  std::unique_ptr<EditLine> line = MakeNoteLine(c.kind, c.notes);
  const std::string before = NotesText(*line);
  EXPECT_EQ(line->CountBars(c.mode, c.target), c.result);
  EXPECT_EQ(NotesText(*line), before);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BarNumbersCount,
    ::testing::Values(BarCase{"WholeLineCountsFour", kTreble, kFourBars, kBarAt, 10000, {4, 16}},
                      BarCase{"ColumnInSecondBar", kTreble, kFourBars, kBarAt, 6, {2, 4}},
                      BarCase{"BarColumnBelongsToItsBar", kTreble, kFourBars, kBarAt, 4, {1, 0}},
                      BarCase{"StartOfThirdBar", kTreble, kFourBars, kColumnOf, 3, {9, 8}},
                      BarCase{"BarPastTheLineGivesLastColumn", kTreble, kFourBars, kColumnOf, 9, {16, 16}},
                      BarCase{"OtherModeGivesLastColumn", kTreble, kFourBars, kLastColumn, 0, {16, 16}},
                      BarCase{"BarsClosedAt8And16",
                              kTreble,
                              "0=8@18/00 4=8@18/00 8=21@1/44 12=8@18/00 16=21@1/44 20=8@18/00",
                              kColumnOf,
                              3,
                              {17, 16}},
                      BarCase{"BarAtColumnZeroDoesNotCount",
                              kTreble,
                              "0=21@1/44 2=8@18/00 4=21@1/44 6=8@18/00",
                              kBarAt,
                              6,
                              {2, 4}},
                      BarCase{"StartBarKindDoesNotCount",
                              kTreble,
                              "2=24@1/44 3=8@18/00 5=21@1/44 6=8@18/00",
                              kBarAt,
                              6,
                              {2, 5}},
                      BarCase{"BarsBeforeContentDoNotCount",
                              kTreble,
                              "2=21@1/44 4=21@1/44 6=8@18/00 8=21@1/44 10=8@18/00",
                              kBarAt,
                              10,
                              {2, 8}},
                      BarCase{"BarAfterOpeningTimeSignature",
                              kTreble,
                              "0=225@1+102@1+103@1/00 2=21@1/44 4=8@18/00 6=21@1/44 8=8@18/00",
                              kBarAt,
                              8,
                              {2, 6}},
                      BarCase{
                          "RestsAreContent", kTreble, "0=17@18/00 2=21@1/44 4=17@18/00", kBarAt, 4, {2, 2}},
                      BarCase{"RepeatBarIsMarkedWithoutContent",
                              kTreble,
                              "0=8@18/00 2=21@1/44 3=25@1/44 4=8@18/00",
                              kBarAt,
                              4,
                              {3, 3}},
                      BarCase{"Tablature",
                              kTab,
                              "0~80=227@82/00 2~70=21@1/44 4~80=227@82/00 6~70=21@1/44",
                              kBarAt,
                              10000,
                              {2, 6}}),
    [](const auto& info) { return std::string(info.param.name); });

// An ending bracket over columns 8..12 with its number in a text under it: a
// bar closed inside it adds the number.
TEST_F(BarNumbers, EndingBracketAddsItsNumber) {
  struct Case {
    const char* text;  // nullptr: no text attachment
    int textPos;
    int count;
  };
  const Case cases[] = {
      {"2.", 9, 5}, {"x12a", 8, 15}, {"1234", 12, 126}, {nullptr, 0, 4}, {"2.", 13, 4}, {"no number", 9, 4},
  };
  for (const Case& c : cases) {
    std::unique_ptr<EditLine> line =
        MakeNoteLine(kTreble, "0=8@18/00 4=21@1/44 6=8@18/00 8=21@1/44 10=8@18/00 12=21@1/44 14=8@18/00");
    line->AddAttachment(new KExtendedObj(8, 5, KExtendedObj::kDoubleBar, 0, 0, 72, 10));
    if (c.text != nullptr) line->AddAttachment(new KExtendedObj(c.textPos, 5, CString(c.text), CString()));
    EXPECT_EQ(line->CountBars(kBarAt, 10000).first, c.count)
        << (c.text ? c.text : "none") << " " << c.textPos;
  }
}

TEST_F(BarNumbers, LinesWithoutBars) {
  struct Case {
    int staffLength;
    const char* notes;
    int mode;
    KLinePair result;
  };
  const Case cases[] = {
      {1, "0=8@18/00 4=21@1/44 6=8@18/00", kBarAt, {0, 0}},
      {1, "0=8@18/00 4=21@1/44 6=8@18/00", kColumnOf, {0, 0}},
      {0, "", kBarAt, {1, 0}},
      {0, "", kColumnOf, {0, 0}},
      {0, "", kLastColumn, {0, 0}},
  };
  for (const Case& c : cases) {
    std::unique_ptr<EditLine> line = MakeNoteLine(kTreble, c.notes);
    line->SetStaffLength(c.staffLength);
    EXPECT_EQ(line->CountBars(c.mode, 2), c.result) << c.staffLength << " " << c.notes << " " << c.mode;
  }
}
