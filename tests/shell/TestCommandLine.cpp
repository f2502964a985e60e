// What --help and the man page tell of the window: every command of the menu "Сервис".
#include "CommandLine.h"
#include "Form1.h"
#include "ServiceMenu.h"
#include "Startup.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QTest>

class TestCommandLine : public QObject {
    Q_OBJECT

private slots:
    void serviceCommandsNamed() {
        QFile page(QStringLiteral(Q5_MAN_PAGE));
        QVERIFY(page.open(QIODevice::ReadOnly));
        const QString man = QString::fromUtf8(page.readAll());
        const QString help = QString::fromStdString(CommandLine::HelpText());

        TForm1 form;
        Form1 = &form;
        InstallBehaviour(form);
        QStringList unnamed;
        for (const QAction* action : ServiceMenuOf(form)->actions()) {
            // "Отменить: <what>" names the change it takes back.
            const QString command = action->text().section(u':', 0, 0);
            if (!action->isSeparator() && (!help.contains(command) || !man.contains(command)))
                unnamed << command;
        }
        Form1 = nullptr;
        QCOMPARE(unnamed, QStringList());
    }
};

int RunCommandLineTests(int argc, char** argv) {
    TestCommandLine test;
    return QTest::qExec(&test, argc, argv);
}

#include "TestCommandLine.moc"
