#include "view/midi/ViewPlayInput.h"

#include <string>
#include <vector>

#include "doc/pref_values/Preferences.h"
#include "midi/PlayOrder.h"
#include "model/KLineObj.h"
#include "platform/CObList.h"
#include "view/CStavlinView.h"

namespace {
constexpr int kNoMarks = 10000;
constexpr int kSilentProgram = 129;
constexpr int kPercussionProgram = 130;

bool IsProgram(int program) { return program >= 1 && program <= kPercussionProgram; }

bool Plays(const KLineObj& line) {
  const int family = line.GetFamily();
  return KLineObj::IsNoteFamily(family) || family == KLineObj::kFamilyRhythm;
}

// The entry of the instruments named name; null when there is none.
KInstrumentEntry* Named(std::vector<KInstrumentEntry>& instruments, const std::string& name) {
  for (KInstrumentEntry& entry : instruments) {
    if (entry.name == name) return &entry;
  }
  return nullptr;
}
}  // namespace

void GiveEveryLineAnInstrument(const KPlayScore& score, KPlaySettings& settings) {
  const std::vector<KInstrumentEntry> builtIn = DefaultInstruments();
  std::vector<KInstrumentEntry>& instruments = settings.instruments;
  // The fixed entries of the line kinds come first and always exist.
  for (std::size_t kind = 0; kind < builtIn.size(); ++kind) {
    if (kind >= instruments.size()) {
      instruments.push_back(builtIn[kind]);
    } else if (!IsProgram(instruments[kind].program)) {
      instruments[kind].program = builtIn[kind].program;
    }
  }
  for (int i = 0; i < score.LineCount(); ++i) {
    const KLineObj* line = score.Line(i);
    if (line == nullptr || !Plays(*line) || line->GetLabelName().IsEmpty()) continue;
    const KInstrumentEntry kind = instruments[static_cast<std::size_t>(UnlabelledEntryOf(line->GetType()))];
    const std::string name(line->GetLabelName().View());
    if (KInstrumentEntry* entry = Named(instruments, name)) {
      if (!IsProgram(entry->program)) entry->program = kind.program;
    } else {
      instruments.push_back({name, kind.program, kind.loudness});
    }
  }
}

CString NothingToPlayText(const CStavlinView& view) {
  const KPlayScore score = ViewPlayScore(view);
  KPlaySettings settings = ViewPlaySettings(view);
  bool playing = false;
  bool sounding = false;
  for (int i = 0; i < score.LineCount(); ++i) {
    const KLineObj* line = score.Line(i);
    if (line == nullptr || !Plays(*line)) continue;
    playing = true;
    const std::string name(line->GetLabelName().View());
    const KInstrumentEntry* entry =
        name.empty() ? &settings.instruments[static_cast<std::size_t>(UnlabelledEntryOf(line->GetType()))]
                     : Named(settings.instruments, name);
    if (entry != nullptr && entry->program != kSilentProgram) sounding = true;
  }
  if (!playing)
    return "The score has no staff, tablature or drum lines to play, so no MIDI file was written.";
  if (!sounding)
    return "Every staff, tablature and drum line of the score plays the silent instrument, so no MIDI file "
           "was written.";
  return "The score's staff, tablature and drum lines hold no notes to play, so no MIDI file was written.";
}

KPlayScore ViewPlayScore(const CStavlinView& view) {
  std::vector<KLineObj*> lines;
  for (int i = 0; i < view.GetDisplayLineCount(); ++i) {
    if (KLineObj* line = view.GetDisplayLineObj(i)) lines.push_back(line);
  }
  return KPlayScore(std::move(lines));
}

KPlaySettings ViewPlaySettings(const CStavlinView& view) {
  const ScoreSettings& s = view.Options();
  KPlaySettings settings;
  settings.tempo = s.midiTempo;
  settings.loudness = static_cast<int>(s.midiLevel) - 127;
  settings.ignoreRepeats = s.midiIgnoreRepeats != 0;
  settings.effects = s.midiEffects;
  settings.guitarOctaveLower = g_prefMidiInstruments.tabOctaveLower != 0;
  for (int i = 0; i < view.m_labelCount && i < static_cast<int>(view.m_labels.size()); ++i) {
    const LabelEntry& entry = view.m_labels[static_cast<std::size_t>(i)];
    settings.instruments.push_back({std::string(entry.name.View()), entry.program, entry.volume});
  }
  GiveEveryLineAnInstrument(ViewPlayScore(view), settings);
  return settings;
}

bool ViewHasMidiMarks(const CStavlinView& view) {
  const ScoreSettings& s = view.Options();
  return s.word70 != kNoMarks && s.word70 >= 0;
}

KPlayRange ViewPlayRange(const CStavlinView& view, bool betweenMarks) {
  KPlayRange range;
  if (!betweenMarks || !ViewHasMidiMarks(view)) return range;
  const ScoreSettings& s = view.Options();
  range.startLine = s.word70;
  range.startColumn = std::max<int>(0, s.word71);
  range.endLine = s.word72;
  range.endColumn = std::max<int>(0, s.word73);
  return range;
}

KPerformance BuildViewPerformance(const CStavlinView& view, bool betweenMarks) {
  const KPlayScore score = ViewPlayScore(view);
  KPlaySettings settings = ViewPlaySettings(view);
  CObList directions;
  CObList jumps;
  if (!settings.ignoreRepeats && BuildPlayOrder(score, directions, jumps) == 0) settings.ignoreRepeats = true;
  KPlaySequencer sequencer(score, settings.ignoreRepeats ? nullptr : &jumps, settings);
  KPerformance performance = sequencer.Run(ViewPlayRange(view, betweenMarks));
  sequencer.ClearPlayEvents();
  ClearPlayLists(directions, jumps);
  return performance;
}
