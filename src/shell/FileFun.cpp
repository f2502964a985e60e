#include "FileFun.h"

#include "BusyCursor.h"
#include "Captions.h"
#include "Connection.h"
#include "ErrorHandler.h"
#include "Form1.h"
#include "GoodReads.h"
#include "Messages.h"
#include "Monitor.h"
#include "NoReplyError.h"
#include "ParameterBlock.h"
#include "Protocol.h"
#include "SafetyNetMenu.h"
#include "SettingsCheck.h"
#include "SettingsFile.h"
#include "TExtText.h"
#include "TSpinExtEdit.h"
#include "WriteOperation.h"

#include <QAction>
#include <QApplication>
#include <QDate>
#include <QFileDialog>
#include <QFileInfo>
#include <QTimer>

#include <exception>
#include <stdexcept>

namespace {

// A file in the sense of the menu's checks: anything there that is not a directory.
bool FileExists(const QString& path) {
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

std::vector<uint8_t> BlockAddresses() {
    std::vector<uint8_t> addresses;
    for (int address = SettingsRecords::FirstAddress; address <= SettingsRecords::LastAddress;
         ++address)
        addresses.push_back(static_cast<uint8_t>(address));
    return addresses;
}

void TakeWindowDown() {
    Form1->Timer2->stop();
    GoodReads::ForgetAll();
    TSpinExtEdit::PassAll(Form1->Components);
    TExtText::PassAll(Form1->Components);
}

// As after connecting: every value control reads the controller again, the monitor restarts.
void BringWindowBack() {
    TSpinExtEdit::InitAll(Form1->Components);
    TExtText::InitAll(Form1->Components);
    SendCommand(CmdReadParam, SettingsRecords::FirstAddress, 0);
    StartMonitor();
    HoldWhileLinkLost(); // the link watch lets the window go when the controller is back
}

// A foreign file stops here; a doubtful one goes on only when the user says so.
bool MayLoad(const QByteArray& bytes) {
    const SettingsCheck::Findings found = SettingsCheck::Examine(bytes);
    if (found.foreign)
        throw std::runtime_error(SettingsCheck::ForeignFileText().toStdString());
    return found.doubtful.isEmpty() || ConfirmRisk(SettingsCheck::DoubtfulQuestion(found.doubtful));
}

// "<serial number> <yyyy-MM-dd>.q5t" when the controller's serial number was read.
QString ProposedSettingsName() {
    const ConnectedDevice& device = CurrentDevice();
    if (!device.serialRead || device.serial.trimmed().isEmpty())
        return {};
    return QStringLiteral("%1 %2.q5t")
        .arg(device.SerialForFileName(),
             QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")));
}

} // namespace

QString ChooseSettingsPath(QFileDialog* dialog, const QString& proposedName) {
    dialog->setDirectory(SettingsFile::DialogDirectory());
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
    return chosen.isEmpty() ? QString() : chosen.first();
}

void SaveSettings(const QString& path) {
    const BusyCursor busy;
    SettingsFile::Write(path, ParameterBlock::Read());
}

bool LoadSettings(const QString& path) {
    const QByteArray bytes = SettingsFile::ReadForLoad(path);
    if (!MayLoad(bytes))
        return false;
    const SettingsRecords::Words words = SettingsRecords::Parse(bytes);
    const BusyCursor busy;
    const WriteOperation operation(QStringLiteral("Загрузка из файла"),
                                   QStringLiteral("Загрузка из файла ") +
                                       QFileInfo(path).fileName(),
                                   WriteOperation::Undo::Record);
    if (!ReadBeforeOverwrite(BlockAddresses()))
        throw ENoReply();
    TakeWindowDown();
    std::exception_ptr failure;
    try {
        ParameterBlock::Write(words);
    } catch (...) {
        failure = std::current_exception();
    }
    BringWindowBack();
    if (failure)
        std::rethrow_exception(failure);
    return true;
}

void WriteChosenWords(const std::vector<AddressedWord>& words) {
    const BusyCursor busy;
    const WriteOperation operation(
        QStringLiteral("Запись из сравнения"),
        QStringLiteral("Запись из сравнения (слов: %1)").arg(words.size()),
        WriteOperation::Undo::Record);
    std::vector<uint8_t> addresses;
    for (const AddressedWord& chosen : words)
        addresses.push_back(chosen.address);
    if (!ReadBeforeOverwrite(addresses))
        throw ENoReply();
    TakeWindowDown();
    std::exception_ptr failure;
    try {
        for (const AddressedWord& chosen : words) {
            if (!SendCommand(CmdWriteParam, chosen.address, chosen.word))
                throw ENoReply();
        }
    } catch (...) {
        failure = std::current_exception();
    }
    BringWindowBack();
    if (failure)
        std::rethrow_exception(failure);
}

void N2Click() {
    const QString path = ChooseSettingsPath(Form1->OpenDialog1);
    if (path.isEmpty())
        return;
    if (!FileExists(path)) {
        ShowInformation(QStringLiteral("Такого файла нет!"));
        return;
    }
    if (LoadSettings(path))
        Form1->setWindowTitle(FileCaption(path));
}

void N3Click() {
    const QString chosen = ChooseSettingsPath(Form1->SaveDialog1, ProposedSettingsName());
    if (chosen.isEmpty())
        return;
    const QString path = SettingsFile::WithExtension(chosen);
    if (FileExists(path) && !Confirm(QStringLiteral("Такой файл существует! Заменить?")))
        return;
    SaveSettings(path);
    Form1->setWindowTitle(FileCaption(path));
}

void InstallFileMenu(TForm1& form) {
    QObject::connect(form.N2, &QAction::triggered, &form, Guarded(&N2Click));
    QObject::connect(form.N3, &QAction::triggered, &form, Guarded(&N3Click));
}
