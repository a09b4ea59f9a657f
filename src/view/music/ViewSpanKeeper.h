#pragma once
// The attachments of note lines that reach from their column over later ones
// (ties, slurs, hairpins, tuplet and ending brackets) keep reaching the same
// music while columns open and close under them (even spacing, a system
// filled to its staff length). Each is held to the object its right end
// stands on: the first object at or after that column, as playback reads a
// tie's end, or the line's last object for one that reaches past the music.
// After the columns have moved, Restore widens or narrows each by as many
// columns as that object moved more than the attachment's own column did.
// An arc (a tie or slur, drawn above or below) that reached past the line's
// music, on into the next line, is drawn to the line's closing bar, where
// the system ends.

#include <vector>

class KExtendedObj;
class KListLine;
class KPosObj;

class SpanKeeper {
 public:
  explicit SpanKeeper(const std::vector<KListLine*>& lines);
  void Restore() const;

 private:
  struct Held {
    const KListLine* line;
    KExtendedObj* attachment;
    const KPosObj* end;
    int startFrom;
    int endFrom;
    bool pastEnd;  // no object stood at or after its right end
  };
  void Hold(KListLine& line);

  std::vector<Held> m_held;
};
