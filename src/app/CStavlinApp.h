#pragma once
// The application: start-up and shut-down of the program, and the commands
// it carries out itself whatever score is active (new, open, close, save,
// save as, exit, the recent files, About Current Score, help).
//
//   CStavlinApp.cpp    start-up (InitInstance) and shut-down (ExitInstance)
//   AppCommands.cpp    the application's commands

#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

#include "app/CMainFrame.h"
#include "platform/CString.h"
#include "platform/WinTypes.h"

class CChildFrame;
class CMainFrame;
class CStavlinView;
class KTextDoc;
class KTextFrame;
class KTextLineTranslatorImpl;

class KDlgAboutCurrentScore;

// The keyboard shortcuts page: every accelerator of the command table with
// its command, Ctrl, Shift and Alt written ct, sh and al.
CString ShortcutsText();

class CStavlinApp {
 public:
  // What the file dialogs answer: a path, or empty for Cancel. Tests
  // replace them; by default they are the desktop's file dialogs.
  using OpenPrompt = std::function<CString(const CString& folder, const QStringList& filters)>;
  using SaveAsPrompt = std::function<CString(const CString& suggested)>;

  CStavlinApp();
  ~CStavlinApp();
  CStavlinApp(const CStavlinApp&) = delete;
  CStavlinApp& operator=(const CStavlinApp&) = delete;

  // Brings the program up: folders and the chord file, the preference reset
  // offer (Ctrl held), the preferences, the main frame, the window's place,
  // then the file named on the command line (arguments after the program's
  // name) or the start-up action. False when the program is to end.
  bool InitInstance(const QStringList& arguments);
  // Frees what start-up made and stores the last open file; returns 0.
  int ExitInstance();

  CMainFrame* MainFrame() const { return m_frame.get(); }

  void SetOpenPrompt(OpenPrompt prompt) { m_openPrompt = std::move(prompt); }
  // Where scores and text documents are saved as.
  void SetSaveAsPrompt(SaveAsPrompt prompt);

  // ---- Commands (AppCommands.cpp) ----------------------------------------------
  // The application's commands (files, help), for the frame's table.
  std::vector<CMainFrame::KFrameCommand> Commands();
  void OnFileNew();
  void OnFileOpen();
  // Opens the score at path in a new window, or activates the window that
  // shows it already; null when it could not be opened (the document said why).
  CChildFrame* OpenDocumentFile(const CString& path);
  void OnFileClose();
  void OnFileSave();
  void OnFileSaveAs();

  // ---- Text files (AppTextFiles.cpp) -----------------------------------------------
  // Opens a file by its kind: a score, or a plain-text document (".txt",
  // ".tab", ".crd", ".bta", ".pro", ".abc"), which the text-file preferences
  // may hand to a new score at once; false when nothing opened.
  bool OpenFile(const CString& path);
  // Opens the text file in a text window, or hands it to a new score;
  // importingAbc reads it as ABC whatever its name and the preferences say.
  bool OpenTextFile(const CString& path, bool importingAbc);
  // File/New Text File: an empty text window that never goes to a score.
  void OnFileNewText();
  // File/Import/ABC File: an ABC file (".abc" or ".txt") as a new score.
  void OnImportAbc();
  // A new score made from the document's text, read as ABC notation or as
  // rows of text tablature (or neither: text lines), titled after the
  // document; its window, or null.
  CChildFrame* HandTextToNewScore(const KTextDoc& document, bool abc, bool tablature);
  // ---- MIDI files (AppMidiImport.cpp) ----------------------------------------------
  static bool IsMidiFileName(const CString& path);
  // File/Import/MIDI File: method 1 or 0 first becomes the import method for
  // the rest of the run (-1 keeps it); then a file is asked for and imported.
  void OnImportMidi(int method);
  // The MIDI file as a new score in a window; false when none was made.
  bool ImportMidi(const CString& path);
  // Lets the document's open of a ".mid" path reach the import.
  void InstallMidiImport();
  // Until a print has stored the printer's page, the stored page is the
  // program's default, which no printer need have: the page of the printer
  // File | Print uses takes its place, so that new scores are laid out to
  // the sheet they print on.
  void TakePrinterPage();
  // Asks about every changed score; true when all closed and the frame too.
  bool OnAppExit();
  void OnAboutCurrentScore();

  // The one application while it exists; null otherwise.
  static CStavlinApp* Instance();

  // The seven facts of About Current Score, from the mirrors of the score
  // that was last active.
  static void FillAboutCurrentScore(KDlgAboutCurrentScore& dialog);

 private:
  void PrepareChordFile();
  void OfferPreferenceReset();
  void PlaceMainWindow();
  void RunStartupAction();
  void EnterStartFolder();
  void ApplyBarPreferences();
  void InstallWelcomeScore();
  void OpenRecentFile(int index);
  void AfterSave(CChildFrame* child);
  void InstallTextWindowCommands();

  std::unique_ptr<CMainFrame> m_frame;
  std::unique_ptr<KTextLineTranslatorImpl> m_textTranslator;
  OpenPrompt m_openPrompt;
  SaveAsPrompt m_textSavePrompt;
  bool m_saveAsPromptGiven = false;
};

// The folder the program's data files come from (symbols, samples, help);
// the "resources" folder beside the program when it has one.
CString ProgramResourceFolder();
// The current folder of File Open, kept between commands.
extern CString g_strCurrentFolder;
