#include "PostgresCluster.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <unistd.h>

namespace {

constexpr int Port = 5432;
constexpr int CommandMs = 60'000;
const QString Administrator = QStringLiteral("q5admin");
constexpr const char* PassFileVariable = "PGPASSFILE";
// The user PostgreSQL runs as when the tests run as root: it refuses to run as root itself.
constexpr uid_t Unprivileged = 65534;

QString ServerBin() {
    for (const char* version : {"15", "16", "17"}) {
        const QString bin = QStringLiteral("/usr/lib/postgresql/%1/bin").arg(version);
        if (QFile::exists(bin + QStringLiteral("/initdb")))
            return bin;
    }
    return {};
}

bool WriteFile(const QString& path, const QByteArray& bytes, QFile::OpenMode mode) {
    QFile file(path);
    return file.open(mode) && file.write(bytes) == bytes.size();
}

} // namespace

PostgresCluster::PostgresCluster()
    : bin_(ServerBin()), oldPassFile_(qgetenv(PassFileVariable)),
      hadPassFile_(qEnvironmentVariableIsSet(PassFileVariable)) {
    if (!dir_.isValid())
        failure_ = QStringLiteral("no temporary folder");
    else if (bin_.isEmpty())
        failure_ = QStringLiteral("PostgreSQL's server is not installed (Debian: postgresql)");
    else if (!Make())
        Kill();
}

PostgresCluster::~PostgresCluster() {
    if (running_)
        Kill();
    if (hadPassFile_)
        qputenv(PassFileVariable, oldPassFile_);
    else
        qunsetenv(PassFileVariable);
    // The server's files belong to the unprivileged user; the folder is removed as root.
}

bool PostgresCluster::Run(const QString& program, const QStringList& arguments, QString* output,
                          bool asServer) const {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    if (asServer && geteuid() == 0) {
        process.setProgram(QStringLiteral("setpriv"));
        process.setArguments(QStringList{QStringLiteral("--reuid=%1").arg(Unprivileged),
                                         QStringLiteral("--regid=%1").arg(Unprivileged),
                                         QStringLiteral("--clear-groups"), bin_ + u'/' + program} +
                             arguments);
    } else {
        process.setProgram(bin_ + u'/' + program);
        process.setArguments(arguments);
    }
    process.setWorkingDirectory(dir_.path());
    process.start();
    const bool done = process.waitForFinished(CommandMs);
    const QString said = QString::fromUtf8(process.readAll());
    if (output)
        *output = said;
    if (done && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0)
        return true;
    if (output == nullptr)
        const_cast<PostgresCluster*>(this)->failure_ =
            QStringLiteral("%1 failed: %2").arg(program, said.trimmed());
    return false;
}

bool PostgresCluster::Make() {
    const QString data = dir_.filePath(QStringLiteral("data"));
    if (geteuid() == 0 &&
        chown(QFile::encodeName(dir_.path()).constData(), Unprivileged, Unprivileged) != 0) {
        failure_ = QStringLiteral("cannot hand the folder to the server's user");
        return false;
    }
    if (!Run(QStringLiteral("initdb"),
             {QStringLiteral("-D"), data, QStringLiteral("-U"), Administrator,
              QStringLiteral("--auth-local=trust"), QStringLiteral("-E"), QStringLiteral("UTF8"),
              QStringLiteral("--no-sync")}))
        return false;
    const QByteArray settings = QStringLiteral("\nlisten_addresses = ''\n"
                                               "unix_socket_directories = '%1'\n"
                                               "port = %2\n"
                                               "max_connections = 60\n"
                                               "fsync = off\n")
                                    .arg(dir_.path())
                                    .arg(Port)
                                    .toUtf8();
    // The administrator comes in on trust; everyone else with a password.
    const QByteArray access = QStringLiteral("local all %1 trust\n"
                                             "local all all scram-sha-256\n")
                                  .arg(Administrator)
                                  .toUtf8();
    if (!WriteFile(data + QStringLiteral("/postgresql.conf"), settings, QIODevice::Append) ||
        !WriteFile(data + QStringLiteral("/pg_hba.conf"), access,
                   QIODevice::WriteOnly | QIODevice::Truncate)) {
        failure_ = QStringLiteral("cannot write the cluster's settings");
        return false;
    }
    if (!Start())
        return false;
    const QString user = QString::fromLatin1(User);
    if (Admin(QStringLiteral("CREATE ROLE %1 LOGIN PASSWORD '%2'")
                  .arg(user, QString::fromUtf8(Password)))
            .isNull() ||
        Admin(QStringLiteral("CREATE DATABASE %1 OWNER %2").arg(QLatin1String(Database), user))
            .isNull())
        return false;
    // libpq insists on a password file only its owner may read.
    const QString passFile = dir_.filePath(QStringLiteral("pgpass"));
    if (!WriteFile(passFile,
                   QStringLiteral("*:*:%1:%2:%3\n")
                       .arg(QLatin1String(Database), user, QString::fromUtf8(Password))
                       .toUtf8(),
                   QIODevice::WriteOnly) ||
        !QFile::setPermissions(passFile, QFile::ReadOwner | QFile::WriteOwner)) {
        failure_ = QStringLiteral("cannot write the password file");
        return false;
    }
    qputenv(PassFileVariable, QFile::encodeName(passFile));
    return true;
}

bool PostgresCluster::Start() {
    running_ =
        Run(QStringLiteral("pg_ctl"),
            {QStringLiteral("start"), QStringLiteral("-w"), QStringLiteral("-t"),
             QStringLiteral("60"), QStringLiteral("-D"), dir_.filePath(QStringLiteral("data")),
             QStringLiteral("-l"), dir_.filePath(QStringLiteral("server.log"))});
    return running_;
}

bool PostgresCluster::Kill() {
    running_ = false;
    return Run(QStringLiteral("pg_ctl"),
               {QStringLiteral("stop"), QStringLiteral("-m"), QStringLiteral("immediate"),
                QStringLiteral("-w"), QStringLiteral("-D"), dir_.filePath(QStringLiteral("data"))});
}

QByteArray PostgresCluster::Admin(const QString& sql) const {
    QString output;
    if (!Run(QStringLiteral("psql"),
             {QStringLiteral("-X"), QStringLiteral("-q"), QStringLiteral("-t"),
              QStringLiteral("-A"), QStringLiteral("-v"), QStringLiteral("ON_ERROR_STOP=1"),
              QStringLiteral("-h"), dir_.path(), QStringLiteral("-p"), QString::number(Port),
              QStringLiteral("-U"), Administrator, QStringLiteral("-d"), QStringLiteral("postgres"),
              QStringLiteral("-c"), sql},
             &output, false)) {
        const_cast<PostgresCluster*>(this)->failure_ =
            QStringLiteral("psql failed: %1").arg(output.trimmed());
        return {};
    }
    return output.toUtf8().isNull() ? QByteArray("") : output.toUtf8();
}

StorePlace PostgresCluster::Place() const {
    StorePlace place;
    place.kind = StorePlace::Kind::Shared;
    place.host = dir_.path();
    place.port = Port;
    place.database = QString::fromLatin1(Database);
    place.user = QString::fromLatin1(User);
    return place;
}
