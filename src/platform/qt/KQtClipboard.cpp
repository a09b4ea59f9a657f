#include "platform/qt/KQtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <memory>

#include "platform/qt/QtText.h"

namespace {

QClipboard* Desktop() { return QGuiApplication::clipboard(); }

}  // namespace

KQtClipboard::KQtClipboard() { Watch(); }

bool KQtClipboard::Watch() {
  if (m_changed) return true;
  QClipboard* desktop = QGuiApplication::instance() != nullptr ? Desktop() : nullptr;
  if (desktop == nullptr) return false;
  m_changed = QObject::connect(desktop, &QClipboard::dataChanged, [this] { m_holds.clear(); });
  return static_cast<bool>(m_changed);
}

KQtClipboard::~KQtClipboard() { QObject::disconnect(m_changed); }

QString KQtClipboard::MimeTypeOf(UINT format) {
  return QStringLiteral("application/x-qt-windows-mime;value=\"%1\"")
      .arg(ToQString(ClipboardPort::FormatName(format)));
}

void KQtClipboard::EmptyStore() {
  m_holds.clear();
  Desktop()->clear();
}

bool KQtClipboard::Store(UINT format, std::vector<BYTE> bytes) {
  // The desktop clipboard takes whole sets of formats: keep what is there and
  // add or replace this one.
  auto data = std::make_unique<QMimeData>();
  if (const QMimeData* current = Desktop()->mimeData()) {
    for (const QString& type : current->formats()) data->setData(type, current->data(type));
  }
  if (format == CF_TEXT) {
    QString text = ToQString(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    data->setText(text);
  } else {
    data->setData(MimeTypeOf(format), QByteArray(reinterpret_cast<const char*>(bytes.data()),
                                                 static_cast<qsizetype>(bytes.size())));
  }
  m_holds.clear();
  Desktop()->setMimeData(data.release());
  return true;
}

std::optional<std::vector<BYTE>> KQtClipboard::Fetch(UINT format) {
  const QMimeData* data = Desktop()->mimeData();
  if (!data) return std::nullopt;
  if (format == CF_TEXT) {
    if (!data->hasText()) return std::nullopt;
    // Other programs end lines with LF, CR LF or a lone CR; the core reads
    // CR LF.
    QString text = data->text();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    const std::string bytes = FromQString(text);
    return std::vector<BYTE>(bytes.begin(), bytes.end());
  }
  const QString type = MimeTypeOf(format);
  if (!data->hasFormat(type)) return std::nullopt;
  const QByteArray bytes = data->data(type);
  return std::vector<BYTE>(bytes.begin(), bytes.end());
}

bool KQtClipboard::Holds(UINT format) {
  // Answers are kept only while the clipboard's changes are heard.
  const bool watched = Watch();
  if (const auto kept = m_holds.find(format); watched && kept != m_holds.end()) return kept->second;
  const QMimeData* data = Desktop()->mimeData();
  const bool holds =
      data != nullptr && (format == CF_TEXT ? data->hasText() : data->hasFormat(MimeTypeOf(format)));
  if (watched) m_holds[format] = holds;
  return holds;
}
