#include "chords/ChordDictionaryRepair.h"

#include <cstddef>
#include <cstdio>
#include <span>
#include <system_error>

#include "chords/ChordDictionary.h"
#include "chords/ChordRecord.h"
#include "platform/FileBytes.h"
#include "platform/UiPort.h"

namespace {

constexpr std::size_t kRecord = kChordRecordSize;
constexpr std::size_t kRecordText = kChordRecordTextSize;
constexpr std::size_t kEnd = kChordRecordEndColumn;

bool IsEndMark(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  return at + 3 <= bytes.size() && bytes[at] == '$' && bytes[at + 1] == '\r' && bytes[at + 2] == '\n';
}

// A whole record at the offset: its field separators and its end mark.
bool LooksLikeRecord(const std::vector<std::uint8_t>& bytes, std::size_t start) {
  if (start + kRecord > bytes.size() || !IsEndMark(bytes, start + kEnd)) return false;
  for (std::size_t column : {14, 29, 32, 53, 84, 93, 104, 110})
    if (bytes[start + column] != '^') return false;
  return true;
}

}  // namespace

std::filesystem::path ChordFileBackupPath(const std::filesystem::path& file, std::time_t when) {
  std::tm local{};
  localtime_r(&when, &local);
  char stamp[64];
  std::snprintf(stamp, sizeof stamp, "_%02d-%02d-%02d_%02d-%02d-%02d.dat", local.tm_mon + 1, local.tm_mday,
                local.tm_year % 100, local.tm_hour, local.tm_min, local.tm_sec);
  std::string name = file.string();
  name.resize(name.size() >= 4 ? name.size() - 4 : 0);
  return std::filesystem::path(name + stamp);
}

ChordFileRepair RepairChordFile(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes,
                                std::time_t now) {
  ChordFileRepair repair;
  const std::filesystem::path backup = ChordFileBackupPath(file, now);
  std::error_code error;
  if (std::filesystem::copy_file(file, backup, std::filesystem::copy_options::overwrite_existing, error)) {
    repair.backedUp = true;
    CString text;
    AfxFormatString1(text, kMsgChordFileRepaired, backup.string().c_str());
    AfxMessageBox(text);
  }

  // The good records before the damage.
  std::size_t good = 0;
  bool damagedRecord = false;
  while (good < bytes.size()) {
    const std::size_t piece = std::min(kRecord, bytes.size() - good);
    if (piece < kRecordText) break;  // a short tail: dropped
    if (bytes[good + kEnd] != '$') {
      damagedRecord = true;
      break;
    }
    good += piece;
  }
  repair.keptBytes = good;

  // Whole records after the damage, wherever they start (the one right after
  // the damaged record too, and those after a record that lost bytes).
  if (damagedRecord) {
    for (std::size_t start = good + 1; start + kRecord <= bytes.size();) {
      if (LooksLikeRecord(bytes, start)) {
        repair.salvaged.emplace_back(reinterpret_cast<const char*>(bytes.data() + start),
                                     static_cast<int>(kRecordText));
        start += kRecord;
      } else {
        ++start;
      }
    }
  }
  // Without a backup copy the file stays as it is.
  if (!repair.backedUp) return repair;

  std::vector<std::uint8_t> repaired(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(good));
  for (const CString& record : repair.salvaged) {
    repaired.insert(repaired.end(), record.View().begin(), record.View().end());
    repaired.push_back('\n');
  }
  repair.written = fileio::ReplaceFile(file, std::as_bytes(std::span(repaired))).ok;
  return repair;
}
