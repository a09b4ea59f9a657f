// Music lines: notes, rests, bars, chords, signs and annotations become the
// columns and attachments of a treble staff line.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "AbcReaderTestSupport.h"
#include "support/CaseName.h"

namespace {

KStaffLine* AsStaff(const std::unique_ptr<KLineObj>& line) { return dynamic_cast<KStaffLine*>(line.get()); }

struct BodyCase {
  const char* body;
  const char* columns;
};

class AbcBodyTest : public AbcReaderTest, public ::testing::WithParamInterface<BodyCase> {};

TEST_P(AbcBodyTest, ReadsColumns) {
  ClearPending();
  std::unique_ptr<KLineObj> line = Read(GetParam().body);
  KStaffLine* staff = AsStaff(line);
  ASSERT_NE(staff, nullptr) << GetParam().body;
  EXPECT_EQ(DumpColumns(*staff), GetParam().columns) << GetParam().body;
}

// Rows: C 24, D 23, A 19, B 18, c 17, c' 10, C, 31; a beam group keeps the
// stem direction of its first note, and a bar starts a new group. Codes: 0/1 eighth up/down, 8/9
// quarter, 17 eighth rest, 36 dot.
INSTANTIATE_TEST_SUITE_P(
    Bodies, AbcBodyTest,
    ::testing::Values(
        BodyCase{"A3/2", "0:19/0,19/36"}, BodyCase{"A3/2B", "0:19/0,19/36 2:18/0"}, BodyCase{"c'", "0:10/1"},
        BodyCase{"c''", "0:3/1"}, BodyCase{"C,", "0:31/0"}, BodyCase{"ABc|", "0:19/0 1:18/0 2:17/0 3:|21"},
        BodyCase{"A2 z", "0:19/8 2:18/17"}, BodyCase{"A/ B//", "0:19/2 1:18/4"},
        BodyCase{"|: A :: B :| C [| D", "0:|24 1:19/0 2:|96 3:18/0 4:|25 5:24/0 6:18/10023 7:23/0"},
        BodyCase{"A|B||c|]", "0:19/0 1:|21 2:18/0 3:|22 4:17/1 5:|23"},
        // A repeat both ways written with a bar between the colons, and a
        // repeat that starts after a thick bar.
        BodyCase{"BA:|:B", "0:18/0 1:19/0 2:|96 3:18/0"}, BodyCase{"BA:||:B", "0:18/0 1:19/0 2:|96 3:18/0"},
        BodyCase{"A[|:B", "0:19/0 1:|24 2:18/0"},
        // A broken rhythm written with blanks around its sign.
        BodyCase{"A > B", "0:19/0,19/36 2:18/2"}, BodyCase{"A < B", "0:19/2 1:18/0,18/36"},
        BodyCase{"A >> B", "0:19/0,19/37 2:18/4"}, BodyCase{"A>B", "0:19/0,19/36 2:18/2"},
        BodyCase{"A<B", "0:19/2 1:18/0,18/36"}, BodyCase{"[CEG]", "0:20/0,22/0,24/0"},
        BodyCase{"^A_B=c", "0:19/0,19/28 1:18/0,18/30 2:17/0,17/27"}));

TEST_F(AbcReaderTest, MeterAndTempoColumnsOpenTheFirstLine) {
  std::unique_ptr<KLineObj> line = Read("A");
  KStaffLine* staff = AsStaff(line);
  ASSERT_NE(staff, nullptr);
  EXPECT_EQ(DumpColumns(*staff), "0:meter/103/103 1:9/10034 2:19/0");
  EXPECT_EQ(DumpAttachmentTexts(*staff), "1:120");
  EXPECT_FALSE(GetAbcReaderState().titlePending || GetAbcReaderState().meterPending ||
               GetAbcReaderState().tempoPending);

  // The next line has neither.
  line = Read("B");
  EXPECT_EQ(DumpColumns(*AsStaff(line)), "0:18/0");
}

TEST_F(AbcReaderTest, AnnotationsBecomeTextsAndChordNamesArePrefixed) {
  ClearPending();
  std::unique_ptr<KLineObj> line = Read("\"x\"A");
  EXPECT_EQ(DumpAttachmentTexts(*line), "0:x");
  EXPECT_FALSE(GetAbcReaderState().chordNamesSeen);

  line = Read("\"Am\"A B");
  EXPECT_EQ(DumpAttachmentTexts(*line), "0:@@Am");
  EXPECT_TRUE(GetAbcReaderState().chordNamesSeen);
}

TEST_F(AbcReaderTest, ContinuedLineGoesOnFillingTheSameStaff) {
  ClearPending();
  EXPECT_EQ(Read("AB \\", 1), nullptr);
  EXPECT_EQ(Read("K:G"), nullptr);
  std::unique_ptr<KLineObj> line = Read("c", 0);
  KStaffLine* staff = AsStaff(line);
  ASSERT_NE(staff, nullptr);
  // The key change sits between the two parts; the line says it has one.
  EXPECT_EQ(DumpColumns(*staff), "0:19/0 1:18/0 2:1/254,1/2 5:17/1");
  EXPECT_EQ(staff->GetFlagWord() & 0x800, 0x800u);
  EXPECT_EQ(GetAbcReaderState().continued, nullptr);

  // Without continuation allowed the "\" is ignored.
  line = Read("AB\\", 0);
  EXPECT_NE(line, nullptr);
}

TEST_F(AbcReaderTest, LinesWithoutMusicGiveNothing) {
  ClearPending();
  EXPECT_EQ(Read("123 ,' /"), nullptr);
  EXPECT_EQ(Read("|"), nullptr);
}

}  // namespace

namespace {

struct MeterColumnCase {
  const char* field;
  const char* column;
};

class AbcMeterColumnTest : public AbcReaderTest, public ::testing::WithParamInterface<MeterColumnCase> {};

TEST_P(AbcMeterColumnTest, WritesTheMeterCodes) {
  GetAbcReaderState().tempoPending = false;
  EXPECT_EQ(Read(GetParam().field), nullptr);
  std::unique_ptr<KLineObj> line = Read("z");
  ASSERT_NE(AsStaff(line), nullptr);
  EXPECT_EQ(DumpColumns(*AsStaff(line)).substr(0, std::string(GetParam().column).size()), GetParam().column);
}

INSTANTIATE_TEST_SUITE_P(Meters, AbcMeterColumnTest,
                         ::testing::Values(MeterColumnCase{"M:6/8", "0:meter/105/107"},
                                           MeterColumnCase{"M:C", "0:meter/98/103"},
                                           MeterColumnCase{"M:C|", "0:meter/99/103"}));

struct TempoMarkCase {
  const char* field;
  const char* columns;
  const char* texts;
};

class AbcTempoMarkTest : public AbcReaderTest, public ::testing::WithParamInterface<TempoMarkCase> {};

TEST_P(AbcTempoMarkTest, WritesTheMark) {
  GetAbcReaderState().titlePending = GetAbcReaderState().meterPending = false;
  EXPECT_EQ(Read(GetParam().field), nullptr);
  std::unique_ptr<KLineObj> line = Read("B");
  ASSERT_NE(AsStaff(line), nullptr);
  EXPECT_EQ(DumpColumns(*AsStaff(line)), GetParam().columns);
  EXPECT_EQ(DumpAttachmentTexts(*line), GetParam().texts);
}

INSTANTIATE_TEST_SUITE_P(Tempos, AbcTempoMarkTest,
                         ::testing::Values(TempoMarkCase{"Q:1/2=60", "0:9/10035 1:18/0", "0:60"},
                                           TempoMarkCase{"Q:1/8=90", "0:9/10032 1:18/0", "0:90"},
                                           // A beat no metronome note shows is counted in
                                           // quarters: 90 beats of three eighths are 135 quarters.
                                           TempoMarkCase{"Q:C3=90", "0:9/10034 1:18/0", "0:135"},
                                           TempoMarkCase{"Q:3/8=100", "0:9/10034 1:18/0", "0:150"},
                                           TempoMarkCase{"Q:1/64=80", "0:9/10034 1:18/0", "0:5"},
                                           // A number alone counts quarters.
                                           TempoMarkCase{"Q:100", "0:9/10034 1:18/0", "0:100"}));

}  // namespace

namespace {

struct AttachmentCase {
  const char* body;  // also the case's name
  int kind;
  int pos;
  int width;
  const char* text;
};

void PrintTo(const AttachmentCase& c, std::ostream* out) { *out << '"' << c.body << '"'; }

class AbcSpanTest : public AbcReaderTest, public ::testing::WithParamInterface<AttachmentCase> {};

// Slurs, ties, tuplets and endings span their columns, 18 pixels a column; a
// tuplet's bracket reaches into its last note's column, so that the last
// note is played as part of the tuplet.
TEST_P(AbcSpanTest, AddsTheSpanningAttachment) {
  ClearPending();
  std::unique_ptr<KLineObj> line = Read(GetParam().body);
  ASSERT_NE(line, nullptr);
  ASSERT_EQ(line->GetAttachmentCount(), 1) << GetParam().body;
  const auto* span = static_cast<const KExtendedObj*>(line->GetAttachments()->GetHead());
  EXPECT_EQ(span->GetKind(), GetParam().kind);
  EXPECT_EQ(span->GetPos(), GetParam().pos);
  EXPECT_EQ(span->GetSize().cx, GetParam().width);
  EXPECT_EQ(std::string(span->GetText().View()), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Spans, AbcSpanTest,
    ::testing::Values(AttachmentCase{"(ABc)", KExtendedObj::kSlur, 0, 36, ""},
                      AttachmentCase{"A-A", KExtendedObj::kTie, 0, 18, ""},
                      AttachmentCase{"B (3ABc d", KExtendedObj::kNumberedBracket, 1, 50, "-3"},
                      AttachmentCase{"A [1 B c :|", KExtendedObj::kFirstBracketLine, 1, 36, "1."},
                      // An ending runs over plain bar lines to the repeat sign.
                      AttachmentCase{"A [1 B | c :|", KExtendedObj::kFirstBracketLine, 1, 54, "1."},
                      // A tie at the line's end reaches past its closing bar.
                      AttachmentCase{"A B-|", KExtendedObj::kTie, 1, 36, ""}));

TEST_F(AbcReaderTest, GraceNotesAndDecorations) {
  ClearPending();
  std::unique_ptr<KLineObj> line = Read("{g}A {ef}B .c");
  // A single grace note takes code 13; a grace group takes code 4 in small notes;
  // the staccato dot stands at its note's row.
  EXPECT_EQ(DumpColumns(*AsStaff(line)), "0:13/13 1:19/0 2:15/4 3:14/4 4:18/0 5:17/1,17/52");
}

TEST_F(AbcReaderTest, ADotBeforeATieOrSlurDrawsItDottedAndMarksNoStaccato) {
  ClearPending();
  std::unique_ptr<KLineObj> line = Read("c.-c .(de)");
  const std::string columns = DumpColumns(*AsStaff(line));
  EXPECT_EQ(columns.find("/52"), std::string::npos) << columns;
  // The arcs are still there: the tie and the slur.
  EXPECT_EQ(line->GetAttachmentCount(), 2);
}

TEST_F(AbcReaderTest, TextOnlyLineGivesTheTempoMarkBack) {
  GetAbcReaderState().titlePending = GetAbcReaderState().meterPending = false;
  std::unique_ptr<KLineObj> line = Read("\"Intro\"");
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(line->GetAttachmentCount(), 0);
  EXPECT_TRUE(GetAbcReaderState().tempoPending);
  EXPECT_TRUE(GetAbcReaderState().meterPending);
}

}  // namespace

namespace {

// The stem values of one voice along a line's note columns.
std::string Stems(KListLine& line, int voice) {
  std::string out;
  for (POSITION node = line.GetObjList()->GetHeadPosition(); node != nullptr;) {
    const KChord* column = AsChord(line.GetObjList()->GetNext(node));
    if (column != nullptr) out += std::to_string(column->GetVoiceStem(voice)) + " ";
  }
  return out;
}

// Notes written together are beamed together, stems up or down alike.
TEST_F(AbcReaderTest, NotesWrittenTogetherAreBeamedWhicheverWayTheirStemsPoint) {
  ClearPending();
  std::unique_ptr<KLineObj> up = Read("GAB");
  std::unique_ptr<KLineObj> down = Read("def");
  std::unique_ptr<KLineObj> apartUp = Read("G A B");
  std::unique_ptr<KLineObj> apartDown = Read("d e f");
  ASSERT_NE(up, nullptr);
  ASSERT_NE(down, nullptr);
  // A beamed column carries its beam in its stem value; a lone note has none.
  auto beamed = [](const std::string& stems) { return (" " + stems).find(" 0 ") == std::string::npos; };
  EXPECT_TRUE(beamed(Stems(*up->AsListLine(), 1))) << Stems(*up->AsListLine(), 1);
  EXPECT_TRUE(beamed(Stems(*down->AsListLine(), 0))) << Stems(*down->AsListLine(), 0);
  EXPECT_EQ(Stems(*apartUp->AsListLine(), 1), "0 0 0 ");
  EXPECT_EQ(Stems(*apartDown->AsListLine(), 0), "0 0 0 ");
}

}  // namespace

namespace {

// "line:kind@pos/width" of the ties and slurs of each line read, separated by blanks.
std::string ArcsOf(const std::vector<std::unique_ptr<KLineObj>>& lines) {
  std::string out;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    CObList* list = lines[i]->GetAttachments();
    for (POSITION node = list->GetHeadPosition(); node != nullptr;) {
      const auto* arc = static_cast<const KExtendedObj*>(list->GetNext(node));
      if (arc->GetKind() != KExtendedObj::kTie && arc->GetKind() != KExtendedObj::kSlur) continue;
      if (!out.empty()) out += ' ';
      out += std::to_string(i) + ':' + (arc->GetKind() == KExtendedObj::kTie ? "tie" : "slur") + '@' +
             std::to_string(arc->GetPos()) + '/' + std::to_string(arc->GetSize().cx);
    }
  }
  return out;
}

struct ArcCase {
  const char* name;
  const char* abc;   // music lines, one per "\n"
  const char* arcs;  // ArcsOf the lines read
};

class AbcArcOverLinesTest : public AbcReaderTest, public ::testing::WithParamInterface<ArcCase> {};

// A slur or tie opened on one text line and closed on the next is kept.
TEST_P(AbcArcOverLinesTest, KeepsTheArc) {
  ClearPending();
  EXPECT_EQ(ArcsOf(ReadAbcText(GetParam().abc)), GetParam().arcs) << GetParam().abc;
}

INSTANTIATE_TEST_SUITE_P(Arcs, AbcArcOverLinesTest,
                         ::testing::Values(
                             // Over a line break the slur reaches past the first line's end and
                             // goes on from the next line's first note to the note that closes it.
                             ArcCase{"slur over a line break", "A (B c\nd e) f", "0:slur@1/36 1:slur@0/18"},
                             // A slur opened on the line's last note shows on the next line only.
                             ArcCase{"slur from the last note of a line", "A B (c\nd e) f", "1:slur@0/18"},
                             // A line ending in "\" goes on in the same staff line, with its arcs.
                             ArcCase{"slur over a continued line", "A (B \\\nc) d", "0:slur@1/18"},
                             ArcCase{"tie over a continued line", "A B- \\\nB c", "0:tie@1/18"}),
                         [](const auto& info) { return viewtest::CaseName(info.param.name); });

}  // namespace
