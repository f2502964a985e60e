// Measures the history: opening the window on a controller with 1,000 visits and a journal of
// as many changes (history_open_ms, against reading that journal alone), the search as one
// types over 10,000 known controllers (history_search_ms, the slowest keystroke), and a
// connection against an emulated controller at the line's real timing with its visit recorded
// against one without (connect_history_ratio), interleaved round by round, each side first in
// turn. Ends with "NAME VALUE" lines.

#include "BenchStats.h"

#include "ChangeJournal.h"
#include "Connection.h"
#include "EmulatedPorts.h"
#include "ErrorHandler.h"
#include "Form1.h"
#include "HistoryMenu.h"
#include "HistoryStore.h"
#include "HistoryWindow.h"
#include "Messages.h"
#include "OpenHistory.h"
#include "ProductionLog.h"
#include "Ser_num.h"
#include "Startup.h"
#include "ToolData.h"
#include "VisitRecorder.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <vector>

namespace {

using BenchStats::Median;

constexpr int Rounds = 7;
constexpr int Visits = 1000;
constexpr int Controllers = 10000;
const QString Serial = QStringLiteral("Q5-0001");

double TimeMs(const std::function<void()>& work) {
    QElapsedTimer timer;
    timer.start();
    work();
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

void FillStore(const HistoryPlace& place) {
    const OpenedHistory opened = OpenHistory(place);
    HistoryStore store(*opened.store);
    const QDateTime start(QDate(2023, 1, 1), QTime(9, 0));
    ChangeJournal::Writer journal;
    store.Batch([&] {
        for (int v = 0; v < Visits; ++v) {
            const QDateTime at = start.addSecs(qint64(v) * 86400);
            store.RecordVisit({0, Serial, at, "Мастерская", "Мастер", 1000 * v,
                               QDir(place.dataFolder).filePath("backups/Q5-0001/x.q5t"), v});
            journal.Append(place.dataFolder,
                           {at.addSecs(60), Serial, 40, "Порог", 10, static_cast<uint16_t>(v),
                            "Изменение значения", true});
        }
        for (int c = 0; c < Controllers; ++c) {
            const QString serial = QStringLiteral("Q5-%1").arg(c + 2, 5, 10, QChar(u'0'));
            store.SaveCard(serial, {"Lada",
                                    "2107",
                                    "2004",
                                    {},
                                    QStringLiteral("А%1ВС77").arg(c % 1000, 3, 10, QChar(u'0')),
                                    {},
                                    QStringLiteral("Владелец %1").arg(c),
                                    {},
                                    {}});
        }
    });
    journal.Sync();
    journal.Close();
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    TApplication application(argc, argv);
    QTemporaryDir workDir;
    qputenv("XDG_DATA_HOME", QDir(workDir.path()).filePath("data").toUtf8());
    qputenv("XDG_CONFIG_HOME", QDir(workDir.path()).filePath("config").toUtf8());
    ProductionLog::SetDirectory(workDir.path());
    SetInformationPresenter([](const QString&) {});

    const HistoryPlace place{QDir(workDir.path()).filePath("bench"), {}};
    FillStore(place);
    HistoryWindow window(place, {}, [] { return QDate::currentDate(); });
    std::vector<double> openMs, journalMs, searchMs;
    const QStringList typed{"а", "а1", "а12", "а123", "а123в", "а123вс"};
    for (int round = 0; round < Rounds; ++round) {
        const QString path = ChangeJournal::PathOf(place.dataFolder, Serial);
        const auto open = [&] { openMs.push_back(TimeMs([&] { window.ShowController(Serial); })); };
        const auto read = [&] {
            journalMs.push_back(TimeMs([&] { (void)ChangeJournal::Read(path); }));
        };
        if (round % 2) {
            read();
            open();
        } else {
            open();
            read();
        }
        const OpenedHistory opened = OpenHistory(place);
        const HistoryStore store(*opened.store);
        double slowest = 0;
        for (const QString& text : typed)
            slowest = std::max(slowest, TimeMs([&] { (void)store.Search(text); }));
        searchMs.push_back(slowest);
    }

    TForm1 form;
    Form1 = &form;
    InstallBehaviour(form);
    TForm2 dialog;
    Form2 = &dialog;
    VisitRecorder& recorder = History::RecorderOf(form);
    std::vector<double> ratios;
    {
        const q5emu::EmulatorOptions lineTiming; // real line timing
        EmulatedPorts ports(1, {0}, lineTiming);
        const auto connect = [&](bool recording) {
            recorder.SetRecording(recording);
            const double ms = TimeMs([&] {
                Connect_to_COM1Click();
                form.Timer2->stop();
                QCoreApplication::processEvents(); // the visit is handed on from the event loop
            });
            recorder.Settle(5000);
            Close_COMClick();
            return ms;
        };
        connect(true); // warm up: the store opened
        for (int round = 0; round < Rounds; ++round) {
            double with = 0, without = 0;
            if (round % 2) {
                without = connect(false);
                with = connect(true);
            } else {
                with = connect(true);
                without = connect(false);
            }
            ratios.push_back(with / without);
        }
    }
    const double open = Median(openMs), search = Median(searchMs), ratio = Median(ratios);
    std::printf("history open (1,000 visits): %.1f ms (the journal alone %.1f ms)\n", open,
                Median(journalMs));
    std::printf("search as one types (10,000 controllers): slowest keystroke %.1f ms\n", search);
    std::printf("connection with its visit / without: %.3f\n", ratio);
    std::printf("history_open_ms %.1f\nhistory_search_ms %.1f\nconnect_history_ratio %.3f\n", open,
                search, ratio);
    return open <= 100 && search <= 50 && ratio <= 1.02 ? 0 : 1;
}
