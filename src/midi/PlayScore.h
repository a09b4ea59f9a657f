#pragma once
// The score as playback sees it: the shown lines in display order, each with
// its line object, and the line groups they form (runs of display lines that
// share a group id; a line outside every group is a group of its own). The
// view makes one from its display-line table; tests make one from lines.

#include <vector>

class KLineObj;

struct KPlayLine {
  KLineObj* line = nullptr;
};

class KPlayScore {
 public:
  struct Group {
    int first = 0;  // display lines first..last
    int last = 0;
  };

  KPlayScore() = default;
  explicit KPlayScore(std::vector<KLineObj*> lines);

  int LineCount() const { return static_cast<int>(m_lines.size()); }
  KLineObj* Line(int displayLine) const;
  const std::vector<Group>& Groups() const { return m_groups; }
  // The group that holds the display line; -1 outside the score.
  int GroupOf(int displayLine) const;

 private:
  std::vector<KLineObj*> m_lines;
  std::vector<Group> m_groups;
  std::vector<int> m_groupOf;
};
