#pragma once
// KSpeedLine: the drawing cache of a staff or tablature line. Drawing a line
// column by column needs many decisions per note (which picture, where, which
// ledger lines, how long the stems, where the beams go); the cache makes them
// once and keeps the result as one drawing entry (KBigChord) per column of its
// owner, in column order. A repaint then only walks the entries.
//
// Every staff and tablature line creates one KSpeedLine as its linked line
// (KListLine::SetLinkedLine) and owns it; the owner's setters forward the
// staff length, indent, flags, group, spaces and key to it. The owner's Draw
// brings the cache up to date (Refresh: rebuilt when the owner is marked
// changed, retuned or drawn at another size index, and not otherwise), then
// asks it to Render.
//
// Entry geometry (pixels of the entry's size index, all y values + 100): a
// staff's top line lies at 100 and staff step r at 100 + (r - 14) x step
// (step 3 / 4); on a tablature line string row s lies at 100 + (s - 2) x
// (spacing + 1), spacing being the tablature string spacing of the size.
//
// The cache's jobs are split over several files: KSpeedLine.cpp
// (construction, settings and refresh), KSpeedLineBuild.cpp (the entries of
// a column), KSpeedLineStems.cpp (ledger lines, stems, flags and beams),
// KSpeedLinePlacement.cpp (the symbol placement table) and
// KSpeedLineRender.cpp (drawing the entries).

#include <array>
#include <utility>

#include "common/Globals.h"
#include "model/KListLine.h"
#include "platform/CString.h"

class CDC;
class KBigChord;
class KChord;

// The margin of the opaque box behind tablature fret numbers, in pixels; 0 or
// 99 draws no box (the third number of the "PrintCorr" preference, 2 by
// default).
extern int g_fretBoxMargin;

class KSpeedLine : public KListLine {
 public:
  static constexpr int kFretLabelCount = 25;
  // Symbol ids: the code (0..111) plus the symbol-set base of the size index.
  static constexpr int kCodesPerSize = 112;
  // Where the top-left corner of a symbol's picture lies from the point it
  // marks (the column's x and the middle of the entry's step or string).
  struct Placement {
    int x;
    int y;
  };

  // The base line gets the kind, key (also the layout key), staff length,
  // indent and flags; the spaces come from the defaults of new staff or
  // tablature lines (0 for other kinds). The entries are built at once from
  // the owner's list (null: none).
  KSpeedLine(int type, int key, const CObList* ownerList, int sizeIndex, int staffLength, int indent,
             DWORD flags, const CString& tuning);
  // Deletes the entries (through the base line).
  ~KSpeedLine() override;

  // ---- State -------------------------------------------------------------------
  int GetSizeIndex() const { return m_sizeIndex; }
  int GetStringCount() const { return m_stringCount; }
  const CString& GetTuning() const { return m_tuning; }
  // The text drawn for fret 0..24 ("" outside).
  const CString& GetFretLabel(int fret) const;
  // The entry of a column, or null.
  const KBigChord* GetEntryAt(int column) const;
  // Where the staff or string lines end when the line's last column is a bar
  // that closes it (a single, double or final bar or an end repeat): just
  // past the bar's rightmost stroke, measured from the line's origin (after
  // its lead-in and indent); -1 when the last column is no such bar.
  int GetClosingBarRight() const;

  // ---- Keeping the cache current -----------------------------------------------
  // Stores the size index, deletes all entries and builds them again with the
  // string spacing of that size.
  void SetSizeIndex(const CObList* ownerList, int sizeIndex);
  // Stores the tuning, recounts the strings and refills the fret labels; the
  // entries are not rebuilt here (the owner rebuilds next).
  void SetTuning(const CString& tuning);
  // Deletes every entry at or after the column.
  void DeleteObjsFrom(int column);
  // Deletes the entries from fromColumn on and builds new ones for the owner's
  // columns from there. spacing: the tablature string spacing; negative takes
  // the setting of the cache's size index.
  void Rebuild(const CObList* ownerList, int fromColumn, int spacing = -1);
  // What an owner's Draw does before rendering: takes another size index
  // (rebuilding), a different tuning (tuning null: a staff, which has none),
  // and rebuilds from column 0 when the owner is marked changed, clearing the
  // mark. Returns true when the entries were rebuilt.
  bool Refresh(KListLine& owner, int sizeIndex, const CString* tuning);

  // ---- Drawing (KSpeedLineRender.cpp) -------------------------------------------
  // The rows, from the owner's top (the space above the staff at the cache's
  // size included), that Render paints for the entries from the column on:
  // each symbol counted as reaching kSymbolReach pixels from its point, and
  // its lines, stems and beams. first > second when no entry lies there.
  static constexpr int kSymbolReach = 48;
  std::pair<int, int> DrawnRows(int firstColumn) const;
  // Draws the entries whose columns lie in [firstColumn, lastColumn] and whose
  // x lies left of the right edge of dc's clip. x: the line's x origin (the
  // lead-in of the size, the indent and the columns are added); y: the line's
  // top (the space above the staff at the size is added). A staff line also
  // draws its frame (staff lines, clef, key signature and opening bar,
  // KListLine::DrawNotes); a tablature line draws its own frame before.
  // Frets are drawn as text in the font selected into dc. The five view values
  // are kept for the view's call and not read. When printing (or rendering at
  // device resolution) two pens are made first; when one cannot be made,
  // message 7008 ("KSp-1" thin, "KSp-2" thick) is shown once per run and
  // nothing is drawn.
  void Render(CDC* dc, int x, int firstColumn, int lastColumn, int y, int view6 = 0, int view7 = 0,
              int view8 = 0, int view9 = 0, int view10 = 0);

  // ---- Pieces of the build (KSpeedLineBuild.cpp, KSpeedLinePlacement.cpp) -------
  // Fills the entry's ledger lines for notes between highestStep (smallest
  // step number) and lowestStep: one line per even step from the highest
  // note (rounded towards the staff) down to step 12 above the staff, and
  // from step 24 to the lowest note below it.
  void GetLedgerLines(KBigChord& entry, int highestStep, int lowestStep) const;

  // The placement of a symbol id (0..223) and of a flagged symbol (its code -
  // 10000, plus 112 at the large size); (0, 0) outside.
  static Placement GetPlacement(int symbolId);
  static Placement GetFlaggedPlacement(int symbolId);

 private:
  // Per voice while the entries are built: the running tick sum (which points
  // the beam stubs of a group's last column) and the beam group the walk is in.
  struct VoiceState {
    int tickSum = 0;
    bool inGroup = false;
    POSITION endNode = nullptr;  // the node of the column that closes the group
    double startX = 0;           // x of the group's first stem from the line's origin
    double startY = 0;           // y (+ 100) of the main beam there
    double slope = 0;
  };
  // Where a voice's stem stands in a column: x from the column's x, the y
  // (+ 100) of its highest and lowest note and of the note end of its stem.
  struct StemPlace {
    bool any = false;
    int x = 0;
    int topY = 0;
    int bottomY = 0;
    int noteEndY = 0;
  };

  // Items of one column (KSpeedLineBuild.cpp).
  void AddItems(KBigChord& entry, const KChord& column, int spacing) const;
  void AddTimeSignature(KBigChord& entry, const KChord& column, int spacing) const;
  void AddEntryItem(KBigChord& entry, const KChord& column, int i, int spacing) const;
  void AddLedgerLines(KBigChord& entry, const KChord& column) const;
  // Stems, flags and beams of a voice (KSpeedLineStems.cpp); entry null for
  // a column before the rebuilt range, whose beam group is followed all the same.
  StemPlace FindStemPlace(const KChord& column, int voice, int spacing) const;
  void AddVoice(KBigChord* entry, const KChord& column, int voice, POSITION here, const CObList& ownerList,
                VoiceState& state, int spacing) const;
  void AddStemAndFlag(KBigChord& entry, const KChord& column, int voice, const StemPlace& place, int stemEnd,
                      bool beamed) const;
  void AddOwnStems(KBigChord& entry, const KChord& column) const;
  void OpenBeamGroup(KBigChord* entry, const KChord& column, int voice, const StemPlace& place, int stemEnd,
                     POSITION here, const CObList& ownerList, VoiceState& state, int spacing) const;
  void BuildBeams(KBigChord& entry, const KChord& column, int voice, const StemPlace& place, bool opening,
                  POSITION here, const CObList& ownerList, const VoiceState& state, int spacing) const;
  // Whether a voice's stems point down: voice 0 on a staff, every voice on a
  // tablature line (whose rhythm hangs under the strings).
  bool StemDown(int voice) const { return IsTab() || voice == 0; }
  // The y (+ 100) of a tablature stem's free end under the strings.
  int TabStemEnd(const StemPlace& place) const;
  // The x of a column from the line's origin.
  int ColumnX(int column) const { return column * g_NoteColumnWidth[m_sizeIndex]; }

  // The y (+ 100) of a staff step or a tablature string row.
  int RowY(int row, int spacing) const;
  // The tablature string spacing: the given one, or the setting of the size.
  int Spacing(int spacing) const;
  bool IsTab() const { return GetFamily() == kFamilyTab; }
  // The first and last string row of the tuning.
  int FirstStringRow() const { return m_stringCount < 6 ? 3 : 2; }
  int LastStringRow() const { return m_stringCount < 6 ? m_stringCount + 2 : m_stringCount + 1; }
  // Items of a column style other than the column's (100: the column's).
  static int ItemStyleOf(const KChord& column, int i);
  // A voice's length in ticks for beam grouping: dotted lengths count as
  // their plain length.
  static int BeatTicks(const KChord& column, int voice);

  int m_sizeIndex = 0;
  int m_stringCount = 6;
  CString m_tuning;
  std::array<CString, kFretLabelCount> m_fretLabels;
};
