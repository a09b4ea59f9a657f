#include "chords/ChordLibrary.h"

#include <algorithm>
#include <cstring>

#include "chords/ChordLibraryData.h"

int LoadChordStringDll() { return 1; }

int LoadChordDllString(int id, CString& out) {
  const ChordLibraryString* begin = kChordLibraryStrings;
  const ChordLibraryString* end = kChordLibraryStrings + kChordLibraryStringCount;
  const ChordLibraryString* found =
      std::lower_bound(begin, end, id, [](const ChordLibraryString& s, int wanted) { return s.id < wanted; });
  if (found == end || found->id != id) return 0;
  const int length = static_cast<int>(std::min<std::size_t>(std::strlen(found->text), kChordLibraryBuffer));
  if (length == 0) return 0;
  out = CString(found->text, length);
  return length;
}
