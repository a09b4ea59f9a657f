#include "platform/qt/KQtHelp.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QKeySequence>
#include <QMainWindow>
#include <QPointer>
#include <QShortcut>
#include <QTextBrowser>
#include <QUrl>

#include "platform/qt/QtText.h"

namespace {

// Topic names are identifiers; anything else (a path, a blank) names no page.
bool IsTopicName(const QString& topic) {
  if (topic.isEmpty()) return false;
  for (const QChar c : topic) {
    if (!(c.isLetterOrNumber() && c.unicode() < 128) && c != u'_') return false;
  }
  return true;
}

// Keeps a help window asked for from a modal dialog in front of that dialog
// and usable while it is open (a window of the dialog's own, which the
// dialog's modality does not block); when the dialog hides, the help window
// goes back to its owner and stays open.
class ModalHelpKeeper : public QObject {
 public:
  ModalHelpKeeper(QWidget* help, QWidget* modal, QWidget* owner)
      : QObject(help), m_help(help), m_modal(modal), m_owner(owner) {
    modal->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == m_modal && event->type() == QEvent::Hide) Release();
    return false;
  }

 private:
  void Release() {
    if (m_modal != nullptr) m_modal->removeEventFilter(this);
    QWidget* help = m_help;
    QWidget* owner = m_owner;
    const QRect place = help->geometry();
    const bool shown = help->isVisible();
    help->setParent(owner, help->windowFlags() | Qt::Window);
    help->setGeometry(place);
    if (shown) help->show();
    deleteLater();
  }

  QPointer<QWidget> m_help;
  QPointer<QWidget> m_modal;
  QPointer<QWidget> m_owner;
};

}  // namespace

KQtHelp::KQtHelp(QString helpFolder)
    : m_folder(helpFolder.isEmpty() ? QStringLiteral(STAVLIN_RESOURCE_DIR "/help") : std::move(helpFolder)) {}

KQtHelp::~KQtHelp() {
  // A window of its own goes with the port; one that belongs to the main
  // window goes with it.
  if (m_window != nullptr && m_window->parentWidget() == nullptr) delete m_window.data();
}

QWidget* KQtHelp::Owner() const {
  if (m_owner != nullptr) return m_owner;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (qobject_cast<QMainWindow*>(widget) != nullptr && widget->isVisible()) return widget;
  }
  return nullptr;
}

void KQtHelp::ShowTopic(std::string_view topic) {
  const bool opening = m_window == nullptr;
  if (opening) {
    QWidget* owner = Owner();
    m_window = new QTextBrowser(owner);
    m_window->setWindowFlag(Qt::Window);
    m_window->setAttribute(Qt::WA_DeleteOnClose);
    m_window->setOpenExternalLinks(true);
    m_window->resize(640, 480);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), m_window);
    escape->setContext(Qt::WindowShortcut);
    QObject::connect(escape, &QShortcut::activated, m_window, &QWidget::close);
    if (owner != nullptr) {
      const QRect over = owner->frameGeometry();
      m_window->move(over.center() - QPoint(m_window->width() / 2, m_window->height() / 2));
    }
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
  // Asked for from a modal dialog (its Help button or F1): the window
  // belongs to the dialog while the dialog is open.
  QWidget* modal = QApplication::activeModalWidget();
  if (modal != nullptr && modal != m_window && m_window->parentWidget() != modal) {
    const QRect place = m_window->geometry();
    const bool placed = !opening;
    QWidget* owner = m_window->parentWidget();
    m_window->setParent(modal, m_window->windowFlags() | Qt::Window);
    if (placed) {
      m_window->setGeometry(place);
    } else {
      const QRect over = modal->frameGeometry();
      m_window->move(over.center() - QPoint(m_window->width() / 2, m_window->height() / 2));
    }
    new ModalHelpKeeper(m_window, modal, owner);
  }
  m_window->show();
  m_window->raise();
  m_window->activateWindow();
}
