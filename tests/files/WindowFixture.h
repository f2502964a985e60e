#pragma once
// The main window with every binding, the file menu and the identity gesture installed, the
// serial-number dialog, COM1 open on an emulated controller, and the production log in a
// temporary directory. Messages and errors are collected instead of shown.

#include "EmulatedPorts.h"

#include <QStringList>
#include <QTemporaryDir>

#include <memory>

class TForm1;
class TForm2;

class WindowFixture {
public:
    WindowFixture();
    ~WindowFixture();
    WindowFixture(const WindowFixture&) = delete;
    WindowFixture& operator=(const WindowFixture&) = delete;

    q5emu::Q5Emulator& controller() { return ports_.emulator(); }
    TForm1& form() { return *form_; }
    TForm2& dialog() { return *dialog_; }

    // Shows the window in the state a connection leaves: menu and serial field enabled,
    // monitor running, every value control read. Clears the controller's frame log.
    void connectWindow();

    QString filePath(const QString& name) const { return dir_.filePath(name); }
    QString directory() const { return dir_.path(); }
    QString logPath() const;

    // Parameter words first..first+count-1 as one character each (the low byte).
    QByteArray text(int first, int count);
    void setText(int first, const QByteArray& text);

    // Texts given to the information box and the error handler, in order.
    QStringList informations;
    QStringList errors;
    // From now on, a confirmation box is not shown: its question is kept and gets `answer`.
    void answerQuestions(bool answer);
    QStringList questions;

private:
    EmulatedPorts ports_;
    QTemporaryDir dir_;
    std::unique_ptr<TForm1> form_;
    std::unique_ptr<TForm2> dialog_;
};

// The what() of the exception the call throws, or "" when it throws none.
QString ErrorOf(void (*call)());
