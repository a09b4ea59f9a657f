// Actions/MIDI/MIDI Settings (Instruments and Effects) (Ctrl+Alt+M): the
// instrument and loudness of every line label of the score and of each kind
// of unlabelled line in use, the labels' names, and the playback effects of
// the score (optionally the defaults of new scores).
//
// The instrument table keeps the seven unlabelled kinds first and the labels
// after them, one entry per label. A renamed label renames every line that
// carries it; renaming an unlabelled kind labels its unlabelled lines, which
// then play the new entry while the kind's own entry stays for lines added
// later.

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "common/Globals.h"
#include "common/RecentChords.h"
#include "dialogs/KDlgMidiInstruments.h"
#include "doc/pref_values/PreferenceWriters.h"
#include "doc/pref_values/Preferences.h"
#include "midi/PlaySequencer.h"
#include "model/KLineObj.h"
#include "model/LineServices.h"
#include "platform/CObList.h"
#include "platform/UiPort.h"
#include "view/CStavlinView.h"
#include "view/commands/CommandHandlers.h"
#include "view/commands/CommandIds.h"
#include "view/structure/ViewStructure.h"

namespace {

constexpr int kFixed = ScoreSettings::kFixedInstruments;
constexpr int kSlots = ScoreSettings::kInstrumentSlots;
constexpr int kPercussionProgram = 130;
constexpr DWORD kOpenFlags = 0x13320;

// Every notation and tablature line of the score, top to bottom.
std::vector<KLineObj*> NoteLines(CStavlinDoc& document) {
  std::vector<KLineObj*> lines;
  for (POSITION node = document.lines.GetHeadPosition(); node != nullptr;) {
    auto* line = static_cast<KLineObj*>(document.lines.GetNext(node));
    if (line != nullptr && KLineObj::IsNoteFamily(line->GetFamily())) lines.push_back(line);
  }
  return lines;
}

// The instrument a new label of a line of this type starts with.
std::pair<int, int> DefaultsOf(int lineType) {
  const int category = UnlabelledEntryOf(lineType);
  const int program = category == 3 ? kPercussionProgram : g_defaultPrograms[category];
  return {program, g_defaultVolume};
}

std::vector<KDlgMidiInstruments::Entry> MidiSettingsEntries(CStavlinView& view) {
  using Entry = KDlgMidiInstruments::Entry;
  std::vector<Entry> entries;
  const std::vector<KLineObj*> lines = NoteLines(*view.m_document);
  bool used[kFixed] = {};
  for (const KLineObj* line : lines) {
    if (line->GetLabelName().IsEmpty()) used[UnlabelledEntryOf(line->GetType())] = true;
  }
  for (int c = 0; c < kFixed && c < view.m_labelCount; ++c) {
    if (!used[c]) continue;
    const LabelEntry& l = view.m_labels[static_cast<std::size_t>(c)];
    entries.push_back({l.name, l.program, l.volume, c, c, l.name});
  }
  for (int i = kFixed; i < view.m_labelCount; ++i) {
    const LabelEntry& l = view.m_labels[static_cast<std::size_t>(i)];
    entries.push_back({l.name, l.program, l.volume, i, 0, l.name});
  }
  for (const KLineObj* line : lines) {
    const CString label = line->GetLabelName();
    if (label.IsEmpty()) continue;
    const bool known = std::any_of(entries.begin(), entries.end(), [&](const Entry& e) {
      return e.tableIndex >= kFixed && e.originalLabel == label;
    });
    const bool added = std::any_of(entries.begin(), entries.end(), [&](const Entry& e) {
      return e.tableIndex < 0 && e.originalLabel == label;
    });
    if (known || added || static_cast<int>(entries.size()) >= KDlgMidiInstruments::kMaxEntries) continue;
    const auto [program, loudness] = DefaultsOf(line->GetType());
    entries.push_back({label, program, loudness, -1, UnlabelledEntryOf(line->GetType()), label});
  }
  return entries;
}

void ApplyMidiSettings(CStavlinView& view, const KDlgMidiInstruments& dialog) {
  // The table: the seven kinds first, then the labels in the dialog's order.
  std::vector<LabelEntry> table(view.m_labels.begin(), view.m_labels.begin() + kFixed);
  std::vector<std::pair<CString, CString>> renamed;   // label -> new label
  std::vector<std::pair<int, CString>> kindLabelled;  // kind -> label of its unlabelled lines
  std::vector<LabelEntry> labelled;
  auto addLabelled = [&](const LabelEntry& entry) {
    const bool taken = std::any_of(labelled.begin(), labelled.end(),
                                   [&](const LabelEntry& e) { return e.name == entry.name; });
    if (!taken && kFixed + static_cast<int>(labelled.size()) < kSlots) labelled.push_back(entry);
  };
  for (const KDlgMidiInstruments::Entry& e : dialog.entries) {
    const bool renamedHere = !e.label.IsEmpty() && e.label != e.originalLabel;
    if (e.tableIndex >= 0 && e.tableIndex < kFixed) {
      LabelEntry& fixed = table[static_cast<std::size_t>(e.tableIndex)];
      if (renamedHere) {
        addLabelled({e.label, e.program, e.loudness});
        kindLabelled.emplace_back(e.tableIndex, e.label);
      } else {
        fixed.program = e.program;
        fixed.volume = e.loudness;
      }
      continue;
    }
    // An emptied label keeps its name: a labelled line stays labelled.
    const CString name = renamedHere ? e.label : e.originalLabel;
    if (renamedHere) renamed.emplace_back(e.originalLabel, e.label);
    addLabelled({name, e.program, e.loudness});
  }
  table.insert(table.end(), labelled.begin(), labelled.end());

  ScoreSettings& s = view.m_options;
  bool changed = static_cast<int>(table.size()) != view.m_labelCount;
  for (int i = 0; i < kSlots; ++i) {
    LabelEntry entry = i < static_cast<int>(table.size()) ? table[static_cast<std::size_t>(i)] : LabelEntry{};
    const CString text = i < static_cast<int>(table.size())
                             ? FormatNumberLabel(entry.program) + FormatNumberLabel(entry.volume) + entry.name
                             : CString();
    if (s.instrumentTable[i] != text) changed = true;
    s.instrumentTable[i] = text;
    view.m_labels[static_cast<std::size_t>(i)] = entry;
  }
  view.m_labelCount = static_cast<int>(table.size());
  s.instrumentCount = static_cast<BYTE>(view.m_labelCount);

  const DWORD word = dialog.EffectWord();
  if (word != s.midiEffects) {
    s.midiEffects = word;
    changed = true;
  }
  if (changed) view.m_document->SetSettings(s, TRUE);

  if (dialog.allNewScores != 0) {
    for (int bit = 0; bit < kMidiEffectFlagCount; ++bit) {
      g_prefMidiEffects.flags[bit] = dialog.effects[static_cast<std::size_t>(bit)];
    }
    g_prefMidiEffects.staccato = dialog.effects[16];
    g_defaultEffects = word;
    WritePreferenceGroup(HKEY_CURRENT_USER, KPrefGroup::kMidiEffects);
  }

  if (dialog.labelsChanged == 0 || (renamed.empty() && kindLabelled.empty())) return;
  bool relabelled = false;
  for (KLineObj* line : NoteLines(*view.m_document)) {
    const CString label = line->GetLabelName();
    if (label.IsEmpty()) {
      const int kind = UnlabelledEntryOf(line->GetType());
      for (const auto& [k, newLabel] : kindLabelled) {
        if (k != kind) continue;
        line->SetLabel(newLabel);
        relabelled = true;
        break;
      }
      continue;
    }
    for (const auto& [oldLabel, newLabel] : renamed) {
      if (oldLabel != label) continue;
      line->SetLabel(newLabel);
      relabelled = true;
      break;
    }
  }
  if (!relabelled) return;
  if (view.m_labelsShown != 0) {
    view.MeasureLabelWidth();
    view.m_contentLeft = view.m_labelWidth + 11;
  }
  RefreshAfterLineChanges(view);
}

}  // namespace

void CStavlinView::OnActionsMidiSettings() {
  if (m_document == nullptr) return;
  KFrameServices* frame = m_host != nullptr ? m_host->Frame() : nullptr;
  MidiOutPort* output = frame != nullptr ? frame->PreviewOutput() : nullptr;
  // Opened for auditioning; closed afterwards only when opened here, so that
  // music already playing through it goes on.
  const bool openedHere =
      output != nullptr && !output->IsOpen() && output->Open(g_MidiOutDevice - 1, kOpenFlags);

  KDlgMidiInstruments dialog(output);
  dialog.entries = MidiSettingsEntries(*this);
  dialog.SetEffectWord(m_options.midiEffects);
  if (dialog.DoModal() == IDOK) ApplyMidiSettings(*this, dialog);
  if (openedHere && output->IsOpen()) output->Close();
}

std::span<const KViewCommandHandler> MidiSettingsCommandHandlers() {
  static constexpr KViewCommandHandler kHandlers[] = {
      {cmd::kMidiSettings, cmd::kMidiSettings, [](CStavlinView& v, UINT) { v.OnActionsMidiSettings(); }},
  };
  return kHandlers;
}
