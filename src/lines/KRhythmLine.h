#pragma once
// KRhythmLine (line kind 3): a line of free text and rhythm symbols typed at a
// caret: strumming and rhythm marks, tempo words, swing marks and short texts
// placed above or between the note lines. Its objects are KRhythmObj items (a
// run of text, or one symbol) positioned in pixels at the normal size, and it
// draws them in a font of its own whose text form and colour it keeps. The
// caret moves by character columns: each character of a text run and each
// symbol is one column, and empty space counts in blank widths (the column
// width, measured from the font; -1 until measured).
//
// The line's font text is a font in the usual text form whose third number
// (the escapement) carries the text colour; the fonts made from it have no
// escapement. The large font is 125 % of the normal one. A font that cannot be
// made is replaced by the program-wide fallback font of its size after the
// internal-error message.
//
// The record is the object-list line's record; the font text travels inside
// the label, after the separator "!@!" (see KRhythmLineSerialize.cpp).
//
// The class's jobs are split over several files: KRhythmLine.cpp
// (construction and fonts), KRhythmLineSerialize.cpp (the record and the
// conversion of the items of older files), KRhythmLineDraw.cpp (measuring,
// caret columns and pixels, drawing), KRhythmLineKeys.cpp (key entry and
// editing), KRhythmLineSymbols.cpp (the rhythm letters and the codes they
// enter), KRhythmLineText.cpp (text and ABC writers, tempo and swing) and
// KRhythmLineTranslate.cpp (conversion to staff, tablature and text lines).
//
// Link codes of symbols (KRhythmObj): consecutive flagged symbols (223..238)
// joined by beams form a run; k is a symbol's beam count ((code - 223) % 4 + 1).
// k > 0 opens a run, -10 - k marks a symbol inside it, -k closes it, 0 is an
// unlinked symbol.

#include <memory>
#include <optional>
#include <vector>

#include "model/KListLine.h"
#include "platform/CString.h"
#include "platform/GdiObjects.h"
#include "platform/WinTypes.h"

class CArchive;
class CDC;
class KExtendedObj;
class KRhythmObj;

class KRhythmLine : public KListLine {
  DECLARE_SERIAL(KRhythmLine);

 public:
  static constexpr int kKind = 3;

  // Key 0 and the default rhythm font text (the archive's constructor).
  KRhythmLine();
  KRhythmLine(int key, const CString& fontText);
  ~KRhythmLine() override;

  // Stores the font text and makes both fonts from it (see above).
  void SetFont(const CString& fontText);
  CString GetFontText() const { return m_fontText; }
  // Index 0 the normal font, any other the large one: the line's own font, or
  // the fallback font when the line's could not be made.
  CFont* GetFont(int index) const { return m_fontPtr[SizeOf(index)]; }
  // The LOGFONT height of the normal (0) or large font.
  int GetFontHeight(int index) const { return m_fontHeight[SizeOf(index)]; }
  COLORREF GetTextColor() const { return m_textColor; }

  // Pixel width of one blank of the line's font; -1 while not measured.
  int GetColumnWidth() const override { return m_columnWidth; }
  // Callers set -1 after changing the items or the font, which is an edit:
  // the next measuring lays the items out again (see MeasureSymbols).
  void SetColumnWidth(int width) {
    m_columnWidth = width;
    if (width < 0) m_keepStoredPlaces = false;
  }

  // Receives the items of a file older than version 3900 while it loads.
  CObList* GetOldSymbolList() override { return &m_oldSymbols; }
  // Every object of the line is a rhythm item, whatever kind the record says.
  const CRuntimeClass* GetObjClass() const override;

  void Serialize(CArchive& ar) override;

  // One item as the column walk sees it (KRhythmLineKeys.cpp), in
  // the order of the items.
  struct Cell {
    POSITION node = nullptr;
    KRhythmObj* item = nullptr;
    int gap = 0;    // blank columns before the item
    int start = 0;  // the item's first column
    int span = 0;   // its columns
  };

  // ---- Measuring and drawing (KRhythmLineDraw.cpp) -------------------------------
  // Lays the items out in the font of the index: an item before the running
  // end moves to it, one beyond keeps its gap; stores each item's width, the
  // column width (extent of ten blanks / 10) and the measured end. A line
  // read from a score of the current form keeps the places its items were
  // stored at until it is edited: this machine's font may set a text wider
  // than the writer's did, and the text then reaches over what follows it
  // rather than moving it, so that opening and saving a score changes
  // nothing in it.
  void MeasureSymbols(CDC* dc, int fontIndex) override;
  int GetMeasuredEnd() const { return m_measuredEnd; }
  // Pixel x of a caret column from the line's start (measures first when the
  // column width is -1).
  int GetColumnX(CDC* dc, int column, int fontIndex);
  // The caret column under pixel x: mode 1 subtracts the indent first, mode 2
  // the indent and `extra`. On a symbol rounding 2 gives its column, 1 the
  // column after it, any other value the nearer edge.
  int GetColumnAtX(CDC* dc, int mode, int x, int fontIndex, int extra, int rounding) override;
  // The attachment whose drawn rectangle holds the point (x from the line's
  // own left, y on the page; top the line's top); null when none.
  KExtendedObj* FindAttachmentAtPoint(CDC* dc, int x, int y, int top, int sizeIndex);
  void Draw(CDC* dc, int top, int redrawX, int sizeIndex, int originX, int view6, int view7, int view8,
            int view9, int view10) override;

  // ---- Key entry and editing (KRhythmLineKeys.cpp) --------------------------------
  // row: a selector of 10000 and up changes the symbol at the column in place;
  // below 1000 it names the attachment row that delete removes first.
  KLinePair HandleKey(int code, int subCode, int sizeIndex, int column, int row, int linkFlag, int replace,
                      int arg8) override;
  KLinePair DeleteAtCaret(int column, int row, int sizeIndex, int extra) override;
  KLinePair EnterSymbol(KLineObj* source, int code, int rhythmCode, int sizeIndex, int x, int y, int arg7,
                        int arg8, int packed) override;
  KLinePair InsertObj(CObject* object, int sizeIndex, int column, const int* beamFlags, int replace) override;
  KLinePair InsertCopy(const CObject* source, int sizeIndex, int column, const int* beamFlags,
                       int replace) override;
  // Removes and deletes the item at exactly that pixel position, mending the
  // link codes of its neighbours; 1, or 0 when no item stands there.
  int RemoveObjAt(int position);
  // Splits every text run crossing column `first` or `end` (exclusive end) in
  // two, so that the range holds whole items. xOffset is unused by the line.
  void SplitTextsAtRange(CDC* dc, int first, int end, int xOffset, int fontIndex);
  std::unique_ptr<KLineObj> SplitAt(int column, int arg2, int barFlag) override;
  int GetWordStep(int view1, int view2, int column, int direction) override;
  // Left (37) and right (39) move attachments; 0 when moved, -1 otherwise.
  int MoveByArrowKey(int column, int row, int key, int sizeIndex);

  // ---- Writers, tempo and swing (KRhythmLineText.cpp) ------------------------------
  std::optional<CString> WriteText(int from, int to, int mode) override;
  std::optional<CString> WriteAbc() override;
  // Beats per minute from a metronome mark or a tempo word; -1 when none.
  int GetTempoBpm() const;
  // The swing ratio written between the swing markers 245 and 246; -1.0 when
  // the line has none.
  float GetSwingRatio() const;

  // ---- Translation (KRhythmLineTranslate.cpp) --------------------------------------
  std::unique_ptr<KLineObj> TranslateTo(int arg1, int kind, int textMode, int sizeIndex, int fontNumber,
                                        CString text, int arg7) override;
  std::unique_ptr<KLineObj> ConvertToStaff(int bass, int sizeIndex);
  std::unique_ptr<KLineObj> ConvertToTab(int sizeIndex, const CString& tuning);

 private:
  static int SizeOf(int index) { return index != 0 ? 1 : 0; }
  // Makes both fonts from the font text; codes name the places reported
  // when the normal and the large font cannot be made.
  void MakeFonts(const char* normalCode, const char* largeCode);
  // Rebuilds the items of an older file (in the old symbol list, one per
  // character or symbol at whole columns) as text runs and symbols.
  void ConvertOldSymbols();

  // Measures (normal font) and walks the items counting columns.
  std::vector<Cell> Walk(CDC* dc = nullptr);
  // Moves every item after the node (null: all) by delta pixels.
  void MoveItemsAfter(POSITION node, int delta);
  // Unlinks the item from its run, mending its neighbours' link codes.
  void LeaveRun(POSITION node);
  // Links a symbol just inserted after the previous symbol (link flag set).
  void LinkToPrevious(POSITION node);
  // Breaks a run that an unlinked new item was put into.
  void BreakRunAround(POSITION node);
  // Ends the run between two neighbouring items (either may be null).
  void BreakRunBetween(POSITION before, POSITION after);
  // Inserts a new item before the node (null: at the tail); returns its node.
  POSITION InsertItemBefore(POSITION node, KRhythmObj* item);
  // Cuts the text run of the cell at the column inside it; returns the new right part's node.
  POSITION CutRun(const Cell& cell, int column);
  KLinePair InsertBlanks(std::vector<Cell>& cells, int column, int count, int subCode);
  KLinePair InsertSymbol(std::vector<Cell>& cells, int code, int column, int linkFlag, int subCode);
  KLinePair InsertChar(std::vector<Cell>& cells, int code, int column, int subCode);
  KLinePair DeleteAt(std::vector<Cell>& cells, int column, int row, int subCode);
  KLinePair EnterOnEmptyLine(int code, int column, int subCode);
  // Width of the first count characters in the normal font (measuring context).
  int TextExtent(const CString& text, int count);

  CObList m_oldSymbols{10};
  int m_columnWidth = -1;
  int m_measuredEnd = 0;
  // The items stand where the score file put them (see MeasureSymbols).
  bool m_keepStoredPlaces = false;
  CString m_fontText;
  CFont m_fonts[2];
  CFont* m_fontPtr[2] = {nullptr, nullptr};
  int m_fontHeight[2] = {0, 0};
  COLORREF m_textColor = 0;
};
