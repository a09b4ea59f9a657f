#pragma once
// The window of one open score: an MDI child holding a splitter of up to two
// view panes, one above the other, both on the score's document. The child
// frame owns the document and its panes. Where it moves is remembered for the
// next new score window (g_rcNewDoc).

#include <QMdiSubWindow>
#include <functional>
#include <memory>

#include "doc/pref_values/Preferences.h"
#include "platform/CString.h"

class CStavlinDoc;
class KFrameServices;
class KViewWidget;
class QSplitter;

// Height, width, left and top of the score window moved last, relative to
// the MDI client area; never negative. The score view writes it as well
// when it is resized, and the preferences sheet reads it.
struct KNewDocRect {
  int height = 0;
  int width = 0;
  int left = 0;
  int top = 0;
};
extern KNewDocRect g_rcNewDoc;

class CChildFrame : public QMdiSubWindow {
 public:
  static constexpr int kDefaultWidth = 500;
  static constexpr int kDefaultHeight = 350;
  static constexpr int kMinPaneWidth = 80;
  static constexpr int kMinPaneHeight = 30;

  // Takes the document; makes its first pane (whose view has not had its
  // first update yet: see InitialUpdate).
  CChildFrame(std::unique_ptr<CStavlinDoc> document, KFrameServices* frame, QWidget* parent = nullptr);
  ~CChildFrame() override;
  CChildFrame(const CChildFrame&) = delete;
  CChildFrame& operator=(const CChildFrame&) = delete;

  CStavlinDoc& Document() const { return *m_document; }
  // The first update of every pane's view that has not had it.
  void InitialUpdate();

  int PaneCount() const;
  KViewWidget* Pane(int index) const;
  // The pane with the focus, else the first.
  KViewWidget* ActivePane() const;

  // Divides the window into two panes on the same score (false when it is
  // divided already); the new pane has had its first update.
  bool Split();
  // Back to one pane: the one that is not active goes. False when not split.
  bool Unsplit();

  // Asks about unsaved changes once; true when the window may close. A
  // window asked this way closes without asking again.
  bool QueryClose();
  // Closes without asking (after QueryClose, or to discard the score).
  void CloseWithoutAsking();
  bool IsClosing() const { return m_closing; }

  // Told when the window's title should change (the score's name changed).
  void UpdateTitle();
  // The name a score without a file goes by (a score made from a text file
  // takes the file's name); empty: "Untitled".
  void SetUntitledName(const CString& name);

 protected:
  void moveEvent(QMoveEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  KViewWidget* AddPane();

  std::unique_ptr<CStavlinDoc> m_document;
  KFrameServices* m_frame;
  QSplitter* m_splitter;
  bool m_asked = false;
  bool m_closing = false;
};
