#pragma once
// The page code of every sheet: the title, the header's fields, then each section as a table
// whose column heads repeat on every page it runs over; text wraps within its cell, never
// clipped, and every page carries the sheet's footer and "Страница n из m". The text stays
// text: a PDF holds it with its fonts embedded.

#include "Sheet.h"

#include <QByteArray>

class QPagedPaintDevice;

namespace Sheets {

// A4 portrait with margins of 15 mm.
void SetA4(QPagedPaintDevice& device);

// Paints the sheet on the device's pages as its page layout sets them; returns the page count.
int Paint(const Sheet& sheet, QPagedPaintDevice& device);

// The sheet as the bytes of an A4 PDF file.
QByteArray Pdf(const Sheet& sheet);

// Writes the PDF: the file appears whole or not at all, and a file it replaces stays as it was
// on a failure. Throws EInOutError.
void WritePdf(const Sheet& sheet, const QString& path);

} // namespace Sheets
