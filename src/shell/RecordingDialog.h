#pragma once
// The dialog of "Запись данных…": the file to record into and the rate. A rate that the line
// cannot carry beside the window's polling is named, with the rate the recording will take.

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;

class RecordingDialog : public QDialog {
    Q_OBJECT
public:
    RecordingDialog(const QString& path, int rate, QWidget* parent = nullptr);

    QString Path() const;
    // The rate chosen, and the rate the recording takes (lower when the chosen does not fit).
    int RequestedRate() const;
    int Rate() const;
    // The text under the rate, empty when the chosen rate fits.
    QString Note() const;

    void SetPath(const QString& path);
    void SetRequestedRate(int rate);

private:
    void Browse();
    void UpdateNote();

    QLineEdit* path_;
    QComboBox* rate_;
    QLabel* note_;
};
