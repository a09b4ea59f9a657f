#pragma once
// KDlgMidiInstruments: "MIDI Settings - Instrument Assignments and Effects".
// The left half gives each line label of the score (and each kind of
// unlabelled line in use) a General MIDI instrument and a loudness, and can
// rename the label; the right half switches the playback effects of the
// score, and can make them the defaults of new scores. Choosing an instrument
// plays a few notes of it when an output is given.

#include <array>
#include <string>
#include <vector>

#include "platform/MidiOutPort.h"
#include "platform/ModalDialog.h"

class KDlgMidiInstruments : public KModalDialog {
 public:
  static constexpr UINT kTemplateId = 5544;
  static constexpr UINT kIdList = 1310;
  static constexpr UINT kIdInstrument = 1313;
  static constexpr UINT kIdLoudness = 1314;
  static constexpr UINT kIdHelp = 1315;
  static constexpr UINT kIdLabel = 1316;
  static constexpr UINT kIdAllNewScores = 1794;
  // Texts and boxes without an id of their own in the template.
  static constexpr UINT kIdInstrumentsBox = 40001;
  static constexpr UINT kIdEffectsBox = 40002;
  static constexpr UINT kIdLabelText = 40003;
  static constexpr UINT kIdInstrumentText = 40004;
  static constexpr UINT kIdLoudnessText = 40005;

  // The most entries: seven unlabelled kinds and thirty labels.
  static constexpr int kMaxEntries = 37;
  static constexpr int kPercussionProgram = 130;
  // The instrument list: programs 1..128, "Silence" (129), "Percussion" (130).
  static constexpr int kPercussionItem = 129;
  // One check per effect bit; bit 15 has none.
  static constexpr int kEffectBits = 17;
  static constexpr UINT kEffectBase = 0x0FFE0000;

  struct Entry {
    CString label;
    int program = 1;     // 1..128, 129 silent, 130 percussion
    int loudness = 100;  // 0..127
    // Where the entry came from: its place in the score's table (0..6 an
    // unlabelled kind), or -1 for a label no entry had yet.
    int tableIndex = -1;
    // The line type category of an unlabelled kind or a new label (0..6).
    int category = 0;
    CString originalLabel;
  };

  explicit KDlgMidiInstruments(MidiOutPort* output = nullptr) : KModalDialog(kTemplateId), m_output(output) {}

  std::vector<Entry> entries;
  // The effect checks by bit of the effects word.
  std::array<int, kEffectBits> effects{};
  int allNewScores = 0;
  // A label was edited.
  int labelsChanged = 0;

  // The effects word of the checks: the ticked bits and bits 17..27.
  DWORD EffectWord() const;
  void SetEffectWord(DWORD word);
  // The check control of an effect bit (0 for bit 15).
  static UINT EffectControl(int bit);
  static const char* EffectCaption(int bit);

  // The list line of an entry: tab, label, tab, program, tab, instrument
  // name, tab, loudness.
  std::string ListLine(int index) const;
  int CurrentEntry() const { return m_current; }

  BOOL OnInitDialog() override;
  void OnSelectEntry();
  void OnLabelEdited();
  void OnInstrumentChosen();
  void OnLoudnessEdited();
  void OnHelp();

 protected:
  void DeclareControls(DialogControls& controls) override;
  void DescribeLayout(DialogLayoutItem& layout) const override;

 private:
  // Shows the current entry in the label, instrument and loudness fields.
  void ShowCurrent();
  void RefreshList();
  // Plays notes 60, 62 and 64 of the instrument item on channel 1.
  void Audition(int item);
  Entry* Current();

  MidiOutPort* m_output;
  int m_current = -1;
  CString m_label;
  int m_item = 0;
  int m_loudness = 100;
};
