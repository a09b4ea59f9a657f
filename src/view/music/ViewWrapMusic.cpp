// Actions/Wrap Music In Selected Lines: whole bars move between successive
// lines of one part so that every staff and tablature line fits its staff
// length. A part is the ungrouped lines of one type and label, or the same
// slots of successive line groups of one structure (a whole group moves
// together, cut at one column). Bars that run past a line's end go to the
// start of the part's next line (made when there is none); a line with room
// takes whole bars from the start of the next one.

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "doc/pref_values/Preferences.h"
#include "lines/KStrLine.h"
#include "model/KChord.h"
#include "model/KLineGroup.h"
#include "model/KListLine.h"
#include "platform/UiPort.h"
#include "view/CStavlinView.h"
#include "view/core/ViewLineGeometry.h"
#include "view/music/ViewMusic.h"
#include "view/music/ViewWrapCaret.h"
#include "view/music/ViewWrapColumns.h"
#include "view/music/ViewWrapKeys.h"

int g_automaticWrap = 0;

namespace {

constexpr int kUndoSelectedToEnd = 4;
constexpr int kColumn = 18;
constexpr int kBarCode = 21;
constexpr int kStartRepeatCode = 24;
constexpr int kMaxLabelNames = 30;
constexpr int kMaxWalkSteps = 1000000;
constexpr int kMaxKeyChanges = 10000;

// Keeps a program-wide value for the life of a scope.
class SetFor {
 public:
  SetFor(int& value, int set) : m_value(value), m_saved(value) { m_value = set; }
  ~SetFor() { m_value = m_saved; }
  SetFor(const SetFor&) = delete;
  SetFor& operator=(const SetFor&) = delete;

 private:
  int& m_value;
  int m_saved;
};

constexpr const char* kWrappingText = "Wrapping music from line to line...";

// The prompt pane tells what runs and the wait cursor shows for the time of
// the run, and both go when it ends, however it ends.
class WrapProgressShown {
 public:
  explicit WrapProgressShown(CStavlinView& view)
      : m_frame(view.m_host != nullptr ? view.m_host->Frame() : nullptr) {
    if (m_frame == nullptr) return;
    m_frame->SetStatusMessage(CString(kWrappingText));
    m_frame->BeginWaitCursor();
  }
  ~WrapProgressShown() {
    if (m_frame == nullptr) return;
    m_frame->EndWaitCursor();
    m_frame->SetStatusMessage(CString());
  }
  WrapProgressShown(const WrapProgressShown&) = delete;
  WrapProgressShown& operator=(const WrapProgressShown&) = delete;

 private:
  KFrameServices* m_frame;
};

struct WrapError {
  int number;
};

bool IsNotation(const KLineObj* line) { return line != nullptr && KLineObj::IsNoteFamily(line->GetFamily()); }

bool IsBar(const KPosObj* object) {
  const KChord* chord = AsChord(object);
  return chord != nullptr && chord->IsBarColumn();
}

bool StartsWithBar(KListLine& line) {
  const CObList* objects = line.GetObjList();
  return !objects->IsEmpty() && IsBar(static_cast<const KPosObj*>(objects->GetHead())) &&
         static_cast<const KPosObj*>(objects->GetHead())->GetPos() == 0;
}

// The line opens with a bar line that closes a bar (any but a start repeat,
// which opens the bar after it).
bool StartsWithClosingBar(KListLine& line) {
  if (!StartsWithBar(line)) return false;
  const KChord* bar = AsChord(static_cast<const KPosObj*>(line.GetObjList()->GetHead()));
  return bar->GetNoteCount() == 0 || bar->GetRawNote(0).code != kStartRepeatCode;
}

bool EndsWithBar(KListLine& line) {
  const CObList* objects = line.GetObjList();
  return !objects->IsEmpty() && IsBar(static_cast<const KPosObj*>(objects->GetTail()));
}

// A single bar as a one-column block.
KColumnBlock BarBlock(KListLine& line) {
  // Built in a scratch line so that the block takes it as cut columns.
  std::unique_ptr<KListLine> scratch = line.CloneEmpty(0);
  if (scratch == nullptr) return {};
  const bool tab = line.GetFamily() == KLineObj::kFamilyTab;
  auto* bar = new KChord(0, 1, kBarCode, tab ? KChord::kTabRhythm : 0);
  scratch->GetObjList()->AddTail(bar);
  return CutColumns(*scratch, 0, 1);
}

// The lines of one step of a part: one ungrouped line, or the lines of a group.
struct Unit {
  std::vector<POSITION> positions;  // every line moved by columns (notation, chord and rhythm lines)
  std::vector<POSITION> texts;      // the group's text lines (lyrics), moved by the x of their characters
  KLineGroup* group = nullptr;
};

// The words of a group's text line stand under the notes they go with: a
// character belongs to the note column nearest its x. The wrap moves the
// characters with their columns and keeps the following words clear of the
// moved ones with blanks.
class TextMover {
 public:
  explicit TextMover(CStavlinView& view)
      : m_view(view),
        m_dc(view.m_host != nullptr ? view.m_host->GetMeasureDC() : nullptr),
        m_column(std::max(viewgeom::ColumnWidth(view, 0), 1)) {}

  // Cuts the characters of note columns first..end-1 (end < 0: to the end).
  std::string Cut(KStrLine& line, int first, int end) {
    const std::string text = line.GetText().Str();
    const int from = CharAt(line, Edge(first));
    const int to = end < 0 ? static_cast<int>(text.size()) : CharAt(line, Edge(end));
    if (to <= from) return {};
    std::string moved = text.substr(static_cast<size_t>(from), static_cast<size_t>(to - from));
    line.SetText(
        CString((text.substr(0, static_cast<size_t>(from)) + text.substr(static_cast<size_t>(to))).c_str()));
    // Blanks in front of the moved words keep their distance from the
    // column's edge.
    const int lead = X(line, from) - Edge(first);
    const int blank = std::max(BlankWidth(line), 1);
    if (lead > 0 && first > 0) moved.insert(0, static_cast<size_t>(lead / blank), ' ');
    return moved;
  }

  // Puts the characters in at note column `at` of a line whose columns from
  // `at` have moved `width` columns on.
  void Put(KStrLine& line, int at, int width, const std::string& moved) {
    std::string text = line.GetText().Str();
    int k = CharAt(line, Edge(at));
    // A line that ends short of the column is filled with blanks up to it.
    while (k >= static_cast<int>(text.size()) && X(line, static_cast<int>(text.size())) < Edge(at) &&
           text.size() < kMaxText) {
      text += ' ';
      line.SetText(CString(text.c_str()));
      k = static_cast<int>(text.size());
    }
    std::string rest = text.substr(static_cast<size_t>(k));
    std::string made = text.substr(0, static_cast<size_t>(k)) + moved;
    line.SetText(CString(made.c_str()));
    // The words that were there start again after the moved columns.
    if (!rest.empty()) {
      while (X(line, static_cast<int>(made.size())) < Edge(at + width) && made.size() < kMaxText) {
        made += ' ';
        line.SetText(CString(made.c_str()));
      }
      if (made.back() != ' ' && rest.front() != ' ') made += ' ';
      made += rest;
    }
    line.SetText(CString(made.c_str()));
  }

 private:
  static constexpr size_t kMaxText = 4000;

  // The x where the text of note column c starts: half a column before it.
  int Edge(int column) const { return column <= 0 ? 0 : column * m_column - m_column / 2; }

  int X(KStrLine& line, int character) {
    if (m_dc == nullptr) return character * m_column;  // no measuring: a column a character
    return line.GetXOfColumn(m_dc, m_view.m_textFonts, character);
  }

  // The first character whose x is at or past `x` (the length when none).
  int CharAt(KStrLine& line, int x) {
    const int length = line.GetLength();
    int k = 0;
    while (k < length && X(line, k) < x) ++k;
    return k;
  }

  int BlankWidth(KStrLine& line) {
    KStrLine probe(" ", line.GetFontIndex());
    return m_dc == nullptr ? m_column : probe.GetXOfColumn(m_dc, m_view.m_textFonts, 1);
  }

  CStavlinView& m_view;
  CDC* m_dc;
  int m_column;
};

class WrapRun {
 public:
  WrapRun(CStavlinView& view, int first, int last, bool pullUp)
      : m_view(view), m_doc(*view.m_document), m_first(first), m_last(last), m_texts(view) {
    m_fixedLength = std::max(view.m_widest, 0);
    if (m_fixedLength == 0) m_fixedLength = 800;
    m_pullAllowed = pullUp && (g_automaticWrap == 0 || g_prefStaffLines3.rewrapBelow != 0);
  }

  void Run() {
    // The parts, in order of first appearance: ungrouped lines by type and
    // label, groups as runs of matching structure.
    std::vector<std::vector<POSITION>> ungroupedParts;
    std::map<std::pair<int, std::string>, size_t> partOfLabel;
    std::vector<KLineGroup*> groups;
    std::set<int> groupSeen;
    for (int d = m_first; d <= m_last; ++d) {
      const POSITION position = m_view.GetDisplayEntry(d).line;
      KLineObj* line = m_doc.GetLineAt(position);
      if (line == nullptr) continue;
      if (line->GetGroupId() != KLineObj::kNoGroup) {
        KLineGroup* group = m_doc.FindLineGroup(line->GetGroupId());
        if (group == nullptr) throw WrapError{kWrapErrorGroupMissing};
        if (groupSeen.insert(group->GetId()).second && GroupHasNotation(*group)) groups.push_back(group);
        continue;
      }
      if (!IsNotation(line)) continue;
      const std::pair<int, std::string> key{line->GetType(), line->GetLabelName().Str()};
      auto it = partOfLabel.find(key);
      if (it == partOfLabel.end()) {
        if (static_cast<int>(partOfLabel.size()) >= 17 * kMaxLabelNames) continue;
        it = partOfLabel.emplace(key, ungroupedParts.size()).first;
        ungroupedParts.emplace_back();
      }
      ungroupedParts[it->second].push_back(position);
    }

    for (std::vector<POSITION>& part : ungroupedParts) {
      std::vector<Unit> units;
      for (POSITION position : part) units.push_back(Unit{{position}, {}, nullptr});
      WalkPart(units);
    }
    // Groups: each run of successive groups of one structure is one part.
    for (size_t i = 0; i < groups.size();) {
      std::vector<Unit> units{GroupUnit(*groups[i])};
      size_t j = i + 1;
      while (j < groups.size() &&
             m_doc.LineGroupsMatch(groups[j - 1]->GetId(), groups[j]->GetId()) != FALSE) {
        units.push_back(GroupUnit(*groups[j]));
        ++j;
      }
      WalkPart(units);
      i = j;
    }
  }

  bool TooLong() const { return m_tooLong; }
  const std::vector<POSITION>& Emptied() const { return m_emptied; }
  const std::vector<int>& EmptiedGroups() const { return m_emptiedGroups; }

 private:
  static bool GroupHasNotation(const KLineGroup& group) {
    for (int slot = 0; slot < group.GetSlotCount(); ++slot) {
      if (IsNotation(group.GetSlotLine(slot))) return true;
    }
    return false;
  }

  Unit GroupUnit(KLineGroup& group) const {
    Unit unit;
    unit.group = &group;
    for (int slot = 0; slot < group.GetSlotCount(); ++slot) {
      KLineObj* line = group.GetSlotLine(slot);
      if (line == nullptr) throw WrapError{1};
      const KListLine* list = line->AsListLine();
      if (list != nullptr && WrapMovesLine(*list)) {
        unit.positions.push_back(group.GetSlotLineRef(slot));
      } else if (dynamic_cast<KStrLine*>(line) != nullptr) {
        unit.texts.push_back(group.GetSlotLineRef(slot));
      }
    }
    return unit;
  }

  KListLine* List(POSITION position) const {
    KLineObj* line = m_doc.GetLineAt(position);
    return line != nullptr ? line->AsListLine() : nullptr;
  }

  // Natural-length treble, bass and tablature lines get the fixed length.
  void FixLength(const Unit& unit) {
    for (POSITION position : unit.positions) {
      KListLine* line = List(position);
      if (line == nullptr || !IsNotation(line) || line->GetStaffLength() > 0) continue;
      const int type = line->GetType();
      if (type == 0 || type == 1 || type == 2) line->SetStaffLength(m_fixedLength);
    }
  }

  // Used width and room of a unit (its widest notation line, its least room);
  // the widest line in `widest`. False when no line has a fixed length.
  bool Measure(const Unit& unit, int& used, int& room, KListLine*& widest) {
    used = 0;
    room = INT32_MAX;
    widest = nullptr;
    for (POSITION position : unit.positions) {
      KListLine* line = List(position);
      if (line == nullptr || !IsNotation(line) || line->GetStaffLength() <= 1) continue;
      const int width = WrapUsedWidth(*line);
      if (widest == nullptr || width > used) {
        used = width;
        widest = line;
      }
      room = std::min(room, line->GetStaffLength() - width);
    }
    return widest != nullptr;
  }

  int UnitLength(const Unit& unit) {
    int length = 0;
    for (POSITION position : unit.positions) {
      if (KListLine* line = List(position)) length = std::max(length, NoteColumnLength(*line));
    }
    return length;
  }

  bool UnitEmpty(const Unit& unit) {
    for (POSITION position : unit.positions) {
      KListLine* line = List(position);
      if (line != nullptr && IsNotation(line) && line->GetObjCount() > 0) return false;
    }
    return true;
  }

  // Every notation line of the unit ends (or starts) with a bar column.
  bool AllEndWithBar(const Unit& unit) {
    for (POSITION position : unit.positions) {
      KListLine* line = List(position);
      if (line != nullptr && IsNotation(line) && line->GetObjCount() > 0 && !EndsWithBar(*line)) return false;
    }
    return true;
  }
  bool AllStartWithBar(const Unit& unit) {
    for (POSITION position : unit.positions) {
      KListLine* line = List(position);
      if (line != nullptr && IsNotation(line) && !StartsWithBar(*line)) return false;
    }
    return true;
  }
  bool AllStartWithClosingBar(const Unit& unit) {
    bool any = false;
    for (POSITION position : unit.positions) {
      KListLine* line = List(position);
      if (line == nullptr || !IsNotation(line)) continue;
      if (!StartsWithClosingBar(*line)) return false;
      any = true;
    }
    return any;
  }

  KStrLine* Text(POSITION position) const { return dynamic_cast<KStrLine*>(m_doc.GetLineAt(position)); }

  // Opens one column at the start of the unit with a bar on its notation lines.
  void InsertLeadingBar(const Unit& unit) {
    for (POSITION position : unit.positions) {
      KListLine* line = List(position);
      if (line == nullptr) continue;
      InsertColumns(*line, 0, 1, IsNotation(line) ? BarBlock(*line) : KColumnBlock());
    }
    for (POSITION position : unit.texts) {
      if (KStrLine* text = Text(position); text != nullptr && text->GetLength() > 0)
        m_texts.Put(*text, 0, 1, {});
    }
  }

  // Moves note columns from..to-1 of every line of `from` to column `at` of
  // the matching line of `to`.
  void Move(const Unit& from, int first, int end, const Unit& to, int at) {
    if (from.positions.size() != to.positions.size()) throw WrapError{26};
    const int width = end - first;
    const bool toEnd = end >= UnitLength(from);
    for (size_t i = 0; i < from.positions.size(); ++i) {
      KListLine* source = List(from.positions[i]);
      KListLine* target = List(to.positions[i]);
      if (source == nullptr || target == nullptr) throw WrapError{7};
      const bool hadContent = source->GetObjCount() > 0;
      KColumnBlock block = CutColumns(*source, first, end);
      InsertColumns(*target, at, width, std::move(block));
      if (hadContent && source->GetObjCount() == 0) NoteEmptied(from, from.positions[i]);
    }
    // The words under the moved columns go with them (a cut to the end of
    // the line takes every word from the first moved column on).
    if (from.texts.size() != to.texts.size()) throw WrapError{28};
    for (size_t i = 0; i < from.texts.size(); ++i) {
      KStrLine* source = Text(from.texts[i]);
      KStrLine* target = Text(to.texts[i]);
      if (source == nullptr || target == nullptr) throw WrapError{8};
      const std::string moved = m_texts.Cut(*source, first, toEnd ? -1 : end);
      if (!moved.empty() || (at == 0 && target->GetLength() > 0)) m_texts.Put(*target, at, width, moved);
    }
  }

  void NoteEmptied(const Unit& unit, POSITION position) {
    if (unit.group == nullptr) {
      if (std::find(m_emptied.begin(), m_emptied.end(), position) == m_emptied.end())
        m_emptied.push_back(position);
    } else if (std::find(m_emptiedGroups.begin(), m_emptiedGroups.end(), unit.group->GetId()) ==
               m_emptiedGroups.end()) {
      m_emptiedGroups.push_back(unit.group->GetId());
    }
  }

  // A new line (or group) below the last of the part, of the same kind.
  Unit MakeLower(const Unit& upper) {
    if (upper.group == nullptr) {
      KListLine* line = List(upper.positions.front());
      std::unique_ptr<KListLine> fresh = line != nullptr ? line->CloneEmpty(0) : nullptr;
      if (fresh == nullptr) throw WrapError{kWrapErrorNoLines};
      fresh->SetStaffLength(line->GetStaffLength());
      fresh->SetLabel(line->GetLabelName());
      fresh->SetIndent(line->GetStoredIndent());
      const POSITION made = m_doc.InsertLineAfter(upper.positions.front(), fresh.release());
      return Unit{{made}, {}, nullptr};
    }
    KLineGroup& source = *upper.group;
    auto* group = new KLineGroup(m_doc.GetNewLineGroupId(), source);
    // The new group's lines go after the last line of the upper group.
    std::set<POSITION> refs;
    for (int slot = 0; slot < source.GetSlotCount(); ++slot) refs.insert(source.GetSlotLineRef(slot));
    // A group's lines stand together with its first slot on top: the walk
    // starts there, and from the score's first line only when that does not
    // meet every slot (a long score is not walked once for every new group).
    POSITION after = nullptr;
    for (const POSITION start : {source.GetSlotLineRef(0), m_doc.GetFirstLinePosition()}) {
      after = nullptr;
      size_t seen = 0;
      for (POSITION walk = start; walk != nullptr && seen < refs.size();) {
        const POSITION here = walk;
        m_doc.GetNextLine(walk);
        if (refs.count(here) != 0) {
          after = here;
          ++seen;
        }
      }
      if (seen == refs.size()) break;
    }
    if (after == nullptr) {
      delete group;
      throw WrapError{kWrapErrorNoLines};
    }
    for (int slot = 0; slot < source.GetSlotCount(); ++slot) {
      KLineObj* old = source.GetSlotLine(slot);
      KListLine* oldList = old != nullptr ? old->AsListLine() : nullptr;
      std::unique_ptr<KLineObj> fresh;
      if (oldList != nullptr) fresh = oldList->CloneEmpty(0);
      if (fresh == nullptr && old != nullptr) fresh = MakeEmptyLike(*old);
      if (fresh == nullptr) {
        delete group;
        throw WrapError{kWrapErrorNoLines};
      }
      fresh->SetStaffLength(old->GetStaffLength());
      fresh->SetLabel(old->GetLabelName());
      fresh->SetFlagWord(old->GetFlagWord());
      KLineObj* placed = fresh.release();
      after = m_doc.InsertLineAfter(after, placed);
      group->SetSlotLineRef(slot, after);
      group->SetSlotLine(slot, placed);
      placed->SetGroup(group->GetId(), group);
    }
    m_doc.AddLineGroup(group);
    group->BindLines(m_doc);
    group->EqualizeLeadInSteps(m_doc);
    group->IndentOtherLines();
    group->SetIndent(source.GetIndent());
    for (int slot = 0; slot < group->GetSlotCount(); ++slot) {
      if (KLineObj* line = group->GetSlotLine(slot))
        line->SetIndent(source.GetSlotLine(slot)->GetStoredIndent());
    }
    return GroupUnit(*group);
  }

  // An empty line of the same class as a line that cannot clone itself (a
  // text line of a group): through the archive's class record.
  static std::unique_ptr<KLineObj> MakeEmptyLike(const KLineObj& line) {
    CObject* made = line.GetRuntimeClass()->CreateObject();
    auto* fresh = dynamic_cast<KLineObj*>(made);
    if (fresh == nullptr) {
      delete made;
      return nullptr;
    }
    fresh->SetType(line.GetType());
    return std::unique_ptr<KLineObj>(fresh);
  }

  bool AskBelow() {
    if (m_askedBelow) return m_pullBelow;
    m_askedBelow = true;
    m_pullBelow = g_prefTransAltTun.wrapAbc != 0 || AfxMessageBox(kWrapAskBelowMessage, MB_YESNO) == IDYES;
    return m_pullBelow;
  }

  // What a push-down cut from a unit's lines: one carry a moved line, the
  // words of its text lines, how many columns it spans and whether it ends
  // with a bar. It is put into the next unit when that unit's turn comes.
  struct Carry {
    std::vector<KColumnCarry> lines;
    std::vector<std::string> texts;
    int width = 0;
    bool endsWithBar = false;
    bool Empty() const { return width == 0; }
  };

  Carry MakeCarry(const Unit& unit) {
    Carry carry;
    for (POSITION position : unit.positions) {
      KListLine* line = List(position);
      if (line == nullptr) throw WrapError{7};
      carry.lines.emplace_back(*line);
    }
    carry.texts.resize(unit.texts.size());
    return carry;
  }

  // The bars from column `cut` of the unit to its end go in front of the carry.
  void PushDown(Unit& upper, int cut, int length, Carry& carry) {
    const bool wasEmpty = carry.Empty();
    if (wasEmpty) {
      carry = MakeCarry(upper);
      carry.endsWithBar = AllEndWithBar(upper);
    }
    for (size_t l = 0; l < upper.positions.size(); ++l) {
      KListLine* line = List(upper.positions[l]);
      if (line == nullptr) throw WrapError{14};
      carry.lines[l].PutFront(CutColumns(*line, cut, length), length - cut);
    }
    for (size_t t = 0; t < upper.texts.size(); ++t) {
      KStrLine* text = Text(upper.texts[t]);
      if (text == nullptr) throw WrapError{8};
      carry.texts[t] = m_texts.Cut(*text, cut, -1) + carry.texts[t];
    }
    carry.width += length - cut;
  }

  // The carry alone passes the staff length of one of the unit's lines.
  bool Overflows(const Unit& unit, const Carry& carry) {
    for (size_t l = 0; l < unit.positions.size(); ++l) {
      KListLine* line = List(unit.positions[l]);
      if (line == nullptr || !IsNotation(line) || line->GetStaffLength() <= 1) continue;
      const int used = WrapUsedWidth(*line, carry.lines[l].Length());
      if (used > line->GetStaffLength()) return true;
    }
    return false;
  }

  // The most columns that any line of the unit holds within its staff length.
  int Capacity(const Unit& unit) {
    int capacity = 0;
    for (POSITION position : unit.positions) {
      KListLine* line = List(position);
      if (line == nullptr || !IsNotation(line) || line->GetStaffLength() <= 1) continue;
      capacity = std::max(capacity,
                          (line->GetStaffLength() - line->GetLeadInWidth(0) - line->GetIndent()) / kColumn);
    }
    return capacity;
  }

  // Puts everything carried in at the unit's column `at` (the carry's first
  // column goes there).
  void PutAll(Unit& unit, int at, Carry& carry) {
    for (size_t l = 0; l < unit.positions.size(); ++l) {
      KListLine* line = List(unit.positions[l]);
      if (line == nullptr) throw WrapError{10};
      InsertColumns(*line, at, carry.width, carry.lines[l].TakeFront(carry.width));
    }
    for (size_t t = 0; t < unit.texts.size(); ++t) {
      KStrLine* text = Text(unit.texts[t]);
      if (text == nullptr) throw WrapError{8};
      if (!carry.texts[t].empty() || (at == 0 && text->GetLength() > 0))
        m_texts.Put(*text, at, carry.width, carry.texts[t]);
    }
    carry = Carry();
  }

  // The unit's turn with bars carried to it. They go in front of its own
  // bars (with a bar between when neither side has one there). When the
  // carried bars alone pass its staff length, every bar of its own goes
  // further down in any case: those join the carry's end, and the unit takes
  // only the carry's front, as far as a bar can end within its length.
  // `taken`: the columns of the front when the unit took only the front,
  // else -1.
  void TakeCarry(Unit& unit, Carry& carry, int& taken) {
    taken = -1;
    if (carry.Empty()) return;
    if (carry.lines.size() != unit.positions.size() || carry.texts.size() != unit.texts.size())
      throw WrapError{26};
    const bool separator = !carry.endsWithBar && !UnitEmpty(unit) && !AllStartWithBar(unit);
    if (!unit.texts.empty() || !Overflows(unit, carry)) {
      if (separator) InsertLeadingBar(unit);
      PutAll(unit, 0, carry);
      return;
    }
    if (separator) InsertLeadingBar(unit);
    if (!UnitEmpty(unit)) {
      const bool ownEndsWithBar = AllEndWithBar(unit);
      const int own = UnitLength(unit);
      for (size_t l = 0; l < unit.positions.size(); ++l) {
        KListLine* line = List(unit.positions[l]);
        if (line == nullptr) throw WrapError{10};
        carry.lines[l].PutAt(CutColumns(*line, 0, own), carry.width);
      }
      carry.width += own;
      carry.endsWithBar = ownEndsWithBar;
    }
    // Every column a bar could end in, and one more.
    const int front = std::min(Capacity(unit) + 2, carry.width);
    for (size_t l = 0; l < unit.positions.size(); ++l) {
      KListLine* line = List(unit.positions[l]);
      if (line == nullptr) throw WrapError{10};
      InsertColumns(*line, 0, front, carry.lines[l].TakeFront(front));
    }
    carry.width -= front;
    if (carry.Empty()) {
      carry = Carry();
    } else {
      taken = front;
    }
  }

  // Every staff line of the unit starts in the key its first bar was
  // written in, and a key change stands where its bars meet bars written in
  // another key (across every line of the unit, so that a group keeps its
  // columns together). Gives the note columns put in.
  int HoldKeys(const Unit& unit) {
    bool keyChanged = false;
    for (POSITION position : unit.positions) {
      KListLine* line = List(position);
      if (line == nullptr || line->GetFamily() != KLineObj::kFamilyStaff) continue;
      const int start = m_keys.WrittenStartKey(*line);
      if (start != line->GetKey()) {
        line->SetKeySignature(start, unit.group != nullptr ? unit.group->GetKeySignature() : 0, 0);
        line->MarkChanged();
        keyChanged = true;
      }
    }
    int added = 0;
    int from = 0;
    for (int guard = 0; guard < kMaxKeyChanges; ++guard) {
      int at = -1;
      for (POSITION position : unit.positions) {
        KListLine* line = List(position);
        if (line == nullptr) continue;
        int key = 0;
        int playing = 0;
        const int found = m_keys.FirstMismatch(*line, from, key, playing);
        if (found >= 0 && (at < 0 || found < at)) at = found;
      }
      if (at < 0) break;
      for (POSITION position : unit.positions) {
        KListLine* line = List(position);
        if (line == nullptr) continue;
        int key = 0;
        int playing = 0;
        KColumnBlock block;
        if (m_keys.FirstMismatch(*line, at, key, playing) == at) block = m_keys.ChangeBlock(*line, key, playing);
        InsertColumns(*line, at, KWrapKeys::kChangeWidth, std::move(block));
      }
      for (POSITION position : unit.texts) {
        if (KStrLine* text = Text(position); text != nullptr && text->GetLength() > 0)
          m_texts.Put(*text, at, KWrapKeys::kChangeWidth, {});
      }
      added += KWrapKeys::kChangeWidth;
      from = at + KWrapKeys::kChangeWidth;
    }
    // Key changes moved in from other lines are read as such.
    for (POSITION position : unit.positions) {
      KListLine* line = List(position);
      if (line != nullptr && line->GetFamily() == KLineObj::kFamilyStaff && KWrapKeys::HasKeyChange(*line))
        line->ModifyFlags(KLineObj::kFlagKeyChanges, 1);
    }
    if (keyChanged && unit.group != nullptr) unit.group->EqualizeKeySignatures(m_doc);
    return added;
  }

  // A key change will be needed where the unit's bars would go up to the end
  // of the upper unit.
  bool KeysDiffer(const Unit& upper, const Unit& lower) {
    if (upper.positions.size() != lower.positions.size()) return false;
    for (size_t l = 0; l < upper.positions.size(); ++l) {
      KListLine* top = List(upper.positions[l]);
      KListLine* bottom = List(lower.positions[l]);
      if (top == nullptr || bottom == nullptr || top->GetFamily() != KLineObj::kFamilyStaff) continue;
      if (top->GetObjCount() > 0 && KWrapKeys::KeyAtEnd(*top) != m_keys.WrittenStartKey(*bottom)) return true;
    }
    return false;
  }

  void WalkPart(std::vector<Unit>& units) {
    // The key each column was written in, before anything moves.
    m_keys.Clear();
    for (const Unit& unit : units) {
      for (POSITION position : unit.positions) {
        if (KListLine* line = List(position)) m_keys.Note(*line);
      }
    }
    bool pullUp = m_pullAllowed;
    int steps = 0;
    size_t next = 0;
    // Units given up whole to the unit above them leave the walk.
    std::vector<bool> gone(units.size(), false);
    Carry carry;
    for (size_t i = 0; i < units.size(); i = next) {
      next = i + 1;
      if (gone[i]) continue;
      if (++steps > kMaxWalkSteps) throw WrapError{27};
      Unit& upper = units[i];
      FixLength(upper);
      int taken = -1;
      TakeCarry(upper, carry, taken);
      const int keyColumns = HoldKeys(upper);
      if (taken >= 0) taken += keyColumns;
      int used = 0;
      int room = 0;
      KListLine* widest = nullptr;
      bool measured = Measure(upper, used, room, widest);
      // Where the front alone does not settle the break, more of the carry
      // comes in after it: as much again as the unit took, until the break
      // is settled or the carry is all in. The break found is the one the
      // whole carry would give (it depends only on the columns up to the
      // staff length and on a bar after them), while a long tune carried
      // down line by line costs each line only about its own columns.
      const auto takeMore = [&] {
        const int more = std::min(std::max(taken, 1), carry.width);
        for (size_t l = 0; l < upper.positions.size(); ++l) {
          KListLine* line = List(upper.positions[l]);
          if (line == nullptr) throw WrapError{10};
          InsertColumns(*line, taken, more, carry.lines[l].TakeFront(more));
        }
        carry.width -= more;
        taken += more;
        if (carry.Empty()) {
          carry = Carry();
          taken = -1;
        }
        const int moreKeyColumns = HoldKeys(upper);
        if (taken >= 0) taken += moreKeyColumns;
        measured = Measure(upper, used, room, widest);
      };
      while (taken >= 0 && (!measured || room >= 0)) takeMore();
      if (!measured) continue;
      if (room < 0) {
        int flags = 0;
        int cut = widest->GetWrapFlags(flags);
        while (taken >= 0 && ((flags & 3) != 0 || cut <= 0 || cut >= UnitLength(upper))) {
          takeMore();
          cut = widest->GetWrapFlags(flags);
        }
        const int length = UnitLength(upper);
        if ((flags & 1) != 0) m_tooLong = true;
        if (cut <= 0) continue;  // even the first bar does not fit: it stays alone
        if (cut >= length) throw WrapError{kWrapErrorNothingMoves};
        PushDown(upper, cut, length, carry);
        if (i + 1 >= units.size()) {
          units.push_back(MakeLower(units[i]));
          gone.push_back(false);
        }
        continue;
      }
      if (!pullUp) continue;
      size_t j = i + 1;
      while (j < units.size() && gone[j]) ++j;
      if (j >= units.size()) continue;
      Unit& lower = units[j];
      FixLength(lower);
      const bool upperEmpty = UnitEmpty(upper);
      const bool upperEndsWithBar = AllEndWithBar(upper);
      const int space = room - (!upperEmpty && !upperEndsWithBar ? kColumn : 0) -
                        (KeysDiffer(upper, lower) ? KWrapKeys::kChangeWidth * kColumn : 0);
      int count = -1;
      bool cancelled = false;
      for (POSITION position : lower.positions) {
        KListLine* line = List(position);
        if (line == nullptr || !IsNotation(line)) continue;
        int flags = 0;
        const int fit = line->FindWrapColumn(space, flags);
        if (fit < 0) cancelled = true;
        count = std::max(count, fit);
      }
      // A lower line that fits whole goes up whole, with the bar that ends it.
      const int lowerLength = UnitLength(lower);
      if (!cancelled && lowerLength > 0 && lowerLength * kColumn < space) count = lowerLength;
      if (cancelled || count <= 0) {
        // A line laid out with the bar line that closes the line above at
        // its start: the bar line goes up to the end of the line it closes
        // when its column fits there.
        if (!upperEmpty && !upperEndsWithBar && room >= kColumn && AllStartWithClosingBar(lower)) {
          if (!AskBelow()) {
            pullUp = false;
            continue;
          }
          Move(lower, 0, 1, upper, UnitLength(upper));
        }
        continue;
      }
      if (!AskBelow()) {
        pullUp = false;
        continue;
      }
      if (!upperEmpty && !upperEndsWithBar && !AllStartWithBar(lower)) {
        InsertLeadingBar(lower);
        ++count;
      }
      Move(lower, 0, count, upper, UnitLength(upper));
      HoldKeys(upper);
      HoldKeys(lower);
      // A lower line given up whole leaves the walk: the upper line then
      // takes from the line after it.
      size_t after = j + 1;
      while (after < units.size() && gone[after]) ++after;
      if (UnitEmpty(lower) && after < units.size()) {
        gone[j] = true;
        next = i;
      }
    }
    if (!carry.Empty()) throw WrapError{29};  // never reached: a new unit takes what is left
  }

  CStavlinView& m_view;
  CStavlinDoc& m_doc;
  int m_first;
  int m_last;
  int m_fixedLength = 0;
  bool m_pullAllowed = true;
  bool m_tooLong = false;
  bool m_askedBelow = false;
  bool m_pullBelow = true;
  std::vector<POSITION> m_emptied;
  std::vector<int> m_emptiedGroups;
  TextMover m_texts;
  KWrapKeys m_keys;
};

// Removes the ungrouped lines and the groups that the run emptied.
bool RemoveEmptied(CStavlinView& view, const WrapRun& run) {
  CStavlinDoc& doc = *view.m_document;
  bool removed = false;
  for (int id : run.EmptiedGroups()) {
    KLineGroup* group = doc.FindLineGroup(id);
    if (group != nullptr && group->AllLinesEmpty(doc, 1)) {
      doc.DeleteLineGroup(id, TRUE);
      removed = true;
    }
  }
  for (POSITION position : run.Emptied()) {
    KLineObj* line = doc.GetLineAt(position);
    const KListLine* list = line != nullptr ? line->AsListLine() : nullptr;
    if (list == nullptr || list->GetObjCount() != 0 || line->GetAttachmentCount() != 0 ||
        line->GetGroupId() != KLineObj::kNoGroup)
      continue;
    doc.RemoveLine(position, nullptr, TRUE);
    removed = true;
  }
  return removed;
}

struct KWrapOutcome {
  int error = 0;
  bool tooLong = false;
};

// The wrap of display lines first..last itself: bars moved, the lines and
// groups it emptied removed. The display table is left as it was.
KWrapOutcome RunWrap(CStavlinView& view, int first, int last, bool pullUp) {
  KWrapOutcome outcome;
  SetFor hold(g_holdWidest, 1);
  SetFor quiet(g_noModify, 1);
  SetFor noPasteWrap(g_autoWrapSuspended, 1);
  WrapRun run(view, first, last, pullUp);
  try {
    run.Run();
  } catch (const WrapError& failure) {
    outcome.error = failure.number;
  }
  outcome.tooLong = run.TooLong();
  if (outcome.error == 0) RemoveEmptied(view, run);
  return outcome;
}

// The messages of a wrap that failed or met a bar too long for its staff.
void ReportWrap(const KWrapOutcome& outcome) {
  if (outcome.error != 0) {
    CString number;
    number.Format("%2d", outcome.error);
    CString text;
    AfxFormatString1(text, kWrapErrorMessage, number);
    AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
    AfxMessageBox(kWrapReportMessage, MB_OK | MB_ICONEXCLAMATION);
  } else if (outcome.tooLong) {
    AfxMessageBox(kWrapMeasureTooLongMessage, MB_OK | MB_ICONINFORMATION);
  }
}

}  // namespace

void WrapMusic(CStavlinView& view, bool pullUp) {
  if (view.m_document == nullptr || view.GetDisplayLineCount() <= 0) return;
  if (!view.LeaveReadOnlyForEdit()) return;
  int count = view.GetDisplayLineCount();
  if (view.m_selFirstLine < 0) return;
  int first = std::clamp(std::min(view.m_selFirstLine, view.m_selLastLine), 0, count - 1);
  int last = std::clamp(std::max(view.m_selFirstLine, view.m_selLastLine), 0, count - 1);

  if (view.m_show[ScoreSettings::kShowAll] == 0 && view.m_allShown == 0) {
    const bool wholeTable = first == 0 && last == count - 1;
    if (view.m_document->GetLineGroupCount() == 0) {
      const int answer = AfxMessageBox(kWrapHiddenLinesMessage, MB_YESNOCANCEL);
      if (answer == IDCANCEL) return;
      if (answer == IDYES) {
        view.OnViewShowAll();
        if (!wholeTable) {
          AfxMessageBox(kWrapReselectMessage);
          return;
        }
      }
    } else {
      if (AfxMessageBox(kGroupsNeedAllLinesMessage, MB_YESNO) != IDYES) return;
      view.OnViewShowAll();
      if (!wholeTable) {
        AfxMessageBox(kWrapReselectMessage);
        return;
      }
    }
    count = view.GetDisplayLineCount();
    if (count <= 0) return;
    if (wholeTable) {
      first = 0;
      last = count - 1;
    }
  }

  KWrapOutcome outcome;
  {
    const WrapProgressShown shown(view);
    view.RecordUndoStep(kUndoSelectedToEnd, 0, 0, nullptr, 0);
    // Where the caret is: on a staff or tablature line, its bar of the part
    // and its offset in the bar; elsewhere its line and column.
    const KWrapCaret barCaret = RememberWrapCaret(view);
    const POSITION caretLine = view.GetDisplayEntry(std::clamp(view.m_currentLine, 0, count - 1)).line;
    const int caretColumn = view.m_caretColumn;
    {
      outcome = RunWrap(view, first, last, pullUp);
      // Bars moved between lines: each line starts in the time in force at
      // the end of the line before it.
      view.m_document->PropagateTimeSignatures();
      view.RebuildDisplayLines(0);
    }

    if (!RestoreWrapCaret(view, barCaret)) {
      // The caret goes back to its line (or the nearest line left) and column.
      int line = view.FindDisplayLine(caretLine, 0);
      if (line < 0) line = std::clamp(view.m_currentLine, 0, std::max(view.GetDisplayLineCount() - 1, 0));
      view.m_currentLine = line;
      if (KLineObj* current = view.GetDisplayLineObj(line))
        view.m_caretColumn = std::clamp(caretColumn, 0, std::max(current->GetLength(), 0));
    }
    if (KLineObj* current = view.GetDisplayLineObj(view.m_currentLine)) {
      view.m_currentType = current->GetType();
      view.m_currentFamily = current->GetFamily();
    }
    view.UpdateAfterEdit(CStavlinView::kHintAll, 1);
  }

  ReportWrap(outcome);
}

void WrapMusicOfImport(CStavlinView& view, int first, int last) {
  if (view.m_document == nullptr || view.GetDisplayLineCount() <= 0) return;
  const int count = view.GetDisplayLineCount();
  first = std::clamp(first, 0, count - 1);
  last = std::clamp(last, first, count - 1);
  ReportWrap(RunWrap(view, first, last, false));
}
