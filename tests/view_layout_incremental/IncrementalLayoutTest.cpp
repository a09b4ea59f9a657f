// Typing relays out only the edited line, with the result of a full layout:
// after every key of a sequence the view's display table, scroll size, widest
// notation width, pages and the lines' initial time signatures are compared
// with a second view over the same score that lays everything out again.

#include <gtest/gtest.h>

#include <cctype>
#include <memory>
#include <string>
#include <vector>

#include "common/ErrorReporter.h"
#include "common/Globals.h"
#include "common/ViewServices.h"
#include "doc/CStavlinDoc.h"
#include "doc/DocLineHooks.h"
#include "doc/pref_values/Preferences.h"
#include "lines/KStaffLine.h"
#include "lines/KStrLine.h"
#include "lines/KTabLine.h"
#include "lines/LineClasses.h"
#include "model/DocServices.h"
#include "model/KChord.h"
#include "model/KLineGroup.h"
#include "model/KListLine.h"
#include "model/LineServices.h"
#include "platform/FakeUiPort.h"
#include "view/CStavlinView.h"
#include "view/core/FakeViewHost.h"
#include "view/core/ResetViewGlobals.h"
#include "view/core/ViewMirrors.h"

namespace {

constexpr const char* kGuitar = "E A D G B E  323742475156";
constexpr int kBarCode = 21;

// One step of a case: the caret goes to the display line and column, then
// the keys are typed one by one.
struct Step {
  int line;
  int column;
  const char* keys;
};

struct IncrementalCase {
  const char* name;
  bool mutualTranslation;
  std::vector<Step> steps;
};

void PrintTo(const IncrementalCase& c, std::ostream* os) { *os << c.name; }

std::string CaseName(const std::string& text) {
  std::string name;
  bool upper = true;
  for (char c : text) {
    if (std::isalnum(static_cast<unsigned char>(c)) != 0) {
      name += upper ? static_cast<char>(std::toupper(static_cast<unsigned char>(c))) : c;
      upper = false;
    } else {
      upper = true;
    }
  }
  return name;
}

void ResetGlobals() { ResetViewGlobals(); }

// A line of `bars` bars of `notesPerBar` notes.
void FillBars(KListLine& line, int bars, int notesPerBar, bool tab) {
  int pos = 0;
  for (int b = 0; b < bars; ++b) {
    for (int n = 0; n < notesPerBar; ++n) {
      if (tab) {
        line.GetObjList()->AddTail(new KChord(pos++, 3, KChord::kFirstFret + 2, KChord::kTabRhythm + 2));
      } else {
        line.GetObjList()->AddTail(new KChord(pos++, 12 + n % 5, 8, 0));
      }
    }
    line.GetObjList()->AddTail(new KChord(pos++, 1, kBarCode, tab ? KChord::kTabRhythm : 0));
  }
  line.UpdateTimeSigCache();
}

// What a layout leaves that the comparison covers.
struct LayoutResult {
  std::vector<DisplayLine> table;
  int widest = 0;
  int scrollWidth = 0;
  int scrollHeight = 0;
  int pages = 0;
  std::vector<std::pair<int, int>> timeSignatures;  // beats and ticks at column 0 of each note line

  static LayoutResult Of(const CStavlinView& view) {
    LayoutResult r;
    for (int i = 0; i < view.GetDisplayLineCount(); ++i) {
      r.table.push_back(view.GetDisplayEntry(i));
      KLineObj* line = view.GetDisplayLineObj(i);
      KListLine* list = line != nullptr ? line->AsListLine() : nullptr;
      if (list == nullptr || !KLineObj::IsNoteFamily(line->GetFamily())) continue;
      int beats = 0;
      int ticks = 0;
      list->GetTimeSignatureAt(0, beats, ticks, 0);
      r.timeSignatures.emplace_back(beats, ticks);
    }
    r.widest = view.m_widest;
    r.scrollWidth = view.GetScrollWidth();
    r.scrollHeight = view.GetScrollHeight();
    r.pages = view.GetPageCount();
    return r;
  }
};

std::string Describe(const DisplayLine& e) {
  return "type " + std::to_string(e.type) + " top " + std::to_string(e.top) + " bottom " +
         std::to_string(e.bottom) + " bar " + std::to_string(e.extra[0]) + " page " +
         std::to_string(e.extra[1]);
}

class IncrementalLayout : public ::testing::TestWithParam<IncrementalCase> {
 protected:
  void SetUp() override {
    ResetGlobals();
    g_defaultIndent = 0;
    RegisterLineClasses();
    previousHooks_ = SetDocLineHooks(StavlinLineHooks());
    uiScope_ = std::make_unique<ScopedUiPort>(ui_);
    // A small page, so that the score runs over several pages.
    g_prefPrinterParams = KPrefPrinterParams{800, 400, 96, 96};
    g_screenResX = g_screenResY = 96;

    doc_.AddTailLine(new KStrLine("A title", 0));
    for (int g = 0; g < 4; ++g) {
      auto* staff = new KStaffLine(0, 0, 0);
      FillBars(*staff, 3 + 4 * g, 3, false);
      const POSITION staffPos = doc_.AddTailLine(staff);
      auto* tab = new KTabLine(0, kGuitar, 0);
      FillBars(*tab, 3 + 4 * g, 3, true);
      const POSITION tabPos = doc_.AddTailLine(tab);
      auto* group = new KLineGroup(g, staffPos, 0, 0, tabPos, tab->GetType(), 0, 1);
      doc_.AddLineGroup(group);
      staff->SetGroup(g, group);
      tab->SetGroup(g, group);
      group->BindLines(doc_);
    }
    for (int s = 0; s < 3; ++s) {
      auto* staff = new KStaffLine(0, 0, 0);
      FillBars(*staff, 2 + 5 * s, 4, false);
      doc_.AddTailLine(staff);
    }
    doc_.AddTailLine(new KStrLine("words under the last staff", 0));

    view_ = MakeView(host_);
    reference_ = MakeView(referenceHost_);
    doc_.RemoveView(reference_.get());  // lays out only when the test asks
  }

  void TearDown() override {
    reference_.reset();
    view_.reset();
    uiScope_.reset();
    SetDocLineHooks(previousHooks_);
    ResetGlobals();
  }

  std::unique_ptr<CStavlinView> MakeView(FakeViewHost& host) {
    auto view = std::make_unique<CStavlinView>(&doc_, &host);
    view->m_show[8] = 0;
    LOGFONT font{};
    font.lfHeight = 16;
    font.lfWeight = 400;
    for (LOGFONT& slot : view->m_textFonts) slot = font;
    view->m_baseFontHeight[0] = 16;
    view->m_barNumbersShown = 1;
    view->m_printScale = 100;
    view->ComputePageMargins();
    view->RebuildDisplayLines(0);
    return view;
  }

  void CaretAt(int line, int column) {
    view_->m_currentLine = line;
    view_->m_currentType = view_->GetDisplayEntry(line).type;
    view_->m_currentFamily = KLineObj::FamilyOf(view_->m_currentType);
    view_->m_caretColumn = column;
    view_->m_caretRow = view_->m_currentFamily == KLineObj::kFamilyTab ? 3 : 18;
    view_->PlaceCaret();
  }

  // The full layout of the same score, from the edited view's widest width.
  LayoutResult FullLayout() {
    reference_->m_widest = view_->m_widest;
    reference_->RebuildDisplayLines(0);
    return LayoutResult::Of(*reference_);
  }

  FakeUiPort ui_;
  std::unique_ptr<ScopedUiPort> uiScope_;
  KDocLineHooks previousHooks_;
  CStavlinDoc doc_;
  FakeViewHost host_;
  FakeViewHost referenceHost_;
  std::unique_ptr<CStavlinView> view_;
  std::unique_ptr<CStavlinView> reference_;
};

TEST_P(IncrementalLayout, EveryKeyLeavesTheLayoutAFullLayoutGives) {
  const IncrementalCase& c = GetParam();
  view_->m_mutualTranslation = c.mutualTranslation ? 1 : 0;
  ASSERT_GT(view_->GetPageCount(), 1);
  int keysTyped = 0;
  int relayouts = 0;
  for (const Step& step : c.steps) {
    CaretAt(step.line, step.column);
    for (const char* key = step.keys; *key != '\0'; ++key) {
      view_->OnChar(static_cast<unsigned char>(*key), 1, 0);
      ++keysTyped;
      // A key refreshed without a relayout (a typed symbol) leaves the bar
      // numbers and carried time signatures below it as they were until the
      // next relayout; the lines' places stay right either way.
      const bool relaidOut = view_->m_layoutCache.dirtyLast < 0;
      relayouts += relaidOut ? 1 : 0;
      const LayoutResult got = LayoutResult::Of(*view_);
      const LayoutResult want = FullLayout();
      SCOPED_TRACE("key " + std::to_string(keysTyped) + " ('" + std::string(1, *key) + "')");
      ASSERT_EQ(got.table.size(), want.table.size());
      for (size_t i = 0; i < got.table.size(); ++i) {
        EXPECT_EQ(got.table[i].line, want.table[i].line) << "display line " << i;
        EXPECT_EQ(got.table[i].top, want.table[i].top) << "display line " << i;
        EXPECT_EQ(got.table[i].bottom, want.table[i].bottom) << "display line " << i;
        if (relaidOut) {
          EXPECT_EQ(Describe(got.table[i]), Describe(want.table[i])) << "display line " << i;
        }
      }
      if (!relaidOut) continue;
      EXPECT_EQ(got.timeSignatures, want.timeSignatures);
      EXPECT_EQ(got.widest, want.widest);
      EXPECT_EQ(got.scrollWidth, want.scrollWidth);
      EXPECT_EQ(got.scrollHeight, want.scrollHeight);
      EXPECT_EQ(got.pages, want.pages);
    }
  }
  EXPECT_GT(relayouts, 0);
}

// Display lines: 0 title; 1..8 four staff and tablature pairs in bracketed
// groups (1, 3, 5, 7 staves; the last pair 60 columns long); 9..11 lone
// staves (the last 60 columns long); 12 a text line. Notes typed at the end
// of a 60-column line widen the score.
INSTANTIATE_TEST_SUITE_P(
    Keys, IncrementalLayout,
    ::testing::Values(
        IncrementalCase{"notes and backspaces on a lone staff", false, {{10, 4, "qqh\b\bq\b"}}},
        IncrementalCase{"a bar typed and taken out renumbers the bars below", false, {{3, 2, "|q|\b\b\b"}}},
        IncrementalCase{"edits of two lines before the relayout", false, {{3, 2, "|"}, {9, 3, "q\b"}}},
        IncrementalCase{"typing at the end of the widest line widens the score", false, {{11, 60, "qqqq\b"}}},
        IncrementalCase{
            "entry into a bracketed staff and its tablature", true, {{5, 3, "q|q\b\b"}, {7, 60, "qq|q"}}},
        IncrementalCase{"backspace at the start of the last line's notes", false, {{11, 1, "\b"}}}),
    [](const auto& info) { return CaseName(info.param.name); });

// After a typed note the edited line is laid out by itself (no fallback to
// the full layout), and a layout that would need more is refused.
TEST_F(IncrementalLayout, EditedLineIsLaidOutAloneAndAHeightChangeIsRefused) {
  CaretAt(9, 3);
  view_->OnChar('q', 1, 0);
  const POSITION edited = view_->GetDisplayEntry(9).line;
  EXPECT_EQ(view_->m_layoutCache.dirtyFirst, 7);
  EXPECT_TRUE(view_->RelayoutEditedLine(edited, 9));
  EXPECT_EQ(view_->m_layoutCache.dirtyLast, -1);
  EXPECT_EQ(LayoutResult::Of(*view_).table.size(), FullLayout().table.size());

  // A taller staff moves every line below it: only the full layout does that.
  view_->GetDisplayLineObj(9)->AsListLine()->SetSpaceAbove(30, 0);
  EXPECT_FALSE(view_->RelayoutEditedLine(edited, 9));
}

}  // namespace
