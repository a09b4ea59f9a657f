#pragma once
// A laid-out score view (support/ViewTestSupport.h) with the real undo
// recorder, a clipboard of its own and keys held by hand. The score's state
// is compared as the bytes its document stores, the form a saved file has.

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/CArchive.h"
#include "platform/CFile.h"
#include "platform/Clipboard.h"
#include "platform/Keys.h"
#include "support/ViewTestSupport.h"
#include "view/commands/CommandIds.h"
#include "view/commands/CommandTable.h"

namespace undotest {

using Bytes = std::vector<BYTE>;

class UndoFixture : public viewtest::ViewScoreFixture {
 protected:
  void SetUp() override {
    ViewScoreFixture::SetUp();
    previousClipboard_ = SetClipboardPort(&clipboard);
    previousKeys_ = SetKeyStatePort(&keys);
  }

  void TearDown() override {
    SetKeyStatePort(previousKeys_);
    SetClipboardPort(previousClipboard_);
    ViewScoreFixture::TearDown();
  }

 public:
  // The score's building blocks and the view, for the sequences' actions.
  using ViewScoreFixture::Add;
  using ViewScoreFixture::AddChordLine;
  using ViewScoreFixture::AddText;
  using ViewScoreFixture::doc;
  using ViewScoreFixture::Entry;
  using ViewScoreFixture::Group;
  using ViewScoreFixture::Select;
  using ViewScoreFixture::ui;
  using ViewScoreFixture::view;

  // A new view in place of the fixture's, made while the undo-level
  // preference says `levels`.
  void RemakeView(int levels) {
    view.reset();
    g_prefAutoSave.undoLevels = levels;
    view = std::make_unique<CStavlinView>(&doc, &host);
    view->m_show[8] = 1;
    LOGFONT font{};
    font.lfHeight = 16;
    font.lfWeight = 400;
    for (LOGFONT& slot : view->m_textFonts) slot = font;
  }

  // Lays the score out with the caret on the line, after making the view's
  // settings and fonts those of the document, as a score opened in a window
  // has them.
  void Start(int currentLine = 0, int column = 0) {
    doc.GetSettings(view->m_options);
    doc.SetFontTable(1, std::span<const LOGFONT, CStavlinDoc::kFontArraySize>(view->m_textFonts));
    doc.SetFontUseCounts(std::span<const int, CStavlinDoc::kFontArraySize>(view->m_fontUseCounts));
    Layout(currentLine, column);
  }

  // The score in words: each line (type, group, flags, content) and each
  // group (id and its lines' places), for messages about a difference.
  std::string Describe() const {
    std::string out;
    std::vector<POSITION> order;
    for (POSITION pos = doc.GetFirstLinePosition(); pos != nullptr;) {
      order.push_back(pos);
      const KLineObj* line = doc.GetNextLine(pos);
      out += std::to_string(line->GetType()) + " g" + std::to_string(line->GetGroupId()) + " f" +
             std::to_string(const_cast<KLineObj*>(line)->ModifyFlags(0, 0)) + " [" + DumpLine(line) +
             TextOf(line) + "]\n";
    }
    for (POSITION node = doc.lineGroups.GetHeadPosition(); node != nullptr;) {
      const auto* group = static_cast<const KLineGroup*>(doc.lineGroups.GetNext(node));
      out += "group " + std::to_string(group->GetId()) + ":";
      for (int slot = 0; slot < group->GetSlotCount(); ++slot) {
        const auto at = std::find(order.begin(), order.end(), group->GetSlotLineRef(slot));
        out += " " + std::to_string(at - order.begin());
      }
      out += "\n";
    }
    return out;
  }

  // What the document stores.
  Bytes Store() {
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    doc.Serialize(ar);
    ar.Close();
    return file.Data();
  }

  // The stored score and its description together.
  struct State {
    Bytes bytes;
    std::string text;
  };
  State Take() { return State{Store(), Describe()}; }
  // The score is the one taken: same description, same stored bytes (the
  // first differing offset is named).
  void ExpectState(const State& expected, const std::string& where) {
    EXPECT_EQ(Describe(), expected.text) << where;
    const Bytes now = Store();
    const auto [a, b] = std::mismatch(now.begin(), now.end(), expected.bytes.begin(), expected.bytes.end());
    EXPECT_TRUE(now == expected.bytes)
        << where << ": stored bytes differ from offset " << (a - now.begin()) << " (" << now.size()
        << " bytes, expected " << expected.bytes.size() << ")";
  }

  // Runs a command as a menu or an accelerator would: refused (false) when
  // its enabling rule disables it.
  bool Command(UINT id) {
    KAppCommandState app;
    app.clipboardHasScore = IsClipboardFormatAvailable(StavlinClipFormat()) != FALSE;
    app.clipboardHasText = IsClipboardFormatAvailable(CF_TEXT) != FALSE;
    if (!QueryCommand(id, view.get(), app).enabled) return false;
    return ExecuteViewCommand(*view, id);
  }
  bool Enabled(UINT id) { return QueryCommand(id, view.get(), KAppCommandState()).enabled; }

  void Type(const std::string& text) {
    for (char c : text) view->OnChar(static_cast<unsigned char>(c), 1, 0);
  }
  void Press(int key, bool shift = false) {
    if (shift) keys.Press(VK_SHIFT);
    view->OnKeyDown(static_cast<UINT>(key), 1, 0);
    keys.ReleaseAll();
  }
  void AltPress(int key) {
    keys.Press(VK_MENU);
    view->OnSysKeyDown(static_cast<UINT>(key), 1, 0);
    keys.ReleaseAll();
  }
  // Puts the caret on the display line and column (row: the line's default).
  void CaretAt(int displayLine, int column, int row = -1) {
    view->m_currentLine = displayLine;
    view->m_currentType = Entry(displayLine).type;
    view->m_currentFamily = KLineObj::FamilyOf(view->m_currentType);
    view->m_caretColumn = column;
    view->m_caretRow = row >= 0 ? row : (view->m_currentFamily == KLineObj::kFamilyTab ? 4 : 18);
  }
  int BeepCount() const { return static_cast<int>(ui.Beeps().size()); }

  MemoryClipboard clipboard;
  FakeKeyState keys;

 private:
  ClipboardPort* previousClipboard_ = nullptr;
  KeyStatePort* previousKeys_ = nullptr;
};

}  // namespace undotest
