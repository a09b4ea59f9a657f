// Insert/Extended Object: over a selection of notes in one staff or
// tablature line the object is made at once (auto-insert); otherwise the
// view waits for the clicks that give the object's mid and end points,
// starting from the caret (a text, and a box with a text, are made at the
// caret at once).

#include <algorithm>

#include "doc/pref_values/PreferenceWriters.h"
#include "doc/pref_values/Preferences.h"
#include "model/AttachmentServices.h"
#include "model/DocServices.h"
#include "model/KExtendedObj.h"
#include "model/KListLine.h"
#include "platform/UiPort.h"
#include "view/CStavlinView.h"
#include "view/core/ViewLineGeometry.h"
#include "view/extobj/ViewExtObjAuto.h"
#include "view/extobj/ViewExtObjDialogs.h"
#include "view/extobj/ViewExtObjSupport.h"

namespace {

using namespace extobj;

constexpr UINT kMsgCannotAutoInsert = 7157;
// A selection of a single column: what to select instead.
constexpr UINT kMsgOneColumnSelected = 7158;
constexpr int kBoxKind = 22;

// The bracket style dialog; on OK the view keeps the style, text and font.
bool AskBracket(CStavlinView& view, int textChoice, const CString& customText) {
  KBracketChoice choice;
  choice.style =
      std::clamp(view.m_bracketKind, KExtendedObj::kFirstBracketLine, KExtendedObj::kLastBracketLine) -
      KExtendedObj::kFirstBracketLine;
  choice.textChoice = textChoice;
  choice.customText = customText;
  choice.fontText = g_prefBracket2TextFont;
  if (!AskBracketStyle(choice)) return false;
  view.m_bracketKind =
      std::clamp(choice.style, 0, KExtendedObj::kLastBracketLine - KExtendedObj::kFirstBracketLine) +
      KExtendedObj::kFirstBracketLine;
  switch (choice.textChoice) {
    case 1:
      view.m_bracketText = "1.";
      break;
    case 2:
      view.m_bracketText = "2.";
      break;
    case 3:
      view.m_bracketText = choice.customText;
      break;
    default:
      view.m_bracketText.Empty();
      break;
  }
  view.m_bracketFontText = g_prefBracket2TextFont;
  // A font chosen for no text changes nothing.
  if (!view.m_bracketText.IsEmpty() && choice.fontPicked != 0) {
    view.m_bracketFontText = choice.fontText;
    g_prefBracket2TextFont = choice.fontText;
    WritePreferenceText(HKEY_CURRENT_USER, KPrefGroup::k2ndBracketTextFont, choice.fontText);
  }
  return true;
}

int TextChoiceOf(const CString& text) {
  if (text.IsEmpty()) return 0;
  if (text == "1.") return 1;
  if (text == "2.") return 2;
  return 3;
}

int Refuse() {
  AfxMessageBox(kMsgCannotAutoInsert, MB_OK);
  return 0;
}

int AutoInsert(CStavlinView& view, UINT id, int displayLine) {
  // The selected line becomes the current line, the caret its last column.
  const int firstColumn = std::min(view.m_selFirstColumn, view.m_selLastColumn);
  const int lastColumn = std::max(view.m_selFirstColumn, view.m_selLastColumn);
  view.m_currentLine = displayLine;
  view.m_currentType = view.GetDisplayEntry(displayLine).type;
  view.m_currentFamily = KLineObj::FamilyOf(view.m_currentType);
  view.m_caretColumn = lastColumn;
  view.m_caretRow = view.m_currentFamily == KLineObj::kFamilyTab ? 4 : 18;
  view.PlaceCaret();
  if (id == kBracket && !AskBracket(view, 0, CString())) return 0;

  KLineObj* line = view.GetDisplayLineObj(displayLine);
  KListLine* list = line != nullptr ? line->AsListLine() : nullptr;
  if (list == nullptr || list->GetObjList()->IsEmpty()) return Refuse();
  const AutoScan scan =
      ScanColumns(*list, firstColumn, lastColumn, AboveNotes(id, view.m_bracketKind), TabStringSpacing(0));
  std::unique_ptr<KExtendedObj> object =
      MakeAutoObject(id, view.m_bracketKind, view.m_bracketText, view.m_bracketFontText, scan);
  if (object == nullptr && scan.objects == 1) {
    AfxMessageBox(kMsgOneColumnSelected, MB_OK);
    return 0;
  }
  if (object == nullptr) return Refuse();
  if (id == kBracket) {
    view.m_bracketLabel = view.m_bracketText;
    view.m_bracketText.Empty();
    view.m_bracketFontText = g_defaultTextFontText;
  }

  const int group = line->GetGroupId();
  if (group != KLineObj::kNoGroup) {
    view.RecordUndoStep(kUndoGroup, group, 0, nullptr, 0);
  } else {
    view.RecordUndoStep(kUndoLine, displayLine, 0, nullptr, 0);
  }
  const KExtendedObj& attached = *object;
  if (group != KLineObj::kNoGroup && view.m_mutualTranslation != 0) {
    view.ApplyOctaveMarks(group, view.GetDisplayEntry(displayLine).line, line, object.release());
  } else {
    line->AddAttachment(object.release());
  }
  if (id == kTriplet) RegroupTupletBeams(view, displayLine, attached);
  view.UpdateSelection(CStavlinView::kKeep, CStavlinView::kKeep, CStavlinView::kKeep, CStavlinView::kKeep,
                       CStavlinView::kSelClear);
  view.UpdateAfterEdit(CStavlinView::kHintLineFrom + 10000 * displayLine, 1);
  return 1;
}

int ArmPlacement(CStavlinView& view, UINT id) {
  if (id == kBracket && !AskBracket(view, TextChoiceOf(view.m_bracketText), view.m_bracketText)) return 0;
  view.CancelExtObjPlacement();
  view.m_pendingExtendedObject = id;
  view.m_extPoints = {};
  view.m_extPoints[0] = PlacementStart(view);
  if (id == kTextString ||
      (id == kBracket && view.m_bracketKind == kBoxKind && !view.m_bracketText.IsEmpty())) {
    view.m_extClicksWanted = 0;
    view.EditExtendedText();
    return 1;
  }
  view.m_extClicksWanted = id == kDownCurve || id == kUpCurve || id == kVLine ? 2 : 1;
  if (view.Host() != nullptr) view.Host()->SetCursorId(CStavlinView::kCursorCross);
  view.m_extMarkers = 1;
  const POINT start = view.m_extPoints[0];
  InvalidatePage(view, RECT{start.x - 5, start.y - 5, start.x + 5, start.y + 5});
  return 1;
}

}  // namespace

int CStavlinView::OnInsertExtendedObject(UINT id) {
  if (id < kDownCurve || id > kTextString || m_lineCount <= 0) return 0;
  if (LeaveReadOnlyForEdit() == FALSE) return 0;
  m_currentLine = std::clamp(m_currentLine, 0, m_lineCount - 1);
  if (GetDisplayLineObj(m_currentLine) == nullptr) return 0;
  const bool textLine = KLineObj::FamilyOf(m_currentType) == KLineObj::kFamilyText;
  // A selection counts only when its rectangle holds something: a click
  // leaves a selection of no width behind it, which asks for placement.
  const bool selected = m_selRect.right > m_selRect.left && m_selRect.bottom > m_selRect.top;
  if (textLine || !selected) return ArmPlacement(*this, id);

  const auto [first, last] = viewgeom::SelectedLines(*this);
  const int family = viewgeom::FamilyAt(*this, first);
  const bool notation = family == KLineObj::kFamilyStaff || family == KLineObj::kFamilyTab;
  if (first != last || !notation || id == kVLine || id == kTextString) return Refuse();
  return AutoInsert(*this, id, first);
}
