// Painting: only the lines that meet the clip box are drawn, with the marks
// beside them; and a small mixed score painted into an image for a look.

#include <QImage>
#include <span>
#include <string>
#include <vector>

#include "ViewTestFixture.h"
#include "lines/KChordPicLine.h"
#include "lines/KRhythmLine.h"
#include "lines/KStaffLine.h"
#include "lines/KStrLine.h"
#include "lines/KTabLine.h"
#include "model/KChord.h"
#include "platform/RecordingDC.h"
#include "platform/qt/KQtImageDC.h"
#include "platform/qt/KQtSymbolLoader.h"
#include "platform_qt/WidgetTestApp.h"
#include "support/CaseName.h"
#include "support/ImageTestSupport.h"

namespace {

constexpr const char* kGuitar = "E A D G B E  323742475156";

// Thirty text lines "line00" .. "line29", 20 pixels high, 21 apart.
class ViewDrawClip : public ViewTest {
 protected:
  ViewDrawClip() {
    for (int i = 0; i < 30; ++i) {
      char name[16];
      std::snprintf(name, sizeof name, "line%02d", i);
      AddLine(new KStrLine(name, 0), 20);
    }
    view.m_scrollWidth = 1000;
    view.m_scrollHeight = 30 * 21 + 100;
  }
  // The names of the lines whose text was drawn.
  static std::vector<std::string> DrawnLines(const RecordingDC& dc) {
    std::vector<std::string> names;
    for (const std::string& call : dc.Lines()) {
      const size_t at = call.find("\"line");
      if (at != std::string::npos) names.push_back(call.substr(at + 1, 6));
    }
    return names;
  }
};

TEST_F(ViewDrawClip, RepaintOfABandDrawsOnlyTheLinesThatMeetIt) {
  RecordingDC dc;
  // Lines 20 (top 420) and 21 (top 441) meet the band 420..450.
  dc.IntersectClipRect(0, 420, 800, 450);
  view.OnDraw(&dc);
  EXPECT_EQ(DrawnLines(dc), (std::vector<std::string>{"line19", "line20", "line21"}))
      << "the line above the first is drawn too, for brackets and joined bars";
}

TEST_F(ViewDrawClip, ScrolledWindowDrawsInPageCoordinates) {
  RecordingDC dc;
  // The caller puts the window origin at the scroll position; the clip box is
  // then in page coordinates.
  dc.SetWindowOrg(0, 500);
  dc.IntersectClipRect(0, 500, 800, 520);
  view.OnDraw(&dc);
  // Line 23 (483..503) is the first to meet 500..520, line 25 (top 525) the
  // last to start within 5 pixels below it.
  EXPECT_EQ(DrawnLines(dc), (std::vector<std::string>{"line22", "line23", "line24", "line25"}));
}

TEST_F(ViewDrawClip, WholeWindowDrawsEveryVisibleLine) {
  RecordingDC dc;
  dc.IntersectClipRect(0, 0, 800, 600);
  view.OnDraw(&dc);
  EXPECT_EQ(DrawnLines(dc).size(), 29u) << "lines 0 to 28 start above 605";
}

TEST_F(ViewDrawClip, HiddenLinesGetTheirMarkAndAPassedOverLineIsMarked) {
  // A line of the score that the table does not show, between lines 3 and 4.
  POSITION third = Entry(3).line;
  document.InsertLineAfter(third, new KStrLine("not shown", 0));
  view.GetDisplayLineObj(1)->ModifyFlags(0x2, 1);
  RecordingDC dc;
  dc.IntersectClipRect(0, 0, 800, 120);
  view.OnDraw(&dc);
  // The chevron of passed-over lines starts at (content left - 11, top - 4).
  const std::string chevron = "MoveTo 0," + std::to_string(Entry(4).top - 4);
  const std::string cross = "MoveTo 0," + std::to_string(Entry(1).top);
  const std::string text = dc.Text();
  EXPECT_NE(text.find(chevron), std::string::npos);
  EXPECT_NE(text.find(cross), std::string::npos);

  dc.Clear();
  view.m_readOnly = 1;
  view.OnDraw(&dc);
  EXPECT_EQ(dc.Text().find(chevron), std::string::npos) << "no marks in read-only mode";
}

TEST_F(ViewDrawClip, PageEndIsMarkedTwoPixelsAboveTheLinesBottom) {
  view.m_pageMarks = 1;
  view.m_display[5].extra[CStavlinView::kPageCode] = 11;
  RecordingDC dc;
  dc.IntersectClipRect(0, 0, 800, 200);
  view.OnDraw(&dc);
  const std::string y = std::to_string(Entry(5).bottom - 2);
  EXPECT_NE(dc.Text().find("MoveTo 0," + y + "\nLineTo 10000," + y), std::string::npos);
}

TEST_F(ViewDrawClip, SelectionIsInverted) {
  view.m_selFirstLine = 2;
  view.m_selLastLine = 3;
  view.m_selHidden = 0;
  view.m_selRect = RECT{30, 42, 200, 83};
  RecordingDC dc;
  dc.IntersectClipRect(0, 0, 800, 200);
  view.OnDraw(&dc);
  EXPECT_NE(dc.Text().find("InvertRect 30,42,200,83"), std::string::npos);
}

// A small score of every kind of line, painted into an image.
class ViewDrawImage : public ViewTest {
 protected:
  ViewDrawImage() { WidgetTestApp(); }

  KQtSymbolLoader loader{QStringLiteral(STAVLIN_RESOURCE_DIR)};
  ScopedSymbolLoader loaderScope{loader};
};

TEST_F(ViewDrawImage, MixedScoreIsPaintedWithItsLinesBracketAndBarNumbers) {
  SelectSymbolSize(0, 0);
  LOGFONT title = Font(24);
  title.lfWeight = 700;
  view.m_textFonts[1] = title;

  AddLine(new KStrLine("  A Little Tune", 1), 30);
  auto* staff = new KStaffLine(0, 0, 0);
  staff->GetObjList()->AddTail(new KChord(1, 20, 8, 0));
  staff->GetObjList()->AddTail(new KChord(2, 18, 8, 0));
  staff->GetObjList()->AddTail(new KChord(3, 16, 8, 0));
  staff->GetObjList()->AddTail(new KChord(4, 1, 21, 0));
  staff->GetObjList()->AddTail(new KChord(6, 17, 12, 0));
  staff->GetObjList()->AddTail(new KChord(8, 1, 23, 0));
  staff->MarkChanged();
  const int staffLine = AddLine(staff, staff->GetSpaceAbove(0) + 24 + staff->GetSpaceBelow(0));
  auto* tab = new KTabLine(0, kGuitar, 0);
  tab->GetObjList()->AddTail(new KChord(4, 1, 21, KChord::kTabRhythm));
  tab->GetObjList()->AddTail(new KChord(8, 1, 23, KChord::kTabRhythm));
  tab->MarkChanged();
  const int tabLine =
      AddLine(tab, tab->GetSpaceAbove(0) + 5 * (TabStringSpacing(0) + 1) + tab->GetSpaceBelow(0));
  AddLine(new KChordPicLine(0, kGuitar, "", 100, 100), 24);
  AddLine(new KRhythmLine(0, "20,0,0,0,400,0,0,0,0,3,2,1,34,Arial"), 22);
  AddLine(new KStrLine("words under the music", 0), 22);

  // The staff and the tablature line in one bracketed group.
  auto* group = new KLineGroup(10000, Entry(staffLine).line, 0, 0, Entry(tabLine).line, 2, 0, 1);
  document.AddLineGroup(group);
  group->BindLines(document);
  for (int i : {staffLine, tabLine}) view.GetDisplayLineObj(i)->SetGroup(10000, group);
  document.LayoutLineGroups(std::span<const DisplayLine>(view.m_display.data(), view.m_lineCount), 0, 0);
  view.m_barNumbersShown = 1;
  view.m_display[static_cast<size_t>(staffLine)].extra[CStavlinView::kFirstBar] = 1;
  view.m_display[static_cast<size_t>(tabLine)].extra[CStavlinView::kFirstBar] = 1;
  for (int i = 0; i < view.m_lineCount; ++i) view.m_display[static_cast<size_t>(i)].top += 20;
  for (int i = 0; i < view.m_lineCount; ++i) view.m_display[static_cast<size_t>(i)].bottom += 20;
  document.LayoutLineGroups(std::span<const DisplayLine>(view.m_display.data(), view.m_lineCount), 0, 0);

  QImage image = stavlin_test::WhiteImage(420, view.m_display[5].bottom + 20);
  {
    KQtImageDC dc(image);
    dc.IntersectClipRect(0, 0, image.width(), image.height());
    view.OnDraw(&dc);
  }
  stavlin_test::SaveForLook(image, "stavlin-view-draw");

  const DisplayLine& staffEntry = Entry(staffLine);
  const int staffTop = staffEntry.top + staff->GetSpaceAbove(0);
  // The five staff lines run across the right part of the staff.
  for (int k = 0; k < 5; ++k) EXPECT_TRUE(image.pixel(200, staffTop + 6 * k) != stavlin_test::kWhite) << k;
  // The title text is inked; the empty margin right of the lines is not.
  EXPECT_TRUE(stavlin_test::Inked(image, 11, Entry(0).top, 200, Entry(0).bottom));
  EXPECT_FALSE(stavlin_test::Inked(image, 400, staffEntry.top, 420, staffEntry.bottom));
}

// The pixels of the image that are neither white nor a shade of grey.
int ColouredPixels(const QImage& image) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QRgb p = image.pixel(x, y);
      if (qRed(p) != qGreen(p) || qGreen(p) != qBlue(p)) ++count;
    }
  }
  return count;
}

struct AdTabDrawCase {
  const char* name;
  int mode;
  bool coloured;
};

void PrintTo(const AdTabDrawCase& c, std::ostream* os) { *os << c.name; }

class ViewAdTabDrawing : public ViewDrawImage, public ::testing::WithParamInterface<AdTabDrawCase> {
 protected:
  // A tablature line of frets 0 to 11.
  ViewAdTabDrawing() {
    SelectSymbolSize(0, 0);
    auto* tab = new KTabLine(0, kGuitar, 0);
    for (int fret = 0; fret < 12; ++fret) {
      tab->GetObjList()->AddTail(
          new KChord(fret + 1, 2 + fret % 6, KChord::kFirstFret + fret, KChord::kTabRhythm + 80));
    }
    tab->MarkChanged();
    AddLine(tab, tab->GetSpaceAbove(0) + 5 * (TabStringSpacing(0) + 1) + tab->GetSpaceBelow(0));
  }
  // The line drawn with the view in the Ad-Tab mode.
  QImage DrawTabInMode(int mode) {
    view.m_adTabMode = mode;
    QImage image = stavlin_test::WhiteImage(360, view.m_display[0].bottom + 10);
    KQtImageDC dc(image);
    dc.IntersectClipRect(0, 0, image.width(), image.height());
    view.OnDraw(&dc);
    return image;
  }
};

TEST_P(ViewAdTabDrawing, ColourTheFretNumbersOnlyInTheColourNumbersMode) {
  const QImage plain = DrawTabInMode(0);
  const QImage image = DrawTabInMode(GetParam().mode);
  stavlin_test::SaveForLook(image, "stavlin-adtab-mode-" + std::to_string(GetParam().mode));
  ASSERT_TRUE(stavlin_test::Inked(image, 0, 0, image.width(), image.height()));
  EXPECT_EQ(ColouredPixels(plain), 0);
  if (GetParam().coloured) {
    EXPECT_GT(ColouredPixels(image), 20);
    EXPECT_NE(image, plain);
  } else {
    EXPECT_EQ(image, plain);
  }
  EXPECT_EQ(g_colourMode, 0) << "the view's mode holds only while it draws";
}

INSTANTIATE_TEST_SUITE_P(Modes, ViewAdTabDrawing,
                         ::testing::Values(AdTabDrawCase{"none", 0, false},
                                           AdTabDrawCase{"outline", 1, false},
                                           AdTabDrawCase{"colour symbols", 2, false},
                                           AdTabDrawCase{"colour numbers only", 3, true}),
                         [](const auto& info) { return viewtest::CaseName(info.param.name); });

}  // namespace
