// A settings file is outside input: whatever numbers it holds (damaged, or
// edited by hand), the program starts, paints a score of every line kind and
// every attachment kind, and prints it to PDF, sheet by sheet as it paginates.

#include <QApplication>
#include <climits>
#include <filesystem>
#include <string>
#include <vector>

#include "ShellTestSupport.h"
#include "doc/CStavlinDoc.h"
#include "platform/PrintJob.h"
#include "platform/Registry.h"
#include "platform/qt/KQtPrinting.h"
#include "reliability/SampleScores.h"
#include "view/CStavlinView.h"
#include "view/commands/CommandIds.h"

namespace {

struct HostileSettings {
  const char* name;
  // Group name and text, as the settings file holds them.
  std::vector<std::pair<std::string, std::string>> groups;
};

void PrintTo(const HostileSettings& settings, std::ostream* out) { *out << settings.name; }

// 40 copies of a number: more than any group holds.
std::string AllOf(long long number) {
  std::string text;
  for (int i = 0; i < 40; ++i) text += (i > 0 ? "," : "") + std::to_string(number);
  return text;
}

// Every group of numbers, each holding only the number.
std::vector<std::pair<std::string, std::string>> EveryNumberGroup(long long number) {
  std::vector<std::pair<std::string, std::string>> groups;
  for (const char* group :
       {"StavlinXYSizeXYPos", "DocOptions", "PgMargins", "PgOptions", "PgNum", "PrintCorr", "PrintCorr2",
        "EntryOptions", "ToolViewOptions", "ToolBoxPos", "DocViewOptions", "AutoSave", "TabOptions",
        "StaffLines", "StaffLines2", "StaffLines3", "Chords", "Chords2", "Scrolling", "TextFiles", "Exporting",
        "Translation", "TransAltTun", "Transpose", "Midi", "MidiEffects", "AutoFormat", "MidiImport",
        "MidiInput", "MidiInstruments", "PrinterParams"})
    groups.emplace_back(group, AllOf(number));
  return groups;
}

// Every font of the preferences with the height and width of the number.
std::vector<std::pair<std::string, std::string>> EveryFont(long long number) {
  const std::string n = std::to_string(number);
  std::vector<std::pair<std::string, std::string>> groups;
  for (const char* group : {"PgNumFont", "TabFont", "ExtTextFont", "2ndExtTextFont", "2ndBracketTextFont",
                            "TripletFont", "TextFont", "ChordNameFont", "RhythmFont"})
    groups.emplace_back(group, n + "," + n + ",0,0," + n + ",0,0,0,0,3,2,1,34,Arial");
  return groups;
}

const HostileSettings kHostileSettings[] = {
    {"AClippingCodeAsLargeAsAnIntHolds", {{"PrintCorr", "100,100,2147483647,2,2,0"}}},
    {"AClippingCodeAsSmallAsAnIntHolds", {{"PrintCorr", "100,100,-2147483648,2,2,0"}}},
    {"AClippingCodeOfThreeDigits", {{"PrintCorr", "100,100,999,2,2,0"}}},
    {"EveryNumberTheLargestAnIntHolds", EveryNumberGroup(INT_MAX)},
    {"EveryNumberTheSmallestAnIntHolds", EveryNumberGroup(INT_MIN)},
    {"EveryNumberZero", EveryNumberGroup(0)},
    {"EveryNumberMinusOne", EveryNumberGroup(-1)},
    {"EveryFontAsLargeAsAnIntHolds", EveryFont(INT_MAX)},
    {"EveryFontAsSmallAsAnIntHolds", EveryFont(INT_MIN)},
};

class HostileSettingsFile : public ShellTest, public ::testing::WithParamInterface<HostileSettings> {
 protected:
  // A score holding every line kind (tablature with fret numbers, rhythm
  // symbols, chord diagrams, text) and one of every attachment kind.
  std::string WriteEveryKindScore() {
    const std::string path = (Dir() / "every kind.svd").string();
    CStavlinDoc doc;
    for (const SampleScore& sample : SampleScores()) {
      const std::string name = sample.name;
      if (name == "EveryLineKind" || name == "EveryAttachmentKind") sample.fill(doc);
    }
    EXPECT_TRUE(doc.OnSaveDocument(path.c_str()));
    return path;
  }
};

TEST_P(HostileSettingsFile, StartsPaintsAScoreOfEveryKindAndPrintsIt) {
  const std::string path = WriteEveryKindScore();
  for (const auto& [group, text] : GetParam().groups)
    RegSetValue(HKEY_CURRENT_USER, ("Software\\Stavlin\\" + group).c_str(), REG_SZ, text.c_str(), 0);
  ASSERT_TRUE(Start());
  KViewWidget* pane = nullptr;
  ASSERT_NE(OpenFocused(path, pane), nullptr);
  ASSERT_NE(pane, nullptr);
  // Painted on the screen, top to bottom.
  CStavlinView& view = pane->View();
  EXPECT_GT(view.GetDisplayLineCount(), 10);
  const QImage picture = pane->viewport()->grab().toImage();
  EXPECT_FALSE(picture.isNull());
  // Paginated and printed, every sheet.
  const int sheets = view.m_pageCount;
  EXPECT_GE(sheets, 1);
  const std::string pdf = (Dir() / "every kind.pdf").string();
  int painted = 0;
  ui_.AnswerPrint([&](KPrintJob& job, KPrintKind) {
    painted = qt_printing::PrintToPdf(job, QString::fromStdString(pdf));
    return painted > 0;
  });
  Trigger(cmd::kFilePrint);
  EXPECT_EQ(painted, view.m_pageCount);
  EXPECT_TRUE(std::filesystem::exists(pdf));
}

INSTANTIATE_TEST_SUITE_P(Settings, HostileSettingsFile, ::testing::ValuesIn(kHostileSettings),
                         [](const ::testing::TestParamInfo<HostileSettings>& info) { return info.param.name; });

}  // namespace
