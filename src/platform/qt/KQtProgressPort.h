#pragma once
// The progress window of long passes on Qt: a modeless "In Progress..." box
// with the pass's text, a bar and a Stop button. It is not made modal: an
// import runs its passes one after another, and a modal box opened while the
// window system hands the keyboard back from the one before makes Qt pass
// that hand-over on to the new box, which is gone a moment later; the main
// window would keep the keyboard on the X server while Qt thought no window
// active, and its menus would not answer Alt. Polling lets Qt deliver
// what is waiting (painting, the box's own input) while an event filter keeps
// every input event for other windows (keys, clicks, shortcuts, drops,
// closing) away from them, so that no command of the program runs in the
// middle of a pass. The key s, S or space, or a click on the box, asks the
// pass to stop, as the Stop button does.

#include <QObject>
#include <QPointer>
#include <QWidget>

#include "platform/ProgressPort.h"

class QProgressDialog;

class KQtProgressPort : public QObject, public ProgressPort {
 public:
  KQtProgressPort();
  ~KQtProgressPort() override;

  void Open(const CString& text) override;
  void SetText(const CString& text) override;
  void SetPercent(int percent) override;
  bool PollStop() override;
  void Close() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool InBox(QObject* object) const;

  QPointer<QProgressDialog> m_box;
  // The window that was active when the box opened: it is active again when
  // the box goes, so that its menus and keys answer at once.
  QPointer<QWidget> m_before;
  bool m_stop = false;
  int m_depth = 0;
};
