// The score view's first update: the score's settings become the view's
// working state, the view gets its fonts, autosave starts, the score gets at
// least one line, the layout is made, the main frame's bars and the child
// window are set up as the score asks, and the caret is placed.
//
// The update never stops half-way: a timer that cannot be had turns autosave
// off for this view, and a font that cannot be made is replaced by a default
// one; everything after goes on, so the view is always usable.

#include <algorithm>

#include "chords/ChordDictionary.h"
#include "chords/ChordSettings.h"
#include "common/AppServices.h"
#include "common/Globals.h"
#include "common/RecentChords.h"
#include "common/ViewServices.h"
#include "doc/pref_values/Preferences.h"
#include "lines/KStrLine.h"
#include "model/KListLine.h"
#include "platform/CDC.h"
#include "platform/GdiConstants.h"
#include "platform/StringTable.h"
#include "platform/UiPort.h"
#include "view/CStavlinView.h"
#include "view/core/ViewInitialSteps.h"
#include "view/core/ViewMirrors.h"

namespace {

constexpr UINT kUndoSwitchCommand = 41014;
constexpr UINT kUndoIsEnabledText = 8213;
constexpr UINT kUndoIsDisabledText = 8214;
constexpr UINT kNoTimerMessage = 7043;
constexpr UINT kLayoutProblemMessage = 8218;
// The first layout's scroll range, before the score is measured.
constexpr SIZE kStartScrollSize{400, 300};
// The caret row the first update leaves until the caret's line is known.
constexpr int kCaretRowUnplaced = 1000;
// Child-window margins inside the main frame.
constexpr int kWiderThan = 20;
constexpr int kNarrowedBy = 17;
constexpr int kTallerThan = 128;
constexpr int kLoweredBy = 134;
// The first file version that keeps grouped text lines' indents in pixels.
constexpr int kFirstPixelIndentVersion = 3608;

// Scroll sizes with the framework's default steps: a page is a tenth of the
// range and a line a tenth of a page.
void SetScrollRange(KViewHost& host, SIZE total) {
  const SIZE page{std::max<LONG>(1, total.cx / 10), std::max<LONG>(1, total.cy / 10)};
  const SIZE line{std::max<LONG>(1, page.cx / 10), std::max<LONG>(1, page.cy / 10)};
  host.SetScrollSizes(total, page, line);
}

int AutosaveState(const CStavlinView& v) {
  if (v.m_readOnly != 0) return 0;
  return v.m_autosaveInterval != 0 ? 2 : 1;
}

// Autosave by elapsed time needs the 30-second tick. While no timer is to
// be had the user may retry; Cancel leaves autosave off for this view.
void StartAutosaveTimer(CStavlinView& v) {
  if (v.m_autosaveInterval == 0 || v.m_autosaveKind != 0) return;
  while (v.m_host->Timers().SetTimer(CStavlinView::kAutosaveTimer, CStavlinView::kAutosaveTickMs) == 0) {
    if (AfxMessageBox(kNoTimerMessage, MB_RETRYCANCEL | MB_ICONEXCLAMATION) != IDRETRY) {
      v.m_autosaveInterval = 0;
      v.m_autosaveTimerOn = 0;
      return;
    }
  }
  v.m_autosaveTimerOn = 1;
}

void ResetWorkingFields(CStavlinView& v) {
  v.m_selFirstLine = v.m_selLastLine = -1;
  v.m_selFirstColumn = v.m_selLastColumn = 0;
  v.m_selRect = RECT{};
  v.m_selHidden = 1;
  v.m_largeOffset = 0;
  v.m_autosaveCount = 0;
  v.m_autoScroll = 0;
  v.m_widest = -1;
  v.m_contentLeft = 11;
  v.m_currentTextFont = 0;
  // Ad-Tab modes 2 and 3 draw in colour.
  if (v.m_adTabMode == 2 || v.m_adTabMode == 3) v.m_document->SetUsesColor(1);
}

// Typing starts with the automatic entry the preferences ask for: bars
// inserted at full measures, note clusters joined, stems turned; the last
// auto-join mode, which the toggle returns to, starts at the time signature's.
void TakeEntryDefaults(CStavlinView& v) {
  const KPrefStaffLines2& prefs = g_prefStaffLines2;
  v.m_autoBars = prefs.autoBarEntry != 0 ? 1 : 0;
  v.m_autoJoin = prefs.autoJoin >= 0 && prefs.autoJoin <= 6 ? prefs.autoJoin : 1;
  v.m_autoJoinLast = 1;
  v.m_stemDirection = prefs.autoStem >= 0 && prefs.autoStem <= 2 ? prefs.autoStem : 0;
  KViewMirrors& m = g_viewMirrors;
  m.autoBars = v.m_autoBars;
  m.autoJoin = v.m_autoJoin;
  m.stemDirection = v.m_stemDirection;
}

// The caret's line decides the caret row, the text font or the key in force.
void TakeCaretLine(CStavlinView& v) {
  if (v.m_lineCount <= 0) return;
  v.m_currentType = v.GetDisplayEntry(0).type;
  v.m_currentFamily = KLineObj::FamilyOf(v.m_currentType);
  v.m_caretRow = v.m_currentFamily == KLineObj::kFamilyTab ? 4 : 18;
  KLineObj* line = v.GetDisplayLineObj(0);
  if (line == nullptr) return;
  if (v.m_currentFamily == KLineObj::kFamilyText) {
    if (const auto* text = dynamic_cast<const KStrLine*>(line)) v.m_currentTextFont = text->GetFontIndex();
  } else if (const KListLine* list = line->AsListLine()) {
    v.m_keyAtCaret = list->GetKeySignatureAt(0);
  }
}

void PublishStart(const CStavlinView& v) {
  KViewMirrors& m = g_viewMirrors;
  m.currentLine = v.m_currentLine;
  m.caretColumn = v.m_caretColumn;
  m.currentType = v.m_currentType;
  m.currentPage =
      v.m_lineCount > 0 ? v.GetDisplayEntry(v.m_currentLine).extra[CStavlinView::kPageCode] / 10 : 0;
  m.mutualTranslation = v.m_mutualTranslation;
  m.autoScroll = v.m_autoScroll;
  m.scrollLines = v.m_scrollStep % 100;
  m.scrollSeconds = static_cast<int>(v.m_scrollSeconds);
  m.autosaveState = AutosaveState(v);
  m.autoWrap = v.m_autoWrap;
  m.fileVersion = v.m_fileVersion;
}

void ShowFrameBars(CStavlinView& v) {
  KFrameServices* frame = v.m_host->Frame();
  if (frame == nullptr) return;
  const int bars = v.m_options.barFlags;
  frame->ShowMainToolbar(bars & 1);
  frame->ShowExtraToolsToolbar((bars >> 1) & 1);
  frame->ShowStatusBar((bars >> 2) & 1);
  frame->RefreshToolboxes();
}

void SetUndoMenuText(CStavlinView& v) {
  if (KFrameServices* frame = v.m_host->Frame()) {
    frame->SetMenuItemText(kUndoSwitchCommand,
                           LoadString(v.m_undoEnabled != 0 ? kUndoIsEnabledText : kUndoIsDisabledText));
  }
}

void MeasureScreen(CStavlinView& v) {
  if (CDC* dc = v.m_host->GetMeasureDC()) {
    g_screenResX = dc->GetDeviceCaps(LOGPIXELSX);
    g_screenResY = dc->GetDeviceCaps(LOGPIXELSY);
  }
}

}  // namespace

void PlaceChildWindow(CStavlinView& v) {
  const ScoreSettings& s = v.m_options;
  int x = s.windowX;
  int y = s.windowY;
  int width = s.windowWidth;
  int height = s.windowHeight;
  if (KFrameServices* frame = v.m_host->Frame()) {
    const RECT r = frame->GetFrameRect();
    const int frameWidth = r.right - r.left;
    const int frameHeight = r.bottom - r.top;
    if (width > frameWidth - kWiderThan) {
      x = 0;
      width = frameWidth - kNarrowedBy;
    }
    if (height > frameHeight - kTallerThan) {
      y = 0;
      height = frameHeight - kLoweredBy;
    }
  }
  v.m_host->PlaceChildFrame(x, y, width, height);
}

void CStavlinView::OnInitialUpdate() {
  if (m_document == nullptr || m_host == nullptr || m_destroyed) return;
  m_lineCount = 0;
  m_fileVersion = g_fileVersion;
  m_document->GetSettings(m_options);
  ApplySettingsToView(*this);
  SetUndoMenuText(*this);

  m_trebleTabTuning = m_options.tabTuning;
  m_bassTabTuning = m_options.bassTabTuning;
  g_CurrentTuning = m_trebleTabTuning;

  CreateViewFonts(*this);
  MeasureScreen(*this);
  ClearRecentChords();
  ComputePageMargins();
  SetScrollRange(*m_host, kStartScrollSize);
  ResetWorkingFields(*this);
  TakeEntryDefaults(*this);

  StartAutosaveTimer(*this);
  g_viewMirrors.autosaveState = AutosaveState(*this);

  FillTextFontTable(*this);
  RepairInstrumentTable(*this);

  m_firstVisible = 0;
  m_currentLine = 0;
  m_caretColumn = 0;
  m_caretRow = kCaretRowUnplaced;
  if (m_document->HasNoLines()) m_document->AddHeadLine(new KStrLine(0));

  m_labelWidth = 0;
  if (RebuildDisplayLines(1) == 0) {
    AfxMessageBox(kLayoutProblemMessage);
    m_host->PostCloseDocument();
  }
  SetSymbolSize(m_sizeIndex, 0);

  m_labelWidth = MeasureLabelWidth();
  m_contentLeft = (m_labelsShown != 0 ? m_labelWidth : 0) + 11;
  NumberChordDiagrams(m_host->GetMeasureDC());
  // Chords of the score that the user's dictionary lacks are offered to it;
  // the dictionary is read again when any was added.
  if (g_chordSettings.scanOnOpen != 0 && ScanScoreChords() != 0) {
    ClearChordDictionary();
    LoadChordDictionary();
  }
  RebuildDisplayLines(0);
  g_relayoutOnPaint = 0;

  TakeCaretLine(*this);
  PublishStart(*this);
  ShowFrameBars(*this);
  PlaceChildWindow(*this);
  SetScrollRange(*m_host, SIZE{m_scrollWidth, m_scrollHeight});

  // Older scores kept the indents of grouped text lines as blanks.
  if (m_fileVersion < kFirstPixelIndentVersion && m_document->GetRegroupedTextLineCount() > 0) {
    ConvertOldIndentation(*this);
    RebuildDisplayLines(0);
    SetScrollRange(*m_host, SIZE{m_scrollWidth, m_scrollHeight});
  }

  FindTopLine(0);
  PlaceCaret();
  m_initialUpdateDone = true;
}
