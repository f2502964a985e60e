#include "FileDialogAnswer.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>

namespace {
constexpr int PollIntervalMs = 5;
}

FileDialogAnswer::FileDialogAnswer(QString path) : path_(std::move(path)) {
    connect(&poll_, &QTimer::timeout, this, &FileDialogAnswer::answerIfOpen);
    poll_.start(PollIntervalMs);
}

void FileDialogAnswer::answerIfOpen() {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!dialog || !dialog->isVisible())
        return;
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (!name)
        return;
    poll_.stop();
    answered_ = true;
    name->setText(path_);
    static_cast<QDialog*>(dialog)->accept(); // QFileDialog keeps its accept() protected
}
