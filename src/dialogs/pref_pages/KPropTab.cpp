#include "dialogs/pref_pages/KPropTab.h"

#include "common/TuningCodec.h"
#include "dialogs/DialogTextFont.h"
#include "dialogs/pref_pages/PrefPageSupport.h"
#include "platform/UiPort.h"

using namespace pref_page;

namespace {
constexpr UINT kMakeDefaultText = 8000;
constexpr UINT kMakeBassDefaultText = 8001;
constexpr int kNamesLength = 12;
constexpr int kPlainTuningLength = 15;
constexpr int kKindPosition = 12;
}  // namespace

CString KPropTab::NamesOf(const CString& tuning) {
  // A tuning of one character (or none) stands for the guitar's.
  const CString& text = tuning.GetLength() <= 1 ? CString(kStandardTuning) : tuning;
  if (text.GetLength() < kPlainTuningLength || text[kKindPosition] == '*' || text[kKindPosition] == ' ') {
    CString names;
    GetTuningNoteNames(text, names);
    return names;
  }
  return NormalizeTuningName(text).Left(kNamesLength);
}

void KPropTab::DeclareControls(DialogControls& c) {
  c.SetTitle("Tab, Rhythm, and Text Lines, Chord Line Tuning");
  c.Group(kIdTuningBox, "Default tunings of new tab and chord lines");
  c.Static(kIdTuningLabel, "Default tuning:");
  c.Static(kIdTuningNames, "");
  c.Button(kIdMakeTuningDefault, "Make &current tuning ( Ab Ab Ab Ab Ab Ab ) the default",
           DialogButtonRole::kAction, [this] { OnMakeTuningDefault(); });
  c.Static(kIdBassTuningLabel, "Default bass tuning:");
  c.Static(kIdBassTuningNames, "");
  c.Button(kIdMakeBassDefault, "Make cur. &bass tuning ( Ab Ab Ab Ab Ab Ab ) default",
           DialogButtonRole::kAction, [this] { OnMakeBassTuningDefault(); });
  c.Group(kIdTabBox, "Tab lines");
  c.Check(kIdAltPitches, "Show &alternate tuning pitches on staff", altPitches);
  c.Check(kIdStems, "Sh&ow note stems on Tab fingering", stemsOnTab);
  c.Check(kIdTabWord, "Show \"TAB\" on sta&ff", tabWord);
  c.Check(kIdFretFromPrevious, "During translation &set fret position based on previous position",
          fretFromPrevious);
  c.Check(kIdBanjo, "Use \"banjo fingering\" on &5th string", banjoFingering);
  c.Check(kIdDulcimer,
          "Use \"+\" notation for &Dulcimer fret numbering ( eg. 5, 6, 6+, 7...  vs.  5, 6, 7, 8... )",
          dulcimerPlus);
  LabelledNumber(c, kIdTabSpacing, "Spacing between lines on the tab staff (8-16):", tabSpacing, 8, 16);
  LabelledNumber(c, kIdBanjoFret, "Banjo 5th string start fret:", banjoStartFret, kAnyLow, kAnyHigh);
  LabelledNumber(c, kIdTitleThreshold, "Title-font threshold (points):", titleThreshold, kAnyLow, kAnyHigh);
  c.Check(kIdResetBarCount, "R&eset bar count after title fonts", resetBarCount);
  c.Group(kIdFontsBox, "Fonts");
  c.Button(kIdTabFont, "Choose a new font for fingering on &Tab lines...", DialogButtonRole::kAction,
           [this] { ChooseTextFont(tabFont); });
  c.Button(kIdRhythmFont, "Choose the default &Rhythm line font...", DialogButtonRole::kAction,
           [this] { ChooseTextFont(rhythmFont); });
  c.Button(kIdTextFont, "Choose the default te&xt font...", DialogButtonRole::kAction,
           [this] { ChooseTextFont(textFont); });
  HelpButton(c, kIdHelp, HelpTopic::kPropsTab);
  for (CString* text : {&tabFont, &rhythmFont, &textFont, &currentTuning, &defaultTuning,
                        &defaultLabelledTuning, &defaultBassTuning})
    c.Keep(*text);
  c.Keep(tuningChanged);
  c.Keep(bassTuningChanged);
}

void KPropTab::DescribeLayout(DialogLayoutItem& layout) const {
  using namespace dialog_layout;
  layout.children = {
      Box(kIdTuningBox,
          {Row({Ctl(kIdTuningLabel), Ctl(kIdTuningNames), Stretch()}), Ctl(kIdMakeTuningDefault),
           Row({Ctl(kIdBassTuningLabel), Ctl(kIdBassTuningNames), Stretch()}), Ctl(kIdMakeBassDefault)}),
      Row({Box(kIdTabBox, {Ctl(kIdAltPitches), Ctl(kIdStems), Ctl(kIdTabWord), Ctl(kIdFretFromPrevious),
                           Ctl(kIdBanjo), Ctl(kIdDulcimer),
                           Form({FieldOf(kIdTabSpacing), FieldOf(kIdBanjoFret), FieldOf(kIdTitleThreshold)}),
                           Ctl(kIdResetBarCount)}),
           Column({Box(kIdFontsBox, {Ctl(kIdTabFont), Ctl(kIdRhythmFont), Ctl(kIdTextFont)}), Stretch()})}),
  };
  // A page shorter than the tallest keeps its controls together at the top.
  layout.children.push_back(dialog_layout::Stretch());
}

void KPropTab::ShowTuningTexts() {
  DialogControls& c = Controls();
  CString caption;
  AfxFormatString1(caption, kMakeDefaultText, NamesOf(currentTuning));
  c.Find(kIdMakeTuningDefault)->caption = caption.Str();
  AfxFormatString1(caption, kMakeBassDefaultText, NamesOf(currentBassTuning));
  c.Find(kIdMakeBassDefault)->caption = caption.Str();
  c.Find(kIdTuningNames)->caption =
      NamesOf(defaultTuning.IsEmpty() ? CString(kStandardTuning) : defaultTuning).Str();
  c.Find(kIdBassTuningNames)->caption = NamesOf(defaultBassTuning).Str();
}

BOOL KPropTab::OnInitDialog() {
  KModalDialog::OnInitDialog();
  if (currentTuning.GetLength() <= 1) currentTuning = kStandardTuning;
  ShowTuningTexts();
  return TRUE;
}

void KPropTab::OnMakeTuningDefault() {
  defaultTuning = currentTuning.GetLength() <= 1 ? CString(kStandardTuning) : currentTuning;
  defaultLabelledTuning = currentLabelledTuning;
  tuningChanged = 1;
  ShowTuningTexts();
}

void KPropTab::OnMakeBassTuningDefault() {
  defaultBassTuning = currentBassTuning;
  bassTuningChanged = 1;
  ShowTuningTexts();
}
