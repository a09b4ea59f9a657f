#include "view/midi/ViewPlayInput.h"

#include <vector>

#include "doc/Preferences.h"
#include "midi/PlayOrder.h"
#include "model/KLineObj.h"
#include "platform/CObList.h"
#include "view/CStavlinView.h"

namespace {
constexpr int kNoMarks = 10000;
}  // namespace

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
