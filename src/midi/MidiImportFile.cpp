#include "midi/MidiImportFile.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>

namespace midiimport {

namespace {

constexpr BYTE kMetaText = 1;
constexpr BYTE kMetaTrackName = 3;
constexpr BYTE kMetaInstrumentName = 4;
constexpr BYTE kMetaTempo = 81;
constexpr BYTE kMetaTimeSignature = 88;
constexpr BYTE kMetaKeySignature = 89;
// The lowest note that still counts for a keyboard part.
constexpr int kKeyboardLowest = 43;
// Notes below this mark a low part (a guitar part to move up an octave).
constexpr int kLowNote = 52;
// Limits of the change lists (the first entry included).
constexpr size_t kMaxTimeSignatures = 20;
constexpr size_t kMaxKeySignatures = 10;

// Ticks of the file's clock on the program's clock of 480 a quarter note.
struct Clock {
  std::int64_t division = 480;

  explicit Clock(std::uint16_t raw) {
    if (raw & 0x8000) {
      // SMPTE time: frames a second times ticks a frame are ticks a second;
      // taken at 120 beats a minute, half of them make a quarter note.
      const int frames = -static_cast<std::int8_t>(raw >> 8);
      const int perFrame = raw & 0xFF;
      division = std::max<std::int64_t>(1, static_cast<std::int64_t>(frames) * perFrame / 2);
    } else {
      division = std::max<std::int64_t>(1, raw);
    }
  }
  int Convert(std::int64_t fileTicks) const {
    const std::int64_t ticks = fileTicks * 480 / division;
    return static_cast<int>(std::min(ticks, kLatestTick));
  }
};

bool IsNameChar(unsigned char c) { return std::isalnum(c) != 0 || c == '_' || c >= 0xC0; }

struct ChannelStats {
  int count = 0;
  int velocitySum = 0;
  int highest = -1;
  int lowest = 200;
  int above = 0;
  int belowLower = 0;
  int belowSplit = 0;
  int program = -1;
};

int KeyCodeOf(const std::vector<BYTE>& data) {
  if (data.empty()) return 0;
  const int sf = std::clamp(static_cast<int>(static_cast<std::int8_t>(data[0])), -7, 7);
  return sf >= 0 ? 2 * sf : 2 * -sf + 1;
}

// numerator * 1000 + denominator, or 0 for data that make no time signature.
int TimeValueOf(const std::vector<BYTE>& data) {
  if (data.size() < 2 || data[0] == 0 || data[1] > 6) return 0;
  const int numerator = std::min<int>(data[0], 32);
  return numerator * 1000 + (1 << data[1]);
}

}  // namespace

MidiImportFile::MidiImportFile(MidiFileContent content) : m_content(std::move(content)) {
  const Clock clock(m_content.division);
  bool anyNote = false;
  for (const MidiFileTrack& track : m_content.tracks) {
    std::vector<TimedEvent> events;
    std::vector<TimedMeta> metas;
    events.reserve(track.events.size());
    std::vector<std::int64_t> absolute(track.events.size(), 0);
    std::int64_t time = 0;
    for (size_t i = 0; i < track.events.size(); ++i) {
      time = std::min<std::int64_t>(time + track.events[i].time, std::int64_t{1} << 50);
      absolute[i] = time;
      const MidiShortEvent& e = track.events[i];
      const BYTE kind = e.status & 0xF0;
      const int tick = clock.Convert(time);
      if ((kind == 0x80 || kind == 0x90 || kind == 0xC0) && tick < kLatestTick) {
        events.push_back({tick, e.status, e.data1, e.data2});
      } else if (kind == 0x90 && e.data2 > 0 && tick >= kLatestTick) {
        ++m_notesLeftOut;
      }
    }
    for (const MidiMetaEvent& meta : track.metas) {
      const std::int64_t before =
          meta.before == 0 || meta.before > absolute.size() ? 0 : absolute[meta.before - 1];
      const std::int64_t at = meta.before > absolute.size() && !absolute.empty() ? absolute.back() : before;
      metas.push_back({clock.Convert(at + meta.offset), meta.type, meta.data});
    }
    std::stable_sort(metas.begin(), metas.end(),
                     [](const TimedMeta& a, const TimedMeta& b) { return a.tick < b.tick; });
    for (const TimedEvent& e : events) {
      if ((e.status & 0xF0) != 0x90 || e.data2 == 0) continue;
      if (!anyNote || e.tick < m_firstNoteTick) m_firstNoteTick = e.tick;
      anyNote = true;
      break;  // a track's events are in time order
    }
    m_events.push_back(std::move(events));
    m_metas.push_back(std::move(metas));
  }
  // Parts (track and channel pairs with notes) past the most the import
  // offers are left out; the user is told how many, with their notes.
  int parts = 0;
  int partsLeftOut = 0;
  int partNotesLeftOut = 0;
  for (const std::vector<TimedEvent>& events : m_events) {
    std::array<int, 16> notes{};
    for (const TimedEvent& e : events) {
      if ((e.status & 0xF0) == 0x90 && e.data2 > 0) ++notes[e.status & 15];
    }
    for (const int count : notes) {
      if (count == 0) continue;
      if (++parts > kMaxRows) {
        ++partsLeftOut;
        partNotesLeftOut += count;
      }
    }
  }
  if (partsLeftOut > 0) {
    m_content.warnings.push_back(std::to_string(partsLeftOut) + (partsLeftOut == 1 ? " part" : " parts") +
                                 " (track and channel) after the first " + std::to_string(kMaxRows) +
                                 ", with " + std::to_string(partNotesLeftOut) +
                                 (partNotesLeftOut == 1 ? " note" : " notes"));
  }
  if (m_notesLeftOut > 0) {
    m_content.warnings.push_back(std::to_string(m_notesLeftOut) + (m_notesLeftOut == 1 ? " note" : " notes") +
                                 " after bar " + std::to_string(kMostBars) +
                                 ", the last bar an import makes (bars counted in 4/4)");
  }
}

const TimedMeta* MidiImportFile::FirstMeta(int track, BYTE type) const {
  if (track < 0 || track >= GetTrackCount()) return nullptr;
  for (const TimedMeta& meta : Metas(track)) {
    if (meta.type == type) return &meta;
  }
  return nullptr;
}

const TimedMeta* MidiImportFile::FirstMetaAnywhere(BYTE type) const {
  for (int t = 0; t < GetTrackCount(); ++t) {
    if (const TimedMeta* meta = FirstMeta(t, type)) return meta;
  }
  return nullptr;
}

int MidiImportFile::Tempo() const {
  // The tempo that holds first, in whichever track it stands.
  for (const TimedMeta* meta : MetasOf(-1, kMetaTempo)) {
    if (meta->data.size() < 3) continue;
    const int micros = (meta->data[0] << 16) | (meta->data[1] << 8) | meta->data[2];
    if (micros <= 0) return 0;
    const int bpm = 60000000 / micros;
    return bpm >= 10 && bpm <= 400 ? bpm : 0;
  }
  return 0;
}

std::vector<const TimedMeta*> MidiImportFile::MetasOf(int track, BYTE type) const {
  std::vector<const TimedMeta*> metas;
  for (int t = track < 0 ? 0 : track; t < GetTrackCount() && (track < 0 || t == track); ++t) {
    for (const TimedMeta& meta : Metas(t)) {
      if (meta.type == type) metas.push_back(&meta);
    }
  }
  std::stable_sort(metas.begin(), metas.end(),
                   [](const TimedMeta* a, const TimedMeta* b) { return a->tick < b->tick; });
  return metas;
}

std::vector<SignatureChange> MidiImportFile::TimeList(const std::vector<const TimedMeta*>& metas,
                                                      const std::vector<SignatureChange>* fallback) const {
  std::vector<SignatureChange> list;
  bool any = false;
  for (const TimedMeta* meta : metas) {
    const int value = TimeValueOf(meta->data);
    if (value == 0) continue;
    any = true;
    // Up to the first note, the last signature given is the opening one.
    if (meta->tick <= m_firstNoteTick) {
      if (list.empty()) list.push_back({0, value});
      list.front().value = value;
      continue;
    }
    if (list.empty()) list.push_back({0, 4004});
    if (list.back().value != value && list.size() < kMaxTimeSignatures) list.push_back({meta->tick, value});
  }
  if (!any && fallback != nullptr && !fallback->empty()) return *fallback;
  if (list.empty()) list.push_back({0, 4004});
  return list;
}

std::vector<SignatureChange> MidiImportFile::KeyList(const std::vector<const TimedMeta*>& metas,
                                                     const std::vector<SignatureChange>* fallback) const {
  std::vector<SignatureChange> list;
  bool any = false;
  for (const TimedMeta* meta : metas) {
    if (meta->data.empty()) continue;
    any = true;
    const int key = KeyCodeOf(meta->data);
    if (meta->tick <= m_firstNoteTick) {
      if (list.empty()) list.push_back({0, key});
      list.front().value = key;
      continue;
    }
    if (list.empty()) list.push_back({0, 0});
    if (list.back().value != key && list.size() < kMaxKeySignatures) list.push_back({meta->tick, key});
  }
  if (!any && fallback != nullptr && !fallback->empty()) return *fallback;
  if (list.empty()) list.push_back({0, 0});
  return list;
}

std::vector<SignatureChange> MidiImportFile::TimeSignatures(
    int track, const std::vector<SignatureChange>* fallback) const {
  if (track < 0 || track >= GetTrackCount()) return TimeList({}, fallback);
  return TimeList(MetasOf(track, kMetaTimeSignature), fallback);
}

std::vector<SignatureChange> MidiImportFile::KeySignatures(
    int track, const std::vector<SignatureChange>* fallback) const {
  if (track < 0 || track >= GetTrackCount()) return KeyList({}, fallback);
  return KeyList(MetasOf(track, kMetaKeySignature), fallback);
}

std::vector<SignatureChange> MidiImportFile::ScoreTimeSignatures() const {
  return TimeList(MetasOf(-1, kMetaTimeSignature), nullptr);
}

std::vector<SignatureChange> MidiImportFile::ScoreKeySignatures() const {
  return KeyList(MetasOf(-1, kMetaKeySignature), nullptr);
}

CString CleanImportName(const std::string& raw) {
  std::string name;
  for (char c : raw) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 32 || u == 127) break;
    name.push_back(c);
  }
  while (!name.empty() && !IsNameChar(static_cast<unsigned char>(name.back()))) name.pop_back();
  size_t first = 0;
  while (first < name.size() && name[first] == ' ') ++first;
  return CString(name.substr(first).c_str());
}

CString MidiImportFile::TrackName(int track) const {
  for (BYTE type : {kMetaTrackName, kMetaInstrumentName}) {
    const TimedMeta* meta = FirstMeta(track, type);
    if (meta == nullptr) continue;
    const CString name = CleanImportName(std::string(meta->data.begin(), meta->data.end()));
    if (!name.IsEmpty()) return name;
  }
  return CString();
}

CString MidiImportFile::FirstText(BYTE type) const {
  const TimedMeta* meta = FirstMetaAnywhere(type);
  if (meta == nullptr) return CString();
  return CleanImportName(std::string(meta->data.begin(), meta->data.end()));
}

std::vector<ImportTrackInfo> MidiImportFile::Analyse(const AnalysisPreferences& prefs) const {
  const int divisor = prefs.keyboardDivisor > 0 ? prefs.keyboardDivisor : 4;
  const int k = 200 / divisor;
  std::vector<ImportTrackInfo> rows;
  for (int t = 0; t < GetTrackCount(); ++t) {
    std::array<ChannelStats, 16> stats{};
    for (const TimedEvent& e : Events(t)) {
      ChannelStats& s = stats[e.status & 15];
      const BYTE kind = e.status & 0xF0;
      if (kind == 0xC0) {
        s.program = e.data1 & 0x7F;
      } else if (kind == 0x90 && e.data2 > 0) {
        const int note = e.data1;
        ++s.count;
        s.velocitySum += e.data2;
        s.highest = std::max(s.highest, note);
        s.lowest = std::min(s.lowest, note);
        if (note > prefs.trebleUpper) ++s.above;
        if (note < prefs.bassLower) ++s.belowLower;
        if (note < prefs.split) ++s.belowSplit;
      }
    }
    for (int ch = 0; ch < 16; ++ch) {
      const ChannelStats& s = stats[static_cast<size_t>(ch)];
      if (s.count == 0) continue;
      if (static_cast<int>(rows.size()) >= kMaxRows) break;
      ImportTrackInfo row;
      row.track = t;
      row.channel = ch;
      row.resolution = std::clamp(prefs.resolution, 0, 3);
      row.noteCount = s.count;
      row.averageVelocity = s.velocitySum / s.count;
      row.rangeMark = s.lowest < kLowNote || s.belowSplit * k > s.count ? -100 : 100;
      row.program = s.program >= 0 ? s.program + 1 : 1;
      if (ch == kDrumChannel) {
        row.program = kDrumProgram;
        row.kind = kKindDrum;
      } else {
        bool keyboard = s.above * k > s.count && s.lowest < kKeyboardLowest;
        if (!keyboard) {
          keyboard = s.highest > prefs.trebleUpper && s.lowest < prefs.bassLower && s.above * k > s.count &&
                     s.belowSplit * k > s.count;
        }
        if (prefs.lineTypes == 2) {
          row.kind = kKindBass;
        } else if (prefs.lineTypes == 1) {
          row.kind = kKindTreble;
        } else if (keyboard) {
          row.kind = kKindKeyboard;
        } else {
          row.kind = s.belowLower * k > s.count ? kKindBass : kKindTreble;
        }
      }
      rows.push_back(row);
    }
    if (static_cast<int>(rows.size()) >= kMaxRows) break;
  }
  // Two parts only, treble over bass: one keyboard pair.
  if (rows.size() == 2 && rows[0].kind == kKindTreble && rows[1].kind == kKindBass) {
    ImportTrackInfo pair = rows[0];
    pair.kind = kKindKeyboard;
    pair.lowerChannel = rows[1].channel;
    pair.lowerTrack = rows[1].track;
    pair.noteCount += rows[1].noteCount;
    rows.assign(1, pair);
  }
  for (ImportTrackInfo& row : rows) {
    CString name = TrackName(row.track);
    if (name.IsEmpty()) name.Format("Trk%d-Ch%d", row.track, row.channel);
    row.label = name;
    CString upper = name;
    upper.MakeUpper();
    const bool guitar = upper.Find("GUITAR") >= 0 || upper.Find("GTR") >= 0 || upper.Find("GIT") >= 0;
    if (row.kind == kKindKeyboard && (guitar || upper.Find("FLUTE") >= 0)) row.kind = kKindTreble;
    row.octave = row.kind != kKindKeyboard && guitar && row.rangeMark == -100 ? kOctaveUp : kOctaveNone;
  }
  return rows;
}

CString ImportTitleFromPath(const CString& path) {
  std::string name(path.View());
  const size_t slash = name.find_last_of("/\\");
  if (slash != std::string::npos) name.erase(0, slash + 1);
  // Only the extension goes: the name is cut at its own last dot, never at a
  // dot in a folder's name (which would title the score after that folder)
  // nor at an earlier dot of the name ("tune.v2.mid" is "Tune.v2").
  const size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.erase(dot);
  bool start = true;
  for (char& c : name) {
    const auto u = static_cast<unsigned char>(c);
    c = static_cast<char>(start ? std::toupper(u) : std::tolower(u));
    start = c == ' ';
  }
  return CString(name.c_str());
}

}  // namespace midiimport
