#include "LineSetup.h"

#include <QDir>
#include <QSysInfo>

namespace {
const QString Group = QStringLiteral("line");
}

QString LineSetup::PcName() const {
    return pcName.trimmed().isEmpty() ? QSysInfo::machineHostName() : pcName.trimmed();
}

LineStoreUse LineSetup::StoreUse(const QString& dataFolder) const {
    LineStoreUse use;
    const QDir data(dataFolder);
    use.place =
        sharedStore ? shared : StorePlace::Embedded(data.filePath(QStringLiteral("line.sqlite")));
    use.spoolPath = data.filePath(QStringLiteral("line/spool.sqlite"));
    use.pc = PcName();
    return use;
}

LineSetup LineSetup::Load(QSettings& settings, const QString& labelFolder) {
    LineSetup setup;
    settings.beginGroup(Group);
    setup.referencePath = settings.value(QStringLiteral("reference")).toString();
    setup.devices = settings.value(QStringLiteral("devices")).toStringList().mid(0, MaxStations);
    setup.operatorName = settings.value(QStringLiteral("operator")).toString();
    setup.numberNew = settings.value(QStringLiteral("numberNew"), true).toBool();
    const int count = settings.beginReadArray(QStringLiteral("limits"));
    for (int i = 0; i < count; ++i) {
        settings.setArrayIndex(i);
        const uint address = settings.value(QStringLiteral("address")).toUInt();
        if (address > 0xFF)
            continue;
        setup.limits.push_back({static_cast<uint8_t>(address),
                                settings.value(QStringLiteral("low")).toDouble(),
                                settings.value(QStringLiteral("high")).toDouble()});
    }
    settings.endArray();
    settings.beginGroup(QStringLiteral("store"));
    setup.sharedStore = settings.value(QStringLiteral("shared"), false).toBool();
    setup.shared.host = settings.value(QStringLiteral("host")).toString();
    setup.shared.port = settings.value(QStringLiteral("port"), 5432).toInt();
    setup.shared.database = settings.value(QStringLiteral("database")).toString();
    setup.shared.user = settings.value(QStringLiteral("user")).toString();
    setup.shared.service = settings.value(QStringLiteral("service")).toString();
    setup.pcName = settings.value(QStringLiteral("pc")).toString();
    settings.endGroup();
    setup.byShift = settings.value(QStringLiteral("shift/on"), false).toBool();
    setup.shiftFrom = QTime::fromString(
        settings.value(QStringLiteral("shift/from"), QStringLiteral("08:00")).toString(),
        QStringLiteral("HH:mm"));
    setup.shiftTo = QTime::fromString(
        settings.value(QStringLiteral("shift/to"), QStringLiteral("20:00")).toString(),
        QStringLiteral("HH:mm"));
    if (!setup.shiftFrom.isValid())
        setup.shiftFrom = QTime(8, 0);
    if (!setup.shiftTo.isValid())
        setup.shiftTo = QTime(20, 0);
    setup.labels = LabelOptions::Load(settings, labelFolder);
    settings.endGroup();
    return setup;
}

void LineSetup::Save(QSettings& settings) const {
    settings.beginGroup(Group);
    settings.setValue(QStringLiteral("reference"), referencePath);
    settings.setValue(QStringLiteral("devices"), devices);
    settings.setValue(QStringLiteral("operator"), operatorName);
    settings.setValue(QStringLiteral("numberNew"), numberNew);
    settings.beginWriteArray(QStringLiteral("limits"), static_cast<int>(limits.size()));
    for (int i = 0; i < static_cast<int>(limits.size()); ++i) {
        settings.setArrayIndex(i);
        const LiveLimit& limit = limits[static_cast<size_t>(i)];
        settings.setValue(QStringLiteral("address"), limit.address);
        settings.setValue(QStringLiteral("low"), static_cast<double>(limit.low));
        settings.setValue(QStringLiteral("high"), static_cast<double>(limit.high));
    }
    settings.endArray();
    settings.beginGroup(QStringLiteral("store"));
    settings.setValue(QStringLiteral("shared"), sharedStore);
    settings.setValue(QStringLiteral("host"), shared.host);
    settings.setValue(QStringLiteral("port"), shared.port);
    settings.setValue(QStringLiteral("database"), shared.database);
    settings.setValue(QStringLiteral("user"), shared.user);
    settings.setValue(QStringLiteral("service"), shared.service);
    settings.setValue(QStringLiteral("pc"), pcName);
    settings.endGroup();
    settings.setValue(QStringLiteral("shift/on"), byShift);
    settings.setValue(QStringLiteral("shift/from"), shiftFrom.toString(QStringLiteral("HH:mm")));
    settings.setValue(QStringLiteral("shift/to"), shiftTo.toString(QStringLiteral("HH:mm")));
    labels.Save(settings);
    settings.endGroup();
}
