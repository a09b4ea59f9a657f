// The ABC writer against the ABC reader: the input is read as ABC, line by
// line, and every staff line it makes is written back as ABC (under the key
// and clef fields the export writes before it). That text must read back as
// one staff line of the same clef that sounds the same notes at the same
// times, and that writes the same music again.

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzEnvironment.h"
#include "common/Globals.h"
#include "lines/KStaffLine.h"
#include "model/KChord.h"
#include "model/KExtendedObj.h"
#include "model/KLineTime.h"
#include "translate/AbcReader.h"
#include "translate/AbcReaderState.h"

namespace {

std::vector<std::unique_ptr<KStaffLine>> ReadStaves(std::string_view text) {
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

// The line's notes in its own time: start, sorted pitches and length of each
// column of notes, rests, grace notes and bars, and the number of ties.
std::string Played(KStaffLine& line) {
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
  int ties = 0;
  CObList* attachments = line.GetAttachments();
  for (POSITION node = attachments->GetHeadPosition(); node != nullptr;) {
    const auto* a = dynamic_cast<const KExtendedObj*>(attachments->GetNext(node));
    if (a != nullptr && a->GetKind() == KExtendedObj::kTie) ++ties;
  }
  return out + "ties " + std::to_string(ties);
}

// The written music without the header lines a line read alone starts with.
std::string Music(KStaffLine& line) {
  g_abcUnitLength = 240;
  const std::optional<CString> written = line.WriteAbc();
  std::string text = written ? std::string(written->View()) : std::string();
  while (text.size() > 2 && text[1] == ':' && std::string_view("MLQ").find(text[0]) != std::string_view::npos)
    text.erase(0, text.find('\n') == std::string::npos ? text.size() : text.find('\n') + 1);
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  StavlinFuzzStart();
  ResetAbcReaderState();
  std::vector<std::unique_ptr<KStaffLine>> staves =
      ReadStaves(std::string_view(reinterpret_cast<const char*>(data), size));
  for (std::unique_ptr<KStaffLine>& staff : staves) {
    const std::string played = Played(*staff);
    if (played == "ties 0") continue;  // no music to write
    g_abcUnitLength = 240;
    const std::optional<CString> written = staff->WriteAbc();
    if (!written) StavlinFuzzFail("a staff line with music wrote no ABC");
    const std::string text = "L:1/8\r\nK:" + AbcKeyName(staff->GetKeySignatureAt(0)) +
                             AbcClefClause(staff->GetType()) + "\r\n" + std::string(written->View());
    ResetAbcReaderState();
    std::vector<std::unique_ptr<KStaffLine>> back = ReadStaves(text);
    if (back.size() != 1) StavlinFuzzFail("the written ABC did not read back as one staff line");
    if (back[0]->GetType() != staff->GetType()) StavlinFuzzFail("the staff line read back has another clef");
    if (const std::string again = Played(*back[0]); again != played) {
      std::fprintf(stderr, "written:\n%s\nplayed:\n%s\nread back:\n%s\n", text.c_str(), played.c_str(),
                   again.c_str());
      StavlinFuzzFail("the staff line read back plays other notes");
    }
    if (const std::string again = Music(*back[0]); again != Music(*staff)) {
      std::fprintf(stderr, "written:\n%s\nread back and written again:\n%s\n", text.c_str(), again.c_str());
      StavlinFuzzFail("the staff line read back writes other ABC");
    }
  }
  ResetAbcReaderState();
  g_abcUnitLength = 240;
  return 0;
}
