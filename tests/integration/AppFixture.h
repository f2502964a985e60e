#pragma once
// The whole program's window, wired as at start-up, with its production log in a temporary
// directory and the link's message boxes captured.

#include <QStringList>
#include <QTemporaryDir>

#include <memory>

class TForm1;
class TForm2;

class AppFixture {
public:
    AppFixture();
    ~AppFixture();
    AppFixture(const AppFixture&) = delete;
    AppFixture& operator=(const AppFixture&) = delete;

    TForm1& form() { return *form_; }
    QString logPath() const;
    QStringList messages; // information boxes shown
    QStringList errors;   // texts of the application's error handler

private:
    QTemporaryDir logDir_;
    std::unique_ptr<TForm1> form_;
    std::unique_ptr<TForm2> dialog_;
};
