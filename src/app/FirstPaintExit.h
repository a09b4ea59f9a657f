#pragma once
// An opt-in start-up probe for measuring the program: with the environment
// variable STAVLIN_EXIT_AFTER_FIRST_PAINT set to 1, the program prints on
// stdout how many milliseconds passed from the start of its process to the
// end of its first paint, then quits normally. The first paint is the one in
// which every open score view has painted; with no score open, the main
// window's first paint. The printed line reads
//   first paint: <ms> ms (score view|main window)
// Without the variable nothing is installed and nothing changes.

#include <QObject>

class QWidget;

class KFirstPaintExit : public QObject {
 public:
  static constexpr const char* kVariable = "STAVLIN_EXIT_AFTER_FIRST_PAINT";

  // Installs the probe on the application when the variable asks for it;
  // returns the probe (owned by the application) or null.
  static KFirstPaintExit* InstallFromEnvironment();

  // Milliseconds since this process started (from the kernel's record of the
  // start, to its clock-tick resolution); negative when it cannot be told.
  static double MillisecondsSinceProcessStart();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  KFirstPaintExit();
  // After the paint pass that included a paint: quits when no score view
  // is still waiting for its first paint.
  void CheckDone();

  bool m_checkPending = false;
  bool m_viewPainted = false;
  bool m_done = false;
};
