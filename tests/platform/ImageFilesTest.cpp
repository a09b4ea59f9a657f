// The image files' pixels: a colour bitmap's pixel becomes the PNG's red,
// green and blue bytes in that order and the BMP's nearest standard colour;
// the BMP's rows go bottom first; a bitmap that was never made gives no image.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "platform/GdiObjects.h"
#include "platform/ImageFiles.h"
#include "support/CaseName.h"

namespace {

struct ColourCase {
  const char* name;
  RgbWord colour;  // 0x00RRGGBB
  std::array<BYTE, 3> png;
  int bmpIndex;  // in the standard palette of 16
};

void PrintTo(const ColourCase& c, std::ostream* os) { *os << c.name; }

// A 2 x 2 colour bitmap: the top row in `top`, the bottom row white.
bool MakeBitmap(CBitmap& bitmap, RgbWord top) {
  std::vector<BYTE> bits;
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 2; ++x) {
      const RgbWord c = y == 0 ? top : RgbWord{0xFFFFFF};
      bits.push_back(static_cast<BYTE>(c & 0xFF));  // blue, green, red, unused
      bits.push_back(static_cast<BYTE>((c >> 8) & 0xFF));
      bits.push_back(static_cast<BYTE>((c >> 16) & 0xFF));
      bits.push_back(0);
    }
  }
  return bitmap.CreateBitmap(2, 2, 1, 32, bits.data()) != FALSE;
}

// The bytes of a BMP written to a temporary file.
std::vector<BYTE> BmpBytes(const CBitmap& bitmap) {
  std::FILE* file = std::tmpfile();
  if (file == nullptr) return {};
  std::vector<BYTE> bytes;
  if (WriteBmpFile(file, bitmap) == KBmpError::kNone) {
    std::rewind(file);
    for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) bytes.push_back(static_cast<BYTE>(c));
  }
  std::fclose(file);
  return bytes;
}

class ColourPixel : public ::testing::TestWithParam<ColourCase> {};

TEST_P(ColourPixel, KeepsItsColourInBothFiles) {
  const ColourCase& c = GetParam();
  CBitmap bitmap;
  ASSERT_TRUE(MakeBitmap(bitmap, c.colour));

  KPngImage png;
  ASSERT_TRUE(DescribePngImage(bitmap, false, png));
  EXPECT_EQ(png.colourType, KPngImage::kRgb);
  EXPECT_EQ(png.bitDepth, 8);
  const BYTE* top = png.Row(0);
  EXPECT_EQ((std::array<BYTE, 3>{top[0], top[1], top[2]}), c.png);
  const BYTE* bottom = png.Row(1);
  EXPECT_EQ((std::array<BYTE, 3>{bottom[3], bottom[4], bottom[5]}), (std::array<BYTE, 3>{255, 255, 255}));

  const std::vector<BYTE> bmp = BmpBytes(bitmap);
  // Header 54 bytes, 16 colours of 4 bytes, then rows of 4 bytes (2 pixels
  // of 4 bits, padded): the bottom (white) row first.
  ASSERT_EQ(bmp.size(), 54u + 64u + 8u);
  EXPECT_EQ(bmp[118], 0xFF);  // white, white: index 15 twice
  EXPECT_EQ(bmp[122], static_cast<BYTE>(c.bmpIndex << 4 | c.bmpIndex));
  // The palette entry it points at is the colour, stored blue, green, red.
  const size_t entry = 54 + 4 * static_cast<size_t>(c.bmpIndex);
  const RgbWord stored = RgbWord{bmp[entry + 2]} << 16 | RgbWord{bmp[entry + 1]} << 8 | bmp[entry];
  EXPECT_EQ(stored, StandardPalette16()[static_cast<size_t>(c.bmpIndex)]);
}

const ColourCase kColourCases[] = {
    {"pure red", 0xFF0000, {255, 0, 0}, 9},
    {"pure blue", 0x0000FF, {0, 0, 255}, 12},
    {"a dark green", 0x007F00, {0, 127, 0}, 2},
    {"an orange between palette colours goes to the nearest, yellow", 0xFF9000, {255, 144, 0}, 11},
    {"black", 0x000000, {0, 0, 0}, 0},
};

INSTANTIATE_TEST_SUITE_P(Cases, ColourPixel, ::testing::ValuesIn(kColourCases),
                         [](const auto& info) { return viewtest::CaseName(info.param.name); });

TEST(ImageFiles, ABitmapNeverMadeGivesNoImageAndNoFile) {
  const CBitmap bitmap;
  KPngImage png;
  EXPECT_FALSE(DescribePngImage(bitmap, false, png));
  EXPECT_TRUE(png.pixels.empty());
  std::FILE* file = std::tmpfile();
  ASSERT_NE(file, nullptr);
  EXPECT_NE(WriteBmpFile(file, bitmap), KBmpError::kNone);
  EXPECT_EQ(std::ftell(file), 0L);
  std::fclose(file);
}

}  // namespace
