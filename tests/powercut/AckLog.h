#pragma once
// What a worker has been told is done, one line per finished operation, written straight to
// the file (no buffer a kill could lose) after the operation returned.

#include <QByteArray>
#include <QString>

class AckLog {
public:
    explicit AckLog(const QString& path);
    ~AckLog();
    AckLog(const AckLog&) = delete;
    AckLog& operator=(const AckLog&) = delete;

    void add(const QByteArray& line);

    // The last whole line of the file, empty when there is none.
    static QByteArray LastOf(const QString& path);

private:
    int fd_ = -1;
};
