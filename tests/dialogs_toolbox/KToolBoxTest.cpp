// One toolbox: the highlight of the current symbol and note style, the picks
// a click makes, the twin it shows for the caret's line, its captions, and
// what happens when a picture is missing.

#include <ostream>
#include <string>
#include <vector>

#include "ToolBoxTestSupport.h"
#include "dialogs/toolbox/ToolBoxPrompts.h"
#include "platform/StringTable.h"
#include "support/CaseName.h"
#include "view/commands/CommandIds.h"
#include "view/commands/CommandTable.h"

namespace {

using namespace toolbox;
using toolboxtest::ToolBoxTest;

// The centre of a cell, by column and row.
int X(int column, int width = 19) { return column * width + width / 2; }
int Y(int row, int height = 27) { return row * height + height / 2; }

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

struct HighlightCase {
  const char* name;
  int kind;
  int symbol;
  int noteStyle;
  int cell;  // the highlighted cell's index, -1 none
};

void PrintTo(const HighlightCase& c, std::ostream* out) { *out << c.name; }

const HighlightCase kHighlights[] = {
    {"a quarter note on the symbols toolbox", kSymbols, 8, 0, 3},
    {"the same on the mini toolbox", kMiniSymbols, 8, 0, 3},
    {"an alternate quarter on the alternate palette", kAlternate, 10008, 0, 3},
    {"a plain quarter is not on the alternate palette", kAlternate, 8, 0, -1},
    {"the last drum cell", kDrums, 10090, 0, 18},
    {"a sharp on the accidentals", 9, 28, 0, 0},
    {"a note is not on the accidentals", 9, 8, 0, -1},
    {"nothing chosen yet", kSymbols, -1, 0, -1},
    {"the note-style palette shows the style", kNoteStyles, 8, 5, 5},
};

class Highlight : public ToolBoxTest, public ::testing::WithParamInterface<HighlightCase> {};

TEST_P(Highlight, StandsOnTheCurrentSymbolsCell) {
  const HighlightCase& c = GetParam();
  KToolBox box(c.kind, kClassOther, host);
  state.symbol = c.symbol;
  state.noteStyle = c.noteStyle;
  ASSERT_TRUE(box.CreatePalette(state));
  if (c.cell < 0) {
    EXPECT_EQ(box.CurrentCode(), kNoCode);
    EXPECT_TRUE(SameRect(box.HighlightRect(), RECT{}));
  } else {
    EXPECT_TRUE(SameRect(box.HighlightRect(), CellRect(c.kind, c.cell)));
    if (c.kind != kNoteStyles) {
      EXPECT_EQ(box.CurrentCode(), c.symbol);
      EXPECT_EQ(box.Caption(), PromptText(c.kind, kClassOther, c.symbol, PromptUse::kHighlight));
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Palettes, Highlight, ::testing::ValuesIn(kHighlights),
                         [](const ::testing::TestParamInfo<HighlightCase>& info) {
                           return viewtest::CaseName(info.param.name);
                         });

TEST_F(ToolBoxTest, AClickPicksTheCellMakesItCurrentAndNamesItsKey) {
  KToolBox box(kCommonStaff, kClassOther, host);
  ASSERT_TRUE(box.CreatePalette(state));
  box.OnLButtonDown(X(2), Y(0), 0, state);  // the quarter note
  ASSERT_EQ(host.picks.size(), 1u);
  EXPECT_EQ(host.picks[0].code, 8);
  EXPECT_EQ(host.picks[0].boxKind, 0);
  EXPECT_EQ(g_toolboxSymbol, 8);
  EXPECT_EQ(g_CurrentNoteCode, 8);
  EXPECT_EQ(host.caption, "Key: q (_q_uarter)  Quarter note with tail up");
  EXPECT_TRUE(SameRect(box.HighlightRect(), CellRect(kCommonStaff, 2)));

  // The highlighted cell enters the same symbol again.
  box.OnLButtonDown(X(2) + 3, Y(0) - 5, 0, state);
  ASSERT_EQ(host.picks.size(), 2u);
  EXPECT_EQ(host.picks[1].code, 8);
  EXPECT_TRUE(SameRect(box.HighlightRect(), CellRect(kCommonStaff, 2)));

  // A sharp becomes the current symbol; the note value stays the quarter.
  box.OnLButtonDown(X(7), Y(1), 0, state);
  EXPECT_EQ(host.picks.back().code, 28);
  EXPECT_EQ(g_toolboxSymbol, 28);
  EXPECT_EQ(g_CurrentNoteCode, 8);
  EXPECT_TRUE(SameRect(box.HighlightRect(), CellRect(kCommonStaff, 19 + 7)));
}

TEST_F(ToolBoxTest, AlternatePalettesPickAsAlternateAndAnEmptyCellChangesNoHighlight) {
  state.symbol = 10008;
  KToolBox box(kAlternate, kClassOther, host);
  ASSERT_TRUE(box.CreatePalette(state));
  const RECT before = box.HighlightRect();
  box.OnLButtonDown(X(16), Y(0), 0, state);  // "Not used"
  ASSERT_EQ(host.picks.size(), 1u);
  EXPECT_EQ(host.picks[0].code, kNotUsed);
  EXPECT_EQ(host.picks[0].boxKind, 1);
  EXPECT_TRUE(SameRect(box.HighlightRect(), before));
  EXPECT_EQ(g_toolboxSymbol, -1);
}

TEST_F(ToolBoxTest, StyleHalvesMoveTheStyleMarkAndLeaveTheSymbolAndCaption) {
  state.symbol = 8;
  KToolBox box(kSymbols, kClassOther, host);
  ASSERT_TRUE(box.CreatePalette(state));
  host.caption = "before";
  box.OnLButtonDown(X(26), 54 + 20, 0, state);  // the lower half: square
  ASSERT_EQ(host.picks.size(), 1u);
  EXPECT_EQ(host.picks[0].code, 11013);
  EXPECT_TRUE(SameRect(box.StyleRect(), NoteStyleRect(kSymbols, 5)));
  EXPECT_EQ(box.CurrentCode(), 8);
  EXPECT_EQ(host.caption, "before");
}

TEST_F(ToolBoxTest, TheCaretAreaPicksEachOfTheFourMoves) {
  KToolBox box(kSymbols, kClassOther, host);
  ASSERT_TRUE(box.CreatePalette(state));
  for (const auto& [x, y] : {std::pair{21, 67}, std::pair{55, 67}, std::pair{38, 56}, std::pair{38, 79}})
    box.OnLButtonDown(x, y, 0, state);
  ASSERT_EQ(host.picks.size(), 4u);
  EXPECT_EQ(host.picks[0].code, kCaretLeft);
  EXPECT_EQ(host.picks[1].code, kCaretRight);
  EXPECT_EQ(host.picks[2].code, kCaretUp);
  EXPECT_EQ(host.picks[3].code, kCaretDown);
}

TEST_F(ToolBoxTest, ClicksOutsideThePictureAndOnOtherButtonsPickNothingOnPalettes) {
  KToolBox box(kCommonStaff, kClassOther, host);
  ASSERT_TRUE(box.CreatePalette(state));
  box.OnLButtonDown(400, 5, 0, state);
  box.OnRButtonDown(X(2), Y(0), 0, state);
  box.OnRButtonDblClk(X(2), Y(0), 0, state);
  EXPECT_TRUE(host.picks.empty());
}

TEST_F(ToolBoxTest, TheInvertedCellsShowTheHighlightTheStyleAndTheModesThatAreOn) {
  state.symbol = 8;
  state.noteStyle = 2;
  KToolBox box(kSymbols, kClassOther, host);
  ASSERT_TRUE(box.CreatePalette(state));
  EXPECT_EQ(box.InvertedRects(state).size(), 2u);
  state.arrowCursor = 1;
  state.joinTails = 1;
  state.mutualTranslation = 1;
  const std::vector<RECT> rects = box.InvertedRects(state);
  ASSERT_EQ(rects.size(), 5u);
  EXPECT_TRUE(SameRect(rects[2], ModeRect(kSymbols, 0)));
  EXPECT_TRUE(SameRect(rects[4], ModeRect(kSymbols, 2)));
  // Palettes without mode cells show the highlight alone.
  KToolBox staff(kCommonStaff, kClassOther, host);
  ASSERT_TRUE(staff.CreatePalette(state));
  EXPECT_EQ(staff.InvertedRects(state).size(), 1u);
}

struct SwapCase {
  const char* name;
  int kind;
  int openedOn;
  int movedTo;
  int kindAfter;
  bool resized;
};

void PrintTo(const SwapCase& c, std::ostream* out) { *out << c.name; }

const SwapCase kSwaps[] = {
    {"alternate symbols become the tab twin on tablature", kAlternate, 0, 2, kAlternateTab, false},
    {"the tab twin becomes alternate symbols on a staff", kAlternate, 2, 0, kAlternate, false},
    {"a rhythm line leaves the tab twin", kAlternate, 2, 3, kAlternateTab, false},
    {"a text line leaves the staff palette", kAlternate, 0, 5, kAlternate, false},
    {"common staff symbols become tab symbols", kCommonStaff, 0, 2, kCommonTab, false},
    {"opened on tablature, common symbols return to the staff palette", kCommonStaff, 2, 0, kCommonStaff,
     false},
    {"staff grace notes become the smaller tab grace notes", kStaffGrace, 0, 2, kTabGrace, true},
    {"tab grace notes grow back on a staff", kStaffGrace, 2, 0, kStaffGrace, true},
    {"a palette without a twin stays", 9, 0, 2, 9, false},
};

class TwinSwap : public ToolBoxTest, public ::testing::WithParamInterface<SwapCase> {};

TEST_P(TwinSwap, FollowsTheCaretsLine) {
  const SwapCase& c = GetParam();
  KToolBox box(c.kind, c.openedOn, host);
  ASSERT_TRUE(box.CreatePalette(state));
  box.SyncToLineKind(c.movedTo, state);
  EXPECT_EQ(box.Kind(), c.kindAfter);
  EXPECT_EQ(box.ClientSize().cx, KindInfo(c.kindAfter).pictureWidth);
  EXPECT_EQ(host.sizes.size(), c.resized ? 1u : 0u);
  EXPECT_GE(loader.LoadCount(KindInfo(c.kindAfter).pictureId), 1);
}

INSTANTIATE_TEST_SUITE_P(Palettes, TwinSwap, ::testing::ValuesIn(kSwaps),
                         [](const ::testing::TestParamInfo<SwapCase>& info) {
                           return viewtest::CaseName(info.param.name);
                         });

TEST_F(ToolBoxTest, TheTabTwinNamesWhatTheAlternateSymbolsDoOnTablature) {
  KToolBox box(kAlternate, kClassOther, host);
  ASSERT_TRUE(box.CreatePalette(state));
  box.OnMouseMove(X(4), Y(0), true, state);
  EXPECT_EQ(host.caption, CString("Key: ") + LoadString(30300));
  box.SyncToLineKind(kClassTab, state);
  box.OnMouseMove(X(4), Y(0), true, state);
  EXPECT_EQ(host.caption, "Key: (AltSym) t  Add 8th note up stem to tab fingering");
  box.OnMouseMove(X(25), 54 + 20, true, state);
  EXPECT_EQ(host.caption, "Not used on Tab lines");
}

TEST_F(ToolBoxTest, HoverNamesTheCellAndTheFrameShowsTheHint) {
  KToolBox box(kSymbols, kClassOther, host);
  ASSERT_TRUE(box.CreatePalette(state));
  box.OnMouseMove(X(3), Y(0), true, state);
  EXPECT_EQ(host.caption, "Key: q (_q_uarter)  Quarter note with tail up");
  box.OnMouseMove(X(0), Y(1), true, state);
  EXPECT_EQ(host.caption, "(Ctrl+J, or Ctrl+D)                   Toggle Join Note Tails mode");
  box.OnMouseMove(X(25), Y(2) - 8, true, state);
  EXPECT_EQ(host.caption, "Alt+n   Normal note style on all new notes");
  box.OnMouseMove(2, 2, false, state);
  EXPECT_EQ(host.caption, "Float mouse over buttons for symbol key codes");
  box.OnMouseMove(X(3), Y(0), true, state);
  box.OnNcMouseMove();
  EXPECT_EQ(host.caption, "Float mouse over buttons for symbol key codes");

  // Palettes without mode cells keep their caption over the frame.
  KToolBox bars(10, kClassOther, host);
  ASSERT_TRUE(bars.CreatePalette(state));
  bars.OnMouseMove(X(0), Y(0), true, state);
  const CString shown = host.caption;
  bars.OnNcMouseMove();
  EXPECT_EQ(host.caption, shown);
}

TEST_F(ToolBoxTest, AMissingPromptShowsWhereItWasWanted) {
  // Code 10021 has no symbol and no prompt.
  EXPECT_EQ(PromptText(kSymbols, 0, 10021, PromptUse::kClick),
            "Symbols Toolbox (problem loading prompt-Tbx2)");
  EXPECT_EQ(PromptText(kSymbols, 0, 10021, PromptUse::kHover),
            "Symbols Toolbox (problem loading prompt-TBx3)");
  EXPECT_EQ(PromptText(kSymbols, 0, 10021, PromptUse::kHighlight),
            "Symbols Toolbox (problem loading prompt-TBx4)");
}

TEST_F(ToolBoxTest, EveryPaletteCellHasAPrompt) {
  for (int kind = 0; kind < kKindCount; ++kind) {
    const int lineClass = kind == kAlternateTab ? kClassTab : kClassOther;
    for (int code : CellsOf(kind)) {
      const CString text = PromptText(kind, lineClass, code, PromptUse::kHover);
      EXPECT_EQ(text.Find("problem loading"), -1) << "kind " << kind << " code " << code;
    }
  }
}

// A mode cell's prompt names the keys of the command that switches the same
// mode, and no key that does something else.
struct ModeCellCase {
  const char* name;
  int code;
  UINT command;
};
void PrintTo(const ModeCellCase& c, std::ostream* out) { *out << c.name; }

class ModeCellPrompt : public ToolBoxTest, public ::testing::WithParamInterface<ModeCellCase> {};

TEST_P(ModeCellPrompt, NamesOnlyTheKeysOfItsCommand) {
  const ModeCellCase& c = GetParam();
  const std::string prompt = PromptText(kSymbols, kClassOther, c.code, PromptUse::kHover).Str();
  const size_t open = prompt.find('(');
  const size_t close = prompt.find(')');
  ASSERT_EQ(open, 0u) << prompt;
  ASSERT_NE(close, std::string::npos) << prompt;
  // "(Ctrl+J, or Ctrl+D)": the keys, split at the commas.
  std::vector<std::string> keys;
  std::string keyList = prompt.substr(1, close - 1);
  for (size_t from = 0; from <= keyList.size();) {
    size_t end = keyList.find(',', from);
    if (end == std::string::npos) end = keyList.size();
    std::string key = keyList.substr(from, end - from);
    if (key.rfind(" or ", 0) == 0) key = key.substr(4);
    while (!key.empty() && key.front() == ' ') key.erase(key.begin());
    if (!key.empty()) keys.push_back(key);
    from = end + 1;
  }
  ASSERT_FALSE(keys.empty()) << prompt;
  for (const std::string& key : keys) {
    UINT bound = 0;
    for (const KAccelerator& accelerator : Accelerators())
      if (key == accelerator.key) bound = accelerator.id;
    EXPECT_EQ(bound, c.command) << key << " in " << prompt;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Palettes, ModeCellPrompt,
    ::testing::Values(ModeCellCase{"JoinTails", kJoinTails, cmd::kActionsJoinTails},
                      ModeCellCase{"ArrowOrSymbolCursor", kArrowCursor, cmd::kOptionsArrowCursor},
                      ModeCellCase{"MutualTranslation", kMutualTranslation, cmd::kOptionsMutualTranslation}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ToolBoxTest, AMissingPictureFailsTheBoxWithItsLocationCode) {
  loader.Fail(KindInfo(kCommonStaff).pictureId);
  KToolBox box(kCommonStaff, kClassOther, host);
  EXPECT_FALSE(box.CreatePalette(state));
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_NE(ui.Messages()[0].text.find("KTB-1"), std::string::npos);
}

TEST_F(ToolBoxTest, AMissingTwinPictureIsReportedAtTheSwap) {
  loader.Fail(KindInfo(kAlternateTab).pictureId);
  KToolBox box(kAlternate, kClassOther, host);
  ASSERT_TRUE(box.CreatePalette(state));
  box.SyncToLineKind(kClassTab, state);
  EXPECT_EQ(box.Kind(), kAlternateTab);
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_NE(ui.Messages()[0].text.find("KTB-2"), std::string::npos);
}

// ---- The instruments ------------------------------------------------------------------

struct ClickKindCase {
  const char* name;
  int button;
  bool doubleClick;
  unsigned flags;
  int kind;
};

void PrintTo(const ClickKindCase& c, std::ostream* out) { *out << c.name; }

const ClickKindCase kClickKinds[] = {
    {"left click is a quarter up", 1, false, 0, 8},
    {"shift left click is a quarter down", 1, false, kToolBoxShift, 9},
    {"ctrl left click is a 32nd", 1, false, kToolBoxControl, 4},
    {"ctrl shift left click is a 32nd down", 1, false, kToolBoxControl | kToolBoxShift, 5},
    {"right click is an eighth", 2, false, 0, 0},
    {"shift right click is an eighth down", 2, false, kToolBoxShift, 1},
    {"ctrl right click is a 64th", 2, false, kToolBoxControl, 6},
    {"ctrl shift right click is a 64th down", 2, false, kToolBoxControl | kToolBoxShift, 7},
    {"left double click is a half", 1, true, 0, 10},
    {"shift left double click is a half down", 1, true, kToolBoxShift, 11},
    {"ctrl left double click is a whole", 1, true, kToolBoxControl, 12},
    {"ctrl shift left double click is a whole as ctrl alone", 1, true, kToolBoxControl | kToolBoxShift, 12},
    {"right double click is a 16th", 2, true, 0, 2},
    {"shift right double click is a 16th down", 2, true, kToolBoxShift, 3},
    {"ctrl right double click is a 16th", 2, true, kToolBoxControl, 2},
};

class ClickKind : public ::testing::TestWithParam<ClickKindCase> {};

TEST_P(ClickKind, IsTheNoteValueOfTheButtonAndKeys) {
  const ClickKindCase& c = GetParam();
  EXPECT_EQ(KToolBox::ClickKind(c.button, c.doubleClick, c.flags), c.kind);
}

INSTANTIATE_TEST_SUITE_P(Instruments, ClickKind, ::testing::ValuesIn(kClickKinds),
                         [](const ::testing::TestParamInfo<ClickKindCase>& info) {
                           return viewtest::CaseName(info.param.name);
                         });

TEST_F(ToolBoxTest, TheKeyboardPicksTheKeyUnderTheClickAndMarksIt) {
  KToolBox box(kKeyboard, kClassOther, host);
  ASSERT_TRUE(box.CreatePalette(state));
  // Middle C: the white key at x 28 + 3 * 98.
  box.OnLButtonDown(28 + 3 * 98 + 5, 50, 0, state);
  box.OnRButtonDblClk(28 + 3 * 98 + 12, 10, kToolBoxShift, state);  // C#4 in the black zone
  ASSERT_EQ(host.picks.size(), 2u);
  EXPECT_EQ(host.picks[0].code, 60);
  EXPECT_EQ(host.picks[0].boxKind, kKeyboard);
  EXPECT_EQ(host.picks[0].noteValue, 8);
  EXPECT_EQ(host.picks[1].code, 61);
  EXPECT_EQ(host.picks[1].noteValue, 3);
  ASSERT_EQ(box.Marks().size(), 1u);
  EXPECT_EQ(box.Marks()[0].note, 61);
}

TEST_F(ToolBoxTest, TheFretboardPicksStringAndFretAndBeepsOnAMissingString) {
  state.tuning = g_TuningGuitar;
  state.defaultTuning = g_TuningGuitar;
  KToolBox box(kFretboard, kClassTab, host);
  ASSERT_TRUE(box.CreatePalette(state));
  EXPECT_EQ(box.ClientSize().cx, 594);
  EXPECT_EQ(box.ClientSize().cy, 13 * 6 + 2 + 12);
  box.OnLButtonDown(10, 3, 0, state);            // open high E
  box.OnRButtonDown(120, 13 * 5 + 6, 0, state);  // third fret, low E: G
  ASSERT_EQ(host.picks.size(), 2u);
  EXPECT_EQ(host.picks[0].code, 76);  // written an octave above its sound
  EXPECT_EQ(host.picks[0].boxKind, kFretboard);
  EXPECT_EQ(host.picks[0].string, 0);
  EXPECT_EQ(host.picks[0].fret, 0);
  EXPECT_EQ(host.picks[1].code, 55);
  EXPECT_EQ(host.picks[1].noteValue, 0);
  EXPECT_EQ(host.picks[1].string, 5);
  EXPECT_EQ(host.picks[1].fret, 3);

  // A two-string tuning: below its strings (on the fret numbers) a click beeps.
  state.tuning = g_TuningTwoString;
  box.SyncToLineKind(kClassTab, state);
  ASSERT_EQ(host.sizes.size(), 1u);
  EXPECT_EQ(host.sizes[0].cy, 13 * 2 + 2 + 12);
  box.OnLButtonDown(120, 13 * 2 + 6, 0, state);
  EXPECT_EQ(host.picks.size(), 2u);
  EXPECT_EQ(ui.Beeps().size(), 1u);
  EXPECT_TRUE(box.Marks().empty());
}

TEST_F(ToolBoxTest, OnlyTheInstrumentsWaitForDoubleClicksAndOnlyWhilePicksEnterNotes) {
  state.tuning = g_TuningGuitar;
  KToolBox fretboard(kFretboard, kClassTab, host);
  KToolBox keyboard(kKeyboard, kClassOther, host);
  KToolBox palette(kSymbols, kClassOther, host);
  EXPECT_TRUE(fretboard.DefersSingleClicks());
  EXPECT_TRUE(keyboard.DefersSingleClicks());
  EXPECT_FALSE(palette.DefersSingleClicks());
  g_offerLineInsertion = 0;
  EXPECT_FALSE(keyboard.DefersSingleClicks());
}

TEST_F(ToolBoxTest, AMissingFretboardPictureKeepsTheOldOne) {
  state.tuning = g_TuningGuitar;
  KToolBox box(kFretboard, kClassTab, host);
  ASSERT_TRUE(box.CreatePalette(state));
  loader.Fail(KFretboard::kFirstPictureId + 4);
  state.tuning = g_TuningBass4;
  box.SyncToLineKind(kClassTab, state);
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_NE(ui.Messages()[0].text.find("KTB-110"), std::string::npos);
  EXPECT_TRUE(host.sizes.empty());
}

}  // namespace
