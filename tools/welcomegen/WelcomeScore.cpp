// The welcome score: a four-bar tune in G in every kind of line. The staff
// comes from ABC; the tablature is the staff translated by the program's own
// staff-to-tab translation; the chord diagrams, strums and lyrics are placed
// at the x of the melody's beats, worked out from the staff's columns.

#include "WelcomeScore.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "common/FontCodec.h"
#include "common/Globals.h"
#include "doc/CStavlinDoc.h"
#include "doc/pref_values/Preferences.h"
#include "lines/KChordPicLine.h"
#include "lines/KRhythmLine.h"
#include "lines/KStaffLine.h"
#include "lines/KStrLine.h"
#include "lines/KTabLine.h"
#include "model/KChord.h"
#include "model/KChordPic.h"
#include "model/KLineGroup.h"
#include "model/KRhythmObj.h"
#include "platform/qt/QtTextMeasurer.h"
#include "translate/AbcReader.h"
#include "translate/AbcReaderState.h"

namespace {

constexpr const char* kGuitar = "E A D G B E  323742475156";

// The tune: a title, the metre, the note length, the key and the music.
constexpr const char* kTitle = "T:Welcome To Stavlin";
constexpr const char* kHeader[] = {"M:4/4", "L:1/8", "K:G"};
constexpr const char* kMusic = "GABc d2B2|c2e2 g2e2|dcBA F2A2|B4 G4|]";

// Each note of the music: its length in eighths and its syllable.
struct KWelcomeNote {
  int eighths;
  const char* syllable;
};
constexpr KWelcomeNote kNotes[] = {
    {1, "Wel-"}, {1, "come"}, {1, "to"},  {1, "Stav-"}, {2, "lin"}, {2, "and"},   // bar 1
    {2, "type"}, {2, "in"},   {2, "a"},   {2, "tune,"},                           // bar 2
    {1, "play"}, {1, "it"},   {1, "and"}, {1, "print"}, {2, "it"},  {2, "out,"},  // bar 3
    {4, "en-"},  {4, "joy!"},                                                     // bar 4
};
constexpr int kBars = 4;
constexpr int kEighthsPerBar = 8;

// One chord a bar: its name and its guitar shape (base fret, then the six
// strings from the lowest: 0 open, 1..4 the fret row, 9 not played).
struct KWelcomeChord {
  const char* name;
  const char* shape;
};
constexpr KWelcomeChord kChords[kBars] = {
    {"G", "0320003          000"},
    {"C", "0932010          000"},
    {"D", "0990232          000"},
    {"G", "0320003          000"},
};

// Rhythm-line codes: slash-headed (strummed) quarter, eighth and whole notes.
constexpr int kStrumQuarter = 210;
constexpr int kStrumEighth = 227;
constexpr int kStrumHalf = 209;

constexpr const char* kHelpLines[] = {
    "To type notes on a staff, move to a pitch with the letters a to g,",
    "then enter a quarter, half, whole or eighth note there with q, h, w or t.",
    "On a tablature line, type fret numbers.",
    "Open a score with File | Open, or start a new one with File | New.",
};

// The default text font, in which the lyrics line is drawn.
LOGFONT LyricsFont() {
  LOGFONT font{};
  StringToLogFont(g_prefTextFont, font);
  return font;
}

int TextWidth(const LOGFONT& font, const std::string& text) {
  return QtTextMeasurer::Screen().GetTextExtent(font, text).cx;
}

// Spreads the staff's columns so that each note has room for its syllable
// (one column a note is too tight for words): eighths and quarters take at
// least two columns, halves three, and a long syllable as many as it needs.
void SpreadColumns(KStaffLine& staff) {
  const LOGFONT font = LyricsFont();
  const int gap = TextWidth(font, " ");
  int pos = 0;
  std::size_t note = 0;
  CObList* columns = staff.GetObjList();
  for (POSITION node = columns->GetHeadPosition(); node != nullptr;) {
    auto* column = dynamic_cast<KChord*>(columns->GetNext(node));
    if (column == nullptr) continue;
    column->SetPos(pos);
    const bool isNote = !column->IsBarColumn() && !column->IsSignatureColumn() && column->CountNotes() > 0;
    if (!isNote || note >= std::size(kNotes)) {
      pos += 1;
      continue;
    }
    const KWelcomeNote& sung = kNotes[note++];
    const int least = sung.eighths <= 2 ? 2 : 3;
    const int needed =
        (TextWidth(font, sung.syllable) + gap + g_NoteColumnWidth[0] / 2) / g_NoteColumnWidth[0];
    pos += std::max(least, needed);
  }
  staff.UpdateTimeSigCache();
  staff.MarkChanged();
}

// Beams each run of eighths (the reader leaves some of them flagged).
void BeamEighths(KListLine& staff, bool bothVoices) {
  std::size_t note = 0;
  POSITION runFirst = nullptr;
  POSITION runLast = nullptr;
  int voice = 0;
  auto closeRun = [&] {
    if (runFirst != nullptr && runLast != nullptr && runFirst != runLast) {
      for (int v = 0; v < 2; ++v) {
        if (v == voice || bothVoices) staff.BeamRange(runFirst, runLast, v, 0);
      }
    }
    runFirst = runLast = nullptr;
  };
  CObList* columns = staff.GetObjList();
  for (POSITION node = columns->GetHeadPosition(); node != nullptr;) {
    const POSITION here = node;
    const auto* column = dynamic_cast<const KChord*>(columns->GetNext(node));
    if (column == nullptr) continue;
    const bool isNote = !column->IsBarColumn() && !column->IsSignatureColumn() && column->CountNotes() > 0;
    if (!isNote || note >= std::size(kNotes) || kNotes[note++].eighths != 1) {
      closeRun();
      continue;
    }
    if (runFirst == nullptr) {
      runFirst = here;
      voice = column->GetNote(0).code % 2 != 0 ? 0 : 1;
    }
    runLast = here;
  }
  closeRun();
}

// Where the melody's time falls across the line: the x (from the line's
// start, normal size) of each eighth of the tune, from the staff's columns.
class KBeatMap {
 public:
  explicit KBeatMap(KStaffLine& staff) {
    const int lead = staff.GetLeadInWidth(0) + staff.GetIndent();
    int eighth = 0;
    std::size_t note = 0;
    CObList* columns = staff.GetObjList();
    for (POSITION node = columns->GetHeadPosition(); node != nullptr && note < std::size(kNotes);) {
      const auto* column = dynamic_cast<const KChord*>(columns->GetNext(node));
      if (column == nullptr || column->IsBarColumn() || column->IsSignatureColumn() ||
          column->CountNotes() == 0)
        continue;
      m_noteX.push_back(lead + column->GetPos() * g_NoteColumnWidth[0]);
      m_noteStart.push_back(eighth);
      eighth += kNotes[note++].eighths;
    }
    m_complete = note == std::size(kNotes);
  }

  bool Complete() const { return m_complete; }
  int NoteX(std::size_t note) const { return m_noteX[note]; }

  // The x at a time in eighths: a note's own x, or between two notes in
  // proportion to the time.
  int XAt(int eighth) const {
    std::size_t i = 0;
    while (i + 1 < m_noteStart.size() && m_noteStart[i + 1] <= eighth) ++i;
    if (m_noteStart[i] == eighth || i + 1 >= m_noteStart.size()) return m_noteX[i];
    const int span = m_noteStart[i + 1] - m_noteStart[i];
    return m_noteX[i] + (m_noteX[i + 1] - m_noteX[i]) * (eighth - m_noteStart[i]) / span;
  }

 private:
  std::vector<int> m_noteX;
  std::vector<int> m_noteStart;
  bool m_complete = false;
};

std::unique_ptr<KChordPicLine> MakeChordLine(const KBeatMap& beats) {
  auto line = std::make_unique<KChordPicLine>();
  line->ModifyFlags(KChordPicLine::kFlagShowDiagrams, 1);
  const int columnWidth = KListLine::kChordColumnWidth[0];
  for (int bar = 0; bar < kBars; ++bar) {
    const int x = beats.XAt(bar * kEighthsPerBar);
    line->GetObjList()->AddTail(new KChordPic(x / columnWidth, kChords[bar].name, kChords[bar].shape, 1));
  }
  line->UpdateDiagramRows();
  return line;
}

// A strum pattern a bar (down on the beat, down-up on the beats with
// eighths); two half-bar strums in the last bar.
std::unique_ptr<KRhythmLine> MakeStrumLine(const KBeatMap& beats) {
  auto line = std::make_unique<KRhythmLine>();
  CObList* items = line->GetObjList();
  auto add = [&](int eighth, int code, int link) {
    auto* item = new KRhythmObj(beats.XAt(eighth), code);
    item->SetLinkCode(link);
    items->AddTail(item);
  };
  for (int bar = 0; bar < kBars; ++bar) {
    const int start = bar * kEighthsPerBar;
    if (bar == kBars - 1) {
      add(start, kStrumHalf, 0);
      add(start + 4, kStrumHalf, 0);
      continue;
    }
    add(start, kStrumQuarter, 0);
    add(start + 2, kStrumEighth, 1);
    add(start + 3, kStrumEighth, -1);
    add(start + 4, kStrumQuarter, 0);
    add(start + 6, kStrumEighth, 1);
    add(start + 7, kStrumEighth, -1);
  }
  line->SetColumnWidth(-1);
  return line;
}

// The syllables under their notes: blanks before each one bring it as near
// its note's x as the default text font allows.
CString LyricsText(const KBeatMap& beats) {
  const LOGFONT font = LyricsFont();
  const int blank = std::max(1, TextWidth(font, " "));
  std::string text;
  for (std::size_t i = 0; i < std::size(kNotes); ++i) {
    const int width = TextWidth(font, text);
    int wanted = beats.NoteX(i) - width;
    if (!text.empty()) wanted = std::max(wanted, blank);
    text.append(static_cast<std::size_t>(std::max(0, (wanted + blank / 2) / blank)), ' ');
    text += kNotes[i].syllable;
  }
  return CString(text.c_str());
}

}  // namespace

bool BuildWelcomeScore(CStavlinDoc& doc) {
  ResetAbcReaderState();
  std::unique_ptr<KLineObj> title = ReadAbcLine(kTitle, 0);
  for (const char* field : kHeader) ReadAbcLine(field, 0);
  std::unique_ptr<KLineObj> music = ReadAbcLine(kMusic, 0);
  auto* staff = dynamic_cast<KStaffLine*>(music.get());
  if (title == nullptr || staff == nullptr) return false;
  SpreadColumns(*staff);
  BeamEighths(*staff, false);
  const KBeatMap beats(*staff);
  if (!beats.Complete()) return false;
  std::unique_ptr<KTabLine> tab = staff->ConvertToTab(0, kGuitar, 0);
  if (tab == nullptr) return false;
  BeamEighths(*tab, true);

  doc.AddTailLine(title.release());
  const int key = staff->GetKey();
  std::unique_ptr<KChordPicLine> chords = MakeChordLine(beats);
  std::unique_ptr<KRhythmLine> strums = MakeStrumLine(beats);
  auto lyrics = std::make_unique<KStrLine>(LyricsText(beats), 0);
  std::array<KLineObj*, 5> grouped = {chords.release(), music.release(), tab.release(), strums.release(),
                                      lyrics.release()};
  std::vector<POSITION> positions;
  std::vector<int> types;
  for (KLineObj* line : grouped) {
    positions.push_back(doc.AddTailLine(line));
    types.push_back(line->GetType());
  }
  auto* group = new KLineGroup(0, positions, types, key);
  // The staff and the tablature below it translate into each other.
  group->SetSlotBracket(1, 1);
  group->SetSlotBracket(2, 1);
  doc.AddLineGroup(group);
  for (KLineObj* line : grouped) line->SetGroup(0, group);

  for (const char* help : kHelpLines) doc.AddTailLine(new KStrLine(help, 0));
  doc.CheckLineGroups();
  return true;
}
