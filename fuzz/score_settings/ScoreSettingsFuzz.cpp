// The settings a score file carries, applied to the view and the printer: the
// bytes are a score's archive; a score that loads is opened in a score view
// (its settings become the view's symbol size, scrolling, labels, fonts,
// window place and page layout) and paginated for the printer. Whatever the
// stored values, the view's settings handed back to the score store bytes
// that, opened and applied again, store the same bytes.

#include <vector>

#include "FuzzEnvironment.h"
#include "FuzzScoreView.h"

namespace {

// Opens the archive in a view, paginates it and stores the score with the
// settings the view worked with; empty when the archive does not load.
std::vector<std::uint8_t> ApplyAndStore(const std::vector<std::uint8_t>& archive) {
  FuzzScoreView score(archive);
  if (!score.Loaded()) return {};
  score.view->ComputePageMargins();
  score.view->CountPages();
  score.doc.SetSettings(score.view->m_options, FALSE);
  return FuzzScoreView::Store(score.doc);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  StavlinFuzzStart();
  const std::vector<std::uint8_t> first = ApplyAndStore(std::vector<std::uint8_t>(data, data + size));
  if (first.empty()) return 0;
  StavlinFuzzStart();
  const std::vector<std::uint8_t> second = ApplyAndStore(first);
  if (second.empty()) StavlinFuzzFail("a score stored with its applied settings does not load");
  StavlinFuzzStart();
  if (ApplyAndStore(second) != second)
    StavlinFuzzFail("applied settings change again each time they are stored");
  return 0;
}
