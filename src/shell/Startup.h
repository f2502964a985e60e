#pragma once
// The program's three windows, created once in start-up order: the main window Form1 (its
// creation handler runs, then every subsystem's behaviour is wired to it), the serial-number
// dialog Form2 and the About box Form3. They live, and the global pointers name them, until
// this object goes. The program and the soak harness build the same windows this way.

#include <memory>

class TForm1;
class TForm2;
class TForm3;

// Wires parameter bindings, selectors and monitor, the connection buttons, the settings-file
// menu and the identity gesture to the main window.
void InstallBehaviour(TForm1& form);

class ApplicationWindows {
public:
    ApplicationWindows();
    ~ApplicationWindows();
    ApplicationWindows(const ApplicationWindows&) = delete;
    ApplicationWindows& operator=(const ApplicationWindows&) = delete;

    TForm1& MainWindow() { return *mainWindow_; }

private:
    std::unique_ptr<TForm1> mainWindow_;
    std::unique_ptr<TForm2> serialNumberDialog_;
    std::unique_ptr<TForm3> aboutBox_;
};
