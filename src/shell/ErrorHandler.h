#pragma once
// The one place where errors of event handlers and timers end: an exception that leaves a
// handler aborts that action only; its text is shown in a stop box and the program goes on.

#include <QApplication>
#include <QString>

#include <functional>

// The text shown for an error: a full stop is appended when the last character's code lies
// above that of '.', so texts ending in '.', '!' or ')' keep their own ending.
QString ErrorMessageText(const QString& errorText);

// Shows the finished text. The default is a modal stop box captioned with the application
// title; tests install their own. An empty function restores the default.
using ErrorPresenter = std::function<void(const QString& text)>;
void SetErrorPresenter(ErrorPresenter presenter);

// Shows an error through the current presenter, with the full-stop rule applied.
void ShowError(const QString& errorText);

// Runs one event handler at its own boundary: an error that leaves it is shown through
// ShowError and goes no further, so that no exception unwinds through Qt's event delivery.
void RunHandler(const std::function<void()>& handler);

// The handler wrapped for QObject::connect (any arguments of the signal are dropped).
template <class Handler> auto Guarded(Handler handler) {
    return [handler = std::move(handler)] { RunHandler(handler); };
}

// The application object. Its notify is the last resort for an error that a handler did not
// catch itself.
class TApplication : public QApplication {
    Q_OBJECT
public:
    TApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};
