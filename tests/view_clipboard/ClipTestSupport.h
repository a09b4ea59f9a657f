#pragma once
// A laid-out score with its own in-memory clipboard, and the document's
// archive bytes to compare a score before and after an edit.

#include <string>
#include <vector>

#include "platform/CArchive.h"
#include "platform/CFile.h"
#include "platform/Clipboard.h"
#include "support/ViewTestSupport.h"
#include "view/edit/ViewClip.h"

namespace cliptest {

inline std::vector<BYTE> StoreDocument(CStavlinDoc& doc) {
  CMemFile file;
  CArchive ar(&file, CArchive::store);
  doc.Serialize(ar);
  ar.Close();
  return file.Data();
}

// Where two archives first differ, for failure messages.
inline std::string FirstDifference(const std::vector<BYTE>& a, const std::vector<BYTE>& b) {
  size_t i = 0;
  while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
  std::string out = "sizes " + std::to_string(a.size()) + " and " + std::to_string(b.size()) +
                    ", first difference at " + std::to_string(i) + ":";
  for (size_t k = i >= 40 ? i - 40 : 0; k < i + 12; ++k)
    out += " " + (k < a.size() ? std::to_string(a[k]) : std::string("-")) + "/" +
           (k < b.size() ? std::to_string(b[k]) : std::string("-"));
  return out;
}

class ClipFixture : public viewtest::ViewScoreFixture {
 protected:
  void SetUp() override {
    ViewScoreFixture::SetUp();
    previousClipboard_ = SetClipboardPort(&clipboard);
    g_clipboardCommand = 0;
    g_pasteInProgress = 0;
  }
  void TearDown() override {
    SetClipboardPort(previousClipboard_);
    g_clipboardCommand = 0;
    g_pasteInProgress = 0;
    ViewScoreFixture::TearDown();
  }

  // Selects display lines first..last from edge to edge, as the undo
  // recorder does.
  void SelectWhole(int first, int last) {
    view->UpdateSelection(0, viewclip::kWholeLine, first, last, 0);
    view->m_selRect = RECT{0, Entry(first).top, viewclip::kWholeLine, Entry(last).bottom};
  }
  // Selects pixel x from..to of the display lines.
  void SelectPixels(int first, int last, int fromX, int toX) {
    view->UpdateSelection(0, 0, first, last, 0);
    view->m_selRect = RECT{fromX, Entry(first).top, toX, Entry(last).bottom};
  }

  void PutText(const std::string& text) {
    ASSERT_TRUE(OpenClipboard());
    EmptyClipboard();
    SetClipboardData(CF_TEXT, std::vector<BYTE>(text.begin(), text.end()));
    CloseClipboard();
  }
  void PutStream(const KClipStream& stream) {
    ASSERT_TRUE(OpenClipboard());
    EmptyClipboard();
    SetClipboardData(StavlinClipFormat(), stream.ToBytes());
    CloseClipboard();
  }

  MemoryClipboard clipboard;

 private:
  ClipboardPort* previousClipboard_ = nullptr;
};

}  // namespace cliptest
