#pragma once
// KDlgPhraseLine: one of eighteen bracket styles and the text shown within
// the bracket (none, "1.", "2." or a custom text with its own font), for
// instance for alternate endings. The caller maps style s to the attached
// object kind s + 7. Beside each style's choice stands a picture of it; a
// click on the picture chooses that style.

#include <array>

#include "platform/GdiObjects.h"
#include "platform/ModalDialog.h"

class KDlgPhraseLine : public KModalDialog {
 public:
  static constexpr UINT kTemplateId = 5512;
  static constexpr int kStyleCount = 18;
  static constexpr UINT kIdFirstStyle = 1795;  // styles 0..17 are 1795..1812
  static constexpr UINT kIdNone = 1832;
  static constexpr UINT kIdFirstEnding = 1833;
  static constexpr UINT kIdSecondEnding = 1834;
  static constexpr UINT kIdCustom = 1835;
  static constexpr UINT kIdFont = 1836;
  static constexpr UINT kIdCustomText = 1837;
  static constexpr UINT kIdHelp = 1838;
  // Texts and boxes without an id in the template.
  static constexpr UINT kIdTextBox = 40001;
  static constexpr UINT kIdFirstEndingNote = 40002;
  static constexpr UINT kIdSecondEndingNote = 40003;
  static constexpr UINT kIdExamples = 40004;
  static constexpr UINT kIdStyleBox = 40005;
  static constexpr UINT kIdFirstStylePicture = 40010;  // styles 0..17 are 40010..40027
  static constexpr int kPictureWidth = 64;
  static constexpr int kPictureHeight = 20;
  static constexpr int kMaxCustomChars = 50;
  static constexpr int kTextNone = 0;
  static constexpr int kTextFirst = 1;
  static constexpr int kTextSecond = 2;
  static constexpr int kTextCustom = 3;

  KDlgPhraseLine() : KModalDialog(kTemplateId) {}

  // The caption of a style's radio button; empty outside 0..17.
  static const char* StyleCaption(int style);
  // The picture resource of a style (the first sixteen in a row, the two
  // vertical brackets apart); 0 outside 0..17.
  static int StylePictureId(int style);

  // Typing in the custom text chooses "Custom text:".
  void OnChangeCustomText();
  // Font...: marks the font as picked and lets the user choose the custom
  // text's font and colour; the focus stays where it was.
  void OnFont();
  void OnHelp();
  // A click on a style's picture chooses that style.
  void OnStylePicture(int style);

  CString fontText;  // the custom text's font; the escapement holds the colour
  int fontPicked = 0;
  int style = -1;       // 0..17, -1 none chosen
  int textChoice = -1;  // 0 none, 1 "1.", 2 "2.", 3 custom, -1 none chosen
  CString customText;

 protected:
  void DeclareControls(DialogControls& controls) override;
  void DescribeLayout(DialogLayoutItem& layout) const override;

 private:
  // Loaded when the controls are declared; a picture that cannot be loaded
  // stays empty and its choice still works.
  std::array<CBitmap, kStyleCount> m_stylePictures;
};
