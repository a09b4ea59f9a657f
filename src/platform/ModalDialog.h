#pragma once
// The part of a dialog model that the UI port needs to run it modally. A
// dialog model keeps its controls' values in members; the port opens a window
// for it (the Qt shell) or plays a script on it (tests), then calls the
// handler of the button that closed it.

#include "platform/WinTypes.h"

class KModalDialog {
 public:
  explicit KModalDialog(UINT templateId) : m_templateId(templateId) {}
  virtual ~KModalDialog() = default;

  // The dialog's resource id: which window to build, which script to play.
  UINT GetTemplateId() const { return m_templateId; }

  // Called once when the dialog opens, before the user sees it.
  virtual BOOL OnInitDialog() { return TRUE; }
  // The OK button: check and take the entered values; false refuses to close
  // (the window stays open with its message shown).
  virtual bool OnOK() { return true; }
  // The dialog closes without OK.
  virtual void OnCancel() {}

  // Runs the dialog through the current UI port; the end code (IDOK, IDCANCEL...).
  int DoModal();

 private:
  UINT m_templateId;
};
