#include "platform/qt/KQtMidiClock.h"

#include <QTimer>
#include <algorithm>

namespace {

// Closer than this to the deadline counts as on time.
constexpr std::int64_t kOnTimeUs = 100;

class QtAlarm final : public MidiAlarm {
 public:
  QtAlarm(const MidiClock& clock, std::function<void()> wake) : m_clock(clock), m_wake(std::move(wake)) {
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { Fire(); });
  }
  void ArmAt(std::int64_t dueUs) override {
    m_due = dueUs;
    m_armed = true;
    Start();
  }
  void Cancel() override {
    m_armed = false;
    m_timer.stop();
  }
  bool IsArmed() const override { return m_armed; }

 private:
  void Start() {
    const std::int64_t left = m_due - m_clock.NowUs();
    m_timer.start(static_cast<int>(std::clamp<std::int64_t>(left / 1000, 0, 1 << 30)));
  }
  void Fire() {
    if (!m_armed) return;
    if (m_due - m_clock.NowUs() > kOnTimeUs) {
      Start();
      return;
    }
    m_armed = false;
    m_wake();
  }

  const MidiClock& m_clock;
  std::function<void()> m_wake;
  QTimer m_timer;
  std::int64_t m_due = 0;
  bool m_armed = false;
};

}  // namespace

std::unique_ptr<MidiAlarm> KQtMidiClock::NewAlarm(std::function<void()> wake) {
  return std::make_unique<QtAlarm>(*this, std::move(wake));
}
