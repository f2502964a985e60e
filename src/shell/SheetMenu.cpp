#include "SheetMenu.h"

#include "BusyCursor.h"
#include "CompareDialog.h"
#include "ComparedBlocks.h"
#include "ComparisonSheet.h"
#include "Connection.h"
#include "ErrorHandler.h"
#include "FileFun.h"
#include "Form1.h"
#include "HistoryMenu.h"
#include "MapMenu.h"
#include "Protocol.h"
#include "ServiceMenu.h"
#include "SheetDialog.h"
#include "SheetOutline.h"
#include "ToolData.h"

#include <QAction>
#include <QDateTime>
#include <QFileInfo>
#include <QMenu>
#include <QPointer>

namespace {

QString Now() {
    return QDateTime::currentDateTime().toString(QStringLiteral("dd.MM.yyyy HH:mm"));
}

// The connected controller's identity as it was read; empty where a read failed.
Sheets::Identity IdentityOnPaper() {
    const ConnectedDevice& device = CurrentDevice();
    Sheets::Identity identity;
    identity.tool = ToolNameAndVersion();
    if (device.serialRead)
        identity.serial = device.serial.trimmed();
    if (device.dateRead)
        identity.made = device.date.trimmed();
    return identity;
}

// The connected controller's serial number as a file name, as the settings files take it.
QString ControllerStem() {
    return ToolData::ProposedStem(CurrentDevice()).value_or(QStringLiteral("прибор"));
}

QString ProposedName(const QString& stem) {
    return stem + QLatin1Char(' ') + QDate::currentDate().toString(Qt::ISODate) +
           QStringLiteral(".pdf");
}

std::unique_ptr<SheetDialog> SettingsSheetDialog(const QString& subject, Sheets::Identity identity,
                                                 const SettingsRecords::Words& words,
                                                 const QString& stem, QWidget* parent) {
    // A correction map the window holds follows the settings on a page of its own.
    auto make = [words, form = QPointer<QWidget>(parent)](const Sheets::Identity& named) {
        Sheets::Sheet sheet = Sheets::SettingsSheet(WindowOutline(), words, named, Now());
        if (std::optional<Sheets::Section> map = MapPage(form))
            sheet.sections.push_back(std::move(*map));
        return sheet;
    };
    return std::make_unique<SheetDialog>(subject, std::move(identity), std::move(make),
                                         ProposedName(stem), ToolData::Preferences(), &RunHandler,
                                         parent);
}

// The PDFs made of the connected controller are listed in its history.
void NoteInHistory(SheetDialog& dialog, TForm1& form) {
    QObject::connect(&dialog, &SheetDialog::pdfSaved, &dialog, [&form](const QString& path) {
        History::NoteFile(form, FileKind::Sheet, path);
    });
}

void ShowSettingsSheet(TForm1& form) {
    std::unique_ptr<SheetDialog> dialog;
    if (DeviceConnected()) {
        const BusyCursor busy;
        dialog = MakeControllerSheet(form);
    } else {
        const QString path = ChooseSettingsPath(form.OpenDialog1);
        if (path.isEmpty())
            return;
        dialog = MakeFileSheet(path, &form);
    }
    if (dialog)
        dialog->exec();
}

} // namespace

std::unique_ptr<SheetDialog> MakeControllerSheet(TForm1& form) {
    const SettingsRecords::Words words = Sheets::ReadWords([](uint8_t address) {
        return SendCommand(CmdReadParam, address, 0) ? std::optional<uint16_t>(ReplyValue())
                                                     : std::nullopt;
    });
    Sheets::Identity identity = IdentityOnPaper();
    identity.vehicle = History::VehicleOnPaper(CurrentDevice());
    const QString subject =
        QStringLiteral("Установки прибора %1, прочитанные из него.").arg(identity.serial);
    std::unique_ptr<SheetDialog> dialog =
        SettingsSheetDialog(subject, std::move(identity), words, ControllerStem(), &form);
    NoteInHistory(*dialog, form);
    return dialog;
}

std::unique_ptr<SheetDialog> MakeFileSheet(const QString& path, QWidget* parent) {
    const std::optional<ComparedSide> file = ReadFileSide(path);
    if (!file)
        return nullptr;
    Sheets::Identity identity;
    identity.tool = ToolNameAndVersion();
    identity.fileName = file->title;
    return SettingsSheetDialog(QStringLiteral("Установки из файла «%1».").arg(file->title),
                               std::move(identity), file->words, QFileInfo(path).completeBaseName(),
                               parent);
}

std::unique_ptr<SheetDialog> MakeComparisonSheet(CompareDialog& comparison) {
    const bool withController =
        DeviceConnected() && comparison.SideA().title == QStringLiteral("Прибор");
    Sheets::Identity identity = withController ? IdentityOnPaper() : Sheets::Identity{};
    identity.tool = ToolNameAndVersion();
    const Sheets::ComparedOnPaper compared{comparison.SideA().title, comparison.SideB().title,
                                           comparison.Rows(), comparison.WrittenRows()};
    auto make = [compared](const Sheets::Identity& named) {
        return Sheets::ComparisonSheet(compared, named, Now());
    };
    const QString stem = withController ? ControllerStem() : QStringLiteral("Сравнение");
    auto dialog = std::make_unique<SheetDialog>(
        QStringLiteral("Сравнение «%1» и «%2».").arg(compared.titleA, compared.titleB),
        std::move(identity), std::move(make), ProposedName(stem), ToolData::Preferences(),
        &RunHandler, &comparison);
    // The comparison with the controller is opened over the main window.
    if (auto* form = qobject_cast<TForm1*>(comparison.parentWidget()); form && withController)
        NoteInHistory(*dialog, *form);
    return dialog;
}

void OfferSheet(CompareDialog& comparison) {
    QObject::connect(&comparison, &CompareDialog::sheetRequested, &comparison,
                     Guarded([&comparison] { MakeComparisonSheet(comparison)->exec(); }));
}

void InstallSheets(TForm1& form) {
    QAction* action = ServiceMenuGroup(form)->addAction(QStringLiteral("Лист установок…"));
    action->setObjectName(QStringLiteral("SettingsSheetAction"));
    QObject::connect(action, &QAction::triggered, &form,
                     Guarded([&form] { ShowSettingsSheet(form); }));
}
