#include <gtest/gtest.h>

#include <string>

#include "DocTestSupport.h"
#include "common/ViewServices.h"
#include "doc/CStavlinDocGlobals.h"
#include "doc/ScoreSettings.h"
#include "doc/pref_values/Preferences.h"

namespace {

using ScoreSettingsDefaults = DocTest;

TEST_F(ScoreSettingsDefaults, NewScoreTakesThePreferences) {
  g_prefNewDocWnd = {640, 480, 12, 34};
  g_prefScrolling = {5, 80, 1, 0, 1};
  g_prefStaffLines.allFixedLength = 0;
  g_prefToolViewOptions = {1, 0, 1, 0};
  g_prefAutoSave.undoEnabled = 1;
  g_prefStaffLines3.autoWrap = 1;
  g_prefStaffLines3.rewrapBelow = 0;
  g_prefChords.variationNumbering = 0;
  g_prefTabOptions.showTabWord = 1;
  g_prefTabOptions.altTuningPitches = 0;
  g_prefTabOptions.fretFromPrevious = 1;
  g_prefStaffLines2.tabLineSpacing = 14;
  g_prefPrintCorr.tabDigitOffset = -3;
  g_prefDocViewOptions.barNumbering = 1;
  g_lineGap = 9;
  g_prefMidiInstruments.treble = 25;
  g_prefMidiInstruments.bassTab = 250;
  g_prefMidi.loudness = 7;
  g_prefLabelledTabTuning = "D A D G A D  303742475054!@!Dadgad";
  g_prefStaffLines2.spaceAboveTab = 30;
  g_defaultEffects = 0x0FFE0001;

  const ScoreSettings s;
  EXPECT_EQ(s.windowX, 12);
  EXPECT_EQ(s.windowY, 34);
  EXPECT_EQ(s.windowWidth, 640);
  EXPECT_EQ(s.windowHeight, 480);
  EXPECT_EQ(s.scrollDelay, 80);
  EXPECT_EQ(s.scrollLines, 105);
  EXPECT_EQ(s.fixedLineLength, 0);
  EXPECT_EQ(s.lineSpacing, 9);
  EXPECT_EQ(s.barFlags, 0b0101);
  EXPECT_EQ(s.editFlags, 0b1011010);
  EXPECT_EQ(s.tabDigitPlacement, 71);
  EXPECT_EQ(s.tabSpacing, 141);
  EXPECT_EQ(s.tabTuningFull, "D A D G A D  303742475054!@!Dadgad");
  EXPECT_EQ(s.staffValue11, 30);
  EXPECT_EQ(s.midiEffects, 0x0FFE0001u);
  EXPECT_EQ(s.extTextAndTripletFonts, g_prefExtTextFont + "!@!" + g_prefTripletFont);
  EXPECT_EQ(s.chordAndRhythmFonts, g_prefChordNameFont + "!@!" + g_prefRhythmFont);
  EXPECT_EQ(s.showLineType[ScoreSettings::kPackedShowFlags], 255);
  EXPECT_EQ(s.showLineType[16], 1);
  EXPECT_EQ(s.word70, 10000);
  EXPECT_EQ(s.midiLevel, 127);

  // Program, volume and name of each unlabelled line kind; a program beyond
  // 199 has no number label.
  ASSERT_EQ(s.instrumentCount, ScoreSettings::kFixedInstruments);
  EXPECT_EQ(s.instrumentTable[0], " 25  7UL Treble");
  EXPECT_EQ(s.instrumentTable[3], "130  7UL Percussion");
  EXPECT_EQ(s.instrumentTable[6], "     7UL Bass Tab");
  EXPECT_TRUE(s.instrumentTable[7].IsEmpty());
}

TEST_F(ScoreSettingsDefaults, ChordDiagramScaleKeepsBitsAboveEightInFlags) {
  struct Case {
    int width, height, show;
    WORD scale;
    BYTE flags;
  };
  const Case cases[] = {
      {100, 100, 1, 0x6464, 0x01},
      {300, 100, 0, 44 * 256 + 100, 0x02},  // 300 = 0x12C
      {250, 511, 1, 250 * 256 + 255, 0x11},
      {1800, 1024, 0, 8 * 256 + 0, 0x4E},  // 0x708: bits 8-10 are 7; 0x400: 4
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.width);
    g_prefChords2.diagramWidth = c.width;
    g_prefChords2.diagramHeight = c.height;
    g_prefChords.showDiagrams = c.show;
    const ScoreSettings s;
    EXPECT_EQ(s.diagramScale, c.scale);
    EXPECT_EQ(s.flags48, c.flags);
  }
}

TEST_F(ScoreSettingsDefaults, AutosaveModeGivesTheScoresCountingKind) {
  struct Case {
    int mode, interval;
    BYTE kind, amount;
  };
  const Case cases[] = {
      {0, 40, 1, 40},    // characters typed
      {1, 15, 0, 30},    // minutes count 30-second timer ticks
      {1, 200, 0, 255},  // more than a byte holds
      {2, 40, 0, 0},     // never
      {3, 40, 10, 40},   // ask for each new file
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    g_prefAutoSave.mode = c.mode;
    g_prefAutoSave.interval = c.interval;
    const ScoreSettings s;
    EXPECT_EQ(s.autosaveKind, c.kind);
    EXPECT_EQ(s.autosaveAmount, c.amount);
  }
}

TEST_F(ScoreSettingsDefaults, AdTabModeLastChosenAndTabStems) {
  const BYTE codes[4] = {0, 2, 6, 4};
  for (int mode = 0; mode < 4; ++mode) {
    for (int stems = 0; stems < 2; ++stems) {
      g_adTabMode = mode;
      g_prefTabOptions.stemsOnTab = stems;
      EXPECT_EQ(ScoreSettings().adTabMode, codes[mode] + stems) << mode << "/" << stems;
    }
  }
}

}  // namespace
