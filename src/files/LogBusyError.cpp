#include "LogBusyError.h"

#include <QDir>

namespace {

QString TextOf(const QString& logPath, const QString& holder) {
    const QString who = holder.isEmpty() ? QStringLiteral("другой станцией")
                                         : QStringLiteral("станцией %1").arg(holder);
    return QStringLiteral("Протокол %1 занят %2. Номер не присвоен, ничего не записано.")
        .arg(QDir::toNativeSeparators(logPath), who);
}

} // namespace

ELogBusy::ELogBusy(const QString& logPath, const QString& holder)
    : std::runtime_error(TextOf(logPath, holder).toStdString()) {}
