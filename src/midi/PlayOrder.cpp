// The play order: the walk over the play directions (see PlayOrder.h).

#include "midi/PlayOrder.h"

#include <algorithm>
#include <array>
#include <set>
#include <string>
#include <vector>

#include "midi/PlayDirections.h"
#include "model/KChord.h"
#include "model/KJTObj.h"
#include "model/KListLine.h"
#include "model/KPDObj.h"
#include "platform/CObList.h"
#include "platform/UiPort.h"

namespace {

using namespace play_dir;

constexpr DWORD kSectionFlag = 0x8000;
constexpr int kMaxLevel = 10;
constexpr int kAskEvery = 50;
constexpr UINT kRunawayMessage = 8200;
constexpr UINT kUnmatchedRepeatEnd = 7150;

using Position = std::pair<int, int>;

// The column where a direction written above a bar takes effect: the bar
// line that ends the bar (the line's last column when no bar follows).
int EndOfBar(const KPlayScore& score, int displayLine, int column) {
  auto* line = dynamic_cast<KListLine*>(score.Line(displayLine));
  if (line == nullptr) return column;
  int last = column;
  const CObList* objects = line->GetObjList();
  for (POSITION node = objects->GetHeadPosition(); node != nullptr;) {
    const auto* chord = dynamic_cast<const KChord*>(objects->GetNext(node));
    if (chord == nullptr || chord->GetPos() < column) continue;
    if (chord->IsBarColumn()) return chord->GetPos();
    last = chord->GetPos();
  }
  return last;
}

// Where play leaves a system to pass over an ending that starts at the
// position: its bar line; an ending that opens a system without one is left
// before the system's first column (-1), so that none of it sounds.
Position LeaveBefore(const KPlayScore& score, Position start) {
  if (start.second != 0) return start;
  auto* line = dynamic_cast<KListLine*>(score.Line(start.first));
  const auto* chord = line != nullptr ? dynamic_cast<const KChord*>(line->GetObjAt(0, 0)) : nullptr;
  if (chord != nullptr && chord->IsBarColumn()) return start;
  return {start.first, -1};
}

class Walk {
 public:
  Walk(const KPlayScore& score, std::vector<KPDObj*>& directions, CObList& jumps)
      : m_score(score), m_dirs(directions), m_jumps(jumps) {
    m_sectionLimit = std::max(10, score.LineCount() / 10 * 4);
    m_pass.fill(1);
    m_closing.fill(-1);
  }

  // false: the user gave up.
  bool Run() {
    std::size_t i = 0;
    while (i < m_dirs.size()) {
      KPDObj& r = *m_dirs[i];
      int next = static_cast<int>(i) + 1;
      switch (r.GetKind()) {
        case kRepeatStart:
          if (r.GetValue() == kSectionStart) {
            if (++m_sections > m_sectionLimit) {
              if (Ask(m_sections)) return false;
              m_sectionLimit *= 2;
            }
            m_lastSection = static_cast<int>(i);
            // A new section: a repeat end goes back no further than its start.
            if (m_back[Level()].afterEnd) m_back[Level()] = Back{};
          } else {
            m_level = std::min(m_level + 1, kMaxLevel);
            m_pass[Level()] = 1;
            m_back[Level()] = Back{static_cast<int>(i) + 1, r.GetStart(), false};
            m_closing[Level()] = -1;
            m_endingThisPass[Level()] = false;
          }
          break;
        case kRepeatEnd:
          if (!RepeatEnd(i, next)) return false;
          break;
        case kEnding:
          if (!Ending(i, next)) return false;
          break;
        case kJump:
          if (!Jump(i, next)) return false;
          break;
        case kFine:
          if (m_stopAtFine) {
            auto* stop =
                new KJTObj(r.GetStart().first, EndOfBar(m_score, r.GetStart().first, r.GetStart().second));
            m_jumps.AddTail(stop);
            return true;
          }
          break;
        default:
          break;
      }
      if (next < 0) return true;
      i = static_cast<std::size_t>(next);
    }
    return true;
  }

 private:
  // Where play goes back to for a repeat: the position it jumps to and the
  // record read next; afterEnd when the place is where an earlier repeat (or
  // its last ending) ended rather than a repeat start.
  struct Back {
    int resume = -1;
    Position at{};
    bool afterEnd = false;
  };

  std::size_t Level() const { return static_cast<std::size_t>(m_level); }

  // Yes on message 8200: give up.
  static bool Ask(int count) {
    CString text;
    const std::string number = std::to_string(count);
    AfxFormatString1(text, kRunawayMessage, number.c_str());
    return AfxMessageBox(std::string(text.View()).c_str(), MB_YESNO) == IDYES;
  }

  // Appends a jump; false when the user gave up at a multiple of 50.
  bool AddJump(Position from, Position to) {
    auto* jump = new KJTObj(from.first, from.second);
    jump->SetTarget(to.first, to.second);
    m_jumps.AddTail(jump);
    ++m_jumpCount;
    return m_jumpCount % kAskEvery != 0 || !Ask(m_jumpCount);
  }

  // Where a repeat of the current level goes back to: its repeat start, else
  // the end of the repeat before it, else the section start; resume -1 when
  // there is none of them.
  Back RepeatTarget() const {
    if (m_back[Level()].resume >= 0) return m_back[Level()];
    if (m_lastSection < 0) return Back{};
    return Back{m_lastSection + 1, m_dirs[static_cast<std::size_t>(m_lastSection)]->GetStart(), false};
  }

  void EndLevel() {
    m_pass[Level()] = 1;
    m_back[Level()] = Back{};
    m_closing[Level()] = -1;
    m_endingThisPass[Level()] = false;
    m_level = std::max(0, m_level - 1);
  }

  // A repeat that is over leaves its end as the place the next repeat end
  // goes back to, unless that one has a repeat start of its own.
  void MarkEnd(int resume, Position at) {
    if (resume < 0) return;
    Back& back = m_back[Level()];
    if (back.resume < 0 || back.afterEnd) back = Back{resume, at, true};
  }

  bool GoBack(std::size_t i, int& next) {
    const KPDObj& r = *m_dirs[i];
    const Back target = RepeatTarget();
    if (target.resume < 0) return true;
    ++m_pass[Level()];
    m_endingThisPass[Level()] = false;
    next = target.resume;
    return AddJump(r.GetStart(), target.at);
  }

  bool RepeatEnd(std::size_t i, int& next) {
    const KPDObj& r = *m_dirs[i];
    if (m_closing[Level()] == static_cast<int>(i)) {
      // The end of an ending just played: back for the next pass.
      m_closing[Level()] = -1;
      if (RepeatTarget().resume >= 0) return GoBack(i, next);
      EndLevel();
      MarkEnd(static_cast<int>(i) + 1, r.GetStart());
      return true;
    }
    if (m_afterJumpBack || m_pass[Level()] > r.GetValue()) {
      EndLevel();
      MarkEnd(static_cast<int>(i) + 1, r.GetStart());
      return true;
    }
    if (RepeatTarget().resume < 0) {
      if (!m_toldUnmatched) AfxMessageBox(kUnmatchedRepeatEnd, MB_OK);
      m_toldUnmatched = true;
      return true;
    }
    return GoBack(i, next);
  }

  // The index of the repeat end that closes the ending bracket: on the line
  // of its end, within one column of it; else the first repeat end after the
  // bracket, before any other bracket or repeat start, when a further ending
  // follows it (the ending runs on to its repeat sign, over bar lines and
  // system breaks); -1 when none.
  int ClosingRepeatEnd(std::size_t i) const {
    const KPDObj& bracket = *m_dirs[i];
    const Position end = bracket.GetEnd();
    for (std::size_t k = i + 1; k < m_dirs.size(); ++k) {
      const KPDObj& r = *m_dirs[k];
      const Position at = r.GetStart();
      if (at.first > end.first || (at.first == end.first && at.second > end.second + 1)) break;
      if (r.GetKind() == kRepeatEnd && at.first == end.first && std::abs(at.second - end.second) <= 1) {
        return static_cast<int>(k);
      }
    }
    for (std::size_t k = i + 1; k < m_dirs.size(); ++k) {
      const int kind = m_dirs[k]->GetKind();
      if (kind == kEnding || kind == kRepeatStart) return -1;
      if (kind == kRepeatEnd) return EndingFollows(k) ? static_cast<int>(k) : -1;
    }
    return -1;
  }

  // Whether another ending bracket follows the repeat end k (before any
  // repeat start or repeat end).
  bool EndingFollows(std::size_t k) const {
    for (std::size_t m = k + 1; m < m_dirs.size(); ++m) {
      const int kind = m_dirs[m]->GetKind();
      if (kind == kEnding) return true;
      if (kind == kRepeatStart || kind == kRepeatEnd) return false;
    }
    return false;
  }

  // The first record that lies past the position.
  int FirstPast(std::size_t from, Position position) const {
    for (std::size_t k = from; k < m_dirs.size(); ++k) {
      if (m_dirs[k]->GetStart() > position) return static_cast<int>(k);
    }
    return -1;
  }

  // The record read after the ending bracket i ending at the position: the
  // first past it, or a repeat start or bracket at its closing bar line.
  int AfterEnding(std::size_t i, Position end) const {
    for (std::size_t k = i + 1; k < m_dirs.size(); ++k) {
      const KPDObj& r = *m_dirs[k];
      if (r.GetStart() > end) return static_cast<int>(k);
      if (r.GetStart() == end && (r.GetKind() == kEnding || r.GetKind() == kRepeatStart))
        return static_cast<int>(k);
    }
    return -1;
  }

  bool Ending(std::size_t i, int& next) {
    KPDObj& bracket = *m_dirs[i];
    const bool nextStrain = bracket.GetValue() >= kNextStrain;
    const int form = bracket.GetValue() % kNextStrain;
    if (form != 1 && form != 3) return true;
    const int closing = ClosingRepeatEnd(i);
    // The last ending of its repeat: no repeat end closes it, or it follows
    // other endings on this pass and no further ending follows its repeat
    // end (as "|1 ... :|2 ... ::" or "... :|").
    const bool last =
        closing < 0 || (m_endingThisPass[Level()] && !EndingFollows(static_cast<std::size_t>(closing)));
    m_endingThisPass[Level()] = true;
    const int cursor = bracket.GetCursor();
    const int entry = bracket.GetPassEntry(cursor);
    bool play = false;
    if (m_afterJumpBack) {
      play = last;
    } else {
      play = entry == m_pass[Level()] || entry == 0;
      if (play) {
        if (entry == 0) bracket.SetPassEntry(cursor, -100);
        bracket.AdvanceCursor();
      } else if (entry == -100) {
        bracket.SetPassEntry(cursor, 0);
      }
    }
    const Position end = bracket.GetEnd();
    if (!play) {
      // Passed over to its repeat end, or else to the bar line that closes it.
      const Position from = LeaveBefore(m_score, bracket.GetStart());
      if (closing >= 0) {
        next = closing + 1;
        return AddJump(from, m_dirs[static_cast<std::size_t>(closing)]->GetStart());
      }
      next = AfterEnding(i, end);
      return AddJump(from, {end.first, end.second + 1});
    }
    if (nextStrain) {
      for (std::size_t k = i + 1; k < m_dirs.size(); ++k) {
        if (m_dirs[k]->GetKind() != kEnding) continue;
        const Position past = m_dirs[k]->GetEnd();
        next = FirstPast(k + 1, past);
        return AddJump(end, {past.first, past.second + 1});
      }
      return true;
    }
    if (!last) {
      // Played to its repeat end, which goes back for the next pass.
      m_closing[Level()] = closing;
      return true;
    }
    // The last ending: the repeat is over once it has been played, its own
    // repeat end (if any) is not taken, and a later repeat end without a
    // start of its own goes back to where it ends.
    EndLevel();
    if (closing >= 0) {
      next = closing + 1;
      MarkEnd(closing + 1, m_dirs[static_cast<std::size_t>(closing)]->GetStart());
    } else {
      MarkEnd(AfterEnding(i, end), end);
    }
    return true;
  }

  // The first record of the kind (and value, when not 0) after index i; -1 when none.
  int FindForward(std::size_t i, int kind, int value) const {
    for (std::size_t k = i + 1; k < m_dirs.size(); ++k) {
      const KPDObj& r = *m_dirs[k];
      if (r.GetKind() == kind && (value == 0 || r.GetValue() == value)) return static_cast<int>(k);
    }
    return -1;
  }

  bool JumpBack(std::size_t i, int target, int& next) {
    const KPDObj& r = *m_dirs[i];
    m_taken.insert(&r);
    m_afterJumpBack = true;
    m_level = 0;
    m_pass.fill(1);
    m_back.fill(Back{});
    m_closing.fill(-1);
    m_endingThisPass.fill(false);
    next = target + 1;
    const Position from{r.GetStart().first, EndOfBar(m_score, r.GetStart().first, r.GetStart().second)};
    return AddJump(from, m_dirs[static_cast<std::size_t>(target)]->GetStart());
  }

  bool JumpForward(std::size_t i, int target, int& next) {
    const KPDObj& r = *m_dirs[i];
    next = target + 1;
    const Position from{r.GetStart().first, EndOfBar(m_score, r.GetStart().first, r.GetStart().second)};
    return AddJump(from, m_dirs[static_cast<std::size_t>(target)]->GetStart());
  }

  bool Jump(std::size_t i, int& next) {
    const KPDObj& r = *m_dirs[i];
    const int value = r.GetValue();
    const int tens = value / 10;
    if (value >= 100 && value < 200) {  // the D.C. group
      if (m_taken.count(&r) != 0 || m_lastSection < 0) return true;
      m_stopAtFine = tens == 11;
      if (tens == 13) m_allowCoda = value - 130;
      if (tens == 14) m_allowSegno = value - 140;
      return JumpBack(i, m_lastSection, next);
    }
    if (value >= 200 && value < 300) {  // the D.S. group
      if (m_taken.count(&r) != 0 || (tens != 20 && tens != 21 && tens != 23)) return true;
      int target = -1;
      for (std::size_t k = 0; k < m_dirs.size() && target < 0; ++k) {
        if (m_dirs[k]->GetKind() == kSegno) target = static_cast<int>(k);
      }
      if (target < 0) return true;
      m_stopAtFine = tens == 21;
      if (tens == 23) m_allowCoda = value - 230;
      return JumpBack(i, target, next);
    }
    if (value == 10) {
      const int target = FindForward(i, kFine, 0);
      if (target < 0) return true;
      const bool ok = JumpForward(i, target, next);
      next = target;  // the Fine itself is read next
      return ok;
    }
    if (value >= 31 && value <= 33 && m_allowCoda == value - 30) {
      const int target = FindForward(i, kCoda, value - 30);
      if (target < 0) return true;
      m_allowCoda = 0;
      return JumpForward(i, target, next);
    }
    if (value >= 41 && value <= 43 && m_allowSegno == value - 40) {
      const int target = FindForward(i, kSegno, value - 40);
      if (target < 0) return true;
      m_allowSegno = 0;
      return JumpForward(i, target, next);
    }
    if (value == kNextStrain) {
      const int bracket = FindForward(i, kEnding, 0);
      if (bracket < 0) return true;
      const Position past = m_dirs[static_cast<std::size_t>(bracket)]->GetEnd();
      next = FirstPast(static_cast<std::size_t>(bracket) + 1, past);
      const Position from{r.GetStart().first, EndOfBar(m_score, r.GetStart().first, r.GetStart().second)};
      return AddJump(from, {past.first, past.second + 1});
    }
    return true;
  }

  const KPlayScore& m_score;
  std::vector<KPDObj*>& m_dirs;
  CObList& m_jumps;
  int m_level = 0;
  std::array<int, kMaxLevel + 1> m_pass{};
  std::array<Back, kMaxLevel + 1> m_back{};
  std::array<int, kMaxLevel + 1> m_closing{};
  // Whether an ending bracket was met on the current pass of the level.
  std::array<bool, kMaxLevel + 1> m_endingThisPass{};
  int m_lastSection = -1;
  bool m_stopAtFine = false;
  int m_allowCoda = 0;
  int m_allowSegno = 0;
  bool m_afterJumpBack = false;
  std::set<const KPDObj*> m_taken;
  int m_sections = 0;
  int m_sectionLimit = 10;
  int m_jumpCount = 0;
  bool m_toldUnmatched = false;
};

}  // namespace

void ClearPlayLists(CObList& directions, CObList& jumps) {
  for (POSITION node = directions.GetHeadPosition(); node != nullptr;) delete directions.GetNext(node);
  directions.RemoveAll();
  for (POSITION node = jumps.GetHeadPosition(); node != nullptr;) delete jumps.GetNext(node);
  jumps.RemoveAll();
}

int BuildPlayOrder(const KPlayScore& score, CObList& directions, CObList& jumps) {
  ClearPlayLists(directions, jumps);
  int section = 1;
  int previousGroup = KLineObj::kNoGroup - 1;
  for (int i = 0; i < score.LineCount(); ++i) {
    KLineObj* line = score.Line(i);
    if (line->GetFamily() == KLineObj::kFamilyText && line->TestFlags(kSectionFlag) != 0) section = 1;
    auto* list = line->AsListLine();
    if (list == nullptr || !KLineObj::IsNoteFamily(line->GetFamily()) || line->GetStaffLength() == 1)
      continue;
    const int group = line->GetGroupId();
    if (group != KLineObj::kNoGroup && group == previousGroup) continue;
    previousGroup = group;
    CollectPlayDirections(*list, directions, i, section);
    section = 0;
  }
  if (directions.IsEmpty()) return 1;
  std::vector<KPDObj*> records;
  for (POSITION node = directions.GetHeadPosition(); node != nullptr;) {
    records.push_back(static_cast<KPDObj*>(directions.GetNext(node)));
  }
  Walk walk(score, records, jumps);
  if (!walk.Run()) {
    for (POSITION node = jumps.GetHeadPosition(); node != nullptr;) delete jumps.GetNext(node);
    jumps.RemoveAll();
    return 0;
  }
  return 1;
}
