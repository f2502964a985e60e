#pragma once
// Small helpers for tests over real files.

#include <QByteArray>
#include <QString>
#include <QStringList>

QByteArray ReadBytes(const QString& path);
void WriteBytes(const QString& path, const QByteArray& bytes);
// Every entry of a directory, hidden ones included, sorted.
QStringList EntriesOf(const QString& directory);
QByteArray Hex(const char* hexText);

// Makes the file read-only while this lives, for root too: the thread gives up its capability
// to override file permissions meanwhile.
struct ReadOnlyFile {
    explicit ReadOnlyFile(const QString& file);
    ~ReadOnlyFile();
    QString path;
};
