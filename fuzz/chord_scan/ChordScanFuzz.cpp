// The user chord dictionary as the chord scan of an opened score and the
// chord removal read it: the bytes are the dictionary file. After the
// start-up load (which repairs a damaged file), the scan lists each tuning's
// chords from the file, and every chord it lists makes a whole record again.
// Removing a listed chord takes exactly one record out of the file; a removal
// that does not happen leaves the file as it was.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "FuzzEnvironment.h"
#include "FuzzFolder.h"
#include "chords/ChordDictionary.h"
#include "chords/ChordDictionaryWrite.h"
#include "chords/ChordNames.h"
#include "chords/ChordRecord.h"
#include "chords/ChordRecordTuningInfo.h"
#include "chords/ChordScan.h"
#include "common/Globals.h"
#include "platform/CMapStringToOb.h"

namespace {

std::vector<std::uint8_t> ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  StavlinFuzzStart();
  ResetChordDictionary();
  SetChordBackupClock([] { return std::time_t(0); });
  const std::filesystem::path file = StavlinFuzzEmptyFolder(kChordFileName) / kChordFileName;
  {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  g_ChordFilePath = CString(file.string().c_str());
  LoadChordDictionary();

  bool removedOne = false;
  POSITION at = g_ChordDictionary.GetStartPosition();
  while (at != nullptr) {
    CString key;
    CObject* value = nullptr;
    g_ChordDictionary.GetNextAssoc(at, key, value);
    auto* tuning = static_cast<KTuningInfo*>(value);

    for (const ScannedChord& chord : DictionaryChordsOfTuning(key)) {
      if (!SameScannedChord(chord, chord)) StavlinFuzzFail("a scanned chord is not the same as itself");
      const CString record = ScannedChordRecord(key, chord);
      if (!record.IsEmpty() && record.GetLength() != kChordRecordSize)
        StavlinFuzzFail("a scanned chord makes a record of the wrong length");
    }

    if (removedOne) continue;
    for (int index = 0; index < kChordRootCount && !removedOne; ++index) {
      const CString root = ChordRootCode(index);
      if (!tuning->HasKey(root)) continue;
      if (!tuning->IsKeyLoaded(root)) tuning->LoadChords(key, root);
      const CString name = tuning->GetNextChordName(root, CString());
      if (name.IsEmpty()) continue;
      const CString shape = tuning->GetChordField(root, name, 1, kChordFieldShape);
      const std::vector<std::uint8_t> before = ReadAll(file);
      int listEmpty = 0;
      int nameRemains = 0;
      const ChordRemoval removal = RemoveUserChord(*tuning, root, name, shape, listEmpty, nameRemains);
      const std::vector<std::uint8_t> after = ReadAll(file);
      if (removal == ChordRemoval::kRemoved) {
        const std::size_t gone = before.size() - after.size();
        if (after.size() >= before.size() || gone > static_cast<std::size_t>(kChordRecordSize) ||
            gone < static_cast<std::size_t>(kChordRecordTextSize))
          StavlinFuzzFail("removing a chord took out more or less than its record");
      } else if (after != before) {
        StavlinFuzzFail("a removal that did not happen changed the file");
      }
      removedOne = true;
    }
  }
  ResetChordDictionary();
  return 0;
}
