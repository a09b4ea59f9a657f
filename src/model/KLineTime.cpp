// Musical time of a note line (see KLineTime.h).

#include "model/KLineTime.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <string>

#include "model/KChord.h"
#include "model/KExtendedObj.h"
#include "model/KListLine.h"
#include "platform/CObList.h"

namespace {

constexpr int kColumnPixels = 18;
constexpr int kChordRepeat = 94;
constexpr int kMiniStyle = 4;
constexpr int kWhole = KChord::kWholeNote;
constexpr int kWholeRest = 14;

bool IsFret(int code) { return code >= KChord::kFirstFret && code <= KChord::kLastFret; }

// The voices a note entry belongs to: 1 voice 0, 2 voice 1, 3 both.
int VoicesOf(const KChord& chord, int i) {
  const NotePair note = chord.GetNote(i);
  int duration = note.code;
  if (chord.IsTabColumn()) {
    if (!IsFret(note.code)) return 0;
    duration = chord.RawEntry(i).value / 10;
    if (duration >= 14 && duration <= 17) duration -= 6;
    if (duration > kWhole) return 0;
  } else if (duration >= 108 && duration <= 111) {
    duration -= 100;
  } else if (duration == KChord::kBreve) {
    duration = kWhole;  // as long as two, of every voice as the whole
  } else if (duration > kWhole) {
    return 0;
  }
  if (duration == kWhole) return 3;
  return duration % 2 == 1 ? 1 : 2;
}

int Positive(int a, int b) {
  if (a <= 0) return b;
  if (b <= 0) return a;
  return std::min(a, b);
}

}  // namespace

int KColumnTime::Step() const {
  if (kind == Kind::kRest) return rest;
  if (kind != Kind::kNotes) return 0;
  return Positive(length[0], length[1]);
}

bool KLineTime::IsGraceColumn(const KChord& chord) {
  bool flaggedOnly = chord.GetNoteCount() > 0 && !chord.IsTabColumn() && chord.GetNoteStyle() == kMiniStyle;
  bool anyNote = false;
  for (int i = 0; i < chord.GetNoteCount(); ++i) {
    const int code = chord.GetNote(i).code;
    if (IsGraceCode(code)) return true;
    if (code <= kWhole || code == KChord::kBreve) {
      anyNote = true;
      if (code > 7) flaggedOnly = false;
    } else if (IsRestCode(code)) {
      flaggedOnly = false;
    }
  }
  return flaggedOnly && anyNote;
}

int KLineTime::StepOf(const KChord& chord) {
  const int first = chord.GetNoteCount() > 0 ? chord.GetNote(0).code : KChord::kEmptyCode;
  if (chord.IsBarColumn() || first == 26 || first == 97 || chord.IsSignatureColumn() || IsGraceColumn(chord))
    return 0;
  KColumnTime c;
  c.kind = KColumnTime::Kind::kRest;
  for (int i = 0; i < chord.GetNoteCount(); ++i) {
    const int length = chord.GetNoteLength(i);
    if (length <= 0) continue;
    const int voices = VoicesOf(chord, i);
    if (voices == 0 && IsRestCode(chord.GetNote(i).code)) c.rest = std::max(c.rest, length);
    if ((voices & 1) != 0) c.length[0] = Positive(c.length[0], length);
    if ((voices & 2) != 0) c.length[1] = Positive(c.length[1], length);
    if (voices != 0) c.kind = KColumnTime::Kind::kNotes;
  }
  return c.Step();
}

KLineTime::KLineTime(const KListLine& line, KLineTimeOptions options) : m_options(std::move(options)) {
  Measure(line);
  if (m_options.tuplets) ApplyTuplets(const_cast<KListLine&>(line));
  FillBarRests(const_cast<KListLine&>(line));
  Place();
}

void KLineTime::Measure(const KListLine& line) {
  const CObList* objects = line.GetObjList();
  std::vector<const KChord*> chords;
  chords.reserve(static_cast<std::size_t>(objects->GetCount()) + 1);
  const KChord* replace = m_options.replace;
  for (POSITION node = objects->GetHeadPosition(); node != nullptr;) {
    const KChord* chord = AsChord(objects->GetNext(node));
    if (chord == nullptr) continue;
    if (replace != nullptr && chord->GetPos() >= replace->GetPos()) {
      chords.push_back(replace);
      if (chord->GetPos() == replace->GetPos()) chord = nullptr;
      replace = nullptr;
    }
    if (chord != nullptr) chords.push_back(chord);
  }
  if (replace != nullptr) chords.push_back(replace);
  m_columns.reserve(chords.size());
  const KChord* lastNotes = nullptr;  // the source of a chord repeat marker
  for (const KChord* chord : chords) {
    KColumnTime c;
    c.chord = chord;
    c.pos = chord->GetPos();
    const int first = chord->GetNoteCount() > 0 ? chord->GetNote(0).code : KChord::kEmptyCode;
    if (chord->IsBarColumn() || first == 26 || first == 97) {
      c.kind = KColumnTime::Kind::kBar;
    } else if (chord->IsSignatureColumn()) {
      c.kind = KColumnTime::Kind::kSignature;
    } else if (IsGraceColumn(*chord)) {
      c.kind = m_options.graceNotes ? KColumnTime::Kind::kGrace : KColumnTime::Kind::kNone;
    } else {
      const KChord* source = chord;
      if (first == kChordRepeat && lastNotes != nullptr) source = lastNotes;
      bool fermata = false;
      for (int i = 0; i < source->GetNoteCount(); ++i) {
        const int code = source->GetNote(i).code;
        if (code == 87 || code == 10087) fermata = true;
        const int length = source->GetNoteLength(i);
        if (length <= 0) continue;
        const int voices = VoicesOf(*source, i);
        if (voices == 0) {
          if (IsRestCode(code)) c.rest = std::max(c.rest, length);
          continue;
        }
        if ((voices & 1) != 0) c.length[0] = Positive(c.length[0], length);
        if ((voices & 2) != 0) c.length[1] = Positive(c.length[1], length);
      }
      if (first == kChordRepeat && source == chord) c.length[0] = c.length[1] = 0;
      const bool notes = c.length[0] > 0 || c.length[1] > 0;
      if (notes && first != kChordRepeat) lastNotes = chord;
      const auto hold = m_options.holds.find(c.pos);
      if (hold != m_options.holds.end()) {
        if (notes) {
          for (int& l : c.length) {
            if (l > 0) l = std::max(l, hold->second);
          }
        } else {
          c.rest = std::max(c.rest, hold->second);
        }
      }
      if (fermata && m_options.fermata) {
        for (int& l : c.length) l *= 2;
        c.rest *= 2;
      }
      c.kind = notes ? KColumnTime::Kind::kNotes
                     : (c.rest > 0 ? KColumnTime::Kind::kRest : KColumnTime::Kind::kNone);
    }
    m_columns.push_back(c);
  }
}

// Tuplet brackets scale the columns under them by their numbers (n, or
// n:m; m by the usual table); a triplet number "3" over the middle of three
// equal notes of one voice scales those three by 2/3.
void KLineTime::ApplyTuplets(KListLine& line) {
  CObList* attachments = line.GetAttachments();
  if (attachments == nullptr || m_columns.empty()) return;
  auto scale = [](KColumnTime& c, int num, int den, int voice) {
    c.tupletNum = num;
    c.tupletDen = den;
    c.tupletVoice = voice;
    for (int v = 0; v < 2; ++v) {
      if ((voice < 0 || voice == v) && c.length[v] > 0) c.length[v] = std::max(1, c.length[v] * num / den);
    }
    if (voice < 0 && c.rest > 0) c.rest = std::max(1, c.rest * num / den);
  };
  for (POSITION node = attachments->GetHeadPosition(); node != nullptr;) {
    auto* attachment = static_cast<KExtendedObj*>(attachments->GetNext(node));
    const int kind = attachment->GetKind();
    const std::string text(attachment->GetText().View());
    const int base = attachment->GetPos() * kColumnPixels + attachment->GetOffset().x;
    if (kind == KExtendedObj::kNumberedBracket) {
      const int first = base / kColumnPixels;
      const int last = (base + attachment->GetSize().cx) / kColumnPixels;
      const std::size_t digit = text.find_first_of("0123456789");
      if (digit == std::string::npos) continue;
      int n = text[digit] - '0';
      std::size_t after = digit + 1;
      if (n == 1 && after < text.size() && std::isdigit(static_cast<unsigned char>(text[after])) != 0) {
        n = 10 + (text[after] - '0');
        ++after;
      }
      static constexpr int kM[10] = {1, 1, 3, 2, 3, 4, 4, 4, 6, 8};
      int m = n >= 10 ? 8 : kM[n];
      if (after < text.size() && text[after] == ':') {
        const int given = std::atoi(text.c_str() + after + 1);
        if (given > 0) m = given;
      }
      if (n <= 1) continue;
      // Two voices under the bracket: only one of them is the tuplet.
      bool sounds[2] = {false, false};
      for (const KColumnTime& c : m_columns) {
        if (c.pos < first || c.pos > last) continue;
        for (int v = 0; v < 2; ++v) sounds[v] = sounds[v] || c.length[v] > 0;
      }
      bool twoVoices = false;
      for (const KColumnTime& c : m_columns) {
        if (c.pos >= first && c.pos <= last && c.length[0] > 0 && c.length[1] > 0 &&
            c.length[0] != c.length[1])
          twoVoices = true;
      }
      const int voice = twoVoices ? (!text.empty() && text[0] == '+' ? 0 : 1) : -1;
      for (KColumnTime& c : m_columns) {
        if (c.pos >= first && c.pos <= last) scale(c, m, n, voice);
      }
    } else if (kind == KExtendedObj::kTextBox && text == "3") {
      const int column = (base + kColumnPixels / 2) / kColumnPixels;
      std::size_t middle = 0;
      while (middle < m_columns.size() && m_columns[middle].pos != column) ++middle;
      if (middle == 0 || middle + 1 >= m_columns.size()) continue;
      const KChord* three[3] = {m_columns[middle - 1].chord, m_columns[middle].chord,
                                m_columns[middle + 1].chord};
      auto same = [&](int v) {
        const int d = three[0]->GetVoiceDuration(v);
        return d == three[1]->GetVoiceDuration(v) && d == three[2]->GetVoiceDuration(v);
      };
      int voice = -1;
      if (three[1]->GetStemEnd(1) < 0 && same(1))
        voice = 1;
      else if (three[1]->GetStemEnd(0) < 0 && same(0))
        voice = 0;
      if (voice < 0) continue;
      for (std::size_t k = middle - 1; k <= middle + 1; ++k) scale(m_columns[k], 2, 3, -1);
    }
  }
}

void KLineTime::FillBarRests(KListLine& line) {
  const int wholeRest = NoteCodeTicks(kWholeRest);
  std::size_t segment = 0;
  while (segment < m_columns.size()) {
    std::size_t stop = segment;
    while (stop < m_columns.size() && m_columns[stop].kind != KColumnTime::Kind::kBar) ++stop;
    KColumnTime* alone = nullptr;
    int timed = 0;
    for (std::size_t k = segment; k < stop; ++k) {
      KColumnTime& c = m_columns[k];
      if (c.kind == KColumnTime::Kind::kNotes || c.kind == KColumnTime::Kind::kRest ||
          c.kind == KColumnTime::Kind::kGrace) {
        ++timed;
        alone = &c;
      }
    }
    // A plain whole rest: no dot, tuplet, fermata or multi-bar hold changed it.
    if (timed == 1 && alone->kind == KColumnTime::Kind::kRest && alone->rest == wholeRest &&
        alone->tupletNum == alone->tupletDen) {
      bool whole = false;
      for (int i = 0; i < alone->chord->GetNoteCount(); ++i)
        whole = whole || alone->chord->GetNote(i).code == kWholeRest;
      if (whole) {
        int beats = 0;
        int beatTicks = 0;
        line.GetTimeSignatureAt(alone->pos, beats, beatTicks, 0);
        alone->barRest = static_cast<int>(BarTicks(beats, beatTicks));
        alone->rest = alone->barRest;
      }
    }
    segment = stop + 1;
  }
}

void KLineTime::PlaceGraces(std::size_t first, std::size_t principal, int clock) {
  const std::size_t count = principal - first;
  if (count == 0) return;
  int lead = clock;
  int length = kGraceTicks;
  if (principal < m_columns.size() && m_columns[principal].kind == KColumnTime::Kind::kNotes) {
    KColumnTime& to = m_columns[principal];
    lead = to.start;
    // The grace notes take at most half of the note they lead to.
    const int room = to.Step() / 2;
    if (static_cast<int>(count) * length > room) length = std::max(1, room / static_cast<int>(count));
    to.graceDelay = static_cast<int>(count) * length;
  }
  for (std::size_t k = first; k < principal; ++k) {
    KColumnTime& g = m_columns[k];
    g.start = lead + static_cast<int>(k - first) * length;
    g.graceLength = length;
    g.end = std::max(g.end, g.start);
  }
}

void KLineTime::Place() {
  std::size_t segment = 0;
  int segmentStart = 0;
  while (segment < m_columns.size()) {
    std::size_t stop = segment;
    while (stop < m_columns.size() && m_columns[stop].kind != KColumnTime::Kind::kBar) ++stop;
    // Is the bar written in two voices?
    bool two = false;
    for (std::size_t k = segment; k < stop && !two; ++k) {
      const KColumnTime& c = m_columns[k];
      if (c.kind != KColumnTime::Kind::kNotes) continue;
      if (c.length[0] > 0 && c.length[1] > 0 && c.length[0] != c.length[1]) two = true;
      if (c.rest > 0 && (c.length[0] > 0) != (c.length[1] > 0)) two = true;
    }
    int clock[2] = {segmentStart, segmentStart};
    int last = segmentStart;
    std::size_t graceRun = stop;  // the first of grace columns waiting for their note
    for (std::size_t k = segment; k < stop; ++k) {
      KColumnTime& c = m_columns[k];
      c.twoVoices = two;
      if (c.kind == KColumnTime::Kind::kGrace) {
        if (graceRun == stop) graceRun = k;
        continue;
      }
      if (!two) {
        c.start = clock[0];
        clock[0] = clock[1] = c.start + c.Step();
      } else if (c.kind == KColumnTime::Kind::kNotes) {
        const bool uses[2] = {c.length[0] > 0, c.length[1] > 0};
        int restVoice = -1;
        if (c.rest > 0 && uses[0] != uses[1]) restVoice = uses[0] ? 1 : 0;
        int start = last;
        for (int v = 0; v < 2; ++v) {
          if (uses[v] || v == restVoice) start = std::max(start, clock[v]);
        }
        c.start = start;
        for (int v = 0; v < 2; ++v) {
          if (uses[v]) clock[v] = start + c.length[v];
        }
        if (restVoice >= 0) clock[restVoice] = start + c.rest;
      } else if (c.kind == KColumnTime::Kind::kRest) {
        // A rest alone: the voice that is behind (both when they are level).
        const int behind = clock[0] == clock[1] ? -1 : (clock[0] < clock[1] ? 0 : 1);
        c.start = std::max(last, behind < 0 ? clock[0] : clock[behind]);
        for (int v = 0; v < 2; ++v) {
          if (behind < 0 || behind == v) clock[v] = c.start + c.rest;
        }
      } else {
        c.start = last;
      }
      last = c.start;
      c.end = std::max(clock[0], clock[1]);
      c.voiceEnd[0] = clock[0];
      c.voiceEnd[1] = clock[1];
      if (graceRun != stop) {
        PlaceGraces(graceRun, k, c.start);
        if (c.kind == KColumnTime::Kind::kNotes || c.kind == KColumnTime::Kind::kRest) graceRun = stop;
      }
    }
    const int segmentEnd = std::max(clock[0], clock[1]);
    if (graceRun != stop) PlaceGraces(graceRun, stop, segmentEnd);
    for (std::size_t k = segment; k < stop; ++k) {
      KColumnTime& c = m_columns[k];
      c.end = std::max(c.end, c.kind == KColumnTime::Kind::kGrace ? c.start + c.graceLength : c.start);
    }
    // The voices meet again at the bar line.
    if (stop < m_columns.size()) {
      m_columns[stop].start = segmentEnd;
      m_columns[stop].end = segmentEnd;
    }
    m_end = std::max(m_end, segmentEnd);
    segmentStart = segmentEnd;
    segment = stop + 1;
  }
}

const KColumnTime* KLineTime::At(int pos) const {
  const auto it = std::lower_bound(m_columns.begin(), m_columns.end(), pos,
                                   [](const KColumnTime& c, int p) { return c.pos < p; });
  return it != m_columns.end() && it->pos == pos ? &*it : nullptr;
}

int KLineTime::TimeAt(int pos) const {
  const auto it = std::lower_bound(m_columns.begin(), m_columns.end(), pos,
                                   [](const KColumnTime& c, int p) { return c.pos < p; });
  return it != m_columns.end() ? it->start : m_end;
}

int KLineTime::EndAfter(int pos) const {
  const auto it = std::upper_bound(m_columns.begin(), m_columns.end(), pos,
                                   [](int p, const KColumnTime& c) { return p < c.pos; });
  if (it == m_columns.begin()) return 0;
  int end = 0;
  for (auto k = m_columns.begin(); k != it; ++k) end = std::max(end, k->end);
  return end;
}

bool KLineTime::IsGraceCode(int code) {
  switch (code) {
    case 13:
    case 10003:
    case 10004:
    case 10005:
    case 10006:
    case 10007:
    case 10013:
    case 10070:
    case 10071:
    case 10076:
    case 10077:
    case 10089:
    case 10090:
      return true;
    default:
      return false;
  }
}
