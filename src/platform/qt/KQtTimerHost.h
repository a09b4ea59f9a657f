#pragma once
// Window timers on Qt's event loop: each timer id is one QObject timer, and
// its ticks go to the host's handler on the user-interface thread.

#include "platform/Timers.h"

#include <QObject>
#include <map>

class KQtTimerHost : public QObject, public TimerHost {
 public:
  ~KQtTimerHost() override;

  UINT_PTR SetTimer(UINT_PTR id, UINT elapseMs) override;
  BOOL KillTimer(UINT_PTR id) override;

 protected:
  void timerEvent(QTimerEvent* event) override;

 private:
  std::map<UINT_PTR, int> m_qtTimers;  // our id -> Qt's timer id
};
