#include "platform/FakeUiPort.h"

#include <algorithm>
#include <stdexcept>

#include "platform/ModalDialog.h"
#include "platform/PropertySheet.h"
#include "platform/RecordingDC.h"

void FakeUiPort::Answer(UINT messageId, int answer) { m_answers[messageId] = answer; }

void FakeUiPort::AnswerNext(UINT messageId, std::initializer_list<int> answers) {
  std::deque<int>& queue = m_nextAnswers[messageId];
  queue.insert(queue.end(), answers.begin(), answers.end());
}

void FakeUiPort::AnswerDialog(UINT templateId, int result) {
  m_dialogScripts[templateId] = [result](KModalDialog&) { return result; };
}

void FakeUiPort::AnswerDialog(UINT templateId, DialogScript script) {
  m_dialogScripts[templateId] = std::move(script);
}

int FakeUiPort::ShowMessageBox(const MessageBoxRequest& request) {
  int answer = MessageBoxDefaultButton(request.type);
  if (auto next = m_nextAnswers.find(request.id); next != m_nextAnswers.end() && !next->second.empty()) {
    answer = next->second.front();
    next->second.pop_front();
  } else if (auto standing = m_answers.find(request.id); standing != m_answers.end()) {
    answer = standing->second;
  }
  const std::vector<int> buttons = MessageBoxButtons(request.type);
  if (std::find(buttons.begin(), buttons.end(), answer) == buttons.end()) {
    throw std::logic_error("scripted answer " + std::to_string(answer) + " is not a button of message " +
                           std::to_string(request.id) + " (type " + std::to_string(request.type) + ")");
  }
  m_messages.push_back({request.id, request.text, request.type, request.helpId, answer});
  return answer;
}

void FakeUiPort::Beep(UINT type) { m_beeps.push_back(type); }

int FakeUiPort::RunModal(KModalDialog& dialog) {
  const UINT id = dialog.GetTemplateId();
  dialog.OnInitDialog();
  // A dialog that ended while it opened (an internal failure) shows nothing.
  int result = dialog.TakeEndRequest();
  if (result == 0) {
    result = IDCANCEL;
    if (auto script = m_dialogScripts.find(id); script != m_dialogScripts.end())
      result = script->second(dialog);
  }
  bool refused = false;
  if (result == IDOK) dialog.ShowUnenteredMembers();
  if (result == IDOK && !dialog.OnOK()) {
    // The user would now correct the entry or give up; a script that wanted
    // OK to pass has entered something the dialog does not take.
    refused = true;
    result = IDCANCEL;
  }
  if (result != IDOK) dialog.OnCancel();
  m_dialogs.push_back({id, result, refused});
  return result;
}

bool FakeUiPort::ChooseFontWithColour(LOGFONT& font, COLORREF& colour) {
  FontDialogRun run{font, colour, false};
  if (m_fontScript) {
    LOGFONT chosenFont = font;
    COLORREF chosenColour = colour;
    run.chosen = m_fontScript(chosenFont, chosenColour);
    if (run.chosen) {
      font = chosenFont;
      colour = chosenColour;
    }
  }
  m_fontDialogs.push_back(run);
  return run.chosen;
}

bool FakeUiPort::GetSaveFileName(KSaveFileRequest& request) {
  SaveFileRun run{request, false};
  if (m_saveFileScript) {
    KSaveFileRequest answered = request;
    run.chosen = m_saveFileScript(answered);
    if (run.chosen) request = answered;
  }
  m_saveFileDialogs.push_back(run);
  return run.chosen;
}

bool FakeUiPort::BrowseForFolder(const CString& title, CString& folder) {
  if (m_browsedFolder.IsEmpty()) return false;
  folder = m_browsedFolder;
  return true;
}

int FakeUiPort::RunPropertySheet(KPropertySheet& sheet) {
  sheet.OnInit();
  int result = IDCANCEL;
  if (auto script = m_sheetScripts.find(sheet.GetSheetId()); script != m_sheetScripts.end())
    result = script->second(sheet);
  bool refused = false;
  if (result == IDOK) {
    for (KModalDialog* page : sheet.Pages()) page->ShowUnenteredMembers();
    if (!sheet.OnOK()) {
      refused = true;
      result = IDCANCEL;
    }
  }
  if (result != IDOK) sheet.OnCancel();
  m_dialogs.push_back({sheet.GetSheetId(), result, refused});
  return result;
}

bool FakeUiPort::Print(KPrintJob& job, KPrintKind kind) {
  m_printRequests.push_back(kind);
  return m_printScript ? m_printScript(job, kind) : false;
}

bool FakeUiPort::PrintSetup() {
  ++m_printSetups;
  return false;
}

std::vector<UINT> FakeUiPort::MessageIds() const {
  std::vector<UINT> ids;
  ids.reserve(m_messages.size());
  for (const Message& m : m_messages) ids.push_back(m.id);
  return ids;
}

int FakeUiPort::CountOf(UINT messageId) const {
  return static_cast<int>(std::count_if(m_messages.begin(), m_messages.end(),
                                        [messageId](const Message& m) { return m.id == messageId; }));
}

void FakeUiPort::ClearRecords() {
  m_messages.clear();
  m_beeps.clear();
  m_dialogs.clear();
  m_fontDialogs.clear();
  m_saveFileDialogs.clear();
  m_printRequests.clear();
  m_printSetups = 0;
}

std::unique_ptr<CDC> FakeUiPort::CreatePictureDC() { return std::make_unique<RecordingDC>(); }
