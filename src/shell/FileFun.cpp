#include "FileFun.h"

#include "BusyCursor.h"
#include "Captions.h"
#include "Connection.h"
#include "ControllerSession.h"
#include "DialogFolder.h"
#include "ErrorHandler.h"
#include "Form1.h"
#include "GoodReads.h"
#include "HistoryMenu.h"
#include "Messages.h"
#include "Monitor.h"
#include "NoReplyError.h"
#include "Offline.h"
#include "ParameterBlock.h"
#include "Protocol.h"
#include "SafetyNetMenu.h"
#include "SettingsCheck.h"
#include "SettingsFile.h"
#include "TExtText.h"
#include "TSpinExtEdit.h"
#include "ToolData.h"
#include "TypedText.h"
#include "WindowSession.h"
#include "WriteOperation.h"

#include <QAction>
#include <QApplication>
#include <QDate>
#include <QFileDialog>
#include <QFileInfo>
#include <QTimer>

#include <exception>
#include <functional>
#include <stdexcept>

namespace {

std::vector<uint8_t> BlockAddresses() {
    std::vector<uint8_t> addresses;
    for (int address = SettingsRecords::FirstAddress; address <= SettingsRecords::LastAddress;
         ++address)
        addresses.push_back(static_cast<uint8_t>(address));
    return addresses;
}

void TakeWindowDown() {
    Form1->Timer2->stop();
    GoodReadsOf(*Form1).ForgetAll();
    TSpinExtEdit::PassAll(Form1->Components);
    TExtText::PassAll(Form1->Components);
}

// As after connecting: every value control reads the controller again, the monitor restarts.
void BringWindowBack() {
    InitValueControls();
    SendCommand(CmdReadParam, SettingsRecords::FirstAddress, 0);
    StartMonitor();
    HoldWhileLinkLost(); // the link watch lets the window go when the controller is back
}

// One write of many words, named `operationName` in the journal and, when `undo` records it,
// an action that can be undone: what it overwrites is read first, the window is taken down
// while `write` runs and brought back whether or not it went through.
void WriteWithWindowDown(const QString& operationName, const QString& label,
                         WriteOperation::Undo undo, const std::vector<uint8_t>& addresses,
                         const std::function<void()>& write) {
    const BusyCursor busy;
    const WriteOperation operation(SessionOf(*Form1).Operations(), operationName, label, undo);
    if (!ReadBeforeOverwrite(addresses))
        throw ENoReply();
    TakeWindowDown();
    std::exception_ptr failure;
    try {
        write();
    } catch (...) {
        failure = std::current_exception();
    }
    BringWindowBack();
    if (failure)
        std::rethrow_exception(failure);
}

// "<serial number> <yyyy-MM-dd>.q5t" when the controller's serial number was read.
QString ProposedSettingsName() {
    if (OfflineSession())
        return OfflineFile(); // the edited file, in its folder
    const std::optional<QString> name = ToolData::ProposedStem(CurrentDevice());
    if (!name)
        return {};
    return QStringLiteral("%1 %2.q5t")
        .arg(*name, QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")));
}

} // namespace

bool MayTakeSettings(const QByteArray& bytes, qint64 length, SettingsCheck::Use use) {
    const SettingsCheck::Findings found = SettingsCheck::Examine(bytes, length);
    if (found.foreign)
        throw std::runtime_error(SettingsCheck::ForeignFileText().toStdString());
    if (!found.unread.isEmpty())
        throw std::runtime_error(SettingsCheck::UnreadFileText(found).toStdString());
    return !found.Doubtful() || ConfirmRisk(SettingsCheck::DoubtfulQuestion(found, use));
}

QString ChooseSettingsPath(QFileDialog* dialog, const QString& proposedName) {
    dialog->setDirectory(
        DialogFolder::Start(*ToolData::Preferences(), DialogFolder::Kind::Settings));
    if (!proposedName.isEmpty())
        dialog->selectFile(proposedName);
    const int answer = dialog->exec();
    // The name field's completion list can outlive the dialog when Enter accepts a typed name;
    // left open, it would swallow the next click on the window (the menu would not open).
    while (QWidget* popup = QApplication::activePopupWidget())
        popup->close();
    if (answer != QDialog::Accepted)
        return {};
    const QStringList chosen = dialog->selectedFiles();
    if (chosen.isEmpty())
        return {};
    DialogFolder::Remember(*ToolData::Preferences(), DialogFolder::Kind::Settings, chosen.first());
    return chosen.first();
}

void SaveSettings(const QString& path) {
    CommitTypedText(SessionOf(*Form1), Form1->Components);
    bool durable = false;
    {
        const BusyCursor busy;
        durable = SettingsFile::Write(path, ParameterBlock::Read());
    }
    History::NoteFile(*Form1, FileKind::Saved, path);
    // The file is saved; only its folder's entry was not confirmed on the disk.
    if (!durable)
        ShowInformation(QStringLiteral("Файл сохранён, но система не подтвердила его запись на "
                                       "диск: при отключении питания он может не сохраниться."));
}

bool LoadSettings(const QString& path) {
    CommitTypedText(SessionOf(*Form1), Form1->Components);
    qint64 length = 0;
    const QByteArray bytes = SettingsFile::ReadForLoad(path, &length);
    if (!MayTakeSettings(bytes, length, SettingsCheck::Use::Write))
        return false;
    const SettingsRecords::Words words = SettingsRecords::Parse(bytes);
    WriteWithWindowDown(QStringLiteral("Загрузка из файла"),
                        QStringLiteral("Загрузка из файла ") + QFileInfo(path).fileName(),
                        WriteOperation::Undo::Record, BlockAddresses(),
                        [&words] { ParameterBlock::Write(words); });
    History::NoteFile(*Form1, FileKind::Loaded, path);
    return true;
}

void WriteWords(const QString& operation, const QString& label, WriteOperation::Undo undo,
                const std::vector<AddressedWord>& words) {
    std::vector<uint8_t> addresses;
    for (const AddressedWord& chosen : words)
        addresses.push_back(chosen.address);
    WriteWithWindowDown(operation, label, undo, addresses, [&words] {
        for (std::size_t i = 0; i < words.size(); ++i)
            if (!SendCommand(CmdWriteParam, words[i].address, words[i].word))
                throw EWriteStopped(i, words.size());
    });
}

void WriteChosenWords(const std::vector<AddressedWord>& words) {
    WriteWords(QStringLiteral("Запись из сравнения"),
               QStringLiteral("Запись из сравнения (слов: %1)").arg(words.size()),
               WriteOperation::Undo::Record, words);
}

void N2Click() {
    const QString path = ChooseSettingsPath(Form1->OpenDialog1);
    if (path.isEmpty())
        return;
    if (!SettingsFile::Exists(path)) {
        ShowInformation(QStringLiteral("Такого файла нет!"));
        return;
    }
    if (LoadSettings(path))
        Form1->setWindowTitle(CaptionForFile(path));
}

void N3Click() {
    const QString chosen = ChooseSettingsPath(Form1->SaveDialog1, ProposedSettingsName());
    if (chosen.isEmpty())
        return;
    const QString path = SettingsFile::WithExtension(chosen);
    if (SettingsFile::Exists(path) && !Confirm(QStringLiteral("Такой файл существует! Заменить?")))
        return;
    SaveSettings(path);
    Form1->setWindowTitle(CaptionForFile(path));
}

void InstallFileMenu(TForm1& form) {
    QObject::connect(form.N2, &QAction::triggered, &form, Guarded(&N2Click));
    QObject::connect(form.N3, &QAction::triggered, &form, Guarded(&N3Click));
}
