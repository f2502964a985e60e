#include "SheetScreens.h"

#include "ComparisonSheet.h"
#include "LineDaySheet.h"
#include "LineReport.h"
#include "SampleWords.h"
#include "SettingsSheet.h"
#include "SheetDialog.h"
#include "SheetOutline.h"
#include "SheetPages.h"
#include "ToolData.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QWidget>

#include <cstdio>

namespace {

Sheets::Identity SampleIdentity() {
    return {ToolNameAndVersion(),
            QStringLiteral("Тарвик-Q5 ГБО 2002 00120"),
            QStringLiteral("15.03.02"),
            QString(),
            QStringLiteral("Автосервис «Пропан», Тула"),
            QStringLiteral("Иванов И. И."), {}};
}

} // namespace

bool SavePage(const Sheets::Sheet& sheet, const QDir& dir, const QString& name, int page) {
    const QTemporaryDir work;
    const QString pdf = work.filePath(QStringLiteral("sheet.pdf"));
    Sheets::WritePdf(sheet, pdf);
    const int rendered = QProcess::execute(
        QStringLiteral("pdftoppm"),
        {QStringLiteral("-png"), QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
         QString::number(page), QStringLiteral("-r"), QStringLiteral("60"),
         QStringLiteral("-singlefile"), pdf, dir.filePath(name)});
    std::printf("%s %s.png\n", rendered == 0 ? "wrote" : "FAILED", qPrintable(dir.filePath(name)));
    return rendered == 0;
}

bool SaveSheets(const QDir& dir) {
    QStandardPaths::setTestModeEnabled(true); // the names typed in stay out of the preferences
    const QString at = QStringLiteral("08.12.2026 10:31");
    const SettingsRecords::Words words = SampleControllerWords();
    const Sheets::Sheet controller =
        Sheets::SettingsSheet(WindowOutline(), words, SampleIdentity(), at);
    bool ok = SavePage(controller, dir, QStringLiteral("sheet_controller"));
    ok &= SavePage(controller, dir, QStringLiteral("sheet_controller_2"), 2);

    Sheets::Identity file;
    file.tool = ToolNameAndVersion();
    file.fileName = QStringLiteral("car1.q5t");
    ok &= SavePage(Sheets::SettingsSheet(WindowOutline(), words, file, at), dir,
                   QStringLiteral("sheet_file"));

    SettingsRecords::Words other = words;
    for (const auto& [address, word] :
         {std::pair<int, uint16_t>{34, 0}, {56, 450}, {57, 1800}, {71, 6}, {92, 6000}, {99, 3}})
        other[static_cast<std::size_t>(address - SettingsRecords::FirstAddress)] = word;
    std::vector<Comparison::Row> rows = Comparison::Rows(words, other);
    const Comparison::Row written = rows.front();
    rows.erase(rows.begin());
    ok &= SavePage(Sheets::ComparisonSheet(
                       {QStringLiteral("Прибор"), QStringLiteral("car1.q5t"), rows, {written}},
                       SampleIdentity(), at),
                   dir, QStringLiteral("sheet_comparison"));

    QList<QStringList> day;
    for (int unit = 0; unit < 14; ++unit)
        day.append({QStringLiteral("2026-12-08T09:%1:12").arg(10 + unit * 3),
                    QString::number(unit % 4 + 1), QStringLiteral("Петрова А. В."),
                    QStringLiteral("Тарвик-Q5 ГБО 2026 00%1").arg(114 + unit),
                    QStringLiteral("08.12.26"), QStringLiteral("заводские 2026-12.q5t"), QString(),
                    LineReport::ResultText(unit % 5 != 3),
                    unit % 5 != 3 ? QString() : QStringLiteral("не сохранены слова: 93"), QString(),
                    QStringLiteral("1.3")});
    ok &= SavePage(Sheets::LineDaySheet(QDate(2026, 12, 8), day, SampleIdentity(), at), dir,
                   QStringLiteral("sheet_line_day"));

    SheetDialog window(
        QStringLiteral("Установки прибора Тарвик-Q5 ГБО 2002 00120, прочитанные из него."),
        SampleIdentity(), [](const Sheets::Identity&) { return Sheets::Sheet{}; },
        QStringLiteral("x.pdf"), ToolData::Preferences(), [](const auto& run) { run(); });
    window.show();
    const bool grabbed = window.grab().save(dir.filePath(QStringLiteral("sheet_window.png")));
    std::printf("%s %s\n", grabbed ? "wrote" : "FAILED",
                qPrintable(dir.filePath(QStringLiteral("sheet_window.png"))));
    return ok && grabbed;
}
