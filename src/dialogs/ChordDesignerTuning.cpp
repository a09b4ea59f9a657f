#include "dialogs/ChordDesignerTuning.h"

#include <algorithm>

#include "common/Globals.h"
#include "common/TuningCodec.h"

namespace {

constexpr const char* kNames = "AbA A#BbB C C#DbD D#EbE F F#GbG G#";
constexpr int kNameCount = 17;
// The pitch class of each name counted from A flat.
constexpr int kNameClass[kNameCount] = {0, 1, 2, 2, 3, 4, 5, 5, 6, 7, 7, 8, 9, 10, 10, 11, 0};
constexpr const char* kSharpClassNames = "G#A A#B C C#D D#E F F#G ";
constexpr const char* kFlatClassNames = "AbA BbB C DbD EbE F GbG ";
constexpr int kLowestPitch = -7;
constexpr int kHighestPitch = 99;

int NameIndex(const CString& name) {
  const CString names(kNames);
  for (int i = 0; i < kNameCount; ++i)
    if (names.Mid(2 * i, 2) == name) return i;
  return -1;
}

CString ClassName(int pitch, bool flats) {
  const int c = ((pitch % 12) + 12) % 12;
  return CString(flats ? kFlatClassNames : kSharpClassNames).Mid(2 * c, 2);
}

}  // namespace

namespace {

// Where a string stands in the tuning string: its entry in the parsed
// pitches (0 is the rightmost of the six name places, 6 and 7 the seventh
// and eighth strings). Fewer than five strings stand right of blank places
// and leave the last place blank; five strings leave the last place blank.
int EntryOf(int strings, int stringNumber) {
  if (stringNumber > 6) return stringNumber - 1;
  const int place = strings >= 5 ? (strings >= 6 ? 6 - stringNumber : 5 - stringNumber) : 5 - stringNumber;
  return 5 - place;
}

}  // namespace

void KDesignerTuning::Load(const CString& tuning) {
  CString part = tuning;
  m_fretList.Empty();
  const int marker = tuning.Find(g_FretListMarker);
  if (marker > 0) {
    part = tuning.Left(marker);
    m_fretList = tuning.Mid(marker + g_FretListMarker.GetLength());
  }
  m_strings = GetTuningStringCount(tuning);
  m_bass = part.GetLength() > 12 && part[12] == '*';
  m_shortFifth = part.GetLength() > 12 && part[12] >= '1' && part[12] <= '9' ? part[12] - '0' : 0;
  TuningPitches pitches{};
  ParseTuningString(tuning, m_bass ? kTuningFlagBass : 0, pitches);
  for (int n = 1; n <= kStrings; ++n) {
    const auto i = static_cast<std::size_t>(n - 1);
    m_name[i] = "  ";
    m_pitch[i] = kNone;
    if (n > m_strings) continue;
    const int entry = EntryOf(m_strings, n);
    m_pitch[i] = pitches[static_cast<std::size_t>(entry)];
    CString name = entry <= 5 ? part.Mid(2 * (5 - entry), 2) : CString();
    while (name.GetLength() < 2) name += ' ';
    m_name[i] = NameIndex(name) >= 0 ? name : ClassName(m_pitch[i], false);
  }
}

bool KDesignerTuning::Step(int stringNumber, int delta) {
  if (stringNumber < 1 || stringNumber > m_strings || delta == 0) return false;
  const auto i = static_cast<std::size_t>(stringNumber - 1);
  int index = NameIndex(m_name[i]);
  if (index < 0) index = NameIndex(ClassName(m_pitch[i], false));
  const int next = (index + (delta > 0 ? 1 : kNameCount - 1)) % kNameCount;
  int change = kNameClass[next] - kNameClass[index];
  if (delta > 0 && change < 0) change += 12;
  if (delta < 0 && change > 0) change -= 12;
  if (delta < 0 && m_pitch[i] < kLowestPitch) return false;
  if (delta > 0 && m_pitch[i] >= kHighestPitch) return false;
  m_pitch[i] += change;
  m_name[i] = CString(kNames).Mid(2 * next, 2);
  return true;
}

CString KDesignerTuning::Name(int stringNumber) const {
  if (stringNumber < 1 || stringNumber > kStrings) return "  ";
  return m_name[static_cast<std::size_t>(stringNumber - 1)];
}

int KDesignerTuning::Pitch(int stringNumber) const {
  if (stringNumber < 1 || stringNumber > kStrings) return kNone;
  return m_pitch[static_cast<std::size_t>(stringNumber - 1)];
}

CString KDesignerTuning::PitchLabel(int stringNumber) const {
  const int pitch = Pitch(stringNumber);
  if (stringNumber > m_strings || pitch == kNone) return "";
  const CString name = Name(stringNumber);
  CString note = ClassName(pitch, name.GetLength() > 1 && name[1] == 'b');
  note.TrimRight();
  CString label;
  label.Format("(%s%d)", note.Str().c_str(), (pitch + 8) / 12);
  return label;
}

CString KDesignerTuning::PitchText() const {
  std::array<int, 6> places{};
  for (int n = 1; n <= std::min(m_strings, 6); ++n) {
    const int place = 5 - EntryOf(m_strings, n);
    places[static_cast<std::size_t>(place)] = Pitch(n);
  }
  CString text;
  for (int pitch : places) {
    CString number;
    number.Format("%02d", std::max(0, pitch));
    text += number;
  }
  for (int n = 7; n <= 8; ++n) {
    if (n <= m_strings && Pitch(n) > kNone) text += static_cast<char>(Pitch(n) + (m_bass ? 40 : 20));
  }
  return text;
}

CString KDesignerTuning::Build() const {
  CString names;
  for (int place = 0; place < 6; ++place) {
    CString name = "  ";
    for (int n = 1; n <= std::min(m_strings, 6); ++n)
      if (5 - EntryOf(m_strings, n) == place) name = Name(n);
    names += name;
  }
  CString tuning = names;
  tuning += m_bass ? '*' : m_shortFifth > 0 ? static_cast<char>('0' + m_shortFifth) : ' ';
  tuning += PitchText();
  if (!m_fretList.IsEmpty()) tuning += g_FretListMarker + m_fretList;
  return tuning;
}

CString DesignerNoteName(const CString& key, int pitch, int semitone) {
  const bool flats = key.Find('b') >= 0 || key == "F ";
  const CString table(flats ? kFlatClassNames : kSharpClassNames);
  const int index = (((semitone + 12 + pitch) % 12) + 12) % 12;
  return table.Mid(2 * index, 2);
}
