#pragma once
// A MIDI file as the outside tool midicsv reads it, made into golden text:
// one line per event that playback hears or the conductor sets, the
// conductor's (tempo, time signature, track names) first, then each channel's
// in file order:
//   "conductor <tick> tempo <us per quarter>"   "conductor <tick> time 3/2"
//   "track <n> name <name>"
//   "ch<channel 1..16> <tick> program <0..127>"
//   "ch1 <tick> on <key> <velocity>"   "ch1 <tick> off <key>"
//   "ch1 <tick> control <number> <value>"   "ch1 <tick> bend <value>"
// An empty result means midicsv could not read the file (its complaint is
// in the error text).

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace midicsv {

inline bool Installed() { return std::filesystem::exists("/usr/bin/midicsv"); }

inline std::string Run(const std::filesystem::path& file) {
  std::string out;
  const std::string command = "/usr/bin/midicsv '" + file.string() + "' 2>&1";
  if (FILE* pipe = ::popen(command.c_str(), "r")) {
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) out += buffer;
    ::pclose(pipe);
  }
  return out;
}

inline std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  std::stringstream in(line);
  std::string field;
  while (std::getline(in, field, ',')) {
    const std::size_t first = field.find_first_not_of(' ');
    const std::size_t last = field.find_last_not_of(" \r");
    fields.push_back(first == std::string::npos ? "" : field.substr(first, last - first + 1));
  }
  return fields;
}

// The golden text of the file; error gets midicsv's output when it failed.
inline std::string Table(const std::filesystem::path& file, std::string* error = nullptr) {
  const std::string csv = Run(file);
  if (csv.find("End_of_file") == std::string::npos) {
    if (error != nullptr) *error = csv;
    return {};
  }
  std::vector<std::string> conductor;
  std::map<int, std::vector<std::string>> channels;
  std::istringstream lines(csv);
  for (std::string line; std::getline(lines, line);) {
    const std::vector<std::string> f = Fields(line);
    if (f.size() < 3) continue;
    const std::string& track = f[0];
    const std::string& tick = f[1];
    const std::string& type = f[2];
    if (type == "Tempo") conductor.push_back("conductor " + tick + " tempo " + f[3]);
    if (type == "Time_signature") conductor.push_back("conductor " + tick + " time " + f[3] + "/" + f[4]);
    if (type == "Title_t") conductor.push_back("track " + track + " name " + f[3]);
    if (type.size() < 2 || type.substr(type.size() - 2) != "_c") continue;
    const int channel = std::stoi(f[3]) + 1;
    const std::string head = "ch" + std::to_string(channel) + " " + tick + " ";
    std::string text;
    if (type == "Note_on_c" && f[5] != "0") text = "on " + f[4] + " " + f[5];
    if (type == "Note_off_c" || (type == "Note_on_c" && f[5] == "0")) text = "off " + f[4];
    if (type == "Program_c") text = "program " + f[4];
    if (type == "Control_c") text = "control " + f[4] + " " + f[5];
    if (type == "Pitch_bend_c") text = "bend " + f[4];
    if (text.empty()) text = type;
    channels[channel].push_back(head + text);
  }
  std::string table;
  for (const std::string& line : conductor) table += line + "\n";
  for (const auto& [channel, events] : channels) {
    for (const std::string& line : events) table += line + "\n";
  }
  return table;
}

// The keys the notes of a Table() start, in the order they sound.
inline std::vector<int> KeysStarted(const std::string& table) {
  std::vector<int> keys;
  std::istringstream lines(table);
  for (std::string line; std::getline(lines, line);) {
    std::istringstream fields(line);
    std::string channel, tick, what;
    int key = 0;
    if (fields >> channel >> tick >> what >> key && what == "on") keys.push_back(key);
  }
  return keys;
}

// The settings of a MIDI file that are not notes, one a line in order of
// time (ticks of 480 to the quarter), whichever track holds them:
//   "<tick> tempo <us per quarter>"   "<tick> time 6/8"   "<tick> key -1 minor"
// (without the key's mode unless asked: "<tick> key -1").
inline std::string Settings(const std::string& csv, bool keyMode = true) {
  std::vector<std::pair<long, std::string>> settings;
  long division = 480;
  std::istringstream lines(csv);
  for (std::string line; std::getline(lines, line);) {
    const std::vector<std::string> f = Fields(line);
    if (f.size() >= 6 && f[2] == "Header") division = std::max(1L, std::stol(f[5]));
    if (f.size() < 4) continue;
    const long tick = std::stol(f[1]) * 480 / division;
    if (f[2] == "Tempo") settings.emplace_back(tick, "tempo " + f[3]);
    if (f[2] == "Time_signature" && f.size() >= 5)
      settings.emplace_back(tick,
                            "time " + f[3] + "/" + std::to_string(1 << std::clamp(std::stoi(f[4]), 0, 7)));
    if (f[2] == "Key_signature" && f.size() >= 5) settings.emplace_back(tick, "key " + f[3] + (keyMode ? " " + f[4] : std::string()));
  }
  std::sort(settings.begin(), settings.end());
  std::string out;
  for (const auto& [tick, text] : settings) out += std::to_string(tick) + " " + text + "\n";
  return out;
}

// One sounding note of a MIDI file: when it starts and how long it lasts (in
// ticks of 480 to the quarter), its key and channel.
struct PlayedNote {
  long onset = 0;
  long length = 0;
  int pitch = 0;
  int channel = 0;
};

// The notes of a MIDI file from midicsv's listing (Run), in order of onset
// and pitch.
inline std::vector<PlayedNote> PlayedNotes(const std::string& csv) {
  std::vector<PlayedNote> notes;
  std::map<std::pair<int, int>, std::vector<std::size_t>> open;  // (channel, key) -> sounding notes
  long division = 480;
  std::istringstream lines(csv);
  std::string line;
  while (std::getline(lines, line)) {
    const std::vector<std::string> fields = Fields(line);
    if (fields.size() >= 6 && fields[2] == "Header") division = std::max(1L, std::stol(fields[5]));
    if (fields.size() < 6 || (fields[2] != "Note_on_c" && fields[2] != "Note_off_c")) continue;
    const long time = std::stol(fields[1]) * 480 / division;
    const int channel = std::stoi(fields[3]);
    const int key = std::stoi(fields[4]);
    const bool on = fields[2] == "Note_on_c" && std::stoi(fields[5]) > 0;
    auto& sounding = open[{channel, key}];
    if (!sounding.empty()) {
      // A note ends at its note-off, or where the same key starts again.
      PlayedNote& note = notes[sounding.front()];
      note.length = time - note.onset;
      sounding.erase(sounding.begin());
    }
    if (on) {
      sounding.push_back(notes.size());
      notes.push_back({time, 0, key, channel});
    }
  }
  std::sort(notes.begin(), notes.end(), [](const PlayedNote& a, const PlayedNote& b) {
    return std::tie(a.onset, a.pitch) < std::tie(b.onset, b.pitch);
  });
  return notes;
}

// The notes as text, one "onset pitch length" a line, for a readable diff.
inline std::string Show(const std::vector<PlayedNote>& notes) {
  std::string out;
  for (const PlayedNote& n : notes) {
    out += std::to_string(n.onset) + " " + std::to_string(n.pitch) + " " + std::to_string(n.length) + " ch" +
           std::to_string(n.channel) + "\n";
  }
  return out;
}

// True when both play the same notes (whatever their channels), onsets and
// lengths within tolerance ticks.
inline bool SameNotes(const std::vector<PlayedNote>& a, const std::vector<PlayedNote>& b, long tolerance) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i].pitch != b[i].pitch || std::labs(a[i].onset - b[i].onset) > tolerance ||
        std::labs(a[i].length - b[i].length) > tolerance)
      return false;
  }
  return true;
}

}  // namespace midicsv
