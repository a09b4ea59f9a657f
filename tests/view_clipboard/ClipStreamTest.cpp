// The word stream's reader: a damaged or foreign stream is refused whole,
// and a paste of one changes nothing in the score.

#include "ClipTestSupport.h"

namespace {

using cliptest::ClipFixture;
using cliptest::StoreDocument;

// A valid two-line stream: a staff line with one column and a text line.
KClipData SampleData() {
  KClipData data;
  data.leftX = 0;
  data.rightX = 32000;
  data.firstColumn = 0;
  data.lastColumn = 32000;
  ClipLine staff;
  staff.family = ClipFamily::kStaff;
  staff.type = 0;
  staff.label = "Flute";
  staff.columns.push_back({2, 8, 0, 0, {{14 + 256 * 8, 0}}});
  staff.attachments.push_back({2, 14, 1, 3, 4, 40, 8, 0, 0, 5, 6, 7, 8, "", "", 0, "", 0});
  data.lines.push_back(staff);
  ClipLine text;
  text.family = ClipFamily::kText;
  text.type = 5;
  text.text = CString("Caf\xe9");
  data.lines.push_back(text);
  return data;
}

TEST(ClipStreamReader, ReadsBackWhatWasWritten) {
  const KClipData data = SampleData();
  const KClipStream stream = WriteClipStream(data);
  const std::optional<KClipData> read = ReadClipStream(KClipStream::FromBytes(stream.ToBytes()));
  ASSERT_TRUE(read.has_value());
  EXPECT_EQ(*read, data);
}

TEST(ClipStreamReader, HighBytesTravelAsNegativeWords) {
  KClipStream stream;
  stream.PutText(CString("\xe9"));
  ASSERT_EQ(stream.Size(), 2);
  EXPECT_EQ(stream.Words()[1], static_cast<std::int16_t>(-23));
}

struct DamageCase {
  const char* name;
  // Changes the sample stream's words.
  void (*damage)(std::vector<std::int16_t>& words);
};

void PrintTo(const DamageCase& c, std::ostream* os) { *os << c.name; }

class DamagedStreamTest : public ClipFixture, public ::testing::WithParamInterface<DamageCase> {};

TEST_P(DamagedStreamTest, IsRefusedAndTheScoreIsUnchanged) {
  std::vector<std::int16_t> words = WriteClipStream(SampleData()).Words();
  GetParam().damage(words);
  const KClipStream damaged{words};
  EXPECT_FALSE(ReadClipStream(damaged).has_value());

  AddText("First");
  Add(viewtest::MakeStaff({{0, 14}}));
  Layout(0, 0);
  const std::vector<BYTE> before = StoreDocument(doc);
  PutStream(damaged);
  view->PasteSerializedLines(viewclip::kPasteInsert, nullptr, 0, -1);
  EXPECT_TRUE(StoreDocument(doc) == before);
  ASSERT_FALSE(ui.Messages().empty());
  EXPECT_EQ(ui.Messages().back().id, viewclip::kMsgNoPasteableData);

  // An undo snapshot is read the same way.
  view->PasteSerializedLines(viewclip::kPasteInsert, &damaged, 0, -1);
  EXPECT_TRUE(StoreDocument(doc) == before);
}

const DamageCase kDamages[] = {
    {"TruncatedInTheMiddle", [](std::vector<std::int16_t>& w) { w.resize(w.size() / 2); }},
    {"WithoutItsEndMarker", [](std::vector<std::int16_t>& w) { w.pop_back(); }},
    {"NegativeLineCount", [](std::vector<std::int16_t>& w) { w[2] = -2; }},
    {"LineCountBeyondTheStream", [](std::vector<std::int16_t>& w) { w[2] = 3000; }},
    {"NegativeLabelLength", [](std::vector<std::int16_t>& w) { w[11] = -5; }},
    {"LabelLongerThanTheStream", [](std::vector<std::int16_t>& w) { w[11] = 32000; }},
    {"UnknownFamily", [](std::vector<std::int16_t>& w) { w[5] = 7; }},
    {"TypeOfAnotherFamily", [](std::vector<std::int16_t>& w) { w[6] = 3; }},
    {"TooManyEntriesInAColumn", [](std::vector<std::int16_t>& w) { w[26] = 200; }},
    {"ForeignBytes",
     [](std::vector<std::int16_t>& w) {
       for (size_t i = 0; i < w.size(); ++i) w[i] = static_cast<std::int16_t>(0x4141 + i);
     }},
    {"Empty", [](std::vector<std::int16_t>& w) { w.clear(); }},
};

INSTANTIATE_TEST_SUITE_P(Streams, DamagedStreamTest, ::testing::ValuesIn(kDamages),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
