#pragma once
// A score view over a score built in the test and laid out by the real
// RebuildDisplayLines, in a fake window with a fake main frame, scripted
// message boxes and dialogs, and every undo step recorded. Program-wide
// values are put back before and after each test.
//
// Geometry at symbol size 0 without labels and indents: content starts at
// x 11; a staff or tablature line of key 0 has its column 0 at x 45 and its
// columns 18 wide; a chord line's columns are 8 wide from x 11.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/ErrorReporter.h"
#include "common/FontCodec.h"
#include "common/Globals.h"
#include "common/ViewServices.h"
#include "doc/CStavlinDoc.h"
#include "doc/DocLineHooks.h"
#include "doc/pref_values/Preferences.h"
#include "lines/KChordPicLine.h"
#include "lines/KRhythmLine.h"
#include "lines/KStaffLine.h"
#include "lines/KStrLine.h"
#include "lines/KTabLine.h"
#include "lines/LineClasses.h"
#include "model/DocServices.h"
#include "model/KChord.h"
#include "model/KLineGroup.h"
#include "model/LineServices.h"
#include "platform/FakeUiPort.h"
#include "support/CaseName.h"
#include "view/CStavlinView.h"
#include "view/core/FakeViewHost.h"
#include "view/core/ResetViewGlobals.h"
#include "view/core/ViewMirrors.h"

namespace viewtest {

inline constexpr const char* kGuitar = "E A D G B E  323742475156";
inline constexpr int kQuarter = 8;
inline constexpr int kEighth = 0;
inline constexpr int kBar = 21;
inline constexpr int kTabRhythm = 72;
inline constexpr int kStaffColumnX = 45;  // x of column 0 of a staff or tablature line
inline constexpr int kColumnWidth = 18;

// One recorded undo step.
struct UndoStep {
  int kind;
  int a;
  int b;
  friend bool operator==(const UndoStep&, const UndoStep&) = default;
};

inline std::vector<UndoStep>& UndoSteps() {
  static std::vector<UndoStep> steps;
  return steps;
}

inline void RecordUndo(CStavlinView&, int kind, int a, int b, const CString*, int) {
  UndoSteps().push_back({kind, a, b});
}

inline void ResetTestViewGlobals() {
  ResetViewGlobals();
  g_autoWrap = 0;
}

// A staff with notes (column, row, code) and bars at the columns given.
inline KStaffLine* MakeStaff(std::initializer_list<std::pair<int, int>> notes,
                             std::initializer_list<int> bars = {}, int code = kQuarter) {
  auto* staff = new KStaffLine(0, 0, 0);
  std::vector<std::pair<int, int>> all(notes);
  for (int bar : bars) all.emplace_back(bar, -1);
  std::sort(all.begin(), all.end());
  for (const auto& [pos, row] : all) {
    staff->GetObjList()->AddTail(row < 0 ? new KChord(pos, 1, kBar, 0) : new KChord(pos, row, code, 0));
  }
  staff->UpdateTimeSigCache();
  return staff;
}

// A guitar tablature line with fret 2 on string row 4 at each column given.
inline KTabLine* MakeTab(std::initializer_list<int> columns) {
  auto* tab = new KTabLine(0, kGuitar, 0);
  for (int pos : columns) tab->GetObjList()->AddTail(new KChord(pos, 4, KChord::kFirstFret + 2, kTabRhythm));
  tab->UpdateTimeSigCache();
  return tab;
}

class ViewScoreFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetTestViewGlobals();
    g_defaultIndent = 0;
    RegisterLineClasses();
    previousHooks_ = SetDocLineHooks(StavlinLineHooks());
    uiScope_ = std::make_unique<ScopedUiPort>(ui);
    UndoSteps().clear();
    SetUndoRecorder(&RecordUndo);
    host.client = RECT{0, 0, 800, 2000};
    host.frame = &frame;
    MakeView();
  }

  // A fresh view of the document, with text fonts of one known size.
  void MakeView() {
    view = std::make_unique<CStavlinView>(&doc, &host);
    view->m_show[8] = 1;
    LOGFONT font{};
    font.lfHeight = 16;
    font.lfWeight = 400;
    for (LOGFONT& slot : view->m_textFonts) slot = font;
  }

  void TearDown() override {
    view.reset();
    uiScope_.reset();
    SetUndoRecorder(nullptr);
    SetDocLineHooks(previousHooks_);
    ResetTestViewGlobals();
  }

  POSITION Add(KLineObj* line) {
    lines.push_back(doc.AddTailLine(line));
    return lines.back();
  }
  POSITION AddText(const char* text) { return Add(new KStrLine(text, 0)); }
  POSITION AddChordLine() {
    CString font;
    LOGFONT logfont{};
    logfont.lfHeight = 16;
    LogFontToString(logfont, font);
    return Add(new KChordPicLine(0, kGuitar, font, 100, 100));
  }

  // Binds the lines at the positions into a group; bracket number 1 on each
  // when asked.
  KLineGroup* Group(int id, const std::vector<POSITION>& positions, bool bracket) {
    std::vector<int> types;
    for (POSITION pos : positions) types.push_back(doc.GetLineAt(pos)->GetType());
    auto* group = new KLineGroup(id, positions, types, 0);
    if (bracket) {
      for (int slot = 0; slot < group->GetSlotCount(); ++slot) group->SetSlotBracket(slot, 1);
    }
    doc.AddLineGroup(group);
    for (POSITION pos : positions) doc.GetLineAt(pos)->SetGroup(id, group);
    group->BindLines(doc);
    return group;
  }

  // Lays the score out and puts the caret on the display line.
  void Layout(int currentLine = 0, int column = 0) {
    view->RebuildDisplayLines(0);
    view->FindTopLine(0);
    view->m_currentLine = currentLine;
    view->m_currentType = view->GetDisplayEntry(currentLine).type;
    view->m_currentFamily = KLineObj::FamilyOf(view->m_currentType);
    view->m_caretColumn = column;
    view->m_caretRow = view->m_currentFamily == KLineObj::kFamilyTab ? 4 : 18;
    ui.ClearRecords();
    UndoSteps().clear();
    host.invalidated.clear();
  }

  void Select(int firstLine, int lastLine, int firstColumn, int lastColumn) {
    view->UpdateSelection(firstColumn, lastColumn, firstLine, lastLine, 0);
  }

  KLineObj* Line(int displayLine) const { return view->GetDisplayLineObj(displayLine); }
  KListLine* List(int displayLine) const {
    KLineObj* line = Line(displayLine);
    return line != nullptr ? line->AsListLine() : nullptr;
  }
  const DisplayLine& Entry(int i) const { return view->GetDisplayEntry(i); }

  static std::string TextOf(const KLineObj* line) {
    auto* text = dynamic_cast<const KStrLine*>(line);
    return text != nullptr ? std::string(static_cast<LPCTSTR>(text->GetText())) : std::string();
  }
  std::string Text(int displayLine) const { return TextOf(Line(displayLine)); }

  // A note line's columns as "pos:code@row,code@row pos:...".
  static std::string DumpLine(const KLineObj* line) {
    std::string out;
    const KListLine* list = line != nullptr ? line->AsListLine() : nullptr;
    if (list == nullptr) return out;
    for (POSITION node = list->GetObjList()->GetHeadPosition(); node != nullptr;) {
      const KChord* chord = AsChord(list->GetObjList()->GetNext(node));
      if (chord == nullptr) continue;
      if (!out.empty()) out += ' ';
      out += std::to_string(chord->GetPos()) + ':';
      for (int i = 0; i < chord->GetNoteCount(); ++i) {
        const NotePair note = chord->GetNote(i);
        if (i > 0) out += ',';
        out += std::to_string(note.code) + '@' + std::to_string(note.position);
      }
    }
    return out;
  }
  std::string Dump(int displayLine) const { return DumpLine(Line(displayLine)); }
  std::string DumpAt(POSITION position) const { return DumpLine(doc.GetLineAt(position)); }

  FakeUiPort ui;
  FakeFrameServices frame;
  CStavlinDoc doc;
  FakeViewHost host;
  std::unique_ptr<CStavlinView> view;
  std::vector<POSITION> lines;  // the score's lines in the order added

 private:
  std::unique_ptr<ScopedUiPort> uiScope_;
  KDocLineHooks previousHooks_;
};

}  // namespace viewtest
