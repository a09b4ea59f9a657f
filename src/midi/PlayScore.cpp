#include "midi/PlayScore.h"

#include "model/KLineObj.h"

KPlayScore::KPlayScore(std::vector<KLineObj*> lines) : m_lines(std::move(lines)) {
  m_groupOf.assign(m_lines.size(), -1);
  int previousId = KLineObj::kNoGroup;
  for (int i = 0; i < LineCount(); ++i) {
    const int id = m_lines[static_cast<std::size_t>(i)]->GetGroupId();
    if (i == 0 || id == KLineObj::kNoGroup || id != previousId) {
      m_groups.push_back({i, i});
    } else {
      m_groups.back().last = i;
    }
    m_groupOf[static_cast<std::size_t>(i)] = static_cast<int>(m_groups.size()) - 1;
    previousId = id;
  }
}

KLineObj* KPlayScore::Line(int displayLine) const {
  return displayLine >= 0 && displayLine < LineCount() ? m_lines[static_cast<std::size_t>(displayLine)]
                                                       : nullptr;
}

int KPlayScore::GroupOf(int displayLine) const {
  return displayLine >= 0 && displayLine < LineCount() ? m_groupOf[static_cast<std::size_t>(displayLine)]
                                                       : -1;
}
