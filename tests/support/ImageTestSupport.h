#pragma once
// Helpers shared by tests that draw onto a real image: a white canvas, the
// two pixel values the checks look for, and writing a picture to the
// temporary folder for a look.

#include <QImage>
#include <QString>
#include <filesystem>
#include <string>

namespace stavlin_test {

inline constexpr QRgb kWhite = 0xFFFFFFFF;
inline constexpr QRgb kBlack = 0xFF000000;

// A white image of the given size.
inline QImage WhiteImage(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(kWhite);
  return image;
}

// Whether any pixel of the rectangle [left, right) x [top, bottom) is not white.
inline bool Inked(const QImage& image, int left, int top, int right, int bottom) {
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x)
      if (image.pixel(x, y) != kWhite) return true;
  return false;
}

// Writes the picture to the temporary folder as <stem>.png, and a three times
// magnified copy as <stem>-x3.png.
inline void SaveForLook(const QImage& image, const std::string& stem) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path();
  image.save(QString::fromStdString((folder / (stem + ".png")).string()));
  image.scaled(image.width() * 3, image.height() * 3, Qt::IgnoreAspectRatio, Qt::FastTransformation)
      .save(QString::fromStdString((folder / (stem + "-x3.png")).string()));
}

}  // namespace stavlin_test
