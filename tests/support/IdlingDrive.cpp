#include "IdlingDrive.h"

#include "ChangeJournal.h"
#include "ControllerState.h"
#include "LiveSample.h"
#include "LogError.h"
#include "LogFormat.h"
#include "LogWriter.h"
#include "TrimReading.h"

namespace {

struct Write {
    double seconds;
    int address;
    const char* name;
    uint16_t oldWord, newWord;
};

const Write Writes[] = {
    {150, 57, "Обороты включения ПХХ", 1500, 1600},
    {420, 90, "Крутизна: приращение", 15, 20},
    {900, 61, "Обогащение при разгоне", 1200, 1300},
    {3600, 92, "Ограничение об/мин", 5500, 5000},
};

// The trim as the recording reads it: its status words first, then the trim they choose.
std::optional<TrimReading> ReadTrim(const q5emu::ControllerState& controller, double seconds) {
    TrimReader reader;
    while (const auto address = reader.Next())
        reader.Take(controller.read(q5emu::Space::Live, *address, seconds));
    return reader.Result();
}

} // namespace

bool WriteIdlingDrive(const QString& path, const IdlingDrive& drive) {
    try {
        const q5emu::ControllerState controller;
        LogWriter writer(path, Catalogue::LiveValues());
        const QDateTime start = QDateTime::currentDateTime().addSecs(-drive.rows / drive.rate);
        size_t nextWrite = 0;
        for (int row = 0; row < drive.rows; ++row) {
            const double seconds = double(row) / drive.rate;
            const bool lost = seconds >= drive.lostFrom && seconds < drive.lostUntil;
            LiveSample sample{{}, start.addMSecs(qint64(seconds * 1000)), {}, {}};
            for (const Catalogue::Entry* entry : Catalogue::LiveValues()) {
                std::optional<uint16_t> word;
                if (!lost)
                    word = controller.read(q5emu::Space::Live, *entry->address, seconds);
                sample.values.push_back(LiveValueFrom(*entry, word));
            }
            if (!lost)
                sample.trim = ReadTrim(controller, seconds);
            writer.AddSample(seconds, sample);
            while (drive.events && nextWrite < std::size(Writes) &&
                   Writes[nextWrite].seconds <= seconds) {
                const Write& w = Writes[nextWrite++];
                JournalRecord record;
                record.address = w.address;
                record.name = QString::fromUtf8(w.name);
                record.oldWord = w.oldWord;
                record.newWord = w.newWord;
                writer.AddEvent(seconds + 0.2, sample.wallClock, LogFormat::EventText(record));
            }
            if (row % 10000 == 0)
                writer.Flush();
        }
        writer.Flush();
        return true;
    } catch (const LogError&) {
        return false;
    }
}
