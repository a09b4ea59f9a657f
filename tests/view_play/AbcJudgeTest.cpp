// The program's own road from an ABC file to a MIDI file (File | Import | ABC
// File, then File | Export | Full Score As MIDI File), judged by an outside
// player: abc2midi plays the same tune, and every note of the two files
// (read back with midicsv) must start, sound and end alike, within 1/48 of a
// quarter note. One short tune per feature of written time.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "midi/LinePlayEvents.h"
#include "model/KExtendedObj.h"
#include "platform/MidiClock.h"
#include "platform/MidiOutPort.h"
#include "platform/MidiScheduler.h"
#include "platform/Clipboard.h"
#include "support/CaseName.h"
#include "support/MidiCsvTable.h"
#include "support/OutsideTools.h"
#include "support/TempFolder.h"
#include "translate/KTextDoc.h"
#include "view/play/ViewPlayer.h"
#include "view_translate/TranslateFixture.h"

namespace {

namespace fs = std::filesystem;

struct Tune {
  const char* name;
  const char* abc;
};

void PrintTo(const Tune& tune, std::ostream* out) { *out << tune.name; }

class AbcScore : public viewtest::TranslateFixture {
 protected:
  void SetUp() override {
    TranslateFixture::SetUp();
    InstallLinePlayInterpreter();
    previous_ = SetClipboardPort(&clipboard_);
    // A new score: its title line and the text line with the caret.
    AddText("");
    AddText("");
    Layout(1);
  }
  void TearDown() override {
    SetClipboardPort(previous_);
    KListLine::SetPlayTextInterpreter(nullptr);
    TranslateFixture::TearDown();
  }

  // File | Export | Full Score As MIDI File, saved under the path.
  void ExportMidi(const fs::path& file) {
    ui.AnswerSaveFile([file](KSaveFileRequest& request) {
      request.fileName = CString::FromUtf8(file.string());
      return true;
    });
    ASSERT_TRUE(Run(cmd::kExportMidi));
    ASSERT_TRUE(fs::exists(file)) << "no MIDI file was written";
  }

  // abc2midi's notes of the tune, written to the folder first.
  std::vector<midicsv::PlayedNote> Abc2midiNotes(const fs::path& abc) {
    const fs::path theirs = folder.Path() / "theirs.mid";
    int status = 0;
    stavlin_test::RunTool("abc2midi " + abc.string() + " 1 -o " + theirs.string(), status);
    return midicsv::PlayedNotes(midicsv::Run(theirs));
  }

  stavlin_test::TempFolder folder{"abcjudge"};

 private:
  MemoryClipboard clipboard_;
  ClipboardPort* previous_ = nullptr;
};

class AbcJudge : public AbcScore, public ::testing::WithParamInterface<Tune> {};

TEST_P(AbcJudge, TheProgramPlaysTheTuneAsAbc2midiDoes) {
  if (!stavlin_test::HaveTool("abc2midi") || !midicsv::Installed())
    GTEST_SKIP() << "abc2midi or midicsv is not installed";
  const Tune& tune = GetParam();
  const fs::path abc = folder.Path() / "tune.abc";
  std::ofstream(abc, std::ios::binary) << tune.abc;
  const std::vector<midicsv::PlayedNote> expected = Abc2midiNotes(abc);
  ASSERT_FALSE(expected.empty()) << "abc2midi played nothing";

  ImportAbc(abc);
  const fs::path ours = folder.Path() / "ours.mid";
  ExportMidi(ours);
  const std::vector<midicsv::PlayedNote> played = midicsv::PlayedNotes(midicsv::Run(ours));
  EXPECT_TRUE(midicsv::SameNotes(played, expected, 10)) << "the program:\n"
                                                        << midicsv::Show(played) << "abc2midi:\n"
                                                        << midicsv::Show(expected) << "score:\n"
                                                        << DumpLine(Line(2));
}

const Tune kTunes[] = {
    {"SingleMelodyWithStemsBothWays",
     "X:1\nT:Stems\nM:4/4\nL:1/8\nK:C\nC D E F G A B c|d e f g a g f e|d2 B2 G2 E2|C8|]\n"},
    {"DottedAndBrokenRhythms",
     "X:1\nT:Dots\nM:4/4\nL:1/8\nK:G\nG3 A B2 d2|c>B A>G F<G A2|B3/2c/ d3/2e/ d4|]\n"},
    {"Triplets", "X:1\nT:Triplets\nM:4/4\nL:1/8\nK:C\n(3CDE F2 (3GAB c2|(3cBA G2 E2 C2|]\n"},
    {"GraceNotes", "X:1\nT:Graces\nM:4/4\nL:1/8\nK:D\nd2 {e}d2 {fe}d2 A2|{g}f4 d4|]\n"},
    {"Rests", "X:1\nT:Rests\nM:3/4\nL:1/8\nK:C\nz2 E2 G2|c4 z2|z G E C z2|C6|]\n"},
    {"TiesAcrossBars", "X:1\nT:Ties\nM:4/4\nL:1/8\nK:F\nF2 A2 c4-|c2 A2 F4-|F8|]\n"},
    {"RepeatsWithEndings", "X:1\nT:Endings\nM:4/4\nL:1/8\nK:C\n|:C2 E2 G2 E2|1 D4 G4:|2 C8|]\n"},
    // The short first system is spread to the staff's length: its tie must
    // still reach the note after the bar; and a tie at the line's end holds
    // into the first note of the next system.
    {"TiesOnASpreadSystemAndIntoTheNext",
     "X:1\nT:Ties\nM:4/4\nL:1/8\nK:C\nC2 E2 G4-|G2 E2 C4-|\nC2 D2 E4-|E8|]\n"},
    // A first ending of two bars: the second time through, both are passed over.
    {"AFirstEndingOfTwoBars",
     "X:1\nT:Long Ending\nM:4/4\nL:1/8\nK:C\n|:C2 D2 E2 F2|G8|\nA2 G2 F2 E2|1 D8|C8:|\n|2 D4 E4|C8|]\n"},
    // Four full bars fill the first system, so the second ending starts the
    // next one: play must go on there at once, not a system's length later.
    {"SecondEndingOnTheNextSystem",
     "X:1\nT:Review Reel\nM:4/4\nL:1/8\nQ:1/4=100\nK:G\n"
     "|:G2 B>c d2 (3efg|{a}g2 e2 d4-|d2 B2 A2 G2|1 A8:|2 G8|]\n"},
    // A repeat both ways written with a bar between its colons, and a
    // repeat that starts after a thick bar.
    {"ARepeatBothWaysWithABarBetweenItsColons",
     "X:1\nT:Both Ways\nM:4/4\nL:1/8\nK:C\n|:C2 D2 E2 F2:|:G2 A2 B2 c2:|\n"},
    {"ARepeatStartingAfterAThickBar", "X:1\nT:Thick\nM:4/4\nL:1/8\nK:C\nC2 D2 E2 F2[|:G2 A2 B2 c2:|\n"},
    {"BrokenRhythmsWrittenWithBlanks",
     "X:1\nT:Blanks\nM:4/4\nL:1/8\nK:G\nG > F G < F A >> B c2|d > c B < A G4|]\n"},
    // An accidental holds to the bar line, over a line break too.
    {"AnAccidentalHeldOverALineBreak", "X:1\nT:Held\nM:4/4\nL:1/8\nK:C\n_B2 z2\nB4|B4 ^F4|\nz4 F4|F8|]\n"},
    {"APostScriptBlockInTheTune",
     "X:1\nT:PostScript\nM:4/4\nL:1/8\nK:C\nC2 D2 E2 F2|\n%%beginps\n/A { gsave B C } def\n%%endps\nG8|]\n"},
    // A key changed to C within a line, and a clef named by its staff line.
    {"AKeyChangedToCWithinALine", "X:1\nT:To C\nM:4/4\nL:1/8\nK:D\nc2 d2 e2 f2|c2 f2 [K:C] e2 c2|c4 f4|]\n"},
    {"AKeyChangedToCOnAContinuedLine",
     "X:1\nT:To C\nM:4/4\nL:1/8\nK:D\nc2 d2 e2 f2|c2 d2 \\\nK:C\ne2 c2|c4 f4|]\n"},
    {"ClefsNamedByTheirStaffLine", "X:1\nT:Clefs\nM:4/4\nL:1/4\nK:C\nG,CEG|[K:alto4]G,CEG|[K:alto1]G,CEG|]\n"},
    // Bars that the wrap pushes down keep the key they were written in; a
    // line the wrap makes starts in the key in force at its first bar.
    {"ALongLineKeepsItsKeyWhenTheNextLineChangesIt",
     "X:1\nT:Long\nM:4/4\nL:1/8\nK:D\n"
     "c2 d2 e2 f2|c2 d2 e2 f2|c2 d2 e2 f2|c2 d2 e2 f2|c2 d2 e2 f2|c2 d2 e2 f2|c2 d2 e2 f2|c2 d2 e2 f2|\n"
     "K:C\nc2 d2 e2 f2|c8|]\n"},
    {"ALongLineEndingWithAThickBarKeepsItsKey",
     "X:1\nT:Long\nM:4/4\nL:1/8\nK:D\n"
     "c2 d2 e2 f2|c2 d2 e2 f2|c2 d2 e2 f2|c2 d2 e2 f2|c2 d2 e2 f2|c2 d2 e2 f2|c2 d2 e2 f2|c2 d2 e2 f2|]\n"
     "K:C\nc2 d2 e2 f2|c8|]\n"},
    {"AKeyChangedInlineAfterASecondEndingHoldsToTheEnd",
     "X:1\nT:Ending\nM:4/4\nL:1/8\nK:C\n"
     "|:c2 d2 e2 f2|c2 d2 e2 f2|c2 d2 e2 f2|1 c4 B4:|2 c4 B4|[K:D] c2 d2 e2 f2|c2 f2 e2 c2|f2 c2 e2 d2|c8|]\n"},
    {"AKeyChangedOnAContinuedLineAfterASecondEndingHoldsToTheEnd",
     "X:1\nT:Ending\nM:4/4\nL:1/8\nK:C\n"
     "|:c2 d2 e2 f2|c2 d2 e2 f2|c2 d2 e2 f2|1 c4 B4:|2 c4 B4| \\\nK:D\nc2 d2 e2 f2|c2 f2 e2 c2|f2 c2 e2 d2|c8|]\n"},
    {"ATieOverAContinuedLine", "X:1\nT:Continued\nM:4/4\nL:1/8\nK:C\nC2 D2 E2 F2- \\\nF2 G2 A2 B2|c8|]\n"},
    // AABB: the second part has no repeat start, so it goes back to the
    // repeat end that closed the first part, not to the tune's start.
    {"ASecondPartWithoutARepeatStart",
     "X:1\nT:Two Parts\nM:4/4\nL:1/8\nK:G\n|:GABc d2B2|c2A2 B4:|\ne2d2 c2B2|A2G2 A4:|\n"},
    {"TwoPartsWithoutAnyRepeatStart", "X:1\nT:No Starts\nM:4/4\nL:1/8\nK:C\nc8|B8:|\nA8|G8:|\n"},
    // "::" ends one part and starts the next.
    {"ADoubleColonBetweenTwoParts", "X:1\nT:Both Ways\nM:3/4\nL:1/8\nK:D\n|:d2 c2 B2|A4 F2::G2 A2 B2|A6:|\n"},
    {"ADoubleColonAfterAPartWithoutAStart", "X:1\nT:Both Ways\nM:4/4\nL:1/8\nK:C\nd8|c8::B8|A8:|\n"},
    // The first ending runs over a system break to its repeat sign.
    {"AFirstEndingOverASystemBreak", "X:1\nT:Broken Ending\nM:4/4\nL:1/8\nK:C\n|:C8|1 D8|\nE8:|2 F8|]\n"},
    {"EndingsOnBothSidesOfASystemBreakWithoutAStart",
     "X:1\nT:Broken Ending\nM:4/4\nL:1/8\nK:C\nC8|D8|1 E8|\nF8:|2 G8|\nA8|]\n"},
    // A second part without a repeat start, with endings of its own.
    {"EndingsInASecondPartWithoutAStart",
     "X:1\nT:Second Part\nM:4/4\nL:1/8\nK:C\nC8|D8:|\nE8|1 F8:|2 G8|]\n"},
    // A reel of two parts whose first endings run over a system break: each
    // part is played twice, no more.
    {"AReelWhoseFirstEndingsRunOverSystemBreaks",
     "X:1\nT:Reel\nM:4/4\nL:1/8\nK:G\n"
     "|:G2BG dGBG|c2ec BcdB|G2BG dGBG|1 A2FA dAFA|\nc2ec BcdB:|2 A2FA G4||\n"
     "|:g2bg agfg|e2ge dBGB|g2bg agfg|1 edcB A2GA|\nc2ec BcdB:|2 edcB G4|]\n"},
    // Every note of a chord tied over a bar line holds, with or without a
    // slur around the tie.
    {"TiedChordsOverABar", "X:1\nT:Held\nM:4/4\nL:1/8\nK:C\nz4 [CEG]4-|[CEG]4 z4|]\n"},
    {"TiedChordsInsideASlur", "X:1\nT:Held\nM:4/4\nL:1/8\nK:C\n(z4 [CEG]4-|[CEG]4) G4|]\n"},
    // Breves, a dotted breve and a breve rest in four halves.
    {"BrevesInFourHalves", "X:1\nT:Breves\nM:4/2\nL:1/2\nK:C\nF4|G2A2|B4|c3 B|A4|]\n"},
    {"ABreveRest", "X:1\nT:Rest\nM:4/2\nL:1/2\nK:C\nF4|z4|G4|]\n"},
    {"ADottedBreve", "X:1\nT:Dotted\nM:6/2\nL:1/2\nK:C\nF6|G3 A3|]\n"},
};

INSTANTIATE_TEST_SUITE_P(Tunes, AbcJudge, ::testing::ValuesIn(kTunes),
                         [](const ::testing::TestParamInfo<Tune>& info) {
                           return std::string(info.param.name);
                         });

// Playing the score in the window goes the same road as the export: a repeat
// whose second ending opens the next system sounds it straight after the
// first ending's repeat, heard on a fake clock at 120 quarters a minute.
class AbcPlayback : public AbcScore {
 protected:
  void SetUp() override {
    AbcScore::SetUp();
    previousClock_ = SetMidiClock(&clock_);
    ResetSoundScheduler();
    out_.StampWith(&clock_);
    frame.play = &out_;
  }
  void TearDown() override {
    if (view != nullptr) view->Player().Halt();
    ResetSoundScheduler();
    SetMidiClock(previousClock_);
    AbcScore::TearDown();
  }

  // Plays the score with its repeats and returns the notes heard, in ticks
  // of 480 a quarter.
  std::vector<midicsv::PlayedNote> Heard() {
    KPlayParams params = view->Player().GetPlayParams();
    params.tempo = 120;
    params.loudness = 0;
    params.loop = 0;
    params.ignoreRepeats = 0;
    params.betweenMarks = 0;
    view->Player().SetPlayParams(params);
    const std::int64_t start = clock_.NowUs();
    view->Player().PlayOrExportMidi(KViewPlayer::kModePlay);
    EXPECT_TRUE(clock_.RunUntilIdle());
    const auto tick = [&](std::int64_t us) { return static_cast<long>((us - start) * 480 / kQuarterUs); };
    std::vector<midicsv::PlayedNote> heard;
    std::map<int, std::size_t> sounding;
    for (std::size_t i = 0; i < out_.Events().size(); ++i) {
      const MidiShortEvent& e = out_.Events()[i];
      const int kind = e.status & 0xF0;
      if (kind == 0x90 && e.data2 != 0) {
        sounding[e.data1] = heard.size();
        heard.push_back({tick(out_.Times()[i]), 0, e.data1, e.status & 0x0F});
      } else if ((kind == 0x80 || kind == 0x90) && sounding.count(e.data1) != 0) {
        midicsv::PlayedNote& note = heard[sounding[e.data1]];
        note.length = tick(out_.Times()[i]) - note.onset;
        sounding.erase(e.data1);
      }
    }
    return heard;
  }

 private:
  static constexpr std::int64_t kQuarterUs = 500000;
  FakeMidiClock clock_;
  RecordingMidiOut out_;
  MidiClock* previousClock_ = nullptr;
};

TEST_F(AbcPlayback, ASecondEndingOnTheNextSystemSoundsRightAfterTheRepeat) {
  if (!stavlin_test::HaveTool("abc2midi") || !midicsv::Installed())
    GTEST_SKIP() << "abc2midi or midicsv is not installed";
  const fs::path abc = folder.Path() / "reel.abc";
  std::ofstream(abc, std::ios::binary) << "X:1\nT:Review Reel\nM:4/4\nL:1/8\nK:G\n"
                                          "|:G2 B>c d2 (3efg|{a}g2 e2 d4-|d2 B2 A2 G2|1 A8:|2 G8|]\n";
  const std::vector<midicsv::PlayedNote> expected = Abc2midiNotes(abc);
  ASSERT_FALSE(expected.empty()) << "abc2midi played nothing";
  ImportAbc(abc);
  int secondEnding = -1;
  for (int i = 0; i < view->GetDisplayLineCount(); ++i) {
    KListLine* line = view->GetDisplayLineObj(i) != nullptr ? view->GetDisplayLineObj(i)->AsListLine() : nullptr;
    if (line == nullptr || line->GetFamily() != KLineObj::kFamilyStaff) continue;
    for (POSITION node = line->GetAttachments()->GetHeadPosition(); node != nullptr;) {
      const auto* bracket = dynamic_cast<const KExtendedObj*>(line->GetAttachments()->GetNext(node));
      if (bracket != nullptr && bracket->GetText() == "2.") secondEnding = i;
    }
  }
  ASSERT_GT(secondEnding, 2) << "the second ending opens a system of its own";
  const std::vector<midicsv::PlayedNote> heard = Heard();
  EXPECT_TRUE(midicsv::SameNotes(heard, expected, 10)) << "heard:\n"
                                                       << midicsv::Show(heard) << "abc2midi:\n"
                                                       << midicsv::Show(expected);
}

}  // namespace
