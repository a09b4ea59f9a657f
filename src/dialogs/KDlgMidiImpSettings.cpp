#include "dialogs/KDlgMidiImpSettings.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "common/Globals.h"
#include "common/HelpTopics.h"
#include "platform/StringTable.h"
#include "platform/UiPort.h"

namespace {

constexpr UINT kTooManyLinesMessage = 8208;
constexpr UINT kNothingSelectedMessage = 8212;
constexpr std::array<UINT, 6> kKindTexts = {8061, 8062, 8157, 8067, 8069, 8070};
constexpr std::array<const char*, 3> kMarkTexts = {"Y", " ", "*"};
constexpr std::array<const char*, 3> kOctaveTexts = {"+1", "", "-1"};
constexpr std::array<const char*, 4> kResolutionTexts = {"1/8", "1/16", "1/32", "1/64"};
constexpr const char* kWarningText =
    "WARNING:  Because there are too many MIDI tracks for Stavlin to handle (max 20), those marked with * "
    "will "
    "not be imported.  If other tracks are deselected for import it will free up space for these tracks.";

int LinesOf(const KDlgMidiImpSettings::Row& row) {
  return row.kind == KDlgMidiImpSettings::kKeyboard ? 2 : 1;
}

std::vector<std::string> InstrumentItems() {
  std::vector<std::string> items;
  for (int i = 0; i < 128; ++i) items.emplace_back(g_GmInstrumentNames[i].Str());
  return items;
}

}  // namespace

CString KDlgMidiImpSettings::ShownLabel(const CString& label) {
  if (label.GetLength() <= 17) return label;
  return label.Left(15) + "...";
}

void KDlgMidiImpSettings::SetRows(std::vector<Row> rows) {
  if (rows.size() > static_cast<size_t>(kMaxRows)) rows.resize(kMaxRows);
  m_rows = std::move(rows);
  m_selected.assign(m_rows.size(), false);
  if (!m_rows.empty()) m_selected[0] = true;
  m_caret = 0;
  Recount();
}

std::string KDlgMidiImpSettings::RowText(int index) const {
  if (index < 0 || index >= static_cast<int>(m_rows.size())) return {};
  const Row& r = m_rows[static_cast<size_t>(index)];
  const int program = r.program;
  const int name = std::clamp(program - 1, 0, kInstrumentNameCount - 1);
  char text[512];
  std::snprintf(text, sizeof text, "\t%2d\t(%d:%d)\t%s\t%s\t%5d\t%3d\t%s\t%s\t%s\t%s", index + 1, r.track,
                r.channel, kMarkTexts[static_cast<size_t>(std::clamp(r.mark, 0, 2))],
                static_cast<LPCTSTR>(ShownLabel(r.label)), r.noteCount, program,
                static_cast<LPCTSTR>(g_GmInstrumentNames[name]),
                static_cast<LPCTSTR>(LoadString(kKindTexts[static_cast<size_t>(std::clamp(r.kind, 0, 5))])),
                kOctaveTexts[static_cast<size_t>(std::clamp(r.octave, 0, 2))],
                kResolutionTexts[static_cast<size_t>(std::clamp(r.resolution, 0, 3))]);
  return text;
}

int KDlgMidiImpSettings::ImportCount() const {
  return static_cast<int>(
      std::count_if(m_rows.begin(), m_rows.end(), [](const Row& r) { return r.mark == kMarkYes; }));
}

bool KDlgMidiImpSettings::WarningShown() const {
  return std::any_of(m_rows.begin(), m_rows.end(), [](const Row& r) { return r.mark == kMarkOver; });
}

bool KDlgMidiImpSettings::SpaceOutShown() const { return m_lineCount == 1; }

void KDlgMidiImpSettings::Recount() {
  int count = 0;
  for (Row& row : m_rows) {
    if (row.mark != kMarkYes && row.mark != kMarkOver) continue;
    if (count >= kMaxLines || (count == kMaxLines - 1 && row.kind == kKeyboard)) {
      row.mark = kMarkOver;
    } else {
      row.mark = kMarkYes;
      count += LinesOf(row);
    }
  }
  m_lineCount = count;
  UpdateCounts();
}

void KDlgMidiImpSettings::UpdateCounts() {
  DialogControls& c = Controls();
  char text[16];
  std::snprintf(text, sizeof text, "%d", m_lineCount);
  c.SetCaption(kIdLineCount, text);
  c.Show(kIdWarning, WarningShown());
  c.Show(kIdSpaceOut, SpaceOutShown());
  ShowRows();
}

void KDlgMidiImpSettings::ShowRows() {
  std::vector<std::string> items;
  for (int i = 0; i < static_cast<int>(m_rows.size()); ++i) items.push_back(RowText(i));
  DialogControls& c = Controls();
  c.SetItems(kIdList, items);
  c.SetShown(kIdList, m_caret);
  c.SetShownRows(kIdList, SelectedRows());
}

std::vector<int> KDlgMidiImpSettings::SelectedRows() const {
  std::vector<int> rows;
  for (size_t i = 0; i < m_selected.size(); ++i) {
    if (m_selected[i]) rows.push_back(static_cast<int>(i));
  }
  return rows;
}

void KDlgMidiImpSettings::SelectRows(const std::vector<int>& rows) {
  m_selected.assign(m_rows.size(), false);
  for (int r : rows) {
    if (r >= 0 && r < static_cast<int>(m_rows.size())) m_selected[static_cast<size_t>(r)] = true;
  }
  if (!rows.empty() && rows.front() >= 0 && rows.front() < static_cast<int>(m_rows.size()))
    m_caret = rows.front();
  LoadCaretRow();
}

void KDlgMidiImpSettings::OnSelChange() {
  // The list chooses several rows; its caret row is the one the controls show.
  const DialogControls& c = Controls();
  const int count = static_cast<int>(m_rows.size());
  m_selected.assign(m_rows.size(), false);
  for (int r : c.SelectedRows(kIdList)) {
    if (r >= 0 && r < count) m_selected[static_cast<size_t>(r)] = true;
  }
  const int caret = c.Selected(kIdList);
  if (caret >= 0 && caret < count) m_caret = caret;
  LoadCaretRow();
}

void KDlgMidiImpSettings::LoadCaretRow() {
  if (m_rows.empty()) return;
  const Row& row = m_rows[static_cast<size_t>(std::clamp(m_caret, 0, static_cast<int>(m_rows.size()) - 1))];
  m_label = row.label;
  m_importRadio = row.mark == kMarkYes ? 0 : 1;
  m_kindRadio = row.kind == kBassTab ? kTab : row.kind;
  m_octaveRadio = std::clamp(row.octave, 0, 2);
  m_resolutionRadio = std::clamp(row.resolution, 0, 3);
  m_instrument = std::clamp(row.program - 1, 0, 127);
  // Only the caret row's controls: what the user typed into the title or
  // the staff length stays.
  DialogControls& c = Controls();
  for (UINT id : {kIdList, kIdLabel, kIdYes, kIdTreble, kIdOctaveUp, kIdRes8, kIdInstrument}) c.Load(id);
  char number[16];
  std::snprintf(number, sizeof number, "%2d", m_caret + 1);
  c.SetCaption(kIdRowNumber, number);
  const bool drum = row.kind == kDrum;
  for (UINT id : {kIdTreble, kIdBass, kIdKeyboard, kIdTab}) c.Enable(id, !drum);
  c.Enable(kIdDrum, drum);
  ShowRows();
}

void KDlgMidiImpSettings::OnLabelChanged() {
  const CString label(Controls().Text(kIdLabel).c_str());
  for (int r : SelectedRows()) m_rows[static_cast<size_t>(r)].label = label;
  ShowRows();
}

void KDlgMidiImpSettings::OnResolution(int index) {
  for (int r : SelectedRows()) m_rows[static_cast<size_t>(r)].resolution = std::clamp(index, 0, 3);
  ShowRows();
}

void KDlgMidiImpSettings::OnOctave(int index) {
  for (int r : SelectedRows()) m_rows[static_cast<size_t>(r)].octave = std::clamp(index, 0, 2);
  ShowRows();
}

void KDlgMidiImpSettings::OnStaffType(int kind) {
  for (int r : SelectedRows()) {
    Row& row = m_rows[static_cast<size_t>(r)];
    if (row.kind == kDrum) continue;
    if (kind == kTab) {
      row.kind = row.kind == kBass || row.kind == kBassTab ? kBassTab : kTab;
    } else if (kind == kTreble || kind == kBass || kind == kKeyboard) {
      row.kind = kind;
    }
  }
  Recount();
}

void KDlgMidiImpSettings::OnImport(bool yes) {
  for (int r : SelectedRows()) m_rows[static_cast<size_t>(r)].mark = yes ? kMarkYes : kMarkNo;
  Recount();
}

void KDlgMidiImpSettings::OnDoubleClickRow(int index) {
  if (index < 0 || index >= static_cast<int>(m_rows.size())) return;
  for (int i = 0; i < static_cast<int>(m_rows.size()); ++i)
    m_rows[static_cast<size_t>(i)].mark = i == index ? kMarkYes : kMarkNo;
  SelectRows({index});
  Recount();
}

BOOL KDlgMidiImpSettings::OnInitDialog() {
  KModalDialog::OnInitDialog();
  if (m_rows.empty()) return TRUE;
  m_selected.assign(m_rows.size(), false);
  m_selected[0] = true;
  m_caret = 0;
  LoadCaretRow();
  UpdateCounts();
  return TRUE;
}

bool KDlgMidiImpSettings::OnOK() {
  int lines = 0;
  for (const Row& row : m_rows) {
    if (row.mark == kMarkYes) lines += LinesOf(row);
  }
  if (lines > kMaxLines) {
    CString text;
    char sum[16];
    std::snprintf(sum, sizeof sum, "%d", lines);
    AfxFormatString2(text, kTooManyLinesMessage, sum, "20");
    AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  if (lines == 0 && AfxMessageBox(kNothingSelectedMessage, MB_YESNOCANCEL | MB_ICONQUESTION) != IDYES)
    return false;
  return KModalDialog::OnOK();
}

void KDlgMidiImpSettings::DeclareControls(DialogControls& c) {
  c.SetTitle("MIDI File Import Settings");
  // The rows' fields under their headings.
  c.MultiList(kIdList, m_caret, {})
      .WithColumns({"#", "(Trk:Ch)", "Import", "Label", "Notes", "Prog", "Instrument", "Staff", "Octave",
                    "Resolution"})
      .WhenChanged([this] { OnSelChange(); })
      .WhenDoubleClicked([this](int row) { OnDoubleClickRow(row); });
  c.Static(kIdWarning, kWarningText);
  c.Static(kIdRowNumber, " 1");
  c.Edit(kIdLabel, m_label).WhenChanged([this] { OnLabelChanged(); });
  c.RadioGroup(kIdYes, "&Y", m_importRadio).WhenChanged([this] { OnImport(true); });
  c.Radio(kIdNo, "&N").WhenChanged([this] { OnImport(false); });
  c.RadioGroup(kIdTreble, "&Treble", m_kindRadio).WhenChanged([this] { OnStaffType(kTreble); });
  c.Radio(kIdBass, "&Bass").WhenChanged([this] { OnStaffType(kBass); });
  c.Radio(kIdKeyboard, "&Keyboard").WhenChanged([this] { OnStaffType(kKeyboard); });
  c.Radio(kIdDrum, "&Drum").WhenChanged([this] { OnStaffType(kDrum); });
  c.Radio(kIdTab, "T&ab").WhenChanged([this] { OnStaffType(kTab); });
  c.RadioGroup(kIdOctaveUp, "&+1", m_octaveRadio).WhenChanged([this] { OnOctave(0); });
  c.Radio(kIdOctaveNone, "&0").WhenChanged([this] { OnOctave(1); });
  c.Radio(kIdOctaveDown, "&-1").WhenChanged([this] { OnOctave(2); });
  c.RadioGroup(kIdRes8, "1/&8", m_resolutionRadio).WhenChanged([this] { OnResolution(0); });
  c.Radio(kIdRes16, "1/1&6").WhenChanged([this] { OnResolution(1); });
  c.Radio(kIdRes32, "1/&32").WhenChanged([this] { OnResolution(2); });
  c.Radio(kIdRes64, "1/6&4").WhenChanged([this] { OnResolution(3); });
  c.Combo(kIdInstrument, m_instrument, InstrumentItems());
  c.Static(kIdTitleLabel, "Score title:");
  c.Edit(kIdTitle, title, 200);
  c.Static(kIdLengthLabel, "Staff length (pixels):");
  c.Number(kIdStaffLength, staffLength, 200, 32000);
  c.Static(kIdMethodLabel, "Import method:");
  c.RadioGroup(kIdMethod1, "&1", methodIndex);
  c.Radio(kIdMethod2, "&2");
  c.Check(kIdSpaceOut, "Space out the notes", spaceOut);
  c.Static(kIdLineCount, "0");
  c.Button(kIdHelp, "&Help", DialogButtonRole::kHelp, [] { ShowHelpTopic(HelpTopic::kMidiImpSettings); });
  c.Button(IDCANCEL, "&Cancel Import For This MIDI File", DialogButtonRole::kCancel);
  c.Button(IDOK, "&OK (Continue with MIDI Import)", DialogButtonRole::kOk);
}

void KDlgMidiImpSettings::DescribeLayout(DialogLayoutItem& layout) const {
  using namespace dialog_layout;
  layout.children = {
      Ctl(kIdList),
      Ctl(kIdWarning),
      dialog_layout::Row({Ctl(kIdRowNumber), Ctl(kIdLabel), Ctl(kIdYes), Ctl(kIdNo), Stretch()}),
      dialog_layout::Row(
          {Ctl(kIdTreble), Ctl(kIdBass), Ctl(kIdKeyboard), Ctl(kIdDrum), Ctl(kIdTab), Stretch()}),
      dialog_layout::Row({Ctl(kIdOctaveUp), Ctl(kIdOctaveNone), Ctl(kIdOctaveDown), Ctl(kIdRes8),
                          Ctl(kIdRes16), Ctl(kIdRes32), Ctl(kIdRes64), Stretch()}),
      dialog_layout::Row({Ctl(kIdInstrument), Ctl(kIdLineCount), Stretch()}),
      dialog_layout::Row({Ctl(kIdTitleLabel), Ctl(kIdTitle), Ctl(kIdLengthLabel), Ctl(kIdStaffLength)}),
      dialog_layout::Row(
          {Ctl(kIdMethodLabel), Ctl(kIdMethod1), Ctl(kIdMethod2), Ctl(kIdSpaceOut), Stretch()}),
  };
}
