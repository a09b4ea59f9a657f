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

// "In Progress...": a long conversion's pass, how far it has come, and a
// button that stops it. The opener sets the text and steps the bar; the
// user's Stop ends it.
class KDlgProgress : public KModalDialog {
 public:
  static constexpr UINT kTemplateId = 5551;
  static constexpr UINT kIdBar = 1330;
  static constexpr UINT kIdText = 1331;

  KDlgProgress() : KModalDialog(kTemplateId) {}

  void SetRange(int minimum, int maximum);
  void SetPos(int pos);
  void StepIt();
  int GetPos() const { return m_pos; }
  // The bar's position in percent of its range, for the window.
  int Percent() const;
  // Stop pressed: the opener sees the dialog stopped.
  void OnCancel() override;
  bool Stopped() const { return m_stopped; }

  CString text;  // the running pass, such as "Translating MIDI tones to notes..."

 protected:
  void DeclareControls(DialogControls& controls) override;

 private:
  int m_min = 0;
  int m_max = 100;
  int m_pos = 0;
  int m_step = 10;
  bool m_stopped = false;
};
