#include "platform/ModalDialog.h"

#include "platform/UiPort.h"

KModalDialog::~KModalDialog() = default;

DialogControls& KModalDialog::Controls() {
  if (!m_controls) {
    m_controls = std::make_unique<DialogControls>();
    DeclareControls(*m_controls);
  }
  return *m_controls;
}

const DialogControls& KModalDialog::Controls() const { return const_cast<KModalDialog*>(this)->Controls(); }

DialogLayoutItem KModalDialog::Layout() const {
  DialogLayoutItem layout;
  DescribeLayout(layout);
  if (layout.children.empty()) {
    for (const DialogControl& control : Controls().All()) {
      const bool boxButton = control.IsButton() && control.role != DialogButtonRole::kAction &&
                             control.role != DialogButtonRole::kCloses;
      if (!boxButton) layout.children.push_back(dialog_layout::Ctl(control.id));
    }
  }
  return layout;
}

BOOL KModalDialog::OnInitDialog() {
  DialogControls& controls = Controls();
  controls.RememberMembers();
  controls.Load();
  return TRUE;
}

bool KModalDialog::OnOK() { return UpdateData(TRUE) != FALSE; }

void KModalDialog::OnCancel() { Controls().RestoreMembers(); }

BOOL KModalDialog::UpdateData(BOOL saveAndValidate) {
  DialogControls& controls = Controls();
  if (!saveAndValidate) {
    controls.Load();
    return TRUE;
  }
  m_lastFailure = controls.Check();
  if (m_lastFailure) {
    MessageBoxRequest request;
    request.id = m_lastFailure->messageId;
    request.text = m_lastFailure->message;
    request.type = MB_ICONEXCLAMATION;
    request.helpId = m_lastFailure->messageId;
    CurrentUiPort().ShowMessageBox(request);
    GotoDlgCtrl(m_lastFailure->controlId);
    return FALSE;
  }
  controls.Store();
  return TRUE;
}

int KModalDialog::PressButton(UINT id) {
  const DialogControl* button = Controls().Find(id);
  if (button == nullptr || !button->IsButton()) return 0;
  if (button->handler) button->handler();
  return button->role == DialogButtonRole::kCloses ? static_cast<int>(id) : 0;
}

UINT KModalDialog::TakeFocusRequest() {
  const UINT id = m_focusRequest;
  m_focusRequest = 0;
  return id;
}
