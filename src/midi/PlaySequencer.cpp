// The sequencer (see PlaySequencer.h).

#include "midi/PlaySequencer.h"

#include <algorithm>
#include <array>
#include <climits>
#include <memory>
#include <span>
#include <string>

#include "lines/KRhythmLine.h"
#include "midi/LinePlayEvents.h"
#include "model/KJTObj.h"
#include "model/KLineGroup.h"
#include "model/KLineTime.h"
#include "model/KListLine.h"
#include "model/KMIDIObj.h"
#include "platform/CObList.h"
#include "platform/StringTable.h"
#include "platform/UiPort.h"

namespace {

constexpr int kControlBase = 20000000;
constexpr int kCutOff = 20000000;
constexpr int kMaxLength = 100000;
constexpr int kSilentProgram = 129;
constexpr int kPercussionProgram = 130;
constexpr int kPercussionChannel = 9;
constexpr int kNoEntry = 99;

constexpr DWORD kSwingFlag = 0x400000;
constexpr UINT kTooManyTracks = 7073;

// The playback options of an effects word; staccato and the guitar octave as given.
PlayEffectOptions OptionsOf(DWORD word, bool guitarOctaveLower) {
  using namespace effect_bit;
  PlayEffectOptions o;
  o.bends = (word & kBends) != 0;
  o.accents = (word & kAccents) != 0;
  o.fermata = (word & kFermata) != 0;
  o.strokes = (word & kStrokes) != 0;
  o.multiBarRests = (word & kMultiBarRests) != 0;
  o.tremolo = (word & kTremolo) != 0;
  o.trills = (word & kTrills) != 0;
  o.vibrato = (word & kVibrato) != 0;
  o.slides = (word & kSlides) != 0;
  o.graceNotes = (word & kGraceNotes) != 0;
  o.tuplets = (word & kTuplets) != 0;
  o.octaveShifts = (word & kOctaveShifts) != 0;
  o.tempo = (word & kTempoChanges) != 0;
  o.staccato = (word & kStaccato) != 0;
  o.guitarOctaveLower = guitarOctaveLower;
  return o;
}

// The play events of one line, by column.
struct LineEvents {
  KListLine* line = nullptr;
  int type = 0;
  int transpose = 0;                // semitones the line's notes were moved by
  std::unique_ptr<KLineTime> time;  // when each column sounds
  std::vector<int> columns;         // every object column, in order
  std::vector<KMIDIObj*> byColumn;  // the play events, by column (stable)

  // The events of one column.
  std::span<KMIDIObj* const> At(int column) const {
    const auto [first, last] = std::equal_range(byColumn.begin(), byColumn.end(), column, ColumnOrder{});
    return {first, last};
  }

 private:
  struct ColumnOrder {
    bool operator()(const KMIDIObj* e, int column) const { return e->GetPos() < column; }
    bool operator()(int column, const KMIDIObj* e) const { return column < e->GetPos(); }
  };
};

// One sounding note: where it sounds and when it ends.
struct Sounding {
  int track = 0;
  BYTE channel = 0;
  BYTE key = 0;
  std::uint32_t off = 0;
  // Tied onwards: the next note of its key that starts while it sounds
  // holds it on (a tie to the next line's first note).
  bool tiedOn = false;
};

// Sort order of messages at one tick: note-offs, then the rest, then note-ons.
int ClassOf(const KPerfEvent& e) { return e.IsNoteOff() ? 0 : e.IsNoteOn() ? 2 : 1; }

}  // namespace

int UnlabelledEntryOf(int lineType) {
  static constexpr int kCategory[17] = {0, 1, 2, 3, 0, 0, 0, 0, 0, 4, 5, 0, 0, 3, 0, 6, 3};
  return lineType >= 0 && lineType < 17 ? kCategory[lineType] : 0;
}

std::vector<KInstrumentEntry> DefaultInstruments() {
  return {{"UL Treble", 1, 100}, {"UL Bass", 34, 100},  {"UL Tab", 26, 100},     {"UL Percussion", 130, 100},
          {"UL Alto", 42, 100},  {"UL Tenor", 58, 100}, {"UL Bass Tab", 34, 100}};
}

int ClampPlayTempo(int tempo) {
  if (tempo < 10) return 10;
  if (tempo > 1200) return 120;
  return tempo;
}

class KPlaySequencer::Run_ {
 public:
  Run_(const KPlayScore& score, const CObList* jumps, const KPlaySettings& settings)
      : m_score(score), m_settings(settings) {
    if (jumps != nullptr) {
      for (POSITION node = jumps->GetHeadPosition(); node != nullptr;) {
        m_jumps.push_back(static_cast<const KJTObj*>(jumps->GetNext(node)));
      }
    }
    m_tempo = ClampPlayTempo(settings.tempo);
    for (const KInstrumentEntry& entry : settings.instruments) m_adjust.push_back(entry.loudness);
    m_lines.resize(static_cast<std::size_t>(score.LineCount()));
  }

  KPerformance Play(const KPlayRange& range) {
    m_perf.tempo = m_tempo;
    const auto& groups = m_score.Groups();
    int group = m_score.GroupOf(std::clamp(range.startLine, 0, std::max(0, m_score.LineCount() - 1)));
    if (group < 0) return std::move(m_perf);
    const int endGroup =
        range.endLine >= m_score.LineCount() ? INT_MAX : m_score.GroupOf(std::max(0, range.endLine));
    int column = std::max(0, range.startColumn);
    FirstJump(group, column);
    InitialSwing(range.startLine);
    ReadStartSignatures(group, column);

    std::uint32_t time = 0;
    bool first = true;
    while (group >= 0 && group < static_cast<int>(groups.size()) && group <= endGroup && !m_perf.cutShort) {
      const int limit = group == endGroup ? range.endColumn : INT_MAX;
      const KJTObj* jump = PendingJump(group);
      const int last = jump != nullptr ? std::min(limit, jump->GetJumpColumn()) : limit;
      time += PlayGroup(group, column, last, time, first);
      first = false;
      if (m_perf.cutShort) break;
      if (jump != nullptr && jump->GetJumpColumn() <= limit) {
        ++m_nextJump;
        if (jump->GetTargetLine() < 0) break;
        group = m_score.GroupOf(jump->GetTargetLine());
        column = std::max(0, jump->GetTargetColumn());
        continue;
      }
      if (group == endGroup) break;
      ++group;
      column = 0;
    }
    EndAllNotes();
    m_perf.endTick = std::max(m_perf.endTick, time);
    std::stable_sort(m_perf.events.begin(), m_perf.events.end(),
                     [](const KPerfEvent& a, const KPerfEvent& b) {
                       return a.tick != b.tick ? a.tick < b.tick : ClassOf(a) < ClassOf(b);
                     });
    return std::move(m_perf);
  }

 private:
  // The first jump at or after the start.
  void FirstJump(int group, int column) {
    m_nextJump = m_jumps.size();
    for (std::size_t j = 0; j < m_jumps.size(); ++j) {
      const int g = m_score.GroupOf(m_jumps[j]->GetJumpLine());
      if (g > group || (g == group && m_jumps[j]->GetJumpColumn() >= column)) {
        m_nextJump = j;
        return;
      }
    }
  }

  const KJTObj* PendingJump(int group) const {
    if (m_nextJump >= m_jumps.size()) return nullptr;
    const KJTObj* jump = m_jumps[m_nextJump];
    return m_score.GroupOf(jump->GetJumpLine()) == group ? jump : nullptr;
  }

  // The swing in force at the start: the nearest line above it that sets one.
  void InitialSwing(int startLine) {
    for (int i = std::min(startLine, m_score.LineCount() - 1); i >= 0; --i) {
      KLineObj* line = m_score.Line(i);
      if (line->TestFlags(kSwingFlag) == 0) continue;
      float ratio = -1.0f;
      if (auto* rhythm = dynamic_cast<KRhythmLine*>(line)) {
        ratio = rhythm->GetSwingRatio();
      } else if (KListLine* list = line->AsListLine()) {
        ratio = list->GetCachedPlayValue();
        if (ratio < 0) {
          list->InterpretTextForPlayback(-1, &ratio, 0, 32000);
        }
      }
      if (ratio > 0) {
        m_swing = ratio;
        return;
      }
    }
  }

  static bool Plays(const KLineObj* line) {
    const int family = line->GetFamily();
    return KLineObj::IsNoteFamily(family) || family == KLineObj::kFamilyRhythm;
  }

  // The signatures of the first notation line at the start.
  void ReadStartSignatures(int group, int column) {
    const KPlayScore::Group& g = m_score.Groups()[static_cast<std::size_t>(group)];
    for (int i = g.first; i <= g.last; ++i) {
      KListLine* line = m_score.Line(i)->AsListLine();
      if (line == nullptr || !KLineObj::IsNoteFamily(line->GetFamily())) continue;
      int beats = 4;
      int beatTicks = kTicksPerQuarter;
      line->GetTimeSignatureAt(column, beats, beatTicks, 0);
      SetSignature(beats, beatTicks, m_perf.numerator, m_perf.denominatorPower);
      m_perf.key = std::clamp(line->GetKeySignatureAt(column), 0, 15);
      m_lastNumerator = m_perf.numerator;
      m_lastPower = m_perf.denominatorPower;
      return;
    }
  }

  // A time signature as numerator and a power of two, its denominator: beats
  // of a dotted value count as three of the value a third as long.
  static void SetSignature(int beats, int beatTicks, int& numerator, int& power) {
    numerator = beats > 0 ? beats : 4;
    power = 2;
    if (beatTicks <= 0) return;
    int unit = beatTicks;
    if ((4 * kTicksPerQuarter) % unit != 0 && unit % 3 == 0) {
      unit /= 3;
      numerator *= 3;
    }
    for (int p = 0; p <= 6; ++p) {
      if ((4 * kTicksPerQuarter >> p) == unit) {
        power = p;
        return;
      }
    }
    numerator = beats > 0 ? beats : 4;
  }

  LineEvents& EventsOf(int displayLine) {
    LineEvents& events = m_lines[static_cast<std::size_t>(displayLine)];
    if (events.line != nullptr) return events;
    events.line = m_score.Line(displayLine)->AsListLine();
    events.type = events.line->GetType();
    float swing = m_swing;
    events.line->InterpretTextForPlayback(displayLine + 1, &swing, 0, 32000);
    const CObList* objects = events.line->GetObjList();
    for (POSITION node = objects->GetHeadPosition(); node != nullptr;) {
      const int pos = static_cast<const KPosObj*>(objects->GetNext(node))->GetPos();
      if (events.columns.empty() || events.columns.back() != pos) events.columns.push_back(pos);
    }
    CObList* list = events.line->GetPlayEvents();
    for (POSITION node = list->GetHeadPosition(); node != nullptr;) {
      auto* event = static_cast<KMIDIObj*>(list->GetNext(node));
      events.byColumn.push_back(event);
      if (!std::binary_search(events.columns.begin(), events.columns.end(), event->GetPos())) {
        events.columns.insert(std::upper_bound(events.columns.begin(), events.columns.end(), event->GetPos()),
                              event->GetPos());
      }
    }
    const auto byPos = [](const KMIDIObj* a, const KMIDIObj* b) { return a->GetPos() < b->GetPos(); };
    if (!std::is_sorted(events.byColumn.begin(), events.byColumn.end(), byPos))
      std::stable_sort(events.byColumn.begin(), events.byColumn.end(), byPos);
    // The line's time: the written music, with the multi-bar rests the
    // events hold.
    const PlayEffectOptions& on = PlayEffects();
    KLineTimeOptions options;
    options.tuplets = on.tuplets;
    options.fermata = on.fermata;
    options.graceNotes = on.graceNotes;
    for (const KMIDIObj* e : events.byColumn) {
      if (e->TestFlags(kRestFlag) != 0 && e->GetMagnitude() < kControlBase) {
        int& hold = options.holds[e->GetPos()];
        hold = std::max(hold, std::clamp(e->GetMagnitude(), 0, kMaxLength));
      }
    }
    events.time = std::make_unique<KLineTime>(*events.line, std::move(options));
    events.transpose = LinePlayTransposition(*events.line);
    return events;
  }

  // ---- Instruments and tracks ----------------------------------------------------------

  // The instrument entry of a line; kNoEntry for a label the table lacks.
  int EntryOf(const KLineObj& line) const {
    const CString label = line.GetLabelName();
    if (label.IsEmpty()) {
      const int entry = UnlabelledEntryOf(line.GetType());
      return entry < static_cast<int>(m_settings.instruments.size()) ? entry : kNoEntry;
    }
    const std::string name(label.View());
    for (std::size_t i = 0; i < m_settings.instruments.size(); ++i) {
      if (m_settings.instruments[i].name == name) return static_cast<int>(i);
    }
    return kNoEntry;
  }

  // The track of an entry, made on its first use (with its program change);
  // -1 for a silent entry, or when the channels have run out.
  int TrackOf(int entry, int lineType, std::uint32_t tick) {
    if (entry == kNoEntry) return -1;
    const KInstrumentEntry& instrument = m_settings.instruments[static_cast<std::size_t>(entry)];
    if (instrument.program == kSilentProgram || instrument.program < 1 ||
        instrument.program > kPercussionProgram)
      return -1;
    const bool percussion = instrument.program == kPercussionProgram || lineType == 13 || lineType == 16;
    for (std::size_t t = 0; t < m_perf.tracks.size(); ++t) {
      if (m_perf.tracks[t].name == instrument.name) return static_cast<int>(t);
    }
    KPerfTrack track;
    track.name = instrument.name;
    track.program = percussion ? kPercussionProgram : instrument.program;
    if (percussion) {
      track.channel = kPercussionChannel;
    } else {
      if (m_melodic >= kMaxMelodicTracks) {
        TooManyTracks();
        return -1;
      }
      track.channel = m_melodic < kPercussionChannel ? m_melodic : m_melodic + 1;
      ++m_melodic;
    }
    m_perf.tracks.push_back(track);
    const int index = static_cast<int>(m_perf.tracks.size()) - 1;
    // Programs 1..128 only: the percussion channel has no program.
    if (!percussion) {
      Emit(tick, index, static_cast<BYTE>(0xC0 | track.channel), static_cast<BYTE>(track.program - 1), 0);
    }
    return index;
  }

  void TooManyTracks() {
    m_perf.cutShort = true;
    CString text;
    AfxFormatString1(text, kTooManyTracks, std::to_string(kMaxMelodicTracks).c_str());
    AfxMessageBox(std::string(text.View()).c_str(), MB_OK | MB_ICONEXCLAMATION);
  }

  // ---- Messages ------------------------------------------------------------------------

  void Emit(std::uint32_t tick, int track, BYTE status, BYTE data1, BYTE data2) {
    KPerfEvent e;
    e.tick = tick;
    e.track = track;
    e.status = status;
    e.data1 = data1;
    e.data2 = data2;
    m_perf.events.push_back(e);
    m_perf.endTick = std::max(m_perf.endTick, tick);
  }

  void EmitTempo(std::uint32_t tick, int bpm) {
    bpm = ClampPlayTempo(bpm);
    if (bpm == m_tempo && tick > 0) return;
    m_tempo = bpm;
    if (tick == 0) {
      m_perf.tempo = bpm;
      return;
    }
    KPerfEvent e;
    e.tick = tick;
    e.kind = KPerfEvent::Kind::kTempo;
    e.value = TempoMicroseconds(bpm);
    e.bpm = bpm;
    m_perf.events.push_back(e);
  }

  void EmitTimeSignature(std::uint32_t tick, int numerator, int power) {
    KPerfEvent e;
    e.tick = tick;
    e.kind = KPerfEvent::Kind::kTimeSignature;
    e.data1 = static_cast<BYTE>(numerator);
    e.data2 = static_cast<BYTE>(power);
    m_perf.events.push_back(e);
  }

  void EndNote(const Sounding& note, std::uint32_t at) {
    Emit(at, note.track, static_cast<BYTE>(0x80 | note.channel), note.key, 0);
  }

  void EndAllNotes() {
    for (const Sounding& note : m_sounding) EndNote(note, note.off);
    m_sounding.clear();
  }

  // Ends at once the notes of the track (a cut-off).
  void CutOff(int track, std::uint32_t at) {
    std::erase_if(m_sounding, [&](const Sounding& note) {
      if (note.track != track) return false;
      EndNote(note, std::min(note.off, at));
      return true;
    });
  }

  void StartNote(int track, BYTE channel, const KMIDIObj& event, int velocity, std::uint32_t on,
                 std::uint32_t length) {
    const BYTE key = static_cast<BYTE>(event.GetData1() & 0x7F);
    auto same = std::find_if(m_sounding.begin(), m_sounding.end(),
                             [&](const Sounding& s) { return s.channel == channel && s.key == key; });
    const bool tied = event.TestFlags(kTiedFromFlag) != 0 || (same != m_sounding.end() && same->tiedOn);
    if (tied && same != m_sounding.end() && same->off >= on) {
      same->off = std::max(same->off, on + length);
      same->tiedOn = event.TestFlags(kTiedOnFlag) != 0;
      return;
    }
    if (same != m_sounding.end()) {
      EndNote(*same, std::min(same->off, on));
      m_sounding.erase(same);
    }
    Emit(on, track, static_cast<BYTE>(0x90 | channel), key, static_cast<BYTE>(velocity));
    m_sounding.push_back({track, channel, key, on + length, event.TestFlags(kTiedOnFlag) != 0});
    PitchEffect(track, channel, event, on, length);
  }

  // Bends, vibrato and slides: the pitch wheel rises step by step by the
  // effect's depth and comes back over the note's length.
  void PitchEffect(int track, BYTE channel, const KMIDIObj& event, std::uint32_t on, std::uint32_t length) {
    const int depth = PitchEffectDepth(event);
    if (depth <= 0) return;
    const int direction = PitchEffectDirection(event);
    const std::uint32_t step = std::max<std::uint32_t>(1, length / static_cast<std::uint32_t>(2 * depth));
    std::uint32_t at = on;
    const BYTE status = static_cast<BYTE>(0xE0 | channel);
    for (int k = 1; k <= depth; ++k) {
      at += step;
      Emit(at, track, status, 0, static_cast<BYTE>(std::clamp(64 + direction * k, 0, 127)));
    }
    for (int k = depth - 1; k >= 0; --k) {
      at += step;
      Emit(at, track, status, 0, static_cast<BYTE>(std::clamp(64 + direction * k, 0, 127)));
    }
  }

  // ---- One line group ----------------------------------------------------------------

  struct LineState {
    int displayLine = 0;
    LineEvents* events = nullptr;
    int entry = kNoEntry;
    int track = -1;
    BYTE channel = 0;
    bool keepOwnChannel = false;
    // A staff whose notes its bracketed tablature partner plays: the
    // partner's state (the staff's own notes beside them still sound).
    const LineState* partner = nullptr;
  };

  // The tablature line bracketed with a staff in its line group, when there is one.
  static const KLineObj* TabPartnerOf(const KLineObj& staff) {
    const KLineGroup* group = staff.GetGroup();
    if (group == nullptr || staff.GetFamily() != KLineObj::kFamilyStaff) return nullptr;
    int slot = -1;
    for (int s = 0; s < group->GetSlotCount() && slot < 0; ++s) {
      if (group->GetSlotLine(s) == &staff) slot = s;
    }
    const int bracket = slot >= 0 ? group->GetSlotBracket(slot, 0) : 0;
    if (bracket <= 0) return nullptr;
    for (int s = 0; s < group->GetSlotCount(); ++s) {
      const KLineObj* other = group->GetSlotLine(s);
      if (s != slot && other != nullptr && other->GetFamily() == KLineObj::kFamilyTab &&
          group->GetSlotBracket(s, 0) == bracket)
        return other;
    }
    return nullptr;
  }

  // Plays columns first..last of the group from the tick start; returns the
  // group's length in ticks. Every line's columns sound when the line's time
  // says, counted from the earliest of the lines' first columns played.
  std::uint32_t PlayGroup(int group, int first, int last, std::uint32_t start, bool firstGroup) {
    const KPlayScore::Group& g = m_score.Groups()[static_cast<std::size_t>(group)];
    std::vector<LineState> lines;
    lines.reserve(static_cast<std::size_t>(g.last - g.first + 1));
    int caretLine = -1;
    for (int i = g.first; i <= g.last; ++i) {
      KLineObj* line = m_score.Line(i);
      if (!Plays(line) || line->AsListLine() == nullptr) continue;
      if (auto* rhythm = dynamic_cast<KRhythmLine*>(line)) {
        const float swing = rhythm->GetSwingRatio();
        if (swing >= 0) m_swing = swing;
        if (PlayEffects().tempo && rhythm->GetTempoBpm() > 0) EmitTempo(start, rhythm->GetTempoBpm());
        continue;
      }
      if (caretLine < 0) {
        caretLine = i;
        if (!firstGroup) GroupSignature(*line->AsListLine(), first, start);
      }
      LineState state;
      state.displayLine = i;
      state.events = &EventsOf(i);
      state.entry = EntryOf(*line);
      state.track = TrackOf(state.entry, line->GetType(), start);
      if (m_perf.cutShort) return 0;
      state.channel = state.track >= 0
                          ? static_cast<BYTE>(m_perf.tracks[static_cast<std::size_t>(state.track)].channel)
                          : 0;
      state.keepOwnChannel = line->GetType() == 13;
      lines.push_back(state);
    }
    if (caretLine < 0) caretLine = g.first;
    for (LineState& state : lines) {
      const KLineObj* tab = TabPartnerOf(*state.events->line);
      for (const LineState& other : lines) {
        if (tab != nullptr && other.events->line == tab) state.partner = &other;
      }
    }

    // Every column any line has in the range, in order, and the time the
    // range starts at.
    std::vector<int> columns;
    int base = INT_MAX;
    for (const LineState& state : lines) {
      for (int c : state.events->columns) {
        if (c >= first && c <= last) columns.push_back(c);
      }
      const auto& written = state.events->time->Columns();
      const auto from = std::lower_bound(written.begin(), written.end(), first,
                                         [](const KColumnTime& c, int p) { return c.pos < p; });
      if (from != written.end() && from->pos <= last) base = std::min(base, from->start);
    }
    std::sort(columns.begin(), columns.end());
    columns.erase(std::unique(columns.begin(), columns.end()), columns.end());
    if (base == INT_MAX) {
      // No written column in the range (play resumes past the line's last
      // music, as after a first ending that closes a system): the range
      // starts where the lines' music ends, so it takes no time.
      for (const LineState& state : lines) base = std::min(base, state.events->time->TimeAt(first));
      if (base == INT_MAX) base = 0;
    }

    for (int column : columns) {
      std::uint32_t cueAt = UINT32_MAX;
      for (LineState& state : lines) {
        const bool has =
            std::binary_search(state.events->columns.begin(), state.events->columns.end(), column);
        if (!has) continue;
        const int at = std::max(0, state.events->time->TimeAt(column) - base);
        PlayColumn(state, column, start + static_cast<std::uint32_t>(at));
        cueAt = std::min(cueAt, static_cast<std::uint32_t>(at));
      }
      if (cueAt == UINT32_MAX) cueAt = 0;
      m_perf.cues.push_back({start + cueAt, group, caretLine, column});
      m_perf.lastLine = caretLine;
      m_perf.lastColumn = column;
    }
    int length = 0;
    for (const LineState& state : lines) length = std::max(length, state.events->time->EndAfter(last) - base);
    if (columns.empty()) m_perf.cues.push_back({start, group, caretLine, first});
    return static_cast<std::uint32_t>(std::max(0, length));
  }

  // A time signature that differs at the start of a later group goes to the conductor.
  void GroupSignature(KListLine& line, int column, std::uint32_t tick) {
    int beats = 4;
    int beatTicks = kTicksPerQuarter;
    line.GetTimeSignatureAt(column, beats, beatTicks, 0);
    int numerator = 4;
    int power = 2;
    SetSignature(beats, beatTicks, numerator, power);
    if (m_lastNumerator < 0) {
      // The first notation line met (after groups of words only): its
      // signatures are the file's opening ones, not a change at this tick.
      m_perf.numerator = numerator;
      m_perf.denominatorPower = power;
      m_perf.key = std::clamp(line.GetKeySignatureAt(column), 0, 15);
      m_lastNumerator = numerator;
      m_lastPower = power;
      return;
    }
    if (numerator == m_lastNumerator && power == m_lastPower) return;
    m_lastNumerator = numerator;
    m_lastPower = power;
    EmitTimeSignature(tick, numerator, power);
  }

  // Does the staff's tablature partner play this note at the column?
  bool PartnerPlays(const LineState& state, int column, const KMIDIObj& e) const {
    if (state.partner == nullptr) return false;
    const int pitch = e.GetData1() - state.events->transpose;
    for (const KMIDIObj* other : state.partner->events->At(column)) {
      if (other->GetMagnitude() >= kControlBase || other->GetData2() == 0 || IsOrnament(*other)) continue;
      if (other->GetData1() - state.partner->events->transpose == pitch) return true;
    }
    return false;
  }

  // Plays the events of one column of a line from the tick its time gives.
  void PlayColumn(LineState& state, int column, std::uint32_t tick) {
    for (const KMIDIObj* e : state.events->At(column)) {
      const int magnitude = e->GetMagnitude();
      if (magnitude >= kControlBase) {
        Control(state, *e, tick);
        continue;
      }
      if (e->TestFlags(kRestFlag) != 0 || e->GetData2() == 0 || state.track < 0) continue;
      if (!IsOrnament(*e) && PartnerPlays(state, column, *e)) continue;
      const int entry = state.entry;
      const int adjust = entry >= 0 && entry < static_cast<int>(m_adjust.size())
                             ? m_adjust[static_cast<std::size_t>(entry)]
                             : 0;
      const int velocity = std::clamp(e->GetData2() + adjust + m_settings.loudness - 64, 0, 127);
      if (velocity == 0) continue;
      const int sound = SoundLength(*e);
      const long long on = static_cast<long long>(tick) + e->GetEvent().time;
      const BYTE channel = state.keepOwnChannel ? static_cast<BYTE>(e->GetStatus() & 0x0F) : state.channel;
      StartNote(state.track, channel, *e, velocity, static_cast<std::uint32_t>(std::max(0LL, on)),
                static_cast<std::uint32_t>(std::max(1, sound)));
    }
  }

  void Control(LineState& state, const KMIDIObj& e, std::uint32_t tick) {
    switch (e.GetMagnitude()) {
      case kTempoControl:
        EmitTempo(tick, e.GetData1() * 4 + e.GetData2());
        break;
      case kLevelControl:
        if (state.entry >= 0 && state.entry < static_cast<int>(m_adjust.size())) {
          const int loudness = m_settings.instruments[static_cast<std::size_t>(state.entry)].loudness;
          m_adjust[static_cast<std::size_t>(state.entry)] = std::min(127, e.GetData2() * loudness * 2 / 100);
        }
        break;
      case kCutOff:
        CutOff(state.track, tick);
        break;
      default:
        break;
    }
  }

  const KPlayScore& m_score;
  const KPlaySettings& m_settings;
  std::vector<const KJTObj*> m_jumps;
  std::size_t m_nextJump = 0;
  int m_tempo = 120;
  float m_swing = 0.0f;
  std::vector<int> m_adjust;
  std::vector<LineEvents> m_lines;
  std::vector<Sounding> m_sounding;
  int m_melodic = 0;
  int m_lastNumerator = -1;
  int m_lastPower = -1;
  KPerformance m_perf;
};

KPlaySequencer::KPlaySequencer(const KPlayScore& score, const CObList* jumps, KPlaySettings settings)
    : m_score(score), m_jumps(jumps), m_settings(std::move(settings)) {
  if (m_settings.instruments.empty()) m_settings.instruments = DefaultInstruments();
}

KPerformance KPlaySequencer::Run(const KPlayRange& range) {
  const PlayEffectOptions saved = PlayEffects();
  PlayEffects() = OptionsOf(m_settings.effects, m_settings.guitarOctaveLower);
  Run_ run(m_score, m_jumps, m_settings);
  KPerformance performance = run.Play(range);
  PlayEffects() = saved;
  return performance;
}

void KPlaySequencer::ClearPlayEvents() {
  for (int i = 0; i < m_score.LineCount(); ++i) {
    if (KListLine* line = m_score.Line(i)->AsListLine()) line->ClearPlayEvents();
  }
}
