#include "platform/qt/KLibPngWriter.h"

#include <png.h>

#include <csetjmp>

namespace {

// libpng reports errors by a long jump back into the function that called
// setjmp; errors and warnings are not printed.
void SilentError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void SilentWarning(png_structp, png_const_charp) {}

// Only plain values live in this function, so the long jump skips no destructor.
bool WriteRows(std::FILE* file, const KPngImage* image, png_structp png, png_infop info) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_init_io(png, file);
  png_set_IHDR(png, info, static_cast<png_uint_32>(image->width), static_cast<png_uint_32>(image->height),
               image->bitDepth, image->colourType,
               image->interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_color palette[256];
  const int entries = static_cast<int>(image->palette.size());
  if (image->colourType == KPngImage::kPalette && entries > 0 && entries <= 256) {
    for (int i = 0; i < entries; ++i) {
      palette[i].red = image->palette[static_cast<size_t>(i)][0];
      palette[i].green = image->palette[static_cast<size_t>(i)][1];
      palette[i].blue = image->palette[static_cast<size_t>(i)][2];
    }
    png_set_PLTE(png, info, palette, entries);
  }
  png_write_info(png, info);
  const int passes = image->interlaced ? png_set_interlace_handling(png) : 1;
  for (int pass = 0; pass < passes; ++pass) {
    for (int y = 0; y < image->height; ++y) png_write_row(png, image->Row(y));
  }
  png_write_end(png, nullptr);
  return true;
}

}  // namespace

bool KLibPngWriter::Write(std::FILE* file, const KPngImage& image) {
  if (file == nullptr || image.width <= 0 || image.height <= 0 || image.pixels.empty()) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, SilentError, SilentWarning);
  if (png == nullptr) return false;
  png_infop info = png_create_info_struct(png);
  if (info == nullptr) {
    png_destroy_write_struct(&png, nullptr);
    return false;
  }
  const bool written = WriteRows(file, &image, png, info);
  png_destroy_write_struct(&png, &info);
  return written && std::fflush(file) == 0;
}
