#include "platform/ImageFiles.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>

namespace {

// Stands in when no PNG writer is installed: nothing can be written.
class KNoPngWriter final : public KPngWriter {
 public:
  bool Write(std::FILE*, const KPngImage&) override { return false; }
};

KNoPngWriter g_noPngWriter;
KPngWriter* g_pngWriter = nullptr;

void PutLE16(std::vector<BYTE>& out, std::uint32_t value) {
  out.push_back(static_cast<BYTE>(value & 0xFF));
  out.push_back(static_cast<BYTE>((value >> 8) & 0xFF));
}

void PutLE32(std::vector<BYTE>& out, std::uint32_t value) {
  PutLE16(out, value & 0xFFFF);
  PutLE16(out, value >> 16);
}

bool WriteAll(std::FILE* file, const std::vector<BYTE>& bytes) {
  return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
}

}  // namespace

KPngWriter& CurrentPngWriter() { return g_pngWriter != nullptr ? *g_pngWriter : g_noPngWriter; }

KPngWriter* SetPngWriter(KPngWriter* writer) {
  KPngWriter* previous = g_pngWriter;
  g_pngWriter = writer;
  return previous;
}

bool DescribePngImage(const CBitmap& bitmap, bool interlaced, KPngImage& image) {
  image = KPngImage();
  const std::shared_ptr<BitmapData>& data = bitmap.Pixels();
  if (!data || data->width <= 0 || data->height <= 0) return false;
  image.width = data->width;
  image.height = data->height;
  image.interlaced = interlaced;
  if (data->bitsPixel == 1) {
    // Our monochrome rows are already PNG's 1-bit grey: most significant bit
    // first, 0 black, 1 white.
    image.bitDepth = 1;
    image.colourType = KPngImage::kGrey;
    image.stride = data->stride;
    image.pixels.resize(static_cast<size_t>(data->stride) * static_cast<size_t>(data->height));
    std::memcpy(image.pixels.data(), data->words.data(), image.pixels.size());
    return true;
  }
  if (data->bitsPixel == 32) {
    image.bitDepth = 8;
    image.colourType = KPngImage::kRgb;
    image.stride = (data->width * 24 + 31) / 32 * 4;
    image.pixels.assign(static_cast<size_t>(image.stride) * static_cast<size_t>(data->height), 0);
    for (int y = 0; y < data->height; ++y) {
      BYTE* row = image.pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(image.stride);
      for (int x = 0; x < data->width; ++x) {
        const RgbWord rgb = data->Get(x, y);
        row[3 * x] = static_cast<BYTE>((rgb >> 16) & 0xFF);
        row[3 * x + 1] = static_cast<BYTE>((rgb >> 8) & 0xFF);
        row[3 * x + 2] = static_cast<BYTE>(rgb & 0xFF);
      }
    }
    return true;
  }
  image = KPngImage();
  return false;
}

const std::array<RgbWord, 16>& StandardPalette16() {
  static const std::array<RgbWord, 16> kColours = {
      0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
      0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
  };
  return kColours;
}

int NearestStandardColour(RgbWord colour) {
  const std::array<RgbWord, 16>& palette = StandardPalette16();
  int best = 0;
  long bestDistance = std::numeric_limits<long>::max();
  for (int i = 0; i < 16; ++i) {
    const RgbWord p = palette[static_cast<size_t>(i)];
    long distance = 0;
    for (int shift : {16, 8, 0}) {
      const long d = static_cast<long>((colour >> shift) & 0xFF) - static_cast<long>((p >> shift) & 0xFF);
      distance += d * d;
    }
    if (distance < bestDistance) {
      bestDistance = distance;
      best = i;
    }
  }
  return best;
}

KBmpError WriteBmpFile(std::FILE* file, const CBitmap& bitmap) {
  const std::shared_ptr<BitmapData>& data = bitmap.Pixels();
  if (file == nullptr || !data || data->width <= 0 || data->height <= 0) return KBmpError::kReadBits;
  const int depth = data->bitsPixel == 1 ? 1 : 4;
  const std::uint32_t colours = 1u << depth;
  const std::uint64_t rowBytes = (static_cast<std::uint64_t>(depth) * data->width + 31) / 32 * 4;
  const std::uint64_t imageSize = rowBytes * static_cast<std::uint64_t>(data->height);
  const std::uint64_t offset = 54 + 4ull * colours;
  if (offset + imageSize > std::numeric_limits<std::uint32_t>::max()) return KBmpError::kReadBits;

  std::vector<BYTE> header;
  header.push_back('B');
  header.push_back('M');
  PutLE32(header, static_cast<std::uint32_t>(offset + imageSize));
  PutLE16(header, 0);
  PutLE16(header, 0);
  PutLE32(header, static_cast<std::uint32_t>(offset));
  if (!WriteAll(file, header)) return KBmpError::kFileHeader;

  std::vector<BYTE> info;
  PutLE32(info, 40);
  PutLE32(info, static_cast<std::uint32_t>(data->width));
  PutLE32(info, static_cast<std::uint32_t>(data->height));  // positive: bottom row first
  PutLE16(info, 1);
  PutLE16(info, static_cast<std::uint32_t>(depth));
  PutLE32(info, 0);  // no compression
  PutLE32(info, static_cast<std::uint32_t>(imageSize));
  PutLE32(info, 0);
  PutLE32(info, 0);
  PutLE32(info, colours);
  PutLE32(info, 0);
  if (depth == 1) {
    for (const RgbWord entry : {RgbWord{0x000000}, RgbWord{0xFFFFFF}}) {
      info.push_back(static_cast<BYTE>(entry & 0xFF));
      info.push_back(static_cast<BYTE>((entry >> 8) & 0xFF));
      info.push_back(static_cast<BYTE>((entry >> 16) & 0xFF));
      info.push_back(0);
    }
  } else {
    for (const RgbWord entry : StandardPalette16()) {
      info.push_back(static_cast<BYTE>(entry & 0xFF));
      info.push_back(static_cast<BYTE>((entry >> 8) & 0xFF));
      info.push_back(static_cast<BYTE>((entry >> 16) & 0xFF));
      info.push_back(0);
    }
  }
  if (!WriteAll(file, info)) return KBmpError::kInfoHeader;

  std::vector<BYTE> row(static_cast<size_t>(rowBytes));
  // A score is mostly paper and ink: the last colour's index is kept.
  RgbWord lastColour = 0xFFFFFF;
  int lastIndex = NearestStandardColour(lastColour);
  for (int y = data->height - 1; y >= 0; --y) {
    std::fill(row.begin(), row.end(), 0);
    if (depth == 1) {
      const BYTE* source = reinterpret_cast<const BYTE*>(data->words.data()) +
                           static_cast<size_t>(y) * static_cast<size_t>(data->stride);
      std::memcpy(row.data(), source, static_cast<size_t>((data->width + 7) / 8));
      // Bits past the width stay 0, as the padding of a row must be.
      const int spare = (8 - data->width % 8) % 8;
      if (spare != 0) row[static_cast<size_t>((data->width - 1) / 8)] &= static_cast<BYTE>(0xFF << spare);
    } else {
      for (int x = 0; x < data->width; ++x) {
        const RgbWord colour = data->Get(x, y);
        if (colour != lastColour) {
          lastColour = colour;
          lastIndex = NearestStandardColour(colour);
        }
        const int index = lastIndex;
        BYTE& byte = row[static_cast<size_t>(x / 2)];
        byte = static_cast<BYTE>(x % 2 == 0 ? byte | (index << 4) : byte | index);
      }
    }
    if (!WriteAll(file, row)) return KBmpError::kPixels;
  }
  return KBmpError::kNone;
}
