#include "midi/MidiImportLines.h"

#include <algorithm>

#include "lines/KStaffLine.h"
#include "model/KChord.h"

namespace midiimport {

namespace {

constexpr int kTrebleType = 0;
constexpr int kBassType = 1;
constexpr int kDrumType = 13;
constexpr int kMetronomeRow = 5;

// One line to build: its staff, where its notes come from and how they are
// written.
struct LinePlan {
  int row = 0;  // index into the rows
  int type = kTrebleType;
  unsigned flags = 0;
  int docKind = 0;
  int track = 0;
  NoteFilter filter;
  bool drums = false;
  bool lowerOfPair = false;  // takes the signatures of the line before it
};

int Transpose(int octave) { return octave == kOctaveUp ? 12 : (octave == kOctaveDown ? -12 : 0); }

KChord* TimeSignatureColumn(int value) {
  auto* column = new KChord(0);
  column->AddNote(0, KChord::kTimeSignature);
  column->AddNote(1, value / 1000 + 99);
  column->AddNote(2, value % 1000 + 99);
  return column;
}

std::vector<LinePlan> Plan(const std::vector<ImportTrackInfo>& rows, int split) {
  std::vector<LinePlan> plans;
  int lines = 0;
  for (size_t r = 0; r < rows.size(); ++r) {
    const ImportTrackInfo& row = rows[r];
    if (!row.import) continue;
    const int needed = row.kind == kKindKeyboard ? 2 : 1;
    if (lines + needed > kMaxLines) continue;
    lines += needed;
    LinePlan plan;
    plan.row = static_cast<int>(r);
    plan.track = row.track;
    plan.filter.channel = row.channel;
    plan.filter.transpose = Transpose(row.octave);
    plan.filter.split = split;
    switch (row.kind) {
      case kKindKeyboard: {
        LinePlan upper = plan;
        upper.flags = kFlagPairedUpper;
        LinePlan lower = plan;
        lower.type = kBassType;
        lower.flags = kFlagPairedLower;
        lower.lowerOfPair = true;
        if (row.lowerChannel >= 0) {
          upper.docKind = 0;
          lower.docKind = 1;
          lower.filter.channel = row.lowerChannel;
          if (row.lowerTrack >= 0) lower.track = row.lowerTrack;
        } else {
          upper.docKind = 2;
          lower.docKind = 3;
          upper.filter.part = 1;
          lower.filter.part = 2;
        }
        plans.push_back(upper);
        plans.push_back(lower);
        continue;
      }
      case kKindBass:
        plan.type = kBassType;
        plan.docKind = 1;
        break;
      case kKindDrum:
        plan.type = kDrumType;
        plan.docKind = 4;
        plan.drums = true;
        plan.filter.transpose = 0;
        break;
      case kKindTab:
        plan.flags = kFlagToTablature;
        break;
      case kKindBassTab:
        plan.type = kBassType;
        plan.docKind = 1;
        plan.flags = kFlagToTablature;
        break;
      default:
        break;
    }
    plans.push_back(plan);
  }
  return plans;
}

}  // namespace

std::string LostNotesText(const std::array<int, static_cast<size_t>(LostReason::kCount)>& lost) {
  static const char* const kWhy[] = {
      "a chord had more notes (with their accidentals, dots and ties) than one column holds",
      "every staff position the note could be written on was taken by another note of its chord",
      "at the chosen resolution the note fell on the same time as another note of the same key "
      "(a finer resolution keeps it)",
  };
  std::string text;
  for (size_t r = 0; r < lost.size(); ++r) {
    if (lost[r] <= 0) continue;
    text += std::to_string(lost[r]) + (lost[r] == 1 ? " note: " : " notes: ") + kWhy[r] + "\n";
  }
  return text;
}

int MetronomeCode(int denominator) {
  switch (denominator) {
    case 2:
      return 10035;
    case 8:
      return 10032;
    case 16:
      return 10033;
    default:
      return 10034;
  }
}

int MetronomeNumber(int quarterTempo, int denominator) {
  switch (MetronomeCode(denominator)) {
    case 10035:
      return quarterTempo / 2;
    case 10032:
      return quarterTempo * 2;
    case 10033:
      return quarterTempo * 4;
    default:
      return quarterTempo;
  }
}

LineBuildResult BuildImportLines(const MidiImportFile& file, const std::vector<ImportTrackInfo>& rows,
                                 const LineBuildOptions& options, const BuildProgress& convertProgress,
                                 const BuildProgress& alignProgress) {
  LineBuildResult result;
  const std::vector<LinePlan> plans = Plan(rows, options.split);
  const std::vector<SignatureChange> scoreTimes = file.ScoreTimeSignatures();
  const std::vector<SignatureChange> scoreKeys = file.ScoreKeySignatures();

  std::vector<BuildResult> built;
  built.reserve(plans.size());
  ColumnBuildSettings settings;
  for (size_t p = 0; p < plans.size(); ++p) {
    const LinePlan& plan = plans[p];
    const ImportTrackInfo& row = rows[static_cast<size_t>(plan.row)];
    if (!plan.lowerOfPair) {
      settings.timeSignatures = file.TimeSignatures(plan.track, &scoreTimes);
      settings.keySignatures = file.KeySignatures(plan.track, &scoreKeys);
    }
    settings.resolution = std::clamp(row.resolution, 0, 3);
    settings.drums = plan.drums;
    settings.method = options.builderMethod == 2 ? 2 : 1;
    settings.quantised = options.quantiseMethod == 1;
    settings.firstPosition = 2;
    const int startKey = plan.drums ? 0 : settings.keySignatures.front().value;

    auto line = std::make_unique<KStaffLine>(plan.type, startKey, plan.flags);
    line->SetLabel(row.label);
    line->InsertObjAt(TimeSignatureColumn(settings.timeSignatures.front().value), 0, 0, nullptr, 0);
    if (p == 0) {
      result.metronomeUnit = settings.timeSignatures.front().value % 1000;
      auto* metronome = new KChord(1);
      metronome->AddNote(kMetronomeRow, MetronomeCode(settings.timeSignatures.front().value % 1000));
      line->InsertObjAt(metronome, 0, 1, nullptr, 0);
    }

    std::vector<ImportNote> notes = PairNotes(file.Events(plan.track), plan.filter, options.noteCapacity);
    if (!plan.drums) MarkGraces(notes);
    const int firstBar = BarTicksOfSignature(settings.timeSignatures.front().value);
    if (options.quantiseMethod == 1) {
      QuantiseNotes(notes, settings.resolution, firstBar);
    } else {
      MarkTriplets(notes, settings.resolution, firstBar);
    }
    BuildProgress lineProgress;
    if (convertProgress) {
      const int lineCount = static_cast<int>(plans.size());
      const int index = static_cast<int>(p);
      lineProgress = [&convertProgress, lineCount, index](int done, int total) {
        const int share = total > 0 ? done * 100 / total : 100;
        return convertProgress(index * 100 + share, lineCount * 100);
      };
    }
    BuildResult columns = BuildColumns(notes, settings, *line, lineProgress);
    result.shortNotes += columns.shortNotes;
    for (size_t r = 0; r < result.lost.size(); ++r) result.lost[r] += columns.lost[r];
    ImportedLine imported;
    imported.line = std::move(line);
    imported.kind = plan.docKind;
    imported.program = row.program;
    result.lines.push_back(std::move(imported));
    const bool stopped = columns.cancelled;
    result.overrun = columns.overrun;
    built.push_back(std::move(columns));
    if (stopped) {
      result.cancelled = true;
      return result;
    }
  }

  std::vector<std::vector<BuiltColumn>*> aligned;
  for (BuildResult& b : built) aligned.push_back(&b.columns);
  SpaceOut spaceOut = options.spaceOut;
  if (plans.size() != 1) spaceOut.on = false;
  if (!AlignColumns(aligned, 2, spaceOut, alignProgress)) result.cancelled = true;
  return result;
}

}  // namespace midiimport
