// KRhythmLine: key entry and editing at a character caret. Characters go into
// text runs, symbol codes become symbols, the editing codes delete and insert
// blanks; symbols entered on note lines are mirrored here; the line splits,
// steps by words and moves its attachments with the arrow keys.
//
// Columns: each text character and each symbol is one column, and the space
// between items counts in blank widths (the column width). Every edit measures
// the line first (so that positions and widths are current), moves the items
// after the edit by the pixels it added or removed (so that the gaps after it
// keep their column counts) and leaves the column width at -1 so that the next
// measuring lays the items out again.

#include <algorithm>
#include <memory>

#include "common/ViewServices.h"
#include "lines/KRhythmLine.h"
#include "lines/KRhythmLineSymbols.h"
#include "lines/RhythmLineServices.h"
#include "model/KChord.h"
#include "model/KExtendedObj.h"
#include "model/KRhythmObj.h"
#include "platform/CDC.h"

namespace {
constexpr int kInsertBlank = 32761;
constexpr int kInsertBlankRun = 32763;
constexpr int kChangeInPlace = 10000;
constexpr int kNoAttachmentRow = 1000;
constexpr int kKeepAttachments = 1000;
constexpr int kLastColumn = 32000;
constexpr int kDotCode = 222;
constexpr int kFirstNoteCode = 205;
constexpr int kLastNoteCode = 240;
constexpr int kCopyrightChar = 169;
constexpr int kKeyLeft = 37;
constexpr int kKeyUp = 38;
constexpr int kKeyRight = 39;
constexpr int kKeyDown = 40;
constexpr int kFirstFret = 226;
constexpr int kLastFret = 250;
constexpr int kRhythmBlankNote = 224;
constexpr KLinePair kRefused{0, -1};

bool IsText(const KRhythmObj& item) {
  return item.GetCode() < KRhythmObj::kFirstSymbolCode || !item.GetText().IsEmpty();
}

// The blanks of key code 32763 (the program-wide count, kept to 1..100).
int BlankRun() { return std::clamp(g_blankRunCount, 1, 100); }

bool IsSymbol(const KRhythmObj* item) { return item != nullptr && !IsText(*item); }

// Selects the line's normal font into the measuring context for one edit.
class MeasureFont {
 public:
  MeasureFont(CDC* dc, CFont* font)
      : m_dc(dc), m_previous(dc != nullptr ? dc->SelectObject(font) : nullptr) {}
  ~MeasureFont() {
    if (m_dc != nullptr && m_previous != nullptr) m_dc->SelectObject(m_previous);
  }
  MeasureFont(const MeasureFont&) = delete;
  MeasureFont& operator=(const MeasureFont&) = delete;

 private:
  CDC* m_dc;
  CFont* m_previous;
};
}  // namespace

int KRhythmLine::TextExtent(const CString& text, int count) {
  CDC* dc = RhythmMeasureDC();
  if (dc == nullptr || count <= 0) return 0;
  const MeasureFont font(dc, GetFont(0));
  return dc->GetTextExtent(text.View().substr(0, std::min(count, text.GetLength()))).cx;
}

std::vector<KRhythmLine::Cell> KRhythmLine::Walk(CDC* dc) {
  MeasureSymbols(dc != nullptr ? dc : RhythmMeasureDC(), 0);
  const int unit = std::max(1, m_columnWidth);
  std::vector<Cell> cells;
  int column = 0;
  int end = 0;
  for (POSITION node = m_objects.GetHeadPosition(); node != nullptr;) {
    const POSITION at = node;
    KRhythmObj* item = static_cast<KRhythmObj*>(m_objects.GetNext(node));
    Cell cell;
    cell.node = at;
    cell.item = item;
    cell.gap = std::max(0, item->GetPos() - end) / unit;
    column += cell.gap;
    cell.start = column;
    cell.span = IsText(*item) ? item->GetText().GetLength() : 1;
    column += cell.span;
    cells.push_back(cell);
    end = item->GetPos() + item->GetWidth();
  }
  return cells;
}

namespace {
// The index of the first cell that ends after the column (the column lies in
// its gap or inside it); the cell count when the column lies past the end.
std::size_t FindCell(const std::vector<KRhythmLine::Cell>& cells, int column) {
  std::size_t i = 0;
  while (i < cells.size() && cells[i].start + cells[i].span <= column) ++i;
  return i;
}

int EndOf(const KRhythmObj* item) { return item != nullptr ? item->GetPos() + item->GetWidth() : 0; }
}  // namespace

void KRhythmLine::MoveItemsAfter(POSITION node, int delta) {
  if (delta == 0) return;
  POSITION walk = node;
  if (walk != nullptr)
    m_objects.GetNext(walk);
  else
    walk = m_objects.GetHeadPosition();
  while (walk != nullptr) {
    KRhythmObj* item = static_cast<KRhythmObj*>(m_objects.GetNext(walk));
    item->SetPos(std::max(0, item->GetPos() + delta));
  }
}

POSITION KRhythmLine::InsertItemBefore(POSITION node, KRhythmObj* item) {
  return node != nullptr ? m_objects.InsertBefore(node, item) : m_objects.AddTail(item);
}

void KRhythmLine::LeaveRun(POSITION node) {
  KRhythmObj* item = static_cast<KRhythmObj*>(m_objects.GetAt(node));
  const int link = item->GetLinkCode();
  if (link == 0) return;
  if (link > 0) {
    POSITION next = node;
    m_objects.GetNext(next);
    KRhythmObj* after = next != nullptr ? static_cast<KRhythmObj*>(m_objects.GetAt(next)) : nullptr;
    if (IsSymbol(after) && after->GetLinkCode() != 0) {
      const int e = after->GetLinkCode();
      after->SetLinkCode(e < -9 ? -10 - e : 0);
    }
  } else if (link >= -9) {
    POSITION prev = node;
    m_objects.GetPrev(prev);
    KRhythmObj* before = prev != nullptr ? static_cast<KRhythmObj*>(m_objects.GetAt(prev)) : nullptr;
    if (IsSymbol(before) && before->GetLinkCode() != 0) {
      const int c = before->GetLinkCode();
      before->SetLinkCode(c < 1 ? c + 10 : 0);
    }
  }
  item->SetLinkCode(0);
}

void KRhythmLine::BreakRunBetween(POSITION before, POSITION after) {
  KRhythmObj* left = before != nullptr ? static_cast<KRhythmObj*>(m_objects.GetAt(before)) : nullptr;
  KRhythmObj* right = after != nullptr ? static_cast<KRhythmObj*>(m_objects.GetAt(after)) : nullptr;
  if (!IsSymbol(left) || !IsSymbol(right)) return;
  const int c = left->GetLinkCode();
  const int e = right->GetLinkCode();
  // The run goes on across the boundary only when the left symbol opens or
  // continues it and the right one continues or closes it.
  if (!(c > 0 || c <= -11) || e >= 0) return;
  left->SetLinkCode(c > 0 ? 0 : c + 10);
  right->SetLinkCode(e <= -11 ? -10 - e : 0);
}

void KRhythmLine::BreakRunAround(POSITION node) {
  POSITION prev = node;
  m_objects.GetPrev(prev);
  POSITION next = node;
  m_objects.GetNext(next);
  BreakRunBetween(prev, next);
}

void KRhythmLine::LinkToPrevious(POSITION node) {
  KRhythmObj* item = static_cast<KRhythmObj*>(m_objects.GetAt(node));
  POSITION prev = node;
  m_objects.GetPrev(prev);
  KRhythmObj* before = prev != nullptr ? static_cast<KRhythmObj*>(m_objects.GetAt(prev)) : nullptr;
  if (!IsSymbol(before) || !IsFlaggedRhythmCode(before->GetCode())) {
    BreakRunAround(node);
    return;
  }
  const int k = RhythmBeamCount(item->GetCode());
  const int c = before->GetLinkCode();
  if (c == 0) {
    before->SetLinkCode(RhythmBeamCount(before->GetCode()));
    item->SetLinkCode(-k);
  } else if (c >= -9 && c <= -1) {
    before->SetLinkCode(c - 10);
    item->SetLinkCode(-k);
  } else if (c <= -11) {
    item->SetLinkCode(-10 - k);
  }
}

int KRhythmLine::RemoveObjAt(int position) {
  for (POSITION node = m_objects.GetHeadPosition(); node != nullptr;) {
    const POSITION at = node;
    KRhythmObj* item = static_cast<KRhythmObj*>(m_objects.GetNext(node));
    if (item->GetPos() != position) continue;
    LeaveRun(at);
    m_objects.RemoveAt(at);
    delete item;
    m_columnWidth = -1;
    m_keepStoredPlaces = false;
    MarkChanged();
    return 1;
  }
  return 0;
}

KLinePair KRhythmLine::DeleteAtCaret(int column, int row, int sizeIndex, int) {
  return HandleKey(kDeleteCode, 0, sizeIndex, column, row, 0, 0, 0);
}

KLinePair KRhythmLine::HandleKey(int code, int subCode, int sizeIndex, int column, int row, int linkFlag,
                                 int replace, int arg8) {
  // Columns lie within a line's width (the last column any caller names is
  // 32000); a larger one would only make runs of blanks without end.
  if (column < 0 || column > kLastColumn) return kRefused;
  const bool symbol = code >= KRhythmObj::kFirstSymbolCode && code <= 255;
  const bool character = code >= 0 && code < KRhythmObj::kFirstSymbolCode;
  const bool editing = code == kDeleteCode || code == kInsertBlank || code == kInsertBlankRun;
  if (!symbol && !character && !editing) return kRefused;
  m_keepStoredPlaces = false;  // an edit lays the line out again

  if (replace != 0 && code != kDeleteCode && row < kChangeInPlace) {
    const int times = code == kInsertBlankRun ? BlankRun() : 1;
    for (int i = 0; i < times; ++i)
      HandleKey(kDeleteCode, subCode, sizeIndex, column, kNoAttachmentRow, 0, 0, arg8);
  }
  m_columnWidth = -1;
  MarkChanged();

  KLinePair result = kRefused;
  if (row >= kChangeInPlace) {
    std::vector<Cell> cells = Walk();
    const std::size_t i = FindCell(cells, column);
    if (symbol && i < cells.size() && cells[i].start == column && IsSymbol(cells[i].item)) {
      LeaveRun(cells[i].node);
      cells[i].item->SetCode(code);
      result = {1, column};
    }
  } else if (code == kDeleteCode && row < kNoAttachmentRow && DeleteAttachmentAt(column, row) != 0) {
    result = {-1, column};
  } else if (m_objects.IsEmpty()) {
    result = EnterOnEmptyLine(code, column, subCode);
  } else {
    std::vector<Cell> cells = Walk();
    if (code == kDeleteCode) {
      result = DeleteAt(cells, column, row, subCode);
    } else if (code == kInsertBlank || code == kInsertBlankRun) {
      result = InsertBlanks(cells, column, code == kInsertBlank ? 1 : BlankRun(), subCode);
    } else if (symbol) {
      result = InsertSymbol(cells, code, column, linkFlag, subCode);
    } else {
      // A dot typed right after a note symbol is the dot symbol.
      const std::size_t i = FindCell(cells, column);
      const Cell* before = i > 0 ? &cells[i - 1] : nullptr;
      const bool afterNote = before != nullptr && IsSymbol(before->item) && before->start + 1 == column &&
                             before->item->GetCode() >= kFirstNoteCode &&
                             before->item->GetCode() <= kLastNoteCode;
      if (code == '.' && afterNote)
        result = InsertSymbol(cells, kDotCode, column, 0, subCode);
      else
        result = InsertChar(cells, code, column, subCode);
    }
  }
  m_columnWidth = -1;
  return result;
}

KLinePair KRhythmLine::EnterOnEmptyLine(int code, int column, int subCode) {
  if (code == kDeleteCode) return column > 0 ? KLinePair{-1, 0} : KLinePair{0, 0};
  int inserted = 1;
  if (code >= KRhythmObj::kFirstSymbolCode && code <= 255) {
    KRhythmObj* item = new KRhythmObj(0, code);
    if (column > 0) {
      const CString blanks(' ', column);
      m_objects.AddTail(new KRhythmObj(0, blanks));
      item->SetPos(TextExtent(blanks, column));
    }
    m_objects.AddTail(item);
  } else {
    CString text;
    if (code == kInsertBlank) {
      text = CString(' ', column + 1);
    } else if (code == kInsertBlankRun) {
      inserted = BlankRun();
      text = CString(' ', inserted + column);
    } else {
      text = CString(' ', column) + CString(static_cast<char>(code == 0 ? ' ' : code));
    }
    m_objects.AddTail(new KRhythmObj(0, text));
  }
  if (subCode != kKeepAttachments) ShiftAttachments(column, inserted);
  return {inserted, column};
}

KLinePair KRhythmLine::DeleteAt(std::vector<Cell>& cells, int column, int, int subCode) {
  const std::size_t i = FindCell(cells, column);
  if (i == cells.size()) return {0, column};
  const Cell& cell = cells[i];
  const int unit = std::max(1, m_columnWidth);
  if (column < cell.start) {
    // A blank column of the gap before the item: the items from it on close up.
    MoveItemsAfter(i > 0 ? cells[i - 1].node : nullptr, -unit);
  } else if (IsText(*cell.item)) {
    CString text = cell.item->GetText();
    const int before = TextExtent(text, text.GetLength());
    text.Delete(column - cell.start, 1);
    const int after = TextExtent(text, text.GetLength());
    if (text.IsEmpty()) {
      POSITION prev = cell.node;
      m_objects.GetPrev(prev);
      m_objects.RemoveAt(cell.node);
      delete cell.item;
      MoveItemsAfter(prev, after - before);
    } else {
      cell.item->SetText(text);
      MoveItemsAfter(cell.node, after - before);
    }
  } else {
    const int width = cell.item->GetWidth();
    LeaveRun(cell.node);
    POSITION prev = cell.node;
    m_objects.GetPrev(prev);
    m_objects.RemoveAt(cell.node);
    delete cell.item;
    MoveItemsAfter(prev, -width);
  }
  if (subCode != kKeepAttachments) ShiftAttachments(column, -1);
  return {0, column};
}

KLinePair KRhythmLine::InsertBlanks(std::vector<Cell>& cells, int column, int count, int subCode) {
  const std::size_t i = FindCell(cells, column);
  const CString blanks(' ', count);
  const int unit = std::max(1, m_columnWidth);
  const Cell* before = i > 0 ? &cells[i - 1] : nullptr;
  if (i < cells.size() && column >= cells[i].start && IsText(*cells[i].item)) {
    CString text = cells[i].item->GetText();
    const int old = TextExtent(text, text.GetLength());
    text.Insert(column - cells[i].start, blanks);
    cells[i].item->SetText(text);
    MoveItemsAfter(cells[i].node, TextExtent(text, text.GetLength()) - old);
  } else if (before != nullptr && IsText(*before->item) && before->start + before->span == column) {
    CString text = before->item->GetText();
    const int old = TextExtent(text, text.GetLength());
    text += blanks;
    before->item->SetText(text);
    MoveItemsAfter(before->node, TextExtent(text, text.GetLength()) - old);
  } else {
    const bool onItem = i < cells.size() && column == cells[i].start;
    const int endColumn = before != nullptr ? before->start + before->span : 0;
    const int pos = onItem ? cells[i].item->GetPos()
                           : EndOf(before ? before->item : nullptr) + (column - endColumn) * unit;
    KRhythmObj* item = new KRhythmObj(pos, blanks);
    const POSITION node = InsertItemBefore(i < cells.size() ? cells[i].node : nullptr, item);
    MoveItemsAfter(node, TextExtent(blanks, count));
    BreakRunAround(node);
  }
  if (subCode != kKeepAttachments) ShiftAttachments(column, count);
  return {count, column};
}

POSITION KRhythmLine::CutRun(const Cell& cell, int column) {
  const CString text = cell.item->GetText();
  const int cut = column - cell.start;
  const CString left = text.Left(cut);
  const CString right = text.Mid(cut);
  cell.item->SetText(left);
  cell.item->SetWidth(TextExtent(left, left.GetLength()));
  KRhythmObj* tail = new KRhythmObj(cell.item->GetPos() + cell.item->GetWidth(), right);
  tail->SetWidth(TextExtent(right, right.GetLength()));
  return m_objects.InsertAfter(cell.node, tail);
}

KLinePair KRhythmLine::InsertSymbol(std::vector<Cell>& cells, int code, int column, int linkFlag,
                                    int subCode) {
  const std::size_t i = FindCell(cells, column);
  const int unit = std::max(1, m_columnWidth);
  KRhythmObj* item = new KRhythmObj(0, code);
  const int width = code >= 223 && code <= 249 ? 18 : 9;
  POSITION node = nullptr;
  if (i < cells.size() && column > cells[i].start && IsText(*cells[i].item)) {
    // Inside a text run: the run is cut around the symbol.
    const Cell& cell = cells[i];
    const POSITION right = CutRun(cell, column);
    KRhythmObj* rightItem = static_cast<KRhythmObj*>(m_objects.GetAt(right));
    item->SetPos(rightItem->GetPos());
    node = m_objects.InsertBefore(right, item);
    rightItem->SetPos(item->GetPos() + width);
    MoveItemsAfter(right, width);
    CString left = cell.item->GetText();
    left.Remove(' ');
    if (left.IsEmpty()) {
      m_objects.RemoveAt(cell.node);
      delete cell.item;
    }
    if (rightItem->GetText().IsEmpty()) {
      m_objects.RemoveAt(right);
      delete rightItem;
    }
  } else if (i < cells.size() && column == cells[i].start) {
    item->SetPos(cells[i].item->GetPos());
    node = m_objects.InsertBefore(cells[i].node, item);
    MoveItemsAfter(node, width);
  } else {
    const Cell* before = i > 0 ? &cells[i - 1] : nullptr;
    const int endColumn = before != nullptr ? before->start + before->span : 0;
    item->SetPos(EndOf(before != nullptr ? before->item : nullptr) + (column - endColumn) * unit);
    node = InsertItemBefore(i < cells.size() ? cells[i].node : nullptr, item);
    MoveItemsAfter(node, width);
  }
  if (linkFlag != 0 && IsFlaggedRhythmCode(code))
    LinkToPrevious(node);
  else
    BreakRunAround(node);
  if (subCode != kKeepAttachments) ShiftAttachments(column, 1);
  return {1, column};
}

KLinePair KRhythmLine::InsertChar(std::vector<Cell>& cells, int code, int column, int subCode) {
  const char ch = static_cast<char>(code == 0 ? ' ' : code);
  const std::size_t i = FindCell(cells, column);
  const int unit = std::max(1, m_columnWidth);
  const Cell* before = i > 0 ? &cells[i - 1] : nullptr;
  const Cell* target = nullptr;
  int offset = 0;
  int pad = 0;
  if (i < cells.size() && column >= cells[i].start && IsText(*cells[i].item)) {
    target = &cells[i];
    offset = column - cells[i].start;
  } else if (before != nullptr && IsText(*before->item)) {
    target = before;
    offset = before->span;
    pad = column - (before->start + before->span);
  }

  int step = 1;
  int first = column;
  if (target != nullptr) {
    CString text = target->item->GetText();
    const int old = TextExtent(text, text.GetLength());
    if (ch == ')' && pad == 0 && offset >= 2 && text.GetAt(offset - 2) == '(' &&
        text.GetAt(offset - 1) == 'c') {
      // "(c)" becomes the circled c sign.
      text.Delete(offset - 2, 2);
      text.Insert(offset - 2, static_cast<char>(kCopyrightChar));
      step = -1;
      first = column - 2;
    } else {
      text.Insert(offset, CString(' ', pad) + CString(ch));
    }
    target->item->SetText(text);
    MoveItemsAfter(target->node, TextExtent(text, text.GetLength()) - old - pad * unit);
  } else {
    const bool onItem = i < cells.size() && column == cells[i].start;
    const int endColumn = before != nullptr ? before->start + before->span : 0;
    const CString text = onItem ? CString(ch) : CString(' ', column - endColumn) + CString(ch);
    const int pos = onItem ? cells[i].item->GetPos() : EndOf(before != nullptr ? before->item : nullptr);
    const POSITION node =
        InsertItemBefore(i < cells.size() ? cells[i].node : nullptr, new KRhythmObj(pos, text));
    MoveItemsAfter(node, TextExtent(text, text.GetLength()) - (onItem ? 0 : (column - endColumn) * unit));
    BreakRunAround(node);
  }
  if (subCode != kKeepAttachments) ShiftAttachments(first, step < 0 ? -2 : 1);
  return {step, first};
}

void KRhythmLine::SplitTextsAtRange(CDC* dc, int first, int end, int, int) {
  m_keepStoredPlaces = false;
  for (const int edge : {first, end}) {
    const std::vector<Cell> cells = Walk(dc);
    for (const Cell& cell : cells) {
      if (IsText(*cell.item) && edge > cell.start && edge < cell.start + cell.span) {
        CutRun(cell, edge);
        break;
      }
    }
  }
  m_columnWidth = -1;
  MarkChanged();
}

std::unique_ptr<KLineObj> KRhythmLine::SplitAt(int column, int, int) {
  auto line = std::make_unique<KRhythmLine>(m_key, m_fontText);
  line->SetLabel(m_label);
  line->SetFlagWord(m_flags);
  column = std::max(0, column);
  m_keepStoredPlaces = false;

  std::vector<Cell> cells = Walk();
  const std::size_t i = FindCell(cells, column);
  if (i < cells.size() && IsText(*cells[i].item) && column > cells[i].start) {
    CutRun(cells[i], column);
    cells = Walk();
  }
  const std::size_t from = FindCell(cells, column);
  if (from < cells.size()) {
    if (cells[from].item->GetLinkCode() < 0)
      BreakRunBetween(from > 0 ? cells[from - 1].node : nullptr, cells[from].node);
    const int base = cells[from].item->GetPos();
    for (std::size_t k = from; k < cells.size(); ++k) {
      m_objects.RemoveAt(cells[k].node);
      cells[k].item->SetPos(cells[k].item->GetPos() - base);
      line->m_objects.AddTail(cells[k].item);
    }
  }
  for (POSITION node = m_attachments.GetHeadPosition(); node != nullptr;) {
    const POSITION at = node;
    KExtendedObj* attachment = static_cast<KExtendedObj*>(m_attachments.GetNext(node));
    if (attachment->GetPos() < column) continue;
    m_attachments.RemoveAt(at);
    attachment->SetPos(attachment->GetPos() - column);
    line->AddAttachment(attachment);
  }
  m_columnWidth = -1;
  line->m_columnWidth = -1;
  MarkChanged();
  return line;
}

int KRhythmLine::GetWordStep(int, int, int column, int direction) {
  // The line as one character per column: blanks, text, and 1 for a symbol.
  std::string columns;
  for (const Cell& cell : Walk()) {
    columns.append(static_cast<std::size_t>(cell.gap), ' ');
    if (IsText(*cell.item))
      columns += cell.item->GetText().Str();
    else
      columns += '\1';
  }
  const int count = static_cast<int>(columns.size());
  auto startsWord = [&](int p) {
    if (p < 0 || p >= count || columns[p] == ' ') return false;
    return p == 0 || columns[p] == '\1' || columns[p - 1] == ' ' || columns[p - 1] == '\1';
  };
  if (direction == 1) {
    for (int p = std::max(0, column + 1); p < count; ++p)
      if (startsWord(p)) return p - column;
    return 0;
  }
  for (int p = std::min(column, count) - 1; p >= 0; --p)
    if (startsWord(p)) return p - column;
  return 0;
}

int KRhythmLine::MoveByArrowKey(int column, int, int key, int) {
  if (key == kKeyUp || key == kKeyDown || (key != kKeyLeft && key != kKeyRight)) return -1;
  const int delta = key == kKeyLeft ? -1 : 1;
  for (POSITION node = m_attachments.GetHeadPosition(); node != nullptr;) {
    KExtendedObj* attachment = static_cast<KExtendedObj*>(m_attachments.GetNext(node));
    if (attachment->GetPos() + attachment->GetOffset().x / KRhythmObj::kColumnPixels != column) continue;
    if (attachment->GetPos() + delta < 0) return -1;
    attachment->MoveBy(delta);
    MarkChanged();
    return 0;
  }
  if (m_objects.IsEmpty()) return -1;
  const int from = key == kKeyLeft ? column - 1 : column;
  bool any = false;
  for (POSITION node = m_attachments.GetHeadPosition(); node != nullptr;) {
    const KExtendedObj* attachment = static_cast<KExtendedObj*>(m_attachments.GetNext(node));
    any = any || attachment->GetPos() >= from;
  }
  if (!any || from < 0) return -1;
  ShiftAttachments(from, delta);
  return 0;
}

KLinePair KRhythmLine::EnterSymbol(KLineObj* source, int code, int rhythmCode, int sizeIndex, int x, int,
                                   int arg7, int arg8, int packed) {
  if (source == nullptr || code >= kChangeInPlace) return kRefused;
  const int family = source->GetFamily();
  if (family != kFamilyStaff && family != kFamilyTab) return kRefused;
  const int size = sizeIndex != 0 ? 1 : 0;
  const KListLine* list = source->AsListLine();
  const int key = list != nullptr ? list->GetKeySignatureAt(0) : 0;
  const int leadIn = kClefWidth + (key != 0 ? kAccidentalWidth[size] * (key / 2 + 1) : 0);
  const int unit = size != 0 ? 11 : 9;
  const int column = GetColumnAtX(RhythmMeasureDC(), 0, x - leadIn, size, 0, 3) + (leadIn + unit - 1) / unit;
  int noteCode = code;
  if (family == kFamilyTab && code >= kFirstFret && code <= kLastFret)
    noteCode = ((rhythmCode - 70) / 10) & ~1;
  const int style = ((rhythmCode % 4) + 4) % 4;
  const int symbol = RhythmCodeOfNoteCode(noteCode, style);
  return HandleKey(symbol, style, sizeIndex, column, arg7, arg8, packed, 0);
}

KLinePair KRhythmLine::InsertCopy(const CObject* source, int sizeIndex, int column, const int*, int replace) {
  const KChord* chord = AsChord(source);
  if (chord == nullptr || chord->GetNoteCount() <= 0) return kRefused;
  const int noteCode = chord->GetNote(0).code % 10000;
  const int style = chord->GetNoteStyle() % 4;
  const int symbol = noteCode == kRhythmBlankNote ? kInsertBlank : RhythmCodeOfNoteCode(noteCode, style);
  return HandleKey(symbol, style, sizeIndex, column, kNoAttachmentRow, 0, replace, 0);
}

KLinePair KRhythmLine::InsertObj(CObject* object, int sizeIndex, int column, const int*, int replace) {
  const KChord* chord = AsChord(object);
  if (chord == nullptr) return kRefused;
  int duration = chord->GetVoiceDuration(0);
  if (duration == KChord::kNoDuration) duration = chord->GetVoiceDuration(1);
  const int style = chord->GetNoteStyle() % 4;
  const int symbol = duration == KChord::kNoDuration ? kInsertBlank : RhythmCodeOfNoteCode(duration, style);
  const KLinePair result = HandleKey(symbol, style, sizeIndex, column, kNoAttachmentRow, 0, replace, 0);
  // The column was only read: the line keeps a symbol of its own.
  if (result.first != 0) delete object;
  return result;
}
