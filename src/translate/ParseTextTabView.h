#pragma once
// What the plain-text tablature reader needs of the score view: its
// display-line table, selection, symbol size, text measuring and the editing
// steps around a translation. The score view implements it; tests use a fake.

#include <memory>

class KLineObj;
class KStrLine;

class KTextTabView {
 public:
  virtual ~KTextTabView() = default;

  virtual int GetDisplayLineCount() const = 0;
  // The line shown at the display-line index; null outside the table.
  virtual KLineObj* GetDisplayLine(int index) = 0;
  // The selected display lines; false when the view has no selection rectangle.
  virtual bool GetSelectedLines(int& first, int& last) const = 0;
  virtual int GetSymbolSizeIndex() const = 0;
  // The pixel x of a character position of a text line, in the line's font.
  virtual int GetXOfColumn(KStrLine& line, int position) = 0;

  // Undo kind 4 for the selected lines, 6 for the current line.
  virtual void RecordUndoStep(int kind, int displayLine) = 0;
  // Inserts the line into the score before the line shown at the display
  // index, or after the score's last line when the index is past the table.
  // The document owns the line from then on.
  virtual void InsertLineBefore(int displayLine, std::unique_ptr<KLineObj> line) = 0;
  // Selects the display lines first..last as whole lines and deletes them.
  virtual void DeleteDisplayLines(int first, int last) = 0;
  // Rebuilds the display-line table, sets the caret line and its family again
  // (limited to the line count), marks the document modified and updates all views.
  virtual void FinishTranslation() = 0;
};
