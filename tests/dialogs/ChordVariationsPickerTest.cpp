// The chord variations picker as a model: the grid it lays out in each of its
// three picture modes, the strip that switches between them, and the keys
// that pick a variation.

#include <gtest/gtest.h>

#include <vector>

#include "chords/ChordSettings.h"
#include "dialogs/KDlgChordVars.h"
#include "platform/FakeSymbolLoader.h"
#include "platform/FakeUiPort.h"

namespace {

class ChordVariationsPicker : public ::testing::Test {
 protected:
  void SetUp() override { ResetChordSettings(); }
  void TearDown() override { ResetChordSettings(); }
  static std::vector<CString> Shapes(int n) {
    return std::vector<CString>(static_cast<std::size_t>(n), "0320003");
  }

  FakeUiPort m_ui;
  ScopedUiPort m_scope{m_ui};
  FakeSymbolLoader m_symbols;
  ScopedSymbolLoader m_symbolScope{m_symbols};
};

TEST_F(ChordVariationsPicker, EachModeLaysItsCellsOut) {
  const struct {
    int mode;
    int count;
    int columns, rows, cellWidth, cellHeight;
  } cases[] = {
      {0, 5, 3, 2, 47, 53},   {0, 70, 9, 8, 47, 53}, {1, 5, 5, 1, 60, 139},
      {1, 12, 8, 2, 60, 139}, {2, 5, 3, 2, 97, 58},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << c.mode << ", " << c.count << " variations");
    g_chordSettings.pictureMode = c.mode;
    KDlgChordVars picker;
    picker.shapes = Shapes(c.count);
    picker.chordName = "G";
    picker.OnInitDialog();
    EXPECT_EQ(picker.Mode(), c.mode);
    EXPECT_EQ(picker.Columns(), c.columns);
    EXPECT_EQ(picker.Rows(), c.rows);
    EXPECT_EQ(picker.CellWidth(), c.cellWidth);
    EXPECT_EQ(picker.CellHeight(), c.cellHeight);
    EXPECT_GE(picker.Controls().Find(KDlgChordVars::kIdPicture)->width, c.columns * c.cellWidth);
  }
}

TEST_F(ChordVariationsPicker, TheStripSwitchesModesAndTheDiagramFormOfAChordLine) {
  KDlgChordVars picker;
  picker.shapes = Shapes(5);
  picker.chordName = "G";
  picker.OnInitDialog();
  const struct {
    int x;
    int mode;
    int frame;    // the chord-line form afterwards
    int program;  // the audition program afterwards
  } clicks[] = {{100, 1, 0, 25}, {130, 2, 2, 0}, {10, 0, 0, 25}};
  for (const auto& click : clicks) {
    SCOPED_TRACE(click.x);
    DialogMouse mouse;
    mouse.x = click.x;
    mouse.y = 5;
    picker.Controls().Click(KDlgChordVars::kIdPicture, mouse);
    EXPECT_EQ(picker.Mode(), click.mode);
    EXPECT_EQ(g_chordSettings.pictureMode, click.mode);
    EXPECT_EQ(g_chordSettings.frameChoice, click.frame);
    EXPECT_EQ(g_chordSettings.auditionProgram, click.program);
    EXPECT_EQ(picker.TakeEndRequest(), 0);  // the strip picks no variation
  }
  // A click in a notes cell picks its variation.
  picker.Controls().Click(KDlgChordVars::kIdPicture, DialogMouse{100, 5});
  DialogMouse cell;
  cell.x = picker.CellWidth() * 3 + 5;
  cell.y = KDlgChordVars::kStripHeight + 5;
  picker.Controls().Click(KDlgChordVars::kIdPicture, cell);
  EXPECT_EQ(picker.variation, 4);
  EXPECT_EQ(picker.TakeEndRequest(), IDOK);
}

TEST_F(ChordVariationsPicker, KeysPickAVariation) {
  const struct {
    const char* what;
    std::vector<int> characters;  // typed characters; negative: a virtual key
    int variation;
    int beeps;
  } cases[] = {
      {"one then two make twelve", {'1', '2'}, 12, 0},
      {"a three cannot start a number of fifteen", {'3'}, 3, 0},
      {"right arrow on the last wraps to the first", {'1', '5', -0x27}, 1, 0},
      {"left arrow on the first wraps to the last", {-0x25}, 15, 0},
      {"a number past the last beeps", {'1', '9'}, 1, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    m_ui.ClearRecords();
    KDlgChordVars picker;
    picker.shapes = Shapes(15);
    picker.chordName = "G";
    picker.OnInitDialog();
    for (int ch : c.characters)
      picker.Controls().PressKey(KDlgChordVars::kIdPicture, ch < 0 ? -ch : 0, ch < 0 ? 0 : ch);
    EXPECT_EQ(picker.variation, c.variation);
    EXPECT_EQ(static_cast<int>(m_ui.Beeps().size()), c.beeps);
  }
}

}  // namespace
