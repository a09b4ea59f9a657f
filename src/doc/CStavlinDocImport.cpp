// The document's passes at the end of a MIDI import: the long staff lines the
// import built are cut into systems of staff lines (bound in line groups when
// there are several), and the import's marks for ties and triplets become
// attachments.

#include <algorithm>
#include <vector>

#include "doc/CStavlinDoc.h"
#include "doc/pref_values/Preferences.h"
#include "lines/KStaffLine.h"
#include "lines/KStrLine.h"
#include "model/KChord.h"
#include "model/KExtendedObj.h"

namespace {

constexpr int kTrebleType = 0;
constexpr int kBassType = 1;
constexpr int kDrumType = 13;
constexpr int kTieAbove = 32;
constexpr int kTieBelow = 34;
constexpr int kColumnWidth = 18;
constexpr int kTieHeight = 6;

int TypeOfKind(int kind) {
  switch (kind) {
    case 1:
    case 3:
      return kBassType;
    case 4:
      return kDrumType;
    default:
      return kTrebleType;
  }
}

KChord* FirstColumn(const CObList& list) {
  return list.IsEmpty() ? nullptr : dynamic_cast<KChord*>(list.GetHead());
}

bool IsTieCode(int code) { return code == kTieAbove || code == kTieBelow; }

// Progress of a pass: every fifth percent moved, the poll is asked.
class PassProgress {
 public:
  PassProgress(const CStavlinDoc::ImportPassPoll& poll, int steps)
      : m_poll(poll), m_steps(std::max(1, steps)) {}
  // One step more; true when the poll asks to stop.
  bool Step() {
    m_counter += 100;
    const int percent = std::min(100, m_counter / m_steps);
    if (percent / 5 == m_lastFifth) return false;
    m_lastFifth = percent / 5;
    return m_poll && m_poll(percent);
  }

 private:
  const CStavlinDoc::ImportPassPoll& m_poll;
  int m_steps;
  int m_counter = 0;
  int m_lastFifth = -1;
};

}  // namespace

BOOL CStavlinDoc::BuildImportedLines(std::span<ImportedLineRecord> records, int nColumns, int staffLength,
                                     const ImportPassPoll& poll) {
  const size_t tracks = records.size();
  if (tracks == 0) return TRUE;
  nColumns = std::max(nColumns, 4);
  std::vector<int> types(tracks);
  std::vector<DWORD> flagWords(tracks);
  std::vector<int> keys(tracks);
  std::vector<std::unique_ptr<KChord>> carries(tracks);
  int largestKey = 0;
  size_t longest = 0;
  int longestLength = -1;
  for (size_t t = 0; t < tracks; ++t) {
    KListLine* source = records[t].line;
    types[t] = TypeOfKind(records[t].kind);
    flagWords[t] = source->GetFlagWord();
    keys[t] = source->GetKeySignatureAt(0);
    if (keys[t] > 15) keys[t] = 0;
    largestKey = std::max(largestKey, keys[t]);
    const int length = source->GetLength();
    if (length > longestLength) {
      longestLength = length;
      longest = t;
    }
  }
  int beats = 4;
  int beatTicks = 480;
  records.front().line->GetTimeSignatureAt(0, beats, beatTicks, 0);
  PassProgress progress(poll, std::max(1, longestLength / nColumns));

  bool stopped = false;
  bool carried = false;
  for (;;) {
    const bool anyLeft = std::any_of(records.begin(), records.end(), [](const ImportedLineRecord& r) {
      return !r.line->GetObjList()->IsEmpty();
    });
    if (!anyLeft) break;
    // The system's lines.
    std::vector<KStaffLine*> made(tracks);
    std::vector<POSITION> positions(tracks);
    for (size_t t = 0; t < tracks; ++t) {
      auto* line = new KStaffLine(types[t], keys[t], flagWords[t]);
      line->SetStaffLength(staffLength);
      if (tracks > 1) line->SetKeySignature(keys[t], largestKey, 0);
      line->SetLabel(records[t].line->GetLabelName());
      line->SetTimeSignature(beats, beatTicks, 1);
      positions[t] = AddTailLine(line);
      made[t] = line;
    }
    // The columns it takes: from the first remaining object to the last bar
    // line in reach of nColumns columns.
    int first = -1;
    for (const ImportedLineRecord& r : records) {
      if (KChord* head = FirstColumn(*r.line->GetObjList())) {
        first = first < 0 ? head->GetPos() : std::min(first, head->GetPos());
      }
    }
    // A system's columns end with the bar that closes it, and that bar stands
    // within the staff length (its middle, as Wrap Music measures a bar),
    // whatever room the key signature takes; carried tie marks take one.
    int columns = nColumns;
    for (KStaffLine* line : made) {
      const int lastBar =
          (staffLength - line->GetLeadInWidth(0) - line->GetIndent() - kColumnWidth / 2 - 1) / kColumnWidth;
      columns = std::min(columns, lastBar + 1);
    }
    columns = std::max(columns - (carried ? 1 : 0), 4);
    const int reach = first + columns - 1;
    int last = -1;
    bool ranOut = true;
    const CObList& walk = *records[longest].line->GetObjList();
    for (POSITION pos = walk.GetHeadPosition(); pos != nullptr;) {
      const auto* object = static_cast<const KPosObj*>(walk.GetNext(pos));
      if (object->GetPos() > reach) {
        ranOut = false;
        break;
      }
      const auto* column = dynamic_cast<const KChord*>(object);
      if (column != nullptr && column->IsBarColumn()) last = object->GetPos();
    }
    if (last < 0 || ranOut) last = reach;
    bool anyCarry = false;
    for (size_t t = 0; t < tracks; ++t) {
      KStaffLine& line = *made[t];
      CObList& target = *line.GetObjList();
      CObList& source = *records[t].line->GetObjList();
      // After a system that carried ties on, every line's music moves one
      // column right to make room for the carried tie marks.
      const int shift = carried ? 1 : 0;
      if (carried && carries[t] != nullptr) {
        carries[t]->SetPos(0);
        target.AddTail(carries[t].release());
      }
      carries[t].reset();
      while (!source.IsEmpty()) {
        auto* object = static_cast<KPosObj*>(source.GetHead());
        if (object->GetPos() > last) break;
        source.RemoveHead();
        object->SetPos(object->GetPos() - first + shift);
        if (auto* column = dynamic_cast<KChord*>(object); column != nullptr && column->GetNoteCount() > 1 &&
                                                          column->GetNote(0).code == KChord::kKeySignature) {
          const int key = column->GetNote(1).code;
          keys[t] = key > 15 ? 0 : key;
          line.ModifyFlags(KLineObj::kFlagKeyChanges, 1);
        }
        target.AddTail(object);
      }
      if (!target.IsEmpty()) {
        auto* tail = dynamic_cast<KChord*>(static_cast<KPosObj*>(target.GetTail()));
        if (tail != nullptr && tail->IsBarColumn() && target.GetCount() > 1) {
          target.RemoveTail();
          delete tail;
        }
      }
      if (!target.IsEmpty()) {
        auto* tail = dynamic_cast<KChord*>(static_cast<KPosObj*>(target.GetTail()));
        if (tail != nullptr && tail->GetNoteStyle() >= 4 && tail->GetNoteStyle() <= 7) {
          // The tie marks go on at the head of the next system.
          auto carry = std::make_unique<KChord>(0);
          for (int i = 0; i < tail->GetNoteCount(); ++i) {
            const NotePair note = tail->GetNote(i);
            if (IsTieCode(note.code)) carry->AddNote(note.position, note.code);
          }
          if (carry->GetNoteCount() > 0) {
            carries[t] = std::move(carry);
            anyCarry = true;
          }
        }
      }
      if (source.IsEmpty() && target.IsEmpty()) keys[t] = 0;
      line.UpdateTimeSigCache();
    }
    carried = anyCarry;
    AddTailLine(new KStrLine(" ", 0));

    if (tracks > 1) {
      const int id = GetNewLineGroupId();
      auto* group = new KLineGroup(id, positions, types, largestKey);
      for (size_t t = 0; t < tracks; ++t) made[t]->SetGroup(id, group);
      group->BindLines(*this);
      group->EqualizeKeySignatures(*this);
      AddLineGroup(group);
      SetGroupStartTimeSignature(id);
    }
    largestKey = *std::max_element(keys.begin(), keys.end());
    if (progress.Step()) {
      stopped = true;
      break;
    }
  }
  for (ImportedLineRecord& record : records) {
    delete record.line;
    record.line = nullptr;
  }
  PropagateTimeSignatures();
  return stopped ? FALSE : TRUE;
}

BOOL CStavlinDoc::CleanUpImportedTies(int number, const ImportPassPoll& poll) {
  PassProgress progress(poll, GetLineCount());
  const int staffColumns = (g_prefStaffLines.initialStaffLength - 34 - 20) / kColumnWidth;
  bool first = true;
  for (POSITION at = GetFirstLinePosition(); at != nullptr;) {
    KLineObj* object = GetNextLine(at);
    auto* line = dynamic_cast<KListLine*>(object);
    if (line == nullptr || !KLineObj::IsNoteFamily(line->GetFamily())) {
      if (progress.Step()) return FALSE;
      continue;
    }
    if (first && number > 0) {
      CString text;
      text.Format("   %d", number);
      line->AddAttachment(new KExtendedObj(1, 5, text, g_prefExtTextFont));
    }
    first = false;
    const int width =
        std::max(line->GetStaffLength() > 0 ? (line->GetStaffLength() - 54) / kColumnWidth : 0, staffColumns);
    std::vector<KChord*> columns;
    for (POSITION pos = line->GetObjList()->GetHeadPosition(); pos != nullptr;) {
      if (auto* c = dynamic_cast<KChord*>(static_cast<KPosObj*>(line->GetObjList()->GetNext(pos))))
        columns.push_back(c);
    }
    for (size_t i = 0; i < columns.size(); ++i) {
      KChord& c = *columns[i];
      const int style = c.GetNoteStyle();
      const int p = c.GetPos();
      if (style >= 4 && style <= 7) {
        // Ties to the next note column (past a bar line), or to the line's end.
        size_t n = i + 1;
        if (n < columns.size() && columns[n]->IsBarColumn()) ++n;
        int distance = 0;
        if (i + 1 >= columns.size()) {
          distance = width - p;
        } else if (n < columns.size()) {
          distance = columns[n]->GetPos() - p;
        }
        bool made = false;
        // A tie to the very next column is drawn too: left as a mark in the
        // column it would neither show nor hold the note.
        if (distance >= 1 || i + 1 >= columns.size()) {
          for (int e = 0; e < c.GetNoteCount(); ++e) {
            const NotePair note = c.GetNote(e);
            if (!IsTieCode(note.code)) continue;
            if (distance == 2 && i + 1 < columns.size()) {
              c.SetNoteCode(e, note.code + 1);
              continue;
            }
            const bool up = note.code == kTieBelow;
            const int span = std::max(distance, 1) * kColumnWidth;
            auto* tie = new KExtendedObj(p, up ? note.position - 1 : note.position + 1, KExtendedObj::kTie,
                                         span / 2, up ? -kTieHeight : kTieHeight, span, 0);
            tie->SetOffset(0, up ? -2 : 2);
            line->AddAttachment(tie);
            made = true;
          }
        }
        if (made) {
          c.RemoveCode(kTieBelow);
          c.RemoveCode(kTieAbove);
        }
      }
      if (style >= 1 && style <= 6) {
        int lowest = c.GetExtremeNote(100);
        if (lowest < 0) lowest = 1000;
        const bool timed = c.GetVoiceDuration(1) != KChord::kNoDuration;
        c.SetNoteStyle(0, -1);
        if ((style == 1 || style == 4) && i + 1 < columns.size() && !columns[i + 1]->IsBarColumn()) {
          KChord* n1 = columns[i + 1];
          const int s1 = n1->GetNoteStyle();
          int low1 = n1->GetExtremeNote(100);
          if (low1 >= 0) lowest = std::min(lowest, low1);
          KChord* end = nullptr;
          KChord* looked = n1;
          if (s1 == 2 || s1 == 5) {
            n1->SetNoteStyle(s1 == 5 ? 7 : 0, -1);
            if (i + 2 < columns.size()) {
              KChord* n2 = columns[i + 2];
              looked = n2;
              const int low2 = n2->GetExtremeNote(100);
              if (low2 >= 0) lowest = std::min(lowest, low2);
              if (n2->GetNoteStyle() == 3 || n2->GetNoteStyle() == 6) end = n2;
            }
          } else if (s1 == 3 || s1 == 6) {
            end = n1;
          }
          const int lookedStyle = looked->GetNoteStyle();
          if (looked != n1 || (s1 != 2 && s1 != 5)) looked->SetNoteStyle(lookedStyle >= 4 ? 7 : 0, -1);
          if (end != nullptr) {
            const int span = (end->GetPos() - p + 1) * kColumnWidth - 5;
            if (timed && lowest < 20) lowest -= 6;
            const int row = std::clamp(lowest - 3, 4, 11);
            line->AddAttachment(new KExtendedObj(p, row, 2, 0, 0, span, 0));
          }
        }
      } else if (style >= 4) {
        c.SetNoteStyle(0, -1);
      }
    }
    if (progress.Step()) return FALSE;
  }
  return TRUE;
}
