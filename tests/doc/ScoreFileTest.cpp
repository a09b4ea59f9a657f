// The document part of the score file: storing and loading, the conversions
// of older format versions, and the block of extension numbers.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "DocTestSupport.h"
#include "common/AppServices.h"
#include "common/FontCodec.h"
#include "common/Globals.h"
#include "doc/CStavlinDoc.h"
#include "doc/CStavlinDocGlobals.h"
#include "doc/pref_values/Preferences.h"
#include "lines/KChordPicLineDefaults.h"
#include "lines/KChordPicLineServices.h"
#include "model/DocServices.h"
#include "model/ModelGlobals.h"

namespace {

using ScoreFile = DocTest;

constexpr const char* kArial20 = "20,0,0,0,700,0,0,0,0,3,2,1,34,Arial";
constexpr const char* kRedTimes = "24,0,255,0,400,1,0,0,0,3,2,1,18,Times New Roman";

LOGFONT FontOf(const char* text) {
  LOGFONT font;
  StringToLogFont(text, font);
  return font;
}

// A record with a value of its own in every stored field, each one a value
// that loading keeps as it is.
ScoreSettings DistinctSettings() {
  ScoreSettings s;
  s.windowX = 11;
  s.windowY = -12;
  s.windowWidth = 1300;
  s.windowHeight = 900;
  s.scrollDelay = 15;
  s.fixedLineLength = 650;
  s.firstPageNumber = 3;
  s.diagramScale = 0x7850;
  s.word9 = -9;
  s.largeSymbols = 1;
  s.scrollLines = 104;
  s.lineSpacing = 12;
  s.autosaveAmount = 20;
  s.autosaveKind = 10;
  s.byte15 = 15;
  s.lineLabelMode = 1;
  s.adTabMode = 7;
  s.tabDigitPlacement = 131;
  s.readOnly = 1;
  s.repeatScrolling = 0;
  s.scrollSound = 1;
  for (int i = 0; i < ScoreSettings::kLineTypeCount; ++i) s.showLineType[i] = static_cast<BYTE>(i % 2);
  s.showLineType[6] = 66;
  s.showLineType[ScoreSettings::kShowAll] = 1;
  s.byte39 = 0;
  s.flags48 = 0x35;
  s.arrowKeysWithinStaff = 1;
  s.arrowCursor = 1;
  s.keyChangesCursor = 1;
  s.barFlags = 9;
  s.makeBackups = 1;
  s.editFlags = 0x55;
  s.byte47 = 47;
  s.byte48 = 48;
  s.printOrientation = 1;
  s.byte51 = 51;
  s.tabTuning = "D A D G A D  303742475054";
  s.tabTuningFull = "D A D G A D  303742475054!@!Dadgad";
  s.bassTabTuning = "  D A D G   *002025303500";
  s.pageNumberingText = "Suite in D";
  s.showVariationNumbers = 1;
  s.printScale = 85;
  s.marginUnit = 1;
  s.marginTop = 21;
  s.marginBottom = 22;
  s.marginLeft = 23;
  s.marginRight = 24;
  s.showPageBreaks = 1;
  s.pageXofY = 1;
  s.pageNumberText = 2;
  s.pageNumberVertical = 1;
  s.pageNumberHorizontal = 3;
  s.keepGroupsTogether = 1;
  s.alertLargerThanPage = 0;
  s.word70 = 70;
  s.word71 = 71;
  s.word72 = 72;
  s.word73 = 73;
  s.word74 = 74;
  s.word75 = -75;
  s.midiTempo = 144;
  s.midiLevel = 140;
  s.midiBetweenMarks = 1;
  s.midiLoop = 1;
  s.midiIgnoreRepeats = 1;
  s.midiShowCaret = 1;
  s.instrumentTable[7] = " 25100Guitar";
  s.instrumentTable[8] = " 74 90Flute";
  s.instrumentCount = 9;
  s.word83 = 83;
  s.word84 = 84;
  s.tabSpacing = 151;
  s.byte86 = 86;
  s.text88 = "eighty-eight";
  s.pageNumberFont = "10,0,0,0,400,0,0,0,0,0,0,0,25,Arial";
  s.textFont = "18,0,0,0,400,0,0,0,0,3,2,1,18,Times New Roman";
  s.extTextFont = "11,0,0,0,700,0,0,0,0,3,2,1,18,Times New Roman";
  s.tripletFont = "12,0,0,0,700,0,0,0,0,3,2,1,18,Times New Roman";
  s.extTextAndTripletFonts = s.extTextFont + "!@!" + s.tripletFont;
  s.tabFont = "14,0,0,0,700,0,0,0,0,3,2,1,34,Arial";
  s.chordNameFont = "17,0,0,0,700,0,0,0,0,3,2,1,34,Arial";
  s.rhythmFont = "13,0,0,0,700,0,0,0,0,3,2,1,25,Courier New";
  s.word98 = 98;
  s.staffValue8 = 8;
  s.staffValue9 = 9;
  s.staffValue10 = 10;
  s.staffValue11 = 11;
  s.staffValue12 = 12;
  s.midiEffects = 0x0FFE1234;
  s.dword105 = 105;
  s.dword106 = 106;
  return s;
}

// A document with settings, lines (two of them text lines with table fonts)
// and line groups.
void FillDocument(CStavlinDoc& doc) {
  doc.settings = DistinctSettings();
  doc.lines.AddTail(new KDocTestLine(5, 1, "Title"));
  doc.lines.AddTail(new KDocTestLine(2, 0, "tab", 1));
  doc.lines.AddTail(new KDocTestLine(5, 40, "words"));
  doc.lines.AddTail(new KDocTestLine(5, 1, "more words"));
  doc.lineGroups.AddTail(new KLineGroup(1, 0, 0));
  doc.lineGroups.AddTail(new KLineGroup(2, 0, 0));
  doc.textFonts[0] = FontOf(kArial20);
  doc.textFonts[39] = FontOf(kRedTimes);
}

TEST_F(ScoreFile, StoredScoreReadsBackAndStoresTheSameBytes) {
  CStavlinDoc doc;
  FillDocument(doc);
  const std::vector<BYTE> first = StoreDocument(doc);
  EXPECT_EQ(doc.fontsInUse, 2);
  EXPECT_EQ(doc.writerVersion, "3.94.0.2");

  CStavlinDoc loaded;
  ASSERT_TRUE(LoadDocument(loaded, first));

  // Not stored: word98 and byte39. The flags of line types 9 to 16 come back
  // as their bit in the packed byte, not as 1.
  ScoreSettings expected = doc.settings;
  expected.word98 = 0;
  expected.byte39 = 1;
  const BYTE masks[] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x01, 0x02};
  for (int i = 9; i < ScoreSettings::kLineTypeCount; ++i)
    expected.showLineType[i] = doc.settings.showLineType[i] ? masks[i] : 0;
  EXPECT_EQ(DumpSettings(loaded.settings), DumpSettings(expected));

  EXPECT_EQ(LineSummary(loaded), LineSummary(doc));
  EXPECT_EQ(loaded.lineGroups.GetCount(), 2);
  EXPECT_EQ(loaded.fontsInUse, 2);
  EXPECT_EQ(loaded.fontUseCounts[0], 2);
  EXPECT_EQ(loaded.fontUseCounts[39], 1);
  EXPECT_TRUE(SameLogFont(loaded.textFonts[0], FontOf(kArial20)));
  EXPECT_TRUE(SameLogFont(loaded.textFonts[39], FontOf(kRedTimes)));
  // A font no line uses becomes the score's text font.
  EXPECT_TRUE(SameLogFont(loaded.textFonts[5], FontOf(expected.textFont)));
  // Colour from a line and from the red font.
  EXPECT_EQ(loaded.colourFlag, 1);
  EXPECT_EQ(loaded.writerVersion, "3.94.0");
  EXPECT_EQ(g_FileVersionText, "3.94.0");

  EXPECT_EQ(StoreDocument(loaded), first);
}

TEST_F(ScoreFile, ShowFlagsOfLaterLineTypesTravelPackedInElementSeven) {
  struct Case {
    std::vector<int> shown;  // of types 9 to 16
    BYTE packed;
  };
  const Case cases[] = {
      {{}, 0x00},
      {{9, 15}, 0x81},
      {{16}, 0x02},
      {{10, 11, 12, 13, 14}, 0x7C},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.packed);
    CStavlinDoc doc;
    for (int i = 9; i <= 16; ++i) doc.settings.showLineType[i] = 0;
    for (int type : c.shown) doc.settings.showLineType[type] = 1;
    const std::vector<BYTE> bytes = StoreDocument(doc);
    // Header 13 bytes, 9 words, 12 bytes, then element 7 of the show flags.
    EXPECT_EQ(bytes[13 + 18 + 12 + 7], c.packed);

    CStavlinDoc loaded;
    ASSERT_TRUE(LoadDocument(loaded, bytes));
    for (int i = 9; i <= 16; ++i) {
      const bool shown = std::find(c.shown.begin(), c.shown.end(), i) != c.shown.end();
      EXPECT_EQ(loaded.settings.showLineType[i] != 0, shown) << i;
    }
  }
}

TEST_F(ScoreFile, ScoreWithoutTableFontsLeavesTheFontTableAsItWas) {
  CStavlinDoc doc;
  doc.lines.AddTail(new KDocTestLine(5, 0, "default font"));
  const std::vector<BYTE> bytes = StoreDocument(doc);

  CStavlinDoc loaded;
  loaded.textFonts[3] = FontOf(kArial20);
  loaded.fontUseCounts[3] = 2;
  ASSERT_TRUE(LoadDocument(loaded, bytes));
  EXPECT_EQ(loaded.fontsInUse, 0);
  EXPECT_TRUE(SameLogFont(loaded.textFonts[3], FontOf(kArial20)));
  EXPECT_EQ(loaded.fontUseCounts[3], 0);
  EXPECT_EQ(LineSummary(loaded), std::vector<std::string>{"5/0/default font"});
}

// ---- Older versions ------------------------------------------------------------------

struct VersionCase {
  const char* name;
  long long version;
  std::function<void(KHandBuiltScore&)> build;
  std::function<void(const CStavlinDoc&)> check;
};

TEST_F(ScoreFile, OlderVersionsAreConverted) {
  // Preferences that new-score defaults come from, told apart from the file's values.
  const auto setPreferences = [] {
    g_prefPgOptions.printSize = 150;
    g_prefMidi.tempo = 133;
    g_prefMidi.showCaret = 0;
    g_prefAutoSave.undoEnabled = 1;
    g_prefChordNameFont = "15,0,0,0,700,0,0,0,0,3,2,1,18,Times New Roman";
    g_prefPgNumFont = "9,0,0,0,400,0,0,0,0,0,0,0,25,Arial";
    g_prefTextFont = "21,0,0,0,400,0,0,0,0,3,2,1,18,Times New Roman";
    g_prefExtTextFont = "13,0,0,0,700,0,0,0,0,3,2,1,18,Arial";
    g_prefTripletFont = "14,0,0,0,700,0,0,0,0,3,2,1,18,Arial";
    g_prefStaffLines2.tabLineSpacing = 13;
    g_prefTabOptions.fretFromPrevious = 0;
    g_defaultEffects = 0x0FFE4321;
  };
  const CString fixedTreble = "  1100UL Treble";  // from the preferences at their start values
  const LOGFONT bold = FontOf(kArial20);
  const LOGFONT red = FontOf(kRedTimes);

  const VersionCase cases[] = {
      {"before 21: page, playback and later fields take the new-score values", 20,
       [](KHandBuiltScore& f) {
         f.tuning = "S";
         f.bassTuning = "S";
         f.bytes1[6] = 2;  // line labels on the first lines only
         f.bytes2[10] = 5;
       },
       [&](const CStavlinDoc& d) {
         const ScoreSettings& s = d.settings;
         EXPECT_EQ(s.tabTuning, "E A D G B E  323742475156");
         EXPECT_EQ(s.bassTabTuning, "  E A D G   *002025303500");
         EXPECT_EQ(s.lineLabelMode, 1);
         EXPECT_EQ(s.byte50, 0);
         EXPECT_EQ(s.printScale, 150);
         EXPECT_EQ(s.midiTempo, 133);
         EXPECT_EQ(s.midiLevel, 127);
         EXPECT_EQ(s.word70, 10000);
         EXPECT_EQ(s.word72, 30000);
         EXPECT_EQ(s.instrumentCount, 7);
         EXPECT_EQ(s.instrumentTable[0], fixedTreble);
         EXPECT_EQ(s.chordNameFont, g_prefChordNameFont);
         EXPECT_EQ(s.pageNumberFont, g_prefPgNumFont);
         EXPECT_EQ(s.textFont, g_prefTextFont);
         EXPECT_EQ(s.extTextAndTripletFonts, g_prefExtTextFont + "!@!" + g_prefTripletFont);
         EXPECT_EQ(s.tabFont, "12,0,0,0,700,0,0,0,0,3,2,1,34,Arial");
         EXPECT_EQ(s.midiShowCaret, 0x40);  // undo was on
         EXPECT_EQ(g_tabStringSpacing, 13);
         EXPECT_EQ(s.midiEffects, 0x0FFE4321u);
         EXPECT_EQ(NewLineSpacingForTest(), (std::vector<int>{0, 22, 26, 14, 12}));
       }},
      {"21: page and playback fields, level made relative, fixed instruments only", 21,
       [](KHandBuiltScore& f) { f.midiBytes[0] = 10; },
       [&](const CStavlinDoc& d) {
         const ScoreSettings& s = d.settings;
         EXPECT_EQ(s.printScale, 90);
         EXPECT_EQ(s.marginRight, 14);
         EXPECT_EQ(s.pageNumberHorizontal, 3);
         EXPECT_EQ(s.word73, 8);
         EXPECT_EQ(s.word74, 0);
         EXPECT_EQ(s.midiTempo, 96);
         EXPECT_EQ(s.midiLevel, 137);
         EXPECT_EQ(s.instrumentCount, 7);
         EXPECT_EQ(s.instrumentTable[1], " 34100UL Bass") << "the file's entry is not taken before 23";
         EXPECT_EQ(s.word84, 84);
         EXPECT_EQ(s.chordNameFont, g_prefChordNameFont);
         EXPECT_EQ(g_tabStringSpacing, 14);
       }},
      {"22: chord and rhythm fonts split where the first is a whole font text", 22,
       [](KHandBuiltScore& f) { f.text88 = "notes"; },
       [](const CStavlinDoc& d) {
         EXPECT_EQ(d.settings.chordNameFont, "15,0,0,0,700,0,0,0,0,3,2,1,34,Arial");
         EXPECT_EQ(d.settings.rhythmFont, "15,0,0,0,700,0,0,0,0,3,2,1,25,Courier New");
         EXPECT_EQ(d.settings.text88, "notes");
         EXPECT_EQ(d.settings.alertLargerThanPage, 1);
         EXPECT_EQ(g_chordNameFont, "15,0,0,0,700,0,0,0,0,3,2,1,34,Arial");
       }},
      {"22: a pair that does not split gives the built-in chord and rhythm fonts", 22,
       [](KHandBuiltScore& f) { f.chordAndRhythm = "12,0,0,0,700,0!@!12,0,0,0,700,0"; },
       [](const CStavlinDoc& d) {
         EXPECT_EQ(d.settings.chordNameFont, "16,0,0,0,700,0,0,0,0,3,2,1,34,Arial");
         EXPECT_EQ(d.settings.rhythmFont, "14,0,0,0,700,0,0,0,0,3,2,1,25,Courier New");
       }},
      {"23: old names of the fixed entries, later one wins, user names once", 23,
       [](KHandBuiltScore& f) {
         f.instruments = {
             " 40100Melodie unbeschriftet", " 34 90UL Bass", " 25100Guitar", " 33 80Unlabeled Bass",
             "  1127Unlabeled Treble",      " 26 60Guitar",  " 74100Flute",  "130100UB Perkus."};
       },
       [](const CStavlinDoc& d) {
         const ScoreSettings& s = d.settings;
         EXPECT_EQ(s.instrumentTable[0], "  1127UL Treble");
         EXPECT_EQ(s.instrumentTable[1], " 33 80UL Bass");
         EXPECT_EQ(s.instrumentTable[3], "130100UL Percussion");
         EXPECT_EQ(s.instrumentTable[7], " 25100Guitar");
         EXPECT_EQ(s.instrumentTable[8], " 74100Flute");
         EXPECT_EQ(s.instrumentCount, 9);
         EXPECT_EQ(s.pageNumberFont, g_prefPgNumFont);
       }},
      {"24: page-number font", 24, nullptr,
       [](const CStavlinDoc& d) {
         EXPECT_EQ(d.settings.pageNumberFont, "10,0,0,0,400,0,0,0,0,0,0,0,25,Arial");
         EXPECT_EQ(d.settings.word74, 0);
       }},
      {"25: the last two MIDI mark values", 25, nullptr,
       [](const CStavlinDoc& d) {
         EXPECT_EQ(d.settings.word74, 9);
         EXPECT_EQ(d.settings.word75, 10);
         EXPECT_EQ(d.settings.midiShowCaret, 0x40);
       }},
      {"26: show-caret flag", 26, [](KHandBuiltScore& f) { f.midiShowCaret = 5; },
       [](const CStavlinDoc& d) {
         EXPECT_EQ(d.settings.midiShowCaret, 0x41);
         EXPECT_EQ(d.settings.tabFont, "12,0,0,0,700,0,0,0,0,3,2,1,34,Arial");
         EXPECT_EQ(d.settings.textFont, g_prefTextFont);
       }},
      {"28: text, text-box, triplet and tab fonts; no spacing means 8", 28,
       [&](KHandBuiltScore& f) {
         f.tabSpacing = 0;
         f.extTextAndTriplet = std::string(kRedTimes) + "!@!";
         // Old form of the font marker: two fonts, indexes 0 and 1, 20 counts.
         f.fontPart = FontPart(2, {}, {bold, red}, 20, {{0, 1}, {1, 2}});
         f.objects.lines = {KTestLineSpec(5, 1, "a"), KTestLineSpec(5, 2, "b"), KTestLineSpec(5, 2, "c")};
       },
       [&](const CStavlinDoc& d) {
         const ScoreSettings& s = d.settings;
         EXPECT_EQ(s.textFont, "20,0,0,0,400,0,0,0,0,3,2,1,18,Times New Roman");
         EXPECT_EQ(s.extTextFont, kRedTimes);
         EXPECT_EQ(s.tripletFont, g_prefTripletFont);
         EXPECT_EQ(s.tabFont, "16,0,0,0,700,0,0,0,0,3,2,1,34,Arial");
         EXPECT_EQ(g_tabStringSpacing, 8);
         EXPECT_EQ(g_staffTextFont, kRedTimes);
         EXPECT_EQ(d.fontsInUse, 2);
         EXPECT_EQ(d.fontUseCounts[1], 2);
         EXPECT_TRUE(SameLogFont(d.textFonts[1], red));
         EXPECT_EQ(d.colourFlag, 1);
       }},
      {"29: no spacing means the preference", 29, [](KHandBuiltScore& f) { f.tabSpacing = 0; },
       [](const CStavlinDoc&) { EXPECT_EQ(g_tabStringSpacing, 13); }},
      {"33: default staff values and 20 use counts", 33,
       [&](KHandBuiltScore& f) {
         f.fontPart = FontPart(101, {2}, {bold}, 20, {{2, 3}});
         f.objects.lines = {KTestLineSpec(5, 3, "lyrics")};
       },
       [&](const CStavlinDoc& d) {
         EXPECT_EQ(d.settings.staffValue9, 22);
         EXPECT_EQ(d.settings.staffValue12, 12);
         EXPECT_EQ(d.fontUseCounts[2], 3);
         EXPECT_TRUE(SameLogFont(d.textFonts[2], bold));
         EXPECT_EQ(LineSummary(d), std::vector<std::string>{"5/3/lyrics"});
       }},
      {"34: staff values and 40 use counts", 34,
       [&](KHandBuiltScore& f) {
         f.extensions = {7, 0x0A0B0C0D};
         f.fontPart = FontPart(101, {39}, {bold}, 40, {{39, 1}});
         f.objects.lines = {KTestLineSpec(5, 40, "end")};
       },
       [&](const CStavlinDoc& d) {
         const ScoreSettings& s = d.settings;
         EXPECT_EQ(s.staffValue8, 7);
         EXPECT_EQ(s.staffValue9, 10);
         EXPECT_EQ(s.staffValue12, 13);
         EXPECT_EQ(NewLineSpacingForTest(), (std::vector<int>{7, 10, 11, 12, 13}));
         EXPECT_EQ(s.midiEffects, 0x0FFE4321u);
         EXPECT_EQ(d.fontUseCounts[39], 1);
         EXPECT_EQ(LineSummary(d), std::vector<std::string>{"5/40/end"});
       }},
      {"34 with the short-count mark: 20 use counts", 34,
       [&](KHandBuiltScore& f) {
         g_prefStaffLines3.titleFontThreshold = 111;
         f.extensions = {0, 0x16180E0C};
         f.fontPart = FontPart(101, {0}, {bold}, 20, {{0, 1}});
         f.objects.lines = {KTestLineSpec(5, 1, "x")};
       },
       [](const CStavlinDoc& d) { EXPECT_EQ(LineSummary(d), std::vector<std::string>{"5/1/x"}); }},
      {"3453: playback effects", 3453,
       [](KHandBuiltScore& f) {
         f.extensions = {0, 0x16180E0C, 0x0FFE00FF, 5, 6};
       },
       [](const CStavlinDoc& d) {
         EXPECT_EQ(d.settings.midiEffects, 0x0FFE00FFu);
         EXPECT_EQ(d.settings.dword106, 6u);
         EXPECT_EQ(d.settings.midiShowCaret, 0x40);
       }},
      {"3500: the caret keeps its own value", 3500, [](KHandBuiltScore& f) { f.midiShowCaret = 0; },
       [](const CStavlinDoc& d) { EXPECT_EQ(d.settings.midiShowCaret, 0); }},
      {"3701: level still made relative", 3701, [](KHandBuiltScore& f) { f.midiBytes[0] = 200; },
       [](const CStavlinDoc& d) { EXPECT_EQ(d.settings.midiLevel, 255); }},
      {"3702: level as stored", 3702, [](KHandBuiltScore& f) { f.midiBytes[0] = 200; },
       [](const CStavlinDoc& d) { EXPECT_EQ(d.settings.midiLevel, 200); }},
      {"3940: tunings with an extension, flags made 0 or 1, diagram scale", 3940,
       [](KHandBuiltScore& f) {
         f.tuning = "D A D G A D  303742475054!@!Dadgad";
         f.bassTuning = "B E A D G   *002025303500!@!Five";
         f.words[7] = 0x2C64;  // width 300 with its bit 8 in flags48
         f.bytes2[0] = 0x03;
         f.bytes1[9] = 7;     // read-only
         f.pageBytes[0] = 9;  // page breaks
         f.extensions = {0, 0x16180E0C, 0x0FFE00FF, 0, 0};
       },
       [](const CStavlinDoc& d) {
         const ScoreSettings& s = d.settings;
         EXPECT_EQ(s.tabTuning, "D A D G A D  303742475054");
         EXPECT_EQ(s.tabTuningFull, "D A D G A D  303742475054!@!Dadgad");
         EXPECT_EQ(s.bassTabTuning, "B E A D G   *002025303500");
         EXPECT_EQ(s.readOnly, 1);
         EXPECT_EQ(s.showPageBreaks, 1);
         EXPECT_EQ(g_diagramWidth, 300);
         EXPECT_EQ(g_diagramHeight, 100);
         // New chord-diagram lines of this score take its diagram size.
         EXPECT_EQ(g_defaultDiagramWidthPct, 300);
         EXPECT_EQ(g_defaultDiagramHeightPct, 100);
         EXPECT_EQ(g_defaultChordNameFontText, d.settings.chordNameFont);
         EXPECT_EQ(g_diagramFretNumbers, d.settings.showVariationNumbers);
       }},
      {"no diagram scale, or one below 25%, is 100%", 3940,
       [](KHandBuiltScore& f) {
         f.words[7] = 0x1464;
         f.extensions = {0, 0x16180E0C, 0x0FFE00FF, 0, 0};
       },
       [](const CStavlinDoc&) {
         EXPECT_EQ(g_diagramWidth, 100);
         EXPECT_EQ(g_diagramHeight, 100);
       }},
  };

  for (const VersionCase& c : cases) {
    SCOPED_TRACE(c.name);
    ResetAll();
    setPreferences();
    KHandBuiltScore file(c.version);
    if (c.build) c.build(file);
    const std::vector<BYTE> bytes = BuildScoreFile(file);
    CStavlinDoc doc;
    ASSERT_TRUE(LoadDocument(doc, bytes));
    EXPECT_EQ(g_fileVersion, c.version);
    c.check(doc);
    EXPECT_TRUE(ui_.Messages().empty()) << ui_.Messages().front().text;
    ui_.ClearRecords();
  }
}

TEST_F(ScoreFile, VersionTextOfEachNumbering) {
  const std::pair<long long, const char*> cases[] = {
      {3940, "3.94.0"}, {3453, "3.45.3"}, {33, "3.3"}, {250, "2.50"}};
  for (const auto& [version, text] : cases) {
    KHandBuiltScore file(version);
    file.extensions = version >= 34 ? std::vector<DWORD>{0, 0x16180E0C} : std::vector<DWORD>{};
    if (version >= 3453) file.extensions.insert(file.extensions.end(), {0x0FFE0000, 0, 0});
    CStavlinDoc doc;
    ASSERT_TRUE(LoadDocument(doc, BuildScoreFile(file)));
    EXPECT_EQ(doc.writerVersion, text);
  }
}

TEST_F(ScoreFile, ExtensionNumbersOfANewerProgramAreSkippedWithOneWarningPerRun) {
  KHandBuiltScore file(3960);
  file.extensions = {4, 0x16180E0C, 0x0FFE0001, 2, 3, 0xDEAD, 0xBEEF};
  file.fontPart = FontPart(101, {0}, {FontOf(kArial20)}, 40, {{0, 1}});
  file.objects.lines = {KTestLineSpec(5, 1, "after the extension")};
  file.objects.groups = {7};
  const std::vector<BYTE> bytes = BuildScoreFile(file);

  for (int run = 0; run < 2; ++run) {
    CStavlinDoc doc;
    ASSERT_TRUE(LoadDocument(doc, bytes));
    EXPECT_EQ(doc.settings.staffValue8, 4);
    EXPECT_EQ(doc.settings.midiEffects, 0x0FFE0001u);
    EXPECT_EQ(doc.settings.dword106, 3u);
    EXPECT_EQ(LineSummary(doc), std::vector<std::string>{"5/1/after the extension"});
    EXPECT_EQ(doc.lineGroups.GetCount(), 1);
  }
  ASSERT_EQ(ui_.MessageIds(), std::vector<UINT>{7089});
  EXPECT_NE(ui_.Messages()[0].text.find("(3.96.0) than you are using now (3.94.0.2)"), std::string::npos);
}

// 37 texts of user labels in a file: the table keeps as many as its slots after
// the fixed entries hold, and never writes past them.
TEST_F(ScoreFile, InstrumentTableNeverGrowsPastItsSlots) {
  KHandBuiltScore file(3940);
  file.instruments.clear();
  for (int i = 0; i < ScoreSettings::kInstrumentSlots; ++i)
    file.instruments.push_back(" 25100Label " + std::to_string(i));
  CStavlinDoc doc;
  ASSERT_TRUE(LoadDocument(doc, BuildScoreFile(file)));
  EXPECT_EQ(doc.settings.instrumentCount, ScoreSettings::kInstrumentSlots);
  EXPECT_EQ(doc.settings.instrumentTable[36], " 25100Label 29");
  EXPECT_EQ(doc.settings.instrumentTable[6], " 34100UL Bass Tab");
}

// A face name is read up to its first zero byte, and always ends within the
// record, however the file fills it.
TEST_F(ScoreFile, FaceNamesOfTheFontTableAlwaysEnd) {
  LOGFONT unterminated = FontOf(kArial20);
  std::fill(std::begin(unterminated.lfFaceName), std::end(unterminated.lfFaceName), 'A');
  LOGFONT trailing = FontOf(kArial20);
  std::memcpy(trailing.lfFaceName + 6, "junk", 4);  // after "Arial" and its zero
  KHandBuiltScore file(3940);
  file.fontPart = FontPart(102, {0, 1}, {unterminated, trailing}, 40, {{0, 1}, {1, 1}});
  file.objects.lines = {KTestLineSpec(5, 1, "a"), KTestLineSpec(5, 2, "b")};

  CStavlinDoc doc;
  ASSERT_TRUE(LoadDocument(doc, BuildScoreFile(file)));
  EXPECT_EQ(std::string(doc.textFonts[0].lfFaceName), std::string(LF_FACESIZE - 1, 'A'));
  EXPECT_EQ(std::string(doc.textFonts[1].lfFaceName, LF_FACESIZE),
            std::string("Arial") + std::string(27, '\0'));
}

TEST_F(ScoreFile, StoreWritesOnlyTheFontsInUse) {
  CStavlinDoc doc;
  doc.lines.AddTail(new KDocTestLine(5, 3, "x"));
  doc.textFonts[2] = FontOf(kArial20);
  doc.fontUseCounts[7] = 5;  // stale: recounted from the lines before storing
  const std::vector<BYTE> bytes = StoreDocument(doc);

  // The end of the document part: marker 101, index 2, one font, 40 counts,
  // then the line list (count 1) and the line-group list.
  std::vector<BYTE> fontPart = FontPart(101, {2}, {FontOf(kArial20)}, 40, {{2, 1}});
  const auto at = std::search(bytes.begin(), bytes.end(), fontPart.begin(), fontPart.end());
  ASSERT_NE(at, bytes.end());
  EXPECT_EQ(at[static_cast<std::ptrdiff_t>(fontPart.size())], 1);
  EXPECT_EQ(doc.fontUseCounts[7], 0);
  EXPECT_EQ(doc.fontsInUse, 1);
}

}  // namespace
