#pragma once
// What the window tests of dialogs with pictures share: a UI port that answers
// message boxes by script but draws pictures as the program does, and a count
// of the dark pixels a widget shows.

#include <QImage>
#include <QWidget>
#include <memory>

#include "platform/FakeUiPort.h"
#include "platform/qt/KQtUiPort.h"

class PicturePort : public FakeUiPort {
 public:
  std::unique_ptr<CDC> CreatePictureDC() override { return m_qt.CreatePictureDC(); }

 private:
  KQtUiPort m_qt;
};

// Dark pixels of a widget as the window shows it.
inline int InkIn(QWidget* widget) {
  const QImage image = widget->grab().toImage();
  int ink = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) ink += qGray(image.pixel(x, y)) < 100 ? 1 : 0;
  return ink;
}
