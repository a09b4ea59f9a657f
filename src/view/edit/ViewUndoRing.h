#pragma once
// The score view's undo store: a ring of records, each holding the view's
// display state and a word-stream snapshot (view/edit/ClipStream.h) of the display
// lines a step could touch, taken before the step changed them.
//
// Records are numbered 1..N; steps run through them and wrap from N to 1.
// After the latest step the view's update writes an after-state marker (kind
// 8) into the record that follows it, so N records keep N - 1 steps and the
// marker (or an empty record, kind 9) bounds the chain of steps Undo can walk
// back along.
//
// When Undo restores a record it first takes the state it replaces (the
// state after that step, over the same range) into the record, so that Redo
// puts back exactly what that step made, whatever range the next step saved.

#include <array>
#include <memory>
#include <vector>

#include "doc/ScoreSettings.h"
#include "platform/CString.h"
#include "platform/GdiObjects.h"
#include "view/edit/ClipStream.h"

class CStavlinView;

// The view state that a record brings back: layout, labels, fonts, caret,
// scroll position and the settings copy.
struct KUndoViewState {
  ScoreSettings options;
  std::vector<CString> labelNames;  // the label legend
  std::vector<int> labelPrograms;
  std::vector<int> labelVolumes;
  int labelCount = 0;
  int labelWidth = 0;
  int labelsShown = 0;
  int contentLeft = 11;
  int widest = -1;
  int currentTextFont = 0;
  int sizeIndex = 0;
  int caretRow = 18;
  int currentType = 0;
  int currentFamily = 0;
  int currentLine = 0;
  int caretColumn = 0;
  int firstVisible = 0;
  int keyAtCaret = 0;
  std::array<int, 19> show{};
  int allShown = 1;
  int chordDiagramsShown = 1;
  int barNumbersShown = 0;
  int tabStems = 0;
  int diagramWidth = 100;
  int diagramHeight = 100;
  int fixedStaffLength = 0;
  int onlyChordsAndText = 0;
  int adTabMode = 0;
  int tabDigitPosition = 0;
  int textAtOriginalSize = 1;
  CString trebleTabTuning;  // the view's two note strings
  CString bassTabTuning;
  std::array<LOGFONT, 41> textFonts{};
  std::array<int, 41> baseFontHeight{};
  std::array<int, 41> baseFontWidth{};
  std::array<int, 41> fontUseCounts{};

  bool operator==(const KUndoViewState&) const = default;
};

// One record of the ring.
struct KUndoRecord {
  static constexpr int kEmpty = 9;
  static constexpr int kAfterState = 8;
  static constexpr int kTextTyping = 7;

  int kind = kEmpty;
  int firstLine = 0;      // first display line of the saved range
  int lastLine = -1;      // last display line; -1 up to the end. Kind 7: the caret column
  int recordedLine = -1;  // the current display line when recorded
  KUndoViewState state;
  CString text;  // kind 7: the text line's text before the step
  std::unique_ptr<KClipStream> snapshot;

  // Filled when Undo restored this record: what Redo puts back.
  bool undone = false;
  KUndoViewState redoState;
  CString redoText;
  int redoColumn = 0;
  std::unique_ptr<KClipStream> redoSnapshot;

  bool IsStep() const { return kind >= 0 && kind < kAfterState; }
  // Forgets everything but the kind, which the caller sets.
  void Clear();
};

// The ring and its cursor. The view mirrors the cursor into m_undoCurrent
// and the redo test into m_redoAvailable for the command enabling rules.
class KUndoRing {
 public:
  static constexpr int kFewestRecords = 2;  // one undoable step
  static constexpr int kMostRecords = 99;
  // The record count for an undo-level preference: 2..99 whatever it says.
  static int ClampLevels(int levels);

  explicit KUndoRing(int levels);

  int Size() const { return m_size; }
  KUndoRecord& At(int index) { return m_records[static_cast<size_t>(index)]; }
  const KUndoRecord& At(int index) const { return m_records[static_cast<size_t>(index)]; }
  int Next(int index) const { return index % m_size + 1; }
  int Prev(int index) const { return (m_size + index - 2) % m_size + 1; }

  // -1 undo off; 0 nothing to undo; 1..N the record of the latest step.
  int Current() const { return m_current; }
  // The oldest step was undone and that record waits for Redo (0 when not).
  int Floor() const { return m_floor; }

  // Empties every record and sets the cursor to -1 (undo off) or 0.
  void Reset(bool enabled);
  // Undo was switched back on after being off.
  void Enable() {
    if (m_current < 0) m_current = 0;
  }

  // The record a new step (kind 0..7) goes into; the record after it is
  // emptied, which drops whatever Redo could have restored. The cursor moves
  // to it.
  int BeginStep();
  // The record an after-state marker goes into, or 0 when there is none to
  // write (the record after the cursor waits for Redo). The cursor stays.
  int AfterStateRecord() const;

  // Undo: the record to restore, or 0 when nothing is left.
  int UndoTarget() const { return m_current > 0 ? m_current : 0; }
  // After restoring the record: the cursor steps back; false when the step
  // undone was the oldest kept (the cursor then reads 0, and the record
  // stays the one Redo restores next).
  bool StepBack(int restored);
  // Redo: the record whose step Redo makes again, or 0 when none waits.
  int RedoTarget() const;
  // After Redo made the record's step again: the cursor moves to it.
  void StepForward(int redone);

 private:
  int m_size;
  int m_current = 0;
  int m_floor = 0;
  std::vector<KUndoRecord> m_records;  // N + 1; record 0 is never used
};
