#include "ReferenceFile.h"

#include "SettingsFile.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

#include <stdexcept>

ReferenceFile ReferenceFile::Load(const QString& path) {
    ReferenceFile reference;
    qint64 length = 0;
    const QByteArray bytes = SettingsFile::ReadForLoad(path, &length);
    reference.findings = SettingsCheck::Examine(bytes, length);
    if (reference.findings.foreign)
        throw std::runtime_error(SettingsCheck::ForeignFileText().toStdString());
    reference.path = path;
    reference.name = QFileInfo(path).fileName();
    reference.words = SettingsRecords::Parse(bytes);
    reference.sha256 = Sha256Of(path);
    return reference;
}

QString ReferenceFile::Sha256Of(const QString& path) {
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
        return {};
    return QString::fromLatin1(hash.result().toHex());
}

bool ReferenceFile::Unchanged() const {
    const QString now = Sha256Of(path);
    return !now.isEmpty() && now == sha256;
}
