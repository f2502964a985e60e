// Texts a person can read: Qt's own dialogs in Russian; every window of the tool within a
// laptop's screen with a panel (1366 × 720, the chart window 1024 × 720: the screens of
// laptop-screens.json), no text in it wider than its widget or cut at a text box's edge, no
// control cut at the side of the box that scrolls it; and a folder's path shown where no file
// manager opens it.
#include "ChartWindow.h"
#include "CompareDialog.h"
#include "ConnectionEvents.h"
#include "FolderOpener.h"
#include "Form1.h"
#include "Form3.h"
#include "HistoryWindow.h"
#include "JournalFeed.h"
#include "LineWindow.h"
#include "LivePoller.h"
#include "PortsDialog.h"
#include "QtTranslations.h"
#include "RecordingDialog.h"
#include "RestorePointsDialog.h"
#include "Ser_num.h"
#include "SheetDialog.h"
#include "StationView.h"
#include "WindowLink.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTranslator>

#include <functional>
#include <memory>

using WindowMaker = std::function<QWidget*()>;
Q_DECLARE_METATYPE(WindowMaker)

namespace {

// Every visible text of the window wider than its widget's room, and every line of a text box
// that its lower edge cuts.
QStringList ClippedTexts(const QWidget& window) {
    QStringList clipped;
    const auto check = [&clipped](const QWidget* widget, QString line, double room) {
        line.remove(QLatin1Char('&'));
        if (widget->isVisibleTo(widget->window()) &&
            widget->fontMetrics().horizontalAdvance(line) > room)
            clipped << widget->objectName() + QStringLiteral(" «") + line + QStringLiteral("»");
    };
    for (const QLabel* label : window.findChildren<QLabel*>())
        for (const QString& line : label->text().split(QLatin1Char('\n')))
            if (!label->wordWrap())
                check(label, line, label->contentsRect().width() - 2 * label->margin());
    for (const QPushButton* button : window.findChildren<QPushButton*>())
        check(button, button->text(), button->width() - 6);
    for (const QPlainTextEdit* memo : window.findChildren<QPlainTextEdit*>()) {
        const double margin = memo->document()->documentMargin();
        const double bottom = memo->viewport()->height();
        double top = margin;
        for (QTextBlock block = memo->document()->begin(); block.isValid(); block = block.next()) {
            check(memo, block.text(), memo->viewport()->width() - 2 * margin);
            const double height =
                memo->document()->documentLayout()->blockBoundingRect(block).height();
            top += height;
            if (top - bottom > 2 && top - bottom < height)
                clipped << memo->objectName() + QStringLiteral(" cuts «%1»").arg(block.text());
        }
    }
    return clipped;
}

// Every control inside a scrolled box whose left or right side the box's view cuts off.
QStringList CutAtScrolledSides(const QWidget& window) {
    QStringList cut;
    for (const QScrollArea* area : window.findChildren<QScrollArea*>()) {
        const QWidget* view = area->viewport();
        for (const QWidget* control : area->widget()->findChildren<QWidget*>()) {
            const QRect place(control->mapTo(view, QPoint()), control->size());
            if (control->isVisibleTo(&window) &&
                (place.left() < 0 || place.right() > view->rect().right()))
                cut << area->accessibleName() + QStringLiteral(": ") + control->accessibleName();
        }
    }
    return cut;
}

QScreen* ScreenNamed(const QString& name) {
    for (QScreen* screen : QGuiApplication::screens())
        if (screen->name() == name)
            return screen;
    return nullptr;
}

bool FitsIn(QSize size, QSize room) {
    return size.width() <= room.width() && size.height() <= room.height();
}

QString SizeText(QSize size) {
    return QStringLiteral("%1 × %2").arg(size.width()).arg(size.height());
}

} // namespace

class TestReadableTexts : public QObject {
    Q_OBJECT

    // What a chart window follows.
    LivePoller poller_{WindowLink()};
    ConnectionEvents events_;
    JournalFeed writes_;
    LiveFeed feed_{poller_, events_};

    QTranslator* translator = nullptr;
    QTemporaryDir data_;

private slots:
    void initTestCase() { translator = InstallQtTranslations(*QCoreApplication::instance()); }
    void cleanupTestCase() { delete translator; } // removed from the application as it goes

    void fileDialogSpeaksRussian() {
        QVERIFY(translator);
        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        for (const char* label : {"lookInLabel", "fileNameLabel", "fileTypeLabel"})
            QVERIFY(dialog.findChild<QLabel*>(label)->text().contains(QRegularExpression("[а-я]")));
    }

    void windowFitsALaptopWithTextsWhole_data() {
        QTest::addColumn<WindowMaker>("make");
        QTest::addColumn<QString>("screen");
        const QString laptop = QStringLiteral("laptop");
        QTest::newRow("main window") << WindowMaker([] { return new TForm1; }) << laptop;
        QTest::newRow("About box") << WindowMaker([] { return new TForm3; }) << laptop;
        QTest::newRow("serial number") << WindowMaker([] {
            auto* dialog = new TForm2;
            dialog->Label1->setText(QStringLiteral("08.12.26")); // the date as it is written
            return dialog;
        }) << laptop;
        QTest::newRow("recording, rate noted") << WindowMaker([] {
            return new RecordingDialog(QStringLiteral("/tmp/log.csv"),
                                       RecordingDialog::Choices{10});
        }) << laptop;
        QTest::newRow("ports") << WindowMaker([] { return new PortsDialog; }) << laptop;
        QTest::newRow("charts") << WindowMaker([this] {
            return new ChartWindow(feed_, writes_, events_);
        }) << QStringLiteral("small laptop");
        QTest::newRow("production line") << WindowMaker([this] {
            const QString preferences = data_.filePath(QStringLiteral("line.ini"));
            auto* window = new LineWindow(
                {data_.path(),
                 data_.filePath(QStringLiteral("Protocol.lst")),
                 [preferences] {
                     return std::make_unique<QSettings>(preferences, QSettings::IniFormat);
                 },
                 [] { return std::vector<PortFacts>{}; },
                 {QStringLiteral("/dev/ttyUSB0"), QStringLiteral("/dev/ttyUSB1")},
                 [](const std::function<void()>& run) { run(); }});
            StationView waiting;
            waiting.station = 1;
            waiting.phase = StationPhase::Waiting;
            waiting.device =
                QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0");
            window->ShowStation(waiting);
            return window;
        }) << laptop;
        QTest::newRow("restore points") << WindowMaker([] {
            RestorePointsView view{
                QStringLiteral("Q5-0012345"), {}, {}, QStringLiteral("/tmp"), {}};
            view.points = {{"a", QDateTime::currentDateTime(), true, {}},
                           {"b", QDateTime::currentDateTime().addDays(-1), false, {}}};
            return new RestorePointsDialog(view, {});
        }) << laptop;
        QTest::newRow("comparison") << WindowMaker([] {
            SettingsRecords::Words file{};
            file[57 - SettingsRecords::FirstAddress] = 1600;
            file[71 - SettingsRecords::FirstAddress] = 6;
            return new CompareDialog(
                {QStringLiteral("Прибор"), {}}, {QStringLiteral("car1.q5t"), file},
                [](const std::vector<Comparison::Row>&) { return std::nullopt; });
        }) << laptop;
        QTest::newRow("sheet") << WindowMaker([this] {
            return new SheetDialog(
                QStringLiteral("Установки прибора Тарвик-Q5 ГБО 2002 00120, прочитанные из него."),
                {}, [](const Sheets::Identity&) { return Sheets::Sheet{}; },
                QStringLiteral("x.pdf"),
                std::make_unique<QSettings>(data_.filePath(QStringLiteral("sheet.ini")),
                                            QSettings::IniFormat),
                [](const std::function<void()>& run) { run(); });
        }) << laptop;
        QTest::newRow("history") << WindowMaker([this] {
            return new HistoryWindow({data_.filePath(QStringLiteral("history")), {}}, {},
                                     [] { return QDate(2026, 12, 9); });
        }) << laptop;
        QTest::newRow("sheet preview")
            << WindowMaker([] { return new QPrintPreviewDialog; }) << laptop;
        QTest::newRow("file dialog") << WindowMaker([] {
            auto* dialog = new QFileDialog;
            dialog->setOption(QFileDialog::DontUseNativeDialog);
            return dialog;
        }) << laptop;
        QTest::newRow("folder path") << WindowMaker([] {
            FolderOpener::ShowPath(
                nullptr, QStringLiteral("/var/lib/tarvik-q5/restore/Тарвик-Q5 ГБО 2002 00120"));
            for (QWidget* window : QApplication::topLevelWidgets())
                if (window->objectName() == QStringLiteral("FolderPathBox"))
                    return window;
            return static_cast<QWidget*>(nullptr);
        }) << laptop;
    }
    void windowFitsALaptopWithTextsWhole() {
        QFETCH(WindowMaker, make);
        QFETCH(QString, screen);
        QScreen* laptop = ScreenNamed(screen);
        QVERIFY2(laptop, "no laptop screens: run through ctest, which gives laptop-screens.json");
        const std::unique_ptr<QWidget> window(make());
        QVERIFY(window);
        window->setScreen(laptop);
        window->move(laptop->availableGeometry().topLeft());
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        const QSize room = laptop->availableSize();
        const QSize smallest = window->minimumSize().expandedTo(window->minimumSizeHint());
        QStringList faults = ClippedTexts(*window) + CutAtScrolledSides(*window);
        if (!FitsIn(window->frameGeometry().size(), room))
            faults << QStringLiteral("shown at ") + SizeText(window->frameGeometry().size());
        if (!FitsIn(smallest, room))
            faults << QStringLiteral("at least ") + SizeText(smallest);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral("; "))));
    }

    void folderPathShownWithoutFileManager() {
        const QByteArray path = qgetenv("PATH");
        const QTemporaryDir empty;
        qputenv("PATH", QFile::encodeName(empty.path()));
        FolderOpener::Open(nullptr, QStringLiteral("/var/lib/tarvik-q5/Q5-0012345"));
        qputenv("PATH", path);
        QWidget* box = nullptr;
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->objectName() == QStringLiteral("FolderPathBox"))
                box = window;
        QVERIFY(box && box->isVisible());
        QCOMPARE(box->findChild<QLineEdit*>()->text(), "/var/lib/tarvik-q5/Q5-0012345");
        delete box;
    }
};

int RunReadableTextsTests(int argc, char** argv) {
    TestReadableTexts test;
    return QTest::qExec(&test, argc, argv);
}

#include "TestReadableTexts.moc"
