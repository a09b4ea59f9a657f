// The score document: construction, settings, the text-line font table, the
// modified flags and a new score.

#include "doc/CStavlinDoc.h"

#include <algorithm>

#include "common/AppServices.h"
#include "common/Globals.h"
#include "doc/CStavlinDocGlobals.h"
#include "doc/DocLineHooks.h"
#include "doc/pref_values/Preferences.h"
#include "model/DocServices.h"
#include "model/KLineObj.h"
#include "platform/StringTable.h"

IMPLEMENT_DYNCREATE(CStavlinDoc, CObject);

namespace {
constexpr UINT kNotYetSavedId = 8155;  // "- Not yet saved -"
}  // namespace

CStavlinDoc::CStavlinDoc() {
  fileName = LoadString(kNotYetSavedId);
  fileFolder = fileName;
  g_docFileName = fileName;
  g_docFileFolder = fileFolder;
  writerVersion = g_ProgramVersionText;
  g_FileVersionText = g_ProgramVersionText;
  // The settings record took its defaults from the preferences; the tablature
  // spacing and the rhythm font in use follow them.
  g_tabStringSpacing = g_prefStaffLines2.tabLineSpacing;
  g_rhythmFont = settings.rhythmFont;
}

CStavlinDoc::~CStavlinDoc() { DeleteContents(); }

void CStavlinDoc::SetModifiedFlag(BOOL modified) {
  const int flag = modified ? 1 : 0;
  g_scoreChanged = flag;
  contentModified = flag;
  editedSinceSave = flag;
  m_bModified = flag;
  if (modified) {
    for (KDocumentView* view : m_views) view->SetChangedFlag();
  }
}

void CStavlinDoc::AddView(KDocumentView* view) {
  if (view != nullptr && std::find(m_views.begin(), m_views.end(), view) == m_views.end())
    m_views.push_back(view);
}

void CStavlinDoc::RemoveView(KDocumentView* view) { std::erase(m_views, view); }

void CStavlinDoc::UpdateAllViews(KDocumentView* sender, int hint) {
  // A view may detach itself while it is told; tell the ones attached now.
  const std::vector<KDocumentView*> views = m_views;
  for (KDocumentView* view : views) {
    if (view != sender) view->OnUpdate(sender, hint);
  }
}

BOOL CStavlinDoc::SetSettings(const ScoreSettings& record, BOOL mark) {
  if (&record != &settings) settings = record;
  if (!mark) return FALSE;
  settingsModified = 1;
  m_bModified = TRUE;
  return TRUE;
}

void CStavlinDoc::TakeInstrumentLabels(const InstrumentLabels& labels, int markChanged) {
  static_assert(ScoreSettings::kInstrumentSlots == kInstrumentTableSize);
  ScoreSettings record = settings;
  for (int i = 0; i < kInstrumentTableSize; ++i) record.instrumentTable[i] = labels.instrumentLabels[i];
  record.instrumentCount = labels.instrumentCount;
  SetSettings(record, markChanged);
}

int CStavlinDoc::GetFontTable(std::span<LOGFONT, kFontArraySize> fonts,
                              std::span<int, kFontArraySize> counts) {
  fontsInUse = 0;
  for (int i = 0; i < kFontCount; ++i) {
    fonts[i + 1] = textFonts[i];
    counts[i + 1] = fontUseCounts[i];
    if (fontUseCounts[i] != 0) ++fontsInUse;
  }
  return fontsInUse;
}

void CStavlinDoc::SetFontTable(int used, std::span<const LOGFONT, kFontArraySize> fonts) {
  fontsInUse = used;
  for (int i = 0; i < kFontCount; ++i) textFonts[i] = fonts[i + 1];
}

void CStavlinDoc::SetFontUseCounts(std::span<const int, kFontArraySize> counts) {
  fontsInUse = 0;
  for (int i = 0; i < kFontCount; ++i) {
    fontUseCounts[i] = counts[i + 1];
    if (fontUseCounts[i] != 0) ++fontsInUse;
  }
}

void CStavlinDoc::CountFontUse(std::span<int, kFontArraySize> counts, int* used) {
  RecountFontUse();
  counts[0] = kFontCountHeader;
  for (int i = 0; i < kFontCount; ++i) counts[i + 1] = fontUseCounts[i];
  if (used != nullptr) *used = fontsInUse;
}

void CStavlinDoc::RecountFontUse() {
  std::fill(std::begin(fontUseCounts), std::end(fontUseCounts), 0);
  if (const auto fontNumber = DocLineHooks().textFontNumber) {
    POSITION pos = lines.GetHeadPosition();
    while (pos != nullptr) {
      const KLineObj* line = GetNextLine(pos);
      if (line == nullptr) continue;
      const int n = fontNumber(*line);
      // A number outside the table names no font of it.
      if (n > 0 && n <= kFontCount) ++fontUseCounts[n - 1];
    }
  }
  fontsInUse = static_cast<int>(std::count_if(std::begin(fontUseCounts), std::end(fontUseCounts),
                                              [](int count) { return count != 0; }));
}

void CStavlinDoc::DeleteContents() {
  while (!lines.IsEmpty()) delete lines.RemoveHead();
  while (!lineGroups.IsEmpty()) delete lineGroups.RemoveHead();
  DropGroupIndex();
}

BOOL CStavlinDoc::OnNewDocument() {
  DeleteContents();
  SetModifiedFlag(FALSE);
  settingsModified = 0;
  m_strPathName.Empty();
  g_fileVersion = kCurrentFileVersion;
  // A new score comes from no path that could ask for its groups undone.
  g_undoLineGroupsRequested = 0;
  AfterOpen();
  if (const auto newTextLine = DocLineHooks().newTextLine) {
    if (KLineObj* line = newTextLine()) lines.AddHead(line);
  }
  return TRUE;
}

void CStavlinDoc::SplitPath(const CString& path) {
  // With no folder in the path the two parts stay as they are.
  const int slash = path.ReverseFind('/');
  if (slash >= 0) {
    fileName = path.Mid(slash + 1);
    fileFolder = path.Left(slash);
  }
  g_docFileName = fileName;
  g_docFileFolder = fileFolder;
}
