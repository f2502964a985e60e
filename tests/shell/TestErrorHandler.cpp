// The application-wide error handler: the full-stop rule and errors of timers and handlers.
#include "ErrorHandler.h"

#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <stdexcept>

class TestErrorHandler : public QObject {
    Q_OBJECT

    QStringList shown;

private slots:
    void init() {
        shown.clear();
        SetErrorPresenter([this](const QString& text) { shown.append(text); });
    }
    void cleanup() { SetErrorPresenter({}); }

    void fullStopRule_data() {
        QTest::addColumn<QString>("error");
        QTest::addColumn<QString>("text");
        QTest::newRow("ends with full stop") << "Disk full."
                                             << "Disk full.";
        QTest::newRow("ends with exclamation") << "Такого файла нет!"
                                               << "Такого файла нет!";
        QTest::newRow("ends with parenthesis") << "I/O error (5)"
                                               << "I/O error (5)";
        QTest::newRow("ends with comma") << "a,"
                                         << "a,";
        QTest::newRow("ends with blank") << "error "
                                         << "error ";
        QTest::newRow("ends with minus") << "range -"
                                         << "range -";
        QTest::newRow("Latin letter") << "File not found"
                                      << "File not found.";
        QTest::newRow("Cyrillic letter") << "Ошибка записи"
                                         << "Ошибка записи.";
        QTest::newRow("digit") << "I/O error 103"
                               << "I/O error 103.";
        QTest::newRow("slash above full stop") << "path /"
                                               << "path /.";
        QTest::newRow("colon") << "bad value:"
                               << "bad value:.";
        QTest::newRow("empty") << ""
                               << "";
    }
    void fullStopRule() {
        QFETCH(QString, error);
        QFETCH(QString, text);
        QCOMPARE(ErrorMessageText(error), text);
    }

    // An exception from a guarded timer handler is shown at its boundary; the loop keeps running
    // and later events are handled as before.
    void timerExceptionIsShownAndProgramGoesOn() {
        QTimer failing;
        failing.setSingleShot(true);
        connect(&failing, &QTimer::timeout, this,
                Guarded([] { throw std::runtime_error("Ошибка ввода-вывода 103"); }));
        int ticks = 0;
        QTimer healthy;
        healthy.setInterval(1);
        connect(&healthy, &QTimer::timeout, this, [&] { ++ticks; });
        failing.start(0);
        QTRY_COMPARE(shown, QStringList{"Ошибка ввода-вывода 103."});
        healthy.start();
        QTRY_VERIFY(ticks >= 3);
        QCOMPARE(shown.size(), 1);
    }

    void handlerExceptionAbortsOnlyThatAction() {
        QPushButton button;
        int clicks = 0;
        connect(&button, &QPushButton::clicked, this, Guarded([&] {
            ++clicks;
            if (clicks == 1)
                throw std::runtime_error("Invalid numeric value!");
        }));
        button.show();
        QTest::mouseClick(&button, Qt::LeftButton);
        QCOMPARE(shown, QStringList{"Invalid numeric value!"});
        QTest::mouseClick(&button, Qt::LeftButton);
        QCOMPARE(clicks, 2);
        QCOMPARE(shown.size(), 1);
    }
};

int RunErrorHandlerTests(int argc, char** argv) {
    TestErrorHandler test;
    return QTest::qExec(&test, argc, argv);
}

#include "TestErrorHandler.moc"
