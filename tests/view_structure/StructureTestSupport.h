#pragma once
// A score view through its first update over a score built in the test, for
// the commands that build a score's structure: inserting lines and groups,
// tunings, labels and line appearance. Dialogs and message boxes are
// answered by the fixture's script; every undo step is recorded.

#include <memory>
#include <string>
#include <vector>

#include "platform/FakeSymbolLoader.h"
#include "support/ViewTestSupport.h"

namespace structtest {

using viewtest::kGuitar;
inline constexpr const char* kFourStringBass = "  E A D G   *002025303500";

class StructureFixture : public viewtest::ViewScoreFixture {
 protected:
  void SetUp() override {
    ViewScoreFixture::SetUp();
    loaderScope_ = std::make_unique<ScopedSymbolLoader>(symbols_);
  }
  void TearDown() override {
    ViewScoreFixture::TearDown();
    loaderScope_.reset();
  }

  // The view's first update over the lines added so far, then the caret on
  // the display line and column.
  void Open(int currentLine = 0, int column = 0) {
    view->OnInitialUpdate();
    Layout(currentLine, column);
  }

  // The document's lines in order, each as its type code, and "g<id>" when it
  // is grouped: "0g1 2g1 5".
  std::string Kinds() const {
    std::string out;
    for (POSITION pos = doc.GetFirstLinePosition(); pos != nullptr;) {
      const KLineObj* line = doc.GetNextLine(pos);
      if (!out.empty()) out += ' ';
      out += std::to_string(line->GetType());
      if (line->GetGroupId() != KLineObj::kNoGroup) out += 'g' + std::to_string(line->GetGroupId());
    }
    return out;
  }
  KLineObj* DocLine(int index) const {
    POSITION pos = doc.GetFirstLinePosition();
    for (int i = 0; i < index && pos != nullptr; ++i) doc.GetNextLine(pos);
    return doc.GetLineAt(pos);
  }
  POSITION DocPosition(int index) const {
    POSITION pos = doc.GetFirstLinePosition();
    for (int i = 0; i < index && pos != nullptr; ++i) doc.GetNextLine(pos);
    return pos;
  }

  FakeSymbolLoader symbols_;

 private:
  std::unique_ptr<ScopedSymbolLoader> loaderScope_;
};

}  // namespace structtest
