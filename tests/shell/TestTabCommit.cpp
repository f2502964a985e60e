// A click on a page tab takes the keyboard focus, so a field left for another page commits
// its typed text while it is still in sight.
#include "Form1.h"
#include "FormTestCase.h"
#include "TSpinExtEdit.h"

#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include <memory>

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

} // namespace

class TestTabCommit : public FormTestCase {
    Q_OBJECT

private slots:
    void clickOnTabCommits_data() {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("pageControl");
        QTest::addColumn<int>("tab");
        QTest::newRow("cylinders, then Термо датчик") << "SpinExtEdit2"
                                                      << "PageControl1" << 1;
        QTest::newRow("cylinders, then Др. засл.") << "SpinExtEdit2"
                                                   << "PageControl3" << 1;
        QTest::newRow("cylinders, then their own tab") << "SpinExtEdit2"
                                                       << "PageControl3" << 0;
        QTest::newRow("cold engine, then Двигатель") << "SpinExtEdit16"
                                                     << "PageControl1" << 0;
    }
    void clickOnTabCommits() {
        QFETCH(QString, edit);
        QFETCH(QString, pageControl);
        QFETCH(int, tab);
        auto* field = form->findChild<TSpinExtEdit*>(edit);
        auto* pages = form->findChild<QTabWidget*>(pageControl);
        QVERIFY(field && pages);
        field->setEnabled(true);
        field->SetValueMax(12.0L);
        field->SetValue(4.0L);
        int calls = 0;
        long double written = 0.0L;
        field->onChangeValue = [&](QObject*, long double, long double newValue) {
            ++calls;
            written = newValue;
        };
        ShowPagesOf(field);
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));

        field->setFocus();
        QTRY_VERIFY(field->hasFocus());
        field->selectAll();
        QTest::keyClicks(field, QStringLiteral("3"));
        QTabBar* bar = pages->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(tab).center());

        QCOMPARE(pages->currentIndex(), tab);
        QCOMPARE(calls, 1);
        QCOMPARE(written, 3.0L);
        QCOMPARE(field->Value(), 3.0L);
    }

    // Whatever the keyboard reaches in the window, a click gives the focus to it or to the
    // control it is part of (the scroll arrows of a tab bar).
    void everyKeyboardControlTakesFocusByClick() {
        for (QWidget* widget : form->centralWidget()->findChildren<QWidget*>()) {
            if (widget->focusProxy() || !(widget->focusPolicy() & Qt::TabFocus))
                continue;
            QWidget* taker = widget;
            while (taker && !(taker->focusPolicy() & Qt::ClickFocus))
                taker = taker->parentWidget();
            QVERIFY2(taker && taker != form->centralWidget(),
                     qPrintable(widget->objectName() + u' ' + widget->metaObject()->className()));
        }
    }
};

int RunTabCommitTests(int argc, char** argv) {
    TestTabCommit test;
    return QTest::qExec(&test, argc, argv);
}

#include "TestTabCommit.moc"
