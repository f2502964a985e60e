#include "SafetyDialogs.h"

#include "BusyCursor.h"
#include "Catalogue.h"
#include "CompareDialog.h"
#include "ComparedBlocks.h"
#include "Connection.h"
#include "ConnectionEvents.h"
#include "ControllerSession.h"
#include "ErrorHandler.h"
#include "FileFun.h"
#include "Form1.h"
#include "Messages.h"
#include "RestorePointsDialog.h"
#include "ServiceMenu.h"
#include "SettingsCheck.h"
#include "SettingsFile.h"
#include "SheetMenu.h"
#include "ToolData.h"
#include "TypedText.h"
#include "WindowSession.h"
#include "WriteOperation.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>

namespace {

const QString SettingsFilter = QStringLiteral("Установки Tarvik-Q5  (*.q5t)");

// A settings file chosen as for a load; empty when cancelled.
QString ChooseFile(QWidget* owner, const QString& title) {
    QFileDialog dialog(owner, title, QString(), SettingsFilter); // ChooseSettingsPath's folder
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    return ChooseSettingsPath(&dialog);
}

QString SerialShown() {
    const ConnectedDevice& device = CurrentDevice();
    const QString serial = device.serial.trimmed();
    return device.serialRead && !serial.isEmpty() ? serial : QStringLiteral("без номера");
}

// 67 words go into the controller: only when the user says so.
std::optional<SettingsRecords::Words> Restore(const RestorePoint& point) {
    std::optional<SettingsRecords::Words> now;
    const QString when = point.time.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
    if (!ConfirmRisk(QStringLiteral("Записать в прибор точку восстановления от %1?").arg(when)))
        return now;
    RunHandler([&] {
        const WriteOperation operation(
            SessionOf(*Form1).Operations(), QStringLiteral("Восстановление"),
            QStringLiteral("Восстановление точки ") + QFileInfo(point.path).completeBaseName(),
            WriteOperation::Undo::Record);
        if (LoadSettings(point.path))
            now = ReadControllerSide().words;
    });
    return now;
}

// Each checked row writes all its words, a group of linked words in the window's order.
std::optional<SettingsRecords::Words> WriteRows(const std::vector<Comparison::Row>& rows) {
    std::vector<AddressedWord> words;
    SettingsCheck::Findings refused;
    for (const Comparison::Row& row : rows) {
        for (const Comparison::Word& word : row.words)
            words.push_back({word.address, word.b});
        const Catalogue::Entry* entry = Catalogue::SetterOf(row.address);
        if (entry && !entry->Accepts(row.wordB))
            refused.outOfRange << row.name;
    }
    std::optional<SettingsRecords::Words> now;
    RunHandler([&] {
        if (refused.Doubtful() && !ConfirmRisk(SettingsCheck::DoubtfulQuestion(refused)))
            return;
        WriteChosenWords(words);
        now = ReadControllerSide().words;
    });
    return now;
}

// A window about the connected controller goes when the connection does, so that nothing
// meant for one controller is written into another.
void CloseWithTheConnection(QDialog& dialog) {
    QObject::connect(&SessionOf(*Form1).Events(), &ConnectionEvents::closed, &dialog,
                     &QDialog::reject);
}

void ShowRestorePoints(TForm1& form) {
    std::unique_ptr<RestorePointsDialog> dialog;
    {
        const BusyCursor busy;
        dialog = MakeRestorePointsDialog(&form);
    }
    dialog->exec();
}

void CompareWithFile(TForm1& form) {
    const QString path = ChooseFile(&form, QStringLiteral("Сравнить с файлом"));
    if (path.isEmpty())
        return;
    std::unique_ptr<CompareDialog> dialog;
    {
        const BusyCursor busy;
        dialog = MakeControllerComparison(path, &form);
    }
    if (dialog)
        dialog->exec();
}

void CompareTwoFiles(TForm1& form) {
    const QString pathA = ChooseFile(&form, QStringLiteral("Сравнить два файла: первый"));
    if (pathA.isEmpty())
        return;
    std::optional<ComparedSide> a = ReadFileSide(pathA);
    if (!a)
        return;
    const QString pathB = ChooseFile(&form, QStringLiteral("Сравнить два файла: второй"));
    if (pathB.isEmpty())
        return;
    std::optional<ComparedSide> b = ReadFileSide(pathB);
    if (!b)
        return;
    TellApart(*a, *b, pathA, pathB);
    CompareDialog dialog(std::move(*a), std::move(*b), {}, &form);
    OfferSheet(dialog);
    dialog.exec();
}

QAction* AddAction(TForm1& form, const QString& text, const char* name, void (*handler)(TForm1&)) {
    QAction* action = ServiceMenuOf(form)->addAction(text);
    action->setObjectName(QString::fromLatin1(name));
    QObject::connect(action, &QAction::triggered, &form,
                     Guarded([&form, handler] { handler(form); }));
    return action;
}

} // namespace

std::unique_ptr<RestorePointsDialog> MakeRestorePointsDialog(QWidget* parent) {
    CommitTypedText(SessionOf(*Form1), Form1->Components);
    const QString root = ToolData::Folder();
    const QString name = CurrentDevice().pointsName;
    const QString withoutPoints =
        name.isEmpty() ? QStringLiteral("точки восстановления не ведутся: серийный номер не "
                                        "прочитан целиком или пуст")
                       : QString();
    RestorePointsView view{
        SerialShown(),
        name.isEmpty() ? std::vector<RestorePoint>() : RestorePoints::List(root, name),
        ReadControllerSide().words,
        name.isEmpty() ? QString() : RestorePoints::DirectoryOf(root, name), withoutPoints};
    auto dialog = std::make_unique<RestorePointsDialog>(std::move(view), &Restore, parent);
    CloseWithTheConnection(*dialog);
    return dialog;
}

std::unique_ptr<CompareDialog> MakeControllerComparison(const QString& path, QWidget* parent) {
    CommitTypedText(SessionOf(*Form1), Form1->Components);
    std::optional<ComparedSide> file = ReadFileSide(path);
    if (!file)
        return nullptr;
    auto dialog =
        std::make_unique<CompareDialog>(ReadControllerSide(), std::move(*file), &WriteRows, parent);
    CloseWithTheConnection(*dialog);
    OfferSheet(*dialog);
    return dialog;
}

void InstallSafetyDialogs(TForm1& form) {
    ServiceMenuGroup(form);
    QAction* points = AddAction(form, QStringLiteral("Точки восстановления…"),
                                "RestorePointsAction", &ShowRestorePoints);
    QAction* withFile = AddAction(form, QStringLiteral("Сравнить с файлом…"),
                                  "CompareWithFileAction", &CompareWithFile);
    AddAction(form, QStringLiteral("Сравнить два файла…"), "CompareTwoFilesAction",
              &CompareTwoFiles);
    ConnectionEvents& events = SessionOf(form).Events();
    for (QAction* action : {points, withFile}) {
        action->setEnabled(DeviceConnected());
        QObject::connect(&events, &ConnectionEvents::connected, action,
                         [action] { action->setEnabled(true); });
        QObject::connect(&events, &ConnectionEvents::closed, action,
                         [action] { action->setEnabled(false); });
        QObject::connect(&events, &ConnectionEvents::linkChanged, action,
                         [action](bool good) { action->setEnabled(good && DeviceConnected()); });
    }
}
