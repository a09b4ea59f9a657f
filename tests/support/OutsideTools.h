#pragma once
// Running the outside programs that judge what the program writes (ABC
// players and engravers such as abc2midi and abcm2ps) as a user would, and
// reading back what they say.

#include <stdio.h>

#include <cstdlib>
#include <string>

namespace stavlin_test {

inline bool HaveTool(const char* name) {
  const std::string command = std::string("command -v ") + name + " >/dev/null 2>&1";
  return std::system(command.c_str()) == 0;
}

// Runs the command; its output and errors as one text, its exit status in status.
inline std::string RunTool(const std::string& command, int& status) {
  std::string output;
  FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
  if (pipe == nullptr) {
    status = -1;
    return output;
  }
  char buffer[4096];
  size_t read = 0;
  while ((read = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, read);
  status = ::pclose(pipe);
  return output;
}

}  // namespace stavlin_test
