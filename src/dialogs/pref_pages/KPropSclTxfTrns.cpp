#include "dialogs/pref_pages/KPropSclTxfTrns.h"

#include "dialogs/pref_pages/PrefPageSupport.h"

using namespace pref_page;

void KPropSclTxfTrns::DeclareControls(DialogControls& c) {
  c.SetTitle("Translating, Scrolling, Text Files, Graphic Image Export");
  c.Group(kIdScrollBox, "Auto-scrolling");
  LabelledNumber(c, kIdScrollLines, "Lines to advance:", scrollLines, 1, 20);
  LabelledNumber(c, kIdScrollDelay, "Time delay (seconds):", scrollSeconds, 1, 200);
  c.Check(kIdGroupAsOne, "Co&unt as \"group\" lines", groupAsOne);
  c.Check(kIdRepeat, "R&epeat scrolling continuously", repeat);
  c.Check(kIdSound, "&Sound on", sound);
  c.Group(kIdTransposeBox, "Transposing");
  Radios(c, accidentals,
         {{kIdSimpleAccidentals, "sim&ple   or"}, {kIdDoubleAccidentals, "&double   flats/sharps"}});
  Radios(c, transposePlacement,
         {{kIdTransposeReplace, "Rep&lace"},
          {kIdTransposeAbove, "Go abo&ve"},
          {kIdTransposeBelow, "Go belo&w"}});
  c.Group(kIdAltBox, "Translated alternate tunings");
  Radios(c, altTuningPlacement,
         {{kIdAltReplace, "&Replace"}, {kIdAltAbove, "&Go above"}, {kIdAltBelow, "G&o below"}});
  c.Group(kIdTextBox, "Text files");
  c.Check(kIdLineBreaks, "Automatically insert line brea&ks if needed", lineBreaks);
  c.Check(kIdOpenAsScore, "Ope&n as a Stavlin file (text=>\"Text Lines\")", openAsScore);
  c.Check(kIdTranslateTab, "Auto-translate &Text-tab to Stavlin Tab", translateTab);
  c.Check(kIdRemoveTextTab, "Remove te&xt-tab after auto-translate", removeTextTab);
  c.Check(kIdAbcTreble, "Include ABC translation of Treble lines", abcTreble);
  c.Check(kIdWrapAbc, "&Wrap imported ABC staff lines (if not checked, each line is one staff line)",
          wrapAbc);
  c.Check(kIdConvertAbc, "Automatically convert ABC file to notation", convertAbc);
  c.Group(kIdTextTabBox, "Text-tab with");
  c.Static(kIdSixLabel, "6 strings:");
  Radios(c, sixStringsBass, {{kIdSixTreble, "treble"}, {kIdSixBass, "bass"}});
  c.Static(kIdFiveLabel, "5 strings:");
  Radios(c, fiveStringsBass, {{kIdFiveTreble, "treble"}, {kIdFiveBass, "bass"}});
  c.Static(kIdFourLabel, "4 strings:");
  Radios(c, fourStringsBass, {{kIdFourTreble, "treble"}, {kIdFourBass, "bass"}});
  c.Group(kIdTranslateBox, "Translating staffs to tab");
  Radios(c, shiftBass,
         {{kIdIgnoreBass, "&Ignore Bass staff notes out of guitar range"},
          {kIdShiftBass, "Shi&ft Bass staff notes into guitar range"}});
  c.Check(kIdMergeStaffs, "&Merge Treble and Bass to a single staff", mergeStaffs);
  c.Check(kIdTakeAbove, "&above (up stems) and", takeAbove);
  c.Check(kIdTakeBelow, "&below (down stems)", takeBelow);
  c.Group(kIdImageBox, "Graphic image export");
  Radios(c, imageFormat, {{kIdPng, "PNG"}, {kIdBitmap, "Bitmap"}});
  c.Check(kIdInterlaced, "Save interlaced PNG images", interlaced);
  HelpButton(c, kIdHelp, HelpTopic::kPropsSclTxfTrns);
}

void KPropSclTxfTrns::DescribeLayout(DialogLayoutItem& layout) const {
  using namespace dialog_layout;
  layout.children = {Row({
      Column({Box(kIdScrollBox, {Form({FieldOf(kIdScrollLines), FieldOf(kIdScrollDelay)}), Ctl(kIdGroupAsOne),
                                 Ctl(kIdRepeat), Ctl(kIdSound)}),
              Box(kIdTransposeBox,
                  {Row({Ctl(kIdSimpleAccidentals), Ctl(kIdDoubleAccidentals)}),
                   Row({Ctl(kIdTransposeReplace), Ctl(kIdTransposeAbove), Ctl(kIdTransposeBelow)})}),
              Box(kIdAltBox, {Row({Ctl(kIdAltReplace), Ctl(kIdAltAbove), Ctl(kIdAltBelow)})}),
              Box(kIdImageBox, {Row({Ctl(kIdPng), Ctl(kIdBitmap)}), Ctl(kIdInterlaced)}), Stretch()}),
      Column(
          {Box(kIdTextBox, {Ctl(kIdLineBreaks), Ctl(kIdOpenAsScore), Ctl(kIdTranslateTab),
                            Ctl(kIdRemoveTextTab), Ctl(kIdAbcTreble), Ctl(kIdWrapAbc), Ctl(kIdConvertAbc)}),
           Box(kIdTextTabBox, {Row({Ctl(kIdSixLabel), Ctl(kIdSixTreble), Ctl(kIdSixBass)}),
                               Row({Ctl(kIdFiveLabel), Ctl(kIdFiveTreble), Ctl(kIdFiveBass)}),
                               Row({Ctl(kIdFourLabel), Ctl(kIdFourTreble), Ctl(kIdFourBass)})}),
           Box(kIdTranslateBox, {Ctl(kIdIgnoreBass), Ctl(kIdShiftBass), Ctl(kIdMergeStaffs),
                                 Row({Ctl(kIdTakeAbove), Ctl(kIdTakeBelow)})}),
           Stretch()}),
  })};
  // A page shorter than the tallest keeps its controls together at the top.
  layout.children.push_back(dialog_layout::Stretch());
}
