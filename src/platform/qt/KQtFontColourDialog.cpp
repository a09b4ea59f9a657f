#include "platform/qt/KQtFontColourDialog.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

#include "platform/qt/QtFontMapper.h"
#include "platform/qt/QtText.h"

namespace {

constexpr double kPointsPerPixel = 72.0 / 96.0;

// The Liberation families stand in for the Windows faces; a choice of one is
// stored under the Windows name, as score files on any system expect.
std::string FaceForFamily(const QString& family) {
  if (family == u"Liberation Sans") return "Arial";
  if (family == u"Liberation Serif") return "Times New Roman";
  if (family == u"Liberation Mono") return "Courier New";
  return FromQString(family);
}

int ChosenPixelSize(const QFont& font) {
  if (font.pixelSize() > 0) return font.pixelSize();
  return std::max(1, static_cast<int>(std::lround(font.pointSizeF() / kPointsPerPixel)));
}

}  // namespace

QColor ToQColor(COLORREF colour) { return QColor(GetRValue(colour), GetGValue(colour), GetBValue(colour)); }

COLORREF FromQColor(const QColor& colour) { return RGB(colour.red(), colour.green(), colour.blue()); }

QFont KQtFontColourDialog::PanelFont(const LOGFONT& font) {
  QFont panel = QtFontMapper::ToQFont(font);
  panel.setPointSizeF(panel.pixelSize() * kPointsPerPixel);
  return panel;
}

LOGFONT KQtFontColourDialog::FromChoice(const LOGFONT& base, const QFont& opening, const QFont& chosen) {
  const QFont& shown = opening;
  LOGFONT result = base;
  if (chosen.family() != shown.family()) SetFaceName(result, FaceForFamily(chosen.family()));
  const bool sizeChanged = chosen.pixelSize() > 0 || shown.pixelSize() > 0
                               ? chosen.pixelSize() != shown.pixelSize()
                               : std::fabs(chosen.pointSizeF() - shown.pointSizeF()) > 0.01;
  if (sizeChanged) {
    const int pixels = std::min(ChosenPixelSize(chosen), 4000);
    if (base.lfHeight < 0) {
      result.lfHeight = -pixels;
    } else {
      QFont measured = chosen;
      measured.setPixelSize(pixels);
      const QFontMetrics metrics(measured);
      result.lfHeight = metrics.ascent() + metrics.descent();
    }
    result.lfWidth = 0;  // a stretch made for the old size does not fit the new one
  }
  if (chosen.weight() != shown.weight()) result.lfWeight = chosen.weight();
  if (chosen.italic() != shown.italic()) result.lfItalic = chosen.italic() ? 1 : 0;
  if (chosen.underline() != shown.underline()) result.lfUnderline = chosen.underline() ? 1 : 0;
  if (chosen.strikeOut() != shown.strikeOut()) result.lfStrikeOut = chosen.strikeOut() ? 1 : 0;
  return result;
}

KQtFontColourDialog::KQtFontColourDialog(const LOGFONT& font, COLORREF colour, QWidget* parent)
    : QDialog(parent), m_base(font), m_colour(colour) {
  setWindowTitle(QStringLiteral("Font"));
  auto* layout = new QVBoxLayout(this);
  m_panel = new QFontDialog(this);
  m_panel->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
  m_panel->setWindowFlags(Qt::Widget);
  m_panel->setSizeGripEnabled(false);
  m_panel->setCurrentFont(PanelFont(font));
  // The panel shows the nearest of its sizes and styles: what it reports now
  // is what "unchanged" means.
  m_opening = m_panel->currentFont();
  // The panel is a dialog of its own: Escape there cancels this one.
  connect(m_panel, &QDialog::finished, this, [this](int result) {
    m_panel->show();
    if (result == QDialog::Accepted)
      accept();
    else
      reject();
  });
  layout->addWidget(m_panel);

  auto* colourRow = new QHBoxLayout;
  auto* colourLabel = new QLabel(QStringLiteral("Text colour:"), this);
  m_colourButton = new QPushButton(QStringLiteral("C&olour..."), this);
  m_colourButton->setAutoDefault(false);
  colourLabel->setBuddy(m_colourButton);
  connect(m_colourButton, &QPushButton::clicked, this, [this] { PickColour(); });
  colourRow->addWidget(colourLabel);
  colourRow->addWidget(m_colourButton);
  colourRow->addStretch(1);
  layout->addLayout(colourRow);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  SetColour(colour);
}

void KQtFontColourDialog::SetColour(COLORREF colour) {
  m_colour = colour;
  const int side = m_colourButton->fontMetrics().height();
  QPixmap swatch(side, side);
  swatch.fill(ToQColor(m_colour));
  m_colourButton->setIcon(QIcon(swatch));
}

void KQtFontColourDialog::PickColour() {
  const QColor picked = QColorDialog::getColor(ToQColor(m_colour), this, QStringLiteral("Text Colour"));
  if (picked.isValid()) SetColour(FromQColor(picked));
}

LOGFONT KQtFontColourDialog::ChosenFont() const {
  return FromChoice(m_base, m_opening, m_panel->currentFont());
}

bool KQtFontColourDialog::Choose(LOGFONT& font, COLORREF& colour, QWidget* parent) {
  KQtFontColourDialog dialog(font, colour, parent);
  if (dialog.exec() != QDialog::Accepted) return false;
  font = dialog.ChosenFont();
  colour = dialog.ChosenColour();
  return true;
}
