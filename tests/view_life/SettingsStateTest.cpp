// The score settings turned into the view's working state at the first
// update: one row per rule of the table.

#include <cmath>
#include <functional>
#include <string>

#include "ViewLifeTestSupport.h"
#include "doc/pref_values/Preferences.h"
#include "view/core/ViewInitialSteps.h"

namespace {

struct SettingsCase {
  const char* name;
  std::function<void(CStavlinView&)> set;
  std::function<int(const CStavlinView&)> read;
  int expected;
};

void PrintTo(const SettingsCase& c, std::ostream* os) { *os << c.name; }

WORD Scale(int width, int height) { return static_cast<WORD>((width << 8) | height); }

const SettingsCase kCases[] = {
    {"DiagramScale24And100GivesFullWidth", [](CStavlinView& v) { v.m_options.diagramScale = Scale(24, 100); },
     [](const CStavlinView& v) { return v.m_diagramWidth; }, 100},
    {"DiagramScale24And100GivesFullHeight",
     [](CStavlinView& v) { v.m_options.diagramScale = Scale(24, 100); },
     [](const CStavlinView& v) { return v.m_diagramHeight; }, 100},
    {"DiagramScale60And80KeepsItsWidth", [](CStavlinView& v) { v.m_options.diagramScale = Scale(60, 80); },
     [](const CStavlinView& v) { return v.m_diagramWidth; }, 60},
    {"DiagramScale60And80KeepsItsHeight", [](CStavlinView& v) { v.m_options.diagramScale = Scale(60, 80); },
     [](const CStavlinView& v) { return v.m_diagramHeight; }, 80},
    {"DiagramWidthAbove255KeepsItsHighBits",
     [](CStavlinView& v) {
       v.m_options.diagramScale = Scale(4, 100);
       v.m_options.flags48 = 1 | 2;
     },
     [](const CStavlinView& v) { return v.m_diagramWidth; }, 260},
    {"DiagramFlagShowsDiagrams", [](CStavlinView& v) { v.m_options.flags48 = 1; },
     [](const CStavlinView& v) { return v.m_chordDiagramsShown; }, 1},
    {"BarNumberByte5ShowsBarNumbers", [](CStavlinView& v) { v.m_options.tabDigitPlacement = 5; },
     [](const CStavlinView& v) { return v.m_barNumbersShown; }, 1},
    {"BarNumberByte5TakesTheProgramsDigitOffset",
     [](CStavlinView& v) {
       g_tabDigitOffset = 3;
       v.m_options.tabDigitPlacement = 5;
     },
     [](const CStavlinView& v) { return v.m_tabDigitPosition; }, 3},
    {"BarNumberByte101GivesOffsetZero",
     [](CStavlinView& v) {
       g_tabDigitOffset = 3;
       v.m_options.tabDigitPlacement = 101;
     },
     [](const CStavlinView& v) { return v.m_tabDigitPosition; }, 0},
    {"BarNumberByte101ShowsBarNumbers", [](CStavlinView& v) { v.m_options.tabDigitPlacement = 101; },
     [](const CStavlinView& v) { return v.m_barNumbersShown; }, 1},
    {"BarNumberByte140GivesOffsetFour", [](CStavlinView& v) { v.m_options.tabDigitPlacement = 140; },
     [](const CStavlinView& v) { return v.m_tabDigitPosition; }, 4},
    {"EveryShowFlagSetIsAllShown",
     [](CStavlinView& v) {
       for (BYTE& flag : v.m_options.showLineType) flag = 1;
       v.m_options.showLineType[8] = 0;
     },
     [](const CStavlinView& v) { return v.m_allShown; }, 1},
    {"OneHiddenTypeIsNotAllShown",
     [](CStavlinView& v) {
       for (BYTE& flag : v.m_options.showLineType) flag = 1;
       v.m_options.showLineType[8] = 0;
       v.m_options.showLineType[13] = 0;
     },
     [](const CStavlinView& v) { return v.m_allShown; }, 0},
    {"ShowAllFlagOutweighsAHiddenType",
     [](CStavlinView& v) {
       for (BYTE& flag : v.m_options.showLineType) flag = 1;
       v.m_options.showLineType[13] = 0;
     },
     [](const CStavlinView& v) { return v.m_allShown; }, 1},
    {"ShowByteOfTwoReadsAsShown", [](CStavlinView& v) { v.m_options.showLineType[5] = 2; },
     [](const CStavlinView& v) { return v.m_show[5]; }, 1},
    {"HiddenTypeStaysHidden", [](CStavlinView& v) { v.m_options.showLineType[2] = 0; },
     [](const CStavlinView& v) { return v.m_show[2]; }, 0},
    {"ScrollDelay1025IsTwoAndAHalfSeconds", [](CStavlinView& v) { v.m_options.scrollDelay = 1025; },
     [](const CStavlinView& v) { return static_cast<int>(std::lround(v.m_scrollSeconds * 10)); }, 25},
    {"NegativeScrollDelayIsNoDelay", [](CStavlinView& v) { v.m_options.scrollDelay = -30; },
     [](const CStavlinView& v) { return static_cast<int>(std::lround(v.m_scrollSeconds * 10)); }, 0},
    {"LargeSymbolByte101IsLargeSize", [](CStavlinView& v) { v.m_options.largeSymbols = 101; },
     [](const CStavlinView& v) { return v.m_sizeIndex; }, 1},
    {"LargeSymbolByte7IsStillOneOfTwoSizes", [](CStavlinView& v) { v.m_options.largeSymbols = 7; },
     [](const CStavlinView& v) { return v.m_sizeIndex; }, 1},
    {"AdTabByte7ShowsStems", [](CStavlinView& v) { v.m_options.adTabMode = 7; },
     [](const CStavlinView& v) { return v.m_tabStems; }, 1},
    {"AdTabByte7IsColourSymbols", [](CStavlinView& v) { v.m_options.adTabMode = 7; },
     [](const CStavlinView& v) { return v.m_adTabMode; }, 2},
    {"AdTabByte2IsOutline", [](CStavlinView& v) { v.m_options.adTabMode = 2; },
     [](const CStavlinView& v) { return v.m_adTabMode; }, 1},
    {"AdTabByte4IsColourNumbersOnly", [](CStavlinView& v) { v.m_options.adTabMode = 4; },
     [](const CStavlinView& v) { return v.m_adTabMode; }, 3},
    {"EditFlagBit4TurnsAutoWrapOn", [](CStavlinView& v) { v.m_options.editFlags = 0x10; },
     [](const CStavlinView& v) { return v.m_autoWrap; }, 1},
    {"MutualTranslationStartsOn", [](CStavlinView& v) { v.m_options.editFlags = 0; },
     [](const CStavlinView& v) { return v.m_mutualTranslation; }, 1},
    {"WithoutBarAlignmentAutoWrapStartsOff",
     [](CStavlinView& v) {
       g_prefStaffLines3.keepBarsAligned = 0;
       v.m_options.editFlags = 0x10;
     },
     [](const CStavlinView& v) { return v.m_autoWrap; }, 0},
    {"WithoutBarAlignmentTranslationStartsOff", [](CStavlinView&) { g_prefStaffLines3.keepBarsAligned = 0; },
     [](const CStavlinView& v) { return v.m_mutualTranslation; }, 0},
    {"WithoutBarAlignmentGroupLinesAreIndependent",
     [](CStavlinView&) { g_prefStaffLines3.keepBarsAligned = 0; },
     [](const CStavlinView& v) { return v.m_independentEditing; }, 1},
    {"EditFlagBit6EnablesUndo", [](CStavlinView& v) { v.m_options.editFlags = 0x40; },
     [](const CStavlinView& v) { return v.m_undoEnabled; }, 1},
    {"EditFlagsWithoutBit6DisableUndo", [](CStavlinView& v) { v.m_options.editFlags = 0x10; },
     [](const CStavlinView& v) { return v.m_undoEnabled; }, 0},
    {"TabSpacingByte141IsFourteen", [](CStavlinView& v) { v.m_options.tabSpacing = 141; },
     [](const CStavlinView& v) { return v.m_tabSpacing[0]; }, 14},
    {"TabSpacingByte141IsNineteenLarge", [](CStavlinView& v) { v.m_options.tabSpacing = 141; },
     [](const CStavlinView& v) { return v.m_tabSpacing[1]; }, 19},
    {"TabSpacingZeroOfANewFileTakesThePreference",
     [](CStavlinView& v) {
       g_prefStaffLines2.tabLineSpacing = 13;
       v.m_fileVersion = 3940;
       v.m_options.tabSpacing = 0;
     },
     [](const CStavlinView& v) { return v.m_tabSpacing[0]; }, 13},
    {"TabSpacingZeroOfAVeryOldFileIsEight",
     [](CStavlinView& v) {
       v.m_fileVersion = 28;
       v.m_options.tabSpacing = 0;
     },
     [](const CStavlinView& v) { return v.m_tabSpacing[0]; }, 8},
    {"LandscapeTurnsThePrinterPageWide", [](CStavlinView& v) { v.m_options.printOrientation = 1; },
     [](const CStavlinView&) {
       return g_prefPrinterParams.pageWidth > g_prefPrinterParams.pageHeight ? 1 : 0;
     },
     1},
    {"PortraitKeepsThePrinterPageNarrow", [](CStavlinView& v) { v.m_options.printOrientation = 0; },
     [](const CStavlinView&) {
       return g_prefPrinterParams.pageWidth > g_prefPrinterParams.pageHeight ? 1 : 0;
     },
     0},
    {"ReadOnlyByteMakesTheViewReadOnly", [](CStavlinView& v) { v.m_options.readOnly = 1; },
     [](const CStavlinView& v) { return v.m_readOnly; }, 1},
    {"AutosaveAmountIsTheInterval", [](CStavlinView& v) { v.m_options.autosaveAmount = 12; },
     [](const CStavlinView& v) { return v.m_autosaveInterval; }, 12},
};

class SettingsStateTest : public ViewLifeTest, public ::testing::WithParamInterface<SettingsCase> {};

TEST_P(SettingsStateTest, SettingBecomesViewState) {
  CStavlinView& view = View();
  GetParam().set(view);
  ApplySettingsToView(view);
  EXPECT_EQ(GetParam().read(view), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Rules, SettingsStateTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<SettingsCase>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
