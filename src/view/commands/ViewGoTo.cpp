// Edit/Go To: shows where the caret stands (line and bar, counted over all
// lines, over lines of its type, and with a line group counted once) and
// moves the caret to a chosen line or bar. A text line flagged as the start
// of a new piece starts the counting again.

#include "view/commands/ViewGoTo.h"

#include <algorithm>
#include <set>
#include <string>

#include "dialogs/KDlgGoTo.h"
#include "model/KListLine.h"
#include "platform/StringTable.h"
#include "platform/UiPort.h"
#include "view/CStavlinView.h"
#include "view/commands/CommandHandlers.h"
#include "view/commands/CommandIds.h"

namespace {

constexpr int kAllLines = 8;
constexpr DWORD kNewPiece = 0x8000;
constexpr int kBarAtColumn = 2000;
constexpr int kColumnOfBar = 2001;
constexpr int kWholeLine = 10000;
constexpr UINT kBarWord = 8075;

CString TypeName(int type) {
  static constexpr UINT kIds[] = {8061, 8062, 8069, 8072, 8071, 8060, 8071, 8060, 8060,
                                  8063, 8064, 8065, 8066, 8067, 8068, 8070, 8073};
  return type >= 0 && type < static_cast<int>(std::size(kIds)) ? LoadString(kIds[type]) : CString("All");
}

bool IsNotation(const KLineObj* line) { return line != nullptr && KLineObj::IsNoteFamily(line->GetFamily()); }

bool StartsPiece(const KLineObj* line) {
  return line != nullptr && line->GetFamily() == KLineObj::kFamilyText && line->TestFlags(kNewPiece) != 0;
}

int BarsOf(KLineObj* line, int column) {
  KListLine* list = line != nullptr ? line->AsListLine() : nullptr;
  if (list == nullptr || !IsNotation(line) || list->GetObjCount() == 0) return 0;
  return list->CountBars(kBarAtColumn, column).first;
}

// A counter of lines (of a type, or all) and of bars, once per group when
// counting score lines.
struct Counter {
  Counter(int type_, bool score_) : type(type_), score(score_) {}
  int type = kAllLines;
  bool score = false;
  int lines = 0;
  int bars = 0;
  std::set<int> groups;
  std::set<int> barGroups;

  void Reset() {
    lines = 0;
    bars = 0;
    groups.clear();
    barGroups.clear();
  }
  bool Counts(const KLineObj* line) const { return type == kAllLines || line->GetType() == type; }
  // Counts the line; true when it counted.
  bool CountLine(const KLineObj* line) {
    if (!Counts(line)) return false;
    if (score && line->GetGroupId() != KLineObj::kNoGroup && !groups.insert(line->GetGroupId()).second)
      return false;
    ++lines;
    return true;
  }
  // The bars the line adds (up to the column).
  int LineBars(KLineObj* line, int column) {
    if (!Counts(line) || !IsNotation(line)) return 0;
    if (score && line->GetGroupId() != KLineObj::kNoGroup && !barGroups.insert(line->GetGroupId()).second)
      return 0;
    return BarsOf(line, column);
  }
};

}  // namespace

KGoToPosition CountGoToPosition(CStavlinView& view) {
  KGoToPosition out;
  const int caret = std::clamp(view.m_currentLine, 0, std::max(view.GetDisplayLineCount() - 1, 0));
  KLineObj* caretLine = view.GetDisplayLineObj(caret);
  const int caretType = caretLine != nullptr ? caretLine->GetType() : kAllLines;
  Counter absolute{kAllLines, false};
  Counter byType{caretType, false};
  Counter score{caretType, true};
  for (int d = 0; d <= caret; ++d) {
    KLineObj* line = view.GetDisplayLineObj(d);
    if (line == nullptr) continue;
    if (StartsPiece(line) && d < caret) {
      absolute.bars = 0;
      byType.Reset();
      score.Reset();
    }
    byType.CountLine(line);
    score.CountLine(line);
    const int column = d == caret ? view.m_caretColumn : kWholeLine;
    absolute.bars += absolute.LineBars(line, column);
    byType.bars += byType.LineBars(line, column);
    score.bars += score.LineBars(line, column);
  }
  out.absoluteLine = caret + 1;
  out.typeLine = byType.lines;
  out.scoreLine = score.lines;
  out.absoluteBar = absolute.bars;
  out.typeBar = byType.bars;
  out.scoreBar = score.bars;
  out.type = caretType;
  return out;
}

void GoToTarget(CStavlinView& view, int number, bool bar, int type, bool score) {
  const int count = view.GetDisplayLineCount();
  if (count <= 0) return;
  if (bar && (type == 5 || type == 3 || type == 4)) type = kAllLines;
  if (type != kAllLines && view.m_show[ScoreSettings::kShowAll] == 0 &&
      view.m_show[static_cast<size_t>(type)] == 0) {
    view.ToggleLineTypeShown(type);
  }
  const int lines = view.GetDisplayLineCount();
  int target = -1;
  int column = 0;
  const CString lineWord = "line";
  if (!bar && type == kAllLines && !score && number > lines) {
    CString wanted;
    wanted.Format("%s %d", lineWord.Str().c_str(), number);
    CString most;
    most.Format("%s %d", lineWord.Str().c_str(), lines);
    CString text;
    AfxFormatString2(text, kGoToNoSuchLine, wanted, most);
    if (AfxMessageBox(text, MB_YESNOCANCEL) != IDYES) return;
    target = lines - 1;
  } else {
    const KGoToPosition here = CountGoToPosition(view);
    const int caret = std::clamp(view.m_currentLine, 0, lines - 1);
    KLineObj* caretLine = view.GetDisplayLineObj(caret);
    const int caretType = caretLine != nullptr ? caretLine->GetType() : kAllLines;
    Counter counter{type, score};
    int start = 0;
    const int ownCount = bar ? (score ? here.scoreBar : (type == kAllLines ? here.absoluteBar : here.typeBar))
                             : (score ? here.scoreLine : here.typeLine);
    if ((bar || type == caretType) && number > ownCount) {
      // Onward from the caret's line, whose lines before are counted.
      start = caret;
      for (int d = 0; d < caret; ++d) {
        KLineObj* line = view.GetDisplayLineObj(d);
        if (line == nullptr) continue;
        if (StartsPiece(line) && (bar || type != kAllLines || score)) counter.Reset();
        counter.CountLine(line);
        counter.bars += counter.LineBars(line, kWholeLine);
      }
    } else if (bar) {
      for (int d = caret; d >= 0; --d) {
        if (StartsPiece(view.GetDisplayLineObj(d))) {
          start = d;
          break;
        }
      }
    }
    int highest = 0;
    int highestLine = -1;
    for (int d = start; d < lines && target < 0; ++d) {
      KLineObj* line = view.GetDisplayLineObj(d);
      if (line == nullptr) continue;
      if (StartsPiece(line) && d > start) {
        if (bar) break;  // bars of the next piece are not this piece's
        // Lines of a type count again in each piece; all lines count as the
        // dialog shows them, from the top of the score.
        if (type != kAllLines || score) counter.Reset();
      }
      if (!bar) {
        if (counter.CountLine(line)) {
          if (counter.lines == number) target = d;
          if (counter.lines > highest) {
            highest = counter.lines;
            highestLine = d;
          }
        }
        continue;
      }
      const int bars = counter.LineBars(line, kWholeLine);
      if (bars > 0 && counter.bars + bars >= number) {
        target = d;
        const int within = number - counter.bars;
        KListLine* list = line->AsListLine();
        column =
            within <= 1 || list == nullptr ? 0 : std::max(list->CountBars(kColumnOfBar, within).first, 0);
      }
      counter.bars += bars;
    }
    if (target < 0) {
      CString text;
      if (bar) {
        AfxFormatString1(text, kGoToNoSuchBar, std::to_string(number).c_str());
        AfxMessageBox(text);
        return;
      }
      if (highestLine < 0) {
        MessageBeep(MB_OK);
        return;
      }
      CString wanted;
      wanted.Format("%s %s %d", TypeName(type).Str().c_str(), lineWord.Str().c_str(), number);
      CString most;
      most.Format("%s %s %d", TypeName(type).Str().c_str(), lineWord.Str().c_str(), highest);
      AfxFormatString2(text, kGoToNoSuchLine, wanted, most);
      if (AfxMessageBox(text, MB_YESNOCANCEL) != IDYES) return;
      target = highestLine;
    }
  }

  target = std::clamp(target, 0, view.GetDisplayLineCount() - 1);
  KLineObj* old = view.GetDisplayLineObj(view.m_currentLine);
  if (view.IsReadOnly() == 0 && target != view.m_currentLine && IsNotation(old)) {
    if (KListLine* list = old->AsListLine()) list->MarkChanged();
  }
  view.m_currentLine = target;
  KLineObj* line = view.GetDisplayLineObj(target);
  view.m_currentType = line != nullptr ? line->GetType() : 0;
  view.m_currentFamily = KLineObj::FamilyOf(view.m_currentType);
  view.m_caretRow = view.m_currentFamily == KLineObj::kFamilyTab ? 4 : 18;
  view.m_caretColumn = column;
  const RECT client = view.m_host != nullptr ? view.m_host->GetClientRect() : RECT{};
  const int height = static_cast<int>(client.bottom - client.top);
  const int width = static_cast<int>(client.right - client.left);
  const int top = view.FindTopLine(std::max(view.GetDisplayEntry(target).top - height / 2, 0));
  const POINT caret = view.PlaceCaret();
  const POINT scroll = view.GetVirtualScrollPosition();
  view.SetVirtualScrollPosition(std::max(static_cast<int>(caret.x + scroll.x) - width / 2, 0), top);
  view.PlaceCaret();
  view.PublishMirrors();
  if (view.m_host != nullptr) view.m_host->InvalidateRect(nullptr, FALSE);
}

void OnEditGoTo(CStavlinView& view) {
  if (view.GetDisplayLineCount() <= 0) return;
  const KGoToPosition here = CountGoToPosition(view);
  const CString absoluteWord = "Absolute";
  const CString scoreWord = "Score";
  const CString lineWord = "line";
  const CString barWord = LoadString(kBarWord);
  const CString typeName = TypeName(here.type);
  const bool notation = KLineObj::IsNoteFamily(KLineObj::FamilyOf(here.type));

  KDlgGoTo dialog;
  dialog.absolute.Format("%s %s # %d, %s # %d", absoluteWord.Str().c_str(), lineWord.Str().c_str(),
                         here.absoluteLine, barWord.Str().c_str(), here.absoluteBar);
  dialog.absoluteByType.Format("%s %s %s # %d", absoluteWord.Str().c_str(), typeName.Str().c_str(),
                               lineWord.Str().c_str(), here.typeLine);
  dialog.scoreByType.Format("%s %s %s # %d", scoreWord.Str().c_str(), typeName.Str().c_str(),
                            lineWord.Str().c_str(), here.scoreLine);
  if (notation) {
    CString bars;
    bars.Format(", %s # %d", barWord.Str().c_str(), here.typeBar);
    dialog.absoluteByType += bars;
    bars.Format(", %s # %d", barWord.Str().c_str(), here.scoreBar);
    dialog.scoreByType += bars;
  }
  dialog.number = view.m_currentLine + 1;
  dialog.lineOrBar = 0;
  dialog.typeRadio = 0;
  dialog.countAsScore = 1;
  if (dialog.DoModal() != IDOK) return;
  GoToTarget(view, dialog.number, dialog.lineOrBar == 1, KDlgGoTo::TypeOfRadio(dialog.typeRadio),
             dialog.countAsScore != 0);
}

namespace {

constexpr KViewCommandHandler kHandlers[] = {
    {cmd::kEditGoTo, cmd::kEditGoTo, [](CStavlinView& v, UINT) { OnEditGoTo(v); }},
};

}  // namespace

std::span<const KViewCommandHandler> GoToCommandHandlers() { return kHandlers; }
