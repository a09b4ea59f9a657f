#pragma once
// Window timers as the view uses them (SetTimer/KillTimer by id, ticks
// delivered to its OnTimer): a host interface, implemented on Qt by
// KQtTimerHost, and a fake whose ticks tests fire by hand.

#include "platform/WinTypes.h"

#include <cstdint>
#include <functional>
#include <map>
#include <utility>

using UINT_PTR = std::uintptr_t;

class TimerHost {
 public:
  using Handler = std::function<void(UINT_PTR id)>;

  virtual ~TimerHost() = default;

  // Where the ticks go (the view's OnTimer).
  void SetHandler(Handler handler) { m_handler = std::move(handler); }

  // Starts timer id with the interval, or restarts it when it runs. Returns
  // the id, or 0 when no timer is to be had (the caller may ask again).
  virtual UINT_PTR SetTimer(UINT_PTR id, UINT elapseMs) = 0;
  // Stops timer id; FALSE when it was not running.
  virtual BOOL KillTimer(UINT_PTR id) = 0;

 protected:
  void Deliver(UINT_PTR id) {
    if (m_handler) m_handler(id);
  }

 private:
  Handler m_handler;
};

class FakeTimerHost : public TimerHost {
 public:
  UINT_PTR SetTimer(UINT_PTR id, UINT elapseMs) override {
    ++m_setCalls;
    if (m_failures > 0) {
      --m_failures;
      return 0;
    }
    m_running[id] = elapseMs;
    return id;
  }

  BOOL KillTimer(UINT_PTR id) override { return m_running.erase(id) ? TRUE : FALSE; }

  bool IsRunning(UINT_PTR id) const { return m_running.count(id) != 0; }
  // The interval of a running timer, 0 when it does not run.
  UINT Interval(UINT_PTR id) const {
    const auto it = m_running.find(id);
    return it == m_running.end() ? 0 : it->second;
  }

  // One tick of a running timer, as if its interval had passed; false (and no
  // tick) when it does not run.
  bool Fire(UINT_PTR id) {
    if (!IsRunning(id)) return false;
    Deliver(id);
    return true;
  }

  // The next count SetTimer calls fail, as when no system timer is free.
  void FailNextSetTimers(int count) { m_failures = count; }
  int SetTimerCalls() const { return m_setCalls; }

 private:
  std::map<UINT_PTR, UINT> m_running;
  int m_failures = 0;
  int m_setCalls = 0;
};
