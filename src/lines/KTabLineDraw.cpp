// Drawing a tablature line: the string lines with the opening bar and the word
// "TAB" (the list line's frame), the string names of an alternate tuning in
// the clef area, the columns through the line's drawing cache, and the attached
// objects.

#include <algorithm>

#include "common/Globals.h"
#include "common/ScaledDraw.h"
#include "lines/KSpeedLine.h"
#include "lines/KTabLine.h"
#include "lines/TabLineOptions.h"
#include "model/DocServices.h"
#include "model/KChord.h"
#include "model/KExtendedObj.h"

namespace {

// The cache renders up to this column: the whole line.
constexpr int kLastColumn = 10000;
// Columns drawn before the first one to redraw, for symbols that reach into
// the redrawn area from the left.
constexpr int kColumnsBefore = 3;
constexpr int kSingleBar = 21;
// Half the height of the text drawn on a string row, by size index: names and
// frets stand centred on their string.
constexpr int kHalfTextHeight[2] = {7, 8};
// The names' left edge within the clef area: clear of the opening bar and
// of a group's bracket beside it (the word "TAB" moves right of them).
constexpr int kNameX = 6;
// Attachments of this kind are left out when the view's drawing mode is even.
constexpr int kModeFilteredKind = 2;
constexpr int kRowOffset = 2;

}  // namespace

void KTabLine::Draw(CDC* dc, int top, int redrawX, int sizeIndex, int originX, int view6, int view7,
                    int view8, int, int view10) {
  if (dc == nullptr) return;
  const int size = sizeIndex != 0 ? 1 : 0;
  const int columnWidth = g_NoteColumnWidth[size];
  const int left = GetLeadInWidth(size) + GetIndent() + originX;
  // A fixed staff length that the notes have run past (Auto-Wrap off): the
  // strings run on under them until the music is wrapped.
  int width = RunWidth(columnWidth, 20);
  if (left + width < redrawX) return;
  // A line that ends with a bar ends there: no string runs on past it.
  KSpeedLine* cache = GetDrawingCache();
  if (cache != nullptr && !m_objects.IsEmpty()) {
    cache->Refresh(*this, size, &m_tuning);
    const int closing = cache->GetClosingBarRight();
    if (closing >= 0) width = std::min(width, closing);
  }

  // Older lines may hold the names of the standard tuning only.
  if ((m_flags & kFlagBass) == 0 && (m_tuning == "S" || m_tuning == "E A D G B E ")) {
    m_tuning = g_DefaultTrebleTuning;
    DeriveTuningFields();
  }

  const int frameX = originX + GetIndent();
  const int rowTwoY = top + GetSpaceAbove(size);
  const KChord* firstColumn = AsChord(GetObjAt(0, 0));
  const int barCode =
      firstColumn != nullptr && firstColumn->IsBarColumn() ? firstColumn->GetNote(0).code : kSingleBar;
  DWORD frameFlags = g_tabShowTabWord != 0 && !TestFlags(kFrameNoTabWord) ? 0 : kFrameNoTabWord;
  // String names stand at the left of the clef area and the word moves to
  // its right; names of two characters (sharps and flats) take the whole
  // area, and the word is left out.
  if (TestFlags(kFlagAltTuning)) frameFlags |= HasWideStringName() ? kFrameNoTabWord : kFrameTabWordRight;
  DrawNotes(dc, m_type, size, frameX, rowTwoY, m_key, left + width - frameX, barCode, frameFlags,
            m_stringCount);

  if (TestFlags(kFlagAltTuning)) DrawStringNames(dc, frameX, rowTwoY, size);

  if (cache != nullptr && !m_objects.IsEmpty()) {
    const long long offset = static_cast<long long>(redrawX) - left;
    const int column = static_cast<int>(std::clamp<long long>(offset, 0, INT32_MAX) / columnWidth);
    const int first = FindRedrawStart(column);
    cache->Refresh(*this, size, &m_tuning);
    cache->Render(dc, originX, std::max(first - kColumnsBefore, 0), kLastColumn, top, view7, view8, 0, view10,
                  view6);
  }

  for (POSITION node = m_attachments.GetHeadPosition(); node != nullptr;) {
    auto* attachment = static_cast<KExtendedObj*>(m_attachments.GetNext(node));
    if (view6 % 2 == 0 && attachment->GetKind() == kModeFilteredKind) continue;
    attachment->Draw(dc, m_type, attachment->GetPos() * columnWidth + left, rowTwoY, size);
  }
}

bool KTabLine::HasWideStringName() const {
  const CString names = GetStringNameText();
  for (int i = 1; i < names.GetLength(); i += 2) {
    if (names[i] != ' ') return true;
  }
  return false;
}

void KTabLine::DrawStringNames(CDC* dc, int x, int y, int sizeIndex) const {
  const CString names = GetStringNameText();
  // The seventh and eighth string stand in front of the six names.
  const int extra = (names.GetLength() - 12) / 2;
  const int step = TabStringSpacing(sizeIndex) + 1;
  const int first = GetStringRowLimit(kFirstRow);
  const int last = GetStringRowLimit(kLastRow);
  for (int row = first; row <= last; ++row) {
    const int entry = row - kRowOffset;
    const int cell = entry <= 5 ? extra + 5 - entry : extra - 1 - (entry - 6);
    if (cell < 0) continue;
    CString name = names.Mid(2 * cell, 2);
    name.TrimRight();
    if (name.IsEmpty()) continue;
    const int nameY = y + entry * step - kHalfTextHeight[sizeIndex];
    if (g_tabNoNameBoxes == 0) ScaledTextOutBk(dc, x + kNameX, nameY, "  ", name.GetLength(), 1);
    ScaledTextOutBk(dc, x + kNameX, nameY, name, name.GetLength(), 0);
  }
}
