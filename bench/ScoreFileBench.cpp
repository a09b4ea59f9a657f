// Saving and opening a large score through the real compound file: a score of
// 2,000 staff and tablature lines with 200 note columns each, in line groups
// of two. Reports the file size, and for opening the seconds per megabyte.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "LargeScore.h"
#include "doc/CStavlinDoc.h"
#include "platform/CompoundFile.h"
#include "platform/qt/GsfCompoundFile.h"

namespace {

// A folder of its own for the score file, removed at exit.
class KScoreFolder {
 public:
  KScoreFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "stavlin-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) != nullptr) m_dir = pattern;
  }
  ~KScoreFolder() {
    std::error_code ignored;
    if (!m_dir.empty()) std::filesystem::remove_all(m_dir, ignored);
  }
  KScoreFolder(const KScoreFolder&) = delete;
  KScoreFolder& operator=(const KScoreFolder&) = delete;
  std::string Path(const char* name) const { return (m_dir / name).string(); }

 private:
  std::filesystem::path m_dir;
};

const KScoreFolder& Folder() {
  static KScoreFolder folder;
  return folder;
}

// The generated score, made once.
CStavlinDoc& LargeDoc() {
  static CStavlinDoc* doc = [] {
    PrepareScoreClasses();
    SetCurrentCompoundFile(std::make_unique<KGsfCompoundFile>());
    auto* d = new CStavlinDoc;
    d->settings.makeBackups = 0;
    MakeLargeScore(*d);
    return d;
  }();
  return *doc;
}

// The saved score file, written once; its size in bytes.
long long SavedScore() {
  static const long long size = [] {
    CStavlinDoc& doc = LargeDoc();
    if (!doc.OnSaveDocument(Folder().Path("large.svd").c_str())) return 0LL;
    return static_cast<long long>(std::filesystem::file_size(Folder().Path("large.svd")));
  }();
  return size;
}

void SetFileCounters(benchmark::State& state, long long bytes) {
  const double megabytes = static_cast<double>(bytes) / 1e6;
  state.counters["file_MB"] = megabytes;
  state.counters["s_per_MB"] = benchmark::Counter(
      megabytes, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * bytes);
}

void BM_SaveScore(benchmark::State& state) {
  CStavlinDoc& doc = LargeDoc();
  const std::string path = Folder().Path("saved.svd");
  for (auto _ : state) {
    if (!doc.OnSaveDocument(path.c_str())) state.SkipWithError("the save failed");
  }
  SetFileCounters(state, static_cast<long long>(std::filesystem::file_size(path)));
  state.counters["lines"] = doc.GetLineCount();
}

void BM_OpenScore(benchmark::State& state) {
  const long long bytes = SavedScore();
  if (bytes == 0) {
    state.SkipWithError("the score could not be saved");
    return;
  }
  const std::string path = Folder().Path("large.svd");
  CStavlinDoc doc;
  for (auto _ : state) {
    if (!doc.OnOpenDocument(path.c_str())) state.SkipWithError("the open failed");
  }
  SetFileCounters(state, bytes);
  state.counters["lines"] = doc.GetLineCount();
  state.counters["groups"] = doc.GetLineGroupCount();
}

BENCHMARK(BM_SaveScore)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_OpenScore)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
