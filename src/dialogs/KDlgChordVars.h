#pragma once
// The chord variations picker: every variation of one chord at once, in a
// grid of diagrams, of notes on a staff or of keyboards (the strip at the
// top switches between them); a click, a typed number or the arrow keys and
// Enter pick one. The catalogue's variations come first, then the user's.

#include <vector>

#include "platform/CString.h"
#include "platform/GdiObjects.h"
#include "platform/ModalDialog.h"

class KDlgChordVars : public KModalDialog {
 public:
  static constexpr UINT kTemplateId = 5528;
  static constexpr UINT kIdPicture = 1700;
  static constexpr int kMaxShapes = 160;
  static constexpr int kCellWidth = 47;
  static constexpr int kStripHeight = 15;

  KDlgChordVars();

  // Set by the caller.
  std::vector<CString> shapes;  // at most 160
  CString chordName;
  CString tuning;
  int libraryCount = 0;
  int variation = 1;  // the start value; the picked one after OK

  BOOL OnInitDialog() override;

  int Columns() const { return m_columns; }
  int Rows() const { return m_rows; }
  int CellHeight() const { return m_cellHeight; }
  int CellWidth() const { return m_cellWidth; }
  // 0 diagrams, 1 notes, 2 keyboards (the program-wide picture mode).
  int Mode() const { return m_mode; }
  // The x of each mode's label in the strip at the top.
  static constexpr int kModeLabelX[3] = {4, 84, 124};
  // The mouse over the picture, and the keys (virtual key, character).
  void OnMouse(const DialogMouse& mouse);
  bool OnKey(int virtualKey, int character);

 protected:
  void DeclareControls(DialogControls& controls) override;

 private:
  void Layout();
  void ChooseMode(int mode);
  void Draw();
  void Moved();
  int Count() const { return static_cast<int>(shapes.size()); }

  int m_columns = 1;
  int m_rows = 1;
  int m_cellHeight = 53;
  int m_cellWidth = kCellWidth;
  int m_mode = 0;
  int m_pendingDigit = -1;
  CBitmap m_picture;
};
