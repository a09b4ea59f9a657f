// The curly brace the line grouping dialog draws beside its rows: painted
// into each row's cell of the strip, from the upper row of a brace down to
// its partner, and shown in the window as a picture.

#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>
#include <memory>
#include <vector>

#include "dialogs/KDlgLineGroup.h"
#include "platform/CDC.h"
#include "platform/FakeUiPort.h"
#include "platform/qt/KQtDialogBinder.h"
#include "platform/qt/KQtImageDC.h"
#include "platform_qt/WidgetTestApp.h"

namespace {

constexpr int kTreble = 0;
constexpr int kBass = 1;
constexpr int kTab = 2;
constexpr int kText = 5;
constexpr int kLast = KDlgLineGroup::kBraceCellHeight - 1;
constexpr int kMiddle = KDlgLineGroup::kBraceCellHeight / 2;

// A port whose pictures have pixels, as the program's own port gives.
class PaintingPort : public FakeUiPort {
 public:
  std::unique_ptr<CDC> CreatePictureDC() override {
    static QImage unused(1, 1, QImage::Format_RGB32);
    return std::make_unique<KQtImageDC>(unused);
  }
};

class BraceStripPicture : public ::testing::Test {
 protected:
  BraceStripPicture() { WidgetTestApp(); }

  void Gathered(const std::vector<int>& kinds, const std::vector<int>& marks = {}) {
    dlg.gatheredCount = static_cast<int>(kinds.size());
    for (size_t i = 0; i < kinds.size(); ++i) {
      dlg.types[i] = kinds[i];
      dlg.braces[i] = i < marks.size() ? marks[i] : 0;
    }
    dlg.OnInitDialog();
  }

  // The columns of a cell's pixel row that have ink.
  std::vector<int> Ink(int shownRow, int y) const {
    std::unique_ptr<CDC> base = CurrentUiPort().CreatePictureDC();
    std::unique_ptr<CDC> memory = base->CreateCompatibleDC();
    auto& picture = const_cast<CBitmap&>(dlg.BraceCellPicture(shownRow));
    CBitmap* old = memory->SelectObject(&picture);
    std::vector<int> columns;
    for (int x = 0; x < KDlgLineGroup::kBraceCellWidth; ++x) {
      if (memory->GetPixel(x, y) == RGB(0, 0, 0)) columns.push_back(x);
    }
    memory->SelectObject(old);
    return columns;
  }

  PaintingPort ui;
  ScopedUiPort installed{ui};
  KDlgLineGroup dlg;
};

TEST_F(BraceStripPicture, CurlsInAtItsEndsAndComesToAPointHalfWayDown) {
  // A pair around a text row: three cells, the point in the middle one.
  Gathered({kTreble, kText, kBass, kTab}, {1000, 0, 2000, 0});
  const std::vector<int> top = Ink(0, 0);
  const std::vector<int> point = Ink(1, kMiddle);
  const std::vector<int> bottom = Ink(2, kLast);
  ASSERT_FALSE(top.empty());
  ASSERT_FALSE(point.empty());
  ASSERT_FALSE(bottom.empty());
  EXPECT_GE(top.back(), KDlgLineGroup::kBraceCellWidth - 3) << "the upper end reaches in towards the rows";
  EXPECT_GE(bottom.back(), KDlgLineGroup::kBraceCellWidth - 3) << "so does the lower end";
  EXPECT_LE(point.front(), 2) << "the point stands out away from the rows";
  // The curve has ink on every pixel row of its cells: it is not broken.
  for (int cell = 0; cell < 3; ++cell) {
    for (int y = 0; y <= kLast; ++y) EXPECT_FALSE(Ink(cell, y).empty()) << "cell " << cell << " row " << y;
  }
  for (int y = 0; y <= kLast; ++y) EXPECT_TRUE(Ink(3, y).empty()) << "the tablature row has no brace";
}

TEST_F(BraceStripPicture, FollowsTheCurlyBraceBox) {
  Gathered({kTreble, kBass});
  EXPECT_TRUE(Ink(0, kMiddle).empty());
  dlg.Controls().SetChecked(KDlgLineGroup::kIdBrace + 0, 1);
  EXPECT_FALSE(Ink(0, kMiddle).empty());
  EXPECT_FALSE(Ink(1, kMiddle).empty());
  dlg.Controls().SetChecked(KDlgLineGroup::kIdBrace + 0, 0);
  EXPECT_TRUE(Ink(0, kMiddle).empty());
  EXPECT_TRUE(Ink(1, kMiddle).empty());
}

TEST_F(BraceStripPicture, TheWindowShowsTheStripAsPicturesWithoutText) {
  dlg.gatheredCount = 2;
  dlg.types[0] = kTreble;
  dlg.types[1] = kBass;
  dlg.braces[0] = KDlgLineGroup::kUpperMark;
  dlg.braces[1] = KDlgLineGroup::kLowerMark;
  KQtDialogBinder binder(dlg, nullptr);
  binder.Open();
  for (UINT r = 0; r < KDlgLineGroup::kShownRows; ++r) {
    QWidget* cell = binder.WidgetOf(KDlgLineGroup::kIdBraceStrip + r);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(qobject_cast<QLabel*>(cell), nullptr) << "a picture, not a text";
    EXPECT_EQ(cell->size(), QSize(KDlgLineGroup::kBraceCellWidth, KDlgLineGroup::kBraceCellHeight));
  }
  EXPECT_FALSE(Ink(0, kMiddle).empty());
  binder.Press(IDCANCEL);
}

}  // namespace
