#pragma once
// CStavlinView: the score view. It lays the document's shown lines out into
// a table of display lines, draws them onto any CDC, keeps the caret, scrolls,
// runs its auto-scroll and autosave timers and carries the view commands. It
// is Qt-free: it talks to its window only through KViewHost (view/ViewHost.h),
// so tests drive it without any widget.
//
// Its jobs are split over several files, one each:
//   ViewCreate.cpp         construction, the display-table growth, destruction
//   ViewInitialUpdate.cpp  the first update: settings into view state
//   ViewLayout.cpp         the display-line table (RebuildDisplayLines ...)
//   ViewPagination.cpp     page margins, page breaks and page codes
//   ViewTextFonts.cpp      the text-line font slots
//   ViewDraw.cpp           OnDraw
//   ViewUpdate.cpp         OnUpdate: update hints into invalid rectangles
//   ViewCaret.cpp          UpdateAfterEdit and PlaceCaret
//   ViewScroll.cpp         virtual scroll positions, OnSize
//   ViewTimers.cpp         auto-scroll and autosave timers
//   ViewFocus.cpp          focus and activation, the program-wide mirrors
//   ViewCommands*.cpp      the view's menu commands
//
// Display lines: entry i of the table is one shown line (its position in
// the document's line list, type, top and bottom on the page, first bar
// number in extra[0], page code in extra[1]).

#include <array>
#include <memory>
#include <vector>

#include "app/CStavlinDoc.h"
#include "app/ScoreSettings.h"
#include "model/KLineGroup.h"
#include "platform/CString.h"
#include "platform/GdiObjects.h"
#include "platform/Geometry.h"
#include "platform/WinTypes.h"
#include "view/ViewHost.h"

class CDC;
class KLineObj;
class KListLine;

// One instrument of the score's table, parsed from the settings record.
struct LabelEntry {
  CString name;
  int program = 0;
  int volume = 0;
};

class CStavlinView : public KDocumentView {
 public:
  // ---- Update hints (see OnUpdate) -----------------------------------------
  static constexpr int kHintNewScore = 1;
  static constexpr int kHintItem = 2;
  static constexpr int kHintLineFrom = 100000000;   // + 10000 x line + (column + 1)
  static constexpr int kHintLineAndBelow = 200000000;  // + 10000 x line
  static constexpr int kHintAll = 300000000;
  static constexpr int kHintRange = 400000000;  // + 100000 x line + 1000 x extra lines

  // ---- Timer ids --------------------------------------------------------------
  static constexpr UINT_PTR kScrollTimer = 1111;
  static constexpr UINT_PTR kAutosaveTimer = 2222;
  static constexpr UINT kAutosaveTickMs = 30000;

  // Display-line field indexes kept in DisplayLine::extra.
  static constexpr int kFirstBar = 0;
  static constexpr int kPageCode = 1;

  // The view belongs to the document (which does not own it) and to the host
  // window (which outlives it).
  CStavlinView(CStavlinDoc* document, KViewHost* host);
  ~CStavlinView() override;
  CStavlinView(const CStavlinView&) = delete;
  CStavlinView& operator=(const CStavlinView&) = delete;

  CStavlinDoc* GetDocument() const { return m_document; }
  KViewHost* Host() const { return m_host; }

  // ---- Framework slots (KDocumentView) ------------------------------------------
  void OnUpdate(KDocumentView* sender, int hint) override;
  void SetChangedFlag() override {}

  // ---- Life (ViewCreate.cpp, ViewInitialUpdate.cpp) --------------------------------
  // Grows the display-line table by count entries; 1 on success, 0 on failure
  // (message 7029, the table stays as it was).
  int GrowDisplayTable(int count);
  // The first update: turns the score's settings into view state, guarantees
  // one line, lays out and places the caret.
  void OnInitialUpdate();
  bool InitialUpdateDone() const { return m_initialUpdateDone; }
  // The window is going away: timers stop, the symbol set is released, the
  // frame forgets this view.
  void OnDestroy();
  // The child frame moved (MDI client units).
  void OnMove(int x, int y);

  // ---- Layout (ViewLayout.cpp) ------------------------------------------------------
  // Lays the shown lines out into the display-line table; returns the count.
  // Bit 0 of flags first carries time signatures from line to line.
  int RebuildDisplayLines(int flags);
  // Top y of the display line at which the window should start for a wanted
  // scroll position y; sets first visible, last visible and visible count.
  int FindTopLine(int y);
  // After a show flag changed (type 8 = show all): relayout keeping the
  // caret's line (or the nearest shown one above) at its height.
  void RelayoutKeepingCaretLine(int type);
  // The display line that shows the line at the position, searching from
  // start; -1 when none.
  int FindDisplayLine(POSITION position, int start) const;
  // The widest shown label + 2 (0 when labels are not shown).
  int MeasureLabelWidth();

  // ---- Pagination (ViewPagination.cpp) -------------------------------------------------
  void ComputePageMargins();
  void CountPages();

  // ---- Text fonts (ViewTextFonts.cpp) ---------------------------------------------------
  // The slot of an equal font, else a free one (1..40) given the font; 0 when
  // the table is full.
  int FindOrAddLineFont(const LOGFONT& font);

  // ---- Drawing and update (ViewDraw.cpp, ViewUpdate.cpp) ------------------------------
  // Paints the display lines that meet the DC's clip box (screen path; the
  // DC's window origin is the scroll position).
  void OnDraw(CDC* dc);

  // ---- Refresh and caret (ViewCaret.cpp) ------------------------------------------------
  void UpdateAfterEdit(int hint, int clearSelection);
  // Places and shapes the caret; returns its window position.
  POINT PlaceCaret();

  // ---- Scrolling, size, timers (ViewScroll.cpp, ViewTimers.cpp) ------------------------
  POINT GetVirtualScrollPosition() const;
  void SetVirtualScrollPosition(int x, int y);
  void OnSize(UINT type, int cx, int cy);
  int StartScrollTimer(float seconds);
  void OnTimer(UINT_PTR id);

  // ---- Focus (ViewFocus.cpp) -------------------------------------------------------------
  void OnSetFocus();
  void OnKillFocus();
  void OnActivateView(BOOL activate);
  // Writes the program-wide mirrors from this view.
  void PublishMirrors();

  // ---- View commands (ViewCommands*.cpp) -------------------------------------------------
  // Edit/Read Only.
  void OnEditReadOnly();
  // Asks message 7094 when the view is read-only: TRUE when editing may go
  // on (not read-only, or the user left read-only mode).
  BOOL LeaveReadOnlyForEdit();
  // Small (0) or large (1) symbols.
  void SetSymbolSize(int sizeIndex, int flag);
  // View/Line Types To Show: flips the show flag of a type (8 = all).
  void ToggleLineTypeShown(int type);
  void OnViewRefresh();
  // Inserts a new empty line of the type below the current line.
  void InsertLineOfType(int type, int value);
  // The autosave interval and timer.
  void OnFileAutoSave();
  // Autosave: saves the score through the document's ordinary save when the
  // interval has been reached (called by the autosave tick between commands).
  void AutosaveIfDue();
  // Undo seam: every edit records its step here before it changes the score.
  void RecordUndoStep(int kind, int a, int b, const CString* text, int c);

  // ---- State read by commands, frames and tests ------------------------------------------
  int GetDisplayLineCount() const { return m_lineCount; }
  const DisplayLine& GetDisplayEntry(int index) const { return m_display[static_cast<size_t>(index)]; }
  KLineObj* GetDisplayLineObj(int index) const;
  int GetCurrentLine() const { return m_currentLine; }
  int GetCaretColumn() const { return m_caretColumn; }
  int GetCaretRow() const { return m_caretRow; }
  int GetCurrentType() const { return m_currentType; }
  int GetCurrentFamily() const { return m_currentFamily; }
  int GetSizeIndex() const { return m_sizeIndex; }
  int IsReadOnly() const { return m_readOnly; }
  int GetContentLeft() const { return m_contentLeft; }
  int GetScrollWidth() const { return m_scrollWidth; }
  int GetScrollHeight() const { return m_scrollHeight; }
  int GetFirstVisible() const { return m_firstVisible; }
  int GetLastVisible() const { return m_lastVisible; }
  int GetPageCount() const;
  const ScoreSettings& Options() const { return m_options; }

  // ======================================================================================
  // State. Public so that the view's own files, commands and tests share one
  // record, as the view's fields are shared in the original design; outside
  // code reads it through the accessors above.
  // ======================================================================================

  CStavlinDoc* m_document;
  KViewHost* m_host;

  ScoreSettings m_options;  // the view's working copy of the document's settings
  std::array<LabelEntry, ScoreSettings::kInstrumentSlots> m_labels{};
  int m_labelCount = 0;

  // -- display-line table
  std::vector<DisplayLine> m_display;  // size() is the capacity
  int m_lineCount = 0;
  int m_firstVisible = 0;
  int m_lastVisible = 0;
  int m_visibleCount = 0;

  // -- caret
  int m_currentLine = 0;
  int m_caretColumn = 0;
  int m_caretRow = 18;
  int m_currentType = 0;
  int m_currentFamily = 0;
  int m_contentOrigin = 11;  // x of column 0 of the current line
  int m_keyAtCaret = 0;
  int m_currentTextFont = 0;
  int m_entryMode = 0;        // overwrite mode word
  int m_rhythmSymbolEntry = 0;
  CString m_trebleTabTuning;
  CString m_bassTabTuning;

  // -- layout
  int m_sizeIndex = 0;        // 0 small symbols, 1 large
  int m_contentLeft = 11;     // label column (when shown) + 11
  int m_labelWidth = 0;
  int m_labelsShown = 0;
  int m_onlyChordsAndText = 0;
  int m_widest = -1;          // widest notation width seen
  int m_scrollWidth = 100;
  int m_scrollHeight = 100;
  std::array<int, 19> m_show{};  // show flags by type code; [8] shows all
  std::array<int, 17> m_typeHeight{};
  std::array<int, 17> m_typeColumnWidth{};
  int m_tabSpacing[2] = {12, 16};
  int m_barNumbersShown = 0;
  int m_chordDiagramsShown = 1;
  int m_chordBaseWidth = 15;
  int m_tabStems = 0;
  int m_fixedStaffLength = 0;

  // -- text fonts: slot 0 the default text font, 1..40 the score's fonts
  std::array<LOGFONT, 41> m_textFonts{};
  std::array<int, 41> m_baseFontHeight{};
  std::array<int, 41> m_baseFontWidth{};
  std::array<int, 41> m_fontUseCounts{};
  int m_fontsNeedMeasuring = 1;
  CString m_tabFontText;
  CString m_rhythmFontText;
  CString m_pageNumberFontText;
  CString m_pageNumberingText;
  COLORREF m_tabColour = 0;
  COLORREF m_rhythmColour = 0;
  int m_colourTab = 0;
  int m_colourRhythm = 0;

  // -- scrolling and timers
  int m_largeOffset = 0;
  int m_autoScroll = 0;
  int m_scrollTimerRunning = 0;
  int m_scrollStep = 1;
  int m_scrollCaretOffset = 0;
  int m_scrollLoop = 0;
  int m_scrollBeep = 0;
  float m_scrollSeconds = 0.0f;
  int m_lastGroupSeen = 0;
  int m_autoScrollCaretX = 0;
  int m_autosaveCount = 0;
  int m_autosaveInterval = 0;
  int m_autosaveKind = 0;
  int m_autosaveTimerOn = 0;
  int m_autosaveDue = 0;       // the interval was reached; the next idle moment saves
  int m_trackWindowSize = 0;

  // -- modes
  int m_readOnly = 0;
  int m_mutualTranslation = 0;
  int m_independentEditing = 0;
  int m_undoEnabled = 1;
  int m_pageMarks = 0;

  // -- selection (owned by the selection code; empty when firstLine < 0)
  int m_selFirstColumn = 0;
  int m_selLastColumn = 0;
  int m_selFirstLine = -1;
  int m_selLastLine = -1;
  RECT m_selRect{};
  int m_selHidden = 1;

  // -- play range marks (no range when m_playFirstLine < 0)
  int m_playFirstLine = -1;
  int m_playFirstColumn = 0;
  int m_playLastLine = -1;
  int m_playLastColumn = 0;
  int m_playStartX = 0;
  int m_playEndX = 0;

  // -- pagination
  int m_printScale = 100;
  int m_orientation = 0;
  int m_marginUnit = 0;
  int m_margins[4] = {0, 0, 0, 0};          // top, bottom, left, right in the margin unit
  int m_marginsPrinter[4] = {0, 0, 0, 0};
  int m_marginsScreen[4] = {0, 0, 0, 0};
  int m_printableWidth[2] = {0, 0};         // printer pixels, screen pixels
  int m_printableHeight[2] = {0, 0};
  int m_keepGroupsTogether = 0;
  int m_pageCount = 0;

  int m_fileVersion = 0;
  bool m_initialUpdateDone = false;
  bool m_destroyed = false;
};

// The undo seam: a recorder that the undo subsystem installs. Until then
// RecordUndoStep records nothing.
using UndoRecorder = void (*)(CStavlinView& view, int kind, int a, int b, const CString* text, int c);
void SetUndoRecorder(UndoRecorder recorder);

// Program-wide: set while timer handlers, large scrolls and secondary edits
// run; RecordUndoStep then records nothing and UpdateAfterEdit marks nothing.
extern int g_noModify;
// Program-wide: relayout on the next paint (the preferences sheet sets it).
extern int g_relayoutOnPaint;
// Program-wide: the widest notation width, mirrored by the layout.
extern int g_widestNotation;
// Program-wide: the layout keeps the widest width while set (Wrap Music).
extern int g_holdWidest;
