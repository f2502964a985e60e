#include "ErrorHandler.h"

#include "Captions.h"

#include <QMessageBox>

#include <exception>

namespace {

void ShowStopBox(const QString& text) {
    QMessageBox box(QMessageBox::Critical, BaseCaption(), text, QMessageBox::NoButton);
    box.setDefaultButton(box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole));
    box.exec();
}

ErrorPresenter& Presenter() {
    static ErrorPresenter presenter;
    return presenter;
}

} // namespace

QString ErrorMessageText(const QString& errorText) {
    if (!errorText.isEmpty() && errorText.back() > QLatin1Char('.'))
        return errorText + QLatin1Char('.');
    return errorText;
}

void SetErrorPresenter(ErrorPresenter presenter) {
    Presenter() = std::move(presenter);
}

void ShowError(const QString& errorText) {
    const QString text = ErrorMessageText(errorText);
    if (Presenter())
        Presenter()(text);
    else
        ShowStopBox(text);
}

void RunHandler(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& error) {
        ShowError(QString::fromUtf8(error.what()));
    } catch (...) {
        ShowError(QStringLiteral("Неизвестная ошибка"));
    }
}

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ShowError(QString::fromUtf8(error.what()));
    } catch (...) {
        ShowError(QStringLiteral("Неизвестная ошибка"));
    }
    return false;
}
