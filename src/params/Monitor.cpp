#include "Monitor.h"

#include "Addresses.h"
#include "Form1.h"
#include "FormatMask.h"
#include "Protocol.h"
#include "Scaling.h"
#include "Selectors.h"
#include "TSpinExtEdit.h"

#include <QLabel>
#include <QProgressBar>
#include <QTimer>

#include <algorithm>

namespace {

const QString PressureMask = QStringLiteral("###0.0");
const QString PressureUnit = QStringLiteral(" КПа");
const QString FactorMask = QStringLiteral("###0.00");

long double ReadLive(uint8_t address) {
    SendCommand(CmdReadLive, address, 0);
    return ReplyAsNumber();
}

} // namespace

void SetGauge(QProgressBar* gauge, long double value) {
    const long long rounded = RoundHalfEven(value);
    gauge->setValue(
        static_cast<int>(std::clamp<long long>(rounded, gauge->minimum(), gauge->maximum())));
}

void StartMonitor() {
    Form1->Panel3->show();
    if (!Form1->Timer2->isActive())
        Form1->Timer2->start();
    // Only a real answer may choose the option: selecting a button writes it back.
    if (SendCommand(CmdReadParam, Param::GasSensor, 0))
        SelectGasSensor(ReplyValue() != 0);
}

void Timer2Timer() {
    const long double gas = ReadLive(Live::GasPressure) / 10;
    SetGauge(Form1->Gauge1, gas);
    Form1->Label18->setText(FormatMask::Format(PressureMask, gas) + PressureUnit);

    const long double manifold = ReadLive(Live::ManifoldPressure) / 10;
    SetGauge(Form1->Gauge2, manifold);
    Form1->Label12->setText(FormatMask::Format(PressureMask, manifold) + PressureUnit);

    const long double response = ReadLive(Live::AccelResponse) / 1024;
    SetGauge(Form1->Gauge3, response * 10);
    Form1->Label17->setText(QStringLiteral("C = ") + FormatMask::Format(FactorMask, response));

    if (!Form1->SpinExtEdit6->hasFocus())
        Form1->SpinExtEdit6->Init();

    const long double idle = ReadLive(Live::IdleTime) / 1000;
    Form1->Label6->setText(QStringLiteral("T = ") + FormatMask::Format(FactorMask, idle));

    SetGauge(Form1->Gauge4, Form1->SpinExtEdit40->Value() * 10);

    if (!Form1->SpinExtEdit40->hasFocus())
        Form1->SpinExtEdit40->Init();
}

void InstallMonitor(TForm1& form) {
    QObject::connect(form.Timer2, &QTimer::timeout, form.Timer2, &Timer2Timer);
}
