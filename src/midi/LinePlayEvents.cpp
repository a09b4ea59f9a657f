// The note pass and the attachment pass that build a line's play events (see LinePlayEvents.h).

#include "midi/LinePlayEvents.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "common/SettingCodec.h"
#include "common/TuningCodec.h"
#include "lines/KStaffLine.h"
#include "lines/KTabLine.h"
#include "model/KChord.h"
#include "model/KExtendedObj.h"
#include "model/KLineTime.h"
#include "model/KListLine.h"
#include "model/KMIDIObj.h"
#include "model/KNoteEvent.h"
#include "platform/UiPort.h"

namespace {

constexpr int kColumnPixels = 18;
constexpr int kNoKey = 10000;
constexpr int kWholeLine = 32000;
constexpr int kMaxLength = 100000;
constexpr int kControlBase = 20000000;
constexpr int kChordRepeat = 94;
constexpr int kMaxClefChanges = 10;
constexpr UINT kNoChordToRepeat = 8152;

bool IsTabType(int type) { return type == 2 || type == 15; }
bool IsPercussion(int type) { return type == 13 || type == 16; }
bool BearsCaption(int kind) { return (kind >= 7 && kind <= 20) || kind > 24; }

int FullCode(const KChord& chord, int i) {
  const NoteEntry& entry = chord.RawEntry(i);
  return entry.code + ((entry.flag & KChord::kFlagFlagged) != 0 ? KChord::kFlaggedBase : 0);
}

bool HasCode(const KChord& chord, std::initializer_list<int> codes) {
  for (int i = 0; i < chord.GetNoteCount(); ++i) {
    if (std::find(codes.begin(), codes.end(), FullCode(chord, i)) != codes.end()) return true;
  }
  return false;
}

// The ornament and effect state of one note column.
struct ColumnState {
  int velocityOffset = 0;
  bool fermata = false;
  bool staccato = false;
  int strokeStep = 0;  // ticks between the spread notes; negative: falling order
  bool trill = false;
  int tremolo = 0;
  int turn = 0;     // the turn's code, 0 none
  int mordent = 0;  // +1 upper, -1 lower, 0 none
  int bend = 0;     // depth of a bend, 0 none
  int vibrato = 0;  // depth of a vibrato, 0 none
  bool grace = false;
  int slideIn = 0;                              // a grace note from 2 semitones below (+1) or above (-1)
  std::vector<std::pair<int, int>> slideMarks;  // (entry position, +1 up / -1 down)
};

ColumnState ReadColumnState(const KChord& chord, bool percussion) {
  const PlayEffectOptions& on = PlayEffects();
  ColumnState state;
  for (int i = 0; i < chord.GetNoteCount(); ++i) {
    const int code = FullCode(chord, i);
    if (on.accents && (code == 64 || code == 65)) state.velocityOffset = 40;
    if (on.accents && code == 10064) state.velocityOffset = 60;
    if (on.fermata && (code == 87 || code == 10087)) state.fermata = true;
    if (on.tremolo) {
      if (code == 85) state.tremolo = 8;
      if (code == 10048) state.tremolo = 2;
      if (code == 10050) state.tremolo = 4;
      if (code == 10085) state.tremolo = 16;
    }
    if (percussion) continue;
    if (on.staccato && (code == 52 || code == 53 || code == 10052)) state.staccato = true;
    if (on.trills) {
      if (code == 38 || code == 39 || code == 10038) state.trill = true;
      if (code == 93 || code == 10016 || (code >= 10018 && code <= 10020) || code == 10093) state.turn = code;
      if (code == 10040) state.mordent = 1;
      if (code == 10041) state.mordent = -1;
    }
    if (on.strokes) {
      if (code == 54 || code == 72 || code == 10054) state.strokeStep = 16;
      if (code == 55 || code == 73 || code == 10055) state.strokeStep = -16;
      if (code == 76) state.strokeStep = 5;
      if (code == 77) state.strokeStep = -5;
    }
    if (on.vibrato) {
      if (code == 40 || code == 41) state.vibrato = 8;
      if (code == 10015 || code == 10075) state.vibrato = 16;
      if (code == 10074) state.vibrato = 32;
      if (code == 10084) state.vibrato = 64;
    }
    if (on.bends) {
      if (code == 75)
        state.bend = 16;
      else if (code == 84)
        state.bend = 64;
      else if (code == 74 || code == 78 || code == 79 || code == 10078 || code == 10079 || code == 10091 ||
               code == 10092)
        state.bend = 32;
    }
    if (on.slides) {
      if (code == 49) state.slideIn = 1;
      if (code == 51) state.slideIn = -1;
      if ((code == 48 || code == 50) && state.slideMarks.size() < 12) {
        state.slideMarks.emplace_back(chord.RawEntry(i).value, code == 48 ? 1 : -1);
      }
    }
  }
  if (!percussion && chord.GetNoteStyle() == 2) {
    state.velocityOffset = -44;
    if (on.staccato) state.staccato = true;
  }
  return state;
}

KMIDIObj* MakeEvent(int column, int time, BYTE status, int key, int velocity, int length, bool negative) {
  auto* event = new KMIDIObj();
  event->SetPos(column);
  event->SetEvent(time, status);
  event->SetData1(std::clamp(key, 0, 127));
  event->SetData2(velocity);
  event->SetMagnitude(length);
  event->SetNegative(negative ? 1 : 0);
  return event;
}

KMIDIObj* MakeControl(int column, int code, int data1, int data2) {
  auto* event = MakeEvent(column, 0, 0xB0, data1, data2, code, false);
  event->SetTriple(0, 0, 0);
  return event;
}

// A note an ornament adds: it sounds for length ticks from time on and takes
// no time of its voice.
KMIDIObj* MakeOrnament(const KMIDIObj& of, int time, int key, int length) {
  KMIDIObj* event =
      MakeEvent(of.GetPos(), time, of.GetStatus(), key, of.GetData2(), length, of.IsPositive() == 0);
  event->ModifyFlags(kOrnamentFlag, 1);
  return event;
}

void SetSoundLength(KMIDIObj& event, int sound) {
  const KMIDIObj::Triple t = event.GetTriple();
  event.SetTriple(t.a, t.b, std::max(1, sound));
}

// Scales a note's length and its sounding length alike (tuplets, swing).
void ScaleLength(KMIDIObj& event, int numerator, int denominator) {
  event.SetMagnitude(event.GetMagnitude() * numerator / denominator);
  const KMIDIObj::Triple t = event.GetTriple();
  if (t.c > 0) event.SetTriple(t.a, t.b, std::max(1, t.c * numerator / denominator));
}

// Delays the sounding of a note (after grace notes or an ornament before it).
void DelaySound(KMIDIObj& event, int delay) {
  const int sound = SoundLength(event);
  event.SetEvent(event.GetEvent().time + delay, event.GetEvent().message);
  SetSoundLength(event, std::max(1, sound - delay));
}

// Everything one run keeps.
struct Run {
  Run(KListLine& l, CObList& e, int number, float* s, int t)
      : line(l), events(e), lineNumber(number), swing(s), type(t) {}
  KListLine& line;
  CObList& events;
  int lineNumber;
  float* swing;
  int type;
  int transpose = 0;
  KColumnPlayContext context;
  std::vector<const KChord*> chords;             // every note column in list order
  std::vector<std::pair<int, int>> clefChanges;  // (column, type)
  int pendingRestEnd = -1;
  int octaveShift = 0;
  const KLineTime* time = nullptr;  // the line's written time
  // Metronome marks of the note pass: (column, row, beat divisor), in order.
  struct Mark {
    int column = 0;
    int row = 0;
    int divisor = 4;
  };
  std::vector<Mark> marks;
  std::size_t nextMark = 0;
  // The primary notes of the last column of a run of eighths that may be the
  // first of a swung pair.
  std::vector<KMIDIObj*> swingFirst;
};

constexpr int kGraceTicks = 60;
constexpr int kEighth = 240;

// Swing: of two eighths in a row (rests count), the first takes the swing
// ratio of the pair's time and the second the rest of it.
void SwingPair(Run& run, const std::vector<KMIDIObj*>& made) {
  const float ratio = *run.swing;
  const bool eighths = !made.empty() && std::all_of(made.begin(), made.end(), [](const KMIDIObj* e) {
    return e->GetMagnitude() == kEighth;
  });
  if (ratio <= 0 || !eighths) {
    run.swingFirst.clear();
    return;
  }
  if (run.swingFirst.empty()) {
    run.swingFirst = made;
    return;
  }
  // The pair keeps its two eighths' time whatever the rounding.
  const int first = std::clamp(static_cast<int>(2.0f * kEighth * ratio + 0.5f), 1, 2 * kEighth - 1);
  const int second = 2 * kEighth - first;
  for (KMIDIObj* e : run.swingFirst) ScaleLength(*e, first, kEighth);
  // The second eighth starts where the first one's swung time ends.
  for (KMIDIObj* e : made) {
    ScaleLength(*e, second, kEighth);
    e->SetEvent(e->GetEvent().time + first - kEighth, e->GetEvent().message);
  }
  run.swingFirst.clear();
}

// The column events of one note column, shaped by its state and put into the list.
void PlayColumn(Run& run, const KChord& given, int column, std::size_t index, int& key) {
  const bool percussion = IsPercussion(run.type);
  ColumnState state = ReadColumnState(given, percussion);
  const KColumnTime* written = run.time->At(column);
  if (KLineTime::IsGraceColumn(given)) {
    // Grace notes switched off are silent.
    if (!PlayEffects().graceNotes) return;
    state.grace = true;
  }
  // A grace-note column plays its grace symbols as short notes.
  std::optional<KChord> graceCopy;
  if (state.grace) {
    graceCopy.emplace(given, column, true);
    for (int i = 0; i < graceCopy->GetNoteCount(); ++i) {
      if (KLineTime::IsGraceCode(FullCode(*graceCopy, i))) {
        graceCopy->SetNoteCode(i, 13);
        const NoteEntry entry = graceCopy->RawEntry(i);
        if ((entry.flag & KChord::kFlagFlagged) != 0)
          graceCopy->SetNoteFlags(i, entry.flag & ~KChord::kFlagFlagged);
      }
    }
  }
  const KChord& chord = graceCopy ? *graceCopy : given;
  run.context.earlierColumn = [&run, index](int back) -> const KChord* {
    return back > 0 && static_cast<std::size_t>(back) <= index ? run.chords[index - back] : nullptr;
  };
  std::vector<KMIDIObj*> made;
  KNoteEvent note;
  for (int i = 0; i < chord.GetNoteCount();) {
    const int before = i;
    if (chord.MakeMidiEvent(i, note, run.context, 64 + state.velocityOffset, key, run.transpose) == 0) {
      if (i <= before) break;
      continue;
    }
    int length = note.length;
    if (state.fermata) length *= 2;
    KMIDIObj* event = MakeEvent(column, 0, note.status, note.note, note.velocity, length, note.voice == 0);
    // A tie written in the column (as recording leaves it) holds the note on
    // into the next of its key.
    if (note.tied && note.velocity != 0) event->ModifyFlags(kTiedOnFlag, 1);
    if (state.staccato && note.velocity != 0) SetSoundLength(*event, length / 2);
    made.push_back(event);
  }
  if (state.grace) {
    // Grace notes sound at their column's time (the line's time places them
    // at the start of the note they lead to), and take none of its time.
    const int length = written != nullptr && written->graceLength > 0 ? written->graceLength : kGraceTicks;
    for (KMIDIObj* event : made) {
      event->ModifyFlags(kOrnamentFlag, 1);
      // A grace head (a note of no length) sounds as the notes around it.
      if (event->GetData2() == 0) event->SetData2(std::clamp(64 + state.velocityOffset, 1, 127));
      event->SetEvent(0, event->GetEvent().message);
      event->SetMagnitude(length);
    }
    for (KMIDIObj* event : made) InsertPlayEvent(run.events, event);
    return;
  }
  // Tuplets: the notes last their share of the span.
  if (written != nullptr && written->tupletDen != written->tupletNum) {
    for (KMIDIObj* event : made) {
      const int voice = event->IsPositive() != 0 ? 1 : 0;
      if (written->tupletVoice >= 0 && event->GetData2() != 0 && voice != written->tupletVoice) continue;
      if (event->GetMagnitude() % 30 != 0) continue;
      ScaleLength(*event, written->tupletNum, written->tupletDen);
    }
  }
  // A stroke spreads the notes in rising (positive step) or falling order.
  if (state.strokeStep != 0 && made.size() > 1) {
    std::stable_sort(made.begin(), made.end(), [&](const KMIDIObj* a, const KMIDIObj* b) {
      return state.strokeStep > 0 ? a->GetData1() < b->GetData1() : a->GetData1() > b->GetData1();
    });
    const int step = std::abs(state.strokeStep);
    for (std::size_t k = 0; k < made.size(); ++k) {
      const KMIDIObj::Event old = made[k]->GetEvent();
      made[k]->SetEvent(static_cast<int>(k) * step, old.message);
    }
  }
  std::vector<KMIDIObj*> added;
  const int graceDelay = written != nullptr ? written->graceDelay : 0;
  for (KMIDIObj* event : made) {
    const int length = event->GetMagnitude();
    if (event->GetData2() == 0 || length <= 0) continue;
    const int pitch = event->GetData1();
    if (graceDelay > 0) DelaySound(*event, graceDelay);
    if (state.slideIn != 0) {
      added.push_back(MakeOrnament(*event, event->GetEvent().time, pitch - 2 * state.slideIn, 30));
      DelaySound(*event, 30);
    }
    if (state.trill) {
      const int r = length <= 240 ? 30 : 90;
      const int count = length / r + 1;
      SetSoundLength(*event, r);
      for (int k = 0; k < count; ++k) {
        added.push_back(MakeOrnament(*event, (k + 1) * r, pitch + (k % 2 == 0 ? 2 : -2), r));
      }
    } else if (state.tremolo > 0) {
      const int n = state.tremolo;
      int r = std::max(length / n, 30);
      int c = std::min(n, length / r);
      if (length == 90 || length == 180 || length == 360 || length == 720 || length == 1440) c = c * 3 / 2;
      if (length > 480) r /= 2, c *= 2;
      SetSoundLength(*event, r);
      for (int k = 1; k < c; ++k) added.push_back(MakeOrnament(*event, k * r, pitch, r));
    } else if (state.turn != 0) {
      const int s = state.turn == 10018 || state.turn == 10093 ? 1 : -1;
      const int d = 60 * 5 >= length ? 30 : 60;
      int pitches[5] = {pitch - 2 * s, pitch, pitch + 2 * s, pitch, pitch - 2 * s};
      if (state.turn == 10019) pitches[0] += 1;
      if (state.turn == 10020) pitches[0] -= 1;
      const int at = event->GetEvent().time;
      for (int k = 0; k < 5; ++k) added.push_back(MakeOrnament(*event, at + k * d, pitches[k], d));
      DelaySound(*event, 5 * d);
    } else if (state.mordent != 0) {
      const int d = 60 * 3 >= length ? 30 : 60;
      const int at = event->GetEvent().time;
      added.push_back(MakeOrnament(*event, at, pitch, d));
      added.push_back(MakeOrnament(*event, at + d, pitch + 2 * state.mordent, d));
      DelaySound(*event, 2 * d);
    }
    const KMIDIObj::Triple t = event->GetTriple();
    if (state.bend > 0)
      event->SetTriple(t.a, kPitchBend * 1000 + state.bend, t.c);
    else if (state.vibrato > 0)
      event->SetTriple(t.a, kPitchVibrato * 1000 + state.vibrato, t.c);
  }
  // Slide marks act on the notes of the column, the first mark on the first note and so on.
  for (std::size_t m = 0; m < state.slideMarks.size() && m < made.size(); ++m) {
    const KMIDIObj::Triple t = made[m]->GetTriple();
    const int kind = state.slideMarks[m].second > 0 ? kPitchSlideUp : kPitchSlideDown;
    made[m]->SetTriple(t.a, kind * 1000 + 32, t.c);
  }
  for (KMIDIObj* event : made) InsertPlayEvent(run.events, event);
  for (KMIDIObj* event : added) InsertPlayEvent(run.events, event);
  SwingPair(run, made);
}

// Step 7: a code-70 column followed within three columns by code 70 (straight) or 71 (swing text).
void ReadSwing(Run& run, std::size_t index) {
  const KChord& marker = *run.chords[index];
  const int start = marker.GetPos();
  for (std::size_t k = index + 1; k < run.chords.size() && run.chords[k]->GetPos() <= start + 3; ++k) {
    const KChord& next = *run.chords[k];
    for (int i = 0; i < next.GetNoteCount(); ++i) {
      const int code = FullCode(next, i);
      if (code == 70) {
        *run.swing = 0.0f;
        return;
      }
      if (code != 71) continue;
      const int row = next.RawEntry(i).value;
      float ratio = kDefaultSwing / 1000.0f;
      CObList* attachments = run.line.GetAttachments();
      for (POSITION node = attachments ? attachments->GetHeadPosition() : nullptr; node != nullptr;) {
        const auto* text = static_cast<const KExtendedObj*>(attachments->GetNext(node));
        if (text->GetKind() != KExtendedObj::kTextBox) continue;
        if (text->GetPos() < start || text->GetPos() > next.GetPos() + 3) continue;
        if (std::abs(text->GetRow() - row) > 3) continue;
        ratio = ParseSwingText(std::string(text->GetText().View()).c_str());
        break;
      }
      *run.swing = ratio;
      return;
    }
  }
}

void NotePass(Run& run, int first, int last) {
  int key = run.line.GetKey();
  for (std::size_t index = 0; index < run.chords.size(); ++index) {
    const KChord& chord = *run.chords[index];
    const int column = chord.GetPos();
    if (column < first || column > last) continue;
    if (HasCode(chord, {68}) || HasCode(chord, {69})) {
      const int type = HasCode(chord, {69}) ? 1 : 0;
      if (static_cast<int>(run.clefChanges.size()) < kMaxClefChanges)
        run.clefChanges.emplace_back(column, type);
      run.context.lineType = type;
    }
    if (HasCode(chord, {70})) ReadSwing(run, index);
    if (chord.GetNoteCount() == 1 && run.marks.size() < 10) {
      static constexpr int kDivisors[4] = {8, 16, 4, 2};  // 10032 eighth, sixteenth, quarter, half
      const int code = FullCode(chord, 0);
      if (code >= 10032 && code <= 10035) {
        run.marks.push_back({column, chord.RawEntry(0).value, kDivisors[code - 10032]});
        continue;
      }
    }
    if (chord.GetNoteCount() > 0 && FullCode(chord, 0) == kChordRepeat) {
      const KChord* source = nullptr;
      for (std::size_t k = index; k-- > 0 && source == nullptr;) {
        const KChord& earlier = *run.chords[k];
        if (earlier.GetNoteCount() > 0 && FullCode(earlier, 0) == kChordRepeat) continue;
        for (int i = 0; i < earlier.GetNoteCount(); ++i) {
          if (FullCode(earlier, i) < 13) source = &earlier;
        }
      }
      if (source == nullptr) {
        if (run.lineNumber >= 0) {
          CString text;
          const std::string number = std::to_string(run.lineNumber);
          AfxFormatString1(text, kNoChordToRepeat, number.c_str());
          AfxMessageBox(std::string(text.View()).c_str(), MB_OK);
        }
        continue;
      }
      const KChord copy(*source, column, true);
      PlayColumn(run, copy, column, index, key);
      continue;
    }
    PlayColumn(run, chord, column, index, key);
  }
}

// ---- Attachment pass ---------------------------------------------------------------------------

// The note column at the column, or the next one after it.
const KChord* ColumnAtOrNext(const Run& run, int column) {
  for (const KChord* chord : run.chords) {
    if (chord->GetPos() == column || chord->GetPos() == column + 1) return chord;
    if (chord->GetPos() > column + 1) break;
  }
  return nullptr;
}

std::string Upper(const CString& text) {
  std::string s(text.View());
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

bool Contains(const std::string& text, const char* word) { return text.find(word) != std::string::npos; }

// Walks the list from the first to the last event of a span, both included.
template <typename Action>
void ForSpan(CObList& events, KMIDIObj* first, KMIDIObj* last, Action action) {
  POSITION node = events.Find(first);
  while (node != nullptr) {
    auto* event = static_cast<KMIDIObj*>(events.GetNext(node));
    action(*event);
    if (event == last) break;
  }
}

// A number written beside the next unused metronome mark sets the tempo.
bool MetronomeMark(Run& run, const std::string& text, int column, int row) {
  if (!PlayEffects().tempo || run.nextMark >= run.marks.size()) return false;
  const Run::Mark& mark = run.marks[run.nextMark];
  if (std::abs(column - mark.column) > 2 || std::abs(row - mark.row) > 3) return false;
  const std::size_t digit = text.find_first_of("0123456789");
  if (digit == std::string::npos) return false;
  long n = 0;
  for (std::size_t i = digit;
       i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) && n <= 1000; ++i) {
    n = n * 10 + (text[i] - '0');
  }
  if (n < 20 || n > 400) return false;
  InsertPlayEvent(run.events, MakeControl(column, kTempoControl, static_cast<int>(n) / mark.divisor,
                                          static_cast<int>(n % 4)));
  ++run.nextMark;
  return true;
}

bool TempoWords(Run& run, const std::string& text, int column) {
  static constexpr struct {
    const char* word;
    int tempo;
  } kWords[] = {{"LARGO", 50},      {"LENTO", 60},       {"ADAGIO", 80},   {"ANDANTE", 100},
                {"ANDANTINO", 105}, {"ALLEGRETTO", 110}, {"ALLEGRO", 120}, {"VIVACE", 140},
                {"PRESTO", 160},    {"PRESTISSIMO", 200}};
  if (!PlayEffects().tempo || text.empty()) return false;
  for (const auto& row : kWords) {
    if (!Contains(text, row.word)) continue;
    InsertPlayEvent(run.events, MakeControl(column, kTempoControl, row.tempo / 4, 0));
    return true;
  }
  return false;
}

bool Dynamics(Run& run, const std::string& text, const KExtendedObj& box, int column) {
  if (!PlayEffects().accents || text.empty()) return false;
  const bool bold = ParseFiveValueLimit(box.GetFontText()) != 0;
  int level = 0;
  if (Contains(text, "PPPP"))
    level = 10;
  else if (Contains(text, "PPP") || Contains(text, "PIANISSISSIMO"))
    level = 20;
  else if (text == "PP" || Contains(text, "PIANISSIMO"))
    level = 30;
  else if (text == "P" && bold)
    level = 38;
  else if (text == "MP" || Contains(text, "MEZZOPIANO"))
    level = 45;
  else if (text == "MF" || Contains(text, "MEZZOFORTE"))
    level = 53;
  else if ((text == "F" && bold) || Contains(text, "FORTE"))
    level = 60;
  else if (text == "FF" || Contains(text, "FORTISSIMO"))
    level = 70;
  else if (Contains(text, "FFF") || Contains(text, "FORTISSISSIMO"))
    level = 100;
  if (level > 0) {
    InsertPlayEvent(run.events, MakeControl(column, kLevelControl, 60, level));
    return true;
  }
  if (text == "SF" || text == "SFZ" || text == "FZ" || Contains(text, "SFORZANDO")) {
    for (POSITION node = run.events.GetHeadPosition(); node != nullptr;) {
      auto* event = static_cast<KMIDIObj*>(run.events.GetNext(node));
      if (event->GetPos() < column) continue;
      if (event->GetPos() <= column + 1 && event->GetData2() != 0) event->SetData2(127);
      break;
    }
    return true;
  }
  return false;
}

void Hairpin(Run& run, const KExtendedObj& hairpin, int column, int end) {
  KMIDIObj* pair[2] = {nullptr, nullptr};
  POSITION cursor = nullptr;
  if (!run.line.FindPlayEventSpan(column, nullptr, end, cursor, pair, kNoKey, 0, kNoKey)) return;
  int step = (std::abs(hairpin.GetSize().cy) * 1875 / 700) / std::max(1, end - column);
  if (hairpin.GetKind() == 5) step = -step;
  ForSpan(run.events, pair[0], pair[1], [&](KMIDIObj& e) {
    if (e.GetMagnitude() > kMaxLength || e.GetData2() == 0) return;
    e.SetData2(std::clamp(e.GetData2() + (e.GetPos() - column) * step, 0, 127));
  });
}

// A note event that sounds (not a control, a rest or a silent symbol).
bool Sounds(const KMIDIObj& e) {
  return e.GetMagnitude() <= kMaxLength && e.TestFlags(kRestFlag) == 0 && e.GetData2() != 0 && !IsOrnament(e);
}

// A tie joins the notes of its first note column to those of the next note
// column, every note that sounds again there (a chord tied to a chord holds
// all its notes), past the bar line or blank columns between them; its arc
// reaches that column (a tie one column wide over a bar line ends at the bar).
// A tie from a line's last note column holds its notes on into the next line.
// An arc that runs past the next note column is no tie of these notes.
void Tie(Run& run, int column, int end) {
  const KChord* start = ColumnAtOrNext(run, column);
  // An arc that ends where it starts comes from the line before: the note
  // there was held on into this one already.
  if (start == nullptr || end <= start->GetPos()) return;
  std::vector<KMIDIObj*> from;
  int next = -1;  // the next column where a note sounds
  for (POSITION node = run.events.GetHeadPosition(); node != nullptr;) {
    auto* event = static_cast<KMIDIObj*>(run.events.GetNext(node));
    if (!Sounds(*event)) continue;
    if (event->GetPos() == start->GetPos()) from.push_back(event);
    if (event->GetPos() > start->GetPos()) {
      next = event->GetPos();
      break;
    }
  }
  if (next < 0) {
    for (POSITION node = run.events.GetHeadPosition(); node != nullptr;) {
      auto* event = static_cast<KMIDIObj*>(run.events.GetNext(node));
      if (event->GetExtra() == 10) event->ModifyFlags(kTiedOnFlag, 1);
    }
    for (KMIDIObj* event : from) event->ModifyFlags(kTiedOnFlag, 1);
    return;
  }
  if (end > next + 1) return;
  for (POSITION node = run.events.GetHeadPosition(); node != nullptr;) {
    auto* event = static_cast<KMIDIObj*>(run.events.GetNext(node));
    if (event->GetPos() < next || !Sounds(*event)) continue;
    if (event->GetPos() > next) break;
    const auto held = std::find_if(from.begin(), from.end(),
                                   [&](const KMIDIObj* e) { return e->GetData1() == event->GetData1(); });
    if (held == from.end()) continue;
    (*held)->ModifyFlags(kTiedOnFlag, 1);
    event->ModifyFlags(kTiedFromFlag, 1);
    from.erase(held);
  }
}

// The multi-bar rest count of a text after a rest bracket; false when the text holds no count.
bool RestCount(Run& run, const std::string& text, int column) {
  if (column >= run.pendingRestEnd) {
    run.pendingRestEnd = -1;
    return true;
  }
  const std::size_t at = text.find_first_of("123456789");
  if (at == std::string::npos) return false;
  int count = text[at] - '0';
  if (at + 1 < text.size() && std::isdigit(static_cast<unsigned char>(text[at + 1]))) {
    count = count * 10 + (text[at + 1] - '0');
  }
  int beats = 0;
  int beatTicks = 0;
  run.line.GetTimeSignatureAt(column, beats, beatTicks, 0);
  const long long bar = BarTicks(beats, beatTicks);
  // The column of the note object just before the first object at or after the text's column.
  const CObList* objects = run.line.GetObjList();
  int position = -1;
  int previous = -1;
  for (POSITION node = objects->GetHeadPosition(); node != nullptr;) {
    const int pos = static_cast<const KPosObj*>(objects->GetNext(node))->GetPos();
    if (pos >= column) {
      position = previous >= 0 ? previous : pos;
      break;
    }
    previous = pos;
  }
  if (position < 0 || position >= kWholeLine) position = previous;
  auto* rest =
      MakeEvent(position, 0, 0x80, 0, 0,
                static_cast<int>(std::clamp(count * bar, 0LL, static_cast<long long>(kMaxLength))), false);
  rest->ModifyFlags(kRestFlag, 1);
  InsertPlayEvent(run.events, rest);
  run.pendingRestEnd = -1;
  return true;
}

void OctaveRange(Run& run, int column, int end) {
  KMIDIObj* pair[2] = {nullptr, nullptr};
  POSITION cursor = nullptr;
  const int shift = run.octaveShift;
  run.octaveShift = 0;
  if (!run.line.FindPlayEventSpan(column, nullptr, end, cursor, pair, kNoKey, 0, kNoKey)) return;
  ForSpan(run.events, pair[0], pair[1], [&](KMIDIObj& e) {
    if (e.GetMagnitude() <= kMaxLength) e.SetData1(std::clamp(e.GetData1() + shift, 0, 127));
  });
}

void AttachmentPass(Run& run) {
  CObList* attachments = run.line.GetAttachments();
  if (attachments == nullptr || run.type == 3 || run.type == 4) return;
  const PlayEffectOptions& on = PlayEffects();
  const bool percussion = IsPercussion(run.type);
  const bool tab = IsTabType(run.type);
  for (POSITION node = attachments->GetHeadPosition(); node != nullptr;) {
    auto* attachment = static_cast<KExtendedObj*>(attachments->GetNext(node));
    const int kind = attachment->GetKind();
    const std::string text = Upper(attachment->GetText());
    const int base = attachment->GetPos() * kColumnPixels + attachment->GetOffset().x;
    const int column = (base + (kind == KExtendedObj::kTextBox && text == "3" ? 9 : 0)) / kColumnPixels;
    const int end = (base + attachment->MeasureText(nullptr)) / kColumnPixels;
    const int row = attachment->GetOffset().y / (tab ? 10 : 3) + attachment->GetRow();
    run.context.lineType = run.type;
    for (const auto& change : run.clefChanges) {
      if (change.first <= column) run.context.lineType = change.second;
    }

    if (kind == KExtendedObj::kTie || kind == KExtendedObj::kSlur) {
      // The two curve kinds are the arc above and the arc below the notes;
      // either is a tie where the next column sounds the same key again.
      Tie(run, column, end);
    } else if (kind == 2) {
      // Tuplets scale their notes in the note pass, by the line's time.
    } else if (kind == 4 || kind == 5) {
      if (on.accents) Hairpin(run, *attachment, column, end);
    } else if (kind == 21) {
      if (on.multiBarRests) run.pendingRestEnd = end;
    } else if (kind == KExtendedObj::kTextBox || BearsCaption(kind)) {
      if (kind == KExtendedObj::kTextBox) {
        // A triplet number scales its notes in the note pass, by the line's time.
        if (on.tuplets && text == "3") continue;
        if (MetronomeMark(run, text, column, row)) continue;
        if (TempoWords(run, text, column)) continue;
      }
      if (run.pendingRestEnd >= 0 && RestCount(run, text, column)) continue;
      if (kind == KExtendedObj::kTextBox && Dynamics(run, text, *attachment, column)) continue;
      if (!on.octaveShifts || percussion) continue;
      if (Contains(text, "8VA"))
        run.octaveShift = 12;
      else if (Contains(text, "8VB"))
        run.octaveShift = -12;
      if (BearsCaption(kind) && run.octaveShift != 0) OctaveRange(run, column, end);
    }
  }
}

}  // namespace

PlayEffectOptions& PlayEffects() {
  static PlayEffectOptions options;
  return options;
}

void InsertPlayEvent(CObList& events, KMIDIObj* event) { InsertByPos(events, event); }

float ParseSwingText(const char* text) {
  constexpr float kDefault = kDefaultSwing / 1000.0f;
  std::string compact;
  for (const char* p = text; p != nullptr && *p != '\0'; ++p) {
    if (*p != ' ') compact += *p;
  }
  const std::size_t start = compact.find_first_of(".0123456789");
  if (start == std::string::npos) return kDefault;
  float a = 0;
  float b = 0;
  if (std::sscanf(compact.c_str() + start, "%f%*c%f", &a, &b) != 2) return kDefault;
  if (b == 0) return 0.0f;
  if (a + b <= 0) return kDefault;
  const float ratio = a / (a + b);
  return ratio < 0 ? kDefault : ratio;
}

void InterpretLinePlayText(KListLine& line, int lineNumber, float* swingRatio, int first, int last) {
  CObList& events = *line.GetPlayEvents();
  float localSwing = line.GetCachedPlayValue();
  float* swing = swingRatio != nullptr ? swingRatio : &localSwing;
  if (line.GetObjCount() == 0) {
    line.ClearPlayEvents();
    line.SetCachedPlayValue(*swing);
    return;
  }
  for (POSITION node = events.GetHeadPosition(); node != nullptr;) {
    const POSITION here = node;
    CObject* event = events.GetNext(node);
    const int column = static_cast<const KPosObj*>(event)->GetPos();
    if (column >= first && column <= last) {
      events.RemoveAt(here);
      delete event;
    }
  }
  Run run(line, events, lineNumber, swing, line.GetType());
  run.context.lineType = run.type;
  if (auto* tabLine = dynamic_cast<KTabLine*>(&line)) {
    run.context.tuning = tabLine->GetTuning();
    FretMap map{};
    if (ParseFretList(run.context.tuning, &map) > 0) run.context.fretMap = map;
  }
  run.transpose = LinePlayTransposition(line);
  const CObList* objects = line.GetObjList();
  for (POSITION node = objects->GetHeadPosition(); node != nullptr;) {
    CObject* object = objects->GetNext(node);
    if (object->IsKindOf(RUNTIME_CLASS(KChord))) run.chords.push_back(static_cast<const KChord*>(object));
  }
  KLineTimeOptions timeOptions;
  timeOptions.tuplets = PlayEffects().tuplets;
  timeOptions.fermata = PlayEffects().fermata;
  timeOptions.graceNotes = PlayEffects().graceNotes;
  const KLineTime time(line, timeOptions);
  run.time = &time;
  NotePass(run, first, last);
  AttachmentPass(run);
  line.SetCachedPlayValue(*swing);
}

int LinePlayTransposition(const KListLine& line) {
  const int type = line.GetType();
  if (!PlayEffects().guitarOctaveLower || type == 11 || type == 12) return 0;
  const std::string label = Upper(line.GetLabelName());
  const bool guitar = Contains(label, "GUIT") || Contains(label, "GTR") || Contains(label, "GIT");
  return IsTabType(type) || guitar ? -12 : 0;
}

void InstallLinePlayInterpreter() { KListLine::SetPlayTextInterpreter(&InterpretLinePlayText); }
