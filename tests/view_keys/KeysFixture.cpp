#include "KeysFixture.h"

#include <cctype>

#include "common/ErrorReporter.h"
#include "common/FontCodec.h"
#include "common/Globals.h"
#include "common/ViewServices.h"
#include "doc/pref_values/Preferences.h"
#include "lines/KRhythmLine.h"
#include "lines/KStaffLine.h"
#include "lines/KStrLine.h"
#include "lines/KTabLine.h"
#include "lines/LineClasses.h"
#include "model/DocServices.h"
#include "model/KChord.h"
#include "model/LineServices.h"
#include "view/core/ResetViewGlobals.h"
#include "view/core/ViewMirrors.h"

namespace {

constexpr const char* kGuitar = "E A D G B E  323742475156";
constexpr int kQuarter = 8;
constexpr int kBar = 21;
constexpr int kTabRhythm = 72;

void ResetGlobals() { ResetViewGlobals(); }

// The steps the keys record before they change the score; the state after a
// change (kind 8, which every update records) is left out.
void RecordUndo(CStavlinView&, int kind, int, int, const CString*, int) {
  if (kind != 8) KeysFixture::UndoKinds().push_back(kind);
}

KStaffLine* Staff(std::initializer_list<std::pair<int, int>> notes, int barAt) {
  auto* staff = new KStaffLine(0, 0, 0);
  for (const auto& [pos, row] : notes) staff->GetObjList()->AddTail(new KChord(pos, row, kQuarter, 0));
  if (barAt >= 0) staff->GetObjList()->AddTail(new KChord(barAt, 1, kBar, 0));
  staff->UpdateTimeSigCache();
  return staff;
}

KTabLine* Tab(const char* label) {
  auto* tab = new KTabLine(0, kGuitar, 0);
  // Fret 2 on the third string row (the tablature's string rows are 2..7).
  tab->GetObjList()->AddTail(new KChord(0, 4, KChord::kFirstFret + 2, kTabRhythm));
  tab->GetObjList()->AddTail(new KChord(1, 1, kBar, 0));
  tab->UpdateTimeSigCache();
  if (label != nullptr) tab->SetLabel(CString(label));
  return tab;
}

}  // namespace

std::vector<int>& KeysFixture::UndoKinds() {
  static std::vector<int> kinds;
  return kinds;
}

void KeysFixture::SetUp() {
  ResetGlobals();
  g_defaultIndent = 0;
  RegisterLineClasses();
  previousHooks = SetDocLineHooks(StavlinLineHooks());
  previousKeys = SetKeyStatePort(&keys);
  uiScope = std::make_unique<ScopedUiPort>(ui);
  UndoKinds().clear();
  SetUndoRecorder(&RecordUndo);
  host.client = RECT{0, 0, 800, 2000};
  view = std::make_unique<CStavlinView>(&doc, &host);
  view->m_show[8] = 1;
  LOGFONT font{};
  font.lfHeight = 16;
  font.lfWeight = 400;
  for (LOGFONT& slot : view->m_textFonts) slot = font;

  lines.push_back(doc.AddTailLine(new KStrLine("Title", 0)));
  lines.push_back(doc.AddTailLine(Staff({{0, 12}, {1, 14}}, 2)));
  lines.push_back(doc.AddTailLine(Tab(nullptr)));
  lines.push_back(doc.AddTailLine(new KStrLine("abc def", 0)));
  lines.push_back(doc.AddTailLine(new KStrLine("xyz", 0)));
  CString rhythmFont;
  LogFontToString(font, rhythmFont);
  lines.push_back(doc.AddTailLine(new KRhythmLine(0, rhythmFont)));
  lines.push_back(doc.AddTailLine(Staff({{0, 12}, {1, 16}}, 2)));
  lines.push_back(doc.AddTailLine(Tab("Guitar Tab-T")));
  lines.push_back(doc.AddTailLine(Tab("Guitar Tab-B")));
  lines.push_back(doc.AddTailLine(Staff({}, -1)));
  lines.push_back(doc.AddTailLine(new KStrLine("end", 0)));

  auto* group = new KLineGroup(kGroupId, lines[1], 0, 0, lines[2], KTabLine::kKindTab, 0, 1);
  doc.AddLineGroup(group);
  doc.GetLineAt(lines[1])->SetGroup(kGroupId, group);
  doc.GetLineAt(lines[2])->SetGroup(kGroupId, group);
  group->BindLines(doc);
  view->RebuildDisplayLines(0);
  view->FindTopLine(0);
}

void KeysFixture::TearDown() {
  view.reset();
  uiScope.reset();
  SetUndoRecorder(nullptr);
  SetKeyStatePort(previousKeys);
  SetDocLineHooks(previousHooks);
  ResetGlobals();
}

void KeysFixture::CaretAt(int displayLine, int column, int row) {
  view->RebuildDisplayLines(0);
  view->FindTopLine(view->GetVirtualScrollPosition().y);
  view->m_currentLine = displayLine;
  view->m_currentType = view->GetDisplayEntry(displayLine).type;
  view->m_currentFamily = KLineObj::FamilyOf(view->m_currentType);
  view->m_caretColumn = column;
  view->m_caretRow = row >= 0 ? row : (view->m_currentFamily == KLineObj::kFamilyTab ? 4 : 18);
  view->PlaceCaret();
  ui.ClearRecords();
  UndoKinds().clear();
}

namespace {
void Hold(FakeKeyState& keys, unsigned mods) {
  if ((mods & kShift) != 0) keys.Press(VK_SHIFT);
  if ((mods & kCtrl) != 0) keys.Press(VK_CONTROL);
  if ((mods & kAlt) != 0) keys.Press(VK_MENU);
}
}  // namespace

void KeysFixture::Press(UINT key, unsigned mods) {
  Hold(keys, mods);
  view->OnKeyDown(key, 1, 0);
  keys.ReleaseAll();
}

void KeysFixture::AltPress(UINT key, unsigned mods) {
  Hold(keys, mods | kAlt);
  view->OnSysKeyDown(key, 1, 0);
  keys.ReleaseAll();
}

void KeysFixture::Select(int firstLine, int lastLine, int firstColumn, int lastColumn) {
  view->UpdateSelection(firstColumn, lastColumn, firstLine, lastLine, 0);
}

KListLine* KeysFixture::List(int displayLine) const {
  KLineObj* line = Line(displayLine);
  return line != nullptr ? line->AsListLine() : nullptr;
}

std::string KeysFixture::Text(int displayLine) const {
  auto* text = dynamic_cast<KStrLine*>(Line(displayLine));
  return text != nullptr ? std::string(static_cast<LPCTSTR>(text->GetText())) : std::string();
}

musicnames::LineDump KeysFixture::Dump(int displayLine) const {
  return musicnames::DumpColumns(List(displayLine), false);
}
