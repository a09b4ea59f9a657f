// File/Export as an image: the PNG and BMP files (checked with pngcheck and
// read back byte by byte), their sizes at both resolutions, the name the file
// gets from the chosen type, and what is reported when it cannot be written.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "PrintFixture.h"
#include "model/KChordPic.h"
#include "model/KListLine.h"
#include "support/CaseName.h"

namespace {

using printtest::RunTool;

constexpr UINT kMsgSaveProblem = 7134;
constexpr UINT kMsgWrongKind = 7151;
constexpr int kPngFilter = 1;
constexpr int kBmpFilter = 2;
constexpr int kAllFilter = 3;

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t BigEndian32(const std::vector<std::uint8_t>& b, size_t at) {
  return (std::uint32_t{b[at]} << 24) | (std::uint32_t{b[at + 1]} << 16) | (std::uint32_t{b[at + 2]} << 8) |
         b[at + 3];
}

std::uint32_t LittleEndian32(const std::vector<std::uint8_t>& b, size_t at) {
  return b[at] | (std::uint32_t{b[at + 1]} << 8) | (std::uint32_t{b[at + 2]} << 16) |
         (std::uint32_t{b[at + 3]} << 24);
}

// The header of a PNG file.
struct PngHeader {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  int depth = 0;
  int colourType = -1;
  int interlace = -1;
};

PngHeader ReadPngHeader(const std::string& path) {
  const std::vector<std::uint8_t> b = ReadBytes(path);
  PngHeader h;
  if (b.size() < 33) return h;
  h.width = BigEndian32(b, 16);
  h.height = BigEndian32(b, 20);
  h.depth = b[24];
  h.colourType = b[25];
  h.interlace = b[28];
  return h;
}

// pngcheck's verdict: true when it finds no error.
bool PngcheckAccepts(const std::string& path, std::string* report = nullptr) {
  int code = -1;
  const std::string out = RunTool("pngcheck", {"-v", QString::fromStdString(path)}, &code);
  if (report != nullptr) *report = out;
  return code == 0 && out.find("No errors") != std::string::npos;
}

class ExportImage : public printtest::PrintFixture {
 protected:
  void SetUp() override {
    PrintFixture::SetUp();
    UseScreenDC();
    AddText("Title");
    AddStaffs(3);
    Layout();
  }
  // The save dialog answers the name and filter; returns the export's file.
  void Export(const std::string& name, int filter, bool highRes = false) {
    ui.AnswerSaveFile([=](KSaveFileRequest& request) {
      request.fileName = CString::FromUtf8(name);
      request.filterIndex = filter;
      return true;
    });
    if (highRes) {
      view->OnExportHighResImage();
    } else {
      view->ExportImage();
    }
  }
  SIZE Capture() const {
    const RECT r = view->ExportRectangle();
    return SIZE{r.right - r.left, r.bottom - r.top};
  }
};

TEST_F(ExportImage, ABlackAndWhiteScoreIsAOneBitPngAtBothResolutions) {
  const SIZE size = Capture();
  const std::string low = Path("low.png");
  const std::string high = Path("high.png");
  Export(low, kPngFilter);
  Export(high, kPngFilter, true);
  std::string report;
  EXPECT_TRUE(PngcheckAccepts(low, &report)) << report;
  EXPECT_TRUE(PngcheckAccepts(high, &report)) << report;
  const PngHeader a = ReadPngHeader(low);
  const PngHeader b = ReadPngHeader(high);
  EXPECT_EQ(a.width, static_cast<std::uint32_t>(size.cx));
  EXPECT_EQ(a.height, static_cast<std::uint32_t>(size.cy));
  EXPECT_EQ(b.width, 3 * a.width);
  EXPECT_EQ(b.height, 3 * a.height);
  for (const PngHeader& h : {a, b}) {
    EXPECT_EQ(h.depth, 1);
    EXPECT_EQ(h.colourType, 0);
  }
  EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(ExportImage, TheImageHoldsTheScoresInk) {
  const std::string png = Path("ink.png");
  Export(png, kPngFilter);
  const QImage image(QString::fromStdString(png));
  ASSERT_FALSE(image.isNull());
  int black = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) black += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
  // Staff lines and notes, on white paper.
  EXPECT_GT(black, 3 * 5 * 100);
  EXPECT_LT(black, image.width() * image.height() / 4);
}

// The box of a picture's dark pixels.
QRect InkBox(const QImage& image) {
  QRect box;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (qGray(image.pixel(x, y)) < 128) box |= QRect(x, y, 1, 1);
  return box;
}

TEST_F(ExportImage, TheHighResolutionImageIsTheLowResolutionOneThreeTimesOver) {
  // Chord diagrams, with their names, right of the score's left edge.
  const POSITION chords = AddChordLine();
  KListLine* line = doc.GetLineAt(chords)->AsListLine();
  line->GetObjList()->AddTail(new KChordPic(20, "G", "320003          0000", 1));
  line->GetObjList()->AddTail(new KChordPic(40, "C", "x32010          0000", 1));
  Layout();
  Select(4, 4, 0, 60);
  const std::string low = Path("chords.png");
  const std::string high = Path("chords3.png");
  Export(low, kPngFilter);
  Export(high, kPngFilter, true);
  const QRect a = InkBox(QImage(QString::fromStdString(low)));
  const QRect b = InkBox(QImage(QString::fromStdString(high)));
  ASSERT_FALSE(a.isEmpty());
  // Each edge of the ink where three times the low-resolution one puts it,
  // give or take the thickness of a line.
  EXPECT_NEAR(b.left(), 3 * a.left(), 6);
  EXPECT_NEAR(b.right(), 3 * a.right() + 2, 6);
  EXPECT_NEAR(b.top(), 3 * a.top(), 6);
  EXPECT_NEAR(b.bottom(), 3 * a.bottom() + 2, 6);
}

TEST_F(ExportImage, AnInterlacedPngWhenThePreferenceSaysSo) {
  g_prefExporting.interlaced = 1;
  const std::string png = Path("interlaced.png");
  Export(png, kPngFilter);
  std::string report;
  EXPECT_TRUE(PngcheckAccepts(png, &report)) << report;
  EXPECT_EQ(ReadPngHeader(png).interlace, 1);
}

TEST_F(ExportImage, AColourScoreIsAnRgbPngAndASixteenColourBmp) {
  doc.SetUsesColor(1);
  const std::string png = Path("colour.png");
  const std::string bmp = Path("colour.bmp");
  Export(png, kPngFilter);
  Export(bmp, kBmpFilter);
  EXPECT_TRUE(PngcheckAccepts(png));
  const PngHeader h = ReadPngHeader(png);
  EXPECT_EQ(h.colourType, 2);
  EXPECT_EQ(h.depth, 8);
  const std::vector<std::uint8_t> b = ReadBytes(bmp);
  ASSERT_GE(b.size(), 54u);
  EXPECT_EQ(b[28], 4);                    // bits per pixel
  EXPECT_EQ(LittleEndian32(b, 46), 16u);  // colours used
  EXPECT_EQ(LittleEndian32(b, 10), 54u + 4 * 16);
}

TEST_F(ExportImage, ABlackAndWhiteScoreIsAOneBitBmpWithTwoColours) {
  const SIZE size = Capture();
  const std::string bmp = Path("score.bmp");
  Export(bmp, kBmpFilter);
  const std::vector<std::uint8_t> b = ReadBytes(bmp);
  ASSERT_GE(b.size(), 62u);
  EXPECT_EQ(b[0], 'B');
  EXPECT_EQ(b[1], 'M');
  const std::uint32_t rowBytes = (static_cast<std::uint32_t>(size.cx) + 31) / 32 * 4;
  const std::uint32_t imageSize = rowBytes * static_cast<std::uint32_t>(size.cy);
  EXPECT_EQ(LittleEndian32(b, 2), 62 + imageSize);  // the file's size
  EXPECT_EQ(b.size(), 62 + imageSize);
  EXPECT_EQ(LittleEndian32(b, 10), 62u);  // where the pixels start
  EXPECT_EQ(LittleEndian32(b, 18), static_cast<std::uint32_t>(size.cx));
  EXPECT_EQ(LittleEndian32(b, 22), static_cast<std::uint32_t>(size.cy));
  EXPECT_EQ(b[28], 1);
  EXPECT_EQ(LittleEndian32(b, 34), imageSize);
  EXPECT_EQ(LittleEndian32(b, 46), 2u);
  // Black, then white.
  EXPECT_EQ(LittleEndian32(b, 54), 0x000000u);
  EXPECT_EQ(LittleEndian32(b, 58), 0xFFFFFFu);
  // QImage reads it back as the score.
  EXPECT_FALSE(QImage(QString::fromStdString(bmp)).isNull());
}

TEST_F(ExportImage, ASelectionIsExportedAtItsSizeAndThreeTimesIt) {
  Select(1, 2, 0, 4);
  const RECT selection = view->m_selRect;
  ASSERT_GT(selection.right, selection.left);
  const std::string low = Path("part.png");
  const std::string high = Path("part3.png");
  Export(low, kPngFilter);
  Export(high, kPngFilter, true);
  const PngHeader a = ReadPngHeader(low);
  const PngHeader b = ReadPngHeader(high);
  EXPECT_EQ(a.width, static_cast<std::uint32_t>(selection.right - selection.left));
  EXPECT_EQ(a.height, static_cast<std::uint32_t>(selection.bottom - selection.top));
  EXPECT_EQ(b.width, 3 * a.width);
  EXPECT_EQ(b.height, 3 * a.height);
  // The selection is still there, as it was.
  EXPECT_EQ(view->m_selRect.left, selection.left);
  EXPECT_EQ(view->m_selRect.bottom, selection.bottom);
}

TEST_F(ExportImage, ExportingChangesNothingInTheScore) {
  view->SetSymbolSize(1, 1);
  view->m_pageMarks = 1;
  doc.SetModifiedFlag(FALSE);
  const int lines = view->GetDisplayLineCount();
  Export(Path("a.png"), kPngFilter);
  Export(Path("b.png"), kPngFilter, true);
  EXPECT_FALSE(doc.IsModified());
  EXPECT_EQ(view->GetSizeIndex(), 1);
  EXPECT_EQ(view->m_pageMarks, 1);
  EXPECT_EQ(view->GetDisplayLineCount(), lines);
  EXPECT_EQ(g_deviceRender, 0);
  EXPECT_EQ(g_screenResX, 96);
}

TEST_F(ExportImage, CancelInTheSaveDialogSaysNothingAndWritesNothing) {
  ui.AnswerSaveFile([](KSaveFileRequest&) { return false; });
  view->ExportImage();
  EXPECT_TRUE(ui.Messages().empty());
  ASSERT_EQ(ui.SaveFileDialogs().size(), 1u);
  // The dialog offered the score's name and the preferred type.
  EXPECT_EQ(ui.SaveFileDialogs()[0].shown.fileName, "Untitled");
  EXPECT_EQ(ui.SaveFileDialogs()[0].shown.filterIndex, 1);
}

TEST_F(ExportImage, AnEncoderFailureIsReportedAndLeavesNoFile) {
  struct FailingWriter : KPngWriter {
    bool Write(std::FILE*, const KPngImage&) override { return false; }
  } failing;
  KPngWriter* previous = SetPngWriter(&failing);
  const std::string png = Path("failed.png");
  Export(png, kPngFilter);
  const std::string old = Path("old.png");
  std::ofstream(old) << "old";
  ui.Answer(0, IDYES);
  Export(old, kPngFilter);
  SetPngWriter(previous);
  ASSERT_EQ(ui.CountOf(kMsgSaveProblem), 2);
  EXPECT_EQ(ui.Messages()[0].text,
            "There was a problem saving the image file. (Error 21)\n" + png + "\n( The PNG encoder failed )");
  EXPECT_FALSE(std::filesystem::exists(png));
  // A file that was there is left whole.
  EXPECT_EQ(ReadBytes(old).size(), 3u);
}

struct ReadOnlyCase {
  const char* name;
  int filter;
  const char* file;
  const char* code;
};

TEST_F(ExportImage, AReadOnlyFileIsKeptAndTheMessageNamesItAndWhy) {
  const ReadOnlyCase cases[] = {{"png", kPngFilter, "kept.png", "1"}, {"bmp", kBmpFilter, "kept.bmp", "2"}};
  for (const ReadOnlyCase& c : cases) {
    ui.ClearRecords();
    const std::string file = Path(c.file);
    std::ofstream(file) << "the user's own image";
    std::filesystem::permissions(file, std::filesystem::perms::owner_read);
    ui.Answer(0, IDYES);
    Export(file, c.filter);
    std::filesystem::permissions(file, std::filesystem::perms::owner_all);
    EXPECT_EQ(ReadBytes(file).size(), 20u) << c.name;
    ASSERT_EQ(ui.Messages().size(), 1u) << c.name;
    EXPECT_EQ(ui.Messages()[0].text, std::string("There was a problem creating the image file.  (Error ") +
                                         c.code + ")\n" + file + "\n( The file is read-only. )")
        << c.name;
  }
}

TEST_F(ExportImage, AFolderThatCannotBeWrittenIsReportedWithTheSystemsReason) {
  // A file stands where the folder should be: no file can be made in it.
  const std::string notAFolder = Path("notafolder");
  std::ofstream(notAFolder) << "a file";
  const std::string png = notAFolder + "/new.png";
  Export(png, kPngFilter);
  ASSERT_EQ(ui.Messages().size(), 1u);
  const std::string& text = ui.Messages()[0].text;
  EXPECT_EQ(text.rfind("There was a problem creating the image file.  (Error 1)\n" + png + "\n( ", 0), 0u)
      << text;
  EXPECT_NE(text.find("Not a directory"), std::string::npos) << text;
}

TEST_F(ExportImage, AnExistingFileIsReplacedOnlyWhenTheUserSaysSo) {
  const std::string png = Path("old.png");
  std::ofstream(png) << "old";
  ui.Answer(0, IDNO);
  Export(png, kPngFilter);
  EXPECT_EQ(ReadBytes(png).size(), 3u);
  ui.Answer(0, IDYES);
  Export(png, kPngFilter);
  EXPECT_TRUE(PngcheckAccepts(png));
}

// ---- The file's name and type ------------------------------------------------------------

struct NameCase {
  const char* name;
  const char* typed;  // relative to the test's folder
  int filter;
  int preferred;      // the image format preference: 0 PNG, 1 BMP
  const char* saved;  // the file written; empty: none, and message 7151
};

void PrintTo(const NameCase& c, std::ostream* os) { *os << c.name; }

class FileName : public ExportImage, public ::testing::WithParamInterface<NameCase> {};

TEST_P(FileName, FollowsTheChosenType) {
  const NameCase& c = GetParam();
  std::filesystem::create_directories(Path("sub.folder"));
  g_prefExporting.imageFormat = c.preferred;
  Export(Path(c.typed), c.filter);
  if (std::string(c.saved).empty()) {
    EXPECT_EQ(ui.CountOf(kMsgWrongKind), 1);
    EXPECT_EQ(ui.Messages().back().text, "The image must be saved as either a png or bitmap file");
    return;
  }
  EXPECT_TRUE(ui.Messages().empty());
  EXPECT_TRUE(std::filesystem::exists(Path(c.saved))) << c.saved;
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(Path(".")))
    if (entry.is_regular_file()) files.push_back(entry.path().filename().string());
  EXPECT_EQ(files.size(), 1u);
  // The type the file was saved as is the preference from now on.
  const bool bmp = std::string(c.saved).ends_with(".bmp");
  EXPECT_EQ(g_prefExporting.imageFormat, bmp ? 1 : 0);
}

const NameCase kNameCases[] = {
    {"a name without extension gets the chosen one", "song", kPngFilter, 0, "song.png"},
    {"another extension is replaced", "song.txt", kPngFilter, 0, "song.png"},
    {"only the part after the last dot is replaced", "my.song.txt", kBmpFilter, 0, "my.song.bmp"},
    {"a short extension is replaced whole", "song.p", kPngFilter, 0, "song.png"},
    {"the chosen extension in capitals is kept", "song.PNG", kPngFilter, 0, "song.PNG"},
    {"a dot in a folder name is not an extension", "sub.folder/song", kBmpFilter, 0, "sub.folder/song.bmp"},
    {"with all files a typed bmp decides", "song.bmp", kAllFilter, 0, "song.bmp"},
    {"with all files a typed png decides", "song.png", kAllFilter, 1, "song.png"},
    {"with all files and no extension the preferred type", "song", kAllFilter, 1, "song.bmp"},
    {"with all files another extension is refused", "song.txt", kAllFilter, 0, ""},
};

INSTANTIATE_TEST_SUITE_P(Cases, FileName, ::testing::ValuesIn(kNameCases),
                         [](const auto& info) { return viewtest::CaseName(info.param.name); });

}  // namespace
