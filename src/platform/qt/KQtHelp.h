#pragma once
// The help port of the Qt shell: one help window, a QTextBrowser without a
// parent (so it stays open when the dialog that opened it closes), showing
// the topic's page <help folder>/<topic>.html.

#include <QString>
#include <memory>

#include "platform/HelpPort.h"

class QTextBrowser;

class KQtHelp : public HelpPort {
 public:
  // The folder of the help pages; by default resources/help.
  explicit KQtHelp(QString helpFolder = QString());
  ~KQtHelp() override;

  void ShowTopic(std::string_view topic) override;

  // The folder the pages are read from.
  void SetFolder(QString folder) { m_folder = std::move(folder); }
  const QString& Folder() const { return m_folder; }

  // The help window, once a topic has been shown.
  QTextBrowser* Window() const { return m_window.get(); }

 private:
  QString m_folder;
  std::unique_ptr<QTextBrowser> m_window;
};
