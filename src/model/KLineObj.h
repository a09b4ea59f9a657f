#pragma once
// KLineObj: the base of every line of a score. It holds what all lines share:
// the line kind, the fixed staff length, the line-group membership, the indent,
// a flag word, the label, and the list of attached objects (ties, slurs,
// brackets, hairpins, text boxes, links). Its virtual operations are the
// interface through which the view, the editing commands, playback and
// translation drive any line without knowing its class; every line class keeps
// their order and arguments. Text lines derive from it directly; all other
// lines derive from KListLine.
//
// Line kinds and their families (the family decides layout, units and
// behaviour everywhere in the program):
//    0 treble staff, 1 bass staff, 9 alto, 10 tenor, 11 treble 8va,
//   12 treble 8vb, 13 drums, 14 no clef, 16 percussion   family 0 (staff)
//    2 treble tablature, 15 bass tablature                family 2 (tablature)
//    3 rhythm line                                        family 3 (rhythm)
//    4 chord names and diagrams                           family 4 (chord)
//    5 text and lyrics                                    family 5 (text)
//    6, 7, 8 (no line class)                              families 4, 7, 10
// Note lines are the lines of families 0 to 2.
//
// The class's jobs are split over several files: KLineObj.cpp (construction,
// fields, flags and the default slot bodies), KLineObjLabel.cpp (label and
// instrument entry), KLineObjSerialize.cpp (the line record) and
// KLineObjAttachments.cpp (the attachment list).

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/CObList.h"
#include "platform/CObject.h"
#include "platform/CString.h"
#include "platform/WinTypes.h"

class CArchive;
class CDC;
class KExtendedObj;
class KLineGroup;
class KListLine;
class KScoreSettingsSink;
struct MidiInstrumentTable;
struct InstrumentLabels;

// Two signed integers returned together: an edit slot's (caret step, first
// column to redraw), where (0, -1) means refused with nothing changed, or a
// word's (first, last column).
struct KLinePair {
  int first = 0;
  int second = 0;
  friend bool operator==(const KLinePair&, const KLinePair&) = default;
};

class KLineObj : public CObject {
  DECLARE_SERIAL(KLineObj);

 public:
  // ---- Kinds and families ---------------------------------------------------
  static constexpr int kKindCount = 17;
  static constexpr int kFamilyStaff = 0;
  static constexpr int kFamilyTab = 2;
  static constexpr int kFamilyRhythm = 3;
  static constexpr int kFamilyChord = 4;
  static constexpr int kFamilyText = 5;
  static constexpr int kNoFamily = -1;
  static constexpr int kKindBassStaff = 1;
  static constexpr int kKindRhythm = 3;
  static constexpr int kKindDrums = 13;
  static constexpr int kKindPercussion = 16;
  // The family of a kind code; kNoFamily for codes outside 0..16 (a damaged
  // file may carry one), which every family test treats as "other".
  static int FamilyOf(int type);
  static bool IsNoteFamily(int family) { return family >= 0 && family <= kFamilyTab; }

  // ---- Flag bits --------------------------------------------------------------
  static constexpr DWORD kFlagPairedStaff = 0x4;
  static constexpr DWORD kFlagShownPair = 0x8;
  static constexpr DWORD kFlagKeyChanges = 0x800;
  static constexpr DWORD kFlagPairLong = 0x100000;
  static constexpr DWORD kFlagPairUpper = 0x200000;
  static constexpr DWORD kFlagLoadMarked = 0x400000;

  static constexpr int kNoGroup = -1;

  // Archive creation: staff length 0, no group, flags 0, empty label and
  // attachment list. The kind and the indent are set by loading.
  KLineObj();
  // The indent takes the default indent of new lines.
  KLineObj(int type, int staffLength, int groupId, DWORD flags, int fileWord);
  KLineObj(const KLineObj&) = delete;
  KLineObj& operator=(const KLineObj&) = delete;
  // The line owns its attachments: the ones still in the list are deleted.
  ~KLineObj() override;

  // ---- Fields -----------------------------------------------------------------
  int GetType() const { return m_type; }
  int SetType(int type);
  int GetFamily() const { return FamilyOf(m_type); }
  int GetStaffLength() const { return m_staffLength; }
  int GetGroupId() const { return m_groupId; }
  KLineGroup* GetGroup() const { return m_group; }
  void SetGroupPtr(KLineGroup* group) { m_group = group; }
  DWORD GetFlagWord() const { return m_flags; }
  // 1 when any bit of the mask is set, else 0.
  int TestFlags(DWORD mask) const { return (m_flags & mask) != 0 ? 1 : 0; }
  // The small signed value in the top 4 bits of the flag word when any masked
  // bit is set, else 0.
  int GetFlagValue(DWORD mask) const;
  // A nonzero value sets the masked bits, zero clears them; then the top 4
  // bits take the low 4 bits of the value.
  void SetFlagValue(DWORD mask, int value);
  // The indent is stored with a sign and read as its absolute value.
  int GetIndent() const;
  int GetStoredIndent() const { return m_indent; }
  int GetFileWord() const { return m_fileWord; }

  // ---- Label --------------------------------------------------------------------
  const CString& GetLabel() const { return m_label; }
  // The label up to the first separator "!@!", or the whole label.
  CString GetLabelName() const;
  // A text holding the separator replaces the whole label; a plain text
  // replaces the name and keeps the old label's suffix from its separator on.
  void SetLabel(const CString& text);
  // Sets the label and, on note lines with a name, gives the name a MIDI
  // instrument in the score's table unless it has one: program and volume
  // (negative: the defaults of the line's kind) go into a new entry, whose
  // display text goes into the settings record, which the document then takes
  // (when one is given). A full table shows message 7059 and adds nothing.
  void SetLabelAndInstrument(const CString& label, MidiInstrumentTable& table, InstrumentLabels& settings,
                             KScoreSettingsSink* document, int program, int volume);

  // ---- Attachment list (KLineObjAttachments.cpp) --------------------------------
  // The list stands in ascending pos (a new attachment goes before those
  // already at its column), except that text lines keep loaded attachments in
  // file order.
  int GetAttachmentCount() const { return m_attachments.GetCount(); }
  // Takes ownership; inserts before the first attachment at or after its pos.
  void AddAttachment(KExtendedObj* attachment);
  // Takes ownership; adds at the tail.
  void AppendAttachment(KExtendedObj* attachment);
  // Unlinks without deleting: 1 when found, else 0. The caller owns it then.
  int RemoveAttachment(KExtendedObj* attachment);
  static constexpr int kEditDelete = 1;
  static constexpr int kEditRenormalise = 2;
  // kEditDelete unlinks and deletes the attachment; kEditRenormalise moves
  // whole columns and rows of its pixel offset into its anchor. An attachment
  // that is not in the list is ignored.
  void EditAttachment(KExtendedObj* attachment, int operation);
  // Appends copies of the other line's attachments (lines of families 0..4).
  void CopyAttachmentsFrom(const KLineObj& other);
  // Deletes the first attachment anchored at the column and row; 1 when one was.
  int DeleteAttachmentAt(int column, int row);
  // Deletes the attachments whose column lies in [first, end); returns how many.
  int DeleteAttachmentsInRange(int first, int end);
  // Anchors the attachment (owned from here on) at the pixel point of the line
  // whose top is at `top`, then adds it. `rounding` is handed to the rhythm
  // line's column lookup; the two unused values belong to the view's call.
  void PlaceAttachmentAt(CDC* dc, KExtendedObj* attachment, int x, int y, int unused1, int unused2, int top,
                         int rounding, int sizeIndex);
  // Rhythm lines: moves and stretches attachments after a column shift.
  // Returns 0.
  int ShiftAttachments(int column, int delta);
  // Scanning from the tail: the first attachment at the column whose row is
  // the row and whose kind matches (negative kind: any); null when none.
  KExtendedObj* FindAttachmentAt(int column, int row, int kind) const;
  // The attachment whose covered rectangle holds the point (x measured from
  // the line's own left, y on the page), scanning from the tail among those
  // whose columns reach the column under x; null when none. columnWidth is the
  // line's column width at the size, top the line's top (KLineObjHitTest.cpp).
  KExtendedObj* HitTestAttachment(int x, int y, int columnWidth, CDC* dc, int top, int sizeIndex);
  // The attachments as packed word records (length, then the words of each),
  // closed by a 0; empty when there are none. Text lines store these.
  std::vector<std::int32_t> PackAttachments() const;

  // ---- Virtual interface of the line family ---------------------------------------
  // Edit slots answer (caret step, first column to redraw); the base refuses
  // nothing and does nothing.
  virtual KLinePair HandleKey(int code, int subCode, int sizeIndex, int column, int row, int arg6, int arg7,
                              int arg8);
  virtual KLinePair DeleteAtCaret(int column, int row, int sizeIndex, int extra);
  virtual KLinePair EnterSymbol(KLineObj* source, int code, int rhythmCode, int sizeIndex, int x, int y,
                                int arg7, int arg8, int packed);
  // Takes ownership of the object when it answers a nonzero caret step.
  virtual KLinePair InsertObj(CObject* object, int sizeIndex, int column, const int* beamFlags, int replace);
  virtual KLinePair InsertCopy(const CObject* source, int sizeIndex, int column, const int* beamFlags,
                               int replace);
  // The line as plain text (slot 10) or ABC (slot 11); none from the base.
  virtual std::optional<CString> WriteText(int from, int to, int mode);
  virtual std::optional<CString> WriteAbc();
  // Number of columns the line spans.
  virtual int GetLength();
  virtual void Draw(CDC* dc, int top, int redrawX, int sizeIndex, int originX, int view6, int view7,
                    int view8, int view9, int view10);
  // A new line holding everything from the column on, or null (no split).
  virtual std::unique_ptr<KLineObj> SplitAt(int column, int arg2, int barFlag);
  // Moves the columns from `first` on by delta; returns the first column to
  // redraw, or -1 when nothing moved.
  virtual int ShiftColumns(int first, int delta, int mode);
  // Moves the attachment or note under the caret cell (column, row) one
  // column or row with an arrow key (37 left, 38 up, 39 right, 40 down);
  // returns the first column to redraw, or -1 when nothing moved.
  virtual int MoveByArrowKey(int /*column*/, int /*row*/, int /*key*/, int /*sizeIndex*/) { return -1; }
  // A new line of another kind made from this one, or null.
  virtual std::unique_ptr<KLineObj> TranslateTo(int arg1, int kind, int textMode, int sizeIndex,
                                                int fontNumber, CString text, int arg7);
  // Signed distance from the column to the caret's target of a word step
  // (direction 1 forward, 0 backward).
  virtual int GetWordStep(int view1, int view2, int column, int direction);
  // (first, last column) of the word holding the column.
  virtual KLinePair GetWordRange(int column);
  // Width in pixels.
  virtual int GetWidth(int sizeIndex, int mode, CDC* dc, int option);
  virtual void SetIndent(int pixels);
  virtual CObList* GetAttachments();
  // The line holds nothing a reader would miss: no objects, no attachments
  // (a text line: nothing but blanks). With clear set a blank line is
  // emptied of its blanks.
  virtual bool HoldsNothing(int clear);
  virtual void SetGroup(int groupId, KLineGroup* group);
  virtual void SetStaffLength(int staffLength);
  virtual void SetFlagWord(DWORD flags);
  // set nonzero: ORs the mask in and returns it; zero: clears the masked bits
  // and returns the new flag word.
  virtual DWORD ModifyFlags(DWORD mask, int set);

  void Serialize(CArchive& ar) override;

  // The object-list line behind this line, or null for text lines and plain
  // line records.
  virtual KListLine* AsListLine() { return nullptr; }
  const KListLine* AsListLine() const { return const_cast<KLineObj*>(this)->AsListLine(); }

 protected:
  // Marks an object-list line changed; text lines have no changed flag.
  void MarkLineChanged();

  int m_type = 0;
  int m_staffLength = 0;
  int m_groupId = kNoGroup;
  int m_indent = 0;
  DWORD m_flags = 0;
  int m_fileWord = 0;
  CString m_label;
  CObList m_attachments{10};
  KLineGroup* m_group = nullptr;

 private:
  // Puts an attachment back in column order after its pos changed.
  void Reorder(POSITION node);
};
