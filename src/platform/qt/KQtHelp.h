#pragma once
// The help port of the Qt shell: one help window, a QTextBrowser showing the
// topic's page <help folder>/<topic>.html. The window belongs to the
// program's main window (a window of its own, kept over it, centred on it
// when it first opens, gone when the main window closes); without a main
// window it stands alone. Escape closes it.

#include <QPointer>
#include <QString>
#include <QTextBrowser>
#include <utility>

#include "platform/HelpPort.h"

class QWidget;

class KQtHelp : public HelpPort {
 public:
  // The folder of the help pages; by default resources/help.
  explicit KQtHelp(QString helpFolder = QString());
  ~KQtHelp() override;
  KQtHelp(const KQtHelp&) = delete;
  KQtHelp& operator=(const KQtHelp&) = delete;

  void ShowTopic(std::string_view topic) override;

  // The folder the pages are read from.
  void SetFolder(QString folder) { m_folder = std::move(folder); }
  const QString& Folder() const { return m_folder; }

  // The help window, once a topic has been shown (and while it exists).
  QTextBrowser* Window() const { return m_window.data(); }

  // The window help windows belong to; by default the application's main
  // window (its one visible QMainWindow) when the first help window opens.
  void SetOwner(QWidget* owner) { m_owner = owner; }

 private:
  QWidget* Owner() const;

  QString m_folder;
  QPointer<QWidget> m_owner;
  QPointer<QTextBrowser> m_window;
};
