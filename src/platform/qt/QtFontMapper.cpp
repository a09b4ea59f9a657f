#include "platform/qt/QtFontMapper.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <algorithm>
#include <map>
#include <string>

#include "platform/DcCallText.h"
#include "platform/qt/QtText.h"

namespace {

const char* const kSans = "Liberation Sans";
const char* const kSerif = "Liberation Serif";
const char* const kMono = "Liberation Mono";

constexpr int kMaxPixelSize = 4000;
constexpr int kDefaultCellHeight = 16;

struct FaceAlias {
  const char* face;
  const char* family;
};

const FaceAlias kAliases[] = {
    {"Arial", kSans},          {"Helvetica", kSans},
    {"MS Sans Serif", kSans},  {"Microsoft Sans Serif", kSans},
    {"MS Shell Dlg", kSans},   {"MS Shell Dlg 2", kSans},
    {"System", kSans},         {"Tahoma", kSans},
    {"Verdana", kSans},        {"Times New Roman", kSerif},
    {"Times", kSerif},         {"MS Serif", kSerif},
    {"Courier New", kMono},    {"Courier", kMono},
    {"Fixedsys", kMono},       {"Terminal", kMono},
    {"Lucida Console", kMono},
};

const char* FamilyByPitch(BYTE pitchAndFamily) {
  const BYTE family = pitchAndFamily & 0xF0;
  if (family == FF_ROMAN) return kSerif;
  if (family == FF_MODERN || (pitchAndFamily & 0x03) == FIXED_PITCH) return kMono;
  return kSans;
}

QFont::StyleHint HintFor(const QString& family) {
  if (family == kSerif) return QFont::Serif;
  if (family == kMono) return QFont::TypeWriter;
  return QFont::SansSerif;
}

int CellHeight(QFont font, int pixelSize) {
  font.setPixelSize(pixelSize);
  const QFontMetrics metrics(font);
  return metrics.ascent() + metrics.descent();
}

// The largest pixel size whose cell height is at most `cell` (at least 1).
int PixelSizeForCell(const QFont& font, int cell) {
  const int reference = 100;
  const int referenceCell = std::max(1, CellHeight(font, reference));
  int size = std::clamp(cell * reference / referenceCell, 1, kMaxPixelSize);
  while (size > 1 && CellHeight(font, size) > cell) --size;
  while (size < kMaxPixelSize && CellHeight(font, size + 1) <= cell) ++size;
  return size;
}

QFont Build(const LOGFONT& lf) {
  const QString family = QtFontMapper::FamilyFor(lf);
  QFont font(family);
  font.setStyleHint(HintFor(family));
  font.setWeight(
      static_cast<QFont::Weight>(lf.lfWeight <= 0 ? FW_NORMAL : std::clamp<LONG>(lf.lfWeight, 1, 1000)));
  font.setItalic(lf.lfItalic != 0);
  font.setUnderline(lf.lfUnderline != 0);
  font.setStrikeOut(lf.lfStrikeOut != 0);
  font.setKerning(false);
  if (lf.lfQuality == NONANTIALIASED_QUALITY) font.setStyleStrategy(QFont::NoAntialias);

  int pixelSize;
  if (lf.lfHeight < 0)
    pixelSize = static_cast<int>(std::min<long long>(-static_cast<long long>(lf.lfHeight), kMaxPixelSize));
  else
    pixelSize = PixelSizeForCell(
        font, lf.lfHeight > 0 ? std::min<LONG>(lf.lfHeight, kMaxPixelSize * 2) : kDefaultCellHeight);
  font.setPixelSize(pixelSize);

  if (lf.lfWidth > 0) {
    const int natural = QFontMetrics(font).averageCharWidth();
    if (natural > 0)
      font.setStretch(static_cast<int>(std::clamp<long long>(100LL * lf.lfWidth / natural, 1, 4000)));
  }
  return font;
}

}  // namespace

QString QtFontMapper::FamilyFor(const LOGFONT& font) {
  const QString face = ToQString(FaceNameOf(font)).trimmed();
  if (face.isEmpty()) return QString::fromLatin1(FamilyByPitch(font.lfPitchAndFamily));
  for (const FaceAlias& alias : kAliases)
    if (face.compare(QLatin1String(alias.face), Qt::CaseInsensitive) == 0)
      return QString::fromLatin1(alias.family);
  if (QFontDatabase::hasFamily(face)) return face;
  return QString::fromLatin1(FamilyByPitch(font.lfPitchAndFamily));
}

QFont QtFontMapper::ToQFont(const LOGFONT& font) {
  // Building a font measures it several times; drawing asks for the same few
  // fonts over and over. The cache lives as long as the program (it is never
  // destroyed, so no font outlives Qt's font machinery at exit).
  static auto* cache = new std::map<std::string, QFont>;
  LOGFONT upright = font;  // the angle fields do not change the font
  upright.lfEscapement = upright.lfOrientation = 0;
  std::string key = LogFontText(upright);
  if (const auto it = cache->find(key); it != cache->end()) return it->second;
  if (cache->size() > 512) cache->clear();
  const QFont built = Build(upright);
  cache->emplace(std::move(key), built);
  return built;
}
