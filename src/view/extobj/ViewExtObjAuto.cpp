// Auto-insert geometry. Heights are compared as levels: 100 at the staff's
// row 14 (tablature row 2), growing downward by 3 per staff step (string
// spacing + 1 per string), with an allowance of 3 toward the object's side
// so that a curve stays clear of the note heads. On a staff a stem that points
// to the object's side (voice 1 up, voice 0 down) takes the allowance out to
// its free end, so that a slur over stems-up notes clears their stems.

#include "view/extobj/ViewExtObjAuto.h"

#include <algorithm>
#include <cstdlib>
#include <optional>

#include "model/KChord.h"
#include "model/KExtendedObj.h"
#include "model/KListLine.h"
#include "view/extobj/ViewExtObjSupport.h"

namespace extobj {

namespace {

constexpr int kColumn = 18;
constexpr int kAllowance = 3;
constexpr int kLevelBase = 100;

bool HasNote(const KChord& chord, bool tab) {
  for (int i = 0; i < chord.GetNoteCount(); ++i) {
    const int code = chord.GetNote(i).code % 10000;
    if (tab ? (code >= KChord::kFirstFret && code <= KChord::kFirstFret + 24) : code <= 13) return true;
  }
  return false;
}

bool UpperVoiceOnly(const KChord& chord) {
  bool any = false;
  for (int i = 0; i < chord.GetNoteCount(); ++i) {
    const int code = chord.GetNote(i).code % 10000;
    if (code > 13) continue;
    if (code % 2 == 0) return false;
    any = true;
  }
  return any;
}

int StringStep(const AutoScan& scan) { return scan.stringSpacing + 1; }

// The default stem lengths of the normal size, up (voice 1) and down (voice 0).
constexpr int kUpStem = 19;
constexpr int kDownStem = 20;
constexpr int kStaffStep = 3;
constexpr int kTopLineRow = 14;

// The level of the free end of the staff column's stem on the object's side,
// or none when no stemmed note of that voice stands there.
std::optional<int> StemTipLevel(const KChord& chord, bool above, const AutoScan& scan) {
  if (scan.tab) return std::nullopt;
  const int voice = above ? 1 : 0;
  std::optional<int> extreme;
  for (int i = 0; i < chord.GetNoteCount(); ++i) {
    const NotePair note = chord.GetNote(i);
    const int code = note.code;
    if (code < 0 || code > 11 || code % 2 != (voice == 1 ? 0 : 1)) continue;
    if (!extreme || (above ? note.position < *extreme : note.position > *extreme)) extreme = note.position;
  }
  if (!extreme) return std::nullopt;
  const int stored = chord.GetStemEnd(voice, 0, scan.stringSpacing);
  if (stored < -2 || stored > 6) return std::abs(stored);
  const int head = kLevelBase + (*extreme - kTopLineRow) * kStaffStep;
  return above ? head - kUpStem : head + kDownStem;
}

int LevelOf(const AutoScan& scan, int row, bool above) {
  const int allowance = above ? -kAllowance : kAllowance;
  if (scan.tab) return kLevelBase - 2 + (row - 2) * StringStep(scan) + allowance;
  return kLevelBase + (row - 14) * 3 + allowance;
}

int RowOfLevel(const AutoScan& scan, int level) {
  if (scan.tab) return std::clamp((level - kLevelBase) / StringStep(scan) + 2, 0, KExtendedObj::kMaxTabRow);
  return std::clamp((level - kLevelBase) / 3 + 14, 1, KExtendedObj::kMaxRow);
}

// The row of the side: the highest note for objects above, the lowest below.
int SideRow(const AutoScan& scan, bool above) {
  if (scan.notes.empty()) return scan.tab ? 2 : 14;
  int level = scan.notes.front().level;
  for (const NoteColumn& note : scan.notes)
    level = above ? std::min(level, note.level) : std::max(level, note.level);
  return RowOfLevel(scan, level);
}

std::unique_ptr<KExtendedObj> MakeCurve(const AutoScan& scan, bool down) {
  const std::vector<NoteColumn>& n = scan.notes;
  const int count = static_cast<int>(n.size());
  const int first = n.front().level;
  const int last = n.back().level;
  int peak = -1;
  if (down && last < first) {
    for (int i = 0; i + 1 < count; ++i)
      if (n[i].level < n[i + 1].level) peak = i;
  } else if (down) {
    for (int i = 1; i < count; ++i)
      if (n[i].level < n[i - 1].level) peak = i;
  } else {
    for (int i = 0; i + 1 < count; ++i)
      if (n[i].level > n[i + 1].level) peak = i;
  }
  if (peak < 0) peak = count / 2;

  const int span = n.back().pos - n.front().pos;
  const int width = span * kColumn;
  CPoint end(width, last - first);
  CPoint mid;
  if (first == last && peak == count - 1) {
    mid = CPoint(width / 2, down ? -6 : 6);
    end = CPoint(width, 0);
  } else {
    if (count == 2 || first == last) {
      mid.x = span / 2 * kColumn + 9;
    } else if (peak == 0) {
      mid.x = width / 3;
    } else if (peak == count - 1) {
      mid.x = width * 2 / 3;
    } else {
      mid.x = (n[peak].pos - n.front().pos) * kColumn;
    }
    const int lift = count == 2 ? 6 : 12;
    mid.y = n[peak].level - first + (down ? -lift : lift);
    if (down && count == 2 && last >= first) mid.y = std::min<int>(mid.y, -3);
  }
  auto object = std::make_unique<KExtendedObj>(n.front().pos, RowOfLevel(scan, first),
                                               down ? KExtendedObj::kTie : KExtendedObj::kSlur, mid.x, mid.y,
                                               end.x, end.y);
  if (down) {
    object->SetOffset(0, scan.tab ? 2 : -2);
  } else {
    object->SetOffset(0, scan.tab ? 4 : 2);
  }
  return object;
}

std::unique_ptr<KExtendedObj> MakeTuplet(const AutoScan& scan) {
  bool plus = true;
  int lowest = 0;
  for (const NoteColumn& note : scan.notes) {
    plus = plus && note.upperVoiceOnly && note.extremeRow >= 17;
    lowest = std::max(lowest, note.extremeRow);
  }
  const int first = scan.notes.front().pos;
  const int last = scan.notes.back().pos;
  int width = (last - first + 1) * kColumn - (scan.beforeUpperOnly ? 6 : 4);
  if (plus) width -= 4;
  int row = 0;
  if (plus) {
    const int side = scan.tab ? std::clamp(lowest + 21 / StringStep(scan), 0, KExtendedObj::kMaxTabRow)
                              : std::clamp(lowest + 7, 1, KExtendedObj::kMaxRow);
    row = scan.tab ? KExtendedObj::kMaxTabRow : std::clamp(side + 4, 29, KExtendedObj::kMaxRow);
  } else {
    const int side = SideRow(scan, true);
    row = scan.tab ? std::clamp(side - 1, 0, 1) : std::clamp(side - 2, 1, 9);
  }
  auto object = std::make_unique<KExtendedObj>(first, row, KExtendedObj::kNumberedBracket, 0, 0, width, 0);
  object->SetText(plus ? "+3" : "-3");
  object->SetOffset(0, -2);
  return object;
}

std::unique_ptr<KExtendedObj> MakeHairpin(const AutoScan& scan, int kind) {
  const int first = scan.notes.front().pos;
  const int width = (scan.notes.back().pos - first + 1) * kColumn - 5;
  const int row = std::max(SideRow(scan, false), scan.tab ? 7 : 26);
  auto object = std::make_unique<KExtendedObj>(first, row, kind, 0, 0, width, 7);
  object->SetOffset(0, -2);
  return object;
}

std::unique_ptr<KExtendedObj> MakeBracket(const AutoScan& scan, int kind, const CString& text,
                                          const CString& font) {
  const bool up = KExtendedObj::IsReversedBracket(kind);
  const int side = SideRow(scan, !up);
  int row = 0;
  if (up) {
    row = scan.tab ? std::clamp(side + 3, 8, 9) : std::clamp(side + 5, 26, KExtendedObj::kMaxRow);
  } else {
    row = scan.tab ? std::clamp(side - 3, 0, 1) : std::clamp(side - 5, 1, 9);
  }
  int width = (scan.lastColumn - (scan.lastIsBar ? 1 : 0) - scan.firstColumn) * kColumn;
  if (scan.firstIsBar && scan.lastIsBar) {
    width -= 2;
  } else if (scan.firstIsBar) {
    width -= 9;
  } else if (scan.lastIsBar) {
    width += 5;
  } else {
    width -= 1;
  }
  const int height = (kind >= 13 && kind <= 20) || kind == 9 ? 6 : 14;
  auto object =
      std::make_unique<KExtendedObj>(scan.firstColumn, row, kind, 0, 0, width, up ? -height : height);
  object->SetText(text);
  object->SetFontText(font);
  object->SetOffset(scan.firstIsBar ? 6 : 1, 0);
  return object;
}

}  // namespace

bool AboveNotes(unsigned command, int bracketKind) {
  if (command == kBracket) return !KExtendedObj::IsReversedBracket(bracketKind);
  return command == kDownCurve || command == kTriplet;
}

AutoScan ScanColumns(const KListLine& line, int firstColumn, int lastColumn, bool above, int stringSpacing) {
  AutoScan scan;
  scan.tab = line.GetFamily() == KLineObj::kFamilyTab;
  scan.stringSpacing = stringSpacing;
  scan.firstColumn = firstColumn;
  scan.lastColumn = lastColumn;
  const CObList* objects = line.GetObjList();
  for (POSITION node = objects->GetHeadPosition(); node != nullptr;) {
    const KChord* chord = AsChord(objects->GetNext(node));
    if (chord == nullptr) continue;
    const int pos = chord->GetPos();
    if (pos == firstColumn && chord->IsBarColumn()) scan.firstIsBar = true;
    if (pos == lastColumn && chord->IsBarColumn()) scan.lastIsBar = true;
    if (pos == firstColumn - 1) scan.beforeUpperOnly = UpperVoiceOnly(*chord);
    if (pos < firstColumn || pos >= lastColumn) continue;
    ++scan.objects;
    if (!HasNote(*chord, scan.tab)) continue;
    NoteColumn note;
    note.pos = pos;
    note.extremeRow = chord->GetExtremeNote(above ? 100 : 101);
    note.level = LevelOf(scan, note.extremeRow, above);
    if (const std::optional<int> tip = StemTipLevel(*chord, above, scan)) {
      note.level = above ? std::min(note.level, *tip - kAllowance) : std::max(note.level, *tip + kAllowance);
    }
    note.upperVoiceOnly = UpperVoiceOnly(*chord);
    scan.notes.push_back(note);
  }
  return scan;
}

std::unique_ptr<KExtendedObj> MakeAutoObject(unsigned command, int bracketKind, const CString& bracketText,
                                             const CString& bracketFont, const AutoScan& scan) {
  if (scan.objects < 2) return nullptr;
  if (scan.notes.empty() && command != kBracket) return nullptr;
  switch (command) {
    case kDownCurve:
    case kUpCurve:
      if (scan.notes.size() < 2) return nullptr;
      return MakeCurve(scan, command == kDownCurve);
    case kTriplet:
      return MakeTuplet(scan);
    case kCrescendo:
      return MakeHairpin(scan, KExtendedObj::kCrescendo);
    case kDecrescendo:
      return MakeHairpin(scan, KExtendedObj::kDecrescendo);
    case kBracket:
      return MakeBracket(scan, bracketKind, bracketText, bracketFont);
    default:
      return nullptr;
  }
}

}  // namespace extobj
