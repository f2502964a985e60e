#include "AppFixture.h"

#include "Comm_Fun.h"
#include "ErrorHandler.h"
#include "Form1.h"
#include "Messages.h"
#include "ProductionLog.h"
#include "Ser_num.h"
#include "Startup.h"

#include <QDir>

AppFixture::AppFixture() : form_(std::make_unique<TForm1>()) {
    Form1 = form_.get();
    InstallBehaviour(*form_);
    dialog_ = std::make_unique<TForm2>();
    Form2 = dialog_.get();
    ProductionLog::SetDirectory(logDir_.path());
    SetInformationPresenter([this](const QString& text) { messages << text; });
    SetErrorPresenter([this](const QString& text) { errors << text; });
}

AppFixture::~AppFixture() {
    SetInformationPresenter({});
    SetErrorPresenter({});
    ProductionLog::SetDirectory(QString());
    Comm_Fun::ClosePort();
    Form2 = nullptr;
    dialog_.reset();
    Form1 = nullptr;
}

QString AppFixture::logPath() const {
    return QDir(logDir_.path()).filePath("Protocol.lst");
}
