#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "DocTestSupport.h"
#include "common/AppServices.h"
#include "common/FontCodec.h"
#include "doc/CStavlinDoc.h"
#include "doc/CStavlinDocGlobals.h"
#include "doc/pref_values/Preferences.h"
#include "model/DocServices.h"

namespace {

using CStavlinDocTest = DocTest;

class KRecordingView : public KDocumentView {
 public:
  void OnUpdate(KDocumentView*, int hint) override { hints.push_back(hint); }
  void SetChangedFlag() override { ++changedCalls; }

  std::vector<int> hints;
  int changedCalls = 0;
};

LOGFONT FontOf(const char* text) {
  LOGFONT font;
  StringToLogFont(text, font);
  return font;
}

TEST_F(CStavlinDocTest, ConstructionTakesThePreferencesAndSetsTheirProgramWideCopies) {
  g_prefStaffLines2.tabLineSpacing = 15;
  g_prefRhythmFont = "9,0,0,0,400,0,0,0,0,3,2,1,18,Arial";
  g_docFileName = "old.svd";

  CStavlinDoc doc;
  EXPECT_EQ(doc.fileName, "- Not yet saved -");
  EXPECT_EQ(g_docFileName, "- Not yet saved -");
  EXPECT_EQ(doc.writerVersion, "3.94.0.2");
  EXPECT_EQ(g_tabStringSpacing, 15);
  EXPECT_EQ(TabStringSpacing(1), 15 * 11 / 8);
  EXPECT_EQ(g_rhythmFont, g_prefRhythmFont);
  EXPECT_EQ(doc.settings.tabSpacing, 15 * 10 + 1);
  EXPECT_FALSE(doc.IsModified());
}

TEST_F(CStavlinDocTest, SetSettingsMarksOnlyWhenAsked) {
  CStavlinDoc doc;
  ScoreSettings record;
  doc.GetSettings(record);
  record.midiTempo = 77;

  EXPECT_FALSE(doc.SetSettings(record, FALSE));
  EXPECT_EQ(doc.settings.midiTempo, 77);
  EXPECT_FALSE(doc.IsModified());
  EXPECT_EQ(doc.settingsModified, 0);

  record.readOnly = 1;
  EXPECT_TRUE(doc.SetSettings(record, TRUE));
  EXPECT_EQ(doc.settings.readOnly, 1);
  EXPECT_TRUE(doc.IsModified());
  EXPECT_EQ(doc.settingsModified, 1);
  EXPECT_EQ(doc.contentModified, 0) << "a settings change is not a content change";
}

TEST_F(CStavlinDocTest, ModifiedFlagReachesTheViewsOnlyWhenSet) {
  CStavlinDoc doc;
  KRecordingView first;
  KRecordingView second;
  doc.AddView(&first);
  doc.AddView(&second);
  doc.AddView(&first);

  doc.SetModifiedFlag(TRUE);
  EXPECT_TRUE(doc.IsModified());
  EXPECT_EQ(doc.contentModified, 1);
  EXPECT_EQ(doc.editedSinceSave, 1);
  EXPECT_EQ(g_scoreChanged, 1);
  EXPECT_EQ(first.changedCalls, 1);
  EXPECT_EQ(second.changedCalls, 1);

  doc.SetModifiedFlag(FALSE);
  EXPECT_FALSE(doc.IsModified());
  EXPECT_EQ(doc.contentModified, 0);
  EXPECT_EQ(doc.editedSinceSave, 0);
  EXPECT_EQ(g_scoreChanged, 0);
  EXPECT_EQ(first.changedCalls, 1);

  doc.UpdateAllViews(&first, 300000000);
  EXPECT_TRUE(first.hints.empty());
  EXPECT_EQ(second.hints, std::vector<int>{300000000});
  doc.RemoveView(&second);
  doc.UpdateAllViews(nullptr, 1);
  EXPECT_EQ(first.hints, std::vector<int>{1});
  EXPECT_EQ(second.hints.size(), 1u);
}

TEST_F(CStavlinDocTest, CountFontUseCountsTextLinesByFontNumber) {
  CStavlinDoc doc;
  std::array<int, CStavlinDoc::kFontArraySize> counts{};
  counts.fill(-1);
  int used = -1;
  doc.CountFontUse(counts, &used);
  EXPECT_EQ(used, 0);
  EXPECT_EQ(counts[0], 16000);
  EXPECT_EQ(counts[1], 0);

  // Staff lines and text lines of the default font use no table font; a font
  // number beyond the table names none.
  doc.lines.AddTail(new KDocTestLine(5, 3, "a"));
  doc.lines.AddTail(new KDocTestLine(5, 3, "b"));
  doc.lines.AddTail(new KDocTestLine(5, 40, "c"));
  doc.lines.AddTail(new KDocTestLine(5, 0, "d"));
  doc.lines.AddTail(new KDocTestLine(0, 7, "staff"));
  doc.lines.AddTail(new KDocTestLine(5, 41, "e"));
  doc.CountFontUse(counts, &used);
  EXPECT_EQ(used, 2);
  EXPECT_EQ(counts[3], 2);
  EXPECT_EQ(counts[40], 1);
  EXPECT_EQ(counts[7], 0);
  EXPECT_EQ(doc.fontUseCounts[2], 2);
  EXPECT_EQ(doc.fontsInUse, 2);
}

TEST_F(CStavlinDocTest, FontTableGoesInAndOutByFontNumber) {
  CStavlinDoc doc;
  std::array<LOGFONT, CStavlinDoc::kFontArraySize> fonts{};
  fonts[1] = FontOf("20,0,0,0,700,0,0,0,0,3,2,1,34,Arial");
  fonts[40] = FontOf("30,0,255,0,400,0,0,0,0,3,2,1,18,Times New Roman");
  doc.SetFontTable(2, fonts);
  EXPECT_EQ(doc.fontsInUse, 2);

  std::array<int, CStavlinDoc::kFontArraySize> counts{};
  counts[1] = 4;
  counts[40] = 1;
  counts[12] = 0;
  doc.SetFontUseCounts(counts);
  EXPECT_EQ(doc.fontsInUse, 2);

  std::array<LOGFONT, CStavlinDoc::kFontArraySize> out{};
  std::array<int, CStavlinDoc::kFontArraySize> outCounts{};
  EXPECT_EQ(doc.GetFontTable(out, outCounts), 2);
  EXPECT_TRUE(SameLogFont(out[1], fonts[1]));
  EXPECT_TRUE(SameLogFont(out[40], fonts[40]));
  EXPECT_EQ(outCounts[1], 4);
  EXPECT_EQ(outCounts[40], 1);
}

TEST_F(CStavlinDocTest, NewScoreHoldsOneTextLineAndNoGroups) {
  CStavlinDoc doc;
  doc.lines.AddTail(new KDocTestLine(0, 0, "old"));
  doc.lineGroups.AddTail(new KLineGroup(1, 0, 0));
  doc.SetModifiedFlag(TRUE);
  g_fileVersion = 25;
  // Left from opening a score whose path asked for its groups undone.
  g_undoLineGroupsRequested = 1;

  ASSERT_TRUE(doc.OnNewDocument());
  EXPECT_EQ(LineSummary(doc), std::vector<std::string>{"5/0/"});
  EXPECT_TRUE(doc.lineGroups.IsEmpty());
  EXPECT_TRUE(ui_.Messages().empty()) << "a new score asks nothing";
  EXPECT_EQ(g_fileVersion, 3940);
  EXPECT_FALSE(doc.IsModified());
}

TEST_F(CStavlinDocTest, TheDocumentOwnsItsLinesAndGroups) {
  // The sanitizers report any object left behind.
  CStavlinDoc doc;
  doc.lineGroups.AddTail(new KLineGroup(1, 0, 0));
  doc.lines.AddTail(new KDocTestLine(5, 1, "x"));
  auto groupsOnly = std::make_unique<CStavlinDoc>();
  groupsOnly->lineGroups.AddTail(new KLineGroup(2, 0, 0));
  groupsOnly.reset();
  doc.DeleteContents();
  EXPECT_TRUE(doc.lines.IsEmpty());
  EXPECT_TRUE(doc.lineGroups.IsEmpty());
}

}  // namespace
