#pragma once
// Helpers shared by test programs that touch the real file system: a fresh
// temporary folder per test, and running a piece of a test in a child process
// (to drop root rights or to die midway without taking the test down).

#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <system_error>

namespace stavlin_test {

// A new, empty folder under the system's temporary folder, named after tag;
// removed with everything in it when the object goes.
class TempFolder {
 public:
  explicit TempFolder(const std::string& tag) {
    std::string pattern = (std::filesystem::temp_directory_path() / ("stavlin-" + tag + "-XXXXXX")).string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a temporary folder");
    path_ = pattern;
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// Runs body in a child process; its result becomes the exit status. -1 when
// the child did not exit normally.
inline int RunInChild(const std::function<int()>& body) {
  std::fflush(nullptr);
  const pid_t pid = ::fork();
  if (pid == 0) ::_exit(body());
  int status = 0;
  if (pid < 0 || ::waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace stavlin_test
