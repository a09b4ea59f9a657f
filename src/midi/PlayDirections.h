#pragma once
// The play directions of one line: its repeat bars, coda and segno signs,
// ending brackets and the direction words written above it (D.C. al Fine, To
// Coda, Fine, ending numbers, a repeat count such as "3x") become play-direction
// records (KPDObj) in column order, for the play order to follow.
//
// Record kinds and values:
//   0  repeat start (value 0); the implicit section start at column 0 of a
//      first line (value 7)
//   1  repeat end; value = how many times play goes back (1, or a count
//      written just before the bar)
//   2  jump text; value = the jump code (JumpCode)
//   3  coda mark, 4 segno mark (value 1, 2, 3 for consecutive signs)
//   5  fine mark
//   6  ending bracket; value = its form 1..5 (+ 50 for a "next strain"
//      caption); its pass entries hold the pass numbers written in it

#include <string>
#include <vector>

class CObList;
class KListLine;

namespace play_dir {
inline constexpr int kRepeatStart = 0;
inline constexpr int kRepeatEnd = 1;
inline constexpr int kJump = 2;
inline constexpr int kCoda = 3;
inline constexpr int kSegno = 4;
inline constexpr int kFine = 5;
inline constexpr int kEnding = 6;
// The value of the implicit section start.
inline constexpr int kSectionStart = 7;
// The value a "next strain" caption adds to an ending bracket.
inline constexpr int kNextStrain = 50;
}  // namespace play_dir

// What the words of a direction text say (upper-cased substrings).
struct DirectionWords {
  bool daCapo = false;      // DC, D.C., TO START, TO BEGINNING
  bool dalSegno = false;    // DS, D.S., DAL SEGNO, FROM SEGNO
  bool alSegno = false;     // AS, A.S., AL SEGNO, TO SEGNO (without a D.S. word)
  bool segno = false;       // SEGNO (without either group above)
  bool coda = false;        // CODA
  bool fine = false;        // FINE
  bool jumpWord = false;    // GO TO, AL, TO ... (see the source)
  bool nextStrain = false;  // NEXT STRAIN, NEXT SECTION (only with a jump word)
  // 2 jump, 5 fine, 3 coda, 4 segno; -1 none.
  int Kind() const;
  // The value of a jump record made from these words.
  int JumpCode() const;
};
DirectionWords ReadDirectionWords(const std::string& text);

// The pass numbers written in a text ("1.", "1, 2", "1-3", "2 to 4"): single
// digits from the first one on, each above the one before (reading stops at
// one that is not), at most ten; a gap bridged by "-", "to" or "zu" is filled.
std::vector<int> ReadPassNumbers(const std::string& text);

// A caption such as "C VII" or "8va" that names a hand position or an
// octave, not a direction.
bool IsPositionCaption(const std::string& text);

// Appends the line's play-direction records, in column order, to directions
// (which owns them). lineIndex is the line's display-line index, stored in
// each record; isFirstLine makes the implicit section start at column 0. Lines
// that are not staff or tablature lines, and empty lines, add nothing.
void CollectPlayDirections(KListLine& line, CObList& directions, int lineIndex, int isFirstLine);
