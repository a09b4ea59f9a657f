// The note preview of typed entry: with "Play notes entered while editing a
// score" on, a note-value letter typed on a staff and a fret digit typed on
// tablature sound the note just entered, through the program's MIDI output,
// in the instrument the preferences give the line's kind.

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>

#include "common/SoundNote.h"
#include "doc/pref_values/Preferences.h"
#include "lines/KTabLine.h"
#include "model/KChord.h"
#include "model/KListLine.h"
#include "model/KNoteEvent.h"
#include "view/CStavlinView.h"
#include "view/input/ViewCharEntry.h"

namespace {

constexpr const char* kNoteValueLetters = "tTsSyYxXqQhHw$";
constexpr int kShortestMs = 240;
constexpr int kLongestMs = 960;
constexpr int kKindAlto = 9;
constexpr int kKindTenor = 10;
constexpr int kKindTreble = 0;
constexpr int kKindTab = 2;
constexpr int kKindBassTab = 15;

// The instrument of the preferences for the line's kind.
int InstrumentOf(int lineType) {
  const KPrefMidiInstruments& p = g_prefMidiInstruments;
  switch (lineType) {
    case KLineObj::kKindBassStaff:
      return p.bass;
    case kKindTab:
      return p.tab;
    case KLineObj::kKindRhythm:
    case KLineObj::kKindDrums:
    case KLineObj::kKindPercussion:
      return p.playbackNumber;
    case kKindAlto:
      return p.alto;
    case kKindTenor:
      return p.tenor;
    case kKindBassTab:
      return p.bassTab;
    default:
      return p.treble;
  }
}

bool LabelSaysGuitar(const KLineObj& line) {
  std::string label = line.GetLabel().Str();
  for (char& c : label) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return label.find("GUIT") != std::string::npos || label.find("GTR") != std::string::npos ||
         label.find("GIT") != std::string::npos;
}

}  // namespace

void view_char::PreviewTypedNote(CStavlinView& view, UINT typed, int displayLine, int column) {
  if (g_prefMidiInstruments.playWhileEditing == 0) return;
  if (displayLine < 0 || displayLine >= view.GetDisplayLineCount()) return;
  KLineObj* line = view.GetDisplayLineObj(displayLine);
  KListLine* list = line != nullptr ? line->AsListLine() : nullptr;
  if (list == nullptr) return;
  const int family = line->GetFamily();
  const bool staffLetter = family == KLineObj::kFamilyStaff && typed != 0 && typed < 128 &&
                           std::strchr(kNoteValueLetters, static_cast<int>(typed)) != nullptr;
  const bool tabDigit = family == KLineObj::kFamilyTab && typed >= '0' && typed <= '9';
  if (!staffLetter && !tabDigit) return;
  const auto* chord = dynamic_cast<const KChord*>(list->GetObjAt(column, 0));
  if (chord == nullptr || chord->GetNoteCount() == 0) return;

  KColumnPlayContext context;
  context.lineType = line->GetType();
  if (const auto* tab = dynamic_cast<const KTabLine*>(line)) {
    context.tuning = tab->GetTuning();
    context.fretMap = tab->GetFretMap();
  }
  context.earlierColumn = [list, column](int back) -> const KChord* {
    return column - back >= 0 ? dynamic_cast<const KChord*>(list->GetObjAt(column - back, 0)) : nullptr;
  };
  // The note at the caret's row (its step on a staff, its string on
  // tablature), else the column's first note.
  const int row = view.GetCaretRow();
  int key = list->GetKeySignatureAt(column);
  int chosen = -1;
  KNoteEvent event;
  for (int index = 0; index < chord->GetNoteCount();) {
    const int entry = index;
    if (chord->MakeMidiEvent(index, event, context, 64, key) == 0) break;
    const int value = chord->RawEntry(entry).value;
    const bool atRow = family == KLineObj::kFamilyTab ? value % 10 == row : value == row;
    if (event.velocity > 0 && (chosen < 0 || atRow)) {
      chosen = event.note;
      if (atRow) break;
    }
    if (index <= entry) break;
  }
  if (chosen < 0) return;
  if (g_prefMidiInstruments.tabOctaveLower != 0 && (family == KLineObj::kFamilyTab || LabelSaysGuitar(*line)))
    chosen -= 12;
  const int ms = std::clamp(chord->GetTicks(3, 0), kShortestMs, kLongestMs);
  KFrameServices* frame = view.Host() != nullptr ? view.Host()->Frame() : nullptr;
  MidiOutPort* out = frame != nullptr ? frame->PreviewOutput() : nullptr;
  if (out != nullptr) PlayPreviewNote(out, chosen, InstrumentOf(line->GetType()), ms, kPreviewVelocity);
}
