#pragma once
// CStavlinView: the score view. It lays the document's shown lines out into
// a table of display lines, draws them onto any CDC, keeps the caret, scrolls,
// runs its auto-scroll and autosave timers and carries the view commands. It
// is Qt-free: it talks to its window only through KViewHost (view/ViewHost.h),
// so tests drive it without any widget.
//
// Its jobs are split over files in rooms of src/view, one job a file:
//   core/      life (ViewCreate, ViewInitialUpdate), layout (ViewLayout*,
//              ViewRelayout), pagination, text fonts, drawing (ViewDraw*),
//              update hints, caret, scrolling, timers and autosave, focus and
//              the program-wide mirrors
//   input/     keys (ViewKeys*, ViewAltGroupEdit), typed entry (ViewChar*,
//              ViewLinkedEntry, ViewOctaveMarks), mouse (ViewMouse*), selection,
//              toolbox picks (ViewToolboxPick)
//   extobj/    extended objects placed, selected, dragged and edited by hand
//   edit/      undo ring and recorder (ViewUndo*), the clipboard word stream,
//              copy and paste, deleting a region, removing a grouped line
//   commands/  the command table, dispatch, enabling rules, status panes and
//              the view's menu commands
//   structure/ the commands that build a score's structure: the line-group
//              rebuilder, line groups, tunings, labels, line appearance
// Below, the member functions are grouped by job, and the state by what
// belongs together, each group naming the files that own it.
//
// Display lines: entry i of the table is one shown line (its position in
// the document's line list, type, top and bottom on the page, first bar
// number in extra[0], page code in extra[1]).

#include <array>
#include <memory>
#include <utility>
#include <vector>

#include "doc/CStavlinDoc.h"
#include "doc/ScoreSettings.h"
#include "model/KLineGroup.h"
#include "model/KLineObj.h"
#include "platform/CString.h"
#include "platform/GdiObjects.h"
#include "platform/Geometry.h"
#include "platform/WinTypes.h"
#include "view/ViewHost.h"
#include "view/core/ViewLayoutCache.h"
#include "view/edit/ClipStream.h"

class CDC;
struct CPrintInfo;
class KChord;
class KExtendedObj;
class KLineObj;
class KListLine;
class KUndoRing;
class KViewPlayer;
struct MidiShortEvent;

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
  static constexpr int kHintLineFrom = 100000000;      // + 10000 x line + (column + 1)
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
  // The window's device context to measure with, or null without a window.
  // It lasts only until the next call: fetch it again after anything that
  // may measure (a layout, a pagination, a paint).
  CDC* MeasureDC() const { return m_host != nullptr ? m_host->GetMeasureDC() : nullptr; }

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
  // Lays out again only the display line that shows the edited line (with
  // any lines edited since the last layout, and the lines below as far as
  // their layout changes), with the same result as RebuildDisplayLines.
  // false, with nothing changed, when that cannot be done: the caller then
  // lays out everything.
  bool RelayoutEditedLine(POSITION edited, int displayLine);
  // Notes the display lines an update hint names as changed (0: none), for
  // the next relayout of an edited line.
  void NoteEditedRange(int hint);
  // Repaints what the edit's damage list (g_refreshDamage) and the last
  // relayout of the edited lines say changed.
  void InvalidateDamage();
  // The page rows that a display line's drawing from the column on covers:
  // its own band, and on staff and tablature lines the symbols, stems and
  // beams of its drawing cache, its attachments and its bar number. With
  // current the cache is first brought up to date with the line (as drawing
  // does); without, the rows are those of the drawing on the screen.
  std::pair<int, int> DrawnRows(int displayLine, int column, bool current);
  // The widest shown label + 2 (0 when labels are not shown).
  int MeasureLabelWidth();

  // ---- Pagination (ViewPagination.cpp) -------------------------------------------------
  void ComputePageMargins();
  void CountPages();
  // The next sheet of the pagination walk: its top-left and bottom-right in
  // layout pixels. Every call advances by at least one display line.
  void ComputePageBreaks(CDC* dc, POINT& topLeft, POINT& bottomRight);
  // The width the display line takes on a sheet (layout pixels), as the walk
  // measures it; 0 for an index outside the table.
  int LineSheetWidth(int displayLine, CDC* dc);

  // ---- Printing (ViewPrint.cpp, ViewPrintPage.cpp) ---------------------------------------
  // The framework's print loop (platform/PrintJob.h): the pages named, the
  // printer read and set up, each sheet worked out and painted, and what
  // printing changed put back.
  bool OnPreparePrinting(CPrintInfo& info);
  void OnBeginPrinting(CPrintInfo& info);
  void OnPrepareDC(CDC& dc, CPrintInfo& info);
  void OnPrint(CDC& dc, CPrintInfo& info);
  void OnEndPrinting(CPrintInfo& info);
  // The page-number header or footer of the current sheet (OnPrint); false
  // when its font cannot be made ("QV4-3", once per run): the sheet is then
  // not drawn.
  bool DrawPageNumber(CDC& dc);
  // Puts the current sheet on the printer's page: the device context's origin
  // and clip; band gets the sheet in layout pixels (OnDraw's print path).
  bool BeginPrintedSheet(CDC& dc, RECT& band);
  // File/Print, File/Print Preview (through the UI port's printer).
  void OnFilePrint();
  void OnFilePrintPreview();
  // View/Show Page Breaks.
  void OnViewShowPageBreaks();
  // File/Print Options: the score's page layout and page numbering.
  void OnFilePrintOptions();

  // ---- Image export (ViewExportImage.cpp) -----------------------------------------------
  // File/Export: the selection, or the whole score, as a PNG or BMP image at
  // screen resolution (ExportImage) or three times it.
  void ExportImage();
  void OnExportHighResImage();
  // The export at 1 or 3 image pixels a layout pixel.
  void ExportImageAt(int scale);
  // What an export captures, in layout pixels: the selection, or the whole
  // score as wide as its widest line.
  RECT ExportRectangle();
  // Draws the capture as printed into a new bitmap of the capture's size
  // times scale: 1 bit a pixel, or colour when the score uses colour. False
  // (after its message) when the bitmap cannot be made.
  bool RenderExport(const RECT& capture, int scale, CBitmap& bitmap);

  // ---- Text fonts (ViewTextFonts.cpp) ---------------------------------------------------
  // The slot of an equal font, else a free one (1..40) given the font; 0 when
  // the table is full.
  int FindOrAddLineFont(const LOGFONT& font);
  // The same for a font text, with the underline byte and (when above 0) the
  // colour carried in the escapement.
  int FindOrAddLineFont(const CString& fontText, BYTE underline, int colour);
  // Gives the text line at the display line the font (counting its use);
  // with centre set the text is preceded by blanks that centre it on the
  // default line length. Refreshes through UpdateAfterEdit when asked, else
  // relays out. A display line that is not a text line changes nothing.
  void SetTextLineFont(int displayLine, const CString& fontText, int refreshWithUpdate, int centre,
                       BYTE underline, int colour);

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
  // Actions/Scrolling/Toggle Scroll On/Off: starts auto-scroll (read-only
  // while it runs) or stops it (ViewTimers.cpp).
  void OnActionsToggleScroll();

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
  // Every edit records its undo step here before it changes the score
  // (ViewUndoRecorder.cpp): the view state and a snapshot of the display
  // lines the kind covers go into the next record of the undo ring.
  void RecordUndoStep(int kind, int a, int b, const CString* text, int c);
  // Edit/Undo, Edit/Redo and Edit/Enable-Disable Undo (ViewUndoCommands.cpp).
  void OnEditUndo();
  void OnEditRedo();
  void OnEditEnableDisableUndo();
  // Edit/Copy, Cut, Remove, Paste and Paste Over (ViewEditCommands.cpp).
  void OnEditCopy();
  void OnEditCut();
  void OnEditRemove();
  void OnEditPaste();
  void OnEditPasteOver();
  // View/Line Types To Show: the commands 41119 to 41135; FALSE for any
  // other id.
  BOOL RunLineTypeCommand(UINT id);
  void OnViewShowAll();
  void OnViewShowAllTablature();
  void OnViewShowTrebleStaff();
  void OnViewShowBassStaff();
  void OnViewShowChordNames();
  void OnViewShowChordDiagrams();
  // View/Change Size of All Text, Toggle Symbol Size, Show Note Stems on Tab.
  void OnViewTextBigger();
  void OnViewTextSmaller();
  void OnViewTextRestore();
  void OnViewToggleSymbolSize();
  void OnViewShowStemsOnTab();

  // ---- The score's structure (commands/ViewInsert*.cpp, structure/) -----------------------
  // Insert/Keyboard (Treble+Bass) Staff: a braced treble and bass pair of
  // its own group below the caret's line (below its pair when on one).
  void OnInsertKeyboardStaff();
  // Insert/Page Break: a text line that starts a new printed page.
  void OnInsertPageBreak();
  // The line-group rebuilder (ViewRebuildLineGroup.cpp). splitX negative
  // completes the group of the id (each slot without a line gets a new empty
  // line of its kind; width is the staff length of new staff and tablature
  // lines; labels holds 20 slot labels, or null); kFollowingEmptyGroup starts
  // a following group of new empty lines after it (Wrap Music); any other
  // value starts a following group by splitting the group's lines at that
  // pixel x (a line break inside a group). Returns the group built or
  // completed; null when there is no group of the id.
  static constexpr int kFollowingEmptyGroup = 32000;
  KLineGroup* RebuildLineGroup(int groupId, int width, int splitX, const CString* labels);
  // The label of a line; a labelled note line also gets its label's MIDI
  // instrument in the score's table (ViewLineLabels.cpp).
  void SetLineLabel(KLineObj* line, const CString& label);
  // ---- MIDI file export and MIDI settings (midi/ViewMidiExport.cpp,
  //      midi/ViewMidiSettings.cpp) ---------------------------------------------------
  // File/Export/Full Score As MIDI File: the score as it plays, written to the
  // file the save dialog names.
  void OnFileExportMidi();
  // Actions/MIDI/MIDI Settings: the instruments of the labels and the
  // playback effects of the score.
  void OnActionsMidiSettings();
  // ---- Translation and ABC (commands/ViewTranslate*.cpp, ViewAbc*.cpp, ViewTextTab.cpp,
  //      ViewTextHandOver.cpp) ---------------------------------------------------------------
  // Actions/Translate To Text ... To Chord (41220..41230): the current or
  // selected lines into lines of the target type, placed and grouped by the
  // translation options.
  void OnTranslateLines(UINT id);
  // Actions/Translate/Settings: the translation options dialog.
  void OnTranslateSettings();
  // Groups a translated line with its source (the source's group takes it in,
  // or a new group of the two is made); mutual: they translate into each other.
  void GroupWithSource(POSITION sourcePos, POSITION newPos, bool above, bool mutual);
  // After a MIDI import: every treble or bass staff not in a line group
  // (with a flag: every one whose flag word carries it) gets a tablature line
  // of its notes below it (the guitar tuning for a treble staff, the bass
  // tuning for a bass staff), the two grouped and translating into each other.
  void ConvertToTablature(int flag);
  // Rows of plain-text tablature into tablature lines (the selection's, or
  // the block at the display line).
  void TranslateTextTab(int currentLine);
  // Actions/Translate/From ABC Notation on the current line or the selection.
  void OnActionsTranslateFromAbc();
  // The same on the display lines first..last; selection: the lines were
  // selected (each tune's staves then share one staff length, titles stand apart).
  void TranslateFromAbc(int first, int last, bool selection);
  // Actions/Translate/To ABC Notation: the selected staff lines' ABC below
  // them; with no selection at all, the whole score as an ABC document.
  void OnActionsTranslateToAbc();
  // File/Export/Full Score as ABC File.
  void OnFileExportAbc();
  // The whole score as ABC tunes (lines ended by CR LF).
  CString ScoreAsAbc();
  // Opens the whole score's ABC text as a new text document through the frame.
  void ExportScoreAsAbc();
  // A text document's text handed to this (new) score: pasted at the caret as
  // text lines without the clipboard, then read as ABC (abc) or as text
  // tablature (toTablature).
  void ReceiveHandedOverText(const CString& text, bool abc, bool toTablature);
  // Insert/Line Group (ViewInsertLineGroup.cpp).
  void OnInsertLineGroup();
  // Actions/Set TAB and Chord Diagram Tuning (ViewTabTuning.cpp).
  void OnActionsSetTabAndChordDiagramTuning();
  // Actions/Set TAB Fret Position (ViewFretPosition.cpp).
  void OnActionsSetTabFretPosition();
  // View/Line Appearance: Staff and Tab Line Indent and Spacing, Chord and
  // Tab Line Appearance (ViewStaffLineProps.cpp, ViewChordLineProps.cpp).
  void OnViewStaffLineProps();
  void OnViewChordLineProps();
  // View/Label Selected Line(s), Labeled Lines, Line Labels/Show On All
  // Lines and Indent on Current / Selected Line(s) (ViewLineLabels.cpp,
  // ViewLabeledLines.cpp).
  void OnViewLabelSelectedLines();
  void OnViewLabeledLines();
  void OnViewLabelsOnAllLines();
  void OnViewLabelIndent();
  // View/Bar Numbering (ViewBarNumbering.cpp).
  void OnViewShowBarNumbering();
  void OnViewSetBarNumbering();
  // View/Set Line Font (ViewLineFont.cpp).
  void OnViewSetLineFont();
  // Edit/Edit Group Lines Independently (ViewGroupIndependence.cpp); callers
  // set m_independenceMode first.
  void OnEditGroupLinesIndependently();
  // Options/Mutual Translation, View/Ad-Tab modes, the toolbars and the
  // status bar kept with the score (ViewDisplayToggles.cpp).
  void OnOptionsMutualTranslation();
  void SetAdTabMode(int mode);
  void OnViewToggleBar(UINT id);

  // ---- Playback (play/ViewPlayer.cpp, play/ViewPlayCommands.cpp) --------------------------
  // The view's player, made on first use with the score's play settings.
  KViewPlayer& Player();
  // The music is playing (the view then takes no input but the stop keys).
  bool IsPlaying() const;
  // The caret shows without the keyboard: the music plays, or the play
  // window's transport has just moved the caret.
  bool ShowsCaretForPlay() const;
  // Actions/MIDI/Set MIDI Play Range Marks: the marks are cleared and the
  // next two clicks set them.
  void OnActionsSetMidiMarks();

  // ---- Live MIDI input (midi/ViewLiveMidiInput.cpp, midi/ViewLiveMidiWrite.cpp) -----------
  // Chooses the line to record into (a new line of the recording settings'
  // kind when the caret is on no staff or tablature line), gives the sync
  // timer the tempo (beats per minute), starts the sync and the input, and
  // makes this view the live-input target.
  void StartLiveMidiInput(int tempo);
  // Recording stopped: the recorded lines are shown again with the caret.
  void StopLiveMidiInput();
  // One event from the MIDI input while this view is the target: remote
  // start/stop, count-in, and the notes gathered into chords and written at
  // the caret. 1 when the event was used.
  int HandleLiveMidiNotes(const MidiShortEvent* event);
  // The input went while recording, `ticks` after its last event: the keys
  // still held count as released now, and the chords they end are written.
  void ReleaseLiveNotes(std::uint32_t ticks);
  // The first display line of the group shown at the display line (the line
  // itself when it is in no group).
  int TopOfGroupAt(int displayLine) const;
  // Single-step recording: typed entry inserts (no overwrite) while it runs.
  void SaveLiveEntryState();
  void RestoreLiveEntryState();
  // The view goes while it is the live-input target: recording stops, the
  // input is closed, the sync stopped and the target cleared.
  void ForgetLiveInput();

  // ---- Navigation and editing keys (ViewKeys*.cpp) ---------------------------------------
  // WM_KEYDOWN: caret moves, selection by Shift, deletion; only Right at the
  // end of a line reaches OnChar (as a space).
  void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  // WM_SYSKEYDOWN: the Alt-arrow edits.
  void OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  // The toolbox sends its caret moves as key downs with this flags value.
  static constexpr UINT kToolboxKeyFlags = 12344;
  // Alt-arrow edit (key 37..40) of the grouped line at the position and of
  // the lines bracketed with it: the first column to redraw, or -1 when
  // refused (chord lines; Up and Down on rhythm lines; a move a line refuses).
  int HandleAltKeyEdit(int groupId, POSITION linePosition, int firstColumn, int lastColumn, int key, int row,
                       int sizeIndex);
  // Removes the selected region (objects in the selection, or whole lines);
  // nonzero when something was deleted.
  int DeleteSelectedRegion(int a, int b, int c);

  // ---- Clipboard (ViewCopy*.cpp, ViewPaste*.cpp) -------------------------------------------
  // Copies the selection as a word stream (view/edit/ClipStream.h). Modes: 0 Copy,
  // 1 Cut, 2 Remove (these put the stream, and plain text while
  // g_clipboardCommand is set, on the clipboard), 3 undo snapshot (no
  // clipboard), 4 the Cut of Wrap Music. Returns the line stream written
  // (the caller owns it), or nothing when the selection was empty, the copy
  // failed or an attachment was copied.
  std::unique_ptr<KClipStream> SerializeSelection(int mode);
  // Pastes a word stream: data, or the clipboard when data is null (the
  // private format, else plain text). Mode 20 inserts at the caret, 21
  // pastes over; placement 0 normal, 1 the first line goes above the caret
  // line (undo restore), 2 and 3 Wrap Music merges; caretX -1 computes the
  // caret's x. A stream that does not read whole changes nothing.
  void PasteSerializedLines(int mode, const KClipStream* data, int placement, int caretX);

  // ---- Typed entry (ViewChar*.cpp) -------------------------------------------------------
  // WM_CHAR: the one road by which a symbol enters a line.
  void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
  // OnChar's nFlags value that asks a Backspace to delete the whole column.
  static constexpr UINT kCharWholeColumn = 512;
  // The symbol code of a typed character on a line of the type: 1 with ch
  // replaced by the code, 0 when the character has no code (ViewCharSymbols.cpp).
  int TranslateTypedChar(int& ch, int lineType, int toolboxFlag) const;
  // Keeps the ledger-line hint of a caret above or below a staff up to date
  // (m_ledger); the paint draws it (ViewCaretLedger.cpp).
  void DrawCaretLedgerLine();
  // Repaints the band of a display line where a ledger hint stands or stood.
  void InvalidateLedgerBand(int displayLine);
  // One code at the caret column of the line and of its partner lines
  // (every notation line of the group for flags 14); the line's caret step
  // and first column to redraw (ViewLinkedEntry.cpp).
  KLinePair EnterSymbolInLinkedLines(int groupId, POSITION linePosition, KLineObj* line, int code,
                                     int rhythmCode, int row, int flags);
  // A whole column (owned by the caller) into the line at the caret column,
  // converted for its bracketed partner.
  KLinePair InsertObjWithPartner(int groupId, POSITION linePosition, KLineObj* line, const KChord& column);
  // A column pair (this line's column and the partner's) into the bracketed
  // lines at the caret's x; the pair stays with the caller.
  KLinePair InsertIntoLinkedLines(POSITION linePosition, KLineObj* line, const KChord* own,
                                  const KChord* partner);
  // Adds the attachment (owned from here on) to the line and copies it to
  // the bracketed partners; an octave text re-derives a tablature partner
  // an octave up or down instead (ViewOctaveMarks.cpp).
  void ApplyOctaveMarks(int groupId, POSITION linePosition, KLineObj* line, KExtendedObj* attachment);
  // The tablature line at the position, bracketed with the staff that takes
  // an octave text (shift +12 or -12): fingered again an octave off under
  // the text when it still plays the staff's notes at their written pitch;
  // the new line takes the old one's place (ViewOctaveMarks.cpp).
  void ApplyOctaveToTab(POSITION tabPosition, KListLine& staff, const KExtendedObj& text, int shift);

  // ---- Toolbox picks (ViewToolboxPick.cpp) ------------------------------------------------
  // A pick from a symbol palette (box kind 0, or 1 for the alternate
  // palettes: code a symbol or a control cell 11000..11015), the fretboard
  // (17: code the MIDI note, with its string slot and fret) or the piano
  // keyboard (18): entered at the caret as the keys that type it, with the
  // note value of the click for the instruments. 1 when it was entered or
  // carried out, 0 when refused or only sounded.
  int PickToolboxSymbol(int code, int boxKind, int noteValue, int string, int fret);

  // ---- Selection (ViewSelection.cpp) -----------------------------------------------------
  // -9899 in a column or line argument keeps the stored value; mode 11 clears.
  void UpdateSelection(int firstColumn, int lastColumn, int firstLine, int lastLine, int mode);
  bool HasSelection() const { return m_selFirstLine >= 0 && m_selHidden == 0; }
  // The selection keeps the value of an argument that is kKeep; mode kSelClear
  // empties it.
  static constexpr int kKeep = -9899;
  static constexpr int kSelClear = 11;
  // The selection rectangle is not empty.
  bool SelectionRectShown() const {
    return m_selRect.right > m_selRect.left && m_selRect.bottom > m_selRect.top;
  }
  // WM_MOUSEMOVE: hover ledger marks, and the selection follows a drag.
  void OnMouseMove(UINT nFlags, POINT point);
  // The short ledger dashes shown over or under a staff at the column x
  // under the pointer (x = -1 removes them).
  void ShowHoverLedgerMarks(int x, int displayLine, int column, int staffTop, int y);
  // The display lines of the staff/tablature pair of the current line when
  // mutual translation is on: the group id, or -1 when it has no partner
  // (ViewPartnerLine.cpp).
  int FindPartnerLine(int& firstLine, int& lastLine) const;

  // ---- Note editing and entry options (ViewNoteCommands.cpp, ViewEntryOptions.cpp) -----
  // Options/Note Style 41328..41335, F1..F6 (ids 112..117), and 41336
  // (alternate-symbol mode).
  void OnOptionsNoteStyle(UINT id);
  // A note-value letter (code 0..13) typed over a selection.
  void SetSelectedNoteValue(int code);
  // "n", "u", "N" or "U" typed over a selection: ties repeated notes.
  void ApplyLetterToSelection(int letter);
  void OnActionsJoinTails();
  void OnActionsUnjoinTails();
  void OnOptionsArrowsMoveWithinStaff();
  void OnOptionsUseArrowCursor();
  void OnOptionsKeyboardSetsCursorSymbol();
  void OnOptionsAdvanceCaret();
  void OnOptionsAutoWrapMusic();
  void OnOptionsAutoJoinClusters(UINT id);
  void OnOptionsAutoBarInsertion();
  void OnOptionsAutoStemNone();
  void OnOptionsAutoStemInward();
  void OnOptionsAutoStemOutward();

  // ---- Removing a grouped line (ViewRemoveGroupedLine.cpp) ---------------------------------
  static constexpr int kRemoveLineOnly = 15500;
  static constexpr int kRemoveNothing = 12300;
  // Deleting a grouped line: takes it out of its group (kRemoveLineOnly), or
  // removes the whole group (the caret column to use, 0 or more), or nothing
  // (kRemoveNothing).
  int DeleteWithRemoveDialog(int groupId, int forward, POSITION lineRef);

  // ---- Extended objects by mouse (ViewExtObj*.cpp) ----------------------------------------
  // The mouse handlers call these; coordinates are logical (page) pixels.
  // What a press hits of the selected object's tracker.
  static constexpr int kExtHitNone = -1;
  static constexpr int kExtHitFrame = 0;    // the frame around the object (drag it)
  static constexpr int kExtHitHandle1 = 1;  // end handle 1 or 2 in handle mode
  static constexpr int kExtHitHandle2 = 2;
  int HitTestExtTracker(POINT logical) const;
  // A press while an Insert/Extended Object command waits for clicks
  // (m_extClicksWanted > 0): records the point (the last one builds the
  // object through EditExtendedText), or beeps when the point is refused.
  void OnExtObjPlacementPress(POINT logical);
  // The release of a placement click: one click fewer is wanted.
  void OnExtObjPlacementRelease();
  // A frame drag ended with the frame at newFrame: the object moves (one
  // undo step). FALSE when the move was refused; the object stays.
  BOOL FinishExtObjFrameDrag(const RECT& newFrame);
  // A handle drag ended: that end point moves by the handle's displacement
  // (one undo step).
  void FinishExtObjHandleDrag(int handle, const RECT& oldHandle, const RECT& newHandle);
  // A press in handle mode that hit neither handle: handle mode ends.
  void LeaveExtHandleMode();
  // Lets a selected object go (the release that selects another first).
  void DeselectExtendedObject();
  // Results of SelectExtendedObjectAt.
  static constexpr int kExtFoundNothing = 0;
  static constexpr int kExtSelected = 1;
  static constexpr int kExtLinkOpened = 2;
  // A release at the point: lets a selected object go, then looks for an
  // object on the current display line, the one above and the one below. A
  // plain click on a linked text opens its link; otherwise the object is
  // selected (m_extDisplayLine holds its line, which the caller makes current).
  int SelectExtendedObjectAt(POINT logical, BOOL ctrlHeld);
  // A double click while an object is selected: edits it by its kind (text,
  // tuplet, bracket dialogs; end handles for curves and V-lines). FALSE when
  // no object is selected.
  BOOL EditSelectedExtendedObject();
  // The object was dragged from the frame `before`; m_extTracker holds the
  // frame after the drag. Reshapes or moves it on its line, or moves it to
  // the line it was dropped on. 1 applied, 0 refused or no target line.
  int DropExtendedObject(int oldLeft, int oldTop, int oldRight, int oldBottom);
  // Insert/Extended Object (41088..41095): auto-insert over a selection, or
  // arm the placement clicks. 1 made or armed, 0 refused or cancelled.
  int OnInsertExtendedObject(UINT id);
  // Builds the armed object from the clicked points (or a text at the caret).
  void EditExtendedText();
  // Leaves any placement (the view is re-initialised, Escape).
  void CancelExtObjPlacement();
  // Gives each chord diagram the number of its fingering among those of the
  // same chord; NumberChordShape keeps the table (result 1 or more).
  void NumberChordDiagrams(CDC* dc);
  int NumberChordShape(const CString& key);
  // Scans the score's chord diagrams for chords the user chord dictionary
  // does not hold and offers them to be added; nonzero when any was added.
  int ScanScoreChords();
  // Insert/Chord: a chord picked from the chord dictionary at the caret, as a
  // diagram on a chord line or a note column on a treble staff or tablature.
  void OnInsertChord();
  // Insert/Previous Object (41441..41470): the nth previous note column,
  // cluster of joined notes or bar copied to the caret.
  void OnInsertPreviousObject(UINT id);

  // The cursor shown while a placement waits for clicks (the system cross).
  static constexpr int kCursorCross = 32515;

  // ---- Mouse (ViewMouse*.cpp) ------------------------------------------------------------
  // Points are in window (client) coordinates; nFlags carries the MK_ flags
  // of view/input/ViewMouseCodes.h.
  // Press: a selection anchor (or whole lines on the labels).
  void OnLButtonDown(UINT nFlags, POINT point);
  // Release: the caret goes to the clicked line, column and row; the current
  // toolbox symbol is entered there; play-range clicks are recorded.
  void OnLButtonUp(UINT nFlags, POINT point);
  // Double click: the word under the caret, or the line group of a label;
  // edits a selected extended object; ends a V-shaped line.
  void OnLButtonDblClk(UINT nFlags, POINT point);
  // The right button places the caret without entering a symbol.
  void OnRButtonDown(UINT nFlags, POINT point);
  void OnRButtonUp(UINT nFlags, POINT point);
  void OnRButtonDblClk(UINT nFlags, POINT point);
  // One display line per notch; TRUE when handled.
  BOOL OnMouseWheel(UINT nFlags, short zDelta, POINT point);
  // Scroll-bar requests (SB_ codes). Vertical positions land on line tops.
  void OnVScroll(UINT nSBCode, UINT nPos);
  void OnHScroll(UINT nSBCode, UINT nPos);
  // Sets the cursor for the pointer at the point; TRUE when it set one.
  BOOL OnSetCursor(POINT point);

  // Cursor ids: over the labels, while the play range's start or end click
  // is awaited, and the symbol cursors (base + symbol code, alternate page).
  static constexpr int kCursorLabels = 998;
  static constexpr int kCursorPlayStart = 999;
  static constexpr int kCursorPlayEnd = 1000;
  static constexpr int kCursorSymbolBase = 600;
  static constexpr int kCursorAltSymbolBase = 800;

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
  // State, in named groups. Public so that the view's files in its rooms
  // (view/core, view/input, view/extobj, view/edit, view/commands), the
  // commands and the tests share one record; outside code reads it through the
  // accessors above. Each group names the files that own it: those that set
  // it; any file of the view may read it.
  // ======================================================================================

  // ---- Document, window and the score's settings ----------------------------------------
  // Owned by core/ViewCreate.cpp, core/ViewInitialUpdate.cpp, core/ViewInstrumentTable.cpp,
  // core/ViewSettingsState.cpp.
  CStavlinDoc* m_document;
  KViewHost* m_host;
  ScoreSettings m_options;  // the view's working copy of the document's settings
  std::array<LabelEntry, ScoreSettings::kInstrumentSlots> m_labels{};
  int m_labelCount = 0;
  int m_fileVersion = 0;
  bool m_initialUpdateDone = false;
  bool m_destroyed = false;

  // ---- The display-line table ----------------------------------------------------------
  // Owned by core/ViewLayout.cpp, core/ViewLayoutIncremental.cpp, core/ViewRelayout.cpp,
  // core/ViewCreate.cpp (its growth).
  std::vector<DisplayLine> m_display;  // size() is the capacity
  int m_lineCount = 0;
  int m_firstVisible = 0;
  int m_lastVisible = 0;
  int m_visibleCount = 0;
  // What the last full layout leaves for the relayout of one edited line.
  KLayoutCache m_layoutCache;

  // ---- Layout metrics -------------------------------------------------------------------
  // Owned by core/ViewLayout.cpp, core/ViewInitialUpdate.cpp, core/ViewSymbolSize.cpp.
  int m_sizeIndex = 0;     // 0 small symbols, 1 large
  int m_contentLeft = 11;  // label column (when shown) + 11
  int m_labelWidth = 0;
  int m_widest = -1;  // widest notation width seen
  int m_scrollWidth = 100;
  int m_scrollHeight = 100;
  std::array<int, 17> m_typeHeight{};
  std::array<int, 17> m_typeColumnWidth{};
  int m_tabSpacing[2] = {12, 16};
  int m_chordBaseWidth = 15;
  int m_fixedStaffLength = 0;

  // ---- Display options: what is shown and how --------------------------------------------
  // Owned by core/ViewInitialUpdate.cpp, core/ViewSettingsState.cpp and the View menu's
  // commands (commands/ViewCommandsLineTypes.cpp, commands/ViewCommandsTextSize.cpp).
  std::array<int, 19> m_show{};  // show flags by type code; [8] shows all
  int m_allShown = 1;            // show-all is set or every line type is shown
  int m_labelsShown = 0;
  int m_onlyChordsAndText = 0;
  int m_barNumbersShown = 0;
  int m_chordDiagramsShown = 1;
  int m_tabStems = 0;
  int m_pageMarks = 0;
  int m_adTabMode = 0;         // 0 none, 1 outline, 2 colour symbols, 3 colour numbers only
  int m_tabDigitPosition = 0;  // offset of tab digits on their strings
  int m_diagramWidth = 100;    // chord diagrams, percent
  int m_diagramHeight = 100;
  int m_symbolSetHeld = -1;  // the screen symbol set this view counts in; -1 none

  // ---- Text fonts: slot 0 the default text font, 1..40 the score's fonts ------------------
  // Owned by core/ViewTextFonts.cpp, core/ViewInitialFonts.cpp, commands/ViewCommandsTextSize.cpp.
  std::array<LOGFONT, 41> m_textFonts{};
  std::array<int, 41> m_baseFontHeight{};
  std::array<int, 41> m_baseFontWidth{};
  std::array<int, 41> m_fontUseCounts{};
  int m_fontsNeedMeasuring = 1;
  int m_textAtOriginalSize = 1;  // the text fonts have their loaded sizes
  CString m_tabFontText;
  CString m_rhythmFontText;
  CString m_pageNumberFontText;
  CString m_pageNumberingText;
  COLORREF m_tabColour = 0;
  COLORREF m_rhythmColour = 0;
  int m_colourTab = 0;
  int m_colourRhythm = 0;
  std::array<CFont, 2> m_tabFont;  // the tablature font, and the same 3 units taller

  // ---- Caret ---------------------------------------------------------------------------
  // Owned by core/ViewCaret.cpp, core/ViewCaretLedger.cpp, input/ViewKeys*.cpp,
  // input/ViewMouseCaret.cpp.
  int m_currentLine = 0;
  int m_caretColumn = 0;
  int m_caretRow = 18;
  int m_currentType = 0;
  int m_currentFamily = 0;
  int m_contentOrigin = 11;  // x of column 0 of the current line
  int m_keyAtCaret = 0;
  int m_currentTextFont = 0;
  // The caret's ledger-line hint: lines drawn from fromRow to toRow (even
  // rows) at the column while shown is set.
  struct LedgerHint {
    int column = -1;
    int row = 0;
    int shown = 0;
    int fromRow = 0;
    int toRow = 0;
    int displayLine = -1;
  };
  LedgerHint m_ledger;

  // ---- Typed entry -----------------------------------------------------------------------
  // Owned by input/ViewChar*.cpp, input/ViewLinkedEntry.cpp, input/ViewKeys*.cpp,
  // input/ViewToolboxPick.cpp.
  int m_entryMode = 0;  // overwrite mode word
  int m_rhythmSymbolEntry = 0;
  int m_pendingLeadByte = 0;     // first byte of a double-byte character
  int m_blanksToInsert = 0;      // set by Shift+Tab on a text line
  int m_barInserted = 0;         // the last entry added a bar by itself
  int m_autoWrapNeeded = 0;      // the entry grew a line past its staff length
  int m_currentDuration = 8;     // duration code of tablature entry (0..13)
  int m_clusterState = 0;        // auto-join: a note cluster is open
  int m_handPosition = 0;        // fret position of staff-to-tab conversion
  int m_toolboxPick = 0;         // the character comes from a toolbox pick
  int m_toolboxCode = -1;        // a toolbox symbol no key types, entered by its code; -1 none
  int m_shortStringFret = -1;    // first fret of a short string; -1 none
  int m_timeSigNumerator = 103;  // codes the time-signature command enters
  int m_timeSigDenominator = 103;
  int m_defaultKey = 0;           // the key the whole score was last transposed to
  char m_pendingChordLetter = 0;  // the chord letter awaiting its chord
  int m_linkedLineEntry = 0;      // typed entry found a bracketed partner of the current line
  int m_colourState = 0;          // 0 until the F-keys first give tablature notes a colour style, then 2
  CString m_trebleTabTuning;
  CString m_bassTabTuning;

  // ---- Entry options (read by the command enabling rules) -------------------------------
  // Owned by commands/ViewEntryOptions.cpp, commands/ViewNoteCommands.cpp,
  // core/ViewInitialUpdate.cpp.
  int m_noteStyle = 0;              // note style for entry, 0..7
  int m_alternateSymbols = 0;       // alternate-symbol entry mode
  int m_joinTails = 0;              // join note tails while entering
  int m_autoBars = 0;               // automatic bar insertion
  int m_autoJoin = 0;               // auto-join cluster mode, 0 off or 1..6
  int m_autoJoinLast = 1;           // the last nonzero auto-join mode
  int m_stemDirection = 0;          // automatic stems: 0 none, 1 inward, 2 outward
  int m_evenSpacingContinuous = 0;  // continuous even spacing is on
  int m_autoWrap = 0;               // auto-wrap music in the edited line
  int m_arrowsOptionSaved = -1;     // the arrows option before read-only mode; -1 not yet

  // ---- Modes ----------------------------------------------------------------------------
  // Owned by commands/ViewCommandsReadOnly.cpp, core/ViewInitialUpdate.cpp,
  // input/ViewKeysAlt.cpp (group independence).
  int m_readOnly = 0;
  int m_mutualTranslation = 0;
  int m_independentEditing = 0;
  int m_translationRestore = 0;  // group independence: what to switch back on
  int m_autoWrapRestore = 0;
  int m_independenceMode = 1;  // 1 show the messages, 2 locked, other silent
  // Set TAB Fret Position: translation from a staff takes frets near the
  // fingering to their left; re-fingering leaves open strings alone.
  int m_fretFromPrevious = 0;
  int m_keepOpenStrings = 0;

  // ---- Selection and the hover marks ------------------------------------------------------
  // Owned by input/ViewSelection.cpp, input/ViewMouseSelection.cpp. Empty when
  // m_selFirstLine < 0.
  int m_selFirstColumn = 0;
  int m_selLastColumn = 0;
  int m_selFirstLine = -1;
  int m_selLastLine = -1;
  RECT m_selRect{};
  int m_selHidden = 1;
  int m_selAnchorColumn = 0;  // the column a press began at
  int m_selPixelLeft = 0;     // horizontal extent of the highlight (logical)
  int m_selPixelRight = 0;
  int m_leftButtonHeld = 0;
  int m_hoverOff = 0;                    // hover ledger marks are not shown
  std::array<POINT, 3> m_mousePoints{};  // newest first
  int m_hoverX = -1;                     // x of the hover ledger marks; -1 none
  int m_hoverCount = 0;                  // marks shown, 0..15
  std::array<int, 15> m_hoverY{};        // page y of each mark
  int m_hoverLine = -1;                  // display line the marks belong to

  // ---- Mouse clicks ---------------------------------------------------------------------
  // Owned by input/ViewMouse*.cpp.
  int m_mouseArmed = 0;      // 0 after the first update: the next release only arms
  int m_rightButton = 0;     // the click came from the right button
  int m_noSymbolEntry = 0;   // the next release enters no toolbox symbol
  int m_playAwaitStart = 0;  // the play range's start click is awaited
  int m_playAwaitEnd = 0;    // ... its end click
  // The toolbox symbol a click enters (10000 and up: the alternate page);
  // -1 while none is chosen.
  int m_toolboxSymbol = -1;

  // ---- Play range marks (no range when m_playFirstLine < 0) ------------------------------
  // Owned by input/ViewMouseButtons.cpp.
  int m_playFirstLine = -1;
  int m_playFirstColumn = 0;
  int m_playLastLine = -1;
  int m_playLastColumn = 0;
  int m_playStartX = 0;
  int m_playEndX = 0;

  // ---- Playback ------------------------------------------------------------------------------
  // Owned by play/ViewPlayer.cpp; null until first used.
  std::unique_ptr<KViewPlayer> m_player;

  // ---- Live MIDI input ------------------------------------------------------------------------
  // Owned by midi/ViewLiveMidiInput.cpp, midi/ViewLiveMidiWrite.cpp.
  int m_liveLineKind = 3;         // 0 tablature, 1 treble, 2 bass, 3 keyboard staff
  int m_liveSavedEntryMode = -1;  // the entry mode before single-step recording; -1 none

  // ---- Extended objects by hand --------------------------------------------------------
  // Owned by extobj/ViewExtObj*.cpp.
  // The selected extended object: Escape drops it, Delete deletes it.
  KExtendedObj* m_selectedExtObj = nullptr;
  RECT m_extTracker{};       // its frame on the page
  int m_extDisplayLine = 0;  // the display line of its line
  int m_extTwoHandles = 0;
  // The two end handles of the selected object in handle mode (page).
  std::array<RECT, 2> m_extHandles{};
  UINT m_pendingExtendedObject = 0;  // command id of the attachment being placed, 0 none
  // Placement state: clicks still wanted, start / mid / end points, the
  // markers shown at points 0 and 1 (bits 0 and 1; painted as overlays).
  int m_extClicksWanted = 0;
  int m_extPressTaken = 0;  // the last press was a placement point (its release counts)
  std::array<POINT, 3> m_extPoints{};
  int m_extMarkers = 0;
  // The bracket command's style (kind 7..24), text and font text; the
  // bracket label is the text the bracket command last used.
  int m_bracketKind = 7;
  CString m_bracketText;
  CString m_bracketFontText;
  CString m_bracketLabel;

  // ---- Chords at the caret ---------------------------------------------------------------
  // Owned by core/ViewChordNumbering.cpp, commands/ViewInsertChord.cpp.
  // Chord-diagram numbering: chord keys and their fingerings (8 characters each).
  int m_shapeCount = 0;
  std::vector<CString> m_chordKeys;
  std::vector<CString> m_chordFingerings;
  int m_lastChordLineMode = 0;  // diagram mode last used on a chord line (0 or 2)

  // ---- Undo -----------------------------------------------------------------------------
  // Owned by edit/ViewUndo*.cpp, commands/ViewUndoCommands.cpp, core/ViewCreate.cpp (the ring).
  int m_undoEnabled = 1;
  int m_undoLevels = 20;                  // undo records kept (the AutoSave preference)
  int m_undoCurrent = 0;                  // current undo record index (0: nothing to undo)
  int m_redoAvailable = 0;                // a redo step is available
  int m_undoSuspended = 0;                // Undo or Redo is restoring: nothing records
  std::unique_ptr<KUndoRing> m_undoRing;  // null when it could not be made (undo off)

  // ---- Scrolling and auto-scroll --------------------------------------------------------
  // Owned by core/ViewScroll.cpp, core/ViewTimers.cpp, input/ViewMouseScroll.cpp.
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
  int m_readOnlyBeforeScroll = 0;  // read-only state when auto-scroll started
  int m_trackWindowSize = 0;

  // ---- Autosave -------------------------------------------------------------------------
  // Owned by core/ViewTimers.cpp.
  int m_autosaveCount = 0;
  int m_autosaveInterval = 0;
  int m_autosaveKind = 0;
  int m_autosaveTimerOn = 0;
  int m_autosaveDue = 0;  // the interval was reached; the next idle moment saves

  // ---- Pagination -----------------------------------------------------------------------
  // Owned by core/ViewPagination.cpp.
  int m_printScale = 100;
  int m_orientation = 0;
  int m_marginUnit = 0;
  int m_margins[4] = {0, 0, 0, 0};  // top, bottom, left, right in the margin unit
  int m_marginsPrinter[4] = {0, 0, 0, 0};
  int m_marginsScreen[4] = {0, 0, 0, 0};
  int m_printableWidth[2] = {0, 0};  // printer pixels, screen pixels
  int m_printableHeight[2] = {0, 0};
  int m_keepGroupsTogether = 0;
  int m_pageCount = 0;
  // The page-break walk (ComputePageBreaks, CountPages).
  POINT m_pageTopLeft{};  // current sheet, layout pixels
  POINT m_pageBottomRight{};
  int m_pageOffsetX = 0;   // horizontal page offset
  int m_verticalPage = 0;  // page rows started
  int m_sheetsComputed = 0;
  int m_lastSheet = 32000;   // last sheet to compute
  int m_pageLastLine = -1;   // last display line of the current sheet
  int m_pageWidest = 0;      // widest line of the current row
  int m_horizontalPart = 0;  // 0 fits; n part of a wide row; -n its last part
  int m_pagesDone = 0;
  int m_pageDrawn = 0;
  // Printing (ViewPrint.cpp): the first sheet asked for, a cancelled size
  // alert, and the symbols switched to small ones for printing (1; 2 when
  // the score was modified before).
  int m_firstSheet = 1;
  int m_printAbort = 0;
  int m_symbolsSwitched = 0;
  // Image export (ViewExportImage.cpp) draws the score as printed, at screen
  // or device resolution, into a bitmap.
  int m_exporting = 0;
};

// An observer of undo steps: when installed it sees every step that
// RecordUndoStep records (tests watch the kinds the edits record).
using UndoRecorder = void (*)(CStavlinView& view, int kind, int a, int b, const CString* text, int c);
void SetUndoRecorder(UndoRecorder recorder);

// Program-wide: set while timer handlers, large scrolls and secondary edits
// run; RecordUndoStep then records nothing and UpdateAfterEdit marks nothing.
extern int g_noModify;
// Program-wide: relayout on the next paint (the preferences sheet sets it).
extern int g_relayoutOnPaint;
// Program-wide: whether a new view starts with mutual translation on (the
// last choice of Options/Mutual Translation).
extern int g_mutualTranslationForNewViews;
// Program-wide: the widest notation width, mirrored by the layout.
extern int g_widestNotation;
// Program-wide: the layout keeps the widest width while set (Wrap Music).
extern int g_holdWidest;
// Program-wide: a scroll past 28000 repaints every view (on at start).
extern int g_repaintOnLargeScroll;
// Program-wide: how many commands (menu commands, keys, clicks) are running.
// Command dispatch holds a KCommandScope for each; the autosave tick saves
// only while it is 0 and otherwise leaves the save to the end of the command.
extern int g_commandDepth;
// Program-wide clipboard flags (ViewCopy.cpp): set while Edit/Copy, Cut or
// Remove runs (the copy then adds plain text and deletes with the Edit
// menu's arguments); set after a paste that inserted new lines, until the
// next key press; set while Wrap Music runs (a paste then skips its
// automatic wrap check).
extern int g_clipboardCommand;
extern int g_pasteInProgress;
extern int g_autoWrapSuspended;
// The private clipboard format's name and number.
inline constexpr const char* kClipFormatName = "Stavlin";
UINT StavlinClipFormat();

// Marks one command as running for its lifetime; when the outermost command
// ends, the view given saves a due autosave (CStavlinView::AutosaveIfDue).
class KCommandScope {
 public:
  explicit KCommandScope(CStavlinView* view) : m_view(view) { ++g_commandDepth; }
  ~KCommandScope() {
    if (--g_commandDepth == 0 && m_view != nullptr) m_view->AutosaveIfDue();
  }
  KCommandScope(const KCommandScope&) = delete;
  KCommandScope& operator=(const KCommandScope&) = delete;

 private:
  CStavlinView* m_view;
};
