#include "app/KTextFrame.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QPlainTextEdit>

#include "platform/UiPort.h"
#include "platform/qt/QtText.h"

namespace {
constexpr int kDefaultWidth = 500;
constexpr int kDefaultHeight = 350;
constexpr const char* kSaveChangesText = "Save changes to %1?";
}  // namespace

KTextFrame::KTextFrame(std::unique_ptr<KTextDoc> document, SavePrompt prompt, QWidget* parent)
    : QMdiSubWindow(parent),
      m_document(std::move(document)),
      m_prompt(std::move(prompt)),
      m_edit(new QPlainTextEdit) {
  setAttribute(Qt::WA_DeleteOnClose);
  m_edit->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  m_edit->setLineWrapMode(QPlainTextEdit::NoWrap);
  m_edit->setPlainText(QString::fromStdString(m_document->Text()));
  m_edit->document()->setModified(m_document->IsModified());
  connect(m_edit->document(), &QTextDocument::modificationChanged, this, [this](bool) { UpdateTitle(); });
  setWidget(m_edit);
  resize(kDefaultWidth, kDefaultHeight);
  UpdateTitle();
}

KTextFrame::~KTextFrame() { m_closing = true; }

KTextDoc& KTextFrame::Document() {
  // The editor holds the text while it is edited.
  if (m_edit->document()->isModified()) {
    m_document->SetText(m_edit->toPlainText().toStdString());
  } else {
    m_document->SetModifiedFlag(false);
  }
  return *m_document;
}

bool KTextFrame::SaveTo(const CString& path) {
  KTextDoc& document = Document();
  CString message;
  if (!document.Save(path.ToUtf8(), message)) {
    AfxMessageBox(message, MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  m_edit->document()->setModified(false);
  UpdateTitle();
  return true;
}

bool KTextFrame::Save() {
  if (m_document->GetPathName().empty()) return SaveAs();
  return SaveTo(CString::FromUtf8(m_document->GetPathName()));
}

bool KTextFrame::SaveAs() {
  if (!m_prompt) return false;
  const CString suggested = CString::FromUtf8(m_document->GetPathName().empty() ? m_document->GetTitle()
                                                                                : m_document->GetPathName());
  const CString path = m_prompt(suggested);
  return !path.IsEmpty() && SaveTo(path);
}

bool KTextFrame::QueryClose() {
  if (m_asked) return true;
  if (Document().IsModified()) {
    CString text;
    const CString name = CString::FromUtf8(m_document->GetTitle());
    const LPCTSTR args[1] = {name};
    AfxFormatStrings(text, kSaveChangesText, args, 1);
    switch (AfxMessageBox(text, MB_YESNOCANCEL | MB_ICONEXCLAMATION)) {
      case IDCANCEL:
        return false;
      case IDYES:
        if (!Save()) return false;
        break;
      default:
        break;
    }
  }
  m_asked = true;
  return true;
}

void KTextFrame::CloseWithoutAsking() {
  m_asked = true;
  close();
}

void KTextFrame::closeEvent(QCloseEvent* event) {
  if (!QueryClose()) {
    event->ignore();
    return;
  }
  m_closing = true;
  event->accept();
  QMdiSubWindow::closeEvent(event);
}

void KTextFrame::UpdateTitle() {
  QString title = QString::fromStdString(m_document->GetTitle());
  if (m_edit->document()->isModified()) title += QStringLiteral(" *");
  setWindowTitle(title);
}
