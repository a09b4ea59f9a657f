#pragma once
// The repair of a damaged chord dictionary file (used by LoadChordDictionary).

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <vector>

#include "platform/CString.h"

struct ChordFileRepair {
  bool backedUp = false;          // the damaged file was copied to its backup
  bool written = false;           // the repaired file replaced the damaged one
  std::size_t keptBytes = 0;      // the good records before the damage
  std::vector<CString> salvaged;  // whole records found after the damage (131 characters each)
};

// The dated backup name of the file: "ZODireda_12-08-26_06-15-03.dat" beside it
// for the local time of 8 December 2026, 06:15:03.
std::filesystem::path ChordFileBackupPath(const std::filesystem::path& file, std::time_t when);

// Copies the damaged file to its backup (message 8242 when the copy worked),
// then rewrites it in one step with the good records before the damage and the
// whole records found after it (132 bytes with their field separators and
// '$', CR, LF, wherever they start: the one right after a damaged record is
// kept). Without a backup the file is not touched; it is never left
// half-written.
ChordFileRepair RepairChordFile(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes,
                                std::time_t now);
