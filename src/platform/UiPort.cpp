#include "platform/UiPort.h"

#include <cstdio>

#include "platform/CDC.h"
#include "platform/ModalDialog.h"
#include "platform/StringTable.h"

namespace {

// Stands in when no port is installed (tools, benchmarks, tests that do not
// care): nobody is there to answer, so every box takes its default button.
class HeadlessUiPort final : public UiPort {
 public:
  int ShowMessageBox(const MessageBoxRequest& request) override {
    std::fprintf(stderr, "[message %u] %s\n", request.id, request.text.c_str());
    return MessageBoxDefaultButton(request.type);
  }
  void Beep(UINT) override {}
  int RunModal(KModalDialog& dialog) override {
    dialog.OnCancel();
    return IDCANCEL;
  }
};

HeadlessUiPort g_headlessPort;
UiPort* g_currentPort = nullptr;

}  // namespace

std::vector<int> MessageBoxButtons(UINT type) {
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
      return {IDOK, IDCANCEL};
    case MB_ABORTRETRYIGNORE:
      return {IDABORT, IDRETRY, IDIGNORE};
    case MB_YESNOCANCEL:
      return {IDYES, IDNO, IDCANCEL};
    case MB_YESNO:
      return {IDYES, IDNO};
    case MB_RETRYCANCEL:
      return {IDRETRY, IDCANCEL};
    case MB_CANCELTRYCONTINUE:
      return {IDCANCEL, IDTRYAGAIN, IDCONTINUE};
    default:
      return {IDOK};
  }
}

int MessageBoxDefaultButton(UINT type) {
  const std::vector<int> buttons = MessageBoxButtons(type);
  const size_t index = (type & MB_DEFMASK) >> 8;
  return index < buttons.size() ? buttons[index] : buttons.front();
}

UiPort& CurrentUiPort() { return g_currentPort ? *g_currentPort : g_headlessPort; }

UiPort* SetUiPort(UiPort* port) {
  UiPort* previous = g_currentPort;
  g_currentPort = port;
  return previous;
}

void ResetUiPort() { g_currentPort = nullptr; }

int AfxMessageBox(UINT id, UINT type, UINT helpId) {
  MessageBoxRequest request;
  request.id = id;
  request.text = std::string(StringTableText(id));
  request.type = type;
  request.helpId = helpId;
  return CurrentUiPort().ShowMessageBox(request);
}

int AfxMessageBox(const char* text, UINT type, UINT helpId) {
  MessageBoxRequest request;
  request.text = text ? text : "";
  request.id = FindStringId(request.text);
  request.type = type;
  request.helpId = helpId;
  return CurrentUiPort().ShowMessageBox(request);
}

void AfxFormatStrings(CString& target, LPCTSTR format, const LPCTSTR* args, int argCount) {
  const std::string_view text = format ? std::string_view(format) : std::string_view();
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9') {
      const int arg = text[i + 1] - '1';
      if (arg < argCount) {
        if (args[arg]) out += args[arg];
        ++i;
        continue;
      }
    }
    out += text[i];
  }
  target = CString(std::string_view(out));
}

void AfxFormatString1(CString& target, UINT id, LPCTSTR arg1) {
  const CString format = LoadString(id);
  const LPCTSTR args[] = {arg1};
  AfxFormatStrings(target, format, args, 1);
}

void AfxFormatString2(CString& target, UINT id, LPCTSTR arg1, LPCTSTR arg2) {
  const CString format = LoadString(id);
  const LPCTSTR args[] = {arg1, arg2};
  AfxFormatStrings(target, format, args, 2);
}

BOOL MessageBeep(UINT type) {
  CurrentUiPort().Beep(type);
  return TRUE;
}

bool ChooseFontWithColour(LOGFONT& font, COLORREF& colour) {
  return CurrentUiPort().ChooseFontWithColour(font, colour);
}

int KModalDialog::DoModal() { return CurrentUiPort().RunModal(*this); }

std::unique_ptr<CDC> UiPort::CreatePictureDC() { return nullptr; }
