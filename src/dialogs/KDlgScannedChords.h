#pragma once
// The scanned chords dialog: up to 36 chords that the scan of an opened score
// found missing from the user chord dictionary, in a grid of diagrams, of
// notes on a staff or of keyboards (the strip at the top switches). A
// click ticks or unticks a chord, a double click ticks (left) or clears
// (right) them all, a right click plays one; OK adds the ticked ones to the
// dictionary, Esc stops the scan.

#include <array>
#include <vector>

#include "chords/ChordScan.h"
#include "platform/CString.h"
#include "platform/GdiObjects.h"
#include "platform/ModalDialog.h"

class KDlgScannedChords : public KModalDialog {
 public:
  static constexpr UINT kTemplateId = 5548;
  static constexpr UINT kIdPicture = 1710;
  static constexpr int kMaxChords = 36;
  static constexpr int kCellWidth = 69;
  static constexpr int kCellHeight = 80;
  static constexpr int kTop = 75;

  KDlgScannedChords();

  CString tuningKey;
  std::vector<ScannedChord> chords;  // at most 36
  std::array<int, kMaxChords> ticked{};

  BOOL OnInitDialog() override;
  void OnMouse(const DialogMouse& mouse);
  int Columns() const { return m_columns; }
  int CellWidth() const { return m_cellWidth; }
  int CellHeight() const { return m_cellHeight; }
  // 0 diagrams, 1 notes, 2 keyboards (the program-wide picture mode).
  int Mode() const { return m_mode; }
  static constexpr int kModeLabelX[3] = {4, 104, 204};
  // The shape of chord i as a diagram shows it.
  CString ShapeOf(int i) const;

 protected:
  void DeclareControls(DialogControls& controls) override;

 private:
  void Layout();
  void Draw();
  CString Tuning() const;

  int m_columns = 1;
  int m_mode = 0;
  int m_cellWidth = kCellWidth;
  int m_cellHeight = kCellHeight;
  int m_current = 1;
  CBitmap m_picture;
};

// Offers the chords (at most 36) of the tuning key in the dialog and appends
// the ticked ones to the chord file. Returns the number of records written,
// or -1 when the user cancelled or the file could not be opened (message
// 7038, once per run).
int AppendScannedChords(const CString& tuningKey, const std::vector<ScannedChord>& chords);
