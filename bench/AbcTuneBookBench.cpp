// Importing a tune book as File/Import/ABC File does it, side by side with
// abcm2ps typesetting the same book. The book is made from the example tunes
// the abcmidi and abcm2ps packages install (each tune from its X: line to the
// blank line that ends it), repeated and renumbered until it holds the tunes
// asked for; a book of twice as many tunes is made the same way. For each
// book: abcm2ps writing it to a PostScript file in a temporary folder, then
// Stavlin reading the file as a text document and handing it to a new score
// window (offscreen, 1000 x 800) that reads it as ABC, lays it out and
// updates its view. Each import runs in a fresh process of its own.
//   Targets: the import of the book takes no longer than abcm2ps, and the
//   book of twice the tunes takes no more than 2.2 times as long.
// Usage: bench_abc_tune_book [tunes] (500 when not given). The examples'
// folders can be given in STAVLIN_ABC_EXAMPLES (separated by ':').
// bench_abc_tune_book --dump tunes file writes what the import of a book of
// that many tunes made (every line, its columns and notes, and the display
// table) to the file, to compare the score before and after a change.

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "app/CChildFrame.h"
#include "doc/CStavlinDoc.h"
#include "lines/KStrLine.h"
#include "model/KChord.h"
#include "model/KListLine.h"
#include "translate/KTextDoc.h"
#include "view/CStavlinView.h"
#include "view/qt/KViewWidget.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kDefaultTunes = 500;
constexpr double kMostDoubledRatio = 2.2;

// The text of a file; a gzipped one (".gz") is read through gzip.
std::string ReadExample(const std::filesystem::path& path) {
  std::string text;
  if (path.extension() == ".gz") {
    const std::string command = "gzip -dc '" + path.string() + "'";
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
      char buffer[4096];
      std::size_t got = 0;
      while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) text.append(buffer, got);
      ::pclose(pipe);
    }
    return text;
  }
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

// The tunes of the example files: each from its "X:" line up to (not
// taking) the blank line or the next "X:" line after it, without its X: line.
std::vector<std::string> ExampleTunes() {
  std::vector<std::string> folders;
  if (const char* given = std::getenv("STAVLIN_ABC_EXAMPLES")) {
    std::stringstream list(given);
    for (std::string folder; std::getline(list, folder, ':');) folders.push_back(folder);
  } else {
    folders = {"/usr/share/doc/abcmidi/examples", "/usr/share/doc/abcm2ps/examples"};
  }
  std::vector<std::filesystem::path> files;
  for (const std::string& folder : folders) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
      const std::string name = entry.path().filename().string();
      if (name.ends_with(".abc") || name.ends_with(".abc.gz")) files.push_back(entry.path());
    }
  }
  std::sort(files.begin(), files.end());
  std::vector<std::string> tunes;
  for (const auto& file : files) {
    std::stringstream text(ReadExample(file));
    std::string body;
    bool inTune = false;
    auto close = [&] {
      if (inTune && !body.empty()) tunes.push_back(body);
      body.clear();
      inTune = false;
    };
    for (std::string line; std::getline(text, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (line.starts_with("X:")) {
        close();
        inTune = true;
        continue;
      }
      if (line.find_first_not_of(" \t") == std::string::npos) {
        close();
        continue;
      }
      if (inTune) body += line + "\n";
    }
    close();
  }
  return tunes;
}

// A book of the given number of tunes: the examples over and over, numbered
// from 1, a blank line after each.
std::string Book(const std::vector<std::string>& tunes, int count) {
  std::string book;
  for (int i = 0; i < count; ++i) {
    book += "X:" + std::to_string(i + 1) + "\n";
    book += tunes[static_cast<std::size_t>(i) % tunes.size()];
    book += "\n";
  }
  return book;
}

// Runs the command line (a program and its arguments) with its output
// thrown away; its time in seconds, or a negative time when it could not run.
double TimeProgram(std::vector<std::string> arguments) {
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  std::fflush(stdout);
  const Clock::time_point start = Clock::now();
  const pid_t child = ::fork();
  if (child == 0) {
    if (std::freopen("/dev/null", "w", stdout) == nullptr || std::freopen("/dev/null", "w", stderr) == nullptr)
      std::_Exit(126);
    ::execvp(argv[0], argv.data());
    std::_Exit(127);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  const double seconds = SecondsSince(start);
  return WIFEXITED(status) && WEXITSTATUS(status) < 126 ? seconds : -1;
}

// One import of the book at the path, in this process: prints its time and
// what it made on one line ("seconds lines"), for the parent to read.
int ImportOnce(const std::string& path) {
  KBenchShell::Get();
  const Clock::time_point start = Clock::now();
  KTextDoc text;
  CString message;
  if (!text.Load(path, message)) return 2;
  std::unique_ptr<CChildFrame> child = NewScoreWindow(1000, 800);
  KViewWidget* pane = child->ActivePane();
  if (pane == nullptr) return 2;
  pane->View().ReceiveHandedOverText(text.TextForScore(), true, false);
  const double seconds = SecondsSince(start);
  std::printf("%.4f %d\n", seconds, pane->View().GetDisplayLineCount());
  return 0;
}

// Everything the import made, as text: each line of the score with its
// columns and notes, then the display table.
int DumpImport(const std::vector<std::string>& tunes, int count, const std::string& out) {
  KBenchShell::Get();
  KBenchFolder folder;
  const std::string path = folder.Path("book.abc");
  std::ofstream(path, std::ios::binary) << Book(tunes, count);
  KTextDoc text;
  CString message;
  if (!text.Load(path, message)) return 2;
  std::unique_ptr<CChildFrame> child = NewScoreWindow(1000, 800);
  KViewWidget* pane = child->ActivePane();
  if (pane == nullptr) return 2;
  CStavlinView& view = pane->View();
  view.ReceiveHandedOverText(text.TextForScore(), true, false);
  std::ofstream dump(out);
  CStavlinDoc& doc = child->Document();
  for (POSITION pos = doc.GetFirstLinePosition(); pos != nullptr;) {
    KLineObj* line = doc.GetNextLine(pos);
    if (line == nullptr) continue;
    dump << "line " << line->GetType() << ' ' << line->GetGroupId() << ' ' << line->GetStaffLength() << ' '
         << line->GetLength() << ' ' << line->TestFlags(0xffffffffu);
    if (auto* words = dynamic_cast<KStrLine*>(line)) dump << " \"" << words->GetText().View() << '"';
    dump << '\n';
    KListLine* list = line->AsListLine();
    if (list == nullptr) continue;
    for (POSITION node = list->GetObjList()->GetHeadPosition(); node != nullptr;) {
      const auto* object = static_cast<const KPosObj*>(list->GetObjList()->GetNext(node));
      dump << "  " << object->GetPos();
      if (const KChord* chord = AsChord(object)) {
        dump << " stems " << chord->GetVoiceStem(0) << ' ' << chord->GetVoiceStem(1);
        for (int i = 0; i < chord->GetNoteCount(); ++i)
          dump << ' ' << chord->GetNote(i).position << ':' << chord->GetNote(i).code;
      }
      dump << '\n';
    }
  }
  for (int d = 0; d < view.GetDisplayLineCount(); ++d) {
    const DisplayLine& entry = view.GetDisplayEntry(d);
    dump << "shown " << entry.type << ' ' << entry.top << ' ' << entry.bottom << ' ' << entry.extra[0] << ' '
         << entry.extra[1] << '\n';
  }
  return dump ? 0 : 2;
}

struct KImport {
  double seconds = -1;
  int lines = 0;
};

// The import of the book in a fresh process.
KImport ImportInChild(const char* self, const std::string& path) {
  int fds[2];
  if (::pipe(fds) != 0) return {};
  std::fflush(stdout);
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(fds[0]);
    ::dup2(fds[1], STDOUT_FILENO);
    ::execl("/proc/self/exe", self, "--import", path.c_str(), static_cast<char*>(nullptr));
    std::_Exit(3);
  }
  ::close(fds[1]);
  std::string out;
  char buffer[256];
  for (ssize_t got; (got = ::read(fds[0], buffer, sizeof buffer)) > 0;) out.append(buffer, static_cast<size_t>(got));
  ::close(fds[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  KImport result;
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return result;
  // The last line the import printed holds its figures.
  std::istringstream lines(out);
  for (std::string line; std::getline(lines, line);) std::istringstream(line) >> result.seconds >> result.lines;
  return result;
}

struct KBookRun {
  int tunes = 0;
  int bars = 0;
  double peer = -1;
  KImport import;
};

KBookRun RunBook(const char* self, const KBenchFolder& folder, const std::vector<std::string>& tunes, int count) {
  KBookRun run;
  run.tunes = count;
  const std::string book = Book(tunes, count);
  run.bars = static_cast<int>(std::count(book.begin(), book.end(), '|'));
  const std::string path = folder.Path(("book" + std::to_string(count) + ".abc").c_str());
  std::ofstream(path, std::ios::binary) << book;
  run.peer = TimeProgram({"abcm2ps", "-q", "-O", folder.Path("book.ps"), path});
  run.import = ImportInChild(self, path);
  std::printf("%5d tunes (%zu KB, %d bar lines): abcm2ps %.2f s, Stavlin import %.2f s (%d display lines), "
              "ratio %.2f\n",
              count, book.size() / 1024, run.bars, run.peer, run.import.seconds, run.import.lines,
              run.peer > 0 ? run.import.seconds / run.peer : 0.0);
  return run;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--import") return ImportOnce(argv[2]);
  const std::vector<std::string> tunes = ExampleTunes();
  if (tunes.empty()) {
    std::printf("no example tunes found\n");
    return 2;
  }
  if (argc == 4 && std::string(argv[1]) == "--dump") return DumpImport(tunes, std::max(1, std::atoi(argv[2])), argv[3]);
  const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : kDefaultTunes;
  KBenchFolder folder;
  if (!folder.Ok()) return 2;
  std::printf("%zu example tunes\n", tunes.size());
  const KBookRun single = RunBook(argv[0], folder, tunes, count);
  const KBookRun doubled = RunBook(argv[0], folder, tunes, count * 2);
  if (single.import.seconds < 0 || doubled.import.seconds < 0 || single.peer < 0) {
    std::printf("a run failed\n");
    return 2;
  }
  const double growth = doubled.import.seconds / single.import.seconds;
  const bool asFast = single.import.seconds <= single.peer;
  const bool linear = growth <= kMostDoubledRatio;
  std::printf("twice the book takes %.2fx as long (abcm2ps %.2fx)  [%s]\n", growth, doubled.peer / single.peer,
              asFast && linear ? "targets met" : "TARGET MISSED");
  return asFast && linear ? 0 : 1;
}
