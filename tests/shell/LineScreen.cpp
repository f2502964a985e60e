#include "LineScreen.h"

#include "ErrorHandler.h"
#include "LabelPrint.h"
#include "LineWindow.h"
#include "StationView.h"

#include <QPixmap>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

bool SaveLineWindow(const QDir& dir) {
    const QTemporaryDir data;
    const QString preferences = data.filePath(QStringLiteral("line.ini"));
    {
        QSettings setup(preferences, QSettings::IniFormat);
        LineSetup sample;
        sample.referencePath = QStringLiteral("/home/operator/Q5 заводские 2026-12.q5t");
        sample.devices = {QStringLiteral("/dev/ttyUSB0"), QStringLiteral("/dev/ttyUSB1"),
                          QStringLiteral("/dev/ttyUSB2"), QStringLiteral("/dev/ttyUSB3")};
        sample.operatorName = QStringLiteral("Петрова А. В.");
        sample.limits = {{164, 11.5L, 15.0L}};
        sample.labels.print = true;
        sample.labels.scanBack = true;
        sample.labels.target.folder = QStringLiteral("/home/operator/Этикетки");
        sample.Save(setup);
    }
    LineWindow::Place place{
        data.path(),
        data.filePath(QStringLiteral("Protocol.lst")),
        [preferences] { return std::make_unique<QSettings>(preferences, QSettings::IniFormat); },
        [] { return std::vector<PortFacts>{}; },
        {},
        &RunHandler};
    LineWindow window(std::move(place));
    const QString serial = QStringLiteral("Тарвик-Q5 ГБО 2026 00%1");
    // The good unit's label printed, waiting to be scanned back.
    window.ShowStation({1,
                        StationPhase::Good,
                        QStringLiteral("/dev/ttyUSB0"),
                        {},
                        serial.arg(131),
                        {},
                        false,
                        {LabelPrinting::Printed, LabelCheck::None, 0},
                        true});
    window.ShowStation({2,
                        StationPhase::Bad,
                        QStringLiteral("/dev/ttyUSB1"),
                        {},
                        serial.arg(129),
                        QStringLiteral("не сохранены слова: 93"),
                        false,
                        {},
                        false});
    window.ShowStation({3,
                        StationPhase::Working,
                        QStringLiteral("/dev/ttyUSB2"),
                        QStringLiteral("Запись установок"),
                        serial.arg(132),
                        {},
                        false,
                        {},
                        false});
    window.ShowStation(
        {4, StationPhase::Waiting, QStringLiteral("/dev/ttyUSB3"), {}, {}, {}, false, {}, false});
    BatchCounts counts;
    counts.Start();
    for (const auto& [station, good, bad] :
         {std::tuple{1, 9, 0}, {2, 7, 2}, {3, 8, 1}, {4, 8, 0}}) {
        for (int i = 0; i < good; ++i)
            counts.Count(station, true);
        for (int i = 0; i < bad; ++i)
            counts.Count(station, false);
    }
    window.ShowCounts(counts, 118);
    window.ShowRunning(true);
    window.show();
    QCoreApplication::processEvents();
    const QString path = dir.filePath(QStringLiteral("line_window.png"));
    const bool saved = window.grab().save(path);
    std::printf("%s %s\n", saved ? "wrote" : "FAILED", qPrintable(path));
    return saved && SaveLabel(dir, serial.arg(131));
}

bool SaveLabel(const QDir& dir, const QString& serial) {
    // The label as it is printed: its PDF, rendered as a printer of 600 dpi would.
    const QTemporaryDir work;
    const LabelPrintResult printed =
        LabelPrint::Print({LabelTarget::Kind::PdfFolder, {}, work.path()}, {},
                          {serial, QStringLiteral("09.12.26"), QStringLiteral("3f9a06c2")});
    const int rendered =
        printed.printed
            ? QProcess::execute(QStringLiteral("pdftoppm"),
                                {QStringLiteral("-png"), QStringLiteral("-r"),
                                 QStringLiteral("600"), QStringLiteral("-singlefile"),
                                 printed.pdfPath, dir.filePath(QStringLiteral("label"))})
            : -1;
    std::printf("%s %s.png\n", rendered == 0 ? "wrote" : "FAILED",
                qPrintable(dir.filePath(QStringLiteral("label"))));
    return rendered == 0;
}
