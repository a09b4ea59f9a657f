#pragma once
// The repertoire the ABC tests play: the example tune books Debian ships with
// abcmidi and abcm2ps, split into tunes at their X: lines and named after the
// file and the title. Also the words a musician would use for where two
// playings of a tune first part: bar, beat, note name and note value.

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <ostream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "support/CaseName.h"
#include "support/MidiCsvTable.h"

namespace abccorpus {

namespace fs = std::filesystem;

inline const char* const kCorpusFolders[] = {"/usr/share/doc/abcmidi/examples", "/usr/share/doc/abcm2ps/examples"};

struct Tune {
  std::string name;    // Abcm2psSample_3_TheTitleWords: letters, digits and "_" only
  fs::path file;       // the tune book it comes from
  std::string number;  // its X: number as written ("" when the X: line has none)
  std::string title;   // its first T: field
  std::string header;  // the book's fields before its first tune, which every tune of it shares
  std::string text;    // the tune, from its X: line to the blank line (or X: line) that ends it
};

inline void PrintTo(const Tune& tune, std::ostream* out) { *out << tune.name; }

inline std::string Trim(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// The text before a "%" that starts a comment ("\\%" is a percent sign).
inline std::string WithoutComment(const std::string& text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && (i == 0 || text[i - 1] != '\\')) return Trim(text.substr(0, i));
  }
  return Trim(text);
}

inline bool IsField(const std::string& line) {
  return line.size() >= 2 && std::isalpha(static_cast<unsigned char>(line[0])) != 0 && line[1] == ':';
}

// The tunes of one book, in the order written. A tune runs from its X: line
// to the first blank line after it; the fields written before the first tune
// (outside PostScript, SVG and text blocks) are the book's header.
inline std::vector<Tune> SplitBook(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::vector<Tune> tunes;
  std::string header;
  bool inBlock = false;
  bool inTune = false;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind("X:", 0) == 0) {
      Tune tune;
      tune.file = file;
      tune.number = Trim(line.substr(2));
      tune.number = tune.number.substr(0, tune.number.find_first_not_of("0123456789"));
      tune.header = header;
      tunes.push_back(tune);
      inTune = true;
    } else if (inTune && Trim(line).empty()) {
      inTune = false;
      continue;
    }
    if (inTune) {
      tunes.back().text += line + "\n";
      if (tunes.back().title.empty() && line.rfind("T:", 0) == 0) tunes.back().title = WithoutComment(line.substr(2));
      continue;
    }
    if (line.rfind("%%begin", 0) == 0) inBlock = true;
    if (line.rfind("%%end", 0) == 0) inBlock = false;
    if (tunes.empty() && !inBlock && IsField(line)) header += line + "\n";
  }
  return tunes;
}

// Every tune of the books found, named File_X_Title (a name used twice gets
// a running suffix).
inline std::vector<Tune> CorpusTunes() {
  std::vector<fs::path> books;
  for (const char* folder : kCorpusFolders) {
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
      if (entry.path().extension() == ".abc") books.push_back(entry.path());
    }
  }
  std::sort(books.begin(), books.end());
  std::vector<Tune> tunes;
  std::set<std::string> names;
  for (const fs::path& book : books) {
    // The package the book comes with, then the book: AbcmidiDemo, Abcm2psSample.
    const std::string stem =
        viewtest::CaseName(book.parent_path().parent_path().filename().string() + " " + book.stem().string());
    for (Tune& tune : SplitBook(book)) {
      std::string title = viewtest::CaseName(tune.title);
      if (title.empty()) title = "Untitled";
      std::string name = stem + "_" + (tune.number.empty() ? "0" : tune.number) + "_" + title;
      for (int n = 2; names.count(name) != 0; ++n) name = stem + "_" + tune.number + "_" + title + "_" + std::to_string(n);
      names.insert(name);
      tune.name = name;
      tunes.push_back(tune);
    }
  }
  return tunes;
}

// The tune with the book's header, as a file of its own holds it.
inline std::string StandAlone(const Tune& tune) { return tune.header + tune.text; }

// The lines of the text without those the test keeps from the outside
// player: each kept when keep(line) says so.
template <typename Keep>
std::string KeepLines(const std::string& text, Keep keep) {
  std::istringstream in(text);
  std::string out;
  for (std::string line; std::getline(in, line);) {
    if (keep(line)) out += line + "\n";
  }
  return out;
}

// The meter the tune starts in, as (beats, beat value); (0, 0) for none.
inline std::pair<int, int> Meter(const std::string& text) {
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("K:", 0) == 0) break;
    if (line.rfind("M:", 0) != 0) continue;
    const std::string value = Trim(line.substr(2));
    if (value == "C") return {4, 4};
    if (value == "C|") return {2, 2};
    const std::size_t slash = value.find('/');
    if (slash == std::string::npos) return {0, 0};
    return {std::atoi(value.c_str()), std::atoi(value.c_str() + slash + 1)};
  }
  return {4, 4};
}

inline std::string PitchName(int key) {
  static const char* const kNames[12] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};
  return std::string(kNames[((key % 12) + 12) % 12]) + std::to_string(key / 12 - 1);
}

// A length in ticks of 480 to the quarter, as a note value.
inline std::string NoteValue(long ticks) {
  static const std::map<long, const char*> kValues = {
      {1920, "whole"},          {1440, "dotted half"},   {960, "half"},          {720, "dotted quarter"},
      {480, "quarter"},         {360, "dotted eighth"},  {320, "triplet quarter"}, {240, "eighth"},
      {180, "dotted sixteenth"}, {160, "triplet eighth"}, {120, "sixteenth"},     {80, "triplet sixteenth"},
      {60, "32nd"},             {2880, "dotted whole"},  {3840, "double whole"}};
  for (const auto& [value, name] : kValues) {
    if (std::labs(ticks - value) <= 10) return name;
  }
  return std::to_string(ticks) + "/480 of a quarter";
}

// Where a tick falls, counted in bars of the tune's first meter from the first
// note played (repeats counted as played): "bar 5 beat 2".
inline std::string Where(long tick, std::pair<int, int> meter) {
  // Players start a note a tick late or early; a beat is named as written.
  tick = (tick + 5) / 10 * 10;
  if (meter.first <= 0 || meter.second <= 0) return "quarter " + std::to_string(tick / 480 + 1);
  const long bar = 1920L * meter.first / meter.second;
  // Compound meters count dotted quarters.
  const bool compound = meter.second == 8 && meter.first % 3 == 0 && meter.first > 3;
  const long beat = compound ? 720 : 1920 / meter.second;
  std::string where = "bar " + std::to_string(tick / bar + 1) + " beat " + std::to_string(tick % bar / beat + 1);
  if (tick % bar % beat != 0) where += "+" + std::to_string(tick % bar % beat) + "/480";
  return where;
}

// abc2midi strums a chord: each note after the lowest starts 10 ticks after
// the one before it, and all end together. The notes of such a chord get the
// onset of its first note again, so that a chord compares as written.
inline std::vector<midicsv::PlayedNote> Unstrummed(std::vector<midicsv::PlayedNote> notes) {
  std::stable_sort(notes.begin(), notes.end(),
                   [](const midicsv::PlayedNote& a, const midicsv::PlayedNote& b) { return a.onset < b.onset; });
  std::vector<long> rawOnsets;
  std::vector<long> ends;
  for (const midicsv::PlayedNote& note : notes) {
    rawOnsets.push_back(note.onset);
    ends.push_back(note.onset + note.length);
  }
  // A chord that holds one key twice (G# and Ab) sounds it again at the
  // second: the first is cut after a strum step. It belongs to the chord,
  // and is heard for no time, as the program plays it.
  std::vector<bool> cut(notes.size(), false);
  for (std::size_t i = 0; i < notes.size(); ++i) {
    for (std::size_t k = i + 1; k < notes.size() && rawOnsets[k] <= ends[i] + 1; ++k) {
      if (notes[i].length <= 11 && notes[k].pitch == notes[i].pitch && notes[k].channel == notes[i].channel &&
          std::labs(rawOnsets[k] - ends[i]) <= 1) {
        cut[i] = true;
        ends[i] = ends[k];
      }
    }
  }
  for (std::size_t i = 0; i < notes.size(); ++i) {
    for (std::size_t j = i; j-- > 0 && rawOnsets[i] - rawOnsets[j] <= 11;) {
      const long step = rawOnsets[i] - rawOnsets[j];
      if (step < 9 || notes[j].channel != notes[i].channel || std::labs(ends[j] - ends[i]) > 1) continue;
      notes[i].onset = notes[j].onset;
      notes[i].length = ends[i] - notes[j].onset;
      break;
    }
  }
  for (std::size_t i = 0; i < notes.size(); ++i) {
    if (cut[i]) notes[i].length = 0;
  }
  std::sort(notes.begin(), notes.end(), [](const midicsv::PlayedNote& a, const midicsv::PlayedNote& b) {
    return std::tie(a.onset, a.pitch) < std::tie(b.onset, b.pitch);
  });
  return notes;
}

inline std::string Describe(const midicsv::PlayedNote& note) {
  return PitchName(note.pitch) + " " + NoteValue(note.length);
}

// Where the program's notes first part from the expected ones, in words;
// empty when they agree within tolerance ticks.
inline std::string FirstDifference(const std::vector<midicsv::PlayedNote>& got,
                                   const std::vector<midicsv::PlayedNote>& expected, long tolerance,
                                   std::pair<int, int> meter) {
  const std::size_t common = std::min(got.size(), expected.size());
  for (std::size_t i = 0; i < common; ++i) {
    const midicsv::PlayedNote& e = expected[i];
    const midicsv::PlayedNote& g = got[i];
    if (e.pitch == g.pitch && std::labs(e.onset - g.onset) <= tolerance && std::labs(e.length - g.length) <= tolerance)
      continue;
    std::string text = "note " + std::to_string(i + 1) + ", " + Where(e.onset, meter) + ": expected " + Describe(e);
    text += ", got " + Describe(g);
    if (std::labs(e.onset - g.onset) > tolerance) text += " at " + Where(g.onset, meter);
    return text;
  }
  if (got.size() == expected.size()) return {};
  if (got.size() < expected.size()) {
    return "the program stops after " + std::to_string(got.size()) + " of " + std::to_string(expected.size()) +
           " notes; next expected " + Describe(expected[common]) + " at " + Where(expected[common].onset, meter);
  }
  return "the program plays " + std::to_string(got.size() - expected.size()) + " notes more than the " +
         std::to_string(expected.size()) + " expected, from " + Describe(got[common]) + " at " +
         Where(got[common].onset, meter);
}

// The notes around the i-th, as Show lists them, for a failure message.
inline std::string Around(const std::vector<midicsv::PlayedNote>& notes, std::size_t i) {
  const std::size_t first = i > 4 ? i - 4 : 0;
  const std::size_t last = std::min(notes.size(), i + 5);
  return midicsv::Show(std::vector<midicsv::PlayedNote>(notes.begin() + static_cast<long>(std::min(first, last)),
                                                         notes.begin() + static_cast<long>(last)));
}

// Index of the first note where the two part (the shorter length when one
// is the start of the other).
inline std::size_t FirstDifferentIndex(const std::vector<midicsv::PlayedNote>& got,
                                       const std::vector<midicsv::PlayedNote>& expected, long tolerance) {
  const std::size_t common = std::min(got.size(), expected.size());
  for (std::size_t i = 0; i < common; ++i) {
    const midicsv::PlayedNote& e = expected[i];
    const midicsv::PlayedNote& g = got[i];
    if (e.pitch != g.pitch || std::labs(e.onset - g.onset) > tolerance || std::labs(e.length - g.length) > tolerance)
      return i;
  }
  return common;
}

}  // namespace abccorpus

namespace abccorpus {

// A line of music (not a field, comment or directive).
inline bool IsMusicLine(const std::string& line) {
  const std::string text = Trim(line);
  return !text.empty() && text[0] != '%' && !IsField(text);
}

// The text with each music line passed through edit.
template <typename Edit>
std::string EditMusic(const std::string& text, Edit edit) {
  std::istringstream in(text);
  std::string out;
  for (std::string line; std::getline(in, line);) out += (IsMusicLine(line) ? edit(line) : line) + "\n";
  return out;
}

// The music without the decorations abc2midi performs by a rule of its own:
// ornaments it plays as extra notes (trill, mordents, turns, roll), notes it
// shortens (breath) or lengthens (fermata), and chords it spreads
// (arpeggio). Staccato stays: the program shortens it as abc2midi does.
// Quoted texts and inline fields are kept as written.
inline std::string WithoutPerformedDecorations(const std::string& text) {
  static const std::set<std::string> kPerformed = {
      "trill",       "trill(",      "trill)",       "lowermordent", "uppermordent", "mordent",
      "pralltriller", "roll",        "turn",         "turnx",        "invertedturn", "invertedturnx",
      "arpeggio",    "breath",      "fermata",      "invertedfermata", "tr"};
  return EditMusic(text, [](const std::string& line) {
    std::string out;
    for (std::size_t i = 0; i < line.size(); ++i) {
      const char c = line[i];
      if (c == '"' || c == '[') {
        // A quoted text or an inline field ("[K:G]") is copied whole; a
        // chord bracket is not a field.
        const bool field = c == '[' && i + 2 < line.size() && std::isalpha(static_cast<unsigned char>(line[i + 1])) != 0 &&
                           line[i + 2] == ':';
        if (c == '"' || field) {
          const std::size_t end = line.find(c == '"' ? '"' : ']', i + 1);
          const std::size_t stop = end == std::string::npos ? line.size() : end + 1;
          out += line.substr(i, stop - i);
          i = stop - 1;
          continue;
        }
      }
      if (c == '!' || c == '+') {
        const std::size_t end = line.find(c, i + 1);
        if (end != std::string::npos) {
          const std::string name = line.substr(i + 1, end - i - 1);
          if (kPerformed.count(name) == 0) out += line.substr(i, end - i + 1);
          i = end;
          continue;
        }
      }
      if (c == '~' || c == 'R' || c == 'T' || c == 'H' || c == 'M' || c == 'P') continue;
      out += c;
    }
    return out;
  });
}

// The music with each microtonal accidental ("_/e", "^3/4c", "_22/100E")
// made the plain flat or sharp it is nearest in name.
inline std::string MicrotonesAsSemitones(const std::string& text) {
  return EditMusic(text, [](const std::string& line) {
    static const std::regex kMicrotone("([_^]+)[0-9]*/[0-9]*(?=[A-Ga-g])");
    return std::regex_replace(line, kMicrotone, "$1");
  });
}

// The music with every tuplet written by its first number alone: "(3:2:4"
// becomes "(3".
inline std::string TupletsByFirstNumber(const std::string& text) {
  return EditMusic(text, [](const std::string& line) {
    static const std::regex kTuplet("\\(([1-9]):[0-9:]*");
    return std::regex_replace(line, kTuplet, "($1");
  });
}

// The tune with a typesetter's arc direction marks taken off its slurs
// ("('F" and "(,F" become "(F").
inline std::string WithoutArcDirectionMarks(const std::string& text) {
  return EditMusic(text, [](const std::string& line) {
    static const std::regex kMarked("\\([',]");
    return std::regex_replace(line, kMarked, "(");
  });
}

// The tune without the playing order of its header (a P: field before K:):
// its parts play once, in the order written.
inline std::string WithoutPlayingOrder(const std::string& text) {
  std::istringstream in(text);
  std::string out;
  bool body = false;
  for (std::string line; std::getline(in, line);) {
    if (!body && line.rfind("P:", 0) == 0) continue;
    if (line.rfind("K:", 0) == 0) body = true;
    out += line + "\n";
  }
  return out;
}

// The tune with a blank between a key's tonic and the accidentals written
// after it ("K:C^f^c" becomes "K:C ^f^c").
inline std::string KeyAccidentalsSetApart(const std::string& text) {
  std::istringstream in(text);
  std::string out;
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("K:", 0) == 0) {
      static const std::regex kGlued("^(K:\\s*[A-G][#b]?[A-Za-z]*)([_^=])");
      line = std::regex_replace(line, kGlued, "$1 $2");
    }
    out += line + "\n";
  }
  return out;
}

// The notes that sound for some time: a note held for no time is not heard
// (abc2midi cuts a unison of a chord so, and the program may write one).
inline std::vector<midicsv::PlayedNote> Heard(std::vector<midicsv::PlayedNote> notes) {
  std::erase_if(notes, [](const midicsv::PlayedNote& note) { return note.length <= 0; });
  return notes;
}

// The notes with each pitch taken to its pitch class (every octave alike),
// in order again; notes of one chord that become the same are one.
inline std::vector<midicsv::PlayedNote> PitchClasses(std::vector<midicsv::PlayedNote> notes) {
  for (midicsv::PlayedNote& note : notes) note.pitch = 60 + note.pitch % 12;
  std::sort(notes.begin(), notes.end(), [](const midicsv::PlayedNote& a, const midicsv::PlayedNote& b) {
    return std::tie(a.onset, a.pitch, a.length) < std::tie(b.onset, b.pitch, b.length);
  });
  notes.erase(std::unique(notes.begin(), notes.end(),
                          [](const midicsv::PlayedNote& a, const midicsv::PlayedNote& b) {
                            return a.onset == b.onset && a.pitch == b.pitch;
                          }),
              notes.end());
  return notes;
}

}  // namespace abccorpus
