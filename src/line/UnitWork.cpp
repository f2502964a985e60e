#include "UnitWork.h"

#include "Comparison.h"
#include "ControllerIdentity.h"
#include "ControllerLink.h"
#include "ControllerSession.h"
#include "Cp1251.h"
#include "IdentityText.h"
#include "IdentityWords.h"
#include "Protocol.h"
#include "StationStore.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QThread>
#include <QUuid>

#include <exception>

namespace {

// Ends the unit with its reason.
struct UnitEnded {
    QString reason;
};

// How long a numbering waits between tries of a shared store that cannot be reached.
constexpr int StoreRetryMs = 1000;

uint8_t ReferenceAddress(int index) {
    return static_cast<uint8_t>(SettingsRecords::FirstAddress + index);
}

} // namespace

UnitWork::UnitWork(ControllerSession& session, const LineJob& job, const std::atomic<bool>& abort,
                   StationStore* store, const std::atomic<bool>* stop)
    : session_(session), link_(session.Link()), job_(job), abort_(abort), store_(store),
      stop_(stop) {}

void UnitWork::JournalAs(const QString& serial) {
    if (journaled_)
        return;
    journaled_ = true;
    session_.Net().Connected(serial, job_.journalRoot);
}

bool UnitWork::TryExchange(uint8_t command, uint8_t address, uint16_t value, uint16_t& reply) {
    if (abort_)
        throw UnitEnded{UnitReason::Interrupted};
    const bool valid = link_.SendCommand(command, address, value);
    reply = link_.ReplyValue();
    return valid;
}

uint16_t UnitWork::Exchange(uint8_t command, uint8_t address, uint16_t value) {
    uint16_t reply = 0;
    if (!TryExchange(command, address, value, reply))
        throw UnitEnded{UnitReason::Interrupted + (link_.Lost()
                                                       ? QStringLiteral(": порт отключён")
                                                       : QStringLiteral(": прибор не отвечает"))};
    return reply;
}

void UnitWork::Identify(UnitRecord& record, const StepListener& step) {
    step(QStringLiteral("Чтение номера"), {});
    const ControllerIdentity::Exchange exchange = [this](uint8_t c, uint8_t a, uint16_t v,
                                                         uint16_t& reply) {
        return TryExchange(c, a, v, reply);
    };
    const ControllerIdentity::Text serial = ControllerIdentity::ReadSerial(exchange);
    const ControllerIdentity::Text date = ControllerIdentity::ReadDate(exchange);
    if (!serial.complete || !date.complete)
        throw UnitEnded{UnitReason::Interrupted + QStringLiteral(": номер не прочитан")};
    Hold(serial);
    record.serial = ControllerIdentity::Shown(serial.bytes);
    record.date = ControllerIdentity::Shown(date.bytes);
    if (!ControllerIdentity::NeedsNumber(serial, date)) {
        // A numbered unit is known by its serial number: plugged in again, it is tried again.
        if (store_) {
            attempt_ = store_->EarlierAttempts(record.serial) + 1;
            if (attempt_ > 1)
                step(QStringLiteral("Повторная проверка"), record.serial);
        }
        return;
    }
    const bool cutOff = IdentityText::StateOf(Cp1251::Decode(serial.bytes)) ==
                        IdentityText::SequenceState::Incomplete;
    if (!job_.numberNew) {
        if (cutOff)
            throw UnitEnded{UnitReason::Damaged + record.serial};
        return;
    }

    step(QStringLiteral("Нумерация"), record.serial);
    const ControllerIdentity::Numbering numbering =
        NumberUnit(record, step, exchange, serial, date);
    if (numbering.serial.complete)
        Hold(numbering.serial);
    if (!numbering.numbered) {
        const QString given = Cp1251::Decode(numbering.given.serial());
        record.givenSerial = given;
        throw UnitEnded{
            numbering.serial.complete && numbering.date.complete
                ? UnitReason::Damaged + ControllerIdentity::Shown(numbering.serial.bytes)
                : UnitReason::Interrupted +
                      QStringLiteral(": номер %1 выдан, но записан не полностью").arg(given)};
    }
    record.serial = ControllerIdentity::Shown(numbering.serial.bytes);
    record.date = ControllerIdentity::Shown(numbering.date.bytes).trimmed();
}

ControllerIdentity::Numbering UnitWork::NumberUnit(UnitRecord& record, const StepListener& step,
                                                   const ControllerIdentity::Exchange& exchange,
                                                   const ControllerIdentity::Text& serial,
                                                   const ControllerIdentity::Text& date) {
    ControllerIdentity::NumberRegister numbers;
    if (store_)
        numbers = store_->Register(record);
    // A numbering that "Прервать" cuts ends in a throw; its unit is still known by the number
    // it was given.
    numbers.settled = [&record, told = std::move(numbers.settled)](const QByteArray& serial,
                                                                   bool numbered) {
        if (!numbered)
            record.givenSerial = Cp1251::Decode(serial);
        if (told)
            told(serial, numbered);
    };
    for (;;) {
        try {
            // The line's log was begun, if at all, when the line was started: one that is
            // gone since is not begun again behind the operator's back.
            return ControllerIdentity::Number(exchange, job_.logPath, serial, date, job_.logWait,
                                              ProductionLog::NewLog::Refuse, &numbers);
        } catch (const StoreError& e) {
            if (e.kind() != StoreError::Kind::Unreachable || !store_->Shared())
                throw UnitEnded{QStringLiteral("номер не выдан: ") + e.text()};
        } catch (const std::exception& e) {
            throw UnitEnded{QStringLiteral("номер не выдан: ") + QString::fromUtf8(e.what())};
        }
        AwaitStore(step, record.serial);
    }
}

void UnitWork::AwaitStore(const StepListener& step, const QString& serial) {
    step(StoreText::Unreachable + QStringLiteral(", ожидание базы"), serial);
    const QDeadlineTimer retry(StoreRetryMs);
    while (!retry.hasExpired()) {
        if (abort_ || (stop_ && *stop_))
            throw UnitEnded{StoreText::Unreachable};
        QThread::msleep(50);
    }
    // A unit pulled meanwhile ends here; one reply lost on a busy line does not end it.
    uint16_t reply = 0;
    if (!TryExchange(CmdReadParam, IdentityWords::Address, 0, reply))
        Exchange(CmdReadParam, IdentityWords::Address, 0);
}

void UnitWork::Hold(const ControllerIdentity::Text& serial) {
    heldSequence_ = serial.bytes.mid(IdentityText::SequencePosition, IdentityText::SequenceLength);
}

void UnitWork::WriteReference() {
    for (int i = 0; i < SettingsRecords::Count; ++i)
        Exchange(CmdWriteParam, ReferenceAddress(i), job_.reference.words[static_cast<size_t>(i)]);
}

QStringList UnitWork::ReadBack(QString& differed) {
    QStringList unstored;
    SettingsRecords::Words read{};
    for (int i = 0; i < SettingsRecords::Count; ++i) {
        const uint8_t address = ReferenceAddress(i);
        read[static_cast<size_t>(i)] = Exchange(CmdReadParam, address, 0);
        if (read[static_cast<size_t>(i)] != job_.reference.words[static_cast<size_t>(i)])
            unstored << QString::number(address);
    }
    differed = DifferedText(job_.reference.words, read);
    return unstored;
}

QString DifferedText(const SettingsRecords::Words& written, const SettingsRecords::Words& read) {
    QStringList rows;
    for (const Comparison::Row& row : Comparison::Rows(written, read)) {
        QString text =
            QStringLiteral("%1: записано %2, прочитано %3").arg(row.name, row.shownA, row.shownB);
        // Words the window shows alike still differ: their numbers say how.
        if (row.shownA == row.shownB)
            text += QStringLiteral(" (слова %1)").arg(Comparison::RawText(row));
        rows << text;
    }
    return rows.join(QStringLiteral("; "));
}

QStringList UnitWork::CheckLimits() {
    QStringList failed;
    for (const LiveLimit& limit : job_.limits) {
        const QString failure = limit.Failure(Exchange(CmdReadLive, limit.address, 0));
        if (!failure.isEmpty())
            failed << failure;
    }
    return failed;
}

UnitRecord UnitWork::Run(uint16_t identity, const StepListener& step) {
    QElapsedTimer took;
    took.start();
    UnitRecord record;
    record.uid = QUuid::createUuid().toString(QUuid::WithoutBraces);
    record.operatorName = job_.operatorName;
    record.referenceName = job_.reference.name;
    record.referenceSha256 = job_.reference.sha256;
    // The writes before the serial number is known wait for it.
    session_.Net().BeginAttempt();
    const WriteOperation unit(session_.Operations(), LineOperation, QString(),
                              WriteOperation::Undo::Skip);
    try {
        // A controller of another kind is never written to.
        if (identity != IdentityWords::Value)
            throw UnitEnded{UnitReason::ForeignIdentity};
        Identify(record, step);
        JournalAs(record.serial);
        step(QStringLiteral("Запись установок"), record.serial);
        WriteReference();
        step(QStringLiteral("Проверка записи"), record.serial);
        QStringList reasons;
        const QStringList unstored = ReadBack(record.differed);
        if (!unstored.isEmpty())
            reasons << QStringLiteral("не сохранены слова: ") + unstored.join(QStringLiteral(", "));
        if (!job_.limits.empty()) {
            step(QStringLiteral("Проверка значений"), record.serial);
            const QStringList failed = CheckLimits();
            if (!failed.isEmpty())
                reasons << QStringLiteral("вне пределов: ") + failed.join(QStringLiteral(", "));
        }
        record.reason = reasons.join(QStringLiteral("; "));
        record.good = reasons.isEmpty();
    } catch (const UnitEnded& ended) {
        record.good = false;
        record.reason = ended.reason;
    }
    JournalAs(record.serial);
    record.attempt = attempt_;
    record.durationMs = took.elapsed();
    return record;
}
