// The windows of the dialogs that build a score's structure: each model gets
// a widget for every control, and what the user does in the window reaches
// the model: the tuning dialog's spin arrows, its string columns shown and
// hidden, its list of tunings; the grouping dialog's rows and pages.

#include <gtest/gtest.h>

#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QRadioButton>
#include <QTest>
#include <functional>
#include <memory>
#include <string>

#include "dialogs/KDlgCPLineProps.h"
#include "dialogs/KDlgLineGroup.h"
#include "dialogs/KDlgSetBarNum.h"
#include "dialogs/KDlgSetFretPos.h"
#include "dialogs/KDlgSetLineLabel.h"
#include "dialogs/KDlgStaffLineProps.h"
#include "dialogs/KDlgTabTuning.h"
#include "dialogs/KDlgViewLblLines.h"
#include "platform/FakeUiPort.h"
#include "platform/SettingsStore.h"
#include "platform/qt/KQtDialogBinder.h"
#include "dialogs_qt/DialogShot.h"
#include "platform_qt/WidgetTestApp.h"

namespace {

constexpr const char* kGuitar = "E A D G B E  323742475156";

std::unique_ptr<KDlgTabTuning> GuitarTuning() {
  auto dialog = std::make_unique<KDlgTabTuning>();
  dialog->tuning = kGuitar;
  dialog->stringChoice = 4;
  dialog->scope = 0;
  dialog->placement = 0;
  return dialog;
}

struct WindowCase {
  const char* name;
  std::function<std::unique_ptr<KModalDialog>()> make;
};
void PrintTo(const WindowCase& c, std::ostream* out) { *out << c.name; }

class StructureDialogWindow : public ::testing::TestWithParam<WindowCase> {
 protected:
  StructureDialogWindow() { WidgetTestApp(); }
  FakeUiPort ui;
  ScopedUiPort installed{ui};
  KSettingsStoreScope store{std::make_unique<KMemorySettingsStore>()};
};

TEST_P(StructureDialogWindow, EveryControlOfTheModelHasItsWidget) {
  std::unique_ptr<KModalDialog> dialog = GetParam().make();
  KQtDialogBinder binder(*dialog, nullptr);
  binder.Open();
  EXPECT_FALSE(binder.Window().windowTitle().isEmpty());
  for (const DialogControl& control : dialog->Controls().All()) {
    QWidget* widget = binder.WidgetOf(control.id);
    ASSERT_NE(widget, nullptr) << "control " << control.id;
    EXPECT_TRUE(binder.Window().isAncestorOf(widget)) << "control " << control.id;
    EXPECT_EQ(widget->isVisibleTo(&binder.Window()), control.visible) << "control " << control.id;
    EXPECT_EQ(widget->isEnabled(), control.enabled) << "control " << control.id;
  }
  binder.Window().adjustSize();
  SaveDialogShot(binder.Window(), QString::fromLatin1(GetParam().name));
  binder.Press(IDCANCEL);
}

INSTANTIATE_TEST_SUITE_P(
    Dialogs, StructureDialogWindow,
    ::testing::Values(
        WindowCase{"TabTuning", [] { return GuitarTuning(); }},
        WindowCase{"LineGrouping",
                   [] {
                     auto dialog = std::make_unique<KDlgLineGroup>();
                     dialog->defaultsText = "1,0,530,0,1,,2,1,,";
                     return dialog;
                   }},
        WindowCase{"FretPosition", [] { return std::make_unique<KDlgSetFretPos>(); }},
        WindowCase{"BarNumber", [] { return std::make_unique<KDlgSetBarNum>(); }},
        WindowCase{"LineLabel", [] { return std::make_unique<KDlgSetLineLabel>(); }},
        WindowCase{"LabeledLines",
                   [] {
                     auto dialog = std::make_unique<KDlgViewLblLines>();
                     dialog->labels = {"  - unlabeled -", "Piano"};
                     dialog->visible = {1, 0};
                     return dialog;
                   }},
        WindowCase{"StaffLineAppearance", [] { return std::make_unique<KDlgStaffLineProps>(); }},
        WindowCase{"ChordAndTabLineAppearance", [] { return std::make_unique<KDlgCPLineProps>(); }}),
    [](const auto& info) { return std::string(info.param.name); });

class TuningWindow : public ::testing::Test {
 protected:
  TuningWindow() { WidgetTestApp(); }
  template <typename T>
  T* Widget(KQtDialogBinder& binder, UINT id) {
    auto* widget = qobject_cast<T*>(binder.WidgetOf(id));
    EXPECT_NE(widget, nullptr) << "control " << id;
    return widget;
  }
  FakeUiPort ui;
  ScopedUiPort installed{ui};
  KSettingsStoreScope store{std::make_unique<KMemorySettingsStore>()};
};

TEST_F(TuningWindow, TheSpinArrowsStepAStringAndTheListTurnsUnnamed) {
  std::unique_ptr<KDlgTabTuning> dialog = GuitarTuning();
  KQtDialogBinder binder(*dialog, nullptr);
  binder.Open();
  auto* list = Widget<QComboBox>(binder, KDlgTabTuning::kIdList);
  EXPECT_EQ(list->count(), 73);
  EXPECT_EQ(list->currentIndex(), 0);
  // Column 1 is the high E string.
  Widget<QAbstractSpinBox>(binder, KDlgTabTuning::kIdSpinFirst + 1)->stepUp();
  EXPECT_EQ(Widget<QLabel>(binder, KDlgTabTuning::kIdNameFirst + 1)->text().trimmed(), "F");
  EXPECT_EQ(Widget<QLabel>(binder, KDlgTabTuning::kIdPitchFirst + 1)->text(), "F5");
  EXPECT_EQ(list->currentIndex(), 72) << "the unnamed custom tuning";
  EXPECT_TRUE(binder.Press(IDOK));
  EXPECT_EQ(std::string(dialog->tuning.View()), "E A D G B F  323742475157");
}

TEST_F(TuningWindow, BassShowsFourStringColumnsAndTheBanjoBoxOnlyForFive) {
  std::unique_ptr<KDlgTabTuning> dialog = GuitarTuning();
  KQtDialogBinder binder(*dialog, nullptr);
  binder.Open();
  EXPECT_TRUE(binder.WidgetOf(KDlgTabTuning::kIdBanjo)->isHidden());
  Widget<QRadioButton>(binder, KDlgTabTuning::kIdBass)->click();
  for (int column = 0; column < KDlgTabTuning::kColumns; ++column) {
    EXPECT_EQ(binder.WidgetOf(KDlgTabTuning::kIdSpinFirst + static_cast<UINT>(column))->isHidden(),
              column < 1 || column > 4)
        << "column " << column;
  }
  Widget<QRadioButton>(binder, KDlgTabTuning::kIdGuitar)->click();
  Widget<QRadioButton>(binder, KDlgTabTuning::kIdCountFirst + 3)->click();
  EXPECT_FALSE(binder.WidgetOf(KDlgTabTuning::kIdBanjo)->isHidden());
  EXPECT_TRUE(Widget<QCheckBox>(binder, KDlgTabTuning::kIdBanjo)->isChecked());
  binder.Press(IDCANCEL);
  EXPECT_EQ(std::string(dialog->tuning.View()), kGuitar) << "cancel changes nothing";
}

TEST_F(TuningWindow, TheGroupingDialogsRowsFollowItsPages) {
  KDlgLineGroup dialog;
  dialog.defaultsText = "1,0,530,0,1,,2,1,,";
  KQtDialogBinder binder(dialog, nullptr);
  binder.Open();
  EXPECT_TRUE(qobject_cast<QCheckBox*>(binder.WidgetOf(KDlgLineGroup::kIdInGroup))->isChecked());
  EXPECT_EQ(qobject_cast<QLabel*>(binder.WidgetOf(KDlgLineGroup::kIdTypeText + 1))->text(), "TAB");
  qobject_cast<QAbstractSpinBox*>(binder.WidgetOf(KDlgLineGroup::kIdTypeSpin + 1))->stepUp();
  EXPECT_EQ(qobject_cast<QLabel*>(binder.WidgetOf(KDlgLineGroup::kIdTypeText + 1))->text(), "BassTAB");
  binder.Press(KDlgLineGroup::kIdSecondPage);
  EXPECT_EQ(qobject_cast<QLabel*>(binder.WidgetOf(KDlgLineGroup::kIdRowNumber))->text(), "11");
  EXPECT_FALSE(qobject_cast<QCheckBox*>(binder.WidgetOf(KDlgLineGroup::kIdInGroup))->isChecked());
  EXPECT_TRUE(binder.Press(IDOK));
  EXPECT_EQ(dialog.types[1], 15);
}

}  // namespace
