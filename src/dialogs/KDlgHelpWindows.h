#pragma once
// The four help windows of the Help menu: fixed pages of guidance shown as
// text, closed with OK. The keyboard shortcuts page lists what the caller
// gives it (the program's own accelerators); the others carry their text.

#include "platform/ModalDialog.h"

// A page of guidance: a caption and its text, closed with OK.
class KDlgHelpPage : public KModalDialog {
 public:
  static constexpr UINT kIdText = 1000;

  KDlgHelpPage(UINT templateId, const char* caption, CString text)
      : KModalDialog(templateId), m_caption(caption), m_text(std::move(text)) {}

  const CString& Text() const { return m_text; }

 protected:
  void DeclareControls(DialogControls& controls) override;

 private:
  const char* m_caption;
  CString m_text;
};

// Help/Moving and Selecting.
class KDlgHelpMoving : public KDlgHelpPage {
 public:
  static constexpr UINT kTemplateId = 5517;
  KDlgHelpMoving();
};

// Help/Keyboard Shortcuts: the lines given, one shortcut each.
class KDlgHelpShortCuts : public KDlgHelpPage {
 public:
  static constexpr UINT kTemplateId = 5516;
  explicit KDlgHelpShortCuts(CString shortcuts);
};

// Help/Drum Line Percussion Symbols: the General MIDI percussion sounds.
class KDlgHelpMidiPerc : public KDlgHelpPage {
 public:
  static constexpr UINT kTemplateId = 5546;
  KDlgHelpMidiPerc();
};

// Help/Staff Note Names: the notes on the lines and spaces of each clef.
class KDlgHelpStaffNoteNames : public KDlgHelpPage {
 public:
  static constexpr UINT kTemplateId = 5547;
  KDlgHelpStaffNoteNames();
};
