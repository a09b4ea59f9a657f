// The MIDI settings dialog: its list of instruments, editing an entry's label,
// instrument and loudness, auditioning a chosen instrument, and the effect
// checks as the score's effects word.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogs/KDlgMidiInstruments.h"
#include "platform/FakeUiPort.h"
#include "platform/MidiClock.h"
#include "platform/MidiScheduler.h"

namespace {

using Entry = KDlgMidiInstruments::Entry;

class MidiInstrumentsDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    previousClock_ = SetMidiClock(&clock_);
    ResetSoundScheduler();
    out_.StampWith(&clock_);
    dialog_.entries = {{"UL Bass", 34, 100, 1, 1, "UL Bass"},
                       {"UL Percussion", 130, 90, 3, 3, "UL Percussion"},
                       {"Flute", 74, 80, 7, 0, "Flute"}};
  }
  void TearDown() override {
    ResetSoundScheduler();
    SetMidiClock(previousClock_);
  }

  FakeUiPort ui_;
  ScopedUiPort installed_{ui_};
  FakeMidiClock clock_;
  const std::int64_t start_ = clock_.NowUs();
  MidiClock* previousClock_ = nullptr;
  RecordingMidiOut out_;
  KDlgMidiInstruments dialog_{&out_};
};

TEST_F(MidiInstrumentsDialog, ListsEveryEntryAndShowsTheFirst) {
  ui_.AnswerDialog(KDlgMidiInstruments::kTemplateId, [](KModalDialog& d) {
    const DialogControl* list = d.Controls().Find(KDlgMidiInstruments::kIdList);
    EXPECT_EQ(list->items,
              (std::vector<std::string>{"\tUL Bass\t34\tElec. Bass (finger)\t100",
                                        "\tUL Percussion\t130\tPercussion\t90", "\tFlute\t74\tFlute\t80"}));
    EXPECT_EQ(d.Controls().Selected(KDlgMidiInstruments::kIdList), 0);
    EXPECT_EQ(d.Controls().Text(KDlgMidiInstruments::kIdLabel), "UL Bass");
    EXPECT_EQ(d.Controls().Selected(KDlgMidiInstruments::kIdInstrument), 33);
    EXPECT_EQ(d.Controls().Text(KDlgMidiInstruments::kIdLoudness), "100");
    d.Controls().Select(KDlgMidiInstruments::kIdList, 2);
    EXPECT_EQ(d.Controls().Text(KDlgMidiInstruments::kIdLabel), "Flute");
    EXPECT_EQ(d.Controls().Selected(KDlgMidiInstruments::kIdInstrument), 73);
    EXPECT_EQ(d.Controls().Text(KDlgMidiInstruments::kIdLoudness), "80");
    return IDCANCEL;
  });
  EXPECT_EQ(dialog_.DoModal(), IDCANCEL);
  EXPECT_EQ(dialog_.labelsChanged, 0);
}

TEST_F(MidiInstrumentsDialog, EditingAnEntryChangesItAndItsListLine) {
  ui_.AnswerDialog(KDlgMidiInstruments::kTemplateId, [](KModalDialog& d) {
    d.Controls().Select(KDlgMidiInstruments::kIdList, 2);
    d.Controls().SetText(KDlgMidiInstruments::kIdLabel, "Piccolo");
    d.Controls().SetText(KDlgMidiInstruments::kIdLoudness, "64");
    d.Controls().Select(KDlgMidiInstruments::kIdInstrument, 72);
    EXPECT_EQ(d.Controls().Find(KDlgMidiInstruments::kIdList)->items[2], "\tPiccolo\t73\tPiccolo\t64");
    EXPECT_EQ(d.Controls().Selected(KDlgMidiInstruments::kIdList), 2);
    return IDOK;
  });
  ASSERT_EQ(dialog_.DoModal(), IDOK);
  EXPECT_EQ(dialog_.labelsChanged, 1);
  const Entry& flute = dialog_.entries[2];
  EXPECT_EQ(std::string(flute.label.View()), "Piccolo");
  EXPECT_EQ(std::string(flute.originalLabel.View()), "Flute");
  EXPECT_EQ(flute.program, 73);
  EXPECT_EQ(flute.loudness, 64);
}

TEST_F(MidiInstrumentsDialog, PercussionKeepsItsProgramAndNoMelodicEntryTakesPercussion) {
  ui_.AnswerDialog(KDlgMidiInstruments::kTemplateId, [](KModalDialog& d) {
    d.Controls().Select(KDlgMidiInstruments::kIdList, 1);
    d.Controls().Select(KDlgMidiInstruments::kIdInstrument, 5);
    d.Controls().Select(KDlgMidiInstruments::kIdList, 0);
    d.Controls().Select(KDlgMidiInstruments::kIdInstrument, KDlgMidiInstruments::kPercussionItem);
    EXPECT_EQ(d.Controls().Selected(KDlgMidiInstruments::kIdInstrument), 33)
        << "the refused choice is undone";
    return IDOK;
  });
  ASSERT_EQ(dialog_.DoModal(), IDOK);
  EXPECT_EQ(ui_.Beeps().size(), 2u);
  EXPECT_EQ(dialog_.entries[1].program, 130);
  EXPECT_EQ(dialog_.entries[0].program, 34);
}

TEST_F(MidiInstrumentsDialog, AChosenInstrumentPlaysThreeNotesOnChannelOne) {
  out_.SetOpen(true);
  ui_.AnswerDialog(KDlgMidiInstruments::kTemplateId, [](KModalDialog& d) {
    d.Controls().Select(KDlgMidiInstruments::kIdInstrument, 40);
    // "Silence" is an instrument too, but has nothing to play.
    d.Controls().Select(KDlgMidiInstruments::kIdInstrument, 128);
    return IDOK;
  });
  ASSERT_EQ(dialog_.DoModal(), IDOK);
  ASSERT_TRUE(clock_.RunUntilIdle());
  std::vector<std::string> heard = out_.TimedEvents(start_);
  EXPECT_EQ(heard, (std::vector<std::string>{"0 c0 28 00", "0 90 3c 3f", "200 80 3c 00", "200 90 3e 3f",
                                             "400 80 3e 00", "400 90 40 3f", "600 80 40 00"}));
  EXPECT_EQ(dialog_.entries[0].program, 129);
}

TEST_F(MidiInstrumentsDialog, AnOutOfRangeLoudnessIsRefusedAtOk) {
  ui_.AnswerDialog(KDlgMidiInstruments::kTemplateId, [](KModalDialog& d) {
    d.Controls().SetText(KDlgMidiInstruments::kIdLoudness, "128");
    return IDOK;
  });
  EXPECT_NE(dialog_.DoModal(), IDOK);
  EXPECT_EQ(dialog_.entries[0].loudness, 100);
}

TEST_F(MidiInstrumentsDialog, TheChecksMakeTheEffectsWord) {
  struct Case {
    const char* name;
    std::vector<int> ticked;  // bits
    DWORD word;
  };
  const std::vector<Case> cases = {
      {"none ticked", {}, 0x0FFE0000},
      {"bends only", {0}, 0x0FFE0001},
      {"tempo and staccato", {14, 16}, 0x0FFE0000 | 0x4000 | 0x10000},
      {"every effect, never bit 15", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 16}, 0x0FFF7FFF},
  };
  for (const Case& c : cases) {
    KDlgMidiInstruments dialog;
    dialog.SetEffectWord(0xFFFFFFFF);
    ui_.AnswerDialog(KDlgMidiInstruments::kTemplateId, [&c](KModalDialog& d) {
      for (int bit = 0; bit < KDlgMidiInstruments::kEffectBits; ++bit) {
        const UINT id = KDlgMidiInstruments::EffectControl(bit);
        if (id == 0) continue;
        const bool tick = std::find(c.ticked.begin(), c.ticked.end(), bit) != c.ticked.end();
        d.Controls().SetChecked(id, tick ? 1 : 0);
      }
      return IDOK;
    });
    ASSERT_EQ(dialog.DoModal(), IDOK) << c.name;
    EXPECT_EQ(dialog.EffectWord(), c.word) << c.name;
  }
  EXPECT_EQ(KDlgMidiInstruments::EffectControl(15), 0u);
}

TEST_F(MidiInstrumentsDialog, CancelKeepsTheEffectsAsTheyWere) {
  dialog_.SetEffectWord(0x0FFE0001);
  ui_.AnswerDialog(KDlgMidiInstruments::kTemplateId, [](KModalDialog& d) {
    d.Controls().SetChecked(KDlgMidiInstruments::EffectControl(0), 0);
    d.Controls().SetChecked(KDlgMidiInstruments::EffectControl(14), 1);
    return IDCANCEL;
  });
  EXPECT_EQ(dialog_.DoModal(), IDCANCEL);
  EXPECT_EQ(dialog_.EffectWord(), 0x0FFE0001u);
}

}  // namespace
