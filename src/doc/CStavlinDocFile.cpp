// Opening and saving a score file on a path. The score's archive is the
// "Contents" stream of a compound file (platform/CompoundFile.h); it is read
// whole into memory and loaded from there, and saving builds the archive in
// memory and hands it to the container, which replaces the file only with a
// complete new one.

#include "doc/CStavlinDocFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <new>
#include <system_error>

#include "common/Globals.h"
#include "doc/CStavlinDoc.h"
#include "doc/CStavlinDocGlobals.h"
#include "doc/pref_values/Preferences.h"
#include "platform/CArchive.h"
#include "platform/CFile.h"
#include "platform/CompoundFile.h"
#include "platform/FileBytes.h"
#include "platform/StringTable.h"
#include "platform/UiPort.h"

namespace {

constexpr UINT kNoExtensionMessage = 7034;
constexpr UINT kUnknownExtensionMessage = 7067;
constexpr UINT kBackupFileMessage = 7091;
constexpr UINT kOpenProblemMessage = 8207;

constexpr const char* kScoreExtension = ".svd";
constexpr const char* kMidiExtension = ".mid";
constexpr const char* kBackupExtension = ".bak";
// A path holding this asks the line-group check to undo the score's groups.
constexpr const char* kUndoLineGroupsMark = "UndoLineGroups";

void (*g_midiImporter)(const CString& path) = nullptr;

void ShowOpenProblem(const CString& path, const CString& reason) {
  CString text;
  AfxFormatString2(text, kOpenProblemMessage, path, reason);
  AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
}

CString ArchiveProblem(const CArchiveException& e) {
  switch (e.m_cause) {
    case CArchiveException::endOfFile:
      return "Doc-5: the score data ends too soon";
    case CArchiveException::badClass:
      return "Doc-5: the score holds an object of an unknown kind";
    case CArchiveException::badSchema:
      return "Doc-5: the score holds an object of an unknown version";
    case CArchiveException::badIndex:
      return "Doc-5: the score data refers to an object that is not there";
    default:
      return "Doc-5: the score data is damaged";
  }
}

void NoticeEmbeddedItemsOnce() {
  if (g_embeddedItemsNoticeShown) return;
  g_embeddedItemsNoticeShown = 1;
  AfxMessageBox(kEmbeddedItemsNoticeText, MB_OK | MB_ICONINFORMATION);
}

// Why a score file cannot be read at all, in the words of the system.
CString UnreadableReason(const std::filesystem::path& file) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(file, error);
  if (status.type() == std::filesystem::file_type::not_found) return "Doc-2: there is no such file";
  if (status.type() == std::filesystem::file_type::directory) return "Doc-2: it is a folder, not a file";
  if (error) return CString("Doc-2: ") + CString(error.message().c_str());
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return CString("Doc-2: ") + CString(std::strerror(errno));
  ::close(fd);
  if (status.type() != std::filesystem::file_type::regular) return "Doc-2: it is not a plain file";
  return "Doc-2";
}

// A folder whose permissions let nobody write into it (what a file manager
// calls read-only), or that this user may not write into. The permission
// bits are asked as well as the system, since a privileged user could write
// there all the same and go round the folder's protection.
bool IsReadOnlyFolder(const std::filesystem::path& file) {
  const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : ".";
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(folder, error);
  if (error || status.type() != std::filesystem::file_type::directory) return false;
  using std::filesystem::perms;
  const perms writable = perms::owner_write | perms::group_write | perms::others_write;
  if ((status.permissions() & writable) == perms::none) return true;
  return ::access(folder.c_str(), W_OK) != 0 && errno == EACCES;
}

}  // namespace

// Texts of messages the string table does not hold.
const char* const kSaveFailedText =
    "Stavlin could not save the score as %1\n"
    "The file that was there before (if any) has not been changed.\n"
    "( %2 )";
const char* const kEmbeddedItemsNoticeText =
    "This score holds embedded objects (pictures or documents of other programs).\n"
    "They cannot be shown here, and they will not be kept when the score is saved.";

CString ScoreFileExtension(const CString& path) {
  const int dot = path.ReverseFind('.');
  if (dot < 0 || dot < path.ReverseFind('/')) return CString();
  return path.Mid(dot);
}

std::filesystem::path ScoreNativePath(const CString& path) { return std::filesystem::path(path.ToUtf8()); }

void SetScoreMidiImporter(void (*importer)(const CString& path)) { g_midiImporter = importer; }

BOOL CStavlinDoc::OnOpenDocument(LPCTSTR pathText) {
  const CString path(pathText);
  const CString extension = ScoreFileExtension(path);
  if (extension.IsEmpty()) {
    AfxMessageBox(kNoExtensionMessage, MB_OK);
    return FALSE;
  }
  if (extension.CompareNoCase(kMidiExtension) == 0) {
    // The import makes a score of its own; this document is not opened.
    if (g_midiImporter != nullptr) g_midiImporter(path);
    return FALSE;
  }
  if (extension.CompareNoCase(kBackupExtension) == 0) {
    AfxMessageBox(kBackupFileMessage, MB_OK);
    return FALSE;
  }
  if (extension.CompareNoCase(kScoreExtension) != 0) {
    CString text;
    AfxFormatString1(text, kUnknownExtensionMessage, extension);
    AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
    return FALSE;
  }

  const std::filesystem::path file = ScoreNativePath(path);
  KContainerRead read;
  try {
    read = CurrentCompoundFile().Read(file);
  } catch (const std::exception&) {
    read.error = KContainerError::kUnreadable;
  }
  if (read.error == KContainerError::kNotFound || read.error == KContainerError::kUnreadable) {
    ShowOpenProblem(path, UnreadableReason(file));
    return FALSE;
  }
  if (!read.ok()) {
    ShowOpenProblem(path, "Doc-4: " + CString(read.message.c_str()));
    return FALSE;
  }

  std::error_code sizeError;
  const std::uintmax_t size = std::filesystem::file_size(file, sizeError);
  if (sizeError) ShowOpenProblem(path, "Doc-3");
  const long long openedSize = sizeError ? 0 : static_cast<long long>(size);

  try {
    CMemFile memory(std::move(read.contents));
    CArchive ar(&memory, CArchive::load | CArchive::bNoFlushOnDelete);
    // Lines and groups own their objects: no object may appear twice.
    ar.SetObjectReferencesAllowed(false);
    Serialize(ar);
    ar.Close();
  } catch (const CArchiveException& e) {
    ShowOpenProblem(path, ArchiveProblem(e));
    return FALSE;
  } catch (const std::bad_alloc&) {
    ShowOpenProblem(path, "Doc-6: there is not enough memory to read it");
    return FALSE;
  } catch (const std::exception&) {
    ShowOpenProblem(path, "Doc-5: the score data is damaged");
    return FALSE;
  }

  fileSize = openedSize;
  g_docFileSize = openedSize;
  SetPathName(path);
  backupMade = 0;
  backupPath.Empty();
  g_strLastOpenFile = path;
  g_undoLineGroupsRequested = path.Find(kUndoLineGroupsMark) >= 0 ? 1 : 0;
  AfterOpen();
  SetModifiedFlag(FALSE);
  settingsModified = 0;
  SplitPath(path);
  if (read.hasEmbeddedItems || m_lastLoadHadItems) NoticeEmbeddedItemsOnce();
  return TRUE;
}

BOOL CStavlinDoc::OnSaveDocument(LPCTSTR pathText) {
  const CString path(pathText);
  const CString oldWriterVersion = writerVersion;
  const CString oldVersionText = g_FileVersionText;
  // Replacing a read-only file through a new file would go round its
  // protection: the save refuses before it builds anything.
  const bool readOnlyFile = fileio::IsReadOnlyFile(ScoreNativePath(path));
  if (readOnlyFile || IsReadOnlyFolder(ScoreNativePath(path))) {
    CString text;
    const CString problem =
        readOnlyFile ? "Doc-10: the file is read-only; save the score under another name"
                     : "Doc-10: the folder is read-only; save the score in another folder";
    const LPCTSTR args[2] = {path, problem};
    AfxFormatStrings(text, kSaveFailedText, args, 2);
    AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
    return FALSE;
  }
  const CString backupProblem = MakeBackupBeforeSave(path);
  CString problem;
  try {
    CMemFile memory;
    {
      CArchive ar(&memory, CArchive::store);
      Serialize(ar);
      ar.Close();
    }
    const std::vector<BYTE> bytes = memory.Detach();
    const KContainerWrite written = CurrentCompoundFile().Write(ScoreNativePath(path), bytes);
    if (!written.ok()) problem = written.message.empty() ? "Doc-7" : written.message.c_str();
  } catch (const CArchiveException&) {
    problem = "Doc-8: a part of the score cannot be stored";
  } catch (const std::bad_alloc&) {
    problem = "Doc-8: there is not enough memory to build the file";
  } catch (const std::exception&) {
    problem = "Doc-8: the file cannot be built";
  }
  if (!problem.IsEmpty()) {
    writerVersion = oldWriterVersion;
    g_FileVersionText = oldVersionText;
    CString text;
    const LPCTSTR args[2] = {path, problem};
    AfxFormatStrings(text, kSaveFailedText, args, 2);
    AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
    return FALSE;
  }

  // A backup that could not be made is told once the score itself is safe.
  if (!backupProblem.IsEmpty()) AfxMessageBox(backupProblem, MB_OK | MB_ICONEXCLAMATION);
  SetPathName(path);
  SetModifiedFlag(FALSE);
  settingsModified = 0;
  SplitPath(path);
  return TRUE;
}
