#pragma once
// A test class whose every test function gets a fresh main window, named by Form1.

#include "Form1.h"

#include <QObject>

#include <memory>

class FormTestCase : public QObject {
    Q_OBJECT

protected:
    std::unique_ptr<TForm1> form;

private slots:
    void init() {
        form = std::make_unique<TForm1>();
        Form1 = form.get();
    }
    void cleanup() {
        Form1 = nullptr;
        form.reset();
    }
};
