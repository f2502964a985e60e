#include "SheetPages.h"

#include "DurableWrite.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>

namespace Sheets {

namespace {

constexpr qreal MarginMm = 15;
constexpr int FontPoints = 9;

QFont SheetFont() {
    QFont font(QStringLiteral("DejaVu Sans"), FontPoints);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

QString Escaped(const QString& text) {
    return text.toHtmlEscaped();
}

// The section's title and the column heads form the table's head, which repeats on every page
// the table runs over; a title never stands alone at the foot of a page.
QString TableHtml(const Section& section) {
    QString html =
        QStringLiteral(
            "%3<table width=\"100%\" border=\"1\" cellspacing=\"0\" "
            "cellpadding=\"3\" style=\"border-collapse: collapse; border-color: "
            "#808080\"><thead><tr><td colspan=\"%1\" style=\"font-size: large\"><b>%2</b>"
            "</td></tr><tr>")
            .arg(section.columns.size())
            .arg(Escaped(section.title),
                 section.newPage ? QStringLiteral("<p style=\"page-break-before: always\"></p>")
                                 : QStringLiteral("<p></p>"));
    for (int i = 0; i < section.columns.size(); ++i) {
        const auto column = static_cast<std::size_t>(i);
        const QString width = column < section.widths.size()
                                  ? QStringLiteral(" width=\"%1%\"").arg(section.widths[column])
                                  : QString();
        html += QStringLiteral("<th align=\"left\" bgcolor=\"#e8e8e8\"%1>%2</th>")
                    .arg(width, Escaped(section.columns[i]));
    }
    html += QStringLiteral("</tr></thead>");
    for (const Row& row : section.rows) {
        html += QStringLiteral("<tr>");
        if (row.kind != RowKind::Cells) {
            const bool page = row.kind == RowKind::PageHeading;
            html += QStringLiteral("<td colspan=\"%1\" bgcolor=\"%2\"><b>%3</b></td>")
                        .arg(section.columns.size())
                        .arg(page ? QStringLiteral("#d8d8d8") : QStringLiteral("#f4f4f4"))
                        .arg(Escaped(row.cells.value(0)));
        } else {
            for (const QString& cell : row.cells)
                html += QStringLiteral("<td>%1</td>").arg(Escaped(cell));
        }
        html += QStringLiteral("</tr>");
    }
    return html + QStringLiteral("</table>");
}

QString Html(const Sheet& sheet) {
    QString html = QStringLiteral("<h2>%1</h2><table cellspacing=\"0\" cellpadding=\"1\">")
                       .arg(Escaped(sheet.title));
    for (const auto& [name, value] : sheet.header)
        html += QStringLiteral("<tr><td><b>%1:</b>&nbsp;&nbsp;</td><td>%2</td></tr>")
                    .arg(Escaped(name), Escaped(value));
    html += QStringLiteral("</table>");
    for (const Section& section : sheet.sections)
        html += TableHtml(section);
    return html;
}

} // namespace

void SetA4(QPagedPaintDevice& device) {
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(MarginMm, MarginMm, MarginMm, MarginMm),
                                     QPageLayout::Millimeter));
}

int Paint(const Sheet& sheet, QPagedPaintDevice& device) {
    const QFont font = SheetFont();
    QTextDocument document;
    document.documentLayout()->setPaintDevice(&device);
    document.setDefaultFont(font);
    document.setHtml(Html(sheet));

    const QRectF body = device.pageLayout().paintRectPixels(device.logicalDpiX());
    const QFontMetricsF metrics(font, &device);
    const qreal footerHeight = metrics.height() * 2;
    const QSizeF page(body.width(), body.height() - footerHeight);
    document.setPageSize(page);
    const int pages = document.pageCount();

    QPainter painter(&device);
    painter.setFont(font);
    const QRectF footer(0, body.height() - metrics.height(), body.width(), metrics.height());
    for (int i = 0; i < pages; ++i) {
        if (i > 0)
            device.newPage();
        painter.save();
        painter.translate(0, -i * page.height());
        document.drawContents(&painter, QRectF(QPointF(0, i * page.height()), page));
        painter.restore();
        painter.drawText(footer, Qt::AlignLeft | Qt::AlignVCenter, sheet.footer);
        painter.drawText(footer, Qt::AlignRight | Qt::AlignVCenter,
                         QStringLiteral("Страница %1 из %2").arg(i + 1).arg(pages));
    }
    return pages;
}

QByteArray Pdf(const Sheet& sheet) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(300);
        writer.setTitle(sheet.title);
        writer.setCreator(QStringLiteral("Tarvik-Q5"));
        SetA4(writer);
        Paint(sheet, writer);
    }
    return buffer.data();
}

void WritePdf(const Sheet& sheet, const QString& path) {
    WriteFileDurably(path, Pdf(sheet));
}

} // namespace Sheets
