#include "dialogs/KDlgMidiInstruments.h"

#include <string>

#include "common/Globals.h"
#include "common/HelpTopics.h"
#include "platform/MidiScheduler.h"
#include "platform/UiPort.h"

namespace {

struct EffectCheck {
  int bit;
  UINT id;
  const char* caption;
};

// In the order the dialog shows them.
constexpr EffectCheck kEffectChecks[] = {
    {0, 1780, "Bends"},
    {8, 1784, "Slides"},
    {1, 1782, "Accents and crescendo/decrescendo"},
    {2, 1783, "Fermata"},
    {3, 1777, "Glissando and up/down strokes"},
    {4, 1781, "Multi-bar rests"},
    {5, 1778, "Tremolo notes"},
    {6, 1779, "Trills, mordents, and turns"},
    {7, 1776, "Vibrato and whammy bar"},
    {9, 1785, "Grace Notes"},
    {10, 1786, "Triplets/Tuplets"},
    {11, 1787, "Multiple repeats (such as \"3 times\")"},
    {14, 1790, "Tempo changes"},
    {13, 1789, "Bar repeats (prev. one or two bars)"},
    {12, 1788, "Octave shifts ( 8va and 8vb )"},
    {16, 1792, "Stacatto Effect"},
};

constexpr int kAuditionNotes[] = {60, 62, 64};
constexpr std::int64_t kAuditionNoteUs = 200000;
constexpr int kAuditionVelocity = 63;

std::vector<std::string> InstrumentItems() {
  std::vector<std::string> items;
  for (int i = 0; i < kInstrumentNameCount; ++i) {
    items.push_back(std::to_string(i + 1) + " " + std::string(g_GmInstrumentNames[i].View()));
  }
  return items;
}

}  // namespace

UINT KDlgMidiInstruments::EffectControl(int bit) {
  for (const EffectCheck& check : kEffectChecks) {
    if (check.bit == bit) return check.id;
  }
  return 0;
}

const char* KDlgMidiInstruments::EffectCaption(int bit) {
  for (const EffectCheck& check : kEffectChecks) {
    if (check.bit == bit) return check.caption;
  }
  return "";
}

DWORD KDlgMidiInstruments::EffectWord() const {
  DWORD word = kEffectBase;
  for (const EffectCheck& check : kEffectChecks) {
    if (effects[static_cast<std::size_t>(check.bit)] != 0) word |= DWORD{1} << check.bit;
  }
  return word;
}

void KDlgMidiInstruments::SetEffectWord(DWORD word) {
  effects.fill(0);
  for (const EffectCheck& check : kEffectChecks) {
    effects[static_cast<std::size_t>(check.bit)] = (word >> check.bit) & 1;
  }
}

std::string KDlgMidiInstruments::ListLine(int index) const {
  const Entry& e = entries[static_cast<std::size_t>(index)];
  std::string name;
  if (e.program >= 1 && e.program <= kInstrumentNameCount)
    name = std::string(g_GmInstrumentNames[e.program - 1].View());
  return "\t" + std::string(e.label.View()) + "\t" + std::to_string(e.program) + "\t" + name + "\t" +
         std::to_string(e.loudness);
}

void KDlgMidiInstruments::DeclareControls(DialogControls& c) {
  c.SetTitle("MIDI Settings - Instrument Assignments and Effects");
  c.Group(kIdInstrumentsBox, "Instrument assignments (select a line label)");
  c.List(kIdList, m_current, {}).WhenChanged([this] { OnSelectEntry(); });
  c.Static(kIdLabelText, "Line &label:");
  c.Edit(kIdLabel, m_label, 40).WhenChanged([this] { OnLabelEdited(); });
  c.Static(kIdInstrumentText, "&Instrument:");
  c.Combo(kIdInstrument, m_item, InstrumentItems()).WhenChanged([this] { OnInstrumentChosen(); });
  c.Static(kIdLoudnessText, "Lou&dness (0-127):");
  c.Number(kIdLoudness, m_loudness, 0, 127).WhenChanged([this] { OnLoudnessEdited(); });
  c.Group(kIdEffectsBox, "Effects played");
  for (const EffectCheck& check : kEffectChecks) {
    int& member = effects[static_cast<std::size_t>(check.bit)];
    const UINT id = check.id;
    c.Check(id, check.caption, member).WhenChanged([this, id, &member] { member = Controls().Checked(id); });
  }
  c.Check(kIdAllNewScores, "Use these effects settings for all ne&w scores", allNewScores)
      .WhenChanged([this] { allNewScores = Controls().Checked(kIdAllNewScores); });
  c.Button(IDOK, "OK", DialogButtonRole::kOk);
  c.Button(IDCANCEL, "Cancel", DialogButtonRole::kCancel);
  c.Button(kIdHelp, "&Help", DialogButtonRole::kHelp, [this] { OnHelp(); });
}

void KDlgMidiInstruments::DescribeLayout(DialogLayoutItem& layout) const {
  using namespace dialog_layout;
  DialogLayoutItem effectsBox = Box(kIdEffectsBox, {});
  for (const EffectCheck& check : kEffectChecks) effectsBox.children.push_back(Ctl(check.id));
  effectsBox.children.push_back(Stretch());
  effectsBox.children.push_back(Ctl(kIdAllNewScores));
  DialogLayoutItem row =
      Row({Box(kIdInstrumentsBox,
               {Ctl(kIdList), Form({Field(kIdLabelText, kIdLabel), Field(kIdInstrumentText, kIdInstrument),
                                    Field(kIdLoudnessText, kIdLoudness)})})});
  row.children.push_back(effectsBox);
  layout.children = {row};
}

KDlgMidiInstruments::Entry* KDlgMidiInstruments::Current() {
  if (m_current < 0 || m_current >= static_cast<int>(entries.size())) return nullptr;
  return &entries[static_cast<std::size_t>(m_current)];
}

BOOL KDlgMidiInstruments::OnInitDialog() {
  if (static_cast<int>(entries.size()) > kMaxEntries) entries.resize(kMaxEntries);
  m_current = entries.empty() ? -1 : 0;
  ShowCurrent();
  KModalDialog::OnInitDialog();
  RefreshList();
  return TRUE;
}

void KDlgMidiInstruments::ShowCurrent() {
  const Entry* e = Current();
  if (e == nullptr) return;
  m_label = e->label;
  m_item = e->program >= 1 && e->program <= kInstrumentNameCount ? e->program - 1 : 0;
  m_loudness = e->loudness;
}

void KDlgMidiInstruments::RefreshList() {
  std::vector<std::string> lines;
  for (int i = 0; i < static_cast<int>(entries.size()); ++i) lines.push_back(ListLine(i));
  Controls().SetItems(kIdList, std::move(lines));
  Controls().Load();
}

void KDlgMidiInstruments::OnSelectEntry() {
  m_current = Controls().Selected(kIdList);
  ShowCurrent();
  Controls().Load();
}

void KDlgMidiInstruments::OnLabelEdited() {
  Entry* e = Current();
  if (e == nullptr) return;
  const CString text(Controls().Text(kIdLabel).c_str());
  if (text == e->label) return;
  e->label = text;
  m_label = text;
  labelsChanged = 1;
  std::vector<std::string> lines;
  for (int i = 0; i < static_cast<int>(entries.size()); ++i) lines.push_back(ListLine(i));
  Controls().SetItems(kIdList, std::move(lines));
}

void KDlgMidiInstruments::OnInstrumentChosen() {
  Entry* e = Current();
  if (e == nullptr) return;
  const int item = Controls().Selected(kIdInstrument);
  if (e->program == kPercussionProgram || item == kPercussionItem || item < 0) {
    MessageBeep(MB_OK);
    m_item = e->program >= 1 && e->program <= kInstrumentNameCount ? e->program - 1 : 0;
    Controls().Load();
    return;
  }
  e->program = item + 1;
  m_item = item;
  if (item < 128) Audition(item);
  RefreshList();
}

void KDlgMidiInstruments::OnLoudnessEdited() {
  Entry* e = Current();
  if (e == nullptr) return;
  const std::optional<int> value = ParseDialogInteger(Controls().Text(kIdLoudness));
  // A half-typed or out-of-range number changes nothing; OK refuses it.
  if (!value || *value < 0 || *value > 127) return;
  e->loudness = *value;
  m_loudness = *value;
  std::vector<std::string> lines;
  for (int i = 0; i < static_cast<int>(entries.size()); ++i) lines.push_back(ListLine(i));
  Controls().SetItems(kIdList, std::move(lines));
}

void KDlgMidiInstruments::Audition(int item) {
  if (m_output == nullptr || !m_output->IsOpen()) return;
  m_output->Put(SendNowEvent(0xC0, item, 0));
  KMidiScheduler& scheduler = SoundScheduler();
  const std::int64_t now = scheduler.Clock().NowUs();
  std::vector<KMidiScheduler::Item> later;
  std::int64_t at = now;
  for (int note : kAuditionNotes) {
    KMidiScheduler::Item on;
    on.dueUs = at;
    on.port = m_output;
    on.event = SendNowEvent(0x90, note, kAuditionVelocity);
    later.push_back(on);
    at += kAuditionNoteUs;
    KMidiScheduler::Item off = on;
    off.dueUs = at;
    off.event = SendNowEvent(0x80, note, 0);
    later.push_back(off);
  }
  scheduler.Add(std::move(later));
}

void KDlgMidiInstruments::OnHelp() { ShowHelpTopic(HelpTopic::kMidiInstruments); }
