#include "Station.h"

#include "ControllerIdentity.h"
#include "ControllerLink.h"
#include "ControllerSession.h"
#include "IdentityWords.h"
#include "LabelPrint.h"
#include "Protocol.h"
#include "StationStore.h"
#include "UnitWork.h"

#include <QDateTime>
#include <QTimer>

namespace {
// A controller counts as unplugged when this many probes in a row get no answer: one lost
// reply on a busy line does not start the same unit again.
constexpr int UnplugProbes = 2;
} // namespace

Station::Station(int number, QString device, std::shared_ptr<const LineJob> job, LineReport& report)
    : number_(number), device_(std::move(device)), job_(std::move(job)), report_(report) {
    view_.station = number_;
    view_.device = device_;
}

Station::~Station() = default;

void Station::RequestStop() {
    stop_ = true;
    QMetaObject::invokeMethod(
        this, [this] { End(); }, Qt::QueuedConnection);
}

void Station::RequestAbort() {
    abort_ = true;
    RequestStop();
}

void Station::Begin(ControllerLink& link) {
    if (ended_)
        return;
    link_ = &link;
    if (job_->store) {
        store_ = std::make_unique<StationStore>(*job_->store);
        store_->SendWaiting(); // what an earlier run left for the shared store
    }
    timer_ = new QTimer(this);
    timer_->setSingleShot(true);
    connect(timer_, &QTimer::timeout, this, [this] { Probe(); });
    Probe();
}

void Station::Publish(StationPhase phase, const QString& step) {
    view_.phase = phase;
    view_.step = step;
    emit changed(view_);
}

void Station::ProbeLater(int ms) {
    if (!ended_)
        timer_->start(ms);
}

bool Station::OpenPort() {
    if (link_->Lost())
        return link_->ReopenLost();
    if (!link_->Open(device_, BaudRate))
        return false;
    link_->SetDtrLine();
    link_->ClearRtsLine();
    return true;
}

void Station::Probe() {
    if (stop_)
        return End();
    if (!link_->Opened() && !OpenPort()) {
        // A port that went away took its controller with it.
        awaitingUnplug_ = false;
        if (view_.phase != StationPhase::NoPort)
            Publish(StationPhase::NoPort);
        return ProbeLater();
    }
    if (view_.phase == StationPhase::Idle || view_.phase == StationPhase::NoPort)
        Publish(StationPhase::Waiting);
    const bool answered = link_->SendCommand(CmdReadParam, IdentityWords::Address, 0);
    if (!answered) {
        ++silentProbes_;
        // The last unit's result stays on show until the next unit starts: a unit cut off
        // by its pull is gone at once, and its "БРАК" must not go with it.
        if (awaitingUnplug_ && (silentProbes_ >= UnplugProbes || link_->Lost()))
            awaitingUnplug_ = false;
        return ProbeLater(silentProbes_ < UnplugProbes && awaitingUnplug_ ? 0 : ProbeIntervalMs);
    }
    silentProbes_ = 0;
    const uint16_t identity = link_->ReplyValue();
    if (awaitingUnplug_ && !AnotherUnit())
        return ProbeLater();
    awaitingUnplug_ = false;
    WorkUnit(identity);
}

bool Station::AnotherUnit() {
    const ControllerIdentity::Exchange exchange = [this](uint8_t c, uint8_t a, uint16_t v,
                                                         uint16_t& reply) {
        const bool valid = link_->SendCommand(c, a, v);
        reply = link_->ReplyValue();
        return valid;
    };
    const ControllerIdentity::Text digits = ControllerIdentity::ReadCharacters(
        exchange, IdentityWords::FirstSequenceAddress, IdentityWords::SequenceLength);
    if (!digits.complete)
        return false;
    // A unit that ended before its number was read is known from its first probe on.
    if (heldSequence_.isEmpty()) {
        heldSequence_ = digits.bytes;
        return false;
    }
    return digits.bytes != heldSequence_;
}

void Station::WorkUnit(uint16_t identity) {
    if (!job_->reference.Unchanged()) {
        emit halted(QStringLiteral("Файл установок «%1» изменился или недоступен. Линия "
                                   "остановлена: выберите файл заново.")
                        .arg(job_->reference.name));
        return End();
    }
    view_.serial.clear();
    view_.reason.clear();
    view_.rework = false;
    view_.label = {};
    view_.awaitingScan = false;
    Publish(StationPhase::Working, QStringLiteral("Прибор найден"));
    UnitRecord record;
    {
        // The unit's own session: its journal is on the disk before its row is filed.
        ControllerSession session(*link_);
        UnitWork work(session, *job_, abort_, store_.get(), &stop_);
        record = work.Run(identity, [this, &work](const QString& step, const QString& serial) {
            view_.serial = serial;
            view_.rework = work.Attempt() > 1;
            Publish(StationPhase::Working, step);
        });
        heldSequence_ = work.HeldSequence();
    }
    record.time = QDateTime::currentDateTime();
    record.station = number_;
    // A number given to a unit that does not hold it whole is the one it is known by now.
    view_.serial = record.givenSerial.isEmpty() ? record.serial : record.givenSerial;
    view_.reason = record.reason;
    PrintLabel(record);
    view_.label = record.label;
    if (store_) {
        try {
            store_->Keep(record);
        } catch (const StoreError& e) {
            emit halted(QStringLiteral("Прибор %1 не записан в базу линии: %2 Линия остановлена.")
                            .arg(view_.serial.trimmed(), e.text()));
        }
    }
    if (!report_.Append(record))
        emit halted(QStringLiteral("Не удалось записать отчёт %1. Линия остановлена.")
                        .arg(report_.PathFor(record.time.date())));
    view_.awaitingScan = job_->labels.scanBack && record.label.printing == LabelPrinting::Printed;
    emit unitFinished(record);
    Publish(record.good ? StationPhase::Good : StationPhase::Bad);
    awaitingUnplug_ = true;
    silentProbes_ = 0;
    if (view_.awaitingScan) {
        last_ = record;
        return; // the scan's verdict goes on
    }
    ProbeLater();
}

void Station::PrintLabel(UnitRecord& record) const {
    if (!record.good || !job_->labels.print)
        return;
    const LabelPrintResult printed =
        LabelPrint::Print(job_->labels.target, job_->labels.layout, LabelContentOf(record));
    record.label.printing = printed.printed ? LabelPrinting::Printed : LabelPrinting::NotPrinted;
}

void Station::LabelChecked(LabelCheck check) {
    if (ended_ || !view_.awaitingScan)
        return;
    last_.label.check = check;
    view_.label = last_.label;
    view_.awaitingScan = false;
    if (store_) {
        try {
            store_->Keep(last_);
        } catch (const StoreError& e) {
            emit halted(QStringLiteral("Этикетка прибора %1 не записана в базу линии: %2 Линия "
                                       "остановлена.")
                            .arg(view_.serial.trimmed(), e.text()));
        }
    }
    if (!report_.UpdateLabel(last_))
        emit halted(QStringLiteral("Не удалось записать отчёт %1. Линия остановлена.")
                        .arg(report_.PathFor(last_.time.date())));
    emit labelChecked(last_);
    Publish(StationPhase::Good);
    ProbeLater();
}

void Station::Finish() {
    End();
}

void Station::End() {
    if (ended_)
        return;
    ended_ = true;
    if (timer_)
        timer_->stop();
    if (link_)
        link_->Close();
    store_.reset();
    Publish(StationPhase::Stopped, view_.step);
    emit finished();
}
