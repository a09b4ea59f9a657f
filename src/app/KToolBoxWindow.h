#pragma once
// The window of one symbol toolbox: a small tool window that floats above the
// main window without ever taking the keyboard focus. It paints the box's
// picture with the cells the box inverts and the instrument's marks, and
// hands the mouse to the box (KToolBox, Qt-free), which turns a click into a
// pick for the active score view. On the fretboard and keyboard a single
// click waits the double-click interval on a timer, so that a double click
// gives its own note value instead of two notes.

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <memory>

#include "dialogs/toolbox/KToolBox.h"

class CMainFrame;

class KToolBoxWindow : public QWidget, public KToolBoxHost {
  Q_OBJECT
 public:
  // The box of the kind, in the main frame's slot (the kind it was opened
  // as; a twin keeps its slot). Create it, then Place it.
  KToolBoxWindow(int slot, int kind, int lineClass, CMainFrame& frame);
  ~KToolBoxWindow() override;
  KToolBoxWindow(const KToolBoxWindow&) = delete;
  KToolBoxWindow& operator=(const KToolBoxWindow&) = delete;

  // Loads the pictures and sizes the window; false when the box could not
  // be made (the user was told).
  bool Create(const KToolBoxState& state);
  // Shows the window at a screen position without activating it.
  void Place(QPoint topLeft);

  int Slot() const { return m_slot; }
  KToolBox& Box() { return *m_box; }
  const KToolBox& Box() const { return *m_box; }
  // A single click is waiting for a possible second one.
  bool ClickPending() const { return m_clickTimer.isActive(); }

  // ---- KToolBoxHost --------------------------------------------------------------------
  void ResizeClient(SIZE client) override;
  void Invalidate() override { update(); }
  void SetCaption(const CString& text) override;
  void Pick(int code, int boxKind, int noteValue, int string, int fret) override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  struct Click {
    int button = 1;
    int x = 0;
    int y = 0;
    unsigned flags = 0;
  };
  void RunClick(const Click& click, bool doubleClick);

  int m_slot;
  CMainFrame& m_frame;
  std::unique_ptr<KToolBox> m_box;
  QTimer m_clickTimer;
  Click m_pending;
  bool m_placed = false;
};
