// The refresh that ends every edit (UpdateAfterEdit) and the placing and
// shaping of the caret (PlaceCaret).
//
// Caret pictures: notation overwrite carets, rhythm-entry carets and the
// chord-name caret are shapes of their own. The window's caret is a solid
// rectangle, so each picture becomes a caret of the picture's size: a block
// for the overwrite carets, a wider bar for symbol entry.

#include <algorithm>

#include "common/StaffGeometry.h"
#include "common/Globals.h"
#include "common/ViewServices.h"
#include "doc/pref_values/Preferences.h"
#include "lines/KChordPicLine.h"
#include "lines/KRhythmLine.h"
#include "lines/KStrLine.h"
#include "lines/KTabLine.h"
#include "model/DocServices.h"
#include "model/KListLine.h"
#include "view/CStavlinView.h"
#include "view/core/ViewMirrors.h"

namespace {

// Per symbol size: the offset of text and other carets, the height of the
// plain caret. (Rows are placed with common/StaffGeometry.h.)
constexpr int kTextOffset[2] = {1, 0};
constexpr int kDefaultCaretHeight[2] = {7, 10};
constexpr int kPlainCaretWidth = 2;
// The margin the caret keeps from the window's edges when the view follows it.
constexpr int kFollowMargin = 42;
// Rhythm-line carets: the line's height for fonts up to 20 pixels.
constexpr int kRhythmSmallFont = 20;
constexpr int kRhythmSmallHeight = 21;

// The caret pictures, by their resource ids, as caret sizes; a height of 0
// takes the computed height of the line.
struct CaretPicture {
  int id;
  int width;
  int height;
};
constexpr CaretPicture kCaretPictures[] = {
    {3900, 7, 7},   // notation overwrite caret, small symbols: a block
    {3901, 9, 10},  // notation overwrite caret, large symbols
    {3902, 2, 0},   // rhythm caret
    {3903, 4, 0},   // rhythm symbol-entry caret
    {3904, 8, 0},   // rhythm symbol-entry overwrite caret: a block
    {3905, 8, 0},   // chord-name caret, one name column wide
};

SIZE CaretPictureSize(int id, int computedHeight) {
  for (const CaretPicture& picture : kCaretPictures) {
    if (picture.id == id) return SIZE{picture.width, picture.height > 0 ? picture.height : computedHeight};
  }
  return SIZE{kPlainCaretWidth, computedHeight};
}

constexpr const char* kStandardTuning = "E A D G B E  323742475156";
constexpr const char* kStandardNames = "E A D G B E ";

// A treble tuning that holds only names (or a single letter) is an older
// line's way of saying standard tuning.
bool NeedsStandardTuning(const CString& tuning) {
  if (tuning.GetLength() == 1) return true;
  return tuning.GetLength() < 14 && tuning.Left(12) == kStandardNames;
}

}  // namespace

void CStavlinView::UpdateAfterEdit(int hint, int clearSelection) {
  const RECT client = m_host != nullptr ? m_host->GetClientRect() : RECT{0, 0, 0, 0};
  const int clientWidth = static_cast<int>(client.right - client.left);

  if (hint != 0) {
    if (clearSelection != 0 && m_selFirstLine >= 0) {
      // The selection goes; its inversion is painted over.
      if (m_selHidden == 0 && m_host != nullptr) {
        const POINT scroll = GetVirtualScrollPosition();
        RECT old = m_selRect;
        old.left -= scroll.x;
        old.right -= scroll.x;
        old.top -= scroll.y;
        old.bottom -= scroll.y;
        m_host->InvalidateRect(&old, TRUE);
      }
      m_selFirstLine = -1;
      m_selLastLine = -1;
      m_selFirstColumn = 0;
      m_selLastColumn = 0;
      m_selRect = RECT{};
      m_selHidden = 1;
    }
    const bool relayout = hint >= kHintLineAndBelow && hint < kHintRange;
    if (relayout) g_relayout = 1;
    if (m_document != nullptr) {
      if (g_noModify == 0) m_document->SetModifiedFlag(TRUE);
      m_document->UpdateAllViews(nullptr, hint);
    }
    g_relayout = 0;
  }

  POINT caret = PlaceCaret();

  // Follow the caret horizontally.
  const POINT scroll = GetVirtualScrollPosition();
  int newX = scroll.x;
  if (m_caretColumn == 0) {
    newX = 0;
  } else if (caret.x > clientWidth - kFollowMargin) {
    newX = scroll.x + caret.x - (clientWidth - kFollowMargin);
  } else if (caret.x < 0) {
    // Left of the window: bring it back in with the same margin.
    newX = std::max(scroll.x + caret.x - kFollowMargin, 0);
  }
  if (newX != scroll.x) {
    SetVirtualScrollPosition(newX, scroll.y);
    caret = PlaceCaret();
  }

  if (m_lineCount > 0) FindTopLine(GetVirtualScrollPosition().y);
  g_viewMirrors.lineCount = m_lineCount;
  if (m_document != nullptr) g_viewMirrors.documentModified = m_document->IsModified() ? 1 : 0;
}

POINT CStavlinView::PlaceCaret() {
  const int size = m_sizeIndex != 0 ? 1 : 0;
  const POINT scroll = GetVirtualScrollPosition();
  KCaret* caret = m_host != nullptr ? &m_host->Caret() : nullptr;

  if (m_lineCount <= 0) {
    // Nothing shown: the caret waits at the origin.
    const POINT at{m_autoScroll != 0 ? m_autoScrollCaretX : 0, 0};
    if (caret != nullptr) caret->SetPos(at.x, at.y);
    return at;
  }
  m_currentLine = std::clamp(m_currentLine, 0, m_lineCount - 1);
  const DisplayLine& entry = m_display[static_cast<size_t>(m_currentLine)];
  KLineObj* line = GetDisplayLineObj(m_currentLine);
  m_currentType = entry.type;
  m_currentFamily = KLineObj::FamilyOf(m_currentType);
  const bool noteLine = KLineObj::IsNoteFamily(m_currentFamily);
  KListLine* listLine = line != nullptr ? line->AsListLine() : nullptr;
  const int indent = line != nullptr ? line->GetIndent() : 0;

  if (noteLine && listLine != nullptr) {
    m_keyAtCaret = listLine->GetKeySignatureAt(0);
    m_contentOrigin = listLine->GetLeadInWidth(size) + indent + m_contentLeft;
  } else {
    // Rhythm and chord lines keep a key too (chord names spell by it).
    if (listLine != nullptr) m_keyAtCaret = listLine->GetKeySignatureAt(0);
    m_contentOrigin = indent + m_contentLeft;
  }

  // Height above the line's top.
  int offset = kTextOffset[size];
  auto* rhythm = dynamic_cast<KRhythmLine*>(line);
  switch (m_currentFamily) {
    case KLineObj::kFamilyStaff: {
      const int above = listLine != nullptr ? listLine->GetSpaceAbove(size) : 0;
      offset = above + (m_caretRow - g_StaffTopRow) * g_StaffStep[size];
      if (m_currentType == KLineObj::kKindPercussion) offset -= g_PercussionRaise * g_StaffStep[size];
      break;
    }
    case KLineObj::kFamilyTab: {
      const int above = listLine != nullptr ? listLine->GetSpaceAbove(size) : 0;
      offset = static_cast<int>(above + (m_caretRow - g_TabTopRow) * TabStringSpacing(size) + 1.0);
      break;
    }
    case KLineObj::kFamilyRhythm:
      offset = (rhythm != nullptr ? rhythm->GetFontHeight(size) * 20 / 25 - 12 : 0) + kTextOffset[size];
      break;
    case KLineObj::kFamilyChord:
      offset = 0;
      break;
    default:
      break;
  }
  const int y = std::max(entry.top + offset, 0);

  // x and height.
  int x = m_contentOrigin;
  int height = kDefaultCaretHeight[size];
  CDC* dc = m_host != nullptr ? m_host->GetMeasureDC() : nullptr;
  if (auto* text = dynamic_cast<KStrLine*>(line)) {
    m_currentTextFont = std::clamp(text->GetFontIndex(), 0, KStrLine::kMaxFontNumber);
    if (dc != nullptr) x += text->GetXOfColumn(dc, m_textFonts, m_caretColumn);
    const int fontHeight =
        std::abs(static_cast<int>(m_textFonts[static_cast<size_t>(m_currentTextFont)].lfHeight));
    height = std::max(static_cast<int>(fontHeight * 0.75) - 3, 1);
  } else if (rhythm != nullptr) {
    if (dc != nullptr) x += rhythm->GetColumnX(dc, m_caretColumn, size);
    const int fontHeight = rhythm->GetFontHeight(size);
    height = fontHeight <= kRhythmSmallFont ? kRhythmSmallHeight : fontHeight + 1;
  } else {
    int columnWidth = m_currentType >= 0 && m_currentType < static_cast<int>(m_typeColumnWidth.size())
                          ? m_typeColumnWidth[static_cast<size_t>(m_currentType)]
                          : 0;
    if (columnWidth <= 0) {
      // Before the first update has measured the types: the family's width.
      columnWidth = noteLine ? g_NoteColumnWidth[size]
                             : (m_currentFamily == KLineObj::kFamilyChord ? g_ChordNameWidth[size] : 0);
    }
    x += columnWidth * m_caretColumn;
    if (auto* chords = dynamic_cast<KChordPicLine*>(line)) {
      height = chords->GetLineHeight(m_chordDiagramsShown != 0 && g_prefChords.showDiagrams != 0 ? 1 : 0);
    }
  }

  // The tuning texts the fretboard and the tuning commands read.
  if (auto* tab = dynamic_cast<KTabLine*>(line)) {
    if (tab->TestFlags(KTabLine::kFlagBass) == 0) {
      if (NeedsStandardTuning(tab->GetTuning())) tab->SetTuning(0, CString(kStandardTuning), 0);
      m_trebleTabTuning = tab->GetTuning();
      g_CurrentTuning = m_trebleTabTuning;
    } else {
      m_bassTabTuning = tab->GetTuning();
      g_CurrentTuning = m_bassTabTuning;
    }
  } else {
    const CString& tuning = m_currentType == KLineObj::kKindBassStaff ? m_bassTabTuning : m_trebleTabTuning;
    if (!tuning.IsEmpty()) g_CurrentTuning = tuning;
  }

  // The caret's shape, kept while auto-scroll shows its own caret.
  if (m_autoScroll == 0 && caret != nullptr) {
    int picture = 0;
    if (noteLine && m_entryMode != 0) {
      picture = 3900 + size;
    } else if (m_currentFamily == KLineObj::kFamilyRhythm) {
      picture = m_rhythmSymbolEntry == 0 ? 3902 : (m_entryMode != 0 ? 3904 : 3903);
    } else if (m_currentFamily == KLineObj::kFamilyChord && m_chordDiagramsShown == 0) {
      picture = 3905;
    }
    const SIZE shape = CaretPictureSize(picture, height);
    caret->Hide();
    caret->Create(shape.cx, shape.cy);
    caret->Show();
  }

  // Window position; the auto-scroll caret x is a window x already.
  const POINT at{m_autoScroll != 0 ? m_autoScrollCaretX : x - scroll.x, y - scroll.y};
  if (caret != nullptr) caret->SetPos(at.x, at.y);

  g_viewMirrors.currentLine = m_currentLine;
  g_viewMirrors.caretColumn = m_caretColumn;
  g_viewMirrors.currentType = m_currentType;
  g_viewMirrors.currentPage = entry.extra[kPageCode] / 10;
  return at;
}
