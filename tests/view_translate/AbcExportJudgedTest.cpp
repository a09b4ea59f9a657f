// Short tunes, one for each thing ABC writes, are read into a score (as
// Actions | Translate | From ABC Notation reads them) and written back out (as
// File | Export | Full Score as ABC File writes them). The outside tools
// judge the result: abcm2ps and abc2midi read it without an error, and the
// notes abc2midi plays from it are the notes it plays from the tune itself,
// note by note (onset, pitch, length), and they are the notes, tempo, meter
// and key of the program's own MIDI export of the same score.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

#include "TranslateFixture.h"
#include "midi/LinePlayEvents.h"
#include "support/MidiCsvTable.h"
#include "support/OutsideTools.h"
#include "support/TempFolder.h"

namespace {

using stavlin_test::RunTool;

struct JudgedTune {
  const char* name;
  const char* abc;
  // Text the export must hold, as ABC writes the feature.
  const char* written;
  // Make a tablature line of the staff before exporting.
  bool withTablature = false;
  // The same music as the players read it without a warning, where they
  // warn of the way the tune writes it (and still play it).
  const char* playedAs = nullptr;
};

void PrintTo(const JudgedTune& tune, std::ostream* out) { *out << tune.name; }

// What abc2midi plays of an ABC text, and what it and abcm2ps complained of.
struct Played {
  std::vector<midicsv::PlayedNote> notes;
  std::string settings;  // tempo, meter and key signature (its sharps or flats)
  std::string complaints;
};

Played Play(const std::string& abc, const stavlin_test::TempFolder& folder, const std::string& stem) {
  Played played;
  const std::string file = (folder.Path() / (stem + ".abc")).string();
  std::ofstream(file, std::ios::binary) << abc;
  int status = 0;
  const std::string ps =
      RunTool("abcm2ps -q -O " + (folder.Path() / (stem + ".ps")).string() + " " + file, status);
  if (status != 0 || ps.find("rror") != std::string::npos || ps.find("arning") != std::string::npos)
    played.complaints += "abcm2ps: " + ps;
  const std::string midi = (folder.Path() / (stem + ".mid")).string();
  const std::string said = RunTool("abc2midi " + file + " 1 -o " + midi, status);
  if (status != 0 || said.find("rror") != std::string::npos || said.find("arning") != std::string::npos)
    played.complaints += "abc2midi: " + said;
  const std::string csv = midicsv::Run(midi);
  played.notes = midicsv::PlayedNotes(csv);
  played.settings = midicsv::Settings(csv);
  return played;
}

class AbcExportJudged : public viewtest::TranslateFixture, public ::testing::WithParamInterface<JudgedTune> {
 protected:
  void SetUp() override {
    TranslateFixture::SetUp();
    InstallLinePlayInterpreter();
  }
  void TearDown() override {
    KListLine::SetPlayTextInterpreter(nullptr);
    TranslateFixture::TearDown();
  }

  // File | Export | Full Score As MIDI File, saved under the path; what the
  // file plays.
  Played ExportMidi(const std::filesystem::path& file) {
    ui.AnswerSaveFile([file](KSaveFileRequest& request) {
      request.fileName = CString::FromUtf8(file.string());
      return true;
    });
    Played played;
    if (!Run(cmd::kExportMidi) || !std::filesystem::exists(file)) {
      played.complaints = "no MIDI file was written";
      return played;
    }
    const std::string csv = midicsv::Run(file);
    played.notes = midicsv::PlayedNotes(csv);
    played.settings = midicsv::Settings(csv);
    return played;
  }
};

TEST_P(AbcExportJudged, TheOutsidePlayerPlaysTheExportAsItPlaysTheTune) {
  if (!stavlin_test::HaveTool("abc2midi") || !stavlin_test::HaveTool("abcm2ps") || !midicsv::Installed())
    GTEST_SKIP() << "abc2midi, abcm2ps or midicsv is not installed";
  const JudgedTune& tune = GetParam();
  AddTextBlock(tune.abc);
  Layout();
  SelectLines(0, view->GetDisplayLineCount() - 1);
  ASSERT_TRUE(Run(cmd::kTranslateFromAbc));
  if (tune.withTablature) {
    const int staff = view->GetDisplayLineCount() - 1;
    SelectLines(staff, staff);
    ASSERT_TRUE(Run(viewtest::kToTab));
  }
  view->UpdateSelection(0, 0, 0, 0, CStavlinView::kSelClear);
  ASSERT_TRUE(Run(cmd::kExportAbc));
  ASSERT_EQ(frame.textDocuments.size(), 1u);
  const std::string exported(frame.textDocuments[0].second.View());
  EXPECT_NE(exported.find(tune.written), std::string::npos) << exported;
  // One tune in, one tune out.
  EXPECT_EQ(exported.find("X:", 1), std::string::npos) << exported;

  stavlin_test::TempFolder folder("abcjudged");
  const Played original = Play(tune.playedAs != nullptr ? tune.playedAs : tune.abc, folder, "tune");
  ASSERT_EQ(original.complaints, "") << "the test's own tune must be good ABC";
  ASSERT_FALSE(original.notes.empty());
  const Played ours = Play(exported, folder, "export");
  EXPECT_EQ(ours.complaints, "") << exported;
  // Within 1/48 of a quarter note.
  EXPECT_TRUE(midicsv::SameNotes(ours.notes, original.notes, 10))
      << "exported:\n"
      << exported << "\nplayed from the export:\n"
      << midicsv::Show(ours.notes) << "\nplayed from the tune:\n"
      << midicsv::Show(original.notes);

  // The program's own MIDI file of the score plays what abc2midi plays of
  // the score's ABC, at the same tempo, in the same meter and key. (A
  // tablature line plays its notes a second time on a channel of its own.)
  if (tune.withTablature) return;
  const Played midi = ExportMidi(folder.Path() / "score.mid");
  ASSERT_EQ(midi.complaints, "");
  // abc2midi plays the melody on the first channel; the accompaniment it
  // makes of chord names, on channels of its own, is not in the score. A
  // tune without chord names plays only its own voices (a voice overlay on
  // a channel of its own).
  std::vector<midicsv::PlayedNote> melody = ours.notes;
  if (exported.find('"') != std::string::npos)
    std::erase_if(melody, [](const midicsv::PlayedNote& note) { return note.channel != 0; });
  EXPECT_TRUE(midicsv::SameNotes(midi.notes, melody, 10))
      << "exported:\n"
      << exported << "\nthe program's MIDI file:\n"
      << midicsv::Show(midi.notes) << "\nplayed from the export:\n"
      << midicsv::Show(melody);
  EXPECT_EQ(midi.settings, ours.settings) << exported;
}

INSTANTIATE_TEST_SUITE_P(
    Tunes, AbcExportJudged,
    ::testing::Values(
        JudgedTune{
            "ASubtitleStaysInItsTune",
            "X:1\nT:The Kesh\nT:a jig in the old style\nM:6/8\nL:1/8\nK:G\nGAG GAB|ABA ABd|edd gdd|edB dBA|]",
            "T:The Kesh\r\nT:a jig in the old style\r\n"},
        JudgedTune{"TiesAcrossBarsHoldTheNote", "X:1\nT:Ties\nM:4/4\nL:1/8\nK:C\nC4- C2 E2-|E2 G2 c4-|c8|]",
                   "C4-C2E2-|E2G2 c4-|c8"},
        JudgedTune{"GraceNotesLeadToTheirNote", "X:1\nT:Graces\nM:4/4\nL:1/8\nK:D\n{ag}f4 {e}d4|{fed}e4 d4|]",
                   "{ag}f4{e}d4|{fed}e4d4"},
        JudgedTune{"ADorianTuneKeepsItsMode",
                   "X:1\nT:Dorian\nM:4/4\nL:1/8\nK:Ador\nA2 Bc d2 cB|A2 GE G2 AB|c2 BA G2 E2|A8|]",
                   "K:Ador\r\n"},
        JudgedTune{"AMinorTuneKeepsItsMode",
                   "X:1\nT:Minor\nM:3/4\nL:1/8\nK:Am\nA2 c2 e2|^g4 a2|e2 c2 B2|A6|]", "K:Am\r\n"},
        JudgedTune{"ABassStaffIsWrittenAtItsPitch",
                   "X:1\nT:Bass\nM:4/4\nL:1/8\nK:C bass\nC,2 E,2 G,2 C2|G,,4 C,4|]",
                   "K:C clef=bass\r\nC,2 E,2G,2C2|G,,4C,4|"},
        JudgedTune{"AGuitarStaffSoundsAnOctaveBelowItsNotes",
                   "X:1\nT:Guitar\nM:3/4\nL:1/8\nK:Em clef=treble-8\nE2 G2 B2|e4 B2|E6|]",
                   "clef=treble-8\r\n"},
        JudgedTune{"DottedBrokenAndTripletRhythms",
                   "X:1\nT:Rhythms\nM:4/4\nL:1/8\nK:G\nG3 A B>c d<e|(3def g2 d4|]", "(3"},
        JudgedTune{"RepeatsWithFirstAndSecondEndings",
                   "X:1\nT:Endings\nM:4/4\nL:1/8\nK:D\n|:d2 e2 f2 g2|1 a4 f4:|2 a4 d4|]", ":|"},
        JudgedTune{"ATieIntoTheNextLine",
                   "X:1\nT:Ties\nM:4/4\nL:1/8\nK:C\nC2 E2 G4-|G2 E2 C4|C2 D2 E4-|E4 G4-|\n"
                   "G2 E2 G4-|G2 E2 C4|C2 D2 E4-|E8|]\n",
                   "G4-|\r\nG2"},
        // The first system ends with the first ending; the second ending
        // opens the next one.
        JudgedTune{"ASecondEndingOnTheNextSystem",
                   "X:1\nT:Review Reel\nM:4/4\nL:1/8\nQ:1/4=100\nK:G\n"
                   "|:G2 B>c d2 (3efg|{a}g2 e2 d4-|d2 B2 A2 G2|1 A8:|2 G8|]\n",
                   "[1A8:|\r\n[2G8|]"},
        JudgedTune{
            "ChordNamesStayOverTheirNotes",
            "X:1\nT:Chords\nM:3/4\nL:1/8\nK:G\n\"G\"G2 B2 d2|\"C\"e2 \"D7\"d2 c2|\"Em\"B2 \"Am\"A2 \"D\"F2|"
            "\"G\"G6|]",
            "|\"Em\"B2\"Am\"A2\"D\"F2|"},
        // More bars than a staff holds: several systems, each filled to the
        // staff length with blank columns that play nothing.
        JudgedTune{"ALongReelOverManySystems",
                   "X:1\nT:Long Reel\nM:4/4\nL:1/8\nK:D\n|:A2FA DAFA|B2GB dBGB|A2FA DAFA|BAGF E2FE|\n"
                   "A2FA DAFA|B2GB dBGB|A3B AFdF|EFGE D4:|\n|:d2fd adfd|e2ge bege|d2fd adfd|efed B2AB|\n"
                   "d2fd adfd|e2ge bege|f3g fedB|AFEF D4:|\nFAdA FAdA|GBdB GBdB|FAdA FAdA|E2FG A4|\n"
                   "D2FA d2fa|g2fe d2cB|AFdF EFGE|D8|]\n",
                   "efed B2AB|d2fd adfd|"},
        // A melody of eighths over held half notes, and a second voice
        // that starts while the first holds: each bar is written as the
        // upper voice "&" the lower one, each voice in its own time.
        JudgedTune{"TwoVoicesOnOneStaffKeepTheirOwnTime",
                   "X:1\nT:Two voices\nM:4/4\nL:1/8\nK:C\neeee eeee & E4 E4|c4 B2A2 & z2 E2 G4|]\n", " & "},
        JudgedTune{"ARepeatBothWaysRepeatsTheSectionsOnEitherSide",
                   "X:1\nT:Both ways\nM:4/4\nL:1/8\nK:G\n|:G2A2 B2c2|d4 B4:|:c2B2 A2G2|A4 G4:|\n", "B4::c2",
                   false, "X:1\nT:Both ways\nM:4/4\nL:1/8\nK:G\n|:G2A2 B2c2|d4 B4::c2B2 A2G2|A4 G4:|\n"},
        JudgedTune{"ASlurOverTheLineEndGoesOnIntoTheNextLine",
                   "X:1\nT:Slur over the line\n%%scale 0.5\nM:4/4\nL:1/8\nK:D\n"
                   "|:A2FA DAFA|B2GB dBGB|A2FA DA(FA|BA)GF (E2FE|A2)FA DAFA|B2GB dB(GB|A3B AF)dF|EFGE "
                   "(D4|F4) D4:|\n",
                   "(FA|\r\nB)"},
        JudgedTune{"TablatureBesideTheMelodyIsACommentTheToolsPassOver",
                   "X:1\nT:With tab\nM:3/4\nL:1/8\nK:G\nGAB c2 d|e4 d2|]", "\r\n%", true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
