// Sheets for paper through the whole window, against an emulated controller: the PDF's text
// (pdftotext) holds every caption and the value the window shows, its fonts are embedded
// (pdffonts), a failed read makes no sheet, an unwritable path leaves nothing behind, and a
// comparison's PDF lists exactly the differing words.

#include "../integration/AppFixture.h"
#include "CompareDialog.h"
#include "ComparisonSheet.h"
#include "Connection.h"
#include "EmulatedPorts.h"
#include "ErrorHandler.h"
#include "Form1.h"
#include "PaperValue.h"
#include "ParameterBlock.h"
#include "SafetyDialogs.h"
#include "SettingsRecords.h"
#include "SheetDialog.h"
#include "SheetMenu.h"
#include "SheetOutline.h"
#include "SheetPages.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>

#include <set>

namespace {

// The output of a poppler tool run on the file.
QString Poppler(const QString& tool, QStringList arguments) {
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString Simplified(const QString& text) {
    return text.simplified();
}

// The window's text of the parameter's control, as the person at the window reads it.
QString WindowText(const TForm1& form, const Catalogue::Entry& entry) {
    const QString name = QString::fromLatin1(entry.control);
    if (auto* list = form.findChild<QComboBox*>(name))
        return list->currentText();
    if (auto* slider = form.findChild<QSlider*>(name))
        return QStringLiteral("%1 из %2").arg(slider->value()).arg(slider->maximum());
    if (auto* radio = form.findChild<QRadioButton*>(name)) {
        const int chosen = radio->isChecked() ? 1 : 0;
        return QString::fromUtf8(entry.items[static_cast<std::size_t>(chosen)]);
    }
    return form.findChild<QLineEdit*>(name)->text().trimmed();
}

// The window's value as paper gives it: its number, then the unit once.
QString OnPaper(const TForm1& form, const Catalogue::Entry& entry) {
    const QString shown = WindowText(form, entry);
    if (entry.kind != Catalogue::Kind::Value || entry.Unit().isEmpty())
        return shown;
    static const QRegularExpression number(QStringLiteral("-?\\d+(\\.\\d+)?"));
    return number.match(shown).captured() + QLatin1Char(' ') + entry.Unit();
}

} // namespace

class TestSheets : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void controllerSheetShowsWhatTheWindowShows();
    void valueOnPaperHasItsUnitOnce_data();
    void valueOnPaperHasItsUnitOnce();
    void failedReadMakesNoSheet();
    void fileSheetSavesOrLeavesNothing_data();
    void fileSheetSavesOrLeavesNothing();
    void comparisonListsExactlyTheDifferingWords();
    void compareWindowPutsWrittenWordsOnPaper();

private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<EmulatedPorts> ports_;
    std::unique_ptr<AppFixture> app_;
};

void TestSheets::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    qputenv("XDG_CONFIG_HOME", dir_->filePath("config").toUtf8());
    ports_ = std::make_unique<EmulatedPorts>();
    app_ = std::make_unique<AppFixture>();
}

void TestSheets::cleanup() {
    app_.reset();
    ports_.reset();
    dir_.reset();
}

void TestSheets::controllerSheetShowsWhatTheWindowShows() {
    q5emu::Q5Emulator& controller = ports_->emulator();
    controller.setParam(71, 6);     // the cylinders' plural mask
    controller.setParam(55, 0x100); // a valve word whose low byte alone chooses the item
    controller.setParam(93, 0);     // the reducer's box instead of the gas sensor's
    Connect_to_COM1Click();
    QVERIFY(DeviceConnected());
    std::unique_ptr<SheetDialog> dialog = MakeControllerSheet(app_->form());
    dialog->findChild<QLineEdit*>(QStringLiteral("Workshop"))->setText(QStringLiteral("Гараж №5"));
    const QString pdf = dir_->filePath("sheet.pdf");
    QVERIFY(dialog->SavePdfTo(pdf));

    const QString text = Simplified(Poppler(QStringLiteral("pdftotext"),
                                            {QStringLiteral("-layout"), pdf, QStringLiteral("-")}));
    QVERIFY(text.contains(QStringLiteral("Мастерская: Гараж №5")));
    QVERIFY(text.contains(CurrentDevice().serial.simplified()));
    // Every parameter control but the two of the boxes that are never seen; those of the
    // hidden service pages after their section's title, the others before it.
    QCOMPARE(WindowOutline().size(), std::size_t(47));
    const qsizetype hiddenAt = text.indexOf(Sheets::HiddenPagesTitle());
    QVERIFY(hiddenAt > 0);
    for (const Sheets::Placed& placed : WindowOutline()) {
        const QString line = Simplified(placed.entry->Name() + QLatin1Char(' ') +
                                        OnPaper(app_->form(), *placed.entry));
        const qsizetype at = placed.onHiddenPage ? text.indexOf(line) : text.lastIndexOf(line);
        QVERIFY2(at >= 0 && (at > hiddenAt) == placed.onHiddenPage, qPrintable(line));
    }
    QVERIFY(!text.contains(
        QRegularExpression(QStringLiteral("\\d ?(Volt|V|mS|Cек|Сек|Об/мин)|кП(?!а)"))));
    QVERIFY(text.contains(QStringLiteral("6 цилиндров")));
    QVERIFY(text.contains(app_->form().GroupBox15->title()));
    QVERIFY(text.contains(QStringLiteral("Страница 1 из ")));

    const QStringList fonts =
        Poppler(QStringLiteral("pdffonts"), {pdf}).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QVERIFY(fonts.size() > 2); // two lines of heads, then one a font
    for (const QString& font : fonts.mid(2))
        QVERIFY2(font.contains(QStringLiteral(" yes ")), qPrintable(font));
}

void TestSheets::valueOnPaperHasItsUnitOnce_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("word");
    QTest::addColumn<QString>("paper");
    QTest::newRow("Volt") << "SpinExtEdit19" << 600 << "0.60 В";
    QTest::newRow("Vref") << "SpinExtEdit1" << 5000 << "5.00 В";
    QTest::newRow("Об/мин") << "SpinExtEdit18" << 1600 << "1600 об/мин";
    QTest::newRow("кП") << "SpinExtEdit28" << 15 << "1.5 кПа";
    QTest::newRow("mS") << "SpinExtEdit43" << 15 << "1.50 мс";
    QTest::newRow("Cек, point") << "SpinExtEdit29" << 10 << "10 с";
    QTest::newRow("Cек, decimals") << "SpinExtEdit35" << 20 << "0.40 с";
    QTest::newRow("no unit") << "SpinExtEdit40" << 1200 << "1.20";
}

void TestSheets::valueOnPaperHasItsUnitOnce() {
    QFETCH(QString, control);
    QFETCH(int, word);
    QFETCH(QString, paper);
    const Catalogue::Entry* entry = Catalogue::ForControl(control.toLatin1().constData());
    QVERIFY(entry);
    QCOMPARE(Sheets::PaperValue(*entry, static_cast<uint16_t>(word)), paper);
}

void TestSheets::failedReadMakesNoSheet() {
    Connect_to_COM1Click();
    QVERIFY(DeviceConnected());
    q5emu::FaultSpec silent(q5emu::FaultMode::Silence);
    silent.command = 2;
    silent.address = 61;
    ports_->emulator().setFault(silent);
    std::unique_ptr<SheetDialog> dialog;
    RunHandler([&] { dialog = MakeControllerSheet(app_->form()); });
    QVERIFY(!dialog);
    QCOMPARE(app_->errors.size(), 1);
    QVERIFY2(app_->errors.front().contains(QStringLiteral("слова 61 (Обогащение при разгоне)")),
             qPrintable(app_->errors.front()));
}

void TestSheets::fileSheetSavesOrLeavesNothing_data() {
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("saved");
    QTest::newRow("documents") << QStringLiteral("car1 2026-12-08.pdf") << true;
    QTest::newRow("missing folder") << QStringLiteral("missing/car1.pdf") << false;
    QTest::newRow("folder in the way") << QStringLiteral("taken.pdf") << false;
}

void TestSheets::fileSheetSavesOrLeavesNothing() {
    QFETCH(QString, target);
    QFETCH(bool, saved);
    const QDir dir(dir_->path());
    QVERIFY(dir.mkpath(QStringLiteral("taken.pdf")));
    SettingsRecords::Entries entries{};
    for (int i = 0; i < SettingsRecords::Count; ++i)
        entries[static_cast<std::size_t>(i)].word =
            ports_->emulator().param(static_cast<uint8_t>(SettingsRecords::FirstAddress + i));
    QFile file(dir.filePath(QStringLiteral("car1.q5t")));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(SettingsRecords::Build(entries)) > 0);
    file.close();
    const QStringList before = dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

    std::unique_ptr<SheetDialog> dialog = MakeFileSheet(file.fileName(), &app_->form());
    QVERIFY(dialog->ProposedPath().endsWith(
        QStringLiteral("/car1 %1.pdf").arg(QDate::currentDate().toString(Qt::ISODate))));
    QCOMPARE(dialog->SavePdfTo(dir.filePath(target)), saved);
    QCOMPARE(app_->errors.size(), saved ? 0 : 1);
    QStringList expected = saved ? before + QStringList{target} : before;
    expected.sort();
    QCOMPARE(dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name), expected);
    if (saved)
        QVERIFY(Simplified(
                    Poppler(QStringLiteral("pdftotext"),
                            {QStringLiteral("-layout"), dir.filePath(target), QStringLiteral("-")}))
                    .contains(QStringLiteral("Файл: car1.q5t")));
}

void TestSheets::comparisonListsExactlyTheDifferingWords() {
    SettingsRecords::Words a{}, b{};
    b[71 - SettingsRecords::FirstAddress] = 6;
    b[92 - SettingsRecords::FirstAddress] = 5500;
    b[99 - SettingsRecords::FirstAddress] = 1; // no control sets it
    const std::vector<Comparison::Row> rows = Comparison::Rows(a, b);
    const Sheets::Sheet sheet = Sheets::ComparisonSheet(
        {QStringLiteral("Прибор"), QStringLiteral("car1.q5t"), {rows[1], rows[2]}, {rows[0]}}, {},
        QStringLiteral("08.12.2026 10:00"));
    // Printed as to a PDF printer, through the same page code.
    const QString pdf = dir_->filePath("compare.pdf");
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    Sheets::SetA4(printer);
    QCOMPARE(Sheets::Paint(sheet, printer), 1);
    const QString text =
        Poppler(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    static const QRegularExpression row(QStringLiteral("^\\s*(\\d+(?:, \\d+)*)\\s{2,}(.*)$"),
                                        QRegularExpression::MultilineOption);
    QStringList listed;
    for (auto match = row.globalMatch(text); match.hasNext();)
        listed << match.next().captured(1);
    QCOMPARE(listed, (QStringList{"71, 96", "92", "99"}));
    QVERIFY(text.contains(QStringLiteral("6 цилиндров")));
    QVERIFY(text.contains(QStringLiteral("5500 об/мин"))); // as on the settings sheet
    QVERIFY(text.contains(QStringLiteral("Слово 99")));
    QCOMPARE(text.count(QRegularExpression(QStringLiteral("\\sда\\s*$"),
                                           QRegularExpression::MultilineOption)),
             1);
}

void TestSheets::compareWindowPutsWrittenWordsOnPaper() {
    Connect_to_COM1Click();
    QVERIFY(DeviceConnected());
    q5emu::Q5Emulator& controller = ports_->emulator();
    SettingsRecords::Entries file = ParameterBlock::Read();
    file[57 - SettingsRecords::FirstAddress].word = 2000;
    file[71 - SettingsRecords::FirstAddress].word = 6;
    QFile car(dir_->filePath("car1.q5t"));
    QVERIFY(car.open(QIODevice::WriteOnly) && car.write(SettingsRecords::Build(file)) > 0);
    car.close();

    const std::unique_ptr<CompareDialog> dialog = MakeControllerComparison(car.fileName(), nullptr);
    QVERIFY(dialog);
    dialog->SetChecked(0, true);
    QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("WriteButton")),
                      Qt::LeftButton);
    QCOMPARE(controller.param(57), 2000);
    std::vector<QStringList> rows;
    const Sheets::Sheet sheet = MakeComparisonSheet(*dialog)->Sheet();
    for (const Sheets::Row& row : sheet.sections.front().rows)
        rows.push_back({row.cells.front(), row.cells.back()});
    QCOMPARE(rows, (std::vector<QStringList>{{"57", "да"}, {"71, 96", ""}}));
}

QTEST_MAIN(TestSheets)
#include "test_sheets.moc"
