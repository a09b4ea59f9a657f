#pragma once
// A test name from free text: letters and digits kept, anything else starts
// a new word ("a note typed into a group" -> "ANoteTypedIntoAGroup").

#include <cctype>
#include <string>

namespace viewtest {

inline std::string CaseName(const std::string& text) {
  std::string name;
  bool upper = true;
  for (char c : text) {
    if (std::isalnum(static_cast<unsigned char>(c)) != 0) {
      name += upper ? static_cast<char>(std::toupper(static_cast<unsigned char>(c))) : c;
      upper = false;
    } else {
      upper = true;
    }
  }
  return name;
}

}  // namespace viewtest
