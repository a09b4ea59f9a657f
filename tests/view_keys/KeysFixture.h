#pragma once
// A score view over a small score laid out by the real RebuildDisplayLines in
// a fake window, with keys held by hand, scripted message boxes and every
// undo step recorded. The score, by display line:
//   0 text "Title"
//   1 treble staff  } line group 7, bracket 1 (the staff and its tablature)
//   2 tablature     }
//   3 text "abc def"
//   4 text "xyz"
//   5 rhythm line (empty)
//   6 treble staff: notes at columns 0 (row 12) and 1 (row 16), a bar at 2
//   7 tablature labelled "Tab-T": a fret at column 0
//   8 tablature labelled "Tab-B": a fret at column 0
//   9 treble staff (empty)
//  10 text "end"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "doc/CStavlinDoc.h"
#include "doc/DocLineHooks.h"
#include "model/KLineGroup.h"
#include "model/KLineObj.h"
#include "platform/FakeUiPort.h"
#include "platform/Keys.h"
#include "support/CaseName.h"
#include "support/MusicNames.h"
#include "view/CStavlinView.h"
#include "view/core/FakeViewHost.h"
#include "view/core/ViewMirrors.h"

class KListLine;
class KStrLine;

// Modifier keys of a key press.
enum Mods : unsigned { kNone = 0, kShift = 1, kCtrl = 2, kAlt = 4 };

class KeysFixture : public ::testing::Test {
 public:
  static std::vector<int>& UndoKinds();

  // Display lines of the score.
  static constexpr int kTitle = 0;
  static constexpr int kGroupStaff = 1;
  static constexpr int kGroupTab = 2;
  static constexpr int kTextAbc = 3;
  static constexpr int kTextXyz = 4;
  static constexpr int kRhythm = 5;
  static constexpr int kStaff = 6;
  static constexpr int kTabTop = 7;
  static constexpr int kTabBottom = 8;
  static constexpr int kEmptyStaff = 9;
  static constexpr int kTextEnd = 10;
  static constexpr int kGroupId = 7;

 protected:
  void SetUp() override;
  void TearDown() override;

  // Lays the score out and puts the caret on the display line.
  void CaretAt(int displayLine, int column, int row = -1);
  // One key down with the modifiers held (released afterwards).
  void Press(UINT key, unsigned mods = kNone);
  // One Alt key (WM_SYSKEYDOWN) with Alt and the other modifiers held.
  void AltPress(UINT key, unsigned mods = kNone);
  // Selects columns [first, last) of the display lines through the view's
  // own selection.
  void Select(int firstLine, int lastLine, int firstColumn, int lastColumn);

  KLineObj* Line(int displayLine) const { return view->GetDisplayLineObj(displayLine); }
  KListLine* List(int displayLine) const;
  std::string Text(int displayLine) const;
  // The line's columns as "pos:code@row,... pos:...", shown in a failure
  // with the notes named.
  musicnames::LineDump Dump(int displayLine) const;

  std::vector<POSITION> lines;  // the score's lines, top to bottom
  FakeUiPort ui;
  std::unique_ptr<ScopedUiPort> uiScope;
  FakeKeyState keys;
  KeyStatePort* previousKeys = nullptr;
  KDocLineHooks previousHooks;
  CStavlinDoc doc;
  FakeViewHost host;
  std::unique_ptr<CStavlinView> view;
};

using viewtest::CaseName;
