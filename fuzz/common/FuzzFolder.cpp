#include "FuzzFolder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <system_error>

const std::filesystem::path& StavlinFuzzFolder() {
  static const std::filesystem::path folder = [] {
    std::error_code error;
    const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", error)
                                           ? "/dev/shm"
                                           : std::filesystem::temp_directory_path();
    std::filesystem::path made = base / ("stavlin-fuzz-" + std::to_string(getpid()));
    std::filesystem::create_directories(made);
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(StavlinFuzzFolder(), ignored);
    });
    return made;
  }();
  return folder;
}

const std::filesystem::path& StavlinFuzzEmptyFolder(const std::filesystem::path& usual) {
  const std::filesystem::path& folder = StavlinFuzzFolder();
  // Most inputs leave only the usual file behind: removing it and the folder
  // and making the folder again is cheaper than listing it.
  if (!usual.empty()) ::unlink((folder / usual).c_str());
  if (::rmdir(folder.c_str()) == 0 && ::mkdir(folder.c_str(), 0700) == 0) return folder;
  std::error_code error;
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    std::error_code ignored;
    std::filesystem::remove_all(it->path(), ignored);
  }
  std::filesystem::create_directories(folder, error);
  return folder;
}
