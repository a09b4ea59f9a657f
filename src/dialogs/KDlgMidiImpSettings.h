#pragma once
// KDlgMidiImpSettings: "MIDI File Import Settings" (template 5556), opened by
// MIDI file import before anything is built. One row per track and channel
// of the file; the user chooses, for the selected rows, whether each is
// imported, its staff type, label, octave and note resolution, and for the
// whole file the score title, the staff length and the import method. At
// most 20 staff lines can be imported (a keyboard row takes two); rows beyond
// that are starred and left out.

#include <string>
#include <vector>

#include "platform/ModalDialog.h"

class KDlgMidiImpSettings : public KModalDialog {
 public:
  static constexpr UINT kTemplateId = 5556;
  static constexpr UINT kIdLabel = 32005;
  static constexpr UINT kIdTreble = 32006;
  static constexpr UINT kIdBass = 32007;
  static constexpr UINT kIdKeyboard = 32008;
  static constexpr UINT kIdTab = 32009;
  static constexpr UINT kIdRes8 = 32010;
  static constexpr UINT kIdRes16 = 32011;
  static constexpr UINT kIdRes32 = 32012;
  static constexpr UINT kIdRes64 = 32013;
  static constexpr UINT kIdStaffLength = 32014;
  static constexpr UINT kIdList = 32015;
  static constexpr UINT kIdTitle = 32016;
  static constexpr UINT kIdHelp = 32019;
  static constexpr UINT kIdDrum = 32020;
  static constexpr UINT kIdOctaveUp = 32021;
  static constexpr UINT kIdInstrument = 32022;
  static constexpr UINT kIdWarning = 32023;
  static constexpr UINT kIdMethod1 = 32024;
  static constexpr UINT kIdMethod2 = 32025;
  static constexpr UINT kIdYes = 32027;
  static constexpr UINT kIdNo = 32028;
  static constexpr UINT kIdLineCount = 32033;
  static constexpr UINT kIdOctaveNone = 32034;
  static constexpr UINT kIdOctaveDown = 32035;
  static constexpr UINT kIdSpaceOut = 32036;
  static constexpr UINT kIdRowNumber = 40001;
  static constexpr UINT kIdTitleLabel = 40002;
  static constexpr UINT kIdLengthLabel = 40003;
  static constexpr UINT kIdMethodLabel = 40004;

  static constexpr int kMaxRows = 40;
  static constexpr int kMaxLines = 20;
  // Import marks.
  static constexpr int kMarkYes = 0;
  static constexpr int kMarkNo = 1;
  static constexpr int kMarkOver = 2;
  // Staff kinds.
  static constexpr int kTreble = 0;
  static constexpr int kBass = 1;
  static constexpr int kKeyboard = 2;
  static constexpr int kDrum = 3;
  static constexpr int kTab = 4;
  static constexpr int kBassTab = 5;

  struct Row {
    int kind = kTreble;
    int track = 0;
    int channel = 0;
    int mark = kMarkYes;
    int program = 1;
    int resolution = 2;
    int noteCount = 0;
    int octave = 1;  // 0 "+1", 1 none, 2 "-1"
    CString label;
  };

  KDlgMidiImpSettings() : KModalDialog(kTemplateId) {}

  // Rows (at most kMaxRows kept); the marks are counted as in Recount.
  void SetRows(std::vector<Row> rows);
  const std::vector<Row>& Rows() const { return m_rows; }

  BOOL OnInitDialog() override;
  bool OnOK() override;

  // The list's selection: the caret row and the rows the buttons change.
  void SelectRows(const std::vector<int>& rows);
  void OnSelChange();
  // Button handlers, applied to every selected row.
  void OnLabelChanged();
  void OnResolution(int index);
  void OnOctave(int index);
  void OnStaffType(int kind);
  void OnImport(bool yes);
  // Double click: only that row is imported.
  void OnDoubleClickRow(int row);

  // Marks the rows beyond the line limit "*" (and those within it "Y"),
  // counts the lines and shows the warning and the space-out check.
  void Recount();
  int LineCount() const { return m_lineCount; }
  int ImportCount() const;
  bool WarningShown() const;
  bool SpaceOutShown() const;

  // The row's text in the list and its label as shown.
  std::string RowText(int row) const;
  static CString ShownLabel(const CString& label);

  CString title;
  int staffLength = 730;
  int methodIndex = 0;  // 0 method 1, 1 method 2
  int spaceOut = 0;

 protected:
  void DeclareControls(DialogControls& controls) override;
  void DescribeLayout(DialogLayoutItem& layout) const override;

 private:
  void ShowRows();
  void LoadCaretRow();
  std::vector<int> SelectedRows() const;
  void UpdateCounts();

  std::vector<Row> m_rows;
  std::vector<bool> m_selected;
  int m_caret = 0;
  int m_lineCount = 0;
  // Control members of the caret row.
  CString m_label;
  int m_importRadio = 0;
  int m_kindRadio = 0;
  int m_octaveRadio = 1;
  int m_resolutionRadio = 2;
  int m_instrument = 0;
};
