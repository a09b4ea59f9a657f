// Header fields: the key, meter, unit length and tempo fields change the
// reader's state; the information fields become text lines.
#include <gtest/gtest.h>

#include <vector>

#include "AbcReaderTestSupport.h"

namespace {

struct KeyCase {
  const char* field;
  int key;
};

class AbcKeyFieldTest : public AbcReaderTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(AbcKeyFieldTest, SetsTheKeyIndex) {
  GetAbcReaderState().key = 9;
  EXPECT_EQ(Read(GetParam().field), nullptr);
  EXPECT_EQ(GetAbcReaderState().key, GetParam().key) << GetParam().field;
}

INSTANTIATE_TEST_SUITE_P(
    Keys, AbcKeyFieldTest,
    ::testing::Values(KeyCase{"K:Am", 0}, KeyCase{"K:A minor", 0}, KeyCase{"K:Aaeo", 0}, KeyCase{"K:Amaj", 6},
                      KeyCase{"K:Cb", 15}, KeyCase{"K:H", 0}, KeyCase{"K:G", 2}, KeyCase{"K:Em", 2},
                      KeyCase{"K:F#", 12}, KeyCase{"K:Ddor", 0}, KeyCase{"K:Bbmix", 7},
                      KeyCase{"K:Gb lydian", 14}, KeyCase{"K:D ^c_b", 4}, KeyCase{"K: G", 2},
                      // Modes by their abbreviations and whole names.
                      KeyCase{"K:D mixolydian", 2}, KeyCase{"K:D Mixolydian", 2}, KeyCase{"K:Dmix", 2},
                      KeyCase{"K:Dphr", 5}, KeyCase{"K:D Phrygian", 5}, KeyCase{"K:E dorian", 4},
                      KeyCase{"K:ADor", 2}, KeyCase{"K:Glyd", 4}, KeyCase{"K:F Lydian", 0},
                      KeyCase{"K:Bloc", 0}, KeyCase{"K:F#m", 6}, KeyCase{"K:Bbmaj", 5}, KeyCase{"K:Cion", 0},
                      KeyCase{"K:Cbmajor", 15},
                      // Clauses are not modes.
                      KeyCase{"K:C middle=d", 0}, KeyCase{"K:G clef=bass", 2}, KeyCase{"K:Am clef=treble", 0},
                      // A clef set on another staff line names no key: the key stays.
                      KeyCase{"K:alto4", 9}, KeyCase{"K:alto1", 9}, KeyCase{"K:bass4", 9},
                      KeyCase{"K:treble2", 9},
                      // Explicit accidentals choose the key that holds the most of them.
                      KeyCase{"K:D =c", 2}, KeyCase{"K:G ^c", 4}, KeyCase{"K:D exp _b _e ^f", 5},
                      KeyCase{"K:C^f^c^a", 4}, KeyCase{"K:HP", 0}, KeyCase{"K:Hp", 4}, KeyCase{"K:none", 0}));

struct MeterCase {
  std::vector<const char*> fields;
  int meterCode;
  int unitLength;
};

class AbcMeterFieldTest : public AbcReaderTest, public ::testing::WithParamInterface<MeterCase> {};

TEST_P(AbcMeterFieldTest, SetsMeterAndUnitLength) {
  for (const char* field : GetParam().fields) EXPECT_EQ(Read(field), nullptr);
  EXPECT_EQ(GetAbcReaderState().meterCode, GetParam().meterCode);
  EXPECT_EQ(GetAbcReaderState().unitLength, GetParam().unitLength);
}

INSTANTIATE_TEST_SUITE_P(
    Meters, AbcMeterFieldTest,
    ::testing::Values(MeterCase{{"M:6/8"}, 608, 240}, MeterCase{{"M:2/4"}, 204, 120},
                      MeterCase{{"M:3/4"}, 304, 240}, MeterCase{{"M:6/8", "L:1/16"}, 608, 120},
                      // A given unit length stays; so does the header's once the key ends it.
                      MeterCase{{"L:1/16", "M:6/8"}, 608, 120}, MeterCase{{"L:1/16", "M:C"}, -404, 120},
                      MeterCase{{"M:2/4", "K:G", "M:3/4"}, 304, 120}, MeterCase{{"K:G", "M:2/4"}, 204, 240},
                      MeterCase{{"L:1/8", "X:2", "M:2/4"}, 204, 120}, MeterCase{{"M:12/8"}, 1208, 240},
                      MeterCase{{"M:C"}, -404, 240}, MeterCase{{"M:C|"}, -202, 240},
                      MeterCase{{"M:10/8"}, 404, 240}, MeterCase{{"L:1/4", "M:waltz"}, 404, 480},
                      MeterCase{{"M:waltz"}, 404, 240}, MeterCase{{"M:/4"}, 404, 240},
                      MeterCase{{"L:1/2"}, 404, 960}, MeterCase{{"L:1/64"}, 404, 30},
                      MeterCase{{"L:3/5"}, 404, 240}));

struct TempoCase {
  std::vector<const char*> fields;
  int tempo;
  int tempoUnit;
};

class AbcTempoFieldTest : public AbcReaderTest, public ::testing::WithParamInterface<TempoCase> {};

TEST_P(AbcTempoFieldTest, SetsTempoAndBeat) {
  GetAbcReaderState().tempoPending = false;
  for (const char* field : GetParam().fields) EXPECT_EQ(Read(field), nullptr);
  EXPECT_EQ(GetAbcReaderState().tempo, GetParam().tempo);
  EXPECT_EQ(GetAbcReaderState().tempoUnit, GetParam().tempoUnit);
  EXPECT_TRUE(GetAbcReaderState().tempoPending);
}

INSTANTIATE_TEST_SUITE_P(
    Tempos, AbcTempoFieldTest,
    ::testing::Values(TempoCase{{"Q:1/4=100"}, 100, 480},
                      // The beat keeps its length: a dotted quarter.
                      TempoCase{{"Q:3/8=60"}, 60, 720}, TempoCase{{"Q:3/8 = 100"}, 100, 720},
                      // A number alone counts quarters, whatever the unit length.
                      TempoCase{{"Q:180"}, 180, 480}, TempoCase{{"L:1/16", "Q:100"}, 100, 480},
                      // A tempo out of range leaves the field unread.
                      TempoCase{{"Q:1/8=600"}, 120, 480}, TempoCase{{"Q:0"}, 120, 480},
                      // "C" is the unit length, "C3" three of them.
                      TempoCase{{"Q:C3=90"}, 90, 720}, TempoCase{{"M:2/4", "Q:C=100"}, 100, 120},
                      // Words in quotes name the tempo; the numbers are read around them.
                      TempoCase{{"Q:\"Lento\" 3/8=40"}, 40, 720}, TempoCase{{"Q:1/4 1/8=40"}, 40, 720},
                      TempoCase{{"L:1/16", "Q:x=99999999999"}, 120, 480},
                      TempoCase{{"Q:1/2=499"}, 499, 960}));

struct TextFieldCase {
  const char* field;
  const char* text;  // null: nothing is returned
};

class AbcTextFieldTest : public AbcReaderTest, public ::testing::WithParamInterface<TextFieldCase> {};

TEST_P(AbcTextFieldTest, BecomesATextLineOrNothing) {
  std::unique_ptr<KLineObj> line = Read(GetParam().field);
  if (GetParam().text == nullptr) {
    EXPECT_EQ(line, nullptr) << GetParam().field;
    return;
  }
  auto* text = dynamic_cast<KStrLine*>(line.get());
  ASSERT_NE(text, nullptr) << GetParam().field;
  EXPECT_EQ(std::string(text->GetText().View()), GetParam().text);
  EXPECT_EQ(text->GetFontIndex(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, AbcTextFieldTest,
    ::testing::Values(TextFieldCase{"A:Kerry", "From: Kerry"},
                      TextFieldCase{"B:Tunes", "From the book: Tunes"},
                      TextFieldCase{"C:Trad.", "Written by: Trad."},
                      TextFieldCase{"O:Irish", "Origin: Irish"}, TextFieldCase{"P:A", "Part: A"},
                      TextFieldCase{"P:AABB", "Playing order: AABB"}, TextFieldCase{"R:reel", "Rhythm: reel"},
                      TextFieldCase{"S: Joe", "Source:  Joe"}, TextFieldCase{"Z:me", "Transcription: me"},
                      TextFieldCase{"N:a note", "a note"}, TextFieldCase{"H:x % comment", "x"},
                      TextFieldCase{"X:1", nullptr}, TextFieldCase{"w:la la", nullptr},
                      TextFieldCase{"% T:comment", nullptr}, TextFieldCase{"\\T:x", nullptr},
                      TextFieldCase{"   ", nullptr}, TextFieldCase{"", nullptr}));

TEST_F(AbcReaderTest, TitleIsCentredAndMakesTheMeterDue) {
  GetAbcReaderState().titlePending = false;
  std::unique_ptr<KLineObj> line = Read("T:Song");
  auto* text = dynamic_cast<KStrLine*>(line.get());
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(std::string(text->GetText().View()), std::string(72, ' ') + "Song");
  EXPECT_TRUE(GetAbcReaderState().titlePending);

  // A title too long to centre gets no blanks.
  const std::string longTitle(90, 'x');
  line = Read(("T:" + longTitle).c_str());
  EXPECT_EQ(std::string(static_cast<KStrLine*>(line.get())->GetText().View()), longTitle);
}

}  // namespace

namespace {

struct TuneHeaderCase {
  const char* name;
  const char* text;
  bool tune;
};

void PrintTo(const TuneHeaderCase& c, std::ostream* out) { *out << c.name; }

class AbcTuneHeader : public ::testing::TestWithParam<TuneHeaderCase> {};

TEST_P(AbcTuneHeader, IsFoundOnlyWhereALineStartsWithAReferenceOrAKey) {
  EXPECT_EQ(HasAbcTuneHeader(GetParam().text), GetParam().tune) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, AbcTuneHeader,
    ::testing::Values(TuneHeaderCase{"ReferenceNumber", "X:1\nT:Tune\nK:G\nGAB|", true},
                      TuneHeaderCase{"KeyAloneAfterBlanks", "%comment\r\n  K:D\r\nDEF|", true},
                      TuneHeaderCase{"KeyOnTheLastLineWithoutAnEnd", "abc\nK:G", true},
                      TuneHeaderCase{"ProseMentioningAKey", "Play this in K:G please\nabc def", false},
                      TuneHeaderCase{"OnlyATitle", "T:Tune\nGAB|", false},
                      TuneHeaderCase{"Empty", "", false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
