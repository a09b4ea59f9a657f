#include "platform/qt/QtBitmapImage.h"

#include <algorithm>
#include <cstring>

QImage BitmapToQImage(const BitmapData& pixels) {
  const bool mono = pixels.bitsPixel == 1;
  QImage image(pixels.width, pixels.height, mono ? QImage::Format_Mono : QImage::Format_RGB32);
  if (image.isNull()) return image;
  if (mono) image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
  const auto* rows = reinterpret_cast<const uchar*>(pixels.words.data());
  const size_t rowBytes = static_cast<size_t>(std::min<qsizetype>(image.bytesPerLine(), pixels.stride));
  for (int y = 0; y < pixels.height; ++y)
    std::memcpy(image.scanLine(y), rows + static_cast<size_t>(y) * pixels.stride, rowBytes);
  return image;
}

QImage BitmapToQImage(const CBitmap& bitmap) {
  if (bitmap.GetSafeHandle() == nullptr || !bitmap.Pixels()) return {};
  return BitmapToQImage(*bitmap.Pixels());
}

BOOL CreateBitmapFromQImage(CBitmap& bitmap, const QImage& image, bool monochrome) {
  if (image.isNull()) return FALSE;
  if (!bitmap.CreateBitmap(image.width(), image.height(), 1, monochrome ? 1 : 32, nullptr)) return FALSE;
  const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  PixelSurface surface = bitmap.Pixels()->Surface();
  for (int y = 0; y < rgb.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    for (int x = 0; x < rgb.width(); ++x) surface.Set(x, y, surface.Native(row[x] & 0xFFFFFFu));
  }
  ++bitmap.Pixels()->generation;
  return TRUE;
}
