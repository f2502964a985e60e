#pragma once
// A private PostgreSQL server for the tests: a cluster made by initdb in a temporary folder,
// listening only on a Unix socket in that folder, run as an unprivileged user when the tests
// run as root, with one database and its user, who logs in with a password libpq finds in a
// password file of the fixture's own (PGPASSFILE). Stopped when the fixture goes, whatever the
// test's outcome.
//
//     PostgresCluster server;
//     QVERIFY2(server.Ok(), qPrintable(server.Failure()));
//     StoreDatabase store(server.Place(), {&LineSchema()});

#include "StoreDatabase.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

class PostgresCluster {
public:
    static constexpr char Database[] = "q5line";
    static constexpr char User[] = "q5line";
    static constexpr char Password[] = "q5-line-secret";

    PostgresCluster();
    ~PostgresCluster();
    PostgresCluster(const PostgresCluster&) = delete;
    PostgresCluster& operator=(const PostgresCluster&) = delete;

    bool Ok() const { return failure_.isEmpty(); }
    const QString& Failure() const { return failure_; }

    // Where the store's user reaches the database.
    StorePlace Place() const;
    QString SocketFolder() const { return dir_.path(); }

    // Ends the server at once, as a crash would (its clients lose their connections), and
    // starts it again on the same cluster.
    bool Kill();
    bool Start();
    // Runs one statement as the cluster's administrator; its output, or a null array.
    QByteArray Admin(const QString& sql) const;

private:
    bool Run(const QString& program, const QStringList& arguments, QString* output = nullptr,
             bool asServer = true) const;
    bool Make();

    QTemporaryDir dir_;
    QString bin_;
    QString failure_;
    bool running_ = false;
    QByteArray oldPassFile_;
    bool hadPassFile_ = false;
};
