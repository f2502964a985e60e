#pragma once
// Which processes hold a device open, from their open files in /proc; the devices are only
// looked at, never opened (opening a serial device can drop its modem lines).

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

namespace PortUsers {

struct Holder {
    QString program; // its command name, "minicom"
    qint64 pid = 0;

    // "minicom (1234)", or "процесс 1234" when its name cannot be seen.
    QString Text() const;
};

struct Holders {
    QSet<QString> ours;            // devices this process holds
    QHash<QString, Holder> others; // devices another process holds, by one of its holders
};

// The holders of the given devices; processes this user may not look into do not count.
Holders Find(const QStringList& devices);

} // namespace PortUsers
