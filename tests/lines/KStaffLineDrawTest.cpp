// Drawing a staff line: keeping the drawing cache current, the first column
// drawn, the attachments, and a treble staff painted with the real symbol
// pictures.

#include <QImage>
#include <QString>
#include <algorithm>
#include <climits>
#include <string>

#include "StaffLineTestSupport.h"
#include "common/DrawTestSupport.h"
#include "lines/KSpeedLine.h"
#include "model/KExtendedObj.h"
#include "platform/qt/KQtImageDC.h"
#include "platform/qt/KQtSymbolLoader.h"
#include "platform_qt/WidgetTestApp.h"

namespace {

constexpr int kOriginX = 5;
constexpr int kTop = 10;

class KStaffLineDrawTest : public StaffLineTest {
 protected:
  KStaffLineDrawTest() { ResetSymbolCache(); }
  ~KStaffLineDrawTest() override { ResetSymbolCache(); }

  // What drawing the whole line from its start records.
  static std::string Drawn(KStaffLine& staff, int sizeIndex) {
    RecordingDC dc;
    staff.Draw(&dc, kTop, 0, sizeIndex, kOriginX, 0, 0, 0, 0, 0);
    return dc.Text();
  }

  // A new staff with copies of the staff's columns, drawn the first time.
  static std::string DrawnAfresh(const KStaffLine& staff, int sizeIndex) {
    KStaffLine fresh(staff.GetType(), staff.GetKey(), staff.GetFlagWord());
    const CObList& columns = *staff.GetObjList();
    for (POSITION node = columns.GetHeadPosition(); node != nullptr;) {
      const KChord* column = AsChord(columns.GetNext(node));
      Fill(fresh, {new KChord(*column, column->GetPos(), true)});
    }
    return Drawn(fresh, sizeIndex);
  }

  FakeSymbolLoader loader;
  ScopedSymbolLoader loaderScope{loader};
};

KStaffLine* Melody(KStaffLine& staff) {
  Fill(staff, {Column(0, {{17, kQuarter}}), Column(1, {{14, kSharpSign}, {14, kQuarter}}), Bar(2),
               Column(3, {{20, kQuarter}})});
  return &staff;
}

// The cache is rebuilt when the line is marked changed and not otherwise: a
// column changed behind the line's back is drawn as before until the line is
// marked.
TEST_F(KStaffLineDrawTest, TheCacheIsRebuiltOnlyAfterAChange) {
  KStaffLine staff(0, 0, 0);
  Melody(staff);
  const std::string first = Drawn(staff, 0);
  EXPECT_EQ(staff.IsChanged(), 0);

  AsChord(staff.GetObjList()->GetHead())->SetNoteValue(0, 20);
  EXPECT_EQ(Drawn(staff, 0), first);

  staff.MarkChanged();
  const std::string changed = Drawn(staff, 0);
  EXPECT_NE(changed, first);
  EXPECT_EQ(changed, DrawnAfresh(staff, 0));
  EXPECT_EQ(staff.IsChanged(), 0);
}

TEST_F(KStaffLineDrawTest, AnotherSizeIndexRebuildsTheCacheBeforeRendering) {
  KStaffLine staff(0, 0, 0);
  Melody(staff);
  Drawn(staff, 0);

  AsChord(staff.GetObjList()->GetHead())->SetNoteValue(0, 20);
  const std::string large = Drawn(staff, 1);
  EXPECT_EQ(staff.GetSpeedLine()->GetSizeIndex(), 1);
  EXPECT_EQ(large, DrawnAfresh(staff, 1));

  AsChord(staff.GetObjList()->GetHead())->SetNoteValue(0, 17);
  EXPECT_EQ(Drawn(staff, 1), large) << "the same size again does not rebuild";
}

// The x of the leftmost note head drawn.
int LeftmostHeadX(const RecordingDC& dc, const std::string& headId) {
  int left = INT_MAX;
  for (const std::string& blit : Blits(dc)) {
    if (blit.substr(0, blit.find(' ')) != headId) continue;
    left = std::min(left, std::stoi(blit.substr(blit.find(' ') + 1)));
  }
  return left;
}

TEST_F(KStaffLineDrawTest, DrawingStartsThreeColumnsBeforeTheColumnUnderTheRedrawX) {
  KStaffLine staff(0, 4, 0);  // two sharps widen the lead-in
  staff.SetIndent(7);
  for (int column = 0; column <= 12; ++column) Fill(staff, {Column(column, {{20, kQuarter}})});
  const int lead = kOriginX + 7 + staff.GetLeadInWidth(0);
  const int columnWidth = 18;

  RecordingDC whole;
  staff.Draw(&whole, kTop, 0, 0, kOriginX, 0, 0, 0, 0, 0);
  const std::vector<std::string> ids = BlitIds(whole);
  ASSERT_FALSE(ids.empty());
  const std::string headId = ids.back();  // the last column draws only its head
  const int headOffset = LeftmostHeadX(whole, headId) - lead;

  struct Case {
    int redrawX;
    int firstColumn;
  };
  const Case cases[] = {
      {-100, 0},                     // left of the line
      {lead - 1, 0},                 // in the clef area
      {lead + 10 * columnWidth, 7},  // at column 10
      {lead + 10 * columnWidth + columnWidth - 1, 7},
      {lead + 2 * columnWidth, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.redrawX);
    RecordingDC dc;
    staff.Draw(&dc, kTop, c.redrawX, 0, kOriginX, 0, 0, 0, 0, 0);
    EXPECT_EQ(LeftmostHeadX(dc, headId), lead + c.firstColumn * columnWidth + headOffset);
  }
}

// The attachments are drawn after the columns, in list order, each at its
// column's x from the line's first column and at the top of the staff area.
TEST_F(KStaffLineDrawTest, AttachmentsAreDrawnAtTheirColumnBelowTheSpaceAbove) {
  for (int size : {0, 1}) {
    SCOPED_TRACE(size);
    KStaffLine staff(kBass, 6, 0);
    staff.SetIndent(9);
    Melody(staff);
    staff.AddAttachment(new KExtendedObj(1, 14, 0, 4, 5, 30, 0));
    staff.AddAttachment(new KExtendedObj(3, 20, 1, 4, 5, 40, 0));

    RecordingDC dc;
    staff.Draw(&dc, kTop, 0, size, kOriginX, 0, 0, 0, 0, 0);

    const int x0 = staff.GetLeadInWidth(size) + 9 + kOriginX;
    const int y = staff.GetSpaceAbove(size) + kTop;
    const int columnWidth = size == 0 ? 18 : 22;
    RecordingDC expected;
    CObList& attachments = *staff.GetAttachments();
    for (POSITION node = attachments.GetHeadPosition(); node != nullptr;) {
      auto* attachment = static_cast<KExtendedObj*>(attachments.GetNext(node));
      attachment->Draw(&expected, kBass, attachment->GetPos() * columnWidth + x0, y, size);
    }
    const std::string all = dc.Text();
    const std::string tail = expected.Text();
    ASSERT_FALSE(tail.empty());
    ASSERT_GE(all.size(), tail.size());
    EXPECT_EQ(all.substr(all.size() - tail.size()), tail);
  }
}

TEST_F(KStaffLineDrawTest, NothingIsDrawnWithoutADeviceContext) {
  KStaffLine staff(0, 0, 0);
  Melody(staff);
  staff.Draw(nullptr, kTop, 0, 0, kOriginX, 0, 0, 0, 0, 0);
  EXPECT_EQ(staff.IsChanged(), 1);
}

// ---- A treble staff on real pixels ----------------------------------------------

class StaffOnImage : public StaffLineTest {
 protected:
  StaffOnImage() {
    WidgetTestApp();
    ResetSymbolCache();
    SelectSymbolSize(0, 0);
  }
  ~StaffOnImage() override { ResetSymbolCache(); }

  KQtSymbolLoader loader{QStringLiteral(STAVLIN_RESOURCE_DIR)};
  ScopedSymbolLoader scope{loader};
};

bool IsDark(QRgb pixel) { return qGray(pixel) < 128; }

// A treble staff in G major with a time signature, notes on and off the
// staff, an accidental, beamed eighths, a rest and bar lines, painted with the
// program's symbol pictures. The picture is written to the test folder of the
// build (staff-treble.png) so that it can be looked at.
TEST_F(StaffOnImage, ATrebleStaffWithNotesPaintsItsLinesAndEveryNote) {
  constexpr int kEighth = 0;
  KStaffLine staff(0, 2, 0);
  Fill(staff, {TimeSig(0, 98, 107), Column(1, {{17, kQuarter}}),  // C5
               Column(2, {{21, kSharpSign}, {21, kQuarter}}),     // F#4 written out
               Column(3, {{24, kQuarter}}),                       // C4 on a ledger line
               Column(4, {{10, kQuarter}}),                       // C6 on two ledger lines
               Bar(5), Column(6, {{18, kEighth}}), Column(7, {{16, kEighth}}), Column(8, {{14, kEighth}}),
               Column(9, {{17, kEighth}}), Column(10, {{18, 16}}),  // quarter rest
               Column(11, {{20, 10}}),                              // half note
               Bar(12)});
  CObList& columns = *staff.GetObjList();
  POSITION first = staff.FindNodeAt(6, 0);
  POSITION last = staff.FindNodeAt(9, 0);
  staff.BeamRange(first, last, 1, 0);

  QImage image(360, 90, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    KQtImageDC dc(image);
    staff.Draw(&dc, kTop, 0, 0, kOriginX, 0, 0, 0, 0, 0);
  }
  image.save(QStringLiteral("staff-treble.png"));

  // The five staff lines run dark from the line's start to past the last column.
  const int staffTop = kTop + staff.GetSpaceAbove(0);
  const int lead = kOriginX + staff.GetLeadInWidth(0);
  const int right = lead + 12 * 18;
  for (int line = 0; line < 5; ++line) {
    const int y = staffTop + 6 * line;
    int dark = 0;
    for (int x = kOriginX; x < right; ++x) dark += IsDark(image.pixel(x, y)) ? 1 : 0;
    EXPECT_GT(dark, (right - kOriginX) * 9 / 10) << "staff line " << line;
  }
  // Every note has dark pixels around its head, off the staff lines too.
  for (POSITION node = columns.GetHeadPosition(); node != nullptr;) {
    const KChord* column = AsChord(columns.GetNext(node));
    for (int i = 0; i < column->GetNoteCount(); ++i) {
      const NotePair note = column->GetNote(i);
      if (note.code > 12) continue;
      SCOPED_TRACE("column " + std::to_string(column->GetPos()));
      const int x = lead + 18 * column->GetPos() + 5;
      const int y = staffTop + 3 * (note.position - 14);
      int dark = 0;
      for (int dy = -2; dy <= 2; ++dy) {
        for (int dx = 1; dx < 8; ++dx) dark += IsDark(image.pixel(x + dx, y + dy)) ? 1 : 0;
      }
      EXPECT_GE(dark, 12);
    }
  }
}

}  // namespace
