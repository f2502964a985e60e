// The serial-number dialog and the hidden gesture that opens it.

#include "Cp1251.h"
#include "DateText.h"
#include "Form1.h"
#include "FrameLog.h"
#include "ModalDriver.h"
#include "ProductionLog.h"
#include "Protocol.h"
#include "Ser_num.h"
#include "WindowFixture.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <memory>

namespace {

QStringList Frames(uint8_t command, int first, const QByteArray& bytes) {
    QStringList frames;
    for (int i = 0; i < bytes.size(); ++i)
        frames << Triple(command, first + i,
                         command == CmdReadParam ? 0 : static_cast<uint8_t>(bytes[i]));
    return frames;
}

QByteArray TodayForController() {
    return Cp1251::Encode(DateText::TodayForDevice()).leftJustified(8, ' ');
}

} // namespace

class TestSerialDialog : public QObject {
    Q_OBJECT
private slots:
    void init() { fixture = std::make_unique<WindowFixture>(); }
    void cleanup() { fixture.reset(); }

    void gestureOpensDialog_data();
    void gestureOpensDialog();
    void enterDoesNotWrite();
    void okWritesSerialAndDate_data();
    void okWritesSerialAndDate();
    void okFailureKeepsDialogOpen();
    void showingNamesTheLog();

private:
    std::unique_ptr<WindowFixture> fixture;
};

void TestSerialDialog::gestureOpensDialog_data() {
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<Qt::MouseButtons>("alsoHeld");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<bool>("fieldEnabled");
    QTest::addColumn<bool>("opens");

    const Qt::KeyboardModifiers all = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;
    const Qt::MouseButtons none = Qt::NoButton;
    QTest::newRow("right, Shift Ctrl Alt") << Qt::RightButton << none << all << true << true;
    QTest::newRow("left held as well")
        << Qt::RightButton << Qt::MouseButtons(Qt::LeftButton) << all << true << true;
    QTest::newRow("without Alt") << Qt::RightButton << none
                                 << (Qt::ShiftModifier | Qt::ControlModifier) << true << false;
    QTest::newRow("left button") << Qt::LeftButton << none << all << true << false;
    QTest::newRow("not connected") << Qt::RightButton << none << all << false << false;
}

void TestSerialDialog::gestureOpensDialog() {
    QFETCH(Qt::MouseButton, button);
    QFETCH(Qt::MouseButtons, alsoHeld);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(bool, fieldEnabled);
    QFETCH(bool, opens);
    TForm1& form = fixture->form();
    form.show();
    form.StaticText1->setText(QStringLiteral("Серийный 1"));
    form.StaticText1->setEnabled(fieldEnabled);

    QString shownInDialog;
    ModalDriver driver;
    driver.then<TForm2>([&](TForm2* dialog) {
        shownInDialog = dialog->Edit1->text();
        dialog->Button2->click();
    });
    if (alsoHeld == Qt::NoButton) {
        QTest::mouseClick(form.StaticText1, button, modifiers);
    } else {
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5),
                          form.StaticText1->mapToGlobal(QPointF(5, 5)), button, button | alsoHeld,
                          modifiers);
        QApplication::sendEvent(form.StaticText1, &press);
    }

    QCOMPARE(driver.pending() == 0, opens);
    if (opens)
        QCOMPARE(shownInDialog, QStringLiteral("Серийный 1"));
    QCOMPARE(FrameTriples(fixture->controller()), QStringList());
}

void TestSerialDialog::enterDoesNotWrite() {
    TForm2& dialog = fixture->dialog();
    QCOMPARE(dialog.Label1->text(), DateText::TodayForDevice());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QTRY_VERIFY(dialog.Button1->hasFocus());
    QVERIFY(!dialog.Button1->isDefault());
    QTest::keyClick(&dialog, Qt::Key_Return);
    QVERIFY(dialog.isVisible());
    QCOMPARE(FrameTriples(fixture->controller()), QStringList());
}

void TestSerialDialog::okWritesSerialAndDate_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("written");
    QTest::newRow("10 characters") << "ABCDEFGHIJ" << QByteArray("ABCDEFGHIJ              ");
    QTest::newRow("30 characters")
        << "123456789012345678901234567890" << QByteArray("123456789012345678901234");
}

void TestSerialDialog::okWritesSerialAndDate() {
    QFETCH(QString, typed);
    QFETCH(QByteArray, written);
    TForm2& dialog = fixture->dialog();
    dialog.show();
    dialog.Edit1->setText(typed);

    QTest::mouseClick(dialog.Button1, Qt::LeftButton);

    QCOMPARE(FrameTriples(fixture->controller()),
             Frames(CmdWriteParam, 1, written) + Frames(CmdWriteParam, 25, TodayForController()) +
                 Frames(CmdReadParam, 1, QByteArray(32, 0)));
    QCOMPARE(fixture->text(1, 24), written);
    QCOMPARE(fixture->form().StaticText1->text(), QString::fromLatin1(written));
    QVERIFY(!dialog.isVisible());
    QVERIFY(!QFile::exists(fixture->logPath()));
}

void TestSerialDialog::okFailureKeepsDialogOpen() {
    QVERIFY(QDir(fixture->directory()).mkdir(ProductionLog::FileName));
    TForm2& dialog = fixture->dialog();
    dialog.show();
    dialog.Edit1->setText(QStringLiteral("NEW CONTROLLER     00000"));

    QTest::mouseClick(dialog.Button1, Qt::LeftButton);

    QCOMPARE(fixture->errors, QStringList{"File access denied."});
    QVERIFY(dialog.isVisible());
    QCOMPARE(fixture->text(1, 24), QByteArray("NEW CONTROLLER     00000"));
}

void TestSerialDialog::showingNamesTheLog() {
    TForm2& dialog = fixture->dialog();
    const QString date = dialog.Label1->text();
    dialog.show();
    const QString log = QStringLiteral("Протокол: ") + QDir::toNativeSeparators(fixture->logPath());
    QCOMPARE(dialog.LogLabel->toolTip(), log);
    QCOMPARE(dialog.LogLabel->accessibleName(), log);
    // Shown whole where it fits, else shortened in the middle.
    const QString shown = dialog.LogLabel->text();
    QVERIFY2(shown == log || (shown.startsWith("Протокол: ") && shown.contains(u'…') &&
                              shown.endsWith("Protocol.lst")),
             qPrintable(shown));
    QCOMPARE(dialog.Label1->text(), date);
    QCOMPARE(dialog.size(), QSize(347, 91));
    dialog.hide();
}

int RunSerialDialogTests(int argc, char** argv) {
    TestSerialDialog test;
    return QTest::qExec(&test, argc, argv);
}

#include "TestSerialDialog.moc"
