// Waiting in a test for what the window system delivers through the event
// loop (activation, focus, a pointer's move). QTest's QTRY_ macros must not be
// used under GoogleTest: when their time runs out they return from the test
// without telling GoogleTest, so the test passes.
#pragma once

#include <QtTest/QTest>

namespace stavlin_test {

// Runs the event loop until the condition holds or the time runs out; says
// whether it holds.
template <class Condition>
bool WaitFor(Condition condition, int timeoutMs = 3000) {
  return QTest::qWaitFor(condition, timeoutMs);
}

}  // namespace stavlin_test
