#pragma once
// Running a MIDI import headless and reading back what it made: the settings
// dialog is answered by script, the progress window by a port that can stop
// a pass at a chosen poll, and the new score is played through the
// sequencer, so that its notes can be compared with the file's.

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "dialogs/KDlgMidiImpSettings.h"
#include "doc/CStavlinDoc.h"
#include "lines/KStaffLine.h"
#include "midi/LinePlayEvents.h"
#include "midi/PlayScore.h"
#include "midi/PlaySequencer.h"
#include "model/KChord.h"
#include "platform/FakeUiPort.h"
#include "platform/ProgressPort.h"
#include "platform/UiPort.h"
#include "view/commands/MidiFileImport.h"

namespace importtest {

// Stops the pass at poll number stopAt (0: never); counts the polls.
class ScriptedProgress : public ProgressPort {
 public:
  void Open(const CString& text) override { texts.push_back(text.Str()); }
  void SetText(const CString& text) override { texts.push_back(text.Str()); }
  bool PollStop() override { return stopAt > 0 && ++polls >= stopAt; }
  int stopAt = 0;
  int polls = 0;
  std::vector<std::string> texts;
};

// A note as the score plays it.
struct Played {
  int tick;
  int key;
  friend bool operator==(const Played&, const Played&) = default;
};

inline std::string ToText(const std::vector<Played>& notes) {
  std::string text;
  for (const Played& n : notes) text += std::to_string(n.tick) + ":" + std::to_string(n.key) + " ";
  return text;
}

// The note lines of the document in order.
inline std::vector<KLineObj*> Lines(const CStavlinDoc& doc) {
  std::vector<KLineObj*> lines;
  for (POSITION pos = doc.GetFirstLinePosition(); pos != nullptr;) lines.push_back(doc.GetNextLine(pos));
  return lines;
}

// The score's notes as written, per label, in time order (keys rising at
// one tick): each staff keeps one clock that every note or rest column moves
// on by its length (two thirds of it under a triplet bracket); a note tied
// from the column before does not start again. Keys come from the columns'
// own play events (clef, key, accidentals in the bar, drum map).
std::map<std::string, std::vector<Played>> PlayScore(const CStavlinDoc& doc);
std::map<std::string, std::vector<Played>> PlayLines(const std::vector<KLineObj*>& lines);
// Every part's notes in one list, in time order.
std::vector<Played> AllNotes(const std::map<std::string, std::vector<Played>>& parts);

// The staff lines of the document (type, label), in order.
inline std::vector<KListLine*> Staves(const CStavlinDoc& doc) {
  std::vector<KListLine*> staves;
  for (KLineObj* line : Lines(doc)) {
    if (KLineObj::IsNoteFamily(line->GetFamily())) staves.push_back(dynamic_cast<KListLine*>(line));
  }
  return staves;
}

// Every column of the document's staves, in order.
inline std::vector<const KChord*> Columns(const CStavlinDoc& doc) {
  std::vector<const KChord*> columns;
  for (KListLine* line : Staves(doc)) {
    const CObList& list = *line->GetObjList();
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) {
      if (const auto* c = dynamic_cast<const KChord*>(list.GetNext(pos))) columns.push_back(c);
    }
  }
  return columns;
}

// The staves' columns as text, for failure messages.
std::string Dump(const CStavlinDoc& doc);

// The number of attachments of the kind on the document's staves.
int CountAttachments(const CStavlinDoc& doc, int kind);

// The fixture: a fake UI that answers the settings dialog with its script
// (OK by default), and the scripted progress window.
class ImportFixture {
 public:
  ImportFixture();
  ~ImportFixture();

  MidiFileImportResult Import(const std::vector<std::uint8_t>& bytes,
                              const char* path = "/music/test tune.mid");

  FakeUiPort ui;
  ScriptedProgress progress;
  // What the settings dialog does before OK (the rows as the analysis made them).
  std::function<int(KDlgMidiImpSettings&)> settingsScript;
  std::vector<KDlgMidiImpSettings::Row> shownRows;

 private:
  ScopedUiPort m_ui{ui};
  ScopedProgressPort m_progress{progress};
};

}  // namespace importtest
