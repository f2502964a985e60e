#pragma once
// The factory's serial-number dialog: writes a serial number and today's date into the
// controller, then reads the identity back (which numbers a serial ending in "00000").

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

class TForm2 : public QDialog {
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr);

    QPushButton* Button1 = nullptr; // "OK"
    QPushButton* Button2 = nullptr; // "ОТМЕНА"
    QLineEdit* Edit1 = nullptr;     // the serial number to write
    QLabel* Label1 = nullptr;       // the date that "OK" writes (dd.MM.yy)
    QLabel* LogLabel = nullptr;     // the production log the numbers come from

    void FormCreate();
    void FormShow();
    // Writes, reads back and closes; an error leaves the dialog open.
    void Button1Click();
    void Button2Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool writing_ = false;
};

extern TForm2* Form2;
