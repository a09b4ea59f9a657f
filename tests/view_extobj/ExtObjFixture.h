#pragma once
// A score view with a staff line (and, when asked, a text line below it) on
// which extended objects are placed, selected, dragged, edited and deleted;
// dialog answers are scripted through the fake UI port.

#include <functional>
#include <memory>
#include <vector>

#include "dialogs/KDlgExtText.h"
#include "dialogs/KDlgPhraseLine.h"
#include "dialogs/KDlgTriplet.h"
#include "model/KExtendedObj.h"
#include "platform/SettingsStore.h"
#include "platform/ShellPort.h"
#include "support/ViewTestSupport.h"
#include "view/extobj/ViewExtObjSupport.h"

namespace extobjtest {

class ExtObjFixture : public viewtest::ViewScoreFixture {
 protected:
  void SetUp() override {
    ViewScoreFixture::SetUp();
    store_ = std::make_unique<KSettingsStoreScope>(std::make_unique<KMemorySettingsStore>());
    previousShell_ = SetShellPort(&shell);
  }
  void TearDown() override {
    SetShellPort(previousShell_);
    store_.reset();
    ViewScoreFixture::TearDown();
  }

  // A staff with quarter notes on row 18 at columns 0..5, laid out with the
  // caret at the column.
  void StaffScore(int caretColumn = 1, bool textBelow = false) {
    Add(viewtest::MakeStaff({{0, 18}, {1, 18}, {2, 16}, {3, 18}, {4, 20}, {5, 18}}));
    if (textBelow) AddText("words below");
    Layout(0, caretColumn);
  }

  // The dialog with the template answers OK after fill changes its values
  // (or Cancel when result says so).
  template <typename Dialog>
  void Answer(UINT templateId, std::function<void(Dialog&)> fill, int result = IDOK) {
    ui.AnswerDialog(templateId, [fill, result](KModalDialog& dialog) {
      fill(dynamic_cast<Dialog&>(dialog));
      return result;
    });
  }

  // The undo steps recorded for edits (the after-state records aside).
  std::vector<viewtest::UndoStep> EditSteps() const {
    std::vector<viewtest::UndoStep> steps;
    for (const viewtest::UndoStep& step : viewtest::UndoSteps())
      if (step.kind != 8) steps.push_back(step);
    return steps;
  }

  int ObjectCount(int displayLine = 0) const { return Line(displayLine)->GetAttachmentCount(); }
  KExtendedObj* Object(int displayLine = 0, int index = 0) const {
    CObList* list = Line(displayLine)->GetAttachments();
    POSITION node = list->FindIndex(index);
    return node != nullptr ? static_cast<KExtendedObj*>(list->GetAt(node)) : nullptr;
  }

  // Presses and releases at the page point, as the mouse code does while a
  // placement waits for clicks.
  void Click(POINT point) {
    view->OnExtObjPlacementPress(point);
    view->OnExtObjPlacementRelease();
  }
  POINT Start() const { return view->m_extPoints[0]; }
  POINT FromStart(int dx, int dy) const { return POINT{Start().x + dx, Start().y + dy}; }

  // Adds the object to the display line and lays out again.
  KExtendedObj* Attach(KExtendedObj* object, int displayLine = 0) {
    Line(displayLine)->AddAttachment(object);
    view->RebuildDisplayLines(0);
    return object;
  }
  // The centre of the object's rectangle on the page.
  POINT CentreOf(KExtendedObj& object, int displayLine = 0) const {
    const CRect rect = extobj::ScreenRect(*view, displayLine, object);
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
  }

  FakeShellPort shell;

 private:
  ShellPort* previousShell_ = nullptr;
  std::unique_ptr<KSettingsStoreScope> store_;
};

}  // namespace extobjtest
