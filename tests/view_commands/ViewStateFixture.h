#pragma once
// A score view built on a fake window and an empty document, whose state the
// command tests set directly: display lines of given types (backed by real
// lines of the document), the current line, a selection and the options.

#include <gtest/gtest.h>

#include <initializer_list>

#include "doc/CStavlinDoc.h"
#include "doc/pref_values/Preferences.h"
#include "model/KLineObj.h"
#include "view/CStavlinView.h"
#include "view/core/FakeViewHost.h"

class ViewStateFixture {
 public:
  ViewStateFixture() : m_savedEntry(g_prefEntryOptions), m_savedBars(g_prefToolViewOptions) {}
  ~ViewStateFixture() {
    g_prefEntryOptions = m_savedEntry;
    g_prefToolViewOptions = m_savedBars;
  }

  // Display lines of these types, one document line each; the caret on the
  // first of them.
  void SetLines(std::initializer_list<int> types) {
    int index = 0;
    for (int type : types) {
      POSITION position = doc.AddTailLine(new KLineObj(type, 0, KLineObj::kNoGroup, 0, 0));
      DisplayLine& entry = view.m_display[static_cast<size_t>(index)];
      entry.line = position;
      entry.type = type;
      ++index;
    }
    view.m_lineCount = index;
    SetCaretLine(0);
  }

  void SetCaretLine(int line) {
    view.m_currentLine = line;
    view.m_currentType = view.m_display[static_cast<size_t>(line)].type;
    view.m_currentFamily = KLineObj::FamilyOf(view.m_currentType);
  }

  // The caret on a line of this type, the only display line.
  void OnLineOfType(int type) { SetLines({type}); }

  void Select() { view.m_selRect = RECT{10, 10, 60, 40}; }

  CStavlinDoc doc;
  FakeViewHost host;
  CStavlinView view{&doc, &host};

 private:
  KPrefEntryOptions m_savedEntry;
  KPrefToolViewOptions m_savedBars;
};
