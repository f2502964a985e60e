#include "FileFun.h"

#include "Captions.h"
#include "Form1.h"
#include "Messages.h"
#include "Monitor.h"
#include "NoReplyError.h"
#include "Protocol.h"
#include "SettingsFile.h"
#include "TExtText.h"
#include "TSpinExtEdit.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QTimer>

#include <exception>

namespace {

constexpr int ReplyChecksumByte = Frame::Size - 1;

// A file in the sense of the menu's checks: anything there that is not a directory.
bool FileExists(const QString& path) {
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

// Runs the dialog from the executable's directory; the chosen path, or empty when cancelled.
QString ChoosePath(QFileDialog* dialog) {
    dialog->setDirectory(SettingsFile::DialogDirectory());
    if (dialog->exec() != QDialog::Accepted)
        return {};
    const QStringList chosen = dialog->selectedFiles();
    return chosen.isEmpty() ? QString() : chosen.first();
}

uint8_t AddressOf(int index) {
    return static_cast<uint8_t>(SettingsRecords::FirstAddress + index);
}

void WriteWords(const SettingsRecords::Words& words) {
    for (int i = 0; i < SettingsRecords::Count; ++i) {
        if (!SendCommand(CmdWriteParam, AddressOf(i), words[i]))
            throw ENoReply();
    }
}

void TakeWindowDown() {
    Form1->Timer2->stop();
    TSpinExtEdit::PassAll(Form1->Components);
    TExtText::PassAll(Form1->Components);
}

// As after connecting: every value control reads the controller again, the monitor restarts.
void BringWindowBack() {
    TSpinExtEdit::InitAll(Form1->Components);
    TExtText::InitAll(Form1->Components);
    SendCommand(CmdReadParam, SettingsRecords::FirstAddress, 0);
    StartMonitor();
}

} // namespace

void SaveSettings(const QString& path) {
    SettingsRecords::Entries entries{};
    for (int i = 0; i < SettingsRecords::Count; ++i) {
        if (!SendCommand(CmdReadParam, AddressOf(i), 0))
            throw ENoReply();
        entries[i] = {ReplyValue(), ReplyFrame[ReplyChecksumByte]};
    }
    SettingsFile::Write(path, entries);
}

void LoadSettings(const QString& path) {
    const SettingsRecords::Words words = SettingsFile::ReadWords(path);
    TakeWindowDown();
    std::exception_ptr failure;
    try {
        WriteWords(words);
    } catch (...) {
        failure = std::current_exception();
    }
    BringWindowBack();
    if (failure)
        std::rethrow_exception(failure);
}

void N2Click() {
    const QString path = ChoosePath(Form1->OpenDialog1);
    if (path.isEmpty())
        return;
    if (!FileExists(path)) {
        ShowInformation(QStringLiteral("Такого файла нет!"));
        return;
    }
    LoadSettings(path);
    Form1->setWindowTitle(FileCaption(path));
}

void N3Click() {
    const QString chosen = ChoosePath(Form1->SaveDialog1);
    if (chosen.isEmpty())
        return;
    const QString path = SettingsFile::WithExtension(chosen);
    if (FileExists(path) && !Confirm(QStringLiteral("Такой файл существует! Заменить?")))
        return;
    SaveSettings(path);
    Form1->setWindowTitle(FileCaption(path));
}

void InstallFileMenu(TForm1& form) {
    QObject::connect(form.N2, &QAction::triggered, &form, &N2Click);
    QObject::connect(form.N3, &QAction::triggered, &form, &N3Click);
}
