#pragma once
// KLineGroup: up to 20 lines of a score bound into one system, laid out,
// bracketed, printed and played together. The document keeps the groups in its
// line-group list; each grouped line carries the group's id and points back to
// its group.
//
// A slot is one line of the group; slots 0 to count - 1 are in use, top to
// bottom. Each slot holds where its line stands in the document's line list
// (a list position, which stays valid while other lines come and go), the line
// itself once bound, the line's kind, a bracket number and a partner offset:
// - Lines that share a nonzero bracket number (1 to 4) translate into each
//   other and are aligned column by column; the group draws a thin bracket
//   beside them.
// - A treble staff and the bass staff below it can be paired as a grand staff:
//   the upper slot holds the positive offset to the lower one, the lower slot
//   the same offset negated. The view may add 100 to an upper offset to join
//   the pair's bar lines.
//
// Invariants: count is at most 20; every empty slot has kind 99; a partner
// offset d in slot i has the offset -d in slot i + d; bracket numbers stay in
// 0..4 (a file holding another number loads it as 0).
//
// The class's jobs are split over several files: KLineGroup.cpp (construction,
// slots, bracket numbers), KLineGroupEdit.cpp (inserting and removing lines),
// KLineGroupBind.cpp (binding lines, grand-staff pairs, key signatures and
// indents), KLineGroupLayout.cpp (vertical layout, redraw ranges and the
// bracket drawing) and KLineGroupSerialize.cpp (the group record).

#include <cstddef>
#include <functional>
#include <span>
#include <unordered_map>
#include <utility>

#include "platform/CObject.h"
#include "platform/Position.h"
#include "platform/WinTypes.h"

class CArchive;
class CDC;
class KLineObj;

// Where a group finds its lines: the document's line list.
class KLineSource {
 public:
  virtual ~KLineSource() = default;
  // The line stored at the position of the line list; null for a null
  // position.
  virtual KLineObj* GetLineAt(POSITION position) const = 0;
};

// One entry of the view's display-line table: one shown line.
struct DisplayLine {
  POSITION line = nullptr;  // the line's position in the document's line list
  int value = 0;            // kept for the view
  int type = 0;             // the line's kind
  int top = 0;              // top y on the page
  int bottom = 0;           // bottom y: the line's bottom plus g_lineGap
  int extra[2] = {0, 0};    // kept for the view
};

// Where each line is first shown in a display-line table. Laying out every
// group of a score looks its lines up here, so that the whole layout costs
// one pass over the table rather than one per group.
class KShownLines {
 public:
  explicit KShownLines(std::span<const DisplayLine> lines);
  // The first entry that shows the line; null when none does.
  const DisplayLine* Find(POSITION line) const;

 private:
  std::span<const DisplayLine> m_lines;
  std::unordered_map<POSITION, std::size_t> m_first;
};

// Preference: the first of two bracketed note lines gets flag 0x100000 (bar
// lines joined downward) when the group binds its lines. Off by default.
extern int g_joinBracketedLines;
// Restores the start value above (tests call it).
void ResetLineGroupServices();

class KLineGroup : public CObject {
  DECLARE_SERIAL(KLineGroup);

 public:
  static constexpr int kMaxSlots = 20;
  // The record holds 10 slot records; slots 10 to 19 travel packed in them.
  static constexpr int kStoredSlots = 10;
  static constexpr int kEmptySlotType = 99;
  static constexpr int kDefaultId = 10000;
  static constexpr int kMaxBracket = 4;
  // The group flag values that say bracket number 1, 2 or 3 joins exactly three
  // note lines; kept up to date by SetSlotBracket, InsertLine and RemoveLine.
  static constexpr DWORD kTripleBracketFlags = 2 | 4 | 8;
  // Message shown when a full group refuses a line.
  static constexpr UINT kMsgGroupFull = 7153;
  // Message shown when the neighbour's bracket cannot take the new line.
  static constexpr UINT kMsgNoMutualTranslation = 7154;

  // Archive creation: id 10000, flags 0, no slots.
  KLineGroup();
  // The three fields as given (count limited to 0..20); every slot empty.
  KLineGroup(int id, int count, DWORD flags);
  // A copy of the source's slots (kinds, raw bracket numbers, partner offsets),
  // count, flags, key signature and note-line count under a new id; the line
  // positions and lines are left for the caller to fill.
  KLineGroup(int id, const KLineGroup& source);
  // Two lines; with `bracket` nonzero both get bracket number 1 and the flags
  // are 1. The key signature is the larger of the two.
  KLineGroup(int id, POSITION first, int firstType, int firstKey, POSITION second, int secondType,
             int secondKey, int bracket);
  // One slot per line (at most 20), flags 1, no brackets or partners.
  KLineGroup(int id, std::span<const POSITION> positions, std::span<const int> types, int key);
  KLineGroup(const KLineGroup&) = delete;
  KLineGroup& operator=(const KLineGroup&) = delete;

  // ---- Fields ---------------------------------------------------------------------
  int GetId() const { return m_id; }
  // Gives the group another id (its lines must be told too); undo puts a
  // restored group back under the id it had.
  void SetId(int id) { m_id = id; }
  int GetSlotCount() const { return m_count; }
  DWORD GetFlags() const { return m_flags; }
  DWORD GetFlagsOr1() const { return m_flags | 1; }
  DWORD TestFlags(DWORD mask) const { return m_flags & mask; }
  // set nonzero sets the bits, zero clears them.
  void ModifyFlags(DWORD mask, int set);
  int GetIndent() const { return m_indent; }
  void SetIndent(int indent) { m_indent = indent; }
  int GetNoteLineCount() const { return m_noteLineCount; }
  // The largest key signature of the note lines; 0 when it is above 15.
  int GetKeySignature() const;
  // (top, bottom) of the group as Layout computed it.
  std::pair<int, int> GetVerticalExtent() const { return {m_top, m_bottom}; }
  // Layout results: entry 0 is the whole group, entries 1 to 4 the lines of
  // bracket numbers 1 to 4 (a top of -1: the number is not in use).
  int GetBracketTop(int k) const { return k >= 0 && k <= kMaxBracket ? m_bracketTop[k] : -1; }
  int GetBracketBottom(int k) const { return k >= 0 && k <= kMaxBracket ? m_bracketBottom[k] : -1; }
  int GetBracketCount() const { return m_bracketCount; }
  // Layout results: the grand-staff pairs whose staves both show, each as the
  // top of the upper staff and the bottom of the lower one (a curly brace).
  static constexpr int kMaxBraces = kMaxSlots / 2;
  int GetBraceCount() const { return m_braceCount; }
  std::pair<int, int> GetBrace(int i) const {
    return i >= 0 && i < m_braceCount ? m_braces[i] : std::pair<int, int>{-1, -1};
  }

  // The same key signature under the names the document uses for it.
  int GetLeadInSteps() const { return GetKeySignature(); }

  // ---- Slots (a slot outside 0..19 reads as empty and ignores writes) --------------
  int GetSlotType(int slot) const;
  // Recounts the note lines.
  void SetSlotType(int slot, int type);
  int GetSlotPartner(int slot) const;
  void SetSlotPartner(int slot, int offset);
  POSITION GetSlotLineRef(int slot) const;
  void SetSlotLineRef(int slot, POSITION line);
  KLineObj* GetSlotLine(int slot) const;
  void SetSlotLine(int slot, KLineObj* line);
  // The slot of the line at the list position; -1 when it is not in the group.
  int FindSlot(POSITION line) const;

  // ---- Bracket numbers ------------------------------------------------------------
  // raw nonzero: the slot's number. Otherwise 0 when another slot of the same
  // line family carries the same number (such a bracket only joins lines, it
  // does not translate), except that a treble staff directly above a bass staff
  // and that bass staff do not count against each other.
  int GetSlotBracket(int slot, int raw) const;
  // raw nonzero: the line's number (0 when it is not in the group). Otherwise as
  // GetSlotBracket, without the grand-staff exception.
  int GetLineBracket(POSITION line, int raw) const;
  // Sets the number (0..4; others are ignored) and recomputes the flag values
  // 2, 4 and 8.
  void SetSlotBracket(int slot, int number);

  // ---- Inserting and removing lines (KLineGroupEdit.cpp) --------------------------
  // Puts a line before or after its neighbour (a line of the group). The new
  // line takes the indent of slot 0's line and, on a note line, the staff length
  // and the own-label flag 16 of the group's first note line. With `translate`
  // set, the new line and its neighbour get the lowest free bracket number; a
  // neighbour whose bracket already translates refuses that with message 7154
  // (the line still goes in, without a bracket). Returns the new count; a
  // neighbour outside the group changes nothing and returns the count; a full
  // group shows message 7153 and returns 0.
  int InsertLine(POSITION neighbour, POSITION position, KLineObj* line, int type, int key, int before,
                 int translate);
  // Takes the line out of the group: its partner loses its pairing, a bracket
  // left with one line is dissolved and the bracket numbers are made compact.
  // Returns the new count. A group of one line keeps it and returns 1; the
  // position of the line left alone in the group (count 1) is handed back in
  // `remaining`, else null.
  int RemoveLine(POSITION line, POSITION& remaining);

  // ---- Binding (KLineGroupBind.cpp) -------------------------------------------------
  // Resolves every slot's position to its line, gives each line its group
  // pointer and pairs the grand staves: a treble or bass staff with flag
  // 0x200000 pairs with the next treble or bass staff when that one has flag 4
  // (files older than version 3706 get it). An upper staff without a partner
  // loses its pairing. With g_joinBracketedLines, the first of two bracketed
  // note lines gets flag 0x100000. Stops at a treble or bass slot without a
  // position.
  void BindLines(const KLineSource& source);
  // The group's key signature becomes the largest key at column 0 of its note
  // lines, which all take it as their layout key.
  void EqualizeKeySignatures(const KLineSource& source);
  void EqualizeLeadInSteps(const KLineSource& source) { EqualizeKeySignatures(source); }
  // Lines outside the staff and tablature families are indented past the clef
  // and key signature: 29 + 5 x (key / 2 + 1) pixels, 29 without a key.
  void IndentOtherLines();
  // Every line of the group holds nothing (KLineObj::HoldsNothing); with clear
  // set, blank text lines are emptied once that is known.
  bool AllLinesEmpty(const KLineSource& source, int clear) const;
  // Sets the group's indent (and every bound line's) from the widest line label
  // measured in the label font (labels set) or the widest indent of the note
  // lines, and gives the note lines a common staff length when the group's
  // widest note line is wider than the minimum width.
  void ComputeIndent(CDC* dc, int minWidth, int sizeIndex, int labels);

  // ---- Layout and drawing (KLineGroupLayout.cpp) -----------------------------------
  // Fills the bracket tops and bottoms, the bracket count and the group's
  // vertical extent from the display lines that show the group's lines. With
  // noteLinesOnly, the group's extent runs from its first to its last note line.
  // stringStep is the tablature string spacing of the size.
  void Layout(const KShownLines& shown, int sizeIndex, int noteLinesOnly, int stringStep);
  // The same for one group: searches the table for the group's lines.
  void Layout(std::span<const DisplayLine> lines, int sizeIndex, int noteLinesOnly, int stringStep);
  // The update hint that covers the run of the group's note lines around
  // display line d: value + (last + first x 99 + 400000) x 1000, or the hint of
  // display line d alone, (5 x d + 50000) x 2000. A hint that its form cannot
  // hold (a very long score) becomes the whole-view hint 300000000.
  int EncodeLineRange(int d, int value, std::span<const DisplayLine> lines) const;
  // Draws the group bracket at x + indent (moved down by yOffset) with the
  // current pen and, with drawBrackets, the bracket of each bracket number with
  // its hook symbols. On the device path the bracket numbers are drawn with a
  // pen of 6 x print size / 100; when it cannot be made, "OC2-6" is reported
  // once per run and they are not drawn.
  void DrawBracket(CDC* dc, int x, int drawBrackets, int yOffset) const;

  // ---- File record (KLineGroupSerialize.cpp) ----------------------------------------
  // Loading refuses a record of more than 10 slot records (CArchiveException)
  // and changes nothing when it fails. A kind outside 0..16 marks the group bad
  // (its id becomes (-1 - id) x 100) and raises g_lineGroupRepair.
  void Serialize(CArchive& ar) override;
  // The id a group gets when its load finds a bad line kind; always below -99.
  static int BadGroupId(int id);

 private:
  struct Slot {
    POSITION lineRef = nullptr;
    KLineObj* line = nullptr;
    int bracket = 0;
    int type = kEmptySlotType;
    int partner = 0;
  };

  bool ValidSlot(int slot) const { return slot >= 0 && slot < kMaxSlots; }
  // Layout with find giving the first display line that shows a line.
  void LayoutWith(const std::function<const DisplayLine*(POSITION)>& find, int sizeIndex, int noteLinesOnly,
                  int stringStep);
  // The slot of a slot's grand-staff partner, or -1 (no partner, or an offset
  // that points outside the slots in use). An offset above 100 carries the
  // joined-bars mark.
  int PartnerSlotOf(int slot) const;
  // Counts the note lines over the slots in use.
  void RecountNoteLines();
  // The flag values 2, 4, 8: set for bracket numbers 1, 2, 3 that join exactly
  // three note lines (treble, bass, treble or bass tablature) of three or more.
  void UpdateTripleBracketFlags();
  // Bitmask of the bracket numbers 1..4 carried by slots (bit k for number k).
  int BracketsInUse() const;
  // Two different slots carrying the same bracket number have lines of the
  // same family.
  bool SameFamilyOtherSlot(int slot, bool grandStaffException) const;

  int m_id = kDefaultId;
  int m_count = 0;
  DWORD m_flags = 0;
  Slot m_slots[kMaxSlots];
  int m_bracketTop[kMaxBracket + 1] = {0, -1, -1, -1, -1};
  int m_bracketBottom[kMaxBracket + 1] = {0, -1, -1, -1, -1};
  int m_bracketCount = 0;
  std::pair<int, int> m_braces[kMaxSlots / 2];
  int m_braceCount = 0;
  int m_keySignature = 0;
  int m_indent = 0;
  int m_noteLineCount = 0;
  int m_top = 0;
  int m_bottom = 0;
};
