// Plain-text tablature: the input's lines become the text lines of a score,
// all selected, and the reader turns what it finds into tablature lines. The
// text lines it leaves are input lines, unchanged and in their order: what
// is not read as tablature is neither lost out of order nor altered.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzEnvironment.h"
#include "lines/KStrLine.h"
#include "translate/ParseTextTab.h"
#include "translate/ParseTextTabView.h"

namespace {

// A score view over a list of lines, measuring text at a fixed width.
class LinesView : public KTextTabView {
 public:
  std::vector<std::unique_ptr<KLineObj>> lines;
  bool selected = false;
  int selectionLast = 0;

  int GetDisplayLineCount() const override { return static_cast<int>(lines.size()); }
  KLineObj* GetDisplayLine(int index) override {
    return index >= 0 && index < GetDisplayLineCount() ? lines[index].get() : nullptr;
  }
  bool GetSelectedLines(int& first, int& last) const override {
    if (!selected) return false;
    first = 0;
    last = selectionLast;
    return true;
  }
  int GetSymbolSizeIndex() const override { return 0; }
  int GetXOfColumn(KStrLine&, int position) override { return 34 + 18 * position; }
  void RecordUndoStep(int, int) override {}
  void InsertLineBefore(int displayLine, std::unique_ptr<KLineObj> line) override {
    if (displayLine < 0 || displayLine >= GetDisplayLineCount()) {
      lines.push_back(std::move(line));
    } else {
      lines.insert(lines.begin() + displayLine, std::move(line));
    }
  }
  void DeleteDisplayLines(int first, int last) override {
    if (first < 0 || last < first || last >= GetDisplayLineCount())
      StavlinFuzzFail("deleting lines that are not there");
    lines.erase(lines.begin() + first, lines.begin() + last + 1);
  }
  void FinishTranslation() override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  StavlinFuzzStart();
  if (size == 0) return 0;
  // The first byte picks the symbol size and whether the whole input is
  // selected or only the block at a line is read.
  const std::uint8_t mode = data[0];
  std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  LinesView view;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    view.lines.push_back(std::make_unique<KStrLine>(CString(line.data(), static_cast<int>(line.size())), 1));
  }
  if (view.lines.empty()) return 0;
  view.selected = (mode & 1) != 0;
  view.selectionLast = static_cast<int>(view.lines.size()) - 1;
  std::vector<std::string> before;
  for (const auto& line : view.lines) before.push_back(static_cast<KStrLine*>(line.get())->GetText().Str());
  ParseTextTab(view, (mode >> 1) % static_cast<int>(view.lines.size()));
  std::size_t next = 0;
  for (const auto& line : view.lines) {
    if (line == nullptr) StavlinFuzzFail("the score holds an empty line");
    const auto* text = dynamic_cast<const KStrLine*>(line.get());
    if (text == nullptr) continue;
    while (next < before.size() && before[next] != text->GetText().Str()) ++next;
    if (next == before.size()) StavlinFuzzFail("a text line left is not an input line in its place");
    ++next;
  }
  return 0;
}
