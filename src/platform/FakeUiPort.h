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

  const std::vector<Message>& Messages() const { return m_messages; }
  std::vector<UINT> MessageIds() const;
  int CountOf(UINT messageId) const;
  const std::vector<UINT>& Beeps() const { return m_beeps; }
  const std::vector<DialogRun>& Dialogs() const { return m_dialogs; }
  const std::vector<FontDialogRun>& FontDialogs() const { return m_fontDialogs; }
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
};
