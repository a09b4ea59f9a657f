#pragma once
// The keys that the columns of a part were written in, kept through Wrap
// Music: bars moved to another line still sound in their own key. Before a
// part's bars move, every column of its staff lines is noted with the key
// in force where it stands; afterwards a line starts in the key its first
// column was written in, and where its columns meet others written in
// another key a key change stands between them, as an engraver would write
// the key again only where it changes.

#include <unordered_map>

#include "view/music/ViewWrapColumns.h"

class KListLine;
class KPosObj;

class KWrapKeys {
 public:
  // Note columns a key change takes.
  static constexpr int kChangeWidth = 3;

  // Notes the key in force at every column of a staff line.
  void Note(KListLine& line);
  // The key the line's first column (other than bars) was written in; the
  // line's own key when it holds none that was noted.
  int WrittenStartKey(KListLine& line) const;
  // The key in force after the line's last column as it plays.
  static int KeyAtEnd(KListLine& line);
  // The first note column at or after `from` whose column was written in
  // another key than the one it plays in; -1 when none. `key` is the key it
  // was written in, `playing` the key it plays in there.
  int FirstMismatch(KListLine& line, int from, int& key, int& playing) const;
  // The line holds a key change.
  static bool HasKeyChange(KListLine& line);
  // A key change from `previous` to `key` as a block of one column, for the
  // line's kind (noted as written where it is put).
  KColumnBlock ChangeBlock(KListLine& line, int key, int previous);
  void Clear() { m_before.clear(); }

 private:
  std::unordered_map<const KPosObj*, int> m_before;  // the key in force just before a column
};
