#pragma once
// A dialog model: what a modal dialog holds, shows and checks, without a
// window. The model keeps its values in members and declares its controls by
// id (DeclareControls: kind, caption, member, checks, handlers) and their
// arrangement (DescribeLayout). The UI port runs it: the Qt shell builds a
// window from the declarations, tests play a script on the control state.
//
// The framework's life of a dialog: OnInitDialog shows the members in the
// controls; buttons run their handlers; OK takes the entered values after the
// checks pass (a refused entry shows the standard message, puts the focus on
// the control to correct and leaves the dialog open); Cancel puts back every
// member the dialog exchanges or keeps, so a cancelled dialog changes nothing.

#include <memory>

#include "platform/DialogControls.h"
#include "platform/DialogLayout.h"
#include "platform/WinTypes.h"

class KModalDialog {
 public:
  explicit KModalDialog(UINT templateId) : m_templateId(templateId) {}
  virtual ~KModalDialog();
  // The control table points into the model's members: a copy would share them.
  KModalDialog(const KModalDialog&) = delete;
  KModalDialog& operator=(const KModalDialog&) = delete;

  // The dialog's resource id: which window to build, which script to play.
  UINT GetTemplateId() const { return m_templateId; }

  // Called once when the dialog opens, before the user sees it: remembers the
  // members for Cancel and shows them in the controls. Overrides call it first.
  virtual BOOL OnInitDialog();
  // The OK button: check and take the entered values; false refuses to close
  // (the window stays open with its message shown).
  virtual bool OnOK();
  // The dialog closes without OK: the members get back their values.
  virtual void OnCancel();

  // Runs the dialog through the current UI port; the end code (IDOK, IDCANCEL...).
  int DoModal();

  // The controls, declared on first use.
  DialogControls& Controls();
  const DialogControls& Controls() const;
  // The arrangement of the controls; without one, the controls stand in a
  // column in declared order.
  DialogLayoutItem Layout() const;

  // The framework's exchange. FALSE: the members into the controls. TRUE:
  // checks every control; when one is refused, shows the standard message,
  // moves the focus to it and returns FALSE with no member changed;
  // otherwise writes the members.
  BOOL UpdateData(BOOL saveAndValidate = TRUE);
  // The last refusal of UpdateData(TRUE), if the latest one failed.
  const std::optional<DialogFailure>& LastFailure() const { return m_lastFailure; }

  // A press of a button that stays open or closes with its own id: runs its
  // handler. Returns the end code when the button closes the dialog, 0 when
  // the dialog stays open. OK and Cancel are the port's to handle.
  int PressButton(UINT id);

  // The control that should have the keyboard focus, as handlers and refused
  // checks ask; 0 when nobody asked since the last TakeFocusRequest.
  void GotoDlgCtrl(UINT id) { m_focusRequest = id; }
  UINT TakeFocusRequest();
  UINT FocusRequest() const { return m_focusRequest; }

  // A handler ends the dialog with the code (the framework's EndDialog); the
  // window closes once the handler returns.
  void EndDialog(int code) { m_endRequest = code; }
  // The end code asked for since the last call, 0 for none.
  int TakeEndRequest() {
    const int code = m_endRequest;
    m_endRequest = 0;
    return code;
  }

  // For scripts that set members directly: shows the members in every control
  // the user has not changed, so that OK takes them.
  void ShowUnenteredMembers() { Controls().LoadUnentered(); }

 protected:
  // Declares the controls in reading order and the window's caption.
  virtual void DeclareControls(DialogControls& controls) {}
  virtual void DescribeLayout(DialogLayoutItem& layout) const {}

 private:
  UINT m_templateId;
  std::unique_ptr<DialogControls> m_controls;
  std::optional<DialogFailure> m_lastFailure;
  UINT m_focusRequest = 0;
  int m_endRequest = 0;
};
