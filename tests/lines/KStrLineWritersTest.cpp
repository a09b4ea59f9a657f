// The plain-text and ABC writers of a text line and its translations into
// other line kinds; the ABC reader and the chord-name recogniser of the
// translation code are scripted.

#include <string>
#include <vector>

#include "StrLineTestSupport.h"
#include "lines/KRhythmLine.h"
#include "model/KRhythmObj.h"

namespace {

using namespace strline;

// Records what the text line hands over and answers a line of the asked kind.
class ScriptedTranslator : public KTextLineTranslator {
 public:
  std::unique_ptr<KLineObj> ReadAbc(const KStrLine& line, int option) override {
    calls.push_back("abc " + std::string(line.GetText().View()) + " " + std::to_string(option));
    return std::make_unique<KLineObj>(0, 0, KLineObj::kNoGroup, 0, 0);
  }
  std::unique_ptr<KLineObj> RecognizeChordNames(const KStrLine& line, int source, int option) override {
    calls.push_back("chords " + std::string(line.GetText().View()) + " " + std::to_string(source) + " " +
                    std::to_string(option));
    return std::make_unique<KLineObj>(4, 0, KLineObj::kNoGroup, 0, 0);
  }
  std::vector<std::string> calls;
};

class KStrLineWriters : public StrLineTest {
 protected:
  KStrLineWriters() { SetTextLineTranslator(&translator); }
  ScriptedTranslator translator;
};

constexpr const char* kRhythmFont = "16,0,0,0,400,0,0,0,0,3,2,1,34,Arial";

TEST_F(KStrLineWriters, WriteTextGivesTheColumnRange) {
  const std::tuple<int, int, const char*> cases[] = {
      {0, 5, "hello"}, {6, 11, "world"}, {0, 40, "hello world"}, {6, 40, "world"}, {20, 30, ""},
      {-5, 3, "hel"},  {5, 2, ""},
  };
  KStrLine line("hello world", 1);
  for (const auto& [from, to, text] : cases) {
    const std::optional<CString> written = line.WriteText(from, to, 0);
    ASSERT_TRUE(written.has_value());
    EXPECT_EQ(*written, text) << from << ".." << to;
  }
}

TEST_F(KStrLineWriters, WriteAbcWritesATitleOrANote) {
  const std::tuple<const char*, DWORD, const char*> cases[] = {
      {"  My Song  ", KStrLine::kFlagTitle, "X:\r\nT:My Song\r\n"},
      {"", 0, "N:\r\n"},
      {" a note ", 0, "N:a note\r\n"},
      {"   ", KStrLine::kFlagTitle, "X:\r\nT:\r\n"},
      {"x", KStrLine::kFlagPrintAsScreen, "N:x\r\n"},
  };
  for (const auto& [text, flags, abc] : cases) {
    KStrLine line(text, 1);
    line.SetFlagWord(flags);
    const std::optional<CString> written = line.WriteAbc();
    ASSERT_TRUE(written.has_value());
    EXPECT_EQ(*written, abc) << '"' << text << '"';
  }
}

TEST_F(KStrLineWriters, TranslationToAStaffReadsAbcOnlyDuringTheCommand) {
  struct Case {
    int translating;
    const char* text;
    bool read;
  };
  const Case cases[] = {
      {1, "  ABC|  ", true},  {1, "z2 z2", true}, {1, "\\=^", true}, {1, "|:", true},     {0, "ABC", false},
      {1, "%comment", false}, {1, "   ", false},  {1, "", false},    {1, "Hello", false},
  };
  for (const Case& c : cases) {
    translator.calls.clear();
    g_abcTranslating = c.translating;
    KStrLine line(c.text, 1);
    std::unique_ptr<KLineObj> staff = line.TranslateTo(0, 0, 0, 0, 0, CString(kRhythmFont), 0);
    EXPECT_EQ(staff != nullptr, c.read) << c.text;
    const std::vector<std::string> expected =
        c.read ? std::vector<std::string>{"abc " + std::string(c.text) + " 0"} : std::vector<std::string>{};
    EXPECT_EQ(translator.calls, expected) << c.text;
    EXPECT_EQ(line.GetText(), c.text);
  }
}

TEST_F(KStrLineWriters, OtherKindsGiveNoLine) {
  g_abcTranslating = 1;
  for (int kind : {1, 2, 5, 6, 9, 15, 16, 17, -1}) {
    KStrLine line("ABC", 1);
    EXPECT_EQ(line.TranslateTo(0, kind, 0, 0, 0, CString(kRhythmFont), 0), nullptr) << kind;
  }
  EXPECT_TRUE(translator.calls.empty());
}

TEST_F(KStrLineWriters, ChordNamesGoToTheRecogniser) {
  KStrLine line("Am  G7  C", 1);
  std::unique_ptr<KLineObj> chords = line.TranslateTo(7, 4, 0, 0, 0, CString(), 0);
  ASSERT_NE(chords, nullptr);
  EXPECT_EQ(chords->GetType(), 4);
  EXPECT_EQ(translator.calls, std::vector<std::string>{"chords Am  G7  C 7 0"});
}

TEST_F(KStrLineWriters, WithoutATranslatorNothingIsRead) {
  SetTextLineTranslator(nullptr);
  g_abcTranslating = 1;
  KStrLine line("ABC", 1);
  EXPECT_EQ(line.TranslateTo(0, 0, 0, 0, 0, CString(), 0), nullptr);
  EXPECT_EQ(line.TranslateTo(0, 4, 0, 0, 0, CString(), 0), nullptr);
}

TEST_F(KStrLineWriters, RhythmLineHoldsTheWholeTextInOneItem) {
  KStrLine line("  la  la W  ", 1);
  std::unique_ptr<KLineObj> result = line.TranslateTo(0, 3, 0, 0, 0, CString(kRhythmFont), 0);
  auto* rhythm = dynamic_cast<KRhythmLine*>(result.get());
  ASSERT_NE(rhythm, nullptr);
  EXPECT_EQ(rhythm->GetFontText(), kRhythmFont);
  ASSERT_EQ(rhythm->GetObjList()->GetCount(), 1);
  auto* item = dynamic_cast<KRhythmObj*>(rhythm->GetObjList()->GetHead());
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->GetPos(), 0);
  EXPECT_EQ(item->GetText(), "  la  la W  ");
  EXPECT_EQ(line.GetText(), "  la  la W  ");
  EXPECT_TRUE(translator.calls.empty());
}

}  // namespace
