#pragma once
// The dialog of "Запись данных…": the file to record into and the rate. A rate that the line
// cannot carry beside the window's polling is named, with the rate the recording will take.
// The recording may wait for the engine: it starts when the engine speed reaches a bound,
// keeping the seconds before it.

#include <QDialog>

#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QSettings;
class QSpinBox;

class RecordingDialog : public QDialog {
    Q_OBJECT
public:
    // What the dialog starts a recording with, remembered from one recording to the next.
    struct Choices {
        int rate = 0;
        bool waitForEngine = false;
        int engineSpeed = 2000; // Об/мин
        int beforeSeconds = 10;

        static Choices Load(QSettings& settings);
        void Save(QSettings& settings) const;
    };

    RecordingDialog(const QString& path, const Choices& choices, QWidget* parent = nullptr);

    QString Path() const;
    // The rate chosen, and the rate the recording takes (lower when the chosen does not fit).
    int RequestedRate() const;
    int Rate() const;
    // The text under the rate, empty when the chosen rate fits.
    QString Note() const;
    Choices Chosen() const;

    void SetPath(const QString& path);
    void SetRequestedRate(int rate);
    void SetWaitForEngine(bool wait);

private:
    void Browse();
    void UpdateNote();

    QLineEdit* path_;
    QComboBox* rate_;
    QLabel* note_;
    QCheckBox* wait_;
    QSpinBox* speed_;
    QSpinBox* before_;
};
