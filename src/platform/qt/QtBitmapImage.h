#pragma once
// Conversions between bitmap pixels and Qt images: for showing and saving what
// was drawn into a bitmap, and for making bitmaps from loaded pictures.

#include <QImage>

#include "platform/GdiObjects.h"

// A copy of the pixels: Format_Mono (0 = black, 1 = white) or Format_RGB32.
QImage BitmapToQImage(const BitmapData& pixels);
QImage BitmapToQImage(const CBitmap& bitmap);  // null image for an uncreated bitmap

// Creates bitmap from the image: monochrome when asked (pixels at least half
// bright become white), else colour. FALSE for a null image.
BOOL CreateBitmapFromQImage(CBitmap& bitmap, const QImage& image, bool monochrome);
