// The two questions the view asks a note line before a typed or inserted note
// changes a column: does the note continue the beam of the notes before it,
// and does the symbol fit the time of its measure (the user may refuse it
// when it does not).

#include <algorithm>
#include <climits>

#include "common/Globals.h"
#include "common/ViewServices.h"
#include "model/KChord.h"
#include "model/KExtendedObj.h"
#include "model/KLineTime.h"
#include "model/KListLine.h"
#include "model/KListLineAutoBeamServices.h"
#include "platform/UiPort.h"

namespace {

constexpr int kTicksUnit = 30;
constexpr UINT kMsgAlreadyWrong = 7101;
constexpr UINT kMsgWillBeWrong = 7100;

// The time signature in force at the column; a line without any gets 4/4 as
// its start and its override.
void TimeSignatureInForce(KListLine& line, int column, int& beats, int& beatTicks) {
  line.GetTimeSignatureAt(column, beats, beatTicks, 0);
  if (beats <= 0 || beatTicks <= 0) {
    beats = kDefaultBeats;
    beatTicks = kDefaultBeatTicks;
    line.SetTimeSignature(beats, beatTicks, 1);
  }
}

// The duration code (0..12) of an entered note; -1 when the symbol is not a
// note. Tablature frets take the tablature duration argument.
int NoteDuration(bool tab, int code, int tabDuration) {
  if (tab) {
    if (code < KChord::kFirstFret || code > KChord::kLastFret) return -1;
    int d = tabDuration;
    if (d >= 14 && d <= 17) d -= 6;
    return d >= 0 && d <= KChord::kWholeNote ? d : -1;
  }
  if (code >= 0 && code <= KChord::kWholeNote) return code;
  if (code == 10000 || code == 10002 || code == 10008 || code == 10010) return code - KChord::kFlaggedBase;
  return -1;
}

int NoteTicks(int code) {
  const int flagged = FlaggedNoteTicks(code);
  return flagged != 0 ? flagged : NoteCodeTicks(code);
}

// The node of the last bar column before the column; null when none.
POSITION BarBefore(const CObList& list, int column) {
  for (POSITION node = list.GetTailPosition(); node != nullptr;) {
    const POSITION here = node;
    const KChord* chord = AsChord(list.GetPrev(node));
    if (chord != nullptr && chord->GetPos() < column && chord->IsBarColumn()) return here;
  }
  return nullptr;
}

// The tuplet scale of a numbered bracket's number: n notes in the time of
// the largest power of two below n (2 and 4 in the time of 3).
void TupletScale(int n, int& numerator, int& denominator) {
  denominator = n;
  if (n == 2 || n == 4) {
    numerator = 3;
  } else if (n >= 3) {
    numerator = n <= 3 ? 2 : n <= 7 ? 4 : 8;
  } else {
    numerator = denominator = 1;
  }
}

}  // namespace

int KListLine::ShouldBeamWithPrevious(int mode, int code, int column, int tabDuration) {
  const int family = GetFamily();
  const int duration = IsNoteFamily(family) ? NoteDuration(family == kFamilyTab, code, tabDuration) : -1;
  if (duration < 0) return g_beamDefault;

  int beats = 0;
  int beatTicks = 0;
  TimeSignatureInForce(*this, column, beats, beatTicks);
  const int unit = BeamBeatTicks(mode, beats, beatTicks);
  if (unit <= 0) return 0;  // no automatic beaming

  // Voice 0 takes the odd codes, voice 1 the even ones; a whole note both.
  const int voice = duration == KChord::kWholeNote ? 3 : duration % 2 == 1 ? 0 : 1;
  // When the column starts after the last bar before it (or the line start),
  // by the line's time: a tuplet's notes start where its bracket puts them.
  const KLineTime time(*this);
  int barStart = 0;
  const KColumnTime* before = nullptr;
  for (const KColumnTime& c : time.Columns()) {
    if (c.pos >= column) break;
    if (c.kind == KColumnTime::Kind::kBar) barStart = c.start;
    before = &c;
  }
  int start = time.TimeAt(column);
  if (before != nullptr && before->twoVoices && voice < 2) start = before->voiceEnd[voice];
  const KChord* atColumn = AsChord(GetObjAt(column, 0));
  if (atColumn != nullptr && atColumn->GetPos() != column) atColumn = nullptr;
  const bool insideBeat = (start - barStart) % unit != 0;
  if (atColumn != nullptr && !atColumn->IsBarColumn()) {
    const int stem = atColumn->GetVoiceStem(voice == 3 ? 0 : voice);
    if (stem > KChord::kStemPlain) return stem % 2 == 0 ? 1 : 0;
  }
  return insideBeat ? 1 : 0;
}

int KListLine::CheckMeasureTiming(int code, int column, int position, int tabDuration, int& outCode,
                                  int& outColumn, int ticksOverride) {
  outCode = code;
  outColumn = column;
  const int family = GetFamily();
  if (!IsNoteFamily(family)) return 1;
  int beats = 0;
  int beatTicks = 0;
  TimeSignatureInForce(*this, column, beats, beatTicks);
  if (g_warnBarTiming == 0) return 1;
  const long long measure = BarTicks(beats, beatTicks);

  // The column at the entry, and the measure around it: after the last bar
  // before the column up to the next bar column (or the line's end).
  const KChord* atColumn = nullptr;
  const POSITION bar = BarBefore(m_objects, column);
  const int measureStart = bar != nullptr ? static_cast<const KPosObj*>(m_objects.GetAt(bar))->GetPos() : -1;
  int measureEnd = INT_MAX;
  for (POSITION node = m_objects.GetHeadPosition(); node != nullptr;) {
    const KChord* chord = AsChord(m_objects.GetNext(node));
    if (chord == nullptr || chord->GetPos() <= measureStart) continue;
    if (chord->GetPos() == column && !chord->IsBarColumn()) atColumn = chord;
    if (chord->GetPos() >= column && chord->IsBarColumn()) {
      measureEnd = chord->GetPos();
      break;
    }
  }

  // The ticks of the new symbol.
  const bool tab = family == kFamilyTab;
  const int duration = NoteDuration(tab, code, tabDuration);
  const int voice = duration < 0 || duration == KChord::kWholeNote ? 3 : duration % 2 == 1 ? 0 : 1;
  long long ticks = 0;
  if (ticksOverride > 0) {
    ticks = ticksOverride;
  } else if (code == KChord::kDot) {
    // The extra length a dot gives the note at the position.
    const int held = atColumn != nullptr ? atColumn->GetNoteDurationAt(position, 3) : KChord::kNoDuration;
    ticks = held <= KChord::kWholeNote ? NoteCodeTicks(held) / 2 : 0;
  } else if (duration >= 0) {
    ticks = tab ? NoteCodeTicks(duration) : NoteTicks(code);
  } else if (!tab && code >= 14 && code <= 20) {
    ticks = NoteCodeTicks(code);
  }
  if (ticks > 0 && code != KChord::kDot && atColumn != nullptr) {
    for (int i = 0; i < atColumn->GetNoteCount(); ++i) {
      const NotePair note = atColumn->GetNote(i);
      if (note.position != position) continue;
      if (note.code == KChord::kDot) ticks = ticks * 3 / 2;
      if (note.code == KChord::kDoubleDot) ticks = ticks * 7 / 4;
    }
  }
  if (ticks <= 0) return 1;

  // The numbered brackets of the measure scale the ticks of their columns.
  auto scaleAt = [this](int pos, long long value) {
    const CObList& attachments = m_attachments;
    for (POSITION node = attachments.GetHeadPosition(); node != nullptr;) {
      const auto* bracket = static_cast<const KExtendedObj*>(attachments.GetNext(node));
      if (bracket->GetKind() != 2) continue;
      const int span = std::max(bracket->GetSize().cx, 0) / g_NoteColumnWidth[0];
      if (pos < bracket->GetPos() || pos > bracket->GetPos() + span) continue;
      const CString& text = bracket->GetText();
      for (int i = 0; i < text.GetLength(); ++i) {
        const char c = text[i];
        if (c < '1' || c > '9') continue;
        int numerator = 1;
        int denominator = 1;
        TupletScale(c - '0', numerator, denominator);
        return value * numerator / denominator;
      }
    }
    return value;
  };

  long long sum = 0;
  long long atColumnTicks = 0;
  for (POSITION node = m_objects.GetHeadPosition(); node != nullptr;) {
    const KChord* chord = AsChord(m_objects.GetNext(node));
    if (chord == nullptr || chord->GetPos() <= measureStart) continue;
    if (chord->GetPos() >= measureEnd) break;
    const long long t = scaleAt(chord->GetPos(), chord->GetTicks(voice, true));
    if (chord == atColumn) atColumnTicks = t;
    sum += t;
  }
  sum = sum / kTicksUnit * kTicksUnit;
  ticks = scaleAt(column, ticks);
  // A note joining a chord makes the column as long as its shortest note; a
  // dot lengthens the note it follows.
  long long after = sum + ticks;
  if (code != KChord::kDot && atColumnTicks > 0) after = sum - atColumnTicks + std::min(atColumnTicks, ticks);
  after = after / kTicksUnit * kTicksUnit;

  // A measure is wrong when it holds more than its length: one that is still
  // being filled is not.
  auto wrong = [measure](long long total) { return total > measure; };
  if (!wrong(after)) return 1;
  const UINT message = wrong(sum) ? kMsgAlreadyWrong : kMsgWillBeWrong;
  return AfxMessageBox(message, MB_YESNO | MB_ICONQUESTION) == IDNO ? 0 : 1;
}
