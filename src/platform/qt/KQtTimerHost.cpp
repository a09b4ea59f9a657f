#include "platform/qt/KQtTimerHost.h"

#include <QTimerEvent>
#include <algorithm>

KQtTimerHost::~KQtTimerHost() {
  for (const auto& [id, qtTimer] : m_qtTimers) killTimer(qtTimer);
}

UINT_PTR KQtTimerHost::SetTimer(UINT_PTR id, UINT elapseMs) {
  KillTimer(id);
  const int qtTimer = startTimer(static_cast<int>(std::min<UINT>(elapseMs, 0x7FFFFFFF)));
  if (qtTimer == 0) return 0;
  m_qtTimers[id] = qtTimer;
  return id;
}

BOOL KQtTimerHost::KillTimer(UINT_PTR id) {
  const auto it = m_qtTimers.find(id);
  if (it == m_qtTimers.end()) return FALSE;
  killTimer(it->second);
  m_qtTimers.erase(it);
  return TRUE;
}

void KQtTimerHost::timerEvent(QTimerEvent* event) {
  for (const auto& [id, qtTimer] : m_qtTimers) {
    if (qtTimer == event->timerId()) {
      Deliver(id);  // the handler may set or kill timers: the loop ends here
      return;
    }
  }
  QObject::timerEvent(event);
}
