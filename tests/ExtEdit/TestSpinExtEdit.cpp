#include "TestSpinExtEdit.h"

#include "Recorder.h"
#include "SpinButtonLayout.h"
#include "TSpinButton.h"
#include "TSpinExtEdit.h"

#include <QElapsedTimer>
#include <QTest>

namespace {

enum class Button { Up, Down };

// A shown, active window with spin edits placed one under the other.
struct SpinWindow {
    explicit SpinWindow(int count = 1) {
        window.resize(260, 40 * count + 20);
        for (int i = 0; i < count; ++i) {
            auto* spin = new TSpinExtEdit(&window);
            spin->SetBounds(10, 10 + 40 * i, 169, 21);
            spins.append(spin);
        }
        window.show();
        window.activateWindow();
    }
    bool Ready() { return QTest::qWaitForWindowActive(&window); }
    TSpinExtEdit& Spin(int i = 0) { return *spins.at(i); }

    QWidget window;
    QList<TSpinExtEdit*> spins;
};

void Configure(TSpinExtEdit& spin, const QString& mask, long double min, long double max,
               long double step, long double held) {
    spin.SetValueFormat(mask);
    spin.SetValueMax(max);
    spin.SetValueMin(min);
    spin.SetValueMax(max);
    spin.SetValue(held);
    spin.SetValueStep(step);
}

QPoint CentreOf(TSpinExtEdit& spin, Button button) {
    const TSpinButton* b = spin.SpinButton();
    return (button == Button::Up ? b->UpRect() : b->DownRect()).center();
}

void Press(TSpinExtEdit& spin, Button button, Qt::MouseButton mouse = Qt::LeftButton) {
    QTest::mousePress(spin.SpinButton(), mouse, {}, CentreOf(spin, button));
}

void Release(TSpinExtEdit& spin, QPoint at, Qt::MouseButton mouse = Qt::LeftButton) {
    QTest::mouseRelease(spin.SpinButton(), mouse, {}, at);
}

QPoint OffButton(TSpinExtEdit& spin) {
    return {-20, spin.SpinButton()->height() / 2};
}

} // namespace

void TestSpinExtEdit::Placement_data() {
    QTest::addColumn<QSize>("edit");
    QTest::addColumn<QRect>("button");
    QTest::addColumn<QRect>("up");
    QTest::addColumn<QRect>("down");
    QTest::newRow("169 x 21") << QSize(169, 21) << QRect(151, 0, 15, 18) << QRect(0, 0, 15, 9)
                              << QRect(0, 8, 15, 10);
    QTest::newRow("85 x 25") << QSize(85, 25) << QRect(67, 0, 15, 22) << QRect(0, 0, 15, 11)
                             << QRect(0, 10, 15, 12);
    QTest::newRow("tall: wider than 15")
        << QSize(100, 60) << QRect(69, 0, 28, 57) << QRect(0, 0, 28, 28) << QRect(0, 27, 28, 30);
    QTest::newRow("odd spin height")
        << QSize(50, 20) << QRect(32, 0, 15, 17) << QRect(0, 0, 15, 8) << QRect(0, 7, 15, 10);
}

void TestSpinExtEdit::Placement() {
    QFETCH(QSize, edit);
    QFETCH(QRect, button);
    QFETCH(QRect, up);
    QFETCH(QRect, down);
    const SpinButtonLayout layout = SpinButtonPlacement(edit.width(), edit.height());
    QCOMPARE(layout.button, button);
    QCOMPARE(layout.up, up);
    QCOMPARE(layout.down, down);

    TSpinExtEdit spin;
    spin.SetBounds(0, 0, edit.width(), edit.height());
    const TSpinButton* placed = spin.SpinButton();
    QCOMPARE(placed->size(), button.size());
    QCOMPARE(placed->UpRect(), up);
    QCOMPARE(placed->DownRect(), down);
    QVERIFY(placed->geometry().right() < edit.width());
    QVERIFY(placed->geometry().bottom() < edit.height());
}

void TestSpinExtEdit::SpinButtonFollowsPlacement() {
    QWidget window;
    TSpinExtEdit& spin = *new TSpinExtEdit(&window);
    QCOMPARE(spin.height(), 25);
    QCOMPARE(spin.font().pixelSize(), 21);
    QCOMPARE(spin.SpinButton()->size(), QSize(15, 22));
    QCOMPARE(spin.ValueStep(), 0.1L);
    QCOMPARE(spin.SpinButton()->focusPolicy(), Qt::NoFocus);

    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const int offset = spin.width() - spin.SpinButton()->geometry().left();
    spin.resize(200, 21);
    QCOMPARE(spin.SpinButton()->size(), QSize(15, 18));
    QCOMPARE(spin.width() - spin.SpinButton()->geometry().left(), offset);
    QCOMPARE(spin.font().pixelSize(), 19);
}

void TestSpinExtEdit::StepCommitsTypedTextFirst() {
    SpinWindow w;
    QVERIFY(w.Ready());
    TSpinExtEdit& spin = w.Spin();
    Configure(spin, u"##0"_qs, 0.0L, 100.0L, 1.0L, 10.0L);
    ChangeRecorder recorder;
    spin.onChangeValue = recorder.Handler();
    spin.setFocus();
    QTRY_VERIFY(spin.hasFocus());
    spin.selectAll();
    QTest::keyClicks(&spin, u"12"_qs);
    QCOMPARE(spin.Value(), 10.0L);

    Press(spin, Button::Up);
    Release(spin, CentreOf(spin, Button::Up));

    QCOMPARE(spin.Value(), 13.0L);
    QCOMPARE(spin.text(), u" 13"_qs);
    QCOMPARE(recorder.Count(), 2);
    QCOMPARE(recorder.changes.at(0).oldValue, 10.0L);
    QCOMPARE(recorder.changes.at(0).newValue, 12.0L);
    QCOMPARE(recorder.changes.at(1).oldValue, 12.0L);
    QCOMPARE(recorder.changes.at(1).newValue, 13.0L);
    QVERIFY(!spin.isModified());
}

void TestSpinExtEdit::StepAtBoundReportsNothing_data() {
    QTest::addColumn<bool>("up");
    QTest::addColumn<long double>("held");
    QTest::newRow("up at the upper bound") << true << 5.0L;
    QTest::newRow("down at the lower bound") << false << 1.0L;
}

void TestSpinExtEdit::StepAtBoundReportsNothing() {
    QFETCH(bool, up);
    QFETCH(long double, held);
    SpinWindow w;
    QVERIFY(QTest::qWaitForWindowExposed(&w.window));
    TSpinExtEdit& spin = w.Spin();
    Configure(spin, u"#0 ц."_qs, 1.0L, 5.0L, 1.0L, held);
    ChangeRecorder recorder;
    spin.onChangeValue = recorder.Handler();
    up ? spin.StepUp() : spin.StepDown();
    QCOMPARE(spin.Value(), held);
    QCOMPARE(recorder.Count(), 0);
}

void TestSpinExtEdit::StepFromValueBelowBound_data() {
    QTest::addColumn<bool>("up");
    QTest::newRow("down") << false;
    QTest::newRow("up") << true;
}

void TestSpinExtEdit::StepFromValueBelowBound() {
    QFETCH(bool, up);
    SpinWindow w;
    QVERIFY(QTest::qWaitForWindowExposed(&w.window));
    TSpinExtEdit& spin = w.Spin();
    Configure(spin, u"##0.0 %"_qs, 0.1L, 10.0L, 0.1L, 5.0L);
    spin.onInit = [](QObject*, int, int, long double& value) { value = 0.0L; };
    spin.Init();
    QCOMPARE(spin.text(), u" 0.0 %"_qs);
    ChangeRecorder recorder;
    spin.onChangeValue = recorder.Handler();

    up ? spin.StepUp() : spin.StepDown();

    QCOMPARE(spin.Value(), 0.1L);
    QCOMPARE(spin.text(), u" 0.1 %"_qs);
    QCOMPARE(recorder.Count(), 1);
    QCOMPARE(recorder.changes.at(0).oldValue, 0.0L);
    QCOMPARE(recorder.changes.at(0).newValue, 0.1L);
}

void TestSpinExtEdit::StepAddsToHeldValue() {
    SpinWindow w;
    QVERIFY(QTest::qWaitForWindowExposed(&w.window));
    TSpinExtEdit& spin = w.Spin();
    Configure(spin, u"#####0.00"_qs, 0.00001L, 15.99L, 0.05L, 0.0L);
    QCOMPARE(spin.Value(), 0.00001L);
    ChangeRecorder recorder;
    spin.onChangeValue = recorder.Handler();

    spin.StepUp();
    QCOMPARE(spin.Value(), 0.00001L + 0.05L);
    QCOMPARE(spin.text(), u" 0.05"_qs);
    spin.StepUp();
    QCOMPARE(spin.Value(), 0.00001L + 0.05L + 0.05L);
    QCOMPARE(spin.text(), u" 0.10"_qs);
    QCOMPARE(recorder.Count(), 2);
    QCOMPARE(recorder.changes.at(1).newValue, spin.Value());

    // Back down to the lower bound: reported as held, shown as zero.
    spin.StepDown();
    spin.StepDown();
    spin.StepDown();
    QCOMPARE(spin.Value(), 0.00001L);
    QCOMPARE(recorder.Count(), 4);
    QCOMPARE(recorder.changes.at(3).newValue, 0.00001L);
}

void TestSpinExtEdit::ButtonClick_data() {
    QTest::addColumn<bool>("upButton");
    QTest::addColumn<bool>("releaseOver");
    QTest::addColumn<int>("mouse");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<long double>("value");
    QTest::newRow("up") << true << true << int(Qt::LeftButton) << true << 6.0L;
    QTest::newRow("down") << false << true << int(Qt::LeftButton) << true << 4.0L;
    QTest::newRow("released off the button")
        << true << false << int(Qt::LeftButton) << true << 5.0L;
    QTest::newRow("right button") << true << true << int(Qt::RightButton) << true << 5.0L;
    QTest::newRow("middle button") << false << true << int(Qt::MiddleButton) << true << 5.0L;
    QTest::newRow("disabled") << true << true << int(Qt::LeftButton) << false << 5.0L;
}

void TestSpinExtEdit::ButtonClick() {
    QFETCH(bool, upButton);
    QFETCH(bool, releaseOver);
    QFETCH(int, mouse);
    QFETCH(bool, enabled);
    QFETCH(long double, value);
    SpinWindow w;
    QVERIFY(w.Ready());
    TSpinExtEdit& spin = w.Spin();
    Configure(spin, u"#0 ц."_qs, 1.0L, 50.0L, 1.0L, 5.0L);
    spin.setEnabled(enabled);
    const Button button = upButton ? Button::Up : Button::Down;
    const auto mouseButton = Qt::MouseButton(mouse);

    Press(spin, button, mouseButton);
    Release(spin, releaseOver ? CentreOf(spin, button) : OffButton(spin), mouseButton);

    QCOMPARE(spin.Value(), value);
    QCOMPARE(spin.SpinButton()->PressedHalf(), TSpinButton::Half::None);
}

void TestSpinExtEdit::PressMovesFocusFirst() {
    SpinWindow w(2);
    QVERIFY(w.Ready());
    TSpinExtEdit& typedInto = w.Spin(0);
    TSpinExtEdit& clicked = w.Spin(1);
    Configure(typedInto, u"##0"_qs, 0.0L, 100.0L, 1.0L, 1.0L);
    Configure(clicked, u"##0"_qs, 0.0L, 100.0L, 1.0L, 1.0L);
    ChangeRecorder recorder;
    typedInto.onChangeValue = recorder.Handler();
    clicked.onChangeValue = recorder.Handler();

    typedInto.setFocus();
    QTRY_VERIFY(typedInto.hasFocus());
    typedInto.selectAll();
    QTest::keyClicks(&typedInto, u"7"_qs);

    Press(clicked, Button::Up);
    QVERIFY(clicked.hasFocus());
    QCOMPARE(recorder.Count(), 1); // the other control committed on losing the focus
    Release(clicked, CentreOf(clicked, Button::Up));

    QCOMPARE(recorder.Count(), 2);
    QCOMPARE(recorder.changes.at(0).sender, &typedInto);
    QCOMPARE(recorder.changes.at(0).newValue, 7.0L);
    QCOMPARE(recorder.changes.at(1).sender, &clicked);
    QCOMPARE(recorder.changes.at(1).newValue, 2.0L);
}

void TestSpinExtEdit::HoldRepeats() {
    SpinWindow w;
    QVERIFY(w.Ready());
    TSpinExtEdit& spin = w.Spin();
    Configure(spin, u"##0"_qs, 0.0L, 100.0L, 1.0L, 10.0L);
    ChangeRecorder recorder;
    spin.onChangeValue = recorder.Handler();
    constexpr qint64 kHoldMs = 1050;

    recorder.clock.start();
    Press(spin, Button::Up);
    QCOMPARE(recorder.Count(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(recorder.Count(), 7, 3000);
    const qint64 remaining = kHoldMs - recorder.clock.elapsed();
    if (remaining > 0)
        QTest::qWait(int(remaining));
    QCOMPARE(recorder.Count(), 7);
    Release(spin, CentreOf(spin, Button::Up));

    QCOMPARE(recorder.Count(), 8);
    for (int i = 0; i < 8; ++i) {
        QCOMPARE(recorder.changes.at(i).oldValue, 10.0L + i);
        QCOMPARE(recorder.changes.at(i).newValue, 11.0L + i);
    }
    // The first repeat waits 400 ms, the following ones 100 ms each.
    for (int i = 0; i < 7; ++i)
        QVERIFY2(recorder.times.at(i) >= 400 + 100 * i, qPrintable(QString::number(i)));
    QTest::qWait(250);
    QCOMPARE(recorder.Count(), 8);
}

void TestSpinExtEdit::PointerOffSuspends() {
    SpinWindow w;
    QVERIFY(w.Ready());
    TSpinExtEdit& spin = w.Spin();
    Configure(spin, u"##0"_qs, 0.0L, 100.0L, 1.0L, 10.0L);
    TSpinButton* button = spin.SpinButton();

    Press(spin, Button::Down);
    QVERIFY(button->ShownPressed());
    QTest::mouseMove(button, OffButton(spin));
    QVERIFY(!button->ShownPressed());
    QTest::qWait(700);
    QCOMPARE(spin.Value(), 10.0L);

    QTest::mouseMove(button, CentreOf(spin, Button::Down));
    QVERIFY(button->ShownPressed());
    QTRY_VERIFY(spin.Value() <= 8.0L);
    QTest::mouseMove(button, OffButton(spin));
    const long double suspendedAt = spin.Value();
    Release(spin, OffButton(spin));
    QVERIFY(!button->ShownPressed());
    QTest::qWait(250);
    QCOMPARE(spin.Value(), suspendedAt);
}

void TestSpinExtEdit::SlowHandlerStepsNeverOverlap() {
    SpinWindow w;
    QVERIFY(w.Ready());
    TSpinExtEdit& spin = w.Spin();
    Configure(spin, u"##0"_qs, 0.0L, 100.0L, 1.0L, 10.0L);
    int depth = 0;
    int deepest = 0;
    int calls = 0;
    spin.onChangeValue = [&](QObject*, long double, long double) {
        ++calls;
        deepest = std::max(deepest, ++depth);
        if (calls == 2) // released while the second repeated step is still busy
            Release(spin, CentreOf(spin, Button::Up));
        QTest::qWait(250); // a handler that lets the event loop run, repeat ticks included
        --depth;
    };

    Press(spin, Button::Up);
    QTRY_COMPARE_WITH_TIMEOUT(calls, 3, 5000);
    QCOMPARE(deepest, 1);
    QCOMPARE(depth, 0);
    QCOMPARE(spin.Value(), 13.0L);
    QTest::qWait(300);
    QCOMPARE(calls, 3);
}

void TestSpinExtEdit::KeysDoNotStep_data() {
    QTest::addColumn<int>("key");
    QTest::newRow("up") << int(Qt::Key_Up);
    QTest::newRow("down") << int(Qt::Key_Down);
    QTest::newRow("page up") << int(Qt::Key_PageUp);
    QTest::newRow("page down") << int(Qt::Key_PageDown);
}

void TestSpinExtEdit::KeysDoNotStep() {
    QFETCH(int, key);
    SpinWindow w;
    QVERIFY(w.Ready());
    TSpinExtEdit& spin = w.Spin();
    Configure(spin, u"##0"_qs, 0.0L, 100.0L, 1.0L, 10.0L);
    spin.setFocus();
    QTRY_VERIFY(spin.hasFocus());
    QTest::keyClick(&spin, Qt::Key(key));
    QTest::keyClick(&spin, Qt::Key(key));
    QCOMPARE(spin.Value(), 10.0L);
    QCOMPARE(spin.text(), u" 10"_qs);
}
