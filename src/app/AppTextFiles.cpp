// The application's side of plain-text documents: opening a file by its
// kind, New Text File, Import ABC File, handing a text to a new score, and
// the commands a text window carries out itself (saving and closing it, and
// handing its text to a score as ABC notation or as text tablature).

#include <QFileInfo>
#include <QMdiArea>

#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "app/CStavlinApp.h"
#include "app/KTextFrame.h"
#include "doc/CStavlinDoc.h"
#include "doc/pref_values/Preferences.h"
#include "platform/UiPort.h"
#include "translate/AbcReader.h"
#include "translate/KTextDoc.h"
#include "view/CStavlinView.h"
#include "view/commands/CommandIds.h"

namespace {

constexpr UINT kToTablature = cmd::kTranslateFirst + 8;  // To TAB

QString ToQStringPath(const CString& path) { return QString::fromStdString(path.ToUtf8()); }

}  // namespace

bool CStavlinApp::OpenFile(const CString& path) {
  if (IsMidiFileName(path)) return ImportMidi(path);
  if (KTextDoc::IsTextFileName(path.View())) return OpenTextFile(path, false);
  return OpenDocumentFile(path) != nullptr;
}

bool CStavlinApp::OpenTextFile(const CString& path, bool importingAbc) {
  const QString wanted = QFileInfo(ToQStringPath(path)).absoluteFilePath();
  // A text open already is shown, not read twice (unless it is to become a score).
  if (!importingAbc) {
    for (KTextFrame* window : m_frame->TextWindows()) {
      const std::string& open = window->Document().GetPathName();
      if (!open.empty() && QFileInfo(QString::fromStdString(open)).absoluteFilePath() == wanted) {
        m_frame->MdiArea()->setActiveSubWindow(window);
        return true;
      }
    }
  }
  auto document = std::make_unique<KTextDoc>();
  CString message;
  if (!document->Load(wanted.toStdString(), message)) {
    AfxMessageBox(message, MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  m_frame->RecentFiles().Add(CString::FromUtf8(wanted.toStdString()));
  m_frame->UpdateRecentFileMenu();
  const KTextDoc::KHandOver handOver =
      document->DecideHandOver(false, importingAbc, g_prefTextFiles.openAsScore != 0,
                               g_prefTextFiles.convertAbc != 0, g_prefTextFiles.autoTranslateTab != 0);
  if (handOver.toScore) {
    // The text goes to the new score; its own window is not needed.
    return HandTextToNewScore(*document, handOver.abc, handOver.tablature) != nullptr;
  }
  m_frame->AddTextWindow(std::move(document));
  return true;
}

void CStavlinApp::OnFileNewText() { m_frame->AddTextWindow(std::make_unique<KTextDoc>()); }

void CStavlinApp::OnImportAbc() {
  const QStringList filters = {QStringLiteral("ABC Files (*.abc)"), QStringLiteral("ABC Text Files (*.txt)")};
  const CString path = m_openPrompt ? m_openPrompt(g_strCurrentFolder, filters) : CString();
  if (path.IsEmpty()) return;
  OpenTextFile(path, true);
}

CChildFrame* CStavlinApp::HandTextToNewScore(const KTextDoc& document, bool abc, bool tablature) {
  // Text that holds no tune is not read as ABC: its words would become stray
  // notes of a new score.
  if (abc && !HasAbcTuneHeader(document.Text())) {
    const CString name = CString::FromUtf8(document.GetTitle());
    AfxMessageBox(
        "The file " + name +
            " is not ABC notation: it has no tune header (an \"X:\" or \"K:\" line), so no score was "
            "made from it.",
        MB_OK | MB_ICONEXCLAMATION);
    return nullptr;
  }
  OnFileNew();
  CChildFrame* child = m_frame->ActiveChild();
  CStavlinView* view = m_frame->GetActiveScoreView(true);
  if (child == nullptr || view == nullptr) return nullptr;
  view->ReceiveHandedOverText(document.TextForScore(), abc, tablature);
  // The score goes by the text file's name until it is saved.
  const CString title = CString::FromUtf8(document.ScoreTitle());
  child->Document().fileName = title;
  child->SetUntitledName(title);
  m_frame->UpdateCommandUi();
  m_frame->UpdateStatusBar();
  return child;
}

void CStavlinApp::InstallTextWindowCommands() {
  m_frame->SetTextSavePrompt(m_textSavePrompt);
  m_frame->SetTextWindowCommands(
      [](UINT id) {
        return id == cmd::kFileSave || id == cmd::kFileSaveAs || id == cmd::kFileClose ||
               id == cmd::kTranslateFromAbc || id == kToTablature;
      },
      [this](KTextFrame& window, UINT id) {
        switch (id) {
          case cmd::kFileSave:
            window.Save();
            break;
          case cmd::kFileSaveAs:
            window.SaveAs();
            break;
          case cmd::kFileClose:
            window.close();
            break;
          default:
            // The text window's text read as ABC, or its text tablature, in a
            // new score; the text window stays as it is.
            HandTextToNewScore(window.Document(), id == cmd::kTranslateFromAbc, id == kToTablature);
            break;
        }
      });
}
