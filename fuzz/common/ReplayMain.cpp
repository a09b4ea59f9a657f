// Runs a fuzz target's function over saved inputs, without libFuzzer: every
// argument is a file or a folder of files (read in name order). The normal
// test build runs each target this way over its seeds and its reproducers.

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "FuzzEnvironment.h"

namespace {

std::vector<std::uint8_t> ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::filesystem::path> inputs;
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path arg(argv[i]);
    std::error_code error;
    if (std::filesystem::is_directory(arg, error)) {
      for (const auto& entry : std::filesystem::directory_iterator(arg)) {
        if (entry.is_regular_file() && entry.path().filename().string().front() != '.')
          inputs.push_back(entry.path());
      }
    } else if (std::filesystem::is_regular_file(arg, error)) {
      inputs.push_back(arg);
    }
  }
  std::sort(inputs.begin(), inputs.end());
  for (const auto& path : inputs) {
    const std::vector<std::uint8_t> bytes = ReadAll(path);
    std::printf("%s (%zu bytes)\n", path.filename().string().c_str(), bytes.size());
    std::fflush(stdout);
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
  }
  std::printf("%zu inputs ran\n", inputs.size());
  // A target without inputs is a mistake in the build, not a pass.
  return inputs.empty() ? 1 : 0;
}
