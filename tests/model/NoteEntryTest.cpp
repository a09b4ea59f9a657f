// The note-entry editor: keystrokes at a caret cell of a staff or tablature
// line, written as the line before, the call, and the line after.

#include <string>
#include <vector>

#include "NoteLineTestSupport.h"
#include "common/ViewServices.h"

namespace {

constexpr int kStaff = kTreble;
constexpr int kDelete = 32762;
constexpr int kBlank = 32761;
constexpr int kBlankRun = 32763;
constexpr int kWholeColumn = 1000;
// Every line starts with a time-signature override of 3 beats.
constexpr int kStartOverride = 3;
// Tablature sub-code of an eighth of voice 0 (70 + 10 x duration 1).
constexpr int kTabEighth = 80;

struct Keystroke {
  const char* name;
  int kind = kStaff;
  const char* before = "";
  int column = 0;
  int row = 0;
  int code = 0;
  int subCode = 0;
  int beam = 0;
  int replace = 0;
  int removeMode = 0;
  const char* after = "";
  KLinePair result;
  int barColumn = -1;  // the cached bar column afterwards
  int overrideBeats = kStartOverride;
  int tieAt = -1;  // a tie anchored at this column on the caret row before the call
  int attachmentsAfter = 0;
  std::vector<UINT> beeps = {};
  bool unchanged = false;  // the stored line must not change
};

void PrintTo(const Keystroke& k, std::ostream* out) { *out << k.name; }

class NoteEntryTest : public LineTest, public ::testing::WithParamInterface<Keystroke> {
 protected:
  NoteEntryTest() { g_blankRunCount = 3; }
};

TEST_P(NoteEntryTest, KeystrokeChangesLineAsExpected) {
  const Keystroke& k = GetParam();
  std::unique_ptr<EditLine> line = MakeNoteLine(k.kind, k.before);
  line->SetTimeSignature(kStartOverride, 480, 0);
  if (k.tieAt >= 0) line->AddAttachment(new KExtendedObj(k.tieAt, k.row, 0, 4, 5, 30, 0));
  const Bytes stored = StoreObject(*line);
  line->ClearChanged();

  const KLinePair result =
      line->EditNoteAt(k.code, k.subCode, 0, k.column, k.row, k.beam, k.replace, k.removeMode);

  EXPECT_EQ(result, k.result) << result.first << ", " << result.second;
  EXPECT_EQ(NotesText(*line), k.after);
  EXPECT_EQ(line->GetTimeSigColumn(), k.barColumn);
  EXPECT_EQ(line->GetOverrideBeats(), k.overrideBeats);
  EXPECT_EQ(line->GetAttachmentCount(), k.attachmentsAfter);
  EXPECT_EQ(m_ui.Beeps(), k.beeps);
  if (k.unchanged) {
    EXPECT_EQ(StoreObject(*line), stored);
  }
  if (result.second != -1) {
    EXPECT_EQ(line->IsChanged(), 1);
  }
}

const Keystroke kKeystrokes[] = {
    // Staff entries.
    {.name = "EighthOnEighthOfItsVoiceOpensColumn",
     .before = "0=1@14/00 1=9@16/60",
     .row = 14,
     .code = 1,
     .after = "0=1@14/00 1=1@14/00 2=9@16/60",
     .result = {1, 0}},
    {.name = "HalfBesideQuarterOfItsVoiceSharesColumn",
     .before = "0=9@14/60",
     .row = 14,
     .code = 11,
     .after = "0=11@14+9@14/60",
     .result = {1, 0}},
    {.name = "SharpAtNoteJoinsWithoutCaretStep",
     .before = "0=9@14/60",
     .row = 14,
     .code = 28,
     .after = "0=9@14+28@14/60",
     .result = {0, 0}},
    {.name = "EighthBesideQuarterOfItsVoiceOpensColumn",
     .before = "0=9@14/60",
     .row = 10,
     .code = 1,
     .after = "0=1@10/00 1=9@14/60",
     .result = {1, 0}},
    {.name = "QuarterBesideEighthJoinsAsHeadForm",
     .before = "0=1@14/00",
     .row = 10,
     .code = 9,
     .after = "0=1@14+109@10/00",
     .result = {1, 0}},
    {.name = "BarOnNotesBecomesOwnColumnBefore",
     .before = "0=9@14/60",
     .row = 14,
     .code = 21,
     .after = "0=21@14/44 1=9@14/60",
     .result = {1, 0},
     .barColumn = 0},
    {.name = "BarOnEmptyLineIsCachedBarColumn",
     .column = 3,
     .row = 1,
     .code = 21,
     .after = "3=21@1/44",
     .result = {1, 3},
     .barColumn = 3},
    {.name = "TimeSignatureEntryResetsOverride",
     .before = "0=9@14/60",
     .column = 1,
     .row = 1,
     .code = 225,
     .after = "0=9@14/60 1=225@1/00",
     .result = {1, 1},
     .overrideBeats = 0},

    // Tablature entries.
    {.name = "OtherFretOnFrettedStringOpensColumn",
     .kind = kTab,
     .before = "0~80=229@11/00",
     .row = 1,
     .code = 231,
     .subCode = kTabEighth,
     .after = "0~80=231@11/00 1~80=229@11/00",
     .result = {1, 0}},
    {.name = "SecondDigitAfterFretOneFormsTwoDigitFret",
     .kind = kTab,
     .before = "0~80=227@11/00",
     .row = 1,
     .code = 229,
     .subCode = kTabEighth,
     .after = "0~80=239@11/00",
     .result = {1, 0}},
    {.name = "FretOnFreeStringJoinsAsChordNote",
     .kind = kTab,
     .before = "0~80=229@11/00",
     .row = 3,
     .code = 231,
     .subCode = kTabEighth,
     .after = "0~80=229@11+231@13f1/00",
     .result = {1, 0}},
    {.name = "DurationOnEmptyTabLineLeavesEmptyColumn",
     .kind = kTab,
     .column = 2,
     .row = 1,
     .code = 1,
     .subCode = kTabEighth,
     .after = "2~80=/00",
     .result = {0, 2}},
    {.name = "DurationOnTabCellChangesThatStringsValue",
     .kind = kTab,
     .before = "0~80=229@11/00",
     .row = 1,
     .code = 3,
     .after = "0~100=229@31/00",
     .result = {0, 0}},

    // Deletes.
    {.name = "WholeColumnDeleteClosesUp",
     .before = "0=9@14/60 1=11@12/60 2=10@10/06",
     .column = 1,
     .row = kWholeColumn,
     .code = kDelete,
     .after = "0=9@14/60 1=10@10/06",
     .result = {-1, 1}},
    {.name = "WholeColumnDeleteWithReplaceKeepsPlace",
     .before = "0=9@14/60 1=11@12/60 2=10@10/06",
     .column = 1,
     .row = kWholeColumn,
     .code = kDelete,
     .replace = 1,
     .after = "0=9@14/60 2=10@10/06",
     .result = {-1, 1}},
    {.name = "DeleteAtBarRemovesItWhateverTheRow",
     .before = "0=9@14/60 1=21@1/44 2=9@14/60",
     .column = 1,
     .row = 14,
     .code = kDelete,
     .after = "0=9@14/60 1=9@14/60",
     .result = {-1, 1}},
    {.name = "DeleteAtTimeSignatureResetsOverride",
     .before = "0=225@1+102@1+107@1/66 1=9@14/60",
     .row = 5,
     .code = kDelete,
     .after = "0=9@14/60",
     .result = {-1, 0},
     .overrideBeats = 0},
    {.name = "DeleteAtKeySignatureRemovesIt",
     .before = "0=9@14/60 1=254@1+4@1/66 2=9@12/60",
     .column = 1,
     .row = kWholeColumn,
     .code = kDelete,
     .after = "0=9@14/60 1=9@12/60",
     .result = {-1, 1}},
    {.name = "DeleteJustPastEndTakesTieThere",
     .before = "0=9@14/60 1=9@12/60",
     .column = 2,
     .row = 14,
     .code = kDelete,
     .after = "0=9@14/60 1=9@12/60",
     .result = {0, 2},
     .tieAt = 2},
    {.name = "DeleteJustPastEndStepsBack",
     .before = "0=9@14/60 1=9@12/60",
     .column = 2,
     .row = 14,
     .code = kDelete,
     .after = "0=9@14/60 1=9@12/60",
     .result = {-1, 2},
     .unchanged = true},
    {.name = "DeleteFurtherRightLeavesTieThere",
     .before = "0=9@14/60 1=9@12/60",
     .column = 3,
     .row = 14,
     .code = kDelete,
     .after = "0=9@14/60 1=9@12/60",
     .result = {-1, 3},
     .tieAt = 3,
     .attachmentsAfter = 1,
     .unchanged = true},
    {.name = "DeleteOnEmptyLineDoesNothing", .row = 14, .code = kDelete, .result = {0, 0}, .unchanged = true},

    // Blank columns.
    {.name = "BlankShiftsColumnsRight",
     .before = "0=9@14/60 1=9@12/60",
     .column = 1,
     .code = kBlank,
     .after = "0=9@14/60 2=9@12/60",
     .result = {1, 1}},
    {.name = "BlankRunWithReplaceClearsThenInserts",
     .before = "0=9@14/60 1=9@12/60 2=9@10/60 3=11@14/60 4=11@12/60",
     .column = 1,
     .code = kBlankRun,
     .replace = 1,
     .after = "0=9@14/60 4=11@12/60",
     .result = {3, 1}},
    {.name = "BlankPastEndInsertsNothing",
     .before = "0=9@14/60 1=9@12/60",
     .column = 5,
     .code = kBlank,
     .after = "0=9@14/60 1=9@12/60",
     .result = {1, 5},
     .unchanged = true},
    {.name = "BlankInsideGroupBeamsItAgain",
     .before = "0=1@13/o0 1=1@15/c0",
     .column = 1,
     .code = kBlank,
     .after = "0=1@13/o0 2=1@15/c0",
     .result = {1, 0}},

    // Beam groups.
    {.name = "DeletingOpenerBeamsRestFromNextColumn",
     .before = "0=1@13/o0 1=1@15/i0 2=1@17/i0 3=1@19/c0",
     .row = kWholeColumn,
     .code = kDelete,
     .after = "0=1@15/o0 1=1@17/i0 2=1@19/c0",
     .result = {-1, 0}},
    {.name = "DeletingInnerColumnBeamsWholeGroup",
     .before = "0=1@13/o0 1=1@15/i0 2=1@17/i0 3=1@19/c0",
     .column = 1,
     .row = kWholeColumn,
     .code = kDelete,
     .after = "0=1@13/o0 1=1@17/i0 2=1@19/c0",
     .result = {-1, 0}},
    {.name = "DeletingCloserOfPairLeavesOpenerAlone",
     .before = "0=1@13/o0 1=1@15/c0 2=9@14/60",
     .column = 1,
     .row = kWholeColumn,
     .code = kDelete,
     .after = "0=1@13/00 1=9@14/60",
     .result = {-1, 0}},
    {.name = "FlaggedNoteWithoutBeamFlagSplitsGroup",
     .before = "0=1@13/o0 1=1@15/i0 2=1@17/i0 3=1@19/c0",
     .column = 2,
     .row = 17,
     .code = 1,
     .after = "0=1@13/o0 1=1@15/c0 2=1@17/00 3=1@17/o0 4=1@19/c0",
     .result = {1, 0}},
    {.name = "FlaggedNoteWithBeamFlagBeamsGroupThroughIt",
     .before = "0=1@13/o0 1=1@15/i0 2=1@17/i0 3=1@19/c0",
     .column = 2,
     .row = 17,
     .code = 1,
     .beam = 1,
     .after = "0=1@13/o0 1=1@15/i0 2=1@17/i0 3=1@17/i0 4=1@19/c0",
     .result = {1, 0}},
    {.name = "FlaggedNoteWithBeamFlagJoinsGroupBefore",
     .before = "0=1@13/o0 1=1@15/c0",
     .column = 2,
     .row = 17,
     .code = 1,
     .beam = 1,
     .after = "0=1@13/o0 1=1@15/i0 2=1@17/c0",
     .result = {1, 0}},
    {.name = "QuarterValueLeavesGroup",
     .before = "0=1@13/o0 1=1@15/i0 2=1@17/c0",
     .column = 1,
     .row = 10000 + 2000,
     .code = 9,
     .subCode = 70,
     .after = "0=1@13/00 1=9@15/60 2=1@17/00",
     .result = {0, 0}},

    // Refusals.
    {.name = "FlaggedSymbolOnEmptyTabLineRefused",
     .kind = kTab,
     .row = 1,
     .code = 10012,
     .subCode = kTabEighth,
     .result = {0, 0},
     .beeps = {MB_ICONASTERISK},
     .unchanged = true},
    {.name = "FlaggedSymbolInTabGapRefused",
     .kind = kTab,
     .before = "0~80=229@11/00",
     .column = 2,
     .row = 1,
     .code = 10004,
     .subCode = kTabEighth,
     .after = "0~80=229@11/00",
     .result = {0, 2},
     .beeps = {MB_ICONASTERISK},
     .unchanged = true},
    {.name = "DurationInTabGapChangesNothing",
     .kind = kTab,
     .before = "0~80=229@11/00",
     .column = 2,
     .row = 1,
     .code = 3,
     .after = "0~80=229@11/00",
     .result = {0, 2},
     .unchanged = true},
    {.name = "RhythmLineRefused",
     .kind = kRhythm,
     .row = 14,
     .code = 1,
     .result = {0, -1},
     .unchanged = true},
    {.name = "CodeNoColumnHoldsRefused",
     .before = "0=9@14/60",
     .row = 14,
     .code = 300,
     .after = "0=9@14/60",
     .result = {0, -1},
     .unchanged = true},
    {.name = "RowPastByteRefused",
     .before = "0=9@14/60",
     .row = 270,
     .code = 1,
     .after = "0=9@14/60",
     .result = {0, -1},
     .unchanged = true},
    {.name = "NegativeRowRefused",
     .before = "0=9@14/60",
     .row = -3,
     .code = 1,
     .after = "0=9@14/60",
     .result = {0, -1},
     .unchanged = true},
};

INSTANTIATE_TEST_SUITE_P(Keystrokes, NoteEntryTest, ::testing::ValuesIn(kKeystrokes),
                         [](const ::testing::TestParamInfo<Keystroke>& info) { return info.param.name; });

class NoteEntryBeamTest : public LineTest {};

// A long stem of a tablature group decodes, at spacing 0, to a value of the
// wrong sign; the editor reads the stored value, so the closing column still
// closes its group and a beamed note typed after it extends that group.
TEST_F(NoteEntryBeamTest, LongTablatureStemKeepsItsGroupRole) {
  std::unique_ptr<EditLine> line = MakeNoteLine(kTab, "0~70=226@0/0o 1~70=226@0/0i 2~70=226@9/0c");
  const KChord& closer = *AsChord(line->GetObjList()->GetTail());
  ASSERT_LT(closer.GetStemEnd(1, 0, 0), 0);

  EXPECT_EQ(line->EditNoteAt(226, 70, 0, 3, 0, 1, 0, 0), (KLinePair{1, 0}));
  EXPECT_EQ(NotesText(*line), "0~70=226@0/0o 1~70=226@0/0i 2~70=226@9/0i 3~70=226@0/0c");
}

}  // namespace
