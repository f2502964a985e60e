#pragma once
// Prints one label: to a printer by its name, or as a PDF of one page the label's size into a
// folder (a desk without a label printer). Callable from any thread: painting onto a printer
// or a PDF needs no window.

#include "LabelContent.h"
#include "LabelLayout.h"

#include <QString>

struct LabelTarget {
    enum class Kind { Printer, PdfFolder };
    Kind kind = Kind::PdfFolder;
    QString printer; // the printer's name
    QString folder;  // of the PDFs
};

struct LabelPrintResult {
    bool printed = false;
    QString problem; // why not, in the tool's words
    QString pdfPath; // the file written, for a PDF
};

namespace LabelPrint {

// The PDF's name in its folder: the serial number, characters a file name cannot hold as "_".
QString PdfName(const QString& serial);

LabelPrintResult Print(const LabelTarget& target, const LabelLayout& layout,
                       const LabelContent& content);

// The label as PDF bytes (one page the label's size).
QByteArray Pdf(const LabelLayout& layout, const LabelContent& content);

} // namespace LabelPrint
