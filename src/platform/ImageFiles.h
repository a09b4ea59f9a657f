#pragma once
// Writing a bitmap as an image file: PNG through a writer port (libpng in the
// Qt shell, platform/qt/KLibPngWriter.h), BMP by our own writer.
//
// Our bitmaps hold 1 bit per pixel (monochrome: 0 black, 1 white) or 32
// (colour). A monochrome bitmap becomes a 1-bit grey PNG, or a 1-bit BMP with
// a two-entry colour table (black, white); a colour one becomes an 8-bit RGB
// PNG, or a 4-bit BMP whose 16 colours are the standard palette (each pixel
// takes the nearest of them).

#include <array>
#include <cstdio>
#include <memory>
#include <vector>

#include "platform/GdiObjects.h"
#include "platform/WinTypes.h"

// What the PNG writer writes: rows top first, each `stride` bytes apart in
// `pixels`, in the PNG layout of the bit depth and colour type.
struct KPngImage {
  static constexpr int kGrey = 0;  // PNG colour types
  static constexpr int kRgb = 2;
  static constexpr int kPalette = 3;

  int width = 0;
  int height = 0;
  int bitDepth = 8;
  int colourType = kRgb;
  bool interlaced = false;                   // Adam7
  std::vector<std::array<BYTE, 3>> palette;  // red, green, blue, for kPalette
  int stride = 0;
  std::vector<BYTE> pixels;

  const BYTE* Row(int y) const {
    return pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(stride);
  }
};

// The PNG image of a bitmap; false (and the image empty) for a bitmap that is
// not created, or of a depth the writer does not take.
bool DescribePngImage(const CBitmap& bitmap, bool interlaced, KPngImage& image);

class KPngWriter {
 public:
  virtual ~KPngWriter() = default;
  // Writes the image to the open file; false when the encoder failed. The
  // file stays open.
  virtual bool Write(std::FILE* file, const KPngImage& image) = 0;
};

// The PNG writer in use; without one installed, every write fails.
KPngWriter& CurrentPngWriter();
// Installs a writer (not owned) and returns the previous one; null: none.
KPngWriter* SetPngWriter(KPngWriter* writer);

// Why a BMP file could not be written, as the codes of the message that
// reports it: the file header, reading the bitmap's pixels, the information
// header and colour table, the pixels.
enum class KBmpError { kNone = 0, kFileHeader = 1, kReadBits = 18, kInfoHeader = 19, kPixels = 20 };

// Writes the bitmap as a BMP file (bottom row first) to the open file.
KBmpError WriteBmpFile(std::FILE* file, const CBitmap& bitmap);

// The 16 colours of a 4-bit BMP, and the index of the nearest to a colour
// (0x00RRGGBB).
const std::array<RgbWord, 16>& StandardPalette16();
int NearestStandardColour(RgbWord colour);
