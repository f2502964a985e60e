// Caption rules, menus and the non-visual members of the main window.
#include "Captions.h"
#include "Form1.h"
#include "FormTestCase.h"
#include "Protocol.h"
#include "TSpinExtEdit.h"

#include <QAction>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <memory>

class TestMainWindow : public FormTestCase {
    Q_OBJECT

private slots:
    void captionAfterCreationKeepsTrailingBlank() {
        QCOMPARE(form->windowTitle(), QStringLiteral("Tarvik-Q5 system "));
        QCOMPARE(QGuiApplication::applicationDisplayName(), QStringLiteral("Tarvik-Q5 system "));
    }

    void fileCaption_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("caption");
        QTest::newRow("bare name") << "car1.q5t"
                                   << "Tarvik-Q5 system (car1.q5t)";
        QTest::newRow("directory dropped") << "/home/user/cars/car1.q5t"
                                           << "Tarvik-Q5 system (car1.q5t)";
        QTest::newRow("extension kept") << "/tmp/Lada 2107.txt"
                                        << "Tarvik-Q5 system (Lada 2107.txt)";
        QTest::newRow("Cyrillic name") << "/tmp/Волга.q5t"
                                       << "Tarvik-Q5 system (Волга.q5t)";
    }
    void fileCaption() {
        QFETCH(QString, path);
        QFETCH(QString, caption);
        QCOMPARE(FileCaption(path), caption);
    }

    // Every write command resets the caption, also when the exchange fails (no port open).
    void writeCommandRestoresBaseCaption() {
        form->setWindowTitle(FileCaption(QStringLiteral("car1.q5t")));
        QVERIFY(!SendCommand(CmdWriteParam, 40, 2930));
        QCOMPARE(form->windowTitle(), BaseCaption());
    }
    void readCommandKeepsFileCaption() {
        form->setWindowTitle(FileCaption(QStringLiteral("car1.q5t")));
        SendCommand(CmdReadParam, 40, 0);
        QCOMPARE(form->windowTitle(), QStringLiteral("Tarvik-Q5 system (car1.q5t)"));
    }

    void menuItems_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("menu");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<bool>("visible");
        QTest::addColumn<QString>("key");
        QTest::newRow("N2") << "N2"
                            << "Загрузить из файла"
                            << "N1" << false << true << "Ctrl+O";
        QTest::newRow("N3") << "N3"
                            << "Сохранить в файле"
                            << "N1" << false << true << "Ctrl+S";
        QTest::newRow("N7") << "N7"
                            << "Выход"
                            << "N1" << true << true << "";
        QTest::newRow("N5") << "N5"
                            << "Помощь"
                            << "N4" << false << false << "";
        QTest::newRow("N6") << "N6"
                            << "О программе"
                            << "N4" << true << true << "";
    }
    void menuItems() {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, menu);
        QFETCH(bool, enabled);
        QFETCH(bool, visible);
        QFETCH(QString, key);
        auto* item = form->findChild<QAction*>(name);
        QVERIFY(item);
        QCOMPARE(item->text(), caption);
        QCOMPARE(item->isEnabled(), enabled);
        QCOMPARE(item->isVisible(), visible);
        QCOMPARE(item->shortcut().toString(), key);
        auto* owner = form->findChild<QMenu*>(menu);
        QVERIFY(owner);
        QVERIFY(owner->actions().contains(item));
    }

    // The keys reach the menu from a value field that holds the focus.
    void menuKeysFromAField() {
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        TSpinExtEdit* field = nullptr;
        for (TSpinExtEdit* spin : form->findChildren<TSpinExtEdit*>())
            if (!field && spin->isVisible())
                field = spin;
        QVERIFY(field);
        field->setEnabled(true);
        field->setFocus();
        QTRY_VERIFY(field->hasFocus());
        form->N2->setEnabled(true);
        int loads = 0;
        connect(form->N2, &QAction::triggered, form.get(), [&loads] { ++loads; });
        QTest::keyClick(field, Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(loads, 1);

        QTest::keyClick(field, Qt::Key_F10);
        QTRY_VERIFY(form->N1->isVisible());
        QCOMPARE(form->MainMenu1->activeAction(), form->N1->menuAction());
        form->N1->close();
    }

    void menuBarOrder() {
        QCOMPARE(form->menuBar(), form->MainMenu1);
        const QList<QAction*> top = form->MainMenu1->actions();
        QCOMPARE(top.size(), 2);
        QCOMPARE(top.at(0)->text(), QStringLiteral("Файл"));
        QCOMPARE(top.at(1)->text(), QStringLiteral("?"));
        QCOMPARE(form->N1->actions(), (QList<QAction*>{form->N2, form->N3, form->N7}));
        QCOMPARE(form->N4->actions(), (QList<QAction*>{form->N5, form->N6}));
    }

    void exitClosesWindowAtOnce() {
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        form->N7->trigger();
        QVERIFY(!form->isVisible());
    }

    void monitorTimerStopped() {
        QCOMPARE(form->Timer2->interval(), 400);
        QVERIFY(!form->Timer2->isActive());
    }

    void settingsDialogs() {
        for (QFileDialog* dialog : {form->OpenDialog1, form->SaveDialog1}) {
            // The dialog folds runs of blanks in a filter's text.
            QCOMPARE(dialog->nameFilters(), QStringList{"Установки Tarvik-Q5 (*.q5t)"});
            QVERIFY(dialog->testOption(QFileDialog::DontUseNativeDialog));
            QVERIFY(dialog->testOption(QFileDialog::DontConfirmOverwrite));
            QCOMPARE(dialog->fileMode(), QFileDialog::AnyFile);
            QVERIFY(dialog->defaultSuffix().isEmpty());
        }
        QCOMPARE(form->OpenDialog1->acceptMode(), QFileDialog::AcceptOpen);
        QCOMPARE(form->SaveDialog1->acceptMode(), QFileDialog::AcceptSave);
    }

    void windowSizeAndPlace() {
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QCOMPARE(form->width(), 558);
        QCOMPARE(form->centralWidget()->height(), 384);
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY(qAbs(form->frameGeometry().center().x() - screen.center().x()) <= 1);
        QVERIFY(qAbs(form->frameGeometry().center().y() - screen.center().y()) <= 1);
        QVERIFY(!form->windowIcon().isNull());
        QVERIFY(form->windowIcon().availableSizes().contains(QSize(16, 16)));
    }
};

int RunMainWindowTests(int argc, char** argv) {
    TestMainWindow test;
    return QTest::qExec(&test, argc, argv);
}

#include "TestMainWindow.moc"
