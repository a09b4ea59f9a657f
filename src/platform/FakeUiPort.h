#pragma once
// A UI port for tests. Message boxes are answered from a script by message id
// (a box without a script takes its default button) and dialogs run a script
// by their template id (an unscripted dialog is cancelled). Every box, beep
// and dialog is recorded in order.

#include <deque>
#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

#include "platform/GdiObjects.h"
#include "platform/UiPort.h"

class FakeUiPort : public UiPort {
 public:
  struct Message {
    UINT id;
    std::string text;
    UINT type;
    UINT helpId;
    int answer;
  };
  struct DialogRun {
    UINT templateId;
    int result;
    bool okRefused;  // OnOK refused the entered values, so the dialog ended cancelled
  };
  // Plays the user's part on an open dialog (sets its values) and returns the
  // button that closes it.
  using DialogScript = std::function<int(KModalDialog&)>;
  // Plays the user's part in the font dialog: changes the font and colour
  // and returns true for OK, false for Cancel.
  using FontScript = std::function<bool(LOGFONT& font, COLORREF& colour)>;
  // Plays the user's part in the save dialog: sets the name and filter and
  // returns true for Save, false for Cancel. Without one it is cancelled.
  using SaveFileScript = std::function<bool(KSaveFileRequest& request)>;
  // Plays the user's part in a property sheet (its pages' controls) and
  // returns IDOK or IDCANCEL. Without one the sheet is cancelled.
  using SheetScript = std::function<int(KPropertySheet& sheet)>;
  // Plays the print dialog or the preview: prints the job somewhere (or not)
  // and returns whether it printed. Without one nothing is printed.
  using PrintScript = std::function<bool(KPrintJob& job, KPrintKind kind)>;
  struct SaveFileRun {
    KSaveFileRequest shown;  // as the dialog opened
    bool chosen;
  };
  struct FontDialogRun {
    LOGFONT shownFont;  // as the dialog opened
    COLORREF shownColour;
    bool chosen;
  };

  // Every later box of the message answers this (until replaced).
  void Answer(UINT messageId, int answer);
  // The next boxes of the message answer these in turn, before any standing answer.
  void AnswerNext(UINT messageId, std::initializer_list<int> answers);
  // Dialogs with the template id close with this end code, or run the script.
  void AnswerDialog(UINT templateId, int result);
  void AnswerDialog(UINT templateId, DialogScript script);
  // The font dialog runs this script; without one it is cancelled.
  void AnswerFontDialog(FontScript script) { m_fontScript = std::move(script); }
  void AnswerSaveFile(SaveFileScript script) { m_saveFileScript = std::move(script); }
  // The folder browser answers this folder (empty: Cancel).
  void AnswerBrowseForFolder(CString folder) { m_browsedFolder = std::move(folder); }
  // Property sheets with the id run the script.
  void AnswerPropertySheet(UINT sheetId, SheetScript script) { m_sheetScripts[sheetId] = std::move(script); }
  void AnswerPrint(PrintScript script) { m_printScript = std::move(script); }

  // A scripted answer that is not a button of the box is a fault of the test:
  // it throws std::logic_error.
  int ShowMessageBox(const MessageBoxRequest& request) override;
  void Beep(UINT type) override;
  // A script returns IDOK after setting members or typing into the dialog's
  // controls (Controls().SetText...); members it set directly are shown in
  // the controls it did not type into, then OK runs the dialog's checks.
  int RunModal(KModalDialog& dialog) override;
  // A recording context: pictures are drawn and written down, not painted.
  std::unique_ptr<CDC> CreatePictureDC() override;
  bool ChooseFontWithColour(LOGFONT& font, COLORREF& colour) override;
  bool GetSaveFileName(KSaveFileRequest& request) override;
  bool BrowseForFolder(const CString& title, CString& folder) override;
  // Opens the sheet (every page's OnInitDialog), plays the script; for IDOK
  // shows members set directly and runs the sheet's OK (a refusal ends it
  // cancelled, as RunModal does); records the run among the dialogs, under
  // the sheet's id.
  int RunPropertySheet(KPropertySheet& sheet) override;
  bool Print(KPrintJob& job, KPrintKind kind) override;
  bool PrintSetup() override;

  const std::vector<Message>& Messages() const { return m_messages; }
  std::vector<UINT> MessageIds() const;
  int CountOf(UINT messageId) const;
  const std::vector<UINT>& Beeps() const { return m_beeps; }
  const std::vector<DialogRun>& Dialogs() const { return m_dialogs; }
  const std::vector<FontDialogRun>& FontDialogs() const { return m_fontDialogs; }
  const std::vector<SaveFileRun>& SaveFileDialogs() const { return m_saveFileDialogs; }
  // The print requests, in order.
  const std::vector<KPrintKind>& PrintRequests() const { return m_printRequests; }
  int PrintSetupCount() const { return m_printSetups; }
  // Forgets what was recorded; the scripts stay.
  void ClearRecords();

 private:
  std::map<UINT, std::deque<int>> m_nextAnswers;
  std::map<UINT, int> m_answers;
  std::map<UINT, DialogScript> m_dialogScripts;
  std::vector<Message> m_messages;
  std::vector<UINT> m_beeps;
  std::vector<DialogRun> m_dialogs;
  FontScript m_fontScript;
  std::vector<FontDialogRun> m_fontDialogs;
  SaveFileScript m_saveFileScript;
  std::vector<SaveFileRun> m_saveFileDialogs;
  CString m_browsedFolder;
  std::map<UINT, SheetScript> m_sheetScripts;
  PrintScript m_printScript;
  std::vector<KPrintKind> m_printRequests;
  int m_printSetups = 0;
};
