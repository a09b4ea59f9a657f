// A MIDI file in a minor key imports in that key wherever its key signature
// stands before the first note: as the file's first event, after its name,
// tempo and time signature, a little after the start, in a conductor track
// of its own, or after a major key that it replaces before the music
// begins. The score takes the key's sharps, and File | Export writes the
// minor key again, as ABC ("K:Em") and as a MIDI key signature.

#include <QPlainTextEdit>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include "ShellTestSupport.h"
#include "app/KTextFrame.h"
#include "dialogs/KDlgMidiImpSettings.h"
#include "lines/KStaffLine.h"
#include "midi_import/SmfBytes.h"
#include "view/CStavlinView.h"
#include "view/commands/CommandIds.h"

namespace {

using namespace smftest;

// E minor: one sharp, the minor flag set.
Item EMinor(std::uint32_t delta) { return Meta(delta, 0x59, {0x01, 0x01}); }

// E G B G | F# A G E in quarters, the first after `delay` ticks.
Track Tune(std::uint32_t delay) {
  Track notes;
  const int keys[] = {64, 67, 71, 67, 66, 69, 67, 64};
  for (const int key : keys) {
    notes.push_back(On(delay, 0, key));
    notes.push_back(Off(480, 0, key));
    delay = 0;
  }
  return notes;
}

Track Join(Track first, const Track& second) {
  first.insert(first.end(), second.begin(), second.end());
  return first;
}

struct MinorCase {
  const char* name;
  std::vector<Track> tracks;
};

void PrintTo(const MinorCase& c, std::ostream* out) { *out << c.name; }

class MidiMinorKey : public ShellTest, public ::testing::WithParamInterface<MinorCase> {
 protected:
  std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
};

TEST_P(MidiMinorKey, TheImportKeepsTheMinorKeyWhereverItsSignatureStandsBeforeTheMusic) {
  const std::vector<std::uint8_t> bytes = Smf(1, 480, GetParam().tracks);
  const std::filesystem::path file = Dir() / "lament.mid";
  std::ofstream(file, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  ASSERT_TRUE(Start());
  KViewWidget* pane = ImportMidiAsOffered(file);
  ASSERT_NE(pane, nullptr);
  CStavlinView& view = pane->View();

  const KStaffLine* staff = nullptr;
  for (int d = 0; d < view.GetDisplayLineCount() && staff == nullptr; ++d)
    staff = dynamic_cast<const KStaffLine*>(view.GetDisplayLineObj(d));
  ASSERT_NE(staff, nullptr);
  EXPECT_EQ(staff->GetKeySignatureAt(0), 2) << "one sharp";

  // As MIDI: a key signature of one sharp with the minor flag.
  const std::filesystem::path midi = Dir() / "exported.mid";
  ui_.AnswerSaveFile([midi](KSaveFileRequest& request) {
    request.fileName = CString(midi.c_str());
    return true;
  });
  Trigger(cmd::kExportMidi);
  EXPECT_NE(ReadFile(midi).find(std::string("\xFF\x59\x02\x01\x01", 5)), std::string::npos)
      << "no E minor key signature in the exported file";

  // As ABC.
  Trigger(cmd::kExportAbc);
  KTextFrame* text = Frame().ActiveTextWindow();
  ASSERT_NE(text, nullptr);
  const std::string abc = text->Editor()->toPlainText().toStdString();
  EXPECT_NE(abc.find("K:Em\n"), std::string::npos) << abc;
}

INSTANTIATE_TEST_SUITE_P(
    Files, MidiMinorKey,
    ::testing::Values(MinorCase{"AsTheFirstEvent", {Join({EMinor(0), Tempo(0, 90)}, Tune(0))}},
                      MinorCase{"AfterTheNameTempoAndTime",
                                {Join({Name(0, "Lament"), Tempo(0, 90), Time(0, 4, 2), EMinor(0)}, Tune(0))}},
                      MinorCase{"ALittleAfterTheStart", {Join({Name(0, "Lament"), EMinor(240)}, Tune(240))}},
                      MinorCase{"InAConductorTrack",
                                {{Name(0, "Lament"), Tempo(0, 90), Time(0, 4, 2), EMinor(0)}, Tune(0)}},
                      MinorCase{"ReplacingAMajorKeyBeforeTheMusic",
                                {Join({Key(0, 0), Time(0, 4, 2), EMinor(120)}, Tune(360))}}),
    [](const ::testing::TestParamInfo<MinorCase>& info) { return std::string(info.param.name); });

}  // namespace
