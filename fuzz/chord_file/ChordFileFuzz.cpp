// The user chord dictionary: the bytes are the dictionary file. The start-up
// load indexes it (repairing a damaged file beside it), then every tuning found
// reads the chords of its listed roots, as the chord dialogs do. No root lists
// a name twice, and the file the load left behind loads again to the same
// tunings, roots, names and shapes: a repair keeps what it read.

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "FuzzEnvironment.h"
#include "FuzzFolder.h"
#include "chords/ChordDictionary.h"
#include "chords/ChordNames.h"
#include "chords/ChordRecord.h"
#include "chords/ChordRecordTuningInfo.h"
#include "common/Globals.h"
#include "platform/CMapStringToOb.h"

namespace {

void Refill(const std::filesystem::path& file, const std::uint8_t* data, std::size_t size) {
  StavlinFuzzEmptyFolder(file.filename());
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

}  // namespace

// Loads the dictionary file and lists what it holds, one line per chord.
std::string LoadAndList(std::size_t size) {
  ResetChordDictionary();
  LoadChordDictionary();
  std::string listing;

  POSITION at = g_ChordDictionary.GetStartPosition();
  while (at != nullptr) {
    CString key;
    CObject* value = nullptr;
    g_ChordDictionary.GetNextAssoc(at, key, value);
    auto* tuning = static_cast<KTuningInfo*>(value);
    for (int index = 0; index < kChordRootCount; ++index) {
      const CString root = ChordRootCode(index);
      if (tuning->HasKey(root) && !tuning->IsKeyLoaded(root)) tuning->LoadChords(key, root);
      // Every name of the root once, with its first variation's shape. A list
      // holds at most as many names as the file has records.
      CString name;
      std::set<std::string> names;
      for (std::size_t guard = 0; guard <= size / static_cast<std::size_t>(kChordRecordSize); ++guard) {
        name = tuning->GetNextChordName(root, name);
        if (name.IsEmpty()) break;
        if (!names.insert(name.Str()).second) StavlinFuzzFail("a root lists a chord name twice");
        const CString shape = tuning->GetChordField(root, name, 1, kChordFieldShape);
        listing += key.Str() + "|" + root.Str() + "|" + name.Str() + "|" + shape.Str() + "\n";
      }
    }
  }
  ResetChordDictionary();
  return listing;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  StavlinFuzzStart();
  SetChordBackupClock([] { return std::time_t(0); });
  const std::filesystem::path file = StavlinFuzzFolder() / kChordFileName;
  Refill(file, data, size);
  g_ChordFilePath = CString(file.string().c_str());
  const std::string first = LoadAndList(size);
  if (LoadAndList(size) != first) StavlinFuzzFail("the file the load left behind loads to other chords");
  return 0;
}
