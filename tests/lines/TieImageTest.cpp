// Ties made by the range command and by converting tie codes, drawn on a real
// image of a treble staff with the program's symbol pictures. The picture is
// written to the temporary folder (stavlin-ties.png and a three times
// magnified copy) for a look; the test checks that each tie's curve lies on
// its side of the notes, between their columns.

#include <gtest/gtest.h>

#include <QImage>

#include "SpeedLineTestSupport.h"
#include "SymbolImageTestSupport.h"
#include "model/KExtendedObj.h"
#include "platform/qt/KQtImageDC.h"
#include "support/ImageTestSupport.h"

namespace {

using namespace speedline;
using namespace stavlin_test;

class TieImage : public SymbolImageTest {
 protected:
  // Any black pixel in the rectangle [x1, x2] x [y1, y2].
  static bool AnyBlack(const QImage& image, int x1, int y1, int x2, int y2) {
    for (int y = y1; y <= y2; ++y)
      for (int x = x1; x <= x2; ++x)
        if (image.pixel(x, y) == kBlack) return true;
    return false;
  }
};

TEST_F(TieImage, TiesCurveAboveAndBelowTheirNotes) {
  KListLine line(0, kStaffKind, 0, -1, 0);
  FillLine(line, {
                     StaffColumn(0, {{16, 9}, {20, 9}}),  // two quarters, tied on to column 1 by the range
                     StaffColumn(1, {{16, 9}, {20, 9}}),
                     StaffColumn(3, {{18, 9}, {18, 32}}),  // a quarter with a tie code below it
                     StaffColumn(4, {{18, 9}}),
                 });
  line.TieNotesInRange('t', 0, 2);
  line.ConvertTieCodes();
  ASSERT_EQ(line.GetAttachmentCount(), 3);
  KSpeedLine cache(kStaffKind, 0, line.GetObjList(), 0, 0, 0, 0, "");

  const int left = 10;
  const int top = 10 + 22;  // the top staff line
  const int x0 = left + 34;
  QImage image = WhiteImage(220, 90);
  {
    KQtImageDC dc(image);
    cache.Render(&dc, left, 0, 10000, 10);
    const CObList& ties = *line.GetAttachments();
    for (POSITION node = ties.GetHeadPosition(); node != nullptr;) {
      auto* tie = static_cast<KExtendedObj*>(ties.GetNext(node));
      tie->Draw(&dc, kStaffKind, x0 + 18 * tie->GetPos(), top, 0);
    }
  }
  SaveForLook(image, "stavlin-ties");

  // Step s lies at top + 3 (s - 14); the ties run between the column centres.
  const int between = x0 + 18;  // halfway from the centre of column 0 to that of column 1
  EXPECT_TRUE(AnyBlack(image, between - 2, top + 3 * 2 - 12, between + 2, top + 3 * 2 - 4));  // above step 16
  EXPECT_FALSE(AnyBlack(image, between - 2, top + 3 * 2 + 2, between + 2, top + 3 * 2 + 3));
  EXPECT_TRUE(AnyBlack(image, between - 2, top + 3 * 6 + 4, between + 2, top + 3 * 6 + 12));  // below step 20
  const int converted = x0 + 3 * 18 + 18;  // from column 3 to column 4
  EXPECT_TRUE(
      AnyBlack(image, converted - 2, top + 3 * 5 + 4, converted + 2, top + 3 * 5 + 12));  // below step 18
  EXPECT_FALSE(AnyBlack(image, converted - 2, top - 12, converted + 2, top - 2));
}

}  // namespace
