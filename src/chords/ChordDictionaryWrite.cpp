#include "chords/ChordDictionaryWrite.h"

#include <filesystem>
#include <fstream>
#include <span>

#include "chords/ChordRecord.h"
#include "chords/ChordRecordTuningInfo.h"
#include "common/Globals.h"
#include "platform/FileBytes.h"

namespace {

std::filesystem::path ChordFile() { return std::filesystem::path(g_ChordFilePath.Str()); }

CString Field(const CString& text, int width) {
  CString field = text.Left(width);
  while (field.GetLength() < width) field += ' ';
  return field;
}

char At(const CString& text, int i) { return i < text.GetLength() ? text[i] : ' '; }

}  // namespace

char ExtraStringsRowDigit(int strings, int seventhHigh, int eighthHigh) {
  if (strings == 7) return static_cast<char>('0' + (seventhHigh != 0 ? 1 : 0));
  if (strings == 8) return static_cast<char>('0' + (seventhHigh != 0 ? 2 : 0) + (eighthHigh != 0 ? 1 : 0));
  return ' ';
}

CString BuildChordRecord(const CString& tuning, const CString& pitchText, const CString& root,
                         const CString& type, const CString& details, const CString& hint,
                         const CString& shape) {
  const int strings = At(shape, 32) == '7' ? (At(shape, 36) == '8' ? 8 : 7) : 6;
  CString record = Field(tuning.Left(13), 14) + "^" + Field(pitchText, 14) + "^" + Field(root, 2) + "^" +
                   Field(type.Left(15), 20) + "^" + Field(details, 30) + "^" + Field(hint, 8) + "^";
  CString frets = shape.Left(7);
  if (strings >= 7) frets += At(shape, 33);
  if (strings == 8) frets += At(shape, 37);
  record += Field(frets, 10) + "^" + Field(shape.Mid(15, 5), 5) + "^" + Field(shape.Mid(23, 3), 3);
  CString flags = Field(shape.Mid(20, 3), 3);
  flags += ExtraStringsRowDigit(strings, At(shape, 34) == '1', At(shape, 38) == '1');
  record += flags;
  CString fingers = shape.GetLength() >= 32 ? shape.Mid(26, 6) : CString();
  if (strings >= 7) fingers = Field(fingers, 6) + At(shape, 35);
  if (strings == 8) fingers += At(shape, 39);
  record += Field(fingers, 11) + "$\r\n";
  return record.GetLength() == kChordRecordSize ? record : CString();
}

bool AppendChordRecords(const std::vector<CString>& records) {
  std::string bytes;
  for (const CString& record : records) {
    if (record.GetLength() != kChordRecordSize) return false;
    bytes += record.Str();
  }
  if (bytes.empty()) return true;
  std::error_code error;
  const std::filesystem::path path = ChordFile();
  if (path.empty()) return false;
  const auto before = std::filesystem::exists(path, error) ? std::filesystem::file_size(path, error) : 0;
  if (error) return false;
  std::ofstream out(path, std::ios::binary | std::ios::app);
  if (!out) return false;
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) {
    // A short write is taken back, so that no half record stays behind.
    std::filesystem::resize_file(path, before, error);
    return false;
  }
  return true;
}

ChordRemoval RemoveUserChord(KTuningInfo& info, const CString& root, const CString& name,
                             const CString& shape, int& listEmpty, int& nameRemains) {
  listEmpty = 0;
  nameRemains = 1;
  if (!info.HasChord(root, name, shape)) return ChordRemoval::kNotFound;
  const fileio::ReadResult file = fileio::ReadWholeFile(ChordFile());
  if (!file.ok()) return ChordRemoval::kWriteFailed;
  const std::vector<std::uint8_t>& bytes = file.bytes;
  const std::size_t size = bytes.size();
  std::size_t found = size;
  for (std::size_t offset = 0; size - offset >= static_cast<std::size_t>(kChordRecordTextSize);
       offset += kChordRecordSize) {
    const CString record(reinterpret_cast<const char*>(bytes.data() + offset), kChordRecordTextSize);
    const KUserChordData chord(record);
    if (ChordRecordTuningKey(record) == info.GetTuningKey() && ChordRecordRootCode(record) == root &&
        chord.GetName() == name && chord.GetShape() == shape) {
      found = offset;
      break;
    }
    if (size - offset < static_cast<std::size_t>(kChordRecordSize)) break;
  }
  if (found == size) return ChordRemoval::kNotFound;
  std::vector<std::uint8_t> kept(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(found));
  const std::size_t next = std::min(size, found + kChordRecordSize);
  kept.insert(kept.end(), bytes.begin() + static_cast<std::ptrdiff_t>(next), bytes.end());
  if (!fileio::ReplaceFile(ChordFile(), std::as_bytes(std::span(kept))).ok) return ChordRemoval::kWriteFailed;
  info.RemoveChord(root, name, shape, listEmpty, nameRemains);
  return ChordRemoval::kRemoved;
}
