#include "LabelPrint.h"

#include "DurableWrite.h"
#include "InOutError.h"
#include "LabelPainter.h"

#include <QBuffer>
#include <QDir>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>

namespace {

QPageSize PageOf(const LabelLayout& layout) {
    return QPageSize(layout.sizeMm, QPageSize::Millimeter, QString(), QPageSize::ExactMatch);
}

LabelPrintResult ToPrinter(const QString& name, const LabelLayout& layout,
                           const LabelContent& content) {
    if (name.isEmpty() || QPrinterInfo::printerInfo(name).isNull())
        return {false,
                name.isEmpty() ? QStringLiteral("принтер не выбран")
                               : QStringLiteral("нет принтера «%1»").arg(name),
                {}};
    QPrinter printer(QPrinter::HighResolution);
    printer.setPrinterName(name);
    printer.setPageSize(PageOf(layout));
    printer.setPageOrientation(layout.sizeMm.width() >= layout.sizeMm.height()
                                   ? QPageLayout::Landscape
                                   : QPageLayout::Portrait);
    printer.setFullPage(true);
    printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    printer.setDocName(QStringLiteral("Этикетка %1").arg(content.serial));
    QPainter painter;
    if (!printer.isValid() || !painter.begin(&printer))
        return {false, QStringLiteral("принтер «%1» не принимает печать").arg(name), {}};
    LabelPainter::Paint(painter, printer.paperRect(QPrinter::DevicePixel), layout, content);
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        return {false, QStringLiteral("печать на «%1» не удалась").arg(name), {}};
    return {true, {}, {}};
}

LabelPrintResult ToPdf(const QString& folder, const LabelLayout& layout,
                       const LabelContent& content) {
    const QString path = QDir(folder).filePath(LabelPrint::PdfName(content.serial));
    if (folder.isEmpty())
        return {false, QStringLiteral("папка этикеток не выбрана"), {}};
    if (!QDir().mkpath(folder))
        return {false,
                QStringLiteral("нельзя создать папку %1").arg(QDir::toNativeSeparators(folder)),
                {}};
    try {
        WriteFileDurably(path, LabelPrint::Pdf(layout, content));
    } catch (const EInOutError& e) {
        return {false,
                QStringLiteral("нельзя записать %1: %2")
                    .arg(QDir::toNativeSeparators(path), QString::fromStdString(e.what())),
                {}};
    }
    return {true, {}, path};
}

} // namespace

QString LabelPrint::PdfName(const QString& serial) {
    QString name = serial.trimmed();
    for (QChar& c : name)
        if (!c.isLetterOrNumber() && c != u'-' && c != u'.' && c != u' ')
            c = u'_';
    return (name.isEmpty() ? QStringLiteral("_") : name) + QStringLiteral(".pdf");
}

QByteArray LabelPrint::Pdf(const LabelLayout& layout, const LabelContent& content) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setResolution(1200);
        pdf.setPageSize(PageOf(layout));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
        pdf.setTitle(QStringLiteral("Этикетка %1").arg(content.serial));
        QPainter painter(&pdf);
        const QRectF page(0, 0, pdf.width(), pdf.height());
        LabelPainter::Paint(painter, page, layout, content);
    }
    return buffer.data();
}

LabelPrintResult LabelPrint::Print(const LabelTarget& target, const LabelLayout& layout,
                                   const LabelContent& content) {
    return target.kind == LabelTarget::Kind::Printer ? ToPrinter(target.printer, layout, content)
                                                     : ToPdf(target.folder, layout, content);
}
