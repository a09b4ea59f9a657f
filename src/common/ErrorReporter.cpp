#include "common/ErrorReporter.h"

#include "common/Globals.h"
#include "platform/UiPort.h"

int ReportInternalError(UINT messageId, const char* locationCode) {
  AfxFormatString1(g_MessageText, messageId, locationCode);
  return AfxMessageBox(g_MessageText, MB_OK, 0);
}

int ReportFileProblem(UINT messageId, const char* locationCode, const char* path, const char* reason) {
  CString text;
  AfxFormatString1(text, messageId, locationCode);
  if (path != nullptr && *path != '\0') text += CString("\n") + path;
  if (reason != nullptr && *reason != '\0') text += CString("\n( ") + reason + " )";
  g_MessageText = text;
  MessageBoxRequest request;
  request.id = messageId;
  request.text = text.Str();
  request.type = MB_OK | MB_ICONEXCLAMATION;
  return CurrentUiPort().ShowMessageBox(request);
}

bool FirstReportOf(std::uint32_t kind) {
  if ((g_ReportedOnce & kind) != 0) return false;
  g_ReportedOnce |= kind;
  return true;
}

bool ReportInternalErrorOnce(std::uint32_t kind, UINT messageId, const char* locationCode) {
  // The bit is set before the box shows: the box is modal but windows keep
  // repainting behind it, and a repaint that fails again must not stack a
  // second box on the first.
  if (!FirstReportOf(kind)) return false;
  ReportInternalError(messageId, locationCode);
  return true;
}
