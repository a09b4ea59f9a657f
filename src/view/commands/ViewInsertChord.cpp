// Insert/Chord: the user picks a chord (ChordSelect.h) and it is placed at
// the caret, as a chord diagram on a chord line or as a column of notes on a
// treble staff or treble tablature line. One undo step is recorded before
// the score changes; a cancelled pick changes nothing.

#include <algorithm>
#include <memory>

#include "chords/ChordPicShape.h"
#include "chords/ChordSettings.h"
#include "common/Globals.h"
#include "dialogs/ChordSelect.h"
#include "lines/KChordPicLine.h"
#include "lines/KTabLine.h"
#include "model/KChordPic.h"
#include "model/KListLine.h"
#include "platform/CDC.h"
#include "platform/UiPort.h"
#include "view/CStavlinView.h"

namespace {

constexpr UINT kMsgChordLinesOnly = 7078;
constexpr const char* kStandardTuning = "E A D G B E  323742475156";
constexpr int kTrebleStaff = 0;
constexpr int kTrebleTab = 2;
constexpr DWORD kColouredDiagrams = 0x80000;
constexpr int kUndoLine = 0;
constexpr int kUndoGroup = 1;

CString UsableTuning(const CString& tuning) {
  return tuning.GetLength() <= 1 ? CString(kStandardTuning) : tuning;
}

int StringCount(const CString& tuning) {
  int count = 0;
  for (int i = 0; i < std::min(tuning.GetLength(), 13); ++i) {
    if (tuning[i] != ' ') ++count;
  }
  return std::max(count, 1);
}

bool HasDiagram(const KListLine* list) {
  if (list == nullptr) return false;
  const CObList* objects = const_cast<KListLine*>(list)->GetObjList();
  for (POSITION pos = objects->GetHeadPosition(); pos != nullptr;) {
    if (dynamic_cast<const KChordPic*>(objects->GetNext(pos)) != nullptr) return true;
  }
  return false;
}

KChordSelectRequest MakeRequest(const CStavlinView& v, KLineObj* line) {
  KChordSelectRequest request;
  const KListLine* list = line->AsListLine();
  request.key = list != nullptr ? list->GetKeySignatureAt(v.m_caretColumn) : v.m_keyAtCaret;
  if (v.m_currentFamily == KLineObj::kFamilyChord) {
    const auto* chordLine = dynamic_cast<const KChordPicLine*>(line);
    const CString own = chordLine != nullptr ? chordLine->GetTuning() : CString();
    request.tuning = own.GetLength() < 12 ? CString(kStandardTuning) : own;
    if (HasDiagram(list)) {
      request.displayMode = line->TestFlags(kColouredDiagrams) != 0 ? 2 : 0;
    } else {
      request.displayMode = v.m_lastChordLineMode;
    }
    if (v.m_pendingChordLetter != 0) {
      request.initialKey = CString(v.m_pendingChordLetter) + " ";
    }
  } else if (const auto* tab = dynamic_cast<const KTabLine*>(line);
             tab != nullptr && v.m_currentType == kTrebleTab) {
    request.tuning = UsableTuning(tab->GetTuning());
    request.displayMode = 3;
  } else {
    request.tuning = UsableTuning(v.m_trebleTabTuning);
    request.displayMode = 1;
  }
  request.stringCount = StringCount(request.tuning);
  return request;
}

// The caret step after a diagram: the name's width in the line's name font,
// or the diagram's picture when that is wider (a one-letter name is narrower
// than its diagram), over the column width of the symbol size, plus one.
int DiagramStep(CStavlinView& v, KChordPicLine& line, const CString& name, int column) {
  CDC* dc = v.m_host != nullptr ? v.m_host->GetMeasureDC() : nullptr;
  int width = name.GetLength() * 8;
  if (dc != nullptr) {
    CFont* old = dc->SelectObject(line.GetNameFont());
    width = dc->GetTextExtent(std::string_view(static_cast<LPCTSTR>(name))).cx;
    dc->SelectObject(old);
  }
  if (const KChordPic* placed = AsChordPic(line.GetObjAt(column, 0)))
    width = std::max(width, line.GetDiagramExtent(*placed));
  return std::max(width, 0) / (v.m_sizeIndex != 0 ? 10 : 8) + 1;
}

// Moves the diagrams after the new one right until the first of them starts
// at end or later, so that a chord put in front of another does not cover it.
void MakeRoomAfter(KChordPicLine& line, int column, int end) {
  const CObList* objects = line.GetObjList();
  for (POSITION at = objects->GetHeadPosition(); at != nullptr;) {
    const auto* object = static_cast<const KPosObj*>(objects->GetNext(at));
    if (object->GetPos() <= column) continue;
    if (object->GetPos() < end) line.ShiftColumns(column + 1, end - object->GetPos(), -1);
    return;
  }
}

bool IsTallShape(const CString& shape) {
  return shape.GetLength() >= 26 && shape[24] >= '5' && shape[24] <= '7';
}

}  // namespace

void CStavlinView::OnInsertChord() {
  if (m_document == nullptr || m_lineCount <= 0) return;
  KLineObj* line = GetDisplayLineObj(m_currentLine);
  if (line == nullptr) return;
  const bool chordLine = m_currentFamily == KLineObj::kFamilyChord;
  if (!chordLine && m_currentType != kTrebleStaff && m_currentType != kTrebleTab) {
    MessageBeep(0);
    AfxMessageBox(kMsgChordLinesOnly);
    return;
  }
  const KChordSelectRequest request = MakeRequest(*this, line);
  std::optional<KChordChoice> choice = RunChordSelect(request);
  if (!choice) return;
  if (!chordLine && choice->column == nullptr) {
    // The chord has no notes to place on this line.
    MessageBeep(0);
    return;
  }

  if (!choice->tuning.IsEmpty() && choice->tuning != m_trebleTabTuning) {
    m_trebleTabTuning = choice->tuning;
    ScoreSettings settings;
    m_document->GetSettings(settings);
    settings.tabTuning = m_trebleTabTuning;
    m_document->SetSettings(settings, TRUE);
  }
  const CString name = DisplayedChordName(*choice);
  RemovePendingChordKey(g_pendingChordKeys, ChordDictionaryKey(*choice, g_CurrentTuning));

  const int groupId = line->GetGroupId();
  if (groupId != KLineObj::kNoGroup) {
    RecordUndoStep(kUndoGroup, groupId, 0, nullptr, 0);
  } else {
    RecordUndoStep(kUndoLine, m_currentLine, 0, nullptr, 0);
  }

  int hint = kHintLineFrom + 10000 * m_currentLine;
  if (auto* diagrams = dynamic_cast<KChordPicLine*>(line)) {
    if (!HasDiagram(diagrams)) {
      const bool coloured = choice->displayMode == 2;
      line->SetFlagValue(kColouredDiagrams, coloured ? 1 : 0);
      if (coloured) m_document->SetUsesColor(1);
      m_lastChordLineMode = coloured ? 2 : 0;
    }
    diagrams->InsertDiagramAt(m_caretColumn, name, choice->shape, choice->variation, 1);
    const int step = DiagramStep(*this, *diagrams, name, m_caretColumn);
    MakeRoomAfter(*diagrams, m_caretColumn, m_caretColumn + step);
    m_caretColumn += step;
    if (IsTallShape(choice->shape)) {
      RebuildDisplayLines(0);
      hint = kHintLineAndBelow + 10000 * m_currentLine;
    }
    diagrams->SetTuning(m_trebleTabTuning, 0);
  } else {
    KChord& column = *choice->column;
    column.SetPos(m_caretColumn);
    column.SetNoteStyle(m_noteStyle, -1);
    // A staff and tablature bracketed under mutual translation both get the
    // chord: the other line its own form of it.
    KChord* partner = choice->partner.get();
    if (partner != nullptr) {
      partner->SetPos(m_caretColumn);
      partner->SetNoteStyle(m_noteStyle, -1);
    }
    const POSITION position = GetDisplayEntry(m_currentLine).line;
    const KLinePair step = m_mutualTranslation != 0 && groupId != KLineObj::kNoGroup
                               ? InsertIntoLinkedLines(position, line, &column, partner)
                               : line->InsertCopy(&column, m_sizeIndex, m_caretColumn, nullptr, m_entryMode);
    m_caretColumn += std::max(step.first, 0);
  }
  // The chord joins the recent chords, for the next Insert/Chord.
  ChordRecord record;
  record.text0 = request.tuning;
  record.text1 = choice->keyName;
  record.text2 = choice->typeName;
  record.text3 = choice->spelling;
  record.value0 = choice->typeStringId;
  record.value1 = choice->libraryCount;
  record.value2 = choice->userCount;
  record.value3 = choice->variation;
  UpdateChordPicShape(record);
  m_document->SetModifiedFlag(TRUE);
  UpdateAfterEdit(hint, 1);
}
