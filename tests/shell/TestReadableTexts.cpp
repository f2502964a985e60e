// Texts a person can read: Qt's own dialogs in Russian, no text wider than its widget or cut at
// a text box's edge, and a folder's path shown where no file manager opens it.
#include "ChartWindow.h"
#include "ConnectionEvents.h"
#include "FolderOpener.h"
#include "Form3.h"
#include "JournalFeed.h"
#include "LivePoller.h"
#include "PortsDialog.h"
#include "QtTranslations.h"
#include "RecordingDialog.h"
#include "Ser_num.h"
#include "WindowLink.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
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

} // namespace

class TestReadableTexts : public QObject {
    Q_OBJECT

    // What a chart window follows.
    LivePoller poller_{WindowLink()};
    ConnectionEvents events_;
    JournalFeed writes_;
    LiveFeed feed_{poller_, events_};

    QTranslator* translator = nullptr;

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

    void noTextWiderThanItsWidget_data() {
        QTest::addColumn<WindowMaker>("make");
        QTest::newRow("About box") << WindowMaker([] { return new TForm3; });
        QTest::newRow("serial number") << WindowMaker([] {
            auto* dialog = new TForm2;
            dialog->Label1->setText(QStringLiteral("08.12.26")); // the date as it is written
            return dialog;
        });
        QTest::newRow("recording, rate noted")
            << WindowMaker([] { return new RecordingDialog(QStringLiteral("/tmp/log.csv"), 10); });
        QTest::newRow("ports") << WindowMaker([] { return new PortsDialog; });
        QTest::newRow("charts") << WindowMaker(
            [this] { return new ChartWindow(feed_, writes_, events_); });
    }
    void noTextWiderThanItsWidget() {
        QFETCH(WindowMaker, make);
        const std::unique_ptr<QWidget> window(make());
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        const QStringList clipped = ClippedTexts(*window);
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(QStringLiteral("; "))));
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
