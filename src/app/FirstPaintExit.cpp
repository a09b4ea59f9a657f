#include "app/FirstPaintExit.h"

#include <unistd.h>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "view/qt/KViewWidget.h"

namespace {

// The score views of every window, shown or not.
std::vector<KViewWidget*> AllViews() {
  std::vector<KViewWidget*> views;
  for (QWidget* top : QApplication::topLevelWidgets()) {
    for (QAbstractScrollArea* area : top->findChildren<QAbstractScrollArea*>()) {
      if (auto* view = dynamic_cast<KViewWidget*>(area)) views.push_back(view);
    }
  }
  return views;
}

// The score view whose viewport this is, or null.
KViewWidget* ViewOfViewport(QObject* object) {
  auto* widget = qobject_cast<QWidget*>(object);
  if (widget == nullptr) return nullptr;
  auto* view = dynamic_cast<KViewWidget*>(widget->parentWidget());
  return view != nullptr && view->viewport() == widget ? view : nullptr;
}

constexpr const char* kPaintedProperty = "stavlinFirstPaintSeen";

}  // namespace

KFirstPaintExit::KFirstPaintExit() : QObject(QApplication::instance()) {}

KFirstPaintExit* KFirstPaintExit::InstallFromEnvironment() {
  const char* value = std::getenv(kVariable);
  if (value == nullptr || std::strcmp(value, "1") != 0 || QApplication::instance() == nullptr) return nullptr;
  auto* probe = new KFirstPaintExit;
  QApplication::instance()->installEventFilter(probe);
  return probe;
}

double KFirstPaintExit::MillisecondsSinceProcessStart() {
  // Field 22 of /proc/self/stat: the start time in clock ticks since boot.
  // The command name (field 2) may hold blanks, so count from its ")".
  std::ifstream stat("/proc/self/stat");
  std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  const std::size_t close = text.rfind(')');
  if (close == std::string::npos) return -1;
  std::istringstream fields(text.substr(close + 1));
  std::string field;
  unsigned long long startTicks = 0;
  for (int index = 3; index <= 22 && fields >> field; ++index) {
    if (index == 22) startTicks = std::strtoull(field.c_str(), nullptr, 10);
  }
  const long ticksPerSecond = ::sysconf(_SC_CLK_TCK);
  timespec now{};
  if (startTicks == 0 || ticksPerSecond <= 0 || ::clock_gettime(CLOCK_BOOTTIME, &now) != 0) return -1;
  const double nowMs = static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
  return nowMs - static_cast<double>(startTicks) * 1000.0 / static_cast<double>(ticksPerSecond);
}

bool KFirstPaintExit::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Paint && !m_done) {
    if (KViewWidget* view = ViewOfViewport(watched)) {
      view->setProperty(kPaintedProperty, true);
      m_viewPainted = true;
    }
    if (!m_checkPending) {
      // Queued: it runs once the paint pass under way (this event's and its
      // window's other widgets') is finished.
      m_checkPending = true;
      QTimer::singleShot(0, this, [this] { CheckDone(); });
    }
  }
  return QObject::eventFilter(watched, event);
}

void KFirstPaintExit::CheckDone() {
  m_checkPending = false;
  if (m_done) return;
  for (KViewWidget* view : AllViews()) {
    if (view->isVisible() && !view->property(kPaintedProperty).toBool()) return;  // its paint is to come
  }
  m_done = true;
  std::printf("first paint: %.1f ms (%s)\n", MillisecondsSinceProcessStart(),
              m_viewPainted ? "score view" : "main window");
  std::fflush(stdout);
  QApplication::quit();
}
