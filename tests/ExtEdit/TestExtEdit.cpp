#include "TestExtEdit.h"

#include "FieldNote.h"
#include "Recorder.h"
#include "TExtEdit.h"
#include "TExtText.h"
#include "TSpinExtEdit.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLabel>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QVBoxLayout>

#include <limits>
#include <memory>

namespace {

// A tab widget with two empty pages, the first one shown.
struct TwoPages {
    QTabWidget tabs;
    QWidget* first = new QWidget;
    QWidget* second = new QWidget;
    TwoPages() {
        tabs.addTab(first, QStringLiteral("Первая"));
        tabs.addTab(second, QStringLiteral("Вторая"));
    }
};

struct Setup {
    QString mask;
    long double min;
    long double max;
    long double held;
};

// Bounds before the value: every assignment clamps.
void Configure(TExtEdit& edit, const Setup& setup) {
    edit.SetValueFormat(setup.mask);
    edit.SetValueMin(setup.min);
    edit.SetValueMax(setup.max);
    edit.SetValueMin(setup.min);
    edit.SetValue(setup.held);
}

// A shown, active window holding the given number of plain value edits.
struct EditWindow {
    explicit EditWindow(int edits = 1) {
        auto* layout = new QVBoxLayout(&window);
        for (int i = 0; i < edits; ++i) {
            auto* edit = new TExtEdit(&window);
            layout->addWidget(edit);
            this->edits.append(edit);
        }
        window.show();
        window.activateWindow();
    }
    bool Ready() { return QTest::qWaitForWindowActive(&window); }
    TExtEdit& Edit(int i = 0) { return *edits.at(i); }

    QWidget window;
    QList<TExtEdit*> edits;
};

} // namespace

void TestExtEdit::Constructor() {
    TExtEdit edit;
    QCOMPARE(edit.text(), u" 0.00"_qs);
    QCOMPARE(edit.height(), 25);
    QCOMPARE(edit.font().pixelSize(), 21);
    QCOMPARE(edit.Value(), 0.0L);
    QCOMPARE(edit.ValueMin(), -1.0L);
    QCOMPARE(edit.ValueMax(), 1.0L);
    QCOMPARE(edit.ValueFormat(), u"#####0.00"_qs);
    QVERIFY(!edit.isModified());
}

void TestExtEdit::ApplyText_data() {
    QTest::addColumn<QString>("mask");
    QTest::addColumn<long double>("min");
    QTest::addColumn<long double>("max");
    QTest::addColumn<long double>("held");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<long double>("value");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("reports");
    QTest::addColumn<QString>("remark");

    const QString plain = u"#####0.00"_qs;
    QTest::newRow("decimal comma") << plain << -1000.0L << 1000.0L << 1.0L << u"7,5"_qs << 7.5L
                                   << u" 7.50"_qs << 1 << QString();
    QTest::newRow("decimal comma below one") << plain << 0.00001L << 15.99L << 1.0L << u"0,5"_qs
                                             << 0.5L << u" 0.50"_qs << 1 << QString();
    QTest::newRow("decimal comma not beyond the bound")
        << plain << 0.00001L << 15.99L << 1.0L << u"1,25"_qs << 1.25L << u" 1.25"_qs << 1
        << QString();
    QTest::newRow("leading comma")
        << plain << -10.0L << 10.0L << 1.0L << u" ,5 V"_qs << 0.5L << u" 0.50"_qs << 1 << QString();
    QTest::newRow("comma and point are two points")
        << plain << -10.0L << 10.0L << 1.0L << u"1,2.5"_qs << 1.0L << u" 1.00"_qs << 0
        << u"«1,2.5» — не число, осталось 1.00"_qs;
    QTest::newRow("letters restore") << plain << -1000.0L << 1000.0L << 1.0L << u"abc"_qs << 1.0L
                                     << u" 1.00"_qs << 0 << u"«abc» — не число, осталось 1.00"_qs;
    QTest::newRow("negative under leading blanks fails")
        << u"            #0.0 %"_qs << -99.0L << 500.0L << -5.5L << u" -            5.5 %"_qs
        << -5.5L << u" -            5.5 %"_qs << 0 << QString();
    QTest::newRow("shown text re-committed")
        << u"Vref ##0.00 Volt"_qs << 4.5L << 6.5L << 4.5L << u" Vref 4.50 Volt"_qs << 4.5L
        << u" Vref 4.50 Volt"_qs << 0 << QString();
    QTest::newRow("unit glued to the number")
        << u"#0.0кП"_qs << 0.00001L << 100.0L << 100.0L << u" 100.0кП"_qs << 100.0L
        << u" 100.0кП"_qs << 0 << QString();
    QTest::newRow("lone point is zero")
        << plain << -1.0L << 1.0L << 0.5L << u"."_qs << 0.0L << u" 0.00"_qs << 1 << QString();
    QTest::newRow("lone sign") << plain << -1.0L << 1.0L << 0.5L << u" - "_qs << 0.5L << u" 0.50"_qs
                               << 0 << u"«-» — не число, осталось 0.50"_qs;
    QTest::newRow("two points") << plain << -10.0L << 10.0L << 0.5L << u"1.2.3"_qs << 0.5L
                                << u" 0.50"_qs << 0 << u"«1.2.3» — не число, осталось 0.50"_qs;
    QTest::newRow("exponent") << plain << -1000.0L << 1000.0L << 0.5L << u"1e2"_qs << 100.0L
                              << u" 100.00"_qs << 1 << QString();
    QTest::newRow("overflow keeps") << plain << -1000.0L << 1000.0L << 0.5L << u"1e5000"_qs << 0.5L
                                    << u" 0.50"_qs << 0 << u"«1e5000» — не число, осталось 0.50"_qs;
    QTest::newRow("above the upper bound")
        << plain << -1000.0L << 1000.0L << 0.5L << u"2000"_qs << 1000.0L << u" 1000.00"_qs << 1
        << u"не больше 1000.00"_qs;
    QTest::newRow("tiny becomes zero") << plain << -1.0L << 1.0L << 0.5L << u"0.00000000001"_qs
                                       << 0.0L << u" 0.00"_qs << 1 << QString();
    QTest::newRow("exponent sign skipped") << plain << -1.0L << 1.0L << 0.5L << u"1e-11"_qs << 1.0L
                                           << u" 1.00"_qs << 1 << u"не больше 1.00"_qs;
    QTest::newRow("blank ends the number") << plain << -100.0L << 100.0L << 0.5L << u"12 34"_qs
                                           << 12.0L << u" 12.00"_qs << 1 << QString();
    QTest::newRow("above the upper bound, percent")
        << u"###0 %"_qs << 0.0001L << 500.0L << 100.0L << u"999"_qs << 500.0L << u" 500 %"_qs << 1
        << u"не больше 500 %"_qs;
    QTest::newRow("below a bound shown as zero") << plain << 0.00001L << 15.99L << 1.0L << u"0"_qs
                                                 << 0.00001L << u" 0.00"_qs << 1 << QString();
    QTest::newRow("emptied") << plain << -1.0L << 1.0L << 0.5L << u" "_qs << 0.5L << u" 0.50"_qs
                             << 0 << u"Пусто — не число, осталось 0.50"_qs;
    const QString rpm = u"#####0 Об/мин"_qs;
    QTest::newRow("thousands blank") << rpm << 1000.0L << 4000.0L << 1000.0L << u"1 600"_qs
                                     << 1600.0L << u" 1600 Об/мин"_qs << 1 << QString();
    QTest::newRow("below the lower bound")
        << rpm << 1000.0L << 4000.0L << 2000.0L << u"500"_qs << 1000.0L << u" 1000 Об/мин"_qs << 1
        << u"не меньше 1000 Об/мин"_qs;
    QTest::newRow("thousands no-break space")
        << rpm << 1000.0L << 4000.0L << 1000.0L << u"1\u00A0600"_qs << 1600.0L << u" 1600 Об/мин"_qs
        << 1 << QString();
    QTest::newRow("two groups and a comma") << plain << -1e7L << 1e7L << 0.5L << u"1 600 000,5"_qs
                                            << 1600000.5L << u" 1600000.50"_qs << 1 << QString();
    QTest::newRow("blank after the point ends")
        << plain << -100.0L << 100.0L << 0.5L << u"2.5 600"_qs << 2.5L << u" 2.50"_qs << 1
        << QString();
    QTest::newRow("hex prefix skipped") << plain << -100.0L << 100.0L << 0.5L << u"0x10"_qs << 10.0L
                                        << u" 10.00"_qs << 1 << QString();
    QTest::newRow("infinity word") << plain << -100.0L << 100.0L << 0.5L << u"inf"_qs << 0.5L
                                   << u" 0.50"_qs << 0 << u"«inf» — не число, осталось 0.50"_qs;
    QTest::newRow("more decimals than shown")
        << u"#0.00 V"_qs << 0.00001L << 5.0L << 1.0L << u"4.573"_qs << 4.573L << u" 4.57 V"_qs << 1
        << QString();
}

void TestExtEdit::ApplyText() {
    QFETCH(QString, mask);
    QFETCH(long double, min);
    QFETCH(long double, max);
    QFETCH(long double, held);
    QFETCH(QString, typed);
    QFETCH(long double, value);
    QFETCH(QString, shown);
    QFETCH(int, reports);
    QFETCH(QString, remark);

    EditWindow w;
    QVERIFY(QTest::qWaitForWindowExposed(&w.window));
    TExtEdit& edit = w.Edit();
    Configure(edit, {mask, min, max, held});
    ChangeRecorder recorder;
    edit.onChangeValue = recorder.Handler();

    edit.setText(typed);
    edit.setModified(true);
    edit.ApplyText();

    QCOMPARE(edit.Value(), value);
    QCOMPARE(edit.text(), shown);
    QCOMPARE(recorder.Count(), reports);
    if (reports > 0) {
        QCOMPARE(recorder.changes.first().oldValue, held);
        QCOMPARE(recorder.changes.first().newValue, value);
    }
    QVERIFY(!edit.isModified());
    QCOMPARE(edit.Remark(), remark);
}

void TestExtEdit::RemarkStandsAtTheFieldForAMoment() {
    EditWindow w(2);
    QVERIFY(w.Ready());
    TExtEdit& edit = w.Edit(1); // the lower field: the note goes above it if it must
    Configure(edit, {u"###0 %"_qs, 0.0001L, 500.0L, 100.0L});
    edit.setAccessibleDescription(u"Обогащение при разгоне"_qs);
    edit.setFocus();

    edit.selectAll();
    QTest::keyClicks(&edit, u"999"_qs);
    QTest::keyClick(&edit, Qt::Key_Return);
    QCOMPARE(edit.text(), u" 500 %"_qs);
    const auto* note = w.window.findChild<QLabel*>(u"FieldNote"_qs);
    QVERIFY(note && note->isVisible());
    QCOMPARE(note->text(), u"не больше 500 %"_qs);
    QCOMPARE(edit.accessibleDescription(), note->text());
    QVERIFY(w.window.rect().contains(note->geometry()));
    QVERIFY(!note->geometry().intersects(edit.geometry()));

    // A number within the bounds takes the remark away and gives the field its description.
    edit.selectAll();
    QTest::keyClicks(&edit, u"250"_qs);
    QTest::keyClick(&edit, Qt::Key_Return);
    QVERIFY(note->isHidden());
    QCOMPARE(edit.accessibleDescription(), u"Обогащение при разгоне"_qs);

    edit.selectAll();
    QTest::keyClicks(&edit, u"abc"_qs);
    QTest::keyClick(&edit, Qt::Key_Return);
    QCOMPARE(edit.Remark(), u"«abc» — не число, осталось 250 %"_qs);
    QCOMPARE(edit.text(), u" 250 %"_qs);
    QTRY_VERIFY_WITH_TIMEOUT(note->isHidden(), FieldNote::ShownMs + 2000);
    QCOMPARE(edit.accessibleDescription(), u"Обогащение при разгоне"_qs);
}

void TestExtEdit::EnterCommitsAndIsConsumed_data() {
    QTest::addColumn<int>("key");
    QTest::newRow("return") << int(Qt::Key_Return);
    QTest::newRow("keypad enter") << int(Qt::Key_Enter);
}

void TestExtEdit::EnterCommitsAndIsConsumed() {
    QFETCH(int, key);
    EditWindow w;
    QVERIFY(w.Ready());
    TExtEdit& edit = w.Edit();
    edit.setFocus();
    QSignalSpy returnPressed(&edit, &QLineEdit::returnPressed);
    ChangeRecorder recorder;
    edit.onChangeValue = recorder.Handler();

    edit.selectAll();
    QTest::keyClicks(&edit, u"0.25"_qs);
    QVERIFY(edit.isModified());
    QCOMPARE(edit.Value(), 0.0L);
    QTest::keyClick(&edit, Qt::Key(key));

    QCOMPARE(edit.Value(), 0.25L);
    QCOMPARE(edit.text(), u" 0.25"_qs);
    QCOMPARE(recorder.Count(), 1);
    QVERIFY(!edit.isModified());
    QCOMPARE(returnPressed.count(), 0);
}

void TestExtEdit::FocusMoveCommits() {
    EditWindow w(2);
    QVERIFY(w.Ready());
    TExtEdit& first = w.Edit(0);
    Configure(first, {u"#0.00 V"_qs, 0.00001L, 5.0L, 4.0L});
    ChangeRecorder recorder;
    first.onChangeValue = recorder.Handler();

    first.setFocus();
    QTRY_VERIFY(first.hasFocus());
    first.SetValue(4.573L);
    QCOMPARE(recorder.Count(), 1);
    QCOMPARE(recorder.changes.at(0).oldValue, 4.0L);
    QCOMPARE(recorder.changes.at(0).newValue, 4.573L);

    // Leaving without an edit keeps the held number.
    w.Edit(1).setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(w.Edit(1).hasFocus());
    QCOMPARE(first.Value(), 4.573L);
    QCOMPARE(first.text(), u" 4.57 V"_qs);
    QCOMPARE(recorder.Count(), 1);

    // Typed text is committed the same way.
    first.setFocus(Qt::MouseFocusReason);
    QTRY_VERIFY(first.hasFocus());
    first.selectAll();
    QTest::keyClicks(&first, u"3"_qs);
    w.Edit(1).setFocus(Qt::MouseFocusReason);
    QCOMPARE(first.Value(), 3.0L);
    QCOMPARE(recorder.Count(), 2);
    QCOMPARE(recorder.changes.at(1).newValue, 3.0L);
}

void TestExtEdit::FocusOutReasons_data() {
    QTest::addColumn<int>("reason");
    QTest::addColumn<bool>("commits");
    QTest::newRow("tab") << int(Qt::TabFocusReason) << true;
    QTest::newRow("mouse") << int(Qt::MouseFocusReason) << true;
    QTest::newRow("other") << int(Qt::OtherFocusReason) << true;
    QTest::newRow("another application") << int(Qt::ActiveWindowFocusReason) << false;
    QTest::newRow("popup") << int(Qt::PopupFocusReason) << false;
}

void TestExtEdit::FocusOutReasons() {
    QFETCH(int, reason);
    QFETCH(bool, commits);
    TExtEdit edit;
    edit.SetValueMax(100.0L);
    edit.setText(u"42"_qs);
    edit.setModified(true);

    QFocusEvent focusOut(QEvent::FocusOut, Qt::FocusReason(reason));
    QApplication::sendEvent(&edit, &focusOut);

    QCOMPARE(edit.Value(), commits ? 42.0L : 0.0L);
    QCOMPARE(edit.text(), commits ? u" 42.00"_qs : u"42"_qs);
    QCOMPARE(edit.isModified(), !commits);
}

void TestExtEdit::PageKeyCommitsInSight_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("ctrl+tab") << int(Qt::Key_Tab) << int(Qt::ControlModifier);
    QTest::newRow("ctrl+shift+tab")
        << int(Qt::Key_Backtab) << int(Qt::ControlModifier | Qt::ShiftModifier);
}

// The page turns before the field loses the focus; typed text is committed while in sight.
void TestExtEdit::PageKeyCommitsInSight() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    TwoPages pages;
    QTabWidget& tabs = pages.tabs;
    QWidget* first = pages.first;
    QWidget* second = pages.second;
    auto* edit = new TExtEdit(first);
    new TExtEdit(second);
    edit->SetValueMax(100.0L);
    ChangeRecorder recorder;
    edit->onChangeValue = recorder.Handler();
    tabs.show();
    tabs.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&tabs));

    edit->setFocus();
    QTRY_VERIFY(edit->hasFocus());
    edit->selectAll();
    QTest::keyClicks(edit, u"7"_qs);
    QTest::keyClick(edit, Qt::Key(key), Qt::KeyboardModifiers(modifiers));

    QCOMPARE(tabs.currentIndex(), 1);
    QCOMPARE(recorder.Count(), 1);
    QCOMPARE(recorder.changes.at(0).newValue, 7.0L);
    QCOMPARE(edit->Value(), 7.0L);
}

void TestExtEdit::Assign_data() {
    QTest::addColumn<QString>("mask");
    QTest::addColumn<long double>("min");
    QTest::addColumn<long double>("max");
    QTest::addColumn<long double>("held");
    QTest::addColumn<long double>("assigned");
    QTest::addColumn<long double>("stored");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("reported");

    const QString plain = u"#####0.00"_qs;
    const long double nan = std::numeric_limits<long double>::quiet_NaN();
    QTest::newRow("near-zero lower bound from above")
        << plain << 0.00001L << 15.99L << 1.0L << 0.0L << 0.00001L << u" 0.00"_qs << true;
    QTest::newRow("upper bound is inclusive")
        << plain << -1.0L << 1.0L << 0.0L << 1.0L << 1.0L << u" 1.00"_qs << true;
    QTest::newRow("above the upper bound")
        << plain << -1.0L << 1.0L << 0.0L << 2.0L << 1.0L << u" 1.00"_qs << true;
    QTest::newRow("not a number goes up")
        << plain << -1.0L << 1.0L << 0.0L << nan << 1.0L << u" 1.00"_qs << true;
    QTest::newRow("1e-11 is zero")
        << plain << -1.0L << 1.0L << 0.5L << 1e-11L << 0.0L << u" 0.00"_qs << true;
    QTest::newRow("lower bound above the upper")
        << plain << 5.0L << 2.0L << 5.0L << 3.0L << 5.0L << u" 5.00"_qs << false;
    QTest::newRow("bound closer to zero than 1e-10")
        << plain << 1e-12L << 1.0L << 0.5L << 0.0L << 0.0L << u" 0.00"_qs << true;
    QTest::newRow("more decimals than shown")
        << u"#0.00 V"_qs << 0.00001L << 5.0L << 4.0L << 4.573L << 4.573L << u" 4.57 V"_qs << true;
    QTest::newRow("same shown text")
        << u"#0.00 V"_qs << 0.00001L << 5.0L << 4.0L << 4.001L << 4.001L << u" 4.00 V"_qs << false;
    QTest::newRow("already at the bound")
        << plain << 0.0L << 1.0L << 1.0L << 5.0L << 1.0L << u" 1.00"_qs << false;
    QTest::newRow("negative") << u"            #0.0 %"_qs << -99.0L << 500.0L << 0.0L << -50.0L
                              << -50.0L << u" -            50.0 %"_qs << true;
}

void TestExtEdit::Assign() {
    QFETCH(QString, mask);
    QFETCH(long double, min);
    QFETCH(long double, max);
    QFETCH(long double, held);
    QFETCH(long double, assigned);
    QFETCH(long double, stored);
    QFETCH(QString, shown);
    QFETCH(bool, reported);

    EditWindow w;
    QVERIFY(QTest::qWaitForWindowExposed(&w.window));
    TExtEdit& edit = w.Edit();
    Configure(edit, {mask, min, max, held});
    ChangeRecorder recorder;
    edit.onChangeValue = recorder.Handler();

    edit.SetValue(assigned);

    QCOMPARE(edit.Value(), stored);
    QCOMPARE(edit.text(), shown);
    QCOMPARE(recorder.Count(), reported ? 1 : 0);
    if (reported) {
        QCOMPARE(recorder.changes.at(0).sender, &edit);
        QCOMPARE(recorder.changes.at(0).oldValue, held);
        QCOMPARE(recorder.changes.at(0).newValue, stored);
    }
}

void TestExtEdit::ReportOnlyWhenShowingAndOwnEnabled() {
    QWidget window;
    auto* group = new QWidget(&window);
    auto* edit = new TExtEdit(group);
    edit->SetValueMax(100.0L);
    ChangeRecorder recorder;
    edit->onChangeValue = recorder.Handler();

    edit->SetValue(1.0L); // window not shown
    QCOMPARE(edit->text(), u" 1.00"_qs);
    QCOMPARE(recorder.Count(), 0);

    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    edit->setEnabled(false);
    edit->SetValue(2.0L);
    QCOMPARE(edit->Value(), 2.0L);
    QCOMPARE(recorder.Count(), 0);

    // A disabled parent leaves the control's own flag set.
    edit->setEnabled(true);
    group->setEnabled(false);
    QVERIFY(!edit->isEnabled());
    edit->SetValue(3.0L);
    QCOMPARE(recorder.Count(), 1);
    QCOMPARE(recorder.changes.at(0).newValue, 3.0L);

    group->setEnabled(true);
    edit->hide();
    edit->SetValue(4.0L);
    QCOMPARE(recorder.Count(), 1);
    edit->show();
    edit->SetValue(5.0L);
    QCOMPARE(recorder.Count(), 2);
    QCOMPARE(recorder.changes.at(1).oldValue, 4.0L);
}

void TestExtEdit::ReportNotOnHiddenTabPage() {
    TwoPages pages;
    QTabWidget& tabs = pages.tabs;
    QWidget* second = pages.second;
    auto* edit = new TExtEdit(second);
    edit->SetValueMax(100.0L);
    ChangeRecorder recorder;
    edit->onChangeValue = recorder.Handler();
    tabs.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tabs));

    QVERIFY(!edit->Showing());
    edit->SetValue(7.0L);
    QCOMPARE(edit->text(), u" 7.00"_qs);
    QCOMPARE(recorder.Count(), 0);

    tabs.setCurrentIndex(1);
    QVERIFY(edit->Showing());
    QCOMPARE(recorder.Count(), 0);
    edit->SetValue(8.0L);
    QCOMPARE(recorder.Count(), 1);
}

void TestExtEdit::BoundsAssignmentClamps() {
    EditWindow w;
    QVERIFY(QTest::qWaitForWindowExposed(&w.window));
    TExtEdit& edit = w.Edit();
    edit.SetValue(0.5L);
    ChangeRecorder recorder;
    edit.onChangeValue = recorder.Handler();

    edit.SetValueMax(0.2L);
    QCOMPARE(edit.Value(), 0.2L);
    edit.SetValueMax(0.9L); // value inside: nothing happens
    QCOMPARE(edit.Value(), 0.2L);
    edit.SetValueMin(0.3L);
    QCOMPARE(edit.Value(), 0.3L);
    QCOMPARE(recorder.Count(), 2);

    // A lower bound of 1000 set while the upper bound is still 1 leaves 1000 for the moment.
    TExtEdit fresh;
    fresh.SetValueMin(1000.0L);
    QCOMPARE(fresh.Value(), 1000.0L);
    fresh.SetValueMax(4000.0L);
    fresh.SetValue(2500.0L);
    QCOMPARE(fresh.Value(), 2500.0L);
}

void TestExtEdit::MaskAssignmentReportsNothing() {
    EditWindow w;
    QVERIFY(QTest::qWaitForWindowExposed(&w.window));
    TExtEdit& edit = w.Edit();
    edit.SetValue(0.5L);
    ChangeRecorder recorder;
    edit.onChangeValue = recorder.Handler();
    edit.SetValueFormat(u"##0 %"_qs);
    QCOMPARE(edit.text(), u" 1 %"_qs);
    QCOMPARE(recorder.Count(), 0);
}

void TestExtEdit::InitTakesHandlerResult() {
    EditWindow w;
    QVERIFY(QTest::qWaitForWindowExposed(&w.window));
    TExtEdit& edit = w.Edit();
    Configure(edit, {u"##0 °С"_qs, 20.0L, 100.0L, 50.0L});
    edit.SetQueryCod(2);
    edit.SetValueAdr(32);
    edit.setEnabled(false);
    ChangeRecorder recorder;
    edit.onChangeValue = recorder.Handler();
    int calls = 0;
    edit.onInit = [&](QObject* sender, int queryCod, int valueAdr, long double& value) {
        ++calls;
        QCOMPARE(sender, &edit);
        QCOMPARE(queryCod, 2);
        QCOMPARE(valueAdr, 32);
        QCOMPARE(value, 50.0L);
        value = -273.0L; // outside the bounds: shown as it is
        edit.SetValueFormat(u"##0 град С"_qs);
    };

    edit.Init();

    QCOMPARE(calls, 1);
    QVERIFY(edit.isEnabled());
    QCOMPARE(edit.Value(), -273.0L);
    QCOMPARE(edit.text(), u" -273 град С"_qs);
    QCOMPARE(recorder.Count(), 0);
}

void TestExtEdit::InitWithoutHandlerOnlyEnables() {
    TExtEdit edit;
    edit.SetValue(0.5L);
    edit.setEnabled(false);
    edit.Init();
    QVERIFY(edit.isEnabled());
    QCOMPARE(edit.Value(), 0.5L);
    QCOMPARE(edit.text(), u" 0.50"_qs);
}

void TestExtEdit::LeavingCommitsOnlyAnEdit_data() {
    QTest::addColumn<QString>("typed"); // empty: nothing typed
    QTest::addColumn<QString>("then");  // what happens before the field is left
    QTest::addColumn<long double>("value");
    QTest::addColumn<int>("reports");
    QTest::newRow("passing through") << QString() << QString() << 800.0L << 0;
    QTest::newRow("enter without an edit") << QString() << u"Enter"_qs << 1000.0L << 1;
    QTest::newRow("typed") << u"1500"_qs << QString() << 1500.0L << 1;
    QTest::newRow("typed below the bound") << u"5"_qs << QString() << 1000.0L << 1;
    QTest::newRow("typed, then Init") << u"1500"_qs << u"Init"_qs << 800.0L << 0;
    QTest::newRow("typed, then UpdateText") << u"1500"_qs << u"UpdateText"_qs << 800.0L << 0;
    QTest::newRow("typed, then SetValue") << u"1500"_qs << u"SetValue"_qs << 2500.4L << 1;
}

// The controller holds a word below the lower bound; Init shows it as it is.
void TestExtEdit::LeavingCommitsOnlyAnEdit() {
    QFETCH(QString, typed);
    QFETCH(QString, then);
    QFETCH(long double, value);
    QFETCH(int, reports);
    EditWindow w(2);
    QVERIFY(w.Ready());
    TExtEdit& edit = w.Edit(0);
    Configure(edit, {u"#####0 Об/мин"_qs, 1000.0L, 4000.0L, 2000.0L});
    ChangeRecorder recorder;
    edit.onChangeValue = recorder.Handler();
    edit.onInit = [](QObject*, int, int, long double& v) { v = 800.0L; };
    edit.Init();
    QCOMPARE(edit.text(), u" 800 Об/мин"_qs);

    edit.setFocus();
    QTRY_VERIFY(edit.hasFocus());
    if (!typed.isEmpty()) {
        edit.selectAll();
        QTest::keyClicks(&edit, typed);
    }
    if (then == u"Enter"_qs)
        QTest::keyClick(&edit, Qt::Key_Return);
    else if (then == u"Init"_qs)
        edit.Init();
    else if (then == u"UpdateText"_qs)
        edit.UpdateText();
    else if (then == u"SetValue"_qs)
        edit.SetValue(2500.4L);
    QTest::keyClick(&edit, Qt::Key_Tab);
    QTRY_VERIFY(w.Edit(1).hasFocus());

    QCOMPARE(edit.Value(), value);
    QCOMPARE(recorder.Count(), reports);
    QVERIFY(!edit.isModified());
}

void TestExtEdit::Pass_data() {
    QTest::addColumn<QString>("mask");
    QTest::addColumn<long double>("min");
    QTest::addColumn<long double>("max");
    QTest::addColumn<long double>("stored");
    QTest::addColumn<QString>("shown");
    QTest::newRow("zero inside") << u"#####0.00"_qs << -1.0L << 1.0L << 0.0L << u" 0.00"_qs;
    QTest::newRow("lower bound 1000")
        << u"#####0 Об/мин"_qs << 1000.0L << 4000.0L << 1000.0L << u" 1000 Об/мин"_qs;
    QTest::newRow("near-zero lower bound")
        << u"#####0.00"_qs << 0.00001L << 15.99L << 0.00001L << u" 0.00"_qs;
}

void TestExtEdit::Pass() {
    QFETCH(QString, mask);
    QFETCH(long double, min);
    QFETCH(long double, max);
    QFETCH(long double, stored);
    QFETCH(QString, shown);
    EditWindow w;
    QVERIFY(QTest::qWaitForWindowExposed(&w.window));
    TExtEdit& edit = w.Edit();
    Configure(edit, {mask, min, max, max});
    ChangeRecorder recorder;
    edit.onChangeValue = recorder.Handler();

    edit.Pass();

    QVERIFY(!edit.isEnabled());
    QCOMPARE(edit.Value(), stored);
    QCOMPARE(edit.text(), shown);
    QCOMPARE(recorder.Count(), 0);
}

void TestExtEdit::InitAllPassAllVisitExactClassInOrder() {
    QWidget window;
    ComponentList owner;
    QStringList visits;
    auto makeEdit = [&](auto* control, const QString& name) {
        control->setObjectName(name);
        control->setEnabled(false);
        control->onInit = [&visits, name](QObject*, int, int, long double& value) {
            visits.append(name);
            value = 0.5L;
        };
        owner.Add(control);
        return control;
    };
    auto* firstEdit = makeEdit(new TExtEdit(&window), u"edit1"_qs);
    auto* spin = makeEdit(new TSpinExtEdit(&window), u"spin"_qs);
    owner.Add(new QObject(&window));
    auto* gone = makeEdit(new TExtEdit(&window), u"gone"_qs);
    auto* secondEdit = makeEdit(new TExtEdit(&window), u"edit2"_qs);
    auto* display = new TExtText(&window);
    display->onQuery = [&visits](QObject*, int, int, long double&) { visits.append(u"text"_qs); };
    owner.Add(display);
    delete gone;

    TExtEdit::InitAll(owner);
    QCOMPARE(visits, QStringList({u"edit1"_qs, u"edit2"_qs}));
    QVERIFY(firstEdit->isEnabled() && secondEdit->isEnabled());
    QVERIFY(!spin->isEnabled());

    visits.clear();
    TSpinExtEdit::InitAll(owner);
    TExtText::InitAll(owner);
    QCOMPARE(visits, QStringList({u"spin"_qs, u"text"_qs}));

    TExtEdit::PassAll(owner);
    QVERIFY(!firstEdit->isEnabled() && !secondEdit->isEnabled());
    QVERIFY(spin->isEnabled() && display->isEnabled());
    TSpinExtEdit::PassAll(owner);
    TExtText::PassAll(owner);
    QVERIFY(!spin->isEnabled() && !display->isEnabled());
    QCOMPARE(spin->Value(), 0.0L);

    visits.clear();
    TSpinExtEdit::InitAll(owner);
    QVERIFY(spin->isEnabled());
    QCOMPARE(spin->text(), u" 0.50"_qs);

    ComponentList none;
    none.Add(firstEdit);
    TSpinExtEdit::InitAll(none);
    TSpinExtEdit::PassAll(none);
    QCOMPARE(visits, QStringList({u"spin"_qs}));
    QVERIFY(!firstEdit->isEnabled());
}

void TestExtEdit::InitAllToleratesGrowingList() {
    QWidget window;
    ComponentList owner;
    auto* edit = new TExtEdit(&window);
    owner.Add(edit);
    int calls = 0;
    edit->onInit = [&](QObject*, int, int, long double&) {
        ++calls;
        for (int i = 0; i < 64; ++i)
            owner.Add(new QObject(&window));
    };
    TExtEdit::InitAll(owner);
    QCOMPARE(calls, 1);
}

void TestExtEdit::FontRule_data() {
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("pixels");
    QTest::newRow("25 px: 16 pt") << 25 << 21;
    QTest::newRow("24 px: 16 pt") << 24 << 21;
    QTest::newRow("21 px: 14 pt") << 21 << 19;
    QTest::newRow("18 px: 12 pt") << 18 << 16;
}

void TestExtEdit::FontRule() {
    QFETCH(int, height);
    QFETCH(int, pixels);
    TExtEdit edit;
    TExtText display;
    edit.SetBounds(5, 6, 100, height);
    display.SetBounds(5, 6, 100, height);
    QCOMPARE(edit.geometry(), QRect(5, 6, 100, height));
    QCOMPARE(edit.font().pixelSize(), pixels);
    QCOMPARE(display.font().pixelSize(), pixels);
}

void TestExtEdit::FontAssignedAfterPlacementStays() {
    QWidget window;
    auto* edit = new TExtEdit(&window);
    auto* display = new TExtText(&window);
    edit->SetBounds(10, 10, 169, 21);
    display->SetBounds(10, 40, 100, 21);
    QFont small = edit->font();
    small.setPixelSize(13);
    edit->setFont(small);
    display->setFont(small);

    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(edit->font().pixelSize(), 13);
    QCOMPARE(display->font().pixelSize(), 13);

    edit->resize(150, 21); // any resize is a placement
    display->resize(90, 21);
    QCOMPARE(edit->font().pixelSize(), 19);
    QCOMPARE(display->font().pixelSize(), 19);

    edit->setFont(small);
    edit->SetBounds(10, 10, 150, 25);
    QCOMPARE(edit->font().pixelSize(), 21);
}
