#include "dialogs/KDlgTabTuning.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "common/Globals.h"
#include "common/HelpTopics.h"
#include "dialogs/UserTuningStore.h"
#include "platform/StringTable.h"
#include "platform/UiPort.h"

namespace {

constexpr int kSlots = 6;
constexpr int kBassMarkIndex = 12;
constexpr int kBaseLength = 25;
constexpr int kSevenStringListLength = 28;
constexpr int kEightStringListLength = 30;
constexpr UINT kSaveCaption = 8010;
constexpr const char* kRemoveCaption = "Remove this tuning";
constexpr UINT kShowIntervalsCaption = 8162;
constexpr UINT kHideIntervalsCaption = 8163;
constexpr int kLowestPitch = -8;
constexpr int kHighestPitch = 99;
constexpr int kMaxStep = 48;
constexpr int kMaxBanjoFret = 9;  // the start fret is one digit of the tuning
// The 17 spinner names and the semitone of each (A = 0).
constexpr const char* kSpinnerNames = "AbA A#BbB C C#DbD D#EbE F F#GbG G#";
constexpr int kSpinnerSemitones[KDlgTabTuning::kSpinnerPositions] = {11, 0, 1, 1, 2, 3, 4,  4, 5,
                                                                     6,  6, 7, 8, 9, 9, 10, 11};
constexpr const char* kSharpCells = "G#A A#B C C#D D#E F F#G ";
constexpr const char* kFlatCells = "AbA BbB C DbD EbE F GbG ";
constexpr const char* kSharpLabels[12] = {"A", "A#", "B", "C", "C#", "D", "D#", "E", "F", "F#", "G", "G#"};
constexpr const char* kFlatLabels[12] = {"A", "Bb", "B", "C", "Db", "D", "Eb", "E", "F", "Gb", "G", "Ab"};

struct CountDefault {
  const char* tuning;  // null: the tuning is kept
  int listEntry;       // -1: the unnamed entry
};
// The tuning a string count gives when it changes, for guitar and for bass.
constexpr CountDefault kGuitarDefaults[7] = {
    {"      G D    000000475400", 42},
    {"    D A D    000042495400!@@!16,2,4,5,7,9,10,11,12,14,16,17,19", 36},
    {"  G D A E    003542495600!@@!20", 25},
    {"G D G B D   5594247515400!@@!22", 23},
    {"E A D G B E  323742475156", 0},
    {"E A D G B E  323742475156/", 17},
    {"E A D G B E  323742475156/*", 18},
};
constexpr CountDefault kBassDefaults[7] = {
    {nullptr, -1},
    {nullptr, -1},
    {"  E A D G   *002025303500", 19},
    {"B E A D G   *152025303500", 20},
    {"B E A D G C *152025303540", 21},
    {"B E A D G C *1520253035402", -1},
    {"B E A D G C *1520253035402-", -1},
};

std::string Str(const CString& text) { return std::string(text.View()); }

std::string Cell(const char* cells, int index) { return std::string(cells + 2 * index, 2); }

int TwoDigits(const std::string& text, size_t at) {
  if (text.size() < at + 2 || text[at] < '0' || text[at] > '9' || text[at + 1] < '0' || text[at + 1] > '9')
    return 0;
  return (text[at] - '0') * 10 + (text[at + 1] - '0');
}

std::string PadName(std::string name) {
  name.resize(2, ' ');
  return name;
}

// The spinner position of a two-character name; 0 when it is none of them.
int SpinnerPosition(const std::string& name) {
  const std::string cell = PadName(name);
  for (int i = 0; i < KDlgTabTuning::kSpinnerPositions; ++i) {
    if (Cell(kSpinnerNames, i) == cell) return i;
  }
  return 0;
}

std::string Before(const std::string& text, const std::string& marker) {
  const size_t p = text.find(marker);
  return p == std::string::npos ? text : text.substr(0, p);
}

std::string After(const std::string& text, const std::string& marker) {
  const size_t p = text.find(marker);
  return p == std::string::npos ? std::string() : text.substr(p + marker.size());
}

}  // namespace

KDlgTabTuning::KDlgTabTuning() : KModalDialog(kTemplateId) {}

// ---- Controls ---------------------------------------------------------------------------

void KDlgTabTuning::DeclareControls(DialogControls& c) {
  c.SetTitle("TAB Staff and Chord Diagram Tuning");
  c.Group(kIdTypeBox, "Type of Tablature or Chord Diagrams:");
  c.RadioGroup(kIdGuitar, "&Guitar, etc.", bass).WhenChanged([this] {
    if (Controls().Checked(kIdGuitar) != 0) OnGuitar();
  });
  c.Radio(kIdBass, "&Bass").WhenChanged([this] {
    if (Controls().Checked(kIdBass) != 0) OnBass();
  });
  c.Check(kIdShowTab, "&Show \"TAB\" on staff", showTabText);
  c.Static(kIdCountLabel, "Number of strings:");
  for (int n = 2; n <= 8; ++n) {
    const UINT id = kIdCountFirst + static_cast<UINT>(n - 2);
    const std::string caption = "&" + std::to_string(n);
    DialogControl& radio = n == 2 ? c.RadioGroup(id, caption, stringChoice) : c.Radio(id, caption);
    radio.WhenChanged([this, id, n] {
      if (Controls().Checked(id) != 0) OnStringCount(n);
    });
  }

  c.Group(kIdTuningBox, "Specify a Tuning...");
  for (int column = kColumns - 1; column >= 0; --column) {
    const auto j = static_cast<UINT>(column);
    c.Static(kIdNumberFirst + j, std::to_string(column + 1));
    c.Static(kIdNameFirst + j, "");
    c.Spin(kIdSpinFirst + j, [this, column](int delta) { OnSpin(column, delta); });
    c.Static(kIdPitchFirst + j, "D#5 ");
  }
  c.Static(kIdOctaveHint,
           "( ... A3, B3, C4 (=Middle C), D4, E4, F4, G4, A4, B4, C5 (=Middle C + 8va), D5, E5... )");
  c.Static(kIdListLabel, "Or select a named tuning:");
  c.Combo(kIdList, listIndex, {}).WhenChanged([this] {
    ChooseListEntry(Controls().Selected(kIdList), true);
  });
  c.Static(kIdFretCountLabel, "# Frets:");
  c.Number(kIdFretCount, fretCount, 1, 24).WhenChanged([this] { OnFretIntervalsChanged(); });
  c.Check(kIdShowPitches, "Show string tuning &pitches on current or selected Tab staff", showPitches);
  c.Button(kIdShowIntervals, LoadString(kShowIntervalsCaption).Str(), DialogButtonRole::kAction,
           [this] { OnShowIntervals(); });
  c.Check(kIdBanjo, "Use \"banjo &fingering\" on 5th string, starting at fret:", banjoFingering)
      .WhenChanged([this] { OnBanjoFingering(); });
  c.Number(kIdBanjoFret, banjoFret, 0, kMaxBanjoFret).WhenChanged([this] { OnBanjoFretChanged(); });
  c.Group(kIdIntervalsBox,
          "Fret Intervals  ( example: fret pitches D E F# G A... on one string => 0 2 4 5 7... )");
  c.Number(kIdFretFirst, m_fretZero, 0, 0);
  for (int fret = 1; fret <= kFretSteps; ++fret) {
    c.Number(kIdFretFirst + static_cast<UINT>(fret), fretSteps[static_cast<size_t>(fret - 1)], 0, kMaxStep)
        .WhenChanged([this] { OnFretIntervalsChanged(); });
  }

  c.Group(kIdRangeBox, "Range of new tuning...");
  c.Static(kIdLineTypesLabel, "Line types:");
  c.Check(kIdTrebleTab, "T&AB", retuneTab);
  c.Check(kIdChordDiagrams, "Chord &diagrams", retuneChords);
  c.RadioGroup(kIdScopeFirst, "C&urrent / selected line(s) only", scope);
  c.Radio(kIdScopeFirst + 1, "Current and all &new lines");
  c.Radio(kIdScopeFirst + 2, "A&ll lines in score");

  c.Group(kIdAfterBox, "After choosing a new tuning... ");
  c.Check(kIdTranslate, "&Translate current TAB or chord diagram fingering to new tuning.", translate);
  c.Static(kIdPlacementLabel, "Translated line(s) should: ");
  c.RadioGroup(kIdPlacementFirst, "&Replace", placement);
  c.Radio(kIdPlacementFirst + 1, "Go abo&ve");
  c.Radio(kIdPlacementFirst + 2, "Go belo&w");
  c.Static(kIdEachLineLabel, "each selected line");
  c.Check(kIdSaveTuning, "Save th&is tuning as:", saveTuning);
  c.Edit(kIdSaveName, saveName, kMaxNameChars);

  c.Button(kIdHelp, "&Help", DialogButtonRole::kHelp, [this] { OnHelp(); });
  c.Button(IDCANCEL, "&Cancel", DialogButtonRole::kCancel);
  c.Button(IDOK, "&OK", DialogButtonRole::kOk);
  c.Keep(tuning);
  c.Keep(removeMode);
  c.Keep(entryText);
  c.Keep(selectionText);
  c.Keep(banjoFingering);
}

void KDlgTabTuning::DescribeLayout(DialogLayoutItem& layout) const {
  using namespace dialog_layout;
  DialogLayoutItem counts = Row({Ctl(kIdCountLabel)});
  for (UINT i = 0; i < 7; ++i) counts.children.push_back(Ctl(kIdCountFirst + i));
  DialogLayoutItem columns = Row({});
  for (int column = kColumns - 1; column >= 0; --column) {
    const auto j = static_cast<UINT>(column);
    columns.children.push_back(
        Column({Ctl(kIdNumberFirst + j), Row({Ctl(kIdNameFirst + j), Ctl(kIdSpinFirst + j)}),
                Ctl(kIdPitchFirst + j)}));
  }
  DialogLayoutItem frets = Row({});
  for (UINT i = 0; i <= static_cast<UINT>(kFretSteps); ++i) frets.children.push_back(Ctl(kIdFretFirst + i));
  layout.children = {
      Box(kIdTypeBox, {Row({Ctl(kIdGuitar), Ctl(kIdBass), Ctl(kIdShowTab)}), counts}),
      Box(kIdTuningBox,
          {columns, Ctl(kIdOctaveHint), Row({Ctl(kIdListLabel), Ctl(kIdList)}),
           Row({Ctl(kIdFretCountLabel), Ctl(kIdFretCount), Ctl(kIdShowPitches), Ctl(kIdShowIntervals)}),
           Row({Ctl(kIdBanjo), Ctl(kIdBanjoFret), Stretch()}), Box(kIdIntervalsBox, {frets})}),
      Row({Box(kIdRangeBox, {Row({Ctl(kIdLineTypesLabel), Ctl(kIdTrebleTab), Ctl(kIdChordDiagrams)}),
                             Ctl(kIdScopeFirst), Ctl(kIdScopeFirst + 1), Ctl(kIdScopeFirst + 2)}),
           Box(kIdAfterBox, {Ctl(kIdTranslate),
                             Row({Ctl(kIdPlacementLabel), Ctl(kIdPlacementFirst), Ctl(kIdPlacementFirst + 1),
                                  Ctl(kIdPlacementFirst + 2), Ctl(kIdEachLineLabel)}),
                             Row({Ctl(kIdSaveTuning), Ctl(kIdSaveName)})})}),
  };
}

// ---- Columns and strings -----------------------------------------------------------------

int KDlgTabTuning::ColumnOfSlot(int slot) const {
  const int column = stringCount == 6 ? 6 - slot : 5 - slot;
  return ColumnShown(column) ? column : -1;
}

bool KDlgTabTuning::ColumnShown(int column) const {
  if (stringCount <= 6) return column >= 1 && column <= stringCount;
  return column >= 0 && column < stringCount;
}

int KDlgTabTuning::EntryOfColumn(int column) const {
  if (!ColumnShown(column)) return -1;
  return stringCount == 6 ? column - 1 : column;
}

std::string KDlgTabTuning::ColumnName(int column) const {
  return column >= 0 && column < kColumns ? Str(stringNames[static_cast<size_t>(column)]) : std::string();
}

std::string KDlgTabTuning::PitchLabel(int column) const {
  return column >= 0 && column < kColumns ? Str(m_pitchLabels[static_cast<size_t>(column)]) : std::string();
}

void KDlgTabTuning::ApplyColumns() {
  DialogControls& c = Controls();
  for (int column = 0; column < kColumns; ++column) {
    const auto j = static_cast<UINT>(column);
    const bool shown = ColumnShown(column);
    // Numbers: with up to six strings column 0 is blank and columns 1..n
    // read 1..n; with seven or eight, columns 0..n-1.
    int number = 0;
    if (shown) number = stringCount <= 6 ? column : column + 1;
    c.SetCaption(kIdNumberFirst + j, number > 0 ? std::to_string(number) : std::string());
    c.Show(kIdNameFirst + j, shown);
    c.Show(kIdSpinFirst + j, shown);
    c.SetCaption(kIdNameFirst + j, Str(stringNames[j]));
    c.SetCaption(kIdPitchFirst + j, shown ? Str(m_pitchLabels[j]) : std::string());
    c.SetShown(kIdSpinFirst + j, spinPositions[j]);
  }
  const bool banjo = stringCount == 5 && bass == 0;
  c.Show(kIdBanjo, banjo);
  c.Show(kIdBanjoFret, banjo);
}

void KDlgTabTuning::ApplyIntervalsPanel() {
  DialogControls& c = Controls();
  c.SetCaption(kIdShowIntervals,
               LoadString(showIntervals != 0 ? kHideIntervalsCaption : kShowIntervalsCaption).Str());
  c.Show(kIdIntervalsBox, showIntervals != 0);
  for (UINT i = 0; i <= static_cast<UINT>(kFretSteps); ++i) c.Show(kIdFretFirst + i, showIntervals != 0);
}

void KDlgTabTuning::ApplySaveBox() {
  Controls().SetCaption(kIdSaveTuning, removeMode != 0 ? kRemoveCaption : LoadString(kSaveCaption).Str());
  Controls().Show(kIdSaveName, removeMode == 0);
}

void KDlgTabTuning::SelectUnnamed() {
  listIndex = builtInCount;
  unnamed = 1;
  if (DialogControl* list = Controls().Find(kIdList)) list->value = listIndex;
}

// ---- Tunings -----------------------------------------------------------------------------

CString KDlgTabTuning::BuiltInTuning(int index) const {
  return LoadString(kFirstTuningText + 2 * static_cast<UINT>(index) + 1);
}

bool KDlgTabTuning::BanjoForm() const {
  const std::string t = Str(tuning);
  return stringCount == 5 && bass == 0 && t.size() > 14 && t[kBassMarkIndex] != '*' &&
         t[kBassMarkIndex] != ' ';
}

CString KDlgTabTuning::ShownBanjoForm(const CString& stored, int* startFret) {
  std::string t = Str(stored);
  if (GetTuningStringCount(stored) != 5 || t.size() <= 14 || t[kBassMarkIndex] < '1' ||
      t[kBassMarkIndex] > '9')
    return stored;
  const int fret = t[kBassMarkIndex] - '0';
  if (startFret != nullptr) *startFret = fret;
  const int pitch = std::min(TwoDigits(t, 13) + fret, kHighestPitch);
  const CString& name = PitchNameOf(pitch);
  t[0] = name.GetAt(0);
  t[1] = name.GetAt(1);
  t[13] = static_cast<char>('0' + pitch / 10);
  t[14] = static_cast<char>('0' + pitch % 10);
  return CString(std::string_view(t));
}

void KDlgTabTuning::LoadFretList() {
  fretCount = ParseFretList(tuning, &fretMap);
  bool chromatic = true;
  for (int i = 0; i < kFretSteps; ++i) {
    fretSteps[static_cast<size_t>(i)] = fretMap[static_cast<size_t>(i + 1)];
    chromatic = chromatic && fretSteps[static_cast<size_t>(i)] == i + 1;
  }
  fretListText = CString(std::string_view(After(Str(tuning), Str(g_FretListMarker))));
  showIntervals = chromatic ? 0 : 1;
  ApplyIntervalsPanel();
}

void KDlgTabTuning::ShowTuning(bool reparse) {
  if (reparse) ParseTuningString(tuning, bass != 0 ? kTuningFlagBass : 0, openPitches);
  const std::string t = Str(tuning);
  for (int slot = 0; slot < kSlots; ++slot) {
    const int column = ColumnOfSlot(slot);
    if (column < 0) continue;
    const size_t at = static_cast<size_t>(2 * slot);
    stringNames[static_cast<size_t>(column)] =
        CString(std::string_view(PadName(at < t.size() ? t.substr(at, 2) : "")));
  }
  // Strings 7 and 8 are named from their pitches.
  for (int extra = 6; extra <= 7; ++extra) {
    if (stringCount < extra + 1) continue;
    const int pitch = openPitches[static_cast<size_t>(extra)];
    std::string name = "  ";
    if (pitch > kLowestPitch - 1)
      name = Cell((preferFlats & 1) != 0 ? kFlatCells : kSharpCells, (pitch + 24) % 12);
    stringNames[static_cast<size_t>(extra)] = CString(std::string_view(name));
  }
  for (int column = 0; column < kColumns; ++column)
    spinPositions[static_cast<size_t>(column)] = SpinnerPosition(ColumnName(column));
  UpdatePitches();
}

void KDlgTabTuning::UpdatePitches() {
  std::string digits;
  for (int slot = 0; slot < kSlots; ++slot) {
    int pitch = ColumnOfSlot(slot) >= 0 ? openPitches[static_cast<size_t>(kSlots - 1 - slot)] : 0;
    pitch = std::clamp(pitch, 0, kHighestPitch);
    char cell[3];
    std::snprintf(cell, sizeof cell, "%02d", pitch);
    digits += cell;
  }
  // Strings 7 and 8: one character each, their pitch plus 20 (40 on bass).
  for (int extra = 6; extra <= 7 && stringCount > extra; ++extra) {
    const int pitch = openPitches[static_cast<size_t>(extra)];
    digits += static_cast<char>(std::clamp(pitch + (bass != 0 ? 40 : 20), 32, 126));
  }
  m_pitchDigits = CString(std::string_view(digits));

  for (int column = 0; column < kColumns; ++column) {
    const int entry = EntryOfColumn(column);
    std::string label;
    if (entry >= 0 && openPitches[static_cast<size_t>(entry)] > kLowestPitch - 1) {
      const int pitch = openPitches[static_cast<size_t>(entry)];
      const std::string name = ColumnName(column);
      const bool flat = name.size() > 1 && name[1] == 'b';
      const int index = ((pitch + 11) % 12 + 12) % 12;
      label = (flat ? kFlatLabels : kSharpLabels)[index];
      label += static_cast<char>('0' + std::clamp((pitch + 8) / 12, 0, 9));
    }
    m_pitchLabels[static_cast<size_t>(column)] = CString(std::string_view(label));
  }
  ApplyColumns();
}

void KDlgTabTuning::BuildTuningFromNames() {
  UpdatePitches();
  std::string names;
  for (int slot = 0; slot < kSlots; ++slot) {
    const int column = ColumnOfSlot(slot);
    names += column >= 0 ? PadName(ColumnName(column)) : std::string("  ");
  }
  names += bass != 0 ? '*' : ' ';
  names += Str(m_pitchDigits);
  if (!fretListText.IsEmpty()) names += Str(g_FretListMarker) + Str(fretListText);
  tuning = CString(std::string_view(names));
  removeMode = 0;
  ApplySaveBox();
}

void KDlgTabTuning::WriteBanjoDigit(bool on) {
  std::string t = Str(tuning);
  if (t.size() < 15) return;
  if (on && banjoFret > 0) {
    t[kBassMarkIndex] = static_cast<char>('0' + std::clamp(banjoFret, 1, kMaxBanjoFret));
  } else if (t[kBassMarkIndex] != '*') {
    t[kBassMarkIndex] = ' ';
  }
  tuning = CString(std::string_view(t));
}

// ---- Opening -----------------------------------------------------------------------------

void KDlgTabTuning::BuildList(const CString& original, const CString& listForm) {
  m_listTexts.clear();
  m_userEntries.clear();
  builtInCount = std::max(0, std::atoi(LoadString(kCountText).Str().c_str()));
  unnamed = 1;
  listIndex = builtInCount;
  bool matched = false;
  for (int i = 0; i < builtInCount; ++i) {
    const CString text = LoadString(kFirstTuningText + 2 * static_cast<UINT>(i));
    if (!matched && BuiltInTuning(i) == listForm) {
      listIndex = i;
      unnamed = 0;
      matched = true;
    }
    m_listTexts.push_back(Str(text));
  }
  m_listTexts.push_back(Str(LoadString(kUnnamedText)));
  int k = builtInCount + 1;
  for (const CString& entry : user_tunings::Entries(user_tunings::ReadStore())) {
    const CString entryTuning = user_tunings::TuningOf(entry);
    if (!matched && (entryTuning == original || entryTuning == listForm)) {
      listIndex = k;
      unnamed = 1;
      matched = true;
    }
    m_userEntries.push_back(entry);
    m_listTexts.push_back(Str(user_tunings::ListTextOf(entry)));
    ++k;
  }
  Controls().SetItems(kIdList, m_listTexts);
}

BOOL KDlgTabTuning::OnInitDialog() {
  m_initialising = true;
  KModalDialog::OnInitDialog();
  showIntervals = 1;
  selectionText.Empty();
  fretListText = CString(std::string_view(After(Str(tuning), Str(g_FretListMarker))));
  OnShowIntervals();

  const CString original = tuning;
  stringCount = std::clamp(stringChoice + 2, 2, 8);
  if (stringChoice == 3 && bass == 0) {
    int fret = 0;
    const CString shown = ShownBanjoForm(tuning, &fret);
    if (fret > 0) {
      banjoFingering = 1;
      banjoFret = fret;
      tuning = shown;
    }
  }
  ParseTuningString(tuning, bass != 0 ? kTuningFlagBass : 0, openPitches);
  LoadFretList();
  ShowTuning(false);

  // The list form: the names of strings 8 and 7 in front, as the list writes them.
  std::string form = Before(Str(tuning), Str(g_FretListMarker));
  const size_t length = form.size();
  if (length >= 26) form = PadName(ColumnName(6)) + form;
  if (length >= 27) form = PadName(ColumnName(7)) + form;
  const std::string whole = Str(tuning);
  const size_t formDigit = form.find_first_of("0123456789");
  const size_t tuningDigit = whole.find_first_of("0123456789");
  if (formDigit != std::string::npos && tuningDigit != std::string::npos)
    form = form.substr(0, formDigit) + whole.substr(tuningDigit);
  BuildList(original, CString(std::string_view(form)));

  SetStringCountHandler(stringCount, false);
  Controls().Load();
  m_initialising = false;
  return TRUE;
}

// ---- Handlers ----------------------------------------------------------------------------

void KDlgTabTuning::ChooseListEntry(int index, bool withSwitch) {
  if (index < 0 || index >= static_cast<int>(m_listTexts.size())) return;
  Controls().Store();
  listIndex = index;
  if (index == builtInCount) {
    unnamed = 1;
    if (withSwitch) {
      removeMode = 0;
      ApplySaveBox();
    }
    Controls().Load();
    return;
  }
  CString chosen;
  if (index < builtInCount) {
    chosen = BuiltInTuning(index);
    if (withSwitch) removeMode = 0;
  } else {
    entryText = m_userEntries[static_cast<size_t>(index - builtInCount - 1)];
    // Saved tunings hold a banjo's short string as lines do; shown as it sounds.
    chosen = ShownBanjoForm(user_tunings::TuningOf(entryText), nullptr);
    if (withSwitch) removeMode = 1;
  }
  if (withSwitch) ApplySaveBox();
  if (chosen.IsEmpty()) return;

  const std::string text = Str(chosen);
  std::string base = Before(text, Str(g_FretListMarker));
  const std::string list = After(text, Str(g_FretListMarker));
  if (base.size() == kSevenStringListLength) {
    base = base.substr(2);
  } else if (base.size() >= kEightStringListLength) {
    base = base.substr(4);
  }
  if (text.find(Str(g_FretListMarker)) != std::string::npos) base += Str(g_FretListMarker) + list;
  tuning = CString(std::string_view(base));
  LoadFretList();
  bass = base.size() > kBassMarkIndex && base[kBassMarkIndex] == '*' ? 1 : 0;
  int count = GetTuningStringCount(tuning);
  if (count < 2 || count > 8) count = 6;
  stringCount = count;
  SetStringCountHandler(count, false);
  banjoFingering = BanjoForm() ? 1 : 0;
  if (banjoFingering != 0) banjoFret = text[kBassMarkIndex] - '0';
  unnamed = 0;
  ShowTuning(true);
  Controls().Load();
}

void KDlgTabTuning::SetStringCountHandler(int count, bool withDefaults) {
  stringChoice = count - 2;
  if (withDefaults && stringCount != count) {
    const CountDefault& d = (bass != 0 ? kBassDefaults : kGuitarDefaults)[count - 2];
    if (d.tuning != nullptr) tuning = d.tuning;
    if (d.listEntry >= 0) {
      listIndex = d.listEntry;
      unnamed = 0;
    } else {
      SelectUnnamed();
    }
  }
  stringCount = count;
  banjoFingering = BanjoForm() ? 1 : 0;
  if (banjoFingering != 0) banjoFret = Str(tuning)[kBassMarkIndex] - '0';
  LoadFretList();
  ShowTuning(true);
}

void KDlgTabTuning::OnStringCount(int count) {
  if (count < 2 || count > 8) return;
  Controls().Store();
  SetStringCountHandler(count, true);
  Controls().Load();
}

void KDlgTabTuning::OnBass() {
  Controls().Store();
  bass = 1;
  const std::string t = Str(tuning);
  if (t.size() < 13 || t[kBassMarkIndex] != '*') {
    listIndex = 19;
    unnamed = 0;
    tuning = kBassDefaults[2].tuning;
    stringCount = 4;
  }
  SetStringCountHandler(4, true);
  Controls().Load();
}

void KDlgTabTuning::OnGuitar() {
  Controls().Store();
  bass = 0;
  const std::string t = Str(tuning);
  if (t.size() < 11 || t[0] == ' ' || t[10] == ' ') {
    listIndex = 0;
    unnamed = 0;
    tuning = kGuitarDefaults[4].tuning;
    stringCount = 6;
  }
  SetStringCountHandler(6, true);
  Controls().Load();
}

void KDlgTabTuning::OnSpin(int column, int delta) {
  const int entry = EntryOfColumn(column);
  if (entry < 0 || delta == 0) return;
  Controls().Store();
  const auto j = static_cast<size_t>(column);
  const int from = spinPositions[j];
  const int to =
      delta > 0 ? (from + 1) % kSpinnerPositions : (from + kSpinnerPositions - 1) % kSpinnerPositions;
  int step = kSpinnerSemitones[to] - kSpinnerSemitones[from];
  if (delta > 0) step = ((step % 12) + 12) % 12;
  if (delta < 0) step = -((((-step) % 12) + 12) % 12);
  int& pitch = openPitches[static_cast<size_t>(entry)];
  if ((delta < 0 && pitch <= kLowestPitch) || (delta > 0 && pitch >= kHighestPitch)) return;
  pitch += step;
  spinPositions[j] = to;
  stringNames[j] = CString(std::string_view(Cell(kSpinnerNames, to)));
  SelectUnnamed();
  BuildTuningFromNames();
  Controls().Load();
}

void KDlgTabTuning::OnShowIntervals() {
  showIntervals = showIntervals != 0 ? 0 : 1;
  ApplyIntervalsPanel();
}

void KDlgTabTuning::OnFretIntervalsChanged() {
  if (m_initialising) return;
  // What the boxes hold now; a box that holds no number yet changes nothing.
  const DialogControls& c = Controls();
  const std::optional<int> count = ParseDialogInteger(c.Text(kIdFretCount));
  if (!count || *count < 1 || *count > 24) return;
  std::array<int, kFretSteps> steps{};
  bool chromatic = true;
  for (int i = 0; i < kFretSteps; ++i) {
    const std::optional<int> step = ParseDialogInteger(c.Text(kIdFretFirst + static_cast<UINT>(i + 1)));
    if (!step || *step < 0 || *step > kMaxStep) return;
    steps[static_cast<size_t>(i)] = *step;
    chromatic = chromatic && *step == i + 1;
  }
  fretCount = *count;
  fretSteps = steps;
  for (int i = 0; i < kFretSteps; ++i) fretMap[static_cast<size_t>(i + 1)] = steps[static_cast<size_t>(i)];
  std::string list;
  if (!chromatic) {
    list = std::to_string(fretCount);
    for (int step : steps) list += "," + std::to_string(step);
  } else if (fretCount != 24) {
    list = std::to_string(fretCount);
  }
  fretListText = CString(std::string_view(list));
  std::string t = Before(Str(tuning), Str(g_FretListMarker));
  if (!list.empty()) t += Str(g_FretListMarker) + list;
  tuning = CString(std::string_view(t));
  SelectUnnamed();
  removeMode = 0;
  ApplySaveBox();
}

void KDlgTabTuning::OnBanjoFingering() {
  banjoFingering = Controls().Checked(kIdBanjo);
  if (const std::optional<int> fret = ParseDialogInteger(Controls().Text(kIdBanjoFret));
      fret && *fret >= 0 && *fret <= kMaxBanjoFret) {
    banjoFret = *fret;
  }
  WriteBanjoDigit(banjoFingering != 0);
}

void KDlgTabTuning::OnBanjoFretChanged() {
  if (m_initialising) return;
  const std::optional<int> fret = ParseDialogInteger(Controls().Text(kIdBanjoFret));
  if (!fret || *fret < 0 || *fret > kMaxBanjoFret) return;
  banjoFret = *fret;
  banjoFingering = 1;
  if (DialogControl* check = Controls().Find(kIdBanjo)) check->value = 1;
  WriteBanjoDigit(true);
}

void KDlgTabTuning::OnHelp() { ShowHelpTopic(HelpTopic::kTabTuning); }

// ---- OK ----------------------------------------------------------------------------------

bool KDlgTabTuning::OnOK() {
  if (!UpdateData(TRUE)) return false;
  if (unnamed == 0 && tuning.GetLength() < kBaseLength) {
    UpdatePitches();
    tuning += m_pitchDigits;
  } else if (unnamed != 0) {
    BuildTuningFromNames();
  }
  // A banjo's short string is kept as the open pitch it would have at fret 0.
  std::string t = Str(tuning);
  if (stringCount == 5 && banjoFingering != 0 && banjoFret > 0 && t.size() > 14) {
    const int fret = std::clamp(banjoFret, 1, kMaxBanjoFret);
    const int stored = std::max(TwoDigits(t, 13) - fret, 0);
    const CString& name = PitchNameOf(stored);
    t[0] = name.GetAt(0);
    t[1] = name.GetAt(1);
    t[kBassMarkIndex] = static_cast<char>('0' + fret);
    t[13] = static_cast<char>('0' + stored / 10);
    t[14] = static_cast<char>('0' + stored % 10);
    tuning = CString(std::string_view(t));
  }
  if (saveTuning != 0 && removeMode == 0) {
    CString name = user_tunings::SanitizeTuningName(saveName);
    if (name.IsEmpty()) name = "Custom Tuning";
    entryText = tuning + "-" + name;
  }
  selectionText = listIndex >= 0 && listIndex < static_cast<int>(m_listTexts.size())
                      ? CString(std::string_view(m_listTexts[static_cast<size_t>(listIndex)]))
                      : CString();
  return true;
}
