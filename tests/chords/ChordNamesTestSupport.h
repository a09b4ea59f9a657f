#pragma once
// Shared pieces of the chord-name tests: a chord-string library and user
// dictionary held in memory, and a fixture with a chord-diagram line, the
// recording UI port and those sources installed.

#include <map>
#include <string>
#include <vector>

#include "chords/ChordNameSources.h"
#include "chords/ChordNames.h"
#include "chords/ChordNamesShift.h"
#include "lines/ChordLineTestSupport.h"

namespace chordnames {

// A type string: step digit, spelling selector, the name in 17 columns, then
// the 7-character shapes each followed by a separator.
inline CString TypeString(int step, const std::string& name, const std::vector<std::string>& shapes) {
  std::string text = std::to_string(step) + "x " + name;
  text.resize(20, ' ');
  for (const std::string& shape : shapes) text += shape + " ";
  return CString(text.c_str());
}

// A library shape that tells its block (pitch class) and variation apart.
inline std::string LibraryShape(int pitch, int n) {
  char text[8];
  std::snprintf(text, sizeof text, "0%02d999%d", pitch, n);
  return text;
}

// Every block: "(major)" with three variations, then "m7" with one; the chain
// ends there. User chords are kept per root code and quality.
class MemoryChordSources : public KChordNameSources {
 public:
  MemoryChordSources() {
    for (int p = 0; p < 12; ++p) {
      const int id = 12020 + 1000 * p;
      strings[id] = TypeString(1, "(major)", {LibraryShape(p, 1), LibraryShape(p, 2), LibraryShape(p, 3)});
      strings[id + 10] = TypeString(0, "m7", {LibraryShape(p, 7)});
    }
  }
  int LoadChordStringDll() override { return loaded ? 1 : 0; }
  int LoadChordDllString(int id, CString& out) override {
    const auto found = strings.find(id);
    if (found == strings.end()) return 0;
    out = found->second;
    return out.GetLength();
  }
  int CountUserVariations(const CString& tuning, const CString& root, const CString& quality) override {
    lastTuning = tuning;
    return static_cast<int>(user[(root + quality).Str()].size());
  }
  CString GetUserShape(const CString&, const CString& root, const CString& quality, int n) override {
    return CString(user[(root + quality).Str()].at(static_cast<size_t>(n - 1)).c_str());
  }

  bool loaded = true;
  std::map<int, CString> strings;
  std::map<std::string, std::vector<std::string>> user;
  CString lastTuning;
};

// The diagrams as "name@pos:shape#setting" separated by blanks.
inline std::string DumpFull(const KListLine& line) {
  std::string out;
  const CObList& list = *line.GetObjList();
  for (POSITION node = list.GetHeadPosition(); node != nullptr;) {
    const KChordPic* diagram = AsChordPic(list.GetNext(node));
    if (!out.empty()) out += ' ';
    out += diagram->GetName().Str() + '@' + std::to_string(diagram->GetPos()) + ':' +
           diagram->GetShape().Str() + '#' + std::to_string(diagram->GetSetting());
  }
  return out;
}

}  // namespace chordnames

class ChordNamesTest : public ChordLineTest {
 protected:
  ChordNamesTest() { SetChordNameSources(&sources); }
  ~ChordNamesTest() override { ResetChordNameSources(); }

  chordnames::MemoryChordSources sources;
};
