// OnDraw, the screen path: labels, the lines, line-group brackets, bar
// numbers, the marks for hidden lines and the play range, page marks and the
// inverted selection.
//
// Coordinates: the caller sets the device context's window origin to the
// scroll position, so the view draws in page coordinates (the display lines'
// tops and bottoms) and the clip box it reads is in page coordinates too.
// Only the display lines that meet the clip box are drawn (with the line
// group above the first of them, so that brackets and joined bar lines stay
// whole): repainting a small part of the window does not draw the score.

#include <algorithm>
#include <span>
#include <string>

#include "common/AppServices.h"
#include "common/ErrorReporter.h"
#include "common/ScaledDraw.h"
#include "common/SharedGdiObjects.h"
#include "common/ViewServices.h"
#include "doc/pref_values/Preferences.h"
#include "lines/KStrLine.h"
#include "model/DocServices.h"
#include "model/KLineGroup.h"
#include "model/KListLine.h"
#include "platform/StringTable.h"
#include "view/CStavlinView.h"
#include "view/core/ViewDrawParts.h"

namespace {

// Drawing flags handed to each line's Draw.
constexpr int kDrawStemsOnTab = 1;
constexpr int kDrawChordDiagrams = 4;
constexpr int kDrawWideChordNames = 8;
constexpr int kDrawMutualBracket = 16;
constexpr int kWideChordBase = 25;
// Line flags.
constexpr DWORD kFlagHidden = 0x2;
constexpr DWORD kFlagOwnLabel = 0x10;
constexpr DWORD kFlagPageBreak = 0x1000;
// The dotted rule of an empty lyric line: light grey, this long.
constexpr COLORREF kEmptyTextLineColour = RGB(160, 160, 160);
constexpr int kEmptyTextLineReach = 120;
// Line drawing modes: the current line and its group, any other, read-only.
constexpr int kModeCurrent = 0;
constexpr int kModeOther = 1;
constexpr int kModeReadOnly = 2;
// The own height of bar lines on lines other than tablature (4 staff spaces + 1).
constexpr int kOwnBarHeight[2] = {25, 33};
constexpr int kLabelTextHeight = 14;
constexpr UINT kMsgBarWord = 8075;
// How far the page marks reach: past any page width or height.
constexpr int kPageMarkReach = 10000;

// Holds the view's Ad-Tab mode as the drawing mode that the lines read while
// they draw (mode 3 colours the fret numbers), and puts the old one back.
class KColourModeScope {
 public:
  explicit KColourModeScope(int mode) : m_saved(g_colourMode) { g_colourMode = mode; }
  ~KColourModeScope() { g_colourMode = m_saved; }
  KColourModeScope(const KColourModeScope&) = delete;
  KColourModeScope& operator=(const KColourModeScope&) = delete;

 private:
  int m_saved;
};

// The text colour a text-line font carries in its escapement.
COLORREF FontColour(const LOGFONT& font) { return static_cast<COLORREF>(font.lfEscapement); }

// Fills a text line's cache with the pixel x of the start of each word.
void MeasureWords(CDC* dc, KStrLine& line) {
  const CString copy = line.GetText();
  const std::string& text = copy.Str();
  int count = 0;
  for (size_t i = 0; i < text.size() && count < KStrLine::kColumnXCount; ++i) {
    if (text[i] != ' ' && (i == 0 || text[i - 1] == ' ')) {
      line.SetColumnX(count++, dc->GetTextExtent(std::string_view(text).substr(0, i)).cx);
    }
  }
  line.SetColumnXCount(count);
}

}  // namespace

void CStavlinView::OnDraw(CDC* dc) {
  if (dc == nullptr || m_document == nullptr) return;
  if (g_relayoutOnPaint != 0) RebuildDisplayLines(0);
  const KColourModeScope colourMode(m_adTabMode);

  // Printing and image export draw the score as it is printed: every line as
  // on a read-only score, without the marks that help editing.
  const bool printing = dc->IsPrinting() != FALSE;
  const bool output = printing || m_exporting != 0;
  const int size = m_sizeIndex != 0 ? 1 : 0;
  RECT clip{};
  const int saved = dc->SaveDC();
  // The band the score can occupy (the full height of a long score).
  int bandBottom = std::max(31000, m_scrollHeight + 1000);
  if (printing) {
    ComputePageMargins();
    BeginPrintedSheet(*dc, clip);
    bandBottom = clip.bottom;
  } else {
    dc->GetClipBox(&clip);
    if (UsesDevicePath(dc)) {
      // Drawn at device resolution: the clip in layout pixels.
      clip = RECT{clip.left * g_screenResX / std::max(1, g_deviceResX),
                  clip.top * g_screenResY / std::max(1, g_deviceResY),
                  clip.right * g_screenResX / std::max(1, g_deviceResX) + 1,
                  clip.bottom * g_screenResY / std::max(1, g_deviceResY) + 1};
    }
    if (m_pageMarks != 0 || output) ComputePageMargins();
    if (!UsesDevicePath(dc))
      dc->IntersectClipRect(-1000, -1000, std::max(31000, m_scrollWidth + 1000), bandBottom);
  }

  // Text is measured as on the screen while the lines draw.
  CDC* const previousLayoutDC = g_layoutDC;
  CDC* const measureDC = output && m_host != nullptr ? m_host->GetMeasureDC() : dc;
  g_layoutDC = measureDC;

  // The pen of printed lines, as thick as the print corrections ask.
  CPen outputPen;
  if (output) {
    const int width = ((g_lineWidthSetting - 1) * g_printSizePct) / 100 + 1;
    if (!outputPen.CreatePen(PS_SOLID, width, RGB(0, 0, 0))) {
      ReportInternalErrorOnce(kOncePenFailed, kMsgInternalProblem, "QV1-2");
      g_layoutDC = previousLayoutDC;
      dc->RestoreDC(saved);
      return;
    }
    dc->SelectObject(&outputPen);
    // Brackets around the note lines only, as on a read-only score.
    if (m_readOnly == 0) {
      m_document->LayoutLineGroups(
          std::span<const DisplayLine>(m_display.data(), static_cast<size_t>(m_lineCount)), m_sizeIndex, 1);
    }
  }

  const int contentLeft = (m_labelsShown != 0 ? m_labelWidth : 0) + 11;
  m_contentLeft = contentLeft;

  // The first line that meets the clip, and the group above it.
  int first = 0;
  while (first < m_lineCount && m_display[static_cast<size_t>(first)].bottom < clip.top) ++first;
  if (first < m_lineCount) {
    const KLineObj* line = GetDisplayLineObj(first);
    const KLineGroup* group = line != nullptr ? line->GetGroup() : nullptr;
    first = std::max(first - (group != nullptr ? group->GetSlotCount() + 1 : 1), 0);
  }
  const int lastY = clip.bottom + 5;

  if (m_fontsNeedMeasuring != 0) {
    for (int i = 0; i < m_lineCount; ++i) {
      auto* text = dynamic_cast<KStrLine*>(GetDisplayLineObj(i));
      if (text == nullptr || text->TestFlags(kFlagPageBreak) != 0) continue;
      LOGFONT font = m_textFonts[static_cast<size_t>(std::clamp(text->GetFontIndex(), 0, 40))];
      font.lfEscapement = 0;
      CFont made;
      if (!made.CreateFontIndirect(&font)) {
        ReportInternalErrorOnce(kOnceFontFailed, kMsgInternalProblem, "QV1-5");
        break;
      }
      CFont* previous = dc->SelectObject(&made);
      MeasureWords(dc, *text);
      dc->SelectObject(previous);
    }
    m_fontsNeedMeasuring = 0;
  }

  const int baseFlags = (m_tabStems != 0 ? kDrawStemsOnTab : 0) |
                        (m_chordDiagramsShown != 0 ? kDrawChordDiagrams : 0) |
                        (m_chordBaseWidth >= kWideChordBase ? kDrawWideChordNames : 0);
  const KLineObj* current = GetDisplayLineObj(m_currentLine);
  const int currentGroup = current != nullptr ? current->GetGroupId() : KLineObj::kNoGroup;
  const int bracketMode = m_mutualTranslation != 0 || m_readOnly != 0 ? 1 : 0;
  CFont* labelFont = g_LabelFont.GetSafeHandle() != nullptr ? &g_LabelFont : nullptr;
  const KLineGroup* previousGroup = nullptr;
  int lastDrawn = -1;

  for (int i = first; i < m_lineCount && m_display[static_cast<size_t>(i)].top <= lastY; ++i) {
    const DisplayLine& entry = m_display[static_cast<size_t>(i)];
    KLineObj* line = GetDisplayLineObj(i);
    if (line == nullptr) continue;
    lastDrawn = i;
    const int family = KLineObj::FamilyOf(entry.type);
    const bool noteLine = KLineObj::IsNoteFamily(family);
    KListLine* listLine = line->AsListLine();

    // Lines passed over since the display line above are not shown.
    if (m_readOnly == 0 && !output) {
      POSITION before = entry.line;
      m_document->GetPrevLine(before);
      const POSITION expected = i > 0 ? m_display[static_cast<size_t>(i - 1)].line : nullptr;
      if (before != expected) DrawViewMark(dc, KViewMark::kHiddenLines, contentLeft - 11, entry.top - 4);
    }

    // Label.
    const bool ownLabel = line->TestFlags(kFlagOwnLabel) != 0 && line->GetIndent() != 0;
    if ((m_labelsShown != 0 && m_labelWidth > 0) || ownLabel) {
      const CString name = line->GetLabelName();
      if (!name.IsEmpty()) {
        CFont* previous = labelFont != nullptr ? dc->SelectObject(labelFont) : nullptr;
        const int y = entry.top + std::max((entry.bottom - entry.top - kLabelTextHeight) / 2 - 5, 0);
        ScaledTextOut(dc, ownLabel ? contentLeft + 2 : 2, y, name, 0);
        if (previous != nullptr) dc->SelectObject(previous);
      }
    }

    const int redrawOrigin = noteLine && listLine != nullptr
                                 ? listLine->GetLeadInWidth(size) + line->GetIndent() + contentLeft
                                 : contentLeft;
    const int redrawX = !output && clip.left > redrawOrigin ? static_cast<int>(clip.left) : 0;
    int mode = kModeOther;
    if (m_readOnly != 0 || output) {
      mode = kModeReadOnly;
    } else if (i == m_currentLine ||
               (currentGroup != KLineObj::kNoGroup && line->GetGroupId() == currentGroup)) {
      mode = kModeCurrent;
    }

    if (auto* text = dynamic_cast<KStrLine*>(line)) {
      if (text->TestFlags(kFlagPageBreak) == 0) {
        LOGFONT font = m_textFonts[static_cast<size_t>(std::clamp(text->GetFontIndex(), 0, 40))];
        const COLORREF colour = FontColour(font);
        font.lfEscapement = 0;
        CFont made;
        if (made.CreateFontIndirect(&font)) {
          CFont* previous = dc->SelectObject(&made);
          // The words stand where they stand on the screen.
          CFont* previousMeasured = output && measureDC != nullptr ? measureDC->SelectObject(&made) : nullptr;
          const COLORREF previousColour = dc->SetTextColor(colour);
          const int flags = font.lfUnderline != 0 ? KStrLine::kModeUnderlined : baseFlags;
          text->Draw(dc, entry.top, redrawX, size, contentLeft, flags, mode, m_widest, m_tabSpacing[size], 0);
          dc->SetTextColor(previousColour);
          if (previousMeasured != nullptr) measureDC->SelectObject(previousMeasured);
          dc->SelectObject(previous);
        } else {
          ReportInternalErrorOnce(kOnceFontFailed, kMsgInternalProblem, "QV1-5");
        }
      }
    } else {
      int flags = baseFlags;
      int barHeight = kOwnBarHeight[size];
      COLORREF previousColour = dc->GetTextColor();
      if (family == KLineObj::kFamilyTab && listLine != nullptr) {
        dc->SetTextColor(m_tabColour);
        if (m_tabColour != 0) m_document->SetUsesColor(1);
        barHeight = (listLine->GetStringCount() - 1) * m_tabSpacing[size] + 1;
      }
      if ((entry.type == 0 || entry.type == 1) && m_mutualTranslation != 0 && line->GetGroup() != nullptr &&
          line->GetGroup()->GetLineBracket(entry.line, 0) != 0) {
        flags |= kDrawMutualBracket;
      }
      if (noteLine) barHeight = BarLineHeight(*this, i, barHeight);
      // The drawing caches are made again at the scale of the output.
      if (output && noteLine && listLine != nullptr) listLine->MarkChanged();
      line->Draw(dc, entry.top, redrawX, size, contentLeft, flags, mode, m_widest, m_tabSpacing[size],
                 barHeight);
      dc->SetTextColor(previousColour);
    }

    // Bar number.
    if (m_barNumbersShown != 0 && noteLine && line->GetStaffLength() != 1) {
      CString number;
      if (g_prefStaffLines.showBarWord != 0) {
        number.Format("%s %d", LoadString(kMsgBarWord).Str().c_str(), entry.extra[kFirstBar]);
      } else {
        number.Format("%d", entry.extra[kFirstBar]);
      }
      CFont* previous = labelFont != nullptr ? dc->SelectObject(labelFont) : nullptr;
      const int y = entry.top - (family == KLineObj::kFamilyTab ? 6 : 2);
      ScaledTextOutBk(dc, contentLeft + line->GetIndent() + 3, y, number.Str().c_str(), number.GetLength(),
                      1);
      if (previous != nullptr) dc->SelectObject(previous);
    }

    // Play range marks.
    if (m_playFirstLine >= 0 && !output) {
      if (i == m_playFirstLine)
        DrawViewMark(dc, KViewMark::kPlayRangeStart, m_playStartX + contentLeft, entry.top);
      if (i == m_playLastLine)
        DrawViewMark(dc, KViewMark::kPlayRangeEnd, m_playEndX + contentLeft, entry.top);
    }

    // The bracket of the group that ended with the line above.
    const KLineGroup* group = line->GetGroupId() != KLineObj::kNoGroup ? line->GetGroup() : nullptr;
    if (group != previousGroup) {
      if (previousGroup != nullptr) previousGroup->DrawBracket(dc, contentLeft, bracketMode, 0);
      previousGroup = group;
    }

    if (m_readOnly == 0 && !output && line->TestFlags(kFlagHidden) != 0) {
      DrawViewMark(dc, KViewMark::kHiddenLine, contentLeft - 11, entry.top);
    }

    // An empty text line of a line group (a lyric line waiting for its
    // words) shows where it is on the screen: a light dotted rule where the
    // words will stand. Printing leaves it out.
    if (!output && family == KLineObj::kFamilyText && line->GetGroupId() != KLineObj::kNoGroup) {
      const auto* text = dynamic_cast<const KStrLine*>(line);
      CString words = text != nullptr ? text->GetText() : CString("x");
      words.TrimRight();
      if (text != nullptr && text->TestFlags(kFlagPageBreak) == 0 && words.IsEmpty()) {
        CPen dotted;
        if (dotted.CreatePen(PS_DOT, 1, kEmptyTextLineColour)) {
          CPen* previous = dc->SelectObject(&dotted);
          const int y = entry.bottom - 2;
          ScaledMoveTo(dc, contentLeft + line->GetIndent(), y);
          ScaledLineTo(dc, contentLeft + line->GetIndent() + kEmptyTextLineReach, y);
          dc->SelectObject(previous);
        }
      }
    }

    // Page marks: the end of a page, and a page-break line.
    if (m_pageMarks != 0 && !output) {
      const int code = entry.extra[kPageCode];
      if (code % 10 == 1) {
        CPen dotted;
        if (dotted.CreatePen(PS_DOT, 1, RGB(0, 0, 0))) {
          CPen* previous = dc->SelectObject(&dotted);
          ScaledMoveTo(dc, 0, entry.bottom - 2);
          ScaledLineTo(dc, kPageMarkReach, entry.bottom - 2);
          dc->SelectObject(previous);
        } else {
          ReportInternalErrorOnce(kOncePenFailed, kMsgInternalProblem, "QV1-6");
        }
      } else if (code == 2) {
        const int y = (entry.top + entry.bottom) / 2 - 4;
        for (int dy : {0, 2}) {
          ScaledMoveTo(dc, 0, y + dy);
          ScaledLineTo(dc, kPageMarkReach, y + dy);
        }
      }
    }
  }
  if (previousGroup != nullptr) previousGroup->DrawBracket(dc, contentLeft, bracketMode, 0);

  if (output) {
    if (m_readOnly == 0) {
      m_document->LayoutLineGroups(
          std::span<const DisplayLine>(m_display.data(), static_cast<size_t>(m_lineCount)), m_sizeIndex,
          m_readOnly);
    }
    g_layoutDC = previousLayoutDC;
    dc->RestoreDC(saved);
    return;
  }

  // Lines after the last one drawn that are not shown.
  if (m_readOnly == 0 && lastDrawn >= 0 && m_show[8] == 0) {
    POSITION after = m_display[static_cast<size_t>(lastDrawn)].line;
    m_document->GetNextLine(after);
    const KLineObj* next = after != nullptr ? m_document->GetLineAt(after) : nullptr;
    const int type = next != nullptr ? next->GetType() : -1;
    if (next != nullptr &&
        (type < 0 || type >= static_cast<int>(m_show.size()) || m_show[static_cast<size_t>(type)] == 0)) {
      DrawViewMark(dc, KViewMark::kHiddenLines, contentLeft - 11,
                   m_display[static_cast<size_t>(lastDrawn)].bottom);
    }
  }

  // The selection, inverted.
  if (m_selHidden == 0 && m_selFirstLine >= 0) {
    RECT selection = m_selRect;
    selection.top = std::max<LONG>(selection.top, -1000);
    selection.bottom = std::min<LONG>(selection.bottom, bandBottom);
    if (selection.right > selection.left && selection.bottom > selection.top) dc->InvertRect(&selection);
  }

  // Hover ledger marks: two short dashes at each marked height.
  if (m_hoverX >= 0) {
    const int second = size != 0 ? 14 : 13;
    for (int i = 0; i < m_hoverCount && i < static_cast<int>(m_hoverY.size()); ++i) {
      const int y = m_hoverY[static_cast<size_t>(i)];
      dc->MoveTo(m_hoverX + 2, y);
      dc->LineTo(m_hoverX + 5, y);
      dc->MoveTo(m_hoverX + second, y);
      dc->LineTo(m_hoverX + second + 3, y);
    }
  }

  // Page-width marks at every printable page width.
  if (m_pageMarks != 0) {
    const int width = m_printableWidth[1] * (size != 0 ? 22 : 18) / 18;
    CPen dotted;
    if (width > 0 && dotted.CreatePen(PS_DOT, 1, RGB(0, 0, 0))) {
      CPen* previous = dc->SelectObject(&dotted);
      const int firstMark = std::max(static_cast<int>(clip.left) / width, 1);
      for (int x = firstMark * width; x < m_scrollWidth && x <= clip.right; x += width) {
        ScaledMoveTo(dc, x, 0);
        ScaledLineTo(dc, x, bandBottom);
      }
      dc->SelectObject(previous);
    } else if (width > 0) {
      ReportInternalErrorOnce(kOncePenFailed, kMsgInternalProblem, "QV1-7");
    }
  }
  g_layoutDC = previousLayoutDC;
  dc->RestoreDC(saved);
}
