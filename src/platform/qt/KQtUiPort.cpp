#include "platform/qt/KQtUiPort.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QPushButton>
#include <map>

#include "platform/ModalDialog.h"
#include "platform/StringTable.h"
#include "platform/qt/KQtDialogBinder.h"
#include "platform/qt/KQtFontColourDialog.h"
#include "platform/qt/KQtPrinting.h"
#include "platform/qt/KQtPropertySheetBinder.h"
#include "platform/qt/KQtImageDC.h"
#include "platform/qt/QtText.h"

namespace {

// The Qt button for one Windows answer; buttons Qt has no standard one for
// get their Windows caption.
QAbstractButton* AddButton(QMessageBox& box, int id) {
  switch (id) {
    case IDOK:
      return box.addButton(QMessageBox::Ok);
    case IDCANCEL:
      return box.addButton(QMessageBox::Cancel);
    case IDABORT:
      return box.addButton(QMessageBox::Abort);
    case IDRETRY:
      return box.addButton(QMessageBox::Retry);
    case IDIGNORE:
      return box.addButton(QMessageBox::Ignore);
    case IDYES:
      return box.addButton(QMessageBox::Yes);
    case IDNO:
      return box.addButton(QMessageBox::No);
    case IDTRYAGAIN:
      return box.addButton(QStringLiteral("&Try Again"), QMessageBox::AcceptRole);
    case IDCONTINUE:
      return box.addButton(QStringLiteral("&Continue"), QMessageBox::AcceptRole);
    default:
      return nullptr;
  }
}

QString Title() {
  const std::string_view name = StringTableText(125);
  return name.empty() ? QStringLiteral("Stavlin") : ToQString(name);
}

}  // namespace

QMessageBox::Icon KQtUiPort::IconOf(UINT type) {
  switch (type & MB_ICONMASK) {
    case MB_ICONHAND:
      return QMessageBox::Critical;
    case MB_ICONQUESTION:
      return QMessageBox::Question;
    case MB_ICONEXCLAMATION:
      return QMessageBox::Warning;
    case MB_ICONASTERISK:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

int KQtUiPort::ShowMessageBox(const MessageBoxRequest& request) {
  QMessageBox box(IconOf(request.type), Title(), ToQString(request.text), QMessageBox::NoButton,
                  QApplication::activeWindow());
  box.setTextFormat(Qt::PlainText);
  std::map<QAbstractButton*, int> answers;
  for (const int id : MessageBoxButtons(request.type)) {
    if (QAbstractButton* button = AddButton(box, id)) answers[button] = id;
  }
  const int defaultId = MessageBoxDefaultButton(request.type);
  for (const auto& [button, id] : answers) {
    if (id == defaultId) box.setDefaultButton(qobject_cast<QPushButton*>(button));
    if (id == IDCANCEL) box.setEscapeButton(button);
  }
  box.exec();
  if (const auto it = answers.find(box.clickedButton()); it != answers.end()) return it->second;
  // Closed without a button (only possible where Escape means Cancel or OK).
  return answers.size() == 1 ? answers.begin()->second : IDCANCEL;
}

void KQtUiPort::Beep(UINT) { QApplication::beep(); }

int KQtUiPort::RunModal(KModalDialog& dialog) {
  if (m_dialogRunner) return m_dialogRunner(dialog, QApplication::activeWindow());
  return KQtDialogBinder::Run(dialog, QApplication::activeWindow());
}

bool KQtUiPort::ChooseFontWithColour(LOGFONT& font, COLORREF& colour) {
  return KQtFontColourDialog::Choose(font, colour, QApplication::activeWindow());
}

bool KQtUiPort::GetSaveFileName(KSaveFileRequest& request) {
  QFileDialog dialog(QApplication::activeWindow(), ToQString(request.title));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  QStringList filters;
  for (const KFileFilter& filter : request.filters) filters << ToQString(filter.name);
  dialog.setNameFilters(filters);
  if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
    dialog.selectNameFilter(filters[request.filterIndex - 1]);
  if (!request.folder.IsEmpty()) dialog.setDirectory(QString::fromStdString(request.folder.ToUtf8()));
  if (!request.fileName.IsEmpty()) dialog.selectFile(QString::fromStdString(request.fileName.ToUtf8()));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  request.fileName = CString::FromUtf8(dialog.selectedFiles().front().toStdString());
  request.filterIndex = static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1;
  if (request.filterIndex < 1) request.filterIndex = 1;
  return true;
}

bool KQtUiPort::BrowseForFolder(const CString& title, CString& folder) {
  const QString chosen = QFileDialog::getExistingDirectory(
      QApplication::activeWindow(), ToQString(title.Str()), QString::fromStdString(folder.ToUtf8()));
  if (chosen.isEmpty()) return false;
  folder = CString::FromUtf8(chosen.toStdString());
  return true;
}

int KQtUiPort::RunPropertySheet(KPropertySheet& sheet) {
  return KQtPropertySheetBinder::Run(sheet, QApplication::activeWindow());
}

bool KQtUiPort::Print(KPrintJob& job, KPrintKind kind) {
  if (kind == KPrintKind::kPreview) return qt_printing::Preview(job, QApplication::activeWindow());
  return qt_printing::PrintWithDialog(job, QApplication::activeWindow());
}

bool KQtUiPort::PrintSetup() { return qt_printing::PageSetup(QApplication::activeWindow()); }
std::unique_ptr<CDC> KQtUiPort::CreatePictureDC() {
  // The memory contexts made from it paint into their bitmaps; the image
  // itself is never drawn on.
  static QImage unused(1, 1, QImage::Format_RGB32);
  return std::make_unique<KQtImageDC>(unused);
}
