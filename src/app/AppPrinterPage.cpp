// The printer's page on a fresh install: the stored printer values are the
// program's defaults (a page 8 inches wide at 360 dots an inch) until the
// first print stores the real ones. Laying a new score out to the defaults
// would make its first print on another page (A4, or a narrow one) ask to
// shrink lines that are "slightly wider than the printed page"; the page of
// the printer the print will use is taken and stored instead.

#include <QPrinter>
#include <algorithm>

#include "app/CStavlinApp.h"
#include "doc/pref_values/PreferenceWriters.h"
#include "doc/pref_values/Preferences.h"
#include "platform/qt/KQtPrinting.h"

void CStavlinApp::TakePrinterPage() {
  const KPrefPrinterParams defaults;
  KPrefPrinterParams& stored = g_prefPrinterParams;
  const bool neverPrinted =
      stored.pageWidth == defaults.pageWidth && stored.pageHeight == defaults.pageHeight &&
      stored.resolutionX == defaults.resolutionX && stored.resolutionY == defaults.resolutionY;
  if (!neverPrinted) return;
  const DeviceCaps caps = qt_printing::PrinterCaps(qt_printing::SharedPrinter());
  if (caps.horzRes <= 0 || caps.vertRes <= 0 || caps.logPixelsX <= 0 || caps.logPixelsY <= 0) return;
  // The page as printing reads it: portrait, as a new score prints.
  stored.pageWidth = std::min(caps.horzRes, caps.vertRes);
  stored.pageHeight = std::max(caps.horzRes, caps.vertRes);
  stored.resolutionX = caps.logPixelsX;
  stored.resolutionY = caps.logPixelsY;
  WritePreferenceGroup(HKEY_CURRENT_USER, KPrefGroup::kPrinterParams);
}
