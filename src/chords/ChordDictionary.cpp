#include "chords/ChordDictionary.h"

#include <new>
#include <utility>

#include "chords/ChordDictionaryRepair.h"
#include "chords/ChordRecord.h"
#include "chords/ChordRecordTuningInfo.h"
#include "common/ErrorReporter.h"
#include "common/Globals.h"
#include "platform/FileBytes.h"
#include "platform/UiPort.h"
#include "platform/UserFolders.h"

CMapStringToOb g_ChordDictionary(4);
int g_ChordRecordNumber = 0;
int g_ChordFileErrors = 1000;
bool g_ChordRootErrorShown = false;
int g_ChordLoadResult = 0;

namespace {

constexpr int kErrorsWaiting = 1000;
constexpr int kOpenFailure = 1;
constexpr int kRootFailure = 10;

std::function<std::time_t()>& BackupClock() {
  static std::function<std::time_t()> clock;
  return clock;
}

std::time_t Now() { return BackupClock() ? BackupClock()() : std::time(nullptr); }

int OpenFailed() {
  g_ChordFileErrors += kOpenFailure;
  MessageBeep(MB_ICONASTERISK);
  return 0;
}

// Enters the record's tuning into the map and marks its root.
void IndexRecord(const CString& record) {
  const CString key = ChordRecordTuningKey(record);
  CObject* found = nullptr;
  if (!g_ChordDictionary.Lookup(key, found)) {
    found = new KTuningInfo(key, ChordRecordPitchText(record));
    g_ChordDictionary.SetAt(key, found);
  }
  static_cast<KTuningInfo*>(found)->AddKey(ChordRecordRootCode(record));
}

}  // namespace

std::filesystem::path DefaultChordFilePath() {
  if (std::optional<std::filesystem::path> data = FolderFromEnvironment("XDG_DATA_HOME"))
    return *data / "stavlin" / kChordFileName;
  if (std::optional<std::filesystem::path> home = HomeFolder())
    return *home / ".local" / "share" / "stavlin" / kChordFileName;
  return {};
}

int LoadChordDictionary() {
  if (g_ChordFilePath.IsEmpty()) g_ChordFilePath = CString(DefaultChordFilePath().string());
  const std::filesystem::path path(g_ChordFilePath.Str());
  const fileio::ReadResult file = fileio::ReadWholeFile(path);
  if (!file.ok()) return g_ChordLoadResult = OpenFailed();

  g_ChordRootErrorShown = false;
  g_ChordRecordNumber = 0;
  const std::vector<std::uint8_t>& bytes = file.bytes;
  bool damaged = false;
  for (std::size_t offset = 0; offset < bytes.size(); offset += kChordRecordSize) {
    const std::size_t piece = std::min<std::size_t>(kChordRecordSize, bytes.size() - offset);
    if (piece < static_cast<std::size_t>(kChordRecordTextSize)) {
      damaged = true;
      break;
    }
    ++g_ChordRecordNumber;
    const CString record(reinterpret_cast<const char*>(bytes.data() + offset), kChordRecordTextSize);
    if (record[kChordRecordEndColumn] != '$') {
      damaged = true;
      break;
    }
    IndexRecord(record);
  }
  if (!damaged) return g_ChordLoadResult = 1;

  try {
    const ChordFileRepair repair = RepairChordFile(path, bytes, Now());
    if (repair.backedUp && !repair.written) return g_ChordLoadResult = OpenFailed();
    // The records kept after the damage belong to the dictionary now, not only
    // after the next start.
    for (const CString& record : repair.salvaged) IndexRecord(record);
    g_ChordRecordNumber = static_cast<int>(repair.keptBytes / kChordRecordSize + repair.salvaged.size());
  } catch (const std::bad_alloc&) {
    ReportInternalError(kMsgImageMemory, "SVGlbl-41");
  }
  return g_ChordLoadResult = 1;
}

void ClearChordDictionary() { g_ChordDictionary.DeleteAllValues(); }

void ReportChordRootError(const char* locationCode) {
  g_ChordFileErrors += kRootFailure;
  if (g_ChordRootErrorShown || g_ChordFileErrors >= kErrorsWaiting) return;
  ReportInternalError(kMsgBadChordKey, locationCode);
  g_ChordRootErrorShown = true;
}

void ReportPendingChordFileErrors() {
  if (g_ChordFileErrors > kErrorsWaiting) {
    const int pending = g_ChordFileErrors % kErrorsWaiting;
    if (pending % 10 != 0) AfxMessageBox(kMsgNoChordFile);
    if (pending / 10 != 0) {
      ReportInternalError(kMsgBadChordKey, "QV1-1");
      g_ChordRootErrorShown = true;
    } else {
      g_ChordRootErrorShown = false;
    }
  }
  g_ChordFileErrors = 0;
}

void SetChordBackupClock(std::function<std::time_t()> clock) { BackupClock() = std::move(clock); }

void ResetChordDictionary() {
  ClearChordDictionary();
  g_ChordRecordNumber = 0;
  g_ChordFileErrors = kErrorsWaiting;
  g_ChordRootErrorShown = false;
  g_ChordLoadResult = 0;
  BackupClock() = nullptr;
}
