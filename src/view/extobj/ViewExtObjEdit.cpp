// A double click on the selected extended object edits it by its kind: the
// text of a text object, the number and direction of a tuplet bracket, the
// style and text of a bracket; a tie, slur or V-line shows its two end
// handles instead, which the mouse then drags.

#include <algorithm>

#include "common/SettingCodec.h"
#include "doc/pref_values/PreferenceWriters.h"
#include "doc/pref_values/Preferences.h"
#include "model/KExtendedObj.h"
#include "platform/UiPort.h"
#include "view/CStavlinView.h"
#include "view/extobj/ViewExtObjDialogs.h"
#include "view/extobj/ViewExtObjPartners.h"
#include "view/extobj/ViewExtObjSupport.h"

namespace {

// A bracket keeps a font text of its own only when it is longer than this.
constexpr int kOwnFontLength = 30;

// The bracket texts of the dialog's choices 1 and 2.
constexpr const char* kFirstEnding = "1.";
constexpr const char* kSecondEnding = "2.";

bool EditText(CStavlinView& view, KExtendedObj& object) {
  KExtTextChoice choice;
  choice.fontText = object.GetFontText();
  choice.text = object.GetText();
  choice.background = object.GetOpaque();
  choice.link = object.GetLinkTarget();
  if (!AskExtText(choice)) return false;
  extobj::RecordObjectUndo(view, view.m_extDisplayLine);
  object.SetLinkTarget(choice.link);
  object.SetText(choice.text);
  object.SetBold(choice.background == 1 ? 1 : 0);
  if (choice.fontPicked != 0 || !choice.link.IsEmpty()) {
    object.SetFontText(choice.fontText);
    CStavlinDoc* doc = view.GetDocument();
    if (doc != nullptr && doc->UsesColor() == 0 && ParseTripleFlag(choice.fontText) != 0)
      doc->SetUsesColor(1);
  }
  return true;
}

bool EditTuplet(CStavlinView& view, KExtendedObj& object) {
  const CString text = object.GetText();
  KTripletChoice choice;
  choice.text = text.GetLength() > 0 ? text.Mid(1) : CString();
  choice.direction = text.GetLength() > 0 && text[0] == '-' ? 0 : 1;
  if (!AskTriplet(choice)) return false;
  extobj::RecordObjectUndo(view, view.m_extDisplayLine);
  object.SetText(CString(choice.direction == 1 ? "+" : "-") + choice.text);
  return true;
}

// The dialog's text choice for a bracket text.
int TextChoiceOf(const CString& text) {
  if (text.IsEmpty()) return 0;
  if (text == kFirstEnding) return 1;
  if (text == kSecondEnding) return 2;
  return 3;
}

CString TextOfChoice(const KBracketChoice& choice) {
  switch (choice.textChoice) {
    case 1:
      return kFirstEnding;
    case 2:
      return kSecondEnding;
    case 3:
      return choice.customText;
    default:
      return CString();
  }
}

bool EditBracket(CStavlinView& view, KExtendedObj& object) {
  const bool ownFont = object.GetFontText().GetLength() > kOwnFontLength;
  KBracketChoice choice;
  choice.style = object.GetKind() - KExtendedObj::kFirstBracketLine;
  choice.fontText = ownFont ? object.GetFontText() : g_prefBracket2TextFont;
  choice.textChoice = TextChoiceOf(object.GetText());
  if (choice.textChoice == 3) choice.customText = object.GetText();
  if (!AskBracketStyle(choice)) return false;
  const int style =
      std::clamp(choice.style, 0, KExtendedObj::kLastBracketLine - KExtendedObj::kFirstBracketLine);
  const CString text = TextOfChoice(choice);

  extobj::RecordObjectUndo(view, view.m_extDisplayLine);
  object.ChangeKind(style + KExtendedObj::kFirstBracketLine);
  CString font = ownFont ? object.GetFontText() : g_prefBracket2TextFont;
  if (choice.fontPicked != 0) {
    font = choice.fontText;
    if (!text.IsEmpty()) {
      // The chosen font becomes the program's bracket font.
      g_prefBracket2TextFont = font;
      view.m_bracketFontText = font;
      WritePreferenceText(HKEY_CURRENT_USER, KPrefGroup::k2ndBracketTextFont, font);
    }
  }
  view.m_bracketLabel = text;
  object.SetText(text);
  object.SetFontText(font);
  object.SetBold(1);
  return true;
}

}  // namespace

BOOL CStavlinView::EditSelectedExtendedObject() {
  if (m_selectedExtObj == nullptr || m_lineCount <= 0) return FALSE;
  m_extDisplayLine = std::clamp(m_extDisplayLine, 0, m_lineCount - 1);
  const int line = m_extDisplayLine;
  KExtendedObj& object = *m_selectedExtObj;
  const int kind = object.GetKind();

  if (kind == KExtendedObj::kTie || kind == KExtendedObj::kSlur || kind == KExtendedObj::kLineOrV) {
    CRect first;
    CRect second;
    extobj::HandleRects(*this, line, object, first, second);
    extobj::InvalidatePage(*this, m_extTracker);
    m_extHandles = {first, second};
    m_extTwoHandles = 1;
    extobj::InvalidatePage(*this, first);
    extobj::InvalidatePage(*this, second);
    return TRUE;
  }
  const bool bracket = kind >= KExtendedObj::kFirstBracketLine && kind <= KExtendedObj::kLastBracketLine;
  if (kind != KExtendedObj::kTextBox && kind != KExtendedObj::kNumberedBracket && !bracket) {
    MessageBeep(MB_ICONASTERISK);
    return TRUE;
  }
  if (LeaveReadOnlyForEdit() == FALSE) return TRUE;

  const auto copies = extobj::FindPartnerCopies(*this, line, object);
  bool changed = false;
  if (kind == KExtendedObj::kTextBox) {
    changed = EditText(*this, object);
  } else if (kind == KExtendedObj::kNumberedBracket) {
    changed = EditTuplet(*this, object);
  } else {
    changed = EditBracket(*this, object);
  }
  if (!changed) return TRUE;
  extobj::FollowOriginal(copies, object);
  extobj::InvalidatePage(*this, m_extTracker);
  m_extTracker = extobj::ScreenRect(*this, line, object);
  UpdateAfterEdit(extobj::ObjectHint(line), 0);
  return TRUE;
}
