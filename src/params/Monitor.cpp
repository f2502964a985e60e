#include "Monitor.h"

#include "Addresses.h"
#include "FormatMask.h"
#include "LivePoller.h"
#include "LiveSample.h"
#include "Protocol.h"
#include "Scaling.h"
#include "Selectors.h"
#include "TSpinExtEdit.h"
#include "WindowControls.h"
#include "WriteBackRead.h"

#include <QLabel>
#include <QProgressBar>
#include <QTimer>

#include <algorithm>
#include <optional>

namespace {

const QString PressureMask = QStringLiteral("###0.0");
const QString PressureUnit = QStringLiteral(" КПа");
const QString FactorMask = QStringLiteral("###0.00");

// The word, or nothing when the exchange failed; kept in the tick's sample either way, when
// anyone listens to samples.
std::optional<long double> ReadLive(uint8_t address, std::optional<LiveSample>& sample) {
    const std::optional<uint16_t> word = Controls().Poller->Read(address);
    if (sample)
        for (const Catalogue::Entry* entry : Catalogue::LiveValues())
            if (entry->address == address)
                sample->values.push_back(LiveValueFrom(*entry, word));
    if (!word)
        return std::nullopt;
    return static_cast<long double>(*word);
}

} // namespace

void SetGauge(QProgressBar* gauge, long double value) {
    const long long rounded = RoundHalfEven(value);
    gauge->setValue(
        static_cast<int>(std::clamp<long long>(rounded, gauge->minimum(), gauge->maximum())));
}

void StartMonitor() {
    Controls().Panel3->show();
    if (!Controls().Timer2->isActive())
        Controls().Timer2->start();
    if (const auto word = ReadForWriteBack(Param::GasSensor))
        SelectGasSensor(*word != 0);
}

// A value whose read failed keeps its gauge and text as they were.
void Timer2Timer() {
    WindowControls& c = Controls();
    std::optional<LiveSample> sample;
    if (c.Poller->Samples().Listening())
        sample = LiveSample{std::chrono::steady_clock::now(), QDateTime::currentDateTime(), {}, {}};
    if (const auto word = ReadLive(Live::GasPressure, sample)) {
        const long double gas = *word / 10;
        SetGauge(c.Gauge1, gas);
        c.Label18->setText(FormatMask::Format(PressureMask, gas) + PressureUnit);
    }
    if (const auto word = ReadLive(Live::ManifoldPressure, sample)) {
        const long double manifold = *word / 10;
        SetGauge(c.Gauge2, manifold);
        c.Label12->setText(FormatMask::Format(PressureMask, manifold) + PressureUnit);
    }
    if (const auto word = ReadLive(Live::AccelResponse, sample)) {
        const long double response = *word / 1024;
        SetGauge(c.Gauge3, response * 10);
        c.Label17->setText(QStringLiteral("C = ") + FormatMask::Format(FactorMask, response));
    }

    if (!c.SpinExtEdit6->hasFocus())
        c.SpinExtEdit6->Init();

    if (const auto word = ReadLive(Live::IdleTime, sample)) {
        const long double idle = *word / 1000;
        c.Label6->setText(QStringLiteral("T = ") + FormatMask::Format(FactorMask, idle));
    }

    SetGauge(c.Gauge4, c.SpinExtEdit40->Value() * 10);

    if (!c.SpinExtEdit40->hasFocus())
        c.SpinExtEdit40->Init();

    if (sample)
        c.Poller->Samples().Publish(*sample);
}

void InstallMonitor(const WindowControls& form) {
    QObject::connect(form.Timer2, &QTimer::timeout, form.Timer2, &Timer2Timer);
}
