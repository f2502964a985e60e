#include "FolderOpener.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace FolderOpener {

void ShowPath(QWidget* owner, const QString& folder) {
    auto* box = new QDialog(owner);
    box->setObjectName(QStringLiteral("FolderPathBox"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowTitle(QStringLiteral("Папка"));
    auto* path = new QLineEdit(folder, box);
    path->setReadOnly(true);
    path->setMinimumWidth(path->fontMetrics().horizontalAdvance(folder) + 24);
    path->selectAll();
    auto* buttons = new QDialogButtonBox(box);
    buttons->addButton(QStringLiteral("Закрыть"), QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::rejected, box, &QDialog::reject);
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(
        new QLabel(QStringLiteral("Файловый менеджер не найден. Путь к папке (его можно "
                                  "скопировать):"),
                   box));
    layout->addWidget(path);
    layout->addWidget(buttons);
    box->show();
    path->setFocus();
}

void Open(QWidget* owner, const QString& folder) {
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty()) {
        ShowPath(owner, folder);
        return;
    }
    // Not the owner's child: a file manager that xdg-open runs in its place outlives the dialog.
    auto* process = new QProcess;
    QPointer<QWidget> window(owner);
    const auto fallBack = [process, window, folder](bool failed) {
        process->deleteLater();
        if (failed && window)
            ShowPath(window, folder);
    };
    QObject::connect(process, &QProcess::finished, process,
                     [fallBack](int code, QProcess::ExitStatus status) {
                         fallBack(status != QProcess::NormalExit || code != 0);
                     });
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [fallBack](QProcess::ProcessError error) {
                         if (error == QProcess::FailedToStart)
                             fallBack(true);
                     });
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    process->start(opener, {folder});
}

} // namespace FolderOpener
