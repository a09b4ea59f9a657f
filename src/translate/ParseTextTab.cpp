// The scan over the display lines. Blocks are found and their tablature lines
// built first; the score is changed only afterwards, from the last block up,
// so that the display indexes of the blocks above stay valid while lines are
// inserted and removed below them.

#include "translate/ParseTextTab.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "lines/KStrLine.h"
#include "lines/KTabLine.h"
#include "platform/UiPort.h"
#include "translate/ParseTextTabBlock.h"
#include "translate/ParseTextTabOptions.h"
#include "translate/ParseTextTabView.h"

namespace {

constexpr int kMinRows = 4;
constexpr int kMaxRows = 6;
constexpr int kUndoSelection = 4;
constexpr int kUndoCurrentLine = 6;
constexpr UINT kTooFewRowsMessage = 7055;
// Columns further right than this are placed here.
constexpr long long kMaxColumn = 30000;
// Lead-in and column width of the tab line, by symbol size index.
constexpr std::array<int, 8> kLeadIns = {34, 34, 6, 8, 3, 4, 22, 26};
constexpr std::array<int, 8> kColumnWidths = {18, 22, 14, 18, 12, 18, 18, 22};

KStrLine* TextTabRow(KTextTabView& view, int index) {
  auto* text = dynamic_cast<KStrLine*>(view.GetDisplayLine(index));
  if (text == nullptr || !IsTextTabRow(text->GetText().View())) return nullptr;
  return text;
}

struct Block {
  int first = 0;
  int count = 0;
  int insertAt = 0;
  std::unique_ptr<KTabLine> line;
};

// The tab column under each character position of the first row.
std::vector<int> ColumnsOf(KTextTabView& view, KStrLine& row, size_t width) {
  const int size = std::clamp(view.GetSymbolSizeIndex(), 0, static_cast<int>(kLeadIns.size()) - 1);
  std::vector<int> columns(width);
  for (size_t i = 0; i < width; ++i) {
    // In 64 bits: a damaged line may carry an indent near the int limit.
    const long long x = static_cast<long long>(view.GetXOfColumn(row, static_cast<int>(i))) +
                        row.GetIndent() - kLeadIns[size];
    columns[i] = static_cast<int>(std::clamp(x / kColumnWidths[size], 0LL, kMaxColumn));
  }
  return columns;
}

}  // namespace

int ParseTextTab(KTextTabView& view, int currentLine) {
  const int count = view.GetDisplayLineCount();
  int first = currentLine;
  int last = currentLine;
  const bool selection = view.GetSelectedLines(first, last);
  if (selection) {
    last = std::min(last, count - 1);
    view.RecordUndoStep(kUndoSelection, first);
  } else {
    view.RecordUndoStep(kUndoCurrentLine, currentLine);
  }

  std::vector<Block> blocks;
  // Rows near the score's end are read too: too few of them are refused
  // with the message below, never passed over in silence.
  for (int d = std::max(first, 0); d <= last && d < count;) {
    if (dynamic_cast<KStrLine*>(view.GetDisplayLine(d)) == nullptr) {
      ++d;
      continue;
    }
    std::vector<KStrLine*> rows;
    while (static_cast<int>(rows.size()) < kMaxRows && d + static_cast<int>(rows.size()) < count) {
      KStrLine* row = TextTabRow(view, d + static_cast<int>(rows.size()));
      if (row == nullptr) break;
      rows.push_back(row);
    }
    const int rowCount = static_cast<int>(rows.size());
    if (rowCount < kMinRows) {
      if (!selection) {
        MessageBeep(MB_ICONASTERISK);
        AfxMessageBox(kTooFewRowsMessage);
        return 0;
      }
      d += std::max(rowCount, 1);
      continue;
    }
    std::vector<std::string> texts;
    size_t width = SIZE_MAX;
    for (KStrLine* row : rows) {
      texts.emplace_back(row->GetText().View());
      width = std::min(width, texts.back().size());
    }
    const std::vector<int> columns = ColumnsOf(view, *rows.front(), width);
    // The new line goes below the line that follows the rows, unless that line
    // is itself a text-tab row: it then starts the next block, which must be
    // read whole, and the new line goes directly below the rows.
    const bool nextBlockFollows = TextTabRow(view, d + rowCount) != nullptr;
    const int insertAt = d + rowCount + (nextBlockFollows ? 0 : 1);
    blocks.push_back({d, rowCount, insertAt,
                      ReadTextTabBlock(texts, columns, g_textTabBassKinds, g_textTabBanjoFingering)});
    d += rowCount;
  }

  // Nothing to read anywhere in the range: the user is told why.
  if (blocks.empty()) {
    MessageBeep(MB_ICONASTERISK);
    AfxMessageBox(kTooFewRowsMessage);
    return 0;
  }
  for (auto block = blocks.rbegin(); block != blocks.rend(); ++block) {
    view.InsertLineBefore(block->insertAt, std::move(block->line));
    if (g_textTabRemoveRows != 0) view.DeleteDisplayLines(block->first, block->first + block->count - 1);
  }
  view.FinishTranslation();
  return 0;
}
