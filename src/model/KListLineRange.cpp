// Commands of the view over a selected range of a line: the note value and
// the note style of the selected notes, and ties between the notes that
// consecutive note columns share.

#include <algorithm>
#include <climits>
#include <memory>
#include <vector>

#include "common/Globals.h"
#include "model/KChord.h"
#include "model/KExtendedObj.h"
#include "model/KListLine.h"
#include "model/KRhythmObj.h"
#include "platform/UiPort.h"

namespace {

constexpr int kMaxNoteValue = 12;
constexpr int kValueChangeRow = 10000;
constexpr int kTabValueSubCode = 70;
constexpr int kNoRedraw = 10000;
// The rhythm symbols whose note value the command sets.
bool TakesRhythmValue(int code) { return (code >= 205 && code <= 216) || (code >= 223 && code <= 238); }

int Size(int sizeIndex) { return sizeIndex == 1 ? 1 : 0; }

// The column under pixel x of a note line whose columns start at lead;
// columns left of the line count as 0.
int PixelColumn(int x, long long lead, int columnWidth) {
  const long long column = (static_cast<long long>(x) - lead) / columnWidth;
  return static_cast<int>(std::clamp<long long>(column, 0, INT_MAX));
}

bool HasDuration(const KChord& column, int voice) {
  return column.GetVoiceDuration(voice) != KChord::kNoDuration;
}

// A voice holds a note whose value the command sets (the whole note belongs
// to both voices and does not count for either).
bool HasVoiceNote(const KChord& column, int voice) {
  const int d = column.GetVoiceDuration(voice);
  return d != KChord::kNoDuration && d != KChord::kWholeNote;
}

// The column continues the beam of the column before it when that one opens
// or runs inside a group and this one runs inside or closes it.
int ContinuesBeam(const KChord* before, const KChord& column) {
  if (before == nullptr) return 0;
  for (int voice = 0; voice < 2; ++voice) {
    const int previous = before->GetVoiceStem(voice);
    const int stem = column.GetVoiceStem(voice);
    const bool previousOpen = previous < 0 || (previous > KChord::kStemPlain && previous % 2 == 1);
    const bool closes = stem < 0 || (stem > KChord::kStemPlain && stem % 2 == 0);
    if (previousOpen && closes) return 1;
  }
  return 0;
}

// The notes a tie may start from.
bool IsTieStart(const KChord& column, int code) {
  if (column.IsTabColumn()) return code >= KChord::kFirstFret && code <= KChord::kLastFret;
  static constexpr int kSpecial[] = {70,    71,    10003, 10004, 10005, 10006, 10007,
                                     10013, 10070, 10071, 10076, 10077, 10089, 10090};
  return code < 14 || std::find(std::begin(kSpecial), std::end(kSpecial), code) != std::end(kSpecial);
}

// The notes a tie may end on.
bool IsTieEnd(const KChord& column, int code) {
  if (column.IsTabColumn()) return code >= KChord::kFirstFret && code <= KChord::kLastFret;
  return code <= kMaxNoteValue;
}

std::vector<int> TiePositions(const KChord& column, bool start) {
  std::vector<int> positions;
  if (column.IsBarColumn() || column.IsSignatureColumn()) return positions;
  for (int i = 0; i < column.GetNoteCount(); ++i) {
    const NotePair note = column.GetNote(i);
    if (start ? IsTieStart(column, note.code) : IsTieEnd(column, note.code))
      positions.push_back(note.position);
  }
  return positions;
}

}  // namespace

KLinePair KListLine::SetNoteValueInRange(int x1, int x2, int value, int sizeIndex, int extra,
                                          const VoiceModeQuestion& askVoiceMode) {
  if (m_objects.IsEmpty() || value < 0 || value > kMaxNoteValue) return {0, -1};
  const int size = Size(sizeIndex);
  const bool rhythm = GetFamily() == kFamilyRhythm;
  const bool notes = IsNoteFamily(GetFamily());
  if (!rhythm && !notes) return {0, -1};

  int first = std::max(x1, 0);
  int end = std::max(x2, 0);
  if (notes) {
    const long long lead = static_cast<long long>(GetLeadInWidth(size)) + GetIndent() + extra;
    first = PixelColumn(x1, lead, ColumnWidth(size));
    end = PixelColumn(x2, lead, ColumnWidth(size));
  }

  // Notes of both voices in the range: the user says how to apply the value.
  bool voices[2] = {false, false};
  for (POSITION node = m_objects.GetHeadPosition(); node != nullptr;) {
    const KChord* column = AsChord(m_objects.GetNext(node));
    if (column == nullptr || column->GetPos() < first || column->GetPos() >= end) continue;
    for (int voice = 0; voice < 2; ++voice) voices[voice] = voices[voice] || HasVoiceNote(*column, voice);
  }
  int mode = kVoiceModeBoth;
  if (voices[0] && voices[1] && askVoiceMode) {
    mode = askVoiceMode();
    if (mode == 0) return {0, -1};
  }

  KLinePair last{0, -1};
  int redraw = kNoRedraw;
  bool edited = false;
  auto take = [&](KLinePair result) {
    edited = true;
    last = result;
    if (result.second >= 0) redraw = std::min(redraw, result.second);
  };

  if (rhythm) {
    // Character columns: each symbol spans its text, at least one character.
    struct Target {
      int column;
    };
    std::vector<Target> targets;
    int start = 0;
    for (POSITION node = m_objects.GetHeadPosition(); node != nullptr;) {
      const KRhythmObj* item = AsRhythmObj(m_objects.GetNext(node));
      if (item == nullptr) continue;
      const int length = std::max(item->GetText().GetLength(), 1);
      const int next = start > INT_MAX - length ? INT_MAX : start + length;
      if (start >= first && start < end && TakesRhythmValue(item->GetCode())) targets.push_back({next - 1});
      start = next;
    }
    for (const Target& target : targets)
      take(HandleKey(value, 0, size, target.column, mode + kValueChangeRow, 0, 0, 0));
  } else {
    // The columns and their beam flags are taken before any edit.
    struct Target {
      int column;
      int beamFlag;
    };
    std::vector<Target> targets;
    const KChord* before = nullptr;
    for (POSITION node = m_objects.GetHeadPosition(); node != nullptr;) {
      const KChord* column = AsChord(m_objects.GetNext(node));
      if (column == nullptr) continue;
      if (column->GetPos() >= first && column->GetPos() < end &&
          (HasDuration(*column, 0) || HasDuration(*column, 1)))
        targets.push_back({column->GetPos(), ContinuesBeam(before, *column)});
      before = column;
    }
    for (const Target& target : targets)
      take(EditNoteAt(value, kTabValueSubCode, size, target.column, mode + kValueChangeRow, target.beamFlag,
                      0, 0));
  }
  if (!edited) return {0, -1};
  MarkChanged();
  return {last.first, redraw};
}

void KListLine::SetNoteStyleInRange(int x1, int x2, int style, int sizeIndex, int extra) {
  if (!IsNoteFamily(GetFamily()) || m_objects.IsEmpty()) return;
  const int size = Size(sizeIndex);
  const long long lead = static_cast<long long>(GetLeadInWidth(size)) + GetIndent() + extra;
  const int first = PixelColumn(x1, lead, ColumnWidth(size));
  const int end = PixelColumn(x2, lead, ColumnWidth(size));
  bool changed = false;
  for (POSITION node = m_objects.GetHeadPosition(); node != nullptr;) {
    KChord* column = AsChord(m_objects.GetNext(node));
    if (column == nullptr || column->GetPos() < first || column->GetPos() >= end) continue;
    if (!HasDuration(*column, 0) && !HasDuration(*column, 1)) continue;
    column->SetNoteStyle(style, -1);
    changed = true;
  }
  if (changed) MarkChanged();
}

void KListLine::TieNotesInRange(int letter, int first, int end) {
  if (!IsNoteFamily(GetFamily())) return;
  // A range to the end of the line may come as a very large end column.
  first = std::max(first, 0);
  end = std::min(end, kWholeLineColumn);
  std::vector<const KChord*> columns;
  for (POSITION node = m_objects.GetHeadPosition(); node != nullptr;) {
    const KChord* column = AsChord(m_objects.GetNext(node));
    if (column == nullptr || column->GetPos() < first || column->GetPos() >= end) continue;
    if (!TiePositions(*column, true).empty() || !TiePositions(*column, false).empty())
      columns.push_back(column);
  }

  // A pair is (start column, its column, end column, its column); the
  // temporary copies stand for the end of the line before and after.
  struct Pair {
    const KChord* start;
    int startColumn;
    const KChord* end;
    int endColumn;
    bool fromLineBefore;
  };
  std::vector<Pair> pairs;
  if (!columns.empty()) {
    const KChord* head = columns.front();
    if (first == 0 && end == 1 && head->GetPos() == 0) pairs.push_back({head, -1, head, 0, true});
    for (std::size_t i = 0; i + 1 < columns.size(); ++i)
      pairs.push_back({columns[i], columns[i]->GetPos(), columns[i + 1], columns[i + 1]->GetPos(), false});
    const KChord* tail = columns.back();
    if (end - 1 > tail->GetPos() + 1) pairs.push_back({tail, tail->GetPos(), tail, end - 1, false});
  }

  constexpr int kColumnWidth = 18;
  int made = 0;
  for (const Pair& pair : pairs) {
    const std::vector<int> starts = TiePositions(*pair.start, true);
    const std::vector<int> ends = TiePositions(*pair.end, false);
    if (starts.empty()) continue;
    const auto [low, high] = std::minmax_element(starts.begin(), starts.end());
    const int middle = (*low + *high) / 2;
    const int width = kColumnWidth * (pair.endColumn - pair.startColumn);
    std::vector<int> done;
    for (const int position : starts) {
      if (std::find(ends.begin(), ends.end(), position) == ends.end()) continue;
      if (std::find(done.begin(), done.end(), position) != done.end()) continue;
      done.push_back(position);
      const bool above = starts.size() == 1 ? letter == 'n' : position <= middle;
      // Above or below by its shape; a tie either way.
      auto* tie = new KExtendedObj(std::max(pair.startColumn, 0), position, KExtendedObj::kTie, width / 2,
                                   above ? -6 : 6, width, 0);
      tie->SetOffset(pair.fromLineBefore ? -kColumnWidth : 0, above ? -5 : 5);
      AddAttachment(tie);
      ++made;
    }
  }
  if (made > 0) {
    MarkChanged();
  } else {
    MessageBeep(MB_OK);
  }
}
