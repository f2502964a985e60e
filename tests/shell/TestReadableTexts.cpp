// Texts a person can read: Qt's own dialogs in Russian while the specified boxes keep their
// words, no label or button narrower than its text in the dialogs and the new windows, and a
// folder's path shown where no file manager opens it.
#include "ChartWindow.h"
#include "FolderOpener.h"
#include "Form3.h"
#include "PortsDialog.h"
#include "QtTranslations.h"
#include "RecordingDialog.h"
#include "Ser_num.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QDate>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTranslator>

#include <QRegularExpression>

#include <functional>
#include <memory>

using WindowMaker = std::function<QWidget*()>;
Q_DECLARE_METATYPE(WindowMaker)

namespace {

QString Plain(QString text) {
    return text.remove(QLatin1Char('&'));
}

// Every visible text of the window that is wider than the room its widget gives it.
QStringList ClippedTexts(const QWidget& window) {
    QStringList clipped;
    const auto check = [&clipped](const QWidget* widget, const QString& line, int room) {
        const int needed = widget->fontMetrics().horizontalAdvance(line);
        if (needed > room)
            clipped << QStringLiteral("%1 «%2»: %3 > %4")
                           .arg(widget->objectName(), line)
                           .arg(needed)
                           .arg(room);
    };
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        if (!label->isVisibleTo(&window) || label->wordWrap() || Qt::mightBeRichText(label->text()))
            continue;
        for (const QString& line : label->text().split(QLatin1Char('\n')))
            check(label, line, label->contentsRect().width() - 2 * label->margin());
    }
    for (const QPushButton* button : window.findChildren<QPushButton*>())
        if (button->isVisibleTo(&window))
            check(button, Plain(button->text()), button->width() - 6);
    for (const QPlainTextEdit* memo : window.findChildren<QPlainTextEdit*>()) {
        const int margin = int(memo->document()->documentMargin());
        for (QTextBlock block = memo->document()->begin(); block.isValid(); block = block.next())
            check(memo, block.text(), memo->viewport()->width() - 2 * margin);
        // The box scrolls, but no line stands cut in half at its lower edge.
        const double bottom = memo->viewport()->height();
        double top = margin;
        for (QTextBlock block = memo->document()->begin(); block.isValid(); block = block.next()) {
            const double height =
                memo->document()->documentLayout()->blockBoundingRect(block).height();
            if (top < bottom && top + height > bottom && bottom - top > 3 &&
                top + height - bottom > 2)
                clipped << QStringLiteral("%1 «%2»: %3 of %4 pixels shown")
                               .arg(memo->objectName(), block.text())
                               .arg(bottom - top)
                               .arg(height);
            top += height;
        }
    }
    return clipped;
}

std::vector<PortFacts> HeldPorts() {
    PortFacts held;
    held.device = QStringLiteral("/dev/ttyUSB1");
    held.description = QStringLiteral("USB-Serial Controller");
    held.use = PortUse::Busy;
    held.holder = QStringLiteral("minicom");
    held.holderPid = 31337;
    return {held};
}

} // namespace

class TestReadableTexts : public QObject {
    Q_OBJECT

    QTranslator* translator = nullptr;

private slots:
    void initTestCase() { translator = InstallQtTranslations(*QCoreApplication::instance()); }
    void cleanupTestCase() {
        if (translator)
            QCoreApplication::removeTranslator(translator);
        delete translator;
    }

    void fileDialogSpeaksRussian_data() {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("english");
        QTest::newRow("folder") << "lookInLabel"
                                << "Look in:";
        QTest::newRow("file name") << "fileNameLabel"
                                   << "File &name:";
        QTest::newRow("file type") << "fileTypeLabel"
                                   << "Files of type:";
    }
    void fileDialogSpeaksRussian() {
        QFETCH(QString, label);
        QFETCH(QString, english);
        QVERIFY(translator);
        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        const QString text = dialog.findChild<QLabel*>(label)->text();
        QVERIFY2(text != english && text.contains(QRegularExpression(QStringLiteral("[а-я]"))),
                 qPrintable(text));
    }

    void noTextWiderThanItsWidget_data() {
        QTest::addColumn<WindowMaker>("make");
        QTest::newRow("About box") << WindowMaker([] { return new TForm3; });
        QTest::newRow("serial number") << WindowMaker([] {
            auto* dialog = new TForm2;
            // The date as it is written, dd.MM.yy.
            dialog->Label1->setText(QDate(2026, 12, 8).toString(QStringLiteral("dd.MM.yy")));
            return dialog;
        });
        QTest::newRow("recording with a rate note") << WindowMaker(
            [] { return new RecordingDialog(QStringLiteral("/tmp/Q5-0012345 log.csv"), 10); });
        QTest::newRow("ports") << WindowMaker([] { return new PortsDialog(&HeldPorts); });
        QTest::newRow("charts") << WindowMaker([] { return new ChartWindow; });
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
        QTemporaryDir empty;
        qputenv("PATH", QFile::encodeName(empty.path()));
        FolderOpener::Open(nullptr, QStringLiteral("/var/lib/tarvik-q5/Q5-0012345"));
        qputenv("PATH", path);
        QWidget* box = nullptr;
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->objectName() == QStringLiteral("FolderPathBox"))
                box = window;
        QVERIFY(box && box->isVisible());
        const auto* shown = box->findChild<QLineEdit*>();
        QCOMPARE(shown->text(), QStringLiteral("/var/lib/tarvik-q5/Q5-0012345"));
        QVERIFY(shown->isReadOnly());
        QCOMPARE(ClippedTexts(*box), QStringList());
        delete box;
    }
};

int RunReadableTextsTests(int argc, char** argv) {
    TestReadableTexts test;
    return QTest::qExec(&test, argc, argv);
}

#include "TestReadableTexts.moc"
