#pragma once
// The one QApplication of a test program, made on first use (widgets and the
// clipboard need it) and destroyed when the tests end, before the program's
// exit handlers run: Qt cannot take its application down from those. Uses the
// application another test made, when there is one.

#include <gtest/gtest.h>

#include <QApplication>
#include <memory>
#include <stdexcept>

class WidgetTestEnvironment : public ::testing::Environment {
 public:
  static QApplication& App() {
    static int argc = 1;
    static char name[] = "stavlin-test";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) Owned() = std::make_unique<QApplication>(argc, argv);
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (!app) throw std::runtime_error("widget tests need a QApplication");
    return *app;
  }

  void TearDown() override { Owned().reset(); }

 private:
  static std::unique_ptr<QApplication>& Owned() {
    static std::unique_ptr<QApplication> owned;
    return owned;
  }
};

inline ::testing::Environment* const g_widgetTestEnvironment =
    ::testing::AddGlobalTestEnvironment(new WidgetTestEnvironment);

inline QApplication& WidgetTestApp() { return WidgetTestEnvironment::App(); }
