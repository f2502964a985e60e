#include "LineReport.h"

#include "CsvLine.h"
#include "DurableFolder.h"
#include "DurableWrite.h"
#include "InOutError.h"
#include "PosixFile.h"

#include <QDir>
#include <QFile>

namespace {

QString OneLine(QString text) {
    return text.replace(u'\r', u' ').replace(u'\n', u' ');
}

QByteArray RowOf(const UnitRecord& r) {
    return (CsvLine::Join({r.time.toString(Qt::ISODate), QString::number(r.station),
                           OneLine(r.operatorName), OneLine(r.serial), OneLine(r.date),
                           OneLine(r.referenceName), r.referenceSha256,
                           LineReport::ResultText(r.good), OneLine(r.reason), OneLine(r.differed),
                           QString::number(static_cast<double>(r.durationMs) / 1000.0, 'f', 1),
                           LabelOutcome::PrintingText(r.label.printing),
                           LabelOutcome::CheckText(r.label.check),
                           r.label.reprints > 0 ? QString::number(r.label.reprints) : QString()}) +
            u'\n')
        .toUtf8();
}

} // namespace

LineReport::LineReport(QString dataFolder) : folder_(std::move(dataFolder)) {}

QStringList LineReport::Columns() {
    return {QStringLiteral("Время"),
            QStringLiteral("Место"),
            QStringLiteral("Оператор"),
            QStringLiteral("Серийный номер"),
            QStringLiteral("Дата выпуска"),
            QStringLiteral("Файл установок"),
            QStringLiteral("SHA-256 файла"),
            QStringLiteral("Результат"),
            QStringLiteral("Причина"),
            QStringLiteral("Несовпавшие значения (записано, прочитано)"),
            QStringLiteral("Длительность, с"),
            QStringLiteral("Этикетка"),
            QStringLiteral("Проверка этикетки"),
            QStringLiteral("Перепечаток")};
}

QString LineReport::ResultText(bool good) {
    return good ? QStringLiteral("ГОДЕН") : QStringLiteral("БРАК");
}

QString LineReport::PathFor(const QDate& day) const {
    return QDir(folder_).filePath(QStringLiteral("line/") +
                                  day.toString(QStringLiteral("yyyy-MM-dd")) +
                                  QStringLiteral(".csv"));
}

bool LineReport::Append(const UnitRecord& record) {
    const std::lock_guard lock(turn_);
    const QString path = PathFor(record.time.date());
    const QString folder = QFileInfo(path).absolutePath();
    if (!DurableFolder::MakeSynced(folder))
        return false;
    const bool isNew = !QFile::exists(path); // its first row makes it
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Append | QIODevice::Unbuffered))
        return false;
    QByteArray bytes;
    const qint64 size = file.size();
    if (size == 0)
        bytes = CsvLine::ByteOrderMark + (CsvLine::Join(Columns()) + u'\n').toUtf8();
    else if (!file.seek(size - 1) || file.read(1) != "\n")
        bytes = "\n"; // a row cut short by a crash stays a line of its own
    bytes += RowOf(record);
    if (!file.seek(file.size()) || file.write(bytes) != bytes.size() ||
        !PosixFile::TrySync(file.handle()))
        return false;
    if (!isNew)
        return true;
    try {
        PosixFile::SyncDirectory(folder);
        return true;
    } catch (const EInOutError&) {
        return false;
    }
}

void LineReport::Export(const QString& path, const QList<UnitRecord>& records) {
    QByteArray bytes = CsvLine::ByteOrderMark + (CsvLine::Join(Columns()) + u'\n').toUtf8();
    for (const UnitRecord& record : records)
        bytes += RowOf(record);
    WriteFileDurably(path, bytes);
}

QList<QStringList> LineReport::Read(const QString& path) {
    QList<QStringList> rows;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return rows;
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (qsizetype i = 1; i < lines.size(); ++i)
        if (auto fields = CsvLine::Split(QString::fromUtf8(lines[i]));
            fields && fields->size() >= UnlabelledColumns && fields->size() <= Columns().size()) {
            while (fields->size() < Columns().size())
                fields->append(QString());
            rows.append(*fields);
        }
    return rows;
}

UnitRecord LineReport::RecordOf(const QStringList& row) {
    UnitRecord r;
    r.time = QDateTime::fromString(row.value(Time), Qt::ISODate);
    r.station = row.value(Station).toInt();
    r.operatorName = row.value(Operator);
    r.serial = row.value(Serial);
    r.date = row.value(Made);
    r.referenceName = row.value(Reference);
    r.referenceSha256 = row.value(Sha256);
    r.good = row.value(Result) == ResultText(true);
    r.reason = row.value(Reason);
    r.differed = row.value(Differed);
    r.durationMs = static_cast<qint64>(row.value(Duration).toDouble() * 1000.0);
    r.label = {LabelOutcome::PrintingOf(row.value(Label)),
               LabelOutcome::CheckOf(row.value(LabelChecked)), row.value(LabelReprints).toInt()};
    return r;
}

bool LineReport::UpdateLabel(const UnitRecord& record) {
    const std::lock_guard lock(turn_);
    const QString path = PathFor(record.time.date());
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QList<QByteArray> lines = file.readAll().split('\n');
    file.close();
    const QString time = record.time.toString(Qt::ISODate);
    const QString station = QString::number(record.station);
    bool found = false;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const auto fields = CsvLine::Split(QString::fromUtf8(lines[i]));
        if (!fields || fields->size() < UnlabelledColumns || fields->value(Time) != time ||
            fields->value(Station) != station)
            continue;
        lines[i] = RowOf(record);
        lines[i].chop(1); // its line end is the join's
        found = true;
    }
    if (!found)
        return false;
    // A report begun before labels were printed gets their columns' names.
    lines[0] = CsvLine::ByteOrderMark + CsvLine::Join(Columns()).toUtf8();
    try {
        WriteFileDurably(path, lines.join('\n'));
        return true;
    } catch (const EInOutError&) {
        return false;
    }
}
