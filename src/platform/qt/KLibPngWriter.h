#pragma once
// The PNG writer of the shell, on libpng: the image's header (interlaced with
// Adam7 when asked), its palette when it has one, and its rows, pass by pass.
// Any error libpng meets ends the write with false; nothing is printed.

#include "platform/ImageFiles.h"

class KLibPngWriter : public KPngWriter {
 public:
  bool Write(std::FILE* file, const KPngImage& image) override;
};
