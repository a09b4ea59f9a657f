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

#include <cstdio>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
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

}  // namespace midicsv
