#include "EntryFixture.h"

#include <cctype>

#include "common/ErrorReporter.h"
#include "common/Globals.h"
#include "common/ViewServices.h"
#include "doc/pref_values/Preferences.h"
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

void ResetGlobals() { ResetViewGlobals(); }

void RecordUndo(CStavlinView&, int kind, int, int, const CString*, int) {
  EntryFixture::UndoKinds().push_back(kind);
}

}  // namespace

std::vector<int>& EntryFixture::UndoKinds() {
  static std::vector<int> kinds;
  return kinds;
}

void EntryFixture::SetUp() {
  ResetGlobals();
  g_defaultIndent = 0;
  RegisterLineClasses();
  previousHooks = SetDocLineHooks(StavlinLineHooks());
  previousKeys = SetKeyStatePort(&keys);
  uiScope = std::make_unique<ScopedUiPort>(ui);
  UndoKinds().clear();
  SetUndoRecorder(&RecordUndo);
  view = std::make_unique<CStavlinView>(&doc, &host);
  view->m_show[8] = 1;
  LOGFONT font{};
  font.lfHeight = 16;
  font.lfWeight = 400;
  for (LOGFONT& slot : view->m_textFonts) slot = font;
}

void EntryFixture::TearDown() {
  view.reset();
  uiScope.reset();
  SetUndoRecorder(nullptr);
  SetKeyStatePort(previousKeys);
  SetDocLineHooks(previousHooks);
  ResetGlobals();
}

POSITION EntryFixture::AddStaff(int type) { return doc.AddTailLine(new KStaffLine(type, 0, 0)); }

POSITION EntryFixture::AddTab() { return doc.AddTailLine(new KTabLine(0, kGuitar, 0)); }

POSITION EntryFixture::AddText(const char* text) { return doc.AddTailLine(new KStrLine(text, 0)); }

KLineGroup* EntryFixture::Group(int id, POSITION first, POSITION second, int bracket) {
  auto* group =
      new KLineGroup(id, first, LineAt(first)->GetType(), 0, second, LineAt(second)->GetType(), 0, bracket);
  doc.AddLineGroup(group);
  LineAt(first)->SetGroup(id, group);
  LineAt(second)->SetGroup(id, group);
  group->BindLines(doc);
  return group;
}

void EntryFixture::CaretAt(int displayLine, int column, int row) {
  view->RebuildDisplayLines(0);
  view->m_currentLine = displayLine;
  view->m_currentType = view->GetDisplayEntry(displayLine).type;
  view->m_currentFamily = KLineObj::FamilyOf(view->m_currentType);
  view->m_caretColumn = column;
  view->m_caretRow = row;
  view->PlaceCaret();
}

void EntryFixture::Type(const std::string& typed) {
  for (char c : typed) view->OnChar(static_cast<unsigned char>(c), 1, 0);
}

KListLine* EntryFixture::ListAt(POSITION position) const {
  KLineObj* line = LineAt(position);
  return line != nullptr ? line->AsListLine() : nullptr;
}

KStaffLine* EntryFixture::StaffAt(POSITION position) const {
  return dynamic_cast<KStaffLine*>(LineAt(position));
}

KTabLine* EntryFixture::TabAt(POSITION position) const { return dynamic_cast<KTabLine*>(LineAt(position)); }

musicnames::LineDump EntryFixture::Dump(POSITION position) const {
  return musicnames::DumpColumns(ListAt(position), true);
}

std::vector<int> EntryFixture::BarColumns(POSITION position) const {
  std::vector<int> bars;
  const KListLine* line = ListAt(position);
  if (line == nullptr) return bars;
  const CObList* objects = line->GetObjList();
  for (POSITION node = objects->GetHeadPosition(); node != nullptr;) {
    const KChord* chord = AsChord(objects->GetNext(node));
    if (chord != nullptr && chord->IsBarColumn()) bars.push_back(chord->GetPos());
  }
  return bars;
}
