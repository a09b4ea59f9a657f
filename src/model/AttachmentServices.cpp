#include "model/AttachmentServices.h"

namespace {
constexpr const char* kDefaultAttachmentFont = "13,0,0,0,700,255,0,0,0,3,2,1,18,Times New Roman";
constexpr int kDefaultStaffLines3Second = 99;
}  // namespace

CString g_defaultNumberFontText = kDefaultAttachmentFont;
CString g_defaultTextFontText = kDefaultAttachmentFont;
int g_staffLines3Second = kDefaultStaffLines3Second;

void ResetAttachmentServices() {
  g_defaultNumberFontText = kDefaultAttachmentFont;
  g_defaultTextFontText = kDefaultAttachmentFont;
  g_staffLines3Second = kDefaultStaffLines3Second;
}
