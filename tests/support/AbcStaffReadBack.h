// Reading staff lines from ABC and saying what they play, for the checks that
// the ABC writer's text always reads back as the same music (the table tests
// and the abc_write fuzz target share them).
#pragma once

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "lines/KStaffLine.h"
#include "model/KChord.h"
#include "model/KExtendedObj.h"
#include "model/KLineTime.h"
#include "translate/AbcReader.h"
#include "translate/AbcReaderState.h"

namespace stavlin_test {

// The staff lines the reader makes of the text, read line by line.
inline std::vector<std::unique_ptr<KStaffLine>> ReadAbcStaves(std::string_view text) {
  std::vector<std::unique_ptr<KStaffLine>> staves;
  auto keep = [&staves](std::unique_ptr<KLineObj> line) {
    if (auto* staff = dynamic_cast<KStaffLine*>(line.get())) {
      line.release();
      staves.emplace_back(staff);
    }
  };
  while (!text.empty()) {
    const std::size_t end = text.find_first_of("\r\n");
    const std::string_view row = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (!row.empty()) keep(ReadAbcLine(CString(row.data(), static_cast<int>(row.size())), 1));
  }
  if (std::unique_ptr<KStaffLine> open = TakeContinuedAbcLine()) keep(std::move(open));
  return staves;
}

// What a line plays, in the line's own time: "start:pitch+pitch/ticks" for
// each column of notes ("g" before it for grace notes), "start:z/ticks" for a
// rest, "|" for a bar, and the number of ties at the end.
inline std::string PlayedOnStaff(KStaffLine& line) {
  std::string out;
  const KLineTime time(line);
  for (const KColumnTime& column : time.Columns()) {
    using Kind = KColumnTime::Kind;
    if (column.kind == Kind::kBar) out += "| ";
    if (column.kind == Kind::kRest)
      out += std::to_string(column.start) + ":z/" + std::to_string(column.rest) + " ";
    if (column.kind != Kind::kNotes && column.kind != Kind::kGrace) continue;
    std::vector<int> pitches;
    for (int i = 0; i < column.chord->GetNoteCount(); ++i) {
      const NotePair note = column.chord->GetNote(i);
      if (note.code <= 13 || (note.code >= 108 && note.code <= 111))
        pitches.push_back(line.GetPitchAtRow(note.position, column.pos));
    }
    std::sort(pitches.begin(), pitches.end());
    out += (column.kind == Kind::kGrace ? "g" : "") + std::to_string(column.start) + ":";
    for (std::size_t i = 0; i < pitches.size(); ++i) out += (i > 0 ? "+" : "") + std::to_string(pitches[i]);
    out += "/" + std::to_string(column.kind == Kind::kGrace ? column.graceLength : column.Step()) + " ";
  }
  // The ties that hold a note: those to a note of the same pitch, or on past
  // the line's last note (a tie between different pitches holds nothing).
  std::vector<std::pair<int, std::vector<int>>> notes;
  for (const KColumnTime& column : time.Columns()) {
    if (column.kind != KColumnTime::Kind::kNotes) continue;
    std::vector<int> pitches;
    for (int i = 0; i < column.chord->GetNoteCount(); ++i) {
      const NotePair note = column.chord->GetNote(i);
      if (note.code <= 12 || (note.code >= 108 && note.code <= 111))
        pitches.push_back(line.GetPitchAtRow(note.position, column.pos));
    }
    notes.emplace_back(column.pos, pitches);
  }
  auto atOrAfter = [&notes](long long pos) {
    return std::find_if(notes.begin(), notes.end(), [pos](const auto& n) { return n.first >= pos; });
  };
  int ties = 0;
  CObList* attachments = line.GetAttachments();
  for (POSITION node = attachments->GetHeadPosition(); node != nullptr;) {
    const auto* a = dynamic_cast<const KExtendedObj*>(attachments->GetNext(node));
    if (a == nullptr || a->GetKind() != KExtendedObj::kTie) continue;
    // Its note stands at its column (or the next, as playback finds it).
    const auto start = atOrAfter(a->GetPos());
    if (start == notes.end() || start->first > a->GetPos() + 1) continue;
    const auto next = atOrAfter(static_cast<long long>(start->first) + 1);
    if (next == notes.end()) {
      ++ties;
      continue;
    }
    const bool held = std::any_of(start->second.begin(), start->second.end(), [&](int pitch) {
      return std::find(next->second.begin(), next->second.end(), pitch) != next->second.end();
    });
    if (held) ++ties;
  }
  return out + "ties " + std::to_string(ties);
}

// The text without the header lines (meter, unit length, tempo) that a line
// read on its own starts with.
inline std::string AbcMusicOnly(std::string text) {
  while (text.size() > 2 && text[1] == ':' && std::string_view("MLQ").find(text[0]) != std::string_view::npos)
    text.erase(0, text.find('\n') == std::string::npos ? text.size() : text.find('\n') + 1);
  return text;
}

}  // namespace stavlin_test
