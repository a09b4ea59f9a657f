// The main frame's status bar: the prompt pane, then the seven information
// panes, each as wide as its longest text, filled from the active view's
// mirrors; the clock pane follows the time every few seconds.

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QStatusBar>

#include "app/CMainFrame.h"
#include "doc/pref_values/Preferences.h"
#include "platform/StringTable.h"
#include "platform/qt/QtText.h"
#include "view/commands/StatusPanes.h"

namespace {

// The text each pane must have room for, in the order of StatusPaneIds().
const char* WidthText(UINT id) {
  switch (id) {
    case 5600:
      return "AS";
    case 5603:
      return "WBJSi";
    case 5601:
      return "P 999, L 9999, C 999";
    case 5602:
      return "Scrl 23 ln/22 s";
    case 5604:
      return "ASave OFF";
    case 5605:
      return "OVR";
    default:
      return "12:34 PM";
  }
}

constexpr int kClockTickMs = 5000;
constexpr UINT kBarWordId = 8075;

}  // namespace

void CMainFrame::BuildStatusBar() {
  QStatusBar* bar = statusBar();
  for (UINT id : StatusPaneIds()) {
    auto* pane = new QLabel(bar);
    pane->setObjectName(QStringLiteral("pane%1").arg(id));
    pane->setAlignment(Qt::AlignCenter);
    pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    const QFontMetrics metrics(pane->font());
    pane->setMinimumWidth(metrics.horizontalAdvance(QString::fromLatin1(WidthText(id))) + 8);
    bar->addPermanentWidget(pane);
    m_panes.push_back(pane);
  }
  m_clock.setInterval(kClockTickMs);
  connect(&m_clock, &QTimer::timeout, this, [this] { UpdateStatusBar(); });
  m_clock.start();
  UpdateStatusBar();
}

void CMainFrame::UpdateStatusBar() {
  KStatusInputs inputs;
  inputs.childActive = ActiveChild() != nullptr;
  inputs.clockOn = g_prefToolViewOptions.clock != 0;
  inputs.twentyFourHour = LoadString(kBarWordId) != "Bar";
  inputs.time = LocalClockTime();
  const std::vector<UINT>& ids = StatusPaneIds();
  for (size_t i = 0; i < ids.size() && i < m_panes.size(); ++i) {
    const KStatusPane pane = StatusPaneText(ids[i], g_viewMirrors, inputs);
    m_panes[i]->setText(pane.enabled ? ToQString(pane.text.Str()) : QString());
  }
}

std::vector<QString> CMainFrame::StatusPaneTexts() const {
  std::vector<QString> texts;
  for (const QLabel* pane : m_panes) texts.push_back(pane->text());
  return texts;
}

void CMainFrame::SetStatusMessage(const CString& text) {
  QStatusBar* bar = statusBar();
  if (text.IsEmpty()) {
    bar->clearMessage();
  } else {
    bar->showMessage(ToQString(text.Str()));
  }
  // Shown now: the command that asked runs on without returning to the loop.
  bar->repaint();
}

void CMainFrame::BeginWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }

void CMainFrame::EndWaitCursor() { QApplication::restoreOverrideCursor(); }
