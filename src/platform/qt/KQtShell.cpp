#include "platform/qt/KQtShell.h"

#include "platform/qt/QtText.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

bool KQtShell::IsSafeLink(const QUrl& url) {
  if (!url.isValid()) return false;
  const QString scheme = url.scheme().toLower();
  if (scheme == u"http" || scheme == u"https" || scheme == u"ftp" || scheme == u"mailto") return true;
  if (scheme != u"file") return false;
  const QFileInfo file(url.toLocalFile());
  if (!file.exists()) return false;
  if (file.isDir()) return true;
  return !file.isExecutable() && file.suffix().compare(u"desktop", Qt::CaseInsensitive) != 0;
}

bool KQtShell::OpenLink(std::string_view target) {
  const QString text = ToQString(target).trimmed();
  if (text.isEmpty()) return false;
  const QUrl url = QUrl::fromUserInput(text);
  return IsSafeLink(url) && QDesktopServices::openUrl(url);
}
