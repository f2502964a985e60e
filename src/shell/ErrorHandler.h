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

class TApplication : public QApplication {
    Q_OBJECT
public:
    TApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};
