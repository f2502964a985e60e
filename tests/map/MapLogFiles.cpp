#include "MapLogFiles.h"

#include "Addresses.h"
#include "CsvLine.h"
#include "LogFormat.h"
#include "MapNames.h"

#include <QFile>
#include <QRandomGenerator>

namespace {

QString Header(uint8_t address) {
    return LogFormat::HeaderOf(MapNames::Live(address));
}

} // namespace

void WriteDriveLog(const QString& path, const std::vector<DriveRow>& rows, bool withTrim,
                   const std::vector<double>& writes) {
    QStringList head{LogFormat::SecondsHeader, Header(Live::EngineSpeed),
                     Header(Live::BaseInjection), Header(Live::EngineTemperature),
                     Header(Live::ThrottleVoltage)};
    if (withTrim)
        head << LogFormat::TrimName + QStringLiteral(", %") << LogFormat::TrimSourceName;
    head << LogFormat::EventHeader;
    QByteArray bytes = QByteArray(LogFormat::ByteOrderMark) + CsvLine::Join(head).toUtf8() + '\n';
    size_t nextWrite = 0;
    for (const DriveRow& row : rows) {
        while (nextWrite < writes.size() && writes[nextWrite] <= row.seconds) {
            QStringList event(head.size() - 1, QString());
            event[0] = LogFormat::Seconds(writes[nextWrite++]);
            event << QStringLiteral("Обогащение при разгоне: 1200 → 1300");
            bytes += CsvLine::Join(event).toUtf8() + '\n';
        }
        auto cell = [&](double value, int decimals) {
            return row.lost ? QString() : LogFormat::Number(value, decimals);
        };
        QStringList line{LogFormat::Seconds(row.seconds), cell(row.speed, 0), cell(row.load, 3),
                         cell(row.temperature, 0), cell(row.throttle, 2)};
        if (withTrim)
            line << cell(row.trim, 1) << cell(row.source, 0);
        line << QString();
        bytes += CsvLine::Join(line).toUtf8() + '\n';
    }
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

double KnownTrim(double speed, double load) {
    if (speed >= 3000 && load >= 8)
        return 12;
    if (speed < 1500)
        return -5;
    return 0;
}

std::vector<DriveRow> KnownDrive(int perCell) {
    QRandomGenerator noise(33);
    std::vector<DriveRow> rows;
    double seconds = 0;
    for (int r = 0; r < 13; ++r)
        for (int c = 0; c < 20; ++c)
            for (int i = 0; i < perCell; ++i) {
                DriveRow row;
                row.seconds = seconds;
                seconds += 0.5;
                row.speed = 750 + 500 * r;
                row.load = 1.5 + c;
                row.trim = KnownTrim(row.speed, row.load) + noise.bounded(10) / 10.0 - 0.45;
                rows.push_back(row);
            }
    return rows;
}
