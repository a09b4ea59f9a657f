// symbolgen: draws the program's music-symbol bitmaps.
//
//   symbolgen [--font bravura.otf] [--text-font sans-bold.ttf] [--out DIR]
//             [--contact-sheet FILE [--zoom N]] [--check-glyphs]
//
// Without options it writes one PNG per resource id and index.txt into the
// resource folder. --contact-sheet also draws every family at every set into
// one labelled picture for a person to look at; --check-glyphs only checks the
// font's code points against its metadata.

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QStringList>
#include <cstdio>

#include "Catalog.h"
#include "ContactSheet.h"
#include "Fonts.h"
#include "GlyphCheck.h"
#include "ResourceWriter.h"

namespace {

QString OptionValue(const QStringList& args, const QString& name, const QString& fallback) {
  const qsizetype at = args.indexOf(name);
  return at >= 0 && at + 1 < args.size() ? args[at + 1] : fallback;
}

}  // namespace

int main(int argc, char** argv) {
  // The generator draws off-screen only; it needs no display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QGuiApplication app(argc, argv);
  const QStringList args = app.arguments();
  if (args.contains("--help")) {
    std::printf(
        "usage: symbolgen [--font FILE] [--text-font FILE] [--out DIR] "
        "[--contact-sheet FILE [--zoom N]] [--check-glyphs]\n");
    return 0;
  }
  const QString fontPath = OptionValue(args, "--font", SYMBOLGEN_DEFAULT_FONT);
  if (!Fonts::Load(fontPath, OptionValue(args, "--text-font", SYMBOLGEN_DEFAULT_TEXT_FONT))) {
    return 1;
  }
  if (args.contains("--check-glyphs")) {
    return CheckGlyphs(QFileInfo(fontPath).dir().filePath("metadata.json")) == 0 ? 0 : 1;
  }

  const Catalog catalog = BuildCatalog();
  if (!CheckCatalog(catalog)) {
    return 1;
  }
  const QString sheet = OptionValue(args, "--contact-sheet", "");
  if (!sheet.isEmpty()) {
    const int zoom = OptionValue(args, "--zoom", "2").toInt();
    return WriteContactSheet(catalog, sheet, zoom > 0 ? zoom : 2) ? 0 : 1;
  }
  const QString out = OptionValue(args, "--out", SYMBOLGEN_DEFAULT_OUT);
  if (!WriteResources(catalog, out, QFileInfo(fontPath).dir().filePath("LICENSE.txt"))) {
    return 1;
  }
  std::printf("symbolgen: %zu bitmaps written to %s\n", catalog.size(), qPrintable(out));
  return 0;
}
