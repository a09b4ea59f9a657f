// Wrap Music against the view: bars pushed down and pulled up between the
// lines of a part, new lines and groups made, emptied lines removed, the
// messages of the run, and one undo step that gives the score back.

#include <gtest/gtest.h>

#include <numeric>
#include <sstream>

#include "lines/KRhythmLine.h"
#include "model/KRhythmObj.h"
#include "support/ViewTestSupport.h"
#include "view/commands/CommandHandlers.h"
#include "view/commands/CommandIds.h"
#include "view/music/ViewMusic.h"

namespace {

using namespace viewtest;

// Staff length of 240 pixels: 34 for the clef, then room for 11 columns: two
// bars of the staffs below with their bar lines, not the third's bar line.
constexpr int kShort = 240;

// A staff of `bars` bars of three quarter notes each, every bar closed by a
// bar line: notes at 4k, 4k + 1, 4k + 2 and the bar at 4k + 3.
KStaffLine* BarsStaff(int bars, int staffLength, const char* label = "") {
  auto* staff = new KStaffLine(0, 0, 0);
  for (int b = 0; b < bars; ++b) {
    for (int i = 0; i < 3; ++i) staff->GetObjList()->AddTail(new KChord(4 * b + i, 10 + i, kQuarter, 0));
    staff->GetObjList()->AddTail(new KChord(4 * b + 3, 1, kBar, 0));
  }
  staff->UpdateTimeSigCache();
  staff->SetStaffLength(staffLength);
  staff->SetLabel(label);
  return staff;
}

class WrapMusicTest : public ViewScoreFixture {
 protected:
  void WrapAll() {
    Select(0, view->GetDisplayLineCount() - 1, 0, 32000);
    view->UpdateSelection(0, 32000, 0, view->GetDisplayLineCount() - 1, 10);
    ExecuteViewCommand(*view, cmd::kActionsWrapMusic);
  }
  int CountObjects() const {
    int count = 0;
    for (POSITION pos = doc.GetFirstLinePosition(); pos != nullptr;) {
      KLineObj* line = doc.GetNextLine(pos);
      if (const KListLine* list = line->AsListLine()) count += list->GetObjCount();
    }
    return count;
  }
  std::vector<std::string> Dumps() const {
    std::vector<std::string> out;
    for (int d = 0; d < view->GetDisplayLineCount(); ++d) out.push_back(Dump(d));
    return out;
  }
};

TEST_F(WrapMusicTest, BarsPastTheEndGoToNewLinesOfTheSamePart) {
  Add(BarsStaff(6, kShort, "Flute"));
  Layout(0, 0);
  WrapAll();
  ASSERT_EQ(view->GetDisplayLineCount(), 3);
  // Each line keeps the bars that fit with the bar line that closes the
  // last of them; the next line starts with the next bar's first note.
  for (int d = 0; d < 3; ++d)
    EXPECT_EQ(Dump(d), "0:8@10 1:8@11 2:8@12 3:21@1 4:8@10 5:8@11 6:8@12 7:21@1") << "line " << d;
  for (int d = 1; d < 3; ++d) {
    EXPECT_EQ(Line(d)->GetLabelName(), CString("Flute"));
    EXPECT_EQ(Line(d)->GetStaffLength(), kShort);
  }
  EXPECT_EQ(CountObjects(), 24);
  EXPECT_EQ(UndoSteps().front().kind, 4);
  EXPECT_TRUE(ui.Messages().empty());
}

// A line may end with a bar line whose middle stands within the staff length
// (the rule a break is found by), though its column reaches past it: such a
// line fits, and wrapping it, once or again, leaves it whole.
// A line ends with its closing bar line only when the bar line's whole
// column fits the staff; a second Wrap Music changes nothing. Three bars, the
// last bar line in column 11: its middle at 34 + 11 x 18 + 9 = 241, its
// column's end at 250.
struct ClosingBarCase {
  const char* name;
  int staffLength;
  int lines;
};

class WrapClosingBarTest : public WrapMusicTest, public ::testing::WithParamInterface<ClosingBarCase> {};

TEST_P(WrapClosingBarTest, TheLineFitsWhenItsClosingBarFitsWholeAndASecondWrapChangesNothing) {
  Add(BarsStaff(3, GetParam().staffLength, "Flute"));
  Layout(0, 0);
  const std::string whole = Dump(0);
  WrapAll();
  ASSERT_EQ(view->GetDisplayLineCount(), GetParam().lines);
  if (GetParam().lines == 1) {
    EXPECT_EQ(Dump(0), whole);
  }
  std::vector<std::string> first;
  for (int d = 0; d < GetParam().lines; ++d) first.push_back(Dump(d));
  WrapAll();
  ASSERT_EQ(view->GetDisplayLineCount(), GetParam().lines);
  for (int d = 0; d < GetParam().lines; ++d)
    EXPECT_EQ(Dump(d), first[static_cast<size_t>(d)]) << "line " << d;
}

INSTANTIATE_TEST_SUITE_P(Wrap, WrapClosingBarTest,
                         ::testing::Values(ClosingBarCase{"BarColumnEndsAtTheStaffEnd", 250, 1},
                                           ClosingBarCase{"OnlyTheBarsMiddleFits", 245, 2}),
                         [](const auto& info) { return std::string(info.param.name); });

// The caret stays in its bar, at its offset in the bar, wherever the bar
// went: six bars of three notes (bar k at columns 4k .. 4k + 2, its bar line
// at 4k + 3) wrap into two bars and their bar lines a line.
struct WrapCaretCase {
  const char* where;
  int column;
  int line;
  int after;
};

void PrintTo(const WrapCaretCase& c, std::ostream* os) { *os << c.where; }

class WrapCaretTest : public WrapMusicTest, public ::testing::WithParamInterface<WrapCaretCase> {};

TEST_P(WrapCaretTest, StaysInItsBarAtItsOffsetWhereverTheBarWent) {
  Add(BarsStaff(6, kShort));
  Layout(0, GetParam().column);
  WrapAll();
  ASSERT_EQ(view->GetDisplayLineCount(), 3);
  EXPECT_EQ(view->m_currentLine, GetParam().line);
  EXPECT_EQ(view->m_caretColumn, GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(Wrap, WrapCaretTest,
                         ::testing::Values(WrapCaretCase{"AtTheStart", 0, 0, 0},
                                           WrapCaretCase{"InABarThatStays", 5, 0, 5},
                                           WrapCaretCase{"OnTheSecondNoteOfTheFourthBar", 13, 1, 5},
                                           WrapCaretCase{"OnTheFourthBarsBarLine", 15, 1, 7},
                                           WrapCaretCase{"InTheLastBar", 22, 2, 6},
                                           WrapCaretCase{"AfterTheLastBarLine", 24, 2, 8}),
                         [](const auto& info) { return std::string(info.param.where); });

TEST_F(WrapMusicTest, ThePromptPaneAndTheWaitCursorShowWhileItRunsAndGoAfter) {
  Add(BarsStaff(6, kShort));
  Layout(0, 0);
  WrapAll();
  const std::vector<std::string> shown = {"Wrapping music from line to line...", ""};
  EXPECT_EQ(frame.statusMessages, shown);
  EXPECT_EQ(frame.waitCursorBegins, 1);
  EXPECT_EQ(frame.waitCursorDepth, 0);
}

TEST_F(WrapMusicTest, ALongerStaffPullsTheBarsBackAndTheEmptiedLinesGo) {
  Add(BarsStaff(2, 2000));
  Add(BarsStaff(2, 2000));
  Add(BarsStaff(1, 2000));
  Layout(0, 0);
  WrapAll();
  ASSERT_EQ(view->GetDisplayLineCount(), 1);
  EXPECT_EQ(CountObjects(), 20);
  EXPECT_EQ(List(0)->GetObjCount(), 20);
}

TEST_F(WrapMusicTest, LinesThatFitAndCannotTakeAWholeBarStayAsTheyAre) {
  // Room for 10 columns: the first line's 8 leave 2, too few for a bar of 3.
  Add(BarsStaff(2, 225));
  Add(BarsStaff(2, 225));
  Layout(0, 0);
  const std::vector<std::string> before = Dumps();
  WrapAll();
  EXPECT_EQ(Dumps(), before);
}

TEST_F(WrapMusicTest, AMeasureLongerThanTheStaffStaysAloneAndIsReportedOnce) {
  auto* staff = new KStaffLine(0, 0, 0);
  for (int c = 0; c < 20; ++c) staff->GetObjList()->AddTail(new KChord(c, 10, kEighth, 0));
  staff->GetObjList()->AddTail(new KChord(20, 1, kBar, 0));
  for (int c = 21; c < 24; ++c) staff->GetObjList()->AddTail(new KChord(c, 10, kQuarter, 0));
  staff->UpdateTimeSigCache();
  staff->SetStaffLength(kShort);
  Add(staff);
  Layout(0, 0);
  WrapAll();
  ASSERT_EQ(view->GetDisplayLineCount(), 2);
  EXPECT_EQ(List(0)->GetObjCount(), 21) << "the long measure with its bar line";
  EXPECT_EQ(Dump(1), "0:8@10 1:8@10 2:8@10");
  EXPECT_EQ(ui.MessageIds(), std::vector<UINT>{kWrapMeasureTooLongMessage});
}

TEST_F(WrapMusicTest, ALineOfNaturalLengthTakesTheWidestNotationWidth) {
  Add(BarsStaff(6, 0));
  Layout(0, 0);
  view->m_widest = kShort;
  WrapAll();
  EXPECT_EQ(Line(0)->GetStaffLength(), kShort);
  EXPECT_EQ(view->GetDisplayLineCount(), 3);
}

TEST_F(WrapMusicTest, AGroupMovesAsOneAndItsLastGroupGetsAMatchingGroup) {
  const POSITION staff = Add(BarsStaff(6, kShort));
  auto* tab = new KTabLine(0, kGuitar, 0);
  for (int b = 0; b < 6; ++b) {
    for (int i = 0; i < 3; ++i)
      tab->GetObjList()->AddTail(new KChord(4 * b + i, 4, KChord::kFirstFret + 2 + i, kTabRhythm));
    tab->GetObjList()->AddTail(new KChord(4 * b + 3, 1, kBar, KChord::kTabRhythm));
  }
  tab->UpdateTimeSigCache();
  tab->SetStaffLength(kShort);
  const POSITION tabPos = Add(tab);
  Group(1, {staff, tabPos}, true);
  Layout(0, 0);
  WrapAll();
  ASSERT_EQ(doc.GetLineGroupCount(), 3);
  ASSERT_EQ(view->GetDisplayLineCount(), 6);
  for (int g = 0; g < 3; ++g) {
    const KListLine* upper = List(2 * g);
    const KListLine* lower = List(2 * g + 1);
    EXPECT_EQ(upper->GetType(), 0);
    EXPECT_EQ(lower->GetType(), 2);
    EXPECT_NE(upper->GetGroupId(), KLineObj::kNoGroup);
    EXPECT_EQ(upper->GetGroupId(), lower->GetGroupId());
    // Column by column the staff and its tablature still hold the same music.
    EXPECT_EQ(upper->GetObjCount(), lower->GetObjCount()) << "group " << g;
  }
  EXPECT_EQ(CountObjects(), 48);
}

// A line that names a line group the score does not hold is an internal
// fault: the run stops with the message that points to Undo and the report
// request, and no bar is lost.
TEST_F(WrapMusicTest, AnInternalFaultStopsTheRunWithTheUndoMessageAndKeepsEveryBar) {
  Add(BarsStaff(6, kShort));
  const POSITION broken = Add(BarsStaff(6, kShort));
  Layout(0, 0);
  doc.GetLineAt(broken)->SetGroup(99, nullptr);
  WrapAll();
  const std::vector<UINT> messages = ui.MessageIds();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0], kWrapErrorMessage);
  EXPECT_NE(ui.Messages().front().text.find("17"), std::string::npos) << ui.Messages().front().text;
  EXPECT_EQ(messages[1], kWrapReportMessage);
  EXPECT_EQ(CountObjects(), 48);
  doc.GetLineAt(broken)->SetGroup(KLineObj::kNoGroup, nullptr);
}

TEST_F(WrapMusicTest, UndoGivesBackTheScoreAsItWas) {
  Add(BarsStaff(6, kShort));
  Add(BarsStaff(1, kShort));
  Layout(0, 0);
  const std::vector<std::string> before = Dumps();
  WrapAll();
  ASSERT_NE(Dumps(), before);
  view->OnEditUndo();
  EXPECT_EQ(Dumps(), before);
}

struct HiddenCase {
  const char* name;
  bool grouped;
  int answer;
  bool wrapped;
};

void PrintTo(const HiddenCase& c, std::ostream* out) { *out << c.name; }

class WrapHiddenTest : public WrapMusicTest, public ::testing::WithParamInterface<HiddenCase> {};

TEST_P(WrapHiddenTest, HiddenLinesAskFirst) {
  const HiddenCase& c = GetParam();
  const POSITION staff = Add(BarsStaff(6, kShort));
  const POSITION text = AddText("words");
  if (c.grouped) Group(1, {staff, text}, false);
  view->m_show[8] = 0;
  view->m_show[0] = 1;
  view->m_show[5] = 0;
  view->m_allShown = 0;
  Layout(0, 0);
  ui.Answer(c.grouped ? kGroupsNeedAllLinesMessage : kWrapHiddenLinesMessage, c.answer);
  WrapAll();
  EXPECT_EQ(ui.MessageIds().front(), c.grouped ? kGroupsNeedAllLinesMessage : kWrapHiddenLinesMessage);
  EXPECT_EQ(doc.GetLineCount() > 2, c.wrapped);
}

INSTANTIATE_TEST_SUITE_P(
    Hidden, WrapHiddenTest,
    ::testing::Values(HiddenCase{"without groups No wraps the lines shown", false, IDNO, true},
                      HiddenCase{"without groups Cancel changes nothing", false, IDCANCEL, false},
                      HiddenCase{"with groups No changes nothing", true, IDNO, false}),
    [](const auto& info) { return CaseName(info.param.name); });

// ---- Wrapping a long score to a shorter staff -------------------------------------------

// Bars that pass through many lines on their way down (every line gives more
// than it keeps) land in order, each line within its length, none lost;
// alone and in groups of a staff with its tablature.
struct CascadeCase {
  const char* name;
  bool grouped;
};

void PrintTo(const CascadeCase& c, std::ostream* out) { *out << c.name; }

class WrapCascadeTest : public WrapMusicTest, public ::testing::WithParamInterface<CascadeCase> {};

// A staff of six bars whose notes stand on rows 10 + (its bar's number % 12).
KStaffLine* NumberedBars(int firstBar) {
  auto* staff = new KStaffLine(0, 0, 0);
  for (int b = 0; b < 6; ++b) {
    for (int i = 0; i < 3; ++i)
      staff->GetObjList()->AddTail(new KChord(4 * b + i, 10 + (firstBar + b) % 12, kQuarter, 0));
    staff->GetObjList()->AddTail(new KChord(4 * b + 3, 1, kBar, 0));
  }
  staff->UpdateTimeSigCache();
  staff->SetStaffLength(2000);
  return staff;
}

KTabLine* TabOf(const KStaffLine& staff) {
  auto* tab = new KTabLine(0, kGuitar, 0);
  const CObList* objects = staff.GetObjList();
  for (POSITION node = objects->GetHeadPosition(); node != nullptr;) {
    const KChord* chord = AsChord(objects->GetNext(node));
    if (chord->IsBarColumn()) {
      tab->GetObjList()->AddTail(new KChord(chord->GetPos(), 1, kBar, KChord::kTabRhythm));
    } else {
      tab->GetObjList()->AddTail(
          new KChord(chord->GetPos(), 4, KChord::kFirstFret + chord->GetNote(0).position - 10, kTabRhythm));
    }
  }
  tab->UpdateTimeSigCache();
  tab->SetStaffLength(2000);
  return tab;
}

// The notes of the score's lines of a type in order, as rows (staffs) or frets (tablature).
std::vector<int> NoteOrder(const CStavlinDoc& doc, int type) {
  std::vector<int> order;
  for (POSITION pos = doc.GetFirstLinePosition(); pos != nullptr;) {
    KLineObj* line = doc.GetNextLine(pos);
    const KListLine* list = line->AsListLine();
    if (list == nullptr || line->GetType() != type) continue;
    for (POSITION node = list->GetObjList()->GetHeadPosition(); node != nullptr;) {
      const KChord* chord = AsChord(list->GetObjList()->GetNext(node));
      if (chord != nullptr && !chord->IsBarColumn())
        order.push_back(chord->GetNote(0).code * 1000 + chord->GetNote(0).position);
    }
  }
  return order;
}

TEST_P(WrapCascadeTest, EveryBarLandsInOrderAndEveryLineFits) {
  constexpr int kLines = 16;
  for (int l = 0; l < kLines; ++l) {
    KStaffLine* staff = NumberedBars(6 * l);
    const POSITION at = Add(staff);
    if (GetParam().grouped) Group(l + 1, {at, Add(TabOf(*staff))}, true);
  }
  Layout(0, 0);
  const std::vector<int> staffNotes = NoteOrder(doc, 0);
  const std::vector<int> tabNotes = NoteOrder(doc, 2);
  const std::vector<std::string> before = Dumps();
  // Two and a bit bars a line: the excess of each line grows down the score.
  for (POSITION pos = doc.GetFirstLinePosition(); pos != nullptr;)
    doc.GetNextLine(pos)->SetStaffLength(kShort);
  WrapAll();
  EXPECT_TRUE(ui.Messages().empty());
  EXPECT_EQ(NoteOrder(doc, 0), staffNotes);
  EXPECT_EQ(NoteOrder(doc, 2), tabNotes);
  // 96 bars of 4 columns at about 11 columns a line.
  EXPECT_GE(view->GetDisplayLineCount(), (GetParam().grouped ? 2 : 1) * 96 * 4 / 12);
  for (int d = 0; d < view->GetDisplayLineCount(); ++d) {
    KListLine* line = List(d);
    ASSERT_NE(line, nullptr);
    EXPECT_LE(line->GetLength() * 18 + line->GetLeadInWidth(0) + line->GetIndent(), kShort) << "line " << d;
    if (GetParam().grouped && d % 2 == 1) {
      EXPECT_EQ(line->GetObjCount(), List(d - 1)->GetObjCount()) << "group " << d / 2;
    }
  }
  view->OnEditUndo();
  EXPECT_EQ(Dumps(), before);
}

INSTANTIATE_TEST_SUITE_P(Cascade, WrapCascadeTest,
                         ::testing::Values(CascadeCase{"lines of one staff", false},
                                           CascadeCase{"groups of a staff and its tablature", true}),
                         [](const auto& info) { return CaseName(info.param.name); });

// In a group, the words of its lyrics line and the symbols of its rhythm
// line stand under their bars: they go with the bars to the new group.
TEST_F(WrapMusicTest, LyricsAndRhythmSymbolsMoveWithTheirBars) {
  auto* staff = new KStaffLine(0, 0, 0);
  for (int b = 0; b < 6; ++b) {
    for (int i = 0; i < 3; ++i) staff->GetObjList()->AddTail(new KChord(4 * b + i, 10 + b, kQuarter, 0));
    staff->GetObjList()->AddTail(new KChord(4 * b + 3, 1, kBar, 0));
  }
  staff->UpdateTimeSigCache();
  staff->SetStaffLength(kShort);
  auto* rhythm = new KRhythmLine();
  for (int b = 0; b < 6; ++b)
    rhythm->GetObjList()->AddTail(new KRhythmObj(4 * b * 18 + 2, CString(std::to_string(b).c_str())));
  auto* words = new KStrLine("", 0);
  const POSITION staffPos = Add(staff);
  const POSITION rhythmPos = Add(rhythm);
  const POSITION wordsPos = Add(words);
  Group(1, {rhythmPos, staffPos, wordsPos}, false);
  // Word b under the first note of bar b.
  CDC* dc = host.GetMeasureDC();
  std::string text;
  for (int b = 0; b < 6; ++b) {
    while (words->GetXOfColumn(dc, view->m_textFonts, static_cast<int>(text.size())) < 4 * b * 18) {
      text += ' ';
      words->SetText(CString(text.c_str()));
    }
    text += "w" + std::to_string(b);
    words->SetText(CString(text.c_str()));
  }
  Layout(0, 0);
  WrapAll();
  ASSERT_EQ(doc.GetLineGroupCount(), 3);
  // For each group: the bars of its staff, the words of its lyrics and the
  // texts of its rhythm line name the same bars.
  std::vector<std::string> bars;
  std::vector<std::string> lyrics;
  std::vector<std::string> symbols;
  for (int d = 0; d < view->GetDisplayLineCount(); ++d) {
    KLineObj* line = Line(d);
    if (line->GetType() == 0) {
      std::string names;
      int last = -1;
      for (POSITION n = line->AsListLine()->GetObjList()->GetHeadPosition(); n != nullptr;) {
        const KChord* chord = AsChord(line->AsListLine()->GetObjList()->GetNext(n));
        const int bar = chord->IsBarColumn() ? -1 : chord->GetNote(0).position - 10;
        if (bar >= 0 && bar != last) names += "w" + std::to_string(bar) + " ";
        if (bar >= 0) last = bar;
      }
      bars.push_back(names);
    } else if (line->GetType() == 5) {
      std::istringstream in(Text(d));
      std::string names;
      for (std::string word; in >> word;) names += word + " ";
      lyrics.push_back(names);
    } else if (line->GetType() == 3) {
      std::string names;
      for (POSITION n = line->AsListLine()->GetObjList()->GetHeadPosition(); n != nullptr;) {
        const auto* item = static_cast<const KRhythmObj*>(line->AsListLine()->GetObjList()->GetNext(n));
        names += "w" + std::string(static_cast<LPCTSTR>(item->GetText())) + " ";
      }
      symbols.push_back(names);
    }
  }
  EXPECT_EQ(lyrics, bars);
  EXPECT_EQ(symbols, bars);
}

// ---- Lines laid out with a bar line at their start ----------------------------------------

// A staff from one character a column: 'n' a quarter note, '|' a bar line,
// ':' a start repeat; and back.
KStaffLine* StaffOf(const std::string& columns) {
  auto* staff = new KStaffLine(0, 0, 0);
  for (size_t c = 0; c < columns.size(); ++c) {
    const int pos = static_cast<int>(c);
    const char kind = columns[c];
    staff->GetObjList()->AddTail(kind == 'n' ? new KChord(pos, 10, kQuarter, 0)
                                             : new KChord(pos, 1, kind == ':' ? 24 : kBar, 0));
  }
  staff->UpdateTimeSigCache();
  staff->SetStaffLength(kShort);
  return staff;
}

std::string ColumnsOf(KListLine& line) {
  std::string columns;
  for (POSITION node = line.GetObjList()->GetHeadPosition(); node != nullptr;) {
    const KChord* chord = AsChord(line.GetObjList()->GetNext(node));
    columns.resize(static_cast<size_t>(chord->GetPos()), '.');
    columns += !chord->IsBarColumn() ? 'n' : chord->GetRawNote(0).code == 24 ? ':' : '|';
  }
  return columns;
}

struct OpeningBarCase {
  const char* name;
  const char* upper;
  const char* lower;
  const char* upperAfter;
  const char* lowerAfter;
};

void PrintTo(const OpeningBarCase& c, std::ostream* out) { *out << c.name; }

class WrapOpeningBarTest : public WrapMusicTest, public ::testing::WithParamInterface<OpeningBarCase> {};

TEST_P(WrapOpeningBarTest, TheBarLineThatClosesALineGoesToItsEndWhenItFits) {
  const OpeningBarCase& c = GetParam();
  Add(StaffOf(c.upper));
  Add(StaffOf(c.lower));
  Layout(0, 0);
  WrapAll();
  ASSERT_EQ(view->GetDisplayLineCount(), 2);
  EXPECT_EQ(ColumnsOf(*List(0)), c.upperAfter);
  EXPECT_EQ(ColumnsOf(*List(1)), c.lowerAfter);
  EXPECT_TRUE(ui.Messages().empty());
}

// Room for 11 columns: two bars and their bar lines, a bar line more only
// when the line holds fewer than 10 columns.
INSTANTIATE_TEST_SUITE_P(Layouts, WrapOpeningBarTest,
                         ::testing::Values(OpeningBarCase{"TheBarLineGoesUp", "nnn|nnn", "|nnn|nnn|",
                                                          "nnn|nnn|", "nnn|nnn|"},
                                           OpeningBarCase{"ALineWithoutRoomKeepsItsEnd", "nnn|nnn|nnn",
                                                          "|nnn|nnn|", "nnn|nnn|nnn", "|nnn|nnn|"},
                                           OpeningBarCase{"AStartRepeatStaysWithTheBarItOpens", "nnn|nnn",
                                                          ":nnn|nnn|", "nnn|nnn", ":nnn|nnn|"},
                                           OpeningBarCase{"ALineThatAlreadyEndsWithABarLineGivesNoSecond",
                                                          "nnn|nnn|", "|nnn|", "nnn|nnn|", "|nnn|"}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- The automatic check ---------------------------------------------------------------

TEST_F(WrapMusicTest, AutoWrapOffLeavesLongLinesAlone) {
  Add(BarsStaff(6, kShort));
  Layout(0, 0);
  view->m_autoWrap = 0;
  EXPECT_EQ(AutoWrapCheck(*view, 0, -1), 0);
  EXPECT_EQ(view->GetDisplayLineCount(), 1);
}

TEST_F(WrapMusicTest, AutoWrapStopsAtTheNextPieceAndLeavesLinesAboveAlone) {
  Add(BarsStaff(1, kShort));             // fits: stays
  Add(BarsStaff(6, kShort));             // overflows
  Add(new KStrLine("Second piece", 2));  // a title: it starts the next piece
  view->m_textFonts[2].lfUnderline = 1;
  Add(BarsStaff(6, kShort));  // the next piece: not wrapped
  Layout(1, 0);
  view->m_autoWrap = 1;
  const std::string first = Dump(0);
  EXPECT_EQ(AutoWrapCheck(*view, 1, -1), 1);
  EXPECT_EQ(Dump(0), first);
  EXPECT_EQ(view->GetDisplayLineCount(), 6);  // 1 + 3 + title + the untouched piece
  EXPECT_EQ(List(5)->GetObjCount(), 24);
}

TEST_F(WrapMusicTest, TypingPastTheStaffLengthWrapsWhenAutoWrapIsOn) {
  Add(BarsStaff(3, kShort));
  Layout(0, 11);
  view->m_autoWrap = 1;
  view->OnChar('|', 1, 0);
  view->OnChar('c', 1, 0);
  view->OnChar('q', 1, 0);
  EXPECT_GE(view->GetDisplayLineCount(), 2);
}

}  // namespace

namespace {

// Bars moved between lines of different keys keep sounding in their own key:
// the first staff (notes on rows 10-12) is in D, the second (rows 20-22) in C.
struct KeyCase {
  const char* name;
  int firstBars;
  int secondBars;
  int staffLength;
};

void PrintTo(const KeyCase& keyCase, std::ostream* out) { *out << keyCase.name; }

class WrapKeyTest : public WrapMusicTest, public ::testing::WithParamInterface<KeyCase> {};

KStaffLine* KeyedStaff(int bars, int staffLength, int key, int rowBase) {
  KStaffLine* staff = BarsStaff(bars, staffLength);
  for (POSITION node = staff->GetObjList()->GetHeadPosition(); node != nullptr;) {
    auto* column = static_cast<KChord*>(staff->GetObjList()->GetNext(node));
    if (!column->IsBarColumn()) column->SetNoteValue(0, column->GetNote(0).position + rowBase - 10);
  }
  staff->SetKeySignature(key, 0, 0);
  return staff;
}

TEST_P(WrapKeyTest, EveryNoteSoundsInTheKeyItWasWrittenIn) {
  constexpr int kD = 2;
  Add(KeyedStaff(GetParam().firstBars, GetParam().staffLength, kD, 10));
  Add(KeyedStaff(GetParam().secondBars, GetParam().staffLength, 0, 20));
  Layout(0, 0);
  WrapAll();
  int notes = 0;
  for (int d = 0; d < view->GetDisplayLineCount(); ++d) {
    KListLine* line = List(d);
    for (POSITION node = line->GetObjList()->GetHeadPosition(); node != nullptr;) {
      const auto* column = static_cast<const KChord*>(line->GetObjList()->GetNext(node));
      if (column->IsBarColumn() || column->IsSignatureColumn()) continue;
      const int row = column->GetNote(0).position;
      EXPECT_EQ(line->GetKeySignatureAt(column->GetPos()), row < 20 ? kD : 0)
          << "line " << d << " column " << column->GetPos();
      ++notes;
    }
  }
  EXPECT_EQ(notes, 3 * (GetParam().firstBars + GetParam().secondBars));
}

INSTANTIATE_TEST_SUITE_P(Keys, WrapKeyTest,
                         ::testing::Values(KeyCase{"BarsPushedIntoALineOfAnotherKey", 6, 1, kShort},
                                           KeyCase{"BarsPushedThroughALineOfAnotherKey", 8, 2, kShort},
                                           KeyCase{"BarsPulledUpFromALineOfAnotherKey", 1, 3, 2000}),
                         [](const ::testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

}  // namespace
