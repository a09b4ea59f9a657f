#pragma once
// KStrLine (line kind 5, text and lyrics): one line of free text placed under
// or between the other lines of a score, for lyrics, titles, notes and typed
// chord names. It holds no positioned objects: its content is a single string
// edited at a caret that counts character columns, drawn in one font of the
// score's text-font table (font numbers 1 to 40; 0 before a font is assigned).
// It derives from KLineObj directly, so it has no object list and no drawing
// cache; its attachments (text boxes, links, shapes) live in the line base's
// attachment list and travel in the line base's record as packed words.
//
// The view fills a cache of the pixel x of character columns 0 to 199 while it
// draws the line; every change of the text invalidates it (count -1).
//
// The class's jobs are split over several files: KStrLine.cpp (construction
// and accessors), KStrLineSerialize.cpp (the record), KStrLineDraw.cpp
// (measuring columns in the line's font, drawing, hit test of attachments),
// KStrLineKeys.cpp (key entry and pasting), KStrLineText.cpp (word moves,
// splitting, shifting words, plain-text and ABC writers) and
// KStrLineTranslate.cpp (translation into other line kinds). What the line
// needs of the translation code stands in KStrLineServices.h.

#include <memory>
#include <optional>
#include <span>

#include "lines/KStrLineServices.h"
#include "model/KLineObj.h"
#include "platform/CString.h"
#include "platform/GdiObjects.h"
#include "platform/WinTypes.h"

class CArchive;
class CDC;
class KExtendedObj;

class KStrLine : public KLineObj {
  DECLARE_SERIAL(KStrLine);

 public:
  static constexpr int kKind = 5;
  // Font numbers name entries 1 to 40 of the score's text-font table.
  static constexpr int kMaxFontNumber = 40;
  static constexpr int kColumnXCount = 200;
  // Flag bit of a title line.
  static constexpr DWORD kFlagTitle = 0x8000;
  // A further flag bit that, like the title bit, makes the printed line draw
  // as on the screen instead of word by word.
  static constexpr DWORD kFlagPrintAsScreen = 0x0400;
  // The mode word the view passes to Draw when the line's font is underlined.
  static constexpr int kModeUnderlined = 22222;
  // Editing never makes a line longer than this many columns.
  static constexpr int kMaxColumns = 32000;
  // The end column of a column range that reaches to the end of the line.
  static constexpr int kToLineEnd = 32000;
  // Key codes of HandleKey besides typed characters.
  static constexpr int kKeyBackspace = 8;
  static constexpr int kKeyTab = 9;
  static constexpr int kKeyBlank = 32761;
  static constexpr int kKeyDelete = 32762;
  static constexpr int kKeyBlankRun = 32763;
  // With the overwrite flag, deleting with this blank count cuts the line at the column.
  static constexpr int kDeleteToEnd = 1000;

  // Empty text, font number 0 (the archive's constructor).
  KStrLine();
  KStrLine(const CString& text, int fontNumber);
  KStrLine(const char* text, int fontNumber);
  explicit KStrLine(int fontNumber);
  ~KStrLine() override;

  CString GetText() const { return m_text; }
  // Replaces the text and invalidates the column-x cache.
  void SetText(const CString& text);
  int GetFontIndex() const { return m_fontNumber; }
  // Leaves the column-x cache alone: the view invalidates it when it changes
  // a line's font.
  void SetFontIndex(int fontNumber) { m_fontNumber = fontNumber; }

  // The column-x cache: an index outside 0..199 is ignored (reads as 0).
  void SetColumnX(int index, int x);
  int GetColumnX(int index) const;
  // Number of valid cache entries; -1 invalidates the cache.
  void SetColumnXCount(int count) { m_columnXCount = count; }
  int GetColumnXCount() const { return m_columnXCount; }

  // The length of the text in bytes.
  int GetLength() override { return m_text.GetLength(); }
  bool HoldsNothing(int clear) override;

  // ---- Measuring and drawing (KStrLineDraw.cpp) ---------------------------------
  // All measuring makes the line's font from the font table (element n is the
  // font of font number n; its escapement, which carries the colour, is set to
  // 0). When the font cannot be made (or the number lies outside the table)
  // the measuring calls answer 0 and the first such failure of a run reports
  // 7008 with "TCR-1", "TCR-2" or "TCR-3". Pixel x arguments count from the
  // start of the text.
  //
  // The column nearest to x; x past the end counts in whole blank widths. With
  // pad nonzero the text is padded with blanks up to a column past its end.
  int GetColumnAtX(CDC* dc, KTextFontTable fonts, int x, int pad);
  // The pixel x of the left edge of the column (past the end: as if padded).
  int GetXOfColumn(CDC* dc, KTextFontTable fonts, int column);
  // (first column, end column) of a drag from x1 to x2, snapped to word edges
  // unless mode is 2; an end left of the start reaches to the line's end.
  KLinePair GetColumnRangeAtX(CDC* dc, KTextFontTable fonts, int x1, int x2, int mode);
  // The pixel width of the text without its trailing blanks.
  int GetWidth(CDC* dc, KTextFontTable fonts);
  // The slot form: measures in the font selected into dc (the view selects the
  // line's font before it asks), size index and mode ignored.
  int GetWidth(int sizeIndex, int mode, CDC* dc, int option) override;
  // Draws the text in the font selected into dc (the view selected it) at
  // originX + indent, skipping on the screen what lies left of redrawX, then
  // the attachments. mode is kModeUnderlined for an underlined font.
  void Draw(CDC* dc, int top, int redrawX, int sizeIndex, int originX, int mode, int view7, int view8,
            int view9, int view10) override;
  // The first attachment, from the head, whose box holds the point (x from the
  // line's start, y on the page, top the line's top); null when none.
  KExtendedObj* FindAttachmentAtPoint(CDC* dc, int x, int y, int top);

  // ---- Key entry and pasting (KStrLineKeys.cpp) ----------------------------------
  // Results are (change, new column); (0, -1) refuses with nothing changed.
  // HandleKey: code, -, -, column, blank count, -, overwrite flag, -.
  KLinePair HandleKey(int code, int subCode, int sizeIndex, int column, int blankCount, int arg6,
                      int overwrite, int arg8) override;
  // HandleKey with the delete key.
  KLinePair DeleteAtCaret(int column, int blankCount, int sizeIndex, int overwrite) override;
  // Text lines take no music symbols: always (0, -1).
  KLinePair EnterSymbol(KLineObj* source, int code, int rhythmCode, int sizeIndex, int x, int y, int arg7,
                        int arg8, int packed) override;
  // Inserts the text of a KInsertionRecord: (inserted length, column), or
  // (0, -1) for an empty text or another kind of object.
  KLinePair InsertCopy(const CObject* source, int sizeIndex, int column, const int* beamFlags,
                       int overwrite) override;
  // Pastes the text at the column (padding up to it); in overwrite mode it
  // replaces as many characters. Returns the inserted length (0: no change).
  int InsertText(int column, const CString& text, int overwrite);

  // ---- Words, splitting and writers (KStrLineText.cpp) ---------------------------
  // A new text line with the text from the column on (this line keeps the
  // rest, its attachments and its column-x cache).
  std::unique_ptr<KLineObj> SplitAt(int column, int arg2, int barFlag) override;
  // Moves the word at the column one column right (direction >= 0) or left,
  // keeping the line's length; returns the column to redraw from, 0 when
  // nothing changed.
  int ShiftColumns(int column, int direction, int count) override;
  int GetWordStep(int view1, int view2, int column, int direction) override;
  KLinePair GetWordRange(int column) override;
  // The columns from..to-1 of the text (what of them exists).
  std::optional<CString> WriteText(int from, int to, int mode) override;
  // The text as an ABC title ("X:", "T:") or note ("N:") field.
  std::optional<CString> WriteAbc() override;

  // ---- Translation (KStrLineTranslate.cpp) ---------------------------------------
  // To a treble staff (ABC, only while g_abcTranslating), a rhythm line or a
  // chord-diagram line; null for every other kind.
  std::unique_ptr<KLineObj> TranslateTo(int source, int kind, int textMode, int sizeIndex, int fontNumber,
                                        CString fontText, int arg7) override;
  // A rhythm line in the font text holding the whole text as one item at column 0.
  std::unique_ptr<KLineObj> ConvertToRhythm(const CString& fontText) const;
  // The translation code's ABC reader and chord-name recogniser, through the
  // installed KTextLineTranslator (KStrLineServices.h); null without one.
  static std::unique_ptr<KLineObj> ReadAbc(const KStrLine& line, int option);
  static std::unique_ptr<KLineObj> RecognizeChordNames(const KStrLine& line, int source, int option);

  // The line base's record, then the font number (BYTE) and the text.
  void Serialize(CArchive& ar) override;

 private:
  // Replaces the text after an edit and invalidates the column-x cache.
  void ChangeText(std::string text);

  CString m_text;
  int m_fontNumber = 0;
  int m_columnX[kColumnXCount] = {};
  int m_columnXCount = -1;
};
