#include "doc/CStavlinDocGlobals.h"

#include "model/LineServices.h"

namespace {
constexpr const char* kNotYetSaved = "- Not yet saved -";  // string 8155
constexpr int kDiagramPercent = 100;
}  // namespace

CString g_docFileName = kNotYetSaved;
CString g_docFileFolder = kNotYetSaved;
long long g_docFileSize = 0;
int g_scoreChanged = 0;
int g_diagramWidth = kDiagramPercent;
int g_diagramHeight = kDiagramPercent;
int g_undoLineGroupsRequested = 0;
int g_embeddedItemsNoticeShown = 0;
int g_adTabMode = 0;

// The staff spacing of new lines lives with the line services.
void SetNewLineSpacing(int indent, int staffAbove, int staffBelow, int tabAbove, int tabBelow) {
  g_defaultIndent = indent;
  g_staffSpaceAbove = staffAbove;
  g_staffSpaceBelow = staffBelow;
  g_tabSpaceAbove = tabAbove;
  g_tabSpaceBelow = tabBelow;
}

void ResetDocGlobals() {
  g_docFileName = kNotYetSaved;
  g_docFileFolder = kNotYetSaved;
  g_docFileSize = 0;
  g_scoreChanged = 0;
  g_diagramWidth = kDiagramPercent;
  g_diagramHeight = kDiagramPercent;
  g_undoLineGroupsRequested = 0;
  g_embeddedItemsNoticeShown = 0;
  g_adTabMode = 0;
}
