// Transposing a tablature line. Every fretted note of the range moves by the
// same number of semitones and the column is fingered again on the strings of
// the tuning: of the fingerings that lay the notes on successive strings, the
// one that places the most notes near the reference hand position wins (on
// other tunings than the standard one a barre at the hand position comes
// first). The source line stays as it is; the copy is returned.

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <unordered_map>
#include <vector>

#include "lines/KTabLine.h"
#include "lines/TranslationServices.h"
#include "model/KChord.h"
#include "model/KExtendedObj.h"

namespace {

constexpr int kKeyCount = 16;
constexpr int kKeyToSignature[kKeyCount] = {9, 6, 5, 10, 15, 0, 14, 11, 4, 7, 8, 3, 12, 13, 2, 0};
constexpr int kSignatureToKey[kKeyCount] = {5, 5, 14, 11, 8, 2, 1, 9, 10, 0, 3, 7, 12, 13, 6, 4};
constexpr int kKeyPitchClass[kKeyCount] = {0, 1, 2, 3, 3, 4, 5, 5, 6, 7, 8, 9, 10, 10, 11, 0};
// The key signature of a key-change column after the shift, by pitch class.
constexpr int kShiftedSignature[12] = {9, 6, 5, 10, 0, 11, 4, 7, 8, 3, 13, 2};
constexpr int kWholeLine = 31000;
constexpr int kRowOffset = 2;
constexpr int kRowCount = 10;
constexpr int kAttachmentRowLimit = 100;
constexpr int kBeamOpenAbove = 6;
constexpr int kBeamForward = 21;
const char* const kStandardTuning = "E A D G B E  323742475156";

bool IsFretCode(int code) { return code >= KChord::kFirstFret && code <= KChord::kLastFret; }

// The semitone shift from the source to the target key in the direction.
int ShiftBetween(int sourceKey, int targetKey, int direction) {
  int shift = (kKeyPitchClass[targetKey] - kKeyPitchClass[sourceKey] + 12) % 12;
  if (shift == 0) shift = 12;
  if (direction == 1 || (direction == 2 && shift > 5)) shift -= 12;
  if (shift == 0) shift = -12;
  return shift;
}

// The key signature of a key-change column of the old signature after the shift.
int ShiftedKeySignature(int oldSignature, int shift) {
  const int old = std::clamp(oldSignature, 0, kKeyCount - 1);
  const int index = ((kKeyPitchClass[kSignatureToKey[old]] + 24 + shift) % 12 + 12) % 12;
  if (old % 2 == 0 && index == 5) return 14;
  if (old % 2 == 0 && index == 10) return 12;
  return kShiftedSignature[index];
}

// A way of laying the notes of a column on the strings, with the values by
// which fingerings are compared.
struct Fingering {
  std::vector<int> stringOf;  // per note: string index, -1 when not placed
  int placed = -100;
  double average = 100.0;
  int lowest = 0;
  int lowestCount = 0;
  bool usesFirst = false;
};

// Finds the best fingering of the notes over the candidate table
// (candidates[note][string]: the fret, -1 for none).
// The fingerings the search chose, by everything it chose from: the hand
// position, the rule of the tuning, and the frets each note finds on each
// string. A song repeats its chords and runs from line to line, so a long
// score is fingered mostly from here. The choice depends on nothing else, so
// what is kept is never out of date; the table is emptied when it is full.
class FingeringMemo {
 public:
  const Fingering* Find(const std::vector<int>& key) const {
    const auto found = m_chosen.find(key);
    return found != m_chosen.end() ? &found->second : nullptr;
  }
  void Keep(const std::vector<int>& key, const Fingering& chosen) {
    if (m_chosen.size() >= kMostKept) m_chosen.clear();
    m_chosen.emplace(key, chosen);
  }

 private:
  static constexpr std::size_t kMostKept = 8192;
  struct Hash {
    std::size_t operator()(const std::vector<int>& cells) const {
      std::size_t h = cells.size();
      for (const int cell : cells) h = h * 1000003u ^ static_cast<std::size_t>(cell + 2);
      return h;
    }
  };
  std::unordered_map<std::vector<int>, Fingering, Hash> m_chosen;
};

FingeringMemo& ChosenFingerings() {
  static FingeringMemo memo;
  return memo;
}

// One search serves every column of a line: its fingerings keep their storage
// from column to column.
class FingeringSearch {
 public:
  FingeringSearch(int stringCount, int reference, bool standardTuning)
      : m_strings(stringCount), m_reference(reference), m_standard(standardTuning) {}

  const Fingering& Run(const std::vector<std::vector<int>>& candidates) {
    m_cand = &candidates;
    m_notes = static_cast<int>(candidates.size());
    m_key.assign({m_reference, m_standard ? 1 : 0, m_strings, m_notes});
    for (const std::vector<int>& note : candidates) m_key.insert(m_key.end(), note.begin(), note.end());
    if (const Fingering* known = ChosenFingerings().Find(m_key)) {
      m_best = *known;
      return m_best;
    }
    Search();
    ChosenFingerings().Keep(m_key, m_best);
    return m_best;
  }

 private:
  void Search() {
    Reset(m_best);
    // Family (a): from each string, the notes from a starting note toward the
    // highest note, each on the next higher string.
    for (int startString = m_strings - 1; startString >= 0; --startString) {
      for (int startNote = 0; startNote < m_notes; ++startNote) {
        Fingering& f = Empty();
        int note = startNote;
        int string = startString;
        while (note >= 0 && string >= 0) {
          const int fret = Cand(note, string);
          if (fret < 0) {
            --note;  // the next note takes this string
          } else if (!Fits(f, fret)) {
            if (note > 0 && Cand(note - 1, string) >= 0 && Fits(f, Cand(note - 1, string))) {
              --note;  // gives way to the next note
            } else {
              --string;
            }
          } else {
            f.stringOf[note--] = string--;
          }
        }
        Consider(f);
      }
    }
    // Family (b): from the first string downward, one string per note.
    for (int startNote = 0; startNote < m_notes; ++startNote) {
      Fingering& f = Empty();
      for (int note = startNote, string = 0; note < m_notes && string < m_strings; ++note, ++string) {
        const int fret = Cand(note, string);
        if (fret >= 0 && Fits(f, fret)) f.stringOf[note] = string;
      }
      Consider(f);
    }
  }

  enum class Verdict { kTake, kCompare, kReject };

  // The one fingering under trial, emptied for the next try: its list keeps
  // its storage, so the search does not allocate for every try.
  Fingering& Empty() {
    Reset(m_trial);
    return m_trial;
  }
  void Reset(Fingering& f) const {
    std::vector<int> strings = std::move(f.stringOf);
    f = Fingering{};
    strings.assign(static_cast<size_t>(m_notes), -1);
    f.stringOf = std::move(strings);
  }
  int Cand(int note, int string) const {
    return (*m_cand)[static_cast<size_t>(note)][static_cast<size_t>(string)];
  }

  // An open string always fits; a fretted note only while the fretted notes
  // stay within the hand's reach.
  bool Fits(const Fingering& f, int fret) const {
    if (fret == 0) return true;
    int low = fret;
    int high = fret;
    for (int n = 0; n < m_notes; ++n) {
      const int s = f.stringOf[n];
      if (s < 0 || Cand(n, s) <= 0) continue;
      low = std::min(low, Cand(n, s));
      high = std::max(high, Cand(n, s));
    }
    return high - low <= (high > 4 ? 3 : 4);
  }

  void Measure(Fingering& f) const {
    f.placed = 0;
    int sum = 0;
    int fretted = 0;
    int lowest = -1;
    for (int n = 0; n < m_notes; ++n) {
      const int s = f.stringOf[n];
      if (s < 0) continue;
      ++f.placed;
      const int fret = Cand(n, s);
      if (s == 0) f.usesFirst = true;
      if (fret > 0) {
        sum += fret;
        ++fretted;
      }
      if (lowest < 0 || fret < lowest) lowest = fret;
    }
    f.average = f.placed == 0 ? 1000.0 : (fretted == 0 ? 0.0 : static_cast<double>(sum) / fretted);
    f.lowest = std::max(lowest, 0);
    f.lowestCount = 0;
    for (int n = 0; n < m_notes; ++n) {
      if (f.stringOf[n] >= 0 && Cand(n, f.stringOf[n]) == f.lowest) ++f.lowestCount;
    }
  }

  Verdict StandardRule(const Fingering& f, double d, double d0) const {
    if (f.placed >= std::min(m_notes, 4) && d < 9) {
      if (d < d0) return Verdict::kTake;
      return d == d0 ? Verdict::kCompare : Verdict::kReject;
    }
    return Verdict::kCompare;
  }

  void Consider(Fingering& f) {
    Measure(f);
    const double d = std::fabs(f.average - m_reference);
    const double d0 = std::fabs(m_best.average - m_reference);
    Verdict verdict;
    const int barre = std::min(m_notes - 1, 4);
    if (!m_standard && f.lowestCount >= barre && f.lowestCount > m_best.lowestCount &&
        std::abs(f.lowest - m_reference) <= 3) {
      verdict = Verdict::kTake;
    } else if (!m_standard && m_best.lowestCount >= barre && m_best.lowestCount > f.lowestCount) {
      verdict = Verdict::kReject;
    } else {
      verdict = StandardRule(f, d, d0);
    }
    bool replace = false;
    if (verdict == Verdict::kTake) {
      // Closeness to the hand never buys the loss of a note that another
      // fingering places.
      replace = d <= d0 && f.placed >= m_best.placed;
    } else if (verdict == Verdict::kCompare) {
      replace = f.placed > m_best.placed || (f.placed == m_best.placed && d < d0) ||
                (f.placed == m_best.placed && d == d0 && f.usesFirst && !m_best.usesFirst);
    }
    if (replace) m_best = f;
  }

  const std::vector<std::vector<int>>* m_cand = nullptr;
  std::vector<int> m_key;
  Fingering m_trial;
  int m_notes = 0;
  int m_strings;
  int m_reference;
  bool m_standard;
  Fingering m_best;
};

}  // namespace

std::unique_ptr<KLineObj> KTabLine::Transpose(int first, int last, int keySwitch, int targetKey,
                                              int sourceKey, int direction, int keepHand, int,
                                              int handPosition) {
  if (targetKey < 0 || targetKey >= kKeyCount || sourceKey < 0 || sourceKey >= kKeyCount) return nullptr;
  MarkChanged();
  auto target = std::make_unique<KTabLine>(m_key, m_tuning, m_flags);
  // The copy takes this line's place: it keeps its length, indent and spaces.
  target->SetStaffLength(m_staffLength);
  target->SetIndent(m_indent);
  target->SetSpaceAbove(m_spaceAbove, 0);
  target->SetSpaceBelow(m_spaceBelow, 0);
  target->SetLabel(m_label);
  if (keySwitch < kWholeLine) target->SetKeySignature(kKeyToSignature[targetKey], 0, 0);
  if (m_objects.IsEmpty()) {
    target->CopyAttachmentsFrom(*this);
    return target;
  }
  if (m_group != nullptr) sourceKey = kSignatureToKey[std::clamp(m_key, 0, kKeyCount - 1)];
  if (last >= kWholeLine) last = INT32_MAX;
  const int shift = ShiftBetween(sourceKey, targetKey, direction);
  int reference = handPosition;
  if (keepHand == 0 && reference >= 0) reference = std::max(reference - 2, 0);

  TuningPitches open{};
  GetStringPitches(open);
  std::vector<int> stringRows;
  for (int row = GetStringRowLimit(kFirstRow); row <= GetStringRowLimit(kLastRow); ++row) {
    if (row >= kRowOffset && row < kRowCount && open[row - kRowOffset] != kNoString)
      stringRows.push_back(row);
  }
  const bool standard = m_tuning.Left(25) == kStandardTuning;
  const bool fretList = HasFretList();
  FingeringSearch search(static_cast<int>(stringRows.size()), reference, standard);
  // Per column in the range: the change of string of its first moved note.
  std::vector<std::pair<int, int>> rowChanges;
  // Work lists of one column, kept across columns so that a long line is
  // transposed without allocating for every column.
  std::vector<int> entries;
  std::vector<int> pitches;
  std::vector<std::vector<int>> candidates;
  std::vector<int> action;

  for (POSITION node = m_objects.GetHeadPosition(); node != nullptr;) {
    const KChord* column = AsChord(m_objects.GetNext(node));
    if (column == nullptr) continue;
    const int pos = column->GetPos();
    auto* out = new KChord(*column, pos, true);
    if (pos < first || pos > last || column->IsBarColumn()) {
      target->m_objects.AddTail(out);
      continue;
    }
    if (column->GetNoteCount() >= 2 && column->GetRawNote(0).code == KChord::kKeySignature) {
      if (shift % 12 != 0) out->SetNoteCode(1, ShiftedKeySignature(column->GetRawNote(1).code, shift));
      target->m_objects.AddTail(out);
      continue;
    }
    if (column->IsSignatureColumn()) {
      target->m_objects.AddTail(out);
      continue;
    }

    // The fretted notes, from the first string down, with their new pitches.
    entries.clear();
    for (int i = 0; i < column->GetNoteCount(); ++i) {
      const NotePair note = column->GetNote(i);
      if (!IsFretCode(note.code) || note.position < kRowOffset || note.position >= kRowCount) continue;
      if (open[note.position - kRowOffset] == kNoString) continue;
      entries.push_back(i);
    }
    std::stable_sort(entries.begin(), entries.end(), [column](int a, int b) {
      return column->GetNote(a).position < column->GetNote(b).position;
    });
    pitches.clear();
    for (int i : entries) {
      const NotePair note = column->GetNote(i);
      pitches.push_back(open[note.position - kRowOffset] + m_fretMap[note.code - KChord::kFirstFret] + shift);
    }
    if (entries.empty()) {
      target->m_objects.AddTail(out);
      continue;
    }
    candidates.resize(entries.size());
    for (std::vector<int>& row : candidates) row.assign(stringRows.size(), -1);
    for (size_t n = 0; n < entries.size(); ++n) {
      for (size_t s = 0; s < stringRows.size(); ++s) {
        candidates[n][s] = FretForSemitone(pitches[n] - open[stringRows[s] - kRowOffset], fretList);
      }
    }
    const Fingering& best = search.Run(candidates);

    // Each entry of a string row follows the note of its row; the entries of a
    // dropped note go with it.
    int rowTarget[kRowCount];
    bool rowDropped[kRowCount] = {};
    std::fill(std::begin(rowTarget), std::end(rowTarget), -1);
    action.assign(static_cast<size_t>(column->GetNoteCount()), -1);  // new row, or -2 to remove
    bool changeNoted = false;
    for (size_t n = 0; n < entries.size(); ++n) {
      const int i = entries[n];
      const int oldRow = column->GetNote(i).position;
      const int s = n < best.stringOf.size() ? best.stringOf[n] : -1;
      if (s < 0) {
        action[i] = -2;
        rowDropped[oldRow] = true;
        continue;
      }
      action[i] = stringRows[s];
      out->SetNoteCode(i, KChord::kFirstFret + candidates[n][s]);
      if (rowTarget[oldRow] < 0) rowTarget[oldRow] = stringRows[s];
      if (!changeNoted) {
        rowChanges.emplace_back(pos, stringRows[s] - oldRow);
        changeNoted = true;
      }
    }
    bool onlyNotes = true;
    for (int i = column->GetNoteCount() - 1; i >= 0; --i) {
      const int raw = column->GetRawNote(i).position;
      const int row = column->GetNote(i).position;
      if (action[i] >= 0) {
        out->SetNoteValue(i, action[i]);  // a fret keeps its own duration
        continue;
      }
      if (action[i] == -2) {
        out->RemoveEntry(i);
        continue;
      }
      onlyNotes = false;
      if (row >= 0 && row < kRowCount && rowTarget[row] >= 0) {
        out->SetNoteValue(i, raw / 10 * 10 + rowTarget[row]);
      } else if (row >= 0 && row < kRowCount && rowDropped[row]) {
        out->RemoveEntry(i);
      }
    }
    if (out->GetNoteCount() == 0 || (onlyNotes && best.placed <= 0)) {
      delete out;
      continue;
    }
    target->m_objects.AddTail(out);
  }
  target->UpdateTimeSigCache();
  target->MarkChanged();

  if (g_tabTransposeBeams != 0) {
    for (int voice = 0; voice < 2; ++voice) {
      for (POSITION node = target->m_objects.GetHeadPosition(); node != nullptr;) {
        const POSITION here = node;
        const KChord* column = AsChord(target->m_objects.GetNext(node));
        if (column == nullptr) continue;
        const int stem = column->GetStemEnd(voice);
        if (stem <= kBeamOpenAbove || stem % 2 == 0) continue;
        const POSITION end = target->FindBeamGroupEdge(here, voice, kBeamForward);
        if (end == nullptr) continue;
        target->ApplyToNodeRange(here, end, voice, 0);
        node = end;
        target->m_objects.GetNext(node);
      }
    }
  }

  // Attachments: those on moved columns follow the first moved note's string.
  // Attachments outside the range are kept as they are (the copy replaces the
  // whole line, so leaving them out would lose them).
  target->CopyAttachmentsFrom(*this);
  for (POSITION node = target->m_attachments.GetHeadPosition(); node != nullptr;) {
    auto* attachment = static_cast<KExtendedObj*>(target->m_attachments.GetNext(node));
    const int pos = attachment->GetPos();
    if (pos < first || pos > last || pos >= kAttachmentRowLimit || attachment->GetKind() < 0 ||
        attachment->GetKind() > 2)
      continue;
    const auto change = std::find_if(rowChanges.begin(), rowChanges.end(),
                                     [pos](const std::pair<int, int>& c) { return c.first == pos; });
    if (change == rowChanges.end()) continue;
    attachment->SetRow(std::clamp(attachment->GetRow() + change->second, 0, kRowCount - 1));
  }
  return target;
}
