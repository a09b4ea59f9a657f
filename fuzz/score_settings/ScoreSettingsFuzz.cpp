// The settings a score file carries, applied to the view and the printer: the
// bytes are a score's archive; a score that loads is opened in a score view
// (its settings become the view's symbol size, scrolling, labels, fonts,
// window place and page layout), drawn whole, paginated and printed.
// Whatever the stored values, drawing and printing neither overflow nor read
// out of bounds, and the view's settings handed back to the score store
// bytes that, opened and applied again, store the same bytes.

#include <vector>

#include "FuzzDrawing.h"
#include "FuzzEnvironment.h"
#include "FuzzScoreView.h"

namespace {

// Opens the archive in a view, draws, paginates and prints it, and stores
// the score with the settings the view worked with; empty when the archive
// does not load.
std::vector<std::uint8_t> ApplyAndStore(const std::vector<std::uint8_t>& archive, FakeUiPort& ui) {
  FuzzScoreView score(archive);
  if (!score.Loaded()) return {};
  DrawAndPrint(*score.view, ui);
  score.doc.SetSettings(score.view->m_options, FALSE);
  return FuzzScoreView::Store(score.doc);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FakeUiPort& ui = StavlinFuzzStart();
  const std::vector<std::uint8_t> first = ApplyAndStore(std::vector<std::uint8_t>(data, data + size), ui);
  if (first.empty()) return 0;
  StavlinFuzzStart();
  const std::vector<std::uint8_t> second = ApplyAndStore(first, ui);
  if (second.empty()) StavlinFuzzFail("a score stored with its applied settings does not load");
  StavlinFuzzStart();
  if (ApplyAndStore(second, ui) != second)
    StavlinFuzzFail("applied settings change again each time they are stored");
  return 0;
}
