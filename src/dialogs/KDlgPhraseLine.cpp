#include "dialogs/KDlgPhraseLine.h"

#include "common/HelpTopics.h"
#include "dialogs/DialogTextFont.h"
#include "platform/SymbolLoader.h"
#include "platform/UiPort.h"

namespace {

constexpr const char* kStyleCaptions[KDlgPhraseLine::kStyleCount] = {
    "Full Brac&ket",
    "Bracket - &Left End",
    "Bracket - &Right End",
    "Full Bracket-&Up",
    "Bracket-Up - Left &End",
    "Bracket-Up - Right E&nd",
    "&Mid-Bracket",
    "&Dashed Full Bracket",
    "D&ashed Left End",
    "Dashed Ri&ght End",
    "Da&shed Full Bracket-Up",
    "Dashed-U&p Left End",
    "Dashed-Up Righ&t End",
    "M&id-Dashed Bracket",
    "Multiple Empty &Bars",
    "Bo&x",
    "Left &Vertical Bracket",
    "Rig&ht Vertical Bracket",
};

}  // namespace

const char* KDlgPhraseLine::StyleCaption(int style) {
  return style >= 0 && style < kStyleCount ? kStyleCaptions[style] : "";
}

int KDlgPhraseLine::StylePictureId(int style) {
  if (style < 0 || style >= kStyleCount) return 0;
  if (style == 16) return 5130;  // left vertical bracket
  if (style == 17) return 5131;  // right vertical bracket
  return 5334 + style;
}

void KDlgPhraseLine::DeclareControls(DialogControls& c) {
  c.SetTitle("Select a Bracket Style...");
  c.Group(kIdStyleBox, "Bracket style");
  c.RadioGroup(kIdFirstStyle, StyleCaption(0), style);
  for (int s = 1; s < kStyleCount; ++s) c.Radio(kIdFirstStyle + s, StyleCaption(s));
  for (int s = 0; s < kStyleCount; ++s) {
    CBitmap& picture = m_stylePictures[static_cast<size_t>(s)];
    if (picture.GetSafeHandle() == nullptr) LoadSymbolResource(StylePictureId(s), picture);
    c.Picture(kIdFirstStylePicture + static_cast<UINT>(s), picture, kPictureWidth, kPictureHeight).onMouse =
        [this, s](const DialogMouse& mouse) {
          if (mouse.button == 1) OnStylePicture(s);
        };
  }
  c.Group(kIdTextBox, "Text to appear within bracket (eg. for Alternate Endings):");
  c.RadioGroup(kIdNone, "N&one", textChoice);
  c.Radio(kIdFirstEnding, "&1.");
  c.Static(kIdFirstEndingNote, "(first ending)");
  c.Radio(kIdSecondEnding, "&2.");
  c.Static(kIdSecondEndingNote, "(second ending)");
  c.Radio(kIdCustom, "&Custom text:");
  c.Edit(kIdCustomText, customText, kMaxCustomChars).WhenChanged([this] { OnChangeCustomText(); });
  c.Button(kIdFont, "&Font...", DialogButtonRole::kAction, [this] { OnFont(); });
  c.Static(kIdExamples, "For example: \"3.\", \"1. 2. 3.\", \"Last time only\", \"To Coda\"");
  c.Button(kIdHelp, "Help", DialogButtonRole::kHelp, [this] { OnHelp(); });
  c.Button(IDCANCEL, "Cancel", DialogButtonRole::kCancel);
  c.Button(IDOK, "OK", DialogButtonRole::kOk);
  c.Keep(fontText);
  c.Keep(fontPicked);
}

void KDlgPhraseLine::DescribeLayout(DialogLayoutItem& layout) const {
  using namespace dialog_layout;
  DialogLayoutItem left = Column({});
  DialogLayoutItem right = Column({});
  for (int s = 0; s < kStyleCount; ++s) {
    (s < kStyleCount / 2 ? left : right)
        .children.push_back(
            Row({Ctl(kIdFirstStyle + s), Stretch(), Ctl(kIdFirstStylePicture + static_cast<UINT>(s))}));
  }
  DialogLayoutItem styles = Box(kIdStyleBox, {});
  styles.children.push_back(Row({left, right}));
  layout.children = {
      styles,
      Box(kIdTextBox, {Ctl(kIdNone), Row({Ctl(kIdFirstEnding), Ctl(kIdFirstEndingNote), Stretch()}),
                       Row({Ctl(kIdSecondEnding), Ctl(kIdSecondEndingNote), Stretch()}),
                       Row({Ctl(kIdCustom), Ctl(kIdCustomText), Ctl(kIdFont)}), Ctl(kIdExamples)}),
  };
}

void KDlgPhraseLine::OnStylePicture(int style) {
  if (style < 0 || style >= kStyleCount) return;
  Controls().SetChecked(kIdFirstStyle + static_cast<UINT>(style), 1);
}

void KDlgPhraseLine::OnChangeCustomText() {
  Controls().SetChecked(kIdCustom, 1);
  textChoice = kTextCustom;
}

void KDlgPhraseLine::OnFont() {
  fontPicked = 1;
  ChooseTextFont(fontText);
}

void KDlgPhraseLine::OnHelp() { ShowHelpTopic(HelpTopic::kPhraseLine); }
