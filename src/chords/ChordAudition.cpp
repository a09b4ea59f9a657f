#include "chords/ChordAudition.h"

#include <algorithm>

#include "common/TuningCodec.h"
#include "platform/MidiScheduler.h"

namespace {

ChordAuditionFn& Player() {
  static ChordAuditionFn player;
  return player;
}

constexpr int kShortestShape = 7;
constexpr int kPitchToNote = 20;
constexpr int kVelocity = 63;
constexpr BYTE kProgramChange = 0xC0;
constexpr BYTE kNoteOn = 0x90;
constexpr BYTE kNoteOff = 0x80;

int CharAt(const std::string& text, std::size_t at) {
  return at < text.size() ? static_cast<unsigned char>(text[at]) : 0;
}

// The shape cut as a stored shape is read: at most 40 characters; an
// eight-string shape keeps them all, a seven-string one its first 36, any
// other loses its trailing blanks.
std::string CutShape(const CString& shape) {
  std::string s(shape.View().substr(0, 40));
  if (s.size() == 40 && s[36] == '8') return s;
  if (s.size() >= 36 && s[32] == '7') {
    s.resize(36);
    return s;
  }
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

}  // namespace

void SetChordAudition(ChordAuditionFn player) { Player() = std::move(player); }

void PlayChordShape(const CString& shape, const CString& tuning, int strumDelay, int program) {
  if (Player()) Player()(shape, tuning, strumDelay, program);
}

std::vector<int> ChordShapeNotes(const CString& shape, const CString& tuning, bool octaveLower) {
  std::vector<int> notes;
  if (shape.GetLength() < kShortestShape) return notes;
  int base = CharAt(std::string(shape.View()), 0) - '0';
  if (base < 0 || base > 24) base = 0;
  if (base > 0) --base;

  FretMap frets{};
  ParseFretList(tuning, &frets);
  TuningPitches pitches{};
  const int bass = tuning.GetLength() > 12 && tuning.View()[12] == '*' ? kTuningFlagBass : 0;
  ParseTuningString(tuning, bass, pitches);
  const int strings = GetShapeStringCount(shape);
  const int rows = GetShapeFretRows(shape);

  const std::string cut = CutShape(shape);
  std::string row = cut.substr(0, kShortestShape);
  int high = 0;
  if (rows >= 5 && cut.size() > 25) {
    high = CharAt(cut, 25) - '0';
    if (high < 0 || high >= 64) high = 0;
  }
  if (cut.size() > 35) {
    row.insert(row.begin() + 1, cut[33]);
    high = high * 2 + (CharAt(cut, 34) == '1' ? 1 : 0);
  }
  if (cut.size() > 39) {
    row.insert(row.begin() + 1, cut[37]);
    high = high * 2 + (CharAt(cut, 38) == '1' ? 1 : 0);
  }
  const int pads = strings < 5 ? 5 - strings : 0;
  high >>= pads;

  // Fret-row characters from 1 on (after the pads) meet the tuning's strings
  // from the lowest up; the strings the tuning leaves blank are passed over.
  std::vector<int> opens;
  for (int entry = kMaxTuningStrings - 1; entry >= 0; --entry) {
    if (pitches[static_cast<std::size_t>(entry)] != kNoString)
      opens.push_back(pitches[static_cast<std::size_t>(entry)]);
  }
  for (int k = 0; k < strings; ++k) {
    const std::size_t at = static_cast<std::size_t>(1 + pads + k);
    if (at >= row.size() || k >= static_cast<int>(opens.size())) break;
    int difference = CharAt(row, at) - '0';
    if (difference < 0) difference += 256;
    const int v = difference % 10;
    const int bit = high & 1;
    high >>= 1;
    if (v >= 5) continue;
    const int open = opens[static_cast<std::size_t>(k)];
    int pitch = open;
    if (v > 0) {
      const int fret = v + 4 * bit + base;
      if (fret >= kFretMapSize) continue;
      pitch += frets[static_cast<std::size_t>(fret)];
    }
    const int note = pitch + kPitchToNote - (octaveLower ? 12 : 0);
    if (note >= 0 && note <= 127) notes.push_back(note);
  }
  return notes;
}

void PlayChordShapeOn(MidiOutPort* out, int device, const CString& shape, const CString& tuning,
                      int strumDelay, int program, bool octaveLower) {
  if (out == nullptr || shape.GetLength() < kShortestShape) return;
  const std::vector<int> notes = ChordShapeNotes(shape, tuning, octaveLower);
  if (!out->IsOpen() && !out->Open(device, kAuditionOpenFlags)) return;
  if (program >= 0 && program <= 127) out->Put(SendNowEvent(kProgramChange, program, kVelocity));

  KMidiScheduler& scheduler = SoundScheduler();
  const std::int64_t now = scheduler.Clock().NowUs();
  std::vector<KMidiScheduler::Item> later;
  auto at = [&](std::int64_t dueUs, const MidiShortEvent& event) {
    KMidiScheduler::Item item;
    item.dueUs = dueUs;
    item.port = out;
    item.event = event;
    later.push_back(item);
  };
  if (strumDelay <= 0) {
    for (int note : notes) out->Put(SendNowEvent(kNoteOn, note, kVelocity));
    for (int note : notes)
      at(now + std::int64_t{kChordHoldMs} * 1000, SendNowEvent(kNoteOff, note, kVelocity));
  } else {
    const std::int64_t step = std::int64_t{strumDelay} * 1000;
    for (std::size_t i = 0; i < notes.size(); ++i) {
      const std::int64_t start = now + step * static_cast<std::int64_t>(i);
      if (i == 0) {
        out->Put(SendNowEvent(kNoteOn, notes[i], kVelocity));
      } else {
        at(start, SendNowEvent(kNoteOn, notes[i], kVelocity));
      }
      at(start + step, SendNowEvent(kNoteOff, notes[i], kVelocity));
    }
  }
  if (!later.empty()) scheduler.Add(std::move(later));
}
