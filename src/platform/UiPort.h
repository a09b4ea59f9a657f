#pragma once
#include <memory>
// Message boxes, beeps and modal dialogs: the core asks for them with the
// framework's calls (AfxMessageBox, MessageBeep, DoModal), and the current UI
// port shows them. The Qt shell installs a port that shows real windows; tests
// install a FakeUiPort that answers from a script and records every request.

#include <string>
#include <vector>

#include "platform/CString.h"
#include "platform/WinTypes.h"

class CDC;
class KModalDialog;
class KPrintJob;
class KPropertySheet;
struct LOGFONT;

// Message-box type flags, as Windows defines them. Button sets:
constexpr UINT MB_OK = 0x0;
constexpr UINT MB_OKCANCEL = 0x1;
constexpr UINT MB_ABORTRETRYIGNORE = 0x2;
constexpr UINT MB_YESNOCANCEL = 0x3;
constexpr UINT MB_YESNO = 0x4;
constexpr UINT MB_RETRYCANCEL = 0x5;
constexpr UINT MB_CANCELTRYCONTINUE = 0x6;
// Icons (also the sound kinds of MessageBeep):
constexpr UINT MB_ICONHAND = 0x10;
constexpr UINT MB_ICONQUESTION = 0x20;
constexpr UINT MB_ICONEXCLAMATION = 0x30;
constexpr UINT MB_ICONASTERISK = 0x40;
constexpr UINT MB_ICONERROR = MB_ICONHAND;
constexpr UINT MB_ICONSTOP = MB_ICONHAND;
constexpr UINT MB_ICONWARNING = MB_ICONEXCLAMATION;
constexpr UINT MB_ICONINFORMATION = MB_ICONASTERISK;
// Default button, counted from the first button of the set:
constexpr UINT MB_DEFBUTTON1 = 0x000;
constexpr UINT MB_DEFBUTTON2 = 0x100;
constexpr UINT MB_DEFBUTTON3 = 0x200;
constexpr UINT MB_DEFBUTTON4 = 0x300;
// Modality and window options (accepted, no effect here):
constexpr UINT MB_APPLMODAL = 0x0000;
constexpr UINT MB_SYSTEMMODAL = 0x1000;
constexpr UINT MB_TASKMODAL = 0x2000;
constexpr UINT MB_HELP = 0x4000;
constexpr UINT MB_SETFOREGROUND = 0x10000;
constexpr UINT MB_TOPMOST = 0x40000;
// Masks of the fields above:
constexpr UINT MB_TYPEMASK = 0x000F;
constexpr UINT MB_ICONMASK = 0x00F0;
constexpr UINT MB_DEFMASK = 0x0F00;
constexpr UINT MB_MODEMASK = 0x3000;

// MessageBeep's plain speaker beep.
constexpr UINT MB_SIMPLEBEEP = 0xFFFFFFFF;

// Answers of a message box, and end codes of a modal dialog.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;
constexpr int IDTRYAGAIN = 10;
constexpr int IDCONTINUE = 11;

// The buttons of a type's button set, left to right; an unknown set is OK alone.
std::vector<int> MessageBoxButtons(UINT type);
// The button a type makes the default (the one Enter presses). A default
// button number beyond the set falls back to the first button, as in Windows.
int MessageBoxDefaultButton(UINT type);

// One message box request.
struct MessageBoxRequest {
  UINT id = 0;       // the string id its text came from; 0 when it matches no string
  std::string text;  // Windows-1252 bytes; "\n" breaks lines
  UINT type = MB_OK;
  UINT helpId = 0;
};

// A file-type choice of the save dialog: its name ("PNG Files (*.png)") and
// its pattern ("*.png").
struct KFileFilter {
  std::string name;
  std::string pattern;
};

// What the save dialog opens with and what it gives back. The dialog itself
// neither adds an extension nor asks before overwriting: the caller decides
// the final name and asks about an existing file itself.
struct KSaveFileRequest {
  std::string title;
  std::vector<KFileFilter> filters;
  int filterIndex = 1;  // 1-based, in and out
  CString folder;       // where the dialog starts; empty: the current folder
  CString fileName;     // in: the suggested name; out: the full path chosen
};

// Printing with the print dialog, or the print preview (from which the
// pages can be printed too).
enum class KPrintKind { kPrint, kPreview };

class UiPort {
 public:
  virtual ~UiPort() = default;
  // Shows a modal message box and returns the button chosen (IDOK, IDYES...).
  virtual int ShowMessageBox(const MessageBoxRequest& request) = 0;
  // Sounds the beep of a MessageBeep kind (MB_OK, MB_ICONASTERISK...).
  virtual void Beep(UINT type) = 0;
  // Runs a dialog model modally and returns its end code (IDOK, IDCANCEL...).
  virtual int RunModal(KModalDialog& dialog) = 0;
  // The font dialog that also chooses the text colour: opens on the font and
  // colour given; OK puts the chosen ones in them and returns true; Cancel
  // returns false and changes neither. A port without windows cancels.
  virtual bool ChooseFontWithColour(LOGFONT& font, COLORREF& colour) { return false; }
  // A device context whose compatible memory contexts draw into bitmaps, for
  // the pictures that dialog models draw; null for a port without windows.
  virtual std::unique_ptr<CDC> CreatePictureDC();
  // The save dialog: true with request.fileName and filterIndex set when the
  // user chose a name; false for Cancel. A port without windows cancels.
  virtual bool GetSaveFileName(KSaveFileRequest& request) { return false; }
  // The folder browser, opening on folder: true with the chosen folder in it.
  virtual bool BrowseForFolder(const CString& title, CString& folder) { return false; }
  // Runs a property sheet modally (KPropertySheet: OK, Cancel); a port without
  // windows cancels without opening it.
  virtual int RunPropertySheet(KPropertySheet& sheet) { return IDCANCEL; }
  // Prints the job (PrintJob.h) on the printer the print dialog chooses, or
  // shows it in the print preview. True when pages were printed or shown; a
  // port without windows prints nothing.
  virtual bool Print(KPrintJob& job, KPrintKind kind) { return false; }
  // The page setup dialog of the printer the program prints with: paper and
  // printer. A port without windows changes nothing.
  virtual bool PrintSetup() { return false; }
};

// The port in use. Without one installed it is a headless port that answers
// every box with its default button (printing the text on standard error),
// sounds nothing and cancels dialogs.
UiPort& CurrentUiPort();
// Installs a port (not owned) and returns the previous one; nullptr restores
// the headless port.
UiPort* SetUiPort(UiPort* port);
void ResetUiPort();

// Installs a port for the life of a scope, then restores the one before.
class ScopedUiPort {
 public:
  explicit ScopedUiPort(UiPort& port) : m_previous(SetUiPort(&port)) {}
  ~ScopedUiPort() { SetUiPort(m_previous); }
  ScopedUiPort(const ScopedUiPort&) = delete;
  ScopedUiPort& operator=(const ScopedUiPort&) = delete;

 private:
  UiPort* m_previous;
};

// The framework's message boxes: by string id (the text from the string
// table; a missing id shows an empty box), or by text, whose string id is
// looked up so that the box is known by it.
int AfxMessageBox(UINT id, UINT type = MB_OK, UINT helpId = 0);
int AfxMessageBox(const char* text, UINT type = MB_OK, UINT helpId = 0);

// Loads a string and puts the arguments in place of %1 (and %2). A
// placeholder without an argument stays as it is; a null argument is empty.
void AfxFormatString1(CString& target, UINT id, LPCTSTR arg1);
void AfxFormatString2(CString& target, UINT id, LPCTSTR arg1, LPCTSTR arg2);
// The same on a given text with any number of arguments (%1 to %9).
void AfxFormatStrings(CString& target, LPCTSTR format, const LPCTSTR* args, int argCount);

BOOL MessageBeep(UINT type);

// The font dialog with the text colour, through the current port.
bool ChooseFontWithColour(LOGFONT& font, COLORREF& colour);
