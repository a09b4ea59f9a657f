#pragma once
// KDlgExtText: the words of a text attached to a line, their font and colour,
// a transparent or opaque background, and an optional Internet link. The
// caller fills the members, runs DoModal and reads them back after OK.

#include "platform/ModalDialog.h"

class KDlgExtText : public KModalDialog {
 public:
  static constexpr UINT kTemplateId = 5511;
  static constexpr UINT kIdText = 1480;
  static constexpr UINT kIdHelp = 1481;
  static constexpr UINT kIdTextFont = 1482;
  static constexpr UINT kIdTransparent = 1483;
  static constexpr UINT kIdOpaque = 1484;
  static constexpr UINT kIdInternetLink = 1485;
  // The caption over the background choice, without an id in the template.
  static constexpr UINT kIdBackgroundBox = 40001;
  static constexpr int kMaxTextChars = 60;

  KDlgExtText() : KModalDialog(kTemplateId) {}

  // Text Font...: marks the font as picked (also when the font dialog is
  // cancelled) and lets the user choose the font and its colour.
  void OnTextFont();
  // Internet Link...: edits the link in its own dialog; OK there takes it.
  void OnInternetLink();
  void OnHelp();

  CString fontText;    // the font text form; the escapement holds the colour
  int fontPicked = 0;  // 1 once Text Font... was pressed
  CString text;
  int background = -1;  // 0 transparent, 1 opaque, -1 neither chosen
  CString link;

 protected:
  void DeclareControls(DialogControls& controls) override;
  void DescribeLayout(DialogLayoutItem& layout) const override;
};
