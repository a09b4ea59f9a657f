// A whole text file handed to a new score, as opening an ".abc" or ".txt" file
// does (CStavlinView::ReceiveHandedOverText): the first byte says how it is
// read (ABC notation, text tablature, or text lines), the rest is the file,
// decoded as the text document decodes it. What the score becomes must be a
// score: it stores and loads back, and once loaded stores the same bytes each
// time.

#include <span>

#include "FuzzEnvironment.h"
#include "FuzzScoreView.h"
#include "translate/KTextDoc.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  StavlinFuzzStart();
  if (size == 0) return 0;
  const int how = data[0] % 3;
  KTextDoc text;
  if (!text.LoadBytes(std::span<const std::uint8_t>(data + 1, size - 1))) return 0;

  FuzzScoreView score;
  score.view->ReceiveHandedOverText(text.TextForScore(), how == 0, how == 1);
  if (score.doc.HasNoLines()) StavlinFuzzFail("the score has no line left");
  FuzzScoreView::StoresBack(score.doc,
                            "the score made from the text does not store, load and store back the same");
  return 0;
}
