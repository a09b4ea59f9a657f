// Older scores (before version 3608) indented the text, chord and rhythm
// lines of a line group with leading blanks and empty columns; the view
// gives such lines the group's indent in pixels instead, once, as it first
// shows the score.

#include <algorithm>
#include <string>

#include "common/ErrorReporter.h"
#include "lines/KChordPicLine.h"
#include "lines/KRhythmLine.h"
#include "lines/KStrLine.h"
#include "model/KLineGroup.h"
#include "model/KPosObj.h"
#include "platform/CDC.h"
#include "platform/GdiObjects.h"
#include "view/CStavlinView.h"
#include "view/core/ViewInitialSteps.h"

namespace {

// Per symbol size: where the first column of a group's lines starts, the
// step of the lead-in, and the width of a chord line's column.
constexpr int kFirstColumnOffset = 34;
constexpr int kIndentTrim = 5;
constexpr int kLeadInStep[2] = {5, 7};
constexpr int kChordColumnStep[2] = {8, 10};
constexpr int kBlanksMeasured = 50;

int LeadingBlanks(const std::string& text) {
  int count = 0;
  while (count < static_cast<int>(text.size()) && text[static_cast<size_t>(count)] == ' ') ++count;
  return count;
}

}  // namespace

bool ConvertOldIndentation(CStavlinView& view) {
  CStavlinDoc* doc = view.m_document;
  if (doc == nullptr) return true;
  const int size = view.GetSizeIndex() != 0 ? 1 : 0;
  CDC* dc = view.m_host != nullptr ? view.m_host->GetMeasureDC() : nullptr;
  int fontSlot = -1;  // the font selected into dc for text lines
  CFont font;
  CFont* previous = nullptr;
  bool ok = true;
  for (POSITION pos = doc->GetFirstLinePosition(); pos != nullptr && ok;) {
    KLineObj* line = doc->GetNextLine(pos);
    if (line == nullptr || line->GetGroupId() == KLineObj::kNoGroup || line->GetIndent() != 0) continue;
    const KLineGroup* group = line->GetGroup();
    int indent = kFirstColumnOffset - kIndentTrim;
    if (group != nullptr && group->GetLeadInSteps() > 0)
      indent += kLeadInStep[size] * (group->GetLeadInSteps() / 2 + 1);

    if (auto* text = dynamic_cast<KStrLine*>(line)) {
      const CString words = text->GetText();
      const int blanks = LeadingBlanks(words.Str());
      if (blanks > 0 && dc != nullptr) {
        const int slot = std::clamp(text->GetFontIndex(), 0, static_cast<int>(view.m_textFonts.size()) - 1);
        if (slot != fontSlot) {
          if (previous != nullptr) dc->SelectObject(previous);
          previous = nullptr;
          font.DeleteObject();
          LOGFONT logFont = view.m_textFonts[static_cast<size_t>(slot)];
          logFont.lfEscapement = 0;
          if (!font.CreateFontIndirect(&logFont)) {
            ReportInternalErrorOnce(kOnceFontFailed, kMsgInternalProblem, "QV4-39");
            ok = false;
            break;
          }
          previous = dc->SelectObject(&font);
          fontSlot = slot;
        }
        const int width = static_cast<int>(dc->GetTextExtent(std::string(kBlanksMeasured, ' ')).cx);
        if (width > 0) {
          const int removed = std::min(blanks, indent * kBlanksMeasured / width);
          text->SetText(words.Mid(removed));
        }
      }
      text->SetIndent(indent);
    } else if (auto* chords = dynamic_cast<KChordPicLine*>(line)) {
      CObList* objects = chords->GetObjList();
      if (objects != nullptr && !objects->IsEmpty()) {
        const auto* first = static_cast<const KPosObj*>(objects->GetHead());
        const int column = first->GetPos();
        if (column > 0) chords->ShiftColumns(column, -std::min(column, indent / kChordColumnStep[size]), -1);
      }
      chords->SetIndent(indent);
    } else if (dynamic_cast<KRhythmLine*>(line) != nullptr) {
      line->SetIndent(indent);
    }
  }
  if (previous != nullptr) dc->SelectObject(previous);
  return ok;
}
