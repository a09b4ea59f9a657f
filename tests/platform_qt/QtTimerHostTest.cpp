#include "platform/qt/KQtTimerHost.h"

#include "WidgetTestApp.h"

#include <gtest/gtest.h>

#include <QEventLoop>
#include <QTimer>
#include <vector>

namespace {

TEST(QtTimerHost, TicksArriveFromTheEventLoopUntilKilled) {
  WidgetTestApp();
  KQtTimerHost host;
  QEventLoop loop;
  std::vector<UINT_PTR> ticks;
  host.SetHandler([&](UINT_PTR id) {
    ticks.push_back(id);
    if (ticks.size() == 3) {
      EXPECT_TRUE(host.KillTimer(id));
      QTimer::singleShot(30, &loop, &QEventLoop::quit);  // time for a stray tick to show up
    }
  });
  EXPECT_EQ(host.SetTimer(1111, 5), 1111u);
  QTimer::singleShot(5000, &loop, &QEventLoop::quit);  // safety net
  loop.exec();
  EXPECT_EQ(ticks, (std::vector<UINT_PTR>{1111, 1111, 1111}));
  EXPECT_FALSE(host.KillTimer(1111));
}

TEST(QtTimerHost, SettingATimerAgainReplacesIt) {
  WidgetTestApp();
  KQtTimerHost host;
  QEventLoop loop;
  int ticks = 0;
  host.SetHandler([&](UINT_PTR) {
    ++ticks;
    loop.quit();
  });
  host.SetTimer(2222, 60000);
  host.SetTimer(2222, 1);  // the long timer is gone, only the short one runs
  QTimer::singleShot(5000, &loop, &QEventLoop::quit);
  loop.exec();
  EXPECT_EQ(ticks, 1);
  EXPECT_TRUE(host.KillTimer(2222));
  EXPECT_FALSE(host.KillTimer(2222));
}

}  // namespace
