// The commands the application carries out itself: new, open, close, save,
// save as, exit, the recent files, About Current Score and help.

#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <filesystem>
#include <system_error>

#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "app/CStavlinApp.h"
#include "app/KTextFrame.h"
#include "common/Globals.h"
#include "common/HelpTopics.h"
#include "dialogs/KDlgAboutCurrentScore.h"
#include "dialogs/KDlgHelpWindows.h"
#include "doc/CStavlinDoc.h"
#include "doc/CStavlinDocGlobals.h"
#include "doc/pref_values/Preferences.h"
#include "platform/StringTable.h"
#include "platform/UiPort.h"
#include "translate/KTextDoc.h"
#include "view/CStavlinView.h"
#include "view/commands/CommandIds.h"
#include "view/commands/CommandTable.h"
#include "view/core/ViewMirrors.h"
#include "view/qt/KViewWidget.h"

namespace {

constexpr int kTextLineType = 5;
constexpr int kNewScoreInsertion = 1111;
constexpr UINT kYesWord = 8153;
constexpr UINT kNoWord = 8154;

// The folder part of a path; empty when it has none.
CString FolderOf(const CString& path) {
  const int slash = path.ReverseFind('/');
  return slash < 0 ? CString() : path.Left(slash);
}

QString ToQStringPath(const CString& path) { return QString::fromStdString(path.ToUtf8()); }

}  // namespace

std::vector<CMainFrame::KFrameCommand> CStavlinApp::Commands() {
  using namespace cmd;
  auto help = [](HelpTopic topic) { return [topic](UINT) { ShowHelpTopic(topic); }; };
  return {
      {kFirstRecentFileId, kFirstRecentFileId + kRecentFileCount - 1,
       [this](UINT id) { OpenRecentFile(static_cast<int>(id - kFirstRecentFileId)); }},
      {kFileNew, kFileNew, [this](UINT) { OnFileNew(); }},
      {kFileNewScore, kFileNewScore, [this](UINT) { OnFileNew(); }},
      {kFileOpen, kFileOpen, [this](UINT) { OnFileOpen(); }},
      {kFileNewText, kFileNewText, [this](UINT) { OnFileNewText(); }},
      {kImportAbc, kImportAbc, [this](UINT) { OnImportAbc(); }},
      {kImportMidi, kImportMidi, [this](UINT) { OnImportMidi(-1); }},
      {kImportMidiMethod1, kImportMidiMethod1, [this](UINT) { OnImportMidi(1); }},
      {kImportMidiMethod2, kImportMidiMethod2, [this](UINT) { OnImportMidi(0); }},
      {kFileClose, kFileClose, [this](UINT) { OnFileClose(); }},
      {kFileSave, kFileSave, [this](UINT) { OnFileSave(); }},
      {kFileSaveAs, kFileSaveAs, [this](UINT) { OnFileSaveAs(); }},
      {kAppExit, kAppExit, [this](UINT) { OnAppExit(); }},
      {kAboutCurrentScore, kAboutCurrentScore, [this](UINT) { OnAboutCurrentScore(); }},
      {kFilePrintSetup, kFilePrintSetup, [](UINT) { CurrentUiPort().PrintSetup(); }},
      {kHelpStarting, kHelpStarting, help(HelpTopic::kStarting)},
      {kHelpShortcuts, kHelpShortcuts, [](UINT) { KDlgHelpShortCuts(ShortcutsText()).DoModal(); }},
      {kHelpMoving, kHelpMoving, [](UINT) { KDlgHelpMoving().DoModal(); }},
      {kHelpPercussion, kHelpPercussion, [this](UINT) { m_frame->ShowMidiPercHelp(); }},
      {kHelpNoteNames, kHelpNoteNames, [this](UINT) { m_frame->ShowStaffNoteNamesHelp(); }},
      {kHelpIndex, kHelpFinder, help(HelpTopic::kMainIndex)},
      {kContextHelp, kContextHelp, help(HelpTopic::kMainIndex)},
      {kDefaultHelp, kDefaultHelp, help(HelpTopic::kMainIndex)},
      {kAppAbout, kAppAbout,
       [](UINT) { AfxMessageBox("Stavlin " + g_ProgramVersionText, MB_OK | MB_ICONINFORMATION); }},
  };
}

void CStavlinApp::OnFileNew() {
  auto document = std::make_unique<CStavlinDoc>();
  if (!document->OnNewDocument()) return;
  CStavlinDoc* doc = document.get();
  m_frame->AddScoreWindow(std::move(document));
  CStavlinView* view = m_frame->GetActiveScoreView(true);
  if (view == nullptr) return;
  // The text line below the title line, with the caret, is part of the new
  // score: no undo step, and the score is still unchanged.
  g_noModify = 1;
  view->InsertLineOfType(kTextLineType, kNewScoreInsertion);
  g_noModify = 0;
  doc->SetModifiedFlag(FALSE);
}

CChildFrame* CStavlinApp::OpenDocumentFile(const CString& path) {
  // A score open already is shown, not read twice.
  const QString wanted = QFileInfo(ToQStringPath(path)).absoluteFilePath();
  for (CChildFrame* child : m_frame->ScoreWindows()) {
    const CString& open = child->Document().GetPathName();
    if (!open.IsEmpty() && QFileInfo(ToQStringPath(open)).absoluteFilePath() == wanted) {
      m_frame->MdiArea()->setActiveSubWindow(child);
      return child;
    }
  }
  auto document = std::make_unique<CStavlinDoc>();
  const CString absolute = CString::FromUtf8(wanted.toStdString());
  if (!document->OnOpenDocument(absolute)) return nullptr;
  m_frame->RecentFiles().Add(absolute);
  m_frame->UpdateRecentFileMenu();
  return m_frame->AddScoreWindow(std::move(document));
}

void CStavlinApp::OnFileOpen() {
  // The folder of File Open is the process's current folder.
  std::error_code error;
  const std::filesystem::path here = std::filesystem::current_path(error);
  if (!error) g_strCurrentFolder = CString::FromUtf8(here.string());
  // Scores, then the plain-text documents, then any file.
  QStringList filters = {QStringLiteral("Stavlin Files (*.svd)")};
  for (const KTextDoc::KTextKind& kind : KTextDoc::Kinds()) filters.append(QString::fromLatin1(kind.filter));
  filters.append(QStringLiteral("All Files (*)"));
  const CString path = m_openPrompt ? m_openPrompt(g_strCurrentFolder, filters) : CString();
  if (path.IsEmpty()) return;
  OpenFile(path);
  const CString folder = FolderOf(path);
  if (!folder.IsEmpty() && ::chdir(folder.ToUtf8().c_str()) == 0) g_strCurrentFolder = folder;
}

void CStavlinApp::OpenRecentFile(int index) {
  const std::vector<CString>& paths = m_frame->RecentFiles().Paths();
  if (index < 0 || index >= static_cast<int>(paths.size())) return;
  const CString path = paths[static_cast<size_t>(index)];
  if (!OpenFile(path)) {
    // A file that is gone leaves the list.
    m_frame->RecentFiles().Remove(index);
    m_frame->UpdateRecentFileMenu();
  }
}

void CStavlinApp::OnFileClose() {
  if (CChildFrame* child = m_frame->ActiveChild()) child->close();
}

void CStavlinApp::OnFileSave() {
  CChildFrame* child = m_frame->ActiveChild();
  if (child != nullptr && child->Document().DoFileSave()) AfterSave(child);
}

void CStavlinApp::OnFileSaveAs() {
  CChildFrame* child = m_frame->ActiveChild();
  if (child != nullptr && child->Document().DoSave(nullptr)) AfterSave(child);
}

void CStavlinApp::AfterSave(CChildFrame* child) {
  m_frame->RecentFiles().Add(child->Document().GetPathName());
  m_frame->UpdateRecentFileMenu();
  child->UpdateTitle();
}

bool CStavlinApp::OnAppExit() {
  const std::vector<CChildFrame*> windows = m_frame->ScoreWindows();
  const std::vector<KTextFrame*> texts = m_frame->TextWindows();
  // Every changed score and text is asked about before any window closes;
  // Cancel keeps them all.
  for (CChildFrame* child : windows) {
    if (!child->QueryClose()) return false;
  }
  for (KTextFrame* text : texts) {
    if (!text->QueryClose()) return false;
  }
  for (CChildFrame* child : windows) child->CloseWithoutAsking();
  for (KTextFrame* text : texts) text->CloseWithoutAsking();
  m_frame->close();
  return true;
}

void CStavlinApp::FillAboutCurrentScore(KDlgAboutCurrentScore& dialog) {
  const KViewMirrors& m = g_viewMirrors;
  const bool unsaved = g_scoreChanged != 0 || m.documentModified != 0;
  dialog.title = g_docFileName;
  dialog.folder = g_docFileFolder;
  dialog.version = g_FileVersionText;
  dialog.fileSize.Format("%lld", g_docFileSize);
  dialog.lines.Format("%d", m.lineCount);
  dialog.pages.Format("%d", m.pageCount);
  dialog.unsaved = LoadString(unsaved ? kYesWord : kNoWord);
}

void CStavlinApp::OnAboutCurrentScore() {
  KDlgAboutCurrentScore dialog;
  FillAboutCurrentScore(dialog);
  dialog.DoModal();
}
