// The string names of a retuned tablature line bracketed with a staff, as
// the window paints them: they stand clear of the word "TAB", of the group's
// bracket and of the opening bar, at both drawing sizes: across the clef
// area the names are a run of ink of their own, between the bar and the word.

#include <QImage>
#include <QPixmap>
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "GroupedSongWindow.h"
#include "dialogs/KDlgTabTuning.h"
#include "view/commands/CommandIds.h"

namespace {

constexpr int kDadgadEntry = 13;
constexpr const char* kDadgad = "D A D G A D  303742474954";

bool Dark(QRgb pixel) { return qGray(pixel) < 160; }

// A row of a staff or string line: dark over a long unbroken stretch.
bool RuleRow(const QImage& picture, int y) {
  int run = 0;
  for (int x = 0; x < picture.width(); ++x) {
    run = Dark(picture.pixel(x, y)) ? run + 1 : 0;
    if (run >= 30) return true;
  }
  return false;
}

struct SizeCase {
  const char* name;
  bool large;
};

class StringNames : public GroupedSongWindow, public ::testing::WithParamInterface<SizeCase> {
 protected:
  QImage Picture() {
    pane_->viewport()->update();
    QApplication::processEvents();
    return pane_->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  }
};

TEST_P(StringNames, StandClearOfTheTabWordTheBracketAndTheOpeningBar) {
  if (GetParam().large) {
    Trigger(cmd::kViewSymbolSize);
    ASSERT_NE(View().GetSizeIndex(), 0);
  }
  ASSERT_NO_FATAL_FAILURE(ToLine(kTabLine));
  const QImage before = Picture();

  ui_.AnswerDialog(KDlgTabTuning::kTemplateId, [](KModalDialog& d) {
    d.Controls().Select(KDlgTabTuning::kIdList, kDadgadEntry);
    return IDOK;
  });
  Key(Qt::Key_U, Qt::ControlModifier | Qt::AltModifier);
  // The retune puts a new line in the old one's place.
  tab_ = dynamic_cast<KTabLine*>(View().GetDisplayLineObj(kTabLine));
  ASSERT_NE(tab_, nullptr);
  ASSERT_EQ(std::string(tab_->GetTuning().View()), kDadgad);
  ASSERT_TRUE(tab_->TestFlags(KTabLine::kFlagAltTuning)) << "a retuned line shows its string names";
  const QImage after = Picture();
  if (const char* keep = std::getenv("STAVLIN_KEEP_GRAB")) {
    before.save(QString::fromUtf8(keep) + "-before.png");
    after.save(QString::fromUtf8(keep) + "-after.png");
  }
  ASSERT_EQ(before.size(), after.size());

  // Across the clef area of the tablature, between its top and bottom
  // string and leaving the string lines out, the columns that hold ink form
  // runs: the bracket and the opening bar, the word "TAB" and, after the
  // retune, the names. The names add a run of their own only when they
  // touch neither the bar nor the word.
  const int entryBottom =
      View().GetDisplayEntry(kTabLine).bottom - static_cast<int>(View().GetVirtualScrollPosition().y);
  const int entryTop =
      View().GetDisplayEntry(kTabLine).top - static_cast<int>(View().GetVirtualScrollPosition().y);
  const int clefEnd = View().m_contentOrigin - static_cast<int>(View().GetVirtualScrollPosition().x);
  ASSERT_GT(clefEnd, 0);
  // The string lines, found before the names break them.
  std::vector<int> strings;
  for (int y = std::max(entryTop, 0); y < std::min(entryBottom, before.height()); ++y) {
    if (RuleRow(before, y)) strings.push_back(y);
  }
  auto runs = [&](const QImage& picture, std::string& shown) {
    if (strings.size() < 2) return -1;
    int count = 0;
    bool inRun = false;
    for (int x = 0; x < clefEnd && x < picture.width(); ++x) {
      bool ink = false;
      for (int y = strings.front(); y <= strings.back() && !ink; ++y) {
        if (std::find(strings.begin(), strings.end(), y) != strings.end()) continue;
        ink = Dark(picture.pixel(x, y));
      }
      shown += ink ? '#' : '.';
      if (ink && !inRun) ++count;
      inRun = ink;
    }
    return count;
  };
  std::string beforeShown;
  std::string afterShown;
  const int beforeRuns = runs(before, beforeShown);
  const int afterRuns = runs(after, afterShown);
  ASSERT_GT(beforeRuns, 0) << "the tablature's strings are found";
  EXPECT_EQ(afterRuns, beforeRuns + 1)
      << "the names stand apart from the bar and the word\nbefore: " << beforeShown
      << "\nafter:  " << afterShown;
}

INSTANTIATE_TEST_SUITE_P(InTheWindow, StringNames,
                         ::testing::Values(SizeCase{"Normal", false}, SizeCase{"Large", true}),
                         [](const ::testing::TestParamInfo<SizeCase>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
