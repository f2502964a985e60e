// The connection's numbering on a PC whose line numbers from a shared store: the number is the
// store's, the log records it, and a store out of reach gives none and writes nothing.

#include "DeviceIdentity.h"
#include "FileHelpers.h"
#include "LineSchema.h"
#include "LineSetup.h"
#include "LineStore.h"
#include "PostgresCluster.h"
#include "ProtocolRecord.h"
#include "ToolData.h"
#include "WindowFixture.h"

#include <QtTest>

#include <memory>

class TestSharedNumbering : public QObject {
    Q_OBJECT

    std::unique_ptr<PostgresCluster> server_;
    std::unique_ptr<WindowFixture> fixture_;
    const QByteArray head_ = QByteArray(19, 'T');

private slots:
    void initTestCase() {
        server_ = std::make_unique<PostgresCluster>();
        QVERIFY2(server_->Ok(), qPrintable(server_->Failure()));
        // Another PC's line has numbered up to 00500 already.
        StoreDatabase db(server_->Place(), {&LineSchema()});
        LineStore(db).Take(QString::fromLatin1(head_), 500, {});
    }

    void init() {
        LineSetup setup;
        setup.sharedStore = true;
        setup.shared = server_->Place();
        setup.Save(*ToolData::Preferences());
        fixture_ = std::make_unique<WindowFixture>();
        fixture_->setText(25, "15.03.02");
        fixture_->answerQuestions(true);
        fixture_->setText(1, head_ + "00000");
    }

    // The other tests number from the log alone.
    void cleanup() {
        fixture_.reset();
        LineSetup().Save(*ToolData::Preferences());
    }

    void cleanupTestCase() { server_.reset(); }

    void theNumberIsTheStores() {
        ReadDeviceIdentity();
        QCOMPARE(fixture_->text(1, 24), head_ + "00501");
        const QByteArray log = ReadBytes(fixture_->logPath());
        QCOMPARE(ProtocolRecord::FromBytes(log.right(ProtocolRecord::Size)).serial(),
                 head_ + "00501");
        StoreDatabase db(server_->Place(), {&LineSchema()});
        QCOMPARE(LineStore(db).StateOf(QString::fromLatin1(head_ + "00501")), NumberState::Written);
    }

    void aStoreOutOfReachGivesNone() {
        QVERIFY(server_->Kill());
        const QString error = ErrorOf(&ReadDeviceIdentity);
        QVERIFY(server_->Start());
        QVERIFY2(error.startsWith(QStringLiteral("Номер не выдан: база линии недоступна")),
                 qPrintable(error));
        QCOMPARE(fixture_->text(1, 24), head_ + "00000");
        // The log begun for it holds its header alone.
        QCOMPARE(QFileInfo(fixture_->logPath()).size(), qint64(ProtocolRecord::Size));
    }
};

int RunSharedNumberingTests(int argc, char** argv) {
    TestSharedNumbering test;
    return QTest::qExec(&test, argc, argv);
}

#include "TestSharedNumbering.moc"
