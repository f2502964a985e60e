// Labels printed to PDF and read back as a person and a scanner read them: the page rendered
// (pdftoppm) and its code decoded (dmtxread), its text extracted (pdftotext).

#include "Cp1251.h"
#include "LabelPrint.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The tool's standard output; empty when it fails.
QByteArray Run(const QString& tool, const QStringList& arguments) {
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {};
    return process.readAllStandardOutput();
}

} // namespace

class TestLabels : public QObject {
    Q_OBJECT

private slots:
    void aPdfLabelReadsBack_data();
    void aPdfLabelReadsBack();
    void aFolderThatCannotBeWrittenPrintsNothing();
};

void TestLabels::aPdfLabelReadsBack_data() {
    QTest::addColumn<QString>("serial");
    QTest::addColumn<QSizeF>("size");
    QTest::newRow("numbered, 40 × 25") << "Q5-2026-12-0000000-00114" << QSizeF(40, 25);
    QTest::newRow("Cyrillic, 40 × 25") << "ТАРВИК Q5 ЗАВОД 1 A00115" << QSizeF(40, 25);
    QTest::newRow("short, 30 × 20") << "77" << QSizeF(30, 20);
    QTest::newRow("numbered, 60 × 40") << "0123456789ABCDEFGHIJ0000" << QSizeF(60, 40);
}

void TestLabels::aPdfLabelReadsBack() {
    QFETCH(QString, serial);
    QFETCH(QSizeF, size);
    QTemporaryDir dir;
    LabelLayout layout;
    layout.sizeMm = size;
    const LabelContent content{serial, QStringLiteral("09.12.26"), QStringLiteral("1a2b3c4d")};
    const LabelPrintResult result = LabelPrint::Print(
        {LabelTarget::Kind::PdfFolder, {}, dir.filePath(QStringLiteral("labels"))}, layout,
        content);
    QVERIFY2(result.printed, qPrintable(result.problem));
    QVERIFY(QFile::exists(result.pdfPath));

    // One page, the label's size (points of 1/72 inch).
    const QString info = QString::fromUtf8(Run(QStringLiteral("pdfinfo"), {result.pdfPath}));
    const QRegularExpressionMatch page =
        QRegularExpression(
            QStringLiteral("Pages: +1\\n(?:.*\\n)*Page size: +([\\d.]+) x ([\\d.]+) pts"))
            .match(info);
    QVERIFY2(page.hasMatch(), qPrintable(info));
    QVERIFY(qAbs(page.captured(1).toDouble() - size.width() / 25.4 * 72) < 1);
    QVERIFY(qAbs(page.captured(2).toDouble() - size.height() / 25.4 * 72) < 1);

    const QString png = dir.filePath(QStringLiteral("page"));
    Run(QStringLiteral("pdftoppm"),
        {QStringLiteral("-r"), QStringLiteral("600"), QStringLiteral("-png"),
         QStringLiteral("-singlefile"), result.pdfPath, png});
    // The code holds the serial number in the controller's own bytes.
    QCOMPARE(Run(QStringLiteral("dmtxread"), {QStringLiteral("-N1"), png + ".png"}),
             Cp1251::Encode(serial));

    const QString text =
        QString::fromUtf8(Run(QStringLiteral("pdftotext"), {result.pdfPath, QStringLiteral("-")}));
    QVERIFY2(text.contains(serial), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("09.12.26")), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("1a2b3c4d")), qPrintable(text));
}

// A folder below a file cannot be made: the label is not printed, and says why.
void TestLabels::aFolderThatCannotBeWrittenPrintsNothing() {
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("file")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    const QString folder = file.fileName() + QStringLiteral("/labels");
    const LabelPrintResult result = LabelPrint::Print({LabelTarget::Kind::PdfFolder, {}, folder},
                                                      {}, {QStringLiteral("Q5"), {}, {}});
    QVERIFY(!result.printed);
    QVERIFY2(result.problem.contains(folder), qPrintable(result.problem));
    const LabelPrintResult noPrinter =
        LabelPrint::Print({LabelTarget::Kind::Printer, QStringLiteral("нет такого"), {}}, {}, {});
    QVERIFY(!noPrinter.printed);
    QCOMPARE(noPrinter.problem, QStringLiteral("нет принтера «нет такого»"));
}

QTEST_MAIN(TestLabels)
#include "TestLabels.moc"
