#include "MapScreen.h"

#include "Addresses.h"
#include "LiveMapWindow.h"
#include "MapSheet.h"
#include "MapWindow.h"
#include "SheetScreens.h"

#include <QCoreApplication>
#include <QPixmap>
#include <QRandomGenerator>

#include <cmath>
#include <cstdio>

namespace {

// The trim a drive finds: lean above 3000 об/мин and 8 ms by `lean` %, rich below 1500 by
// `rich` %, near zero elsewhere.
double Trim(double speed, double load, double lean, double rich) {
    if (speed >= 3000 && load >= 8)
        return lean;
    if (speed < 1500)
        return rich;
    return 0;
}

LiveSample At(double speed, double load, double trim) {
    LiveSample sample;
    for (const Catalogue::Entry* entry : Catalogue::LiveValues()) {
        uint16_t word = 0;
        switch (*entry->address) {
        case Live::EngineSpeed:
            word = uint16_t(speed);
            break;
        case Live::BaseInjection:
            word = uint16_t(load * 1000);
            break;
        case Live::EngineTemperature:
            word = 3550; // 82 °С
            break;
        case Live::ThrottleVoltage:
            word = 900;
            break;
        }
        sample.values.push_back(LiveValueFrom(*entry, word));
    }
    sample.trim = TrimReading{TrimSource::Sensor, (long double)trim};
    return sample;
}

// A drive over `steps` samples: the speed and load sweep up and back along a path, the load
// following the speed, with the sensor's noise.
void Drive(MapWindow& window, int steps, double lean, double rich, quint32 seed) {
    QRandomGenerator noise(seed);
    // Two samples a second, as the feed takes them for the map.
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < steps; ++i) {
        const double phase = double(i) / steps;
        const double speed =
            900 + 4800 * std::abs(std::sin(phase * 3.1 * M_PI)) + noise.bounded(300.0);
        const double load = 1.5 +
                            13 * std::abs(std::sin(phase * 4.3 * M_PI + 0.4)) * (speed / 5700) +
                            noise.bounded(2.0);
        const double trim = Trim(speed, load, lean, rich) + noise.bounded(3.0) - 1.5;
        LiveSample sample = At(speed, load, trim);
        sample.monotonic = start + std::chrono::milliseconds(500 * i);
        window.AddSample(sample);
    }
}

bool Save(QWidget& widget, const QDir& dir, const QString& name) {
    QCoreApplication::processEvents();
    const QString path = dir.filePath(name + QStringLiteral(".png"));
    const bool saved = widget.grab().save(path);
    std::printf("%s %s\n", saved ? "wrote" : "FAILED", qPrintable(path));
    return saved;
}

} // namespace

bool SaveMapWindows(const QDir& dir) {
    LiveMapWindow live;
    MapWindow& window = live.window;
    window.resize(1500, 820);
    window.show();
    Drive(window, 2400, 12, -5, 33);
    bool ok = Save(window, dir, QStringLiteral("map_live"));
    ok &= SavePage(Sheets::MapSheet(window.PaperSection(), QStringLiteral("08.12.2026 10:31")), dir,
                   QStringLiteral("sheet_map"));

    // After a change: the lean cells came down, the rich ones went a little further.
    window.KeepAsBefore();
    Drive(window, 2400, 3, -7, 34);
    window.resize(1500, 1000);
    ok &= Save(window, dir, QStringLiteral("map_before_after"));
    return ok;
}
