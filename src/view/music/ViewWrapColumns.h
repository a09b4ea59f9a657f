#pragma once
// Moving runs of columns between lines for Wrap Music: a run is cut out of a
// line with its attachments (the columns after it close up) and put into
// another line at a column (the columns from there on open up). Staff and
// tablature lines count in their own columns; a chord-diagram line counts in
// the note columns of its group (its diagrams stand under the notes they
// name), so that every line of a group moves the same music.

#include <deque>
#include <map>
#include <memory>
#include <vector>

class KListLine;
class KPosObj;
class KExtendedObj;

// Cut columns, owned until put into a line; positions count from the run's
// first column, in note columns.
class KColumnBlock {
 public:
  KColumnBlock() = default;
  ~KColumnBlock();
  KColumnBlock(KColumnBlock&& other) noexcept;
  KColumnBlock& operator=(KColumnBlock&& other) noexcept;
  KColumnBlock(const KColumnBlock&) = delete;
  KColumnBlock& operator=(const KColumnBlock&) = delete;

  bool Empty() const { return m_objects.empty() && m_attachments.empty(); }
  int ObjectCount() const { return static_cast<int>(m_objects.size()); }

 private:
  friend class KColumnCarry;
  friend KColumnBlock CutColumns(KListLine& line, int from, int to);
  friend void InsertColumns(KListLine& line, int at, int width, KColumnBlock&& block);
  std::vector<KPosObj*> m_objects;
  std::vector<KExtendedObj*> m_attachments;
};

// Columns cut from the end of one line of a part on their way down: they
// stand in front of the next line's own columns until a line keeps them.
// Taking columns from its front, and putting a block in front or at its end,
// touch only those columns, so that bars which pass through many lines (a
// score wrapped to a shorter staff) move once each, not once a line.
class KColumnCarry {
 public:
  // For the columns of a line of this kind (a rhythm line counts in pixels).
  explicit KColumnCarry(const KListLine& line);
  ~KColumnCarry();
  KColumnCarry(KColumnCarry&& other) noexcept;
  KColumnCarry& operator=(KColumnCarry&&) = delete;
  KColumnCarry(const KColumnCarry&) = delete;
  KColumnCarry& operator=(const KColumnCarry&) = delete;

  bool Empty() const { return m_objects.empty() && m_attachments.empty(); }
  // Note columns up to and including its last object; 0 when it holds none.
  int Length() const;
  // The block, `width` note columns wide, goes in front; the carried columns
  // move on by `width`.
  void PutFront(KColumnBlock&& block, int width);
  // The block goes in at note column `at`, at or after the carried columns.
  void PutAt(KColumnBlock&& block, int at);
  // Note columns 0..columns-1 come out as a block; the rest moves up.
  KColumnBlock TakeFront(int columns);

 private:
  int m_unit = 1;   // block positions per note column
  int m_shift = 0;  // a stored position is the position in the carry + m_shift
  std::deque<KPosObj*> m_objects;
  // By stored position, so that taking the front touches only its own.
  std::multimap<int, KExtendedObj*> m_attachments;
};

// A line of the kinds the wrap moves: staff, tablature and chord-diagram lines.
bool WrapMovesLine(const KListLine& line);
// The line's length in note columns (one past its last object).
int NoteColumnLength(KListLine& line);
// The pixels a staff or tablature line's notation takes as the wrap measures
// it against its staff length: its lead-in and indent, then 18 a column. A
// closing bar counts with its whole column, as the wrap's break rule keeps
// the whole bar line within the staff.
int WrapUsedWidth(KListLine& line);
// The same for `columns` columns of such a line.
int WrapUsedWidth(KListLine& line, int columns);
// The first note column that holds an object or an attachment; INT32_MAX
// for an empty line.
int FirstUsedColumn(KListLine& line);
// Cuts note columns from..to-1 out of the line; the columns from `to` on move
// left by to - from.
KColumnBlock CutColumns(KListLine& line, int from, int to);
// Opens `width` note columns at `at` (everything from there moves right) and
// puts the block there.
void InsertColumns(KListLine& line, int at, int width, KColumnBlock&& block);
