#include "dialogs/KDlg8StringChordDes.h"

#include <algorithm>

#include "chords/ChordAudition.h"
#include "chords/ChordDictionary.h"
#include "chords/ChordDictionaryWrite.h"
#include "chords/ChordNames.h"
#include "chords/ChordRecordKeys.h"
#include "chords/ChordRecordTuningInfo.h"
#include "chords/ChordSettings.h"
#include "common/ChordDiagram.h"
#include "common/ChordShape.h"
#include "common/Globals.h"
#include "common/HelpTopics.h"
#include "common/TuningCodec.h"
#include "dialogs/ChordPictures.h"
#include "platform/Registry.h"
#include "platform/UiPort.h"

namespace {

constexpr UINT kMsgStoreFailed = 7012;
constexpr UINT kMsgBadKey = 7015;
constexpr UINT kMsgOtherTuning = 8220;
constexpr COLORREF kBlack = RGB(0, 0, 0);

std::vector<std::string> RootRows() {
  std::vector<std::string> rows;
  for (int i = 0; i < kChordRootCount; ++i) rows.push_back(std::string(ChordRootCode(i).View()));
  return rows;
}

bool NamesBlank(const CString& type) {
  return type.Find("Blank") >= 0 || type.Find("BLANK") >= 0 || type.Find("blank") >= 0;
}

// The program's tuning for a string count.
CString DefaultTuning(int strings, bool bass) {
  switch (strings) {
    case 2:
      return bass ? g_TuningBass2 : g_TuningTwoString;
    case 3:
      return bass ? g_TuningBass3 : g_TuningDiatonic;
    case 4:
      return bass ? g_TuningBass4 : g_TuningFourString;
    case 5:
      return bass ? g_TuningBass5 : g_TuningFiveString;
    case 7:
      return bass ? g_TuningBass7 : g_TuningGuitar7;
    case 8:
      return bass ? g_TuningBass8 : g_TuningGuitar8;
    default:
      return bass ? g_TuningBass6 : g_TuningGuitar;
  }
}

}  // namespace

KDlg8StringChordDes::KDlg8StringChordDes()
    : KModalDialog(kTemplateId),
      m_tabChord(std::make_unique<KChord>(0, 0)),
      m_staffChord(std::make_unique<KChord>(0, 0)) {}

KDlg8StringChordDes::~KDlg8StringChordDes() = default;

void KDlg8StringChordDes::DeclareControls(DialogControls& c) {
  c.SetTitle("Chord Designer");
  c.Static(kIdTuning, "");
  c.RadioGroup(kIdFirstStringCount, "&2", m_stringRadio).WhenChanged([this] { OnStringCount(); });
  for (UINT n = 3; n <= 8; ++n)
    c.Radio(kIdFirstStringCount + n - 2, "&" + std::to_string(n)).WhenChanged([this] { OnStringCount(); });
  c.RadioGroup(kIdFirstFretRows, "&4", m_rowsRadio).WhenChanged([this] { OnFretRows(); });
  for (UINT n = 5; n <= 7; ++n)
    c.Radio(kIdFirstFretRows + n - 4, "&" + std::to_string(n)).WhenChanged([this] { OnFretRows(); });
  c.Static(kIdTuningLabel, "Tuning:");
  for (int n = 8; n >= 1; --n) {
    const UINT k = static_cast<UINT>(n - 1);
    c.Static(kIdFirstTuningName + k, "");
    c.Spin(kIdFirstTuningSpin + k, [this, n](int delta) { OnTuningStep(n, delta); });
    c.Static(kIdFirstPitchLabel + k, "");
  }
  c.Picture(kIdGrid, m_gridPicture, KChordGrid::kWidth, KChordGrid::kHeight).onMouse =
      [this](const DialogMouse& mouse) { OnGridClick(mouse); };
  c.Static(kIdFingerLabel, "Notes and fingering:");
  for (int n = 8; n >= 1; --n) {
    const UINT k = static_cast<UINT>(n - 1);
    c.Static(kIdFirstNoteName + k, "");
    c.Static(kIdFirstFinger + k, "");
    c.Spin(kIdFirstFingerSpin + k, [this, n](int delta) { OnFingerStep(n, delta); });
  }
  c.Check(kIdMultipleDots, "Allow &multiple dots per string (Ctrl+click to clear dots)", m_multipleDots)
      .WhenChanged([this] { OnMultipleDots(); });
  c.Static(kIdFretIntervals, "");
  c.Picture(kIdTabPreview, m_tabPicture, 50, 103);
  c.Picture(kIdStaffPreview, m_staffPicture, 95, 151);
  c.Picture(kIdDiagram, m_diagramPicture, 60, 70).onMouse = [this](const DialogMouse& mouse) {
    if (mouse.button == 2)
      PlayChordShape(shape, tuning, (mouse.flags & kDialogMouseControl) != 0 ? g_chordSettings.strumDelay : 0,
                     g_chordSettings.chordInstrument);
  };
  c.Static(kIdNameDisplay, "");
  c.Static(kIdKeyLabel, "&Key:");
  c.Combo(kIdKey, m_keyRow, RootRows()).WhenChanged([this] { OnKeyChosen(); });
  c.Static(kIdTypeLabel, "Chord &Type:");
  c.Edit(kIdType, chordType, 15).WhenChanged([this] { OnTypeEdited(); });
  c.Static(kIdDetailsLabel, "&Details / Extra Info:");
  c.Edit(kIdDetails, details, 30);
  c.Static(kIdHintLabel, "&Var Hint:");
  c.Edit(kIdHint, varHint, 5).WhenChanged([this] { OnOptions(); });
  c.Static(kIdPositionLabel, "&Fret position:");
  c.Number(kIdFretPosition, m_fretPosition, 0, 24).WhenChanged([this] { OnFretPosition(); });
  c.Spin(kIdFretPositionSpin, [this](int delta) { OnFretPositionStep(delta); });
  c.RadioGroup(kIdArcs, "&Arcs", m_barsRadio).WhenChanged([this] { OnOptions(); });
  c.Radio(kIdArcs + 1, "&Bars").WhenChanged([this] { OnOptions(); });
  c.RadioGroup(kIdLeft, "&Left  or", m_sideRadio).WhenChanged([this] { OnOptions(); });
  c.Radio(kIdLeft + 1, "&Right").WhenChanged([this] { OnOptions(); });
  c.Check(kIdHideName, "Hide chord &name", m_hideName).WhenChanged([this] { OnOptions(); });
  c.Check(kIdShowHint, "&Show var. hint with name", m_showHint).WhenChanged([this] { OnOptions(); });
  c.Check(kIdNoVariationNumber, "&Don't show variation number", m_noVariationNumber).WhenChanged([this] {
    OnOptions();
  });
  c.Button(kIdClear, "Cl&ear Chord", DialogButtonRole::kAction, [this] { OnClear(); });
  c.Button(kIdPlay, "&Play Chord", DialogButtonRole::kAction,
           [this] { PlayChordShape(shape, tuning, 0, g_chordSettings.chordInstrument); });
  c.Button(IDOK, "&OK (Add to chord dictionary)", DialogButtonRole::kOk);
  c.Button(IDCANCEL, "Cancel", DialogButtonRole::kCancel);
  c.Button(kIdHelp, "&Help", DialogButtonRole::kHelp, [] { ShowHelpTopic(HelpTopic::kChordDesigner); });
  c.Keep(shape);
}

void KDlg8StringChordDes::DescribeLayout(DialogLayoutItem& layout) const {
  using namespace dialog_layout;
  // One column of controls per string, string 8 leftmost, centred over and
  // under the grid as its strings are.
  DialogLayoutItem tuningRow = Row({Stretch()});
  DialogLayoutItem fingerRow = Row({Stretch()});
  for (int n = 8; n >= 1; --n) {
    const UINT k = static_cast<UINT>(n - 1);
    tuningRow.children.push_back(
        Column({Ctl(kIdFirstTuningName + k), Ctl(kIdFirstTuningSpin + k), Ctl(kIdFirstPitchLabel + k)}));
    fingerRow.children.push_back(
        Column({Ctl(kIdFirstNoteName + k), Ctl(kIdFirstFinger + k), Ctl(kIdFirstFingerSpin + k)}));
  }
  tuningRow.children.push_back(Stretch());
  fingerRow.children.push_back(Stretch());
  layout = Column({
      Ctl(kIdTuning),
      Row({Ctl(kIdFirstStringCount), Ctl(kIdFirstStringCount + 1), Ctl(kIdFirstStringCount + 2),
           Ctl(kIdFirstStringCount + 3), Ctl(kIdFirstStringCount + 4), Ctl(kIdFirstStringCount + 5),
           Ctl(kIdFirstStringCount + 6), Stretch(), Ctl(kIdFirstFretRows), Ctl(kIdFirstFretRows + 1),
           Ctl(kIdFirstFretRows + 2), Ctl(kIdFirstFretRows + 3)}),
      Row({Column({Ctl(kIdTuningLabel), tuningRow, Ctl(kIdGrid), Ctl(kIdFingerLabel), fingerRow}),
           Column({Ctl(kIdNameDisplay), Ctl(kIdDiagram), Ctl(kIdPlay), Ctl(kIdClear), Stretch()}),
           Ctl(kIdTabPreview), Ctl(kIdStaffPreview)}),
      Row({Ctl(kIdMultipleDots), Ctl(kIdFretIntervals), Stretch()}),
      Row({Column({Form({Field(kIdKeyLabel, kIdKey), Field(kIdTypeLabel, kIdType),
                         Field(kIdDetailsLabel, kIdDetails), Field(kIdHintLabel, kIdHint)}),
                   Row({Ctl(kIdPositionLabel), Ctl(kIdFretPosition), Ctl(kIdFretPositionSpin), Stretch()})}),
           Column({Row({Ctl(kIdArcs), Ctl(kIdArcs + 1)}), Row({Ctl(kIdLeft), Ctl(kIdLeft + 1)}),
                   Ctl(kIdHideName), Ctl(kIdShowHint), Ctl(kIdNoVariationNumber)})}),
  });
}

CString KDlg8StringChordDes::PitchText() const {
  // The tuning's pitch digits from character 13 on, without its fret list.
  CString part = tuning;
  const int marker = part.Find(g_FretListMarker);
  if (marker > 0) part = part.Left(marker);
  return part.Mid(13, 14);
}

BOOL KDlg8StringChordDes::OnInitDialog() {
  m_lineTuning = tuning;
  record.Empty();
  stored = false;
  const int strings = GetTuningStringCount(tuning);
  m_grid.SetStringCount(strings);
  m_grid.bass = tuning.GetLength() > 12 && tuning[12] == '*' ? 1 : 0;
  m_tuningRow.Load(tuning);
  m_grid.shortFifthFret = m_tuningRow.ShortFifthFret();

  // The shape as 40 characters, cut back to its strings.
  CString padded = shape;
  while (padded.GetLength() < 40) padded += ' ';
  padded = padded.Left(40);
  if (padded[36] == '8') {
  } else if (padded[32] == '7') {
    padded = padded.Left(36);
  } else {
    padded.TrimRight();
  }
  const bool longShape = padded.GetLength() >= 26;
  int mask = longShape ? padded[25] - '0' : 0;
  if (mask < 0 || mask > 63) mask = 0;
  int rows = longShape && padded[24] >= '4' && padded[24] <= '7' ? padded[24] - '0' : 4;
  if (mask == 0) rows = 4;
  // A shape with dots after position 40 turns several dots per string on.
  m_multipleDots = shape.GetLength() > 40 && MultipleDotsOffered() ? 1 : 0;
  m_grid.SetMultipleDots(m_multipleDots != 0);
  if (m_multipleDots != 0) {
    m_grid.LoadDots(shape.Mid(40));
    rows = std::clamp(std::max(rows, m_grid.HighestDotRow()), 4, 7);
  }
  // The grid's strings, lowest first: the extra strings before the six.
  CString prefix = padded.Left(7);
  const int pads = strings < 5 ? 5 - strings : 0;
  if (strings < 5) prefix = prefix.Left(1) + prefix.Mid(1 + pads);
  mask >>= pads;
  if (padded.GetLength() > 35) {
    prefix = prefix.Left(1) + CString(padded[33]) + prefix.Mid(1);
    mask = (mask << 1) | (padded[34] == '1' ? 1 : 0);
  }
  if (padded.GetLength() > 39) {
    prefix = prefix.Left(1) + CString(padded[37]) + prefix.Mid(1);
    mask = (mask << 1) | (padded[38] == '1' ? 1 : 0);
  }
  varHint = padded.GetLength() >= 20 ? padded.Mid(7, 8) : CString();
  varHint.TrimRight();
  const KChordSettings& s = g_chordSettings;
  if (padded.GetLength() < 20) {
    m_hideName = 0;
    m_showHint = 1;
    m_noVariationNumber = 1;
    m_barsRadio = s.designer[3] == 2 ? 1 : 0;
    m_sideRadio = s.designer[2] == 2 ? 0 : 1;
  } else {
    m_noVariationNumber = padded[17] == '1' ? 1 : 0;
    m_showHint = padded[18] == '1' ? 1 : 0;
    m_hideName = padded[19] == '1' ? 1 : 0;
    m_barsRadio = s.designer[3] == 1 ? 0 : s.designer[3] == 2 ? 1 : (padded[20] == '1' ? 1 : 0);
    m_sideRadio = s.designer[2] == 1 ? 1 : s.designer[2] == 2 ? 0 : (padded[21] == '1' ? 0 : 1);
  }
  m_grid.SetFretRows(rows);
  m_rowsRadio = rows - 4;
  m_stringRadio = strings - 2;
  const int keyIndex = ChordRootIndex(key);
  if (keyIndex < 0) {
    AfxMessageBox(kMsgBadKey);
    EndDialog(IDCANCEL);
    return TRUE;
  }
  m_keyRow = keyIndex;
  if (chordType.IsEmpty()) chordType = "(major)";
  m_blank = NamesBlank(chordType);
  if (m_blank) {
    m_grid.Clear();
  } else {
    m_grid.Load(prefix, mask);
    // The fingering labels of the six shape positions.
    const CString labels = "0123456789:;<=>?@ABCDEFGHIJ ";
    if (padded.GetLength() >= 32) {
      for (int s2 = 0; s2 < strings && s2 < 6; ++s2) {
        const int index = labels.Find(padded[26 + s2 + pads]);
        m_grid.finger[static_cast<std::size_t>(s2 + (strings > 6 ? strings - 6 : 0))] =
            index < 0 ? 27 : index;
      }
    }
    // The extra strings' labels stand in their own fields.
    if (strings >= 7 && padded.GetLength() >= 36) {
      const int index = labels.Find(padded[35]);
      m_grid.finger[strings == 8 ? 1 : 0] = index < 0 ? 27 : index;
    }
    if (strings == 8 && padded.GetLength() >= 40) {
      const int index = labels.Find(padded[39]);
      m_grid.finger[0] = index < 0 ? 27 : index;
    }
    // A muted string's label becomes the one later muted strings get.
    for (int s2 = 0; s2 < strings; ++s2) {
      const int label = m_grid.finger[static_cast<std::size_t>(s2)];
      if (m_grid.Value(s2) == 9 && (label == 27 || label == 5)) KChordGrid::mutedFinger = label;
    }
  }
  m_fretPosition = m_grid.FretPosition();
  KModalDialog::OnInitDialog();
  ShowStringControls();
  Refresh();
  return TRUE;
}

bool KDlg8StringChordDes::MultipleDotsOffered() const {
  // Not for seven and eight strings (their shapes have no room for dots), nor
  // for a tuning with a fret list.
  return m_grid.StringCount() < 7 && m_tuningRow.FretList().IsEmpty();
}

void KDlg8StringChordDes::ShowStringControls() {
  DialogControls& c = Controls();
  const int strings = m_grid.StringCount();
  for (int n = 1; n <= 8; ++n) {
    const UINT k = static_cast<UINT>(n - 1);
    const bool shown = n <= strings;
    for (UINT first : {kIdFirstTuningName, kIdFirstTuningSpin, kIdFirstPitchLabel, kIdFirstNoteName,
                       kIdFirstFinger, kIdFirstFingerSpin})
      c.Show(first + k, shown);
  }
  c.Show(kIdMultipleDots, MultipleDotsOffered());
  // A fret list's intervals up to the twelfth fret.
  CString intervals;
  const CString list = m_tuningRow.FretList();
  if (list.GetLength() > 12) {
    const int comma = list.Find(',');
    const int twelve = list.Find(",12");
    if (comma >= 0 && twelve > comma) intervals = list.Mid(comma + 1, twelve + 3 - comma - 1);
  }
  c.Show(kIdFretIntervals, !intervals.IsEmpty());
  c.SetCaption(kIdFretIntervals,
               intervals.IsEmpty() ? std::string() : "Fret Intervals: 0," + intervals.Str() + "...");
}

void KDlg8StringChordDes::ShowStringTexts() {
  DialogControls& c = Controls();
  const int strings = m_grid.StringCount();
  FretMap map{};
  for (int f = 0; f < kFretMapSize; ++f) map[static_cast<std::size_t>(f)] = f;
  ParseFretList(tuning, &map);
  for (int n = 1; n <= strings; ++n) {
    const UINT k = static_cast<UINT>(n - 1);
    const int slot = strings - n;
    c.SetCaption(kIdFirstTuningName + k, m_tuningRow.Name(n).Str());
    c.SetCaption(kIdFirstPitchLabel + k, m_tuningRow.PitchLabel(n).Str());
    c.SetCaption(kIdFirstFinger + k,
                 KChordGrid::FingerLabel(m_grid.finger[static_cast<std::size_t>(slot)]).Str());
    const int value = m_grid.Value(slot);
    CString note = " X ";
    if (value != 9) {
      const int fret = value == 0 ? 0 : std::max(m_grid.FretPosition(), 1) + value % 10 - 1;
      const int semitone = map[static_cast<std::size_t>(std::clamp(fret, 0, kFretMapSize - 1))];
      note = DesignerNoteName(key, m_tuningRow.Pitch(n), semitone);
    }
    c.SetCaption(kIdFirstNoteName + k, note.Str());
  }
}

void KDlg8StringChordDes::Refresh() {
  m_grid.barsStyle = m_barsRadio == 1 ? 1 : 0;
  m_grid.positionLeft = m_sideRadio == 0 ? 1 : 0;
  m_grid.hideName = m_hideName;
  m_grid.showHint = m_showHint;
  m_grid.noVariationNumber = m_noVariationNumber;
  m_grid.variationHint = varHint;
  shape = m_blank ? CString(EmptyChordShape(m_grid.StringCount())) : m_grid.BuildShape();
  m_nameDisplay = key + chordType;
  DialogControls& c = Controls();
  c.Find(kIdNameDisplay)->caption = std::string(m_nameDisplay.View());
  CString names;
  GetTuningNoteNames(tuning, names);
  c.Find(kIdTuning)->caption = "Tuning: " + std::string(names.View());
  ShowStringTexts();
  DrawGrid();
  DrawDiagram();
  DrawPreviews();
}

void KDlg8StringChordDes::OnGridClick(const DialogMouse& mouse) {
  if (!m_grid.Click(mouse.x, mouse.y, mouse.button, (mouse.flags & kDialogMouseShift) != 0,
                    (mouse.flags & kDialogMouseControl) != 0))
    return;
  if (m_blank) {
    // The first edit of a blank chord gives it a name of its own.
    m_blank = false;
    if (chordType.Find("Blank") >= 0 || chordType.Find("BLANK") >= 0 || chordType.Find("blank") >= 0) {
      chordType = "NoName";
      Controls().Find(kIdType)->text = "NoName";
    }
  }
  m_fretPosition = m_grid.FretPosition();
  Refresh();
}

void KDlg8StringChordDes::OnClear() {
  m_grid.Clear();
  m_fretPosition = 0;
  Controls().Find(kIdFretPosition)->text = "0";
  Refresh();
}

void KDlg8StringChordDes::OnStringCount() {
  const int strings = Controls().RadioValue(kIdFirstStringCount) + 2;
  if (strings == m_grid.StringCount() || strings < 2) return;
  m_stringRadio = strings - 2;
  tuning = DefaultTuning(strings, m_grid.bass != 0);
  m_tuningRow.Load(tuning);
  m_grid.SetStringCount(strings);
  m_grid.shortFifthFret = m_tuningRow.ShortFifthFret();
  if (!MultipleDotsOffered()) {
    m_multipleDots = 0;
    m_grid.SetMultipleDots(false);
    Controls().SetShown(kIdMultipleDots, 0);
  }
  Controls().Find(kIdFretPosition)->text = "0";
  ShowStringControls();
  Refresh();
}

void KDlg8StringChordDes::OnMultipleDots() {
  m_multipleDots = Controls().Checked(kIdMultipleDots);
  // Off: every extra dot goes; the strings keep what they play.
  m_grid.SetMultipleDots(m_multipleDots != 0);
  Refresh();
}

void KDlg8StringChordDes::OnTuningStep(int stringNumber, int delta) {
  if (!m_tuningRow.Step(stringNumber, delta)) return;
  tuning = m_tuningRow.Build();
  Refresh();
}

void KDlg8StringChordDes::OnFingerStep(int stringNumber, int delta) {
  const int slot = m_grid.StringCount() - stringNumber;
  if (slot < 0) return;
  m_grid.StepFinger(slot, delta);
  Refresh();
}

void KDlg8StringChordDes::OnFretRows() {
  m_grid.SetFretRows(Controls().RadioValue(kIdFirstFretRows) + 4);
  Refresh();
}

void KDlg8StringChordDes::OnFretPosition() {
  DialogControl* control = Controls().Find(kIdFretPosition);
  const std::optional<int> position = ParseDialogInteger(control->text);
  if (!position || !m_grid.SetFretPosition(*position)) {
    control->text = std::to_string(m_grid.FretPosition());
    return;
  }
  m_fretPosition = *position;
  Refresh();
}

void KDlg8StringChordDes::OnFretPositionStep(int delta) {
  if (!m_grid.StepFretPosition(delta)) return;
  m_fretPosition = m_grid.FretPosition();
  Controls().Find(kIdFretPosition)->text = std::to_string(m_fretPosition);
  Refresh();
}

void KDlg8StringChordDes::OnKeyChosen() {
  const int row = Controls().Find(kIdKey)->value;
  if (row < 0 || row >= kChordRootCount) return;
  key = ChordRootCode(row);
  Refresh();
}

void KDlg8StringChordDes::OnTypeEdited() {
  CString type(Controls().Find(kIdType)->text);
  if (type.IsEmpty()) type = "(major)";
  // A type written after a natural root does not start with a flat sign.
  if (!type.IsEmpty() && type[0] == 'b' && key.GetAt(1) == ' ') type.SetAt(0, 'B');
  chordType = type;
  if (NamesBlank(type)) {
    m_blank = true;
    m_grid.Clear();
  }
  Refresh();
}

void KDlg8StringChordDes::OnOptions() {
  DialogControls& c = Controls();
  m_barsRadio = c.RadioValue(kIdArcs);
  m_sideRadio = c.RadioValue(kIdLeft);
  m_hideName = c.Checked(kIdHideName);
  m_showHint = c.Checked(kIdShowHint);
  m_noVariationNumber = c.Checked(kIdNoVariationNumber);
  varHint = CString(c.Find(kIdHint)->text);
  Refresh();
}

bool KDlg8StringChordDes::OnOK() {
  if (!UpdateData(TRUE)) return false;
  if (chordType.IsEmpty()) chordType = "(major)";
  key = ChordRootCode(std::clamp(m_keyRow, 0, kChordRootCount - 1));
  Refresh();
  if (tuning != m_lineTuning) {
    const int answer = AfxMessageBox(kMsgOtherTuning, MB_YESNOCANCEL);
    if (answer == IDCANCEL) return false;
    if (answer == IDNO) {
      EndDialog(IDCANCEL);
      return false;
    }
  }
  // The fret-interval field of a tuning with a fret list stands in the details.
  CString detailsField = details;
  const int marker = tuning.Find(g_FretListMarker);
  if (marker > 0) {
    const CString key = MakeTuningKey(tuning);
    const int keyMarker = key.Find(g_FretListMarker);
    if (keyMarker > 0) detailsField = key.Mid(keyMarker + g_FretListMarker.GetLength());
  } else if (m_multipleDots != 0) {
    // The dots ride at the end of the details, after "&&".
    const CString dots = m_grid.DotText();
    if (!dots.IsEmpty()) {
      const CString dotText = ("&&" + dots).Left(30);
      detailsField = details.Left(30 - dotText.GetLength()) + dotText;
    }
  }
  record = BuildChordRecord(tuning, PitchText(), key, chordType, detailsField, varHint, shape);
  if (record.IsEmpty() || !AppendChordRecords({record})) {
    // Nothing was stored: the caller must not take the chord as stored.
    AfxMessageBox(kMsgStoreFailed);
    stored = false;
    return true;
  }
  stored = true;

  // The barre style and fret-position side chosen are remembered.
  int* designer = g_chordSettings.designer;
  const int left = m_sideRadio == 0 ? 1 : 0;
  const int bars = m_barsRadio == 1 ? 1 : 0;
  if (designer[4] != left || designer[5] != bars || designer[1] == 0) {
    designer[4] = left;
    designer[5] = bars;
    designer[1] = 1;
    CString text;
    text.Format("%d,%d,%d,%d,%d,%d,9,9,9,9,9,9,9,9", designer[0], designer[1], designer[2], designer[3],
                designer[4], designer[5]);
    RegSetValue(HKEY_CURRENT_USER, "Software\\Stavlin\\Chords2", REG_SZ, text,
                static_cast<DWORD>(text.GetLength() + 1));
  }
  if (tuning == m_lineTuning) return true;
  // A chord of another tuning joins that tuning's dictionary entry but does
  // not go into the current line.
  const CString tuningKey = MakeTuningKey(tuning);
  CObject* found = nullptr;
  if (!g_ChordDictionary.Lookup(tuningKey, found)) {
    found = new KTuningInfo(tuningKey, ChordRecordPitchText(record));
    g_ChordDictionary.SetAt(tuningKey, found);
  }
  static_cast<KTuningInfo*>(found)->AddKey(key);
  EndDialog(IDCANCEL);
  return false;
}
