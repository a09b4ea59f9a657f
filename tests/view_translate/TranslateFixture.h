#pragma once
// A score view for the translation and ABC commands: lines of text typed into
// the score, the commands run as the menu runs them, and the notes of the
// staves the commands make, as sounding pitches.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "chords/ChordNameSources.h"
#include "lines/KStaffLine.h"
#include "lines/KTabLine.h"
#include "lines/TranslationServices.h"
#include "support/ViewTestSupport.h"
#include "translate/AbcReaderState.h"
#include "translate/KTextDoc.h"
#include "view/commands/CommandHandlers.h"
#include "view/commands/CommandIds.h"

namespace viewtest {

inline constexpr UINT kToText = cmd::kTranslateFirst;
inline constexpr UINT kToTreble = cmd::kTranslateFirst + 1;
inline constexpr UINT kToTab = cmd::kTranslateFirst + 8;
inline constexpr int kWholeLines = 10;

// A chord-string library that knows the major and minor chords and the
// seventh of every root: enough for the chord names of folk tunes.
class TestChordLibrary : public KChordNameSources {
 public:
  TestChordLibrary() {
    for (int pitchClass = 0; pitchClass < 12; ++pitchClass) {
      int id = 12020 + 1000 * pitchClass;
      const std::vector<std::string> types = {"(major)", "m", "7"};
      for (size_t n = 0; n < types.size(); ++n) {
        std::string name = types[n];
        name.resize(17, ' ');
        std::string text = std::string(n + 1 < types.size() ? "1" : "0") + "A " + name + "x32010. ";
        strings_[id] = CString(std::string_view(text));
        id += 10;
      }
    }
    strings_[11835 + 'A'] = "spelling";
  }
  int LoadChordStringDll() override { return 1; }
  int LoadChordDllString(int id, CString& out) override {
    const auto it = strings_.find(id);
    if (it == strings_.end()) return 0;
    out = it->second;
    return out.GetLength();
  }
  int CountUserVariations(const CString&, const CString&, const CString&) override { return 0; }
  CString GetUserShape(const CString&, const CString&, const CString&, int) override { return {}; }

 private:
  std::map<int, CString> strings_;
};

class TranslateFixture : public ViewScoreFixture {
 protected:
  void SetUp() override {
    ViewScoreFixture::SetUp();
    ResetAbcReaderState();
    ResetTranslationServices();
    g_prefTranslation = KPrefTranslation{};
    g_prefTransAltTun = KPrefTransAltTun{};
    g_prefStaffLines = KPrefStaffLines{};
    SetChordNameSources(&library_);
  }
  void TearDown() override {
    ResetChordNameSources();
    ResetAbcReaderState();
    ResetTranslationServices();
    g_prefTranslation = KPrefTranslation{};
    g_prefTransAltTun = KPrefTransAltTun{};
    g_prefStaffLines = KPrefStaffLines{};
    ViewScoreFixture::TearDown();
  }

  // One text line per line of the text.
  void AddTextBlock(std::string_view text) {
    size_t start = 0;
    while (start <= text.size()) {
      const size_t end = text.find('\n', start);
      const std::string row(
          text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
      AddText(row.c_str());
      if (end == std::string_view::npos) break;
      start = end + 1;
    }
  }

  // File | Import | ABC File: the file's text handed to the new score as ABC.
  void ImportAbc(const std::filesystem::path& file) {
    KTextDoc document;
    CString message;
    ASSERT_TRUE(document.Load(file.string(), message)) << message.View();
    const KTextDoc::KHandOver handOver = document.DecideHandOver(false, true, false, false, false);
    ASSERT_TRUE(handOver.toScore && handOver.abc);
    view->ReceiveHandedOverText(document.TextForScore(), handOver.abc, handOver.tablature);
  }
  void SelectLines(int first, int last) { view->UpdateSelection(0, 32000, first, last, kWholeLines); }

  // Runs the command as the menu does; false when no handler ran it.
  bool Run(UINT id) { return ExecuteViewCommand(*view, id); }

  // The sounding notes of a staff, tablature or any note line as
  // "name:ticks" (the staff's pitch of each note row; tablature frets under
  // the tuning); signature and bar columns are left out.
  static std::string Pitches(const KLineObj* line) {
    static const char* const kNames[12] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};
    std::string out;
    const KListLine* list = line != nullptr ? line->AsListLine() : nullptr;
    if (list == nullptr) return out;
    const auto* staff = dynamic_cast<const KStaffLine*>(line);
    const auto* tab = dynamic_cast<const KTabLine*>(line);
    for (POSITION node = list->GetObjList()->GetHeadPosition(); node != nullptr;) {
      const KChord* column = AsChord(list->GetObjList()->GetNext(node));
      if (column == nullptr || column->IsBarColumn() || column->IsSignatureColumn()) continue;
      std::vector<int> midi;
      for (int i = 0; i < column->GetNoteCount(); ++i) {
        const NotePair note = column->GetNote(i);
        if (staff != nullptr && (note.code <= 13 || (note.code >= 108 && note.code <= 111))) {
          midi.push_back(staff->GetPitchAtRow(note.position, column->GetPos()) + 20);
        } else if (tab != nullptr && note.code >= KChord::kFirstFret && note.code <= KChord::kLastFret) {
          midi.push_back(tab->GetPitchAt(note.position, note.code) + 20);
        }
      }
      if (midi.empty()) continue;
      std::sort(midi.begin(), midi.end());
      if (!out.empty()) out += ' ';
      for (size_t i = 0; i < midi.size(); ++i) {
        if (i > 0) out += '+';
        out += std::string(kNames[midi[i] % 12]) + std::to_string(midi[i] / 12 - 1);
      }
    }
    return out;
  }

  // The display lines' kinds in order ("5 0 2 ...").
  std::string Types() const {
    std::string out;
    for (int i = 0; i < view->GetDisplayLineCount(); ++i) {
      if (i > 0) out += ' ';
      out += std::to_string(Entry(i).type);
    }
    return out;
  }

 private:
  TestChordLibrary library_;
};

}  // namespace viewtest
