// Recognition of chord names in a text: names after blanks, looked up in the
// chord-string library's chord blocks, become diagrams at the columns of the
// names; a damaged library gives message 7052 and no line.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "chords/ChordNameSources.h"
#include "common/RecentChords.h"
#include "lines/KChordPicLine.h"
#include "lines/KChordPicLineDefaults.h"
#include "model/KChordPic.h"
#include "model/LineTestSupport.h"
#include "translate/ChordNameRecognizer.h"

namespace {

// A chord-string library held in a map: chord blocks built from type names.
class FakeLibrary : public KChordNameSources {
 public:
  int LoadChordStringDll() override { return loaded ? 1 : 0; }
  int LoadChordDllString(int id, CString& out) override {
    const auto it = strings.find(id);
    if (it == strings.end()) return 0;
    out = it->second;
    return out.GetLength();
  }
  int CountUserVariations(const CString&, const CString&, const CString&) override { return 0; }
  CString GetUserShape(const CString&, const CString&, const CString&, int) override { return {}; }

  // The block of a pitch class (Ab = 0) holding the types in order, each with
  // the shape "<pitch class letter><type index>" padded to 7, two variations.
  void AddBlock(int pitchClass, const std::vector<std::string>& types) {
    int id = 12020 + 1000 * pitchClass;
    for (std::size_t n = 0; n < types.size(); ++n) {
      std::string name = types[n];
      name.resize(17, ' ');
      std::string text = std::string(n + 1 < types.size() ? "1" : "0") + "A " + name;
      text += ShapeOf(pitchClass, n) + " " + "xxxxxxx" + " ";
      strings[id] = CString(std::string_view(text));
      id += 10;
    }
    strings[11835 + 'A'] = "spelling";
  }
  static std::string ShapeOf(int pitchClass, std::size_t n) {
    std::string shape = std::to_string(pitchClass) + "-" + std::to_string(n);
    shape.resize(7, '.');
    return shape;
  }

  bool loaded = true;
  std::map<int, CString> strings;
};

constexpr int kA = 1, kBb = 2, kC = 4, kCSharp = 5, kD = 6, kG = 11;

class ChordNameRecognizerTest : public LineTest {
 protected:
  ChordNameRecognizerTest() {
    ResetChordPicLineDefaults();
    ClearRecentChords();
    SetChordNameSources(&library);
    library.AddBlock(kA, {"(major)", "m"});
    library.AddBlock(kBb, {"(major)"});
    library.AddBlock(kC, {"(major)", "7", "maj7"});
    library.AddBlock(kCSharp, {"m"});
    library.AddBlock(kD, {"(major)", "m"});
    library.AddBlock(kG, {"(major)"});
  }
  ~ChordNameRecognizerTest() override {
    ResetChordNameSources();
    ClearRecentChords();
    ResetChordPicLineDefaults();
  }

  // "column:name:shape" per diagram, or "<none>".
  static std::string Dump(const std::unique_ptr<KChordPicLine>& line) {
    if (!line) return "<none>";
    std::string out;
    for (POSITION node = line->GetObjList()->GetHeadPosition(); node != nullptr;) {
      const auto* pic = dynamic_cast<const KChordPic*>(line->GetObjList()->GetNext(node));
      if (pic == nullptr) continue;
      if (!out.empty()) out += ' ';
      out += std::to_string(pic->GetPos()) + ':' + std::string(pic->GetName().View()) + ':' +
             std::string(pic->GetShape().View()) + ':' + std::to_string(pic->GetSetting());
    }
    return out;
  }

  FakeLibrary library;
};

TEST_F(ChordNameRecognizerTest, RecognisesNamesThatFollowBlanks) {
  const struct {
    const char* text;
    const char* expected;
  } cases[] = {
      // Names two blanks apart are closer than their diagrams are wide: each
      // diagram starts after the one before it (six columns of a 6-string diagram).
      {"Am  G  C7", "0:Am:1-1....:1 6:G:11-0...:1 12:C7:4-1....:1"},
      {"C", "0:C:4-0....:1"},
      {"  C#m Bb", "2:C#m:5-0....:1 8:Bb:2-0....:1"},
      {"xAm", "<none>"},
      {"C/G", "0:C/G:0322222:1"},  // a slash bass joins the name, the shape takes it
      {"C/ G", "3:G:11-0...:1"},   // "/" alone is no type of C
      {"Cmaj7 Dzz Dm", "0:Cmaj7:4-2....:1 10:Dm:6-1....:1"},  // Dzz is unknown
      {"Cb E# C", "6:C:4-0....:1"},                           // not roots of the library
      {"", "<none>"},
      {"lyrics without names", "<none>"},
      {"A \xC3G", "0:A:1-0....:1"},  // G after a non-blank byte
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(Dump(RecognizeChordNamesInText(c.text, false)), c.expected);
  }
  EXPECT_TRUE(m_ui.Messages().empty());
}

TEST_F(ChordNameRecognizerTest, NewLineHasStandardTuningAndTheNameFont) {
  g_defaultChordNameFontText = "-16,0,255,0,700,0,0,0,0,3,2,1,34,Arial";
  const auto line = RecognizeChordNamesInText("G", false);
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(line->GetTuning(), CString(KChordPicLine::kStandardTuning));
  EXPECT_EQ(line->GetNameFontText(), g_defaultChordNameFontText);
  // Its diagrams show no number beside them until the score numbers them.
  const auto* diagram = AsChordPic(line->GetObjAt(0, 0));
  ASSERT_NE(diagram, nullptr);
  EXPECT_EQ(diagram->GetValue(), 1);
}

TEST_F(ChordNameRecognizerTest, ColumnsComeFromTheMeasuredTextAndTheOffset) {
  const struct {
    const char* text;
    bool keep;
    int pixelsPerChar;
    int offset;
    const char* columns;
  } cases[] = {
      {"Am  G", false, 16, 3, "3 11"},    // x / 8 + offset
      {"C       D", false, 8, 0, "0 8"},  // names as far apart as the text has them
      {"A G C", false, 0, 0, "0 6 12"},   // unmeasurable names follow each other's diagrams
      {"C D", false, 8, 10, "10 16"},     // a diagram never covers the one before it
      {"C D", true, 8, 10, "10 16"},      // D starts before C's column: placed after it
      {"C        D", true, 8, 1, "1 10"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    ChordNameLayout layout;
    layout.xOfPosition = [&](int position) { return position * c.pixelsPerChar; };
    layout.columnOffset = c.offset;
    const auto line = RecognizeChordNamesInText(c.text, c.keep, layout);
    ASSERT_NE(line, nullptr);
    std::string columns;
    for (POSITION node = line->GetObjList()->GetHeadPosition(); node != nullptr;) {
      if (!columns.empty()) columns += ' ';
      columns += std::to_string(static_cast<KPosObj*>(line->GetObjList()->GetNext(node))->GetPos());
    }
    EXPECT_EQ(columns, c.columns);
  }
}

TEST_F(ChordNameRecognizerTest, RecognisedChordsJoinTheRecentChordsUnlessAliases) {
  ChordNameLayout layout;
  layout.isAlias = [](const CString& name) { return name == CString("C7"); };
  ASSERT_NE(RecognizeChordNamesInText("Am G C7", false, layout), nullptr);
  ASSERT_EQ(g_RecentChordCount, 2);
  EXPECT_EQ(g_RecentChords[0].text1, CString("G "));
  EXPECT_EQ(g_RecentChords[0].text2, CString("(major)"));
  EXPECT_EQ(g_RecentChords[1].text1, CString("A "));
  EXPECT_EQ(g_RecentChords[1].text2, CString("m"));
  EXPECT_EQ(g_RecentChords[1].text0, CString(KChordPicLine::kStandardTuning));
  EXPECT_EQ(g_RecentChords[1].text3, CString("spelling"));
  // A slash chord is remembered under its type: the dialog lists no "/G".
  ASSERT_NE(RecognizeChordNamesInText("Am/G", false, layout), nullptr);
  EXPECT_EQ(g_RecentChords[0].text1, CString("A "));
  EXPECT_EQ(g_RecentChords[0].text2, CString("m"));
}

TEST_F(ChordNameRecognizerTest, DamagedLibraryGivesMessageAndChangesNothing) {
  const struct {
    const char* broken;  // what is damaged in the D block
    const char* expected;
  } cases[] = {
      {"type",
       "There is no chord in the Chord Dictionary in this tuning which begins with Dm. (Error CCR-1)"},
      {"spelling",
       "There is no chord in the Chord Dictionary in this tuning which begins with Dm. (Error CCR-2)"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.broken);
    library.AddBlock(kD, {"(major)", "m"});
    const int second = 12020 + 1000 * kD + 10;
    if (std::string(c.broken) == "type") {
      library.strings.erase(second);
    } else {
      std::string text(library.strings[second].View());
      text[1] = 'Z';
      library.strings[second] = CString(std::string_view(text));
    }
    m_ui.ClearRecords();
    ClearRecentChords();
    EXPECT_EQ(RecognizeChordNamesInText("G Dm", false), nullptr);
    ASSERT_EQ(m_ui.Messages().size(), 1u);
    EXPECT_EQ(m_ui.Messages()[0].id, 7052u);
    EXPECT_EQ(m_ui.Messages()[0].text, c.expected);
    EXPECT_EQ(g_RecentChordCount, 0);
  }
}

TEST_F(ChordNameRecognizerTest, MissingLibraryGivesNoLine) {
  library.loaded = false;
  EXPECT_EQ(RecognizeChordNamesInText("Am G", false), nullptr);
  EXPECT_TRUE(m_ui.Messages().empty());
}

TEST_F(ChordNameRecognizerTest, TruncatedTypeStringsAndGarbageTextNeverCrash) {
  const int c = 12020 + 1000 * kC;
  library.strings[c] = "9";        // too short to name a spelling
  library.strings[c + 10] = "1A";  // no name, no shape; its step leads nowhere
  library.strings[c + 90] = "1A C";
  library.strings[c + 100] = "0A maj7";  // a name but no shape
  EXPECT_EQ(RecognizeChordNamesInText("C Cmaj7 C7", false), nullptr);
  ASSERT_EQ(m_ui.Messages().size(), 1u);
  EXPECT_NE(m_ui.Messages()[0].text.find("(Error CCR-2)"), std::string::npos);

  library.strings[c] = "1A C";  // now the chain runs into the short strings
  std::string garbage;
  for (int i = 0; i < 600; ++i) garbage += static_cast<char>((i * 37) % 256 == 0 ? ' ' : (i * 37) % 256);
  for (const std::string& text : {std::string("C maj7"), garbage, std::string("A   ")}) {
    m_ui.ClearRecords();
    const auto line = RecognizeChordNamesInText(CString(std::string_view(text)), true);
    if (line) {
      EXPECT_GT(line->GetObjList()->GetCount(), 0);
    }
  }
}

}  // namespace
