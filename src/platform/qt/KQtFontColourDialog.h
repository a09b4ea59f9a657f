#pragma once
// The font dialog of the Text Font... buttons: Qt's font panel with a text
// colour beside it (QFontDialog has none). It opens on a LOGFONT and a
// colour and gives back a LOGFONT in which only what the user changed is
// new: the fields Qt cannot express (escapement, orientation, width,
// character set, precisions, quality, pitch and family) and any attribute
// left alone keep their values, so that a font text goes through the dialog
// unchanged when nothing is changed.
//
// Sizes: the panel shows points at 96 pixels to the inch, the program's
// heights are pixels; a changed size keeps the sign convention of the old
// height (negative: character height, otherwise cell height).

#include <QColor>
#include <QDialog>
#include <QFont>

#include "platform/GdiObjects.h"
#include "platform/WinTypes.h"

class QFontDialog;
class QPushButton;

class KQtFontColourDialog : public QDialog {
 public:
  KQtFontColourDialog(const LOGFONT& font, COLORREF colour, QWidget* parent = nullptr);

  // The font and colour as chosen so far.
  LOGFONT ChosenFont() const;
  COLORREF ChosenColour() const { return m_colour; }
  void SetColour(COLORREF colour);
  QFontDialog& FontPanel() { return *m_panel; }

  // Runs the dialog modally; on OK puts the choice in font and colour.
  static bool Choose(LOGFONT& font, COLORREF& colour, QWidget* parent);

  // The font the panel opens on for a LOGFONT.
  static QFont PanelFont(const LOGFONT& font);
  // The LOGFONT of a choice: base with what differs between the font the
  // panel opened on (as the panel reports it) and the chosen one.
  static LOGFONT FromChoice(const LOGFONT& base, const QFont& opening, const QFont& chosen);

 private:
  void PickColour();

  LOGFONT m_base;
  QFont m_opening;
  COLORREF m_colour;
  QFontDialog* m_panel;
  QPushButton* m_colourButton;
};

QColor ToQColor(COLORREF colour);
COLORREF FromQColor(const QColor& colour);
