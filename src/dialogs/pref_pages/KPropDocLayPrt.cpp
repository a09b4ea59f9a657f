#include "dialogs/pref_pages/KPropDocLayPrt.h"

#include "dialogs/DialogTextFont.h"
#include "dialogs/MarginUnits.h"
#include "dialogs/pref_pages/PrefPageSupport.h"
#include "platform/StringTable.h"
#include "platform/UiPort.h"

using namespace pref_page;

namespace {
constexpr UINT kStartFolderTitle = 8127;
}  // namespace

void KPropDocLayPrt::DeclareControls(DialogControls& c) {
  c.SetTitle("Document, Layout and Printing");
  c.Group(kIdMainBox, "Stavlin window");
  LabelledNumber(c, kIdMainWidth, "Width:", mainWidth, 50, 2500);
  LabelledNumber(c, kIdMainHeight, "Height:", mainHeight, 50, 2500);
  LabelledNumber(c, kIdMainLeft, "Horizontal position:", mainLeft, 0, 2500);
  LabelledNumber(c, kIdMainTop, "Vertical position:", mainTop, 0, 2500);
  c.Button(kIdMainCurrent, "&Current Size and Pos", DialogButtonRole::kAction,
           [this] { OnCurrentWindowSize(); });
  c.Group(kIdDocBox, "New documents");
  LabelledNumber(c, kIdDocWidth, "Width:", docWidth, 40, 2500);
  LabelledNumber(c, kIdDocHeight, "Height:", docHeight, 40, 2500);
  LabelledNumber(c, kIdDocLeft, "Horizontal position:", docLeft, 0, 2500);
  LabelledNumber(c, kIdDocTop, "Vertical position:", docTop, 0, 2500);
  c.Button(kIdDocCurrent, "C&urrent Size and Pos", DialogButtonRole::kAction,
           [this] { OnCurrentNewDocSize(); });
  c.Group(kIdStartupBox, "Open a score at start-up");
  Radios(c, startupAction, {{kIdStartupNone, "no,"}, {kIdStartupNew, "new, or"}, {kIdStartupLast, "last"}});
  LabelledEdit(c, kIdStartFolder, "Start folder:", startFolder);
  c.Button(kIdBrowse, "Br&owse", DialogButtonRole::kAction, [this] { OnBrowseStartFolder(); });

  c.Group(kIdMarginsBox, "Margins (new scores)");
  c.RadioGroup(kIdInches, "&Inches", units).WhenChanged([this] { OnInches(); });
  c.Radio(kIdMillimetres, "&Millimeters").WhenChanged([this] { OnMillimeters(); });
  LabelledReal(c, kIdTop, "Top:", marginTop);
  LabelledReal(c, kIdBottom, "Bottom:", marginBottom);
  LabelledReal(c, kIdLeft, "Left:", marginLeft);
  LabelledReal(c, kIdRight, "Right:", marginRight);
  LabelledNumber(c, kIdSize, "Printout size, % of normal:", printSize, 20, 400);
  LabelledNumber(c, kIdOverlap, "Horizontal page overlap (pixels):", overlap, kAnyLow, kAnyHigh);
  c.Check(kIdShowBreaks, "Sho&w page breaks (based on margins)", showPageBreaks);
  c.Check(kIdAlert, "&Alert if score is slightly larger than page size", alert);

  c.Group(kIdNumberBox, "Page numbering");
  Radios(c, numberType,
         {{kIdNumberNone, "&None"},
          {kIdNumberFileName, "File Name + &Page #"},
          {kIdNumberText, "Page Numbering Te&xt + Page #"}});
  Radios(c, numberVertical, {{kIdNumberTop, "&Top  or"}, {kIdNumberBottom, "&Bottom of page"}});
  Radios(c, numberHorizontal,
         {{kIdNumberLeft, "&Left"},
          {kIdNumberCentre, "C&enter"},
          {kIdNumberRight, "&Right"},
          {kIdNumberAlternate, "Pg 1,&3... Right / Pg 2,4... Left"}});
  c.Check(kIdXofY, "Use Pg. X of &Y format", pageXofY);
  c.Button(kIdNumberFont, "Set &Font of Page # Text...", DialogButtonRole::kAction,
           [this] { OnPageNumberFont(); });

  c.Group(kIdCorrectionsBox, "Printing corrections");
  LabelledNumber(c, kIdSymbolX, "Symbol size, horizontal %:", symbolSizeX, 60, 140);
  LabelledNumber(c, kIdSymbolY, "Symbol size, vertical %:", symbolSizeY, 60, 140);
  LabelledNumber(c, kIdClipping, "Clipping:", clipping, 0, 99);
  LabelledNumber(c, kIdStaffLine, "Staff-line thickness:", staffLineThickness, 1, 20);
  LabelledNumber(c, kIdSlur, "Slur (tie) thickness:", slurThickness, 1, 10);
  LabelledNumber(c, kIdTabDigit, "Tab-digit position (+/-):", tabDigitPosition, -5, 5);
  LabelledNumber(c, kIdFontScaling, "Font scaling %:", fontScaling, kAnyLow, kAnyHigh);
  c.Check(kIdInvertDiagrams, "Chord Diagrams (invert colour)", invertDiagrams);
  HelpButton(c, kIdHelp, HelpTopic::kPropsDocLayPrt);
  c.Keep(pageNumberFont);
}

void KPropDocLayPrt::DescribeLayout(DialogLayoutItem& layout) const {
  using namespace dialog_layout;
  layout.children = {Row({
      Column({Box(kIdMainBox, {Form({FieldOf(kIdMainWidth), FieldOf(kIdMainHeight), FieldOf(kIdMainLeft),
                                     FieldOf(kIdMainTop)}),
                               Ctl(kIdMainCurrent)}),
              Box(kIdDocBox, {Form({FieldOf(kIdDocWidth), FieldOf(kIdDocHeight), FieldOf(kIdDocLeft),
                                    FieldOf(kIdDocTop)}),
                              Ctl(kIdDocCurrent)}),
              Box(kIdStartupBox, {Row({Ctl(kIdStartupNone), Ctl(kIdStartupNew), Ctl(kIdStartupLast)}),
                                  Form({FieldOf(kIdStartFolder)}), Ctl(kIdBrowse)}),
              Stretch()}),
      Column({Box(kIdMarginsBox, {Row({Ctl(kIdInches), Ctl(kIdMillimetres)}),
                                  Form({FieldOf(kIdTop), FieldOf(kIdBottom), FieldOf(kIdLeft),
                                        FieldOf(kIdRight), FieldOf(kIdSize), FieldOf(kIdOverlap)}),
                                  Ctl(kIdShowBreaks), Ctl(kIdAlert)}),
              Box(kIdNumberBox, {Ctl(kIdNumberNone), Ctl(kIdNumberFileName), Ctl(kIdNumberText),
                                 Row({Ctl(kIdNumberTop), Ctl(kIdNumberBottom)}),
                                 Row({Ctl(kIdNumberLeft), Ctl(kIdNumberCentre), Ctl(kIdNumberRight)}),
                                 Ctl(kIdNumberAlternate), Ctl(kIdXofY), Ctl(kIdNumberFont)}),
              Stretch()}),
      Column({Box(kIdCorrectionsBox, {Form({FieldOf(kIdSymbolX), FieldOf(kIdSymbolY), FieldOf(kIdClipping),
                                            FieldOf(kIdStaffLine), FieldOf(kIdSlur), FieldOf(kIdTabDigit),
                                            FieldOf(kIdFontScaling)}),
                                      Ctl(kIdInvertDiagrams)}),
              Stretch()}),
  })};
  // A page shorter than the tallest keeps its controls together at the top.
  layout.children.push_back(dialog_layout::Stretch());
}

BOOL KPropDocLayPrt::OnInitDialog() {
  KModalDialog::OnInitDialog();
  m_unitsShown = units;
  return TRUE;
}

void KPropDocLayPrt::OnCurrentWindowSize() {
  // Takes effect in the fields: the members follow when OK takes them.
  DialogControls& c = Controls();
  const UINT ids[4] = {kIdMainWidth, kIdMainHeight, kIdMainLeft, kIdMainTop};
  for (int k = 0; k < 4; ++k) c.SetText(ids[k], std::to_string(mainRect[k]));
}

void KPropDocLayPrt::OnCurrentNewDocSize() {
  DialogControls& c = Controls();
  const UINT ids[4] = {kIdDocWidth, kIdDocHeight, kIdDocLeft, kIdDocTop};
  for (int k = 0; k < 4; ++k) c.SetText(ids[k], std::to_string(lastDocRect[k]));
}

void KPropDocLayPrt::OnBrowseStartFolder() {
  CString folder(std::string_view(Controls().Text(kIdStartFolder)));
  if (CurrentUiPort().BrowseForFolder(LoadString(kStartFolderTitle), folder))
    Controls().SetText(kIdStartFolder, folder.Str());
}

void KPropDocLayPrt::OnPageNumberFont() { ChooseTextFont(pageNumberFont); }

void KPropDocLayPrt::ConvertMargins(int newUnits) {
  ConvertMarginFields(Controls(), {kIdTop, kIdBottom, kIdLeft, kIdRight}, m_unitsShown, newUnits);
  m_unitsShown = newUnits;
}

void KPropDocLayPrt::OnInches() { ConvertMargins(kMarginInches); }

void KPropDocLayPrt::OnMillimeters() { ConvertMargins(kMarginMillimetres); }

void KPropDocLayPrt::OnHelp() { ShowHelpTopic(HelpTopic::kPropsDocLayPrt); }
