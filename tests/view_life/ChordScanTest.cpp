// The scan of an opened score for chords the user's dictionary lacks, in a
// score written before chord lines had tunings of their own: each chord line
// takes the tuning of the tablature line above it, the chords of each tuning
// are offered in a pass of their own, and the warning about several
// tablature tunings comes once.

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ViewLifeTestSupport.h"
#include "chords/ChordSettings.h"
#include "common/AppServices.h"
#include "common/Globals.h"
#include "dialogs/KDlgScannedChords.h"
#include "lines/KChordPicLine.h"
#include "lines/KTabLine.h"
#include "support/TempFolder.h"

namespace {

const CString kStandard = "E A D G B E  323742475156";
const CString kDropD = "D A D G B E  303742475156";
// A designed chord's shape: long enough to be collected.
const CString kTail = CString(' ', 8) + " 0110000640";

class OldScoreChordScan : public ViewLifeTest {
 protected:
  void SetUp() override {
    ViewLifeTest::SetUp();
    ResetChordSettings();
    g_ChordFilePath = (folder_.Path() / "ZODireda.dat").string().c_str();
    std::ofstream(g_ChordFilePath.Str(), std::ios::binary | std::ios::trunc);
  }
  void TearDown() override {
    g_fileVersion = 0;
    ResetChordSettings();
    ViewLifeTest::TearDown();
  }
  KChordPicLine* ChordLine(const char* name, const CString& shape) {
    auto* line = new KChordPicLine();
    line->InsertDiagramAt(0, name, shape, 1, 0);
    doc_->AddTailLine(line);
    return line;
  }
  void TabLine(const CString& tuning) { doc_->AddTailLine(new KTabLine(0, tuning, 0)); }

  stavlin_test::TempFolder folder_{"oldscan"};
};

TEST_F(OldScoreChordScan, ChordLinesTakeTheTuningOfTheTablatureAboveThem) {
  TabLine(kStandard);
  KChordPicLine* first = ChordLine("Cfancy", "0913210" + kTail);
  TabLine(kDropD);
  KChordPicLine* second = ChordLine("Dodd", "0000232" + kTail);
  KChordPicLine* third = ChordLine("Dother", "0002232" + kTail);

  std::vector<std::string> offered;  // tuning key: chord names
  ui_.AnswerDialog(KDlgScannedChords::kTemplateId, [&](KModalDialog& d) {
    auto& dialog = static_cast<KDlgScannedChords&>(d);
    std::string names = std::string(dialog.tuningKey.View()) + ":";
    for (const ScannedChord& chord : dialog.chords) names += " " + std::string(chord.identity.Mid(22).View());
    offered.push_back(names);
    return IDOK;
  });
  g_fileVersion = 3400;
  UpdatedView();

  EXPECT_EQ(first->GetTuning(), kStandard);
  EXPECT_EQ(second->GetTuning(), kDropD);
  EXPECT_EQ(third->GetTuning(), kDropD);
  EXPECT_EQ(offered, (std::vector<std::string>{kStandard.Str() + ": fancy", kDropD.Str() + ": odd other"}));
  EXPECT_EQ(ui_.CountOf(7072), 1);
}

TEST_F(OldScoreChordScan, ANewerScoreKeepsItsChordLinesOwnTuningsWithoutWarning) {
  TabLine(kStandard);
  KChordPicLine* first = ChordLine("Cfancy", "0913210" + kTail);
  TabLine(kDropD);
  KChordPicLine* second = ChordLine("Dodd", "0000232" + kTail);
  int dialogs = 0;
  ui_.AnswerDialog(KDlgScannedChords::kTemplateId, [&](KModalDialog&) {
    ++dialogs;
    return IDOK;
  });
  g_fileVersion = 3608;
  UpdatedView();
  EXPECT_EQ(first->GetTuning(), second->GetTuning());
  EXPECT_EQ(dialogs, 1);
  EXPECT_EQ(ui_.CountOf(7072), 0);
}

}  // namespace
