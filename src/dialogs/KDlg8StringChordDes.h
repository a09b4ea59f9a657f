#pragma once
// The chord designer: the user draws a chord on a fretboard grid of 2 to 8
// strings (open and not-played markers, dots on up to seven fret rows,
// barres, a base fret, several dots per string when allowed), tunes each
// string, gives each string a fingering label, names the chord by root and
// type, sees it as a diagram, a tablature column and notes on a staff, and OK
// adds it to the user chord dictionary file as one record.

#include <memory>

#include "dialogs/ChordDesignerGrid.h"
#include "dialogs/ChordDesignerTuning.h"
#include "model/KChord.h"
#include "platform/CString.h"
#include "platform/GdiObjects.h"
#include "platform/ModalDialog.h"

class KDlg8StringChordDes : public KModalDialog {
 public:
  static constexpr UINT kTemplateId = 5560;
  // Per string, string number n (1 the highest) at first id + n - 1.
  static constexpr UINT kIdFirstNoteName = 1605;     // the note each string sounds
  static constexpr UINT kIdFirstPitchLabel = 1613;   // "(E3)"
  static constexpr UINT kIdFirstTuningSpin = 1621;   // steps the string's tuning
  static constexpr UINT kIdFirstTuningName = 1629;   // the string's name
  static constexpr UINT kIdFirstFingerSpin = 1637;   // steps the fingering label
  static constexpr UINT kIdFirstFinger = 1645;       // the fingering label
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
  static constexpr UINT kIdTabPreview = 1676;
  static constexpr UINT kIdStaffPreview = 1677;
  static constexpr UINT kIdDiagram = 1678;
  static constexpr UINT kIdNameDisplay = 1679;
  static constexpr UINT kIdArcs = 1683;
  static constexpr UINT kIdLeft = 1685;
  static constexpr UINT kIdPlay = 1687;
  static constexpr UINT kIdClear = 1688;
  static constexpr UINT kIdHelp = 1689;
  static constexpr UINT kIdFretIntervals = 1692;
  static constexpr UINT kIdMultipleDots = 1693;
  static constexpr UINT kIdKeyLabel = 1700;
  static constexpr UINT kIdTypeLabel = 1701;
  static constexpr UINT kIdDetailsLabel = 1702;
  static constexpr UINT kIdHintLabel = 1703;
  static constexpr UINT kIdPositionLabel = 1704;
  static constexpr UINT kIdTuning = 1705;
  static constexpr UINT kIdTuningLabel = 1706;
  static constexpr UINT kIdFingerLabel = 1707;
  static constexpr UINT kIdFretPositionSpin = 1708;  // steps the fret position round the neck

  KDlg8StringChordDes();
  ~KDlg8StringChordDes() override;

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
  const KDesignerTuning& TuningRow() const { return m_tuningRow; }
  // The chord as the previews show it: a tablature column and a staff column.
  const KChord& TabPreview() const { return *m_tabChord; }
  const KChord& StaffPreview() const { return *m_staffChord; }
  // A click in the grid picture, as the window reports it.
  void OnGridClick(const DialogMouse& mouse);
  void OnClear();
  void OnStringCount();
  void OnFretRows();
  void OnFretPosition();
  // The fret position's arrows: one step, wrapping between 24 and 0.
  void OnFretPositionStep(int delta);
  void OnKeyChosen();
  void OnTypeEdited();
  void OnOptions();
  void OnMultipleDots();
  // A spin of the tuning or fingering row of string number n.
  void OnTuningStep(int stringNumber, int delta);
  void OnFingerStep(int stringNumber, int delta);
  CString NameDisplay() const { return m_nameDisplay; }

 protected:
  void DeclareControls(DialogControls& controls) override;
  void DescribeLayout(DialogLayoutItem& layout) const override;

 private:
  void Refresh();
  void ShowStringControls();
  void ShowStringTexts();
  void DrawGrid();
  void DrawDiagram();
  void DrawPreviews();
  CString PitchText() const;
  bool MultipleDotsOffered() const;

  KChordGrid m_grid;
  KDesignerTuning m_tuningRow;
  std::unique_ptr<KChord> m_tabChord;
  std::unique_ptr<KChord> m_staffChord;
  int m_multipleDots = 0;
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
  CBitmap m_tabPicture;
  CBitmap m_staffPicture;
};
