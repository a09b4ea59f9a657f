#pragma once
// Printing on Qt: a print job (platform/PrintJob.h) painted on a QPrinter
// through the printer's device context (KQtPrintDC), with the print dialog,
// the print preview, the page setup dialog, or straight to a PDF file.
//
// The printer is set up before its first page: the job turns it to the
// orientation it wants in OnBeginPrinting, and only then does painting start.
// Pages are drawn at 300 dots per inch, the resolution the program's printed
// lines and symbols are made for; a PDF page keeps a quarter-inch edge that
// nothing is printed on, as most printers do.

#include <QString>

#include "platform/PrintJob.h"

class QPrinter;
class QWidget;

namespace qt_printing {

// The resolution pages are painted at.
inline constexpr int kPrintDpi = 300;

// The printer of this run of the program: what Print Setup and the print
// dialog choose stays for the next print. Made on first use.
QPrinter& SharedPrinter();

// What the printer reports of its page as it is set up now (the drawable
// size in printer pixels and the resolution), as the print loop reads it.
DeviceCaps PrinterCaps(const QPrinter& printer);

// Sets a printer up as the program prints: the resolution, and the plain
// quarter-inch edge when it writes a PDF file.
void PreparePrinter(QPrinter& printer);

// The job on the printer with no dialog: OnPreparePrinting, then the pages
// from..to (to 0: all). Returns the pages painted; -1 when nothing was
// printed because the job or the output failed.
int PrintPages(KPrintJob& job, QPrinter& printer, bool preview, int fromPage = 1, int toPage = 0);

// The job as a PDF file at path, on paper of the printer's size (Letter when
// none is chosen); the pages painted, or -1.
int PrintToPdf(KPrintJob& job, const QString& path, int fromPage = 1, int toPage = 0);

// The print dialog (which pages, which printer), then the pages. False when
// cancelled or nothing was printed.
bool PrintWithDialog(KPrintJob& job, QWidget* parent);

// The print preview of the job; it can print from there.
bool Preview(KPrintJob& job, QWidget* parent);

// The page setup dialog of the shared printer.
bool PageSetup(QWidget* parent);

}  // namespace qt_printing
