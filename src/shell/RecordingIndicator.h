#pragma once
// "● Запись mm:ss" in the menu bar's corner while a recording runs; nothing otherwise.

#include <QLabel>
#include <QTimer>

#include <functional>

class QMenuBar;

class RecordingIndicator : public QLabel {
    Q_OBJECT
public:
    explicit RecordingIndicator(QMenuBar* menuBar);

    // Shows the time that `elapsedMs` tells, refreshed every second, until Hide.
    void Start(std::function<qint64()> elapsedMs);
    void Hide();

    // "● Запись 01:05" for 65 s; minutes go on past 59.
    static QString TextFor(qint64 elapsedMs);

private:
    void Tick();

    std::function<qint64()> elapsedMs_;
    QTimer timer_;
};
