// Start-up and shut-down of the program.

#include "app/CStavlinApp.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "chords/ChordCatalogueSources.h"
#include "chords/ChordDictionary.h"
#include "chords/KChordLineServicesImpl.h"
#include "common/Globals.h"
#include "common/SharedGdiObjects.h"
#include "common/SymbolCache.h"
#include "doc/CStavlinDocFile.h"
#include "doc/DocLineHooks.h"
#include "doc/pref_values/LoadRegistrySettings.h"
#include "doc/pref_values/PreferenceGroups.h"
#include "doc/pref_values/PreferenceLimits.h"
#include "doc/pref_values/PreferenceWriters.h"
#include "doc/pref_values/Preferences.h"
#include "lines/KStrLineServices.h"
#include "lines/LineClasses.h"
#include "midi/LinePlayEvents.h"
#include "platform/Clipboard.h"
#include "platform/CompoundFile.h"
#include "platform/Keys.h"
#include "platform/Registry.h"
#include "platform/StringTable.h"
#include "platform/UiPort.h"
#include "platform/qt/GsfCompoundFile.h"
#include "platform/qt/QtText.h"
#include "translate/KTextLineTranslatorImpl.h"

CString g_strCurrentFolder;

namespace {

CStavlinApp* g_app = nullptr;

constexpr UINT kResetQuestion = 7099;
constexpr UINT kLastScoreMissing = 8203;
constexpr UINT kStartFolderMissing = 8206;
constexpr UINT kWelcomeFileId = 8120;
constexpr UINT kSamplesFolderId = 8129;  // "Samples\\"
constexpr const char* kOldChordFileName = "ZODireda.dat";

// Only this modifier is held (of Ctrl, Shift and Alt).
bool OnlyHeld(int key) {
  const bool ctrl = GetKeyState(VK_CONTROL) < 0;
  const bool shift = GetKeyState(VK_SHIFT) < 0;
  const bool alt = GetKeyState(VK_MENU) < 0;
  switch (key) {
    case VK_CONTROL:
      return ctrl && !shift && !alt;
    case VK_SHIFT:
      return shift && !ctrl && !alt;
    default:
      return false;
  }
}

std::filesystem::path NativePath(const CString& path) { return std::filesystem::path(path.ToUtf8()); }

bool FileExists(const CString& path) {
  std::error_code error;
  return !path.IsEmpty() && std::filesystem::is_regular_file(NativePath(path), error);
}

}  // namespace

CString ProgramResourceFolder() {
  const QString beside =
      QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../resources"));
  if (QFileInfo(beside).isDir()) return CString::FromUtf8(QDir::cleanPath(beside).toStdString());
  return CString(STAVLIN_RESOURCE_DIR);
}

CStavlinApp::CStavlinApp() { g_app = this; }

CStavlinApp::~CStavlinApp() {
  // The windows and views go before the services they use.
  m_frame.reset();
  SetScoreSaveAsPrompt(nullptr);
  if (m_textTranslator) SetTextLineTranslator(nullptr);
  SetChordNameSources(nullptr);
  ClearChordDictionary();
  if (g_app == this) g_app = nullptr;
}

CStavlinApp* CStavlinApp::Instance() { return g_app; }

bool CStavlinApp::InitInstance(const QStringList& arguments) {
  // Score files are compound files; the classes the archive makes by name.
  SetCurrentCompoundFile(std::make_unique<KGsfCompoundFile>());
  RegisterLineClasses();
  SetDocLineHooks(StavlinLineHooks());
  InstallChordLineServices();
  InstallChordNameSources();  // the chord catalogue and the user's chords behind chord names
  InstallLinePlayInterpreter();
  m_textTranslator = std::make_unique<KTextLineTranslatorImpl>();  // ABC and chord names in text lines
  SetTextLineTranslator(m_textTranslator.get());

  g_HelpDir = STAVLIN_RESOURCE_DIR "/help";
  LoadGlobalTexts();
  PrepareChordFile();
  OfferPreferenceReset();
  LoadRegistrySettings();
  TakePrinterPage();
  InstallWelcomeScore();

  m_frame = std::make_unique<CMainFrame>();
  m_frame->AddCommands(Commands());
  InstallMidiImport();
  if (!m_openPrompt) {
    m_openPrompt = [this](const CString& folder, const QStringList& filters) {
      const QString path = QFileDialog::getOpenFileName(m_frame.get(), QString(), ToQString(folder.Str()),
                                                        filters.join(QStringLiteral(";;")));
      return CString::FromUtf8(path.toStdString());
    };
  }
  if (!m_saveAsPromptGiven) {
    SetScoreSaveAsPrompt([this](const CString& suggested) {
      const QString path = QFileDialog::getSaveFileName(m_frame.get(), QString(), ToQString(suggested.Str()),
                                                        QStringLiteral("Stavlin Files (*.svd)"));
      return CString::FromUtf8(path.toStdString());
    });
    m_textSavePrompt = [this](const CString& suggested) {
      const QString path = QFileDialog::getSaveFileName(
          m_frame.get(), QString(), ToQString(suggested.Str()),
          QStringLiteral("Text Files (*.txt);;ABC Files (*.abc);;All Files (*)"));
      return CString::FromUtf8(path.toStdString());
    };
  }
  InstallTextWindowCommands();

  RegisterClipboardFormat("Stavlin");
  LoadChordDictionary();
  CreateSharedGdiObjects();
  if (!CreateNamedGdiObjects()) return false;
  // The note heads of the normal size are current before anything draws.
  SelectSymbolSize(0, 0);

  PlaceMainWindow();
  // The main window shows first: whatever the opening asks (the chords a
  // score brings, a file that cannot be read) stands over it, not alone on
  // the desktop before it.
  m_frame->show();
  if (!arguments.isEmpty()) {
    // A file named on the command line replaces the start-up action and
    // leaves the current folder alone.
    OpenFile(CString::FromUtf8(arguments.front().toStdString()));
  } else {
    RunStartupAction();
    EnterStartFolder();
  }
  ApplyBarPreferences();
  // The toolboxes open when the program last closed open again.
  m_frame->ReopenSavedToolBoxes();
  return true;
}

void CStavlinApp::SetSaveAsPrompt(SaveAsPrompt prompt) {
  m_saveAsPromptGiven = true;  // a prompt given before start-up stays
  m_textSavePrompt = prompt;
  if (m_frame) m_frame->SetTextSavePrompt(m_textSavePrompt);
  SetScoreSaveAsPrompt(std::move(prompt));
}

// The per-user chord dictionary: kept in the user's data folder, copied there
// once from an older copy beside the program, which then takes the suffix
// ".obsolete". Failures are left to the dictionary loader.
void CStavlinApp::PrepareChordFile() {
  const std::filesystem::path chordFile = DefaultChordFilePath();
  g_ChordFilePath = CString::FromUtf8(chordFile.string());
  std::error_code error;
  if (std::filesystem::is_regular_file(chordFile, error)) return;
  const std::filesystem::path old =
      std::filesystem::path(QCoreApplication::applicationDirPath().toStdString()) / kOldChordFileName;
  const std::filesystem::path folder = chordFile.parent_path();
  if (!std::filesystem::is_regular_file(old, error)) {
    // A new user starts with the program's own small dictionary.
    std::filesystem::create_directories(folder, error);
    const std::filesystem::path starter = NativePath(ProgramResourceFolder()) / "chords" / kOldChordFileName;
    if (!std::filesystem::copy_file(starter, chordFile, std::filesystem::copy_options::none, error))
      std::ofstream created(chordFile, std::ios::app);
    return;
  }
  if (!std::filesystem::create_directories(folder, error)) return;  // it was there: leave the old file
  if (std::filesystem::copy_file(old, chordFile, std::filesystem::copy_options::none, error)) {
    std::filesystem::path obsolete = old;
    obsolete += ".obsolete";
    std::filesystem::rename(old, obsolete, error);
  }
}

void CStavlinApp::OfferPreferenceReset() {
  if (!OnlyHeld(VK_CONTROL)) return;
  if (AfxMessageBox(kResetQuestion, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  if (RegDeleteKey(HKEY_CURRENT_USER, "Software\\Stavlin") == ERROR_SUCCESS) return;
  HKEY root = nullptr;
  if (RegCreateKey(HKEY_CURRENT_USER, "Software\\Stavlin", &root) == ERROR_SUCCESS) {
    // The preference groups one by one, in the order of the preference table.
    for (KPrefGroup group : AllPreferenceGroups())
      RegDeleteKey(root, std::string(PreferenceGroupName(group)).c_str());
    RegCloseKey(root);
  }
  RegDeleteKey(HKEY_CURRENT_USER, "Software\\Stavlin");
}

// The welcome score comes with the program; the default last score is its
// copy in the user's samples folder, put there when it is missing.
void CStavlinApp::InstallWelcomeScore() {
  // The default start folder, the user's samples folder, is made whole on
  // the first run (a start folder the user chose is left to message 8206).
  CString samples = LoadString(kSamplesFolderId);
  samples.Replace('\\', '/');
  if (!g_strStartFolder.IsEmpty() &&
      g_strStartFolder.Right(samples.GetLength() + 8) == "Stavlin/" + samples) {
    std::error_code ignored;
    std::filesystem::create_directories(NativePath(g_strStartFolder), ignored);
  }
  const CString welcome = LoadString(kWelcomeFileId);
  if (g_strStartFolder.IsEmpty() || g_strLastOpenFile != g_strStartFolder + welcome) return;
  if (FileExists(g_strLastOpenFile)) return;
  const std::filesystem::path shipped = NativePath(ProgramResourceFolder() + "/samples/" + welcome);
  std::error_code error;
  std::filesystem::create_directories(NativePath(g_strStartFolder), error);
  std::filesystem::copy_file(shipped, NativePath(g_strLastOpenFile), error);
}

void CStavlinApp::PlaceMainWindow() {
  SIZE screen = m_frame->GetScreenSize();
  screen.cx = std::max<LONG>(screen.cx, 640);
  screen.cy = std::max<LONG>(screen.cy, 480);
  KWindowPlacement& w = g_rcMainWnd;
  if (w.width <= 0) {
    if (screen.cx <= 640) {
      w = KWindowPlacement{static_cast<int>(screen.cx), static_cast<int>(screen.cy), 0, 0};
    } else if (screen.cx <= 800) {
      w = KWindowPlacement{static_cast<int>(screen.cx) - 20, static_cast<int>(screen.cy) - 20, 15, 15};
    } else {
      w = KWindowPlacement{950, 700, 40, 40};
    }
    WritePreferenceGroup(HKEY_CURRENT_USER, KPrefGroup::kStavlinXYSizeXYPos);
  }
  // The whole window on the screen, whatever the settings say.
  const KWindowPlacement fitted = FitOnScreen(w, static_cast<int>(screen.cx), static_cast<int>(screen.cy));
  m_frame->resize(fitted.width, fitted.height);
  m_frame->move(fitted.left, fitted.top);
}

void CStavlinApp::RunStartupAction() {
  const int action = OnlyHeld(VK_SHIFT) ? 0 : g_nStartupAction;
  if (action == 1) {
    OnFileNew();
  } else if (action == 2 && !g_strLastOpenFile.IsEmpty()) {
    if (FileExists(g_strLastOpenFile)) {
      OpenDocumentFile(g_strLastOpenFile);
    } else {
      CString text;
      AfxFormatString1(text, kLastScoreMissing, g_strLastOpenFile);
      AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
    }
  }
}

void CStavlinApp::EnterStartFolder() {
  if (!g_strStartFolder.IsEmpty() && ::chdir(g_strStartFolder.ToUtf8().c_str()) == 0) {
    g_strCurrentFolder = g_strStartFolder;
    return;
  }
  if (!g_strStartFolder.IsEmpty()) {
    CString text;
    AfxFormatString1(text, kStartFolderMissing, g_strStartFolder);
    AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
  }
  // The process's folder stands in; the preference stays as it is.
  std::error_code error;
  const std::filesystem::path here = std::filesystem::current_path(error);
  g_strCurrentFolder = error ? CString() : CString::FromUtf8(here.string());
}

void CStavlinApp::ApplyBarPreferences() {
  m_frame->ShowMainToolbar(g_prefToolViewOptions.showMainToolbar);
  m_frame->ShowStatusBar(g_prefToolViewOptions.showStatusBar);
  m_frame->ShowExtraToolsToolbar(g_prefToolViewOptions.showExtraToolbar);
}

int CStavlinApp::ExitInstance() {
  // Where the toolboxes stand, and which are open, for the next start.
  if (g_bRememberToolBoxes != 0) WritePreferenceGroup(HKEY_CURRENT_USER, KPrefGroup::kToolBoxPos);
  m_frame.reset();
  ClearChordDictionary();
  FreeSmallSymbolBitmaps();
  FreeLargeSymbolBitmaps();
  FreeRemainingScreenSymbolBitmaps();
  DeleteSharedGdiObjects();
  DeleteNamedGdiObjects();
  WritePreferenceGroup(HKEY_CURRENT_USER, KPrefGroup::kLastOpenFile);
  return 0;
}
