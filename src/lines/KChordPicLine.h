#pragma once
// KChordPicLine (line kind 4): a row of chord names, each with an optional
// fretboard diagram under it, placed over a staff or tablature line. Its
// objects are chord diagrams (KChordPic) in column order. Beside them the line
// owns the string tuning for which its diagram shapes are written (with the
// fret map of the tuning's fret list), the font of its chord names, and the
// size of its diagrams in percent of the standard diagram size.
//
// The name-font text is a font in the usual text form whose third number (the
// escapement) is the name colour; the font made from it has no escapement. A
// font that cannot be made is replaced by the program-wide fallback font after
// the internal-error message (each time, not once per run). After every
// change of the name font each diagram's explicit width is reset, so that it
// is measured again from its name.
//
// Flag bits of the line (in the line base's flag word):
//   0x0100  diagrams are shown under the names
//   0x2000  the diagrams need more than the standard 4 fret rows; the number
//           of extra rows is the small value in the top 4 bits of the word
//   0x4000  a diagram's shape asks for a row of finger labels (shown when the
//           program-wide finger-row option is on)
//
// The record is the object-list line's record with the tuning and the font
// carried in the label and the diagram sizes in the spacing word (see
// KChordPicLineSerialize.cpp).
//
// The class's jobs are split over several files: KChordPicLine.cpp
// (construction, name font, tuning and diagram rows), KChordPicLineSerialize.cpp
// (the record), KChordPicLineRows.cpp (recounting the diagram rows),
// KChordPicLineDraw.cpp (drawing), KChordPicLineKeys.cpp (keys and insertion),
// KChordPicLineTranspose.cpp (refitting to a tuning and transposition),
// KChordPicLineText.cpp (plain text and ABC) and KChordPicLineTranslate.cpp
// (translation into staff, tablature and text lines). What the line needs of
// the chord code is in KChordPicLineServices.h.

#include <memory>
#include <optional>

#include "common/TuningCodec.h"
#include "model/KListLine.h"
#include "platform/CString.h"
#include "platform/GdiObjects.h"
#include "platform/WinTypes.h"

class CArchive;
class CDC;
class KChordPic;
class KStaffLine;
class KTabLine;

class KChordPicLine : public KListLine {
  DECLARE_SERIAL(KChordPicLine);

 public:
  static constexpr int kKind = 4;
  static constexpr const char* kStandardTuning = "E A D G B E  323742475156";
  static constexpr DWORD kFlagShowDiagrams = 0x0100;
  static constexpr DWORD kFlagExtraRows = 0x2000;
  static constexpr DWORD kFlagFingerRow = 0x4000;
  // Diagram sizes the line keeps, in percent.
  static constexpr int kMinDiagramPct = 25;
  static constexpr int kMaxDiagramPct = 1000;
  // Height of a standard 4-row diagram at 100 percent, and of each extra row.
  static constexpr int kDiagramHeight = 31;
  static constexpr int kRowHeight = 6;

  // Key 0, the standard tuning, the default name font and diagram sizes (the
  // archive's constructor).
  KChordPicLine();
  // Stores the percentages as given; the tuning's fret list fills the fret map.
  KChordPicLine(int key, const CString& tuning, const CString& nameFontText, int widthPct, int heightPct);
  ~KChordPicLine() override;

  // ---- Tuning ---------------------------------------------------------------------
  CString GetTuning() const { return m_tuning; }
  // Replaces the tuning string (the diagrams keep their shapes) and reads its
  // fret list into the fret map and fret count.
  void ReplaceTuning(const CString& tuning);
  const FretMap& GetFretMap() const { return m_fretMap; }
  int GetFretCount() const { return m_fretCount; }

  // ---- Name font ------------------------------------------------------------------
  // Stores the text, makes the name font from it and resets the diagrams'
  // explicit widths (see above).
  void SetNameFont(const CString& fontText);
  CString GetNameFontText() const { return m_nameFontText; }
  // The line's own name font, or the fallback font when it could not be made.
  CFont* GetNameFont() const { return m_currentNameFont; }
  // The height number of the name font (also when it could not be made).
  int GetNameFontHeight() const { return m_nameFontHeight; }
  COLORREF GetNameColor() const { return m_nameColor; }

  // ---- Diagram size ---------------------------------------------------------------
  int GetDiagramWidthPct() const { return m_widthPct; }
  int GetDiagramHeightPct() const { return m_heightPct; }
  // Plain setters; the caller lays the score out again.
  void SetDiagramWidthPct(int pct) { m_widthPct = pct; }
  void SetDiagramHeightPct(int pct) { m_heightPct = pct; }
  // Pixels (at the small symbol size) that a diagram of this line takes from
  // its column on: its name, or its picture (a diagram, or a keyboard on a
  // line of keyboard pictures) at the width percentage when that is wider.
  int GetDiagramExtent(const KChordPic& diagram) const;

  // ---- Diagram rows ---------------------------------------------------------------
  // The extra fret rows of the line's diagrams, plus 1 for the finger-label
  // row when the finger-row option is on and a shape asks for it.
  int GetExtraDiagramRows() const;
  // The name font height, and with diagrams shown (flag 0x0100, or
  // withDiagrams nonzero) the diagram height at the height percentage below it.
  int GetLineHeight(int withDiagrams) const;

  // Recounts the rows over all diagrams: the extra-row value (with 0x2000) from
  // the tallest shape, 0x4000 from any shape with a finger-label row; then asks
  // for a relayout (KChordPicLineRows.cpp).
  void UpdateDiagramRows() override;
  // Raises (never lowers) the row bits for a shape about to be inserted.
  void AdjustRowsForShape(const CString& shape);

  // ---- Tuning change and transposition (KChordPicLineTranspose.cpp) ----------------
  // Without refit only replaces the tuning and returns null. With refit a new
  // line on the new tuning whose diagrams are this line's, fitted to it, and
  // whose label is this line's name with " AltT" (once).
  std::unique_ptr<KChordPicLine> SetTuning(const CString& tuning, int refit);
  // A copy in the key of list index targetKey whose diagram names in columns
  // first..last are shifted by the interval from list index sourceKey; the
  // whole line (last 32000) or an empty one also takes the attachments. Null
  // for key indices outside the list.
  std::unique_ptr<KLineObj> Transpose(int first, int last, int keySwitch, int targetKey, int sourceKey,
                                      int direction, int keepHand, int arg8, int handPosition) override;

  // ---- Keys and insertion (KChordPicLineKeys.cpp) ----------------------------------
  // Key codes: 32762 delete, 32761 blank, 32763 tab (5 columns), 225 (4 columns).
  static constexpr int kBlankKey = 32761;
  static constexpr int kTabKey = 32763;
  static constexpr int kWideBlankKey = 225;
  // HandleKey: code, -, no-recount flag, column, blank count, -, overwrite, -.
  KLinePair HandleKey(int code, int subCode, int noRecount, int column, int blankCount, int arg6,
                      int overwrite, int arg8) override;
  // Chord lines take no music symbols: always (0, -1).
  KLinePair EnterSymbol(KLineObj* source, int code, int rhythmCode, int sizeIndex, int x, int y, int arg7,
                        int arg8, int packed) override;
  // Inserts a diagram from a KInsertionRecord (name, shape, setting in value0,
  // display value in value2): (columns taken, column); (1, column) with nothing
  // changed for an empty name; (0, -1) for another kind of object.
  KLinePair InsertCopy(const CObject* source, int sizeIndex, int column, const int* beamFlags,
                       int overwrite) override;
  // A diagram inserted at the column through InsertCopy, not overwriting.
  void InsertDiagramAt(int column, const CString& name, const CString& shape, int setting, int displayValue);

  // ---- Drawing (KChordPicLineDraw.cpp) ---------------------------------------------
  // Mode bit of Draw: diagrams on every chord line.
  static constexpr int kModeAllDiagrams = 4;
  // Flag bit: chords are shown as keyboard pictures.
  static constexpr DWORD kFlagKeyboardPictures = 0x80000;
  void Draw(CDC* dc, int top, int redrawX, int sizeIndex, int originX, int mode, int view7, int view8,
            int view9, int view10) override;

  // ---- Writers and translations (KChordPicLineText.cpp, KChordPicLineTranslate.cpp) -
  // The names of the diagrams in columns from..to, each at its column.
  std::optional<CString> WriteText(int from, int to, int mode) override;
  // Each name as a quoted ABC chord symbol after a blank, then CR LF.
  std::optional<CString> WriteAbc() override;
  // Kind 0: a treble staff; 2 and 15: a tablature line on the tuning text; 5:
  // a text line of the names in the font number; null for other kinds.
  std::unique_ptr<KLineObj> TranslateTo(int arg1, int kind, int textMode, int sizeIndex, int fontNumber,
                                        CString text, int arg7) override;
  std::unique_ptr<KStaffLine> ConvertToStaff(int sizeIndex) const;
  std::unique_ptr<KTabLine> ConvertToTab(int sizeIndex, const CString& tuning) const;

  // ---- What the object-list line asks ----------------------------------------------
  // A diagram covers its explicit width, or its name's width, in pixels.
  int GetDiagramWidth(const KPosObj& object) const override;
  // Every object of the line is a chord diagram.
  const CRuntimeClass* GetObjClass() const override;
  // The empty chord line of a split: this tuning, name font and diagram size,
  // the key at the column.
  std::unique_ptr<KListLine> CloneEmpty(int column) override {
    return std::make_unique<KChordPicLine>(GetKeySignatureAt(column), m_tuning, m_nameFontText, m_widthPct,
                                           m_heightPct);
  }

  void Serialize(CArchive& ar) override;

 private:
  CString m_tuning;
  CString m_nameFontText;
  FretMap m_fretMap{};
  int m_fretCount = 24;
  int m_widthPct = 100;
  int m_heightPct = 100;
  CFont m_nameFont;
  CFont* m_currentNameFont = nullptr;
  int m_nameFontHeight = 0;
  COLORREF m_nameColor = 0;
};

// The object as a chord diagram, or null when it is another kind of object.
const KChordPic* AsChordPic(const CObject* object);
KChordPic* AsChordPic(CObject* object);
