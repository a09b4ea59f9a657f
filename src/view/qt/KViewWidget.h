#pragma once
// The window of a score view on Qt: a scroll area whose viewport the view
// paints through a backing image, with real scroll bars, the caret painted
// over the picture, window timers, a measuring device context and the place
// of its child frame. It owns its CStavlinView and forwards to it what the
// view handles: size, focus, timers, scrolling (scroll bars, the wheel) and
// the keyboard, turned into the view's key-down, system-key and character
// calls by a KQtKeyAdapter. Over the picture it paints what the view keeps
// as overlay state: the caret's ledger-line hint and the caret.

#include <QAbstractScrollArea>
#include <QImage>
#include <QRegion>
#include <QTimer>
#include <functional>
#include <memory>

#include "platform/qt/KQtTimerHost.h"
#include "view/ViewHost.h"
#include "view/qt/KQtCursors.h"
#include "view/qt/KQtKeyAdapter.h"
#include "view/qt/KQtTracker.h"

class CDC;
class CStavlinDoc;
class CStavlinView;

class KViewWidget : public QAbstractScrollArea, public KViewHost {
 public:
  // Makes the view of the document in this window; frame may be null.
  KViewWidget(CStavlinDoc* document, KFrameServices* frame, QWidget* parent = nullptr);
  ~KViewWidget() override;
  KViewWidget(const KViewWidget&) = delete;
  KViewWidget& operator=(const KViewWidget&) = delete;

  CStavlinView& View() const { return *m_view; }

  // What closing the document means to the window that holds this one; run
  // once the current command is done. Without one the enclosing child window
  // is asked to close.
  void SetCloseDocumentHandler(std::function<void()> handler) { m_closeDocument = std::move(handler); }

  // Lines a wheel notch scrolls.
  static constexpr int kWheelLines = 3;
  // Caret blink half-period in milliseconds.
  static constexpr int kCaretBlinkMs = 530;
  // The horizontal scroll range grows and shrinks in steps of this many pixels.
  static constexpr int kWidthStep = 128;

  // ---- KViewHost ----------------------------------------------------------------
  RECT GetClientRect() const override;
  void SetScrollSizes(SIZE total, SIZE page, SIZE line) override;
  SIZE GetTotalSize() const override { return m_total; }
  POINT GetScrollPosition() const override;
  void ScrollToPosition(POINT position) override;
  void InvalidateRect(const RECT* rect, BOOL erase) override;
  KCaret& Caret() override { return m_caret; }
  TimerHost& Timers() override { return m_timers; }
  void SetCursorId(int id) override;
  int CursorId() const { return m_cursorId; }
  CDC* GetMeasureDC() override;
  void PostCloseDocument() override;
  void PlaceChildFrame(int x, int y, int width, int height) override;
  RECT GetChildFrameRect() const override;
  CString GetWindowTitle() const override;
  KFrameServices* Frame() override { return m_frame; }
  // The score's window comes to the front with the keyboard (after playing
  // from the play window, say).
  void TakeFocus() override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void wheelEvent(QWheelEvent* event) override;
  bool event(QEvent* event) override;
  // The extended-object tracker and placement clicks take their mouse
  // events here, before the ordinary mouse handlers.
  bool viewportEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  // The mouse: buttons, moves and double clicks go to the view with window
  // coordinates and the MK_ key-state flags.
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  // Scroll-bar ranges from the logical size and the viewport's size.
  void UpdateScrollBars();
  // Scrolls by a number of pixels through the view (which aligns and repaints).
  void ScrollBy(int dx, int dy);
  // The caret's rectangle needs repainting (moved, shown, hidden, blinked).
  // A caret that moved or changed shows at once and blinks from there on.
  void CaretChanged(bool restartBlink = true);
  // On a staff or tablature line the caret carries a mark across its column
  // at its height, where the next note goes: empty elsewhere.
  QRect SlotMark() const;
  QWidget* ChildFrameWindow() const;
  // A scroll bar's request goes to the view, which decides where it lands.
  void ScrollBarAction(Qt::Orientation orientation, int action);
  // The view's mouse handlers are done: the frame follows the view's state.
  void AfterMouseInput();
  // The caret's ledger-line hint, over the score on the device context.
  void PaintLedgerHint(CDC& dc) const;

  KFrameServices* m_frame;
  KCaret m_caret;
  KQtTimerHost m_timers;
  std::unique_ptr<CStavlinView> m_view;
  SIZE m_total{0, 0};
  SIZE m_page{0, 0};
  SIZE m_line{0, 0};
  bool m_scrollingFromView = false;
  QImage m_backing;
  QImage m_measureImage;
  std::unique_ptr<CDC> m_measureDC;
  QRect m_caretPainted;    // where the caret (and its slot mark) was last drawn (empty: nowhere)
  QRegion m_pendingPaint;  // asked to be repainted and not painted yet
  QTimer m_blink;
  bool m_blinkOn = true;
  int m_cursorId = 0;
  std::function<void()> m_closeDocument;
  KQtKeyAdapter m_keys;
  KQtCursors m_cursors;
  QPoint m_wheelRest;                     // wheel turns short of a whole notch
  std::unique_ptr<KQtTracker> m_tracker;  // made with the view
};
