// A triplet of eighths typed in the real window and bracketed from its
// selection is beamed as one group on the staff and on its tablature
// partner: the bracket makes the three notes one beat long, so the third
// joins the beam of the other two; the eighths after the triplet begin a
// beat and a group of their own.

#include <QTest>
#include <string>
#include <vector>

#include "GroupedSongWindow.h"
#include "model/KListLine.h"

namespace {

struct TripletCase {
  const char* name;
  const char* before;   // typed before the triplet
  const char* triplet;  // its three eighths
  const char* after;    // typed after it
};

// The columns of a line that hold notes (no bars, no signatures), in order.
std::vector<const KChord*> NoteColumns(KListLine& line) {
  std::vector<const KChord*> columns;
  const CObList* objects = line.GetObjList();
  for (POSITION node = objects->GetHeadPosition(); node != nullptr;) {
    const auto* column = dynamic_cast<const KChord*>(objects->GetNext(node));
    if (column != nullptr && !column->IsBarColumn() && !column->IsSignatureColumn() &&
        column->GetNoteCount() > 0)
      columns.push_back(column);
  }
  return columns;
}

// The voice in which a column has flags (-1: none).
int FlaggedVoice(const KChord& column) {
  for (int v = 0; v < 2; ++v) {
    if (column.GetFlagCount(v) > 0) return v;
  }
  return -1;
}

// The column's place in its voice's beam: "open", "in", "close" or "alone".
std::string BeamPlace(const KChord& column) {
  const int voice = FlaggedVoice(column);
  if (voice < 0) return "none";
  const int stem = column.GetVoiceStem(voice);
  if (stem < 0) return "in";
  if (stem > KChord::kStemPlain) return stem % 2 != 0 ? "open" : "close";
  return "alone";
}

std::string Places(const std::vector<const KChord*>& columns, size_t from, size_t count) {
  std::string out;
  for (size_t i = from; i < from + count && i < columns.size(); ++i)
    out += (out.empty() ? "" : " ") + BeamPlace(*columns[i]);
  return out;
}

class TripletBeams : public GroupedSongWindow, public ::testing::WithParamInterface<TripletCase> {};

TEST_P(TripletBeams, TheThirdEighthJoinsTheBeamOfTheOtherTwo) {
  const TripletCase& c = GetParam();
  ASSERT_NO_FATAL_FAILURE(ToLine(kStaffLine));
  Type(c.before);
  Type(c.triplet);
  for (int i = 0; i < 3; ++i) Key(Qt::Key_Left, Qt::ShiftModifier);
  ASSERT_TRUE(View().SelectionRectShown());
  Key(Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier, QString(QChar(0x10)));
  while (View().GetCaretColumn() < staff_->GetLength()) Key(Qt::Key_Right);
  Type(c.after);

  const size_t first = std::string(c.before).size() / 2;
  for (KListLine* line : {static_cast<KListLine*>(staff_), static_cast<KListLine*>(tab_)}) {
    const std::vector<const KChord*> columns = NoteColumns(*line);
    ASSERT_EQ(columns.size(), first + 5) << (line == staff_ ? "staff" : "tablature");
    EXPECT_EQ(Places(columns, first, 3), "open in close")
        << (line == staff_ ? "staff" : "tablature") << ": the triplet is one group";
    EXPECT_EQ(Places(columns, first + 3, 2), "open close")
        << (line == staff_ ? "staff" : "tablature") << ": the next beat is a group of its own";
  }
}

INSTANTIATE_TEST_SUITE_P(InTheWindow, TripletBeams,
                         ::testing::Values(TripletCase{"AtTheBarsStart", "", "AtBtCt", "DtEt"},
                                           TripletCase{"AfterAQuarter", "Gq", "AtBtCt", "DtEt"},
                                           TripletCase{"HighNotesWithStemsDown", "", "DtEtFt", "EtDt"}),
                         [](const ::testing::TestParamInfo<TripletCase>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
