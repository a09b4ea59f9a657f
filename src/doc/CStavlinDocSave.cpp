// Save, Save As, the backup copy of the file a save replaces, the question
// before a changed score closes, and closing.

#include <filesystem>
#include <span>
#include <system_error>
#include <utility>

#include "doc/CStavlinDoc.h"
#include "doc/CStavlinDocFile.h"
#include "doc/pref_values/Preferences.h"
#include "platform/FileBytes.h"
#include "platform/UiPort.h"

namespace {

constexpr UINT kSettingsChangedQuestion = 7007;
constexpr const char* kScoreExtension = ".svd";
constexpr const char* kBackupExtension = ".bak";
// The name a score never saved goes by in the save question.
constexpr const char* kUntitled = "Untitled";

KSaveAsPrompt& SaveAsPrompt() {
  static KSaveAsPrompt prompt;
  return prompt;
}

}  // namespace

const char* const kSaveChangesText = "Save changes to %1?";
const char* const kBackupFailedText =
    "Stavlin could not make the backup copy %1\n"
    "The score is saved all the same.\n"
    "( %2 )";

void SetScoreSaveAsPrompt(KSaveAsPrompt prompt) { SaveAsPrompt() = std::move(prompt); }

CString BackupPathOf(const CString& path) {
  const CString extension = ScoreFileExtension(path);
  return path.Left(path.GetLength() - extension.GetLength()) + kBackupExtension;
}

CString CStavlinDoc::MakeBackupBeforeSave(const CString& path) {
  // Once per run, and only of a file that is there to be replaced.
  if (settings.makeBackups == 0 || backupMade != 0) return CString();
  const std::filesystem::path file = ScoreNativePath(path);
  std::error_code error;
  if (!std::filesystem::is_regular_file(file, error)) return CString();
  const CString backup = BackupPathOf(path);
  // A score saved under a backup name would be its own backup.
  if (ScoreNativePath(backup) == file) return CString();

  const fileio::ReadResult read = fileio::ReadWholeFile(file);
  std::string problem = read.message;
  if (read.ok()) {
    const fileio::WriteResult written =
        fileio::ReplaceFile(ScoreNativePath(backup), std::as_bytes(std::span(read.bytes)));
    problem = written.message;
    if (written.ok) {
      backupPath = backup;
      backupMade = 1;
      return CString();
    }
  }
  CString text;
  const CString reason = problem.empty() ? CString("Doc-9") : CString(problem.c_str());
  const LPCTSTR args[2] = {backup, reason};
  AfxFormatStrings(text, kBackupFailedText, args, 2);
  return text;
}

BOOL CStavlinDoc::DoFileSave() {
  if (m_strPathName.IsEmpty()) return DoSave(nullptr);
  // The path is taken before the save sets it again.
  const CString path = m_strPathName;
  return DoSave(path);
}

BOOL CStavlinDoc::DoSave(LPCTSTR pathText) {
  CString path = pathText != nullptr ? CString(pathText) : CString();
  if (path.IsEmpty()) {
    const KSaveAsPrompt& prompt = SaveAsPrompt();
    if (!prompt) return FALSE;
    // A score not yet saved is offered under the name it goes by.
    path = prompt(m_strPathName.IsEmpty() ? m_untitledName : m_strPathName);
    if (path.IsEmpty()) return FALSE;
    if (ScoreFileExtension(path).IsEmpty()) path += kScoreExtension;
  }
  return OnSaveDocument(path);
}

CString CStavlinDoc::ScoreName() const {
  if (!m_strPathName.IsEmpty()) return fileName.IsEmpty() ? m_strPathName : fileName;
  return m_untitledName.IsEmpty() ? CString(kUntitled) : m_untitledName;
}

BOOL CStavlinDoc::SaveModified() {
  if (contentModified) {
    // The content changed: the framework's question. Cancel keeps the score
    // open and its changes marked as such.
    CString text;
    const CString name = ScoreName();
    const LPCTSTR args[1] = {name};
    AfxFormatStrings(text, kSaveChangesText, args, 1);
    switch (AfxMessageBox(text, MB_YESNOCANCEL | MB_ICONEXCLAMATION)) {
      case IDCANCEL:
        return FALSE;
      case IDYES:
        return DoFileSave();
      default:
        DiscardChangedFlags();
        return TRUE;
    }
  }
  if (!m_bModified) return TRUE;
  // Only settings kept in the score changed.
  switch (AfxMessageBox(kSettingsChangedQuestion, MB_YESNOCANCEL)) {
    case IDYES:
      return DoFileSave();
    case IDNO:
      DiscardChangedFlags();
      return TRUE;
    default:
      return FALSE;
  }
}

// No to the question: the changes are let go, content and settings alike, so
// that the score is not asked about again (nor with the wrong question) while
// it stays open.
void CStavlinDoc::DiscardChangedFlags() {
  SetModifiedFlag(FALSE);
  settingsModified = 0;
}

void CStavlinDoc::OnCloseDocument() {
  if (!backupPath.IsEmpty() && !(settings.makeBackups != 0 && backupMade != 0)) {
    std::error_code ignored;
    std::filesystem::remove(ScoreNativePath(backupPath), ignored);
    backupPath.Empty();
  }
  if (!m_strPathName.IsEmpty()) g_strLastOpenFile = m_strPathName;
  DeleteContents();
}
