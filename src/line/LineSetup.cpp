#include "LineSetup.h"

namespace {
const QString Group = QStringLiteral("line");
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
    labels.Save(settings);
    settings.endGroup();
}
