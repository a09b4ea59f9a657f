// Actions/MIDI/MIDI Settings from the score view: which entries the dialog
// shows, and what OK does to the instrument table, the lines' labels, the
// score's effects and the defaults of new scores.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "MidiViewTestSupport.h"
#include "dialogs/KDlgMidiInstruments.h"
#include "doc/pref_values/Preferences.h"
#include "platform/MidiOutPort.h"
#include "platform/Registry.h"
#include "platform/SettingsStore.h"
#include "view/commands/CommandHandlers.h"
#include "view/commands/CommandIds.h"

namespace {

using miditest::MidiViewFixture;
using Dialog = KDlgMidiInstruments;

class MidiSettingsCommand : public MidiViewFixture {
 protected:
  // Runs the command; the script plays the user's part and closes with its answer.
  void Run(std::function<int(Dialog&)> script) {
    ui.AnswerDialog(Dialog::kTemplateId,
                    [script](KModalDialog& d) { return script(static_cast<Dialog&>(d)); });
    ASSERT_TRUE(ExecuteViewCommand(*view, cmd::kMidiSettings));
  }
  static std::vector<std::string> Labels(const Dialog& d) {
    std::vector<std::string> labels;
    for (const Dialog::Entry& e : d.entries) labels.emplace_back(e.label.View());
    return labels;
  }
  std::string TableText(int i) const { return std::string(view->m_options.instrumentTable[i].View()); }
  std::string LabelOf(int displayLine) const { return std::string(Line(displayLine)->GetLabelName().View()); }
};

TEST_F(MidiSettingsCommand, ShowsTheUnlabelledKindsInUseThenTheLabels) {
  auto* flute = new KStaffLine(0, 0, 0);
  Add(flute);
  auto* newcomer = new KStaffLine(0, 0, 0);
  newcomer->SetLabel("Oboe");  // a label the table does not know yet
  Add(newcomer);
  Open(0, 0);
  view->SetLineLabel(flute, "Flute");
  std::vector<std::string> shown;
  Run([&](Dialog& d) {
    shown = Labels(d);
    return IDCANCEL;
  });
  EXPECT_EQ(shown, (std::vector<std::string>{"Flute", "Oboe"})) << "no unlabelled line, no UL entry";

  // An unlabelled bass line brings its kind in, with the kind's program.
  Add(new KStaffLine(1, 0, 0));
  view->RebuildDisplayLines(0);
  doc.SetModifiedFlag(FALSE);
  Run([&](Dialog& d) {
    shown = Labels(d);
    EXPECT_EQ(d.entries[0].program, 34);
    EXPECT_EQ(d.entries.back().tableIndex, -1);
    return IDCANCEL;
  });
  EXPECT_EQ(shown, (std::vector<std::string>{"UL Bass", "Flute", "Oboe"}));
  EXPECT_FALSE(doc.IsModified());
}

TEST_F(MidiSettingsCommand, OkStoresTheInstrumentsInTheScore) {
  MakeScore();
  Run([](Dialog& d) {
    d.Controls().Select(Dialog::kIdList, 1);  // Flute
    d.Controls().Select(Dialog::kIdInstrument, 40);
    d.Controls().SetText(Dialog::kIdLoudness, "90");
    d.Controls().Select(Dialog::kIdList, 0);  // UL Bass
    d.Controls().SetText(Dialog::kIdLoudness, "70");
    return IDOK;
  });
  const int flute = view->m_labelCount - 1;
  EXPECT_EQ(view->m_labels[static_cast<std::size_t>(flute)].program, 41);
  EXPECT_EQ(TableText(flute), " 41 90Flute");
  EXPECT_EQ(TableText(1), " 34 70UL Bass");
  EXPECT_EQ(doc.settings.instrumentTable[flute], view->m_options.instrumentTable[flute]);
  EXPECT_EQ(doc.settings.instrumentCount, view->m_labelCount);
  EXPECT_TRUE(doc.IsModified());
}

TEST_F(MidiSettingsCommand, RenamedLabelsRenameTheirLines) {
  MakeScore();
  const int count = view->m_labelCount;
  Run([](Dialog& d) {
    d.Controls().Select(Dialog::kIdList, 1);
    d.Controls().SetText(Dialog::kIdLabel, "Piccolo");
    d.Controls().Select(Dialog::kIdList, 0);
    d.Controls().SetText(Dialog::kIdLabel, "Cello");
    d.Controls().Select(Dialog::kIdInstrument, 42);
    return IDOK;
  });
  EXPECT_EQ(LabelOf(0), "Piccolo");
  EXPECT_EQ(LabelOf(1), "Cello") << "the unlabelled bass lines take the kind's new label";
  // The kind's own entry stays for unlabelled lines to come; the new label
  // joins the labels with the instrument chosen.
  EXPECT_EQ(TableText(1).substr(6), "UL Bass");
  EXPECT_EQ(view->m_labelCount, count + 1);
  std::vector<std::string> names;
  for (int i = ScoreSettings::kFixedInstruments; i < view->m_labelCount; ++i) {
    names.emplace_back(view->m_labels[static_cast<std::size_t>(i)].name.View());
  }
  EXPECT_EQ(names, (std::vector<std::string>{"Cello", "Piccolo"}));
  EXPECT_EQ(view->m_labels[ScoreSettings::kFixedInstruments].program, 43);
}

TEST_F(MidiSettingsCommand, ClearingEveryEffectStoresTheBareWord) {
  MakeScore();
  Run([](Dialog& d) {
    for (int bit = 0; bit < Dialog::kEffectBits; ++bit) {
      if (const UINT id = Dialog::EffectControl(bit)) d.Controls().SetChecked(id, 0);
    }
    return IDOK;
  });
  EXPECT_EQ(view->m_options.midiEffects, 0x0FFE0000u);
  EXPECT_EQ(doc.settings.midiEffects, 0x0FFE0000u);
}

TEST_F(MidiSettingsCommand, TheChecksCanBecomeTheDefaultsOfNewScores) {
  KSettingsStoreScope store(std::make_unique<KMemorySettingsStore>());
  MakeScore();
  const DWORD before = g_defaultEffects;
  Run([](Dialog& d) {
    for (int bit = 0; bit < Dialog::kEffectBits; ++bit) {
      if (const UINT id = Dialog::EffectControl(bit)) d.Controls().SetChecked(id, bit == 0 ? 1 : 0);
    }
    d.Controls().SetChecked(Dialog::kIdAllNewScores, 1);
    return IDOK;
  });
  EXPECT_EQ(g_defaultEffects, 0x0FFE0001u);
  std::string text;
  ASSERT_EQ(RegQueryValueString(HKEY_CURRENT_USER, "Software\\Stavlin\\MidiEffects", text), ERROR_SUCCESS);
  // Bends on, the other fourteen off, the spare 9, staccato off, and the
  // depth factor the preference keeps.
  EXPECT_EQ(text, "1,0,0,0,0,0,0,0,0,0,0,0,0,0,0,9,0,100");
  g_defaultEffects = before;
}

TEST_F(MidiSettingsCommand, OpensTheOutputToAuditionAndClosesOnlyWhatItOpened) {
  MakeScore();
  RecordingMidiOut out;
  frame.preview = &out;
  bool openDuring = false;
  Run([&](Dialog&) {
    openDuring = out.IsOpen();
    return IDCANCEL;
  });
  EXPECT_TRUE(openDuring);
  EXPECT_FALSE(out.IsOpen());
  // Music playing through it goes on.
  out.SetOpen(true);
  Run([](Dialog&) { return IDOK; });
  EXPECT_TRUE(out.IsOpen());
  frame.preview = nullptr;
}

}  // namespace
