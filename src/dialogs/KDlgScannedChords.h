#pragma once
// The scanned chords dialog: up to 36 chords that the scan of an opened score
// found missing from the user chord dictionary, as diagrams in a grid. A
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
  // The shape of chord i as a diagram shows it.
  CString ShapeOf(int i) const;

 protected:
  void DeclareControls(DialogControls& controls) override;

 private:
  void Draw();
  CString Tuning() const;

  int m_columns = 1;
  int m_current = 1;
  CBitmap m_picture;
};

// Offers the chords (at most 36) of the tuning key in the dialog and appends
// the ticked ones to the chord file. Returns the number of records written,
// or -1 when the user cancelled or the file could not be opened (message
// 7038, once per run).
int AppendScannedChords(const CString& tuningKey, const std::vector<ScannedChord>& chords);
