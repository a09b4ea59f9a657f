#include "common/FontCodec.h"
#include "common/Globals.h"
#include "common/RecentChords.h"
#include "common/SharedGdiObjects.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Tables, PitchNamesByPitchNumber) {
  const std::pair<int, const char*> cases[] = {{32, "E "},  {37, "A "},  {59, "G "},   {20, "E "},
                                               {-24, "Ab"}, {-25, "G "}, {-100, "E "}, {1000, "C "}};
  for (const auto& [pitch, name] : cases) EXPECT_EQ(std::string(PitchNameOf(pitch).View()), name) << pitch;
}

TEST(Tables, InstrumentNamesByNumber) {
  EXPECT_EQ(g_GmInstrumentNames[1 - 1], "Ac. Piano");
  EXPECT_EQ(g_GmInstrumentNames[25 - 1], "Ac. Guitar (nylon)");
  EXPECT_EQ(g_GmInstrumentNames[88 - 1], "Lead 8 (bass + lead)");
  EXPECT_EQ(g_GmInstrumentNames[128 - 1], "Gunshot");
  EXPECT_EQ(g_GmInstrumentNames[129 - 1], "Silence");
  EXPECT_EQ(g_GmInstrumentNames[130 - 1], "Percussion");
}

TEST(Tables, TwoDigitCellsAndNoteNameCells) {
  ASSERT_EQ(g_TwoDigitBlank.GetLength(), 200);
  ASSERT_EQ(g_TwoDigitZero.GetLength(), 200);
  EXPECT_EQ(g_TwoDigitBlank.Mid(2 * 7, 2), " 7");
  EXPECT_EQ(g_TwoDigitZero.Mid(2 * 7, 2), "07");
  EXPECT_EQ(g_TwoDigitBlank.Mid(2 * 42, 2), "42");
  EXPECT_EQ(g_TwoDigitZero.Mid(2 * 99, 2), "99");
  EXPECT_EQ(g_NoteNamesSharp.GetLength(), 24);
  EXPECT_EQ(g_NoteNamesFlat.GetLength(), 24);
  EXPECT_EQ(g_NoteNamesAll.GetLength(), 34);
  EXPECT_EQ(g_RhythmSymbolLetters.GetLength(), 32);
  EXPECT_EQ(g_RhythmSymbolLetters.Left(3), "|\"I");
  EXPECT_EQ(g_NoteNamesSharp.Find("E "), 14);
  EXPECT_EQ(g_NoteNamesFlat.Find("Bb"), 4);
}

TEST(Tables, BuiltInTuningsAndMarkers) {
  EXPECT_EQ(g_TuningGuitar7, g_TuningGuitar + "/");
  EXPECT_EQ(g_TuningGuitar8, g_TuningGuitar + "/*");
  EXPECT_EQ(g_TuningBass7, g_TuningBass6 + "2");
  EXPECT_EQ(g_DefaultTrebleTuning, g_TuningGuitar);
  EXPECT_EQ(g_DefaultBassTuning, g_TuningBass4);
  EXPECT_EQ(g_TuningDiatonic.Find(g_FretListMarker), 25);
  EXPECT_EQ(g_ChordPicMarker.Find(g_FretListMarker), -1);
}

TEST(Tables, SizeIndexedMetrics) {
  EXPECT_EQ(g_SizeStep[0] * 5, 50);  // staff height at normal size
  EXPECT_EQ(g_NoteColumnWidth[1], 22);
  EXPECT_EQ(g_StaffStep[0] * 2, g_StaffLineSpacing[0]);
  EXPECT_EQ(g_StaffStep[1] * 2, g_StaffLineSpacing[1]);
  EXPECT_FLOAT_EQ(g_Ratio23_14, 23.0f / 14.0f);
}

TEST(Globals, ResetRestoresStartValues) {
  g_CurrentTuning = g_TuningBass4;
  g_CurrentNoteCode = 3;
  g_FileVersionText = "3.90.0.0";
  g_MessageText = "old message";
  g_UnlabelledLineNames[2] = "UL Tab";
  g_MidiOutDevice = 5;
  g_HalfFretLabels = 1;
  g_ReportedOnce = 0xFF;
  ChordRecord chord{"C", "C", "maj", "", 0, 0, 0, 1};
  RememberRecentChord(chord, false);

  ResetCommonGlobals();
  EXPECT_EQ(g_CurrentTuning, "E A D G B E  323742475156");
  EXPECT_EQ(g_CurrentNoteCode, 8);
  EXPECT_EQ(g_FileVersionText, "3.94.0.2");
  EXPECT_TRUE(g_MessageText.IsEmpty());
  EXPECT_TRUE(g_UnlabelledLineNames[2].IsEmpty());
  EXPECT_EQ(g_MidiOutDevice, 2);
  EXPECT_EQ(g_HalfFretLabels, 0);
  EXPECT_EQ(g_ReportedOnce, 0u);
  EXPECT_EQ(g_RecentChordCount, 0);
}

TEST(Globals, SharedDrawingObjectsAreDeletedTogether) {
  LOGFONT font;
  StringToLogFont("16,0,0,0,700,0,0,0,0,3,2,1,34,Arial", font);
  for (CFont* shared : {&g_FallbackFonts[0], &g_FallbackFonts[1], &g_DiagramFont, &g_LabelFont}) {
    ASSERT_TRUE(shared->CreateFontIndirect(&font));
  }
  ASSERT_TRUE(g_SharedPen.CreatePen(PS_SOLID, 1, RGB(0, 0, 0)));
  DeleteSharedGdiObjects();
  for (const CGdiObject* shared : std::initializer_list<const CGdiObject*>{
           &g_FallbackFonts[0], &g_FallbackFonts[1], &g_DiagramFont, &g_LabelFont, &g_SharedPen}) {
    EXPECT_EQ(shared->GetSafeHandle(), nullptr);
  }
}

}  // namespace
