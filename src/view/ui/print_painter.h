// Draws the printed parameter list that the core lays out: on a printer, in
// the print preview or into a PDF file. Needs QtGui only, so the command line
// renders PDFs with the same code.
#pragma once

#include "view/print_layout.h"

#include <QFont>
#include <QString>

class QPagedPaintDevice;
class QPainter;

namespace kolt {

// The page fonts; where a family is not installed its metric-compatible
// substitute stands in (Liberation Sans, Serif and Mono).
QFont PrintQFont(PrintFont font);

// Paints one laid-out page. The painter's units must be 0.01 inch with the
// origin at the top left of the printable area (see PaintPrintJob).
void PaintPrintPage(QPainter& painter, const PrintPage& page);

// Paints every page of the job onto an open painter of a printer or PDF
// writer, starting a new sheet between pages. `landscape` decides the lines
// per page. A page that would not fit the printable area is shrunk to fit.
// `first`..`last` limit the pages (0 for no limit).
void PaintPrintJob(QPainter& painter, QPagedPaintDevice& device, const PrintJob& job, bool landscape, int first = 0,
                   int last = 0);

// Writes the job as a PDF on A4 with 0.25-inch margins. False when the file
// cannot be written.
bool WritePrintPdf(const PrintJob& job, const QString& path, bool landscape);

}  // namespace kolt
