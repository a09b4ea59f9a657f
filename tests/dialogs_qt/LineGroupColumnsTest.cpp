// The rows of the line grouping dialog as the window lays them out: each
// column heading stands over its column of controls, and nothing is shown
// that has neither a caption nor a column (the brace strip shows only where
// a brace passes a row, and then only the brace, not a white box).

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QWidget>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "dialogs/KDlgLineGroup.h"
#include "dialogs_qt/DialogShot.h"
#include "platform/CDC.h"
#include "platform/FakeUiPort.h"
#include "platform/SettingsStore.h"
#include "platform/qt/KQtDialogBinder.h"
#include "platform/qt/KQtImageDC.h"
#include "platform_qt/WidgetTestApp.h"

namespace {

constexpr int kTreble = 0;
constexpr int kBass = 1;
constexpr int kTab = 2;

// A port whose pictures have pixels, as the program's own port gives.
class PaintingPort : public FakeUiPort {
 public:
  std::unique_ptr<CDC> CreatePictureDC() override {
    static QImage unused(1, 1, QImage::Format_RGB32);
    return std::make_unique<KQtImageDC>(unused);
  }
};

// A column of the rows: its heading and, per shown row, the controls that
// stand under it (the line type is its name and its arrows).
struct Column {
  const char* heading;
  std::vector<UINT> (*controls)(UINT row);
};

const std::vector<Column>& Columns() {
  static const std::vector<Column> columns = {
      {"In Group", [](UINT r) { return std::vector<UINT>{KDlgLineGroup::kIdInGroup + r}; }},
      {"Curly Brace", [](UINT r) { return std::vector<UINT>{KDlgLineGroup::kIdBrace + r}; }},
      {"Line Type",
       [](UINT r) {
         return std::vector<UINT>{KDlgLineGroup::kIdTypeText + r, KDlgLineGroup::kIdTypeSpin + r};
       }},
      {"Label (Optional)", [](UINT r) { return std::vector<UINT>{KDlgLineGroup::kIdLabel + r}; }},
      {"Set 1", [](UINT r) { return std::vector<UINT>{KDlgLineGroup::kIdSet1 + r}; }},
      {"Set 2", [](UINT r) { return std::vector<UINT>{KDlgLineGroup::kIdSet1 + 10 + r}; }},
      {"Set 3", [](UINT r) { return std::vector<UINT>{KDlgLineGroup::kIdSet1 + 20 + r}; }},
      {"Set 4", [](UINT r) { return std::vector<UINT>{KDlgLineGroup::kIdSet1 + 30 + r}; }},
  };
  return columns;
}

// Gathered rows: a treble and a bass staff, braced or not, and a tablature.
struct GroupingCase {
  const char* name;
  bool braced;
};
void PrintTo(const GroupingCase& c, std::ostream* out) { *out << c.name; }

class LineGroupColumns : public ::testing::TestWithParam<GroupingCase> {
 protected:
  LineGroupColumns() { WidgetTestApp(); }

  void SetUp() override {
    dialog.gatheredCount = 3;
    dialog.types[0] = kTreble;
    dialog.types[1] = kBass;
    dialog.types[2] = kTab;
    if (GetParam().braced) {
      dialog.braces[0] = KDlgLineGroup::kUpperMark;
      dialog.braces[1] = KDlgLineGroup::kLowerMark;
    }
    binder = std::make_unique<KQtDialogBinder>(dialog, nullptr);
    binder->Open();
    binder->Window().show();
    binder->Window().adjustSize();
    QApplication::processEvents();
    SaveDialogShot(binder->Window(), QStringLiteral("LineGrouping-") + QString::fromLatin1(GetParam().name));
  }
  void TearDown() override {
    if (binder) binder->Press(IDCANCEL);
  }

  // A widget's place in the window.
  QRect Place(QWidget* widget) const {
    return {widget->mapTo(&binder->Window(), QPoint(0, 0)), widget->size()};
  }
  QWidget* Shown(UINT id) const {
    QWidget* widget = binder->WidgetOf(id);
    return widget != nullptr && widget->isVisibleTo(&binder->Window()) ? widget : nullptr;
  }

  PaintingPort ui;
  ScopedUiPort installed{ui};
  KSettingsStoreScope store{std::make_unique<KMemorySettingsStore>()};
  KDlgLineGroup dialog;
  std::unique_ptr<KQtDialogBinder> binder;
};

TEST_P(LineGroupColumns, EachHeadingStandsCentredOverItsColumnOfControls) {
  for (size_t c = 0; c < Columns().size(); ++c) {
    const Column& column = Columns()[c];
    SCOPED_TRACE(column.heading);
    auto* heading = qobject_cast<QLabel*>(Shown(KDlgLineGroup::kIdColumnTitle + static_cast<UINT>(c)));
    ASSERT_NE(heading, nullptr);
    EXPECT_EQ(heading->text(), QString::fromLatin1(column.heading));
    const QRect title = Place(heading);
    for (UINT r = 0; r < KDlgLineGroup::kShownRows; ++r) {
      QRect under;
      for (UINT id : column.controls(r)) {
        QWidget* control = Shown(id);
        ASSERT_NE(control, nullptr) << "row " << r;
        under = under.united(Place(control));
      }
      EXPECT_GT(under.top(), title.bottom()) << "row " << r << " is below the headings";
      // The heading's centre is over the row's controls, and for a lone box
      // over the box's own centre.
      EXPECT_GE(title.center().x(), under.left()) << "row " << r;
      EXPECT_LE(title.center().x(), under.right()) << "row " << r;
      if (column.controls(r).size() == 1 &&
          qobject_cast<QCheckBox*>(binder->WidgetOf(column.controls(r)[0]))) {
        EXPECT_LE(std::abs(title.center().x() - under.center().x()), 2) << "row " << r;
      }
    }
  }
}

TEST_P(LineGroupColumns, NothingShowsWithoutACaptionAColumnOrSomethingToSee) {
  std::set<UINT> inColumns;
  for (UINT r = 0; r < KDlgLineGroup::kShownRows; ++r) {
    inColumns.insert(KDlgLineGroup::kIdRowNumber + r);
    for (const Column& column : Columns())
      for (UINT id : column.controls(r)) inColumns.insert(id);
  }
  for (const DialogControl& control : dialog.Controls().All()) {
    QWidget* widget = Shown(control.id);
    if (widget == nullptr || inColumns.count(control.id) != 0) continue;
    SCOPED_TRACE("control " + std::to_string(control.id));
    if (control.kind == DialogControlKind::kPicture) {
      // A piece of the brace, drawn on the window's own background.
      const QImage shown = widget->grab().toImage();
      const bool whiteWindow =
          (binder->Window().palette().color(QPalette::Window).rgb() & 0xFFFFFFu) == 0xFFFFFFu;
      int ink = 0;
      int white = 0;
      for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
          const QRgb pixel = shown.pixel(x, y) & 0xFFFFFFu;
          ink += qGray(pixel) < 64 ? 1 : 0;
          white += !whiteWindow && pixel == 0xFFFFFFu ? 1 : 0;
        }
      }
      EXPECT_GT(ink, 0) << "a picture shown draws something";
      EXPECT_EQ(white, 0) << "no white box behind it";
    } else {
      EXPECT_FALSE(control.caption.empty()) << "a control shown outside the columns has a caption";
    }
  }
  // The strip beside the rows shows exactly where the brace passes.
  for (UINT r = 0; r < KDlgLineGroup::kShownRows; ++r) {
    const bool braced = GetParam().braced && r < 2;
    EXPECT_EQ(Shown(KDlgLineGroup::kIdBraceStrip + r) != nullptr, braced) << "row " << r;
  }
}

TEST_P(LineGroupColumns, TickingTheCurlyBraceShowsTheBraceWithoutMovingTheColumns) {
  std::vector<QRect> before;
  for (UINT r = 0; r < KDlgLineGroup::kShownRows; ++r)
    before.push_back(Place(binder->WidgetOf(KDlgLineGroup::kIdBrace + r)));
  auto* brace = qobject_cast<QCheckBox*>(binder->WidgetOf(KDlgLineGroup::kIdBrace));
  ASSERT_NE(brace, nullptr);
  brace->click();
  QApplication::processEvents();
  EXPECT_EQ(Shown(KDlgLineGroup::kIdBraceStrip) != nullptr, !GetParam().braced);
  EXPECT_EQ(Shown(KDlgLineGroup::kIdBraceStrip + 1) != nullptr, !GetParam().braced);
  for (UINT r = 0; r < KDlgLineGroup::kShownRows; ++r)
    EXPECT_EQ(Place(binder->WidgetOf(KDlgLineGroup::kIdBrace + r)), before[r]) << "row " << r;
}

INSTANTIATE_TEST_SUITE_P(Rows, LineGroupColumns,
                         ::testing::Values(GroupingCase{"WithoutABrace", false},
                                           GroupingCase{"Braced", true}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
