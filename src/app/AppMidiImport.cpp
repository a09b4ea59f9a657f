// The application's side of MIDI file import: File/Import/MIDI File (and its
// two method items), and a ".mid" file opened like a score. The import builds
// the score apart (view/commands/MidiFileImport.h); here it gets its window.

#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "app/CStavlinApp.h"
#include "doc/CStavlinDocFile.h"
#include "doc/CStavlinDocGlobals.h"
#include "platform/StringTable.h"
#include "view/CStavlinView.h"
#include "view/commands/MidiFileImport.h"
#include "view/qt/KViewWidget.h"

namespace {

constexpr UINT kMidiFilesText = 8137;

// A ".mid" path that reaches the document's open (dropped files, the command
// line) is imported too.
void ImportThroughApp(const CString& path) {
  if (CStavlinApp* app = CStavlinApp::Instance()) app->ImportMidi(path);
}

}  // namespace

bool CStavlinApp::IsMidiFileName(const CString& path) {
  return ScoreFileExtension(path).CompareNoCase(".mid") == 0;
}

void CStavlinApp::InstallMidiImport() { SetScoreMidiImporter(&ImportThroughApp); }

void CStavlinApp::OnImportMidi(int method) {
  if (method >= 0) g_midiImportMethod = method;
  const QStringList filters = {QString::fromStdString(std::string(LoadString(kMidiFilesText).Str())) +
                               QStringLiteral(" (*.mid)")};
  const CString path = m_openPrompt ? m_openPrompt(g_strCurrentFolder, filters) : CString();
  if (path.IsEmpty()) return;
  ImportMidi(path);
}

bool CStavlinApp::ImportMidi(const CString& path) {
  MidiFileImportResult result = ImportMidiFile(path);
  if (result.document == nullptr) return false;
  CChildFrame* child = m_frame->AddScoreWindow(std::move(result.document));
  if (child == nullptr) return false;
  // The score goes by the file's name until it is saved somewhere.
  child->SetUntitledName(result.title);
  if (CStavlinView* view = m_frame->GetActiveScoreView(true)) FinishMidiImportInView(*view, result);
  child->Document().SetModifiedFlag(TRUE);
  m_frame->UpdateCommandUi();
  m_frame->UpdateStatusBar();
  // The settings and progress windows are gone: the main window is the
  // active one again and the new score has the keyboard, so that the menus
  // (Alt+F, F10) and the program's keys answer at once.
  m_frame->raise();
  m_frame->activateWindow();
  if (KViewWidget* pane = child->ActivePane()) pane->setFocus(Qt::OtherFocusReason);
  return true;
}
