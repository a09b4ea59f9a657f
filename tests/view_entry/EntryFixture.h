#pragma once
// A score view over a document built in the test with the real line classes,
// laid out by RebuildDisplayLines in a fake window, with scripted message
// boxes, keys held by hand and every undo step recorded. Typing goes through
// OnChar as the keyboard would send it.

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

class KListLine;
class KStaffLine;
class KTabLine;

class EntryFixture : public ::testing::Test {
 public:
  // Undo steps recorded since the test started, as kinds.
  static std::vector<int>& UndoKinds();

 protected:
  static constexpr int kTreble = 0;
  static constexpr int kBass = 1;

  void SetUp() override;
  void TearDown() override;

  POSITION AddStaff(int type = kTreble);
  POSITION AddTab();
  POSITION AddText(const char* text);
  // Binds two lines into a group with one bracket (partners) or none.
  KLineGroup* Group(int id, POSITION first, POSITION second, int bracket);

  // Lays out and puts the caret on the display line at the column and row.
  void CaretAt(int displayLine, int column, int row);
  // Types the characters one by one through OnChar.
  void Type(const std::string& keys);

  KLineObj* LineAt(POSITION position) const { return doc.GetLineAt(position); }
  KListLine* ListAt(POSITION position) const;
  KStaffLine* StaffAt(POSITION position) const;
  KTabLine* TabAt(POSITION position) const;
  // The line's columns as text: "pos:code@row,code@row pos:..." (tablature
  // rows are the string units), shown in a failure with the notes named.
  musicnames::LineDump Dump(POSITION position) const;
  // The positions of the line's bar columns.
  std::vector<int> BarColumns(POSITION position) const;

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
