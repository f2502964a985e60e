// The settings sheet of a connected controller from known words (the emulator's sample
// controller): made and written as a PDF, against the same lines written as plain text, both
// through the durable write the sheet window uses; interleaved, repeated, the median of each.
// Ends with "NAME VALUE" lines.

#include "BenchStats.h"
#include "DurableWrite.h"
#include "SampleWords.h"
#include "SettingsSheet.h"
#include "SheetOutline.h"
#include "SheetPages.h"

#include <QApplication>
#include <QFileInfo>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>

namespace {

using BenchStats::Median;
using BenchStats::Ms;
using Clock = std::chrono::steady_clock;

constexpr int Rounds = 15;
constexpr double PdfTargetMs = 300;

Sheets::Sheet MakeSheet(const SettingsRecords::Words& words) {
    Sheets::Identity identity{QStringLiteral("Tarvik-Q5 system"),
                              QStringLiteral("Тарвик-Q5 ГБО 2002 00120"),
                              QStringLiteral("15.03.02"),
                              QString(),
                              QStringLiteral("Гараж №5"),
                              QStringLiteral("Иванов И. И."),
                              {}};
    return Sheets::SettingsSheet(WindowOutline(), words, identity,
                                 QStringLiteral("08.12.2026 10:00"));
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString pdfPath = dir.filePath(QStringLiteral("sheet.pdf"));
    const QString textPath = dir.filePath(QStringLiteral("sheet.txt"));
    const SettingsRecords::Words words = SampleControllerWords();
    Sheets::WritePdf(MakeSheet(words), pdfPath); // fonts loaded once, as in a running tool

    std::vector<double> pdf, plain;
    for (int round = 0; round < Rounds; ++round) {
        auto t0 = Clock::now();
        WriteFileDurably(textPath, Sheets::PlainText(MakeSheet(words)).toUtf8());
        plain.push_back(Ms(Clock::now() - t0));
        t0 = Clock::now();
        Sheets::WritePdf(MakeSheet(words), pdfPath);
        pdf.push_back(Ms(Clock::now() - t0));
    }
    const double pdfMs = Median(pdf);
    const double ratio = pdfMs / Median(plain);
    std::printf("sheet: %zu parameters; pdf %.1f ms (%lld bytes), plain text %.2f ms (%lld "
                "bytes), median of %d\n",
                WindowOutline().size(), pdfMs, QFileInfo(pdfPath).size(), Median(plain),
                QFileInfo(textPath).size(), Rounds);
    std::printf("sheet_pdf_ms %.1f\n", pdfMs);
    std::printf("sheet_pdf_ratio %.1f\n", ratio);
    BenchStats::Targets targets;
    targets.Check(pdfMs <= PdfTargetMs, "sheet_pdf_ms");
    return targets.ExitCode();
}
