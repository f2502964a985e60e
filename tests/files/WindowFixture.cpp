#include "WindowFixture.h"

#include "Comm_Fun.h"
#include "DeviceIdentity.h"
#include "ErrorHandler.h"
#include "FileFun.h"
#include "Form1.h"
#include "Form1Controls.h"
#include "Messages.h"
#include "Monitor.h"
#include "ParameterBindings.h"
#include "ProductionLog.h"
#include "Ser_num.h"
#include "TExtText.h"
#include "TSpinExtEdit.h"

#include <QAction>
#include <QLabel>

#include <exception>

WindowFixture::WindowFixture()
    : form_(std::make_unique<TForm1>()), dialog_(std::make_unique<TForm2>()) {
    Form1 = form_.get();
    Form2 = dialog_.get();
    InstallParameterBindings(ControlsOf(*form_));
    InstallFileMenu(*form_);
    InstallIdentity(*form_);
    ProductionLog::SetDirectory(dir_.path());
    SetInformationPresenter([this](const QString& text) { informations << text; });
    SetErrorPresenter([this](const QString& text) { errors << text; });
    Comm_Fun::OpenPort(1, 19200);
    controller().clearLog();
}

WindowFixture::~WindowFixture() {
    SetErrorPresenter({});
    SetInformationPresenter({});
    SetConfirmPresenter({});
    ProductionLog::SetDirectory(QString());
    Comm_Fun::ClosePort();
    Form2 = nullptr;
    Form1 = nullptr;
}

void WindowFixture::connectWindow() {
    form_->show();
    form_->N2->setEnabled(true);
    form_->N3->setEnabled(true);
    form_->StaticText1->setEnabled(true);
    StartMonitor();
    TSpinExtEdit::InitAll(form_->Components);
    TExtText::InitAll(form_->Components);
    controller().clearLog();
}

QString WindowFixture::logPath() const {
    return dir_.filePath(QLatin1String(ProductionLog::FileName));
}

QByteArray WindowFixture::text(int first, int count) {
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes.append(static_cast<char>(controller().param(first + i) & 0xFF));
    return bytes;
}

void WindowFixture::setText(int first, const QByteArray& text) {
    for (int i = 0; i < text.size(); ++i)
        controller().setParam(first + i, static_cast<uint8_t>(text[i]));
}

void WindowFixture::answerQuestions(bool answer) {
    SetConfirmPresenter([this, answer](const QString& text) {
        questions << text;
        return answer;
    });
}

QString ErrorOf(void (*call)()) {
    try {
        call();
    } catch (const std::exception& error) {
        return QString::fromUtf8(error.what());
    }
    return {};
}
