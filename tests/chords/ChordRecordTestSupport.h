#pragma once
// Building chord dictionary records and files for the chord tests.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/CString.h"

namespace chordtest {

struct RecordFields {
  std::string tuning = "E A D G B E  323742475156";  // a tuning string
  std::string root = "C ";
  std::string type = "";
  std::string details = "";
  std::string hint = "";         // columns 85-92
  std::string head = "0032010";  // columns 94-100
  char seventh = ' ', eighth = ' ';
  std::string flags = " 0000";  // columns 105-109
  std::string groupA = "   ";   // columns 111-113
  std::string groupB = "   ";   // columns 114-116
  char highRow = '0';
  std::string groupC = "      ";  // columns 118-123
  char seventhFinger = ' ', eighthFinger = ' ';
};

inline void Put(std::string& record, int column, const std::string& text) {
  record.replace(static_cast<size_t>(column), text.size(), text);
}

// A whole 132-byte record with the '^' separators, '$', CR and LF.
inline std::string MakeRecord(const RecordFields& f) {
  std::string r(132, ' ');
  for (int column : {14, 29, 32, 53, 84, 93, 104, 110}) r[static_cast<size_t>(column)] = '^';
  Put(r, 0, f.tuning.substr(0, 13));
  Put(r, 15, f.tuning.size() > 13 ? f.tuning.substr(13, 14) : "");
  Put(r, 30, f.root);
  Put(r, 33, f.type.substr(0, 20));
  Put(r, 54, f.details.substr(0, 30));
  Put(r, 85, f.hint.substr(0, 8));
  Put(r, 94, f.head.substr(0, 7));
  r[101] = f.seventh;
  r[102] = f.eighth;
  Put(r, 105, f.flags.substr(0, 5));
  Put(r, 111, f.groupA.substr(0, 3));
  Put(r, 114, f.groupB.substr(0, 3));
  r[117] = f.highRow;
  Put(r, 118, f.groupC.substr(0, 6));
  r[124] = f.seventhFinger;
  r[125] = f.eighthFinger;
  r[129] = '$';
  r[130] = '\r';
  r[131] = '\n';
  return r;
}

inline std::string Record(const std::string& root, const std::string& type,
                          const std::string& head = "0032010",
                          const std::string& tuning = "E A D G B E  323742475156") {
  RecordFields f;
  f.root = root;
  f.type = type;
  f.head = head;
  f.tuning = tuning;
  return MakeRecord(f);
}

// A fresh folder for one test's chord file, removed at the end.
class TempFolder {
 public:
  TempFolder() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    m_path = std::filesystem::temp_directory_path() / ("stavlin-chords-" + std::to_string(::getpid()) + "-" +
                                                       info->test_suite_name() + "-" + info->name());
    std::filesystem::remove_all(m_path);
    std::filesystem::create_directories(m_path);
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
  }
  const std::filesystem::path& Path() const { return m_path; }

 private:
  std::filesystem::path m_path;
};

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

inline std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace chordtest
