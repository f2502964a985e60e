// The line's setup as typed: the limits' numbers in any locale, bounds that cross, the
// production log that is begun only when asked for, and the units per hour.

#include "BatchCounts.h"
#include "LimitBox.h"
#include "LineSetup.h"
#include "LineWindow.h"
#include "PortField.h"
#include "ProductionLine.h"
#include "ProductionLog.h"
#include "ProtocolRecord.h"
#include "SampleWords.h"
#include "SettingsFile.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <deque>
#include <optional>

namespace {

using Units = QList<QPair<int, qint64>>; // station, when its unit ended (ms)

// Answers the message boxes as they come, one answer each, keeping their texts.
class BoxAnswers : public QObject {
public:
    explicit BoxAnswers(std::deque<QMessageBox::StandardButton> answers)
        : answers_(std::move(answers)) {
        connect(&poll_, &QTimer::timeout, this, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || answers_.empty())
                return;
            texts << box->text();
            box->button(answers_.front())->click();
            answers_.pop_front();
        });
        poll_.start(10);
    }
    QStringList texts;

private:
    std::deque<QMessageBox::StandardButton> answers_;
    QTimer poll_;
};

} // namespace

class TestLineSetup : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    std::unique_ptr<LineWindow> Window(const LineSetup& setup) {
        auto settings = [this] {
            return std::make_unique<QSettings>(dir_.filePath("preferences.ini"),
                                               QSettings::IniFormat);
        };
        setup.Save(*settings());
        return std::make_unique<LineWindow>(
            LineWindow::Place{dir_.path(),
                              dir_.filePath("Protocol.lst"),
                              settings,
                              [] { return std::vector<PortFacts>{}; },
                              {},
                              [this](const std::function<void()>& work) {
                                  try {
                                      work();
                                  } catch (const std::exception& e) {
                                      errors << QString::fromUtf8(e.what());
                                  }
                              }});
    }

    QStringList errors;

    QString Reference() {
        const QString path = dir_.filePath("reference.q5t");
        SettingsRecords::Entries entries{};
        for (size_t i = 0; i < entries.size(); ++i)
            entries[i].word = SampleControllerWords()[i];
        entries[47 - SettingsRecords::FirstAddress].word = 503;
        SettingsFile::Write(path, entries);
        return path;
    }

    static QPushButton* StartButton(LineWindow& window) {
        for (QPushButton* button : window.findChildren<QPushButton*>())
            if (button->text() == QStringLiteral("Пуск"))
                return button;
        return nullptr;
    }

private slots:
    // Labels are off until chosen, 40 × 25 mm into the data folder's "labels"; a printer gone
    // since it was chosen stays chosen (its labels then say they were not printed).
    void labelsAreOffUntilChosen() {
        auto window = Window({});
        for (QCheckBox* check : window->findChildren<QCheckBox*>())
            if (check->text() == QStringLiteral("печатать этикетки"))
                QVERIFY(!check->isChecked());
        const auto field = [&window](const QString& accessible) -> QWidget* {
            for (QWidget* w : window->findChildren<QWidget*>())
                if (w->accessibleName() == accessible)
                    return w;
            return nullptr;
        };
        QCOMPARE(qobject_cast<QDoubleSpinBox*>(field("Ширина этикетки"))->value(), 40.0);
        QCOMPARE(qobject_cast<QDoubleSpinBox*>(field("Высота этикетки"))->value(), 25.0);
        QCOMPARE(qobject_cast<QLineEdit*>(field("Папка этикеток"))->text(),
                 QDir(dir_.path()).filePath("labels"));

        LineSetup gone;
        gone.labels.print = true;
        gone.labels.target = {LabelTarget::Kind::Printer, "Этикеточный", {}};
        window = Window(gone);
        QCOMPARE(qobject_cast<QComboBox*>(field("Куда печатать этикетки"))->currentText(),
                 "Этикеточный");
    }

    void limitsReadAsTyped_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("value");
        for (const char* locale : {"C", "ru_RU"}) {
            const auto row = [locale](const char* typed, double value) {
                QTest::addRow("%s %s", locale, typed)
                    << locale << QString::fromUtf8(typed) << value;
            };
            row("11,5", 11.5);
            row("11.5", 11.5);
            row("0,9", 0.9);
            row("15", 15);
            row("-2,25", -2.25);
            row("1 600,5", 1600.5);
            row("11 5", 11); // never 115: the blank ends the number typed
        }
    }

    void limitsReadAsTyped() {
        QFETCH(QString, locale);
        QFETCH(QString, typed);
        QFETCH(double, value);
        QLocale::setDefault(QLocale(locale));
        LimitBox box;
        box.setRange(-1000, 100000);
        box.setDecimals(2);
        box.setSuffix(QStringLiteral(" В"));
        box.setValue(3);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        box.findChild<QLineEdit*>()->selectAll();
        QTest::keyClicks(&box, typed);
        box.interpretText();
        QCOMPARE(box.value(), value);
        QCOMPARE(box.text(), box.textFromValue(value) + QStringLiteral(" В"));
        QLocale::setDefault(QLocale::c());
    }

    void crossedBoundsAreRefused() {
        errors.clear();
        const LineSetup setup{Reference(), {dir_.filePath("station1")}, {},
                              false,       {{164, 15, 11.5}},           {}};
        auto window = Window(setup);
        StartButton(*window)->click();
        QCOMPARE(errors, QStringList{"Предел «Напряжение питания» задан от 15,00 до 11,50: нижняя "
                                     "граница выше верхней. Исправьте пределы."});
        QVERIFY(!window->Line().Running());
    }

    // With no log where the line numbers from, "Нет" starts nothing and says so; "Да" begins
    // the log, its header alone, and starts the line.
    void aNewLogIsAskedFor_data() {
        QTest::addColumn<bool>("begin");
        QTest::newRow("Нет") << false;
        QTest::newRow("Да") << true;
    }

    void aNewLogIsAskedFor() {
        QFETCH(bool, begin);
        errors.clear();
        const QString log = dir_.filePath("Protocol.lst");
        QFile::remove(log);
        auto window = Window({Reference(), {dir_.filePath("station1")}, {}, true, {}, {}});
        window->show();
        BoxAnswers answers(begin ? std::deque{QMessageBox::Yes}
                                 : std::deque{QMessageBox::No, QMessageBox::Ok});
        StartButton(*window)->click();
        QCOMPARE(answers.texts.size(), begin ? 1 : 2);
        QCOMPARE(answers.texts[0], ProductionLog::NewLogQuestion(log));
        if (!begin)
            QVERIFY(answers.texts[1].startsWith("Линия не запущена: протокола нумерации " + log));
        QCOMPARE(window->Line().Running(), begin);
        QCOMPARE(QFileInfo(log).size(), begin ? ProtocolRecord::Size : 0);
        QVERIFY(errors.isEmpty());
        window->Line().Abort();
        QTRY_VERIFY(!window->Line().Running());
        // The path is shown beside the numbering's switch.
        QCOMPARE(window->findChild<QLabel*>("LogPath")->toolTip(), "по протоколу " + log);
    }

    // A long device path shows its start and end while the field is not edited; the whole
    // path is what the station gets.
    void aLongPortIsShortenedInItsMiddle() {
        const QString path =
            QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0");
        PortField field;
        field.resize(160, field.sizeHint().height());
        field.show();
        QVERIFY(QTest::qWaitForWindowExposed(&field));
        field.SetDevice(path);
        field.findChild<QLineEdit*>()->clearFocus(); // not being edited
        const auto shown = [&field] { return field.findChild<QLineEdit*>()->text(); };
        QTRY_VERIFY2(shown().startsWith("/dev/") && shown().contains(u'…') &&
                         shown().endsWith("port0"),
                     qPrintable(shown()));
        QCOMPARE(field.Device(), path);
        QCOMPARE(field.toolTip(), path);
    }

    void unitsPerHourOnceTheyMeanSomething_data() {
        QTest::addColumn<Units>("units");
        QTest::addColumn<qint64>("now");
        QTest::addColumn<int>("perHour"); // -1: none told
        // Four stations' first units end within seconds: no figure yet.
        QTest::newRow("first units")
            << Units{{1, 3000}, {2, 3100}, {3, 3200}, {4, 3300}} << qint64(4000) << -1;
        QTest::newRow("two cycles")
            << Units{{1, 3000}, {1, 63000}, {2, 3000}, {2, 63000}} << qint64(63000) << -1;
        // One station a unit a minute, another every two minutes.
        QTest::newRow("three cycles")
            << Units{{1, 0}, {1, 60000}, {1, 120000}, {2, 0}, {2, 120000}} << qint64(120000) << 90;
    }

    void unitsPerHourOnceTheyMeanSomething() {
        QFETCH(Units, units);
        QFETCH(qint64, now);
        QFETCH(int, perHour);
        BatchCounts counts;
        counts.Start();
        for (const auto& [station, at] : units)
            counts.Count(station, true, at);
        const std::optional<double> told = counts.UnitsPerHour(now);
        QCOMPARE(told ? qRound(*told) : -1, perHour);
    }
};

QTEST_MAIN(TestLineSetup)
#include "TestLineSetup.moc"
