#pragma once
// KDlgTabTuning: chooses or builds a string tuning for tablature and chord
// diagram lines: a named tuning from the built-in list or from the user's
// saved tunings, or one set string by string with note-name spinners, a
// number of strings from 2 to 8, a guitar or bass range, banjo fingering on
// a short fifth string and a fret list for instruments whose frets are not
// chromatic. It also collects where the tuning goes (which lines, whether
// fingering is translated and where translated lines go) and whether the
// tuning is saved under a name or a saved one removed. All texts are tuning
// strings (common/TuningCodec.h).
//
// Columns of strings stand right to left: column 0 is the rightmost. With six
// strings columns 1 to 6 show strings 1 (the highest) to 6; with other
// counts string k is in column k - 1... as the name slots of the tuning say
// (ColumnOfSlot). Columns 6 and 7 hold the seventh and eighth strings.
//
// Banjo tunings: a line keeps its short fifth string as the open pitch it
// would have at fret 0, with the fret it starts at as a digit after the
// names. The dialog shows the pitch the string sounds at that fret; OK turns
// it back.

#include <array>
#include <vector>

#include "common/TuningCodec.h"
#include "platform/ModalDialog.h"

class KDlgTabTuning : public KModalDialog {
 public:
  static constexpr UINT kTemplateId = 5504;
  static constexpr UINT kIdTrebleTab = 1193;
  static constexpr UINT kIdChordDiagrams = 1194;
  static constexpr UINT kIdSaveTuning = 1195;
  static constexpr UINT kIdTranslate = 1196;
  static constexpr UINT kIdShowTab = 1197;
  static constexpr UINT kIdShowPitches = 1198;
  static constexpr UINT kIdBanjo = 1199;
  static constexpr UINT kIdNameFirst = 1200;    // ..1207, columns 0..7
  static constexpr UINT kIdSpinFirst = 1208;    // ..1215
  static constexpr UINT kIdNumberFirst = 1216;  // ..1223
  static constexpr UINT kIdPitchFirst = 1224;   // ..1231
  static constexpr UINT kIdCountFirst = 1232;   // ..1238, "2".."8"
  static constexpr UINT kIdScopeFirst = 1239;   // ..1241
  static constexpr UINT kIdHelp = 1242;
  static constexpr UINT kIdShowIntervals = 1243;
  static constexpr UINT kIdList = 1244;
  static constexpr UINT kIdPlacementFirst = 1245;  // ..1247
  static constexpr UINT kIdGuitar = 1248;
  static constexpr UINT kIdBass = 1249;
  static constexpr UINT kIdListLabel = 1250;
  static constexpr UINT kIdBanjoFret = 1251;
  static constexpr UINT kIdSaveName = 1252;
  static constexpr UINT kIdFretFirst = 1253;  // ..1265, frets 0..12
  static constexpr UINT kIdFretCount = 1266;
  static constexpr UINT kIdIntervalsBox = 1267;
  static constexpr UINT kIdFretCountLabel = 1268;
  // Texts and boxes without an id in the template.
  static constexpr UINT kIdTypeBox = 40001;
  static constexpr UINT kIdCountLabel = 40002;
  static constexpr UINT kIdTuningBox = 40003;
  static constexpr UINT kIdOctaveHint = 40004;
  static constexpr UINT kIdRangeBox = 40005;
  static constexpr UINT kIdLineTypesLabel = 40006;
  static constexpr UINT kIdAfterBox = 40007;
  static constexpr UINT kIdPlacementLabel = 40008;
  static constexpr UINT kIdEachLineLabel = 40009;

  static constexpr int kColumns = 8;
  static constexpr int kFretSteps = 12;
  static constexpr int kMaxNameChars = 30;
  static constexpr int kSpinnerPositions = 17;
  // The list entry of the tunings table and its text (the string table holds
  // the built-in list: text at 10000 + 2i, tuning at 10001 + 2i).
  static constexpr UINT kFirstTuningText = 10000;
  static constexpr UINT kUnnamedText = 10150;
  static constexpr UINT kCountText = 10151;

  KDlgTabTuning();

  // ---- Fields the tuning command fills and reads ---------------------------------
  CString tuning;         // the tuning being edited (with "!@@!" and a fret list)
  int preferFlats = 0;    // bit 0: flat names for strings 7 and 8
  int bass = 0;           // 0 guitar, 1 bass
  int stringChoice = -1;  // number of strings - 2
  int showTabText = 1;
  int showPitches = 0;
  int scope = -1;  // 0 current or selected lines, 1 and all new lines, 2 all lines
  int retuneTab = 1;
  int retuneChords = 1;
  int translate = 0;
  int placement = -1;  // translated lines: 0 replace, 1 above, 2 below
  int saveTuning = 0;
  CString saveName;
  int removeMode = 0;     // a user tuning is chosen: OK removes it
  CString entryText;      // the store entry to add or remove
  CString selectionText;  // the chosen list entry's text (OK fills it)
  int fretCount = 24;
  std::array<int, kFretSteps> fretSteps{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  int banjoFingering = 0;
  int banjoFret = 5;

  // ---- State the dialog keeps (tests read it) ------------------------------------
  int builtInCount = 0;
  int listIndex = 0;
  int unnamed = 1;
  int stringCount = 6;
  int showIntervals = 1;
  TuningPitches openPitches{};
  FretMap fretMap{};
  CString fretListText;
  std::array<CString, kColumns> stringNames;
  std::array<int, kColumns> spinPositions{};

  BOOL OnInitDialog() override;
  bool OnOK() override;

  // ---- Handlers (the controls run them; tests may call them directly) -----------
  // A list entry chosen (selection change: withSwitch switches between saving
  // and removing as the entry is built-in or the user's).
  void ChooseListEntry(int index, bool withSwitch);
  void OnStringCount(int count);
  void OnBass();
  void OnGuitar();
  // The spinner of a column stepped up (+1) or down (-1).
  void OnSpin(int column, int delta);
  void OnShowIntervals();
  void OnFretIntervalsChanged();
  void OnBanjoFingering();
  void OnBanjoFretChanged();
  void OnHelp();

  // The list's texts: the built-in entries, the unnamed entry, the user's.
  const std::vector<std::string>& ListTexts() const { return m_listTexts; }
  // The shown name of a column and its pitch label ("D#5").
  std::string ColumnName(int column) const;
  std::string PitchLabel(int column) const;

 protected:
  void DeclareControls(DialogControls& controls) override;
  void DescribeLayout(DialogLayoutItem& layout) const override;

 private:
  // The column of a name slot (0..5) for the string count, -1 when not shown.
  int ColumnOfSlot(int slot) const;
  // The openPitches entry a column steps; -1 for none.
  int EntryOfColumn(int column) const;
  bool ColumnShown(int column) const;
  void LoadFretList();
  void ShowTuning(bool reparse);
  void UpdatePitches();
  void BuildTuningFromNames();
  void ApplyColumns();
  void ApplyIntervalsPanel();
  void ApplySaveBox();
  void SelectUnnamed();
  void BuildList(const CString& original, const CString& listForm);
  void SetStringCountHandler(int count, bool withDefaults);
  bool BanjoForm() const;
  // A stored banjo tuning turned into the form the dialog shows.
  static CString ShownBanjoForm(const CString& stored, int* startFret);
  CString BuiltInTuning(int index) const;
  void WriteBanjoDigit(bool on);

  std::vector<std::string> m_listTexts;
  std::vector<CString> m_userEntries;  // the entries listed after the unnamed one
  CString m_pitchDigits;
  std::array<CString, kColumns> m_numbers;
  std::array<CString, kColumns> m_pitchLabels;
  int m_fretZero = 0;
  bool m_initialising = false;
};
