// Completing an Insert/Extended Object command: the object is built from the
// clicked points (measured from the start point at the caret), or at the
// caret for a text and for a box with a text; the tuplet and text dialogs are
// asked here. The object is attached as one undo step.

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "common/SettingCodec.h"
#include "doc/pref_values/PreferenceWriters.h"
#include "doc/pref_values/Preferences.h"
#include "model/AttachmentServices.h"
#include "model/KExtendedObj.h"
#include "model/KLineGroup.h"
#include "model/KListLine.h"
#include "view/CStavlinView.h"
#include "view/extobj/ViewExtObjDialogs.h"
#include "view/extobj/ViewExtObjSupport.h"

namespace {

using namespace extobj;

constexpr int kTextColumnBase = 10000;
constexpr int kBoxKind = 22;
constexpr int kAutosaveByCharacters = 1;
// A click this close to the start makes a small object rather than none.
constexpr int kTinyVector = 3;

bool IsUpBracket(int kind) { return KExtendedObj::IsReversedBracket(kind); }

// Where engraving puts a hairpin and a text placed with the caret among the
// notes: a hairpin under the staff, a text over it (on a tablature line under
// the strings and the rhythm hanging there, or over the strings). A caret
// already above or below the lines keeps its row; for a text, the notes reach
// down the ledger lines to the guitar's low E, so only a caret below those
// asks for a text under the staff.
constexpr int kStaffTextRow = 10;     // a text's line clears the top staff line
constexpr int kStaffHairpinRow = 26;  // a hairpin clears the bottom staff line
constexpr int kFirstStaffBandRow = 11;
constexpr int kLowestLedgerNoteRow = 29;  // E3, the third ledger line below
constexpr int kTabTextRow = 1;
constexpr int kTabRowsUnderStrings = 2;
constexpr int kLastTabRow = 9;

// A bracket line with hooks (an ending, a phrase bracket) stands over the
// staff or the strings with its whole height clear of them, as one made over
// selected notes does: its line at most at this row, so that its hooks end
// above the top line; an "up" bracket at least at the row below the lines.
constexpr int kStaffBracketLowestRow = 9;
constexpr int kStaffUpBracketHighestRow = 26;
constexpr int kTabBracketLowestRow = 1;
constexpr int kTabUpBracketHighestRow = 8;
constexpr int kLastHookedBracket = 20;

int PlacedBracketRow(int family, int kind, int row) {
  if (kind < KExtendedObj::kFirstBracketLine || kind > kLastHookedBracket) return row;
  const bool up = IsUpBracket(kind);
  if (family == KLineObj::kFamilyStaff)
    return up ? std::max(row, kStaffUpBracketHighestRow) : std::min(row, kStaffBracketLowestRow);
  if (family == KLineObj::kFamilyTab)
    return up ? std::max(row, kTabUpBracketHighestRow) : std::min(row, kTabBracketLowestRow);
  return row;
}

int PlacedRow(const CStavlinView& view, unsigned command, int row) {
  const bool hairpin = command == kCrescendo || command == kDecrescendo;
  const bool text = command == kTextString;
  const bool bracket = command == kBracket;
  if (!hairpin && !text && !bracket) return row;
  const KLineObj* line = view.GetDisplayLineObj(view.GetCurrentLine());
  const KListLine* list = line != nullptr ? line->AsListLine() : nullptr;
  if (list == nullptr) return row;
  const int family = line->GetFamily();
  if (bracket) return PlacedBracketRow(family, view.m_bracketKind, row);
  if (family == KLineObj::kFamilyStaff) {
    if (row < kFirstStaffBandRow) return row;
    if (hairpin) return row >= kStaffHairpinRow ? row : kStaffHairpinRow;
    return row > kLowestLedgerNoteRow ? row : kStaffTextRow;
  }
  if (family == KLineObj::kFamilyTab) {
    const int strings = list->GetStringCount();
    const int firstString = strings < 6 ? 3 : 2;
    const int lastString = strings < 6 ? strings + 2 : strings + 1;
    if (row < firstString || row > lastString) return row;
    return hairpin ? std::min(lastString + kTabRowsUnderStrings, kLastTabRow) : kTabTextRow;
  }
  return row;
}

// A click's vector from the start point, in units of the normal size.
CPoint ClickVector(const CStavlinView& view, POINT click) {
  int dx = static_cast<int>(click.x - view.m_extPoints[0].x);
  int dy = static_cast<int>(click.y - view.m_extPoints[0].y);
  if ((std::abs(dx) < kTinyVector && std::abs(dy) < kTinyVector) || std::abs(dx) + std::abs(dy) < 5) {
    dx = kTinyVector;
    dy = kTinyVector;
  }
  const int scale = view.GetSizeIndex() != 0 ? 11 : 9;
  return CPoint(dx * 9 / scale, dy * 9 / scale);
}

std::unique_ptr<KExtendedObj> MakeBracket(CStavlinView& view, int column, int row, CPoint click, bool rhythm,
                                          bool textLine) {
  const int kind = view.m_bracketKind;
  int height = IsUpBracket(kind) ? -6 : 6;
  if (!rhythm) {
    if (kind == 7 || kind == 8) {
      height = 13;
    } else if (kind >= kBoxKind) {
      height = click.y;
    }
  }
  const int width = kind == 23 || kind == 24 ? click.x : click.x + 6;
  std::unique_ptr<KExtendedObj> object;
  if (kind == kBoxKind && !view.m_bracketText.IsEmpty()) {
    object = std::make_unique<KExtendedObj>(MeasureDC(view), column, textLine ? 0 : row, kBoxKind,
                                            view.m_bracketText, view.m_bracketFontText);
  } else {
    object = std::make_unique<KExtendedObj>(column, row, kind, 0, 0, width, height);
    object->SetText(view.m_bracketText);
    object->SetFontText(view.m_bracketFontText);
  }
  if (rhythm && (kind == 13 || kind == 20 || kind == 21)) object->SetOffset(0, 6);
  view.m_bracketLabel = view.m_bracketText;
  view.m_bracketText.Empty();
  view.m_bracketFontText = g_defaultTextFontText;
  return object;
}

std::unique_ptr<KExtendedObj> MakeTuplet(CStavlinView& view, int column, int row, CPoint click, bool rhythm) {
  const int family = view.GetCurrentFamily();
  KTripletChoice choice;
  choice.text = "3";
  const bool up =
      (family == KLineObj::kFamilyStaff && row > 17) || (family == KLineObj::kFamilyTab && row > 3);
  choice.direction = up ? 1 : 0;
  if (!AskTriplet(choice)) return nullptr;
  auto object = std::make_unique<KExtendedObj>(column, row, KExtendedObj::kNumberedBracket, 0, 0, click.x + 6,
                                               rhythm ? 0 : click.y);
  object->SetText(CString(choice.direction == 1 ? "+" : "-") + choice.text);
  return object;
}

std::unique_ptr<KExtendedObj> MakeText(CStavlinView& view, int column, int row) {
  KExtTextChoice choice;
  choice.fontText = g_prefExt2TextFont;
  choice.background = 0;
  if (!AskExtText(choice)) return nullptr;
  const int family = view.GetCurrentFamily();
  CString font = choice.fontText;
  if (choice.fontPicked != 0) {
    g_prefExt2TextFont = font;
    WritePreferenceText(HKEY_CURRENT_USER, KPrefGroup::k2ndExtTextFont, font);
  } else if (family == KLineObj::kFamilyRhythm) {
    font = view.m_options.rhythmFont;
  } else if (family == KLineObj::kFamilyChord) {
    font = view.m_options.chordNameFont;
  } else {
    font = g_defaultTextFontText;
  }
  auto object = std::make_unique<KExtendedObj>(column, row, choice.text, font);
  object->SetBold(choice.background == 1 ? 1 : 0);
  object->SetLinkTarget(choice.link);
  CStavlinDoc* doc = view.GetDocument();
  if (doc != nullptr && doc->UsesColor() == 0 && ParseTripleFlag(font) != 0) doc->SetUsesColor(1);
  if (family == KLineObj::kFamilyChord) object->SetOffset(0, 11);
  if (family == KLineObj::kFamilyRhythm) object->SetOffset(0, 16);
  return object;
}

// Attaches the object to the current line (and its bracketed partners when
// mutual translation is on) after the undo step; the update hint.
int Attach(CStavlinView& view, std::unique_ptr<KExtendedObj> object) {
  const int current = view.GetCurrentLine();
  KLineObj* line = view.GetDisplayLineObj(current);
  CStavlinDoc* doc = view.GetDocument();
  const int group = line->GetGroupId();
  if (group == KLineObj::kNoGroup || doc == nullptr) {
    view.RecordUndoStep(kUndoLine, current, 0, nullptr, 0);
    line->AddAttachment(object.release());
    return CStavlinView::kHintLineFrom + 10000 * current;
  }
  view.RecordUndoStep(kUndoGroup, group, 0, nullptr, 0);
  if (view.m_mutualTranslation != 0 && line->GetFamily() != KLineObj::kFamilyText) {
    view.ApplyOctaveMarks(group, view.GetDisplayEntry(current).line, line, object.release());
  } else {
    line->AddAttachment(object.release());
  }
  const KLineGroup* lineGroup = doc->FindLineGroup(group);
  if (lineGroup == nullptr) return CStavlinView::kHintLineFrom + 10000 * current;
  return lineGroup->EncodeLineRange(
      current, 0, std::span<const DisplayLine>(view.m_display.data(), static_cast<size_t>(view.m_lineCount)));
}

}  // namespace

void CStavlinView::EditExtendedText() {
  KLineObj* line = GetDisplayLineObj(m_currentLine);
  const UINT command = m_pendingExtendedObject;
  if (line == nullptr || command < kDownCurve || command > kTextString) {
    CancelExtObjPlacement();
    return;
  }
  const int family = KLineObj::FamilyOf(m_currentType);
  const bool rhythm = family == KLineObj::kFamilyRhythm;
  const bool textLine = family == KLineObj::kFamilyText;
  const bool atCaret = command == kTextString ||
                       (command == kBracket && m_bracketKind == kBoxKind && !m_bracketText.IsEmpty());
  CPoint mid(kTinyVector, kTinyVector);
  CPoint end(kTinyVector, kTinyVector);
  if (!atCaret) {
    mid = ClickVector(*this, m_extPoints[1]);
    end = ClickVector(*this, m_extPoints[2]);
    if (m_host != nullptr) m_host->SetCursorId(0);
  }

  // Objects of text lines stand at the caret's pixel x.
  const int column = textLine ? CaretColumnX(*this) + kTextColumnBase : m_caretColumn;
  const int row = textLine ? 0 : PlacedRow(*this, command, m_caretRow);
  std::unique_ptr<KExtendedObj> object;
  switch (command) {
    case kDownCurve:
    case kUpCurve:
      object = std::make_unique<KExtendedObj>(column, row, command == kDownCurve ? 0 : 1, mid.x, mid.y, end.x,
                                              rhythm ? 0 : end.y);
      if (rhythm && command == kUpCurve) object->SetOffset(0, 21);
      break;
    case kTriplet:
      object = MakeTuplet(*this, column, row, mid, rhythm);
      break;
    case kCrescendo:
    case kDecrescendo:
      object = std::make_unique<KExtendedObj>(column, row, command == kCrescendo ? 4 : 5, 0, 0, mid.x + 6, 7);
      if (rhythm) object->SetOffset(0, 8);
      break;
    case kBracket:
      object = MakeBracket(*this, column, row, mid, rhythm, textLine);
      break;
    case kVLine:
      object =
          std::make_unique<KExtendedObj>(column, row, KExtendedObj::kLineOrV, mid.x, mid.y, end.x, end.y);
      break;
    default:
      object = MakeText(*this, column, row);
      break;
  }
  // A placement made without clicks ends here; clicks end at their release.
  if (m_extClicksWanted == 0) m_pendingExtendedObject = 0;
  if (object == nullptr) return;  // cancelled

  const KExtendedObj& attached = *object;
  const int hint = Attach(*this, std::move(object));
  if (command == kTriplet && !textLine) RegroupTupletBeams(*this, m_currentLine, attached);
  UpdateAfterEdit(hint, 0);

  if (m_autosaveKind == kAutosaveByCharacters) {
    ++m_autosaveCount;
    if (m_autosaveInterval != 0 && m_autosaveCount >= m_autosaveInterval) {
      m_autosaveCount = 0;
      m_autosaveDue = 1;
    }
  }
}
