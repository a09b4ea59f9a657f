// Plain-text documents: files are read as UTF-8 when they are valid UTF-8,
// else as Windows-1252; any line ends are taken, and a saved file keeps the
// form it came in; what opening a document does with its text follows the
// text-file preferences and how it was opened.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/TempFolder.h"
#include "translate/KTextDoc.h"
#include "translate/TextFileCodec.h"

namespace {

struct DecodeCase {
  const char* name;
  std::string bytes;
  std::string text;  // UTF-8
  bool utf8;
  bool crlf;
  bool bom;
};

void PrintTo(const DecodeCase& c, std::ostream* out) { *out << c.name; }

class TextFileDecoding : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(TextFileDecoding, ReadsTheTextAndRemembersItsForm) {
  const DecodeCase& c = GetParam();
  const std::vector<std::uint8_t> bytes(c.bytes.begin(), c.bytes.end());
  const KDecodedText decoded = DecodeTextFile(bytes);
  EXPECT_EQ(decoded.text, c.text);
  EXPECT_EQ(decoded.form.utf8, c.utf8);
  EXPECT_EQ(decoded.form.crlf, c.crlf);
  EXPECT_EQ(decoded.form.byteOrderMark, c.bom);
}

INSTANTIATE_TEST_SUITE_P(
    Files, TextFileDecoding,
    ::testing::Values(
        DecodeCase{"PlainAsciiWithLineFeeds", "X:1\nK:G\n", "X:1\nK:G\n", true, false, false},
        DecodeCase{"Utf8Accents", "T:Caf\xC3\xA9 \xE2\x82\xAC", "T:Caf\xC3\xA9 \xE2\x82\xAC", true, false,
                   false},
        DecodeCase{"Windows1252Accents", "T:Caf\xE9 \x80", "T:Caf\xC3\xA9 \xE2\x82\xAC", false, false, false},
        DecodeCase{"CrLfLineEnds", "a\r\nb\r\n", "a\nb\n", true, true, false},
        DecodeCase{"OldMacLineEnds", "a\rb", "a\nb", true, false, false},
        DecodeCase{"ByteOrderMark", "\xEF\xBB\xBFK:D", "K:D", true, false, true},
        DecodeCase{"OverlongFormIsNotUtf8", "\xC0\x80", "\xC3\x80\xE2\x82\xAC", false, false, false},
        DecodeCase{"SurrogateIsNotUtf8", "\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xE2\x82\xAC", false, false, false},
        DecodeCase{"CutSequenceIsNotUtf8", "ab\xE2\x82", "ab\xC3\xA2\xE2\x80\x9A", false, false, false},
        // In a file that is not UTF-8, bytes that look like a byte-order mark
        // are Windows-1252 characters and stay in the text.
        DecodeCase{"MarkBeforeWindows1252TextIsText", "\xEF\xBB\xBFT:\xE9",
                   "\xC3\xAF\xC2\xBB\xC2\xBFT:\xC3\xA9", false, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

std::vector<std::uint8_t> ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A file saved without changes is the file it was.
TEST(TextDocument, SavingWithoutChangesKeepsTheBytes) {
  stavlin_test::TempFolder folder("textdoc");
  for (const std::string& bytes : {std::string("X:1\r\nT:Caf\xC3\xA9\r\n"), std::string("T:Caf\xE9\nabc\n"),
                                   std::string("\xEF\xBB\xBF"
                                               "e|---0---|\n")}) {
    const std::filesystem::path path = folder.Path() / "tune.abc";
    std::ofstream(path, std::ios::binary) << bytes;
    KTextDoc doc;
    CString message;
    ASSERT_TRUE(doc.Load(path.string(), message));
    EXPECT_FALSE(doc.IsModified());
    const std::filesystem::path copy = folder.Path() / "copy.abc";
    ASSERT_TRUE(doc.Save(copy.string(), message));
    EXPECT_EQ(ReadAll(copy), std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    EXPECT_EQ(doc.GetPathName(), copy.string());
  }
}

// Text that Windows-1252 cannot hold is saved as UTF-8 rather than lost.
TEST(TextDocument, CharactersBeyondWindows1252AreSavedAsUtf8) {
  stavlin_test::TempFolder folder("textdoc");
  KTextDoc doc;
  doc.LoadBytes(std::vector<std::uint8_t>{'T', ':', 0xE9});
  ASSERT_FALSE(doc.Form().utf8);
  doc.SetText("T:\xC3\xA9 \xE4\xB8\xAD");
  EXPECT_TRUE(doc.IsModified());
  CString message;
  const std::filesystem::path path = folder.Path() / "out.txt";
  ASSERT_TRUE(doc.Save(path.string(), message));
  const std::string written("T:\xC3\xA9 \xE4\xB8\xAD");
  EXPECT_EQ(ReadAll(path), std::vector<std::uint8_t>(written.begin(), written.end()));
  EXPECT_FALSE(doc.IsModified());
}

TEST(TextDocument, AFileThatCannotBeReadLeavesTheDocumentAsItWas) {
  KTextDoc doc;
  doc.SetText("kept");
  CString message;
  EXPECT_FALSE(doc.Load("/nonexistent/folder/tune.abc", message));
  EXPECT_FALSE(message.IsEmpty());
  EXPECT_EQ(doc.Text(), "kept");
  EXPECT_TRUE(doc.GetPathName().empty());
}

// Bytes that are not text: a MIDI file's header, random bytes with NULs, a
// file of control characters. Decoding gives no text, and a document refuses
// the file with a message and stays as it was.
struct BinaryCase {
  const char* name;
  std::vector<std::uint8_t> bytes;
};

void PrintTo(const BinaryCase& c, std::ostream* out) { *out << c.name; }

std::vector<std::uint8_t> Garbage(std::size_t size) {
  std::vector<std::uint8_t> bytes(size);
  std::uint32_t state = 12345;
  for (std::uint8_t& b : bytes) {
    state = state * 1103515245u + 12345u;
    b = static_cast<std::uint8_t>(state >> 16);
  }
  return bytes;
}

class BinaryFiles : public ::testing::TestWithParam<BinaryCase> {};

TEST_P(BinaryFiles, AreRefusedWithAMessageAndTheDocumentStaysAsItWas) {
  const BinaryCase& c = GetParam();
  const KDecodedText decoded = DecodeTextFile(c.bytes);
  EXPECT_TRUE(decoded.binary);
  EXPECT_TRUE(decoded.text.empty());

  stavlin_test::TempFolder folder("textdoc");
  const std::filesystem::path path = folder.Path() / "tune.abc";
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(c.bytes.data()), static_cast<std::streamsize>(c.bytes.size()));
  KTextDoc doc;
  doc.SetText("kept");
  CString message;
  EXPECT_FALSE(doc.Load(path.string(), message));
  EXPECT_NE(std::string(message.View()).find("binary data"), std::string::npos) << message.View();
  EXPECT_NE(std::string(message.View()).find("tune.abc"), std::string::npos) << message.View();
  EXPECT_EQ(doc.Text(), "kept");
  EXPECT_TRUE(doc.GetPathName().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Files, BinaryFiles,
    ::testing::Values(BinaryCase{"MidiFileHeader", {'M',  'T', 'h', 'd', 0,   0, 0, 6, 0, 0, 0,    1,    1,
                                                    0xE0, 'M', 'T', 'r', 'k', 0, 0, 0, 4, 0, 0xFF, 0x2F, 0}},
                      BinaryCase{"SixtyFourKilobytesOfGarbage", Garbage(65536)},
                      BinaryCase{"ControlCharactersWithoutNul", {'a', 1, 2, 3, 'b', 4, 5, 6, 'c', 7, '\n'}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TextFileDecoding, TabsEscapesAndAnEndOfFileMarkAreText) {
  const std::string text = "X:1\tK:G\f\x1B[0m\nabc|\x1A";
  const KDecodedText decoded = DecodeTextFile(std::vector<std::uint8_t>(text.begin(), text.end()));
  EXPECT_FALSE(decoded.binary);
  EXPECT_EQ(decoded.text, text);
}

TEST(TextDocument, AFileLargerThanATextIsRefusedBeforeItIsRead) {
  stavlin_test::TempFolder folder("textdoc");
  const std::filesystem::path path = folder.Path() / "huge.txt";
  {
    std::ofstream out(path, std::ios::binary);
    out << "X:1";
  }
  // A sparse file: its size says 65 MB while no byte of it is on the disk.
  std::filesystem::resize_file(path, KTextDoc::kMaxFileBytes + 1);
  KTextDoc doc;
  CString message;
  EXPECT_FALSE(doc.Load(path.string(), message));
  EXPECT_NE(std::string(message.View()).find("too large"), std::string::npos) << message.View();
  EXPECT_TRUE(doc.Text().empty());
}

TEST(TextDocument, TheScoreGetsWindows1252TextAndTheFilesName) {
  KTextDoc doc;
  doc.LoadBytes(std::vector<std::uint8_t>{'T', ':', 0xC3, 0xA9, '\r', '\n', 'a'});
  EXPECT_EQ(std::string(doc.TextForScore().View()), "T:\xE9\na");
  doc.SetTextFromScore(CString("X:1\r\nT:\xE9\r\n"));
  EXPECT_EQ(doc.Text(), "X:1\nT:\xC3\xA9\n");
  doc.SetTitle("Reels.abc");
  EXPECT_EQ(doc.GetTitle(), "Reels.abc");
  EXPECT_EQ(doc.ScoreTitle(), "Reels");
  EXPECT_TRUE(doc.IsAbcFile());
}

struct HandOverCase {
  const char* name;
  const char* title;  // the document's file name
  bool newEmpty;
  bool importingAbc;
  bool handAll;
  bool handAbc;
  bool translateTab;
  bool toScore;
  bool abc;
  bool tablature;
};

void PrintTo(const HandOverCase& c, std::ostream* out) { *out << c.name; }

class TextHandOver : public ::testing::TestWithParam<HandOverCase> {};

TEST_P(TextHandOver, FollowsThePreferencesAndHowTheFileWasOpened) {
  const HandOverCase& c = GetParam();
  KTextDoc doc;
  doc.SetTitle(c.title);
  const KTextDoc::KHandOver handOver =
      doc.DecideHandOver(c.newEmpty, c.importingAbc, c.handAll, c.handAbc, c.translateTab);
  EXPECT_EQ(handOver.toScore, c.toScore);
  EXPECT_EQ(handOver.abc, c.abc);
  EXPECT_EQ(handOver.tablature, c.tablature);
}

INSTANTIATE_TEST_SUITE_P(Cases, TextHandOver,
                         ::testing::Values(HandOverCase{"AbcFileGoesToAScore", "tune.ABC", false, false,
                                                        false, true, false, true, true, false},
                                           HandOverCase{"AbcFileStaysTextWhenNotAsked", "tune.abc", false,
                                                        false, false, false, false, false, false, false},
                                           HandOverCase{"TextFileStaysText", "song.txt", false, false, false,
                                                        true, true, false, false, false},
                                           HandOverCase{"EveryTextFileWhenAsked", "song.tab", false, false,
                                                        true, false, false, true, false, false},
                                           HandOverCase{"TextTabTranslatedWhenAsked", "song.tab", false,
                                                        false, true, false, true, true, false, true},
                                           HandOverCase{"ImportedTxtIsReadAsAbc", "tune.txt", false, true,
                                                        false, false, true, true, true, false},
                                           HandOverCase{"NewTextFileNeverGoes", "", true, true, true, true,
                                                        true, false, false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TextDocument, KnowsTheTextFileNames) {
  EXPECT_EQ(KTextDoc::Kinds().size(), 6u);
  for (const char* name : {"a.txt", "b.TAB", "c.crd", "d.bta", "e.pro", "/x/f.Abc"})
    EXPECT_TRUE(KTextDoc::IsTextFileName(name)) << name;
  for (const char* name : {"a.svd", "b.mid", "abc", "c.abc.bak", ""})
    EXPECT_FALSE(KTextDoc::IsTextFileName(name)) << name;
}

}  // namespace

namespace {

// A text or ABC file the user made read-only is never replaced; the message
// names the file and the reason, as a score's failed save does.
TEST(TextDocument, AReadOnlyFileIsKeptAndTheMessageNamesIt) {
  stavlin_test::TempFolder folder("textdoc");
  const std::filesystem::path path = folder.Path() / "tune.abc";
  std::ofstream(path) << "X:1\n";
  std::filesystem::permissions(path, std::filesystem::perms::owner_read);
  KTextDoc doc;
  doc.SetText("X:2\n");
  CString message;
  const bool saved = doc.Save(path.string(), message);
  std::filesystem::permissions(path, std::filesystem::perms::owner_all);
  EXPECT_FALSE(saved);
  EXPECT_EQ(ReadAll(path), (std::vector<std::uint8_t>{'X', ':', '1', '\n'}));
  EXPECT_EQ(message.Str(), "Stavlin could not save the text as " + path.string() +
                               "\nThe file that was there before (if any) has not been changed.\n"
                               "( The file is read-only. )");
  EXPECT_TRUE(doc.IsModified());
}

}  // namespace
