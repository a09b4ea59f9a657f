// Select, copy, delete and paste back gives the same score: for each line
// family, for a line group, and through the clipboard into another score.

#include <cstdlib>
#include <fstream>

#include "ClipTestSupport.h"
#include "model/KChordPic.h"
#include "model/KExtendedObj.h"
#include "model/KRhythmObj.h"

namespace {

using cliptest::ClipFixture;
using cliptest::StoreDocument;
using namespace viewtest;

enum class Piece { kStaff, kTab, kRhythm, kChords, kText, kGroup };

struct RoundTripCase {
  const char* name;
  Piece piece;
};

void PrintTo(const RoundTripCase& c, std::ostream* os) { *os << c.name; }

class ClipRoundTripTest : public ClipFixture, public ::testing::WithParamInterface<RoundTripCase> {
 protected:
  // Adds the piece's lines between two text lines; returns how many lines.
  int AddPiece(Piece piece) {
    AddText("Title line");
    int count = 1;
    switch (piece) {
      case Piece::kStaff: {
        KStaffLine* staff = MakeStaff({{0, 14}, {1, 16}, {3, 18}}, {2, 5}, kEighth);
        staff->AddAttachment(new KExtendedObj(1, 14, KExtendedObj::kSlur, 10, 4, 40, 8));
        staff->AddAttachment(new KExtendedObj(3, 10, "p", "16,0,0,0,700,0,0,0,0,3,2,1,34,Arial"));
        Add(staff);
        break;
      }
      case Piece::kTab:
        Add(MakeTab({0, 2, 7}));
        break;
      case Piece::kRhythm: {
        auto* rhythm = new KRhythmLine(0, "16,0,0,0,400,0,0,0,0,3,2,1,34,Arial");
        rhythm->GetObjList()->AddTail(new KRhythmObj(0, 230));
        rhythm->GetObjList()->AddTail(new KRhythmObj(20, CString("Am\xe9")));
        rhythm->SetColumnWidth(-1);
        Add(rhythm);
        break;
      }
      case Piece::kChords: {
        AddChordLine();
        auto* chords = dynamic_cast<KChordPicLine*>(doc.GetLineAt(lines.back()));
        chords->InsertDiagramAt(0, "C", "x32010 0          000", 1, 1);
        chords->InsertDiagramAt(9, "G7", "320001 0          000", 2, 3);
        break;
      }
      case Piece::kText:
        AddText("Caf\xe9 au lait, \x80 five");
        break;
      case Piece::kGroup: {
        const POSITION staff = Add(MakeStaff({{0, 14}, {2, 18}}, {4}));
        const POSITION tab = Add(MakeTab({0, 2}));
        Group(1, {staff, tab}, true);
        count = 2;
        break;
      }
    }
    AddText("Last line");
    return count;
  }
};

TEST_P(ClipRoundTripTest, CutAndPasteBackGivesTheSameScore) {
  const int count = AddPiece(GetParam().piece);
  Layout(1, 0);
  const std::vector<BYTE> before = StoreDocument(doc);

  SelectWhole(1, count);
  std::unique_ptr<KClipStream> snapshot = view->SerializeSelection(viewclip::kSnapshot);
  ASSERT_NE(snapshot, nullptr);
  ASSERT_TRUE(ReadClipStream(*snapshot).has_value());
  // The fuzz seeds of the stream reader are these snapshots.
  if (const char* seeds = std::getenv("STAVLIN_CLIP_SEED_DIR")) {
    std::ofstream out(std::string(seeds) + "/" + GetParam().name + ".clip", std::ios::binary);
    const std::vector<BYTE> bytes = snapshot->ToBytes();
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  ASSERT_EQ(view->DeleteSelectedRegion(1, 2, 1), 1);
  ASSERT_EQ(view->GetDisplayLineCount(), 2);

  view->m_currentLine = 0;
  view->PasteSerializedLines(viewclip::kPasteInsert, snapshot.get(), 0, -1);

  EXPECT_EQ(view->GetDisplayLineCount(), count + 2);
  const std::vector<BYTE> after = StoreDocument(doc);
  EXPECT_TRUE(after == before) << cliptest::FirstDifference(after, before);
}

TEST_P(ClipRoundTripTest, ClipboardCarriesTheLinesIntoAnotherScore) {
  const int count = AddPiece(GetParam().piece);
  Layout(1, 0);
  SelectWhole(1, count);
  g_clipboardCommand = 1;
  view->SerializeSelection(viewclip::kCopy);
  g_clipboardCommand = 0;
  ASSERT_TRUE(IsClipboardFormatAvailable(StavlinClipFormat()));
  const std::string copied = Dump(1);

  // A second score in its own view, with one text line.
  CStavlinDoc other;
  FakeViewHost otherHost;
  otherHost.client = RECT{0, 0, 800, 2000};
  otherHost.frame = &frame;
  CStavlinView otherView(&other, &otherHost);
  otherView.m_show[8] = 1;
  otherView.m_textFonts = view->m_textFonts;
  other.AddTailLine(new KStrLine("Other score", 0));
  otherView.RebuildDisplayLines(0);
  otherView.m_currentLine = 0;

  otherView.PasteSerializedLines(viewclip::kPasteInsert, nullptr, 0, -1);

  ASSERT_EQ(otherView.GetDisplayLineCount(), 1 + count);
  EXPECT_EQ(otherView.GetDisplayLineObj(1)->GetType(), Line(1)->GetType());
  EXPECT_EQ(DumpLine(otherView.GetDisplayLineObj(1)), copied);
  EXPECT_EQ(other.GetLineGroupCount(), GetParam().piece == Piece::kGroup ? 1 : 0);
  EXPECT_EQ(TextOf(otherView.GetDisplayLineObj(1)), Text(1));
}

const RoundTripCase kRoundTrips[] = {
    {"StaffWithBarsAndAttachments", Piece::kStaff},
    {"Tablature", Piece::kTab},
    {"RhythmSymbolsAndTexts", Piece::kRhythm},
    {"ChordDiagrams", Piece::kChords},
    {"TextWithHighBytes", Piece::kText},
    {"StaffAndTablatureGroup", Piece::kGroup},
};

INSTANTIATE_TEST_SUITE_P(Families, ClipRoundTripTest, ::testing::ValuesIn(kRoundTrips),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
