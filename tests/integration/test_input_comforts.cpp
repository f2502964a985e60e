// The keyboard steps a spin edit as its arrows do, each step written to the controller; the
// controls explain themselves in tooltips from the catalogue.

#include "AppFixture.h"
#include "Connection.h"
#include "EmulatedPorts.h"
#include "ErrorHandler.h"
#include "Form1.h"
#include "FrameLog.h"
#include "Protocol.h"
#include "TExtText.h"
#include "TSpinButton.h"
#include "TSpinExtEdit.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenuBar>

#include <QRegularExpression>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

namespace {

// Selects every page on the way from the window down to the widget.
void ShowPagesOf(QWidget* widget) {
    for (QWidget* child = widget; child->parentWidget(); child = child->parentWidget()) {
        if (auto* pages = qobject_cast<QTabWidget*>(child->parentWidget()->parentWidget())) {
            if (pages->indexOf(child) >= 0)
                pages->setCurrentWidget(child);
        }
    }
}

// A controller whose speed limit (P92) stands at 3000, and the window.
struct SpeedLimitAt3000 {
    EmulatedPorts ports;
    AppFixture app;
    SpeedLimitAt3000() { ports.emulator().setParam(92, 3000); }
};

// Connected, with the keyboard on "Ограничение об/мин" (P92, 1000..6000 in steps of 100).
void ConnectWithSpeedLimitFocused(TForm1& form) {
    ShowPagesOf(form.SpinExtEdit3);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    Connect_to_COM1Click();
    QVERIFY(DeviceConnected());
    form.SpinExtEdit3->setFocus();
    QTRY_VERIFY(form.SpinExtEdit3->hasFocus());
}

QStringList Writes(const q5emu::Q5Emulator& emulator) {
    return FrameTriples(emulator).filter(QRegularExpression(QStringLiteral("^3 ")));
}

QStringList StepWrites(int from, int step, int count) {
    QStringList writes;
    for (int i = 1; i <= count; ++i)
        writes << Triple(CmdWriteParam, 92, static_cast<uint16_t>(from + i * step));
    return writes;
}

} // namespace

class InputComfortsTest : public QObject {
    Q_OBJECT

private slots:
    void keysWriteSteppedWords_data();
    void keysWriteSteppedWords();
    void heldGestureIsOneUndoStep_data();
    void heldGestureIsOneUndoStep();
    void controlsCarryTheirTips_data();
    void controlsCarryTheirTips();
};

void InputComfortsTest::keysWriteSteppedWords_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<QStringList>("writes");
    // "Ограничение об/мин": P92, 1000..6000 in steps of 100, from 3000.
    QTest::newRow("up") << int(Qt::Key_Up) << StepWrites(3000, 100, 1);
    QTest::newRow("down") << int(Qt::Key_Down) << StepWrites(3000, -100, 1);
    QTest::newRow("page up") << int(Qt::Key_PageUp) << StepWrites(3000, 100, 10);
    QTest::newRow("page down") << int(Qt::Key_PageDown) << StepWrites(3000, -100, 10);
}

void InputComfortsTest::keysWriteSteppedWords() {
    QFETCH(int, key);
    SpeedLimitAt3000 at;
    TForm1& form = at.app.form();
    ConnectWithSpeedLimitFocused(form);
    QVERIFY(!QTest::currentTestFailed());
    at.ports.emulator().clearLog();

    QTest::keyClick(form.SpinExtEdit3, Qt::Key(key));
    QTEST(Writes(at.ports.emulator()), "writes");
}

void InputComfortsTest::heldGestureIsOneUndoStep_data() {
    QTest::addColumn<int>("presses");      // of Page Up; none: the up arrow held with the mouse
    QTest::addColumn<bool>("held");        // the presses after the first repeat it
    QTest::addColumn<int>("afterOneUndo"); // P92, from 3000
    QTest::newRow("Page Up held") << 3 << true << 3000;
    QTest::newRow("Page Up pressed twice") << 2 << false << 4000;
    QTest::newRow("arrow held") << 0 << true << 3000;
}

void InputComfortsTest::heldGestureIsOneUndoStep() {
    QFETCH(int, presses);
    QFETCH(bool, held);
    SpeedLimitAt3000 at;
    TForm1& form = at.app.form();
    ConnectWithSpeedLimitFocused(form);
    QVERIFY(!QTest::currentTestFailed());
    for (int press = 0; press < presses; ++press) {
        QKeyEvent key(QEvent::KeyPress, Qt::Key_PageUp, Qt::NoModifier, QString(), held && press);
        QApplication::sendEvent(form.SpinExtEdit3, &key);
        QCoreApplication::processEvents(); // the event loop runs between the presses
    }
    if (presses == 0) {
        auto* arrows = form.SpinExtEdit3->findChild<TSpinButton*>();
        QTest::mousePress(arrows, Qt::LeftButton, {}, arrows->UpRect().center());
        QTRY_VERIFY(at.ports.emulator().param(92) >= 3300);
        QTest::mouseRelease(arrows, Qt::LeftButton, {}, arrows->UpRect().center());
    }
    QAction* undo = form.MainMenu1->findChild<QAction*>(QStringLiteral("UndoAction"));
    QTRY_VERIFY(undo->isEnabled());
    undo->trigger();
    QTEST(int(at.ports.emulator().param(92)), "afterOneUndo");
}

void InputComfortsTest::controlsCarryTheirTips_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("tip");
    QTest::newRow("spin edit") << "SpinExtEdit3"
                               << "Ограничение об/мин\nЕдиница: об/мин\n"
                                  "Диапазон: от 1000 до 6000 об/мин\nАдрес: параметр 92";
    QTest::newRow("bound just above zero") << "SpinExtEdit6"
                                           << "Приёмистость\nДиапазон: от 0.00 до 15.99\n"
                                              "Адрес: параметр 88";
    QTest::newRow("polled display") << "ExtText2"
                                    << "Обороты коленвала\nЕдиница: об/мин\n"
                                       "Адрес: текущее значение 162";
    QTest::newRow("bound to nothing") << "SpinExtEdit13"
                                      << "Разгон\nЕдиница: ц.\nДиапазон: от 1 до 50 ц.\nАдрес: нет";
}

void InputComfortsTest::controlsCarryTheirTips() {
    QFETCH(QString, control);
    AppFixture app;
    QWidget* widget = app.form().findChild<QWidget*>(control);
    QVERIFY(widget);
    QTEST(widget->toolTip(), "tip");
}

int main(int argc, char** argv) {
    TApplication application(argc, argv);
    InputComfortsTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_input_comforts.moc"
