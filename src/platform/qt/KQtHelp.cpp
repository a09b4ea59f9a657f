#include "platform/qt/KQtHelp.h"

#include "platform/qt/QtText.h"

#include <QDir>
#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>

namespace {

// Topic names are identifiers; anything else (a path, a blank) names no page.
bool IsTopicName(const QString& topic) {
  if (topic.isEmpty()) return false;
  for (const QChar c : topic) {
    if (!(c.isLetterOrNumber() && c.unicode() < 128) && c != u'_') return false;
  }
  return true;
}

}  // namespace

KQtHelp::KQtHelp(QString helpFolder)
    : m_folder(helpFolder.isEmpty() ? QStringLiteral(STAVLIN_RESOURCE_DIR "/help") : std::move(helpFolder)) {}

KQtHelp::~KQtHelp() = default;

void KQtHelp::ShowTopic(std::string_view topic) {
  if (!m_window) {
    m_window = std::make_unique<QTextBrowser>();
    m_window->setOpenExternalLinks(true);
    m_window->resize(640, 480);
  }
  const QString name = ToQString(topic);
  const QString page = QDir(m_folder).filePath(name + QStringLiteral(".html"));
  if (IsTopicName(name) && QFileInfo(page).isFile()) {
    m_window->setSearchPaths({m_folder});
    m_window->setSource(QUrl::fromLocalFile(page));
    m_window->setWindowTitle(m_window->documentTitle().isEmpty() ? name : m_window->documentTitle());
  } else {
    m_window->setHtml(
        QStringLiteral("<p>There is no help page for the topic \"%1\".</p>").arg(name.toHtmlEscaped()));
    m_window->setWindowTitle(QStringLiteral("Stavlin Help"));
  }
  m_window->show();
  m_window->raise();
  m_window->activateWindow();
}
