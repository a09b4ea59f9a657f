#pragma once
// The chord designer: the user draws a chord on a fretboard grid of 2 to 8
// strings (open and not-played markers, dots on up to seven fret rows,
// barres, a base fret), names it by root and type, and OK adds it to the
// user chord dictionary file as one record.

#include "dialogs/ChordDesignerGrid.h"
#include "platform/CString.h"
#include "platform/GdiObjects.h"
#include "platform/ModalDialog.h"

class KDlg8StringChordDes : public KModalDialog {
 public:
  static constexpr UINT kTemplateId = 5560;
  static constexpr UINT kIdFirstStringCount = 1653;  // "&2" .. "&8"
  static constexpr UINT kIdFirstFretRows = 1660;     // "&4" .. "&7"
  static constexpr UINT kIdFretPosition = 1664;
  static constexpr UINT kIdHideName = 1665;
  static constexpr UINT kIdShowHint = 1666;
  static constexpr UINT kIdNoVariationNumber = 1667;
  static constexpr UINT kIdKey = 1668;
  static constexpr UINT kIdType = 1669;
  static constexpr UINT kIdDetails = 1670;
  static constexpr UINT kIdHint = 1671;
  static constexpr UINT kIdGrid = 1673;
  static constexpr UINT kIdDiagram = 1678;
  static constexpr UINT kIdNameDisplay = 1679;
  static constexpr UINT kIdArcs = 1683;
  static constexpr UINT kIdLeft = 1685;
  static constexpr UINT kIdPlay = 1687;
  static constexpr UINT kIdClear = 1688;
  static constexpr UINT kIdHelp = 1689;
  static constexpr UINT kIdTuning = 1692;
  static constexpr UINT kIdKeyLabel = 1693;
  static constexpr UINT kIdTypeLabel = 1694;
  static constexpr UINT kIdDetailsLabel = 1695;
  static constexpr UINT kIdHintLabel = 1696;
  static constexpr UINT kIdPositionLabel = 1697;

  KDlg8StringChordDes();

  // Set by the caller before DoModal.
  CString tuning = "E A D G B E  323742475156";
  CString key = "C ";
  CString chordType;
  CString details;
  CString varHint;
  CString shape;
  int keySignature = 0;

  // After OK: the record added to the dictionary file, and whether it was.
  CString record;
  bool stored = false;
  // The tuning the dialog opened with (OK compares the tuning with it).
  CString LineTuning() const { return m_lineTuning; }

  BOOL OnInitDialog() override;
  bool OnOK() override;

  KChordGrid& Grid() { return m_grid; }
  // A click in the grid picture, as the window reports it.
  void OnGridClick(const DialogMouse& mouse);
  void OnClear();
  void OnStringCount();
  void OnFretRows();
  void OnFretPosition();
  void OnKeyChosen();
  void OnTypeEdited();
  void OnOptions();
  CString NameDisplay() const { return m_nameDisplay; }

 protected:
  void DeclareControls(DialogControls& controls) override;
  void DescribeLayout(DialogLayoutItem& layout) const override;

 private:
  void Refresh();
  void DrawGrid();
  void DrawDiagram();
  CString PitchText() const;

  KChordGrid m_grid;
  CString m_lineTuning;
  CString m_nameDisplay;
  bool m_blank = false;
  int m_keyRow = 0;
  int m_stringRadio = 4;
  int m_rowsRadio = 0;
  int m_fretPosition = 0;
  int m_barsRadio = 1;
  int m_sideRadio = 1;
  int m_hideName = 0;
  int m_showHint = 1;
  int m_noVariationNumber = 1;
  CBitmap m_gridPicture;
  CBitmap m_diagramPicture;
};
