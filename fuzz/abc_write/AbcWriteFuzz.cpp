// The ABC writer against the ABC reader: the input is read as ABC, line by
// line, and every staff line it makes is written back as ABC (under the key
// and clef fields the export writes before it). That text must read back as
// one staff line of the same clef that sounds the same notes at the same
// times, and that writes the same music again.

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzEnvironment.h"
#include "common/Globals.h"
#include "lines/KStaffLine.h"
#include "support/AbcStaffReadBack.h"
#include "translate/AbcReader.h"
#include "translate/AbcReaderState.h"

namespace {

using stavlin_test::AbcMusicOnly;
using stavlin_test::PlayedOnStaff;
using stavlin_test::ReadAbcStaves;

// The written music without the header lines a line read alone starts with.
std::string Music(KStaffLine& line) {
  g_abcUnitLength = 240;
  const std::optional<CString> written = line.WriteAbc();
  std::string text = written ? std::string(written->View()) : std::string();
  return AbcMusicOnly(text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  StavlinFuzzStart();
  ResetAbcReaderState();
  std::vector<std::unique_ptr<KStaffLine>> staves =
      ReadAbcStaves(std::string_view(reinterpret_cast<const char*>(data), size));
  for (std::unique_ptr<KStaffLine>& staff : staves) {
    const std::string played = PlayedOnStaff(*staff);
    if (played == "ties 0") continue;  // no music to write
    g_abcUnitLength = 240;
    const std::optional<CString> written = staff->WriteAbc();
    if (!written) StavlinFuzzFail("a staff line with music wrote no ABC");
    const std::string text = "L:1/8\r\nK:" + AbcKeyName(staff->GetKeySignatureAt(0)) +
                             AbcClefClause(staff->GetType()) + "\r\n" + std::string(written->View());
    ResetAbcReaderState();
    std::vector<std::unique_ptr<KStaffLine>> back = ReadAbcStaves(text);
    if (back.size() != 1) StavlinFuzzFail("the written ABC did not read back as one staff line");
    if (back[0]->GetType() != staff->GetType()) StavlinFuzzFail("the staff line read back has another clef");
    if (const std::string again = PlayedOnStaff(*back[0]); again != played) {
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
