// The About box: its twelve lines, its fixed size and its modality.
#include "Form1.h"
#include "Form3.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTimer>

#include <memory>

class TestAboutBox : public QObject {
    Q_OBJECT

    std::unique_ptr<TForm1> mainWindow;
    std::unique_ptr<TForm3> about;

private slots:
    void init() {
        mainWindow = std::make_unique<TForm1>();
        Form1 = mainWindow.get();
        about = std::make_unique<TForm3>();
        Form3 = about.get();
    }
    void cleanup() {
        Form3 = nullptr;
        Form1 = nullptr;
        about.reset();
        mainWindow.reset();
    }

    void lines_data() {
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("text");
        QTest::newRow("1") << 1 << "   Газовая инжекторная ";
        QTest::newRow("2") << 2 << "     система Tarvik-Q5 с ";
        QTest::newRow("3") << 3 << "   обратной связью по ";
        QTest::newRow("4") << 4 << "    датчику кислорода.";
        QTest::newRow("5 four blanks") << 5 << "    ";
        QTest::newRow("6") << 6 << "    Version 05.03Q5 , 2002";
        QTest::newRow("7 empty") << 7 << "";
        QTest::newRow("10 one blank") << 10 << " ";
        QTest::newRow("11") << 11 << " Техническая поддержка";
    }
    void lines() {
        QFETCH(int, line);
        QFETCH(QString, text);
        const QTextBlock block = about->Memo1->document()->findBlockByNumber(line - 1);
        QVERIFY(block.isValid());
        QCOMPARE(block.text(), text);
    }

    void makerLines() {
        QTextDocument* document = about->Memo1->document();
        QCOMPARE(document->blockCount(), 12);
        QVERIFY(!document->findBlockByNumber(7).text().trimmed().isEmpty());
        QVERIFY(document->findBlockByNumber(8).text().startsWith(QStringLiteral("тел. ")));
        QVERIFY(!document->findBlockByNumber(11).text().trimmed().isEmpty());
    }

    void windowAndControls() {
        QCOMPARE(about->windowTitle(), QStringLiteral("Инфо"));
        QCOMPARE(about->size(), QSize(369, 154));
        QCOMPARE(about->minimumSize(), about->maximumSize());
        QCOMPARE(about->Image1->geometry(), QRect(4, 8, 199, 137));
        QCOMPARE(about->Image1->pixmap().size(), QSize(199, 137));
        QCOMPARE(about->Memo1->geometry(), QRect(212, 8, 153, 113));
        QVERIFY(about->Memo1->isReadOnly());
        QCOMPARE(about->Memo1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(about->Memo1->viewport()->cursor().shape(), Qt::ArrowCursor);
        QCOMPARE(about->Button1->text(), QStringLiteral("OK"));
        QCOMPARE(about->Button1->geometry(), QRect(291, 128, 75, 20));
    }

    // The menu item shows the box modally; OK closes it; it opens again as often as wanted.
    void aboutItemShowsModalBoxRepeatedly() {
        mainWindow->show();
        QVERIFY(QTest::qWaitForWindowExposed(mainWindow.get()));
        for (int round = 0; round < 2; ++round) {
            bool sawModal = false;
            QPoint offCentre;
            QTimer::singleShot(0, this, [&] {
                sawModal = about->isVisible() && about->isModal() &&
                           QApplication::activeModalWidget() == about.get();
                offCentre = about->frameGeometry().center() -
                            QGuiApplication::primaryScreen()->availableGeometry().center();
                QTest::mouseClick(about->Button1, Qt::LeftButton);
            });
            mainWindow->N6->trigger();
            QVERIFY(sawModal);
            QVERIFY(qAbs(offCentre.x()) <= 1 && qAbs(offCentre.y()) <= 1);
            QVERIFY(!about->isVisible());
            QCOMPARE(about->result(), int(QDialog::Accepted));
        }
    }
};

int RunAboutBoxTests(int argc, char** argv) {
    TestAboutBox test;
    return QTest::qExec(&test, argc, argv);
}

#include "TestAboutBox.moc"
